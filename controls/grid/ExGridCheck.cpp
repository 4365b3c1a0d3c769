// Check boxes of every kind and radio buttons in cells: adding, states,
// clicks with their group and undo handling, and the hit test.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExGridUndoRedo.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/Graphics.h"

namespace {

bool IsCheckKind(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox
        || t == ctTriStateCheckBox;
}

bool IsTextKind(TCellType t)
{
    return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

} // namespace

// ---------------------------------------------------------------------------
// Adding and removing

void TExStringGrid::RaiseIfOutside(int ACol, int ARow)
{
    // Negative indexes would write the store outside the grid as well. Cells
    // are stored by displayed row, so rows beyond them have no place either,
    // hidden rows or not.
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount())
        throw EExGridError(QStringLiteral("Invalid cell"));
}

void TExStringGrid::PlaceInCell(TCellHAlign& hal, TCellVAlign& val) const
{
    hal = haBeforeText;
    switch (VAlignment()) {
    case TVAlignment::vtaCenter:
        val = vaCenter;
        break;
    case TVAlignment::vtaBottom:
        val = vaBottom;
        break;
    default:
        val = vaTop;
    }
}

int TExStringGrid::CheckColumnStart() const
{
    return FMouseActions && FMouseActions->CheckAllCheck ? 0 : FixedRows();
}

void TExStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    RaiseIfOutside(ACol, ARow);
    TCellHAlign hal;
    TCellVAlign val;
    PlaceInCell(hal, val);
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, Data, true, hal, val);
    if (!Data)
        return;
    const QString s = GetCellEx(ACol, ARow);
    if (s != CheckTrue() && s != CheckFalse())
        SetCellEx(ACol, ARow, State ? CheckTrue() : CheckFalse());
}

void TExStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    RaiseIfOutside(ACol, ARow);
    TCellHAlign hal;
    TCellVAlign val;
    PlaceInCell(hal, val);
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, true, hal, val);
}

void TExStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    for (int r = CheckColumnStart(); r < RowCount(); ++r) {
        if (IsSummary(r))
            continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TExStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State)
{
    for (int r = CheckColumnStart(); r < RowCount(); ++r)
        AddCheckBox(ACol, r, State);
}

void TExStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    const TCellType t = GetCellType(ACol, ARow);
    if (t != ctCheckBox && t != ctDataCheckBox && t != ctTriStateCheckBox)
        return;
    if (const TCellGraphic* g = OwnCellGraphic(ACol, ARow); g && g->CellAngle() == 1)
        RemoveBalloon(ACol, ARow);
    RemoveCellGraphic(ACol, ARow);
}

void TExStringGrid::RemoveCheckBoxColumn(int ACol)
{
    for (int r = CheckColumnStart(); r < RowCount(); ++r)
        if (HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

void TExStringGrid::AddRadioButton(int ACol, int ARow, bool State)
{
    RaiseIfOutside(ACol, ARow);
    TCellHAlign hal;
    TCellVAlign val;
    PlaceInCell(hal, val);
    CreateCellGraphic(ACol, ARow)->SetRadioButton(State, true, hal, val);
}

void TExStringGrid::RemoveRadioButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRadioButton);
}

void TExStringGrid::AddRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        AddRadioButton(ACol, r, false);
}

void TExStringGrid::RemoveRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(ACol, r))
            RemoveRadioButton(ACol, r);
}

// ---------------------------------------------------------------------------
// Queries

bool TExStringGrid::HasCheckBox(int ACol, int ARow)
{
    return HasCellGraphicOfType(
        ACol, ARow, { ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox });
}

bool TExStringGrid::HasDataCheckBox(int ACol, int ARow)
{
    return HasCellGraphicOfType(ACol, ARow, { ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox });
}

bool TExStringGrid::IsDataGraphicCell(int ACol, int ARow)
{
    return HasCellGraphicOfType(ACol, ARow, { ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox });
}

