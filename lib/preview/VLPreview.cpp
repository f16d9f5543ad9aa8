#include "preview/VLPreview.h"

#include <QPainter>

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"
#include "platform/core/Translations.h"

#include <QKeyEvent>
#include <QPainter>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPreview)

namespace {
constexpr TColor DeskColor = 0x808080;
constexpr TColor ShadowColor = 0x404040;
constexpr int ShadowOffset = 4;
constexpr int DeskMargin = 8;

int PrinterCaps(int index)
{
    return GetDeviceCaps(Printer()->Handle(), index);
}
} // namespace

// ---- Inner controls -----------------------------------------------------------------------

// Nothing is dropped into the pane's inner controls in a designer.
TSpecialScrollBox::TSpecialScrollBox(TComponent* AOwner) : TScrollBox(AOwner)
{
    SetControlStyle(ControlStyle().Exclude(csAcceptsControls));
}

TSpecialPanel::TSpecialPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    SetControlStyle(ControlStyle().Exclude(csAcceptsControls).Include(csOpaque));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TDrawPanel::TDrawPanel(TComponent* AOwner) : TSpecialPanel(AOwner)
{
    SetColor(clWhite);
    SetVisible(false);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetBorderStyle(bsSingle);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetBounds(8, 8, Width(), Height());
}

void TDrawPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TCustomPrintJob* job = FPreview ? FPreview->PrintJob() : nullptr;
    if (HasState(csDesigning) || !job) {
        canvas->Brush()->SetColor(clWhite);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect({0, 0, ClientWidth(), ClientHeight()});
        return;
    }
    // The page shown takes its own layout (a multi job's pages differ), whatever page of the
    // job was drawn last.
    job->PreparePage(FPreview->PageIndex());
    std::exception_ptr error;
    {
        // The page is drawn in the screen's own pixels: on a screen of device pixel ratio 2 a
        // pixel of the mapping is a physical pixel, so lines and fills are placed to the
        // physical pixel as on paper, not to the nearest pair of them.
        QPainter* painter = canvas->Handle()->Painter();
        if (!painter)
            return;
        // The painter's own scale to the device, which a redirected paint (a grab) has too.
        const qreal world = painter->worldTransform().m11();
        const qreal ratio = world > 0 && painter->deviceTransform().m11() > world ? painter->deviceTransform().m11() / world : 1.0;
        painter->save();
        const struct Restore {
            QPainter* painter;
            ~Restore() { painter->restore(); }
        } restore{painter};
        painter->scale(1 / ratio, 1 / ratio);
        // Its resolution is the page's: a logical unit is a printer pixel, and what is measured
        // in the page's inches or points (rich text, dotted lines) comes out as on paper.
        TDeviceContext dc(painter, PrinterCaps(LOGPIXELSX), PrinterCaps(LOGPIXELSY));
        TCanvas page;
        page.SetHandle(&dc);
        // One logical unit is one printer pixel; the job's page fills the client area.
        SetMapMode(&dc, MM_ANISOTROPIC);
        SetWindowExtEx(&dc, Round(FPreview->PageWidthPixels()), Round(FPreview->PageHeightPixels()), nullptr);
        SetViewportExtEx(&dc, int(std::lround(ClientWidth() * ratio)), int(std::lround(ClientHeight() * ratio)), nullptr);
        // Point sizes come out in printer pixels.
        page.Font()->SetPixelsPerInch(std::min(PrinterCaps(LOGPIXELSX), PrinterCaps(LOGPIXELSY)));
        PaintBackground(&page, job);
        try {
            job->Draw(&page, FPreview->PageIndex(), dtPreview);
            FPreview->PaintFindHighlights(&page);
        } catch (...) {
            // The page stays as far as it got, marked as failed below.
            error = std::current_exception();
        }
    }
    if (!error) {
        FPreview->PaintSucceeded();
        return;
    }
    PaintFailureNotice(canvas, ExceptionMessage(error));
    FPreview->ReportPaintError(error);
}

