// Cell and row compares in the sort styles, the sorts with their frame, and
// randomized sorts that must keep every row and come back exactly.
#include "GridColumnFixture.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/GridRowsTestSupport.h"
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace {

using TGrid = TColumnFixture<TRowsGrid>;

struct TFormatScope {
    TFormatSettings Saved = FormatSettings;
    ~TFormatScope() { FormatSettings = Saved; }
};

// Cell compares: rows 1 and 2 of column 0, both orders.
TEST(ExGridSorting, CellCompareTable)
{
    struct Case {
        const char* Name;
        QString A, B;
        int AB, BA;
        TSortStyle Style = TSortStyle::ssAutomatic;
        QString Suffix {};
    };
    const Case cases[] = {
        { "numbers not texts", "10", "9", 1, -1 },
        { "100 over 10", "100", "10", 1, -1 },
        { "dates with the date separator", "12/05/2020", "3/7/2020", 1, -1 },
        { "short dates", "12/05", "3/7", 1, -1 },
        { "empty numeric is 0", "", "0", 0, 0, TSortStyle::ssNumeric },
        { "two failures equal", "x", "y", 0, 0, TSortStyle::ssNumeric },
        { "financial with suffix", "1,200 EUR", "950 EUR", 1, -1, TSortStyle::ssFinancial, " EUR" },
        { "no case", "abc", "ABD", -1, 1, TSortStyle::ssAlphaNoCase },
        { "case", "abc", "ABD", 1, -1, TSortStyle::ssAlphabetic },
        { "mark-up stripped", "<b>b</b>", "a", 1, -1, TSortStyle::ssHTML },
        { "alphanumeric numbers", "10", "9", 1, -1, TSortStyle::ssAlphaNumeric },
        { "alphanumeric mixed", "10", "9a", -1, 1, TSortStyle::ssAlphaNumeric },
        { "images", "a", "b", 0, 0, TSortStyle::ssImages },
        { "time", "10:30", "9:15", 1, -1, TSortStyle::ssTime },
        { "EU short date", "1/2/2020", "2/1/2020", 1, -1, TSortStyle::ssShortDateEU },
        { "US short date", "1/2/2020", "2/1/2020", -1, 1, TSortStyle::ssShortDateUS },
    };
    for (const Case& c : cases) {
        TGrid g(2, 3);
        g->SortSettings()->AutoFormat = c.Style == TSortStyle::ssAutomatic;
        if (c.Style != TSortStyle::ssAutomatic)
            g->OnGetFormat = [&](TObject*, int, TSortStyle& s, QString&, QString& suffix) {
                s = c.Style;
                suffix = c.Suffix;
            };
        g.Column(0, { c.A, c.B });
        EXPECT_EQ(g->CompareCellsInColumn(0, 1, 2, TSortDirection::sdAscending), c.AB) << c.Name;
        EXPECT_EQ(g->CompareCellsInColumn(0, 2, 1, TSortDirection::sdAscending), c.BA) << c.Name;
    }
}

TEST(ExGridSorting, DatesNeedTheDateSeparator)
{
    TFormatScope keep;
    TGrid g(1, 3);
    g.Column(0, { "12/05", "3/7" });
    // With "/" these are dates (May before July); with "." the texts compare.
    EXPECT_EQ(g->CompareCellsInColumn(0, 1, 2, TSortDirection::sdAscending), 1);
    FormatSettings.DateSeparator = u'.';
    EXPECT_EQ(g->CompareCellsInColumn(0, 1, 2, TSortDirection::sdAscending), -1);
    g.Column(0, { "12.05.2020", "3.7.2020" });
    // As dates 3.7 (March) comes before 12.05 (December); as texts after.
    EXPECT_EQ(g->CompareCellsInColumn(0, 2, 1, TSortDirection::sdAscending), -1);
}

TEST(ExGridSorting, CheckBoxesAndCountedCompares)
{
    TGrid g(1, 3);
    g->OnGetFormat = [](TObject*, int, TSortStyle& s, QString&, QString&) { s = TSortStyle::ssCheckBox; };
    g.Column(0, { g->CheckTrue(), g->CheckFalse() });
    const int before = g->Compares;
    EXPECT_EQ(g->CompareCellsInColumn(0, 1, 2, TSortDirection::sdAscending), 1);
    EXPECT_EQ(g->CompareCellsInColumn(0, 2, 1, TSortDirection::sdAscending), -1);
    EXPECT_EQ(g->CompareCellsInColumn(0, 1, 1, TSortDirection::sdAscending), 0);
    EXPECT_EQ(g->Compares, before + 3);

    // Automatic style: a check box cell compares by its state, not its text.
    TGrid h(1, 3);
    h.Column(0, { "a", "b" });
    for (const auto& [row, state] : { std::pair { 1, true }, std::pair { 2, false } }) {
        TCellGraphic* c = h->CreateCellGraphic(0, row);
        c->SetCellType(ctCheckBox);
        c->SetCellBoolean(state);
    }
    EXPECT_EQ(h->CompareCellsInColumn(0, 1, 2, TSortDirection::sdAscending), 1);
    h->Sort(0, TSortDirection::sdAscending);
    EXPECT_EQ(h.Read(0), (std::vector<QString> { "b", "a" }));
}

TEST(ExGridSorting, BlanksPlacedWhateverTheDirection)
{
    for (const auto pos : { TSortBlankPosition::blFirst, TSortBlankPosition::blLast })
        for (const auto dir : { TSortDirection::sdAscending, TSortDirection::sdDescending }) {
            TGrid g(1, 5);
            g.Column(0, { "b", "", "a", "c" });
            g->SortSettings()->IgnoreBlanks = true;
            g->SortSettings()->BlankPos = pos;
            g->Sort(0, dir);
            const auto col = g.Read(0);
            const std::vector<QString> rest = dir == TSortDirection::sdAscending
                ? std::vector<QString> { "a", "b", "c" }
                : std::vector<QString> { "c", "b", "a" };
            std::vector<QString> want = rest;
            want.insert(pos == TSortBlankPosition::blFirst ? want.begin() : want.end(), QString());
            EXPECT_EQ(col, want) << int(pos) << int(dir);
            // The cell compare alone: an empty cell against a text.
            g.Column(0, { "", "a" });
            const bool emptyFirst = (pos == TSortBlankPosition::blFirst) == (dir == TSortDirection::sdAscending);
            EXPECT_EQ(g->CompareCellsInColumn(0, 1, 2, dir), emptyFirst ? -1 : 1);
        }
}

TEST(ExGridSorting, AutomaticNumbersBothWays)
{
    TGrid g(1, 4);
    g.Column(0, { "10", "9", "100" });
    g->Sort(0, TSortDirection::sdAscending);
    EXPECT_EQ(g.Read(0), (std::vector<QString> { "9", "10", "100" }));
    g->Sort(0, TSortDirection::sdDescending);
    EXPECT_EQ(g.Read(0), (std::vector<QString> { "100", "10", "9" }));
}

TEST(ExGridSorting, TiesFallToTheRightOnlyAndSkipIgnoredColumns)
{
    TGrid g(3, 4);
    // Column 0 would order the rows z, y, x; it is left of the sort column.
    g.Column(0, { "z", "x", "y" });
    g.Column(1, { "1", "1", "1" });
    g.Column(2, { "c", "a", "b" });
    g->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(g.Read(2), (std::vector<QString> { "a", "b", "c" }));
    EXPECT_EQ(g.Read(0), (std::vector<QString> { "x", "y", "z" }));

    g->IgnoreColumns()->Add(2);
    g.Column(2, { "c", "b", "a" });
    g->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(g.Read(2), (std::vector<QString> { "c", "b", "a" })) << "equal rows keep their order";

    g->IgnoreColumns()->Clear();
    g->SortSettings()->Full = false;
    g->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(g.Read(2), (std::vector<QString> { "c", "b", "a" }));
}

TEST(ExGridSorting, IndexedCompareWithAndWithoutFull)
{
    TGrid g(3, 5);
    g.Column(1, { "a", "b", "c", "d" });
    g.Column(2, { "1", "2", "1", "2" });
    g->SortIndexes()->AddIndex(2, true);
    g->SortIndexes()->AddIndex(1, false);
    EXPECT_EQ(g->CompareRowsIndexed(0, 1, 3), 1) << "column 1 descending breaks the tie";
    g->QSortIndexed();
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "c", "a", "d", "b" }));

    g->SortSettings()->Full = false;
    g.Column(1, { "a", "b", "c", "d" });
    g.Column(2, { "1", "2", "1", "2" });
    EXPECT_EQ(g->CompareRowsIndexed(0, 1, 3), 0);
    g->QSortIndexed();
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "a", "c", "b", "d" }));

    g->SortIndexes()->Clear();
    EXPECT_THROW(g->QSortIndexed(), EExGridError);
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "a", "c", "b", "d" }));
}

