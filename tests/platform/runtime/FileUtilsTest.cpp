#include "platform/runtime/FileUtils.h"

#include "common/TestFiles.h"
#include "common/TestUtil.h"
#include "platform/runtime/Exceptions.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using testutil::ReadFile;
using testutil::WriteFile;

} // namespace

TEST(AtomicSave, WritesWholeFileAndReportsFailuresAsValues)
{
    const QString dir = testutil::TempDir();
    const QString target = dir + "/data.bin";
    WriteFile(target, "old contents");
    WriteFile(dir + "/plainfile", "x");

    TSaveResult ok = SaveFileAtomic(target, "new");
    EXPECT_TRUE(ok.Ok);
    EXPECT_EQ(ReadFile(target), "new");
    // Nothing is left beside the target.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 2);

    const QString bad[] = { dir + "/missing/data.bin", dir + "/plainfile/data.bin", dir, QString() };
    for (const QString& path : bad) {
        const TSaveResult r = SaveFileAtomic(path, "x");
        EXPECT_FALSE(r) << path.toStdString();
        EXPECT_FALSE(r.Error.isEmpty());
        if (!path.isEmpty()) {
            EXPECT_TRUE(r.Error.contains(path)) << r.Error.toStdString();
        }
    }
    EXPECT_EQ(ReadFile(target), "new");
}

#ifdef Q_OS_UNIX
// A write that fails (here: the file size limit, standing in for a full disk)
// is an error and leaves the previous file as it was, whether the bytes fail
// at once, half way, or only when a file small enough to sit in the write
// buffer is flushed at the commit.
TEST(AtomicSave, FailedWriteKeepsThePreviousFile)
{
    struct Case {
        qsizetype size;
        rlim_t limit;
    };
    const Case cases[] = { { 5, 0 }, { 8 * 1024, 0 }, { 8 * 1024, 4096 }, { 64 * 1024, 4096 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes, limit " << c.limit);
        const QString dir = testutil::TempDir();
        const QString target = dir + "/Morvantile.xml";
        WriteFile(target, "previous");
        TSaveResult r;
        {
            testutil::FileSizeLimit full(c.limit);
            r = SaveFileAtomic(target, QByteArray(c.size, 'x'));
        }
        EXPECT_FALSE(r);
        EXPECT_TRUE(r.Error.contains(target)) << r.Error.toStdString();
        EXPECT_EQ(ReadFile(target), "previous");
        // The temporary file is gone too.
        EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList { "Morvantile.xml" });
    }
}

// A text written in pieces is the same file as the text encoded whole, in
// every encoding, even where a character of two UTF-16 units is cut between
// two pieces.
TEST(TextFileWriter, PiecesGiveTheBytesOfTheWholeText)
{
    const QString pair = QString::fromUcs4(U"\U0001F600");
    QString whole;
    while (whole.size() < TTextFileWriter::ChunkSize + 20)
        whole += QStringLiteral("a\u00e9\u20ac;") + pair;
    // The cut falls between the two halves of a pair.
    const qsizetype cut = whole.indexOf(pair, TTextFileWriter::ChunkSize) + 1;
    const TTextEncoding encodings[] = { TTextEncoding::Ansi, TTextEncoding::UTF8, TTextEncoding::UTF8NoBOM,
        TTextEncoding::UTF16LE, TTextEncoding::UTF16BE };
    for (const TTextEncoding enc : encodings) {
        SCOPED_TRACE(int(enc));
        const QString path = testutil::TempDir() + "/t.txt";
        TTextFileWriter w(path, enc);
        QString piece = whole.left(cut);
        w.Feed(piece);
        EXPECT_LE(piece.size(), 1); // written, the half pair kept back
        piece += whole.mid(cut);
        ASSERT_TRUE(w.Commit(piece));
        EXPECT_EQ(ReadFile(path), EncodeText(whole, enc));
    }
}

#ifdef Q_OS_UNIX
// The target changes only on a successful commit: a writer dropped half way
// (a reader's exception) or one whose writes fail leaves it as it was.
TEST(TextFileWriter, TargetReplacedOnlyByACommit)
{
    const QString dir = testutil::TempDir();
    const QString target = dir + "/grid.csv";
    WriteFile(target, "previous");
    {
        TTextFileWriter w(target, TTextEncoding::UTF8);
        QString text(TTextFileWriter::ChunkSize, u'x');
        w.Feed(text);
    }
    EXPECT_EQ(ReadFile(target), "previous");
    TSaveResult r;
    {
        testutil::FileSizeLimit full(4096);
        TTextFileWriter w(target, TTextEncoding::Ansi);
        QString text(TTextFileWriter::ChunkSize, u'x');
        w.Feed(text);
        text = QStringLiteral("end");
        r = w.Commit(text);
    }
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.Error.contains(target)) << r.Error.toStdString();
    EXPECT_EQ(ReadFile(target), "previous");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList { "grid.csv" });

    TTextFileWriter none(dir + "/no/such/folder/x.csv", TTextEncoding::UTF8);
    QString text = QStringLiteral("x");
    const TSaveResult missing = none.Commit(text);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.Error.contains("x.csv")) << missing.Error.toStdString();
}
#endif

