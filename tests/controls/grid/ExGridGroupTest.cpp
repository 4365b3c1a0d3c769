#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/runtime/Classes.h"

namespace {

// One fixed row and column; each data row is {name, key, value}, in
// columns 1, 2 and 3 (more columns when a row has more texts).
std::unique_ptr<TExStringGrid> MakeGrid(const std::vector<QStringList>& rows)
{
    auto g = std::make_unique<TExStringGrid>(nullptr);
    const int cols = 1 + int(rows.front().size());
    g->SetColCount(cols);
    g->SetRowCount(1 + int(rows.size()));
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    for (int c = 1; c < cols; ++c)
        g->SetCells(c, 0, QStringLiteral("h%1").arg(c));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 1; c < cols; ++c)
            g->SetCells(c, r + 1, rows[std::size_t(r)][c - 1]);
    return g;
}

std::unique_ptr<TExStringGrid> AAB()
{
    return MakeGrid({ { "x1", "A", "1" }, { "x2", "A", "2" }, { "x3", "B", "4" } });
}

// Rows from the first normal one: "N<span>" for a node row, "S" for a
// summary row, then the texts of columns 1 on.
std::string Dump(TExStringGrid& g)
{
    QStringList rows;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        QString line = g.IsNode(r) ? QStringLiteral("N%1").arg(g.GetNodeSpan(r)) : g.IsSummary(r) ? "S" : "";
        for (int c = 1; c < g.ColCount(); ++c)
            line += u'|' + g.Cells(c, r);
        rows << line;
    }
    return rows.join(u' ').toStdString();
}

QByteArray Saved(TExStringGrid& g)
{
    TMemoryStream s;
    g.SaveToStream(&s);
    return s.Bytes();
}

} // namespace

TEST(ExGridGroup, GroupsBuildHeadersAndSummaries)
{
    struct Case {
        const char* name;
        int column;
        bool summary;
        const char* grouped;
        const char* summed; // after GroupSum of the value column
    };
    const Case cases[] = {
        { "by column 2", 2, false, "N3|A| |x1|1 |x2|2 N2|B| |x3|4", "N3|A|3.00 |x1|1 |x2|2 N2|B|4.00 |x3|4" },
        { "with summaries", 2, true, "N3|A| |x1|1 |x2|2 S|| N2|B| |x3|4 S||",
            "N3|A| |x1|1 |x2|2 S||3.00 N2|B| |x3|4 S||4.00" },
    };
    for (const Case& c : cases) {
        auto g = AAB();
        g->Grouping()->Summary = c.summary;
        g->Group(c.column);
        EXPECT_EQ(Dump(*g), c.grouped) << c.name;
        EXPECT_EQ(g->GroupColumn(), c.column) << c.name;
        EXPECT_EQ(g->Cells(2, 0), "h3") << c.name << ": the grouped column left";
        EXPECT_EQ(g->NumNodes(), 2) << c.name;
        g->GroupSum(2);
        EXPECT_EQ(Dump(*g), c.summed) << c.name;
    }
}

TEST(ExGridGroup, ByColumnOneHeaderTextsStay)
{
    auto g = MakeGrid({ { "A", "x1" }, { "B", "x2" }, { "B", "x3" } });
    g->Group(1);
    EXPECT_EQ(Dump(*g), "N2|A |x1 N3|B |x2 |x3");
}

TEST(ExGridGroup, SortsFirstUnlessTurnedOff)
{
    auto g = MakeGrid({ { "x1", "B" }, { "x2", "A" }, { "x3", "B" } });
    g->Group(2);
    EXPECT_EQ(Dump(*g), "N2|A |x2 N3|B |x1 |x3");
    g = MakeGrid({ { "x1", "B" }, { "x2", "A" }, { "x3", "B" } });
    g->SortSettings()->AutoSortForGrouping = false;
    g->Group(2);
    EXPECT_EQ(Dump(*g), "N2|B |x1 N2|A |x2 N2|B |x3");
}

// Grouping a long column finds its groups from the sort it just made; the
// same rows sorted first and grouped without a sort are found by reading the
// column. Both give the same groups, with the key the scans start from among
// the texts, at the top (descending) or the bottom.
TEST(ExGridGroup, GroupsFromTheSortAsFromTheColumn)
{
    const QString keys[] = { "k2", "", "k1", QStringLiteral("\u00FF\u00FE"), "k3" };
    std::mt19937 rnd(5);
    std::vector<QStringList> rows;
    for (int r = 0; r < 300; ++r)
        rows.push_back({ QStringLiteral("x%1").arg(r), keys[rnd() % 5], QString::number(rnd() % 10) });
    for (bool descending : { false, true })
        for (bool summary : { false, true }) {
            auto fromSort = MakeGrid(rows), fromColumn = MakeGrid(rows);
            for (TExStringGrid* g : { fromSort.get(), fromColumn.get() }) {
                g->SortSettings()->Direction = descending ? TSortDirection::sdDescending : TSortDirection::sdAscending;
                g->Grouping()->Summary = summary;
            }
            fromSort->Group(2);
            fromColumn->SortSettings()->Column = 2;
            fromColumn->QSort();
            fromColumn->SetCells(1, 1, fromColumn->Cells(1, 1));
            fromColumn->SortSettings()->AutoSortForGrouping = false;
            fromColumn->Group(2);
            const QString what = QStringLiteral("descending %1 summary %2").arg(descending).arg(summary);
            EXPECT_EQ(Dump(*fromSort), Dump(*fromColumn)) << qPrintable(what);
            EXPECT_EQ(fromSort->NumNodes(), descending ? 4 : 5) << qPrintable(what);
        }
}

