// The string grid's columns: hidden columns and the two index spaces,
// column counts and fixed columns, inserting, removing and moving columns.
//
// The cell store holds every real column; the toolkit grid's geometry holds
// the shown ones (ColCount, widths by displayed column). While no column is
// hidden both spaces are the same and the tables below stay empty.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "platform/graphics/PlatformInfo.h"

#include <algorithm>
#include <type_traits>

// ---------------------------------------------------------------------------
// Index mappings

void TExStringGrid::RebuildColMaps()
{
    FDisplToReal.clear();
    FRealToDispl.assign(FVisibleCol.size(), 0);
    for (std::size_t c = 0; c < FVisibleCol.size(); ++c) {
        FRealToDispl[c] = int(FDisplToReal.size());
        if (FVisibleCol[c])
            FDisplToReal.push_back(int(c));
    }
}

void TExStringGrid::EnsureColTables()
{
    if (!FVisibleCol.empty())
        return;
    FVisibleCol.assign(std::size_t(TotalColCount()), true);
    FAllColWidths.assign(std::size_t(TotalColCount()), 0);
    RebuildColMaps();
}

int TExStringGrid::RealColFromDisplay(int ACol) const
{
    if (FNumHidden == 0 || ACol < 0 || ACol >= int(FDisplToReal.size()))
        return ACol;
    return FDisplToReal[std::size_t(ACol)];
}

int TExStringGrid::DisplayColFromReal(int ACol) const
{
    if (FNumHidden == 0 || ACol < 0 || ACol >= int(FRealToDispl.size()))
        return ACol;
    return FRealToDispl[std::size_t(ACol)];
}

bool TExStringGrid::IsHiddenColumn(int ACol) const
{
    return ACol >= 0 && ACol < int(FVisibleCol.size()) && !FVisibleCol[std::size_t(ACol)];
}

std::vector<int> TExStringGrid::ShownColWidths() const
{
    std::vector<int> w(static_cast<std::size_t>(ColCount()));
    for (int d = 0; d < ColCount(); ++d)
        w[std::size_t(d)] = ColWidths(d);
    return w;
}

void TExStringGrid::ApplyShownColumns(const std::vector<int>& Widths)
{
    TObjStringGrid::SetColCount(std::max<int>(1, int(Widths.size())));
    for (int d = 0; d < ColCount() && d < int(Widths.size()); ++d)
        if (ColWidths(d) != Widths[std::size_t(d)])
            SetColWidths(d, Widths[std::size_t(d)]);
    // Writes land only below the store's limit: hidden columns count.
    if (TotalColCount() > Store().ColLimit())
        CellStore().SetColCount(TotalColCount());
    FMaxColCount = std::max(FMaxColCount, ColCount());
}

// ---------------------------------------------------------------------------
// Hiding and showing

void TExStringGrid::HideColumns(int FromCol, int ToCol)
{
    std::vector<int> cols;
    for (int c = std::max(FromCol, 0); c <= ToCol && c < TotalColCount(); ++c)
        cols.push_back(c);
    HideColumnList(cols);
}

void TExStringGrid::HideColumnList(const std::vector<int>& Cols)
{
    HideEditor();
    // The displayed indices stay those from before the list until the
    // tables are rebuilt once at the end.
    const std::vector<int> widths = ShownColWidths();
    int shown = int(widths.size());
    bool changed = false;
    for (int c : Cols) {
        if (c < 0 || c >= TotalColCount() || IsHiddenColumn(c) || shown <= 1)
            continue;
        EnsureColTables();
        FAllColWidths[std::size_t(c)] = widths[std::size_t(DisplayColFromReal(c))];
        FVisibleCol[std::size_t(c)] = false;
        ++FNumHidden;
        --shown;
        changed = true;
    }
    if (!changed)
        return;
    std::vector<int> kept;
    kept.reserve(std::size_t(shown));
    for (std::size_t d = 0; d < widths.size(); ++d)
        if (!IsHiddenColumn(RealColFromDisplay(int(d))))
            kept.push_back(widths[d]);
    RebuildColMaps();
    // The hidden count rose first, so TotalColCount holds through the change.
    ApplyShownColumns(kept);
    RepaintGrid();
}

void TExStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    HideEditor();
    if (FNumHidden == 0)
        return;
    // One pass: the columns shown before keep their widths, those coming
    // back take the widths they had when hidden.
    const std::vector<int> widths = ShownColWidths();
    std::vector<bool> back(FVisibleCol.size(), false);
    bool changed = false;
    for (int c = std::max(FromCol, 0); c <= ToCol && c < int(FVisibleCol.size()); ++c) {
        if (!IsHiddenColumn(c))
            continue;
        back[std::size_t(c)] = true;
        changed = true;
    }
    if (!changed)
        return;
    std::vector<int> shownWidths;
    shownWidths.reserve(widths.size());
    for (std::size_t c = 0; c < FVisibleCol.size(); ++c) {
        if (back[c]) {
            shownWidths.push_back(FAllColWidths[c]);
            FVisibleCol[c] = true;
            --FNumHidden;
        } else if (FVisibleCol[c]) {
            shownWidths.push_back(widths[std::size_t(FRealToDispl[c])]);
        }
    }
    if (FNumHidden == 0) {
        FVisibleCol.clear();
        FAllColWidths.clear();
    }
    RebuildColMaps();
    ApplyShownColumns(shownWidths);
    RepaintGrid();
}

void TExStringGrid::UnHideColumnsAll()
{
    UnHideColumns(0, TotalColCount());
}

// ---------------------------------------------------------------------------
// Counts, fixed columns, current column

void TExStringGrid::SetColCount(int Value)
{
    Value = std::max(1, Value);
    if (FNumHidden > 0 && Value != ColCount()) {
        const int old = ColCount();
        if (Value > old) {
            FVisibleCol.insert(FVisibleCol.end(), std::size_t(Value - old), true);
            FAllColWidths.insert(FAllColWidths.end(), std::size_t(Value - old), 0);
        } else {
            // The last shown columns go; a hidden column after one of them
            // moves down with its cells, flag and width.
            for (int d = old - 1; d >= Value; --d) {
                const int r = FDisplToReal[std::size_t(d)];
                const bool hiddenAfter
                    = std::find(FVisibleCol.begin() + r + 1, FVisibleCol.end(), false) != FVisibleCol.end();
                if (hiddenAfter) {
                    SplitAreasAcross(r, false);
                    SplitAreasAcross(r, true);
                    ClearCellPropertiesRect(r, 0, r, RowCount() - 1);
                    CellStore().DeleteColumn(r);
                }
                FVisibleCol.erase(FVisibleCol.begin() + r);
                FAllColWidths.erase(FAllColWidths.begin() + r);
            }
        }
        RebuildColMaps();
    }
    TObjStringGrid::SetColCount(Value);
    if (TotalColCount() > Store().ColLimit())
        CellStore().SetColCount(TotalColCount());
    if (FFixedColAlways && FMinFixedCols < ColCount())
        SetFixedCols(FMinFixedCols);
    FMaxColCount = std::max(FMaxColCount, Value);
    SetBounds(Left(), Top(), Width(), Height());
    UpdateScrollBars(false);
}

int TExStringGrid::FixedCols() const
{
    const int v = TObjStringGrid::FixedCols();
    return v == 0 && FFixedColAlways ? 1 : v;
}

void TExStringGrid::SetFixedCols(int Value)
{
    if (FFixedColAlways && Value >= ColCount())
        TObjStringGrid::SetFixedCols(ColCount() - 1);
    else
        TObjStringGrid::SetFixedCols(Value);
    if (!IsLoading())
        FMinFixedCols = Value;
}

void TExStringGrid::SetCol(int Value)
{
    TObjStringGrid::SetCol(Value);
    FollowLinkedGrid(
        FSyncingCol, FSyncGrid && FSyncGrid->SelectionColumn, [Value](TExStringGrid& linked) { linked.SetCol(Value); });
}

