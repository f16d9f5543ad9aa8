#pragma once
// The print job: a page description in four units turned into printer-pixel rectangles, a
// drawing pipeline shared by preview and printer, change notification to subscribed controls
// and jobs, and the print run.

#include "platform/core/Application.h"
#include "platform/graphics/Canvas.h"
#include "platform/controls/Control.h"
#include "platform/printing/Exporters.h"
#include "platform/printing/Printers.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace Vellaro {

namespace VLJobTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)

/// The unit of a length: printer pixels, percent of a base length, inches or millimetres.
enum TUnits { unPixels, unPercents, unInches, unMillimeters };
Q_ENUM_NS(TUnits)
/// The axis a length runs along; it picks the printer's horizontal or vertical resolution.
enum TDirection { dirHorizontal, dirVertical };
Q_ENUM_NS(TDirection)
/// Whether the page takes the printer's paper size (pmDefault) or PageWidth and PageHeight (pmCustom).
enum TPageMode { pmDefault, pmCustom };
Q_ENUM_NS(TPageMode)
/// The page orientation asked of the printer; orDefault leaves the printer's setting alone.
enum TPageOrientation { orDefault, orPortrait, orLandscape };
Q_ENUM_NS(TPageOrientation)
/// The parts of the page description that are switched on: margins, header band, footer band.
enum TJobOptions { joMargins, joHeader, joFooter };
Q_ENUM_NS(TJobOptions)
/// Where a page is being drawn: on a preview or on the printer.
enum TDrawTarget { dtPreview, dtPrint };
Q_ENUM_NS(TDrawTarget)
/// The area of a page a drawing call is for: the header band, the page area or the footer band.
enum TDrawArea { daHeader, daPage, daFooter };
Q_ENUM_NS(TDrawArea)
} // namespace VLJobTypes
using namespace VLJobTypes;

/// Which of the margins, header band and footer band are switched on.
using TJobOptionsSet = TSet<TJobOptions>;

/// Called before a page is drawn, after the canvas was reset to its defaults (Arial 10 pt,
/// black pen, white solid brush): the place to set the canvas up for the whole page.
using TInitDrawEvent = std::function<void(TComponent* Sender, TCanvas* TheCanvas, TDrawTarget Target)>;
/// Draws one area of a page: PageIndex counts from 1, TheRect is the area in printer pixels.
using TDrawEvent = std::function<void(TComponent* Sender, TCanvas* TheCanvas, int PageIndex, TRect TheRect,
    TDrawArea Area, TDrawTarget Target)>;
/// Reports print progress: Pos is the page just printed, Min and Max the range of the run.
using TProgressEvent = std::function<void(TComponent* Sender, int Pos, int Min, int Max)>;
/// Tells about one page of a print run; PageIndex counts from 1.
using TPageNotifyEvent = std::function<void(TComponent* Sender, int PageIndex)>;

/// The library's own exception.
class VELLARO_EXPORT EPrintJobException : public Exception {
    using Exception::Exception;
};

/// Four margins in the job's MarginsUnits.
class VELLARO_EXPORT TMargins : public QObject {
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Right READ Right WRITE SetRight)
    Q_PROPERTY(double Bottom READ Bottom WRITE SetBottom)
public:
    TMargins() = default;
    /// Four margins, in order left, top, right, bottom.
    TMargins(double left, double top, double right, double bottom)
        : FLeft(left), FTop(top), FRight(right), FBottom(bottom) {}
    /// The left margin; 0 by default.
    double Left() const { return FLeft; }
    /// Sets the left margin; a job is not told, so call its Update to redraw its previews.
    void SetLeft(double v) { FLeft = v; }
    /// The top margin; 0 by default.
    double Top() const { return FTop; }
    /// Sets the top margin; a job is not told, so call its Update to redraw its previews.
    void SetTop(double v) { FTop = v; }
    /// The right margin; 0 by default.
    double Right() const { return FRight; }
    /// Sets the right margin; a job is not told, so call its Update to redraw its previews.
    void SetRight(double v) { FRight = v; }
    /// The bottom margin; 0 by default.
    double Bottom() const { return FBottom; }
    /// Sets the bottom margin; a job is not told, so call its Update to redraw its previews.
    void SetBottom(double v) { FBottom = v; }
    /// Copies the four values; a null source leaves them as they are.
    void Assign(const TMargins* source);

