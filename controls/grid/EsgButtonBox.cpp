#include "controls/grid/EsgButtonBox.h"

TEsgButtonBox::TEsgButtonBox(TComponent* AOwner)
    : TWinControl(AOwner)
{
    // No caption, opaque, and no container for other controls.
    FControlStyle = (FControlStyle & ~TControlStyle(csAcceptsControls) & ~TControlStyle(csSetCaption)) | csOpaque;
}

TEsgButtonBox::~TEsgButtonBox() = default;

void TEsgButtonBox::SetFocusControl(TWinControl* v)
{
    if (v == FFocusControl)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TEsgButtonBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TEsgButtonBox::FocusAfterPress(bool EditMustBeTabStop)
{
    TWinControl* edit = FFocusControl;
    if (edit && (!EditMustBeTabStop || edit->TabStop()) && edit->CanFocus() && !edit->Focused())
        edit->SetFocus();
    else if (TabStop() && CanFocus() && !Focused())
        SetFocus();
}

void TEsgButtonBox::SetColorField(TColor& field, TColor v)
{
    if (field == v)
        return;
    field = v;
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}
