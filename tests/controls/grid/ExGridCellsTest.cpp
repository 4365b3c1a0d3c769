#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "platform/runtime/Classes.h"

namespace {

// A string grid that opens the clearing switches to the tests and records
// the change reports and footer runs.
class TCellsTestGrid : public TExStringGrid {
public:
    using TExStringGrid::FBlockCellChange;
    using TExStringGrid::FNilObjects;
    using TExStringGrid::FNormalRowCount;
    explicit TCellsTestGrid(TComponent* AOwner)
        : TExStringGrid(AOwner)
    {
        OnCellsChanged = [this](TObject*, const TRect& R) {
            Reports.push_back(R);
            Log << QStringLiteral("event");
        };
    }
    void RecalcFooter() override { Log << QStringLiteral("footer"); }
    std::vector<TRect> Reports;
    QStringList Log;
};

TColor BrushOf(TCellsTestGrid& g, int c, int r)
{
    return g.HasCellProperties(c, r) ? g.GetCellProperties(c, r)->BrushColor() : clNone;
}

std::unique_ptr<TCellsTestGrid> MakeGrid(int cols, int rows, int hidden = 0)
{
    // Cells named by their real column; hidden columns are the last ones.
    auto g = std::make_unique<TCellsTestGrid>(nullptr);
    g->SetColCount(cols + hidden);
    g->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols + hidden; ++c)
            g->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    if (hidden > 0)
        g->HideColumns(cols, cols + hidden - 1);
    return g;
}

// Counts the live instances of the graphics a clear must free.
struct TCountedGraphic : TCellGraphic {
    explicit TCountedGraphic(int& live)
        : FLive(live)
    {
        ++FLive;
    }
    ~TCountedGraphic() override { --FLive; }
    int& FLive;
};

class TRecordingNotifier : public TGridChangeNotifier {
public:
    TRecordingNotifier(QStringList& log, QString name)
        : TGridChangeNotifier(nullptr)
        , FLog(log)
        , FName(std::move(name))
    {
    }
    void CellsChanged(const TRect& R) override
    {
        FLog << QStringLiteral("%1 %2,%3,%4,%5").arg(FName).arg(R.Left).arg(R.Top).arg(R.Right).arg(R.Bottom);
    }

private:
    QStringList& FLog;
    QString FName;
};

} // namespace

// Each clearing form against a 5 x 6 grid with one hidden column (real 5):
// which real cells lose their text, and the block reported.
TEST(GridCells, ClearingFormsClearTheirBlockAndReportIt)
{
    struct Case {
        const char* name;
        std::function<void(TCellsTestGrid&)> act;
        std::optional<TRect> cleared; // real columns, inclusive; none: nothing cleared
    } cases[] = {
        { "ClearRect", [](TCellsTestGrid& g) { g.ClearRect(1, 2, 3, 4); }, Rect(1, 2, 3, 4) },
        { "ClearRect cut to the grid", [](TCellsTestGrid& g) { g.ClearRect(-3, 4, 99, 99); }, Rect(0, 4, 5, 5) },
        { "ClearRect outside", [](TCellsTestGrid& g) { g.ClearRect(1, 7, 2, 9); }, std::nullopt },
        { "ClearRows takes hidden columns", [](TCellsTestGrid& g) { g.ClearRows(2, 2); }, Rect(0, 2, 5, 3) },
        { "ClearRows without rows", [](TCellsTestGrid& g) { g.ClearRows(2, 0); }, std::nullopt },
        { "ClearCols", [](TCellsTestGrid& g) { g.ClearCols(1, 2); }, Rect(1, 0, 2, 5) },
        { "ClearNormalRows", [](TCellsTestGrid& g) { g.ClearNormalRows(3, 1); }, Rect(1, 3, 4, 3) },
        { "ClearNormalCols", [](TCellsTestGrid& g) { g.ClearNormalCols(2, 1); }, Rect(2, 1, 2, 4) },
        { "ClearNormalCells", [](TCellsTestGrid& g) { g.ClearNormalCells(); }, Rect(1, 1, 4, 4) },
        { "ClearSelection, corners either way",
            [](TCellsTestGrid& g) {
                g.SetSelection({ 3, 4, 2, 2 });
                g.ClearSelection();
            },
            Rect(2, 2, 3, 4) },
        { "Clear", [](TCellsTestGrid& g) { g.Clear(); }, Rect(0, 0, 5, 5) },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto g = MakeGrid(5, 6, 1);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->SetFixedFooters(1);
        // The hidden column is the last real one, so "before the fixed right
        // column" ends at real column 4.
        g->SetFixedRightCols(1);
        k.act(*g);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 6; ++c) {
                const bool in = k.cleared && c >= k.cleared->Left && c <= k.cleared->Right && r >= k.cleared->Top
                    && r <= k.cleared->Bottom;
                EXPECT_EQ(g->Cells(c, r).isEmpty(), in) << c << "," << r;
            }
        if (k.cleared) {
            ASSERT_EQ(g->Reports.size(), 1u);
            EXPECT_EQ(g->Reports[0], *k.cleared);
        } else {
            EXPECT_TRUE(g->Reports.empty());
        }
    }
}

