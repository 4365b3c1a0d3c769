// The string grid's stream form, the save range every writer follows and the
// per-cell text hooks of the writers and readers.

#include "controls/base/EsgHTMLE.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "platform/runtime/SysUtils.h"

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace {

constexpr char16_t CRUnit = 13;
constexpr char16_t LFUnit = 10;

// The writer puts a width line, at least "cw 0,0" and CR LF, for every
// column: a header may announce no more columns than the rest of the stream
// has room for (a stream made without them, up to 256), so a few bytes can
// never make the grid size its rows for millions of columns.
constexpr qint64 MinWidthLineBytes = 16;
constexpr qint64 ColsWithoutWidthLines = 256;
// Rows cost nothing until a cell is written, but a cell far down makes the
// store keep every row above it: ten times the million rows the grid is
// built for is the most a stream may announce.
constexpr qint64 MaxStreamRows = 10'000'000;
// The grid lays its columns out in screen coordinates: a width is taken up
// to far beyond any screen, never so far that positions overflow.
constexpr int MaxStreamColWidth = 65535;

// Collects the lines as UTF-16 little-endian units, each ended by CR LF, and
// hands them to the stream in large blocks.
class TStreamLineWriter {
public:
    explicit TStreamLineWriter(TStream* Stream)
        : FStream(Stream)
    {
    }
    void WriteStreamLine(const QString& Line)
    {
        for (QChar c : Line)
            AppendUnit(c.unicode());
        AppendUnit(CRUnit);
        AppendUnit(LFUnit);
        if (FBuffer.size() >= BlockSize)
            Flush();
    }
    void Flush()
    {
        if (!FBuffer.isEmpty())
            FStream->WriteBuffer(FBuffer);
        FBuffer.clear();
    }

private:
    static constexpr qsizetype BlockSize = 1 << 16;
    void AppendUnit(char16_t u)
    {
        FBuffer.append(char(u & 0xFF));
        FBuffer.append(char(u >> 8));
    }
    TStream* FStream;
    QByteArray FBuffer;
};

// Reads UTF-16 little-endian lines from a stream's position through a block
// buffer; Finish puts the stream at the reader's position, so bytes read
// ahead are given back. A single byte left at the end is no unit and stays.
class TStreamLineReader {
public:
    explicit TStreamLineReader(TStream* Stream)
        : FStream(Stream)
        , FPos(Stream->Position())
        , FBufStart(FPos)
    {
    }
    TStreamLineReader(const TStreamLineReader&) = delete;
    TStreamLineReader& operator=(const TStreamLineReader&) = delete;
    // Whatever ends the load, the stream is left where reading stopped.
    ~TStreamLineReader()
    {
        try {
            FStream->Seek(FPos, soBeginning);
        } catch (...) {
        }
    }

    bool AtEnd() { return !Fill(); }
    qint64 Position() const { return FPos; }
    // Back to the start of a line read before.
    void SetPosition(qint64 Pos) { FPos = Pos; }
    qint64 Remaining() const { return FStream->Size() - FPos; }

    // The units up to a CR (or the end); the LF after the CR is consumed.
    QString ReadLine()
    {
        QString line;
        while (Fill()) {
            const char16_t u = Unit();
            FPos += 2;
            if (u == CRUnit) {
                if (Fill() && Unit() == LFUnit)
                    FPos += 2;
                break;
            }
            line.append(QChar(u));
        }
        return line;
    }

private:
    static constexpr qint64 BlockSize = 1 << 16;
    // True when a whole unit is there at the position.
    bool Fill()
    {
        // A position set back into bytes already dropped is read again.
        if (FPos < FBufStart) {
            FBuffer.clear();
            FBufStart = FPos;
            FStream->Seek(FPos, soBeginning);
        }
        if (FBufStart + FBuffer.size() - FPos >= 2)
            return true;
        FBuffer.remove(0, qsizetype(FPos - FBufStart));
        FBufStart = FPos;
        char block[BlockSize];
        while (FBuffer.size() < 2) {
            const qint64 n = FStream->Read(block, BlockSize);
            if (n <= 0)
                return false;
            FBuffer.append(block, qsizetype(n));
        }
        return true;
    }
    char16_t Unit() const
    {
        const qsizetype i = qsizetype(FPos - FBufStart);
        return char16_t(uchar(FBuffer[i]) | uchar(FBuffer[i + 1]) << 8);
    }

    TStream* FStream;
    qint64 FPos;
    qint64 FBufStart;
    QByteArray FBuffer;
};

} // namespace

// ---------------------------------------------------------------------------
// The save range

int TExStringGrid::SaveStartCol() const
{
    return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
}

