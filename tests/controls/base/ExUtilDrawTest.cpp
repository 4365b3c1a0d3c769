// Colour arithmetic and the drawing routines, checked by pixel probes on a
// white bitmap.
#include "controls/base/ExUtilDraw.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"

#include <gtest/gtest.h>

namespace {

struct Surface {
    TBitmap bmp;
    Surface(int w, int h)
        : bmp(w, h)
    {
        bmp.SetPixelFormat(TPixelFormat::pf24bit);
        c()->Brush()->SetColor(clWhite);
        c()->FillRect(Rect(0, 0, w, h));
    }
    TCanvas* c() { return bmp.Canvas(); }
    TColor at(int x, int y) { return c()->Pixels(x, y); }
    // Colours of a row from x0 to x1 inclusive.
    std::vector<TColor> row(int y, int x0, int x1)
    {
        std::vector<TColor> v;
        for (int x = x0; x <= x1; ++x)
            v.push_back(at(x, y));
        return v;
    }
    // The x positions in [x0, x1] of row y that are not white.
    std::vector<int> painted(int y, int x0, int x1)
    {
        std::vector<int> v;
        for (int x = x0; x <= x1; ++x)
            if (at(x, y) != clWhite)
                v.push_back(x);
        return v;
    }
};

TEST(ExUtilDraw, ColourArithmetic)
{
    const TColor c = RGB(200, 100, 50);
    EXPECT_EQ(HalveColor(c), RGB(100, 50, 25));
    EXPECT_EQ(HalveColor(RGB(255, 1, 3)), RGB(127, 0, 1));
    EXPECT_EQ(AdjustColorPercent(c, -20), RGB(160, 80, 40));
    EXPECT_EQ(AdjustColorPercent(c, 50), RGB(44, 150, 75)); // 300 keeps its low 8 bits
    EXPECT_EQ(AdjustColorPercent(RGB(5, 0, 0), -10), RGB(4, 0, 0)); // 4.5 rounds to even
    EXPECT_EQ(AdjustColorPercent(clBtnFace, 0), ColorToRGB(clBtnFace)); // resolved first

    struct Case {
        TColor c1, c2;
        int s, n, e;
        TColor expected;
    };
    const Case cases[] = {
        { clBtnFace, clNone, 0, 5, 10, clBtnFace }, // unchanged and unresolved
        { RGB(0, 0, 0), RGB(100, 200, 10), 0, 5, 10, RGB(50, 100, 5) },
        { RGB(100, 100, 100), RGB(0, 0, 0), 0, 1, 4, RGB(75, 75, 75) },
        { RGB(10, 20, 30), RGB(0, 0, 0), 3, 0, 3, RGB(10, 20, 30) }, // empty range: the first colour
        { RGB(0, 0, 0), RGB(3, 3, 3), 0, 1, 2, RGB(2, 2, 2) }, // 1.5 rounds to even
    };
    for (const Case& k : cases)
        EXPECT_EQ(InterpolateColor(k.c1, k.c2, k.s, k.n, k.e), k.expected) << k.n << "/" << k.e;

    EXPECT_EQ(ColorToHTMLHex(RGB(0x12, 0xAB, 0x0C)), "12AB0C");
    EXPECT_EQ(ColorToHTMLHex(clBtnFace), "0F0000"); // the value as given
}

TEST(ExUtilDraw, GradientBands)
{
    const TColor red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
    {
        Surface s(4, 10); // steps 0 count as 1: all but the last line in the start colour
        DrawGradient(s.c(), red, blue, false, Rect(0, 0, 4, 10), 0);
        for (int y = 0; y < 9; ++y)
            EXPECT_EQ(s.at(1, y), red) << y;
        EXPECT_EQ(s.at(1, 9), blue);
    }
    {
        Surface s(6, 3); // more steps than the span: one band per pixel
        DrawGradient(s.c(), RGB(0, 0, 0), RGB(250, 0, 0), true, Rect(0, 0, 6, 3), 100);
        EXPECT_EQ(s.row(1, 0, 5),
            (std::vector<TColor> {
                RGB(0, 0, 0), RGB(50, 0, 0), RGB(100, 0, 0), RGB(150, 0, 0), RGB(200, 0, 0), RGB(250, 0, 0) }));
    }
    {
        Surface s(8, 8); // two bands of 3.5 pixels: offsets 0, 3 and 7
        DrawGradient(s.c(), RGB(0, 0, 0), RGB(0, 0, 100), true, Rect(0, 0, 8, 8), 2);
        EXPECT_EQ(s.row(2, 0, 7),
            (std::vector<TColor> { RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 50), RGB(0, 0, 50),
                RGB(0, 0, 50), RGB(0, 0, 50), RGB(0, 0, 100) }));
    }
    struct SolidCase {
        TColor from, to, expected;
    };
    for (const SolidCase& k :
        { SolidCase { red, clNone, red }, SolidCase { clNone, blue, blue }, SolidCase { clNone, clNone, clWhite } }) {
        Surface s(5, 5);
        DrawGradient(s.c(), k.from, k.to, false, Rect(0, 4, 5, 0), 16); // upside down: swapped
        EXPECT_EQ(s.at(2, 0), k.expected);
        EXPECT_EQ(s.at(2, 3), k.expected);
        EXPECT_EQ(s.at(2, 4), clWhite);
    }
    {
        Surface s(5, 5);
        DrawGradient(s.c(), red, blue, false, Rect(0, 2, 5, 2), 16); // no height: nothing
        EXPECT_EQ(s.at(2, 2), clWhite);
    }
}

