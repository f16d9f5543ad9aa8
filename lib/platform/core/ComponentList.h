#pragma once
// TComponentList: the components an owner holds (or a component listens to), in the order they
// came, with constant-time append, lookup and removal however many there are. A removal leaves a
// hole; holes are closed in one pass when they outnumber the entries, or when an entry is asked
// for by index, so every operation costs O(1) amortised. Short lists (most components own or
// watch a few others) are searched directly and carry no index.

#include "vellaro_export.h"

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Vellaro {

class TComponent;

class VELLARO_EXPORT TComponentList {
public:
    TComponentList();
    ~TComponentList();
    TComponentList(const TComponentList&) = delete;
    TComponentList& operator=(const TComponentList&) = delete;

    int Count() const { return int(FSlots.size() - FHoles); }
    bool Empty() const { return FSlots.size() == FHoles; }
    bool Contains(const TComponent* c) const { return c && Slot(c) != NotFound; }
    /// Appends c unless it is already listed; returns whether it was added.
    bool Append(TComponent* c);
    /// Removes c; returns whether it was listed.
    bool Remove(const TComponent* c);
    /// The entry at index in order (closes the holes first).
    TComponent* At(int index) const;
    /// The newest entry, or nullptr.
    TComponent* Last() const { return FSlots.empty() ? nullptr : FSlots.back(); }
    /// A copy of the entries in order, for walks during which handlers may change the list.
    std::vector<TComponent*> Snapshot() const;
    /// Calls f on each entry in order; f must not change the list.
    template<class F>
    void ForEach(F&& f) const
    {
        for (TComponent* c : FSlots)
            if (c)
                f(c);
    }

private:
    static constexpr std::size_t NotFound = std::size_t(-1);
    /// Lists longer than this keep an index from entry to slot.
    static constexpr std::size_t IndexFrom = 16;
    using TIndex = std::unordered_map<const TComponent*, std::size_t>;

    std::size_t Slot(const TComponent* c) const;
    void Compact() const;
    void DropTrailingHoles();
    void Reindex() const;

    mutable std::vector<TComponent*> FSlots;
    mutable std::unique_ptr<TIndex> FIndex;
    mutable std::size_t FHoles = 0;
};

} // namespace Vellaro
