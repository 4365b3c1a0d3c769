// The grid's window procedure through real input on the offscreen platform:
// the wheel (moving, scrolling, zoom, refused moves, odd turns), wheel
// panning, the end of an edit and its posted notice, the in-place combo's
// notices and the controls placed in cells.

#include "controls/base/ExObjOptions.h"
#include "controls/base/ExObjWindows.h"
#include "controls/base/ExStyleIF.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridUnit.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Registry.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <string>
#include <vector>

namespace {

class TProbeGrid : public TExStringGrid {
public:
    using TExStringGrid::FEditMode;
    using TExStringGrid::HandleWindowMessage;
    using TExStringGrid::TExStringGrid;
};

using Grid = TGridOnForm<TProbeGrid>;

// 20 rows of 20 pixels, one fixed row, the last two rows fixed footers; ten
// rows show.
struct TWheelGrid : Grid {
    std::vector<std::string> Log;
    TWheelGrid()
        : TGridOnForm<TProbeGrid>(5, 20, 250, 200)
    {
        Grid->SetFixedFooters(2);
        Grid->OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool&) { Log.push_back("down"); };
        Grid->OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool&) { Log.push_back("up"); };
        Grid->OnSelectionChanged
            = [this](TObject*, int, int T, int, int) { Log.push_back("sel " + std::to_string(T)); };
    }
    // Notches: positive away from the user.
    void Turn(int delta, TShiftState shift = {}) { input::WheelDelta(Grid, TPoint(100, 100), delta, shift); }
};

} // namespace

