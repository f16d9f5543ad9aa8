#include "gridjobs/PJGrid.h"

#include "platform/core/ClassRegistry.h"

#include <algorithm>

namespace Vellaro {

VELLARO_REGISTER_SET(TCellBorder)

TCustomGridPrintJob::TCustomGridPrintJob(TComponent* AOwner)
    : TCustomPrintJob(AOwner)
{
}

// ---- Properties -------------------------------------------------------------------------

void TCustomGridPrintJob::SetColCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FColCount)
        return;
    FColCount = Value;
    Update();
}

void TCustomGridPrintJob::SetRowCount(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FRowCount)
        return;
    FRowCount = Value;
    RecomputePageCount();
    Update();
}

void TCustomGridPrintJob::SetRowsPerPage(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FRowsPerPage)
        return;
    FRowsPerPage = Value;
    RecomputePageCount();
    Update();
}

void TCustomGridPrintJob::RecomputePageCount()
{
    // One notification for the whole change: the caller updates once afterwards.
    LockUpdate();
    try {
        SetPageCount(FRowCount / FRowsPerPage + (FRowCount % FRowsPerPage > 0 ? 1 : 0));
    } catch (...) {
        UnlockUpdate();
        throw;
    }
    UnlockUpdate();
}

void TCustomGridPrintJob::SetTableBorders(TCellBorders Value)
{
    if (Value == FTableBorders)
        return;
    FTableBorders = Value;
    Update();
}

void TCustomGridPrintJob::SetHeaderCellBorders(TCellBorders Value)
{
    if (Value == FHeaderCellBorders)
        return;
    FHeaderCellBorders = Value;
    Update();
}

void TCustomGridPrintJob::SetPageCellBorders(TCellBorders Value)
{
    if (Value == FPageCellBorders)
        return;
    FPageCellBorders = Value;
    Update();
}

void TCustomGridPrintJob::SetFooterCellBorders(TCellBorders Value)
{
    if (Value == FFooterCellBorders)
        return;
    FFooterCellBorders = Value;
    Update();
}

void TCustomGridPrintJob::SetIndexColumn(bool Value)
{
    if (Value == FIndexColumn)
        return;
    FIndexColumn = Value;
    Update();
}

void TCustomGridPrintJob::SetIndexStart(int Value)
{
    if (Value == FIndexStart)
        return;
    FIndexStart = Value;
    Update();
}

// ---- Layout -----------------------------------------------------------------------------

namespace {
/// The top of a row in the page area: rows share the area evenly.
int RowTopIn(const TRect& page, int rowsPerPage, int PageIndex, int ARow)
{
    // Wide intermediates: the 32-bit product of row offset and page height would overflow
    // for very long pages; results are the same wherever it does not.
    const __int128 offset = __int128(ARow) - (__int128(PageIndex) - 1) * rowsPerPage;
    const __int128 height = __int128(page.Bottom) - page.Top;
    const __int128 top = page.Top + offset * height / rowsPerPage;
    return top > INT_MAX ? INT_MAX : top < INT_MIN ? INT_MIN : int(top);
}
} // namespace

int TCustomGridPrintJob::GetRowTop(int PageIndex, int ARow)
{
    return RowTopIn(GetPageRect(), FRowsPerPage, PageIndex, ARow);
}

int TCustomGridPrintJob::GetColWidth(TCanvas* /*Canvas*/, int /*ACol*/)
{
    const TRect margins = GetMarginRect();
    return ClampToInt((std::int64_t(margins.Right) - margins.Left) / FColCount);
}

TCustomGridPrintJob::TRowRange TCustomGridPrintJob::PageRows(int PageIndex) const
{
    // Pages before the first hold no rows, like pages after the last.
    const std::int64_t first = (std::int64_t(PageIndex) - 1) * FRowsPerPage;
    const std::int64_t end = std::min<std::int64_t>(std::int64_t(PageIndex) * FRowsPerPage, FRowCount);
    if (first < 0 || first >= end)
        return {};
    return {int(first), int(end)};
}

void TCustomGridPrintJob::ForEachCell(TCanvas* Canvas, int Left, int Top, int Bottom, const TCellVisitor& visit)
{
    std::int64_t x = Left;
    const auto visitColumn = [&](int col) {
        const int width = GetColWidth(Canvas, col);
        visit(TRect{ClampToInt(x), Top, ClampToInt(x + width - 1), Bottom}, col);
        // Asked again: descendants and OnColWidth answer the same within one pass.
        x += GetColWidth(Canvas, col);
    };
    if (FIndexColumn)
        visitColumn(IndexCol);
    for (int col = 0; col < FColCount; ++col)
        visitColumn(col);
}

