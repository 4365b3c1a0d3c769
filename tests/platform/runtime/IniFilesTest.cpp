#include "platform/runtime/IniFiles.h"

#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Registry.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using testutil::ReadFile;
using testutil::WriteFile;

QStringList Items(const TStrings& l)
{
    QStringList out;
    for (int i = 0; i < l.Count(); ++i)
        out << l.Strings(i);
    return out;
}

// Both INI classes must read back what they wrote once the file is updated
// and opened again.
struct IniKind {
    const char* name;
    std::function<std::unique_ptr<TCustomIniFile>(const QString&)> open;
};

class IniBothKinds : public ::testing::TestWithParam<IniKind> {
protected:
    QString path = testutil::TempDir() + "/settings.ini";
    std::unique_ptr<TCustomIniFile> Open() { return GetParam().open(path); }
};

} // namespace

TEST_P(IniBothKinds, WritesAndReadsBackTypedValues)
{
    {
        auto ini = Open();
        ini->WriteString("Main", "Name", "Grid one");
        ini->WriteInteger("Main", "Width", -64);
        ini->WriteBool("Main", "Visible", true);
        ini->WriteBool("Main", "Hidden", false);
        ini->WriteFloat("Main", "Ratio", 0.1);
        ini->WriteString("Other", "Hex", "$1F");
        ini->WriteString("Other", "CHex", "0x1f");
        ini->WriteString("Other", "Bad", "garbage");
        ini->WriteString("Other", "Neg", " -12");
        ini->WriteString("Other", "Trail", "$1F x");
        ini->WriteString("Other", "Word", "true");
        ini->WriteString("Main", "Name", "Grid two"); // replaces in place
        ini->UpdateFile();
    }
    auto ini = Open();
    EXPECT_EQ(ini->ReadString("main", "NAME", "def"), "Grid two");
    EXPECT_EQ(ini->ReadString("Main", "Missing", "def"), "def");
    EXPECT_EQ(ini->ReadInteger("Main", "Width", 0), -64);
    EXPECT_TRUE(ini->ReadBool("Main", "Visible", false));
    EXPECT_FALSE(ini->ReadBool("Main", "Hidden", true));
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Main", "Ratio", 0), 0.1);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Other", "Bad", 2.5), 2.5);
    EXPECT_EQ(ini->ReadInteger("Other", "Hex", 0), 31);
    EXPECT_EQ(ini->ReadInteger("Other", "CHex", 0), 31);
    EXPECT_EQ(ini->ReadInteger("Other", "Bad", 7), 7);
    EXPECT_EQ(ini->ReadInteger("Other", "Neg", 0), -12);
    EXPECT_EQ(ini->ReadInteger("Other", "Trail", 7), 7);
    EXPECT_TRUE(ini->ReadBool("Other", "Word", true)); // not an integer: the default
    EXPECT_FALSE(ini->ReadBool("Other", "Word", false));

    TStringList l;
    ini->ReadSections(&l);
    EXPECT_EQ(Items(l), QStringList({ "Main", "Other" }));
    ini->ReadSection("Main", &l);
    EXPECT_EQ(Items(l), QStringList({ "Name", "Width", "Visible", "Hidden", "Ratio" }));
    ini->ReadSectionValues("Other", &l);
    EXPECT_EQ(l.Values("Hex"), "$1F");
    EXPECT_EQ(l.Count(), 6);
    EXPECT_TRUE(ini->SectionExists("other"));
    EXPECT_FALSE(ini->SectionExists("Nope"));
    EXPECT_TRUE(ini->ValueExists("Main", "width"));
    EXPECT_FALSE(ini->ValueExists("Main", "Height"));

    ini->DeleteKey("Main", "Width");
    ini->EraseSection("Other");
    ini->UpdateFile();
    auto again = Open();
    EXPECT_FALSE(again->ValueExists("Main", "Width"));
    EXPECT_FALSE(again->SectionExists("Other"));
    EXPECT_EQ(again->ReadString("Main", "Name", ""), "Grid two");
}