TEST(ExGridSorting, SettingsTextSorts)
{
    TGrid g(3, 5);
    g.Column(1, { "a", "b", "c", "d" });
    g.Column(2, { "1", "2", "1", "2" });
    g->SortSettings()->LoadFromString(QStringLiteral("D2"));
    EXPECT_EQ(g.Read(2), (std::vector<QString> { "2", "2", "1", "1" }));
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "b", "d", "a", "c" }));
    g.Column(1, { "a", "b", "c", "d" });
    g.Column(2, { "1", "2", "1", "2" });
    // The index part of this text is "i;d2": column 2 descending.
    g->SortSettings()->LoadFromString(QStringLiteral("u1i;d2"));
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "b", "d", "a", "c" }));
    EXPECT_EQ(g->SortIndexes()->Count(), 1);
}

TEST(ExGridSorting, SortFrame)
{
    // A sort column beyond the grid and no column sort nothing.
    for (const int col : { -1, 7 }) {
        TGrid g(2, 4);
        g.Column(0, { "c", "b", "a" });
        g->Sort(col, TSortDirection::sdAscending);
        EXPECT_EQ(g.Read(0), (std::vector<QString> { "c", "b", "a" }));
    }
    {
        // SingleColumn: the other columns keep their rows.
        TGrid g(2, 4);
        g.Column(0, { "c", "b", "a" });
        g.Column(1, { "1", "2", "3" });
        g->SortSettings()->SingleColumn = true;
        g->Sort(0, TSortDirection::sdAscending);
        EXPECT_EQ(g.Read(0), (std::vector<QString> { "a", "b", "c" }));
        EXPECT_EQ(g.Read(1), (std::vector<QString> { "1", "2", "3" }));
    }
    {
        // NormalCellsOnly with a fixed column: its row numbers stay.
        TGrid g(2, 4);
        g->SetFixedCols(1);
        g.Column(0, { "1", "2", "3" });
        g.Column(1, { "c", "b", "a" });
        g->SortSettings()->NormalCellsOnly = true;
        g->Sort(1, TSortDirection::sdAscending);
        EXPECT_EQ(g.Read(0), (std::vector<QString> { "1", "2", "3" }));
        EXPECT_EQ(g.Read(1), (std::vector<QString> { "a", "b", "c" }));
    }
    for (const bool follow : { false, true }) {
        TGrid g(2, 4);
        g.Column(0, { "c", "b", "a" });
        g->Navigation()->MoveRowOnSort = follow;
        g->SetRow(1);
        std::vector<std::pair<int, int>> changes;
        g->OnRowChanged = [&](TObject*, int o, int n) { changes.emplace_back(o, n); };
        g->Sort(0, TSortDirection::sdAscending);
        EXPECT_EQ(g->Row(), follow ? 3 : 1);
        using TChanges = std::vector<std::pair<int, int>>;
        const TChanges want = follow ? TChanges {} : TChanges { { 1, 1 } };
        EXPECT_EQ(changes, want);
    }
    {
        // Footer rows and hidden columns: the footer stays, hidden cells move.
        TGrid g(3, 5);
        g->SetFixedFooters(1);
        g.Column(0, { "c", "b", "a", "sum" });
        g.Column(2, { "3", "2", "1", "6" });
        g->HideColumn(2);
        g->Sort(0, TSortDirection::sdAscending);
        EXPECT_EQ(g->Cells(0, 4), "sum");
        EXPECT_EQ(g->Cells(2, 1), "1");
        EXPECT_EQ(g->Cells(2, 3), "3");
    }
}

