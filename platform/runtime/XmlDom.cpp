#include "platform/runtime/XmlDom.h"

#include "platform/runtime/FileUtils.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

namespace {

pugi::xml_node Wrap(pugi::xml_node_struct* n)
{
    return pugi::xml_node(n);
}

// Whether the bytes are all ASCII, eight at a time.
bool IsAscii(const char* p, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ULL)
            return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

// Unlike QString::fromUtf8, keeps a leading U+FEFF: it is part of the text.
// Names and most values are ASCII, which needs no decoder.
QString FromUtf8(QByteArrayView bytes)
{
    if (IsAscii(bytes.data(), bytes.size()))
        return QString::fromLatin1(bytes);
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    return d(bytes);
}

// Attribute names and values are short: a loop costs less than a call.
size_t Length(const char* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

// A name to look up, in UTF-8 as the document holds it; the short ASCII
// names code asks for need no heap copy.
class TUtf8Name {
public:
    explicit TUtf8Name(const QString& name)
    {
        const qsizetype n = name.size();
        if (n < qsizetype(sizeof FShort)) {
            const char16_t* s = reinterpret_cast<const char16_t*>(name.constData());
            qsizetype i = 0;
            for (; i < n && s[i] < 0x80; ++i)
                FShort[i] = char(s[i]);
            if (i == n) {
                FShort[n] = 0;
                FName = FShort;
                return;
            }
        }
        FLong = name.toUtf8();
        FName = FLong.constData();
    }
    const char* Get() const { return FName; }

private:
    char FShort[64];
    QByteArray FLong;
    const char* FName;
};

// The names a well-formed document can carry; anything else would make the
// saved file unreadable.
bool IsNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u':' || c.unicode() >= 0x80;
}

bool IsValidName(const QString& name)
{
    if (name.isEmpty() || !IsNameStart(name.at(0)))
        return false;
    for (QChar c : name)
        if (!IsNameStart(c) && !c.isDigit() && c != u'-' && c != u'.')
            return false;
    return true;
}

// Length of the valid UTF-8 sequence at p (n bytes left), or 0 when the bytes
// there are not one: overlong forms, surrogates and values past U+10FFFF are
// not valid.
qsizetype Utf8SequenceLength(const unsigned char* p, qsizetype n)
{
    const unsigned char c = p[0];
    auto cont = [&](qsizetype i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return i < n && p[i] >= lo && p[i] <= hi;
    };
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
        return cont(1, lo, hi) && cont(2) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
        return cont(1, lo, hi) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

void AppendEscaped(QByteArray& out, const char* s, bool inAttribute)
{
    for (; *s; ++s) {
        switch (*s) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        // A raw CR would come back as LF: line ends are normalised on reading.
        case '\r':
            out += "&#13;";
            break;
        case '"':
            if (inAttribute)
                out += "&quot;";
            else
                out += '"';
            break;
        // Raw white space in an attribute would be read back as blanks.
        case '\n':
            if (inAttribute)
                out += "&#10;";
            else
                out += '\n';
            break;
        case '\t':
            if (inAttribute)
                out += "&#9;";
            else
                out += '\t';
            break;
        default:
            if (static_cast<unsigned char>(*s) < 0x80) {
                out += *s;
            } else if (const qsizetype len = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(s), 4)) {
                // (The terminating zero ends a cut sequence: no read past it.)
                out.append(s, len);
                s += len - 1;
            } else {
                // A character reference past Unicode or to a surrogate leaves
                // bytes that are not UTF-8; the file stays UTF-8 with U+FFFD
                // in their place, as they read.
                out += "\xEF\xBF\xBD";
            }
        }
    }
}

void AppendAttributes(QByteArray& out, pugi::xml_node n)
{
    for (pugi::xml_attribute a : n.attributes()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        AppendEscaped(out, a.value(), true);
        out += '"';
    }
}

// "--" may not appear inside a comment, nor may it end with "-".
void AppendComment(QByteArray& out, const char* s)
{
    out += "<!--";
    for (; *s; ++s) {
        out += *s;
        if (*s == '-' && (s[1] == '-' || s[1] == 0))
            out += ' ';
    }
    out += "-->";
}

