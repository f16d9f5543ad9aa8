#include "preview/VLCommon.h"

#include "platform/core/ClassRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_SET(TButtonKind)

const std::array<QString, 13> HintArray{
    QStringLiteral("Print"), QStringLiteral("Print dialog"), QStringLiteral("Printer setup dialog"),
    QStringLiteral("First page"), QStringLiteral("Previous page"), QStringLiteral("Next page"),
    QStringLiteral("Last page"), QStringLiteral("Whole page"), QStringLiteral("Page width"),
    QStringLiteral("Zoom out"), QStringLiteral("Zoom in"), QStringLiteral("Refresh"), QStringLiteral("Close"),
};

} // namespace Vellaro
