#include "preview/VLWindow.h"

#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentRegistry.h"
#include "preview/VLExport.h"
#include "preview/VLProgress.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace Vellaro {

VELLARO_REGISTER_CLASS(TPreviewWindow)

namespace {
/// Stores a setting and, while a form is open, hands it to the form.
template<class T, class Apply>
void Assign(T& field, const T& value, TPreviewForm* form, Apply apply)
{
    if (field == value)
        return;
    field = value;
    if (form)
        apply(form);
}
} // namespace

// ---- TPreviewForm -------------------------------------------------------------------------

TCustomPreviewWindow* TPreviewForm::RequireWindow(TComponent* owner)
{
    auto* window = dynamic_cast<TCustomPreviewWindow*>(owner);
    if (!window)
        throw EInvalidOperation(QStringLiteral("Invalid class typecast"));
    return window;
}

TPreviewForm::TPreviewForm(TComponent* AOwner) : TCustomForm(RequireWindow(AOwner)), FWindow(RequireWindow(AOwner))
{
    SetKeyPreview(true);
    FPreview = new TPreview(this);
    FPreview->SetAlign(alClient);
    FPreview->SetParent(this);
    FToolbar = new TPreviewToolbar(this);
    FToolbar->SetPreview(FPreview);
    FToolbar->SetParent(this);
    FStatusBar = new TPreviewStatusBar(this);
    FStatusBar->SetPreview(FPreview);
    FStatusBar->SetParent(this);
    BuildFindBar();
    FThumbnails = new TPreviewThumbnails(this);
    FThumbnails->SetParent(this);
    FThumbnails->SetAlign(alLeft);
    FThumbnails->SetVisible(false);
    FThumbnails->SetPreview(FPreview);
    FToolbar->SetThumbnails(FThumbnails);
}

void TPreviewForm::SetThumbnailsVisible(bool Value)
{
    FThumbnails->SetVisible(Value);
    if (Value)
        FThumbnails->Update();
}

void TPreviewForm::BuildFindBar()
{
    FFindBar = new TPanel(this);
    FFindBar->SetParent(this);
    FFindBar->SetAlign(alTop);
    FFindBar->SetHeight(30);
    FFindBar->SetBevelOuter(bvNone);
    FFindBar->SetCaption(QString());
    FFindEdit = new TEdit(this);
    FFindEdit->SetParent(FFindBar);
    FFindEdit->SetBounds(6, 4, 220, 22);
    FFindEdit->setPlaceholderText(QCoreApplication::translate("Vellaro", "Find"));
    FMatchCase = new TCheckBox(this);
    FMatchCase->SetParent(FFindBar);
    FMatchCase->SetCaption(QCoreApplication::translate("Vellaro", "Match case"));
    FMatchCase->SetBounds(236, 4, 100, 22);
    FWholeWord = new TCheckBox(this);
    FWholeWord->SetParent(FFindBar);
    FWholeWord->SetCaption(QCoreApplication::translate("Vellaro", "Whole words"));
    FWholeWord->SetBounds(340, 4, 110, 22);
    FFindBar->SetVisible(false);
}

void TPreviewForm::ShowFindBar()
{
    FFindBar->SetVisible(true);
    FFindEdit->setFocus(Qt::ShortcutFocusReason);
    FFindEdit->selectAll();
}

void TPreviewForm::HideFindBar()
{
    FFindBar->SetVisible(false);
    FSearched.clear();
    FPreview->ClearFind();
    FPreview->setFocus(Qt::OtherFocusReason);
}

TFindOptions TPreviewForm::FindBarOptions() const
{
    TFindOptions options;
    if (FMatchCase->Checked())
        options.Include(foMatchCase);
    if (FWholeWord->Checked())
        options.Include(foWholeWord);
    return options;
}

bool TPreviewForm::SaveAs()
{
    return SaveJobAs(FPreview->PrintJob(), this);
}

void TPreviewForm::FindFromBar(bool backwards)
{
    const QString text = FFindEdit->Text();
    if (text.isEmpty())
        return;
    if (text != FSearched || FindBarOptions() != FSearchedOptions || FPreview->FoundText() != text) {
        FSearched = text;
        FSearchedOptions = FindBarOptions();
        // A search through many pages shows its progress and can be cancelled.
        const TFindProgress progress(FPreview, this);
        FPreview->FindText(text, FSearchedOptions);
        return;
    }
    if (backwards)
        FPreview->FindPrevious();
    else
        FPreview->FindNext();
}

