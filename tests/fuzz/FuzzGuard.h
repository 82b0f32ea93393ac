#pragma once
// Runs fuzz inputs so that a failure always leaves the input behind: a crash,
// a hang past the time budget, an escaping exception or private bytes grown
// past the bound each save the input to a file and are reported.

#include "FuzzMutator.h"

#include <string>

namespace VarnelFuzz {

using FuzzFunction = void (*)(const BYTE* data, size_t size);

struct TFuzzLimits
{
    // Generous: a shared machine stalls single iterations for seconds; a
    // real hang never ends.
    DWORD iterationBudgetMs = 10000;
    // Over the private bytes measured when the guard starts.
    SIZE_T privateGrowthBound = SIZE_T{256} << 20;
};

struct TFuzzStats
{
    size_t iterations = 0;
    DWORD slowestMs = 0;
    SIZE_T privateStart = 0;
    SIZE_T privateEnd = 0;
    SIZE_T privatePeak = 0;
    double seconds = 0;
};

// One per process. A crash cannot be caught per call here: mingw-w64's g++
// has no __try, and an exception filter cannot resume a target whose state
// is broken. So each input is published before it runs; the unhandled
// exception filter, the terminate handler and a watchdog thread (for hangs)
// write it to a file from there, report, and end the process with exit code 3.
class CFuzzGuard
{
public:
    CFuzzGuard(std::wstring failureDir, TFuzzLimits limits);
    ~CFuzzGuard();
    CFuzzGuard(const CFuzzGuard&) = delete;
    CFuzzGuard& operator=(const CFuzzGuard&) = delete;

    // Runs one input. Empty when it passed; otherwise why it failed (an
    // exception, or the memory bound), the input saved already.
    std::string Run(const char* target, FuzzFunction run, const Bytes& input);

    // Runs `iterations` mutated inputs of the target's corpus; stops at the
    // first failure and returns it.
    std::string Campaign(const char* target, FuzzFunction run, const CMutator& mutator, uint64_t seed,
                         size_t iterations, TFuzzStats& stats);

    static SIZE_T PrivateBytes();
    // Where the input of a failure in this target is saved.
    std::wstring FailurePath(const char* target) const;

private:
    std::wstring m_failureDir;
    TFuzzLimits m_limits;
    SIZE_T m_privateStart;
    HANDLE m_hWatchdog = nullptr;
    HANDLE m_hStop = nullptr;
};

} // namespace VarnelFuzz
