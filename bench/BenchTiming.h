#pragma once
// The clock, the round keeping and the message pump the benches share.

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace VarnelBench {

// Seconds on the performance counter.
inline double Now()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Other processes on the machine slow single rounds down; the fastest round
// is the figure least disturbed by them.
struct TBest
{
    double value = 1e30;
    void Add(double v) { value = std::min(value, v); }
};

// Average per call over all rounds, and per call in the fastest round.
struct TFigure
{
    double total = 0.0;
    int count = 0;
    TBest fastestRound;

    template <class F>
    void Round(int calls, F&& call)
    {
        const double start = Now();
        for (int i = 0; i < calls; ++i) call();
        ::GdiFlush();
        const double seconds = Now() - start;
        total += seconds;
        count += calls;
        fastestRound.Add(seconds / calls);
    }
    void Print(const char* name) const
    {
        std::printf("%-22s %8.3f ms %8.3f ms\n", name, count > 0 ? total / count * 1000.0 : 0.0,
                    fastestRound.value * 1000.0);
    }
};

// Dispatches every message waiting for this thread.
inline void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace VarnelBench
