#pragma once
// The launcher's notification-area icon: added by the play window with its
// tooltip and callback message, removed when that window goes away.

#include "varnelui/core/UIDefines.h"

#include <shellapi.h>

// Mouse activity on the icon reaches the owner window as this message, with
// the mouse message in lParam.
constexpr UINT kTrayCallbackMessage = WM_USER + 1;

// The 32-bit product hands the shell the record in its full documented size;
// a 64-bit build's record is larger by its pointer-sized members.
#if !defined(_WIN64)
static_assert(sizeof(NOTIFYICONDATAW) == 956, "the notification record must be the full 956-byte version");
#endif

class TrayIcon
{
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon (not owned: the caller keeps it alive while shown) for
    // `hWndOwner`. A tip longer than the record holds is cut to fit. An icon
    // already shown is removed first.
    void Add(HWND hWndOwner, HICON hIcon, LPCWSTR pszTip);
    // Takes the icon out of the notification area; does nothing when none is shown.
    void Remove();

    HWND GetOwner() const { return m_hWndOwner; }
    HICON GetIcon() const { return m_hIcon; }
    // The record the shell was last given; all zero when no icon is shown.
    const NOTIFYICONDATAW& GetData() const { return m_data; }

private:
    HWND m_hWndOwner = nullptr;
    HICON m_hIcon = nullptr;
    NOTIFYICONDATAW m_data{};
};
