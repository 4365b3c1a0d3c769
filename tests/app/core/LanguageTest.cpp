#include "app/core/SharedStateGuard.h"
#include "app/core/UComon.h"
#include "app/core/ULanguage.h"
#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/runtime/FileUtils.h"

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
// or a file past the read limit: the start goes on with the built-in texts.
TEST_F(LanguageTest, FileThatCannotBeReadLeavesTheBuiltInTexts)
{
    testutil::MakeFifo(Language_Folder + "/Italiano.lng");
    testutil::MakeFifo(Language_Folder + "/English.lng");
    WriteLang(Language_Folder, "Deutsch", "STR15 = Neues Projekt\n");
    struct Case {
        const char* language;
        qint64 limit;
    };
    const Case cases[] = { { "Italiano", FileReadLimit() }, { "Klingon", FileReadLimit() }, { "Deutsch", 10 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        testutil::ReadLimit limit(c.limit);
        LanguageTable.clear();
        Language_Name = c.language;
        Load_Language();
        EXPECT_EQ(LanguageTable.size(), 2900);
        EXPECT_EQ(Lang(15), "New Configuration");
    }
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
