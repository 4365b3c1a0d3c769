#pragma once
// Colours in the toolkit's form: a 32-bit value 0x00BBGGRR. A value whose top
// byte is 0xFF names system colour nn (low byte) and is resolved through the
// one settable system palette before any arithmetic. clNone means "no colour".

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

using TColor = std::int32_t;

constexpr TColor TColorOf(std::uint32_t v)
{
    return static_cast<TColor>(v);
}

constexpr TColor RGB(int r, int g, int b)
{
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c)
{
    return c & 0xFF;
}
constexpr int GetGValue(TColor c)
{
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c)
{
    return (c >> 16) & 0xFF;
}

// Standard colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLtGray = clSilver;
inline constexpr TColor clDkGray = clGray;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// System colours: 0xFF000000 plus the palette index.
inline constexpr TColor clSystemColor = TColorOf(0xFF000000u);
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

constexpr bool IsSystemColor(TColor c)
{
    return (std::uint32_t(c) & 0xFF000000u) == 0xFF000000u;
}

// The fixed system palette (RGB values by index). Tests may replace it through
// SystemPalette(); Reset() brings back the defaults.
struct TSystemPalette {
    static constexpr int Count = 31;
    std::array<TColor, Count> Colors {};

    static TSystemPalette Default();
    TColor Color(int index) const { return index >= 0 && index < Count ? Colors[size_t(index)] : clBlack; }
    void SetColor(TColor sysColor, TColor rgb);
};

TSystemPalette& SystemPalette();
void ResetSystemPalette();
// The RGB value of palette entry `index` (0 for an unknown index).
TColor GetSysColor(int index);

// Resolves a system colour to its RGB value; any other value is returned as is.
TColor ColorToRGB(TColor c);
// clNone gives a fully transparent QColor, clDefault the window text colour.
QColor ColorToQColor(TColor c);
TColor QColorToColor(const QColor& c);

// Text form of colours: "clRed" for named colours, "$00BBGGRR" otherwise.
QString ColorToString(TColor c);
// Accepts a colour name (any case), "$hex", "0xhex" or a decimal number;
// anything else raises EConvertError.
TColor StringToColor(const QString& s);
bool ColorToIdent(TColor c, QString& ident);
bool IdentToColor(const QString& ident, TColor& c);
// Enumerates the colour names in table order.
void GetColorValues(const std::function<void(const QString&)>& proc);

// The standard web colours ("clWebSnow", ...), a separate table.
int WebColorCount();
TColor WebColorAt(int index);
QString WebColorNameAt(int index);
bool WebColorToIdent(TColor c, QString& ident);
bool IdentToWebColor(const QString& ident, TColor& c);
