#pragma once
// What the header and footer strips of a drop-down's pop-up show: colours,
// border, caption, image and a row of buttons. Every drop-down edit owns one
// of each, and so does the grid's control look, which copies them into the
// drop-down editors it opens. The strips copy them when the pop-up opens, so
// only visibility and button changes are announced.

#include "platform/controls/CategoryPanels.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"

#include <QString>
#include <memory>

enum class TButtonAlignment { baLeft, baRight };

class TDropDownButtons;

// What header and footer buttons share: the setters of Caption, Enabled and
// Width tell the collection; Height and ImageIndex are stored silently.
class TDropDownButton : public TCollectionItem {
public:
    explicit TDropDownButton(TCollection* Collection)
        : TCollectionItem(Collection)
    {
    }

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // 0: the button's natural size.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }

protected:
    // Copies the shared settings through the setters.
    void AssignButton(const TDropDownButton* Source);

private:
    void Notify();

    QString FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
};

class THeaderButton : public TDropDownButton {
public:
    using TDropDownButton::TDropDownButton;
    // From another header button; anything else is ignored.
    void Assign(const TPersistent* Source) override;
};

class TFooterButton : public TDropDownButton {
public:
    using TDropDownButton::TDropDownButton;
    // A closing result also closes the pop-up, accepting or cancelling.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    // From another footer button; anything else is ignored.
    void Assign(const TPersistent* Source) override;

private:
    int FModalResult = 0;
};

// Adding, deleting or moving buttons is silent; only the buttons' own
// announcing setters fire OnChange (sender: the collection).
class TDropDownButtons : public TCollection {
public:
    TDropDownButtons(TPersistent* AOwner, TItemFactory ItemClass)
        : TCollection(std::move(ItemClass))
        , FMyOwner(AOwner)
    {
    }
    TPersistent* Owner() const override { return FMyOwner; }
    TNotifyEvent OnChange;

private:
    TPersistent* FMyOwner;
};

class THeaderButtons : public TDropDownButtons {
public:
    explicit THeaderButtons(TPersistent* AOwner);
    THeaderButton* Add() { return static_cast<THeaderButton*>(TCollection::Add()); }
    THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(TCollection::Insert(Index)); }
    THeaderButton* Items(int Index) const { return static_cast<THeaderButton*>(TCollection::Items(Index)); }
    void SetItems(int Index, const THeaderButton* Value) { TCollection::SetItems(Index, Value); }
};

class TFooterButtons : public TDropDownButtons {
public:
    explicit TFooterButtons(TPersistent* AOwner);
    TFooterButton* Add() { return static_cast<TFooterButton*>(TCollection::Add()); }
    TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(TCollection::Insert(Index)); }
    TFooterButton* Items(int Index) const { return static_cast<TFooterButton*>(TCollection::Items(Index)); }
    void SetItems(int Index, const TFooterButton* Value) { TCollection::SetItems(Index, Value); }
};

// What both strips share. Only a change of Visible fires OnChange, and only
// a change the buttons report fires OnButtonsChanged; every other write is
// silent and shows at the next opening of the pop-up.
class TDropDownAppearance : public TPersistent {
public:
    TPersistent* Owner() const { return FOwner; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TFont* Font() const { return FFont.get(); }
    // Copies the given font.
    void SetFont(const TFont* Value) { FFont->Assign(Value); }

    int Height = 22;
    int BorderWidth = 1;
    int ImageIndex = -1;
    QString Caption;
    TColor ColorTo = clWhite;
    TColor Color = clSilver;
    TColor BorderColor = clBlack;
    TGradientDirection GradientDirection = gdVertical;
    TButtonAlignment ButtonAlignment = TButtonAlignment::baRight;

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

protected:
    explicit TDropDownAppearance(TPersistent* AOwner);
    // The colours, the font and the gradient direction.
    void AssignColorsFrom(const TDropDownAppearance* Source);
    // Everything but the buttons (and the footer's grip); Visible through its setter.
    void AssignLook(const TDropDownAppearance* Source);
    // Wires the buttons' change notice to OnButtonsChanged.
    void WatchButtons(TDropDownButtons* Buttons);

private:
    TPersistent* FOwner;
    bool FVisible = true;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};

class THeaderAppearance : public TDropDownAppearance {
public:
    // The owner also owns the button collection.
    explicit THeaderAppearance(TPersistent* AOwner);
    ~THeaderAppearance() override;

    THeaderButtons* Buttons() const { return FButtons.get(); }
    // Copies the given collection.
    void SetButtons(const THeaderButtons* Value) { FButtons->Assign(Value); }

    // From another header look, Visible through its setter; else ignored.
    void Assign(const TPersistent* Source) override;
    // The colours, the font and the gradient direction only.
    void AssignColors(const TPersistent* Source);

private:
    std::unique_ptr<THeaderButtons> FButtons;
};

class TFooterAppearance : public TDropDownAppearance {
public:
    // The owner also owns the button collection.
    explicit TFooterAppearance(TPersistent* AOwner);
    ~TFooterAppearance() override;

    TFooterButtons* Buttons() const { return FButtons.get(); }
    // Copies the given collection.
    void SetButtons(const TFooterButtons* Value) { FButtons->Assign(Value); }

    // From another footer look, Visible through its setter; else ignored.
    void Assign(const TPersistent* Source) override;
    // The colours, the font and the gradient direction only.
    void AssignColors(const TPersistent* Source);

    bool SizeGrip = true;

private:
    std::unique_ptr<TFooterButtons> FButtons;
};
