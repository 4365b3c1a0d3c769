#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "platform/runtime/Classes.h"
#include "tests/controls/grid/GridRowsTestSupport.h"

namespace {

class TFilterGrid : public TExStringGrid {
public:
    using TExStringGrid::TExStringGrid;
    void OpenDropDown(int ACol) { FFilterCol = ACol; }
};

// One fixed row "h"; then one row per entry, column 0 naming it "r<i>" and
// column 1 holding the entry.
std::unique_ptr<TFilterGrid> MakeGrid(const QStringList& texts)
{
    auto g = std::make_unique<TFilterGrid>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(int(texts.size()) + 1);
    g->SetFixedRows(1);
    g->SetCells(0, 0, QStringLiteral("h"));
    for (int i = 0; i < texts.size(); ++i) {
        g->SetCells(0, i + 1, QStringLiteral("r%1").arg(i));
        g->SetCells(1, i + 1, texts[i]);
    }
    return g;
}

QString Shown(const TExStringGrid& g)
{
    return ShownFirstColumn(g);
}

struct TItem {
    int col;
    QString cond;
    TFilterOperation op;
    TFilterMethod method = TFilterMethod::fmExpression;
    QString prefix = {};
    QString suffix = {};
    bool caseSensitive = true;
    TFilterCells data = TFilterCells::fcVirtual;
};

using Op = TFilterOperation;
using M = TFilterMethod;

} // namespace

TEST(ExGridFilter, MatchFilterTable)
{
    struct TCase {
        const char* what;
        QString c1, c2;
        std::vector<TItem> items;
        bool expected;
    };
    const QString E;
    const std::vector<TCase> cases = {
        { "empty filter", "a", "x", {}, true },
        { "none", "a", "x", { { 1, "a", Op::foNONE } }, true },
        { "only B, or", "b", "x", { { 1, "a", Op::foNONE }, { 2, "x", Op::foOR } }, true },
        { "only B, and", "b", "x", { { 1, "a", Op::foNONE }, { 2, "x", Op::foAND } }, false },
        { "both, and", "a", "x", { { 1, "a", Op::foNONE }, { 2, "x", Op::foAND } }, true },
        { "xor both", "a", "x", { { 1, "a", Op::foNONE }, { 2, "x", Op::foXOR } }, false },
        { "xor one", "a", "y", { { 1, "a", Op::foNONE }, { 2, "x", Op::foXOR } }, true },
        { "none restarts", "b", "x", { { 1, "a", Op::foNONE }, { 2, "x", Op::foNONE } }, true },
        { "short miss ends", "b", "x", { { 1, "a", Op::foSHORT }, { 2, "x", Op::foOR } }, false },
        { "short hit goes on", "a", "y", { { 1, "a", Op::foSHORT }, { 2, "x", Op::foAND } }, false },
        { "short hit then or", "a", "y", { { 1, "a", Op::foSHORT }, { 2, "y", Op::foOR } }, true },
        { "wildcard", "abc", "", { { 1, "a*", Op::foNONE } }, true },
        { "literal star", "abc", "", { { 1, "a*", Op::foNONE, M::fmLiteral } }, false },
        { "literal same", "a*", "", { { 1, "a*", Op::foNONE, M::fmLiteral } }, true },
        { "literal ignores case flag", "AB", "", { { 1, "ab", Op::foNONE, M::fmLiteral, E, E, false } }, false },
        { "expression without case", "AB", "", { { 1, "ab", Op::foNONE, M::fmExpression, E, E, false } }, true },
        { "expression with case", "AB", "", { { 1, "ab", Op::foNONE } }, false },
        { "numeric compare", "15", "", { { 1, ">10&<20", Op::foNONE } }, true },
        { "numeric compare out", "25", "", { { 1, ">10&<20", Op::foNONE } }, false },
        { "prefix stripped", "EUR 12", "", { { 1, "12", Op::foNONE, M::fmLiteral, "EUR " } }, true },
        { "prefix absent", "USD 12", "", { { 1, "12", Op::foNONE, M::fmLiteral, "EUR " } }, false },
        { "suffix stripped", "12 kg", "", { { 1, "12", Op::foNONE, M::fmLiteral, E, " kg" } }, true },
        { "suffix also earlier kept", "5 kg 12 kg", "", { { 1, "5 kg 12", Op::foNONE, M::fmLiteral, E, " kg" } },
            false },
        { "suffix also earlier whole", "5 kg 12 kg", "", { { 1, "5 kg 12 kg", Op::foNONE, M::fmLiteral, E, " kg" } },
            true },
        { "trimmed", "  a ", "", { { 1, "a", Op::foNONE, M::fmLiteral } }, true },
        { "empty condition", "zz", "", { { 1, "", Op::foNONE } }, true },
        { "row contains, any case", "abc", "XyZ",
            { { -1, "yz", Op::foNONE, M::fmExpression, E, E, true, TFilterCells::fcRow } }, true },
        { "row lacks", "abc", "xyz", { { -1, "q", Op::foNONE, M::fmExpression, E, E, true, TFilterCells::fcRow } },
            false },
        { "wide text decoded", EncodeWideText(QStringLiteral("\u0416a")), "",
            { { 1, QStringLiteral("\u0416a"), Op::foNONE, M::fmLiteral } }, true },
        { "marker inside is plain text", "ab|\\cd", "", { { 1, "ab|\\cd", Op::foNONE, M::fmLiteral } }, true },
        { "unbalanced bracket", "a", "", { { 1, "(a", Op::foNONE } }, false },
    };
    for (const TCase& c : cases) {
        auto g = MakeGrid({ c.c1 });
        g->SetCells(2, 1, c.c2);
        for (const TItem& it : c.items) {
            TFilterData* d = g->Filter()->Add();
            d->Column = qint16(it.col);
            d->Condition = it.cond;
            d->Operation = it.op;
            d->Method = it.method;
            d->Prefix = it.prefix;
            d->Suffix = it.suffix;
            d->CaseSensitive = it.caseSensitive;
            d->Data = it.data;
        }
        EXPECT_EQ(g->MatchFilter(1), c.expected) << c.what;
    }
}