bool TPreviewForm::HandleFindKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_F && mods == Qt::ControlModifier) {
        ShowFindBar();
        return true;
    }
    if (event->key() == Qt::Key_T && mods == Qt::ControlModifier) {
        SetThumbnailsVisible(!FThumbnails->Visible());
        return true;
    }
    if (event->key() == Qt::Key_S && mods == Qt::ControlModifier) {
        SaveAs();
        return true;
    }
    if (event->key() == Qt::Key_F3 && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        FindFromBar(mods == Qt::ShiftModifier);
        return true;
    }
    const bool inBar = FFindBar->Visible() && FFindEdit->hasFocus();
    if (inBar && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        FindFromBar(mods == Qt::ShiftModifier);
        return true;
    }
    if (FFindBar->Visible() && event->key() == Qt::Key_Escape) {
        HideFindBar();
        return true;
    }
    return false;
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        bool handled = false;
        GuardEvent([&] { handled = HandleFindKey(static_cast<QKeyEvent*>(event)); });
        if (handled)
            return true;
    }
    return TCustomForm::eventFilter(watched, event);
}

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    GuardEvent([&] { handled = HandleFindKey(event); });
    if (!handled)
        TCustomForm::keyPressEvent(event);
}

TPreviewForm::~TPreviewForm()
{
    DestroyComponent();
}

void TPreviewForm::KeyDown(int& Key, Qt::KeyboardModifiers)
{
    if (Key == VK_ESCAPE && Modal())
        SetModalResult(mrCancel);
}

void TPreviewForm::WindowMoved(bool)
{
    FWindow->RememberBounds(WindowState(), Left(), Top(), Width(), Height());
}

void TPreviewForm::WindowShown()
{
    update();
}

// ---- TCustomPreviewWindow -----------------------------------------------------------------

TCustomPreviewWindow::TCustomPreviewWindow(TComponent* AOwner, TNotifyEvent onCreate)
    : TComponent(AOwner), FFont(std::make_unique<TFont>()), FIcon(std::make_unique<TIcon>()), FUserButtonGlyph(std::make_unique<TBitmap>())
{
    // The framework's default form font: 8 points.
    FFont->SetSize(8);
    FOnCreate = std::move(onCreate);
    if (FOnCreate)
        FOnCreate(this);
}

TCustomPreviewWindow::~TCustomPreviewWindow()
{
    if (FOnDestroy) {
        try {
            FOnDestroy(this);
        } catch (...) {
        }
    }
    // The form goes while the settings it reports back to are still here.
    DestroyComponent();
}

void TCustomPreviewWindow::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FForm)
        FForm = nullptr;
    if (AComponent == FPrintJob)
        FPrintJob = nullptr;
}

TPreview* TCustomPreviewWindow::GetPreview() const { return FForm ? FForm->Preview() : nullptr; }
TPreviewToolbar* TCustomPreviewWindow::GetToolbar() const { return FForm ? FForm->Toolbar() : nullptr; }
TPreviewStatusBar* TCustomPreviewWindow::GetStatusBar() const { return FForm ? FForm->StatusBar() : nullptr; }

void TCustomPreviewWindow::PrepareForm()
{
    if (!FForm)
        FForm = new TPreviewForm(this);
    CopySettings();
    if (FOnShow)
        FOnShow(this);
}

void TCustomPreviewWindow::Show()
{
    PrepareForm();
    FForm->ShowForm();
}

int TCustomPreviewWindow::ShowModal()
{
    if (FForm && FForm->isVisible())
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    PrepareForm();
    return FForm->ShowModal();
}

void TCustomPreviewWindow::Close()
{
    if (!FForm)
        return;
    if (FOnClose)
        FOnClose(this);
    if (FForm)
        FForm->Close();
}

void TCustomPreviewWindow::FormClosed()
{
    if (FOnClose)
        FOnClose(this);
    if (FForm)
        FForm->Release();
    FForm = nullptr;
}

void TCustomPreviewWindow::RememberBounds(TWindowState state, int left, int top, int width, int height)
{
    FWindowState = state;
    FWidth = width;
    FHeight = height;
    FLeft = left;
    FTop = top;
}

