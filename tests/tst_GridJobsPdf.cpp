// Each published grid job printed to a PDF file (kept under the build's tests/grid-pdf folder for
// looking at): the pages come out and carry the table's texts.
#include "gridjobs/PJListView.h"
#include "gridjobs/PJSimpleGrid.h"
#include "gridjobs/PJSimpleTextGrid.h"
#include "gridjobs/PJStringGrid.h"

#include "TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {
/// Prints to the PDF printer into tests/grid-pdf/<name>.pdf.
class GridJobsPdfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Printer()->SetPrintersHidden(false);
        ASSERT_TRUE(Printer()->SelectPrinter(QStringLiteral("PDF file")));
        QDir().mkpath(QStringLiteral("grid-pdf"));
    }
    void TearDown() override { Printer()->PdfPrinter()->SetOutputPath(QString()); }

    /// A page in millimetres with header and footer bands and a bordered table.
    static void Describe(TCustomGridPrintJob& job, const QString& title)
    {
        job.SetTitle(title);
        job.SetMarginsUnits(unMillimeters);
        TMargins margins(15, 15, 15, 15);
        job.SetMargins(&margins);
        job.SetHeaderUnits(unMillimeters);
        job.SetHeader(12);
        job.SetFooterUnits(unMillimeters);
        job.SetFooter(10);
        job.SetOptions({joMargins, joHeader, joFooter});
        job.SetTableBorders({cbTop, cbLeft, cbRight, cbBottom});
        job.SetHeaderCellBorders({cbLeft, cbRight, cbBottom});
        job.SetPageCellBorders({cbRight, cbBottom});
        job.SetRowsPerPage(30);
    }
    static QString Print(TCustomPrintJob& job, const QString& name)
    {
        const QString path = QDir::current().absoluteFilePath(QStringLiteral("grid-pdf/%1.pdf").arg(name));
        Printer()->PdfPrinter()->SetOutputPath(path);
        job.Print();
        return path;
    }
};
} // namespace

TEST_F(GridJobsPdfTest, SimpleGridDrawsItsCellsFromTheEvent)
{
    TSimpleGridPrintJob job;
    Describe(job, QStringLiteral("Simple grid"));
    job.SetColCount(4);
    job.SetRowCount(45);
    job.SetIndexColumn(true);
    job.SetOnColWidth([&job](TComponent*, TCanvas*, int col, int& width) {
        width = col == IndexCol ? width / 3 : (job.GetMarginRect().Width() - width / 3) / job.ColCount();
    });
    job.SetOnDrawCell([](TComponent*, TCanvas* canvas, const TRect& r, int, int col, int row, TDrawTarget) {
        if (row == HeaderRow || row == FooterRow || col == IndexCol)
            return;
        canvas->Brush()->SetColor(row % 2 ? clSilver : clAqua);
        canvas->FillRect({r.Left + 20, r.Top + 20, r.Left + 20 + (r.Width() - 40) * (col + 1) / 4, r.Bottom - 20});
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(r.Left + 30, r.Top + 30, QStringLiteral("row %1").arg(row));
        canvas->Brush()->SetStyle(bsSolid);
    });
    const QString path = Print(job, QStringLiteral("SimpleGrid"));
    EXPECT_EQ(ReadPdfInfo(path).Pages, 2);
    EXPECT_TRUE(ReadPdfText(path).contains(QStringLiteral("row 44")));
}

