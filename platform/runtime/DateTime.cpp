// Date encoding, the clock, FormatDateTime and date-time parsing.

#include "platform/runtime/DateTimeStamp.h"
#include "platform/runtime/SysUtils.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <mutex>

namespace {

constexpr std::int64_t DaysTo1970 = 25569; // 1899-12-30 .. 1970-01-01
constexpr std::int64_t MinDay = -693593; // 0001-01-01
constexpr std::int64_t MaxDay = 2958465; // 9999-12-31

// Proleptic Gregorian calendar, days relative to 1970-01-01.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(std::int64_t(yoe) + era * 400 + (m <= 2));
}

} // namespace

TDateStamp SplitDateTime(TDateTime dt)
{
    TDateStamp r;
    if (!std::isfinite(dt) || std::fabs(dt) > 1e9)
        return r;
    const double whole = std::trunc(dt);
    r.Day = std::int64_t(whole);
    r.MSec = Round(std::fabs(dt - whole) * double(MSecsPerDay));
    if (r.MSec >= MSecsPerDay) {
        r.MSec -= MSecsPerDay;
        ++r.Day;
    }
    return r;
}

TDateTime JoinDateTime(TDateStamp s)
{
    const double t = double(s.MSec) / double(MSecsPerDay);
    return s.Day < 0 ? double(s.Day) - t : double(s.Day) + t;
}

std::int64_t DateTimeToLinearMSecs(TDateTime dt)
{
    const TDateStamp s = SplitDateTime(dt);
    return s.Day * MSecsPerDay + s.MSec;
}

TDateTime LinearMSecsToDateTime(std::int64_t ms)
{
    TDateStamp s;
    s.Day = ms / MSecsPerDay;
    s.MSec = ms % MSecsPerDay;
    if (s.MSec < 0) {
        s.MSec += MSecsPerDay;
        --s.Day;
    }
    return JoinDateTime(s);
}

