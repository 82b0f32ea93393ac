// The login web window, the play window and the notification-area icon in
// this process, on the launcher's own skin and resources, with the browser
// double standing in for the platform browser and a stand-in notification
// area recording the icon requests.
#include <gtest/gtest.h>

#include "app/LaunchSettings.h"
#include "app/TrayIcon.h"
#include "app/VarnelPlayFrame.h"
#include "app/VarnelWebFrame.h"
#include "support/FakeNotificationArea.h"
#include "support/TestActiveX.h"
#include "support/TestHelpers.h"
#include "support/TestProcess.h"
#include "varnelui/control/UIControl.h"
#include "varnelui/control/UIWebBrowser.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>
#include <memory>
#include <string>

using namespace VarnelUI;
using namespace VarnelTest;

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
constexpr DWORD kWebWindowStyle = 0x96C80000;
constexpr RECT kLoginWebRect = {384, 184, 1070, 621};
constexpr wchar_t kKeyword[] = L"client=pc";

// Messages as the launcher's loop delivers them: through the paint managers'
// filters first, so the default keys are seen.
void PumpUi(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (ms != 0) ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

template <class Pred>
bool PumpUntil(Pred done, DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        PumpUi(10);
    }
    return true;
}

CWebBrowserUI* BrowserOf(CPaintManagerUI& pm)
{
    CControlUI* pControl = pm.FindControl(L"WebBrowser");
    return pControl != nullptr ? static_cast<CWebBrowserUI*>(pControl->GetInterface(L"WebBrowser")) : nullptr;
}

std::wstring TextOf(CPaintManagerUI& pm, LPCWSTR name)
{
    CControlUI* pControl = pm.FindControl(name);
    return pControl != nullptr ? std::wstring(pControl->GetText().GetData()) : L"<none>";
}

// The skin archive, icon and menu come from the launcher exe itself, loaded
// as a resource module; settings as the shipped configuration has them.
class LauncherResources : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_hModule = ::LoadLibraryExW(BinaryPath(L"varnelTemplate.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_hModule) << "build varnelTemplate first";
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        CPaintManagerUI::SetResourceDll(m_hModule);
        GetLaunchSettings().playGamekeyWord = kKeyword;
        GetLaunchSettings().clientName = L"Zentari";
    }

private:
    HMODULE m_hModule = nullptr;
};

const auto* const g_resources = ::testing::AddGlobalTestEnvironment(new LauncherResources);

class LauncherWindowsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_pWeb != nullptr) ::DestroyWindow(m_pWeb->GetHWND());
        PumpUi(0);
        GetLaunchSettings().playGamekeyWord = kKeyword;
    }

    // A login web window as the login frame makes it, shown over a login
    // frame at (100, 50), its browser on the double. The test exe carries no
    // trailer, so the window watches no navigation until `watch` hands the
    // browser its handler the way a trailer would.
    void OpenWebWindow(bool watch = true)
    {
        // In a child window of its own, like the platform's browser.
        CTestClassRegistration::Options().windowless = false;
        m_pWeb = new CVarnelWebFrame;
        m_pWeb->SetHolder(&m_pWeb);
        m_pWeb->SetOwnerRect(kLoginWebRect.left, kLoginWebRect.top, kLoginWebRect.right, kLoginWebRect.bottom);
        ASSERT_NE(nullptr, m_pWeb->Create(nullptr, L"TovikWindow", kWebWindowStyle, 0, 0, 0, 0, 0));
        CWebBrowserUI* pBrowser = BrowserOf(m_pWeb->GetPaintManager());
        ASSERT_NE(nullptr, pBrowser);
        pBrowser->CreateControl(kTestObjectClsid);
        if (watch) pBrowser->SetWebBrowserEventHandler(m_pWeb);
        m_pWeb->SetOwnerRect(100, 50, 1276, 781);
        ASSERT_TRUE(PumpUntil([] { return CTestClassRegistration::Last() != nullptr; }));
        m_pWebDouble = CTestClassRegistration::Last();
    }

    // Fires BeforeNavigate2 at the login web window; true when it cancelled.
    // A new play window gets its browser swapped onto the double before its
    // first layout.
    bool Navigate(LPCWSTR url, bool frame = false)
    {
        const CVarnelPlayFrame* pBefore = m_pWeb->GetPlayFrame();
        VARIANT_BOOL cancel = VARIANT_FALSE;
        CUIComPtr<IDispatch> pFrameDispatch;
        if (frame) pFrameDispatch.QueryFrom(static_cast<ICustomDoc*>(new CTestDocument(L"frame")));
        IDispatch* pDisp = frame ? pFrameDispatch.Get() : m_pWebDouble->AsDispatch();
        EXPECT_EQ(S_OK, m_pWebDouble->FireBeforeNavigate2(pDisp, url, frame ? L"main" : L"", cancel));
        if (frame) pFrameDispatch->Release(); // the reference QueryFrom added to the new object's own
        CVarnelPlayFrame* pPlay = m_pWeb->GetPlayFrame();
        if (pPlay != nullptr && pPlay != pBefore) {
            BrowserOf(pPlay->GetPaintManager())->CreateControl(kTestObjectClsid);
            const size_t count = CTestClassRegistration::Created().size();
            EXPECT_TRUE(PumpUntil([&] { return CTestClassRegistration::Created().size() > count; }));
            m_pPlayDouble = CTestClassRegistration::Last();
        }
        return cancel == VARIANT_TRUE;
    }

    CFakeNotificationArea m_tray;
    CTestClassRegistration m_registration;
    CVarnelWebFrame* m_pWeb = nullptr;
    CTestOleObject* m_pWebDouble = nullptr;
    CTestOleObject* m_pPlayDouble = nullptr;
};

} // namespace

// ---- the login web window ------------------------------------------------------------------

TEST_F(LauncherWindowsTest, WebWindowIsAColourKeyedPopupGluedAtTheRecordedOffset)
{
    OpenWebWindow();
    const HWND hWnd = m_pWeb->GetHWND();
    const RECT rc = WindowRect(hWnd);
    EXPECT_EQ(100 + 384, rc.left);
    EXPECT_EQ(50 + 184, rc.top);
    EXPECT_EQ(686, rc.right - rc.left);
    EXPECT_EQ(437, rc.bottom - rc.top);
    EXPECT_TRUE(::IsWindowVisible(hWnd));

    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
    EXPECT_EQ(0u, style & WS_CAPTION);
    EXPECT_EQ(0u, style & WS_CLIPCHILDREN);
    EXPECT_NE(0u, style & WS_POPUP);
    EXPECT_NE(0u, static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE)) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(hWnd, &key, &alpha, &flags));
    EXPECT_EQ(RGB(0, 255, 0), key);
    EXPECT_EQ(static_cast<DWORD>(LWA_COLORKEY), flags);

    // Every later owner rectangle moves it, keeping the recorded size.
    m_pWeb->SetOwnerRect(-20, 300, 1156, 1031);
    const RECT moved = WindowRect(hWnd);
    EXPECT_EQ(-20 + 384, moved.left);
    EXPECT_EQ(300 + 184, moved.top);
    EXPECT_EQ(686, moved.right - moved.left);
}

TEST_F(LauncherWindowsTest, OffsetAtTheOriginIsRecordedOnlyOnce)
{
    // A web rectangle starting at 0,0 is as much a recorded offset as any.
    auto* pWeb = new CVarnelWebFrame;
    pWeb->SetOwnerRect(0, 0, 300, 200);
    ASSERT_NE(nullptr, pWeb->Create(nullptr, L"TovikWindow", kWebWindowStyle, 0, 0, 0, 0, 0));
    m_pWeb = pWeb;
    m_pWeb->SetHolder(&m_pWeb);
    m_pWeb->SetOwnerRect(100, 50, 1276, 781);
    m_pWeb->SetOwnerRect(200, 80, 1376, 811);
    const RECT rc = WindowRect(m_pWeb->GetHWND());
    EXPECT_EQ(200, rc.left);
    EXPECT_EQ(80, rc.top);
    EXPECT_EQ(300, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
}

TEST_F(LauncherWindowsTest, EscapeClosesTheWebWindowAndClearsItsHolder)
{
    OpenWebWindow();
    const HWND hWnd = m_pWeb->GetHWND();
    ::PostMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 0);
    PumpUi(50);
    EXPECT_TRUE(::IsWindow(hWnd)) << "Enter closed the web window";
    EXPECT_NE(nullptr, m_pWeb);

    ::PostMessageW(hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hWnd); }));
    // The holder (the login frame in the launcher) now knows there is nothing to move.
    EXPECT_EQ(nullptr, m_pWeb);
}

