#pragma once
// A date-time split into its day number and the milliseconds of that day, and
// the linear millisecond count that date arithmetic works on. Needed because a
// TDateTime before 1899-12-30 is negative while its time still counts forward.

#include "platform/runtime/Types.h"

#include <cstdint>

struct TDateStamp {
    std::int64_t Day = 0; // days since 1899-12-30
    std::int64_t MSec = 0; // 0 .. MSecsPerDay - 1
};

// The time is rounded to the millisecond; 23:59:59.9996 becomes the next day.
TDateStamp SplitDateTime(TDateTime dt);
TDateTime JoinDateTime(TDateStamp s);
std::int64_t DateTimeToLinearMSecs(TDateTime dt);
TDateTime LinearMSecsToDateTime(std::int64_t ms);