private:
    double FLeft = 0, FTop = 0, FRight = 0, FBottom = 0;
};

/// The base of every print job. Holds the page description and page count, draws one page on a
/// canvas through InitDraw / DrawArea, tells subscribers about changes through Update, prints.
class VELLARO_EXPORT TCustomPrintJob : public QObject, public TComponent {
    Q_OBJECT
public:
    /// onCreate stands for a handler assigned before construction ends; it runs last in this
    /// constructor, so it sees the job as a TCustomPrintJob (a descendant's parts are not built yet).
    explicit TCustomPrintJob(TComponent* AOwner = nullptr, TNotifyEvent onCreate = {});
    ~TCustomPrintJob() override;

    // Lock counters: each Lock adds one, each Unlock takes one away while above 0; unlocking
    // never updates by itself.
    /// Suspends Update while the count is above 0 (nothing is reset or notified meanwhile).
    void LockUpdate() { ++FUpdateLock; }
    /// Takes one Update lock away.
    void UnlockUpdate() { if (FUpdateLock > 0) --FUpdateLock; }
    /// Keeps Update from updating the subscribed jobs while locked.
    void LockJobsUpdate() { ++FJobsUpdateLock; }
    /// Takes one lock on updating subscribed jobs away.
    void UnlockJobsUpdate() { if (FJobsUpdateLock > 0) --FJobsUpdateLock; }
    /// Keeps Update from updating the subscribed controls (previews) while locked.
    void LockControlsUpdate() { ++FControlsUpdateLock; }
    /// Takes one lock on updating subscribed controls away.
    void UnlockControlsUpdate() { if (FControlsUpdateLock > 0) --FControlsUpdateLock; }
    /// Makes Draw do nothing while locked.
    void LockDraw() { ++FDrawLock; }
    /// Takes one Draw lock away.
    void UnlockDraw() { if (FDrawLock > 0) --FDrawLock; }
    /// True while LockUpdate holds.
    bool GetUpdateLocked() const { return FUpdateLock > 0; }
    /// True while LockJobsUpdate holds.
    bool GetUpdateJobsLocked() const { return FJobsUpdateLock > 0; }
    /// True while LockControlsUpdate holds.
    bool GetUpdateControlsLocked() const { return FControlsUpdateLock > 0; }
    /// True while LockDraw holds.
    bool GetDrawLocked() const { return FDrawLock > 0; }

    // Subscribers, kept once each in the order they came.
    /// Subscribes a control (such as a preview) to Update; null or an existing subscriber is ignored.
    void AddControlNotification(TControl* Control);
    /// Removes a control from the subscribers; one that is not there is ignored.
    void DeleteControlNotification(TControl* Control);
    /// Subscribes another job to Update (its Update runs too); null or an existing subscriber is ignored.
    void AddPrintJobNotification(TCustomPrintJob* Job);
    /// Removes a job from the subscribers; one that is not there is ignored.
    void DeletePrintJobNotification(TCustomPrintJob* Job);
    /// How many controls are subscribed.
    int ControlNotificationCount() const { return FEvents ? int(FEvents->ControlNotifications.size()) : 0; }
    /// How many jobs are subscribed.
    int PrintJobNotificationCount() const { return FEvents ? int(FEvents->JobNotifications.size()) : 0; }

    // Units.
    /// The printer's horizontal resolution in pixels per inch.
    int DPIX() const;
    /// The printer's vertical resolution in pixels per inch.
    int DPIY() const;
    /// Inches to millimetres (times 25.4).
    static double InchToMm(double Value) { return Value * 25.4; }
    /// Millimetres to inches (divided by 25.4).
    static double MmToInch(double Value) { return Value / 25.4; }
    /// Inches to printer pixels along Direction, unrounded.
    double InchToPix(double Value, TDirection Direction) const;
    /// Printer pixels along Direction to inches.
    double PixToInch(double Value, TDirection Direction) const;
    /// Millimetres to printer pixels along Direction, unrounded.
    double MmToPix(double Value, TDirection Direction) const;
    /// Printer pixels along Direction to millimetres.
    double PixToMm(double Value, TDirection Direction) const;
    /// Converts through millimetres and rounds half to even; equal units return Value as it is.
    /// Base is the length in printer pixels that 100 percent stands for.
    double ConvertUnits(double Value, TUnits FromUnits, TUnits ToUnits, TDirection Direction, double Base) const;
    /// Converts Left and Right horizontally, Top and Bottom vertically, in place.
    void ConvertMargins(TMargins* Margins, TUnits FromUnits, TUnits ToUnits) const;

