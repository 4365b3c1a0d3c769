#pragma once
// Call-window-procedure hooks of the main thread, and the window style that
// lets mouse input through a window.
//
// A hook sees WM_WINDOWPOSCHANGED whenever a top-level window (a form, a
// helper window, a hint) has moved or changed its size, whether code or the
// window system moved it; the message's LParam points to a TWindowPos with
// the new bounds. The newest hook is called first and passes the message on
// with CallNextHookEx.

#include "platform/controls/Messages.h"

using HHOOK = std::uintptr_t;
using HOOKPROC = LRESULT (*)(int Code, WPARAM wParam, LPARAM lParam);

inline constexpr int WH_CALLWNDPROC = 4;
inline constexpr int HC_ACTION = 0;

// What a WH_CALLWNDPROC hook gets through its LParam.
struct TCWPStruct {
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    UINT message = 0;
    HWND hwnd = 0;
};

// The new place of a window (LParam of WM_WINDOWPOSCHANGED), screen pixels.
struct TWindowPos {
    HWND hwnd = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// Installs a hook on the main thread; 0 for a kind other than WH_CALLWNDPROC,
// a null procedure or another thread.
HHOOK SetWindowsHookEx(int IdHook, HOOKPROC Proc);
// False for a hook that is not installed.
bool UnhookWindowsHookEx(HHOOK Hook);
// Calls the hook installed before `Hook`; 0 when there is none.
LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM wParam, LPARAM lParam);

// Mouse input passes through a transparent window to what lies below it.
class TWinControl;
void SetWindowTransparentForMouse(TWinControl* Window, bool Transparent);
bool WindowTransparentForMouse(TWinControl* Window);
