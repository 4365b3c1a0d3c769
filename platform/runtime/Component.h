#pragma once
// Components: objects with an owner that frees them, a name, a tag and free
// notification, the base of every control, form and non-visual helper.

#include <QFlags>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/runtime/Object.h"

enum TComponentStateFlag : unsigned {
    csLoading = 0x0001,
    csReading = 0x0002,
    csWriting = 0x0004,
    csDestroying = 0x0008,
    csDesigning = 0x0010,
    csAncestor = 0x0020,
    csUpdating = 0x0040,
    csFixups = 0x0080,
    csFreeNotification = 0x0100,
    csInline = 0x0200,
    csDesignInstance = 0x0400,
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentState)

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    // Tells everyone who asked for free notification, leaves the owner and
    // frees every owned component (last created first).
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    const QString& Name() const { return FName; }
    virtual void SetName(const QString& value) { FName = value; }

    int ComponentCount() const { return static_cast<int>(FComponents.size() - FFirst - FHoles); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // Case-insensitive search among the owned components; nullptr when absent.
    TComponent* FindComponent(const QString& name) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();

    // AComponent gets Notification(this, opRemove) when this component is freed
    // (and this one when AComponent is freed): links both ways.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState.testFlag(csLoading); }
    bool IsDesigning() const { return FComponentState.testFlag(csDesigning); }
    bool IsDestroying() const { return FComponentState.testFlag(csDestroying); }
    // Design mode applies to the component and everything it owns.
    void SetDesigning(bool value, bool setChildren = true);
    // Marks the component and what it owns as loading; EndLoading clears the
    // flag and calls Loaded on each, owned components first.
    void BeginLoading();
    void EndLoading();
    // Sets csDestroying on the component and what it owns (done by the
    // destructors; public so that a descendant's destructor can do it first).
    void Destroying();

    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t value) { FTag = value; }

    // Class name of the component in the toolkit's terms ("TForm", "TButton"):
    // descendants that code compares by name override it.
    virtual QString ClassName() const { return QStringLiteral("TComponent"); }

protected:
    // Called on the owner when a component joins or leaves it, and on each
    // component linked by free notification when the other one is freed. Only
    // those are told: owned components hear nothing of their siblings unless
    // they asked. The default drops a removed component from the links.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();
    void SetComponentStateFlag(TComponentStateFlag flag, bool on);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    // Closes the holes left by removals, keeping the order.
    void Compact() const;
    template <typename F> void ForEachOwned(F&& f) const
    {
        for (std::size_t i = FFirst; i < FComponents.size(); ++i)
            if (TComponent* c = FComponents[i])
                f(c);
    }

    TComponent* FOwner = nullptr;
    QString FName;
    // Owned components in order. A removal leaves a hole (nullptr) so that it
    // costs the same however many there are; holes at either end are dropped
    // at once, those between are closed when an index is next asked for or
    // when they outnumber the components.
    mutable std::vector<TComponent*> FComponents;
    mutable std::size_t FFirst = 0; // slots before it are holes
    mutable std::size_t FHoles = 0; // holes from FFirst on
    // This component's slot in its owner's FComponents.
    mutable std::size_t FSlot = 0;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
    std::intptr_t FTag = 0;
};