TEST_F(LauncherWindowsTest, WithoutTrailerTheWebWindowWatchesNothing)
{
    OpenWebWindow(false);
    EXPECT_STREQ(L"", BrowserOf(m_pWeb->GetPaintManager())->GetHomePage());
    EXPECT_FALSE(Navigate(L"http://127.0.0.1/play?client=pc"));
    EXPECT_EQ(nullptr, m_pWeb->GetPlayFrame());
}

TEST_F(LauncherWindowsTest, OnlyAddressesContainingTheKeywordOpenThePlayWindow)
{
    OpenWebWindow();
    EXPECT_FALSE(Navigate(L"about:blank"));
    EXPECT_FALSE(Navigate(L"http://127.0.0.1/login/index.html"));
    EXPECT_FALSE(Navigate(L"http://127.0.0.1/play?Client=PC"));
    EXPECT_FALSE(Navigate(L"http://127.0.0.1/play?client=p"));
    EXPECT_EQ(nullptr, m_pWeb->GetPlayFrame());
    EXPECT_TRUE(::IsWindowVisible(m_pWeb->GetHWND()));

    // Anywhere in the address, here in the path of a frame's navigation.
    EXPECT_TRUE(Navigate(L"http://127.0.0.1/game/client=pc/start", true));
    CVarnelPlayFrame* pPlay = m_pWeb->GetPlayFrame();
    ASSERT_NE(nullptr, pPlay);
    EXPECT_STREQ(L"http://127.0.0.1/game/client=pc/start", pPlay->GetGameURL());
    const HWND hPlay = pPlay->GetHWND();
    wchar_t text[64] = {};
    ::GetClassNameW(hPlay, text, 64);
    EXPECT_STREQ(L"zntr", text);
    ::GetWindowTextW(hPlay, text, 64);
    EXPECT_STREQ(L"zntr", text);
    EXPECT_TRUE(::IsWindowVisible(hPlay));
    EXPECT_TRUE(::IsZoomed(hPlay));
    EXPECT_FALSE(::IsWindowVisible(m_pWeb->GetHWND()));
    EXPECT_EQ(0u, static_cast<DWORD>(::GetWindowLongPtrW(hPlay, GWL_STYLE)) & WS_THICKFRAME);

    // The play window's browser opens the game address.
    ASSERT_NE(nullptr, m_pPlayDouble);
    EXPECT_TRUE(m_pPlayDouble->HasCall(L"Navigate2 about:blank"));
    EXPECT_TRUE(m_pPlayDouble->HasCall(L"Navigate2 http://127.0.0.1/game/client=pc/start"));
}

TEST_F(LauncherWindowsTest, RedirectWrapperOpensTheGameOnItsInnerAddress)
{
    OpenWebWindow();
    EXPECT_TRUE(Navigate(L"https://redirect.example.test/go?to=http://127.0.0.1:8080/play?client=pc"));
    ASSERT_NE(nullptr, m_pWeb->GetPlayFrame());
    EXPECT_STREQ(L"http://127.0.0.1:8080/play?client=pc", m_pWeb->GetPlayFrame()->GetGameURL());
}

