#pragma once
// The preview window: a non-visual component that builds a preview form (pane, toolbar and
// status bar) on each showing, hands it its settings, and keeps them, with the form's last
// size and place, between showings.

#include "platform/controls/Forms.h"
#include "platform/controls/StdControls.h"
#include "preview/VLStatusBar.h"
#include "preview/VLThumbnails.h"
#include "preview/VLToolbar.h"

#include <QObject>

namespace Vellaro {

class TCustomPreviewWindow;

/// The form a preview window builds in code: a pane filling it, a toolbar above and a status
/// bar below. Escape ends a modal showing with mrCancel. A find bar under the toolbar searches
/// the pages: Ctrl+F opens it, Enter or F3 goes to the next match, Shift+F3 (Shift+Enter) to the
/// previous one, Escape closes it (and forgets the search). Ctrl+S saves the job as PDF, PNG or SVG.
/// Ctrl+T shows or hides the page overview on the left.
class VELLARO_EXPORT TPreviewForm : public TCustomForm {
    Q_OBJECT
public:
    /// AOwner must be a preview window (EInvalidOperation otherwise).
    explicit TPreviewForm(TComponent* AOwner);
    ~TPreviewForm() override;
    TCustomPreviewWindow* Window() const { return FWindow; }
    TPreview* Preview() const { return FPreview; }
    TPreviewToolbar* Toolbar() const { return FToolbar; }
    TPreviewStatusBar* StatusBar() const { return FStatusBar; }
    TPanel* FindBar() const { return FFindBar; }
    TEdit* FindEdit() const { return FFindEdit; }
    TCheckBox* MatchCaseBox() const { return FMatchCase; }
    TCheckBox* WholeWordBox() const { return FWholeWord; }
    /// Shows the find bar with the focus in its text.
    void ShowFindBar();
    /// Hides the find bar, forgets the search and gives the focus back to the pane.
    void HideFindBar();
    /// Searches for the bar's text when it or an option changed since the last search, else
    /// moves to the next (previous) match. An empty text does nothing.
    void FindFromBar(bool backwards);
    /// Save as… (Ctrl+S): asks for a file and a format (PDF, PNG, SVG) and exports the job;
    /// false when cancelled.
    bool SaveAs();
    /// The page overview (Ctrl+T), hidden at first.
    TPreviewThumbnails* Thumbnails() const { return FThumbnails; }
    void SetThumbnailsVisible(bool Value);

protected:
    void KeyDown(int& Key, Qt::KeyboardModifiers Shift) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void WindowMoved(bool resized) override;
    void WindowShown() override;

private:
    static TCustomPreviewWindow* RequireWindow(TComponent* owner);
    void BuildFindBar();
    /// The find keys (Ctrl+F, F3, Shift+F3, Enter in the bar, Escape with the bar shown).
    bool HandleFindKey(QKeyEvent* event);
    TFindOptions FindBarOptions() const;
    TCustomPreviewWindow* FWindow;
    TPreview* FPreview;
    TPreviewToolbar* FToolbar;
    TPreviewStatusBar* FStatusBar;
    TPreviewThumbnails* FThumbnails = nullptr;
    TPanel* FFindBar = nullptr;
    TEdit* FFindEdit = nullptr;
    TCheckBox* FMatchCase = nullptr;
    TCheckBox* FWholeWord = nullptr;
    QString FSearched;
    TFindOptions FSearchedOptions;
};

/// All behaviour of the preview window; TPreviewWindow publishes it.
class VELLARO_EXPORT TCustomPreviewWindow : public QObject, public TComponent {
    Q_OBJECT
public:
    /// onCreate stands for a handler assigned before construction ends; it runs last.
    explicit TCustomPreviewWindow(TComponent* AOwner = nullptr, TNotifyEvent onCreate = {});
    ~TCustomPreviewWindow() override;

