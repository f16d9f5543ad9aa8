#include "platform/graphics/DeviceContext.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPaintDevice>
#include <cmath>
#include <cstring>

namespace Vellaro {

TDeviceContext::TDeviceContext(QPaintDevice* device, int dpiX, int dpiY)
    : FOwnPainter(std::make_unique<QPainter>())
{
    if (!FOwnPainter->begin(device))
        throw EPrinter(QStringLiteral("Cannot start drawing on the device"));
    FPainter = FOwnPainter.get();
    FDeviceSize = QSize(device->width(), device->height());
    Init(dpiX, dpiY);
}

TDeviceContext::TDeviceContext(QPainter* painter, int dpiX, int dpiY)
    : FPainter(painter)
{
    if (painter && painter->device())
        FDeviceSize = QSize(painter->device()->width(), painter->device()->height());
    Init(dpiX, dpiY);
}

TDeviceContext::TDeviceContext(TDrawRecorder* recorder, int dpiX, int dpiY)
    : FRecorder(recorder)
{
    Init(dpiX, dpiY);
}

TDeviceContext::TDeviceContext(int dpiX, int dpiY)
{
    Init(dpiX, dpiY);
}

TDeviceContext::~TDeviceContext()
{
    if (FOwnPainter && FOwnPainter->isActive())
        FOwnPainter->end();
}

void TDeviceContext::Init(int dpiX, int dpiY)
{
    FDpiX = dpiX > 0 ? dpiX : 96;
    FDpiY = dpiY > 0 ? dpiY : 96;
    if (FPainter) {
        FBaseTransform = FPainter->worldTransform();
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::TextAntialiasing, true);
    }
    FQFont = FFont.ToQFont();
    FMetrics = std::make_unique<QFontMetrics>(FQFont);
}

int TDeviceContext::SetMapMode(int mode)
{
    const int old = FMapMode;
    FMapMode = mode;
    return old;
}

TSize TDeviceContext::SetWindowExt(int cx, int cy)
{
    const TSize old = FWindowExt;
    if (FMapMode == MM_ANISOTROPIC && cx != 0 && cy != 0)
        FWindowExt = {cx, cy};
    return old;
}

TSize TDeviceContext::SetViewportExt(int cx, int cy)
{
    const TSize old = FViewportExt;
    if (FMapMode == MM_ANISOTROPIC && cx != 0 && cy != 0)
        FViewportExt = {cx, cy};
    return old;
}

TPoint TDeviceContext::SetWindowOrg(int x, int y)
{
    const TPoint old = FWindowOrg;
    FWindowOrg = {x, y};
    return old;
}

TPoint TDeviceContext::SetViewportOrg(int x, int y)
{
    const TPoint old = FViewportOrg;
    FViewportOrg = {x, y};
    return old;
}

void TDeviceContext::ResetMapping()
{
    FMapMode = MM_TEXT;
    FWindowExt = FViewportExt = {1, 1};
    FWindowOrg = FViewportOrg = {};
}

QTransform TDeviceContext::Transform() const
{
    double sx = 1.0, sy = 1.0;
    if (FMapMode == MM_ANISOTROPIC) {
        sx = double(FViewportExt.cx) / FWindowExt.cx;
        sy = double(FViewportExt.cy) / FWindowExt.cy;
    }
    return QTransform(sx, 0, 0, sy, FViewportOrg.X - FWindowOrg.X * sx, FViewportOrg.Y - FWindowOrg.Y * sy);
}

TPoint TDeviceContext::LPtoDP(TPoint p) const
{
    const QPointF d = Transform().map(QPointF(p.X, p.Y));
    return {int(std::lround(d.x())), int(std::lround(d.y()))};
}

TRect TDeviceContext::LPtoDP(const TRect& r) const
{
    const TPoint a = LPtoDP(TPoint{r.Left, r.Top});
    const TPoint b = LPtoDP(TPoint{r.Right, r.Bottom});
    return {a.X, a.Y, b.X, b.Y};
}

int TDeviceContext::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX: return FDpiX;
    case LOGPIXELSY: return FDpiY;
    case HORZRES: return FDeviceSize.width();
    case VERTRES: return FDeviceSize.height();
    default: return 0;
    }
}