// ---------------------------------------------------------------------------

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month)
{
    static constexpr int Days[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    date = double(DaysFromCivil(year, unsigned(month), unsigned(day)) + DaysTo1970);
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time)
{
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
        return false;
    time = double(((hour * 60 + min) * 60 + sec) * 1000 + msec) / double(MSecsPerDay);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return r;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return r;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day)
{
    const TDateStamp s = SplitDateTime(dt);
    if (!std::isfinite(dt) || s.Day < MinDay || s.Day > MaxDay) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(s.Day - DaysTo1970, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec)
{
    const std::int64_t ms = SplitDateTime(dt).MSec;
    hour = int(ms / 3600000);
    min = int(ms / 60000 % 60);
    sec = int(ms / 1000 % 60);
    msec = int(ms % 1000);
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    const double d = std::trunc(date);
    const double t = std::fabs(time - std::trunc(time));
    return d < 0 ? d - t : d + t;
}

int DayOfWeek(TDateTime dt)
{
    // 0001-01-01 (day 1 of the toolkit's time stamps) was a Monday.
    const std::int64_t stamp = SplitDateTime(dt).Day + 693594;
    return int(((stamp % 7) + 7) % 7) + 1;
}

// ---------------------------------------------------------------------------
// Clock

namespace {
std::mutex ClockLock;
TClockFunc Clock;

TDateTime SystemNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    TDateTime date = 0;
    TryEncodeDate(d.year(), d.month(), d.day(), date);
    return date + double(now.time().msecsSinceStartOfDay()) / double(MSecsPerDay);
}
} // namespace

void SetClock(TClockFunc clock)
{
    std::lock_guard lock(ClockLock);
    Clock = std::move(clock);
}

TDateTime Now()
{
    TClockFunc clock;
    {
        std::lock_guard lock(ClockLock);
        clock = Clock;
    }
    return clock ? clock() : SystemNow();
}

TDateTime Date()
{
    return ComposeDateTime(Now(), 0);
}

TDateTime Time()
{
    const TDateTime n = Now();
    return std::fabs(n - std::trunc(n));
}

int CurrentYear()
{
    int y, m, d;
    DecodeDate(Now(), y, m, d);
    return y;
}

// ---------------------------------------------------------------------------
// FormatDateTime

namespace {

struct TDecoded {
    int Year, Month, Day, Hour, Min, Sec, MSec, DayOfWeek;
};

QString Num(int v, int digits)
{
    return QString::number(v).rightJustified(digits, u'0');
}

bool StartsWithCI(const QString& s, qsizetype at, QLatin1StringView what)
{
    return QStringView(s).mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0 && at + what.size() <= s.size();
}

// The hour is shown on the 12-hour clock when an am/pm marker follows it
// before the next hour.
bool Uses12HourClock(const QString& f, qsizetype from)
{
    bool quoted = false;
    for (qsizetype p = from; p < f.size(); ++p) {
        const QChar c = f[p];
        if (c == u'\'' || c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'a' || c == u'A')) {
            return StartsWithCI(f, p, QLatin1StringView("am/pm")) || StartsWithCI(f, p, QLatin1StringView("a/p"))
                || StartsWithCI(f, p, QLatin1StringView("ampm"));
        } else if (!quoted && (c == u'h' || c == u'H')) {
            return false;
        }
    }
    return false;
}

void AppendFormat(QString& out, const QString& f, const TDecoded& v, int level)
{
    const TFormatSettings& fs = FormatSettings;
    // Nested formats (ddddd, c, t inside the settings' own formats) stop after
    // two levels so a self-referencing setting cannot recurse for ever.
    auto nested = [&](const QString& inner) {
        if (level < 2)
            AppendFormat(out, inner, v, level + 1);
    };
    char16_t lastToken = 0;
    qsizetype i = 0;
    const qsizetype n = f.size();
    while (i < n) {
        const QChar c = f[i];
        char16_t token = c.unicode();
        if (token >= u'a' && token <= u'z')
            token = char16_t(token - 32);
        if (token >= u'A' && token <= u'Z') {
            if (token == u'M' && lastToken == u'H')
                token = u'N';
            lastToken = token;
        }
        qsizetype count = 1;
        while (i + count < n && f[i + count] == c)
            ++count;
        switch (token) {
        case u'Y':
            out += count <= 2 ? Num(v.Year % 100, 2) : Num(v.Year, 4);
            i += count;
            break;
        case u'M':
            if (count <= 2)
                out += Num(v.Month, int(count));
            else
                out += count == 3 ? fs.ShortMonthNames[size_t(v.Month - 1)] : fs.LongMonthNames[size_t(v.Month - 1)];
            i += count;
            break;
        case u'D':
            if (count <= 2)
                out += Num(v.Day, int(count));
            else if (count == 3)
                out += fs.ShortDayNames[size_t(v.DayOfWeek - 1)];
            else if (count == 4)
                out += fs.LongDayNames[size_t(v.DayOfWeek - 1)];
            else
                nested(count == 5 ? fs.ShortDateFormat : fs.LongDateFormat);
            i += count;
            break;
        case u'H': {
            int h = v.Hour;
            if (Uses12HourClock(f, i + count)) {
                if (h == 0)
                    h = 12;
                else if (h > 12)
                    h -= 12;
            }
            out += Num(h, count > 2 ? 2 : int(count));
            i += count;
            break;
        }
        case u'N':
            out += Num(v.Min, count > 2 ? 2 : int(count));
            i += count;
            break;
        case u'S':
            out += Num(v.Sec, count > 2 ? 2 : int(count));
            i += count;
            break;
        case u'Z':
            out += Num(v.MSec, count == 1 ? 1 : 3);
            i += count;
            break;
        case u'T':
            nested(count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat);
            i += count;
            break;
        case u'C':
            nested(fs.ShortDateFormat);
            if (v.Hour != 0 || v.Min != 0 || v.Sec != 0) {
                out += u' ';
                nested(fs.LongTimeFormat);
            }
            i += count;
            break;
        case u'A': {
            const bool pm = v.Hour >= 12;
            if (StartsWithCI(f, i, QLatin1StringView("am/pm"))) {
                out += f.mid(pm ? i + 3 : i, 2);
                i += 5;
            } else if (StartsWithCI(f, i, QLatin1StringView("a/p"))) {
                out += f[pm ? i + 2 : i];
                i += 3;
            } else if (StartsWithCI(f, i, QLatin1StringView("ampm"))) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
            } else if (StartsWithCI(f, i, QLatin1StringView("aaaa"))) {
                out += fs.LongDayNames[size_t(v.DayOfWeek - 1)];
                i += 4;
            } else if (StartsWithCI(f, i, QLatin1StringView("aaa"))) {
                out += fs.ShortDayNames[size_t(v.DayOfWeek - 1)];
                i += 3;
            } else {
                out += c;
                ++i;
            }
            break;
        }
        case u'/':
            out += fs.DateSeparator;
            ++i;
            break;
        case u':':
            out += fs.TimeSeparator;
            ++i;
            break;
        case u'\'':
        case u'"': {
            qsizetype end = f.indexOf(c, i + 1);
            if (end < 0)
                end = n;
            out += f.mid(i + 1, end - i - 1);
            i = end + 1;
            break;
        }
        default:
            out += c;
            ++i;
            break;
        }
    }
}

} // namespace

