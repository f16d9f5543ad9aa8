#pragma once
// The preview pane: one page of a print job on a grey desk, drawn by the job itself through a
// mapping that makes one logical unit one printer pixel; whole page, page width or a free
// scale; paging and scrolling keys; drag scrolling; and the hub its companion controls follow.

#include "job/VLFind.h"
#include "job/VLJob.h"
#include "platform/controls/Controls.h"
#include "preview/VLCommon.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <vector>

namespace Vellaro {

class TCustomPreview;

/// The scrolling desk area of the pane.
class VELLARO_EXPORT TSpecialScrollBox : public TScrollBox {
    Q_OBJECT
public:
    /// A scroll box that takes no dropped controls in a designer.
    explicit TSpecialScrollBox(TComponent* AOwner);
};

/// A plain opaque panel: the page's shadow.
class VELLARO_EXPORT TSpecialPanel : public TCustomPanel {
    Q_OBJECT
public:
    /// An opaque panel that takes no dropped controls in a designer.
    explicit TSpecialPanel(TComponent* AOwner);
};

/// The page: white, framed, drawn by the pane's job; mouse presses drag the page when the
/// pane allows it.
class VELLARO_EXPORT TDrawPanel : public TSpecialPanel {
    Q_OBJECT
public:
    /// A white, single-framed page, hidden until the pane lays it out.
    explicit TDrawPanel(TComponent* AOwner);
    /// The pane whose job draws this page and whose DragScroll it follows.
    void SetPreview(TCustomPreview* preview) { FPreview = preview; }
    /// True while a drag holds the mouse.
    bool Dragging() const { return FDragging; }

protected:
    /// Draws the pane's job's current page, scaled so one logical unit is one printer pixel; plain
    /// white in a designer or without a job.
    void Paint() override;
    /// Gives the pane the focus.
    void Click();
    /// Starts a drag (when the pane's DragScroll is on) at p, in page coordinates.
    void MouseDown(TPoint p);
    /// Scrolls the desk by the distance the mouse moved since the drag began.
    void MouseMove(TPoint p);
    /// Ends a drag and restores the page's cursor.
    void MouseUp();
    /// Qt mouse events, passed to MouseDown, MouseMove and MouseUp / Click.
    void mousePressEvent(QMouseEvent* event) override;
    /// See mousePressEvent.
    void mouseMoveEvent(QMouseEvent* event) override;
    /// See mousePressEvent; a release inside the page counts as a click.
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintBackground(TCanvas* canvas, TCustomPrintJob* job);
    /// A visible notice on the page that the job failed while drawing it.
    void PaintFailureNotice(TCanvas* canvas, const QString& message);
    TCustomPreview* FPreview = nullptr;
    TPoint FDragStart;
    bool FDragging = false;
};

/// Progress of a search: the page searched, the page count; setting Cancel stops the search
/// before the next page.
using TFindProgressEvent = std::function<void(TComponent* Sender, int Page, int PageCount, bool& Cancel)>;

/// All behaviour of the preview pane; TPreview publishes its properties.
class VELLARO_EXPORT TCustomPreview : public QWidget, public TWinControl {
    Q_OBJECT
public:
    /// An empty pane of 100 x 150 pixels, in whole-page mode, showing page 1 once a job is set.
    explicit TCustomPreview(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomPreview() override;
    /// The pane's widget: the pane itself.
    QWidget* Widget() override { return this; }

    /// Lays the page out for the view mode, repaints it, updates the companions, raises OnUpdate.
    void Update() override;
    /// Repaints the page only, so the job draws it again.
    void Repaint() override;
    /// Attaches a companion control, once.
    void AddControlNotification(TControl* Control);
    /// Detaches a companion control; one that is not attached is ignored.
    void DeleteControlNotification(TControl* Control);
    /// How many companion controls are attached.
    int ControlNotificationCount() const { return int(FControls.size()); }
    /// One zoom step up or down the table of scales; switches to the free scale.
    void ZoomIn();
    /// See ZoomIn: one step down.
    void ZoomOut();
    /// Printer pixels per inch of the panel: the resolution at which the page is shown.
    int DPIX() const;
    /// See DPIX, vertically. Without a job or laid-out page both return the screen's resolution.
    int DPIY() const;
    /// "Whole page (37%)", "Page width (80%)" or "150%".
    QString GetScaleText() const;
    /// "Page 2 from 7", or empty without a job.
    QString GetPageText() const;

    /// The job whose pages the pane shows; none by default. The pane subscribes to its updates and
    /// lets go of it when the job is destroyed.
    TCustomPrintJob* PrintJob() const { return FPrintJob; }
    /// Shows Value's pages (or nothing for null), from page 1.
    void SetPrintJob(TCustomPrintJob* Value);
    /// The frame of the desk area (the published BorderStyle).
    TBorderStyle BorderStyle() const;
    /// Sets the desk area's frame.
    void SetBorderStyle(TBorderStyle Value);
    /// The mouse cursor over the page (the published Cursor); the default cursor by default.
    TCursor PageCursor() const;
    /// Sets the cursor over the page.
    void SetPageCursor(TCursor Value);
    /// The desk area's 3D look (the published Ctl3D).
    bool BoxCtl3D() const;
    /// Sets the desk area's Ctl3D.
    void SetBoxCtl3D(bool Value);
    /// Whether the desk area takes its 3D look from the pane (the published ParentCtl3D).
    bool BoxParentCtl3D() const;
    /// Sets the desk area's ParentCtl3D.
    void SetBoxParentCtl3D(bool Value);
    /// How the page is sized: whole page (the default), page width, or ViewScale percent.
    TViewMode ViewMode() const { return FViewMode; }
    /// Sets ViewMode and lays the page out again.
    void SetViewMode(TViewMode Value);
    /// The scale the page is shown at, in percent; the layout sets it in the whole page and page
    /// width modes.
    int ViewScale() const { return FViewScale; }
    /// Sets the scale, clamped to 10..1000 percent; only in vmCustom mode, ignored otherwise.
    void SetViewScale(int Value);
    /// Whether the page shows its margins: the area outside the margin rectangle in MarginsFill,
    /// framed by a MarginsBorder line; false by default.
    bool MarginsVisible() const { return FMarginsVisible; }
    /// Sets MarginsVisible and redraws.
    void SetMarginsVisible(bool Value);
    /// The fill of the margins when MarginsVisible; silver by default.
    TColor MarginsFill() const { return FMarginsFill; }
    /// Sets MarginsFill and redraws.
    void SetMarginsFill(TColor Value);
    /// The colour of the line around the margin rectangle when MarginsVisible; grey by default.
    TColor MarginsBorder() const { return FMarginsBorder; }
    /// Sets MarginsBorder and redraws.
    void SetMarginsBorder(TColor Value);
    /// The page shown, from 1; 1 by default.
    int PageIndex() const { return FPageIndex; }
    /// Shows page Value, clamped to 1..the job's PageCount (1 without a job); raises OnPageChanged
    /// on every call, also when the page stays.
    void SetPageIndex(int Value);
    /// Whether the page scrolls while a scroll bar's thumb is dragged; false by default.
    bool ScrollTracking() const { return FScrollTracking; }
    /// Sets ScrollTracking on both scroll bars.
    void SetScrollTracking(bool Value);
    /// Whether dragging the page with the mouse scrolls it; false by default.
    bool DragScroll() const { return FDragScroll; }
    /// Sets DragScroll.
    void SetDragScroll(bool Value) { FDragScroll = Value; }
    /// Raised after each layout of a job's page (also when the desk shows a page geometry message).
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
    /// Raised by every SetPageIndex, including the paging keys and the companions' page buttons.
    TNotifyEvent OnPageChanged() const { return FOnPageChanged; }
    /// Sets OnPageChanged.
    void SetOnPageChanged(TNotifyEvent Value) { FOnPageChanged = std::move(Value); }
    /// Raised when the pane gets the keyboard focus.
    TNotifyEvent OnEnter() const { return FOnEnter; }
    /// Sets OnEnter.
    void SetOnEnter(TNotifyEvent Value) { FOnEnter = std::move(Value); }
    /// Raised when the pane loses the keyboard focus.
    TNotifyEvent OnExit() const { return FOnExit; }
    /// Sets OnExit.
    void SetOnExit(TNotifyEvent Value) { FOnExit = std::move(Value); }
    /// Raised for a key press that is not a paging or scrolling key; setting the key to 0 consumes it.
    TKeyEvent OnKeyDown() const { return FOnKeyDown; }
    /// Sets OnKeyDown.
    void SetOnKeyDown(TKeyEvent Value) { FOnKeyDown = std::move(Value); }
    /// Raised with the character of a key press OnKeyDown did not consume; a null character consumes it.
    TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
    /// Sets OnKeyPress.
    void SetOnKeyPress(TKeyPressEvent Value) { FOnKeyPress = std::move(Value); }
    /// Raised when a key is released.
    TKeyEvent OnKeyUp() const { return FOnKeyUp; }
    /// Sets OnKeyUp.
    void SetOnKeyUp(TKeyEvent Value) { FOnKeyUp = std::move(Value); }

    /// The inner controls, for companions and tests that look at the layout.
    TSpecialScrollBox* ScrollBox() const { return FScrollBox; }
    /// The page's shadow; see ScrollBox.
    TSpecialPanel* Shadow() const { return FShadow; }
    /// The page itself; see ScrollBox.
    TDrawPanel* PagePanel() const { return FPagePanel; }
    /// The job's page in printer pixels (W, H) and in millimetres.
    double PageWidthPixels() const;
    /// See PageWidthPixels; both are 0 without a job.
    double PageHeightPixels() const;
    /// What the desk shows instead of a page when the job's page geometry leaves nothing to
    /// print on (empty while a page is shown).
    QString DeskMessage() const;
    /// Called by the page when the job failed while drawing: the application's exception
    /// handler hears of it once (not once per repaint), after the paint event has ended.
    void ReportPaintError(std::exception_ptr error);
    /// Called by the page when it was drawn without an error.
    void PaintSucceeded() { FLastPaintError.clear(); }

    // Find: the text the pages draw, searched page by page (nothing of a page's drawing is kept).
    /// Searches every page for Text and makes current the first match on or after the shown
    /// page (the first of all when none follows), showing it. Returns the number of matches.
    /// An empty Text does nothing and returns 0. A search cancelled through OnFindProgress
    /// keeps the matches of the pages searched so far.
    int FindText(const QString& Text, TFindOptions Options = {});
    /// Makes the next (previous) match current, going round at the end; false without matches.
    bool FindNext();
    /// Makes the previous match current, going round at the start; false without matches.
    bool FindPrevious();
    /// Forgets the search (the highlights go).
    void ClearFind();
    /// Every match of the last search, in page order, with its rectangle in printer pixels.
    const std::vector<TFindMatch>& FindMatches() const { return FFindMatches; }
    /// The current match's index in FindMatches, or -1.
    int FindMatchIndex() const { return FFindIndex; }
    /// The text of the last search (empty without one).
    QString FoundText() const { return FFindText; }
    /// Whether the last search was stopped (through OnFindProgress) before its last page: its
    /// matches are those of the pages searched until then.
    bool FindStopped() const { return FFindStopped; }
    /// "Match 2 of 14", "No matches for "x"", either with " (search stopped)" after a stopped
    /// search, or empty without a search.
    QString GetFindText() const;
    /// Raised after each page a search went through; it can cancel the search.
    TFindProgressEvent OnFindProgress() const { return FOnFindProgress; }
    /// Sets OnFindProgress.
    void SetOnFindProgress(TFindProgressEvent Value) { FOnFindProgress = std::move(Value); }
    /// Called by the page after the job drew it: marks the matches on the shown page, the
    /// current one stronger. The canvas maps printer pixels to the page.
    void PaintFindHighlights(TCanvas* canvas);

protected:
    /// Forgets a companion or the job that is being removed; a removed job leaves the pane empty.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// The paging and scrolling keys; true when the key was one of them.
    bool CMChildKey(int Key, bool Ctrl);
    /// Lays the page out again for the new size.
    void resizeEvent(QResizeEvent* event) override;
    /// Handles the paging and scrolling keys (CMChildKey), then raises OnKeyDown and OnKeyPress.
    void keyPressEvent(QKeyEvent* event) override;
    /// Raises OnKeyUp.
    void keyReleaseEvent(QKeyEvent* event) override;
    /// Raises OnEnter.
    void focusInEvent(QFocusEvent* event) override;
    /// Raises OnExit.
    void focusOutEvent(QFocusEvent* event) override;

private:
    void LayoutPage();
    void LayoutWholePage(double W, double H);
    void LayoutPageWidth(double W, double H);
    void LayoutCustom(double W);
    void ResetScrollPositions();
    void UpdateCompanions();
    void DetachJob();
    void ShowDeskMessage(const QString& message);
    /// Shows the current match: its page, scrolled so its rectangle is in view.
    void ShowCurrentMatch();

    TCustomPrintJob* FPrintJob = nullptr;
    std::vector<TControl*> FControls;
    TSpecialScrollBox* FScrollBox = nullptr;
    TSpecialPanel* FShadow = nullptr;
    TDrawPanel* FPagePanel = nullptr;
    TViewMode FViewMode = vmWholePage;
    int FViewScale = 0;
    bool FMarginsVisible = false;
    TColor FMarginsFill = clSilver;
    TColor FMarginsBorder = clGray;
    int FPageIndex = 1;
    bool FScrollTracking = false;
    bool FDragScroll = false;
    QPointer<QLabel> FDeskMessage;
    QString FLastPaintError;
    QString FFindText;
    std::vector<TFindMatch> FFindMatches;
    int FFindIndex = -1;
    bool FFindStopped = false;
    TFindProgressEvent FOnFindProgress;
    TNotifyEvent FOnUpdate;
    TNotifyEvent FOnPageChanged;
    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
    TKeyEvent FOnKeyDown;
    TKeyPressEvent FOnKeyPress;
    TKeyEvent FOnKeyUp;
};

/// A companion's plain reference to its pane: it subscribes the companion to the pane's updates
/// and destruction, and lets go without calling into a pane that is going away.
class VELLARO_EXPORT TPreviewLink {
public:
    /// A link for companion, linked to no pane yet.
    explicit TPreviewLink(TControl* companion) : FCompanion(companion) {}
    /// The linked pane, or null.
    TCustomPreview* Get() const { return FPreview; }
    /// Leaves the current pane and subscribes to the new one; false when it is the same pane.
    bool Set(TCustomPreview* preview);
    /// Leaves the pane (unsubscribing only from a pane that is not being destroyed).
    void Detach();
    /// Whether a notification tells that the linked pane is going away.
    bool IsRemovalOf(TComponent* AComponent, TOperation Operation) const
    {
        return Operation == opRemove && FPreview && AComponent == static_cast<TComponent*>(FPreview);
    }
    /// For the companion's Notification: when it tells that the linked pane is going away, lets go
    /// of it, only detaching while the companion itself is being destroyed and otherwise through
    /// unlink (the companion's SetPreview(nullptr), which also clears what it shows).
    void ForgetRemoved(TComponent* AComponent, TOperation Operation, const std::function<void()>& unlink);

private:
    TControl* FCompanion;
    TCustomPreview* FPreview = nullptr;
};

/// The preview pane as placed on a form: TCustomPreview with its properties and events published.
///
/// Published properties: Name, Tag, #PrintJob, #BorderStyle, Cursor (#PageCursor), Ctl3D
/// (#BoxCtl3D), ParentCtl3D (#BoxParentCtl3D), #ViewMode, #ViewScale, #MarginsVisible,
/// #MarginsFill, #MarginsBorder, #PageIndex, #ScrollTracking, #DragScroll, Align, TabStop,
/// TabOrder, Visible.
///
/// Events: #OnUpdate, #OnPageChanged, #OnEnter, #OnExit, #OnKeyDown, #OnKeyPress, #OnKeyUp.
class VELLARO_EXPORT TPreview : public TCustomPreview {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomPrintJob* PrintJob READ PrintJob WRITE SetPrintJob)
    Q_PROPERTY(Vellaro::ControlsTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Cursor READ PageCursor WRITE SetPageCursor)
    Q_PROPERTY(bool Ctl3D READ BoxCtl3D WRITE SetBoxCtl3D)
    Q_PROPERTY(bool ParentCtl3D READ BoxParentCtl3D WRITE SetBoxParentCtl3D)
    Q_PROPERTY(Vellaro::VLCommonTypes::TViewMode ViewMode READ ViewMode WRITE SetViewMode)
    Q_PROPERTY(int ViewScale READ ViewScale WRITE SetViewScale)
    Q_PROPERTY(bool MarginsVisible READ MarginsVisible WRITE SetMarginsVisible)
    Q_PROPERTY(uint MarginsFill READ MarginsFill WRITE SetMarginsFill)
    Q_PROPERTY(uint MarginsBorder READ MarginsBorder WRITE SetMarginsBorder)
    Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
    Q_PROPERTY(bool ScrollTracking READ ScrollTracking WRITE SetScrollTracking)
    Q_PROPERTY(bool DragScroll READ DragScroll WRITE SetDragScroll)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPageChanged READ OnPageChanged WRITE SetOnPageChanged)
    Q_PROPERTY(Vellaro::ControlsTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEnter READ OnEnter WRITE SetOnEnter)
    Q_PROPERTY(Vellaro::TNotifyEvent OnExit READ OnExit WRITE SetOnExit)
    Q_PROPERTY(Vellaro::TKeyEvent OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
    Q_PROPERTY(Vellaro::TKeyPressEvent OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
    Q_PROPERTY(Vellaro::TKeyEvent OnKeyUp READ OnKeyUp WRITE SetOnKeyUp)
public:
    /// See TCustomPreview::TCustomPreview.
    using TCustomPreview::TCustomPreview;
};

/// Puts TPreview on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLPreview();

} // namespace Vellaro
