#pragma once
// TButton: a push button that can end its form's modal showing with its ModalResult, and be
// the form's default button (Enter) or cancel button (Escape).

#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"

#include <QPushButton>

namespace Vellaro {

class VELLARO_EXPORT TButton : public QPushButton, public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
public:
    explicit TButton(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TButton() override;
    QWidget* Widget() override { return this; }

    QString Caption() const { return text(); }
    void SetCaption(const QString& Value) { setText(Value); }
    /// Enter in the form clicks the default button.
    bool Default() const { return isDefault(); }
    void SetDefault(bool Value) { setDefault(Value); }
    /// Escape in the form clicks the cancel button.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    /// Set on the form when the button is clicked (mrNone leaves the form open).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }

    /// Gives the form the button's modal result, then raises OnClick.
    virtual void Click();

private:
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
    TNotifyEvent FOnClick;
};

/// The enabled, visible default (or cancel) button of a form, or nullptr.
VELLARO_EXPORT TButton* FindDialogButton(QWidget* form, bool defaultButton);

} // namespace Vellaro
