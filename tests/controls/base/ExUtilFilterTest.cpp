#include "controls/base/ExUtil.h"
#include "controls/base/TextTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char* expression;
    const char* value;
    bool match;
};

void ExpectMatches(const FilterCase* cases, size_t count, bool caseSensitive = true)
{
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(MatchFilterExpression(cases[i].expression, cases[i].value, caseSensitive), cases[i].match)
            << "expression '" << cases[i].expression << "' value '" << cases[i].value << "'";
}

TEST(FilterExpression, ComparisonsAndOperators)
{
    const FilterCase cases[] = {
        { ">10&<20", "15", true },
        { ">10&<20", "25", false },
        { "=>10&<20", "15", true }, // a leading "=" changes nothing
        { "=>10&<20", "25", false },
        { "> 10 & < 20", "15", true }, // blanks outside quotes are dropped
        { ">5", "10", true }, // numbers, although "10" sorts before "5" as text
        { ">b", "c", true },
        { ">b", "a", false },
        { ">=10", "10", true },
        { "<=10", "10", true },
        { "<10", "10", false },
        { "a|b", "b", true },
        { "a;b", "b", true },
        { "a^b", "a", true },
        { "a&b", "a", false },
        { "a|b&c", "a", false }, // no precedence: (a or b) and c
        { "(a*|b*)&*z", "abz", true },
        { "(a*|b*)&*z", "abc", false },
        { "(a*|b*)&*z", "xz", false },
        { "x|(a*&*z)", "abz", true },
        { "((a))", "a", true },
        { "(a", "a", false }, // unmatched "(": no match
        { "\"a|b\"", "a|b", true }, // quotes keep the operator
        { "\"a|b\"", "a", false },
        { ">\"b&c\"", "b&d", true },
        { ">\"b&c\"", "b&a", false },
    };
    ExpectMatches(cases, std::size(cases));
}

TEST(FilterExpression, WildcardsAndNegation)
{
    const FilterCase cases[] = {
        { "?b", "ab", true },
        { "?b", "b", false },
        { "a*", "a", true },
        { "a*", "abc", true },
        { "a*", "ba", false },
        { "*c", "abc", true },
        { "a**c", "ac", true },
        { "a*b*c", "axxbyyc", true },
        { "a*b*c", "axxbyy", false },
        { "", "", true },
        { "", "x", false },
        { "abc", "abcd", false },
        { "!a*", "abc", false },
        { "!a*", "xbc", true },
        { "!abc", "abc", false },
        { "!abc", "abd", true },
        { "!", "", false },
        { "!", "x", true },
        { "!>5", "10", false }, // a negated comparison is the comparison's opposite
        { "!>5", "3", true },
        { "!<=5", "5", false },
    };
    ExpectMatches(cases, std::size(cases));

    // A negated pattern matches exactly what the pattern does not.
    for (const char* pattern : { "a*", "?b", "*x*", "abc" })
        for (const char* value : { "", "a", "ab", "abc", "xb", "zzxzz" })
            EXPECT_NE(
                MatchFilterExpression(QString("!") + pattern, value, true), MatchFilterExpression(pattern, value, true))
                << pattern << " " << value;
}

TEST(FilterExpression, CaseSensitivity)
{
    EXPECT_TRUE(MatchFilterExpression("ab*", "ABC", false));
    EXPECT_FALSE(MatchFilterExpression("ab*", "ABC", true));
    EXPECT_TRUE(MatchFilterExpression(">b", "C", false));
}

TEST(FilterExpression, LocaleNumbersAndDates)
{
    LocaleGuard locale(u',', u'.', u'/', "dd/mm/yyyy");
    const FilterCase cases[] = {
        { ">1.000,5", "1.200,25", true },
        { ">1.000,5", "999", false },
        { ">01/02/2020", "15/02/2020", true },
        { ">01/02/2020", "15/01/2020", false }, // as text it would be greater
        { "<01/02/2020", "15/01/2020", true },
        { ">\"01/02/2020 10:00\"", "01/02/2020 10:30", true },
        { ">\"01/02/2020 10:00\"", "01/02/2020 09:30", false },
    };
    ExpectMatches(cases, std::size(cases));
}

TEST(FilterExpression, HardPatternsStayCheap)
{
    // Backtracking over every suffix for every star would never finish here.
    const QString value(4000, u'a');
    EXPECT_FALSE(MatchFilterExpression("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", value, true));
    EXPECT_TRUE(MatchFilterExpression("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a", value, true));

    // Deep nesting is refused in order, not by exhausting the stack.
    const QString deep = QString(5000, u'(') + "a" + QString(5000, u')');
    EXPECT_FALSE(MatchFilterExpression(deep, "a", true));
    EXPECT_TRUE(MatchFilterExpression(QString(10, u'(') + "a" + QString(10, u')'), "a", true));
}

} // namespace