// Readers take regular files only, up to the read limit: a FIFO without a
// writer would block the caller for good.
TEST(FileReading, OnlyRegularFilesUpToTheLimit)
{
    const QString dir = testutil::TempDir();
    testutil::MakeFifo(dir + "/fifo.txt");
    WriteFile(dir + "/ten.txt", "0123456789");

    TReadResult r = ReadFileBytes(dir + "/ten.txt");
    ASSERT_TRUE(r);
    EXPECT_EQ(r.Bytes, "0123456789");

    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        { dir + "/fifo.txt", "Not a regular file" },
        { "/dev/null", "Not a regular file" },
        { dir, "Is a directory" },
        // The system's own reason, in the user's language.
        { dir + "/none.txt", QString::fromLocal8Bit(std::strerror(ENOENT)) },
        { QString(), "No file name" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        r = ReadFileBytes(c.path);
        EXPECT_FALSE(r);
        EXPECT_TRUE(r.Bytes.isEmpty());
        EXPECT_TRUE(r.Error.contains(c.reason)) << r.Error.toStdString();
        // The text reader raises its usual error, with the path and the reason.
        try {
            LoadTextFile(c.path);
            ADD_FAILURE() << "no error raised";
        } catch (const EFOpenError& e) {
            EXPECT_TRUE(e.Message().contains(c.path) && e.Message().contains(c.reason)) << e.Message().toStdString();
        }
    }

    EXPECT_EQ(FileReadLimit(), 64 * 1024 * 1024);
    {
        testutil::ReadLimit limit(10);
        EXPECT_TRUE(ReadFileBytes(dir + "/ten.txt")); // at the limit
    }
    testutil::ReadLimit limit(9);
    r = ReadFileBytes(dir + "/ten.txt");
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.Error.contains("too large")) << r.Error.toStdString();
    EXPECT_THROW(LoadTextFile(dir + "/ten.txt"), EFOpenError);
}
#endif

TEST(Windows1252, EveryByteSurvivesAReadAndAWriteBack)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = AnsiToUnicode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(UnicodeToAnsi(text), all);

    struct Case {
        unsigned char byte;
        char16_t ch;
    };
    const Case table[] = { { 0x41, 0x41 }, { 0x80, 0x20AC }, { 0x81, 0x81 }, { 0x8A, 0x160 }, { 0x8D, 0x8D },
        { 0x92, 0x2019 }, { 0x99, 0x2122 }, { 0x9F, 0x178 }, { 0xA0, 0xA0 }, { 0xE9, 0xE9 }, { 0xFF, 0xFF } };
    for (const Case& c : table)
        EXPECT_EQ(text[c.byte].unicode(), c.ch) << int(c.byte);

    // Characters outside the code page, a surrogate pair included, become one
    // "?" each; C1 controls that the code page replaces are no longer its own.
    const QString foreign = QString::fromUtf8("\xD0\x96\xF0\x9F\x98\x80") + QChar(0x80) + "a";
    EXPECT_EQ(UnicodeToAnsi(foreign), "???a");
}

TEST(TextEncoding, MarksAreWrittenAndDetected)
{
    const QString text = QString::fromUtf8("\xC3\xA4z");
    struct Case {
        TTextEncoding enc;
        QByteArray bytes;
    };
    const Case cases[] = {
        { TTextEncoding::Ansi, QByteArray("\xE4z") },
        { TTextEncoding::UTF8, QByteArray("\xEF\xBB\xBF\xC3\xA4z") },
        { TTextEncoding::UTF8NoBOM, QByteArray("\xC3\xA4z") },
        { TTextEncoding::UTF16LE, QByteArray("\xFF\xFE\xE4\x00z\x00", 6) },
        { TTextEncoding::UTF16BE, QByteArray("\xFE\xFF\x00\xE4\x00z", 6) },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeText(text, c.enc), c.bytes) << int(c.enc);
        TTextEncoding detected = TTextEncoding::Ansi;
        // Without a mark the caller's fallback decides.
        EXPECT_EQ(DecodeText(c.bytes, c.enc, &detected), text) << int(c.enc);
        EXPECT_EQ(detected, c.enc);
    }
    // An odd trailing byte of UTF-16 is dropped rather than read past.
    EXPECT_EQ(DecodeText(QByteArray("\xFF\xFEz\x00q", 5)), "z");

    // Only the first mark is one: a text that itself opens with U+FEFF keeps
    // it through a write and a read in every encoding with a mark.
    const QString opensWithMark = QChar(0xFEFF) + QStringLiteral("a");
    for (TTextEncoding enc : { TTextEncoding::UTF8, TTextEncoding::UTF16LE, TTextEncoding::UTF16BE })
        EXPECT_EQ(DecodeText(EncodeText(opensWithMark, enc)), opensWithMark) << int(enc);
}

