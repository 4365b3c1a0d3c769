#include "platform/graphics/Graphics.h"

#include "platform/runtime/Exceptions.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// A white image with a canvas attached for one test.
struct Surface {
    QImage Image;
    TCanvas Canvas;
    explicit Surface(int w = 40, int h = 30, TColor background = clWhite)
        : Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(ColorToQColor(background));
        Canvas.BeginDraw(&Image);
    }
    ~Surface() { Canvas.EndDraw(); }
    TColor At(int x, int y) const { return QColorToColor(QColor::fromRgb(Image.pixel(x, y))); }
    int Count(TColor c) const
    {
        int n = 0;
        for (int y = 0; y < Image.height(); ++y)
            for (int x = 0; x < Image.width(); ++x)
                n += At(x, y) == c;
        return n;
    }
};

TEST(Canvas, LineToDrawsFromStartAndLeavesOutEndPoint)
{
    struct Case {
        TPoint From, To, BeforeEnd;
    };
    const Case cases[] = {
        { { 5, 10 }, { 20, 10 }, { 19, 10 } }, // right
        { { 20, 12 }, { 5, 12 }, { 6, 12 } }, // left
        { { 8, 3 }, { 8, 25 }, { 8, 24 } }, // down
        { { 9, 25 }, { 9, 3 }, { 9, 4 } }, // up
        { { 2, 2 }, { 12, 12 }, { 11, 11 } }, // diagonal
        { { 30, 2 }, { 22, 10 }, { 23, 9 } }, // anti-diagonal
        { { 2, 20 }, { 30, 27 }, { 29, 26 } }, // shallow slope
    };
    for (const Case& c : cases) {
        Surface s;
        s.Canvas.Pen()->SetColor(clRed);
        s.Canvas.MoveTo(c.From.X, c.From.Y);
        s.Canvas.LineTo(c.To.X, c.To.Y);
        SCOPED_TRACE(testing::Message() << c.From.X << "," << c.From.Y << " -> " << c.To.X << "," << c.To.Y);
        EXPECT_EQ(s.At(c.From.X, c.From.Y), clRed);
        EXPECT_EQ(s.At(c.BeforeEnd.X, c.BeforeEnd.Y), clRed);
        EXPECT_EQ(s.At(c.To.X, c.To.Y), clWhite);
        EXPECT_EQ(s.Canvas.PenPos(), c.To);
    }
}

TEST(Canvas, PolylineJoinsSegmentsAndLeavesOutLastPoint)
{
    Surface s;
    s.Canvas.Pen()->SetColor(clBlue);
    s.Canvas.Polyline({ { 2, 2 }, { 10, 2 }, { 10, 10 } });
    EXPECT_EQ(s.At(2, 2), clBlue);
    EXPECT_EQ(s.At(10, 2), clBlue); // the corner is drawn by the second segment
    EXPECT_EQ(s.At(10, 9), clBlue);
    EXPECT_EQ(s.At(10, 10), clWhite);
}

TEST(Canvas, RectangleRightAndBottomAreExclusive)
{
    Surface s;
    s.Canvas.Pen()->SetColor(clRed);
    s.Canvas.Brush()->SetColor(clBlue);
    s.Canvas.Rectangle(2, 3, 10, 9);
    EXPECT_EQ(s.At(2, 3), clRed);
    EXPECT_EQ(s.At(9, 8), clRed);
    EXPECT_EQ(s.At(9, 3), clRed);
    EXPECT_EQ(s.At(10, 8), clWhite);
    EXPECT_EQ(s.At(9, 9), clWhite);
    EXPECT_EQ(s.At(5, 5), clBlue);
    EXPECT_EQ(s.Count(clRed) + s.Count(clBlue), 8 * 6);

    // Without a pen the fill is one pixel smaller to the right and bottom.
    Surface t;
    t.Canvas.Pen()->SetStyle(TPenStyle::psClear);
    t.Canvas.Brush()->SetColor(clBlue);
    t.Canvas.Rectangle(2, 3, 10, 9);
    EXPECT_EQ(t.At(2, 3), clBlue);
    EXPECT_EQ(t.At(8, 7), clBlue);
    EXPECT_EQ(t.At(9, 8), clWhite);
    EXPECT_EQ(t.Count(clBlue), 7 * 5);
}

