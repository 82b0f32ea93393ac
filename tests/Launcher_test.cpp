// The launcher exe end to end: the login frame it shows, its buttons and keys,
// the single-instance guard and its message.
#include "support/TestProcess.h"

#include <gtest/gtest.h>

using VarnelTest::TestProcess;

namespace {

std::wstring LauncherPath()
{
    return VarnelTest::BinaryPath(L"varnelTemplate.exe");
}

// The shipped configuration: the client name names the guard mutex; the
// frame's client size and its two button rectangles.
constexpr wchar_t kClientName[] = L"Zentari";
constexpr SIZE kLoginFrameSize = {1176, 731};
constexpr RECT kMiniRect = {1012, 155, 1044, 186};
constexpr RECT kCloseRect = {1043, 155, 1074, 186};

LRESULT HitTest(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    DWORD_PTR result = HTNOWHERE;
    ::SendMessageTimeoutW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y), SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

void PostClick(HWND hWnd, const RECT& rc)
{
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, at);
}

template <class Pred>
bool WaitFor(Pred done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(50);
    }
    return true;
}

// The login frame of a started launcher, once its skin is laid out (until
// then nothing under the caption band answers as caption).
HWND WaitForLoginFrame(const TestProcess& launcher)
{
    HWND frame = launcher.FindTopWindow(L"zntr", L"Zentari", 20000);
    if (frame != nullptr && !WaitFor([&] { return HitTest(frame, 100, 100) == HTCAPTION; }, 20000)) return nullptr;
    return frame;
}

bool GuardExists()
{
    HANDLE guard = ::OpenMutexW(SYNCHRONIZE, FALSE, kClientName);
    if (guard != nullptr) ::CloseHandle(guard);
    return guard != nullptr;
}

} // namespace

TEST(Launcher, LoginFrameShowsTheConfiguredSizeButtonsAndKeys)
{
    TestProcess launcher;
    ASSERT_TRUE(launcher.Start(LauncherPath()));
    const HWND frame = WaitForLoginFrame(launcher);
    ASSERT_NE(frame, nullptr) << "no laid-out login frame";

    RECT rcClient = {};
    ::GetClientRect(frame, &rcClient);
    EXPECT_EQ(rcClient.right, kLoginFrameSize.cx);
    EXPECT_EQ(rcClient.bottom, kLoginFrameSize.cy);
    RECT rcWindow = {};
    ::GetWindowRect(frame, &rcWindow);
    EXPECT_EQ(rcWindow.right - rcWindow.left, kLoginFrameSize.cx) << "the caption is stripped";
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(rcWindow.left, (monitor.rcWork.left + monitor.rcWork.right) / 2 - kLoginFrameSize.cx / 2);
    EXPECT_EQ(rcWindow.top, (monitor.rcWork.top + monitor.rcWork.bottom) / 2 - kLoginFrameSize.cy / 2);

    // Everything drags the frame but the buttons, which float on their
    // configured rectangles (overlapping by one pixel, where the later close
    // button is on top).
    const struct
    {
        int x, y;
        LRESULT code;
    } cases[] = {
        {1012, 155, HTCLIENT},  {1042, 185, HTCLIENT}, {1011, 170, HTCAPTION}, {1025, 154, HTCAPTION},
        {1025, 186, HTCAPTION}, {1043, 155, HTCLIENT}, {1073, 185, HTCLIENT},  {1074, 170, HTCAPTION},
        {1058, 186, HTCAPTION}, {5, 5, HTCAPTION},     {1170, 725, HTCAPTION},
    };
    for (const auto& c : cases) EXPECT_EQ(HitTest(frame, c.x, c.y), c.code) << "at " << c.x << "," << c.y;

    // Neither Escape nor Enter closes the launcher.
    ::PostMessageW(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(frame, WM_KEYDOWN, VK_RETURN, 0);
    ::Sleep(1500);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_TRUE(::IsWindowVisible(frame));

    PostClick(frame, kMiniRect);
    EXPECT_TRUE(WaitFor([&] { return ::IsIconic(frame) != FALSE; }, 10000)) << "the minimise button";
    ::ShowWindow(frame, SW_RESTORE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(frame) == FALSE; }, 10000));
    ASSERT_TRUE(WaitFor([&] { return HitTest(frame, 100, 100) == HTCAPTION; }, 10000));
    EXPECT_TRUE(GuardExists());

    // The close button ends the process normally and releases the guard.
    PostClick(frame, kCloseRect);
    DWORD code = 99;
    ASSERT_TRUE(launcher.Wait(20000, &code)) << "the close button did not end the launcher";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(GuardExists()) << "the guard outlived the launcher";
}

TEST(Launcher, SecondLauncherLeavesTheRunningOneAlone)
{
    TestProcess first;
    ASSERT_TRUE(first.Start(LauncherPath()));
    const HWND frame = WaitForLoginFrame(first);
    ASSERT_NE(frame, nullptr);

    TestProcess second;
    ASSERT_TRUE(second.Start(LauncherPath()));
    HWND box = second.FindTopWindow(nullptr, L"提示", 20000);
    ASSERT_NE(box, nullptr) << "no message box with caption 提示";
    EXPECT_NE(VarnelTest::ChildTexts(box).find(L"微端已经运行了。"), std::wstring::npos);
    EXPECT_EQ(second.FindTopWindow(L"zntr", nullptr, 0), nullptr) << "the second launcher made a window";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(second.Wait(20000, &code));
    EXPECT_EQ(code, 0u);

    EXPECT_TRUE(::IsWindow(frame));
    PostClick(frame, kCloseRect);
    ASSERT_TRUE(first.Wait(20000, &code));
    EXPECT_EQ(code, 0u);
}

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
