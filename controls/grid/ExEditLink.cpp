#include "controls/grid/ExEditLink.h"

#include "controls/grid/ExGrid.h"
#include "platform/controls/Forms.h"

TEditLink::TEditLink(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TEditLink::~TEditLink()
{
    // The replaced window procedure calls back into this link.
    if (FSubClassed)
        if (auto* c = FindControlBySerial(FSubClassedSerial))
            SetWindowProc(c, FSavedWasReplacement ? FSavedWndProc : TWndMethod());
    if (FPopupForm) {
        FPopupForm->OnDeactivate = nullptr;
        delete FPopupForm;
        FPopupForm = nullptr;
    }
}

TExStringGrid* TEditLink::Grid() const
{
    return FOwnerSerial ? dynamic_cast<TExStringGrid*>(FindControlBySerial(FOwnerSerial)) : nullptr;
}

void TEditLink::Prepare(TExStringGrid* AGrid, TPoint ACell)
{
    FOwnerSerial = AGrid ? ControlSerial(AGrid) : 0;
    EditCell = ACell;
    FStored = false;
}

TWinControl* TEditLink::GetParent()
{
    if (EditStyle == TEditStyle::esPopup)
        return FPopupForm;
    return Grid();
}

QString TEditLink::GetCellValue()
{
    TExStringGrid* g = Grid();
    return g ? g->Cells(g->RealColIndex(g->Col()), g->Row()) : QString();
}

void TEditLink::SetCellValue(const QString& Value)
{
    if (TExStringGrid* g = Grid())
        g->SetEditedCellText(g->RealColIndex(g->Col()), g->Row(), Value);
}

void TEditLink::StoreValue()
{
    if (FStored)
        return;
    FStored = true;
    SetCellValue(GetEditorValue());
}

void TEditLink::StoreByGrid()
{
    TExStringGrid* g = Grid();
    if (FStored || !g)
        return;
    FStored = true;
    g->StoreEditorValue(g->Col(), g->Row());
}

void TEditLink::FocusGrid()
{
    TExStringGrid* g = Grid();
    if (!g)
        return;
    FForcedExit = true;
    if (g->CanFocus())
        g->SetFocus();
    FForcedExit = false;
}

// ---------------------------------------------------------------------------
// Keys

void TEditLink::EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    (void)Sender;
    TExStringGrid* g = Grid();
    if (!g)
        return;
    bool leaves = Shift.testFlag(ssAlt);
    bool wanted = false;
    switch (Key) {
    case VK_TAB:
        leaves = true;
        wanted = WantTabs;
        break;
    case VK_RETURN:
        leaves = true;
        wanted = WantKeyReturn;
        break;
    case VK_ESCAPE:
        leaves = true;
        wanted = WantKeyEscape;
        break;
    case VK_PRIOR:
    case VK_NEXT:
        leaves = true;
        wanted = WantKeyPriorNext;
        break;
    case VK_END:
        leaves = true;
        wanted = WantKeyHomeEnd;
        break;
    case VK_HOME:
        wanted = WantKeyHomeEnd;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        leaves = true;
        wanted = WantKeyLeftRight;
        break;
    case VK_UP:
    case VK_DOWN:
        leaves = true;
        wanted = WantKeyUpDown;
        break;
    default:
        break;
    }
    if (!leaves || wanted)
        return;

    if (Key == VK_TAB) {
        if (g->Navigation()->TabToNextAtEnd) {
            FocusGrid();
            StoreByGrid();
            if (g->AdvanceOnTab(Shift.testFlag(ssShift)) && !g->HasCellControl(g->RealColIndex(g->Col()), g->Row())) {
                PostMessage(g, WM_KEYDOWN, VK_F2, 0);
                Key = 0;
                return;
            }
        }
        Key = 0;
    }
    // The old text is what gets stored.
    if (Key == VK_ESCAPE)
        SetEditorValue(g->FCellCache);

    FocusGrid();
    StoreByGrid();
    if (EditStyle == TEditStyle::esPopup)
        EditExit(this);
    g->FEditMode = false;
    g->UpdateEditMode();

    if (Key == VK_RETURN && g->FLastValidation) {
        g->FLastValidation = true;
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !Shift.testFlag(ssShift), false, false);
        Key = 0;
        return;
    }
    if (!g->FLastValidation) {
        g->FLastValidation = true;
        g->ShowInplaceEdit();
        return;
    }
    if (Key == VK_ESCAPE) {
        Key = 0;
        return;
    }
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN)
        g->KeyDownFromEditor(Key, Shift);
    if (TWinControl* c = GetEditControl())
        c->SetEnabled(false);
    FocusGrid();
}

