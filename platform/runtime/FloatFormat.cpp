// Float conversions, FormatFloat and Format.

#include "platform/runtime/SysUtils.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

TFormatSettings FormatSettings;

TFormatSettings DefaultFormatSettings()
{
    return TFormatSettings();
}

void ResetFormatSettings()
{
    FormatSettings = DefaultFormatSettings();
}

namespace {

// The value as 0.Digits x 10^Exponent; Digits has no trailing zeros and is
// empty for zero.
struct TDigits {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
    bool IsZero() const { return Digits.empty(); }
};

constexpr int MaxSignificant = 15;

// Sets the digits of |v| rounded to `precision` significant ones, of which
// at most `keep` are kept (the rest cut).
void SetDigits(TDigits& d, double v, int precision, int keep)
{
    char buf[64];
    const char* const end
        = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, precision - 1).ptr;
    d.Digits.clear();
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9' && int(d.Digits.size()) < keep)
            d.Digits += *p;
    }
    int exponent = 0;
    if (p < end && *++p == '+')
        ++p;
    std::from_chars(p, end, exponent);
    d.Exponent = exponent + 1;
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
}

TDigits ToDigits(double v)
{
    TDigits d;
    d.Negative = std::signbit(v);
    if (v != 0)
        SetDigits(d, v, MaxSignificant, MaxSignificant);
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundDigits(TDigits& d, int keep)
{
    if (keep >= int(d.Digits.size()))
        return;
    if (keep < 0) {
        d.Digits.clear();
        return;
    }
    const bool up = d.Digits[size_t(keep)] >= '5';
    d.Digits.resize(size_t(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[size_t(i)] == '9')
            d.Digits[size_t(i--)] = '0';
        if (i >= 0) {
            ++d.Digits[size_t(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
}

// Rounding the largest doubles to `keep` digits can pass the top of the
// range, giving a text that reads back as an overflow: those are cut instead.
void KeepInRange(TDigits& d, double v, int keep)
{
    if (d.Exponent < 309 || d.IsZero())
        return;
    const std::string text = d.Digits + 'e' + std::to_string(d.Exponent - int(d.Digits.size()));
    double rounded = 0;
    if (AsciiToFloat(text, rounded) && std::isfinite(rounded))
        return;
    SetDigits(d, v, 18, keep);
}

QString SpecialText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString Latin(const std::string& s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// Integer digits of a rounded value ("" for a value below 1).
std::string IntegerDigits(const TDigits& d)
{
    if (d.Exponent <= 0 || d.IsZero())
        return {};
    std::string r = d.Digits.substr(0, size_t(std::min<int>(d.Exponent, int(d.Digits.size()))));
    r.append(size_t(d.Exponent - int(r.size())), '0');
    return r;
}

// The first `count` fraction digits, zero-padded.
std::string FractionDigits(const TDigits& d, int count)
{
    std::string r;
    for (int i = 0; i < count; ++i) {
        const int at = d.Exponent + i; // index into Digits
        r += (!d.IsZero() && at >= 0 && at < int(d.Digits.size())) ? d.Digits[size_t(at)] : '0';
    }
    return r;
}

QString Grouped(const std::string& digits)
{
    QString r;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        r += QChar(digits[size_t(i)]);
        const int fromRight = n - 1 - i;
        if (fromRight > 0 && fromRight % 3 == 0)
            r += FormatSettings.ThousandSeparator;
    }
    return r;
}

// General format with `precision` significant digits.
QString GeneralText(double v, int precision)
{
    if (!std::isfinite(v))
        return SpecialText(v);
    TDigits d = ToDigits(v);
    RoundDigits(d, precision);
    KeepInRange(d, v, precision);
    if (d.IsZero())
        return QStringLiteral("0");
    QString r = d.Negative ? QStringLiteral("-") : QString();
    if (d.Exponent > precision || d.Exponent < -4) {
        r += QChar(d.Digits[0]);
        if (d.Digits.size() > 1)
            r += FormatSettings.DecimalSeparator + Latin(d.Digits.substr(1));
        r += u'E';
        r += QString::number(d.Exponent - 1);
        return r;
    }
    const std::string ip = IntegerDigits(d);
    r += ip.empty() ? QStringLiteral("0") : Latin(ip);
    const int fracCount = int(d.Digits.size()) - d.Exponent;
    if (fracCount > 0)
        r += FormatSettings.DecimalSeparator + Latin(FractionDigits(d, fracCount));
    return r;
}

// Fixed notation with `decimals` decimals, optionally grouped.
QString FixedText(double v, int decimals, bool thousands)
{
    if (!std::isfinite(v))
        return SpecialText(v);
    TDigits d = ToDigits(v);
    if (d.Exponent > 18)
        return GeneralText(v, MaxSignificant);
    RoundDigits(d, d.Exponent + decimals);
    QString r = (d.Negative && !d.IsZero()) ? QStringLiteral("-") : QString();
    const std::string ip = IntegerDigits(d);
    if (ip.empty())
        r += u'0';
    else
        r += thousands ? Grouped(ip) : Latin(ip);
    if (decimals > 0)
        r += FormatSettings.DecimalSeparator + Latin(FractionDigits(d, decimals));
    return r;
}

// Scientific notation: `precision` significant digits, "E", sign and at
// least three exponent digits.
QString ScientificText(double v, int precision)
{
    if (!std::isfinite(v))
        return SpecialText(v);
    TDigits d = ToDigits(v);
    RoundDigits(d, precision);
    KeepInRange(d, v, precision);
    std::string m = d.Digits;
    m.resize(size_t(precision), '0');
    QString r = (d.Negative && !d.IsZero()) ? QStringLiteral("-") : QString();
    r += QChar(m[0]);
    if (precision > 1)
        r += FormatSettings.DecimalSeparator + Latin(m.substr(1));
    const int e = d.IsZero() ? 0 : d.Exponent - 1;
    r += e < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    r += QString::number(std::abs(e)).rightJustified(3, u'0');
    return r;
}

} // namespace

// ---------------------------------------------------------------------------

QString FloatToStr(double value)
{
    return GeneralText(value, MaxSignificant);
}

bool TryStrToFloat(const QString& s, double& value)
{
    // Blanks around the number are allowed; the decimal separator is the
    // settings' one only and thousand separators are not accepted.
    const QString t = Trim(s);
    QString norm;
    norm.reserve(t.size());
    for (QChar c : t) {
        if (c == FormatSettings.DecimalSeparator)
            norm += u'.';
        else if (c == u'.')
            return false;
        else
            norm += c;
    }
    double v;
    if (norm.isEmpty() || Val(norm, v) >= 0)
        return false;
    value = v;
    return true;
}

double StrToFloat(const QString& s)
{
    double v;
    if (!TryStrToFloat(s, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return v;
}

double StrToFloatDef(const QString& s, double def)
{
    double v;
    return TryStrToFloat(s, v) ? v : def;
}

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

struct TFloatSection {
    QString Text;
    int IntCount = 0; // digit placeholders before the decimal point
    int MinInt = 0; // from the first "0" on
    int FracCount = 0;
    int MinFrac = 0; // up to the last "0"
    bool Thousands = false;
    bool Scientific = false;
};

bool IsExponentAt(const QString& s, qsizetype i)
{
    return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

TFloatSection ScanSection(const QString& text)
{
    TFloatSection f;
    f.Text = text;
    bool beforePoint = true;
    int firstZero = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = text.indexOf(c, i + 1);
            i = end < 0 ? text.size() : end;
        } else if (c == u'0' || c == u'#') {
            if (beforePoint) {
                if (c == u'0' && firstZero < 0)
                    firstZero = f.IntCount;
                ++f.IntCount;
            } else {
                ++f.FracCount;
                if (c == u'0')
                    f.MinFrac = f.FracCount;
            }
        } else if (c == u'.') {
            beforePoint = false;
        } else if (c == u',') {
            f.Thousands = true;
        } else if (IsExponentAt(text, i)) {
            f.Scientific = true;
            break;
        }
    }
    f.MinInt = firstZero < 0 ? 0 : f.IntCount - firstZero;
    return f;
}

QStringList SplitSections(const QString& pattern)
{
    QStringList r;
    QString cur;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\'' || c == u'"') {
            qsizetype end = pattern.indexOf(c, i + 1);
            if (end < 0)
                end = pattern.size() - 1;
            cur += pattern.mid(i, end - i + 1);
            i = end;
        } else if (c == u';' && r.size() < 2) {
            r << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    r << cur;
    return r;
}

QString RenderSection(const TFloatSection& f, double value, bool withMinus)
{
    TDigits d = ToDigits(value);
    int expShown = 0;
    std::string ip;
    std::string fp;
    if (f.Scientific) {
        const int k = f.IntCount;
        RoundDigits(d, std::max(1, k + f.FracCount));
        if (!d.IsZero()) {
            expShown = d.Exponent - k;
            ip = d.Digits.substr(0, size_t(std::min<int>(k, int(d.Digits.size()))));
            ip.append(size_t(k - int(ip.size())), '0');
            const size_t skip = ip.find_first_not_of('0');
            ip = skip == std::string::npos ? std::string() : ip.substr(skip);
            for (int i = 0; i < f.FracCount; ++i)
                fp += size_t(k + i) < d.Digits.size() ? d.Digits[size_t(k + i)] : '0';
        } else {
            fp.assign(size_t(f.FracCount), '0');
        }
    } else {
        RoundDigits(d, d.Exponent + f.FracCount);
        ip = IntegerDigits(d);
        fp = FractionDigits(d, f.FracCount);
    }
    if (int(ip.size()) < f.MinInt)
        ip.insert(0, size_t(f.MinInt - int(ip.size())), '0');
    while (int(fp.size()) > f.MinFrac && fp.back() == '0')
        fp.pop_back();

    const QString& t = f.Text;
    QString out = withMinus ? QStringLiteral("-") : QString();
    const int n = int(ip.size());
    int intIdx = 0;
    int fracIdx = 0;
    bool beforePoint = true;
    bool exponentDone = false;
    auto emitInt = [&](int from, int to) {
        for (int j = from; j < to; ++j) {
            out += QChar(ip[size_t(j)]);
            const int fromRight = n - 1 - j;
            if (f.Thousands && fromRight > 0 && fromRight % 3 == 0)
                out += FormatSettings.ThousandSeparator;
        }
    };
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'\'' || c == u'"') {
            qsizetype end = t.indexOf(c, i + 1);
            if (end < 0)
                end = t.size();
            out += t.mid(i + 1, end - i - 1);
            i = end;
        } else if (exponentDone) {
            // The section's digits end at the exponent; what follows is text.
            out += c;
        } else if (c == u'0' || c == u'#') {
            if (beforePoint) {
                // Right-align the digits on the placeholders; the first one
                // takes every digit that has no placeholder of its own.
                const int j = n - f.IntCount + intIdx;
                if (intIdx == 0)
                    emitInt(0, std::max(0, j + 1));
                else if (j >= 0)
                    emitInt(j, j + 1);
                ++intIdx;
            } else if (fracIdx < int(fp.size())) {
                out += QChar(fp[size_t(fracIdx++)]);
            }
        } else if (c == u'.') {
            if (beforePoint) {
                if (f.IntCount == 0)
                    emitInt(0, n);
                if (!fp.empty())
                    out += FormatSettings.DecimalSeparator;
                beforePoint = false;
            }
        } else if (c == u',') {
            // grouping only
        } else if (f.Scientific && IsExponentAt(t, i)) {
            out += c;
            if (expShown < 0)
                out += u'-';
            else if (t[i + 1] == u'+')
                out += u'+';
            i += 2;
            int digits = 0;
            while (i < t.size() && t[i] == u'0' && digits < 4) {
                ++digits;
                ++i;
            }
            --i;
            out += QString::number(std::abs(expShown)).rightJustified(digits, u'0');
            exponentDone = true;
        } else {
            out += c;
        }
    }
    return out;
}

bool RoundsToZero(const TFloatSection& f, double value)
{
    TDigits d = ToDigits(value);
    RoundDigits(d, f.Scientific ? std::max(1, f.IntCount + f.FracCount) : d.Exponent + f.FracCount);
    return d.IsZero();
}

} // namespace

QString FormatFloat(const QString& pattern, double value)
{
    if (pattern.isEmpty() || !std::isfinite(value))
        return FloatToStr(value);
    if (ToDigits(value).Exponent > 18)
        return FloatToStr(value);
    const QStringList sections = SplitSections(pattern);
    auto section = [&](int i) { return i < sections.size() ? sections[i] : QString(); };

    TFloatSection f = ScanSection(sections[0]);
    bool minus = false;
    if (value < 0 && !section(1).isEmpty()) {
        f = ScanSection(section(1));
    } else if (value < 0) {
        minus = true;
    }
    // A value that shows as zero takes the zero section, and never a minus.
    if (value == 0 || RoundsToZero(f, value)) {
        minus = false;
        if (!section(2).isEmpty())
            f = ScanSection(section(2));
        else if (value < 0 && !section(1).isEmpty())
            f = ScanSection(sections[0]);
    }
    return RenderSection(f, std::fabs(value), minus);
}

// ---------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void FormatError(const QString& pattern)
{
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(pattern));
}

constexpr int MaxFormatNumber = 4096; // widths and precisions beyond this are refused

} // namespace

