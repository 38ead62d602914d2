// Persistent objects and components (see classes.h).
#include "framework/classes.h"

#include <algorithm>

IMPLEMENT_CLASS(TPersistent)

void TPersistent::Assign(const TPersistent& source)
{
    throw EConvertError(Format("Cannot assign a %s to a %s", source.ClassName().c_str(), ClassName().c_str()));
}

using PComponent = TPropBuilder<TComponent>;
IMPLEMENT_CLASS(TComponent,
    PComponent::String("Name", &TComponent::Name, &TComponent::SetName),
    PComponent::Integer("Tag", &TComponent::Tag, &TComponent::SetTag))

TComponent::TComponent(TComponent* owner)
{
    if (owner) {
        // Parts made while their owner is being built are built with it.
        if (owner->HasState(csLoading)) FComponentState |= csLoading;
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    FComponentState |= csDestroying;
    DestroyComponents();
    // Those that asked to hear about this component's end drop their
    // references now. Each notification may change the list.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name)
{
    if (name == FName) return;
    if (FOwner && !name.empty()) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this)
            throw EComponentError(Format("A component named %s already exists", name.c_str()));
    }
    FName = name;
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FComponents[index];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->FOwner == this) return;
    if (!component->FName.empty() && FindComponent(component->FName))
        throw EComponentError(Format("A component named %s already exists", component->FName.c_str()));
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end()) return;
    Notification(component, opRemove);
    // The notifications may have changed the list; look again.
    it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end()) FComponents.erase(it);
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    auto& theirs = component->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
    auto& theirs = component->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Loaded() { FComponentState &= ~csLoading; }

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove) {
        FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
    }
    // Owned components hear about their siblings too. Iterate over a copy:
    // a notification may destroy or move components.
    std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (c != component && std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(component, operation);
}