TEST_P(IniBothKinds, MalformedFileIsReadTolerantlyAndCommentsSurvive)
{
    WriteFile(path,
        "stray=before any section\r\n"
        "; top comment\r\n"
        "[Main]\r\n"
        "  Key1 =  spaced value  \r\n"
        "no equals sign here\r\n"
        "; keep me\r\n"
        "=no key\r\n"
        "[Broken\r\n"
        "\x01\xff\x80 binary\r\n"
        "[Second] trailing\r\n"
        "A=1\r\n"
        "[main]\r\n"
        "Key2=merged\n"
        "Key1=second wins not\r");
    auto ini = Open();
    EXPECT_EQ(ini->ReadString("Main", "Key1", ""), "spaced value");
    EXPECT_EQ(ini->ReadString("Main", "Key2", ""), "merged");
    EXPECT_EQ(ini->ReadInteger("Second", "A", 0), 1);
    EXPECT_EQ(ini->ReadString("", "stray", "none"), "none");
    TStringList l;
    ini->ReadSection("Main", &l);
    EXPECT_EQ(Items(l), QStringList({ "Key1", "Key2", "Key1" }));
    ini->ReadSections(&l);
    EXPECT_EQ(Items(l), QStringList({ "Main", "Second" }));

    ini->WriteString("Second", "B", "2");
    ini->UpdateFile();
    const QByteArray text = ReadFile(path);
    EXPECT_TRUE(text.contains("; top comment\r\n"));
    EXPECT_TRUE(text.contains("; keep me\r\n"));
    EXPECT_TRUE(text.contains("B=2\r\n"));
    auto again = Open();
    EXPECT_EQ(again->ReadString("Main", "Key1", ""), "spaced value");
}

TEST_P(IniBothKinds, FailedSaveRaisesWithThePath)
{
    const QString bad = testutil::TempDir() + "/missing/dir/x.ini";
    auto ini = GetParam().open(bad);
    try {
        ini->WriteString("S", "K", "V");
        ini->UpdateFile();
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Message().contains(bad));
    }
    EXPECT_FALSE(QFile::exists(bad));
}