TEST(ExGridFilter, CustomFilterHasTheLastWord)
{
    auto g = MakeGrid({ "a", "b" });
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("a");
    d->Operation = Op::foSHORT;
    std::vector<int> asked;
    g->OnCustomFilter = [&](TObject*, int ARow, bool& Accept) {
        asked.push_back(ARow);
        Accept = !Accept;
    };
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1"));
    EXPECT_EQ(asked, (std::vector<int> { 1, 2 }));
}

TEST(ExGridFilter, LevelsStackAndComeBack)
{
    auto g = MakeGrid({ "a1", "b1", "a2", "b2" });
    std::vector<int> progress;
    g->OnFilterProgress = [&](TObject*, qint16 p) { progress.push_back(p); };
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("a*");
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2"));
    EXPECT_EQ(progress, (std::vector<int> { 25, 50, 50 }));
    d->Condition = QStringLiteral("*2");
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), QStringLiteral("r2"));
    // An empty filter still adds a level, hiding nothing.
    g->Filter()->Clear();
    g->ApplyFilter();
    EXPECT_EQ(g->FilterLevel(), 3);
    EXPECT_EQ(Shown(*g), QStringLiteral("r2"));
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c)
            EXPECT_FALSE(g->HasCellProperties(c, r)) << c << "," << r;

    EXPECT_TRUE(g->RemoveLastFilter()); // two remain
    EXPECT_FALSE(g->RemoveLastFilter()); // one remains
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2"));
    EXPECT_FALSE(g->RemoveLastFilter());
    EXPECT_EQ(g->FilterLevel(), 0);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1 r2 r3"));
    EXPECT_FALSE(g->RemoveLastFilter());

    // Without levels RemoveAllFilters clears the conditions.
    g->Filter()->Add();
    g->RemoveAllFilters();
    EXPECT_EQ(g->Filter()->Count(), 0);
}

