// Mark-up text helpers: entities, colours, tag stripping, highlighting and
// embedded-control tags.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtilLocale.h"

#include <QStringView>
#include <utility>
#include <vector>

using exutil::UpperKeepLength;

namespace {

struct TEntity {
    char16_t Ch;
    const char* Ref;
};

// Searched in this order.
const TEntity kNamedEntities[] = { { 0xE9, "&eacute;" }, { 0xE8, "&egrave;" }, { 0xEB, "&euml;" }, { 0xEA, "&ecirc;" },
    { 0xF3, "&oacute;" }, { 0xF2, "&ograve;" }, { 0xF6, "&ouml;" }, { 0xF4, "&ocirc;" }, { 0xED, "&iacute;" },
    { 0xEC, "&igrave;" }, { 0xEF, "&iuml;" }, { 0xEE, "&icirc;" }, { 0xFA, "&uacute;" }, { 0xF9, "&ugrave;" },
    { 0xFC, "&uuml;" }, { 0xFB, "&ucirc;" }, { 0xE1, "&aacute;" }, { 0xE0, "&agrave;" }, { 0xE4, "&auml;" },
    { 0xE2, "&acirc;" }, { 0xC9, "&Eacute;" }, { 0xC8, "&Egrave;" }, { 0xCB, "&Euml;" }, { 0xCA, "&Ecirc;" },
    { 0xD3, "&Oacute;" }, { 0xD2, "&Ograve;" }, { 0xD6, "&Ouml;" }, { 0xD4, "&Ocirc;" }, { 0xCD, "&Iacute;" },
    { 0xCC, "&Igrave;" }, { 0xCF, "&Iuml;" }, { 0xCE, "&Icirc;" }, { 0xDA, "&Uacute;" }, { 0xD9, "&Ugrave;" },
    { 0xDC, "&Uuml;" }, { 0xDB, "&Ucirc;" }, { 0xC1, "&Aacute;" }, { 0xC0, "&Agrave;" }, { 0xC4, "&Auml;" },
    { 0xC2, "&Acirc;" }, { 0xE7, "&ccedil;" }, { 0xC7, "&Ccedil;" }, { 0xF8, "&oslash;" }, { 0xD8, "&Oslash;" },
    { 0xE5, "&aring;" }, { 0xC5, "&Aring;" }, { 0xA9, "&copy;" }, { 0xAE, "&reg;" }, { 0x20AC, "&euro;" },
    { 0xAB, "&laquo;" }, { 0xBB, "&raquo;" } };

const TEntity kBasicEntities[] = { { u'<', "&lt;" }, { u'>', "&gt;" }, { u'&', "&amp;" }, { u'"', "&quot;" } };

struct TColorName {
    const char* Name;
    std::uint32_t Value;
};

const TColorName kPlainColors[]
    = { { "clred", 0x0000FF }, { "clblack", 0x000000 }, { "clblue", 0xFF0000 }, { "clgreen", 0x008000 },
          { "claqua", 0xFFFF00 }, { "clyellow", 0x00FFFF }, { "clfuchsia", 0xFF00FF }, { "clwhite", 0xFFFFFF },
          { "cllime", 0x00FF00 }, { "clsilver", 0xC0C0C0 }, { "clgray", 0x808080 }, { "clolive", 0x008080 },
          { "clnavy", 0x800000 }, { "clpurple", 0x800080 }, { "clteal", 0x808000 }, { "clmaroon", 0x000080 } };

const TColorName kSystemColors[]
    = { { "clbackground", 0xFF000001 }, { "clactivecaption", 0xFF000002 }, { "clinactivecaption", 0xFF000003 },
          { "clmenu", 0xFF000004 }, { "clwindow", 0xFF000005 }, { "clwindowframe", 0xFF000006 },
          { "clmenutext", 0xFF000007 }, { "clwindowtext", 0xFF000008 }, { "clcaptiontext", 0xFF000009 },
          { "clactiveborder", 0xFF00000A }, { "clinactiveborder", 0xFF00000B }, { "clappworkspace", 0xFF00000C },
          { "clhighlight", 0xFF00000D }, { "clhighlighttext", 0xFF00000E }, { "clbtnface", 0xFF00000F },
          { "clbtnshadow", 0xFF000010 }, { "clgraytext", 0xFF000011 }, { "clbtntext", 0xFF000012 },
          { "clinactivecaptiontext", 0xFF000013 }, { "clbtnhighlight", 0xFF000014 }, { "cl3ddkshadow", 0xFF000015 },
          { "cl3dlight", 0xFF000016 }, { "clinfotext", 0xFF000017 }, { "clinfobk", 0xFF000018 } };

// Tag spans by the one rule the stripper and the highlighter share: a tag runs
// from a "<" to the next ">" after it; a "<" with no ">" after it ends the scan.
std::vector<std::pair<int, int>> TagSpans(const QString& Text)
{
    std::vector<std::pair<int, int>> spans;
    int from = 0;
    for (;;) {
        const int lt = int(Text.indexOf(QLatin1Char('<'), from));
        if (lt < 0)
            break;
        const int gt = int(Text.indexOf(QLatin1Char('>'), lt + 1));
        if (gt < 0)
            break;
        spans.emplace_back(lt, gt);
        from = gt + 1;
    }
    return spans;
}

QString RemoveTags(const QString& Text)
{
    QString result;
    result.reserve(Text.length());
    int from = 0;
    for (const auto& [lt, gt] : TagSpans(Text)) {
        result += QStringView(Text).mid(from, lt - from);
        from = gt + 1;
    }
    result += QStringView(Text).mid(from);
    return result;
}

QString EscapeAngles(const QString& Text)
{
    QString s = Text;
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return s;
}

// The value of NAME="…" in a tag: the text between the first two double quotes
// after the name; empty when the attribute is missing.
QString TagAttribute(const QString& Tag, const QString& UpperTag, const char* Name, bool* Present = nullptr)
{
    const int p = int(UpperTag.indexOf(QLatin1String(Name) + QLatin1Char('=')));
    if (Present)
        *Present = p >= 0;
    if (p < 0)
        return QString();
    const int q1 = int(Tag.indexOf(QLatin1Char('"'), p));
    if (q1 < 0)
        return QString();
    const int q2 = int(Tag.indexOf(QLatin1Char('"'), q1 + 1));
    if (q2 < 0)
        return QString();
    return Tag.mid(q1 + 1, q2 - q1 - 1);
}

struct TControlTag {
    int Start; // index of "<"
    int End; // one past the closing ">" (or the text's end)
};

std::vector<TControlTag> ControlTags(const QString& Text)
{
    std::vector<TControlTag> tags;
    const QString upper = UpperKeepLength(Text);
    int from = 0;
    for (;;) {
        const int start = int(upper.indexOf(QLatin1String("<CONTROL "), from));
        if (start < 0)
            break;
        const int gt = int(Text.indexOf(QLatin1Char('>'), start));
        const int end = gt < 0 ? int(Text.length()) : gt + 1;
        tags.push_back({ start, end });
        from = end;
    }
    return tags;
}

struct TControlInfo {
    QString Type, ID, MaxLen, Prop, Height, Width, Value;
};

TControlInfo ParseTag(const QString& TagText)
{
    TControlInfo info;
    ParseHTMLControlTag(TagText, info.Type, info.ID, info.MaxLen, info.Prop, info.Height, info.Width, info.Value);
    return info;
}

// The first control with that ID: its span and attributes.
bool FindControl(const QString& Text, const QString& ID, TControlTag& Tag, TControlInfo& Info)
{
    for (const TControlTag& t : ControlTags(Text)) {
        TControlInfo info = ParseTag(Text.mid(t.Start, t.End - t.Start));
        if (info.ID == ID) {
            Tag = t;
            Info = std::move(info);
            return true;
        }
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// Entities

QString DecodeHTMLEntities(const QString& Text, bool Named)
{
    if (!Text.contains(QLatin1Char('&')))
        return Text;
    QString result;
    result.reserve(Text.length());
    const QStringView text(Text);
    int i = 0;
    while (i < text.length()) {
        const QChar c = text[i];
        if (c != QLatin1Char('&')) {
            result += c;
            ++i;
            continue;
        }
        // One pass: a decoded "&" never starts another reference.
        bool decoded = false;
        const QStringView rest = text.mid(i);
        for (const TEntity& e : kBasicEntities) {
            if (rest.startsWith(QLatin1String(e.Ref))) {
                result += QChar(e.Ch);
                i += int(qstrlen(e.Ref));
                decoded = true;
                break;
            }
        }
        if (!decoded && Named) {
            for (const TEntity& e : kNamedEntities) {
                if (rest.startsWith(QLatin1String(e.Ref))) {
                    result += QChar(e.Ch);
                    i += int(qstrlen(e.Ref));
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) {
            result += c;
            ++i;
        }
    }
    return result;
}

QString EncodeHTMLEntities(const QString& Text, bool Named)
{
    QString result;
    result.reserve(Text.length());
    for (QChar c : Text) {
        const char* ref = nullptr;
        for (const TEntity& e : kBasicEntities)
            if (c.unicode() == e.Ch)
                ref = e.Ref;
        if (!ref && Named)
            for (const TEntity& e : kNamedEntities)
                if (c.unicode() == e.Ch) {
                    ref = e.Ref;
                    break;
                }
        if (ref)
            result += QLatin1String(ref);
        else
            result += c;
    }
    return result;
}

QString SpacesToNbsp(const QString& Text)
{
    QString s = Text;
    s.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
    return s;
}

// ---------------------------------------------------------------------------
// Colours

TColor HTMLColorFromName(const QString& Name)
{
    for (const TColorName& c : kPlainColors)
        if (Name == QLatin1String(c.Name))
            return TColorOf(c.Value);
    for (const TColorName& c : kSystemColors)
        if (Name == QLatin1String(c.Name))
            return TColorOf(c.Value);
    return 0;
}

TColor HTMLColorFromHex(const QString& Text)
{
    // A bad digit reads as 0, so a malformed colour cannot spill into the
    // neighbouring channel or the system-colour byte.
    auto digit = [](QChar c) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            return int(u - '0');
        if (u >= 'A' && u <= 'F')
            return int(u - 'A' + 10);
        if (u >= 'a' && u <= 'f')
            return int(u - 'a' + 10);
        return 0;
    };
    auto pair = [&](int at) {
        if (at + 1 >= Text.length())
            return 0;
        return 16 * digit(Text[at]) + digit(Text[at + 1]);
    };
    return RGB(pair(1), pair(3), pair(5));
}

// ---------------------------------------------------------------------------
// Plain text and highlighting

QString StripHTMLTags(const QString& Text)
{
    QString s = Text;
    s.replace(QLatin1String("<BR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    s.replace(QLatin1String("<HR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    return RemoveTags(s);
}

QString HighlightHTMLText(const QString& Text, const QString& Search, const QString& Tag, bool CaseSensitive)
{
    if (Search.isEmpty())
        return Text;
    QString working = Text;
    QString search = Search;
    const QString visibleOfText = RemoveTags(Text);
    // Visible "<" or ">" would read as tags once highlight tags go in: such a
    // text is highlighted as escaped plain text.
    if (Text.contains(Search)
        && (visibleOfText.contains(QLatin1Char('<')) || visibleOfText.contains(QLatin1Char('>')))) {
        working = EscapeAngles(visibleOfText);
        search = EscapeAngles(Search);
    }

    // Working-text index of every visible character.
    std::vector<int> visibleIndex;
    visibleIndex.reserve(working.length());
    {
        int from = 0;
        for (const auto& [lt, gt] : TagSpans(working)) {
            for (int i = from; i < lt; ++i)
                visibleIndex.push_back(i);
            from = gt + 1;
        }
        for (int i = from; i < working.length(); ++i)
            visibleIndex.push_back(i);
    }
    QString visible;
    visible.reserve(int(visibleIndex.size()));
    for (int i : visibleIndex)
        visible += working[i];
    const QString hay = CaseSensitive ? visible : UpperKeepLength(visible);
    const QString needle = CaseSensitive ? search : UpperKeepLength(search);

    // A tag for visible position k goes right after visible character k - 1,
    // in front of any tags before character k; past the last one it goes at
    // the very end.
    const int count = int(visibleIndex.size());
    auto insertAt = [&](int k) {
        if (k <= 0)
            return 0;
        if (k >= count)
            return int(working.length());
        return visibleIndex[k - 1] + 1;
    };
    const QString startTag = QLatin1Char('<') + Tag + QLatin1Char('>');
    const QString endTag = QLatin1String("</") + Tag + QLatin1Char('>');
    std::vector<std::pair<int, const QString*>> inserts;
    for (int p = int(hay.indexOf(needle)); p >= 0; p = int(hay.indexOf(needle, p + needle.length()))) {
        inserts.emplace_back(insertAt(p), &startTag);
        inserts.emplace_back(insertAt(p + int(needle.length())), &endTag);
    }
    if (inserts.empty())
        return working;
    QString result;
    result.reserve(working.length() + int(inserts.size()) * (Tag.length() + 3));
    int from = 0;
    for (const auto& [at, tag] : inserts) {
        result += QStringView(working).mid(from, at - from);
        result += *tag;
        from = at;
    }
    result += QStringView(working).mid(from);
    return result;
}

QString UnhighlightHTMLText(const QString& Text, const QString& Tag)
{
    const QString startTag = QLatin1Char('<') + Tag.toUpper() + QLatin1Char('>');
    const QString endTag = QLatin1String("</") + Tag.toUpper() + QLatin1Char('>');
    QString s = Text;
    // Removing one tag can join the halves of another: repeat until none is left.
    for (;;) {
        const qsizetype before = s.length();
        s.remove(startTag, Qt::CaseInsensitive);
        s.remove(endTag, Qt::CaseInsensitive);
        if (s.length() == before)
            break;
    }
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    return s;
}

// ---------------------------------------------------------------------------
// Embedded-control tags

void ParseHTMLControlTag(const QString& TagText, QString& CType, QString& CID, QString& CMaxLen, QString& CProp,
    QString& CHeight, QString& CWidth, QString& CValue)
{
    const QString upper = UpperKeepLength(TagText);
    CType = UpperKeepLength(TagAttribute(TagText, upper, "TYPE"));
    CID = TagAttribute(TagText, upper, "ID");
    CMaxLen = TagAttribute(TagText, upper, "MAXLEN");
    CProp = DecodeHTMLEntities(TagAttribute(TagText, upper, "PROP"), true);
    CHeight = TagAttribute(TagText, upper, "HEIGHT");
    CWidth = TagAttribute(TagText, upper, "WIDTH");
    CValue = DecodeHTMLEntities(TagAttribute(TagText, upper, "VALUE"), true);
}

bool HasHTMLControls(const QString& Text)
{
    return UpperKeepLength(Text).contains(QLatin1String("<CONTROL"));
}

QString GetNextHTMLControlID(const QString& Text, const QString& CurrentID)
{
    bool armed = CurrentID.isEmpty();
    for (const TControlTag& t : ControlTags(Text)) {
        const TControlInfo info = ParseTag(Text.mid(t.Start, t.End - t.Start));
        if (armed && info.Type != QLatin1String("BUTTON") && info.Type != QLatin1String("CHECK")
            && info.Type != QLatin1String("RADIO"))
            return info.ID;
        if (info.ID == CurrentID)
            armed = true;
    }
    return QString();
}

bool GetHTMLControlValue(const QString& Text, const QString& ID, QString& Value)
{
    TControlTag tag {};
    TControlInfo info;
    if (!FindControl(Text, ID, tag, info))
        return false;
    Value = info.Value;
    return true;
}

QString GetHTMLControlProp(const QString& Text, const QString& ID)
{
    TControlTag tag {};
    TControlInfo info;
    return FindControl(Text, ID, tag, info) ? info.Prop : QString();
}

int GetHTMLControlMaxLen(const QString& Text, const QString& ID)
{
    TControlTag tag {};
    TControlInfo info;
    if (!FindControl(Text, ID, tag, info))
        return 0;
    long long v = 0;
    for (QChar c : info.MaxLen) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        v = v * 10 + (c.unicode() - '0');
        if (v > 0x7FFFFFFF)
            return 0x7FFFFFFF;
    }
    return int(v);
}

bool SetHTMLControlValue(QString& Text, const QString& ID, const QString& Value)
{
    TControlTag tag {};
    TControlInfo info;
    if (!FindControl(Text, ID, tag, info))
        return false;
    const QString old = Text.mid(tag.Start, tag.End - tag.Start);
    const QString upper = UpperKeepLength(old);
    auto quoted = [](const QString& v) { return QLatin1Char('"') + v + QLatin1Char('"'); };
    QString rewritten = QLatin1String("<CONTROL ID=") + quoted(info.ID) + QLatin1String(" VALUE=")
        + quoted(EncodeHTMLEntities(Value, true)) + QLatin1String(" WIDTH=") + quoted(info.Width)
        + QLatin1String(" TYPE=") + quoted(info.Type);
    bool present = false;
    TagAttribute(old, upper, "PROP", &present);
    if (present)
        rewritten += QLatin1String(" PROP=") + quoted(EncodeHTMLEntities(info.Prop, true));
    TagAttribute(old, upper, "MAXLEN", &present);
    if (present)
        rewritten += QLatin1String(" MAXLEN=") + quoted(info.MaxLen);
    TagAttribute(old, upper, "HEIGHT", &present);
    if (present)
        rewritten += QLatin1String(" HEIGHT=") + quoted(info.Height);
    rewritten += QLatin1Char('>');
    Text.replace(tag.Start, tag.End - tag.Start, rewritten);
    return true;
}

QString ClearHTMLRadioControls(const QString& Text)
{
    QString result = Text;
    QStringList radioIDs;
    for (const TControlTag& t : ControlTags(Text)) {
        const TControlInfo info = ParseTag(Text.mid(t.Start, t.End - t.Start));
        if (info.Type == QLatin1String("RADIO"))
            radioIDs.append(info.ID);
    }
    for (const QString& id : radioIDs)
        SetHTMLControlValue(result, id, QStringLiteral("FALSE"));
    return result;
}
