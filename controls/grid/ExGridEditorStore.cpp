// The edited value written back into the cell, the editor hidden, and the
// end of the edit announced in the grid's event order.
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExEditLink.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExRichEdit.h"
#include "platform/controls/Messages.h"

void TExStringGrid::SetEditedCellText(int ACol, int ARow, const QString& Value)
{
    const int dc = DisplColIndex(ACol);
    if (dc >= 0 && dc < ColCount())
        HandleSetEditText(dc, ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TExStringGrid::StoreEditorValue(int ACol, int ARow)
{
    if (IsDestroying())
        return;
    FSpecialEditor = false;
    FBlockKill = true;
    const int RC = RealColIndex(ACol);
    FStartEditChar = 0;
    // Storing moves the focus; the flags go back to rest also when a
    // handler raises.
    struct TRest {
        TExStringGrid* G;
        ~TRest()
        {
            G->FBlockKill = false;
            G->FEditActive = false;
        }
    } rest { this };

    const auto hide = [](TWinControl* c) {
        if (!c)
            return;
        c->SetEnabled(false);
        c->SetVisible(false);
    };
    switch (EditControl) {
    case TEditorType::edSpinEdit:
    case TEditorType::edFloatSpinEdit:
    case TEditorType::edTimeSpinEdit:
    case TEditorType::edDateSpinEdit:
        FEditMode = false;
        StoreSpinEditorValue();
        break;
    case TEditorType::edComboEdit:
    case TEditorType::edComboList:
        if (FEditMode) {
            FEditMode = false;
            StoreComboEditorValue();
        }
        break;
    case TEditorType::edCheckBox:
        StoreCheckEditorValue();
        FEditMode = false;
        break;
    case TEditorType::edCustom:
        if (FControlLook->DropDownAlwaysVisible())
            QueryEditorType(RC, ARow, EditControl);
        // A second store for the same edit stores nothing.
        if (FEditLink && FEditMode) {
            FEditMode = false;
            SetEditedCellText(RC, ARow, FEditLink->GetEditorValue());
            if (FEditLink->EditStyle != TEditStyle::esPopup)
                FEditLink->SetVisible(false);
            FEditLink->RestoreWinProc();
        }
        break;
    case TEditorType::edRichEdit:
        if (FInplaceRichEdit && FInplaceRichEdit->Visible()) {
            SetEditedCellText(RC, ARow, RichToString(FInplaceRichEdit));
            hide(FInplaceRichEdit);
        }
        FEditMode = false;
        break;
    case TEditorType::edDataCheckBox:
    case TEditorType::edNone:
        break;
    default:
        // The text kinds store through the toolkit's editor; the kinds
        // without an editor here end their edit state.
        if (!IsDefaultTextKind(EditControl))
            FEditMode = false;
        break;
    }
    EditCtrl = nullptr;
    if (EditControl != TEditorType::edNormal && FEditActive)
        NotifyEditingDone(RC, ARow);
}

void TExStringGrid::HideCellEdit()
{
    StoreEditorValue(Col(), Row());
}

void TExStringGrid::ShowCellEdit()
{
    Perform(WM_KEYDOWN, VK_F2, 0);
}

void TExStringGrid::DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink)
{
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt)
        OnGetEditorPropInt(this, ARow, ACol);
}
