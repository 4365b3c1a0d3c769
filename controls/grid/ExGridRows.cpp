// The string grid's rows: counts, the current and top row, hidden rows with
// their filter levels, inserting, removing and moving rows with every list
// that is kept per row.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGridOptions.h"

#include <QSet>
#include <algorithm>
#include <iterator>

namespace {

// Takes the entries of the rows (ascending) out; -1 for rows the list does
// not reach. Only the entries from the first row on move.
template <class List> std::vector<int> EraseEntries(List& v, const std::vector<int>& rows)
{
    std::vector<int> taken(rows.size(), -1);
    if (v.empty() || rows.empty() || rows.front() >= int(v.size()))
        return taken;
    int* d = v.data();
    const std::size_t size = std::size_t(v.size());
    std::size_t j = 0, out = std::size_t(rows.front());
    for (std::size_t i = out; i < size; ++i) {
        if (j < rows.size() && rows[j] == int(i)) {
            taken[j++] = d[i];
            continue;
        }
        d[out++] = d[i];
    }
    v.resize(out);
    return taken;
}

// Puts entries in at their final places (ascending), only where the list
// reaches; a row without an entry gets 0. The list is filled from its end,
// so that only the entries from the first place on move: rows added near
// the end cost what they add, not the whole list.
template <class List> void InsertEntries(List& v, const std::vector<int>& places, const std::vector<int>& values)
{
    // A set flag comes back even where the list has shrunk since.
    bool anySet = false;
    std::size_t need = 0;
    for (std::size_t j = 0; j < values.size() && j < places.size(); ++j)
        if (values[j] > 0) {
            anySet = true;
            need = std::max(need, std::size_t(places[j]) - j);
        }
    if (std::size_t(v.size()) < need)
        v.resize(need);
    if (places.empty() || (!anySet && (v.empty() || places.front() > int(v.size()))))
        return;
    // The j-th new entry follows places[j] - j old ones: it lands while
    // that many exist (beyond the list the flags stay absent).
    const std::size_t old = std::size_t(v.size());
    std::size_t k = 0;
    while (k < places.size() && std::size_t(places[k]) - k <= old)
        ++k;
    if (k == 0)
        return;
    v.resize(old + k);
    int* d = v.data();
    std::size_t i = old, j = k;
    for (std::size_t w = old + k; j > 0;) {
        --w;
        if (std::size_t(places[j - 1]) == w) {
            --j;
            d[w] = std::max(values.empty() ? 0 : values[j], 0);
        } else {
            d[w] = d[--i];
        }
    }
}

std::vector<int> Run(int first, int count)
{
    std::vector<int> rows(std::size_t(std::max(count, 0)));
    for (int k = 0; k < count; ++k)
        rows[std::size_t(k)] = first + k;
    return rows;
}

} // namespace

// ---------------------------------------------------------------------------
// Hidden row records

TExStringGrid::THiddenRow::THiddenRow(THiddenRow&& o) noexcept
{
    *this = std::move(o);
}

TExStringGrid::THiddenRow& TExStringGrid::THiddenRow::operator=(THiddenRow&& o) noexcept
{
    if (this == &o)
        return *this;
    for (const auto& [c, obj] : Cells.Objects)
        delete dynamic_cast<TCellProperties*>(obj);
    Idx = o.Idx;
    Level = o.Level;
    Height = o.Height;
    Cells.Texts = std::move(o.Cells.Texts);
    Cells.Objects = std::move(o.Cells.Objects);
    o.Cells.Texts.clear();
    o.Cells.Objects.clear();
    Modified = o.Modified;
    Enabled = o.Enabled;
    Selected = o.Selected;
    return *this;
}

TExStringGrid::THiddenRow::~THiddenRow()
{
    // A row dropped while hidden takes its cell properties along.
    for (const auto& [c, obj] : Cells.Objects)
        delete dynamic_cast<TCellProperties*>(obj);
}

// ---------------------------------------------------------------------------
// Counts, fixed rows, current and top row

