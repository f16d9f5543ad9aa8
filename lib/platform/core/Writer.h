#pragma once
// TWriter: writes a root component, its published and defined properties and the components
// it owns as the text of a form file:
//     object Name: TClass
//       Prop = Value
//       object Child: TChildClass
//       end
//     end
// Ordinal properties (integers, enumerations, sets, Booleans) are always written; others only
// when not zero, empty or unassigned. References name the component, events their handler.

#include "platform/core/Filer.h"

#include <QMetaProperty>
#include <QStringList>
#include <map>
#include <vector>

namespace Vellaro {

class VELLARO_EXPORT TWriter : public TFiler {
public:
    TWriter() = default;

    /// Writes Root and everything it owns; the text is then in Text().
    void WriteRootComponent(TComponent* Root);
    /// The text written so far.
    const QString& Text() const { return FText; }

    /// Writes one component's block: header, properties, nested components, end. The base
    /// TComponent::WriteState calls it.
    void WriteComponentData(TComponent* Component);
    /// Writes the published properties of Object, each name prefixed with Prefix.
    void WriteProperties(QObject* Object, const QString& Prefix = QString());

    void DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData, bool HasData) override;

    // Values of a defined property (inside DefineProperty's WriteData).
    void WriteListBegin();
    void WriteListEnd();
    void WriteString(const QString& Value);
    void WriteInteger(qint64 Value);
    void WriteIdent(const QString& Value);

    /// Writes the line "Name = ValueText" at the current depth.
    void WriteProperty(const QString& Name, const QString& ValueText);
    /// Writes binary data as hexadecimal in braces.
    void WriteBinaryProperty(const QString& Name, const QByteArray& Data);

    // Value texts.
    static QString QuoteString(const QString& Value);
    static QString FormatFloat(double Value);
    static QString FormatSet(const QStringList& Elements);

private:
    void WriteLine(const QString& line);
    static bool TakenFromParent(QObject* Object, const QMetaProperty& Property);
    void WriteValue(QObject* Object, const QMetaProperty& Property, const QString& Name);
    void WriteReference(const QString& Name, QObject* Target);
    void WriteCollection(const QString& Name, class TCollection* Collection);
    void WriteEvent(QObject* Object, const QMetaProperty& Property, const QString& Name);
    void AddElement(const QString& text);
    QString Indent(int extra = 0) const;

    QString FText;
    int FDepth = 0;
    std::map<TComponent*, std::vector<TComponent*>> FChildren;
    /// Open lists of a defined property, innermost last; each holds its elements' texts.
    std::vector<QStringList> FLists;
    QStringList FDefinedValues;
};

/// The form file text of Root.
VELLARO_EXPORT QString ComponentToText(TComponent* Root);
/// Writes Root's form file; raises EFilerError when the file cannot be written.
VELLARO_EXPORT void WriteComponentResFile(const QString& FileName, TComponent* Root);

} // namespace Vellaro
