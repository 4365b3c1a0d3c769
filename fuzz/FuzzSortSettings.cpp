// Feeds arbitrary text to the sort settings' LoadFromString on a small grid
// (1 to 8 columns, from the first byte). Only a one-character text may raise;
// a sort is asked for only with a column or index list inside the grid; the
// sort column is never left outside it.

#include "controls/base/ExObj.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridSort.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

class TCheckingGrid : public TExStringGrid {
public:
    TCheckingGrid()
        : TExStringGrid(nullptr)
    {
        if (!FSortIndexes) {
            FOwnIndexes = std::make_unique<TSortIndexList>();
            FSortIndexes = FOwnIndexes.get();
        }
    }
    ~TCheckingGrid() override
    {
        if (FSortIndexes == FOwnIndexes.get())
            FSortIndexes = nullptr;
    }

    void QSort() override
    {
        if (!Settings || Settings->Column < 0 || Settings->Column >= TotalColCount())
            std::abort();
    }
    void QSortIndexed() override
    {
        if (SortIndexes()->Count() == 0)
            std::abort();
        for (int i = 0; i < SortIndexes()->Count(); ++i) {
            const int col = SortIndexes()->GetSortColumns(i);
            if (col < 0 || col >= TotalColCount())
                std::abort();
        }
    }

    TSortSettings* Settings = nullptr;

private:
    std::unique_ptr<TSortIndexList> FOwnIndexes;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static TCheckingGrid grid;
    grid.SetColCount(1 + data[0] % 8);
    grid.SortIndexes()->Clear();
    TSortSettings settings(&grid);
    grid.Settings = &settings;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        settings.LoadFromString(text);
    } catch (const EExGridError&) {
        if (text.size() != 1)
            std::abort();
    }
    if (settings.Column < -1 || settings.Column >= grid.TotalColCount())
        std::abort();
    // What was restored is written back in the same form.
    const QString saved = settings.SaveToString();
    if (saved.isEmpty() || (settings.IndexShow != saved.startsWith(QLatin1String("i;"))))
        std::abort();
    grid.Settings = nullptr;
    return 0;
}
