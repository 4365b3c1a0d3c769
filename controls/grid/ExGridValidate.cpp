// How an edit ends: the grid's key press (Esc, Enter, incremental search),
// the advance to the next cell, and the validation of an edited value.
#include "controls/base/ExGridUndoRedo.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/esgcheck.h"
#include "platform/controls/BalloonTip.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"

#include <algorithm>

namespace {

// Sets a flag for a scope and puts the old value back at its end, also when
// an exception passes.
class TFlagScope {
public:
    TFlagScope(bool& Flag, bool Value)
        : FFlag(Flag)
        , FSaved(Flag)
    {
        Flag = Value;
    }
    ~TFlagScope() { FFlag = FSaved; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

// The text kinds keep their editor shown after an advance onto a cell control.
bool IsTextKind(TEditorType Kind)
{
    switch (Kind) {
    case TEditorType::edNormal:
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
    case TEditorType::edFloat:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edPassword:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase:
    case TEditorType::edPositiveFloat:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Advance after an edit

bool TExStringGrid::AdvanceStep(int& ACol, int& ARow, bool Forward, bool Insert, bool& Inserted, bool& Stop)
{
    const int startCol = ACol, startRow = ARow;
    const int firstCol = FixedCols() == 0 && HasNodes() ? 1 : FixedCols();
    int hiddenRight = 0;
    for (int c = std::max(0, AllColCount() - FixedRightCols()); c < AllColCount(); ++c)
        hiddenRight += IsHiddenColumn(c) ? 1 : 0;
    const int lastCol = ColCount() - 1 - (FixedRightCols() - hiddenRight);
    const int rightEdge = ColCount() - 1 - FixedRightCols();
    const int lastRow = RowCount() - 1 - FixedFooters();
    const bool loop = FNavigation->AdvanceOnEnterLoop;
    const TAdvanceDirection dir = FNavigation->AdvanceDirection();
    Inserted = false;
    Stop = false;

    if (Forward) {
        const TPoint span = CellSpan(RealColIndex(ACol), ARow);
        if (dir == TAdvanceDirection::adLeftRight || dir == TAdvanceDirection::adLeftRightInRow) {
            if (ACol + span.X < lastCol) {
                ACol += span.X + 1;
            } else if (dir == TAdvanceDirection::adLeftRightInRow) {
                if (loop)
                    ACol = firstCol;
            } else if (ARow != lastRow) {
                ++ARow;
                ACol = firstCol;
            } else if (Insert) {
                bool allow = true;
                DoCanAddRow(allow);
                ACol = firstCol;
                if (allow) {
                    AddRow();
                    ++ARow;
                    Inserted = true;
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
                    bool any = false;
                    for (int c = FixedCols(); c < ColCount() && !any; ++c) {
                        bool canEdit = true;
                        CanEditCell(RealColIndex(c), ARow, canEdit);
                        any = canEdit;
                    }
                    Stop = !any;
                }
            } else if (loop) {
                ARow = FixedRows();
                ACol = firstCol;
            }
        } else {
            if (ARow != lastRow) {
                ++ARow;
            } else if (dir == TAdvanceDirection::adTopBottomInCol) {
                ARow = FixedRows();
            } else {
                if (ACol != rightEdge) {
                    ARow = FixedRows();
                    ++ACol;
                    if (ACol >= ColCount())
                        ACol = firstCol;
                } else if (Insert) {
                    SetColCount(ColCount() + 1);
                    ACol += span.X + 1;
                    ARow = FixedRows();
                    Inserted = true;
                    if (OnAutoInsertCol)
                        OnAutoInsertCol(this, ColCount() - FixedRightCols() - 1);
                } else {
                    ARow = FixedRows();
                    ACol = firstCol;
                }
                RepaintGrid();
            }
        }
    } else if (dir == TAdvanceDirection::adLeftRight) {
        if (ACol > firstCol) {
            --ACol;
        } else {
            ACol = rightEdge;
            ARow = ARow > FixedRows() ? ARow - 1 : lastRow;
        }
    } else if (dir == TAdvanceDirection::adTopBottom) {
        if (ARow > FixedRows()) {
            --ARow;
        } else {
            ARow = lastRow;
            ACol = ACol > firstCol ? ACol - 1 : rightEdge;
        }
    }
    // A target outside the cells (no normal rows or columns) is no move.
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) {
        ACol = startCol;
        ARow = startRow;
    }
    return ACol != startCol || ARow != startRow;
}

void TExStringGrid::AdvanceToNextCell(
    int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Internal, bool ShowEditor)
{
    if (!FNavigation->AdvanceOnEnter && !Force)
        return;
    if (FMouseActions->RangeSelectAndEdit && !Options().testFlag(goEditing))
        SetOptions(Options() | goEditing);
    if (!Internal) {
        FAECol = ACol;
        FAERow = ARow;
    }
    const int C0 = ACol, R0 = ARow;
    FStartEditChar = 0;

    const auto canEditAt = [this](int c, int r) {
        bool canEdit = true;
        CanEditCell(RealColIndex(c), r, canEdit);
        return canEdit;
    };
    const auto moveTo = [this](int c, int r) {
        if (c != Col() || r != Row())
            TCustomGrid::FocusCell(c, r, true);
    };

    bool inserted = false, stop = false;
    AdvanceStep(ACol, ARow, Forward, FNavigation->AdvanceInsert(), inserted, stop);
    if (stop)
        return;
    bool editable = canEditAt(ACol, ARow);
    // Read-only cells are skipped one after the other, never inserting, and
    // a full turn without an editable cell leaves the cursor where it was.
    if (!editable && FNavigation->AdvanceSkipReadOnlyCells) {
        const qint64 limit = qint64(ColCount()) * RowCount();
        qint64 steps = 0;
        while (!editable) {
            if (!AdvanceStep(ACol, ARow, Forward, false, inserted, stop) || (ACol == C0 && ARow == R0)
                || ++steps > limit)
                return;
            editable = canEditAt(ACol, ARow);
        }
    }

    if (editable) {
        bool allow = true;
        if (OnAutoAdvance)
            OnAutoAdvance(this, FAERow, FAECol, ARow, ACol, allow);
        ACol = std::clamp(ACol, 0, ColCount() - 1);
        ARow = std::clamp(ARow, 0, RowCount() - 1);
        if (allow) {
            if (OnCellChanging)
                OnCellChanging(this, FAERow, FAECol, ARow, ACol, allow);
            TFlagScope disable(FDisableChange, true);
            if (allow)
                moveTo(ACol, ARow);
            else
                HandleSelectCell(C0, R0);
        } else {
            HandleSelectCell(C0, R0);
        }
    } else {
        TFlagScope disable(FDisableChange, true);
        moveTo(ACol, ARow);
    }

    if (!ShowEditor)
        return;
    const bool control = HasCellControl(RealColIndex(ACol), ARow);
    if ((AutoEdit && FNavigation->AdvanceAutoEdit) || control) {
        if (!IsEditable(ACol, ARow))
            return;
        ShowInplaceEdit();
        if (control) {
            {
                TFlagScope disable(FDisableChange, true);
                moveTo(C0, R0);
                moveTo(ACol, ARow);
                if (!HasCellControl(RealColIndex(C0), R0)) {
                    const TRect r = CellRect(ACol, ARow);
                    const LPARAM at = MakeLParam(r.Left + 2, r.Top + 2);
                    Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
                    Perform(WM_LBUTTONUP, 0, at);
                    if (FNavigation->AdvanceDirection() != TAdvanceDirection::adLeftRight)
                        HideInplaceEdit();
                }
            }
            bool unused = true;
            if (OnCellChanging)
                OnCellChanging(this, R0, C0, Row(), Col(), unused);
            TEditorType kind = DefaultEditor();
            GetEditorType(RealColIndex(C0), R0, kind);
            if (!IsTextKind(kind))
                HideInplaceEdit();
        }
    }
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}

// ---------------------------------------------------------------------------
// The remembered value

void TExStringGrid::Click()
{
    TBaseGrid::Click();
    RememberCellValue(Col(), Row());
}

void TExStringGrid::RememberCellValue(int ACol, int ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const int rc = RealColIndex(ACol);
    const bool inside = rc >= 0 && ARow >= 0 && ARow < RowCount() && rc < ColCount() + NumHiddenColumns();
    FOldCellText = inside ? GetGridCell(rc, ARow) : QString();
    FOldCellTextWide = inside ? GetWideCells(rc, ARow) : QString();
    FOldModifiedValue = FModified;
}

// ---------------------------------------------------------------------------
// Validation

void TExStringGrid::ReopenRefusedEdit(int ACol, int ARow, const QString& Value, bool Wide)
{
    HideInplaceEdit();
    if (Wide)
        SetWideCells(ACol, ARow, Value);
    else
        SetCellEx(ACol, ARow, Value);
    if (FOldCol >= 0 && FOldCol < ColCount() && ARow < RowCount() && (Col() != FOldCol || Row() != ARow))
        TCustomGrid::FocusCell(FOldCol, ARow, true);
    FValidating = false;
    FEditing = true;
    ShowInplaceEdit();
}

bool TExStringGrid::ValidateCell(const QString& NewValue)
{
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int col = RealColIndex(FOldCol);
    const int row = FOldRow;
    FNewCellText = NewValue;
    const bool rowMark = RowModified(row);
    try {
        if (NewValue != FOldCellText || FAlwaysValidate) {
            const bool changed = NewValue != FOldCellText;
            QString value = NewValue;
            {
                // A key pressed inside the validation must not advance.
                TFlagScope noAdvance(FNavigation->AdvanceOnEnter, false);
                if (FCellChecker && FCellChecker->AutoCorrect())
                    value = FCellChecker->Correct(col, row, value);
                if (OnCellValidate)
                    OnCellValidate(this, col, row, value, valid);
                if (value != FOldCellText) {
                    FModified = true;
                    if (FixedCols() > 0) {
                        SetRowModified(row, true);
                        if (FShowModified->Enabled)
                            RepaintCell(0, row);
                    }
                }
                if (valid)
                    RecalcFooterColumn(col, row);
                if (FCellChecker && FCellChecker->AutoMarkError())
                    value = FCellChecker->MarkError(col, row, value);
                if (valid && UndoRedo())
                    UndoRedo()->RegisterChange(col, row, FOldCellText, value);
                if (valid && changed)
                    DoCellsChanged(TRect(col, row, col, row));
            }
            FNewCellText = value;
            if (valid) {
                SetCellEx(col, row, value);
                const TPoint base = BaseCell(col, row);
                if (base.X != col || base.Y != row)
                    SetCellEx(base.X, base.Y, value);
            } else {
                FLastValidation = false;
                // A refused value leaves the content as it was: the flag and
                // the row's mark go back.
                FModified = FOldModifiedValue;
                if (FixedCols() > 0 && RowModified(row) != rowMark)
                    SetRowModified(row, rowMark);
                if (value != NewValue) {
                    ReopenRefusedEdit(col, row, value, false);
                } else {
                    ReopenRefusedEdit(col, row, FOldCellText, false);
                    if (Col() != FOldCol)
                        InvalidateEditor();
                }
                FModified = FOldModifiedValue;
                if (!FInvalidEntryTitle.isEmpty() || !FInvalidEntryText.isEmpty())
                    ShowInvalidEntryBalloon();
            }
            FOldCellText = GetGridCell(col, row);
        }
    } catch (...) {
        // A raising handler: the cell keeps its old text and the edit is over.
        if (col >= 0 && row >= 0 && row < RowCount() && GetGridCell(col, row) != FOldCellText)
            SetCellEx(col, row, FOldCellText);
        FEditing = false;
        RememberCellValue(Col(), Row());
        FValidating = false;
        throw;
    }
    RememberCellValue(Col(), Row());
    FValidating = false;
    if (valid)
        HideFocusWindow();
    return valid;
}

bool TExStringGrid::ValidateCellWide(const QString& NewValue)
{
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int col = RealColIndex(FOldCol);
    const int row = FOldRow;
    const bool rowMark = RowModified(row);
    try {
        if (NewValue != FOldCellTextWide || FAlwaysValidate) {
            QString value = NewValue;
            RecalcFooterColumn(col, row);
            if (OnCellValidateWide)
                OnCellValidateWide(this, col, row, value, valid);
            if (NewValue != FOldCellTextWide) {
                FModified = true;
                if (FShowModified->Enabled && FixedCols() > 0) {
                    SetRowModified(row, true);
                    RepaintCell(0, row);
                }
            }
            if (valid) {
                SetWideCells(col, row, value);
            } else {
                FModified = FOldModifiedValue;
                if (FixedCols() > 0 && RowModified(row) != rowMark)
                    SetRowModified(row, rowMark);
                ReopenRefusedEdit(col, row, value != NewValue ? value : FOldCellTextWide, true);
                if (value == NewValue && Col() != FOldCol)
                    InvalidateEditor();
                FModified = FOldModifiedValue;
            }
            FOldCellTextWide = GetWideCells(col, row);
        }
    } catch (...) {
        if (col >= 0 && row >= 0 && row < RowCount() && GetWideCells(col, row) != FOldCellTextWide)
            SetWideCells(col, row, FOldCellTextWide);
        FEditing = false;
        RememberCellValue(Col(), Row());
        FValidating = false;
        throw;
    }
    RememberCellValue(Col(), Row());
    FValidating = false;
    return valid;
}

// ---------------------------------------------------------------------------
// The invalid-entry balloon

void TExStringGrid::ShowInvalidEntryBalloon()
{
    // The default editor when it holds the edit, else the special editor the
    // grid knows of.
    TWinControl* at = nullptr;
    if (InplaceEditor() && EditorMode() && InplaceEditor()->Visible())
        at = InplaceEditor();
    else if (FInplaceCombo && FInplaceCombo->Visible())
        at = FInplaceCombo;
    if (!at || !at->HandleAllocated())
        return;
    if (!FInvalidEntryBalloon) {
        FInvalidEntryBalloon = new TBalloonTip(this);
        FInvalidEntryBalloon->SetParent(this);
    }
    FInvalidEntryBalloon->SetTitle(FInvalidEntryTitle, int(FInvalidEntryIcon));
    const TRect r = at->ClientRect();
    FInvalidEntryBalloon->ShowText(at, at->ClientToScreen(TPoint(r.Left + 10, r.Bottom)), FInvalidEntryText);
}