// Blocks name real columns; with SaveHiddenCells a block among the displayed
// columns names displayed ones and passes the hidden column over.
TEST(GridCells, SaveHiddenCellsMapsDisplayedColumns)
{
    auto g = MakeGrid(5, 3);
    g->HideColumn(1);
    g->ClearRect(1, 0, 1, 0);
    EXPECT_TRUE(g->Cells(1, 0).isEmpty());
    EXPECT_EQ(g->Cells(2, 0), QStringLiteral("2,0"));

    g->SetSaveHiddenCells(true);
    g->Reports.clear();
    g->ClearRect(1, 1, 2, 1);
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("1,1"));
    EXPECT_TRUE(g->Cells(2, 1).isEmpty());
    EXPECT_TRUE(g->Cells(3, 1).isEmpty());
    ASSERT_EQ(g->Reports.size(), 1u);
    EXPECT_EQ(g->Reports[0], Rect(2, 1, 3, 1));

    g->SetCells(1, 2, QStringLiteral(" hidden "));
    g->SetCells(2, 2, QStringLiteral(" shown "));
    g->TrimRect(1, 2, 1, 2);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral(" hidden "));
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("shown"));

    // Clear reaches beyond the displayed columns: every real one, unmapped.
    g->Clear();
    EXPECT_TRUE(g->Cells(1, 2).isEmpty());
}