int TExStringGrid::SaveEndCol() const
{
    return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TExStringGrid::SaveColCount() const
{
    return SaveEndCol() - SaveStartCol() + 1;
}

int TExStringGrid::SaveStartRow() const
{
    return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows();
}

int TExStringGrid::SaveEndRow() const
{
    return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TExStringGrid::SaveRowCount() const
{
    return SaveEndRow() - SaveStartRow() + 1;
}

void TExStringGrid::SetFixedRightCols(int v)
{
    FFixedRightCols = v;
    RepaintGrid();
}

// ---------------------------------------------------------------------------
// Text hooks

QString TExStringGrid::GetSaveCellText(int ACol, int ARow)
{
    QString s = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    if (s.isEmpty()) {
        // An empty check-box cell saves its state as the check texts; the
        // state belongs to the real row.
        const int real = NumHiddenRows() > 0 ? RealRowIndex(ARow) : ARow;
        bool viaRealRow = false;
        const TCellGraphic* g = CheckRecord(ACol, real, viaRealRow);
        if (g && (g->CellType() == ctCheckBox || g->CellType() == ctTriStateCheckBox)) {
            TCheckBoxState state = cbUnchecked;
            GetCheckBoxState(ACol, real, state);
            s = state == cbChecked ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
        }
    }
    switch (s.isEmpty() ? 0 : CellTextType(s, EnableHTML())) {
    case 1:
        if (!FSaveWithHTML)
            s = StripHTMLTags(s);
        break;
    case 2:
        if (FSaveWithRTF)
            s.remove(QChar(CRUnit)).remove(QChar(LFUnit));
        else
            s = RichToPlainText(s);
        break;
    default:
        break;
    }
    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, s);
    return s;
}

void TExStringGrid::SetLoadCellText(int ACol, int ARow, const QString& Value)
{
    QString s = Value;
    if (OnLoadCell)
        OnLoadCell(this, ACol, ARow, s);
    SetGridCell(ACol, ARow, s);
}

// ---------------------------------------------------------------------------
// The stream form

void TExStringGrid::SaveToStream(TStream* Stream)
{
    TStreamLineWriter writer(Stream);
    const int c0 = SaveStartCol();
    const int c1 = SaveEndCol();
    const int r0 = SaveStartRow();
    const int r1 = SaveEndRow();
    writer.WriteStreamLine(QString::number(SaveColCount()) + u',' + QString::number(SaveRowCount()));
    // Widths up to the last saved column: a reader sizes the grid to the
    // saved columns after its own start column, and a width beyond that
    // (a right fixed column left out) would stop it.
    for (int c = 0; c <= c1; ++c)
        writer.WriteStreamLine(QStringLiteral("cw ") + QString::number(c) + u',' + QString::number(ColWidths(c)));
    // The stream holds the shown columns, numbered as they show; each text
    // is read from the column that shows there.
    ExportNotification(esExportStart, r0);
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = c0; c <= c1; ++c) {
            const QString s = GetSaveCellText(RealColIndex(c), r);
            if (!s.isEmpty())
                writer.WriteStreamLine(
                    QString::number(c - c0) + u',' + QString::number(r - r0) + u',' + EncodeControlChars(s));
        }
    }
    writer.Flush();
    ExportNotification(esExportDone, -1);
}

void TExStringGrid::LoadFromStream(TStream* Stream)
{
    TStreamLineReader reader(Stream);
    if (!reader.AtEnd()) {
        const QString header = reader.ReadLine();
        if (!header.isEmpty()) {
            const int comma = header.indexOf(u',');
            const int cols = StrToInt(comma < 0 ? QString() : header.left(comma));
            const int rows = StrToInt(comma < 0 ? QString() : header.mid(comma + 1));
            if (cols > std::max(ColsWithoutWidthLines, reader.Remaining() / MinWidthLineBytes))
                throw EConvertError(
                    QStringLiteral("Grid stream announces %1 columns without their width lines").arg(cols));
            const qint64 colCount = qint64(cols) + SaveStartCol();
            const qint64 rowCount = qint64(rows) + SaveStartRow();
            if (rowCount > MaxStreamRows)
                throw EConvertError(
                    QStringLiteral("Grid stream announces %1 rows, more than %2").arg(rowCount).arg(MaxStreamRows));
            // Both counts are read before the grid changes.
            SetColCount(int(std::max<qint64>(colCount, 0)));
            SetRowCount(int(std::max<qint64>(rowCount, 0)));
        }
    }
    const qint64 c0 = SaveStartCol();
    const qint64 r0 = SaveStartRow();
    while (!reader.AtEnd()) {
        const qint64 lineStart = reader.Position();
        const QString line = reader.ReadLine();
        if (line.startsWith(QLatin1String("cw"))) {
            const int comma = line.indexOf(u',');
            const int col = StrToInt(comma >= 3 ? line.mid(3, comma - 3) : QString());
            const int width = StrToInt(comma >= 0 ? line.mid(comma + 1) : QString());
            SetColWidths(col, std::min(width, MaxStreamColWidth));
            continue;
        }
        const int comma1 = line.indexOf(u',');
        const int comma2 = comma1 < 0 ? -1 : line.indexOf(u',', comma1 + 1);
        if (comma2 < 0) {
            // Not a line of the grid: the rest of the stream is someone else's.
            reader.SetPosition(lineStart);
            break;
        }
        const qint64 col = StrToInt(line.left(comma1)) + c0;
        const qint64 row = StrToInt(line.mid(comma1 + 1, comma2 - comma1 - 1)) + r0;
        // A cell beyond the grid is skipped, as the file form does. Columns
        // count shown columns, as they were written.
        if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
            continue;
        SetLoadCellText(RealColIndex(int(col)), int(row), DecodeControlChars(line.mid(comma2 + 1), FMultilinecells));
    }
    // The change report recalculates the footer too.
    DoCellsChanged(Rect(0, 0, ColCount(), RowCount()));
}

void TExStringGrid::AssignCells(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TExStringGrid*>(Source);
    if (!source)
        return;
    TMemoryStream stream;
    // Saving reads the source; only its save hooks may act on it.
    const_cast<TExStringGrid*>(source)->SaveToStream(&stream);
    // The stream holds only the source's non-empty cells: the texts here go
    // first, so that the copy has no cells of its own left between them (in
    // the shown columns the copy fills; hidden ones keep theirs).
    const int lastRow = std::min(SaveEndRow(), Store().StoredRowCount() - 1);
    for (int r = SaveStartRow(); r <= lastRow; ++r)
        for (int c = SaveStartCol(); c <= SaveEndCol(); ++c)
            if (!GetGridCell(RealColIndex(c), r).isEmpty())
                SetGridCell(RealColIndex(c), r, QString());
    stream.SetPosition(0);
    LoadFromStream(&stream);
}
