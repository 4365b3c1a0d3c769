#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

// ---------------------------------------------------------------------------
// Strings

QString Trim(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= u' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= u' ')
        --e;
    return s.mid(b, e - b);
}

QString TrimLeft(const QString& s)
{
    qsizetype b = 0;
    while (b < s.size() && s[b].unicode() <= u' ')
        ++b;
    return s.mid(b);
}

QString TrimRight(const QString& s)
{
    qsizetype e = s.size();
    while (e > 0 && s[e - 1].unicode() <= u' ')
        --e;
    return s.left(e);
}

QString UpperCase(const QString& s)
{
    QString r = s;
    for (QChar& c : r) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    }
    return r;
}

QString LowerCase(const QString& s)
{
    QString r = s;
    for (QChar& c : r) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return r;
}

QString AnsiUpperCase(const QString& s)
{
    return s.toUpper();
}
QString AnsiLowerCase(const QString& s)
{
    return s.toLower();
}

int CompareStr(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseSensitive);
}
int CompareText(const QString& a, const QString& b)
{
    return QString::compare(UpperCase(a), UpperCase(b));
}
bool SameText(const QString& a, const QString& b)
{
    return CompareText(a, b) == 0;
}
int AnsiCompareStr(const QString& a, const QString& b)
{
    return QString::localeAwareCompare(a, b);
}
int AnsiCompareText(const QString& a, const QString& b)
{
    return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded());
}
bool AnsiSameStr(const QString& a, const QString& b)
{
    return a == b;
}
bool AnsiSameText(const QString& a, const QString& b)
{
    return a.toCaseFolded() == b.toCaseFolded();
}

int Pos(const QString& sub, const QString& s)
{
    return PosEx(sub, s, 0);
}

int PosEx(const QString& sub, const QString& s, int offset)
{
    if (sub.isEmpty() || offset < 0 || offset >= s.size())
        return -1;
    return int(s.indexOf(sub, offset));
}

QString Copy(const QString& s, int index, int count)
{
    if (index < 0) {
        count += index;
        index = 0;
    }
    if (count <= 0 || index >= s.size())
        return {};
    return s.mid(index, count);
}

void Delete(QString& s, int index, int count)
{
    if (index < 0 || index >= s.size() || count <= 0)
        return;
    s.remove(index, count);
}

void Insert(const QString& sub, QString& s, int index)
{
    s.insert(qBound(0, index, int(s.size())), sub);
}

QString StringReplace(const QString& s, const QString& oldPattern, const QString& newPattern, TReplaceFlags flags)
{
    if (oldPattern.isEmpty())
        return s;
    const Qt::CaseSensitivity cs = flags.testFlag(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString r;
    qsizetype from = 0;
    while (from <= s.size()) {
        const qsizetype at = s.indexOf(oldPattern, from, cs);
        if (at < 0)
            break;
        r += QStringView(s).mid(from, at - from);
        r += newPattern;
        from = at + oldPattern.size();
        if (!flags.testFlag(rfReplaceAll))
            break;
    }
    r += QStringView(s).mid(from);
    return r;
}

QString QuotedStr(const QString& s)
{
    return AnsiQuotedStr(s, u'\'');
}

QString AnsiQuotedStr(const QString& s, QChar quote)
{
    QString r;
    r.reserve(s.size() + 2);
    r += quote;
    for (QChar c : s) {
        r += c;
        if (c == quote)
            r += quote;
    }
    r += quote;
    return r;
}

QString AnsiDequotedStr(const QString& s, QChar quote)
{
    if (s.isEmpty() || s[0] != quote)
        return s;
    QString r;
    qsizetype i = 1;
    bool closed = false;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                r += quote;
                i += 2;
                continue;
            }
            closed = true;
            ++i;
            break;
        }
        r += s[i++];
    }
    const bool atEnd = !closed || i >= s.size();
    if ((r.isEmpty() || atEnd) && s.back() != quote)
        return s;
    return r;
}

QString StringOfChar(QChar c, int count)
{
    return count > 0 ? QString(count, c) : QString();
}

// ---------------------------------------------------------------------------
// Integers

QString IntToHexImpl(std::uint64_t value, int bits, int digits)
{
    if (bits < 64)
        value &= (std::uint64_t(1) << bits) - 1;
    QString r = QString::number(value, 16).toUpper();
    if (r.size() < digits)
        r.prepend(QString(digits - r.size(), u'0'));
    return r;
}

namespace {

// Returns -1 on success, else the 0-based position where the text failed.
int ParseInteger(const QString& s, int bits, std::int64_t& out)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && s[i] == u' ')
        ++i;
    bool neg = false;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) {
        neg = s[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return int(i);
    const std::uint64_t limit = hex ? (bits == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << bits) - 1)
                                    : (std::uint64_t(1) << (bits - 1)) - (neg ? 0 : 1);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t mag = 0;
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return int(i);
        if (mag > (limit - d) / base)
            return int(i);
        mag = mag * base + d;
    }
    if (hex && bits < 64 && (mag >> (bits - 1)) != 0)
        mag |= ~((std::uint64_t(1) << bits) - 1); // sign-extend the full-width hexadecimal value
    if (neg)
        mag = ~mag + 1;
    out = static_cast<std::int64_t>(mag);
    return -1;
}

[[noreturn]] void ConvertError(const QString& fmt, const QString& text)
{
    throw EConvertError(fmt.arg(text));
}

} // namespace

bool TryStrToInt(const QString& s, int& value)
{
    std::int64_t v;
    if (ParseInteger(s, 32, v) >= 0)
        return false;
    value = int(v);
    return true;
}

bool TryStrToInt64(const QString& s, std::int64_t& value)
{
    return ParseInteger(s, 64, value) < 0;
}

