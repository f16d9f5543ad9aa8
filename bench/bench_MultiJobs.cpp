// Composite jobs and form files. Previewing page N of a multi job of 13 jobs against drawing
// the same page of the owning job directly; a draft sheet at scale 3 against nine page draws;
// reading and writing a form file of 1,000 components, with the heap it keeps.
#include "multijobs/PJDraft.h"
#include "multijobs/PJMulti.h"
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"
#include "platform/core/Writer.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <vector>

using namespace Vellaro;

namespace {

void BusyPage(TComponent*, TCanvas* canvas, int page, TRect r, TDrawArea area, TDrawTarget)
{
    if (area != daPage)
        return;
    for (int i = 0; i < 200; ++i) {
        const int y = r.Top + (i * (r.Height() - 100)) / 200;
        canvas->TextOut(r.Left + 100, y, QStringLiteral("Page %1, line %2").arg(page).arg(i));
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

/// Thirteen jobs of ten pages each, listed in a multi job.
struct Thirteen {
    TDataModule Form;
    TMultiPrintJob* Multi = new TMultiPrintJob(&Form);
    std::vector<TPrintJob*> Jobs;
    Thirteen()
    {
        for (int i = 0; i < 13; ++i) {
            auto* job = new TPrintJob(&Form);
            job->SetPageCount(10);
            job->SetOnDraw(BusyPage);
            Multi->Add(job);
            Jobs.push_back(job);
        }
    }
};

template<class F>
void DrawLoop(benchmark::State& state, F draw)
{
    SelectRecording();
    Printer()->BeginDoc();
    for (auto _ : state) {
        draw();
        Printer()->NewPage();
    }
    Printer()->EndDoc();
}

QString FormOfJobs(int count)
{
    QString text = QStringLiteral("object Module1: TDataModule\n");
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("  object Job%1: TPrintJob\n    PageCount = %2\n    Title = 'Report %1'\n    Options = [joMargins, joHeader]\n  end\n")
                    .arg(i).arg(i % 9 + 1);
    return text + QStringLiteral("end\n");
}

} // namespace

static void BM_OwningJobPage(benchmark::State& state)
{
    Thirteen t;
    DrawLoop(state, [&] { t.Jobs[6]->Draw(Printer()->Canvas(), 5, dtPrint); });
}
BENCHMARK(BM_OwningJobPage)->Unit(benchmark::kMicrosecond);

static void BM_MultiJobPage65Of130(benchmark::State& state)
{
    Thirteen t;
    DrawLoop(state, [&] { t.Multi->Draw(Printer()->Canvas(), 65, dtPrint); });
}
BENCHMARK(BM_MultiJobPage65Of130)->Unit(benchmark::kMicrosecond);

static void BM_NinePages(benchmark::State& state)
{
    Thirteen t;
    DrawLoop(state, [&] {
        for (int page = 1; page <= 9; ++page)
            t.Jobs[0]->Draw(Printer()->Canvas(), page, dtPrint);
    });
}
BENCHMARK(BM_NinePages)->Unit(benchmark::kMicrosecond);

static void BM_DraftSheetScale3(benchmark::State& state)
{
    Thirteen t;
    TDraftPrintJob draft(&t.Form);
    draft.SetScale(3);
    draft.SetPrintJob(t.Jobs[0]);
    DrawLoop(state, [&] { draft.Draw(Printer()->Canvas(), 1, dtPrint); });
}
BENCHMARK(BM_DraftSheetScale3)->Unit(benchmark::kMicrosecond);

static void BM_ReadForm1000Components(benchmark::State& state)
{
    SelectRecording();
    const QString text = FormOfJobs(1000);
    size_t kept = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        auto root = std::make_unique<TDataModule>();
        ReadComponentText(text, root.get());
        kept = mallinfo2().uordblks - before;
        benchmark::DoNotOptimize(root.get());
    }
    state.counters["heap_kB"] = double(kept) / 1024;
    state.counters["text_kB"] = double(text.toUtf8().size()) / 1024;
}
BENCHMARK(BM_ReadForm1000Components)->Unit(benchmark::kMillisecond);

static void BM_CreateAndSet1000Components(benchmark::State& state)
{
    // Baseline: the same components made and set in code.
    SelectRecording();
    for (auto _ : state) {
        auto root = std::make_unique<TDataModule>();
        for (int i = 0; i < 1000; ++i) {
            auto* job = new TPrintJob(root.get());
            job->SetName(QStringLiteral("Job%1").arg(i));
            job->SetPageCount(i % 9 + 1);
            job->SetTitle(QStringLiteral("Report %1").arg(i));
            job->SetOptions({joMargins, joHeader});
        }
        benchmark::DoNotOptimize(root.get());
    }
}
BENCHMARK(BM_CreateAndSet1000Components)->Unit(benchmark::kMillisecond);

static void BM_WriteForm1000Components(benchmark::State& state)
{
    SelectRecording();
    TDataModule root;
    ReadComponentText(FormOfJobs(1000), &root);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComponentToText(&root));
}
BENCHMARK(BM_WriteForm1000Components)->Unit(benchmark::kMillisecond);
