// Column and row aggregates, the selection as text, the selected test and
// automatic numbering.
#include "GridColumnFixture.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Marks the grid grouped without building groups.
struct TGroupedGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    void MarkGrouped(int ACol) { FGroupColumn = ACol; }
    // What the file writers' hook heard: (state, row) pairs.
    std::vector<std::pair<int, int>> Notes;
    void ExportNotification(int AState, int ARow) override { Notes.emplace_back(AState, ARow); }
};

using TGrid = TColumnFixture<TGroupedGrid>;

TEST(ExGridCalc, ColumnAggregates)
{
    TGrid g(2, 9);
    g.Column(0, { "1", "2", "", "x" });
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, 4), 3);
    EXPECT_DOUBLE_EQ(g->ColumnAvg(0, 1, 4), 0.75);
    // Cells that are not numbers are passed over, the first one included.
    EXPECT_DOUBLE_EQ(g->ColumnMin(0, 4, 4), 0);
    EXPECT_DOUBLE_EQ(g->ColumnMax(0, 4, 1), 0);
    g.Column(0, { "x", "5", "-2", "3" });
    EXPECT_DOUBLE_EQ(g->ColumnMin(0, 1, 4), -2);
    EXPECT_DOUBLE_EQ(g->ColumnMax(0, 1, 4), 5);

    g.Column(1, { "2", "4", "4", "4", "5", "5", "7", "9" });
    EXPECT_DOUBLE_EQ(g->ColumnStdDev(1, 1, 8), 2);
    EXPECT_DOUBLE_EQ(g->ColumnStdDev(1, -1, -1), 2);
    EXPECT_DOUBLE_EQ(g->ColumnStdDev(1, 5, 4), 0) << "no rows";

    g.Column(1, { "A", "a", "B", "" });
    EXPECT_DOUBLE_EQ(g->ColumnDistinct(1, 1, 4), 3);
}

TEST(ExGridCalc, SumsReadEveryNumberFormAsTheTypedValueDoes)
{
    // Plain integers take a shorter read; every other form the general one.
    const struct {
        const char* text;
        double value;
    } cases[] = {
        { "-0012", -12 },
        { "7", 7 },
        { " 7 ", 7 },
        { "1.5", 1.5 },
        { "1,000", 1000 },
        { "<b>3</b>", 3 },
        { "123456789012345", 123456789012345.0 },
        { "1234567890123456", 1234567890123456.0 },
        { "-", 0 },
        { "", 0 },
    };
    for (const auto& c : cases) {
        TGrid g(1, 3);
        g.Column(0, { QString::fromLatin1(c.text) });
        EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, 1), c.value) << c.text;
    }
    // The display text is what is summed.
    TGrid g(1, 3);
    g.Column(0, { "4", "5" });
    int asked = 0;
    g->OnGetDisplText = [&](TObject*, int, int, QString& Value) {
        ++asked;
        Value += QLatin1Char('0');
    };
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, 2), 90);
    EXPECT_EQ(asked, 2);
    // Asked once per cell, also for texts the general conversion reads.
    g.Column(0, { "1.5", "<b>2</b>" });
    asked = 0;
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, 2), 1.5 + 20); // "1.50" and "<b>2</b>0"
    EXPECT_EQ(asked, 2);
}

// The writers' hook hears the start, every counted row and the end, from
// the minimum and the maximum as from the sum.
TEST(ExGridCalc, ColumnAggregatesReportEveryCountedRow)
{
    using Aggregate = double (TExStringGrid::*)(int, int, int);
    const std::pair<const char*, Aggregate> aggregates[] = {
        { "sum", &TExStringGrid::ColumnSum },
        { "min", &TExStringGrid::ColumnMin },
        { "max", &TExStringGrid::ColumnMax },
    };
    for (const auto& [name, aggregate] : aggregates) {
        SCOPED_TRACE(name);
        TGrid g(1, 6);
        g.Column(0, { "4", "x", "7", "1" });
        g->Notes.clear();
        (g.G->*aggregate)(0, 1, 4);
        const std::vector<std::pair<int, int>> want = {
            { TExStringGrid::esExportStart, 1 },
            { TExStringGrid::esExportNextRow, 1 },
            { TExStringGrid::esExportNextRow, 3 },
            { TExStringGrid::esExportNextRow, 4 },
            { TExStringGrid::esExportDone, 4 },
        };
        EXPECT_EQ(g->Notes, want);
    }
}

TEST(ExGridCalc, RangesStayInsideTheNormalRows)
{
    TGrid g(1, 5);
    g->SetFixedFooters(1);
    g.Column(0, { "1", "2", "3", "100" });
    // Up to RowCount: no row past the last is read, the footer not counted.
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, g->RowCount()), 6);
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, -1, -1), 6);
    g->HideRow(2);
    g->SetCells(0, 3, "6"); // the footer, displayed row 3 now
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, g->TotalRowCount()), 6) << "hidden rows count, the footer not";
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, 3), 4) << "displayed rows: the footer not";
}

