// The skinned window base with real windows: skins from the four origins,
// notification routing through message maps and virtual windows, default keys,
// hit testing, rounded corners, the maximised placement, and a skin that fails.
#include <gtest/gtest.h>

#include "support/DibSurface.h"
#include "support/TestHelpers.h"
#include "support/TestProcess.h"
#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIWindowImplBase.h"

#include <cwchar>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::Narrow;

namespace {

// Shares nothing with the framework's class names, so it tests the caption
// rule's case-insensitive class comparison.
class CSwitchUI : public CControlUI
{
public:
    LPCWSTR GetClass() const override { return L"BUTTONui"; }
};

class CTestWnd : public WindowImplBase
{
public:
    LPCWSTR GetWndClassName() const override { return L"VarnelImplBaseTest"; }
    CUIString GetSkinDir() const override { return skinDir; }
    CUIString GetSkinXml() const override { return skinXml; }
    UI_RESOURCETYPE GetResourceType() const override { return type; }
    CUIString GetZIPFileName() const override { return zipName; }
    UINT GetResourceID() const override { return 201; }

    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        return std::wstring(pstrClass) == L"Switch" ? new CSwitchUI : nullptr;
    }
    void InitWindow() override { ++initCalls; }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ++finalCalls;
    }

    // Created hidden at (0, 0) by the base; shown without activation, which
    // wine would otherwise take seconds to undo on a bare X server.
    bool Open()
    {
        if (Create(nullptr, L"test", WS_POPUP, 0, 0, 0, 0, 0) == nullptr) return false;
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        return true;
    }
    ~CTestWnd() override
    {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }

    CPaintManagerUI& pm() { return m_pm; }
    CControlUI* Find(LPCWSTR name) { return m_pm.FindControl(name); }
    static const BYTE* ZipBuffer() { return m_lpResourceZIPBuffer; }

    UI_RESOURCETYPE type = UI_FROM_FILE;
    CUIString skinDir;
    CUIString skinXml = L"window.xml";
    CUIString zipName;
    int initCalls = 0;
    int finalCalls = 0;
};

// Pumps the way the launcher's loop does (the paint managers see every
// message first) until nothing is left.
void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

// Pumps until the window is gone; the code of the WM_CLOSE that ended it,
// -1 when it ended without one, -2 on time-out.
long long RunUntilClosed(HWND hWnd, DWORD timeoutMs = 5000)
{
    long long code = -1;
    const DWORD start = ::GetTickCount();
    while (::IsWindow(hWnd)) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_CLOSE && msg.hwnd == hWnd) code = static_cast<long long>(msg.wParam);
            if (!CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (::GetTickCount() - start > timeoutMs) return -2;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return code;
}