void TDeviceContext::SelectFont(const TFont& font)
{
    if (font == FFont)
        return;
    const bool sameLook = font.Name() == FFont.Name() && font.Height() == FFont.Height() && font.Style() == FFont.Style();
    FFont = font;
    if (!sameLook) {
        FQFont = FFont.ToQFont();
        FMetrics = std::make_unique<QFontMetrics>(FQFont);
    }
}

void TDeviceContext::ApplyDeviceSpace()
{
    if (FPainter->worldTransform() != FBaseTransform)
        FPainter->setWorldTransform(FBaseTransform);
}

void TDeviceContext::ApplyLogicalSpace()
{
    const QTransform wanted = Transform() * FBaseTransform;
    if (FPainter->worldTransform() != wanted)
        FPainter->setWorldTransform(wanted);
}

int TDeviceContext::DevicePenWidth() const
{
    if (FPen.Width() == 0)
        return 0;
    const double scale = std::abs(Transform().m11());
    return std::max(1, int(std::lround(FPen.Width() * scale)));
}

int TDeviceContext::DeviceFontHeight() const
{
    return int(std::lround(FFont.Height() * std::abs(Transform().m22())));
}

TDrawRecord TDeviceContext::BaseRecord(TDrawRecord::TKind kind) const
{
    TDrawRecord r;
    r.Kind = kind;
    r.Color = FPen.Color();
    r.PenStyle = FPen.Style();
    r.PenWidth = DevicePenWidth();
    r.BrushColor = FBrush.Color();
    r.BrushStyle = FBrush.Style();
    return r;
}

