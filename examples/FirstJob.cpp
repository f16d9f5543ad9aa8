// A job whose pages the application draws: a header, the page and a footer on each of two
// pages, printed to a PDF file by the built-in "PDF file" printer.
#include "job/VLJob.h"

#include <QApplication>

using namespace Vellaro;

int main(int argc, char** argv)
{
    QApplication app(argc, argv); // printing needs a QApplication

    TPrintJob job;
    job.SetTitle(QStringLiteral("First job"));
    job.SetPageCount(2);
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(20, 15, 20, 15); // left, top, right, bottom
    job.SetMargins(&margins);
    job.SetHeaderUnits(unMillimeters);
    job.SetHeader(15);
    job.SetFooterUnits(unMillimeters);
    job.SetFooter(10);
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        canvas->Font()->SetSize(area == daHeader ? 16 : 11); // points
        if (area == daHeader)
            canvas->TextOut(r.Left, r.Top, QStringLiteral("Monthly report"));
        else if (area == daPage)
            canvas->TextOut(r.Left, r.Top, QStringLiteral("Page %1 starts here").arg(page));
        else
            canvas->TextOut(r.Left, r.Top, QStringLiteral("Page %1 of 2").arg(page));
    });

    Printer()->SelectPrinter(QStringLiteral("PDF file"));        // not the system's default printer
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("first-job.pdf"));
    job.Print();
    return 0;
}
