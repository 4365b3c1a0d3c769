// The control model: ownership, mouse order and capture, the wheel,
// alignment and anchors, fonts and colours that follow the parent, painting.
#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "platform/controls/CategoryPanels.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"

namespace {

// A windowless control that logs like the probe.
class TGraphicProbe : public TGraphicControl {
public:
    explicit TGraphicProbe(TWinControl* parent, TRect r, TColor color)
        : TGraphicControl(parent)
        , Color_(color)
    {
        SetBoundsRect(r);
        SetParent(parent);
        OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            Log << QStringLiteral("mdown@%1,%2").arg(x).arg(y);
        };
        OnMouseMove
            = [this](TObject*, TShiftState, int x, int y) { Log << QStringLiteral("move@%1,%2").arg(x).arg(y); };
        OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            Log << QStringLiteral("mup@%1,%2").arg(x).arg(y);
        };
        OnClick = [this](TObject*) { Log << "click"; };
        OnMouseEnter = [this](TObject*) { Log << "enter"; };
        OnMouseLeave = [this](TObject*) { Log << "leave"; };
    }
    QStringList Log;

protected:
    void Paint() override
    {
        // Deliberately larger than the control: the clip keeps it inside.
        Canvas()->Brush()->SetColor(Color_);
        Canvas()->FillRect(Rect(-50, -50, 500, 500));
    }

private:
    TColor Color_;
};

// A child of `parent`, owned by it, with those bounds, then aligned.
template <class T> T* MakeAligned(TWinControl* parent, TAlign a, TRect r)
{
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBoundsRect(r);
    c->SetAlign(a);
    return c;
}

TEST(Component, OwnerFreesOwnedAndFreeNotificationClearsLinks)
{
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        QStringList Removed;
        void Notification(TComponent* c, TOperation op) override
        {
            TComponent::Notification(c, op);
            if (op == opRemove)
                Removed << c->Name();
        }
    };
    auto* owner = new TComponent(nullptr);
    auto* a = new TComponent(owner);
    a->SetName("A");
    auto* b = new TComponent(owner);
    b->SetName("B");
    TWatcher watcher(nullptr);
    a->FreeNotification(&watcher);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("b"), b);
    EXPECT_EQ(b->ComponentIndex(), 1);

    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(watcher.Removed, QStringList { "A" });

    // A removed link is not notified again; the owner frees the rest.
    b->FreeNotification(&watcher);
    b->RemoveFreeNotification(&watcher);
    delete owner;
    EXPECT_EQ(watcher.Removed, QStringList { "A" });
    EXPECT_THROW(watcher.Components(0), EListError);
}

TEST(Component, ParentFreesChildControlsEvenWhenNotOwner)
{
    auto* form = new TForm(nullptr);
    auto* panel = new TProbe(form, form);
    auto* child = new TProbe(nullptr, panel);
    EXPECT_EQ(panel->ControlCount(), 1);
    const std::uint64_t childSerial = ControlSerial(child);
    auto* next = new TProbe(form, form);
    delete panel;
    EXPECT_EQ(FindControlBySerial(childSerial), nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->ControlCount(), 1);
    // The tab order forgets the freed control.
    EXPECT_EQ(form->GetTabOrderList(), std::vector<TWinControl*> { next });
    EXPECT_EQ(next->TabOrder(), 0);
    delete form;
}

