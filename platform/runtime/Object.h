#pragma once
// Root of the toolkit's class tree and the notify-event type.

#include <functional>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// An object that can copy its state from another object with Assign; a source
// of a class it does not know is ignored unless a descendant says otherwise.
class TPersistent : public TObject {
public:
    virtual void Assign(const TPersistent* Source)
    {
        if (Source)
            Source->AssignTo(this);
    }

protected:
    virtual void AssignTo(TPersistent* Dest) const { (void)Dest; }
};
