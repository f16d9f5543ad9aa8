#pragma once
// Reading RTF into a Qt text document: groups, font and colour tables, character formatting
// (font, size, bold, italic, underline, strike-out, colour), paragraphs with alignment,
// indents, spacing and tab stops, Unicode characters with their fallbacks, 8-bit characters
// in the document's or the font's code page, line breaks and tabs, PNG and JPEG pictures, and
// table rows as plain paragraphs (cells separated by tabs). Destinations it does not know
// (style sheet, document information, headers, footers, fields' instructions, anything marked
// ignorable) are skipped.

#include "platform/core/Types.h"

#include <QByteArray>

class QTextDocument;

namespace Vellaro {

/// RTF input that cannot be read; the message names the byte position.
class VELLARO_EXPORT ERtfError : public Exception {
    using Exception::Exception;
};

/// Replaces the content of document by the RTF text in data. Malformed input (unbalanced
/// braces, truncation, junk) is read as far as it makes sense; input that is not RTF at all
/// or nests groups deeper than MaxRtfGroupDepth raises ERtfError.
VELLARO_EXPORT void ReadRtf(const QByteArray& data, QTextDocument* document);

/// The unit of every length in a rich text document (a CSS px): 96 to the inch, on screen, in
/// the preview and on paper alike. The reader turns twips into it, the writer back.
constexpr int DocumentPixelsPerInch = 96;
/// Twips (1/1440 in) per document pixel.
constexpr double TwipsPerDocumentPixel = 1440.0 / DocumentPixelsPerInch;

/// Paragraph properties the reader sets that Qt has no name for (QTextBlockFormat properties):
/// the paragraph stays on one page with the first line of the next (\keepn), and its first or
/// last line is never alone at the bottom or top of a page (\widowctrl, \widctlpar).
constexpr int KeepWithNextProperty = 0x100000 + 1;
constexpr int WidowControlProperty = 0x100000 + 2;

/// The deepest group nesting ReadRtf accepts.
constexpr int MaxRtfGroupDepth = 1000;

} // namespace Vellaro
