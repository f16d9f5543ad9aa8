#include "platform/core/Component.h"

#include "platform/core/Writer.h"

namespace Vellaro {

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    DestroyComponent();
}

void TComponent::DestroyComponent()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    Destroying();
    NotifyFreeSubscribers();
    DestroyOwnedComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::Destroying()
{
    FComponentState |= csDestroying;
}

void TComponent::NotifyFreeSubscribers()
{
    // A subscriber may unsubscribe others from inside its handler: take one entry at a time.
    while (TComponent* subscriber = FFreeNotifies.Last()) {
        FFreeNotifies.Remove(subscriber);
        subscriber->FFreeNotifies.Remove(this);
        subscriber->Notification(this, opRemove);
    }
}

void TComponent::DestroyOwnedComponents()
{
    // Newest first, each taken from the back of the list: O(1) apiece.
    while (TComponent* child = FComponents.Last()) {
        Remove(child);
        delete child;
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EComponentError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FComponents.At(index);
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return FNames.value(TNameKey{name}, nullptr);
}

void TComponent::SetName(const QString& name)
{
    if (name == FName)
        return;
    if (FOwner && !name.isEmpty()) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(name));
    }
    const QString old = std::exchange(FName, name);
    if (FOwner) {
        if (!old.isEmpty())
            FOwner->FNames.remove(TNameKey{old});
        if (!name.isEmpty())
            FOwner->FNames.insert(TNameKey{name}, this);
    }
    NameChanged(old);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent == this || AComponent->FOwner == this)
        return;
    if (!AComponent->FName.isEmpty() && FindComponent(AComponent->FName))
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(AComponent->FName));
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.Append(AComponent);
    if (!AComponent->FName.isEmpty())
        FNames.insert(TNameKey{AComponent->FName}, AComponent);
    AComponent->SetOwnerState(this);
    if (AComponent->Hears()) {
        const bool before = Hears();
        FListeners.Append(AComponent);
        UpdateListening(before);
    }
    if (HasState(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    NotifySiblingSubscribers(AComponent);
    if (AComponent->FOwner == this)
        Remove(AComponent);
}

void TComponent::NotifySiblingSubscribers(TComponent* AComponent)
{
    // A sibling that subscribed to AComponent refers to it: it hears that AComponent left, as a
    // listener would (listeners were told already by Notification).
    if (AComponent->FFreeNotifies.Empty())
        return;
    for (TComponent* subscriber : AComponent->FFreeNotifies.Snapshot())
        if (AComponent->FFreeNotifies.Contains(subscriber) && subscriber->FOwner == this && subscriber != AComponent
            && !FListeners.Contains(subscriber) && !subscriber->HasState(csDestroying))
            subscriber->Notification(AComponent, opRemove);
}

void TComponent::Remove(TComponent* AComponent)
{
    FComponents.Remove(AComponent);
    if (!AComponent->FName.isEmpty()) {
        const auto it = FNames.constFind(TNameKey{AComponent->FName});
        if (it != FNames.cend() && it.value() == AComponent)
            FNames.erase(it);
    }
    const bool before = Hears();
    if (FListeners.Remove(AComponent))
        UpdateListening(before);
    AComponent->SetOwnerState(nullptr);
}

void TComponent::ListenToSiblings(bool listen)
{
    const bool before = Hears();
    FListensToSiblings = listen;
    UpdateListening(before);
}

void TComponent::UpdateListening(bool before)
{
    if (!FOwner || before == Hears())
        return;
    const bool ownerBefore = FOwner->Hears();
    if (Hears())
        FOwner->FListeners.Append(this);
    else
        FOwner->FListeners.Remove(this);
    FOwner->UpdateListening(ownerBefore);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    FFreeNotifies.Append(AComponent);
    AComponent->FFreeNotifies.Append(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    FFreeNotifies.Remove(AComponent);
    AComponent->FFreeNotifies.Remove(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove)
        FFreeNotifies.Remove(AComponent);
    if (HasState(csDestroying) || FListeners.Empty())
        return;
    // Copy: a handler may destroy or insert components.
    for (TComponent* listener : FListeners.Snapshot())
        if (listener != AComponent && FListeners.Contains(listener))
            listener->Notification(AComponent, Operation);
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~unsigned(csDesigning);
    FComponents.ForEach([designing](TComponent* c) { c->SetDesigning(designing); });
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    FComponents.ForEach([](TComponent* c) { c->BeginLoading(); });
}

void TComponent::EndLoading()
{
    Loaded();
    // Loaded may create or destroy components: walk the slots as they were, skipping holes.
    struct THold {
        TOwnedList& List;
        explicit THold(TOwnedList& list) : List(list) { List.Hold(true); }
        ~THold() { List.Hold(false); }
    } hold(FComponents);
    const std::size_t walked = FComponents.SlotCount();
    for (std::size_t i = 0; i < walked && i < FComponents.SlotCount(); ++i)
        if (TComponent* c = FComponents.SlotAt(i))
            c->EndLoading();
}

void TComponent::Loaded()
{
    FComponentState &= ~unsigned(csLoading);
}

void TComponent::CancelLoading()
{
    FComponentState &= ~unsigned(csLoading);
    FComponents.ForEach([](TComponent* c) { c->CancelLoading(); });
}

void TComponent::WriteState(TWriter& Writer)
{
    Writer.WriteComponentData(this);
}

void TComponent::RegisterMethod(const QString& Name, const QVariant& Handler)
{
    for (auto& [name, handler] : FMethods)
        if (name.compare(Name, Qt::CaseInsensitive) == 0) {
            handler = Handler;
            return;
        }
    FMethods.emplace_back(Name, Handler);
}

QVariant TComponent::MethodAddress(const QString& Name) const
{
    for (const auto& [name, handler] : FMethods)
        if (name.compare(Name, Qt::CaseInsensitive) == 0)
            return handler;
    return {};
}

void TComponent::SetEventHandlerName(const QByteArray& Event, const QString& Handler)
{
    auto it = std::find_if(FEventHandlerNames.begin(), FEventHandlerNames.end(), [&](const auto& e) { return e.first == Event; });
    if (Handler.isEmpty()) {
        if (it != FEventHandlerNames.end())
            FEventHandlerNames.erase(it);
    } else if (it != FEventHandlerNames.end()) {
        it->second = Handler;
    } else {
        FEventHandlerNames.emplace_back(Event, Handler);
    }
}

QString TComponent::EventHandlerName(const QByteArray& Event) const
{
    for (const auto& [event, handler] : FEventHandlerNames)
        if (event == Event)
            return handler;
    return {};
}

// ---- The owned list -------------------------------------------------------------------------

void TComponent::TOwnedList::Append(TComponent* c)
{
    c->FOwnerSlot = FSlots.size();
    FSlots.push_back(c);
}

void TComponent::TOwnedList::Remove(TComponent* c)
{
    FSlots[c->FOwnerSlot] = nullptr;
    ++FHoles;
    // Keeps Last() an entry, so taking entries from the back never scans.
    while (!FSlots.empty() && !FSlots.back()) {
        FSlots.pop_back();
        --FHoles;
    }
    if (FHolds == 0 && FHoles > 16 && FHoles > FSlots.size() / 2)
        Compact();
}

TComponent* TComponent::TOwnedList::At(int index) const
{
    if (FHoles == 0)
        return FSlots[std::size_t(index)];
    if (FHolds == 0) {
        Compact();
        return FSlots[std::size_t(index)];
    }
    // Asked for by position while a walk holds the list: count the entries.
    for (TComponent* c : FSlots)
        if (c && index-- == 0)
            return c;
    return nullptr;
}

void TComponent::TOwnedList::Compact() const
{
    std::size_t live = 0;
    for (TComponent* c : FSlots)
        if (c) {
            c->FOwnerSlot = live;
            FSlots[live++] = c;
        }
    FSlots.resize(live);
    FHoles = 0;
}

} // namespace Vellaro
