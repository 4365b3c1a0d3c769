#pragma once
// Files and folders, text file encodings and the atomic save that every file
// writer of the tool goes through.

#include "platform/runtime/Types.h"

#include <QByteArray>
#include <QList>
#include <QString>

// ---------------------------------------------------------------------------
// Atomic save

// Outcome of a save: the tool reports a failed save to the user, so the error
// travels as a value with its message instead of an exception.
struct TSaveResult {
    bool Ok = false;
    QString Error;
    explicit operator bool() const { return Ok; }
};

// Writes the bytes beside the target and renames the result over it, so the
// file is written whole or not at all and the previous file stays intact on
// any failure (a full disk included). Never throws.
TSaveResult SaveFileAtomic(const QString& Path, const QByteArray& Bytes) noexcept;

// ---------------------------------------------------------------------------
// Whole-file reading

// Outcome of a read: the bytes, or the reason they could not be had.
struct TReadResult {
    bool Ok = false;
    QByteArray Bytes;
    QString Error; // the reason only; each reader names the file its own way
    explicit operator bool() const { return Ok; }
};

// Reads a whole file. Only regular files are read: a FIFO or a device in
// place of a settings or language file is refused ("Not a regular file")
// instead of blocking the start, and a file larger than the read limit is
// refused ("File too large") instead of filling memory. Never throws.
TReadResult ReadFileBytes(const QString& Path) noexcept;
// The largest file ReadFileBytes accepts: 64 MiB unless set otherwise.
qint64 FileReadLimit();
void SetFileReadLimit(qint64 Bytes);

// ---------------------------------------------------------------------------
// Text encodings

// Ansi is Windows-1252. UTF8 and UTF16LE/UTF16BE are written with their
// byte-order mark, UTF8NoBOM without.
enum class TTextEncoding { Ansi, UTF8, UTF8NoBOM, UTF16LE, UTF16BE };

// Windows-1252 both ways. The five bytes that code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the characters of the same value, so
// any byte sequence survives a read and a write back unchanged. Characters the
// code page cannot hold are written as "?".
QString AnsiToUnicode(const QByteArray& Bytes);
QByteArray UnicodeToAnsi(const QString& Text);

// Decodes file bytes: a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE
// (and is not part of the text); without one the bytes are read in Fallback.
// Detected receives the encoding used (the fallback when there is no mark).
QString DecodeText(
    const QByteArray& Bytes, TTextEncoding Fallback = TTextEncoding::Ansi, TTextEncoding* Detected = nullptr);
// Encodes text, with the byte-order mark of the encoding when it has one.
QByteArray EncodeText(const QString& Text, TTextEncoding Encoding);
// The byte-order mark written for an encoding (empty for Ansi and UTF8NoBOM).
QByteArray EncodingPreamble(TTextEncoding Encoding);

// Reads a whole text file (through ReadFileBytes) as DecodeText does; raises
// EFOpenError with the path and the reason when the file cannot be read.
QString LoadTextFile(
    const QString& Path, TTextEncoding Fallback = TTextEncoding::Ansi, TTextEncoding* Detected = nullptr);
// Writes a whole text file atomically.
TSaveResult SaveTextFile(const QString& Path, const QString& Text, TTextEncoding Encoding);

// Writes a large text file piece by piece, each piece encoded as it comes, so
// the whole text and its encoded copy are never held at once. Like
// SaveFileAtomic it writes beside the target and renames only on Commit: the
// target is replaced whole or not at all, and a writer destroyed without a
// successful Commit leaves it as it was. Never throws.
class TTextFileWriter {
public:
    TTextFileWriter(const QString& Path, TTextEncoding Encoding) noexcept;
    ~TTextFileWriter();
    TTextFileWriter(const TTextFileWriter&) = delete;
    TTextFileWriter& operator=(const TTextFileWriter&) = delete;

    // Writers append to a text of their own and hand it here as they go: once
    // it holds a good amount it is written and emptied. A high surrogate at
    // its end stays for its pair.
    void Feed(QString& Text) noexcept
    {
        if (Text.size() >= ChunkSize)
            Write(Text);
    }
    void Write(QString& Text) noexcept;
    // Writes what is left and puts the file in place of the target.
    TSaveResult Commit(QString& Rest) noexcept;

    static constexpr qsizetype ChunkSize = 1 << 18;

private:
    void Fail(const QString& Why, int SystemError) noexcept;
    struct TImpl;
    TImpl* FImpl;
};

// ---------------------------------------------------------------------------
// Files and folders. Paths are joined with "/"; names keep their case.

bool FileExists(const QString& FileName); // a regular file (not a folder)
bool DirectoryExists(const QString& Directory); // a folder
bool CreateDir(const QString& Directory); // one level; false when it exists or fails
bool ForceDirectories(const QString& Directory); // with missing parents; true when it exists after
bool RemoveDir(const QString& Directory); // an empty folder only
bool DeleteFile(const QString& FileName);
bool RenameFile(const QString& OldName, const QString& NewName); // false when NewName exists
qint64 FileSize(const QString& FileName); // -1 when there is no such file
// Last modification time in local time; false (and Age untouched) when missing.
bool FileAge(const QString& FileName, TDateTime& Age);
// Last modification time, or 0 when the file does not exist.
TDateTime FileDateTime(const QString& FileName);
QString GetCurrentDir();
// Folder + "/" + name, with exactly one separator between them.
QString JoinPath(const QString& Folder, const QString& Name);

// One entry of a folder listing.
struct TFileEntry {
    QString Name;
    qint64 Size = 0;
    TDateTime Time = 0;
    bool Directory = false;
    bool ReadOnly = false; // nobody may write it
    bool Hidden = false; // a name that starts with "."
};

// The entries of a folder ("." and ".." left out) whose names match the
// wildcard mask ("*", "?"; letter case ignored as on the tool's home system),
// in the order the file system returns them. A missing folder lists nothing.
QList<TFileEntry> ListDirectory(const QString& Directory, const QString& Mask = QStringLiteral("*"));
