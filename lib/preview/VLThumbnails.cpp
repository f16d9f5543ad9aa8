#include "preview/VLThumbnails.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace Vellaro {

namespace {
constexpr int Margin = 8;
constexpr int CaptionHeight = 16;
constexpr int ScrollBarWidth = 14;
} // namespace

TPreviewThumbnails::TPreviewThumbnails(TComponent* AOwner, QWidget* parent) : TCustomPanel(AOwner, parent)
{
    SetControlStyle(ControlStyle().Exclude(csAcceptsControls).Exclude(csSetCaption));
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetCaption(QString());
    SetColor(0x808080);
    SetWidth(150);
    setFocusPolicy(Qt::StrongFocus);
    // A plain Qt scroll bar, placed and owned by this control (it is no component).
    FScrollBar = new QScrollBar(Qt::Vertical, this);
    FScrollBar->setSingleStep(20);
    connect(FScrollBar, &QScrollBar::valueChanged, this, [this] { update(); });
}

TPreviewThumbnails::~TPreviewThumbnails()
{
    DestroyComponent();
    FPreviewLink.Detach();
}

void TPreviewThumbnails::SetPreview(TCustomPreview* Value)
{
    if (!FPreviewLink.Set(Value))
        return;
    Update();
}

void TPreviewThumbnails::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    FPreviewLink.ForgetRemoved(AComponent, Operation, [this] { SetPreview(nullptr); });
}

int TPreviewThumbnails::PageCount() const
{
    TCustomPreview* pane = Preview();
    if (!pane || !pane->PrintJob() || !pane->PrintJob()->PrinterOK() || !pane->DeskMessage().isEmpty())
        return 0;
    return pane->PrintJob()->PageCount();
}

QSize TPreviewThumbnails::ThumbnailSize() const
{
    TCustomPreview* pane = Preview();
    const int width = std::max(16, Width() - 2 * Margin - ScrollBarWidth);
    const double W = pane ? pane->PageWidthPixels() : 0, H = pane ? pane->PageHeightPixels() : 0;
    if (!(W > 0 && H > 0))
        return QSize(width, int(width * 1.414));
    return QSize(width, std::max(1, int(width * H / W)));
}

int TPreviewThumbnails::CellHeight() const
{
    return ThumbnailSize().height() + CaptionHeight + Margin;
}

void TPreviewThumbnails::LayoutScrollBar()
{
    FScrollBar->setGeometry(Width() - ScrollBarWidth, 0, ScrollBarWidth, Height());
    FScrollBar->setRange(0, std::max(0, Margin + PageCount() * CellHeight() - Height()));
    FScrollBar->setPageStep(std::max(1, Height()));
}

void TPreviewThumbnails::Update()
{
    TCustomPanel::Update();
    FCache.clear();
    LayoutScrollBar();
    if (Preview())
        ScrollToPage(Preview()->PageIndex());
    update();
}

void TPreviewThumbnails::resizeEvent(QResizeEvent* event)
{
    TCustomPanel::resizeEvent(event);
    FCache.clear(); // the images' size follows the width
    LayoutScrollBar();
}

std::pair<int, int> TPreviewThumbnails::VisiblePages() const
{
    const int pages = PageCount();
    if (pages == 0)
        return {0, -1};
    const int top = FScrollBar->value();
    const int first = std::clamp((top - Margin) / CellHeight() + 1, 1, pages);
    const int last = std::clamp((top + Height() - Margin) / CellHeight() + 1, 1, pages);
    return {first, last};
}

int TPreviewThumbnails::PageAt(QPoint p) const
{
    const int y = p.y() + FScrollBar->value() - Margin;
    if (y < 0 || p.x() >= Width() - ScrollBarWidth)
        return 0;
    const int page = y / CellHeight() + 1;
    return page <= PageCount() ? page : 0;
}

