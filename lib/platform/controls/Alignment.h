#pragma once
// The framework's horizontal text alignment, shared by text cells, list view columns and fields.

#include "platform/core/Types.h"

#include <QObject>

namespace Vellaro {

namespace AlignmentTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
} // namespace AlignmentTypes
using namespace AlignmentTypes;

} // namespace Vellaro
