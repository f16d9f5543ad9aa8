#include "platform/graphics/Canvas.h"

namespace Vellaro {

TDeviceContext* TCanvas::RequireHandle()
{
    if (!FHandle)
        throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    FHandle->SelectFont(FFont);
    FHandle->SelectPen(FPen);
    FHandle->SelectBrush(FBrush);
    return FHandle;
}

TDeviceContext* TCanvas::Handle()
{
    return FHandle ? RequireHandle() : nullptr;
}

void TCanvas::LineTo(int X, int Y)
{
    RequireHandle()->Line(FPenPos, {X, Y});
    FPenPos = {X, Y};
}

void TCanvas::Rectangle(const TRect& rect)
{
    RequireHandle()->Rectangle(rect);
}

void TCanvas::FillRect(const TRect& rect)
{
    RequireHandle()->FillRect(rect);
}

void TCanvas::TextOut(int X, int Y, const QString& text)
{
    const TSize extent = RequireHandle()->TextOut(X, Y, text);
    FPenPos = {X + extent.cx, Y};
}

void TCanvas::TextRect(const TRect& rect, int X, int Y, const QString& text)
{
    RequireHandle()->TextOut(X, Y, text, &rect, true);
}

TSize TCanvas::TextExtent(const QString& text)
{
    return RequireHandle()->TextExtent(text);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap)
{
    const QImage& image = bitmap.Image();
    RequireHandle()->StretchImage(rect, image, image.rect());
}

void TCanvas::CopyRect(const TRect& dest, TBitmap& source, const TRect& sourceRect)
{
    RequireHandle()->StretchImage(dest, source.Image(), sourceRect.ToQRect());
}

} // namespace Vellaro
