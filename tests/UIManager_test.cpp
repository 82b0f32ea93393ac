// Event dispatch of the paint manager against real windows: mouse, capture,
// keyboard, focus and tab navigation, shortcuts, notifications, timers, and
// controls destroyed while a message is being dispatched to them.

#include "support/ManagerHarness.h"

#include <gtest/gtest.h>

using namespace VarnelUI;
using namespace ManagerHarness;

namespace {

std::vector<std::string>& Order()
{
    static std::vector<std::string> order;
    return order;
}

class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Events().clear();
        Order().clear();
    }

    // root (0,0,300,200): A and B side by side at the top, C (wants the
    // cursor) at the bottom right, F below A; D is a disabled and E an
    // invisible tab stop. A, B and F are the tab stops that count.
    void Build()
    {
        root = new CBoxUI("root", {0, 0, 300, 200});
        a = root->Add(new CProbeUI("A", {10, 10, 60, 40}, CTRLFLAG_TABSTOP));
        b = root->Add(new CProbeUI("B", {70, 10, 120, 40}, CTRLFLAG_TABSTOP));
        c = root->Add(new CProbeUI("C", {150, 100, 250, 180}, CTRLFLAG_SETCURSOR));
        d = root->Add(new CProbeUI("D", {130, 10, 140, 40}, CTRLFLAG_TABSTOP));
        d->SetEnabled(false);
        e = root->Add(new CProbeUI("E", {150, 10, 160, 40}, CTRLFLAG_TABSTOP));
        e->SetVisible(false);
        f = root->Add(new CProbeUI("F", {10, 100, 60, 140}, CTRLFLAG_TABSTOP));
        Attach(root);
    }

    void Attach(CBoxUI* pRoot)
    {
        ASSERT_TRUE(wnd.pm.AttachDialog(pRoot));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
        Events().clear();
        notes.seen.clear();
        notes.names.clear();
    }

    bool Translate(UINT uMsg, WPARAM wParam, HWND hwnd = nullptr)
    {
        MSG msg = {};
        msg.hwnd = hwnd != nullptr ? hwnd : wnd.hwnd;
        msg.message = uMsg;
        msg.wParam = wParam;
        return CPaintManagerUI::TranslateMessage(&msg);
    }

    static void SetShift(bool bDown)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = bDown ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    CNotifyRecorder notes; // outlives the window, which may notify while closing
    CTestWindow wnd;
    CBoxUI* root = nullptr;
    CProbeUI* a = nullptr;
    CProbeUI* b = nullptr;
    CProbeUI* c = nullptr;
    CProbeUI* d = nullptr;
    CProbeUI* e = nullptr;
    CProbeUI* f = nullptr;
};

// ---- mouse ------------------------------------------------------------------------

TEST_F(ManagerTest, HoverLeavesTheOldControlBeforeEnteringTheNew)
{
    Build();
    wnd.Mouse(WM_MOUSEMOVE, 20, 20);
    wnd.Mouse(WM_MOUSEMOVE, 80, 20);
    wnd.Mouse(WM_MOUSEMOVE, 200, 60);
    EXPECT_EQ("A.enter A.move A.leave B.enter B.move B.leave root.enter root.move", Trace());
    const TEventRecord* pMove = LastEvent(EVT_MOUSEMOVE);
    EXPECT_EQ(200, pMove->event.mousePos.x);
    EXPECT_EQ(60, pMove->event.mousePos.y);
    EXPECT_EQ(root, pMove->event.sender);
    EXPECT_EQ(200, wnd.pm.GetMousePos().x);

    // Leaving the window moves the mouse "nowhere": the hovered control gets its leave.
    Events().clear();
    wnd.Send(WM_MOUSELEAVE);
    EXPECT_EQ("root.leave", Trace());
}

