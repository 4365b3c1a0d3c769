#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Every test starts from and returns to the English settings.
class FormatTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFormatSettings(); }
    void TearDown() override { ResetFormatSettings(); }
    static void UseEuropeanSeparators()
    {
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
    }
};

TEST_F(FormatTest, FloatToStrGeneralFormat)
{
    const std::pair<double, const char*> cases[] = {
        { 0, "0" },
        { 1, "1" },
        { -1.5, "-1.5" },
        { 0.1, "0.1" },
        { 1.0 / 3, "0.333333333333333" },
        { 2.0 / 3, "0.666666666666667" },
        { 100, "100" },
        { 123456789012345.0, "123456789012345" },
        { 999999999999999.0, "999999999999999" },
        { 1e15, "1E15" },
        { 1.5e20, "1.5E20" },
        { -2.25e-7, "-2.25E-7" },
        { 0.00001, "0.00001" },
        { 0.000001, "1E-6" },
        { 0.1 + 0.2, "0.3" },
        { 1234.5678, "1234.5678" },
        // Rounding up would pass the largest double and read back as overflow.
        { 1.7976931348623157e308, "1.79769313486231E308" },
        { -1.7976931348623157e308, "-1.79769313486231E308" },
        { 1.2345678901234567e308, "1.23456789012346E308" },
    };
    for (auto [v, text] : cases) {
        EXPECT_EQ(FloatToStr(v), text) << v;
        double back = 0;
        EXPECT_TRUE(TryStrToFloat(FloatToStr(v), back)) << v;
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
    UseEuropeanSeparators();
    EXPECT_EQ(FloatToStr(-1.5), "-1,5");
}

TEST_F(FormatTest, StrToFloatUsesTheDecimalSeparator)
{
    struct {
        const char* text;
        bool ok;
        double value;
    } const english[] = {
        { "1.5", true, 1.5 },
        { " 2.5 ", true, 2.5 },
        { "-.5", true, -0.5 },
        { "+1e3", true, 1000 },
        { "1E-2", true, 0.01 },
        { "7", true, 7 },
        { "1,5", false, 0 },
        { "1,000.5", false, 0 },
        { "", false, 0 },
        { "-", false, 0 },
        { "e5", false, 0 },
        { "1.5x", false, 0 },
        { "1e400", false, 0 },
    };
    for (const auto& c : english) {
        double v = -7;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(v, c.ok ? c.value : -7) << c.text;
    }
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
    EXPECT_EQ(StrToFloatDef("abc", 3.5), 3.5);

    UseEuropeanSeparators();
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    double v;
    EXPECT_FALSE(TryStrToFloat("1.5", v));
    EXPECT_FALSE(TryStrToFloat("1.000,5", v));
}

TEST_F(FormatTest, FormatFloatPatterns)
{
    struct {
        const char* pattern;
        double value;
        const char* expected;
    } const cases[] = {
        { "0.00", 1234.5, "1234.50" },
        { "#,##0.00", 1234567.891, "1,234,567.89" },
        { "#,##0", 999, "999" },
        { "#,##0", -1234, "-1,234" },
        { "0.##", 1, "1" },
        { "0.##", 1.5, "1.5" },
        { "0.0#", 1.5, "1.5" },
        { "0.0#", 1, "1.0" },
        { "#.##", 0.5, ".5" },
        { "#", 0, "" },
        { "000", 7, "007" },
        { "0", 2.5, "3" }, // ties away from zero
        { "0", -2.5, "-3" },
        { "0.0", 0.15, "0.2" }, // rounds the value as written
        { "0.00", 2.675, "2.68" },
        { "0", -0.4, "0" }, // no "-0"
        { "0.00E+00", 1234.5, "1.23E+03" },
        { "0.0E-0", 0.00012, "1.2E-4" },
        { "00.0E+000", 0.5, "50.0E-002" },
        // Past four exponent digits and after the exponent everything is text.
        { "0E+00000", 1.5, "2E+00000" },
        { ".0E+0#.0,", 1.5, ".2E+1#.0," },
        { "'#'0 \"kg\"", 5, "#5 kg" },
        { "0;(0);zero", 5, "5" },
        { "0;(0);zero", -5, "(5)" },
        { "0;(0);zero", 0, "zero" },
        { "0.0;(0.0)", -0.01, "0.0" },
        { "0.0;;nil", -2, "-2.0" },
        { "0-0", 1234, "123-4" },
        { "", 1.5, "1.5" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;

    UseEuropeanSeparators();
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
}

TEST_F(FormatTest, FormatConversions)
{
    struct {
        const char* pattern;
        std::vector<TVarRec> args;
        const char* expected;
    } const cases[] = {
        { "Error row %d!! Position Must be Between 0 and %d", { 3, 1439 },
            "Error row 3!! Position Must be Between 0 and 1439" },
        { "%5d|", { 42 }, "   42|" },
        { "%-5d|", { 42 }, "42   |" },
        { "%.3d", { 7 }, "007" },
        { "%.3d", { -7 }, "-007" },
        { "%d", { std::int64_t(1) << 40 }, "1099511627776" },
        { "%u", { -1 }, "4294967295" },
        { "%x", { 255 }, "FF" },
        { "%.4x", { 255 }, "00FF" },
        { "%x", { -1 }, "FFFFFFFF" },
        { "%s and %s", { "a", QString("b") }, "a and b" },
        { "%.1s|%4s|%-4s|", { "ab", "ab", "ab" }, "a|  ab|ab  |" },
        { "%.2f", { 3.14159 }, "3.14" },
        { "%.2f", { 2.675 }, "2.68" },
        { "%.2f", { -0.001 }, "0.00" },
        { "%f", { 1.0 }, "1.00" },
        { "%.0f", { 2.5 }, "3" },
        { "%8.2f|", { -1.5 }, "   -1.50|" },
        { "%n", { 1234567.5 }, "1,234,567.50" },
        { "%.0n", { 1234.0 }, "1,234" },
        { "%e", { 1234.5 }, "1.23450000000000E+003" },
        { "%.3e", { -0.000123 }, "-1.23E-004" },
        { "%g", { 1.5e20 }, "1.5E20" },
        { "%g", { 0.1 }, "0.1" },
        { "%g", { 1e-6 }, "1E-6" },
        { "%.3g", { 1234.5 }, "1.23E3" },
        { "100%%", {}, "100%" },
        { "%1:s %0:s %s", { "a", "b" }, "b a b" },
        { "%*d|%-*d|", { 4, 7, 3, 8 }, "   7|8  |" },
        { "%.*f", { 1, 2.25 }, "2.3" },
        { "%D", { 5 }, "5" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.pattern, c.args), c.expected) << c.pattern;

    UseEuropeanSeparators();
    EXPECT_EQ(Format("%.2n", { 1234.5 }), "1.234,50");
}

TEST_F(FormatTest, MismatchedPatternRaises)
{
    struct {
        const char* pattern;
        std::vector<TVarRec> args;
    } const cases[] = {
        { "%d", {} },
        { "%d %d", { 1 } },
        { "%d", { "x" } },
        { "%s", { 1 } },
        { "%f", { 1 } },
        { "%x", { 1.5 } },
        { "%q", { 1 } },
        { "abc%", {} },
        { "%5", { 1 } },
        { "%5:d", { 1, 2 } },
        { "%*d", { "w", 1 } },
        { "%*d", { 5 } },
        { "%999999999d", { 1 } },
        { "%.99999f", { 1.0 } },
    };
    for (const auto& c : cases) {
        EXPECT_THROW(Format(c.pattern, c.args), EConvertError) << c.pattern;
    }
    try {
        Format("Device %d", { "x" });
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message().contains("'Device %d'")) << e.Message().toStdString();
    }
}

} // namespace

// Patterns and texts come from language files and cells the user edits: any
// mix of format characters must end in a result or EConvertError, never in a
// read outside the arguments or the text (the test build runs sanitized).
TEST_F(FormatTest, ArbitraryPatternsAreSafe)
{
    const QString alphabet = QStringLiteral("%%%:*-.0123456789dsxfegnuDSqE+#,;'\"hmnsyzatcp/ $0x");
    const std::vector<TVarRec> args { 5, 2.5, "s" };
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    for (int round = 0; round < 3000; ++round) {
        QString p;
        const int len = int(next() % 12);
        for (int i = 0; i < len; ++i)
            p += alphabet[qsizetype(next() % alphabet.size())];
        try {
            Format(p, args);
        } catch (const EConvertError&) {
        }
        FormatFloat(p, -1234.5678);
        FormatDateTime(p, 45356.25);
        int i;
        double d;
        TryStrToInt(p, i);
        TryStrToFloat(p, d);
        TDateTime t;
        TryStrToDateTime(p, t);
    }
}
