// Mouse presses on the grid: selecting, range selection by drag and Shift,
// sizing and moving columns and rows by drag, and the scroll timer.
#include <gtest/gtest.h>

#include <QWidget>

#include "tests/platform/controls/GridsTestFixture.h"

namespace {

void Tick(TCustomGrid* g)
{
    g->Perform(WM_TIMER, 1);
}

TEST(GridMouse, ClickSelectsAndFiresTheEventsInOrder)
{
    GridFixture f(6, 30);
    QStringList log;
    f.Grid->OnSelectCell = [&](TObject*, int c, int r, bool&) { log << QStringLiteral("select %1,%2").arg(c).arg(r); };
    f.Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log << QStringLiteral("down"); };
    f.Grid->OnClick = [&](TObject*) { log << QStringLiteral("click"); };
    f.Grid->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log << QStringLiteral("up"); };
    f.Click(3, 4);
    EXPECT_EQ(f.Grid->Col(), 3);
    EXPECT_EQ(f.Grid->Row(), 4);
    EXPECT_EQ(log, QStringList({ "select 3,4", "down", "click", "up" }));
    EXPECT_EQ(f.Grid->GridState(), gsNormal);

    log.clear();
    f.Click(0, 4); // a fixed cell selects nothing
    EXPECT_EQ(f.Grid->Col(), 3);
    EXPECT_EQ(log, QStringList({ "down", "up" }));

    int dbl = 0;
    f.Grid->OnDblClick = [&](TObject*) { ++dbl; };
    input::DoubleClick(f.Grid, mbLeft, f.Center(2, 2));
    EXPECT_EQ(dbl, 1);
}

TEST(GridMouse, DragAndShiftClickSelectARangeAroundTheCurrentCell)
{
    GridFixture f(6, 30);
    input::MouseDown(f.Grid, mbLeft, f.Center(2, 2));
    EXPECT_EQ(f.Grid->GridState(), gsSelecting);
    input::MouseMove(f.Grid, f.Center(4, 5));
    input::MouseUp(f.Grid, mbLeft, f.Center(4, 5));
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 2, 2, 4, 5 }));
    EXPECT_EQ(f.Grid->Col(), 2); // the mouse moves the anchor
    EXPECT_EQ(f.Grid->Row(), 2);

    f.Click(3, 7, ssShift);
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 2, 2, 3, 7 }));
    f.Click(3, 3);
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 3, 3, 3, 3 }));
}

TEST(GridMouse, SelectingBelowTheGridScrollsOnEachTimerTick)
{
    GridFixture f(6, 60);
    const int page = f.Grid->VisibleRowCount();
    input::MouseDown(f.Grid, mbLeft, f.Center(2, 2));
    const TPoint below { f.Center(2, 2).X, f.Grid->ClientHeight() + 30 };
    input::MouseMove(f.Grid, below);
    for (int i = 0; i < page + 2; ++i)
        Tick(f.Grid); // one row a tick
    const TGridCoord a = f.Grid->Anchor();
    EXPECT_EQ(a.Y, 2 + page + 2);
    EXPECT_EQ(f.Grid->TopRow() + f.Grid->VisibleRowCount() - 1, a.Y); // shown at the bottom
    input::MouseUp(f.Grid, mbLeft, below);
    EXPECT_EQ(f.Grid->Selection().Top, 2);
    Tick(f.Grid); // no longer selecting: the timer does nothing
    EXPECT_EQ(f.Grid->Anchor(), a);
}

TEST(GridMouse, DraggingAHeaderBorderSizesTheColumn)
{
    GridFixture f(6, 30);
    f.AddOptions(TGridOptions(goColSizing) | goRowSizing);
    const TRect head = f.Grid->CellRect(2, 0);
    input::MouseDown(f.Grid, mbLeft, { head.Right + 1, 5 }); // inside the border zone
    EXPECT_EQ(f.Grid->GridState(), gsColSizing);
    input::MouseMove(f.Grid, { head.Right + 26, 5 });
    input::MouseUp(f.Grid, mbLeft, { head.Right + 26, 5 });
    EXPECT_EQ(f.Grid->ColWidths(2), 75);
    EXPECT_EQ(f.Grid->GridState(), gsNormal);

    const TRect side = f.Grid->CellRect(0, 3);
    input::MouseDown(f.Grid, mbLeft, { 5, side.Bottom - 2 });
    EXPECT_EQ(f.Grid->GridState(), gsRowSizing);
    input::MouseMove(f.Grid, { 5, side.Bottom + 8 });
    input::MouseUp(f.Grid, mbLeft, { 5, side.Bottom + 8 });
    EXPECT_EQ(f.Grid->RowHeights(3), 30);

    // Away from a border, or without the option, a press does not size.
    f.Grid->SetOptions(f.Grid->Options() & ~TGridOptions(goColSizing));
    input::MouseDown(f.Grid, mbLeft, { head.Right + 1, 5 });
    EXPECT_EQ(f.Grid->GridState(), gsNormal);
    input::MouseUp(f.Grid, mbLeft, { head.Right + 1, 5 });
}

