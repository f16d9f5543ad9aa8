// How a form's icon is stored in form files: Icon.Data, PNG data of its largest picture.
#include "platform/controls/Forms.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QBuffer>
#include <QMetaProperty>
#include <QPixmap>

namespace Vellaro {

namespace {

QImage LargestPicture(const QIcon& icon)
{
    QSize largest;
    for (const QSize& s : icon.availableSizes())
        if (s.width() * s.height() > largest.width() * largest.height())
            largest = s;
    return largest.isValid() ? icon.pixmap(largest).toImage() : QImage();
}

void WriteIcon(TWriter& writer, const QString& name, const QVariant& value)
{
    const TIcon* icon = value.value<TIcon*>();
    if (!icon || icon->Empty())
        return;
    const QImage image = LargestPicture(icon->Icon());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    writer.WriteBinaryProperty(name + QStringLiteral(".Data"), png);
}

void ReadIcon(QObject* object, const QMetaProperty& property, const QString& sub, const TFilerValue& value)
{
    const QString name = QString::fromLatin1(property.name());
    if (sub.compare(QLatin1String("Data"), Qt::CaseInsensitive) != 0)
        throw EReadError(value.Line, QStringLiteral("unknown property '%1' of %2; expected Data").arg(sub, name));
    if (value.Kind != TFilerValue::vkBinary)
        throw EReadError(value.Line, QStringLiteral("expected binary data for %1.Data, found %2").arg(name, value.KindName()));
    const QImage image = QImage::fromData(value.Binary, "PNG");
    if (image.isNull())
        throw EReadError(value.Line, QStringLiteral("%1.Data is not a PNG image; expected PNG image data").arg(name));
    TIcon icon;
    icon.SetIcon(QIcon(QPixmap::fromImage(image)));
    property.write(object, QVariant::fromValue(&icon));
}

const bool Registered = [] {
    RegisterPropertyCodec(QMetaType::fromType<TIcon*>(), {WriteIcon, ReadIcon});
    return true;
}();

} // namespace

} // namespace Vellaro
