// The arrow and focus windows, the alpha mask, the glow mask and the blur.
#include "controls/base/ExObjWindows.h"
#include "platform/controls/Forms.h"
#include "platform/runtime/Exceptions.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(ExObjWindows, ArrowWindowsAreGreenHiddenTopLevelWindowsShapedAsTheirArrows)
{
    TForm form(nullptr);
    form.SetBounds(100, 100, 200, 200);
    for (TArrowDirection dir :
        { TArrowDirection::arrUp, TArrowDirection::arrDown, TArrowDirection::arrLeft, TArrowDirection::arrRight }) {
        SCOPED_TRACE(int(dir));
        auto* arrow = new TArrowWindow(&form, dir);
        arrow->SetBounds(300, 320, 11, 11); // screen coordinates
        arrow->HandleNeeded();
        EXPECT_EQ(arrow->Dir(), dir);
        EXPECT_EQ(arrow->Color(), 0x00FF00);
        EXPECT_EQ(arrow->Parent(), &form);
        EXPECT_FALSE(arrow->Visible());
        EXPECT_EQ(arrow->WindowMask(), PolygonRegion(arrow->Arrow()));
        EXPECT_FALSE(arrow->WindowMask().isEmpty());
        EXPECT_EQ(arrow->ClientOrigin(), TPoint(300, 320));
        EXPECT_FALSE(arrow->AcceptsFocus());
    }
    // The up arrow's tip is its top middle; its shaft does not reach the corners.
    const auto up = TArrowWindow::ArrowPoints(TArrowDirection::arrUp);
    const TRegion r = PolygonRegion(up);
    EXPECT_TRUE(r.contains(QPoint(5, 2)));
    EXPECT_FALSE(r.contains(QPoint(0, 8)));
}

TEST(ExObjWindows, ArrowWindowPaintsItsWholeClientAreaInItsColour)
{
    TForm form(nullptr);
    auto* arrow = new TArrowWindow(&form, TArrowDirection::arrDown);
    arrow->SetBounds(0, 0, 10, 9);
    const QImage img = arrow->PaintToImage();
    ASSERT_EQ(img.size(), QSize(10, 9));
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(img.pixel(9, 8) & 0xFFFFFF, 0x00FF00u);
}

TEST(ExObjWindows, FocusWindowStartsEmptyHiddenAndNeverTakesTheFocus)
{
    TForm form(nullptr);
    form.SetBounds(50, 50, 100, 100);
    form.Show();
    auto* focus = new TGridFocusWindow(&form);
    focus->SetParent(&form);
    EXPECT_EQ(focus->Width(), 0);
    EXPECT_EQ(focus->Height(), 0);
    EXPECT_FALSE(focus->Visible());
    EXPECT_EQ(focus->Color(), 0x0000FF);
    EXPECT_FALSE(focus->Enabled());
    EXPECT_TRUE(focus->TopMost());
    EXPECT_TRUE(focus->ToolWindow());
    focus->SetBounds(60, 60, 30, 20);
    focus->SetVisible(true);
    EXPECT_TRUE(focus->Showing());
    EXPECT_FALSE(focus->ActivatesOnShow());
    EXPECT_FALSE(focus->AcceptsFocus());
    EXPECT_FALSE(focus->CanFocus());
    EXPECT_ANY_THROW(focus->SetFocus()); // a disabled window refuses, as the toolkit's does
    EXPECT_FALSE(focus->Focused());
}

TEST(ExObjWindows, LayeredWindowCallsAnswerForHelperWindowsOnly)
{
    TForm form(nullptr);
    auto* focus = new TGridFocusWindow(&form);
    focus->SetParent(&form);
    auto* plain = new TPanel(&form);
    plain->SetParent(&form);
    EXPECT_FALSE(SetLayeredWindowAttributes(plain->Handle(), clNone, 128, LWA_ALPHA));
    EXPECT_FALSE(SetLayeredWindowAttributes(focus->Handle(), clRed, 0, LWA_COLORKEY));
    EXPECT_TRUE(SetLayeredWindowAttributes(focus->Handle(), clNone, 128, LWA_ALPHA));
    EXPECT_EQ(focus->Opacity(), 128);

    QImage src(8, 6, QImage::Format_ARGB32_Premultiplied);
    src.fill(qRgba(0, 0, 64, 64));
    const TPoint dest(10, 20);
    const TSize size(8, 6);
    TBlendFunction blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    EXPECT_TRUE(UpdateLayeredWindow(focus->Handle(), &dest, &size, &src, nullptr, clNone, &blend, ULW_ALPHA));
    EXPECT_EQ(focus->BoundsRect(), Bounds(10, 20, 8, 6));
    EXPECT_EQ(focus->Opacity(), 255);
    EXPECT_EQ(focus->LayeredImage().pixel(3, 3), qRgba(0, 0, 64, 64));
    EXPECT_FALSE(UpdateLayeredWindow(plain->Handle(), &dest, &size, &src, nullptr, clNone, &blend, ULW_ALPHA));
}

