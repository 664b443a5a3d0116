#pragma once
// Timing for the benchmarks.
#include <algorithm>
#include <chrono>
#include <functional>

inline double SecondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of several runs, so that a busy machine shows less.
inline double BestOf(int runs, const std::function<void()> &work)
{
    double best = 1e9;
    for (int k = 0; k < runs; ++k)
        best = std::min(best, SecondsOf(work));
    return best;
}
