#include "platform/runtime/XmlDom.h"

#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/runtime/FileUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStringConverter>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

using testutil::ReadFile;
using testutil::WriteFile;

// An element with `count` attributes a0="0" a1="1" ...
QByteArray ElementWithAttributes(const char* name, int count)
{
    QByteArray xml = QByteArray("<") + name;
    for (int i = 0; i < count; ++i)
        xml += " a" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + "\"";
    return xml + "/>";
}

} // namespace

// The shape every project file has: root, children with text, then the version
// comment after the root at document level; written on one line, no declaration.
TEST(XmlDom, BuildsProjectFileByteForByte)
{
    TXmlDocument doc;
    TXmlNode root = doc.AddChild("Par_Gen");
    doc.AddComment("SW_VERSION = 1.102");
    root.AddChild("Eth_Conn_Device_Name").SetText("Plant A");
    root.AddChild("Eth_Conn_DHCP_Cable").SetText("0");
    root.AddChild("Web_Pages_User").SetText("");
    TXmlNode table = root.AddChild("HART_Variables");
    TXmlNode row = table.AddChild("row");
    row.SetAttribute("Enable", "Y");
    row.SetAttribute("Address", "");

    const QString expected = "<Par_Gen><Eth_Conn_Device_Name>Plant A</Eth_Conn_Device_Name>"
                             "<Eth_Conn_DHCP_Cable>0</Eth_Conn_DHCP_Cable><Web_Pages_User/>"
                             "<HART_Variables><row Enable=\"Y\" Address=\"\"/></HART_Variables></Par_Gen>"
                             "<!--SW_VERSION = 1.102-->";
    EXPECT_EQ(doc.SaveToString(), expected);

    const QString path = testutil::TempDir() + "/ParGen.xml";
    QString error;
    ASSERT_TRUE(doc.SaveToFile(path, &error)) << error.toStdString();
    EXPECT_EQ(ReadFile(path), expected.toUtf8());

    TXmlDocument back;
    ASSERT_TRUE(back.LoadFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(back.SaveToString(), expected);
    TXmlNode first = back.FirstNode();
    EXPECT_EQ(first.NodeName(), "Par_Gen");
    EXPECT_EQ(first.NextSibling().NodeType(), TXmlNodeType::ntComment);
    EXPECT_EQ(first.NextSibling().Text(), "SW_VERSION = 1.102");
    EXPECT_EQ(first.FindChild("Eth_Conn_Device_Name").Text(), "Plant A");
    // Present but empty is an empty text, not a missing element.
    EXPECT_FALSE(first.FindChild("Web_Pages_User").IsNull());
    EXPECT_EQ(first.FindChild("Web_Pages_User").Text(), "");
    EXPECT_TRUE(first.FindChild("Ethernet_IP1").IsNull());
    EXPECT_EQ(first.FindChild("Ethernet_IP1").Text(), "");
}

// Readers take the document's first node as the root: a declaration or comment
// in front of the root element is that node.
TEST(XmlDom, FirstNodeIsWhateverComesFirst)
{
    struct Case {
        const char* xml;
        TXmlNodeType firstType;
        const char* firstName;
    };
    const Case cases[] = {
        { "<Conf_Settings><lastlang><language>Italiano</language></lastlang></Conf_Settings>", TXmlNodeType::ntElement,
            "Conf_Settings" },
        { "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Conf_Settings/>", TXmlNodeType::ntDeclaration, "xml" },
        { "<!-- saved by hand -->\n<Conf_Settings/>", TXmlNodeType::ntComment, "#comment" },
        { "<?style sheet?><Conf_Settings/>", TXmlNodeType::ntProcessingInstruction, "style" },
        { "<!DOCTYPE Conf_Settings><Conf_Settings/>", TXmlNodeType::ntDocType, "#doctype" },
        { "\n\n  <Conf_Settings/>\n<!--SW_VERSION = 1.000-->\n", TXmlNodeType::ntElement, "Conf_Settings" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        TXmlDocument doc;
        QString error;
        ASSERT_TRUE(doc.LoadFromString(c.xml, &error)) << error.toStdString();
        EXPECT_EQ(doc.FirstNode().NodeType(), c.firstType);
        EXPECT_EQ(doc.FirstNode().NodeName(), c.firstName);
        EXPECT_EQ(doc.DocumentElement().NodeName(), "Conf_Settings");
        // A reader that looks up its items under a first node that is not the
        // root finds nothing, and must not crash doing so.
        if (c.firstType != TXmlNodeType::ntElement) {
            EXPECT_TRUE(doc.FirstNode().FindChild("lastlang").FindChild("language").IsNull());
        }
    }
}

TEST(XmlDom, MalformedOrMissingInputIsAReportedFailure)
{
    const char* bad[] = {
        "",
        "   \n",
        "<Par_Gen><a>1</a>",
        "<Par_Gen><a>1</b></Par_Gen>",
        "<Par_Gen a=\"1\" a=\"2\"/>",
        "<a/><b/>",
        "text<a/>",
        "<a/><![CDATA[ ]]>",
        "<!-- only a comment -->",
        "<a x=1/>",
        "\xff\xfe<\x00",
    };
    for (const char* xml : bad) {
        SCOPED_TRACE(xml);
        TXmlDocument doc;
        doc.AddChild("stale");
        QString error;
        EXPECT_FALSE(doc.LoadFromBytes(QByteArray(xml), &error));
        EXPECT_FALSE(error.isEmpty());
        // A failed load leaves nothing half-read behind.
        EXPECT_TRUE(doc.FirstNode().IsNull());
        EXPECT_TRUE(doc.DocumentElement().IsNull());
    }

    // The same holds for an element with many attributes; elements that share
    // names among them are fine.
    QByteArray many = ElementWithAttributes("row", 40);
    many.insert(many.size() - 2, " a0=\"again\"");
    EXPECT_FALSE(TXmlDocument().LoadFromBytes("<t>" + many + "</t>"));
    const QByteArray rows = ElementWithAttributes("row", 40);
    TXmlDocument table;
    ASSERT_TRUE(table.LoadFromBytes("<t>" + rows + rows + "</t>"));
    EXPECT_EQ(table.DocumentElement().Child(1).AttributeValue(39), "39");
    // Around the sizes at which the table of names grows, the last name
    // repeating an earlier one is caught; every element of a long table is
    // checked on its own.
    for (int count : { 2, 31, 32, 33, 64, 65, 300 }) {
        SCOPED_TRACE(count);
        const QByteArray row = ElementWithAttributes("row", count);
        QByteArray repeated = row;
        repeated.insert(repeated.size() - 2, " a" + QByteArray::number(count / 2) + "=\"again\"");
        EXPECT_FALSE(TXmlDocument().LoadFromBytes("<t>" + row.repeated(3) + repeated + "</t>"));
        EXPECT_TRUE(TXmlDocument().LoadFromBytes("<t>" + row.repeated(4) + "</t>"));
    }

    const QString dir = testutil::TempDir();
    TXmlDocument doc;
    QString error;
    EXPECT_FALSE(doc.LoadFromFile(dir + "/Missing.xml", &error));
    EXPECT_TRUE(error.contains("Missing.xml"));

    WriteFile(dir + "/Broken.xml", "<Conf_Settings>\n<lastproj>\n</Conf_Settings>");
    EXPECT_FALSE(doc.LoadFromFile(dir + "/Broken.xml", &error));
    EXPECT_TRUE(error.contains("line 3")) << error.toStdString();

    EXPECT_FALSE(doc.SaveToFile(dir + "/no/such/folder/x.xml", &error));
    EXPECT_FALSE(error.isEmpty());
}

#ifdef Q_OS_UNIX
// A FIFO or device in place of the settings file must not stall the start, nor
// may a huge file fill memory: each is a failed load with its reason.
TEST(XmlDom, LoadsRegularFilesUpToTheReadLimitOnly)
{
    const QString dir = testutil::TempDir();
    testutil::MakeFifo(dir + "/Morvantile.xml");
    WriteFile(dir + "/ParGen.xml", "<Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>");
    struct Case {
        QString path;
        qint64 limit;
        const char* reason;
    };
    const Case cases[] = {
        { dir + "/Morvantile.xml", FileReadLimit(), "Not a regular file" },
        { "/dev/zero", FileReadLimit(), "Not a regular file" },
        { dir + "/ParGen.xml", 20, "too large" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        TXmlDocument doc;
        doc.AddChild("stale");
        QString error;
        testutil::ReadLimit limit(c.limit);
        EXPECT_FALSE(doc.LoadFromFile(c.path, &error));
        EXPECT_TRUE(error.contains(c.path) && error.contains(c.reason)) << error.toStdString();
        EXPECT_TRUE(doc.FirstNode().IsNull());
    }
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(dir + "/ParGen.xml"));
    EXPECT_EQ(doc.DocumentElement().FindChild("Ethernet_IP1").Text(), "10");
}

// On a full disk the save fails, says so, and the previous file stays whole,
// for a settings file small enough to sit in the write buffer too.
TEST(XmlDom, FailedSaveKeepsThePreviousFile)
{
    const QString path = testutil::TempDir() + "/Morvantile.xml";
    const QByteArray previous = "<Conf_Settings><lastlang><language>Italiano</language></lastlang></Conf_Settings>";
    WriteFile(path, previous);
    TXmlDocument doc;
    doc.AddChild("Conf_Settings").AddChild("lastproj").AddChild("projectname").SetText("P1");
    QString error;
    bool saved = true;
    {
        testutil::FileSizeLimit full(0);
        saved = doc.SaveToFile(path, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_EQ(ReadFile(path), previous);
}
#endif

TEST(XmlDom, SaveReplacesFileWhole)
{
    const QString path = testutil::TempDir() + "/Morvantile.xml";
    WriteFile(path, QByteArray(4096, 'x'));
    TXmlDocument doc;
    doc.AddChild("Conf_Settings").AddChild("lastproj").AddChild("projectname").SetText("P1");
    ASSERT_TRUE(doc.SaveToFile(path));
    EXPECT_EQ(ReadFile(path), "<Conf_Settings><lastproj><projectname>P1</projectname></lastproj></Conf_Settings>");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files).size(), 1);
}

// Cell texts are stored as typed: every character must come back unchanged from
// both element text and attributes.
TEST(XmlDom, SpecialCharactersSurviveSaveAndLoad)
{
    const QString texts[] = {
        "a<b>&c\"d'e",
        " lead and trail ",
        " ",
        "two\nlines",
        "cr\r\nlf",
        "tab\there",
        "\xc3\xa4\xe2\x82\xac \xf0\x9f\x98\x80",
        "]]>",
        "&amp;",
        "--",
        "\xef\xbb\xbfstarts with U+FEFF",
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        TXmlDocument doc;
        TXmlNode root = doc.AddChild("r");
        root.AddChild("e").SetText(text);
        root.AddChild("row").SetAttribute("Mnemonic", text);
        TXmlDocument back;
        QString error;
        ASSERT_TRUE(back.LoadFromString(doc.SaveToString(), &error)) << error.toStdString();
        EXPECT_EQ(back.FirstNode().FindChild("e").Text(), text);
        EXPECT_EQ(back.FirstNode().FindChild("row").Attribute("Mnemonic"), text);
    }
    TXmlDocument doc;
    doc.AddChild("r").SetAttribute("a", "<&\">\n");
    EXPECT_EQ(doc.SaveToString(), "<r a=\"&lt;&amp;&quot;&gt;&#10;\"/>");
}

TEST(XmlDom, AttributesKeepOrderAndTellMissingFromEmpty)
{
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromString("<t><row Enable=\"N\" Tag=\"\" Pos=\"12\"/>text</t>"));
    TXmlNode row = doc.FirstNode().Child(0);
    EXPECT_EQ(row.AttributeCount(), 3);
    EXPECT_EQ(row.AttributeName(0), "Enable");
    EXPECT_EQ(row.AttributeValue(2), "12");
    EXPECT_EQ(row.Attribute("Tag"), QString(""));
    EXPECT_FALSE(row.Attribute("Swap").has_value());
    EXPECT_EQ(row.AttributeOr("Swap", "N"), "N");
    // A child that is not an element has no attributes at all.
    EXPECT_FALSE(doc.FirstNode().Child(1).Attribute("Enable").has_value());
    // Taken together, values come as the file holds them, missing ones as
    // none; a node that is not an element has none at all.
    TXmlDocument utf8;
    ASSERT_TRUE(utf8.LoadFromBytes("<t><row Tag=\"Caf\xC3\xA9\" Enable=\"\" x=\"&lt;\" Enab=\"1\"/>text</t>"));
    const char* const names[] = { "x", "Enable", "Swap", "Tag", "Ena" };
    std::optional<QUtf8StringView> values[5];
    auto expectValues = [&](const TXmlNode& n, std::vector<std::optional<QByteArray>> expected) {
        n.AttributesUtf8(names, values);
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            ASSERT_EQ(values[i].has_value(), expected[i].has_value());
            if (expected[i]) {
                EXPECT_EQ(QByteArray(values[i]->data(), values[i]->size()), *expected[i]);
            }
        }
    };
    expectValues(utf8.FirstNode().Child(0), { "<", "", std::nullopt, "Caf\xC3\xA9", std::nullopt });
    expectValues(utf8.FirstNode().Child(1), { std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt });
    expectValues(TXmlNode(), { std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt });

    // Setting an existing attribute keeps its place; a new one goes last.
    row.SetAttribute("Enable", "Y");
    row.SetAttribute("Alpha", "1");
    EXPECT_TRUE(row.RemoveAttribute("Tag"));
    EXPECT_FALSE(row.RemoveAttribute("Tag"));
    const QList<std::pair<QString, QString>> expected = { { "Enable", "Y" }, { "Pos", "12" }, { "Alpha", "1" } };
    EXPECT_EQ(row.Attributes(), expected);
    EXPECT_EQ(doc.SaveToString(), "<t><row Enable=\"Y\" Pos=\"12\" Alpha=\"1\"/>text</t>");

    // Names that would make the file unreadable are refused.
    EXPECT_FALSE(row.SetAttribute("bad name", "x"));
    EXPECT_FALSE(row.SetAttribute("", "x"));
    EXPECT_TRUE(row.AddChild("1st").IsNull());
}

