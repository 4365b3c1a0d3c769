// The string grid's selection lists and per-row state: disjunct row, column
// and cell selection, modified and enabled rows, the repaint helpers, the
// column order, and small services (visual-style colours, scaling, the
// fixed-cell editors' change event, rotated text placement).

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGridWindows.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

qint64 CellKey(int ACol, int ARow)
{
    return (qint64(ARow) << 32) | qint64(quint32(ACol));
}

TGridCoord KeyCell(qint64 Key)
{
    return { int(quint32(Key & 0xFFFFFFFF)), int(Key >> 32) };
}

} // namespace

// ---------------------------------------------------------------------------
// The row selection flags

void TRowSelectFlags::Grow(std::size_t Count)
{
    if (FFlags.size() < Count)
        FFlags.resize(Count);
}

void TRowSelectFlags::Set(int ARow, bool Value)
{
    int& flag = FFlags[std::size_t(ARow)];
    if ((flag != 0) == Value)
        return;
    if (!Value) {
        flag = 0;
        if (FSelected > 0)
            --FSelected;
        FOrderedValid = false;
        return;
    }
    flag = NewPlace();
    if (FSelected >= 0)
        ++FSelected;
    // The newest row goes last: the derived order stays good without a walk.
    if (FOrderedValid && ARow >= FOrderedFrom && ARow < FOrderedTo)
        FOrdered.push_back(ARow);
}

int TRowSelectFlags::NewPlace()
{
    if (FNext == std::numeric_limits<int>::max())
        Renumber();
    return FNext++;
}

void TRowSelectFlags::Clear()
{
    std::fill(FFlags.begin(), FFlags.end(), 0);
    FSelected = 0;
    FOrderedValid = false;
}

std::vector<int>& TRowSelectFlags::Edit()
{
    FSelected = -1;
    FOrderedValid = false;
    return FFlags;
}

int TRowSelectFlags::Count(int From, int To) const
{
    const int size = int(FFlags.size());
    From = std::clamp(From, 0, size);
    To = std::clamp(To, From, size);
    if (FSelected < 0)
        FSelected = int(std::count_if(FFlags.begin(), FFlags.end(), [](int f) { return f != 0; }));
    // The rows outside the range are few (the fixed rows and what lies past
    // the last row): counted, the rest is the whole list's count.
    auto set = [this](int a, int b) {
        return int(std::count_if(FFlags.begin() + a, FFlags.begin() + b, [](int f) { return f != 0; }));
    };
    return FSelected - set(0, From) - set(To, size);
}

const std::vector<int>& TRowSelectFlags::Ordered(int From, int To) const
{
    const int size = int(FFlags.size());
    From = std::clamp(From, 0, size);
    To = std::clamp(To, From, size);
    if (FOrderedValid && FOrderedFrom == From && FOrderedTo == To)
        return FOrdered;
    std::vector<std::pair<int, int>> stamped;
    for (int r = From; r < To; ++r)
        if (const int f = FFlags[std::size_t(r)]; f != 0)
            stamped.emplace_back(f, r);
    std::sort(stamped.begin(), stamped.end());
    FOrdered.clear();
    FOrdered.reserve(stamped.size());
    for (const auto& e : stamped)
        FOrdered.push_back(e.second);
    FOrderedFrom = From;
    FOrderedTo = To;
    FOrderedValid = true;
    return FOrdered;
}

void TRowSelectFlags::Renumber()
{
    // Places 1, 2, ... in the same order, so the counter starts low again.
    std::vector<std::pair<int, int>> stamped;
    for (std::size_t r = 0; r < FFlags.size(); ++r)
        if (FFlags[r])
            stamped.emplace_back(FFlags[r], int(r));
    std::sort(stamped.begin(), stamped.end());
    FNext = 1;
    for (const auto& e : stamped)
        FFlags[std::size_t(e.second)] = FNext++;
}

// ---------------------------------------------------------------------------
// Disjunct row selection

int TExStringGrid::RowSelectIndex(int ADisplRow) const
{
    return FMouseActions && FMouseActions->RowSelectPersistent ? RealRowFromDisplay(ADisplRow) : ADisplRow;
}

