#include "app/VarnelPlayFrame.h"

#include "app/LaunchSettings.h"
#include "app/Trailer.h"
#include "app/VarnelLogin.h"
#include "resources/resource.h"
#include "varnelui/control/UIControl.h"
#include "varnelui/control/UIWebBrowser.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIRender.h"

#include <mshtml.h>

using VarnelUI::CControlUI;
using VarnelUI::CPaintManagerUI;
using VarnelUI::CRenderEngine;
using VarnelUI::CUIString;
using VarnelUI::CWebBrowserUI;

namespace {

// The window's first restored size; it opens maximised.
constexpr int kInitialWidth = 1286;
constexpr int kInitialHeight = 768;

// A complete reload, bypassing every cache.
constexpr int kRefreshCompletely = 3;

} // namespace

CVarnelPlayFrame::~CVarnelPlayFrame()
{
    // Before the icon handle it shows is destroyed.
    m_trayIcon.Remove();
}

LPCWSTR CVarnelPlayFrame::GetWndClassName() const
{
    return L"zntr";
}

LRESULT CVarnelPlayFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case kTrayCallbackMessage:
        switch (LOWORD(lParam)) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: ShowIfHidden(); break;
        case WM_RBUTTONDOWN: ShowTrayMenu(); break;
        default: break;
        }
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_SHOW_GAME) ShowIfHidden();
        else if (LOWORD(wParam) == IDM_QUIT_GAME) ConfirmQuit();
        break;
    case WM_CLOSE:
        // Never closed by default processing: the question decides, and a yes
        // quits through the login frame.
        ConfirmQuit();
        return 1;
    default: break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CVarnelPlayFrame::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    if (m_ppHolder != nullptr && *m_ppHolder == this) *m_ppHolder = nullptr;
    delete this;
}

LRESULT CVarnelPlayFrame::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    // While the window still exists, so the shell matches the icon to it
    // whichever way the window goes.
    m_trayIcon.Remove();
    bHandled = false;
    return 0;
}

void CVarnelPlayFrame::InitWindow()
{
    // The skin's sizing borders resize the window instead.
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<DWORD>(WS_THICKFRAME)));

    if (CControlUI* pControl = m_pm.FindControl(L"WebBrowser"))
        m_pBrowser = static_cast<CWebBrowserUI*>(pControl->GetInterface(L"WebBrowser"));
    if (m_pBrowser != nullptr) {
        m_pBrowser->SetHomePage(m_sGameURL);
        if (!m_pBrowser->IsVisible()) m_pBrowser->SetVisible(true);
        m_pBrowser->SetWebBrowserEventHandler(this);
    }
    m_pMaxBtn = m_pm.FindControl(L"maxbtn");
    m_pRestoreBtn = m_pm.FindControl(L"restorebtn");

    ResizeClient(kInitialWidth, kInitialHeight);

    // The launcher's resources: the executable itself, also when the
    // instance handle is another module's.
    m_smallIcon.Reset(static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetResourceDll(), MAKEINTRESOURCEW(IDI_VARNEL),
                                                      IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    m_trayIcon.Add(m_hWnd, m_smallIcon.Get(), GetLaunchSettings().clientName);
    ShowLogo(m_smallIcon.Get());
}

void CVarnelPlayFrame::ShowLogo(HICON hIcon)
{
    VarnelUI::TImageInfo* pImage = CRenderEngine::LoadImageFromHICON(hIcon);
    if (pImage == nullptr) return;
    // The image cache takes the bitmap over, so only the record is freed here;
    // freeing the bitmap too would leave the logo drawn from a deleted one.
    const bool bAdded = m_pm.AddImage(L"Logo.png", pImage->hBitmap, pImage->width, pImage->height, false) != nullptr;
    if (bAdded) pImage->hBitmap = nullptr;
    CRenderEngine::FreeImage(pImage);
    if (!bAdded) return;
    if (CControlUI* pLogo = m_pm.FindControl(L"logo")) pLogo->SetBkImage(L"Logo.png");
}