void AppendCData(QByteArray& out, const char* s)
{
    out += "<![CDATA[";
    for (; *s; ++s) {
        if (s[0] == ']' && s[1] == ']' && s[2] == '>') {
            out += "]]]]><![CDATA[>";
            s += 2;
        } else {
            out += *s;
        }
    }
    out += "]]>";
}

void AppendOpen(QByteArray& out, pugi::xml_node n)
{
    switch (n.type()) {
    case pugi::node_element:
        out += '<';
        out += n.name();
        AppendAttributes(out, n);
        out += n.first_child() ? ">" : "/>";
        break;
    case pugi::node_pcdata:
        AppendEscaped(out, n.value(), false);
        break;
    case pugi::node_cdata:
        AppendCData(out, n.value());
        break;
    case pugi::node_comment:
        AppendComment(out, n.value());
        break;
    case pugi::node_declaration:
        out += "<?";
        out += n.name();
        for (pugi::xml_attribute a : n.attributes()) {
            out += ' ';
            out += a.name();
            out += "=\"";
            // The bytes written are UTF-8, whatever the loaded file declared.
            if (std::strcmp(a.name(), "encoding") == 0)
                out += "UTF-8";
            else
                AppendEscaped(out, a.value(), true);
            out += '"';
        }
        out += "?>";
        break;
    case pugi::node_pi:
        out += "<?";
        out += n.name();
        if (*n.value()) {
            out += ' ';
            out += n.value();
        }
        out += "?>";
        break;
    case pugi::node_doctype:
        out += "<!DOCTYPE ";
        out += n.value();
        out += '>';
        break;
    default:
        break;
    }
}

void AppendClose(QByteArray& out, pugi::xml_node n)
{
    if (n.type() == pugi::node_element && n.first_child()) {
        out += "</";
        out += n.name();
        out += '>';
    }
}

// Walks without recursion so that a deeply nested file cannot exhaust the stack.
QByteArray Serialize(pugi::xml_node root)
{
    QByteArray out;
    pugi::xml_node n = root.first_child();
    while (n) {
        AppendOpen(out, n);
        if (n.type() == pugi::node_element && n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling() && n.parent() != root) {
            n = n.parent();
            AppendClose(out, n);
        }
        n = n.next_sibling();
    }
    return out;
}

std::uint32_t NameHash(const char* name)
{
    std::uint32_t h = 2166136261u; // FNV-1a
    for (const char* p = name; *p; ++p)
        h = (h ^ static_cast<unsigned char>(*p)) * 16777619u;
    return h;
}

// Finds an attribute named twice in one element, in time linear in the
// names' bytes. Up to 32 names go into a small open hash table that is never
// cleared: a slot counts only when it carries the current element's mark.
// An element with more names gets a table sized to them.
class TDuplicateAttributes {
public:
    bool In(pugi::xml_node element)
    {
        if (++FMark == 0) {
            FSmall.fill({});
            FMark = 1;
        }
        // Every attribute has a name (the parser and SetAttribute see to it),
        // so the empty name of no attribute ends the list.
        const pugi::xml_attribute last = element.last_attribute();
        pugi::xml_attribute a = last;
        const char* name = a.name();
        for (size_t count = 0; *name; ++count) {
            if (2 * count == FSmall.size())
                return InLarge(last);
            if (!AddSmall(name))
                return true;
            a = a.previous_attribute();
            name = a.name();
        }
        return false;
    }

private:
    struct TSlot {
        const char* Name = nullptr;
        unsigned Mark = 0;
    };

    // False when the name is there already.
    bool AddSmall(const char* name)
    {
        const size_t mask = FSmall.size() - 1;
        size_t i = NameHash(name) & mask;
        for (; FSmall[i].Mark == FMark; i = (i + 1) & mask)
            if (std::strcmp(FSmall[i].Name, name) == 0)
                return false;
        FSmall[i] = { name, FMark };
        return true;
    }