TEST_F(LauncherWindowsTest, LaterMatchesReuseThePlayWindow)
{
    OpenWebWindow();
    ASSERT_TRUE(Navigate(L"http://127.0.0.1/play?client=pc&first"));
    CVarnelPlayFrame* pPlay = m_pWeb->GetPlayFrame();
    ASSERT_NE(nullptr, pPlay);
    const HWND hPlay = pPlay->GetHWND();

    // The login page reloads and leads to the game again.
    ::ShowWindow(hPlay, SW_RESTORE);
    m_pWeb->ShowWindow(true, false);
    ASSERT_FALSE(::IsZoomed(hPlay));
    EXPECT_TRUE(Navigate(L"http://127.0.0.1/play?client=pc&second"));
    EXPECT_EQ(pPlay, m_pWeb->GetPlayFrame());
    EXPECT_STREQ(L"http://127.0.0.1/play?client=pc&first", pPlay->GetGameURL());
    EXPECT_TRUE(::IsZoomed(hPlay));
    EXPECT_FALSE(::IsWindowVisible(m_pWeb->GetHWND()));
    int playWindows = 0;
    for (HWND h = ::FindWindowW(L"zntr", L"zntr"); h != nullptr; h = ::FindWindowExW(nullptr, h, L"zntr", L"zntr")) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(h, &pid);
        if (pid == ::GetCurrentProcessId()) ++playWindows;
    }
    EXPECT_EQ(1, playWindows);
}

TEST_F(LauncherWindowsTest, EmptyKeywordMatchesTheFirstNavigation)
{
    GetLaunchSettings().playGamekeyWord = L"";
    OpenWebWindow();
    EXPECT_TRUE(Navigate(L"about:blank"));
    ASSERT_NE(nullptr, m_pWeb->GetPlayFrame());
    EXPECT_STREQ(L"about:blank", m_pWeb->GetPlayFrame()->GetGameURL());
}

// ---- the play window -------------------------------------------------------------------------

TEST_F(LauncherWindowsTest, PlayWindowShowsTheIconInTheTitleBarAndTheNotificationArea)
{
    OpenWebWindow();
    ASSERT_TRUE(Navigate(L"http://127.0.0.1/play?client=pc"));
    CVarnelPlayFrame* pPlay = m_pWeb->GetPlayFrame();
    const HWND hPlay = pPlay->GetHWND();
    CPaintManagerUI& pm = pPlay->GetPaintManager();

    // The logo is the icon, registered under a name and still drawable:
    // the image cache owns its bitmap.
    TImageInfo* pLogo = pm.GetImage(L"Logo.png");
    ASSERT_NE(nullptr, pLogo);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), pLogo->width);
    BITMAP bm = {};
    EXPECT_NE(0, ::GetObjectW(pLogo->hBitmap, sizeof(bm), &bm)) << "the logo's bitmap was deleted";
    ASSERT_NE(nullptr, pm.FindControl(L"logo"));
    EXPECT_STREQ(L"Logo.png", pm.FindControl(L"logo")->GetBkImage());

    const TrayIcon& tray = pPlay->GetTrayIcon();
    EXPECT_EQ(hPlay, tray.GetOwner());
    EXPECT_NE(nullptr, tray.GetIcon());
    ASSERT_TRUE(m_tray.IsActive()) << "the stand-in notification area is not the one the shell finds";
    ASSERT_TRUE(m_tray.WaitForIcon(hPlay, 0, true, 2000));
    const auto icons = m_tray.Icons();
    const auto it = std::find_if(icons.begin(), icons.end(), [&](const auto& icon) { return icon.hWnd == hPlay; });
    ASSERT_NE(icons.end(), it);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), it->flags);
    EXPECT_EQ(1025u, it->callbackMessage);
    EXPECT_EQ(L"Zentari", it->tip);

    // Gone with the window chain: the web window takes the play window with it.
    ::DestroyWindow(m_pWeb->GetHWND());
    EXPECT_FALSE(::IsWindow(hPlay));
    EXPECT_TRUE(m_tray.WaitForIcon(hPlay, 0, false, 2000)) << "the icon outlived the play window";
}

