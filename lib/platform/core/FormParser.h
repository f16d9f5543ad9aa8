#pragma once
// Turns the text of a form file into its object tree, checking the syntax only. Every error
// names the line and what was expected there; nesting is bounded so no input can exhaust the stack.

#include "platform/core/Filer.h"

namespace Vellaro {

/// Objects and values nested deeper than these limits are refused.
constexpr int MaxObjectDepth = 64;
constexpr int MaxValueDepth = 32;

/// Parses a whole form file: exactly one object block, then nothing but blanks.
VELLARO_EXPORT TFilerObject ParseForm(const QString& text);

} // namespace Vellaro
