#include "platform/runtime/Classes.h"

#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/runtime/Exceptions.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

TStringList* Fill(TStringList& l, const QStringList& items)
{
    l.Clear();
    for (const QString& s : items)
        l.Add(s);
    return &l;
}

QStringList Items(const TStrings& l)
{
    QStringList out;
    for (int i = 0; i < l.Count(); ++i)
        out << l.Strings(i);
    return out;
}

using testutil::ReadFile;
using testutil::WriteFile;

// An object that counts its live instances, to see who frees what.
struct Counted : TObject {
    static inline int Alive = 0;
    Counted() { ++Alive; }
    ~Counted() override { --Alive; }
};

} // namespace

TEST(StringListText, SplitsOnEveryLineEndAndJoinsWithCrLf)
{
    struct Case {
        const char* text;
        QStringList lines;
    };
    const Case cases[] = {
        { "", {} },
        { "a", { "a" } },
        { "a\r\n", { "a" } },
        { "\r\n", { "" } },
        { "a\r\nb\nc\rd", { "a", "b", "c", "d" } },
        { "a\r\n\r\nb\r\n", { "a", "", "b" } },
        { "\n\r", { "", "" } },
    };
    TStringList l;
    for (const Case& c : cases) {
        l.SetText(QString::fromLatin1(c.text));
        EXPECT_EQ(Items(l), c.lines) << c.text;
        // Every line comes back ended by CR LF, the last one too.
        const QString joined = c.lines.isEmpty() ? QString() : c.lines.join(QStringLiteral("\r\n")) + "\r\n";
        EXPECT_EQ(l.Text(), joined) << c.text;
    }
}

TEST(StringListText, CommaTextQuotesWhatNeedsItAndReadsItBack)
{
    struct Case {
        QStringList items;
        QString comma;
    };
    const Case cases[] = {
        { {}, "" },
        { { "" }, "\"\"" },
        { { "a", "b" }, "a,b" },
        { { "a", "" }, "a," },
        { { "", "a" }, ",a" },
        { { "", "" }, "," },
        { { "a b", "c" }, "\"a b\",c" },
        { { "x,y" }, "\"x,y\"" },
        { { "say \"hi\"" }, "\"say \"\"hi\"\"\"" },
        { { "tab\there" }, "\"tab\there\"" },
    };
    TStringList l;
    for (const Case& c : cases) {
        Fill(l, c.items);
        EXPECT_EQ(l.CommaText(), c.comma);
        TStringList back;
        back.SetCommaText(c.comma);
        EXPECT_EQ(Items(back), c.items) << c.comma.toStdString();
    }
}

TEST(StringListText, DelimitedTextSplitsOnBlanksUnlessStrict)
{
    struct Case {
        QString text;
        bool strict;
        QStringList items;
    };
    const Case cases[] = {
        { "a b,c", false, { "a", "b", "c" } },
        { "a b,c", true, { "a b", "c" } },
        { "  a , b  ", false, { "a", "b" } },
        { "  a , b  ", true, { "  a ", " b  " } },
        { "a,,b", false, { "a", "", "b" } },
        { "\"x\"\"y\"z", false, { "x\"y", "z" } },
        { "\"unterminated, still", false, { "unterminated, still" } },
        { "\"q 1\",\"\"", false, { "q 1", "" } },
        // NUL is no blank: it stays inside its item instead of ending it.
        { QString::fromLatin1("a\0b,\0", 5), false, { QString::fromLatin1("a\0b", 3), QString(QChar(0)) } },
    };
    TStringList l;
    for (const Case& c : cases) {
        l.SetStrictDelimiter(c.strict);
        l.SetDelimitedText(c.text);
        EXPECT_EQ(Items(l), c.items) << c.text.toStdString() << " strict=" << c.strict;
    }

    // Own delimiter and quote; strict writing quotes only for them, not blanks.
    l.SetStrictDelimiter(false);
    l.SetDelimiter(QLatin1Char(';'));
    l.SetQuoteChar(QLatin1Char('\''));
    Fill(l, { "a;b", "it's", "plain" });
    EXPECT_EQ(l.DelimitedText(), "'a;b';'it''s';plain");
    EXPECT_EQ(l.CommaText(), "a;b,it's,plain");
    l.SetStrictDelimiter(true);
    Fill(l, { "a b", "c;d" });
    EXPECT_EQ(l.DelimitedText(), "a b;'c;d'");
}

