// The combo, check-box and spin kinds' own part of preparing and storing a
// cell editor; the common steps around them are the grid's.
#include "controls/base/ExObjOptions.h"
#include "controls/base/ExUtil.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridCellEditors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/SysUtils.h"

namespace {

// The text's leading integer: an optional sign and the digits after it; 0
// when there are none.
int LeadingInteger(const QString& Text)
{
    const QString t = Text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    const int digits = i;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9')
        ++i;
    if (i == digits)
        return 0;
    bool ok = false;
    const qlonglong v = t.left(i).toLongLong(&ok);
    if (!ok)
        return t[0] == u'-' ? INT_MIN : INT_MAX;
    return int(std::clamp<qlonglong>(v, INT_MIN, INT_MAX));
}

// Shows, colours and focuses a prepared editor.
void ShowPreparedEditor(TWinControl* Editor, TColor Color)
{
    Editor->SetVisible(true);
    Editor->SetEnabled(true);
    Editor->SetColor(Color);
    if (Editor->CanFocus())
        Editor->SetFocus();
}

} // namespace

TGridSpin* TExStringGrid::SpinEdit()
{
    if (!FSpinEdit) {
        FSpinEdit = new TGridSpin(this);
        FSpinEdit->SetBorderStyle(bsNone);
        FSpinEdit->SetIsWinXP(FIsWinXP);
    }
    return FSpinEdit;
}

bool TExStringGrid::PrepareSpinCellEditor(int ACol, int ARow)
{
    const TRect R = CellEditorRect(ACol, ARow);
    const int RC = RealColIndex(ACol);
    const TColor color = Canvas()->Brush()->Color();
    TGridSpin* sp = SpinEdit();
    sp->ReCreate();
    sp->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    sp->SetVisible(true);
    sp->SetEnabled(true);
    sp->SetColor(color);
    sp->Font()->Assign(Canvas()->Font());
    sp->SetExcelStyleDecimalSeparator(ExcelStyleDecimalSeparator());
    DoGetEditorProp(RC, ARow, nullptr);
    const QString text = HandleGetEditText(ACol, ARow);
    bool passThrough = false;
    switch (EditControl) {
    case TEditorType::edSpinEdit:
        sp->SetSpinType(TEsgSpinType::sptNormal);
        sp->SetValue(LeadingInteger(text));
        break;
    case TEditorType::edFloatSpinEdit: {
        double v = 0;
        if (!TryStrToFloat(UnformatNumberText(text), v))
            v = 0;
        sp->SetSpinType(TEsgSpinType::sptFloat);
        sp->SetFloatValue(v);
        break;
    }
    case TEditorType::edTimeSpinEdit:
        sp->SetSpinType(TEsgSpinType::sptTime);
        sp->SetText(text);
        break;
    default: {
        TDateTime d = 0;
        // A cell without a date opens on today, but only a change is stored.
        if (text.isEmpty() || !TryStrToDate(text, d)) {
            d = Now();
            passThrough = true;
        }
        sp->SetSpinType(TEsgSpinType::sptDate);
        sp->SetDateValue(d);
        break;
    }
    }
    sp->BeginEdit(passThrough);
    ShowPreparedEditor(sp, color);
    PostStartEditChar(sp);
    if (FSpinUpClick)
        sp->StepUp(false);
    if (FSpinDnClick)
        sp->StepDown(false);
    FSpinUpClick = false;
    FSpinDnClick = false;
    EditCtrl = sp;
    return true;
}

