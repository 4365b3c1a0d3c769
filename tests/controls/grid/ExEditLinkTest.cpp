// The custom editor link with a real edit control and real keys: which keys
// leave the editor and what the grid does then, the want flags, Escape
// bringing the old text back, Tab, the grid's rules for hosted controls, and
// the link's own pop-up form.
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WindowProc.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

namespace {

// A link whose control is a plain edit.
class TEditBoxLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* Edit = nullptr;
    TWinControl* GetEditControl() override { return Edit; }
    void CreateEditor(TWinControl* AParent) override
    {
        if (!Edit) {
            Edit = new TEdit(AParent);
            Edit->OnKeyDown
                = [this](TObject* Sender, WORD& Key, TShiftState Shift) { EditKeyDown(Sender, Key, Shift); };
        }
        Edit->SetParent(AParent);
    }
    void DestroyEditor() override
    {
        delete Edit;
        Edit = nullptr;
    }
    QString GetEditorValue() override { return Edit ? Edit->Text() : QString(); }
    void SetEditorValue(const QString& Value) override
    {
        if (Edit)
            Edit->SetText(Value);
    }
};

// The grid's side of a custom edit as the editing family drives it, and
// what the link makes the grid do.
class TLinkGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    int Writes = 0;
    int Reopened = 0;
    int F2Posted = 0;

    void OpenLink()
    {
        EditControl = TEditorType::edCustom;
        FEditMode = true;
        const int rc = RealColIndex(Col());
        FCellCache = Cells(rc, Row());
        TEditLink* link = EditLink();
        link->Prepare(this, TPoint(rc, Row()));
        const TRect cell = CellRect(Col(), Row());
        if (link->EditStyle == TEditStyle::esPopup) {
            const TPoint tl = ClientToScreen(TPoint(cell.Left, cell.Top));
            link->CreateEditor(link->ShowPopupForm(Bounds(tl.X, tl.Y, cell.Width(), cell.Height())));
            link->SetRect(Rect(0, 0, link->PopupWidth, link->PopupHeight));
        } else {
            link->CreateEditor(this);
            link->SetRect(cell);
        }
        link->SetVisible(true);
        link->SetCellProps(Color(), Font());
        link->SetProperties();
        link->SetEditorValue(GetCellEx(rc, Row()));
        link->SetFocus(true);
    }
    void RefuseLastValue() { FLastValidation = false; }
    void SetEditedCellText(int ACol, int ARow, const QString& Value) override
    {
        ++Writes;
        TExStringGrid::SetEditedCellText(ACol, ARow, Value);
    }
    void ShowInplaceEdit() override { ++Reopened; }

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_F2)
            ++F2Posted;
        TExStringGrid::WndProc(Message);
    }
};

struct TLinkFixture : TGridOnForm<TLinkGrid> {
    TEditBoxLink* Link;
    TLinkFixture()
        : TGridOnForm<TLinkGrid>(5, 5, 300, 150)
    {
        Link = new TEditBoxLink(Form);
        Grid->SetEditLink(Link);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                Grid->SetCells(c, r, QStringLiteral("old"));
        Grid->SetCol(2);
        Grid->SetRow(2);
    }
    // Opens the editor on (2, 2), types a new text and presses the key.
    void TypeAndPress(WORD Key, TShiftState Shift = {})
    {
        Grid->OpenLink();
        Link->Edit->SetText(QString());
        input::Type(Link->Edit, QStringLiteral("new"));
        input::Key(Link->Edit, Key, Shift);
    }
};

} // namespace

