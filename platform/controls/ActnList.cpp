#include "platform/controls/ActnList.h"

#include <algorithm>
#include <type_traits>

#include "platform/controls/Controls.h"

// ---------------------------------------------------------------------------
// TCustomAction

TCustomAction::TCustomAction(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TCustomAction::~TCustomAction()
{
    Destroying();
    // The clients lose their action; their links stay, bound to nothing.
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

template <class F> void TCustomAction::ForEachLink(F&& fn)
{
    // A client may drop its action from inside the call.
    const std::vector<TActionLink*> links = FClients;
    for (TActionLink* link : links)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            fn(link);
}

template <class T, class S> void TCustomAction::Store(T& field, const T& v, S passToLink)
{
    if (v == field)
        return;
    if constexpr (!std::is_null_pointer_v<S>)
        ForEachLink([&](TActionLink* l) { (l->*passToLink)(v); });
    field = v;
    Change();
}

void TCustomAction::SetCaption(const QString& v)
{
    Store(FCaption, v, &TActionLink::SetCaption);
}

void TCustomAction::SetChecked(bool v)
{
    Store(FChecked, v, &TActionLink::SetChecked);
}

void TCustomAction::SetGroupIndex(int v)
{
    Store(FGroupIndex, v, &TActionLink::SetGroupIndex);
}

void TCustomAction::SetEnabled(bool v)
{
    Store(FEnabled, v, &TActionLink::SetEnabled);
}

void TCustomAction::SetHint(const QString& v)
{
    Store(FHint, v, &TActionLink::SetHint);
}

void TCustomAction::SetVisible(bool v)
{
    Store(FVisible, v, &TActionLink::SetVisible);
}

void TCustomAction::SetImageIndex(int v)
{
    Store(FImageIndex, v, &TActionLink::SetImageIndex);
}

// Links have no setter of their own for the list: Change tells them.
void TCustomAction::SetImages(TImageList* v)
{
    Store(FImages, v, nullptr);
}

void TCustomAction::Change()
{
    ForEachLink([](TActionLink* l) { l->Change(); });
}

bool TCustomAction::Execute()
{
    if (!FEnabled || !OnExecute)
        return false;
    // The handler may reassign OnExecute or free the action.
    const TNotifyEvent fn = OnExecute;
    fn(this);
    return true;
}

// ---------------------------------------------------------------------------
// TActionLink

TActionLink::~TActionLink()
{
    SetAction(nullptr);
}

void TActionLink::SetAction(TCustomAction* v)
{
    if (v == FAction)
        return;
    if (FAction) {
        auto& list = FAction->FClients;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FAction = v;
    if (FAction)
        FAction->FClients.push_back(this);
}

bool TActionLink::Execute(TComponent*)
{
    return FAction && FAction->Execute();
}

// ---------------------------------------------------------------------------
// TControlActionLink

TControlActionLink::TControlActionLink(TControl* AClient)
    : FClient(AClient)
{
}

bool TControlActionLink::IsCaptionLinked() const
{
    return TActionLink::IsCaptionLinked() && FClient->Caption() == Action()->Caption();
}

bool TControlActionLink::IsHintLinked() const
{
    return TActionLink::IsHintLinked() && FClient->Hint() == Action()->Hint();
}

void TControlActionLink::SetCaption(const QString& v)
{
    if (IsCaptionLinked())
        FClient->SetCaption(v);
}

void TControlActionLink::SetEnabled(bool v)
{
    if (IsEnabledLinked())
        FClient->SetEnabled(v);
}

void TControlActionLink::SetHint(const QString& v)
{
    if (IsHintLinked())
        FClient->SetHint(v);
}

void TControlActionLink::SetVisible(bool v)
{
    if (IsVisibleLinked())
        FClient->SetVisible(v);
}

// ---------------------------------------------------------------------------
// The action side of TControl

TCustomAction* TControl::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TCustomAction* v)
{
    if (!v) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = CreateActionLink();
    FActionLink->SetAction(v);
    ActionChange(v, IsLoading());
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink()
{
    return std::make_unique<TControlActionLink>(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    // With CheckDefaults a value set on the control itself wins.
    if (!CheckDefaults || Caption().isEmpty() || Caption() == Name())
        SetCaption(action->Caption());
    if (!CheckDefaults || Enabled())
        SetEnabled(action->Enabled());
    if (!CheckDefaults || Hint().isEmpty())
        SetHint(action->Hint());
    if (!CheckDefaults || Visible())
        SetVisible(action->Visible());
}
