#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "app/core/ULanguageFile.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/controls/ModalDriver.h"
#include "platform/runtime/FileUtils.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

void WriteLang(const QString& folder, const QString& name, const QByteArray& bytes)
{
    ASSERT_TRUE(SaveFileAtomic(folder + "/" + name + ".lng", bytes).Ok);
}

class LanguageTest : public ::testing::Test {
protected:
    // First member: what the test changes is put back after its TearDown.
    TSharedStateGuard Guard;

    void SetUp() override
    {
        Language_Folder = testutil::TempDir();
        Language_Name = QStringLiteral("English");
    }
};

TEST_F(LanguageTest, BuiltInTableHasEverySlot)
{
    Init_Lang_Default();
    ASSERT_EQ(LanguageTable.size(), 2900);
    EXPECT_EQ(Lang_Count, 2900);
    EXPECT_EQ(Lang(0), "Begin");
    EXPECT_EQ(Lang(18), "Error! Project not Valid");
    EXPECT_EQ(Lang(9), "None Configuration Opened ");
    EXPECT_EQ(Lang(467), " ");
    EXPECT_EQ(Lang(1601), "Scan && Decode HART Network");
    EXPECT_EQ(Lang(1335), "!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4");
    EXPECT_EQ(Lang(2899), " ");
}

struct LineCase {
    const char* line;
    int index;
    QString expected;
};

TEST_F(LanguageTest, FileLinesFollowTheReadingRules)
{
    const QString fifteen = QStringLiteral("New Configuration");
    const QString one = QStringLiteral("Step 1");
    const LineCase cases[] = {
        { "STR15 = New Project", 15, "New Project" },
        { "STR15=New Project", 1, "New Project" },
        { "STR15= New Project", 1, "New Project" },
        { "   STR15 = Padded line   ", 15, "Padded line" },
        { "str15 = x", 15, fifteen },
        { "STR = x", 15, fifteen },
        { "STR= x", 15, fifteen },
        { "STR-1 = x", 15, fifteen },
        { "STR2900 = x", 15, fifteen },
        { "STRab = x", 15, fifteen },
        { "STR15 =", 15, fifteen },
        { "STR15 = \xC2\xB6  kept  \xC2\xB6 tail", 15, "  kept  " },
        { "STR15 = \xC2\xB6\xC2\xB6", 15, "" },
        { "STR15 = Text   /#/ a note", 15, "Text" },
        { "STR15 = /#/ only a note", 15, fifteen },
        { "STR15 = $10", 15, "$10" },
        { "STR$F = hex index", 15, "hex index" },
    };
    for (const LineCase& c : cases) {
        Init_Lang_Default();
        WriteLang(Language_Folder, "Test", QByteArray("\xEF\xBB\xBF") + "; header\r\n" + c.line + "\r\n");
        Load_Lang_File(Language_Folder + "/Test.lng");
        EXPECT_EQ(Lang(c.index), c.expected) << c.line;
        if (c.index != 1) {
            EXPECT_EQ(Lang(1), one) << c.line;
        }
    }
}

TEST_F(LanguageTest, MissingLanguageFallsBackToEnglish)
{
    Language_Name = QStringLiteral("Klingon");
    Load_Language();
    EXPECT_EQ(Language_Name, "English");
    EXPECT_EQ(Lang(15), "New Configuration");

    WriteLang(Language_Folder, "English", "STR15 = Fresh Project\n");
    Language_Name = QStringLiteral("Klingon");
    Load_Language();
    EXPECT_EQ(Lang(15), "Fresh Project");
}

TEST_F(LanguageTest, SwitchingBackRestoresBuiltInTexts)
{
    WriteLang(Language_Folder, "Italiano", "STR0 = Inizio\nSTR1600 = Scansione\nSTR2800 = OPC\n");
    Language_Name = QStringLiteral("Italiano");
    Load_Language();
    EXPECT_EQ(Lang(0), "Inizio");
    EXPECT_EQ(Lang(1600), "Scansione");
    EXPECT_EQ(Lang(2800), "OPC");
    Language_Name = QStringLiteral("English");
    Load_Language();
    Init_Lang_Default();
    const QStringList builtIn = LanguageTable;
    Load_Language();
    EXPECT_EQ(LanguageTable, builtIn);
}