TEST(TextFiles, LoadAndSave)
{
    const QString dir = testutil::TempDir();
    ASSERT_TRUE(SaveTextFile(dir + "/t.txt", "line\r\n", TTextEncoding::UTF8));
    TTextEncoding enc = TTextEncoding::Ansi;
    EXPECT_EQ(LoadTextFile(dir + "/t.txt", TTextEncoding::Ansi, &enc), "line\r\n");
    EXPECT_EQ(enc, TTextEncoding::UTF8);
    EXPECT_THROW(LoadTextFile(dir + "/none.txt"), EFOpenError);
    EXPECT_THROW(LoadTextFile(dir), EFOpenError);
}

TEST(Folders, CreateRemoveRenameAndQuery)
{
    const QString dir = testutil::TempDir();
    const QString nested = dir + "/PROJECTS/One/bin";
    EXPECT_FALSE(CreateDir(nested)); // one level only
    EXPECT_TRUE(ForceDirectories(nested));
    EXPECT_TRUE(ForceDirectories(nested)); // already there
    EXPECT_TRUE(DirectoryExists(nested));
    EXPECT_FALSE(FileExists(nested));
    EXPECT_FALSE(CreateDir(nested)); // exists
    EXPECT_TRUE(CreateDir(dir + "/PROJECTS/Two"));
    EXPECT_TRUE(QFileInfo(dir + "/PROJECTS").fileName() == "PROJECTS"); // case kept

    const QString file = JoinPath(nested, "bank1.bin");
    EXPECT_EQ(file, nested + "/bank1.bin");
    WriteFile(file, "12345");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_EQ(FileSize(file), 5);
    EXPECT_EQ(FileSize(file + ".none"), -1);
    EXPECT_FALSE(ForceDirectories(file + "/sub")); // a file is in the way

    EXPECT_FALSE(RemoveDir(nested)); // not empty
    EXPECT_TRUE(RenameFile(file, nested + "/bank2.bin"));
    WriteFile(file, "x");
    EXPECT_FALSE(RenameFile(file, nested + "/bank2.bin")); // target exists
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(DeleteFile(nested)); // not a file
    EXPECT_TRUE(DeleteFile(nested + "/bank2.bin"));
    EXPECT_TRUE(RemoveDir(nested));
    EXPECT_FALSE(DirectoryExists(nested));

    EXPECT_EQ(JoinPath("a/", "/b"), "a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
    EXPECT_EQ(JoinPath("/", "b"), "/b");
    EXPECT_EQ(GetCurrentDir(), QDir::currentPath());
}

TEST(Folders, FileAgeIsLocalTimeAsDays)
{
    const QString file = testutil::TempDir() + "/age.txt";
    TDateTime age = -1;
    EXPECT_FALSE(FileAge(file, age));
    EXPECT_EQ(age, -1);
    EXPECT_EQ(FileDateTime(file), 0);
    WriteFile(file, "x");
    ASSERT_TRUE(FileAge(file, age));
    const QDateTime now = QDateTime::currentDateTime();
    const double nowDays = QDate(1899, 12, 30).daysTo(now.date()) + now.time().msecsSinceStartOfDay() / 86400000.0;
    EXPECT_NEAR(age, nowDays, 1.0 / 24 / 60); // within a minute
    EXPECT_EQ(FileDateTime(file), age);
}

TEST(Folders, ListingWithMaskAndAttributes)
{
    const QString dir = testutil::TempDir();
    WriteFile(dir + "/English.lng", "abc");
    WriteFile(dir + "/German.LNG", "");
    WriteFile(dir + "/English.bmp", "");
    WriteFile(dir + "/.hidden.lng", "");
    ASSERT_TRUE(CreateDir(dir + "/sub.lng"));
    QFile::setPermissions(dir + "/German.LNG", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    QMap<QString, TFileEntry> byName;
    for (const TFileEntry& e : ListDirectory(dir, "*.lng"))
        byName.insert(e.Name, e);
    EXPECT_EQ(byName.keys(), QStringList({ ".hidden.lng", "English.lng", "German.LNG", "sub.lng" }));
    EXPECT_EQ(byName["English.lng"].Size, 3);
    EXPECT_FALSE(byName["English.lng"].ReadOnly);
    EXPECT_TRUE(byName["German.LNG"].ReadOnly);
    EXPECT_TRUE(byName[".hidden.lng"].Hidden);
    EXPECT_FALSE(byName["English.lng"].Hidden);
    EXPECT_TRUE(byName["sub.lng"].Directory);
    EXPECT_FALSE(byName["English.lng"].Directory);
    EXPECT_GT(byName["English.lng"].Time, 40000.0);

    EXPECT_EQ(ListDirectory(dir).size(), 5); // no "." or ".."
    EXPECT_EQ(ListDirectory(dir, "Eng?ish.*").size(), 2);
    EXPECT_TRUE(ListDirectory(dir + "/none").isEmpty());
}
