#include "platform/runtime/DateUtils.h"

#include <climits>
#include <gtest/gtest.h>

#include <tuple>

namespace {

// English settings and a clock fixed at 2024-06-15 12:00 for every test.
class DateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFormatSettings();
        SetClock([] { return EncodeDateTime(2024, 6, 15, 12, 0, 0, 0); });
    }
    void TearDown() override
    {
        ResetFormatSettings();
        SetClock({});
    }
    static void UseEuropeanDates()
    {
        FormatSettings.DateSeparator = u'.';
        FormatSettings.ShortDateFormat = "dd.MM.yyyy";
        FormatSettings.LongTimeFormat = "HH:mm:ss";
        FormatSettings.ShortTimeFormat = "HH:mm";
        FormatSettings.DecimalSeparator = u',';
    }
};

std::string Ymd(TDateTime dt)
{
    return FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", dt).toStdString();
}

TEST_F(DateTest, EncodeDecodeRoundTrips)
{
    struct {
        int y, m, d;
        double serial;
        int dayOfWeek;
    } const cases[] = {
        { 1899, 12, 30, 0, 7 },
        { 1899, 12, 31, 1, 1 },
        { 1900, 1, 1, 2, 2 },
        { 1899, 12, 29, -1, 6 },
        { 1800, 1, 1, -36522, 4 },
        { 2000, 1, 1, 36526, 7 },
        { 2024, 2, 29, 45351, 5 },
        { 1, 1, 1, -693593, 2 },
        { 9999, 12, 31, 2958465, 6 },
    };
    for (const auto& c : cases) {
        const TDateTime dt = EncodeDate(c.y, c.m, c.d);
        EXPECT_EQ(dt, c.serial) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(DayOfWeek(dt), c.dayOfWeek) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        DecodeDate(dt, y, m, d);
        EXPECT_EQ(std::tie(y, m, d), std::tie(c.y, c.m, c.d));
    }

    // Before 1899-12-30 the fraction still counts forward from midnight.
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(Ymd(-1.25), "1899-12-29 06:00:00.000");
    EXPECT_EQ(Ymd(-0.25), "1899-12-30 06:00:00.000");
    for (const TDateTime dt : { EncodeDateTime(1850, 6, 15, 18, 30, 15, 500), EncodeDateTime(2024, 3, 5, 0, 0, 0, 1),
             EncodeDateTime(2024, 3, 5, 23, 59, 59, 999) }) {
        int y, mo, d, h, mi, s, ms;
        DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
        EXPECT_EQ(EncodeDateTime(y, mo, d, h, mi, s, ms), dt) << Ymd(dt);
    }
    EXPECT_EQ(YearOf(-18094.75), 1850);
    EXPECT_EQ(HourOf(-18094.75), 18);
    EXPECT_EQ(DateOf(-18094.75), -18094);
    EXPECT_EQ(TimeOf(-18094.75), 0.75);
    EXPECT_EQ(DateOf(45356.5), 45356);

    // A time a hair before midnight rounds into the next day consistently.
    EXPECT_EQ(Ymd(EncodeDate(2024, 1, 1) + 0.9999999999), "2024-01-02 00:00:00.000");
    EXPECT_EQ(Ymd(EncodeDate(1850, 1, 1) - 0.9999999999), "1850-01-02 00:00:00.000");
}

TEST_F(DateTest, InvalidPartsAreRefused)
{
    TDateTime v = 42;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, v));
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, v));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, v));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1, v));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v));
    EXPECT_FALSE(TryEncodeTime(1, 60, 0, 0, v));
    EXPECT_FALSE(TryEncodeTime(1, 0, 0, 1000, v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TryEncodeTime(23, 59, 59, 999, v));
    try {
        EncodeDate(2023, 2, 29);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
    EXPECT_THROW(EncodeTime(1, 61, 0, 0), EConvertError);
    EXPECT_THROW(EncodeDateTime(2024, 1, 1, 24, 0, 0, 0), EConvertError);

    const std::pair<int, bool> leap[] = { { 1900, false }, { 2000, true }, { 2023, false }, { 2024, true } };
    for (auto [y, isLeap] : leap)
        EXPECT_EQ(IsLeapYear(y), isLeap) << y;
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInAMonth(2023, 4), 30);
    EXPECT_EQ(DaysInAMonth(2023, 13), 0);
}