void TCustomPreviewWindow::CopySettings()
{
    TPreviewForm* form = FForm;
    // The form's own moves would report back half-applied bounds while they are set.
    const int left = FLeft, top = FTop, width = FWidth, height = FHeight;
    const TWindowState state = FWindowState;
    form->SetBorderIcons(FBorderIcons);
    form->SetBorderStyle(FBorderStyle);
    form->SetCaption(FCaption);
    form->SetCtl3D(FCtl3D);
    form->SetFont(FFont->ToQFont());
    form->SetIcon(*FIcon);
    form->SetPosition(FPosition);
    form->SetWindowState(state);
    form->SetBounds(left, top, width, height);
    RememberBounds(state, left, top, width, height);
    form->SetOnClose([this](TComponent*, TCloseAction&) { FormClosed(); });

    TPreview* pane = form->Preview();
    pane->SetMarginsBorder(FMarginsBorder);
    pane->SetMarginsFill(FMarginsFill);
    pane->SetMarginsVisible(FMarginsVisible);
    pane->SetPageIndex(FPageIndex);
    pane->SetDragScroll(FDragScroll);
    pane->SetScrollTracking(FScrollTracking);
    pane->SetViewMode(FViewMode);
    pane->SetViewScale(FViewScale);
    pane->SetPrintJob(FPrintJob);
    // The page only fits once the pane has its job; a new pane clamps it to 1 before that.
    pane->SetPageIndex(FPageIndex);
    pane->SetOnPageChanged([this](TComponent*) { if (FOnPageChanged) FOnPageChanged(this); });

    TPreviewToolbar* toolbar = form->Toolbar();
    toolbar->SetButtons(FButtons);
    toolbar->SetFlat(FFlat);
    toolbar->SetScaleBox(FScaleBox);
    toolbar->SetScaleBoxPos(FScaleBoxPos);
    toolbar->SetShowHint(FShowHint);
    toolbar->SetUserButtonEnabled(FUserButtonEnabled);
    toolbar->SetUserButtonGlyph(FUserButtonGlyph.get());
    toolbar->SetUserButtonHint(FUserButtonHint);
    toolbar->SetOnUserButtonClick(FOnUserButtonClick);

    TPreviewStatusBar* bar = form->StatusBar();
    bar->SetPagePanelWidth(FPagePanelWidth);
    bar->SetPanels(FPanels);
    bar->SetScalePanelWidth(FScalePanelWidth);
    bar->SetUserText(FUserText);
    bar->SetSizeGrip(FSizeGrip);
}

void TCustomPreviewWindow::Update()
{
    if (!FPrintJob || !FForm)
        return;
    FForm->Preview()->Update();
    if (FOnUpdate)
        FOnUpdate(this);
}

void TCustomPreviewWindow::SetPrintJob(TCustomPrintJob* Value)
{
    if (Value == FPrintJob)
        return;
    if (FPrintJob && !FPrintJob->HasState(csDestroying))
        RemoveFreeNotification(FPrintJob);
    FPrintJob = Value;
    if (FPrintJob) {
        FreeNotification(FPrintJob);
        if (FForm)
            FForm->Preview()->SetPrintJob(FPrintJob);
    }
    Update();
}

