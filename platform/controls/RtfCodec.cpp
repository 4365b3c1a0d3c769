#include "platform/controls/RtfCodec.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>

#include "platform/runtime/FileUtils.h"

namespace {

// ---------------------------------------------------------------------------
// Characters

const std::array<char16_t, 256>& AnsiTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t {};
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString s = AnsiToUnicode(all);
        for (int i = 0; i < 256 && i < s.size(); ++i)
            t[std::size_t(i)] = s[i].unicode();
        return t;
    }();
    return table;
}

// The Windows-1252 byte of a character above 0x7F, -1 when the code page has
// none.
int AnsiByteOf(char16_t c)
{
    static const QHash<char16_t, int> reverse = [] {
        QHash<char16_t, int> r;
        const auto& t = AnsiTable();
        for (int i = 0x80; i < 256; ++i)
            r.insert(t[std::size_t(i)], i);
        return r;
    }();
    return reverse.value(c, -1);
}

// Characters the model keeps: no control characters but the tab, none of the
// paragraph and object marks of the text engine.
bool KeptChar(char16_t c)
{
    if (c < 0x20)
        return c == u'\t';
    return c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC && c != 0xFFFE && c != 0xFFFF;
}

// A font name keeps no tab and no line break either.
bool KeptNameChar(char16_t c)
{
    return c != u'\t' && c != 0x2028 && KeptChar(c);
}

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// ---------------------------------------------------------------------------
// Control words

enum class TKw {
    Unknown,
    Deff,
    FontTable,
    ColorTable,
    SkipDest,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Color,
    Highlight,
    Up,
    Dn,
    Super,
    Sub,
    NoSuperSub,
    Plain,
    Par,
    Line,
    Tab,
    Pard,
    Ql,
    Qr,
    Qc,
    Qj,
    U,
    Uc,
    Red,
    Green,
    Blue,
    Bin,
    Char, // a word that stands for one character
};

struct TWordEntry {
    std::string_view Name;
    TKw Kind;
    char16_t Ch;
};

// Sorted by name.
constexpr TWordEntry Words[] = {
    { "b", TKw::Bold, 0 },
    { "bin", TKw::Bin, 0 },
    { "blue", TKw::Blue, 0 },
    { "bullet", TKw::Char, 0x2022 },
    { "cell", TKw::Char, u'\t' },
    { "cf", TKw::Color, 0 },
    { "colortbl", TKw::ColorTable, 0 },
    { "deff", TKw::Deff, 0 },
    { "dn", TKw::Dn, 0 },
    { "emdash", TKw::Char, 0x2014 },
    { "emspace", TKw::Char, 0x2003 },
    { "endash", TKw::Char, 0x2013 },
    { "enspace", TKw::Char, 0x2002 },
    { "f", TKw::Font, 0 },
    { "filetbl", TKw::SkipDest, 0 },
    { "fonttbl", TKw::FontTable, 0 },
    { "footer", TKw::SkipDest, 0 },
    { "footerf", TKw::SkipDest, 0 },
    { "footerl", TKw::SkipDest, 0 },
    { "footerr", TKw::SkipDest, 0 },
    { "fs", TKw::FontSize, 0 },
    { "green", TKw::Green, 0 },
    { "header", TKw::SkipDest, 0 },
    { "headerf", TKw::SkipDest, 0 },
    { "headerl", TKw::SkipDest, 0 },
    { "headerr", TKw::SkipDest, 0 },
    { "highlight", TKw::Highlight, 0 },
    { "i", TKw::Italic, 0 },
    { "info", TKw::SkipDest, 0 },
    { "ldblquote", TKw::Char, 0x201C },
    { "line", TKw::Line, 0 },
    { "listoverridetable", TKw::SkipDest, 0 },
    { "listtable", TKw::SkipDest, 0 },
    { "lquote", TKw::Char, 0x2018 },
    { "nosupersub", TKw::NoSuperSub, 0 },
    { "object", TKw::SkipDest, 0 },
    { "page", TKw::Par, 0 },
    { "par", TKw::Par, 0 },
    { "pard", TKw::Pard, 0 },
    { "pict", TKw::SkipDest, 0 },
    { "plain", TKw::Plain, 0 },
    { "qc", TKw::Qc, 0 },
    { "qj", TKw::Qj, 0 },
    { "ql", TKw::Ql, 0 },
    { "qmspace", TKw::Char, 0x2005 },
    { "qr", TKw::Qr, 0 },
    { "rdblquote", TKw::Char, 0x201D },
    { "red", TKw::Red, 0 },
    { "revtbl", TKw::SkipDest, 0 },
    { "row", TKw::Par, 0 },
    { "rquote", TKw::Char, 0x2019 },
    { "sect", TKw::Par, 0 },
    { "strike", TKw::Strike, 0 },
    { "striked", TKw::Strike, 0 },
    { "stylesheet", TKw::SkipDest, 0 },
    { "sub", TKw::Sub, 0 },
    { "super", TKw::Super, 0 },
    { "tab", TKw::Tab, 0 },
    { "u", TKw::U, 0 },
    { "uc", TKw::Uc, 0 },
    { "ul", TKw::Underline, 0 },
    { "uld", TKw::Underline, 0 },
    { "uldash", TKw::Underline, 0 },
    { "uldashd", TKw::Underline, 0 },
    { "uldashdd", TKw::Underline, 0 },
    { "uldb", TKw::Underline, 0 },
    { "ulhwave", TKw::Underline, 0 },
    { "ulnone", TKw::UnderlineNone, 0 },
    { "ulth", TKw::Underline, 0 },
    { "ulw", TKw::Underline, 0 },
    { "ulwave", TKw::Underline, 0 },
    { "up", TKw::Up, 0 },
};

