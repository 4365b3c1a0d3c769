// Text widths are remembered per font and text: a width measured in one font
// must never answer for another font, on this canvas or on another one.
#include "platform/graphics/Graphics.h"

#include <QFontMetrics>

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(CanvasTextWidth, RemeasuresAfterEveryShapeChange)
{
    struct Case {
        const char* Name;
        std::function<void(TFont&)> Change;
    };
    const Case cases[] = {
        { "size", [](TFont& f) { f.SetSize(20); } },
        { "bold", [](TFont& f) { f.SetStyle(TFontStyle::fsBold); } },
        { "name", [](TFont& f) { f.SetName(QStringLiteral("Courier New")); } },
    };
    const QString text = QStringLiteral("Wide text 0123");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCanvas canvas;
        const int before = canvas.TextWidth(text);
        EXPECT_EQ(before, QFontMetrics(canvas.Font()->ToQFont()).horizontalAdvance(text));
        c.Change(*canvas.Font());
        const int after = QFontMetrics(canvas.Font()->ToQFont()).horizontalAdvance(text);
        ASSERT_NE(after, before); // the change must matter for the check to mean anything
        EXPECT_EQ(canvas.TextWidth(text), after);
        // A second canvas in the first font still gets the first width.
        TCanvas other;
        EXPECT_EQ(other.TextWidth(text), before);
    }
}

} // namespace
