#include "controls/grid/ExGridCellEditors.h"

#include <QScopedValueRollback>
#include <algorithm>

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGrid.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/graphics/Graphics.h"

namespace {

// Gives the focus back to the grid.
void FocusGrid(TExStringGrid* G)
{
    if (G->CanFocus())
        G->SetFocus();
}

// A refused value keeps the edit open on its cell: the grid's refusal may
// have closed the editor while the grid did not hold the focus to reopen it.
void ReopenAfterRefusal(TExStringGrid* G, TWinControl* Editor)
{
    if (G->EditMode() && Editor->Visible())
        return;
    FocusGrid(G);
    G->ShowInplaceEdit();
}

bool IsShiftFree(TShiftState Shift)
{
    return !Shift.testFlag(ssShift) && !Shift.testFlag(ssCtrl) && !Shift.testFlag(ssAlt);
}

} // namespace

// ---------------------------------------------------------------------------
// TGridCheckBox

TGridCheckBox::TGridCheckBox(TComponent* AOwner)
    : TCheckBox(AOwner)
    , FGrid(dynamic_cast<TExStringGrid*>(AOwner))
{
    SetVisible(false);
    SetEnabled(false);
    if (FGrid)
        SetParent(FGrid);
}

void TGridCheckBox::ReCreate()
{
    // The platform's widgets take style changes at once; a repaint shows them.
    if (HandleAllocated())
        Invalidate();
}

void TGridCheckBox::WndProc(TMessage& Message)
{
    // The keys that end the edit are the editor's, not the form's
    // navigation between controls.
    if (FGrid && Message.Msg == CM_WANTSPECIALKEY) {
        switch (Message.WParam) {
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            Message.Result = 1;
            return;
        default:
            break;
        }
    }
    TCheckBox::WndProc(Message);
}

void TGridCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        SetChecked(!Checked());
        // The widget's own toggle on release would undo this one: a click
        // toggles once.
        FPressToggled = true;
    }
    TCheckBox::MouseDown(Button, Shift, X, Y);
}

void TGridCheckBox::Toggle()
{
    if (FPressToggled) {
        FPressToggled = false;
        return;
    }
    TCheckBox::Toggle();
}

void TGridCheckBox::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FGrid) {
        TCheckBox::KeyDown(Key, Shift);
        return;
    }
    FPressToggled = false;
    if (Key == VK_SPACE) {
        // Taken here so that the widget's own toggle on release never runs.
        SetChecked(!Checked());
        Key = 0;
        return;
    }
    switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        TExStringGrid* g = FGrid;
        const WORD key = Key;
        Key = 0;
        if (key == VK_ESCAPE)
            SetText(g->Cells(g->RealCol(), g->Row()));
        g->HideInplaceEdit();
        FocusGrid(g);
        if (key == VK_RETURN)
            g->AdvanceToNextCell(g->Col(), g->Row(), false, g->Navigation()->AdvanceAutoEdit, true, false, true);
        if (key == VK_UP || key == VK_DOWN) {
            WORD k = key;
            g->KeyDown(k, Shift);
        }
        return;
    }
    default:
        TCheckBox::KeyDown(Key, Shift);
    }
}

void TGridCheckBox::DoExit()
{
    if (FGrid && !FGrid->FBlockKill)
        FGrid->HideInplaceEdit();
    TCheckBox::DoExit();
}

// ---------------------------------------------------------------------------
// TGridSpin

TGridSpin::TGridSpin(TComponent* AOwner)
    : TEsgSpinEdit(AOwner)
    , FGrid(dynamic_cast<TExStringGrid*>(AOwner))
{
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
    SetVisible(false);
    SetEnabled(false);
    if (FGrid)
        SetParent(FGrid);
}

void TGridSpin::ReCreate()
{
    if (HandleAllocated())
        Invalidate();
}

void TGridSpin::BeginEdit(bool PassThrough)
{
    FPassThrough = PassThrough;
    FLoadedText = Text();
}

