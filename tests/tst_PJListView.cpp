// The list view job: columns and items from the list, captions as titles, images by row
// number, widths in the list's proportions, and references cleared when the controls go away.
#include "gridjobs/PJListView.h"

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class PJListViewTest : public RecordingPrinterTest {
protected:
    void SetUp() override
    {
        RecordingPrinterTest::SetUp();
        // Page rectangle 100..4100 x 200..1300, rows of 55.
        SetPixelPage(Job, 4200, 1400, TMargins(100, 100, 100, 100), 100, 100, {joMargins, joHeader});
        View = std::make_unique<TListView>();
        const QStringList captions{"Name", "Size", "Kind"};
        for (int c = 0; c < 3; ++c) {
            TListColumn column = View->Columns().Add();
            column.SetCaption(captions[c]);
            column.SetWidth(100);
        }
        View->Columns().Items(1).SetAlignment(taRightJustify);
        for (int i = 0; i < 12; ++i) {
            TListItem item = View->Items().Add();
            item.SetCaption(QStringLiteral("item%1").arg(i));
            item.SetSubItems(i == 5 ? QStringList{"only"} : QStringList{QString::number(i * 10), QStringLiteral("kind%1").arg(i)});
        }
        Job.SetRowsPerPage(20);
    }
    std::unique_ptr<TImageList> ImagesOf(int count)
    {
        auto images = std::make_unique<TImageList>();
        for (int i = 0; i < count; ++i) {
            TBitmap bitmap(8, 8);
            images->Add(bitmap);
        }
        return images;
    }
    std::unique_ptr<TListView> View;
    TListViewPrintJob Job;
    RecordingCanvas Canvas;
};
} // namespace

TEST_F(PJListViewTest, PublishesItsPropertiesInStreamingOrder)
{
    const QStringList expected = QStringList{"Name", "Tag", "ListView", "DrawIcons", "HeaderFont", "PageFont",
        "FooterFont", "ClipMode"} + GridLayoutProperties() + PageAndEventProperties(false);
    EXPECT_EQ(PublishedProperties(TListViewPrintJob::staticMetaObject), expected);
}

TEST_F(PJListViewTest, PrintsCaptionsItemsAndSubItemsInColumns)
{
    Job.SetListView(View.get());
    EXPECT_EQ(Job.ColCount(), 3);
    EXPECT_EQ(Job.RowCount(), 12);
    EXPECT_EQ(Job.PageCount(), 1);
    struct Case { int Col, Row; QString Text; };
    const Case cases[] = {
        {0, HeaderRow, "Name"}, {2, HeaderRow, "Kind"}, {IndexCol, HeaderRow, "#"},
        {0, 0, "item0"}, {1, 3, "30"}, {2, 11, "kind11"},
        {1, 5, "only"}, {2, 5, ""}, // fewer sub-items than columns
        {2, FooterRow, ""}, {IndexCol, 7, "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Job.GetCellText(1, c.Col, c.Row), c.Text) << c.Col << "," << c.Row;
    EXPECT_EQ(Job.GetCellAlignment(1, HeaderRow), taRightJustify);
    EXPECT_EQ(Job.GetCellAlignment(1, FooterRow), taRightJustify);
    EXPECT_EQ(Job.GetCellAlignment(0, 4), taLeftJustify);
    EXPECT_EQ(Job.GetCellAlignment(IndexCol, 4), taRightJustify);
}

TEST_F(PJListViewTest, FooterStaysBlank)
{
    Job.SetListView(View.get());
    Job.SetOptions({joMargins, joHeader, joFooter});
    Job.SetFooter(100);
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
    for (const TDrawRecord& text : RecordsOf(Canvas.Records(), TDrawRecord::drText))
        EXPECT_FALSE(text.Text.startsWith(QStringLiteral("Page")));
}

TEST_F(PJListViewTest, WidthsFollowTheListsProportions)
{
    View->Columns().Items(0).SetWidth(100);
    View->Columns().Items(1).SetWidth(300);
    View->Columns().Items(2).SetWidth(0);
    Job.SetListView(View.get());
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 1000);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 1), 3000);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 2), 0);
    for (int c = 0; c < 3; ++c)
        View->Columns().Items(c).SetWidth(0);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 1), 0);
}

TEST_F(PJListViewTest, AListWithoutColumnsPrintsOneEmptyZeroWideColumn)
{
    View->Columns().Clear();
    Job.SetListView(View.get());
    EXPECT_EQ(Job.ColCount(), 1);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 0);
    EXPECT_EQ(Job.GetCellText(1, 0, HeaderRow), QString());
    EXPECT_EQ(Job.GetCellAlignment(0, HeaderRow), taLeftJustify);
    EXPECT_EQ(Job.GetCellText(1, 0, 2), QStringLiteral("item2")); // items keep their caption
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
}

