#pragma once
// The print job: a page description in four units turned into printer-pixel rectangles, a
// drawing pipeline shared by preview and printer, change notification to subscribed controls
// and jobs, and the print run.

#include "platform/core/Application.h"
#include "platform/graphics/Canvas.h"
#include "platform/controls/Control.h"
#include "platform/printing/Printers.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace Vellaro {

namespace VLJobTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)

enum TUnits { unPixels, unPercents, unInches, unMillimeters };
Q_ENUM_NS(TUnits)
enum TDirection { dirHorizontal, dirVertical };
Q_ENUM_NS(TDirection)
enum TPageMode { pmDefault, pmCustom };
Q_ENUM_NS(TPageMode)
enum TPageOrientation { orDefault, orPortrait, orLandscape };
Q_ENUM_NS(TPageOrientation)
enum TJobOptions { joMargins, joHeader, joFooter };
Q_ENUM_NS(TJobOptions)
enum TDrawTarget { dtPreview, dtPrint };
Q_ENUM_NS(TDrawTarget)
enum TDrawArea { daHeader, daPage, daFooter };
Q_ENUM_NS(TDrawArea)
} // namespace VLJobTypes
using namespace VLJobTypes;

/// Which of the margins, header band and footer band are switched on.
using TJobOptionsSet = TSet<TJobOptions>;

using TInitDrawEvent = std::function<void(TComponent* Sender, TCanvas* TheCanvas, TDrawTarget Target)>;
using TDrawEvent = std::function<void(TComponent* Sender, TCanvas* TheCanvas, int PageIndex, TRect TheRect,
    TDrawArea Area, TDrawTarget Target)>;
