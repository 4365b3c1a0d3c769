// Cell-text kinds, number texts, line-break conversions, quoting, links and
// name capitalisation.

#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilLocale.h"
#include "platform/runtime/Classes.h"

#include <QStringView>
#include <array>

using namespace exutil;

namespace {

const QChar CR(13);
const QChar LF(10);
const QChar VT(11);

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

// ---------------------------------------------------------------------------
// Kinds of cell text and numbers

int CellTextType(const QString& Text, bool HTML)
{
    // Read in place: every painted cell asks.
    if (Text.isEmpty())
        return 0;
    if (Text.startsWith(QLatin1Char('=')))
        return 3;
    if (Text.startsWith(QLatin1String("|\\"))) {
        // A wide-encoded formula: its first unit is "=" (high byte 0, low "=").
        if (Text.length() > 4 && Text[3] == QLatin1Char('=') && Text[4].unicode() == 0)
            return 3;
        return 5;
    }
    if (Text.startsWith(QLatin1String("{\\")))
        return 2;
    if (!HTML)
        return 0;
    // Mark-up: "</", "<B", "<I" or "<C" anywhere; one walk from "<" to "<".
    const qsizetype n = Text.size();
    for (qsizetype i = Text.indexOf(QLatin1Char('<')); i >= 0 && i + 1 < n; i = Text.indexOf(QLatin1Char('<'), i + 1)) {
        const char16_t next = Text[i + 1].unicode();
        if (next == u'/' || next == u'B' || next == u'I' || next == u'C')
            return 1;
    }
    return 0;
}

bool IsNumberChar(QChar Ch)
{
    return Ch.isDigit();
}

bool IsDigitOrMinus(QChar Ch)
{
    return Ch.isDigit() || Ch == QLatin1Char('-');
}

bool IsNumberTextChar(QChar Ch)
{
    return Ch.isDigit() || Ch == ThousandSeparator() || Ch == DecimalSeparator() || Ch == QLatin1Char('e')
        || Ch == QLatin1Char('E');
}

bool IsNumberOrSignChar(QChar Ch)
{
    return IsNumberTextChar(Ch) || Ch == QLatin1Char('+') || Ch == QLatin1Char('-');
}

bool IsUnformattedNumberChar(QChar Ch)
{
    return Ch.isDigit() || Ch == QLatin1Char('-') || Ch == QLatin1Char('.') || Ch == QLatin1Char('e')
        || Ch == QLatin1Char('E') || Ch == QLatin1Char('+');
}

int ClassifyCellNumber(const QString& Text)
{
    if (Text.isEmpty())
        return 2;
    const QChar dec = DecimalSeparator();
    const QChar thou = ThousandSeparator();
    const int n = Text.length();
    int decCount = 0;
    int minusCount = 0;
    int expCount = 0;
    bool minusOnlyFirst = true;
    bool intChars = true;
    bool decChars = true;
    bool expChars = true;
    bool hasThousand = false;
    bool thousandSpacing = true;
    int lastThousand = -1;
    for (int i = 0; i < n; ++i) {
        const QChar c = Text[i];
        const bool digit = IsNumberChar(c);
        if (c == dec)
            ++decCount;
        if (c == QLatin1Char('-')) {
            ++minusCount;
            if (i != 0)
                minusOnlyFirst = false;
        }
        const bool isExp = c == QLatin1Char('e') || c == QLatin1Char('E');
        if (isExp)
            ++expCount;
        if (c == thou) {
            hasThousand = true;
            if (lastThousand >= 0 && i - lastThousand < 4)
                thousandSpacing = false;
            lastThousand = i;
        }
        if (!digit && c != QLatin1Char('-'))
            intChars = false;
        if (!digit && c != QLatin1Char('-') && c != thou && c != dec)
            decChars = false;
        if (!digit && c != dec && !isExp && c != QLatin1Char('+') && c != QLatin1Char('-'))
            expChars = false;
        // No form of number is left: the text is text, whatever follows
        // (sorts and paints ask this of every long text).
        if (!intChars && !decChars && !expChars)
            return 2;
    }
    if (decCount > 1)
        return 2;
    if (intChars && minusOnlyFirst)
        return 0;
    if (expCount == 0 && decChars && minusOnlyFirst && thousandSpacing)
        return 1;
    const QChar first = Text[0];
    const QChar last = Text[n - 1];
    if (expCount == 1 && first != QLatin1Char('e') && first != QLatin1Char('E') && last != QLatin1Char('e')
        && last != QLatin1Char('E') && last != QLatin1Char('+') && last != QLatin1Char('-') && !hasThousand && expChars
        && minusCount <= 2)
        return 5;
    return 2;
}

QString UnformatNumberText(const QString& Text)
{
    if (Text.isEmpty())
        return QString();
    const QChar dec = DecimalSeparator();
    const QChar thou = ThousandSeparator();
    QString s = Text.trimmed();
    bool negative = s.length() >= 2 && s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'));
    int start = 0;
    while (s.length() - start >= 2) {
        const QChar c = s[start];
        if (c.isDigit() || c == dec || c == thou || c == QLatin1Char('e') || c == QLatin1Char('E'))
            break;
        if (c == QLatin1Char('-'))
            negative = true;
        ++start;
    }
    QString result;
    for (int i = start; i < s.length(); ++i) {
        const QChar c = s[i];
        if (c == thou)
            continue;
        if (c == dec)
            result += QLatin1Char('.');
        else if (IsUnformattedNumberChar(c))
            result += c;
        else
            break;
    }
    if (negative)
        result.prepend(QLatin1Char('-'));
    return result;
}

QString NormalizeNumberText(const QString& Text)
{
    const QChar dec = DecimalSeparator();
    const QChar thou = ThousandSeparator();
    QString result;
    result.reserve(Text.length());
    for (QChar c : Text) {
        if (c == thou)
            continue;
        result += c == dec ? QChar(QLatin1Char('.')) : c;
    }
    return result;
}

// ---------------------------------------------------------------------------
// Line breaks and control characters

QString LineBreaksToHTML(const QString& Text)
{
    if (!Text.contains(CR))
        return Text;
    QString s = Text;
    s.replace(CR, QLatin1String("<br>"));
    return s;
}

QString EscapedLineBreaksToCR(const QString& Text)
{
    // A CR can never form a new "\n", so one pass leaves none behind.
    QString s = Text;
    s.replace(QLatin1String("\\n"), QString(CR));
    return s;
}

QString CRToEscapedLineBreaks(const QString& Text)
{
    QString s = Text;
    s.remove(LF);
    s.replace(CR, QLatin1String("\\n"));
    return s;
}

void QuoteMultiLineText(QString& Text)
{
    Text.replace(QLatin1String("\r\n"), QString(VT));
    Text = QLatin1Char('"') + Text + QLatin1Char('"');
}

void CRLFToLF(QString& Text)
{
    Text.replace(QLatin1String("\r\n"), QString(LF));
}

void VTabToCRLF(QString& Text)
{
    if (Text.contains(VT))
        Text.replace(VT, QLatin1String("\r\n"));
}

void LineBreaksToTilde(QString& Text)
{
    Text.remove(LF);
    Text.replace(CR, QLatin1Char('~'));
}

void TildeToLineBreaks(QString& Text)
{
    Text.replace(QLatin1Char('~'), QLatin1String("\r\n"));
    // "^" stands for an empty cell in the tilde form.
    if (Text == QLatin1String("^"))
        Text.clear();
}

namespace {

// In an encoded text character 2 starts a pair that stands for a character
// the plain mapping uses itself (TAB, 8, 1, 2), or for nothing (a pair that
// carries the 8 which marks a text as encoded).
constexpr char16_t EscapeChar = 2;
constexpr char16_t EscapedTab = u't';
constexpr char16_t EscapedBackspace = u'b';
constexpr char16_t EscapedOne = u'a';
constexpr char16_t EscapedEscape = u'e';
constexpr char16_t EmptyMarker = 8;

} // namespace

QString EncodeControlChars(const QString& Text)
{
    // A lone LF is a line break too on this platform; a text with a
    // character 8 would otherwise be taken for an encoded one.
    if (!Text.contains(CR) && !Text.contains(LF) && !Text.contains(QChar(8)))
        return Text;
    QString s;
    s.reserve(Text.size() + 2);
    bool marked = false;
    for (QChar c : Text) {
        switch (c.unicode()) {
        case 13:
            s += QChar(9);
            break;
        case 10:
            s += QChar(8);
            marked = true;
            break;
        case 0:
            s += QChar(1);
            break;
        case 9:
            s.append(QChar(EscapeChar)).append(QChar(EscapedTab));
            break;
        case 8:
            s.append(QChar(EscapeChar)).append(QChar(EscapedBackspace));
            break;
        case 1:
            s.append(QChar(EscapeChar)).append(QChar(EscapedOne));
            break;
        case EscapeChar:
            s.append(QChar(EscapeChar)).append(QChar(EscapedEscape));
            break;
        default:
            s += c;
            break;
        }
    }
    // Only a text holding character 8 is decoded: one without a line feed
    // carries an empty pair with it in front.
    if (!marked)
        s.prepend(QString(QChar(EscapeChar)) + QChar(EmptyMarker));
    return s;
}

QString DecodeControlChars(const QString& Text, bool Whole)
{
    QString s = Text;
    if (s.contains(QChar(8))) {
        s.clear();
        s.reserve(Text.size());
        for (qsizetype i = 0; i < Text.size(); ++i) {
            const char16_t c = Text[i].unicode();
            if (c == EscapeChar && i + 1 < Text.size()) {
                const char16_t next = Text[i + 1].unicode();
                const char16_t plain = next == EscapedTab ? 9
                    : next == EscapedBackspace            ? 8
                    : next == EscapedOne                  ? 1
                    : next == EscapedEscape               ? EscapeChar
                                                          : 0xFFFF;
                if (plain != 0xFFFF) {
                    s += QChar(plain);
                    ++i;
                    continue;
                }
                if (next == EmptyMarker) {
                    ++i;
                    continue;
                }
            }
            // Texts of older files hold a 2 of their own: it stays.
            s += c == 9 ? CR : c == 8 ? LF : c == 1 ? QChar(0) : QChar(c);
        }
    }
    if (Whole)
        return s;
    return ExtractFirstLine(s, false);
}

QString ExtractFirstLine(QString& Text, bool KeepRest)
{
    const int p = Text.indexOf(CR);
    if (p < 0) {
        QString line = Text;
        Text.clear();
        return line;
    }
    QString line = Text.left(p);
    int restStart = p + 1;
    if (restStart < Text.length() && Text[restStart] == LF)
        ++restStart;
    if (KeepRest)
        Text.remove(0, restStart);
    else
        Text.clear();
    return line;
}

int CountLines(const QString& Text, bool MultiLine)
{
    return MultiLine ? 1 + int(Text.count(CR)) : 1;
}

QString RemoveCR(const QString& Text)
{
    QString s = Text;
    s.remove(CR);
    return s;
}

QString CRToLF(const QString& Text)
{
    QString s = Text;
    s.replace(CR, LF);
    return s;
}

// ---------------------------------------------------------------------------
// Quoting and small text functions

QString DoubleQuoteChars(const QString& Text)
{
    QString s = Text;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return s;
}

QString RemoveDoubledChar(QChar Ch, const QString& Text)
{
    if (!Text.contains(Ch))
        return Text;
    QString s = Text;
    s.replace(QString(2, Ch), QString(Ch));
    return s;
}

namespace {

// FindUnpairedChar on the text from `from` on, which is the text cut there
// when `from` follows the end of a run.
int FindUnpairedFrom(QChar Ch, QStringView Text, int from)
{
    const int n = int(Text.length());
    int i = from;
    while (i < n) {
        if (Text[i] != Ch) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && Text[j] == Ch)
            ++j;
        // A run reaching the end counts whatever its length: it closes the text.
        if (j == n || (j - i) % 2 == 1)
            return j - 1;
        i = j;
    }
    return -1;
}

} // namespace

