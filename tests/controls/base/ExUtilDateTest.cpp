#include "controls/base/ExUtil.h"
#include "controls/base/TextTestSupport.h"
#include "platform/runtime/Exceptions.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(CellDates, ParseShortDates)
{
    struct Case {
        const char* text;
        bool us;
        double date;
    } cases[] = {
        { "31.12.99", false, DayNumber(1999, 12, 31) },
        { "1/2/25", false, DayNumber(2025, 2, 1) },
        { "1-2-26", false, DayNumber(1926, 2, 1) },
        { "31.12.2020", false, DayNumber(2020, 12, 31) }, // a four-digit year stays as written
        { "2/1/25", true, DayNumber(2025, 2, 1) },
        { "12/31/1999", true, DayNumber(1999, 12, 31) },
        { "12-2020", false, 0 }, // one separator only
        { "a.b.c", false, 0 },
        { "1/2/3/4", false, 0 },
        { "", false, 0 },
        // Impossible dates are "no date", never an exception: they run inside sorts.
        { "31.02.2020", false, 0 },
        { "13/13/20", true, 0 },
    };
    for (const Case& c : cases) {
        const double got = c.us ? ParseShortDateUS(c.text) : ParseShortDateEU(c.text);
        EXPECT_EQ(got, c.date) << c.text;
    }
}

TEST(CellDates, HasDateSeparators)
{
    LocaleGuard locale(u'.', u',', u'/');
    EXPECT_TRUE(HasDateSeparators("1/2/3"));
    EXPECT_TRUE(HasDateSeparators("12/31/1999"));
    EXPECT_FALSE(HasDateSeparators("/1/2")); // at the first position
    EXPECT_FALSE(HasDateSeparators("1//2")); // the second one right after the first
    EXPECT_FALSE(HasDateSeparators("1/2"));
}

TEST(CellDates, AddToDateClampsToTheMonthEnd)
{
    const double jan31 = DayNumber(2021, 1, 31);
    struct Case {
        int years, months, days;
        double extra, date, result;
    } cases[] = {
        { 0, 1, 0, 0, jan31, DayNumber(2021, 2, 28) }, { 0, 13, 0, 0, jan31, DayNumber(2022, 2, 28) },
        { 0, -1, 0, 0, DayNumber(2021, 3, 31), DayNumber(2021, 2, 28) },
        { 0, -12, 0, 0, DayNumber(2021, 1, 15), DayNumber(2020, 1, 15) },
        { 0, -25, 0, 0, DayNumber(2021, 1, 15), DayNumber(2018, 12, 15) },
        { 1, 0, 0, 0, DayNumber(2020, 2, 29), DayNumber(2021, 2, 28) }, { 0, 0, 5, 0, jan31, jan31 + 5 },
        { 1, 1, 0, 2.5, jan31, jan31 + 2.5 }, // two parts: the extra days apply
        { 0, 0, 0, -1, jan31, jan31 - 1 },
        { 0, 1, 0, 0, jan31 + 0.25, DayNumber(2021, 2, 28) + 0.25 }, // the time stays
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(AddToDate(c.years, c.months, c.days, c.extra, c.date), c.result)
            << c.years << " " << c.months << " " << c.days;
    EXPECT_THROW(AddToDate(9000, 0, 0, 0, jan31), EConvertError);
    EXPECT_THROW(AddToDate(std::numeric_limits<int>::max(), 0, 0, 0, jan31), EConvertError);
    EXPECT_THROW(AddToDate(0, std::numeric_limits<int>::min(), 0, 0, jan31), EConvertError);
}

TEST(CellDates, ParseDateTimeTextFollowsTheLocale)
{
    LocaleGuard locale(u'.', u',', u'/', "dd/mm/yyyy");
    const double d = DayNumber(2020, 2, 15);
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        { "15/02/2020", true, d },
        { "15/02/2020 10:30", true, d + 10.5 / 24 },
        { "15/02/2020   10:30:15", true, d + (10 * 3600 + 30 * 60 + 15) / 86400.0 },
        { "15/2/20", true, DayNumber(20, 2, 15) }, // the year as written
        { "31/02/2020", false, 0 },
        { "15/13/2020", false, 0 },
        { "32/01/2020", false, 0 },
        { "15/02/2020 24:00", false, 0 },
        { "15/02/2020 10:60", false, 0 },
        { "15/02/2020 10:30:60", false, 0 },
        { "15-02-2020", false, 0 },
        { "15/02", false, 0 },
        { "x/02/2020", false, 0 },
    };
    for (const Case& c : cases) {
        TDateTime dt = -1;
        EXPECT_EQ(ParseDateTimeText(c.text, dt), c.ok) << c.text;
        if (c.ok) {
            EXPECT_NEAR(dt, c.value, 1e-9) << c.text;
        }
    }
    // A time without its separator fails, but the date is still handed back.
    TDateTime dt = -1;
    EXPECT_FALSE(ParseDateTimeText("15/02/2020 10", dt));
    EXPECT_EQ(dt, d);

    LocaleGuard us(u'.', u',', u'/', "M/d/yyyy");
    EXPECT_TRUE(ParseDateTimeText("2/15/2020", dt));
    EXPECT_EQ(dt, d);
}

} // namespace