TEST(GridCells, DisjunctRowSelectionClearsTheSelectedNormalRows)
{
    auto g = MakeGrid(3, 6);
    g->SetFixedRows(1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    // Selected out of order; row 0 is fixed.
    for (int r : { 4, 0, 2 })
        g->SetRowSelect(r, true);
    g->ClearSelection();
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(g->Cells(1, r).isEmpty(), r == 2 || r == 4) << r;
    ASSERT_EQ(g->Reports.size(), 2u);
    EXPECT_EQ(g->Reports[0], Rect(0, 2, 2, 2));
    EXPECT_EQ(g->Reports[1], Rect(0, 4, 2, 4));
}

// The grid forgets it has cell properties only when it freed them all; else
// the properties left would read as absent and leak.
TEST(GridCells, WholeGridClearForgetsPropertiesOnlyWhenNoneIsLeft)
{
    struct Case {
        const char* name;
        int hidden;
        bool textOnly, nilObjects, hiddenRowProps;
        bool propsLeft;
    } cases[] = {
        { "all freed", 0, false, false, false, false },
        { "ClearTextOnly keeps them", 0, true, false, false, true },
        { "dropped objects belong to another row", 0, false, true, false, true },
        { "a hidden column keeps its colour", 1, false, false, false, true },
        { "a hidden row keeps its colour", 0, false, false, true, true },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto g = MakeGrid(4, 5, k.hidden);
        g->SetClearTextOnly(k.textOnly);
        g->FNilObjects = k.nilObjects;
        g->ColorRect(0, 0, 3 + k.hidden, 4, clRed);
        std::vector<std::unique_ptr<TCellProperties>> moved;
        if (k.nilObjects)
            for (int r = 0; r < 5; ++r)
                for (int c = 0; c < 4; ++c)
                    moved.emplace_back(g->GetCellProperties(c, r));
        if (k.hiddenRowProps)
            g->HideRow(4); // its record keeps the row's coloured cells
        // The displayed block from (0, 0): with hidden columns they stay.
        g->ClearRect(0, 0, 3, 4);
        EXPECT_EQ(g->HasCellProps(), k.propsLeft);
        if (k.hidden) {
            EXPECT_EQ(BrushOf(*g, 4, 2), clRed);
        }
        EXPECT_EQ(g->HasCellProperties(1, 1), k.textOnly);
        EXPECT_TRUE(g->Cells(1, 1).isEmpty());
    }
}

TEST(GridCells, ClearFreesCellGraphicsAndSeparateMergedCells)
{
    auto g = MakeGrid(4, 4);
    int live = 0;
    g->SetGraphicObjectEx(1, 1, new TCountedGraphic(live));
    g->MergeCells(2, 0, 2, 2);
    g->ClearRows(0, 2);
    EXPECT_EQ(live, 0);
    EXPECT_FALSE(g->IsMergedCell(3, 1));
    // The former covered cell keeps what is written to it.
    g->SetCellEx(3, 1, QStringLiteral("own"));
    EXPECT_EQ(g->Cells(3, 1), QStringLiteral("own"));
    EXPECT_TRUE(g->Cells(2, 0).isEmpty());
}

TEST(GridCells, BlockedClearReportsNothing)
{
    auto g = MakeGrid(3, 3);
    g->FBlockCellChange = true;
    g->Clear();
    EXPECT_TRUE(g->Reports.empty());
    EXPECT_TRUE(g->Cells(2, 2).isEmpty());
}

TEST(GridCells, ClearEmptiesSearchTextAndClearAllTheHiddenRows)
{
    auto g = MakeGrid(3, 3);
    g->SearchInc = QStringLiteral("ab");
    g->SetCells(1, 2, QStringLiteral("kept"));
    g->HideRow(2);
    g->Clear();
    EXPECT_TRUE(g->SearchInc.isEmpty());
    g->UnHideRow(2);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("kept"));
    g->HideRow(2);
    g->ClearAll();
    g->UnHideRow(2);
    EXPECT_TRUE(g->Cells(1, 2).isEmpty());
}

// Trimming works on what is stored: a display hook's decoration is never
// written back, and a covered cell trims its base cell.
TEST(GridCells, TrimTrimsStoredBaseTextNotDisplayText)
{
    auto g = MakeGrid(3, 3);
    g->SetCells(0, 0, QStringLiteral(" \tfixed\r\n"));
    g->SetCells(1, 1, QStringLiteral("  base "));
    g->SetCells(2, 1, QString());
    g->SetCells(2, 2, QStringLiteral("plain"));
    g->MergeCells(1, 1, 2, 1);
    // The display hooks reach the normal rows, as the row count sets them.
    g->FNormalRowCount = 3;
    g->OnGetDisplText = [](TObject*, int, int, QString& v) {
        if (!v.isEmpty())
            v = QStringLiteral(" [") + v + QStringLiteral("] ");
    };
    g->TrimRect(2, 1, 2, 1);
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("base"));
    EXPECT_TRUE(g->Cells(2, 1).isEmpty());
    ASSERT_EQ(g->Reports.size(), 1u);
    EXPECT_EQ(g->Reports[0], Rect(2, 1, 2, 1));
    g->Reports.clear();
    g->TrimAll();
    EXPECT_EQ(g->Cells(0, 0), QStringLiteral("fixed"));
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("plain"));
    g->Reports.clear();
    g->TrimAll();
    EXPECT_TRUE(g->Reports.empty());
}