const TWordEntry* FindWord(std::string_view name)
{
    const auto it = std::lower_bound(
        std::begin(Words), std::end(Words), name, [](const TWordEntry& e, std::string_view n) { return e.Name < n; });
    return it != std::end(Words) && it->Name == name ? it : nullptr;
}

// ---------------------------------------------------------------------------
// The reader

enum class TDest { Text, FontTable, ColorTable, Skip };

// What a group carries: the character and paragraph look, the fallback count
// of \u and where its text goes.
struct TGroupState {
    int FontIndex = -1; // -1: the default font (\deff)
    int FontSize = 24;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int ColorIndex = 0;
    int HighlightIndex = 0;
    int Offset = 0;
    TRtfScript Script = TRtfScript::None;
    TRtfAlignment Align = TRtfAlignment::Left;
    int Uc = 1;
    TDest Dest = TDest::Text;

    void Plain()
    {
        FontIndex = -1;
        FontSize = 24;
        Bold = Italic = Underline = StrikeOut = false;
        ColorIndex = HighlightIndex = 0;
        Offset = 0;
        Script = TRtfScript::None;
    }
};

class TRtfReader {
public:
    explicit TRtfReader(QStringView text)
        : FText(text)
    {
        FDoc.Paragraphs.emplace_back();
    }

    TRtfDocument Read()
    {
        FStates.emplace_back();
        while (FPos < FText.size() && !FDone)
            Step();
        if (!FDone)
            Finish();
        return std::move(FDoc);
    }

private:
    static constexpr int MaxNameLength = 255;
    static constexpr int MaxTableEntries = 4096;
    static constexpr qint64 ParamLimit = 10'000'000'000;

    QStringView FText;
    qsizetype FPos = 0;
    bool FDone = false;
    TRtfDocument FDoc;
    std::vector<TGroupState> FStates;
    // Groups opened beyond RtfMaxDepth: skipped whole, only counted.
    int FSkippedDepth = 0;
    // Characters still to pass over after \u.
    int FFallback = 0;
    int FDeff = 0;
    std::map<int, QString> FFonts;
    std::vector<TColor> FColors;
    // Font table entry being read.
    int FTableFont = 0;
    QString FTableName;
    // Colour table entry being read.
    int FRed = 0, FGreen = 0, FBlue = 0;
    bool FHasComponent = false;
    // The look of the next character, resolved when the state changed.
    bool FDirty = true;
    bool FSameAsLast = false;
    bool FParaAligned = false;
    TRtfCharFormat FResolved;

