// Numeric sorts order by value under a C library locale with a decimal comma:
// the separators come from FormatSettings alone.
#include "GridColumnFixture.h"
#include "common/CommaDecimalLocale.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"
#include "controls/grid/GridRowsTestSupport.h"
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

namespace {

using TGrid = TColumnFixture<TRowsGrid>;

class ExGridSortLocale : public TCommaDecimalLocaleTest<> {
protected:
    void TearDown() override
    {
        ResetFormatSettings();
        TCommaDecimalLocaleTest::TearDown();
    }
};

TEST_F(ExGridSortLocale, NumericColumnsSortByValue)
{
    struct Case {
        const char* Name;
        std::vector<QString> Texts, Sorted;
        TSortStyle Style = TSortStyle::ssAutomatic;
        QString Suffix {};
        bool CommaSettings = false;
    };
    // Each list holds values that tie when read only up to the point, in
    // the wrong order, so a reader that stops there cannot pass.
    const Case cases[] = {
        { "automatic", { "10.5", "2.3", "-3.75", "2.25", "1e1" }, { "-3.75", "2.25", "2.3", "1e1", "10.5" } },
        { "numeric", { "0.5", "-1.5", "0.25", "-1.25" }, { "-1.5", "-1.25", "0.25", "0.5" }, TSortStyle::ssNumeric },
        { "financial with suffix", { "1,200.5 EUR", "1,200.25 EUR", "950 EUR" },
            { "950 EUR", "1,200.25 EUR", "1,200.5 EUR" }, TSortStyle::ssFinancial, " EUR" },
        { "comma settings", { "1,5", "1,25", "-0,5" }, { "-0,5", "1,25", "1,5" }, TSortStyle::ssAutomatic, {}, true },
        { "comma settings, financial", { "1.200,5", "1.200,25", "950" }, { "950", "1.200,25", "1.200,5" },
            TSortStyle::ssFinancial, {}, true },
    };
    for (const Case& c : cases) {
        ResetFormatSettings();
        if (c.CommaSettings) {
            FormatSettings.DecimalSeparator = u',';
            FormatSettings.ThousandSeparator = u'.';
        }
        TGrid g(1, int(c.Texts.size()) + 1);
        if (c.Style != TSortStyle::ssAutomatic)
            g->OnGetFormat = [&](TObject*, int, TSortStyle& s, QString&, QString& suffix) {
                s = c.Style;
                suffix = c.Suffix;
            };
        g.Column(0, c.Texts);
        g->Sort(0, TSortDirection::sdAscending);
        EXPECT_EQ(g.Read(0), c.Sorted) << c.Name;
        // The cell compare alone: every sorted value is below the next.
        for (int r = 1; r < int(c.Texts.size()); ++r)
            EXPECT_EQ(g->CompareCellsInColumn(0, r, r + 1, TSortDirection::sdAscending), -1) << c.Name << " row " << r;
    }
}

} // namespace
