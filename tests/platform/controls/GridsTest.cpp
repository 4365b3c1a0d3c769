// The grid's model, keyboard navigation, selection and scrolling, driven by
// real key input.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <algorithm>
#include <functional>
#include <limits>

#include "platform/runtime/SysUtils.h"
#include "tests/platform/controls/GridsTestFixture.h"

namespace {

TEST(GridCellStore, KeepsColumnsBeyondColCountAndDropsRowsThatLeave)
{
    GridFixture f(8, 10);
    TObject tag;
    f.Grid->SetCells(7, 2, QStringLiteral("hidden"));
    f.Grid->SetObjects(7, 2, &tag);
    f.Grid->SetCells(1, 9, QStringLiteral("last row"));

    f.Grid->SetColCount(5);
    f.Grid->SetRowCount(9);
    EXPECT_EQ(f.Grid->Cells(7, 2), QStringLiteral("hidden")); // still in the store
    f.Grid->SetColCount(8);
    EXPECT_EQ(f.Grid->Cells(7, 2), QStringLiteral("hidden"));
    EXPECT_EQ(f.Grid->Objects(7, 2), &tag);
    f.Grid->SetRowCount(10);
    EXPECT_EQ(f.Grid->Cells(1, 9), QString()); // a new row starts empty
}

TEST(GridCellStore, MovesAndDeletesCarryCellsWidthsAndCursor)
{
    GridFixture f(6, 8);
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r)
            f.Grid->SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    f.Grid->SetColWidths(1, 77);
    f.Grid->SetCol(1);

    f.Grid->MoveColumn(1, 3);
    EXPECT_EQ(f.Grid->Cells(3, 4), QStringLiteral("1.4"));
    EXPECT_EQ(f.Grid->Cells(1, 4), QStringLiteral("2.4"));
    EXPECT_EQ(f.Grid->ColWidths(3), 77);
    EXPECT_EQ(f.Grid->ColWidths(1), 50);
    EXPECT_EQ(f.Grid->Col(), 3); // the current cell follows its column

    f.Grid->MoveRow(6, 2);
    EXPECT_EQ(f.Grid->Cells(0, 2), QStringLiteral("0.6"));
    EXPECT_EQ(f.Grid->Cells(0, 3), QStringLiteral("0.2"));

    f.Grid->DeleteRow(2);
    EXPECT_EQ(f.Grid->RowCount(), 7);
    EXPECT_EQ(f.Grid->Cells(0, 2), QStringLiteral("0.2"));
    f.Grid->DeleteColumn(3);
    EXPECT_EQ(f.Grid->ColCount(), 5);
    EXPECT_EQ(f.Grid->Cells(3, 4), QStringLiteral("4.4"));
    f.Grid->SetColCount(6); // the deleted column does not come back
    EXPECT_EQ(f.Grid->Cells(5, 4), QString());
}

TEST(GridCellStore, PermutingColumnsCarriesCellsObjectsWidthsTabStopsAndCursor)
{
    GridFixture f(6, 4);
    TObject marker;
    for (int c = 0; c < 6; ++c)
        f.Grid->SetCells(c, 2, QString(QChar('A' + c)));
    f.Grid->SetObjects(4, 3, &marker);
    f.Grid->SetColWidths(4, 77);
    f.Grid->SetTabStops(2, false);
    f.Grid->SetCol(4);
    EXPECT_THROW(f.Grid->PermuteColumns(1, { 2, 2, 3 }), EInvalidGridOperation);
    EXPECT_THROW(f.Grid->PermuteColumns(4, { 5, 6, 4 }), EInvalidGridOperation);

    // Columns 1 to 4 become the ones that were at 4, 1, 3 and 2.
    f.Grid->PermuteColumns(1, { 4, 1, 3, 2 });
    QString row;
    for (int c = 0; c < 6; ++c)
        row += f.Grid->Cells(c, 2);
    EXPECT_EQ(row, "AEBDCF");
    EXPECT_EQ(f.Grid->Objects(1, 3), &marker);
    EXPECT_EQ(f.Grid->Objects(4, 3), nullptr);
    EXPECT_EQ(f.Grid->ColWidths(1), 77);
    EXPECT_EQ(f.Grid->ColWidths(4), 50);
    EXPECT_FALSE(f.Grid->TabStops(4));
    EXPECT_TRUE(f.Grid->TabStops(2));
    EXPECT_EQ(f.Grid->Col(), 1);
}