TEST_F(DateTest, IncMonthClampsToTheMonthEnd)
{
    struct {
        TDateTime from;
        int months;
        const char* expected;
    } const cases[] = {
        { EncodeDate(2024, 1, 31), 1, "2024-02-29 00:00:00.000" },
        { EncodeDate(2023, 1, 31), 1, "2023-02-28 00:00:00.000" },
        { EncodeDate(2024, 3, 31), -1, "2024-02-29 00:00:00.000" },
        { EncodeDate(2024, 5, 31), 1, "2024-06-30 00:00:00.000" },
        { EncodeDate(2024, 12, 15), 1, "2025-01-15 00:00:00.000" },
        { EncodeDate(2024, 1, 15), -13, "2022-12-15 00:00:00.000" },
        { EncodeDateTime(2024, 1, 31, 10, 30, 0, 0), 1, "2024-02-29 10:30:00.000" },
        { EncodeDateTime(1899, 11, 30, 6, 0, 0, 0), 1, "1899-12-30 06:00:00.000" },
        { EncodeDateTime(1900, 1, 1, 6, 0, 0, 0), -1, "1899-12-01 06:00:00.000" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ymd(IncMonth(c.from, c.months)), c.expected) << Ymd(c.from) << " " << c.months;
    EXPECT_EQ(Ymd(IncYear(EncodeDate(2024, 2, 29))), "2025-02-28 00:00:00.000");
    EXPECT_EQ(Ymd(IncYear(EncodeDate(2024, 2, 29), -4)), "2020-02-29 00:00:00.000");
    EXPECT_EQ(IncMonth(EncodeDateTime(1899, 11, 30, 6, 0, 0, 0)), 0.25);
    EXPECT_THROW(IncYear(EncodeDate(9999, 1, 1)), EConvertError);
    EXPECT_THROW(IncYear(EncodeDate(2024, 1, 1), INT_MAX), EConvertError);
    EXPECT_THROW(IncYear(EncodeDate(2024, 1, 1), INT_MIN), EConvertError);
    EXPECT_THROW(IncMonth(EncodeDate(2024, 1, 1), INT_MIN), EConvertError);
}

TEST_F(DateTest, IncrementsCrossThe1899Boundary)
{
    const TDateTime before = EncodeDateTime(1899, 12, 29, 23, 0, 0, 0);
    EXPECT_EQ(Ymd(IncHour(before, 2)), "1899-12-30 01:00:00.000");
    EXPECT_EQ(Ymd(IncDay(EncodeDateTime(1899, 12, 28, 6, 0, 0, 0), 3)), "1899-12-31 06:00:00.000");
    EXPECT_EQ(Ymd(IncDay(EncodeDateTime(1899, 12, 31, 6, 0, 0, 0), -3)), "1899-12-28 06:00:00.000");
    EXPECT_EQ(Ymd(IncMinute(-1.25, -1)), "1899-12-29 05:59:00.000");
    EXPECT_EQ(Ymd(IncSecond(EncodeDate(2024, 1, 1), -1)), "2023-12-31 23:59:59.000");
    EXPECT_EQ(Ymd(IncMilliSecond(EncodeDateTime(2024, 1, 1, 23, 59, 59, 999))), "2024-01-02 00:00:00.000");
}

TEST_F(DateTest, ClockIsReplaceable)
{
    EXPECT_EQ(Ymd(Now()), "2024-06-15 12:00:00.000");
    EXPECT_EQ(Date(), EncodeDate(2024, 6, 15));
    EXPECT_EQ(Time(), 0.5);
    EXPECT_EQ(CurrentYear(), 2024);
    SetClock({});
    EXPECT_GT(Now(), EncodeDate(2024, 1, 1));
    const QDateTime q(QDate(2024, 3, 5), QTime(14, 7, 9, 45));
    EXPECT_EQ(DateTimeToQDateTime(DateTimeFromQDateTime(q)), q);
    EXPECT_EQ(Ymd(DateTimeFromQDateTime(QDateTime(QDate(1850, 1, 2), QTime(6, 0)))), "1850-01-02 06:00:00.000");
}

TEST_F(DateTest, FormatDateTimeLetters)
{
    const TDateTime dt = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45); // a Tuesday
    struct {
        const char* pattern;
        const char* expected;
    } const cases[] = {
        { "yyyy-mm-dd hh:nn:ss.zzz", "2024-03-05 14:07:09.045" },
        { "d/m/yy", "5/3/24" },
        { "y", "24" },
        { "ddd dddd", "Tue Tuesday" },
        { "mmm mmmm", "Mar March" },
        { "MMMM", "March" },
        { "hh:mm", "14:07" }, // m right after an hour is minutes
        { "hh 'x' mm", "14 x 07" },
        { "mm/dd hh", "03/05 14" },
        { "h:mm am/pm", "2:07 pm" },
        { "hh:mm AM/PM", "02:07 PM" },
        { "h a/p", "2 p" },
        { "h:nn ampm", "2:07 PM" },
        { "h 'am/pm'", "14 am/pm" }, // quoted marker does not switch the clock
        { "s ss z zzz", "9 09 45 045" },
        { "ddddd", "3/5/2024" },
        { "dddddd", "Tuesday, March 5, 2024" },
        { "t", "2:07 PM" },
        { "tt", "2:07:09 PM" },
        { "c", "3/5/2024 2:07:09 PM" },
        { "", "3/5/2024 2:07:09 PM" },
        { "'yyyy' \"at\" yyyy", "yyyy at 2024" },
        { "aaa aaaa", "Tue Tuesday" },
        { "x!", "x!" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.pattern, dt), c.expected) << c.pattern;

    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 5)), "3/5/2024");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(0, 30, 0, 0)), "12:30 am");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(12, 5, 0, 0)), "12:05 pm");
    EXPECT_EQ(FormatDateTime("dddd d mmmm yyyy hh:nn", -36521.75), "Thursday 2 January 1800 18:00");

    UseEuropeanDates();
    FormatSettings.DateSeparator = u'-';
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", dt), "2024-03-05 14:07");
    FormatSettings.DateSeparator = u'.';
    EXPECT_EQ(DateToStr(dt), "05.03.2024");
    EXPECT_EQ(TimeToStr(dt), "14:07:09");
    EXPECT_EQ(DateTimeToStr(dt), "05.03.2024 14:07:09");

    // A setting that names itself must not recurse for ever.
    FormatSettings.ShortDateFormat = "ddddd";
    EXPECT_EQ(FormatDateTime("ddddd|", dt), "|");
}