namespace {
QPainter::CompositionMode CompositionFor(TPenMode mode, QPainter* painter)
{
    if (!painter->paintEngine() || !painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        return QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPen DevicePen(const TPen& pen, int deviceWidth)
{
    QPen q = pen.ToQPen();
    if (q.style() != Qt::NoPen) {
        q.setWidth(deviceWidth);
        q.setCosmetic(deviceWidth == 0);
    }
    return q;
}
} // namespace

void TDeviceContext::Line(TPoint a, TPoint b)
{
    const TPoint da = LPtoDP(a);
    const TPoint db = LPtoDP(b);
    if (FRecorder) {
        TDrawRecord r = BaseRecord(TDrawRecord::drLine);
        r.From = da;
        r.To = db;
        FRecorder->Add(std::move(r));
    }
    if (!FPainter || FPen.Style() == psClear)
        return;
    if (da == db)
        return;
    // Qt's aliased lines with a flat cap already leave out the end point, as the framework's do.
    ApplyDeviceSpace();
    FPainter->setCompositionMode(CompositionFor(FPen.Mode(), FPainter));
    FPainter->setPen(DevicePen(FPen, DevicePenWidth()));
    FPainter->drawLine(QPointF(da.X, da.Y), QPointF(db.X, db.Y));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TDeviceContext::Rectangle(const TRect& r)
{
    TRect d = LPtoDP(r);
    if (d.Left > d.Right)
        std::swap(d.Left, d.Right);
    if (d.Top > d.Bottom)
        std::swap(d.Top, d.Bottom);
    if (FRecorder) {
        TDrawRecord rec = BaseRecord(TDrawRecord::drRectangle);
        rec.Rect = d;
        FRecorder->Add(std::move(rec));
    }
    if (!FPainter || d.Width() <= 0 || d.Height() <= 0)
        return;
    ApplyDeviceSpace();
    if (FBrush.Style() != bsClear)
        FPainter->fillRect(d.ToQRect(), FBrush.ToQBrush());
    if (FPen.Style() != psClear && FPen.Mode() != pmNop) {
        FPainter->setCompositionMode(CompositionFor(FPen.Mode(), FPainter));
        FPainter->setPen(DevicePen(FPen, DevicePenWidth()));
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawRect(QRect(d.Left, d.Top, d.Width() - 1, d.Height() - 1));
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

void TDeviceContext::FillRect(const TRect& r)
{
    const TRect d = LPtoDP(r);
    if (FRecorder) {
        TDrawRecord rec = BaseRecord(TDrawRecord::drFillRect);
        rec.Rect = d;
        FRecorder->Add(std::move(rec));
    }
    if (!FPainter || d.Width() <= 0 || d.Height() <= 0 || FBrush.Style() == bsClear)
        return;
    ApplyDeviceSpace();
    FPainter->fillRect(d.ToQRect(), FBrush.ToQBrush());
}

TSize TDeviceContext::TextExtent(const QString& text) const
{
    return {FMetrics->horizontalAdvance(text), FMetrics->height()};
}

TSize TDeviceContext::TextOut(int x, int y, const QString& text, const TRect* clip, bool fillClip, unsigned format)
{
    const TSize extent = TextExtent(text);
    const TRect box{x, y, x + extent.cx, y + extent.cy};
    if (FRecorder) {
        TDrawRecord rec = BaseRecord(TDrawRecord::drText);
        rec.Rect = LPtoDP(box);
        if (clip)
            rec.ClipRect = LPtoDP(*clip);
        rec.Text = text;
        rec.Color = FFont.Color();
        rec.FontName = FFont.Name();
        rec.FontHeight = DeviceFontHeight();
        rec.FontStyle = FFont.Style();
        rec.Format = format;
        FRecorder->Add(std::move(rec));
    }
    if (!FPainter)
        return extent;
    ApplyLogicalSpace();
    if (clip) {
        FPainter->save();
        FPainter->setClipRect(clip->ToQRect(), Qt::IntersectClip);
    }
    if (FBrush.Style() != bsClear) {
        const TRect& background = (clip && fillClip) ? *clip : box;
        FPainter->fillRect(background.ToQRect(), ToQColor(FBrush.Color()));
    }
    if (FPainter->font() != FQFont)
        FPainter->setFont(FQFont);
    FPainter->setPen(ToQColor(FFont.Color()));
    FPainter->drawText(QPointF(x, y + FMetrics->ascent()), text);
    if (clip)
        FPainter->restore();
    return extent;
}

QString TDeviceContext::ElidedToWidth(const QString& text, int width) const
{
    // Nothing to shorten: an empty text stays empty, even in a cell too narrow for the dots.
    if (text.isEmpty() || FMetrics->horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    // The longest prefix that fits together with the dots (widths grow with the prefix).
    int lo = 0, hi = int(text.size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (FMetrics->horizontalAdvance(text.left(mid) + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo) + dots;
}

int TDeviceContext::DrawText(const QString& input, TRect& rect, unsigned format)
{
    QString text = input;
    if (!(format & DT_NOPREFIX))
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (format & DT_SINGLELINE)
        text.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int lineHeight = FMetrics->height();
    if (format & DT_CALCRECT) {
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, FMetrics->horizontalAdvance(line));
        rect.Right = rect.Left + width;
        rect.Bottom = rect.Top + lineHeight * int(lines.size());
        return lineHeight * int(lines.size());
    }
    const int totalHeight = lineHeight * int(lines.size());
    int y = rect.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    const TRect* clip = (format & DT_NOCLIP) ? nullptr : &rect;
    for (QString line : lines) {
        if (format & DT_END_ELLIPSIS)
            line = ElidedToWidth(line, rect.Width());
        const int width = FMetrics->horizontalAdvance(line);
        int x = rect.Left;
        if (format & DT_CENTER)
            x = rect.Left + (rect.Width() - width) / 2;
        else if (format & DT_RIGHT)
            x = rect.Right - width;
        TextOut(x, y, line, clip, false, format);
        y += lineHeight;
    }
    return totalHeight;
}

void TDeviceContext::StretchImage(const TRect& dest, const QImage& image, const QRect& source)
{
    if (FRecorder) {
        TDrawRecord rec = BaseRecord(TDrawRecord::drBitmap);
        rec.Rect = LPtoDP(dest);
        rec.SourceSize = source.size();
        FRecorder->Add(std::move(rec));
    }
    if (!FPainter || image.isNull())
        return;
    ApplyLogicalSpace();
    FPainter->drawImage(QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()), image, QRectF(source));
}

int SetMapMode(TDeviceContext* dc, int mode)
{
    return dc->SetMapMode(mode);
}

bool SetWindowExtEx(TDeviceContext* dc, int cx, int cy, TSize* old)
{
    const TSize previous = dc->SetWindowExt(cx, cy);
    if (old)
        *old = previous;
    return true;
}

bool SetViewportExtEx(TDeviceContext* dc, int cx, int cy, TSize* old)
{
    const TSize previous = dc->SetViewportExt(cx, cy);
    if (old)
        *old = previous;
    return true;
}

bool SetWindowOrgEx(TDeviceContext* dc, int x, int y, TPoint* old)
{
    const TPoint previous = dc->SetWindowOrg(x, y);
    if (old)
        *old = previous;
    return true;
}

bool SetViewportOrgEx(TDeviceContext* dc, int x, int y, TPoint* old)
{
    const TPoint previous = dc->SetViewportOrg(x, y);
    if (old)
        *old = previous;
    return true;
}

bool ScaleViewportExtEx(TDeviceContext* dc, int xNum, int xDenom, int yNum, int yDenom, TSize* old)
{
    if (xDenom == 0 || yDenom == 0)
        return false;
    const TSize ext = dc->ViewportExt();
    const long long cx = static_cast<long long>(ext.cx) * xNum / xDenom;
    const long long cy = static_cast<long long>(ext.cy) * yNum / yDenom;
    if (old)
        *old = ext;
    dc->SetViewportExt(int(cx), int(cy));
    return true;
}

bool GetWindowExtEx(TDeviceContext* dc, TSize* size)
{
    *size = dc->WindowExt();
    return true;
}

bool GetViewportExtEx(TDeviceContext* dc, TSize* size)
{
    *size = dc->ViewportExt();
    return true;
}

bool GetViewportOrgEx(TDeviceContext* dc, TPoint* point)
{
    *point = dc->ViewportOrg();
    return true;
}

int GetDeviceCaps(TDeviceContext* dc, int index)
{
    return dc->GetDeviceCaps(index);
}

bool GetTextExtentPoint32(TDeviceContext* dc, const QString& text, TSize* size)
{
    *size = dc->TextExtent(text);
    return true;
}

int DrawText(TDeviceContext* dc, const QString& text, TRect* rect, unsigned format)
{
    return dc->DrawText(text, *rect, format);
}

void GetDIBSizes(const TBitmap& bitmap, int& infoHeaderSize, int& imageSize)
{
    infoHeaderSize = int(sizeof(TBitmapInfoHeader));
    imageSize = bitmap.Width() * bitmap.Height() * 4;
}

bool GetDIB(const TBitmap& bitmap, TBitmapInfoHeader* info, std::uint8_t* bits, int bitsSize)
{
    const QImage& image = bitmap.Image();
    const int width = image.width();
    const int height = image.height();
    if (!info || !bits || bitsSize < width * height * 4)
        return false;
    info->biWidth = width;
    info->biHeight = height;
    info->biBitCount = 32;
    info->biSizeImage = width * height * 4;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) // bottom row first
        std::memcpy(bits + size_t(row) * width * 4, rgb.constScanLine(height - 1 - row), size_t(width) * 4);
    return true;
}

int StretchDIBits(TDeviceContext* dc, int destX, int destY, int destWidth, int destHeight,
    int srcX, int srcY, int srcWidth, int srcHeight, const std::uint8_t* bits, const TBitmapInfoHeader* info,
    unsigned usage, std::uint32_t rop)
{
    if (!dc || !bits || !info || usage != DIB_RGB_COLORS || rop != SRCCOPY || info->biBitCount != 32)
        return 0;
    const int width = info->biWidth;
    const int height = info->biHeight;
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row)
        std::memcpy(image.scanLine(height - 1 - row), bits + size_t(row) * width * 4, size_t(width) * 4);
    dc->StretchImage({destX, destY, destX + destWidth, destY + destHeight}, image, QRect(srcX, srcY, srcWidth, srcHeight));
    return srcHeight;
}

} // namespace Vellaro
