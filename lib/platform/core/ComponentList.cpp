#include "platform/core/ComponentList.h"

#include <algorithm>

namespace Vellaro {

TComponentList::TComponentList() = default;
TComponentList::~TComponentList() = default;

std::size_t TComponentList::Slot(const TComponent* c) const
{
    if (FIndex) {
        const auto it = FIndex->find(c);
        return it == FIndex->end() ? NotFound : it->second;
    }
    const auto it = std::find(FSlots.begin(), FSlots.end(), c);
    return it == FSlots.end() ? NotFound : std::size_t(it - FSlots.begin());
}

bool TComponentList::Append(TComponent* c)
{
    if (!c || Contains(c))
        return false;
    FSlots.push_back(c);
    if (FIndex)
        FIndex->emplace(c, FSlots.size() - 1);
    else if (FSlots.size() > IndexFrom)
        Reindex();
    return true;
}

bool TComponentList::Remove(const TComponent* c)
{
    const std::size_t slot = c ? Slot(c) : NotFound;
    if (slot == NotFound)
        return false;
    FSlots[slot] = nullptr;
    ++FHoles;
    if (FIndex)
        FIndex->erase(c);
    DropTrailingHoles();
    if (FHoles > IndexFrom && FHoles > FSlots.size() / 2)
        Compact();
    return true;
}

void TComponentList::DropTrailingHoles()
{
    // Keeps Last() an entry, so taking entries from the back never scans.
    while (!FSlots.empty() && !FSlots.back()) {
        FSlots.pop_back();
        --FHoles;
    }
}

TComponent* TComponentList::At(int index) const
{
    if (FHoles)
        Compact();
    return FSlots[std::size_t(index)];
}

std::vector<TComponent*> TComponentList::Snapshot() const
{
    std::vector<TComponent*> out;
    out.reserve(std::size_t(Count()));
    ForEach([&](TComponent* c) { out.push_back(c); });
    return out;
}

void TComponentList::Compact() const
{
    FSlots.erase(std::remove(FSlots.begin(), FSlots.end(), nullptr), FSlots.end());
    FHoles = 0;
    if (FSlots.size() > IndexFrom)
        Reindex();
    else
        FIndex.reset();
}

void TComponentList::Reindex() const
{
    if (!FIndex)
        FIndex = std::make_unique<TIndex>();
    FIndex->clear();
    FIndex->reserve(FSlots.size());
    for (std::size_t i = 0; i < FSlots.size(); ++i)
        if (FSlots[i])
            FIndex->emplace(FSlots[i], i);
}

} // namespace Vellaro
