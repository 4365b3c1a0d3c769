#include <gtest/gtest.h>

#include "GridIOSupport.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"

using namespace gridiotest;

namespace {

QByteArray Crlf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

} // namespace

TEST(GridFileForm, ThreeByThreeWritesAbsoluteCellsAndWidths)
{
    auto g = MakeGrid(3, 3, 1, 1);
    g->SetSaveFixedCells(false);
    g->SetCells(1, 1, QStringLiteral("a"));
    g->SetCells(2, 2, QStringLiteral("b"));
    const QString f = TempFile(QStringLiteral("g.txt"));
    g->SaveToFile(f);
    EXPECT_EQ(testutil::ReadFile(f), Crlf({ "2,2", "cw 1,64", "cw 2,64", "1,1,a", "2,2,b" }));

    auto h = MakeGrid(2, 2, 1, 1);
    h->SetSaveFixedCells(false);
    h->LoadFromFile(f);
    EXPECT_EQ(h->ColCount(), 3);
    EXPECT_EQ(h->RowCount(), 3);
    EXPECT_EQ(CellsOf(*h), QStringList({ "||", "|a|", "||b" }));
}

TEST(GridFileForm, UnicodeFileHasMarkAndWideLineEnds)
{
    auto g = MakeGrid(1, 1);
    g->SetCells(0, 0, QStringLiteral("\u00e9\u20ac"));
    const QString f = TempFile(QStringLiteral("u.txt"));
    g->SaveToFile(f, true);
    const QByteArray b = testutil::ReadFile(f);
    ASSERT_TRUE(b.startsWith(QByteArray("\xFF\xFE"
                                        "1\0,\0"
                                        "1\0\r\0\n\0",
        12)));
    EXPECT_TRUE(b.endsWith(QByteArray("\xE9\0\xAC\x20\r\0\n\0", 8)));
    auto h = MakeGrid(1, 1);
    h->LoadFromFile(f);
    EXPECT_EQ(h->Cells(0, 0), QStringLiteral("\u00e9\u20ac"));
}

TEST(GridFileForm, MultiLineTextAndMultilinecells)
{
    auto g = MakeGrid(1, 1);
    g->SetCells(0, 0, QStringLiteral("x\r\ny"));
    const QString f = TempFile(QStringLiteral("m.txt"));
    g->SaveToFile(f);
    EXPECT_EQ(testutil::ReadFile(f), Crlf({ "1,1", "cw 0,64" }) + QByteArray("0,0,x\x09\x08y\r\n"));
    auto h = MakeGrid(1, 1);
    h->LoadFromFile(f);
    EXPECT_EQ(h->Cells(0, 0), QStringLiteral("x"));
    h->SetMultilinecells(true);
    h->LoadFromFile(f);
    EXPECT_EQ(h->Cells(0, 0), QStringLiteral("x\r\ny"));
}

TEST(GridFileForm, HiddenColumnWithAndWithoutSaveHiddenCells)
{
    auto g = MakeGrid(3, 1);
    Fill(*g, { "a|b|c" });
    g->SetColWidths(1, 50);
    g->HideColumn(1);
    const QString f = TempFile(QStringLiteral("h.txt"));
    g->SaveToFile(f);
    EXPECT_EQ(testutil::ReadFile(f), Crlf({ "2,1", "cw 0,64", "cw 1,64", "0,0,a", "1,0,c" }));
    g->SetSaveHiddenCells(true);
    g->SaveToFile(f);
    // Real columns in real order; the hidden one keeps its width.
    EXPECT_EQ(testutil::ReadFile(f), Crlf({ "3,1", "cw 0,64", "cw 1,50", "cw 2,64", "0,0,a", "1,0,b", "2,0,c" }));
    EXPECT_EQ(g->ColCount(), 2);
}

TEST(GridFileForm, CorruptFilesChangeNothing)
{
    const QString f = TempFile(QStringLiteral("c.txt"));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "empty", QByteArray() },
        { "zero rows", Crlf({ "2,0" }) },
        { "no number", Crlf({ "x,1" }) },
        { "too many rows", Crlf({ "1,20000000", "0,0,a" }) },
        { "columns without widths", Crlf({ "100000,1", "0,0,a" }) },
        { "negative", Crlf({ "-1,5" }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testutil::WriteFile(f, c.bytes);
        auto g = MakeGrid(2, 3);
        g->SetCells(0, 0, QStringLiteral("keep"));
        try {
            g->LoadFromFile(f);
            FAIL() << "no error";
        } catch (const EExGridError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("File contains no data or corrupt file ") + f);
        }
        EXPECT_EQ(g->ColCount(), 2);
        EXPECT_EQ(g->RowCount(), 3);
        EXPECT_EQ(g->Cells(0, 0), QStringLiteral("keep"));
    }
}

TEST(GridFileForm, LinesOutsideTheGridAreSkipped)
{
    const QString f = TempFile(QStringLiteral("o.txt"));
    testutil::WriteFile(
        f, Crlf({ "2,2", "cw 5,10", "cw -1,10", "cw 1,30", "5,0,x", "0,9,y", "-1,0,z", "a,b,c", "1,1,ok" }));
    auto g = MakeGrid(1, 1);
    g->LoadFromFile(f);
    EXPECT_EQ(CellsOf(*g), QStringList({ "|", "|ok" }));
    EXPECT_EQ(g->ColWidths(1), 30);
}

TEST(GridFileForm, FailedSaveKeepsTheOldFileAndRaises)
{
    auto g = MakeGrid(1, 1);
    g->SetCells(0, 0, QStringLiteral("new"));
    EXPECT_THROW(g->SaveToFile(TempFile(QStringLiteral("missing/g.txt"))), EFCreateError);
    const QString f = TempFile(QStringLiteral("old.txt"));
    testutil::WriteFile(f, "old");
#ifdef Q_OS_UNIX
    testutil::FileSizeLimit limit(8);
    EXPECT_THROW(g->SaveToFile(f), EFCreateError);
#endif
    EXPECT_EQ(testutil::ReadFile(f), QByteArray("old"));
}