void TExStringGrid::SetRowCount(int Value)
{
    Value = std::max(1, Value);
    const int old = RowCount();
    if (FSelHidden && FFixedRowAlways && old <= TCustomGrid::FixedRows() + 1)
        UnHideSelection();
    // The floating footer row is the last row: it moves before the grid
    // shrinks and after it grows, so that its cells survive.
    const bool footer = FFloatingFooter && FFloatingFooter->Visible() && Value != old;
    if (footer && Value < old)
        TCustomGrid::MoveRows(old - 1, 1, Value - 1);
    TCustomGrid::SetRowCount(Value);
    if (Value < old)
        CutRowStates(Value);
    if (footer && Value > old)
        TCustomGrid::MoveRows(old - 1, 1, Value - 1);
    if (FFixedRowAlways && FMinFixedRows < RowCount() && FMinFixedRows != TCustomGrid::FixedRows())
        TCustomGrid::SetFixedRows(FMinFixedRows);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    if (footer)
        RecalcFooter();
}

void TExStringGrid::CutRowStates(int ARowCount)
{
    // The rows past the new count are gone: their entries must not come back
    // on the rows a larger count adds.
    for (TIntList* l : { FModifiedRows.get(), FEnabledRows.get() }) {
        if (l->Count() <= ARowCount)
            continue;
        l->Items().resize(ARowCount);
    }
    int cut = ARowCount;
    if (FMouseActions && FMouseActions->RowSelectPersistent) {
        // By real row: only when no hidden row lies past the cut.
        cut = RealRowFromDisplay(ARowCount);
        if (!FHiddenRows.empty() && FHiddenRows.back().Idx >= cut)
            return;
    }
    if (int(FRowSelect.size()) > cut)
        FRowSelect.Edit().resize(std::size_t(cut));
}

int TExStringGrid::FixedRows() const
{
    const int n = TCustomGrid::FixedRows();
    return n == 0 && FFixedRowAlways ? 1 : n;
}

void TExStringGrid::SetFixedRows(int Value)
{
    if (FFixedRowAlways && Value >= RowCount())
        TCustomGrid::SetFixedRows(RowCount() - 1);
    else
        TCustomGrid::SetFixedRows(Value);
    if (!IsLoading())
        FMinFixedRows = Value;
}

void TExStringGrid::SetRowEx(int Value)
{
    if (Col() < 0 || Col() >= ColCount())
        FocusCell(TCustomGrid::FixedCols(), Value, true);
    TCustomGrid::SetRow(Value);
    const int now = GetRowEx();
    if (now != FOldRowSel && OnRowChanged) {
        const int old = FOldRowSel;
        FOldRowSel = now;
        OnRowChanged(this, old, now);
    }
    // The row the cursor lands on joins the disjunct selection.
    if (FMouseActions && FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    FollowLinkedGrid(
        FSyncingRow, FSyncGrid && FSyncGrid->SelectionRow, [Value](TExStringGrid& linked) { linked.SetRowEx(Value); });
    // The search bar lies over the bottom of the cells: the row is shown
    // whole above it.
    if (FSearchFooter->Visible())
        ScrollRowAboveSearchPanel(Row());
}

void TExStringGrid::ScrollRowAboveSearchPanel(int ARow)
{
    if (!FSearchFooter->Visible() || ClientHeight() <= DefaultRowHeight() + SearchPanelHeight())
        return;
    // A step per row above it: the bar is only a few rows high.
    const int line = ClientHeight() - SearchPanelHeight();
    while (ARow > TopRow() && CellRect(0, ARow).Bottom > line) {
        const int top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top)
            break; // the grid cannot scroll further
    }
}

void TExStringGrid::SetTopRow(int Value)
{
    if (Value >= TCustomGrid::FixedRows() && Value <= RowCount() - 1)
        TCustomGrid::SetTopRow(Value);
}

void TExStringGrid::HideSelection()
{
    if (!FSelHidden)
        FHiddenSelection = Selection();
    FSelHidden = true;
    SetSelection(TGridRect { ColCount(), RowCount(), ColCount(), RowCount() });
}

void TExStringGrid::UnHideSelection()
{
    FSelHidden = false;
    const TGridRect r = FHiddenSelection;
    if (r.Top < RowCount() && r.Left < ColCount() && r.Bottom < RowCount() && r.Right < ColCount()) {
        SetSelection(r);
        return;
    }
    const int row = FFixedRowAlways && TCustomGrid::FixedRows() >= RowCount() ? 0 : TCustomGrid::FixedRows();
    const int col = FFixedColAlways && TCustomGrid::FixedCols() >= ColCount() ? 0 : TCustomGrid::FixedCols();
    SetSelection(TGridRect { col, std::min(row, RowCount() - 1), col, std::min(row, RowCount() - 1) });
}

