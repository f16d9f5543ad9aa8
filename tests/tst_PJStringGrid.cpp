// The string grid job: counts from the grid, titles from row 0, widths in the grid's
// proportions, and the reference cleared when the grid goes away.
#include "gridjobs/PJStringGrid.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class PJStringGridTest : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        // Page rectangle 100..4100 wide.
        SetPixelPage(Job, 4200, 1400, TMargins(100, 100, 100, 100), 100, 100, {joMargins, joHeader, joFooter});
        Grid = std::make_unique<TStringGrid>();
        Grid->SetColCount(2);
        Grid->SetRowCount(11);
        for (int row = 0; row < 11; ++row)
            for (int col = 0; col < 2; ++col)
                Grid->SetCells(col, row, QStringLiteral("r%1c%2").arg(row).arg(col));
        Job.SetRowsPerPage(20);
    }
    std::unique_ptr<TStringGrid> Grid;
    TStringGridPrintJob Job;
    RecordingCanvas Canvas;
};
} // namespace

TEST_F(PJStringGridTest, PublishesItsPropertiesInStreamingOrder)
{
    const QStringList expected = QStringList{"Name", "Tag", "StringGrid", "HeaderFont", "PageFont", "FooterFont", "ClipMode"}
        + GridLayoutProperties() + PageAndEventProperties(false);
    EXPECT_EQ(PublishedProperties(TStringGridPrintJob::staticMetaObject), expected);
}

TEST_F(PJStringGridTest, HeaderTakesTheTitlesFromGridRowZero)
{
    Job.SetStringGrid(Grid.get());
    EXPECT_EQ(Job.ColCount(), 2);
    EXPECT_EQ(Job.RowCount(), 10);
    EXPECT_EQ(Job.PageCount(), 1);
    EXPECT_EQ(Job.GetCellText(1, 1, HeaderRow), QStringLiteral("r0c1"));
    EXPECT_EQ(Job.GetCellText(1, 0, 0), QStringLiteral("r1c0"));
    EXPECT_EQ(Job.GetCellText(1, 1, 9), QStringLiteral("r10c1"));
    EXPECT_EQ(Job.GetCellText(1, 1, FooterRow), QStringLiteral("Page 1 from 1"));
    EXPECT_EQ(Job.GetCellText(1, IndexCol, 4), QStringLiteral("4"));

    Job.SetOptions({joMargins, joFooter}); // header off: every grid row is a data row
    EXPECT_EQ(Job.RowCount(), 11);
    EXPECT_EQ(Job.GetCellText(1, 0, 0), QStringLiteral("r0c0"));
    EXPECT_EQ(Job.GetCellText(1, 1, 10), QStringLiteral("r10c1"));
}

TEST_F(PJStringGridTest, PrintedPageShowsTitlesRowsAndTheSpanningPageNumber)
{
    Job.SetStringGrid(Grid.get());
    Job.Print();
    QStringList shown;
    for (const QString& text : Texts(PageRecords(1)))
        if (!text.isEmpty())
            shown << text;
    ASSERT_EQ(shown.size(), 2 + 20 + 1);
    EXPECT_EQ(shown.mid(0, 4), (QStringList{"r0c0", "r0c1", "r1c0", "r1c1"}));
    EXPECT_EQ(shown.last(), QStringLiteral("Page 1 from 1"));
}

TEST_F(PJStringGridTest, ColumnsKeepTheGridsProportionsAcrossThePage)
{
    Grid->SetColWidths(0, 64);
    Grid->SetColWidths(1, 192);
    Job.SetStringGrid(Grid.get());
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 1000);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 1), 3000);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 2), 0);

    // With the index column the columns fill what it leaves, measured in the page font
    // whatever font the canvas has; the canvas keeps its font.
    Job.SetIndexColumn(true);
    Canvas.Canvas.Font()->SetSize(40);
    const TFont before = *Canvas.Canvas.Font();
    const int index = Job.GetColWidth(&Canvas.Canvas, IndexCol);
    EXPECT_EQ(*Canvas.Canvas.Font(), before);
    Canvas.Canvas.Font()->Assign(*Job.PageFont());
    EXPECT_EQ(index, Canvas.Canvas.TextWidth(QStringLiteral("    10")) + 2);
    const int available = 4000 - index;
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 64 * available / 256);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 1), 192 * available / 256);
}

TEST_F(PJStringGridTest, ColumnWidthsAddingUpToZeroGiveZeroWideColumns)
{
    Grid->SetColWidths(0, 0);
    Grid->SetColWidths(1, 0);
    Job.SetStringGrid(Grid.get());
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 0);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 1), 0);
    Job.Draw(&Canvas.Canvas, 1, dtPreview); // lays out without a division by zero
}

TEST_F(PJStringGridTest, AOneRowGridWithHeaderPrintsItsDataRowEmpty)
{
    Grid->SetRowCount(1);
    Job.SetStringGrid(Grid.get());
    EXPECT_EQ(Job.RowCount(), 1);
    EXPECT_EQ(Job.GetCellText(1, 0, HeaderRow), QStringLiteral("r0c0"));
    EXPECT_EQ(Job.GetCellText(1, 0, 0), QString());
}

TEST_F(PJStringGridTest, CountsFollowTheGridOnlyWhenUpdated)
{
    Job.SetStringGrid(Grid.get());
    Grid->SetRowCount(31);
    EXPECT_EQ(Job.RowCount(), 10);
    Job.Update();
    EXPECT_EQ(Job.RowCount(), 30);
    EXPECT_EQ(Job.PageCount(), 2);
}

TEST_F(PJStringGridTest, WithoutAGridOnlyThePageNumberIsLeft)
{
    Job.SetStringGrid(Grid.get());
    Job.SetStringGrid(nullptr);
    EXPECT_EQ(Job.ColCount(), 1);
    EXPECT_EQ(Job.RowCount(), 1);
    for (int col : {IndexCol, 0, 1})
        EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, col), 100);
    EXPECT_EQ(Job.GetCellText(1, 0, HeaderRow), QString());
    EXPECT_EQ(Job.GetCellText(1, IndexCol, 0), QString());
    EXPECT_EQ(Job.GetCellText(1, 0, FooterRow), QStringLiteral("Page 1 from 1"));
}

TEST_F(PJStringGridTest, DestroyingTheGridClearsTheReferenceWithoutAnUpdate)
{
    // The grid belongs to another owner: only the free notification can tell the job.
    auto form = std::make_unique<TComponent>();
    auto* grid = new TStringGrid(form.get());
    Job.SetStringGrid(grid);
    int updates = 0;
    Job.SetOnUpdate([&](TComponent*) { ++updates; });
    form.reset();
    EXPECT_EQ(Job.StringGrid(), nullptr);
    EXPECT_EQ(updates, 0);
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
}
