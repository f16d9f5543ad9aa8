#pragma once
// Measures the benchmark programs share.
#include <sys/resource.h>

/// Peak resident memory of the process so far, in MiB.
inline double PeakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}
