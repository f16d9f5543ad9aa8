#pragma once
// Measures the benchmark programs share.
#include <sys/resource.h>
#include <ctime>

/// Peak resident memory of the process so far, in MiB.
inline double PeakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

/// Processor time of this process in seconds: other programs on a shared machine shift it less
/// than the wall clock.
inline double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

/// Processor seconds that one call of Work takes.
template<class F>
double SecondsOf(F&& work)
{
    const double start = ProcessSeconds();
    work();
    return ProcessSeconds() - start;
}