TEST_F(PJListViewTest, IconsAreTakenByRowNumberAndPushTheCaptionRight)
{
    auto images = ImagesOf(4);
    View->SetSmallImages(images.get());
    Job.SetListView(View.get());
    Job.SetRowsPerPage(10);
    Job.SetDrawIcons(true);
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
    const std::vector<TDrawRecord> bitmaps = RecordsOf(Canvas.Records(), TDrawRecord::drBitmap);
    ASSERT_EQ(bitmaps.size(), 10u); // one per data row; past the 4th image the list gives blanks
    // Row 0 spans 200..310; no index column, so the header font (12 pt, 100 px) sets the side.
    const int side = 100;
    const int top = (200 + 310 - side) / 2;
    EXPECT_EQ(bitmaps[0].Rect, (TRect{100 + (top - 200), top, 100 + (top - 200) + side, top + side}));
    EXPECT_EQ(bitmaps[0].SourceSize, QSize(16, 16));
    const std::vector<TDrawRecord> texts = RecordsOf(Canvas.Records(), TDrawRecord::drText);
    Canvas.Canvas.Font()->Assign(*Job.PageFont());
    const int inset = Canvas.Canvas.TextWidth(QStringLiteral("  "));
    for (const TDrawRecord& text : texts)
        if (text.Text == QStringLiteral("item0"))
            EXPECT_EQ(text.ClipRect.Left, bitmaps[0].Rect.Right + inset);
}

TEST_F(PJListViewTest, IconsOnWithoutAnImageListLookAsWithIconsOff)
{
    Job.SetListView(View.get());
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
    const std::vector<TDrawRecord> off = Canvas.Records();
    Canvas.Clear();
    Job.SetDrawIcons(true);
    Job.Draw(&Canvas.Canvas, 1, dtPreview);
    ASSERT_EQ(Canvas.Records().size(), off.size());
    for (size_t i = 0; i < off.size(); ++i) {
        EXPECT_EQ(Canvas.Records()[i].Kind, off[i].Kind);
        EXPECT_EQ(Canvas.Records()[i].Rect, off[i].Rect);
        EXPECT_EQ(Canvas.Records()[i].Text, off[i].Text);
    }
}

TEST_F(PJListViewTest, IconsPrintPastTheEndOfTheImageList)
{
    auto images = ImagesOf(2);
    View->SetLargeImages(images.get());
    Job.SetListView(View.get());
    Job.SetDrawIcons(true);
    Job.Print(); // rows 2..11 have no image of their own: blank squares, no failure
    EXPECT_EQ(OfKind(PageRecords(1), TDrawRecord::drBitmap).size(), 12u);
}

TEST_F(PJListViewTest, RemovalClearsTheReferencesOfJobAndList)
{
    auto form = std::make_unique<TComponent>();
    auto* images = new TImageList(form.get());
    View->SetLargeImages(images);
    View->SetSmallImages(images);
    auto* view = new TListView(form.get());
    Job.SetListView(view);
    int updates = 0;
    Job.SetOnUpdate([&](TComponent*) { ++updates; });
    delete images;
    EXPECT_EQ(View->LargeImages(), nullptr);
    EXPECT_EQ(View->SmallImages(), nullptr);
    form.reset();
    EXPECT_EQ(Job.ListView(), nullptr);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(Job.GetColWidth(&Canvas.Canvas, 0), 100);
}

TEST_F(PJListViewTest, EachRowShowsTheImageOfItsRowNumber)
{
    // Painted for real: the recorder keeps no pixels.
    auto images = std::make_unique<TImageList>();
    const TColor colors[] = {clRed, clLime, clBlue};
    for (TColor color : colors) {
        TBitmap bitmap(16, 16);
        bitmap.Canvas()->Brush()->SetColor(color);
        bitmap.Canvas()->FillRect({0, 0, 16, 16});
        images->Add(bitmap);
    }
    View->SetLargeImages(images.get());
    Job.SetListView(View.get());
    Job.SetRowsPerPage(10);
    Job.SetDrawIcons(true);
    QImage page(4200, 1400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        TDeviceContext context(&page, 600, 600);
        TCanvas canvas;
        canvas.SetHandle(&context);
        canvas.Font()->SetPixelsPerInch(600);
        Job.Draw(&canvas, 1, dtPreview);
    }
    // Rows of 110 from 200; each image square is 100 high, centred in its row.
    for (int row = 0; row < 3; ++row) {
        const int centreY = 200 + row * 110 + 55;
        const int centreX = 100 + 5 + 50;
        EXPECT_EQ(FromQColor(page.pixelColor(centreX, centreY)), colors[row]) << "row " << row;
    }
}
