// The string grid's cell family: clearing, trimming and colouring blocks of
// cells, merging and splitting runs, the used range and the reports of
// changed cells.
#include <algorithm>
#include <climits>
#include <vector>

#include "controls/base/BaseGrid.h"
#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/SysUtils.h"

// ---------------------------------------------------------------------------
// Clearing

bool TExStringGrid::CutCellRect(int& ACol1, int& ARow1, int& ACol2, int& ARow2, bool& Map) const
{
    // A block reaching beyond the displayed columns (ClearRows, Clear) names
    // real columns, hidden ones included: only a displayed block is mapped.
    Map = FSaveHiddenCells && ACol2 < ColCount();
    ACol1 = std::max(ACol1, 0);
    ARow1 = std::max(ARow1, 0);
    ACol2 = std::min(ACol2, (Map ? ColCount() : TotalColCount()) - 1);
    ARow2 = std::min(ARow2, RowCount() - 1);
    return ACol1 <= ACol2 && ARow1 <= ARow2;
}

bool TExStringGrid::NoCellPropsBeside(const std::vector<bool>& Cleared) const
{
    const int limit = std::max(TotalColCount(), Store().ColLimit());
    for (int c = 0; c < limit; ++c) {
        if (c < int(Cleared.size()) && Cleared[size_t(c)])
            continue;
        for (int r = 0; r < RowCount(); ++r)
            if (Store().Object(c, r))
                return false;
    }
    // Hidden rows keep their cells' properties in their records.
    for (const THiddenRow& hidden : FHiddenRows)
        for (const auto& slot : hidden.Cells.Objects)
            if (slot.second)
                return false;
    return true;
}

void TExStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    const bool wholeGrid = ACol1 <= 0 && ARow1 <= 0 && ACol2 >= ColCount() - 1 && ARow2 >= RowCount() - 1;
    bool map = false;
    if (!CutCellRect(ACol1, ARow1, ACol2, ARow2, map))
        return;
    const bool destroying = IsDestroying();
    const bool props = FHasCellProps && !FClearTextOnly;
    bool freed = false;
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c) {
            const int rc = map ? RealColIndex(c) : c;
            if (props && HasCellProperties(rc, r)) {
                if (FNilObjects)
                    SetObjects(rc, r, nullptr);
                else
                    FreeCellProperties(rc, r);
                freed = true;
            }
            if (!destroying && !Store().Text(rc, r).isEmpty())
                SetCellEx(rc, r, QString());
        }
    if (destroying)
        return;
    const int realCol1 = map ? RealColIndex(ACol1) : ACol1;
    const int realCol2 = map ? RealColIndex(ACol2) : ACol2;
    // The block repainted is the displayed one.
    const int shown1 = map ? ACol1 : DisplColIndex(ACol1);
    const int shown2 = std::min(map ? ACol2 : DisplColIndex(ACol2), ColCount() - 1);
    if (freed && shown1 <= shown2)
        InvalidateGridRect({ shown1, ARow1, shown2, ARow2 });
    // The grid forgets it ever had properties only when none is left: not
    // with ClearTextOnly, with objects that went to another row, or with
    // hidden columns and rows still holding theirs.
    if (wholeGrid && FHasCellProps && !FClearTextOnly && !FNilObjects) {
        std::vector<bool> cleared(size_t(std::max(TotalColCount(), Store().ColLimit())), false);
        for (int c = ACol1; c <= ACol2; ++c)
            cleared[size_t(map ? RealColIndex(c) : c)] = true;
        if (NoCellPropsBeside(cleared)) {
            FHasCellProps = false;
            FHasMergedAreas = false;
        }
    }
    if (!FBlockCellChange)
        DoCellsChanged(Rect(realCol1, ARow1, realCol2, ARow2));
}

void TExStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || RCount <= 0)
        return;
    ClearRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
}

void TExStringGrid::ClearNormalRows(int RowIndex, int RCount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || RCount <= 0)
        return;
    ClearRect(FixedCols(), RowIndex, TotalColCount() - FFixedRightCols - 1, RowIndex + RCount - 1);
}

void TExStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || CCount <= 0)
        return;
    ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TExStringGrid::ClearNormalCols(int ColIndex, int CCount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || CCount <= 0)
        return;
    ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FFixedFooters - 1);
}

void TExStringGrid::ClearNormalCells()
{
    if (RowCount() <= 0 || ColCount() <= 0)
        return;
    if (FixedCols() == 0 && HasNodes())
        RemoveAllNodes();
    ClearRect(FixedCols(), FixedRows(), TotalColCount() - FFixedRightCols - 1, RowCount() - FFixedFooters - 1);
}