bool TGridSpin::Untouched() const
{
    return FPassThrough && GetText() == FLoadedText;
}

QString TGridSpin::EditValue() const
{
    if (FGrid && Untouched())
        return FGrid->Cells(FGrid->RealCol(), FGrid->Row());
    return GetText();
}

int TGridSpin::ClampedValue()
{
    const int v = Value();
    if (MinValue() == MaxValue())
        return v;
    return std::clamp(v, std::min(MinValue(), MaxValue()), std::max(MinValue(), MaxValue()));
}

double TGridSpin::ClampedFloatValue()
{
    const double v = FloatValue();
    if (MinFloatValue() == MaxFloatValue())
        return v;
    return std::clamp(v, std::min(MinFloatValue(), MaxFloatValue()), std::max(MinFloatValue(), MaxFloatValue()));
}

void TGridSpin::StepUp(bool Page)
{
    TEsgSpinEdit::StepUp(Page);
    if (!FKeyStep)
        FireSpinClick(true);
}

void TGridSpin::StepDown(bool Page)
{
    TEsgSpinEdit::StepDown(Page);
    if (!FKeyStep)
        FireSpinClick(false);
}

void TGridSpin::FireSpinClick(bool UpDown)
{
    if (!FGrid)
        return;
    TExStringGrid* g = FGrid;
    const int c = g->Col(), r = g->Row();
    switch (SpinType()) {
    case TEsgSpinType::sptNormal:
        if (g->OnSpinClick)
            g->OnSpinClick(g, c, r, Value(), UpDown);
        break;
    case TEsgSpinType::sptFloat:
        if (g->OnFloatSpinClick)
            g->OnFloatSpinClick(g, c, r, FloatValue(), UpDown);
        break;
    case TEsgSpinType::sptDate:
        if (g->OnDateSpinClick)
            g->OnDateSpinClick(g, c, r, DateValue(), UpDown);
        break;
    case TEsgSpinType::sptTime:
        if (g->OnTimeSpinClick)
            g->OnTimeSpinClick(g, c, r, TimeValue(), UpDown);
        break;
    }
}

bool TGridSpin::StepKey(WORD Key)
{
    const bool integer = SpinType() == TEsgSpinType::sptNormal;
    if (!integer && SpinType() != TEsgSpinType::sptFloat)
        return false;
    bool up;
    switch (Key) {
    case VK_PRIOR:
        up = true;
        if (integer) {
            if (Value() + Increment() <= MaxValue())
                SetValue(Value() + Increment());
        } else if (FloatValue() + IncrementFloat() <= MaxFloatValue()) {
            SetFloatValue(FloatValue() + IncrementFloat());
        }
        break;
    case VK_NEXT:
        up = false;
        if (integer) {
            if (Value() - Increment() >= MinValue())
                SetValue(Value() - Increment());
        } else if (FloatValue() - IncrementFloat() >= MinFloatValue()) {
            SetFloatValue(FloatValue() - IncrementFloat());
        }
        break;
    case VK_END:
        up = false;
        if (integer)
            SetValue(MinValue());
        else
            SetFloatValue(MinFloatValue());
        break;
    case VK_HOME:
        up = true;
        if (integer)
            SetValue(MaxValue());
        else
            SetFloatValue(MaxFloatValue());
        break;
    default:
        return false;
    }
    // The integer value is reported for every spin type.
    if (FGrid && FGrid->OnSpinClick)
        FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), Value(), up);
    return true;
}

