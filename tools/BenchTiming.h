#pragma once
// Timing for the benchmarks: the median of several runs, with the fastest
// and the slowest, so that a busy machine shows as a spread, not a figure.
#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double SecondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Spread {
    double median = 0, min = 0, max = 0;
};

// Seconds of each of several runs.
inline Spread Runs(int runs, const std::function<void()> &work)
{
    std::vector<double> seconds;
    for (int k = 0; k < runs; ++k)
        seconds.push_back(SecondsOf(work));
    std::sort(seconds.begin(), seconds.end());
    const size_t n = seconds.size();
    const double median = n % 2 != 0 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
    return {median, seconds.front(), seconds.back()};
}

// "median ms (min .. max)"
inline QByteArray Ms(const Spread &s, int decimals)
{
    return QByteArray::number(s.median * 1e3, 'f', decimals) + " ms (" + QByteArray::number(s.min * 1e3, 'f', decimals) +
           " .. " + QByteArray::number(s.max * 1e3, 'f', decimals) + ")";
}