void TExStringGrid::ClearSelection()
{
    if (FMouseActions && FMouseActions->DisjunctRowSelect()) {
        // The list is in the order of selection; the displayed rows are
        // cleared top down (a hidden row has no displayed cells).
        std::vector<int> rows;
        for (int r : SelectedRowList())
            if (const int shown = RowSelectDisplRow(r); shown >= FixedRows() && shown < RowCount())
                rows.push_back(shown);
        std::sort(rows.begin(), rows.end());
        for (int r : rows)
            ClearRows(r, 1);
        return;
    }
    if (FMouseActions && FMouseActions->DisjunctColSelect()) {
        for (int c = 0; c < ColCount(); ++c)
            if (GetColSelect(c))
                ClearCols(c, 1);
        return;
    }
    const TGridRect s = Selection();
    ClearRect(
        std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right), std::max(s.Top, s.Bottom));
}

void TExStringGrid::Clear()
{
    if (HasNodes() && !IsDestroying())
        RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    SearchInc.clear();
    if (TotalColCount() > ColCount())
        RepaintGrid();
}

void TExStringGrid::ClearAll()
{
    Clear();
    // The texts of hidden rows too.
    for (THiddenRow& hidden : FHiddenRows)
        for (QString& text : hidden.Cells.Texts)
            text.clear();
}

// ---------------------------------------------------------------------------
// Trimming and colouring

void TExStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    bool map = false;
    if (!CutCellRect(ACol1, ARow1, ACol2, ARow2, map))
        return;
    bool changed = false;
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c) {
            // A covered cell shows its base cell's text: that stored text is
            // the one trimmed, whatever the display hooks make of it.
            const TPoint b = BaseCell(map ? RealColIndex(c) : c, r);
            const QString& text = Store().Text(b.X, b.Y);
            const QString trimmed = Trim(text);
            if (trimmed.size() != text.size()) {
                SetCellEx(b.X, b.Y, trimmed);
                changed = true;
            }
        }
    if (changed && !FBlockCellChange)
        DoCellsChanged(Rect(map ? RealColIndex(ACol1) : ACol1, ARow1, map ? RealColIndex(ACol2) : ACol2, ARow2));
}

void TExStringGrid::TrimColumn(int ACol)
{
    TrimRect(ACol, 0, ACol, RowCount() - 1);
}

void TExStringGrid::TrimRow(int ARow)
{
    TrimRect(0, ARow, ColCount() - 1, ARow);
}

void TExStringGrid::TrimAll()
{
    TrimRect(0, 0, ColCount() - 1, RowCount() - 1);
}

void TExStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    ACol1 = std::max(ACol1, 0);
    ARow1 = std::max(ARow1, 0);
    ACol2 = std::min(ACol2, TotalColCount() - 1);
    ARow2 = std::min(ARow2, RowCount() - 1);
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c) {
            GetCellProperties(c, r)->SetBrushColor(AColor);
            if (FUpdateCount == 0)
                RepaintCell(DisplColIndex(c), r);
        }
}

// ---------------------------------------------------------------------------
// Merged runs

void TExStringGrid::MergeColumnCells(int ColIndex, bool MainMerge)
{
    const int first = FixedRows();
    const int last = RowCount() - FFixedFooters - 1;
    if (ColIndex < 0 || ColIndex >= TotalColCount() || first >= last)
        return;
    int start = first;
    QString prev = GetCellEx(ColIndex, first);
    for (int r = first + 1; r <= last + 1; ++r) {
        const QString text = r <= last ? GetCellEx(ColIndex, r) : QString();
        if (r <= last && text == prev && (MainMerge || RowSpanIdentical(r - 1, r)))
            continue;
        if (r - start > 1)
            MergeCells(ColIndex, start, 1, r - start);
        start = r;
        prev = text;
    }
}

void TExStringGrid::MergeRowCells(int RowIndex, bool MainMerge)
{
    // The run is over the shown cells; an area of shown neighbours takes the
    // hidden columns between them along.
    const int first = FixedCols();
    const int last = ColCount() - FFixedRightCols - 1;
    if (RowIndex < 0 || RowIndex >= RowCount() || first >= last)
        return;
    int start = RealColIndex(first), prevCol = start;
    QString prev = GetCellEx(start, RowIndex);
    for (int d = first + 1; d <= last + 1; ++d) {
        const int c = d <= last ? RealColIndex(d) : TotalColCount();
        const QString text = d <= last ? GetCellEx(c, RowIndex) : QString();
        if (d <= last && text == prev && (MainMerge || ColSpanIdentical(prevCol, c))) {
            prevCol = c;
            continue;
        }
        // A single cell is left alone: "merging" it alone would cut it out
        // of an area of other rows it belongs to.
        if (prevCol > start)
            MergeCells(start, RowIndex, prevCol - start + 1, 1);
        start = prevCol = c;
        prev = text;
    }
}

