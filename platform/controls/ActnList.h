#pragma once
// Actions: a component that holds what several controls show (caption,
// checked, group, enabled, hint, visible, an image of an image list) and the
// handler their clicks run. A control takes an action through its Action
// property and talks to it through an action link, which decides per
// property whether the control still follows the action and passes changes
// on.

#include <QString>
#include <vector>

#include "platform/runtime/Component.h"

class TControl;
class TActionLink;
class TImageList;

class TCustomAction : public TComponent {
public:
    explicit TCustomAction(TComponent* AOwner);
    ~TCustomAction() override;
    QString ClassName() const override { return QStringLiteral("TCustomAction"); }

    // Each setter hands the new value to the linked clients first, so a link
    // can still compare the client with the old value.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    QString Hint() const { return FHint; }
    void SetHint(const QString& v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    // -1: no image.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // The list ImageIndex points into; not owned, it outlives the action's
    // use of it.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* v);

    // Runs OnExecute when enabled and set; false when nothing ran.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    int ClientCount() const { return static_cast<int>(FClients.size()); }

private:
    friend class TActionLink;
    template <class F> void ForEachLink(F&& fn);
    // Stores a changed value: passToLink (a TActionLink setter, or nullptr)
    // reaches the links first, Change after.
    template <class T, class S> void Store(T& field, const T& v, S passToLink);
    // Tells every link that a value was stored.
    void Change();
    QString FCaption;
    bool FChecked = false;
    int FGroupIndex = 0;
    bool FEnabled = true;
    QString FHint;
    bool FVisible = true;
    int FImageIndex = -1;
    TImageList* FImages = nullptr;
    std::vector<TActionLink*> FClients;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    QString ClassName() const override { return QStringLiteral("TAction"); }
};

// The client's end of the bond with an action. An action being freed detaches
// its links; the client then has no action.
class TActionLink {
public:
    TActionLink() = default;
    virtual ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TCustomAction* Action() const { return FAction; }
    void SetAction(TCustomAction* v);
    // Runs the action for the client; false without one or when nothing ran.
    bool Execute(TComponent* Target = nullptr);

    virtual bool IsCaptionLinked() const { return FAction != nullptr; }
    virtual bool IsCheckedLinked() const { return FAction != nullptr; }
    virtual bool IsGroupIndexLinked() const { return FAction != nullptr; }
    virtual bool IsEnabledLinked() const { return FAction != nullptr; }
    virtual bool IsHintLinked() const { return FAction != nullptr; }
    virtual bool IsVisibleLinked() const { return FAction != nullptr; }

    // Called by the action before it stores a new value.
    virtual void SetCaption(const QString&) { }
    virtual void SetChecked(bool) { }
    virtual void SetGroupIndex(int) { }
    virtual void SetEnabled(bool) { }
    virtual void SetHint(const QString&) { }
    virtual void SetVisible(bool) { }
    virtual void SetImageIndex(int) { }
    // Called by the action after it stored any new value, for clients that
    // take more from it than the single values above.
    virtual void Change() { }

private:
    TCustomAction* FAction = nullptr;
};

// A control's link: caption, enabled, hint and visible pass to the control;
// checked and group index mean nothing to a plain control, so descendants
// that have them override their setters.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* AClient);

    TControl* Client() const { return FClient; }

    // Linked while the control still shows the action's value.
    bool IsCaptionLinked() const override;
    bool IsHintLinked() const override;

    void SetCaption(const QString& v) override;
    void SetEnabled(bool v) override;
    void SetHint(const QString& v) override;
    void SetVisible(bool v) override;

protected:
    TControl* FClient;
};
