// How fonts and bitmaps are stored in form files: a font as its Name, Height, Color and Style
// sub-properties, a bitmap as PNG data.
#include "platform/core/ClassRegistry.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"
#include "platform/graphics/Graphics.h"

#include <QBuffer>
#include <QMetaProperty>

namespace Vellaro {

namespace {

const std::pair<const char*, TFontStyle> StyleNames[] = {
    {"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}};

QString StyleSet(TFontStyles style)
{
    QStringList names;
    for (const auto& [name, bit] : StyleNames)
        if (style & bit)
            names << QLatin1String(name);
    return TWriter::FormatSet(names);
}

TFontStyles ReadStyle(const TFilerValue& value, const QString& property)
{
    if (value.Kind != TFilerValue::vkSet)
        throw EReadError(value.Line, QStringLiteral("expected a set of font styles for %1, found %2").arg(property, value.KindName()));
    TFontStyles style = 0;
    for (const QString& element : value.Set) {
        bool found = false;
        for (const auto& [name, bit] : StyleNames)
            if (element.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
                style |= bit;
                found = true;
            }
        if (!found)
            throw EReadError(value.Line, QStringLiteral("'%1' is not a font style; expected fsBold, fsItalic, fsUnderline or fsStrikeOut").arg(element));
    }
    return style;
}

[[noreturn]] void UnknownSub(const TFilerValue& value, const QString& property, const QString& sub, const char* expected)
{
    throw EReadError(value.Line, QStringLiteral("unknown property '%1' of %2; expected %3").arg(sub, property, QLatin1String(expected)));
}

void WriteFont(TWriter& writer, const QString& name, const QVariant& value)
{
    const TFont* font = value.value<TFont*>();
    if (!font)
        return;
    writer.WriteProperty(name + QStringLiteral(".Color"), QString::number(font->Color()));
    writer.WriteProperty(name + QStringLiteral(".Height"), QString::number(font->Height()));
    if (!font->Name().isEmpty())
        writer.WriteProperty(name + QStringLiteral(".Name"), TWriter::QuoteString(font->Name()));
    writer.WriteProperty(name + QStringLiteral(".Style"), StyleSet(font->Style()));
}

void ReadFont(QObject* object, const QMetaProperty& property, const QString& sub, const TFilerValue& value)
{
    const QString name = QString::fromLatin1(property.name());
    const TFont* current = property.read(object).value<TFont*>();
    TFont font;
    if (current)
        font = *current;
    const QString what = name + u'.' + sub;
    if (sub.compare(QLatin1String("Color"), Qt::CaseInsensitive) == 0)
        font.SetColor(TColor(TReader::ToInteger(value, what, 0, 0xFFFFFFFFll)));
    else if (sub.compare(QLatin1String("Height"), Qt::CaseInsensitive) == 0)
        font.SetHeight(int(TReader::ToInteger(value, what, -100000, 100000)));
    else if (sub.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        font.SetName(TReader::ToString(value, what));
    else if (sub.compare(QLatin1String("Style"), Qt::CaseInsensitive) == 0)
        font.SetStyle(ReadStyle(value, what));
    else
        UnknownSub(value, name, sub, "Color, Height, Name or Style");
    property.write(object, QVariant::fromValue(&font));
}

/// A control's font: the height in pixels (negative: character height), family and style.
int QFontHeight(const QFont& font)
{
    return font.pixelSize() > 0 ? -font.pixelSize() : -Round(font.pointSizeF() * DefaultPixelsPerInch / 72);
}

void WriteQFont(TWriter& writer, const QString& name, const QVariant& value)
{
    const QFont font = value.value<QFont>();
    writer.WriteProperty(name + QStringLiteral(".Height"), QString::number(QFontHeight(font)));
    writer.WriteProperty(name + QStringLiteral(".Name"), TWriter::QuoteString(font.family()));
    TFontStyles style = 0;
    if (font.bold()) style |= fsBold;
    if (font.italic()) style |= fsItalic;
    if (font.underline()) style |= fsUnderline;
    if (font.strikeOut()) style |= fsStrikeOut;
    writer.WriteProperty(name + QStringLiteral(".Style"), StyleSet(style));
}

void ReadQFont(QObject* object, const QMetaProperty& property, const QString& sub, const TFilerValue& value)
{
    const QString name = QString::fromLatin1(property.name());
    QFont font = property.read(object).value<QFont>();
    const QString what = name + u'.' + sub;
    if (sub.compare(QLatin1String("Height"), Qt::CaseInsensitive) == 0) {
        const int height = int(TReader::ToInteger(value, what, -100000, 100000));
        if (height != 0)
            font.setPixelSize(std::abs(height));
    } else if (sub.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
        font.setFamily(TReader::ToString(value, what));
    } else if (sub.compare(QLatin1String("Style"), Qt::CaseInsensitive) == 0) {
        const TFontStyles style = ReadStyle(value, what);
        font.setBold(style & fsBold);
        font.setItalic(style & fsItalic);
        font.setUnderline(style & fsUnderline);
        font.setStrikeOut(style & fsStrikeOut);
    } else {
        UnknownSub(value, name, sub, "Height, Name or Style");
    }
    property.write(object, font);
}

void WriteBitmap(TWriter& writer, const QString& name, const QVariant& value)
{
    const TBitmap* bitmap = value.value<TBitmap*>();
    if (!bitmap || bitmap->Empty())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    bitmap->Image().save(&buffer, "PNG");
    writer.WriteBinaryProperty(name + QStringLiteral(".Data"), png);
}

void ReadBitmap(QObject* object, const QMetaProperty& property, const QString& sub, const TFilerValue& value)
{
    const QString name = QString::fromLatin1(property.name());
    if (sub.compare(QLatin1String("Data"), Qt::CaseInsensitive) != 0)
        UnknownSub(value, name, sub, "Data");
    if (value.Kind != TFilerValue::vkBinary)
        throw EReadError(value.Line, QStringLiteral("expected binary data for %1.Data, found %2").arg(name, value.KindName()));
    const QImage image = QImage::fromData(value.Binary, "PNG");
    if (image.isNull())
        throw EReadError(value.Line, QStringLiteral("%1.Data is not a PNG image; expected PNG image data").arg(name));
    TBitmap bitmap(image);
    property.write(object, QVariant::fromValue(&bitmap));
}

const bool Registered = [] {
    RegisterPropertyCodec(QMetaType::fromType<TFont*>(), {WriteFont, ReadFont});
    RegisterPropertyCodec(QMetaType::fromType<QFont>(), {WriteQFont, ReadQFont});
    RegisterPropertyCodec(QMetaType::fromType<TBitmap*>(), {WriteBitmap, ReadBitmap});
    return true;
}();

} // namespace

} // namespace Vellaro
