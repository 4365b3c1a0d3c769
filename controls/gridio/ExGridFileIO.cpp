// The string grid's native text file: absolute coordinates, ANSI or UTF-16,
// and the services every file format of the grid shares.

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGrid.h"
#include "controls/gridio/ExGridIO.h"
#include "platform/runtime/SysUtils.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// The most rows a file may announce: ten times the million rows the grid is
// built for (the stream form's limit).
constexpr qint64 MaxFileRows = 10'000'000;
// Columns a file may announce without a width line each.
constexpr qint64 ColsWithoutWidthLines = 256;
constexpr int MaxFileColWidth = 65535;
// Lines read between two looks at pending events.
constexpr int LinesPerEventPass = 4096;

// The two numbers of "a,b"; false when either is no integer.
bool ParsePair(const QString& Text, int Start, int& A, int& B)
{
    const int comma = int(Text.indexOf(u',', Start));
    if (comma < 0)
        return false;
    return TryStrToInt(Text.mid(Start, comma - Start), A) && TryStrToInt(Text.mid(comma + 1), B);
}

} // namespace

// ---------------------------------------------------------------------------
// What the writers share

int TExStringGrid::ExchangeEndCol() const
{
    return SaveEndCol() + (SaveHiddenCells() ? NumHiddenColumns() : 0);
}

QString TExStringGrid::ExchangeCellText(int ACol, int ARow)
{
    return GetSaveCellText(SaveHiddenCells() ? ACol : RealColFromDisplay(ACol), ARow);
}

int TExStringGrid::RealColWidth(int ARealCol) const
{
    if (!IsHiddenColumn(ARealCol))
        return ColWidths(DisplayColFromReal(ARealCol));
    if (ARealCol >= 0 && ARealCol < int(FAllColWidths.size()))
        return FAllColWidths[size_t(ARealCol)];
    return DefaultColWidth();
}

void TExStringGrid::FireFileProgress(int Percent, int& Last)
{
    if (!OnFileProgress || Percent == Last)
        return;
    Last = Percent;
    OnFileProgress(this, short(Percent));
}

// ---------------------------------------------------------------------------
// The file form

void TExStringGrid::SaveToFile(const QString& FileName, bool Unicode)
{
    const int h = SaveHiddenCells() ? NumHiddenColumns() : 0;
    const int c0 = SaveStartCol();
    const int c1 = ExchangeEndCol();
    const int r0 = SaveStartRow();
    const int r1 = SaveEndRow();
    QString text;
    auto line = [&text](const QString& s) {
        text += s;
        text += QLatin1String("\r\n");
    };
    line(QString::number(SaveColCount() + h) + u',' + QString::number(SaveRowCount()));
    for (int c = c0; c <= c1; ++c)
        line(QStringLiteral("cw ") + QString::number(c) + u','
            + QString::number(h > 0 ? RealColWidth(c) : ColWidths(c)));
    ExportNotification(esExportStart, r0);
    int last = -1;
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = c0; c <= c1; ++c) {
            const QString s = ExchangeCellText(c, r);
            if (!s.isEmpty())
                line(QString::number(c) + u',' + QString::number(r) + u',' + EncodeControlChars(s));
        }
        FireFileProgress(gridio::Percent(r, SaveRowCount() - 1), last);
    }
    ExportNotification(esExportDone, -1);
    gridio::SaveBytes(FileName, EncodeText(text, Unicode ? TTextEncoding::UTF16LE : TTextEncoding::Ansi));
}

void TExStringGrid::LoadFromFile(const QString& FileName)
{
    const QStringList lines = gridio::SplitLines(DecodeText(gridio::ReadFileInBlocks(FileName)));
    const int cOff = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int rOff = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();
    const QString corrupt = QStringLiteral("File contains no data or corrupt file ") + FileName;
    // An empty file, or one without a header, holds no data.
    if (lines.isEmpty() || lines[0].isEmpty())
        throw EExGridError(corrupt);
    {
        int cols = 0;
        int rows = 0;
        if (!ParsePair(lines[0], 0, cols, rows))
            throw EExGridError(corrupt);
        const qint64 colCount = qint64(cols) + cOff;
        const qint64 rowCount = qint64(rows) + rOff;
        // Counts are checked before the grid changes.
        if (cols < 0 || rows < 0 || colCount <= 0 || rowCount <= 0 || rowCount > MaxFileRows
            || cols > std::max<qint64>(ColsWithoutWidthLines, lines.size() - 1))
            throw EExGridError(corrupt);
        SetColCount(int(colCount));
        SetRowCount(int(rowCount));
    }
    int last = -1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& s = lines[i];
        if (s.startsWith(QLatin1String("cw"))) {
            int col = -1;
            int width = 0;
            if (ParsePair(s, 3, col, width) && col >= 0 && col < ColCount())
                SetColWidths(col, std::clamp(width, 0, MaxFileColWidth));
        } else {
            const int comma1 = int(s.indexOf(u','));
            const int comma2 = comma1 < 0 ? -1 : int(s.indexOf(u',', comma1 + 1));
            int col = -1;
            int row = -1;
            // Lines that name no cell of the grid are skipped.
            if (comma2 > 0 && TryStrToInt(s.left(comma1), col)
                && TryStrToInt(s.mid(comma1 + 1, comma2 - comma1 - 1), row) && col >= 0 && row >= 0 && col < ColCount()
                && row < RowCount()) {
                SetLoadCellText(RealColIndex(col), row, DecodeControlChars(s.mid(comma2 + 1), Multilinecells()));
                FireFileProgress(gridio::Percent(row, RowCount() - 1), last);
            }
        }
        // The window repaints during long loads; input waits until the end,
        // so nobody edits or closes the grid halfway.
        if (i % LinesPerEventPass == 0)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    DoCellsChanged(Rect(0, 0, ColCount(), RowCount()));
}