TEST_F(ManagerTest, PressedControlKeepsTheMovesAndGetsTheButtonUp)
{
    Build();
    wnd.Mouse(WM_MOUSEMOVE, 20, 20);
    wnd.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON | MK_SHIFT);
    EXPECT_TRUE(wnd.pm.IsCaptured());
    EXPECT_EQ(wnd.hwnd, ::GetCapture());
    wnd.Mouse(WM_MOUSEMOVE, 80, 20, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 80, 20);
    EXPECT_EQ("A.enter A.move A.down A.leave B.enter A.move A.up", Trace());
    EXPECT_FALSE(wnd.pm.IsCaptured());
    EXPECT_EQ(nullptr, ::GetCapture());

    const TEventRecord* pDown = LastEvent(EVT_BUTTONDOWN);
    EXPECT_EQ(MK_LBUTTON | MK_SHIFT, pDown->event.keyState);
    EXPECT_EQ(static_cast<LPARAM>(MAKELPARAM(20, 20)), pDown->event.lParam);
    const TEventRecord* pUp = LastEvent(EVT_BUTTONUP);
    EXPECT_EQ(80, pUp->event.mousePos.x);

    // With nothing pressed, a release goes nowhere.
    Events().clear();
    wnd.Mouse(WM_LBUTTONUP, 80, 20);
    EXPECT_EQ("", Trace());
}

TEST_F(ManagerTest, SetCursorAsksOnlyControlsThatWantItAndNobodyWhileCaptured)
{
    Build();
    const POINT ptC = wnd.ToScreen(200, 140);
    ASSERT_TRUE(::SetCursorPos(ptC.x, ptC.y));
    LRESULT lRes = 0;
    const LPARAM client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.hwnd), client, lRes));
    ASSERT_EQ("C.cursor", Trace());
    EXPECT_EQ(nullptr, Events()[0].event.sender);
    EXPECT_EQ(200, Events()[0].event.mousePos.x);
    EXPECT_EQ(140, Events()[0].event.mousePos.y);

    Events().clear();
    EXPECT_FALSE(wnd.pm.MessageHandler(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), lRes));
    const POINT ptA = wnd.ToScreen(20, 20);
    ::SetCursorPos(ptA.x, ptA.y);
    EXPECT_FALSE(wnd.pm.MessageHandler(WM_SETCURSOR, 0, client, lRes));

    wnd.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    ::SetCursorPos(ptC.x, ptC.y);
    Events().clear();
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_SETCURSOR, 0, client, lRes));
    EXPECT_EQ("", Trace());
    wnd.Mouse(WM_LBUTTONUP, 20, 20);

    // Capture taken by another window: the cursor belongs to the controls again.
    wnd.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    CTestWindow other(50, 50);
    ::SetCapture(other.hwnd);
    ::ReleaseCapture();
    EXPECT_FALSE(wnd.pm.IsCaptured());
}

TEST_F(ManagerTest, WheelGoesToTheControlUnderTheMouseAndHoverFollows)
{
    Build();
    const POINT pt = wnd.ToScreen(20, 20);
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), lParam);
    EXPECT_EQ("A.wheel A.enter A.move", Trace());
    EXPECT_EQ(1u, Events()[0].event.wParam);
    EXPECT_EQ(lParam, Events()[0].event.lParam);
    EXPECT_EQ(0, Events()[0].event.mousePos.x);

    Events().clear();
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), lParam);
    EXPECT_EQ("A.wheel A.move", Trace());
    EXPECT_EQ(0u, Events()[0].event.wParam);
}

TEST_F(ManagerTest, DoubleClickCapturesWithoutMovingTheFocus)
{
    Build();
    ASSERT_EQ(a, wnd.pm.GetFocus());
    wnd.Mouse(WM_LBUTTONDBLCLK, 80, 20, MK_LBUTTON);
    EXPECT_TRUE(wnd.pm.IsCaptured());
    wnd.Mouse(WM_LBUTTONUP, 200, 60);
    EXPECT_EQ("B.dbl B.up", Trace({EVT_DBLCLICK, EVT_BUTTONUP, EVT_SETFOCUS, EVT_KILLFOCUS}));
    EXPECT_EQ(MK_LBUTTON, LastEvent(EVT_DBLCLICK)->event.keyState);
    EXPECT_EQ(a, wnd.pm.GetFocus());
}

TEST_F(ManagerTest, ContextMenuGoesToTheRightPressedControlOnce)
{
    Build();
    wnd.Mouse(WM_RBUTTONDOWN, 80, 20, MK_RBUTTON);
    EXPECT_EQ(b, wnd.pm.GetFocus());
    const POINT pt = wnd.ToScreen(85, 25);
    wnd.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.hwnd), MAKELPARAM(pt.x, pt.y));
    wnd.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.hwnd), MAKELPARAM(pt.x, pt.y));
    wnd.Mouse(WM_LBUTTONUP, 80, 20);
    EXPECT_EQ("A.killfocus B.setfocus B.rdown B.menu",
              Trace({EVT_RBUTTONDOWN, EVT_CONTEXTMENU, EVT_BUTTONUP, EVT_SETFOCUS, EVT_KILLFOCUS}));
    const TEventRecord* pMenu = LastEvent(EVT_CONTEXTMENU);
    EXPECT_EQ(reinterpret_cast<LPARAM>(b), pMenu->event.lParam);
    EXPECT_EQ(85, pMenu->event.mousePos.x);
    EXPECT_EQ(25, pMenu->event.mousePos.y);
    EXPECT_FALSE(wnd.pm.IsCaptured());
}

