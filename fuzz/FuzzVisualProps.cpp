// Reads arbitrary bytes as a grid's visual-properties file. Reading raises
// nothing: a missing line or a bad value leaves its setting as it was.
// Whatever the grid then holds is written as a file that reads back and
// writes out the same again.

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
    const QString& folder = Fuzz_Temp_Folder("visualprops");
    const QString input = folder + QStringLiteral("/input.txt");
    const QString first = folder + QStringLiteral("/first.txt");
    const QString second = folder + QStringLiteral("/second.txt");
    if (!SaveFileAtomic(input, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        std::abort();
    static TExStringGrid grid(nullptr);
    grid.LoadVisualProps(input);
    grid.SaveVisualProps(first);
    grid.LoadVisualProps(first);
    grid.SaveVisualProps(second);
    Fuzz_Check_Written_Again(first, second);
    return 0;
}