void TDrawPanel::PaintFailureNotice(TCanvas* canvas, const QString& message)
{
    canvas->Font()->SetPixelsPerInch(Screen().PixelsPerInch());
    canvas->Font()->SetName(QStringLiteral("Arial"));
    canvas->Font()->SetSize(9);
    canvas->Font()->SetStyle(0);
    canvas->Font()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(0x0000C0);
    const int height = canvas->TextHeight(QStringLiteral("Ag")) + 8;
    canvas->FillRect({0, 0, ClientWidth(), height});
    TRect text{4, 0, ClientWidth() - 4, height};
    DrawText(canvas->Handle(), QCoreApplication::translate("Vellaro", "This page could not be drawn: %1").arg(message), &text,
        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TDrawPanel::PaintBackground(TCanvas* canvas, TCustomPrintJob* job)
{
    const TRect sheet{0, 0, Printer()->PageWidth(), Printer()->PageHeight()};
    if (!FPreview->MarginsVisible()) {
        canvas->Brush()->SetColor(clWhite);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(sheet);
        return;
    }
    canvas->Brush()->SetColor(FPreview->MarginsFill());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetColor(FPreview->MarginsBorder());
    canvas->FillRect(sheet);
    const TRect margins = job->GetMarginRect();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetColor(clWhite);
    canvas->Rectangle(margins.Left - 2, margins.Top - 2, margins.Right + 2, margins.Bottom + 2);
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psSolid);
}

void TDrawPanel::Click()
{
    if (FPreview)
        FPreview->SetFocus();
}

void TDrawPanel::MouseDown(TPoint p)
{
    if (!FPreview || !FPreview->DragScroll())
        return;
    FDragging = true;
    setCursor(Qt::SizeAllCursor);
    FDragStart = p;
}

void TDrawPanel::MouseMove(TPoint p)
{
    if (!FDragging || !FPreview)
        return;
    TScrollBox* box = FPreview->ScrollBox();
    box->HorzScrollBar()->SetPosition(box->HorzScrollBar()->Position() + FDragStart.X - p.X);
    box->VertScrollBar()->SetPosition(box->VertScrollBar()->Position() + FDragStart.Y - p.Y);
}

void TDrawPanel::MouseUp()
{
    if (!FDragging)
        return;
    FDragging = false;
    SetCursor(Cursor());
}

void TDrawPanel::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    GuardEvent([&] { MouseDown({p.x(), p.y()}); });
}

void TDrawPanel::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    GuardEvent([&] { MouseMove({p.x(), p.y()}); });
}

void TDrawPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    GuardEvent([&] {
        MouseUp();
        if (inside)
            Click();
    });
    QWidget::mouseReleaseEvent(event);
}

// ---- TCustomPreview -----------------------------------------------------------------------

TCustomPreview::TCustomPreview(TComponent* AOwner, QWidget* parent) : QWidget(parent), TWinControl(AOwner)
{
    // The pane lays out its own desk: nothing is dropped into it in a designer.
    SetControlStyle(ControlStyle().Exclude(csAcceptsControls));
    InitWidget();
    SetBounds(Left(), Top(), 100, 150);
    SetTabStop(true);

    FScrollBox = new TSpecialScrollBox(this);
    FScrollBox->SetParent(this);
    FScrollBox->SetAlign(alClient);
    FScrollBox->SetColor(DeskColor);
    FScrollBox->SetCtl3D(false);
    FScrollBox->SetParentCtl3D(true);
    FScrollBox->HorzScrollBar()->SetIncrement(8);
    FScrollBox->VertScrollBar()->SetIncrement(8);

    FShadow = new TSpecialPanel(FScrollBox);
    FShadow->SetParent(FScrollBox);
    FShadow->SetBounds(16, 16, 46, 67);
    FShadow->SetBevelInner(bvNone);
    FShadow->SetBevelOuter(bvNone);
    FShadow->SetColor(ShadowColor);
    FShadow->SetParentCtl3D(false);
    FShadow->SetCtl3D(false);

    FPagePanel = new TDrawPanel(FScrollBox);
    FPagePanel->SetParent(FScrollBox);
    FPagePanel->SetBounds(8, 8, 46, 67);
    FPagePanel->SetPreview(this);
    Update();
}

