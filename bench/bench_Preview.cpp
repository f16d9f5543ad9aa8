// Repainting the preview pane's page (a 6 x 40 text table) at whole page, 100 % and 300 %, and
// one layout of the pane, against printing the same page to PDF in the same run.
#include "BenchSupport.h"
#include "job/VLFind.h"
#include "preview/VLPreview.h"

#include <QImage>

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Vellaro;

namespace {

void DrawTable(TCanvas* canvas, TRect r, TDrawArea area)
{
    if (area != daPage)
        return;
    canvas->Font()->SetSize(9);
    const int rowHeight = r.Height() / 40;
    const int colWidth = r.Width() / 6;
    for (int row = 0; row < 40; ++row) {
        for (int col = 0; col < 6; ++col) {
            const TRect cell{r.Left + col * colWidth, r.Top + row * rowHeight, r.Left + (col + 1) * colWidth, r.Top + (row + 1) * rowHeight};
            canvas->Brush()->SetStyle(bsClear);
            canvas->Rectangle(cell);
            canvas->TextOut(cell.Left + 20, cell.Top + 20, QStringLiteral("Row %1, column %2").arg(row + 1).arg(col + 1));
        }
    }
}

/// The PDF printer, a job with one table page, and a shown pane of 800 x 1000 pixels.
struct Setup {
    QTemporaryDir Dir;
    TPrintJob Job;
    std::unique_ptr<TPreview> Pane;

    Setup()
    {
        Printer()->SelectPrinter(Printer()->PdfPrinter()->Name());
        Printer()->PdfPrinter()->SetOutputPath(Dir.filePath(QStringLiteral("bench.pdf")));
        Job.SetMarginsUnits(unMillimeters);
        TMargins margins(15, 15, 15, 15);
        Job.SetMargins(&margins);
        Job.SetOptions({joMargins});
        Job.SetOnDraw([](TComponent*, TCanvas* canvas, int, TRect r, TDrawArea area, TDrawTarget) { DrawTable(canvas, r, area); });
        Pane = std::make_unique<TPreview>();
        Pane->resize(800, 1000);
        Pane->show();
        QApplication::processEvents();
        Pane->SetPrintJob(&Job);
    }
};

Setup& Shared()
{
    // Widgets must go before the application does: the setup is freed as the application ends,
    // not by the static destructors that run after main returns.
    static Setup* setup = [] {
        auto* created = new Setup;
        qAddPostRoutine([] { delete setup; setup = nullptr; });
        return created;
    }();
    return *setup;
}

void BM_PrintPageToPdf(benchmark::State& state)
{
    Setup& s = Shared();
    for (auto _ : state)
        s.Job.Print();
}
BENCHMARK(BM_PrintPageToPdf)->Unit(benchmark::kMillisecond);

/// A job of the table on every page, state.range(0) pages; every page names its number once.
void SetUpPagedTable(TPrintJob& job, int pages)
{
    job.SetPageCount(pages);
    job.SetOnDraw([](TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget) {
        DrawTable(canvas, r, area);
        if (area == daPage)
            canvas->TextOut(r.Left, r.Bottom - 200, QStringLiteral("Sheet %1 ends here").arg(page));
    });
}

/// Searching every page for a text found once, page by page (what the pane's FindText does).
void BM_FindInPages(benchmark::State& state)
{
    Shared();
    TPrintJob job;
    SetUpPagedTable(job, int(state.range(0)));
    size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (int page = 1; page <= job.PageCount(); ++page)
            found += FindInPage(job, page, QStringLiteral("Sheet 77 ends"), {}).size();
    }
    state.counters["matches"] = double(found);
    state.counters["peak_MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_FindInPages)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

/// The baseline: drawing each of those pages once, as the pane does, into an 800 x 1131 image.
void BM_DrawPagesOnce(benchmark::State& state)
{
    Shared();
    TPrintJob job;
    SetUpPagedTable(job, int(state.range(0)));
    const TRect sheet = job.GetSheetRect();
    QImage image(800, 1131, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int page = 1; page <= job.PageCount(); ++page) {
            image.fill(Qt::white);
            TDeviceContext dc(&image, job.DPIX(), job.DPIY());
            SetMapMode(&dc, MM_ANISOTROPIC);
            SetWindowExtEx(&dc, sheet.Width(), sheet.Height(), nullptr);
            SetViewportExtEx(&dc, image.width(), image.height(), nullptr);
            TCanvas canvas;
            canvas.SetHandle(&dc);
            canvas.Font()->SetPixelsPerInch(std::min(job.DPIX(), job.DPIY()));
            job.Draw(&canvas, page, dtPreview);
        }
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
}
BENCHMARK(BM_DrawPagesOnce)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void Repaint(benchmark::State& state, TViewMode mode, int scale)
{
    Setup& s = Shared();
    s.Pane->SetViewMode(mode);
    s.Pane->SetViewScale(scale);
    QApplication::processEvents();
    TDrawPanel* page = s.Pane->PagePanel();
    for (auto _ : state)
        page->repaint();
    state.counters["panel_w"] = page->Width();
    state.counters["panel_h"] = page->Height();
    s.Pane->SetViewMode(vmWholePage);
}

void BM_RepaintWholePage(benchmark::State& state) { Repaint(state, vmWholePage, 0); }
void BM_Repaint100(benchmark::State& state) { Repaint(state, vmCustom, 100); }
void BM_Repaint300(benchmark::State& state) { Repaint(state, vmCustom, 300); }
BENCHMARK(BM_RepaintWholePage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint300)->Unit(benchmark::kMillisecond);

void BM_PaneUpdate(benchmark::State& state)
{
    Setup& s = Shared();
    for (auto _ : state)
        s.Pane->Update();
}
BENCHMARK(BM_PaneUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
