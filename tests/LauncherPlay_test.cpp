// The launcher exe end to end, from the login windows to the game and out:
// copies of the launcher carry trailers pointing at a local HTTP server, the
// platform's browser reports the navigations, a stand-in notification area
// records the icon.
#include "support/AccessibleClient.h"
#include "support/FakeNotificationArea.h"
#include "support/TestHelpers.h"
#include "support/TestHttpServer.h"
#include "support/TestProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using VarnelTest::CFakeNotificationArea;
using VarnelTest::CTestHttpServer;
using VarnelTest::Narrow;
using VarnelTest::TempDir;
using VarnelTest::TestProcess;
using VarnelTest::WaitUntil;
using VarnelTest::WindowRect;

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr wchar_t kBoxClass[] = L"#32770";
constexpr wchar_t kServiceLink[] = L"tencent://message/?uin=10000&Site=zentari";

// Where the last section's raw data ends, read from the file's own headers:
// the launcher's trailer starts there.
long long ImageEnd(const std::vector<char>& file)
{
    auto read32 = [&](size_t at) {
        DWORD value = 0;
        if (at + 4 <= file.size()) ::CopyMemory(&value, file.data() + at, 4);
        return value;
    };
    auto read16 = [&](size_t at) { return static_cast<WORD>(read32(at) & 0xFFFF); };
    const size_t nt = read32(0x3C);
    const WORD sections = read16(nt + 6);
    const size_t table = nt + 4 + 20 + read16(nt + 20);
    const size_t last = table + (sections - 1u) * 40u;
    return static_cast<long long>(read32(last + 20)) + read32(last + 16);
}

// A copy of the launcher whose trailer is `trailer` instead of the built one.
std::wstring LauncherWithTrailer(const TempDir& dir, const std::string& trailer)
{
    const std::wstring exe = dir.File(L"varnelTemplate.exe");
    std::ifstream in(Narrow(VarnelTest::BinaryPath(L"varnelTemplate.exe")), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_GT(bytes.size(), 1024u) << "build varnelTemplate first";
    if (bytes.size() < 1024) return exe;
    bytes.resize(static_cast<size_t>(ImageEnd(bytes)));
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    std::ofstream out(Narrow(exe), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return exe;
}

bool GuardHeld()
{
    const HANDLE hGuard = ::OpenMutexW(SYNCHRONIZE, FALSE, L"Zentari");
    if (hGuard == nullptr) return false;
    ::CloseHandle(hGuard);
    return true;
}

// The web window sits at the login web rectangle's offset from the login frame.
bool WebWindowAtOffset(HWND hLogin, HWND hWeb)
{
    const RECT login = WindowRect(hLogin);
    const RECT web = WindowRect(hWeb);
    return web.left == login.left + 384 && web.top == login.top + 184 && web.right - web.left == 686 &&
           web.bottom - web.top == 437;
}

class LauncherPlayTest : public ::testing::Test
{
protected:
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_server.Port()) + path;
    }

    // Starts a launcher copy whose login page is `loginPath` on the server,
    // once no other launcher holds the single-instance guard (another test
    // sharing the session may be running one).
    void Start(const std::string& loginPath)
    {
        ASSERT_NE(0, m_server.Port()) << "the local HTTP server did not start";
        ASSERT_TRUE(WaitUntil([] { return !GuardHeld(); }, 120000)) << "another launcher keeps running";
        m_exe = LauncherWithTrailer(m_dir, Url(loginPath) + "|" + Narrow(kServiceLink));
        ASSERT_TRUE(m_launcher.Start(m_exe));
    }

    // The quit question in answer to `ask`; answered with `button`.
    void AnswerQuitQuestion(HWND hPlay, UINT ask, WPARAM wParam, int button)
    {
        ::PostMessageW(hPlay, ask, wParam, 0);
        const HWND hBox = m_launcher.FindTopWindow(kBoxClass, L"提示", 10000);
        ASSERT_NE(nullptr, hBox) << "no question after message " << ask;
        EXPECT_NE(std::wstring::npos, VarnelTest::ChildTexts(hBox).find(L"正在游戏是否退出？"));
        EXPECT_EQ(hPlay, ::GetWindow(hBox, GW_OWNER));
        ::PostMessageW(hBox, WM_COMMAND, static_cast<WPARAM>(button), 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(hBox); }));
    }

    CFakeNotificationArea m_tray;
    CTestHttpServer m_server{"<html><head><title>Zentari</title></head><body>game</body></html>"};
    TempDir m_dir;
    std::wstring m_exe;
    TestProcess m_launcher;
};

} // namespace