TEST(ExUtilDraw, MirrorGradient)
{
    const TColor a = RGB(10, 10, 10), b = RGB(250, 250, 250), m = RGB(0, 100, 0), mt = RGB(0, 200, 0);
    Surface s(20, 12);
    DrawMirrorGradient(s.c(), Rect(0, 0, 20, 10), a, true, false, clRed, true, mt, m, b);
    EXPECT_EQ(s.at(5, 1), RGB(70, 70, 70)); // first half: step 1 of 4 from the start colour (row 0 is the frame)
    EXPECT_EQ(s.at(5, 5), m); // second half starts at the mirror colour
    EXPECT_EQ(s.at(0, 5), clRed); // frame
    EXPECT_EQ(s.at(19, 5), clRed);
    EXPECT_EQ(s.at(5, 10), clWhite);

    Surface solid(10, 10);
    DrawMirrorGradient(solid.c(), Rect(0, 0, 10, 5), a, true, true, clBlue, false, clNone, clNone, clNone);
    EXPECT_EQ(solid.at(4, 5), a); // the solid fill reaches one pixel below
    EXPECT_EQ(solid.at(4, 6), clWhite);
    EXPECT_EQ(solid.at(0, 2), clBlue); // side lines only
    EXPECT_EQ(solid.at(9, 2), clBlue);
    EXPECT_EQ(solid.at(4, 0), a);
}

TEST(ExUtilDraw, SelectionBoxEndTypes)
{
    const TColor fill = RGB(1, 1, 1), outerCorner = RGB(2, 2, 2), corner = RGB(3, 3, 3), outer = RGB(4, 4, 4),
                 lower = RGB(5, 5, 5), upper = RGB(6, 6, 6);
    // Rect (0, 0, 30, 14): L 0, T 0, R 29, B 12, M 6.
    // A square end has no corners: the outer lines and the fill run to the edge.
    struct Case {
        int endType;
        TColor topLeft, topLeftInner, left, topRight, rightOuter, nextToTopLeft;
    };
    const Case cases[] = {
        { 0, outerCorner, corner, outer, outerCorner, outer, corner },
        { 1, outerCorner, corner, outer, outer, fill, corner },
        { 2, outer, upper, fill, outerCorner, outer, outer },
        { 3, outer, upper, fill, outer, fill, outer },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.endType);
        Surface s(32, 16);
        DrawSelectionBox(s.c(), fill, clNone, k.endType, Rect(0, 0, 30, 14), outerCorner, corner, outer, lower, upper,
            clNone, clNone);
        EXPECT_EQ(s.at(0, 0), k.topLeft);
        EXPECT_EQ(s.at(1, 1), k.topLeftInner);
        EXPECT_EQ(s.at(0, 5), k.left); // outer line of a rounded left end
        EXPECT_EQ(s.at(28, 0), k.topRight); // (R - 1, T)
        EXPECT_EQ(s.at(28, 5), k.rightOuter);
        EXPECT_EQ(s.at(10, 0), outer);
        EXPECT_EQ(s.at(10, 12), outer);
        EXPECT_EQ(s.at(10, 1), upper);
        EXPECT_EQ(s.at(10, 11), lower);
        EXPECT_EQ(s.at(10, 6), fill);
        EXPECT_EQ(s.at(1, 0), k.nextToTopLeft);
    }
    // Two gradients meet in the middle of the fill.
    Surface s(32, 30);
    DrawSelectionBox(s.c(), RGB(100, 0, 0), RGB(200, 0, 0), 3, Rect(0, 0, 30, 24), clNone, clNone, clNone, clNone,
        clNone, RGB(0, 0, 200), RGB(0, 0, 100));
    EXPECT_EQ(s.at(10, 2), RGB(100, 0, 0));
    EXPECT_EQ(s.at(10, 11), RGB(0, 0, 100)); // the fill's middle: 2 + 19 / 2
}