    // Drawing pipeline.
    /// Resets the canvas to its defaults (Arial 10 pt black, black solid pen of width 0, white solid
    /// brush), then raises OnInitDraw. Draw calls it once per page.
    virtual void InitDraw(TCanvas* TheCanvas, TDrawTarget Target);
    /// Draws one page: resets the page and the canvas, then header, page and footer areas.
    virtual void Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target);
    /// Draws one area of a page; this base raises OnDraw. Job classes override it to draw their content.
    virtual void DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target);
    /// Draws a bitmap stretched into Rect, through the device-independent path when printing.
    void DrawBitmap(TCanvas* TheCanvas, TRect Rect, const TBitmap& Bitmap, TDrawTarget Target);

    // Hooks raising their event.
    /// Raises OnPrinterSetupChange; runs after a print or printer setup dialog was accepted.
    virtual void PrinterSetupChange();
    /// Raises OnStartPrint; runs before the printer document opens.
    virtual void StartPrint();
    /// Raises OnEndPrint; runs after the document was closed.
    virtual void EndPrint();
    /// Raises OnPrintProgress, then tells the progress monitor; runs after each printed page.
    virtual void PrintProgress(int Pos, int Min, int Max);
    /// Raises OnStartPrintPage before a page is drawn on the printer.
    virtual void StartPrintPage(int PageIndex);
    /// Raises OnEndPrintPage after a page was drawn on the printer.
    virtual void EndPrintPage(int PageIndex);

    // Print run.
    /// Prints pages 1 to PageCount on the current printer under Title. Raises EPrintJobException,
    /// before the document opens, when the page geometry leaves nothing to print on; on any failure
    /// the unfinished document is thrown away.
    virtual void Print();
    /// Shows the print dialog with the page range 1 to PageCount and prints the chosen pages when
    /// the user accepts; cancelling prints nothing.
    virtual void PrintDialog();
    /// Shows the printer setup dialog; when accepted, updates the job and raises OnPrinterSetupChange.
    virtual void PrinterSetupDialog();
    /// Asks the run in progress to stop before its next page.
    virtual void Abort();

    // Export: the pages written to files instead of paper, laid out as on the selected printer
    // (on the PDF printer when none is). FromPage and ToPage 0 stand for the first and the last
    // page. Each runs like Print (the print events, progress, Abort) and returns false when the
    // run was aborted: nothing is written then. A range outside the document raises
    // EPrintJobException, output that cannot be written EPrinter; neither leaves a file behind.
    /// One PDF file; the title is the job's Title unless Info gives one.
    bool ExportToPdf(const QString& FileName, int FromPage = 0, int ToPage = 0, const TPdfDocumentInfo& Info = {});
    /// One PNG image per page at Dpi dots per inch; "{page}" in FilePattern is the page number.
    bool ExportToImages(const QString& FilePattern, int Dpi = 150, int FromPage = 0, int ToPage = 0);
    /// One SVG file per page; "{page}" in FilePattern is the page number.
    bool ExportToSvg(const QString& FilePattern, int FromPage = 0, int ToPage = 0);
    /// Prints the pages to an export device standing in for the printer.
    bool Export(TExportDevice& Device, int FromPage = 0, int ToPage = 0);
    /// Adds an outline entry (a PDF bookmark) at the page being drawn, at a nesting level (0 is
    /// the top). Only a page drawn by a print or export run adds one; elsewhere (the preview) it
    /// does nothing, so a drawing handler may call it on every target.
    void AddBookmark(const QString& Title, int Level = 0);
    /// The printer's own aborted state.
    bool GetAborted() const;

    // Page rectangles in printer pixels.
    /// The whole sheet of the printer in printer pixels, from (0, 0).
    virtual TRect GetSheetRect();
    /// The page inside the margins in printer pixels; the whole page when joMargins is off.
    virtual TRect GetMarginRect();
    /// The header band at the top of the margin rectangle; empty when joHeader is off.
    virtual TRect GetHeaderRect();
    /// The page area: the margin rectangle less the header and footer bands that are on.
    virtual TRect GetPageRect();
    /// The footer band at the bottom of the margin rectangle; empty when joFooter is off.
    virtual TRect GetFooterRect();
    /// Applies Orientation to the printer (unless it is printing) and, in pmDefault mode, takes
    /// PageWidth and PageHeight from the printer's paper in PageUnits. Does nothing without a printer.
    virtual void ResetToDefaultPage();
    /// Takes the page layout (size, orientation) that page PageIndex is drawn with, without
    /// notifying anyone: the pane calls it before laying a page out, the print run before the
    /// page starts on paper. A job whose pages all share one layout has nothing to do.
    virtual void PreparePage(int PageIndex);
    /// Empty when the margins and bands leave an area to print on; otherwise why not, naming
    /// the quantities and their values in printer pixels. Print raises it before the document
    /// opens, and the preview shows it instead of a page.
    virtual QString PageGeometryError();
    /// True when at least one printer is installed; without one, Update does nothing.
    virtual bool PrinterOK() const;
    /// The change notification: resets the page, updates subscribed jobs and controls, OnUpdate.
    /// While the job is read from a form file the update waits, and runs once when the reading
    /// ends (Loaded).
    virtual void Update();

    // Properties.
    /// The number of pages Print prints and the preview shows; 1 by default.
    int PageCount() const { return FPageCount; }
    /// Sets PageCount; values below 1 become 1. A change updates the job.
    void SetPageCount(int Value);
    /// The document title given to the printer (the print queue shows it); empty by default.
    QString Title() const { return FTitle; }
    /// Sets Title; it takes effect at the next print run.
    void SetTitle(const QString& Value) { FTitle = Value; }
    /// The four margins in MarginsUnits; used when joMargins is in Options. The job owns them.
    TMargins* Margins() const;
    /// Copies the four values of Value into Margins and updates the job.
    void SetMargins(const TMargins* Value);
    /// The unit of Margins; percent is of the page's width (left, right) or height (top, bottom).
    /// unPixels by default.
    TUnits MarginsUnits() const { return FMarginsUnits; }
    /// Sets MarginsUnits (the values are not converted); a change updates the job.
    void SetMarginsUnits(TUnits Value);
    /// The height of the header band in HeaderUnits, used when joHeader is in Options; 0 by default.
    double Header() const { return FHeader; }
    /// Sets Header; a change updates the job.
    void SetHeader(double Value);
    /// The unit of Header; percent is of the margin rectangle's height. unPixels by default.
    TUnits HeaderUnits() const { return FHeaderUnits; }
    /// Sets HeaderUnits (the value is not converted); a change updates the job.
    void SetHeaderUnits(TUnits Value);
    /// The height of the footer band in FooterUnits, used when joFooter is in Options; 0 by default.
    double Footer() const { return FFooter; }
    /// Sets Footer; a change updates the job.
    void SetFooter(double Value);
    /// The unit of Footer; percent is of the margin rectangle's height. unPixels by default.
    TUnits FooterUnits() const { return FFooterUnits; }
    /// Sets FooterUnits (the value is not converted); a change updates the job.
    void SetFooterUnits(TUnits Value);
    /// Whether the page is the printer's paper (pmDefault, the default) or PageWidth x PageHeight (pmCustom).
    TPageMode PageMode() const { return FPageMode; }
    /// Sets PageMode; a change resets the page to the printer's default and updates the job.
    void SetPageMode(TPageMode Value);
    /// The page width in PageUnits; in pmDefault mode the printer's page width.
    double PageWidth() const { return FPageWidth; }
    /// Sets PageWidth in pmCustom mode; in pmDefault mode the printer's width stays. Updates the job.
    void SetPageWidth(double Value);
    /// The page height in PageUnits; in pmDefault mode the printer's page height.
    double PageHeight() const { return FPageHeight; }
    /// Sets PageHeight in pmCustom mode; in pmDefault mode the printer's height stays. Updates the job.
    void SetPageHeight(double Value);
    /// The unit of PageWidth and PageHeight; percent is of the printer's page. unPixels by default.
    TUnits PageUnits() const { return FPageUnits; }
    /// Sets PageUnits; a change resets the page to the printer's default and updates the job.
    void SetPageUnits(TUnits Value);
    /// The orientation the job sets on the printer; orDefault (the default) keeps the printer's own.
    TPageOrientation Orientation() const { return FOrientation; }
    /// Sets Orientation; a change applies it to the printer and updates the job.
    void SetOrientation(TPageOrientation Value);
    /// Which of margins, header band and footer band are on; none by default.
    TJobOptionsSet Options() const { return FOptions; }
    /// Sets Options; a change updates the job.
    void SetOptions(TJobOptionsSet Value);

    // Events.
    /// Raised at the end of the base constructor (see the constructor's onCreate).
    TNotifyEvent OnCreate() const { return FEvents ? FEvents->OnCreate : TNotifyEvent(); }
    /// Sets OnCreate.
    void SetOnCreate(TNotifyEvent e) { SetEvent(&TEvents::OnCreate, std::move(e)); }
    /// Raised when the job begins to be destroyed, while it is still whole; its exceptions are swallowed.
    TNotifyEvent OnDestroy() const { return FEvents ? FEvents->OnDestroy : TNotifyEvent(); }
    /// Sets OnDestroy.
    void SetOnDestroy(TNotifyEvent e) { SetEvent(&TEvents::OnDestroy, std::move(e)); }
    /// Raised before each page is drawn, after the canvas was reset to its defaults.
    TInitDrawEvent OnInitDraw() const { return FEvents ? FEvents->OnInitDraw : TInitDrawEvent(); }
    /// Sets OnInitDraw.
    void SetOnInitDraw(TInitDrawEvent e) { SetEvent(&TEvents::OnInitDraw, std::move(e)); }
    /// Raised for each area of a page (header, page, footer) on preview and printer alike.
    TDrawEvent OnDraw() const { return FEvents ? FEvents->OnDraw : TDrawEvent(); }
    /// Sets OnDraw.
    void SetOnDraw(TDrawEvent e) { SetEvent(&TEvents::OnDraw, std::move(e)); }
    /// Raised after the user accepted a print or printer setup dialog.
    TNotifyEvent OnPrinterSetupChange() const { return FEvents ? FEvents->OnPrinterSetupChange : TNotifyEvent(); }
    /// Sets OnPrinterSetupChange.
    void SetOnPrinterSetupChange(TNotifyEvent e) { SetEvent(&TEvents::OnPrinterSetupChange, std::move(e)); }
    /// Raised when a print run starts, before the printer document opens.
    TNotifyEvent OnStartPrint() const { return FEvents ? FEvents->OnStartPrint : TNotifyEvent(); }
    /// Sets OnStartPrint.
    void SetOnStartPrint(TNotifyEvent e) { SetEvent(&TEvents::OnStartPrint, std::move(e)); }
    /// Raised when a print run has finished and the document is closed.
    TNotifyEvent OnEndPrint() const { return FEvents ? FEvents->OnEndPrint : TNotifyEvent(); }
    /// Sets OnEndPrint.
    void SetOnEndPrint(TNotifyEvent e) { SetEvent(&TEvents::OnEndPrint, std::move(e)); }
    /// Raised after each printed page with the page and the range of the run.
    TProgressEvent OnPrintProgress() const { return FEvents ? FEvents->OnPrintProgress : TProgressEvent(); }
    /// Sets OnPrintProgress.
    void SetOnPrintProgress(TProgressEvent e) { SetEvent(&TEvents::OnPrintProgress, std::move(e)); }
    /// A second, unpublished receiver of print progress, called after OnPrintProgress, and once
    /// more with Pos = Min - 1 when a run's first page starts: the preview's progress dialog
    /// watches runs here without taking the application's handler.
    void SetProgressMonitor(TProgressEvent e) { SetEvent(&TEvents::ProgressMonitor, std::move(e)); }
    /// True while a progress monitor is set.
    bool HasProgressMonitor() const { return FEvents && FEvents->ProgressMonitor; }
    /// Raised before each page is drawn on the printer.
    TPageNotifyEvent OnStartPrintPage() const { return FEvents ? FEvents->OnStartPrintPage : TPageNotifyEvent(); }
    /// Sets OnStartPrintPage.
    void SetOnStartPrintPage(TPageNotifyEvent e) { SetEvent(&TEvents::OnStartPrintPage, std::move(e)); }
    /// Raised after each page was drawn on the printer.
    TPageNotifyEvent OnEndPrintPage() const { return FEvents ? FEvents->OnEndPrintPage : TPageNotifyEvent(); }
    /// Sets OnEndPrintPage.
    void SetOnEndPrintPage(TPageNotifyEvent e) { SetEvent(&TEvents::OnEndPrintPage, std::move(e)); }
    /// Raised at the end of Update, after the subscribers were told.
    TNotifyEvent OnUpdate() const { return FEvents ? FEvents->OnUpdate : TNotifyEvent(); }
    /// Sets OnUpdate.
    void SetOnUpdate(TNotifyEvent e) { SetEvent(&TEvents::OnUpdate, std::move(e)); }

