#include "platform/controls/Forms.h"

#include "platform/core/ClassRegistry.h"

#include "platform/controls/Buttons.h"
#include "platform/core/Application.h"

#include <QApplication>
#include <algorithm>
#include <vector>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>

namespace Vellaro {

VELLARO_REGISTER_SET(TBorderIcon)
VELLARO_REGISTER_CLASS(TForm)

TCustomForm::TCustomForm(TComponent* AOwner) : QWidget(nullptr, Qt::Window), TWinControl(AOwner)
{
    SetVisible(false);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    InitWidget();
    ApplyWindowFlags();
}

TCustomForm::~TCustomForm()
{
    DestroyComponent();
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    move(ALeft, ATop);
    resize(std::max(0, AWidth), std::max(0, AHeight));
}

void TCustomForm::ApplyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (FBorderStyle == bsNone)
        flags = Qt::Window | Qt::FramelessWindowHint;
    else if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (FBorderIcons.Contains(biMinimize))
            flags |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons.Contains(biMaximize) && (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin))
            flags |= Qt::WindowMaximizeButtonHint;
        if (FBorderIcons.Contains(biHelp))
            flags |= Qt::WindowContextHelpButtonHint;
    }
    const bool shown = isVisible();
    setWindowFlags(flags);
    if (shown)
        show();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    FBorderIcons = value;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    FBorderStyle = value;
    ApplyWindowFlags();
}

void TCustomForm::SetIcon(const TIcon& value)
{
    FIcon.Assign(value);
    setWindowIcon(FIcon.Icon());
}

void TCustomForm::SetPosition(TPosition value)
{
    FPosition = value;
}

TWindowState TCustomForm::WindowState() const
{
    if (windowState() & Qt::WindowMinimized)
        return wsMinimized;
    if (windowState() & Qt::WindowMaximized)
        return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    if (value == WindowState())
        return;
    setWindowState(value == wsMinimized ? Qt::WindowMinimized : value == wsMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TCustomForm::SetKeyPreview(bool value)
{
    if (value == FKeyPreview)
        return;
    FKeyPreview = value;
    if (value)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void TCustomForm::SetModalResult(TModalResult value)
{
    FModalResult = value;
}

void TCustomForm::ShowForm()
{
    if (FPosition >= poScreenCenter) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

TModalResult TCustomForm::ShowModal()
{
    if (isVisible() || FModal)
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    QPointer<TCustomForm> self(this);
    FModal = true;
    FModalResult = mrNone;
    setWindowModality(Qt::ApplicationModal);
    ShowForm();
    QEventLoop loop;
    for (;;) {
        while (self && FModalResult == mrNone && isVisible())
            loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        if (!self)
            return mrCancel;
        if (FModalResult == mrNone)
            FModalResult = mrCancel; // hidden by other means
        TCloseAction action = caHide;
        if (FOnClose)
            FOnClose(this, action);
        if (!self)
            return mrCancel;
        if (action != caNone)
            break;
        FModalResult = mrNone;
    }
    const TModalResult result = FModalResult;
    FModal = false;
    // Qt keeps a shown window's modality: hide first, or it stays registered as modal.
    hide();
    setWindowModality(Qt::NonModal);
    return result;
}

void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    CloseShown();
}

void TCustomForm::CloseShown()
{
    TCloseAction action = caHide;
    QPointer<TCustomForm> self(this);
    if (FOnClose)
        FOnClose(this, action);
    if (!self)
        return;
    switch (action) {
    case caHide: hide(); break;
    case caFree: Release(); break;
    case caMinimize: showMinimized(); break;
    case caNone: break;
    }
}

void TCustomForm::Release()
{
    hide();
    deleteLater();
}

bool TCustomForm::HandleKey(QKeyEvent* event)
{
    int key = VirtualKey(event->key());
    if (key == 0)
        return false;
    KeyDown(key, event->modifiers());
    // Enter clicks the default button and Escape the cancel button, as in a dialog.
    if (key == VK_RETURN || key == VK_ESCAPE)
        if (TButton* button = FindDialogButton(this, key == VK_RETURN)) {
            button->Click();
            return true;
        }
    return key == 0;
}

bool TCustomForm::eventFilter(QObject* watched, QEvent* event)
{
    // The form previews the keys of its controls once, before the control that has them.
    if (event->type() != QEvent::KeyPress || watched == this || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this)
        return false;
    static const QEvent* lastPreviewed = nullptr;
    static QPointer<QWidget> lastReceiver;
    if (event == lastPreviewed && lastReceiver && (lastReceiver == widget || widget->isAncestorOf(lastReceiver)))
        return false;
    lastPreviewed = event;
    lastReceiver = widget;
    bool eaten = false;
    GuardEvent([&] { eaten = HandleKey(static_cast<QKeyEvent*>(event)); });
    return eaten;
}

void TCustomForm::keyPressEvent(QKeyEvent* event)
{
    bool eaten = false;
    GuardEvent([&] { eaten = HandleKey(event); });
    if (!eaten)
        QWidget::keyPressEvent(event);
}

void TCustomForm::closeEvent(QCloseEvent* event)
{
    // The form decides itself whether it hides or goes away.
    event->ignore();
    GuardEvent([this] { Close(); });
}

void TCustomForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    GuardEvent([this] { WindowMoved(false); });
}

void TCustomForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    GuardEvent([this] { WindowMoved(true); });
}

void TCustomForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    GuardEvent([this] { WindowShown(); });
}

TForm::TForm(TComponent* AOwner)
    : TCustomForm(AOwner)
{
}

TForm::~TForm()
{
    DestroyComponent();
}

void TForm::Loaded()
{
    TCustomForm::Loaded();
    std::vector<TWinControl*> controls;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TWinControl*>(Components(i)); control && control->TabOrder() >= 0)
            controls.push_back(control);
    std::stable_sort(controls.begin(), controls.end(), [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (size_t i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1]->Widget(), controls[i]->Widget());
}

void TForm::WindowShown()
{
    if (FOnShow)
        FOnShow(this);
}

} // namespace Vellaro
