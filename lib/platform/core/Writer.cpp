#include "platform/core/Writer.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/Collection.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <cmath>

namespace Vellaro {

namespace {
constexpr int HexCharsPerLine = 64;

bool IsOrdinal(int typeId)
{
    switch (typeId) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

/// The single-bit keys of a flag enumeration set in value, in declaration order.
QStringList FlagKeys(const QMetaEnum& e, qint64 value)
{
    QStringList keys;
    for (int i = 0; i < e.keyCount(); ++i) {
        const quint64 bit = quint64(quint32(e.value(i)));
        if (bit != 0 && (bit & (bit - 1)) == 0 && (quint64(value) & bit))
            keys << QString::fromLatin1(e.key(i));
    }
    return keys;
}
} // namespace

QString TWriter::Indent(int extra) const
{
    return QString(2 * (FDepth + extra), u' ');
}

void TWriter::WriteLine(const QString& line)
{
    FText += Indent();
    FText += line;
    FText += u'\n';
}

void TWriter::WriteRootComponent(TComponent* Root)
{
    FRoot = Root;
    FText.clear();
    FChildren.clear();
    // Nest each owned component in its parent component when the root owns that parent too.
    for (int i = 0; i < Root->ComponentCount(); ++i) {
        TComponent* c = Root->Components(i);
        TComponent* parent = c->GetParentComponent();
        if (!parent || parent->Owner() != Root)
            parent = Root;
        FChildren[parent].push_back(c);
    }
    Root->WriteState(*this);
}

void TWriter::WriteComponentData(TComponent* Component)
{
    QObject* object = dynamic_cast<QObject*>(Component);
    WriteLine(QStringLiteral("object %1: %2").arg(Component->Name(), object ? StreamClassName(object) : QStringLiteral("TComponent")));
    ++FDepth;
    if (object)
        WriteProperties(object);
    Component->DefineProperties(*this);
    if (auto it = FChildren.find(Component); it != FChildren.end())
        for (TComponent* child : it->second)
            child->WriteState(*this);
    --FDepth;
    WriteLine(QStringLiteral("end"));
}

void TWriter::WriteProperties(QObject* Object, const QString& Prefix)
{
    const QMetaObject* mo = Object->metaObject();
    for (int index : StreamedProperties(mo)) {
        const QMetaProperty p = mo->property(index);
        if (!p.isReadable() || !p.isWritable())
            continue;
        if (Prefix.isEmpty() && qstrcmp(p.name(), "Name") == 0)
            continue; // the header holds it
        if (TakenFromParent(Object, p))
            continue;
        WriteValue(Object, p, Prefix + QString::fromLatin1(p.name()));
    }
}

bool TWriter::TakenFromParent(QObject* Object, const QMetaProperty& Property)
{
    // A control's Color, Font, ShowHint or Ctl3D is its parent's while ParentColor (and so on)
    // is set: then only that flag is stored, so reading it back cannot turn the flag off.
    const QByteArray flag = QByteArray("Parent") + Property.name();
    const int index = Object->metaObject()->indexOfProperty(flag.constData());
    return index >= 0 && Object->metaObject()->property(index).read(Object).toBool();
}

void TWriter::WriteValue(QObject* Object, const QMetaProperty& Property, const QString& Name)
{
    const QVariant value = Property.read(Object);
    const QMetaType type = Property.metaType();
    if (const TPropertyCodec* codec = FindPropertyCodec(type)) {
        codec->Write(*this, Name, value);
        return;
    }
    if (Property.isEnumType()) {
        const QMetaEnum e = Property.enumerator();
        const qint64 v = value.toLongLong();
        if (e.isFlag()) {
            WriteProperty(Name, FormatSet(FlagKeys(e, v)));
        } else {
            const char* key = e.valueToKey(int(v));
            WriteProperty(Name, key ? QString::fromLatin1(key) : QString::number(v));
        }
        return;
    }
    const int id = type.id();
    if (id == QMetaType::Bool) {
        WriteProperty(Name, value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    } else if (IsOrdinal(id)) {
        // The framework's Tag declares a default of 0; every other ordinal is always stored.
        if (value.toLongLong() != 0 || Name != QLatin1String("Tag"))
            WriteProperty(Name, id == QMetaType::ULongLong ? QString::number(value.toULongLong()) : QString::number(value.toLongLong()));
    } else if (id == QMetaType::Double || id == QMetaType::Float) {
        if (value.toDouble() != 0)
            WriteProperty(Name, FormatFloat(value.toDouble()));
    } else if (id == QMetaType::QString) {
        if (!value.toString().isEmpty())
            WriteProperty(Name, QuoteString(value.toString()));
    } else if (id == QMetaType::QStringList) {
        const QStringList list = value.toStringList();
        if (!list.isEmpty()) {
            WriteListBegin();
            for (const QString& s : list)
                WriteString(s);
            WriteListEnd();
            WriteProperty(Name, FDefinedValues.takeLast());
        }
    } else if (type.flags() & QMetaType::PointerToQObject) {
        QObject* target = value.value<QObject*>();
        if (!target)
            return;
        if (auto* collection = qobject_cast<TCollection*>(target))
            WriteCollection(Name, collection);
        else if (dynamic_cast<TComponent*>(target))
            WriteReference(Name, target);
        else
            WriteProperties(target, Name + u'.');
    } else if (Name.section(u'.', -1).startsWith(QLatin1String("On"))) {
        WriteEvent(Object, Property, Name);
    } else {
        throw EFilerError(QStringLiteral("Cannot store property %1 of type %2 of %3").arg(Name, QLatin1String(type.name()), StreamClassName(Object)));
    }
}

void TWriter::WriteReference(const QString& Name, QObject* Target)
{
    // Only components of this form file can be named in it; a reference elsewhere is not stored.
    auto* component = dynamic_cast<TComponent*>(Target);
    if (component == FRoot || (component->Owner() == FRoot && !component->Name().isEmpty()))
        WriteProperty(Name, component->Name());
}

void TWriter::WriteCollection(const QString& Name, TCollection* Collection)
{
    if (Collection->Count() == 0) {
        WriteProperty(Name, QStringLiteral("<>"));
        return;
    }
    WriteLine(Name + QStringLiteral(" = <"));
    ++FDepth;
    for (int i = 0; i < Collection->Count(); ++i) {
        WriteLine(QStringLiteral("item"));
        ++FDepth;
        WriteProperties(Collection->Item(i));
        --FDepth;
        WriteLine(QStringLiteral("end"));
    }
    --FDepth;
    FText.chop(1); // the last "end" takes the closing bracket
    FText += QStringLiteral(">\n");
}

void TWriter::WriteEvent(QObject* Object, const QMetaProperty& Property, const QString& Name)
{
    auto* component = dynamic_cast<TComponent*>(Object);
    if (!component)
        return;
    const QString handler = component->EventHandlerName(Property.name());
    if (!handler.isEmpty())
        WriteProperty(Name, handler);
}

void TWriter::WriteProperty(const QString& Name, const QString& ValueText)
{
    WriteLine(Name + QStringLiteral(" = ") + ValueText);
}

void TWriter::WriteBinaryProperty(const QString& Name, const QByteArray& Data)
{
    const QByteArray hex = Data.toHex().toUpper();
    QString text = QStringLiteral("{");
    for (qsizetype i = 0; i < hex.size(); i += HexCharsPerLine)
        text += u'\n' + Indent(1) + QString::fromLatin1(hex.mid(i, HexCharsPerLine));
    WriteProperty(Name, text + u'}');
}

void TWriter::DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData, bool HasData)
{
    (void)ReadData;
    if (!HasData || !WriteData)
        return;
    FLists.clear();
    FDefinedValues.clear();
    WriteData(*this);
    if (!FLists.empty())
        throw EFilerError(QStringLiteral("Property %1 left a list open").arg(Name));
    for (const QString& value : std::as_const(FDefinedValues))
        WriteProperty(Name, value);
    FDefinedValues.clear();
}

void TWriter::AddElement(const QString& text)
{
    if (FLists.empty())
        FDefinedValues << text;
    else
        FLists.back() << text;
}

void TWriter::WriteListBegin()
{
    FLists.emplace_back();
}

void TWriter::WriteListEnd()
{
    if (FLists.empty())
        throw EFilerError(QStringLiteral("A list was ended that was not begun"));
    const QStringList elements = FLists.back();
    FLists.pop_back();
    // Elements one per line, one level deeper than the line that opens the list.
    const int depth = int(FLists.size()) + 1;
    QString text = QStringLiteral("(");
    for (const QString& e : elements)
        text += u'\n' + Indent(depth) + e;
    AddElement(text + u')');
}

void TWriter::WriteString(const QString& Value)
{
    AddElement(QuoteString(Value));
}

void TWriter::WriteInteger(qint64 Value)
{
    AddElement(QString::number(Value));
}

void TWriter::WriteIdent(const QString& Value)
{
    AddElement(Value);
}

QString TWriter::QuoteString(const QString& Value)
{
    // Printable characters go in quotes (a quote doubled); control characters and halves of
    // surrogate pairs as #code, so any string reads back exactly.
    QString out;
    bool quoted = false;
    for (QChar c : Value) {
        const char16_t u = c.unicode();
        const bool plain = u >= 32 && u != 127 && !c.isSurrogate();
        if (plain != quoted) {
            out += u'\'';
            quoted = plain;
        }
        if (!plain)
            out += u'#' + QString::number(u);
        else if (c == u'\'')
            out += QStringLiteral("''");
        else
            out += c;
    }
    if (quoted)
        out += u'\'';
    return out.isEmpty() ? QStringLiteral("''") : out;
}

QString TWriter::FormatFloat(double Value)
{
    if (!std::isfinite(Value))
        throw EFilerError(QStringLiteral("Cannot store the number %1").arg(Value));
    return QString::number(Value, 'g', QLocale::FloatingPointShortest);
}

QString TWriter::FormatSet(const QStringList& Elements)
{
    return u'[' + Elements.join(QStringLiteral(", ")) + u']';
}

QString ComponentToText(TComponent* Root)
{
    TWriter writer;
    writer.WriteRootComponent(Root);
    return writer.Text();
}

void WriteComponentResFile(const QString& FileName, TComponent* Root)
{
    const QByteArray data = ComponentToText(Root).toUtf8();
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw EFilerError(QStringLiteral("Cannot write the form file %1").arg(FileName));
}

} // namespace Vellaro
