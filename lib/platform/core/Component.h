#pragma once
// TComponent: ownership, names, removal notification and component state, mixed into the
// QObject and QWidget classes of the library. Ownership is the owner's alone: an owner destroys
// the components it owns, whatever Qt parent a widget also has.

#include "platform/core/ComponentList.h"
#include "platform/core/NameIndex.h"
#include "platform/core/NameKey.h"
#include "platform/core/Types.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace Vellaro {

enum TOperation { opInsert, opRemove };

/// Flags of TComponent::ComponentState.
enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csDesigning = 1u << 1,
    csDestroying = 1u << 2,
};
using TComponentState = unsigned;

class TComponent;
class TFiler;
class TWriter;
/// The framework's notify event: a callable raised with the component that raises it.
using TNotifyEvent = std::function<void(TComponent* Sender)>;

/// A component: has an owner that destroys it, a name unique among its owner's components,
/// and receives Notification when a component it asked for a free notification goes away, or,
/// once it listens to its siblings (ListenToSiblings), when any component of the same owner is
/// inserted or goes away. Only listeners are told, so creating, naming, finding and removing
/// components cost O(1) amortised however many siblings there are.
class VELLARO_EXPORT TComponent {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    QString Name() const { return FName; }
    /// Renames the component; fails when a sibling already has the name (case-insensitively).
    void SetName(const QString& name);
    qintptr Tag() const { return FTag; }
    void SetTag(qintptr tag) { FTag = tag; }

    int ComponentCount() const { return FLinks ? FLinks->Components.Count() : 0; }
    TComponent* Components(int index) const;
    /// The owned component of that name (case-insensitive), or nullptr.
    TComponent* FindComponent(const QString& name) const;
    /// Takes ownership of AComponent (removing it from its previous owner).
    void InsertComponent(TComponent* AComponent);
    /// Gives up ownership of AComponent without destroying it.
    void RemoveComponent(TComponent* AComponent);

    /// Asks to be told (Notification with opRemove) when AComponent is destroyed, whatever its owner.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    TComponentState ComponentState() const { return FComponentState; }
    bool HasState(TComponentStateFlag flag) const { return (FComponentState & flag) != 0; }
    /// Marks this component and those it owns as being edited in a designer.
    void SetDesigning(bool designing);
    /// Brackets reading a component from a form file: csLoading is set in between, and
    /// EndLoading calls Loaded on this component and then on everything it owns.
    void BeginLoading();
    void EndLoading();

    /// Clears csLoading here and in everything owned, without Loaded (a read that failed).
    void CancelLoading();

    /// Sets csDestroying. Idempotent.
    void Destroying();

    // Form files.
    /// Declares properties stored besides the published ones (TFiler::DefineProperty).
    virtual void DefineProperties(TFiler& Filer) { (void)Filer; }
    /// Writes this component's object block; override to prepare state before the base writes it.
    virtual void WriteState(TWriter& Writer);
    /// The component a form file nests this one in (a control's parent control, a menu item's
    /// menu); nullptr nests it directly in the root.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    /// Called when a form file nests this component in Parent.
    virtual void SetParentComponent(TComponent* Parent) { (void)Parent; }

    // Event handlers by name.
    /// Offers a handler (a QVariant holding an event callable) under a name to the components
    /// read into this root.
    void RegisterMethod(const QString& Name, const QVariant& Handler);
    /// The handler registered under Name (case-insensitive), or an invalid QVariant.
    QVariant MethodAddress(const QString& Name) const;
    /// Records which named handler an event of this component is bound to (empty: none).
    void SetEventHandlerName(const QByteArray& Event, const QString& Handler);
    QString EventHandlerName(const QByteArray& Event) const;

protected:
    /// Called after all properties have been read from a form file; clears csLoading.
    virtual void Loaded();
    /// Called by SetName after the name changed from OldName.
    virtual void NameChanged(const QString& OldName) { (void)OldName; }
    /// Told about components inserted into or removed from this component's owner (when it
    /// listens to its siblings), about a sibling it subscribed to leaving the owner, and about
    /// free notifications. The base forwards it to the owned components that listen.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    /// Asks to hear of every component inserted into or removed from the owner (Notification with
    /// opInsert/opRemove), in this and any later owner. A component also relays what it hears to
    /// its own listening components, so a component with listeners listens too.
    void ListenToSiblings(bool listen = true);
    /// Runs the framework's destruction while the most derived object is still whole: marks the
    /// component as destroying, tells free-notification subscribers, destroys owned components and
    /// leaves the owner (which tells the owner's other components). Classes whose Notification
    /// handlers or subscribers need them intact call it first in their destructor. Idempotent.
    void DestroyComponent();

private:
    /// The index reads names in place rather than through copies from Name().
    friend class TNameIndex;
    void SetOwnerState(TComponent* owner) { FOwner = owner; }
    void DestroyOwnedComponents();
    void NotifyFreeSubscribers();
    void Remove(TComponent* AComponent);
    bool Hears() const { return FListensToSiblings || (FLinks && !FLinks->Listeners.Empty()); }
    /// Keeps the owner's listener list in step after Hears() may have changed from before.
    void UpdateListening(bool before);
    void NotifySiblingSubscribers(TComponent* AComponent);

    /// The owned components in order. Each knows its slot here, so removing one needs no
    /// search and no index: it leaves a hole that compaction closes once holes outnumber the
    /// entries, or when an entry is asked for by position (O(1) amortised).
    class TOwnedList {
    public:
        int Count() const { return int(FSlots.size() - FHoles); }
        void Append(TComponent* c);
        void Remove(TComponent* c);
        TComponent* At(int index) const;
        /// The newest entry, or nullptr.
        TComponent* Last() const { return FSlots.empty() ? nullptr : FSlots.back(); }
        template<class F>
        void ForEach(F&& f) const
        {
            for (TComponent* c : FSlots)
                if (c)
                    f(c);
        }
        /// Slots for a walk during which handlers may add or remove entries (no compaction
        /// happens while a walk holds the list).
        std::size_t SlotCount() const { return FSlots.size(); }
        TComponent* SlotAt(std::size_t slot) const { return FSlots[slot]; }
        void Hold(bool hold) { FHolds += hold ? 1 : -1; }

    private:
        void Compact() const;
        mutable std::vector<TComponent*> FSlots;
        mutable std::size_t FHoles = 0;
        int FHolds = 0;
    };

    /// What most components never use: owned components, listeners, subscriptions and handlers
    /// by name. Made on first use, so a component that owns and watches nothing (a print job in
    /// a long list) carries one pointer for all of it.
    struct TLinks {
        TOwnedList Components;
        /// Owned components that hear of sibling inserts and removals (Hears()).
        TComponentList Listeners;
        /// Owned components with a name, by name whatever its case.
        TNameIndex Names;
        TComponentList FreeNotifies;
        std::vector<std::pair<QString, QVariant>> Methods;
        std::vector<std::pair<QByteArray, QString>> EventHandlerNames;
    };
    /// The links, made when first needed.
    TLinks& Links();

    TComponent* FOwner = nullptr;
    /// This component's slot in its owner's list.
    std::size_t FOwnerSlot = 0;
    QString FName;
    qintptr FTag = 0;
    TComponentState FComponentState = 0;
    bool FDestroyed = false;
    bool FListensToSiblings = false;
    std::unique_ptr<TLinks> FLinks;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TNotifyEvent)
