#pragma once
// Shared internals of the ExUtil sources: the locale characters the text
// helpers read at call time, a length-keeping upper-case mapping and strict
// integer reading.

#include <QChar>
#include <QString>

#include "platform/runtime/Types.h"

namespace exutil {

QChar DecimalSeparator();
QChar ThousandSeparator();
QChar DateSeparator();
QChar TimeSeparator();
QString ShortDateFormat();

// Upper-cases character by character, so positions in the result match the
// source (a full case mapping may change the length).
QString UpperKeepLength(const QString& Text);

// Optional sign and decimal digits, nothing else; false on overflow.
bool TryReadInt(const QString& Text, int& Value);

// Days since 1899-12-30; false when the date is not in the calendar (years 1 to 9999).
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryDecodeDate(TDateTime Date, int& Year, int& Month, int& Day);

} // namespace exutil
