// Long fuzz runs, one target after another (without COM, like Fuzz_test):
//   FuzzRunner [iterations = 100000] [seed = 1] [target ...]
// or one saved input, timed, its target named by the file name's start:
//   FuzzRunner --replay FILE
// Prints each target's figures; exit code 1 at the first failure (its input
// is saved under fuzzfailures/ in the build folder), 3 when a crash or a hang
// ended the run.

#include "FuzzTargets.h"

#include "support/TestHelpers.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

using namespace VarnelFuzz;

namespace {

int Replay(const std::wstring& path)
{
    const std::wstring name = path.substr(path.find_last_of(L"/\\") + 1);
    const TFuzzTarget* pTarget = FindFuzzTarget(std::string(name.begin(), name.end()));
    if (pTarget == nullptr) {
        std::printf("no target for %ls\n", name.c_str());
        return 2;
    }
    CFuzzGuard guard(FailureFolder(), TFuzzLimits{});
    const ULONGLONG start = ::GetTickCount64();
    const std::string failure = guard.Run(pTarget->name, pTarget->run, VarnelTest::ReadBytes(path));
    std::printf("%s: %s in %llu ms\n", pTarget->name, failure.empty() ? "passed" : failure.c_str(),
                static_cast<unsigned long long>(::GetTickCount64() - start));
    return failure.empty() ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wcscmp(argv[1], L"--replay") == 0) return Replay(argv[2]);
    const size_t iterations = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 100000;
    const uint64_t seed = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 1;
    CFuzzGuard guard(FailureFolder(), TFuzzLimits{});

    std::printf("%-18s %10s %9s %9s %8s %s\n", "target", "iterations", "seconds", "per sec", "slowest",
                "private MiB: start -> end (peak)");
    for (const TFuzzTarget& target : FuzzTargets()) {
        bool wanted = argc <= 3;
        for (int i = 3; i < argc; ++i)
            wanted =
                wanted || std::wstring(argv[i]) == std::wstring(target.name, target.name + std::strlen(target.name));
        if (!wanted) continue;
        const std::vector<Bytes> seeds = target.seeds();
        const CMutator mutator(seeds, target.dictionary());
        TFuzzStats stats;
        const std::string failure = guard.Campaign(target.name, target.run, mutator, seed, iterations, stats);
        std::printf("%-18s %10lu %9.1f %9.0f %6lums %6.1f -> %.1f (%.1f)\n", target.name,
                    static_cast<unsigned long>(stats.iterations), stats.seconds,
                    static_cast<double>(stats.iterations) / stats.seconds, static_cast<unsigned long>(stats.slowestMs),
                    static_cast<double>(stats.privateStart) / 1048576.0,
                    static_cast<double>(stats.privateEnd) / 1048576.0,
                    static_cast<double>(stats.privatePeak) / 1048576.0);
        std::fflush(stdout);
        if (!failure.empty()) {
            std::printf("FAILED: %s\n", failure.c_str());
            return 1;
        }
    }
    return 0;
}