// The modified and enabled flags belong to the row, whether the marker shows
// or not.
TEST(ExGridSorting, RowsMoveWithHeightsFlagsAndProperties)
{
    for (const bool shown : { true, false }) {
        SCOPED_TRACE(shown);
        TGrid g(2, 4);
        g.Column(0, { "c", "b", "a" });
        g->SetRowHeights(1, 40);
        g->ShowModified()->Enabled = shown;
        for (int i = 0; i < 4; ++i)
            g->ModifiedRows()->Insert(i, i == 1 ? 1 : 0);
        g->SetRowEnabled(2, false);
        TCellProperties* props = g->GetCellProperties(1, 1);
        g->Sort(0, TSortDirection::sdAscending);
        EXPECT_EQ(g->RowHeights(3), 40);
        EXPECT_EQ(g->GetCellProperties(1, 3), props);
        EXPECT_EQ(g->ModifiedRows()->Integers(3), 1);
        EXPECT_EQ(g->ModifiedRows()->Integers(1), 0);
        EXPECT_FALSE(g->RowEnabled(2)); // "b" stays in the middle
        g->SetRowEnabled(2, true);
        g->SetRowEnabled(1, false); // "a"
        g->Sort(0, TSortDirection::sdDescending);
        EXPECT_FALSE(g->RowEnabled(3));
        EXPECT_TRUE(g->RowEnabled(1));
    }
}

