// Text job costs. Word wrap: the strings job's wrapping pass against Qt's own line breaking of
// the same lines, in turns, at three sizes to show it grows linearly. Rich text: paginating and
// printing a 300-page document against QTextDocument::print of the same document, and drawing a
// page deep in it in the preview against drawing its first page. Real documents: an RTF file LibreOffice
// wrote (100 pages), repeated to 100, 300 and 1,000 pages: loading, paginating, drawing the first
// preview page and printing to PDF, each against QTextDocument doing the same.
#include "BenchSupport.h"
#include "textjobs/PJRichEdit.h"
#include "textjobs/PJStrings.h"
#include "platform/controls/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextLayout>
#include <benchmark/benchmark.h>
#include <algorithm>

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

/// The strings job's wrapping pass over Input; the number of lines it makes.
int WrapWithStringsJob(WrapSetup& setup, const QStringList& input)
{
    TStringsPrintJob job;
    TStringList lines(input);
    job.FormatText(setup.Canvas.Handle(), &lines, setup.MaxWidth);
    return lines.Count();
}

/// The baseline: Qt's own line breaking of the same lines at the same width.
int WrapWithQTextLayout(const WrapSetup& setup, const QStringList& input)
{
    const QFont font = setup.Context.Font().ToQFont();
    int pieces = 0;
    for (const QString& line : input) {
        QTextLayout layout(line, font);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(setup.MaxWidth);
            ++pieces;
        }
        layout.endLayout();
    }
    return pieces;
}

/// Both wrap the same lines in turns (processor time, the best of each, so both meet the same
/// caches and the same load from other programs; small sizes run more turns, as a short run
/// wanders more): "wrap/QTextLayout" is the ratio of the two.
void BM_WrapAgainstQTextLayout(benchmark::State& state)
{
    WrapSetup setup;
    const QStringList input = LongLines(int(state.range(0)));
    double bestWrap = 1e300, bestLayout = 1e300;
    int pieces = 0, baselinePieces = 0;
    const int runs = std::max(3, 30000 / int(state.range(0)));
    for (auto _ : state) {
        for (int run = 0; run < runs; ++run) {
            bestWrap = std::min(bestWrap, SecondsOf([&] { pieces = WrapWithStringsJob(setup, input); }));
            bestLayout = std::min(bestLayout, SecondsOf([&] { baselinePieces = WrapWithQTextLayout(setup, input); }));
        }
    }
    state.counters["wrap ms"] = bestWrap * 1e3;
    state.counters["QTextLayout ms"] = bestLayout * 1e3;
    state.counters["wrap/QTextLayout"] = bestWrap / bestLayout;
    state.counters["lines out"] = pieces;
    state.counters["QTextLayout lines out"] = baselinePieces;
}
BENCHMARK(BM_WrapAgainstQTextLayout)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

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

// ---- A real document ----------------------------------------------------------------------

