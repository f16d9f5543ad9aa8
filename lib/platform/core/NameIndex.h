#pragma once
// TNameIndex: an owner's components by name, whatever the name's case. Open addressing over
// (hash, component) pairs: growing and probing read only the stored hashes, and a component's
// name only when its whole hash matches, so a look-up touches the same few cache lines however
// many names the index holds.

#include "vellaro_export.h"

#include <QStringView>
#include <cstddef>
#include <vector>

namespace Vellaro {

class TComponent;

class VELLARO_EXPORT TNameIndex {
public:
    /// The hash of a name as the index keeps it (case folded).
    static size_t Hash(QStringView Name);

    /// The component named Name (whose hash is Hash), or nullptr.
    TComponent* Find(QStringView Name, size_t Hash) const;
    /// Adds a component under its current name, whose hash is Hash; the name must be free.
    void Insert(TComponent* Component, size_t Hash);
    /// Takes out the component filed under the hash Hash; nothing when it is not there.
    void Remove(const TComponent* Component, size_t Hash);
    void Clear();
    bool Empty() const { return FCount == 0; }

private:
    struct TSlot {
        size_t Hash = 0;
        /// nullptr: a free slot.
        TComponent* Component = nullptr;
    };
    size_t Home(size_t hash) const;
    size_t Next(size_t slot) const { return (slot + 1) & (FSlots.size() - 1); }
    void Place(const TSlot& slot);
    void Grow();

    /// A power of two in size, at most three quarters full.
    std::vector<TSlot> FSlots;
    size_t FCount = 0;
    int FShift = 64;
};

} // namespace Vellaro