bool TExStringGrid::HasCellControl(int ACol, int ARow)
{
    return HasCellGraphicOfType(ACol, ARow,
        { ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctVirtCheckBox, ctRowCheckBox, ctRadioButton,
            ctTriStateCheckBox });
}

bool TExStringGrid::HasRadioButton(int ACol, int ARow)
{
    return HasCellGraphicOfType(ACol, ARow, { ctRadioButton });
}

bool TExStringGrid::IsRadioButtonChecked(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctRadioButton && g->CellBoolean();
}

int TExStringGrid::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

bool TExStringGrid::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TExStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    const TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !(IsCheckKind(g->CellType()) || g->CellType() == ctRadioButton))
        return false;
    if (!FMouseActions || !FMouseActions->PreciseCheckBoxCheck)
        return true;
    const TRect r = CellRect(DisplColIndex(ACol), ARow);
    const int size = FControlLook ? FControlLook->CheckSize() : 0;
    int top = 0;
    switch (g->CellVAlign()) {
    case vaTop:
        top = r.Top + 2;
        break;
    case vaBottom:
        top = r.Bottom - size - 2;
        break;
    case vaCenter:
        top = r.Top + (r.Bottom - r.Top - size) / 2;
        break;
    default:
        break;
    }
    int left = 0;
    switch (TAlignment(ResolveCellAlignment(ACol, ARow) & 0xFF)) {
    case taRightJustify: {
        left = r.Right - size - 2;
        const QString s = GetCellEx(ACol, ARow);
        if (!s.isEmpty()) {
            // Measured in the font the cell's text is painted in.
            TFont font;
            TBrush brush;
            TGridDrawState state;
            GetFontProperties(DisplColIndex(ACol), ACol, ARow, state, &font, &brush, false);
            Canvas()->Font()->Assign(&font);
            left -= Canvas()->TextWidth(s);
        }
        break;
    }
    case taCenter:
        left = r.Left + (r.Right - r.Left - size) / 2;
        break;
    default:
        left = r.Left + 2;
    }
    return XPos >= left && XPos < left + size && YPos >= top && YPos < top + size;
}

// ---------------------------------------------------------------------------
// States

TCellGraphic* TExStringGrid::CheckRecord(int ACol, int ARow, bool& ViaRealRow)
{
    ViaRealRow = false;
    if (NumHiddenRows() > 0 && ACol == 0 && ARow > 0 && FMouseActions && FMouseActions->HotmailRowSelect()
        && FCellGraphic) {
        // The row check box stands for the real row's selection, also while
        // that row is hidden.
        ViaRealRow = true;
        return RowCheckRecord(RealRowSelected(ARow), 0);
    }
    if (NumHiddenRows() > 0 && ACol >= 0 && ARow >= 0) {
        const auto* props = dynamic_cast<const TCellProperties*>(RealRowCellObject(ACol, ARow));
        if (auto* g = dynamic_cast<TCellGraphic*>(GraphicObjectOf(props))) {
            ViaRealRow = true;
            return g;
        }
    }
    return GetCellGraphic(ACol, ARow);
}

bool TExStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State)
{
    bool real = false;
    const TCellGraphic* g = CheckRecord(ACol, ARow, real);
    if (!g)
        return false;
    const bool hidden = NumHiddenRows() > 0;
    switch (g->CellType()) {
    case ctCheckBox:
        // Without the real row's record a plain box is not read while rows
        // are hidden.
        if (hidden && !real)
            return false;
        State = g->CellBoolean();
        return true;
    case ctTriStateCheckBox:
        if (!real)
            return false;
        State = GetCellsEx(ACol, ARow) == GetCheckTrue(ACol, ARow);
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        State = (real ? GetCellsEx(ACol, ARow) : GetCellEx(ACol, ARow)) == GetCheckTrue(ACol, ARow);
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        State = RealRowSelected(ARow);
        return true;
    default:
        return false;
    }
}

