// Grid job costs: drawing a page deep into a very long table must cost what the first page
// costs, and printing many pages of a text grid to PDF runs at a steady rate in flat memory.
#include "BenchSupport.h"
#include "gridjobs/PJSimpleTextGrid.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>

using namespace Vellaro;

namespace {
/// A bordered text grid of cols columns filling the page, texts naming each cell. Row numbers
/// have a fixed width, so every page draws texts of the same lengths wherever it lies.
void SetUpTextGrid(TSimpleTextGridPrintJob& job, int cols, int rows, int rowsPerPage)
{
    job.SetColCount(cols);
    job.SetRowCount(rows);
    job.SetRowsPerPage(rowsPerPage);
    job.SetIndexColumn(true);
    job.SetTableBorders({cbTop, cbLeft, cbRight, cbBottom});
    job.SetPageCellBorders({cbRight, cbBottom});
    job.SetOptions({joMargins, joHeader, joFooter});
    job.SetHeader(5);
    job.SetHeaderUnits(unPercents);
    job.SetFooter(5);
    job.SetFooterUnits(unPercents);
    job.SetOnColWidth([&job](TComponent*, TCanvas*, int col, int& width) {
        width = col == IndexCol ? 300 : (job.GetPageRect().Width() - 300) / job.ColCount();
    });
    job.SetOnCellText([](TComponent*, int page, int col, int row, QString& text) {
        if (row == HeaderRow)
            text = col == IndexCol ? QStringLiteral("#") : QStringLiteral("Column %1").arg(col);
        else if (row == FooterRow)
            text = QStringLiteral("Page %1").arg(page);
        else {
            const QString number = QStringLiteral("%1").arg(row, 7, 10, QLatin1Char('0'));
            text = col == IndexCol ? number : QStringLiteral("Cell %1 of row %2").arg(col).arg(number);
        }
    });
}

void BM_DrawPageOfMillionRowTextGrid(benchmark::State& state)
{
    TRecordingPrinterDevice* device = Printer()->AddRecordingPrinter(QStringLiteral("Bench"), 600, 600, QSize(4800, 6600));
    {
        TSimpleTextGridPrintJob job;
        SetUpTextGrid(job, 6, 1000000, 20);
        TDrawRecorder recorder;
        TDeviceContext context(&recorder, 600, 600);
        TCanvas canvas;
        canvas.SetHandle(&context);
        const int page = int(state.range(0));
        for (auto _ : state) {
            recorder.Clear();
            job.Draw(&canvas, page, dtPrint);
            benchmark::DoNotOptimize(recorder.Current().size());
        }
        state.counters["records"] = double(recorder.Current().size());
        state.counters["pages"] = job.PageCount();
    }
    Printer()->RemovePrinter(device);
}
BENCHMARK(BM_DrawPageOfMillionRowTextGrid)->Arg(1)->Arg(50000)->Unit(benchmark::kMicrosecond);

void BM_PrintTextGridToPdf(benchmark::State& state)
{
    const int pages = int(state.range(0));
    Printer()->SelectPrinter(QStringLiteral("PDF file"));
    const QString path = QDir::temp().filePath(QStringLiteral("vellaro-bench-grid-%1.pdf").arg(pages));
    Printer()->PdfPrinter()->SetOutputPath(path);
    TSimpleTextGridPrintJob job;
    SetUpTextGrid(job, 6, 40 * pages, 40);
    for (auto _ : state)
        job.Print();
    state.counters["pages/s"] = benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak MiB"] = PeakMemoryMiB();
    QFile::remove(path);
}
// The 10-page print is the baseline measured in the same run as the 1,000-page one.
BENCHMARK(BM_PrintTextGridToPdf)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
} // namespace