LRESULT HitTest(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    return ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

void PostClick(HWND hWnd, int x, int y)
{
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::wstring Fixture(LPCWSTR name)
{
    return std::wstring(VARNEL_SOURCE_DIR) + L"/tests/fixtures/windowimplbase/" + name;
}

// A folder next to the test exe: skin folders are named relative to the
// instance's folder. Removed with its contents.
class SkinFolder
{
public:
    SkinFolder()
    {
        static int counter = 0;
        m_name = L"winbase-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        m_path = std::wstring(CPaintManagerUI::GetInstancePath().GetData()) + m_name;
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~SkinFolder() { VarnelTest::RemoveTree(m_path); }
    SkinFolder(const SkinFolder&) = delete;
    SkinFolder& operator=(const SkinFolder&) = delete;

    // The skin directory as a window names it.
    CUIString Dir() const { return (m_name + L"\\").c_str(); }
    bool Add(const std::wstring& from, LPCWSTR name) const { return VarnelTest::CopyTo(from, m_path + L"\\" + name); }

private:
    std::wstring m_name;
    std::wstring m_path;
};

class WindowImplBaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        // The archive setting is process-wide: every test starts without one.
        CPaintManagerUI::SetResourceZip(L"", false);
    }
    void TearDown() override { CPaintManagerUI::SetResourceZip(L"", false); }
};

// ---- the skin's origins ---------------------------------------------------------

// What window.xml makes of a window, wherever it came from.
void ExpectTheTestSkin(CTestWnd& wnd)
{
    CControlUI* pRoot = wnd.pm().GetRoot();
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(pRoot->GetClass(), L"VerticalLayoutUI");
    EXPECT_EQ(wnd.initCalls, 1);

    RECT rcClient = {};
    ::GetClientRect(wnd, &rcClient);
    EXPECT_EQ(rcClient.right, 300);
    EXPECT_EQ(rcClient.bottom, 200);
    const RECT& rcCaption = wnd.pm().GetCaptionRect();
    EXPECT_EQ(rcCaption.bottom, 40);

    CControlUI* pOk = wnd.Find(L"okbtn");
    ASSERT_NE(pOk, nullptr);
    EXPECT_STREQ(pOk->GetClass(), L"ButtonUI");
    const RECT rcOk = pOk->GetPos();
    EXPECT_EQ(rcOk.left, 200);
    EXPECT_EQ(rcOk.right, 260);
    EXPECT_EQ(rcOk.bottom, 40);
    ASSERT_NE(wnd.Find(L"switch"), nullptr) << "the callback's control is missing";
    ASSERT_NE(wnd.Find(L"title"), nullptr);
    EXPECT_EQ(Narrow(wnd.Find(L"title")->GetText().GetData()), "Title");

    // The body's image comes from the same origin as the document.
    VarnelTest::DibSurface surface(300, 200, 0x000000);
    ::SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
    EXPECT_EQ(surface.At(150, 120), 0x2E8B57u);
}

TEST_F(WindowImplBaseTest, AllFourOriginsBuildTheSameWindow)
{
    const std::wstring zip = std::wstring(VARNEL_BINARY_DIR) + L"/tests/windowimplbase/windowimplbase_skin.zip";
    {
        SCOPED_TRACE("UI_FROM_FILE");
        SkinFolder folder;
        ASSERT_TRUE(folder.Add(Fixture(L"window.xml"), L"window.xml"));
        ASSERT_TRUE(folder.Add(Fixture(L"swatch.png"), L"swatch.png"));
        CTestWnd wnd;
        wnd.skinDir = folder.Dir();
        ASSERT_TRUE(wnd.Open());
        ExpectTheTestSkin(wnd);
    }
    {
        SCOPED_TRACE("UI_FROM_ZIP");
        SkinFolder folder; // nothing but the archive
        ASSERT_TRUE(folder.Add(zip, L"skin.zip"));
        CTestWnd wnd;
        wnd.type = UI_FROM_ZIP;
        wnd.skinDir = folder.Dir();
        wnd.zipName = L"skin.zip";
        ASSERT_TRUE(wnd.Open());
        ExpectTheTestSkin(wnd);
        EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
        ::DestroyWindow(wnd);
        CPaintManagerUI::SetResourceZip(L"", false); // lets go of the file
    }
    {
        SCOPED_TRACE("UI_FROM_RESOURCE");
        SkinFolder folder; // the document is resource 202; the image a file
        ASSERT_TRUE(folder.Add(Fixture(L"swatch.png"), L"swatch.png"));
        CTestWnd wnd;
        wnd.type = UI_FROM_RESOURCE;
        wnd.skinDir = folder.Dir();
        wnd.skinXml = L"202";
        ASSERT_TRUE(wnd.Open());
        ExpectTheTestSkin(wnd);
    }
    {
        SCOPED_TRACE("UI_FROM_ZIPRESOURCE");
        SkinFolder folder; // empty: everything is in resource 201
        CTestWnd wnd;
        wnd.type = UI_FROM_ZIPRESOURCE;
        wnd.skinDir = folder.Dir();
        ASSERT_TRUE(wnd.Open());
        ExpectTheTestSkin(wnd);
        EXPECT_EQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
        const BYTE* pBuffer = CTestWnd::ZipBuffer();
        ASSERT_NE(pBuffer, nullptr);

        // A second window reuses the process's one copy, and it outlives them.
        CTestWnd second;
        second.type = UI_FROM_ZIPRESOURCE;
        second.skinDir = folder.Dir();
        ASSERT_TRUE(second.Open());
        ::DestroyWindow(wnd);
        EXPECT_EQ(CTestWnd::ZipBuffer(), pBuffer);
        ExpectTheTestSkin(second);
    }
}

TEST_F(WindowImplBaseTest, FinalMessageDetachesTheWindow)
{
    CTestWnd wnd;
    wnd.skinXml = L"<Window size=\"120,90\"><Button name=\"okbtn\" /></Window>";
    ASSERT_TRUE(wnd.Open());
    CControlUI* pOk = wnd.Find(L"okbtn");
    ASSERT_NE(pOk, nullptr);
    ::DestroyWindow(wnd);
    EXPECT_EQ(wnd.finalCalls, 1);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
    // The window no longer hears its controls nor filters its messages.
    EXPECT_FALSE(wnd.pm().RemoveNotifier(&wnd));
    EXPECT_FALSE(wnd.pm().RemovePreMessageFilter(&wnd));
}

// ---- notifications --------------------------------------------------------------

class CRoutedWnd : public CTestWnd
{
public:
    void OnOk(TNotifyUI& msg) { log.push_back("ok:" + Narrow(msg.sender->GetName().GetData())); }
    void OnAnyClick(TNotifyUI& msg) { log.push_back("any:" + Narrow(msg.sender->GetName().GetData())); }
    void OnValue(WPARAM wParam, LPARAM lParam)
    {
        log.push_back("value:" + std::to_string(wParam) + "," + std::to_string(lParam));
    }

    std::vector<std::string> log;

    UI_DECLARE_MESSAGE_MAP()
};

// The same two click entries in both orders, below the map of CRoutedWnd.
class CNamedFirstWnd : public CRoutedWnd
{
    UI_DECLARE_MESSAGE_MAP()
};

class CAnyFirstWnd : public CRoutedWnd
{
    UI_DECLARE_MESSAGE_MAP()
};

class CPanePump : public CNotifyPump
{
public:
    void OnClick(TNotifyUI& msg) { log.push_back("pane:" + Narrow(msg.sender->GetName().GetData())); }
    std::vector<std::string> log;

    UI_DECLARE_MESSAGE_MAP()
};

UI_IMPLEMENT_MESSAGE_MAP(CRoutedWnd, CTestWnd)
const UI_MSGMAP_ENTRY CRoutedWnd::_messageEntries[] = {
    UIMsgEntry(L"valuechanged", L"", &CRoutedWnd::OnValue),
    UIMsgMapEnd(),
};

UI_IMPLEMENT_MESSAGE_MAP(CNamedFirstWnd, CRoutedWnd)
const UI_MSGMAP_ENTRY CNamedFirstWnd::_messageEntries[] = {
    UIMsgEntry(L"click", L"okbtn", &CRoutedWnd::OnOk),
    UIMsgEntry(L"click", L"", &CRoutedWnd::OnAnyClick),
    UIMsgMapEnd(),
};

UI_IMPLEMENT_MESSAGE_MAP(CAnyFirstWnd, CRoutedWnd)
const UI_MSGMAP_ENTRY CAnyFirstWnd::_messageEntries[] = {
    UIMsgEntry(L"click", L"", &CRoutedWnd::OnAnyClick),
    UIMsgEntry(L"click", L"okbtn", &CRoutedWnd::OnOk),
    UIMsgMapEnd(),
};

UI_IMPLEMENT_MESSAGE_MAP(CPanePump, CNotifyPump)
const UI_MSGMAP_ENTRY CPanePump::_messageEntries[] = {
    UIMsgEntry(L"click", L"", &CPanePump::OnClick),
    UIMsgMapEnd(),
};

constexpr wchar_t kRoutingSkin[] = L"<Window size=\"200,100\"><HorizontalLayout>"
                                   L"<Button name=\"okbtn\" /><Button name=\"closebtn\" /><Label name=\"title\" />"
                                   L"</HorizontalLayout></Window>";

template <class TWnd>
std::vector<std::string> RouteClicks()
{
    TWnd wnd;
    wnd.skinXml = kRoutingSkin;
    EXPECT_TRUE(wnd.Open());
    for (LPCWSTR name : {L"okbtn", L"title", L"closebtn", L"okbtn"}) wnd.pm().SendNotify(wnd.Find(name), L"click");
    wnd.pm().SendNotify(wnd.Find(L"title"), L"valuechanged", 5, 9);
    wnd.pm().SendNotify(wnd.Find(L"okbtn"), L"selectchanged"); // no handler anywhere
    Pump();
    // The derived map's click entry for any control takes "closebtn" too.
    EXPECT_TRUE(::IsWindow(wnd));
    return wnd.log;
}

TEST_F(WindowImplBaseTest, ClicksRouteByControlNameWhateverTheEntryOrder)
{
    const std::vector<std::string> expected = {"ok:okbtn", "any:title", "any:closebtn", "ok:okbtn", "value:5,9"};
    EXPECT_EQ(RouteClicks<CNamedFirstWnd>(), expected);
    EXPECT_EQ(RouteClicks<CAnyFirstWnd>(), expected);
}

TEST_F(WindowImplBaseTest, VirtualWindowsTakeTheirControlsNotificationsFirst)
{
    CNamedFirstWnd wnd;
    wnd.skinXml = kRoutingSkin;
    ASSERT_TRUE(wnd.Open());
    CPanePump pane;
    EXPECT_TRUE(wnd.AddVirtualWnd(L"Pane", &pane));
    EXPECT_FALSE(wnd.AddVirtualWnd(L"Pane", &pane));
    CControlUI* pOk = wnd.Find(L"okbtn");
    pOk->SetVirtualWnd(L"PANE"); // matched ignoring case

    wnd.pm().SendNotify(pOk, L"click");
    wnd.pm().SendNotify(pOk, L"valuechanged", 1, 2); // the pane has no handler: the window's
    wnd.pm().SendNotify(wnd.Find(L"title"), L"click");
    EXPECT_EQ(pane.log, (std::vector<std::string>{"pane:okbtn"}));
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"value:1,2", "any:title"}));

    EXPECT_TRUE(wnd.RemoveVirtualWnd(L"Pane"));
    EXPECT_FALSE(wnd.RemoveVirtualWnd(L"Pane"));
    wnd.pm().SendNotify(pOk, L"click");
    EXPECT_EQ(pane.log.size(), 1u);
    EXPECT_EQ(wnd.log.back(), "ok:okbtn");
}