void CVarnelPlayFrame::OnClick(VarnelUI::TNotifyUI& msg)
{
    if (msg.sender == nullptr) return;
    const CUIString sName = msg.sender->GetName();
    if (sName == L"restorebtn") {
        msg.sender->SetVisible(false);
        if (m_pMaxBtn != nullptr) m_pMaxBtn->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_RESTORE);
    } else if (sName == L"maxbtn") {
        msg.sender->SetVisible(false);
        if (m_pRestoreBtn != nullptr) m_pRestoreBtn->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    } else if (sName == L"kefubtn") {
        CUIString sLink;
        if (GetTrailerField(1, sLink)) ::ShellExecuteW(nullptr, L"open", sLink, nullptr, nullptr, SW_SHOW);
    } else if (sName == L"minbtn") {
        ::ShowWindow(m_hWnd, SW_MINIMIZE);
    } else if (sName == L"closebtn") {
        ConfirmQuit();
    } else if (sName == L"refreshbtn") {
        if (m_pBrowser != nullptr) m_pBrowser->Refresh2(kRefreshCompletely);
    }
}

CUIString CVarnelPlayFrame::GetSkinDir() const
{
    return CUIString(L".\\");
}

CUIString CVarnelPlayFrame::GetSkinXml() const
{
    return CUIString(L"playGameWindow.xml");
}

LRESULT CVarnelPlayFrame::ResponseDefaultKeyEvent(WPARAM)
{
    return 0;
}

VarnelUI::UI_RESOURCETYPE CVarnelPlayFrame::GetResourceType() const
{
    return VarnelUI::UI_FROM_ZIPRESOURCE;
}

UINT CVarnelPlayFrame::GetResourceID() const
{
    return IDR_ZIPRES_SKIN;
}

void CVarnelPlayFrame::NavigateComplete2(IDispatch*, VARIANT*&, LPCWSTR)
{
    // Always the top document's title, also when a frame finished loading.
    IWebBrowser2* pWebBrowser = m_pBrowser != nullptr ? m_pBrowser->GetWebBrowser2() : nullptr;
    if (pWebBrowser == nullptr) return;
    VarnelUI::CUIComPtr<IDispatch> pDocument;
    if (FAILED(pWebBrowser->get_Document(pDocument.ReleaseAndGetAddressOf())) || !pDocument) return;
    const auto pHtmlDocument = VarnelUI::ComQuery<IHTMLDocument2>(pDocument.Get());
    if (!pHtmlDocument) return;
    VarnelUI::CUIBstr title;
    // A page without a title keeps the previous one on show.
    if (FAILED(pHtmlDocument->get_title(title.ReleaseAndGetAddressOf())) || title.IsEmpty()) return;
    if (CControlUI* pLabel = m_pm.FindControl(L"titelLabel")) pLabel->SetText(title.Get());
}

void CVarnelPlayFrame::ConfirmQuit()
{
    // One question at a time: the tray menu still works while it is asked.
    if (m_bAsking) return;
    m_bAsking = true;
    const int answer = ::MessageBoxW(m_hWnd, L"正在游戏是否退出？", L"提示", MB_YESNO | MB_ICONINFORMATION);
    m_bAsking = false;
    if (answer == IDYES) GetLoginFrame()->Close(1);
}

void CVarnelPlayFrame::ShowIfHidden()
{
    if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
}

void CVarnelPlayFrame::ShowTrayMenu()
{
    // Loaded for each click and released after it.
    const HMENU hMenu = ::LoadMenuW(CPaintManagerUI::GetResourceDll(), MAKEINTRESOURCEW(IDR_MENU_TRAY));
    if (hMenu == nullptr) return;
    POINT pt = {};
    ::GetCursorPos(&pt);
    if (const HMENU hPopup = ::GetSubMenu(hMenu, 0)) {
        // In the foreground, a click anywhere else dismisses the menu.
        ::SetForegroundWindow(m_hWnd);
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    ::DestroyMenu(hMenu);
}
