#include "platform/controls/RtfWriter.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <cmath>

namespace Vellaro {

namespace {

constexpr double TwipsPerPixel = 15.0;

int Twips(double pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

/// Collects the fonts and colours the document uses, numbered in the order they are met.
class TRtfTables {
public:
    int FontIndex(const QString& family)
    {
        const qsizetype i = FFonts.indexOf(family);
        if (i >= 0)
            return int(i);
        FFonts << family;
        return int(FFonts.size() - 1);
    }
    /// Colour entries start at 1: entry 0 is the automatic colour.
    int ColorIndex(const QColor& color)
    {
        const QRgb rgb = color.rgb();
        const qsizetype i = FColors.indexOf(rgb);
        if (i >= 0)
            return int(i + 1);
        FColors << rgb;
        return int(FColors.size());
    }
    QByteArray Header() const
    {
        QByteArray out("{\\fonttbl");
        for (int i = 0; i < FFonts.size(); ++i)
            out += "{\\f" + QByteArray::number(i) + "\\fnil " + EscapeText(FFonts[i]) + ";}";
        out += "}\n{\\colortbl;";
        for (QRgb rgb : FColors)
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
                + QByteArray::number(qBlue(rgb)) + ";";
        out += "}\n";
        return out;
    }

    /// Text with RTF's special characters escaped and everything outside ASCII as \uN?.
    static QByteArray EscapeText(const QString& text)
    {
        QByteArray out;
        out.reserve(text.size());
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'\\' || u == u'{' || u == u'}') {
                out += '\\';
                out += char(u);
            } else if (u == u'\t') {
                out += "\\tab ";
            } else if (u == 0x2028) {
                out += "\\line ";
            } else if (u == 0x00A0) {
                out += "\\~";
            } else if (u >= 0x20 && u < 0x80) {
                out += char(u);
            } else if (u >= 0x80) {
                out += "\\u" + QByteArray::number(int(u) > 32767 ? int(u) - 65536 : int(u)) + '?';
            }
        }
        return out;
    }

private:
    QStringList FFonts;
    QList<QRgb> FColors;
};

QByteArray ParagraphProperties(const QTextBlockFormat& format)
{
    QByteArray out("\\pard");
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        out += "\\qc";
    else if (align & Qt::AlignJustify)
        out += "\\qj";
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        out += "\\qr";
    const std::pair<const char*, double> lengths[] = {{"\\li", format.leftMargin()}, {"\\ri", format.rightMargin()},
        {"\\fi", format.textIndent()}, {"\\sb", format.topMargin()}, {"\\sa", format.bottomMargin()}};
    for (const auto& [word, pixels] : lengths)
        if (Twips(pixels) != 0)
            out += word + QByteArray::number(Twips(pixels));
    for (const QTextOption::Tab& tab : format.tabPositions())
        out += "\\tx" + QByteArray::number(Twips(tab.position));
    return out + ' ';
}

QByteArray CharacterGroup(const QTextCharFormat& format, const QFont& defaultFont, TRtfTables& tables)
{
    const QStringList families = format.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? defaultFont.family() : families.first();
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : defaultFont.pointSizeF();
    QByteArray out = "{\\plain\\f" + QByteArray::number(tables.FontIndex(family)) + "\\fs"
        + QByteArray::number(int(std::lround(points * 2)));
    if (format.fontWeight() >= QFont::DemiBold)
        out += "\\b";
    if (format.fontItalic())
        out += "\\i";
    if (format.fontUnderline())
        out += "\\ul";
    if (format.fontStrikeOut())
        out += "\\strike";
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        out += "\\cf" + QByteArray::number(tables.ColorIndex(format.foreground().color()));
    return out + ' ';
}

QByteArray Picture(const QTextDocument& document, const QTextImageFormat& format)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image = resource.value<QImage>();
    if (image.isNull())
        image = resource.value<QPixmap>().toImage();
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    return "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" + QByteArray::number(image.height())
        + "\\picwgoal" + QByteArray::number(Twips(width)) + "\\pichgoal" + QByteArray::number(Twips(height)) + "\n"
        + png.toHex() + "}";
}

} // namespace

QByteArray WriteRtf(const QTextDocument& document)
{
    TRtfTables tables;
    const QFont defaultFont = document.defaultFont();
    tables.FontIndex(defaultFont.family());
    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            body += "\\par\n";
        body += ParagraphProperties(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                body += Picture(document, format.toImageFormat());
                continue;
            }
            body += CharacterGroup(format, defaultFont, tables) + TRtfTables::EscapeText(fragment.text()) + '}';
        }
    }
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n" + tables.Header() + body + "}\n";
}

} // namespace Vellaro
