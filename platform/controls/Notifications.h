#pragma once
// Notifications a control sends its parent window as WM_NOTIFY (LParam points
// to a record that starts with TNMHdr): the tool tip's and the date-time
// picker's.

#include "platform/controls/Messages.h"

#include <QString>
#include <cstdint>

struct TNMHdr {
    HWND hwndFrom = 0;
    std::uintptr_t idFrom = 0;
    int code = 0;
};

// Tool tips: the text is asked for just before the tip shows; the tip tells
// when it shows and when it goes.
inline constexpr int TTN_FIRST = -520;
inline constexpr int TTN_GETDISPINFO = TTN_FIRST - 10;
inline constexpr int TTN_SHOW = TTN_FIRST - 1;
inline constexpr int TTN_POP = TTN_FIRST - 2;

struct TNMTTDispInfo {
    TNMHdr hdr;
    // What the tip shows; the owner fills it.
    QString Text;
};

// Date-time pickers: the value changed.
inline constexpr int DTN_FIRST = -760;
inline constexpr int DTN_DATETIMECHANGE = DTN_FIRST + 1;
inline constexpr DWORD GDT_VALID = 0;
inline constexpr DWORD GDT_NONE = 1;

struct TSystemTime {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

struct TNMDateTimeChange {
    TNMHdr hdr;
    // GDT_NONE: the picker's check box is cleared (no date).
    DWORD dwFlags = GDT_VALID;
    TSystemTime st;
};
