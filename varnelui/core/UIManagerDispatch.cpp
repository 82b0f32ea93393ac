// The paint manager's message side: native messages become control events,
// the tree is laid out lazily and painted through an off-screen bitmap (or a
// 32-bit DIB for layered windows), and tooltips follow the hovered control.

#include "varnelui/core/UIManager.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIPixelRuns.h"
#include "varnelui/core/UIRenderBlend.h"

#include <cstring>

namespace VarnelUI {

namespace {

POINT PointFromLParam(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

CControlUI* CALLBACK FindControlNeedingUpdate(CControlUI* pThis, LPVOID)
{
    return pThis->IsUpdateNeeded() ? pThis : nullptr;
}

} // namespace

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == nullptr) return false;
    DrainAsyncNotify();
    for (int i = 0; i < m_aMessageFilters.GetSize(); ++i) {
        bool bHandled = false;
        const LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }

    switch (uMsg) {
    case UIMSG_DELAYED_CLEANUP: DeleteDelayedCleanup(); break;
    case UIMSG_ACCESSIBLE_ACTION: m_accessible.RunDefaultAction(static_cast<LONG>(wParam)); return true;
    case WM_GETOBJECT:
        if (m_accessible.OnGetObject(wParam, lParam, lRes)) return true;
        break;
    case WM_CLOSE: OnClose(); break;
    case WM_ERASEBKGND: lRes = 1; return true;
    case WM_PAINT: OnPaint(); return true;
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam), lParam); break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_szMinWindow.cx > 0) pInfo->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) pInfo->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) pInfo->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) pInfo->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_SIZE:
        if (m_pFocus != nullptr) {
            TEventUI event = MakeEvent(EVT_WINDOWSIZE, m_pFocus);
            m_pFocus->Event(event);
        }
        if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
        return true;
    case WM_TIMER: OnTimer(wParam); break;
    case WM_MOUSEHOVER:
        if (OnMouseHover(lParam)) return true;
        break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_MOUSEMOVE: OnMouseMove(lParam); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: OnButtonDown(uMsg, wParam, lParam); break;
    case WM_LBUTTONUP: OnButtonUp(wParam, lParam); break;
    case WM_CAPTURECHANGED:
        // Capture taken away by another window (or released by us): the flag
        // must not keep WM_SETCURSOR answered as if a drag were still running.
        if (reinterpret_cast<HWND>(lParam) != m_hWndPaint) m_bMouseCapture = false;
        break;
    case WM_CONTEXTMENU: OnContextMenu(wParam, lParam); break;
    case WM_MOUSEWHEEL: OnMouseWheel(wParam, lParam); break;
    case WM_SETCURSOR:
        if (OnSetCursor(wParam, lParam)) return true;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: OnKey(uMsg, wParam); break;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) break;
        lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), uMsg + UIMSG_REFLECT_OFFSET, wParam, lParam);
        return true;
    case WM_NOTIFY: {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader != nullptr) lRes = ::SendMessageW(pHeader->hwndFrom, uMsg + UIMSG_REFLECT_OFFSET, wParam, lParam);
        return true;
    }
    default: break;
    }

    DrainAsyncNotify();
    return false;
}

// ---- mouse ------------------------------------------------------------------------

void CPaintManagerUI::OnClose()
{
    TEventUI event = MakeEvent(0, nullptr);
    event.mousePos = m_ptLastMousePos;
    if (m_pEventHover != nullptr) {
        event.kind = EVT_MOUSELEAVE;
        event.sender = m_pEventHover;
        m_pEventHover->Event(event);
    }
    // Re-read: the leave handler may have destroyed the pressed control.
    if (m_pEventClick != nullptr) {
        event.kind = EVT_BUTTONUP;
        event.sender = m_pEventClick;
        m_pEventClick->Event(event);
    }
    SetFocus(nullptr);
    const HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hWndOwner != nullptr) ::SetFocus(hWndOwner);
}

bool CPaintManagerUI::OnMouseHover(LPARAM lParam)
{
    m_bMouseTracking = false;
    const POINT pt = PointFromLParam(lParam);
    CControlWatch watch(*this, FindControl(pt));
    if (watch.Get() == nullptr) return false;
    if (m_pEventHover != nullptr) {
        TEventUI event = MakeEvent(EVT_MOUSEHOVER, m_pEventHover);
        event.mousePos = pt;
        m_pEventHover->Event(event);
    }
    if (watch.Get() != nullptr) ShowToolTip(watch.Get());
    return true;
}