// Freeing a control re-lays out what stays, which runs the others' handlers:
// one of them throwing is shown like any handler's exception and never leaves
// the destructor (where it would end the program).
TEST(Component, FreeingAControlShowsAHandlersExceptionInsteadOfEndingTheProgram)
{
    QStringList shown;
    Application->OnException = [&](TObject*, const Exception& e) { shown << e.Message(); };
    auto fail = [](const char* what) { return [what](TObject*) { throw EInvalidOperation(what); }; };
    ShownForm f;

    // An aligned control leaves: the client-aligned one grows.
    auto* top = new TPanel(f.Form);
    top->SetParent(f.Form);
    top->SetHeight(40);
    top->SetAlign(alTop);
    auto* client = new TPanel(f.Form);
    client->SetParent(f.Form);
    client->SetAlign(alClient);
    client->OnResize = fail("resize");
    delete top;
    EXPECT_EQ(client->Top(), 0);

    // The active page leaves: the next one shows.
    auto* pages = new TPageControl(f.Form);
    pages->SetParent(f.Form);
    auto* first = new TTabSheet(f.Form);
    first->SetPageControl(pages);
    auto* second = new TTabSheet(f.Form);
    second->SetPageControl(pages);
    pages->SetActivePage(first);
    second->OnShow = fail("show");
    delete first;
    EXPECT_EQ(pages->ActivePage(), second);

    // A category panel leaves: the panels under it move up and widen as the
    // scroll bar goes.
    auto* group = new TCategoryPanelGroup(f.Form);
    group->SetParent(f.Form);
    group->SetBounds(0, 0, 150, 150);
    auto* tall = group->CreatePanel(f.Form);
    tall->SetHeight(140);
    auto* other = group->CreatePanel(f.Form);
    other->SetHeight(60);
    other->OnResize = fail("panel resize");
    delete tall;
    EXPECT_EQ(other->Top(), 0);

    Application->OnException = nullptr;
    EXPECT_EQ(shown, (QStringList { "resize", "show", "panel resize" }));
}

TEST(Mouse, ClickOrderIsDownClickUpAndDoubleClickFollowsTheToolkit)
{
    ShownForm f;
    auto* probe = new TProbe(f.Form, f.Form);
    probe->SetBounds(10, 10, 100, 50);
    input::Click(probe, { 5, 6 });
    EXPECT_EQ(probe->Log, (QStringList { "enter", "mdown:L@5,6", "click", "mup:L@5,6" }));

    probe->Log.clear();
    input::DoubleClick(probe, mbLeft, { 7, 8 });
    EXPECT_EQ(
        probe->Log, (QStringList { "mdown:L@7,8", "click", "mup:L@7,8", "dblclick", "mdown:L2@7,8", "mup:L@7,8" }));

    // Without double clicks in its style the second press is a plain press.
    probe->Log.clear();
    probe->SetControlStyle(probe->ControlStyle() & ~TControlStyle(csDoubleClicks));
    input::DoubleClick(probe, mbLeft, { 7, 8 });
    EXPECT_EQ(probe->Log, (QStringList { "mdown:L@7,8", "click", "mup:L@7,8", "mdown:L@7,8", "click", "mup:L@7,8" }));

    // The right button gives no click.
    probe->Log.clear();
    input::Click(probe, { 1, 1 }, mbRight);
    EXPECT_EQ(probe->Log, (QStringList { "mdown:R@1,1", "mup:R@1,1" }));
}

TEST(Mouse, CaptureKeepsMovesAndReleaseWithThePressedControl)
{
    ShownForm f;
    auto* probe = new TProbe(f.Form, f.Form);
    probe->SetBounds(10, 10, 100, 50);
    auto* other = new TProbe(f.Form, f.Form);
    other->SetBounds(150, 10, 100, 50);

    input::MouseDown(probe, mbLeft, { 5, 5 });
    EXPECT_TRUE(probe->MouseCapture());
    // The pointer moves over another control and is released there.
    input::MouseMove(other, { 10, 10 });
    input::MouseUp(other, mbLeft, { 10, 10 });
    EXPECT_FALSE(probe->MouseCapture());
    EXPECT_EQ(probe->Log, (QStringList { "enter", "mdown:L@5,5", "move@150,10", "mup:L@150,10" }));
    EXPECT_TRUE(other->Log.isEmpty());

    // Released inside after leaving: the click still counts.
    probe->Log.clear();
    input::MouseDown(probe, mbLeft, { 5, 5 });
    input::MouseMove(probe, { 500, 5 });
    input::MouseUp(probe, mbLeft, { 50, 5 });
    EXPECT_EQ(probe->Log, (QStringList { "mdown:L@5,5", "move@500,5", "click", "mup:L@50,5" }));

    // Without capture in its style nothing is captured.
    probe->SetControlStyle(probe->ControlStyle() & ~TControlStyle(csCaptureMouse));
    input::MouseDown(probe, mbLeft, { 5, 5 });
    EXPECT_FALSE(probe->MouseCapture());
    input::MouseUp(probe, mbLeft, { 5, 5 });
}

