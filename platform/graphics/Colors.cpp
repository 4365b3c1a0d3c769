#include "platform/graphics/Colors.h"

#include "platform/runtime/Exceptions.h"

namespace {

struct TColorName {
    const char* Name;
    TColor Value;
};

// Order matters: the first name of a value is the one ColorToString gives.
constexpr TColorName ColorNames[] = {
    { "clBlack", clBlack },
    { "clMaroon", clMaroon },
    { "clGreen", clGreen },
    { "clOlive", clOlive },
    { "clNavy", clNavy },
    { "clPurple", clPurple },
    { "clTeal", clTeal },
    { "clGray", clGray },
    { "clSilver", clSilver },
    { "clRed", clRed },
    { "clLime", clLime },
    { "clYellow", clYellow },
    { "clBlue", clBlue },
    { "clFuchsia", clFuchsia },
    { "clAqua", clAqua },
    { "clWhite", clWhite },
    { "clMoneyGreen", clMoneyGreen },
    { "clSkyBlue", clSkyBlue },
    { "clCream", clCream },
    { "clMedGray", clMedGray },
    { "clActiveBorder", clActiveBorder },
    { "clActiveCaption", clActiveCaption },
    { "clAppWorkSpace", clAppWorkSpace },
    { "clBackground", clBackground },
    { "clBtnFace", clBtnFace },
    { "clBtnHighlight", clBtnHighlight },
    { "clBtnShadow", clBtnShadow },
    { "clBtnText", clBtnText },
    { "clCaptionText", clCaptionText },
    { "clDefault", clDefault },
    { "clGradientActiveCaption", clGradientActiveCaption },
    { "clGradientInactiveCaption", clGradientInactiveCaption },
    { "clGrayText", clGrayText },
    { "clHighlight", clHighlight },
    { "clHighlightText", clHighlightText },
    { "clHotLight", clHotLight },
    { "clInactiveBorder", clInactiveBorder },
    { "clInactiveCaption", clInactiveCaption },
    { "clInactiveCaptionText", clInactiveCaptionText },
    { "clInfoBk", clInfoBk },
    { "clInfoText", clInfoText },
    { "clMenu", clMenu },
    { "clMenuBar", clMenuBar },
    { "clMenuHighlight", clMenuHighlight },
    { "clMenuText", clMenuText },
    { "clNone", clNone },
    { "clScrollBar", clScrollBar },
    { "cl3DDkShadow", cl3DDkShadow },
    { "cl3DLight", cl3DLight },
    { "clWindow", clWindow },
    { "clWindowFrame", clWindowFrame },
    { "clWindowText", clWindowText },
};

constexpr TColorName WebColorNames[] = {
    { "clWebSnow", 0xFAFAFF },
    { "clWebGhostWhite", 0xFFF8F8 },
    { "clWebWhiteSmoke", 0xF5F5F5 },
    { "clWebGainsboro", 0xDCDCDC },
    { "clWebFloralWhite", 0xF0FAFF },
    { "clWebOldLace", 0xE6F5FD },
    { "clWebLinen", 0xE6F0FA },
    { "clWebAntiqueWhite", 0xD7EBFA },
    { "clWebPapayaWhip", 0xD5EFFF },
    { "clWebBlanchedAlmond", 0xCDEBFF },
    { "clWebBisque", 0xC4E4FF },
    { "clWebPeachPuff", 0xB9DAFF },
    { "clWebNavajoWhite", 0xADDEFF },
    { "clWebMoccasin", 0xB5E4FF },
    { "clWebCornsilk", 0xDCF8FF },
    { "clWebIvory", 0xF0FFFF },
    { "clWebLemonChiffon", 0xCDFAFF },
    { "clWebSeashell", 0xEEF5FF },
    { "clWebHoneydew", 0xF0FFF0 },
    { "clWebMintCream", 0xFAFFF5 },
    { "clWebAzure", 0xFFFFF0 },
    { "clWebAliceBlue", 0xFFF8F0 },
    { "clWebLavender", 0xFAE6E6 },
    { "clWebLavenderBlush", 0xF5F0FF },
    { "clWebMistyRose", 0xE1E4FF },
    { "clWebWhite", 0xFFFFFF },
    { "clWebBlack", 0x000000 },
    { "clWebDarkSlateGray", 0x4F4F2F },
    { "clWebDimGray", 0x696969 },
    { "clWebSlateGray", 0x908070 },
    { "clWebLightSlateGray", 0x998877 },
    { "clWebGray", 0x808080 },
    { "clWebLightGray", 0xD3D3D3 },
    { "clWebMidnightBlue", 0x701919 },
    { "clWebNavy", 0x800000 },
    { "clWebCornflowerBlue", 0xED9564 },
    { "clWebDarkSlateBlue", 0x8B3D48 },
    { "clWebSlateBlue", 0xCD5A6A },
    { "clWebMediumSlateBlue", 0xEE687B },
    { "clWebMediumBlue", 0xCD0000 },
    { "clWebRoyalBlue", 0xE16941 },
    { "clWebBlue", 0xFF0000 },
    { "clWebDodgerBlue", 0xFF901E },
    { "clWebDeepSkyBlue", 0xFFBF00 },
    { "clWebSkyBlue", 0xEBCE87 },
    { "clWebLightSkyBlue", 0xFACE87 },
    { "clWebSteelBlue", 0xB48246 },
    { "clWebLightSteelBlue", 0xDEC4B0 },
    { "clWebLightBlue", 0xE6D8AD },
    { "clWebPowderBlue", 0xE6E0B0 },
    { "clWebPaleTurquoise", 0xEEEEAF },
    { "clWebDarkTurquoise", 0xD1CE00 },
    { "clWebMediumTurquoise", 0xCCD148 },
    { "clWebTurquoise", 0xD0E040 },
    { "clWebAqua", 0xFFFF00 },
    { "clWebLightCyan", 0xFFFFE0 },
    { "clWebCadetBlue", 0xA09E5F },
    { "clWebMediumAquamarine", 0xAACD66 },
    { "clWebAquamarine", 0xD4FF7F },
    { "clWebDarkGreen", 0x006400 },
    { "clWebDarkOliveGreen", 0x2F6B55 },
    { "clWebDarkSeaGreen", 0x8FBC8F },
    { "clWebSeaGreen", 0x578B2E },
    { "clWebMediumSeaGreen", 0x71B33C },
    { "clWebLightSeaGreen", 0xAAB220 },
    { "clWebPaleGreen", 0x98FB98 },
    { "clWebSpringGreen", 0x7FFF00 },
    { "clWebLawnGreen", 0x00FC7C },
    { "clWebChartreuse", 0x00FF7F },
    { "clWebMediumSpringGreen", 0x9AFA00 },
    { "clWebGreenYellow", 0x2FFFAD },
    { "clWebLimeGreen", 0x32CD32 },
    { "clWebYellowGreen", 0x32CD9A },
    { "clWebForestGreen", 0x228B22 },
    { "clWebOliveDrab", 0x238E6B },
    { "clWebDarkKhaki", 0x6BB7BD },
    { "clWebPaleGoldenrod", 0xAAE8EE },
    { "clWebLightGoldenrodYellow", 0xD2FAFA },
    { "clWebLightYellow", 0xE0FFFF },
    { "clWebYellow", 0x00FFFF },
    { "clWebGold", 0x00D7FF },
    { "clWebGoldenrod", 0x20A5DA },
    { "clWebDarkGoldenrod", 0x0B86B8 },
    { "clWebRosyBrown", 0x8F8FBC },
    { "clWebIndianRed", 0x5C5CCD },
    { "clWebSaddleBrown", 0x13458B },
    { "clWebSienna", 0x2D52A0 },
    { "clWebPeru", 0x3F85CD },
    { "clWebBurlywood", 0x87B8DE },
    { "clWebBeige", 0xDCF5F5 },
    { "clWebWheat", 0xB3DEF5 },
    { "clWebSandyBrown", 0x60A4F4 },
    { "clWebTan", 0x8CB4D2 },
    { "clWebChocolate", 0x1E69D2 },
    { "clWebFirebrick", 0x2222B2 },
    { "clWebBrown", 0x2A2AA5 },
    { "clWebDarkSalmon", 0x7A96E9 },
    { "clWebSalmon", 0x7280FA },
    { "clWebLightSalmon", 0x7AA0FF },
    { "clWebOrange", 0x00A5FF },
    { "clWebDarkOrange", 0x008CFF },
    { "clWebCoral", 0x507FFF },
    { "clWebLightCoral", 0x8080F0 },
    { "clWebTomato", 0x4763FF },
    { "clWebOrangeRed", 0x0045FF },
    { "clWebRed", 0x0000FF },
    { "clWebHotPink", 0xB469FF },
    { "clWebDeepPink", 0x9314FF },
    { "clWebPink", 0xCBC0FF },
    { "clWebLightPink", 0xC1B6FF },
    { "clWebPaleVioletRed", 0x9370DB },
    { "clWebMaroon", 0x000080 },
    { "clWebMediumVioletRed", 0x8515C7 },
    { "clWebViolet", 0xEE82EE },
    { "clWebPlum", 0xDDA0DD },
    { "clWebOrchid", 0xD670DA },
    { "clWebMediumOrchid", 0xD355BA },
    { "clWebDarkOrchid", 0xCC3299 },
    { "clWebDarkViolet", 0xD30094 },
    { "clWebBlueViolet", 0xE22B8A },
    { "clWebPurple", 0x800080 },
    { "clWebMediumPurple", 0xDB7093 },
    { "clWebThistle", 0xD8BFD8 },
    { "clWebFuchsia", 0xFF00FF },
    { "clWebDarkMagenta", 0x8B008B },
    { "clWebDarkRed", 0x00008B },
    { "clWebDarkBlue", 0x8B0000 },
    { "clWebDarkCyan", 0x8B8B00 },
    { "clWebLightGreen", 0x90EE90 },
    { "clWebGreen", 0x008000 },
    { "clWebLime", 0x00FF00 },
    { "clWebOlive", 0x008080 },
    { "clWebTeal", 0x808000 },
    { "clWebSilver", 0xC0C0C0 },
    { "clWebCrimson", 0x3C14DC },
    { "clWebIndigo", 0x82004B },
    { "clWebDarkGray", 0xA9A9A9 },
};

TSystemPalette& currentPalette()
{
    static TSystemPalette palette = TSystemPalette::Default();
    return palette;
}

template <size_t N> bool findByValue(const TColorName (&table)[N], TColor c, QString& ident)
{
    for (const auto& e : table) {
        if (e.Value == c) {
            ident = QString::fromLatin1(e.Name);
            return true;
        }
    }
    return false;
}

template <size_t N> bool findByName(const TColorName (&table)[N], const QString& name, TColor& c)
{
    const QString t = name.trimmed();
    for (const auto& e : table) {
        if (t.compare(QLatin1String(e.Name), Qt::CaseInsensitive) == 0) {
            c = e.Value;
            return true;
        }
    }
    return false;
}

} // namespace

