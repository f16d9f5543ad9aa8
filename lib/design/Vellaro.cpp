#include "design/Vellaro.h"

#include <QFile>

namespace Vellaro {

void RegisterVellaro()
{
    RegisterComponents(QStringLiteral("Vellaro"),
        {"TPrintJob", "TPreview", "TPreviewWindow", "TPreviewToolbar", "TPreviewStatusBar",
            "TPreviewComboBox", "TPreviewLabel"});
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
