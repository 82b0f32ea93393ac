#include "app/VarnelWebFrame.h"

#include "app/LaunchSettings.h"
#include "app/Trailer.h"
#include "app/VarnelLogin.h"
#include "app/VarnelPlayFrame.h"
#include "resources/resource.h"
#include "varnelui/control/UIWebBrowser.h"
#include "varnelui/core/UIComPtr.h"

using VarnelUI::CUIString;
using VarnelUI::CUIVariant;
using VarnelUI::CWebBrowserUI;

namespace {

// Pixels of pure green are not drawn and let the mouse through, so a page can
// open holes onto the login frame's picture.
constexpr COLORREF kTransparentColor = RGB(0, 255, 0);

// An extended style bit the platform headers give no name.
constexpr DWORD kUnnamedExStyle = 0x00800000;

// The extended style bits dropped when the window turns layered: frame, edge,
// task-bar, layout and layering bits; the layering is then set anew.
constexpr DWORD kDroppedExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_STATICEDGE | WS_EX_APPWINDOW |
                                  WS_EX_LAYERED | WS_EX_LAYOUTRTL | kUnnamedExStyle;

// The play frame drops the thick frame itself.
constexpr DWORD kPlayWindowStyle = WS_VISIBLE | WS_OVERLAPPEDWINDOW;

// The address of a navigation as the browser hands it over: a string, or a
// reference to one.
CUIString UrlText(VARIANT* pUrl)
{
    if (pUrl == nullptr) return CUIString();
    CUIVariant text;
    if (FAILED(::VariantChangeType(text.Get(), pUrl, 0, VT_BSTR)) || text.Get()->bstrVal == nullptr) return CUIString();
    return CUIString(text.Get()->bstrVal);
}

} // namespace

CVarnelWebFrame::~CVarnelWebFrame()
{
    // The play window's final message deletes its object and clears the pointer.
    if (m_pPlayFrame != nullptr) ::DestroyWindow(m_pPlayFrame->GetHWND());
}

LPCWSTR CVarnelWebFrame::GetWndClassName() const
{
    return L"zntr";
}

void CVarnelWebFrame::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    if (m_ppHolder != nullptr && *m_ppHolder == this) *m_ppHolder = nullptr;
    delete this;
}

void CVarnelWebFrame::InitWindow()
{
    auto* pControl = m_pm.FindControl(L"WebBrowser");
    auto* pBrowser = pControl != nullptr ? static_cast<CWebBrowserUI*>(pControl->GetInterface(L"WebBrowser")) : nullptr;
    if (pBrowser == nullptr) return;

    // Without a trailer there is no login page and nothing to watch.
    CUIString sLoginPage;
    if (!GetTrailerField(0, sLoginPage)) return;
    pBrowser->SetHomePage(sLoginPage);
    pBrowser->SetWebBrowserEventHandler(this);
    if (!pBrowser->IsVisible()) pBrowser->SetVisible(true);
}

CUIString CVarnelWebFrame::GetSkinDir() const
{
    return CUIString(L".\\");
}

CUIString CVarnelWebFrame::GetSkinXml() const
{
    return CUIString(L"loginWebWnd.xml");
}

VarnelUI::UI_RESOURCETYPE CVarnelWebFrame::GetResourceType() const
{
    return VarnelUI::UI_FROM_ZIPRESOURCE;
}

UINT CVarnelWebFrame::GetResourceID() const
{
    return IDR_ZIPRES_SKIN;
}

LRESULT CVarnelWebFrame::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);

    auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    style &= ~static_cast<DWORD>(WS_CLIPCHILDREN | WS_CAPTION);
    style |= WS_CLIPSIBLINGS | WS_POPUP;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));

    auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    exStyle = (exStyle & ~kDroppedExStyle) | WS_EX_LAYERED;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    ::SetLayeredWindowAttributes(m_hWnd, kTransparentColor, 0, LWA_COLORKEY);
    return 0;
}

void CVarnelWebFrame::BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                                      VARIANT_BOOL*& Cancel)
{
    // Top document and frames alike. The keyword test is case-sensitive; an
    // empty keyword is found in every address, so a launcher configured
    // without one opens the play window on the first navigation it hears of.
    CUIString sUrl = UrlText(url);
    if (sUrl.Find(GetLaunchSettings().playGamekeyWord) < 0) return;
    if (Cancel != nullptr) *Cancel = VARIANT_TRUE;

    if (m_pPlayFrame == nullptr) {
        // A redirect wrapper carries the game address after a prefix of its own.
        const int nHttp = sUrl.Find(L"http://");
        if (nHttp > 0) sUrl = sUrl.Right(sUrl.GetLength() - nHttp);

        auto* pPlayFrame = new CVarnelPlayFrame;
        pPlayFrame->SetGameURL(sUrl);
        pPlayFrame->SetHolder(&m_pPlayFrame);
        m_pPlayFrame = pPlayFrame;
        if (pPlayFrame->Create(nullptr, L"zntr", kPlayWindowStyle, 0, 0, 0, 0, 0) == nullptr) {
            // A creation that got as far as the window's final message has
            // deleted the object and cleared the pointer; one that failed
            // earlier has not. The login windows stay up rather than leave the
            // user with no window at all; the next match tries again.
            delete m_pPlayFrame;
            m_pPlayFrame = nullptr;
            return;
        }
        m_pPlayFrame->CenterWindow();
    }

    GetLoginFrame()->ShowWindow(false, true);
    ShowWindow(false, true);
    ::SendMessageW(m_pPlayFrame->GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void CVarnelWebFrame::SetOwnerRect(int left, int top, int right, int bottom)
{
    int x = left;
    int y = top;
    if (!m_bRectRecorded) {
        m_nOffsetX = left;
        m_nOffsetY = top;
        m_nWidth = right - left;
        m_nHeight = bottom - top;
        m_bRectRecorded = true;
    } else {
        x += m_nOffsetX;
        y += m_nOffsetY;
    }
    if (::IsWindow(m_hWnd)) ::SetWindowPos(m_hWnd, HWND_TOP, x, y, m_nWidth, m_nHeight, SWP_SHOWWINDOW);
}