TEST(StringListSorted, DuplicatesModesAndFind)
{
    struct Case {
        TDuplicates mode;
        QStringList expected;
        bool throws;
    };
    const Case cases[] = {
        { dupIgnore, { "a", "b", "c" }, false },
        // A duplicate goes before its equals (case is ignored by default).
        { dupAccept, { "a", "B", "b", "c" }, false },
        { dupError, { "a", "b" }, true },
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(c.mode);
        l.Add("b");
        l.Add("a");
        if (c.throws) {
            EXPECT_THROW(l.Add("B"), EStringListError);
        } else {
            const int at = l.Add("B");
            EXPECT_EQ(at, 1);
            l.Add("c");
        }
        EXPECT_EQ(Items(l), c.expected);
    }

    TStringList l;
    Fill(l, { "pear", "Apple", "fig", "banana" });
    l.SetSorted(true);
    EXPECT_EQ(Items(l), QStringList({ "Apple", "banana", "fig", "pear" }));
    int index = -1;
    EXPECT_TRUE(l.Find("FIG", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(l.Find("cherry", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(l.Find("zz", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(l.IndexOf("APPLE"), 0);
    EXPECT_EQ(l.IndexOf("kiwi"), -1);

    // Case-sensitive: "Apple" sorts before "banana" by code, and the lower
    // case word is a different item.
    l.SetCaseSensitive(true);
    l.Add("apple");
    EXPECT_EQ(l.IndexOf("apple"), 1);
    EXPECT_EQ(l.Count(), 5);

    // Positional changes are refused on a sorted list and lose nothing.
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
    EXPECT_THROW(l.SetStrings(0, "x"), EStringListError);
    const QStringList before = Items(l);
    EXPECT_THROW(l.Move(0, 3), EStringListError);
    EXPECT_EQ(Items(l), before);
}

// Adding many at once leaves the list, items and order, as adding them one
// by one does: case rules, each duplicates mode, items already listed, and
// the error at the first duplicate.
TEST(StringListSorted, BulkAddMatchesAddingOneByOne)
{
    const std::vector<QString> start { "m", "B" };
    const std::vector<QString> more { "b", "a", "M", "c", "A", "b", "z", "C", "a" };
    for (const bool sorted : { false, true })
        for (const bool caseSensitive : { false, true })
            for (const TDuplicates dup : { dupIgnore, dupAccept, dupError })
                for (const bool prefilled : { false, true }) {
                    SCOPED_TRACE(testing::Message() << sorted << caseSensitive << int(dup) << prefilled);
                    TStringList one, bulk;
                    for (TStringList* l : { &one, &bulk }) {
                        l->SetCaseSensitive(caseSensitive);
                        l->SetDuplicates(dup);
                        l->SetSorted(sorted);
                        if (prefilled)
                            for (const QString& s : start)
                                l->Add(s);
                    }
                    bool oneThrew = false, bulkThrew = false;
                    try {
                        for (const QString& s : more)
                            one.Add(s);
                    } catch (const EStringListError&) {
                        oneThrew = true;
                    }
                    try {
                        bulk.AddBulk(more);
                    } catch (const EStringListError&) {
                        bulkThrew = true;
                    }
                    EXPECT_EQ(bulkThrew, oneThrew);
                    EXPECT_EQ(bulk.Text(), one.Text());
                }
}

TEST(StringListSorted, SortAndCustomSort)
{
    TStringList l;
    Fill(l, { "ccc", "a", "BB", "b" });
    l.Sort();
    EXPECT_EQ(Items(l), QStringList({ "a", "b", "BB", "ccc" }));
    // By length, longest first; equal lengths keep their order.
    l.CustomSort(
        [](TStringList* list, int i, int j) { return int(list->Strings(j).size() - list->Strings(i).size()); });
    EXPECT_EQ(Items(l), QStringList({ "ccc", "BB", "a", "b" }));
    l.Exchange(0, 3);
    EXPECT_EQ(Items(l), QStringList({ "b", "BB", "a", "ccc" }));
    l.Move(0, 2);
    EXPECT_EQ(Items(l), QStringList({ "BB", "a", "b", "ccc" }));
    l.Move(3, 0);
    EXPECT_EQ(Items(l), QStringList({ "ccc", "BB", "a", "b" }));
    EXPECT_THROW(l.Strings(4), EStringListError);
    EXPECT_THROW(l.Delete(-1), EStringListError);
    EXPECT_THROW(l.Exchange(0, 9), EStringListError);
}

TEST(StringListValues, NamesValuesAndSeparator)
{
    TStringList l;
    Fill(l, { "a=1", "B=2=3", "plain", "=x" });
    EXPECT_EQ(l.Names(0), "a");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.Values("b"), "2=3");
    EXPECT_EQ(l.Values("missing"), "");
    EXPECT_EQ(l.ValueFromIndex(2), "");
    EXPECT_EQ(l.ValueFromIndex(3), "x");
    EXPECT_EQ(l.IndexOfName("A"), 0);
    EXPECT_EQ(l.IndexOfName("plain"), -1);

    l.SetValues("c", "3");
    l.SetValues("a", "10");
    l.SetValues("B", "");
    EXPECT_EQ(Items(l), QStringList({ "a=10", "plain", "=x", "c=3" }));
    l.SetValueFromIndex(3, "4");
    EXPECT_EQ(l.Strings(3), "c=4");

    l.SetNameValueSeparator(QLatin1Char(':'));
    Fill(l, { "k:v=w" });
    EXPECT_EQ(l.Values("k"), "v=w");
}

TEST(StringListObjects, OwnedObjectsAreFreedWithTheirItemsOnly)
{
    Counted::Alive = 0;
    {
        TStringList owned(true);
        owned.AddObject("a", new Counted);
        owned.AddObject("b", new Counted);
        owned.AddObject("c", new Counted);
        TObject* b = owned.Objects(1);
        owned.Move(1, 2);
        EXPECT_EQ(Counted::Alive, 3); // moving keeps the object
        EXPECT_EQ(owned.Objects(2), b);
        EXPECT_EQ(owned.IndexOfObject(b), 2);
        owned.Delete(0);
        EXPECT_EQ(Counted::Alive, 2);

        // A copy refers to the same objects without owning them.
        TStringList copy;
        copy.Assign(&owned);
        EXPECT_TRUE(copy.Equals(&owned));
        copy.Clear();
        EXPECT_EQ(Counted::Alive, 2);
    }
    EXPECT_EQ(Counted::Alive, 0);

    Counted keep;
    {
        TStringList notOwned;
        notOwned.AddObject("k", &keep);
        notOwned.Delete(0);
    }
    EXPECT_EQ(Counted::Alive, 1);
}

TEST(StringListEvents, UpdatesBatchChangeNotifications)
{
    TStringList l;
    int changing = 0;
    int changed = 0;
    l.OnChanging = [&](TObject*) { ++changing; };
    l.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &l);
        ++changed;
    };
    l.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);

    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.Delete(0);
    EXPECT_EQ(changed, 1);
    l.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);

    l.SetText("x\r\ny"); // one notification for the whole text
    EXPECT_EQ(changed, 3);
}

TEST(StringListAssign, CopiesItemsAndSettingsAndSurvivesSelfAssign)
{
    TStringList src;
    src.SetDelimiter(QLatin1Char(';'));
    Fill(src, { "one", "two" });
    TStringList dst;
    dst.Add("old");
    dst.Assign(&src);
    EXPECT_EQ(Items(dst), QStringList({ "one", "two" }));
    EXPECT_EQ(dst.DelimitedText(), "one;two");
    dst.Assign(&dst);
    EXPECT_EQ(dst.Count(), 2);
    dst.AddStrings(&dst);
    EXPECT_EQ(Items(dst), QStringList({ "one", "two", "one", "two" }));
    EXPECT_FALSE(dst.Equals(&src));
}

TEST(StringListFiles, LoadFollowsByteOrderMarkElseWindows1252)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
        TTextEncoding encoding;
    };
    const QString umlaut = QString::fromUtf8("\xC3\xA4\xE2\x82\xAC"); // "ä€"
    const Case cases[] = {
        { "utf8", QByteArray("\xEF\xBB\xBF\xC3\xA4\xE2\x82\xAC\r\nb\r\n"), { umlaut, "b" }, TTextEncoding::UTF8 },
        { "utf16le", QByteArray("\xFF\xFE\xE4\x00\xAC\x20\r\x00\n\x00", 10), { umlaut }, TTextEncoding::UTF16LE },
        { "utf16be", QByteArray("\xFE\xFF\x00\xE4\x20\xAC\x00\n\x00x", 10), { umlaut, "x" }, TTextEncoding::UTF16BE },
        // 0x80 is the euro sign, 0x9F Y with diaeresis; 0x81 is undefined and
        // keeps its value.
        { "ansi", QByteArray("\xE4\x80\n\x9F\x81"), { umlaut, QString(QChar(0x178)) + QChar(0x81) },
            TTextEncoding::Ansi },
    };
    const QString dir = testutil::TempDir();
    for (const Case& c : cases) {
        const QString path = dir + "/" + c.name + ".txt";
        WriteFile(path, c.bytes);
        TStringList l;
        l.LoadFromFile(path);
        EXPECT_EQ(Items(l), c.lines) << c.name;
        EXPECT_EQ(l.Encoding(), c.encoding) << c.name;

        // Saving again keeps the encoding the file was read in.
        const QString again = dir + "/" + c.name + "-again.txt";
        l.SaveToFile(again);
        TStringList back;
        back.LoadFromFile(again);
        EXPECT_EQ(Items(back), c.lines) << c.name;
        EXPECT_EQ(ReadFile(again).left(2), c.bytes.left(2)) << c.name;
    }

    // ANSI cannot hold Cyrillic: it becomes "?".
    TStringList l;
    l.Add(QString::fromUtf8("\xD0\x96") + umlaut);
    l.SaveToFile(dir + "/ansi-out.txt", TTextEncoding::Ansi);
    EXPECT_EQ(ReadFile(dir + "/ansi-out.txt"), QByteArray("?\xE4\x80\r\n"));
    l.SaveToFile(dir + "/utf16-out.txt", TTextEncoding::UTF16LE);
    EXPECT_TRUE(ReadFile(dir + "/utf16-out.txt").startsWith("\xFF\xFE\x16\x04"));
}