void TExStringGrid::FollowLinkedGrid(bool& Busy, bool Wanted, const std::function<void(TExStringGrid&)>& Move)
{
    // Two grids linked to each other would pass the move back and forth.
    if (Busy || !Wanted || !FSyncGrid->Grid())
        return;
    Busy = true;
    try {
        Move(*FSyncGrid->Grid());
    } catch (...) {
        Busy = false;
        throw;
    }
    Busy = false;
}

int TExStringGrid::FixedColWidth() const
{
    return ColWidths(0);
}

void TExStringGrid::SetFixedColWidth(int Value)
{
    FFixedColWidth = Value;
    if (IsLoading() || Value == DefaultColWidth())
        return;
    for (int c = 0; c < TObjStringGrid::FixedCols(); ++c)
        SetColWidths(c, Value);
}

// ---------------------------------------------------------------------------
// Moving and scrolling

void TExStringGrid::SetColumnOrder()
{
    FColumnOrder->Clear();
    for (int c = 0; c < TotalColCount(); ++c)
        FColumnOrder->Insert(c, c);
}

void TExStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    TBaseGrid::MoveColumn(FromIndex, ToIndex);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        const int x = item->X();
        if (x == FromIndex)
            item->SetX(ToIndex);
        else if (ToIndex < FromIndex && x >= ToIndex && x < FromIndex)
            item->SetX(x + 1);
        else if (ToIndex > FromIndex && x > FromIndex && x <= ToIndex)
            item->SetX(x - 1);
    }
}

void TExStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    // The toolkit grid moved the width of the displayed column; the cells,
    // flags, kept widths and order entries move by real index, carrying the
    // hidden columns between along.
    const int rf = RealColFromDisplay(FromIndex);
    const int rt = RealColFromDisplay(ToIndex);
    // A merged area the column leaves, or lands inside, is split first.
    SplitAreasAcross(rf, false);
    SplitAreasAcross(rf, true);
    SplitAreasAcross(rf < rt ? rt : rt - 1, true);
    CellStore().MoveColumn(rf, rt);
    auto move = [rf, rt](auto& v) {
        if (std::max(rf, rt) >= int(v.size()))
            return;
        // A copy, not a reference: a bit of std::vector<bool> would follow the erase.
        const typename std::decay_t<decltype(v)>::value_type item = v[std::size_t(rf)];
        v.erase(v.begin() + rf);
        v.insert(v.begin() + rt, item);
    };
    if (FNumHidden > 0) {
        move(FVisibleCol);
        move(FAllColWidths);
        RebuildColMaps();
    }
    if (std::max(rf, rt) < FColumnOrder->Count())
        FColumnOrder->Move(rf, rt);
    const int df = FromIndex, dt = ToIndex;
    if (std::max(df, dt) < int(FColSelection.size())) {
        TObject* flag = FColSelection[std::size_t(df)];
        FColSelection.erase(FColSelection.begin() + df);
        FColSelection.insert(FColSelection.begin() + dt, flag);
    }
    // Skips the toolkit string grid's own move of the cells by displayed
    // index; with hidden columns the event names real columns.
    if (FNumHidden > 0)
        TDrawGrid::ColumnMoved(rf, rt);
    else
        TDrawGrid::ColumnMoved(FromIndex, ToIndex);
    ColumnMovedFollow(FromIndex, ToIndex, rf, rt);
}

