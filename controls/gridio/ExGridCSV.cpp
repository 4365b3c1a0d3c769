// Delimiter-separated files (with the delimiter found on reading) and
// fixed-width files.

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/gridio/ExGridIO.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char16_t CR = 13;
constexpr char16_t LF = 10;
constexpr char16_t Quote = u'"';
// The fewest rows added at a time while a CSV file is read.
constexpr int RowGrowth = 1000;

const char16_t DelimiterCandidates[] = { u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&' };

// The candidate whose count is equal in both lines and largest (the earlier
// one on a tie); 0 when no count is above 0.
char16_t EqualAndLargest(const QString& A, const QString& B, int (*Count)(QChar, const QString&))
{
    char16_t best = 0;
    int bestCount = 0;
    for (char16_t c : DelimiterCandidates) {
        const int n = Count(QChar(c), A);
        if (n > bestCount && n == Count(QChar(c), B)) {
            best = c;
            bestCount = n;
        }
    }
    return best;
}

char16_t DetectDelimiter(const QString& First, const QString& Second)
{
    if (const char16_t d = EqualAndLargest(First, Second, CountUnpairedChars))
        return d;
    if (const char16_t d = EqualAndLargest(First, Second, CountChar))
        return d;
    char16_t best = DelimiterCandidates[0];
    int bestCount = 0;
    for (char16_t c : DelimiterCandidates) {
        const int n = std::max(CountChar(QChar(c), First), CountChar(QChar(c), Second));
        if (n > bestCount) {
            best = c;
            bestCount = n;
        }
    }
    return best;
}

// Walks a CSV text record by record. A quoted field ends at the first run of
// quotes of odd length and may go on over line breaks; one that no such run
// follows keeps its text as it stands, opening quote included.
class TCSVParser {
public:
    TCSVParser(const QString& Text, QChar Delimiter)
        : FText(Text)
        , T(Text.constData())
        , N(Text.size())
        , D(Delimiter)
    {
    }
    bool AtEnd() const { return FPos >= N; }
    qsizetype Position() const { return FPos; }
    void SkipLine()
    {
        FPos = LineEnd(FPos);
        FPos = SkipLineBreak(FPos);
    }
    // The fields of the next record; Quoted[i] tells whether field i was.
    void ReadRecord(QStringList& Fields, std::vector<bool>& Quoted)
    {
        Fields.clear();
        Quoted.clear();
        qsizetype e = LineEnd(FPos);
        for (;;) {
            qsizetype p = FPos;
            if (p == e)
                break; // nothing after the last delimiter
            // Leading blanks go, one character at least stays.
            while (p < e - 1 && T[p] == u' ')
                ++p;
            bool quoted = false;
            bool last = false;
            if (T[p] == Quote) {
                const qsizetype q = FindClose(p + 1);
                if (q >= 0) {
                    Fields << RemoveDoubledChar(QChar(Quote), FText.mid(p + 1, q - p - 1));
                    quoted = true;
                    // Whatever stands between the closing quote and the next
                    // delimiter is dropped.
                    e = LineEnd(q + 1);
                    const qsizetype d = IndexOf(q + 1, e);
                    last = d < 0;
                    FPos = last ? e : d + 1;
                }
            }
            if (!quoted) {
                const qsizetype d = IndexOf(p, e);
                last = d < 0;
                Fields << FText.mid(p, (last ? e : d) - p);
                FPos = last ? e : d + 1;
            }
            Quoted.push_back(quoted);
            if (last)
                break;
        }
        FPos = SkipLineBreak(e);
    }

private:
    qsizetype LineEnd(qsizetype p) const
    {
        while (p < N && T[p] != CR && T[p] != LF)
            ++p;
        return p;
    }
    qsizetype SkipLineBreak(qsizetype p) const
    {
        if (p < N && T[p] == CR)
            return p + 1 < N && T[p + 1] == LF ? p + 2 : p + 1;
        return p < N && T[p] == LF ? p + 1 : p;
    }
    qsizetype IndexOf(qsizetype From, qsizetype End) const
    {
        for (qsizetype i = From; i < End; ++i)
            if (T[i] == D)
                return i;
        return -1;
    }
    // The last quote of the first run of odd length from From on, or -1.
    qsizetype FindClose(qsizetype From) const
    {
        qsizetype i = From;
        while (i < N) {
            if (T[i] != Quote) {
                ++i;
                continue;
            }
            qsizetype j = i;
            while (j < N && T[j] == Quote)
                ++j;
            if ((j - i) % 2 == 1)
                return j - 1;
            i = j;
        }
        return -1;
    }

    const QString& FText;
    const QChar* T;
    qsizetype N;
    QChar D;
    qsizetype FPos = 0;
};

QString FixedField(const QString& Text, int Width)
{
    QString s = Text;
    // A line break would break the file's line structure.
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QChar(CR), QChar(u' ')).replace(QChar(LF), QChar(u' '));
    if (s.size() > Width)
        s.truncate(std::max(0, Width));
    else
        s += QString(Width - s.size(), QChar(u' '));
    return s;
}