TSystemPalette TSystemPalette::Default()
{
    TSystemPalette p;
    const TColor values[Count] = {
        RGB(200, 200, 200), // scroll bar
        RGB(0, 0, 0), // background
        RGB(153, 180, 209), // active caption
        RGB(191, 205, 219), // inactive caption
        RGB(240, 240, 240), // menu
        RGB(255, 255, 255), // window
        RGB(100, 100, 100), // window frame
        RGB(0, 0, 0), // menu text
        RGB(0, 0, 0), // window text
        RGB(0, 0, 0), // caption text
        RGB(180, 180, 180), // active border
        RGB(244, 247, 252), // inactive border
        RGB(171, 171, 171), // application work space
        RGB(0, 120, 215), // highlight
        RGB(255, 255, 255), // highlight text
        RGB(240, 240, 240), // button face
        RGB(160, 160, 160), // button shadow
        RGB(109, 109, 109), // grey text
        RGB(0, 0, 0), // button text
        RGB(0, 0, 0), // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(105, 105, 105), // 3-D dark shadow
        RGB(227, 227, 227), // 3-D light
        RGB(0, 0, 0), // info text
        RGB(255, 255, 225), // info background
        RGB(0, 0, 0), // (unused)
        RGB(0, 102, 204), // hot light
        RGB(185, 209, 234), // gradient active caption
        RGB(215, 228, 242), // gradient inactive caption
        RGB(51, 153, 255), // menu highlight
        RGB(240, 240, 240), // menu bar
    };
    for (int i = 0; i < Count; ++i)
        p.Colors[size_t(i)] = values[i];
    return p;
}

