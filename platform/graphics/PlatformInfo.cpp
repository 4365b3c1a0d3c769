#include "platform/graphics/PlatformInfo.h"

#include "platform/graphics/Graphics.h"

#include <QImage>

TPlatformInfo& PlatformInfo()
{
    static TPlatformInfo info;
    return info;
}

int SystemFontTextHeight()
{
    // Measured once per font setting: layouts ask on every resize.
    static QString measuredName;
    static int measuredHeight = 0;
    static int result = 0;
    const TPlatformInfo& info = PlatformInfo();
    if (result == 0 || measuredName != info.SystemFontName || measuredHeight != info.SystemFontHeight) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        TCanvas canvas;
        TCanvasLock lock(&canvas, &scratch);
        canvas.Font()->SetName(info.SystemFontName);
        canvas.Font()->SetHeight(info.SystemFontHeight);
        result = canvas.TextHeight(QStringLiteral("0"));
        measuredName = info.SystemFontName;
        measuredHeight = info.SystemFontHeight;
    }
    return result;
}