TEST_F(WindowImplBaseTest, CloseButtonClickClosesWithCodeOne)
{
    CTestWnd wnd;
    wnd.skinXml = kRoutingSkin;
    ASSERT_TRUE(wnd.Open());
    // Name and class decide, not the place: the middle button is "closebtn".
    const RECT rc = wnd.Find(L"closebtn")->GetPos();
    ASSERT_GT(rc.right, rc.left);
    PostClick(wnd, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    EXPECT_EQ(RunUntilClosed(wnd), 1);
    EXPECT_EQ(wnd.finalCalls, 1);
}

TEST_F(WindowImplBaseTest, EscapeClosesAndReturnDoesNot)
{
    CTestWnd wnd;
    wnd.skinXml = kRoutingSkin;
    ASSERT_TRUE(wnd.Open());
    ::PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(wnd, WM_KEYDOWN, 'A', 0);
    Pump();
    EXPECT_TRUE(::IsWindow(wnd));

    ::PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(RunUntilClosed(wnd), 1);
}

// ---- hit testing, region, maximised placement ------------------------------------

TEST_F(WindowImplBaseTest, HitTestingFindsBordersAndTheDraggableCaption)
{
    SkinFolder folder;
    ASSERT_TRUE(folder.Add(Fixture(L"window.xml"), L"window.xml"));
    CTestWnd wnd;
    wnd.skinDir = folder.Dir();
    ASSERT_TRUE(wnd.Open());
    // 300 x 200, size box 4 on every side, caption band 40 high: label 0..170,
    // switch 170..200, okbtn 200..260, closebtn 260..300.
    const struct
    {
        int x, y;
        LRESULT code;
    } cases[] = {
        {2, 2, HTTOPLEFT},    {3, 3, HTTOPLEFT},         {150, 2, HTTOP},      {298, 2, HTTOPRIGHT},
        {2, 100, HTLEFT},     {297, 100, HTRIGHT},       {296, 100, HTCLIENT}, {2, 198, HTBOTTOMLEFT},
        {150, 198, HTBOTTOM}, {298, 198, HTBOTTOMRIGHT}, {4, 4, HTCAPTION},    {100, 20, HTCAPTION},
        {150, 39, HTCAPTION}, {150, 40, HTCLIENT},       {185, 20, HTCLIENT},  {230, 20, HTCLIENT},
        {280, 20, HTCLIENT},
    };
    for (const auto& c : cases) EXPECT_EQ(HitTest(wnd, c.x, c.y), c.code) << "at " << c.x << "," << c.y;
}

// Wine may end the process with an X error when it maximises a window after
// another window of the process was destroyed (seen on a long-running X
// server without a window manager), so this test runs again in a fresh copy
// of this exe, where its window is the first one.
constexpr wchar_t kFreshProcessVariable[] = L"VARNEL_WINDOWIMPLBASE_FRESH_PROCESS";

bool InFreshProcess()
{
    return ::GetEnvironmentVariableW(kFreshProcessVariable, nullptr, 0) != 0;
}

void RunInFreshProcess(const char* testName)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string name = std::string("WindowImplBaseTest.") + testName;
    ::SetEnvironmentVariableW(kFreshProcessVariable, L"1");
    VarnelTest::TestProcess child;
    const bool started = child.Start(self, L"--gtest_filter=" + std::wstring(name.begin(), name.end()),
                                     VarnelTest::TestProcess::OutputMode::Captured);
    ::SetEnvironmentVariableW(kFreshProcessVariable, nullptr);
    ASSERT_TRUE(started);
    DWORD code = 99;
    ASSERT_TRUE(child.Wait(60000, &code));
    EXPECT_EQ(code, 0u) << child.Output();
    EXPECT_NE(child.Output().find("[  PASSED  ] 1 test"), std::string::npos) << child.Output();
}