TEST(GridCellStore, WritesOutsideTheGridDoNotGrowTheStore)
{
    GridFixture f(6, 10);
    TObject tag;
    struct Case {
        int col, row;
    } outside[] = { { 1, 10 }, { 1, 5000000 }, { 1, 0x7FFFFFF0 }, { 6, 2 }, { 0x7FFFFFF0, 2 } };
    for (Case c : outside) {
        f.Grid->SetCells(c.col, c.row, QStringLiteral("x"));
        f.Grid->SetObjects(c.col, c.row, &tag);
        EXPECT_EQ(f.Grid->Cells(c.col, c.row), QString()) << c.col << "," << c.row;
    }
    EXPECT_EQ(f.Grid->Store().StoredRowCount(), 0);
    EXPECT_EQ(f.Grid->Store().StoredColCount(), 0);
    // Columns kept beyond ColCount still take writes.
    f.Grid->SetColCount(4);
    f.Grid->SetCells(5, 9, QStringLiteral("kept"));
    EXPECT_EQ(f.Grid->Cells(5, 9), QStringLiteral("kept"));
}

TEST(GridCellStore, DeleteColumnClosesUpTheColumnsKeptBeyondColCount)
{
    GridFixture f(8, 4);
    for (int c = 0; c < 8; ++c)
        f.Grid->SetCells(c, 2, QString::number(c));
    f.Grid->SetColCount(6); // columns 6 and 7 are kept
    f.Grid->DeleteColumn(2);
    EXPECT_EQ(f.Grid->ColCount(), 5);
    QStringList row;
    for (int c = 0; c < 8; ++c)
        row << f.Grid->Cells(c, 2);
    EXPECT_EQ(row, QStringList({ "0", "1", "3", "4", "5", "6", "7", "" }));
}

TEST(GridCellStore, RunsOfRowsCarryCellsHeightsObjectsAndCursor)
{
    // Each operation beside the same one done on a plain list of rows.
    struct Step {
        const char* name;
        std::function<void(TStringGrid*)> grid;
        std::function<void(QStringList&)> model;
    };
    const Step steps[] = {
        { "insert", [](TStringGrid* g) { g->InsertRows(3, 2); },
            [](QStringList& m) { m.insert(3, QString()), m.insert(3, QString()); } },
        { "delete", [](TStringGrid* g) { g->DeleteRows(2, 3); }, [](QStringList& m) { m.remove(2, 3); } },
        { "move down", [](TStringGrid* g) { g->MoveRows(1, 2, 5); },
            [](QStringList& m) { std::rotate(m.begin() + 1, m.begin() + 3, m.begin() + 7); } },
        { "move up", [](TStringGrid* g) { g->MoveRows(6, 3, 2); },
            [](QStringList& m) { std::rotate(m.begin() + 2, m.begin() + 6, m.begin() + 9); } },
        { "permute",
            [](TStringGrid* g) {
                g->PermuteRows(2, { 5, 2, 4, 3 });
            },
            [](QStringList& m) {
                const QStringList old = m;
                const int order[] = { 5, 2, 4, 3 };
                for (int k = 0; k < 4; ++k)
                    m[2 + k] = old[order[k]];
            } },
    };
    for (const Step& step : steps) {
        GridFixture f(3, 10);
        QStringList model;
        TObject tags[10];
        for (int r = 0; r < 10; ++r) {
            model << QStringLiteral("r%1").arg(r);
            f.Grid->SetCells(2, r, model.last());
            f.Grid->SetObjects(1, r, &tags[r]);
            f.Grid->SetRowHeights(r, 20 + r);
        }
        f.Grid->SetRow(4);
        step.grid(f.Grid);
        step.model(model);
        ASSERT_EQ(f.Grid->RowCount(), model.size()) << step.name;
        for (int r = 0; r < model.size(); ++r) {
            const QString& m = model[r];
            EXPECT_EQ(f.Grid->Cells(2, r), m) << step.name << " row " << r;
            const int was = m.isEmpty() ? -1 : m.mid(1).toInt();
            EXPECT_EQ(f.Grid->Objects(1, r), was < 0 ? nullptr : &tags[was]) << step.name << " row " << r;
            EXPECT_EQ(f.Grid->RowHeights(r), was < 0 ? 20 : 20 + was) << step.name << " row " << r;
            if (m == QLatin1String("r4")) {
                EXPECT_EQ(f.Grid->Row(), r) << step.name; // the cursor stays on its row
            }
        }
        qint64 sum = 0;
        for (int r = 1; r < model.size() - 1; ++r)
            sum += f.Grid->RowHeights(r);
        EXPECT_EQ(f.Grid->RowHeightsSum(1, int(model.size()) - 2), sum) << step.name;
    }
}

