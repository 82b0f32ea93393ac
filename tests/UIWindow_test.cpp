// The native window wrapper with real windows: registration, message routing,
// the end of a window's life, subclassing, superclassing and the window chores.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIWindow.h"

using namespace VarnelUI;

namespace {

constexpr UINT WM_TEST_PING = WM_APP + 40;

class TestWnd final : public CWindowWnd
{
public:
    explicit TestWnd(LPCWSTR className = L"VarnelTestWnd", LPCWSTR superName = nullptr)
        : m_className(className),
          m_superName(superName)
    {
    }

    LPCWSTR GetWndClassName() const override { return m_className; }
    LPCWSTR GetSuperClassName() const override { return m_superName; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(uMsg);
        LRESULT lRes = 0;
        if (onMessage && onMessage(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    void OnFinalMessage(HWND hWnd) override
    {
        ++*finalCalls;
        finalHwnd = hWnd;
        handleAtFinal = GetHWND();
        userDataAtFinal = ::GetWindowLongPtrW(hWnd, GWLP_USERDATA);
        propAtFinal = ::GetPropW(hWnd, L"WndX");
        if (deleteSelf) delete this;
    }

    bool Subclassed() const { return m_bSubclassed; }
    WNDPROC OldProc() const { return m_OldWndProc; }

    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;
    std::vector<UINT> messages;
    int ownFinalCalls = 0;
    int* finalCalls = &ownFinalCalls; // survives a self-deleting object
    HWND finalHwnd = nullptr;
    HWND handleAtFinal = reinterpret_cast<HWND>(1);
    LONG_PTR userDataAtFinal = -1;
    HANDLE propAtFinal = nullptr;
    bool deleteSelf = false;

private:
    LPCWSTR m_className;
    LPCWSTR m_superName;
};

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LONG_PTR ProcOf(HWND hWnd)
{
    return ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
}

LONG_PTR AsLong(WNDPROC proc)
{
    return reinterpret_cast<LONG_PTR>(proc);
}

SIZE ClientSize(HWND hWnd)
{
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

RECT WorkArea(HWND hWnd)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
    void TearDown() override { Pump(); }
};

// Messages before WM_NCCREATE, seen from outside the window procedure.
std::vector<UINT>* g_hookTrace = nullptr;
LRESULT CALLBACK TraceHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_hookTrace != nullptr)
        g_hookTrace->push_back(reinterpret_cast<const CWPSTRUCT*>(lParam)->message);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(WindowTest, CreateAttachesObjectAndReusesRegisteredClass)
{
    TestWnd first, second;
    std::vector<UINT> hookTrace;
    g_hookTrace = &hookTrace;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, TraceHook, nullptr, ::GetCurrentThreadId());
    const HWND h1 = first.Create(nullptr, L"first", WS_OVERLAPPEDWINDOW, 0, 10, 10, 200, 100);
    ::UnhookWindowsHookEx(hook);
    g_hookTrace = nullptr;
    ASSERT_NE(h1, nullptr);

    // The early WM_GETMINMAXINFO of an overlapped window reaches the window
    // before the object is known; the object's first message is WM_NCCREATE.
    ASSERT_FALSE(hookTrace.empty());
    EXPECT_EQ(hookTrace.front(), static_cast<UINT>(WM_GETMINMAXINFO));
    ASSERT_FALSE(first.messages.empty());
    EXPECT_EQ(first.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(first.GetHWND(), h1);
    EXPECT_EQ(static_cast<HWND>(first), h1);
    EXPECT_EQ(::GetWindowLongPtrW(h1, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(ProcOf(h1), AsLong(&CWindowWnd::__WndProc));

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"VarnelTestWnd", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.hCursor, ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hbrBackground, nullptr);

    // Second window of the same class: registration "fails" as existing and counts as success.
    const HWND h2 = second.Create(nullptr, L"second", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(h2, nullptr);
    EXPECT_EQ(::GetClassLongPtrW(h1, GCW_ATOM), ::GetClassLongPtrW(h2, GCW_ATOM));
    EXPECT_TRUE(second.RegisterWindowClass());

    // Messages and results pass through unchanged.
    second.onMessage = [](UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lRes) {
        if (uMsg != WM_TEST_PING) return false;
        lRes = static_cast<LRESULT>(wParam) * 2;
        return true;
    };
    EXPECT_EQ(second.SendMessageW(WM_TEST_PING, 21), 42);
    EXPECT_TRUE(second.PostMessageW(WM_TEST_PING, 5));
    second.messages.clear();
    Pump();
    EXPECT_EQ(second.messages, std::vector<UINT>{WM_TEST_PING});

    ::DestroyWindow(h1);
    ::DestroyWindow(h2);
}

TEST_F(WindowTest, ForeignWindowsOfTheClassAndFailedRegistration)
{
    // A window of the class created without an object is left to the default procedure.
    TestWnd owner;
    ASSERT_TRUE(owner.RegisterWindowClass());
    const HWND bare = ::CreateWindowExW(0, L"VarnelTestWnd", L"bare", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(::SetWindowTextW(bare, L"text"));
    EXPECT_TRUE(::DestroyWindow(bare));
    EXPECT_TRUE(owner.messages.empty());

    TestWnd missing(L"VarnelTestMissingSuper", L"NoSuchSystemClassHere");
    EXPECT_FALSE(missing.RegisterSuperclass());
    EXPECT_EQ(missing.Create(nullptr, L"x", WS_POPUP, 0), nullptr);
    EXPECT_EQ(missing.GetHWND(), nullptr);
}

TEST_F(WindowTest, FinalMessageComesOnceAfterDestroy)
{
    TestWnd wnd;
    const HWND hWnd = wnd.CreateUIWindow(nullptr, L"final", WS_POPUP);
    ASSERT_NE(hWnd, nullptr);
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 0);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.ownFinalCalls, 1);
    EXPECT_EQ(wnd.finalHwnd, hWnd);
    EXPECT_EQ(wnd.handleAtFinal, nullptr);
    EXPECT_EQ(wnd.userDataAtFinal, 0);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
    EXPECT_EQ(wnd.messages.back(), static_cast<UINT>(WM_DESTROY)); // WM_NCDESTROY is not handed on

    // Chores on a dead window do nothing.
    wnd.Close(3);
    wnd.ShowWindow(true);
    wnd.Unsubclass();
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(wnd.ownFinalCalls, 1);
}

TEST_F(WindowTest, ObjectMayDeleteItselfOnFinalMessage)
{
    int finals = 0;
    auto* wnd = new TestWnd;
    wnd->finalCalls = &finals;
    wnd->deleteSelf = true;
    const HWND hWnd = wnd->Create(nullptr, L"self", WS_POPUP, 0, 0, 0, 30, 30);
    ASSERT_NE(hWnd, nullptr);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(finals, 1);

    // Creation refused in WM_CREATE: the final message runs inside Create,
    // which must not touch the deleted object afterwards.
    wnd = new TestWnd;
    wnd->finalCalls = &finals;
    wnd->deleteSelf = true;
    wnd->onMessage = [](UINT uMsg, WPARAM, LPARAM, LRESULT& lRes) {
        lRes = -1;
        return uMsg == WM_CREATE;
    };
    EXPECT_EQ(wnd->Create(nullptr, L"refused", WS_POPUP, 0, 0, 0, 30, 30), nullptr);
    EXPECT_EQ(finals, 2);
}

TEST_F(WindowTest, ResizeClientKeepsTheSideGivenAsMinusOne)
{
    TestWnd top;
    const HMENU menu = ::CreateMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"M");
    const HWND hTop = top.Create(nullptr, L"top", WS_OVERLAPPEDWINDOW, 0, 20, 20, 500, 400, menu);
    ASSERT_NE(hTop, nullptr);
    top.ResizeClient(400, 200);
    EXPECT_EQ(ClientSize(hTop).cx, 400);
    EXPECT_EQ(ClientSize(hTop).cy, 200);
    top.ResizeClient(-1, 300);
    EXPECT_EQ(ClientSize(hTop).cx, 400);
    EXPECT_EQ(ClientSize(hTop).cy, 300);

    // A child's "menu" is its id: no menu bar may be counted.
    TestWnd child;
    const HWND hChild = child.Create(hTop, L"child", WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE, 0, 0, 100, 80,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)));
    ASSERT_NE(hChild, nullptr);
    const SIZE before = ClientSize(hChild);
    child.ResizeClient(250, -1);
    EXPECT_EQ(ClientSize(hChild).cx, 250);
    EXPECT_EQ(ClientSize(hChild).cy, before.cy);
    ::DestroyWindow(hTop);
}

TEST_F(WindowTest, CenterWindowStaysOnTheWorkArea)
{
    TestWnd wnd;
    const HWND hWnd = wnd.Create(nullptr, L"center", WS_POPUP, 0, 0, 0, 300, 201);
    ASSERT_NE(hWnd, nullptr);
    const RECT work = WorkArea(hWnd);
    wnd.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, (work.left + work.right) / 2 - 150);
    EXPECT_EQ(rc.top, (work.top + work.bottom) / 2 - 100);
    EXPECT_EQ(rc.right - rc.left, 300);