int TExStringGrid::RowSelectDisplRow(int AIndex) const
{
    if (!(FMouseActions && FMouseActions->RowSelectPersistent))
        return AIndex;
    return IsHiddenRow(AIndex) ? -1 : DisplayRowFromReal(AIndex);
}

bool TExStringGrid::RowSelectFlag(int ARow) const
{
    return FRowSelect.Test(ARow);
}

bool TExStringGrid::RealRowSelected(int ARealRow)
{
    if (FMouseActions && FMouseActions->RowSelectPersistent)
        return FRowSelect.Test(ARealRow);
    // A hidden row keeps its flag in its record.
    if (const THiddenRow* h = HiddenRecord(ARealRow))
        return h->Selected > 0;
    return FRowSelect.Test(DisplayRowFromReal(ARealRow));
}

void TExStringGrid::SetRealRowSelected(int ARealRow, bool Value)
{
    if (FMouseActions && FMouseActions->RowSelectPersistent) {
        SetRowSelect(ARealRow, Value);
        return;
    }
    if (THiddenRow* h = HiddenRecord(ARealRow)) {
        // Out of view: nothing to repaint, and the row is shown again with
        // the flag as its record holds it.
        h->Selected = Value ? FRowSelect.NewPlace() : 0;
        return;
    }
    SetRowSelect(DisplayRowFromReal(ARealRow), Value);
}

bool TExStringGrid::RowSelect(int ARow) const
{
    const bool persistent = FMouseActions->RowSelectPersistent;
    if (!persistent && (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw EExGridError(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (FMouseActions->DisjunctRowSelect()) {
        // A persistent selection skips the range test; a negative row has no flag.
        if (ARow < 0)
            return false;
        FRowSelect.Grow(std::size_t(ARow) + 1);
        return FRowSelect.Test(ARow);
    }
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TExStringGrid::SetRowSelect(int ARow, bool Value)
{
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && RowCount() > FixedRows()))
        throw EExGridError(QStringLiteral("Invalid row accessed"));
    const bool was = FRowSelect.Test(ARow);
    if (OnRowDisjunctSelect && (ARow >= int(FRowSelect.size()) || was != Value)) {
        bool allow = true;
        OnRowDisjunctSelect(this, ARow, Value, allow);
        if (!allow)
            return;
    }
    FRowSelect.Grow(std::size_t(ARow) + 1);
    if (was != Value) {
        const int shown = RowSelectDisplRow(ARow);
        if (shown >= 0)
            RepaintRow(shown);
        FRowSelect.Set(ARow, Value);
    }
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

void TExStringGrid::ClearRowSelect()
{
    for (std::size_t r = 0; r < FRowSelect.size(); ++r)
        if (FRowSelect[r]) {
            const int shown = RowSelectDisplRow(int(r));
            if (shown >= 0)
                RepaintRow(shown);
        }
    FRowSelect.Clear();
}

int TExStringGrid::RowSelectCount() const
{
    if (FMouseActions->DisjunctRowSelect())
        return FRowSelect.Count(0, RowCount() + NumHiddenRows());
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

const std::vector<int>& TExStringGrid::SelectedRowList() const
{
    return FRowSelect.Ordered(FixedRows(), RowCount() + NumHiddenRows());
}

void TExStringGrid::SelectRows(int RowIndex, int RCount)
{
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (!FMouseActions->DisjunctRowSelect()) {
        if (RCount > 0)
            SetSelection({ FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1 });
    } else {
        for (int r = RowIndex; r < RowIndex + RCount; ++r)
            if (r >= 0 && r < RowCount())
                SetRowSelect(RowSelectIndex(r), true);
    }
    if (FRowIndicator && !FRowIndicator->Empty())
        RepaintCol(0);
    FSelChange = false;
}

void TExStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = RowIndex; r < RowIndex + RCount; ++r)
            if (r >= 0 && r < RowCount())
                SetRowSelect(RowSelectIndex(r), false);
    }
    FSelChange = false;
}

void TExStringGrid::SelectionToRowSelect(bool All)
{
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom);
    const int bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - FFixedFooters - 1);
    // Without All only the rows inside the rectangle are written: the walk
    // keeps to them (the grid does this on every move of the current row).
    const int first = All ? FixedRows() : std::max(FixedRows(), top);
    const int last = All ? RowCount() - 1 : std::min(RowCount() - 1, bottom);
    // Each flag that changes repaints its own displayed row, also while
    // rows are hidden.
    for (int r = first; r <= last; ++r)
        SetRowSelect(RowSelectIndex(r), r >= top && r <= bottom);
}