    bool InLarge(pugi::xml_attribute last)
    {
        size_t count = 0;
        for (pugi::xml_attribute a = last; a; a = a.previous_attribute())
            ++count;
        size_t size = 2 * FSmall.size();
        while (size < 2 * count)
            size *= 2;
        FLarge.assign(size, nullptr);
        const size_t mask = size - 1;
        for (pugi::xml_attribute a = last; a; a = a.previous_attribute()) {
            const char* name = a.name();
            size_t i = NameHash(name) & mask;
            for (; FLarge[i]; i = (i + 1) & mask)
                if (std::strcmp(FLarge[i], name) == 0)
                    return true;
            FLarge[i] = name;
        }
        return false;
    }

    std::array<TSlot, 64> FSmall {};
    unsigned FMark = 0;
    std::vector<const char*> FLarge;
};

// Walks the tree from its end: the parser wrote that part last, so it is
// still in the cache, and the part this walk reads last is the beginning,
// where the reader that follows a load starts.
bool HasDuplicateAttribute(pugi::xml_node root)
{
    TDuplicateAttributes duplicates;
    pugi::xml_node n = root.last_child();
    while (n) {
        if (duplicates.In(n))
            return true;
        if (n.last_child()) {
            n = n.last_child();
            continue;
        }
        while (n && !n.previous_sibling() && n.parent() != root)
            n = n.parent();
        n = n.previous_sibling();
    }
    return false;
}

void LineAndColumn(const QByteArray& data, qsizetype offset, int& line, int& column)
{
    line = 1;
    column = 1;
    const qsizetype end = std::min(offset, data.size());
    for (qsizetype i = 0; i < end; ++i) {
        if (data.at(i) == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

// A file without a declared encoding is UTF-8, but one saved by an editor in
// the ANSI code page holds bytes that are not: those are read as Windows-1252,
// as the language files are, so that its accented letters survive a load and
// a save. Valid UTF-8 stays as it is. Gives a null array when every byte was
// valid already.
QByteArray RepairUtf8(QByteArrayView bytes)
{
    static const QList<QByteArray> cp1252 = [] {
        QList<QByteArray> table;
        for (int b = 0x80; b <= 0xFF; ++b)
            table.append(AnsiToUnicode(QByteArray(1, char(b))).toUtf8());
        return table;
    }();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QByteArray out;
    bool repaired = false;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < n;) {
        // Runs of ASCII, which is most of any file, 32 bytes at a time, then
        // eight.
        for (std::uint64_t w[4]; i + 32 <= n; i += 32) {
            std::memcpy(w, p + i, 32);
            if ((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ULL)
                break;
        }
        for (std::uint64_t w; i + 8 <= n; i += 8) {
            std::memcpy(&w, p + i, 8);
            if (w & 0x8080808080808080ULL)
                break;
        }
        if (i == n)
            break;
        const qsizetype len = Utf8SequenceLength(p + i, n - i);
        if (len > 0) {
            i += len;
            continue;
        }
        if (!repaired) {
            out.reserve(n + n / 4 + 4);
            repaired = true;
        }
        out.append(bytes.sliced(copied, i - copied));
        out.append(cp1252.at(p[i] - 0x80));
        copied = ++i;
    }
    if (!repaired)
        return QByteArray();
    out.append(bytes.sliced(copied));
    return out;
}

// Picks the encoding of a file: UTF-16 or UTF-32, with or without a mark, is
// left to the parser; otherwise the declaration decides, and without one (or
// after a UTF-8 mark) the text is UTF-8 with stray ANSI bytes taken as
// Windows-1252. Text that had to be converted is put, as UTF-8, into utf8.
int DetectEncoding(const QByteArray& data, QByteArray& utf8, QString& problem)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF") || data.startsWith(QByteArray("\0\0\xFE\xFF", 4))
        || data.startsWith(QByteArray("<\0", 2)) || data.startsWith(QByteArray("\0<", 2))
        || data.startsWith(QByteArray("\0\0\0<", 4)))
        return pugi::encoding_auto;
    const bool bom = data.startsWith("\xEF\xBB\xBF");
    const QByteArrayView body = QByteArrayView(data).sliced(bom ? 3 : 0);
    auto asUtf8 = [&] {
        utf8 = RepairUtf8(body);
        // An unchanged file with a mark is left to the parser, which drops it.
        return bom && utf8.isNull() ? pugi::encoding_auto : pugi::encoding_utf8;
    };
    if (bom || !body.startsWith("<?xml") || body.size() < 6 || body.at(5) == 0 || !std::strchr(" \t\r\n", body.at(5)))
        return asUtf8();
    const qsizetype end = body.indexOf("?>");
    if (end < 0)
        return asUtf8(); // the parser reports the broken declaration
    static const QRegularExpression re(
        QStringLiteral("[ \\t\\r\\n]encoding[ \\t\\r\\n]*=[ \\t\\r\\n]*([\"'])([A-Za-z0-9._:-]*)\\1"));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(body.first(end)));
    if (!m.hasMatch())
        return asUtf8();
    const QString name = m.captured(2).toLower();
    // Bytes that start with an ASCII declaration are not UTF-16 whatever it says.
    if (name == u"utf-8" || name == u"utf8" || name.startsWith(u"utf-16") || name.startsWith(u"ucs-2"))
        return asUtf8();
    QStringDecoder decoder(m.captured(2).toLatin1().constData());
    if (!decoder.isValid()) {
        problem = QStringLiteral("Encoding \"%1\" is not supported").arg(m.captured(2));
        return pugi::encoding_utf8;
    }
    const QString text = decoder(body);
    if (decoder.hasError()) {
        problem = QStringLiteral("The text is not valid %1").arg(m.captured(2));
        return pugi::encoding_utf8;
    }
    utf8 = text.toUtf8();
    return pugi::encoding_utf8;
}

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi
    | pugi::parse_doctype | pugi::parse_ws_pcdata_single | pugi::parse_fragment;

} // namespace