struct ParseCase {
    const char* text;
    bool ok;
    const char* expected;
};

void ExpectDates(const ParseCase* begin, const ParseCase* end, bool (*parse)(const QString&, TDateTime&))
{
    for (const ParseCase* c = begin; c != end; ++c) {
        TDateTime v = -99999;
        EXPECT_EQ(parse(c->text, v), c->ok) << c->text;
        if (c->ok) {
            EXPECT_EQ(Ymd(v), c->expected) << c->text;
        } else {
            EXPECT_EQ(v, -99999) << c->text;
        }
    }
}

TEST_F(DateTest, ParsesUsDates)
{
    const ParseCase cases[] = {
        { "3/5/2024", true, "2024-03-05 00:00:00.000" },
        { " 3 / 5 / 2024 ", true, "2024-03-05 00:00:00.000" },
        { "03/05/2024/", true, "2024-03-05 00:00:00.000" },
        { "3/5", true, "2024-03-05 00:00:00.000" }, // current year
        { "3/5/24", true, "2024-03-05 00:00:00.000" },
        { "3/5/74", true, "1974-03-05 00:00:00.000" }, // window starts 50 years back
        { "3/5/73", true, "2073-03-05 00:00:00.000" },
        { "3/5/0024", true, "0024-03-05 00:00:00.000" }, // four digits are taken as written
        { "12/29/1899", true, "1899-12-29 00:00:00.000" },
        { "13/5/2024", false, nullptr },
        { "2/30/2024", false, nullptr },
        { "3-5-2024", false, nullptr },
        { "3/5/2024x", false, nullptr },
        { "3/5/20245", false, nullptr },
        { "3/", false, nullptr },
        { "", false, nullptr },
    };
    ExpectDates(std::begin(cases), std::end(cases), &TryStrToDate);
    try {
        StrToDate("31/12/2024");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'31/12/2024' is not a valid date");
    }
}

