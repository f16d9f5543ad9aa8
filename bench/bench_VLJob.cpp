// Drawing a busy page through the job (500 texts, 500 lines) on the recording and the PDF
// printer, against a baseline of the same calls made on QPainter directly; and ConvertUnits.
#include "job/VLJob.h"

#include <QApplication>
#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

using namespace Vellaro;

namespace {
void BusyPage(TComponent*, TCanvas* canvas, int, TRect r, TDrawArea, TDrawTarget)
{
    for (int i = 0; i < 500; ++i) {
        const int y = r.Top + (i * (r.Height() - 100)) / 500;
        canvas->TextOut(r.Left + 100, y, QStringLiteral("Line %1 of a busy page").arg(i));
        canvas->MoveTo(r.Left, y);
        canvas->LineTo(r.Right, y);
    }
}

void SelectRecording()
{
    static TRecordingPrinterDevice* device = nullptr;
    if (!device)
        device = Printer()->AddRecordingPrinter(QStringLiteral("Bench"), 600, 600, QSize(4958, 7017));
    Printer()->SelectPrinter(QStringLiteral("Bench"));
}

void DrawPages(benchmark::State& state)
{
    TPrintJob job;
    job.SetOnDraw(BusyPage);
    Printer()->BeginDoc();
    for (auto _ : state) {
        job.Draw(Printer()->Canvas(), 1, dtPrint);
        Printer()->NewPage();
    }
    Printer()->EndDoc();
}
} // namespace

static void BM_DrawOnRecordingPrinter(benchmark::State& state)
{
    SelectRecording();
    DrawPages(state);
}
BENCHMARK(BM_DrawOnRecordingPrinter)->Unit(benchmark::kMillisecond);

static void BM_DrawOnPdfPrinter(benchmark::State& state)
{
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    Printer()->PdfPrinter()->SetOutputPath(QStringLiteral("/dev/null"));
    DrawPages(state);
}
BENCHMARK(BM_DrawOnPdfPrinter)->Unit(benchmark::kMillisecond);

// Baseline: the same page drawn with QPainter straight onto a 600 dpi PDF writer.
static void BM_BaselineQPainterPdf(benchmark::State& state)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(83);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 0));
    const int width = writer.width(), height = writer.height();
    for (auto _ : state) {
        for (int i = 0; i < 500; ++i) {
            const int y = (i * (height - 100)) / 500;
            painter.drawText(QPoint(100, y + 70), QStringLiteral("Line %1 of a busy page").arg(i));
            painter.drawLine(0, y, width, y);
        }
        writer.newPage();
    }
    painter.end();
}
BENCHMARK(BM_BaselineQPainterPdf)->Unit(benchmark::kMillisecond);

static void BM_ConvertUnits(benchmark::State& state)
{
    SelectRecording();
    TPrintJob job;
    double sum = 0;
    for (auto _ : state) {
        sum += job.ConvertUnits(25.0, unMillimeters, unPixels, dirHorizontal, 4958);
        sum += job.ConvertUnits(10.0, unPercents, unInches, dirVertical, 7017);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ConvertUnits);
