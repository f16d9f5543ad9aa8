#pragma once
// TReader: builds components from the text of a form file, object by object as the text is
// parsed (no tree of the whole file is held, so reading costs time and memory linear in the
// file's size and the number of components). Classes come from the class
// registry, properties are assigned through their setters, references to other components
// are resolved once the whole root is read (forward references work), events are bound to the
// handlers the root registered, and Loaded runs last. A file that does not read raises
// EReadError naming the line; the components made so far are destroyed again.

#include "platform/core/Filer.h"
#include "platform/core/FormParser.h"

#include <QMetaProperty>
#include <memory>
#include <vector>

namespace Vellaro {

class VELLARO_EXPORT TReader : public TFiler {
public:
    /// Prepares to read Text; a text above MaxFormFileBytes raises EReadError here, a syntax
    /// error raises it from ReadRootComponent (which then takes back what it made).
    explicit TReader(const QString& Text);
    ~TReader() override;

    /// Reads the form into Root, or, with Root nullptr, creates the root from its class.
    /// Returns the root (a created one belongs to the caller).
    TComponent* ReadRootComponent(TComponent* Root = nullptr);

    void DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData, bool HasData) override;

    // Values of a defined property (inside DefineProperty's ReadData).
    void ReadListBegin();
    bool EndOfList() const;
    void ReadListEnd();
    QString ReadString();
    qint64 ReadInteger();
    QString ReadIdent();
    /// The line of the property being read.
    int Line() const { return FLine; }

    // Checked conversions of read values, raising EReadError with the value's line.
    static qint64 ToInteger(const TFilerValue& Value, const QString& Property, qint64 Min, qint64 Max);
    static double ToFloat(const TFilerValue& Value, const QString& Property);
    static QString ToString(const TFilerValue& Value, const QString& Property);
    static QString ToIdent(const TFilerValue& Value, const QString& Property);
    static bool ToBool(const TFilerValue& Value, const QString& Property);
    /// The bits of the set's elements, looked up in the enumeration (case-insensitive).
    static quint32 ToSetBits(const TFilerValue& Value, const QString& Property, const class QMetaEnum& Enum);

private:
    struct TFixup {
        QObject* Object;
        QMetaProperty Property;
        QString Target;
        int Line;
    };

    /// A published property as the reader applies it (defined in Reader.cpp).
    struct TPropertyInfo;
    /// What the reader looked up once per class and property name (defined in Reader.cpp).
    struct TLookups;

    void ReadObjectBody(TComponent* Component, QStringView Name, int Depth);
    void ReadChild(TComponent* Parent, int Depth);
    void ReadProperty(QObject* Object, TComponent* Component, const TFormParser::TProperty& Property);
    void ReadDefinedProperty(QObject* Object, TComponent* Component, const TFormParser::TProperty& Property);
    void ReadValue(QObject* Object, TComponent* Component, const TPropertyInfo& Info, const QString& Sub,
        const TFilerValue& Value, int Line);
    void ReadSubProperty(QObject* Object, const TPropertyInfo& Info, const QString& Sub, const TFilerValue& Value, int Line);
    void ReadEnum(QObject* Object, const TPropertyInfo& Info, const TFilerValue& Value);
    void ReadReference(QObject* Object, const TPropertyInfo& Info, const TFilerValue& Value);
    void ReadEvent(QObject* Object, TComponent* Component, const TPropertyInfo& Info, const TFilerValue& Value);
    void ReadCollection(QObject* Object, const TPropertyInfo& Info, const TFilerValue& Value);
    void ResolveFixups();
    void Destroy(TComponent* createdRoot);
    const TFilerValue& NextValue(TFilerValue::TKind kind, const char* what);

    QString FText;
    TFormParser FParser;
    std::vector<TComponent*> FCreated;
    std::vector<TFixup> FFixups;
    int FLine = 0;
    // The defined property being looked for, and the cursor over its value.
    QString FPendingName;
    const TFilerValue* FPendingValue = nullptr;
    bool FPendingFound = false;
    bool FPendingConsumed = false;
    std::vector<std::pair<const TFilerValue*, size_t>> FListStack;
    std::unique_ptr<TLookups> FLookups;
};

/// Reads the form file at Path (a file or a Qt resource such as ":/vellaro/x.vfm") into Root.
///
/// Limits: a file above MaxFormFileBytes (64 MiB) is refused from its size, before a byte of it
/// is read; a property holding more than MaxPropertyValues values (2^20), objects nested more
/// than MaxObjectDepth and values more than MaxValueDepth deep are refused while that property
/// or object is parsed, before any of its values is kept or applied. Every refusal raises
/// EReadError naming the limit and the line. A refused read is taken back: the components it
/// created are destroyed and Root keeps the components it had, with their names and order.
/// (Published properties of Root itself that the file set before the refused line keep their
/// new values.)
VELLARO_EXPORT void ReadComponentRes(const QString& Path, TComponent* Root);
/// Reads a form file's text into Root, or creates the root when Root is nullptr; the limits
/// and the taking back of a refused read are those of ReadComponentRes (a text longer than
/// MaxFormFileBytes characters is refused before it is parsed).
VELLARO_EXPORT TComponent* ReadComponentText(const QString& Text, TComponent* Root = nullptr);

/// Binds an event of Component to the handler its root registered under Handler (empty
/// Handler clears the event); form files then store the event by that name.
VELLARO_EXPORT void BindEvent(TComponent* Component, const char* Event, const QString& Handler);

} // namespace Vellaro
