// The suite's share of fuzzing: a few thousand deterministic iterations per
// target, and every saved regression input, on every run.

#include "FuzzTargets.h"

#include "support/TestHelpers.h"
#include "support/TestProcess.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using namespace VarnelFuzz;

namespace {

constexpr uint64_t kSeed = 20;
constexpr size_t kIterations = 2000;

CFuzzGuard& Guard()
{
    static CFuzzGuard guard(FailureFolder(), TFuzzLimits{});
    return guard;
}

class FuzzTargetTest : public testing::TestWithParam<TFuzzTarget>
{};

TEST_P(FuzzTargetTest, SurvivesMutatedSeeds)
{
    const TFuzzTarget& target = GetParam();
    const std::vector<Bytes> seeds = target.seeds();
    ASSERT_FALSE(seeds.empty()) << "no seeds for " << target.name;
    const CMutator mutator(seeds, target.dictionary());
    TFuzzStats stats;
    EXPECT_EQ(Guard().Campaign(target.name, target.run, mutator, kSeed, kIterations, stats), "")
        << "input saved to " << VarnelTest::Narrow(Guard().FailurePath(target.name));
    EXPECT_EQ(stats.iterations, kIterations);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzTargetTest, testing::ValuesIn(FuzzTargets()),
                         [](const testing::TestParamInfo<TFuzzTarget>& param) {
                             return std::string(param.param.name);
                         });

TEST(FuzzRegressions, EverySavedInputPasses)
{
    const std::wstring folder = std::wstring(VARNEL_SOURCE_DIR) + L"/tests/fuzz/regressions/";
    WIN32_FIND_DATAW found;
    const HANDLE h = ::FindFirstFileW((folder + L"*.bin").c_str(), &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "no regression inputs";
    int replayed = 0;
    do {
        const std::string name = VarnelTest::Narrow(found.cFileName);
        const TFuzzTarget* pTarget = FindFuzzTarget(name);
        ASSERT_NE(pTarget, nullptr) << name << " names no target";
        const Bytes input = VarnelTest::ReadBytes(folder + found.cFileName);
        EXPECT_EQ(Guard().Run(pTarget->name, pTarget->run, input), "") << name;
        ++replayed;
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    EXPECT_GT(replayed, 0);
}

// A guard with tight limits running one input that fails the way `kind`
// says, in a child process: a crash or a hang ends the process.
const Bytes kProbeInput = {'p', 'r', 'o', 'b', 'e', 0, 0xFF};
// Where the leak probe keeps its block, so the compiler cannot drop it.
BYTE* volatile g_leaked = nullptr;

int RunGuardProbe(const std::wstring& kind)
{
    CFuzzGuard guard(FailureFolder(), TFuzzLimits{2000, SIZE_T{16} << 20});
    FuzzFunction run = [](const BYTE*, size_t) {};
    if (kind == L"crash") run = [](const BYTE*, size_t) { *static_cast<volatile int*>(nullptr) = 1; };
    if (kind == L"hang")
        run = [](const BYTE*, size_t) {
            for (;;) ::Sleep(10);
        };
    if (kind == L"throw") run = [](const BYTE*, size_t) { throw std::runtime_error("probe"); };
    if (kind == L"leak") {
        run = [](const BYTE*, size_t) {
            g_leaked = new BYTE[SIZE_T{32} << 20];
            std::memset(g_leaked, 1, SIZE_T{32} << 20);
        };
    }
    const std::string target = "probe_" + VarnelTest::Narrow(kind);
    return guard.Run(target.c_str(), run, kProbeInput).empty() ? 0 : 1;
}

TEST(FuzzGuard, EveryKindOfFailureSavesTheInputAndIsReported)
{
    const struct
    {
        const wchar_t* kind;
        DWORD exitCode;
        const char* report;
    } cases[] = {
        {L"crash", 3, "crash, exception 0xC0000005"},
        {L"hang", 3, ": hang"},
        {L"throw", 1, "exception escaped: probe"},
        {L"leak", 1, "past the bound"},
        {L"none", 0, ""},
    };
    for (const auto& c : cases) {
        const std::wstring saved = FailureFolder() + L"\\fuzz-failure-probe_" + c.kind + L".bin";
        ::DeleteFileW(saved.c_str());
        VarnelTest::TestProcess probe;
        ASSERT_TRUE(probe.Start(VarnelTest::BinaryPath(L"tests/fuzz/Fuzz_test.exe"),
                                std::wstring(L"--guard-probe ") + c.kind,
                                VarnelTest::TestProcess::OutputMode::Captured));
        DWORD exitCode = 0;
        ASSERT_TRUE(probe.Wait(60000, &exitCode));
        EXPECT_EQ(c.exitCode, exitCode) << VarnelTest::Narrow(c.kind);
        if (c.exitCode == 0) {
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(saved.c_str()));
            continue;
        }
        EXPECT_NE(probe.Output().find(c.report), std::string::npos) << probe.Output();
        EXPECT_EQ(kProbeInput, VarnelTest::ReadBytes(saved)) << VarnelTest::Narrow(c.kind);
    }
}

} // namespace

// Unlike the other test programs, no COM on this thread: an ActiveX control in
// a fuzzed skin then fails to make its object at once. Those objects are the
// platform's (any class a skin names), and under wine making and destroying a
// browser takes seconds.
int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wcscmp(argv[1], L"--guard-probe") == 0) return RunGuardProbe(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