TEST(Canvas, FillRectAndFrameRectUseTheBrushOnly)
{
    Surface s;
    s.Canvas.Pen()->SetColor(clRed);
    s.Canvas.Brush()->SetColor(clGreen);
    s.Canvas.FillRect(Rect(1, 1, 6, 4));
    EXPECT_EQ(s.Count(clGreen), 5 * 3);
    EXPECT_EQ(s.Count(clRed), 0);

    s.Canvas.Brush()->SetColor(clBlue);
    s.Canvas.FrameRect(Rect(10, 10, 20, 16));
    EXPECT_EQ(s.At(10, 10), clBlue);
    EXPECT_EQ(s.At(19, 15), clBlue);
    EXPECT_EQ(s.At(20, 15), clWhite);
    EXPECT_EQ(s.At(15, 13), clWhite); // inside untouched
    EXPECT_EQ(s.Count(clBlue), 2 * 10 + 2 * 4);

    // A clear brush, or one of clNone, paints nothing.
    const int before = s.Count(clWhite);
    s.Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    s.Canvas.FillRect(Rect(0, 0, 40, 30));
    s.Canvas.FrameRect(Rect(0, 0, 40, 30));
    s.Canvas.Brush()->SetColor(clNone);
    s.Canvas.FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(s.Count(clWhite), before);
}

TEST(Canvas, TextIsOpaqueUnderSolidBrushAndTransparentOtherwise)
{
    const QString text = QStringLiteral("Hig");
    struct Case {
        const char* Name;
        std::function<void(TCanvas&)> Setup;
        bool Opaque;
    };
    const Case cases[] = {
        { "solid", [](TCanvas& c) { c.Brush()->SetColor(clYellow); }, true },
        { "clear", [](TCanvas& c) { c.Brush()->SetStyle(TBrushStyle::bsClear); }, false },
        { "clNone", [](TCanvas& c) { c.Brush()->SetColor(clNone); }, false },
        { "explicit transparent",
            [](TCanvas& c) {
                c.Brush()->SetColor(clYellow);
                c.SetBkMode(TRANSPARENT);
            },
            false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Surface s(80, 40, clAqua);
        s.Canvas.Font()->SetColor(clBlack);
        c.Setup(s.Canvas);
        s.Canvas.TextOut(5, 6, text);
        const TSize ext = s.Canvas.TextExtent(text);
        int yellow = 0, dark = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 80; ++x) {
                const TColor px = s.At(x, y);
                const bool inCell = x >= 5 && x < 5 + ext.cx && y >= 6 && y < 6 + ext.cy;
                if (px == clYellow) {
                    EXPECT_TRUE(inCell) << x << "," << y;
                    ++yellow;
                }
                dark += GetRValue(px) < 100 && inCell;
            }
        EXPECT_GT(dark, 0);
        if (c.Opaque)
            EXPECT_GT(yellow, ext.cx * ext.cy / 2);
        else
            EXPECT_EQ(yellow, 0);
        EXPECT_EQ(s.Canvas.PenPos(), Point(5 + ext.cx, 6));
    }
}

TEST(Canvas, TextRectClipsAndFillsUnderSolidBrush)
{
    Surface s(80, 40, clAqua);
    s.Canvas.Brush()->SetColor(clYellow);
    s.Canvas.TextRect(Rect(10, 10, 30, 20), 12, 10, QStringLiteral("WWWWWWWWWW"));
    EXPECT_EQ(s.At(10, 10), clYellow);
    EXPECT_EQ(s.At(10, 19), clYellow);
    for (int y = 0; y < 40; ++y) {
        EXPECT_EQ(s.At(30, y), clAqua);
        EXPECT_EQ(s.At(9, y), clAqua);
    }
}