bool TGridSpin::GridKeyDown(WORD& Key, TShiftState Shift)
{
    TExStringGrid* g = FGrid;
    // Page Up at 9 with a maximum of 10 and a step of 3 stays at 9: the spin
    // edit's own page step never runs for numbers.
    if (StepKey(Key)) {
        Key = 0;
        return false;
    }
    if (Key == VK_ESCAPE) {
        SetText(g->FCellCache);
        if (SpinType() == TEsgSpinType::sptFloat)
            SetFloatValue(FloatValue());
        else if (SpinType() == TEsgSpinType::sptNormal)
            SetValue(Value());
    }
    if (Key != VK_TAB && Key != VK_RETURN && Key != VK_UP && Key != VK_DOWN) {
        if (Key != VK_ESCAPE)
            return true;
        Key = 0;
        g->HideInplaceEdit();
        FocusGrid(g);
        return false;
    }
    const QString value = EditValue();
    if (!Untouched())
        g->SetCurrentCell(value);
    if (!g->ValidateCell(value)) {
        ReopenAfterRefusal(g, this);
        SetText(g->Cells(g->RealCol(), g->Row()));
        SetSelStart(int(GetText().size()));
        Key = 0;
        g->FNoAutoAdvance = true;
        Invalidate();
        return false;
    }
    if (!Untouched())
        SetText(g->Cells(g->RealCol(), g->Row()));
    const WORD key = Key;
    Key = 0;
    if (key == VK_TAB && g->Options().testFlag(goTabs)) {
        g->HideInplaceEdit();
        FocusGrid(g);
        g->AdvanceOnTab(Shift.testFlag(ssShift));
        return false;
    }
    g->DoneInplaceEdit(key, Shift);
    TNavigation* nav = g->Navigation();
    if (nav->AdvanceOnEnter && nav->AdvanceAutoEdit && !g->EditMode())
        g->ShowInplaceEdit();
    return false;
}

void TGridSpin::WndProc(TMessage& Message)
{
    if (!FGrid) {
        TEsgSpinEdit::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE
            || (Message.WParam == VK_TAB && FGrid->Options().testFlag(goTabs))) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_KEYDOWN: {
        auto key = static_cast<WORD>(Message.WParam);
        if (!GridKeyDown(key, KeyDataToShiftState(Message.LParam))) {
            Message.WParam = 0;
            return;
        }
        QScopedValueRollback<bool> keyStep(FKeyStep, true);
        TEsgSpinEdit::WndProc(Message);
        return;
    }
    case WM_CHAR:
        if (Message.WParam == VK_TAB || Message.WParam == VK_RETURN) {
            Message.WParam = 0;
            return;
        }
        break;
    default:
        break;
    }
    TEsgSpinEdit::WndProc(Message);
}

void TGridSpin::KeyPress(char16_t& Key)
{
    if (Key == 27 || Key == 13) {
        Key = 0;
        return;
    }
    TEsgSpinEdit::KeyPress(Key);
}

void TGridSpin::KeyUp(WORD& Key, TShiftState Shift)
{
    // The plain edit's key-up, not the spin edit's.
    TEsgButtonEdit::KeyUp(Key, Shift);
}

void TGridSpin::Change()
{
    TEsgSpinEdit::Change();
    if (FGrid && FGrid->FEditMode && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), GetText());
}

void TGridSpin::DoExit()
{
    if (FGrid && !FGrid->FBlockKill)
        FGrid->HideInplaceEdit();
    TEsgSpinEdit::DoExit();
}

// ---------------------------------------------------------------------------
// TGridCombo

TGridCombo::TGridCombo(TComponent* AOwner)
    : TEsgComboBox(AOwner)
    , FGrid(dynamic_cast<TExStringGrid*>(AOwner))
{
    SetButtonWidth(16);
    SetVisible(false);
    SetEnabled(false);
    if (FGrid)
        SetParent(FGrid);
}

bool TGridCombo::ListStyle() const
{
    return Style() == csDropDownList;
}

void TGridCombo::BeginEdit()
{
    FUserChose = false;
    FCancelled = false;
    FTyped = false;
    WorkMode = true;
}

bool TGridCombo::StoresValue() const
{
    return !FCancelled && (!ListStyle() || FUserChose);
}

QString TGridCombo::EditValue() const
{
    if (FGrid && !StoresValue())
        return FGrid->Cells(FGrid->RealCol(), FGrid->Row());
    return GetText();
}

