#pragma once
// A grid job whose cells the application draws itself in OnDrawCell, with column widths it may
// adjust in OnColWidth; the job lays the cells out and draws the borders.

#include "gridjobs/PJGrid.h"

namespace Vellaro {

/// The behaviour of the event-drawn grid job.
class VELLARO_EXPORT TCustomSimpleGridPrintJob : public TCustomGridPrintJob {
    Q_OBJECT
public:
    /// See TCustomGridPrintJob::TCustomGridPrintJob.
    using TCustomGridPrintJob::TCustomGridPrintJob;

    /// The default width (margin width divided by ColCount), adjusted by OnColWidth.
    int GetColWidth(TCanvas* Canvas, int ACol) override;
    /// Raises OnDrawCell; without a handler the cell stays empty.
    void DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget Target) override;

    /// Asked for each column's width (the index column too) with the default width.
    TColWidthEvent OnColWidth() const { return FOnColWidth; }
    /// Sets OnColWidth.
    void SetOnColWidth(TColWidthEvent e) { FOnColWidth = std::move(e); }
    /// Raised for each cell drawn: the page's data rows, and the header and footer rows when those
    /// bands are on; left to right, index column first.
    TDrawCellEvent OnDrawCell() const { return FOnDrawCell; }
    /// Sets OnDrawCell.
    void SetOnDrawCell(TDrawCellEvent e) { FOnDrawCell = std::move(e); }

private:
    TColWidthEvent FOnColWidth;
    TDrawCellEvent FOnDrawCell;
};

/// A grid job drawn cell by cell in OnDrawCell.
///
/// Published properties: Name, Tag, #ColCount, #RowCount, #RowsPerPage, #TableBorders,
/// #HeaderCellBorders, #PageCellBorders, #FooterCellBorders, #IndexColumn, #IndexStart, #Title,
/// #Margins, #MarginsUnits, #Header, #HeaderUnits, #Footer, #FooterUnits, #PageMode, #PageWidth,
/// #PageHeight, #PageUnits, #Orientation, #Options.
///
/// Events: #OnColWidth, #OnDrawCell, #OnCreate, #OnDestroy, #OnInitDraw, #OnPrinterSetupChange,
/// #OnStartPrint, #OnEndPrint, #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TSimpleGridPrintJob : public TCustomSimpleGridPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TColWidthEvent OnColWidth READ OnColWidth WRITE SetOnColWidth)
    Q_PROPERTY(Vellaro::TDrawCellEvent OnDrawCell READ OnDrawCell WRITE SetOnDrawCell)
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
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
    Q_PROPERTY(Vellaro::TInitDrawEvent OnInitDraw READ OnInitDraw WRITE SetOnInitDraw)
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomGridPrintJob::TCustomGridPrintJob.
    using TCustomSimpleGridPrintJob::TCustomSimpleGridPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomSimpleGridPrintJob::SetMargins(Value); }
};

/// Puts TSimpleGridPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJSimpleGrid();

} // namespace Vellaro
