#pragma once
// Helpers of the side-by-side benchmarks: the machine is shared, so two
// contenders run alternately in one benchmark and the medians of their
// rounds are compared.

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// How long one call of run takes, in milliseconds.
template <class F>
double Millis(F run)
{
    const auto t0 = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace bench
