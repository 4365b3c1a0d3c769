// The canvas leaves its painter set up between drawings (pen, font) and
// skips what is already set up: whatever a caller did to the painter in
// between, the next drawing looks as the canvas' own objects say. Text that
// stays inside its rectangle draws without a clip of its own; text reaching
// out of it is still clipped.
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Graphics.h"

#include <QFontMetrics>
#include <QPainter>

#include <functional>
#include <gtest/gtest.h>

namespace {

// A white bitmap; its canvas stays attached.
struct Surface {
    TBitmap Bmp;
    explicit Surface(int w = 80, int h = 50)
        : Bmp(w, h)
    {
        Bmp.SetPixelFormat(TPixelFormat::pf24bit);
        Clear();
        Canvas().Font()->SetColor(clBlack);
    }
    TCanvas& Canvas() { return *Bmp.Canvas(); }
    void Clear()
    {
        Canvas().Brush()->SetColor(clWhite);
        Canvas().FillRect(Rect(0, 0, Bmp.Width(), Bmp.Height()));
    }
    TColor At(int x, int y) { return Canvas().Pixels(x, y); }
    // Pixels that are not white within r.
    int Marked(const TRect& r)
    {
        int n = 0;
        for (int y = std::max(0, r.Top); y < std::min(Bmp.Height(), r.Bottom); ++y)
            for (int x = std::max(0, r.Left); x < std::min(Bmp.Width(), r.Right); ++x)
                n += At(x, y) != clWhite;
        return n;
    }
    int Marked() { return Marked(TRect(0, 0, Bmp.Width(), Bmp.Height())); }
    // Rows above y1 holding dark (text) pixels within the columns [x0, x1).
    int InkRows(int x0, int x1, int y1)
    {
        int rows = 0;
        for (int y = 0; y < y1; ++y) {
            bool ink = false;
            for (int x = x0; x < x1; ++x)
                ink = ink || qGray(ColorToQColor(At(x, y)).rgb()) < 128;
            rows += ink;
        }
        return rows;
    }
    int Count(TColor c)
    {
        int n = 0;
        for (int y = 0; y < Bmp.Height(); ++y)
            for (int x = 0; x < Bmp.Width(); ++x)
                n += At(x, y) == c;
        return n;
    }
};

TEST(CanvasPainterState, DrawingFollowsTheCanvasWhateverThePainterWasLeftWith)
{
    struct Case {
        const char* Name;
        std::function<void(TCanvas&, QPainter&)> Disturb;
    };
    const Case cases[] = {
        { "nothing", [](TCanvas&, QPainter&) {} },
        { "wide blue pen", [](TCanvas&, QPainter& p) { p.setPen(QPen(Qt::blue, 5)); } },
        { "big font",
            [](TCanvas&, QPainter& p) {
                QFont f = p.font();
                f.setPixelSize(30);
                p.setFont(f);
                p.setPen(Qt::blue);
            } },
        { "xor composition",
            [](TCanvas&, QPainter& p) { p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); } },
        { "opaque green background",
            [](TCanvas&, QPainter& p) {
                p.setBackgroundMode(Qt::OpaqueMode);
                p.setBackground(Qt::green);
            } },
        { "right to left layout", [](TCanvas&, QPainter& p) { p.setLayoutDirection(Qt::RightToLeft); } },
        { "font changed and restored",
            [](TCanvas&, QPainter& p) {
                p.save();
                QFont f = p.font();
                f.setPixelSize(30);
                p.setFont(f);
                p.restore();
            } },
        { "dotted xor line of the canvas",
            [](TCanvas& c, QPainter&) {
                c.Pen()->SetMode(TPenMode::pmXor);
                c.Pen()->SetStyle(TPenStyle::psDot);
                c.MoveTo(0, 30);
                c.LineTo(80, 30);
                c.Pen()->SetMode(TPenMode::pmCopy);
                c.Pen()->SetStyle(TPenStyle::psSolid);
            } },
    };
    const QString text = QStringLiteral("HH");
    // Text, a grid line, a diagonal and a dotted line over a transparent
    // background, as a cell paints them. Each of them in turn also begins
    // and ends the drawing, so that the painter is disturbed between two
    // drawings of one kind.
    using TDraw = std::function<void(TCanvas&)>;
    const TDraw pieces[] = {
        [&](TCanvas& cv) {
            cv.Brush()->SetStyle(TBrushStyle::bsClear);
            cv.TextOut(2, 20, text);
        },
        [](TCanvas& cv) {
            cv.Pen()->SetColor(clRed);
            cv.MoveTo(2, 50);
            cv.LineTo(60, 50);
        },
        [](TCanvas& cv) {
            cv.Pen()->SetColor(clRed);
            cv.MoveTo(62, 2);
            cv.LineTo(72, 12);
        },
        [](TCanvas& cv) {
            cv.Pen()->SetColor(clRed);
            cv.Pen()->SetStyle(TPenStyle::psDot);
            cv.SetBkMode(TRANSPARENT);
            cv.MoveTo(2, 60);
            cv.LineTo(60, 60);
            cv.Pen()->SetStyle(TPenStyle::psSolid);
        },
    };
    const auto draw = [&](TCanvas& cv, const TDraw& first) {
        first(cv);
        for (const TDraw& piece : pieces)
            piece(cv);
        first(cv);
    };
    // Drawn, cleared behind the canvas' back (leaving the painter as it
    // was), drawn again.
    const auto paint = [&](Surface& s, const TDraw& first, const std::function<void(TCanvas&, QPainter&)>& disturb) {
        TCanvas& cv = s.Canvas();
        draw(cv, first);
        disturb(cv, *cv.Painter());
        QPainter& p = *cv.Painter();
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(0, 0, 80, 70, Qt::white);
        p.restore();
        draw(cv, first);
    };
    for (const Case& c : cases)
        for (const TDraw& first : pieces) {
            SCOPED_TRACE(testing::Message() << c.Name << ", first drawing " << (&first - pieces));
            Surface s(80, 70), undisturbed(80, 70);
            TCanvas& cv = s.Canvas();
            paint(s, first, c.Disturb);
            paint(undisturbed, first, cases[0].Disturb);

            // The line: red, one pixel thick, nothing else on its rows.
            for (int x = 2; x < 60; ++x)
                ASSERT_EQ(s.At(x, 50), clRed) << x;
            EXPECT_EQ(s.Marked(TRect(0, 48, 80, 50)) + s.Marked(TRect(0, 51, 80, 53)), 0);
            EXPECT_EQ(s.At(65, 5), clRed);
            // The dotted line: red dots, white gaps.
            const int dots = s.Count(clRed) - 58 - 10;
            EXPECT_GT(dots, 10);
            EXPECT_EQ(s.Marked(TRect(2, 60, 60, 61)), dots);
            EXPECT_EQ(s.Count(clLime) + s.Count(clBlue), 0);
            // The text: no taller than the canvas font's line, from x = 2.
            const int textWidth = cv.TextWidth(text);
            EXPECT_GT(s.InkRows(2, 2 + textWidth, 45), 0);
            EXPECT_LE(s.InkRows(0, 60, 45), cv.TextHeight(text));
            EXPECT_EQ(s.Marked(TRect(0, 0, 2, 45)), 0);
            // And all of it as drawn on a canvas left alone.
            int differ = 0;
            for (int y = 0; y < 70; ++y)
                for (int x = 0; x < 80; ++x)
                    differ += s.At(x, y) != undisturbed.At(x, y);
            EXPECT_EQ(differ, 0);
        }
}