// ---- Drawing ----------------------------------------------------------------------------

void TCustomGridPrintJob::DrawArea(TCanvas* TheCanvas, int PageIndex, TRect TheRect, TDrawArea Area, TDrawTarget Target)
{
    const auto drawRow = [&](int row, int top, int bottom) {
        ForEachCell(TheCanvas, TheRect.Left, top, bottom, [&](const TRect& cell, int col) {
            DrawCell(TheCanvas, cell, PageIndex, col, row, Target);
        });
    };
    switch (Area) {
    case daHeader:
        drawRow(HeaderRow, TheRect.Top, TheRect.Bottom);
        break;
    case daPage: {
        // The page area is worked out once a page, not twice a row.
        const TRect page = GetPageRect();
        const TRowRange rows = PageRows(PageIndex);
        for (int row = rows.First; row < rows.Last; ++row)
            drawRow(row, RowTopIn(page, FRowsPerPage, PageIndex, row), RowTopIn(page, FRowsPerPage, PageIndex, row + 1));
        break;
    }
    case daFooter:
        drawRow(FooterRow, TheRect.Top, TheRect.Bottom);
        break;
    }
}

void TCustomGridPrintJob::Draw(TCanvas* TheCanvas, int PageIndex, TDrawTarget Target)
{
    TCustomPrintJob::Draw(TheCanvas, PageIndex, Target);
    // The borders go on top of all content, and are drawn even while drawing is locked.
    DrawFrame(TheCanvas, PageIndex, Target);
    const auto bordersOfRow = [&](int left, int top, int bottom, TCellType type) {
        ForEachCell(TheCanvas, left, top, bottom, [&](const TRect& cell, int) {
            DrawBorders(TheCanvas, cell, type, Target);
        });
    };
    if (Options().Contains(joHeader)) {
        const TRect header = GetHeaderRect();
        bordersOfRow(header.Left, header.Top, header.Bottom, ctHeader);
    }
    const TRect page = GetPageRect();
    const TRowRange rows = PageRows(PageIndex);
    for (int row = rows.First; row < rows.Last; ++row)
        bordersOfRow(page.Left, RowTopIn(page, FRowsPerPage, PageIndex, row), RowTopIn(page, FRowsPerPage, PageIndex, row + 1), ctPage);
    if (Options().Contains(joFooter)) {
        const TRect footer = GetFooterRect();
        bordersOfRow(footer.Left, footer.Top, footer.Bottom, ctFooter);
    }
}

void TCustomGridPrintJob::DrawFrame(TCanvas* Canvas, int PageIndex, TDrawTarget Target)
{
    TRect frame = GetMarginRect();
    std::int64_t width = 0;
    if (FIndexColumn)
        width += GetColWidth(Canvas, IndexCol);
    for (int col = 0; col < FColCount; ++col)
        width += GetColWidth(Canvas, col);
    // The frame's right line lies one unit right of the last cell's right line.
    frame.Right = ClampToInt(frame.Left + width);
    if (PageIndex == PageCount())
        frame.Bottom = GetRowTop(PageIndex, FRowCount);
    DrawBorders(Canvas, frame, ctTable, Target);
}

TCellBorders TCustomGridPrintJob::BordersOf(TCellType CellType) const
{
    switch (CellType) {
    case ctTable: return FTableBorders;
    case ctHeader: return FHeaderCellBorders;
    case ctFooter: return FFooterCellBorders;
    default: return FPageCellBorders;
    }
}

void TCustomGridPrintJob::DrawBorders(TCanvas* Canvas, const TRect& Rect, TCellType CellType, TDrawTarget /*Target*/)
{
    const TCellBorders borders = BordersOf(CellType);
    TPen* pen = Canvas->Pen();
    pen->SetWidth(0);
    pen->SetColor(clBlack);
    pen->SetMode(pmCopy);
    const int left = Rect.Left;
    const int top = Rect.Top;
    // A line leaves out its end point, so the far ends reach one unit further.
    const int right = ClampToInt(std::int64_t(Rect.Right) + 1);
    const int bottom = ClampToInt(std::int64_t(Rect.Bottom) + 1);
    const auto line = [Canvas](int x1, int y1, int x2, int y2) {
        Canvas->MoveTo(x1, y1);
        Canvas->LineTo(x2, y2);
    };
    if (borders.Contains(cbTop))
        line(left, top, right, top);
    if (borders.Contains(cbBottom))
        line(left, Rect.Bottom, right, Rect.Bottom);
    if (borders.Contains(cbLeft))
        line(left, top, left, bottom);
    if (borders.Contains(cbRight))
        line(right, top, right, bottom);
}

} // namespace Vellaro
