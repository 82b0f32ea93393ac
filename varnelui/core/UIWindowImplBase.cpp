#include "varnelui/core/UIWindowImplBase.h"

#include "varnelui/control/UIControl.h"

#include <cstring>
#include <cwchar>

namespace VarnelUI {

LPBYTE WindowImplBase::m_lpResourceZIPBuffer = nullptr;
DWORD WindowImplBase::m_dwResourceZIPSize = 0;

UI_IMPLEMENT_MESSAGE_MAP(WindowImplBase, CNotifyPump)
const UI_MSGMAP_ENTRY WindowImplBase::_messageEntries[] = {
    UIMsgEntry(L"click", L"", &WindowImplBase::OnClick),
    UIMsgMapEnd(),
};

namespace {

// The work area of the monitor nearest to the window, relative to that
// monitor's top-left corner (the frame the maximised position is given in).
RECT MonitorWorkArea(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    RECT rcWork = info.rcWork;
    ::OffsetRect(&rcWork, -info.rcMonitor.left, -info.rcMonitor.top);
    return rcWork;
}

// Controls that must stay clickable inside the caption band.
bool IsClickableClass(LPCWSTR pstrClass)
{
    for (LPCWSTR pstrName : {L"ButtonUI", L"OptionUI", L"TextUI"}) {
        if (::_wcsicmp(pstrClass, pstrName) == 0) return true;
    }
    return false;
}

} // namespace

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() = default;

LPCWSTR WindowImplBase::GetSuperClassName() const
{
    return nullptr;
}

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

void WindowImplBase::OnFinalMessage(HWND)
{
    m_pm.RemovePreMessageFilter(this);
    m_pm.RemoveNotifier(this);
    m_pm.ReapObjects(m_pm.GetRoot());
}

void WindowImplBase::InitWindow()
{
}

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    const CUIString sName = msg.sender != nullptr ? msg.sender->GetName() : CUIString();
    if (sName == L"closebtn") Close(1);
    else if (sName == L"minbtn") SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (sName == L"maxbtn") SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (sName == L"restorebtn") SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        Close(1);
        return TRUE;
    }
    return FALSE;
}

UI_RESOURCETYPE WindowImplBase::GetResourceType() const
{
    return UI_FROM_FILE;
}

CUIString WindowImplBase::GetZIPFileName() const
{
    return CUIString();
}

UINT WindowImplBase::GetResourceID() const
{
    return 0;
}

