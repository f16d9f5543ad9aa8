// Component and form file costs at three sizes, to show they grow linearly: print jobs created
// in code with one owner (named, given a title and a page count, then destroyed with their
// owner), found by name, and the same jobs read from a form file. Reading reports the file's
// size and the memory the read took at its peak beside the time; creating the same jobs in code
// is the baseline it is compared with. BM_Growth reports, from one run, how ten times the count
// multiplies the time, and how reading compares with creating in code.
#include "BenchSupport.h"
#include "job/VLJob.h"
#include "platform/core/DataModule.h"
#include "platform/core/FormParser.h"
#include "platform/core/Reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <utility>

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
    // Freed memory goes back to the system first, so the resident size follows what is in use.
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_CreateJobsInCode(benchmark::State& state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        auto owner = std::make_unique<TDataModule>();
        FillInCode(owner.get(), count);
        owner.reset();
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_CreateJobsInCode)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->Complexity(benchmark::oN);

/// The component core alone: plain named components, made and destroyed with their owner.
void BM_CreatePlainComponents(benchmark::State& state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        auto owner = std::make_unique<TComponent>();
        for (int i = 0; i < count; ++i)
            (new TComponent(owner.get()))->SetName(QStringLiteral("C%1").arg(i));
        owner.reset();
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_CreatePlainComponents)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3)->Complexity(benchmark::oN);

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
    for (auto _ : state) {
        auto root = std::make_unique<TDataModule>();
        ReadComponentText(text, root.get());
        root.reset();
    }
    state.counters["file MB"] = double(text.toUtf8().size()) / 1e6;
    state.SetComplexityN(count);
}
BENCHMARK(BM_ReadFormOfJobs)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->Complexity(benchmark::oN);

/// Peak memory (resident, above what was in use before) of making the jobs in code and of
/// reading them from their form file (whose text is in memory already), against the file's size.
void BM_PeakMemory(benchmark::State& state)
{
    const int count = int(state.range(0));
    const bool read = state.range(1) != 0;
    const QString text = FormText(count);
    const double fileBytes = double(text.toUtf8().size());
    double peakBytes = 0;
    for (auto _ : state) {
        ResetPeak();
        const double before = ResidentBytes("VmRSS");
        {
            TDataModule root;
            if (read)
                ReadComponentText(text, &root);
            else
                FillInCode(&root, count);
            peakBytes = ResidentBytes("VmHWM") - before;
        }
    }
    state.counters["peak MB"] = peakBytes / 1e6;
    state.counters["peak/file"] = peakBytes / fileBytes;
    state.SetLabel(read ? "read" : "in code");
}
BENCHMARK(BM_PeakMemory)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

/// The parsing share of reading: the text turned into objects and properties, nothing built.
void BM_ParseFormOfJobs(benchmark::State& state)
{
    const QString text = FormText(int(state.range(0)));
    for (auto _ : state) {
        TFormParser parser(text);
        const TFormParser::THeader root = parser.ReadObjectHeader(0);
        int items = 0;
        for (int depth = 1; depth > 0;) {
            switch (parser.NextItem(root.Name)) {
            case TFormParser::itEnd: --depth; break;
            case TFormParser::itObject: parser.ReadObjectHeader(depth++); break;
            case TFormParser::itProperty: benchmark::DoNotOptimize(parser.ReadProperty()); ++items; break;
            }
        }
        benchmark::DoNotOptimize(items);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseFormOfJobs)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

/// Reading the file from disk as an application does, text decoding included.
void BM_ReadFormFileOfJobs(benchmark::State& state)
{
    const int count = int(state.range(0));
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jobs.vfm"));
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
    state.SetComplexityN(count);
}
BENCHMARK(BM_ReadFormFileOfJobs)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

/// Processor seconds of one run of Work, started as a program's first run would be: with the
/// memory freed before given back to the system. (glibc keeps up to its trim threshold for
/// reuse, so runs of 10,000 jobs found their pages ready while runs of 100,000 had to fault
/// theirs in again: the sizes were not measured alike.)
double ColdSeconds(const std::function<void()>& work)
{
    malloc_trim(0);
    return SecondsOf(work);
}

/// The best of Runs timings of each of Small and Large, run in turns so that both meet the
/// same load from other programs.
std::pair<double, double> BestOfTurns(const std::function<void()>& small, const std::function<void()>& large, int runs)
{
    double bestSmall = 1e300, bestLarge = 1e300;
    for (int i = 0; i < runs; ++i) {
        bestSmall = std::min(bestSmall, ColdSeconds(small));
        bestLarge = std::min(bestLarge, ColdSeconds(large));
    }
    return {bestSmall, bestLarge};
}

void CreateAndDestroy(int count)
{
    TDataModule owner;
    FillInCode(&owner, count);
}

void ReadAndDestroy(const QString& text)
{
    TDataModule root;
    ReadComponentText(text, &root);
}

/// Growth from 10,000 to 100,000 jobs (best of seven each, processor time, the sizes in turns,
/// each run from memory given back): "x10 create" and "x10 read" are the ratios of the times,
/// "read/create" compares reading 100,000 jobs from their form file with creating them in code.
void BM_Growth(benchmark::State& state)
{
    constexpr int small = 10000, large = 100000, runs = 7;
    const QString smallText = FormText(small);
    const QString largeText = FormText(large);
    for (auto _ : state) {
        const auto [createSmall, createLarge] = BestOfTurns([] { CreateAndDestroy(small); }, [] { CreateAndDestroy(large); }, runs);
        const auto [readSmall, readLarge] = BestOfTurns([&] { ReadAndDestroy(smallText); }, [&] { ReadAndDestroy(largeText); }, runs);
        state.counters["create 10k ms"] = createSmall * 1e3;
        state.counters["create 100k ms"] = createLarge * 1e3;
        state.counters["read 10k ms"] = readSmall * 1e3;
        state.counters["read 100k ms"] = readLarge * 1e3;
        state.counters["x10 create"] = createLarge / createSmall;
        state.counters["x10 read"] = readLarge / readSmall;
        state.counters["read/create"] = readLarge / createLarge;
    }
}
BENCHMARK(BM_Growth)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