// ---- TXmlNode ----------------------------------------------------------------

TXmlNodeType TXmlNode::NodeType() const
{
    switch (Wrap(FNode).type()) {
    case pugi::node_document:
        return TXmlNodeType::ntDocument;
    case pugi::node_element:
        return TXmlNodeType::ntElement;
    case pugi::node_pcdata:
        return TXmlNodeType::ntText;
    case pugi::node_cdata:
        return TXmlNodeType::ntCData;
    case pugi::node_comment:
        return TXmlNodeType::ntComment;
    case pugi::node_pi:
        return TXmlNodeType::ntProcessingInstruction;
    case pugi::node_declaration:
        return TXmlNodeType::ntDeclaration;
    case pugi::node_doctype:
        return TXmlNodeType::ntDocType;
    default:
        return TXmlNodeType::ntNull;
    }
}

QString TXmlNode::NodeName() const
{
    switch (NodeType()) {
    case TXmlNodeType::ntDocument:
        return QStringLiteral("#document");
    case TXmlNodeType::ntText:
        return QStringLiteral("#text");
    case TXmlNodeType::ntCData:
        return QStringLiteral("#cdata-section");
    case TXmlNodeType::ntComment:
        return QStringLiteral("#comment");
    case TXmlNodeType::ntDocType:
        return QStringLiteral("#doctype");
    case TXmlNodeType::ntNull:
        return QString();
    default:
        return FromUtf8(Wrap(FNode).name());
    }
}

QString TXmlNode::NodeValue() const
{
    switch (NodeType()) {
    case TXmlNodeType::ntText:
    case TXmlNodeType::ntCData:
    case TXmlNodeType::ntComment:
    case TXmlNodeType::ntProcessingInstruction:
    case TXmlNodeType::ntDocType:
        return FromUtf8(Wrap(FNode).value());
    default:
        return QString();
    }
}

void TXmlNode::SetNodeValue(const QString& value)
{
    switch (NodeType()) {
    case TXmlNodeType::ntText:
    case TXmlNodeType::ntCData:
    case TXmlNodeType::ntComment:
    case TXmlNodeType::ntProcessingInstruction:
    case TXmlNodeType::ntDocType:
        Wrap(FNode).set_value(value.toUtf8().constData());
        break;
    default:
        break;
    }
}

