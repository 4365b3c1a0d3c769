// Which editor a cell gets, and a special editor loaded with the cell's value
// and placed over it.
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Graphics.h"

bool TExStringGrid::IsDefaultTextKind(TEditorType Kind)
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
    case TEditorType::edValidChars:
    case TEditorType::edPositiveFloat:
        return true;
    default:
        return false;
    }
}

bool TExStringGrid::EditorWantsTab() const
{
    return Options().testFlag(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

bool TExStringGrid::CanEditShow()
{
    return HandleCanEditShow();
}

bool TExStringGrid::HandleCanEditShow()
{
    // A validation handler that moves the focus cannot start a second edit.
    if (FValidating)
        return false;
    bool r = TBaseGrid::CanEditShow();
    if (IsDesigning())
        return r;
    // The toolkit asks again on every move and scroll: an open special
    // editor keeps the cell, the text editor never shows over it.
    if (FEditMode && FSpecialEditor)
        return false;
    const int rc = RealColIndex(Col());
    const TPoint base = BaseCell(rc, Row());
    if (r && !FEditMode && HasCellControl(base.X, base.Y))
        return false;
    if (r && !FEditMode) {
        FNoEditChange = true;
        FCellCache = Cells(rc, Row());
        TEditorType kind = DefaultEditor();
        GetEditorType(base.X, base.Y, kind);
        EditControl = kind;
        if (kind == TEditorType::edNone)
            return false;
        FEditMode = true;
        if (!IsDefaultTextKind(kind)) {
            const int baseCol = DisplColIndex(base.X);
            PrepareCellEditor(baseCol >= 0 ? baseCol : Col(), base.Y);
            FEntered = true;
            if (FFocusHelper->Enabled)
                ShowFocusWindow(CellRect(Col(), Row()));
            return false;
        }
    }
    if (r) {
        FEntered = true;
        FEditing = true;
        if (FFocusHelper->Enabled)
            ShowFocusWindow(CellRect(Col(), Row()));
    }
    return r;
}

TRect TExStringGrid::CellEditorRect(int ACol, int ARow)
{
    TRect R = CellRect(ACol, ARow);
    if (UseRightToLeftAlignment())
        ++R.Left;
    R.Right = R.Left + std::max(0, R.Right - R.Left - 1);
    R.Bottom = R.Top + std::max(0, R.Bottom - R.Top - 1);
    return R;
}

TAlignment TExStringGrid::EditorVisuals(int ACol, int ARow)
{
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = WordWrap();
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Font()->Assign(Font());
    GetVisualProperties(
        ACol, ARow, state, false, false, true, c->Brush(), colorTo, mirror, mirrorTo, c->Font(), ha, va, ww, gd);
    return ha;
}

void TExStringGrid::PostStartEditChar(TWinControl* AControl)
{
    if (AControl && FStartEditChar != 0)
        PostCharToControl(AControl, FStartEditChar);
}

void TExStringGrid::PrepareCellEditor(int ACol, int ARow)
{
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    const TRect R = CellEditorRect(ACol, ARow);
    const int RC = RealColIndex(ACol);
    EditorVisuals(ACol, ARow);
    const TColor editorColor = Canvas()->Brush()->Color();
    EditCtrl = nullptr;
    if (EditControl != TEditorType::edCustom)
        FLastValidation = true;

    // Shows, colours and focuses the prepared control and hands it the
    // character that opened the edit.
    const auto finish = [&](TWinControl* ctrl) {
        ctrl->SetVisible(true);
        ctrl->SetEnabled(true);
        ctrl->SetColor(editorColor);
        if (ctrl->CanFocus())
            ctrl->SetFocus();
        PostStartEditChar(ctrl);
        EditCtrl = ctrl;
    };

    try {
        switch (EditControl) {
        case TEditorType::edSpinEdit:
        case TEditorType::edFloatSpinEdit:
        case TEditorType::edTimeSpinEdit:
        case TEditorType::edDateSpinEdit:
            FEditMode = true;
            PrepareSpinCellEditor(ACol, ARow);
            break;
        case TEditorType::edComboEdit:
        case TEditorType::edComboList:
            FEditMode = true;
            PrepareComboCellEditor(ACol, ARow);
            break;
        case TEditorType::edCheckBox:
            FEditMode = true;
            PrepareCheckCellEditor(ACol, ARow);
            break;
        case TEditorType::edCustom:
            if (FEditLink) {
                FEditMode = true;
                TEditLink* link = FEditLink;
                link->Prepare(this, TPoint(RC, ARow));
                if (link->EditStyle == TEditStyle::esPopup) {
                    const TPoint tl = ClientToScreen(TPoint(R.Left, R.Top));
                    const TPoint br = ClientToScreen(TPoint(R.Right + 1, R.Bottom + 1));
                    link->CreateEditor(link->ShowPopupForm(TRect(tl.X, tl.Y, br.X, br.Y)));
                    link->SetRect(TRect(0, 0, link->PopupWidth, link->PopupHeight));
                } else {
                    link->CreateEditor(this);
                    link->SetRect(TRect(R.Left, R.Top, R.Right + 1, R.Bottom + 1));
                }
                link->SetVisible(true);
                link->SetCellProps(editorColor, Canvas()->Font());
                link->SetProperties();
                DoGetEditorProp(RC, ARow, link);
                link->SetEditorValue(HandleGetEditText(ACol, ARow));
                link->SetFocus(true);
                FEditActive = true;
                if (TWinControl* c = link->GetEditControl()) {
                    PostStartEditChar(c);
                    EditCtrl = c;
                }
            }
            break;
        case TEditorType::edRichEdit: {
            FEditMode = true;
            TExRichEdit* rich = InplaceRichEdit();
            rich->ReCreate();
            rich->SetParent(this);
            rich->SetBorderStyle(bsNone);
            rich->SetHideSelection(false);
            rich->SetBounds(R.Left, R.Top, R.Width(), R.Height());
            DoGetEditorProp(RC, ARow, nullptr);
            rich->MarkLocked();
            CellToRich(RC, ARow, rich);
            if (FNavigation->EditSelectAll)
                rich->SelectAll();
            rich->MarkUnlocked();
            finish(rich);
            break;
        }
        case TEditorType::edDataCheckBox:
            // No check box in the cell: the edit state without a control,
            // ended by the next store.
            FEditMode = true;
            break;
        default:
            // The kinds whose editors are not part of this grid yet enter
            // the edit state without a control, as a kind without its
            // platform control does.
            FEditMode = true;
            break;
        }
    } catch (...) {
        FStartEditChar = 0;
        throw;
    }
    FStartEditChar = 0;
}

void TExStringGrid::RestoreCellCache()
{
    const int rc = RealColIndex(Col());
    if (rc < 0 || Row() < 0 || Row() >= RowCount())
        return;
    SetCellEx(rc, Row(), FCellCache);
    // The display cell shows the restored text at once.
    const QString shown = Cells(rc, Row());
    SetCellEx(rc, Row(), shown);
}

TRect TExStringGrid::EditorRect()
{
    const TRect R = CellRect(Col(), Row());
    if (R.Width() <= 0 || R.Height() <= 0)
        return R;
    const int left = UseRightToLeftAlignment() ? R.Left + 1 : R.Left;
    return TRect(left, R.Top, std::max(left + 1, R.Right - 1), std::max(R.Top + 1, R.Bottom - 1));
}