TEST_F(ManagerTest, HoverReportsToTheHoveredControlAndShowsItsTooltip)
{
    Build();
    wnd.Mouse(WM_MOUSEMOVE, 20, 20);
    Events().clear();
    wnd.Send(WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
    EXPECT_EQ("A.hover", Trace());
    EXPECT_EQ(nullptr, wnd.pm.GetTooltipWindow()) << "no tooltip text, no tooltip";

    b->SetToolTip(L"Start<n>the game");
    wnd.Mouse(WM_MOUSEMOVE, 80, 20);
    wnd.Send(WM_MOUSEHOVER, 0, MAKELPARAM(80, 20));
    const HWND hTip = wnd.pm.GetTooltipWindow();
    ASSERT_NE(nullptr, hTip);
    wchar_t szClass[64] = {};
    ::GetClassNameW(hTip, szClass, 64);
    EXPECT_STREQ(L"tooltips_class32", szClass);
    EXPECT_EQ(wnd.hwnd, ::GetWindow(hTip, GW_OWNER));
    EXPECT_EQ(b->GetToolTipWidth(), ::SendMessageW(hTip, TTM_GETMAXTIPWIDTH, 0, 0));

    // Nothing under the point: not handled.
    LRESULT lRes = 0;
    EXPECT_FALSE(wnd.pm.MessageHandler(WM_MOUSEHOVER, 0, MAKELPARAM(400, 400), lRes));
}

// ---- keyboard, focus and tab navigation ---------------------------------------------

TEST_F(ManagerTest, TabCyclesThroughUsableTabStopsBothWays)
{
    Build();
    ASSERT_EQ(a, wnd.pm.GetFocus()) << "the first paint focuses the first tab stop";
    EXPECT_TRUE(a->IsFocused());
    std::string visited;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Translate(WM_KEYDOWN, VK_TAB));
        visited += static_cast<CProbeUI*>(wnd.pm.GetFocus())->sName;
    }
    EXPECT_EQ("BFA", visited);

    SetShift(true);
    visited.clear();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Translate(WM_KEYDOWN, VK_TAB));
        visited += static_cast<CProbeUI*>(wnd.pm.GetFocus())->sName;
    }
    SetShift(false);
    EXPECT_EQ("FBA", visited);

    // Each move kills the old focus (told who gets it next) before setting the new.
    const TEventRecord* pKill = LastEvent(EVT_KILLFOCUS);
    EXPECT_EQ("B", pKill->control);
    EXPECT_EQ(a, pKill->event.sender);
    ASSERT_GE(notes.names.size(), 2u);
    EXPECT_EQ("killfocus", notes.names[notes.names.size() - 2]);
    EXPECT_EQ("setfocus", notes.names.back());
    EXPECT_EQ(a, notes.seen.back().sender);
}

TEST_F(ManagerTest, FocusRefusesUnusableControlsAndHidingTheFocusClearsIt)
{
    Build();
    wnd.pm.SetFocus(d);
    EXPECT_EQ(nullptr, wnd.pm.GetFocus()) << "disabled: the old focus is gone, nothing new";
    wnd.pm.SetFocus(e);
    EXPECT_EQ(nullptr, wnd.pm.GetFocus());
    CProbeUI stranger("X", {0, 0, 5, 5});
    wnd.pm.SetFocus(&stranger);
    EXPECT_EQ(nullptr, wnd.pm.GetFocus());

    wnd.pm.SetFocus(b);
    ASSERT_EQ(b, wnd.pm.GetFocus());
    b->SetVisible(false);
    EXPECT_EQ(nullptr, wnd.pm.GetFocus());

    // The focus is wanted on F: it lands there after the next layout.
    wnd.pm.SetFocusNeeded(f);
    wnd.Paint();
    EXPECT_EQ(f, wnd.pm.GetFocus());
}

