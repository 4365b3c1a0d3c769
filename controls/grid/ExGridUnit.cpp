#include "controls/grid/ExGridUnit.h"

#include <QtGlobal>

#include "controls/base/ExObjWindows.h"
#include "controls/grid/ExColumnGrid.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridCellEditors.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/controls/ClipboardFormats.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/WindowHooks.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/SysUtils.h"

WORD CF_GRIDCELLS = 0;
WORD WM_GRIDEDITDONE = 0;
WORD WM_DTPSHIFTFOCUS = 0;
bool NewComCtrls = false;

namespace {

int GStartCount = 0;
HHOOK GHook = 0;
// The hooked grid by its control number, so that a grid freed while its frame
// shows is never reached.
std::uint64_t GHookedGrid = 0;
QString GHintFontName;

// An arrow window streamed in points up until the grid sets its direction.
TComponent* MakeArrowWindow(TComponent* AOwner)
{
    return new TArrowWindow(dynamic_cast<TWinControl*>(AOwner), TArrowDirection::arrUp);
}

// The grid's stream classes in their order; the ones still to come are left
// out until they exist.
struct TGridClass {
    const char* Name;
    TComponentFactory Factory;
};
const TGridClass GGridClasses[] = {
    { "TExStringGrid", &ComponentFactory<TExStringGrid> },
    { "TExColumnGrid", &ComponentFactory<TExColumnGrid> },
    { "TDropList", nullptr },
    { "TArrowWindow", &MakeArrowWindow },
    { "TGridCombo", &ComponentFactory<TGridCombo> },
    { "TGridSpin", &ComponentFactory<TGridSpin> },
    { "TGridTransEdit", &ComponentFactory<TGridTransEdit> },
    { "TGridTransCombo", &ComponentFactory<TGridTransCombo> },
    { "TGridCheckBox", &ComponentFactory<TGridCheckBox> },
    { "TGridEditBtn", nullptr },
    { "TGridDateTimePicker", nullptr },
    { "TGridUnitEditBtn", nullptr },
    { "TGridTrackbarDropDown", nullptr },
    { "TGridMemoDropDown", nullptr },
    { "TGridCalculatorDropDown", nullptr },
    { "TGridTimepickerDropDown", nullptr },
    { "TGridDetailPickerDropDown", nullptr },
    { "TGridGridDropDown", nullptr },
    { "TGridColorDropDown", nullptr },
    { "TGridImageDropDown", nullptr },
    { "TGridButton", nullptr },
    { "TGridDatePicker", nullptr },
    { "THeaderDragButton", nullptr },
    { "TControlEdit", &ComponentFactory<TControlEdit> },
    { "TControlCombo", &ComponentFactory<TControlCombo> },
    { "TScrollBar", &ComponentFactory<TScrollBar> },
    { "TExRichEdit", nullptr },
    { "TFooterPanel", nullptr },
    { "TSearchPanel", nullptr },
};

void RegisterGridClasses()
{
    // A failing registration ends the registering; the grid still starts.
    try {
        for (const TGridClass& c : GGridClasses)
            if (c.Factory)
                RegisterClass(QString::fromLatin1(c.Name), c.Factory);
    } catch (...) {
    }
}

} // namespace

QChar GetTimeSeparator()
{
    return FormatSettings.TimeSeparator;
}

QChar GetDateSeparator()
{
    return FormatSettings.DateSeparator;
}

QChar GetThousandSeparator()
{
    return FormatSettings.ThousandSeparator;
}

QChar GetDecimalSeparator()
{
    return FormatSettings.DecimalSeparator;
}

QString GetShortDateFormat()
{
    return FormatSettings.ShortDateFormat;
}

QString GetShortTimeFormat()
{
    return FormatSettings.ShortTimeFormat;
}

QString GetLongTimeFormat()
{
    return FormatSettings.LongTimeFormat;
}

int GetFileVersionMS(const QString& FileName)
{
    // No file here carries version information.
    (void)FileName;
    return -1;
}

bool IsNewComCtrlsVersion(int VersionMS)
{
    if (VersionMS == -1)
        return false;
    const auto v = static_cast<quint32>(VersionMS);
    const quint32 major = v >> 16;
    const quint32 minor = v & 0xFFFF;
    return major > 4 || (major == 4 && minor >= 70);
}

void SetWindowTransparentStyle(TWinControl* Window)
{
    SetWindowTransparentForMouse(Window, true);
}

LRESULT GridWindowPosHook(int Code, WPARAM wParam, LPARAM lParam)
{
    const auto* cwp = reinterpret_cast<const TCWPStruct*>(lParam);
    if (cwp && (cwp->message == WM_WINDOWPOSCHANGING || cwp->message == WM_WINDOWPOSCHANGED)) {
        // Moving the frame is itself a window move: that one is not followed.
        static bool moving = false;
        TExStringGrid* grid = HookedGrid();
        if (grid && !moving) {
            struct TMoving {
                TMoving() { moving = true; }
                ~TMoving() { moving = false; }
            } scope;
            grid->FollowFocusWindow();
        }
    }
    return CallNextHookEx(GHook, Code, wParam, lParam);
}

void ExGridStartup()
{
    if (GStartCount-- != 0)
        return;
    // There is no OLE to initialise: drag and drop and the clipboard need no set-up.
    GHookedGrid = 0;
    if (!GHook)
        GHook = SetWindowsHookEx(WH_CALLWNDPROC, &GridWindowPosHook);
    RegisterGridClasses();
    NewComCtrls
        = PlatformInfo().ComCtl6OrLater || IsNewComCtrlsVersion(GetFileVersionMS(QStringLiteral("comctl32.dll")));
    CF_GRIDCELLS = static_cast<WORD>(RegisterClipboardFormat(QStringLiteral("TExStringGrid Cells")));
    WM_GRIDEDITDONE = static_cast<WORD>(RegisterWindowMessage(QStringLiteral("GridEditDone")));
    WM_DTPSHIFTFOCUS = static_cast<WORD>(RegisterWindowMessage(QStringLiteral("DTPShiftFocus")));
}

void ExGridShutdown()
{
    if (++GStartCount != 0)
        return;
    if (GHook) {
        UnhookWindowsHookEx(GHook);
        GHook = 0;
    }
    GHintFontName.clear();
}

int ExGridStartCount()
{
    return GStartCount;
}

bool ExGridHookInstalled()
{
    return GHook != 0;
}

TExStringGrid* HookedGrid()
{
    return GHookedGrid ? dynamic_cast<TExStringGrid*>(FindControlBySerial(GHookedGrid)) : nullptr;
}

void SetHookedGrid(TExStringGrid* Grid)
{
    GHookedGrid = Grid ? ControlSerial(Grid) : 0;
}

QString HintFontName()
{
    return GHintFontName;
}

void SetHintFontName(const QString& Name)
{
    GHintFontName = Name;
}