TEST(GridCellStore, RunsOfRowsAreCheckedAndStayCheapAtAMillionRows)
{
    GridFixture f(4, 1000000);
    EXPECT_THROW(f.Grid->InsertRows(1000001, 1), EInvalidGridOperation);
    EXPECT_THROW(f.Grid->MoveRows(999999, 2, 0), EInvalidGridOperation);
    EXPECT_THROW(f.Grid->PermuteRows(1, { 1, 1 }), EInvalidGridOperation);
    f.Grid->SetRowHeights(999990, 55);
    f.Grid->SetCells(1, 999990, QStringLiteral("far"));
    f.Grid->DeleteRows(10, 500000);
    EXPECT_EQ(f.Grid->RowCount(), 500000);
    EXPECT_EQ(f.Grid->Cells(1, 499990), QStringLiteral("far"));
    EXPECT_EQ(f.Grid->RowHeightsSum(0, 499999), 499999LL * 20 + 55);
    EXPECT_EQ(f.Grid->ColWidthsSum(0, 3), 4 * 50);
    f.Grid->DeleteRows(0, 600000); // one row always stays
    EXPECT_EQ(f.Grid->RowCount(), 1);
}

TEST(GridGeometry, BiDiModeFollowsTheParentUntilSet)
{
    GridFixture f(4, 4);
    EXPECT_EQ(f.Grid->BiDiMode(), bdLeftToRight);
    f.Form->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(f.Grid->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(f.Grid->UseRightToLeftAlignment());
    EXPECT_TRUE(f.Grid->ParentBiDiMode());
    EXPECT_EQ(f.Grid->BiDiChanges, 1);
    f.Grid->SetBiDiMode(bdLeftToRight); // its own now
    EXPECT_FALSE(f.Grid->ParentBiDiMode());
    EXPECT_EQ(f.Grid->BiDiChanges, 2);
    f.Form->SetBiDiMode(bdLeftToRight);
    f.Form->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_EQ(f.Grid->BiDiMode(), bdLeftToRight);
    EXPECT_EQ(f.Grid->BiDiChanges, 2);
    f.Grid->SetParentBiDiMode(true);
    EXPECT_EQ(f.Grid->BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_EQ(f.Grid->BiDiChanges, 3);
}

TEST(GridGeometry, FixedCountsAndIndicesAreChecked)
{
    GridFixture f(4, 4);
    EXPECT_THROW(f.Grid->SetFixedCols(4), EInvalidGridOperation);
    EXPECT_THROW(f.Grid->SetFixedRows(-1), EInvalidGridOperation);
    EXPECT_THROW(f.Grid->SetColWidths(4, 10), EInvalidGridOperation);
    f.Grid->SetRowCount(1); // fixed rows shrink with it
    EXPECT_EQ(f.Grid->FixedRows(), 0);
    EXPECT_EQ(f.Grid->Row(), 0);
}

TEST(GridGeometry, CellRectAndMouseCoordAgree)
{
    GridFixture f(6, 30);
    f.Grid->SetColWidths(2, 80);
    f.Grid->SetTopRow(5);
    const TRect r = f.Grid->CellRect(2, 6);
    EXPECT_EQ(r.Width(), 80);
    EXPECT_EQ(r.Height(), 20);
    EXPECT_EQ(f.Grid->MouseCoord(r.Left, r.Top), (TGridCoord { 2, 6 }));
    EXPECT_EQ(f.Grid->MouseCoord(r.Right - 1, r.Bottom - 1), (TGridCoord { 2, 6 }));
    EXPECT_EQ(f.Grid->MouseCoord(r.Right + 1, r.Top), (TGridCoord { 3, 6 })); // past the line
    EXPECT_EQ(f.Grid->CellRect(2, 3).Width(), 0); // scrolled away: no rectangle
    const TRect fixedRow = f.Grid->CellRect(2, 0);
    EXPECT_EQ(fixedRow.Top, 0);
    EXPECT_EQ(f.Grid->MouseCoord(-3, 4), (TGridCoord { -1, -1 }));
    EXPECT_EQ(f.Grid->MouseCoord(4, 5000), (TGridCoord { -1, -1 }));
}

TEST(GridGeometry, HugeExtentsSaturateInsteadOfOverflowing)
{
    // A width or line width near the int range, set by code: the layout
    // clips it at the client edge and every sum stays in range.
    const int huge = std::numeric_limits<int>::max();
    struct {
        const char* name;
        std::function<void(THookGrid&)> set;
        int hugeCol; // shows from its left edge to the client edge
    } cases[] = {
        { "fixed column", [&](THookGrid& g) { g.SetColWidths(0, huge); }, 0 },
        { "scrolling column", [&](THookGrid& g) { g.SetColWidths(2, huge); }, 2 },
        { "grown",
            [&](THookGrid& g) {
                g.SetColWidths(2, huge - 1);
                g.GrowExtents(10);
            },
            2 },
        { "scaled",
            [&](THookGrid& g) {
                g.SetColWidths(2, huge / 2 + 1);
                g.ChangeScale(2, 1);
            },
            2 },
        { "line width", [&](THookGrid& g) { g.SetGridLineWidth(huge); }, -1 },
    };
    for (const auto& c : cases) {
        GridFixture f(6, 30);
        THookGrid& g = *f.Grid;
        c.set(g);
        const int client = g.ClientWidth();
        if (c.hugeCol >= 0) {
            EXPECT_EQ(g.ColWidths(c.hugeCol), huge) << c.name;
            const TRect r = g.CellRect(c.hugeCol, 1);
            EXPECT_EQ(r.Right, client) << c.name;
            EXPECT_EQ(g.MouseCoord((r.Left + r.Right) / 2, r.Top).X, c.hugeCol) << c.name;
            EXPECT_EQ(g.GridWidth(), client) << c.name;
        } else {
            // The fixed cell shows; past its line nothing fits.
            EXPECT_EQ(g.CellRect(0, 0).Width(), g.ColWidths(0)) << c.name;
            EXPECT_EQ(g.CellRect(1, 1).Width(), 0) << c.name;
            EXPECT_EQ(g.MouseCoord(client - 1, 5).X, 0) << c.name;
        }
        EXPECT_GE(g.VisibleColCount(), 0) << c.name;
        g.SetLeftCol(g.ColCount() - 1);
        g.SetTopRow(g.RowCount() - 1);
        EXPECT_GE(g.LeftCol(), g.FixedCols()) << c.name;
        f.Form->PaintToImage();
    }
}

struct NavCase {
    const char* name;
    int fixedCols, fixedRows;
    int col, row;
    WORD key;
    TShiftState shift;
    bool tabs;
    int expCol, expRow;
};

TEST(GridKeys, NavigationTable)
{
    // 6 columns and 30 rows; columns 6 and 7 hold cells beyond ColCount.
    const TShiftState ctrl(ssCtrl), shift(ssShift);
    const NavCase cases[] = {
        { "down", 1, 1, 2, 3, VK_DOWN, {}, false, 2, 4 },
        { "up stops at the fixed row", 1, 1, 2, 1, VK_UP, {}, false, 2, 1 },
        { "left stops at the fixed column", 1, 1, 1, 3, VK_LEFT, {}, false, 1, 3 },
        { "right stops at the last column", 1, 1, 5, 3, VK_RIGHT, {}, false, 5, 3 },
        { "down stops at the last row", 1, 1, 2, 29, VK_DOWN, {}, false, 2, 29 },
        { "home", 1, 1, 4, 3, VK_HOME, {}, false, 1, 3 },
        { "end", 1, 1, 2, 3, VK_END, {}, false, 5, 3 },
        { "ctrl home", 1, 1, 4, 7, VK_HOME, ctrl, false, 1, 1 },
        { "ctrl end", 1, 1, 2, 3, VK_END, ctrl, false, 5, 29 },
        { "home without fixed columns", 0, 1, 4, 3, VK_HOME, {}, false, 0, 3 },
        { "up without fixed rows", 1, 0, 2, 1, VK_UP, {}, false, 2, 0 },
        { "two fixed rows", 1, 2, 2, 2, VK_UP, {}, false, 2, 2 },
        { "tab wraps into the next row", 1, 1, 5, 3, VK_TAB, {}, true, 1, 4 },
        { "shift tab wraps back", 1, 1, 1, 4, VK_TAB, shift, true, 5, 3 },
        { "tab from the last cell to the first", 1, 1, 5, 29, VK_TAB, {}, true, 1, 1 },
        { "tab without goTabs stays", 1, 1, 2, 3, VK_TAB, {}, false, 2, 3 },
    };
    for (const NavCase& c : cases) {
        SCOPED_TRACE(c.name);
        GridFixture f(6, 30);
        f.Grid->SetCells(6, 3, QStringLiteral("beyond"));
        f.Grid->SetCells(7, 3, QStringLiteral("beyond"));
        f.Grid->SetFixedCols(c.fixedCols);
        f.Grid->SetFixedRows(c.fixedRows);
        if (c.tabs)
            f.AddOptions(goTabs);
        f.Grid->SetCol(c.col);
        f.Grid->SetRow(c.row);
        f.Key(c.key, c.shift);
        EXPECT_EQ(f.Grid->Col(), c.expCol);
        EXPECT_EQ(f.Grid->Row(), c.expRow);
        EXPECT_EQ(f.Grid->Selection(), (TGridRect { c.expCol, c.expRow, c.expCol, c.expRow }));
    }
}

// A Tab the grid moves its cell with is spent there: the focus stays in the
// grid. Without goTabs (or in row select) Tab is the form's and moves the
// focus on to the next control.
TEST(GridKeys, TabMovesTheCellOrTheFocusNeverBoth)
{
    const struct {
        TGridOptions Add;
        bool GridKeeps;
    } cases[] = { { goTabs, true }, { {}, false }, { TGridOptions(goTabs) | goRowSelect, false } };
    for (const auto& c : cases) {
        GridFixture f(6, 30);
        auto* edit = new TEdit(f.Form);
        edit->SetParent(f.Form);
        edit->SetBounds(0, 210, 80, 20);
        f.AddOptions(c.Add);
        f.Grid->SetFocus();
        f.Grid->SetCol(2);
        f.Grid->SetRow(3);
        f.Key(VK_TAB, {}, u'\t');
        EXPECT_EQ(f.Grid->Focused(), c.GridKeeps) << c.GridKeeps;
        EXPECT_EQ(edit->Focused(), !c.GridKeeps) << c.GridKeeps;
        // The window's own focus too: the toolkit's focus chain must not
        // have taken the Tab as well.
        EXPECT_EQ(f.Form->Widget()->focusWidget(), c.GridKeeps ? f.Grid->Widget() : edit->Widget()) << c.GridKeeps;
        if (c.GridKeeps) {
            EXPECT_EQ(f.Grid->Col(), 3);
        }
    }
}

TEST(GridKeys, PagesMoveByTheVisibleRowsAndKeepTheThumbInStep)
{
    GridFixture f(6, 100);
    const int page = f.Grid->VisibleRowCount();
    ASSERT_GT(page, 2);
    auto thumbFor = [&](int top) {
        const int maxTop = f.Grid->RowCount() - page;
        return MulDiv(top - 1, GridScrollMax, maxTop - 1);
    };

    f.Key(VK_NEXT);
    EXPECT_EQ(f.Grid->Row(), 1 + page);
    EXPECT_EQ(f.Grid->TopRow(), 1 + page);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), thumbFor(f.Grid->TopRow()));
    EXPECT_EQ(f.Grid->ScrollBarWidget(SB_VERT)->value(), f.Grid->GetScrollPos(SB_VERT));

    f.Key(VK_NEXT, ssCtrl); // to the last row shown
    EXPECT_EQ(f.Grid->Row(), f.Grid->TopRow() + page - 1);
    f.Key(VK_PRIOR, ssCtrl); // to the top row
    EXPECT_EQ(f.Grid->Row(), f.Grid->TopRow());
    f.Key(VK_DOWN, ssCtrl); // scrolls without moving the cursor
    EXPECT_EQ(f.Grid->TopRow(), 2 + page);
    EXPECT_EQ(f.Grid->Row(), 1 + page);

    f.Key(VK_END, ssCtrl);
    EXPECT_EQ(f.Grid->Row(), 99);
    EXPECT_EQ(f.Grid->TopRow(), 100 - page);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), GridScrollMax);
    f.Key(VK_PRIOR);
    EXPECT_EQ(f.Grid->Row(), 99 - page);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), thumbFor(f.Grid->TopRow()));
    f.Key(VK_HOME, ssCtrl);
    EXPECT_EQ(f.Grid->TopRow(), 1);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), 0);
}

