#pragma once
// The clock, the round keeping and the message pump the benches share.

#include <windows.h>

#include <algorithm>

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
