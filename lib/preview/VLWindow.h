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
    /// Destroys the pane, toolbar and status bar with the form.
    ~TPreviewForm() override;
    /// The preview window that built the form and whose settings it shows.
    TCustomPreviewWindow* Window() const { return FWindow; }
    /// The pane, filling the form.
    TPreview* Preview() const { return FPreview; }
    /// The toolbar above the pane, linked to it.
    TPreviewToolbar* Toolbar() const { return FToolbar; }
    /// The status bar below the pane, linked to it.
    TPreviewStatusBar* StatusBar() const { return FStatusBar; }
    /// The find bar below the toolbar (Ctrl+F), hidden at first.
    TPanel* FindBar() const { return FFindBar; }
    /// The find bar's text.
    TEdit* FindEdit() const { return FFindEdit; }
    /// The find bar's "Match case" option.
    TCheckBox* MatchCaseBox() const { return FMatchCase; }
    /// The find bar's "Whole words" option.
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
    /// Shows or hides the page overview beside the pane.
    void SetThumbnailsVisible(bool Value);

protected:
    /// Escape ends a modal showing with mrCancel.
    void KeyDown(int& Key, Qt::KeyboardModifiers Shift) override;
    /// Keys of the find bar and the page overview reach the window's shortcuts from any child.
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Ctrl+F, F3, Shift+F3, Esc, Ctrl+S and Ctrl+T of the preview form.
    void keyPressEvent(QKeyEvent* event) override;
    /// Reports the form's state, size and place to the window, which keeps them for the next showing.
    void WindowMoved(bool resized) override;
    /// Repaints the form once it is on screen.
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
    /// Raises OnDestroy (its exceptions are swallowed), then destroys an open form.
    ~TCustomPreviewWindow() override;

    /// Builds the form when there is none, copies the settings, raises OnShow, shows it.
    void Show();
    /// As Show, modally; returns the form's modal result.
    int ShowModal();
    /// Raises OnClose and asks the form to close (nothing without a form).
    void Close();
    /// Updates the open pane when a job is set.
    virtual void Update();
    /// The open form's pane, or null while no form is open.
    TPreview* GetPreview() const;
    /// The open form's toolbar, or null while no form is open.
    TPreviewToolbar* GetToolbar() const;
    /// The open form's status bar, or null while no form is open.
    TPreviewStatusBar* GetStatusBar() const;
    /// The open form, or null; a form is built by Show or ShowModal and released when it closes.
    TPreviewForm* Form() const { return FForm; }

    /// The job the form's pane shows; none by default. Cleared when the job is destroyed.
    TCustomPrintJob* PrintJob() const { return FPrintJob; }
    /// Sets PrintJob; an open form's pane shows the new job at once.
    void SetPrintJob(TCustomPrintJob* Value);
    /// The form's title bar buttons; system menu, minimize and maximize by default.
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    /// Sets BorderIcons, on an open form too.
    void SetBorderIcons(TBorderIcons Value);
    /// The form's border; sizeable by default.
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    /// Sets BorderStyle, on an open form too.
    void SetBorderStyle(TFormBorderStyle Value);
    /// The form's title; empty by default.
    QString Caption() const { return FCaption; }
    /// Sets Caption, on an open form too.
    void SetCaption(const QString& Value);
    /// The form's 3D look; true by default.
    bool Ctl3D() const { return FCtl3D; }
    /// Sets Ctl3D, on an open form too.
    void SetCtl3D(bool Value);
    /// The form's font (8 points by default); the window owns it.
    TFont* Font() const { return FFont.get(); }
    /// Copies Value into Font (null is ignored); an open form takes it at its next showing.
    void SetFont(const TFont* Value);
    /// The form's icon; empty by default. The window owns it.
    TIcon* Icon() const { return FIcon.get(); }
    /// Copies Value into Icon (null is ignored); an open form takes it at its next showing.
    void SetIcon(const TIcon* Value);
    /// Where the form is placed when shown; poDesigned (at Left, Top) by default.
    TPosition Position() const { return FPosition; }
    /// Sets Position, on an open form too.
    void SetPosition(TPosition Value);
    /// The form's state (normal, minimized, maximized); taken back from the form whenever it moves or is
    /// resized.
    TWindowState WindowState() const { return FWindowState; }
    /// Sets WindowState, on an open form too.
    void SetWindowState(TWindowState Value);
    /// The form's left edge in screen pixels; taken back from the form whenever it moves or is resized. 0 by
    /// default.
    int Left() const { return FLeft; }
    /// Sets Left, on an open form too.
    void SetLeft(int Value);
    /// The form's top edge in screen pixels; taken back from the form whenever it moves or is resized. 0 by
    /// default.
    int Top() const { return FTop; }
    /// Sets Top, on an open form too.
    void SetTop(int Value);
    /// The form's width in pixels; taken back from the form whenever it moves or is resized. 400 by default.
    int Width() const { return FWidth; }
    /// Sets Width, on an open form too.
    void SetWidth(int Value);
    /// The form's height in pixels; taken back from the form whenever it moves or is resized. 500 by default.
    int Height() const { return FHeight; }
    /// Sets Height, on an open form too.
    void SetHeight(int Value);
    /// The pane's MarginsBorder; grey by default.
    TColor MarginsBorder() const { return FMarginsBorder; }
    /// Sets MarginsBorder, on an open pane too.
    void SetMarginsBorder(TColor Value);
    /// The pane's MarginsFill; silver by default.
    TColor MarginsFill() const { return FMarginsFill; }
    /// Sets MarginsFill, on an open pane too.
    void SetMarginsFill(TColor Value);
    /// The pane's MarginsVisible; false by default.
    bool MarginsVisible() const { return FMarginsVisible; }
    /// Sets MarginsVisible, on an open pane too.
    void SetMarginsVisible(bool Value);
    /// The page the pane shows when the form is shown, from 1; 1 by default. Paging in the form
    /// does not change it.
    int PageIndex() const { return FPageIndex; }
    /// Sets PageIndex; an open pane moves to the page when the value differs from the setting.
    void SetPageIndex(int Value);
    /// The pane's DragScroll; false by default.
    bool DragScroll() const { return FDragScroll; }
    /// Sets DragScroll, on an open pane too.
    void SetDragScroll(bool Value);
    /// The pane's ScrollTracking; false by default.
    bool ScrollTracking() const { return FScrollTracking; }
    /// Sets ScrollTracking, on an open pane too.
    void SetScrollTracking(bool Value);
    /// The pane's ViewMode when the form is shown; whole page by default.
    TViewMode ViewMode() const { return FViewMode; }
    /// Sets ViewMode, on an open pane too.
    void SetViewMode(TViewMode Value);
    /// The pane's ViewScale in percent, used in vmCustom mode; 0 by default (the pane clamps it to 10..1000).
    int ViewScale() const { return FViewScale; }
    /// Sets ViewScale, on an open pane too.
    void SetViewScale(int Value);
    /// The toolbar's buttons; by default print, printer setup, the four paging buttons, zoom out and
    /// zoom in (add btnThumbnails for the page overview's button).
    TButtons Buttons() const { return FButtons; }
    /// Sets Buttons, on an open toolbar too.
    void SetButtons(TButtons Value);
    /// Whether the toolbar's buttons are flat; true by default.
    bool Flat() const { return FFlat; }
    /// Sets Flat, on an open toolbar too.
    void SetFlat(bool Value);
    /// Whether the toolbar shows the zoom box; true by default.
    bool ScaleBox() const { return FScaleBox; }
    /// Sets ScaleBox, on an open toolbar too.
    void SetScaleBox(bool Value);
    /// The button the zoom box stands before; btnZoomOut by default.
    TButtonKind ScaleBoxPos() const { return FScaleBoxPos; }
    /// Sets ScaleBoxPos, on an open toolbar too.
    void SetScaleBoxPos(TButtonKind Value);
    /// Whether the toolbar's buttons show their hints; true by default.
    bool ShowHint() const { return FShowHint; }
    /// Sets ShowHint, on an open toolbar too.
    void SetShowHint(bool Value);
    /// Whether the toolbar's user button can be clicked; true by default.
    bool UserButtonEnabled() const { return FUserButtonEnabled; }
    /// Sets UserButtonEnabled, on an open toolbar too.
    void SetUserButtonEnabled(bool Value);
    /// The picture of the toolbar's user button; empty by default. The window owns it.
    TBitmap* UserButtonGlyph() const { return FUserButtonGlyph.get(); }
    /// Copies Value into UserButtonGlyph (null is ignored); an open toolbar takes it at the next showing.
    void SetUserButtonGlyph(const TBitmap* Value);
    /// The hint of the toolbar's user button; empty by default.
    QString UserButtonHint() const { return FUserButtonHint; }
    /// Sets UserButtonHint, on an open toolbar too.
    void SetUserButtonHint(const QString& Value);
    /// The width of the status bar's page panel in pixels; 100 by default.
    int PagePanelWidth() const { return FPagePanelWidth; }
    /// Sets PagePanelWidth, on an open status bar too.
    void SetPagePanelWidth(int Value);
    /// The status bar's panels; page and scale by default.
    TPanels Panels() const { return FPanels; }
    /// Sets Panels, on an open status bar too.
    void SetPanels(TPanels Value);
    /// The width of the status bar's scale panel in pixels; 100 by default.
    int ScalePanelWidth() const { return FScalePanelWidth; }
    /// Sets ScalePanelWidth, on an open status bar too.
    void SetScalePanelWidth(int Value);
    /// The text of the status bar's user panel; empty by default.
    QString UserText() const { return FUserText; }
    /// Sets UserText, on an open status bar too.
    void SetUserText(const QString& Value);
    /// Whether the status bar shows a size grip; true by default.
    bool SizeGrip() const { return FSizeGrip; }
    /// Sets SizeGrip, on an open status bar too.
    void SetSizeGrip(bool Value);
    /// Raised at the end of the constructor (see the constructor's onCreate).
    TNotifyEvent OnCreate() const { return FOnCreate; }
    /// Sets OnCreate.
    void SetOnCreate(TNotifyEvent Value) { FOnCreate = std::move(Value); }
    /// Raised when the window is destroyed, before its form goes.
    TNotifyEvent OnDestroy() const { return FOnDestroy; }
    /// Sets OnDestroy.
    void SetOnDestroy(TNotifyEvent Value) { FOnDestroy = std::move(Value); }
    /// Raised by Show and ShowModal after the settings were copied to the form, before it appears.
    TNotifyEvent OnShow() const { return FOnShow; }
    /// Sets OnShow.
    void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }
    /// Raised when the form closes (and by Close before it asks the form to close).
    TNotifyEvent OnClose() const { return FOnClose; }
    /// Sets OnClose.
    void SetOnClose(TNotifyEvent Value) { FOnClose = std::move(Value); }
    /// Raised by Update after the open pane was updated.
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
    /// Raised when the open pane's page changes (the pane's OnPageChanged).
    TNotifyEvent OnPageChanged() const { return FOnPageChanged; }
    /// Sets OnPageChanged.
    void SetOnPageChanged(TNotifyEvent Value) { FOnPageChanged = std::move(Value); }
    /// Raised when the toolbar's user button is clicked.
    TNotifyEvent OnUserButtonClick() const { return FOnUserButtonClick; }
    /// Sets OnUserButtonClick, on an open toolbar too.
    void SetOnUserButtonClick(TNotifyEvent Value);

