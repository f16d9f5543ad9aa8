// A two-page print job drawn in OnDraw (header, page and footer), printed to a PDF file
// through the built-in PDF printer, then shown in the preview window when there is a display,
// or written as a PNG of the preview pane's first page when there is none.
#include "job/VLJob.h"
#include "preview/VLWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace Vellaro;

namespace {

/// Shows the job in the preview window until the user closes it.
void ShowPreviewWindow(TPrintJob& job)
{
    TPreviewWindow window;
    window.SetCaption(QStringLiteral("%1 - Print preview").arg(job.Title()));
    window.SetWidth(720);
    window.SetHeight(860);
    window.SetPosition(poScreenCenter);
    window.SetButtons(window.Buttons() + TButtons{btnPrintDialog, btnWholePage, btnPageWidth, btnClose});
    window.SetPrintJob(&job);
    window.ShowModal();
}

/// Writes the preview pane showing page 1 as a whole page; returns the file's path.
QString WritePreviewImage(TPrintJob& job, const QString& outDir)
{
    TPreview pane;
    pane.resize(600, 800);
    pane.show();
    pane.SetPrintJob(&job);
    const QString path = QFileInfo(QDir(outDir).filePath(QStringLiteral("example-preview.png"))).absoluteFilePath();
    if (!pane.grab().save(path))
        throw Exception(QStringLiteral("Cannot write the image file '%1'").arg(path));
    return path;
}

} // namespace

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
        if (Application().IsGuiSession()) {
            ShowPreviewWindow(job);
        } else {
            const QString image = WritePreviewImage(job, outDir);
            std::printf("No display: wrote the preview of page 1 to %s\n", qPrintable(image));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Example failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
