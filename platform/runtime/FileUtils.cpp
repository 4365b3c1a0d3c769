#include "platform/runtime/FileUtils.h"

#include "platform/runtime/Exceptions.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// ---------------------------------------------------------------------------
// Atomic save

namespace {

// Why a write failed, from the error the system gave: a full disk is named as
// such. Qt reports a write that stopped short with no error of its own.
QString WriteFailure(const QFileDevice& f, int systemError)
{
#ifdef Q_OS_UNIX
    if (systemError == ENOSPC)
        return QStringLiteral("The disk is full");
    if (systemError == EDQUOT)
        return QStringLiteral("The disk quota is used up");
#endif
    if (f.error() != QFileDevice::NoError)
        return f.errorString();
    return systemError != 0 ? QString::fromLocal8Bit(std::strerror(systemError)) : QStringLiteral("Unknown error");
}

// Writes all bytes; a write that takes only part of them is followed by one
// for the rest, which names the reason it stopped.
bool WriteAll(QSaveFile& f, const QByteArray& Bytes, int& systemError)
{
    qint64 done = 0;
    while (done < Bytes.size()) {
        errno = 0;
        const qint64 n = f.write(Bytes.constData() + done, Bytes.size() - done);
        systemError = errno;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

TSaveResult SaveFileAtomic(const QString& Path, const QByteArray& Bytes) noexcept
{
    TSaveResult r;
    try {
        if (Path.isEmpty()) {
            r.Error = QStringLiteral("No file name given");
            return r;
        }
        QSaveFile f(Path);
        if (!f.open(QIODevice::WriteOnly)) {
            r.Error = QStringLiteral("Cannot create file \"%1\". %2").arg(Path, f.errorString());
            return r;
        }
        // A small file stays in the write buffer until the commit, which would
        // rename the empty temporary file over the target even when the last
        // write fails (a full disk): flush and check before committing.
        int systemError = 0;
        bool written = WriteAll(f, Bytes, systemError);
        if (written) {
            errno = 0;
            written = f.flush() && f.error() == QFileDevice::NoError;
            systemError = errno;
        }
        if (!written) {
            r.Error = QStringLiteral("Cannot write file \"%1\". %2").arg(Path, WriteFailure(f, systemError));
            f.cancelWriting();
            return r;
        }
        errno = 0;
        if (!f.commit()) {
            r.Error = QStringLiteral("Cannot write file \"%1\". %2").arg(Path, WriteFailure(f, errno));
            return r;
        }
        r.Ok = true;
    } catch (...) {
        r.Ok = false;
        r.Error = QStringLiteral("Cannot write file \"%1\"").arg(Path);
    }
    return r;
}

// ---------------------------------------------------------------------------
// Whole-file reading

namespace {

std::atomic<qint64> gFileReadLimit { qint64(64) * 1024 * 1024 };

QString TooLarge(qint64 Limit)
{
    return QStringLiteral("File too large (more than %1 bytes)").arg(Limit);
}

} // namespace

qint64 FileReadLimit()
{
    return gFileReadLimit.load();
}

void SetFileReadLimit(qint64 Bytes)
{
    gFileReadLimit.store(std::max<qint64>(0, Bytes));
}

TReadResult ReadFileBytes(const QString& Path) noexcept
{
    TReadResult r;
    try {
        if (Path.isEmpty()) {
            r.Error = QStringLiteral("No file name given");
            return r;
        }
        const qint64 limit = FileReadLimit();
#ifdef Q_OS_UNIX
        // Opened without blocking and checked on the open handle, so that a FIFO
        // without a writer cannot stall the caller, even when it replaced the
        // file after a look at the path.
        const QByteArray native = QFile::encodeName(Path);
        const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            r.Error = QString::fromLocal8Bit(std::strerror(errno));
            return r;
        }
        struct Closer {
            int fd;
            ~Closer() { ::close(fd); }
        } closer { fd };
        struct stat st { };
        if (::fstat(fd, &st) != 0) {
            r.Error = QString::fromLocal8Bit(std::strerror(errno));
            return r;
        }
        if (S_ISDIR(st.st_mode)) {
            r.Error = QStringLiteral("Is a directory");
            return r;
        }
        if (!S_ISREG(st.st_mode)) {
            r.Error = QStringLiteral("Not a regular file");
            return r;
        }
        if (st.st_size > limit) {
            r.Error = TooLarge(limit);
            return r;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        // One byte past the size seen, so that a file still growing is caught
        // at the limit rather than read without end.
        QByteArray bytes(qsizetype(std::min<qint64>(st.st_size, limit) + 1), Qt::Uninitialized);
        qsizetype used = 0;
        for (;;) {
            if (used == bytes.size()) {
                if (used > limit)
                    break;
                bytes.resize(qsizetype(std::min<qint64>(limit + 1, qint64(used) * 2 + 65536)));
            }
            const ssize_t n = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                r.Error = QString::fromLocal8Bit(std::strerror(errno));
                return r;
            }
            if (n == 0)
                break;
            used += n;
        }
        if (used > limit) {
            r.Error = TooLarge(limit);
            return r;
        }
        bytes.truncate(used);
        r.Bytes = std::move(bytes);
#else
        const QFileInfo fi(Path);
        if (fi.isDir()) {
            r.Error = QStringLiteral("Is a directory");
            return r;
        }
        if (fi.exists() && !fi.isFile()) {
            r.Error = QStringLiteral("Not a regular file");
            return r;
        }
        QFile f(Path);
        if (!f.open(QIODevice::ReadOnly)) {
            r.Error = f.errorString();
            return r;
        }
        if (f.size() > limit) {
            r.Error = TooLarge(limit);
            return r;
        }
        QByteArray bytes = f.read(limit + 1);
        if (f.error() != QFileDevice::NoError) {
            r.Error = f.errorString();
            return r;
        }
        if (bytes.size() > limit) {
            r.Error = TooLarge(limit);
            return r;
        }
        r.Bytes = std::move(bytes);
#endif
        r.Ok = true;
    } catch (...) {
        r = TReadResult();
        r.Error = QStringLiteral("Out of memory");
    }
    return r;
}

// ---------------------------------------------------------------------------
// Text encodings

namespace {

// Characters of bytes 0x80..0x9F in Windows-1252; 0 marks the five bytes the
// code page leaves undefined, which map to the character of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, //
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178, //
};

char AnsiByteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    if (c >= 0x80 && c <= 0x9F)
        return kCp1252High[c - 0x80] == 0 ? char(c) : '?';
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

QString DecodeUtf16(const QByteArray& Bytes, qsizetype Offset, bool BigEndian)
{
    const qsizetype n = (Bytes.size() - Offset) / 2;
    QString s(n, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const unsigned char*>(Bytes.constData()) + Offset;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char a = p[2 * i];
        const unsigned char b = p[2 * i + 1];
        s[i] = QChar(BigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a));
    }
    return s;
}

TDateTime ToDateTime(const QDateTime& dt)
{
    static const QDate kEpoch(1899, 12, 30);
    const QDateTime local = dt.toLocalTime();
    return double(kEpoch.daysTo(local.date())) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace

QString AnsiToUnicode(const QByteArray& Bytes)
{
    QString s(Bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < Bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(Bytes[i]);
        char16_t c = b;
        if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0)
            c = kCp1252High[b - 0x80];
        s[i] = QChar(c);
    }
    return s;
}

namespace {

// Windows-1252 bytes of a run of UTF-16 units; a pair of surrogates is one
// character (one "?").
void AppendAnsi(QByteArray& Out, const QChar* Data, qsizetype Count)
{
    const qsizetype base = Out.size();
    Out.resize(base + Count);
    char* dst = Out.data() + base;
    qsizetype n = 0;
    for (qsizetype i = 0; i < Count; ++i) {
        char32_t c = Data[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < Count && Data[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), Data[++i].unicode());
        dst[n++] = AnsiByteOf(c);
    }
    Out.resize(base + n);
}

// The encoded bytes of a run of text, without a byte-order mark.
void AppendEncoded(QByteArray& Out, const QChar* Data, qsizetype Count, TTextEncoding Encoding)
{
    switch (Encoding) {
    case TTextEncoding::Ansi:
        AppendAnsi(Out, Data, Count);
        break;
    case TTextEncoding::UTF8:
    case TTextEncoding::UTF8NoBOM:
        Out += QStringView(Data, Count).toUtf8();
        break;
    case TTextEncoding::UTF16LE:
    case TTextEncoding::UTF16BE: {
        const bool big = Encoding == TTextEncoding::UTF16BE;
        const qsizetype base = Out.size();
        Out.resize(base + 2 * Count);
        char* dst = Out.data() + base;
        for (qsizetype i = 0; i < Count; ++i) {
            const char16_t u = Data[i].unicode();
            dst[2 * i] = char(big ? (u >> 8) : (u & 0xFF));
            dst[2 * i + 1] = char(big ? (u & 0xFF) : (u >> 8));
        }
        break;
    }
    }
}

} // namespace

QByteArray UnicodeToAnsi(const QString& Text)
{
    QByteArray out;
    out.reserve(Text.size());
    AppendAnsi(out, Text.constData(), Text.size());
    return out;
}

QByteArray EncodingPreamble(TTextEncoding Encoding)
{
    switch (Encoding) {
    case TTextEncoding::UTF8:
        return QByteArray("\xEF\xBB\xBF", 3);
    case TTextEncoding::UTF16LE:
        return QByteArray("\xFF\xFE", 2);
    case TTextEncoding::UTF16BE:
        return QByteArray("\xFE\xFF", 2);
    default:
        return {};
    }
}

QString DecodeText(const QByteArray& Bytes, TTextEncoding Fallback, TTextEncoding* Detected)
{
    TTextEncoding enc = Fallback;
    qsizetype skip = 0;
    if (Bytes.startsWith("\xEF\xBB\xBF")) {
        enc = TTextEncoding::UTF8;
        skip = 3;
    } else if (Bytes.startsWith("\xFF\xFE")) {
        enc = TTextEncoding::UTF16LE;
        skip = 2;
    } else if (Bytes.startsWith("\xFE\xFF")) {
        enc = TTextEncoding::UTF16BE;
        skip = 2;
    }
    if (Detected)
        *Detected = enc;
    switch (enc) {
    case TTextEncoding::Ansi:
        return AnsiToUnicode(Bytes);
    case TTextEncoding::UTF8:
    case TTextEncoding::UTF8NoBOM: {
        // The mark is skipped above; a second one is a character of the text.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(QByteArrayView(Bytes).sliced(skip));
    }
    case TTextEncoding::UTF16LE:
        return DecodeUtf16(Bytes, skip, false);
    case TTextEncoding::UTF16BE:
        return DecodeUtf16(Bytes, skip, true);
    }
    return {};
}

QByteArray EncodeText(const QString& Text, TTextEncoding Encoding)
{
    QByteArray out = EncodingPreamble(Encoding);
    out.reserve(
        out.size() + Text.size() * (Encoding == TTextEncoding::UTF16LE || Encoding == TTextEncoding::UTF16BE ? 2 : 1));
    AppendEncoded(out, Text.constData(), Text.size(), Encoding);
    return out;
}

QString LoadTextFile(const QString& Path, TTextEncoding Fallback, TTextEncoding* Detected)
{
    const TReadResult r = ReadFileBytes(Path);
    if (!r)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(Path, r.Error));
    return DecodeText(r.Bytes, Fallback, Detected);
}