void TExStringGrid::UpdateEditMode()
{
    HandleSelectCell(Col(), Row());
}

bool TExStringGrid::IsIgnoredColumn(int ACol) const
{
    return FIgnoreColumns->HasValue(ACol);
}

// ---------------------------------------------------------------------------
// Index mappings

int TExStringGrid::TotalRowCount() const
{
    return RowCount() + int(FHiddenRows.size());
}

int TExStringGrid::NumHiddenRows() const
{
    return int(FHiddenRows.size());
}

namespace {
template <class V> auto FindHidden(V& rows, int idx)
{
    return std::lower_bound(rows.begin(), rows.end(), idx, [](const auto& h, int i) { return h.Idx < i; });
}
} // namespace

bool TExStringGrid::IsHiddenRow(int Rowindex) const
{
    const auto it = FindHidden(FHiddenRows, Rowindex);
    return it != FHiddenRows.end() && it->Idx == Rowindex;
}

int TExStringGrid::HiddenRowLevel(int Rowindex) const
{
    const auto it = FindHidden(FHiddenRows, Rowindex);
    return it != FHiddenRows.end() && it->Idx == Rowindex ? it->Level : -1;
}

int TExStringGrid::DisplayRowFromReal(int ARow) const
{
    return ARow - int(FindHidden(FHiddenRows, ARow) - FHiddenRows.begin());
}

int TExStringGrid::RealRowFromDisplay(int ARow) const
{
    // Idx - i (the displayed rows before the i-th hidden row) never falls:
    // the hidden rows up to the last with Idx - i <= ARow lie before it.
    int lo = 0, hi = int(FHiddenRows.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (FHiddenRows[std::size_t(mid)].Idx - mid <= ARow)
            lo = mid + 1;
        else
            hi = mid;
    }
    return ARow + lo;
}

// ---------------------------------------------------------------------------
// The cores: displayed rows out of the grid and back

TExStringGrid::THiddenRows TExStringGrid::TakeDisplayedRows(const std::vector<int>& Rows, bool Removal)
{
    return TakeRowsAtLevel(Rows, Removal, 0);
}

TExStringGrid::THiddenRows TExStringGrid::TakeRowsAtLevel(const std::vector<int>& Rows, bool Removal, int Level)
{
    std::vector<int> rows;
    rows.reserve(Rows.size());
    for (int r : Rows)
        if (r >= 0 && r < RowCount() && (rows.empty() || r > rows.back()))
            rows.push_back(r);
    // The grid keeps one row, as its row count does.
    if (int(rows.size()) >= RowCount())
        rows.resize(std::size_t(RowCount() - 1));
    THiddenRows recs;
    if (rows.empty())
        return recs;
    SplitAreasAround(rows);
    const int n = int(rows.size());
    // The rows ascend, so their real indexes come from one walk over the
    // hidden records (as RealRowFromDisplay counts them), not a search each.
    std::size_t before = 0;
    const std::vector<int> heights = RowHeightsOf(rows);
    for (int i = 0; i < n; ++i) {
        const int r = rows[std::size_t(i)];
        while (before < FHiddenRows.size() && FHiddenRows[before].Idx - int(before) <= r)
            ++before;
        THiddenRow& h = recs.emplace_back();
        h.Idx = r + int(before);
        h.Level = Level;
        h.Height = heights[std::size_t(i)];
        // Removed rows' properties are freed with their records.
        h.Cells = TakeRow(r);
    }
    auto eraseFrom = [&](TIntList& l, int THiddenRow::*field) {
        if (l.Count() == 0)
            return;
        const std::vector<int> taken = EraseEntries(l.Items(), rows);
        for (int i = 0; i < n; ++i)
            recs[std::size_t(i)].*field = taken[std::size_t(i)];
    };
    eraseFrom(*FModifiedRows, &THiddenRow::Modified);
    eraseFrom(*FEnabledRows, &THiddenRow::Enabled);
    const bool persistent = FMouseActions && FMouseActions->RowSelectPersistent;
    if (FRowSelect.empty()) {
        // no flags to carry
    } else if (!persistent) {
        const std::vector<int> taken = EraseEntries(FRowSelect.Edit(), rows);
        for (int i = 0; i < n; ++i)
            recs[std::size_t(i)].Selected = taken[std::size_t(i)];
    } else if (Removal) {
        std::vector<int> reals(rows.size());
        for (int i = 0; i < n; ++i)
            reals[std::size_t(i)] = recs[std::size_t(i)].Idx;
        EraseEntries(FRowSelect.Edit(), reals);
    }

    const int first = rows.front();
    if (rows.back() - first + 1 == n)
        TCustomGrid::DeleteRows(first, n);
    else
        DeleteRowSet(rows);
    return recs;
}

