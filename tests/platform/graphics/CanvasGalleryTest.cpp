#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"

#include "common/TestUtil.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

void Label(TCanvas& c, int x, int y, const QString& text)
{
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Font()->SetColor(clGray);
    c.Font()->SetStyle({});
    c.TextOut(x, y, text);
    c.Font()->SetColor(clBlack);
}

void Lines(TCanvas& c)
{
    const TPenStyle styles[]
        = { TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot, TPenStyle::psDashDotDot };
    int y = 24;
    for (TPenStyle st : styles) {
        c.Pen()->SetStyle(st);
        c.MoveTo(10, y);
        c.LineTo(110, y);
        y += 6;
    }
    c.Pen()->SetStyle(TPenStyle::psSolid);
    c.Pen()->SetWidth(3);
    c.Pen()->SetColor(clNavy);
    c.MoveTo(10, y + 2);
    c.LineTo(110, y + 2);
    c.Pen()->SetWidth(1);
    c.Pen()->SetColor(clRed);
    for (int i = 0; i < 6; ++i) {
        c.MoveTo(120, 20);
        c.LineTo(120 + i * 8, 60);
    }
    c.Pen()->SetColor(clBlack);
}

void Shapes(TCanvas& c)
{
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clSkyBlue);
    c.Rectangle(10, 80, 50, 110);
    c.RoundRect(60, 80, 100, 110, 12, 12);
    c.Ellipse(110, 80, 150, 110);
    c.Pie(160, 80, 200, 110, 200, 80, 160, 80);
    c.Chord(210, 80, 250, 110, 250, 95, 210, 95);
    c.Arc(260, 80, 300, 110, 300, 95, 260, 110);
    c.Brush()->SetColor(clMoneyGreen);
    c.Polygon({ { 310, 110 }, { 330, 80 }, { 350, 110 } });
    c.Polyline({ { 360, 110 }, { 370, 80 }, { 380, 110 }, { 390, 80 } });
    c.Pen()->SetColor(clMaroon);
    c.PolyBezier({ { 400, 110 }, { 410, 70 }, { 440, 120 }, { 450, 80 } });
    c.Pen()->SetColor(clBlack);
    c.Pen()->SetWidth(3);
    c.Pen()->SetStyle(TPenStyle::psInsideFrame);
    c.Brush()->SetColor(clCream);
    c.Rectangle(460, 80, 500, 110);
    c.Pen()->SetWidth(1);
    c.Pen()->SetStyle(TPenStyle::psSolid);
}

void Brushes(TCanvas& c)
{
    const TBrushStyle styles[] = { TBrushStyle::bsSolid, TBrushStyle::bsHorizontal, TBrushStyle::bsVertical,
        TBrushStyle::bsFDiagonal, TBrushStyle::bsBDiagonal, TBrushStyle::bsCross, TBrushStyle::bsDiagCross };
    int x = 10;
    for (TBrushStyle st : styles) {
        c.Brush()->SetColor(clTeal);
        c.Brush()->SetStyle(st);
        c.SetBkColor(clWhite);
        c.Rectangle(x, 130, x + 30, 160);
        x += 36;
    }
    // system colours through the palette
    const TColor sys[] = { clBtnFace, clBtnShadow, clHighlight, clInfoBk, clWindow, cl3DDkShadow, clHotLight };
    for (TColor col : sys) {
        c.Brush()->SetColor(col);
        c.FillRect(Rect(x, 130, x + 14, 160));
        x += 16;
    }
    c.Brush()->SetColor(clBlue);
    c.FrameRect(Rect(x + 4, 130, x + 34, 160));
}

void Edges(TCanvas& c)
{
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(Rect(0, 170, 520, 215));
    const unsigned edges[] = { EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP, BDR_RAISEDINNER, BDR_SUNKENOUTER };
    int x = 10;
    for (unsigned e : edges) {
        TRect r = Rect(x, 176, x + 36, 206);
        c.DrawEdge(r, e, BF_RECT | BF_ADJUST);
        x += 42;
    }
    TRect r = Rect(x, 176, x + 36, 206);
    c.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_MIDDLE);
    x += 42;
    r = Rect(x, 176, x + 36, 206);
    c.Frame3D(r, clBtnHighlight, clBtnShadow, 2);
    x += 42;
    c.DrawFocusRect(Rect(x, 176, x + 36, 206));
    x += 42;
    c.Pen()->SetMode(TPenMode::pmXor);
    c.Pen()->SetColor(clWhite);
    c.Pen()->SetWidth(3);
    c.MoveTo(x, 180);
    c.LineTo(x + 60, 200);
    c.Pen()->SetWidth(1);
    c.Pen()->SetMode(TPenMode::pmCopy);
    c.Pen()->SetColor(clBlack);
}