TEST(GridCells, MergeColumnCellsMergesRunsOfNormalRows)
{
    // Rows 1-5 normal, row 6 footer; column 1 runs a,a | b,b,b; column 2
    // x,x,x,x,y: without MainMerge its runs stay inside column 1's areas.
    auto g = MakeGrid(3, 7);
    g->SetFixedRows(1);
    g->SetFixedFooters(1);
    const QStringList c1 { "h", "a", "a", "b", "b", "b", "b" };
    const QStringList c2 { "h", "x", "x", "x", "x", "y", "y" };
    for (int r = 0; r < 7; ++r) {
        g->SetCells(1, r, c1[r]);
        g->SetCells(2, r, c2[r]);
    }
    g->MergeColumnCells(1, true);
    EXPECT_EQ(g->FullCell(1, 2), Rect(1, 1, 1, 2));
    EXPECT_EQ(g->FullCell(1, 4), Rect(1, 3, 1, 5));
    EXPECT_FALSE(g->IsMergedCell(1, 0));
    EXPECT_FALSE(g->IsMergedCell(1, 6));
    g->MergeColumnCells(2, false);
    EXPECT_EQ(g->FullCell(2, 1), Rect(2, 1, 2, 2));
    EXPECT_EQ(g->FullCell(2, 3), Rect(2, 3, 2, 4));
    EXPECT_FALSE(g->IsMergedCell(2, 5));

    g->SplitColumnCells(1);
    for (int r = 0; r < 7; ++r)
        EXPECT_FALSE(g->IsMergedCell(1, r)) << r;
    EXPECT_TRUE(g->IsMergedCell(2, 4));
    g->SplitAllCells();
    EXPECT_FALSE(g->IsMergedCell(2, 4));
}

TEST(GridCells, MergeRowCellsLeavesSingleCellsInTheirAreas)
{
    auto g = MakeGrid(5, 4);
    g->SetFixedCols(1);
    const QStringList row { "h", "a", "a", "b", "c" };
    for (int c = 0; c < 5; ++c)
        g->SetCells(c, 1, row[c]);
    // Column 3 is merged down rows 1-2; a one-cell run must not cut it.
    g->MergeCells(3, 1, 1, 2);
    g->MergeRowCells(1, true);
    EXPECT_EQ(g->FullCell(2, 1), Rect(1, 1, 2, 1));
    EXPECT_EQ(g->FullCell(3, 2), Rect(3, 1, 3, 2));
    EXPECT_FALSE(g->IsMergedCell(4, 1));
    g->SplitRowCells(1);
    EXPECT_FALSE(g->IsMergedCell(2, 1));
    EXPECT_FALSE(g->IsMergedCell(3, 2));
}