TCustomPreview::~TCustomPreview()
{
    // Companions and the job hear of the pane's end while it is whole.
    DestroyComponent();
    FControls.clear();
    if (FPrintJob)
        FPrintJob->DeleteControlNotification(this);
    FPrintJob = nullptr;
}

double TCustomPreview::PageWidthPixels() const
{
    if (!FPrintJob)
        return 0;
    const double base = Printer()->PageWidth();
    return FPrintJob->ConvertUnits(FPrintJob->PageWidth(), FPrintJob->PageUnits(), unPixels, dirHorizontal, base);
}

double TCustomPreview::PageHeightPixels() const
{
    if (!FPrintJob)
        return 0;
    const double base = Printer()->PageHeight();
    return FPrintJob->ConvertUnits(FPrintJob->PageHeight(), FPrintJob->PageUnits(), unPixels, dirVertical, base);
}

void TCustomPreview::Update()
{
    // A job that changes while it draws the page (a multi job takes the orientation of the job
    // whose page it draws) is laid out again once the paint is over, not inside it.
    if (ControlPainting()) {
        QMetaObject::invokeMethod(this, [this] { Update(); }, Qt::QueuedConnection);
        return;
    }
    // The page is painted once, after the layout below, when the event loop next runs: painting
    // now would draw the job's page for the old layout and then again for the new one.
    update();
    if (!FPrintJob || !FPrintJob->PrinterOK()) {
        FShadow->Hide();
        FPagePanel->Hide();
        ShowDeskMessage({});
        // Companions show what they show for a pane without a job, not the last job's page.
        UpdateCompanions();
        return;
    }
    if (FPrintJob->PageCount() < FPageIndex)
        FPageIndex = FPrintJob->PageCount();
    // The page is laid out in its own shape at once, not in the shape of the page drawn last.
    FPrintJob->PreparePage(FPageIndex);
    const QString geometryError = FPrintJob->PageGeometryError();
    ShowDeskMessage(geometryError);
    if (!geometryError.isEmpty()) {
        FShadow->Hide();
        FPagePanel->Hide();
        UpdateCompanions();
        if (FOnUpdate)
            FOnUpdate(this);
        return;
    }
    FShadow->Hide();
    FPagePanel->Hide();
    try {
        LayoutPage();
    } catch (...) {
        FPagePanel->Show();
        throw;
    }
    FPagePanel->Show();
    FShadow->SetBounds(FPagePanel->Left() + ShadowOffset, FPagePanel->Top() + ShadowOffset, FPagePanel->Width(), FPagePanel->Height());
    FShadow->Show();
    UpdateCompanions();
    if (FOnUpdate)
        FOnUpdate(this);
}

void TCustomPreview::LayoutPage()
{
    // The box takes the pane's size now, also while the pane is not shown.
    AlignControls(this);
    FScrollBox->UpdateScrollBars();
    const double W = PageWidthPixels();
    const double H = PageHeightPixels();
    if (!(W > 0 && H > 0))
        throw EPrintJobException(QStringLiteral("The page has no size"));
    switch (FViewMode) {
    case vmWholePage: LayoutWholePage(W, H); break;
    case vmPageWidth: LayoutPageWidth(W, H); break;
    case vmCustom: LayoutCustom(W); break;
    }
    if (FViewMode != vmCustom)
        FViewScale = Round(100.0 * FPagePanel->ClientWidth() * FPrintJob->DPIX() / (W * Screen().PixelsPerInch()));
}

void TCustomPreview::ResetScrollPositions()
{
    FScrollBox->HorzScrollBar()->SetPosition(0);
    FScrollBox->VertScrollBar()->SetPosition(0);
}

