#pragma once
// The grid print job: a table of equal-height rows broken over pages by rows, with one row of
// header cells and one of footer cells on every page, an optional index column in front of the
// data columns, and border lines chosen per kind of cell. What a cell shows is left to
// descendants (DrawCell, GetColWidth, DrawBorders).

#include "job/VLJob.h"

#include <climits>
#include <cstdint>
#include <functional>

namespace Vellaro {

namespace PJGridTypes {
Q_NAMESPACE_EXPORT(VELLARO_EXPORT)

/// What a rectangle of the border pass is: the table frame or a cell of one area.
enum TCellType { ctTable, ctHeader, ctPage, ctFooter };
Q_ENUM_NS(TCellType)
/// One side of a cell or of the table frame.
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
Q_ENUM_NS(TCellBorder)
} // namespace PJGridTypes
using namespace PJGridTypes;

/// The sides of a rectangle that get a border line.
using TCellBorders = TSet<TCellBorder>;

/// Draws one cell: Rect is the cell, ACol/ARow its address (IndexCol, HeaderRow, FooterRow or data).
using TDrawCellEvent = std::function<void(TComponent* Sender, TCanvas* TheCanvas, const TRect& Rect, int PageIndex,
    int ACol, int ARow, TDrawTarget Target)>;
/// Asks for a column's width; ColWidth arrives holding the default and may be changed.
using TColWidthEvent = std::function<void(TComponent* Sender, TCanvas* TheCanvas, int ACol, int& ColWidth)>;

/// Column address of the index column.
constexpr int IndexCol = -1;
/// Row address of the cells in the header area.
constexpr int HeaderRow = -INT_MAX;
/// Row address of the cells in the footer area.
constexpr int FooterRow = INT_MAX;

/// The base of every job that prints a table. Page N holds data rows (N-1)*RowsPerPage up to
/// N*RowsPerPage-1; every page carries every column, the header and footer cells and the frame.
class VELLARO_EXPORT TCustomGridPrintJob : public TCustomPrintJob {
    Q_OBJECT
public:
    /// A table of one column and one row, one row per page, without index column or border lines.
    explicit TCustomGridPrintJob(TComponent* AOwner = nullptr);

    // Properties. Counts below 1 become 1; a changed RowCount or RowsPerPage recomputes PageCount.
    /// The number of data columns (the index column not counted); 1 by default.
    int ColCount() const { return FColCount; }
    /// Sets ColCount (at least 1) and updates the job.
    void SetColCount(int Value);
    /// The number of data rows; 1 by default.
    int RowCount() const { return FRowCount; }
    /// Sets RowCount (at least 1), recomputes PageCount and updates the job.
    void SetRowCount(int Value);
    /// How many data rows each page holds; the rows share the page area's height evenly. 1 by default.
    int RowsPerPage() const { return FRowsPerPage; }
    /// Sets RowsPerPage (at least 1), recomputes PageCount and updates the job.
    void SetRowsPerPage(int Value);
    /// The sides of the table frame that get a line; none by default. The frame is as wide as the
    /// columns and reaches from the top of the margin rectangle to its bottom, on the last page to
    /// the bottom of the last data row.
    TCellBorders TableBorders() const { return FTableBorders; }
    /// Sets TableBorders and updates the job.
    void SetTableBorders(TCellBorders Value);
    /// The sides of each header cell that get a line; none by default.
    TCellBorders HeaderCellBorders() const { return FHeaderCellBorders; }
    /// Sets HeaderCellBorders and updates the job.
    void SetHeaderCellBorders(TCellBorders Value);
    /// The sides of each data cell that get a line; none by default.
    TCellBorders PageCellBorders() const { return FPageCellBorders; }
    /// Sets PageCellBorders and updates the job.
    void SetPageCellBorders(TCellBorders Value);
    /// The sides of each footer cell that get a line; none by default.
    TCellBorders FooterCellBorders() const { return FFooterCellBorders; }
    /// Sets FooterCellBorders and updates the job.
    void SetFooterCellBorders(TCellBorders Value);
    /// Whether an index column (IndexCol) comes before the data columns; false by default.
    bool IndexColumn() const { return FIndexColumn; }
    /// Sets IndexColumn and updates the job.
    void SetIndexColumn(bool Value);
    /// The number the text grids print for data row 0 in the index column.
    int IndexStart() const { return FIndexStart; }
    /// Sets IndexStart (0 by default) and updates the job.
    void SetIndexStart(int Value);

    /// Printer-pixel top of data row ARow when drawn on page PageIndex; the rows of a page share
    /// the page rectangle's height evenly and the last row of a full page ends at its bottom.
    int GetRowTop(int PageIndex, int ARow);
    /// Width of column ACol (IndexCol included) in printer pixels. By default every column,
    /// the index column too, is the margin rectangle's width divided by ColCount.
    virtual int GetColWidth(TCanvas* Canvas, int ACol);
    /// Draws the content of one cell inside Rect.
    virtual void DrawCell(TCanvas* Canvas, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget Target) = 0;
    /// Draws the border lines of one rectangle with the set chosen by CellType.
    virtual void DrawBorders(TCanvas* Canvas, const TRect& Rect, TCellType CellType, TDrawTarget Target);

    /// Content pass of one area: the cells of its rows, left to right, index column first.
    void DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target) override;
    /// Draws the page's content, then its borders on top (frame, header, data, footer cells).
    void Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target) override;

protected:
    /// Called with each cell's rectangle and column address.
    using TCellVisitor = std::function<void(const TRect& cell, int ACol)>;
    /// Visits the cells of one row from Left, index column first, with the edges Top and Bottom.
    void ForEachCell(TCanvas* Canvas, int Left, int Top, int Bottom, const TCellVisitor& visit);
    /// The data rows of page PageIndex as [First, Last); empty past the last page.
    struct TRowRange {
        /// The first data row of the page.
        int First = 0;
        /// One past the page's last data row.
        int Last = 0;
    };
    /// The data rows page PageIndex holds; an empty range for a page outside 1..PageCount.
    TRowRange PageRows(int PageIndex) const;

private:
    void RecomputePageCount();
    void DrawFrame(TCanvas* Canvas, int PageIndex, TDrawTarget Target);
    TCellBorders BordersOf(TCellType CellType) const;

    int FColCount = 1;
    int FRowCount = 1;
    int FRowsPerPage = 1;
    TCellBorders FTableBorders;
    TCellBorders FHeaderCellBorders;
    TCellBorders FPageCellBorders;
    TCellBorders FFooterCellBorders;
    bool FIndexColumn = false;
    int FIndexStart = 0;
};

} // namespace Vellaro

Q_DECLARE_METATYPE(Vellaro::TCellBorders)
Q_DECLARE_METATYPE(Vellaro::TDrawCellEvent)
Q_DECLARE_METATYPE(Vellaro::TColWidthEvent)