TEST_F(ManagerTest, KeyUpGoesToTheControlThatSawTheKeyGoDown)
{
    Build();
    wnd.Mouse(WM_MOUSEMOVE, 5, 150);
    wnd.Send(WM_KEYDOWN, 'X');
    wnd.pm.SetFocus(b);
    wnd.Send(WM_KEYUP, 'X');
    wnd.Send(WM_CHAR, 'x');
    wnd.Send(WM_KEYUP, 'X');
    EXPECT_EQ("A.kdown A.kup B.char", Trace({EVT_KEYDOWN, EVT_KEYUP, EVT_CHAR}));
    const TEventRecord* pDown = LastEvent(EVT_KEYDOWN);
    EXPECT_EQ(L'X', pDown->event.keyChar);
    EXPECT_EQ(150, pDown->event.mousePos.y);
}

TEST_F(ManagerTest, AltShortcutFocusesAndActivatesAndALabelPassesItOn)
{
    // Searches run topmost first, so the control after a label in search
    // order is the one drawn before it.
    auto* pRoot = new CBoxUI("root", {0, 0, 300, 200});
    auto* pField = pRoot->Add(new CProbeUI("field", {10, 50, 100, 70}));
    auto* pLabel = pRoot->Add(new CProbeUI("label", {10, 10, 100, 30}));
    pLabel->pstrClass = L"LabelUI";
    pLabel->SetShortcut(L'n');
    auto* pStart = pRoot->Add(new CProbeUI("start", {150, 10, 200, 30}));
    pStart->SetShortcut(L's');
    Attach(pRoot);

    EXPECT_TRUE(Translate(WM_SYSCHAR, 's'));
    EXPECT_EQ(pStart, wnd.pm.GetFocus());
    EXPECT_EQ(1, pStart->activations);

    EXPECT_TRUE(Translate(WM_SYSCHAR, 'N'));
    EXPECT_EQ(pField, wnd.pm.GetFocus());
    EXPECT_EQ(1, pField->activations);
    EXPECT_EQ(0, pLabel->activations);

    EXPECT_FALSE(Translate(WM_SYSCHAR, 'q'));
    Events().clear();
    EXPECT_FALSE(Translate(WM_SYSKEYDOWN, VK_F10));
    ASSERT_EQ("field.syskey", Trace());
    EXPECT_EQ(VK_F10, Events()[0].event.keyChar);
}