TEST(StringListFiles, FailuresRaiseWithThePathAndKeepTheOldFile)
{
    const QString dir = testutil::TempDir();
    TStringList l;
    try {
        l.LoadFromFile(dir + "/missing.txt");
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().contains("missing.txt"));
    }

    const QString target = dir + "/keep.txt";
    WriteFile(target, "old");
    WriteFile(dir + "/afile", "x");
    l.Add("new");
    EXPECT_THROW(l.SaveToFile(dir + "/no/such/folder/keep.txt"), EFCreateError);
    EXPECT_THROW(l.SaveToFile(dir + "/afile/keep.txt"), EFCreateError);
    EXPECT_EQ(ReadFile(target), "old");
}

TEST(StringListStreams, SaveAndLoadAtThePosition)
{
    TMemoryStream ms;
    ms.WriteBuffer(QByteArray("HDR"));
    TStringList l;
    Fill(l, { "a", "b" });
    l.SaveToStream(&ms, TTextEncoding::UTF16LE);
    EXPECT_EQ(ms.Bytes(),
        QByteArray("HDR\xFF\xFE"
                   "a\0\r\0\n\0b\0\r\0\n\0",
            17));
    ms.SetPosition(3);
    TStringList back;
    back.LoadFromStream(&ms);
    EXPECT_EQ(Items(back), QStringList({ "a", "b" }));
    EXPECT_EQ(back.Encoding(), TTextEncoding::UTF16LE);
}

