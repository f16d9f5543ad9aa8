#include "platform/graphics/DeviceContext.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

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
    if (FPainter && FPainter->isActive())
        Flush();
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
        UpdateVisibleArea();
    }
    FQFont = FFont.ToQFont();
    FMetrics = std::make_unique<QFontMetrics>(FQFont);
}

void TDeviceContext::UpdateVisibleArea()
{
    FVisible = QRect();
    if (!FPainter || FDeviceSize.isEmpty())
        return;
    bool invertible = false;
    const QTransform toDevice = FBaseTransform.inverted(&invertible);
    if (invertible)
        FVisible = toDevice.mapRect(QRect(QPoint(0, 0), FDeviceSize));
}

void TDeviceContext::SetDeviceSize(QSize size)
{
    FDeviceSize = size;
    UpdateVisibleArea();
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
    FViewportOrgPart = {};
    return old;
}

void TDeviceContext::SetViewportOrgF(QPointF origin)
{
    const double x = std::floor(origin.x()), y = std::floor(origin.y());
    FViewportOrg = {int(x), int(y)};
    FViewportOrgPart = QPointF(origin.x() - x, origin.y() - y);
}

void TDeviceContext::ResetMapping()
{
    FMapMode = MM_TEXT;
    FWindowExt = FViewportExt = {1, 1};
    FWindowOrg = FViewportOrg = {};
    FViewportOrgPart = {};
}

namespace {
/// Logical to device coordinates on each axis: device = Scale * logical + Offset.
struct TAxisMapping {
    double ScaleX = 1.0, ScaleY = 1.0, OffsetX = 0.0, OffsetY = 0.0;
};

TAxisMapping AxisMapping(const TDeviceContext& dc)
{
    TAxisMapping m;
    if (dc.MapMode() == MM_ANISOTROPIC) {
        m.ScaleX = double(dc.ViewportExt().cx) / dc.WindowExt().cx;
        m.ScaleY = double(dc.ViewportExt().cy) / dc.WindowExt().cy;
    }
    const QPointF origin = dc.ViewportOrgF();
    m.OffsetX = origin.x() - dc.WindowOrg().X * m.ScaleX;
    m.OffsetY = origin.y() - dc.WindowOrg().Y * m.ScaleY;
    return m;
}
} // namespace

QTransform TDeviceContext::Transform() const
{
    const TAxisMapping m = AxisMapping(*this);
    return QTransform(m.ScaleX, 0, 0, m.ScaleY, m.OffsetX, m.OffsetY);
}