TColorTones Tones()
{
    TColorTones t;
    t.Background = { RGB(10, 0, 0), RGB(11, 0, 0), RGB(12, 0, 0) };
    t.Hover = { RGB(20, 0, 0), RGB(21, 0, 0), clNone };
    t.Selected = { RGB(30, 0, 0), RGB(31, 0, 0), clNone };
    t.Disabled = { RGB(40, 0, 0), RGB(41, 0, 0), clNone };
    return t;
}

TEST(ExUtilDraw, CellButtonsInTonesTakeTheStatesColours)
{
    const TColorTones tones = Tones();
    for (int state = 0; state < 4; ++state) {
        SCOPED_TRACE(state);
        Surface s(40, 20);
        DrawCellButton(s.c(), 0, Rect(2, 2, 30, 18), tones, state, 3);
        EXPECT_EQ(s.at(10, 10), RGB(10 * (state + 1), 0, 0));
        EXPECT_EQ(s.at(2, 10), RGB(10 * (state + 1) + 1, 0, 0));
    }
    Surface combo(60, 20);
    DrawComboButton(combo.c(), 0, Rect(0, 0, 60, 20), tones, 1, 3);
    // Button from x = 60 - 19 + 3 = 44 to 58; border line at 45; arrow at 49..55, y 8..11.
    EXPECT_EQ(combo.at(44, 5), RGB(20, 0, 0));
    EXPECT_EQ(combo.at(45, 5), RGB(11, 0, 0));
    EXPECT_EQ(combo.at(52, 9), RGB(12, 0, 0));
    EXPECT_EQ(combo.at(43, 5), clWhite);

    Surface spin(60, 21);
    DrawSpinButtons(spin.c(), 0, Rect(0, 1, 60, 21), tones, 0, 3);
    // Column x 44..58, upper half y 0..10, lower 11..19.
    EXPECT_EQ(spin.at(45, 1), RGB(10, 0, 0));
    EXPECT_EQ(spin.at(51, 4), clBlack); // up arrow
    EXPECT_EQ(spin.at(51, 12), clBlack); // down arrow
    EXPECT_EQ(spin.at(45, 15), RGB(10, 0, 0));
}

TEST(ExUtilDraw, ThemedComboButtonShowsOnlyTheDisabledState)
{
    auto draw = [](int state) {
        Surface s(60, 22);
        DrawComboButton(s.c(), 0, Rect(0, 0, 60, 22), TColorTones(), state, 0);
        return s.bmp.ToImage();
    };
    const QImage normal = draw(0);
    EXPECT_EQ(draw(1), normal);
    EXPECT_EQ(draw(2), normal);
    EXPECT_NE(draw(3), normal);
    EXPECT_NE(normal.pixel(50, 10), qRgb(255, 255, 255));

    // Classic kinds draw hot and pushed differently from normal, the flat
    // one too; pushed, its frame is no lighter than unpushed.
    auto button = [](int state, int kind) {
        Surface s(30, 20);
        DrawCellButton(s.c(), 0, Rect(0, 0, 30, 20), TColorTones(), state, kind);
        return s.bmp.ToImage();
    };
    for (const int kind : { 1, 2 }) {
        SCOPED_TRACE(kind);
        const QImage up = button(0, kind), down = button(2, kind);
        EXPECT_NE(down, up);
        EXPECT_LE(qGray(down.pixel(15, 0)), qGray(up.pixel(15, 0)));
    }
    EXPECT_NE(button(0, 0), button(3, 0));
}

