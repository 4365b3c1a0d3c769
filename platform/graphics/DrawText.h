#pragma once
// Formatted text in a rectangle with the toolkit's format flags. Measuring and
// drawing use the canvas' own font metrics, so TextWidth of a line equals the
// advance DrawText gives it.

#include "platform/graphics/Graphics.h"

#include <QString>

inline constexpr unsigned DT_TOP = 0x00000000;
inline constexpr unsigned DT_LEFT = 0x00000000;
inline constexpr unsigned DT_CENTER = 0x00000001;
inline constexpr unsigned DT_RIGHT = 0x00000002;
inline constexpr unsigned DT_VCENTER = 0x00000004;
inline constexpr unsigned DT_BOTTOM = 0x00000008;
inline constexpr unsigned DT_WORDBREAK = 0x00000010;
inline constexpr unsigned DT_SINGLELINE = 0x00000020;
inline constexpr unsigned DT_EXPANDTABS = 0x00000040;
inline constexpr unsigned DT_TABSTOP = 0x00000080;
inline constexpr unsigned DT_NOCLIP = 0x00000100;
inline constexpr unsigned DT_EXTERNALLEADING = 0x00000200;
inline constexpr unsigned DT_CALCRECT = 0x00000400;
inline constexpr unsigned DT_NOPREFIX = 0x00000800;
inline constexpr unsigned DT_INTERNAL = 0x00001000;
inline constexpr unsigned DT_EDITCONTROL = 0x00002000;
inline constexpr unsigned DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
inline constexpr unsigned DT_MODIFYSTRING = 0x00010000;
inline constexpr unsigned DT_RTLREADING = 0x00020000;
inline constexpr unsigned DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr unsigned DT_NOFULLWIDTHCHARBREAK = 0x00080000;
inline constexpr unsigned DT_HIDEPREFIX = 0x00100000;
inline constexpr unsigned DT_PREFIXONLY = 0x00200000;

// Draws (or with DT_CALCRECT only measures) text in rect. With DT_CALCRECT the
// rectangle's right and bottom are set to the text's extent and nothing is
// drawn. Returns the height of the text (0 for a failure). The text colour is
// the canvas font's; the background follows the canvas' background mode.
int DrawText(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags);
// The same with a tab length in average character widths and left and right
// margins (tabLength 0 means 8); `shown`, when given, receives the lines as
// laid out (prefixes removed, ellipses applied), joined by "\n".
int DrawTextEx(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags, int tabLength = 0, int leftMargin = 0,
    int rightMargin = 0, QString* shown = nullptr);