CControlUI* WindowImplBase::CreateControl(LPCWSTR)
{
    return nullptr;
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    NotifyPump(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool&)
{
    // The key still reaches the window afterwards: the handled flag stays clear.
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return ResponseDefaultKeyEvent(wParam);
    return 0;
}

DWORD WindowImplBase::GetStyle() const
{
    const auto dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    return dwStyle & ~static_cast<DWORD>(WS_CAPTION);
}

// ---- messages -----------------------------------------------------------------

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    bool bHandled = true;
    switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    case WM_ERASEBKGND: lRes = OnErasebkgnd(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = false; break;
    }
    if (bHandled) return lRes;

    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;

    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& bHandled)
{
    if (::IsIconic(m_hWnd)) bHandled = false;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, bool&)
{
    // Without a frame the whole window is client area.
    if (!::IsZoomed(m_hWnd)) return 0;

    RECT* pRect =
        wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const RECT rcWork = MonitorWorkArea(m_hWnd);
    pRect->right = pRect->left + (rcWork.right - rcWork.left);
    pRect->bottom = pRect->top + (rcWork.bottom - rcWork.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);

    if (!::IsZoomed(m_hWnd)) {
        const RECT& rcBox = m_pm.GetSizeBox();
        const bool bLeft = pt.x < rcClient.left + rcBox.left;
        const bool bRight = pt.x > rcClient.right - rcBox.right;
        if (pt.y < rcClient.top + rcBox.top) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (pt.y > rcClient.bottom - rcBox.bottom) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (bLeft) return HTLEFT;
        if (bRight) return HTRIGHT;
    }

    const RECT& rcCaption = m_pm.GetCaptionRect();
    if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right && pt.y >= rcCaption.top &&
        pt.y < rcCaption.bottom) {
        CControlUI* pControl = m_pm.FindControl(pt);
        if (pControl != nullptr && !IsClickableClass(pControl->GetClass())) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    const RECT rcWork = MonitorWorkArea(m_hWnd);
    pInfo->ptMaxPosition = {rcWork.left, rcWork.top};
    pInfo->ptMaxTrackSize = {rcWork.right - rcWork.left, rcWork.bottom - rcWork.top};
    const SIZE szMin = m_pm.GetMinInfo();
    pInfo->ptMinTrackSize = {szMin.cx, szMin.cy};
    // The paint manager adds its own non-zero limits.
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& bHandled)
{
    const SIZE szRound = m_pm.GetRoundCorner();
    if ((szRound.cx != 0 || szRound.cy != 0) && !::IsIconic(m_hWnd)) {
        RECT rcWnd = {};
        ::GetWindowRect(m_hWnd, &rcWnd);
        ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
        ++rcWnd.right;
        ++rcWnd.bottom;
        // The window owns the region from here on.
        HRGN hRgn = ::CreateRoundRectRgn(rcWnd.left, rcWnd.top, rcWnd.right, rcWnd.bottom, szRound.cx, szRound.cy);
        if (::SetWindowRgn(m_hWnd, hRgn, TRUE) == 0) ::DeleteObject(hRgn);
    }
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool&)
{
    // The low four bits of the command are the system's own.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(WM_CLOSE);
        return 0;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);

    m_pm.Init(m_hWnd);
    m_pm.AddPreMessageFilter(this);

    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + GetSkinDir());

    const UI_RESOURCETYPE type = GetResourceType();
    switch (type) {
    case UI_FROM_ZIP: CPaintManagerUI::SetResourceZip(GetZIPFileName(), true); break;
    case UI_FROM_ZIPRESOURCE:
        if (!LoadResourceZip()) return 0;
        CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer, m_dwResourceZIPSize);
        break;
    default: break;
    }

    CDialogBuilder builder;
    CControlUI* pRoot = nullptr;
    const CUIString sSkinXml = GetSkinXml();
    if (type == UI_FROM_RESOURCE)
        pRoot = builder.Create(STRINGorID(static_cast<UINT>(::_wtoi(sSkinXml))), L"xml", this, &m_pm);
    else pRoot = builder.Create(STRINGorID(sSkinXml.GetData()), nullptr, this, &m_pm);

    if (pRoot == nullptr) {
        ::MessageBoxW(nullptr, L"加载资源文件失败", L"VarnelUI", MB_OK | MB_ICONERROR);
        ::ExitProcess(1);
    }

    m_pm.AttachDialog(pRoot);
    m_pm.AddNotifier(this);
    InitWindow();
    return 0;
}

bool WindowImplBase::LoadResourceZip()
{
    if (m_lpResourceZIPBuffer != nullptr) return true;

    const HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(GetResourceID()), L"ZIPRES");
    if (hResource == nullptr) return false;
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    if (hGlobal == nullptr) return false;
    const DWORD dwSize = ::SizeofResource(hModule, hResource);
    const void* pBytes = ::LockResource(hGlobal);
    if (dwSize != 0 && pBytes != nullptr) {
        // Never freed: the installed archive reads from it until the process ends.
        m_lpResourceZIPBuffer = new BYTE[dwSize];
        std::memcpy(m_lpResourceZIPBuffer, pBytes, dwSize);
        m_dwResourceZIPSize = dwSize;
    }
    ::FreeResource(hGlobal);
    return m_lpResourceZIPBuffer != nullptr;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnErasebkgnd(UINT, WPARAM, LPARAM, bool&)
{
    return 1;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

} // namespace VarnelUI