TEST(ExGridSorting, RowSelectionFollowsOnlyWithMoveRowOnSort)
{
    for (const bool follow : { false, true }) {
        TGrid g(1, 4);
        g.Column(0, { "c", "b", "a" });
        g->MouseActions()->SetDisjunctRowSelect(true);
        g->Navigation()->MoveRowOnSort = follow;
        g->SetRowSelect(1, true);
        g->Sort(0, TSortDirection::sdAscending);
        EXPECT_EQ(g->RowSelect(3), follow) << follow;
        EXPECT_EQ(g->RowSelect(1), !follow) << follow;
    }
}

TEST(ExGridSorting, SortCreatesNoCellProperties)
{
    TGrid g(2, 6);
    g.Column(0, { "e", "d", "c", "b", "a" });
    g->Sort(0, TSortDirection::sdAscending);
    g->QUnSort();
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_FALSE(g->HasCellProperties(c, r));
}

TEST(ExGridSorting, MergedAreasTheSortSeparatesAreSplit)
{
    // Also after a cell that was never merged is split: that brings the
    // merge call count to 0 while the area is still merged.
    for (const bool splitOther : { false, true }) {
        TGrid g(2, 5);
        g.Column(0, { "d", "c", "b", "a" });
        g.Column(1, { "x", "", "y", "" });
        g->MergeCells(1, 1, 1, 2); // rows 1-2 of column 1
        if (splitOther)
            g->SplitCells(0, 4);
        g->Sort(0, TSortDirection::sdAscending);
        for (int r = 1; r < 5; ++r)
            EXPECT_EQ(g->BaseCell(1, r), TPoint(1, r)) << r << splitOther;
        EXPECT_EQ(g.Read(1), (std::vector<QString> { "", "y", "", "x" })) << splitOther;
    }
}

TEST(ExGridSorting, UnSortAfterRowsWereAdded)
{
    TGrid g(1, 4);
    g.Column(0, { "c", "a", "b" });
    g->Sort(0, TSortDirection::sdAscending);
    g->SetRowCount(5);
    g->SetCells(0, 4, "new");
    g->QUnSort();
    EXPECT_EQ(g.Read(0), (std::vector<QString> { "c", "a", "b", "new" }));
}

// Random columns sorted again and again: the rows stay in order, each row
// keeps its cells, and the undo comes back to the start.
TEST(ExGridSorting, RandomSortsKeepRowsAndUnSortRestores)
{
    std::mt19937 rnd(7);
    for (int round = 0; round < 20; ++round) {
        const int rows = 2 + int(rnd() % 60);
        TGrid g(4, rows);
        std::vector<std::vector<QString>> start;
        std::vector<TCellProperties*> props;
        for (int r = 1; r < rows; ++r) {
            std::vector<QString> row;
            for (int c = 0; c < 4; ++c) {
                const QString t = c == 0 ? QString::number(int(rnd() % 20))
                    : c == 1             ? QString(QChar(u'a' + int(rnd() % 5)))
                                         : QString::number(r * 10 + c);
                g->SetCells(c, r, t);
                row.push_back(t);
            }
            start.push_back(row);
            props.push_back(r % 3 == 0 ? g->GetCellProperties(3, r) : nullptr);
        }
        auto rowsNow = [&] {
            std::map<QString, std::pair<std::vector<QString>, TCellProperties*>> m;
            for (int r = 1; r < rows; ++r) {
                std::vector<QString> row;
                for (int c = 0; c < 4; ++c)
                    row.push_back(g->Cells(c, r));
                m[row[2]] = { row, g->HasCellProperties(3, r) ? g->GetCellProperties(3, r) : nullptr };
            }
            return m;
        };
        const auto before = rowsNow();
        for (int s = 0; s < 4; ++s) {
            const int col = int(rnd() % 2);
            const auto dir = rnd() % 2 ? TSortDirection::sdAscending : TSortDirection::sdDescending;
            g->Sort(col, dir);
            for (int r = 2; r < rows; ++r) {
                const int cmp = g->CompareCellsInColumn(col, r - 1, r, dir);
                EXPECT_NE(cmp, dir == TSortDirection::sdAscending ? 1 : -1) << round << " " << r;
            }
            EXPECT_EQ(rowsNow(), before);
            // Each row is still found by the place it had before sorting.
            for (int r = 1; r < rows; ++r)
                EXPECT_EQ(g->UnSortedCells(2, r), start[std::size_t(r - 1)][2]) << round << " " << r;
        }
        g->QUnSort();
        for (int r = 1; r < rows; ++r) {
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(g->Cells(c, r), start[std::size_t(r - 1)][std::size_t(c)]);
            if (props[std::size_t(r - 1)]) {
                EXPECT_EQ(g->GetCellProperties(3, r), props[std::size_t(r - 1)]);
            }
        }
    }
}

