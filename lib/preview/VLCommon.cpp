#include "preview/VLCommon.h"

namespace Vellaro {

const std::array<QString, 13> HintArray{
    QStringLiteral("Print"), QStringLiteral("Print dialog"), QStringLiteral("Printer setup dialog"),
    QStringLiteral("First page"), QStringLiteral("Previous page"), QStringLiteral("Next page"),
    QStringLiteral("Last page"), QStringLiteral("Whole page"), QStringLiteral("Page width"),
    QStringLiteral("Zoom out"), QStringLiteral("Zoom in"), QStringLiteral("Refresh"), QStringLiteral("Close"),
};

} // namespace Vellaro
