// What the PDF printer writes: a table printed by the library looks like the same table drawn
// by hand with QPainter, and the shortcuts that make the PDF small keep what each drawing call
// means (fills over ink, clipping), and cells far off the page cost nothing in the file.
#include "HandDrawnTable.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
class PdfOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Previous = Printer()->PrinterIndex();
        ASSERT_TRUE(Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()));
    }
    void TearDown() override
    {
        Printer()->PdfPrinter()->SetOutputPath(QString());
        if (Previous >= 0)
            Printer()->SetPrinterIndex(Previous);
    }
    QString PrintToPdf(TCustomPrintJob& job, const QString& name)
    {
        const QString path = Dir.filePath(name);
        Printer()->PdfPrinter()->SetOutputPath(path);
        job.Print();
        return path;
    }
    /// Prints one page drawn by handler and rasterizes it at 50 dpi.
    QImage PrintedPage(const std::function<void(TCanvas*, TRect)>& handler, const QString& name)
    {
        TPrintJob job;
        job.SetOnDraw([&](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea area, TDrawTarget) {
            if (area == daPage)
                handler(canvas, r);
        });
        return RasterizePdfPage(PrintToPdf(job, name), 1, 50);
    }
    QTemporaryDir Dir;
    int Previous = -1;
};

bool IsWhite(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).lightness() > 240;
}
} // namespace

TEST_F(PdfOutput, TableLooksLikeTheSameTableDrawnByHand)
{
    TSimpleTextGridPrintJob job;
    SetUpTableJob(job, 2 * TableRowsPerPage);
    const QString library = PrintToPdf(job, QStringLiteral("library.pdf"));
    const QString hand = Dir.filePath(QStringLiteral("hand.pdf"));
    PrintTableByHand(job, hand, 1, 2);
    ASSERT_EQ(ReadPdfInfo(library).Pages, 2);
    const QImage ours = RasterizePdfPage(library, 1, 100);
    const QImage theirs = RasterizePdfPage(hand, 1, 100);
    ASSERT_EQ(ours.size(), theirs.size());
    const auto [mean, largest] = ImageDifference(ours, theirs, 2);
    // Measured here: 0.0 for the same page (merged border lines and unclipped texts land on the
    // same pixels); page 2, with other row numbers, differs by 6.1.
    EXPECT_LT(mean, 0.5);
    EXPECT_LT(largest, 60);
    EXPECT_GT(ImageDifference(ours, RasterizePdfPage(hand, 2, 100), 2).first, 3.0);
}

TEST_F(PdfOutput, TextOnABrushStillFillsItsBoxOverInkAndClippedTextStaysClipped)
{
    const QImage page = PrintedPage(
        [](TCanvas* canvas, TRect r) {
            // A black block with a text of spaces on a white brush in it: the box must show white.
            canvas->Brush()->SetColor(clBlack);
            canvas->FillRect({r.Left, r.Top, r.Left + 2400, r.Top + 1200});
            canvas->Brush()->SetColor(clWhite);
            canvas->Font()->SetSize(40);
            canvas->TextOut(r.Left + 600, r.Top + 300, QStringLiteral("          "));
            // A long text clipped to a narrow box: nothing of it beyond the box.
            canvas->Brush()->SetStyle(bsClear);
            canvas->TextRect({r.Left, r.Top + 3000, r.Left + 600, r.Top + 3600}, r.Left, r.Top + 3000,
                QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
        },
        QStringLiteral("meaning.pdf"));
    const double scale = 50.0 / 600.0;
    const auto at = [&](int x, int y) { return QPoint(int(x * scale), int(y * scale)); };
    const QPoint boxMiddle = at(600 + 600, 300 + 300);
    EXPECT_TRUE(IsWhite(page, boxMiddle.x(), boxMiddle.y())) << "the text's box was not filled";
    const QPoint block = at(200, 1000);
    EXPECT_FALSE(IsWhite(page, block.x(), block.y()));
    const QPoint inside = at(0, 3000 + 150);
    const QPoint beyond = at(900, 3000 + 150);
    bool inkInside = false, inkBeyond = false;
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = 0; dx < 40; ++dx) {
            inkInside |= !IsWhite(page, inside.x() + dx, inside.y() + dy);
            inkBeyond |= !IsWhite(page, beyond.x() + dx, beyond.y() + dy);
        }
    }
    EXPECT_TRUE(inkInside);
    EXPECT_FALSE(inkBeyond) << "clipped text shows beyond its box";
}

TEST_F(PdfOutput, CellsFarOffThePageCostNothingInTheFile)
{
    // 100,000 columns of which a few dozen fit on the page: the file holds only those.
    TSimpleTextGridPrintJob job;
    job.SetColCount(100000);
    job.SetRowCount(3);
    job.SetRowsPerPage(3);
    job.SetPageCellBorders({cbLeft, cbRight, cbTop, cbBottom});
    job.SetOnColWidth([](TComponent*, TCanvas*, int, int& width) { width = 800; });
    int asked = 0;
    job.SetOnCellText([&](TComponent*, int, int col, int row, QString& text) {
        ++asked;
        text = QStringLiteral("c%1r%2").arg(col).arg(row);
    });
    const QString path = PrintToPdf(job, QStringLiteral("wide.pdf"));
    EXPECT_EQ(asked, 300000) << "every cell's event is still raised";
    EXPECT_LT(QFileInfo(path).size(), 100 * 1024);
    const QString text = ReadPdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("c0r0")));
    EXPECT_FALSE(text.contains(QStringLiteral("c99999r2")));
}