void TExStringGrid::ColumnsPermuted(int First, const std::vector<int>& Order)
{
    // By real index: the shown columns' places take the shown columns in
    // the new order, hidden columns stay where they are.
    const int n = int(Order.size());
    const int rFirst = RealColFromDisplay(First);
    const int rEnd = RealColFromDisplay(First + n - 1) + 1;
    std::vector<int> realOrder(static_cast<std::size_t>(rEnd - rFirst));
    for (int c = rFirst; c < rEnd; ++c)
        realOrder[std::size_t(c - rFirst)] = c;
    for (int k = 0; k < n; ++k)
        realOrder[std::size_t(RealColFromDisplay(First + k) - rFirst)] = RealColFromDisplay(Order[std::size_t(k)]);
    // A merged area a moved column belongs to is split first.
    for (int c = rFirst; c < rEnd; ++c)
        if (realOrder[std::size_t(c - rFirst)] != c) {
            SplitAreasAcross(c, false);
            SplitAreasAcross(c, true);
        }
    CellStore().PermuteColumns(rFirst, realOrder);
    if (rEnd <= FColumnOrder->Count()) {
        std::vector<int> entries(realOrder.size());
        for (std::size_t k = 0; k < realOrder.size(); ++k)
            entries[k] = FColumnOrder->Integers(realOrder[k]);
        for (std::size_t k = 0; k < realOrder.size(); ++k)
            FColumnOrder->SetIntegers(rFirst + int(k), entries[k]);
    }
    if (First + n <= int(FColSelection.size())) {
        std::vector<TObject*> flags(FColSelection.begin() + First, FColSelection.begin() + First + n);
        for (int k = 0; k < n; ++k)
            FColSelection[std::size_t(First + k)] = flags[std::size_t(Order[std::size_t(k)] - First)];
    }
    std::vector<int> inverse(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        inverse[std::size_t(Order[std::size_t(k)] - First)] = First + k;
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        if (item->X() >= First && item->X() < First + n)
            item->SetX(inverse[std::size_t(item->X() - First)]);
    }
    // Skips the toolkit string grid's own permutation of the cells by
    // displayed index.
    TDrawGrid::ColumnsPermuted(First, Order);
}

void TExStringGrid::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex < 0 || RowIndex < 0 || ColIndex >= ColCount() || RowIndex >= RowCount())
        return;
    const int visCols = VisibleColCount();
    const int visRows = VisibleRowCount();
    int left = LeftCol();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + visCols) {
        SetCol(ColIndex);
        left = std::max(FixedCols(), ColIndex - visCols / 2);
    }
    int top = TopRow();
    if (RowIndex < TopRow() || RowIndex >= TopRow() + visRows) {
        SetRow(RowIndex);
        top = std::max(FixedRows(), RowIndex - visRows / 2);
    }
    left = std::max(FixedCols(), std::min(left, ColCount() - visCols + 1));
    if (FixedCols() + visCols < ColCount())
        SetLeftCol(std::min(left, ColCount() - 1));
    top = std::max(FixedRows(), std::min(top, RowCount() - visRows + 1));
    if (FixedRows() + visRows >= RowCount())
        return;
    SetTopRow(std::min(top, RowCount() - 1));
    if (!FSearchFooter->Visible())
        return;
    int h = Height() - SearchPanelHeight();
    if (VisibleColCount() + FixedCols() < ColCount())
        h -= PlatformInfo().HScrollBarHeight;
    // A row taller than the room above the footer never fits: stop when the
    // view cannot scroll further.
    while (CellRect(0, RowIndex).Bottom > h) {
        const int before = TopRow();
        if (before >= RowCount() - 1)
            break;
        SetTopRow(before + 1);
        if (TopRow() == before)
            break;
    }
}

// ---------------------------------------------------------------------------
// Inserting and removing

void TExStringGrid::SplitAreasAcross(int ACol, bool Right)
{
    if (!HasCellProps() || !HasMergedAreas() || ACol < 0 || ACol >= TotalColCount())
        return;
    for (int r = 0; r < RowCount(); ++r) {
        if (!IsMergedCell(ACol, r))
            continue;
        const TPoint b = BaseCell(ACol, r);
        const TPoint span = CellSpan(b.X, b.Y);
        const bool cut = Right ? b.X + span.X > ACol : b.X < ACol;
        if (cut)
            SplitCells(ACol, r);
        r = std::max(r, b.Y + span.Y);
    }
}

