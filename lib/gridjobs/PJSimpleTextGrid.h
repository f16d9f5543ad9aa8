#pragma once
// A text grid job whose texts, alignments and column widths come from the application's events.
// Without handlers every column is 0 wide, every text empty and every cell centred.

#include "gridjobs/PJTextGrid.h"

namespace Vellaro {

/// Asks for a cell's text; Text arrives empty and the handler fills it.
using TCellTextEvent = std::function<void(TComponent* Sender, int APageIndex, int ACol, int ARow, QString& Text)>;
/// Asks for a cell's alignment; Alignment arrives as taCenter and the handler may change it.
using TCellAlignEvent = std::function<void(TComponent* Sender, int ACol, int ARow, TAlignment& Alignment)>;

/// The behaviour of the event-driven text grid job.
class VELLARO_EXPORT TCustomSimpleTextGridPrintJob : public TCustomTextGridPrintJob {
    Q_OBJECT
public:
    /// See TCustomTextGridPrintJob::TCustomTextGridPrintJob.
    using TCustomTextGridPrintJob::TCustomTextGridPrintJob;

    /// 0, adjusted by OnColWidth (asked for the index column too).
    int GetColWidth(TCanvas* Canvas, int ACol) override;
    /// Empty, filled by OnCellText.
    QString GetCellText(int PageIndex, int ACol, int ARow) override;
    /// Centred, adjusted by OnCellAlign.
    TAlignment GetCellAlignment(int ACol, int ARow) override;

    /// Asked for each column's width (the index column too); ColWidth arrives as 0.
    TColWidthEvent OnColWidth() const { return FOnColWidth; }
    /// Sets OnColWidth.
    void SetOnColWidth(TColWidthEvent e) { FOnColWidth = std::move(e); }
    /// Asked for the text of every cell; without a handler cells are empty.
    TCellTextEvent OnCellText() const { return FOnCellText; }
    /// Sets OnCellText.
    void SetOnCellText(TCellTextEvent e) { FOnCellText = std::move(e); }
    /// Asked for the alignment of every cell; centred without a handler.
    TCellAlignEvent OnCellAlign() const { return FOnCellAlign; }
    /// Sets OnCellAlign.
    void SetOnCellAlign(TCellAlignEvent e) { FOnCellAlign = std::move(e); }

private:
    TColWidthEvent FOnColWidth;
    TCellTextEvent FOnCellText;
    TCellAlignEvent FOnCellAlign;
};

/// A text grid job filled from OnCellText, OnCellAlign and OnColWidth.
///
/// Published properties: Name, Tag, #HeaderFont, #PageFont, #FooterFont, #ClipMode, #ColCount,
/// #RowCount, #RowsPerPage, #TableBorders, #HeaderCellBorders, #PageCellBorders,
/// #FooterCellBorders, #IndexColumn, #IndexStart, #Title, #Margins, #MarginsUnits, #Header,
/// #HeaderUnits, #Footer, #FooterUnits, #PageMode, #PageWidth, #PageHeight, #PageUnits,
/// #Orientation, #Options.
///
/// Events: #OnColWidth, #OnCellText, #OnCellAlign, #OnCreate, #OnDestroy, #OnPrinterSetupChange,
/// #OnStartPrint, #OnEndPrint, #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TSimpleTextGridPrintJob : public TCustomSimpleTextGridPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TColWidthEvent OnColWidth READ OnColWidth WRITE SetOnColWidth)
    Q_PROPERTY(Vellaro::TCellTextEvent OnCellText READ OnCellText WRITE SetOnCellText)
    Q_PROPERTY(Vellaro::TCellAlignEvent OnCellAlign READ OnCellAlign WRITE SetOnCellAlign)
    Q_PROPERTY(Vellaro::TFont* HeaderFont READ HeaderFont WRITE SetHeaderFont)
    Q_PROPERTY(Vellaro::TFont* PageFont READ PageFont WRITE SetPageFont)
    Q_PROPERTY(Vellaro::TFont* FooterFont READ FooterFont WRITE SetFooterFont)
    Q_PROPERTY(Vellaro::PJTextGridTypes::TClipMode ClipMode READ ClipMode WRITE SetClipMode)
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
    Q_PROPERTY(Vellaro::TNotifyEvent OnPrinterSetupChange READ OnPrinterSetupChange WRITE SetOnPrinterSetupChange)
    Q_PROPERTY(Vellaro::TNotifyEvent OnStartPrint READ OnStartPrint WRITE SetOnStartPrint)
    Q_PROPERTY(Vellaro::TNotifyEvent OnEndPrint READ OnEndPrint WRITE SetOnEndPrint)
    Q_PROPERTY(Vellaro::TProgressEvent OnPrintProgress READ OnPrintProgress WRITE SetOnPrintProgress)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnStartPrintPage READ OnStartPrintPage WRITE SetOnStartPrintPage)
    Q_PROPERTY(Vellaro::TPageNotifyEvent OnEndPrintPage READ OnEndPrintPage WRITE SetOnEndPrintPage)
    Q_PROPERTY(Vellaro::TNotifyEvent OnUpdate READ OnUpdate WRITE SetOnUpdate)
public:
    /// See TCustomTextGridPrintJob::TCustomTextGridPrintJob.
    using TCustomSimpleTextGridPrintJob::TCustomSimpleTextGridPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomSimpleTextGridPrintJob::SetMargins(Value); }
};

/// Puts TSimpleTextGridPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJSimpleTextGrid();

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TCellTextEvent)
Q_DECLARE_METATYPE(Vellaro::TCellAlignEvent)
