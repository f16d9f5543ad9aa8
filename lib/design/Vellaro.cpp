#include "design/Vellaro.h"

#include "job/VLJob.h"
#include "preview/VLCombo.h"
#include "preview/VLLabel.h"
#include "preview/VLPreview.h"
#include "preview/VLStatusBar.h"
#include "preview/VLToolbar.h"
#include "preview/VLWindow.h"

#include <QFile>

namespace Vellaro {

void RegisterVellaro()
{
    // Each unit registers its own class; the calls' order is the page's order.
    RegisterVLJob();
    RegisterVLPreview();
    RegisterVLWindow();
    RegisterVLToolbar();
    RegisterVLStatusBar();
    RegisterVLCombo();
    RegisterVLLabel();
}

QString PaletteBitmapPath(const QString& ClassName)
{
    // The plain print job shows the picture of the job family as a whole.
    const QString name = ClassName.compare(QLatin1String("TPrintJob"), Qt::CaseInsensitive) == 0
        ? QStringLiteral("TCUSTOMPRINTJOB")
        : ClassName.toUpper();
    return QStringLiteral(":/vellaro/palette/%1.bmp").arg(name);
}

QImage PaletteBitmap(const QString& ClassName)
{
    const QString path = PaletteBitmapPath(ClassName);
    return QFile::exists(path) ? QImage(path) : QImage();
}

} // namespace Vellaro
