// Gradients drawn one after another on one canvas, as the cells of a header
// row draw them: each paints its own colours at its own place, whatever was
// drawn before with the same length or the same colours.
#include "controls/base/ExUtilDraw.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GradientBands, EachGradientOfASeriesPaintsItsOwnBands)
{
    TBitmap bmp(60, 12);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 60, 12));

    const TColor black = RGB(0, 0, 0), blue = RGB(0, 0, 100), red = RGB(100, 0, 0);
    struct Case {
        TColor From, To;
        TRect R;
        int Steps;
        std::vector<TColor> Row; // the row y = 3 from R.Left, or the column x = R.Left from R.Top
        bool Horizontal = true;
    };
    // Two bands of 3.5 pixels start at offsets 0, 3 and 7; a span of five
    // pixels in five steps gives a band per pixel.
    const std::vector<TColor> blueBands { black, black, black, RGB(0, 0, 50), RGB(0, 0, 50), RGB(0, 0, 50),
        RGB(0, 0, 50), blue };
    const Case cases[] = {
        { black, blue, Rect(0, 0, 8, 8), 2, blueBands },
        { black, red, Rect(10, 0, 18, 8), 2,
            { black, black, black, RGB(50, 0, 0), RGB(50, 0, 0), RGB(50, 0, 0), RGB(50, 0, 0), red } },
        { black, blue, Rect(20, 1, 28, 9), 2, blueBands },
        { black, blue, Rect(30, 0, 36, 8), 100,
            { black, RGB(0, 0, 20), RGB(0, 0, 40), RGB(0, 0, 60), RGB(0, 0, 80), blue } },
        { blue, black, Rect(40, 0, 48, 8), 2,
            { blue, blue, blue, RGB(0, 0, 50), RGB(0, 0, 50), RGB(0, 0, 50), RGB(0, 0, 50), black } },
        { black, blue, Rect(50, 0, 52, 8), 2, blueBands, false },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.R.Left);
        DrawGradient(c, k.From, k.To, k.Horizontal, k.R, k.Steps);
        std::vector<TColor> got;
        for (size_t i = 0; i < k.Row.size(); ++i)
            got.push_back(k.Horizontal ? c->Pixels(k.R.Left + int(i), 3) : c->Pixels(k.R.Left, k.R.Top + int(i)));
        EXPECT_EQ(got, k.Row);
        // The canvas ends in the last band's colour.
        EXPECT_EQ(c->Brush()->Color(), k.To);
        EXPECT_EQ(c->Pen()->Color(), k.To);
    }
    // Nothing beyond the gradients.
    EXPECT_EQ(c->Pixels(8, 3), clWhite);
    EXPECT_EQ(c->Pixels(20, 0), clWhite);
    EXPECT_EQ(c->Pixels(36, 3), clWhite);
}

} // namespace