void TCustomPreview::LayoutWholePage(double W, double H)
{
    TSpecialScrollBox* B = FScrollBox;
    TDrawPanel* P = FPagePanel;
    B->HorzScrollBar()->SetRange(0);
    B->VertScrollBar()->SetRange(0);
    ResetScrollPositions();
    P->SetHeight(B->ClientHeight() - 2 * DeskMargin);
    P->SetClientWidth(Round(P->ClientHeight() * W / H));
    if (B->ClientWidth() - 2 * DeskMargin < P->Width()) {
        P->SetWidth(B->ClientWidth() - 2 * DeskMargin);
        P->SetClientHeight(Round(P->ClientWidth() * H / W));
    }
    P->SetBounds((B->ClientWidth() - P->Width()) / 2, (B->ClientHeight() - P->Height()) / 2, P->Width(), P->Height());
}

void TCustomPreview::LayoutPageWidth(double W, double H)
{
    TSpecialScrollBox* B = FScrollBox;
    TDrawPanel* P = FPagePanel;
    ResetScrollPositions();
    P->SetBounds(DeskMargin, DeskMargin, B->Width() - 20 - GetSystemMetrics(SM_CXVSCROLL), P->Height());
    P->SetClientHeight(Round(P->ClientWidth() * H / W));
    B->VertScrollBar()->SetRange(P->Height() + 2 * DeskMargin);
    B->HorzScrollBar()->SetRange(0);
}

void TCustomPreview::LayoutCustom(double W)
{
    TSpecialScrollBox* B = FScrollBox;
    TDrawPanel* P = FPagePanel;
    ResetScrollPositions();
    P->SetBounds(DeskMargin, DeskMargin, P->Width(), P->Height());
    P->SetClientWidth(Round(W * FViewScale * Screen().PixelsPerInch() / PrinterCaps(LOGPIXELSX) / 100.0));
    // The height follows the page's proportions in inches, unrounded: the page's millimetres
    // rounded to whole ones made an A4 page at 400 % two pixels taller than the paper's shape.
    const double widthInches = W / PrinterCaps(LOGPIXELSX);
    const double heightInches = PageHeightPixels() / PrinterCaps(LOGPIXELSY);
    P->SetClientHeight(widthInches > 0 ? Round(P->ClientWidth() * heightInches / widthInches) : 0);
    // Both ranges first: the client size compared below must not still carry the scroll bar
    // of the previous layout, or a small page would sit off centre.
    B->HorzScrollBar()->SetRange(P->Width() + 2 * DeskMargin);
    B->VertScrollBar()->SetRange(P->Height() + 2 * DeskMargin);
    if (B->ClientWidth() > B->HorzScrollBar()->Range())
        P->SetLeft((B->ClientWidth() - P->Width()) / 2);
    if (B->ClientHeight() > B->VertScrollBar()->Range())
        P->SetTop((B->ClientHeight() - P->Height()) / 2);
}

// ---- Find ---------------------------------------------------------------------------------

