#pragma once
// Stateless drawing routines shared by the grids and the drop-down controls:
// colour arithmetic, gradients, the rounded selection box, in-cell buttons,
// cell shapes, bars, the pie, the error underline and transparent bitmaps.
// Each draws on the canvas it is given and leaves pen, brush and font as it
// set them. System colours are resolved before arithmetic; clNone means "no
// colour" and is never painted.

#include "controls/base/ExStyleIF.h"
#include "platform/controls/HelperWindows.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/Colors.h"
#include "platform/runtime/Types.h"

#include <QString>

class TCanvas;
class TBitmap;
class TFont;
class TWinControl;

// ---------------------------------------------------------------------------
// Colours

// Each component halved (truncated).
TColor HalveColor(TColor Color);
// Each component c becomes round(c + c * Percent / 100), keeping its low 8 bits.
TColor AdjustColorPercent(TColor Color, int Percent);
// Color1 (unresolved) when Color2 is clNone or the range is empty; else per
// component Color1 + round((Color2 - Color1) / (RangeEnd - RangeStart) * Position).
TColor InterpolateColor(TColor Color1, TColor Color2, int RangeStart, int Position, int RangeEnd);
// Six upper-case hex digits, red byte first, of the value as given.
QString ColorToHTMLHex(TColor Color);

// ---------------------------------------------------------------------------
// Gradients and the selection box

// Steps + 1 bands from FromColor to ToColor, left to right (Horizontal) or
// top to bottom. With one colour clNone the other fills the rectangle; with
// both clNone nothing is painted.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int Steps);
// Exactly Steps bands from FromColor to ToColor (the last band in ToColor),
// left to right (Horizontal) or top to bottom, covering Rect.
void DrawGradientBands(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect, int Steps);
// A fill of one colour, a gradient, or two gradients meeting in the middle,
// then a frame or two side lines in the border colour.
void DrawMirrorGradient(TCanvas* Canvas, const TRect& R, TColor Color, bool Fill, bool SideLines, TColor BorderColor,
    bool Vertical, TColor MirrorColorTo, TColor MirrorColor, TColor ColorTo);
// EndType: 0 both ends rounded, 1 left end only, 2 right end only, 3 none.
void DrawSelectionBox(TCanvas* Canvas, TColor FillColor, TColor FillColorTo, int EndType, const TRect& R,
    TColor OuterCornerColor, TColor CornerColor, TColor OuterLineColor, TColor LowerLineColor, TColor UpperLineColor,
    TColor MirrorColorTo, TColor MirrorColor);

// ---------------------------------------------------------------------------
// Cell buttons. State: 0 normal, 1 hot, 2 down, 3 disabled. Kind: 0 themed,
// 1 classic frame control, 2 flat frame control, 3 flat in the tones' colours.

void DrawCellButton(TCanvas* Canvas, HWND Wnd, const TRect& R, const TColorTones& Tones, int State, int Kind);
void DrawComboButton(TCanvas* Canvas, HWND Wnd, const TRect& CellRect, const TColorTones& Tones, int State, int Kind);
void DrawSpinButtons(TCanvas* Canvas, HWND Wnd, const TRect& CellRect, const TColorTones& Tones, int State, int Kind);
// Filled triangle (X-3, Y), (X+3, Y), (X, Y+3).
void DrawDropArrow(TCanvas* Canvas, TPoint P, TColor Color);

// The layered-window calls on a helper window; false when the platform
// cannot honour them (see HelperWindows.h).
bool UpdateLayeredWindowDyn(HWND Wnd, TCanvas* DestCanvas, const TPoint* DestPoint, const TSize* Size,
    TCanvas* SourceCanvas, const TPoint* SourcePoint, TColor Key, const TBlendFunction* Blend, DWORD Flags);
bool SetLayeredWindowAttributesDyn(HWND Wnd, TColor Key, unsigned char Alpha, DWORD Flags);

// ---------------------------------------------------------------------------
// Cell shapes, bars and markers

enum class TCellShape {
    csRectangle,
    csCircle,
    csTriangleLeft,
    csTriangleRight,
    csTriangleUp,
    csTriangleDown,
    csDiamond,
    csLineVert,
    csLineHorz,
    csRoundRect,
    csEllips,
    csSquare,
    csRoundSquare,
    csStar,
    csArrowUp,
    csArrowDown,
    csArrowLeft,
    csArrowRight,
    csHalfStar
};

// The level bar's look, filled by the grid from its progress appearance.
struct TLevelProgressSettings {
    TColor Level0Color = clNone;
    TColor Level0ColorTo = clNone;
    TColor Level1Color = clNone;
    TColor Level1ColorTo = clNone;
    TColor Level2Color = clNone;
    TColor Level2ColorTo = clNone;
    TColor Level3Color = clNone;
    TColor Level3ColorTo = clNone;
    int Level1Perc = 0;
    int Level2Perc = 0;
    TColor BorderColor = clNone;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = false;
    const TFont* Font = nullptr; // nullptr: the canvas' font
    TColor CompleteFontColor = clBlack;
    bool CompletionSmooth = false;
    bool ShowGradient = false;
    int Steps = 0;
    TColor UnCompleteColor = clNone;
    bool Vertical = false;
};

// One shape in the box (X, Y, X + W, Y + H) with the border and fill colours.
void DrawCellShape(TCanvas* Canvas, int X, int Y, TColor BorderColor, TColor FillColor, TCellShape Shape, int H, int W);
// A bar filled to the value's percentage, its text changing colour where the fill ends.
void DrawProgressBar(TCanvas* Canvas, TRect R, TColor Color, bool NegativeTextHeight, TColor BorderColor,
    const QString& Fmt, int Max, int Min, int VMargin, int HMargin, double Value, TColor UnfilledTextColor,
    TColor UnfilledColor, TColor FilledTextColor);
// A bar coloured by level, stacked, smooth or in blocks.
void DrawLevelProgressBar(TCanvas* Canvas, const TRect& R, int Percentage, const TLevelProgressSettings& Settings);
// A grey circle with the sector of the percentage, clockwise from the top,
// filled in the colour. The flag is kept for the callers and changes nothing.
void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor Color, bool Flag, int Percentage);
// A bar growing right (positive) or left (negative) from the middle; the value
// text, when shown, is centred. Nothing for a maximum of 0.
void DrawBalanceBar(
    TCanvas* Canvas, TRect R, double Value, TColor PositiveColor, TColor NegativeColor, bool ShowValue, double Max);
// A red zigzag under Length characters from First (0-based) of a one-line
// text drawn at the rectangle's top-left, measured with the canvas' font.
void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const QString& Text, int Length, int First,
    int VerticalOffset, const TRect& R);
// The bitmap at R's top-left, its pixels of the colour of pixel (0, 0) in BackgroundColor.
void DrawBitmapTransparent(TCanvas* Canvas, const TBitmap* Bitmap, TColor BackgroundColor, const TRect& R);
// A named program bitmap drawn with DrawBitmapTransparent.
void DrawResourceBitmap(TCanvas* Canvas, TColor BackgroundColor, const TRect& R, const QString& ResourceName);
