// The event-drawn grid job: OnDrawCell gets every cell in order, OnColWidth adjusts widths.
#include "gridjobs/PJSimpleGrid.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class PJSimpleGridTest : public RecordingPrinterTest {};
} // namespace

TEST_F(PJSimpleGridTest, PublishesItsPropertiesInStreamingOrder)
{
    const QStringList expected = QStringList{"Name", "Tag", "OnColWidth", "OnDrawCell", "ColCount", "RowCount"}
        + GridLayoutProperties() + PageAndEventProperties(true);
    EXPECT_EQ(PublishedProperties(TSimpleGridPrintJob::staticMetaObject), expected);
}

TEST_F(PJSimpleGridTest, DrawCellReceivesEveryCellAndFindsTheCanvasAsTheLastCellLeftIt)
{
    TSimpleGridPrintJob job;
    SetPixelPage(job, 700, 1200, TMargins(100, 100, 0, 100), 50, 50, {joMargins, joHeader, joFooter});
    job.SetColCount(2);
    job.SetRowCount(3);
    job.SetRowsPerPage(3);
    job.SetIndexColumn(true);
    std::vector<std::pair<int, int>> addresses;
    std::vector<TColor> colorsFound;
    job.SetOnDrawCell([&](TComponent* sender, TCanvas* canvas, const TRect& rect, int page, int col, int row, TDrawTarget) {
        EXPECT_EQ(sender, &job);
        EXPECT_EQ(page, 1);
        EXPECT_GE(rect.Right, rect.Left);
        addresses.emplace_back(col, row);
        colorsFound.push_back(canvas->Brush()->Color());
        canvas->Brush()->SetColor(TColor(addresses.size()));
    });
    RecordingCanvas canvas;
    job.Draw(&canvas.Canvas, 1, dtPreview);
    ASSERT_EQ(addresses.size(), 15u);
    EXPECT_EQ(addresses.front(), std::make_pair(IndexCol, HeaderRow));
    EXPECT_EQ(addresses[4], std::make_pair(0, 0));
    EXPECT_EQ(addresses.back(), std::make_pair(1, FooterRow));
    EXPECT_EQ(colorsFound[0], clWhite); // as canvas initialisation left it
    EXPECT_EQ(colorsFound[5], TColor(5));
}

TEST_F(PJSimpleGridTest, ColWidthEventAdjustsTheDefaultWidth)
{
    TSimpleGridPrintJob job;
    SetPixelPage(job, 700, 1200, TMargins(100, 100, 0, 100));
    job.SetColCount(3);
    job.SetIndexColumn(true);
    std::vector<int> defaults;
    job.SetOnColWidth([&](TComponent*, TCanvas*, int col, int& width) {
        defaults.push_back(width);
        width = col == IndexCol ? 40 : 100 * (col + 1);
    });
    std::vector<TRect> rects;
    job.SetOnDrawCell([&](TComponent*, TCanvas*, const TRect& r, int, int, int, TDrawTarget) { rects.push_back(r); });
    RecordingCanvas canvas;
    job.Draw(&canvas.Canvas, 1, dtPreview);
    EXPECT_EQ(defaults.at(0), 200); // 600 / 3, asked for the index column too
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], (TRect{100, 100, 139, 1100}));
    EXPECT_EQ(rects[1], (TRect{140, 100, 239, 1100}));
    EXPECT_EQ(rects[3], (TRect{440, 100, 739, 1100}));
}
