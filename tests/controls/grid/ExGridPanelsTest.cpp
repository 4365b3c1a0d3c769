// The footer strip, the search bar, the filter drop-down lists and the keys
// that keep the last row above the search bar, driven by real key and mouse
// events on a shown form.

#include "controls/grid/ExGridPanels.h"
#include "controls/base/ExObjCheckBox.h"
#include "controls/base/ExObjGridButton.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <vector>

namespace {

class TPanelGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    std::vector<QString> Marks;
    void SearchHighlight(const QString& Text, bool DoCase) override { Marks.push_back(Text + (DoCase ? "/case" : "")); }
    void SearchUnHighlight() override { Marks.push_back("-"); }
    void SetFilterCol(int c) { FFilterCol = c; }
};

using Fixture = TGridOnForm<TPanelGrid>;

// Pixel colour of an image as a TColor.
TColor Pixel(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

void Process()
{
    QApplication::processEvents();
}

// A mouse event where the window system delivers it in a list: on the
// list's viewport, which takes it (the frame would hand it on to the grid).
void ListMouse(TWinControl* List, QEvent::Type Type, QPoint At)
{
    QWidget* vp = qobject_cast<QAbstractScrollArea*>(List->Widget())->viewport();
    const Qt::MouseButtons held = Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(Type, QPointF(At), vp->mapToGlobal(QPointF(At)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(vp, &e);
}

} // namespace

// ---------------------------------------------------------------------------
// Footer template

TEST(ExGridPanels, FooterTemplateExpands)
{
    const auto cell = [](int n) { return QStringLiteral("c%1").arg(n); };
    struct Case {
        const char* Template;
        const char* Expected;
    } cases[] = {
        { "Tag: <#2>", "Tag: c2" },
        { "<#x>-<#1>", "-c1" }, // a placeholder without a number vanishes; the next is still filled
        { "<#1><#12>!", "c1c12!" },
        { "open <#3", "open <#3" }, // no ">": stays as text, and the expansion ends
        { "<#1> and <#", "c1 and <#" },
        { "a > b <#0>", "a > b c0" },
        { "", "" },
        { "<#>", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandFooterTemplate(QString::fromUtf8(c.Template), cell), QString::fromUtf8(c.Expected))
            << c.Template;
}

// ---------------------------------------------------------------------------
// Footer strip

namespace {

struct TFooterFixture : Fixture {
    TFooterFixture()
        : Fixture(6, 8, 360, 190)
    {
        Grid->SetFixedCols(1);
        Grid->SetFixedRows(1);
        for (int c = 0; c < 6; ++c) {
            Grid->SetCells(c, 0, QStringLiteral("H%1").arg(c));
            for (int r = 1; r < 8; ++r)
                Grid->SetCells(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
        }
        Grid->SetCells(1, 7, "Total");
        Grid->SetCells(2, 7, "42");
        Grid->FloatingFooter()->SetVisible(true);
        Process();
    }
    TFooterPanel* Panel() const { return Grid->FooterPanel(); }
};

} // namespace

TEST(ExGridPanels, FooterShowsLastRowAndItsStyles)
{
    TFooterFixture f;
    TExStringGrid* g = f.Grid;
    TFooterPanel* p = f.Panel();
    ASSERT_TRUE(p->Visible());
    EXPECT_EQ(p->Height(), g->FloatingFooter()->Height() - 1);
    EXPECT_EQ(g->FixedFooters(), 1);
    g->FloatingFooter()->SetFooterStyle(TFooterStyle::fsColumnPreview);
    g->FloatingFooter()->SetVisible(true);
    EXPECT_EQ(g->FixedFooters(), 0);

    // Border line across the painted width only.
    g->FloatingFooter()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    g->FloatingFooter()->SetBorderColor(clRed);
    QImage img = p->PaintToImage();
    int w = 0;
    for (int c = 0; c < g->ColCount(); ++c)
        w += g->ColWidths(c);
    ASSERT_LT(w, img.width());
    EXPECT_EQ(Pixel(img, 3, 0), clRed);
    EXPECT_EQ(Pixel(img, w - 2, 0), clRed);
    EXPECT_NE(Pixel(img, w + 3, 0), clRed);
    g->FloatingFooter()->SetBorderColor(clNone);
    img = p->PaintToImage();
    EXPECT_NE(Pixel(img, 3, 0), clRed);
}

TEST(ExGridPanels, FooterGoldenInFourStyles)
{
    TFooterFixture f;
    TExStringGrid* g = f.Grid;
    TFloatingFooter* ff = g->FloatingFooter();
    g->SetRow(3);
    ff->SetColumn(2);
    ff->SetCustomTemplate("Row <#1>: <b><#2></b>");
    ff->SetColor(TColor(0xE0F0FF));
    g->OnFooterPaint = [](TObject*, int ACol, const TRect& R, TCanvas* C) {
        C->Brush()->SetColor(TColor(0x80C080));
        C->FillRect(TRect(R.Left + 4, R.Top + 4, R.Left + 40 + 10 * ACol, R.Bottom - 4));
    };
    const TFooterStyle styles[] = { TFooterStyle::fsFixedLastRow, TFooterStyle::fsColumnPreview,
        TFooterStyle::fsCustomPreview, TFooterStyle::fsCustomPaint };
    const QString names[] = { "fixed", "column", "template", "paint" };
    for (int i = 0; i < 4; ++i) {
        // The paint event takes only the strip of fsCustomPaint here.
        const auto paint = g->OnFooterPaint;
        if (styles[i] != TFooterStyle::fsCustomPaint)
            g->OnFooterPaint = nullptr;
        ff->SetFooterStyle(styles[i]);
        ff->SetVisible(true);
        Process();
        const QImage img = f.Panel()->PaintToImage();
        g->OnFooterPaint = paint;
        testutil::SaveImagePng(img, "exgrid_footer_" + names[i]);
        EXPECT_TRUE(testutil::MatchesGolden(img, "exgrid_footer_" + names[i])) << names[i].toStdString();
    }
}

TEST(ExGridPanels, FooterClicksAndHintsFollowTheScrolledColumns)
{
    TFooterFixture f;
    TExStringGrid* g = f.Grid;
    for (int c = 0; c < 6; ++c)
        g->SetColWidths(c, 64);
    g->SetLeftCol(3);
    ASSERT_EQ(g->LeftCol(), 3);
    TFooterPanel* p = f.Panel();
    std::vector<QPoint> clicks; // (column, row)
    int plainClicks = 0;
    g->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, g);
        ++plainClicks;
    };
    g->OnClickCell = [&](TObject*, int ARow, int ACol) { clicks.emplace_back(ACol, ARow); };
    input::Click(p, TPoint(10, 5)); // the fixed column
    input::Click(p, TPoint(64 + 10, 5)); // first scrolled-in column: 3
    input::Click(p, TPoint(2 * 64 + 10, 5)); // then 4
    EXPECT_EQ(plainClicks, 3);
    EXPECT_EQ(clicks, (std::vector<QPoint> { { 0, 7 }, { 3, 7 }, { 4, 7 } }));

    // Hints ask the grid for the same column.
    std::vector<QPoint> asked;
    g->OnGridHint = [&](TObject*, int ARow, int ACol, QString& Hint) {
        asked.emplace_back(ACol, ARow);
        Hint = QStringLiteral("col %1").arg(ACol);
    };
    g->FloatingFooter()->SetShowHint(true);
    ASSERT_TRUE(p->ShowHint());
    const TPoint at(64 + 10, 5);
    input::MouseMove(p, at);
    ASSERT_TRUE(Application->ActivateHint(p, p->ClientToScreen(at)));
    EXPECT_EQ(asked.back(), QPoint(3, 7));
    EXPECT_EQ(p->LastHintX(), 3);
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(Application->HintWindow()->Caption(), "col 3");
    EXPECT_TRUE(Application->HintWindow()->Widget()->isVisible());
    // Into the next column: the hint goes so that the next one asks again.
    input::MouseMove(p, TPoint(2 * 64 + 10, 5));
    EXPECT_FALSE(Application->HintWindow()->Widget()->isVisible());
    EXPECT_EQ(p->LastHintX(), 4);
    ASSERT_TRUE(Application->ActivateHint(p, p->ClientToScreen(TPoint(2 * 64 + 10, 5))));
    EXPECT_EQ(asked.back(), QPoint(4, 7));
    Application->CancelHint();
    delete Application->HintWindow();
}

// ---------------------------------------------------------------------------
// Search bar

namespace {

struct TSearchFixture : Fixture {
    TSearchFixture()
        : Fixture(4, 30, 540, 240)
    {
        Grid->SetFixedCols(1);
        Grid->SetFixedRows(1);
        for (int r = 1; r < 30; ++r) {
            Grid->SetCells(1, r, QStringLiteral("item %1").arg(r));
            Grid->SetCells(2, r, r % 10 == 0 ? QStringLiteral("Pump") : QStringLiteral("valve"));
        }
        TSearchFooter* sf = Grid->SearchFooter();
        sf->SetFindNextCaption("Find &next");
        sf->SetFindPrevCaption("Find &previous");
        sf->SetHighLightCaption("Highlight");
        sf->SetMatchCaseCaption("Match case");
        sf->SetVisible(true);
        Process();
    }
    TSearchPanel* Panel() const { return Grid->SearchPanel(); }
    TRetEdit* Edit() const { return Panel()->EditControl(); }
};

} // namespace

TEST(ExGridPanels, SearchBarTypingReturnAndCtrlReturn)
{
    TSearchFixture f;
    TPanelGrid* g = f.Grid;
    TSearchPanel* p = f.Panel();
    ASSERT_TRUE(p->Visible());
    EXPECT_EQ(p->Height(), 32);
    EXPECT_FALSE(p->ForwardButton()->Enabled());
    EXPECT_FALSE(p->BackwardButton()->Enabled());
    EXPECT_FALSE(p->HiliteButton()->Enabled());

    f.Edit()->SetFocus();
    input::Type(f.Edit(), "pump");
    EXPECT_TRUE(p->ForwardButton()->Enabled());
    EXPECT_TRUE(p->BackwardButton()->Enabled());
    EXPECT_TRUE(p->HiliteButton()->Enabled());
    // Typing finds the first match at once.
    EXPECT_EQ(g->Row(), 10);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(f.Edit()->Color(), clWindow);

    input::Key(f.Edit(), VK_RETURN);
    EXPECT_EQ(g->Row(), 20);
    input::Key(f.Edit(), VK_RETURN, TShiftState(ssCtrl));
    EXPECT_EQ(g->Row(), 10);
    // Return never types into the field.
    EXPECT_EQ(f.Edit()->GetText(), "pump");

    // A miss turns the field red; mending the text brings it back.
    input::Type(f.Edit(), "x");
    EXPECT_EQ(f.Edit()->Color(), clRed);
    input::Key(f.Edit(), VK_BACK);
    EXPECT_EQ(f.Edit()->Color(), clWindow);

    // Clearing the text disables the buttons again.
    for (int i = 0; i < 4; ++i)
        input::Key(f.Edit(), VK_BACK);
    EXPECT_EQ(f.Edit()->GetText(), "");
    EXPECT_FALSE(p->ForwardButton()->Enabled());
    EXPECT_FALSE(p->HiliteButton()->Enabled());
}

TEST(ExGridPanels, SearchBarButtonsHighlightAndClose)
{
    TSearchFixture f;
    TPanelGrid* g = f.Grid;
    TSearchPanel* p = f.Panel();
    f.Edit()->SetFocus();
    input::Type(f.Edit(), "Pump");
    g->Marks.clear();
    auto centre = [](TControl* c) { return TPoint(c->Width() / 2, c->Height() / 2); };

    input::Click(p->MatchCase(), centre(p->MatchCase()));
    ASSERT_TRUE(p->MatchCase()->Checked());
    input::Click(p->HiliteButton(), centre(p->HiliteButton()));
    EXPECT_TRUE(p->HiliteButton()->Down());
    EXPECT_EQ(g->Marks, (std::vector<QString> { "Pump/case" }));
    input::Click(p->HiliteButton(), centre(p->HiliteButton()));
    EXPECT_FALSE(p->HiliteButton()->Down());
    EXPECT_EQ(g->Marks.back(), "-");

    input::Click(p->ForwardButton(), centre(p->ForwardButton()));
    EXPECT_EQ(g->Row(), 20);
    input::Click(p->BackwardButton(), centre(p->BackwardButton()));
    EXPECT_EQ(g->Row(), 10);

    bool closed = false;
    g->OnSearchFooterClose = [&](TObject*) { closed = true; };
    input::Click(p->ExitButton(), centre(p->ExitButton()));
    EXPECT_TRUE(closed);
    EXPECT_FALSE(g->SearchFooter()->Visible());
    EXPECT_FALSE(p->Visible());
}

TEST(ExGridPanels, HeldLineDownKeepsTheLastRowAboveTheSearchBar)
{
    TSearchFixture f;
    TPanelGrid* g = f.Grid;
    g->SetFocus();
    g->SetRow(1);
    const int last = g->RowCount() - 1;
    const int line = g->ClientHeight() - f.Panel()->Height() + 2;
    int topAtEnd = -1;
    for (int i = 0; i < 40; ++i) {
        input::KeyDown(g, VK_DOWN); // auto-repeat: presses without releases
        if (g->Row() == last) {
            EXPECT_LE(g->CellRect(g->Col(), last).Bottom, line) << "press " << i;
            if (topAtEnd < 0)
                topAtEnd = g->TopRow();
            EXPECT_EQ(g->TopRow(), topAtEnd) << "press " << i;
        }
    }
    input::KeyUp(g, VK_DOWN);
    EXPECT_EQ(g->Row(), last);
    // End and Right on the last row leave it above the bar too.
    g->SetTopRow(1);
    input::Key(g, VK_END, TShiftState(ssCtrl));
    input::Key(g, VK_DOWN);
    EXPECT_LE(g->CellRect(g->Col(), g->Row()).Bottom, line);
}

TEST(ExGridPanels, SearchBarGoldenLeftToRightAndRightToLeft)
{
    for (const bool rtl : { false, true }) {
        TSearchFixture f;
        if (rtl)
            f.Grid->SetBiDiMode(bdRightToLeft);
        f.Grid->SearchFooter()->SetColorTo(TColor(0xD8C8B8));
        f.Edit()->SetText("pump");
        Process();
        TSearchPanel* p = f.Panel();
        // The close button sits at the outer edge: left, or right for right-to-left.
        const int closeLeft = p->ExitButton()->Left();
        if (rtl)
            EXPECT_EQ(closeLeft, p->Width() - p->ExitButton()->Width() - 5);
        else
            EXPECT_EQ(closeLeft, 5);
        const QImage img = p->PaintToImage();
        const QString name = rtl ? "exgrid_searchbar_rtl" : "exgrid_searchbar_ltr";
        testutil::SaveImagePng(img, name);
        EXPECT_TRUE(testutil::MatchesGolden(img, name, 2, 40));
    }
}

// ---------------------------------------------------------------------------
// Filter drop-down lists

namespace {

struct TListFixture : Fixture {
    TListFixture()
        : Fixture(4, 10, 300, 200)
    {
    }
    template <class L> void Drop(L* list)
    {
        for (const char* s : { "(All)", "alpha", "beta" })
            list->Items()->Add(s);
        Grid->SetFilterCol(2);
        list->SetBounds(40, 20, 120, 100);
        list->SetVisible(true);
        list->SetFocus();
        Process();
    }
};

} // namespace

TEST(ExGridPanels, FilterListClosesOnReturnAndMouseRelease)
{
    TListFixture f;
    TDropList* list = f.Grid->FilterDropList();
    ASSERT_NE(list, nullptr);
    std::vector<int> chosen;
    list->OnSelect = [&](TObject*, int i) { chosen.push_back(i); };

    f.Drop(list);
    list->SetItemIndex(1);
    input::Key(list, VK_RETURN);
    EXPECT_FALSE(list->Visible());
    ASSERT_EQ(chosen, (std::vector<int> { 1 }));

    list->SetVisible(true);
    list->SetFocus();
    ListMouse(list, QEvent::MouseButtonPress, QPoint(10, 5));
    EXPECT_TRUE(list->Visible());
    ListMouse(list, QEvent::MouseButtonRelease, QPoint(10, 5));
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(chosen.back(), 0);
}

TEST(ExGridPanels, FilterListCancelModeUnderTheMouseStaysOpen)
{
    TListFixture f;
    for (const bool checkList : { false, true }) {
        TWinControl* list = checkList ? static_cast<TWinControl*>(f.Grid->FilterDropCheckList())
                                      : static_cast<TWinControl*>(f.Grid->FilterDropList());
        if (checkList)
            f.Drop(f.Grid->FilterDropCheckList());
        else
            f.Drop(f.Grid->FilterDropList());
        // The focus goes elsewhere while the mouse is over the list: it stays.
        SetMouseCursorPos(list->ClientToScreen(TPoint(10, 10)));
        f.Grid->SetFocus();
        EXPECT_TRUE(list->Visible());
        EXPECT_EQ(f.Grid->FilterColumn(), 2);
        // The window deactivates with the mouse elsewhere: it closes.
        list->SetFocus();
        SetMouseCursorPos(list->ClientToScreen(TPoint(-30, 150)));
        list->Perform(CM_CANCELMODE, 0, 0);
        EXPECT_FALSE(list->Visible());
        EXPECT_EQ(f.Grid->FilterColumn(), -1);
    }
}

TEST(ExGridPanels, FilterCheckListTogglesReportIndexMinusOne)
{
    TListFixture f;
    TDropCheckList* list = f.Grid->FilterDropCheckList();
    std::vector<int> got;
    list->OnSelect = [&](TObject*, int i) { got.push_back(i); };
    f.Drop(list);
    list->SetItemIndex(2);
    input::Key(list, VK_SPACE, {}, u' ');
    EXPECT_TRUE(list->Checked(2));
    EXPECT_TRUE(list->Visible()); // key presses only toggle
    ListMouse(list, QEvent::MouseButtonPress, QPoint(list->CheckWidth() / 2, 5));
    ListMouse(list, QEvent::MouseButtonRelease, QPoint(list->CheckWidth() / 2, 5));
    EXPECT_TRUE(list->Checked(0));
    EXPECT_TRUE(list->Visible());
    EXPECT_EQ(got, (std::vector<int> { -1, -1 }));
}

// ---------------------------------------------------------------------------
// Keys typed on the grid

TEST(ExGridPanels, TypedKeysSearchIncrementallyAndTheTimerForgets)
{
    Fixture f(3, 7, 300, 200);
    TPanelGrid* g = f.Grid;
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    const char* names[] = { "", "apple", "banana", "berry", "blue", "cherry", "date" };
    for (int r = 1; r < 7; ++r)
        g->SetCells(1, r, names[r]);
    g->Navigation()->AutoGotoWhenSorted = true;
    g->Navigation()->AutoGotoIncremental = true;
    g->SetFocus();

    input::Type(g, "b");
    EXPECT_EQ(g->Row(), 2);
    input::Type(g, "e");
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->IncrSearchText(), "be");
    // Four timer ticks without a key: the next key starts afresh.
    for (int i = 0; i < 4; ++i)
        g->Perform(WM_TIMER, 111, 0);
    EXPECT_EQ(g->IncrSearchText(), "");
    input::Type(g, "c");
    EXPECT_EQ(g->Row(), 5);
    input::Key(g, VK_BACK);
    EXPECT_EQ(g->IncrSearchText(), "");

    // While the grid edits, typing is for the cell.
    g->SetOptions(g->Options() | goEditing);
    const int row = g->Row();
    input::Key(g, VK_ESCAPE);
    input::Type(g, "d");
    EXPECT_EQ(g->Row(), row);
}

// Rows near the end, the last one among them, are made current from the top:
// each shows whole above the search bar, not behind it.
TEST(ExGridPanels, RowMadeCurrentShowsAboveTheSearchBar)
{
    for (const int row : { 29, 28, 20 }) {
        SCOPED_TRACE(row);
        TSearchFixture f;
        TPanelGrid* g = f.Grid;
        g->SetRow(row);
        Process();
        EXPECT_EQ(g->Row(), row);
        const TRect r = g->CellRect(1, row);
        EXPECT_GT(r.Bottom, r.Top) << "the row is in view";
        EXPECT_LE(r.Bottom, f.Panel()->Top());
    }
}

TEST(ExGridPanels, CtrlFPutsTheFocusInTheSearchField)
{
    TSearchFixture f;
    f.Grid->SetFocus();
    input::Key(f.Grid, 'F', TShiftState(ssCtrl));
    EXPECT_TRUE(f.Edit()->Focused());
    // Hidden, the bar takes nothing.
    f.Grid->SearchFooter()->SetVisible(false);
    f.Grid->SetFocus();
    input::Key(f.Grid, 'F', TShiftState(ssCtrl));
    EXPECT_TRUE(f.Grid->Focused());
}

TEST(ExGridPanels, WithTheSearchBarShownTheGridStillGetsArrowsTabAndEditorTyping)
{
    // The same keys with and without the bar: the bar takes none of them.
    for (const bool bar : { false, true }) {
        SCOPED_TRACE(bar);
        TSearchFixture f;
        TPanelGrid* g = f.Grid;
        g->SearchFooter()->SetVisible(bar);
        Process();
        g->SetOptions(g->Options() | goTabs | goEditing);
        g->SetFocus();
        g->SetCol(1);
        g->SetRow(2);
        struct Step {
            WORD Key;
            int Col, Row;
        } steps[] = { { VK_RIGHT, 2, 2 }, { VK_DOWN, 2, 3 }, { VK_LEFT, 1, 3 }, { VK_UP, 1, 2 }, { VK_TAB, 2, 2 } };
        for (const Step& s : steps) {
            input::Key(g, s.Key, {}, s.Key == VK_TAB ? u'\t' : 0);
            EXPECT_EQ(g->Col(), s.Col) << s.Key;
            EXPECT_EQ(g->Row(), s.Row) << s.Key;
            // Tab onto an editable cell opens its editor (AdvanceAutoEdit).
            EXPECT_TRUE(g->Focused() || (s.Key == VK_TAB && g->EditorMode())) << s.Key;
        }
        // Typing opens the cell's editor and the text lands in the cell.
        input::Type(g, QStringLiteral("Z"));
        QCoreApplication::sendPostedEvents();
        ASSERT_TRUE(g->EditorMode());
        ASSERT_NE(g->InplaceEditor(), nullptr);
        input::Type(g->InplaceEditor(), QStringLiteral("ap"));
        input::Key(g->InplaceEditor(), VK_RETURN, {}, u'\r');
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(g->Cells(2, 2), "Zap");
        EXPECT_TRUE(f.Edit()->Text().isEmpty());
    }
}

// ---------------------------------------------------------------------------
// Drag windows

TEST(ExGridPanels, DragWindowsNeverTakeActivation)
{
    Fixture f(3, 3, 200, 100);
    auto* form = new TNoActiveForm(f.Form);
    form->SetParent(f.Form);
    form->SetBounds(50, 50, 60, 30);
    form->SetVisible(true);
    EXPECT_EQ(form->Perform(WM_MOUSEACTIVATE), MA_NOACTIVATE);
    EXPECT_FALSE(form->ActivatesOnShow());
    EXPECT_FALSE(form->Enabled());

    auto* button = new THeaderDragButton(f.Form);
    button->Grid = f.Grid;
    f.Grid->SetCells(0, 0, "Head");
    button->SetParent(f.Form);
    button->SetBounds(60, 60, 80, 22);
    button->SetCaption("Tag");
    button->SetVisible(true);
    Process();
    EXPECT_FALSE(button->ActivatesOnShow());
    const QImage img = button->PaintToImage();
    // The caption is drawn centred, over the grid's header cell.
    int dark = 0, left = img.width(), right = -1;
    for (int y = 2; y < img.height() - 2; ++y)
        for (int x = 2; x < img.width() - 2; ++x)
            if (qGray(img.pixel(x, y)) < 80) {
                ++dark;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GT(dark, 0);
    EXPECT_NEAR((left + right) / 2.0, img.width() / 2.0, 3);
}

// The highlight button marks the found text in the cells themselves and
// takes the marks away again; a preset search column limits both.
TEST(ExGridPanels, HighlightButtonMarksTheCells)
{
    TGridOnForm<TExStringGrid> f(3, 4, 400, 200);
    TExStringGrid* g = f.Grid;
    g->SetCells(1, 1, "Pump A");
    g->SetCells(2, 1, "pump B");
    g->SetCells(1, 2, "valve");
    TSearchFooter* sf = g->SearchFooter();
    sf->SetHighLightCaption("Highlight");
    sf->SetVisible(true);
    Process();
    TSearchPanel* p = g->SearchPanel();
    p->EditControl()->SetFocus();
    input::Type(p->EditControl(), "Pump");
    const TPoint mid(p->HiliteButton()->Width() / 2, p->HiliteButton()->Height() / 2);

    input::Click(p->HiliteButton(), mid);
    EXPECT_EQ(g->Cells(1, 1), "<hi>Pump</hi> A");
    EXPECT_EQ(g->Cells(2, 1), "<hi>pump</hi> B");
    EXPECT_EQ(g->Cells(1, 2), "valve");
    input::Click(p->HiliteButton(), mid);
    EXPECT_EQ(g->Cells(1, 1), "Pump A");
    EXPECT_EQ(g->Cells(2, 1), "pump B");

    sf->SearchColumn = 2;
    input::Click(p->HiliteButton(), mid);
    EXPECT_EQ(g->Cells(1, 1), "Pump A");
    EXPECT_EQ(g->Cells(2, 1), "<hi>pump</hi> B");
    input::Click(p->HiliteButton(), mid);
    EXPECT_EQ(g->Cells(2, 1), "pump B");
}
