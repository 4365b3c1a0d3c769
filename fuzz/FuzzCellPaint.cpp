// Paints the cells of a small grid from arbitrary text and settings: plain,
// mark-up, rich and formatted texts, wrapped or not, in any alignment, right
// to left, beside node glyphs and tree lines, in any cell size. Painting and
// measuring must return for every input within the run's time limit, long
// words and long patterns included.
//
// Input: four bytes of settings, then the text. With a float format chosen,
// the text's first line is the format and the rest the cell text.

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "fuzz/FuzzSupport.h"

#include <QApplication>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Every font a cell's mark-up names stays in the caches of the system's
// font libraries for the rest of the run: no leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libfreetype\nleak:libharfbuzz\nleak:libQt6Gui\nleak:libQt6Core\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    // Cell texts up to 128 KB: long enough for a slow layout to show.
    return Fuzz_Default_Max_Len(argc, argv, "-max_len=131072");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint8_t flags = data[0], align = data[1], width = data[2], height = data[3];
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));
    QString format;
    if (height & 0x80) {
        const qsizetype nl = text.indexOf(QLatin1Char('\n'));
        format = text.left(nl < 0 ? 0 : nl);
        text = text.mid(nl + 1);
    }

    TExStringGrid grid(nullptr);
    grid.SetBounds(0, 0, 320, 240);
    grid.SetColCount(3);
    grid.SetRowCount(4);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetColWidths(1, 1 + width);
    grid.SetColWidths(2, 1 + width / 2);
    grid.SetRowHeights(2, 1 + (height & 0x7F));
    grid.SetWordWrap(flags & 1);
    grid.SetEnableHTML(flags & 2);
    grid.SetEnhTextSize(flags & 4);
    grid.SetMultilinecells(flags & 8);
    grid.SetURLShow(flags & 16);
    if (flags & 32)
        grid.SetBiDiMode(bdRightToLeft);
    grid.SetZoomFactor(int((align >> 4) & 3) - 2);
    grid.SetXYOffset(TPoint((align >> 6) & 3, (align >> 6) & 3));
    const TAlignment h = (align & 3) == 1 ? taRightJustify : (align & 3) == 2 ? taCenter : taLeftJustify;
    const TVAlignment v = ((align >> 2) & 3) == 1 ? TVAlignment::vtaCenter
        : ((align >> 2) & 3) == 2                 ? TVAlignment::vtaBottom
                                                  : TVAlignment::vtaTop;
    grid.OnGetAlignment = [h, v](TObject*, int, int, TAlignment& H, TVAlignment& V) {
        H = h;
        V = v;
    };
    if (flags & 64)
        grid.OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& P) { P = ACol == 2 && ARow == 2; };
    if (height & 0x80)
        grid.OnGetFloatFormat = [&format](TObject*, int, int, bool& IsFloat, QString& F) {
            IsFloat = true;
            F = format;
        };
    for (const auto& [c, r] : { std::pair(0, 2), std::pair(1, 2), std::pair(2, 2), std::pair(1, 0) })
        grid.SetCells(c, r, text);
    grid.SetCells(0, 1, QStringLiteral("100"));
    if (flags & 128) {
        grid.AddNode(1, 3);
        grid.AddNode(2, 2);
    }
    if (grid.PaintToImage().isNull())
        std::abort();
    const TSize s = grid.GetCellTextSize(1, 2, flags & 1, flags & 4);
    if (s.cx < 0 || s.cy < 0)
        std::abort();
    return 0;
}
