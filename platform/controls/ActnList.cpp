#include "platform/controls/ActnList.h"

#include <algorithm>

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

void TCustomAction::SetCaption(const QString& v)
{
    if (v == FCaption)
        return;
    ForEachLink([&](TActionLink* l) { l->SetCaption(v); });
    FCaption = v;
}

void TCustomAction::SetChecked(bool v)
{
    if (v == FChecked)
        return;
    ForEachLink([&](TActionLink* l) { l->SetChecked(v); });
    FChecked = v;
}

void TCustomAction::SetGroupIndex(int v)
{
    if (v == FGroupIndex)
        return;
    ForEachLink([&](TActionLink* l) { l->SetGroupIndex(v); });
    FGroupIndex = v;
}

void TCustomAction::SetEnabled(bool v)
{
    if (v == FEnabled)
        return;
    ForEachLink([&](TActionLink* l) { l->SetEnabled(v); });
    FEnabled = v;
}

void TCustomAction::SetHint(const QString& v)
{
    if (v == FHint)
        return;
    ForEachLink([&](TActionLink* l) { l->SetHint(v); });
    FHint = v;
}

void TCustomAction::SetVisible(bool v)
{
    if (v == FVisible)
        return;
    ForEachLink([&](TActionLink* l) { l->SetVisible(v); });
    FVisible = v;
}

bool TCustomAction::Execute()
{
    if (!FEnabled || !OnExecute)
        return false;
    OnExecute(this);
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
