// A two-page print job drawn in OnDraw (header, page and footer), printed to a PDF file
// through the built-in PDF printer.
#include "job/VLJob.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace Vellaro;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out");
    QDir().mkpath(outDir);

    TPrintJob job;
    job.SetTitle(QStringLiteral("Vellaro example"));
    job.SetPageCount(2);
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(20, 15, 20, 15);
    job.SetMargins(&margins);
    job.SetHeaderUnits(unMillimeters);
    job.SetHeader(12);
    job.SetFooterUnits(unMillimeters);
    job.SetFooter(10);
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetOnDraw([&job](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        switch (area) {
        case daHeader:
            canvas->Font()->SetSize(14);
            canvas->Font()->SetStyle(fsBold);
            canvas->TextOut(r.Left, r.Top, job.Title());
            canvas->MoveTo(r.Left, r.Bottom - 10);
            canvas->LineTo(r.Right, r.Bottom - 10);
            break;
        case daPage: {
            canvas->Font()->SetSize(11);
            canvas->Font()->SetStyle(0);
            const int line = canvas->TextHeight(QStringLiteral("Hg")) * 3 / 2;
            for (int i = 0; i < 20; ++i)
                canvas->TextOut(r.Left, r.Top + line * i,
                    QStringLiteral("Page %1, line %2: the same drawing code serves paper and screen.").arg(page).arg(i + 1));
            canvas->Brush()->SetStyle(bsClear);
            canvas->Rectangle(r.Left, r.Top + line * 21, r.Right, r.Bottom);
            break;
        }
        case daFooter:
            canvas->MoveTo(r.Left, r.Top + 10);
            canvas->LineTo(r.Right, r.Top + 10);
            canvas->TextOut(r.Left, r.Top + 30, QStringLiteral("Page %1 from %2").arg(page).arg(job.PageCount()));
            break;
        }
    });

    try {
        Printer()->SelectPrinter(Printer()->PdfPrinter()->Name());
        const QString path = QFileInfo(QDir(outDir).filePath(QStringLiteral("example.pdf"))).absoluteFilePath();
        Printer()->PdfPrinter()->SetOutputPath(path);
        job.Print();
        std::printf("Printed %d pages to %s\n", job.PageCount(), qPrintable(path));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Printing failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