int TCustomPreview::FindText(const QString& Text, TFindOptions Options)
{
    if (Text.isEmpty())
        return 0;
    ClearFind();
    FFindText = Text;
    if (FPrintJob && FPrintJob->PrinterOK() && FPrintJob->PageGeometryError().isEmpty()) {
        const int pages = FPrintJob->PageCount();
        bool cancel = false;
        for (int page = 1; page <= pages && !cancel; ++page) {
            std::vector<TFindMatch> found = FindInPage(*FPrintJob, page, Text, Options);
            FFindMatches.insert(FFindMatches.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
            if (FOnFindProgress)
                FOnFindProgress(this, page, pages, cancel);
            FFindStopped = cancel && page < pages;
        }
    }
    if (!FFindMatches.empty()) {
        const auto next = std::find_if(FFindMatches.begin(), FFindMatches.end(), [this](const TFindMatch& m) { return m.Page >= FPageIndex; });
        FFindIndex = next == FFindMatches.end() ? 0 : int(next - FFindMatches.begin());
    }
    ShowCurrentMatch();
    return int(FFindMatches.size());
}

bool TCustomPreview::FindNext()
{
    if (FFindMatches.empty())
        return false;
    FFindIndex = (FFindIndex + 1) % int(FFindMatches.size());
    ShowCurrentMatch();
    return true;
}

bool TCustomPreview::FindPrevious()
{
    if (FFindMatches.empty())
        return false;
    const int count = int(FFindMatches.size());
    FFindIndex = (FFindIndex - 1 + count) % count;
    ShowCurrentMatch();
    return true;
}

void TCustomPreview::ClearFind()
{
    FFindText.clear();
    FFindMatches.clear();
    FFindIndex = -1;
    FFindStopped = false;
    FPagePanel->update();
    UpdateCompanions();
}

QString TCustomPreview::GetFindText() const
{
    if (FFindText.isEmpty())
        return {};
    if (FFindStopped && FFindMatches.empty())
        return QCoreApplication::translate("Vellaro", "No matches for \"%1\" (search stopped)").arg(FFindText);
    if (FFindStopped)
        return QCoreApplication::translate("Vellaro", "Match %1 of %2 (search stopped)").arg(FFindIndex + 1).arg(FFindMatches.size());
    if (FFindMatches.empty())
        return QCoreApplication::translate("Vellaro", "No matches for \"%1\"").arg(FFindText);
    return QCoreApplication::translate("Vellaro", "Match %1 of %2").arg(FFindIndex + 1).arg(FFindMatches.size());
}

void TCustomPreview::ShowCurrentMatch()
{
    if (FFindIndex < 0 || FFindIndex >= int(FFindMatches.size())) {
        FPagePanel->update();
        UpdateCompanions();
        return;
    }
    const TFindMatch& match = FFindMatches[size_t(FFindIndex)];
    if (match.Page != FPageIndex)
        SetPageIndex(match.Page); // lays out and updates the companions
    else
        UpdateCompanions();
    FPagePanel->update();
    const double W = PageWidthPixels(), H = PageHeightPixels();
    if (!(W > 0 && H > 0))
        return;
    // The match in the desk's coordinates; a scroll bar moves only when it is out of view.
    const int border = (FPagePanel->Width() - FPagePanel->ClientWidth()) / 2;
    const QRect onPanel(int(match.Rect.Left * FPagePanel->ClientWidth() / W), int(match.Rect.Top * FPagePanel->ClientHeight() / H),
        int(match.Rect.Width() * FPagePanel->ClientWidth() / W) + 1, int(match.Rect.Height() * FPagePanel->ClientHeight() / H) + 1);
    const auto reveal = [](auto* bar, int from, int length, int view) {
        if (bar->Range() <= 0)
            return;
        if (from < bar->Position() || from + length > bar->Position() + view)
            bar->SetPosition(std::max(0, from - view / 3));
    };
    // The page panel's place is in the desk's (scrolled) coordinates.
    reveal(FScrollBox->HorzScrollBar(), FPagePanel->Left() + border + onPanel.left(), onPanel.width(), FScrollBox->ClientWidth());
    reveal(FScrollBox->VertScrollBar(), FPagePanel->Top() + border + onPanel.top(), onPanel.height(), FScrollBox->ClientHeight());
}

void TCustomPreview::PaintFindHighlights(TCanvas* canvas)
{
    if (FFindMatches.empty())
        return;
    TDeviceContext* dc = canvas->Handle();
    QPainter* painter = dc->Painter();
    if (!painter)
        return;
    painter->save();
    painter->setWorldTransform(dc->PainterTransform());
    painter->setPen(Qt::NoPen);
    // Multiplied over the page: the text stays readable under the mark.
    painter->setCompositionMode(QPainter::CompositionMode_Multiply);
    for (size_t i = 0; i < FFindMatches.size(); ++i) {
        const TFindMatch& match = FFindMatches[i];
        if (match.Page != FPageIndex)
            continue;
        const bool current = int(i) == FFindIndex;
        painter->setBrush(current ? QColor(255, 140, 0) : QColor(255, 240, 80));
        // A match drawn by several calls is marked call by call, where each drew its part.
        for (const TRect& piece : match.Pieces.empty() ? std::vector<TRect>{match.Rect} : match.Pieces)
            painter->drawRect(QRect(piece.Left, piece.Top, piece.Width(), piece.Height()));
    }
    painter->restore();
}

QString TCustomPreview::DeskMessage() const
{
    return FDeskMessage && !FDeskMessage->isHidden() ? FDeskMessage->text() : QString();
}

void TCustomPreview::ShowDeskMessage(const QString& message)
{
    if (message.isEmpty()) {
        if (FDeskMessage)
            FDeskMessage->hide();
        return;
    }
    if (!FDeskMessage) {
        // A plain label on the desk; the desk's content widget owns it (Qt deletes it with it).
        FDeskMessage = new QLabel(FScrollBox->ClientWidget());
        FDeskMessage->setWordWrap(true);
        FDeskMessage->setAlignment(Qt::AlignCenter);
        FDeskMessage->setStyleSheet(QStringLiteral("color: white;"));
    }
    FScrollBox->HorzScrollBar()->SetRange(0);
    FScrollBox->VertScrollBar()->SetRange(0);
    ResetScrollPositions();
    FDeskMessage->setText(message);
    FDeskMessage->setGeometry(DeskMargin, DeskMargin, std::max(0, FScrollBox->ClientWidth() - 2 * DeskMargin),
        std::max(0, FScrollBox->ClientHeight() - 2 * DeskMargin));
    FDeskMessage->show();
}

void TCustomPreview::ReportPaintError(std::exception_ptr error)
{
    const QString message = ExceptionMessage(error);
    if (message == FLastPaintError)
        return;
    FLastPaintError = message;
    // Not from inside the paint event: a message box there would paint the page again.
    QMetaObject::invokeMethod(this, [error] { Application().HandleException(error); }, Qt::QueuedConnection);
}

void TCustomPreview::UpdateCompanions()
{
    // A copy: a companion may detach itself while it updates.
    const std::vector<TControl*> controls = FControls;
    for (TControl* control : controls) {
        if (std::find(FControls.begin(), FControls.end(), control) == FControls.end())
            continue;
        try {
            control->Update();
        } catch (...) {
            // One failing companion does not keep the others stale.
        }
    }
}

void TCustomPreview::Repaint()
{
    FPagePanel->Repaint();
}

void TCustomPreview::AddControlNotification(TControl* Control)
{
    if (!Control || std::find(FControls.begin(), FControls.end(), Control) != FControls.end())
        return;
    FControls.push_back(Control);
    // Told when the companion goes away, whatever its owner.
    FreeNotification(Control);
}

void TCustomPreview::DeleteControlNotification(TControl* Control)
{
    std::erase(FControls, Control);
}

void TCustomPreview::SetPrintJob(TCustomPrintJob* Value)
{
    if (Value != FPrintJob) {
        FFindText.clear();
        FFindMatches.clear();
        FFindIndex = -1;
        FFindStopped = false;
    }
    if (Value == FPrintJob)
        return;
    DetachJob();
    FPrintJob = Value;
    if (FPrintJob) {
        FPrintJob->AddControlNotification(this);
        FreeNotification(FPrintJob);
    }
    SetPageIndex(1);
    Update();
}

void TCustomPreview::DetachJob()
{
    if (!FPrintJob)
        return;
    // A job that is being destroyed is left alone: it drops its subscribers itself.
    if (!FPrintJob->HasState(csDestroying)) {
        FPrintJob->DeleteControlNotification(this);
        RemoveFreeNotification(FPrintJob);
    }
    FPrintJob = nullptr;
}

void TCustomPreview::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    std::erase(FControls, AComponent);
    if (AComponent != FPrintJob)
        return;
    if (HasState(csDestroying)) {
        DetachJob();
        return;
    }
    SetPrintJob(nullptr);
}

