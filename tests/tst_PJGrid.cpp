// The grid layout: pages by rows, row tops, cell rectangles, the order of the two passes and
// the border lines, checked on a recording canvas in printer pixels.
#include "gridjobs/PJGrid.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
struct CellCall {
    TRect Rect;
    int Page, Col, Row;
    friend bool operator==(const CellCall&, const CellCall&) = default;
};

/// A grid whose cells only remember that they were drawn, with optional fixed widths.
class LoggingGrid : public TCustomGridPrintJob {
public:
    using TCustomGridPrintJob::TCustomGridPrintJob;
    std::vector<CellCall> Cells;
    std::vector<int> Widths; ///< by column + 1 (index column first); empty: the default widths
    void DrawCell(TCanvas*, const TRect& Rect, int PageIndex, int ACol, int ARow, TDrawTarget) override
    {
        Cells.push_back({Rect, PageIndex, ACol, ARow});
    }
    int GetColWidth(TCanvas* Canvas, int ACol) override
    {
        return Widths.empty() ? TCustomGridPrintJob::GetColWidth(Canvas, ACol) : Widths.at(size_t(ACol + 1));
    }
};

std::vector<TDrawRecord> Lines(const RecordingCanvas& canvas)
{
    return RecordsOf(canvas.Records(), TDrawRecord::drLine);
}

const TCellBorders AllSides{cbTop, cbLeft, cbRight, cbBottom};

class PJGridTest : public RecordingPrinterTest {};
} // namespace

TEST_F(PJGridTest, PageCountIsRowsDividedByRowsPerPageRoundedUp)
{
    struct Case { int Rows, PerPage, Pages; };
    for (const Case c : {Case{45, 20, 3}, Case{40, 20, 2}, Case{1, 1, 1}, Case{19, 20, 1}, Case{2147483647, 2, 1073741824}}) {
        LoggingGrid grid;
        grid.SetRowsPerPage(c.PerPage);
        grid.SetRowCount(c.Rows);
        EXPECT_EQ(grid.PageCount(), c.Pages) << c.Rows << " rows at " << c.PerPage;
    }
}

TEST_F(PJGridTest, CountsBelowOneBecomeOneAndUnchangedValuesDoNotNotify)
{
    LoggingGrid grid;
    int updates = 0;
    grid.SetOnUpdate([&](TComponent*) { ++updates; });
    grid.SetColCount(0);
    grid.SetRowCount(-5);
    grid.SetRowsPerPage(0);
    grid.SetTableBorders({});
    grid.SetIndexColumn(false);
    grid.SetIndexStart(0);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(grid.ColCount(), 1);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.RowsPerPage(), 1);

    grid.SetRowsPerPage(10);
    grid.SetRowCount(5);
    updates = 0;
    grid.SetRowCount(6); // page count stays 1, the preview must still show the sixth row
    EXPECT_EQ(grid.PageCount(), 1);
    EXPECT_EQ(updates, 1);
}

TEST_F(PJGridTest, RowTopsShareThePageHeightEvenly)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100));
    ASSERT_EQ(grid.GetPageRect(), (TRect{100, 100, 700, 1100}));
    grid.SetRowsPerPage(3);
    grid.SetRowCount(7);
    EXPECT_EQ(grid.GetRowTop(1, 0), 100);
    EXPECT_EQ(grid.GetRowTop(1, 1), 433);
    EXPECT_EQ(grid.GetRowTop(1, 2), 766);
    EXPECT_EQ(grid.GetRowTop(1, 3), 1100);
    EXPECT_EQ(grid.GetRowTop(3, 6), 100); // rows count over the whole table
    EXPECT_EQ(grid.GetRowTop(3, 7), 433);
}

TEST_F(PJGridTest, RowTopsOfVeryLongPagesDoNotOverflow)
{
    // Regression: row offset times page height exceeds 32 bits beyond 325,000 rows a page.
    LoggingGrid grid;
    SetPixelPage(grid, 700, 6700, TMargins(0, 100, 0, 0));
    grid.SetRowsPerPage(1000000);
    grid.SetRowCount(1000000);
    EXPECT_EQ(grid.GetRowTop(1, 999999), 100 + int(999999LL * 6600 / 1000000));
    EXPECT_EQ(grid.GetRowTop(1, 1000000), 6700);
}