TEST_P(IniBothKinds, StrayTextThatLooksLikeAMarkStaysText)
{
    // Trimming brings the stray line to the top of the rewritten file, where
    // its bytes must not be taken for a byte-order mark.
    for (const QByteArray& mark : { QByteArray("\xEF\xBB\xBF"), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF") }) {
        WriteFile(path, " " + mark + "[Hidden]\r\nK=1\r\n[S]\r\nA=1\r\n");
        {
            auto ini = Open();
            ini->WriteString("S", "B", "2");
            ini->UpdateFile();
        }
        auto again = Open();
        EXPECT_FALSE(again->SectionExists("Hidden")) << mark.toHex().constData();
        EXPECT_EQ(again->ReadString("S", "A", ""), "1") << mark.toHex().constData();
        EXPECT_EQ(again->ReadString("S", "B", ""), "2") << mark.toHex().constData();
    }
}

TEST_P(IniBothKinds, BrokenCharacterSpoilsOnlyItsOwnValue)
{
    // A lone surrogate in a UTF-16 file stays in its value; the lines around
    // it are read as lines.
    const QString broken = QStringLiteral("a") + QChar(0xDC00);
    WriteFile(path, EncodeText("[S]\r\nK=" + broken + "\r\n[T]\r\nL=1\r\n", TTextEncoding::UTF16LE));
    auto ini = Open();
    EXPECT_EQ(ini->ReadString("S", "K", ""), broken);
    EXPECT_EQ(ini->ReadInteger("T", "L", 0), 1);
    TStringList sections;
    ini->ReadSections(&sections);
    EXPECT_EQ(Items(sections), QStringList({ "S", "T" }));
}

INSTANTIATE_TEST_SUITE_P(Ini, IniBothKinds,
    ::testing::Values(IniKind { "IniFile", [](const QString& p) { return std::make_unique<TIniFile>(p); } },
        IniKind { "MemIniFile", [](const QString& p) { return std::make_unique<TMemIniFile>(p); } }),
    [](const ::testing::TestParamInfo<IniKind>& info) { return std::string(info.param.name); });

#ifdef Q_OS_UNIX
// A FIFO (which would block the reader) or a file past the read limit: the
// in-memory kind raises at once; the other reads defaults but refuses to write
// a file of one value over it.
TEST(IniFiles, FileThatCannotBeReadIsNeitherWaitedForNorReplaced)
{
    const QString dir = testutil::TempDir();
    const QByteArray big = "[S]\r\nK=value\r\n";
    testutil::MakeFifo(dir + "/fifo.ini");
    WriteFile(dir + "/big.ini", big);
    struct Case {
        QString path;
        qint64 limit;
    };
    const Case cases[] = { { dir + "/fifo.ini", FileReadLimit() }, { dir + "/big.ini", big.size() - 1 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        testutil::ReadLimit limit(c.limit);
        EXPECT_THROW(TMemIniFile { c.path }, EFOpenError);
        TIniFile ini(c.path);
        EXPECT_EQ(ini.ReadString("S", "K", "default"), "default");
        EXPECT_THROW(ini.WriteString("S", "K2", "x"), EFOpenError);
        EXPECT_THROW(ini.EraseSection("S"), EFOpenError);
        EXPECT_THROW(ini.DeleteKey("S", "K"), EFOpenError);
    }
    EXPECT_FALSE(QFileInfo(dir + "/fifo.ini").isFile());
    EXPECT_EQ(ReadFile(dir + "/big.ini"), big);
}
#endif

TEST(IniFile, EveryWriteReachesTheFileAtOnce)
{
    const QString path = testutil::TempDir() + "/cp.ini";
    TIniFile writer(path);
    TIniFile reader(path);
    writer.WriteInteger("Cols", "CP0", 2);
    EXPECT_EQ(reader.ReadInteger("Cols", "CP0", -1), 2);
    // A value in matching quotes reads without them.
    WriteFile(path, "[S]\r\nQ=\"a b\"\r\nP='x'\r\nR=\"half\r\n");
    EXPECT_EQ(reader.ReadString("S", "Q", ""), "a b");
    EXPECT_EQ(reader.ReadString("S", "P", ""), "x");
    EXPECT_EQ(reader.ReadString("S", "R", ""), "\"half");
}

TEST(MemIniFile, ChangesStayInMemoryUntilUpdate)
{
    const QString path = testutil::TempDir() + "/m.ini";
    TMemIniFile ini(path);
    ini.WriteString("S", "K", "v");
    EXPECT_FALSE(QFile::exists(path));
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(path), "[S]\r\nK=v\r\n\r\n");

    ini.SetCaseSensitive(true);
    ini.WriteString("S", "k", "lower");
    EXPECT_EQ(ini.ReadString("S", "K", ""), "v");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "lower");
    EXPECT_EQ(ini.ReadString("s", "K", "none"), "none");

    TStringList lines;
    ini.GetStrings(&lines);
    EXPECT_EQ(Items(lines), QStringList({ "[S]", "K=v", "k=lower", "" }));
    lines.SetText("[T]\r\nx=1");
    ini.SetStrings(&lines);
    EXPECT_EQ(ini.ReadInteger("T", "x", 0), 1);
    ini.Rename(path, true);
    EXPECT_EQ(ini.ReadString("S", "K", ""), "v");
    EXPECT_EQ(ini.ReadInteger("T", "x", 0), 0);
}

TEST(MemIniFile, KeepsTheFileEncoding)
{
    const QString path = testutil::TempDir() + "/u.ini";
    const QString word = QString::fromUtf8("\xD0\x96\xC3\xA4");
    WriteFile(path, EncodeText("[S]\r\nK=" + word + "\r\n", TTextEncoding::UTF16LE));
    TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "K", ""), word);
    EXPECT_EQ(ini.Encoding(), TTextEncoding::UTF16LE);
    ini.WriteString("S", "L", word);
    ini.UpdateFile();
    EXPECT_TRUE(ReadFile(path).startsWith("\xFF\xFE"));
    EXPECT_EQ(TMemIniFile(path).ReadString("S", "L", ""), word);

    // Without a mark the file is ANSI unless told otherwise.
    WriteFile(path, "[S]\r\nK=\xE4\r\n");
    EXPECT_EQ(TMemIniFile(path).ReadString("S", "K", ""), QString::fromUtf8("\xC3\xA4"));
    WriteFile(path, "[S]\r\nK=\xC3\xA4\r\n");
    EXPECT_EQ(TMemIniFile(path, TTextEncoding::UTF8NoBOM).ReadString("S", "K", ""), QString::fromUtf8("\xC3\xA4"));
}

class RegistryTest : public ::testing::Test {
protected:
    QString file = testutil::TempDir() + "/cfg/registry.ini";
    void SetUp() override { TRegistry::SetStorageFile(file); }
    void TearDown() override { TRegistry::SetStorageFile(QString()); }
};