TPoint TDeviceContext::LPtoDP(TPoint p) const
{
    // What Transform().map gives, without building the transform for every point.
    const TAxisMapping m = AxisMapping(*this);
    return {int(std::lround(m.ScaleX * p.X + m.OffsetX)), int(std::lround(m.ScaleY * p.Y + m.OffsetY))};
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
        FShortWidths.clear();
        FLastShortWidth = -1;
        FShaped.reset();
        FPainterFontCurrent = false;
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

/// The pen as drawn: the device width, and dash patterns in points of the page (scale: device
/// pixels per logical unit; unitsPerPoint: logical units in a point of the page).
QPen PaintPen(const TPen& source, int deviceWidth, double scale, double unitsPerPoint)
{
    QPen pen = DevicePen(source, deviceWidth);
    if (pen.style() == Qt::NoPen || pen.style() == Qt::SolidLine)
        return pen;
    // Dots and dashes are measured in points of the page, as the PDF printer draws them, so they
    // have the same length on paper and in a preview at any zoom; in device pixels the pane's
    // dots would be a different size at every zoom.
    // A dot is a point long, or as long as the line is wide when that is more, measured before
    // the width is rounded to whole device pixels (Qt counts the pattern in pen widths).
    const double width = std::max(pen.widthF(), 1.0);
    const double unit = std::max(unitsPerPoint, double(source.Width())) * scale;
    const double stretch = std::max(unit, 1.0) / width;
    QList<qreal> pattern = pen.dashPattern();
    for (qreal& length : pattern)
        length *= stretch;
    pen.setWidthF(width);
    pen.setCosmetic(false);
    pen.setDashPattern(pattern);
    return pen;
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
    if (!FPainter || FPen.Style() == psClear || FPen.Mode() == pmNop)
        return;
    if (da == db)
        return;
    BeforePaint();
    const int reach = DevicePenWidth() + 1;
    const QRect bounds = QRect(QPoint(std::min(da.X, db.X), std::min(da.Y, db.Y)), QPoint(std::max(da.X, db.X), std::max(da.Y, db.Y)))
                             .adjusted(-reach, -reach, reach, reach);
    if (!Visible(bounds))
        return;
    // Solid lines that paint over (not XOR) may be merged; the others go out as they come.
    // Queued lines are marked painted when they are drawn, merged: before anything that asks.
    if (FPen.Style() == psSolid && FPen.Mode() == pmCopy) {
        QueueLine(da, db);
        return;
    }
    MarkPainted(bounds);
    DrawLineNow(da, db);
}

void TDeviceContext::DrawLineNow(TPoint from, TPoint to)
{
    Flush();
    // Qt's aliased lines with a flat cap already leave out the end point, as the framework's do.
    ApplyDeviceSpace();
    UseComposition(CompositionFor(FPen.Mode(), FPainter));
    UsePen(PaintPen(FPen, DevicePenWidth(), std::abs(Transform().m11()), FDpiX / 72.0));
    FPainter->drawLine(QPointF(from.X, from.Y), QPointF(to.X, to.Y));
}


void TDeviceContext::QueueLine(TPoint from, TPoint to)
{
    // A solid pen that paints over is its colour and width: the pen is made once for both.
    const int width = DevicePenWidth();
    if (width != FQueuedWidth || FPen.Color() != FQueuedColor) {
        const QPen pen = DevicePen(FPen, width);
        if (!FQueuedLines.empty() && pen != FQueuedPen)
            Flush();
        FQueuedPen = pen;
        FQueuedWidth = width;
        FQueuedColor = FPen.Color();
    }
    FQueuedLines.push_back({from, to});
}

namespace {
/// A horizontal or vertical line drawn forwards, as a half-open range along its axis.
struct TAxisLine {
    bool Horizontal;
    int Across; // y of a horizontal line, x of a vertical one
    int From;   // first pixel along the axis
    int To;     // the pixel left out
    bool operator<(const TAxisLine& o) const
    {
        return std::tie(Horizontal, Across, From, To) < std::tie(o.Horizontal, o.Across, o.From, o.To);
    }
};
} // namespace

void TDeviceContext::Flush()
{
    if (FQueuedLines.empty())
        return;
    std::vector<TAxisLine> axis;
    std::vector<QLineF> lines;
    for (const TQueuedLine& l : FQueuedLines) {
        if (l.From.Y == l.To.Y && l.From.X < l.To.X)
            axis.push_back({true, l.From.Y, l.From.X, l.To.X});
        else if (l.From.X == l.To.X && l.From.Y < l.To.Y)
            axis.push_back({false, l.From.X, l.From.Y, l.To.Y});
        else
            lines.emplace_back(l.From.X, l.From.Y, l.To.X, l.To.Y);
    }
    FQueuedLines.clear();
    // Pieces of one row or column that overlap or touch cover the same pixels as one line.
    std::sort(axis.begin(), axis.end());
    for (size_t i = 0; i < axis.size();) {
        TAxisLine merged = axis[i++];
        while (i < axis.size() && axis[i].Horizontal == merged.Horizontal && axis[i].Across == merged.Across
            && axis[i].From <= merged.To) {
            merged.To = std::max(merged.To, axis[i].To);
            ++i;
        }
        if (merged.Horizontal)
            lines.emplace_back(merged.From, merged.Across, merged.To, merged.Across);
        else
            lines.emplace_back(merged.Across, merged.From, merged.Across, merged.To);
    }
    const int reach = FQueuedPen.width() + 1;
    for (const QLineF& l : lines) {
        const QPoint a = l.p1().toPoint(), b = l.p2().toPoint();
        MarkPainted(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())), QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())))
                        .adjusted(-reach, -reach, reach, reach));
    }
    ApplyDeviceSpace();
    UseComposition(QPainter::CompositionMode_SourceOver);
    UsePen(FQueuedPen);
    FPainter->drawLines(lines.data(), int(lines.size()));
}

QPainter* TDeviceContext::Painter()
{
    if (FPainter) {
        BeforePaint();
        Flush();
        FPainterStateKnown = false;
        FPainted.clear(); // whatever is drawn now, this context does not see
    }
    return FPainter;
}