void TExStringGrid::PutDisplayedRows(const std::vector<int>& Places, THiddenRows& Records)
{
    const int n = int(Places.size());
    if (n == 0)
        return;
    for (int j = 0; j < n; ++j)
        if (j == 0 || Places[std::size_t(j)] != Places[std::size_t(j - 1)] + 1)
            SplitAreasAcross(Places[std::size_t(j)] - j);
    const int first = Places.front();
    if (Places.back() - first + 1 == n)
        TCustomGrid::InsertRows(first, n);
    else
        InsertRowSet(Places);
    // One walk over the records: a level of many rows does not fit in the
    // cache, so the flags are gathered while the cells go back, and only for
    // the lists that hold entries (a set flag met otherwise takes a second
    // walk).
    const int defaultHeight = DefaultRowHeight();
    const bool persistent = FMouseActions && FMouseActions->RowSelectPersistent;
    const auto count = std::size_t(n);
    std::vector<int> modified(FModifiedRows->Count() > 0 ? count : 0);
    std::vector<int> enabled(FEnabledRows->Count() > 0 ? count : 0);
    std::vector<int> selected(!persistent && !FRowSelect.empty() ? count : 0);
    bool lateModified = false, lateEnabled = false, lateSelected = false;
    for (std::size_t i = 0; i < count; ++i) {
        THiddenRow& h = Records[i];
        const int row = Places[i];
        PutRow(row, std::move(h.Cells));
        h.Cells = TGridStoredRow();
        if (h.Height != defaultHeight)
            SetRowHeights(row, h.Height);
        if (!modified.empty())
            modified[i] = h.Modified;
        else
            lateModified |= h.Modified > 0;
        if (!enabled.empty())
            enabled[i] = h.Enabled;
        else
            lateEnabled |= h.Enabled > 0;
        if (!selected.empty())
            selected[i] = h.Selected;
        else
            lateSelected |= h.Selected > 0;
    }
    auto gather = [&](std::vector<int>& values, bool late, int THiddenRow::*field) {
        if (!late)
            return !values.empty();
        values.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            values[i] = Records[i].*field;
        return true;
    };
    if (gather(modified, lateModified, &THiddenRow::Modified))
        InsertEntries(FModifiedRows->Items(), Places, modified);
    if (gather(enabled, lateEnabled, &THiddenRow::Enabled))
        InsertEntries(FEnabledRows->Items(), Places, enabled);
    if (!persistent && gather(selected, lateSelected, &THiddenRow::Selected))
        InsertEntries(FRowSelect.Edit(), Places, selected);
}

void TExStringGrid::ShiftHiddenForRemoval(const std::vector<int>& RealRows)
{
    std::size_t j = 0;
    for (THiddenRow& h : FHiddenRows) {
        while (j < RealRows.size() && RealRows[j] < h.Idx)
            ++j;
        h.Idx -= int(j);
    }
}

void TExStringGrid::ShiftHiddenForInsertion(int RealIndex, int Count)
{
    for (auto it = FindHidden(FHiddenRows, RealIndex); it != FHiddenRows.end(); ++it)
        it->Idx += Count;
}

void TExStringGrid::RemoveDisplayedRows(const std::vector<int>& Rows, bool KeepProperties)
{
    std::vector<int> reals;
    reals.reserve(Rows.size());
    for (int r : Rows)
        if (r >= 0 && r < RowCount())
            reals.push_back(RealRowFromDisplay(r));
    const int before = RowCount();
    THiddenRows recs = TakeDisplayedRows(Rows, true);
    if (KeepProperties)
        for (THiddenRow& h : recs)
            h.Cells.Objects.clear();
    reals.resize(std::size_t(before - RowCount()));
    ShiftHiddenForRemoval(reals);
    ShiftCellControlsForRemoval(reals);
    FMaxRowCount = std::max(0, FMaxRowCount - int(reals.size()));
}