TBorderStyle TCustomPreview::BorderStyle() const { return FScrollBox->BorderStyle(); }
void TCustomPreview::SetBorderStyle(TBorderStyle Value) { FScrollBox->SetBorderStyle(Value); }
TCursor TCustomPreview::PageCursor() const { return FPagePanel ? FPagePanel->Cursor() : crDefault; }
void TCustomPreview::SetPageCursor(TCursor Value) { FPagePanel->SetCursor(Value); }
bool TCustomPreview::BoxCtl3D() const { return FScrollBox->Ctl3D(); }
void TCustomPreview::SetBoxCtl3D(bool Value) { FScrollBox->SetCtl3D(Value); }
bool TCustomPreview::BoxParentCtl3D() const { return FScrollBox->ParentCtl3D(); }
void TCustomPreview::SetBoxParentCtl3D(bool Value) { FScrollBox->SetParentCtl3D(Value); }

void TCustomPreview::SetViewMode(TViewMode Value)
{
    if (Value == FViewMode)
        return;
    FViewMode = Value;
    // Clamps the scale the last layout computed when the new mode is the free one.
    SetViewScale(FViewScale);
    Update();
}

void TCustomPreview::SetViewScale(int Value)
{
    if (FViewMode != vmCustom)
        return;
    Value = std::clamp(Value, MinScale, MaxScale);
    if (Value == FViewScale)
        return;
    FViewScale = Value;
    Update();
}

