#include <gtest/gtest.h>

#include <QProcess>

#include "GridIOSupport.h"
#include "platform/runtime/Exceptions.h"

using namespace gridiotest;

namespace {

QByteArray Crlf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// xmllint on the file: no message at all, and the text of every element
// matched by the path, read by the file's own declaration.
QString XmlLint(const QString& file, const QString& xpath)
{
    QProcess p;
    p.start(QStringLiteral(MORV_XMLLINT), { QStringLiteral("--noout"), file });
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardError(), QByteArray()) << file.toStdString();
    p.start(QStringLiteral(MORV_XMLLINT), { QStringLiteral("--xpath"), xpath, file });
    EXPECT_TRUE(p.waitForFinished(30000));
    QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (out.endsWith(u'\n'))
        out.chop(1);
    return out;
}

} // namespace

TEST(GridXML, WritesTheExampleAndReadsItBack)
{
    auto g = MakeGrid(2, 2);
    Fill(*g, { "a&b|x", "<&lt;>|\"q\"" });
    const QString f = TempFile(QStringLiteral("x.xml"));
    g->SaveToXML(f, QStringLiteral("LIST"), QStringLiteral("ROW"));
    EXPECT_EQ(testutil::ReadFile(f),
        Crlf({ "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>", "<LIST>", "<ROW>", "<FIELD0>a&amp;b</FIELD0>",
            "<FIELD1>x</FIELD1>", "</ROW>", "<ROW>", "<FIELD0>&lt;&amp;lt;&gt;</FIELD0>",
            "<FIELD1>&quot;q&quot;</FIELD1>", "</ROW>", "</LIST>" }));
    EXPECT_EQ(XmlLint(f, QStringLiteral("string(/LIST/ROW[2]/FIELD0)")), QStringLiteral("<&lt;>"));
    auto h = MakeGrid(1, 1);
    h->LoadFromXML(f);
    // The parser's text is taken as it stands: "&lt;" stays.
    EXPECT_EQ(CellsOf(*h), CellsOf(*g));
}

TEST(GridXML, EmptyCellsKeepTheirPlace)
{
    auto g = MakeGrid(4, 1);
    Fill(*g, { "|b||" });
    const QString f = TempFile(QStringLiteral("e.xml"));
    g->SaveToXML(f, QStringLiteral("L"), QStringLiteral("R"));
    EXPECT_TRUE(testutil::ReadFile(f).contains("<R>\r\n<FIELD0>&quot;&quot;</FIELD0>\r\n<FIELD1>b</FIELD1>\r\n</R>"));
    g->SaveToXML(f, QStringLiteral("L"), QStringLiteral("R"), nullptr, true);
    EXPECT_TRUE(testutil::ReadFile(f).contains("<FIELD3>&quot;&quot;</FIELD3>"));
    XmlLint(f, QStringLiteral("string(/L)"));
    auto h = MakeGrid(1, 1);
    h->LoadFromXML(f);
    EXPECT_EQ(CellsOf(*h), QStringList({ "|b||" }));

    // A file that left an empty field out still puts each field in its column.
    testutil::WriteFile(f, "<L><R><FIELD1>b</FIELD1><FIELD3>d</FIELD3></R></L>");
    h->LoadFromXML(f);
    EXPECT_EQ(CellsOf(*h), QStringList({ "|b||d" }));
}

