#pragma once
// The zoom combo box: shows a preview pane's scale text and sets the pane's view from a list
// choice or a typed percentage.

#include "platform/controls/Menus.h"
#include "platform/controls/StdControls.h"
#include "preview/VLPreview.h"

namespace Vellaro {

/// All behaviour of the zoom box; TPreviewComboBox publishes it.
class VELLARO_EXPORT TCustomPreviewComboBox : public TCustomComboBox {
    Q_OBJECT
public:
    explicit TCustomPreviewComboBox(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomPreviewComboBox() override;

    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    /// Attaches the box to a pane (detaching it from the previous one), then updates it.
    void SetPreview(TCustomPreview* Value);
    /// Shows the pane's scale text, or "not linked"; raises OnUpdate.
    void Update() override;
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DropDown() override;
    void Click() override;
    void KeyDown(int& Key, Qt::KeyboardModifiers Shift) override;
    void KeyPress(QChar& Key) override;
    void DoExit() override;
    /// The thirteen list items as one text.
    static QString GetScales();
    /// The typed text, or the chosen item's, reduced to its digits.
    QString CleanText() const;
    QString CleanSelect() const;

private:
    /// Applies a number given as digits as the pane's free scale; a bad one is reported.
    void ApplyScale(const QString& digits);
    TPreviewLink FPreviewLink{this};
    TNotifyEvent FOnUpdate;
};

/// The zoom combo box with its published properties.
class VELLARO_EXPORT TPreviewComboBox : public TCustomPreviewComboBox {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPreview* Preview READ Preview WRITE SetPreview)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE SetParentCtl3D)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(Vellaro::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    using TCustomPreviewComboBox::TCustomPreviewComboBox;
};

/// Puts TPreviewComboBox on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLCombo();

} // namespace Vellaro
