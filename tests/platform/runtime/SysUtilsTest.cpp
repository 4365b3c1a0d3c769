#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
    const char* text;
    bool ok;
    std::int64_t value;
};

TEST(IntegerParser, Accepts32BitForms)
{
    const IntCase cases[] = {
        { "0", true, 0 },
        { "+7", true, 7 },
        { "-42", true, -42 },
        { "007", true, 7 },
        { "$1F", true, 31 },
        { "0x1f", true, 31 },
        { "0X1F", true, 31 },
        { "x10", true, 16 },
        { "X10", true, 16 },
        { "-$10", true, -16 },
        { "+0x10", true, 16 },
        { "$FFFFFFFF", true, -1 }, // full-width hex keeps colour values intact
        { "$FF00000F", true, std::int32_t(0xFF00000F) },
        { " 5", true, 5 },
        { "  -5", true, -5 },
        { "2147483647", true, 2147483647 },
        { "-2147483648", true, -2147483648LL },
        { "", false, 0 },
        { "   ", false, 0 },
        { "5 ", false, 0 },
        { "- 5", false, 0 },
        { "-", false, 0 },
        { "$", false, 0 },
        { "0x", false, 0 },
        { "12a", false, 0 },
        { "abc", false, 0 },
        { "1.5", false, 0 },
        { "$G", false, 0 },
        { "0x-1", false, 0 },
        { "2147483648", false, 0 },
        { "-2147483649", false, 0 },
        { "$100000000", false, 0 },
        { "99999999999999999999", false, 0 },
        { "\t5", false, 0 },
    };
    for (const IntCase& c : cases) {
        int v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        } else {
            EXPECT_EQ(v, 12345) << c.text << " must leave the target alone";
        }
        EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? int(c.value) : -99) << c.text;
    }
}

