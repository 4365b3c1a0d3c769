#include <gtest/gtest.h>

#include "platform/controls/Mask.h"

namespace {

struct TextCase {
    const char* mask;
    const char* text; // written to Text
    const char* editText; // expected edit text
    const char* readBack; // expected Text
};

class MaskText : public ::testing::TestWithParam<TextCase> { };

TEST_P(MaskText, TextToEditTextAndBack)
{
    const TextCase& c = GetParam();
    TEditMaskFormat f(QString::fromUtf8(c.mask));
    const QString edit = f.EditTextOf(QString::fromUtf8(c.text));
    EXPECT_EQ(edit, QString::fromUtf8(c.editText));
    EXPECT_EQ(f.TextOf(edit), QString::fromUtf8(c.readBack));
    // Text read back must rebuild the same edit text.
    EXPECT_EQ(f.EditTextOf(f.TextOf(edit)), edit);
}

INSTANTIATE_TEST_SUITE_P(Masks, MaskText,
    ::testing::Values(
        // literals saved: Text carries them, unfilled slots as spaces
        TextCase { "000-0000;1;_", "555-1234", "555-1234", "555-1234" },
        TextCase { "000-0000;1;_", "555", "555-____", "555-    " },
        TextCase { "000-0000", "5551234", "555-1234", "555-1234" }, // default: save
        // literals not saved: Text is the entered characters only
        TextCase { "000-0000;0;_", "5551234", "555-1234", "5551234" },
        TextCase { "000-0000;0;_", "555", "555-____", "555" },
        TextCase { "000-0000;0;_", "555-12", "555-12__", "55512" }, // literal in value matched
        // a literal in the value ends the field before it
        TextCase { "999.999;1;_", "12.5", "12_.5__", "12 .5  " },
        // "!" fills from the right: optional slots become leading blanks
        TextCase { "!999;0;_", "12", "_12", "12" }, TextCase { "999;0;_", "12", "12_", "12" },
        TextCase { "!999.999;1;_", "12.500", "_12.500", " 12.500" },
        TextCase { "!999.999;1;_", "3.141", "__3.141", "  3.141" },
        // case switches
        TextCase { ">LL<ll;0;_", "abCD", "ABcd", "ABcd" }, TextCase { ">L<>L<L;0;_", "aBC", "ABc", "ABc" },
        // blank character
        TextCase { "00:00;1;*", "1", "1*:**", "1 :  " }, TextCase { "ccc;0; ", "x", "x  ", "x" },
        // escaped literals and the literal blank
        TextCase { "\\0\\9-00;0;_", "12", "09-12", "12" }, TextCase { "0_0;1;_", "1 2", "1 2", "1 2" },
        TextCase { "0\\;0;0;_", "12", "1;2", "12" },
        // refused characters leave their slot blank
        TextCase { "aaa;0;_", "a!1", "a_1", "a 1" }, TextCase { "#99;1;_", "-5", "-5_", "-5 " },
        TextCase { "LLL;0;_", "a1b", "a_b", "a b" }));

TEST(Mask, ParsesFieldsAndDirectives)
{
    TEditMaskFormat plain;
    EXPECT_FALSE(plain.IsMasked());
    TEditMaskFormat f("!>999.999;0;*");
    EXPECT_TRUE(f.IsMasked());
    EXPECT_TRUE(f.ReverseFill());
    EXPECT_FALSE(f.SaveLiterals());
    EXPECT_EQ(f.BlankChar(), QChar('*'));
    EXPECT_EQ(f.Length(), 7);
    EXPECT_EQ(f.EmptyEditText(), QString("***.***"));
    TEditMaskFormat d("000");
    EXPECT_TRUE(d.SaveLiterals());
    EXPECT_EQ(d.BlankChar(), QChar('_'));
}

TEST(Mask, RequiredAndOptionalSlots)
{
    struct Case {
        const char* mask;
        const char* editText;
        int firstInvalid;
    } cases[] = {
        { "000", "12_", 2 }, // '0' requires a digit
        { "999", "12_", -1 }, // '9' does not
        { "999", "___", -1 }, { "0L", "1a", -1 }, { "0L", "11", 1 }, // a digit in a letter slot
        { "Aa", "_x", 0 }, { "C-c", "x-_", -1 }, { "C-c", "_-x", 0 }, { "##", "+_", -1 },
        { "0", "", 0 }, // too short counts as blank
    };
    for (const Case& c : cases) {
        TEditMaskFormat f(c.mask);
        EXPECT_EQ(f.FirstInvalid(c.editText), c.firstInvalid) << c.mask << " " << c.editText;
    }
}

TEST(Mask, TypingOverwritesAndSkipsLiterals)
{
    TEditMaskFormat f("000-000;1;_");
    TEditMaskFormat::TEdit e { f.EmptyEditText(), 0, 0 };
    for (QChar c : QString("123456"))
        ASSERT_TRUE(f.TypeChar(e, c));
    EXPECT_EQ(e.editText, QString("123-456"));
    EXPECT_EQ(e.selStart, 7);
    EXPECT_FALSE(f.TypeChar(e, '7')); // mask full

    e.selStart = 1;
    EXPECT_FALSE(f.TypeChar(e, 'x')); // refused by a digit slot, nothing changes
    EXPECT_EQ(e.editText, QString("123-456"));
    EXPECT_TRUE(f.TypeChar(e, '9'));
    EXPECT_EQ(e.editText, QString("193-456"));
    EXPECT_EQ(e.selStart, 2);

    e.selStart = 3; // on the literal: typing it steps over it
    EXPECT_TRUE(f.TypeChar(e, '-'));
    EXPECT_EQ(e.selStart, 4);
    e.selStart = 3; // another character goes to the next input slot
    EXPECT_TRUE(f.TypeChar(e, '0'));
    EXPECT_EQ(e.editText, QString("193-056"));
    EXPECT_EQ(e.selStart, 5);
}

TEST(Mask, BackspaceDeleteAndSelection)
{
    TEditMaskFormat f(">LL-00");
    TEditMaskFormat::TEdit e { "AB-12", 3, 0 };
    f.Backspace(e); // the literal is skipped
    EXPECT_EQ(e.editText, QString("A_-12"));
    EXPECT_EQ(e.selStart, 1);
    f.DeleteChar(e);
    EXPECT_EQ(e.editText, QString("A_-12")); // slot 1 already blank
    e.selStart = 0;
    e.selLength = 5;
    EXPECT_TRUE(f.TypeChar(e, 'z')); // replaces the selection, upper-cased
    EXPECT_EQ(e.editText, QString("Z_-__"));
    e = { "AB-12", 1, 3 };
    f.DeleteChar(e);
    EXPECT_EQ(e.editText, QString("A_-_2"));
    e = { "AB-12", 0, 0 };
    f.Backspace(e); // nothing before the caret
    EXPECT_EQ(e.editText, QString("AB-12"));
}

} // namespace