void TSystemPalette::SetColor(TColor sysColor, TColor rgb)
{
    const int index = IsSystemColor(sysColor) ? (sysColor & 0xFF) : sysColor;
    if (index >= 0 && index < Count)
        Colors[size_t(index)] = rgb & 0xFFFFFF;
}

TSystemPalette& SystemPalette()
{
    return currentPalette();
}

void ResetSystemPalette()
{
    currentPalette() = TSystemPalette::Default();
}

TColor GetSysColor(int index)
{
    return currentPalette().Color(index);
}

TColor ColorToRGB(TColor c)
{
    if (IsSystemColor(c))
        return GetSysColor(c & 0xFF);
    return c;
}

QColor ColorToQColor(TColor c)
{
    if (c == clNone)
        return QColor(0, 0, 0, 0);
    if (c == clDefault)
        c = clWindowText;
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor QColorToColor(const QColor& c)
{
    if (!c.isValid() || c.alpha() == 0)
        return clNone;
    return RGB(c.red(), c.green(), c.blue());
}

QString ColorToString(TColor c)
{
    QString ident;
    if (ColorToIdent(c, ident))
        return ident;
    return QStringLiteral("$%1").arg(std::uint32_t(c), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& s)
{
    TColor c = 0;
    if (IdentToColor(s, c))
        return c;
    QString t = s.trimmed();
    bool neg = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        neg = t.startsWith(QLatin1Char('-'));
        t = t.mid(1);
    }
    bool ok = false;
    qulonglong v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toULongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toULongLong(&ok, 16);
    else if (!t.isEmpty() && t[0].isDigit())
        v = t.toULongLong(&ok, 10);
    if (!ok || v > 0xFFFFFFFFull)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    const auto u = std::uint32_t(v);
    return TColorOf(neg ? 0u - u : u);
}

bool ColorToIdent(TColor c, QString& ident)
{
    return findByValue(ColorNames, c, ident);
}

bool IdentToColor(const QString& ident, TColor& c)
{
    return findByName(ColorNames, ident, c);
}

void GetColorValues(const std::function<void(const QString&)>& proc)
{
    for (const auto& e : ColorNames)
        proc(QString::fromLatin1(e.Name));
}

int WebColorCount()
{
    return int(std::size(WebColorNames));
}

TColor WebColorAt(int index)
{
    return index >= 0 && index < WebColorCount() ? WebColorNames[index].Value : clNone;
}

QString WebColorNameAt(int index)
{
    return index >= 0 && index < WebColorCount() ? QString::fromLatin1(WebColorNames[index].Name) : QString();
}

bool WebColorToIdent(TColor c, QString& ident)
{
    return findByValue(WebColorNames, ColorToRGB(c), ident);
}

bool IdentToWebColor(const QString& ident, TColor& c)
{
    return findByName(WebColorNames, ident, c);
}
