#include "app/VarnelLogin.h"

#include "app/LaunchSettings.h"
#include "app/VarnelWebFrame.h"
#include "resources/resource.h"
#include "varnelui/control/UIControl.h"

#include <new>

using VarnelUI::CControlUI;
using VarnelUI::CUIString;
using VarnelUI::TNotifyUI;
using VarnelUI::UI_RESOURCETYPE;

namespace {

// The web window turns it into a layered popup without caption.
constexpr DWORD kWebWindowStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;

} // namespace

CVarnelLogin* GetLoginFrame()
{
    static CVarnelLogin* const frame = new (std::nothrow) CVarnelLogin;
    return frame;
}

LPCWSTR CVarnelLogin::GetWndClassName() const
{
    return L"zntr";
}

LRESULT CVarnelLogin::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // The login web window follows this window on every move and resize.
    if ((uMsg == WM_MOVE || uMsg == WM_SIZE) && m_pWebFrame != nullptr) {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        m_pWebFrame->SetOwnerRect(rc.left, rc.top, rc.right, rc.bottom);
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CVarnelLogin::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

void CVarnelLogin::InitWindow()
{
    const LaunchSettings& settings = GetLaunchSettings();
    SetIcon(IDI_VARNEL);
    ResizeClient(settings.loginFrameSize.cx, settings.loginFrameSize.cy);
    // Only the band's height is configured (as the frame's width, which covers
    // the whole frame). Left, top and right are 0, so everything but the
    // buttons drags the borderless frame.
    m_pm.SetCaptionRect(RECT{0, 0, 0, settings.loginFrameSize.cx});

    // The web window deletes itself with its window, also when Escape closes
    // it before this one goes; it then clears this pointer.
    m_pWebFrame = new CVarnelWebFrame;
    m_pWebFrame->SetHolder(&m_pWebFrame);
    const RECT& web = settings.loginWebRect;
    m_pWebFrame->SetOwnerRect(web.left, web.top, web.right, web.bottom);
    m_pWebFrame->Create(m_hWnd, L"TovikWindow", kWebWindowStyle, 0, 0, 0, 0, 0);
    m_pWebFrame->ShowWindow(true, true);

    PlaceButton(L"minbtn", settings.miniRect);
    PlaceButton(L"closebtn", settings.closeRect);
}

void CVarnelLogin::PlaceButton(LPCWSTR name, const RECT& rc)
{
    CControlUI* button = m_pm.FindControl(name);
    if (button == nullptr) return;
    if (!button->IsFloat()) button->SetFloat(true);
    button->SetFixedXY(SIZE{rc.left, rc.top});
    button->SetFixedWidth(rc.right - rc.left);
    button->SetFixedHeight(rc.bottom - rc.top);
}

void CVarnelLogin::OnClick(TNotifyUI& msg)
{
    const CUIString name = msg.sender != nullptr ? msg.sender->GetName() : CUIString();
    if (name == L"minbtn") SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"closebtn") Close(1);
}

CUIString CVarnelLogin::GetSkinDir() const
{
    return L".\\";
}

CUIString CVarnelLogin::GetSkinXml() const
{
    return L"login.xml";
}

LRESULT CVarnelLogin::ResponseDefaultKeyEvent(WPARAM)
{
    return 0;
}

UI_RESOURCETYPE CVarnelLogin::GetResourceType() const
{
    return VarnelUI::UI_FROM_ZIPRESOURCE;
}

UINT CVarnelLogin::GetResourceID() const
{
    return IDR_ZIPRES_SKIN;
}

LRESULT CVarnelLogin::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    ::PostQuitMessage(0);
    bHandled = false;
    return 0;
}
