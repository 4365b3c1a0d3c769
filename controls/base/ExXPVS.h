#pragma once
// The theme library binding: the 45 entry points of the theme library by name.
// Those the platform's theme painter answers are bound; the others stay unset,
// so a caller tests an entry point before calling it.

#include "platform/graphics/ThemePainter.h"

#include <QString>
#include <QStringList>

class TCanvas;

struct TThemeLibrary {
    bool (*IsThemeActive)() = nullptr;
    HTHEME (*OpenThemeData)(const void* Window, const QString& ClassList) = nullptr;
    void (*CloseThemeData)(HTHEME Theme) = nullptr;
    bool (*DrawThemeBackground)(
        HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, const TRect& Rect, const TRect* ClipRect)
        = nullptr;
    bool (*IsThemePartDefined)(HTHEME Theme, int PartId, int StateId) = nullptr;
    // File name, colour name and size name of the active visual style.
    bool (*GetCurrentThemeName)(QString& FileName, QString& ColorName, QString& SizeName) = nullptr;
};

// The bound entry points; the library is loaded on first use, once.
const TThemeLibrary& ThemeLibrary();
bool ThemeLibraryLoaded();
void LoadThemeLibrary();
void UnloadThemeLibrary();

// The 45 entry point names, in binding order.
const QStringList& ThemeEntryPointNames();
// Whether the named entry point is bound (false for an unknown name).
bool ThemeEntryPointBound(const QString& Name);
