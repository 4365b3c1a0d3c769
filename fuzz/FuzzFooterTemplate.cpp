// Expands arbitrary text as a footer template: the expansion ends, text
// without placeholders comes back unchanged, and with empty cells the result
// is never longer than the template. Input: the template as UTF-8.

#include "controls/grid/ExGridPanels.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const QString empty = ExpandFooterTemplate(text, [](int) { return QString(); });
    if (empty.size() > text.size())
        std::abort();
    if (!text.contains(QLatin1String("<#")) && empty != text)
        std::abort();

    // Cells that look like placeholders are copied, never expanded again.
    const QString cells = ExpandFooterTemplate(text, [](int n) { return QStringLiteral("<#%1>").arg(n); });
    if (!text.contains(QLatin1String("<#")) && cells != text)
        std::abort();
    (void)ExpandFooterTemplate(text, nullptr);
    return 0;
}