// The English file written from the built-in texts: one line per slot in the
// language-file form, read back by the loader to the very same 2900 texts,
// blanks at either end included.
TEST_F(LanguageTest, EnglishFileOfTheBuiltInTextsReadsBackToThem)
{
    Init_Lang_Default();
    const QStringList builtIn = LanguageTable;
    const QByteArray bytes = Lang_File_Bytes(builtIn);
    const QString text = DecodeText(bytes);
    const QString pilcrow = QString(QChar(0x00B6));
    for (const QString& line : { QStringLiteral("STR15 = New Configuration"),
             "STR9 = " + pilcrow + "None Configuration Opened " + pilcrow, "STR467 = " + pilcrow + " " + pilcrow,
             QStringLiteral("STR2626 = Description for the M-Bus meter (defined in the section \u201cM-Bus\u201d)") })
        EXPECT_TRUE(text.contains("\r\n" + line + "\r\n")) << line.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("\r\nSTR")), 2900);

    WriteLang(Language_Folder, "English", bytes);
    // Over a table that holds other texts everywhere, so every slot is read.
    for (QString& t : LanguageTable)
        t = "x";
    Load_Lang_File(Language_Folder + "/English.lng");
    ASSERT_EQ(LanguageTable.size(), builtIn.size());
    int differing = 0;
    for (int i = 0; i < builtIn.size(); ++i) {
        if (LanguageTable[i] != builtIn[i] && ++differing <= 5)
            ADD_FAILURE() << i << ": \"" << LanguageTable[i].toStdString() << "\" instead of \""
                          << builtIn[i].toStdString() << "\"";
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(LanguageTest, AnsiFileWithoutMarkIsWindows1252)
{
    WriteLang(Language_Folder, "Deutsch",
        "STR15 = Gr\xFC\xDF"
        "e \x80\n");
    Language_Name = QStringLiteral("Deutsch");
    Load_Language();
    EXPECT_EQ(Lang(15), QString::fromUtf8("Grüße €"));
}

#ifdef Q_OS_UNIX
// A FIFO in place of a language file (which would block the start for good),
// or a file past the read limit: the start goes on with the built-in texts,
// and the user hears once which file could not be read.
TEST_F(LanguageTest, FileThatCannotBeReadLeavesTheBuiltInTextsAndIsReported)
{
    testutil::MakeFifo(Language_Folder + "/Italiano.lng");
    testutil::MakeFifo(Language_Folder + "/English.lng");
    WriteLang(Language_Folder, "Deutsch", "STR15 = Neues Projekt\n");
    {
        // Past the 64 MiB every reader takes, without filling the disk.
        QFile big(Language_Folder + "/Suomi.lng");
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(qint64(64) * 1024 * 1024 + 1));
    }
    struct Case {
        const char* language;
        qint64 limit;
        const char* reported; // the file named in the report
        const char* languageAfter;
    };
    const Case cases[] = {
        { "Italiano", FileReadLimit(), "Italiano", "Italiano" },
        { "Klingon", FileReadLimit(), "English", "English" }, // missing: English, which is a FIFO
        { "Deutsch", 10, "Deutsch", "Deutsch" },
        { "Suomi", FileReadLimit(), "Suomi", "Suomi" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        testutil::ReadLimit limit(c.limit);
        ModalDriver driver;
        LanguageTable.clear();
        Language_Name = c.language;
        Load_Language();
        EXPECT_EQ(LanguageTable.size(), 2900);
        EXPECT_EQ(Lang(15), "New Configuration");
        EXPECT_EQ(Language_Name, c.languageAfter);
        ASSERT_EQ(driver.Messages().size(), 1u);
        const QString file = Language_Folder + "/" + c.reported + ".lng";
        EXPECT_EQ(driver.Messages()[0].DlgType, mtError);
        EXPECT_EQ(driver.Messages()[0].Text.count(file), 1) << driver.Messages()[0].Text.toStdString();
    }
    // A readable file is taken without a word.
    ModalDriver driver;
    Language_Name = "Deutsch";
    Load_Language();
    EXPECT_EQ(Lang(15), "Neues Projekt");
    EXPECT_TRUE(driver.Messages().empty());
}
#endif

TEST_F(LanguageTest, BrokenCharacterSpoilsOnlyItsOwnText)
{
    // A lone surrogate in a UTF-16 file stays in its line; the lines after it
    // are read as lines.
    const QString broken = QStringLiteral("A") + QChar(0xD800) + QStringLiteral("B");
    WriteLang(
        Language_Folder, "Broken", EncodeText("STR15 = " + broken + "\r\nSTR16 = Next\r\n", TTextEncoding::UTF16LE));
    Init_Lang_Default();
    Load_Lang_File(Language_Folder + "/Broken.lng");
    EXPECT_EQ(Lang(15), broken);
    EXPECT_EQ(Lang(16), "Next");
}

} // namespace
