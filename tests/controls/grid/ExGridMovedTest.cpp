// What follows a moved column or row: hidden columns' flags and widths, the
// sort column and keys, kept rows' texts, linked grids, the footer strip's
// last row, and the heights the row event sees.

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "tests/common/GridOnForm.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Grid = TGridOnForm<TExStringGrid>;

std::vector<QString> Row(TExStringGrid* g, int r)
{
    std::vector<QString> v;
    for (int c = 0; c < g->ColCount(); ++c)
        v.push_back(g->Cells(c, r));
    return v;
}

} // namespace

TEST(ExGridMoved, HiddenColumnsTravelOnceAndTheEventNamesRealColumns)
{
    Grid f(6, 3, 400, 100);
    TExStringGrid* g = f.Grid;
    for (int c = 0; c < 6; ++c) {
        g->SetCells(c, 1, QString::number(c));
        g->SetColWidths(c, 40 + c);
    }
    g->HideColumns(2, 2);
    g->HideColumns(4, 4);
    std::vector<std::pair<int, int>> moved;
    g->OnColumnMoved = [&](TObject*, int a, int b) { moved.emplace_back(a, b); };
    // Shown: 0 1 3 5 (real). Displayed 1 -> 3 moves real 1 behind real 5.
    g->MoveColumn(1, 3);
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>> { { 1, 5 } }));
    g->UnHideColumnsAll();
    const std::vector<QString> cells { "0", "2", "3", "4", "5", "1" };
    EXPECT_EQ(Row(g, 1), cells);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(g->ColWidths(c), 40 + cells[std::size_t(c)].toInt()) << c;
}

TEST(ExGridMoved, SortColumnKeysAndKeptRowsFollow)
{
    struct Case {
        const char* Name;
        int From, To, Sorted, Expected;
    };
    const Case cases[] = {
        { "sorted column shifts left", 1, 3, 3, 2 },
        { "moved column is the sorted one", 1, 3, 1, 3 },
        { "sorted column shifts right", 3, 1, 2, 3 },
        { "outside the range", 1, 2, 4, 4 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Grid f(5, 4, 400, 120);
        TExStringGrid* g = f.Grid;
        g->SortSettings()->Column = k.Sorted;
        g->SortSettings()->IndexShow = true;
        g->SortIndexes()->Clear();
        g->SortIndexes()->AddIndex(k.Sorted, false);
        g->MoveColumn(k.From, k.To);
        EXPECT_EQ(g->SortSettings()->Column, k.Expected);
        EXPECT_EQ(g->SortIndexes()->SortColumns(0), k.Expected);
        EXPECT_FALSE(g->SortIndexes()->SortDirections(0)) << "the direction bit stays";
    }

    // A kept (hidden) row moves its texts with the columns.
    Grid f(4, 4, 400, 120);
    TExStringGrid* g = f.Grid;
    for (int c = 0; c < 4; ++c)
        g->SetCells(c, 2, QStringLiteral("r%1").arg(c));
    g->HideRow(2);
    g->MoveColumn(1, 3);
    g->UnHideRowsAll();
    EXPECT_EQ(Row(g, 2), (std::vector<QString> { "r0", "r2", "r3", "r1" }));
}

TEST(ExGridMoved, LinkedGridsRepeatAMoveOnceEach)
{
    Grid a(4, 4, 300, 120), b(4, 4, 300, 120);
    for (TExStringGrid* g : { a.Grid, b.Grid }) {
        for (int c = 0; c < 4; ++c)
            g->SetCells(c, 1, QString::number(c));
        g->SyncGrid()->MoveColumn = true;
        g->SyncGrid()->MoveRow = true;
    }
    a.Grid->SyncGrid()->SetGrid(b.Grid);
    b.Grid->SyncGrid()->SetGrid(a.Grid);
    int movesA = 0, movesB = 0;
    a.Grid->OnColumnMoved = [&](TObject*, int, int) { ++movesA; };
    b.Grid->OnColumnMoved = [&](TObject*, int, int) { ++movesB; };
    a.Grid->MoveColumn(1, 3);
    EXPECT_EQ(movesA, 1);
    EXPECT_EQ(movesB, 1);
    EXPECT_EQ(Row(b.Grid, 1), Row(a.Grid, 1));
    b.Grid->MoveRow(1, 2);
    EXPECT_EQ(a.Grid->Cells(0, 2), QStringLiteral("0"));
    EXPECT_EQ(b.Grid->Cells(0, 2), QStringLiteral("0"));
}

TEST(ExGridMoved, RowsKeepOffTheFooterAndTheEventSeesTheHeights)
{
    Grid f(3, 6, 300, 200);
    TExStringGrid* g = f.Grid;
    for (int r = 0; r < 6; ++r) {
        g->SetCells(0, r, QString::number(r));
        g->SetRowHeights(r, 20 + r);
    }
    std::vector<int> seen;
    g->OnRowMoved = [&](TObject*, int, int to) { seen.push_back(g->RowHeights(to)); };
    g->SetEnhRowColMove(true);
    g->MoveRow(1, 3);
    EXPECT_EQ(seen, std::vector<int> { 21 });
    EXPECT_EQ(g->Cells(0, 3), QStringLiteral("1"));

    g->FloatingFooter()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    g->FloatingFooter()->SetVisible(true);
    seen.clear();
    g->MoveRow(2, 5);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(g->Cells(0, 2), QStringLiteral("3"));
    EXPECT_EQ(g->Cells(0, 5), QStringLiteral("5"));
    EXPECT_EQ(g->RowHeights(5), 25);
}
