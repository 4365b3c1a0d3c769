#include "platform/runtime/DateUtils.h"

#include "platform/runtime/DateTimeStamp.h"

#include <QDate>
#include <QTime>
#include <limits>

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& value)
{
    TDateTime d, t;
    if (!TryEncodeDate(year, month, day, d) || !TryEncodeTime(hour, min, sec, msec, t))
        return false;
    value = ComposeDateTime(d, t);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeDateTime(year, month, day, hour, min, sec, msec, r))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return r;
}

void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec)
{
    DecodeDate(dt, year, month, day);
    DecodeTime(dt, hour, min, sec, msec);
}

int YearOf(TDateTime dt)
{
    int y, m, d;
    DecodeDate(dt, y, m, d);
    return y;
}

int MonthOf(TDateTime dt)
{
    int y, m, d;
    DecodeDate(dt, y, m, d);
    return m;
}

int DayOf(TDateTime dt)
{
    int y, m, d;
    DecodeDate(dt, y, m, d);
    return d;
}

int HourOf(TDateTime dt)
{
    return int(SplitDateTime(dt).MSec / 3600000);
}
int MinuteOf(TDateTime dt)
{
    return int(SplitDateTime(dt).MSec / 60000 % 60);
}
int SecondOf(TDateTime dt)
{
    return int(SplitDateTime(dt).MSec / 1000 % 60);
}
int MilliSecondOf(TDateTime dt)
{
    return int(SplitDateTime(dt).MSec % 1000);
}

TDateTime DateOf(TDateTime dt)
{
    return double(SplitDateTime(dt).Day);
}

TDateTime TimeOf(TDateTime dt)
{
    return double(SplitDateTime(dt).MSec) / double(MSecsPerDay);
}

TDateTime IncMonth(TDateTime dt, int months)
{
    int y, m, d;
    DecodeDate(dt, y, m, d);
    if (m == 0)
        return dt;
    const std::int64_t total = std::int64_t(y) * 12 + (m - 1) + months;
    const std::int64_t ny = total >= 0 ? total / 12 : (total - 11) / 12;
    const int nm = int(total - ny * 12) + 1;
    if (ny < 1 || ny > 9999)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    const int nd = std::min(d, DaysInAMonth(int(ny), nm));
    TDateStamp s = SplitDateTime(dt);
    s.Day = std::int64_t(EncodeDate(int(ny), nm, nd));
    return JoinDateTime(s);
}

TDateTime IncYear(TDateTime dt, int years)
{
    // Beyond the calendar's 10000 years anyway; refused before the month count overflows.
    if (years > 10000 || years < -10000)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return IncMonth(dt, years * 12);
}

namespace {
TDateTime AddMSecs(TDateTime dt, std::int64_t count, std::int64_t unit)
{
    // Saturate rather than overflow; the result is far outside the calendar anyway.
    constexpr std::int64_t Limit = std::numeric_limits<std::int64_t>::max() / 4;
    if (count > Limit / unit || count < -Limit / unit)
        count = count > 0 ? Limit / unit : -Limit / unit;
    return LinearMSecsToDateTime(DateTimeToLinearMSecs(dt) + count * unit);
}
} // namespace

TDateTime IncDay(TDateTime dt, std::int64_t days)
{
    return AddMSecs(dt, days, MSecsPerDay);
}
TDateTime IncHour(TDateTime dt, std::int64_t hours)
{
    return AddMSecs(dt, hours, 3600000);
}
TDateTime IncMinute(TDateTime dt, std::int64_t minutes)
{
    return AddMSecs(dt, minutes, 60000);
}
TDateTime IncSecond(TDateTime dt, std::int64_t seconds)
{
    return AddMSecs(dt, seconds, 1000);
}
TDateTime IncMilliSecond(TDateTime dt, std::int64_t msecs)
{
    return AddMSecs(dt, msecs, 1);
}

TDateTime DateTimeFromQDateTime(const QDateTime& v)
{
    const QDate d = v.date();
    TDateTime date;
    if (!v.isValid() || !TryEncodeDate(d.year(), d.month(), d.day(), date))
        return 0;
    TDateStamp s;
    s.Day = std::int64_t(date);
    s.MSec = v.time().msecsSinceStartOfDay();
    return JoinDateTime(s);
}

QDateTime DateTimeToQDateTime(TDateTime dt)
{
    int y, m, d;
    DecodeDate(dt, y, m, d);
    if (m == 0)
        return {};
    return QDateTime(QDate(y, m, d), QTime::fromMSecsSinceStartOfDay(int(SplitDateTime(dt).MSec)));
}
