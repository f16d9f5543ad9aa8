#include "platform/core/Reader.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/Collection.h"
#include "platform/core/FormParser.h"
#include "platform/core/NameKey.h"

#include <QFile>
#include <QMetaEnum>
#include <array>
#include <limits>
#include <optional>
#include <unordered_map>

namespace Vellaro {

namespace {

/// A QVariant of the property's own type holding an integer (enumerations are stored as such).
QVariant IntegerOfType(QMetaType type, qint64 value)
{
    if (type.sizeOf() == int(sizeof(qint32))) {
        const qint32 v = qint32(value);
        return QVariant(type, &v);
    }
    if (type.sizeOf() == int(sizeof(qint64)))
        return QVariant(type, &value);
    return {};
}

int FindKey(const QMetaEnum& e, const QString& key)
{
    for (int i = 0; i < e.keyCount(); ++i)
        if (key.compare(QLatin1String(e.key(i)), Qt::CaseInsensitive) == 0)
            return e.value(i);
    return -1;
}

[[noreturn]] void Expected(const TFilerValue& v, const QString& what, const QString& property)
{
    throw EReadError(v.Line, QStringLiteral("expected %1 for %2, found %3").arg(what, property, v.KindName()));
}

} // namespace

TReader::TReader(const QString& Text)
    : FText(Text)
    , FParser(FText)
{
}

// ---- Conversions ------------------------------------------------------------------------

qint64 TReader::ToInteger(const TFilerValue& Value, const QString& Property, qint64 Min, qint64 Max)
{
    if (Value.Kind != TFilerValue::vkInteger)
        Expected(Value, QStringLiteral("an integer"), Property);
    if (Value.Integer < Min || Value.Integer > Max)
        throw EReadError(Value.Line, QStringLiteral("the value %1 of %2 is out of range; expected %3 to %4")
            .arg(Value.Integer).arg(Property).arg(Min).arg(Max));
    return Value.Integer;
}

double TReader::ToFloat(const TFilerValue& Value, const QString& Property)
{
    if (Value.Kind == TFilerValue::vkInteger)
        return double(Value.Integer);
    if (Value.Kind != TFilerValue::vkFloat)
        Expected(Value, QStringLiteral("a number"), Property);
    return Value.Float;
}

QString TReader::ToString(const TFilerValue& Value, const QString& Property)
{
    if (Value.Kind != TFilerValue::vkString)
        Expected(Value, QStringLiteral("a string"), Property);
    return Value.Text;
}

QString TReader::ToIdent(const TFilerValue& Value, const QString& Property)
{
    if (Value.Kind != TFilerValue::vkIdent)
        Expected(Value, QStringLiteral("an identifier"), Property);
    return Value.Text;
}

bool TReader::ToBool(const TFilerValue& Value, const QString& Property)
{
    if (Value.Kind == TFilerValue::vkIdent) {
        if (Value.Text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (Value.Text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    Expected(Value, QStringLiteral("True or False"), Property);
}

quint32 TReader::ToSetBits(const TFilerValue& Value, const QString& Property, const QMetaEnum& Enum)
{
    if (Value.Kind != TFilerValue::vkSet)
        Expected(Value, QStringLiteral("a set in brackets"), Property);
    quint32 bits = 0;
    for (const QString& element : Value.Set) {
        const int v = FindKey(Enum, element);
        if (v < 0 || (!Enum.isFlag() && v >= 32))
            throw EReadError(Value.Line, QStringLiteral("'%1' is not an element of %2; expected one of %3")
                .arg(element, Property, QString::fromLatin1(Enum.name())));
        bits |= Enum.isFlag() ? quint32(v) : (quint32(1) << v);
    }
    return bits;
}

// ---- Look-ups made once per read ---------------------------------------------------------

/// A published property with what applying a value to it needs, found once.
struct TReader::TPropertyInfo {
    TPropertyInfo(const QMetaObject* MetaObject, int Index)
        : Property(MetaObject->property(Index))
        , Name(QString::fromLatin1(Property.name()))
        , Codec(FindPropertyCodec(Property.metaType()))
        , IsEvent(Name.startsWith(QLatin1String("On")))
        , IsEnum(Property.isEnumType())
        , Writable(Property.isWritable())
        , Type(Property.metaType())
        , Index(Index)
    {
    }

    /// Writes a value of exactly the property's type through the object's meta-call, where
    /// QMetaProperty::write ends, without wrapping it in a QVariant and checking its type again
    /// on every component; false when the property cannot be written.
    template<class T>
    bool WriteExact(QObject* Object, const T& Value) const
    {
        if (!Writable)
            return false;
        int status = -1;
        int flags = 0;
        // The setter takes the value by const reference (moc passes it on as such).
        void* argv[] = {const_cast<T*>(&Value), nullptr, &status, &flags};
        QMetaObject::metacall(Object, QMetaObject::WriteProperty, Index, argv);
        return true;
    }

    QMetaProperty Property;
    /// The property's own name, for messages.
    QString Name;
    const TPropertyCodec* Codec;
    bool IsEvent;
    bool IsEnum;
    bool Writable;
    QMetaType Type;
    /// The property's index among all of its class's properties, inherited ones included.
    int Index;
};

/// Classes and properties by the names the file gives them: a file names the same few of them
/// on every object, so each is looked up (and its meta-property built) once per read.
struct TReader::TLookups {
    /// Names are matched whatever their case, as properties are: the table then holds no more
    /// entries than the classes have names that read (an unknown name ends the read), however
    /// a file spells them.
    struct TKey {
        const QMetaObject* Class;
        TNameKey Name;
        friend bool operator==(const TKey& a, const TKey& b) { return a.Class == b.Class && a.Name == b.Name; }
    };
    struct TKeyHash {
        size_t operator()(const TKey& k) const noexcept { return qHash(k.Name, size_t(quintptr(k.Class))); }
    };
    /// A property line's name resolved for one class: the published property it sets and the
    /// part after its first dot, or no Info for a name the class does not publish.
    struct TEntry {
        std::optional<TPropertyInfo> Info;
        QString Sub;
    };

    const TEntry& Property(const QMetaObject* MetaObject, QStringView Name)
    {
        // A file names the same few properties again and again, spelt the same way: a recent
        // entry for the same class and spelling answers without hashing the name.
        TRecent& recent = Recent[RecentSlot(MetaObject, Name)];
        if (recent.Entry && recent.Class == MetaObject && QStringView(recent.Name) == Name)
            return *recent.Entry;
        const TEntry& entry = Find(MetaObject, Name);
        recent = {MetaObject, Name.toString(), &entry};
        return entry;
    }

    static size_t RecentSlot(const QMetaObject* MetaObject, QStringView Name)
    {
        size_t h = quintptr(MetaObject) / 16 + size_t(Name.size());
        if (!Name.isEmpty())
            h = (h * 31 + Name.front().unicode()) * 31 + Name.back().unicode();
        return h % RecentEntries;
    }

    const TEntry& Find(const QMetaObject* MetaObject, QStringView Name)
    {
        TKey key{MetaObject, TNameKey{Name.toString()}};
        if (const auto it = Properties.find(key); it != Properties.end())
            return it->second;
        TEntry entry;
        const qsizetype dot = Name.indexOf(u'.');
        const int index = FindStreamedProperty(MetaObject, (dot < 0 ? Name : Name.left(dot)).toString());
        if (index >= 0)
            entry.Info.emplace(MetaObject, index);
        if (dot >= 0)
            entry.Sub = Name.mid(dot + 1).toString();
        // Entries stay where they are while the table grows: callers hold them across look-ups.
        return Properties.emplace(std::move(key), std::move(entry)).first->second;
    }

    const TComponentClass* Class(QStringView Name)
    {
        if (!LastClass || Name != LastClassName) {
            LastClassName = Name.toString();
            LastClass = FindComponentClass(LastClassName);
        }
        return LastClass;
    }

    struct TRecent {
        const QMetaObject* Class = nullptr;
        QString Name;
        const TEntry* Entry = nullptr;
    };

    static constexpr size_t RecentEntries = 64;
    std::array<TRecent, RecentEntries> Recent;
    std::unordered_map<TKey, TEntry, TKeyHash> Properties;
    QString LastClassName;
    const TComponentClass* LastClass = nullptr;
};

TReader::~TReader() = default;

// ---- Reading the tree -------------------------------------------------------------------

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
    FLookups = std::make_unique<TLookups>();
    const TFormParser::THeader header = FParser.ReadObjectHeader(0);
    const TComponentClass* cls = FindComponentClass(header.ClassName.toString());
    if (!cls)
        throw EClassNotFound(header.Line, QStringLiteral("unknown class '%1'; expected a registered component class").arg(header.ClassName));
    TComponent* created = nullptr;
    if (Root) {
        auto* object = dynamic_cast<QObject*>(Root);
        if (!object || !object->metaObject()->inherits(cls->MetaObject))
            throw EReadError(header.Line, QStringLiteral("the form holds a %1; expected the class of the component read into").arg(header.ClassName));
    } else {
        Root = created = cls->Create(nullptr);
    }
    FRoot = Root;
    FCreated.clear();
    FFixups.clear();
    try {
        Root->BeginLoading();
        if (Root->Name().isEmpty())
            Root->SetName(header.Name.toString());
        ReadObjectBody(Root, header.Name, 0);
        FParser.ReadEndOfFile();
        ResolveFixups();
        Root->EndLoading();
    } catch (const EReadError&) {
        Destroy(created);
        throw;
    } catch (const Exception& e) {
        Destroy(created);
        throw EReadError(FLine, e.Message());
    } catch (const std::exception& e) {
        Destroy(created);
        throw EReadError(FLine, QString::fromUtf8(e.what()));
    }
    return Root;
}

void TReader::Destroy(TComponent* createdRoot)
{
    // Components made by this read go again, newest first; so does a root made by it.
    while (!FCreated.empty()) {
        TComponent* c = FCreated.back();
        FCreated.pop_back();
        delete c;
    }
    if (createdRoot)
        delete createdRoot;
    else
        FRoot->CancelLoading();
}

void TReader::ReadObjectBody(TComponent* Component, QStringView Name, int Depth)
{
    auto* object = dynamic_cast<QObject*>(Component);
    for (;;) {
        switch (FParser.NextItem(Name)) {
        case TFormParser::itEnd: return;
        case TFormParser::itObject: ReadChild(Component, Depth + 1); break;
        case TFormParser::itProperty: ReadProperty(object, Component, FParser.ReadProperty()); break;
        }
    }
}

void TReader::ReadChild(TComponent* Parent, int Depth)
{
    const TFormParser::THeader header = FParser.ReadObjectHeader(Depth);
    FLine = header.Line;
    const TComponentClass* cls = FLookups->Class(header.ClassName);
    if (!cls)
        throw EClassNotFound(header.Line, QStringLiteral("unknown class '%1'; expected a registered component class").arg(header.ClassName));
    TComponent* component = cls->Create(FRoot);
    FCreated.push_back(component);
    component->BeginLoading();
    // SetName looks the name up anyway; a name taken is found there, not by a look-up before.
    const QString name = header.Name.toString();
    try {
        component->SetName(name);
    } catch (const EComponentError&) {
        const TComponent* other = FRoot->FindComponent(name);
        if (!other || other == component)
            throw;
        throw EReadError(header.Line, QStringLiteral("a component named %1 already exists; expected a new name").arg(header.Name));
    }
    component->SetParentComponent(Parent);
    ReadObjectBody(component, header.Name, Depth);
}

void TReader::ReadProperty(QObject* Object, TComponent* Component, const TFormParser::TProperty& Property)
{
    FLine = Property.Line;
    const TLookups::TEntry* entry = Object ? &FLookups->Property(Object->metaObject(), Property.Name) : nullptr;
    if (!entry || !entry->Info) {
        ReadDefinedProperty(Object, Component, Property);
        return;
    }
    try {
        ReadValue(Object, Component, *entry->Info, entry->Sub, Property.Value, Property.Line);
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        throw EReadError(Property.Line, QStringLiteral("%1 refused its value: %2").arg(Property.Name, e.Message()));
    }
}

void TReader::ReadDefinedProperty(QObject* Object, TComponent* Component, const TFormParser::TProperty& Property)
{
    FPendingName = Property.Name.toString();
    FPendingValue = &Property.Value;
    FPendingFound = false;
    Component->DefineProperties(*this);
    FPendingValue = nullptr;
    if (!FPendingFound)
        throw EReadError(Property.Line, QStringLiteral("unknown property '%1' of %2; expected a published or defined property")
            .arg(FPendingName, Object ? StreamClassName(Object) : QStringLiteral("TComponent")));
}

void TReader::ReadValue(QObject* Object, TComponent* Component, const TPropertyInfo& Info, const QString& Sub,
    const TFilerValue& Value, int Line)
{
    const QMetaProperty& property = Info.Property;
    const QString& name = Info.Name;
    if (Info.Codec) {
        Info.Codec->Read(Object, property, Sub, Value);
        return;
    }
    if (!Sub.isEmpty()) {
        ReadSubProperty(Object, Info, Sub, Value, Line);
        return;
    }
    if (Info.IsEnum) {
        ReadEnum(Object, Info, Value);
        return;
    }
    bool written = true;
    const QMetaType type = Info.Type;
    switch (type.id()) {
    case QMetaType::Bool: written = Info.WriteExact(Object, ToBool(Value, name)); break;
    case QMetaType::Int:
        written = Info.WriteExact(Object, int(ToInteger(Value, name, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
        break;
    case QMetaType::UInt:
        written = Info.WriteExact(Object, uint(ToInteger(Value, name, 0, std::numeric_limits<uint>::max())));
        break;
    case QMetaType::LongLong:
        written = Info.WriteExact(Object, qlonglong(ToInteger(Value, name, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max())));
        break;
    case QMetaType::Long:
        written = property.write(Object, qlonglong(ToInteger(Value, name, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max())));
        break;
    case QMetaType::Double: written = Info.WriteExact(Object, ToFloat(Value, name)); break;
    case QMetaType::QString:
        // The parser's string goes to the setter as it is, without a copy between.
        if (Value.Kind != TFilerValue::vkString)
            Expected(Value, QStringLiteral("a string"), name);
        written = Info.WriteExact(Object, Value.Text);
        break;
    case QMetaType::QStringList: {
        if (Value.Kind != TFilerValue::vkList)
            Expected(Value, QStringLiteral("a list of strings in parentheses"), name);
        QStringList list;
        for (const TFilerValue& v : Value.List)
            list << ToString(v, name);
        written = property.write(Object, list);
        break;
    }
    default:
        if (type.flags() & QMetaType::PointerToQObject) {
            if (Value.Kind == TFilerValue::vkCollection)
                ReadCollection(Object, Info, Value);
            else
                ReadReference(Object, Info, Value);
        } else if (Info.IsEvent && Component) {
            ReadEvent(Object, Component, Info, Value);
        } else {
            throw EReadError(Line, QStringLiteral("property %1 of type %2 cannot be read").arg(name, QLatin1String(type.name())));
        }
    }
    if (!written)
        throw EReadError(Line, QStringLiteral("%1 refused the value read").arg(name));
}

void TReader::ReadSubProperty(QObject* Object, const TPropertyInfo& Info, const QString& Sub, const TFilerValue& Value, int Line)
{
    // A sub-property of an object the component owns: set it on that object, then give the
    // object back to the setter so the component takes the change in.
    const QMetaProperty& property = Info.Property;
    QObject* target = (property.metaType().flags() & QMetaType::PointerToQObject) ? property.read(Object).value<QObject*>() : nullptr;
    if (!target || dynamic_cast<TComponent*>(target))
        throw EReadError(Line, QStringLiteral("%1 has no sub-properties; expected a property name without '.'").arg(Info.Name));
    const QString head = Sub.section(u'.', 0, 0);
    const int index = FindStreamedProperty(target->metaObject(), head);
    if (index < 0)
        throw EReadError(Line, QStringLiteral("unknown property '%1' of %2; expected a published property").arg(head, Info.Name));
    ReadValue(target, nullptr, TPropertyInfo(target->metaObject(), index), Sub.section(u'.', 1), Value, Line);
    property.write(Object, property.read(Object));
}

void TReader::ReadEnum(QObject* Object, const TPropertyInfo& Info, const TFilerValue& Value)
{
    const QMetaEnum e = Info.Property.enumerator();
    const QString& name = Info.Name;
    qint64 v = 0;
    if (e.isFlag()) {
        v = ToSetBits(Value, name, e);
    } else {
        const QString key = ToIdent(Value, name);
        v = FindKey(e, key);
        if (v < 0)
            throw EReadError(Value.Line, QStringLiteral("'%1' is not a value of %2; expected one of the names of %3")
                .arg(key, name, QString::fromLatin1(e.name())));
    }
    const QVariant variant = IntegerOfType(Info.Property.metaType(), v);
    if (!variant.isValid() || !Info.Property.write(Object, variant))
        throw EReadError(Value.Line, QStringLiteral("%1 refused the value read").arg(name));
}

void TReader::ReadReference(QObject* Object, const TPropertyInfo& Info, const TFilerValue& Value)
{
    const QString target = ToIdent(Value, Info.Name);
    if (target.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
        QObject* none = nullptr;
        Info.Property.write(Object, QVariant(Info.Property.metaType(), &none));
        return;
    }
    // Resolved when the whole root is read, so that later components can be named.
    FFixups.push_back({Object, Info.Property, target, Value.Line});
}

void TReader::ResolveFixups()
{
    for (const TFixup& f : FFixups) {
        FLine = f.Line;
        TComponent* target = f.Target.compare(FRoot->Name(), Qt::CaseInsensitive) == 0 ? FRoot : FRoot->FindComponent(f.Target);
        if (!target)
            throw EReadError(f.Line, QStringLiteral("no component named '%1' for %2; expected the name of a component of %3")
                .arg(f.Target, QLatin1String(f.Property.name()), FRoot->Name()));
        QObject* object = dynamic_cast<QObject*>(target);
        const QMetaObject* wanted = f.Property.metaType().metaObject();
        if (!object || (wanted && !object->metaObject()->inherits(wanted)))
            throw EReadError(f.Line, QStringLiteral("%1 is a %2; expected a %3 for %4")
                .arg(f.Target, object ? StreamClassName(object) : QStringLiteral("component"),
                    wanted ? QString::fromLatin1(wanted->className()).section(QLatin1String("::"), -1) : QStringLiteral("component"),
                    QLatin1String(f.Property.name())));
        try {
            if (!f.Property.write(f.Object, QVariant(f.Property.metaType(), &object)))
                throw EReadError(f.Line, QStringLiteral("%1 refused %2").arg(QLatin1String(f.Property.name()), f.Target));
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            throw EReadError(f.Line, QStringLiteral("%1 refused %2: %3").arg(QLatin1String(f.Property.name()), f.Target, e.Message()));
        }
    }
    FFixups.clear();
}

void TReader::ReadEvent(QObject* Object, TComponent* Component, const TPropertyInfo& Info, const TFilerValue& Value)
{
    const QString& name = Info.Name;
    const QString handlerName = ToIdent(Value, name);
    const QVariant handler = FRoot->MethodAddress(handlerName);
    if (!handler.isValid())
        throw EReadError(Value.Line, QStringLiteral("no handler '%1' for %2; expected a method registered by %3")
            .arg(handlerName, name, FRoot->Name()));
    if (handler.metaType() != Info.Property.metaType())
        throw EReadError(Value.Line, QStringLiteral("handler '%1' does not fit %2; expected a %3")
            .arg(handlerName, name, QLatin1String(Info.Property.metaType().name())));
    Info.Property.write(Object, handler);
    Component->SetEventHandlerName(Info.Property.name(), handlerName);
}

void TReader::ReadCollection(QObject* Object, const TPropertyInfo& Info, const TFilerValue& Value)
{
    auto* collection = qobject_cast<TCollection*>(Info.Property.read(Object).value<QObject*>());
    if (!collection)
        Expected(Value, QStringLiteral("a component name"), Info.Name);
    collection->Clear();
    for (const std::vector<TFilerProperty>& item : Value.Items) {
        QObject* target = collection->Add();
        for (const TFilerProperty& p : item) {
            FLine = p.Line;
            const TLookups::TEntry& entry = FLookups->Property(target->metaObject(), p.Name);
            if (!entry.Info)
                throw EReadError(p.Line, QStringLiteral("unknown property '%1' of a %2 item; expected a published property")
                    .arg(p.Name, Info.Name));
            ReadValue(target, nullptr, *entry.Info, entry.Sub, p.Value, p.Line);
        }
    }
}

// ---- Defined properties -----------------------------------------------------------------

void TReader::DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData, bool HasData)
{
    (void)WriteData;
    (void)HasData;
    if (FPendingFound || !FPendingValue || !ReadData || Name.compare(FPendingName, Qt::CaseInsensitive) != 0)
        return;
    FPendingFound = true;
    FPendingConsumed = false;
    FListStack.clear();
    ReadData(*this);
    if (!FListStack.empty())
        throw EReadError(FLine, QStringLiteral("%1: list not read to its end").arg(Name));
}

const TFilerValue& TReader::NextValue(TFilerValue::TKind kind, const char* what)
{
    const TFilerValue* v = nullptr;
    if (FListStack.empty()) {
        if (!FPendingValue || FPendingConsumed)
            throw EReadError(FLine, QStringLiteral("%1: expected %2, found nothing more").arg(FPendingName, QLatin1String(what)));
        v = FPendingValue;
        FPendingConsumed = true;
    } else {
        auto& [list, index] = FListStack.back();
        if (index >= list->List.size())
            throw EReadError(FLine, QStringLiteral("%1: expected %2, found the end of the list").arg(FPendingName, QLatin1String(what)));
        v = &list->List[index++];
    }
    if (v->Kind != kind)
        Expected(*v, QLatin1String(what), FPendingName);
    return *v;
}

void TReader::ReadListBegin()
{
    const TFilerValue& v = NextValue(TFilerValue::vkList, "a list in parentheses");
    FListStack.emplace_back(&v, 0);
}

bool TReader::EndOfList() const
{
    return FListStack.empty() || FListStack.back().second >= FListStack.back().first->List.size();
}

void TReader::ReadListEnd()
{
    if (FListStack.empty() || !EndOfList())
        throw EReadError(FLine, QStringLiteral("%1: expected the end of the list").arg(FPendingName));
    FListStack.pop_back();
}

QString TReader::ReadString()
{
    return NextValue(TFilerValue::vkString, "a string").Text;
}

qint64 TReader::ReadInteger()
{
    return NextValue(TFilerValue::vkInteger, "an integer").Integer;
}

QString TReader::ReadIdent()
{
    return NextValue(TFilerValue::vkIdent, "an identifier").Text;
}

// ---- Entry points -----------------------------------------------------------------------

TComponent* ReadComponentText(const QString& Text, TComponent* Root)
{
    TReader reader(Text);
    return reader.ReadRootComponent(Root);
}

void ReadComponentRes(const QString& Path, TComponent* Root)
{
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFilerError(QStringLiteral("Cannot open the form file %1").arg(Path));
    // Refused before a byte of it is read into memory.
    CheckFormFileSize(file.size());
    ReadComponentText(QString::fromUtf8(file.readAll()), Root);
}

void BindEvent(TComponent* Component, const char* Event, const QString& Handler)
{
    auto* object = dynamic_cast<QObject*>(Component);
    const int index = object ? object->metaObject()->indexOfProperty(Event) : -1;
    if (index < 0)
        throw EFilerError(QStringLiteral("%1 has no event %2").arg(Component->Name(), QLatin1String(Event)));
    const QMetaProperty p = object->metaObject()->property(index);
    TComponent* root = Component->Owner() ? Component->Owner() : Component;
    QVariant handler = Handler.isEmpty() ? QVariant(p.metaType()) : root->MethodAddress(Handler);
    if (!handler.isValid() || handler.metaType() != p.metaType())
        throw EFilerError(QStringLiteral("%1 registers no handler %2 that fits %3").arg(root->Name(), Handler, QLatin1String(Event)));
    p.write(object, handler);
    Component->SetEventHandlerName(Event, Handler);
}

} // namespace Vellaro