using TProgressEvent = std::function<void(TComponent* Sender, int Pos, int Min, int Max)>;
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
    TMargins(double left, double top, double right, double bottom)
        : FLeft(left), FTop(top), FRight(right), FBottom(bottom) {}
    double Left() const { return FLeft; }
    void SetLeft(double v) { FLeft = v; }
    double Top() const { return FTop; }
    void SetTop(double v) { FTop = v; }
    double Right() const { return FRight; }
    void SetRight(double v) { FRight = v; }
    double Bottom() const { return FBottom; }
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
    void LockUpdate() { ++FUpdateLock; }
    void UnlockUpdate() { if (FUpdateLock > 0) --FUpdateLock; }
    void LockJobsUpdate() { ++FJobsUpdateLock; }
    void UnlockJobsUpdate() { if (FJobsUpdateLock > 0) --FJobsUpdateLock; }
    void LockControlsUpdate() { ++FControlsUpdateLock; }
    void UnlockControlsUpdate() { if (FControlsUpdateLock > 0) --FControlsUpdateLock; }
    void LockDraw() { ++FDrawLock; }
    void UnlockDraw() { if (FDrawLock > 0) --FDrawLock; }
    bool GetUpdateLocked() const { return FUpdateLock > 0; }
    bool GetUpdateJobsLocked() const { return FJobsUpdateLock > 0; }
    bool GetUpdateControlsLocked() const { return FControlsUpdateLock > 0; }
    bool GetDrawLocked() const { return FDrawLock > 0; }

    // Subscribers, kept once each in the order they came.
    void AddControlNotification(TControl* Control);
    void DeleteControlNotification(TControl* Control);
    void AddPrintJobNotification(TCustomPrintJob* Job);
    void DeletePrintJobNotification(TCustomPrintJob* Job);
    int ControlNotificationCount() const { return int(FControlNotifications.size()); }
    int PrintJobNotificationCount() const { return int(FJobNotifications.size()); }

    // Units.
    int DPIX() const;
    int DPIY() const;
    static double InchToMm(double Value) { return Value * 25.4; }
    static double MmToInch(double Value) { return Value / 25.4; }
    double InchToPix(double Value, TDirection Direction) const;
    double PixToInch(double Value, TDirection Direction) const;
    double MmToPix(double Value, TDirection Direction) const;
    double PixToMm(double Value, TDirection Direction) const;
    /// Converts through millimetres and rounds half to even; equal units return Value as it is.
    /// Base is the length in printer pixels that 100 percent stands for.
    double ConvertUnits(double Value, TUnits FromUnits, TUnits ToUnits, TDirection Direction, double Base) const;
    /// Converts Left and Right horizontally, Top and Bottom vertically, in place.
    void ConvertMargins(TMargins* Margins, TUnits FromUnits, TUnits ToUnits) const;

    // Drawing pipeline.
    virtual void InitDraw(TCanvas* TheCanvas, TDrawTarget Target);
    /// Draws one page: resets the page and the canvas, then header, page and footer areas.
    virtual void Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target);
    virtual void DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target);
    /// Draws a bitmap stretched into Rect, through the device-independent path when printing.
    void DrawBitmap(TCanvas* TheCanvas, TRect Rect, const TBitmap& Bitmap, TDrawTarget Target);

    // Hooks raising their event.
    virtual void PrinterSetupChange();
    virtual void StartPrint();
    virtual void EndPrint();
    virtual void PrintProgress(int Pos, int Min, int Max);
    virtual void StartPrintPage(int PageIndex);
    virtual void EndPrintPage(int PageIndex);

    // Print run.
    virtual void Print();
    virtual void PrintDialog();
    virtual void PrinterSetupDialog();
    /// Asks the run in progress to stop before its next page.
    virtual void Abort();
    /// The printer's own aborted state.
    bool GetAborted() const;

    // Page rectangles in printer pixels.
    virtual TRect GetSheetRect();
    virtual TRect GetMarginRect();
    virtual TRect GetHeaderRect();
    virtual TRect GetPageRect();
    virtual TRect GetFooterRect();
    virtual void ResetToDefaultPage();
    /// Takes the page layout (size, orientation) that page PageIndex is drawn with, without
    /// notifying anyone: the pane calls it before laying a page out, the print run before the
    /// page starts on paper. A job whose pages all share one layout has nothing to do.
    virtual void PreparePage(int PageIndex);
    /// Empty when the margins and bands leave an area to print on; otherwise why not, naming
    /// the quantities and their values in printer pixels. Print raises it before the document
    /// opens, and the preview shows it instead of a page.
    virtual QString PageGeometryError();
    virtual bool PrinterOK() const;
    /// The change notification: resets the page, updates subscribed jobs and controls, OnUpdate.
    virtual void Update();

    // Properties.
    int PageCount() const { return FPageCount; }
    void SetPageCount(int Value);
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    TMargins* Margins() const { return FMargins.get(); }
    void SetMargins(const TMargins* Value);
    TUnits MarginsUnits() const { return FMarginsUnits; }
    void SetMarginsUnits(TUnits Value);
    double Header() const { return FHeader; }
    void SetHeader(double Value);
    TUnits HeaderUnits() const { return FHeaderUnits; }
    void SetHeaderUnits(TUnits Value);
    double Footer() const { return FFooter; }
    void SetFooter(double Value);
    TUnits FooterUnits() const { return FFooterUnits; }
    void SetFooterUnits(TUnits Value);
    TPageMode PageMode() const { return FPageMode; }
    void SetPageMode(TPageMode Value);
    double PageWidth() const { return FPageWidth; }
    void SetPageWidth(double Value);
    double PageHeight() const { return FPageHeight; }
    void SetPageHeight(double Value);
    TUnits PageUnits() const { return FPageUnits; }
    void SetPageUnits(TUnits Value);
    TPageOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPageOrientation Value);
    TJobOptionsSet Options() const { return FOptions; }
    void SetOptions(TJobOptionsSet Value);

    // Events.
    TNotifyEvent OnCreate() const { return FOnCreate; }
    void SetOnCreate(TNotifyEvent e) { FOnCreate = std::move(e); }
    TNotifyEvent OnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(TNotifyEvent e) { FOnDestroy = std::move(e); }
    TInitDrawEvent OnInitDraw() const { return FOnInitDraw; }
    void SetOnInitDraw(TInitDrawEvent e) { FOnInitDraw = std::move(e); }
    TDrawEvent OnDraw() const { return FOnDraw; }
    void SetOnDraw(TDrawEvent e) { FOnDraw = std::move(e); }
    TNotifyEvent OnPrinterSetupChange() const { return FOnPrinterSetupChange; }
    void SetOnPrinterSetupChange(TNotifyEvent e) { FOnPrinterSetupChange = std::move(e); }
    TNotifyEvent OnStartPrint() const { return FOnStartPrint; }
    void SetOnStartPrint(TNotifyEvent e) { FOnStartPrint = std::move(e); }
    TNotifyEvent OnEndPrint() const { return FOnEndPrint; }
    void SetOnEndPrint(TNotifyEvent e) { FOnEndPrint = std::move(e); }
    TProgressEvent OnPrintProgress() const { return FOnPrintProgress; }
    void SetOnPrintProgress(TProgressEvent e) { FOnPrintProgress = std::move(e); }
    /// A second, unpublished receiver of print progress, called after OnPrintProgress, and once
    /// more with Pos = Min - 1 when a run's first page starts: the preview's progress dialog
    /// watches runs here without taking the application's handler.
    void SetProgressMonitor(TProgressEvent e) { FProgressMonitor = std::move(e); }
    bool HasProgressMonitor() const { return bool(FProgressMonitor); }
    TPageNotifyEvent OnStartPrintPage() const { return FOnStartPrintPage; }
    void SetOnStartPrintPage(TPageNotifyEvent e) { FOnStartPrintPage = std::move(e); }
    TPageNotifyEvent OnEndPrintPage() const { return FOnEndPrintPage; }
    void SetOnEndPrintPage(TPageNotifyEvent e) { FOnEndPrintPage = std::move(e); }
    TNotifyEvent OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TNotifyEvent e) { FOnUpdate = std::move(e); }

