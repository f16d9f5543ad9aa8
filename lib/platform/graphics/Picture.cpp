#include "platform/graphics/Picture.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <QBuffer>
#include <QImageReader>
#include <QMetaProperty>

namespace Vellaro {

void TPicture::SetImage(const QImage& image)
{
    FImage = image;
    if (FOnChange)
        FOnChange();
}

void TPicture::Assign(const TPicture* source)
{
    if (source == this)
        return;
    SetImage(source ? source->FImage : QImage());
}

void TPicture::Assign(const TIcon& icon)
{
    SetImage(icon.LargestImage());
}

void TPicture::LoadFromFile(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        throw EInvalidGraphic(QStringLiteral("Cannot read a picture from %1: %2").arg(path, reader.errorString()));
    SetImage(image);
}

namespace {

void WritePicture(TWriter& writer, const QString& name, const QVariant& value)
{
    const TPicture* picture = value.value<TPicture*>();
    if (!picture || picture->Empty())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture->Image().save(&buffer, "PNG");
    writer.WriteBinaryProperty(name + QStringLiteral(".Data"), png);
}

void ReadPicture(QObject* object, const QMetaProperty& property, const QString& sub, const TFilerValue& value)
{
    const QString name = QString::fromLatin1(property.name());
    if (sub.compare(QLatin1String("Data"), Qt::CaseInsensitive) != 0)
        throw EReadError(value.Line, QStringLiteral("unknown property '%1' of %2; expected Data").arg(sub, name));
    if (value.Kind != TFilerValue::vkBinary)
        throw EReadError(value.Line, QStringLiteral("expected binary data for %1.Data, found %2").arg(name, value.KindName()));
    const QImage image = QImage::fromData(value.Binary, "PNG");
    if (image.isNull())
        throw EReadError(value.Line, QStringLiteral("%1.Data is not a PNG image; expected PNG image data").arg(name));
    TPicture picture;
    picture.SetImage(image);
    property.write(object, QVariant::fromValue(&picture));
}

const bool Registered = [] {
    RegisterPropertyCodec(QMetaType::fromType<TPicture*>(), {WritePicture, ReadPicture});
    return true;
}();

} // namespace

} // namespace Vellaro
