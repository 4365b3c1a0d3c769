#include <gtest/gtest.h>

#include "GridIOSupport.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

using namespace gridiotest;

namespace {

QByteArray SaveAscii(TExStringGrid& g, bool unicode = false)
{
    const QString f = TempFile(QStringLiteral("a.txt"));
    g.SaveToASCII(f, unicode);
    return testutil::ReadFile(f);
}

} // namespace

TEST(GridPlainText, ColumnsAlignAndContinue)
{
    auto g = MakeGrid(2, 2);
    Fill(*g, { "a|bb", "ccc|d" });
    EXPECT_EQ(SaveAscii(*g), QByteArray("a   bb \r\nccc d  \r\n"));

    auto r = MakeGrid(1, 2);
    Fill(*r, { "1234", "7" });
    r->SetDefaultAlignment(taRightJustify);
    EXPECT_EQ(SaveAscii(*r), QByteArray("1234 \r\n   7 \r\n"));
    r->SetDefaultAlignment(taCenter);
    EXPECT_EQ(SaveAscii(*r), QByteArray("1234 \r\n  7  \r\n"));

    auto m = MakeGrid(2, 1);
    Fill(*m, { "ab|x\r\ny" });
    m->SetMultilinecells(true);
    EXPECT_EQ(SaveAscii(*m), QByteArray("ab x \r\n   y\r\n"));
    m->SetMultilinecells(false);
    EXPECT_EQ(SaveAscii(*m), QByteArray("ab x \r\n"));
}

TEST(GridPlainText, WideColumnsAndManyColumnsUnicodeAndAppend)
{
    // No limit on the column count or on the width.
    auto g = MakeGrid(600, 1);
    const QString wide(300, QChar(u'w'));
    g->SetCells(599, 0, wide);
    g->SetCells(0, 0, QStringLiteral("\u20ac"));
    const QByteArray b = SaveAscii(*g, true);
    ASSERT_TRUE(b.startsWith(QByteArray("\xFF\xFE\xAC\x20 \0", 6)));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + 2), (b.size() - 2) / 2);
    EXPECT_EQ(text.size(), 2 + 598 + wide.size() + 1 + 2);
    EXPECT_TRUE(text.endsWith(wide + QStringLiteral(" \r\n")));

    auto s = MakeGrid(1, 1);
    s->SetCells(0, 0, QStringLiteral("x"));
    const QString f = TempFile(QStringLiteral("ap.txt"));
    s->AppendToASCII(f);
    s->AppendToASCII(f);
    EXPECT_EQ(testutil::ReadFile(f), QByteArray("x \r\nx \r\n"));
}

TEST(GridPlainText, HiddenColumnsAndFailedSave)
{
    auto g = MakeGrid(3, 1);
    Fill(*g, { "a|hid|c" });
    g->HideColumn(1);
    EXPECT_EQ(SaveAscii(*g), QByteArray("a c \r\n"));
    g->SetSaveHiddenCells(true);
    EXPECT_EQ(SaveAscii(*g), QByteArray("a hid c \r\n"));
    const QString f = TempFile(QStringLiteral("keep.txt"));
    testutil::WriteFile(f, "old");
    testutil::FileSizeLimit limit(4);
    EXPECT_THROW(g->SaveToASCII(f), EFCreateError);
    EXPECT_EQ(testutil::ReadFile(f), QByteArray("old"));
}

TEST(GridPlainText, CellToReal)
{
    const TFormatSettings old = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    auto g = MakeGrid(1, 1);
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : { Case { "", 0 }, Case { "(1.234,50)", -1234.5 }, Case { "12a", 12 }, Case { "-3", -3 } }) {
        g->SetCells(0, 0, QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(g->CellToReal(0, 0), c.value) << c.text;
    }
    g->SetCells(0, 0, QStringLiteral("1,2,3"));
    try {
        g->CellToReal(0, 0);
        ADD_FAILURE() << "no error";
    } catch (const EExGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Error at position: 4 in Cell [0, 0]."));
    }
    FormatSettings = old;
}