TEST(XmlDom, WalksEditsAndReadsTextContent)
{
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromString("<a>x<b>y<![CDATA[<z>]]></b><!--c--><row n=\"1\"/><row n=\"2\"/>w</a>"));
    TXmlNode a = doc.DocumentElement();
    EXPECT_EQ(a.Text(), "xy<z>w");
    EXPECT_EQ(a.ChildCount(), 6);
    const TXmlNodeType types[] = { TXmlNodeType::ntText, TXmlNodeType::ntElement, TXmlNodeType::ntComment,
        TXmlNodeType::ntElement, TXmlNodeType::ntElement, TXmlNodeType::ntText };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(a.Child(i).NodeType(), types[i]) << i;
    EXPECT_TRUE(a.Child(6).IsNull());
    EXPECT_TRUE(a.Child(-1).IsNull());
    EXPECT_EQ(a.Child(2).NodeName(), "#comment");
    EXPECT_EQ(a.Child(2).Text(), "c");
    ASSERT_EQ(a.FindChildren("row").size(), 2);
    EXPECT_EQ(a.FindChild("row").Attribute("n"), QString("1"));
    EXPECT_EQ(a.FindChild("row").Parent(), a);

    EXPECT_TRUE(a.RemoveChild(a.FindChild("b")));
    EXPECT_FALSE(a.RemoveChild(doc.DocumentElement()));
    a.FindChild("row").SetText("t");
    EXPECT_EQ(doc.SaveToString(), "<a>x<!--c--><row n=\"1\">t</row><row n=\"2\"/>w</a>");

    // One root element only; no loose text beside it.
    EXPECT_TRUE(doc.AddChild("second").IsNull());
    EXPECT_TRUE(doc.Node().AddText("loose").IsNull());

    // Rebuilding a document from scratch, as every writer does.
    doc.Node().RemoveChildren();
    EXPECT_TRUE(doc.FirstNode().IsNull());
    doc.AddChild("Ethernet_Update").AddChild("Version").SetText("1000");
    EXPECT_EQ(doc.SaveToString(), "<Ethernet_Update><Version>1000</Version></Ethernet_Update>");
    doc.SetActive(false);
    EXPECT_TRUE(doc.FirstNode().IsNull());
    EXPECT_EQ(doc.SaveToString(), "");
}