void TExStringGrid::InsertCols(int ColIndex, int CCount)
{
    if (ColIndex < 0 || CCount <= 0)
        return;
    const int total = TotalColCount();
    ColIndex = std::min(ColIndex, total);
    SplitAreasAcross(ColIndex, false);
    const int d0 = ColIndex >= total ? ColCount() : DisplayColFromReal(ColIndex);

    // Fresh empty columns come in at the store's end and rotate into place.
    for (int i = 0; i < CCount; ++i) {
        const int limit = Store().ColLimit();
        CellStore().SetColCount(limit + 1);
        CellStore().MoveColumn(limit, ColIndex);
    }
    if (FNumHidden > 0) {
        FVisibleCol.insert(FVisibleCol.begin() + ColIndex, std::size_t(CCount), true);
        FAllColWidths.insert(FAllColWidths.begin() + ColIndex, std::size_t(CCount), 0);
        RebuildColMaps();
    }
    if (FColumnOrder->Count() > 0) {
        for (int i = 0; i < FColumnOrder->Count(); ++i)
            if (FColumnOrder->Integers(i) >= ColIndex)
                FColumnOrder->SetIntegers(i, FColumnOrder->Integers(i) + CCount);
        const int at = std::min(ColIndex, FColumnOrder->Count());
        for (int i = 0; i < CCount; ++i)
            FColumnOrder->Insert(at + i, ColIndex + i);
    }
    if (int(FColSelection.size()) > d0)
        FColSelection.insert(FColSelection.begin() + d0, std::size_t(CCount), nullptr);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        if (item->X() >= d0)
            item->SetX(item->X() + CCount);
    }
    std::vector<int> widths = ShownColWidths();
    widths.insert(widths.begin() + d0, std::size_t(CCount), DefaultColWidth());
    ApplyShownColumns(widths);
    RepaintGrid();
}

void TExStringGrid::RemoveCols(int ColIndex, int CCount)
{
    const int total = TotalColCount();
    if (ColIndex < 0 || ColIndex >= total || CCount <= 0)
        return;
    CCount = std::min(CCount, total - ColIndex);
    const int last = ColIndex + CCount - 1;
    SplitAreasAcross(ColIndex, false);
    SplitAreasAcross(last, true);
    ClearCellPropertiesRect(ColIndex, 0, last, RowCount() - 1);

    // The shown columns of the run are one run of displayed columns.
    const int d0 = DisplayColFromReal(ColIndex);
    int shown = 0;
    for (int c = ColIndex; c <= last; ++c)
        shown += IsHiddenColumn(c) ? 0 : 1;

    // In-cell controls go with their columns or move left, by real column.
    std::vector<int> controlReal(std::size_t(FControlList->Count()));
    for (int i = FControlList->Count() - 1; i >= 0; --i) {
        TControlItem* item = FControlList->GetControl(i);
        const int r = RealColFromDisplay(item->X());
        if (r >= ColIndex && r <= last) {
            if (item->Control())
                item->Control()->SetVisible(false);
            FControlList->RemoveControl(i);
            controlReal.erase(controlReal.begin() + i);
        } else
            controlReal[std::size_t(i)] = r > last ? r - CCount : r;
    }

    for (int i = 0; i < CCount; ++i)
        CellStore().DeleteColumn(ColIndex);
    if (FNumHidden > 0) {
        FVisibleCol.erase(FVisibleCol.begin() + ColIndex, FVisibleCol.begin() + last + 1);
        FAllColWidths.erase(FAllColWidths.begin() + ColIndex, FAllColWidths.begin() + last + 1);
        FNumHidden = int(std::count(FVisibleCol.begin(), FVisibleCol.end(), false));
        if (FNumHidden == 0) {
            FVisibleCol.clear();
            FAllColWidths.clear();
        }
        RebuildColMaps();
    }
    if (FColumnOrder->Count() > 0) {
        std::vector<int> gone;
        for (int i = std::min(last, FColumnOrder->Count() - 1); i >= ColIndex; --i) {
            gone.push_back(FColumnOrder->Integers(i));
            FColumnOrder->Delete(i);
        }
        for (int i = 0; i < FColumnOrder->Count(); ++i) {
            const int v = FColumnOrder->Integers(i);
            const int below = int(std::count_if(gone.begin(), gone.end(), [v](int g) { return g < v; }));
            if (below > 0)
                FColumnOrder->SetIntegers(i, v - below);
        }
    }
    if (shown > 0 && int(FColSelection.size()) > d0)
        FColSelection.erase(
            FColSelection.begin() + d0, FColSelection.begin() + std::min<int>(d0 + shown, int(FColSelection.size())));

    std::vector<int> widths = ShownColWidths();
    widths.erase(widths.begin() + d0, widths.begin() + d0 + shown);
    if (widths.empty()) {
        // The toolkit grid keeps one column: a shown one after the hidden.
        widths.push_back(DefaultColWidth());
        if (FNumHidden > 0) {
            FVisibleCol.push_back(true);
            FAllColWidths.push_back(0);
            RebuildColMaps();
        }
    }
    ApplyShownColumns(widths);
    for (int i = 0; i < FControlList->Count(); ++i)
        FControlList->GetControl(i)->SetX(DisplayColFromReal(controlReal[std::size_t(i)]));
    DoCellsChanged(Rect(ColIndex, 0, ColIndex + CCount, RowCount() - 1));
    RepaintGrid();
}

