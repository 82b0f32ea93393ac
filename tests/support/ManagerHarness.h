#pragma once
// A plain window whose procedure hands every message to its paint manager,
// controls that record the events they get, and a container to hold them.

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace ManagerHarness {

using namespace VarnelUI;

inline std::string KindName(int kind)
{
    switch (kind) {
    case EVT_KEYDOWN: return "kdown";
    case EVT_KEYUP: return "kup";
    case EVT_CHAR: return "char";
    case EVT_SYSKEY: return "syskey";
    case EVT_MOUSEMOVE: return "move";
    case EVT_MOUSELEAVE: return "leave";
    case EVT_MOUSEENTER: return "enter";
    case EVT_MOUSEHOVER: return "hover";
    case EVT_BUTTONDOWN: return "down";
    case EVT_BUTTONUP: return "up";
    case EVT_RBUTTONDOWN: return "rdown";
    case EVT_DBLCLICK: return "dbl";
    case EVT_CONTEXTMENU: return "menu";
    case EVT_SCROLLWHEEL: return "wheel";
    case EVT_KILLFOCUS: return "killfocus";
    case EVT_SETFOCUS: return "setfocus";
    case EVT_WINDOWSIZE: return "size";
    case EVT_SETCURSOR: return "cursor";
    case EVT_TIMER: return "timer";
    default: return std::to_string(kind);
    }
}

struct TEventRecord
{
    std::string control;
    TEventUI event;
};

// Every event any probe receives, in order.
inline std::vector<TEventRecord>& Events()
{
    static std::vector<TEventRecord> events;
    return events;
}

// "A.enter B.move ..." for the recorded events, optionally of some kinds only.
inline std::string Trace(std::initializer_list<int> kinds = {})
{
    std::string out;
    for (const TEventRecord& r : Events()) {
        if (kinds.size() != 0 && std::find(kinds.begin(), kinds.end(), r.event.kind) == kinds.end()) continue;
        if (!out.empty()) out += ' ';
        out += r.control + "." + KindName(r.event.kind);
    }
    return out;
}

inline const TEventRecord* LastEvent(int kind)
{
    for (auto it = Events().rbegin(); it != Events().rend(); ++it)
        if (it->event.kind == kind) return &*it;
    return nullptr;
}

inline std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// A control that records its events and layout. rcLayout is its place
// relative to its parent box.
class CProbeUI : public CControlUI
{
public:
    CProbeUI(const std::string& name, RECT layout, UINT flags = 0) : sName(name), rcLayout(layout), uFlags(flags)
    {
        SetName(Wide(name).c_str());
    }

    LPCWSTR GetClass() const override { return pstrClass; }
    UINT GetControlFlags() const override { return uFlags; }
    bool Activate() override
    {
        ++activations;
        return CControlUI::Activate();
    }
    void SetPos(RECT rc) override
    {
        ++setPosCount;
        CControlUI::SetPos(rc);
    }
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        paints.push_back(rcPaint);
        CControlUI::DoPaint(hDC, rcPaint);
    }
    void DoEvent(TEventUI& event) override
    {
        Events().push_back({sName, event});
        if (onEvent) {
            // The hook may destroy this control: nothing of it is touched afterwards.
            const auto hook = onEvent;
            hook(event);
            return;
        }
        // Focus state and the "timer" notification come from the base; other
        // events would bubble to the parent and muddle the trace.
        if (event.kind == EVT_SETFOCUS || event.kind == EVT_KILLFOCUS || event.kind == EVT_TIMER)
            CControlUI::DoEvent(event);
    }

    std::string sName;
    RECT rcLayout;
    UINT uFlags;
    LPCWSTR pstrClass = L"ProbeUI";
    std::function<void(TEventUI&)> onEvent;
    int activations = 0;
    int setPosCount = 0;
    std::vector<RECT> paints;
};

// Places each child at its rcLayout offset by the box's own position, and
// searches and paints children like the framework's containers do.
class CBoxUI : public CProbeUI
{
public:
    using CProbeUI::CProbeUI;
    ~CBoxUI() override
    {
        for (CControlUI* pChild : items) delete pChild;
    }

