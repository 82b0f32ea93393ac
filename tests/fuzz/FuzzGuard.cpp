#include "FuzzGuard.h"

#include <psapi.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

namespace VarnelFuzz {

namespace {

// What the handlers need, set before each input runs. They write it out
// without allocating: the heap may be what broke.
struct TCurrentInput
{
    std::atomic<const BYTE*> data{nullptr};
    std::atomic<size_t> size{0};
    std::atomic<bool> active{false};
    std::atomic<ULONGLONG> startTick{0};
    DWORD budgetMs = 0;
    wchar_t path[MAX_PATH * 2] = {};
    char target[64] = {};
};

TCurrentInput g_current;

void SaveCurrentInput()
{
    const HANDLE h =
        ::CreateFileW(g_current.path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(h, g_current.data.load(), static_cast<DWORD>(g_current.size.load()), &written, nullptr);
    ::CloseHandle(h);
}

void Report(const char* what)
{
    char message[512];
    const int n = std::snprintf(message, sizeof(message), "FUZZ FAILURE in target %s: %s (input of %lu bytes saved)\n",
                                g_current.target, what, static_cast<unsigned long>(g_current.size.load()));
    DWORD written = 0;
    if (n > 0) ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), message, static_cast<DWORD>(n), &written, nullptr);
}

[[noreturn]] void Die(const char* what)
{
    SaveCurrentInput();
    Report(what);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    for (;;) ::Sleep(INFINITE);
}

LONG CALLBACK OnUnhandledException(EXCEPTION_POINTERS* pInfo)
{
    char what[64];
    std::snprintf(what, sizeof(what), "crash, exception 0x%08lX",
                  static_cast<unsigned long>(pInfo->ExceptionRecord->ExceptionCode));
    Die(what);
}

void OnAbort(int)
{
    Die("abort");
}

void OnTerminate()
{
    Die("std::terminate");
}

DWORD WINAPI Watchdog(LPVOID pStop)
{
    while (::WaitForSingleObject(static_cast<HANDLE>(pStop), 50) == WAIT_TIMEOUT) {
        if (g_current.active && ::GetTickCount64() - g_current.startTick > g_current.budgetMs) Die("hang");
    }
    return 0;
}

} // namespace

CFuzzGuard::CFuzzGuard(std::wstring failureDir, TFuzzLimits limits)
    : m_failureDir(std::move(failureDir)),
      m_limits(limits),
      m_privateStart(PrivateBytes())
{
    g_current.budgetMs = limits.iterationBudgetMs;
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // Room for the filter to run after a stack overflow.
    ULONG guarantee = 64 * 1024;
    ::SetThreadStackGuarantee(&guarantee);
    ::SetUnhandledExceptionFilter(&OnUnhandledException);
    std::signal(SIGABRT, &OnAbort);
    std::set_terminate(&OnTerminate);
    m_hStop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hWatchdog = ::CreateThread(nullptr, 0, &Watchdog, m_hStop, 0, nullptr);
}

CFuzzGuard::~CFuzzGuard()
{
    ::SetEvent(m_hStop);
    ::WaitForSingleObject(m_hWatchdog, INFINITE);
    ::CloseHandle(m_hWatchdog);
    ::CloseHandle(m_hStop);
}

// PagefileUsage is the process's private committed memory; wine leaves the
// PrivateUsage field, which Windows fills with the same figure, at zero.
SIZE_T CFuzzGuard::PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

std::wstring CFuzzGuard::FailurePath(const char* target) const
{
    return m_failureDir + L"\\fuzz-failure-" + std::wstring(target, target + std::strlen(target)) + L".bin";
}

std::string CFuzzGuard::Run(const char* target, FuzzFunction run, const Bytes& input)
{
    const std::wstring path = FailurePath(target);
    std::snprintf(g_current.target, sizeof(g_current.target), "%s", target);
    ::lstrcpynW(g_current.path, path.c_str(), static_cast<int>(std::size(g_current.path)));
    g_current.data = input.data();
    g_current.size = input.size();
    g_current.startTick = ::GetTickCount64();
    g_current.active = true;

    std::string failure;
    try {
        run(input.data(), input.size());
    } catch (const std::exception& e) {
        failure = std::string("exception escaped: ") + e.what();
    } catch (...) {
        failure = "exception escaped";
    }
    g_current.active = false;
    const SIZE_T privateBytes = PrivateBytes();
    if (failure.empty() && privateBytes > m_privateStart + m_limits.privateGrowthBound)
        failure = "private bytes grew to " + std::to_string(privateBytes >> 20) + " MiB, past the bound";
    if (!failure.empty()) {
        SaveCurrentInput();
        Report(failure.c_str());
    }
    return failure;
}

std::string CFuzzGuard::Campaign(const char* target, FuzzFunction run, const CMutator& mutator, uint64_t seed,
                                 size_t iterations, TFuzzStats& stats)
{
    stats = TFuzzStats{};
    stats.privateStart = PrivateBytes();
    stats.privatePeak = stats.privateStart;
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    std::string failure;
    for (size_t i = 0; i < iterations && failure.empty(); ++i) {
        const Bytes input = mutator.Make(seed, i);
        const ULONGLONG before = ::GetTickCount64();
        failure = Run(target, run, input);
        stats.slowestMs = std::max(stats.slowestMs, static_cast<DWORD>(::GetTickCount64() - before));
        stats.privatePeak = std::max(stats.privatePeak, PrivateBytes());
        ++stats.iterations;
    }
    ::QueryPerformanceCounter(&end);
    stats.seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    stats.privateEnd = PrivateBytes();
    return failure;
}

} // namespace VarnelFuzz