// ---------------------------------------------------------------------------
// Disjunct column selection

bool TExStringGrid::ColSelect(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        throw EExGridError(QStringLiteral("Invalid column accessed"));
    if (ACol >= int(FColSelection.size()))
        FColSelection.resize(std::size_t(ACol) + 1, nullptr);
    return FColSelection[std::size_t(ACol)] != nullptr;
}

void TExStringGrid::SetColSelect(int ACol, bool Value)
{
    const bool was = ColSelect(ACol);
    // A set flag is any non-nil entry: the grid itself stands for it.
    FColSelection[std::size_t(ACol)] = Value ? this : nullptr;
    if (was != Value)
        RepaintCol(ACol);
}

int TExStringGrid::ColSelectCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return int(std::count_if(FColSelection.begin(), FColSelection.end(), [](TObject* f) { return f != nullptr; }));
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

void TExStringGrid::ClearColSelect()
{
    for (std::size_t c = 0; c < FColSelection.size(); ++c)
        if (FColSelection[c]) {
            RepaintCol(int(c));
            FColSelection[c] = nullptr;
        }
}

void TExStringGrid::SelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect()) {
        if (CCount > 0)
            SetSelection({ ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1 });
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (c >= 0 && c < ColCount())
            SetColSelect(c, true);
}

void TExStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect())
        return;
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (c >= 0 && c < ColCount())
            SetColSelect(c, false);
}

void TExStringGrid::SelectionToColSelect(bool All)
{
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right);
    const int right = std::max(s.Left, s.Right);
    const int first = All ? FixedCols() : std::max(FixedCols(), left);
    const int last = All ? ColCount() - 1 : std::min(ColCount() - 1, right);
    for (int c = first; c <= last; ++c)
        SetColSelect(c, c >= left && c <= right);
}

// ---------------------------------------------------------------------------
// Moving the cursor and the selection

void TExStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRowEx(ToRow);
    SetCol(ToCol);
    SetSelection({ FromCol, FromRow, ToCol, ToRow });
}

void TExStringGrid::FocusCell(int ACol, int ARow)
{
    SetSelection({ ACol, ARow, ACol, ARow });
}

void TExStringGrid::GotoCell(int ACol, int ARow)
{
    SetRowEx(ARow);
    SetCol(ACol);
}