void TExStringGrid::SplitColumnCells(int ColIndex)
{
    if (ColIndex < 0 || ColIndex >= TotalColCount() || !FHasCellProps)
        return;
    const int last = RowCount() - FFixedFooters - 1;
    for (int r = 0; r < last;) {
        if (CellSpan(ColIndex, r).Y > 0) {
            const TRect a = FullCell(ColIndex, r);
            SplitCells(ColIndex, r);
            r = a.Bottom + 1;
        } else {
            ++r;
        }
    }
}

void TExStringGrid::SplitRowCells(int RowIndex)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || !FHasCellProps)
        return;
    // Up to the real column of the last shown one before the fixed right
    // columns: hidden columns in between are split too.
    const int last = RealColIndex(ColCount() - FFixedRightCols - 1);
    for (int c = 0; c < last;) {
        if (IsMergedCell(c, RowIndex)) {
            const TRect a = FullCell(c, RowIndex);
            SplitCells(c, RowIndex);
            c = a.Right + 1;
        } else {
            ++c;
        }
    }
}

void TExStringGrid::SplitAllCells()
{
    if (!FHasCellProps)
        return;
    // Every real column: areas in hidden columns are split too.
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c)
            if (IsMergedCell(c, r))
                SplitCells(c, r);
}

// ---------------------------------------------------------------------------
// Cell tests and joining columns

bool TExStringGrid::IsCell(const QString& SubStr, int& ACol, int& ARow)
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (Store().Text(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}

bool TExStringGrid::IsWideCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        return false;
    return Store().Text(ACol, ARow).startsWith(QLatin1String("|\\"));
}

void TExStringGrid::MergeCols(int ColIndex1, int ColIndex2, const QString& Separator)
{
    // A column joined with itself would double its texts and lose itself.
    if (ColIndex1 == ColIndex2 || ColIndex1 < 0 || ColIndex2 < 0 || ColIndex1 >= TotalColCount()
        || ColIndex2 >= TotalColCount())
        return;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const QString joined = Trim(Store().Text(ColIndex1, r) + Separator + Store().Text(ColIndex2, r));
        if (joined != Store().Text(ColIndex1, r))
            SetCellEx(ColIndex1, r, joined);
    }
    if (!FBlockCellChange && FixedRows() < RowCount())
        DoCellsChanged(Rect(ColIndex1, FixedRows(), ColIndex1, RowCount() - 1));
    RemoveCols(ColIndex2, 1);
}

// ---------------------------------------------------------------------------
// The used range

TGridRect TExStringGrid::UsedCells()
{
    int left = INT_MAX, top = INT_MAX, right = 0, bottom = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        for (int r = 0; r < RowCount(); ++r)
            if (!GetCellEx(rc, r).isEmpty()) {
                left = std::min(left, c);
                top = std::min(top, r);
                right = std::max(right, c);
                bottom = std::max(bottom, r);
            }
    }
    if (left == INT_MAX)
        return { 0, 0, 0, 0 };
    return { left, top, right, bottom };
}

// ---------------------------------------------------------------------------
// Default sizes

void TExStringGrid::SetDefaultRowHeight(int v)
{
    TBaseGrid::SetDefaultRowHeight(v);
    if (IsDesigning())
        FFixedRowHeight = v;
    // The floating footer is one default row high.
    if (FFloatingFooter)
        FFloatingFooter->SetHeight(v);
}

void TExStringGrid::SetFixedRowHeight(int v)
{
    FFixedRowHeight = v;
    if (IsLoading())
        return;
    // Only the fixed rows are sized; normal rows keep the heights they were given.
    for (int r = 0; r < FixedRows(); ++r)
        SetRowHeights(r, v);
}

// ---------------------------------------------------------------------------
// Change reports

void TExStringGrid::DoCellsChanged(const TRect& R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    // A notifier may unregister itself (or another) while it is told.
    const std::vector<TGridChangeNotifier*> notifiers = FNotifierList;
    for (TGridChangeNotifier* n : notifiers)
        if (std::find(FNotifierList.begin(), FNotifierList.end(), n) != FNotifierList.end())
            n->CellsChanged(R);
    RecalcFooter();
}

void TExStringGrid::RegisterNotifier(TGridChangeNotifier* ANotifier)
{
    if (!ANotifier || std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) != FNotifierList.end())
        return;
    FNotifierList.push_back(ANotifier);
    ANotifier->FreeNotification(this);
}

void TExStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier)
{
    const auto it = std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier);
    if (it == FNotifierList.end())
        return;
    FNotifierList.erase(it);
    ANotifier->RemoveFreeNotification(this);
}

void TExStringGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        std::erase_if(FNotifierList, [AComponent](TGridChangeNotifier* n) { return n == AComponent; });
        ForgetRemovedComponent(AComponent);
    }
    TBaseGrid::Notification(AComponent, Operation);
}