// A long column of few distinct texts, blanks and case variants among them:
// the rows come out as a stable sort by the text compare puts them, and with
// Full the ties fall to the next column.
// Sorts texts drawn from `pick` on column 0 with a tie column beside,
// under every blanks, direction and Full setting, and checks the order
// against a stable sort by the text compare's own rule.
template <class Pick> void ExpectSortedLikeTheTextCompare(Pick pick, int rows)
{
    std::mt19937 rnd(5);
    for (const bool full : { false, true })
        for (const bool ignoreBlanks : { false, true })
            for (const auto pos : { TSortBlankPosition::blFirst, TSortBlankPosition::blLast })
                for (const auto dir : { TSortDirection::sdAscending, TSortDirection::sdDescending }) {
                    TGrid g(2, rows + 1);
                    std::vector<std::pair<QString, int>> want;
                    for (int r = 1; r <= rows; ++r) {
                        const QString t = pick(rnd);
                        const int tie = int(rnd() % 1000);
                        g->SetCells(0, r, t);
                        g->SetCells(1, r, QString::number(tie));
                        want.push_back({ t, tie });
                    }
                    auto* s = g->SortSettings();
                    s->Full = full;
                    s->IgnoreBlanks = ignoreBlanks;
                    s->BlankPos = pos;
                    const bool up = dir == TSortDirection::sdAscending;
                    const bool emptyFirst = (pos == TSortBlankPosition::blFirst) == up;
                    auto cmp = [&](const std::pair<QString, int>& a, const std::pair<QString, int>& b) {
                        int c = QString::compare(a.first, b.first);
                        if (ignoreBlanks && a.first.isEmpty() != b.first.isEmpty())
                            c = a.first.isEmpty() == emptyFirst ? -1 : 1;
                        if (c == 0 && full)
                            c = a.second - b.second;
                        return up ? c < 0 : c > 0;
                    };
                    std::stable_sort(want.begin(), want.end(), cmp);
                    g->Sort(0, dir);
                    for (int r = 1; r <= rows; ++r) {
                        ASSERT_EQ(g->Cells(0, r), want[std::size_t(r - 1)].first) << full << ignoreBlanks << r;
                        ASSERT_EQ(g->Cells(1, r).toInt(), want[std::size_t(r - 1)].second) << full << ignoreBlanks << r;
                    }
                }
}

TEST(ExGridSorting, FewDistinctTextsSortLikeTheTextCompare)
{
    const QString texts[] = { "b", "", "a", "B", "ab", "c", "a " };
    ExpectSortedLikeTheTextCompare([&](std::mt19937& rnd) { return texts[rnd() % 7]; }, 300);
}

// Many distinct texts, most sharing their first characters with others and
// differing after them, with NULs, surrogate pairs and characters above
// them, of every length from none up.
TEST(ExGridSorting, ManyDistinctTextsSortLikeTheTextCompare)
{
    const QString units[] = { QString(QChar(0)), "a", "b", QString::fromUcs4(U"\U00010000"), QString(QChar(0xE000)) };
    ExpectSortedLikeTheTextCompare(
        [&](std::mt19937& rnd) {
            QString t;
            const int len = int(rnd() % 8);
            for (int i = 0; i < len; ++i)
                t += units[rnd() % 5];
            return t;
        },
        400);
}

