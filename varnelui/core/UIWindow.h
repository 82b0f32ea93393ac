#pragma once
// Ties one object to one native window: class registration (or superclassing
// of a system class), creation, message routing to HandleMessage, and the
// small chores every framework window needs.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

class VARNELUI_API CWindowWnd
{
public:
    CWindowWnd();
    // A copy would be a second object claiming the same native window, and
    // the window would route its messages to only one of them.
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const;
    operator HWND() const;

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);
    // Zero-sized: a skinned window sizes itself from its skin afterwards.
    HWND CreateUIWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle = 0, DWORD dwExStyle = 0);

    HWND Subclass(HWND hWnd);
    void Unsubclass();

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    UINT ShowModal();
    void Close(UINT nRet = IDOK);
    void CenterWindow();
    void SetIcon(UINT nRes);

    LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    void ResizeClient(int cx = -1, int cy = -1);

    virtual LPCWSTR GetWndClassName() const = 0;
    virtual LPCWSTR GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hWnd);

    // Procedure of the classes registered here; the object lives in the user data.
    static LRESULT CALLBACK __WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Procedure of superclasses, whose extra window bytes and user data belong
    // to the system class: the object lives in the window property "WndX".
    static LRESULT CALLBACK __ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

protected:
    HWND m_hWnd;
    WNDPROC m_OldWndProc;
    bool m_bSubclassed;
};

} // namespace VarnelUI
