#pragma once
// A stand-in for the shell's notification area, for machines that show none
// (a bare X server): a "Shell_TrayWnd" window on a thread of its own that
// answers the icon requests Shell_NotifyIconW sends it, from this process or
// any other, and keeps track of the icons they leave shown. It speaks the
// message format of wine's shell, where the tests run.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace VarnelTest {

class CFakeNotificationArea
{
public:
    struct TRequest
    {
        DWORD message; // NIM_ADD, NIM_MODIFY, NIM_DELETE, ...
        HWND hWnd;
        UINT id;
        UINT flags;
        UINT callbackMessage;
        std::wstring tip;
    };

    CFakeNotificationArea();
    ~CFakeNotificationArea();
    CFakeNotificationArea(const CFakeNotificationArea&) = delete;
    CFakeNotificationArea& operator=(const CFakeNotificationArea&) = delete;

    // False when the shell would still find another notification area first,
    // so nothing can be observed here.
    bool IsActive() const { return m_bActive; }

    std::vector<TRequest> Requests() const;
    // Icons added and not deleted since, in the order they were added.
    std::vector<TRequest> Icons() const;
    // Waits until the icon of (hWnd, id) is shown (or gone, with shown false).
    bool WaitForIcon(HWND hWnd, UINT id, bool shown, DWORD timeoutMs) const;

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam);
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void Record(DWORD message, const BYTE* pData, DWORD cbData);

    HANDLE m_hThread = nullptr;
    HANDLE m_hReady = nullptr;
    DWORD m_threadId = 0;
    bool m_bActive = false;
    mutable std::mutex m_lock;
    std::vector<TRequest> m_requests;
    std::vector<TRequest> m_icons;
};

} // namespace VarnelTest