// TextRect clips only the texts that need it: each paints exactly what the
// line drawn under a clip to the rectangle paints, inside or reaching out of
// it, plain, underlined, under a clear or a solid brush.
TEST(Canvas, TextRectPaintsAsUnderAClipToItsRectangle)
{
    struct Case {
        TRect R;
        int X, Y;
        const char* Text;
        bool Underline, Solid;
    };
    const Case cases[] = {
        { Rect(10, 10, 70, 30), 12, 12, "R1C2", false, false },
        { Rect(10, 10, 70, 30), 12, 12, "R1C2", false, true },
        { Rect(10, 10, 70, 30), 12, 12, "WWWWWWWWWWWW", false, false }, // past the right
        { Rect(10, 10, 70, 30), 8, 12, "jW", false, false }, // starts left of it
        { Rect(10, 10, 70, 16), 12, 12, "Tg", false, true }, // below it
        { Rect(10, 10, 70, 30), 12, 12, "R1C2", true, false },
    };
    for (const Case& k : cases) {
        Surface viaRect(80, 40, clAqua), clipped(80, 40, clAqua);
        for (Surface* s : { &viaRect, &clipped }) {
            s->Canvas.Font()->SetColor(clBlack);
            if (k.Underline)
                s->Canvas.Font()->SetStyle(TFontStyle::fsUnderline);
            if (k.Solid)
                s->Canvas.Brush()->SetColor(clYellow);
            else
                s->Canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        }
        const QString text = QString::fromLatin1(k.Text);
        viaRect.Canvas.TextRect(k.R, k.X, k.Y, text);
        clipped.Canvas.IntersectClipRect(k.R);
        if (k.Solid)
            clipped.Canvas.FillRect(k.R);
        clipped.Canvas.DrawTextLine(k.X, k.Y, text, false);
        EXPECT_EQ(viaRect.Image, clipped.Image) << k.Text;
    }
}

TEST(Canvas, FocusRectDrawnTwiceLeavesSurfaceUnchanged)
{
    Surface s(30, 20);
    s.Canvas.Brush()->SetColor(clHighlight);
    s.Canvas.FillRect(Rect(0, 0, 15, 20)); // half coloured, half white
    const QImage before = s.Image.copy();
    s.Canvas.DrawFocusRect(Rect(3, 2, 25, 17));
    const QImage once = s.Image.copy();
    EXPECT_NE(once, before);
    // dotted: of two neighbours on the top edge exactly one is inverted
    EXPECT_NE(once.pixel(20, 2) == before.pixel(20, 2), once.pixel(21, 2) == before.pixel(21, 2));
    EXPECT_EQ(QColor::fromRgb(once.pixel(20, 8)), QColor::fromRgb(before.pixel(20, 8)));
    s.Canvas.DrawFocusRect(Rect(3, 2, 25, 17));
    EXPECT_EQ(s.Image, before);
}

TEST(Canvas, FocusRectShowsTheSameDotsWhereverItReachesPastDeviceOrClip)
{
    // The frame's dots, as the device sees them: every other pixel of its
    // outline, counted in device pixels, inside the device and the clip.
    struct Case {
        const char* Name;
        TRect Frame; // canvas coordinates
        TPoint Origin;
        TRect Clip; // canvas coordinates; empty for none
    };
    constexpr int Far = 1000000000; // a loop over it would not end
    const Case cases[] = {
        { "inside", Rect(3, 2, 25, 17), {}, {} },
        { "one row", Rect(4, 6, 20, 7), {}, {} },
        { "one column", Rect(9, 1, 10, 12), {}, {} },
        { "past every edge", Rect(-Far, -Far, Far, Far), {}, {} },
        { "top and left far off", Rect(-Far, -Far, 21, 13), {}, {} },
        { "bottom and right far off", Rect(5, 4, Far, Far), {}, {} },
        { "odd origin", Rect(-Far, 3, 17, Far), { 3, -2 }, {} },
        { "clipped", Rect(-Far, 2, Far, 25), {}, Rect(6, 0, 19, 9) },
        { "clipped, origin", Rect(2, -Far, 12, Far), { -1, 4 }, Rect(0, -3, 40, 12) },
        { "all off", Rect(50, 50, Far, Far), {}, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Surface s(30, 20);
        s.Canvas.SetOrigin(c.Origin);
        if (!c.Clip.IsEmpty())
            s.Canvas.IntersectClipRect(c.Clip);
        s.Canvas.DrawFocusRect(c.Frame);
        const TRect f = c.Frame;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const qint64 cx = x - c.Origin.X, cy = y - c.Origin.Y; // canvas coordinates
                const bool onOutline = cx >= f.Left && cx < f.Right && cy >= f.Top && cy < f.Bottom
                    && (cx == f.Left || cx == f.Right - 1 || cy == f.Top || cy == f.Bottom - 1);
                const bool inClip = c.Clip.IsEmpty()
                    || (cx >= c.Clip.Left && cx < c.Clip.Right && cy >= c.Clip.Top && cy < c.Clip.Bottom);
                const bool dot = onOutline && inClip && (x + y) % 2 == 0;
                ASSERT_EQ(s.At(x, y), dot ? clBlack : clWhite) << x << "," << y;
            }
    }
}

