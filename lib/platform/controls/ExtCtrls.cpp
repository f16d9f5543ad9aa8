#include "platform/controls/ExtCtrls.h"

#include "platform/core/Application.h"
#include "platform/core/ClassRegistry.h"

#include <QPainter>
#include <algorithm>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPage)
VELLARO_REGISTER_CLASS(TNotebook)
VELLARO_REGISTER_CLASS(TImage)

// ---- TPage --------------------------------------------------------------------------------

TPage::TPage(TComponent* AOwner, QWidget* parent) : QWidget(parent), TWinControl(AOwner)
{
    InitWidget();
}

TPage::~TPage()
{
    DestroyComponent();
}

TNotebook* TPage::Notebook() const
{
    return dynamic_cast<TNotebook*>(parentWidget());
}

void TPage::SetParentComponent(TComponent* Parent)
{
    auto* notebook = dynamic_cast<TNotebook*>(Parent);
    if (!notebook)
        throw EComponentError(QStringLiteral("Page %1 is not in a notebook; expected a TNotebook around it").arg(Name()));
    notebook->AddPage(this);
}

// ---- TNotebook ----------------------------------------------------------------------------

TNotebook::TNotebook(TComponent* AOwner, QWidget* parent) : QStackedWidget(parent), TWinControl(AOwner)
{
    InitWidget();
}

TNotebook::~TNotebook()
{
    DestroyComponent();
}

TPage* TNotebook::Page(int Index) const
{
    if (Index < 0 || Index >= count())
        throw EComponentError(QStringLiteral("Page index %1 of %2 is out of range; expected 0 to %3").arg(Index).arg(Name()).arg(count() - 1));
    return static_cast<TPage*>(widget(Index));
}

QStringList TNotebook::Pages() const
{
    QStringList captions;
    for (int i = 0; i < count(); ++i)
        captions << Page(i)->Caption();
    return captions;
}

void TNotebook::AddPage(TPage* APage)
{
    if (!APage)
        throw EComponentError(QStringLiteral("No page to add to %1").arg(Name()));
    if (APage->Notebook() == this)
        return;
    addWidget(APage);
}

TPage* TNotebook::AddPage(const QString& ACaption)
{
    auto* page = new TPage(Owner());
    page->SetCaption(ACaption);
    AddPage(page);
    return page;
}

void TNotebook::SetPageIndex(int value)
{
    if (HasState(csLoading)) { // the pages come after the notebook's own properties
        FLoadedPageIndex = value;
        return;
    }
    const bool valid = count() == 0 ? value == -1 : value >= 0 && value < count();
    if (!valid)
        throw EComponentError(QStringLiteral("PageIndex %1 of %2 is out of range; expected 0 to %3").arg(value).arg(Name()).arg(count() - 1));
    if (value == currentIndex())
        return;
    setCurrentIndex(value);
    if (FOnPageChanged && !FApplyingLoaded)
        FOnPageChanged(this);
}

QString TNotebook::ActivePage() const
{
    return currentIndex() < 0 ? QString() : Page(currentIndex())->Caption();
}

void TNotebook::SetActivePage(const QString& value)
{
    if (HasState(csLoading)) {
        FLoadedActivePage = value;
        return;
    }
    const int index = int(Pages().indexOf(value));
    if (index < 0)
        throw EComponentError(QStringLiteral("%1 has no page '%2'; expected one of: %3").arg(Name(), value, Pages().join(QStringLiteral(", "))));
    SetPageIndex(index);
}

void TNotebook::Loaded()
{
    TWinControl::Loaded();
    // The page the file shows is where the notebook starts, not a change.
    FApplyingLoaded = true;
    struct Done { bool& flag; ~Done() { flag = false; } } done{FApplyingLoaded};
    if (FLoadedPageIndex)
        SetPageIndex(*std::exchange(FLoadedPageIndex, std::nullopt));
    if (FLoadedActivePage)
        SetActivePage(*std::exchange(FLoadedActivePage, std::nullopt));
}

// ---- TImage -------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner, QWidget* parent)
    : QWidget(parent), TWinControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    // The image draws on its parent's background.
    setAutoFillBackground(false);
    FPicture->SetOnChange([this] { PictureChanged(); });
    resize(105, 105);
}

TImage::~TImage()
{
    DestroyComponent();
}

void TImage::SetTransparent(bool value)
{
    FTransparent = value;
    PictureChanged();
}

void TImage::PictureChanged()
{
    FShown = FPicture->Image();
    if (FTransparent && !FShown.isNull() && !FShown.hasAlphaChannel()) {
        FShown = FShown.convertToFormat(QImage::Format_ARGB32);
        const QRgb background = FShown.pixel(0, FShown.height() - 1);
        for (int y = 0; y < FShown.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(FShown.scanLine(y));
            for (int x = 0; x < FShown.width(); ++x)
                if (line[x] == background)
                    line[x] = 0;
        }
    }
    update();
}

TRect TImage::DestRect() const
{
    int w = FPicture->Width();
    int h = FPicture->Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    if (w > 0 && h > 0 && (FStretch || (FProportional && (w > cw || h > ch)))) {
        if (FProportional) {
            // The largest size of the picture's proportions that fits the control.
            const double scale = std::min(double(cw) / w, double(ch) / h);
            w = int(w * scale);
            h = int(h * scale);
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r{0, 0, w, h};
    if (FCenter) {
        r.Left = (cw - w) / 2;
        r.Top = (ch - h) / 2;
        r.Right = r.Left + w;
        r.Bottom = r.Top + h;
    }
    return r;
}

void TImage::paintEvent(QPaintEvent*)
{
    GuardEvent([this] {
        if (FShown.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(DestRect().ToQRect(), FShown);
    });
}

} // namespace Vellaro