TEST(GridKeys, ShiftExtendsTheSelectionFromTheAnchor)
{
    GridFixture f(6, 30);
    f.Grid->SetCol(2);
    f.Grid->SetRow(2);
    f.Key(VK_RIGHT, ssShift);
    f.Key(VK_RIGHT, ssShift);
    f.Key(VK_DOWN, ssShift);
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 2, 2, 4, 3 }));
    EXPECT_EQ(f.Grid->Col(), 4); // the cursor moves, the anchor stays
    EXPECT_EQ(f.Grid->Anchor(), (TGridCoord { 2, 2 }));
    f.Key(VK_LEFT, ssShift | ssCtrl); // a page left, clamped to the first column
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 1, 2, 2, 3 }));
    f.Key(VK_UP); // a plain key collapses it
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 1, 2, 1, 2 }));

    f.Grid->SetOptions(f.Grid->Options() & ~TGridOptions(goRangeSelect));
    f.Key(VK_RIGHT, ssShift);
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 2, 2, 2, 2 }));
}

TEST(GridKeys, RowSelectSpansTheRowAndLeftAndRightStepThroughTheRows)
{
    GridFixture f(12, 30);
    f.AddOptions(goRowSelect);
    f.Key(VK_DOWN);
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 1, 2, 11, 2 }));
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.Grid->Row(), 3);
    EXPECT_EQ(f.Grid->LeftCol(), 1);
    EXPECT_EQ(f.Grid->Selection(), (TGridRect { 1, 3, 11, 3 }));
    f.Key(VK_LEFT);
    f.Key(VK_LEFT);
    EXPECT_EQ(f.Grid->Row(), 1);
    EXPECT_EQ(f.Grid->Col(), 1);
    f.Key(VK_LEFT); // no further than the first scrollable row
    EXPECT_EQ(f.Grid->Row(), 1);
    f.Key(VK_END);
    EXPECT_EQ(f.Grid->Row(), 29);
}