void CPaintManagerUI::ShowToolTip(CControlUI* pControl)
{
    m_sToolTipText = pControl->GetToolTip();
    if (m_sToolTipText.IsEmpty()) return;
    m_ToolTip = {};
    // The version-2 record size is understood by every common controls version.
    m_ToolTip.cbSize = TTTOOLINFOW_V2_SIZE;
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = GetInstance();
    m_ToolTip.lpszText = const_cast<LPWSTR>(m_sToolTipText.GetData());
    m_ToolTip.rect = pControl->GetPos();
    if (m_hwndTooltip == nullptr) {
        m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                          nullptr, GetInstance(), nullptr);
        if (m_hwndTooltip == nullptr) return;
        // Tooltips speak in the window's default font, not the system's.
        ::SendMessageW(m_hwndTooltip, WM_SETFONT, reinterpret_cast<WPARAM>(m_DefaultFontInfo.hFont), FALSE);
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pControl->GetToolTipWidth());
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CPaintManagerUI::DeactivateTooltip()
{
    if (m_hwndTooltip != nullptr)
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CPaintManagerUI::OnMouseLeave()
{
    DeactivateTooltip();
    // A move to (-1, -1) finds no control, so the hovered one gets its leave.
    if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    m_bMouseTracking = false;
}

void CPaintManagerUI::OnMouseMove(LPARAM lParam)
{
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWndPaint;
        tme.dwHoverTime = m_hwndTooltip == nullptr
                              ? 400
                              : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
        ::TrackMouseEvent(&tme);
        m_bMouseTracking = true;
    }
    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlWatch watchNew(*this, FindControl(pt));
    if (watchNew.Get() != nullptr && watchNew.Get()->GetManager() != this) return;

    TEventUI event = MakeEvent(0, nullptr);
    event.mousePos = pt;
    if (m_pEventHover != nullptr && m_pEventHover != watchNew.Get()) {
        event.kind = EVT_MOUSELEAVE;
        event.sender = m_pEventHover;
        m_pEventHover->Event(event);
        m_pEventHover = nullptr;
        DeactivateTooltip();
    }
    CControlUI* pNewHover = watchNew.Get();
    if (pNewHover != nullptr && pNewHover != m_pEventHover) {
        event.kind = EVT_MOUSEENTER;
        event.sender = pNewHover;
        pNewHover->Event(event);
        m_pEventHover = watchNew.Get();
    }
    // A pressed control keeps receiving moves wherever the mouse goes.
    event.kind = EVT_MOUSEMOVE;
    if (m_pEventClick != nullptr) {
        event.sender = m_pEventClick;
        m_pEventClick->Event(event);
    } else if (watchNew.Get() != nullptr) {
        event.sender = watchNew.Get();
        watchNew.Get()->Event(event);
    }
}

void CPaintManagerUI::OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ::SetFocus(m_hWndPaint);
    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlWatch watch(*this, FindControl(pt));
    if (watch.Get() == nullptr || watch.Get()->GetManager() != this) return;

    TEventUI event = MakeEvent(0, watch.Get());
    event.mousePos = pt;
    event.keyState = static_cast<WORD>(wParam);
    switch (uMsg) {
    case WM_LBUTTONDOWN:
        m_pEventClick = watch.Get();
        watch.Get()->SetFocus();
        if (watch.Get() == nullptr) return; // destroyed by a focus handler
        SetCapture();
        event.kind = EVT_BUTTONDOWN;
        event.wParam = wParam;
        event.lParam = lParam;
        watch.Get()->Event(event);
        break;
    case WM_LBUTTONDBLCLK:
        // A double click does not move the focus.
        SetCapture();
        event.kind = EVT_DBLCLICK;
        watch.Get()->Event(event);
        m_pEventClick = watch.Get();
        break;
    case WM_RBUTTONDOWN:
        watch.Get()->SetFocus();
        if (watch.Get() == nullptr) return;
        SetCapture();
        event.kind = EVT_RBUTTONDOWN;
        event.wParam = wParam;
        event.lParam = lParam;
        watch.Get()->Event(event);
        m_pEventClick = watch.Get();
        break;
    default: break;
    }
}

void CPaintManagerUI::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    if (m_pEventClick == nullptr) return;
    ReleaseCapture();
    // Re-read: releasing the capture may have let a handler destroy the control.
    if (m_pEventClick == nullptr) return;
    TEventUI event = MakeEvent(EVT_BUTTONUP, m_pEventClick);
    event.mousePos = pt;
    event.keyState = static_cast<WORD>(wParam);
    event.wParam = wParam;
    event.lParam = lParam;
    m_pEventClick->Event(event);
    m_pEventClick = nullptr;
}