void Texts(TCanvas& c)
{
    struct Case {
        const char* Text;
        unsigned Flags;
    };
    const Case cases[] = {
        { "Left", DT_LEFT | DT_VCENTER | DT_SINGLELINE },
        { "Centre", DT_CENTER | DT_VCENTER | DT_SINGLELINE },
        { "Right", DT_RIGHT | DT_VCENTER | DT_SINGLELINE },
        { "Bottom", DT_LEFT | DT_BOTTOM | DT_SINGLELINE },
        { "A long text that is cut", DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS },
        { "Words that wrap onto lines", DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX },
        { "Cut words wrap on lines that end", DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS },
        { "a\tb\tc", DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER },
        { "&File && Edit", DT_SINGLELINE | DT_VCENTER },
        { "&File && Edit", DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX },
        { "Right to left", DT_SINGLELINE | DT_RIGHT | DT_RTLREADING | DT_VCENTER },
        { "Two\nlines", DT_CENTER | DT_EXTERNALLEADING },
    };
    int x = 10, y = 225;
    for (const Case& k : cases) {
        TRect box = Rect(x, y, x + 76, y + 34);
        c.Brush()->SetColor(clWhite);
        c.Pen()->SetColor(clSilver);
        c.Rectangle(box);
        InflateRect(box, -1, -1);
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        DrawText(&c, QLatin1String(k.Text), box, k.Flags);
        x += 84;
        if (x > 440) {
            x = 10;
            y += 40;
        }
    }
    // Measured box drawn behind a measured text.
    TRect m = Rect(10, y + 4, 200, y + 4);
    DrawText(&c, QStringLiteral("Measured"), m, DT_CALCRECT | DT_SINGLELINE);
    c.Brush()->SetColor(clInfoBk);
    c.FillRect(m);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    DrawText(&c, QStringLiteral("Measured"), m, DT_SINGLELINE);

    // Opaque and transparent text, styles, rotation.
    c.Brush()->SetColor(clYellow);
    c.TextOut(100, y + 4, QStringLiteral("Opaque"));
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.TextOut(160, y + 4, QStringLiteral("Clear"));
    const TFontStyle styles[]
        = { TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline, TFontStyle::fsStrikeOut };
    int sx = 210;
    for (TFontStyle st : styles) {
        c.Font()->SetStyle(st);
        c.TextOut(sx, y + 4, QStringLiteral("Style"));
        sx += c.TextWidth(QStringLiteral("Style")) + 8;
    }
    c.Font()->SetStyle({});
    c.Font()->SetSize(12);
    c.TextOut(sx, y, QStringLiteral("12pt"));
    c.Font()->SetSize(8);
    c.Font()->SetOrientation(900);
    c.TextOut(480, 390, QStringLiteral("Rotated"));
    c.Font()->SetOrientation(0);
}

// Bitmaps drawn plain, stretched and transparent, copied between canvases;
// single pixels; text clipped to its rectangle; clip regions, an excluded
// rectangle undone by RestoreDC; an inverted rectangle.
void Pictures(TCanvas& c, int y)
{
    TBitmap bmp(16, 16);
    bmp.Canvas()->Brush()->SetColor(clFuchsia);
    bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
    bmp.Canvas()->Brush()->SetColor(clNavy);
    bmp.Canvas()->Ellipse(2, 2, 14, 14);
    c.Draw(10, y, &bmp);
    c.StretchDraw(Rect(32, y, 64, y + 32), &bmp);
    bmp.SetTransparent(true);
    c.Draw(72, y, &bmp);
    c.CopyRect(Rect(96, y, 128, y + 16), bmp.Canvas(), Rect(0, 0, 16, 16));

    for (int i = 0; i < 16; ++i)
        c.SetPixels(136 + i * 2, y + i * 2, clRed);

    c.Brush()->SetStyle(TBrushStyle::bsSolid);
    c.Brush()->SetColor(clInfoBk);
    c.TextRect(Rect(172, y, 222, y + 16), 174, y + 1, QStringLiteral("Clipped text"));

    const TRegion rgn = TRegion(232, y, 20, 32) + TRegion(256, y + 8, 20, 16);
    c.SelectClipRgn(&rgn);
    c.Brush()->SetColor(clPurple);
    c.FillRect(Rect(228, y - 4, 290, y + 40));
    c.SelectClipRgn(nullptr);

    const int saved = c.SaveDC();
    c.ExcludeClipRect(Rect(304, y + 8, 324, y + 24));
    c.Brush()->SetColor(clOlive);
    c.FillRect(Rect(294, y, 334, y + 32));
    c.RestoreDC(saved);
    c.Brush()->SetColor(clOlive);
    c.FrameRect(Rect(300, y + 4, 328, y + 28));

    c.Brush()->SetColor(clYellow);
    c.FillRect(Rect(344, y, 384, y + 32));
    c.InvertRect(Rect(352, y + 8, 376, y + 24));
}

TEST(CanvasGallery, EveryPrimitiveAndTextFormat)
{
    QImage img(520, 400, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c;
    ASSERT_TRUE(c.BeginDraw(&img));
    Label(c, 4, 4, QStringLiteral("Lines"));
    Lines(c);
    Label(c, 4, 64, QStringLiteral("Shapes"));
    Shapes(c);
    Label(c, 4, 114, QStringLiteral("Brushes and system colours"));
    Brushes(c);
    Edges(c);
    Label(c, 4, 212, QStringLiteral("Text"));
    Texts(c);
    Label(c, 4, 330, QStringLiteral("Pictures, pixels and clipping"));
    Pictures(c, 350);
    c.EndDraw();
    testutil::SaveImagePng(img, QStringLiteral("canvas_gallery"));
    EXPECT_TRUE(testutil::MatchesGolden(img, QStringLiteral("canvas_gallery")));
}

} // namespace