TEST(ExEditLink, LeavingKeysStoreCloseAndMoveAsTheGridDoes)
{
    struct Case {
        const char* name;
        WORD key;
        TShiftState shift;
        QString cell;
        bool open;
        TPoint cur;
    };
    const Case cases[] = {
        { "up", VK_UP, {}, "new", false, TPoint(2, 1) },
        { "down", VK_DOWN, {}, "new", false, TPoint(2, 3) },
        { "left", VK_LEFT, {}, "new", false, TPoint(1, 2) },
        { "right", VK_RIGHT, {}, "new", false, TPoint(3, 2) },
        { "page down", VK_NEXT, {}, "new", false, TPoint(2, 2) },
        { "end", VK_END, {}, "new", false, TPoint(2, 2) },
        { "return", VK_RETURN, {}, "new", false, TPoint(3, 2) },
        { "shift return", VK_RETURN, ssShift, "new", false, TPoint(1, 2) },
        { "escape", VK_ESCAPE, {}, "old", false, TPoint(2, 2) },
        { "tab", VK_TAB, {}, "new", false, TPoint(2, 2) },
        { "alt home", VK_HOME, ssAlt, "new", false, TPoint(2, 2) },
        { "home", VK_HOME, {}, "old", true, TPoint(2, 2) },
    };
    for (const Case& c : cases) {
        TLinkFixture f;
        f.Grid->SetOptions(f.Grid->Options() | goTabs); // Tab reaches the link
        f.TypeAndPress(c.key, c.shift);
        EXPECT_EQ(f.Grid->Cells(2, 2), c.cell) << c.name;
        EXPECT_EQ(f.Grid->EditMode(), c.open) << c.name;
        EXPECT_EQ(f.Link->Edit->Enabled() && f.Link->Edit->Visible(), c.open) << c.name;
        EXPECT_EQ(f.Form->FocusedControl() == f.Link->Edit, c.open) << c.name;
        EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), c.cur) << c.name;
        EXPECT_EQ(f.Link->SubClassed(), c.open) << c.name;
        EXPECT_EQ(f.Grid->Writes, c.open ? 0 : 1) << c.name;
    }
}

TEST(ExEditLink, WantFlagsKeepTheirKeysInTheControl)
{
    struct Case {
        const char* name;
        bool TEditLink::*flag;
        WORD key;
        TShiftState shift;
    };
    const Case cases[] = {
        { "up down", &TEditLink::WantKeyUpDown, VK_UP, {} },
        { "left right", &TEditLink::WantKeyLeftRight, VK_RIGHT, {} },
        { "home end", &TEditLink::WantKeyHomeEnd, VK_HOME, ssAlt },
        { "home end, end", &TEditLink::WantKeyHomeEnd, VK_END, {} },
        { "prior next", &TEditLink::WantKeyPriorNext, VK_PRIOR, {} },
        { "return", &TEditLink::WantKeyReturn, VK_RETURN, {} },
        { "escape", &TEditLink::WantKeyEscape, VK_ESCAPE, {} },
        { "tabs", &TEditLink::WantTabs, VK_TAB, {} },
    };
    for (const Case& c : cases) {
        TLinkFixture f;
        f.Grid->SetOptions(f.Grid->Options() | goTabs);
        f.Link->*c.flag = true;
        f.TypeAndPress(c.key, c.shift);
        EXPECT_TRUE(f.Grid->EditMode()) << c.name;
        EXPECT_EQ(f.Form->FocusedControl(), f.Link->Edit) << c.name;
        EXPECT_EQ(f.Grid->Cells(2, 2), "old") << c.name;
        EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), TPoint(2, 2)) << c.name;
        EXPECT_EQ(f.Grid->Writes, 0) << c.name;
    }
}

TEST(ExEditLink, TheHostedControlWantsTabOnlyWhileTheGridTabsAndIsInTheCell)
{
    TLinkFixture f;
    f.Grid->OpenLink();
    // Without tabbing the grid leaves the dialog code alone: Tab is the form's.
    EXPECT_EQ(f.Link->Edit->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
    f.Grid->SetOptions(f.Grid->Options() | goTabs);
    EXPECT_NE(f.Link->Edit->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
    input::Key(f.Link->Edit, VK_UP);
    EXPECT_FALSE(f.Link->SubClassed());
    EXPECT_FALSE(HasWindowProcReplacement(f.Link->Edit));
    EXPECT_EQ(f.Link->Edit->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
}

TEST(ExEditLink, TabWithTabToNextAtEndStoresMovesAndOpensTheNextCell)
{
    TLinkFixture f;
    f.Grid->SetOptions(f.Grid->Options() | goTabs);
    f.Grid->Navigation()->TabToNextAtEnd = true;
    f.TypeAndPress(VK_TAB);
    EXPECT_EQ(f.Grid->Cells(2, 2), "new");
    EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), TPoint(3, 2));
    EXPECT_EQ(f.Grid->Writes, 1);
    EXPECT_TRUE(testutil::PumpUntil([&] { return f.Grid->F2Posted == 1; }, 3000));
}

TEST(ExEditLink, AfterARefusedValueTheNextLeavingKeyReopensTheSameCell)
{
    TLinkFixture f;
    f.Grid->RefuseLastValue();
    f.TypeAndPress(VK_DOWN);
    EXPECT_EQ(f.Grid->Reopened, 1);
    EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), TPoint(2, 2));
    // Validation holds again: the next edit moves on.
    f.TypeAndPress(VK_DOWN);
    EXPECT_EQ(f.Grid->Reopened, 1);
    EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), TPoint(2, 3));
}

