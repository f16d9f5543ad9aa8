#pragma once
// The database grid print job: prints the records of a data set, reached through a data
// source, as a text table: one column per visible field, one row per record, the fields'
// labels as titles, their display texts in the cells, widths in the proportions of their
// display widths across the page, and the page number in a spanning footer.

#include "gridjobs/PJTextGrid.h"
#include "platform/data/DataSource.h"

#include <memory>
#include <optional>
#include <vector>

namespace Vellaro {

/// The job's connection to its data source: opening, closing, switching or changing the data
/// set recounts the job.
class VELLARO_EXPORT TPrintJobDataLink : public TDataLink {
public:
    /// A link that updates Job when its data set opens, closes, changes or is switched.
    explicit TPrintJobDataLink(TCustomPrintJob* Job) : FJob(Job) {}

protected:
    /// Updates the job when the data set opens or closes.
    void ActiveChanged() override;
    /// Updates the job when the data set's records change.
    void DataSetChanged() override;

private:
    TCustomPrintJob* FJob;
};

/// The behaviour of the database grid job. Drawing a data row moves the data set to that
/// record and leaves it there.
class VELLARO_EXPORT TCustomDBGridPrintJob : public TSpecialTextGridPrintJob {
    Q_OBJECT
public:
    /// A job without a data source: one column, one row.
    explicit TCustomDBGridPrintJob(TComponent* AOwner = nullptr);
    /// Lets go of the data source.
    ~TCustomDBGridPrintJob() override;

    /// The data source to print; not owned, forgotten when it goes away.
    TDataSource* DataSource() const { return GetDataSource(); }
    /// The same as DataSource.
    TDataSource* GetDataSource() const;
    /// Prints the data set of Value (null for none) and recounts the job.
    void SetDataSource(TDataSource* Value);

    /// Visible fields of the data set; 0 without one.
    int VisibleFieldCount() const;
    /// The Index-th visible field (from 0), or nullptr.
    TField* GetField(int Index) const;

    /// Takes ColCount from the visible fields and RowCount from the records of an open data
    /// set (1 and 1 otherwise). Does nothing while updates are locked.
    void Update() override;
    /// Draws a page with updates locked, so the moving data set cannot recount the job midway.
    /// A database failure while a preview page is drawn is written on the page instead of
    /// the table; on paper it passes on and ends the print run.
    void Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target) override;
    /// Prints the table as it was when printing began: the data set reads one snapshot for
    /// the run and is counted again within it.
    void Print() override;
    void PrintDialog() override;
    /// The fields' display widths scaled to the page width, measured in PageFont; 100
    /// without a data set.
    int GetColWidth(TCanvas* Canvas, int ACol) override;
    /// Display labels as titles; for data row r the display text of record r + 1.
    QString GetCellText(int PageIndex, int ACol, int ARow) override;
    /// The field's alignment, titles included; right for the index column and the footer.
    TAlignment GetCellAlignment(int ACol, int ARow) override;

protected:
    /// Forgets the data source when it is destroyed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    /// The data set when it is open, else nullptr.
    TDataSet* ActiveDataSet() const;
    int ComputeColWidth(TCanvas* Canvas, int ACol);
    void DrawFailure(TCanvas* TheCanvas, const QString& Message);

    std::unique_ptr<TPrintJobDataLink> FDataLink;
    /// Column widths of the page being drawn (index column first), each measured once: a pass
    /// asks for every width twice per cell, and measuring costs text layout.
    std::vector<std::optional<int>> FPageWidths;
    bool FDrawing = false;
};

/// Prints the records of a data set.
///
/// Published properties: Name, Tag, #DataSource, #HeaderFont, #PageFont, #FooterFont, #ClipMode,
/// #RowsPerPage, #TableBorders, #HeaderCellBorders, #PageCellBorders, #FooterCellBorders,
/// #IndexColumn, #IndexStart, #Title, #Margins, #MarginsUnits, #Header, #HeaderUnits, #Footer,
/// #FooterUnits, #PageMode, #PageWidth, #PageHeight, #PageUnits, #Orientation, #Options.
///
/// Events: #OnCreate, #OnDestroy, #OnPrinterSetupChange, #OnStartPrint, #OnEndPrint,
/// #OnPrintProgress, #OnStartPrintPage, #OnEndPrintPage, #OnUpdate.
class VELLARO_EXPORT TDBGridPrintJob : public TCustomDBGridPrintJob {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(qintptr Tag READ Tag WRITE SetTag)
    Q_PROPERTY(Vellaro::TDataSource* DataSource READ DataSource WRITE SetDataSource)
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
    /// See TCustomDBGridPrintJob::TCustomDBGridPrintJob.
    using TCustomDBGridPrintJob::TCustomDBGridPrintJob;
    // Q_PROPERTY needs setters by pointer type; Margins is set through the base's copy.
    /// Copies Value into Margins and updates the job (the property's setter).
    void SetMargins(TMargins* Value) { TCustomDBGridPrintJob::SetMargins(Value); }
};

/// Puts TDBGridPrintJob on the palette page "Print Jobs" of form designers.
VELLARO_EXPORT void RegisterPJDBGrid();

} // namespace Vellaro