bool TExStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State)
{
    bool real = false;
    const TCellGraphic* g = CheckRecord(ACol, ARow, real);
    if (!g)
        return false;
    const bool hidden = NumHiddenRows() > 0;
    switch (g->CellType()) {
    case ctTriStateCheckBox:
        State = g->CellCheckBoxState();
        return true;
    case ctCheckBox:
        if (hidden && !real)
            return false;
        State = BoolToCheckBoxState(g->CellBoolean());
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        State
            = BoolToCheckBoxState((real ? GetCellsEx(ACol, ARow) : GetCellEx(ACol, ARow)) == GetCheckTrue(ACol, ARow));
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        State = BoolToCheckBoxState(RealRowSelected(ARow));
        return true;
    default:
        return false;
    }
}

bool TExStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    bool real = false;
    TCellGraphic* g = CheckRecord(ACol, ARow, real);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        g->SetCellBoolean(State);
        RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const QString s = State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
        // A record found by real row has its text at that real row.
        if (real)
            SetAllCells(ACol, ARow, s);
        else
            SetCellEx(ACol, ARow, s);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        SetRealRowSelected(ARow, State);
        return true;
    default:
        return false;
    }
}

bool TExStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    bool real = false;
    TCellGraphic* g = CheckRecord(ACol, ARow, real);
    if (!g || g->CellType() != ctTriStateCheckBox)
        return false;
    g->SetCellCheckBoxState(State);
    RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
    return true;
}

bool TExStringGrid::SetCheckBoxStateAndNotify(int ACol, int ARow, bool Value)
{
    bool real = false;
    TCellGraphic* g = CheckRecord(ACol, NumHiddenRows() > 0 ? RealRowIndex(ARow) : ARow, real);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        if (Value != g->CellBoolean()) {
            g->SetCellBoolean(Value);
            DoCheckBoxChange(ACol, ARow, Value);
            RepaintCell(DisplColIndex(ACol), ARow);
        }
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const bool old = GetCheckTrue(ACol, ARow) == GetCellEx(ACol, ARow);
        SetCellEx(ACol, ARow, Value ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
        if (old != Value)
            DoCheckBoxChange(ACol, ARow, Value);
        return true;
    }
    case ctRowCheckBox: {
        if (ACol != 0)
            return false;
        // ARow is displayed here, as CheckAll walks the rows.
        const int index = RowSelectIndex(ARow);
        if (Value != RowSelectFlag(index)) {
            SetRowSelect(index, Value);
            DoCheckBoxChange(ACol, ARow, Value);
        }
        return true;
    }
    default:
        return false;
    }
}

void TExStringGrid::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCheckBoxStateAndNotify(ACol, r, true);
    if (NumHiddenColumns() > 0)
        RepaintCol(DisplColIndex(ACol));
}

void TExStringGrid::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCheckBoxStateAndNotify(ACol, r, false);
}

// ---------------------------------------------------------------------------
// Clicks

