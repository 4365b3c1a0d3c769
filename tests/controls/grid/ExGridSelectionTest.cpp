// The string grid's selection lists and per-row state: disjunct row, column
// and cell selection and their counts, modified and enabled rows, repaints,
// the column order, the visual-style colours, scaling, the fixed-cell
// editors' change event and the placement of rotated text.

#include <gtest/gtest.h>

#include "GridDataTestSupport.h"
#include "common/GridOnForm.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"

#include <QStringList>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

namespace {

// Reaches the lists the selection code keeps.
class TSelGrid : public TCountingGrid {
public:
    using TCountingGrid::TCountingGrid;
    int RowFlagCount() const { return int(FRowSelect.size()); }
    // The selected normal rows in the order selected.
    std::vector<int> SelectedRows() const { return SelectedRowList(); }
    TIntList* ModifiedList() const { return FModifiedRows.get(); }
    TIntList* Order() const { return FColumnOrder.get(); }
    void Scale(int M, int D) { HandleChangeScale(M, D); }
    void SetFixedEdit(int ACol, int ARow) { FFixedColEdit = ACol, FFixedRowEdit = ARow; }
    // Grouped without building groups.
    void MarkGrouped(int ACol) { FGroupColumn = ACol; }
};

std::unique_ptr<TSelGrid> MakeGrid(int cols, int rows, int fixedRows = 0)
{
    auto g = std::make_unique<TSelGrid>(nullptr);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetFixedRows(fixedRows);
    g->SetFixedCols(0);
    return g;
}

std::vector<int> ListOf(const TIntList& l)
{
    std::vector<int> v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l.Integers(i));
    return v;
}

// The texts of row 0, displayed columns in order.
QString Headers(const TExStringGrid& g)
{
    QString s;
    for (int c = 0; c < g.ColCount(); ++c)
        s += g.Cells(g.RealColIndex(c), 0);
    return s;
}

// ---------------------------------------------------------------------------
// Rows

TEST(ExGridSelection, RowSelectRangeErrors)
{
    auto g = MakeGrid(2, 3);
    g->MouseActions()->SetDisjunctRowSelect(true);
    struct Case {
        const char* name;
        std::function<void()> call;
        std::optional<QString> message;
    };
    const Case cases[] = {
        { "read beyond", [&] { (void)g->RowSelect(5); }, QStringLiteral("Invalid row 5 accessed") },
        { "read negative", [&] { (void)g->RowSelect(-1); }, QStringLiteral("Invalid row -1 accessed") },
        { "read last", [&] { (void)g->RowSelect(2); }, std::nullopt },
        { "write beyond", [&] { g->SetRowSelect(3, true); }, QStringLiteral("Invalid row accessed") },
        { "write negative", [&] { g->SetRowSelect(-1, false); }, QStringLiteral("Invalid row accessed") },
        { "column read beyond", [&] { (void)g->ColSelect(2); }, QStringLiteral("Invalid column accessed") },
        { "column write negative", [&] { g->SetColSelect(-1, true); }, QStringLiteral("Invalid column accessed") },
    };
    for (const Case& c : cases) {
        std::optional<QString> raised;
        try {
            c.call();
        } catch (const EExGridError& e) {
            raised = e.Message();
        }
        EXPECT_EQ(raised, c.message) << c.name;
    }
    EXPECT_TRUE(g->SelectedRows().empty());
}

TEST(ExGridSelection, PersistentReadsOutsideTheGridWithoutRaising)
{
    auto g = MakeGrid(2, 3);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->RowSelectPersistent = true;
    EXPECT_FALSE(g->RowSelect(5));
    EXPECT_EQ(g->RowFlagCount(), 6);
    // A negative row has no flag and the list stays as it is.
    EXPECT_FALSE(g->RowSelect(-3));
    EXPECT_EQ(g->RowFlagCount(), 6);
}

TEST(ExGridSelection, RowSelectOutsideDisjunctModeReadsTheSelection)
{
    auto g = MakeGrid(3, 8, 1);
    g->SetSelection({ 1, 5, 2, 2 }); // dragged upwards: anchor below the current row
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(g->RowSelect(r), r >= 2 && r <= 5) << r;
    EXPECT_EQ(g->RowSelectCount(), 4);
}