QImage Filled(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

TEST(ExObjWindows, AlphaMaskAssignTakesTheSourcesSizeFirst)
{
    TGridAlphaMask big, small;
    big.SetImage(Filled(20, 10, qRgba(1, 2, 3, 4)));
    big.Opacity = 77;
    small.SetImage(Filled(4, 4, qRgba(9, 9, 9, 9)));
    small.Assign(&big);
    EXPECT_EQ(small.Width(), 20);
    EXPECT_EQ(small.Height(), 10);
    EXPECT_EQ(small.Opacity, 77);
    EXPECT_EQ(small.Image().pixel(19, 9), qRgba(1, 2, 3, 4));
    EXPECT_EQ(small.PixelFormat(), TPixelFormat::pf32bit);

    TBitmap plain(3, 2);
    plain.SetPixelFormat(TPixelFormat::pf24bit);
    small.Assign(&plain);
    EXPECT_EQ(small.Width(), 3);
    EXPECT_EQ(small.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(ExObjWindows, MergeMaskPremultipliesAndTreatsPixelsOutsideTheMaskAsTransparent)
{
    TBitmap bmp(6, 4);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.Canvas()->Brush()->SetColor(RGB(200, 100, 50));
    bmp.Canvas()->FillRect(Rect(0, 0, 6, 4));
    TBitmap mask(3, 4); // smaller than the bitmap
    mask.SetPixelFormat(TPixelFormat::pf24bit);
    mask.Canvas()->Brush()->SetColor(RGB(128, 0, 0));
    mask.Canvas()->FillRect(Rect(0, 0, 3, 4));

    TGridAlphaMask alpha;
    alpha.MergeMask(&mask, &bmp, clNone);
    ASSERT_EQ(alpha.Width(), 6);
    const QRgb in = alpha.Image().pixel(1, 1);
    EXPECT_EQ(qAlpha(in), 128);
    EXPECT_EQ(qRed(in), 100); // 200 * 128 / 255 = 100.4
    EXPECT_EQ(qGreen(in), 50);
    EXPECT_EQ(qBlue(in), 25);
    EXPECT_EQ(alpha.Image().pixel(4, 1), qRgba(0, 0, 0, 0));

    TBitmap wide(5, 5);
    wide.SetPixelFormat(TPixelFormat::pf32bit);
    alpha.MergeMask(&mask, &wide, clNone); // not 24-bit: nothing happens
    EXPECT_EQ(alpha.Width(), 6);
}

TEST(ExObjWindows, BlurKeepsWhiteInsideFadesEdgesAndComputesEveryRowAndColumn)
{
    TBitmap bmp(80, 70);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.Canvas()->Brush()->SetColor(clBlack);
    bmp.Canvas()->FillRect(Rect(0, 0, 80, 70));
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(30, 30, 60, 55)); // well away from row and column 15
    BlurBitmap(&bmp, 3);
    const QImage& img = bmp.Image();
    EXPECT_EQ(qRed(img.pixel(45, 42)), 255);
    EXPECT_EQ(qRed(img.pixel(10, 10)), 0);
    // The edge fades over a few pixels on both sides of x = 30.
    const int outside = qRed(img.pixel(28, 42));
    const int inside = qRed(img.pixel(31, 42));
    EXPECT_GT(outside, 0);
    EXPECT_LT(outside, 128);
    EXPECT_GT(inside, 128);
    EXPECT_LT(inside, 255);
    EXPECT_EQ(qRed(img.pixel(45, 28)), qRed(img.pixel(28, 42))); // rows and columns alike

    TBitmap wide(4, 4);
    wide.SetPixelFormat(TPixelFormat::pf32bit);
    try {
        BlurBitmap(&wide, 3);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Blur only works for 24-bit bitmaps");
    }
}

TEST(ExObjWindows, GlowMaskIsABlurredOutlineWhoseMiddleRowsAndColumnsMatch)
{
    TBitmap glow;
    MakeGlowMask(&glow, 90, 60, 3, 5, 4);
    ASSERT_EQ(glow.Width(), 90);
    EXPECT_EQ(glow.PixelFormat(), TPixelFormat::pf24bit);
    const QImage& img = glow.Image();
    EXPECT_GT(qRed(img.pixel(4, 30)), 100); // on the outline (x = 2 + 2), softened
    EXPECT_EQ(qRed(img.pixel(45, 30)), 0); // hollow inside
    EXPECT_LT(qRed(img.pixel(0, 0)), 40);
    // The middle rows and columns come out as row and column 15 do.
    for (int y = 21; y < 60 - 21; ++y)
        for (int x = 0; x < 90; ++x)
            ASSERT_EQ(img.pixel(x, y), img.pixel(x, 15)) << x << "," << y;
    for (int x = 21; x < 90 - 21; ++x)
        for (int y = 0; y < 60; ++y)
            ASSERT_EQ(img.pixel(x, y), img.pixel(15, y)) << x << "," << y;

    TBitmap filled;
    MakeGlowMask(&filled, 40, 30, 0, 5, 0);
    EXPECT_EQ(filled.Image().pixel(20, 15) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(filled.Image().pixel(1, 1) & 0xFFFFFF, 0u);
}

} // namespace
