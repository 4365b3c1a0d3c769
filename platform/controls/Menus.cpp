#include "platform/controls/Menus.h"

#include <QAction>
#include <QMenu>
#include <QPoint>
#include <map>

#include "platform/runtime/Exceptions.h"

namespace {

TPopupTracker& Tracker()
{
    static TPopupTracker tracker;
    return tracker;
}

QString StripAmpersands(const QString& s)
{
    QString r;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size())
            ++i;
        r += s[i];
    }
    return r;
}

void BuildMenu(QMenu* menu, const TMenuItem* root, std::map<QAction*, TMenuItem*>& actions)
{
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            menu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = menu->addMenu(item->Caption());
            sub->setEnabled(item->Enabled());
            BuildMenu(sub, item, actions);
            continue;
        }
        QAction* a = menu->addAction(item->Caption());
        a->setEnabled(item->Enabled());
        a->setCheckable(item->Checked() || item->AutoCheck() || item->RadioItem());
        a->setChecked(item->Checked());
        if (item->Default()) {
            QFont f = a->font();
            f.setBold(true);
            a->setFont(f);
        }
        actions[a] = item;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty())
        delete FItems.back(); // each leaves this list as it goes
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("Menu index out of range"));
    return FItems[std::size_t(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    if (item->FParent)
        throw EInvalidOperation(QStringLiteral("Menu inserted twice"));
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    item->FParent = nullptr;
}

void TMenuItem::Delete(int index)
{
    Remove(Items(index));
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TMenuItem* TMenuItem::Find(const QString& caption) const
{
    const QString want = StripAmpersands(caption);
    for (TMenuItem* i : FItems)
        if (StripAmpersands(i->Caption()).compare(want, Qt::CaseInsensitive) == 0)
            return i;
    return nullptr;
}

void TMenuItem::SetChecked(bool v)
{
    if (FChecked == v)
        return;
    FChecked = v;
    if (v && FRadioItem && FParent)
        for (TMenuItem* i : FParent->FItems)
            if (i != this && i->FRadioItem && i->FGroupIndex == FGroupIndex)
                i->FChecked = false;
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TPopupMenuBase(AOwner)
    , FItems(new TMenuItem(this))
{
}

TPopupMenu::~TPopupMenu() = default; // the root item is owned like any component

TPopupTracker TPopupMenu::SetTracker(TPopupTracker tracker)
{
    TPopupTracker old = std::move(Tracker());
    Tracker() = std::move(tracker);
    return old;
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    TMenuItem* chosen = nullptr;
    if (Tracker()) {
        chosen = Tracker()(this, X, Y);
    } else {
        QMenu menu;
        std::map<QAction*, TMenuItem*> actions;
        BuildMenu(&menu, FItems, actions);
        if (menu.isEmpty())
            return;
        if (QAction* a = menu.exec(QPoint(X, Y))) {
            auto it = actions.find(a);
            if (it != actions.end())
                chosen = it->second;
        }
    }
    if (chosen)
        chosen->Click();
}
