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

TComponent::TLinks& TComponent::Links()
{
    if (!FLinks)
        FLinks = std::make_unique<TLinks>();
    return *FLinks;
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
    while (TComponent* subscriber = FLinks ? FLinks->FreeNotifies.Last() : nullptr) {
        FLinks->FreeNotifies.Remove(subscriber);
        if (subscriber->FLinks)
            subscriber->FLinks->FreeNotifies.Remove(this);
        subscriber->Notification(this, opRemove);
    }
}

void TComponent::DestroyOwnedComponents()
{
    // The whole name index goes at once: taking names out one by one visits the index at
    // random, which costs more the larger it is. The components go newest first, each taken
    // from the back of the list: O(1) apiece.
    if (FLinks)
        FLinks->Names.Clear();
    while (TComponent* child = FLinks ? FLinks->Components.Last() : nullptr) {
        Remove(child);
        delete child;
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EComponentError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FLinks->Components.At(index);
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty() || !FLinks)
        return nullptr;
    return FLinks->Names.Find(name, TNameIndex::Hash(name));
}

void TComponent::SetName(const QString& name)
{
    if (name == FName)
        return;
    // The new name is hashed once, for the check and for filing it.
    const size_t hash = FOwner && !name.isEmpty() ? TNameIndex::Hash(name) : 0;
    if (FOwner && !name.isEmpty() && FOwner->FLinks) {
        TComponent* other = FOwner->FLinks->Names.Find(name, hash);
        if (other && other != this)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(name));
    }
    const QString old = std::exchange(FName, name);
    if (FOwner) {
        TLinks& links = FOwner->Links();
        if (!old.isEmpty())
            links.Names.Remove(this, TNameIndex::Hash(old));
        if (!name.isEmpty())
            links.Names.Insert(this, hash);
    }
    NameChanged(old);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent == this || AComponent->FOwner == this)
        return;
    const bool named = !AComponent->FName.isEmpty();
    const size_t hash = named ? TNameIndex::Hash(AComponent->FName) : 0;
    if (named && FLinks && FLinks->Names.Find(AComponent->FName, hash))
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(AComponent->FName));
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    TLinks& links = Links();
    links.Components.Append(AComponent);
    if (named)
        links.Names.Insert(AComponent, hash);
    AComponent->SetOwnerState(this);
    if (AComponent->Hears()) {
        const bool before = Hears();
        links.Listeners.Append(AComponent);
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
    if (!AComponent->FLinks || AComponent->FLinks->FreeNotifies.Empty())
        return;
    for (TComponent* subscriber : AComponent->FLinks->FreeNotifies.Snapshot())
        if (AComponent->FLinks->FreeNotifies.Contains(subscriber) && subscriber->FOwner == this && subscriber != AComponent
            && !(FLinks && FLinks->Listeners.Contains(subscriber)) && !subscriber->HasState(csDestroying))
            subscriber->Notification(AComponent, opRemove);
}

void TComponent::Remove(TComponent* AComponent)
{
    // Only an owner lists components, so its links exist.
    TLinks& links = *FLinks;
    links.Components.Remove(AComponent);
    if (!AComponent->FName.isEmpty() && !links.Names.Empty())
        links.Names.Remove(AComponent, TNameIndex::Hash(AComponent->FName));
    const bool before = Hears();
    if (links.Listeners.Remove(AComponent))
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
        FOwner->Links().Listeners.Append(this);
    else
        FOwner->Links().Listeners.Remove(this);
    FOwner->UpdateListening(ownerBefore);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    Links().FreeNotifies.Append(AComponent);
    AComponent->Links().FreeNotifies.Append(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    if (FLinks)
        FLinks->FreeNotifies.Remove(AComponent);
    if (AComponent->FLinks)
        AComponent->FLinks->FreeNotifies.Remove(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (!FLinks)
        return;
    if (Operation == opRemove)
        FLinks->FreeNotifies.Remove(AComponent);
    if (HasState(csDestroying) || FLinks->Listeners.Empty())
        return;
    // Copy: a handler may destroy or insert components.
    for (TComponent* listener : FLinks->Listeners.Snapshot())
        if (listener != AComponent && FLinks->Listeners.Contains(listener))
            listener->Notification(AComponent, Operation);
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~unsigned(csDesigning);
    if (FLinks)
        FLinks->Components.ForEach([designing](TComponent* c) { c->SetDesigning(designing); });
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    if (FLinks)
        FLinks->Components.ForEach([](TComponent* c) { c->BeginLoading(); });
}

void TComponent::EndLoading()
{
    Loaded();
    if (!FLinks)
        return;
    // Loaded may create or destroy components: walk the slots as they were, skipping holes.
    struct THold {
        TOwnedList& List;
        explicit THold(TOwnedList& list) : List(list) { List.Hold(true); }
        ~THold() { List.Hold(false); }
    } hold(FLinks->Components);
    TOwnedList& components = FLinks->Components;
    const std::size_t walked = components.SlotCount();
    for (std::size_t i = 0; i < walked && i < components.SlotCount(); ++i)
        if (TComponent* c = components.SlotAt(i))
            c->EndLoading();
}

void TComponent::Loaded()
{
    FComponentState &= ~unsigned(csLoading);
}

void TComponent::CancelLoading()
{
    FComponentState &= ~unsigned(csLoading);
    if (FLinks)
        FLinks->Components.ForEach([](TComponent* c) { c->CancelLoading(); });
}

void TComponent::WriteState(TWriter& Writer)
{
    Writer.WriteComponentData(this);
}

void TComponent::RegisterMethod(const QString& Name, const QVariant& Handler)
{
    auto& methods = Links().Methods;
    for (auto& [name, handler] : methods)
        if (name.compare(Name, Qt::CaseInsensitive) == 0) {
            handler = Handler;
            return;
        }
    methods.emplace_back(Name, Handler);
}

QVariant TComponent::MethodAddress(const QString& Name) const
{
    if (!FLinks)
        return {};
    for (const auto& [name, handler] : FLinks->Methods)
        if (name.compare(Name, Qt::CaseInsensitive) == 0)
            return handler;
    return {};
}

void TComponent::SetEventHandlerName(const QByteArray& Event, const QString& Handler)
{
    if (Handler.isEmpty() && !FLinks)
        return;
    auto& names = Links().EventHandlerNames;
    auto it = std::find_if(names.begin(), names.end(), [&](const auto& e) { return e.first == Event; });
    if (Handler.isEmpty()) {
        if (it != names.end())
            names.erase(it);
    } else if (it != names.end()) {
        it->second = Handler;
    } else {
        names.emplace_back(Event, Handler);
    }
}

QString TComponent::EventHandlerName(const QByteArray& Event) const
{
    if (!FLinks)
        return {};
    for (const auto& [event, handler] : FLinks->EventHandlerNames)
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