TEST_F(LauncherWindowsTest, PlayWindowTitleFollowsThePagesThatHaveOne)
{
    OpenWebWindow();
    ASSERT_TRUE(Navigate(L"http://127.0.0.1/play?client=pc"));
    CVarnelPlayFrame* pPlay = m_pWeb->GetPlayFrame();
    CPaintManagerUI& pm = pPlay->GetPaintManager();
    ASSERT_NE(nullptr, m_pPlayDouble);
    EXPECT_EQ(L"", TextOf(pm, L"titelLabel"));

    auto* pDocument = new CTestDocument(L"Zentari - Realm 3");
    m_pPlayDouble->SetDocument(pDocument);
    pDocument->Release();
    EXPECT_EQ(S_OK, m_pPlayDouble->FireNavigateComplete2(m_pPlayDouble->AsDispatch(), L"http://127.0.0.1/play"));
    EXPECT_EQ(L"Zentari - Realm 3", TextOf(pm, L"titelLabel"));

    // A frame finishing reads the top document too; an empty title keeps the last.
    pDocument = new CTestDocument(L"");
    m_pPlayDouble->SetDocument(pDocument);
    pDocument->Release();
    CUIComPtr<IDispatch> pFrame;
    pFrame.QueryFrom(static_cast<ICustomDoc*>(new CTestDocument(L"frame")));
    pFrame->Release();
    EXPECT_EQ(S_OK, m_pPlayDouble->FireNavigateComplete2(pFrame.Get(), L"http://127.0.0.1/ad"));
    EXPECT_EQ(L"Zentari - Realm 3", TextOf(pm, L"titelLabel"));

    // No document at all: nothing to read, nothing changes.
    m_pPlayDouble->SetDocument(nullptr);
    EXPECT_EQ(S_OK, m_pPlayDouble->FireNavigateComplete2(m_pPlayDouble->AsDispatch(), L"http://127.0.0.1/x"));
    EXPECT_EQ(L"Zentari - Realm 3", TextOf(pm, L"titelLabel"));
}

TEST_F(LauncherWindowsTest, PlayWindowTitleBarButtons)
{
    OpenWebWindow();
    ASSERT_TRUE(Navigate(L"http://127.0.0.1/play?client=pc"));
    CVarnelPlayFrame* pPlay = m_pWeb->GetPlayFrame();
    const HWND hPlay = pPlay->GetHWND();
    CPaintManagerUI& pm = pPlay->GetPaintManager();
    CControlUI* pRestore = pm.FindControl(L"restorebtn");
    CControlUI* pMax = pm.FindControl(L"maxbtn");
    ASSERT_NE(nullptr, pRestore);
    ASSERT_NE(nullptr, pMax);
    EXPECT_TRUE(pRestore->IsVisible());
    EXPECT_FALSE(pMax->IsVisible());

    pm.SendNotify(pRestore, L"click");
    EXPECT_FALSE(::IsZoomed(hPlay));
    EXPECT_FALSE(pRestore->IsVisible());
    EXPECT_TRUE(pMax->IsVisible());
    pm.SendNotify(pMax, L"click");
    EXPECT_TRUE(::IsZoomed(hPlay));
    EXPECT_TRUE(pRestore->IsVisible());
    EXPECT_FALSE(pMax->IsVisible());

    ASSERT_NE(nullptr, m_pPlayDouble);
    pm.SendNotify(pm.FindControl(L"refreshbtn"), L"click");
    EXPECT_TRUE(m_pPlayDouble->HasCall(L"Refresh2 3"));

    pm.SendNotify(pm.FindControl(L"minbtn"), L"click");
    EXPECT_TRUE(::IsIconic(hPlay));
    EXPECT_TRUE(::IsWindow(hPlay));
}

