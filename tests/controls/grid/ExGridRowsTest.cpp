#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/runtime/Classes.h"
#include "tests/controls/grid/GridRowsTestSupport.h"

namespace {

// Rows named "r0".."r<n-1>" in column 0; no fixed rows unless asked.
std::unique_ptr<TRowsGrid> MakeGrid(int rows, int fixedRows = 0)
{
    auto g = std::make_unique<TRowsGrid>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(rows);
    g->SetFixedRows(fixedRows);
    for (int r = 0; r < rows; ++r)
        g->SetCells(0, r, QStringLiteral("r%1").arg(r));
    return g;
}

// The displayed rows' names, joined by spaces.
QString Shown(const TExStringGrid& g)
{
    QStringList names;
    for (int r = 0; r < g.RowCount(); ++r)
        names << g.Cells(0, r);
    return names.join(u' ');
}

TEST(ExGridRows, HiddenRowsMapIndicesAndComeBackWhole)
{
    auto g = MakeGrid(10);
    g->SetCells(2, 3, QStringLiteral("kept in a hidden column"));
    TCellProperties* props = g->GetCellProperties(1, 4);
    props->SetBrushColor(clRed);
    g->SetRowHeights(3, 40);
    g->HideRows(3, 4);
    EXPECT_EQ(g->RowCount(), 8);
    EXPECT_EQ(g->TotalRowCount(), 10);
    EXPECT_EQ(g->NumHiddenRows(), 2);
    EXPECT_EQ(g->RealRowIndex(3), 5);
    EXPECT_EQ(g->DisplRowIndex(5), 3);
    EXPECT_TRUE(g->IsHiddenRow(4));
    EXPECT_FALSE(g->IsHiddenRow(5));
    EXPECT_EQ(g->RowHeights(3), g->DefaultRowHeight());
    g->UnHideRows(3, 4);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1 r2 r3 r4 r5 r6 r7 r8 r9"));
    EXPECT_EQ(g->Cells(2, 3), QStringLiteral("kept in a hidden column"));
    EXPECT_EQ(g->Objects(1, 4), props);
    EXPECT_EQ(g->RowHeights(3), 40);
    EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST(ExGridRows, PartialHidingAndShowing)
{
    struct Case {
        const char* name;
        std::function<void(TRowsGrid&)> act;
        const char* shown;
    };
    const Case cases[] = {
        { "hide 5-7 with 6 hidden", [](TRowsGrid& g) { g.HideRow(6), g.HideRows(5, 7); }, "r0 r1 r2 r3 r4 r8 r9" },
        { "show 5-7 around a displayed 6",
            [](TRowsGrid& g) {
                g.HideRow(5), g.HideRow(7);
                g.UnHideRows(5, 7);
            },
            "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9" },
        { "show 5-7 when 5 is displayed",
            [](TRowsGrid& g) {
                g.HideRow(6);
                g.UnHideRows(5, 7);
            },
            "r0 r1 r2 r3 r4 r5 r7 r8 r9" },
        { "show all in runs",
            [](TRowsGrid& g) {
                g.HideRows(1, 2), g.HideRow(5), g.HideRows(8, 9);
                g.UnHideRowsAll();
            },
            "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9" },
        { "hide the selected rows at once",
            [](TRowsGrid& g) {
                for (int r : { 1, 4, 5, 8 })
                    g.SetRowSelect(r, true);
                g.HideSelectedRows();
            },
            "r0 r2 r3 r6 r7 r9" },
        { "hide the unselected rows", [](TRowsGrid& g) { g.SetRowSelect(2, true), g.HideUnSelectedRows(); }, "r2" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(10);
        c.act(*g);
        EXPECT_EQ(Shown(*g), QString::fromLatin1(c.shown));
        EXPECT_EQ(g->TotalRowCount(), 10);
    }
}

TEST(ExGridRows, FilterLevelsComeBackOneAtATimeAroundDirectlyHiddenRows)
{
    auto g = MakeGrid(10);
    g->HideRow(2); // hidden directly, as a contracted node hides its children
    g->HideRowList({ 1, 3 }); // displayed r1 and r4
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r3 r5 r6 r7 r8 r9"));
    g->HideRowList({ 2, 4 }); // displayed r5 and r7
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r3 r6 r8 r9"));
    EXPECT_EQ(g->HiddenRowLevel(2), 0);
    EXPECT_EQ(g->HiddenRowLevel(4), 1);
    EXPECT_EQ(g->HiddenRowLevel(7), 2);

    g->EndFilterLevel();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r3 r5 r6 r7 r8 r9"));
    g->EndFilterLevel();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1 r3 r4 r5 r6 r7 r8 r9"));
    // The directly hidden row stayed hidden and comes back in its place.
    EXPECT_TRUE(g->IsHiddenRow(2));
    g->UnHideRow(2);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1 r2 r3 r4 r5 r6 r7 r8 r9"));
}

TEST(ExGridRows, InsertingAndRemovingKeepHiddenRowsInPlace)
{
    struct Case {
        const char* name;
        std::function<void(TRowsGrid&)> act;
        int hiddenIdx;
        const char* afterUnhide;
    };
    const Case cases[] = {
        { "insert above", [](TRowsGrid& g) { g.InsertRows(1, 2); }, 8, "r0   r1 r2 r3 r4 r5 r6 r7 r8 r9" },
        { "insert below", [](TRowsGrid& g) { g.InsertRows(7, 1); }, 6, "r0 r1 r2 r3 r4 r5 r6 r7  r8 r9" },
        { "remove above", [](TRowsGrid& g) { g.RemoveRows(1, 3); }, 3, "r0 r4 r5 r6 r7 r8 r9" },
        { "remove across", [](TRowsGrid& g) { g.DeleteGridRows(5, 2); }, 5, "r0 r1 r2 r3 r4 r6 r8 r9" },
        { "remove kept", [](TRowsGrid& g) { g.RemoveRowsEx(7, 2); }, 6, "r0 r1 r2 r3 r4 r5 r6 r7" },
        { "move above it", [](TRowsGrid& g) { g.MoveRows(1, 7, 2); }, 4, "r0 r3 r4 r5 r6 r7 r1 r2 r8 r9" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(10);
        g->HideRow(6);
        c.act(*g);
        ASSERT_EQ(g->NumHiddenRows(), 1);
        EXPECT_TRUE(g->IsHiddenRow(c.hiddenIdx));
        g->UnHideRowsAll();
        EXPECT_EQ(Shown(*g), QString::fromLatin1(c.afterUnhide));
    }
}

TEST(ExGridRows, MoveRowsCountsTheTargetBeforeTheRowsLeave)
{
    struct Case {
        int from, to, count;
        const char* shown;
    };
    const Case cases[] = {
        { 2, 6, 2, "r0 r1 r4 r5 r2 r3 r6 r7" }, { 2, 4, 2, "r0 r1 r2 r3 r4 r5 r6 r7" },
        { 5, 1, 2, "r0 r5 r6 r1 r2 r3 r4 r7" }, { 2, 2, 3, "r0 r1 r2 r3 r4 r5 r6 r7" },
        { 6, 0, 3, "r0 r1 r2 r3 r4 r5 r6 r7" }, // reaches past the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << ", " << c.to << ", " << c.count);
        auto g = MakeGrid(8);
        g->SetRowHeights(c.from, 33);
        g->MoveRows(c.from, c.to, c.count);
        EXPECT_EQ(Shown(*g), QString::fromLatin1(c.shown));
        // The height travels with its row.
        for (int r = 0; r < g->RowCount(); ++r)
            EXPECT_EQ(g->RowHeights(r) == 33, g->Cells(0, r) == QStringLiteral("r%1").arg(c.from));
    }
}

TEST(ExGridRows, FixedRowsAlwaysAndTopRow)
{
    auto g = MakeGrid(3);
    g->SetFixedRowAlways(true);
    EXPECT_EQ(g->FixedRows(), 1); // none, read as one
    g->SetFixedRows(5);
    EXPECT_EQ(g->TCustomGrid::FixedRows(), 2);
    g->SetRowCount(10);
    EXPECT_EQ(g->FixedRows(), 5);
    g->SetRowCount(100);
    g->SetTopRow(50);
    const int top = g->TopRow();
    ASSERT_GT(top, 5);
    for (int bad : { 100, 4 }) {
        g->SetTopRow(bad);
        EXPECT_EQ(g->TopRow(), top);
    }
}

TEST(ExGridRows, RowChangedReportsOldAndNewRow)
{
    auto g = MakeGrid(10, 1);
    std::vector<std::pair<int, int>> seen;
    g->OnRowChanged = [&](TObject*, int o, int n) { seen.emplace_back(o, n); };
    g->SetRow(2);
    seen.clear();
    g->SetRow(2);
    g->SetRow(4);
    g->SetRow(6);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>> { { 2, 4 }, { 4, 6 } }));
}

TEST(ExGridRows, HiddenSelectionComesBackOrFallsToTheFirstNormalCell)
{
    auto g = MakeGrid(10, 1);
    g->SetFixedCols(1);
    g->SetSelection(TGridRect { 1, 6, 2, 8 });
    g->HideSelection();
    EXPECT_TRUE(g->SelectionHidden());
    EXPECT_EQ(g->Selection().Top, g->RowCount()); // outside the grid
    g->UnHideSelection();
    EXPECT_EQ(g->Selection(), (TGridRect { 1, 6, 2, 8 }));

    g->HideSelection();
    g->SetRowCount(5); // the remembered rows are gone
    g->UnHideSelection();
    EXPECT_FALSE(g->SelectionHidden());
    EXPECT_EQ(g->Selection(), (TGridRect { 1, 1, 1, 1 }));
}

TEST(ExGridRows, FloatingFooterRowSurvivesCountChanges)
{
    auto g = MakeGrid(10, 1);
    g->FloatingFooter()->SetVisible(true);
    g->SetCells(1, 9, QStringLiteral("total"));
    TCellProperties* props = g->GetCellProperties(2, 9);
    g->SetRowCount(6);
    EXPECT_EQ(g->Cells(1, 5), QStringLiteral("total"));
    EXPECT_EQ(g->Objects(2, 5), props);
    EXPECT_EQ(g->Cells(0, 4), QStringLiteral("r4"));
    g->SetRowCount(8);
    EXPECT_EQ(g->Cells(1, 7), QStringLiteral("total"));
    EXPECT_EQ(g->Objects(2, 7), props);
    g->AddRow();
    EXPECT_EQ(g->RowCount(), 9);
    EXPECT_EQ(g->Cells(1, 8), QStringLiteral("total"));
    EXPECT_EQ(g->Cells(1, 7), QString());
}

TEST(ExGridRows, RemoveRowsOutOfRangeChangesNothing)
{
    struct Case {
        int index, count;
        const char* shown;
    };
    const Case cases[] = {
        { 6, 1, "r0 r1 r2 r3 r4 r5" }, // a start at RowCount
        { -1, 2, "r0 r1 r2 r3 r4 r5" },
        { 2, 0, "r0 r1 r2 r3 r4 r5" },
        { 4, 9, "r0 r1 r2 r3" }, // the count is cut
        { 1, 2, "r0 r3 r4 r5" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << ", " << c.count);
        auto g = MakeGrid(6, 1);
        g->SetRow(5);
        int changes = 0;
        g->OnCellsChanged = [&](TObject*, const TRect&) { ++changes; };
        g->RemoveRows(c.index, c.count);
        EXPECT_EQ(Shown(*g), QString::fromLatin1(c.shown));
        EXPECT_EQ(changes, Shown(*g) == QStringLiteral("r0 r1 r2 r3 r4 r5") ? 0 : 1);
        EXPECT_EQ(g->Row(), g->RowCount() - 1 < 5 ? g->RowCount() - 1 : 5);
    }
}

TEST(ExGridRows, CurrentRowKeepsItsNumberThroughRemovalsAbove)
{
    struct Case {
        const char* name;
        std::function<void(TRowsGrid&)> act;
        int row;
    };
    const Case cases[] = {
        { "RemoveRows", [](TRowsGrid& g) { g.RemoveRows(2, 2); }, 7 },
        { "DeleteGridRows", [](TRowsGrid& g) { g.DeleteGridRows(2, 2); }, 7 },
        { "RemoveRowsEx past the end", [](TRowsGrid& g) { g.RemoveRowsEx(5, 5); }, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(10, 1);
        g->SetRow(7);
        c.act(*g);
        EXPECT_EQ(g->Row(), c.row);
    }
}

TEST(ExGridRows, RemoveGridRowKeepsFixedAndFooterRows)
{
    auto g = MakeGrid(2, 1);
    g->FloatingFooter()->SetVisible(true); // row 1 is the footer
    std::vector<int> deleted;
    g->OnAutoDeleteRow = [&](TObject*, int r) { deleted.push_back(r); };
    g->RemoveGridRow(1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1"));
    EXPECT_TRUE(deleted.empty());

    auto one = MakeGrid(2, 1);
    one->OnAutoDeleteRow = [&](TObject*, int r) { deleted.push_back(r); };
    one->RemoveGridRow(1); // the only normal row is cleared
    EXPECT_EQ(Shown(*one), QStringLiteral("r0 "));
    EXPECT_EQ(deleted, std::vector<int> { 1 });
}

TEST(ExGridRows, RowFlagsTravelWithTheirRows)
{
    auto g = MakeGrid(8);
    TIntList* modified = g->ModifiedRows();
    for (int r = 0; r < 8; ++r)
        modified->Insert(r, r == 4 || r == 6 ? 1 : 0);
    g->SetRowSelect(5, true);
    g->RemoveRows(3, 1); // old row 4 becomes row 3
    EXPECT_EQ(modified->GetInteger(3), 1);
    g->HideRow(3); // real row 3 (old r4)
    EXPECT_EQ(modified->GetInteger(3), 0);
    g->InsertRows(1, 1); // selection flag of r5 moves to row 4
    EXPECT_TRUE(g->RowSelectFlag(4));
    g->UnHideRowsAll();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0  r1 r2 r4 r5 r6 r7"));
    EXPECT_EQ(g->Cells(0, 4), QStringLiteral("r4"));
    EXPECT_EQ(modified->GetInteger(4), 1);
    EXPECT_TRUE(g->RowSelectFlag(5));
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->RemoveSelectedRows(); // only the selected row goes
    EXPECT_EQ(Shown(*g), QStringLiteral("r0  r1 r2 r4 r6 r7"));
}

// The modified list after each edit, its entries joined by commas; rows 2
// and 5 are marked and the list reaches only its first `reach` rows.
TEST(ExGridRows, FlagListsMakeRoomAndCloseUpWhereTheRowsAre)
{
    struct Case {
        const char* name;
        int reach;
        std::function<void(TRowsGrid&)> act;
        const char* list;
        int selected; // where the selected row 5 ends up
    };
    const Case cases[] = {
        { "added after the last row", 8, [](TRowsGrid& g) { g.InsertRows(8, 2); }, "0,0,1,0,0,1,0,0,0,0", 5 },
        { "three in the middle", 8, [](TRowsGrid& g) { g.InsertRows(3, 3); }, "0,0,1,0,0,0,0,0,1,0,0", 8 },
        { "one at the top", 8, [](TRowsGrid& g) { g.InsertRows(0, 1); }, "0,0,0,1,0,0,1,0,0", 6 },
        { "at the end of a short list", 4, [](TRowsGrid& g) { g.InsertRows(4, 2); }, "0,0,1,0,0,0", 7 },
        { "past a short list", 4, [](TRowsGrid& g) { g.InsertRows(6, 1); }, "0,0,1,0", 5 },
        { "one removed", 8, [](TRowsGrid& g) { g.RemoveRows(2, 1); }, "0,0,0,0,1,0,0", 4 },
        { "two hidden apart", 8,
            [](TRowsGrid& g) {
                g.HideRowList({ 1, 6 });
            },
            "0,1,0,0,1,0", 4 },
        { "hidden and shown", 8, [](TRowsGrid& g) { g.HideRows(4, 6), g.UnHideRowsAll(); }, "0,0,1,0,0,1,0,0", 5 },
        { "hidden past a list cut short", 8,
            [](TRowsGrid& g) {
                g.HideRows(5, 6);
                g.ModifiedRows()->Delete(5);
                g.ModifiedRows()->Delete(4);
                g.UnHideRowsAll();
            },
            "0,0,1,0,0,1,0", 5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(8);
        TIntList* modified = g->ModifiedRows();
        for (int r = 0; r < c.reach; ++r)
            modified->Insert(r, r == 2 || r == 5 ? 1 : 0);
        g->SetRowSelect(5, true);
        c.act(*g);
        QStringList entries;
        for (int i = 0; i < modified->Count(); ++i)
            entries << QString::number(modified->GetInteger(i));
        EXPECT_EQ(entries.join(u','), QString::fromLatin1(c.list));
        for (int r = 0; r < g->RowCount(); ++r)
            EXPECT_EQ(g->RowSelectFlag(r), r == c.selected) << r;
    }
}

TEST(ExGridRows, RemoveDuplicatesKeepsTheFirstOfEach)
{
    struct Case {
        bool doCase;
        const char* shown;
    };
    const Case cases[] = {
        { false, "h a c" },
        { true, "h a A c" },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(6, 1);
        const char* texts[] = { "h", "a", "A", "a", "c", "a" };
        for (int r = 0; r < 6; ++r)
            g->SetCells(0, r, QString::fromLatin1(texts[r]));
        g->RemoveDuplicates(0, c.doCase);
        EXPECT_EQ(Shown(*g), QString::fromLatin1(c.shown));
    }
}

TEST(ExGridRows, RemoveUnSelectedRowsReadsPersistentFlagsByRealIndex)
{
    auto g = MakeGrid(8, 1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->RowSelectPersistent = true;
    g->HideRow(2);
    g->SetRowSelect(4, true); // real row 4, displayed at 3
    g->SetRowSelect(6, true);
    g->RemoveUnSelectedRows();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r4 r6"));
    g->UnHideRowsAll();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2 r4 r6"));
}

// Whether any cell of the grid still belongs to a merged area.
bool AnyMerged(const TExStringGrid& g)
{
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            if (g.IsMergedCell(c, r))
                return true;
    return false;
}

TEST(ExGridRows, MergedAreasMoveWholeAndSplitWhenCut)
{
    struct Case {
        const char* name;
        std::function<void(TRowsGrid&)> act;
        int baseRow; // where the base cell is afterwards; -1 when removed
        bool stillMerged;
    };
    const Case cases[] = {
        { "hide one of its rows", [](TRowsGrid& g) { g.HideRow(3); }, 2, false },
        { "insert inside", [](TRowsGrid& g) { g.InsertRows(3, 1); }, 2, false },
        { "remove its base row", [](TRowsGrid& g) { g.RemoveRows(2, 1); }, -1, false },
        { "move a row out of it", [](TRowsGrid& g) { g.MoveRows(4, 8, 1); }, 2, false },
        { "move a row into it", [](TRowsGrid& g) { g.MoveRows(7, 3, 1); }, 2, false },
        { "insert above", [](TRowsGrid& g) { g.InsertRows(2, 2); }, 4, true },
        { "move it whole", [](TRowsGrid& g) { g.MoveRows(2, 8, 3); }, 5, true },
        { "hide and show it whole",
            [](TRowsGrid& g) {
                g.HideRows(2, 4);
                g.UnHideRows(2, 4);
            },
            2, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(10);
        g->MergeCells(1, 2, 2, 3); // rows 2 to 4
        g->SetCells(1, 2, QStringLiteral("base"));
        c.act(*g);
        EXPECT_EQ(AnyMerged(*g), c.stillMerged);
        if (c.baseRow >= 0) {
            EXPECT_EQ(g->Cells(1, c.baseRow), QStringLiteral("base"));
        }
        if (c.stillMerged) {
            EXPECT_EQ(g->BaseCell(2, c.baseRow + 2), TPoint(1, c.baseRow));
        }
        // No covered cell reads the base text from another row.
        for (int r = 0; r < g->RowCount(); ++r)
            if (r != c.baseRow && !(c.stillMerged && r > c.baseRow && r <= c.baseRow + 2)) {
                EXPECT_NE(g->GetCellEx(2, r), QStringLiteral("base")) << r;
            }
    }
}

TEST(ExGridRows, CellControlsFollowTheirRows)
{
    auto g = MakeGrid(10);
    TPanel on3(nullptr), on6(nullptr), on8(nullptr);
    g->CellControls()->AddControl(1, 3, &on3);
    g->CellControls()->AddControl(1, 6, &on6);
    g->CellControls()->AddControl(1, 8, &on8);
    for (TPanel* p : { &on3, &on6, &on8 })
        p->SetVisible(true);
    g->HideRow(6);
    EXPECT_FALSE(on6.Visible());
    g->RemoveRows(3, 1); // the control in the removed row goes
    EXPECT_FALSE(on3.Visible());
    ASSERT_EQ(g->CellControls()->Count(), 2);
    g->InsertRows(0, 2);
    g->MoveRows(7, 1, 1); // r7, just below the hidden row
    g->UnHideRowsAll();
    EXPECT_TRUE(on6.Visible());
    // Each control's real row still holds the row it was placed on.
    for (int i = 0; i < g->CellControls()->Count(); ++i) {
        const TControlItem* item = g->CellControls()->GetControl(i);
        EXPECT_EQ(g->Cells(0, item->Y()), item->Control() == &on6 ? QStringLiteral("r6") : QStringLiteral("r8"));
    }
}

TEST(ExGridRows, RemoveDuplicatesComparesTheDisplayedColumn)
{
    auto g = MakeGrid(5, 1);
    // Column 1 is hidden: displayed column 1 is real column 2.
    const char* real1[] = { "", "x", "y", "z", "w" };
    const char* real2[] = { "", "a", "a", "b", "a" };
    for (int r = 0; r < 5; ++r) {
        g->SetCells(1, r, QString::fromLatin1(real1[r]));
        g->SetCells(2, r, QString::fromLatin1(real2[r]));
    }
    g->HideColumn(1);
    g->RemoveDuplicates(1, true);
    EXPECT_EQ(Shown(*g), "r0 r1 r3");
    EXPECT_EQ(g->Cells(1, 2), "z"); // the hidden column's cells went with their rows
}

TEST(ExGridRows, InsertGridRowInsertsAnEmptyRowAndMovesWhatFollows)
{
    auto g = MakeGrid(6, 1);
    g->SetRowHeights(2, 40);
    g->HideRow(4);
    TPanel on3(nullptr);
    g->CellControls()->AddControl(1, 3, &on3);
    g->InsertGridRow(2);
    EXPECT_EQ(Shown(*g), "r0 r1  r2 r3 r5");
    EXPECT_EQ(g->RowHeights(2), g->DefaultRowHeight());
    EXPECT_EQ(g->RowHeights(3), 40);
    EXPECT_EQ(g->CellControls()->GetControl(0)->Y(), 4);
    g->UnHideRowsAll();
    EXPECT_EQ(Shown(*g), "r0 r1  r2 r3 r4 r5");
}

TEST(ExGridRows, LinkedGridsFollowTheRowWithoutLooping)
{
    TExStringGrid a(nullptr), b(nullptr);
    a.SyncGrid()->SetGrid(&b);
    b.SyncGrid()->SetGrid(&a);
    a.SetRow(3);
    EXPECT_EQ(b.Row(), 1); // not linked by row yet
    a.SyncGrid()->SelectionRow = true;
    b.SyncGrid()->SelectionRow = true;
    a.SetRow(4);
    EXPECT_EQ(b.Row(), 4);
    b.SetRow(6);
    EXPECT_EQ(a.Row(), 6);
}

// What the grid's hooks hand on and take back.
TEST(ExGridRows, NotificationHooks)
{
    auto g = MakeGrid(6, 1);
    std::vector<int> seen;
    g->OnSelectionChanged = [&](TObject*, int l, int t, int r, int b) { seen = { l, t, r, b }; };
    EXPECT_FALSE(g->SelChange());
    g->DoSelectionChanged(1, 2, 2, 4);
    EXPECT_TRUE(g->SelChange());
    EXPECT_EQ(seen, (std::vector<int> { 1, 2, 2, 4 }));

    // The fixed-cell editor the handler leaves is the one that opens.
    TStringList values;
    g->OnFixedEdit = [&](TObject*, int c, int r, TGridFixedCellEditor& ed, TStringList* v) {
        seen = { c, r };
        ed = TGridFixedCellEditor::fceComboList;
        v->Add(QStringLiteral("one"));
    };
    TGridFixedCellEditor editor = TGridFixedCellEditor::fceEdit;
    g->DoFixedEdit(2, 0, editor, &values);
    EXPECT_EQ(seen, (std::vector<int> { 2, 0 }));
    EXPECT_EQ(editor, TGridFixedCellEditor::fceComboList);
    EXPECT_EQ(values.Count(), 1);

    // Edit mode is the select-cell handling of the current cell.
    g->SetCol(2);
    g->SetRow(3);
    g->OnSelectCell = [&](TObject*, int c, int r, bool&) { seen = { c, r }; };
    g->UpdateEditMode();
    EXPECT_EQ(seen, (std::vector<int> { 2, 3 }));

    g->IgnoreColumns()->Add(2);
    EXPECT_TRUE(g->IsIgnoredColumn(2));
    EXPECT_FALSE(g->IsIgnoredColumn(1));
}

} // namespace