TEST(ExEditLink, PopupOpensAtTheCellOrTheGivenPlaceAndReturnStoresOnce)
{
    TLinkFixture f;
    f.Link->EditStyle = TEditStyle::esPopup;
    f.Link->PopupWidth = 120;
    f.Link->PopupHeight = 60;
    f.Grid->OpenLink();
    TForm* form = f.Link->PopupForm();
    ASSERT_NE(form, nullptr);
    const TRect cell = f.Grid->CellRect(2, 2);
    const TPoint tl = f.Grid->ClientToScreen(TPoint(cell.Left, cell.Top));
    EXPECT_EQ(form->BoundsRect(), Bounds(tl.X, tl.Y, 120, 60));
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_EQ(f.Link->Edit->Parent(), form);
    EXPECT_EQ(f.Link->Edit->BoundsRect(), Rect(0, 0, 120 - f.Grid->GridLineWidth(), 60 - f.Grid->GridLineWidth()));

    f.Link->Edit->SetText(QString());
    input::Type(f.Link->Edit, QStringLiteral("popped"));
    input::Key(f.Link->Edit, VK_RETURN);
    EXPECT_EQ(f.Grid->Cells(2, 2), "popped");
    EXPECT_EQ(f.Grid->Writes, 1) << "one edit, one store";
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(f.Link->Edit, nullptr) << "the editor goes with the pop-up";
    EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), TPoint(3, 2));

    f.Link->PopupLeft = 300;
    f.Link->PopupTop = 200;
    f.Link->AutoPopupWidth = true;
    f.Grid->OpenLink();
    EXPECT_EQ(f.Link->PopupForm(), form) << "the form is kept and reused";
    EXPECT_EQ(form->BoundsRect(), Bounds(300, 200, f.Grid->CellRect(3, 2).Width(), 60));
}

TEST(ExEditLink, EachLinkOwnsItsPopupFormAndFreesOnlyThat)
{
    TLinkFixture f;
    auto* other = new TForm(f.Form);
    other->SetName(QStringLiteral("gridform"));
    auto* second = new TEditBoxLink(f.Form);
    for (TEditBoxLink* link : { f.Link, second }) {
        link->EditStyle = TEditStyle::esPopup;
        link->PopupWidth = 80;
        link->PopupHeight = 40;
        f.Grid->SetEditLink(link);
        f.Grid->OpenLink();
        input::Key(link->Edit, VK_ESCAPE);
    }
    TForm* first = f.Link->PopupForm();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second->PopupForm(), nullptr);
    EXPECT_NE(first, second->PopupForm());
    EXPECT_EQ(first->Name(), "gridform");
    EXPECT_EQ(second->PopupForm()->Name(), "gridform");
    EXPECT_EQ(f.Form->FindComponent(QStringLiteral("gridform")), other);

    const std::uint64_t firstSerial = ControlSerial(first);
    const std::uint64_t secondSerial = ControlSerial(second->PopupForm());
    delete second;
    EXPECT_EQ(FindControlBySerial(secondSerial), nullptr);
    EXPECT_EQ(FindControlBySerial(firstSerial), first);
    EXPECT_EQ(f.Grid->EditLink(), nullptr) << "the grid forgets a link that goes";
}

TEST(ExEditLink, PopupLosingActivationStoresAndClosesTheEditor)
{
    TLinkFixture f;
    f.Link->EditStyle = TEditStyle::esPopup;
    f.Link->PopupWidth = 100;
    f.Link->PopupHeight = 30;
    f.Grid->OpenLink();
    f.Link->Edit->SetText(QStringLiteral("typed"));
    f.Link->FormExit(f.Link->PopupForm());
    EXPECT_EQ(f.Grid->Cells(2, 2), "typed");
    EXPECT_EQ(f.Grid->Writes, 1);
    EXPECT_FALSE(f.Link->PopupForm()->Visible());
    EXPECT_TRUE(f.Grid->InvokedFocusChange);
    EXPECT_EQ(TPoint(f.Grid->Col(), f.Grid->Row()), TPoint(2, 2));
}