TEST_F(LauncherWindowsTest, PlayWindowKeysAndNotificationAreaClicks)
{
    OpenWebWindow();
    ASSERT_TRUE(Navigate(L"http://127.0.0.1/play?client=pc"));
    const HWND hPlay = m_pWeb->GetPlayFrame()->GetHWND();

    // Escape and Enter do nothing here.
    ::PostMessageW(hPlay, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(hPlay, WM_KEYDOWN, VK_RETURN, 0);
    PumpUi(50);
    EXPECT_TRUE(::IsWindowVisible(hPlay));

    // A hidden window comes back on a click, a double click or the menu item.
    struct TShowRequest
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    for (const TShowRequest& request : {TShowRequest{1025, 0, WM_LBUTTONDOWN}, TShowRequest{1025, 0, WM_LBUTTONDBLCLK},
                                        TShowRequest{WM_COMMAND, 40006, 0}}) {
        ::ShowWindow(hPlay, SW_HIDE);
        const LRESULT result = ::SendMessageW(hPlay, request.message, request.wParam, request.lParam);
        EXPECT_TRUE(::IsWindowVisible(hPlay)) << request.message << " " << request.wParam << " " << request.lParam;
        if (request.message == 1025) {
            EXPECT_EQ(1, result);
        }
    }
    // A minimised one counts as shown and stays minimised.
    ::ShowWindow(hPlay, SW_MINIMIZE);
    EXPECT_EQ(1, ::SendMessageW(hPlay, 1025, 0, WM_LBUTTONDOWN));
    ::SendMessageW(hPlay, WM_COMMAND, 40006, 0);
    EXPECT_TRUE(::IsIconic(hPlay));
}

// ---- the notification-area record ------------------------------------------------------------

TEST_F(LauncherWindowsTest, TrayIconRecordAndRemoval)
{
    CTestHostWindow owner(10, 10);
    const HICON hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    {
        TrayIcon tray;
        tray.Add(owner, hIcon, L"Zentari");
        const NOTIFYICONDATAW& data = tray.GetData();
        EXPECT_EQ(sizeof(NOTIFYICONDATAW), data.cbSize);
        EXPECT_EQ(owner.GetHWND(), data.hWnd);
        EXPECT_EQ(0u, data.uID);
        EXPECT_EQ(hIcon, data.hIcon);
        EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), data.uFlags);
        EXPECT_EQ(1025u, data.uCallbackMessage);
        EXPECT_STREQ(L"Zentari", data.szTip);

        tray.Remove();
        EXPECT_EQ(nullptr, tray.GetData().hWnd);
        EXPECT_EQ(0u, tray.GetData().cbSize);
        EXPECT_EQ(nullptr, tray.GetOwner());
        tray.Remove();

        // Without a tip, no tip flag; the destructor takes this one away.
        tray.Add(owner, hIcon, nullptr);
        EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON), tray.GetData().uFlags);
        EXPECT_STREQ(L"", tray.GetData().szTip);
    }
    ASSERT_TRUE(m_tray.IsActive()) << "the stand-in notification area is not the one the shell finds";
    std::wstring sequence;
    for (const auto& request : m_tray.Requests()) sequence += std::to_wstring(request.message) + L" ";
    // Added, removed once though asked twice, added again, removed by the destructor.
    EXPECT_EQ(L"0 2 0 2 ", sequence);
    EXPECT_TRUE(m_tray.Icons().empty());
}

TEST_F(LauncherWindowsTest, LongTooltipIsCutToFit)
{
    CTestHostWindow owner(10, 10);
    TrayIcon tray;
    const std::wstring longName(200, L'z');
    tray.Add(owner, nullptr, longName.c_str());
    EXPECT_EQ(longName.substr(0, 127), tray.GetData().szTip);

    const std::wstring exact(127, L'x');
    tray.Add(owner, nullptr, exact.c_str());
    EXPECT_EQ(exact, tray.GetData().szTip);

    // A character outside the basic plane straddling the limit is left out whole.
    const std::wstring straddling = std::wstring(126, L'a') + L"\U0001F3AE" + L"tail";
    tray.Add(owner, nullptr, straddling.c_str());
    EXPECT_EQ(std::wstring(126, L'a'), tray.GetData().szTip);
    ASSERT_TRUE(m_tray.IsActive()) << "the stand-in notification area is not the one the shell finds";
    ASSERT_TRUE(m_tray.WaitForIcon(owner, 0, true, 2000));
    EXPECT_EQ(std::wstring(126, L'a'), m_tray.Icons().back().tip);
}
