// The event-driven text grid job: texts, alignments and widths from events, with centred,
// empty, 0-wide cells without handlers.
#include "gridjobs/PJSimpleTextGrid.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class PJSimpleTextGridTest : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        SetPixelPage(Job, 4200, 1200, TMargins(100, 100, 100, 100), 100, 100, {joMargins, joHeader, joFooter});
    }
    TSimpleTextGridPrintJob Job;
    RecordingCanvas Canvas;
};
} // namespace

TEST_F(PJSimpleTextGridTest, PublishesItsPropertiesInStreamingOrder)
{
    const QStringList expected = QStringList{"Name", "Tag", "OnColWidth", "OnCellText", "OnCellAlign", "HeaderFont",
        "PageFont", "FooterFont", "ClipMode", "ColCount", "RowCount"}
        + GridLayoutProperties() + PageAndEventProperties(false);
    EXPECT_EQ(PublishedProperties(TSimpleTextGridPrintJob::staticMetaObject), expected);
}

TEST_F(PJSimpleTextGridTest, WithoutHandlersCellsAreEmptyCentredAndZeroWide)
{
    Job.SetColCount(5);
    Job.SetRowCount(50);
    Job.SetRowsPerPage(20);
    Job.SetIndexColumn(true);
    EXPECT_EQ(Job.PageCount(), 3);
    for (int col : {IndexCol, 0, 4})
        EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, col), 0);
    EXPECT_EQ(Job.GetCellText(1, IndexCol, 0), QString());
    EXPECT_EQ(Job.GetCellText(1, 4, FooterRow), QString()); // no page number of its own
    EXPECT_EQ(Job.GetCellAlignment(IndexCol, FooterRow), taCenter);
}

TEST_F(PJSimpleTextGridTest, EventsSeeEveryCellAddressInDrawingOrder)
{
    Job.SetColCount(2);
    Job.SetRowCount(2);
    Job.SetRowsPerPage(2);
    Job.SetIndexColumn(true);
    Job.SetOnColWidth([](TComponent*, TCanvas*, int, int& width) { width = 2000; });
    QStringList calls;
    Job.SetOnCellText([&](TComponent*, int page, int col, int row, QString& text) {
        EXPECT_EQ(page, 1);
        calls << QStringLiteral("text %1,%2").arg(col).arg(row);
        text = QStringLiteral("%1/%2").arg(col).arg(row);
    });
    Job.SetOnCellAlign([&](TComponent*, int col, int row, TAlignment& alignment) {
        EXPECT_EQ(alignment, taCenter);
        calls << QStringLiteral("align %1,%2").arg(col).arg(row);
        if (col == 1)
            alignment = taRightJustify;
    });
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
    ASSERT_EQ(calls.size(), 24);
    EXPECT_EQ(calls[0], QStringLiteral("text -1,-2147483647"));
    EXPECT_EQ(calls[1], QStringLiteral("align -1,-2147483647"));
    EXPECT_EQ(calls[6], QStringLiteral("text -1,0"));
    EXPECT_EQ(calls[23], QStringLiteral("align 1,2147483647"));
    const std::vector<TDrawRecord> texts = RecordsOf(Canvas.Records(), TDrawRecord::drText);
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[4].Text, QStringLiteral("0/0"));
    EXPECT_EQ(texts[4].Format, 0x824u | DT_END_ELLIPSIS | DT_CENTER);
    EXPECT_EQ(texts[5].Format, 0x824u | DT_END_ELLIPSIS | DT_RIGHT);
}

TEST_F(PJSimpleTextGridTest, WidthsOfAPageWidthOverColCountFillThePage)
{
    Job.SetColCount(4);
    Job.SetTableBorders({cbRight});
    Job.SetOnColWidth([&](TComponent*, TCanvas*, int, int& width) { width = Job.GetPageRect().Width() / Job.ColCount(); });
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
    const std::vector<TDrawRecord> lines = RecordsOf(Canvas.Records(), TDrawRecord::drLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].From.X, 4100 + 1); // the frame's right line, one past the page's right edge
}
