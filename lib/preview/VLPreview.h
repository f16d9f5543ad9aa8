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
    explicit TSpecialScrollBox(TComponent* AOwner);
};

/// A plain opaque panel: the page's shadow.
class VELLARO_EXPORT TSpecialPanel : public TCustomPanel {
    Q_OBJECT
public:
    explicit TSpecialPanel(TComponent* AOwner);
};

/// The page: white, framed, drawn by the pane's job; mouse presses drag the page when the
/// pane allows it.
class VELLARO_EXPORT TDrawPanel : public TSpecialPanel {
    Q_OBJECT
public:
    explicit TDrawPanel(TComponent* AOwner);
    void SetPreview(TCustomPreview* preview) { FPreview = preview; }
    /// True while a drag holds the mouse.
    bool Dragging() const { return FDragging; }

protected:
    void Paint() override;
    void Click();
    void MouseDown(TPoint p);
    void MouseMove(TPoint p);
    void MouseUp();
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
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
    explicit TCustomPreview(TComponent* AOwner = nullptr, QWidget* parent = nullptr);
    ~TCustomPreview() override;
    QWidget* Widget() override { return this; }

    /// Lays the page out for the view mode, repaints it, updates the companions, raises OnUpdate.
    void Update() override;
    /// Repaints the page only, so the job draws it again.
    void Repaint() override;
    /// Attaches a companion control, once.
    void AddControlNotification(TControl* Control);
    void DeleteControlNotification(TControl* Control);
    int ControlNotificationCount() const { return int(FControls.size()); }
    /// One zoom step up or down the table of scales; switches to the free scale.
    void ZoomIn();
    void ZoomOut();
    /// Printer pixels per inch of the panel: the resolution at which the page is shown.
    int DPIX() const;
    int DPIY() const;
    /// "Whole page (37%)", "Page width (80%)" or "150%".
    QString GetScaleText() const;
    /// "Page 2 from 7", or empty without a job.
    QString GetPageText() const;

    TCustomPrintJob* PrintJob() const { return FPrintJob; }
    void SetPrintJob(TCustomPrintJob* Value);
    TBorderStyle BorderStyle() const;
    void SetBorderStyle(TBorderStyle Value);
    TCursor PageCursor() const;
    void SetPageCursor(TCursor Value);
    bool BoxCtl3D() const;
    void SetBoxCtl3D(bool Value);
    bool BoxParentCtl3D() const;
    void SetBoxParentCtl3D(bool Value);
    TViewMode ViewMode() const { return FViewMode; }
    void SetViewMode(TViewMode Value);
    int ViewScale() const { return FViewScale; }
    void SetViewScale(int Value);
    bool MarginsVisible() const { return FMarginsVisible; }
    void SetMarginsVisible(bool Value);
    TColor MarginsFill() const { return FMarginsFill; }
    void SetMarginsFill(TColor Value);
    TColor MarginsBorder() const { return FMarginsBorder; }
    void SetMarginsBorder(TColor Value);
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int Value);
    bool ScrollTracking() const { return FScrollTracking; }
    void SetScrollTracking(bool Value);
    bool DragScroll() const { return FDragScroll; }
    void SetDragScroll(bool Value) { FDragScroll = Value; }
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TNotifyEvent Value) { FOnUpdate = std::move(Value); }
    TNotifyEvent OnPageChanged() const { return FOnPageChanged; }
    void SetOnPageChanged(TNotifyEvent Value) { FOnPageChanged = std::move(Value); }
    TNotifyEvent OnEnter() const { return FOnEnter; }
    void SetOnEnter(TNotifyEvent Value) { FOnEnter = std::move(Value); }
    TNotifyEvent OnExit() const { return FOnExit; }
    void SetOnExit(TNotifyEvent Value) { FOnExit = std::move(Value); }
    TKeyEvent OnKeyDown() const { return FOnKeyDown; }
    void SetOnKeyDown(TKeyEvent Value) { FOnKeyDown = std::move(Value); }
    TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
    void SetOnKeyPress(TKeyPressEvent Value) { FOnKeyPress = std::move(Value); }
    TKeyEvent OnKeyUp() const { return FOnKeyUp; }
    void SetOnKeyUp(TKeyEvent Value) { FOnKeyUp = std::move(Value); }

    /// The inner controls, for companions and tests that look at the layout.
    TSpecialScrollBox* ScrollBox() const { return FScrollBox; }
    TSpecialPanel* Shadow() const { return FShadow; }
    TDrawPanel* PagePanel() const { return FPagePanel; }
    /// The job's page in printer pixels (W, H) and in millimetres.
    double PageWidthPixels() const;
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
    bool FindPrevious();
    /// Forgets the search (the highlights go).
    void ClearFind();
    const std::vector<TFindMatch>& FindMatches() const { return FFindMatches; }
    /// The current match's index in FindMatches, or -1.
    int FindMatchIndex() const { return FFindIndex; }
    QString FoundText() const { return FFindText; }
    /// "Match 2 of 14", "No matches for "x"", or empty without a search.
    QString GetFindText() const;
    TFindProgressEvent OnFindProgress() const { return FOnFindProgress; }
    void SetOnFindProgress(TFindProgressEvent Value) { FOnFindProgress = std::move(Value); }
    /// Called by the page after the job drew it: marks the matches on the shown page, the
    /// current one stronger. The canvas maps printer pixels to the page.
    void PaintFindHighlights(TCanvas* canvas);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// The paging and scrolling keys; true when the key was one of them.
    bool CMChildKey(int Key, bool Ctrl);
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
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
    TFindProgressEvent FOnFindProgress;
    TNotifyEvent FOnUpdate;
    TNotifyEvent FOnPageChanged;
    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
    TKeyEvent FOnKeyDown;
    TKeyPressEvent FOnKeyPress;
    TKeyEvent FOnKeyUp;
};

/// The preview pane with its published properties.
/// A companion's plain reference to its pane: it subscribes the companion to the pane's updates
/// and destruction, and lets go without calling into a pane that is going away.
class VELLARO_EXPORT TPreviewLink {
public:
    explicit TPreviewLink(TControl* companion) : FCompanion(companion) {}
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

private:
    TControl* FCompanion;
    TCustomPreview* FPreview = nullptr;
};

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
    using TCustomPreview::TCustomPreview;
};

/// Puts TPreview on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLPreview();

} // namespace Vellaro
