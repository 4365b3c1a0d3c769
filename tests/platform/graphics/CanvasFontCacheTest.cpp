// The canvas keeps its Qt font while only the font colour changes (a grid
// switches it for every selected cell) and rebuilds it for every other change.
#include "platform/graphics/Graphics.h"

#include <QFont>
#include <QImage>

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(CanvasFont, ColourChangesKeepTheQtFontOthersRebuildIt)
{
    struct Case {
        const char* Name;
        std::function<void(TFont&)> Change;
        bool Rebuilt;
    };
    TFont red;
    red.SetColor(clRed);
    TFont bold;
    bold.SetStyle(TFontStyle::fsBold);
    const Case cases[] = {
        { "colour", [](TFont& f) { f.SetColor(clHighlightText); }, false },
        { "assigned colour", [&](TFont& f) { f.Assign(&red); }, false },
        { "size", [](TFont& f) { f.SetSize(14); }, true },
        { "name", [](TFont& f) { f.SetName(QStringLiteral("Courier New")); }, true },
        { "style", [](TFont& f) { f.SetStyle(TFontStyle::fsItalic); }, true },
        { "assigned style", [&](TFont& f) { f.Assign(&bold); }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCanvas canvas;
        const QFont before = canvas.QtFont();
        c.Change(*canvas.Font());
        EXPECT_EQ(canvas.QtFont().isCopyOf(before), !c.Rebuilt);
    }
}

TEST(CanvasFont, TextTakesTheNewColourWithTheKeptFont)
{
    QImage img(60, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas;
    canvas.BeginDraw(&img);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    canvas.Font()->SetColor(clBlack);
    canvas.TextOut(2, 2, QStringLiteral("H"));
    canvas.Font()->SetColor(clRed);
    canvas.TextOut(30, 2, QStringLiteral("H"));
    canvas.EndDraw();
    auto count = [&](int x0, QRgb rgb) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = x0; x < x0 + 28; ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
        return n;
    };
    EXPECT_GT(count(0, qRgb(0, 0, 0)), 0);
    EXPECT_EQ(count(0, qRgb(255, 0, 0)), 0);
    EXPECT_GT(count(30, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(count(30, qRgb(0, 0, 0)), 0);
}

} // namespace
