// Loads arbitrary bytes as a column stream into a column grid. A load either
// refuses with the reader's error, leaving the items as they were, or takes
// the items; what the grid then saves loads into a second grid and saves to
// the same text.

#include "controls/grid/ExColumnGrid.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray Saved(TExColumnGrid& g)
{
    TMemoryStream s;
    g.SaveColumnsToStream(&s);
    return s.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TExColumnGrid grid(nullptr);
    const QByteArray before = Saved(grid);
    TMemoryStream in;
    in.WriteBuffer(data, qint64(size));
    in.SetPosition(0);
    try {
        grid.LoadColumnsFromStream(&in);
    } catch (const EReadError&) {
        if (Saved(grid) != before)
            std::abort(); // a refused stream changed the items
        return 0;
    }
    const QByteArray first = Saved(grid);
    TExColumnGrid copy(nullptr);
    TMemoryStream again;
    again.WriteBuffer(first.constData(), first.size());
    again.SetPosition(0);
    copy.LoadColumnsFromStream(&again);
    if (Saved(copy) != first)
        std::abort();
    return 0;
}
