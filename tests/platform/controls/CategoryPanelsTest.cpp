#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>
#include <functional>

#include "platform/controls/CategoryPanels.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"

namespace {

std::vector<int> Tops(const TCategoryStack& s)
{
    std::vector<int> r;
    for (int i = 0; i < s.Count(); ++i)
        r.push_back(s.Top(i));
    return r;
}

TCategoryStack ThreePanels()
{
    TCategoryStack s;
    s.HeaderHeight = 24;
    s.ClientHeight = 200;
    s.Add(100);
    s.Add(150);
    s.Add(80);
    return s;
}

TEST(CategoryStack, CollapseExpandAndHideCloseTheGaps)
{
    TCategoryStack s = ThreePanels();
    EXPECT_EQ(Tops(s), (std::vector<int> { 0, 100, 250 }));
    EXPECT_EQ(s.ContentHeight(), 330);

    s.SetCollapsed(1, true);
    EXPECT_EQ(s.Height(1), 24);
    EXPECT_EQ(Tops(s), (std::vector<int> { 0, 100, 124 }));

    // A height set while collapsed is the height it opens to.
    s.SetExpandedHeight(1, 60);
    EXPECT_EQ(s.Height(1), 24);
    s.SetCollapsed(1, false);
    EXPECT_EQ(Tops(s), (std::vector<int> { 0, 100, 160 }));

    s.SetVisible(0, false);
    EXPECT_EQ(s.Order(), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(s.Top(1), 0);
    EXPECT_EQ(s.Top(2), 60);
    s.SetVisible(0, true); // comes back where it was
    EXPECT_EQ(s.Order(), (std::vector<int> { 0, 1, 2 }));
}

TEST(CategoryStack, SettingTopsReorders)
{
    TCategoryStack s = ThreePanels();
    s.SetTop(2, 0); // onto the first panel's top: goes ahead of it
    EXPECT_EQ(s.Order(), (std::vector<int> { 2, 0, 1 }));
    EXPECT_EQ(Tops(s), (std::vector<int> { 80, 180, 0 }));

    // The ordering a form does: each top is the previous top plus its height.
    int top = 0;
    for (int i : { 1, 0, 2 }) {
        s.SetTop(i, top);
        top = s.Top(i) + s.Height(i);
    }
    EXPECT_EQ(s.Order(), (std::vector<int> { 1, 0, 2 }));
    EXPECT_EQ(Tops(s), (std::vector<int> { 150, 0, 250 }));

    s.SetTop(1, 1000); // far below: last, without a gap
    EXPECT_EQ(s.Order(), (std::vector<int> { 0, 2, 1 }));
    EXPECT_EQ(s.Top(1), 180);
}

TEST(CategoryStack, WheelScrollsByLinesAndClamps)
{
    TCategoryStack s = ThreePanels();
    ASSERT_EQ(s.MaxScroll(), 130);

    EXPECT_EQ(s.Wheel(-120, 3), 24); // a notch towards the user: 3 lines of 8 down
    EXPECT_EQ(Tops(s), (std::vector<int> { -24, 76, 226 }));
    EXPECT_EQ(s.Wheel(120, 3), 0);
    EXPECT_EQ(s.Wheel(-60, 3), 0); // half a notch waits for the other half
    EXPECT_EQ(s.Wheel(-60, 3), 24);
    EXPECT_EQ(s.Wheel(-120, 0), 24); // no wheel lines: nothing
    EXPECT_EQ(s.Wheel(-1200, 3), 130); // clamped at the end
    EXPECT_EQ(s.ScrollLines(-1), 122);

    // Collapsing while scrolled shrinks the range and pulls the position in.
    s.SetCollapsed(1, true);
    EXPECT_EQ(s.MaxScroll(), 4);
    EXPECT_EQ(s.ScrollPos(), 4);

    // A top given while scrolled is in client coordinates.
    s.SetTop(2, -4);
    EXPECT_EQ(s.Order(), (std::vector<int> { 2, 0, 1 }));
    EXPECT_EQ(s.Top(2), -4);
}

// The wheel scrolls the desktop's lines per notch, which the platform theme or
// any other code in the process may set: a test that counts pixels fixes it.
struct WheelLines {
    int Saved;
    explicit WheelLines(int lines)
        : Saved(QGuiApplication::styleHints()->wheelScrollLines())
    {
        QGuiApplication::styleHints()->setWheelScrollLines(lines);
    }
    ~WheelLines() { QGuiApplication::styleHints()->setWheelScrollLines(Saved); }
};

struct GroupFixture {
    TForm* Form;
    TCategoryPanelGroup* Group;
    TCategoryPanel* P[3];
    QStringList Log;
    GroupFixture()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(30, 30, 260, 360);
        Form->Show();
        Group = new TCategoryPanelGroup(Form);
        Group->SetParent(Form);
        Group->SetBounds(0, 20, 200, 300);
        const int heights[] = { 100, 150, 80 };
        for (int i = 0; i < 3; ++i) {
            P[i] = Group->CreatePanel(Form);
            P[i]->SetCaption(QString("%1. Panel").arg(i + 1));
            P[i]->SetHeight(heights[i]);
            P[i]->OnCollapse = [this, i](TObject*) { Log << QString("collapse%1").arg(i); };
            P[i]->OnExpand = [this, i](TObject*) { Log << QString("expand%1").arg(i); };
        }
    }
    ~GroupFixture() { delete Form; }
    std::vector<int> PanelTops() const { return { P[0]->Top(), P[1]->Top(), P[2]->Top() }; }
};

TEST(CategoryPanelGroup, PanelsStackInOrderAndCollapse)
{
    GroupFixture f;
    EXPECT_EQ(f.PanelTops(), (std::vector<int> { 0, 100, 250 }));
    // 330 pixels of panels in 300: the scroll bar takes its width.
    EXPECT_TRUE(f.Group->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(f.P[0]->Width(), 200 - ScrollBarSize);

    f.P[1]->Collapse();
    EXPECT_EQ(f.P[1]->Height(), f.Group->HeaderHeight());
    EXPECT_EQ(f.P[1]->ExpandedHeight(), 150);
    EXPECT_EQ(f.PanelTops(), (std::vector<int> { 0, 100, 124 }));
    EXPECT_FALSE(f.Group->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(f.P[0]->Width(), 200);

    input::Click(f.P[2], { 10, 5 }); // a click on the header toggles
    EXPECT_TRUE(f.P[2]->Collapsed());
    input::Click(f.P[2], { 10, 5 });
    f.P[1]->Expand();
    EXPECT_EQ(f.PanelTops(), (std::vector<int> { 0, 100, 250 }));
    EXPECT_EQ(f.Log, (QStringList { "collapse1", "collapse2", "expand2", "expand1" }));

    // The order follows the tops the program gives; a hidden panel leaves no gap.
    f.P[2]->SetTop(0);
    ASSERT_EQ(f.Group->Stacked().size(), 3u);
    EXPECT_EQ(f.Group->Stacked()[0], f.P[2]);
    EXPECT_EQ(f.PanelTops(), (std::vector<int> { 80, 180, 0 }));
    f.P[0]->Hide();
    EXPECT_EQ(f.P[1]->Top(), 80);
}

TEST(CategoryPanelGroup, WheelAndScrollMessagesScrollLive)
{
    // Three lines of 8 pixels a notch stay inside the 30 pixels the panels
    // overflow by; with five the first notch would stop at the end.
    WheelLines lines(3);
    GroupFixture f;
    const int notch = 3 * f.Group->VertScrollBar()->Increment();
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    EXPECT_TRUE(f.Group->VertScrollBar()->Tracking());

    // The wheel goes to the focused control and up its parents: with the
    // focus in a panel, a notch over the group scrolls it.
    auto* e = new TEdit(f.Form);
    e->SetParent(f.P[1]);
    e->SetFocus();
    input::Wheel(f.Group, { 50, 50 }, -1); // one notch towards the user
    EXPECT_EQ(f.Group->VertScrollBar()->Position(), notch);
    EXPECT_EQ(f.P[0]->Top(), -notch);
    input::Wheel(f.Group, { 50, 50 }, 1);
    EXPECT_EQ(f.P[0]->Top(), 0);

    // The form's way: one line per message, then the end-of-scroll notice.
    f.Group->Perform(WM_VSCROLL, SB_LINEDOWN);
    f.Group->Perform(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(f.P[1]->Top(), 100 - 8);
    f.Group->Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(f.Group->VertScrollBar()->Position(), 30); // 330 - 300
    f.Group->Perform(WM_VSCROLL, SB_LINEDOWN); // stops at the end
    EXPECT_EQ(f.P[2]->Top(), 220);

    // A turn over the form outside the group leaves it where it is.
    f.Group->Perform(WM_VSCROLL, SB_TOP);
    input::Wheel(f.Form, { 230, 5 }, -1);
    EXPECT_EQ(f.P[0]->Top(), 0);
}

TEST(CategoryPanelGroup, ControlsSitUnderTheHeader)
{
    GroupFixture f;
    auto* e = new TEdit(f.Form);
    e->SetParent(f.P[0]);
    e->SetBounds(191, 9, 40, 21);
    EXPECT_EQ(e->Parent(), f.P[0]->Surface());
    EXPECT_EQ(f.P[0]->Surface()->Top(), f.Group->HeaderHeight());
    // The height rule of the forms: last control's bottom + header + 12.
    f.P[0]->SetHeight(e->Top() + e->Height() + f.Group->HeaderHeight() + 12);
    EXPECT_EQ(f.P[1]->Top(), 30 + 24 + 12);
    f.P[0]->Collapse();
    EXPECT_FALSE(f.P[0]->Surface()->Visible());
}

// The control's bounds in the scrolling container's client area.
TRect InContainer(const TControl* c, const TWinControl* container)
{
    TRect b = c->BoundsRect();
    for (const TWinControl* p = c->Parent(); p && p != container; p = p->Parent())
        OffsetRect(b, p->Left(), p->Top());
    return b;
}

TEdit* AddEdit(TForm* form, TWinControl* parent, int top)
{
    auto* e = new TEdit(form);
    e->SetParent(parent);
    e->SetBounds(20, top, 100, 21);
    return e;
}

TEST(CategoryPanelGroup, TabScrollsTheFocusedControlIntoView)
{
    // The group's panels and a scroll box, each taller than it shows: Tab
    // and Shift+Tab through their edits, each of which must come into view.
    struct Container {
        const char* name;
        std::function<TScrollingWinControl*(TForm*, std::vector<TEdit*>&)> build;
    };
    const Container containers[] = {
        { "category panel group",
            [](TForm* form, std::vector<TEdit*>& edits) {
                auto* group = new TCategoryPanelGroup(form);
                group->SetParent(form);
                group->SetBounds(0, 20, 200, 300);
                for (int i = 0; i < 3; ++i) {
                    TCategoryPanel* p = group->CreatePanel(form);
                    p->SetHeight(200);
                    for (int top : { 10, 140 })
                        edits.push_back(AddEdit(form, p, top));
                }
                return group;
            } },
        { "scroll box",
            [](TForm* form, std::vector<TEdit*>& edits) {
                auto* box = new TScrollBox(form);
                box->SetParent(form);
                box->SetBounds(0, 20, 200, 300);
                for (int i = 0; i < 4; ++i)
                    edits.push_back(AddEdit(form, box, 10 + i * 200));
                return box;
            } },
    };
    for (const Container& c : containers) {
        SCOPED_TRACE(c.name);
        TForm form(nullptr);
        form.SetBounds(30, 30, 260, 360);
        form.Show();
        std::vector<TEdit*> edits;
        TScrollingWinControl* box = c.build(&form, edits);
        ASSERT_GT(box->VertScrollBar()->MaxPosition(), 0);
        auto inView = [&](const TControl* e) {
            const TRect r = InContainer(e, box);
            return r.Top >= 0 && r.Bottom <= box->ClientRect().Height();
        };
        edits.front()->SetFocus();
        for (std::size_t i = 1; i < edits.size(); ++i) {
            input::Key(edits[i - 1], VK_TAB);
            ASSERT_EQ(form.FocusedControl(), edits[i]) << i;
            EXPECT_TRUE(inView(edits[i])) << i;
        }
        EXPECT_GT(box->VertScrollBar()->Position(), 0);
        for (std::size_t i = edits.size() - 1; i > 0; --i) {
            input::Key(edits[i], VK_TAB, ssShift);
            ASSERT_EQ(form.FocusedControl(), edits[i - 1]) << i;
            EXPECT_TRUE(inView(edits[i - 1])) << i;
        }
        // A control already in view does not move the content.
        const int at = box->VertScrollBar()->Position();
        input::Key(edits[0], VK_TAB);
        EXPECT_EQ(box->VertScrollBar()->Position(), at);
    }
}

TEST(CategoryPanelGroup, ControlsOnAPanelShowHintsAsTheFormDoes)
{
    TForm form(nullptr);
    form.SetShowHint(true);
    auto* group = new TCategoryPanelGroup(&form);
    group->SetParent(&form);
    TCategoryPanel* p = group->CreatePanel(&form);
    auto* e = new TEdit(&form);
    e->SetParent(p);
    EXPECT_TRUE(e->ShowHint());
}

} // namespace
