#pragma once
// The preview toolbar: fourteen flat buttons and a zoom box that drive a preview pane, laid
// out left to right without gaps and enabled after the pane's state.

#include "platform/controls/StdControls.h"
#include "preview/VLCombo.h"

#include <array>

namespace Vellaro {

/// All behaviour of the toolbar; TPreviewToolbar publishes it.
class VELLARO_EXPORT TCustomPreviewToolbar : public TCustomPanel {
    Q_OBJECT
public:
    explicit TCustomPreviewToolbar(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomPreviewToolbar() override;

    /// Called by the pane after each layout: enables the buttons, raises OnUpdate.
    void Update() override;
    /// The action of one button; descendants may add their own.
    virtual void ButtonClick(TButtonKind Kind);

    TCustomPreview* Preview() const { return FPreviewLink.Get(); }
    void SetPreview(TCustomPreview* Value);
    TButtons Buttons() const { return FButtons; }
    void SetButtons(TButtons Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool ScaleBox() const { return FScaleBox; }
    void SetScaleBox(bool Value);
    TButtonKind ScaleBoxPos() const { return FScaleBoxPos; }
    void SetScaleBoxPos(TButtonKind Value);
    bool UserButtonEnabled() const { return FUserButtonEnabled; }
    void SetUserButtonEnabled(bool Value);
    TBitmap* UserButtonGlyph() const { return FUserButtonGlyph.get(); }
    /// Copies the bitmap's picture into the toolbar's own and shows it on the user button.
    void SetUserButtonGlyph(const TBitmap* Value);
    QString UserButtonHint() const { return FUserButtonHint; }
    void SetUserButtonHint(const QString& Value);
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
    TNotifyEvent OnUserButtonClick() const { return FOnUserButtonClick; }
    void SetOnUserButtonClick(TNotifyEvent Value) { FOnUserButtonClick = std::move(Value); }

    TSpeedButton* SpeedButton(TButtonKind Kind) const { return FSpeedButtons[size_t(Kind)]; }
    TPreviewComboBox* ScaleCombo() const { return FScaleCombo; }
    /// The left edge of layout slot i.
    static int GetButtonLeft(int i) { return 24 * i + 1; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateButtons();
    void EnableButtons();
    void GetBitmapPart(TButtonKind Kind, TBitmap* Glyph);
    /// The export button's picture (not in the strip): a sheet with an arrow out of it.
    static void DrawExportGlyph(TBitmap* Glyph);
    void OnButtonClick(TComponent* Sender);

    TPreviewLink FPreviewLink{this};
    std::unique_ptr<TBitmap> FGlyphStrip;
    std::array<TSpeedButton*, btnExport + 1> FSpeedButtons{};
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
    using TCustomPreviewToolbar::TCustomPreviewToolbar;
    void SetUserButtonGlyph(TBitmap* Value) { TCustomPreviewToolbar::SetUserButtonGlyph(Value); }
};

/// Puts TPreviewToolbar on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLToolbar();

} // namespace Vellaro