TEST_F(WindowImplBaseTest, MaximisedWindowFillsTheWorkAreaAndHasNoBorders)
{
    if (!InFreshProcess()) {
        RunInFreshProcess("MaximisedWindowFillsTheWorkAreaAndHasNoBorders");
        return;
    }
    SkinFolder folder;
    ASSERT_TRUE(folder.Add(Fixture(L"window.xml"), L"window.xml"));
    CTestWnd wnd;
    wnd.skinDir = folder.Dir();
    ASSERT_TRUE(wnd.Open());

    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &info));
    const RECT& rcWork = info.rcWork;
    const LONG workWidth = rcWork.right - rcWork.left;
    const LONG workHeight = rcWork.bottom - rcWork.top;

    MINMAXINFO mmi = {};
    mmi.ptMaxPosition = {-50, -50};
    mmi.ptMaxTrackSize = {99999, 99999};
    ::SendMessageW(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMaxPosition.x, rcWork.left - info.rcMonitor.left);
    EXPECT_EQ(mmi.ptMaxPosition.y, rcWork.top - info.rcMonitor.top);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, workWidth);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, workHeight);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 120); // the skin's mininfo
    EXPECT_EQ(mmi.ptMinTrackSize.y, 80);

    ::ShowWindow(wnd, SW_MAXIMIZE);
    ::UpdateWindow(wnd);
    RECT rcWindow = {};
    RECT rcClient = {};
    ::GetWindowRect(wnd, &rcWindow);
    ::GetClientRect(wnd, &rcClient);
    EXPECT_TRUE(::EqualRect(&rcWindow, &rcWork))
        << rcWindow.left << "," << rcWindow.top << "," << rcWindow.right << "," << rcWindow.bottom;
    EXPECT_EQ(rcClient.right, workWidth);
    EXPECT_EQ(rcClient.bottom, workHeight);

    // Maximised, the size box is gone: the corner is caption (over the
    // label), the far corner plain client area.
    EXPECT_EQ(HitTest(wnd, 2, 2), HTCAPTION);
    EXPECT_EQ(HitTest(wnd, workWidth - 2, workHeight - 2), HTCLIENT);
    EXPECT_EQ(HitTest(wnd, workWidth - 20, 20), HTCLIENT); // closebtn at the right end
}