void TPreviewThumbnails::ScrollToPage(int page)
{
    const int top = Margin + (page - 1) * CellHeight();
    if (top < FScrollBar->value())
        FScrollBar->setValue(top - Margin);
    else if (top + CellHeight() > FScrollBar->value() + Height())
        FScrollBar->setValue(top + CellHeight() - Height());
}

void TPreviewThumbnails::GoToPage(int page)
{
    if (!Preview() || page < 1 || page > PageCount())
        return;
    Preview()->SetPageIndex(page); // the pane updates this control
}

const QImage& TPreviewThumbnails::PageImage(int page)
{
    for (auto it = FCache.begin(); it != FCache.end(); ++it)
        if (it->Page == page) {
            FCache.splice(FCache.begin(), FCache, it);
            return FCache.front().Image;
        }
    TCustomPreview* pane = Preview();
    TCustomPrintJob* job = pane->PrintJob();
    QImage image(ThumbnailSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        // The pane's mapping at thumbnail size: one logical unit is one printer pixel.
        TDeviceContext dc(&image, job->DPIX(), job->DPIY());
        SetMapMode(&dc, MM_ANISOTROPIC);
        SetWindowExtEx(&dc, int(pane->PageWidthPixels()), int(pane->PageHeightPixels()), nullptr);
        SetViewportExtEx(&dc, image.width(), image.height(), nullptr);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        canvas.Font()->SetPixelsPerInch(std::min(job->DPIX(), job->DPIY()));
        try {
            job->Draw(&canvas, page, dtPreview);
        } catch (...) {
            // The pane reports a page that fails; its thumbnail stays as far as it got.
        }
    }
    ++FRenders;
    FCache.push_front({page, std::move(image)});
    if (int(FCache.size()) > CacheLimit)
        FCache.pop_back();
    return FCache.front().Image;
}

void TPreviewThumbnails::Paint()
{
    // The panel's paint event has begun the painter; the canvas hands it out.
    QPainter* shared = Canvas()->Handle()->Painter();
    if (!shared)
        return;
    shared->save();
    shared->resetTransform();
    QPainter& painter = *shared;
    painter.fillRect(rect(), QColor(128, 128, 128));
    const auto [first, last] = VisiblePages();
    const QSize size = ThumbnailSize();
    const int current = Preview() ? Preview()->PageIndex() : 0;
    for (int page = first; page <= last; ++page) {
        const int top = Margin + (page - 1) * CellHeight() - FScrollBar->value();
        const QRect box(QPoint(Margin, top), size);
        painter.drawImage(box.topLeft(), PageImage(page));
        painter.setPen(page == current ? QPen(QColor(0, 90, 220), 3) : QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(-1, -1, 0, 0));
        painter.setPen(Qt::white);
        painter.drawText(QRect(Margin, box.bottom() + 2, size.width(), CaptionHeight), Qt::AlignCenter, QString::number(page));
    }
    painter.restore();
}

void TPreviewThumbnails::mousePressEvent(QMouseEvent* event)
{
    TCustomPanel::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    GuardEvent([&] { GoToPage(PageAt(p)); });
}

void TPreviewThumbnails::keyPressEvent(QKeyEvent* event)
{
    if (!Preview()) {
        TCustomPanel::keyPressEvent(event);
        return;
    }
    const int page = Preview()->PageIndex();
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: GuardEvent([&] { GoToPage(page - 1); }); break;
    case Qt::Key_Down:
    case Qt::Key_Right: GuardEvent([&] { GoToPage(page + 1); }); break;
    case Qt::Key_Home: GuardEvent([&] { GoToPage(1); }); break;
    case Qt::Key_End: GuardEvent([&] { GoToPage(PageCount()); }); break;
    default: TCustomPanel::keyPressEvent(event); return;
    }
}

void TPreviewThumbnails::wheelEvent(QWheelEvent* event)
{
    FScrollBar->setValue(FScrollBar->value() - event->angleDelta().y() / 2);
}

} // namespace Vellaro