void TDeviceContext::BeforePaint()
{
    if (!FBeforePaint)
        return;
    const std::function<void()> action = std::move(FBeforePaint);
    FBeforePaint = nullptr;
    action();
}

void TDeviceContext::StartBlankPage()
{
    FPainted.clear();
    if (!FPainter || FVisible.isEmpty())
        return;
    FPaintedColumns = (FVisible.right() + PaintedBlock) / PaintedBlock;
    const int rows = (FVisible.bottom() + PaintedBlock) / PaintedBlock;
    if (FVisible.left() < 0 || FVisible.top() < 0 || FPaintedColumns <= 0 || rows <= 0)
        return;
    FPainted.assign(size_t(FPaintedColumns) * size_t(rows), TPaintedBox{});
}

QRect TDeviceContext::PaintedBlocks(const QRect& deviceRect) const
{
    const int rows = int(FPainted.size() / size_t(FPaintedColumns));
    const QRect r = deviceRect.normalized();
    return QRect(QPoint(std::clamp(r.left() / PaintedBlock, 0, FPaintedColumns - 1), std::clamp(r.top() / PaintedBlock, 0, rows - 1)),
        QPoint(std::clamp(r.right() / PaintedBlock, 0, FPaintedColumns - 1), std::clamp(r.bottom() / PaintedBlock, 0, rows - 1)));
}

namespace {
/// A coordinate within the block starting at blockStart; a rectangle reaching past the painted
/// map is taken to its edge blocks, in marking and asking alike.
std::uint8_t InBlock(int coordinate, int blockStart, int block)
{
    return std::uint8_t(std::clamp(coordinate - blockStart, 0, block - 1));
}
} // namespace

void TDeviceContext::MarkPainted(const QRect& deviceRect)
{
    if (FPainted.empty())
        return;
    const QRect r = deviceRect.normalized().adjusted(-1, -1, 1, 1);
    const QRect blocks = PaintedBlocks(r);
    // Only the first and last column of blocks can be partly covered across.
    const std::uint8_t firstLeft = InBlock(r.left(), blocks.left() * PaintedBlock, PaintedBlock);
    const std::uint8_t lastRight = InBlock(r.right(), blocks.right() * PaintedBlock, PaintedBlock);
    for (int row = blocks.top(); row <= blocks.bottom(); ++row) {
        const int y = row * PaintedBlock;
        const std::uint8_t top = InBlock(r.top(), y, PaintedBlock), bottom = InBlock(r.bottom(), y, PaintedBlock);
        TPaintedBox* rowBoxes = FPainted.data() + size_t(row) * size_t(FPaintedColumns);
        for (int col = blocks.left(); col <= blocks.right(); ++col) {
            TPaintedBox& box = rowBoxes[col];
            box.Left = std::min(box.Left, col == blocks.left() ? firstLeft : std::uint8_t(0));
            box.Right = std::max(box.Right, col == blocks.right() ? lastRight : std::uint8_t(PaintedBlock - 1));
            box.Top = std::min(box.Top, top);
            box.Bottom = std::max(box.Bottom, bottom);
        }
    }
}

bool TDeviceContext::Unpainted(const QRect& deviceRect) const
{
    if (FPainted.empty())
        return false;
    const QRect r = deviceRect.normalized();
    const QRect blocks = PaintedBlocks(r);
    for (int row = blocks.top(); row <= blocks.bottom(); ++row) {
        const int y = row * PaintedBlock;
        const std::uint8_t top = InBlock(r.top(), y, PaintedBlock), bottom = InBlock(r.bottom(), y, PaintedBlock);
        for (int col = blocks.left(); col <= blocks.right(); ++col) {
            const int x = col * PaintedBlock;
            const TPaintedBox& box = FPainted[size_t(row) * size_t(FPaintedColumns) + size_t(col)];
            if (box.Left <= InBlock(r.right(), x, PaintedBlock) && InBlock(r.left(), x, PaintedBlock) <= box.Right
                && box.Top <= bottom && top <= box.Bottom)
                return false;
        }
    }
    return true;
}

void TDeviceContext::FillLogical(const TRect& r, TColor color)
{
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const QRect device = LPtoDP(r).ToQRect().normalized();
    if (color == clWhite && Unpainted(device))
        return;
    FPainter->fillRect(r.ToQRect(), ToQColor(color));
    MarkPainted(device);
}

