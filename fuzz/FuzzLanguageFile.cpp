// Loads arbitrary bytes as a language file over the built-in texts. Reading
// must never grow or shrink the table: it keeps its 2900 slots, and every
// text is a single line.

#include "app/core/ULanguage.h"
#include "platform/runtime/FileUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A memory-backed folder where there is one: every atomic save syncs.
    // The file goes when the run ends.
    static const struct TTempFile {
        QString Path
            = (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath())
            + QStringLiteral("/morv-fuzz-lang-%1.lng").arg(QCoreApplication::applicationPid());
        ~TTempFile() { QFile::remove(Path); }
    } file;
    const QString& path = file.Path;
    if (!SaveFileAtomic(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        std::abort();

    Init_Lang_Default();
    Load_Lang_File(path);
    if (LanguageTable.size() != 2900 || Lang_Count != 2900)
        std::abort();
    for (const QString& text : LanguageTable)
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            std::abort();
    (void)Lang(-1);
    (void)Lang(2900);
    return 0;
}
