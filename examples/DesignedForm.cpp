// A form made in Qt Designer (DesignedForm.ui, compiled by uic): a preview pane showing the job
// "Book", its toolbar, and three print jobs set up in Designer's property editor ("Book" is a
// multi job listing "Cover" and "Report"). The application draws the pages, prints the book to
// a PDF file, and shows the form when there is a display.
#include "ui_DesignedForm.h"

#include <QApplication>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget form;
    Ui::DesignedForm ui;
    ui.setupUi(&form);          // makes the components, sets their properties and links them

    const TDrawEvent drawPage = [](TComponent* sender, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        if (area == daPage)
            canvas->TextOut(r.Left + 300, r.Top + 300, QStringLiteral("%1, page %2").arg(sender->Name()).arg(page));
    };
    ui.Cover->Component()->SetOnDraw(drawPage);   // the hosts give the components
    ui.Report->Component()->SetOnDraw(drawPage);

    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("book.pdf"));
    ui.Book->Component()->Print();                // 1 + 3 pages

    if (!Application().IsGuiSession())
        return 0;
    form.show();                                  // the job hosts stay hidden at run time
    return app.exec();
}