int FindUnpairedChar(QChar Ch, const QString& Text, int& Pos)
{
    const int p = FindUnpairedFrom(Ch, Text, 0);
    if (p >= 0)
        Pos = p;
    return p;
}

int CountUnpairedChars(QChar Ch, const QString& Text)
{
    // Scans on from each hit instead of cutting copies: import lines may be
    // long and full of quotes.
    int count = 0;
    int from = 0;
    for (int p; (p = FindUnpairedFrom(Ch, Text, from)) >= 0; from = p + 1)
        ++count;
    return count;
}

int CountChar(QChar Ch, const QString& Text)
{
    return int(Text.count(Ch));
}

void FillStringChar(QString& Text, QChar Ch)
{
    Text.fill(Ch);
}

QString ExtractToDelimiter(QString& Text, const QString& Delimiter)
{
    if (Delimiter.isEmpty())
        return QString();
    const int p = Text.indexOf(Delimiter);
    if (p < 0)
        return QString();
    QString token = Text.left(p);
    Text.remove(0, p + 1);
    return token;
}

QString ConcatStrings(const QStringList& List)
{
    return List.join(QString());
}

int PosInUpperCase(const QString& Sub, const QString& Text)
{
    if (Sub.isEmpty())
        return -1;
    return int(UpperKeepLength(Text).indexOf(Sub));
}

