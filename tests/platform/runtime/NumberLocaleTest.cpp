// Number texts are read and written by FormatSettings alone, whatever locale
// the C library was given; the one float reader underneath keeps its syntax.
#include "common/CommaDecimalLocale.h"
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(AsciiToFloat, ReadsWholePlainNumbersOnly)
{
    const std::string manyDigits(400, '9');
    const std::string tinyFraction = "0." + std::string(400, '0') + "1";
    struct {
        std::string text;
        bool ok;
        double value;
    } const cases[] = {
        { "1.5", true, 1.5 },
        { "+2", true, 2 },
        { "-.5", true, -0.5 },
        { "5.", true, 5 },
        { "1E3", true, 1000 },
        { "2.5e-3", true, 0.0025 },
        { "4.9e-324", true, 4.9e-324 }, // the smallest subnormal still reads
        // Beyond the range: infinities above, zeros below, as the C library's own reader.
        { "1e400", true, Inf },
        { "-1e400", true, -Inf },
        { "123.45e307", true, Inf },
        { manyDigits, true, Inf },
        { manyDigits + "e-800", true, 0 },
        { "1e-400", true, 0 },
        { "0.001e-320", true, 0 },
        { tinyFraction, true, 0 },
        { tinyFraction + "e500", true, 1e99 },
        { tinyFraction + "e800", true, Inf },
        { "1e99999999999999999999", true, Inf },
        { "1e-99999999999999999999", true, 0 },
        // Only the plain decimal form, whole.
        { "", false, 0 },
        { "-", false, 0 },
        { ".", false, 0 },
        { "+-1", false, 0 },
        { "inf", false, 0 },
        { "nan", false, 0 },
        { "0x1p3", false, 0 },
        { " 1", false, 0 },
        { "1 ", false, 0 },
        { "1e", false, 0 },
        { "1,5", false, 0 },
    };
    for (const auto& c : cases) {
        double v = -7;
        EXPECT_EQ(AsciiToFloat(c.text, v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(v, c.ok ? c.value : -7) << c.text;
    }
    double v = 1;
    ASSERT_TRUE(AsciiToFloat("-1e-400", v));
    EXPECT_TRUE(v == 0 && std::signbit(v)) << "an underflow keeps its sign";
}

// The comma locale must change nothing: FormatSettings decides the separators.
class NumberLocale : public TCommaDecimalLocaleTest<> {
protected:
    void SetUp() override
    {
        ResetFormatSettings();
        TCommaDecimalLocaleTest::SetUp();
    }
    void TearDown() override
    {
        TCommaDecimalLocaleTest::TearDown();
        ResetFormatSettings();
    }
};

TEST_F(NumberLocale, ReadersTakeThePointOfTheSettings)
{
    EXPECT_EQ(StrToFloat("1.5"), 1.5);
    EXPECT_EQ(StrToFloatDef("-3.75", 0), -3.75);
    struct {
        const char* text;
        bool ok;
        double value;
    } const floats[] = {
        { "2.25", true, 2.25 },
        { " -10.5e1 ", true, -105 },
        { "1,5", false, 0 },
    };
    for (const auto& c : floats) {
        double v = -7;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -7) << c.text;
    }
    struct {
        const char* text;
        int code;
        double value;
    } const vals[] = {
        { "0.125", -1, 0.125 },
        { " 6.5E-1", -1, 0.65 },
        { "1,5", 1, 0 },
    };
    for (const auto& c : vals) {
        double v = -7;
        EXPECT_EQ(Val(c.text, v), c.code) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }

    // A comma in the settings reads commas, and only them.
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    double v = -7;
    EXPECT_FALSE(TryStrToFloat("1.5", v));
}

TEST_F(NumberLocale, WritersUseTheSeparatorsOfTheSettings)
{
    struct {
        QString written, expected;
    } const cases[] = {
        { FloatToStr(1.5), "1.5" },
        { FloatToStr(-2.25e-7), "-2.25E-7" },
        { FloatToStr(1.7976931348623157e308), "1.79769313486231E308" },
        { FormatFloat("#,##0.00", 1234.5), "1,234.50" },
        { FormatFloat("0.0E+00", 0.00123), "1.2E-03" },
        { Format("%.2f|%e|%n", { 3.14159, 1234.5, 1234567.891 }), "3.14|1.23450000000000E+003|1,234,567.89" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.written, c.expected);

    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    EXPECT_EQ(FloatToStr(-1.5), "-1,5");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
}

} // namespace
