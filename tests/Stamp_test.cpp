// A launcher stamped by varnelStamp from the x86_64 template runs with its new
// login window size, skin (a plain background colour, read from the screen)
// and client name. The host-side checks of the tool are in
// programs/check_stamp.py; the inputs come from fixtures/make_stamp_fixtures.py.
#include "support/TestHelpers.h"
#include "support/TestProcess.h"

#include <gtest/gtest.h>

using VarnelTest::TempDir;
using VarnelTest::TestProcess;
using VarnelTest::WaitUntil;

namespace {

// The fixture configuration and skin.
constexpr SIZE kFrameSize = {900, 600};
constexpr RECT kCloseRect = {855, 10, 885, 40};
constexpr COLORREF kBackground = RGB(0x20, 0x80, 0xC0);

std::wstring Fixture(const wchar_t* name)
{
    return VarnelTest::BinaryPath(L"stampfixtures/") + name;
}

// Stamps the x86_64 template into `dir` with the fixture skin, icon and the
// given configuration; returns the new exe's path.
std::wstring MakeLauncher(const TempDir& dir, const wchar_t* name, const wchar_t* config)
{
    const std::wstring out = dir.File(name);
    const std::wstring args = L"make --template \"" + VarnelTest::BinaryPath(L"varnelTemplate.exe") + L"\" --out \"" +
                              out + L"\" --config \"" + Fixture(config) + L"\" --skin \"" + Fixture(L"skin") +
                              L"\" --icon \"" + Fixture(L"game.ico") + L"\" --login http://127.0.0.1:9/stamped.html";
    TestProcess stamp;
    DWORD code = 99;
    EXPECT_TRUE(stamp.Start(VarnelTest::BinaryPath(L"varnelStamp.exe"), args, TestProcess::OutputMode::Captured));
    EXPECT_TRUE(stamp.Wait(120000, &code));
    EXPECT_EQ(code, 0u) << stamp.Output();
    return out;
}

LRESULT HitTest(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    DWORD_PTR result = HTNOWHERE;
    ::SendMessageTimeoutW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y), SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// The login frame once its skin is laid out (the band then answers as caption).
HWND WaitForLoginFrame(const TestProcess& launcher)
{
    HWND frame = launcher.FindTopWindow(L"zntr", L"Zentari", 20000);
    if (frame != nullptr && !WaitUntil([&] { return HitTest(frame, 100, 100) == HTCAPTION; }, 20000)) return nullptr;
    return frame;
}

// What the screen shows at a client point of `frame`.
COLORREF ScreenPixel(HWND frame, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(frame, &pt);
    const HDC screen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(screen, pt.x, pt.y);
    ::ReleaseDC(nullptr, screen);
    return color;
}

bool CloseLauncher(TestProcess& launcher, HWND frame)
{
    const LPARAM at = MAKELPARAM((kCloseRect.left + kCloseRect.right) / 2, (kCloseRect.top + kCloseRect.bottom) / 2);
    ::PostMessageW(frame, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(frame, WM_LBUTTONUP, 0, at);
    DWORD code = 99;
    return launcher.Wait(20000, &code) && code == 0;
}

} // namespace

TEST(StampedLauncher, RunsWithItsWindowSizeSkinAndClientName)
{
    TempDir dir;
    const std::wstring gameA = MakeLauncher(dir, L"gameA.exe", L"config.xml");
    const std::wstring gameB = MakeLauncher(dir, L"gameB.exe", L"config-b.xml");

    TestProcess first;
    ASSERT_TRUE(first.Start(gameA));
    const HWND frame = WaitForLoginFrame(first);
    ASSERT_NE(frame, nullptr) << "no laid-out login frame";
    RECT rc = {};
    ::GetClientRect(frame, &rc);
    EXPECT_EQ(rc.right, kFrameSize.cx);
    EXPECT_EQ(rc.bottom, kFrameSize.cy);
    // Left of, and below, the login page's rectangle (300,150,860,560).
    for (const POINT pt : {POINT{40, 300}, POINT{600, 590}, POINT{880, 580}}) {
        EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(frame, pt.x, pt.y) == kBackground; }, 10000))
            << "at " << pt.x << "," << pt.y << ": " << std::hex << ScreenPixel(frame, pt.x, pt.y);
    }

    // Its client name guards it: a second start of the same exe is refused...
    TestProcess again;
    ASSERT_TRUE(again.Start(gameA));
    const HWND box = again.FindTopWindow(nullptr, L"提示", 20000);
    ASSERT_NE(box, nullptr) << "no message box with caption 提示";
    EXPECT_NE(VarnelTest::ChildTexts(box).find(L"微端已经运行了。"), std::wstring::npos);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(again.Wait(20000, &code));
    EXPECT_EQ(code, 0u);

    // ...while a launcher stamped with another client name runs beside it.
    TestProcess other;
    ASSERT_TRUE(other.Start(gameB));
    const HWND otherFrame = WaitForLoginFrame(other);
    ASSERT_NE(otherFrame, nullptr) << "the differently named launcher did not start";
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(CloseLauncher(other, otherFrame));
    EXPECT_TRUE(CloseLauncher(first, frame));
}
