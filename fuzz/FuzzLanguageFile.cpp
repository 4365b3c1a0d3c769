// Loads arbitrary bytes as a language file over the built-in texts. Reading
// must never grow or shrink the table: it keeps its 2900 slots, and every
// text is a single line.

#include "app/core/ULanguage.h"
#include "platform/runtime/FileUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path
        = QDir::tempPath() + QStringLiteral("/morv-fuzz-lang-%1.lng").arg(QCoreApplication::applicationPid());
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
