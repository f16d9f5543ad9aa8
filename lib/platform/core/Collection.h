#pragma once
// TCollection: a property holding a list of items of one kind, each with published properties
// of its own; form files store it as < item ... end item ... end >.

#include "vellaro_export.h"

#include <QObject>

namespace Vellaro {

/// A list of items stored in form files. The owner of the property owns the collection.
class VELLARO_EXPORT TCollection : public QObject {
    Q_OBJECT
public:
    virtual int Count() const = 0;
    /// The item at Index (0 <= Index < Count()), a QObject with published properties.
    virtual QObject* Item(int Index) = 0;
    virtual void Clear() = 0;
    /// Appends an item with its initial values and returns it.
    virtual QObject* Add() = 0;
};

} // namespace Vellaro
