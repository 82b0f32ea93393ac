#include "support/FakeNotificationArea.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace VarnelTest {

namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";

// The head of the record the shell sends in WM_COPYDATA (dwData = the NIM_
// code), in its handle-size-independent form; icon bits follow it.
struct TShellNotifyHead
{
    LONG hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    WCHAR szTip[128];
};

bool SameIcon(const CFakeNotificationArea::TRequest& a, HWND hWnd, UINT id)
{
    return a.hWnd == hWnd && a.id == id;
}

} // namespace

CFakeNotificationArea::CFakeNotificationArea()
{
    m_hReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, &m_threadId);
    if (m_hThread != nullptr) ::WaitForSingleObject(m_hReady, 10000);
}

CFakeNotificationArea::~CFakeNotificationArea()
{
    if (m_hThread != nullptr) {
        ::PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(m_hThread, 10000);
        ::CloseHandle(m_hThread);
    }
    if (m_hReady != nullptr) ::CloseHandle(m_hReady);
}

DWORD WINAPI CFakeNotificationArea::ThreadProc(LPVOID pParam)
{
    auto* pThis = static_cast<CFakeNotificationArea*>(pParam);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayClass;
    ::RegisterClassW(&wc);

    // The shell talks to the first window of the class in the z-order: this
    // one, put on top of any the platform's desktop keeps hidden.
    const HWND hWnd =
        ::CreateWindowExW(0, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (hWnd != nullptr) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
        ::SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    pThis->m_bActive = hWnd != nullptr && ::FindWindowW(kTrayClass, nullptr) == hWnd;
    // The message queue exists now, so the quit message cannot get lost.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    ::SetEvent(pThis->m_hReady);

    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (hWnd != nullptr) ::DestroyWindow(hWnd);
    ::UnregisterClassW(kTrayClass, wc.hInstance);
    return 0;
}

LRESULT CALLBACK CFakeNotificationArea::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COPYDATA) {
        auto* pThis = reinterpret_cast<CFakeNotificationArea*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        const auto* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (pThis == nullptr || pCopy == nullptr || pCopy->cbData < sizeof(TShellNotifyHead)) return FALSE;
        pThis->Record(static_cast<DWORD>(pCopy->dwData), static_cast<const BYTE*>(pCopy->lpData), pCopy->cbData);
        return TRUE;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void CFakeNotificationArea::Record(DWORD message, const BYTE* pData, DWORD)
{
    TShellNotifyHead head;
    std::memcpy(&head, pData, sizeof(head));
    head.szTip[127] = L'\0';
    const TRequest request{
        message, static_cast<HWND>(LongToHandle(head.hWnd)), head.uID, head.uFlags, head.uCallbackMessage, head.szTip};

    const std::lock_guard<std::mutex> guard(m_lock);
    m_requests.push_back(request);
    const auto it = std::find_if(m_icons.begin(), m_icons.end(),
                                 [&](const TRequest& icon) { return SameIcon(icon, request.hWnd, request.id); });
    if (message == NIM_ADD && it == m_icons.end()) m_icons.push_back(request);
    else if (message == NIM_DELETE && it != m_icons.end()) m_icons.erase(it);
}

std::vector<CFakeNotificationArea::TRequest> CFakeNotificationArea::Requests() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

std::vector<CFakeNotificationArea::TRequest> CFakeNotificationArea::Icons() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_icons;
}

bool CFakeNotificationArea::WaitForIcon(HWND hWnd, UINT id, bool shown, DWORD timeoutMs) const
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const auto icons = Icons();
        const bool present =
            std::any_of(icons.begin(), icons.end(), [&](const TRequest& icon) { return SameIcon(icon, hWnd, id); });
        if (present == shown) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
}

} // namespace VarnelTest
