#pragma once
// Writing a Qt text document as RTF: the paragraphs with their alignment, indents, spacing and
// tab stops, the character formatting that the RTF reader reads, and images as PNG pictures.
// Characters outside ASCII are written as Unicode escapes with a "?" fallback.

#include "platform/core/Types.h"

#include <QByteArray>

class QTextDocument;

namespace Vellaro {

/// The document as RTF text.
VELLARO_EXPORT QByteArray WriteRtf(const QTextDocument& document);

} // namespace Vellaro