TSaveResult SaveTextFile(const QString& Path, const QString& Text, TTextEncoding Encoding)
{
    return SaveFileAtomic(Path, EncodeText(Text, Encoding));
}

// ---------------------------------------------------------------------------
// Text written piece by piece

struct TTextFileWriter::TImpl {
    QSaveFile File;
    TTextEncoding Encoding;
    QString Path;
    QString Error; // the first failure; nothing is written after it
    QByteArray Bytes;
    TImpl(const QString& P, TTextEncoding E)
        : File(P)
        , Encoding(E)
        , Path(P)
    {
    }
};

TTextFileWriter::TTextFileWriter(const QString& Path, TTextEncoding Encoding) noexcept
    : FImpl(nullptr)
{
    try {
        FImpl = new TImpl(Path, Encoding);
        if (Path.isEmpty())
            FImpl->Error = QStringLiteral("No file name given");
        else if (!FImpl->File.open(QIODevice::WriteOnly))
            FImpl->Error = QStringLiteral("Cannot create file \"%1\". %2").arg(Path, FImpl->File.errorString());
        else
            FImpl->Bytes = EncodingPreamble(Encoding);
    } catch (...) {
    }
}

TTextFileWriter::~TTextFileWriter()
{
    if (FImpl && FImpl->File.isOpen())
        FImpl->File.cancelWriting();
    delete FImpl;
}