// The second header click: rows standing sorted by another column are sorted
// on numbers with a decimal comma that tie often, the ties falling to a text
// column whose texts share a long prefix (one is the prefix alone, one is
// empty) and on to a third column. The order is the stable sort by the
// compare's rules, in both directions, with and without Full, on a plain
// grid (which reads its texts in place) and on a derived one (which reads
// the displayed texts).
template <class G> void ExpectResortLikeTheCompare()
{
    TFormatScope format;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    const QString numbers[] = { "2,5", "-3,5", "10", "9,75", "0", "2,50", "100" };
    const QString prefix = QStringLiteral("Transmitter loop ");
    struct TRow {
        double Num;
        QString Text;
        int Last;
    };
    std::mt19937 rnd(17);
    for (const bool full : { true, false })
        for (const auto dir : { TSortDirection::sdAscending, TSortDirection::sdDescending }) {
            const int rows = 400;
            TColumnFixture<G> g(4, rows + 1);
            std::vector<TRow> want;
            for (int r = 1; r <= rows; ++r) {
                const QString& n = numbers[rnd() % 7];
                const int k = int(rnd() % 12);
                const QString t = k == 0 ? QString() : k == 1 ? prefix : prefix + QString::number(k % 5) + u'x';
                const int last = int(rnd() % 1000);
                g->SetCells(0, r, QString::number(int(rnd() % 50)));
                g->SetCells(1, r, n);
                g->SetCells(2, r, t);
                g->SetCells(3, r, QString::number(last));
                want.push_back({ QString(n).replace(u',', u'.').toDouble(), t, last });
            }
            // Sorted by column 0 first: the rows stand out of their first order.
            g->SortSettings()->Full = true;
            g->Sort(0, TSortDirection::sdAscending);
            std::vector<TRow> now;
            for (int r = 1; r <= rows; ++r)
                now.push_back(
                    { g->Cells(1, r).replace(u',', u'.').toDouble(), g->Cells(2, r), g->Cells(3, r).toInt() });
            g->SortSettings()->Full = full;
            const bool up = dir == TSortDirection::sdAscending;
            std::stable_sort(now.begin(), now.end(), [&](const TRow& a, const TRow& b) {
                int c = a.Num < b.Num ? -1 : b.Num < a.Num ? 1 : 0;
                if (c == 0 && full)
                    c = QString::compare(a.Text, b.Text);
                if (c == 0 && full)
                    c = a.Last - b.Last;
                return up ? c < 0 : c > 0;
            });
            g->Sort(1, dir);
            for (int r = 1; r <= rows; ++r) {
                const TRow& w = now[std::size_t(r - 1)];
                ASSERT_EQ(g->Cells(1, r).replace(u',', u'.').toDouble(), w.Num) << full << up << r;
                ASSERT_EQ(g->Cells(2, r), w.Text) << full << up << r;
                ASSERT_EQ(g->Cells(3, r).toInt(), w.Last) << full << up << r;
            }
            // Sorting the text column now: its ties fall to column 3.
            std::stable_sort(now.begin(), now.end(), [&](const TRow& a, const TRow& b) {
                int c = QString::compare(a.Text, b.Text);
                if (c == 0 && full)
                    c = a.Last - b.Last;
                return up ? c < 0 : c > 0;
            });
            g->Sort(2, dir);
            for (int r = 1; r <= rows; ++r) {
                ASSERT_EQ(g->Cells(2, r), now[std::size_t(r - 1)].Text) << full << up << r;
                ASSERT_EQ(g->Cells(3, r).toInt(), now[std::size_t(r - 1)].Last) << full << up << r;
            }
            EXPECT_FALSE(g->HasCellProps());
        }
}

TEST(ExGridSorting, ResortWithTiesLikeTheCompare)
{
    ExpectResortLikeTheCompare<TExStringGrid>();
    ExpectResortLikeTheCompare<TRowsGrid>();
}

// Compare answers with no order at all: the sort ends and loses no row.
TEST(ExGridSorting, ArbitraryCompareAnswersLoseNoRow)
{
    std::mt19937 rnd(11);
    for (const bool raw : { false, true }) {
        TGrid g(1, 300);
        for (int r = 1; r < 300; ++r)
            g->SetCells(0, r, QString::number(r));
        g->OnGetFormat = [&](TObject*, int, TSortStyle& s, QString&, QString&) {
            s = raw ? TSortStyle::ssRaw : TSortStyle::ssCustom;
        };
        g->OnCustomCompare = [&](TObject*, const QString&, const QString&, int& res) { res = int(rnd() % 3) - 1; };
        g->OnRawCompare = [&](TObject*, int, int, int, int& res) { res = int(rnd() % 3) - 1; };
        g->Sort(0, TSortDirection::sdAscending);
        std::vector<int> seen;
        for (int r = 1; r < 300; ++r)
            seen.push_back(g->Cells(0, r).toInt());
        std::sort(seen.begin(), seen.end());
        for (int i = 0; i < 299; ++i)
            EXPECT_EQ(seen[std::size_t(i)], i + 1);
        g->QUnSort();
        for (int r = 1; r < 300; ++r)
            EXPECT_EQ(g->Cells(0, r).toInt(), r);
    }
}

} // namespace