bool TExStringGrid::ClickCheckBoxCell(int ACol, int ARow, bool CheckEdit)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !IsCheckKind(g->CellType()))
        return false;
    const bool group = FGrouping && FGrouping->AutoCheckGroup;
    const bool isNode = group && IsNode(ARow);
    if (CheckEdit && !(FControlLook && FControlLook->CheckAlwaysActive)) {
        bool allowed = true;
        CanEditCell(ACol, ARow, allowed);
        if (!allowed)
            return false;
    }
    bool s = false;
    QString oldText, newText;
    switch (g->CellType()) {
    case ctCheckBox:
        g->SetCellBoolean(!g->CellBoolean());
        s = g->CellBoolean();
        break;
    case ctTriStateCheckBox:
        if (isNode) {
            g->SetCellCheckBoxState(g->CellCheckBoxState() == cbChecked ? cbUnchecked : cbChecked);
            s = g->CellCheckBoxState() == cbChecked;
        } else {
            switch (g->CellCheckBoxState()) {
            case cbUnchecked:
                g->SetCellCheckBoxState(cbGrayed);
                break;
            case cbChecked:
                g->SetCellCheckBoxState(cbUnchecked);
                break;
            case cbGrayed:
                g->SetCellCheckBoxState(cbChecked);
                break;
            }
        }
        break;
    default: {
        oldText = GetCellEx(ACol, ARow);
        s = oldText != GetCheckTrue(ACol, ARow);
        newText = s ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
        SetCellEx(ACol, ARow, newText);
        break;
    }
    }
    const bool textKind = IsTextKind(g->CellType());
    const bool checkedNow
        = g->CellType() == ctTriStateCheckBox ? g->CellCheckBoxState() == cbChecked : g->CellBoolean();
    RepaintCell(DisplColIndex(ACol), ARow);
    DoCheckBoxChange(ACol, ARow, s);
    if (group)
        UpdateCheckGroup(ACol, ARow, s);
    if (TExGridUndoRedo* undo = UndoRedo()) {
        // The entry holds the change made: the texts of the text kinds, the
        // new state of the others.
        if (textKind)
            undo->RegisterChange(ACol, ARow, oldText, newText);
        else if (checkedNow)
            undo->RegisterChange(ACol, ARow, GetCheckFalse(ACol, ARow), GetCheckTrue(ACol, ARow));
        else
            undo->RegisterChange(ACol, ARow, GetCheckTrue(ACol, ARow), GetCheckFalse(ACol, ARow));
    }
    return true;
}

void TExStringGrid::UpdateCheckGroup(int ACol, int ARow, bool State)
{
    if (IsNode(ARow)) {
        const int span = GetNodeSpan(ARow);
        // A contracted node's children are hidden and follow it by real index.
        const bool contracted = GetNodeState(ARow);
        for (int e = 1; e < span; ++e)
            SetCheckBoxState(ACol, contracted ? RealRowIndex(ARow) + e : RealRowIndex(ARow + e), State);
        return;
    }
    const int parent = GetParentRow(ARow);
    if (parent < 0)
        return;
    const int span = GetNodeSpan(parent);
    bool first = false;
    GetCheckBoxState(ACol, RealRowIndex(parent + 1), first);
    bool same = true;
    for (int e = 1; e < span && same; ++e) {
        bool state = false;
        GetCheckBoxState(ACol, RealRowIndex(parent + e), state);
        same = state == first;
    }
    SetCheckBoxState(ACol, RealRowIndex(parent), !same ? cbGrayed : first ? cbChecked : cbUnchecked);
}

bool TExStringGrid::ClickRadioButtonCell(int ACol, int ARow, bool CheckEdit)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (CheckEdit && !(FControlLook && FControlLook->CheckAlwaysActive)) {
        bool allowed = true;
        CanEditCell(ACol, ARow, allowed);
        if (!allowed)
            return false;
    }
    if (g->CellBoolean())
        return true;
    g->SetCellBoolean(true);
    const int dc = DisplColIndex(ACol);
    RepaintCell(dc, ARow);
    // The buttons of one column form one group.
    for (int r = 0; r < RowCount(); ++r) {
        if (r == ARow)
            continue;
        TCellGraphic* o = GetCellGraphic(ACol, r);
        if (o && o->CellType() == ctRadioButton && o->CellBoolean()) {
            o->SetCellBoolean(false);
            RepaintCell(dc, r);
        }
    }
    return true;
}

bool TExStringGrid::SetRadioButtonState(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
    return true;
}

void TExStringGrid::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

// ---------------------------------------------------------------------------
// Rows by their boxes

void TExStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked)
{
    // While rows are hidden the state operations take real rows: each
    // displayed row is asked by its own real index.
    const bool hidden = NumHiddenRows() > 0;
    std::vector<int> rows;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsChecked(CheckBoxColumn, hidden ? RealRowIndex(r) : r) == RemoveChecked)
            rows.push_back(r);
    if (rows.empty())
        return;
    BeginUpdate();
    RemoveDisplayedRows(rows);
    DoCellsChanged(Rect(0, rows.front(), ColCount() - 1, RowCount()));
    EndUpdate();
}
