#include "controls/base/EsgHTMLE.h"
#include "controls/base/TextTestSupport.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* s)
{
    return QString::fromUtf8(s);
}

TEST(MarkupEntities, Decode)
{
    struct Case {
        QString in;
        bool named;
        QString out;
    } cases[] = {
        { "&Eacute;t&eacute;", true, U("Été") },
        { "&Eacute;t&eacute;", false, "&Eacute;t&eacute;" },
        { "&atilde;", true, "&atilde;" }, // not in the table
        { "&lt;b&gt; &quot;x&quot;", false, "<b> \"x\"" },
        { "&amp;lt;", false, "&lt;" },
        { "&amp;amp;", false, "&amp;" }, // decoded once
        { "&amp;eacute;", true, "&eacute;" },
        { "&euro;&copy;&laquo;&raquo;", true, U("€©«»") },
        { "a & b &", true, "a & b &" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeHTMLEntities(c.in, c.named), c.out) << c.in.toStdString();
}

TEST(MarkupEntities, EncodeAndRoundTrip)
{
    EXPECT_EQ(EncodeHTMLEntities(U("<b> & é"), true), "&lt;b&gt; &amp; &eacute;");
    EXPECT_EQ(EncodeHTMLEntities(U("<b> & é"), false), U("&lt;b&gt; &amp; é"));
    EXPECT_EQ(EncodeHTMLEntities("&amp;", false), "&amp;amp;");
    for (const QString& t : { U("plain"), U("&amp; literal"), U("€ © «x» ÅØå"), U("\"q\" <tag>"), U("&&;;") })
        for (bool named : { false, true })
            EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(t, named), named), t) << t.toStdString();
    EXPECT_EQ(SpacesToNbsp("a b  c"), "a&nbsp;b&nbsp;&nbsp;c");
}

TEST(MarkupColors, NamesAndHex)
{
    struct NameCase {
        const char* name;
        std::uint32_t value;
    } names[] = {
        { "clred", 0x0000FF },
        { "clnavy", 0x800000 },
        { "cl3ddkshadow", 0xFF000015 },
        { "clinfobk", 0xFF000018 },
        { "clbtnface", 0xFF00000F },
        { "clblack", 0 },
        { "clRed", 0 }, // names are compared in lower case only
        { "nonsense", 0 },
    };
    for (const NameCase& c : names)
        EXPECT_EQ(HTMLColorFromName(c.name), TColorOf(c.value)) << c.name;

    struct HexCase {
        const char* text;
        std::uint32_t value;
    } hex[] = {
        { "#FF8000", 0x0080FF }, { "#ff8000", 0x0080FF }, { "#000001", 0x010000 }, { "#12", 0x000012 }, { "", 0 },
        { "#ZZZZZZ", 0 }, // bad digits cannot reach the system-colour byte
    };
    for (const HexCase& c : hex)
        EXPECT_EQ(HTMLColorFromHex(c.text), TColorOf(c.value)) << c.text;
}