// A grid that picks a cursor per cell through WM_SETCURSOR.
class TCursorGrid : public THookGrid {
public:
    using THookGrid::THookGrid;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_SETCURSOR) {
            const TPoint p = ScreenToClient(MouseCursorPos());
            if (MouseCoord(p.X, p.Y) == TGridCoord { 3, 3 }) {
                ShowWindowCursor(this, crHandPoint);
                m.Result = 1;
                return;
            }
        }
        THookGrid::WndProc(m);
    }
};

TEST(GridMouse, TheCursorFollowsSizingBordersAndDescendantsPickOnePerCell)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 340, 240);
    form.Show();
    auto* grid = new TCursorGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(20);
    grid->SetOptions(grid->Options() | goColSizing | goRowSizing);
    const QWidget* w = grid->Widget();
    const TRect head = grid->CellRect(2, 0);
    const TRect side = grid->CellRect(0, 2);
    const TRect cell = grid->CellRect(3, 3);
    struct Case {
        TPoint at;
        Qt::CursorShape shape;
    } cases[] = {
        { { head.Right + 1, 5 }, Qt::SizeHorCursor },
        { { 5, side.Bottom - 1 }, Qt::SizeVerCursor },
        { { cell.Left + 5, cell.Top + 5 }, Qt::PointingHandCursor },
        { { head.Left + 10, 5 }, Qt::ArrowCursor },
    };
    for (const Case& c : cases) {
        input::MouseMove(grid, c.at);
        EXPECT_EQ(w->cursor().shape(), c.shape) << c.at.X << "," << c.at.Y;
    }
    // While a column is sized the split cursor stays, wherever the mouse is.
    input::MouseDown(grid, mbLeft, { head.Right + 1, 5 });
    input::MouseMove(grid, { cell.Left + 5, cell.Top + 5 });
    EXPECT_EQ(w->cursor().shape(), Qt::SizeHorCursor);
    input::MouseUp(grid, mbLeft, { cell.Left + 5, cell.Top + 5 });
}

TEST(GridMouse, DraggingAHeaderMovesTheColumnWithItsCells)
{
    GridFixture f(6, 30);
    f.AddOptions(TGridOptions(goColMoving) | goRowMoving);
    for (int c = 0; c < 6; ++c)
        f.Grid->SetCells(c, 1, QStringLiteral("c%1").arg(c));
    QStringList moved;
    f.Grid->OnColumnMoved = [&](TObject*, int from, int to) { moved << QStringLiteral("%1>%2").arg(from).arg(to); };
    input::MouseDown(f.Grid, mbLeft, f.Center(1, 0));
    EXPECT_EQ(f.Grid->GridState(), gsColMoving);
    input::MouseMove(f.Grid, f.Center(3, 0));
    input::MouseUp(f.Grid, mbLeft, f.Center(3, 0));
    EXPECT_EQ(moved, QStringList({ "1>3" }));
    EXPECT_EQ(f.Grid->Cells(3, 1), QStringLiteral("c1"));
    EXPECT_EQ(f.Grid->Cells(1, 1), QStringLiteral("c2"));

    // A row moves the same way by its fixed cell.
    f.Grid->SetCells(0, 2, QStringLiteral("row2"));
    input::MouseDown(f.Grid, mbLeft, f.Center(0, 2));
    input::MouseMove(f.Grid, f.Center(0, 5));
    input::MouseUp(f.Grid, mbLeft, f.Center(0, 5));
    EXPECT_EQ(f.Grid->Cells(0, 5), QStringLiteral("row2"));
}

TEST(GridMouse, MovingPastTheLastColumnShownScrollsOnTheTimer)
{
    GridFixture f(20, 10);
    f.AddOptions(goColMoving);
    const int lastShown = f.Grid->LeftCol() + f.Grid->VisibleColCount() - 1;
    input::MouseDown(f.Grid, mbLeft, f.Center(1, 0));
    const TPoint right { f.Grid->ClientWidth() - 2, 5 };
    input::MouseMove(f.Grid, right);
    Tick(f.Grid);
    Tick(f.Grid);
    EXPECT_GT(f.Grid->LeftCol(), 1);
    input::MouseUp(f.Grid, mbLeft, right);
    EXPECT_EQ(f.Grid->GridState(), gsNormal);
    EXPECT_GT(f.Grid->LeftCol() + f.Grid->VisibleColCount() - 1, lastShown);
}

} // namespace