QString Format(const QString& pattern, std::initializer_list<TVarRec> args)
{
    return Format(pattern, std::span<const TVarRec>(args.begin(), args.size()));
}

QString Format(const QString& pattern, std::span<const TVarRec> args)
{
    QString out;
    size_t next = 0;
    const qsizetype len = pattern.size();
    qsizetype i = 0;

    auto argAt = [&](size_t index) -> const TVarRec& {
        if (index >= args.size())
            FormatError(pattern);
        return args[index];
    };
    // Digits or "*"; -1 when neither is there.
    auto number = [&]() -> int {
        if (i < len && pattern[i] == u'*') {
            ++i;
            const TVarRec& a = argAt(next++);
            if (a.Kind() != TVarRec::vtInteger && a.Kind() != TVarRec::vtInt64)
                FormatError(pattern);
            if (a.AsInteger() > MaxFormatNumber)
                FormatError(pattern);
            return int(std::max<std::int64_t>(a.AsInteger(), -1));
        }
        if (i >= len || !pattern[i].isDigit() || pattern[i].unicode() > u'9')
            return -1;
        int v = 0;
        while (i < len && pattern[i] >= u'0' && pattern[i] <= u'9') {
            v = v * 10 + (pattern[i++].unicode() - u'0');
            if (v > MaxFormatNumber)
                FormatError(pattern);
        }
        return v;
    };

    while (i < len) {
        const QChar c = pattern[i++];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i < len && pattern[i] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // "%" [index ":"] ["-"] [width] ["." precision] type
        const qsizetype specStart = i;
        int first = -1;
        if (i < len && pattern[i] != u'*')
            first = number();
        if (first >= 0 && i < len && pattern[i] == u':') {
            next = size_t(first);
            ++i;
        } else {
            i = specStart;
        }
        bool left = false;
        if (i < len && pattern[i] == u'-') {
            left = true;
            ++i;
        }
        const int width = number();
        int prec = -1;
        if (i < len && pattern[i] == u'.') {
            ++i;
            prec = number();
            if (prec < 0)
                prec = 0;
        }
        if (i >= len)
            FormatError(pattern);
        const char16_t type = QChar::toLower(pattern[i++].unicode());
        const TVarRec& a = argAt(next++);
        const bool isInt = a.Kind() == TVarRec::vtInteger || a.Kind() == TVarRec::vtInt64;
        const bool is32 = a.Kind() == TVarRec::vtInteger;
        QString s;
        switch (type) {
        case u'd':
        case u'u': {
            if (!isInt)
                FormatError(pattern);
            std::int64_t v = a.AsInteger();
            std::uint64_t mag;
            bool neg = false;
            if (type == u'u') {
                mag = is32 ? std::uint32_t(v) : std::uint64_t(v);
            } else {
                neg = v < 0;
                mag = neg ? ~std::uint64_t(v) + 1 : std::uint64_t(v);
            }
            s = QString::number(mag);
            if (prec > s.size())
                s.prepend(QString(prec - s.size(), u'0'));
            if (neg)
                s.prepend(u'-');
            break;
        }
        case u'x':
            if (!isInt)
                FormatError(pattern);
            s = IntToHexImpl(std::uint64_t(a.AsInteger()), is32 ? 32 : 64, std::max(prec, 1));
            break;
        case u'e':
        case u'f':
        case u'g':
        case u'n': {
            if (a.Kind() != TVarRec::vtFloat)
                FormatError(pattern);
            const double v = a.AsFloat();
            if (type == u'e')
                s = ScientificText(v, prec < 0 ? MaxSignificant : std::clamp(prec, 1, MaxSignificant));
            else if (type == u'g')
                s = GeneralText(v, prec <= 0 ? MaxSignificant : std::min(prec, MaxSignificant));
            else
                s = FixedText(v, prec < 0 ? 2 : std::min(prec, 18), type == u'n');
            break;
        }
        case u's':
            if (a.Kind() != TVarRec::vtString)
                FormatError(pattern);
            s = a.AsString();
            if (prec >= 0 && prec < s.size())
                s.truncate(prec);
            break;
        default:
            FormatError(pattern);
        }
        if (width > s.size()) {
            const QString pad(width - s.size(), u' ');
            s = left ? s + pad : pad + s;
        }
        out += s;
    }
    return out;
}