    TGroupState& State() { return FStates.back(); }

    void Step()
    {
        const char16_t c = FText[FPos].unicode();
        if (FSkippedDepth > 0) {
            SkipDeepGroupChar(c);
            return;
        }
        switch (c) {
        case u'{':
            ++FPos;
            FFallback = 0;
            OpenGroup();
            return;
        case u'}':
            ++FPos;
            FFallback = 0;
            CloseGroup();
            return;
        case u'\\':
            ++FPos;
            Control();
            return;
        case u'\r':
        case u'\n':
        case 0:
            ++FPos;
            return;
        default:
            ++FPos;
            if (FFallback > 0) {
                --FFallback;
                return;
            }
            Char(c, true);
            return;
        }
    }

    // Inside a group too deep to keep: only braces count, and an escaped
    // brace is no brace.
    void SkipDeepGroupChar(char16_t c)
    {
        ++FPos;
        if (c == u'\\') {
            if (FPos < FText.size())
                ++FPos;
        } else if (c == u'{') {
            ++FSkippedDepth;
        } else if (c == u'}') {
            --FSkippedDepth;
        }
    }

    void OpenGroup()
    {
        if (int(FStates.size()) >= RtfMaxDepth) {
            FSkippedDepth = 1;
            return;
        }
        FStates.push_back(State());
        FDirty = true;
    }

    void CloseGroup()
    {
        // The document's own group ends the document (and a closing brace
        // without an opening one ends what went before it).
        if (FStates.size() <= 2) {
            Finish();
            FDone = true;
        }
        if (FStates.size() <= 1)
            return;
        // A font entry may end with its group instead of ";".
        if (State().Dest == TDest::FontTable && !FTableName.isEmpty())
            CommitFont();
        FStates.pop_back();
        FDirty = true;
    }

    // An empty last paragraph takes the alignment in force at the end.
    void Finish()
    {
        if (!FParaAligned)
            FDoc.Paragraphs.back().Alignment = State().Align;
    }

    // A control word or symbol after its backslash.
    void Control()
    {
        if (FPos >= FText.size())
            return;
        const char16_t c = FText[FPos].unicode();
        if (!IsAsciiLetter(c)) {
            Symbol(c);
            return;
        }
        const qsizetype start = FPos;
        while (FPos < FText.size() && IsAsciiLetter(FText[FPos].unicode()))
            ++FPos;
        const qsizetype length = FPos - start;
        bool hasParam = false;
        qint64 param = 0;
        bool negative = false;
        if (FPos < FText.size() && FText[FPos] == u'-' && FPos + 1 < FText.size()
            && IsDigit(FText[FPos + 1].unicode())) {
            negative = true;
            ++FPos;
        }
        while (FPos < FText.size() && IsDigit(FText[FPos].unicode())) {
            hasParam = true;
            if (param < ParamLimit)
                param = param * 10 + (FText[FPos].unicode() - u'0');
            ++FPos;
        }
        if (FPos < FText.size() && FText[FPos] == u' ')
            ++FPos;
        if (FFallback > 0) {
            --FFallback;
            return;
        }
        const qint64 clamped = std::clamp<qint64>(negative ? -param : param, INT32_MIN, INT32_MAX);
        const TWordEntry* entry = nullptr;
        if (length <= 32) {
            char name[33];
            for (qsizetype i = 0; i < length; ++i)
                name[i] = char(FText[start + i].unicode());
            entry = FindWord(std::string_view(name, std::size_t(length)));
        }
        Word(entry, hasParam, int(clamped));
    }