TEST(ExGridWheel, MovesScrollsAndFiresAsSet)
{
    struct Case {
        const char* Name;
        TWheelAction Action;
        int Increment;
        bool Enable;
        int StartRow, StartTop;
        int Delta;
        int Row, Top; // Top -1: not checked
        std::vector<std::string> Log;
    };
    const std::vector<Case> cases = {
        { "one notch towards the user moves 3 rows", TWheelAction::waMoveSelection, 0, true, 1, 1, -120, 4, 1,
            { "sel 4" } },
        { "stops before the fixed footers", TWheelAction::waMoveSelection, 0, true, 16, 8, -120, 17, -1, { "sel 17" } },
        { "away from the user", TWheelAction::waMoveSelection, 0, true, 10, 1, 120, 7, 1, { "sel 7" } },
        { "never above the first normal row", TWheelAction::waMoveSelection, 0, true, 2, 1, 120, 1, 1, { "sel 1" } },
        { "an increment fires the event", TWheelAction::waMoveSelection, 2, true, 1, 1, -120, 3, 1,
            { "down", "sel 3" } },
        { "and upwards", TWheelAction::waMoveSelection, 1, true, 5, 1, 120, 4, 1, { "up", "sel 4" } },
        { "ten notches at once stay in the normal rows", TWheelAction::waMoveSelection, 0, true, 1, 1, -1200, 17, -1,
            { "sel 17" } },
        { "half a notch does nothing", TWheelAction::waMoveSelection, 2, true, 1, 1, -60, 1, 1, {} },
        { "scrolling moves the top row", TWheelAction::waScroll, 0, true, 1, 1, -120, 1, 4, {} },
        { "scrolling back stops at the fixed rows", TWheelAction::waScroll, 0, true, 1, 2, 120, 1, 1, {} },
        { "switched off", TWheelAction::waMoveSelection, 2, false, 1, 1, -120, 1, 1, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TWheelGrid f;
        TProbeGrid* g = f.Grid;
        ASSERT_EQ(g->WheelScrollLineCount(), 3);
        g->MouseActions()->SetWheelAction(c.Action);
        g->MouseActions()->WheelIncrement = c.Increment;
        g->SetEnableWheel(c.Enable);
        g->SetRow(c.StartRow);
        g->SetTopRow(c.StartTop);
        f.Log.clear();
        f.Turn(c.Delta);
        EXPECT_EQ(g->Row(), c.Row);
        if (c.Top >= 0) // else wherever the current row scrolls into view
            EXPECT_EQ(g->TopRow(), c.Top);
        EXPECT_EQ(f.Log, c.Log);
        EXPECT_EQ(g->UpdateCount(), 0);
    }
}

TEST(ExGridWheel, HalfNotchesAddUpToOne)
{
    TWheelGrid f;
    f.Turn(-60);
    EXPECT_EQ(f.Grid->Row(), 1);
    f.Turn(-60);
    EXPECT_EQ(f.Grid->Row(), 4);
}

TEST(ExGridWheel, NoNormalRowsNoMoveNoEvent)
{
    TWheelGrid f;
    TProbeGrid* g = f.Grid;
    g->MouseActions()->WheelIncrement = 1;
    g->SetRowCount(3); // one fixed row and two footers
    const int row = g->Row();
    f.Log.clear();
    f.Turn(-120);
    f.Turn(120);
    EXPECT_EQ(g->Row(), row);
    EXPECT_TRUE(std::find(f.Log.begin(), f.Log.end(), "sel 2") == f.Log.end());

    TWheelGrid one;
    one.Grid->SetFixedFooters(0);
    one.Grid->SetFixedRows(0);
    one.Grid->SetRowCount(1);
    one.Grid->SetFixedRowAlways(true);
    one.Grid->MouseActions()->WheelIncrement = 1;
    one.Log.clear();
    one.Turn(-120);
    EXPECT_EQ(one.Grid->Row(), 0);
    EXPECT_TRUE(one.Log.empty());
}

TEST(ExGridWheel, CtrlZoomsAndSizesTheCells)
{
    TWheelGrid f;
    TProbeGrid* g = f.Grid;
    g->SetCells(1, 1, QStringLiteral("a rather long text"));
    const int width = g->ColWidths(1);
    f.Turn(-120, TShiftState(ssCtrl));
    EXPECT_EQ(g->ZoomFactor(), 3);
    EXPECT_EQ(g->Row(), 1) << "a zoom does not move";
    EXPECT_GT(g->ColWidths(1), width) << "sized to the text";
    g->SetIntelliZoom(false);
    f.Turn(-120, TShiftState(ssCtrl));
    EXPECT_EQ(g->ZoomFactor(), 3);
    EXPECT_EQ(g->Row(), 4);
}

TEST(ExGridWheel, RefusedMoveTakesHalfAStepAndScrollsUpOnlyAwayFromTheUser)
{
    TWheelGrid f;
    TProbeGrid* g = f.Grid;
    int refused = -1;
    g->OnSelectCell = [&](TObject*, int, int ARow, bool& CanSelect) { CanSelect = ARow != refused; };
    g->SetRow(4);
    g->SetTopRow(3);
    refused = 7;
    f.Turn(-120);
    EXPECT_EQ(g->Row(), 6) << "half of the three rows, rounded";
    EXPECT_EQ(g->TopRow(), 3) << "a turn towards the user does not scroll up";
    g->SetRow(10);
    refused = 7;
    f.Turn(120);
    EXPECT_EQ(g->Row(), 8);
    EXPECT_EQ(g->TopRow(), 2) << "a turn away from the user scrolls up one row";
}

// ---------------------------------------------------------------------------
// Wheel panning

TEST(ExGridPan, StepsTowardsThePointerWithTheDirectionsCursor)
{
    struct Case {
        int Dx, Dy;
        TIntelliPan Pan;
        TCursor Cursor;
        int RowMove, ColMove;
    };
    const std::vector<Case> cases = {
        { 0, 0, TIntelliPan::ipBoth, 8000, 0, 0 },
        { 0, 20, TIntelliPan::ipBoth, 8001, 1, 0 },
        { -20, 0, TIntelliPan::ipBoth, 8002, 0, -1 },
        { 20, 0, TIntelliPan::ipBoth, 8003, 0, 1 },
        { 0, -20, TIntelliPan::ipBoth, 8004, -1, 0 },
        { 20, -20, TIntelliPan::ipBoth, 8005, -1, 1 },
        { -20, -20, TIntelliPan::ipBoth, 8006, -1, -1 },
        { 20, 20, TIntelliPan::ipBoth, 8007, 1, 1 },
        { -20, 20, TIntelliPan::ipBoth, 8008, 1, -1 },
        { 20, 20, TIntelliPan::ipVertical, 8001, 1, 0 },
        { 20, 20, TIntelliPan::ipHorizontal, 8003, 0, 1 },
        { 4, -5, TIntelliPan::ipBoth, 8000, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Dx << "," << c.Dy << " cursor " << c.Cursor);
        Grid f(6, 20, 250, 200);
        TProbeGrid* g = f.Grid;
        g->SetIntelliPan(c.Pan);
        g->SetCol(2);
        g->SetRow(5);
        const TPoint start(100, 100);
        input::MouseDown(g, mbMiddle, start);
        ASSERT_TRUE(g->WheelPanning());
        EXPECT_EQ(WindowCursor(g), 8000);
        SetMouseCursorPos(g->ClientToScreen(TPoint(start.X + c.Dx, start.Y + c.Dy)));
        g->Perform(WM_TIMER, 999, 0);
        EXPECT_EQ(g->PanCursor(), c.Cursor);
        EXPECT_EQ(WindowCursor(g), c.Cursor);
        EXPECT_EQ(g->Row(), 5 + c.RowMove);
        EXPECT_EQ(g->Col(), 2 + c.ColMove);
        input::MouseDown(g, mbLeft, start);
        EXPECT_FALSE(g->WheelPanning()) << "any press ends it";
        EXPECT_EQ(WindowCursor(g), crDefault) << "and restores the cursor";
    }
}

TEST(ExGridPan, StaysInTheNormalCellsAndEndsByKey)
{
    Grid f(4, 6, 250, 200);
    TProbeGrid* g = f.Grid;
    g->SetFixedFooters(1);
    g->SetIntelliPan(TIntelliPan::ipBoth);
    g->SetRow(4);
    g->SetCol(3);
    input::MouseDown(g, mbMiddle, TPoint(60, 60));
    SetMouseCursorPos(g->ClientToScreen(TPoint(160, 160)));
    for (int i = 0; i < 5; ++i)
        g->Perform(WM_TIMER, 999, 0);
    EXPECT_EQ(g->Row(), 4) << "the footer row is never reached";
    EXPECT_EQ(g->Col(), 3);
    input::Key(g, VK_ESCAPE);
    EXPECT_FALSE(g->WheelPanning());
    EXPECT_EQ(WindowCursor(g), crDefault);

    g->SetRowCount(2); // one fixed row, one footer: no normal row
    input::MouseDown(g, mbMiddle, TPoint(60, 20));
    EXPECT_FALSE(g->WheelPanning());
    g->SetIntelliPan(TIntelliPan::ipNone);
    g->SetRowCount(6);
    input::MouseDown(g, mbMiddle, TPoint(60, 20));
    EXPECT_FALSE(g->WheelPanning());
}

// ---------------------------------------------------------------------------
// The end of an edit

TEST(ExGridEdit, EditingDoneAtOnceEditCellDoneWhenThePostedNoticeArrives)
{
    Grid f(4, 6, 250, 200);
    TProbeGrid* g = f.Grid;
    std::vector<std::string> log;
    g->OnEditingDone = [&](TObject*) { log.push_back("editing done"); };
    g->OnEditCellDone = [&](TObject*, int ACol, int ARow) {
        log.push_back("cell done " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    g->SetOptions(g->Options() | goEditing);
    g->FEditMode = true;
    g->NotifyEditingDone(2, 3);
    EXPECT_EQ(log, std::vector<std::string>({ "editing done" }));
    EXPECT_FALSE(g->EditMode());
    QApplication::processEvents();
    EXPECT_EQ(log, std::vector<std::string>({ "editing done", "cell done 2,3" }));
    EXPECT_TRUE(g->Options().testFlag(goEditing));

    g->MouseActions()->SetEditOnDblClickOnly(true);
    g->SetOptions(g->Options() | goEditing);
    log.clear();
    g->NotifyEditingDone(1, 5);
    g->SetRowCount(3); // the posted cell has left the grid
    QApplication::processEvents();
    EXPECT_EQ(log, std::vector<std::string>({ "editing done", "cell done 1,5" }));
    EXPECT_FALSE(g->Options().testFlag(goEditing)) << "double-click-only editing takes editing away";
}

TEST(ExGridEdit, KeysThatEndAnEditMoveOn)
{
    Grid f(4, 6, 250, 200);
    TProbeGrid* g = f.Grid;
    g->SetOptions(g->Options() | goEditing);
    g->SetCol(1);
    g->SetRow(1);
    g->ShowInplaceEdit();
    ASSERT_TRUE(g->EditorMode());
    g->InplaceEditor()->SetText(QStringLiteral("typed"));
    g->DoneInplaceEdit(VK_DOWN, {});
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("typed"));
    EXPECT_EQ(g->Row(), 2) << "Down moves the cursor";

    g->Navigation()->AppendOnArrowDown = true;
    g->SetRow(5);
    g->ShowInplaceEdit();
    g->DoneInplaceEdit(VK_DOWN, {});
    EXPECT_EQ(g->RowCount(), 7) << "the last row appends one";
    EXPECT_EQ(g->Row(), 6);

    g->HideInplaceEdit(); // outside edit mode: nothing
    EXPECT_EQ(g->RowCount(), 7);
}

TEST(ExGridEdit, ShowsTheEditedTextWhileTyping)
{
    for (bool live : { false, true }) {
        SCOPED_TRACE(live);
        Grid f(4, 6, 250, 200);
        TProbeGrid* g = f.Grid;
        g->SetOptions(g->Options() | goEditing);
        g->SetShowEditProcess(live);
        g->SetCol(1);
        g->SetRow(1);
        g->SetCells(1, 1, QStringLiteral("old"));
        input::Key(g, VK_F2);
        ASSERT_TRUE(g->EditorMode());
        input::Type(g->InplaceEditor(), QStringLiteral("x"));
        EXPECT_TRUE(g->Cells(1, 1).endsWith(u'x'));
        input::Key(g->InplaceEditor(), VK_ESCAPE);
        EXPECT_EQ(g->Cells(1, 1), QStringLiteral("old")) << "Esc still brings the text back";
    }
}

TEST(ExGridEdit, InplaceComboReportsItsChanges)
{
    Grid f(4, 6, 250, 200);
    TProbeGrid* g = f.Grid;
    auto* combo = new TComboBox(f.Form);
    combo->SetParent(f.Form);
    combo->Items()->Add(QStringLiteral("one"));
    combo->Items()->AddObject(QStringLiteral("two"), g);
    g->SetInplaceCombo(combo);
    g->SetCol(2);
    g->SetRow(3);
    std::vector<std::string> log;
    g->OnComboChange = [&](TObject*, int c, int r, int i, const QString& s) {
        log.push_back(
            "change " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i) + " " + s.toStdString());
    };
    g->OnComboObjectChange = [&](TObject*, int, int, int i, const QString&, TObject* o) {
        log.push_back("object " + std::to_string(i) + (o == g ? " grid" : " none"));
    };
    g->OnComboCloseUp
        = [&](TObject*, int r, int c) { log.push_back("close " + std::to_string(r) + "," + std::to_string(c)); };
    g->InplaceComboChange(false);
    EXPECT_TRUE(log.empty()) << "outside edit mode";
    g->FEditMode = true;
    combo->SetItemIndex(1);
    g->InplaceComboChange(false);
    EXPECT_EQ(log, std::vector<std::string>({ "change 2,3 1 two", "object 1 grid" }));
    log.clear();
    combo->SetItemIndex(-1);
    combo->SetText(QStringLiteral("typ"));
    g->InplaceComboChange(true);
    EXPECT_EQ(log, std::vector<std::string>({ "change 2,3 -1 typ", "object -1 none", "change 2,3 -1 typ" }))
        << "a typing change reports twice";
    log.clear();
    g->MouseActions()->DirectComboClose = true;
    combo->SetItemIndex(0);
    g->InplaceComboCloseUp();
    EXPECT_EQ(log, std::vector<std::string>({ "change 2,3 0 one", "object 0 none", "close 3,2" }));
    EXPECT_EQ(g->CurrentEditor(), TEditorType::edComboEdit);
    EXPECT_FALSE(g->EditMode()) << "the close-up stores and hides";
}

// ---------------------------------------------------------------------------
// Controls placed in cells

TEST(ExGridCellControls, HiddenWhenScrolledOutPlacedBackOnePixelLarger)
{
    Grid f(4, 30, 250, 200);
    TProbeGrid* g = f.Grid;
    auto* edit = new TEdit(f.Form);
    g->SetCellControls(2, 3, edit);
    g->CellControlsUpdate(true);
    const TRect cell = g->CellRect(2, 3);
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->BoundsRect(), TRect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom));
    input::Wheel(g, TPoint(100, 100), -3); // towards the user, nine rows down
    g->SetTopRow(12);
    EXPECT_FALSE(edit->Visible()) << "scrolled out";
    g->SetTopRow(2);
    const TRect moved = g->CellRect(2, 3);
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->BoundsRect(), TRect(moved.Left - 1, moved.Top - 1, moved.Right, moved.Bottom));

    // A column hidden left of it moves it along; its own hidden column
    // hides it, also through a rebuild, until it shows again.
    g->HideColumn(1);
    g->CellControlsUpdate(false);
    const TRect left = g->CellRect(1, 3);
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->BoundsRect(), TRect(left.Left - 1, left.Top - 1, left.Right, left.Bottom));
    g->UnHideColumn(1);
    g->HideColumn(2);
    g->CellControlsUpdate(true);
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(g->ControlList()->Count(), 1);
    g->UnHideColumn(2);
    g->CellControlsUpdate(false);
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->BoundsRect(), TRect(moved.Left - 1, moved.Top - 1, moved.Right, moved.Bottom));

    // Removed and hidden rows take their controls out of view.
    g->HideRow(3);
    g->CellControlsUpdate(false);
    EXPECT_FALSE(edit->Visible());
    g->UnHideRow(3);
    g->CellControlsUpdate(false);
    EXPECT_TRUE(edit->Visible());
    g->RemoveRows(3, 1);
    g->CellControlsUpdate(true);
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(g->ControlList()->Count(), 0);
}

