// Feeds arbitrary text to the number and date parsers and uses it as the
// pattern of Format, FormatFloat and FormatDateTime with a few fixed
// arguments. A malformed text or pattern may raise EConvertError and nothing
// else; what parses must read back the same from its own text form. Input:
// one option byte choosing the format settings, then the text as UTF-8, of
// which the first eight bytes also make a float of their own.

#include "platform/runtime/DateUtils.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

void SetSettings(std::uint8_t options)
{
    ResetFormatSettings();
    switch (options % 3) {
    case 1: // day first, decimal comma
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
        FormatSettings.DateSeparator = u'.';
        FormatSettings.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
        FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
        break;
    case 2: // year first
        FormatSettings.DateSeparator = u'-';
        FormatSettings.ShortDateFormat = QStringLiteral("yyyy-mm-dd");
        break;
    default:
        break;
    }
}

template <class F> void AllowConvertError(F&& f)
{
    try {
        f();
    } catch (const EConvertError&) {
    }
}

void CheckFloatText(double v)
{
    if (!std::isfinite(v))
        return;
    double back = 0;
    if (!TryStrToFloat(FloatToStr(v), back))
        std::abort();
    if (std::fabs(back - v) > std::fabs(v) * 1e-14)
        std::abort();
}

void CheckIntegers(const QString& text)
{
    int i = 0;
    if (TryStrToInt(text, i)) {
        int back = 0;
        if (!TryStrToInt(IntToStr(i), back) || back != i)
            std::abort();
        if (!TryStrToInt(QLatin1Char('$') + IntToHex(i, 8), back) || back != i)
            std::abort();
        if (StrToInt(text) != i || StrToIntDef(text, i + 1) != i)
            std::abort();
    } else {
        if (StrToIntDef(text, 7) != 7)
            std::abort();
        AllowConvertError([&] {
            StrToInt(text);
            std::abort(); // Try failed, so the raising form must raise
        });
    }
    std::int64_t l = 0;
    if (TryStrToInt64(text, l)) {
        std::int64_t back = 0;
        if (!TryStrToInt64(IntToStr(l), back) || back != l)
            std::abort();
        if (!TryStrToInt64(QLatin1Char('$') + IntToHex(l, 16), back) || back != l)
            std::abort();
    }
    AllowConvertError([&] { StrToInt64(text); });
    StrToInt64Def(text, 0);

    const int stop = Val(text, i);
    if (stop < -1 || stop > text.size())
        std::abort();
    double d = 0;
    const int stopF = Val(text, d);
    if (stopF < -1 || stopF > text.size())
        std::abort();
}

void CheckFloats(const QString& text)
{
    double d = 0;
    if (TryStrToFloat(text, d)) {
        CheckFloatText(d);
        if (!std::isnan(d) && StrToFloat(text) != d)
            std::abort();
    } else {
        AllowConvertError([&] {
            StrToFloat(text);
            std::abort();
        });
    }
    StrToFloatDef(text, 0);
}

void CheckDates(const QString& text)
{
    TDateTime v = 0;
    if (TryStrToDate(text, v)) {
        TDateTime back = 0;
        if (!TryStrToDate(DateToStr(v), back) || back != v)
            std::abort();
    }
    if (TryStrToTime(text, v)) {
        // Down to the millisecond in the current separators.
        const QString pattern = QStringLiteral("hh:nn:ss") + FormatSettings.DecimalSeparator + QStringLiteral("zzz");
        TDateTime back = 0;
        if (!TryStrToTime(FormatDateTime(pattern, v), back) || back != v)
            std::abort();
    }
    if (TryStrToDateTime(text, v)) {
        int y, m, d, h, n, s, ms;
        DecodeDateTime(v, y, m, d, h, n, s, ms);
    }
    AllowConvertError([&] { StrToDate(text); });
    AllowConvertError([&] { StrToTime(text); });
    AllowConvertError([&] { StrToDateTime(text); });
}

void CheckPatterns(const QString& pattern)
{
    AllowConvertError([&] { Format(pattern, { 42, -1234567890123LL, -3.25, QStringLiteral("Text"), -1, 1e300, 0u }); });
    AllowConvertError([&] { Format(pattern, {}); });

    constexpr double inf = std::numeric_limits<double>::infinity();
    for (double v : { 0.0, -1.5, 1234567.891, 1e300, -1e-300, 5e-324, inf, -inf, std::nan("") })
        AllowConvertError([&] { FormatFloat(pattern, v); });

    // Before 1899-12-30, the epoch, a day with a time, the last day, and
    // values outside the calendar.
    for (TDateTime dt : { -1.25, 0.0, 45000.5123, 2958465.99999, -693593.0, 1e12, -1e12, std::nan("") })
        AllowConvertError([&] { FormatDateTime(pattern, dt); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    SetSettings(data[0]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    CheckIntegers(text);
    CheckFloats(text);
    CheckDates(text);
    CheckPatterns(text);
    if (size >= 9) {
        double raw = 0;
        std::memcpy(&raw, data + 1, sizeof raw);
        CheckFloatText(raw);
        AllowConvertError([&] { FormatDateTime(QStringLiteral("c"), raw); });
    }
    return 0;
}