TEST_F(GridJobsPdfTest, SimpleTextGridPrintsTheTextsOfItsEvents)
{
    TSimpleTextGridPrintJob job;
    Describe(job, QStringLiteral("Simple text grid"));
    job.SetColCount(3);
    job.SetRowCount(70);
    job.SetIndexColumn(true);
    job.SetIndexStart(1);
    job.SetFooterCellBorders({cbTop});
    job.SetOnColWidth([&job](TComponent*, TCanvas*, int col, int& width) {
        width = col == IndexCol ? 400 : (job.GetPageRect().Width() - 400) / job.ColCount();
    });
    job.SetOnCellText([&job](TComponent*, int page, int col, int row, QString& text) {
        if (row == HeaderRow)
            text = col == IndexCol ? QStringLiteral("#") : QStringLiteral("Column %1").arg(col + 1);
        else if (row == FooterRow)
            text = col == 2 ? QStringLiteral("Page %1 of %2").arg(page).arg(job.PageCount()) : QString();
        else if (col == IndexCol)
            text = QString::number(row + job.IndexStart());
        else
            text = col == 1 ? QStringLiteral("A rather long text in row %1 that does not fit its column at all").arg(row)
                            : QStringLiteral("Cell %1.%2").arg(row).arg(col);
    });
    job.SetOnCellAlign([](TComponent*, int col, int, TAlignment& a) { a = col == 2 ? taRightJustify : col == 0 ? taLeftJustify : a; });
    const QString path = Print(job, QStringLiteral("SimpleTextGrid"));
    EXPECT_EQ(ReadPdfInfo(path).Pages, 3);
    const QString text = ReadPdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Page 3 of 3")));
    EXPECT_TRUE(text.contains(QStringLiteral("Cell 69.2")));
    EXPECT_TRUE(text.contains(QStringLiteral("...")));
}

TEST_F(GridJobsPdfTest, StringGridPrintsTitlesRowsAndPageNumbers)
{
    TStringGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(41);
    const QStringList titles{"Code", "Town", "Country", "Population"};
    for (int col = 0; col < 4; ++col) {
        grid.SetCells(col, 0, titles[col]);
        grid.SetColWidths(col, col == 1 ? 160 : 80);
    }
    for (int row = 1; row < 41; ++row) {
        grid.SetCells(0, row, QStringLiteral("T%1").arg(row, 3, 10, QLatin1Char('0')));
        grid.SetCells(1, row, QStringLiteral("Town number %1").arg(row));
        grid.SetCells(2, row, row % 2 ? QStringLiteral("Northland") : QStringLiteral("Southland"));
        grid.SetCells(3, row, QString::number(row * 1234));
    }
    TStringGridPrintJob job;
    Describe(job, QStringLiteral("String grid"));
    job.SetIndexColumn(true);
    job.SetIndexStart(1);
    TFont bold;
    bold.Assign(*job.HeaderFont());
    bold.SetStyle(fsBold);
    job.SetHeaderFont(&bold);
    job.SetStringGrid(&grid);
    const QString path = Print(job, QStringLiteral("StringGrid"));
    EXPECT_EQ(ReadPdfInfo(path).Pages, 2);
    const QString text = ReadPdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Population")));
    EXPECT_TRUE(text.contains(QStringLiteral("Town number 40")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2 from 2")));
}

TEST_F(GridJobsPdfTest, ListViewPrintsColumnsItemsAndIcons)
{
    TListView view;
    const QStringList captions{"Name", "Size", "Type"};
    for (int c = 0; c < 3; ++c) {
        TListColumn column = view.Columns().Add();
        column.SetCaption(captions[c]);
        column.SetWidth(c == 0 ? 200 : 100);
        column.SetAlignment(c == 1 ? taRightJustify : taLeftJustify);
    }
    for (int i = 0; i < 12; ++i) {
        TListItem item = view.Items().Add();
        item.SetCaption(QStringLiteral("document%1.txt").arg(i));
        item.SetSubItems({QStringLiteral("%1 KB").arg(i * 17 + 3), QStringLiteral("Text file")});
    }
    TImageList images;
    const TColor colors[] = {clRed, clGreen, clBlue, clYellow};
    for (TColor color : colors) {
        TBitmap bitmap(16, 16);
        bitmap.Canvas()->Brush()->SetColor(color);
        bitmap.Canvas()->FillRect({2, 2, 14, 14});
        images.Add(bitmap);
    }
    view.SetSmallImages(&images);
    TListViewPrintJob job;
    Describe(job, QStringLiteral("List view"));
    job.SetListView(&view);
    job.SetDrawIcons(true);
    const QString path = Print(job, QStringLiteral("ListView"));
    EXPECT_EQ(ReadPdfInfo(path).Pages, 1);
    const QString text = ReadPdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("document11.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("190 KB")));
}