TEST(Streams, MemoryStreamReadWriteSeek)
{
    TMemoryStream ms;
    EXPECT_EQ(ms.Write("abcdef", 6), 6);
    EXPECT_EQ(ms.Seek(-2, soEnd), 4);
    char buf[8] = {};
    EXPECT_EQ(ms.Read(buf, 8), 2);
    EXPECT_EQ(QByteArray(buf, 2), "ef");
    EXPECT_THROW(ms.ReadBuffer(buf, 1), EReadError);

    // Writing past the end fills the gap with zeros.
    ms.SetPosition(8);
    ms.WriteBuffer("Z", 1);
    EXPECT_EQ(ms.Bytes(), QByteArray("abcdef\0\0Z", 9));
    ms.SetSize(3);
    EXPECT_EQ(ms.Position(), 3);
    EXPECT_EQ(ms.Bytes(), "abc");
    // A position before the start reads and writes nothing.
    ms.Seek(-10, soCurrent);
    EXPECT_EQ(ms.Read(buf, 1), 0);
    EXPECT_THROW(ms.WriteBuffer("x", 1), EWriteError);

    TMemoryStream copy;
    ms.SetPosition(1);
    EXPECT_EQ(copy.CopyFrom(&ms, 0), 3); // 0 copies the whole source
    EXPECT_EQ(copy.Bytes(), "abc");
    ms.SetPosition(1);
    copy.Clear();
    EXPECT_EQ(copy.CopyFrom(&ms, 2), 2);
    EXPECT_EQ(copy.Bytes(), "bc");
    EXPECT_THROW(copy.CopyFrom(&ms, 5), EReadError);
}

