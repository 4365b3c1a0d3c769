#pragma once
// Platform facts that the controls ask about and that have no answer of their
// own on this system: themes, operating-system generation, common-controls
// version, visual style and screen resolution. They live in one settable place so that tests
// can switch a control between its themed and classic paths.

#include "platform/graphics/Colors.h"

#include <QString>

// The colours of one grid element of the active visual style; clNone where
// the style gives none.
struct TStyleElementColors {
    TColor Fill = clNone;
    TColor Border = clNone;
    TColor Text = clNone;
};

// The application's active visual style (skin). The system's own style is
// named "Windows" and gives no colours; controls take colours from any other
// enabled one.
struct TVisualStyle {
    bool Enabled = true;
    QString Name = QStringLiteral("Windows");
    TStyleElementColors NormalCell; // a normal grid cell
    TStyleElementColors FixedCell; // a normal fixed cell
    TStyleElementColors SelectedCell; // a selected grid cell
    // Whether controls paint in the style's colours.
    bool IsCustom() const { return Enabled && Name != QStringLiteral("Windows"); }
};

struct TPlatformInfo {
    bool ThemesActive = true; // visual styles are on
    bool WinXPOrLater = true; // operating system 5.1 or later
    bool WinVistaOrLater = true; // operating system 6.0 or later
    bool Win7OrLater = true; // operating system 6.1 or later
    bool ComCtl6OrLater = true; // common controls version 6 or later
    int ScreenDpi = 96; // pixels per logical inch
    bool MiddleEastLocale = false; // the system locale reads right to left
    // Colour scheme of the active visual style ("NormalColor", "HomeStead",
    // "Metallic"; empty without a visual style).
    QString ThemeColorName = QStringLiteral("NormalColor");
    // System metrics: the width of a vertical scroll bar and of a window
    // border line, in pixels.
    int VScrollBarWidth = 17;
    int HScrollBarHeight = 17;
    int BorderWidth = 1;
    int BorderHeight = 1;
    // The system font, which controls measure against beside their own.
    QString SystemFontName = QStringLiteral("System");
    int SystemFontHeight = 16; // pixels, cell height
    // The active visual style; the system's own by default.
    TVisualStyle VisualStyle;
};

// The process-wide facts; writable.
TPlatformInfo& PlatformInfo();
// The text height of the system font, measured with the canvas.
int SystemFontTextHeight();

// Sets facts for the lifetime of the guard and puts the previous ones back;
// meant for tests.
class TPlatformInfoScope {
public:
    explicit TPlatformInfoScope(const TPlatformInfo& facts)
        : FSaved(PlatformInfo())
    {
        PlatformInfo() = facts;
    }
    ~TPlatformInfoScope() { PlatformInfo() = FSaved; }
    TPlatformInfoScope(const TPlatformInfoScope&) = delete;
    TPlatformInfoScope& operator=(const TPlatformInfoScope&) = delete;

private:
    TPlatformInfo FSaved;
};
