#pragma once
// The preview status bar: the page and scale of a preview pane and a free text, in up to
// three parts.

#include "platform/controls/Menus.h"
#include "platform/controls/StdControls.h"
#include "preview/VLPreview.h"

namespace Vellaro {

namespace VLStatusBarTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
enum TPanelKind { pnPage, pnScale };
Q_ENUM_NS(TPanelKind)
} // namespace VLStatusBarTypes
using namespace VLStatusBarTypes;
/// Which of the page and scale parts show.
using TPanels = TSet<TPanelKind>;

/// All behaviour of the status bar; TPreviewStatusBar publishes it.
class VELLARO_EXPORT TCustomPreviewStatusBar : public TStatusBarControl {
    Q_OBJECT
public:
    explicit TCustomPreviewStatusBar(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomPreviewStatusBar() override;

    /// Rewrites the parts from the pane (when the bar has a parent and a pane); raises OnUpdate.
    void Update() override;
    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    void SetPreview(TCustomPreview* Value);
    TPanels Panels() const { return FPanels; }
    void SetPanels(TPanels Value);
    int PagePanelWidth() const { return FPagePanelWidth; }
    void SetPagePanelWidth(int Value);
    int ScalePanelWidth() const { return FScalePanelWidth; }
    void SetScalePanelWidth(int Value);
    QString UserText() const { return FUserText; }
    void SetUserText(const QString& Value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TPreviewLink FPreviewLink{this};
    TPanels FPanels{pnPage, pnScale};
    int FPagePanelWidth = 100;
    int FScalePanelWidth = 100;
    QString FUserText;
    bool FSizeGrip = true;
    TNotifyEvent FOnUpdate;
};

/// The preview status bar with its published properties.
class VELLARO_EXPORT TPreviewStatusBar : public TCustomPreviewStatusBar {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPreview* Preview READ Preview WRITE SetPreview)
    Q_PROPERTY(Vellaro::TPanels Panels READ Panels WRITE SetPanels)
    Q_PROPERTY(int PagePanelWidth READ PagePanelWidth WRITE SetPagePanelWidth)
    Q_PROPERTY(int ScalePanelWidth READ ScalePanelWidth WRITE SetScalePanelWidth)
    Q_PROPERTY(QString UserText READ UserText WRITE SetUserText)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(Vellaro::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    using TCustomPreviewStatusBar::TCustomPreviewStatusBar;
};

/// Puts TPreviewStatusBar on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLStatusBar();

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TPanels)
