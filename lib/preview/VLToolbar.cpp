#include "preview/VLToolbar.h"

#include "preview/VLExport.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"

#include "platform/controls/Forms.h"
#include "platform/core/Translations.h"
#include "preview/VLProgress.h"

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPreviewToolbar)

namespace {
constexpr int ButtonSize = 24;
constexpr int GlyphSize = 16;
constexpr int ToolbarHeight = 26;
} // namespace

TCustomPreviewToolbar::TCustomPreviewToolbar(TComponent* AOwner, QWidget* parent)
    : TCustomPanel(AOwner, parent), FGlyphStrip(std::make_unique<TBitmap>()), FUserButtonGlyph(std::make_unique<TBitmap>())
{
    // Its name never becomes its caption; and it lays out its own buttons, so nothing is
    // dropped into it in a designer.
    SetControlStyle(ControlStyle().Exclude(csSetCaption).Exclude(csAcceptsControls));
    SetHeight(ToolbarHeight);
    SetAlign(alTop);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    FGlyphStrip->LoadFromResourceName(QStringLiteral("SMALL"));
    FButtons = TButtons{btnPrint, btnPrinterSetupDialog, btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnZoomOut, btnZoomIn};
    SetCaption(QString());
    for (int k = btnPrint; k <= btnThumbnails; ++k) {
        auto* button = new TSpeedButton(this);
        FSpeedButtons[size_t(k)] = button;
        button->SetMargin(-1);
        button->SetBounds(button->Left(), 1, ButtonSize, ButtonSize);
        if (k < btnUser)
            GetBitmapPart(TButtonKind(k), button->Glyph());
        button->SetTag(k);
        button->SetParentShowHint(true);
        if (k < btnUser)
            button->SetHint(Tr(qPrintable(HintArray[size_t(k)])));
        if (k == btnExport) {
            DrawExportGlyph(button->Glyph());
            button->GlyphChanged();
            button->SetHint(QCoreApplication::translate("Vellaro", "Save as PDF, PNG or SVG"));
        }
        if (k == btnThumbnails) {
            DrawThumbnailsGlyph(button->Glyph());
            button->GlyphChanged();
            button->SetHint(QCoreApplication::translate("Vellaro", "Page overview"));
            button->setCheckable(true);
            button->SetEnabled(false);
        }
        button->SetOnClick([this](TComponent* sender) { OnButtonClick(sender); });
        button->SetParent(this);
        if (k == FScaleBoxPos) {
            FScaleCombo = new TPreviewComboBox(this);
            FScaleCombo->SetParent(this);
            FScaleCombo->SetTop((Height() - FScaleCombo->Height()) / 2);
            FScaleCombo->SetHint(QCoreApplication::translate("Vellaro", "View mode and scale"));
        }
    }
    SetFlat(true);
    UpdateButtons();
}

TCustomPreviewToolbar::~TCustomPreviewToolbar()
{
    if (FThumbnails)
        FThumbnails->removeEventFilter(this);
    DestroyComponent();
    FPreviewLink.Detach();
}

namespace {
/// A glyph drawn in code: its size, the strip's purple background (the lower left pixel is the
/// transparent colour), a thin black pen and a white brush.
TCanvas* StartGlyph(TBitmap* Glyph, int Size)
{
    Glyph->SetSize(Size, Size);
    TCanvas* canvas = Glyph->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clPurple);
    canvas->FillRect({0, 0, Size, Size});
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(0);
    canvas->Brush()->SetColor(clWhite);
    return canvas;
}
} // namespace

void TCustomPreviewToolbar::DrawExportGlyph(TBitmap* Glyph)
{
    TCanvas* canvas = StartGlyph(Glyph, GlyphSize);
    canvas->Rectangle(1, 1, 11, 14);
    canvas->Pen()->SetColor(0x008000);
    canvas->Brush()->SetColor(0x008000);
    canvas->FillRect({7, 7, 13, 10});
    for (int i = 0; i < 4; ++i) {
        canvas->MoveTo(12 + i, 5 + i);
        canvas->LineTo(12 + i, 12 - i);
    }
}

