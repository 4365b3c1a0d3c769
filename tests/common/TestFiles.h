#pragma once
// Whole-file reads and writes for test fixtures.

#include "platform/runtime/FileUtils.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace testutil {

// The file's bytes, or empty when it cannot be opened.
QByteArray ReadFile(const QString& path);
// Replaces the file with `bytes`; a file that cannot be opened fails the test.
void WriteFile(const QString& path, const QByteArray& bytes);

// The platform's file read limit, set while alive.
class ReadLimit {
public:
    explicit ReadLimit(qint64 bytes)
        : FOld(FileReadLimit())
    {
        SetFileReadLimit(bytes);
    }
    ~ReadLimit() { SetFileReadLimit(FOld); }
    ReadLimit(const ReadLimit&) = delete;
    ReadLimit& operator=(const ReadLimit&) = delete;

private:
    qint64 FOld;
};

#ifdef Q_OS_UNIX
// A full disk for this process while alive: a write that would make a file
// larger than `bytes` fails with EFBIG (SIGXFSZ is ignored meanwhile rather
// than ending the process). The file size limit binds root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit FOld {};
    void (*FOldHandler)(int) = nullptr;
};

// A FIFO at `path` that nobody writes to: opening it for reading blocks.
void MakeFifo(const QString& path);
#endif

} // namespace testutil
