// The launcher exe end to end: the single-instance guard and its message.
#include "support/TestProcess.h"

#include <gtest/gtest.h>

using VarnelTest::TestProcess;

namespace {

std::wstring LauncherPath()
{
    return VarnelTest::BinaryPath(L"varnelTemplate.exe");
}

// The shipped configuration's client name, which names the guard mutex.
constexpr wchar_t kClientName[] = L"Zentari";

} // namespace

TEST(Launcher, SecondInstanceShowsTheMessageAndExitsZero)
{
    // Hold the guard the way a running first instance would.
    HANDLE guard = ::CreateMutexW(nullptr, FALSE, kClientName);
    ASSERT_NE(guard, nullptr);

    TestProcess launcher;
    ASSERT_TRUE(launcher.Start(LauncherPath()));
    HWND box = launcher.FindTopWindow(nullptr, L"提示", 20000);
    ASSERT_NE(box, nullptr) << "no message box with caption 提示";
    EXPECT_NE(VarnelTest::ChildTexts(box).find(L"微端已经运行了。"), std::wstring::npos);

    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(launcher.Wait(20000, &code));
    EXPECT_EQ(code, 0u);
    ::CloseHandle(guard);
}

TEST(Launcher, ReleasesItsGuardWhenItEnds)
{
    TestProcess launcher;
    ASSERT_TRUE(launcher.Start(LauncherPath()));
    DWORD code = 99;
    ASSERT_TRUE(launcher.Wait(20000, &code));
    EXPECT_EQ(code, 0u);
    HANDLE left = ::OpenMutexW(SYNCHRONIZE, FALSE, kClientName);
    EXPECT_EQ(left, nullptr) << "the guard outlived the launcher";
    if (left != nullptr)
        ::CloseHandle(left);
}
