// Short-date parsing, date arithmetic and the locale date-time reader.

#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilLocale.h"
#include "platform/runtime/Exceptions.h"

#include <QDate>
#include <algorithm>
#include <cmath>

using namespace exutil;

namespace {

// A date-time value keeps its time as the fraction's magnitude, also before
// the date origin.
TDateTime Compose(TDateTime date, double time)
{
    return date < 0 ? date - time : date + time;
}

double TimeFraction(TDateTime dt)
{
    return std::fabs(dt - std::trunc(dt));
}

TDateTime ParseShortDate(const QString& Text, bool monthFirst)
{
    QChar sep;
    if (Text.contains(QLatin1Char('/')))
        sep = QLatin1Char('/');
    else if (Text.contains(QLatin1Char('.')))
        sep = QLatin1Char('.');
    else if (Text.contains(QLatin1Char('-')))
        sep = QLatin1Char('-');
    else
        return 0;
    const int p1 = int(Text.indexOf(sep));
    const int p2 = int(Text.indexOf(sep, p1 + 1));
    if (p2 < 0)
        return 0;
    int a = 0;
    int b = 0;
    int year = 0;
    if (!TryReadInt(Text.left(p1).trimmed(), a) || !TryReadInt(Text.mid(p1 + 1, p2 - p1 - 1).trimmed(), b)
        || !TryReadInt(Text.mid(p2 + 1).trimmed(), year))
        return 0;
    // Only a short year gets a century; 2020 stays 2020.
    if (year >= 0 && year < 100)
        year += year <= 25 ? 2000 : 1900;
    const int month = monthFirst ? a : b;
    const int day = monthFirst ? b : a;
    // These run inside sort comparisons: an impossible date is just "no date".
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return 0;
    return date;
}

} // namespace

TDateTime ParseShortDateUS(const QString& Text)
{
    return ParseShortDate(Text, true);
}

TDateTime ParseShortDateEU(const QString& Text)
{
    return ParseShortDate(Text, false);
}

bool HasDateSeparators(const QString& Text)
{
    const QChar sep = DateSeparator();
    const int p = int(Text.indexOf(sep));
    if (p < 1)
        return false;
    return Text.indexOf(sep, p + 2) >= 0;
}

TDateTime AddToDate(int Years, int Months, int Days, double ExtraDays, TDateTime Date)
{
    const int parts = (Years != 0) + (Months != 0) + (Days != 0);
    if (parts != 1)
        return Date + ExtraDays;
    if (Days != 0)
        return Date + Days;
    int y = 0;
    int m = 0;
    int d = 0;
    if (!TryDecodeDate(Date, y, m, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    if (Years != 0) {
        // Counted wide: a year count from a cell must not overflow.
        const long long year = static_cast<long long>(y) + Years;
        if (year < 1 || year > 9999)
            throw EConvertError(QStringLiteral("Invalid argument to date encode"));
        y = static_cast<int>(year);
    } else {
        const long long total = static_cast<long long>(y) * 12 + (m - 1) + Months;
        y = static_cast<int>(total >= 0 ? total / 12 : -((-total + 11) / 12));
        m = static_cast<int>(total - static_cast<long long>(y) * 12) + 1;
    }
    // The 31st plus one month is the month's last day, not an error.
    if (y >= 1 && y <= 9999)
        d = std::min(d, QDate(y, m, 1).daysInMonth());
    TDateTime result = 0;
    if (!TryEncodeDate(y, m, d, result))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return Compose(result, TimeFraction(Date));
}

bool ParseDateTimeText(const QString& Text, TDateTime& DT)
{
    // Field order from the short date format: the first D, M and Y.
    const QString fmt = UpperKeepLength(ShortDateFormat());
    struct Field {
        int pos;
        int role; // 0 day, 1 month, 2 year
    };
    Field order[3] = { { int(fmt.indexOf(QLatin1Char('D'))), 0 }, { int(fmt.indexOf(QLatin1Char('M'))), 1 },
        { int(fmt.indexOf(QLatin1Char('Y'))), 2 } };
    for (Field& f : order)
        if (f.pos < 0)
            f.pos = 1 << 30;
    std::stable_sort(std::begin(order), std::end(order), [](const Field& a, const Field& b) { return a.pos < b.pos; });

    const QChar ds = DateSeparator();
    const int p1 = int(Text.indexOf(ds));
    if (p1 < 0)
        return false;
    const int p2 = int(Text.indexOf(ds, p1 + 1));
    if (p2 < 0)
        return false;
    int values[3] = { 0, 0, 0 };
    if (!TryReadInt(Text.left(p1), values[0]) || !TryReadInt(Text.mid(p1 + 1, p2 - p1 - 1), values[1]))
        return false;
    const QString rest = Text.mid(p2 + 1).trimmed();
    const int blank = int(rest.indexOf(QLatin1Char(' ')));
    const QString third = blank >= 0 ? rest.left(blank) : rest;
    const QString timePart = blank >= 0 ? rest.mid(blank).trimmed() : QString();
    if (!TryReadInt(third, values[2]))
        return false;
    int ymd[3] = { 0, 0, 0 };
    for (int i = 0; i < 3; ++i)
        ymd[order[i].role] = values[i];
    const int day = ymd[0];
    const int month = ymd[1];
    const int year = ymd[2];
    if (day > 31 || month > 12)
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return false;
    if (timePart.isEmpty()) {
        DT = date;
        return true;
    }
    const QChar ts = TimeSeparator();
    const int q1 = int(timePart.indexOf(ts));
    if (q1 < 0) {
        DT = date;
        return false;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!TryReadInt(timePart.left(q1), hour) || hour > 23)
        return false;
    const int q2 = int(timePart.indexOf(ts, q1 + 1));
    if (q2 >= 0) {
        if (!TryReadInt(timePart.mid(q1 + 1, q2 - q1 - 1), minute) || !TryReadInt(timePart.mid(q2 + 1), second))
            return false;
        if (second > 60)
            return false;
    } else if (!TryReadInt(timePart.mid(q1 + 1), minute)) {
        return false;
    }
    if (minute > 59)
        return false;
    if (hour < 0 || minute < 0 || second < 0 || second > 59)
        return false;
    DT = Compose(date, (hour * 3600.0 + minute * 60.0 + second) / 86400.0);
    return true;
}