TEST(ExGridFilter, FilterActiveOffLowersTheLevel)
{
    auto g = MakeGrid({ "a", "b", "a" });
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("a");
    for (int round = 0; round < 3; ++round) {
        g->SetFilterActive(true);
        EXPECT_EQ(g->FilterLevel(), 1);
        EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2"));
        g->SetFilterActive(false);
        EXPECT_EQ(g->FilterLevel(), 0);
        EXPECT_EQ(g->FixedRows(), 1);
        EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1 r2"));
    }
}

TEST(ExGridFilter, NormalCellsOnlyKeepsNodeRows)
{
    auto g = MakeGrid({ "n", "a", "b" });
    g->AddNode(1, 3);
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("a");
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1"));
    g->RemoveLastFilter();
    g->SetFilterNormalCellsOnly(false);
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), QStringLiteral("r1"));
}

TEST(ExGridFilter, NarrowDownTypingAndBack)
{
    auto g = MakeGrid({ "xa", "ab", "abc", "zzz", "ABCD" });
    g->HideRow(4); // "zzz", hidden directly
    const struct {
        const char* text;
        int level;
        const char* shown;
        const char* condition;
    } steps[] = {
        { "a", 1, "r0 r1 r2 r4", "*a*" },
        { "ab", 2, "r1 r2 r4", "*ab*" },
        { "abc", 3, "r2 r4", "*abc*" },
        { "ab", 2, "r1 r2 r4", "*abc*" },
        { "abx", 3, "", "*abx*" },
        { "q", 1, "", "*q*" }, // not a neighbour: starts over
        { "", 0, "r0 r1 r2 r4", "*q*" },
    };
    for (const auto& s : steps) {
        g->NarrowDown(QString::fromUtf8(s.text), 1);
        EXPECT_EQ(g->FilterLevel(), s.level) << s.text;
        EXPECT_EQ(Shown(*g), QString::fromUtf8(s.shown)) << s.text;
        ASSERT_EQ(g->Filter()->Count(), 1) << s.text;
        EXPECT_EQ(g->Filter()->Items(0)->Condition, QString::fromUtf8(s.condition)) << s.text;
        EXPECT_EQ(g->LastFilter(), QString::fromUtf8(s.text));
    }
    EXPECT_TRUE(g->FixedRowAlways());
    // The row hidden by HideRow keeps its record.
    EXPECT_TRUE(g->IsHiddenRow(4));
    EXPECT_EQ(g->HiddenRowLevel(4), 0);
}