TEST_F(PJGridTest, CellsAreVisitedHeaderRowsFooterWithTheIndexColumnFirst)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100), 50, 40, {joMargins, joHeader, joFooter});
    grid.SetColCount(2);
    grid.SetRowsPerPage(2);
    grid.SetRowCount(3);
    grid.SetIndexColumn(true);
    grid.Widths = {50, 300, 250};
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 2, dtPreview);
    // Page rectangle 150..1060 for two rows: row 2 spans 150..605; page 2 has row 2 only.
    const std::vector<CellCall> expected{
        {{100, 100, 149, 150}, 2, IndexCol, HeaderRow},
        {{150, 100, 449, 150}, 2, 0, HeaderRow},
        {{450, 100, 699, 150}, 2, 1, HeaderRow},
        {{100, 150, 149, 605}, 2, IndexCol, 2},
        {{150, 150, 449, 605}, 2, 0, 2},
        {{450, 150, 699, 605}, 2, 1, 2},
        {{100, 1060, 149, 1100}, 2, IndexCol, FooterRow},
        {{150, 1060, 449, 1100}, 2, 0, FooterRow},
        {{450, 1060, 699, 1100}, 2, 1, FooterRow},
    };
    EXPECT_EQ(grid.Cells, expected);
}

TEST_F(PJGridTest, PagesOutsideTheTableDrawHeaderAndFooterCellsOnly)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100), 50, 40, {joMargins, joHeader, joFooter});
    grid.SetRowsPerPage(2);
    grid.SetRowCount(3);
    RecordingCanvas canvas;
    for (int page : {0, 3, -7}) {
        grid.Cells.clear();
        grid.Draw(&canvas.Canvas, page, dtPreview);
        ASSERT_EQ(grid.Cells.size(), 2u) << "page " << page;
        EXPECT_EQ(grid.Cells[0].Row, HeaderRow);
        EXPECT_EQ(grid.Cells[1].Row, FooterRow);
    }
}

TEST_F(PJGridTest, NeighbouringCellsShareTheirVerticalLines)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100));
    grid.SetColCount(2); // 600 / 2 = 300 each
    grid.SetPageCellBorders({cbLeft, cbRight});
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 1, dtPreview);
    ASSERT_EQ(grid.Cells.size(), 2u);
    EXPECT_EQ(grid.Cells[0].Rect, (TRect{100, 100, 399, 1100}));
    EXPECT_EQ(grid.Cells[1].Rect, (TRect{400, 100, 699, 1100}));
    std::vector<int> xs;
    for (const TDrawRecord& line : Lines(canvas)) {
        EXPECT_EQ(line.From.X, line.To.X);
        EXPECT_EQ(line.From.Y, 100);
        EXPECT_EQ(line.To.Y, 1101);
        xs.push_back(line.From.X);
    }
    EXPECT_EQ(xs, (std::vector<int>{100, 400, 400, 700}));
}

TEST_F(PJGridTest, BorderPassRunsFrameHeaderDataFooterWithAThinBlackPen)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100), 50, 40, {joMargins, joHeader, joFooter});
    grid.SetRowsPerPage(2);
    grid.SetRowCount(2);
    grid.SetTableBorders({cbTop});
    grid.SetHeaderCellBorders({cbTop});
    grid.SetPageCellBorders({cbBottom});
    grid.SetFooterCellBorders({cbTop});
    grid.SetOnInitDraw([](TComponent*, TCanvas* c, TDrawTarget) {
        c->Pen()->SetWidth(7);
        c->Pen()->SetColor(clRed);
    });
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 1, dtPreview);
    std::vector<int> ys;
    for (const TDrawRecord& line : Lines(canvas)) {
        ys.push_back(line.From.Y);
        EXPECT_EQ(line.PenWidth, 0);
        EXPECT_EQ(line.Color, clBlack);
    }
    // frame top, header top, bottoms of rows 0 and 1, footer top
    EXPECT_EQ(ys, (std::vector<int>{100, 100, 605, 1060, 1060}));
}

