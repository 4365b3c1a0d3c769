// The string grid's calculations over cells: column and row aggregates, the
// selection as text, the selected test and automatic numbering.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExUtil.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"

#include <QCollator>
#include <cmath>
#include <set>

// ---------------------------------------------------------------------------
// Column aggregates

namespace {
// An optional minus and up to fifteen ASCII digits, nothing else: read
// exactly as the general conversion reads it.
bool PlainInteger(const QString& Text, double& Value)
{
    const qsizetype n = Text.size();
    qsizetype i = n > 0 && Text[0] == u'-' ? 1 : 0;
    if (i >= n || n - i > 15)
        return false;
    qint64 v = 0;
    for (; i < n; ++i) {
        const char16_t c = Text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
    }
    Value = Text[0] == u'-' ? -double(v) : double(v);
    return true;
}
} // namespace

bool TExStringGrid::CalcRange(int& FromRow, int& ToRow, bool& RealRows)
{
    if (FromRow == -1)
        FromRow = FixedRows();
    if (ToRow == -1)
        ToRow = RowCount() - FFixedFooters - 1;
    const bool floating = FFloatingFooter && FFloatingFooter->Visible();
    RealRows = floating ? ToRow > RowCount() - 1 : ToRow > RowCount();
    // Footer rows never count, and no row past the last is read.
    if (RealRows) {
        const int footer = FFixedFooters > 0 ? RealRowFromDisplay(RowCount() - FFixedFooters) : TotalRowCount();
        ToRow = std::min(ToRow, footer - 1);
    } else {
        ToRow = std::min(ToRow, RowCount() - FFixedFooters - 1);
    }
    FromRow = std::max(FromRow, 0);
    return FromRow <= ToRow;
}

bool TExStringGrid::CalcValue(int ACol, int ARow, bool RealRows, double& Value)
{
    const int displ = RealRows ? DisplayRowFromReal(ARow) : ARow;
    if (!RealRows)
        Store().PrefetchColumn(ACol, ARow);
    const bool hidden = RealRows && IsHiddenRow(ARow);
    // Node, summary and merged cells all live in cell properties: a grid
    // without any has none of them to skip.
    if (!hidden && displ >= 0 && HasCellProps()) {
        // While grouped, node and summary rows hold the group's own figures.
        if (FGroupColumn != -1 && displ < RowCount()) {
            const TCellType t = GetCellType(0, displ);
            if (t == ctNode || t == ctSummary)
                return false;
        }
        // Only the base cell of a merged area counts.
        if (IsMergedNonBaseCell(ACol, displ))
            return false;
    }
    try {
        if (RealRows) {
            Value = GetAllFloats(ACol, ARow);
            return true;
        }
        // The display text is read once; a plain integer, the usual
        // content, needs no general number conversion.
        const QString text = GetCellEx(ACol, ARow);
        if (!PlainInteger(text, Value))
            Value = FloatOfDisplayText(text);
        return true;
    } catch (const EExGridError&) {
        return false;
    }
}

void TExStringGrid::ForCountedCells(int ACol, int FromRow, int ToRow, const std::function<void(double)>& Use)
{
    bool real = false;
    if (!CalcRange(FromRow, ToRow, real))
        return;
    double v = 0;
    // The file writers' hook hears every counted row, as during an export.
    ExportNotification(esExportStart, FromRow);
    for (int r = FromRow; r <= ToRow; ++r)
        if (CalcValue(ACol, r, real, v)) {
            ExportNotification(esExportNextRow, r);
            Use(v);
        }
    ExportNotification(esExportDone, ToRow);
}

double TExStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    double sum = 0;
    ForCountedCells(ACol, FromRow, ToRow, [&](double v) { sum += v; });
    return sum;
}

double TExStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    bool real = false;
    int f = FromRow, t = ToRow;
    if (!CalcRange(f, t, real))
        return 0;
    return ColumnSum(ACol, FromRow, ToRow) / double(t - f + 1);
}

namespace {
template <class Better> struct TExtreme {
    Better better;
    bool any = false;
    double best = 0;
    void operator()(double v)
    {
        if (!any || better(v, best)) {
            best = v;
            any = true;
        }
    }
};
} // namespace

double TExStringGrid::ColumnMin(int ACol, int FromRow, int ToRow)
{
    TExtreme<std::less<double>> min;
    ForCountedCells(ACol, FromRow, ToRow, [&](double v) { min(v); });
    return min.best;
}

double TExStringGrid::ColumnMax(int ACol, int FromRow, int ToRow)
{
    TExtreme<std::greater<double>> max;
    ForCountedCells(ACol, FromRow, ToRow, [&](double v) { max(v); });
    return max.best;
}

double TExStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    bool real = false;
    int f = FromRow, t = ToRow;
    if (!CalcRange(f, t, real))
        return 0;
    const double mean = ColumnAvg(ACol, FromRow, ToRow);
    double sum = 0;
    for (int r = f; r <= t; ++r) {
        try {
            const double v = real ? GetAllFloats(ACol, r) : GetFloats(ACol, r);
            sum += (v - mean) * (v - mean);
        } catch (const EExGridError&) {
        }
    }
    return std::sqrt(sum / double(t - f + 1));
}

double TExStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    bool real = false;
    if (!CalcRange(FromRow, ToRow, real))
        return 0;
    QCollator coll;
    coll.setCaseSensitivity(Qt::CaseInsensitive);
    auto less = [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; };
    std::set<QString, decltype(less)> seen(less);
    for (int r = FromRow; r <= ToRow; ++r)
        seen.insert(real ? AllCellText(ACol, r) : GetCellEx(ACol, r));
    return double(seen.size());
}

double TExStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TExStringGrid::GroupCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---------------------------------------------------------------------------
// Row aggregates (columns unmapped)

namespace {
bool RowCellValue(TExStringGrid& g, int ACol, int ARow, double& v)
{
    if (ACol < 0 || ARow < 0 || ARow >= g.RowCount() || ACol >= g.TotalColCount())
        return false;
    if (g.IsMergedNonBaseCell(ACol, ARow))
        return false;
    try {
        v = g.GetFloats(ACol, ARow);
        return true;
    } catch (const EExGridError&) {
        return false;
    }
}
} // namespace

double TExStringGrid::RowSum(int ARow, int fromCol, int toCol)
{
    double sum = 0, v = 0;
    for (int c = fromCol; c <= toCol; ++c)
        if (RowCellValue(*this, c, ARow, v))
            sum += v;
    return sum;
}

double TExStringGrid::RowAvg(int ARow, int fromCol, int toCol)
{
    return toCol < fromCol ? 0 : RowSum(ARow, fromCol, toCol) / double(toCol - fromCol + 1);
}

double TExStringGrid::RowMin(int ARow, int fromCol, int toCol)
{
    bool any = false;
    double best = 0, v = 0;
    for (int c = fromCol; c <= toCol; ++c)
        if (RowCellValue(*this, c, ARow, v) && (!any || v < best))
            best = v, any = true;
    return best;
}

double TExStringGrid::RowMax(int ARow, int fromCol, int toCol)
{
    bool any = false;
    double best = 0, v = 0;
    for (int c = fromCol; c <= toCol; ++c)
        if (RowCellValue(*this, c, ARow, v) && (!any || v > best))
            best = v, any = true;
    return best;
}

// ---------------------------------------------------------------------------
// Selection

void TExStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    TGridRect r;
    r.Left = FromCol;
    r.Top = FromRow;
    r.Right = ToCol;
    r.Bottom = ToRow;
    SetSelection(r);
}

QString TExStringGrid::SelectedText()
{
    TGridRect sel = Selection();
    if ((Options() & goRowSelect) && FDragDropSettings && FDragDropSettings->OleEntireRows) {
        sel.Left = 0;
        sel.Right = ColCount() - 1;
    }
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (RowSelectFlag(RowSelectIndex(r)))
                rows.push_back(r);
    } else {
        for (int r = sel.Top; r <= sel.Bottom; ++r)
            rows.push_back(r);
    }
    QString out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out += QStringLiteral("\r\n");
        for (int c = sel.Left; c <= sel.Right; ++c) {
            if (c > sel.Left)
                out += u'\t';
            QString t = GetCellEx(RealColFromDisplay(c), rows[i]);
            // A rich-text cell is copied as the text it shows.
            if (CellTextType(t, EnableHTML()) == 2)
                t = RichToPlainText(t);
            if (FExcelClipboardFormat && CountLines(t, FMultilinecells) > 1)
                QuoteMultiLineText(t);
            out += t;
        }
    }
    return out;
}

bool TExStringGrid::IsSelected(int ACol, int ARow)
{
    if (ARow < FixedRows() || ACol < FixedCols())
        return false;
    if (FMouseActions->DisjunctCellSelect())
        return GetSelectedCells(ACol, ARow);
    if (FMouseActions->DisjunctRowSelect())
        return RowSelectFlag(RowSelectIndex(ARow));
    if (FMouseActions->DisjunctColSelect())
        return GetColSelect(ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

// ---------------------------------------------------------------------------
// Automatic numbering

void TExStringGrid::AutoNumberCol(int ACol)
{
    if (RowCount() <= 0)
        return;
    const int first = FixedRows() + FAutoNumberStart;
    const int last = RowCount() - FFixedFooters - 1;
    for (int k = 0; first + k <= last; ++k) {
        const int row = FAutoNumberDirection == TSortDirection::sdAscending ? first + k : last - FAutoNumberStart - k;
        SetInts(ACol, row, FAutoNumberStart + FAutoNumberOffset + 1 + k);
    }
}

void TExStringGrid::AutoNumberRow(int ARow)
{
    if (ColCount() <= 0)
        return;
    const int first = FixedCols() + FAutoNumberStart;
    const int last = ColCount() - FFixedRightCols - 1;
    for (int k = 0; first + k <= last; ++k) {
        const int col = FAutoNumberDirection == TSortDirection::sdAscending ? first + k : last - FAutoNumberStart - k;
        SetInts(col, ARow, FAutoNumberStart + FAutoNumberOffset + 1 + k);
    }
}
