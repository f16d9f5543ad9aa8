// Ownership, names and removal notification of components.
#include "platform/core/Component.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Vellaro;

namespace {
/// Remembers every notification it receives and may hold a plain reference to another component.
class Probe : public TComponent {
public:
    explicit Probe(TComponent* owner, std::vector<std::pair<TComponent*, TOperation>>* log = nullptr)
        : TComponent(owner), Log(log) {}
    ~Probe() override
    {
        // A handler reaching Linked after it went away would be a use after free.
        DestroyComponent();
    }
    TComponent* Linked = nullptr;
    std::vector<std::pair<TComponent*, TOperation>>* Log;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (Log)
            Log->emplace_back(c, op);
        if (op == opRemove && c == Linked)
            Linked = nullptr;
    }
};
} // namespace

TEST(Component, OwnerDestroysOwnedComponentsAndFindsThemByName)
{
    auto owner = std::make_unique<TComponent>();
    auto* a = new Probe(owner.get());
    a->SetName(QStringLiteral("First"));
    auto* b = new Probe(a);
    b->SetName(QStringLiteral("Inner"));
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->FindComponent(QStringLiteral("first")), a);
    EXPECT_EQ(owner->FindComponent(QStringLiteral("Inner")), nullptr);
    EXPECT_EQ(a->FindComponent(QStringLiteral("INNER")), b);
    owner.reset(); // destroys a and b; the sanitizer build proves nothing is touched afterwards
}

TEST(Component, DuplicateNameAmongSiblingsIsRefused)
{
    TComponent owner;
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName(QStringLiteral("Job"));
    EXPECT_THROW(b->SetName(QStringLiteral("JOB")), EComponentError);
    EXPECT_TRUE(b->Name().isEmpty());
    EXPECT_THROW(owner.Components(5), EComponentError);
}

TEST(Component, SiblingsHearOfInsertAndRemove)
{
    std::vector<std::pair<TComponent*, TOperation>> log;
    TComponent owner;
    auto* watcher = new Probe(&owner, &log);
    auto* other = new TComponent(&owner);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], std::make_pair(static_cast<TComponent*>(other), opInsert));
    delete other;
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], std::make_pair(static_cast<TComponent*>(other), opRemove));
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), watcher);
}

TEST(Component, FreeNotificationCrossesOwnersInEitherDestructionOrder)
{
    for (bool targetFirst : {true, false}) {
        auto ownerA = std::make_unique<TComponent>();
        auto ownerB = std::make_unique<TComponent>();
        auto* target = new TComponent(ownerA.get());
        auto* holder = new Probe(ownerB.get());
        holder->Linked = target;
        target->FreeNotification(holder);
        if (targetFirst) {
            ownerA.reset();
            EXPECT_EQ(holder->Linked, nullptr);
            ownerB.reset();
        } else {
            ownerB.reset();
            ownerA.reset(); // must not notify the destroyed holder
        }
    }
}

TEST(Component, WholeFormTornDownWithCrossReferences)
{
    // Components of one owner referring to each other, destroyed together by the owner.
    auto form = std::make_unique<TComponent>();
    std::vector<Probe*> probes;
    for (int i = 0; i < 5; ++i)
        probes.push_back(new Probe(form.get()));
    for (int i = 0; i < 5; ++i) {
        probes[size_t(i)]->Linked = probes[size_t((i + 1) % 5)];
        probes[size_t((i + 1) % 5)]->FreeNotification(probes[size_t(i)]);
    }
    form.reset();
}

TEST(Component, LoadingAndDesigningStatesReachOwnedComponents)
{
    TComponent owner;
    auto* child = new TComponent(&owner);
    owner.SetDesigning(true);
    EXPECT_TRUE(child->HasState(csDesigning));
    auto* late = new TComponent(&owner);
    EXPECT_TRUE(late->HasState(csDesigning));
    owner.BeginLoading();
    EXPECT_TRUE(child->HasState(csLoading));
    owner.EndLoading();
    EXPECT_FALSE(child->HasState(csLoading));
    EXPECT_FALSE(owner.HasState(csLoading));
}