QString TXmlNode::Text() const
{
    const TXmlNodeType t = NodeType();
    if (t != TXmlNodeType::ntElement && t != TXmlNodeType::ntDocument)
        return NodeValue();
    QByteArray text;
    const pugi::xml_node root = Wrap(FNode);
    pugi::xml_node n = root.first_child();
    while (n) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            text += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling() && n.parent() != root)
            n = n.parent();
        n = n.next_sibling();
    }
    return FromUtf8(text);
}

void TXmlNode::SetText(const QString& text)
{
    const TXmlNodeType t = NodeType();
    if (t == TXmlNodeType::ntElement) {
        RemoveChildren();
        if (!text.isEmpty())
            AddText(text);
    } else if (t == TXmlNodeType::ntDocument) {
        // A document cannot hold text of its own: keep the DOM rule and only
        // allow clearing it.
        if (text.isEmpty())
            RemoveChildren();
    } else {
        SetNodeValue(text);
    }
}

TXmlNode TXmlNode::Parent() const
{
    return TXmlNode(Wrap(FNode).parent().internal_object());
}
TXmlNode TXmlNode::FirstChild() const
{
    return TXmlNode(Wrap(FNode).first_child().internal_object());
}
TXmlNode TXmlNode::LastChild() const
{
    return TXmlNode(Wrap(FNode).last_child().internal_object());
}
TXmlNode TXmlNode::NextSibling() const
{
    return TXmlNode(Wrap(FNode).next_sibling().internal_object());
}
TXmlNode TXmlNode::PreviousSibling() const
{
    return TXmlNode(Wrap(FNode).previous_sibling().internal_object());
}

int TXmlNode::ChildCount() const
{
    int count = 0;
    for (pugi::xml_node c = Wrap(FNode).first_child(); c; c = c.next_sibling())
        ++count;
    return count;
}

TXmlNode TXmlNode::Child(int index) const
{
    if (index < 0)
        return TXmlNode();
    pugi::xml_node c = Wrap(FNode).first_child();
    for (; c && index > 0; --index)
        c = c.next_sibling();
    return TXmlNode(c.internal_object());
}

QList<TXmlNode> TXmlNode::ChildNodes() const
{
    QList<TXmlNode> list;
    for (pugi::xml_node c = Wrap(FNode).first_child(); c; c = c.next_sibling())
        list.append(TXmlNode(c.internal_object()));
    return list;
}

TXmlNode TXmlNode::FindChild(const QString& name) const
{
    if (!FNode)
        return TXmlNode();
    const QByteArray n = name.toUtf8();
    return TXmlNode(Wrap(FNode).child(n.constData()).internal_object());
}

QList<TXmlNode> TXmlNode::FindChildren(const QString& name) const
{
    QList<TXmlNode> list;
    if (!FNode)
        return list;
    const QByteArray n = name.toUtf8();
    for (pugi::xml_node c : Wrap(FNode).children(n.constData()))
        list.append(TXmlNode(c.internal_object()));
    return list;
}

int TXmlNode::AttributeCount() const
{
    int count = 0;
    for (pugi::xml_attribute a = Wrap(FNode).first_attribute(); a; a = a.next_attribute())
        ++count;
    return count;
}

bool TXmlNode::HasAttribute(const QString& name) const
{
    return FNode && Wrap(FNode).attribute(TUtf8Name(name).Get());
}

std::optional<QString> TXmlNode::Attribute(const QString& name) const
{
    if (!FNode)
        return std::nullopt;
    const pugi::xml_attribute a = Wrap(FNode).attribute(TUtf8Name(name).Get());
    if (!a)
        return std::nullopt;
    return FromUtf8(a.value());
}

void TXmlNode::AttributesUtf8(
    std::span<const char* const> names, std::span<std::optional<QUtf8StringView>> values) const
{
    const size_t count = std::min(names.size(), values.size());
    const pugi::xml_node node = Wrap(FNode);
    // Each look starts after the attribute found last: a row written in the
    // order asked for is read in one pass.
    pugi::xml_attribute hint = node.first_attribute();
    for (size_t i = 0; i < count; ++i) {
        const pugi::xml_attribute a = node.attribute(names[i], hint);
        if (a) {
            const char* value = a.value();
            values[i] = QUtf8StringView(value, Length(value));
        } else {
            values[i].reset();
        }
    }
}