TEST_F(ManagerTest, AcceleratorsAndPreFiltersComeFirst)
{
    Build();
    struct : ITranslateAccelerator
    {
        LRESULT TranslateAcceleratorW(MSG* pMsg) override { return pMsg->wParam == 'K' ? 0 : 1; }
    } accel;
    struct : IMessageFilterUI
    {
        LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) override
        {
            bHandled = uMsg == WM_KEYDOWN && wParam == 'P';
            return 0;
        }
    } filter;
    wnd.pm.AddTranslateAccelerator(&accel);
    wnd.pm.AddPreMessageFilter(&filter);
    EXPECT_TRUE(Translate(WM_KEYDOWN, 'K'));
    EXPECT_TRUE(Translate(WM_KEYDOWN, 'P'));
    EXPECT_FALSE(Translate(WM_KEYDOWN, 'Q'));
    EXPECT_TRUE(Translate(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(b, wnd.pm.GetFocus());
    EXPECT_TRUE(wnd.pm.RemoveTranslateAccelerator(&accel));
    EXPECT_FALSE(wnd.pm.RemoveTranslateAccelerator(&accel));
    EXPECT_FALSE(Translate(WM_KEYDOWN, 'K'));
    EXPECT_TRUE(wnd.pm.RemovePreMessageFilter(&filter));
}

TEST_F(ManagerTest, TabInANestedChildWindowMovesItsFocusOnce)
{
    Build();
    CTestWindow child(200, 150, 0, wnd.hwnd, WS_CHILD | WS_VISIBLE);
    CTestWindow inner(150, 100, 0, child.hwnd, WS_CHILD | WS_VISIBLE);
    auto* pRoot = new CBoxUI("inner", {0, 0, 150, 100});
    auto* p1 = pRoot->Add(new CProbeUI("1", {0, 0, 10, 10}, CTRLFLAG_TABSTOP));
    auto* p2 = pRoot->Add(new CProbeUI("2", {20, 0, 30, 10}, CTRLFLAG_TABSTOP));
    pRoot->Add(new CProbeUI("3", {40, 0, 50, 10}, CTRLFLAG_TABSTOP));
    ASSERT_TRUE(inner.pm.AttachDialog(pRoot));
    inner.Paint();
    ASSERT_EQ(p1, inner.pm.GetFocus());

    // The child path never consumes the message, but every manager whose
    // window contains the target pre-translates it exactly once.
    EXPECT_FALSE(Translate(WM_KEYDOWN, VK_TAB, inner.hwnd));
    EXPECT_EQ(p2, inner.pm.GetFocus());
    EXPECT_EQ(b, wnd.pm.GetFocus()) << "the top-level window contains the child too";
}

TEST_F(ManagerTest, MessageLoopPreTranslatesBeforeDispatching)
{
    Build();
    ::PostMessageW(wnd.hwnd, WM_KEYDOWN, VK_TAB, 0);
    ::PostMessageW(wnd.hwnd, WM_CHAR, 'z', 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();
    EXPECT_EQ(b, wnd.pm.GetFocus());
    EXPECT_EQ("B.char", Trace({EVT_CHAR}));
    EXPECT_EQ(0, std::count(wnd.unhandled.begin(), wnd.unhandled.end(), static_cast<UINT>(WM_KEYDOWN)));
}

// ---- notifications ------------------------------------------------------------------

bool RecordDelegate(void*)
{
    Order().push_back("delegate");
    return false; // does not stop the window's notifiers
}

TEST_F(ManagerTest, NotificationsReachTheSendersDelegatesFirst)
{
    Build();
    a->OnNotify += MakeDelegate(&RecordDelegate);
    notes.onNotify = [](TNotifyUI&) { Order().push_back("notifier"); };
    a->SetVirtualWnd(L"panel");
    wnd.Mouse(WM_MOUSEMOVE, 5, 150);

    wnd.pm.SendNotify(a, L"custom", 7, 8);
    EXPECT_EQ((std::vector<std::string>{"delegate", "notifier"}), Order());
    ASSERT_EQ(1u, notes.seen.size());
    const TNotifyUI& sync = notes.seen[0];
    EXPECT_TRUE(sync.virtualWnd == L"panel");
    EXPECT_EQ(a, sync.sender);
    EXPECT_EQ(7u, sync.wParam);
    EXPECT_EQ(8, sync.lParam);
    EXPECT_EQ(150, sync.mousePos.y);

    wnd.pm.SendNotify(a, L"later", 1, 2, true);
    EXPECT_EQ(1u, notes.seen.size()) << "an asynchronous notification waits for the next message";
    wnd.Send(WM_NULL);
    ASSERT_EQ(2u, notes.seen.size());
    EXPECT_EQ("later", notes.names[1]);
    EXPECT_TRUE(notes.seen[1].virtualWnd.IsEmpty());
    EXPECT_EQ(a, notes.seen[1].sender);
    EXPECT_EQ(1u, notes.seen[1].wParam);

    EXPECT_TRUE(wnd.pm.RemoveNotifier(&notes));
    EXPECT_FALSE(wnd.pm.RemoveNotifier(&notes));
}

// ---- timers -----------------------------------------------------------------------------

bool WaitForTimer(HWND hwnd, MSG& msg)
{
    for (int i = 0; i < 400; ++i) {
        if (::PeekMessageW(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE)) return true;
        ::Sleep(5);
    }
    return false;
}

TEST_F(ManagerTest, TimersStartAt17AndKilledRecordsAreReused)
{
    Build();
    EXPECT_TRUE(wnd.pm.SetTimer(a, 5, 10));
    EXPECT_FALSE(wnd.pm.SetTimer(a, 5, 10)) << "already running";
    MSG msg = {};
    ASSERT_TRUE(WaitForTimer(wnd.hwnd, msg));
    EXPECT_EQ(17u, msg.wParam);
    ::DispatchMessageW(&msg);
    ASSERT_EQ("A.timer", Trace());
    EXPECT_EQ(5u, Events()[0].event.wParam);
    ASSERT_FALSE(notes.names.empty());
    EXPECT_EQ("timer", notes.names.back());

    EXPECT_TRUE(wnd.pm.KillTimer(a, 5));
    EXPECT_FALSE(wnd.pm.KillTimer(a, 5));
    EXPECT_TRUE(wnd.pm.SetTimer(b, 5, 100000));
    EXPECT_TRUE(wnd.pm.SetTimer(a, 5, 100000));
    Events().clear();
    wnd.Send(WM_TIMER, 17);
    wnd.Send(WM_TIMER, 18);
    EXPECT_EQ("A.timer B.timer", Trace());

    wnd.pm.KillTimer(a);
    Events().clear();
    wnd.Send(WM_TIMER, 17);
    EXPECT_EQ("", Trace());
    EXPECT_FALSE(::KillTimer(wnd.hwnd, 17)) << "the native timer was stopped";
    EXPECT_TRUE(::KillTimer(wnd.hwnd, 18));
}

TEST_F(ManagerTest, TimerIdsWrapThroughZeroAndSkipIdsInUse)
{
    Build();
    for (UINT id = 0; id < 239; ++id) ASSERT_TRUE(wnd.pm.SetTimer(a, id, 100000)) << id;
    wnd.Send(WM_TIMER, 254);
    wnd.Send(WM_TIMER, 0);
    ASSERT_EQ("A.timer A.timer", Trace());
    EXPECT_EQ(237u, Events()[0].event.wParam);
    EXPECT_EQ(238u, Events()[1].event.wParam);

    // All 255 native ids taken: one more cannot get its own.
    for (UINT id = 239; id < 255; ++id) ASSERT_TRUE(wnd.pm.SetTimer(a, id, 100000)) << id;
    EXPECT_FALSE(wnd.pm.SetTimer(b, 1, 100000));
    wnd.pm.KillTimer(a);
    EXPECT_TRUE(wnd.pm.SetTimer(b, 1, 100000));
    Events().clear();
    wnd.Send(WM_TIMER, 17);
    EXPECT_EQ("B.timer", Trace());
}

// ---- controls destroyed during dispatch ---------------------------------------------------

TEST_F(ManagerTest, FocusNotifierDestroyingThePressedControlStopsThePress)
{
    Build();
    notes.onNotify = [this](TNotifyUI& msg) {
        if (msg.type == L"setfocus" && msg.sender == b) root->Remove(b, false);
    };
    wnd.Mouse(WM_LBUTTONDOWN, 80, 20, MK_LBUTTON);
    EXPECT_EQ(nullptr, wnd.pm.GetFocus());
    EXPECT_FALSE(wnd.pm.IsCaptured());
    wnd.Mouse(WM_MOUSEMOVE, 82, 20);
    wnd.Mouse(WM_LBUTTONUP, 82, 20);
    EXPECT_EQ("A.killfocus B.setfocus root.enter root.move", Trace());
    EXPECT_EQ(nullptr, wnd.pm.FindControl(L"B"));
}

TEST_F(ManagerTest, LeaveHandlerDestroyingTheNextHoverIsSafe)
{
    Build();
    a->onEvent = [this](TEventUI& event) {
        if (event.kind == EVT_MOUSELEAVE) root->Remove(b, false);
    };
    wnd.Mouse(WM_MOUSEMOVE, 20, 20);
    wnd.Mouse(WM_MOUSEMOVE, 80, 20);
    wnd.Mouse(WM_MOUSEMOVE, 81, 20);
    EXPECT_EQ("A.enter A.move A.leave root.enter root.move", Trace());
}

TEST_F(ManagerTest, ControlsDestroyingThemselvesInTheirHandlersAreForgotten)
{
    Build();
    a->onEvent = [this](TEventUI& event) {
        if (event.kind == EVT_BUTTONUP) root->Remove(a, false);
    };
    b->onEvent = [this](TEventUI& event) {
        if (event.kind == EVT_KEYDOWN || event.kind == EVT_TIMER) root->Remove(b, false);
    };
    f->onEvent = [this](TEventUI& event) {
        if (event.kind == EVT_MOUSEHOVER) root->Remove(f, false);
    };
    f->SetToolTip(L"gone before it shows");

    wnd.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 20, 20);
    wnd.Mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(nullptr, wnd.pm.GetFocus());
    EXPECT_FALSE(wnd.pm.IsCaptured());

    ASSERT_TRUE(wnd.pm.SetTimer(b, 1, 100000));
    wnd.pm.SetFocus(b);
    wnd.Send(WM_KEYDOWN, 'X');
    wnd.Send(WM_KEYUP, 'X');
    EXPECT_FALSE(::KillTimer(wnd.hwnd, 17)) << "its timers die with it";

    wnd.Mouse(WM_MOUSEMOVE, 20, 110);
    wnd.Send(WM_MOUSEHOVER, 0, MAKELPARAM(20, 110));
    EXPECT_EQ(nullptr, wnd.pm.GetTooltipWindow());
    wnd.Send(WM_CLOSE); // leave and button-up to nobody
    EXPECT_EQ("A.down A.up root.enter root.move B.setfocus B.kdown root.leave F.enter F.move F.hover",
              Trace({EVT_BUTTONDOWN, EVT_BUTTONUP, EVT_SETFOCUS, EVT_KEYDOWN, EVT_KEYUP, EVT_MOUSEENTER, EVT_MOUSEMOVE,
                     EVT_MOUSEHOVER, EVT_MOUSELEAVE}));
}

bool g_destroyed = false;
CBoxUI* g_root = nullptr;

bool MarkDestroyed(void*)
{
    g_destroyed = true;
    return true;
}

bool RemoveSender(void* p)
{
    g_root->Remove(static_cast<TNotifyUI*>(p)->sender, false);
    return true;
}

TEST_F(ManagerTest, NotificationsOfDestroyedSendersArriveWithoutASender)
{
    Build();
    g_root = root;
    a->OnNotify += MakeDelegate(&RemoveSender);
    wnd.pm.SendNotify(a, L"custom");
    ASSERT_EQ(1u, notes.seen.size());
    EXPECT_EQ(nullptr, notes.seen[0].sender);

    wnd.pm.SendNotify(b, L"later", 0, 0, true);
    root->Remove(b, false);
    wnd.Send(WM_NULL);
    ASSERT_EQ(2u, notes.seen.size());
    EXPECT_EQ(nullptr, notes.seen[1].sender);
}

TEST_F(ManagerTest, DelayedCleanupOutlivesTheDispatchAndEndsOnThePrivateMessage)
{
    Build();
    g_destroyed = false;
    a->OnDestroy += MakeDelegate(&MarkDestroyed);
    a->onEvent = [this](TEventUI& event) {
        if (event.kind == EVT_BUTTONUP) root->Remove(a, true);
    };
    wnd.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_FALSE(g_destroyed);
    EXPECT_EQ(nullptr, a->GetParent());
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, wnd.hwnd, UIMSG_DELAYED_CLEANUP, UIMSG_DELAYED_CLEANUP, PM_REMOVE));
    ::DispatchMessageW(&msg);
    EXPECT_TRUE(g_destroyed);

    // A new tree replaces the old one, which goes the same way.
    g_destroyed = false;
    root->OnDestroy += MakeDelegate(&MarkDestroyed);
    auto* pNew = new CBoxUI("new", {0, 0, 300, 200});
    ASSERT_TRUE(wnd.pm.AttachDialog(pNew));
    EXPECT_FALSE(g_destroyed);
    ASSERT_TRUE(::PeekMessageW(&msg, wnd.hwnd, UIMSG_DELAYED_CLEANUP, UIMSG_DELAYED_CLEANUP, PM_REMOVE));
    ::DispatchMessageW(&msg);
    EXPECT_TRUE(g_destroyed);
    EXPECT_EQ(pNew, wnd.pm.GetRoot());
}

