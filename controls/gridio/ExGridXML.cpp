// Record-oriented XML: one record element per row and one field element per
// cell; read back one record per row or following the document's nesting.

#include "controls/grid/ExGrid.h"
#include "controls/gridio/ExGridIO.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/XmlDom.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <vector>

namespace {

// How far a "FIELD<k>" name may move a text past the fields before it: a
// few bytes of names must not make every row hold thousands of cells.
constexpr int MaxFieldGap = 256;

bool IsNameStart(char32_t c)
{
    return c == u'_' || c == u':' || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')
        || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0x2000)
        || (c >= 0x2070 && c < 0xD800 && (c < 0x2190 || c >= 0x2C00) && (c < 0x2FF0 || c >= 0x3001))
        || (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsXmlName(const QString& Name)
{
    const QList<uint> cps = Name.toUcs4();
    if (cps.isEmpty() || !IsNameStart(cps[0]))
        return false;
    for (uint c : cps)
        if (!IsNameStart(c) && c != u'-' && c != u'.' && !(c >= u'0' && c <= u'9') && c != 0xB7
            && !(c >= 0x300 && c <= 0x36F) && !(c >= 0x203F && c <= 0x2040))
            return false;
    return true;
}

// Whether XML 1.0 lets the character stand in a document at all (TAB, LF
// and CR are the only control characters it allows).
bool IsXmlChar(char32_t c)
{
    return c == 9 || c == 10 || c == 13 || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Writes text in the declared encoding; characters it cannot hold become
// character references.
class TXmlTextEncoder {
public:
    explicit TXmlTextEncoder(const QString& Encoding)
        : FName(Encoding.toLatin1())
        , FEncoder(FName.constData())
    {
    }
    bool IsValid() const { return FEncoder.isValid(); }
    bool CanHold(char32_t c)
    {
        if (c < 0x80)
            return true;
        const auto it = FKnown.constFind(c);
        if (it != FKnown.constEnd())
            return *it;
        QStringEncoder enc(FName.constData(), QStringConverter::Flag::Stateless);
        QStringDecoder dec(FName.constData(), QStringConverter::Flag::Stateless);
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray bytes = enc(one);
        const bool ok = !enc.hasError() && QString(dec(bytes)) == one;
        FKnown.insert(c, ok);
        return ok;
    }
    // The escaped cell text: markup characters as entities, a CR as a
    // reference (parsers turn a written CR into LF), characters the encoding
    // cannot hold as references; those XML 1.0 forbids are left out.
    QString Escape(const QString& Text)
    {
        QString out;
        out.reserve(Text.size() + 8);
        for (char32_t c : Text.toUcs4()) {
            switch (c) {
            case u'&':
                out += QLatin1String("&amp;");
                continue;
            case u'>':
                out += QLatin1String("&gt;");
                continue;
            case u'<':
                out += QLatin1String("&lt;");
                continue;
            case u'"':
                out += QLatin1String("&quot;");
                continue;
            case 13:
                out += QLatin1String("&#13;");
                continue;
            default:
                break;
            }
            if (!IsXmlChar(c))
                continue;
            if (CanHold(c))
                out += QString::fromUcs4(&c, 1);
            else
                out += QStringLiteral("&#%1;").arg(uint(c));
        }
        return out;
    }
    QByteArray Encode(const QString& Text) { return FEncoder(Text); }

private:
    QByteArray FName;
    QStringEncoder FEncoder;
    QHash<char32_t, bool> FKnown;
};

} // namespace

// ---------------------------------------------------------------------------
// Writing

void TExStringGrid::SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
    const QStringList* FieldDescr, bool ExportEmptyCells)
{
    TXmlTextEncoder encoder(XMLEncoding());
    if (!encoder.IsValid())
        throw EExGridError(QStringLiteral("Unknown XML encoding ") + XMLEncoding());
    const int c0 = SaveStartCol();
    const int c1 = ExchangeEndCol();
    QStringList names;
    for (int c = c0; c <= c1; ++c) {
        const int k = c - c0;
        names << (FieldDescr && k < FieldDescr->size() ? FieldDescr->at(k) : QStringLiteral("FIELD%1").arg(k));
    }
    // Names are written as they stand: each must be a name the encoding holds.
    auto checkName = [&encoder](const QString& name) {
        bool ok = IsXmlName(name);
        for (char32_t c : name.toUcs4())
            ok = ok && encoder.CanHold(c);
        if (!ok)
            throw EExGridError(QStringLiteral("Invalid XML name \"%1\"").arg(name));
    };
    checkName(ListDescr);
    checkName(RecordDescr);
    for (const QString& n : names)
        checkName(n);

    QString out;
    auto line = [&out](const QString& s) {
        out += s;
        out += QLatin1String("\r\n");
    };
    line(QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\" ?>").arg(XMLEncoding()));
    line(u'<' + ListDescr + u'>');
    const int r0 = SaveStartRow();
    const int r1 = SaveEndRow();
    ExportNotification(esExportStart, r0);
    int last = -1;
    std::vector<QString> texts;
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNextRow, r);
        line(u'<' + RecordDescr + u'>');
        texts.clear();
        int lastFilled = -1;
        for (int c = c0; c <= c1; ++c) {
            const int real = SaveHiddenCells() ? c : RealColFromDisplay(c);
            // A merged area is written once, by its base cell.
            texts.push_back(IsMergedNonBaseCell(real, r) ? QString() : ExchangeCellText(c, r));
            if (!texts.back().isEmpty())
                lastFilled = c - c0;
        }
        for (int k = 0; k < int(texts.size()); ++k) {
            const int real = SaveHiddenCells() ? c0 + k : RealColFromDisplay(c0 + k);
            if (IsMergedNonBaseCell(real, r))
                continue;
            QString s = texts[size_t(k)];
            // Empty fields before a written one keep the fields in place for
            // readers that go by order.
            if (s.isEmpty() && !ExportEmptyCells && k > lastFilled)
                continue;
            s = s.isEmpty() && QuoteEmptyCells() ? QStringLiteral("&quot;&quot;") : encoder.Escape(s);
            const QString& name = names[k];
            line(u'<' + name + u'>' + s + QStringLiteral("</") + name + u'>');
        }
        line(QStringLiteral("</") + RecordDescr + u'>');
        FireFileProgress(gridio::Percent(r - r0, r1 - r0), last);
    }
    line(QStringLiteral("</") + ListDescr + u'>');
    ExportNotification(esExportDone, -1);
    try {
        gridio::SaveBytes(FileName, encoder.Encode(out));
    } catch (const EFCreateError&) {
        throw EExGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
}

