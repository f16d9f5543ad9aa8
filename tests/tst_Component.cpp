// Ownership, names and removal notification of components.
#include "platform/core/Component.h"
#include "platform/core/NameIndex.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <vector>

using namespace Vellaro;

namespace {
/// Remembers every notification it receives and may hold a plain reference to another component.
class Probe : public TComponent {
public:
    /// With a log, it listens to its siblings and logs what it hears.
    explicit Probe(TComponent* owner, std::vector<std::pair<TComponent*, TOperation>>* log = nullptr)
        : TComponent(owner), Log(log)
    {
        if (log)
            ListenToSiblings();
    }
    ~Probe() override
    {
        // A handler reaching Linked after it went away would be a use after free.
        DestroyComponent();
    }
    TComponent* Linked = nullptr;
    std::vector<std::pair<TComponent*, TOperation>>* Log;
    void ListenToSiblingsForTest(bool listen) { ListenToSiblings(listen); }

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

TEST(Component, OnlyListenersHearOfSiblingsAlsoThroughAnOwnerThatRelays)
{
    std::vector<std::pair<TComponent*, TOperation>> listenerLog, quietLog, nestedLog;
    TComponent owner;
    auto* listener = new Probe(&owner, &listenerLog);
    auto* quiet = new Probe(&owner); // logs, but does not listen
    quiet->Log = &quietLog;
    auto* relay = new TComponent(&owner);   // listens for nobody itself
    auto* nested = new Probe(relay, &nestedLog);
    listenerLog.clear(); // it heard of the others arriving
    auto* other = new TComponent(&owner);
    delete other;
    const std::vector<std::pair<TComponent*, TOperation>> expected{{other, opInsert}, {other, opRemove}};
    EXPECT_EQ(listenerLog, expected);
    EXPECT_EQ(nestedLog, expected) << "a listening component hears of its owner's siblings";
    EXPECT_TRUE(quietLog.empty());
    // Once the nested component stops listening, the relay no longer passes anything on.
    nested->ListenToSiblingsForTest(false);
    nestedLog.clear();
    delete new TComponent(&owner);
    EXPECT_TRUE(nestedLog.empty());
    EXPECT_TRUE(quietLog.empty());
    EXPECT_EQ(listenerLog.size(), 4u);
}

TEST(Component, SiblingThatSubscribedHearsOfAPlainRemoval)
{
    // Not destroyed, only taken out of the owner: a sibling referring to it lets go of it.
    TComponent owner;
    TComponent elsewhere;
    auto* target = new TComponent(&owner);
    auto* holder = new Probe(&owner);
    holder->Linked = target;
    target->FreeNotification(holder);
    owner.RemoveComponent(target);
    EXPECT_EQ(holder->Linked, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    elsewhere.InsertComponent(target);
    EXPECT_EQ(target->Owner(), &elsewhere);
}

TEST(Component, NamesStayFindableThroughRenameRemovalAndMove)
{
    TComponent first;
    TComponent second;
    auto* job = new TComponent(&first);
    job->SetName(QStringLiteral("Report"));
    job->SetName(QStringLiteral("REPORT")); // same name in other case: still its own
    EXPECT_EQ(first.FindComponent(QStringLiteral("report")), job);
    job->SetName(QStringLiteral("Summary"));
    EXPECT_EQ(first.FindComponent(QStringLiteral("Report")), nullptr);
    EXPECT_EQ(first.FindComponent(QStringLiteral("summary")), job);
    second.InsertComponent(job);
    EXPECT_EQ(first.FindComponent(QStringLiteral("Summary")), nullptr);
    EXPECT_EQ(second.FindComponent(QStringLiteral("Summary")), job);
    auto* clash = new TComponent(&first);
    clash->SetName(QStringLiteral("summary"));
    EXPECT_THROW(second.InsertComponent(clash), EComponentError);
    EXPECT_EQ(clash->Owner(), &first);
    job->SetName(QString());
    EXPECT_EQ(second.FindComponent(QStringLiteral("Summary")), nullptr);
}

TEST(Component, OrderAndCountSurviveRemovalsFromAnywhere)
{
    TComponent owner;
    std::vector<TComponent*> kept;
    std::vector<TComponent*> removed;
    for (int i = 0; i < 300; ++i) {
        auto* c = new TComponent(&owner);
        c->SetName(QStringLiteral("C%1").arg(i));
        (i % 3 == 1 ? removed : kept).push_back(c);
    }
    for (TComponent* c : removed)
        delete c;
    ASSERT_EQ(owner.ComponentCount(), int(kept.size()));
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(owner.Components(int(i)), kept[i]);
    EXPECT_EQ(owner.FindComponent(QStringLiteral("C1")), nullptr);
    EXPECT_EQ(owner.FindComponent(QStringLiteral("C299")), kept.back());
    // Appending after removals keeps the new one last.
    auto* late = new TComponent(&owner);
    EXPECT_EQ(owner.Components(owner.ComponentCount() - 1), late);
}

TEST(Component, NamesAgreeWithAModelThroughManyRenamesAndRemovals)
{
    // Random renames, removals and additions (fixed seed) in an owner whose name index grows,
    // wraps around its end and closes gaps after removals; every name the model holds must be
    // found, in any case, and no other.
    TComponent owner;
    std::map<QString, TComponent*> model;
    std::mt19937 random(7);
    int serial = 0;
    const auto freshName = [&] { return QStringLiteral("Part%1").arg(serial++); };
    const auto anyNamed = [&] {
        auto it = model.begin();
        std::advance(it, std::uniform_int_distribution<size_t>(0, model.size() - 1)(random));
        return it;
    };
    for (int step = 0; step < 3000; ++step) {
        const int action = int(random() % 4);
        if (model.empty() || action <= 1) {
            auto* c = new TComponent(&owner);
            const QString name = freshName();
            c->SetName(name);
            model[name.toLower()] = c;
        } else if (action == 2) {
            const auto it = anyNamed();
            TComponent* c = it->second;
            model.erase(it);
            const QString name = freshName();
            c->SetName(name.toUpper());
            model[name.toLower()] = c;
        } else {
            const auto it = anyNamed();
            delete it->second;
            model.erase(it);
        }
    }
    ASSERT_EQ(owner.ComponentCount(), int(model.size()));
    for (int i = 0; i < serial; ++i) {
        const QString name = QStringLiteral("part%1").arg(i);
        const auto it = model.find(name);
        ASSERT_EQ(owner.FindComponent(name), it == model.end() ? nullptr : it->second) << name.toStdString();
    }
}

TEST(Component, NameIndexFindsTheRestAfterRemovalsFromRunsThatWrapAround)
{
    // Names given two hashes fill two runs of slots from the hashes' homes, which may meet and,
    // for some of the many pairs tried, wrap past the table's end. Taking the names out in a
    // random order must close each gap so that every name left is still found.
    std::mt19937 random(11);
    constexpr int count = 8;
    for (size_t base = 0; base < 64; ++base) {
        std::vector<std::unique_ptr<TComponent>> parts;
        TNameIndex index;
        const auto hashOf = [&](int i) { return base + size_t(i % 2) * 977; };
        for (int i = 0; i < count; ++i) {
            parts.push_back(std::make_unique<TComponent>());
            parts.back()->SetName(QStringLiteral("P%1").arg(i));
            index.Insert(parts.back().get(), hashOf(i));
        }
        std::vector<int> order(count);
        for (int i = 0; i < count; ++i)
            order[size_t(i)] = i;
        std::shuffle(order.begin(), order.end(), random);
        std::vector<bool> gone(count);
        for (const int k : order) {
            index.Remove(parts[size_t(k)].get(), hashOf(k));
            gone[size_t(k)] = true;
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(index.Find(parts[size_t(i)]->Name(), hashOf(i)), gone[size_t(i)] ? nullptr : parts[size_t(i)].get())
                    << "hashes from " << base << ", name P" << i;
        }
        EXPECT_TRUE(index.Empty());
    }
}
