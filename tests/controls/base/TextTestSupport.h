#pragma once
// Support for the text-helper tests: readable QString failures, locale
// settings for one test, and calendar day numbers.

#include "platform/runtime/SysUtils.h"

#include <QDate>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Sets the process-wide format settings for one test and restores the
// defaults afterwards.
struct LocaleGuard {
    LocaleGuard(
        QChar decimal, QChar thousand, QChar dateSep = u'/', const QString& shortDate = QStringLiteral("M/d/yyyy"))
    {
        FormatSettings.DecimalSeparator = decimal;
        FormatSettings.ThousandSeparator = thousand;
        FormatSettings.DateSeparator = dateSep;
        FormatSettings.ShortDateFormat = shortDate;
        FormatSettings.TimeSeparator = u':';
    }
    ~LocaleGuard() { ResetFormatSettings(); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
};

// Day number of a calendar date, computed independently of the code under test.
inline double DayNumber(int y, int m, int d)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}