TEST(Mouse, GraphicControlsGetInputFromTheirParentAndEnterAndLeave)
{
    ShownForm f;
    auto* panel = new TProbe(f.Form, f.Form);
    panel->SetBounds(0, 0, 200, 100);
    auto* g1 = new TGraphicProbe(panel, Bounds(10, 10, 30, 30), clRed);
    auto* g2 = new TGraphicProbe(panel, Bounds(50, 10, 30, 30), clBlue);

    input::MouseMove(panel, { 15, 15 });
    input::MouseMove(panel, { 55, 15 });
    input::MouseMove(panel, { 150, 80 });
    EXPECT_EQ(g1->Log, (QStringList { "enter", "move@5,5", "leave" }));
    EXPECT_EQ(g2->Log, (QStringList { "enter", "move@5,5", "leave" }));
    EXPECT_EQ(panel->Log.filter("enter"), QStringList { "enter" });

    // A press on a graphic control captures the mouse for it.
    g1->Log.clear();
    input::MouseDown(panel, mbLeft, { 12, 12 });
    input::MouseMove(panel, { 100, 90 });
    input::MouseUp(panel, mbLeft, { 100, 90 });
    EXPECT_EQ(g1->Log, (QStringList { "enter", "mdown@2,2", "move@90,80", "mup@90,80" }));

    // Direct input to a graphic control goes through its parent.
    g2->Log.clear();
    input::Click(g2, { 3, 4 });
    EXPECT_EQ(g2->Log.filter("@"), (QStringList { "mdown@3,4", "mup@3,4" }));

    // A disabled graphic control lets the parent have the click.
    g2->SetEnabled(false);
    panel->Log.clear();
    input::Click(panel, { 55, 15 });
    EXPECT_TRUE(panel->Log.contains("mdown:L@55,15"));
}

TEST(Mouse, WheelGoesToTheFocusedControlAndBubblesUpUntilHandled)
{
    ShownForm f;
    auto* panel = new TProbe(f.Form, f.Form);
    panel->SetBounds(0, 0, 200, 100);
    auto* inner = new TProbe(f.Form, panel);
    auto* elsewhere = new TProbe(f.Form, f.Form);
    elsewhere->SetBounds(0, 120, 50, 20);
    QStringList log;
    auto handler = [&log](const char* who, bool handle) {
        return [&log, who, handle](TObject*, TShiftState s, int delta, TPoint, bool& handled) {
            log << QStringLiteral("%1:%2%3").arg(who).arg(delta).arg(s.testFlag(ssCtrl) ? "^" : "");
            handled = handle;
        };
    };
    inner->OnMouseWheel = handler("inner", false);
    panel->OnMouseWheel = handler("panel", true);
    f->OnMouseWheel = handler("form", true);
    inner->SetFocus();

    // Turned over another control, the focused one still gets it first.
    input::Wheel(elsewhere, { 5, 5 }, -2, ssCtrl);
    EXPECT_EQ(log, (QStringList { "inner:-240^", "panel:-240^" }));

    log.clear();
    panel->OnMouseWheel = handler("panel", false);
    input::Wheel(inner, { 5, 5 }, 1);
    EXPECT_EQ(log, (QStringList { "inner:120", "panel:120", "form:120" }));
}