int StrToInt(const QString& s)
{
    int v;
    if (!TryStrToInt(s, v))
        ConvertError(QStringLiteral("'%1' is not a valid integer value"), s);
    return v;
}

std::int64_t StrToInt64(const QString& s)
{
    std::int64_t v;
    if (!TryStrToInt64(s, v))
        ConvertError(QStringLiteral("'%1' is not a valid integer value"), s);
    return v;
}

int StrToIntDef(const QString& s, int def)
{
    int v;
    return TryStrToInt(s, v) ? v : def;
}

std::int64_t StrToInt64Def(const QString& s, std::int64_t def)
{
    std::int64_t v;
    return TryStrToInt64(s, v) ? v : def;
}

int Val(const QString& s, int& value)
{
    std::int64_t v = 0;
    const int code = ParseInteger(s, 32, v);
    value = code < 0 ? int(v) : 0;
    return code;
}

int Val(const QString& s, double& value)
{
    value = 0;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && s[i] == u' ')
        ++i;
    QByteArray text;
    if (i < n && (s[i] == u'-' || s[i] == u'+'))
        text += char(s[i++].unicode());
    auto digits = [&] {
        qsizetype start = i;
        while (i < n && s[i] >= u'0' && s[i] <= u'9')
            text += char(s[i++].unicode());
        return i - start;
    };
    qsizetype count = digits();
    if (i < n && s[i] == u'.') {
        text += '.';
        ++i;
        count += digits();
    }
    if (count == 0)
        return int(i);
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        text += 'e';
        ++i;
        if (i < n && (s[i] == u'-' || s[i] == u'+'))
            text += char(s[i++].unicode());
        if (digits() == 0)
            return int(i);
    }
    double v = 0;
    if (i < n || !AsciiToFloat(std::string_view(text.constData(), std::size_t(text.size())), v))
        return int(i);
    if (!std::isfinite(v))
        return int(n);
    value = v;
    return -1;
}

namespace {

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The power of ten of the first significant digit of a number that does not
// fit a double: positive for one too large, negative for one too small.
long long LeadingPower(const char* p, const char* end)
{
    long long integer = 0; // integer digits from the first significant one on
    long long zeros = 0; // fraction zeros before the first significant digit
    bool point = false;
    bool found = false;
    for (; p < end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.')
            point = true;
        else if (!point && (integer > 0 || *p != '0'))
            ++integer;
        else if (point && !found && *p == '0')
            ++zeros;
        else if (point)
            found = true;
    }
    long long exponent = 0;
    if (p < end) {
        ++p;
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        for (; p < end; ++p)
            exponent = std::min<long long>(exponent * 10 + (*p - '0'), 1'000'000'000'000);
        if (negative)
            exponent = -exponent;
    }
    return (integer > 0 ? integer - 1 : -(zeros + 1)) + exponent;
}

} // namespace

bool AsciiToFloat(std::string_view text, double& value)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    // from_chars takes no "+" and also reads "inf" and "nan": the sign and
    // the first character are checked here.
    if (p == end || !(IsAsciiDigit(*p) || *p == '.'))
        return false;
    double v = 0;
    const auto [stop, error] = std::from_chars(p, end, v, std::chars_format::general);
    if (stop != end || error == std::errc::invalid_argument)
        return false;
    if (error == std::errc::result_out_of_range)
        v = LeadingPower(p, end) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    value = negative ? -v : v;
    return true;
}

// ---------------------------------------------------------------------------
// Rounding

namespace {
std::int64_t Saturate(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= 9223372036854775807.0)
        return std::numeric_limits<std::int64_t>::max();
    if (x <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}
} // namespace

std::int64_t Round(double x)
{
    double f = std::floor(x);
    const double d = x - f;
    if (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0))
        f += 1;
    return Saturate(f);
}

std::int64_t Trunc(double x)
{
    return Saturate(std::trunc(x));
}

double Frac(double x)
{
    return x - std::trunc(x);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t p = std::int64_t(a) * b;
    std::int64_t q = p / c;
    const std::int64_t r = p % c;
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -std::int64_t(c) : c))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min())
        return -1;
    return int(q);
}

// ---------------------------------------------------------------------------
// Paths

namespace {
bool IsDelim(QChar c)
{
    return c == u'/' || c == u'\\';
}

qsizetype LastDelimiter(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsDelim(path[i]))
            return i;
    }
    return -1;
}
} // namespace

bool IsPathDelimiter(const QString& s, int index)
{
    return index >= 0 && index < s.size() && IsDelim(s[index]);
}

QString ExtractFileName(const QString& path)
{
    return path.mid(LastDelimiter(path) + 1);
}

QString ExtractFilePath(const QString& path)
{
    return path.left(LastDelimiter(path) + 1);
}

QString ExtractFileDir(const QString& path)
{
    qsizetype i = LastDelimiter(path);
    if (i > 0 && !IsDelim(path[i - 1]))
        return path.left(i);
    return path.left(i + 1);
}

QString ExtractFileExt(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0 && !IsDelim(path[i]); --i) {
        if (path[i] == u'.')
            return path.mid(i);
    }
    return {};
}

QString ChangeFileExt(const QString& path, const QString& ext)
{
    return path.left(path.size() - ExtractFileExt(path).size()) + ext;
}

QString IncludeTrailingPathDelimiter(const QString& path)
{
    if (!path.isEmpty() && IsDelim(path.back()))
        return path;
    return path + u'/';
}

QString ExcludeTrailingPathDelimiter(const QString& path)
{
    if (!path.isEmpty() && IsDelim(path.back()))
        return path.left(path.size() - 1);
    return path;
}