    void Symbol(char16_t c)
    {
        ++FPos;
        switch (c) {
        case u'\'': {
            const int hi = FPos < FText.size() ? HexValue(FText[FPos].unicode()) : -1;
            const int lo = FPos + 1 < FText.size() ? HexValue(FText[FPos + 1].unicode()) : -1;
            if (hi < 0 || lo < 0)
                return; // not a byte: what follows is read as it stands
            FPos += 2;
            if (FFallback > 0) {
                --FFallback;
                return;
            }
            Char(AnsiTable()[std::size_t(hi * 16 + lo)], false);
            return;
        }
        case u'\r':
        case u'\n':
            if (FFallback > 0) {
                --FFallback;
                return;
            }
            Paragraph();
            return;
        default:
            break;
        }
        if (FFallback > 0) {
            --FFallback;
            return;
        }
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            Char(c, false);
            return;
        case u'~':
            Char(0x00A0, false);
            return;
        case u'_':
            Char(u'-', false);
            return;
        case u'*':
            // {\* destination}: one this reader does not know.
            State().Dest = TDest::Skip;
            return;
        case u'\t':
            Char(u'\t', false);
            return;
        default:
            return; // \- \| \: and the unknown ones
        }
    }

    void Word(const TWordEntry* entry, bool hasParam, int param)
    {
        TGroupState& s = State();
        const TKw kind = entry ? entry->Kind : TKw::Unknown;
        // The tables read their own words; every other word is about text.
        if (s.Dest == TDest::FontTable) {
            if (kind == TKw::Font && hasParam) {
                if (!FTableName.isEmpty())
                    CommitFont();
                FTableFont = param;
            } else if (kind == TKw::U) {
                UnicodeChar(param);
            } else if (kind == TKw::Uc && hasParam) {
                s.Uc = std::clamp(param, 0, 255);
            } else if (kind == TKw::Bin) {
                SkipBinary(hasParam ? param : 0);
            } else if (kind == TKw::SkipDest) {
                s.Dest = TDest::Skip;
            }
            return;
        }
        if (s.Dest == TDest::ColorTable) {
            const int component = std::clamp(hasParam ? param : 0, 0, 255);
            if (kind == TKw::Red) {
                FRed = component;
                FHasComponent = true;
            } else if (kind == TKw::Green) {
                FGreen = component;
                FHasComponent = true;
            } else if (kind == TKw::Blue) {
                FBlue = component;
                FHasComponent = true;
            } else if (kind == TKw::Bin) {
                SkipBinary(hasParam ? param : 0);
            } else if (kind == TKw::SkipDest) {
                s.Dest = TDest::Skip;
            }
            return;
        }
        if (kind == TKw::Bin) {
            SkipBinary(hasParam ? param : 0);
            return;
        }
        if (s.Dest == TDest::Skip)
            return;
        const bool on = !hasParam || param != 0;
        switch (kind) {
        case TKw::Unknown:
        case TKw::Red:
        case TKw::Green:
        case TKw::Blue:
        case TKw::Bin:
            return;
        case TKw::SkipDest:
            s.Dest = TDest::Skip;
            return;
        case TKw::FontTable:
            s.Dest = TDest::FontTable;
            FTableName.clear();
            FTableFont = 0;
            return;
        case TKw::ColorTable:
            s.Dest = TDest::ColorTable;
            FRed = FGreen = FBlue = 0;
            FHasComponent = false;
            return;
        case TKw::Deff:
            if (hasParam)
                FDeff = param;
            break;
        case TKw::Font:
            if (hasParam)
                s.FontIndex = param;
            break;
        case TKw::FontSize:
            if (hasParam && param > 0 && param <= 3276)
                s.FontSize = param;
            break;
        case TKw::Bold:
            s.Bold = on;
            break;
        case TKw::Italic:
            s.Italic = on;
            break;
        case TKw::Underline:
            s.Underline = on;
            break;
        case TKw::UnderlineNone:
            s.Underline = false;
            break;
        case TKw::Strike:
            s.StrikeOut = on;
            break;
        case TKw::Color:
            s.ColorIndex = hasParam ? std::max(0, param) : 0;
            break;
        case TKw::Highlight:
            s.HighlightIndex = hasParam ? std::max(0, param) : 0;
            break;
        case TKw::Up:
            s.Offset = std::clamp(hasParam ? param : 6, -1'000'000, 1'000'000) * 10;
            break;
        case TKw::Dn:
            s.Offset = -std::clamp(hasParam ? param : 6, -1'000'000, 1'000'000) * 10;
            break;
        case TKw::Super:
            s.Script = on ? TRtfScript::Super : TRtfScript::None;
            break;
        case TKw::Sub:
            s.Script = on ? TRtfScript::Sub : TRtfScript::None;
            break;
        case TKw::NoSuperSub:
            s.Script = TRtfScript::None;
            break;
        case TKw::Plain:
            s.Plain();
            break;
        case TKw::Par:
            Paragraph();
            return;
        case TKw::Line:
            Char(0x2028, false);
            return;
        case TKw::Tab:
            Char(u'\t', false);
            return;
        case TKw::Char:
            Char(entry->Ch, false);
            return;
        case TKw::Pard:
            s.Align = TRtfAlignment::Left;
            return;
        case TKw::Ql:
            s.Align = TRtfAlignment::Left;
            return;
        case TKw::Qr:
            s.Align = TRtfAlignment::Right;
            return;
        case TKw::Qc:
            s.Align = TRtfAlignment::Center;
            return;
        case TKw::Qj:
            s.Align = TRtfAlignment::Justify;
            return;
        case TKw::U:
            UnicodeChar(param);
            return;
        case TKw::Uc:
            if (hasParam)
                s.Uc = std::clamp(param, 0, 255);
            return;
        }
        FDirty = true;
    }

    void UnicodeChar(int value)
    {
        if (value < 0)
            value += 65536;
        if (value >= 0 && value <= 0xFFFF)
            Char(char16_t(value), false);
        FFallback = State().Uc;
    }

    void SkipBinary(int count)
    {
        if (count > 0)
            FPos += std::min<qsizetype>(count, FText.size() - FPos);
    }

    // One character of text; raw characters may end a table entry.
    void Char(char16_t c, bool raw)
    {
        TGroupState& s = State();
        switch (s.Dest) {
        case TDest::Skip:
            return;
        case TDest::FontTable:
            if (raw && c == u';')
                CommitFont();
            else if (FTableName.size() < MaxNameLength && KeptNameChar(c))
                FTableName.append(QChar(c));
            return;
        case TDest::ColorTable:
            if (raw && c == u';') {
                if (int(FColors.size()) < MaxTableEntries)
                    FColors.push_back(FHasComponent ? RGB(FRed, FGreen, FBlue) : clNone);
                FRed = FGreen = FBlue = 0;
                FHasComponent = false;
                FDirty = true;
            }
            return;
        case TDest::Text:
            break;
        }
        if (c == 0x2029) {
            Paragraph();
            return;
        }
        if (!KeptChar(c))
            return;
        TRtfParagraph& para = FDoc.Paragraphs.back();
        para.Alignment = s.Align;
        FParaAligned = true;
        if (FDirty) {
            Resolve();
            FDirty = false;
            FSameAsLast = !para.Runs.empty() && para.Runs.back().Format == FResolved;
        }
        if (!FSameAsLast) {
            para.Runs.push_back(TRtfRun { QString(), FResolved });
            FSameAsLast = true;
        }
        para.Runs.back().Text.append(QChar(c));
    }

    void Paragraph()
    {
        if (State().Dest != TDest::Text)
            return;
        FDoc.Paragraphs.back().Alignment = State().Align;
        FDoc.Paragraphs.emplace_back();
        FParaAligned = false;
        FSameAsLast = false;
    }

    void CommitFont()
    {
        const QString name = FTableName.trimmed();
        FTableName.clear();
        if (int(FFonts.size()) < MaxTableEntries || FFonts.count(FTableFont))
            FFonts[FTableFont] = name;
        FDirty = true;
    }

    TColor TableColor(int index) const
    {
        return index > 0 && index < int(FColors.size()) ? FColors[std::size_t(index)] : clNone;
    }

    void Resolve()
    {
        const TGroupState& s = State();
        const auto font = FFonts.find(s.FontIndex < 0 ? FDeff : s.FontIndex);
        FResolved.FontName = font != FFonts.end() ? font->second : QString();
        FResolved.FontSize = s.FontSize;
        FResolved.Bold = s.Bold;
        FResolved.Italic = s.Italic;
        FResolved.Underline = s.Underline;
        FResolved.StrikeOut = s.StrikeOut;
        FResolved.Color = TableColor(s.ColorIndex);
        FResolved.BackColor = TableColor(s.HighlightIndex);
        FResolved.Offset = s.Offset;
        FResolved.Script = s.Script;
    }
};

