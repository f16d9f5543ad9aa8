#pragma once
// The class registry: form files name a component's class, and the reader creates it from the
// registry. A class joins with one line in its unit's source file:
//     VELLARO_REGISTER_CLASS(TPrintJob)
// A set type TSet<E> used by a published property joins with VELLARO_REGISTER_SET(E), and a
// property type with its own stored form (fonts, bitmaps) with RegisterPropertyCodec.

#include "platform/core/Filer.h"

#include <QMetaEnum>
#include <QMetaObject>
#include <QMetaType>
#include <QObject>
#include <functional>

class QMetaProperty;

namespace Vellaro {

/// A registered component class: its name in form files, its meta-object and a factory.
struct VELLARO_EXPORT TComponentClass {
    QString Name;
    const QMetaObject* MetaObject = nullptr;
    std::function<TComponent*(TComponent* Owner)> Create;
};

/// Adds a class; a second registration under the same name replaces the first.
VELLARO_EXPORT void RegisterComponentClass(const QString& Name, const QMetaObject* MetaObject,
    std::function<TComponent*(TComponent* Owner)> Create);
/// The class registered under Name (case-insensitive), or nullptr.
VELLARO_EXPORT const TComponentClass* FindComponentClass(const QString& Name);
/// The name a form file gives the class of Object: its registered name, or its C++ class name
/// without namespace when it is not registered.
VELLARO_EXPORT QString StreamClassName(const QObject* Object);

/// How a property type is written and read when the generic rules do not fit.
struct VELLARO_EXPORT TPropertyCodec {
    /// Writes the property (one or more lines) or nothing when it is not to be stored.
    std::function<void(TWriter& Writer, const QString& Name, const QVariant& Value)> Write;
    /// Applies a read value; Sub is empty for "Prop = value", else the part after "Prop.".
    std::function<void(QObject* Object, const QMetaProperty& Property, const QString& Sub, const TFilerValue& Value)> Read;
};
VELLARO_EXPORT void RegisterPropertyCodec(QMetaType Type, TPropertyCodec Codec);
VELLARO_EXPORT const TPropertyCodec* FindPropertyCodec(QMetaType Type);

/// Registers the set type TSet<E> of a Qt-registered enumeration E: written as [a, b].
VELLARO_EXPORT void RegisterSetType(QMetaType SetType, std::function<QMetaEnum()> Enum);

/// The properties a form file stores for an object of this meta-object, in streaming order:
/// those declared by the library's classes, base classes first; Qt's own are left out.
VELLARO_EXPORT const std::vector<int>& StreamedProperties(const QMetaObject* MetaObject);
/// The index of a streamed property by name (case-insensitive), or -1.
VELLARO_EXPORT int FindStreamedProperty(const QMetaObject* MetaObject, const QString& Name);

template<class T>
struct TClassRegistration {
    explicit TClassRegistration(const char* name)
    {
        RegisterComponentClass(QString::fromLatin1(name), &T::staticMetaObject,
            [](TComponent* Owner) -> TComponent* { return new T(Owner); });
    }
};

template<class E>
struct TSetRegistration {
    TSetRegistration() { RegisterSetType(QMetaType::fromType<TSet<E>>(), [] { return QMetaEnum::fromType<E>(); }); }
};

} // namespace Vellaro

#define VELLARO_REGISTER_CLASS(T) \
    static const ::Vellaro::TClassRegistration<T> vellaroClassRegistration_##T(#T);
#define VELLARO_REGISTER_SET(E) \
    static const ::Vellaro::TSetRegistration<E> vellaroSetRegistration_##E;