QString TXmlNode::AttributeOr(const QString& name, const QString& fallback) const
{
    return Attribute(name).value_or(fallback);
}

QString TXmlNode::AttributeName(int index) const
{
    pugi::xml_attribute a = Wrap(FNode).first_attribute();
    for (; a && index > 0; --index)
        a = a.next_attribute();
    return index == 0 && a ? FromUtf8(a.name()) : QString();
}

QString TXmlNode::AttributeValue(int index) const
{
    pugi::xml_attribute a = Wrap(FNode).first_attribute();
    for (; a && index > 0; --index)
        a = a.next_attribute();
    return index == 0 && a ? FromUtf8(a.value()) : QString();
}

QList<std::pair<QString, QString>> TXmlNode::Attributes() const
{
    QList<std::pair<QString, QString>> list;
    for (pugi::xml_attribute a = Wrap(FNode).first_attribute(); a; a = a.next_attribute())
        list.append({ FromUtf8(a.name()), FromUtf8(a.value()) });
    return list;
}

bool TXmlNode::SetAttribute(const QString& name, const QString& value)
{
    const TXmlNodeType t = NodeType();
    if ((t != TXmlNodeType::ntElement && t != TXmlNodeType::ntDeclaration) || !IsValidName(name))
        return false;
    const QByteArray n = name.toUtf8();
    pugi::xml_node node = Wrap(FNode);
    pugi::xml_attribute a = node.attribute(n.constData());
    if (!a)
        a = node.append_attribute(n.constData());
    return a.set_value(value.toUtf8().constData());
}

bool TXmlNode::RemoveAttribute(const QString& name)
{
    if (!FNode)
        return false;
    const QByteArray n = name.toUtf8();
    return Wrap(FNode).remove_attribute(n.constData());
}

TXmlNode TXmlNode::Append(int pugiType, const QString& nameOrValue)
{
    const TXmlNodeType t = NodeType();
    if (t != TXmlNodeType::ntElement && t != TXmlNodeType::ntDocument)
        return TXmlNode();
    const auto type = static_cast<pugi::xml_node_type>(pugiType);
    pugi::xml_node parent = Wrap(FNode);
    if (t == TXmlNodeType::ntDocument) {
        // One root element, and no loose text, at document level.
        if (type == pugi::node_pcdata)
            return TXmlNode();
        if (type == pugi::node_element)
            for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
                if (c.type() == pugi::node_element)
                    return TXmlNode();
    }
    const QByteArray s = nameOrValue.toUtf8();
    if (type == pugi::node_element) {
        if (!IsValidName(nameOrValue))
            return TXmlNode();
        return TXmlNode(parent.append_child(s.constData()).internal_object());
    }
    pugi::xml_node child = parent.append_child(type);
    child.set_value(s.constData());
    return TXmlNode(child.internal_object());
}

TXmlNode TXmlNode::AddChild(const QString& name)
{
    return Append(pugi::node_element, name);
}
TXmlNode TXmlNode::AddComment(const QString& text)
{
    return Append(pugi::node_comment, text);
}
TXmlNode TXmlNode::AddText(const QString& text)
{
    return Append(pugi::node_pcdata, text);
}

bool TXmlNode::RemoveChild(const TXmlNode& child)
{
    if (!FNode || !child.FNode || Wrap(child.FNode).parent() != Wrap(FNode))
        return false;
    return Wrap(FNode).remove_child(Wrap(child.FNode));
}

void TXmlNode::RemoveChildren()
{
    if (FNode)
        Wrap(FNode).remove_children();
}

// ---- TXmlDocument ------------------------------------------------------------

TXmlDocument::TXmlDocument()
    : FDoc(std::make_unique<pugi::xml_document>())
{
}

TXmlDocument::~TXmlDocument() = default;

void TXmlDocument::SetActive(bool value)
{
    if (!value)
        Clear();
    FActive = value;
}

