#include "app/TrayIcon.h"

#include <cstring>

namespace {

// Copies `pszTip` into the record's tip field. A name too long for it is cut
// rather than dropped: the start of the client name still tells the user whose
// icon it is. The cut never separates a surrogate pair.
void CopyTip(WCHAR (&szTip)[128], LPCWSTR pszTip)
{
    constexpr size_t kMaxChars = sizeof(szTip) / sizeof(szTip[0]) - 1;
    size_t length = 0;
    while (length < kMaxChars && pszTip[length] != L'\0') ++length;
    if (length == kMaxChars && pszTip[length] != L'\0' && IS_HIGH_SURROGATE(pszTip[length - 1])) --length;
    std::memcpy(szTip, pszTip, length * sizeof(WCHAR));
    szTip[length] = L'\0';
}

} // namespace

TrayIcon::~TrayIcon()
{
    Remove();
}

void TrayIcon::Add(HWND hWndOwner, HICON hIcon, LPCWSTR pszTip)
{
    Remove();
    m_hWndOwner = hWndOwner;
    m_hIcon = hIcon;
    m_data.cbSize = sizeof(m_data);
    m_data.hWnd = hWndOwner;
    m_data.uID = 0;
    m_data.hIcon = hIcon;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON;
    m_data.uCallbackMessage = kTrayCallbackMessage;
    if (pszTip != nullptr) {
        m_data.uFlags |= NIF_TIP;
        CopyTip(m_data.szTip, pszTip);
    }
    // Without a notification area the icon is simply not shown.
    ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

void TrayIcon::Remove()
{
    if (m_data.hWnd != nullptr) {
        ::Shell_NotifyIconW(NIM_DELETE, &m_data);
        m_data = NOTIFYICONDATAW{};
    }
    m_hWndOwner = nullptr;
}