int TGridCombo::CharAt(TPoint P) const
{
    return CharFromPos(P);
}

void TGridCombo::SizeDropDownWidth()
{
    if (!FGrid)
        return;
    int w = Width();
    TCanvas* c = FGrid->Canvas();
    c->Font()->Assign(FGrid->Font());
    const bool scrolls = Items()->Count() > DropDownCount();
    for (int i = 0; i < Items()->Count(); ++i) {
        const int tw = c->TextWidth(Items()->Strings(i));
        // A scroll bar takes room from the list.
        if (scrolls && tw > w - 25)
            w = tw + 25;
        else if (!scrolls && tw > w - 5)
            w = tw + 8;
    }
    SetDroppedWidth(w);
}

void TGridCombo::DoChange()
{
    if (!FGrid || !WorkMode || !FGrid->Lookup())
        return;
    const bool cs = FGrid->LookupCaseSensitive();
    const QString text = GetText();
    const int caret = std::clamp(SelStart(), 0, int(text.size()));
    const QString typed = text.left(caret);
    if (typed.isEmpty())
        return;
    const auto startsWith
        = [&](const QString& item) { return item.startsWith(typed, cs ? Qt::CaseSensitive : Qt::CaseInsensitive); };
    const auto complete = [&](const QString& item) {
        SetText(typed + item.mid(typed.size(), 255));
        SetSelStart(int(typed.size()));
        SetSelLength(int(GetText().size() - typed.size()));
        ItemChange = true;
    };
    for (int i = 0; i < Items()->Count(); ++i) {
        if (startsWith(Items()->Strings(i))) {
            // The typed letters stay as typed: the edit shows no item then,
            // and ItemIdx names the match.
            complete(Items()->Strings(i));
            ItemIdx = i;
            return;
        }
    }
    TStringList* more = FGrid->LookupItems();
    for (int i = 0; i < more->Count(); ++i) {
        if (startsWith(more->Strings(i))) {
            complete(more->Strings(i));
            ItemIdx = i;
            return;
        }
    }
}

bool TGridCombo::ValidateOnKey(WORD& Key)
{
    TExStringGrid* g = FGrid;
    const QString value = EditValue();
    if (StoresValue())
        g->SetCurrentCell(value);
    if (g->ValidateCell(value))
        return true;
    const QString left = g->FNewCellText;
    ReopenAfterRefusal(g, this);
    if (ListStyle())
        SetItemIndex(Items()->IndexOf(left));
    else
        SetText(left);
    if (!ListStyle())
        SelectAll();
    Invalidate();
    Key = 0;
    g->FNoAutoAdvance = true;
    return false;
}

void TGridCombo::TakeValidated()
{
    if (!StoresValue())
        return;
    const QString cell = FGrid->Cells(FGrid->RealCol(), FGrid->Row());
    if (ListStyle()) {
        const int i = Items()->IndexOf(cell);
        if (i >= 0)
            SetItemIndex(i);
    } else {
        SetText(cell);
    }
}