void TCustomPreview::SetMarginsVisible(bool Value)
{
    if (Value == FMarginsVisible)
        return;
    FMarginsVisible = Value;
    Update();
}

void TCustomPreview::SetMarginsFill(TColor Value)
{
    if (Value == FMarginsFill)
        return;
    FMarginsFill = Value;
    Update();
}

void TCustomPreview::SetMarginsBorder(TColor Value)
{
    if (Value == FMarginsBorder)
        return;
    FMarginsBorder = Value;
    Update();
}

void TCustomPreview::SetPageIndex(int Value)
{
    if (FPrintJob) {
        Value = std::max(Value, 1);
        Value = std::min(Value, FPrintJob->PageCount());
    } else {
        Value = 1;
    }
    if (Value != FPageIndex) {
        FPageIndex = Value;
        Update();
    }
    if (FOnPageChanged)
        FOnPageChanged(this);
}

void TCustomPreview::SetScrollTracking(bool Value)
{
    if (Value == FScrollTracking)
        return;
    FScrollTracking = Value;
    FScrollBox->HorzScrollBar()->SetTracking(Value);
    FScrollBox->VertScrollBar()->SetTracking(Value);
}

void TCustomPreview::ZoomIn()
{
    SetViewMode(vmCustom);
    for (int scale : ScaleArray)
        if (scale > FViewScale) {
            SetViewScale(scale);
            return;
        }
}

void TCustomPreview::ZoomOut()
{
    SetViewMode(vmCustom);
    for (auto it = ScaleArray.rbegin(); it != ScaleArray.rend(); ++it)
        if (*it < FViewScale) {
            SetViewScale(*it);
            return;
        }
}

int TCustomPreview::DPIX() const
{
    if (!FPrintJob || FPagePanel->ClientWidth() <= 0)
        return Screen().PixelsPerInch();
    return Printer()->PageWidth() * PrinterCaps(LOGPIXELSX) / FPagePanel->ClientWidth();
}

int TCustomPreview::DPIY() const
{
    if (!FPrintJob || FPagePanel->ClientHeight() <= 0)
        return Screen().PixelsPerInch();
    return Printer()->PageHeight() * PrinterCaps(LOGPIXELSY) / FPagePanel->ClientHeight();
}

QString TCustomPreview::GetScaleText() const
{
    switch (FViewMode) {
    case vmWholePage: return QCoreApplication::translate("Vellaro", "Whole page (%1%)").arg(FViewScale);
    case vmPageWidth: return QCoreApplication::translate("Vellaro", "Page width (%1%)").arg(FViewScale);
    case vmCustom: break;
    }
    return QStringLiteral("%1%").arg(FViewScale);
}