// ---- name map and searches -------------------------------------------------------------------

TEST_F(ManagerTest, NameMapKeepsTheControlVisitedLastAndForgetsDeadOnes)
{
    auto* pRoot = new CBoxUI("dup", {0, 0, 300, 200});
    auto* pInner = pRoot->Add(new CProbeUI("dup", {0, 0, 10, 10}));
    auto* pX1 = pRoot->Add(new CProbeUI("x", {20, 0, 30, 10}));
    auto* pX2 = pRoot->Add(new CProbeUI("x", {40, 0, 50, 10}));
    Attach(pRoot);
    EXPECT_EQ(pRoot, wnd.pm.FindControl(L"dup")) << "a container is visited after its children";
    EXPECT_EQ(pX2, wnd.pm.FindControl(L"x"));
    EXPECT_EQ(pInner, wnd.pm.FindSubControlByName(nullptr, L"DUP"));
    EXPECT_EQ(pX1, wnd.pm.FindSubControlByClass(nullptr, L"ProbeUI", 1));
    EXPECT_EQ(nullptr, wnd.pm.FindSubControlByClass(nullptr, L"LabelUI", 0));
    EXPECT_EQ(4, wnd.pm.FindSubControlsByClass(nullptr, L"*")->GetSize());
    EXPECT_EQ(pX1, wnd.pm.FindControl(POINT{25, 5}));

    pRoot->Remove(pInner, false);
    EXPECT_EQ(pRoot, wnd.pm.FindControl(L"dup")) << "the entry belonged to another control";
    pRoot->Remove(pX2, false);
    EXPECT_EQ(nullptr, wnd.pm.FindControl(L"x"));
    auto* pLate = pRoot->Add(new CProbeUI("late", {60, 0, 70, 10}));
    EXPECT_EQ(pLate, wnd.pm.FindControl(L"late"));
}