TEST(ExGridCellControls, PictureAfterAScroll)
{
    Grid f(4, 30, 220, 140);
    TProbeGrid* g = f.Grid;
    for (int r = 1; r < 30; ++r)
        g->SetCells(1, r, QStringLiteral("Row %1").arg(r));
    auto* check = new TCheckBox(f.Form);
    check->SetCaption(QStringLiteral("On"));
    g->SetCellControls(2, 4, check);
    auto* edit = new TEdit(f.Form);
    edit->SetText(QStringLiteral("12.5"));
    g->SetCellControls(3, 8, edit);
    input::Wheel(g, TPoint(60, 60), -1);
    g->SetTopRow(3);
    QApplication::processEvents();
    const QImage img = f.Form->PaintToImage().copy(0, 0, 220, 140);
    testutil::SaveImagePng(img, "grid_cell_controls_scrolled");
    EXPECT_TRUE(testutil::MatchesGolden(img, "grid_cell_controls_scrolled"));
}

// Losing the mouse during an enhanced move drops the move: the drag cursor
// and the target arrows go, nothing moves. Other moves, or a move without the
// drag cursor, leave the cursor and the arrows alone.
TEST(ExGridCancelMode, EndsAnEnhancedMoveWithoutMoving)
{
    struct Case {
        const char* Name;
        bool Enhanced;
        TGridState State;
        TCursor Cursor;
        bool Cancelled;
    };
    const Case cases[] = {
        { "column move", true, gsColMoving, crDrag, true },
        { "row move", true, gsRowMoving, crDrag, true },
        { "toolkit move", false, gsColMoving, crDrag, false },
        { "no drag cursor", true, gsColMoving, crHourGlass, false },
        { "sizing", true, gsColSizing, crDrag, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid f(4, 4, 300, 120);
        TProbeGrid* g = f.Grid;
        g->SetEnhRowColMove(c.Enhanced);
        for (int col = 0; col < 4; ++col)
            g->SetCells(col, 1, QString::number(col));
        TArrowWindow* up = g->ArrowWindow(TArrowDirection::arrUp);
        TArrowWindow* down = g->ArrowWindow(TArrowDirection::arrDown);
        ASSERT_TRUE(up && down);
        up->SetVisible(true);
        down->SetVisible(true);
        g->SetGridState(c.State);
        Screen->SetCursor(c.Cursor);
        g->Perform(WM_CANCELMODE, 0, 0);
        EXPECT_EQ(g->GridState(), gsNormal);
        EXPECT_EQ(Screen->Cursor(), c.Cancelled ? crDefault : c.Cursor);
        EXPECT_EQ(up->Visible(), !c.Cancelled);
        EXPECT_EQ(down->Visible(), !c.Cancelled);
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(g->Cells(col, 1), QString::number(col));
        Screen->SetCursor(crDefault);
    }
}

// The window's end takes it off the theme notifier's list, and only a grid
// that follows the theme was on it.
TEST(ExGridDestroy, LeavesTheThemeNotifier)
{
    TRegistry::SetStorageFile(testutil::TempDir() + QStringLiteral("/destroy-registry.ini"));
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\Microsoft\\Office\\14.0\\Common\\General"), true));
    }
    {
        Grid f(3, 3, 200, 100);
        TProbeGrid* g = f.Grid;
        g->SetAutoThemeAdapt(true);
        TThemeNotifier* notifier = GetSharedThemeNotifier(g);
        ASSERT_NE(notifier->RegMonitorThread(), nullptr);
        const HWND wnd = g->Handle();
        EXPECT_TRUE(notifier->RegMonitorThread()->WinList().HasValue(wnd));
        g->Perform(WM_DESTROY, 0, 0);
        EXPECT_FALSE(notifier->RegMonitorThread()->WinList().HasValue(wnd));
    }
    TRegistry::SetStorageFile(QString());
}