TEST(ExGridSelection, RowFlagWritesAskTellAndKeepTheOrderedList)
{
    auto g = MakeGrid(2, 6, 1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<int> asked, told;
    bool allow = true;
    g->OnRowDisjunctSelect = [&](TObject*, int r, bool, bool& a) { asked.push_back(r), a = allow; };
    g->OnRowDisjunctSelected = [&](TObject*, int r) { told.push_back(r); };

    g->SetRowSelect(4, true);
    g->SetRowSelect(2, true);
    g->SetRowSelect(0, true); // a fixed row: flagged, not listed
    EXPECT_TRUE(g->RowSelect(0));
    EXPECT_EQ(g->SelectedRows(), (std::vector<int> { 4, 2 }));
    EXPECT_EQ(g->RowSelectCount(), 3);

    // A row equal to the list's length is asked about too; a flag that does
    // not change is not.
    asked.clear();
    ASSERT_EQ(g->RowFlagCount(), 5);
    g->SetRowSelect(5, false);
    g->SetRowSelect(4, true);
    EXPECT_EQ(asked, std::vector<int> { 5 });

    // Refused: nothing changes and nothing is told.
    allow = false;
    told.clear();
    g->SetRowSelect(2, false);
    EXPECT_TRUE(g->RowSelect(2));
    EXPECT_TRUE(told.empty());

    allow = true;
    g->SetRowSelect(4, false);
    EXPECT_EQ(g->SelectedRows(), std::vector<int> { 2 });
    EXPECT_EQ(g->SelectedRowCount(), 1);
    EXPECT_EQ(g->GetSelectedRow(0), 2);
    EXPECT_EQ(g->GetSelectedRow(1), -1);
}

TEST(ExGridSelection, ClearRowSelectEmptiesFlagsAndList)
{
    auto g = MakeGrid(2, 6, 1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->ClearRowSelect(); // no flag was ever written
    EXPECT_EQ(g->RowSelectCount(), 0);

    g->SelectRows(1, 3);
    g->ClearRowSelect();
    EXPECT_EQ(g->RowSelectCount(), 0);
    EXPECT_TRUE(g->SelectedRows().empty());
}

TEST(ExGridSelection, SelectRowsClipsToTheGrid)
{
    for (bool disjunct : { false, true }) {
        SCOPED_TRACE(disjunct);
        auto g = MakeGrid(4, 10, 1);
        g->SetFixedCols(1);
        g->MouseActions()->SetDisjunctRowSelect(disjunct);
        g->SelectRows(8, 5);
        EXPECT_EQ(g->RowSelectCount(), 2);
        for (int r = 0; r < 10; ++r)
            EXPECT_EQ(g->RowSelect(r), r >= 8) << r;
        if (!disjunct) {
            const TGridRect s = g->Selection();
            EXPECT_EQ(s.Left, 1);
            EXPECT_EQ(s.Right, 3);
        }
    }
}

TEST(ExGridSelection, PersistentSelectionFollowsRealRows)
{
    auto g = MakeGrid(2, 8, 1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->RowSelectPersistent = true;
    g->HideRow(2);
    g->SelectRows(2, 2); // displayed 2 and 3 are real 3 and 4
    EXPECT_EQ(g->SelectedRows(), (std::vector<int> { 3, 4 }));
    g->UnHideRowsAll();
    g->UnSelectRows(3, 1);
    EXPECT_EQ(g->SelectedRows(), std::vector<int> { 4 });
}

TEST(ExGridSelection, SelectionCopiesIntoRowFlags)
{
    auto g = MakeGrid(2, 8, 1);
    g->SetFixedFooters(1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    g->SetSelection({ 0, 5, 1, 7 }); // reaches into the footer row
    g->SelectionToRowSelect(false);
    EXPECT_EQ(g->SelectedRows(), (std::vector<int> { 1, 5, 6 }));
    g->SelectionToRowSelect(true);
    EXPECT_EQ(g->SelectedRows(), (std::vector<int> { 5, 6 }));
}

// Every edit that moves rows carries their selection along: clearing,
// counting and listing the selected rows reach the rows the user picked.
TEST(ExGridSelection, DisjunctSelectionMovesWithTheRows)
{
    struct Case {
        const char* name;
        bool persistent;
        std::function<void(TSelGrid&)> edit;
        std::vector<int> listed; // in the order selected
        const char* cleared; // column 1 after ClearSelection, every row shown
    };
    const Case cases[] = {
        { "removal above", false, [](TSelGrid& g) { g.RemoveRows(1, 1); }, { 2, 4 }, "r2 _ r4 _ r6" },
        { "insertion above", false, [](TSelGrid& g) { g.InsertRows(1, 1); }, { 4, 6 }, "_ r1 r2 _ r4 _ r6" },
        { "descending sort following the rows", false,
            [](TSelGrid& g) {
                g.Navigation()->MoveRowOnSort = true;
                g.SortSettings()->Column = 1;
                g.SortSettings()->Direction = TSortDirection::sdDescending;
                g.TExStringGrid::QSort(); // the counting grid only counts sorts
            },
            { 4, 2 }, "r6 _ r4 _ r2 r1" },
        { "row above hidden", false, [](TSelGrid& g) { g.HideRow(1); }, { 2, 4 }, "r1 r2 _ r4 _ r6" },
        { "persistent, row above hidden", true, [](TSelGrid& g) { g.HideRow(1); }, { 3, 5 }, "r1 r2 _ r4 _ r6" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(2, 7, 1);
        for (int r = 1; r < 7; ++r)
            g->SetCells(1, r, QStringLiteral("r%1").arg(r));
        g->MouseActions()->SetDisjunctRowSelect(true);
        g->MouseActions()->RowSelectPersistent = c.persistent;
        g->SetRowSelect(3, true);
        g->SetRowSelect(5, true);
        c.edit(*g);
        EXPECT_EQ(g->SelectedRowCount(), 2);
        std::vector<int> listed;
        for (int i = 0; g->GetSelectedRow(i) != -1; ++i)
            listed.push_back(g->GetSelectedRow(i));
        EXPECT_EQ(listed, c.listed);
        g->ClearSelection();
        g->UnHideRowsAll();
        QStringList texts;
        for (int r = 1; r < g->RowCount(); ++r)
            texts << (g->Cells(1, r).isEmpty() ? QStringLiteral("_") : g->Cells(1, r));
        EXPECT_EQ(texts.join(u' ').toStdString(), c.cleared);
    }
}

// Moving the current row in disjunct mode selects the row it lands on; the
// rows selected before keep their flags.
TEST(ExGridSelection, RowWriteSelectsTheNewCurrentRowInDisjunctMode)
{
    for (const bool disjunct : { false, true }) {
        SCOPED_TRACE(disjunct);
        auto g = MakeGrid(2, 6, 1);
        g->MouseActions()->SetDisjunctRowSelect(disjunct);
        if (disjunct)
            g->SetRowSelect(2, true);
        g->SetRow(4);
        EXPECT_TRUE(g->RowSelect(4));
        EXPECT_EQ(g->RowSelect(2), disjunct);
        EXPECT_EQ(g->SelectedRowCount(), disjunct ? 2 : 1);
    }
}

// Rows cut off by a smaller row count take their states with them: the rows
// that come with a larger count again start plain.
TEST(ExGridSelection, RowsCutByTheRowCountLeaveNoStatesBehind)
{
    auto g = MakeGrid(2, 10, 1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(8, true);
    g->SetRowModified(8, true);
    g->SetRowEnabled(8, false);
    g->SetRowCount(5);
    g->SetRowCount(10);
    EXPECT_FALSE(g->RowSelect(8));
    EXPECT_EQ(g->SelectedRowCount(), 0);
    EXPECT_FALSE(g->RowModified(8));
    EXPECT_TRUE(g->RowEnabled(8));
}

TEST(ExGridSelection, ColumnFlags)
{
    auto g = MakeGrid(6, 4, 1);
    g->SetFixedCols(1);
    g->MouseActions()->SetDisjunctColSelect(true);
    g->SelectCols(4, 5); // 4 and 5 only
    g->SelectCols(2, 1);
    EXPECT_EQ(g->ColSelectCount(), 3);
    EXPECT_EQ(g->SelectedColCount(), 3);
    g->UnSelectCols(4, 1);
    EXPECT_FALSE(g->ColSelect(4));
    EXPECT_TRUE(g->ColSelect(5));
    g->SetSelection({ 1, 1, 2, 1 });
    g->SelectionToColSelect(true);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(g->ColSelect(c), c == 1 || c == 2) << c;
    g->ClearColSelect();
    EXPECT_EQ(g->ColSelectCount(), 0);

    g->MouseActions()->SetDisjunctColSelect(false);
    g->SelectCols(2, 3);
    const TGridRect s = g->Selection();
    EXPECT_EQ(s.Left, 2);
    EXPECT_EQ(s.Right, 4);
    EXPECT_EQ(s.Top, 1);
    EXPECT_EQ(s.Bottom, 3);
    EXPECT_EQ(g->ColSelectCount(), 3);
}

TEST(ExGridSelection, DisablingTheCurrentRowMovesTheCursor)
{
    struct Case {
        const char* name;
        std::vector<int> disabledBefore;
        bool value;
        int rowAfter;
    };
    const Case cases[] = {
        { "first other enabled normal row", { 1 }, false, 2 },
        { "none left: the cursor stays", { 1, 2, 4 }, false, 3 },
        { "enabling keeps the cursor", {}, true, 3 },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(2, 5, 1);
        for (int r : c.disabledBefore)
            g->SetRowEnabled(r, false);
        g->SetRow(3);
        g->SetRowEnabled(3, c.value);
        EXPECT_EQ(g->Row(), c.rowAfter) << c.name;
        EXPECT_EQ(g->RowEnabled(3), c.value) << c.name;
        EXPECT_TRUE(g->UseEnabledRows());
    }
    auto fresh = MakeGrid(2, 5, 1);
    EXPECT_TRUE(fresh->RowEnabled(40));
    EXPECT_FALSE(fresh->UseEnabledRows());
}

TEST(ExGridSelection, ModifiedRowsGrowOnWrite)
{
    auto g = MakeGrid(2, 20);
    for (int r = 0; r < 3; ++r)
        g->ModifiedList()->Add(0);
    g->SetRowModified(12, true);
    EXPECT_EQ(g->ModifiedList()->Count(), 13);
    for (int r = 3; r < 12; ++r)
        EXPECT_FALSE(g->RowModified(r)) << r;
    EXPECT_TRUE(g->RowModified(12));
    EXPECT_FALSE(g->RowModified(30));
    g->SetRowModified(1, true);
    EXPECT_EQ(g->ModifiedRowCount(), 2);
    g->ClearModifiedRows();
    EXPECT_EQ(g->ModifiedRowCount(), 0);
}

TEST(ExGridSelection, SwapCellsMovesPropertiesWithTheText)
{
    auto g = MakeGrid(3, 3);
    g->SetCells(0, 0, QStringLiteral("a"));
    g->SetCells(2, 1, QStringLiteral("b"));
    TCellProperties* props = g->GetCellProperties(0, 0);
    props->SetBrushColor(clRed);
    g->SwapCells({ 0, 0 }, { 2, 1 });
    EXPECT_EQ(g->Cells(0, 0), QStringLiteral("b"));
    EXPECT_EQ(g->Cells(2, 1), QStringLiteral("a"));
    EXPECT_FALSE(g->HasCellProperties(0, 0));
    ASSERT_EQ(g->GetCellProperties(2, 1), props);
    EXPECT_EQ(props->OwnerCol(), 2);
    EXPECT_EQ(props->OwnerRow(), 1);
}

// ---------------------------------------------------------------------------
// Repaints

TEST(ExGridSelection, RepaintsCoverWhatChanged)
{
    TGridOnForm<TSelGrid> form(6, 40, 300, 200);
    TSelGrid& g = *form.Grid;
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.MouseActions()->SetDisjunctColSelect(true);

    // A flag that changes repaints its row's visible band, one that stays does not.
    g.ResetCounts();
    g.SetRowSelect(3, true);
    g.SetRowSelect(3, true);
    ASSERT_EQ(g.Rects.size(), 1u);
    EXPECT_EQ(g.Rects[0].Top, 3);
    EXPECT_EQ(g.Rects[0].Bottom, 3);
    EXPECT_EQ(g.Rects[0].Left, 0);
    EXPECT_GE(g.Rects[0].Right, g.LeftCol() + g.VisibleColCount() - 1);

    g.ResetCounts();
    g.SetColSelect(2, true);
    g.SetColSelect(2, true);
    ASSERT_EQ(g.Rects.size(), 1u);
    EXPECT_EQ(g.Rects[0].Left, 2);
    EXPECT_EQ(g.Rects[0].Right, 2);

    struct Case {
        const char* name;
        TGridRect r;
        int wholeRepaints;
        std::size_t blocks;
    };
    const Case cases[] = {
        { "inside the view", { 1, 1, 2, 3 }, 0, 1 },
        { "wholly below the view", { 1, 35, 2, 38 }, 1, 0 },
        { "a negative side", { -1, 1, 2, 3 }, 0, 0 },
    };
    for (const Case& c : cases) {
        g.ResetCounts();
        g.RepaintRect(c.r);
        EXPECT_EQ(g.Repaints, c.wholeRepaints) << c.name;
        EXPECT_EQ(g.Rects.size(), c.blocks) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Disjunct cells and selection counts

TEST(ExGridSelection, DisjunctCellsKeepOneEntryPerCellAndWholeIndices)
{
    auto g = MakeGrid(4, 4);
    g->MouseActions()->SetDisjunctCellSelect(true);
    g->SetSelectedCells(2, 3, true);
    g->SetSelectedCells(2, 3, true);
    EXPECT_EQ(g->SelectedCellsCount(), 1);
    EXPECT_EQ(g->GetSelectedCell(0), (TGridCoord { 2, 3 }));

    // Keys that a 16-bit packing would fold onto each other.
    g->SetSelectedCells(65536, 0, true);
    g->SetSelectedCells(0, 1, true);
    g->SetSelectedCells(1, 70000, true);
    EXPECT_EQ(g->SelectedCellsCount(), 4);
    EXPECT_EQ(g->GetSelectedCell(1), (TGridCoord { 65536, 0 }));
    EXPECT_EQ(g->GetSelectedCell(3), (TGridCoord { 1, 70000 }));
    EXPECT_FALSE(g->GetSelectedCells(0, 0));
    EXPECT_TRUE(g->GetSelectedCells(0, 1));

    g->SetSelectedCells(2, 3, false);
    EXPECT_FALSE(g->GetSelectedCells(2, 3));
    EXPECT_EQ(g->GetSelectedCell(0), (TGridCoord { 65536, 0 }));
    g->ClearSelectedCells();
    EXPECT_EQ(g->SelectedCellsCount(), 0);
}

TEST(ExGridSelection, SelectedCellsCountRebuildsFromTheRectangle)
{
    auto g = MakeGrid(4, 5, 1);
    g->SetFixedCols(1);
    g->SetSelection({ 1, 1, 2, 3 });
    EXPECT_EQ(g->SelectedCellsCount(), 6);
    EXPECT_EQ(g->GetSelectedCell(0), (TGridCoord { 1, 1 }));
    EXPECT_EQ(g->GetSelectedCell(3), (TGridCoord { 2, 1 })); // column by column
    EXPECT_TRUE(g->GetSelectedCells(2, 3));
    EXPECT_FALSE(g->GetSelectedCells(3, 3));

    g->FocusCell(3, 2);
    g->SetCol(3), g->SetRow(2);
    EXPECT_EQ(g->SelectedCellsCount(), 1);
    EXPECT_EQ(g->GetSelectedCell(0), (TGridCoord { 3, 2 }));
}

TEST(ExGridSelection, MergedAreasWidenSelectionCounts)
{
    struct Case {
        const char* name;
        TGridRect merge; // base cell, then extra columns and rows
        TGridRect sel;
        int cols, rows;
    };
    const Case cases[] = {
        { "starts in a three-column area, ends inside", { 1, 1, 2, 0 }, { 1, 1, 2, 1 }, 3, 1 },
        { "starts in a three-row area, ends inside", { 1, 1, 0, 2 }, { 1, 1, 1, 2 }, 1, 3 },
        { "ends on the base of an area reaching right", { 2, 1, 2, 0 }, { 1, 1, 2, 1 }, 4, 1 },
        { "ends on the base of an area reaching down", { 1, 3, 0, 2 }, { 1, 1, 1, 3 }, 1, 5 },
        { "area inside the selection", { 1, 1, 1, 1 }, { 1, 1, 4, 4 }, 4, 4 },
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(8, 8, 1);
        g->SetFixedCols(1);
        g->MergeCells(c.merge.Left, c.merge.Top, c.merge.Right + 1, c.merge.Bottom + 1);
        g->SetSelection(c.sel);
        EXPECT_EQ(g->SelectedColCount(), c.cols) << c.name;
        EXPECT_EQ(g->SelectedRowCount(), c.rows) << c.name;
    }
    // The footer rows do not count.
    auto g = MakeGrid(3, 8, 1);
    g->SetFixedFooters(2);
    g->SetSelection({ 0, 3, 1, 7 });
    EXPECT_EQ(g->SelectedRowCount(), 3);
    EXPECT_EQ(g->GetSelectedRow(0), 3);
    EXPECT_EQ(g->GetSelectedRow(4), 7);
    EXPECT_EQ(g->GetSelectedRow(5), -1);
}

// ---------------------------------------------------------------------------
// Column order and lookups

std::unique_ptr<TSelGrid> HeaderGrid(int cols)
{
    auto g = MakeGrid(cols, 3, 1);
    for (int c = 0; c < cols; ++c)
        g->SetCells(c, 0, QString::number(c));
    return g;
}

TEST(ExGridSelection, ResetColumnOrderUndoesMoves)
{
    struct Case {
        const char* name;
        std::function<void(TSelGrid&)> moves;
        const char* moved;
    };
    const Case cases[] = {
        { "1 and 3 swapped", [](TSelGrid& g) { g.MoveColumn(1, 3), g.MoveColumn(2, 1); }, "0321" },
        { "last to first, twice", [](TSelGrid& g) { g.MoveColumn(3, 0), g.MoveColumn(3, 0); }, "2301" },
        { "moved while a column is hidden",
            [](TSelGrid& g) {
                g.HideColumn(1);
                g.MoveColumn(0, 2);
            },
            "230" },
    };
    for (const Case& c : cases) {
        auto g = HeaderGrid(4);
        c.moves(*g);
        EXPECT_EQ(Headers(*g), QString::fromLatin1(c.moved)) << c.name;
        g->ResetColumnOrder();
        EXPECT_EQ(Headers(*g), QStringLiteral("0123")) << c.name;
    }

    // An entry naming no column is passed over and the passes end.
    auto g = HeaderGrid(4);
    g->MoveColumn(3, 0);
    g->Order()->SetIntegers(1, 99);
    g->ResetColumnOrder();
    EXPECT_EQ(Headers(*g), QStringLiteral("3120"));

    // Without an order taken it is taken now.
    auto fresh = HeaderGrid(3);
    fresh->ResetColumnOrder();
    EXPECT_EQ(ListOf(*fresh->Order()), (std::vector<int> { 0, 1, 2 }));
}

TEST(ExGridSelection, ColumnPositionsFollowMoves)
{
    auto g = HeaderGrid(4);
    EXPECT_EQ(g->ColumnPosition(2), 2); // no order yet
    g->MoveColumn(3, 1); // 0 3 1 2
    EXPECT_EQ(g->ColumnPosition(3), 1);
    EXPECT_EQ(g->ColumnPosition(1), 2);
    EXPECT_EQ(g->ColumnAtPosition(1), 3);
    EXPECT_EQ(g->ColumnAtPosition(3), 2);
    g->MarkGrouped(2); // grouped: positions after the group column shift
    EXPECT_EQ(g->ColumnPosition(3), 0);
    EXPECT_EQ(g->ColumnAtPosition(1), 4);
    EXPECT_EQ(g->ColumnAtPosition(2), 1);
}

TEST(ExGridSelection, ColumnByHeaderSeesHiddenColumnsAndRows)
{
    auto g = HeaderGrid(4);
    g->HideColumn(2);
    EXPECT_EQ(g->ColumnByHeader(QStringLiteral("2")), 2);
    EXPECT_EQ(g->ColumnByHeader(QStringLiteral("3")), 3);
    EXPECT_EQ(g->ColumnByHeader(QStringLiteral("x")), -1);
    // Row 0 hidden before a column was added keeps fewer texts.
    g->HideRow(0);
    g->AddColumn();
    EXPECT_EQ(g->ColumnByHeader(QStringLiteral("1")), 1);
    EXPECT_EQ(g->ColumnByHeader(QStringLiteral("")), 4);
}

TEST(ExGridSelection, CurrentWideCellLandsInTheBaseCellOfTheRealColumn)
{
    auto g = MakeGrid(5, 4, 1);
    g->HideColumn(1);
    g->MergeCells(2, 2, 2, 1); // real 2 and 3: displayed 1 and 2
    g->SetCol(2);
    g->SetRow(2);
    g->SetCurrentWideCell(QStringLiteral("w"));
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("w"));
    EXPECT_EQ(g->Cells(3, 2), QString());
    EXPECT_EQ(g->Cells(4, 2), QString());
    EXPECT_EQ(g->GetWideCells(3, 2), QStringLiteral("w"));
}

// ---------------------------------------------------------------------------
// Visual style, scaling, the fixed-cell editors

TEST(ExGridSelection, VisualStyleColours)
{
    auto g = MakeGrid(3, 3);
    const TColor color = g->Color(), line = g->GridLineColor(), fixedFont = g->FixedFont()->Color();
    const TGridOptions options = g->Options();
    ASSERT_TRUE(options & goFixedVertLine);

    g->ApplyVCLStyleColors(); // the system's own style
    EXPECT_FALSE(g->UseVCLStyles());
    EXPECT_EQ(g->Color(), color);
    EXPECT_EQ(g->GridLineColor(), line);
    EXPECT_EQ(g->Options(), options);

    TPlatformInfo facts = PlatformInfo();
    facts.VisualStyle.Name = QStringLiteral("Carbon");
    facts.VisualStyle.NormalCell = { TColor(0x202020), TColor(0x404040), TColor(0xF0F0F0) };
    facts.VisualStyle.FixedCell = { TColor(0x303030), TColor(0x505050), clNone };
    facts.VisualStyle.SelectedCell = { TColor(0x806040), clNone, TColor(0x00FFFF) };
    {
        TPlatformInfoScope scope(facts);
        g->ApplyVCLStyleColors();
        EXPECT_TRUE(g->UseVCLStyles());
        EXPECT_EQ(g->Color(), TColor(0x202020));
        EXPECT_EQ(g->GridLineColor(), TColor(0x404040));
        EXPECT_EQ(g->GridFixedLineColor(), TColor(0x505050));
        EXPECT_FALSE(g->Options() & goFixedVertLine);
        EXPECT_FALSE(g->Options() & goFixedHorzLine);
        EXPECT_EQ(g->Font()->Color(), TColor(0xF0F0F0));
        EXPECT_EQ(g->SelectionTextColor(), TColor(0x00FFFF));
        EXPECT_EQ(g->FixedFont()->Color(), fixedFont); // the style gives none
    }
    facts.VisualStyle.Enabled = false;
    TPlatformInfoScope scope(facts);
    g->ApplyVCLStyleColors();
    EXPECT_FALSE(g->UseVCLStyles());
}

TEST(ExGridSelection, ScalingSizesTheFixedAndActiveCellFonts)
{
    auto g = MakeGrid(3, 3);
    g->FixedFont()->SetSize(8);
    g->ActiveCellFont()->SetSize(10);
    g->Scale(3, 3);
    EXPECT_EQ(g->FixedFont()->Size(), 8);
    g->Scale(3, 2);
    EXPECT_EQ(g->FixedFont()->Size(), 12);
    EXPECT_EQ(g->ActiveCellFont()->Size(), 15);
}

TEST(ExGridSelection, FixedEditChangeReportsTheFixedCell)
{
    auto g = MakeGrid(3, 3, 1);
    ASSERT_NE(g->TransEdit(), nullptr);
    int col = -1, row = -1;
    QString value;
    g->OnEditChange = [&](TObject*, int c, int r, const QString& v) { col = c, row = r, value = v; };
    g->SetFixedEdit(2, 0);
    g->TransEdit()->SetText(QStringLiteral("Head"));
    g->FixedEditChange(g->TransEdit());
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(value, QStringLiteral("Head"));
}

// ---------------------------------------------------------------------------
// Rotated text

// The box the text covers when drawn from Origin at Angle: its run goes along
// (cos, -sin), its height down along (sin, cos), screen y pointing down.
TRect RotatedBox(TPoint Origin, TSize Ext, int Angle)
{
    const double t = Angle * std::numbers::pi / 180.0;
    const double ux = std::cos(t) * Ext.cx, uy = -std::sin(t) * Ext.cx;
    const double vx = std::sin(t) * Ext.cy, vy = std::cos(t) * Ext.cy;
    const double xs[] = { 0, ux, vx, ux + vx }, ys[] = { 0, uy, vy, uy + vy };
    return TRect(Origin.X + int(std::lround(*std::min_element(xs, xs + 4))),
        Origin.Y + int(std::lround(*std::min_element(ys, ys + 4))),
        Origin.X + int(std::lround(*std::max_element(xs, xs + 4))),
        Origin.Y + int(std::lround(*std::max_element(ys, ys + 4))));
}

TEST(ExGridSelection, RotatedTextSitsAlignedInsideTheCell)
{
    auto g = MakeGrid(2, 2);
    const QString text = QStringLiteral("Rotated text");
    const TSize ext = g->Canvas()->TextExtent(text);
    ASSERT_GT(ext.cx, 20);
    const TRect cell(10, 20, 210, 160);
    const TRect inner(12, 22, 208, 158);
    // Truncated extents and halvings leave a pixel or two.
    const int slack = 2;
    for (int angle : { 30, 90, 120, 180, 210, 270, 300, 0 }) {
        for (TAlignment h : { taLeftJustify, taRightJustify, taCenter }) {
            for (TVAlignment v : { TVAlignment::vtaTop, TVAlignment::vtaCenter, TVAlignment::vtaBottom }) {
                SCOPED_TRACE(testing::Message() << "angle " << angle << " h " << int(h) << " v " << int(v));
                TRect r = cell;
                g->PlaceRotatedCellText(r, angle, text, h, v);
                EXPECT_EQ(r.Right, inner.Right);
                EXPECT_EQ(r.Bottom, inner.Bottom);
                const TRect box = RotatedBox(TPoint(r.Left, r.Top), ext, angle);
                if (h == taLeftJustify)
                    EXPECT_NEAR(box.Left, inner.Left, slack);
                else if (h == taRightJustify)
                    EXPECT_NEAR(box.Right, inner.Right, slack);
                else
                    EXPECT_NEAR(box.Left - inner.Left, inner.Right - box.Right, 2 * slack);
                if (v == TVAlignment::vtaTop)
                    EXPECT_NEAR(box.Top, inner.Top, slack);
                else if (v == TVAlignment::vtaBottom)
                    EXPECT_NEAR(box.Bottom, inner.Bottom, slack);
                else
                    EXPECT_NEAR(box.Top - inner.Top, inner.Bottom - box.Bottom, 2 * slack);
            }
        }
    }
    // Upright and quarter-turned text at the top left, exactly.
    TRect r = cell;
    g->PlaceRotatedCellText(r, 0, text, taLeftJustify, TVAlignment::vtaTop);
    EXPECT_EQ(TPoint(r.Left, r.Top), TPoint(inner.Left, inner.Top));
    r = cell;
    g->PlaceRotatedCellText(r, 90, text, taLeftJustify, TVAlignment::vtaTop);
    EXPECT_EQ(TPoint(r.Left, r.Top), TPoint(inner.Left, inner.Top + ext.cx));
}

} // namespace