void TTextFileWriter::Fail(const QString& Why, int SystemError) noexcept
{
    try {
        FImpl->Error = QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(FImpl->Path, Why.isEmpty() ? WriteFailure(FImpl->File, SystemError) : Why);
        FImpl->File.cancelWriting();
    } catch (...) {
    }
}

void TTextFileWriter::Write(QString& Text) noexcept
{
    if (!FImpl || !FImpl->Error.isEmpty()) {
        Text.clear();
        return;
    }
    try {
        qsizetype n = Text.size();
        // A pair split across two pieces would be encoded as two halves.
        const bool keepLast = n > 0 && Text.at(n - 1).isHighSurrogate();
        if (keepLast)
            --n;
        QByteArray& bytes = FImpl->Bytes;
        AppendEncoded(bytes, Text.constData(), n, FImpl->Encoding);
        int systemError = 0;
        if (!WriteAll(FImpl->File, bytes, systemError)) {
            Fail(QString(), systemError);
        }
        bytes.resize(0);
        if (keepLast)
            Text.remove(0, n);
        else
            Text.resize(0);
    } catch (...) {
        Fail(QStringLiteral("Out of memory"), 0);
        Text.clear();
    }
}

TSaveResult TTextFileWriter::Commit(QString& Rest) noexcept
{
    TSaveResult r;
    if (!FImpl) {
        r.Error = QStringLiteral("Out of memory");
        return r;
    }
    Write(Rest);
    if (!Rest.isEmpty()) {
        // A lone high surrogate at the very end: written as the encoders
        // write any lone surrogate.
        try {
            QByteArray& bytes = FImpl->Bytes;
            AppendEncoded(bytes, Rest.constData(), Rest.size(), FImpl->Encoding);
            int systemError = 0;
            if (FImpl->Error.isEmpty() && !WriteAll(FImpl->File, bytes, systemError))
                Fail(QString(), systemError);
        } catch (...) {
            Fail(QStringLiteral("Out of memory"), 0);
        }
        Rest.clear();
    }
    if (FImpl->Error.isEmpty()) {
        errno = 0;
        if (!FImpl->File.flush() || FImpl->File.error() != QFileDevice::NoError)
            Fail(QString(), errno);
    }
    if (!FImpl->Error.isEmpty()) {
        r.Error = FImpl->Error;
        return r;
    }
    errno = 0;
    if (!FImpl->File.commit()) {
        r.Error = QStringLiteral("Cannot write file \"%1\". %2").arg(FImpl->Path, WriteFailure(FImpl->File, errno));
        return r;
    }
    r.Ok = true;
    return r;
}