TEST(Canvas, XorPenModeInvertsAndUndoes)
{
    Surface s(30, 10, RGB(0x12, 0x34, 0x56));
    const QImage before = s.Image.copy();
    s.Canvas.Pen()->SetMode(TPenMode::pmXor);
    s.Canvas.Pen()->SetColor(RGB(0xFF, 0x0F, 0x01));
    s.Canvas.MoveTo(2, 5);
    s.Canvas.LineTo(20, 5);
    EXPECT_EQ(s.At(10, 5), RGB(0x12 ^ 0xFF, 0x34 ^ 0x0F, 0x56 ^ 0x01));
    EXPECT_EQ(qAlpha(s.Image.pixel(10, 5)), 255);
    s.Canvas.MoveTo(2, 5);
    s.Canvas.LineTo(20, 5);
    EXPECT_EQ(s.Image, before);

    // A rubber-band rectangle: outline and fill each inverted once.
    s.Canvas.Brush()->SetColor(clWhite);
    s.Canvas.Rectangle(3, 2, 12, 8);
    EXPECT_EQ(s.At(3, 2), RGB(0x12 ^ 0xFF, 0x34 ^ 0x0F, 0x56 ^ 0x01));
    EXPECT_EQ(s.At(11, 7), RGB(0x12 ^ 0xFF, 0x34 ^ 0x0F, 0x56 ^ 0x01));
    EXPECT_EQ(s.At(5, 4), RGB(0x12 ^ 0xFF, 0x34 ^ 0xFF, 0x56 ^ 0xFF));
    s.Canvas.Rectangle(3, 2, 12, 8);
    EXPECT_EQ(s.Image, before);
}

TEST(Canvas, SystemColoursResolveThroughReplaceablePalette)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(0, 120, 215));
    EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    {
        Surface s;
        s.Canvas.Brush()->SetColor(clBtnFace);
        s.Canvas.FillRect(Rect(0, 0, 5, 5));
        EXPECT_EQ(s.At(1, 1), RGB(240, 240, 240));
    }
    SystemPalette().SetColor(clBtnFace, RGB(1, 2, 3));
    {
        Surface s;
        s.Canvas.Brush()->SetColor(clBtnFace);
        s.Canvas.FillRect(Rect(0, 0, 5, 5));
        EXPECT_EQ(s.At(1, 1), RGB(1, 2, 3));
        EXPECT_EQ(ColorToQColor(clBtnFace), QColor(1, 2, 3));
    }
    ResetSystemPalette();
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
    EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
}

TEST(Canvas, ClipIntersectExcludeAndSaveRestore)
{
    Surface s;
    s.Canvas.Brush()->SetColor(clRed);
    const int saved = s.Canvas.SaveDC();
    s.Canvas.IntersectClipRect(Rect(5, 5, 15, 15));
    s.Canvas.ExcludeClipRect(Rect(8, 8, 10, 10));
    EXPECT_EQ(s.Canvas.ClipRect(), Rect(5, 5, 15, 15));
    s.Canvas.FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(s.Count(clRed), 100 - 4);
    EXPECT_EQ(s.At(8, 8), clWhite);

    EXPECT_TRUE(s.Canvas.RestoreDC(saved));
    EXPECT_FALSE(s.Canvas.HasClip());
    s.Canvas.Brush()->SetColor(clBlue);
    s.Canvas.FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(s.Count(clBlue), 40 * 30);
    EXPECT_FALSE(s.Canvas.RestoreDC(-1));
}

TEST(Canvas, OriginMovesDrawingAndClip)
{
    Surface s;
    s.Canvas.SetOrigin({ 10, 5 });
    s.Canvas.IntersectClipRect(Rect(0, 0, 4, 4));
    s.Canvas.Brush()->SetColor(clRed);
    s.Canvas.FillRect(Rect(-5, -5, 20, 20));
    EXPECT_EQ(s.Count(clRed), 16);
    EXPECT_EQ(s.At(10, 5), clRed);
    EXPECT_EQ(s.Canvas.Pixels(0, 0), clRed);
    EXPECT_EQ(s.Canvas.ClipRect(), Rect(0, 0, 4, 4));
}