void CPaintManagerUI::OnContextMenu(WPARAM, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    if (m_pEventClick == nullptr) return;
    ReleaseCapture();
    if (m_pEventClick == nullptr) return;
    TEventUI event = MakeEvent(EVT_CONTEXTMENU, m_pEventClick);
    event.mousePos = pt;
    // This message's wParam is a window handle, not button flags.
    event.keyState = CurrentKeyState();
    event.lParam = reinterpret_cast<LPARAM>(m_pEventClick);
    m_pEventClick->Event(event);
    m_pEventClick = nullptr;
}

void CPaintManagerUI::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointFromLParam(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindControl(pt);
    if (pControl == nullptr || pControl->GetManager() != this) return;
    const int zDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    TEventUI event = MakeEvent(EVT_SCROLLWHEEL, pControl);
    event.wParam = zDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
    event.lParam = lParam;
    event.keyState = CurrentKeyState();
    pControl->Event(event);
    // The content may have scrolled under the mouse: let the hover state follow.
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}

bool CPaintManagerUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) return true;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* pControl = FindControl(pt);
    if (pControl == nullptr || (pControl->GetControlFlags() & CTRLFLAG_SETCURSOR) == 0) return false;
    TEventUI event = MakeEvent(EVT_SETCURSOR, nullptr);
    event.wParam = wParam;
    event.lParam = lParam;
    event.mousePos = pt;
    event.keyState = CurrentKeyState();
    pControl->Event(event);
    return true;
}

// ---- keyboard -----------------------------------------------------------------------

void CPaintManagerUI::OnKey(UINT uMsg, WPARAM wParam)
{
    // Key-up goes to the control that saw the key go down, even if the focus moved.
    CControlUI* pTarget = uMsg == WM_KEYUP ? m_pEventKey : m_pFocus;
    if (pTarget == nullptr) return;
    const int kind = uMsg == WM_KEYDOWN ? EVT_KEYDOWN : uMsg == WM_KEYUP ? EVT_KEYUP : EVT_CHAR;
    TEventUI event = MakeEvent(kind, pTarget);
    event.keyChar = static_cast<wchar_t>(wParam);
    event.mousePos = m_ptLastMousePos;
    event.keyState = CurrentKeyState();
    CControlWatch watch(*this, pTarget);
    pTarget->Event(event);
    if (uMsg == WM_KEYDOWN) m_pEventKey = watch.Get();
    else if (uMsg == WM_KEYUP) m_pEventKey = nullptr;
}

// ---- painting -----------------------------------------------------------------------