    // Wider and taller than the work area: the left and top edges win.
    ::SetWindowPos(hWnd, nullptr, 0, 0, work.right - work.left + 200, work.bottom - work.top + 100,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd.CenterWindow();
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, work.left);
    EXPECT_EQ(rc.top, work.top);

    // An owned window is centred on its owner, then pulled back onto the work area.
    TestWnd owned;
    const HWND hOwned = owned.Create(hWnd, L"owned", WS_POPUP, 0, 0, 0, 100, 60);
    ASSERT_NE(hOwned, nullptr);
    ::SetWindowPos(hWnd, nullptr, work.left + 100, work.top + 50, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    owned.CenterWindow();
    ::GetWindowRect(hOwned, &rc);
    EXPECT_EQ(rc.left, work.left + 100 + 200 - 50);
    EXPECT_EQ(rc.top, work.top + 50 + 150 - 30);
    ::SetWindowPos(hWnd, nullptr, work.right - 50, work.bottom - 20, 100, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    owned.CenterWindow();
    ::GetWindowRect(hOwned, &rc);
    EXPECT_EQ(rc.right, work.right);
    EXPECT_EQ(rc.bottom, work.bottom);
    ::DestroyWindow(hWnd);
}

TEST_F(WindowTest, ShowModalReturnsCloseCodeAndPassesQuitOn)
{
    TestWnd owner;
    const HWND hOwner = owner.Create(nullptr, L"owner", WS_POPUP, 0, 0, 0, 200, 200);
    ASSERT_NE(hOwner, nullptr);

    int finals = 0;
    auto* modal = new TestWnd;
    modal->finalCalls = &finals;
    modal->deleteSelf = true; // the modal loop must not need the object once it is closed
    BOOL ownerEnabledInside = TRUE;
    modal->onMessage = [&, modal](UINT uMsg, WPARAM, LPARAM, LRESULT&) {
        if (uMsg == WM_TEST_PING) {
            ownerEnabledInside = ::IsWindowEnabled(hOwner);
            modal->Close(42);
        }
        return false;
    };
    ASSERT_NE(modal->Create(hOwner, L"modal", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
    modal->PostMessageW(WM_TEST_PING);
    EXPECT_EQ(modal->ShowModal(), 42u);
    EXPECT_EQ(finals, 1);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(::IsWindowEnabled(hOwner));

    // A quit message ends the modal loop and is posted again for the outer loop.
    TestWnd second;
    ASSERT_NE(second.Create(hOwner, L"modal2", WS_POPUP, 0, 0, 0, 100, 100), nullptr);
    ::PostQuitMessage(7);
    EXPECT_EQ(second.ShowModal(), 0u);
    EXPECT_TRUE(::IsWindow(second.GetHWND()));
    EXPECT_TRUE(::IsWindowEnabled(hOwner));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    ::DestroyWindow(hOwner);
}

TEST_F(WindowTest, ShowWindowAndSetIcon)
{
    TestWnd wnd;
    const HWND hWnd = wnd.Create(nullptr, L"show", WS_POPUP, 0, 0, 0, 60, 60);
    ASSERT_NE(hWnd, nullptr);
    wnd.ShowWindow(true, false);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    wnd.ShowWindow(false);
    EXPECT_FALSE(::IsWindowVisible(hWnd));

    // user32 carries the stock application icon; both sizes come from it.
    CPaintManagerUI::SetInstance(::GetModuleHandleW(L"user32.dll"));
    wnd.SetIcon(32512);
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    const auto iconWidth = [&](WPARAM which) {
        const auto hIcon = reinterpret_cast<HICON>(wnd.SendMessageW(WM_GETICON, which));
        ICONINFO ii = {};
        if (hIcon == nullptr || !::GetIconInfo(hIcon, &ii)) return 0;
        BITMAP bm = {};
        ::GetObjectW(ii.hbmColor != nullptr ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
        ::DeleteObject(ii.hbmColor);
        ::DeleteObject(ii.hbmMask);
        return static_cast<int>(bm.bmWidth);
    };
    EXPECT_EQ(iconWidth(ICON_BIG), ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(iconWidth(ICON_SMALL), ::GetSystemMetrics(SM_CXSMICON));
    ::DestroyWindow(hWnd);
}

TEST_F(WindowTest, SubclassAndUnsubclassForeignWindow)
{
    const HWND hStatic =
        ::CreateWindowExW(0, L"STATIC", L"abc", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hStatic, nullptr);
    const LONG_PTR original = ProcOf(hStatic);

    TestWnd wnd(L"VarnelTestUnused");
    EXPECT_EQ(wnd.Subclass(hStatic), hStatic);
    EXPECT_TRUE(wnd.Subclassed());
    EXPECT_EQ(AsLong(wnd.OldProc()), original);
    EXPECT_EQ(ProcOf(hStatic), AsLong(&CWindowWnd::__WndProc));

    // The object sees the messages and the control still does its job.
    ::SendMessageW(hStatic, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xyz"));
    EXPECT_EQ(wnd.messages, std::vector<UINT>{WM_SETTEXT});
    wchar_t text[16] = {};
    ::GetWindowTextW(hStatic, text, 16);
    EXPECT_STREQ(text, L"xyz");

    const size_t seen = wnd.messages.size();
    wnd.Unsubclass();
    EXPECT_FALSE(wnd.Subclassed());
    EXPECT_EQ(ProcOf(hStatic), original);
    EXPECT_EQ(AsLong(wnd.OldProc()), AsLong(::DefWindowProcW));
    ::SendMessageW(hStatic, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"q"));
    EXPECT_EQ(wnd.messages.size(), seen);

    // Destroyed while subclassed: the object is told once and detached.
    TestWnd again(L"VarnelTestUnused");
    ASSERT_EQ(again.Subclass(hStatic), hStatic);
    ::DestroyWindow(hStatic);
    EXPECT_EQ(again.ownFinalCalls, 1);
    EXPECT_EQ(again.GetHWND(), nullptr);
    EXPECT_FALSE(again.Subclassed());

    // A window that is gone cannot be subclassed.
    TestWnd late(L"VarnelTestUnused");
    EXPECT_EQ(late.Subclass(hStatic), nullptr);
    EXPECT_EQ(late.GetHWND(), nullptr);
    EXPECT_FALSE(late.Subclassed());
}

TEST_F(WindowTest, SuperclassOfEditKeepsEditBehaviour)
{
    TestWnd parent;
    const HWND hParent = parent.Create(nullptr, L"parent", WS_POPUP, 0, 0, 0, 200, 100);
    ASSERT_NE(hParent, nullptr);

    TestWnd edit(L"VarnelTestEdit", L"EDIT");
    const HWND hEdit = edit.Create(hParent, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 150, 24);
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(::GetPropW(hEdit, L"WndX"), static_cast<HANDLE>(&edit));
    EXPECT_EQ(ProcOf(hEdit), AsLong(&CWindowWnd::__ControlProc));

    WNDCLASSEXW sys = {}, ours = {};
    sys.cbSize = ours.cbSize = sizeof(WNDCLASSEXW);
    ASSERT_TRUE(::GetClassInfoExW(nullptr, L"EDIT", &sys));
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"VarnelTestEdit", &ours));
    EXPECT_EQ(ours.cbWndExtra, sys.cbWndExtra);
    EXPECT_EQ(ours.style, sys.style);
    EXPECT_EQ(AsLong(edit.OldProc()), AsLong(sys.lpfnWndProc));

    for (const wchar_t ch : {L'h', L'i', L'!'}) ::SendMessageW(hEdit, WM_CHAR, ch, 1);
    wchar_t text[16] = {};
    ::GetWindowTextW(hEdit, text, 16);
    EXPECT_STREQ(text, L"hi!");
    EXPECT_EQ(::SendMessageW(hEdit, EM_LINELENGTH, 0, 0), 3);
    EXPECT_NE(std::find(edit.messages.begin(), edit.messages.end(), static_cast<UINT>(WM_CHAR)), edit.messages.end());

    // A second edit reuses the superclass.
    TestWnd edit2(L"VarnelTestEdit", L"EDIT");
    const HWND hEdit2 = edit2.Create(hParent, L"two", WS_CHILD, 0, 0, 30, 150, 24);
    ASSERT_NE(hEdit2, nullptr);
    ::GetWindowTextW(hEdit2, text, 16);
    EXPECT_STREQ(text, L"two");

    ::DestroyWindow(hParent);
    EXPECT_EQ(edit.ownFinalCalls, 1);
    EXPECT_EQ(edit2.ownFinalCalls, 1);
    EXPECT_EQ(edit.propAtFinal, nullptr);
    EXPECT_EQ(edit.GetHWND(), nullptr);
}
