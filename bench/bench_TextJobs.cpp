// Text job costs. Word wrap: the strings job's wrapping pass against Qt's own line breaking of
// the same lines, at two sizes to show it grows linearly. Rich text: paginating and printing a
// 300-page document against QTextDocument::print of the same document, and drawing a page deep
// in it in the preview against drawing its first page.
#include "BenchSupport.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"

#include <QDir>
#include <QPrinter>
#include <QTextDocument>
#include <QTextLayout>
#include <benchmark/benchmark.h>

using namespace Vellaro;

namespace {

/// Lines of 200 characters: words of 3 to 11 letters between blanks and commas.
QStringList LongLines(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString line;
        for (int w = 0; line.size() < 200; ++w) {
            line += QString(3 + (i * 7 + w * 5) % 9, QChar(u'a' + (i + w) % 26));
            line += (w % 6 == 5) ? QStringLiteral(", ") : QStringLiteral(" ");
        }
        lines << line.left(200);
    }
    return lines;
}

/// A measuring context with the strings job's font at 600 dpi, and an A4 text width.
struct WrapSetup {
    TDeviceContext Context{96, 96};
    TCanvas Canvas;
    int MaxWidth = 4960 - 2 * 472; // A4 at 600 dpi less two 20 mm margins
    WrapSetup()
    {
        Canvas.SetHandle(&Context);
        Canvas.Font()->SetPixelsPerInch(600);
        TFont font;
        font.SetName(QStringLiteral("Courier New"));
        font.SetSize(12);
        Canvas.Font()->Assign(font);
        Canvas.Handle();
    }
};

void BM_StringsJobWrap(benchmark::State& state)
{
    WrapSetup setup;
    const QStringList input = LongLines(int(state.range(0)));
    TStringsPrintJob job;
    int pieces = 0;
    for (auto _ : state) {
        TStringList lines(input);
        job.FormatText(setup.Canvas.Handle(), &lines, setup.MaxWidth);
        pieces = lines.Count();
    }
    state.counters["lines out"] = pieces;
}
BENCHMARK(BM_StringsJobWrap)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

/// The baseline: Qt's own line breaking of the same lines at the same width.
void BM_QTextLayoutWrap(benchmark::State& state)
{
    WrapSetup setup;
    const QStringList input = LongLines(int(state.range(0)));
    const QFont font = setup.Context.Font().ToQFont();
    int pieces = 0;
    for (auto _ : state) {
        pieces = 0;
        for (const QString& line : input) {
            QTextLayout layout(line, font);
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(setup.MaxWidth);
                ++pieces;
            }
            layout.endLayout();
        }
    }
    state.counters["lines out"] = pieces;
}
BENCHMARK(BM_QTextLayoutWrap)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

/// About 300 A4 pages of 12 pt text: paragraphs of varying length.
QString LongDocument()
{
    QStringList paragraphs;
    for (int i = 0; i < 6400; ++i)
        paragraphs << QStringLiteral("Paragraph %1. ").arg(i + 1) + QStringLiteral("Some words that fill the line, ").repeated(2 + i % 9);
    return paragraphs.join('\n');
}

void SetUpEdit(TRichEdit& edit)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    edit.document()->setDefaultFont(font);
    edit.setPlainText(LongDocument());
}

void SetUpJob(TRichEditPrintJob& job)
{
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(20, 20, 20, 20);
    job.SetMargins(&margins);
    job.SetOptions({joMargins});
}

void BM_RichEditPaginate(benchmark::State& state)
{
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    TRichEditPrintJob job;
    SetUpJob(job);
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh control each time, so the layout is made anew.
        auto edit = std::make_unique<TRichEdit>();
        SetUpEdit(*edit);
        state.ResumeTiming();
        job.SetRichEdit(edit.get());
        state.PauseTiming();
        state.counters["pages"] = job.PageCount();
        job.SetRichEdit(nullptr);
        edit.reset();
        state.ResumeTiming();
    }
    state.counters["peak MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_RichEditPaginate)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_RichEditPrintToPdf(benchmark::State& state)
{
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-richedit.pdf"));
    Printer()->PdfPrinter()->SetOutputPath(path);
    TRichEdit edit;
    SetUpEdit(edit);
    TRichEditPrintJob job;
    SetUpJob(job);
    job.SetRichEdit(&edit);
    for (auto _ : state)
        job.Print();
    state.counters["pages"] = job.PageCount();
    state.counters["peak MiB"] = PeakMemoryMiB();
    Printer()->PdfPrinter()->SetOutputPath(QString());
    QFile::remove(path);
}
BENCHMARK(BM_RichEditPrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

/// The baseline: Qt paginates and prints the same document to a 600 dpi PDF itself.
void BM_QTextDocumentPrint(benchmark::State& state)
{
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-qtprint.pdf"));
    QTextDocument document;
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    document.setDefaultFont(font);
    document.setPlainText(LongDocument());
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setResolution(600);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        document.print(&printer);
    }
    state.counters["peak MiB"] = PeakMemoryMiB();
    QFile::remove(path);
}
BENCHMARK(BM_QTextDocumentPrint)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

/// One page drawn as the preview draws it: on an 800 pixel wide image mapped to the page.
void BM_RichEditDrawPreviewPage(benchmark::State& state)
{
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    TRichEdit edit;
    SetUpEdit(edit);
    TRichEditPrintJob job;
    SetUpJob(job);
    job.SetRichEdit(&edit);
    const int width = 800;
    const int height = width * Printer()->PageHeight() / Printer()->PageWidth();
    QImage image(width, height, QImage::Format_RGB32);
    const int page = int(state.range(0));
    for (auto _ : state) {
        image.fill(Qt::white);
        TDeviceContext dc(&image, 96, 96);
        SetMapMode(&dc, MM_ANISOTROPIC);
        SetWindowExtEx(&dc, Printer()->PageWidth(), Printer()->PageHeight(), nullptr);
        SetViewportExtEx(&dc, width, height, nullptr);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        canvas.Font()->SetPixelsPerInch(600);
        job.Draw(&canvas, page, dtPreview);
    }
    state.counters["pages"] = job.PageCount();
}
// Page 1 is the baseline for page 250 in the same run.
BENCHMARK(BM_RichEditDrawPreviewPage)->Arg(1)->Arg(250)->Unit(benchmark::kMillisecond);

} // namespace