int VarPos(const QString& Sub, const QString& Text, int& Pos)
{
    Pos = Sub.isEmpty() ? -1 : int(Text.indexOf(Sub));
    return Pos;
}

int FindCharPos(QChar Ch, const QString& Text, int& Pos)
{
    const int p = int(Text.indexOf(Ch));
    if (p >= 0)
        Pos = p;
    return p;
}

int CharPos(QChar Ch, const QString& Text)
{
    return int(Text.indexOf(Ch));
}

int WidePos(const QString& Sub, const QString& Text)
{
    return Sub.isEmpty() ? -1 : int(Text.indexOf(Sub));
}

namespace {

// Code page 437, bytes 128 to 255.
const char16_t kOem437High[128] = { 0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB,
    0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1,
    0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C,
    0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219,
    0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0 };

// Windows-1252, bytes 128 to 159 (the rest of the upper half is Latin-1);
// 0 marks the five unassigned bytes.
const char16_t kAnsi1252Ctl[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161,
    0x203A, 0x0153, 0, 0x017E, 0x0178 };

char16_t AnsiByteToChar(unsigned b)
{
    if (b >= 0x80 && b < 0xA0)
        return kAnsi1252Ctl[b - 0x80] ? kAnsi1252Ctl[b - 0x80] : char16_t(b);
    return char16_t(b);
}

char16_t OemByteToChar(unsigned b)
{
    return b < 0x80 ? char16_t(b) : kOem437High[b - 0x80];
}

// Reverse look-up; characters the code page lacks become "?".
unsigned CharToByte(char16_t c, char16_t (*decode)(unsigned))
{
    if (c < 0x80)
        return c;
    for (unsigned b = 0x80; b < 0x100; ++b)
        if (decode(b) == c)
            return b;
    return '?';
}

} // namespace