QByteArray ReadDocumentFile(const QString& name)
{
    QFile file(QStringLiteral(VELLARO_SOURCE_DIR "/tests/data/documents/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

/// LibreOffice's RTF of the 100-page text with its body repeated: about 100 pages a copy.
QByteArray RealRtf(int copies)
{
    const QByteArray rtf = ReadDocumentFile(QStringLiteral("libreoffice/long.rtf"));
    const qsizetype body = rtf.indexOf("\\pard");
    const qsizetype end = rtf.lastIndexOf('}');
    QByteArray out = rtf.left(end);
    for (int i = 1; i < copies; ++i)
        out += "\\page " + rtf.mid(body, end - body);
    return out + '}';
}

/// The same text as HTML, as Qt reads it itself: the source LibreOffice wrote the RTF file from.
QString RealHtml(int copies)
{
    const QString html = QString::fromUtf8(ReadDocumentFile(QStringLiteral("source/long.html")));
    const qsizetype body = html.indexOf(QLatin1String("<body>")) + 6;
    const qsizetype end = html.indexOf(QLatin1String("</body>"));
    return html.left(end) + html.mid(body, end - body).repeated(copies - 1) + html.mid(end);
}

/// The rich edit with the real document of copies hundred pages, loaded from a file.
std::unique_ptr<TRichEdit> LoadRealDocument(int copies)
{
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-real.rtf"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(RealRtf(copies));
    file.close();
    auto edit = std::make_unique<TRichEdit>();
    edit->LoadFromFile(path);
    QFile::remove(path);
    return edit;
}

void SetUpRealJob(TRichEditPrintJob& job)
{
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    job.SetMarginsUnits(unMillimeters);
    TMargins margins(20, 20, 20, 20);
    job.SetMargins(&margins);
    job.SetOptions({joMargins});
}

/// A QTextDocument paginated by Qt on A4 at 600 dpi with the job's margins.
void PaginateWithQt(QTextDocument& document)
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(int(600 / 0.0254));
    device.setDotsPerMeterY(int(600 / 0.0254));
    document.documentLayout()->setPaintDevice(&device);
    const double mm = 600 / 25.4;
    document.setPageSize(QSizeF((210 - 40) * mm, (297 - 40) * mm));
    document.pageCount();
    document.documentLayout()->setPaintDevice(nullptr);
}

void BM_RealRtfLoad(benchmark::State& state)
{
    const int copies = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadRealDocument(copies));
    state.counters["peak MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_RealRtfLoad)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

/// Baseline: Qt reads the same text from its HTML source.
void BM_QtHtmlLoad(benchmark::State& state)
{
    const QString html = RealHtml(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        document.setHtml(html);
        benchmark::DoNotOptimize(document.characterCount());
    }
}
BENCHMARK(BM_QtHtmlLoad)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RealRtfPaginate(benchmark::State& state)
{
    const auto edit = LoadRealDocument(int(state.range(0)));
    TRichEditPrintJob job;
    SetUpRealJob(job);
    // One pass: the control has no layout kept yet, so it is made within the measure.
    for (auto _ : state)
        job.SetRichEdit(edit.get());
    state.counters["pages"] = job.PageCount();
    state.counters["peak MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_RealRtfPaginate)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

/// Baseline: Qt paginates the same document (as read from the RTF file) itself.
void BM_QTextDocumentPaginateReal(benchmark::State& state)
{
    const auto edit = LoadRealDocument(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<QTextDocument> document(edit->document()->clone());
        state.ResumeTiming();
        PaginateWithQt(*document);
        state.counters["pages"] = document->pageCount();
    }
}
BENCHMARK(BM_QTextDocumentPaginateReal)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

/// The first page in the preview, right after the job paginated (the layout is reused).
void BM_RealRtfFirstPreviewPage(benchmark::State& state)
{
    const auto edit = LoadRealDocument(int(state.range(0)));
    TRichEditPrintJob job;
    SetUpRealJob(job);
    job.SetRichEdit(edit.get());
    const int width = 800;
    const int height = width * Printer()->PageHeight() / Printer()->PageWidth();
    QImage image(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        TDeviceContext dc(&image, 96, 96);
        SetMapMode(&dc, MM_ANISOTROPIC);
        SetWindowExtEx(&dc, Printer()->PageWidth(), Printer()->PageHeight(), nullptr);
        SetViewportExtEx(&dc, width, height, nullptr);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        canvas.Font()->SetPixelsPerInch(600);
        job.Draw(&canvas, 1, dtPreview);
    }
}
BENCHMARK(BM_RealRtfFirstPreviewPage)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

/// Baseline: Qt draws the first page of the same paginated document on the same image.
void BM_QTextDocumentFirstPageReal(benchmark::State& state)
{
    const auto edit = LoadRealDocument(int(state.range(0)));
    std::unique_ptr<QTextDocument> document(edit->document()->clone());
    PaginateWithQt(*document);
    QImage image(800, 1131, QImage::Format_RGB32);
    const QSizeF page = document->pageSize();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(image.width() / page.width(), image.width() / page.width());
        document->drawContents(&painter, QRectF(QPointF(0, 0), page));
    }
}
BENCHMARK(BM_QTextDocumentFirstPageReal)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_RealRtfPrintToPdf(benchmark::State& state)
{
    const auto edit = LoadRealDocument(int(state.range(0)));
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-real.pdf"));
    TRichEditPrintJob job;
    SetUpRealJob(job);
    Printer()->PdfPrinter()->SetOutputPath(path);
    job.SetRichEdit(edit.get());
    for (auto _ : state)
        job.Print();
    state.counters["pages"] = job.PageCount();
    state.counters["peak MiB"] = PeakMemoryMiB();
    Printer()->PdfPrinter()->SetOutputPath(QString());
    QFile::remove(path);
}
BENCHMARK(BM_RealRtfPrintToPdf)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

/// Baseline: QTextDocument::print of the same document to a 600 dpi PDF.
void BM_QTextDocumentPrintReal(benchmark::State& state)
{
    const auto edit = LoadRealDocument(int(state.range(0)));
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-real-qt.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setResolution(600);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        edit->document()->print(&printer);
    }
    QFile::remove(path);
}
BENCHMARK(BM_QTextDocumentPrintReal)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