void TExStringGrid::EditCell(int ACol, int ARow)
{
    SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TExStringGrid::SwapCells(TGridCoord FromCell, TGridCoord ToCell)
{
    TGridCellStore& store = CellStore();
    const QString fromText = store.Text(FromCell.X, FromCell.Y);
    TObject* fromObject = store.Object(FromCell.X, FromCell.Y);
    TObject* toObject = store.Object(ToCell.X, ToCell.Y);
    store.SetText(FromCell.X, FromCell.Y, store.Text(ToCell.X, ToCell.Y));
    store.SetText(ToCell.X, ToCell.Y, fromText);
    store.SetObject(FromCell.X, FromCell.Y, toObject);
    store.SetObject(ToCell.X, ToCell.Y, fromObject);
    // Properties repaint the cell they live in.
    auto follow = [](TObject* o, TGridCoord at) {
        if (auto* props = dynamic_cast<TCellProperties*>(o)) {
            props->SetOwnerCol(at.X);
            props->SetOwnerRow(at.Y);
        }
    };
    follow(fromObject, ToCell);
    follow(toObject, FromCell);
}

// ---------------------------------------------------------------------------
// Modified and enabled rows

namespace {
// Grows the list with 0 up to Index and stores Value there.
void StoreRowEntry(TIntList& List, int Index, int Value)
{
    while (List.Count() <= Index)
        List.Insert(List.Count(), 0);
    List.SetInteger(Index, Value);
}
} // namespace

bool TExStringGrid::RowModified(int ARow) const
{
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->Integers(ARow) == 1;
}

void TExStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    StoreRowEntry(*FModifiedRows, ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

int TExStringGrid::ModifiedRowCount() const
{
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i)
        n += FModifiedRows->Integers(i) == 1;
    return n;
}

void TExStringGrid::ClearModifiedRows()
{
    FModifiedRows->Clear();
    RepaintGrid();
}

bool TExStringGrid::RowEnabled(int ARow) const
{
    return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->Integers(ARow) == 0;
}

void TExStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    // The cursor leaves a row being disabled; enabling it keeps the cursor.
    if (!Value && ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != ARow && RowEnabled(r)) {
                SetRowEx(r);
                break;
            }
    }
    FUseEnabledRows = true;
    StoreRowEntry(*FEnabledRows, ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---------------------------------------------------------------------------
// Repaint helpers

void TExStringGrid::RepaintRow(int ARow)
{
    InvalidateGridRect({ 0, ARow, LeftCol() + VisibleColCount(), ARow });
}

void TExStringGrid::RepaintCol(int ACol)
{
    InvalidateGridRect({ ACol, TopRow(), ACol, TopRow() + VisibleRowCount() });
}

void TExStringGrid::RepaintRect(const TGridRect& R)
{
    if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0)
        return;
    const int right = std::min(VisibleColCount() + FixedCols(), R.Right);
    const TRect a = CellRect(R.Left, R.Top);
    const TRect b = CellRect(right, R.Bottom);
    if (a.Width() <= 0 || a.Height() <= 0 || b.Width() <= 0 || b.Height() <= 0) {
        RepaintGrid();
        return;
    }
    InvalidateGridRect({ R.Left, R.Top, right, R.Bottom });
}

void TExStringGrid::RepaintGridRect(const TGridRect& R)
{
    InvalidateGridRect(R);
}

// ---------------------------------------------------------------------------
// The last row and the search footer

bool TExStringGrid::LastRowAboveSearchPanel()
{
    if (!FSearchFooter->Visible() || TopRow() + VisibleRowCount() < RowCount() - 1)
        return false;
    return CellRect(0, RowCount() - 1).Bottom < ClientHeight() - SearchPanelHeight() + 2;
}

void TExStringGrid::ScrollAboveSearchPanel()
{
    if (!FSearchFooter->Visible() || ClientHeight() <= DefaultRowHeight() + SearchPanelHeight())
        return;
    const int line = ClientHeight() - SearchPanelHeight();
    while (CellRect(0, RowCount() - 1).Bottom > line && Row() <= RowCount() - 1 && TopRow() < RowCount()) {
        const int top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top)
            break; // the grid cannot scroll further
    }
}

// ---------------------------------------------------------------------------
// Disjunct cell selection and selection counts

TGridCoord TExStringGrid::GetSelectedCell(int i) const
{
    if (i < 0 || i >= int(FSelectedCellKeys.size()))
        return { -1, -1 };
    return KeyCell(FSelectedCellKeys[std::size_t(i)]);
}

bool TExStringGrid::GetSelectedCells(int i, int j) const
{
    if (FMouseActions->DisjunctCellSelect())
        return FSelectedCellSet.count(CellKey(i, j)) != 0;
    const TGridRect s = Selection();
    return i >= std::min(s.Left, s.Right) && i <= std::max(s.Left, s.Right) && j >= std::min(s.Top, s.Bottom)
        && j <= std::max(s.Top, s.Bottom);
}

void TExStringGrid::SetSelectedCells(int i, int j, bool Value)
{
    const qint64 key = CellKey(i, j);
    const bool present = FSelectedCellSet.count(key) != 0;
    if (Value == present)
        return;
    if (Value) {
        FSelectedCellKeys.push_back(key);
        FSelectedCellSet.insert(key);
    } else {
        FSelectedCellKeys.erase(std::find(FSelectedCellKeys.begin(), FSelectedCellKeys.end(), key));
        FSelectedCellSet.erase(key);
    }
    RepaintCell(i, j);
}

