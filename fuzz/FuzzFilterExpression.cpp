// Feeds arbitrary expressions and cell values to the grid's filter matcher.
// Input: one option byte, then the expression, a line feed and the value.

#include "controls/base/ExUtil.h"
#include "platform/runtime/SysUtils.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t options = data[0];
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype split = input.indexOf(QLatin1Char('\n'));
    const QString expression = split < 0 ? input : input.left(split);
    const QString value = split < 0 ? QString() : input.mid(split + 1);

    // Both common separator layouts and date orders.
    ResetFormatSettings();
    if (options & 2) {
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
        FormatSettings.DateSeparator = u'.';
        FormatSettings.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    }

    MatchFilterExpression(expression, value, (options & 1) != 0);
    MatchFilterCondition(expression, value);
    TDateTime dt = 0;
    ParseDateTimeText(value, dt);
    ParseShortDateEU(value);
    ParseShortDateUS(value);
    ClassifyCellNumber(value);
    UnformatNumberText(value);
    return 0;
}
