// Reads arbitrary bytes as an INI file holding a grid's print-settings
// section. Reading raises nothing and never writes the file; what it gives
// is written as a section that reads back and writes out the same again.

#include "controls/grid/ExGrid.h"
#include "fuzz/FuzzSupport.h"
#include "platform/runtime/FileUtils.h"

#include <QApplication>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return Fuzz_Default_Max_Len(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString& folder = Fuzz_Temp_Folder("printsettings");
    const QString input = folder + QStringLiteral("/input.ini");
    const QString first = folder + QStringLiteral("/first.ini");
    const QString second = folder + QStringLiteral("/second.ini");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!SaveFileAtomic(input, bytes))
        std::abort();
    QFile::remove(first);
    QFile::remove(second);
    static TExStringGrid grid(nullptr);
    const QString section = QStringLiteral("Print");
    grid.LoadPrintSettings(input, section);
    if (Fuzz_Read_Bytes(input) != bytes)
        std::abort();
    grid.SavePrintSettings(first, section);
    grid.LoadPrintSettings(first, section);
    grid.SavePrintSettings(second, section);
    Fuzz_Check_Written_Again(first, second);
    return 0;
}
