#pragma once
// Window messages in the toolkit's numbering, the message record every
// control's WndProc receives, posted messages, registered message ids, timers
// and running a function on the main thread.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/runtime/Component.h"

class TControl;
class TWinControl;

using UINT = std::uint32_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
// A windowed control's identity for as long as its window exists; 0 is none.
using HWND = std::uintptr_t;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Word halves of the toolkit's packed parameters.
constexpr WORD LoWord(std::uintptr_t v)
{
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HiWord(std::uintptr_t v)
{
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MakeLParam(int lo, int hi)
{
    return static_cast<LPARAM>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
// Signed coordinates of a mouse message's LParam.
constexpr int GetXLParam(LPARAM lp)
{
    return static_cast<std::int16_t>(lp & 0xFFFF);
}
constexpr int GetYLParam(LPARAM lp)
{
    return static_cast<std::int16_t>((lp >> 16) & 0xFFFF);
}

// Window messages.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WM_SETCURSOR = 0x0020;
// Hit-test code of WM_SETCURSOR's LParam (low word): the client area.
inline constexpr int HTCLIENT = 1;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
// Answers to WM_MOUSEACTIVATE.
inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_NOACTIVATE = 3;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_SIZING = 0x0214;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_CUT = 0x0300;
inline constexpr UINT WM_COPY = 0x0301;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_CLEAR = 0x0303;
inline constexpr UINT WM_UNDO = 0x0304;
inline constexpr UINT WM_THEMECHANGED = 0x031A;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// Control messages: the toolkit's notifications between controls.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 4;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr UINT CM_ENTER = CM_BASE + 26;
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
// A drag over a windowed control: WParam is the TDragMessage, LParam the
// client point (MakeLParam; 0 for dmDragLeave). A non-zero result accepts a
// move or a drop.
inline constexpr UINT CM_DRAG = CM_BASE + 36;
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop };
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 52;
// Also sent with WM_THEMECHANGED when the visual style changes (ThemeChange.h).
inline constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr UINT CM_CHANGED = CM_BASE + 55;
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

// Notifications reflected back to the control that caused them.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// Answers to WM_GETDLGCODE.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
inline constexpr LRESULT DLGC_HASSETSEL = 0x0008;
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;
inline constexpr LRESULT DLGC_STATIC = 0x0100;
inline constexpr LRESULT DLGC_BUTTON = 0x2000;

// Mouse-message key flags (WParam of mouse messages).
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// Key data (LParam of key messages): repeat count 1, the scan code in bits 16
// to 23, bit 24 for extended keys, bit 29 with Alt held, bit 31 on release.
// The keypad's decimal key carries scan code 0x53, so bit 22 marks it.
inline constexpr LPARAM KF_KEYDATA_REPEAT1 = 0x00000001;
inline constexpr LPARAM KF_KEYDATA_EXTENDED = 0x01000000;
inline constexpr LPARAM KF_KEYDATA_ALTDOWN = 0x20000000;
inline constexpr LPARAM KF_KEYDATA_UP = LPARAM(0x80000000u);
inline constexpr LPARAM KF_KEYDATA_KEYPAD_DECIMAL = LPARAM(0x53) << 16;
constexpr bool IsKeypadDecimalKeyData(LPARAM keyData)
{
    return (keyData & (LPARAM(1) << 22)) != 0;
}

// Scroll-bar request codes of WM_VSCROLL and WM_HSCROLL (low word of WParam).
inline constexpr WORD SB_LINEUP = 0;
inline constexpr WORD SB_LINEDOWN = 1;
inline constexpr WORD SB_PAGEUP = 2;
inline constexpr WORD SB_PAGEDOWN = 3;
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_THUMBTRACK = 5;
inline constexpr WORD SB_TOP = 6;
inline constexpr WORD SB_BOTTOM = 7;
inline constexpr WORD SB_ENDSCROLL = 8;
inline constexpr WORD SB_LINELEFT = SB_LINEUP;
inline constexpr WORD SB_LINERIGHT = SB_LINEDOWN;
// Which scroll bar of a window.
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;

// Edit notifications a child edit sends its parent with WM_COMMAND (high word
// of WParam; LParam is the edit's handle).
inline constexpr WORD EN_CHANGE = 0x0300;

// Sends a message straight to the control's WndProc and returns its result;
// nothing and 0 for a null control.
LRESULT SendMessage(TControl* control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message on the main thread's event loop. Messages are delivered in
// posting order; a message whose control has been freed meanwhile is dropped.
// A worker thread posts by window identity (HWND), which stays safe however
// long the control lives; the pointer form is for the main thread. Returns
// false for a null target.
bool PostMessage(TControl* control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a character for the control as if typed: it arrives as a key press
// of that character (key-down, WM_CHAR, then the window types it), after the
// messages already queued. False for a null control.
bool PostCharToControl(TWinControl* control, char16_t ch);
// The control behind a window identity, or nullptr once it is gone.
TWinControl* FindControl(HWND wnd);

// One id per name for the whole run, in 0xC000..0xFFFF; names compare without
// regard to case. Returns 0 for an empty name or when the range is used up.
UINT RegisterWindowMessage(const QString& name);

// Timers per control and id: WM_TIMER with WParam = id reaches the control's
// WndProc every `elapseMs` on the main thread. Setting an existing id restarts
// it with the new interval. Timers die with their control. Returns the id, or 0
// when the control is null.
UINT SetTimer(TControl* control, UINT id, UINT elapseMs);
bool KillTimer(TControl* control, UINT id);

// Runs `fn` on the main thread and waits until it has run. Called on the main
// thread, it runs at once. From a worker it queues the call and blocks until
// the main thread has run it, or until `cancelled` (checked every few
// milliseconds) says the wait should stop; then the call is withdrawn if it
// has not started, and Synchronize returns false.
// Rule: the main thread must never wait for a worker without pumping events or
// cancelling it; a worker waiting here is always released by `cancelled`
// (for instance the thread's own terminate flag) so that both never block.
bool Synchronize(const std::function<void()>& fn, const std::function<bool()>& cancelled = {});

class QTimer;

// A timer component: OnTimer fires every Interval milliseconds on the main
// thread while Enabled. Setting Enabled to true on a running timer does not
// restart its countdown; changing Interval does.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    QString ClassName() const override { return QStringLiteral("TTimer"); }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;
    // Runs OnTimer as an expiry would (tests).
    void Fire();

private:
    void Update();
    bool FEnabled = true;
    unsigned FInterval = 1000;
    QTimer* FTimer = nullptr;
    bool FFiring = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