void TXmlDocument::Clear()
{
    FDoc->reset();
}

bool TXmlDocument::Parse(const QByteArray& data, QString* error, int encoding)
{
    FActive = true;
    FDoc->reset();
    const pugi::xml_parse_result r = FDoc->load_buffer(
        data.constData(), size_t(data.size()), kParseOptions, static_cast<pugi::xml_encoding>(encoding));
    QString problem;
    qsizetype offset = r.offset;
    if (!r) {
        problem = FromUtf8(r.description());
    } else {
        // Parsing as a fragment keeps loose text at document level visible, so
        // that a document with it, or without exactly one root element, is
        // refused as the DOM would.
        int elements = 0;
        for (pugi::xml_node c = FDoc->first_child(); c; c = c.next_sibling()) {
            if (c.type() == pugi::node_element) {
                ++elements;
            } else if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
                if (c.type() == pugi::node_cdata || !QByteArray(c.value()).trimmed().isEmpty()) {
                    problem = QStringLiteral("Text is not allowed outside the root element");
                    break;
                }
            }
        }
        offset = -1;
        if (problem.isEmpty() && HasDuplicateAttribute(*FDoc))
            problem = QStringLiteral("An attribute appears twice in one element");
        else if (problem.isEmpty() && elements == 0)
            problem = QStringLiteral("No root element found");
        else if (problem.isEmpty() && elements > 1)
            problem = QStringLiteral("Only one root element is allowed");
        if (problem.isEmpty()) {
            // Blank text between top-level nodes is not part of the document.
            for (pugi::xml_node c = FDoc->first_child(); c;) {
                pugi::xml_node next = c.next_sibling();
                if (c.type() == pugi::node_pcdata)
                    FDoc->remove_child(c);
                c = next;
            }
        }
    }
    if (problem.isEmpty())
        return true;
    FDoc->reset();
    if (error) {
        if (offset >= 0) {
            int line = 0;
            int column = 0;
            LineAndColumn(data, offset, line, column);
            *error = QStringLiteral("%1 (line %2, column %3)").arg(problem).arg(line).arg(column);
        } else {
            *error = problem;
        }
    }
    return false;
}

bool TXmlDocument::LoadFromFile(const QString& path, QString* error)
{
    const TReadResult read = ReadFileBytes(path);
    if (!read) {
        FDoc->reset();
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, read.Error);
        return false;
    }
    QString problem;
    if (LoadFromBytes(read.Bytes, &problem))
        return true;
    if (error)
        *error = QStringLiteral("\"%1\": %2").arg(path, problem);
    return false;
}

bool TXmlDocument::LoadFromBytes(const QByteArray& data, QString* error)
{
    QByteArray utf8;
    QString problem;
    const int encoding = DetectEncoding(data, utf8, problem);
    if (!problem.isEmpty()) {
        FActive = true;
        FDoc->reset();
        if (error)
            *error = problem;
        return false;
    }
    return Parse(encoding == pugi::encoding_utf8 && !utf8.isNull() ? utf8 : data, error, encoding);
}

bool TXmlDocument::LoadFromString(const QString& xml, QString* error)
{
    // The text is already decoded: an encoding named in its declaration no
    // longer applies.
    return Parse(xml.toUtf8(), error, pugi::encoding_utf8);
}

QByteArray TXmlDocument::SaveToBytes() const
{
    return Serialize(*FDoc);
}

QString TXmlDocument::SaveToString() const
{
    return FromUtf8(SaveToBytes());
}

bool TXmlDocument::SaveToFile(const QString& path, QString* error) const
{
    const TSaveResult r = SaveFileAtomic(path, SaveToBytes());
    if (!r && error)
        *error = r.Error;
    return r.Ok;
}

TXmlNode TXmlDocument::Node() const
{
    return TXmlNode(FDoc->internal_object());
}

TXmlNode TXmlDocument::FirstNode() const
{
    return TXmlNode(FDoc->first_child().internal_object());
}

TXmlNode TXmlDocument::DocumentElement() const
{
    return TXmlNode(FDoc->document_element().internal_object());
}