namespace {

// Node A (rows 1-4) and node B (rows 5-7), row 8 outside any group.
TEST(ExGridSorting, GroupSortKeepsNodesAndGroups)
{
    for (const bool contractB : { false, true }) {
        TGrid g(2, 9);
        g.Column(1, { "A", "c", "a", "b", "B", "z", "y", "0" });
        g->AddNode(1, 4);
        g->AddNode(5, 3);
        if (contractB)
            g->ContractNode(5);
        g->SortSettings()->Column = 1;
        g->QSortGroup();
        std::vector<QString> got;
        for (int r = 1; r < g->RowCount(); ++r)
            got.push_back(g->Cells(1, r));
        const std::vector<QString> want = contractB ? std::vector<QString> { "A", "a", "b", "c", "B", "0" }
                                                    : std::vector<QString> { "A", "a", "b", "c", "B", "y", "z", "0" };
        EXPECT_EQ(got, want) << contractB;
        EXPECT_TRUE(g->IsNode(1));
        EXPECT_TRUE(g->IsNode(5));
    }
}

TEST(ExGridSorting, ImagesCompareByIndex)
{
    TGrid g(1, 4);
    g->OnGetFormat = [](TObject*, int, TSortStyle& s, QString&, QString&) { s = TSortStyle::ssImages; };
    for (const auto& [row, index] : { std::pair { 1, 3 }, std::pair { 2, 1 } }) {
        TCellGraphic* c = g->CreateCellGraphic(0, row);
        c->SetCellType(ctImageList);
        c->SetCellIndex(index);
    }
    EXPECT_EQ(g->CompareCellsInColumn(0, 1, 2, TSortDirection::sdAscending), 1);
    EXPECT_EQ(g->CompareCellsInColumn(0, 2, 1, TSortDirection::sdAscending), -1);
    EXPECT_EQ(g->CompareCellsInColumn(0, 1, 1, TSortDirection::sdAscending), 0);
    EXPECT_EQ(g->CompareCellsInColumn(0, 3, 2, TSortDirection::sdAscending), -1) << "no image is -1";
}

} // namespace

// SingleColumn moves what is stored: a display hook's output never lands in
// the cells, and the objects move with their texts.
TEST(ExGridSorting, SingleColumnMovesStoredTextsAndObjects)
{
    TGrid g(2, 4);
    g.Column(0, { "c", "b", "a" });
    g.Column(1, { "1", "2", "3" });
    for (int r = 1; r < 4; ++r)
        g->SetAllObjects(0, r, quintptr(100 + r));
    g->OnGetDisplText = [](TObject*, int, int, QString& Value) { Value = "[" + Value + "]"; };
    g->SortSettings()->SingleColumn = true;
    g->Sort(0, TSortDirection::sdAscending);
    EXPECT_EQ(g.Read(0), (std::vector<QString> { "a", "b", "c" }));
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "1", "2", "3" }));
    EXPECT_EQ(g->AllObjects(0, 1), quintptr(103));
    EXPECT_EQ(g->AllObjects(0, 3), quintptr(101));
}

// The automatic merges of MergedColumns are made again for the new order.
TEST(ExGridSorting, MergedColumnsAreMergedAgainAfterASort)
{
    TGrid g(2, 5);
    g.Column(0, { "a", "c", "b", "d" });
    g.Column(1, { "x", "y", "x", "y" });
    g->MergedColumns()->Add(1);
    g->ApplyMergedColumns();
    for (int r = 1; r < 5; ++r)
        ASSERT_EQ(g->BaseCell(1, r), TPoint(1, r)) << "nothing equal side by side yet";
    g->Sort(0, TSortDirection::sdAscending);
    EXPECT_EQ(g.Read(1), (std::vector<QString> { "x", "x", "y", "y" }));
    EXPECT_EQ(g->BaseCell(1, 2), TPoint(1, 1));
    EXPECT_EQ(g->BaseCell(1, 4), TPoint(1, 3));
    EXPECT_EQ(g->BaseCell(1, 3), TPoint(1, 3));
}