QString FormatDateTime(const QString& pattern, TDateTime dt)
{
    TDecoded v;
    DecodeDate(dt, v.Year, v.Month, v.Day);
    DecodeTime(dt, v.Hour, v.Min, v.Sec, v.MSec);
    if (v.Month == 0) {
        // Outside the calendar: show the first day rather than index past the
        // name tables.
        v.Year = v.Month = v.Day = 1;
    }
    v.DayOfWeek = DayOfWeek(dt);
    QString out;
    AppendFormat(out, pattern.isEmpty() ? QStringLiteral("c") : pattern, v, 0);
    return out;
}

QString DateToStr(TDateTime dt)
{
    return FormatDateTime(QStringLiteral("ddddd"), dt);
}
QString TimeToStr(TDateTime dt)
{
    return FormatDateTime(QStringLiteral("tt"), dt);
}
QString DateTimeToStr(TDateTime dt)
{
    return FormatDateTime(QStringLiteral("c"), dt);
}

// ---------------------------------------------------------------------------
// Parsing

namespace {

class TScanner {
public:
    explicit TScanner(const QString& s)
        : S(s)
    {
    }
    const QString& S;
    qsizetype Pos = 0;

    bool AtEnd() const { return Pos >= S.size(); }
    void Blanks()
    {
        while (Pos < S.size() && S[Pos] == u' ')
            ++Pos;
    }
    // Up to four digits; `len` gets how many were read.
    bool Number(int& value, int& len)
    {
        Blanks();
        qsizetype p = Pos;
        int v = 0;
        while (p < S.size() && S[p] >= u'0' && S[p] <= u'9' && v < 1000)
            v = v * 10 + (S[p++].unicode() - u'0');
        if (p == Pos)
            return false;
        len = int(p - Pos);
        value = v;
        Pos = p;
        return true;
    }
    bool Char(QChar c)
    {
        Blanks();
        if (Pos < S.size() && S[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }
    bool Text(const QString& what)
    {
        if (what.isEmpty())
            return false;
        Blanks();
        if (QStringView(S).mid(Pos, what.size()).compare(what, Qt::CaseInsensitive) != 0)
            return false;
        Pos += what.size();
        return true;
    }
};

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder GetDateOrder(const QString& f)
{
    for (QChar c : f) {
        switch (c.toUpper().unicode()) {
        case u'E':
        case u'Y':
            return TDateOrder::YMD;
        case u'M':
            return TDateOrder::MDY;
        case u'D':
            return TDateOrder::DMY;
        default:
            break;
        }
    }
    return TDateOrder::MDY;
}

bool ScanDate(TScanner& sc, TDateTime& date)
{
    const TFormatSettings& fs = FormatSettings;
    const TDateOrder order = GetDateOrder(fs.ShortDateFormat);
    int n1, n2, n3, l1, l2, l3;
    if (!(sc.Number(n1, l1) && sc.Char(fs.DateSeparator) && sc.Number(n2, l2)))
        return false;
    int y, m, d;
    if (sc.Char(fs.DateSeparator)) {
        if (!sc.Number(n3, l3))
            return false;
        int yearLen;
        switch (order) {
        case TDateOrder::MDY:
            y = n3, yearLen = l3, m = n1, d = n2;
            break;
        case TDateOrder::DMY:
            y = n3, yearLen = l3, m = n2, d = n1;
            break;
        default:
            y = n1, yearLen = l1, m = n2, d = n3;
            break;
        }
        if (yearLen <= 2) {
            const int base = CurrentYear() - fs.TwoDigitYearCenturyWindow;
            y += base / 100 * 100;
            if (fs.TwoDigitYearCenturyWindow > 0 && y < base)
                y += 100;
        }
    } else {
        y = CurrentYear();
        if (order == TDateOrder::DMY)
            d = n1, m = n2;
        else
            m = n1, d = n2;
    }
    sc.Char(fs.DateSeparator);
    sc.Blanks();
    return TryEncodeDate(y, m, d, date);
}

bool ScanTime(TScanner& sc, TDateTime& time)
{
    const TFormatSettings& fs = FormatSettings;
    auto marker = [&]() -> int {
        if (sc.Text(fs.TimeAMString) || sc.Text(QStringLiteral("AM")))
            return 0;
        if (sc.Text(fs.TimePMString) || sc.Text(QStringLiteral("PM")))
            return 12;
        return -1;
    };
    int baseHour = marker();
    int hour, min = 0, sec = 0, msec = 0, len;
    if (!sc.Number(hour, len))
        return false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(min, len))
            return false;
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(sec, len))
                return false;
            if (sc.Char(fs.DecimalSeparator)) {
                // The digits are a fraction of a second: ".5" is 500 ms.
                if (!sc.Number(msec, len))
                    return false;
                for (; len < 3; ++len)
                    msec *= 10;
                for (; len > 3; --len)
                    msec /= 10;
            }
        }
    }
    if (baseHour < 0)
        baseHour = marker();
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        if (hour == 12)
            hour = 0;
        hour += baseHour;
    }
    sc.Blanks();
    return TryEncodeTime(hour, min, sec, msec, time);
}