void TExStringGrid::HideDisplayedRows(const std::vector<int>& Rows, int Level)
{
    THiddenRows recs = TakeRowsAtLevel(Rows, false, Level);
    if (recs.empty())
        return;
    if (FControlList && FControlList->Count() > 0) {
        std::vector<int> reals;
        for (const THiddenRow& h : recs)
            reals.push_back(h.Idx);
        ShowCellControls(reals, false);
    }
    if (FHiddenRows.empty()) {
        FHiddenRows.swap(recs);
        return;
    }
    THiddenRows merged;
    auto byIdx = [](const THiddenRow& a, const THiddenRow& b) { return a.Idx < b.Idx; };
    std::merge(std::make_move_iterator(FHiddenRows.begin()), std::make_move_iterator(FHiddenRows.end()),
        std::make_move_iterator(recs.begin()), std::make_move_iterator(recs.end()), std::back_inserter(merged), byIdx);
    FHiddenRows.swap(merged);
}

void TExStringGrid::UnHideRecords(THiddenRows&& Records)
{
    if (Records.empty())
        return;
    // Each row comes back where its real index puts it among the rows that
    // stay hidden; the places rise with the records.
    std::vector<int> places(Records.size());
    std::size_t j = 0;
    for (std::size_t i = 0; i < Records.size(); ++i) {
        while (j < FHiddenRows.size() && FHiddenRows[j].Idx < Records[i].Idx)
            ++j;
        places[i] = Records[i].Idx - int(j);
    }
    UnHideRecordsAt(std::move(Records), places);
}

void TExStringGrid::UnHideRecordsAt(THiddenRows&& Records, const std::vector<int>& Places)
{
    std::vector<int> reals;
    if (FControlList && FControlList->Count() > 0)
        for (const THiddenRow& h : Records)
            reals.push_back(h.Idx);
    PutDisplayedRows(Places, Records);
    ShowCellControls(reals, true);
}

// ---------------------------------------------------------------------------
// Merged areas and controls placed in cells

void TExStringGrid::SplitAreasAcross(int ARow)
{
    if (!HasMergedAreas() || ARow <= 0 || ARow >= RowCount())
        return;
    for (int c = 0; c < TotalColCount(); ++c)
        if (IsMergedNonBaseCell(c, ARow)) {
            const TPoint b = BaseCell(c, ARow);
            if (b.Y < ARow)
                SplitCells(b.X, b.Y);
        }
}

void TExStringGrid::SplitAreasAround(const std::vector<int>& Rows)
{
    if (!HasMergedAreas())
        return;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        if (i == 0 || Rows[i - 1] != Rows[i] - 1)
            SplitAreasAcross(Rows[i]);
        if (i + 1 == Rows.size() || Rows[i + 1] != Rows[i] + 1)
            SplitAreasAcross(Rows[i] + 1);
    }
}

void TExStringGrid::ShiftCellControls(const std::function<int(int)>& NewRow)
{
    if (!FControlList || FControlList->Count() == 0)
        return;
    for (int i = FControlList->Count() - 1; i >= 0; --i) {
        TControlItem* item = FControlList->GetControl(i);
        const int y = NewRow(item->Y());
        if (y >= 0) {
            item->SetY(y);
            continue;
        }
        if (item->Control())
            item->Control()->SetVisible(false);
        FControlList->RemoveControl(i);
    }
}

void TExStringGrid::ShiftCellControlsForRemoval(const std::vector<int>& RealRows)
{
    ShiftCellControls([&](int y) {
        const auto it = std::lower_bound(RealRows.begin(), RealRows.end(), y);
        return it != RealRows.end() && *it == y ? -1 : y - int(it - RealRows.begin());
    });
}

void TExStringGrid::ShowCellControls(const std::vector<int>& RealRows, bool Show)
{
    if (!FControlList || FControlList->Count() == 0)
        return;
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        if (item->Control() && std::binary_search(RealRows.begin(), RealRows.end(), item->Y()))
            item->Control()->SetVisible(Show);
    }
}

// ---------------------------------------------------------------------------
// Hiding and showing rows

