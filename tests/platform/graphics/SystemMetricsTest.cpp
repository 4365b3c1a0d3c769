#include <gtest/gtest.h>

#include <QImage>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"

namespace {

int MeasuredHeight(const QString& name, int height)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas;
    TCanvasLock lock(&canvas, &scratch);
    canvas.Font()->SetName(name);
    canvas.Font()->SetHeight(height);
    return canvas.TextHeight("0");
}

// The system font's height is measured, and measured again when a test
// changes the system font.
TEST(SystemMetrics, SystemFontHeightFollowsTheFacts)
{
    EXPECT_EQ(PlatformInfo().VScrollBarWidth, 17);
    EXPECT_EQ(PlatformInfo().BorderHeight, 1);
    EXPECT_EQ(SystemFontTextHeight(), MeasuredHeight(PlatformInfo().SystemFontName, PlatformInfo().SystemFontHeight));
    TPlatformInfo facts = PlatformInfo();
    facts.SystemFontHeight = 40;
    {
        TPlatformInfoScope scope(facts);
        EXPECT_EQ(SystemFontTextHeight(), MeasuredHeight(facts.SystemFontName, 40));
    }
    EXPECT_LT(SystemFontTextHeight(), MeasuredHeight(facts.SystemFontName, 40));
}

} // namespace