void TGridCombo::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FGrid) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    Forced = false;
    const bool listLike = ListStyle() || DroppedDown();
    bool handled = false;
    switch (Key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
        handled = true;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        handled = listLike;
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_UP:
    case VK_DOWN:
        handled = !listLike;
        break;
    default:
        break;
    }
    WorkMode = !(Key == VK_BACK || Key == VK_DELETE);

    if ((Key == VK_UP || Key == VK_DOWN) && !nav->ComboGetUpDown && !DroppedDown() && !Shift.testFlag(ssAlt)) {
        const WORD key = Key;
        g->HideInplaceEdit();
        {
            QScopedValueRollback<bool> alwaysEdit(nav->AlwaysEdit, false);
            FocusGrid(g);
        }
        WORD k = key;
        g->KeyDown(k, Shift);
        // The key ends here: nothing of this edit reaches the cell the cursor
        // moved to.
        Key = 0;
        return;
    }
    // Alt+Down opens the list.
    if (!handled || (Key == VK_DOWN && Shift.testFlag(ssAlt))) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        // Nothing of this edit reaches the cell.
        FCancelled = true;
        const QString cell = g->Cells(g->RealCol(), g->Row());
        if (ListStyle())
            SetItemIndex(Items()->IndexOf(cell));
        else
            SetText(cell);
        Key = 0;
        g->HideInplaceEdit();
        FocusGrid(g);
        return;
    }
    if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        if (!ValidateOnKey(Key))
            return;
        TakeValidated();
    }
    if (Key == VK_TAB && g->EditorWantsTab()) {
        if (!ValidateOnKey(Key)) {
            if (!ListStyle())
                SetSelStart(int(GetText().size()));
            return;
        }
        TakeValidated();
        Key = 0;
        if (g->Options().testFlag(goTabs)) {
            g->HideInplaceEdit();
            FocusGrid(g);
            g->AdvanceOnTab(Shift.testFlag(ssShift));
        } else {
            PostMessage(g, WM_KEYDOWN, VK_TAB, 0);
        }
        return;
    }
    if (listLike) {
        if (DroppedDown()) {
            QScopedValueRollback<bool> direct(g->MouseActions()->DirectComboClose, false);
            SetDroppedDown(false);
        }
    } else if (Key == VK_END) {
        // The caret goes to the end instead of leaving the cell.
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    const WORD key = Key;
    Key = 0;
    g->DoneInplaceEdit(key, Shift);
    if (nav->AdvanceOnEnter && nav->AdvanceAutoEdit && !g->EditMode())
        g->ShowInplaceEdit();
    TEsgComboBox::KeyDown(Key, Shift);
}

void TGridCombo::KeyPress(char16_t& Key)
{
    if (FGrid && FGrid->OnKeyPress)
        FGrid->OnKeyPress(this, Key);
    if (Key == 27) {
        Key = 0;
        return;
    }
    if (Key == 13 && OnReturnKey)
        OnReturnKey(this);
    if (Key == 13 || Key == 9) {
        Key = 0;
        return;
    }
    TEsgComboBox::KeyPress(Key);
    FTyped = Key >= 32;
}

void TGridCombo::KeyUp(WORD& Key, TShiftState Shift)
{
    if (!FGrid) {
        TEsgComboBox::KeyUp(Key, Shift);
        return;
    }
    TExStringGrid* g = FGrid;
    bool walked = false;
    if (!ListStyle() && g->Navigation()->CursorWalkEditor && IsShiftFree(Shift) && SelLength() == 0) {
        if (Key == VK_LEFT && SelStart() == 0) {
            Key = 0;
            walked = true;
            WalkOut(false);
        } else if (Key == VK_RIGHT && SelStart() >= int(GetText().size())) {
            Key = 0;
            walked = true;
            WalkOut(true);
        }
    }
    g->FNoAutoAdvance = false;
    if (Key != VK_RETURN)
        TEsgComboBox::KeyUp(Key, Shift);
    // Completion follows typed characters only, and never on the cell walked to.
    if (!walked && FTyped) {
        FTyped = false;
        DoChange();
    }
}

void TGridCombo::WalkOut(bool Forward)
{
    TExStringGrid* g = FGrid;
    TNavigation* nav = g->Navigation();
    const int c = g->Col(), r = g->Row();
    int target = -1;
    if (Forward) {
        const int span = std::max(0, g->CellSpan(g->RealCol(), r).X);
        if (c < g->ColCount() - g->FixedRightCols() - 1 && c + span + 1 < g->ColCount())
            target = c + span + 1;
    } else if (c > g->FixedCols()) {
        target = c - 1;
    }
    if (target >= 0 && g->HasCellControl(g->RealColIndex(target), r)) {
        WORD k = VK_RETURN;
        if (ValidateOnKey(k)) {
            g->HideInplaceEdit();
            g->SetCol(target);
        }
        return;
    }
    FocusGrid(g);
    const TAdvanceDirection saved = nav->AdvanceDirection();
    nav->SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    try {
        g->AdvanceToNextCell(c, r, true, nav->CursorWalkAlwaysEdit, Forward, false, nav->CursorWalkAlwaysEdit);
    } catch (...) {
        nav->SetAdvanceDirection(saved);
        throw;
    }
    nav->SetAdvanceDirection(saved);
}