// ---------------------------------------------------------------------------
// The writer

class TRtfWriter {
public:
    QByteArray Write(const TRtfDocument& doc)
    {
        Collect(doc);
        FOut += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
        if (!FFonts.empty()) {
            FOut += "{\\fonttbl";
            for (std::size_t i = 0; i < FFonts.size(); ++i) {
                FOut += "{\\f" + QByteArray::number(qulonglong(i)) + "\\fnil";
                FNeedSpace = true;
                for (const QChar ch : FFonts[i])
                    TextChar(ch.unicode(), true);
                FOut += ";}";
                FNeedSpace = false;
            }
            FOut += '}';
        }
        if (!FColors.empty()) {
            FOut += "{\\colortbl ;";
            for (const TColor c : FColors)
                FOut += "\\red" + QByteArray::number(GetRValue(c)) + "\\green" + QByteArray::number(GetGValue(c))
                    + "\\blue" + QByteArray::number(GetBValue(c)) + ';';
            FOut += '}';
        }
        FOut += "\r\n";
        FNeedSpace = false;
        // The reader starts every document in this look.
        FCurrent = TRtfCharFormat();
        FCurrent.FontName = FFonts.empty() ? QString() : FFonts.front();
        for (std::size_t p = 0; p < doc.Paragraphs.size(); ++p) {
            const TRtfParagraph& para = doc.Paragraphs[p];
            ControlWord("\\pard");
            switch (para.Alignment) {
            case TRtfAlignment::Right:
                ControlWord("\\qr");
                break;
            case TRtfAlignment::Center:
                ControlWord("\\qc");
                break;
            case TRtfAlignment::Justify:
                ControlWord("\\qj");
                break;
            case TRtfAlignment::Left:
                break;
            }
            for (const TRtfRun& run : para.Runs) {
                FormatWords(run.Format);
                for (const QChar ch : run.Text)
                    TextChar(ch.unicode(), false);
            }
            if (p + 1 < doc.Paragraphs.size()) {
                ControlWord("\\par");
                FOut += "\r\n";
                FNeedSpace = false;
            }
        }
        FOut += '}';
        return FOut;
    }

private:
    QByteArray FOut;
    bool FNeedSpace = false;
    std::vector<QString> FFonts;
    std::vector<TColor> FColors;
    QHash<QString, int> FFontIndex;
    QHash<TColor, int> FColorIndex;
    TRtfCharFormat FCurrent;