TEST(IntegerParser, Accepts64BitForms)
{
    const IntCase cases[] = {
        { "2147483648", true, 2147483648LL },
        { "9223372036854775807", true, INT64_MAX },
        { "-9223372036854775808", true, INT64_MIN },
        { "$FFFFFFFFFFFFFFFF", true, -1 },
        { "0x100000000", true, 0x100000000LL },
        { "9223372036854775808", false, 0 },
        { "-9223372036854775809", false, 0 },
        { "$10000000000000000", false, 0 },
        { "", false, 0 },
        { "1 ", false, 0 },
    };
    for (const IntCase& c : cases) {
        std::int64_t v = 0;
        EXPECT_EQ(TryStrToInt64(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
        EXPECT_EQ(StrToInt64Def(c.text, 7), c.ok ? c.value : 7) << c.text;
    }
}

TEST(IntegerParser, StrToIntRaisesQuotingTheText)
{
    EXPECT_EQ(StrToInt("$7f"), 127);
    EXPECT_EQ(StrToInt64("-0x10"), -16);
    try {
        StrToInt("12a");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64(""), EConvertError);
}

TEST(IntegerParser, ValReportsWhereItStopped)
{
    struct {
        const char* text;
        int code;
        double value;
    } const cases[] = {
        { "7", -1, 7 },
        { " -1.5e3", -1, -1500 },
        { ".5", -1, 0.5 },
        { "1.", -1, 1 },
        { "1,5", 1, 0 },
        { "12a", 2, 0 },
        { "", 0, 0 },
        { "-", 1, 0 },
        { "1e", 2, 0 },
        { "1e+", 3, 0 },
        { "1 ", 1, 0 },
    };
    for (const auto& c : cases) {
        double v = -1;
        EXPECT_EQ(Val(c.text, v), c.code) << c.text;
        EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    int i = -1;
    EXPECT_EQ(Val("$1F", i), -1);
    EXPECT_EQ(i, 31);
    EXPECT_EQ(Val("12x4", i), 2);
    EXPECT_EQ(i, 0);
}

TEST(Strings, TrimAndCase)
{
    EXPECT_EQ(Trim(QString(" \t\r\n ab c \x01\x1f")), "ab c");
    EXPECT_EQ(TrimLeft("  ab  "), "ab  ");
    EXPECT_EQ(TrimRight("  ab  "), "  ab");
    EXPECT_EQ(Trim("   "), "");
    // Non-breaking space is above ' ' and stays.
    EXPECT_EQ(Trim(QString::fromUtf16(u"\u00a0x")), QString::fromUtf16(u"\u00a0x"));

    EXPECT_EQ(UpperCase(QString::fromUtf16(u"\u00e4bc-z")), QString::fromUtf16(u"\u00e4BC-Z"));
    EXPECT_EQ(LowerCase(QString::fromUtf16(u"\u00c4BC")), QString::fromUtf16(u"\u00c4bc"));
    EXPECT_EQ(AnsiUpperCase(QString::fromUtf16(u"\u00e4bc")), QString::fromUtf16(u"\u00c4BC"));
    EXPECT_EQ(AnsiLowerCase(QString::fromUtf16(u"\u00c4BC")), QString::fromUtf16(u"\u00e4bc"));

    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_GT(CompareText("B", "a"), 0);
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_TRUE(SameText("Error", "ERROR"));
    EXPECT_FALSE(SameText(QString::fromUtf16(u"\u00e4"), QString::fromUtf16(u"\u00c4"))); // ASCII only
    EXPECT_TRUE(AnsiSameText(QString::fromUtf16(u"\u00e4"), QString::fromUtf16(u"\u00c4")));
    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
}

TEST(Strings, PositionsAreZeroBased)
{
    EXPECT_EQ(Pos("b", "abcb"), 1);
    EXPECT_EQ(Pos("x", "abc"), -1);
    EXPECT_EQ(Pos("", "abc"), -1);
    EXPECT_EQ(PosEx("b", "abcb", 2), 3);
    EXPECT_EQ(PosEx("b", "abcb", 4), -1);
    EXPECT_EQ(PosEx("b", "abcb", -1), -1);

    EXPECT_EQ(Copy("abcdef", 2, 3), "cde");
    EXPECT_EQ(Copy("abcdef", 4, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 10, 2), "");
    EXPECT_EQ(Copy("abcdef", -1, 3), "ab");
    QString s = "abcdef";
    Delete(s, 1, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, "ade");
    Delete(s, 5, 1);
    EXPECT_EQ(s, "ade");
    Insert("XY", s, 1);
    EXPECT_EQ(s, "aXYde");
    Insert("!", s, 99);
    EXPECT_EQ(s, "aXYde!");
}

TEST(Strings, StringReplaceFlags)
{
    struct {
        const char* s;
        const char* from;
        const char* to;
        TReplaceFlags flags;
        const char* expected;
    } const cases[] = {
        { "a-b-c", "-", "+", {}, "a+b-c" },
        { "a-b-c", "-", "+", rfReplaceAll, "a+b+c" },
        { "aXbxc", "x", "_", rfReplaceAll, "aXb_c" },
        { "aXbxc", "x", "_", rfReplaceAll | rfIgnoreCase, "a_b_c" },
        { "aXbxc", "x", "_", rfIgnoreCase, "a_bxc" },
        { "aaa", "aa", "a", rfReplaceAll, "aa" }, // no rescan of replaced text
        { "abc", "", "x", rfReplaceAll, "abc" },
        { "abc", "b", "", rfReplaceAll, "ac" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s << " " << c.from;
}

TEST(Strings, Quoting)
{
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", u'"'), "\"say \"\"hi\"\"\"");
    struct {
        const char* s;
        const char* expected;
    } const cases[] = {
        { "'abc'", "abc" },
        { "'it''s'", "it's" },
        { "''", "" },
        { "abc", "abc" },
        { "'abc", "'abc" }, // unterminated: unchanged
        { "'abc'def", "abc" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsiDequotedStr(c.s, u'\''), c.expected) << c.s;
    EXPECT_EQ(AnsiDequotedStr(QuotedStr("a''b'"), u'\''), "a''b'");
    EXPECT_EQ(StringOfChar(u'-', 3), "---");
    EXPECT_EQ(StringOfChar(u'-', -1), "");
}

TEST(Integers, ToText)
{
    EXPECT_EQ(IntToStr(-12), "-12");
    EXPECT_EQ(IntToStr(std::int64_t(1) << 40), "1099511627776");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1FFFFFFF), "1FFFFFFF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t(-1)), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(std::uint8_t(0xAB), 1), "AB");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(Rounding, RoundIsHalfToEven)
{
    const std::pair<double, std::int64_t> cases[] = {
        { 0.5, 0 },
        { 1.5, 2 },
        { 2.5, 2 },
        { 3.5, 4 },
        { -0.5, 0 },
        { -1.5, -2 },
        { -2.5, -2 },
        { 2.4999, 2 },
        { 2.5001, 3 },
        { -2.6, -3 },
        { 1e300, INT64_MAX },
        { -1e300, INT64_MIN },
    };
    for (auto [x, r] : cases)
        EXPECT_EQ(Round(x), r) << x;
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_DOUBLE_EQ(Frac(-2.25), -0.25);
}

TEST(Rounding, MulDivIsHalfAwayFromZero)
{
    struct {
        int a, b, c, r;
    } const cases[] = {
        { 10, 1, 4, 3 }, // 2.5 -> 3
        { -10, 1, 4, -3 },
        { 10, -1, 4, -3 },
        { -10, -1, -4, -3 },
        { -10, 1, -4, 3 },
        { 6, 1, 4, 2 }, // 1.5 -> 2
        { 7, 1, 4, 2 }, // 1.75
        { 5, 1, 4, 1 }, // 1.25
        { 100, 96, 96, 100 },
        { 2000000000, 3, 2, -1 }, // beyond 32 bits
        { 2000000000, 2, 4, 1000000000 }, // 64-bit intermediate
        { 5, 5, 0, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.r) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Paths, SplitAndJoin)
{
    struct {
        const char* path;
        const char* name;
        const char* filePath;
        const char* dir;
        const char* ext;
    } const cases[] = {
        { "/opt/tool/PROJECTS/P1/ParGen.xml", "ParGen.xml", "/opt/tool/PROJECTS/P1/", "/opt/tool/PROJECTS/P1", ".xml" },
        { "C:\\Tool\\MASTER\\Sim41208.sim", "Sim41208.sim", "C:\\Tool\\MASTER\\", "C:\\Tool\\MASTER", ".sim" },
        { "dir\\sub/file.tar.gz", "file.tar.gz", "dir\\sub/", "dir\\sub", ".gz" },
        { "noext", "noext", "", "", "" },
        { "/a.b/noext", "noext", "/a.b/", "/a.b", "" },
        { "/file", "file", "/", "/", "" },
        { "folder/", "", "folder/", "folder", "" },
        { "", "", "", "", "" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath) << c.path;
        EXPECT_EQ(ExtractFileDir(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("bin/bank1.bin", ".txt"), "bin/bank1.txt");
    EXPECT_EQ(ChangeFileExt("a.b/Mib", ".mib"), "a.b/Mib.mib");
    EXPECT_EQ(ChangeFileExt("x.csv", ""), "x");
    EXPECT_EQ(IncludeTrailingPathDelimiter("PROJECTS"), "PROJECTS/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("PROJECTS/"), "PROJECTS/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("PROJECTS/"), "PROJECTS");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\x\\"), "C:\\x");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("PROJECTS"), "PROJECTS");
    EXPECT_TRUE(IsPathDelimiter("a\\b", 1));
    EXPECT_FALSE(IsPathDelimiter("a/b", 5));
}

} // namespace
