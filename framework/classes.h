// Components: objects with an owner, a name and a Tag.
//
// A component is owned by another component (its Owner) or by nobody. The
// owner keeps the list of what it owns, finds owned components by name and
// destroys them when it is destroyed itself. Components are made with `new`
// and given their owner at construction:
//
//     auto* button = new TButton(form);   // the form frees it
//
// A component may also be deleted on its own; it then leaves its owner's
// list first. Components that want to hear when another one is inserted into
// or removed from their owner, or that hold a reference to a component owned
// elsewhere (FreeNotification), override Notification.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/rtti.h"

// Event with no arguments beyond the object that fired it.
using TNotifyEvent = std::function<void(TObject* sender)>;

// An object that can copy the state of another of its kind.
class TPersistent : public TObject {
    DECLARE_CLASS(TPersistent, TObject)
public:
    // Copies `source` into this object. The base refuses with an
    // EConvertError naming both classes; classes that can copy override it.
    virtual void Assign(const TPersistent& source);
};

enum TOperation { opInsert, opRemove };

// Bits of TComponent::ComponentState.
enum TComponentStateFlag : unsigned {
    csLoading = 0x01,     // being built: properties are still being set; cleared by Loaded
    csDestroying = 0x08,  // its destructor is running
    csDesigning = 0x10    // never set in this program; kept for code that asks
};

// A name, a Tag, an owner and owned components.
//
// Invariants: a component is in the Components list of its Owner exactly
// when Owner() is that component; names of components with one owner are
// unique (ignoring ASCII case) unless empty.
class TComponent : public TPersistent {
    DECLARE_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    // Notifies and destroys every owned component (last first), tells the
    // components that asked for FreeNotification, then leaves the owner.
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Throws EComponentError when another component of the same owner
    // already has the name.
    void SetName(const std::string& name);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Throws EListError for an index outside 0 .. ComponentCount() - 1.
    TComponent* Components(int index) const;
    // Position of this component in its owner's list, or -1 without owner.
    int ComponentIndex() const;
    // The owned component called `name` (ASCII case ignored), or null.
    TComponent* FindComponent(const std::string& name) const;

    // Moves `component` into this owner's list (out of its previous one) and
    // sends opInsert to this component and to everything it owns.
    void InsertComponent(TComponent* component);
    // Takes `component` out of the list without destroying it; sends opRemove.
    void RemoveComponent(TComponent* component);
    // Destroys every owned component, the last one first.
    void DestroyComponents();

    // Asks to receive Notification(this, opRemove) when `component` is
    // destroyed, even if this component is not its owner.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    unsigned ComponentState() const { return FComponentState; }
    bool HasState(unsigned flags) const { return (FComponentState & flags) != 0; }

    // Marks this component as being built (csLoading) until Loaded runs.
    void BeginLoading() { FComponentState |= csLoading; }
    // Called once the component is completely built; clears csLoading.
    // Overrides do their own work after calling the inherited Loaded.
    virtual void Loaded();

    // `component` was inserted into or is being removed from this component's
    // owner list, or (opRemove) is being destroyed after FreeNotification.
    // Overrides drop their references to a removed component.
    virtual void Notification(TComponent* component, TOperation operation);

protected:
    void SetComponentState(unsigned flags) { FComponentState |= flags; }
    void ClearComponentState(unsigned flags) { FComponentState &= ~flags; }

private:
    TComponent* FOwner = nullptr;
    std::string FName;
    int FTag = 0;
    unsigned FComponentState = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

// A component name that clashes with another of the same owner.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};
