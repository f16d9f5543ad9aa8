#pragma once
// The preview toolbar: flat buttons and a zoom box that drive a preview pane, laid out left to
// right without gaps and enabled after the pane's state.

#include "platform/controls/StdControls.h"
#include "preview/VLCombo.h"
#include "preview/VLThumbnails.h"

#include <QPointer>

#include <array>

namespace Vellaro {

/// All behaviour of the toolbar; TPreviewToolbar publishes it.
class VELLARO_EXPORT TCustomPreviewToolbar : public TCustomPanel {
    Q_OBJECT
public:
    /// A toolbar 26 pixels high, aligned to the top, with the default buttons and the zoom box.
    explicit TCustomPreviewToolbar(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    /// Lets go of the pane.
    ~TCustomPreviewToolbar() override;

    /// Called by the pane after each layout: enables the buttons, raises OnUpdate.
    void Update() override;
    /// The action of one button; descendants may add their own.
    virtual void ButtonClick(TButtonKind Kind);

    /// The pane the buttons drive; none by default.
    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    /// Links the toolbar (and its zoom box) to Value, or to nothing for null.
    void SetPreview(TCustomPreview* Value);
    /// The buttons shown, left to right in TButtonKind order; by default print, printer setup, the
    /// four paging buttons, zoom out and zoom in.
    TButtons Buttons() const { return FButtons; }
    /// Sets Buttons and lays the toolbar out again.
    void SetButtons(TButtons Value);
    /// Whether the buttons are flat (raised only under the mouse); true by default.
    bool Flat() const { return FFlat; }
    /// Sets Flat on every button.
    void SetFlat(bool Value);
    /// Whether the zoom box is shown; true by default.
    bool ScaleBox() const { return FScaleBox; }
    /// Sets ScaleBox and lays the toolbar out again.
    void SetScaleBox(bool Value);
    /// The button the zoom box stands before (where that button would start); btnZoomOut by default.
    TButtonKind ScaleBoxPos() const { return FScaleBoxPos; }
    /// Sets ScaleBoxPos and lays the toolbar out again.
    void SetScaleBoxPos(TButtonKind Value);
    /// Whether the user button can be clicked; true by default.
    bool UserButtonEnabled() const { return FUserButtonEnabled; }
    /// Sets UserButtonEnabled.
    void SetUserButtonEnabled(bool Value);
    /// The user button's picture; empty by default. The toolbar owns it.
    TBitmap* UserButtonGlyph() const { return FUserButtonGlyph.get(); }
    /// Copies the bitmap's picture into the toolbar's own and shows it on the user button.
    void SetUserButtonGlyph(const TBitmap* Value);
    /// The user button's hint; empty by default.
    QString UserButtonHint() const { return FUserButtonHint; }
    /// Sets UserButtonHint.
    void SetUserButtonHint(const QString& Value);
    /// Raised by Update, after the buttons were enabled for the pane's state.
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
    /// Raised when the user button (btnUser) is clicked.
    TNotifyEvent OnUserButtonClick() const { return FOnUserButtonClick; }
    /// Sets OnUserButtonClick.
    void SetOnUserButtonClick(TNotifyEvent Value) { FOnUserButtonClick = std::move(Value); }

    /// The page overview the overview button (btnThumbnails) shows and hides; none by default,
    /// and the button is disabled without one. The button stays down while the overview shows.
    TPreviewThumbnails* Thumbnails() const;
    /// Links the overview button to an overview (nullptr unlinks it).
    void SetThumbnails(TPreviewThumbnails* Value);

    /// The button of one kind, shown or not.
    TSpeedButton* SpeedButton(TButtonKind Kind) const { return FSpeedButtons[size_t(Kind)]; }
    /// The zoom box.
    TPreviewComboBox* ScaleCombo() const { return FScaleCombo; }
    /// The left edge of layout slot i.
    static int GetButtonLeft(int i) { return 24 * i + 1; }

protected:
    /// Lets go of the pane when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Keeps the overview button down while the linked overview shows, however it was shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateButtons();
    void EnableButtons();
    void GetBitmapPart(TButtonKind Kind, TBitmap* Glyph);
    /// The export button's picture (not in the strip): a sheet with an arrow out of it.
    static void DrawExportGlyph(TBitmap* Glyph);
    /// The overview button's picture (not in the strip): small pages beside a large one.
    static void DrawThumbnailsGlyph(TBitmap* Glyph);
    void ShowThumbnailsState();
    void OnButtonClick(TComponent* Sender);

    TPreviewLink FPreviewLink{this};
    std::unique_ptr<TBitmap> FGlyphStrip;
    std::array<TSpeedButton*, btnThumbnails + 1> FSpeedButtons{};
    // Held as a widget: the event filter compares it with the watched object while ~QWidget
    // runs, when it is no longer an overview.
    QPointer<QWidget> FThumbnails;
    TButtons FButtons;
    bool FFlat = false;
    TPreviewComboBox* FScaleCombo = nullptr;
    bool FScaleBox = true;
    TButtonKind FScaleBoxPos = btnZoomOut;
    bool FUserButtonEnabled = true;
    std::unique_ptr<TBitmap> FUserButtonGlyph;
    QString FUserButtonHint;
    TNotifyEvent FOnUpdate;
    TNotifyEvent FOnUserButtonClick;
};

/// The preview toolbar with its published properties.
///
/// Published properties: Name, Tag, #Preview, #Buttons, #Flat, #ScaleBox, #ScaleBoxPos,
/// #UserButtonEnabled, #UserButtonGlyph, #UserButtonHint, Align, ParentShowHint, ShowHint,
/// Visible.
///
/// Events: #OnUpdate, #OnUserButtonClick.
class VELLARO_EXPORT TPreviewToolbar : public TCustomPreviewToolbar {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPreview* Preview READ Preview WRITE SetPreview)
    Q_PROPERTY(Vellaro::TButtons Buttons READ Buttons WRITE SetButtons)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool ScaleBox READ ScaleBox WRITE SetScaleBox)
    Q_PROPERTY(Vellaro::VLCommonTypes::TButtonKind ScaleBoxPos READ ScaleBoxPos WRITE SetScaleBoxPos)
    Q_PROPERTY(bool UserButtonEnabled READ UserButtonEnabled WRITE SetUserButtonEnabled)
    Q_PROPERTY(Vellaro::TBitmap* UserButtonGlyph READ UserButtonGlyph WRITE SetUserButtonGlyph)
    Q_PROPERTY(QString UserButtonHint READ UserButtonHint WRITE SetUserButtonHint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUserButtonClick READ OnUserButtonClick WRITE SetOnUserButtonClick)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    /// See TCustomPreviewToolbar::TCustomPreviewToolbar.
    using TCustomPreviewToolbar::TCustomPreviewToolbar;
    /// The UserButtonGlyph property's setter; see TCustomPreviewToolbar::SetUserButtonGlyph.
    void SetUserButtonGlyph(TBitmap* Value) { TCustomPreviewToolbar::SetUserButtonGlyph(Value); }
};

/// Puts TPreviewToolbar on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLToolbar();

} // namespace Vellaro
