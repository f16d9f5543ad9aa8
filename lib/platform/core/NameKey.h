#pragma once
// TNameKey: a name that compares and hashes without regard to case, as component, class and
// property names do, without making a case-folded copy of it for every look-up.

#include "vellaro_export.h"

#include <QHashFunctions>
#include <QString>

namespace Vellaro {

struct TNameKey {
    QString Name;
    friend bool operator==(const TNameKey& a, const TNameKey& b)
    {
        return a.Name.size() == b.Name.size() && a.Name.compare(b.Name, Qt::CaseInsensitive) == 0;
    }
};

/// Hashes the case-folded characters, so names that compare equal hash equal.
VELLARO_EXPORT size_t FoldedNameHash(QStringView name, size_t seed = 0) noexcept;
inline size_t qHash(const TNameKey& key, size_t seed = 0) noexcept { return FoldedNameHash(key.Name, seed); }

} // namespace Vellaro
