#include "platform/core/NameIndex.h"

#include "platform/core/Component.h"
#include "platform/core/NameKey.h"

#include <bit>
#include <utility>

namespace Vellaro {

size_t TNameIndex::Hash(QStringView Name)
{
    return FoldedNameHash(Name);
}

size_t TNameIndex::Home(size_t hash) const
{
    // Fibonacci hashing spreads the high bits of the product over the table, so names that
    // differ only in their last characters land apart.
    return size_t((quint64(hash) * 0x9E3779B97F4A7C15ull) >> FShift);
}

TComponent* TNameIndex::Find(QStringView Name, size_t Hash) const
{
    if (FCount == 0)
        return nullptr;
    for (size_t i = Home(Hash); FSlots[i].Component; i = Next(i)) {
        const TSlot& slot = FSlots[i];
        if (slot.Hash != Hash)
            continue;
        const QString& name = slot.Component->FName;
        if (name.size() == Name.size() && QStringView(name).compare(Name, Qt::CaseInsensitive) == 0)
            return slot.Component;
    }
    return nullptr;
}

void TNameIndex::Insert(TComponent* Component, size_t Hash)
{
    if ((FCount + 1) * 4 > FSlots.size() * 3)
        Grow();
    Place({Hash, Component});
    ++FCount;
}

void TNameIndex::Place(const TSlot& slot)
{
    size_t i = Home(slot.Hash);
    while (FSlots[i].Component)
        i = Next(i);
    FSlots[i] = slot;
}

void TNameIndex::Remove(const TComponent* Component, size_t Hash)
{
    if (FCount == 0)
        return;
    size_t hole = Home(Hash);
    while (FSlots[hole].Component != Component) {
        if (!FSlots[hole].Component)
            return;
        hole = Next(hole);
    }
    // Backward shift: an entry after the hole moves into it unless its home lies cyclically
    // after the hole (then it would be placed before its home and never found), so no
    // tombstones are left to lengthen later probes.
    for (size_t i = Next(hole); FSlots[i].Component; i = Next(i)) {
        const size_t home = Home(FSlots[i].Hash);
        const bool homeAfterHole = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
        if (homeAfterHole)
            continue;
        FSlots[hole] = FSlots[i];
        hole = i;
    }
    FSlots[hole] = {};
    --FCount;
}

void TNameIndex::Clear()
{
    FSlots = {};
    FCount = 0;
    FShift = 64;
}

void TNameIndex::Grow()
{
    const size_t size = FSlots.empty() ? 16 : FSlots.size() * 2;
    std::vector<TSlot> old = std::exchange(FSlots, std::vector<TSlot>(size));
    FShift = 64 - std::countr_zero(size);
    for (const TSlot& slot : old)
        if (slot.Component)
            Place(slot);
}

} // namespace Vellaro
