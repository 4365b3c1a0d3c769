#include "controls/base/ExDropDownLook.h"

// ---------------------------------------------------------------------------
// Buttons

void TDropDownButton::Notify()
{
    auto* buttons = dynamic_cast<TDropDownButtons*>(Collection());
    if (buttons && buttons->OnChange)
        buttons->OnChange(buttons);
}

void TDropDownButton::SetCaption(const QString& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    Notify();
}

void TDropDownButton::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Notify();
}

void TDropDownButton::SetWidth(int Value)
{
    if (FWidth == Value)
        return;
    FWidth = Value;
    Notify();
}

void TDropDownButton::AssignButton(const TDropDownButton* Source)
{
    SetCaption(Source->Caption());
    SetImageIndex(Source->ImageIndex());
    SetEnabled(Source->Enabled());
    SetWidth(Source->Width());
    SetHeight(Source->Height());
}

void THeaderButton::Assign(const TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const THeaderButton*>(Source))
        AssignButton(s);
    else
        TDropDownButton::Assign(Source);
}

void TFooterButton::Assign(const TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const TFooterButton*>(Source)) {
        SetModalResult(s->ModalResult());
        AssignButton(s);
    } else
        TDropDownButton::Assign(Source);
}

THeaderButtons::THeaderButtons(TPersistent* AOwner)
    : TDropDownButtons(AOwner, [](TCollection* c) { return new THeaderButton(c); })
{
}

TFooterButtons::TFooterButtons(TPersistent* AOwner)
    : TDropDownButtons(AOwner, [](TCollection* c) { return new TFooterButton(c); })
{
}

// ---------------------------------------------------------------------------
// Appearances

TDropDownAppearance::TDropDownAppearance(TPersistent* AOwner)
    : FOwner(AOwner)
{
}

void TDropDownAppearance::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (OnChange)
        OnChange(this);
}

void TDropDownAppearance::AssignColorsFrom(const TDropDownAppearance* Source)
{
    ColorTo = Source->ColorTo;
    Color = Source->Color;
    BorderColor = Source->BorderColor;
    SetFont(Source->Font());
    GradientDirection = Source->GradientDirection;
}

void TDropDownAppearance::AssignLook(const TDropDownAppearance* Source)
{
    AssignColorsFrom(Source);
    Caption = Source->Caption;
    ImageIndex = Source->ImageIndex;
    BorderWidth = Source->BorderWidth;
    Height = Source->Height;
    // Last but the buttons, so that a handler of OnChange sees the new look.
    SetVisible(Source->Visible());
    ButtonAlignment = Source->ButtonAlignment;
}

void TDropDownAppearance::WatchButtons(TDropDownButtons* Buttons)
{
    Buttons->OnChange = [this](TObject*) {
        if (OnButtonsChanged)
            OnButtonsChanged(this);
    };
}

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : TDropDownAppearance(AOwner)
    , FButtons(std::make_unique<THeaderButtons>(AOwner))
{
    Font()->SetName(QStringLiteral("Tahoma"));
    WatchButtons(FButtons.get());
}

THeaderAppearance::~THeaderAppearance() = default;

void THeaderAppearance::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const THeaderAppearance*>(Source);
    if (!s || s == this)
        return;
    AssignLook(s);
    SetButtons(s->Buttons());
}

void THeaderAppearance::AssignColors(const TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const THeaderAppearance*>(Source))
        AssignColorsFrom(s);
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : TDropDownAppearance(AOwner)
    , FButtons(std::make_unique<TFooterButtons>(AOwner))
{
    WatchButtons(FButtons.get());
}

TFooterAppearance::~TFooterAppearance() = default;

void TFooterAppearance::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TFooterAppearance*>(Source);
    if (!s || s == this)
        return;
    SizeGrip = s->SizeGrip;
    AssignLook(s);
    SetButtons(s->Buttons());
}

void TFooterAppearance::AssignColors(const TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const TFooterAppearance*>(Source))
        AssignColorsFrom(s);
}