namespace {

// Reaches the full row reorder, the one a swap must match.
class TSwapGrid : public TRowsGrid {
public:
    using TExStringGrid::ApplyRowOrder;
    using TRowsGrid::TRowsGrid;
    int SwapCount() const { return Swaps; }
    int& SortRowMark() { return SortRow; }
};

// Everything a row move may touch, read through the grid: per real row its
// texts, looks, height, flags and place before sorting, then the merges.
QStringList SwapDump(TSwapGrid& g)
{
    QStringList out;
    for (int r = 0; r < g.TotalRowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < g.ColCount(); ++c)
            row << g.AllCells(c, r);
        out << row.join(u'|');
    }
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < g.ColCount(); ++c) {
            row << (g.HasCellProperties(c, r) ? QString::number(g.GetCellProperties(c, r)->BrushColor()) : "-");
            const TPoint base = g.BaseCell(c, r);
            row << QStringLiteral("%1,%2").arg(base.X).arg(base.Y);
        }
        row << QString::number(g.RowHeights(r)) << QString::number(g.RowEnabled(r)) << QString::number(g.RowSelect(r))
            << QString::number(g.UnSortedRowIndex(r));
        out << row.join(u' ');
    }
    for (TIntList* l : { g.ModifiedRows(), g.EnabledRows() })
        out << l->StrValue();
    out << QStringLiteral("swaps %1 mark %2").arg(g.SwapCount()).arg(g.SortRowMark());
    return out;
}

} // namespace

// Two rows traded by the sort's swap end up exactly as the full reorder of
// the rows from the first to the second leaves them, with hidden rows,
// heights, flags, looks, merges and a row selection about.
TEST(ExGridSorting, SwapRowsMatchesTheFullReorder)
{
    for (const bool singleColumn : { false, true })
        for (const bool persistent : { false, true })
            for (int seed = 0; seed < 6; ++seed) {
                SCOPED_TRACE(testing::Message() << singleColumn << persistent << seed);
                std::mt19937 rnd { std::uint32_t(seed) };
                const int rows = 6 + int(rnd() % 10);
                TSwapGrid a(nullptr), b(nullptr);
                for (TSwapGrid* g : { &a, &b }) {
                    std::mt19937 fill { std::uint32_t(seed) };
                    g->SetColCount(3);
                    g->SetRowCount(rows);
                    g->MouseActions()->SetDisjunctRowSelect(true);
                    g->MouseActions()->RowSelectPersistent = persistent;
                    g->Navigation()->MoveRowOnSort = true;
                    for (int r = 1; r < rows; ++r) {
                        for (int c = 0; c < 3; ++c)
                            g->SetCells(c, r, QString::number(int(fill() % 7)));
                        if (fill() % 3 == 0)
                            g->SetRowHeights(r, 20 + r);
                        if (fill() % 4 == 0)
                            g->GetCellProperties(1, r)->SetBrushColor(TColor(r));
                        if (fill() % 3 == 0)
                            g->SetRowEnabled(r, false);
                        if (fill() % 3 == 0)
                            g->SetRowSelect(r, true);
                    }
                    for (int r = 0; r < rows / 2; ++r)
                        g->ModifiedRows()->Insert(r, int(fill() % 2));
                    g->Sort(0, TSortDirection::sdAscending); // fills the cross-reference
                    g->MergeCells(2, 2, 1, 2);
                    g->HideRow(1 + int(fill() % std::uint32_t(rows - 2)));
                    g->SortSettings()->SingleColumn = singleColumn;
                    g->SortSettings()->Column = 1;
                    g->SortRowMark() = 3;
                }
                ASSERT_EQ(SwapDump(a), SwapDump(b));
                for (int step = 0; step < 6; ++step) {
                    const int x = 1 + int(rnd() % std::uint32_t(a.RowCount() - 1));
                    const int y = 1 + int(rnd() % std::uint32_t(a.RowCount() - 1));
                    if (x == y)
                        continue;
                    a.SortSwapRows(x, y);
                    const int lo = std::min(x, y), hi = std::max(x, y);
                    std::vector<int> order;
                    for (int r = lo; r <= hi; ++r)
                        order.push_back(r);
                    std::swap(order.front(), order.back());
                    b.ApplyRowOrder(lo, order);
                    ASSERT_EQ(SwapDump(a), SwapDump(b)) << x << " " << y;
                }
            }
}