TEST(Canvas, StateSurvivesReattaching)
{
    TCanvas c;
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.MoveTo(3, 4);
    c.IntersectClipRect(Rect(0, 0, 10, 10));
    QImage a(20, 20, QImage::Format_RGB32);
    a.fill(Qt::white);
    c.BeginDraw(&a);
    c.LineTo(15, 4);
    c.EndDraw();
    EXPECT_EQ(c.PenPos(), Point(15, 4));
    EXPECT_EQ(QColorToColor(QColor::fromRgb(a.pixel(9, 4))), clRed);
    EXPECT_EQ(QColorToColor(QColor::fromRgb(a.pixel(10, 4))), clWhite); // clipped

    QImage b(20, 20, QImage::Format_RGB32);
    b.fill(Qt::white);
    c.BeginDraw(&b);
    c.FillRect(Rect(0, 0, 20, 20));
    c.EndDraw();
    EXPECT_EQ(QColorToColor(QColor::fromRgb(b.pixel(9, 9))), clBlue);
    EXPECT_EQ(QColorToColor(QColor::fromRgb(b.pixel(10, 10))), clWhite);

    // Drawing while detached, or on an empty image, does nothing and does not crash.
    c.FillRect(Rect(0, 0, 5, 5));
    QImage empty;
    EXPECT_FALSE(c.BeginDraw(&empty));
    c.LineTo(0, 0);
    c.TextOut(0, 0, QStringLiteral("x"));
    EXPECT_EQ(c.Pixels(0, 0), clNone);
}

TEST(Canvas, FollowsFontAndBrushWhoseOnChangeIsTaken)
{
    TCanvas c;
    int fontChanges = 0, brushChanges = 0;
    c.Font()->OnChange = [&](TObject*) { ++fontChanges; };
    c.Brush()->OnChange = [&](TObject*) { ++brushChanges; };
    const int small = c.TextHeight(QStringLiteral("gh"));
    c.Font()->SetSize(20);
    EXPECT_GT(c.TextHeight(QStringLiteral("gh")), small);
    EXPECT_EQ(c.BkMode(), OPAQUE);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(c.BkMode(), TRANSPARENT);
    c.SetBkMode(OPAQUE); // holds until the brush changes again
    EXPECT_EQ(c.BkMode(), OPAQUE);
    c.Brush()->SetColor(clRed);
    EXPECT_EQ(c.BkColor(), clRed);
    EXPECT_EQ(fontChanges, 1);
    EXPECT_EQ(brushChanges, 2);
}

TEST(Canvas, PixelsReadAndWrite)
{
    Surface s;
    s.Canvas.SetPixels(3, 4, clTeal);
    EXPECT_EQ(s.Canvas.Pixels(3, 4), clTeal);
    EXPECT_EQ(s.Canvas.Pixels(4, 4), clWhite);
    EXPECT_EQ(s.Canvas.Pixels(-1, 4), clNone);
    EXPECT_EQ(s.Canvas.Pixels(40, 0), clNone);
}

TEST(Canvas, CopyRectHonoursCopyMode)
{
    Surface src(10, 10, clRed);
    Surface dst(20, 20, RGB(0x10, 0x20, 0x30));
    const QImage before = dst.Image.copy();
    dst.Canvas.CopyRect(Rect(5, 5, 10, 10), &src.Canvas, Rect(0, 0, 5, 5));
    EXPECT_EQ(dst.Count(clRed), 25);
    EXPECT_EQ(dst.At(5, 5), clRed);

    Surface xr(20, 20, RGB(0x10, 0x20, 0x30));
    xr.Canvas.SetCopyMode(cmSrcInvert);
    xr.Canvas.CopyRect(Rect(0, 0, 5, 5), &src.Canvas, Rect(0, 0, 5, 5));
    EXPECT_EQ(xr.At(0, 0), RGB(0x10 ^ 0xFF, 0x20, 0x30));
    xr.Canvas.CopyRect(Rect(0, 0, 5, 5), &src.Canvas, Rect(0, 0, 5, 5));
    EXPECT_EQ(xr.Image, before);

    // Stretching doubles each pixel.
    Surface st(20, 20);
    st.Canvas.StretchDraw(Rect(0, 0, 10, 10), src.Image.copy(0, 0, 5, 5));
    EXPECT_EQ(st.Count(clRed), 100);
}