QString TrimBlanks(const QString& S)
{
    qsizetype a = 0;
    qsizetype b = S.size();
    while (a < b && S[a].unicode() <= 32)
        ++a;
    while (b > a && S[b - 1].unicode() <= 32)
        --b;
    return S.mid(a, b - a);
}

} // namespace

// ---------------------------------------------------------------------------
// CSV writing

void TExStringGrid::SaveToCSV(const QString& FileName, bool Unicode)
{
    WriteCSVFile(FileName, false, Unicode);
}

void TExStringGrid::AppendToCSV(const QString& FileName, bool Unicode)
{
    WriteCSVFile(FileName, true, Unicode);
}

void TExStringGrid::WriteCSVFile(const QString& FileName, bool Append, bool Unicode)
{
    QString out;
    if (Append) {
        out = DecodeText(gridio::ReadFileInBlocks(FileName));
        if (!out.isEmpty() && !out.endsWith(QChar(LF)) && !out.endsWith(QChar(CR)))
            out += QLatin1String("\r\n");
    }
    TTextFileWriter writer(FileName, Unicode ? TTextEncoding::UTF8 : TTextEncoding::Ansi);
    const QChar d = Delimiter() ? QChar(Delimiter()) : QChar(u',');
    const int c0 = SaveStartCol();
    const int c1 = ExchangeEndCol();
    const int r0 = SaveStartRow();
    const int r1 = SaveEndRow();
    // Most cells need no quoting: those go out as they are, after one look
    // at their characters.
    const bool plainPossible = !OemConvert() && !AlwaysQuotes();
    const auto plain = [d](const QString& s) {
        if (s.isEmpty())
            return false;
        for (const QChar ch : s) {
            const char16_t u = ch.unicode();
            if (u == Quote || u == CR || u == LF || u == d.unicode())
                return false;
        }
        return true;
    };
    ExportNotification(esExportStart, r0);
    int last = -1;
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = c0; c <= c1; ++c) {
            if (c > c0)
                out += d;
            const QString text = ExchangeCellText(c, r);
            if (plainPossible && plain(text)) {
                out += text;
                continue;
            }
            QString s = DoubleQuoteChars(text);
            if (OemConvert())
                AnsiToOemText(s);
            bool quoted = false;
            if (AlwaysQuotes() || (s.contains(QChar(Quote)) && !s.contains(d))) {
                s = QChar(Quote) + s + QChar(Quote);
                quoted = true;
            }
            if (s.isEmpty()) {
                if (JavaCSV())
                    s = QStringLiteral("^");
                else if (QuoteEmptyCells())
                    s = QStringLiteral("\"\"");
            }
            // A lone LF breaks the line as a CR does.
            if (s.contains(d) || s.contains(QChar(CR)) || s.contains(QChar(LF))) {
                if (JavaCSV()) {
                    LineBreaksToTilde(s);
                    // Unquoted, the delimiter would split the field on reading.
                    if (!quoted && s.contains(d))
                        s = QChar(Quote) + s + QChar(Quote);
                } else if (quoted) {
                    CRLFToLF(s);
                } else {
                    QuoteMultiLineText(s);
                }
            }
            out += s;
        }
        out += QLatin1String("\r\n");
        writer.Feed(out);
        FireFileProgress(gridio::Percent(r, RowCount() - 1), last);
    }
    ExportNotification(esExportDone, -1);
    gridio::CommitText(writer, out);
}

// ---------------------------------------------------------------------------
// CSV reading

void TExStringGrid::LoadFromCSV(const QString& FileName, int MaxRows)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    if (stream.Size() > 0)
        ReadCSVStream(&stream, false, MaxRows);
}

void TExStringGrid::InsertFromCSV(const QString& FileName, int MaxRows)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    if (stream.Size() > 0)
        ReadCSVStream(&stream, true, MaxRows);
}

void TExStringGrid::LoadFromCSVStream(TStream* Stream, int MaxRows)
{
    ReadCSVStream(Stream, false, MaxRows);
}

