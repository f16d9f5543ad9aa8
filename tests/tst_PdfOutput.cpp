// What the PDF printer writes: a table printed by the library looks like the same table drawn
// by hand with QPainter, and the shortcuts that make the PDF small keep what each drawing call
// means (fills over ink, clipping), and cells far off the page cost nothing in the file.
#include "HandDrawnTable.h"
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

/// How many times the page contents of a PDF set white as the fill colour (one white fill each).
int WhiteFills(const QString& path)
{
    const QString plain = path + QStringLiteral(".qdf");
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), path, plain});
    if (!qpdf.waitForFinished(30000) || qpdf.exitCode() != 0) {
        ADD_FAILURE() << "qpdf failed on " << path.toStdString() << ": " << qpdf.readAllStandardError().toStdString();
        return -1;
    }
    QFile file(plain);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no uncompressed copy of " << path.toStdString();
        return -1;
    }
    return int(file.readAll().count("1 1 1 scn"));
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

TEST_F(PdfOutput, WhiteTextBoxesAreFilledExactlyWhereTheyCoverInk)
{
    // Two texts of spaces on a white brush, one under the other, their boxes meeting inside one
    // 16-pixel block of the printer page: apart, nothing is under the second box and no white
    // fill may reach the file; overlapping, the second box covers the first's and must be filled.
    struct Case {
        const char* Name;
        int Gap; // pixels from the first box's bottom to the second box's top
        int WhiteFillsWanted;
    };
    const Case cases[] = {
        {"apart within a block", 4, 0},
        {"a pixel apart", 1, 0},
        {"overlapping by 4 pixels", -4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = Dir.filePath(QStringLiteral("boxes%1.pdf").arg(c.Gap + 10));
        TPrintJob job;
        job.SetOnDraw([&](TComponent*, TCanvas* canvas, int, TRect, TDrawArea area, TDrawTarget) {
            if (area != daPage)
                return;
            canvas->Brush()->SetColor(clWhite);
            canvas->Brush()->SetStyle(bsSolid);
            const QString spaces = QStringLiteral("        ");
            const int height = canvas->TextHeight(spaces);
            const int firstTop = 1602 - height; // its bottom 2 pixels into the block at 1600
            canvas->TextOut(1600, firstTop, spaces);
            canvas->TextOut(1600, firstTop + height + c.Gap, spaces);
        });
        Printer()->PdfPrinter()->SetOutputPath(path);
        job.Print();
        EXPECT_EQ(WhiteFills(path), c.WhiteFillsWanted);
    }
}

TEST_F(PdfOutput, AWhiteTextBoxHidesBorderLinesUnderIt)
{
    // Border lines wait to be merged; a white box drawn over them must still see them as ink
    // and hide them, in the part of a block it covers, while the rest of the line shows.
    const QImage page = PrintedPage(
        [](TCanvas* canvas, TRect) {
            canvas->Pen()->SetWidth(48);
            canvas->MoveTo(1200, 2408); // a bar from 2384 to 2432, across two blocks
            canvas->LineTo(3600, 2408);
            canvas->Brush()->SetColor(clWhite);
            canvas->Font()->SetSize(20);
            // The box's top edge halfway down the bar, inside the block at 2400.
            canvas->TextOut(2400, 2408, QStringLiteral("          "));
        },
        QStringLiteral("hidden.pdf"));
    const double scale = 50.0 / 600.0;
    const auto white = [&](int x, int y) { return IsWhite(page, int(x * scale), int(y * scale)); };
    EXPECT_FALSE(white(1800, 2400)) << "the bar is drawn";
    EXPECT_TRUE(white(2700, 2424)) << "the bar shows through the text's box";
}
