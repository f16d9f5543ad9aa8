#pragma once
// The rich edit job: the content of a rich edit control, paginated and rendered by the
// control's own layout, page by page on paper and in the preview.

#include "job/VLJob.h"
#include "platform/controls/RichEdit.h"

#include <memory>
#include <vector>

namespace Vellaro {

/// One page's characters: from FStartPos up to, not including, FEndPos.
class VELLARO_EXPORT TPageRange {
public:
    /// The range from StartPos up to, not including, EndPos.
    TPageRange(int StartPos, int EndPos) : FStartPos(StartPos), FEndPos(EndPos) {}
    /// The page's first character position.
    int FStartPos;
    /// One past the page's last character position.
    int FEndPos;
};

/// Prints a rich edit control's text; header and footer come from OnDraw.
class VELLARO_EXPORT TCustomRichEditPrintJob : public TCustomPrintJob {
    Q_OBJECT
public:
    /// A job without a control.
    explicit TCustomRichEditPrintJob(TComponent* AOwner = nullptr);
    ~TCustomRichEditPrintJob() override;

    /// The control printed; not owned, forgotten when it is destroyed. Setting it always updates.
    TCustomRichEdit* RichEdit() const { return FRichEdit; }
    /// Prints Value (null for none) and paginates again.
    void SetRichEdit(TCustomRichEdit* Value);
    /// Progress of the pagination: the position reached, 0, the text length.
    TProgressEvent OnUpdateProgress() const { return FOnUpdateProgress; }
    /// Sets OnUpdateProgress.
    void SetOnUpdateProgress(TProgressEvent e) { FOnUpdateProgress = std::move(e); }

    /// The pages' ranges from the last Update.
    int PageRangeCount() const { return int(FPages.size()); }
    /// The range of page Index + 1 (Index from 0); raises std::out_of_range past the last one.
    const TPageRange& PageRange(int Index) const { return *FPages.at(size_t(Index)); }
    /// Forgets the page ranges (PageCount stays as it is).
    void ClearPages();

    /// Asks the control where each page ends, sets PageCount and notifies.
    void Update() override;
    /// The control renders the page's range into the page area; header, footer and pages the
    /// control has no range for are left to OnDraw.
    void DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target) override;

protected:
    /// Forgets the control and its page ranges when the control is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// The pages' ranges from the last Update, first page first.
    std::vector<std::unique_ptr<TPageRange>> FPages;

private:
    void Paginate();
    void ReportProgress(int Pos, int Max);
    /// A rectangle in printer pixels as twips.
    TRect ToTwips(const TRect& Pixels) const;
    /// Adds a bookmark for each heading that starts in the character range (print runs only).
    void AddHeadingBookmarks(int startPos, int endPos);

    TCustomRichEdit* FRichEdit = nullptr;
    bool FPaginating = false;
    TProgressEvent FOnUpdateProgress;
};

/// The rich edit job with its properties published.
///
/// Published properties: Name, Tag, #RichEdit, #Title, #Margins, #MarginsUnits, #Header,
/// #HeaderUnits, #Footer, #FooterUnits, #PageMode, #PageWidth, #PageHeight, #PageUnits,
/// #Orientation, #Options.
///
/// Events: #OnUpdateProgress, #OnCreate, #OnDestroy, #OnDraw, #OnPrinterSetupChange, #OnStartPrint,
/// #OnEndPrint, #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TRichEditPrintJob : public TCustomRichEditPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TCustomRichEdit* RichEdit READ RichEdit WRITE SetRichEdit)
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
    /// See TCustomRichEditPrintJob::TCustomRichEditPrintJob.
    using TCustomRichEditPrintJob::TCustomRichEditPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomPrintJob::SetMargins(Value); }
};

/// Puts TRichEditPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJRichEdit();

} // namespace Vellaro