// Without footer rows, RowCount as the range's end reads up to the last row.
TEST(ExGridCalc, RangeEndingAtRowCountWithoutFooter)
{
    TGrid g(1, 4);
    g.Column(0, { "1", "2", "3" });
    EXPECT_DOUBLE_EQ(g->ColumnSum(0, 1, g->RowCount()), 6);
    EXPECT_DOUBLE_EQ(g->ColumnMax(0, 1, g->RowCount()), 3);
    EXPECT_DOUBLE_EQ(g->ColumnAvg(0, 1, g->RowCount()), 2);
}

TEST(ExGridCalc, GroupedNodeRowsDoNotCount)
{
    TGrid g(2, 5);
    g.Column(1, { "10", "1", "2", "3" });
    g->AddNode(1, 4);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 4), 16) << "not grouped: every row";
    g->MarkGrouped(0);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 4), 6);
    g->ContractNode(1);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, g->TotalRowCount()), 6) << "hidden child rows still count";
}

TEST(ExGridCalc, RowAggregatesAndMergedCells)
{
    TGrid g(5, 2);
    for (int c = 0; c < 5; ++c)
        g->SetCells(c, 1, QStringList { "4", "x", "1", "6", "6" }[c]);
    EXPECT_DOUBLE_EQ(g->RowSum(1, 0, 4), 17);
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 0, 4), 17.0 / 5);
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(g->RowMin(1, 0, 4), 1);
    EXPECT_DOUBLE_EQ(g->RowMax(1, 0, 4), 6);
    g->MergeCells(3, 1, 2, 1);
    EXPECT_DOUBLE_EQ(g->RowSum(1, 0, 4), 11) << "the covered cell counts once, through its base";
}

TEST(ExGridCalc, SelectedTextAndIsSelected)
{
    TGrid g(3, 4);
    g->SetFixedRows(1);
    g->SetCells(0, 1, "p");
    g->SetCells(1, 1, "q");
    g->SetCells(0, 2, "r");
    g->SetCells(1, 2, "s");
    g->SelectCells(0, 1, 1, 2);
    EXPECT_EQ(g->SelectedText(), QStringLiteral("p\tq\r\nr\ts"));
    EXPECT_TRUE(g->IsSelected(1, 2));
    EXPECT_FALSE(g->IsSelected(2, 2));
    EXPECT_FALSE(g->IsSelected(0, 0));

    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    g->SetRowSelect(2, true);
    EXPECT_EQ(g->SelectedText(), QStringLiteral("p\tq\r\nr\ts"));
    EXPECT_TRUE(g->IsSelected(2, 2));
    EXPECT_FALSE(g->IsSelected(2, 3));

    g->SetExcelClipboardFormat(true);
    g->SetMultilinecells(true);
    g->SetCells(0, 1, "a\r\nb");
    EXPECT_TRUE(g->SelectedText().startsWith(QStringLiteral("\"a\vb\"\tq")));

    // Disjunct cells: the cells picked, nothing else.
    g->MouseActions()->SetDisjunctRowSelect(false);
    g->MouseActions()->SetDisjunctCellSelect(true);
    g->SetSelectedCells(2, 3, true);
    EXPECT_TRUE(g->IsSelected(2, 3));
    EXPECT_FALSE(g->IsSelected(2, 2));
    EXPECT_FALSE(g->IsSelected(1, 1));
}

// A rich-text cell is copied as the text it shows, not as its source.
TEST(ExGridCalc, SelectedTextGivesRichTextCellsAsPlainText)
{
    TGrid g(3, 4);
    g->SetCells(0, 1, QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\b kept}"));
    g->SetCells(1, 1, QStringLiteral("q"));
    g->SelectCells(0, 1, 1, 1);
    EXPECT_EQ(g->SelectedText(), QStringLiteral("kept\tq"));
}

TEST(ExGridCalc, AutoNumbering)
{
    struct Case {
        TSortDirection Dir;
        int Start, Offset;
        std::vector<QString> Want;
    };
    const Case cases[] = {
        { TSortDirection::sdAscending, 0, 0, { "1", "2", "3", "4" } },
        { TSortDirection::sdDescending, 0, 0, { "4", "3", "2", "1" } },
        { TSortDirection::sdAscending, 1, 10, { "", "12", "13", "14" } },
        { TSortDirection::sdDescending, 1, 10, { "14", "13", "12", "" } },
    };
    for (const Case& c : cases) {
        TGrid g(2, 6);
        g->SetFixedFooters(1);
        g->SetAutoNumberDirection(c.Dir);
        g->SetAutoNumberStart(c.Start);
        g->SetAutoNumberOffset(c.Offset);
        g->AutoNumberCol(1);
        std::vector<QString> got;
        for (int r = 1; r <= 4; ++r)
            got.push_back(g->Cells(1, r));
        EXPECT_EQ(got, c.Want) << int(c.Dir) << c.Start;
        EXPECT_EQ(g->Cells(1, 5), QString()) << "the footer stays";
        EXPECT_EQ(g->Cells(1, 0), QString());
    }
    TGrid g(4, 2);
    g->SetFixedCols(1);
    g->AutoNumberRow(1);
    EXPECT_EQ(g->Cells(0, 1), QString());
    EXPECT_EQ(g->Cells(1, 1), "1");
    EXPECT_EQ(g->Cells(3, 1), "3");
}

} // namespace