TEST_F(DateTest, ParsesDatesInTheSettingsOrder)
{
    UseEuropeanDates();
    const ParseCase dmy[] = {
        { "5.3.2024", true, "2024-03-05 00:00:00.000" },
        { "31.12.99", true, "1999-12-31 00:00:00.000" },
        { "31.12", true, "2024-12-31 00:00:00.000" },
        { "3/5/2024", false, nullptr },
        { "5.13.2024", false, nullptr },
    };
    ExpectDates(std::begin(dmy), std::end(dmy), &TryStrToDate);

    FormatSettings.ShortDateFormat = "yyyy-MM-dd";
    FormatSettings.DateSeparator = u'-';
    const ParseCase ymd[] = {
        { "2024-03-05", true, "2024-03-05 00:00:00.000" },
        { "24-3-5", true, "2024-03-05 00:00:00.000" },
        { "3-5", true, "2024-03-05 00:00:00.000" },
    };
    ExpectDates(std::begin(ymd), std::end(ymd), &TryStrToDate);
}

TEST_F(DateTest, ParsesTimesAndDateTimes)
{
    const ParseCase times[] = {
        { "14:07", true, "1899-12-30 14:07:00.000" },
        { "14:07:09", true, "1899-12-30 14:07:09.000" },
        { "14:07:09.5", true, "1899-12-30 14:07:09.500" },
        { "14:07:09.045", true, "1899-12-30 14:07:09.045" },
        { "2:07 PM", true, "1899-12-30 14:07:00.000" },
        { "2:07pm", true, "1899-12-30 14:07:00.000" },
        { "PM 2:07", true, "1899-12-30 14:07:00.000" },
        { "12:00 AM", true, "1899-12-30 00:00:00.000" },
        { "12:30 PM", true, "1899-12-30 12:30:00.000" },
        { "7", true, "1899-12-30 07:00:00.000" },
        { "13:00 PM", false, nullptr },
        { "0:30 AM", false, nullptr },
        { "24:00", false, nullptr },
        { "1:60", false, nullptr },
        { "1:", false, nullptr },
        { "1:30 x", false, nullptr },
        { "", false, nullptr },
    };
    ExpectDates(std::begin(times), std::end(times), &TryStrToTime);

    const ParseCase dateTimes[] = {
        { "3/5/2024 14:07:09", true, "2024-03-05 14:07:09.000" },
        { "3/5/2024", true, "2024-03-05 00:00:00.000" },
        { "3/5/2024 2:07 PM", true, "2024-03-05 14:07:00.000" },
        { "12/29/1899 6:00", true, "1899-12-29 06:00:00.000" },
        { "14:07", true, "1899-12-30 14:07:00.000" },
        { "3/5/2024 junk", false, nullptr },
        { "3/5/2024 14:07 x", false, nullptr },
        { "3/5/2024 25:00", false, nullptr },
    };
    ExpectDates(std::begin(dateTimes), std::end(dateTimes), &TryStrToDateTime);
    EXPECT_EQ(StrToDateTime("12/29/1899 6:00"), -1.25);
    EXPECT_EQ(StrToTime("18:00"), 0.75);
    EXPECT_THROW(StrToTime("noon"), EConvertError);
    EXPECT_THROW(StrToDateTime("3/5/2024 junk"), EConvertError);

    // Round trip through the settings' own formats.
    const TDateTime dt = EncodeDateTime(2024, 3, 5, 14, 7, 9, 0);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(dt)), dt);
    UseEuropeanDates();
    EXPECT_EQ(StrToDateTime(DateTimeToStr(dt)), dt);
    EXPECT_EQ(Ymd(StrToTime("14:07:09,5")), "1899-12-30 14:07:09.500");
}

} // namespace
