#pragma once
// String, number and date routines of the runtime, with the toolkit's semantics.
//
// Character positions are 0-based everywhere (the toolkit counts from 1):
// Pos/PosEx return -1 when the text is absent, Copy/Delete/Insert take a
// 0-based index. Number and date texts follow the process-wide FormatSettings.

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Types.h"

#include <QChar>
#include <QFlags>
#include <QString>
#include <array>
#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>

// ---------------------------------------------------------------------------
// Strings

// Remove blanks and control characters (every char <= ' ').
QString Trim(const QString& s);
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);

// ASCII letters only; other characters are kept.
QString UpperCase(const QString& s);
QString LowerCase(const QString& s);
// Full Unicode case mapping.
QString AnsiUpperCase(const QString& s);
QString AnsiLowerCase(const QString& s);

// Ordinal comparisons: < 0, 0 or > 0. The Text variants ignore ASCII case.
int CompareStr(const QString& a, const QString& b);
int CompareText(const QString& a, const QString& b);
bool SameText(const QString& a, const QString& b);
// Locale-aware comparisons; the Text variants ignore case.
int AnsiCompareStr(const QString& a, const QString& b);
int AnsiCompareText(const QString& a, const QString& b);
bool AnsiSameStr(const QString& a, const QString& b);
bool AnsiSameText(const QString& a, const QString& b);

// 0-based position of sub in s, -1 when absent or when sub is empty.
int Pos(const QString& sub, const QString& s);
// As Pos, searching from the 0-based offset; -1 for an offset outside s.
int PosEx(const QString& sub, const QString& s, int offset = 0);

// Count characters from the 0-based index, clipped to the text.
QString Copy(const QString& s, int index, int count);
void Delete(QString& s, int index, int count);
// Inserts at the 0-based index, clamped to the text.
void Insert(const QString& sub, QString& s, int index);

enum TReplaceFlag { rfReplaceAll = 0x1, rfIgnoreCase = 0x2 };
Q_DECLARE_FLAGS(TReplaceFlags, TReplaceFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TReplaceFlags)

// Without rfReplaceAll only the first occurrence is replaced; an empty
// oldPattern replaces nothing.
QString StringReplace(const QString& s, const QString& oldPattern, const QString& newPattern, TReplaceFlags flags = {});

QString QuotedStr(const QString& s);
QString AnsiQuotedStr(const QString& s, QChar quote);
// Strips the quotes and undoubles embedded ones. A text that does not both
// start and end with the quote and has nothing left after its closing quote
// is returned unchanged.
QString AnsiDequotedStr(const QString& s, QChar quote);

QString StringOfChar(QChar c, int count);

// ---------------------------------------------------------------------------
// Integers

QString IntToHexImpl(std::uint64_t value, int bits, int digits);

template <std::integral T> QString IntToStr(T value)
{
    return QString::number(value);
}

// Upper-case digits, at least `digits` of them. Negative values print as the
// two's complement of their own width (IntToHex(-1, 1) == "FFFFFFFF").
template <std::integral T> QString IntToHex(T value, int digits = 1)
{
    using U = std::make_unsigned_t<T>;
    return IntToHexImpl(static_cast<std::uint64_t>(static_cast<U>(value)), int(sizeof(T) * 8), digits);
}

// The one integer parser: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything
// after the digits (trailing blanks included), an empty text and a value out
// of range fail. Hexadecimal texts may use the full unsigned width
// ("$FFFFFFFF" is -1), so colour values read back as written.
bool TryStrToInt(const QString& s, int& value);
bool TryStrToInt64(const QString& s, std::int64_t& value);
int StrToInt(const QString& s); // EConvertError quoting the text
std::int64_t StrToInt64(const QString& s);
int StrToIntDef(const QString& s, int def);
std::int64_t StrToInt64Def(const QString& s, std::int64_t def);

// The standard conversion that reports where it stopped: returns -1 when the
// whole text converted, else the 0-based position of the first character that
// did not (the length when the text ended too early). The float form always
// takes "." as the decimal point.
int Val(const QString& s, int& value);
int Val(const QString& s, double& value);

// The reader every float conversion ends in, once the separators of
// FormatSettings are dealt with: ASCII [sign] digits ["." digits]
// [("e" | "E") [sign] digits] with at least one digit before the exponent,
// "." as the point whatever locale the C library was given. False unless the
// whole text is such a number. A value beyond the range of double reads as an
// infinity, one too small for it as zero.
bool AsciiToFloat(std::string_view text, double& value);

// ---------------------------------------------------------------------------
// Rounding

// Half to even: the one rounding helper. NaN gives 0, values beyond the
// 64-bit range saturate.
std::int64_t Round(double x);
// Toward zero, saturating like Round.
std::int64_t Trunc(double x);
double Frac(double x);
// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the
// result does not fit 32 bits.
int MulDiv(int a, int b, int c);

// ---------------------------------------------------------------------------
// Format settings