// A handler the sort calls may change the texts: the groups follow the texts
// as they then stand.
TEST(ExGridGroup, GroupsFollowTextsChangedDuringTheSort)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < 100; ++r)
        rows.push_back({ QStringLiteral("x%1").arg(r), r % 3 ? "A" : "B" });
    auto g = MakeGrid(rows);
    TExStringGrid* grid = g.get();
    g->OnRowChanged = [grid](TObject*, int, int) { grid->SetCells(2, 1, "Z"); };
    g->Group(2);
    ASSERT_TRUE(g->IsNode(1));
    EXPECT_EQ(g->Cells(1, 1), "Z");
    EXPECT_EQ(g->GetNodeSpan(1), 2);
    EXPECT_EQ(g->Cells(1, 3), "A");
    EXPECT_EQ(g->NumNodes(), 3);
}

// The sort reads the texts the cells show; the groups go by the stored ones.
TEST(ExGridGroup, GroupsByStoredTextsAfterASortOnShownOnes)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < 100; ++r)
        rows.push_back({ QStringLiteral("x%1").arg(r), r % 2 ? "k1" : "k2" });
    auto g = MakeGrid(rows);
    g->OnGetDisplText = [](TObject*, int ACol, int, QString& Value) {
        if (ACol == 2 && Value == "k1")
            Value = "k2";
    };
    g->Group(2);
    EXPECT_EQ(g->NumNodes(), 100) << "every row shows k2 and keeps its place";
}

TEST(ExGridGroup, UnGroupRestoresTheFlatGrid)
{
    for (bool summary : { false, true })
        for (bool merged : { false, true }) {
            auto g = MakeGrid({ { "x1", "B", "1" }, { "x2", "A", "2" }, { "x3", "B", "4" }, { "x4", "", "8" } });
            g->SetColWidths(2, 77);
            g->SortSettings()->AutoSortForGrouping = false;
            g->Grouping()->Summary = summary;
            g->Grouping()->MergeHeader = merged;
            g->Grouping()->MergeSummary = merged;
            g->Grouping()->HeaderColor = clRed;
            g->Grouping()->SummaryColor = clBlue;
            const QByteArray before = Saved(*g);
            const std::string flat = Dump(*g);
            g->Group(2);
            ASSERT_NE(Dump(*g), flat);
            g->UnGroup();
            const QString what = QStringLiteral("summary %1 merged %2").arg(summary).arg(merged);
            EXPECT_EQ(Dump(*g), flat) << qPrintable(what);
            EXPECT_EQ(Saved(*g), before) << qPrintable(what);
            EXPECT_EQ(g->ColWidths(2), 77) << qPrintable(what);
            EXPECT_EQ(g->Cells(2, 0), "h2") << qPrintable(what);
            EXPECT_EQ(g->GroupColumn(), -1) << qPrintable(what);
            EXPECT_EQ(g->NumNodes(), 0) << qPrintable(what);
            EXPECT_EQ(g->MergeCount(), 0) << qPrintable(what);
        }
}

TEST(ExGridGroup, GroupColumnWrites)
{
    auto g = AAB();
    g->SetGroupColumn(0);
    EXPECT_EQ(g->GroupColumn(), -1);
    g->Group(0); // the fixed column
    EXPECT_EQ(g->RowCount(), 4);
    g->SetGroupColumn(2);
    EXPECT_EQ(g->RowCount(), 6);
    g->SetGroupColumn(-1);
    EXPECT_EQ(Dump(*g), "|x1|A|1 |x2|A|2 |x3|B|4");
}

TEST(ExGridGroup, CalculationsSkipContractedGroups)
{
    auto g = AAB();
    g->Group(2);
    g->GroupCount(2);
    EXPECT_EQ(Dump(*g), "N3|A|2 |x1|1 |x2|2 N2|B|1 |x3|4");
    g->SetCells(2, 1, "");
    g->SetCells(2, 4, "");
    g->ContractNode(1);
    g->GroupMax(2);
    EXPECT_EQ(g->Cells(2, 1), "") << "contracted";
    EXPECT_EQ(g->Cells(2, 2), "4.00") << "the B header, displayed row 2 now";
}

