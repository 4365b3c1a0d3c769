#include "controls/base/ExXPVS.h"

#include "platform/graphics/PlatformInfo.h"

namespace {

struct TThemeLibraryState {
    bool Loaded = false;
    TThemeLibrary Library;
};

TThemeLibraryState& State()
{
    static TThemeLibraryState s;
    return s;
}

bool PlatformIsThemeActive()
{
    return ::IsThemeActive();
}

HTHEME PlatformOpenThemeData(const void* Window, const QString& ClassList)
{
    return ::OpenThemeData(Window, ClassList);
}

bool PlatformDrawThemeBackground(
    HTHEME Theme, TCanvas* Canvas, int PartId, int StateId, const TRect& Rect, const TRect* ClipRect)
{
    return ::DrawThemeBackground(Theme, Canvas, PartId, StateId, Rect, ClipRect);
}

bool PlatformGetCurrentThemeName(QString& FileName, QString& ColorName, QString& SizeName)
{
    if (!::IsThemeActive())
        return false;
    FileName = QStringLiteral("Luna.msstyles");
    ColorName = PlatformInfo().ThemeColorName;
    SizeName = QStringLiteral("NormalSize");
    return true;
}

void EnsureLoaded()
{
    static const bool once = [] {
        LoadThemeLibrary();
        return true;
    }();
    (void)once;
}

} // namespace

const QStringList& ThemeEntryPointNames()
{
    static const QStringList names { QStringLiteral("OpenThemeData"), QStringLiteral("CloseThemeData"),
        QStringLiteral("DrawThemeBackground"), QStringLiteral("DrawThemeText"),
        QStringLiteral("GetThemeBackgroundContentRect"), QStringLiteral("GetThemeBackgroundExtent"),
        QStringLiteral("GetThemeTextExtent"), QStringLiteral("GetThemeTextMetrics"),
        QStringLiteral("GetThemeBackgroundRegion"), QStringLiteral("HitTestThemeBackground"),
        QStringLiteral("DrawThemeEdge"), QStringLiteral("DrawThemeIcon"), QStringLiteral("IsThemePartDefined"),
        QStringLiteral("IsThemeBackgroundPartiallyTransparent"), QStringLiteral("GetThemeColor"),
        QStringLiteral("GetThemeMetric"), QStringLiteral("GetThemeString"), QStringLiteral("GetThemeBool"),
        QStringLiteral("GetThemeInt"), QStringLiteral("GetThemeEnumValue"), QStringLiteral("GetThemePosition"),
        QStringLiteral("GetThemeFont"), QStringLiteral("GetThemeRect"), QStringLiteral("GetThemeMargins"),
        QStringLiteral("GetThemeIntList"), QStringLiteral("SetWindowTheme"), QStringLiteral("GetThemeFilename"),
        QStringLiteral("GetThemeSysColor"), QStringLiteral("GetThemeSysColorBrush"), QStringLiteral("GetThemeSysBool"),
        QStringLiteral("GetThemeSysSize"), QStringLiteral("GetThemeSysFont"), QStringLiteral("GetThemeSysString"),
        QStringLiteral("GetThemeSysInt"), QStringLiteral("IsThemeActive"), QStringLiteral("IsAppThemed"),
        QStringLiteral("GetWindowTheme"), QStringLiteral("EnableThemeDialogTexture"),
        QStringLiteral("IsThemeDialogTextureEnabled"), QStringLiteral("GetThemeAppProperties"),
        QStringLiteral("SetThemeAppProperties"), QStringLiteral("GetCurrentThemeName"),
        QStringLiteral("GetThemeDocumentationProperty"), QStringLiteral("DrawThemeParentBackground"),
        QStringLiteral("EnableTheming") };
    return names;
}

void LoadThemeLibrary()
{
    TThemeLibraryState& s = State();
    if (s.Loaded)
        return;
    s.Loaded = true;
    s.Library.IsThemeActive = &PlatformIsThemeActive;
    s.Library.OpenThemeData = &PlatformOpenThemeData;
    s.Library.CloseThemeData = &::CloseThemeData;
    s.Library.DrawThemeBackground = &PlatformDrawThemeBackground;
    s.Library.IsThemePartDefined = &::IsThemePartDefined;
    s.Library.GetCurrentThemeName = &PlatformGetCurrentThemeName;
}

void UnloadThemeLibrary()
{
    State() = TThemeLibraryState();
}

bool ThemeLibraryLoaded()
{
    EnsureLoaded();
    return State().Loaded;
}

const TThemeLibrary& ThemeLibrary()
{
    EnsureLoaded();
    return State().Library;
}

bool ThemeEntryPointBound(const QString& Name)
{
    const TThemeLibrary& lib = ThemeLibrary();
    if (Name == QLatin1String("IsThemeActive"))
        return lib.IsThemeActive != nullptr;
    if (Name == QLatin1String("OpenThemeData"))
        return lib.OpenThemeData != nullptr;
    if (Name == QLatin1String("CloseThemeData"))
        return lib.CloseThemeData != nullptr;
    if (Name == QLatin1String("DrawThemeBackground"))
        return lib.DrawThemeBackground != nullptr;
    if (Name == QLatin1String("IsThemePartDefined"))
        return lib.IsThemePartDefined != nullptr;
    if (Name == QLatin1String("GetCurrentThemeName"))
        return lib.GetCurrentThemeName != nullptr;
    return false;
}