    /// Builds the form when there is none, copies the settings, raises OnShow, shows it.
    void Show();
    /// As Show, modally; returns the form's modal result.
    int ShowModal();
    /// Raises OnClose and asks the form to close (nothing without a form).
    void Close();
    /// Updates the open pane when a job is set.
    virtual void Update();
    TPreview* GetPreview() const;
    TPreviewToolbar* GetToolbar() const;
    TPreviewStatusBar* GetStatusBar() const;
    TPreviewForm* Form() const { return FForm; }

    TCustomPrintJob* PrintJob() const { return FPrintJob; }
    void SetPrintJob(TCustomPrintJob* Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(const TIcon* Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    int Top() const { return FTop; }
    void SetTop(int Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor MarginsBorder() const { return FMarginsBorder; }
    void SetMarginsBorder(TColor Value);
    TColor MarginsFill() const { return FMarginsFill; }
    void SetMarginsFill(TColor Value);
    bool MarginsVisible() const { return FMarginsVisible; }
    void SetMarginsVisible(bool Value);
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int Value);
    bool DragScroll() const { return FDragScroll; }
    void SetDragScroll(bool Value);
    bool ScrollTracking() const { return FScrollTracking; }
    void SetScrollTracking(bool Value);
    TViewMode ViewMode() const { return FViewMode; }
    void SetViewMode(TViewMode Value);
    int ViewScale() const { return FViewScale; }
    void SetViewScale(int Value);
    TButtons Buttons() const { return FButtons; }
    void SetButtons(TButtons Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool ScaleBox() const { return FScaleBox; }
    void SetScaleBox(bool Value);
    TButtonKind ScaleBoxPos() const { return FScaleBoxPos; }
    void SetScaleBoxPos(TButtonKind Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool UserButtonEnabled() const { return FUserButtonEnabled; }
    void SetUserButtonEnabled(bool Value);
    TBitmap* UserButtonGlyph() const { return FUserButtonGlyph.get(); }
    void SetUserButtonGlyph(const TBitmap* Value);
    QString UserButtonHint() const { return FUserButtonHint; }
    void SetUserButtonHint(const QString& Value);
    int PagePanelWidth() const { return FPagePanelWidth; }
    void SetPagePanelWidth(int Value);
    TPanels Panels() const { return FPanels; }
    void SetPanels(TPanels Value);
    int ScalePanelWidth() const { return FScalePanelWidth; }
    void SetScalePanelWidth(int Value);
    QString UserText() const { return FUserText; }
    void SetUserText(const QString& Value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    TNotifyEvent OnCreate() const { return FOnCreate; }
    void SetOnCreate(TNotifyEvent Value) { FOnCreate = std::move(Value); }
    TNotifyEvent OnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(TNotifyEvent Value) { FOnDestroy = std::move(Value); }
    TNotifyEvent OnShow() const { return FOnShow; }
    void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }
    TNotifyEvent OnClose() const { return FOnClose; }
    void SetOnClose(TNotifyEvent Value) { FOnClose = std::move(Value); }
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
    TNotifyEvent OnPageChanged() const { return FOnPageChanged; }
    void SetOnPageChanged(TNotifyEvent Value) { FOnPageChanged = std::move(Value); }
    TNotifyEvent OnUserButtonClick() const { return FOnUserButtonClick; }
    void SetOnUserButtonClick(TNotifyEvent Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TPreviewForm;
    void PrepareForm();
    void CopySettings();
    void FormClosed();
    /// The form's last state, size and place, kept for the next showing.
    void RememberBounds(TWindowState state, int left, int top, int width, int height);

    TPreviewForm* FForm = nullptr;
    TCustomPrintJob* FPrintJob = nullptr;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle FBorderStyle = bsSizeable;
    QString FCaption;
    bool FCtl3D = true;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TIcon> FIcon;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 400;
    int FHeight = 500;
    TColor FMarginsBorder = clGray;
    TColor FMarginsFill = clSilver;
    bool FMarginsVisible = false;
    int FPageIndex = 1;
    bool FDragScroll = false;
    bool FScrollTracking = false;
    TViewMode FViewMode = vmWholePage;
    int FViewScale = 0;
    TButtons FButtons{btnPrint, btnPrinterSetupDialog, btnFirstPage, btnPrevPage, btnNextPage, btnLastPage, btnZoomOut, btnZoomIn};
    bool FFlat = true;
    bool FScaleBox = true;
    TButtonKind FScaleBoxPos = btnZoomOut;
    bool FShowHint = true;
    bool FUserButtonEnabled = true;
    std::unique_ptr<TBitmap> FUserButtonGlyph;
    QString FUserButtonHint;
    int FPagePanelWidth = 100;
    TPanels FPanels{pnPage, pnScale};
    int FScalePanelWidth = 100;
    QString FUserText;
    bool FSizeGrip = true;
    TNotifyEvent FOnCreate, FOnDestroy, FOnShow, FOnClose, FOnUpdate, FOnPageChanged, FOnUserButtonClick;
};

/// The preview window with its published properties.
class VELLARO_EXPORT TPreviewWindow : public TCustomPreviewWindow {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPrintJob* PrintJob READ PrintJob WRITE SetPrintJob)
    Q_PROPERTY(Vellaro::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(Vellaro::ControlsTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(Vellaro::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(Vellaro::TIcon* Icon READ Icon WRITE SetIcon)
    Q_PROPERTY(Vellaro::FormsTypes::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(Vellaro::FormsTypes::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(uint MarginsBorder READ MarginsBorder WRITE SetMarginsBorder)
    Q_PROPERTY(uint MarginsFill READ MarginsFill WRITE SetMarginsFill)
    Q_PROPERTY(bool MarginsVisible READ MarginsVisible WRITE SetMarginsVisible)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
    Q_PROPERTY(bool DragScroll READ DragScroll WRITE SetDragScroll)
    Q_PROPERTY(bool ScrollTracking READ ScrollTracking WRITE SetScrollTracking)
    Q_PROPERTY(Vellaro::VLCommonTypes::TViewMode ViewMode READ ViewMode WRITE SetViewMode)
    Q_PROPERTY(int ViewScale READ ViewScale WRITE SetViewScale)
    Q_PROPERTY(Vellaro::TButtons Buttons READ Buttons WRITE SetButtons)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool ScaleBox READ ScaleBox WRITE SetScaleBox)
    Q_PROPERTY(Vellaro::VLCommonTypes::TButtonKind ScaleBoxPos READ ScaleBoxPos WRITE SetScaleBoxPos)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool UserButtonEnabled READ UserButtonEnabled WRITE SetUserButtonEnabled)
    Q_PROPERTY(Vellaro::TBitmap* UserButtonGlyph READ UserButtonGlyph WRITE SetUserButtonGlyph)
    Q_PROPERTY(QString UserButtonHint READ UserButtonHint WRITE SetUserButtonHint)
    Q_PROPERTY(int PagePanelWidth READ PagePanelWidth WRITE SetPagePanelWidth)
    Q_PROPERTY(Vellaro::TPanels Panels READ Panels WRITE SetPanels)
    Q_PROPERTY(int ScalePanelWidth READ ScalePanelWidth WRITE SetScalePanelWidth)
    Q_PROPERTY(QString UserText READ UserText WRITE SetUserText)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)
    Q_PROPERTY(Vellaro::TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
    Q_PROPERTY(Vellaro::TNotifyEvent OnShow READ OnShow WRITE SetOnShow)
    Q_PROPERTY(Vellaro::TNotifyEvent OnClose READ OnClose WRITE SetOnClose)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPageChanged READ OnPageChanged WRITE SetOnPageChanged)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUserButtonClick READ OnUserButtonClick WRITE SetOnUserButtonClick)
public:
    using TCustomPreviewWindow::TCustomPreviewWindow;
    void SetFont(TFont* Value) { TCustomPreviewWindow::SetFont(Value); }
    void SetIcon(TIcon* Value) { TCustomPreviewWindow::SetIcon(Value); }
    void SetUserButtonGlyph(TBitmap* Value) { TCustomPreviewWindow::SetUserButtonGlyph(Value); }
};

/// Puts TPreviewWindow on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLWindow();

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TIcon*)