void TCustomPreviewToolbar::DrawThumbnailsGlyph(TBitmap* Glyph)
{
    TCanvas* canvas = StartGlyph(Glyph, GlyphSize);
    // Three small pages in a column, the middle one marked, and the page shown large.
    for (int i = 0; i < 3; ++i) {
        canvas->Brush()->SetColor(i == 1 ? clNavy : clWhite);
        canvas->Rectangle(1, 1 + 5 * i, 6, 5 + 5 * i);
    }
    canvas->Brush()->SetColor(clWhite);
    canvas->Rectangle(8, 1, 15, 15);
    canvas->Pen()->SetColor(clGray);
    for (int y = 4; y < 13; y += 2) {
        canvas->MoveTo(10, y);
        canvas->LineTo(13, y);
    }
}

TPreviewThumbnails* TCustomPreviewToolbar::Thumbnails() const
{
    return static_cast<TPreviewThumbnails*>(FThumbnails.data());
}

void TCustomPreviewToolbar::SetThumbnails(TPreviewThumbnails* Value)
{
    if (Value == FThumbnails)
        return;
    if (FThumbnails)
        FThumbnails->removeEventFilter(this);
    FThumbnails = Value;
    if (FThumbnails)
        FThumbnails->installEventFilter(this);
    ShowThumbnailsState();
}

void TCustomPreviewToolbar::ShowThumbnailsState()
{
    TSpeedButton* button = FSpeedButtons[btnThumbnails];
    button->SetEnabled(FThumbnails != nullptr);
    button->setChecked(FThumbnails && Thumbnails()->Visible());
}

bool TCustomPreviewToolbar::eventFilter(QObject* watched, QEvent* event)
{
    // Shown or hidden by its own Visible, whether its window shows or not.
    if (watched == FThumbnails && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        FSpeedButtons[btnThumbnails]->setChecked(event->type() == QEvent::ShowToParent);
    return TCustomPanel::eventFilter(watched, event);
}

void TCustomPreviewToolbar::GetBitmapPart(TButtonKind Kind, TBitmap* Glyph)
{
    Glyph->SetSize(GlyphSize, GlyphSize);
    Glyph->Canvas()->SetCopyMode(cmSrcCopy);
    const int x = GlyphSize * int(Kind);
    Glyph->Canvas()->CopyRect({0, 0, GlyphSize, GlyphSize}, *FGlyphStrip, {x, 0, x + GlyphSize, GlyphSize});
    FSpeedButtons[size_t(Kind)]->GlyphChanged();
}

void TCustomPreviewToolbar::SetPreview(TCustomPreview* Value)
{
    if (!FPreviewLink.Set(Value))
        return;
    FScaleCombo->SetPreview(Value);
    UpdateButtons();
}

void TCustomPreviewToolbar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    FPreviewLink.ForgetRemoved(AComponent, Operation, [this] { SetPreview(nullptr); });
}

void TCustomPreviewToolbar::Update()
{
    TCustomPanel::Update();
    EnableButtons();
    if (FOnUpdate)
        FOnUpdate(this);
}

void TCustomPreviewToolbar::SetButtons(TButtons Value)
{
    if (Value == FButtons)
        return;
    FButtons = Value;
    UpdateButtons();
}

void TCustomPreviewToolbar::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    for (TSpeedButton* button : FSpeedButtons)
        button->SetFlat(Value);
}

void TCustomPreviewToolbar::SetScaleBox(bool Value)
{
    if (Value == FScaleBox)
        return;
    FScaleBox = Value;
    UpdateButtons();
}

void TCustomPreviewToolbar::SetScaleBoxPos(TButtonKind Value)
{
    if (Value == FScaleBoxPos)
        return;
    FScaleBoxPos = Value;
    UpdateButtons();
}

void TCustomPreviewToolbar::SetUserButtonEnabled(bool Value)
{
    if (Value == FUserButtonEnabled)
        return;
    FUserButtonEnabled = Value;
    FSpeedButtons[btnUser]->SetEnabled(Value);
}

void TCustomPreviewToolbar::SetUserButtonGlyph(const TBitmap* Value)
{
    if (Value && Value != FUserButtonGlyph.get())
        FUserButtonGlyph->Assign(*Value);
    FSpeedButtons[btnUser]->SetGlyph(FUserButtonGlyph.get());
}

