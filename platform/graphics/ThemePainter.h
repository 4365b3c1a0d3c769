#pragma once
// Themed control parts and classic frame controls, painted by our own code so
// that every machine shows the same pixels: no platform style, no fonts, no
// antialiasing. The calls keep the shape the controls are written against:
// open theme data for a class, draw a part in a state into a rectangle, close
// the data; DrawFrameControl for the unthemed look.

#include "platform/runtime/Types.h"

#include <QString>

class TCanvas;

struct TThemeData;
using HTHEME = const TThemeData*; // nullptr: no theme

// Theme classes: "button", "combobox", "spin", "header", "progress", "scrollbar".

// "button"
inline constexpr int BP_PUSHBUTTON = 1;
inline constexpr int BP_RADIOBUTTON = 2;
inline constexpr int BP_CHECKBOX = 3;
inline constexpr int PBS_NORMAL = 1;
inline constexpr int PBS_HOT = 2;
inline constexpr int PBS_PRESSED = 3;
inline constexpr int PBS_DISABLED = 4;
inline constexpr int PBS_DEFAULTED = 5;
inline constexpr int CBS_UNCHECKEDNORMAL = 1;
inline constexpr int CBS_UNCHECKEDHOT = 2;
inline constexpr int CBS_UNCHECKEDPRESSED = 3;
inline constexpr int CBS_UNCHECKEDDISABLED = 4;
inline constexpr int CBS_CHECKEDNORMAL = 5;
inline constexpr int CBS_CHECKEDHOT = 6;
inline constexpr int CBS_CHECKEDPRESSED = 7;
inline constexpr int CBS_CHECKEDDISABLED = 8;
inline constexpr int CBS_MIXEDNORMAL = 9;
inline constexpr int CBS_MIXEDHOT = 10;
inline constexpr int CBS_MIXEDPRESSED = 11;
inline constexpr int CBS_MIXEDDISABLED = 12;
inline constexpr int RBS_UNCHECKEDNORMAL = 1;
inline constexpr int RBS_UNCHECKEDHOT = 2;
inline constexpr int RBS_UNCHECKEDPRESSED = 3;
inline constexpr int RBS_UNCHECKEDDISABLED = 4;
inline constexpr int RBS_CHECKEDNORMAL = 5;
inline constexpr int RBS_CHECKEDHOT = 6;
inline constexpr int RBS_CHECKEDPRESSED = 7;
inline constexpr int RBS_CHECKEDDISABLED = 8;

// "combobox"
inline constexpr int CP_DROPDOWNBUTTON = 1;
inline constexpr int CBXS_NORMAL = 1;
inline constexpr int CBXS_HOT = 2;
inline constexpr int CBXS_PRESSED = 3;
inline constexpr int CBXS_DISABLED = 4;

// "spin"
inline constexpr int SPNP_UP = 1;
inline constexpr int SPNP_DOWN = 2;
inline constexpr int SPNP_UPHORZ = 3; // points right
inline constexpr int SPNP_DOWNHORZ = 4; // points left
inline constexpr int UPS_NORMAL = 1;
inline constexpr int UPS_HOT = 2;
inline constexpr int UPS_PRESSED = 3;
inline constexpr int UPS_DISABLED = 4;
inline constexpr int DNS_NORMAL = 1;
inline constexpr int DNS_HOT = 2;
inline constexpr int DNS_PRESSED = 3;
inline constexpr int DNS_DISABLED = 4;
inline constexpr int UPHZS_NORMAL = 1;
inline constexpr int UPHZS_HOT = 2;
inline constexpr int UPHZS_PRESSED = 3;
inline constexpr int UPHZS_DISABLED = 4;
inline constexpr int DNHZS_NORMAL = 1;
inline constexpr int DNHZS_HOT = 2;
inline constexpr int DNHZS_PRESSED = 3;
inline constexpr int DNHZS_DISABLED = 4;

// "header"
inline constexpr int HP_HEADERITEM = 1;
inline constexpr int HP_HEADERITEMLEFT = 2;
inline constexpr int HP_HEADERITEMRIGHT = 3;
inline constexpr int HIS_NORMAL = 1;
inline constexpr int HIS_HOT = 2;
inline constexpr int HIS_PRESSED = 3;

// "progress" (state ignored)
inline constexpr int PP_BAR = 1;
inline constexpr int PP_BARVERT = 2;
inline constexpr int PP_CHUNK = 3;
inline constexpr int PP_CHUNKVERT = 4;