TEST(ExGridFilter, NarrowDownQuotingAndWholeRow)
{
    auto g = MakeGrid({ "a b", "ab", "a bc" });
    g->NarrowDown(QStringLiteral("a"), 1);
    g->NarrowDown(QStringLiteral("a "), 1);
    EXPECT_EQ(g->Filter()->Items(0)->Condition, QStringLiteral("\"*a *\""));
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2"));
    g->NarrowDown(QStringLiteral("R1"), -1);
    EXPECT_EQ(g->Filter()->Items(0)->Data, TFilterCells::fcRow);
    EXPECT_EQ(g->FilterLevel(), 1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1"));
}

TEST(ExGridFilter, DropDownSelect)
{
    auto g = MakeGrid({ "b", "a", "c", "a" });
    g->SetFilterDropDownAuto(true);
    int done = 0;
    g->OnFilterDone = [&](TObject*) { ++done; };
    QString seenName;
    g->OnFilterSelect = [&](TObject*, int Column, int, const QString& Name, QString& Condition) {
        EXPECT_EQ(Column, 1);
        seenName = Name;
        (void)Condition;
    };
    // Entries: (All), a, b, c.
    g->OpenDropDown(1);
    g->FilterDropDownSelect(nullptr, 1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r3"));
    EXPECT_EQ(seenName, QStringLiteral("a"));
    EXPECT_EQ(g->FilterCol(), -1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(g->Row(), 1);

    // Another pick replaces the level instead of stacking on it.
    g->OpenDropDown(1);
    g->FilterDropDownSelect(nullptr, 3);
    EXPECT_EQ(Shown(*g), QStringLiteral("r2"));
    EXPECT_EQ(g->FilterLevel(), 1);

    // The clear entry removes the column's conditions.
    g->OpenDropDown(1);
    g->FilterDropDownSelect(nullptr, 0);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r1 r2 r3"));
    EXPECT_FALSE(g->Filter()->HasFilter(1));

    // The handler may change the condition; a friendly name entry splits.
    g->OnFilterSelect = [&](TObject*, int, int, const QString& Name, QString& Condition) {
        seenName = Name;
        if (Condition == QStringLiteral("a"))
            Condition = QStringLiteral("!a");
    };
    g->OnGetColumnFilter = [](TObject*, int, TStringList* List) { List->Add(QStringLiteral("Not b=!b")); };
    g->OpenDropDown(1);
    g->FilterDropDownSelect(nullptr, 4);
    EXPECT_EQ(seenName, QStringLiteral("Not b"));
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3"));
    g->OpenDropDown(1);
    g->FilterDropDownSelect(nullptr, 1);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2"));

    // No valid column or entry: nothing changes, the column is closed.
    for (const auto& [col, index] : { std::pair { 7, 1 }, std::pair { -1, 1 }, std::pair { 1, 9 } }) {
        g->OpenDropDown(col);
        g->FilterDropDownSelect(nullptr, index);
        EXPECT_EQ(Shown(*g), QStringLiteral("r0 r2"));
        EXPECT_EQ(g->FilterCol(), -1);
    }
}

TEST(ExGridFilter, DropDownCheck)
{
    auto g = MakeGrid({ "b", "a", "c", "a" });
    g->SetFilterDropDownAuto(true);
    std::vector<int> asked;
    g->OnFilterCheck = [&](TObject*, int Column, int Index, const QString&, QString&, TStrings* List) {
        EXPECT_EQ(Column, 1);
        EXPECT_EQ(List, g->FilterList());
        asked.push_back(Index);
    };
    g->OpenDropDown(1);
    g->SetFilterChecked(1, true); // a
    g->SetFilterChecked(3, true); // c
    g->FilterDropDownCheck(nullptr, 0);
    EXPECT_EQ(asked, (std::vector<int> { 1, 3 }));
    EXPECT_EQ(Shown(*g), QStringLiteral("r1 r2 r3"));
    ASSERT_EQ(g->Filter()->Count(), 2);
    EXPECT_EQ(g->Filter()->Items(0)->Operation, Op::foNONE);
    EXPECT_EQ(g->Filter()->Items(1)->Operation, Op::foOR);
    EXPECT_EQ(g->FilterCol(), 1);

    // A new choice replaces the level.
    g->ClearFilterChecks();
    g->SetFilterChecked(2, true); // b
    g->FilterDropDownCheck(nullptr, 0);
    EXPECT_EQ(Shown(*g), QStringLiteral("r0"));
    EXPECT_EQ(g->FilterLevel(), 1);
}

TEST(ExGridFilter, DropDownRowOnlyFixed)
{
    auto g = MakeGrid({ "a" });
    for (int v : { 3, 1, -1 }) {
        g->SetFilterDropDownRow(v);
        EXPECT_EQ(g->FilterDropDownRow(), 0) << v;
    }
    g->SetFixedRows(1);
    g->SetRowCount(5);
    g->SetFixedRows(3);
    g->SetFilterDropDownRow(2);
    EXPECT_EQ(g->FilterDropDownRow(), 2);
}
