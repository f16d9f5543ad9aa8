#pragma once
// What reading and writing form files share: the errors, the parsed form of a value, and
// TFiler, through which a component declares properties stored besides its published ones.

#include "platform/core/Component.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace Vellaro {

/// Raised when a form file cannot be written or read.
class VELLARO_EXPORT EFilerError : public Exception {
    using Exception::Exception;
};

/// Raised for a form file that does not read: the message names the line and what was expected.
class VELLARO_EXPORT EReadError : public EFilerError {
public:
    EReadError(int line, const QString& what)
        : EFilerError(QStringLiteral("Line %1: %2").arg(line).arg(what)), FLine(line) {}
    int Line() const { return FLine; }

private:
    int FLine;
};

/// Raised for an object whose class is not registered.
class VELLARO_EXPORT EClassNotFound : public EReadError {
    using EReadError::EReadError;
};

struct TFilerProperty;

/// One value of a form file as read: a number, a string, an identifier, a set [a, b], a list
/// ( ... ), binary data { hex } or a collection < item ... end >.
struct VELLARO_EXPORT TFilerValue {
    enum TKind { vkInteger, vkFloat, vkString, vkIdent, vkSet, vkList, vkBinary, vkCollection };
    TKind Kind = vkInteger;
    int Line = 0;
    qint64 Integer = 0;
    double Float = 0;
    /// The text of a string or an identifier.
    QString Text;
    QStringList Set;
    std::vector<TFilerValue> List;
    QByteArray Binary;
    /// The items of a collection, each a list of properties.
    std::vector<std::vector<TFilerProperty>> Items;

    /// A word for the kind, for messages ("an integer", "a string", ...).
    QString KindName() const;
};

/// One property line: Name (dotted for a sub-property) = Value.
struct VELLARO_EXPORT TFilerProperty {
    QString Name;
    TFilerValue Value;
    int Line = 0;
};

/// One object block: object Name: ClassName, its properties and its nested objects.
struct VELLARO_EXPORT TFilerObject {
    QString Name;
    QString ClassName;
    int Line = 0;
    std::vector<TFilerProperty> Properties;
    std::vector<TFilerObject> Children;
};

class TReader;
class TWriter;

/// The part of reader and writer a component sees in DefineProperties.
class VELLARO_EXPORT TFiler {
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    virtual ~TFiler() = default;
    /// Declares a stored property that is not published: the writer calls WriteData when
    /// HasData is true; the reader calls ReadData when the file holds a property of that name.
    virtual void DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData, bool HasData) = 0;
    /// The component whose form file is being read or written.
    TComponent* Root() const { return FRoot; }

protected:
    TComponent* FRoot = nullptr;
};

} // namespace Vellaro
