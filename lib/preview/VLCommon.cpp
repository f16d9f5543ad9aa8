#include "preview/VLCommon.h"

#include "platform/core/ClassRegistry.h"

namespace Vellaro {

VELLARO_REGISTER_SET(TButtonKind)

const std::array<QString, 13> HintArray{
    // English; the toolbar shows them through Tr, in the installed language.
    QT_TRANSLATE_NOOP("Vellaro", "Print"), QT_TRANSLATE_NOOP("Vellaro", "Print dialog"),
    QT_TRANSLATE_NOOP("Vellaro", "Printer setup dialog"), QT_TRANSLATE_NOOP("Vellaro", "First page"),
    QT_TRANSLATE_NOOP("Vellaro", "Previous page"), QT_TRANSLATE_NOOP("Vellaro", "Next page"),
    QT_TRANSLATE_NOOP("Vellaro", "Last page"), QT_TRANSLATE_NOOP("Vellaro", "Whole page"),
    QT_TRANSLATE_NOOP("Vellaro", "Page width"), QT_TRANSLATE_NOOP("Vellaro", "Zoom out"),
    QT_TRANSLATE_NOOP("Vellaro", "Zoom in"), QT_TRANSLATE_NOOP("Vellaro", "Refresh"), QT_TRANSLATE_NOOP("Vellaro", "Close"),
};

} // namespace Vellaro