TEST(CanvasPainterState, MeasuresFollowTheFontAcrossManySwitches)
{
    struct Case {
        int Size;
        TFontStyles Style;
    };
    // More fonts than the canvas keeps, and back again.
    const Case cases[] = { { 8, {} }, { 14, {} }, { 8, {} }, { 20, TFontStyle::fsBold }, { 10, {} }, { 12, {} },
        { 14, TFontStyle::fsItalic }, { 14, {} }, { 8, {} }, { 20, TFontStyle::fsBold } };
    const QString text = QStringLiteral("Measured Wg");
    TCanvas canvas;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Size << " " << int(c.Style));
        canvas.Font()->SetSize(c.Size);
        canvas.Font()->SetStyle(c.Style);
        TFont same;
        same.Assign(canvas.Font());
        const QFontMetrics fm(same.ToQFont());
        EXPECT_EQ(canvas.TextHeight(text), fm.ascent() + fm.descent());
        EXPECT_EQ(canvas.LineMetrics().Ascent, fm.ascent());
        EXPECT_EQ(canvas.TextWidth(text), fm.horizontalAdvance(text));
        EXPECT_EQ(canvas.QtFont().pixelSize(), same.ToQFont().pixelSize());
        EXPECT_EQ(canvas.QtFont().bold(), c.Style.testFlag(TFontStyle::fsBold));
    }
}

TEST(CanvasPainterState, TextReachingOutOfItsRectangleIsClipped)
{
    struct Case {
        const char* Name;
        QString Text;
        unsigned Flags;
        // The rectangle from the text's width and line height.
        std::function<TRect(int w, int h, int ascent)> Place;
    };
    const Case cases[] = {
        { "descenders below", QStringLiteral("gjpqy"), DT_SINGLELINE,
            [](int w, int, int ascent) { return Rect(10, 10, 10 + w + 10, 10 + ascent); } },
        { "tops above", QStringLiteral("HdHd"), DT_SINGLELINE | DT_BOTTOM,
            [](int w, int h, int) { return Rect(10, 10, 10 + w + 10, 10 + h / 2); } },
        { "start on the left", QStringLiteral("WWWWWW"), DT_SINGLELINE | DT_RIGHT,
            [](int w, int h, int) { return Rect(30, 10, 30 + w / 2, 10 + h); } },
        { "second line below", QStringLiteral("Hd\nHd"), 0,
            [](int w, int h, int) { return Rect(10, 10, 10 + w + 10, 10 + h + h / 2); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Surface open(120, 60), clipped(120, 60);
        TCanvas& cv = clipped.Canvas();
        const TRect r = c.Place(
            cv.TextWidth(c.Text.section(QLatin1Char('\n'), 0, 0)), cv.TextHeight(c.Text), cv.LineMetrics().Ascent);
        for (Surface* s : { &open, &clipped }) {
            s->Canvas().Brush()->SetStyle(TBrushStyle::bsClear);
            TRect rr = r;
            DrawText(&s->Canvas(), c.Text, rr, c.Flags | (s == &open ? DT_NOCLIP : 0));
        }
        const int outside = open.Marked() - open.Marked(r);
        ASSERT_GT(outside, 0) << "the text reaches out of the rectangle";
        EXPECT_EQ(clipped.Marked() - clipped.Marked(r), 0);
        EXPECT_EQ(clipped.Marked(r), open.Marked(r));
        // Inside the rectangle both draw the same pixels.
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                ASSERT_EQ(clipped.At(x, y), open.At(x, y)) << x << "," << y;
    }
}

} // namespace