protected:
    /// Runs OnDestroy and then the removal notifications while the job is still whole. A job
    /// class that adds members of its own calls it first in its destructor, so that neither
    /// the handler nor a subscriber sees those members freed. It runs once.
    void BeginDestruction();

    bool FAbortRequest = false;

private:
    /// The page's size in printer pixels: the base of margins given in percent.
    int PageWidthPixels() const;
    int PageHeightPixels() const;
    /// Raises EPrintJobException when the page geometry leaves nothing to print on.
    void RequireSoundPageGeometry();
    int HeaderHeightPixels(int marginHeight) const;
    int FooterHeightPixels(int marginHeight) const;
    void PrintPages(int first, int last, bool followPageCount);
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

    bool FDestructionBegun = false;
    int FUpdateLock = 0;
    int FJobsUpdateLock = 0;
    int FControlsUpdateLock = 0;
    int FDrawLock = 0;
    std::vector<TControl*> FControlNotifications;
    std::vector<TCustomPrintJob*> FJobNotifications;
    TNotifyEvent FOnCreate, FOnDestroy, FOnPrinterSetupChange, FOnStartPrint, FOnEndPrint, FOnUpdate;
    TInitDrawEvent FOnInitDraw;
    TDrawEvent FOnDraw;
    TProgressEvent FOnPrintProgress;
    TProgressEvent FProgressMonitor;
    TPageNotifyEvent FOnStartPrintPage, FOnEndPrintPage;
    int FPageCount = 1;
    QString FTitle;
    std::unique_ptr<TMargins> FMargins;
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
    using TStep = void (TCustomPrintJob::*)();
    TJobLock(TCustomPrintJob* Job, TStep Lock, TStep Unlock) : FJob(Job), FUnlock(Unlock) { (Job->*Lock)(); }
    ~TJobLock() { (FJob->*FUnlock)(); }
    TJobLock(const TJobLock&) = delete;
    TJobLock& operator=(const TJobLock&) = delete;

private:
    TCustomPrintJob* FJob;
    TStep FUnlock;
};

/// A print job whose pages the application draws in OnDraw, area by area.
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