[[noreturn]] void DateError(const char* what, const QString& s)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid %2").arg(s, QLatin1StringView(what)));
}

} // namespace

bool TryStrToDate(const QString& s, TDateTime& value)
{
    TScanner sc(s);
    TDateTime d;
    if (!ScanDate(sc, d) || !sc.AtEnd())
        return false;
    value = d;
    return true;
}

bool TryStrToTime(const QString& s, TDateTime& value)
{
    TScanner sc(s);
    TDateTime t;
    if (!ScanTime(sc, t) || !sc.AtEnd())
        return false;
    value = t;
    return true;
}

bool TryStrToDateTime(const QString& s, TDateTime& value)
{
    TScanner sc(s);
    TDateTime d, t = 0;
    if (ScanDate(sc, d) && (sc.AtEnd() || (ScanTime(sc, t) && sc.AtEnd()))) {
        value = ComposeDateTime(d, t);
        return true;
    }
    return TryStrToTime(s, value);
}

TDateTime StrToDate(const QString& s)
{
    TDateTime v;
    if (!TryStrToDate(s, v))
        DateError("date", s);
    return v;
}

TDateTime StrToTime(const QString& s)
{
    TDateTime v;
    if (!TryStrToTime(s, v))
        DateError("time", s);
    return v;
}

TDateTime StrToDateTime(const QString& s)
{
    TDateTime v;
    if (!TryStrToDateTime(s, v))
        DateError("date and time", s);
    return v;
}
