// Component and form file costs at three sizes, to show they grow linearly: print jobs created
// in code with one owner (named, given a title and a page count, then destroyed with their
// owner), found by name, and the same jobs read from a form file. Reading reports the file's
// size and the memory the read took at its peak beside the time; creating the same jobs in code
// is the baseline it is compared with.
#include "BenchSupport.h"
#include "job/VLJob.h"
#include "platform/core/DataModule.h"
#include "platform/core/Reader.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <fstream>
#include <memory>
#include <string>

using namespace Vellaro;

namespace {

void FillInCode(TComponent* owner, int count)
{
    for (int i = 0; i < count; ++i) {
        auto* job = new TPrintJob(owner);
        job->SetName(QStringLiteral("Job%1").arg(i));
        job->SetTitle(QStringLiteral("Report %1").arg(i));
        job->SetPageCount(i % 7 + 1);
    }
}

/// The form file of what FillInCode makes.
QString FormText(int count)
{
    QString text = QStringLiteral("object Module1: TDataModule\n");
    text.reserve(qsizetype(count) * 80);
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("  object Job%1: TPrintJob\n    PageCount = %2\n    Title = 'Report %1'\n  end\n").arg(i).arg(i % 7 + 1);
    return text + QStringLiteral("end\n");
}

/// Resident memory now, in bytes (Linux).
double ResidentBytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(key.size())) * 1024.0;
    return 0;
}

/// Resets the kernel's peak resident size to the current one, so a peak after it is this run's.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_CreateJobsInCode(benchmark::State& state)
{
    const int count = int(state.range(0));
    double peakBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResidentBytes("VmRSS");
        ResetPeak();
        state.ResumeTiming();
        auto owner = std::make_unique<TDataModule>();
        FillInCode(owner.get(), count);
        state.PauseTiming();
        peakBytes = ResidentBytes("VmHWM") - before;
        state.ResumeTiming();
        owner.reset();
    }
    state.counters["peak MB"] = peakBytes / 1e6;
    state.SetComplexityN(count);
}
BENCHMARK(BM_CreateJobsInCode)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2)->Complexity(benchmark::oN);

void BM_FindComponentAmongMany(benchmark::State& state)
{
    const int count = int(state.range(0));
    TDataModule owner;
    FillInCode(&owner, count);
    QStringList names;
    for (int i = 0; i < count; i += std::max(1, count / 1000))
        names << QStringLiteral("JOB%1").arg(i);
    for (auto _ : state)
        for (const QString& name : names)
            benchmark::DoNotOptimize(owner.FindComponent(name));
}
BENCHMARK(BM_FindComponentAmongMany)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ReadFormOfJobs(benchmark::State& state)
{
    const int count = int(state.range(0));
    const QString text = FormText(count);
    const double fileBytes = double(text.toUtf8().size());
    double peakBytes = 0;
    for (auto _ : state) {
        auto root = std::make_unique<TDataModule>();
        state.PauseTiming();
        const double before = ResidentBytes("VmRSS");
        ResetPeak();
        state.ResumeTiming();
        ReadComponentText(text, root.get());
        state.PauseTiming();
        peakBytes = ResidentBytes("VmHWM") - before;
        state.ResumeTiming();
        root.reset();
    }
    state.counters["file MB"] = fileBytes / 1e6;
    state.counters["peak MB"] = peakBytes / 1e6;
    state.counters["peak/file"] = peakBytes / fileBytes;
    state.SetComplexityN(count);
}
BENCHMARK(BM_ReadFormOfJobs)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2)->Complexity(benchmark::oN);

/// Reading the file from disk as an application does, text decoding included.
void BM_ReadFormFileOfJobs(benchmark::State& state)
{
    const int count = int(state.range(0));
    const QString path = QStringLiteral("/tmp/vellaro-bench-form-%1.vfm").arg(count);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            state.SkipWithError("cannot write the form file");
        file.write(FormText(count).toUtf8());
    }
    for (auto _ : state) {
        TDataModule root;
        ReadComponentRes(path, &root);
    }
    QFile::remove(path);
    state.SetComplexityN(count);
}
BENCHMARK(BM_ReadFormFileOfJobs)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