void TCustomPreviewWindow::SetBorderIcons(TBorderIcons Value) { Assign(FBorderIcons, Value, FForm, [&](TPreviewForm* f) { f->SetBorderIcons(Value); }); }
void TCustomPreviewWindow::SetBorderStyle(TFormBorderStyle Value) { Assign(FBorderStyle, Value, FForm, [&](TPreviewForm* f) { f->SetBorderStyle(Value); }); }
void TCustomPreviewWindow::SetCaption(const QString& Value) { Assign(FCaption, Value, FForm, [&](TPreviewForm* f) { f->SetCaption(Value); }); }
void TCustomPreviewWindow::SetCtl3D(bool Value) { Assign(FCtl3D, Value, FForm, [&](TPreviewForm* f) { f->SetCtl3D(Value); }); }
void TCustomPreviewWindow::SetPosition(TPosition Value) { Assign(FPosition, Value, FForm, [&](TPreviewForm* f) { f->SetPosition(Value); }); }
void TCustomPreviewWindow::SetWindowState(TWindowState Value) { Assign(FWindowState, Value, FForm, [&](TPreviewForm* f) { f->SetWindowState(Value); }); }
void TCustomPreviewWindow::SetLeft(int Value) { Assign(FLeft, Value, FForm, [&](TPreviewForm* f) { f->SetLeft(Value); }); }
void TCustomPreviewWindow::SetTop(int Value) { Assign(FTop, Value, FForm, [&](TPreviewForm* f) { f->SetTop(Value); }); }
void TCustomPreviewWindow::SetWidth(int Value) { Assign(FWidth, Value, FForm, [&](TPreviewForm* f) { f->SetWidth(Value); }); }
void TCustomPreviewWindow::SetHeight(int Value) { Assign(FHeight, Value, FForm, [&](TPreviewForm* f) { f->SetHeight(Value); }); }
void TCustomPreviewWindow::SetMarginsBorder(TColor Value) { Assign(FMarginsBorder, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetMarginsBorder(Value); }); }
void TCustomPreviewWindow::SetMarginsFill(TColor Value) { Assign(FMarginsFill, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetMarginsFill(Value); }); }
void TCustomPreviewWindow::SetMarginsVisible(bool Value) { Assign(FMarginsVisible, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetMarginsVisible(Value); }); }
void TCustomPreviewWindow::SetPageIndex(int Value) { Assign(FPageIndex, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetPageIndex(Value); }); }
void TCustomPreviewWindow::SetDragScroll(bool Value) { Assign(FDragScroll, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetDragScroll(Value); }); }
void TCustomPreviewWindow::SetScrollTracking(bool Value) { Assign(FScrollTracking, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetScrollTracking(Value); }); }
void TCustomPreviewWindow::SetViewMode(TViewMode Value) { Assign(FViewMode, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetViewMode(Value); }); }
void TCustomPreviewWindow::SetViewScale(int Value) { Assign(FViewScale, Value, FForm, [&](TPreviewForm* f) { f->Preview()->SetViewScale(Value); }); }
void TCustomPreviewWindow::SetButtons(TButtons Value) { Assign(FButtons, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetButtons(Value); }); }
void TCustomPreviewWindow::SetFlat(bool Value) { Assign(FFlat, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetFlat(Value); }); }
void TCustomPreviewWindow::SetScaleBox(bool Value) { Assign(FScaleBox, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetScaleBox(Value); }); }
void TCustomPreviewWindow::SetScaleBoxPos(TButtonKind Value) { Assign(FScaleBoxPos, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetScaleBoxPos(Value); }); }
void TCustomPreviewWindow::SetShowHint(bool Value) { Assign(FShowHint, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetShowHint(Value); }); }
void TCustomPreviewWindow::SetUserButtonEnabled(bool Value) { Assign(FUserButtonEnabled, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetUserButtonEnabled(Value); }); }
void TCustomPreviewWindow::SetUserButtonHint(const QString& Value) { Assign(FUserButtonHint, Value, FForm, [&](TPreviewForm* f) { f->Toolbar()->SetUserButtonHint(Value); }); }
void TCustomPreviewWindow::SetPagePanelWidth(int Value) { Assign(FPagePanelWidth, Value, FForm, [&](TPreviewForm* f) { f->StatusBar()->SetPagePanelWidth(Value); }); }
void TCustomPreviewWindow::SetPanels(TPanels Value) { Assign(FPanels, Value, FForm, [&](TPreviewForm* f) { f->StatusBar()->SetPanels(Value); }); }
void TCustomPreviewWindow::SetScalePanelWidth(int Value) { Assign(FScalePanelWidth, Value, FForm, [&](TPreviewForm* f) { f->StatusBar()->SetScalePanelWidth(Value); }); }
void TCustomPreviewWindow::SetUserText(const QString& Value) { Assign(FUserText, Value, FForm, [&](TPreviewForm* f) { f->StatusBar()->SetUserText(Value); }); }
void TCustomPreviewWindow::SetSizeGrip(bool Value) { Assign(FSizeGrip, Value, FForm, [&](TPreviewForm* f) { f->StatusBar()->SetSizeGrip(Value); }); }

void TCustomPreviewWindow::SetFont(const TFont* Value)
{
    if (Value)
        FFont->Assign(*Value);
}

void TCustomPreviewWindow::SetIcon(const TIcon* Value)
{
    if (Value)
        FIcon->Assign(*Value);
}

void TCustomPreviewWindow::SetUserButtonGlyph(const TBitmap* Value)
{
    if (Value && Value != FUserButtonGlyph.get())
        FUserButtonGlyph->Assign(*Value);
}

void TCustomPreviewWindow::SetOnUserButtonClick(TNotifyEvent Value)
{
    FOnUserButtonClick = std::move(Value);
    if (FForm)
        FForm->Toolbar()->SetOnUserButtonClick(FOnUserButtonClick);
}

void RegisterVLWindow()
{
    RegisterComponents(QStringLiteral("Vellaro"), {QStringLiteral("TPreviewWindow")});
}

} // namespace Vellaro
