#include "controls/base/ExUtil.h"
#include "controls/base/TextTestSupport.h"
#include "platform/runtime/Classes.h"

#include <gtest/gtest.h>

namespace {

const QString CR(QChar(13));
const QString LF(QChar(10));

TEST(CellText, KindOfCellText)
{
    struct Case {
        QString text;
        bool html;
        int kind;
    } cases[] = {
        { "", true, 0 },
        { "=", false, 3 },
        { "=A1+B1", true, 3 },
        { EncodeWideText("=SUM"), false, 3 },
        { EncodeWideText("abc"), false, 5 },
        { "|\\", false, 5 },
        { "{\\rtf1 x}", true, 2 },
        { "a</b>", true, 1 },
        { "a</b>", false, 0 },
        { "<B>bold", true, 1 },
        { "<b>bold", true, 0 }, // lower-case opening tag without "</"
        { "plain", true, 0 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellTextType(c.text, c.html), c.kind) << c.text.toStdString();
}

TEST(CellText, ClassifiesNumbersWithLocaleSeparators)
{
    LocaleGuard locale(u',', u'.');
    struct Case {
        const char* text;
        int cls;
    } cases[] = {
        { "", 2 },
        { "123", 0 },
        { "-", 0 },
        { "-12", 0 },
        { "1.234,5", 1 },
        { "1.234.567,25", 1 },
        { "1.23.456", 2 }, // thousand separators 3 apart
        { "-1,5e-3", 5 },
        { "1e5", 5 },
        { "--1", 2 },
        { "1,2,3", 2 },
        { "1-2", 2 },
        { "e5", 2 },
        { "1e", 2 },
        { "1e-", 2 },
        { "1.234e5", 2 }, // no thousand separator in the exponent form
        { "12a", 2 },
        { "Transmitter 00042", 2 },
        { "x1e5", 2 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyCellNumber(c.text), c.cls) << c.text;
}

TEST(CellText, UnformatsNumberTexts)
{
    LocaleGuard locale(u',', u'.');
    struct Case {
        const char* text;
        const char* plain;
    } cases[] = {
        { "", "" },
        { "(1.234,50 EUR)", "-1234.50" },
        { " (5) ", "-5" },
        { "USD 1.000", "1000" },
        { "-12,5", "-12.5" },
        { "1,5e3", "1.5e3" },
        { "$", "" },
        { "12 kg", "12" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnformatNumberText(c.text), QString(c.plain)) << c.text;
    EXPECT_EQ(NormalizeNumberText("1.234,5"), "1234.5");
}

TEST(CellText, LineBreakConversions)
{
    QString s = "a~b";
    TildeToLineBreaks(s);
    EXPECT_EQ(s, "a\r\nb");
    LineBreaksToTilde(s);
    EXPECT_EQ(s, "a~b");
    s = "^";
    TildeToLineBreaks(s);
    EXPECT_EQ(s, "");

    s = "a\r\nb";
    QuoteMultiLineText(s);
    EXPECT_EQ(s, "\"a\vb\"");
    VTabToCRLF(s);
    EXPECT_EQ(s, "\"a\r\nb\"");
    CRLFToLF(s);
    EXPECT_EQ(s, "\"a\nb\"");

    EXPECT_EQ(LineBreaksToHTML("a\rb\nc"), "a<br>b\nc");
    EXPECT_EQ(EscapedLineBreaksToCR("a\\nb\\n"), "a\rb\r");
    EXPECT_EQ(CRToEscapedLineBreaks("a\r\nb"), "a\\nb");
    EXPECT_EQ(RemoveCR("a\r\nb\r"), "a\nb");
    EXPECT_EQ(CRToLF("a\r\nb"), "a\n\nb");
    EXPECT_EQ(CountLines("a\rb\rc", true), 3);
    EXPECT_EQ(CountLines("a\rb\rc", false), 1);
}

TEST(CellText, ExtractFirstLine)
{
    struct Case {
        QString text;
        bool keepRest;
        QString line;
        QString rest;
    } cases[] = {
        { "ab\r\ncd", true, "ab", "cd" },
        { "ab\r\ncd", false, "ab", "" },
        { "ab\rcd\r\nef", true, "ab", "cd\r\nef" },
        { "abc", true, "abc", "" },
        { "", true, "", "" },
    };
    for (Case c : cases) {
        QString text = c.text;
        EXPECT_EQ(ExtractFirstLine(text, c.keepRest), c.line) << c.text.toStdString();
        EXPECT_EQ(text, c.rest) << c.text.toStdString();
    }
}

TEST(CellText, ControlCharactersKeepACellOnOneLine)
{
    // A lone LF, as this platform's editors produce, must survive too.
    const QString texts[] = { "a\r\nb", "a\nb\nc", "a\rb", QString("x") + QChar(0) + "y\r\nz" };
    for (const QString& t : texts) {
        const QString encoded = EncodeControlChars(t);
        EXPECT_FALSE(encoded.contains(CR) || encoded.contains(LF)) << t.toStdString();
        EXPECT_FALSE(encoded.contains(QChar(0)));
        if (t.contains(LF)) {
            EXPECT_EQ(DecodeControlChars(encoded, true), t) << t.toStdString();
        }
    }
    EXPECT_EQ(EncodeControlChars("a\r\nb"), QString("a") + QChar(9) + QChar(8) + "b");
    EXPECT_EQ(DecodeControlChars(EncodeControlChars("first\r\nsecond"), false), "first");
    // Without a line break a tab stays a tab both ways.
    EXPECT_EQ(EncodeControlChars("a\tb"), "a\tb");
    EXPECT_EQ(DecodeControlChars("a\tb", true), "a\tb");
}

TEST(CellText, ControlCharacterEncodingGivesEveryTextBack)
{
    const QChar tab(9), bs(8), one(1), two(2), nul(0);
    const QString texts[] = {
        "a\rb", // a lone CR
        QString("a\r\nb") + tab + "c", // a TAB in a multi-line text
        QString("a\r\nb") + one + "c", // character 1 in a multi-line text
        QString("a") + bs + "b", // character 8 without a line break
        QString("x") + two + "y\r\n" + two + bs + two + "8",
        QString("tab") + tab + "only",
        QString("a\r\n") + nul + "\n\r",
        "plain",
        "",
    };
    for (const QString& t : texts) {
        const QString encoded = EncodeControlChars(t);
        EXPECT_FALSE(encoded.contains(CR) || encoded.contains(LF) || encoded.contains(nul)) << t.toStdString();
        EXPECT_EQ(DecodeControlChars(encoded, true), t) << t.toStdString();
    }
    // The usual multi-line text is written as before.
    EXPECT_EQ(EncodeControlChars(QString("a\r\nb") + nul), QString("a") + tab + bs + "b" + one);
    EXPECT_EQ(DecodeControlChars(QString("a") + tab + bs + "b" + one, true), QString("a\r\nb") + nul);
}

TEST(CellText, QuotesAndUnpairedCharacters)
{
    EXPECT_EQ(DoubleQuoteChars("a\"b"), "a\"\"b");
    EXPECT_EQ(RemoveDoubledChar(u'"', "a\"\"b\"\"\"c"), "a\"b\"\"c");

    struct Case {
        const char* text;
        int pos;
    } cases[] = {
        { "abc", -1 },
        { "a\"b", 1 },
        { "a\"\"b\"c", 4 }, // the doubled quote is skipped
        { "ab\"\"", 3 }, // a run at the end closes the text
        { "\"", 0 },
        { "\"\"\"x", 2 },
    };
    for (const Case& c : cases) {
        int pos = 99;
        EXPECT_EQ(FindUnpairedChar(u'"', c.text, pos), c.pos) << c.text;
        EXPECT_EQ(pos, c.pos < 0 ? 99 : c.pos) << c.text;
    }
    EXPECT_EQ(CountUnpairedChars(u'"', "\"a\"\"b\",\"c\""), 4);
    EXPECT_EQ(CountUnpairedChars(u'"', "a\"\"b"), 0);
    // A long import line full of quoted fields is counted in one pass.
    EXPECT_EQ(CountUnpairedChars(u'"', QString("\"a\",").repeated(200000)), 400000);
    EXPECT_EQ(CountChar(u'a', "banana"), 3);
}

TEST(CellText, SmallTextFunctions)
{
    QString s = "a,b,c";
    EXPECT_EQ(ExtractToDelimiter(s, ","), "a");
    EXPECT_EQ(s, "b,c");
    s = "abc";
    EXPECT_EQ(ExtractToDelimiter(s, ","), "");
    EXPECT_EQ(s, "abc");

    s = "abc";
    FillStringChar(s, u'*');
    EXPECT_EQ(s, "***");
    EXPECT_EQ(ConcatStrings(QStringList { "a", "b", "c" }), "abc");

    EXPECT_EQ(PosInUpperCase("<BLI", "x<bli>y"), 1);
    EXPECT_EQ(PosInUpperCase("<BLI", "none"), -1);
    int pos = 7;
    EXPECT_EQ(VarPos("c", "abc", pos), 2);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(VarPos("z", "abc", pos), -1);
    EXPECT_EQ(pos, -1);
    pos = 7;
    EXPECT_EQ(FindCharPos(u'z', "abc", pos), -1);
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(CharPos(u'b', "abc"), 1);
    EXPECT_EQ(WidePos(QString::fromUtf8("語"), QString::fromUtf8("日本語")), 2);

    EXPECT_EQ(IntMax(3, -4), 3);
    EXPECT_EQ(IntMin(3, -4), -4);
    EXPECT_TRUE(CellInGridRect(TRect(1, 1, 3, 4), 3, 4));
    EXPECT_FALSE(CellInGridRect(TRect(1, 1, 3, 4), 4, 4));
}

TEST(CellText, ClampToLimits)
{
    struct Case {
        int value, lower, upper, result;
    } cases[] = {
        { 5, 0, 0, 5 }, { 7, 7, 7, 7 }, { 15, 1, 10, 10 }, { 0, 1, 10, 1 },
        { -5, 0, 10, -5 }, // a bound of 0 is not applied
        { 50, 0, -1, 50 }, { 3, 5, 5, 3 }, // equal bounds: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampToLimits(c.value, c.lower, c.upper), c.result) << c.value << " " << c.lower << " " << c.upper;
}

TEST(CellText, ParseRowColRef)
{
    TPoint p;
    EXPECT_TRUE(ParseRowColRef("r12c3", p));
    EXPECT_EQ(p, TPoint(3, 12));
    for (const char* bad : { "R1C", "RC1", "R1X2", "R1", "RxC2", "R-1C2", "C1R2" }) {
        TPoint q(-7, -7);
        EXPECT_FALSE(ParseRowColRef(bad, q)) << bad;
        EXPECT_EQ(q, TPoint(-7, -7)) << bad;
    }
}

TEST(CellText, CapitalizeName)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        { "mcdonald old mcdonald iii", "McDonald Old Mcdonald III" },
        { "old Mcdonald", "Old McDonald" },
        { "o'neil-smith", "O'Neil-Smith" },
        { "JOHN DOE", "John Doe" },
        { "louis ii", "Louis II" },
        { "", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapitalizeName(c.in), QString(c.out)) << c.in;
}

TEST(CellText, Links)
{
    EXPECT_TRUE(IsURL("see http://x.org"));
    EXPECT_TRUE(IsURL("mailto:a@b.c"));
    EXPECT_FALSE(IsURL("www.x.org"));
    QString s = "http://x.org/a";
    StripURLProtocol(s);
    EXPECT_EQ(s, "x.org/a");
    s = "mailto:a@b.c";
    StripURLProtocol(s);
    EXPECT_EQ(s, "a@b.c");

    QString r = "untouched";
    EXPECT_EQ(TextToHTML("no link <here>", "HTTP://", r), 0);
    EXPECT_EQ(r, "untouched");
    EXPECT_EQ(TextToHTML("<go> Http://x.org/a_b?q=1 now", "HTTP://", r), 1);
    EXPECT_EQ(r, "&lt;go&gt; <a href=\"Http://x.org/a_b\">Http://x.org/a_b</a>?q=1 now");
}

TEST(CellText, AnsiOemRoundTrip)
{
    QString s = QString::fromUtf8("é");
    AnsiToOemText(s);
    // é is byte 0x82 in code page 437, which is "‚" in Windows-1252.
    EXPECT_EQ(s, QString(QChar(0x201A)));
    OemToAnsiText(s);
    EXPECT_EQ(s, QString::fromUtf8("é"));

    const QString text = QString::fromUtf8("Größe Ü ½ plain");
    s = text;
    AnsiToOemText(s);
    OemToAnsiText(s);
    EXPECT_EQ(s, text);
}

} // namespace