TEST(ExUtilDraw, ShapesCircleAndStar)
{
    Surface s(40, 30);
    DrawCellShape(s.c(), 2, 2, clBlack, clRed, TCellShape::csCircle, 10, 20); // height 10, width 20
    EXPECT_EQ(s.at(7, 7), clRed); // centre of a 10 x 10 circle
    EXPECT_EQ(s.at(15, 7), clWhite); // not stretched to 20
    EXPECT_EQ(s.at(2, 2), clWhite); // outside the circle's corner

    Surface star(40, 40);
    DrawCellShape(star.c(), 10, 10, clBlack, clYellow, TCellShape::csStar, 16, 16);
    EXPECT_EQ(star.at(18, 10), clBlack); // the first point, straight up at (x + 8, y)
    EXPECT_EQ(star.at(18, 9), clWhite);
    EXPECT_EQ(star.at(18, 18), clYellow); // centre

    Surface half(40, 40);
    DrawCellShape(half.c(), 10, 10, clBlack, clYellow, TCellShape::csHalfStar, 16, 16);
    EXPECT_EQ(half.at(15, 20), clYellow); // left of the centre line
    EXPECT_EQ(half.at(22, 18), clWhite); // right half stays empty

    Surface arrow(30, 30);
    DrawCellShape(arrow.c(), 0, 0, clBlack, clBlue, TCellShape::csArrowUp, 20, 20);
    EXPECT_EQ(arrow.at(10, 5), clBlue); // head
    EXPECT_EQ(arrow.at(10, 15), clBlue); // shaft between x 5 and 15
    EXPECT_EQ(arrow.at(2, 15), clWhite);
}

TEST(ExUtilDraw, ProgressBarTextAndFill)
{
    {
        Surface s(120, 24);
        s.c()->Brush()->SetColor(clWhite);
        DrawProgressBar(s.c(), Rect(2, 2, 102, 22), clBlue, false, clBlack, QString(), 100, 0, 0, 0, 150, clBlack,
            clWhite, clWhite);
        // 150 without a format: "150%", filled completely (clamped to 100).
        EXPECT_EQ(s.at(3, 3), clBlue);
        EXPECT_EQ(s.at(100, 20), clBlue);
        EXPECT_EQ(s.at(1, 10), clBlack); // border frame
        // The bar shows "150%" centred in the filled colours.
        Surface e(120, 24);
        e.c()->Brush()->SetColor(clBlue);
        e.c()->Font()->SetColor(clWhite);
        const TSize ext = e.c()->TextExtent("150%");
        e.c()->TextRect(Rect(2, 2, 102, 22), 2 + (100 - ext.cx) / 2, 2 + (20 - ext.cy) / 2, "150%");
        for (int y = 2; y < 22; ++y)
            ASSERT_EQ(s.row(y, 2, 101), e.row(y, 2, 101)) << y;
    }
    {
        Surface s(120, 24);
        DrawProgressBar(
            s.c(), Rect(2, 2, 102, 22), clBlue, false, clNone, "%d", 5, 5, 0, 0, 5, clBlack, clYellow, clWhite);
        // An empty range fills nothing.
        EXPECT_EQ(s.at(3, 3), clYellow);
        EXPECT_EQ(s.at(100, 20), clYellow);
    }
    {
        Surface s(120, 24);
        DrawProgressBar(
            s.c(), Rect(2, 2, 102, 22), clBlue, false, clNone, "%d", 200, 100, 0, 0, 125, clBlack, clYellow, clWhite);
        EXPECT_EQ(s.at(26, 3), clBlue); // 25% of 100 pixels
        EXPECT_EQ(s.at(27, 3), clYellow);
    }
}

TEST(ExUtilDraw, LevelBarBlocksAndStackedFill)
{
    TLevelProgressSettings set;
    set.Level0Color = clLime;
    set.Level1Color = clYellow;
    set.Level2Color = clBlue;
    set.Level3Color = clRed;
    set.Level1Perc = 50;
    set.Level2Perc = 80;
    set.UnCompleteColor = clWhite;
    set.BorderColor = clBlack;
    set.ShowBorder = true;
    struct Case {
        int p;
        std::vector<int> filled;
    };
    std::vector<int> t22, t20;
    for (int x : { 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22 })
        t22.push_back(x);
    for (int x : { 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17 })
        t20.push_back(x);
    for (const Case& k : { Case { 22, t22 }, Case { 20, t20 } }) {
        SCOPED_TRACE(k.p);
        Surface s(110, 12);
        DrawLevelProgressBar(s.c(), Rect(0, 0, 102, 12), k.p, set); // length 100: t = p
        EXPECT_EQ(s.painted(5, 1, 100), k.filled);
        EXPECT_EQ(s.at(4, 5), clLime);
        EXPECT_EQ(s.at(4, 1), clWhite); // blocks sit two pixels inside the outline
        EXPECT_EQ(s.at(0, 5), clBlack);
    }

    set.Stacked = true;
    Surface s(60, 12);
    DrawLevelProgressBar(s.c(), Rect(0, 0, 33, 12), 100, set); // length 31
    std::vector<TColor> expect;
    for (int x = 1; x <= 31; ++x)
        expect.push_back(x <= 16 ? clLime : x <= 25 ? clYellow : clRed); // 15.5 -> 16, 9.3 -> 9, remainder 6
    EXPECT_EQ(s.row(5, 1, 31), expect);
    EXPECT_EQ(s.at(32, 5), clBlack);
}

