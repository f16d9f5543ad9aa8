#pragma once
// The strings job: a list of text lines printed in one font, as many lines as fit on a page,
// long lines cut at the last break character that fits when word wrap is on.

#include "job/VLJob.h"
#include "platform/core/Strings.h"

#include <memory>

namespace Vellaro {

/// Prints a string list in one font with its own page count; header and footer come from OnDraw.
class VELLARO_EXPORT TCustomStringsPrintJob : public TCustomPrintJob {
    Q_OBJECT
public:
    /// An empty job in Courier New 12 pt with word wrap on.
    explicit TCustomStringsPrintJob(TComponent* AOwner = nullptr);
    /// Runs OnDestroy and the removal notifications before the text and font go.
    ~TCustomStringsPrintJob() override;

    /// The text, one entry per line or paragraph. Editing it in place does not update the job.
    TStrings* Strings() const { return FStrings.get(); }
    /// Copies the lines of Value and updates.
    void SetStrings(const TStrings* Value);
    /// The lines as a plain list, for streaming.
    QStringList StringsList() const { return FStrings->ToStringList(); }
    /// Replaces the lines with Value and updates.
    void SetStringsList(const QStringList& Value);
    /// "Courier New", 12 points at construction. Setting it copies Value and updates.
    TFont* Font() const { return FFont.get(); }
    /// Copies Value into Font (null keeps it) and updates.
    void SetFont(const TFont* Value);
    /// Whether lines wider than the page area are cut into several lines; true by default. Off,
    /// they are clipped at the page area's right edge.
    bool WordWrap() const { return FWordWrap; }
    /// Sets WordWrap and lays the text out again.
    void SetWordWrap(bool Value);
    /// Progress of the wrapping pass: entries laid out so far, 0, entries before wrapping.
    TProgressEvent OnUpdateProgress() const { return FOnUpdateProgress; }
    /// Sets OnUpdateProgress.
    void SetOnUpdateProgress(TProgressEvent e) { FOnUpdateProgress = std::move(e); }

    /// The lines as laid out by the last Update.
    const TStrings* Lines() const { return FLines.get(); }
    /// Lines on one page, from the last Update (at least 1 once laid out).
    int LinesPerPage() const { return FLinesPerPage; }

    /// Lays the text out, sets PageCount and notifies.
    void Update() override;
    /// Cuts every entry of Lines wider than MaxWidth (measured on DC) into pieces that fit,
    /// each ending at its last character that is not a letter or digit where it has one.
    /// A piece always takes at least one character; empty entries stay as they are.
    void FormatText(TDeviceContext* DC, TStrings* Lines, int MaxWidth);
    /// The page area draws this page's lines spread evenly over its height; header and footer
    /// are left to OnDraw.
    void DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target) override;

protected:
    /// The lines as laid out by the last Update (see Lines).
    std::unique_ptr<TStringList> FLines;
    /// Lines on one page from the last Update (see LinesPerPage).
    int FLinesPerPage = 0;

private:
    void LayOut();
    void ReportProgress(int Pos, int Max);
    void DrawLines(TCanvas* TheCanvas, int PageIndex, const TRect& TheRect);

    std::unique_ptr<TStringList> FStrings;
    std::unique_ptr<TFont> FFont;
    bool FWordWrap = true;
    bool FLayingOut = false;
    TProgressEvent FOnUpdateProgress;
};

/// The strings job with its properties published.
///
/// Published properties: Name, Tag, Strings (#StringsList), #Font, #WordWrap, #Title, #Margins,
/// #MarginsUnits, #Header, #HeaderUnits, #Footer, #FooterUnits, #PageMode, #PageWidth, #PageHeight,
/// #PageUnits, #Orientation, #Options.
///
/// Events: #OnUpdateProgress, #OnCreate, #OnDestroy, #OnDraw, #OnPrinterSetupChange, #OnStartPrint,
/// #OnEndPrint, #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TStringsPrintJob : public TCustomStringsPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QStringList Strings READ StringsList WRITE SetStringsList)
    Q_PROPERTY(Vellaro::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(Vellaro::TProgressEvent OnUpdateProgress READ OnUpdateProgress WRITE SetOnUpdateProgress)
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
    Q_PROPERTY(Vellaro::TDrawEvent OnDraw READ OnDraw WRITE SetOnDraw)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomStringsPrintJob::TCustomStringsPrintJob.
    using TCustomStringsPrintJob::TCustomStringsPrintJob;
    // Q_PROPERTY needs setters by pointer type; both copy the given object.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomPrintJob::SetMargins(Value); }
    /// Copies Value into Font and updates the job (the property's setter).
    void SetFont(TFont* Value) { TCustomStringsPrintJob::SetFont(Value); }
};

/// Puts TStringsPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJStrings();

} // namespace Vellaro