int TExStringGrid::SelectedCellsCount()
{
    if (FMouseActions->DisjunctCellSelect())
        return int(FSelectedCellKeys.size());
    FSelectedCellKeys.clear();
    FSelectedCellSet.clear();
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    if (left == right && top == bottom) {
        FSelectedCellKeys.push_back(CellKey(Col(), Row()));
    } else {
        FSelectedCellKeys.reserve(std::size_t(right - left + 1) * std::size_t(bottom - top + 1));
        for (int c = left; c <= right; ++c)
            for (int r = top; r <= bottom; ++r)
                FSelectedCellKeys.push_back(CellKey(c, r));
    }
    FSelectedCellSet.insert(FSelectedCellKeys.begin(), FSelectedCellKeys.end());
    return int(FSelectedCellKeys.size());
}

void TExStringGrid::ClearSelectedCells()
{
    SetSelection({ FixedCols(), FixedRows(), FixedCols(), FixedRows() });
    FSelectedCellKeys.clear();
    FSelectedCellSet.clear();
    RepaintGrid();
}

int TExStringGrid::SelectedColCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return ColSelectCount();
    const TGridRect s = Selection();
    const int width = std::abs(s.Right - s.Left) + 1;
    // Merged areas live at real columns.
    if (IsMergedCell(RealColFromDisplay(s.Left), s.Top)) {
        const int extra = CellSpan(RealColFromDisplay(s.Left), s.Top).X;
        return s.Left + extra > s.Right ? extra + 1 : width;
    }
    if (IsMergedCell(RealColFromDisplay(s.Right), s.Top))
        return width + CellSpan(RealColFromDisplay(s.Right), s.Top).X;
    return width;
}

int TExStringGrid::SelectedRowCount() const
{
    if (FMouseActions->DisjunctRowSelect())
        return FRowSelect.Count(FixedRows(), RowCount() + NumHiddenRows());
    const TGridRect s = Selection();
    const int bottom = s.Bottom >= RowCount() - FFixedFooters ? RowCount() - FFixedFooters - 1 : s.Bottom;
    const int height = std::abs(bottom - s.Top) + 1;
    const int left = RealColFromDisplay(s.Left);
    if (IsMergedCell(left, s.Top)) {
        const int extra = CellSpan(left, s.Top).Y;
        return s.Top + extra > bottom ? extra + 1 : height;
    }
    if (IsMergedCell(left, bottom))
        return height + CellSpan(left, bottom).Y;
    return height;
}

int TExStringGrid::GetSelectedRow(int i) const
{
    if (i < 0)
        return -1;
    if (FMouseActions->DisjunctRowSelect()) {
        const std::vector<int>& rows = SelectedRowList();
        return i < int(rows.size()) ? rows[std::size_t(i)] : -1;
    }
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom);
    return top + i <= std::max(s.Top, s.Bottom) ? top + i : -1;
}

// ---------------------------------------------------------------------------
// Column order

void TExStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Each pass puts at least one column where it came from; entries that
    // name no column are passed over.
    const int n = ColCount();
    for (int pass = 0; pass < n; ++pass) {
        bool moved = false;
        for (int p = 0; p < std::min(n, FColumnOrder->Count()); ++p) {
            const int e = FColumnOrder->Integers(p);
            if (e >= 0 && e < p) {
                MoveColumn(p, e);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

int TExStringGrid::ColumnPosition(int ACol) const
{
    if (FColumnOrder->Count() == 0)
        return ACol;
    const int p = FColumnOrder->IndexOf(ACol);
    const int pos = p >= 0 ? p : ACol;
    return GroupColumn() != -1 && ACol >= GroupColumn() ? pos - 1 : pos;
}

int TExStringGrid::ColumnAtPosition(int ACol)
{
    if (TotalColCount() == 0)
        return ACol;
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    if (ACol < 0 || ACol >= FColumnOrder->Count())
        return ACol;
    const int e = FColumnOrder->Integers(ACol);
    return GroupColumn() != -1 && e >= GroupColumn() ? e + 1 : e;
}

int TExStringGrid::ColumnByHeader(const QString& AValue)
{
    // Row 0 as stored, also while it is hidden (a record may hold fewer
    // texts than there are columns now).
    const THiddenRow* hidden = HiddenRecord(0);
    for (int c = 0; c < TotalColCount(); ++c) {
        QString text;
        if (hidden)
            text = c < int(hidden->Cells.Texts.size()) ? hidden->Cells.Texts[std::size_t(c)] : QString();
        else
            text = Store().Text(c, 0);
        if (text == AValue)
            return c;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Visual style, scaling, fixed-cell editors

void TExStringGrid::ApplyVCLStyleColors()
{
    FUseVCLStyles = false;
    const TVisualStyle& style = PlatformInfo().VisualStyle;
    if (!style.IsCustom())
        return;
    FUseVCLStyles = true;
    SetColor(style.NormalCell.Fill);
    SetGridLineColor(style.NormalCell.Border);
    SetGridFixedLineColor(style.FixedCell.Border);
    SetOptions(Options() & ~TGridOptions(goFixedVertLine | goFixedHorzLine));
    if (style.NormalCell.Text != clNone)
        Font()->SetColor(style.NormalCell.Text);
    if (style.SelectedCell.Text != clNone)
        SetSelectionTextColor(style.SelectedCell.Text);
    if (style.FixedCell.Text != clNone)
        FFixedFont->SetColor(style.FixedCell.Text);
}

void TExStringGrid::HandleChangeScale(int M, int D)
{
    TBaseGrid::HandleChangeScale(M, D);
    if (IsDesigning() || M == D)
        return;
    FFixedFont->SetSize(MulDiv(FFixedFont->Size(), M, D));
    FActiveCellFont->SetSize(MulDiv(FActiveCellFont->Size(), M, D));
}

void TExStringGrid::FixedEditChange(TObject* Sender)
{
    (void)Sender;
    if (OnEditChange)
        OnEditChange(this, FFixedColEdit, FFixedRowEdit, FTransEdit ? FTransEdit->Text() : QString());
}

// ---------------------------------------------------------------------------
// Rotated text

void TExStringGrid::PlaceRotatedCellText(
    TRect& R, int Angle, const QString& Text, TAlignment HAlign, TVAlignment VAlign)
{
    const TSize ext = Canvas()->TextExtent(Text);
    R = TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    const double theta = Angle * std::numbers::pi / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    const int E = int(std::fabs(c * ext.cy));
    const int F = int(std::fabs(s * ext.cx));
    const int G = int(std::fabs(s * ext.cy));
    const int K = int(std::fabs(c * ext.cx));
    PlaceRotatedText(R, HAlign, VAlign, E, F, G, K, Angle);
}

void TExStringGrid::PlaceRotatedText(
    TRect& R, TAlignment HAlign, TVAlignment VAlign, int E, int F, int G, int K, int Angle)
{
    const int q = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle > 270 ? 4 : 3;
    const int W = R.Right - R.Left;
    const int H = R.Bottom - R.Top;
    // The text's origin by quadrant: left, right and centre columns, then
    // top, centre and bottom rows.
    const int left[4][3] = {
        { R.Left, R.Right - K - G, R.Left + (W - G - K) / 2 },
        { R.Left + K, R.Right - G, R.Right - (G + W - K) / 2 },
        { R.Left + G + K, R.Right, R.Right - (W - G - K) / 2 },
        { R.Left + G, R.Right - K, R.Left + (G + W - K) / 2 },
    };
    const int top[4][3] = {
        { R.Top + F, R.Top + F - (E + F - H) / 2, R.Bottom - E },
        { R.Top + E + F, R.Top + E + F - (E + F - H) / 2, R.Bottom },
        { R.Top + E, R.Top + E - (E + F - H) / 2, R.Bottom - F },
        { R.Top, R.Top - (E + F - H) / 2, R.Bottom - E - F },
    };
    switch (HAlign) {
    case taLeftJustify:
        R.Left = left[q - 1][0];
        break;
    case taRightJustify:
        R.Left = left[q - 1][1];
        break;
    case taCenter:
        R.Left = left[q - 1][2];
        break;
    default:
        break;
    }
    switch (VAlign) {
    case TVAlignment::vtaTop:
        R.Top = top[q - 1][0];
        break;
    case TVAlignment::vtaCenter:
        R.Top = top[q - 1][1];
        break;
    case TVAlignment::vtaBottom:
        R.Top = top[q - 1][2];
        break;
    default:
        break;
    }
}