// Real column 2 is hidden: shown columns 0-4 are real 0, 1, 3, 4, 5. Row
// merges work on the shown cells, splits reach every real column.
TEST(GridCells, MergingAndSplittingWithAHiddenInnerColumn)
{
    struct Area {
        int Col, Row; // real column
        TRect Full; // the area holding it, real columns
    };
    struct Case {
        const char* Name;
        std::function<void(TCellsTestGrid&)> Run;
        std::vector<Area> Expected;
    };
    const auto row1 = [](TCellsTestGrid& g, const QStringList& texts) {
        for (int c = 1; c < 6; ++c)
            g.SetCells(c, 1, texts[c - 1]);
    };
    const Case cases[] = {
        { "row merge joins shown neighbours across the hidden column",
            [&](TCellsTestGrid& g) {
                row1(g, { "a", "hidden", "a", "b", "b" });
                g.MergeRowCells(1, true);
            },
            { { 3, 1, Rect(1, 1, 3, 1) }, { 5, 1, Rect(4, 1, 5, 1) } } },
        { "row merge keeps shown cells that differ apart",
            [&](TCellsTestGrid& g) {
                row1(g, { "a", "a", "b", "b", "c" });
                g.MergeRowCells(1, true);
            },
            { { 1, 1, Rect(1, 1, 1, 1) }, { 3, 1, Rect(3, 1, 4, 1) }, { 5, 1, Rect(5, 1, 5, 1) } } },
        { "row merge of a subordinate row follows the areas above",
            [&](TCellsTestGrid& g) {
                // Real columns 1-3 are merged alike in rows 1 and 3; 4 is
                // merged with 1-3 in row 3, 5 is not.
                g.MergeCells(1, 1, 3, 1);
                g.MergeCells(1, 3, 4, 1);
                row1(g, { "a", "x", "a", "b", "b" });
                for (int c = 1; c < 6; ++c)
                    g.SetCells(c, 2, g.Cells(c, 1));
                g.MergeRowCells(2, false);
            },
            { { 3, 2, Rect(1, 2, 3, 2) }, { 4, 2, Rect(4, 2, 4, 2) }, { 5, 2, Rect(5, 2, 5, 2) } } },
        { "row split reaches the last shown column",
            [](TCellsTestGrid& g) {
                g.MergeCells(4, 1, 2, 1);
                g.SplitRowCells(1);
            },
            { { 4, 1, Rect(4, 1, 4, 1) }, { 5, 1, Rect(5, 1, 5, 1) } } },
        { "column merge in the last real column",
            [](TCellsTestGrid& g) {
                g.SetCells(5, 1, "m");
                g.SetCells(5, 2, "m");
                g.MergeColumnCells(5, true);
            },
            { { 5, 2, Rect(5, 1, 5, 2) } } },
        { "column split in the last real column",
            [](TCellsTestGrid& g) {
                g.MergeCells(5, 1, 1, 2);
                g.SplitColumnCells(5);
            },
            { { 5, 2, Rect(5, 2, 5, 2) } } },
        { "split all reaches the last real column and the hidden one",
            [](TCellsTestGrid& g) {
                g.MergeCells(5, 1, 1, 2);
                g.MergeCells(2, 2, 1, 2);
                g.SplitAllCells();
            },
            { { 5, 2, Rect(5, 2, 5, 2) }, { 2, 3, Rect(2, 3, 2, 3) } } },
        { "a change of the merged columns splits the last real column",
            [](TCellsTestGrid& g) {
                g.MergeCells(5, 1, 1, 2);
                g.MergedColumns()->Add(1);
            },
            { { 5, 2, Rect(5, 2, 5, 2) } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto g = MakeGrid(6, 5);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->HideColumn(2);
        c.Run(*g);
        for (const Area& a : c.Expected)
            EXPECT_EQ(g->FullCell(a.Col, a.Row), a.Full) << a.Col << "," << a.Row;
    }
}

TEST(GridCells, MergeColsJoinsTextsAndRemovesTheSecondColumn)
{
    struct Case {
        QString separator;
        QString second;
        QString joined;
    } cases[] = {
        { " ", "b", "a b" },
        { " ", "", "a" },
        { ",", "", "a," },
        { ", ", " b ", "a,  b" },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE((k.separator + u'|' + k.second).toStdString());
        auto g = MakeGrid(4, 3);
        g->SetFixedRows(1);
        g->SetCells(1, 2, QStringLiteral(" a"));
        g->SetCells(2, 2, k.second);
        g->SetCells(3, 2, QStringLiteral("next"));
        g->MergeCols(1, 2, k.separator);
        EXPECT_EQ(g->Cells(1, 2), k.joined);
        // The fixed row is left as it is.
        EXPECT_EQ(g->Cells(1, 0), QStringLiteral("1,0"));
        EXPECT_EQ(g->ColCount(), 3);
        EXPECT_EQ(g->Cells(2, 2), QStringLiteral("next"));
    }
}

TEST(GridCells, MergeColsOfAColumnWithItselfDoesNothing)
{
    auto g = MakeGrid(3, 3);
    g->MergeCols(1, 1, QStringLiteral(" "));
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("1,2"));
    EXPECT_TRUE(g->Reports.empty());
}

TEST(GridCells, UsedCells)
{
    struct Case {
        const char* name;
        std::vector<TPoint> texts;
        TPoint merged; // base of a 2 x 2 area, (-1, -1) none
        int hidden; // real column hidden, -1 none
        TGridRect used; // displayed columns
    } cases[] = {
        { "empty", {}, { -1, -1 }, -1, { 0, 0, 0, 0 } },
        { "only the corner", { { 0, 0 } }, { -1, -1 }, -1, { 0, 0, 0, 0 } },
        { "two cells", { { 2, 3 }, { 5, 1 } }, { -1, -1 }, -1, { 2, 1, 5, 3 } },
        { "covered cells show their base text", { { 1, 1 } }, { 1, 1 }, -1, { 1, 1, 2, 2 } },
        { "a hidden column's text is not used", { { 2, 3 }, { 5, 1 } }, { -1, -1 }, 5, { 2, 3, 2, 3 } },
        { "displayed columns after a hidden one", { { 2, 3 }, { 5, 1 } }, { -1, -1 }, 0, { 1, 1, 4, 3 } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto g = std::make_unique<TCellsTestGrid>(nullptr);
        g->SetColCount(7);
        g->SetRowCount(5);
        for (TPoint p : k.texts)
            g->SetCells(p.X, p.Y, QStringLiteral("t"));
        if (k.merged.X >= 0)
            g->MergeCells(k.merged.X, k.merged.Y, 2, 2);
        if (k.hidden >= 0)
            g->HideColumn(k.hidden);
        EXPECT_EQ(g->UsedCells(), k.used);
    }
}

TEST(GridCells, ChangeReportReachesEventThenNotifiersThenFooter)
{
    auto g = MakeGrid(3, 3);
    TRecordingNotifier a(g->Log, QStringLiteral("a"));
    auto b = std::make_unique<TRecordingNotifier>(g->Log, QStringLiteral("b"));
    g->RegisterNotifier(&a);
    g->RegisterNotifier(b.get());
    g->RegisterNotifier(&a);
    EXPECT_EQ(g->NotifierCount(), 2);
    g->ClearRect(1, 0, 2, 1);
    EXPECT_EQ(g->Log, QStringList({ "event", "a 1,0,2,1", "b 1,0,2,1", "footer" }));

    g->Log.clear();
    g->UnRegisterNotifier(&a);
    // A notifier freed while registered leaves the list with it.
    b.reset();
    EXPECT_EQ(g->NotifierCount(), 0);
    g->ClearRows(0, 1);
    EXPECT_EQ(g->Log, QStringList({ "event", "footer" }));
}

TEST(GridCells, CellTests)
{
    auto g = MakeGrid(3, 3);
    g->SetCells(2, 1, QStringLiteral("needle"));
    g->SetCells(0, 2, QStringLiteral("needle"));
    g->SetCells(1, 0, QStringLiteral("a needle"));
    int c = -1, r = -1;
    EXPECT_TRUE(g->IsCell(QStringLiteral("needle"), c, r));
    EXPECT_EQ(TPoint(c, r), TPoint(2, 1));
    EXPECT_FALSE(g->IsCell(QStringLiteral("needl"), c, r));

    g->SetCells(1, 1, QStringLiteral("|\\") + QChar(0) + QChar(0x41));
    EXPECT_TRUE(g->IsWideCell(1, 1));
    EXPECT_FALSE(g->IsWideCell(2, 1));
    EXPECT_FALSE(g->IsWideCell(9, 9));
}

TEST(GridCells, ColorRectColoursTheBlockCutToTheGrid)
{
    auto g = MakeGrid(3, 3);
    g->ColorRect(1, 1, 9, 9, clBlue);
    EXPECT_EQ(BrushOf(*g, 2, 2), clBlue);
    EXPECT_EQ(BrushOf(*g, 1, 1), clBlue);
    EXPECT_FALSE(g->HasCellProperties(0, 1));
}

TEST(GridCells, FixedRowHeightSizesOnlyTheFixedRows)
{
    auto g = MakeGrid(4, 5);
    g->SetFixedRows(2);
    g->SetFixedCols(1);
    g->SetRowHeights(3, 40);
    g->SetFixedRowHeight(30);
    EXPECT_EQ(g->RowHeights(0), 30);
    EXPECT_EQ(g->RowHeights(1), 30);
    EXPECT_EQ(g->RowHeights(2), g->DefaultRowHeight());
    // Back to the default height: the sized normal row keeps its own.
    g->SetFixedRowHeight(g->DefaultRowHeight());
    EXPECT_EQ(g->RowHeights(1), g->DefaultRowHeight());
    EXPECT_EQ(g->RowHeights(3), 40);

    g->BeginLoading();
    g->SetFixedRowHeight(12);
    EXPECT_EQ(g->RowHeights(0), g->DefaultRowHeight());
    EXPECT_EQ(g->FixedRowHeight(), 12);
}