// ---------------------------------------------------------------------------
// Reading

struct TExStringGrid::TXMLReadState {
    bool LevelToRow = false;
    bool LoadFieldDescr = false;
    int C0 = 0;
    int R0 = 0;
    int MaxCol = 0;
    int MaxRow = 0;
    int Col = 0;
    int Row = 0;
    int Level = 1;
};

void TExStringGrid::LoadFromXML(const QString& FileName, bool LevelToRow, bool LoadFieldDescr)
{
    if (!FileExists(FileName))
        throw Exception(QStringLiteral("XML file not found"));
    TXmlDocument doc;
    QString error;
    if (!doc.LoadFromBytes(gridio::ReadFileInBlocks(FileName), &error)) {
        static const QRegularExpression lineRe(QStringLiteral("\\(line (\\d+)"));
        const QRegularExpressionMatch m = lineRe.match(error);
        throw Exception(QStringLiteral("XMLDOM Parsing error 1 on line %1")
                            .arg(m.hasMatch() ? m.captured(1) : QStringLiteral("0")));
    }
    TXMLReadState st;
    st.LevelToRow = LevelToRow;
    st.LoadFieldDescr = LoadFieldDescr;
    st.C0 = SaveStartCol();
    st.R0 = LoadFieldDescr || !(SaveFixedCells() || SaveFixedRows()) ? FixedRows() : 0;
    st.MaxCol = st.C0;
    st.MaxRow = st.R0;
    const QList<TXmlNode> records = doc.DocumentElement().ChildNodes();
    for (int i = 0; i < records.size(); ++i) {
        st.Col = 0;
        st.Level = 1;
        if (LevelToRow && i == 0 && records[i].AttributeCount() == 0)
            st.Row = -1;
        ReadXMLNodes(st, records[i]);
        if (!LevelToRow)
            ++st.Row;
    }
    SetColCount(st.MaxCol + 1);
    SetRowCount(st.MaxRow + 1);
    RecalcFooter();
}

void TExStringGrid::ReadXMLNodes(TXMLReadState& State, const TXmlNode& Node)
{
    const bool headers = SaveFixedCells() || SaveFixedRows();
    // Stores a text in the cell in work and moves on to the next column.
    auto store = [&](const QString& Name, const QString& Text, bool NameAlways) {
        const int c = State.C0 + State.Col;
        const int r = State.R0 + State.Row;
        if (c >= 0 && r >= 0) {
            if (c >= ColCount())
                SetColCount(c + 1);
            // Rows grow in steps; the count is set exactly at the end.
            if (r >= RowCount())
                SetRowCount(std::max(r + 1, std::min(RowCount() * 2, r + 4096)));
            if (headers && (NameAlways || State.LoadFieldDescr) && GetGridCell(RealColIndex(c), 0).isEmpty())
                SetGridCell(RealColIndex(c), 0, Name);
            SetLoadCellText(RealColIndex(c), r, Text);
            State.MaxCol = std::max(State.MaxCol, c);
            State.MaxRow = std::max(State.MaxRow, r);
        }
        ++State.Col;
    };
    static const QRegularExpression fieldRe(QStringLiteral("^FIELD(\\d{1,5})$"));
    // A field written as FIELD<k> goes to column k, whatever came before it.
    auto placeField = [&](const TXmlNode& N) {
        if (State.LevelToRow)
            return;
        const QRegularExpressionMatch m = fieldRe.match(N.NodeName());
        if (m.hasMatch() && m.captured(1).toInt() <= State.Col + MaxFieldGap)
            State.Col = m.captured(1).toInt();
    };
    // Walked with a stack of its own: a deeply nested document cannot
    // exhaust the call stack.
    std::vector<TXmlNode> stack { Node };
    while (!stack.empty()) {
        const TXmlNode n = stack.back();
        stack.pop_back();
        bool startedRow = false;
        const int attrs = n.AttributeCount();
        for (int a = 0; a < attrs; ++a)
            store(n.AttributeName(a), n.AttributeValue(a), true);
        if (State.LevelToRow && attrs > 0) {
            ++State.Row;
            State.Col = State.Level;
            startedRow = true;
        }
        const QList<TXmlNode> kids = n.ChildNodes();
        const int children = int(kids.size());
        if (children > 1) {
            if (State.LevelToRow && !startedRow) {
                ++State.Row;
                State.Col = 0;
            }
            ++State.Level;
            for (int i = children - 1; i >= 0; --i)
                stack.push_back(kids[i]);
        } else if (children == 0) {
            placeField(n);
            ++State.Col;
        } else {
            placeField(n);
            QString text = n.Text();
            if (QuoteEmptyCells() && text == QLatin1String("\"\""))
                text.clear();
            store(n.NodeName(), text, false);
        }
    }
}
