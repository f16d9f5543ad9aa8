#pragma once
// The preview status bar: the page and scale of a preview pane and a free text, in up to
// three parts.

#include "platform/controls/Menus.h"
#include "platform/controls/StdControls.h"
#include "preview/VLPreview.h"

namespace Vellaro {

namespace VLStatusBarTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)
/// The parts of the status bar that follow the pane: its page text and its scale text.
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
    /// A status bar 19 pixels high, aligned to the bottom, with a size grip and the page and scale parts.
    explicit TCustomPreviewStatusBar(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    /// Lets go of the pane.
    ~TCustomPreviewStatusBar() override;

    /// Rewrites the parts from the pane (when the bar has a parent and a pane); raises OnUpdate.
    void Update() override;
    /// The pane whose page and scale the bar shows; none by default.
    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    /// Links the bar to Value (or to nothing for null) and rewrites the parts.
    void SetPreview(TCustomPreview* Value);
    /// Which of the page part ("Page 2 from 7") and the scale part ("Whole page (37%)") show, in that
    /// order before the user text; both by default.
    TPanels Panels() const { return FPanels; }
    /// Sets Panels and rewrites the parts.
    void SetPanels(TPanels Value);
    /// The page part's width in pixels; 100 by default.
    int PagePanelWidth() const { return FPagePanelWidth; }
    /// Sets PagePanelWidth and rewrites the parts.
    void SetPagePanelWidth(int Value);
    /// The scale part's width in pixels; 100 by default.
    int ScalePanelWidth() const { return FScalePanelWidth; }
    /// Sets ScalePanelWidth and rewrites the parts.
    void SetScalePanelWidth(int Value);
    /// The application's text in the last part, which reaches to the pane's width; empty by default.
    QString UserText() const { return FUserText; }
    /// Sets UserText and rewrites the parts.
    void SetUserText(const QString& Value);
    /// Whether the bar shows a size grip at its right end; true by default.
    bool SizeGrip() const { return FSizeGrip; }
    /// Sets SizeGrip.
    void SetSizeGrip(bool Value);
    /// Raised by Update, after the parts were rewritten.
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }

protected:
    /// Lets go of the pane when it is destroyed.
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
///
/// Published properties: Name, Tag, #Preview, #Panels, #PagePanelWidth, #ScalePanelWidth,
/// #UserText, #SizeGrip, Font, ParentFont, ParentShowHint, #PopupMenu, ShowHint, Visible.
///
/// Events: #OnUpdate.
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
    /// See TCustomPreviewStatusBar::TCustomPreviewStatusBar.
    using TCustomPreviewStatusBar::TCustomPreviewStatusBar;
};

/// Puts TPreviewStatusBar on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLStatusBar();

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TPanels)