void TExStringGrid::HideRows(int FromRow, int ToRow)
{
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (ToRow < FromRow)
        return;
    // The displayed rows of the range follow each other.
    const int first = DisplayRowFromReal(FromRow);
    const int last = DisplayRowFromReal(ToRow + 1);
    if (last <= first)
        return;
    HideDisplayedRows(Run(first, last - first), 0);
}

void TExStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (IsHiddenRow(FromRow))
        return;
    const int first = DisplayRowFromReal(FromRow);
    const int before = RowCount();
    HideRows(FromRow, ToRow);
    if (RowCount() != before)
        DoCellsChanged(Rect(0, first, ColCount() - 1, first + before - RowCount()));
}

void TExStringGrid::HideRowList(const std::vector<int>& RowList)
{
    ++FFilterLevel;
    // The filter hands its rows over in order already.
    if (std::is_sorted(RowList.begin(), RowList.end())) {
        HideDisplayedRows(RowList, FFilterLevel);
        return;
    }
    std::vector<int> rows(RowList);
    std::sort(rows.begin(), rows.end());
    HideDisplayedRows(rows, FFilterLevel);
}

void TExStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    const auto b = FindHidden(FHiddenRows, FromRow);
    const auto e = FindHidden(FHiddenRows, ToRow + 1);
    if (e <= b)
        return;
    THiddenRows recs(std::make_move_iterator(b), std::make_move_iterator(e));
    FHiddenRows.erase(b, e);
    UnHideRecords(std::move(recs));
}

void TExStringGrid::UnHideRowsAll()
{
    THiddenRows recs;
    recs.swap(FHiddenRows);
    UnHideRecords(std::move(recs));
}

void TExStringGrid::UnHideRowList()
{
    const int level = FFilterLevel;
    if (level <= 0)
        return;
    // Each row of the level comes back below the rows staying hidden before
    // it: one walk finds the places and whether any row stays.
    std::vector<int> places;
    int stays = 0;
    for (const THiddenRow& h : FHiddenRows) {
        if (h.Level == level)
            places.push_back(h.Idx - stays);
        else
            ++stays;
    }
    if (places.empty())
        return;
    THiddenRows recs, stay;
    if (stays == 0) {
        recs.swap(FHiddenRows);
    } else {
        for (THiddenRow& h : FHiddenRows)
            (h.Level == level ? recs : stay).push_back(std::move(h));
        FHiddenRows.swap(stay);
    }
    UnHideRecordsAt(std::move(recs), places);
}

// ---------------------------------------------------------------------------
// Removing, inserting and moving rows

namespace {
// The current row keeps its number through a removal while it still exists
// (the rows below moved up into it), and the top row with it; otherwise the
// grid's own choice (the last row) stands, or Fallback when given.
template <class G> struct TKeepCursor {
    G& grid;
    int row = grid.Row(), top = grid.TopRow();
    bool keep = true;
    int fallback = -1;
    ~TKeepCursor()
    {
        if (keep && row < grid.RowCount()) {
            grid.TCustomGrid::SetRow(row);
            grid.TCustomGrid::SetTopRow(top);
        } else if (fallback >= 0 && fallback < grid.RowCount()) {
            grid.TCustomGrid::SetRow(fallback);
            grid.TCustomGrid::SetTopRow(fallback);
        }
    }
};
} // namespace

void TExStringGrid::DeleteRowRange(int ARow, int Count, bool ForRemoval)
{
    if (ARow < 0 || ARow >= RowCount() || Count <= 0)
        return;
    Count = std::min(Count, RowCount() - ARow);
    {
        TKeepCursor<TExStringGrid> cursor { *this };
        if (ForRemoval)
            RemoveDisplayedRows(Run(ARow, Count));
        else
            TakeDisplayedRows(Run(ARow, Count), true);
    }
    DoCellsChanged(Rect(0, ARow, ColCount() - 1, ARow + Count));
}

void TExStringGrid::DeleteGridRows(int RowIndex, int RCount)
{
    DeleteRowRange(RowIndex, RCount, true);
}