bool TExStringGrid::PrepareComboCellEditor(int ACol, int ARow)
{
    TGridCombo* cb = EditCombo;
    if (!cb)
        return false;
    const TRect R = CellEditorRect(ACol, ARow);
    const int RC = RealColIndex(ACol);
    const TColor color = Canvas()->Brush()->Color();
    const bool list = EditControl == TEditorType::edComboList;
    cb->SetDropDownCount(FControlLook->DropDownCount);
    DoGetEditorProp(RC, ARow, FEditLink);
    // The editor shows the grid's own list as it stands now; later changes
    // of that list leave the open editor alone.
    cb->Items()->Assign(FComboItems.get());
    // Collapsed while it is loaded.
    cb->SetBounds(R.Left, R.Top, 0, 0);
    cb->SetDroppedDown(false);
    cb->SetEnabled(true);
    cb->SetStyle(list ? csDropDownList : csDropDown);
    cb->Font()->Assign(Canvas()->Font());
    cb->BeginEdit();
    const int count = cb->Items()->Count();
    const bool preselect = FComboIdx >= 0 && FComboIdx < count;
    if (list) {
        // A value the list does not hold opens with nothing selected (or
        // the preselection shown); only the user's own pick is stored.
        int i = cb->Items()->IndexOf(GetCellEx(RC, ARow));
        if (i < 0)
            i = cb->Items()->IndexOf(HandleGetEditText(ACol, ARow));
        if (i < 0 && preselect)
            i = FComboIdx;
        cb->SetItemIndex(i);
    } else {
        const QString text = HandleGetEditText(ACol, ARow);
        cb->SetText(text);
        // The preselection fills an empty cell only: a typed value stays.
        if (text.isEmpty() && preselect && cb->ItemIndex() < 0)
            cb->SetItemIndex(FComboIdx);
        cb->SetMaxLength(FMaxComboLength);
    }
    // The closed control covers the cell; the open list shows DropDownCount
    // items below it.
    cb->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    cb->SetColor(color);
    cb->SetVisible(true);
    switch (FLook) {
    case TGridLook::glStandard:
    case TGridLook::glClassic:
    case TGridLook::glCustom:
        cb->SetFlat(false);
        cb->SetEtched(false);
        break;
    default:
        cb->SetFlat(true);
        cb->SetEtched(true);
        break;
    }
    if (FNavigation->AutoComboDropSize)
        cb->SizeDropDownWidth();
    else if (cb->DropWidth() > 0)
        cb->SetDroppedWidth(cb->DropWidth());
    ShowPreparedEditor(cb, color);
    if (FMouseActions->DirectComboDrop || FControlLook->DropDownAlwaysVisible())
        cb->SetDroppedDown(true);
    if (FMouseActions->DirectEdit && FMouseActions->DirectComboDrop) {
        const TGridRect s = Selection();
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    }
    PostStartEditChar(cb);
    EditCtrl = cb;
    return true;
}

bool TExStringGrid::PrepareCheckCellEditor(int ACol, int ARow)
{
    TGridCheckBox* ck = EditCheck;
    if (!ck)
        return false;
    const TRect R = CellEditorRect(ACol, ARow);
    ck->ReCreate();
    ck->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    ck->SetText(HandleGetEditText(ACol, ARow));
    ck->SetEnabled(true);
    ck->SetState(cbUnchecked);
    ShowPreparedEditor(ck, Canvas()->Brush()->Color());
    return true;
}

void TExStringGrid::StoreSpinEditorValue()
{
    TGridSpin* sp = FSpinEdit;
    if (!sp)
        return;
    const int RC = RealColIndex(Col());
    const int R = Row();
    if (sp->AllowEmptyValue() && sp->Text().trimmed().isEmpty()) {
        SetCellEx(RC, R, QString());
    } else if (!sp->Untouched()) {
        switch (EditControl) {
        case TEditorType::edSpinEdit:
            SetInts(RC, R, sp->ClampedValue());
            break;
        case TEditorType::edFloatSpinEdit:
            SetFloats(RC, R, sp->ClampedFloatValue());
            break;
        case TEditorType::edTimeSpinEdit:
            SetEditedCellText(RC, R, sp->Text());
            break;
        default:
            SetDates(RC, R, sp->DateValue());
            break;
        }
    }
    sp->SetEnabled(false);
    sp->SetVisible(false);
}

void TExStringGrid::StoreComboEditorValue()
{
    TGridCombo* cb = EditCombo;
    if (!cb)
        return;
    if (cb->StoresValue())
        SetEditedCellText(RealColIndex(Col()), Row(), cb->Text());
    cb->SetVisible(false);
    cb->SetEnabled(false);
}

void TExStringGrid::StoreCheckEditorValue()
{
    // The check box's state is not written back.
    if (EditCheck) {
        EditCheck->SetEnabled(false);
        EditCheck->SetVisible(false);
    }
}
