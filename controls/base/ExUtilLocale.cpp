#include "controls/base/ExUtilLocale.h"

#include "platform/runtime/SysUtils.h"

#include <QDate>
#include <cmath>

namespace exutil {

QChar DecimalSeparator()
{
    return FormatSettings.DecimalSeparator;
}
QChar ThousandSeparator()
{
    return FormatSettings.ThousandSeparator;
}
QChar DateSeparator()
{
    return FormatSettings.DateSeparator;
}
QChar TimeSeparator()
{
    return FormatSettings.TimeSeparator;
}
QString ShortDateFormat()
{
    return FormatSettings.ShortDateFormat;
}

QString UpperKeepLength(const QString& Text)
{
    QString s = Text;
    for (QChar& c : s)
        c = c.toUpper();
    return s;
}

bool TryReadInt(const QString& Text, int& Value)
{
    const int n = int(Text.length());
    int i = 0;
    bool negative = false;
    if (i < n && (Text[i] == QLatin1Char('-') || Text[i] == QLatin1Char('+'))) {
        negative = Text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return false;
    long long v = 0;
    for (; i < n; ++i) {
        const QChar c = Text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return false;
    Value = int(v);
    return true;
}

namespace {
const QDate kOrigin(1899, 12, 30);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > 31)
        return false;
    const QDate d(Year, Month, Day);
    if (!d.isValid())
        return false;
    Date = TDateTime(kOrigin.daysTo(d));
    return true;
}

bool TryDecodeDate(TDateTime Date, int& Year, int& Month, int& Day)
{
    if (!std::isfinite(Date) || std::fabs(Date) > 4.0e6)
        return false;
    const QDate d = kOrigin.addDays(static_cast<qint64>(std::trunc(Date)));
    if (!d.isValid() || d.year() < 1)
        return false;
    Year = d.year();
    Month = d.month();
    Day = d.day();
    return true;
}

} // namespace exutil