TEST(Canvas, DrawEdgeUsesSystemShadesAndAdjusts)
{
    struct Case {
        unsigned Edge;
        TColor OuterTopLeft, InnerTopLeft, InnerBottomRight, OuterBottomRight;
    };
    const Case cases[] = {
        { EDGE_RAISED, cl3DLight, clBtnHighlight, clBtnShadow, cl3DDkShadow },
        { EDGE_SUNKEN, clBtnShadow, cl3DDkShadow, cl3DLight, clBtnHighlight },
        { EDGE_ETCHED, clBtnShadow, clBtnHighlight, clBtnShadow, clBtnHighlight },
        { EDGE_BUMP, cl3DLight, cl3DDkShadow, cl3DLight, cl3DDkShadow },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Edge);
        Surface s(30, 30, clFuchsia);
        TRect r = Rect(2, 2, 22, 22);
        EXPECT_TRUE(s.Canvas.DrawEdge(r, c.Edge, BF_RECT | BF_ADJUST | BF_MIDDLE));
        EXPECT_EQ(r, Rect(4, 4, 20, 20));
        EXPECT_EQ(s.At(2, 10), ColorToRGB(c.OuterTopLeft));
        EXPECT_EQ(s.At(10, 3), ColorToRGB(c.InnerTopLeft));
        EXPECT_EQ(s.At(20, 10), ColorToRGB(c.InnerBottomRight));
        EXPECT_EQ(s.At(10, 21), ColorToRGB(c.OuterBottomRight));
        EXPECT_EQ(s.At(10, 10), ColorToRGB(clBtnFace)); // middle
        EXPECT_EQ(s.At(22, 10), clFuchsia);
    }
    // One border, one side, flat: only the top row in the shadow colour.
    Surface s(20, 20, clFuchsia);
    TRect r = Rect(2, 2, 12, 12);
    s.Canvas.DrawEdge(r, BDR_SUNKENOUTER, BF_TOP | BF_FLAT | BF_ADJUST);
    EXPECT_EQ(r, Rect(2, 3, 12, 12));
    EXPECT_EQ(s.Count(ColorToRGB(clBtnShadow)), 10);
}

TEST(Canvas, Frame3DDrawsAndShrinks)
{
    Surface s(20, 20, clFuchsia);
    TRect r = Rect(2, 2, 12, 10);
    s.Canvas.Frame3D(r, clWhite, clBlack, 2);
    EXPECT_EQ(r, Rect(4, 4, 10, 8));
    EXPECT_EQ(s.At(2, 2), clWhite);
    EXPECT_EQ(s.At(3, 3), clWhite);
    EXPECT_EQ(s.At(11, 9), clBlack);
    EXPECT_EQ(s.At(10, 8), clBlack);
    EXPECT_EQ(s.At(11, 2), clBlack); // top-right corner belongs to the bottom colour
    EXPECT_EQ(s.At(2, 9), clBlack); // so does the bottom-left one
    EXPECT_EQ(s.At(5, 5), clFuchsia);
    EXPECT_EQ(s.At(12, 5), clFuchsia);
}

TEST(Canvas, HatchedBrushLeavesGapsInBackgroundMode)
{
    Surface s(16, 16, clAqua);
    s.Canvas.Brush()->SetColor(clRed);
    s.Canvas.Brush()->SetStyle(TBrushStyle::bsHorizontal);
    s.Canvas.SetBkMode(TRANSPARENT);
    s.Canvas.FillRect(Rect(0, 0, 16, 16));
    EXPECT_GT(s.Count(clRed), 0);
    EXPECT_GT(s.Count(clAqua), 0);
}

TEST(GraphicsObjects, FontSizeAndHeightAt96Dpi)
{
    const struct {
        int Size, Height;
    } cases[] = { { 8, -11 }, { 9, -12 }, { 10, -13 }, { 12, -16 }, { 20, -27 } };
    for (const auto& c : cases) {
        TFont f;
        f.SetSize(c.Size);
        EXPECT_EQ(f.Height(), c.Height) << c.Size;
        EXPECT_EQ(f.Size(), c.Size) << c.Size;
    }
    TFont f;
    EXPECT_EQ(f.Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.ToQFont().pixelSize(), 11);
}