TEST(MarkupText, StripTags)
{
    struct Case {
        QString in;
        QString out;
    } cases[] = {
        { "a<BR>b<i>c</i>", "a\r\nbc" },
        { "a<br>b<Hr>c", "a\r\nb\r\nc" },
        { "a<b", "a<b" }, // no closing ">": left as it is
        { "5 > 3 <b>x</b>", "5 > 3 x" }, // a stray ">" before the first tag
        { "<font color=\"clred\">red</font> text", "red text" },
        { "", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripHTMLTags(c.in), c.out) << c.in.toStdString();
}

TEST(MarkupText, Highlight)
{
    struct Case {
        QString text;
        QString search;
        bool caseSensitive;
        QString out;
    } cases[] = {
        { "abab", "ab", true, "<HI>ab</HI><HI>ab</HI>" },
        { "xabx", "ab", true, "x<HI>ab</HI>x" },
        // A hit straddling a tag: start before the hit, end after its last visible character.
        { "a<b>bc</b>", "ab", true, "<HI>a<b>b</HI>c</b>" },
        { "x<b>ab</b>", "ab", true, "x<HI><b>ab</b></HI>" },
        { "ABab", "ab", false, "<HI>AB</HI><HI>ab</HI>" },
        { "ABab", "ab", true, "AB<HI>ab</HI>" },
        { "abc", "zz", true, "abc" },
        { "abc", "", true, "abc" },
        // Visible "<" would read as a tag: the text is highlighted escaped.
        { "a<b", "a", true, "<HI>a</HI>&lt;b" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(HighlightHTMLText(c.text, c.search, "HI", c.caseSensitive), c.out) << c.text.toStdString();

    for (const QString& t : { QString("abab"), QString("x<b>ab</b>y"), QString("a<b>bc</b>ab") })
        EXPECT_EQ(UnhighlightHTMLText(HighlightHTMLText(t, "ab", "HI", true), "HI"), t) << t.toStdString();
    EXPECT_EQ(UnhighlightHTMLText("<hi>x</HI> &lt;y&gt;", "hi"), "x <y>");
    EXPECT_EQ(UnhighlightHTMLText("<<E>E>z</E>", "e"), "z");
}

const QString kForm = "Name: <CONTROL TYPE=\"EDIT\" ID=\"n1\" WIDTH=\"80\" VALUE=\"Bob &amp; Co\" MAXLEN=\"12px\">"
                      " Agree: <CONTROL TYPE=\"CHECK\" ID=\"c1\" WIDTH=\"16\" VALUE=\"TRUE\">"
                      " City: <control type=\"combo\" id=\"cb\" width=\"60\" value=\"\" prop=\"a&lt;b\" "
                      "height=\"20\"> end";

TEST(MarkupControls, ReadTags)
{
    EXPECT_TRUE(HasHTMLControls(kForm));
    EXPECT_FALSE(HasHTMLControls("<b>no controls</b>"));

    QString type = "x", id = "x", maxLen = "x", prop = "x", height = "x", width = "x", value = "x";
    ParseHTMLControlTag("<control type=\"combo\" id=\"cb\" prop=\"&eacute;\" width=\"60\">", type, id, maxLen, prop,
        height, width, value);
    EXPECT_EQ(type, "COMBO");
    EXPECT_EQ(id, "cb");
    EXPECT_EQ(maxLen, "");
    EXPECT_EQ(prop, U("é"));
    EXPECT_EQ(height, "");
    EXPECT_EQ(width, "60");
    EXPECT_EQ(value, "");

    EXPECT_EQ(GetNextHTMLControlID(kForm, ""), "n1");
    EXPECT_EQ(GetNextHTMLControlID(kForm, "n1"), "cb"); // the check box is skipped
    EXPECT_EQ(GetNextHTMLControlID(kForm, "cb"), ""); // no wrap-around
    EXPECT_EQ(GetNextHTMLControlID(kForm, "unknown"), "");

    value = "kept";
    EXPECT_TRUE(GetHTMLControlValue(kForm, "n1", value));
    EXPECT_EQ(value, "Bob & Co");
    value = "kept";
    EXPECT_FALSE(GetHTMLControlValue(kForm, "zz", value));
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(GetHTMLControlProp(kForm, "cb"), "a<b");
    EXPECT_EQ(GetHTMLControlProp(kForm, "zz"), "");
    EXPECT_EQ(GetHTMLControlMaxLen(kForm, "n1"), 12);
    EXPECT_EQ(GetHTMLControlMaxLen(kForm, "cb"), 0);
    EXPECT_EQ(GetHTMLControlMaxLen(kForm, "zz"), 0);
}

TEST(MarkupControls, SetValueRewritesOnlyThatTag)
{
    QString form = kForm;
    ASSERT_TRUE(SetHTMLControlValue(form, "cb", "x<y"));
    EXPECT_EQ(form,
        "Name: <CONTROL TYPE=\"EDIT\" ID=\"n1\" WIDTH=\"80\" VALUE=\"Bob &amp; Co\" MAXLEN=\"12px\">"
        " Agree: <CONTROL TYPE=\"CHECK\" ID=\"c1\" WIDTH=\"16\" VALUE=\"TRUE\">"
        " City: <CONTROL ID=\"cb\" VALUE=\"x&lt;y\" WIDTH=\"60\" TYPE=\"COMBO\" PROP=\"a&lt;b\" HEIGHT=\"20\"> end");
    QString value;
    EXPECT_TRUE(GetHTMLControlValue(form, "cb", value));
    EXPECT_EQ(value, "x<y");

    ASSERT_TRUE(SetHTMLControlValue(form, "n1", U("Zoë")));
    EXPECT_TRUE(form.startsWith(
        "Name: <CONTROL ID=\"n1\" VALUE=\"Zo&euml;\" WIDTH=\"80\" TYPE=\"EDIT\" MAXLEN=\"12px\"> Agree:"));

    // An unknown ID leaves the text exactly as it was.
    const QString before = form;
    EXPECT_FALSE(SetHTMLControlValue(form, "zz", "v"));
    EXPECT_EQ(form, before);
}

TEST(MarkupControls, ClearRadioControls)
{
    const QString text = "<CONTROL TYPE=\"RADIO\" ID=\"r1\" WIDTH=\"16\" VALUE=\"TRUE\">"
                         "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"40\" VALUE=\"TRUE\">"
                         "<control type=\"radio\" id=\"r2\" width=\"16\" value=\"true\">";
    const QString cleared = ClearHTMLRadioControls(text);
    QString value;
    for (const char* id : { "r1", "r2" }) {
        EXPECT_TRUE(GetHTMLControlValue(cleared, id, value));
        EXPECT_EQ(value, "FALSE") << id;
    }
    EXPECT_TRUE(GetHTMLControlValue(cleared, "e", value));
    EXPECT_EQ(value, "TRUE");
}

} // namespace