void TDeviceContext::UsePen(const QPen& pen)
{
    if (FPainterStateKnown && pen == FPainterPen)
        return;
    if (!FPainterStateKnown)
        FPainterFontCurrent = false;
    FPainterStateKnown = true;
    FPainterPen = pen;
    FPainter->setPen(pen);
}

void TDeviceContext::UseComposition(int mode)
{
    if (FPainter->compositionMode() != QPainter::CompositionMode(mode))
        FPainter->setCompositionMode(QPainter::CompositionMode(mode));
}

void TDeviceContext::UseFont()
{
    if (FPainterStateKnown && FPainterFontCurrent)
        return;
    FPainter->setFont(FQFont);
    FPainterFontCurrent = true;
}

bool TDeviceContext::Visible(const QRect& deviceRect) const
{
    return FVisible.isEmpty() || FVisible.intersects(deviceRect);
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
    if (!FPainter)
        return;
    BeforePaint();
    if (d.Width() <= 0 || d.Height() <= 0 || !Visible(d.ToQRect().adjusted(-1, -1, 1, 1)))
        return;
    Flush();
    ApplyDeviceSpace();
    if (FBrush.Style() != bsClear)
        FPainter->fillRect(d.ToQRect(), FBrush.ToQBrush());
    MarkPainted(d.ToQRect());
    if (FPen.Style() != psClear && FPen.Mode() != pmNop) {
        UseComposition(CompositionFor(FPen.Mode(), FPainter));
        UsePen(PaintPen(FPen, DevicePenWidth(), std::abs(Transform().m11()), FDpiX / 72.0));
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawRect(QRect(d.Left, d.Top, d.Width() - 1, d.Height() - 1));
        UseComposition(QPainter::CompositionMode_SourceOver);
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
    if (!FPainter)
        return;
    BeforePaint();
    if (d.Width() <= 0 || d.Height() <= 0 || FBrush.Style() == bsClear || !Visible(d.ToQRect()))
        return;
    Flush();
    ApplyDeviceSpace();
    FPainter->fillRect(d.ToQRect(), FBrush.ToQBrush());
    MarkPainted(d.ToQRect());
}

std::int64_t TDeviceContext::TextWidth64(const QString& text) const
{
    // Below Qt's fixed-point limit in any font; pieces of this length are measured exactly.
    constexpr qsizetype piece = 4096;
    // Short texts (spaces for insets, single digits) come back again and again.
    if (text.size() <= 4) {
        if (FLastShortWidth >= 0 && text == FLastShortText)
            return FLastShortWidth;
        FLastShortText = text;
        const auto known = FShortWidths.constFind(text);
        if (known != FShortWidths.cend())
            return FLastShortWidth = *known;
        return FLastShortWidth = FShortWidths[text] = FMetrics->horizontalAdvance(text);
    }
    if (text.size() <= piece)
        return FMetrics->horizontalAdvance(text);
    std::int64_t width = 0;
    for (qsizetype from = 0; from < text.size(); from += piece)
        width += FMetrics->horizontalAdvance(text.mid(from, piece));
    return width;
}

std::int64_t TDeviceContext::MeasureForDrawing(const QString& text)
{
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; });
    if (!FPainter || text.size() <= 4 || text.size() > 1024 || !plain)
        return TextWidth64(text);
    // The layout of the last text is reused (same font and options): only the text changes.
    std::unique_ptr<QTextLayout> layout = FShaped ? std::move(FShaped->Layout) : nullptr;
    FShaped.reset();
    if (layout) {
        layout->setText(text);
    } else {
        layout = std::make_unique<QTextLayout>(text, FQFont);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
    }
    layout->beginLayout();
    const QTextLine line = layout->createLine();
    layout->endLayout();
    // The same shaping as QFontMetrics::horizontalAdvance, so the same width.
    const std::int64_t width = qRound(line.horizontalAdvance());
    FShaped = TShapedText{text, std::move(layout)};
    return width;
}