    static QString CleanName(const QString& name)
    {
        QString s;
        for (const QChar ch : name)
            if (KeptNameChar(ch.unicode()))
                s.append(ch);
        return s.left(255).trimmed();
    }

    static TColor Rgb(TColor c) { return c == clNone ? clNone : ColorToRGB(c) & 0xFFFFFF; }

    int FontIndex(const QString& name) const { return FFontIndex.value(CleanName(name), 0); }

    int ColorIndex(TColor c) const { return c == clNone ? 0 : FColorIndex.value(Rgb(c), 0); }

    // The tables in the order of first use, with the index of each entry.
    void Collect(const TRtfDocument& doc)
    {
        for (const TRtfParagraph& para : doc.Paragraphs)
            for (const TRtfRun& run : para.Runs) {
                const QString name = CleanName(run.Format.FontName);
                if (!FFontIndex.contains(name)) {
                    FFontIndex.insert(name, int(FFonts.size()));
                    FFonts.push_back(name);
                }
                for (const TColor c : { run.Format.Color, run.Format.BackColor })
                    if (c != clNone && !FColorIndex.contains(Rgb(c))) {
                        FColors.push_back(Rgb(c));
                        FColorIndex.insert(Rgb(c), int(FColors.size()));
                    }
            }
    }

    void ControlWord(const QByteArray& word)
    {
        FOut += word;
        FNeedSpace = true;
    }

    void ControlWord(const char* word, int param) { ControlWord(QByteArray(word) + QByteArray::number(param)); }