// "scrollbar"
inline constexpr int SBP_ARROWBTN = 1;
inline constexpr int ABS_UPNORMAL = 1;
inline constexpr int ABS_UPHOT = 2;
inline constexpr int ABS_UPPRESSED = 3;
inline constexpr int ABS_UPDISABLED = 4;
inline constexpr int ABS_DOWNNORMAL = 5;
inline constexpr int ABS_DOWNHOT = 6;
inline constexpr int ABS_DOWNPRESSED = 7;
inline constexpr int ABS_DOWNDISABLED = 8;
inline constexpr int ABS_LEFTNORMAL = 9;
inline constexpr int ABS_LEFTHOT = 10;
inline constexpr int ABS_LEFTPRESSED = 11;
inline constexpr int ABS_LEFTDISABLED = 12;
inline constexpr int ABS_RIGHTNORMAL = 13;
inline constexpr int ABS_RIGHTHOT = 14;
inline constexpr int ABS_RIGHTPRESSED = 15;
inline constexpr int ABS_RIGHTDISABLED = 16;

// Whether themed drawing is on (PlatformInfo().ThemesActive).
bool IsThemeActive();
// The theme data of a class (case ignored; in a ";"-separated list the first
// known class counts). nullptr when themes are off or no class is known. The
// window is accepted for the callers' sake and not used.
HTHEME OpenThemeData(const void* Window, const QString& ClassList);
HTHEME OpenThemeData(const QString& ClassList);
// Releases theme data; nullptr is accepted.
void CloseThemeData(HTHEME Theme);
// Paints a part in a state into Rect, limited to ClipRect when given. False,
// painting nothing, for no theme or a part or state the class does not have.
bool DrawThemeBackground(
    HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, const TRect& Rect, const TRect* ClipRect = nullptr);
bool IsThemePartDefined(HTHEME Theme, int PartId, int StateId);
// The natural size of a part: 13 x 13 for check boxes and radio buttons;
// parts that stretch report 0 x 0. False for an unknown part.
bool GetThemePartSize(HTHEME Theme, int PartId, int StateId, TSize& Size);

// Classic frame controls.
inline constexpr unsigned DFC_CAPTION = 1;
inline constexpr unsigned DFC_MENU = 2;
inline constexpr unsigned DFC_SCROLL = 3;
inline constexpr unsigned DFC_BUTTON = 4;

inline constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
inline constexpr unsigned DFCS_BUTTONRADIOIMAGE = 0x0001;
inline constexpr unsigned DFCS_BUTTONRADIOMASK = 0x0002;
inline constexpr unsigned DFCS_BUTTONRADIO = 0x0004;
inline constexpr unsigned DFCS_BUTTON3STATE = 0x0008;
inline constexpr unsigned DFCS_BUTTONPUSH = 0x0010;

inline constexpr unsigned DFCS_CAPTIONCLOSE = 0x0000;
inline constexpr unsigned DFCS_CAPTIONMIN = 0x0001;
inline constexpr unsigned DFCS_CAPTIONMAX = 0x0002;
inline constexpr unsigned DFCS_CAPTIONRESTORE = 0x0003;
inline constexpr unsigned DFCS_CAPTIONHELP = 0x0004;

inline constexpr unsigned DFCS_SCROLLUP = 0x0000;
inline constexpr unsigned DFCS_SCROLLDOWN = 0x0001;
inline constexpr unsigned DFCS_SCROLLLEFT = 0x0002;
inline constexpr unsigned DFCS_SCROLLRIGHT = 0x0003;
inline constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x0005;
inline constexpr unsigned DFCS_SCROLLSIZEGRIP = 0x0008;
inline constexpr unsigned DFCS_SCROLLSIZEGRIPRIGHT = 0x0010;

inline constexpr unsigned DFCS_INACTIVE = 0x0100;
inline constexpr unsigned DFCS_PUSHED = 0x0200;
inline constexpr unsigned DFCS_CHECKED = 0x0400;
inline constexpr unsigned DFCS_TRANSPARENT = 0x0800;
inline constexpr unsigned DFCS_HOT = 0x1000;
inline constexpr unsigned DFCS_ADJUSTRECT = 0x2000;
inline constexpr unsigned DFCS_FLAT = 0x4000;
inline constexpr unsigned DFCS_MONO = 0x8000;

// Draws a classic control in the system colours. Check boxes and radio
// buttons are squares of the rectangle's smaller side, centred. With
// DFCS_ADJUSTRECT a push button's Rect shrinks to its face. False for a type
// or kind it does not know (DFC_MENU among them).
bool DrawFrameControl(TCanvas* Canvas, TRect& Rect, unsigned Type, unsigned State);
