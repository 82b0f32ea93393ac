#pragma once
// The window the game is played in: a resizable borderless window with its own
// title bar (logo, page title, service, refresh, minimise, maximise/restore and
// close buttons) over a browser showing the game, plus the notification-area
// icon with its two-item menu. Every way of closing it asks first and then
// quits the whole launcher.

#include "app/TrayIcon.h"
#include "varnelui/control/UIWebBrowserEventHandler.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIWindowImplBase.h"

namespace VarnelUI {
class CControlUI;
class CWebBrowserUI;
} // namespace VarnelUI

class CVarnelPlayFrame : public VarnelUI::WindowImplBase, public VarnelUI::CWebBrowserEventHandler
{
public:
    CVarnelPlayFrame() = default;
    ~CVarnelPlayFrame() override;

    LPCWSTR GetWndClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    void OnClick(VarnelUI::TNotifyUI& msg) override;
    VarnelUI::CUIString GetSkinDir() const override;
    VarnelUI::CUIString GetSkinXml() const override;
    // Enter and Escape do nothing here.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    VarnelUI::UI_RESOURCETYPE GetResourceType() const override;
    UINT GetResourceID() const override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // Shows the loaded page's title in the title bar.
    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, LPCWSTR pstrControlName) override;

    // The address the browser opens; set before the window is created.
    void SetGameURL(LPCWSTR pstrUrl) { m_sGameURL = pstrUrl; }
    const VarnelUI::CUIString& GetGameURL() const { return m_sGameURL; }

    // Asks whether to leave the game; yes closes the login frame, which takes
    // every launcher window with it and ends the process.
    void ConfirmQuit();

    const TrayIcon& GetTrayIcon() const { return m_trayIcon; }

    // `*ppHolder` points at this object and is cleared when the window is gone.
    void SetHolder(CVarnelPlayFrame** ppHolder) { m_ppHolder = ppHolder; }

private:
    // Tray click and "显示游戏界面": a hidden window comes back; a minimised
    // one counts as shown and stays as it is.
    void ShowIfHidden();
    void ShowTrayMenu();
    // Registers the icon as the image "Logo.png" and puts it in "logo".
    void ShowLogo(HICON hIcon);

    VarnelUI::CWebBrowserUI* m_pBrowser = nullptr;
    TrayIcon m_trayIcon;
    VarnelUI::CControlUI* m_pMaxBtn = nullptr;
    VarnelUI::CControlUI* m_pRestoreBtn = nullptr;
    VarnelUI::CUIString m_sGameURL;
    // Shown in the notification area for as long as the window lives.
    VarnelUI::CIconHandle m_smallIcon;
    bool m_bAsking = false;
    CVarnelPlayFrame** m_ppHolder = nullptr;
};
