// Top-level helper windows: owned by the parent's form, placed on the screen,
// never focused, shaped by a polygon, with constant or per-pixel opacity.
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/HelperWindows.h"

namespace {

class THelper : public TTopLevelWindow<TCustomControl> {
public:
    using TTopLevelWindow::TTopLevelWindow;

protected:
    void Paint() override
    {
        if (!LayeredImage().isNull()) {
            TTopLevelWindow::Paint();
            return;
        }
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
};

TEST(HelperWindows, StaysATopLevelWindowOfItsFormWhenReparented)
{
    TForm form(nullptr);
    TForm other(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* helper = new THelper(&form);
    helper->SetParent(panel);
    helper->SetTopMost(true);
    helper->SetBounds(400, 300, 20, 10);
    QWidget* w = helper->Widget();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->parentWidget(), form.Widget()); // owned by the form, not the panel
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->geometry(), QRect(400, 300, 20, 10)); // screen coordinates
    EXPECT_EQ(helper->ClientOrigin(), TPoint(400, 300));

    helper->SetParent(&other); // the toolkit re-parents the widget as a child; the flags come back
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->parentWidget(), other.Widget());
    helper->SetToolWindow(true);
    EXPECT_EQ(w->windowType(), Qt::Tool);
}

TEST(HelperWindows, RegionAndLayeredContents)
{
    TForm form(nullptr);
    auto* helper = new THelper(&form);
    helper->SetParent(&form);
    helper->SetBounds(0, 0, 12, 12);
    const TPoint tri[] = { { 0, 0 }, { 12, 0 }, { 0, 12 } };
    helper->SetWindowRegion(tri);
    EXPECT_TRUE(helper->WindowMask().isEmpty()); // no window yet
    helper->HandleNeeded(); // the region is given to the window when it is made
    EXPECT_EQ(helper->WindowMask(), PolygonRegion(tri));
    helper->SetWindowRegion({});
    EXPECT_TRUE(helper->WindowMask().isEmpty());

    EXPECT_EQ(helper->PaintToImage().pixel(5, 5) & 0xFFFFFF, 0xFF0000u); // its own painting
    QImage layer(12, 12, QImage::Format_ARGB32_Premultiplied);
    layer.fill(qRgba(0, 0, 255, 255));
    helper->SetLayeredImage(layer);
    EXPECT_EQ(helper->PaintToImage().pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(SetLayeredWindowAttributes(helper->Handle(), clNone, 90, LWA_ALPHA));
    EXPECT_DOUBLE_EQ(helper->Widget()->windowOpacity(), 90 / 255.0);
    EXPECT_FALSE(SetLayeredWindowAttributes(0, clNone, 90, LWA_ALPHA));
}

} // namespace