void TExStringGrid::RemoveRows(int RowIndex, int RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    {
        TKeepCursor<TExStringGrid> cursor { *this };
        cursor.keep = !(FMouseActions && FMouseActions->DisjunctRowSelect());
        RemoveDisplayedRows(Run(RowIndex, RCount));
    }
    DoCellsChanged(Rect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TExStringGrid::RemoveRowsEx(int RowIndex, int RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    {
        TKeepCursor<TExStringGrid> cursor { *this };
        cursor.fallback = TCustomGrid::FixedRows();
        RemoveDisplayedRows(Run(RowIndex, RCount), true);
    }
    DoCellsChanged(Rect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TExStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls)
{
    InsertRowRange(RowIndex, RCount, UpdateCellControls);
}

void TExStringGrid::InsertRowRange(int RowIndex, int RCount, bool UpdateCellControls)
{
    if (RCount <= 0 || RowIndex < 0 || RowIndex > RowCount())
        return;
    if (FSelHidden)
        UnHideSelection();
    const int real = RealRowFromDisplay(RowIndex);
    SplitAreasAcross(RowIndex);
    if (UpdateCellControls)
        ShiftCellControls([=](int y) { return y >= real ? y + RCount : y; });
    TCustomGrid::InsertRows(RowIndex, RCount);
    const std::vector<int> places = Run(RowIndex, RCount);
    for (TIntList* l : { FModifiedRows.get(), FEnabledRows.get() }) {
        if (l->Count() < RowIndex || l->Count() == 0)
            continue;
        InsertEntries(l->Items(), places, {});
    }
    const bool persistent = FMouseActions && FMouseActions->RowSelectPersistent;
    if (!FRowSelect.empty())
        InsertEntries(FRowSelect.Edit(), persistent ? Run(real, RCount) : places, {});
    ShiftHiddenForInsertion(real, RCount);
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    if (!IsDestroying())
        DoCellsChanged(Rect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TExStringGrid::AddRow()
{
    if (FFloatingFooter && FFloatingFooter->Visible())
        InsertRows(RowCount() - 1, 1, true);
    else
        InsertRows(RowCount(), 1, true);
}

void TExStringGrid::MoveRows(int FromIndex, int ToIndex, int Count)
{
    if (Count <= 0 || FromIndex == ToIndex)
        return;
    // ToIndex counts the moving rows: below them it names the place they
    // take once they have left.
    if (FromIndex + Count <= ToIndex)
        ToIndex -= Count;
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex + Count > RowCount()
        || ToIndex + Count > RowCount())
        return;
    SplitAreasAcross(FromIndex);
    SplitAreasAcross(FromIndex + Count);
    SplitAreasAcross(ToIndex < FromIndex ? ToIndex : ToIndex + Count);
    std::vector<int> reals;
    for (int r = FromIndex; r < FromIndex + Count; ++r)
        reals.push_back(RealRowFromDisplay(r));
    ShiftHiddenForRemoval(reals);
    const int real = RealRowFromDisplay(ToIndex);
    ShiftHiddenForInsertion(real, Count);
    ShiftCellControls([&](int y) {
        const auto it = std::lower_bound(reals.begin(), reals.end(), y);
        if (it != reals.end() && *it == y)
            return real + int(it - reals.begin());
        const int without = y - int(it - reals.begin());
        return without >= real ? without + Count : without;
    });
    TCustomGrid::MoveRows(FromIndex, Count, ToIndex);

    const std::vector<int> from = Run(FromIndex, Count), to = Run(ToIndex, Count);
    auto move = [&](auto& v, const std::vector<int>& out, const std::vector<int>& in) {
        if (v.empty())
            return;
        const std::size_t need = std::size_t(std::max(out.back(), in.back()) + 1);
        if (std::size_t(v.size()) < need)
            v.resize(need);
        const std::vector<int> taken = EraseEntries(v, out);
        InsertEntries(v, in, taken);
    };
    for (TIntList* l : { FModifiedRows.get(), FEnabledRows.get() }) {
        if (l->Count() <= std::min(FromIndex, ToIndex))
            continue;
        move(l->Items(), from, to);
    }
    if (FMouseActions && FMouseActions->RowSelectPersistent)
        move(FRowSelect.Edit(), reals, Run(real, Count));
    else if (int(FRowSelect.size()) > std::min(FromIndex, ToIndex))
        move(FRowSelect.Edit(), from, to);
    DoCellsChanged(Rect(0, std::min(FromIndex, ToIndex), ColCount() - 1, std::max(FromIndex, ToIndex) + Count));
}

// ---------------------------------------------------------------------------
// Rows inserted and removed for the user

void TExStringGrid::InsertGridRow(int ARow)
{
    if (!HasNodes())
        InsertRows(ARow, 1, true);
    else if (GetParentRow(DisplRowIndex(ARow)) == -1)
        InsertNormalRow(ARow);
    else
        InsertChildRow(ARow, 0);
}

void TExStringGrid::RemoveGridRow(int ARow)
{
    if (HasNodes()) {
        // Inside a group the spans above the row shrink with it.
        if (GetParentRow(DisplRowIndex(ARow)) == -1)
            RemoveNormalRow(DisplRowIndex(ARow));
        else
            RemoveChildRow(ARow);
        if (OnAutoDeleteRow)
            OnAutoDeleteRow(this, ARow);
        return;
    }
    const int normal = RowCount() - TCustomGrid::FixedRows() - FFixedFooters;
    // Without normal rows the row could only be a fixed or footer row.
    if (normal <= 0)
        return;
    if (normal != 1 || FFixedRowAlways)
        DeleteGridRows(ARow, 1);
    else
        ClearRowCells(ARow);
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARow);
}

void TExStringGrid::DoCanAddRow(bool& Allow)
{
    if (OnCanAddRow)
        OnCanAddRow(this, Allow);
}

void TExStringGrid::DoCanInsertRow(int ARow, bool& CanInsert)
{
    if (OnCanInsertRow)
        OnCanInsertRow(this, ARow, CanInsert);
}

// ---------------------------------------------------------------------------
// The bulk removals by the row selection flags

namespace {
// The displayed rows from First to Last whose flag equals Want.
template <class G> std::vector<int> RowsFlagged(const G& grid, int First, int Last, bool Want)
{
    std::vector<int> rows;
    for (int r = First; r <= Last; ++r)
        if (grid.RowSelectFlag(grid.RowSelectIndex(r)) == Want)
            rows.push_back(r);
    return rows;
}
} // namespace

void TExStringGrid::RemoveSelectedRows()
{
    if (FMouseActions && FMouseActions->DisjunctRowSelect()) {
        const int first = TCustomGrid::FixedRows();
        const std::vector<int> rows = RowsFlagged(*this, first, RowCount() - FFixedFooters - 1, true);
        if (!rows.empty()) {
            RemoveDisplayedRows(rows);
            DoCellsChanged(Rect(0, rows.front(), ColCount() - 1, RowCount()));
        }
        ClearRowSelect();
        return;
    }
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    RemoveRows(top, bottom - top + 1);
}

void TExStringGrid::RemoveUnSelectedRows()
{
    const bool persistent = FMouseActions && FMouseActions->RowSelectPersistent;
    const int first = TCustomGrid::FixedRows();
    const std::vector<int> rows = RowsFlagged(*this, first, RowCount() - FFixedFooters - 1, false);
    if (!rows.empty()) {
        RemoveDisplayedRows(rows);
        DoCellsChanged(Rect(0, rows.front(), ColCount() - 1, RowCount()));
    }
    ClearRowSelect();
    if (persistent)
        for (int r = first; r < RowCount(); ++r)
            SetRowSelect(RowSelectIndex(r), true);
}

void TExStringGrid::RemoveDuplicates(int ACol, bool DoCase)
{
    QSet<QString> seen;
    std::vector<int> rows;
    const int col = RealColFromDisplay(ACol);
    const int last = RowCount() - FFixedFooters - 1;
    for (int r = TCustomGrid::FixedRows(); r <= last; ++r) {
        const QString& s = Store().Text(col, r);
        const QString key = DoCase ? s : s.toUpper();
        if (seen.contains(key))
            rows.push_back(r);
        else
            seen.insert(key);
    }
    if (rows.empty())
        return;
    RemoveDisplayedRows(rows);
    DoCellsChanged(Rect(0, rows.front(), ColCount() - 1, RowCount()));
}

void TExStringGrid::HideSelectedRows()
{
    HideDisplayedRows(RowsFlagged(*this, TCustomGrid::FixedRows(), RowCount() - 1, true), 0);
}

void TExStringGrid::HideUnSelectedRows()
{
    HideDisplayedRows(RowsFlagged(*this, TCustomGrid::FixedRows(), RowCount() - 1, false), 0);
}