TEST(GridKeys, RefusedCellKeepsTheCursorAndOnKeyDownMayConsume)
{
    GridFixture f(6, 30);
    f.Grid->RefuseSelect = true;
    f.Key(VK_DOWN);
    EXPECT_EQ(f.Grid->Row(), 1);
    f.Grid->RefuseSelect = false;
    f.Grid->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
        if (key == VK_DOWN)
            key = 0;
    };
    f.Key(VK_DOWN);
    EXPECT_EQ(f.Grid->Row(), 1);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.Grid->Col(), 2);
}

TEST(GridWheel, MovesTheCurrentRowOneANotchWithinTheScrollableRows)
{
    GridFixture f(6, 30);
    int clicks = 0;
    f.Grid->OnClick = [&](TObject*) { ++clicks; };
    input::Wheel(f.Grid, f.Center(2, 2), -2); // towards the user
    EXPECT_EQ(f.Grid->Row(), 3);
    EXPECT_EQ(clicks, 2);
    input::Wheel(f.Grid, f.Center(2, 2), 5);
    EXPECT_EQ(f.Grid->Row(), 1); // never into the fixed row
    bool handled = false;
    f.Grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& h) { h = handled = true; };
    input::Wheel(f.Grid, f.Center(2, 2), -1);
    EXPECT_TRUE(handled);
    EXPECT_EQ(f.Grid->Row(), 1);
}