TEST(Layout, AlignPlacesControlsInTheToolkitOrder)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign a, TRect r) { return MakeAligned<TProbe>(&form, a, r); };
    auto* client = make(alClient, Bounds(0, 0, 10, 10));
    auto* right = make(alRight, Bounds(0, 0, 40, 10));
    auto* left = make(alLeft, Bounds(0, 0, 30, 10));
    auto* bottom = make(alBottom, Bounds(0, 0, 10, 15));
    auto* top2 = make(alTop, Bounds(0, 50, 10, 25));
    auto* top1 = make(alTop, Bounds(0, 0, 10, 20));

    EXPECT_EQ(top1->BoundsRect(), Bounds(0, 0, 300, 20));
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 20, 300, 25));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 185, 300, 15));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 45, 30, 140));
    EXPECT_EQ(right->BoundsRect(), Bounds(260, 45, 40, 140));
    EXPECT_EQ(client->BoundsRect(), Bounds(30, 45, 230, 140));

    // Resizing the parent realigns; hiding a control frees its space.
    form.SetBounds(0, 0, 400, 300);
    EXPECT_EQ(client->BoundsRect(), Bounds(30, 45, 330, 240));
    top2->Hide();
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 20, 30, 265));
    EXPECT_EQ(client->BoundsRect(), Bounds(30, 20, 330, 265));
}

// However a child comes to be aligned in a parent, the parent keeps placing
// it; a sibling that leaves does not stop that.
TEST(Layout, AlignedChildFollowsItsParentHoweverItBecameAligned)
{
    const struct {
        const char* Name;
        std::function<void(TControl* c, TWinControl* p, TWinControl* other)> Steps;
    } cases[] = {
        { "aligned, then placed",
            [](TControl* c, TWinControl* p, TWinControl*) {
                c->SetAlign(alTop);
                c->SetParent(p);
            } },
        { "placed, then aligned",
            [](TControl* c, TWinControl* p, TWinControl*) {
                c->SetParent(p);
                c->SetAlign(alTop);
            } },
        { "alignment dropped and taken again",
            [](TControl* c, TWinControl* p, TWinControl*) {
                c->SetParent(p);
                c->SetAlign(alTop);
                c->SetAlign(alNone);
                c->SetAlign(alCustom);
                c->SetAlign(alTop);
            } },
        { "moved to another parent and back",
            [](TControl* c, TWinControl* p, TWinControl* other) {
                c->SetAlign(alTop);
                c->SetParent(p);
                c->SetParent(other);
                c->SetParent(p);
            } },
        { "an aligned sibling leaves",
            [](TControl* c, TWinControl* p, TWinControl*) {
                auto* sibling = new TProbe(nullptr, p);
                sibling->SetAlign(alTop);
                c->SetParent(p);
                c->SetTop(100);
                c->SetAlign(alTop);
                delete sibling;
            } },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TForm form(nullptr);
        form.SetBounds(0, 0, 300, 200);
        auto* other = new TProbe(&form, &form);
        auto* c = new TProbe(&form);
        c->SetBounds(5, 60, 40, 25);
        test.Steps(c, &form, other);
        form.SetBounds(0, 0, 400, 300);
        EXPECT_EQ(c->BoundsRect(), Bounds(0, 0, form.ClientWidth(), 25));
    }
}

// A handler run while the parent places its children may free one that
// waits to be placed in the same pass: it is passed over.
TEST(Layout, ChildFreedWhileSiblingsArePlacedIsPassedOver)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign a, TRect r) { return MakeAligned<TPanel>(&form, a, r); };
    auto* first = make(alTop, Bounds(0, 0, 10, 20));
    TPanel* second = make(alTop, Bounds(0, 50, 10, 30));
    auto* client = make(alClient, Bounds(0, 0, 10, 10));
    first->OnResize = [&](TObject*) {
        delete second;
        second = nullptr;
    };

    form.SetBounds(0, 0, 400, 300);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(first->BoundsRect(), Bounds(0, 0, form.ClientWidth(), 20));
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 20, form.ClientWidth(), form.ClientHeight() - 20));
}

