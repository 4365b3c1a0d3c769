#pragma once
// Date-time parts and arithmetic. Arithmetic runs on a linear time line, so
// dates before 1899-12-30 (negative values) move the right way.

#include "platform/runtime/SysUtils.h"

#include <QDateTime>

// EConvertError when a part is out of range.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& value);
void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec);

int YearOf(TDateTime dt);
int MonthOf(TDateTime dt);
int DayOf(TDateTime dt);
int HourOf(TDateTime dt);
int MinuteOf(TDateTime dt);
int SecondOf(TDateTime dt);
int MilliSecondOf(TDateTime dt);
TDateTime DateOf(TDateTime dt);
TDateTime TimeOf(TDateTime dt);

// Month steps keep the time and clamp the day to the target month's last day.
TDateTime IncMonth(TDateTime dt, int months = 1);
TDateTime IncYear(TDateTime dt, int years = 1);
TDateTime IncDay(TDateTime dt, std::int64_t days = 1);
TDateTime IncHour(TDateTime dt, std::int64_t hours = 1);
TDateTime IncMinute(TDateTime dt, std::int64_t minutes = 1);
TDateTime IncSecond(TDateTime dt, std::int64_t seconds = 1);
TDateTime IncMilliSecond(TDateTime dt, std::int64_t msecs = 1);

// Wall-clock conversions to and from Qt's type (no time zone arithmetic).
TDateTime DateTimeFromQDateTime(const QDateTime& v);
QDateTime DateTimeToQDateTime(TDateTime dt);
