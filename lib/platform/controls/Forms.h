#pragma once
// A top-level form built in code: border style and icons, caption, icon, position, window
// state, key preview, OnClose with a close action, a modal showing ended by ModalResult, and
// deferred release.

#include "platform/controls/Controls.h"
#include "platform/core/Icon.h"

#include <QIcon>
#include <QWidget>
#include <functional>

namespace Vellaro {

namespace FormsTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
Q_ENUM_NS(TBorderIcon)
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
Q_ENUM_NS(TPosition)
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
Q_ENUM_NS(TWindowState)
enum TCloseAction { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)
} // namespace FormsTypes
using namespace FormsTypes;
using TBorderIcons = TSet<TBorderIcon>;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;

/// A form: a top-level window made in code. Left, Top, Width and Height are the window's
/// place and client size on the screen.
class VELLARO_EXPORT TCustomForm : public QWidget, public TWinControl {
    Q_OBJECT
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    QWidget* Widget() override { return this; }
    /// Left and Top place the window's frame; Width and Height size its client area.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& value) { setWindowTitle(value); }
    TIcon* Icon() { return &FIcon; }
    void SetIcon(const TIcon& value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value);
    bool Modal() const { return FModal; }
    TCloseEvent OnClose() const { return FOnClose; }
    void SetOnClose(TCloseEvent value) { FOnClose = std::move(value); }

    /// Shows the form and returns at once.
    void ShowForm();
    /// Shows the form and runs the event loop until ModalResult is set or the form closes;
    /// then closes it and returns ModalResult. Raises EInvalidOperation on a shown form.
    TModalResult ShowModal();
    /// Asks the form to close: ends a modal showing with mrCancel, otherwise raises OnClose
    /// and hides or releases the form as its action says.
    void Close();
    /// Hides the form now and destroys it once the current event is done.
    void Release();

protected:
    /// A key pressed in the form or, with KeyPreview, in any of its controls; Key set to 0 stops it.
    virtual void KeyDown(int& Key, Qt::KeyboardModifiers Shift) { (void)Key; (void)Shift; }
    /// The window moved (or was resized, resized is true).
    virtual void WindowMoved(bool resized) { (void)resized; }
    /// The window was shown.
    virtual void WindowShown() {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ApplyWindowFlags();
    void CloseShown();
    bool HandleKey(QKeyEvent* event);

    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle FBorderStyle = bsSizeable;
    TIcon FIcon;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    TCloseEvent FOnClose;
};

/// A form with its published properties, the root of a dialog read from a form file.
class VELLARO_EXPORT TForm : public TCustomForm {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(Vellaro::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(Vellaro::ControlsTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_PROPERTY(Vellaro::FormsTypes::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(Vellaro::TNotifyEvent OnShow READ OnShow WRITE SetOnShow)
public:
    explicit TForm(TComponent* AOwner = nullptr);
    ~TForm() override;
    TNotifyEvent OnShow() const { return FOnShow; }
    void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }

protected:
    void WindowShown() override;
    /// Chains the focus of the form's controls in the order of their TabOrder.
    void Loaded() override;

private:
    TNotifyEvent FOnShow;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TBorderIcons)
