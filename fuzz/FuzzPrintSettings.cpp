// Lays out the pages of a grid under arbitrary print settings, read from an
// INI section of bytes through the grid's own settings loader, and grid
// sizes: the counting pass must end, count at least one page and never a
// page without a row.
//
// Input: columns, rows, page height and fixed rows/columns (four bytes),
// then the text of the settings section.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/gridio/ExGridPrint.h"
#include "fuzz/FuzzSupport.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libfreetype\nleak:libharfbuzz\nleak:libQt6Gui\nleak:libQt6Core\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return Fuzz_Default_Max_Len(argc, argv, "-max_len=4096");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const int cols = 1 + data[0] % 40, rows = 2 + data[1] % 120;
    const int pageHeight = 50 + data[2] * 12;
    static QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("print.ini"));
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write("[Print]\n");
        f.write(reinterpret_cast<const char*>(data + 4), qint64(size - 4));
    }
    TExStringGrid grid(nullptr);
    grid.SetColCount(cols);
    grid.SetRowCount(rows);
    grid.SetFixedRows((data[3] & 1) ? 1 : 0);
    grid.SetFixedCols(((data[3] & 2) && cols > 1) ? 1 : 0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.SetCells(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
    grid.LoadPrintSettings(file, QStringLiteral("Print"));

    QImage img(400, 560, QImage::Format_RGB32);
    TCanvas canvas;
    canvas.BeginDraw(&img);
    TMetricCanvas mc(&canvas);
    TGridPageEngine::Prepare(&grid, { 0, 0, cols - 1, rows - 1 }, TRect(0, 0, 2100, pageHeight), 1, 1);
    const int pages = TGridPageEngine(&grid, mc, TPrintPass::CountPreview, false, 0).Run();
    canvas.EndDraw();
    // Each page holds at least one row of one strip; strips hold a column each at least.
    if (pages < 1 || pages > rows * cols)
        std::abort();
    return 0;
}
