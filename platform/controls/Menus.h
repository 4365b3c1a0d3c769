#pragma once
// Pop-up menus: a tree of menu items shown at a screen point.

#include <QString>
#include <functional>
#include <vector>

#include "platform/controls/Controls.h"

// One entry of a menu; a caption of "-" makes a separator. Items hold their
// sub-items and free them; an item freed by its owner leaves its parent.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    QString ClassName() const override { return QStringLiteral("TMenuItem"); }

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& v) { FCaption = v; }
    bool Checked() const { return FChecked; }
    // A radio item that becomes checked clears the others of its group.
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v) { FRadioItem = v; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    // Clicking toggles Checked.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v) { FDefault = v; }
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& v) { FHint = v; }
    bool IsLine() const { return FCaption == QLatin1String("-"); }

    TMenuItem* Parent() const { return FParent; }
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int index) const;
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of this menu without freeing it.
    void Remove(TMenuItem* item);
    void Delete(int index);
    // Frees every sub-item.
    void Clear();
    // An item whose caption (without "&") matches, or nullptr.
    TMenuItem* Find(const QString& caption) const;

    // What choosing the item does: AutoCheck, then OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

private:
    QString FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    bool FDefault = false;
    QString FHint;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TPopupMenu;
// Decides what a shown pop-up menu returns instead of the user (tests): the
// item to click, or nullptr for a dismissed menu.
using TPopupTracker = std::function<TMenuItem*(TPopupMenu* Menu, int X, int Y)>;

class TPopupMenu : public TPopupMenuBase {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    QString ClassName() const override { return QStringLiteral("TPopupMenu"); }

    // The root item; its sub-items are the menu.
    TMenuItem* Items() const { return FItems; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }

    // OnPopup, then the menu at screen point (X, Y) until the user chooses or
    // dismisses it; the chosen item's Click runs after the menu has closed.
    void Popup(int X, int Y) override;

    // Replaces the user while set; returns the previous tracker.
    static TPopupTracker SetTracker(TPopupTracker tracker);

    TNotifyEvent OnPopup;

private:
    TMenuItem* FItems;
    bool FAutoPopup = true;
};
