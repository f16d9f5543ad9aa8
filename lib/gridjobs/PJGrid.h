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
    explicit TCustomGridPrintJob(TComponent* AOwner = nullptr);

    // Properties. Counts below 1 become 1; a changed RowCount or RowsPerPage recomputes PageCount.
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int RowsPerPage() const { return FRowsPerPage; }
    void SetRowsPerPage(int Value);
    TCellBorders TableBorders() const { return FTableBorders; }
    void SetTableBorders(TCellBorders Value);
    TCellBorders HeaderCellBorders() const { return FHeaderCellBorders; }
    void SetHeaderCellBorders(TCellBorders Value);
    TCellBorders PageCellBorders() const { return FPageCellBorders; }
    void SetPageCellBorders(TCellBorders Value);
    TCellBorders FooterCellBorders() const { return FFooterCellBorders; }
    void SetFooterCellBorders(TCellBorders Value);
    bool IndexColumn() const { return FIndexColumn; }
    void SetIndexColumn(bool Value);
    /// The number the text grids print for data row 0 in the index column.
    int IndexStart() const { return FIndexStart; }
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
    using TCellVisitor = std::function<void(const TRect& cell, int ACol)>;
    /// Visits the cells of one row from Left, index column first, with the edges Top and Bottom.
    void ForEachCell(TCanvas* Canvas, int Left, int Top, int Bottom, const TCellVisitor& visit);
    /// The data rows of page PageIndex as [First, Last); empty past the last page.
    struct TRowRange {
        int First = 0;
        int Last = 0;
    };
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