TEST(GridXML, FieldNamesHeadersAttributesAndLevels)
{
    auto g = MakeGrid(2, 2, 0, 1);
    g->SetSaveFixedCells(false);
    Fill(*g, { "h1|h2", "1|2" });
    const QString f = TempFile(QStringLiteral("n.xml"));
    const QStringList names { QStringLiteral("Name"), QStringLiteral("Wert") };
    g->SaveToXML(f, QStringLiteral("L"), QStringLiteral("R"), &names);
    EXPECT_EQ(XmlLint(f, QStringLiteral("string(/L/R/Wert)")), QStringLiteral("2"));
    auto h = MakeGrid(2, 2, 0, 1);
    h->SetSaveFixedRows(true);
    h->LoadFromXML(f, false, true);
    EXPECT_EQ(CellsOf(*h), QStringList({ "Name|Wert", "1|2" }));

    testutil::WriteFile(f, "<L><R id=\"7\" k=\"z\"><a>x</a><b>y</b></R></L>");
    auto a = MakeGrid(1, 2, 0, 1);
    a->SetSaveFixedCells(false);
    a->SetSaveFixedRows(true);
    a->LoadFromXML(f, false, true);
    // Attributes first, in their order, then the child elements.
    EXPECT_EQ(CellsOf(*a), QStringList({ "id|k|a|b", "7|z|x|y" }));

    // Each nesting level starts a row; the level never goes back.
    testutil::WriteFile(f, "<L><G><n>1</n><S><x>a</x><y>b</y></S></G></L>");
    auto l = MakeGrid(1, 1);
    l->SetSaveFixedCells(false);
    l->LoadFromXML(f, true);
    EXPECT_EQ(CellsOf(*l), QStringList({ "1|", "a|b" }));
}

TEST(GridXML, EncodingNamesAndErrors)
{
    auto g = MakeGrid(2, 1);
    Fill(*g, { "\u00e9\u20ac|l1\r\nl2" });
    const QString f = TempFile(QStringLiteral("enc.xml"));
    g->SaveToXML(f, QStringLiteral("L"), QStringLiteral("R"));
    // ISO-8859-1 holds the e acute, not the euro sign.
    EXPECT_TRUE(testutil::ReadFile(f).contains("<FIELD0>\xE9&#8364;</FIELD0>"));
    EXPECT_EQ(XmlLint(f, QStringLiteral("string(/L/R/FIELD0)")), QStringLiteral("\u00e9\u20ac"));
    g->SetXMLEncoding(QStringLiteral("UTF-8"));
    g->SaveToXML(f, QStringLiteral("L"), QStringLiteral("R"));
    XmlLint(f, QStringLiteral("string(/L)"));
    auto h = MakeGrid(1, 1);
    h->LoadFromXML(f);
    EXPECT_EQ(CellsOf(*h), CellsOf(*g));

    const QString bad = TempFile(QStringLiteral("never.xml"));
    for (const QString& name : { QStringLiteral("1x"), QStringLiteral("a b"), QStringLiteral("") }) {
        EXPECT_THROW(g->SaveToXML(bad, name, QStringLiteral("R")), EExGridError) << name.toStdString();
        const QStringList fields { name };
        EXPECT_THROW(g->SaveToXML(bad, QStringLiteral("L"), QStringLiteral("R"), &fields), EExGridError);
    }
    EXPECT_FALSE(FileExists(bad));
    EXPECT_THROW(
        g->SaveToXML(TempFile(QStringLiteral("no/x.xml")), QStringLiteral("L"), QStringLiteral("R")), EExGridError);

    try {
        h->LoadFromXML(bad);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("XML file not found"));
    }
    testutil::WriteFile(bad, "<L>\n<R>\n</L>");
    h->SetCells(0, 0, QStringLiteral("keep"));
    try {
        h->LoadFromXML(bad);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("XMLDOM Parsing error "))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral(" on line 3"))) << e.Message().toStdString();
    }
    EXPECT_EQ(h->Cells(0, 0), QStringLiteral("keep"));
}

TEST(GridXML, DeepNestingDoesNotExhaustTheStack)
{
    QByteArray deep;
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        deep += "<a><b/>";
    for (int i = 0; i < depth; ++i)
        deep += "</a>";
    const QString f = TempFile(QStringLiteral("deep.xml"));
    testutil::WriteFile(f, "<L>" + deep + "</L>");
    auto g = MakeGrid(1, 1);
    try {
        g->LoadFromXML(f);
    } catch (const Exception&) {
        // The parser may refuse the depth; it must not crash.
    }
}