void TExStringGrid::ReadCSVStream(TStream* Stream, bool Insert, int MaxRows)
{
    Stream->Seek(0, soBeginning);
    const QString text = DecodeText(gridio::ReadStreamBytes(Stream));
    if (text.isEmpty())
        throw Exception(QStringLiteral("File is empty"));

    int row = Insert ? RowCount() : SaveStartRow();
    const bool footer = Insert && FloatingFooter() && FloatingFooter()->Visible() && RowCount() > 0;
    QStringList footerTexts;
    if (footer) {
        row = RowCount() - 1;
        for (int c = 0; c < TotalColCount(); ++c)
            footerTexts << Cells(c, row);
        ClearRowCells(row);
    }

    QChar d(Delimiter());
    if (Delimiter() == 0) {
        TCSVParser lines(text, QChar(LF));
        lines.SkipLine();
        lines.SkipLine();
        const QStringList firstTwo = gridio::SplitLines(text.left(lines.Position()));
        d = QChar(DetectDelimiter(firstTwo.value(0), firstTwo.value(1)));
    }

    TCSVParser parser(text, d);
    if (!LoadFirstRow())
        parser.SkipLine();
    qint64 counted = 0;
    if (OnFileProgress) {
        const qsizetype from = parser.Position();
        counted = gridio::SplitLines(text.mid(from)).size();
        if (Insert)
            SetRowCount(int(std::min<qint64>(RowCount() + counted, INT_MAX / 2)));
        else
            SetRowCount(int(std::min<qint64>(row + counted + FixedFooters(), INT_MAX / 2)));
    }
    const int hiddenOffset = SaveHiddenCells() ? NumHiddenColumns() : 0;
    const int c0 = SaveStartCol();
    QStringList fields;
    std::vector<bool> quoted;
    int read = 0;
    int last = -1;
    while (!parser.AtEnd() && (MaxRows <= 0 || read < MaxRows)) {
        parser.ReadRecord(fields, quoted);
        // Rows are added in steps that grow with the grid, so that a long
        // file resizes it a few dozen times; the count is set exactly at the end.
        if (row >= RowCount() - FixedFooters())
            SetRowCount(row + std::max(RowGrowth, row / 2));
        for (int k = 0; k < fields.size(); ++k) {
            QString s = fields[k];
            if (OemConvert())
                OemToAnsiText(s);
            if (JavaCSV())
                TildeToLineBreaks(s);
            else
                VTabToCRLF(s);
            const int col = c0 + k;
            if (ColCount() < col + 1 - hiddenOffset)
                SetColCount(col + 1 - hiddenOffset);
            SetLoadCellText(hiddenOffset > 0 ? col : RealColIndex(col), row, s);
        }
        ++row;
        ++read;
        if (OnFileProgress && counted > 0)
            FireFileProgress(gridio::Percent(read, counted), last);
    }
    SetRowCount(row + FixedFooters());
    FMaxRowCount = RowCount();
    if (footer)
        for (int c = 0; c < footerTexts.size(); ++c)
            SetCells(c, RowCount() - 1, footerTexts[c]);
    DoCellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

// ---------------------------------------------------------------------------
// Fixed width

int TExStringGrid::MaxColumnTextLength(int ACol)
{
    qsizetype longest = 0;
    for (int r = 0; r < RowCount(); ++r) {
        const QString s = ExchangeCellText(ACol, r);
        if (s.size() <= longest)
            continue;
        if (!Multilinecells()) {
            longest = std::max(longest, gridio::SplitLines(s).value(0).size());
            continue;
        }
        for (const QString& l : gridio::SplitLines(s))
            longest = std::max(longest, l.size());
    }
    return int(longest);
}

void TExStringGrid::SaveToFixed(const QString& FileName, TIntList* Positions)
{
    const int c0 = SaveStartCol();
    const int c1 = ExchangeEndCol();
    for (int c = c0 + Positions->Count(); c <= c1; ++c)
        Positions->Add(MaxColumnTextLength(c) + 1);
    QString out;
    const int r0 = SaveStartRow();
    ExportNotification(esExportStart, r0);
    for (int r = r0; r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = c0; c <= c1; ++c)
            out += FixedField(ExchangeCellText(c, r), Positions->Integers(c - c0));
        out += QLatin1String("\r\n");
    }
    ExportNotification(esExportDone, -1);
    try {
        gridio::SaveBytes(FileName, EncodeText(out, TTextEncoding::Ansi));
    } catch (const EFCreateError&) {
        throw EExGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
}

void TExStringGrid::LoadFromFixed(const QString& FileName, TIntList* Positions, bool DoTrim, int MaxRows)
{
    QByteArray bytes;
    try {
        bytes = gridio::ReadFileInBlocks(FileName);
    } catch (const EFOpenError&) {
        throw EExGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    }
    // Sorted in the caller's list.
    std::vector<int> pos;
    for (int i = 0; i < Positions->Count(); ++i)
        pos.push_back(Positions->Integers(i));
    std::sort(pos.begin(), pos.end());
    for (int i = 0; i < int(pos.size()); ++i)
        if (Positions->Integers(i) != pos[size_t(i)])
            Positions->SetIntegers(i, pos[size_t(i)]);
    const int fields = std::max(0, int(pos.size()) - 1);
    const QStringList lines = gridio::SplitLines(DecodeText(bytes));
    const int count = MaxRows == -1 ? int(lines.size()) : std::clamp(MaxRows, 0, int(lines.size()));
    SetColCount(FixedCols() + fields);
    const int r0 = SaveStartRow();
    const int c0 = SaveStartCol();
    if (count > 0)
        SetRowCount(std::max(RowCount() + count - 1, r0 + count));
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < fields && c0 + k < ColCount(); ++k) {
            const qsizetype from = std::max(0, pos[size_t(k)] - 1);
            const qsizetype to = std::max<qsizetype>(from, pos[size_t(k) + 1] - 1);
            QString s = lines[i].mid(from, to - from);
            if (DoTrim)
                s = TrimBlanks(s);
            SetLoadCellText(RealColIndex(c0 + k), r0 + i, s);
        }
    }
    DoCellsChanged(Rect(0, 0, ColCount(), RowCount()));
}