    void FormatWords(const TRtfCharFormat& f)
    {
        TRtfCharFormat& c = FCurrent;
        if (CleanName(f.FontName) != CleanName(c.FontName))
            ControlWord("\\f", FontIndex(f.FontName));
        if (f.FontSize != c.FontSize)
            ControlWord("\\fs", std::clamp(f.FontSize, 1, 3276));
        if (f.Bold != c.Bold)
            ControlWord(f.Bold ? "\\b" : "\\b0");
        if (f.Italic != c.Italic)
            ControlWord(f.Italic ? "\\i" : "\\i0");
        if (f.Underline != c.Underline)
            ControlWord(f.Underline ? "\\ul" : "\\ulnone");
        if (f.StrikeOut != c.StrikeOut)
            ControlWord(f.StrikeOut ? "\\strike" : "\\strike0");
        if (Rgb(f.Color) != Rgb(c.Color))
            ControlWord("\\cf", ColorIndex(f.Color));
        if (Rgb(f.BackColor) != Rgb(c.BackColor))
            ControlWord("\\highlight", ColorIndex(f.BackColor));
        if (f.Offset != c.Offset) {
            // Half-points, rounded half away from zero.
            const int half = (std::abs(f.Offset) + 5) / 10;
            if (f.Offset > 0)
                ControlWord("\\up", half);
            else if (f.Offset < 0)
                ControlWord("\\dn", half);
            else
                ControlWord("\\up0");
        }
        if (f.Script != c.Script)
            ControlWord(f.Script == TRtfScript::Super ? "\\super"
                    : f.Script == TRtfScript::Sub     ? "\\sub"
                                                      : "\\nosupersub");
        c = f;
        c.FontSize = std::clamp(f.FontSize, 1, 3276);
        c.Offset = f.Offset > 0 ? (f.Offset + 5) / 10 * 10 : -((-f.Offset + 5) / 10 * 10);
    }

    void Text(const QByteArray& bytes)
    {
        if (FNeedSpace) {
            FOut += ' ';
            FNeedSpace = false;
        }
        FOut += bytes;
    }

    void Escaped(const QByteArray& bytes)
    {
        FOut += bytes;
        FNeedSpace = false;
    }

    void TextChar(char16_t c, bool name)
    {
        if (name ? !KeptNameChar(c) : !KeptChar(c))
            return;
        switch (c) {
        case u'\\':
            Escaped("\\\\");
            return;
        case u'{':
            Escaped("\\{");
            return;
        case u'}':
            Escaped("\\}");
            return;
        case u';':
            if (name) {
                Escaped("\\'3b");
                return;
            }
            break;
        case u'\t':
            ControlWord("\\tab");
            return;
        case 0x2028:
            ControlWord("\\line");
            return;
        default:
            break;
        }
        if (c >= 0x20 && c < 0x7F) {
            Text(QByteArray(1, char(c)));
            return;
        }
        const int b = AnsiByteOf(c);
        if (b >= 0) {
            static const char hex[] = "0123456789abcdef";
            Escaped(QByteArray("\\'") + hex[b >> 4] + hex[b & 15]);
            return;
        }
        Escaped("\\u" + QByteArray::number(int(std::int16_t(c))) + '?');
    }
};

} // namespace

bool IsRtfRunChar(char16_t c)
{
    return KeptChar(c);
}

QString TRtfDocument::PlainText() const
{
    QString s;
    for (std::size_t p = 0; p < Paragraphs.size(); ++p) {
        if (p > 0)
            s += QLatin1String("\r\n");
        for (const TRtfRun& run : Paragraphs[p].Runs)
            s += run.Text;
    }
    s.replace(QChar(0x2028), QLatin1String("\r\n"));
    return s;
}

bool IsRtfText(QStringView Text)
{
    return Text.startsWith(u"{\\rtf");
}

bool IsRtfBytes(const QByteArray& Bytes)
{
    return Bytes.startsWith("{\\rtf");
}

TRtfDocument ReadRtf(QStringView Text)
{
    return TRtfReader(Text).Read();
}

TRtfDocument ReadRtf(const QByteArray& Bytes)
{
    const QString text = AnsiToUnicode(Bytes);
    return ReadRtf(QStringView(text));
}

QByteArray WriteRtf(const TRtfDocument& Document)
{
    return TRtfWriter().Write(Document);
}