TEST(ExGridGroup, CalculationMethods)
{
    auto g = MakeGrid({ { "x1", "A", "1" }, { "x2", "A", "3" }, { "x3", "A", "a" }, { "x4", "B", "5" } });
    g->Grouping()->Summary = true;
    g->Group(2);
    g->OnGroupCalc = [](TObject*, int, int from, int to, double& res) { res = from * 100 + to; };
    struct Case {
        void (TExStringGrid::*calc)(int);
        const char* a;
        const char* b;
    };
    const Case cases[] = {
        { &TExStringGrid::GroupSum, "4.00", "5.00" },
        { &TExStringGrid::GroupAvg, "1.33", "5.00" },
        { &TExStringGrid::GroupMin, "1.00", "5.00" },
        { &TExStringGrid::GroupMax, "3.00", "5.00" },
        { &TExStringGrid::GroupCount, "3", "1" },
        { &TExStringGrid::GroupDistinct, "3.00", "1.00" },
        { &TExStringGrid::GroupStdDev, "0.98", "0.00" },
        { &TExStringGrid::GroupCustomCalc, "204.00", "707.00" },
    };
    for (const Case& c : cases) {
        (g.get()->*c.calc)(2);
        EXPECT_EQ(g->Cells(2, 5), c.a);
        EXPECT_EQ(g->Cells(2, 8), c.b);
    }
}

TEST(ExGridGroup, MergeHeaderJoinsTheHeaderRow)
{
    auto g = AAB();
    g->Grouping()->MergeHeader = true;
    g->Grouping()->HeaderColor = clRed;
    g->Group(2);
    for (int r : { 1, 4 }) {
        EXPECT_TRUE(g->IsBaseCell(1, r)) << r;
        EXPECT_TRUE(g->IsMergedNonBaseCell(2, r)) << r;
        EXPECT_EQ(g->Colors(1, r), clRed) << r;
    }
    EXPECT_FALSE(g->IsMergedCell(1, 2));
}

TEST(ExGridGroup, HeaderRowColours)
{
    auto g = AAB();
    g->Grouping()->Summary = true;
    g->Grouping()->HeaderColor = clRed;
    g->Grouping()->SummaryTextColor = clGreen;
    g->Group(2);
    for (int c : { 1, 2 }) {
        EXPECT_EQ(g->Colors(c, 1), clRed);
        EXPECT_EQ(g->Colors(c, 5), clRed);
        EXPECT_EQ(g->FontColors(c, 4), clGreen);
        EXPECT_EQ(g->FontColors(c, 7), clGreen);
        EXPECT_NE(g->Colors(c, 2), clRed);
    }
}

TEST(ExGridGroup, SubGroupAndBack)
{
    auto g = MakeGrid(
        { { "x1", "A", "p", "1" }, { "x2", "A", "p", "2" }, { "x3", "A", "q", "4" }, { "x4", "B", "p", "8" } });
    g->Group(2);
    const std::string grouped = Dump(*g);
    EXPECT_EQ(grouped, "N4|A|| |x1|p|1 |x2|p|2 |x3|q|4 N2|B|| |x4|p|8");
    g->SubGroup(2);
    EXPECT_EQ(Dump(*g), "N6|A|| N3|||p |x1||1 |x2||2 N2|||q |x3||4 N3|B|| N2|||p |x4||8");
    EXPECT_EQ(g->NumNodes(), 5);
    EXPECT_EQ(g->GetNodeLevel(2), 2);
    g->SubUnGroup(2);
    EXPECT_EQ(Dump(*g), grouped);
    EXPECT_EQ(g->NumNodes(), 2);
    g->SubGroup(2);
    g->GroupCount(3);
    EXPECT_EQ(g->Cells(3, 1), "5") << "sub-headers count";
    EXPECT_EQ(g->Cells(3, 7), "2");
}

TEST(ExGridGroup, SubGroupLeavesFooterRows)
{
    auto g = MakeGrid({ { "x1", "A", "p", "1" }, { "x2", "A", "q", "2" }, { "total", "f2", "f3", "ft" } });
    g->SetFixedFooters(1);
    g->Grouping()->Summary = true;
    g->Group(2);
    EXPECT_EQ(Dump(*g), "N3|A|| |x1|p|1 |x2|q|2 S||| |total|f3|ft");
    g->SubGroup(2);
    EXPECT_EQ(Dump(*g), "N5|A|| N2|||p |x1||1 N2|||q |x2||2 S||| |total|f3|ft");
}

// The sub-header text goes one column right of the sub-grouped column: with
// none there the grid refuses and is left as it was.
TEST(ExGridGroup, SubGroupByTheLastColumnChangesNothing)
{
    auto g = MakeGrid({ { "x1", "A", "p", "1" }, { "x2", "A", "p", "2" }, { "x3", "B", "q", "4" } });
    g->Group(2);
    const std::string grouped = Dump(*g);
    const int rows = g->RowCount();
    EXPECT_NO_THROW(g->SubGroup(g->ColCount() - 1));
    EXPECT_EQ(Dump(*g), grouped);
    EXPECT_EQ(g->RowCount(), rows);
    EXPECT_EQ(g->NumNodes(), 2);
    EXPECT_EQ(g->GroupColumn(), 2);
}
