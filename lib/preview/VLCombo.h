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
    /// A box 125 x 21 pixels reading "not linked" until it is linked to a pane.
    explicit TCustomPreviewComboBox(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    /// Lets go of the pane.
    ~TCustomPreviewComboBox() override;

    /// The pane whose view the box shows and sets; none by default.
    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    /// Attaches the box to a pane (detaching it from the previous one), then updates it.
    void SetPreview(TCustomPreview* Value);
    /// Shows the pane's scale text, or "not linked"; raises OnUpdate.
    void Update() override;
    /// Raised by Update, after the text was set.
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }

protected:
    /// Lets go of the pane when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Fills the list: "Whole page", "Page width" and the zoom steps from 10% to 1000%.
    void DropDown() override;
    /// Applies the chosen item: whole page, page width, or its percentage as the free scale.
    void Click() override;
    /// Return applies the typed percentage and gives the pane the focus; Escape gives the pane the
    /// focus and puts its scale text back.
    void KeyDown(int& Key, Qt::KeyboardModifiers Shift) override;
    /// Lets only digits, '.' and backspace through.
    void KeyPress(QChar& Key) override;
    /// Puts the pane's scale text back when the box loses the focus.
    void DoExit() override;
    /// The thirteen list items as one text.
    static QString GetScales();
    /// The typed text reduced to its digits; a fraction after a point is rounded off ("12.5" is 13).
    QString CleanText() const;
    /// The chosen list item reduced to its digits.
    QString CleanSelect() const;

private:
    /// Applies a number given as digits as the pane's free scale; a bad one is reported.
    void ApplyScale(const QString& digits);
    TPreviewLink FPreviewLink{this};
    TNotifyEvent FOnUpdate;
};

/// The zoom combo box with its published properties.
///
/// Published properties: Name, Tag, #Preview, Color, Ctl3D, Font, #ParentColor, ParentCtl3D,
/// ParentFont, ParentShowHint, #PopupMenu, ShowHint, TabOrder, Visible.
///
/// Events: #OnUpdate.
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
    /// See TCustomPreviewComboBox::TCustomPreviewComboBox.
    using TCustomPreviewComboBox::TCustomPreviewComboBox;
};

/// Puts TPreviewComboBox on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLCombo();

} // namespace Vellaro