// ---------------------------------------------------------------------------
// Files and folders

bool FileExists(const QString& FileName)
{
    if (FileName.isEmpty())
        return false;
    const QFileInfo fi(FileName);
    return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& Directory)
{
    return !Directory.isEmpty() && QFileInfo(Directory).isDir();
}

bool CreateDir(const QString& Directory)
{
    if (Directory.isEmpty() || QFileInfo::exists(Directory))
        return false;
    return QDir().mkdir(Directory);
}

bool ForceDirectories(const QString& Directory)
{
    if (Directory.isEmpty())
        return false;
    if (DirectoryExists(Directory))
        return true;
    return QDir().mkpath(Directory) && DirectoryExists(Directory);
}

bool RemoveDir(const QString& Directory)
{
    return DirectoryExists(Directory) && QDir().rmdir(Directory);
}

bool DeleteFile(const QString& FileName)
{
    return FileExists(FileName) && QFile::remove(FileName);
}

bool RenameFile(const QString& OldName, const QString& NewName)
{
    if (OldName.isEmpty() || NewName.isEmpty() || !QFileInfo::exists(OldName) || QFileInfo::exists(NewName))
        return false;
    return QDir().rename(OldName, NewName);
}

qint64 FileSize(const QString& FileName)
{
    return FileExists(FileName) ? QFileInfo(FileName).size() : -1;
}

bool FileAge(const QString& FileName, TDateTime& Age)
{
    if (!FileExists(FileName))
        return false;
    Age = ToDateTime(QFileInfo(FileName).lastModified());
    return true;
}

TDateTime FileDateTime(const QString& FileName)
{
    TDateTime t = 0;
    return FileAge(FileName, t) ? t : 0;
}

QString GetCurrentDir()
{
    return QDir::currentPath();
}

QString JoinPath(const QString& Folder, const QString& Name)
{
    if (Folder.isEmpty())
        return Name;
    QString f = Folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    qsizetype start = 0;
    while (start < Name.size() && Name[start] == QLatin1Char('/'))
        ++start;
    if (f.endsWith(QLatin1Char('/')))
        return f + Name.mid(start);
    return f + QLatin1Char('/') + Name.mid(start);
}

QList<TFileEntry> ListDirectory(const QString& Directory, const QString& Mask)
{
    QList<TFileEntry> out;
    if (!DirectoryExists(Directory))
        return out;
    const QString mask = Mask.isEmpty() ? QStringLiteral("*") : Mask;
    const QRegularExpression re(
        QRegularExpression::wildcardToRegularExpression(mask, QRegularExpression::UnanchoredWildcardConversion),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(re.pattern()), re.patternOptions());
    QDirIterator it(Directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (!anchored.match(fi.fileName()).hasMatch())
            continue;
        TFileEntry e;
        e.Name = fi.fileName();
        e.Directory = fi.isDir();
        e.Size = e.Directory ? 0 : fi.size();
        e.Time = ToDateTime(fi.lastModified());
        e.ReadOnly = !(fi.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
        e.Hidden = e.Name.startsWith(QLatin1Char('.'));
        out.append(e);
    }
    return out;
}
