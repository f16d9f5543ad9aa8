#include "platform/graphics/Graphics.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/DeviceContext.h"

#include <QFontMetricsF>
#include <QHash>

namespace Vellaro {

TFont::TFont()
    : FName(QStringLiteral("Arial"))
    , FHeight(-MulDiv(10, DefaultPixelsPerInch, 72))
{
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int points)
{
    FHeight = -MulDiv(points, FPixelsPerInch, 72);
}

void TFont::Assign(const TFont& source)
{
    // Assign copies the look of the font but keeps it measured at this font's resolution.
    const int ppi = FPixelsPerInch;
    *this = source;
    if (ppi != source.FPixelsPerInch) {
        FPixelsPerInch = ppi;
        SetSize(source.Size());
    }
}

namespace {
/// Em size per pixel of cell height for a family: a positive Height is ascent plus descent.
double EmPerCellPixel(const QString& family)
{
    static QHash<QString, double> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QFont probe(family);
    probe.setPixelSize(1000);
    const QFontMetricsF metrics(probe);
    const double cell = metrics.ascent() + metrics.descent();
    const double ratio = cell > 0 ? 1000.0 / cell : 1.0;
    cache.insert(family, ratio);
    return ratio;
}
} // namespace

QFont TFont::ToQFont() const
{
    QFont font(FName);
    int pixels = FHeight < 0 ? -FHeight : Round(FHeight * EmPerCellPixel(FName));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    font.setBold(FStyle & fsBold);
    font.setItalic(FStyle & fsItalic);
    font.setUnderline(FStyle & fsUnderline);
    font.setStrikeOut(FStyle & fsStrikeOut);
    // Layout is done in printer pixels and scaled by the mapping; hinting would make widths
    // depend on the device.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::ForceOutline);
    return font;
}

QPen TPen::ToQPen() const
{
    if (FStyle == psClear || FMode == pmNop)
        return QPen(Qt::NoPen);
    QColor color = ToQColor(FColor);
    if (FMode == pmBlack)
        color = Qt::black;
    else if (FMode == pmWhite)
        color = Qt::white;
    QPen pen(color);
    pen.setWidth(FWidth);
    pen.setCosmetic(FWidth == 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (FStyle) {
    case psDash: pen.setStyle(Qt::DashLine); break;
    case psDot: pen.setStyle(Qt::DotLine); break;
    case psDashDot: pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

QBrush TBrush::ToQBrush() const
{
    const QColor color = ToQColor(FColor);
    switch (FStyle) {
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: return QBrush(color, Qt::HorPattern);
    case bsVertical: return QBrush(color, Qt::VerPattern);
    case bsFDiagonal: return QBrush(color, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(color, Qt::BDiagPattern);
    case bsCross: return QBrush(color, Qt::CrossPattern);
    case bsDiagCross: return QBrush(color, Qt::DiagCrossPattern);
    case bsSolid: break;
    }
    return QBrush(color, Qt::SolidPattern);
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image)
    : FImage(image.convertToFormat(QImage::Format_RGB32))
{
}

TBitmap::~TBitmap()
{
    EndPainting();
}

void TBitmap::EndPainting() const
{
    FCanvas.reset();
    FContext.reset();
}

void TBitmap::SetSize(int width, int height)
{
    EndPainting();
    if (width <= 0 || height <= 0) {
        FImage = QImage();
        return;
    }
    FImage = QImage(width, height, QImage::Format_RGB32);
    FImage.fill(Qt::white);
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    EndPainting();
    FImage = source.Image().copy();
    FTransparent = source.FTransparent;
}

void TBitmap::LoadFromFile(const QString& path)
{
    EndPainting();
    QImage image(path);
    if (image.isNull())
        throw Exception(QStringLiteral("Cannot load the image file '%1'").arg(path));
    FImage = image.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::LoadFromResourceName(const QString& name)
{
    LoadFromFile(QStringLiteral(":/vellaro/%1.bmp").arg(name));
}

void TBitmap::SaveToFile(const QString& path) const
{
    if (!Image().save(path))
        throw Exception(QStringLiteral("Cannot write the image file '%1'").arg(path));
}

const QImage& TBitmap::Image() const
{
    EndPainting();
    return FImage;
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        if (FImage.isNull())
            throw EInvalidOperation(QStringLiteral("Cannot draw on an empty bitmap"));
        FContext = std::make_unique<TDeviceContext>(&FImage, DefaultPixelsPerInch, DefaultPixelsPerInch);
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FContext.get());
    }
    return FCanvas.get();
}

TColor TBitmap::TransparentColor() const
{
    const QImage& image = Image();
    if (image.isNull())
        return clWhite;
    return FromQColor(image.pixelColor(0, image.height() - 1));
}

} // namespace Vellaro