TEST_F(LauncherPlayTest, LoginWindowsStayGluedAndSurviveTheWebWindowClosing)
{
    Start("/login/index.html");
    const HWND hLogin = m_launcher.FindTopWindow(L"zntr", L"Zentari", kStartTimeoutMs);
    const HWND hWeb = m_launcher.FindTopWindow(L"zntr", L"TovikWindow", kStartTimeoutMs);
    ASSERT_NE(nullptr, hLogin);
    ASSERT_NE(nullptr, hWeb);
    EXPECT_EQ(hLogin, ::GetWindow(hWeb, GW_OWNER));
    EXPECT_TRUE(WaitUntil([&] { return WebWindowAtOffset(hLogin, hWeb); })) << "not at the login web rectangle";
    // The login page is field 0 of the trailer.
    EXPECT_TRUE(m_server.WaitForPath("/login/index.html", 20000));

    // Dragging the login frame takes the web window along.
    const RECT before = WindowRect(hLogin);
    ::SetWindowPos(hLogin, nullptr, before.left - 41, before.top + 23, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(
        WaitUntil([&] { return WebWindowAtOffset(hLogin, hWeb) && WindowRect(hLogin).top == before.top + 23; }));

    // Escape closes the web window on its own; moving the login frame
    // afterwards must not reach for the window that is gone.
    ::PostMessageW(hWeb, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hWeb); })) << "Escape left the web window open";
    ::SetWindowPos(hLogin, nullptr, before.left, before.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(hLogin, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    DWORD_PTR answer = 0;
    EXPECT_NE(0, ::SendMessageTimeoutW(hLogin, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(m_launcher.IsRunning());

    ::PostMessageW(hLogin, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(m_launcher.Wait(20000, &code));
    EXPECT_EQ(0u, code);
}

TEST_F(LauncherPlayTest, KeywordAddressOpensTheGameAndEveryQuitPathAsks)
{
    Start("/play?client=pc");
    const HWND hPlay = m_launcher.FindTopWindow(L"zntr", L"zntr", kStartTimeoutMs);
    ASSERT_NE(nullptr, hPlay) << "no play window";
    EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(hPlay) != FALSE; }));
    const HWND hLogin = m_launcher.FindTopWindow(L"zntr", L"Zentari", 1000, TestProcess::WindowFilter::HiddenToo);
    const HWND hWeb = m_launcher.FindTopWindow(L"zntr", L"TovikWindow", 1000, TestProcess::WindowFilter::HiddenToo);
    ASSERT_NE(nullptr, hLogin);
    ASSERT_NE(nullptr, hWeb);
    EXPECT_FALSE(::IsWindowVisible(hLogin));
    EXPECT_FALSE(::IsWindowVisible(hWeb));
    // The play window's own browser loads the game address.
    EXPECT_TRUE(m_server.WaitForPath("/play?client=pc", 20000));

    ASSERT_TRUE(m_tray.IsActive()) << "the stand-in notification area is not the one the shell finds";
    ASSERT_TRUE(m_tray.WaitForIcon(hPlay, 0, true, 10000)) << "no notification-area icon";
    const auto icon = m_tray.Icons().front();
    EXPECT_EQ(L"Zentari", icon.tip);
    EXPECT_EQ(1025u, icon.callbackMessage);

    // A click on the icon brings a hidden window back, but leaves a
    // minimised one minimised.
    ::ShowWindow(hPlay, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(hPlay); }));
    ::PostMessageW(hPlay, 1025, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(hPlay) != FALSE; }));
    ::ShowWindow(hPlay, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(hPlay) != FALSE; }));
    ::PostMessageW(hPlay, 1025, 0, WM_LBUTTONDOWN);
    ::PostMessageW(hPlay, 1025, 0, WM_LBUTTONDBLCLK);
    ::Sleep(500);
    EXPECT_TRUE(::IsIconic(hPlay));
    ::ShowWindow(hPlay, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(hPlay); }));

    // The icon's menu: its second item asks the quit question.
    ::PostMessageW(hPlay, 1025, 0, WM_RBUTTONDOWN);
    const HWND hMenu = m_launcher.FindTopWindow(L"#32768", nullptr, 10000);
    ASSERT_NE(nullptr, hMenu) << "no menu";
    ::PostMessageW(hMenu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(hMenu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(hMenu, WM_KEYDOWN, VK_RETURN, 0);
    const HWND hAsk = m_launcher.FindTopWindow(kBoxClass, L"提示", 10000);
    ASSERT_NE(nullptr, hAsk) << "menu item did not ask";
    ::PostMessageW(hAsk, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(hAsk); }));

    // A second launcher meanwhile says so and leaves.
    {
        TestProcess second;
        ASSERT_TRUE(second.Start(m_exe));
        const HWND hBox = second.FindTopWindow(kBoxClass, L"提示", 20000);
        ASSERT_NE(nullptr, hBox);
        EXPECT_NE(std::wstring::npos, VarnelTest::ChildTexts(hBox).find(L"微端已经运行了。"));
        ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
        DWORD code = 99;
        ASSERT_TRUE(second.Wait(20000, &code));
        EXPECT_EQ(0u, code);
    }

    // Window close, Alt+F4 and the icon's "退出游戏" all ask; no keeps the game.
    AnswerQuitQuestion(hPlay, WM_CLOSE, 0, IDNO);
    AnswerQuitQuestion(hPlay, WM_SYSCOMMAND, SC_CLOSE, IDNO);
    AnswerQuitQuestion(hPlay, WM_COMMAND, 40007, IDNO);
    EXPECT_TRUE(::IsWindowVisible(hPlay));
    EXPECT_TRUE(m_launcher.IsRunning());

    // Yes ends the launcher, and its icon with it.
    AnswerQuitQuestion(hPlay, WM_CLOSE, 0, IDYES);
    DWORD code = 99;
    ASSERT_TRUE(m_launcher.Wait(20000, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(m_tray.Icons().empty()) << "a stale notification-area icon stayed";
}

TEST_F(LauncherPlayTest, PlayWindowShowsItsTitleBarButtonsToAssistiveTools)
{
    using namespace VarnelTest::AccessibleClient;
    Start("/play?client=pc");
    const HWND hPlay = m_launcher.FindTopWindow(L"zntr", L"zntr", kStartTimeoutMs);
    ASSERT_NE(nullptr, hPlay) << "no play window";
    ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(hPlay) != FALSE; }));

    // Asked from this process, as a screen reader would: the objects live in the launcher.
    const Acc window = WindowObject(hPlay);
    ASSERT_TRUE(window) << "the play window serves no accessibility object";
    // The maximised window shows restore, not maximise.
    for (const wchar_t* name : {L"客服", L"刷新", L"最小化", L"还原", L"关闭"}) {
        const Acc button = Find(window.Get(), name);
        ASSERT_TRUE(button) << Narrow(name);
        EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(button.Get())) << Narrow(name);
    }
    EXPECT_FALSE(Find(window.Get(), L"最大化"));

    // The close button's default action asks the quit question; yes ends the launcher.
    EXPECT_EQ(S_OK, Find(window.Get(), L"关闭")->accDoDefaultAction(Self()));
    const HWND hBox = m_launcher.FindTopWindow(kBoxClass, L"提示", 10000);
    ASSERT_NE(nullptr, hBox) << "no quit question";
    EXPECT_NE(std::wstring::npos, VarnelTest::ChildTexts(hBox).find(L"正在游戏是否退出？"));
    ::PostMessageW(hBox, WM_COMMAND, IDYES, 0);
    DWORD code = 99;
    ASSERT_TRUE(m_launcher.Wait(20000, &code));
    EXPECT_EQ(0u, code);
}
