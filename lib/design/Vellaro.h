#pragma once
// Registration of the print job and the preview controls for form designers (the palette page
// "Vellaro"), and the palette bitmaps of every registered class.

#include "platform/core/ComponentRegistry.h"

#include <QImage>

namespace Vellaro {

/// Puts the print job, the preview pane, window, toolbar, status bar, zoom box and label on the
/// palette page "Vellaro". Running it again changes nothing.
VELLARO_EXPORT void RegisterVellaro();

/// The resource path of the palette bitmap of ClassName (24 x 24, 16 colours), named after the
/// class in capitals; TPrintJob's picture is the one named TCUSTOMPRINTJOB.
VELLARO_EXPORT QString PaletteBitmapPath(const QString& ClassName);
/// The palette bitmap of ClassName; a null image when it has none.
VELLARO_EXPORT QImage PaletteBitmap(const QString& ClassName);

} // namespace Vellaro