TEST(GridScroll, ThumbModelMapsPositionsZeroTo127OverTheScrollableRows)
{
    GridFixture f(6, 1000);
    const int page = f.Grid->VisibleRowCount();
    const int maxTop = 1000 - page;
    auto send = [&](WORD code, int pos = 0) { f.Grid->Perform(WM_VSCROLL, WPARAM(code) | (WPARAM(pos) << 16)); };
    send(SB_THUMBPOSITION, 64);
    EXPECT_EQ(f.Grid->TopRow(), 1 + MulDiv(64, maxTop - 1, GridScrollMax));
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), MulDiv(f.Grid->TopRow() - 1, GridScrollMax, maxTop - 1));
    const int top = f.Grid->TopRow();
    send(SB_LINEDOWN);
    EXPECT_EQ(f.Grid->TopRow(), top + 1);
    send(SB_PAGEUP);
    EXPECT_EQ(f.Grid->TopRow(), top + 1 - page);
    EXPECT_EQ(f.Grid->Row(), 1); // scrolling leaves the cursor

    // Dragging the thumb moves the view only when released, unless tracking.
    send(SB_THUMBTRACK, 10);
    EXPECT_EQ(f.Grid->TopRow(), top + 1 - page);
    f.AddOptions(goThumbTracking);
    send(SB_THUMBTRACK, 10);
    EXPECT_EQ(f.Grid->TopRow(), 1 + MulDiv(10, maxTop - 1, GridScrollMax));
    send(SB_ENDSCROLL);

    send(SB_BOTTOM);
    EXPECT_EQ(f.Grid->TopRow(), maxTop);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), GridScrollMax);
    f.Grid->ScrollBarWidget(SB_VERT)->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(f.Grid->TopRow(), 1);
    EXPECT_EQ(f.Grid->ScrollBarWidget(SB_VERT)->value(), 0);
    f.Grid->ScrollBarWidget(SB_VERT)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(f.Grid->TopRow(), 2);
    EXPECT_EQ(f.Grid->ScrollBarWidget(SB_VERT)->value(), f.Grid->GetScrollPos(SB_VERT));
}

