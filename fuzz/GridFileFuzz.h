#pragma once
// What the grid file readers' fuzz targets share: the application, a
// default input size and one scratch file the bytes are written to.

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstring>
#include <vector>

namespace gridfuzz {

// Inputs up to MaxLen bytes unless the run says otherwise: the grid's store
// grows with the cells a file names.
inline void Initialize(int* argc, char*** argv, const char* MaxLen)
{
    static std::vector<char*> args(*argv, *argv + *argc);
    static std::vector<char> maxLen(MaxLen, MaxLen + std::strlen(MaxLen) + 1);
    bool has = false;
    for (char* a : args)
        has = has || std::strncmp(a, "-max_len=", 9) == 0;
    if (!has)
        args.insert(args.begin() + 1, maxLen.data());
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
    static QApplication app(*argc, *argv);
}

// The scratch file, holding the bytes.
inline QString WriteScratch(const void* Data, std::size_t Size)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/input");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(static_cast<const char*>(Data), qint64(Size));
    return path;
}

} // namespace gridfuzz
