// The suite's share of fuzzing: a few thousand deterministic iterations per
// target, and every saved regression input, on every run.

#include "FuzzTargets.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

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

} // namespace

// Unlike the other test programs, no COM on this thread: an ActiveX control in
// a fuzzed skin then fails to make its object at once. Those objects are the
// platform's (any class a skin names), and under wine making and destroying a
// browser takes seconds.
int wmain(int argc, wchar_t** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
