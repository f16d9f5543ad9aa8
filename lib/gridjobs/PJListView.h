#pragma once
// The list view print job: prints a list view the way its report layout shows it: one column
// per list column, one row per item, the captions as titles, column widths in the proportions
// of the list's columns across the page, optionally an image before each item caption.

#include "gridjobs/PJTextGrid.h"
#include "platform/controls/ListView.h"

namespace Vellaro {

/// The behaviour of the list view job. It takes the counts in Update; call Update after
/// changing the list. The footer stays empty.
class VELLARO_EXPORT TCustomListViewPrintJob : public TSpecialTextGridPrintJob {
    Q_OBJECT
public:
    /// A job without a list view.
    using TSpecialTextGridPrintJob::TSpecialTextGridPrintJob;

    /// The list view to print; not owned, forgotten when it goes away.
    TListView* ListView() const { return FListView; }
    /// Prints Value (null for none) and takes its counts.
    void SetListView(TListView* Value);
    /// Whether an image of the list's image list goes before each item caption.
    bool DrawIcons() const { return FDrawIcons; }
    /// Sets DrawIcons (false by default) and updates the job.
    void SetDrawIcons(bool Value);

    /// Takes ColCount from the columns and RowCount from the items.
    void Update() override;
    /// The list's column widths scaled to the page width, measured in PageFont; 100 without a list.
    int GetColWidth(TCanvas* Canvas, int ACol) override;
    /// Column captions as titles, item captions in column 0, sub-items after them.
    QString GetCellText(int PageIndex, int ACol, int ARow) override;
    /// The column's alignment in every row; the index column right-aligned.
    TAlignment GetCellAlignment(int ACol, int ARow) override;
    /// Puts image r of the image list before the caption of data row r when DrawIcons is on.
    void DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget Target) override;

protected:
    /// Forgets the list view when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    /// The image list to draw from, or none.
    TImageList* Images() const;
    int ListColumnCount() const;

    TListView* FListView = nullptr;
    bool FDrawIcons = false;
};

/// Prints a list view.
///
/// Published properties: Name, Tag, #ListView, #DrawIcons, #HeaderFont, #PageFont, #FooterFont,
/// #ClipMode, #RowsPerPage, #TableBorders, #HeaderCellBorders, #PageCellBorders,
/// #FooterCellBorders, #IndexColumn, #IndexStart, #Title, #Margins, #MarginsUnits, #Header,
/// #HeaderUnits, #Footer, #FooterUnits, #PageMode, #PageWidth, #PageHeight, #PageUnits,
/// #Orientation, #Options.
///
/// Events: #OnCreate, #OnDestroy, #OnPrinterSetupChange, #OnStartPrint, #OnEndPrint,
/// #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TListViewPrintJob : public TCustomListViewPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TListView* ListView READ ListView WRITE SetListView)
    Q_PROPERTY(bool DrawIcons READ DrawIcons WRITE SetDrawIcons)
    Q_PROPERTY(Vellaro::TFont* HeaderFont READ HeaderFont WRITE SetHeaderFont)
    Q_PROPERTY(Vellaro::TFont* PageFont READ PageFont WRITE SetPageFont)
    Q_PROPERTY(Vellaro::TFont* FooterFont READ FooterFont WRITE SetFooterFont)
    Q_PROPERTY(Vellaro::PJTextGridTypes::TClipMode ClipMode READ ClipMode WRITE SetClipMode)
    Q_PROPERTY(int RowsPerPage READ RowsPerPage WRITE SetRowsPerPage)
    Q_PROPERTY(Vellaro::TCellBorders TableBorders READ TableBorders WRITE SetTableBorders)
    Q_PROPERTY(Vellaro::TCellBorders HeaderCellBorders READ HeaderCellBorders WRITE SetHeaderCellBorders)
    Q_PROPERTY(Vellaro::TCellBorders PageCellBorders READ PageCellBorders WRITE SetPageCellBorders)
    Q_PROPERTY(Vellaro::TCellBorders FooterCellBorders READ FooterCellBorders WRITE SetFooterCellBorders)
    Q_PROPERTY(bool IndexColumn READ IndexColumn WRITE SetIndexColumn)
    Q_PROPERTY(int IndexStart READ IndexStart WRITE SetIndexStart)
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
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomListViewPrintJob.
    using TCustomListViewPrintJob::TCustomListViewPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomListViewPrintJob::SetMargins(Value); }
};

/// Puts TListViewPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJListView();

} // namespace Vellaro