protected:
    /// Forgets the form or the job when it is destroyed.
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
///
/// Published properties: Name, Tag, #PrintJob, #BorderIcons, #BorderStyle, #Caption, #Ctl3D,
/// #Font, #Icon, #Position, #WindowState, #Left, #Top, #Width, #Height, #MarginsBorder,
/// #MarginsFill, #MarginsVisible, #PageIndex, #DragScroll, #ScrollTracking, #ViewMode, #ViewScale,
/// #Buttons, #Flat, #ScaleBox, #ScaleBoxPos, #ShowHint, #UserButtonEnabled, #UserButtonGlyph,
/// #UserButtonHint, #PagePanelWidth, #Panels, #ScalePanelWidth, #UserText, #SizeGrip.
///
/// Events: #OnCreate, #OnDestroy, #OnShow, #OnClose, #OnUpdate, #OnPageChanged, #OnUserButtonClick.
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
    /// See TCustomPreviewWindow::TCustomPreviewWindow.
    using TCustomPreviewWindow::TCustomPreviewWindow;
    /// The Font property's setter; see TCustomPreviewWindow::SetFont.
    void SetFont(TFont* Value) { TCustomPreviewWindow::SetFont(Value); }
    /// The Icon property's setter; see TCustomPreviewWindow::SetIcon.
    void SetIcon(TIcon* Value) { TCustomPreviewWindow::SetIcon(Value); }
    /// The UserButtonGlyph property's setter; see TCustomPreviewWindow::SetUserButtonGlyph.
    void SetUserButtonGlyph(TBitmap* Value) { TCustomPreviewWindow::SetUserButtonGlyph(Value); }
};

/// Puts TPreviewWindow on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLWindow();

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TIcon*)