TEST_F(PJGridTest, FrameEndsAtTheLastRowOnTheLastPage)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100));
    grid.SetColCount(3);
    grid.SetRowsPerPage(20);
    grid.SetRowCount(45);
    grid.SetTableBorders(AllSides);
    RecordingCanvas canvas;
    for (int page : {2, 3}) {
        canvas.Clear();
        grid.Cells.clear();
        grid.Draw(&canvas.Canvas, page, dtPreview);
        const std::vector<TDrawRecord> lines = Lines(canvas);
        ASSERT_EQ(lines.size(), 4u);
        const int bottom = page == 3 ? grid.GetRowTop(3, 45) : 1100;
        EXPECT_EQ(lines[0].From, (TPoint{100, 100})); // top
        EXPECT_EQ(lines[0].To, (TPoint{701, 100}));
        EXPECT_EQ(lines[1].From, (TPoint{100, bottom})); // bottom
        EXPECT_EQ(lines[3].From, (TPoint{701, 100}));    // right: one past the last cell's right line
        EXPECT_EQ(lines[3].To, (TPoint{701, bottom + 1}));
        EXPECT_EQ(grid.Cells.size(), page == 3 ? 15u : 60u);
    }
    EXPECT_EQ(grid.GetRowTop(3, 45), 100 + 5 * 1000 / 20);
}

TEST_F(PJGridTest, DefaultWidthsMakeTheIndexColumnOneColumnTooWide)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100));
    grid.SetColCount(2);
    grid.SetIndexColumn(true);
    grid.SetTableBorders({cbRight});
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 1, dtPreview);
    ASSERT_EQ(grid.Cells.size(), 3u);
    EXPECT_EQ(grid.Cells[0].Col, IndexCol);
    EXPECT_EQ(grid.Cells[0].Rect.Right, 399);
    EXPECT_EQ(Lines(canvas).at(0).From.X, 100 + 3 * 300 + 1); // the frame ends at 1000, its right line one past it
}

TEST_F(PJGridTest, ZeroWidthColumnsGetAnInvertedRectangleAndTakeNoRoom)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100));
    grid.SetColCount(3);
    grid.Widths = {0, 200, 0, 150};
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 1, dtPreview);
    ASSERT_EQ(grid.Cells.size(), 3u);
    EXPECT_EQ(grid.Cells[0].Rect.Right, 299);
    EXPECT_EQ(grid.Cells[1].Rect.Left, 300);
    EXPECT_EQ(grid.Cells[1].Rect.Right, 299);
    EXPECT_EQ(grid.Cells[2].Rect.Left, 300);
}

TEST_F(PJGridTest, HeaderAndFooterOffLeaveTheFrameOnTheMarginRectangle)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100), 50, 40, {joMargins});
    grid.SetRowsPerPage(4);
    grid.SetRowCount(8);
    grid.SetTableBorders({cbTop, cbBottom});
    grid.SetHeaderCellBorders(AllSides);
    grid.SetFooterCellBorders(AllSides);
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 1, dtPreview);
    const std::vector<TDrawRecord> lines = Lines(canvas);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].From.Y, 100);
    EXPECT_EQ(lines[1].From.Y, 1100);
    for (const CellCall& cell : grid.Cells)
        EXPECT_TRUE(cell.Row >= 0 && cell.Row < 4);
}

TEST_F(PJGridTest, BordersAreDrawnWhileDrawingIsLocked)
{
    LoggingGrid grid;
    SetPixelPage(grid, 700, 1200, TMargins(100, 100, 0, 100));
    grid.SetTableBorders(AllSides);
    grid.LockDraw();
    RecordingCanvas canvas;
    grid.Draw(&canvas.Canvas, 1, dtPreview);
    EXPECT_TRUE(grid.Cells.empty());
    EXPECT_EQ(Lines(canvas).size(), 4u);
}

TEST_F(PJGridTest, PrintedPagesCarryTheirOwnRows)
{
    LoggingGrid grid;
    grid.SetRowsPerPage(20);
    grid.SetRowCount(45);
    grid.Print();
    ASSERT_EQ(Recording()->Recorder().PageCount(), 3);
    std::vector<int> rowsPerPage(4, 0);
    for (const CellCall& cell : grid.Cells)
        ++rowsPerPage.at(size_t(cell.Page));
    EXPECT_EQ(rowsPerPage, (std::vector<int>{0, 20, 20, 5}));
}