void TExStringGrid::DeleteColumn(int ACol)
{
    RemoveCols(RealColFromDisplay(ACol), 1);
}

bool TExStringGrid::ColSelected(int ADisplCol) const
{
    return ADisplCol >= 0 && ADisplCol < int(FColSelection.size()) && FColSelection[std::size_t(ADisplCol)];
}

void TExStringGrid::RemoveRealCols(std::vector<int> Reals)
{
    // From the right, so that the indices still to come stay valid; a run
    // of neighbours goes in one step.
    std::sort(Reals.begin(), Reals.end(), std::greater<int>());
    Reals.erase(std::unique(Reals.begin(), Reals.end()), Reals.end());
    std::size_t i = 0;
    while (i < Reals.size()) {
        std::size_t j = i;
        while (j + 1 < Reals.size() && Reals[j + 1] == Reals[j] - 1)
            ++j;
        RemoveCols(Reals[j], int(j - i + 1));
        i = j + 1;
    }
}

void TExStringGrid::RemoveSelectedCols()
{
    std::vector<int> reals;
    if (FMouseActions->DisjunctColSelect()) {
        for (int d = ColCount() - 1; d >= FixedCols(); --d)
            if (ColSelected(d))
                reals.push_back(RealColFromDisplay(d));
    } else {
        const TGridRect s = Selection();
        for (int d = std::max(s.Left, s.Right); d >= std::min(s.Left, s.Right); --d)
            reals.push_back(RealColFromDisplay(d));
    }
    RemoveRealCols(std::move(reals));
}

void TExStringGrid::RemoveUnSelectedCols()
{
    std::vector<int> reals;
    const int lastNormal = ColCount() - FFixedRightCols - 1;
    if (FMouseActions->DisjunctColSelect()) {
        for (int d = lastNormal; d >= FixedCols(); --d)
            if (!ColSelected(d))
                reals.push_back(RealColFromDisplay(d));
    } else {
        const TGridRect s = Selection();
        const int lo = std::min(s.Left, s.Right);
        const int hi = std::max(s.Left, s.Right);
        for (int d = lastNormal; d > hi; --d)
            reals.push_back(RealColFromDisplay(d));
        for (int d = lo - 1; d >= FixedCols(); --d)
            reals.push_back(RealColFromDisplay(d));
    }
    RemoveRealCols(std::move(reals));
    for (TObject*& flag : FColSelection)
        flag = nullptr;
    RepaintGrid();
}