TEST(Streams, MemoryStreamFiles)
{
    const QString dir = testutil::TempDir();
    TMemoryStream ms;
    ms.WriteBuffer(QByteArray("\x00\x01\xFF", 3));
    ms.SaveToFile(dir + "/m.bin");
    TMemoryStream back;
    back.LoadFromFile(dir + "/m.bin");
    EXPECT_EQ(back.Bytes(), QByteArray("\x00\x01\xFF", 3));
    EXPECT_EQ(back.Position(), 0);
    EXPECT_THROW(back.LoadFromFile(dir + "/none.bin"), EFOpenError);
    EXPECT_THROW(ms.SaveToFile(dir + "/none/m.bin"), EFCreateError);
    EXPECT_EQ(ReadFile(dir + "/m.bin"), QByteArray("\x00\x01\xFF", 3));
}

TEST(Streams, FileStreamModes)
{
    const QString dir = testutil::TempDir();
    const QString path = dir + "/f.bin";
    {
        TFileStream fs(path, fmCreate | fmShareExclusive);
        fs.WriteBuffer(QByteArray("hello world"));
        EXPECT_EQ(fs.Size(), 11);
    }
    {
        // Opening for writing keeps the contents.
        TFileStream fs(path, fmOpenWrite | fmShareDenyNone);
        fs.Seek(6, soBeginning);
        fs.WriteBuffer(QByteArray("WORLD"));
    }
    {
        TFileStream fs(path, fmOpenRead);
        EXPECT_EQ(fs.ReadRemaining(), "hello WORLD");
        EXPECT_EQ(fs.Write("x", 1), 0);
    }
    {
        TFileStream fs(path, fmOpenReadWrite);
        fs.Seek(0, soEnd);
        fs.SetSize(5);
        EXPECT_EQ(fs.Position(), 5);
    }
    EXPECT_EQ(ReadFile(path), "hello");

    struct Case {
        QString path;
        unsigned mode;
        bool create;
    };
    const Case failures[] = {
        { dir + "/missing.bin", fmOpenRead, false },
        { dir + "/missing.bin", fmOpenReadWrite, false },
        { dir + "/no/dir.bin", fmCreate, true },
        { dir, fmOpenRead, false },
    };
    for (const Case& c : failures) {
        try {
            TFileStream fs(c.path, c.mode);
            ADD_FAILURE() << "opened " << c.path.toStdString();
        } catch (const EFCreateError& e) {
            EXPECT_TRUE(c.create);
            EXPECT_TRUE(e.Message().contains(c.path));
        } catch (const EFOpenError& e) {
            EXPECT_FALSE(c.create);
            EXPECT_TRUE(e.Message().contains(c.path));
        }
    }
    EXPECT_FALSE(QFile::exists(dir + "/missing.bin"));
}

TEST(Streams, StringStream)
{
    const QString text = QString::fromUtf8("a\xE2\x82\xAC");
    TStringStream utf8(text);
    EXPECT_EQ(utf8.Size(), 4);
    EXPECT_EQ(utf8.DataString(), text);
    utf8.Seek(0, soEnd);
    utf8.WriteString("z");
    utf8.SetPosition(1);
    EXPECT_EQ(utf8.ReadString(3), QString::fromUtf8("\xE2\x82\xAC"));
    EXPECT_EQ(utf8.DataString(), text + "z");

    TStringStream ansi(text, TTextEncoding::Ansi);
    EXPECT_EQ(ansi.Bytes(), "a\x80");
    EXPECT_EQ(ansi.DataString(), text);
}
