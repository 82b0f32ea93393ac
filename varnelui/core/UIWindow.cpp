// Native window wrapper: registration, creation, message routing and the
// window chores shared by every framework window.

#include "varnelui/core/UIWindow.h"
#include "varnelui/core/UIManager.h"

namespace VarnelUI {

namespace {

constexpr wchar_t kObjectProp[] = L"WndX";

bool RegisteredOrExisting(ATOM atom)
{
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CWindowWnd* ObjectFromCreateParams(LPARAM lParam)
{
    const auto* lpcs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    return lpcs != nullptr ? static_cast<CWindowWnd*>(lpcs->lpCreateParams) : nullptr;
}

} // namespace

CWindowWnd::CWindowWnd() : m_hWnd(nullptr), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false)
{
}

HWND CWindowWnd::GetHWND() const
{
    return m_hWnd;
}

CWindowWnd::operator HWND() const
{
    return m_hWnd;
}

LPCWSTR CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/)
{
}

// ---- registration and creation ---------------------------------------------

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = &CWindowWnd::__WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWndClassName();
    return RegisteredOrExisting(::RegisterClassW(&wc));
}

bool CWindowWnd::RegisterSuperclass()
{
    const HINSTANCE hInstance = CPaintManagerUI::GetInstance();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
        !::GetClassInfoExW(hInstance, GetSuperClassName(), &wc))
        return false;
    // Read on every registration, so each object learns the system procedure
    // even when an earlier object already registered the superclass.
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = &CWindowWnd::__ControlProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = GetWndClassName();
    return RegisteredOrExisting(::RegisterClassExW(&wc));
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx, int cy,
                        HMENU hMenu)
{
    const bool registered = GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered) return nullptr;
    const HWND hWnd = ::CreateWindowExW(dwExStyle, GetWndClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent,
                                        hMenu, CPaintManagerUI::GetInstance(), this);
    // The handle was already stored on WM_NCCREATE. A creation that failed
    // after it has run the final message, which may have deleted this object,
    // so only a live window's handle is written back.
    if (hWnd != nullptr) m_hWnd = hWnd;
    return hWnd;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc, HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                  hMenu);
}

HWND CWindowWnd::CreateUIWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle, DWORD dwExStyle)
{
    return Create(hwndParent, pstrWindowName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

// ---- subclassing -------------------------------------------------------------

HWND CWindowWnd::Subclass(HWND hWnd)
{
    const LONG_PTR former = ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowWnd::__WndProc));
    if (former == 0) return nullptr;
    m_OldWndProc = reinterpret_cast<WNDPROC>(former);
    m_bSubclassed = true;
    m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return hWnd;
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd) || !m_bSubclassed) return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

// ---- message routing -----------------------------------------------------------

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        // A window of this class created by someone else carries no object;
        // it is then left to the default procedure like the early messages.
        pThis = ObjectFromCreateParams(lParam);
        if (pThis != nullptr) {
            pThis->m_hWnd = hWnd;
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
        }
    } else {
        pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_NCDESTROY && pThis != nullptr) {
            const LRESULT lRes = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            if (pThis->m_bSubclassed) pThis->Unsubclass();
            pThis->m_hWnd = nullptr;
            pThis->OnFinalMessage(hWnd); // may delete the object: nothing of it is used after
            return lRes;
        }
    }
    if (pThis != nullptr) return pThis->HandleMessage(uMsg, wParam, lParam);
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::__ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        pThis = ObjectFromCreateParams(lParam);
        if (pThis != nullptr) {
            pThis->m_hWnd = hWnd;
            ::SetPropW(hWnd, kObjectProp, pThis);
        }
    } else {
        pThis = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProp));
        if (uMsg == WM_NCDESTROY && pThis != nullptr) {
            const LRESULT lRes = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
            if (pThis->m_bSubclassed) pThis->Unsubclass();
            // Removing rather than nulling the property also frees its atom
            // entry; either way the window no longer leads to the object.
            ::RemovePropW(hWnd, kObjectProp);
            pThis->m_hWnd = nullptr;
            pThis->OnFinalMessage(hWnd);
            return lRes;
        }
    }
    if (pThis != nullptr) return pThis->HandleMessage(uMsg, wParam, lParam);
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

// ---- window chores -------------------------------------------------------------

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal()
{
    // Only locals from here on: closing the window runs its final message,
    // which may delete this object while the loop still runs.
    const HWND hWnd = m_hWnd;
    UINT nRet = 0;
    const HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    if (hWndOwner != nullptr) ::EnableWindow(hWndOwner, FALSE);

    MSG msg = {};
    // GetMessageW answers -1 on failure; treating that as "go on" would spin.
    while (::IsWindow(hWnd) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE && msg.hwnd == hWnd) {
            nRet = static_cast<UINT>(msg.wParam);
            // Re-enabled before the window goes, so activation returns to the owner.
            if (hWndOwner != nullptr) {
                ::EnableWindow(hWndOwner, TRUE);
                ::SetFocus(hWndOwner);
            }
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    if (hWndOwner != nullptr) {
        ::EnableWindow(hWndOwner, TRUE);
        ::SetFocus(hWndOwner);
    }
    // GetMessageW took the quit message off the queue; the outer loop needs it too.
    if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return nRet;
}

void CWindowWnd::Close(UINT nRet)
{
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

void CWindowWnd::CenterWindow()
{
    RECT rcDlg = {};
    if (!::GetWindowRect(m_hWnd, &rcDlg)) return;
    const int w = rcDlg.right - rcDlg.left;
    const int h = rcDlg.bottom - rcDlg.top;

    const HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWndOwner != nullptr ? hWndOwner : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT rcArea = mi.rcWork;
    RECT rcCenter = rcArea;
    if (hWndOwner != nullptr) ::GetWindowRect(hWndOwner, &rcCenter);

    int x = (rcCenter.left + rcCenter.right) / 2 - w / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - h / 2;
    // Larger than the work area: the left and top edges stay visible.
    if (x < rcArea.left) x = rcArea.left;
    else if (x + w > rcArea.right) x = rcArea.right - w;
    if (y < rcArea.top) y = rcArea.top;
    else if (y + h > rcArea.bottom) y = rcArea.bottom - h;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes)
{
    // The icons are not shared images: the window keeps using them until it
    // is gone, and the process ends with its windows.
    const HINSTANCE hInstance = CPaintManagerUI::GetInstance();
    const HANDLE hBig = ::LoadImageW(hInstance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                     ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBig));
    const HANDLE hSmall = ::LoadImageW(hInstance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                       ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rc = {};
    if (!::GetClientRect(m_hWnd, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    // A child window's "menu" is its control id, not a menu bar.
    const BOOL bMenu = (dwStyle & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
    if (!::AdjustWindowRectEx(&rc, dwStyle, bMenu, dwExStyle)) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace VarnelUI