void TGridCombo::FireComboChange()
{
    TExStringGrid* g = FGrid;
    const int i = ItemIndex();
    const QString sel = i >= 0 ? Items()->Strings(i) : GetText();
    if (g->OnComboChange)
        g->OnComboChange(g, g->RealCol(), g->Row(), i, sel);
    if (g->OnComboObjectChange)
        g->OnComboObjectChange(g, g->RealCol(), g->Row(), i, sel, i >= 0 ? Items()->Objects(i) : nullptr);
}

bool TGridCombo::WheelStep(bool TowardsUser)
{
    const int i = ItemIndex();
    const int n = Items()->Count();
    int next = i;
    if (TowardsUser && i < n - 1)
        next = i + 1;
    else if (!TowardsUser && i > 0)
        next = i - 1;
    if (next == i)
        return false;
    SetItemIndex(next);
    FUserChose = true;
    TExStringGrid* g = FGrid;
    if (g->OnEditChange)
        g->OnEditChange(g, g->RealCol(), g->Row(), Items()->Strings(next));
    FireComboChange();
    return true;
}

void TGridCombo::WndProc(TMessage& Message)
{
    if (!FGrid) {
        TEsgComboBox::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE
            || (Message.WParam == VK_TAB && FGrid->EditorWantsTab())) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        // The list steps in place of the widget's own wheel handling.
        if (Visible() && !DroppedDown()) {
            WheelStep(static_cast<std::int16_t>(HiWord(Message.WParam)) < 0);
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TEsgComboBox::WndProc(Message);
}

void TGridCombo::Change()
{
    TEsgComboBox::Change();
    if (!FGrid || !FGrid->FEditMode)
        return;
    if (FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), GetText());
    if (!FInSelect)
        FGrid->InplaceComboChange(true);
}

void TGridCombo::Select()
{
    // A pick by the user: a key, the list or type-ahead.
    FUserChose = true;
    {
        QScopedValueRollback<bool> inSelect(FInSelect, true);
        TEsgComboBox::Select();
    }
    if (FGrid && FGrid->FEditMode)
        FGrid->InplaceComboChange(false);
}

void TGridCombo::DropDown()
{
    TEsgComboBox::DropDown();
    if (FGrid)
        FGrid->InplaceComboDropDown();
}

void TGridCombo::CloseUp()
{
    TEsgComboBox::CloseUp();
    if (FGrid && FGrid->FEditMode)
        FGrid->InplaceComboCloseUp();
}

void TGridCombo::DoEnter()
{
    TEsgComboBox::DoEnter();
    if (!FGrid)
        return;
    if (!FGrid->Navigation()->EditSelectAll && !ListStyle())
        SetSelStart(int(GetText().size()));
    if (FGrid->LButFlg && !ListStyle()) {
        const TPoint p = ScreenToClient(MouseCursorPos());
        if (p.X >= 0 && p.X < Width() && p.Y >= 0 && p.Y < Height()) {
            const int at = CharAt(p);
            if (at >= 0) {
                SetSelStart(at);
                SetSelLength(0);
            }
            FGrid->LButFlg = false;
        }
    }
}

void TGridCombo::DoExit()
{
    if (FGrid) {
        const QString text = GetText();
        if (FGrid->LookupHistory() && !text.isEmpty() && Items()->IndexOf(text) < 0)
            Items()->Add(text);
        if (!FGrid->FBlockKill)
            FGrid->HideInplaceEdit();
    }
    TEsgComboBox::DoExit();
}