// ---- other messages ------------------------------------------------------------------------------

TEST_F(ManagerTest, WindowMessagesReachTheirControls)
{
    Build();
    // Size: the focused control hears of it and the tree lays out again.
    const int before = root->setPosCount;
    ::SetWindowPos(wnd.hwnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ("A.size", Trace({EVT_WINDOWSIZE}));
    wnd.Paint();
    EXPECT_EQ(before + 1, root->setPosCount);
    EXPECT_EQ(320, root->GetPos().right);

    // Minimum and maximum sizes are applied only where set.
    wnd.pm.SetMinInfo(150, 0);
    wnd.pm.SetMaxInfo(0, 500);
    MINMAXINFO info = {};
    info.ptMinTrackSize = {1, 2};
    info.ptMaxTrackSize = {3, 4};
    LRESULT lRes = 0;
    EXPECT_FALSE(wnd.pm.MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), lRes));
    EXPECT_EQ(150, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3, info.ptMaxTrackSize.x);
    EXPECT_EQ(500, info.ptMaxTrackSize.y);

    // A message filter that handles a message keeps it from the controls.
    struct : IMessageFilterUI
    {
        LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
        {
            bHandled = uMsg == WM_MOUSEMOVE;
            return 42;
        }
    } filter;
    wnd.pm.AddMessageFilter(&filter);
    Events().clear();
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20), lRes));
    EXPECT_EQ(42, lRes);
    EXPECT_EQ("", Trace());
    EXPECT_TRUE(wnd.pm.RemoveMessageFilter(&filter));

    // Close: the hovered control leaves, the pressed one is released, focus goes.
    wnd.Mouse(WM_MOUSEMOVE, 80, 20);
    wnd.Mouse(WM_LBUTTONDOWN, 80, 20, MK_LBUTTON);
    Events().clear();
    EXPECT_FALSE(wnd.pm.MessageHandler(WM_CLOSE, 0, 0, lRes));
    EXPECT_EQ("B.leave B.up B.killfocus", Trace());
    EXPECT_EQ(nullptr, wnd.pm.GetFocus());
}

