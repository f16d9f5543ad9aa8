// What the pane shows at 100 % is what the printer prints: the pane's page grabbed to an
// image and the same page printed to PDF and rasterized at the same size look the same.
#include "TestSupport.h"
#include "preview/VLPreview.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Vellaro;
using namespace Vellaro::Testing;

namespace {

/// A page with a title, a ruled 6 x 40 table of texts and a few filled boxes.
void DrawSamplePage(TCanvas* canvas, TRect r, TDrawArea area)
{
    if (area != daPage)
        return;
    canvas->Font()->SetSize(16);
    canvas->Font()->SetStyle(fsBold);
    canvas->TextOut(r.Left, r.Top, QStringLiteral("Quarterly figures"));
    canvas->Font()->SetSize(9);
    canvas->Font()->SetStyle(0);
    const int top = r.Top + 300;
    const int rowHeight = 120;
    const int colWidth = r.Width() / 6;
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 6; ++col)
            canvas->TextOut(r.Left + col * colWidth + 20, top + row * rowHeight + 20, QStringLiteral("R%1 C%2 %3").arg(row + 1).arg(col + 1).arg(row * 37 + col * 11));
    for (int row = 0; row <= 40; ++row) {
        canvas->MoveTo(r.Left, top + row * rowHeight);
        canvas->LineTo(r.Left + 6 * colWidth, top + row * rowHeight);
    }
    for (int col = 0; col <= 6; ++col) {
        canvas->MoveTo(r.Left + col * colWidth, top);
        canvas->LineTo(r.Left + col * colWidth, top + 40 * rowHeight);
    }
    canvas->Brush()->SetColor(0x0000C0);
    canvas->FillRect({r.Left, r.Bottom - 400, r.Left + 800, r.Bottom - 100});
    canvas->Brush()->SetColor(0xC06000);
    canvas->FillRect({r.Right - 800, r.Bottom - 400, r.Right, r.Bottom - 100});
}

} // namespace

TEST(PreviewFidelity, PaneAtFullSizeShowsThePrintedPage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int previous = Printer()->PrinterIndex();
    ASSERT_TRUE(Printer()->SelectPrinter(Printer()->PdfPrinter()->Name()));
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(pdf);

    TPrintJob job;
    job.SetOnDraw([](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea area, TDrawTarget) { DrawSamplePage(canvas, r, area); });
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(15, 15, 15, 15);
    job.SetMargins(&margins);
    job.SetOptions({joMargins});
    job.Print();

    TPreview pane;
    pane.resize(900, 700);
    pane.show();
    pane.SetPrintJob(&job);
    pane.SetViewMode(vmCustom);
    pane.SetViewScale(100);
    TDrawPanel* page = pane.PagePanel();
    const QImage shown = page->grab(QRect(1, 1, page->ClientWidth(), page->ClientHeight())).toImage();

    const QImage printed = RasterizePdfPage(pdf, 1, shown.size());
    ASSERT_EQ(printed.size(), shown.size());

    if (!qEnvironmentVariableIsEmpty("VELLARO_FIDELITY_DUMP")) {
        shown.save(QStringLiteral("/tmp/fid_shown.png"));
        printed.save(QStringLiteral("/tmp/fid_printed.png"));
    }
    const auto [mean, largest] = ImageDifference(shown, printed, 4);
    // Measured here: about 3.6 and 55 for the same page (text is rasterized differently);
    // a page moved by one pixel already gives about 12.7 and 123.
    EXPECT_LT(mean, 6.0);
    EXPECT_LT(largest, 100);
    const QImage shifted = printed.copy(QRect(2, 2, printed.width(), printed.height()));
    EXPECT_GT(ImageDifference(shown, shifted, 4).first, 12.0);

    if (previous >= 0)
        Printer()->SetPrinterIndex(previous);
}
