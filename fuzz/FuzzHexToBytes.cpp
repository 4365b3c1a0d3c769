// Decodes arbitrary text as a HART variable's command parameters, as the
// image builder reads them from the HART variables file: one byte per pair
// of characters from the first, the value of two hexadecimal digits or 0.

#include "app/core/USaveBincc.h"
#include "fuzz/FuzzSupport.h"
#include "platform/runtime/SysUtils.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The value of a hexadecimal digit, or -1: found in a table, not computed,
// so the check does not repeat the decoder's own arithmetic.
int Digit(QChar c)
{
    if (c.unicode() >= 128)
        return -1;
    return int(QStringLiteral("0123456789abcdef").indexOf(c.toLower()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return Fuzz_Default_Max_Len(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray bytes = Hex_To_Bytes(text);
    if (Trim(text).isEmpty()) {
        if (!bytes.isEmpty())
            std::abort();
        return 0;
    }
    if (bytes.size() != text.size() / 2)
        std::abort();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int hi = Digit(text[2 * i]);
        const int lo = Digit(text[2 * i + 1]);
        const int want = hi < 0 || lo < 0 ? 0 : hi * 16 + lo;
        if (std::uint8_t(bytes[i]) != want)
            std::abort();
    }
    return 0;
}