TEST(Layout, AnchorsKeepDistancesWhenTheParentResizes)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* stretch = new TProbe(&form, &form);
    stretch->SetBounds(10, 10, 100, 20);
    stretch->SetAnchors(TAnchors(akLeft) | akTop | akRight);
    auto* corner = new TProbe(&form, &form);
    corner->SetBounds(250, 170, 40, 20);
    corner->SetAnchors(TAnchors(akRight) | akBottom);
    auto* fixed = new TProbe(&form, &form);
    fixed->SetBounds(10, 50, 40, 20);

    form.SetBounds(0, 0, 350, 260);
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 150, 20));
    EXPECT_EQ(corner->BoundsRect(), Bounds(300, 230, 40, 20));
    EXPECT_EQ(fixed->BoundsRect(), Bounds(10, 50, 40, 20));
    // Shrinking back restores the original places.
    form.SetBounds(0, 0, 300, 200);
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 100, 20));
    EXPECT_EQ(corner->BoundsRect(), Bounds(250, 170, 40, 20));
}

TEST(Appearance, FontAndColourFollowTheParentUntilSetOnTheControl)
{
    TForm form(nullptr);
    auto* panel = new TProbe(&form, &form);
    auto* child = new TProbe(&form, panel);
    auto* own = new TProbe(&form, panel);
    own->Font()->SetSize(20);
    EXPECT_FALSE(own->ParentFont());
    child->SetParentColor(true);

    form.Font()->SetName("Verdana");
    form.Font()->SetSize(12);
    EXPECT_EQ(panel->Font()->Name(), "Verdana");
    EXPECT_EQ(child->Font()->Size(), 12);
    EXPECT_EQ(own->Font()->Size(), 20);
    EXPECT_TRUE(child->ParentFont());

    panel->SetColor(clYellow);
    EXPECT_EQ(child->Color(), clYellow);
    child->SetColor(clRed);
    panel->SetColor(clGreen);
    EXPECT_EQ(child->Color(), clRed);
    EXPECT_FALSE(child->ParentColor());

    // A control set into a parent takes the parent's font at once.
    auto* late = new TProbe(&form, nullptr);
    late->SetParent(panel);
    EXPECT_EQ(late->Font()->Name(), "Verdana");
}

TEST(Painting, CustomControlsPaintAndGraphicControlsStayInsideTheirBounds)
{
    ShownForm f;
    auto* panel = new TProbe(f.Form, f.Form);
    panel->SetBounds(0, 0, 100, 60);
    panel->PaintColor = clWhite;
    new TGraphicProbe(panel, Bounds(20, 10, 30, 20), clRed);
    const QImage img = panel->PaintToImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(100, 60));
    EXPECT_EQ(img.pixel(25, 15), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(49, 29), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(50, 15), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(19, 15), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(25, 30), qRgb(255, 255, 255));
}

TEST(Painting, InvalidatingARectangleRepaintsOnlyThatRectangle)
{
    ShownForm f;
    struct TClipProbe : TCustomControl {
        using TCustomControl::TCustomControl;
        QList<TRect> Clips;
        void Paint() override { Clips << Canvas()->ClipRect(); }
    };
    auto* c = new TClipProbe(f.Form);
    c->SetParent(f.Form);
    c->SetBounds(0, 0, 100, 60);
    QCoreApplication::processEvents();
    c->Clips.clear();
    c->InvalidateRect(Rect(10, 20, 30, 25));
    c->InvalidateRect(Rect(40, 40, 40, 50)); // empty: nothing
    QCoreApplication::processEvents();
    ASSERT_EQ(c->Clips.size(), 1);
    EXPECT_EQ(c->Clips.first(), Rect(10, 20, 30, 25));
}

TEST(Geometry, ClientAndScreenCoordinatesRoundTrip)
{
    ShownForm f;
    auto* panel = new TProbe(f.Form, f.Form);
    panel->SetBounds(20, 30, 100, 60);
    auto* child = new TProbe(f.Form, panel);
    child->SetBounds(5, 6, 10, 10);
    const TPoint s = child->ClientToScreen({ 1, 2 });
    EXPECT_EQ(child->ScreenToClient(s), TPoint(1, 2));
    EXPECT_EQ(f->ScreenToClient(s), TPoint(26, 38));
    EXPECT_EQ(child->ClientToParent({ 1, 2 }, f.Form), TPoint(26, 38));
}

} // namespace
