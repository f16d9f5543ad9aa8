#include "platform/core/Component.h"

#include "platform/core/Writer.h"

#include <algorithm>

namespace Vellaro {

namespace {
template<class T>
bool Contains(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}
template<class T>
void Erase(std::vector<T*>& list, const T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

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
    while (!FFreeNotifies.empty()) {
        TComponent* subscriber = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Erase(subscriber->FFreeNotifies, this);
        subscriber->Notification(this, opRemove);
    }
}

void TComponent::DestroyOwnedComponents()
{
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        Remove(child);
        delete child;
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EComponentError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FComponents[size_t(index)];
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
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
    NameChanged(old);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent == this || Contains(FComponents, AComponent))
        return;
    if (!AComponent->FName.isEmpty() && FindComponent(AComponent->FName))
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(AComponent->FName));
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->SetOwnerState(this);
    if (HasState(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || !Contains(FComponents, AComponent))
        return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Remove(TComponent* AComponent)
{
    Erase(FComponents, AComponent);
    AComponent->SetOwnerState(nullptr);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (!Contains(FFreeNotifies, AComponent))
        FFreeNotifies.push_back(AComponent);
    if (!Contains(AComponent->FFreeNotifies, this))
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    Erase(FFreeNotifies, AComponent);
    Erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove)
        Erase(FFreeNotifies, AComponent);
    if (HasState(csDestroying))
        return;
    // Copy: a handler may destroy or insert components.
    const std::vector<TComponent*> children = FComponents;
    for (TComponent* child : children)
        if (child != AComponent && Contains(FComponents, child))
            child->Notification(AComponent, Operation);
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~unsigned(csDesigning);
    for (TComponent* c : FComponents)
        c->SetDesigning(designing);
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::EndLoading()
{
    Loaded();
    const std::vector<TComponent*> children = FComponents;
    for (TComponent* c : children)
        if (Contains(FComponents, c))
            c->EndLoading();
}

void TComponent::Loaded()
{
    FComponentState &= ~unsigned(csLoading);
}

void TComponent::CancelLoading()
{
    FComponentState &= ~unsigned(csLoading);
    for (TComponent* c : FComponents)
        c->CancelLoading();
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

} // namespace Vellaro