UINT g_reflected = 0;

LRESULT CALLBACK ReflectProbeProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg >= UIMSG_REFLECT_OFFSET && uMsg < WM_USER + 0x2000) {
        g_reflected = uMsg;
        return 77;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

TEST_F(ManagerTest, ChildWindowNotificationsAreReflectedBack)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ReflectProbeProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VarnelReflectProbe";
    ::RegisterClassW(&wc);
    Build();
    const HWND hChild = ::CreateWindowExW(0, L"VarnelReflectProbe", L"", WS_CHILD, 0, 0, 10, 10, wnd.hwnd, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    LRESULT lRes = 0;
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(hChild), lRes));
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND + 0x2000), g_reflected);
    EXPECT_EQ(77, lRes);
    NMHDR header = {hChild, 1, NM_CLICK};
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header), lRes));
    EXPECT_EQ(static_cast<UINT>(WM_NOTIFY + 0x2000), g_reflected);
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_NOTIFY, 1, 0, lRes));
    EXPECT_FALSE(wnd.pm.MessageHandler(WM_COMMAND, 1, 0, lRes)) << "a menu command is no child's business";
    ::DestroyWindow(hChild);
}

TEST(ManagerStatics, HueSaturationLightnessAreClampedAndManagersWithoutWindowsHandleNothing)
{
    CPaintManagerUI::SetHSL(true, 400, -5, 250);
    short h = 0, s = 0, l = 0;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(360, h);
    EXPECT_EQ(0, s);
    EXPECT_EQ(200, l);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);

    CPaintManagerUI pm;
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_PAINT, 0, 0, lRes));
    EXPECT_FALSE(pm.SetTimer(nullptr, 1, 10));
    MSG msg = {};
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
}

} // namespace