void AnsiToOemText(QString& Text)
{
    for (QChar& c : Text)
        c = QChar(AnsiByteToChar(CharToByte(c.unicode(), OemByteToChar)));
}

void OemToAnsiText(QString& Text)
{
    for (QChar& c : Text)
        c = QChar(OemByteToChar(CharToByte(c.unicode(), AnsiByteToChar)));
}

int IntMax(int A, int B)
{
    return A > B ? A : B;
}

int IntMin(int A, int B)
{
    return A < B ? A : B;
}

int ClampToLimits(int Value, int Lower, int Upper)
{
    if (Lower == Upper)
        return Value;
    if (Upper > 0 && Value > Upper)
        return Upper;
    if (Lower > 0 && Value < Lower)
        return Lower;
    return Value;
}

bool CellInGridRect(const TRect& GridRect, int ACol, int ARow)
{
    return ACol >= GridRect.Left && ACol <= GridRect.Right && ARow >= GridRect.Top && ARow <= GridRect.Bottom;
}

bool ParseRowColRef(const QString& Text, TPoint& P)
{
    const QString s = UpperKeepLength(Text);
    if (s.length() <= 3 || !s.startsWith(QLatin1Char('R')))
        return false;
    const int c = int(s.indexOf(QLatin1Char('C')));
    if (c < 0)
        return false;
    // Digits only: a cell reference never has a sign.
    const QString rowText = s.mid(1, c - 1);
    const QString colText = s.mid(c + 1);
    auto digitsOnly = [](const QString& t) {
        if (t.isEmpty())
            return false;
        for (QChar ch : t)
            if (!IsAsciiDigit(ch))
                return false;
        return true;
    };
    int row = 0;
    int col = 0;
    if (!digitsOnly(rowText) || !digitsOnly(colText) || !TryReadInt(rowText, row) || !TryReadInt(colText, col))
        return false;
    P.X = col;
    P.Y = row;
    return true;
}