TEST(ExUtilDraw, ProgressPieFillsItsOwnSector)
{
    auto count = [](Surface& s, bool leftHalf, TColor c) {
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = leftHalf ? 0 : 21; x < (leftHalf ? 19 : 40); ++x)
                n += s.at(x, y) == c;
        return n;
    };
    Surface small(40, 40);
    DrawProgressPie(small.c(), Rect(0, 0, 40, 40), clRed, false, 5);
    EXPECT_EQ(count(small, true, clRed), 0); // a thin sector right of the top radius only
    EXPECT_GT(count(small, false, clRed), 0);
    EXPECT_LT(count(small, false, clRed), 100);
    EXPECT_EQ(small.at(20, 0) == RGB(128, 128, 128) || small.at(20, 1) == RGB(128, 128, 128), true);

    Surface half(40, 40);
    DrawProgressPie(half.c(), Rect(0, 0, 40, 40), clRed, true, 50);
    EXPECT_EQ(half.at(30, 20), clRed);
    EXPECT_EQ(half.at(10, 20), clWhite);

    Surface none(40, 40);
    DrawProgressPie(none.c(), Rect(0, 0, 40, 40), clRed, false, 0);
    EXPECT_EQ(count(none, false, clRed), 0);
}

TEST(ExUtilDraw, BalanceBarGrowsFromTheMiddle)
{
    struct Case {
        double value, max;
        int x;
        TColor expected;
    };
    // Rect (0, 0, 44, 10) shrinks to (2, 2, 42, 8): half 20, middle 22.
    const Case cases[] = {
        { 10, 20, 27, clGreen }, { 10, 20, 33, clWhite }, { -5, 10, 15, clRed }, { -5, 10, 25, clWhite },
        { 50, 20, 41, clGreen }, // beyond the maximum: a full half
        { 5, 0, 30, clWhite }, // no maximum: nothing
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.value);
        Surface s(44, 10);
        DrawBalanceBar(s.c(), Rect(0, 0, 44, 10), k.value, clGreen, clRed, false, k.max);
        EXPECT_EQ(s.at(k.x, 5), k.expected);
    }
}

TEST(ExUtilDraw, ErrorUnderlineStartsAtTheMeasuredCharacter)
{
    Surface s(200, 30);
    const QString text = "Hello wrold";
    DrawErrorUnderline(nullptr, s.c(), text, 5, 6, 10, Rect(4, 2, 200, 20));
    const int start = 4 + s.c()->TextWidth("Hello ");
    const int end = 4 + s.c()->TextWidth("Hello wrol");
    std::vector<int> red;
    for (int x = 0; x < 200; ++x)
        for (int y = 10; y < 18; ++y)
            if (s.at(x, y) == clRed) {
                red.push_back(x);
                break;
            }
    ASSERT_FALSE(red.empty());
    EXPECT_GE(red.front(), start - 1);
    EXPECT_LE(red.front(), start + 1);
    EXPECT_GE(red.back(), end);
    EXPECT_LE(red.back(), end + 5);
}

TEST(ExUtilDraw, TransparentBitmapReplacesTheCornerColour)
{
    TBitmap bmp(4, 4);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.Canvas()->Brush()->SetColor(clFuchsia);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    bmp.Canvas()->SetPixels(2, 2, clBlue);
    Surface s(10, 10);
    DrawBitmapTransparent(s.c(), &bmp, clYellow, Rect(3, 3, 10, 10));
    EXPECT_EQ(s.at(3, 3), clYellow);
    EXPECT_EQ(s.at(5, 5), clBlue);
    EXPECT_EQ(s.at(7, 7), clWhite); // the bitmap's own size only
    Surface clear(10, 10);
    DrawBitmapTransparent(clear.c(), &bmp, clNone, Rect(0, 0, 10, 10));
    EXPECT_EQ(clear.at(0, 0), clWhite);
    EXPECT_EQ(clear.at(2, 2), clBlue);
}

} // namespace