QString TCustomPreview::GetPageText() const
{
    if (!FPrintJob)
        return {};
    return QCoreApplication::translate("Vellaro", "Page %1 from %2").arg(FPageIndex).arg(FPrintJob->PageCount());
}

bool TCustomPreview::CMChildKey(int Key, bool Ctrl)
{
    TControlScrollBar* V = FScrollBox->VertScrollBar();
    TControlScrollBar* Hz = FScrollBox->HorzScrollBar();
    const int increment = V->Increment();
    const int clientHeight = FScrollBox->ClientHeight();
    const int clientWidth = FScrollBox->ClientWidth();
    switch (Key) {
    case VK_PRIOR:
        if (Ctrl)
            V->SetPosition(0);
        else if (V->Position() > 0)
            V->SetPosition(V->Position() - clientHeight + increment);
        else
            SetPageIndex(FPageIndex - 1);
        return true;
    case VK_NEXT:
        if (Ctrl)
            V->SetPosition(V->Range());
        else if (V->Position() < V->Range() - clientHeight)
            V->SetPosition(V->Position() + clientHeight - increment);
        else
            SetPageIndex(FPageIndex + 1);
        return true;
    case VK_UP: V->SetPosition(V->Position() - increment); return true;
    case VK_DOWN: V->SetPosition(V->Position() + increment); return true;
    case VK_HOME:
        Hz->SetPosition(0);
        if (Ctrl)
            V->SetPosition(0);
        return true;
    case VK_END:
        Hz->SetPosition(Hz->Range());
        if (Ctrl)
            V->SetPosition(V->Range());
        return true;
    case VK_LEFT: Hz->SetPosition(Hz->Position() - (Ctrl ? clientWidth - Hz->Increment() : Hz->Increment())); return true;
    case VK_RIGHT: Hz->SetPosition(Hz->Position() + (Ctrl ? clientWidth - Hz->Increment() : Hz->Increment())); return true;
    default: return false;
    }
}

void TCustomPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    GuardEvent([this] { Update(); });
}

void TCustomPreview::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    GuardEvent([&] {
        int key = VirtualKey(event->key());
        handled = key != 0 && CMChildKey(key, event->modifiers().testFlag(Qt::ControlModifier));
        if (handled)
            return;
        if (FOnKeyDown && key != 0) {
            FOnKeyDown(this, key, event->modifiers());
            handled = key == 0;
        }
        if (!handled && FOnKeyPress && event->text().size() == 1) {
            QChar c = event->text()[0];
            FOnKeyPress(this, c);
            handled = c.isNull();
        }
    });
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TCustomPreview::keyReleaseEvent(QKeyEvent* event)
{
    GuardEvent([&] {
        int key = VirtualKey(event->key());
        if (FOnKeyUp && key != 0)
            FOnKeyUp(this, key, event->modifiers());
    });
    QWidget::keyReleaseEvent(event);
}

void TCustomPreview::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    GuardEvent([this] { if (FOnEnter) FOnEnter(this); });
}

void TCustomPreview::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    GuardEvent([this] { if (FOnExit) FOnExit(this); });
}

bool TPreviewLink::Set(TCustomPreview* preview)
{
    if (preview == FPreview)
        return false;
    Detach();
    FPreview = preview;
    if (FPreview) {
        FPreview->AddControlNotification(FCompanion);
        FCompanion->FreeNotification(FPreview);
    }
    return true;
}

void TPreviewLink::Detach()
{
    if (!FPreview)
        return;
    // A pane that is going away forgets its companions itself.
    if (!FPreview->HasState(csDestroying)) {
        FPreview->DeleteControlNotification(FCompanion);
        FCompanion->RemoveFreeNotification(FPreview);
    }
    FPreview = nullptr;
}

void TPreviewLink::ForgetRemoved(TComponent* AComponent, TOperation Operation, const std::function<void()>& unlink)
{
    if (!IsRemovalOf(AComponent, Operation))
        return;
    if (FCompanion->HasState(csDestroying))
        Detach();
    else
        unlink();
}

void RegisterVLPreview()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPreview")});
}

} // namespace Vellaro