void TDeviceContext::DrawShapedText(int x, int y, const QString& text)
{
    const qreal baseline = y + FMetrics->ascent();
    if (!FShaped || FShaped->Text != text) {
        FPainter->drawText(QPointF(x, baseline), text);
        return;
    }
    // Drawn as QPainter::drawText draws a line: straight from the layout, without glyph runs.
    const QTextLine line = FShaped->Layout->lineAt(0);
    line.draw(FPainter, QPointF(x, baseline - line.ascent()));
}

TSize TDeviceContext::TextExtent(const QString& text) const
{
    return {ClampToInt(TextWidth64(text)), FMetrics->height()};
}

TSize TDeviceContext::TextOut(int x, int y, const QString& text, const TRect* clip, bool fillClip, unsigned format)
{
    return TextOutMeasured(x, y, text, MeasureForDrawing(text), clip, fillClip, format);
}

TSize TDeviceContext::TextOutMeasured(int x, int y, const QString& text, std::int64_t width, const TRect* clip,
    bool fillClip, unsigned format)
{
    const TSize extent{ClampToInt(width), FMetrics->height()};
    const TRect box{x, y, ClampToInt(std::int64_t(x) + extent.cx), y + extent.cy};
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
    BeforePaint();
    const TRect shown = clip ? Intersection(box, *clip) : box;
    const bool fillsClip = clip && fillClip && FBrush.Style() != bsClear;
    if (!Visible(LPtoDP(fillsClip ? *clip : shown).ToQRect()))
        return extent;
    Flush();
    ApplyLogicalSpace();
    if (FBrush.Style() != bsClear)
        FillLogical(fillsClip ? *clip : shown, FBrush.Color());
    // A clip that holds the whole text box changes nothing: leave it out (it costs a
    // save, a clip path and a restore in a PDF).
    const bool needsClip = clip && shown != box;
    if (needsClip && (shown.Width() <= 0 || shown.Height() <= 0))
        return extent;
    if (needsClip) {
        FPainter->save();
        FPainter->setClipRect(clip->ToQRect(), Qt::IntersectClip);
        FPainterStateKnown = false;
    }
    UseFont();
    if (FTextPen.color() != ToQColor(FFont.Color()))
        FTextPen = QPen(ToQColor(FFont.Color()));
    UsePen(FTextPen);
    DrawShapedText(x, y, text);
    MarkPainted(LPtoDP(shown).ToQRect());
    if (needsClip) {
        FPainter->restore();
        FPainterStateKnown = false;
    }
    return extent;
}

QString TDeviceContext::ElidedToWidth(const QString& text, std::int64_t textWidth, int width) const
{
    // Nothing to shorten: an empty text stays empty, even in a cell too narrow for the dots.
    if (text.isEmpty() || textWidth <= width)
        return text;
    const QString dots = QStringLiteral("...");
    // The longest prefix that fits together with the dots (widths grow with the prefix).
    // Most characters are at least a pixel wide: when the first width + 1 of them are already
    // too wide, the search can stay among those instead of measuring a huge text again and again.
    qsizetype lo = 0, hi = text.size();
    const qsizetype bound = qsizetype(std::max(width, 0)) + 1;
    if (bound < hi && TextWidth64(text.left(bound)) > width)
        hi = bound;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (TextWidth64(text.left(mid) + dots) <= width)
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
    const QStringList lines = text.contains(QLatin1Char('\n')) ? text.split(QLatin1Char('\n')) : QStringList{text};
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
    // Clipped text outside the device shows nothing: skip measuring it (a grid of 100,000
    // columns draws a few dozen on the page). A recording keeps every call.
    if (clip && !FRecorder && FPainter && !Visible(LPtoDP(rect).ToQRect()))
        return totalHeight;
    for (QString line : lines) {
        std::int64_t width = MeasureForDrawing(line);
        if ((format & DT_END_ELLIPSIS) && width > rect.Width()) {
            line = ElidedToWidth(line, width, rect.Width());
            width = MeasureForDrawing(line);
        }
        int x = rect.Left;
        if (format & DT_CENTER)
            x = ClampToInt((std::int64_t(rect.Left) + rect.Right - width) / 2);
        else if (format & DT_RIGHT)
            x = ClampToInt(std::int64_t(rect.Right) - width);
        TextOutMeasured(x, y, line, width, clip, false, format);
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
    BeforePaint();
    if (!Visible(LPtoDP(dest).ToQRect().normalized()))
        return;
    MarkPainted(LPtoDP(dest).ToQRect());
    Flush();
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
