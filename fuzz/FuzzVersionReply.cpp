// Reads arbitrary bytes as the version script's answer, as a misbehaving or
// foreign server could send. The reading never fails, a version read is four
// decimal digits or -1, and a newer version is reported only for a version
// read above the tool's own.

#include "app/core/USoftOptions.h"
#include "platform/runtime/SysUtils.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString answer = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const int value = TFSoftOptions::Conv_Version(Trim(answer.toUpper()));
    if (value < -1 || value > 9999)
        std::abort();
    if (TFSoftOptions::Version_Answer_Is_Newer(answer) && value <= 1102)
        std::abort();
    return 0;
}
