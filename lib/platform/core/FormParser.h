#pragma once
// Turns the text of a form file into objects and properties, checking the syntax only. Every
// error names the line and what was expected there; nesting is bounded so no input can exhaust
// the stack, and the file's size and the values one property holds are bounded so no input can
// exhaust memory. The reader walks the file object by object (TFormParser), so no tree of the
// whole file is ever held; ParseForm builds that tree for callers that want it.

#include "platform/core/Filer.h"

#include <memory>

namespace Vellaro {

/// Objects nested deeper than this are refused.
constexpr int MaxObjectDepth = 64;
/// A property's value nested deeper than this (lists in lists, counted from the property) is refused.
constexpr int MaxValueDepth = 32;
/// Form files larger than this (64 MiB) are refused before they are read.
constexpr qint64 MaxFormFileBytes = qint64(64) * 1024 * 1024;
/// A property holding more values than this (its list elements, set elements and collection
/// items with their properties, counted together) is refused.
constexpr int MaxPropertyValues = 1 << 20;

/// Walks a form file's text from the front: the caller asks for the root object's header, then
/// for each item of an object in turn (a property, a nested object or the object's end).
/// Names come as views of the text (which outlives the parser), so walking a file makes no
/// string for a name; values are made only for what a property holds.
class VELLARO_EXPORT TFormParser {
public:
    /// Text must outlive the parser. A text beyond MaxFormFileBytes raises EReadError here.
    explicit TFormParser(const QString& Text);
    ~TFormParser();
    TFormParser(const TFormParser&) = delete;
    TFormParser& operator=(const TFormParser&) = delete;

    /// The header of an object block ("object Name: Class") at nesting Depth (the root is 0).
    struct THeader {
        QStringView Name;
        QStringView ClassName;
        int Line = 0;
    };
    THeader ReadObjectHeader(int Depth);

    enum TItem { itProperty, itObject, itEnd };
    /// What comes next inside the current object; itEnd consumes the object's 'end'.
    TItem NextItem(QStringView ObjectName);

    /// A property line: Name (dotted for a sub-property) = Value.
    struct TProperty {
        QStringView Name;
        /// The parser's own value, valid until the next call.
        const TFilerValue& Value;
        int Line = 0;
    };
    /// The property that NextItem announced.
    TProperty ReadProperty();
    /// Checks that nothing but blanks follows the root object.
    void ReadEndOfFile();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

/// Parses a whole form file into a tree: exactly one object block, then nothing but blanks.
VELLARO_EXPORT TFilerObject ParseForm(const QString& text);

/// Refuses a form file of Bytes bytes when it is above MaxFormFileBytes (EReadError naming the limit).
VELLARO_EXPORT void CheckFormFileSize(qint64 Bytes);

} // namespace Vellaro
