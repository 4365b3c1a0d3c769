#pragma once
// Process-wide state of the string grid's unit, made once before any grid
// exists and released once after the last: the window-position hook that
// keeps a grid's focus frame on its cell, the grid's stream class names, the
// clipboard format and window messages of the grid, the new-common-controls
// flag and the hint font name. Also the small unit routines the grid reads
// its format settings and file versions through.

#include <QChar>
#include <QString>

#include "platform/controls/Messages.h"

class TExStringGrid;
class TWinControl;

// The run-time format settings, as the grid's sort, paste and editors read them.
QChar GetTimeSeparator();
QChar GetDateSeparator();
QChar GetThousandSeparator();
QChar GetDecimalSeparator();
QString GetShortDateFormat();
QString GetShortTimeFormat();
QString GetLongTimeFormat();

// The high double word of a file's version (major in the high word, minor in
// the low word); -1 when the file has no version information, which is the
// case for every file here.
int GetFileVersionMS(const QString& FileName);
// Whether a common-controls version (as GetFileVersionMS gives it) is 4.70 or
// later; -1 counts as old.
bool IsNewComCtrlsVersion(int VersionMS);
// Mouse input passes through the window to what lies below it.
void SetWindowTransparentStyle(TWinControl* Window);

// The call-window-procedure hook: when a window's position changes and a grid
// shows its focus frame, the frame moves to that grid's current cell (its
// screen rectangle, 4 pixels more to the left and top, 5 to the right and
// bottom). Every message is passed on to the next hook.
LRESULT GridWindowPosHook(int Code, WPARAM wParam, LPARAM lParam);

// Start-up and shut-down of the unit. They count: only the first start-up and
// the shut-down that brings the count back to 0 act.
void ExGridStartup();
void ExGridShutdown();
int ExGridStartCount();
bool ExGridHookInstalled();

// The grid whose focus frame shows, or nullptr; a freed grid reads as nullptr.
TExStringGrid* HookedGrid();
void SetHookedGrid(TExStringGrid* Grid);

// Font of wide-encoded hints: the grid that last showed a cell hint sets it.
QString HintFontName();
void SetHintFontName(const QString& Name);

// The clipboard format "TExStringGrid Cells", and the messages "GridEditDone"
// (a grid posts it to itself to finish an edit) and "DTPShiftFocus" (the date
// picker editor); 0 until start-up.
extern WORD CF_GRIDCELLS;
extern WORD WM_GRIDEDITDONE;
extern WORD WM_DTPSHIFTFOCUS;
// Common controls 4.70 or later; the date and time editors rely on it.
extern bool NewComCtrls;
