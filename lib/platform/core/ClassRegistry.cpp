#include "platform/core/ClassRegistry.h"

#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "platform/core/NameKey.h"

#include <QHash>
#include <QMetaProperty>
#include <unordered_map>
#include <memory>

namespace Vellaro {

namespace {

struct TNameKeyHash {
    size_t operator()(const TNameKey& key) const noexcept { return qHash(key); }
};

// Function-local statics: classes register from static initialisers of other units.
std::unordered_map<TNameKey, TComponentClass, TNameKeyHash>& Classes()
{
    static std::unordered_map<TNameKey, TComponentClass, TNameKeyHash> classes;
    return classes;
}

QHash<const QMetaObject*, QString>& ClassNames()
{
    static QHash<const QMetaObject*, QString> names;
    return names;
}

QHash<int, TPropertyCodec>& Codecs()
{
    static QHash<int, TPropertyCodec> codecs;
    return codecs;
}

struct TPropertyTable {
    std::vector<int> Order;
    QHash<TNameKey, int> ByName; // name in any case -> index
};

const TPropertyTable& PropertyTable(const QMetaObject* mo)
{
    static QHash<const QMetaObject*, std::shared_ptr<TPropertyTable>> tables;
    auto it = tables.constFind(mo);
    if (it != tables.constEnd())
        return **it;
    // The library's classes, from the most derived up to the first of Qt's own (named Q...).
    std::vector<const QMetaObject*> chain;
    for (const QMetaObject* m = mo; m && !QByteArray(m->className()).startsWith('Q'); m = m->superClass())
        chain.insert(chain.begin(), m);
    auto table = std::make_shared<TPropertyTable>();
    for (const QMetaObject* m : chain)
        for (int i = m->propertyOffset(); i < m->propertyCount(); ++i) { // the class's own
            table->Order.push_back(i);
            table->ByName.insert(TNameKey{QString::fromLatin1(mo->property(i).name())}, i);
        }
    tables.insert(mo, table);
    return *table;
}

} // namespace

void RegisterComponentClass(const QString& Name, const QMetaObject* MetaObject, std::function<TComponent*(TComponent* Owner)> Create)
{
    Classes().insert_or_assign(TNameKey{Name}, TComponentClass{Name, MetaObject, std::move(Create)});
    ClassNames().insert(MetaObject, Name);
}

const TComponentClass* FindComponentClass(const QString& Name)
{
    auto it = Classes().find(TNameKey{Name});
    return it == Classes().end() ? nullptr : &it->second;
}

QString StreamClassName(const QObject* Object)
{
    const QMetaObject* mo = Object->metaObject();
    auto it = ClassNames().constFind(mo);
    if (it != ClassNames().constEnd())
        return *it;
    return QString::fromLatin1(mo->className()).section(QLatin1String("::"), -1);
}

void RegisterPropertyCodec(QMetaType Type, TPropertyCodec Codec)
{
    Codecs().insert(Type.id(), std::move(Codec));
}

const TPropertyCodec* FindPropertyCodec(QMetaType Type)
{
    auto it = Codecs().constFind(Type.id());
    return it == Codecs().constEnd() ? nullptr : &*it;
}

void RegisterSetType(QMetaType SetType, std::function<QMetaEnum()> Enum)
{
    // Every TSet<E> holds its elements as one 32-bit word of bits, element i at bit i.
    TPropertyCodec codec;
    codec.Write = [Enum](TWriter& writer, const QString& name, const QVariant& value) {
        const QMetaEnum e = Enum();
        const quint32 bits = *static_cast<const quint32*>(value.constData());
        QStringList elements;
        for (int i = 0; i < e.keyCount(); ++i)
            if (e.value(i) >= 0 && e.value(i) < 32 && (bits & (quint32(1) << e.value(i))))
                elements << QString::fromLatin1(e.key(i));
        writer.WriteProperty(name, TWriter::FormatSet(elements));
    };
    codec.Read = [Enum, SetType](QObject* object, const QMetaProperty& property, const QString& sub, const TFilerValue& value) {
        const QString name = QString::fromLatin1(property.name());
        if (!sub.isEmpty())
            throw EReadError(value.Line, QStringLiteral("%1 has no sub-properties; expected a set").arg(name));
        const quint32 bits = TReader::ToSetBits(value, name, Enum());
        if (!property.write(object, QVariant(SetType, &bits)))
            throw EReadError(value.Line, QStringLiteral("%1 refused the set read").arg(name));
    };
    static_assert(sizeof(TSet<int>) == sizeof(quint32));
    RegisterPropertyCodec(SetType, std::move(codec));
}

const std::vector<int>& StreamedProperties(const QMetaObject* MetaObject)
{
    return PropertyTable(MetaObject).Order;
}

int FindStreamedProperty(const QMetaObject* MetaObject, const QString& Name)
{
    return PropertyTable(MetaObject).ByName.value(TNameKey{Name}, -1);
}

} // namespace Vellaro