TEST_F(WindowImplBaseTest, RoundCornerClipsTheWindow)
{
    CTestWnd square;
    square.skinXml = L"<Window size=\"200,100\"><Control /></Window>";
    ASSERT_TRUE(square.Open());
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(square, hRgn), ERROR) << "a square window needs no region";

    CTestWnd round;
    round.skinXml = L"<Window size=\"200,100\" roundcorner=\"20,20\"><Control /></Window>";
    ASSERT_TRUE(round.Open());
    // The size arrives before the tree; any later size change applies it.
    ::SetWindowPos(round, nullptr, 0, 0, 220, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(::GetWindowRgn(round, hRgn), ERROR);
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    EXPECT_FALSE(::PtInRegion(hRgn, 219, 119));
    EXPECT_TRUE(::PtInRegion(hRgn, 10, 10));
    EXPECT_TRUE(::PtInRegion(hRgn, 110, 0));
    EXPECT_TRUE(::PtInRegion(hRgn, 219, 60));
    ::DeleteObject(hRgn);
}

// ---- a skin that cannot be built -------------------------------------------------

struct ProbeRun
{
    std::string output;
    std::wstring boxText;
    DWORD exitCode = 99;
};

// Runs the probe; answers its message box, if one comes within boxWaitMs.
ProbeRun RunProbe(const std::wstring& args, DWORD boxWaitMs)
{
    ProbeRun run;
    VarnelTest::TestProcess probe;
    EXPECT_TRUE(probe.Start(VarnelTest::BinaryPath(L"tests/programs/SkinFailureProbe.exe"), args,
                            VarnelTest::TestProcess::OutputMode::Captured));
    if (HWND box = probe.FindTopWindow(nullptr, L"VarnelUI", boxWaitMs)) {
        run.boxText = VarnelTest::ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    EXPECT_TRUE(probe.Wait(20000, &run.exitCode));
    // The C runtime writes text-mode line ends.
    for (char c : probe.Output())
        if (c != '\r') run.output.push_back(c);
    return run;
}

TEST(WindowImplBaseFailure, SkinThatFailsToBuildEndsTheProcessWithCodeOne)
{
    for (const wchar_t* skin : {L"\"<Window><Container></Window>\"", L"no-such-skin.xml"}) {
        SCOPED_TRACE(testing::Message() << "skin " << std::string(skin, skin + std::wcslen(skin)));
        const ProbeRun run = RunProbe(std::wstring(L"file ") + skin, 20000);
        EXPECT_NE(run.boxText.find(L"加载资源文件失败"), std::wstring::npos);
        EXPECT_EQ(run.exitCode, 1u);
        EXPECT_EQ(run.output, "");
    }
}

TEST(WindowImplBaseFailure, GoodSkinAndMissingArchiveResourceShowNoMessage)
{
    ProbeRun run = RunProbe(L"file \"<Window><Container /></Window>\"", 1500);
    EXPECT_EQ(run.boxText, L"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "built\n");

    // No "ZIPRES" resource 999: the window stays empty, nothing is shown.
    run = RunProbe(L"zipres 999", 1500);
    EXPECT_EQ(run.boxText, L"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "empty\n");
}

} // namespace
