// A table of 500 rows broken over pages, 40 rows a page, with a header row and a footer row on
// every page; printed to a PDF file, then shown in the preview window when there is a display.
#include "gridjobs/PJSimpleTextGrid.h"
#include "platform/core/Translations.h"
#include "preview/VLWindow.h"

#include <QApplication>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallTranslations();                          // the preview in the user's language, if shipped

    TSimpleTextGridPrintJob grid;
    grid.SetTitle(QStringLiteral("Price list"));
    grid.SetColCount(3);
    grid.SetRowCount(500);
    grid.SetRowsPerPage(40);                        // rows share the page area evenly
    grid.SetIndexColumn(true);                      // a column of its own before the others
    grid.SetOptions({joMargins, joHeader, joFooter});
    grid.SetMarginsUnits(unMillimeters);
    TMargins margins(15, 15, 15, 15);
    grid.SetMargins(&margins);
    grid.SetHeaderUnits(unMillimeters);
    grid.SetHeader(10);
    grid.SetFooterUnits(unMillimeters);
    grid.SetFooter(10);
    grid.SetPageCellBorders({cbLeft, cbRight, cbBottom});
    grid.SetTableBorders({cbLeft, cbTop, cbRight, cbBottom});
    // Without widths every column is 0 wide: share the page area out.
    grid.SetOnColWidth([&grid](TComponent*, TCanvas* canvas, int col, int& width) {
        const int index = canvas->TextWidth(QStringLiteral("  500  "));
        width = col == IndexCol ? index : (grid.GetPageRect().Width() - index) / 3;
    });
    // Cells are addressed by column and row: the index column is IndexCol (-1), the header
    // row HeaderRow, the footer row FooterRow, data rows count from 0.
    grid.SetOnCellText([](TComponent*, int page, int col, int row, QString& text) {
        if (row == HeaderRow)
            text = QStringList{QStringLiteral("#"), QStringLiteral("Article"), QStringLiteral("Size"), QStringLiteral("Price")}.value(col + 1);
        else if (row == FooterRow)
            text = col == 2 ? QStringLiteral("Page %1").arg(page) : QString();
        else if (col == IndexCol)
            text = QString::number(row + 1);
        else
            text = QStringLiteral("Article %1, column %2").arg(row + 1).arg(col + 1);
    });

    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("price-list.pdf"));
    grid.Print();

    if (Application().IsGuiSession()) {
        TPreviewWindow window;
        window.SetWidth(900);                        // the component's own default is 400 x 500
        window.SetHeight(1000);
        window.SetPrintJob(&grid);
        window.ShowModal();                          // page, zoom and print from the toolbar
    }
    return 0;
}