QString CapitalizeName(const QString& Text)
{
    const int n = Text.length();
    // Only a " Mc" written so in the text itself makes the next letter a capital.
    const int mcPos = int(Text.indexOf(QLatin1String(" Mc")));
    QString result;
    result.reserve(n);
    bool capitalizeNext = true;
    for (int i = 0; i < n; ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\'') || c == QLatin1Char(',') || c == QLatin1Char('-')
            || c == QLatin1Char('.')) {
            capitalizeNext = true;
            result += c;
        } else if (capitalizeNext) {
            result += c.toUpper();
            capitalizeNext = false;
        } else {
            result += c.toLower();
        }
        if (result == QLatin1String("Mc"))
            capitalizeNext = true;
        if (mcPos >= 0 && mcPos + 2 == i)
            capitalizeNext = true;
        if (i >= n - 3) {
            if (i >= 1 && result.mid(i - 1, 2) == QLatin1String(" I"))
                capitalizeNext = true;
            if (i >= 2 && result.mid(i - 2, 3) == QLatin1String(" II"))
                capitalizeNext = true;
        }
    }
    return result;
}

// ---------------------------------------------------------------------------
// Links

bool IsURL(const QString& Text)
{
    return Text.contains(QLatin1String("://")) || Text.contains(QLatin1String("mailto:"));
}

void StripURLProtocol(QString& Text)
{
    int p = int(Text.indexOf(QLatin1String("://")));
    if (p >= 0) {
        Text.remove(0, p + 3);
        return;
    }
    p = int(Text.indexOf(QLatin1String("mailto:")));
    if (p >= 0)
        Text.remove(0, p + 7);
}

int TextToHTML(const QString& Text, const QString& Prefix, QString& Result)
{
    if (!UpperKeepLength(Text).contains(Prefix))
        return 0;
    QString s = Text;
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    const int start = int(UpperKeepLength(s).indexOf(Prefix));
    if (start < 0) {
        // The prefix itself held "<" or ">": nothing left to link.
        Result = s;
        return 1;
    }
    auto inLink = [](QChar c) {
        if (c.unicode() > 255)
            return false;
        if (c.isLetter() || c.isDigit() || c == QLatin1Char('@'))
            return true;
        return QStringView(u"%()-./:\\_{}").contains(c);
    };
    int end = start;
    while (end < s.length() && inLink(s[end]))
        ++end;
    const QString link = s.mid(start, end - start);
    Result = s.left(start) + QLatin1String("<a href=\"") + link + QLatin1String("\">") + link + QLatin1String("</a>")
        + s.mid(end);
    return 1;
}
