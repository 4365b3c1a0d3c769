// Reads arbitrary text as a colour, the way colour settings and grid files
// are read: a malformed text may only raise EConvertError, and any colour
// read back from its text form is the same colour. Input: the text as UTF-8;
// its first four bytes also make a colour value of their own.

#include "platform/graphics/Colors.h"
#include "platform/runtime/Exceptions.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void CheckTextForm(TColor c)
{
    const QString text = ColorToString(c);
    TColor back = 0;
    try {
        back = StringToColor(text);
    } catch (const EConvertError&) {
        std::abort(); // our own text form must read
    }
    if (back != c)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    try {
        CheckTextForm(StringToColor(text));
    } catch (const EConvertError&) {
    }

    TColor c = 0;
    if (IdentToColor(text, c)) {
        QString ident;
        TColor back = 0;
        if (!ColorToIdent(c, ident) || !IdentToColor(ident, back) || back != c)
            std::abort();
        CheckTextForm(c);
    }
    if (IdentToWebColor(text, c)) {
        QString ident;
        TColor back = 0;
        if (!WebColorToIdent(c, ident) || !IdentToWebColor(ident, back) || back != c)
            std::abort();
    }

    if (size >= 4) {
        std::uint32_t raw = 0;
        std::memcpy(&raw, data, 4);
        CheckTextForm(TColorOf(raw));
        (void)ColorToQColor(TColorOf(raw));
    }
    return 0;
}