protected:
    /// Runs OnDestroy and then the removal notifications while the job is still whole. A job
    /// class that adds members of its own calls it first in its destructor, so that neither
    /// the handler nor a subscriber sees those members freed. It runs once.
    void BeginDestruction();
    /// Runs the update that waited while the job was read from a form file.
    void Loaded() override;

    /// Set by Abort; the print run stops before its next page and clears it.
    bool FAbortRequest = false;

private:
    /// The page's size in printer pixels: the base of margins given in percent.
    int PageWidthPixels() const;
    int PageHeightPixels() const;
    /// Raises EPrintJobException when the page geometry leaves nothing to print on.
    void RequireSoundPageGeometry();
    int HeaderHeightPixels(int marginHeight) const;
    int FooterHeightPixels(int marginHeight) const;
    /// Prints the pages of an open document and ends it; false when aborted. An aborted run
    /// ends the document with the pages so far, or throws it away when discardWhenAborted.
    bool PrintPages(int first, int last, bool followPageCount, bool discardWhenAborted = false);
    /// The device an export takes its page layout from.
    static const TPrinterDevice& ExportModel();
    void NotifySubscribers();
    void SetPageSize(double& field, double value);
    /// The setter rule: an equal value changes nothing; otherwise store it, reset the page to the
    /// printer's default when the value shapes it, and notify.
    template<class T>
    void StoreAndUpdate(T& field, const T& value, bool resetsPage)
    {
        if (field == value)
            return;
        field = value;
        if (resetsPage)
            ResetToDefaultPage();
        Update();
    }

    struct TEvents {
        std::vector<TControl*> ControlNotifications;
        std::vector<TCustomPrintJob*> JobNotifications;
        TNotifyEvent OnCreate, OnDestroy, OnPrinterSetupChange, OnStartPrint, OnEndPrint, OnUpdate;
        TInitDrawEvent OnInitDraw;
        TDrawEvent OnDraw;
        TProgressEvent OnPrintProgress;
        TProgressEvent ProgressMonitor;
        TPageNotifyEvent OnStartPrintPage, OnEndPrintPage;
    };
    /// The handlers and subscribers, made when first needed.
    TEvents& Events();
    /// Sets one handler; clearing one that was never set makes nothing.
    template<class E>
    void SetEvent(E TEvents::*event, E handler)
    {
        if (handler || FEvents)
            Events().*event = std::move(handler);
    }
    /// Calls a handler when it is set.
    template<class E, class... A>
    void Raise(E TEvents::*event, A&&... args)
    {
        if (FEvents && (*FEvents).*event)
            ((*FEvents).*event)(std::forward<A>(args)...);
    }

    bool FDestructionBegun = false;
    /// An Update came while the job was being read.
    bool FUpdateWaiting = false;
    int FUpdateLock = 0;
    int FJobsUpdateLock = 0;
    int FControlsUpdateLock = 0;
    int FDrawLock = 0;
    int FPageCount = 1;
    QString FTitle;
    /// Made on first use: most jobs keep the default margins, and a job stands for one object
    /// less until they are asked for.
    mutable std::unique_ptr<TMargins> FMargins;
    /// The event handlers and subscribers, made when the first one is set: many jobs have none,
    /// and together they are larger than the rest of the job.
    std::unique_ptr<TEvents> FEvents;
    TUnits FMarginsUnits = unPixels;
    double FHeader = 0;
    TUnits FHeaderUnits = unPixels;
    double FFooter = 0;
    TUnits FFooterUnits = unPixels;
    TPageMode FPageMode = pmDefault;
    double FPageWidth = 200;
    double FPageHeight = 300;
    TUnits FPageUnits = unPixels;
    TPageOrientation FOrientation = orDefault;
    TJobOptionsSet FOptions;
};

