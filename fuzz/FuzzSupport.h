#pragma once
// Shared by the targets that fuzz readers of the tool's files on disk.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

// Adds Option to the command line unless the run sets a flag starting with
// Prefix itself. Called from LLVMFuzzerInitialize.
inline int Fuzz_Default_Flag(int* argc, char*** argv, const char* Prefix, const char* Option)
{
    const std::size_t n = std::strlen(Prefix);
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], Prefix, n) == 0)
            return 0;
    // Every command line made here stays for the run: libFuzzer keeps argv.
    static std::vector<std::vector<char*>> lines;
    std::vector<char*> args(*argv, *argv + *argc);
    // libFuzzer reads the flags before the corpus folders, wherever they stand.
    args.insert(args.begin() + 1, const_cast<char*>(Option));
    args.push_back(nullptr);
    lines.push_back(std::move(args));
    *argc += 1;
    *argv = lines.back().data();
    return 0;
}

// Readers of files from disk are fuzzed with inputs of up to 1 MB, so slow
// cases in large files show: the limit is added to the command line unless
// the run sets its own. Called from LLVMFuzzerInitialize.
inline int Fuzz_Default_Max_Len(int* argc, char*** argv, const char* option = "-max_len=1048576")
{
    return Fuzz_Default_Flag(argc, argv, "-max_len=", option);
}

// A folder of its own for the run, on a memory-backed file system where
// there is one (every atomic save syncs); it goes when the run ends.
inline const QString& Fuzz_Temp_Folder(const char* name)
{
    static const struct TTempFolder {
        QString Path;
        explicit TTempFolder(const char* name)
            : Path((QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath())
                + QStringLiteral("/morv-fuzz-%1-%2").arg(QLatin1String(name)).arg(QCoreApplication::applicationPid()))
        {
            QDir().mkpath(Path);
        }
        ~TTempFolder() { QDir(Path).removeRecursively(); }
    } folder(name);
    return folder.Path;
}

// Reports a broken property with the two states compared, and stops the run.
[[noreturn]] inline void Fuzz_Fail(const char* what, const QString& a, const QString& b)
{
    std::fprintf(stderr, "%s:\n  %s\n  %s\n", what, qPrintable(a), qPrintable(b));
    std::abort();
}

inline QByteArray Fuzz_Read_Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file the tool wrote, read back and written again, must come out the same.
inline void Fuzz_Check_Written_Again(const QString& first, const QString& second)
{
    const QByteArray a = Fuzz_Read_Bytes(first), b = Fuzz_Read_Bytes(second);
    if (a != b) {
        std::fprintf(stderr, "written again differently:\n%s\n---\n%s\n", a.constData(), b.constData());
        std::abort();
    }
}