// ---------------------------------------------------------------------------
// Placing and focusing the control

void TEditLink::SetFocus(bool Value)
{
    TExStringGrid* g = Grid();
    TWinControl* c = GetEditControl();
    if (Value && c) {
        if (!c->Visible())
            c->Show();
        if (!c->Enabled())
            c->SetEnabled(true);
    }
    if (EditStyle == TEditStyle::esInplace && c && !FSubClassed) {
        FSavedWasReplacement = HasWindowProcReplacement(c);
        FSavedWndProc = GetWindowProc(c);
        FSubClassedSerial = ControlSerial(c);
        SetWindowProc(c, [this](TMessage& Message) { LinkedWndProc(Message); });
        FSubClassed = true;
    }
    if (Value) {
        if (c && c->CanFocus())
            c->SetFocus();
    } else if (g && g->CanFocus()) {
        g->SetFocus();
    }
}

// The grid's rules for the controls it hosts: with tabbing on, the control
// wants arrows, Tab and characters, so that they reach its key handler
// instead of moving the form's focus.
void TEditLink::LinkedWndProc(TMessage& Message)
{
    const TWndMethod saved = FSavedWndProc;
    if (saved)
        saved(Message);
    if (Message.Msg == WM_GETDLGCODE)
        if (TExStringGrid* g = Grid(); g && g->Options().testFlag(goTabs))
            Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
}

void TEditLink::RestoreWinProc()
{
    if (EditStyle != TEditStyle::esInplace)
        return;
    TWinControl* c = GetEditControl();
    if (!c)
        return;
    if (FSubClassed) {
        SetWindowProc(c, FSavedWasReplacement ? FSavedWndProc : TWndMethod());
        FSavedWndProc = nullptr;
        FSubClassed = false;
    }
    if (c->HandleAllocated())
        c->Hide();
}

void TEditLink::SetRect(const TRect& R)
{
    TWinControl* c = GetEditControl();
    TExStringGrid* g = Grid();
    if (!c)
        return;
    const int lw = g ? g->GridLineWidth() : 0;
    c->SetBounds(R.Left, R.Top, R.Width() - lw, R.Height() - lw);
}

void TEditLink::SetVisible(bool Value)
{
    if (TWinControl* c = GetEditControl())
        c->SetVisible(Value);
}

// ---------------------------------------------------------------------------
// Leaving

void TEditLink::HideEditor()
{
    StoreValue();
    // Stored: the grid only closes the edit, it stores nothing again.
    if (TExStringGrid* g = Grid()) {
        g->FEditMode = false;
        g->HideInplaceEdit();
    }
    RestoreWinProc();
}

void TEditLink::EditExit(TObject* Sender)
{
    (void)Sender;
    HideEditor();
    if (EditStyle == TEditStyle::esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::FormExit(TObject* Sender)
{
    TExStringGrid* g = Grid();
    if (g && g->InplaceEditor())
        g->InplaceEditor()->SetText(GetEditorValue());
    if (FForcedExit) {
        StoreValue();
        return;
    }
    EditExit(Sender);
    if (g)
        g->InvokedFocusChange = true;
}

TForm* TEditLink::ShowPopupForm(const TRect& CellScreenRect)
{
    if (AutoPopupWidth)
        PopupWidth = CellScreenRect.Width();
    if (!FPopupForm) {
        // The link's own: another component of that name stays as it is.
        FPopupForm = new TForm(this);
        FPopupForm->SetName(QStringLiteral("gridform"));
        FPopupForm->OnDeactivate = [this](TObject* Sender) { FormExit(Sender); };
        FPopupForm->SetBorderStyle(bsNone);
    }
    const bool atCell = PopupLeft == -1 || PopupTop == -1;
    const TPoint at = atCell ? TPoint(CellScreenRect.Left, CellScreenRect.Top) : TPoint(PopupLeft, PopupTop);
    FPopupForm->SetBounds(at.X, at.Y, 0, 0);
    FPopupForm->Show();
    FPopupForm->SetBounds(at.X, at.Y, PopupWidth, PopupHeight);
    return FPopupForm;
}