TEST(GridScroll, ColumnsFollowTheSameThumbModel)
{
    GridFixture f(30, 10);
    const int maxLeft = 30 - f.Grid->VisibleColCount();
    f.Key(VK_END);
    EXPECT_EQ(f.Grid->Col(), 29);
    EXPECT_EQ(f.Grid->LeftCol(), maxLeft);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_HORZ), GridScrollMax);
    f.Grid->Perform(WM_HSCROLL, WPARAM(SB_THUMBPOSITION) | (WPARAM(30) << 16));
    EXPECT_EQ(f.Grid->LeftCol(), 1 + MulDiv(30, maxLeft - 1, GridScrollMax));
    EXPECT_EQ(f.Grid->GetScrollPos(SB_HORZ), MulDiv(f.Grid->LeftCol() - 1, GridScrollMax, maxLeft - 1));
    f.Key(VK_HOME);
    EXPECT_EQ(f.Grid->LeftCol(), 1);
    EXPECT_EQ(f.Grid->GetScrollPos(SB_HORZ), 0);
    EXPECT_EQ(f.Grid->ScrollBarWidget(SB_HORZ)->value(), 0);
}

TEST(GridScroll, BarsShowOnlyWhenCellsDoNotFitAndTheClientShrinksForThem)
{
    GridFixture f(3, 4, 300, 200);
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_HORZ));
    EXPECT_EQ(f.Grid->ClientWidth(), 300);
    f.Grid->SetRowCount(40);
    EXPECT_TRUE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_EQ(f.Grid->ClientWidth(), 300 - ScrollBarSize);
    f.Grid->SetTopRow(20);
    f.Grid->SetRowCount(4); // everything fits again: back to the top
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_EQ(f.Grid->TopRow(), 1);

    // Without bars the keys still scroll.
    f.Grid->SetScrollBars(ssNone);
    f.Grid->SetRowCount(40);
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_VERT));
    f.Key(VK_END, ssCtrl);
    EXPECT_EQ(f.Grid->Row(), 39);
    EXPECT_GT(f.Grid->TopRow(), 1);
}