    template <class T>
    T* Add(T* pChild)
    {
        items.push_back(pChild);
        if (GetManager() != nullptr) GetManager()->InitControls(pChild, this);
        return pChild;
    }
    // Takes the child out; deletes it at once or through the manager's delayed clean-up.
    void Remove(CControlUI* pChild, bool bDelayed)
    {
        items.erase(std::remove(items.begin(), items.end(), pChild), items.end());
        NeedUpdate();
        if (bDelayed) GetManager()->AddDelayedCleanup(pChild);
        else delete pChild;
    }

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) override
    {
        for (CControlUI* pChild : items) pChild->SetManager(pManager, this, bInit);
        CProbeUI::SetManager(pManager, pParent, bInit);
    }
    void SetPos(RECT rc) override
    {
        CProbeUI::SetPos(rc);
        for (CControlUI* pChild : items) {
            const RECT& l = static_cast<CProbeUI*>(pChild)->rcLayout;
            pChild->SetPos({rc.left + l.left, rc.top + l.top, rc.left + l.right, rc.top + l.bottom});
        }
    }
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFind) override
    {
        if ((uFind & FIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
        if ((uFind & FIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
        if ((uFind & FIND_HITTEST) != 0 && !::PtInRect(&GetPos(), *static_cast<POINT*>(pData))) return nullptr;
        if ((uFind & FIND_ME_FIRST) != 0) {
            if (CControlUI* pFound = CControlUI::FindControl(Proc, pData, uFind)) return pFound;
        }
        std::vector<CControlUI*> order = items;
        if ((uFind & FIND_TOP_FIRST) != 0) std::reverse(order.begin(), order.end());
        for (CControlUI* pChild : order) {
            if (CControlUI* pFound = pChild->FindControl(Proc, pData, uFind)) return pFound;
        }
        return (uFind & FIND_ME_FIRST) == 0 ? CControlUI::FindControl(Proc, pData, uFind) : nullptr;
    }
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        CProbeUI::DoPaint(hDC, rcPaint);
        for (CControlUI* pChild : items) {
            RECT rcMeet;
            if (pChild->IsVisible() && ::IntersectRect(&rcMeet, &rcPaint, &pChild->GetPos()))
                pChild->DoPaint(hDC, rcPaint);
        }
    }

    std::vector<CControlUI*> items;
};

class CNotifyRecorder : public INotifyUI
{
public:
    void Notify(TNotifyUI& msg) override
    {
        seen.push_back(msg);
        const CUIString& type = msg.type;
        names.push_back(std::string(type.GetData(), type.GetData() + type.GetLength()));
        if (onNotify) onNotify(msg);
    }
    std::vector<TNotifyUI> seen;
    std::vector<std::string> names;
    std::function<void(TNotifyUI&)> onNotify;
};

// A popup window (client area = window area) at a fixed place whose
// procedure forwards everything to its paint manager.
class CTestWindow
{
public:
    explicit CTestWindow(int cx = 300, int cy = 200, DWORD dwExStyle = 0, HWND hWndParent = nullptr,
                         DWORD dwStyle = WS_POPUP)
    {
        static const ATOM atom = [] {
            WNDCLASSW wc = {};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = &CTestWindow::WndProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = L"VarnelManagerTestWnd";
            return ::RegisterClassW(&wc);
        }();
        (void)atom;
        const int x = hWndParent != nullptr && (dwStyle & WS_CHILD) != 0 ? 10 : 100;
        hwnd = ::CreateWindowExW(dwExStyle, L"VarnelManagerTestWnd", L"test", dwStyle, x, x, cx, cy, hWndParent,
                                 nullptr, ::GetModuleHandleW(nullptr), this);
        pm.Init(hwnd);
        // Shown without activation: wine waits two seconds to withdraw an
        // activated window from an X server without a window manager.
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::SetFocus(hwnd);
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    ~CTestWindow()
    {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd);
    }

    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(hwnd, uMsg, wParam, lParam); }
    LRESULT Mouse(UINT uMsg, int x, int y, WPARAM wParam = 0) { return Send(uMsg, wParam, MAKELPARAM(x, y)); }
    POINT ToScreen(int x, int y) const
    {
        POINT pt = {x, y};
        ::ClientToScreen(hwnd, &pt);
        return pt;
    }
    void Paint()
    {
        ::InvalidateRect(hwnd, nullptr, FALSE);
        ::UpdateWindow(hwnd);
    }
    // Waits up to timeoutMs for the window's next real WM_TIMER and
    // dispatches it; other messages stay queued. False when none came.
    bool DispatchNextTimer(DWORD timeoutMs = 1000, DWORD* pTime = nullptr)
    {
        const DWORD start = ::GetTickCount();
        for (;;) {
            MSG msg;
            if (::PeekMessageW(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE)) {
                if (pTime != nullptr) *pTime = msg.time;
                ::DispatchMessageW(&msg);
                return true;
            }
            const DWORD elapsed = ::GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(10, timeoutMs - elapsed), QS_TIMER);
        }
    }
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // A left click at the client point, and whatever it posted delivered.
    void Click(int x, int y)
    {
        Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, x, y);
        Pump();
    }

    // Input posted to a native window (an edit or picker the framework
    // opened) as the mouse or keyboard would send it there, then delivered.
    static void PostClick(HWND hWnd, int x, int y)
    {
        ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    static void PostKey(HWND hWnd, UINT vk)
    {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        ::PostMessageW(hWnd, WM_KEYDOWN, vk, scan | 1);
        ::PostMessageW(hWnd, WM_KEYUP, vk, scan | static_cast<LPARAM>(0xC0000001));
        Pump();
    }
    static void PostChars(HWND hWnd, const std::wstring& text)
    {
        for (wchar_t ch : text) ::PostMessageW(hWnd, WM_CHAR, ch, 1);
        Pump();
    }

    HWND hwnd = nullptr;
    CPaintManagerUI pm;
    std::vector<UINT> unhandled; // messages the manager left to DefWindowProc

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg == WM_NCCREATE) {
            const auto* pCreate = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
        }
        auto* pThis = reinterpret_cast<CTestWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pThis != nullptr && pThis->pm.GetPaintWindow() == hWnd) {
            LRESULT lRes = 0;
            if (pThis->pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
            pThis->unhandled.push_back(uMsg);
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
};

} // namespace ManagerHarness
