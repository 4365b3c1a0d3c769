// A right-to-left drawing orientation mirrors where things go about the
// given width and keeps the shape of glyphs and pictures.
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr int kW = 60, kH = 40;

// Lines, shapes, fills, edges and clipping: everything but text and pictures
// (and slanted edges, whose rasterizing is not symmetric).
void DrawShapes(TCanvas& c)
{
    c.Pen()->SetColor(clRed);
    c.MoveTo(3, 2);
    c.LineTo(40, 2);
    c.LineTo(40, 20);
    c.MoveTo(5, 5);
    c.LineTo(17, 17); // diagonal
    c.Brush()->SetColor(clBlue);
    c.FillRect(TRect(44, 4, 55, 9));
    c.Rectangle(20, 22, 31, 33);
    c.Polygon({ TPoint(45, 30), TPoint(57, 30), TPoint(57, 38), TPoint(45, 38) });
    c.Brush()->SetColor(clGreen);
    c.FrameRect(TRect(33, 25, 42, 39));
    TRect e(8, 10, 19, 21);
    c.DrawEdge(e, EDGE_RAISED, BF_RECT);
    c.SetPixels(0, 0, clFuchsia);
    const TRect clip(22, 5, 30, 12);
    c.SelectClipRect(&clip);
    c.Brush()->SetColor(clMaroon);
    c.FillRect(TRect(20, 0, 40, 15)); // only the clipped part shows
    c.SelectClipRect(nullptr);
}

QImage Blank()
{
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

} // namespace

TEST(CanvasOrientation, RightToLeftMirrorsShapesAboutTheWidth)
{
    QImage ltr = Blank(), rtl = Blank();
    {
        TCanvas c;
        c.BeginDraw(&ltr);
        DrawShapes(c);
        c.EndDraw();
    }
    {
        TCanvas c;
        c.BeginDraw(&rtl);
        c.SetDrawingOrientation({ true, kW });
        DrawShapes(c);
        EXPECT_EQ(c.ClipRect(), TRect(0, 0, kW, kH));
        EXPECT_EQ(c.Pixels(0, 0), clFuchsia) << "reads map like writes";
        c.EndDraw();
    }
    EXPECT_EQ(rtl, ltr.mirrored(true, false));
}

TEST(CanvasOrientation, TextAndPicturesMoveButKeepTheirShape)
{
    QImage pic(7, 5, QImage::Format_RGB32);
    pic.fill(Qt::black);
    pic.setPixel(0, 0, qRgb(255, 0, 0)); // marks the picture's left
    const QString text = QStringLiteral("Fb");
    QImage ltr = Blank(), rtl = Blank();
    int tw = 0, th = 0;
    auto draw = [&](QImage& img, bool mirrored) {
        TCanvas c;
        c.BeginDraw(&img);
        c.SetDrawingOrientation({ mirrored, kW });
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        c.TextOut(4, 3, text);
        c.Draw(30, 20, pic);
        TRect r(2, 20, 28, 38);
        DrawText(&c, text, r, DT_LEFT | DT_SINGLELINE | DT_BOTTOM);
        tw = c.TextWidth(text);
        th = c.TextHeight(text);
        c.EndDraw();
    };
    draw(ltr, false);
    draw(rtl, true);
    // Each box lands at its mirrored place, its content unturned.
    EXPECT_EQ(rtl.copy(kW - 4 - tw, 3, tw, th), ltr.copy(4, 3, tw, th));
    EXPECT_EQ(rtl.copy(kW - 30 - 7, 20, 7, 5), pic);
    EXPECT_EQ(rtl.copy(kW - 2 - tw, 38 - th, tw, th), ltr.copy(2, 38 - th, tw, th));
    EXPECT_NE(rtl, ltr.mirrored(true, false));
}
