#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "tests/controls/grid/GridRowsTestSupport.h"

namespace {

// One fixed row, then one row per text in column 1.
template <class G = TExStringGrid> std::unique_ptr<G> MakeGrid(const QStringList& texts)
{
    auto g = std::make_unique<G>(nullptr);
    g->SetColCount(3);
    g->SetRowCount(int(texts.size()) + 1);
    g->SetFixedRows(1);
    for (int i = 0; i < texts.size(); ++i) {
        g->SetCells(0, i + 1, QString::number(i));
        g->SetCells(1, i + 1, texts[i]);
    }
    return g;
}

QString Shown(const TExStringGrid& g)
{
    return ShownFirstColumn(g);
}

} // namespace

// The filter keeps each item's expression compiled; whatever the item's
// condition, case flag and cell kind, a row matches exactly when the
// expression matcher says its text does. One item is reused throughout, so
// a compiled condition that outlives its text shows as a wrong answer.
TEST(ExGridFilterSpeed, CompiledConditionsAgreeWithTheExpressionMatcher)
{
    const QStringList values = { "", "a", "ab", "abc", "ABC", "b", "ba", "aXbXc", "a*b", "a b", "15", "25", "10", "c",
        "abab", "aab", "xay", "\u00e4b", "\u00c4B", "a\"b", " a", "ab ", "\ta b\t", "  ", "A", "a|b", "|", "ab|" };
    const QStringList expressions = { "a*", "*a", "*b*", "a*c", "?b", "a?c", "?", "*", "**", "", "=a*", "= a *", "ab",
        "a**c", "*a*b*c*", "*?", "a*b*", "*ab", "ab*ab", "a\"*\"c", "\"a b\"", "a b", ">10&<20", ">5", ">=15", "<b",
        ">b", "!a*", "!*b", "a*|b*", "a*;c", "a*^c", "a*&*c", "(a*)", "(a*)|c", "(a*)b|c", "((a*)&(*b))|c", "(a", "a)",
        "\u00e4*", "*\"&\"*", "b|(a*&*c)", "A*", "a?*", "?*", "*?b*", "a*?", "ab?*", "a b*", "|*" };
    auto g = MakeGrid(values);
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    for (TFilterCells data : { TFilterCells::fcNormal, TFilterCells::fcVirtual })
        for (bool caseSensitive : { true, false })
            for (const QString& e : expressions) {
                d->Data = data;
                d->CaseSensitive = caseSensitive;
                d->Condition = e;
                for (int i = 0; i < values.size(); ++i) {
                    const bool expected = e.isEmpty() || MatchFilterExpression(e, values[i].trimmed(), caseSensitive);
                    EXPECT_EQ(g->MatchFilter(i + 1), expected)
                        << "'" << e.toStdString() << "' on '" << values[i].toStdString() << "' case " << caseSensitive
                        << " kind " << int(data);
                }
            }
    EXPECT_FALSE(g->HasCellProps());
}

// A filter level over rows one of which is hidden already: prefix patterns,
// "?" and "*" mixed, blanks at either end and empty cells hide exactly the
// shown rows the expression matcher refuses; taking the level off brings
// them back and leaves the hidden row hidden.
TEST(ExGridFilterSpeed, LevelHidesWhatTheMatcherRefuses)
{
    const QStringList values = { "abc", " abc", "abc ", "", "  ", "ABC", "xabc", "ab", "a", "b a", "a?c", "a\tb" };
    struct TCase {
        QString condition;
        bool caseSensitive;
    };
    const TCase cases[] = { { "a*", true }, { "a*", false }, { "ab*", true }, { "?b*", true }, { "a?c*", false },
        { "*c", true }, { "a*c", true }, { "?", true }, { "*", true }, { "a b*", true }, { "\"b a\"*", true } };
    for (const TCase& c : cases) {
        auto g = MakeGrid(values);
        g->HideRow(3); // "abc " stays hidden throughout
        TFilterData* d = g->Filter()->Add();
        d->Column = 1;
        d->Condition = c.condition;
        d->CaseSensitive = c.caseSensitive;
        QStringList want, all;
        for (int i = 0; i < values.size(); ++i) {
            if (i == 2)
                continue;
            all << QString::number(i);
            if (MatchFilterExpression(c.condition, values[i].trimmed(), c.caseSensitive))
                want << QString::number(i);
        }
        g->ApplyFilter();
        EXPECT_EQ(Shown(*g), want.join(u' ')) << c.condition.toStdString() << " case " << c.caseSensitive;
        g->RemoveLastFilter();
        EXPECT_EQ(Shown(*g), all.join(u' ')) << c.condition.toStdString();
        EXPECT_FALSE(g->HasCellProps());
    }
}

// Display texts come from the hooks and merged areas when there are any,
// from the stored texts otherwise.
TEST(ExGridFilterSpeed, VirtualTextsAreTheDisplayTexts)
{
    auto g = MakeGrid({ "apple", "berry", "avocado", "cherry" });
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("a*");
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), "0 2");
    g->RemoveAllFilters();

    g->OnGetDisplText = [](TObject*, int ACol, int ARow, QString& Value) {
        if (ACol == 1 && ARow == 2)
            Value = QStringLiteral("almond");
    };
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), "0 1 2");
    g->RemoveAllFilters();
    g->OnGetDisplText = nullptr;

    // Row 4 shows the text of row 3's cell above it.
    g->MergeCells(1, 3, 1, 2);
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), "0 2 3");
}

// A suffix is taken off only where the text ends with it; a text shorter
// than the suffix keeps its characters.
TEST(ExGridFilterSpeed, SuffixOnlyWhereTheTextEndsWithIt)
{
    struct TCase {
        QString text, suffix, condition;
        bool expected;
    };
    const TCase cases[] = {
        { "a", "ab", "a", true },
        { "b", "kg", "b", true },
        { "12 kg", " kg", "12", true },
        { "12 kg", " kg", "12 kg", false },
        { "5 kg 12 kg", " kg", "5 kg 12 kg", true },
    };
    for (const TCase& c : cases) {
        auto g = MakeGrid({ c.text });
        TFilterData* d = g->Filter()->Add();
        d->Column = 1;
        d->Method = TFilterMethod::fmLiteral;
        d->Suffix = c.suffix;
        d->Condition = c.condition;
        EXPECT_EQ(g->MatchFilter(1), c.expected) << c.text.toStdString() << " / " << c.suffix.toStdString();
    }
}

// A row's modified flag hidden with a filter level comes back with the row,
// also when the list was emptied in between.
TEST(ExGridFilterSpeed, FlagsComeBackWithTheirLevel)
{
    auto g = MakeGrid<TRowsGrid>({ "a", "b", "a", "b" });
    TIntList* modified = g->ModifiedRows();
    for (int r = 0; r < g->RowCount(); ++r)
        modified->Insert(r, r == 2 ? 1 : 0);
    TFilterData* d = g->Filter()->Add();
    d->Column = 1;
    d->Condition = QStringLiteral("a");
    g->ApplyFilter();
    EXPECT_EQ(Shown(*g), "0 2");
    modified->Clear();
    g->RemoveLastFilter();
    ASSERT_EQ(Shown(*g), "0 1 2 3");
    ASSERT_GT(modified->Count(), 2);
    EXPECT_EQ(modified->GetInteger(2), 1);
    EXPECT_EQ(modified->GetInteger(1), 0);
}