// Files edited by hand may come with a byte-order mark or another encoding.
TEST(XmlDom, LoadsOtherEncodings)
{
    const QString text = QString::fromUtf8("Fran\xc3\xa7"
                                           "ais");
    auto utf16 = QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QByteArray bytes = utf16(QString("<lastlang><language>%1</language></lastlang>").arg(text));
    TXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes(bytes));
    EXPECT_EQ(doc.FirstNode().FindChild("language").Text(), text);

    ASSERT_TRUE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><l>Fran\xe7"
                                  "ais</l>"));
    EXPECT_EQ(doc.DocumentElement().Text(), text);
    ASSERT_TRUE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"windows-1252\"?><l a=\"\x80\">x</l>"));
    EXPECT_EQ(doc.DocumentElement().Attribute("a"), QString::fromUtf8("\xe2\x82\xac"));
    // Saved as UTF-8, the declaration says so, and it reads back the same.
    EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><l a=\"\xe2\x82\xac\">x</l>");
    ASSERT_TRUE(doc.LoadFromBytes(doc.SaveToBytes()));
    EXPECT_EQ(doc.DocumentElement().Attribute("a"), QString::fromUtf8("\xe2\x82\xac"));
    QString error;
    EXPECT_FALSE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"no-such-code\"?><l/>", &error));
    EXPECT_TRUE(error.contains("no-such-code"));
    // Without a declaration, bytes that are not valid UTF-8 are Windows-1252,
    // while valid UTF-8 sequences keep their meaning, in one file too.
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case bare[] = {
        { "<l a=\"\x80\">Fran\xe7"
          "ais</l>",
            text },
        { "<l a=\"\xe2\x82\xac\">Fran\xc3\xa7"
          "ais</l>",
            text },
        { "<l a=\"\x80\">\xc3\xa7\xe7</l>", QString::fromUtf8("\xc3\xa7\xc3\xa7") },
        { "<?xml version=\"1.0\" encoding=\"UTF-8\"?><l a=\"\x80\">Fran\xe7"
          "ais</l>",
            text },
        { "\xef\xbb\xbf<l a=\"\x80\">Fran\xe7"
          "ais</l>",
            text },
        // Overlong forms, encoded surrogates and a cut sequence are not UTF-8.
        { "<l a=\"\x80\">\xc0\xaf\xed\xa0\x80\xc3</l>",
            QString::fromUtf8("\xc3\x80\xc2\xaf\xc3\xad\xc2\xa0\xe2\x82\xac\xc3\x83") },
    };
    for (const Case& c : bare) {
        SCOPED_TRACE(c.bytes.toStdString());
        QString error;
        ASSERT_TRUE(doc.LoadFromBytes(c.bytes, &error)) << error.toStdString();
        EXPECT_EQ(doc.DocumentElement().Text(), c.text);
        EXPECT_EQ(doc.DocumentElement().Attribute("a"), QString::fromUtf8("\xe2\x82\xac"));
        // Saved as UTF-8, it reads back the same.
        ASSERT_TRUE(doc.LoadFromBytes(doc.SaveToBytes()));
        EXPECT_EQ(doc.DocumentElement().Text(), c.text);
    }
    // A character reference past Unicode or to a surrogate is saved as U+FFFD:
    // the file stays UTF-8 and reads back as it was saved.
    ASSERT_TRUE(doc.LoadFromBytes("<l a=\"1&#1803010;2\">&#xD800;</l>"));
    const QByteArray saved = doc.SaveToBytes();
    EXPECT_EQ(saved,
        "<l a=\"1\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
        "2\">\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD</l>");
    ASSERT_TRUE(doc.LoadFromBytes(saved));
    EXPECT_EQ(doc.SaveToBytes(), saved);
    // Text is already decoded: its declaration does not apply again.
    ASSERT_TRUE(doc.LoadFromString(QString("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><l>%1</l>").arg(text)));
    EXPECT_EQ(doc.DocumentElement().Text(), text);
}