/// Raises one of a job's lock counters for the life of a scope; the release also runs when
/// the scope is left by an exception.
class VELLARO_EXPORT TJobLock {
public:
    /// A lock or unlock member of TCustomPrintJob, such as &TCustomPrintJob::LockUpdate.
    using TStep = void (TCustomPrintJob::*)();
    /// Calls Lock on Job now and Unlock when the scope ends.
    TJobLock(TCustomPrintJob* Job, TStep Lock, TStep Unlock) : FJob(Job), FUnlock(Unlock) { (Job->*Lock)(); }
    ~TJobLock() { (FJob->*FUnlock)(); }
    TJobLock(const TJobLock&) = delete;
    TJobLock& operator=(const TJobLock&) = delete;

private:
    TCustomPrintJob* FJob;
    TStep FUnlock;
};

/// A print job whose pages the application draws in OnDraw, area by area.
///
/// Published properties: Name, Tag, #PageCount, #Title, #Margins, #MarginsUnits, #Header,
/// #HeaderUnits, #Footer, #FooterUnits, #PageMode, #PageWidth, #PageHeight, #PageUnits,
/// #Orientation, #Options.
///
/// Events: #OnCreate, #OnDestroy, #OnInitDraw, #OnDraw, #OnPrinterSetupChange, #OnStartPrint,
/// #OnEndPrint, #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TPrintJob : public TCustomPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int PageCount READ PageCount WRITE SetPageCount)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(Vellaro::TMargins* Margins READ Margins WRITE SetMargins)
    Q_PROPERTY(Vellaro::VLJobTypes::TUnits MarginsUnits READ MarginsUnits WRITE SetMarginsUnits)
    Q_PROPERTY(double Header READ Header WRITE SetHeader)
    Q_PROPERTY(Vellaro::VLJobTypes::TUnits HeaderUnits READ HeaderUnits WRITE SetHeaderUnits)
    Q_PROPERTY(double Footer READ Footer WRITE SetFooter)
    Q_PROPERTY(Vellaro::VLJobTypes::TUnits FooterUnits READ FooterUnits WRITE SetFooterUnits)
    Q_PROPERTY(Vellaro::VLJobTypes::TPageMode PageMode READ PageMode WRITE SetPageMode)
    Q_PROPERTY(double PageWidth READ PageWidth WRITE SetPageWidth)
    Q_PROPERTY(double PageHeight READ PageHeight WRITE SetPageHeight)
    Q_PROPERTY(Vellaro::VLJobTypes::TUnits PageUnits READ PageUnits WRITE SetPageUnits)
    Q_PROPERTY(Vellaro::VLJobTypes::TPageOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(Vellaro::TJobOptionsSet Options READ Options WRITE SetOptions)
    Q_PROPERTY(Vellaro::TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(Vellaro::TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)
    Q_PROPERTY(Vellaro::TInitDrawEvent OnInitDraw READ OnInitDraw WRITE SetOnInitDraw)
    Q_PROPERTY(Vellaro::TDrawEvent OnDraw READ OnDraw WRITE SetOnDraw)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    using TCustomPrintJob::TCustomPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomPrintJob::SetMargins(Value); }
};

/// Puts TPrintJob on the palette page "Vellaro" of form designers.
VELLARO_EXPORT void RegisterVLJob();

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TJobOptionsSet)
Q_DECLARE_METATYPE(Vellaro::TInitDrawEvent)
Q_DECLARE_METATYPE(Vellaro::TDrawEvent)
Q_DECLARE_METATYPE(Vellaro::TProgressEvent)
Q_DECLARE_METATYPE(Vellaro::TPageNotifyEvent)
