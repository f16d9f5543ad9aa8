#pragma once
// The preview label: the page or the scale of a preview pane as a caption.

#include "platform/controls/Menus.h"
#include "platform/controls/StdControls.h"
#include "preview/VLPreview.h"

namespace Vellaro {

namespace VLLabelTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// What a preview label shows: the pane's page text or its scale text.
enum TMode { lmPage, lmScale };
Q_ENUM_NS(TMode)
} // namespace VLLabelTypes
using namespace VLLabelTypes;

/// All behaviour of the label; TPreviewLabel publishes it.
class VELLARO_EXPORT TCustomPreviewLabel : public TCustomLabel {
    Q_OBJECT
public:
    /// A label reading "not linked" until it is linked to a pane.
    explicit TCustomPreviewLabel(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    /// Lets go of the pane.
    ~TCustomPreviewLabel() override;

    /// Takes the caption from the pane ("not linked" without one); raises OnUpdate.
    void Update() override;
    /// The pane whose page or scale the label shows; none by default.
    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    /// Links the label to Value (or to nothing for null) and takes the caption from it.
    void SetPreview(TCustomPreview* Value);
    /// lmPage ("Page 2 from 7", the default) or lmScale ("Whole page (37%)").
    TMode Mode() const { return FMode; }
    /// Sets Mode and takes the caption again.
    void SetMode(TMode Value);
    /// Raised by Update, after the caption was set.
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }

protected:
    /// Lets go of the pane when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TPreviewLink FPreviewLink{this};
    TMode FMode = lmPage;
    TNotifyEvent FOnUpdate;
};

/// The preview label with its published properties.
///
/// Published properties: Name, Tag, #Preview, #Mode, Align, Alignment, AutoSize, Color,
/// Font, Layout, #ParentColor, ParentFont, ParentShowHint, #PopupMenu, ShowHint, Transparent,
/// Visible.
///
/// Events: #OnUpdate.
class VELLARO_EXPORT TPreviewLabel : public TCustomPreviewLabel {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPreview* Preview READ Preview WRITE SetPreview)
    Q_PROPERTY(Vellaro::VLLabelTypes::TMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(Qt::Alignment Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(Vellaro::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomPreviewLabel::TCustomPreviewLabel.
    using TCustomPreviewLabel::TCustomPreviewLabel;
};

/// Puts TPreviewLabel on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLLabel();

} // namespace Vellaro
