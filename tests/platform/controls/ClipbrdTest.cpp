#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "platform/controls/Clipbrd.h"

namespace {

// Puts a clipboard in place for one test and the previous one back after.
struct UseClipboard {
    TClipboard* Old;
    explicit UseClipboard(TClipboard* c)
        : Old(SetClipboard(c))
    {
    }
    ~UseClipboard() { SetClipboard(Old); }
};

} // namespace

TEST(Clipboard, WritesReplaceTheContentUnlessOpenGathersThem)
{
    TMemoryClipboard clip;
    UseClipboard use(&clip);
    ASSERT_EQ(Clipboard(), &clip);
    const UINT cells = RegisterClipboardFormat(QStringLiteral("Clipbrd Test Cells"));
    const UINT unknown = 0xBFFF; // never registered

    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), QString());
    Clipboard()->SetAsText(QStringLiteral("one"));
    for (UINT f : { CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT })
        EXPECT_TRUE(Clipboard()->HasFormat(f)) << f;
    EXPECT_FALSE(Clipboard()->HasFormat(cells));

    // Outside Open/Close the data replaces the text: one copy, one format.
    Clipboard()->SetAsData(cells, QByteArray("\x01\x02", 2));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->GetAsData(cells), QByteArray("\x01\x02", 2));
    // An id no name was registered for holds nothing and takes nothing.
    Clipboard()->SetAsData(unknown, "x");
    EXPECT_FALSE(Clipboard()->HasFormat(unknown));
    EXPECT_TRUE(Clipboard()->HasFormat(cells));
    EXPECT_EQ(clip.WriteCount(), 2);

    // Inside, the writes land together at the outermost Close; reads see them.
    clip.Open();
    clip.Open();
    clip.SetAsText(QStringLiteral("a\tb"));
    clip.SetAsData(cells, "cells");
    EXPECT_EQ(clip.AsText(), QStringLiteral("a\tb"));
    clip.Close();
    EXPECT_EQ(clip.WriteCount(), 2);
    clip.Close();
    EXPECT_EQ(clip.WriteCount(), 3);
    EXPECT_EQ(clip.Content().Text, QStringLiteral("a\tb"));
    EXPECT_EQ(clip.GetAsData(cells), QByteArray("cells"));
    clip.Close(); // one Close too many changes nothing
    EXPECT_EQ(clip.WriteCount(), 3);

    clip.Clear();
    EXPECT_TRUE(clip.Content().Empty());
}

TEST(Clipboard, TheSystemClipboardBreaksLinesAsEachSideDoes)
{
    UseClipboard use(nullptr);
    QClipboard* system = QApplication::clipboard();
    Clipboard()->SetAsText(QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(system->text(), QStringLiteral("a\nb\n"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("a\r\nb\r\n"));
    system->setText(QStringLiteral("x\ny\rz\r\n"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("x\r\ny\r\nz\r\n"));

    // A registered format travels under its own type, beside the text.
    const UINT cells = RegisterClipboardFormat(QStringLiteral("Clipbrd Test System Cells"));
    Clipboard()->Open();
    Clipboard()->SetAsText(QStringLiteral("1\t2"));
    Clipboard()->SetAsData(cells, "raw");
    Clipboard()->Close();
    EXPECT_EQ(system->mimeData()->data(ClipboardFormatMimeType(cells)), QByteArray("raw"));
    EXPECT_EQ(system->text(), QStringLiteral("1\t2"));
    EXPECT_TRUE(Clipboard()->HasFormat(cells));
    system->setText(QStringLiteral("plain"));
    EXPECT_FALSE(Clipboard()->HasFormat(cells));
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}