struct TFormatSettings {
    QChar DecimalSeparator = u'.';
    QChar ThousandSeparator = u',';
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, MMMM d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:mm AMPM");
    QString LongTimeFormat = QStringLiteral("h:mm:ss AMPM");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QString CurrencyString = QStringLiteral("$");
    std::array<QString, 12> ShortMonthNames { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct",
        "Nov", "Dec" };
    std::array<QString, 12> LongMonthNames { "January", "February", "March", "April", "May", "June", "July", "August",
        "September", "October", "November", "December" };
    // Index 0 is Sunday (DayOfWeek - 1).
    std::array<QString, 7> ShortDayNames { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    std::array<QString, 7> LongDayNames { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
        "Saturday" };
    // Two-digit years land in the 100 years starting this many years before now.
    int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings every conversion reads; English by default.
extern TFormatSettings FormatSettings;
TFormatSettings DefaultFormatSettings();
void ResetFormatSettings();

// ---------------------------------------------------------------------------
// Floats

// General format: up to 15 significant digits, trailing zeros dropped;
// scientific ("1.5E20", "1E-6") only when the integer part has more than 15
// digits or the magnitude is below 0.00001.
QString FloatToStr(double value);
bool TryStrToFloat(const QString& s, double& value);
double StrToFloat(const QString& s); // EConvertError quoting the text
double StrToFloatDef(const QString& s, double def);
// Pattern of "0", "#", ".", ",", "E+00"/"E-00", quoted literals and up to
// three ";" sections (positive; negative; zero). Digits beyond the 15th
// significant one are not used; ties round away from zero.
QString FormatFloat(const QString& pattern, double value);

// ---------------------------------------------------------------------------
// Format

// One argument of Format: an integer, a float or a text.
class TVarRec {
public:
    enum TKind { vtInteger, vtInt64, vtFloat, vtString };

    TVarRec(int v)
        : FKind(vtInteger)
        , FInt(v)
    {
    }
    TVarRec(unsigned v)
        : FKind(vtInt64)
        , FInt(v)
    {
    }
    TVarRec(long v)
        : FKind(vtInt64)
        , FInt(v)
    {
    }
    TVarRec(long long v)
        : FKind(vtInt64)
        , FInt(v)
    {
    }
    TVarRec(unsigned long v)
        : FKind(vtInt64)
        , FInt(static_cast<std::int64_t>(v))
    {
    }
    TVarRec(unsigned long long v)
        : FKind(vtInt64)
        , FInt(static_cast<std::int64_t>(v))
    {
    }
    TVarRec(double v)
        : FKind(vtFloat)
        , FFloat(v)
    {
    }
    TVarRec(float v)
        : FKind(vtFloat)
        , FFloat(v)
    {
    }
    TVarRec(const QString& v)
        : FKind(vtString)
        , FStr(v)
    {
    }
    TVarRec(const char* v)
        : FKind(vtString)
        , FStr(QString::fromUtf8(v))
    {
    }
    TVarRec(QChar v)
        : FKind(vtString)
        , FStr(v)
    {
    }
    TVarRec(bool) = delete;
    template <class T> TVarRec(T*) = delete;

    TKind Kind() const { return FKind; }
    std::int64_t AsInteger() const { return FInt; }
    double AsFloat() const { return FFloat; }
    const QString& AsString() const { return FStr; }

private:
    TKind FKind;
    std::int64_t FInt = 0;
    double FFloat = 0;
    QString FStr;
};

// The toolkit's format: "%" [index ":"] ["-"] [width] ["." precision] type,
// with width and precision as digits or "*" (taken from the arguments) and
// type one of d u x e f g n s, plus "%%". A pattern that does not match its
// arguments (missing, surplus references of the wrong kind, unknown type)
// raises EConvertError; nothing is read past the argument list.
QString Format(const QString& pattern, std::span<const TVarRec> args);
QString Format(const QString& pattern, std::initializer_list<TVarRec> args);

// ---------------------------------------------------------------------------
// Paths: joined with "/", but "\" is also taken as a separator when reading.

bool IsPathDelimiter(const QString& s, int index);
QString ExtractFileName(const QString& path);
QString ExtractFilePath(const QString& path); // keeps the trailing separator
QString ExtractFileDir(const QString& path); // drops it unless it is the root
QString ExtractFileExt(const QString& path); // with the dot, empty when none
QString ChangeFileExt(const QString& path, const QString& ext);
QString IncludeTrailingPathDelimiter(const QString& path);
QString ExcludeTrailingPathDelimiter(const QString& path);

// ---------------------------------------------------------------------------
// Dates and times: TDateTime counts days since 1899-12-30; the fraction is the
// time of day. Before that day the value is negative and its fraction still
// counts forward from midnight (-1.25 is 1899-12-29 06:00).

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = 24 * 60 * 60;
constexpr std::int64_t MSecsPerDay = std::int64_t(SecsPerDay) * 1000;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
TDateTime EncodeDate(int year, int month, int day); // EConvertError when invalid
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
// Joins a whole-day date and a time of day by the sign rule above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime dt);

// The clock behind Now/Date/Time; tests install a fixed one. An empty
// function restores the system clock (local time).
using TClockFunc = std::function<TDateTime()>;
void SetClock(TClockFunc clock);
TDateTime Now();
TDateTime Date();
TDateTime Time();
int CurrentYear();

// Letters: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right after an
// hour), y yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm a/p ampm, "/" and
// ":" for the separators, quoted literals. An empty pattern means "c".
QString FormatDateTime(const QString& pattern, TDateTime dt);
QString DateToStr(TDateTime dt);
QString TimeToStr(TDateTime dt);
QString DateTimeToStr(TDateTime dt);

// Parsing follows the order of day, month and year in ShortDateFormat and the
// separators of FormatSettings; a missing year is the current one, and a
// two-digit year pivots by TwoDigitYearCenturyWindow. Times take an optional
// AM/PM marker before or after them.
bool TryStrToDate(const QString& s, TDateTime& value);
bool TryStrToTime(const QString& s, TDateTime& value);
bool TryStrToDateTime(const QString& s, TDateTime& value);
TDateTime StrToDate(const QString& s); // EConvertError quoting the text
TDateTime StrToTime(const QString& s);
TDateTime StrToDateTime(const QString& s);
