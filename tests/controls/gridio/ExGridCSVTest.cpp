#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include "GridIOSupport.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"

using namespace gridiotest;

namespace {

QStringList LoadCsvText(TExStringGrid& g, const QByteArray& bytes, int maxRows = 0)
{
    TMemoryStream s;
    s.WriteBuffer(bytes);
    g.LoadFromCSVStream(&s, maxRows);
    return CellsOf(g);
}

QByteArray SaveCsv(TExStringGrid& g, bool unicode = false)
{
    const QString f = TempFile(QStringLiteral("t.csv"));
    g.SaveToCSV(f, unicode);
    return testutil::ReadFile(f);
}

// Runs a Python script with the csv module; its standard output.
QByteArray RunPython(const QString& script, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(MORV_PYTHON3), QStringList { QStringLiteral("-c"), script } + args);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    return p.readAllStandardOutput();
}

} // namespace

TEST(GridCSV, WrittenFields)
{
    struct Case {
        const char* name;
        QStringList cells;
        char16_t delimiter;
        bool java;
        bool always;
        QByteArray expected;
    };
    const Case cases[] = {
        { "semicolon example", { "a\"b", "x;y", "" }, u';', false, false, "\"a\"\"b\";\"x;y\";\"\"\r\n" },
        { "two lines with character 11", { "x\r\ny", "z" }, u'\0', false, false, "\"x\x0By\",z\r\n" },
        { "java empty and tilde", { "", "x\r\ny", "p,q" }, u'\0', true, false, "^,x~y,\"p,q\"\r\n" },
        { "always quotes", { "a", "x\r\ny", "" }, u'\0', false, true, "\"a\",\"x\ny\",\"\"\r\n" },
        { "lone line feed is quoted", { "x\ny" }, u'\0', false, false, "\"x\ny\"\r\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(int(c.cells.size()), 1);
        for (int i = 0; i < c.cells.size(); ++i)
            g->SetCells(i, 0, c.cells[i]);
        g->SetDelimiter(c.delimiter);
        g->SetJavaCSV(c.java);
        g->SetAlwaysQuotes(c.always);
        EXPECT_EQ(SaveCsv(*g), c.expected);
    }
}

TEST(GridCSV, UnicodeHasUtf8MarkAndHiddenColumns)
{
    auto g = MakeGrid(3, 1);
    Fill(*g, { "\u00e4|h|\u20ac" });
    g->HideColumn(1);
    EXPECT_EQ(SaveCsv(*g, true), QByteArray("\xEF\xBB\xBF\xC3\xA4,\xE2\x82\xAC\r\n"));
    g->SetSaveHiddenCells(true);
    EXPECT_EQ(SaveCsv(*g), QByteArray("\xE4,h,\x80\r\n"));
}

TEST(GridCSV, ReadCases)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList cells;
        bool firstRow = true;
        int maxRows = 0;
    };
    const Case cases[] = {
        { "semicolon detected", "a;b;c\r\n1;2;3\r\n", { "a|b|c", "1|2|3" } },
        { "no equal count: the comma", "a,b\r\n1;2\r\n", { "a|b", "1;2|" } },
        { "unterminated quote keeps its text", "\"ab,c\r\nx,y\r\n", { "\"ab|c", "x|y" } },
        { "quoted field over lines", "\"l1\r\nl2\",b\r\nc,d\r\n", { "l1\r\nl2|b", "c|d" } },
        { "doubled quotes and blanks", "  \"a\"\"b\" ,x\r\n", { "a\"b|x" } },
        { "character 11 back to a line break", "\"x\x0By\",z\r\n", { "x\r\ny|z" } },
        { "header skipped", "h1,h2\r\n1,2\r\n", { "1|2" }, false },
        { "at most MaxRows", "1,2\r\n3,4\r\n5,6\r\n", { "1|2", "3|4" }, true, 2 },
        { "no line end at the end", "1,2", { "1|2" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeGrid(1, 1);
        g->SetLoadFirstRow(c.firstRow);
        EXPECT_EQ(LoadCsvText(*g, c.bytes, c.maxRows), c.cells);
        EXPECT_EQ(g->Delimiter(), u'\0');
    }
}

TEST(GridCSV, JavaFormReadsBack)
{
    auto g = MakeGrid(1, 1);
    g->SetJavaCSV(true);
    EXPECT_EQ(LoadCsvText(*g, "^,x~y,\"p,q\"\r\n"), QStringList({ "|x\r\ny|p,q" }));
}

TEST(GridCSV, EmptyInputs)
{
    auto g = MakeGrid(2, 2);
    g->SetCells(0, 0, QStringLiteral("keep"));
    TMemoryStream empty;
    EXPECT_THROW(g->LoadFromCSVStream(&empty, 0), Exception);
    const QString f = TempFile(QStringLiteral("e.csv"));
    testutil::WriteFile(f, QByteArray());
    g->LoadFromCSV(f);
    EXPECT_EQ(g->Cells(0, 0), QStringLiteral("keep"));
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_THROW(g->AppendToCSV(TempFile(QStringLiteral("none.csv"))), EFOpenError);
}

TEST(GridCSV, AppendAndInsertAboveFloatingFooter)
{
    auto g = MakeGrid(2, 1);
    Fill(*g, { "a|b" });
    const QString f = TempFile(QStringLiteral("a.csv"));
    g->SaveToCSV(f);
    g->AppendToCSV(f);
    EXPECT_EQ(testutil::ReadFile(f), QByteArray("a,b\r\na,b\r\n"));

    auto h = MakeGrid(2, 3);
    Fill(*h, { "1|2", "3|4", "sum|6" });
    h->FloatingFooter()->SetVisible(true);
    h->InsertFromCSV(f);
    EXPECT_EQ(CellsOf(*h), QStringList({ "1|2", "3|4", "a|b", "a|b", "sum|6" }));
}

TEST(GridCSV, RoundTripsAndProgress)
{
    auto g = MakeGrid(3, 3, 1, 1);
    Fill(*g, { "h|c1|c2", "r1|a,b;c|\"q\"", "r2||x\r\ny" });
    std::vector<short> progress;
    g->OnFileProgress = [&](TObject*, short p) { progress.push_back(p); };
    const QString f = TempFile(QStringLiteral("r.csv"));
    g->SaveToCSV(f);
    EXPECT_EQ(progress, std::vector<short>({ 0, 50, 100 }));
    progress.clear();
    auto h = MakeGrid(1, 1);
    h->OnFileProgress = g->OnFileProgress;
    h->LoadFromCSV(f);
    EXPECT_EQ(CellsOf(*h), CellsOf(*g));
    EXPECT_EQ(progress.back(), 100);
}

TEST(GridCSV, PythonReadsAlwaysQuotedFilesAndWritesFilesThatLoad)
{
    auto g = MakeGrid(3, 2);
    Fill(*g, { "a,b|say \"hi\"|x\ny", "|\u00e4\u20ac|tab\there" });
    g->SetAlwaysQuotes(true);
    const QString f = TempFile(QStringLiteral("py.csv"));
    g->SaveToCSV(f, true);
    const QByteArray json = RunPython(QStringLiteral("import csv, json, sys\n"
                                                     "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                                     "    print(json.dumps(list(csv.reader(f))))\n"),
        { f });
    const QJsonArray rows = QJsonDocument::fromJson(json).array();
    ASSERT_EQ(rows.size(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(rows[r].toArray()[c].toString(), g->Cells(c, r));

    const QString p = TempFile(QStringLiteral("written.csv"));
    RunPython(QStringLiteral("import csv, sys\n"
                             "with open(sys.argv[1], 'w', newline='', encoding='utf-8-sig') as f:\n"
                             "    csv.writer(f).writerows([['l1\\r\\nl2', 'a\"b', ''], ['x,y', '\u00e9', 'z']])\n"),
        { p });
    auto h = MakeGrid(1, 1);
    h->LoadFromCSV(p);
    EXPECT_EQ(CellsOf(*h), QStringList({ "l1\r\nl2|a\"b|", "x,y|\u00e9|z" }));
}

TEST(GridFixed, SaveAndLoad)
{
    auto g = MakeGrid(2, 2);
    Fill(*g, { "abc|x\r\ny", "d|longer" });
    TIntList widths(0, 0);
    widths.Add(2);
    const QString f = TempFile(QStringLiteral("f.txt"));
    g->SaveToFixed(f, &widths);
    // The missing width is appended: longest first line + 1.
    EXPECT_EQ(widths.StrValue(), QStringLiteral("2,7"));
    EXPECT_EQ(testutil::ReadFile(f), QByteArray("abx y    \r\nd longer \r\n"));

    testutil::WriteFile(f, "abcdefgh\r\n 12 xyz \r\n");
    TIntList positions(0, 0);
    for (int p : { 9, 1, 4 })
        positions.Add(p);
    auto h = MakeGrid(1, 1);
    h->LoadFromFixed(f, &positions);
    EXPECT_EQ(positions.StrValue(), QStringLiteral("1,4,9"));
    EXPECT_EQ(CellsOf(*h), QStringList({ "abc|defgh", "12|xyz" }));
    h->LoadFromFixed(f, &positions, false, 1);
    EXPECT_EQ(h->Cells(0, 0), QStringLiteral("abc"));
    EXPECT_THROW(h->LoadFromFixed(TempFile(QStringLiteral("none.txt")), &positions), EExGridError);
    EXPECT_THROW(g->SaveToFixed(TempFile(QStringLiteral("no/f.txt")), &widths), EExGridError);
}