// Lays out what asked for it; answers whether the root itself was laid out.
bool CPaintManagerUI::LayoutIfNeeded(const RECT& rcClient)
{
    if (!m_bUpdateNeeded) return false;
    m_bUpdateNeeded = false;
    if (::IsRectEmpty(&rcClient)) return false;
    bool bRootLaidOut = false;
    if (m_pRoot->IsUpdateNeeded()) {
        m_pRoot->SetPos(rcClient);
        bRootLaidOut = true;
    } else {
        for (;;) {
            CControlUI* pControl =
                m_pRoot->FindControl(FindControlNeedingUpdate, nullptr, FIND_VISIBLE | FIND_ME_FIRST);
            if (pControl == nullptr) break;
            pControl->SetPos(pControl->GetPos());
            // A control that stays dirty after its own layout would loop forever.
            if (pControl->IsUpdateNeeded()) break;
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit");
    }
    return bRootLaidOut;
}

void CPaintManagerUI::OnPaint()
{
    RECT rcUpdate = {};
    if (!::GetUpdateRect(m_hWndPaint, &rcUpdate, FALSE)) return;
    if (m_pRoot == nullptr) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (m_bAlphaBackground) PaintLayered(rcClient);
    else PaintNormal(rcClient);
}

void CPaintManagerUI::PaintNormal(const RECT& rcClient)
{
    if (LayoutIfNeeded(rcClient)) {
        m_hDcOffscreen.Reset();
        m_hbmpOffscreen.Reset();
    }
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (m_pRoot == nullptr) return; // a windowinit or focus handler detached the tree

    const SIZE szClient = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    if (m_szOffscreen.cx != szClient.cx || m_szOffscreen.cy != szClient.cy) {
        m_hDcOffscreen.Reset();
        m_hbmpOffscreen.Reset();
    }
    if (!m_hDcOffscreen) {
        // A DIB section rather than a device bitmap: images are blended
        // straight into its pixels instead of through the system.
        CMemoryDCHandle hDC(::CreateCompatibleDC(m_hDcPaint.Get()));
        void* pBits = nullptr;
        CBitmapHandle hBitmap(RenderBlend::CreateDib32(m_hDcPaint.Get(), szClient.cx, szClient.cy, &pBits));
        if (hDC && hBitmap) {
            m_hbmpOffscreen = std::move(hBitmap);
            m_hDcOffscreen = std::move(hDC);
            m_szOffscreen = szClient;
        }
    }

    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    const RECT& rcPaint = ps.rcPaint;
    if (m_hDcOffscreen) {
        const HDC hDC = m_hDcOffscreen.Get();
        {
            CSelectObjectGuard select(hDC, m_hbmpOffscreen.Get());
            const int iSaved = ::SaveDC(hDC);
            m_pRoot->DoPaint(hDC, rcPaint);
            for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i)
                static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(hDC, rcPaint);
            ::RestoreDC(hDC, iSaved);
            ::BitBlt(ps.hdc, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top, hDC,
                     rcPaint.left, rcPaint.top, SRCCOPY);
        }
    } else {
        // Out of GDI resources: still show something, straight to the window.
        m_pRoot->DoPaint(ps.hdc, rcPaint);
    }
    if (m_bShowUpdateRect) {
        CPenHandle hPen(::CreatePen(PS_SOLID, 1, RGB(220, 0, 0)));
        CSelectObjectGuard selectPen(ps.hdc, hPen.Get());
        CSelectObjectGuard selectBrush(ps.hdc, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(ps.hdc, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::PaintLayered(const RECT& rcClient)
{
    const LONG_PTR dwExStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if ((dwExStyle & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, dwExStyle | WS_EX_LAYERED);

    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    LayoutIfNeeded(rcClient);
    if (m_bFocusNeeded) SetNextTabControl(true);

    const SIZE szClient = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
    if (m_pRoot != nullptr && PrepareBackground(szClient)) {
        const HDC hDC = m_hDcBackground.Get();
        const int iSaved = ::SaveDC(hDC);
        RECT rcRoot = rcClient;
        if (m_shadow.IsEnabled()) DrawWindowShadow(rcRoot);
        m_pRoot->DoPaint(hDC, rcRoot);
        ::RestoreDC(hDC, iSaved);

        RECT rcWindow = {};
        ::GetWindowRect(m_hWndPaint, &rcWindow);
        POINT ptDest = {rcWindow.left, rcWindow.top};
        SIZE szLayered = szClient;
        POINT ptSrc = {0, 0};
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(m_hWndPaint, nullptr, &ptDest, &szLayered, hDC, &ptSrc, 0, &bf, ULW_ALPHA);
    }
    ::EndPaint(m_hWndPaint, &ps);
}

// Every frame of a layered window starts fully transparent. The bitmap is
// kept while the size stays and cleared instead of made anew: clearing costs
// less than the fresh pages a new bitmap of that size touches.
bool CPaintManagerUI::PrepareBackground(SIZE szClient)
{
    const TPixelView frame = TPixelView::Of(m_hbmpBackground.Get());
    if (!frame.Empty() && frame.width == szClient.cx && frame.height == szClient.cy) {
        for (int y = 0; y < frame.height; ++y)
            std::memset(frame.Row(y), 0, static_cast<size_t>(frame.width) * sizeof(DWORD));
        return true;
    }
    m_hDcBackground.Reset();
    m_hbmpBackground.Reset();
    void* pBits = nullptr;
    m_hDcBackground.Reset(::CreateCompatibleDC(m_hDcPaint.Get()));
    m_hbmpBackground.Reset(
        RenderBlend::CreateDib32(m_hDcPaint.Get(), szClient.cx, szClient.cy, &pBits, RenderBlend::DibRows::BottomUp));
    if (!m_hDcBackground || !m_hbmpBackground) return false;
    // Stays selected until the bitmap is made anew.
    ::SelectObject(m_hDcBackground.Get(), m_hbmpBackground.Get());
    return true;
}

void CPaintManagerUI::OnPrintClient(HDC hDC, LPARAM lParam)
{
    if (m_pRoot == nullptr || hDC == nullptr) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    const int iSaved = ::SaveDC(hDC);
    m_pRoot->DoPaint(hDC, rcClient);
    if ((lParam & PRF_CHILDREN) != 0) {
        for (HWND hWndChild = ::GetWindow(m_hWndPaint, GW_CHILD); hWndChild != nullptr;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
            RECT rcPos = {};
            ::GetWindowRect(hWndChild, &rcPos);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
            ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, nullptr);
            ::SendMessageW(hWndChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, iSaved);
}

} // namespace VarnelUI
