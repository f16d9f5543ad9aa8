#pragma once
// The string grid print job: prints a string grid's cells as a text table whose columns keep
// the proportions of the grid's columns across the page width, with the grid's first row as
// titles when the header is on and the page number in a spanning footer.

#include "gridjobs/PJTextGrid.h"
#include "platform/controls/StringGrid.h"

namespace Vellaro {

/// The behaviour of the string grid job. It takes the grid's counts in Update and reads cell
/// texts while drawing; call Update after changing the grid.
class VELLARO_EXPORT TCustomStringGridPrintJob : public TSpecialTextGridPrintJob {
    Q_OBJECT
public:
    /// A job without a grid.
    using TSpecialTextGridPrintJob::TSpecialTextGridPrintJob;

    /// The grid to print; not owned, forgotten when it goes away.
    TStringGrid* StringGrid() const { return FStringGrid; }
    /// Prints Value (null for none) and takes its counts.
    void SetStringGrid(TStringGrid* Value);

    /// Takes ColCount and RowCount from the grid (less the title row with the header on).
    void Update() override;
    /// The grid's column widths scaled to the page width, measured in PageFont; 100 without a grid.
    int GetColWidth(TCanvas* Canvas, int ACol) override;
    /// Titles from grid row 0 with the header on, data rows from the rows below them.
    QString GetCellText(int PageIndex, int ACol, int ARow) override;

protected:
    /// Forgets the grid when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TStringGrid* FStringGrid = nullptr;
};

/// Prints a string grid.
///
/// Published properties: Name, Tag, #StringGrid, #HeaderFont, #PageFont, #FooterFont, #ClipMode,
/// #RowsPerPage, #TableBorders, #HeaderCellBorders, #PageCellBorders, #FooterCellBorders,
/// #IndexColumn, #IndexStart, #Title, #Margins, #MarginsUnits, #Header, #HeaderUnits, #Footer,
/// #FooterUnits, #PageMode, #PageWidth, #PageHeight, #PageUnits, #Orientation, #Options.
///
/// Events: #OnCreate, #OnDestroy, #OnPrinterSetupChange, #OnStartPrint, #OnEndPrint,
/// #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TStringGridPrintJob : public TCustomStringGridPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TStringGrid* StringGrid READ StringGrid WRITE SetStringGrid)
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
    /// See TCustomStringGridPrintJob.
    using TCustomStringGridPrintJob::TCustomStringGridPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomStringGridPrintJob::SetMargins(Value); }
};

/// Puts TStringGridPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJStringGrid();

} // namespace Vellaro
