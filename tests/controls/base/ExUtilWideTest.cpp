#include "controls/base/ExUtil.h"
#include "controls/base/TextTestSupport.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(WideCellText, EncodesHighThenLowByte)
{
    const QString encoded = EncodeWideText(QString(QChar(0x263A)));
    EXPECT_EQ(encoded, QString("|\\") + QChar(0x26) + QChar(0x3A));
    EXPECT_EQ(DecodeWideText(encoded), QString(QChar(0x263A)));
    EXPECT_EQ(EncodeWideText(""), "|\\");
}

TEST(WideCellText, RoundTripsAnyText)
{
    const QString texts[] = {
        "",
        "plain",
        QString::fromUtf8("Ωμέγα"),
        QString::fromUtf8("日本語テキスト"),
        QString::fromUtf8("emoji 😀 pair"),
        QString("nul") + QChar(0) + "inside",
        QString::fromUtf8("|\\ already marked"),
    };
    for (const QString& t : texts) {
        const QString encoded = EncodeWideText(t);
        EXPECT_EQ(encoded.length(), 2 + 2 * t.length());
        for (QChar c : encoded)
            EXPECT_LE(c.unicode(), 255);
        EXPECT_EQ(DecodeWideText(encoded), t) << t.toStdString();
    }
}

TEST(WideCellText, DecodingOtherTexts)
{
    EXPECT_EQ(DecodeWideText("not encoded"), "not encoded");
    // A trailing unpaired character is dropped.
    EXPECT_EQ(DecodeWideText(QString("|\\") + QChar(0) + "AB"), "A");
    // Characters above 255 in a stored pair keep to 16 bits.
    EXPECT_EQ(DecodeWideText(QString("|\\") + QChar(0x1FF) + QChar(0x02)).at(0).unicode(), 0xFF02);
}

struct Offsets {
    int startHtml, endHtml, startFragment, endFragment;
};

Offsets ReadOffsets(const QString& block)
{
    auto read = [&](const char* key) {
        const QRegularExpression re(QString(key) + ":(\\d{8})\\r\\n");
        const auto m = re.match(block);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return { read("StartHTML"), read("EndHTML"), read("StartFragment"), read("EndFragment") };
}

TEST(HtmlClipboard, OffsetsPointAtTheirParts)
{
    for (const QString& fragment : { QString(), QString("<b>x</b>"), QString("<table><tr><td>1</td></tr></table>") }) {
        QString block = fragment;
        WriteHTMLClipboardFragment(block);
        ASSERT_TRUE(block.startsWith("Version:1.0\r\n"));
        const Offsets o = ReadOffsets(block);
        EXPECT_EQ(o.startHtml, 97);
        EXPECT_EQ(o.startFragment, 274);
        EXPECT_EQ(o.endFragment, 274 + fragment.length());
        EXPECT_EQ(o.endHtml, 306 + fragment.length());
        EXPECT_EQ(block.length(), o.endHtml);
        EXPECT_TRUE(block.mid(o.startHtml).startsWith("<!DOCTYPE HTML PUBLIC"));
        EXPECT_EQ(block.indexOf("<html>"), 159);
        EXPECT_TRUE(block.left(o.startFragment).endsWith("<!--StartFragment-->"));
        EXPECT_EQ(block.mid(o.startFragment, o.endFragment - o.startFragment), fragment);
        EXPECT_EQ(block.mid(o.endFragment), "<!--EndFragment--></body></html>");
    }
    QString empty;
    WriteHTMLClipboardFragment(empty);
    EXPECT_TRUE(empty.contains("EndHTML:00000306\r\n"));
    EXPECT_TRUE(empty.contains("EndFragment:00000274\r\n"));
}

TEST(HtmlClipboard, TextBeyondLatin1StaysIntactAndOneBytePerCharacter)
{
    QString block = QString::fromUtf8("<td>日本 😀 é</td>");
    WriteHTMLClipboardFragment(block);
    for (QChar c : block)
        ASSERT_LE(c.unicode(), 255);
    const Offsets o = ReadOffsets(block);
    EXPECT_EQ(block.mid(o.startFragment, o.endFragment - o.startFragment),
        QString::fromUtf8("<td>&#26085;&#26412; &#128512; é</td>"));
    EXPECT_EQ(block.length(), o.endHtml);
}

} // namespace
