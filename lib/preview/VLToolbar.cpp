#include "preview/VLToolbar.h"

#include "platform/Forms.h"

namespace Vellaro {

namespace {
constexpr int ButtonSize = 24;
constexpr int GlyphSize = 16;
constexpr int ToolbarHeight = 26;
} // namespace

TCustomPreviewToolbar::TCustomPreviewToolbar(TComponent* AOwner, QWidget* parent)
    : TCustomPanel(AOwner, parent), FGlyphStrip(std::make_unique<TBitmap>()), FUserButtonGlyph(std::make_unique<TBitmap>())
{
    SetHeight(ToolbarHeight);
    SetAlign(alTop);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    FGlyphStrip->LoadFromResourceName(QStringLiteral("SMALL"));
    FButtons = TButtons{btnPrint, btnPrinterSetupDialog, btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnZoomOut, btnZoomIn};
    SetCaption(QString());
    for (int k = btnPrint; k <= btnUser; ++k) {
        auto* button = new TSpeedButton(this);
        FSpeedButtons[size_t(k)] = button;
        button->SetMargin(-1);
        button->SetBounds(button->Left(), 1, ButtonSize, ButtonSize);
        if (k < btnUser)
            GetBitmapPart(TButtonKind(k), button->Glyph());
        button->SetTag(k);
        button->SetParentShowHint(true);
        if (k < btnUser)
            button->SetHint(HintArray[size_t(k)]);
        button->SetOnClick([this](TComponent* sender) { OnButtonClick(sender); });
        button->SetParent(this);
        if (k == FScaleBoxPos) {
            FScaleCombo = new TPreviewComboBox(this);
            FScaleCombo->SetParent(this);
            FScaleCombo->SetTop((Height() - FScaleCombo->Height()) / 2);
            FScaleCombo->SetHint(QStringLiteral("View mode and scale"));
        }
    }
    SetFlat(true);
    UpdateButtons();
}

TCustomPreviewToolbar::~TCustomPreviewToolbar()
{
    DestroyComponent();
    DetachPreview();
}

void TCustomPreviewToolbar::GetBitmapPart(TButtonKind Kind, TBitmap* Glyph)
{
    Glyph->SetSize(GlyphSize, GlyphSize);
    Glyph->Canvas()->SetCopyMode(cmSrcCopy);
    const int x = GlyphSize * int(Kind);
    Glyph->Canvas()->CopyRect({0, 0, GlyphSize, GlyphSize}, *FGlyphStrip, {x, 0, x + GlyphSize, GlyphSize});
    FSpeedButtons[size_t(Kind)]->GlyphChanged();
}

void TCustomPreviewToolbar::DetachPreview()
{
    if (!FPreview)
        return;
    if (!FPreview->HasState(csDestroying)) {
        FPreview->DeleteControlNotification(this);
        RemoveFreeNotification(FPreview);
    }
    FPreview = nullptr;
}

void TCustomPreviewToolbar::SetPreview(TCustomPreview* Value)
{
    if (Value == FPreview)
        return;
    DetachPreview();
    FPreview = Value;
    if (FPreview) {
        FPreview->AddControlNotification(this);
        FreeNotification(FPreview);
    }
    FScaleCombo->SetPreview(Value);
    UpdateButtons();
}

void TCustomPreviewToolbar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != FPreview)
        return;
    if (HasState(csDestroying))
        DetachPreview();
    else
        SetPreview(nullptr);
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
    for (int k = btnPrint; k <= btnUser; ++k) {
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
    if (!FPreview || !FPreview->PrintJob() || !FPreview->PrintJob()->PrinterOK() || HasState(csDesigning))
        return;
    const int page = FPreview->PageIndex();
    const int pages = FPreview->PrintJob()->PageCount();
    const int scale = FPreview->ViewScale();
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
    TCustomPrintJob* job = FPreview ? FPreview->PrintJob() : nullptr;
    if (job && Kind <= btnRefresh) {
        switch (Kind) {
        case btnPrint: job->Print(); break;
        case btnPrintDialog: job->PrintDialog(); break;
        case btnPrinterSetupDialog: job->PrinterSetupDialog(); break;
        case btnFirstPage: FPreview->SetPageIndex(1); break;
        case btnPrevPage: FPreview->SetPageIndex(FPreview->PageIndex() - 1); break;
        case btnNextPage: FPreview->SetPageIndex(FPreview->PageIndex() + 1); break;
        case btnLastPage: FPreview->SetPageIndex(job->PageCount()); break;
        case btnWholePage: FPreview->SetViewMode(vmWholePage); break;
        case btnPageWidth: FPreview->SetViewMode(vmPageWidth); break;
        case btnZoomOut: FPreview->ZoomOut(); break;
        case btnZoomIn: FPreview->ZoomIn(); break;
        case btnRefresh: job->Update(); break;
        default: break;
        }
    }
    // The close button may have released the form and this toolbar with it only later:
    // Close defers the release, so the toolbar is still whole here.
    EnableButtons();
}

} // namespace Vellaro