TEST_F(RegistryTest, KeysValuesAndRoots)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Maker\\Grid", false));
    EXPECT_FALSE(QFile::exists(file));
    ASSERT_TRUE(reg.OpenKey("Software\\Maker\\Grid", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Maker\\Grid");
    reg.WriteString("Name", "a=b; [x]");
    reg.WriteString("Spaced", "  both ends  ");
    reg.WriteString("Lines", "one\r\ntwo%20");
    reg.WriteInteger("Col0", 64);
    reg.WriteBool("On", true);
    EXPECT_EQ(reg.ReadString("name"), "a=b; [x]");
    EXPECT_EQ(reg.ReadString("Spaced"), "  both ends  ");
    EXPECT_EQ(reg.ReadString("Lines"), "one\r\ntwo%20");
    EXPECT_EQ(reg.ReadInteger("COL0"), 64);
    EXPECT_TRUE(reg.ReadBool("On"));
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Name"), ERegistryException);
    EXPECT_TRUE(reg.ValueExists("Col0"));
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(Items(names), QStringList({ "Name", "Spaced", "Lines", "Col0", "On" }));
    EXPECT_TRUE(reg.DeleteValue("Col0"));
    EXPECT_FALSE(reg.DeleteValue("Col0"));
    EXPECT_FALSE(reg.ValueExists("Col0"));

    // Relative and absolute paths; parents exist implicitly.
    ASSERT_TRUE(reg.OpenKey("Sub", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Maker\\Grid\\Sub");
    EXPECT_TRUE(reg.KeyExists("\\software\\maker"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Other"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Maker", false));
    reg.GetKeyNames(&names);
    EXPECT_EQ(Items(names), QStringList({ "Grid" }));

    // The other root is a separate tree.
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.KeyExists("Software\\Maker\\Grid"));
    ASSERT_TRUE(machine.OpenKey("Software\\Maker\\Grid", true));
    EXPECT_FALSE(machine.ValueExists("Name"));

    // Read-only keys refuse writes; deleting a key takes its sub-keys along.
    TRegistry ro;
    ASSERT_TRUE(ro.OpenKeyReadOnly("Software\\Maker\\Grid"));
    EXPECT_THROW(ro.WriteString("X", "y"), ERegistryException);
    EXPECT_TRUE(reg.DeleteKey("\\Software\\Maker\\Grid"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Maker\\Grid\\Sub"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Maker"));
    EXPECT_TRUE(machine.KeyExists("\\Software\\Maker\\Grid"));
}

TEST_F(RegistryTest, IniAccessBySectionAsSubKey)
{
    std::unique_ptr<TCustomIniFile> store = std::make_unique<TRegIniFile>("Software\\Maker\\Grid");
    EXPECT_EQ(store->ReadInteger("Sizes", "Col0", 80), 80);
    store->WriteInteger("Sizes", "Col0", 64);
    store->WriteInteger("Sizes", "Col1", 0x1F);
    store->WriteString("Pos", "Pos0", "2");
    store->UpdateFile();

    TRegIniFile again("Software\\Maker\\Grid");
    EXPECT_EQ(again.ReadInteger("Sizes", "Col0", 80), 64);
    EXPECT_EQ(again.ReadInteger("Sizes", "Col1", 0), 31);
    TStringList l;
    again.ReadSections(&l);
    EXPECT_EQ(Items(l), QStringList({ "Sizes", "Pos" }));
    again.ReadSectionValues("Sizes", &l);
    EXPECT_EQ(Items(l), QStringList({ "Col0=64", "Col1=31" }));
    EXPECT_TRUE(again.ValueExists("Pos", "Pos0"));

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Maker\\Grid\\Sizes", false));
    EXPECT_EQ(reg.ReadInteger("Col0"), 64);

    again.DeleteKey("Sizes", "Col0");
    EXPECT_FALSE(again.ValueExists("Sizes", "Col0"));
    again.EraseSection("Pos");
    again.ReadSections(&l);
    EXPECT_EQ(Items(l), QStringList({ "Sizes" }));
}

TEST_F(RegistryTest, StoreThatCannotBeWrittenReportsErrors)
{
    // The store's path is a folder: nothing can be read or written.
    ASSERT_TRUE(ForceDirectories(file));
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\X", true));
    EXPECT_THROW(reg.WriteString("V", "1"), ERegistryException);
    EXPECT_EQ(reg.ReadString("V"), "");
    EXPECT_TRUE(DirectoryExists(file));
}