TEST(GridScroll, ABarKeptShownIsDisabledWhileEverythingFits)
{
    GridFixture f(3, 4, 300, 200);
    f.Grid->SetScrollBarAlways(SB_VERT, true);
    EXPECT_TRUE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_HORZ)); // not kept: hidden as the columns fit
    EXPECT_EQ(f.Grid->ClientWidth(), 300 - ScrollBarSize);
    ASSERT_TRUE(f.Grid->ScrollBarWidget(SB_VERT));
    EXPECT_TRUE(f.Grid->ScrollBarWidget(SB_VERT)->isVisible());
    EXPECT_FALSE(f.Grid->ScrollBarWidget(SB_VERT)->isEnabled());
    f.Grid->SetRowCount(40); // now it scrolls: enabled
    EXPECT_TRUE(f.Grid->ScrollBarWidget(SB_VERT)->isEnabled());
    f.Grid->SetRowCount(4);
    EXPECT_TRUE(f.Grid->ScrollBarShowing(SB_VERT));
    EXPECT_FALSE(f.Grid->ScrollBarWidget(SB_VERT)->isEnabled());
    f.Grid->SetScrollBars(ssHorizontal); // the style still rules
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_VERT));
    f.Grid->SetScrollBars(ssBoth);
    f.Grid->SetScrollBarAlways(SB_VERT, false);
    EXPECT_FALSE(f.Grid->ScrollBarShowing(SB_VERT));
}

TEST(GridScroll, AMillionRowsScrollAndNavigateLikeAHundred)
{
    GridFixture f(20, 1000000);
    f.Grid->SetCells(3, 999999, QStringLiteral("bottom"));
    f.Key(VK_END, ssCtrl);
    EXPECT_EQ(f.Grid->Row(), 999999);
    EXPECT_EQ(f.Grid->TopRow(), 1000000 - f.Grid->VisibleRowCount());
    EXPECT_EQ(f.Grid->GetScrollPos(SB_VERT), GridScrollMax);
    const QImage img = f.Grid->PaintToImage();
    EXPECT_FALSE(img.isNull());
    f.Grid->SetRowHeights(999998, 40);
    EXPECT_EQ(f.Grid->RowHeights(999998), 40);
    EXPECT_EQ(f.Grid->RowHeights(5), 20);
}

} // namespace