TEST(GraphicsObjects, AssignCopiesAndNotifies)
{
    TFont a, b;
    int changes = 0;
    b.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    a.SetName(QStringLiteral("Verdana"));
    a.SetStyle(TFontStyle::fsBold | TFontStyle::fsUnderline);
    a.SetColor(clRed);
    a.SetOrientation(900);
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(b.SameAs(a));
    b.Assign(&a); // nothing changed, nothing announced
    EXPECT_EQ(changes, 1);
    b.SetColor(clRed);
    EXPECT_EQ(changes, 1);

    TPen p;
    p.SetColor(clGreen);
    p.SetWidth(3);
    p.SetMode(TPenMode::pmXor);
    TPen q;
    q.Assign(&p);
    EXPECT_EQ(q.Color(), clGreen);
    EXPECT_EQ(q.Width(), 3);
    EXPECT_EQ(q.Mode(), TPenMode::pmXor);
    q.Assign(&a); // a font is not a pen: ignored
    EXPECT_EQ(q.Color(), clGreen);

    // Giving a clear brush a colour makes it solid.
    TBrush br;
    br.SetStyle(TBrushStyle::bsClear);
    br.SetColor(clYellow);
    EXPECT_EQ(br.Style(), TBrushStyle::bsSolid);
    EXPECT_FALSE(br.IsClear());
}

TEST(Colors, NamesRoundTrip)
{
    const struct {
        TColor Color;
        const char* Text;
    } cases[] = {
        { clRed, "clRed" },
        { clWhite, "clWhite" },
        { clMoneyGreen, "clMoneyGreen" },
        { clBtnFace, "clBtnFace" },
        { cl3DDkShadow, "cl3DDkShadow" },
        { clNone, "clNone" },
        { clDefault, "clDefault" },
        { 0x00123456, "$00123456" },
        { 0x00FF8040, "$00FF8040" },
        { TColorOf(0xFF000019u), "$FF000019" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToString(c.Color), QLatin1String(c.Text));
        EXPECT_EQ(StringToColor(QLatin1String(c.Text)), c.Color) << c.Text;
    }
}

TEST(Colors, StringToColorAcceptsNumbersAndAnyCase)
{
    EXPECT_EQ(StringToColor(QStringLiteral("clbtnface")), clBtnFace);
    EXPECT_EQ(StringToColor(QStringLiteral("255")), clRed);
    EXPECT_EQ(StringToColor(QStringLiteral("0xFF0000")), clBlue);
    EXPECT_EQ(StringToColor(QStringLiteral("$ff")), clRed);
    EXPECT_EQ(StringToColor(QStringLiteral("-16777201")), clBtnFace);
    for (const char* bad : { "", "clNoSuchColour", "12abc", "$", "$1FFFFFFFF" })
        EXPECT_THROW(StringToColor(QLatin1String(bad)), EConvertError) << bad;

    TColor c = 0;
    EXPECT_FALSE(IdentToColor(QStringLiteral("$000000FF"), c));
    EXPECT_TRUE(IdentToWebColor(QStringLiteral("clWebSnow"), c));
    EXPECT_EQ(c, RGB(255, 250, 250));
    QString name;
    EXPECT_TRUE(WebColorToIdent(RGB(255, 250, 250), name));
    EXPECT_EQ(name, QStringLiteral("clWebSnow"));
    EXPECT_GE(WebColorCount(), 130);
}

} // namespace

TEST(CanvasSymbolFaceTest, CodePointsMapToWhatTheyStandFor)
{
    EXPECT_EQ(SymbolToUnicode(QString(QChar(0xB7))), QString(QChar(0x2022)));
    EXPECT_EQ(SymbolToUnicode("abW"), QString(QChar(0x3B1)) + QChar(0x3B2) + QChar(0x3A9));
    EXPECT_EQ(SymbolToUnicode(QString(QChar(0xB3)) + "1 "), QString(QChar(0x2265)) + "1 ");
}

TEST(CanvasResolutionTest, ImagesReportTheirOwnPixelsPerInch)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(144 / 0.0254));
    img.setDotsPerMeterY(qRound(192 / 0.0254));
    TCanvas c;
    EXPECT_EQ(c.PixelsPerInchX(), 96); // detached: the screen's
    c.BeginDraw(&img);
    EXPECT_EQ(c.PixelsPerInchX(), 144);
    EXPECT_EQ(c.PixelsPerInchY(), 192);
    c.EndDraw();
}