void TCustomPreviewToolbar::SetUserButtonHint(const QString& Value)
{
    if (Value == FUserButtonHint)
        return;
    FUserButtonHint = Value;
    FSpeedButtons[btnUser]->SetHint(Value);
}

void TCustomPreviewToolbar::UpdateButtons()
{
    const bool designing = HasState(csDesigning);
    const bool boxInUse = FScaleBox || designing;
    FScaleCombo->SetVisible(boxInUse);
    int shown = 0;
    for (int k = btnPrint; k <= btnThumbnails; ++k) {
        TSpeedButton* button = FSpeedButtons[size_t(k)];
        const bool shows = FButtons.Contains(TButtonKind(k)) || designing;
        const int slot = shown;
        button->SetVisible(shows);
        if (shows)
            button->SetLeft(GetButtonLeft(shown++));
        if (k == FScaleBoxPos && boxInUse)
            FScaleCombo->SetLeft(GetButtonLeft(slot) + 2);
        // The box takes the slot where this button would start, with 2 pixels on each side.
        if (k >= FScaleBoxPos && shows && boxInUse)
            button->SetLeft(button->Left() + FScaleCombo->Width() + 4);
    }
    FSpeedButtons[btnUser]->SetGlyph(FUserButtonGlyph.get());
    EnableButtons();
}

void TCustomPreviewToolbar::EnableButtons()
{
    if (!Preview() || !Preview()->PrintJob() || !Preview()->PrintJob()->PrinterOK() || HasState(csDesigning))
        return;
    const int page = Preview()->PageIndex();
    const int pages = Preview()->PrintJob()->PageCount();
    const int scale = Preview()->ViewScale();
    FSpeedButtons[btnFirstPage]->SetEnabled(page > 1);
    FSpeedButtons[btnPrevPage]->SetEnabled(page > 1);
    FSpeedButtons[btnNextPage]->SetEnabled(page < pages);
    FSpeedButtons[btnLastPage]->SetEnabled(page < pages);
    FSpeedButtons[btnZoomOut]->SetEnabled(scale > MinScale);
    FSpeedButtons[btnZoomIn]->SetEnabled(scale < MaxScale);
    FScaleCombo->SetEnabled(true);
}

void TCustomPreviewToolbar::OnButtonClick(TComponent* Sender)
{
    ButtonClick(TButtonKind(Sender->Tag()));
}

void TCustomPreviewToolbar::ButtonClick(TButtonKind Kind)
{
    if (Kind == btnClose) {
        if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
            form->Close();
    }
    if (Kind == btnUser && FOnUserButtonClick)
        FOnUserButtonClick(this);
    TCustomPrintJob* job = Preview() ? Preview()->PrintJob() : nullptr;
    if (job && Kind == btnExport)
        SaveJobAs(job, this);
    if (Kind == btnThumbnails && FThumbnails) {
        TPreviewThumbnails* overview = Thumbnails();
        const bool show = !overview->Visible();
        overview->SetVisible(show);
        if (show)
            overview->Update();
        ShowThumbnailsState();
    }
    if (job && Kind <= btnRefresh) {
        switch (Kind) {
        case btnPrint:
        case btnPrintDialog: {
            TPrintProgress progress(job, this);
            Kind == btnPrint ? job->Print() : job->PrintDialog();
            break;
        }
        case btnPrinterSetupDialog: job->PrinterSetupDialog(); break;
        case btnFirstPage: Preview()->SetPageIndex(1); break;
        case btnPrevPage: Preview()->SetPageIndex(Preview()->PageIndex() - 1); break;
        case btnNextPage: Preview()->SetPageIndex(Preview()->PageIndex() + 1); break;
        case btnLastPage: Preview()->SetPageIndex(job->PageCount()); break;
        case btnWholePage: Preview()->SetViewMode(vmWholePage); break;
        case btnPageWidth: Preview()->SetViewMode(vmPageWidth); break;
        case btnZoomOut: Preview()->ZoomOut(); break;
        case btnZoomIn: Preview()->ZoomIn(); break;
        case btnRefresh: job->Update(); break;
        default: break;
        }
    }
    // The close button may have released the form and this toolbar with it only later:
    // Close defers the release, so the toolbar is still whole here.
    EnableButtons();
}

void RegisterVLToolbar()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPreviewToolbar")});
}

} // namespace Vellaro
