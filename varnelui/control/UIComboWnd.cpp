#include "varnelui/control/UIComboWnd.h"

#include "varnelui/control/UICombo.h"
#include "varnelui/control/UIScrollBar.h"
#include "varnelui/control/UIVerticalLayout.h"

#include <algorithm>
#include <cwchar>

namespace VarnelUI {

namespace {

// The popup's border and inset take two pixels above and two below the items.
constexpr LONG kFrameHeight = 4;
constexpr RECT kPopupInset = {1, 1, 1, 1};
constexpr DWORD kPopupBkColor = 0xFFFFFFFF;
constexpr DWORD kPopupBorderColor = 0xFFC6C7D2;

RECT ClientToScreen(HWND hWnd, const RECT& rc)
{
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::ClientToScreen(hWnd, &corners[0]);
    ::ClientToScreen(hWnd, &corners[1]);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

RECT PrimaryWorkArea()
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

} // namespace

LPCWSTR CComboWnd::GetWndClassName() const
{
    return L"ComboWnd";
}

CPaintManagerUI& CComboWnd::GetManager()
{
    return m_pm;
}

CVerticalLayoutUI* CComboWnd::GetLayout() const
{
    return m_pLayout;
}

bool CComboWnd::Init(CComboUI* pOwner)
{
    m_pOwner = pOwner;
    m_iOldSel = pOwner->GetCurSel();
    const HWND hWndOwner = pOwner->GetManager()->GetPaintWindow();
    // A failed creation may already have run the final message and deleted
    // this object: nothing of it is touched afterwards.
    if (Create(hWndOwner, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, CalcPosition()) == nullptr) return false;
    ::ShowWindow(m_hWnd, SW_SHOW);
    // The owner's title keeps looking active while the popup has the focus.
    ::SendMessageW(::GetAncestor(hWndOwner, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
    return true;
}

RECT CComboWnd::CalcPosition() const
{
    const SIZE szDrop = m_pOwner->GetDropBoxSize();
    const RECT rcOwner = m_pOwner->GetPos();
    const LONG cxDrop = szDrop.cx > 0 ? szDrop.cx : rcOwner.right - rcOwner.left;
    const SIZE szAvailable = {cxDrop, szDrop.cy};
    LONG cyItems = kFrameHeight;
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* pItem = m_pOwner->GetItemAt(i);
        if (pItem->IsVisible()) cyItems += pItem->EstimateSize(szAvailable).cy;
    }
    const LONG cy = std::min<LONG>(cyItems, szDrop.cy);

    const HWND hWndOwner = m_pOwner->GetManager()->GetPaintWindow();
    const RECT rcBelow =
        ClientToScreen(hWndOwner, {rcOwner.left, rcOwner.bottom, rcOwner.left + cxDrop, rcOwner.bottom + cy});
    if (PrimaryWorkArea().bottom >= rcBelow.bottom) return rcBelow;
    return ClientToScreen(hWndOwner, {rcOwner.left, rcOwner.top - cy, rcOwner.left + cxDrop, rcOwner.top});
}

void CComboWnd::OnCreate()
{
    m_pm.Init(m_hWnd);
    CPaintManagerUI* pOwnerManager = m_pOwner->GetManager();
    m_pm.UseParentResource(pOwnerManager);
    m_pLayout = new CVerticalLayoutUI;
    m_pLayout->SetManager(&m_pm, nullptr, true);
    if (LPCWSTR pstrDefaults = pOwnerManager->GetDefaultAttributeList(L"VerticalLayout"))
        m_pLayout->ApplyAttributeList(pstrDefaults);
    m_pLayout->SetInset(kPopupInset);
    m_pLayout->SetBkColor(kPopupBkColor);
    m_pLayout->SetBorderColor(kPopupBorderColor);
    m_pLayout->SetBorderSize(1);
    // The items stay the combo's: the layout only borrows them.
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar();
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
    for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pLayout->Add(m_pOwner->GetItemAt(i));
    m_pm.AttachDialog(m_pLayout);
}

void CComboWnd::ReturnItems()
{
    if (m_pLayout != nullptr) {
        // The popup's manager forgets them, so nothing it does while closing
        // (leave and release events) reaches an item that is back in the combo.
        for (int i = 0; i < m_pLayout->GetCount(); ++i) m_pm.ReapObjects(m_pLayout->GetItemAt(i));
        m_pLayout->RemoveAll();
    }
    if (m_pOwner == nullptr) return;
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
    m_pOwner->SetPos(m_pOwner->GetPos());
}

void CComboWnd::Detach()
{
    ReturnItems();
    m_pOwner = nullptr;
    PostMessageW(WM_CLOSE);
}

void CComboWnd::ForgetItem(CControlUI* pControl)
{
    if (m_pLayout == nullptr) return;
    m_pm.ReapObjects(pControl);
    m_pLayout->Remove(pControl);
}

void CComboWnd::EnsureVisible(int iIndex)
{
    if (m_pOwner == nullptr || m_pLayout == nullptr || m_pOwner->GetCurSel() < 0) return;
    const CControlUI* pItem = m_pLayout->GetItemAt(iIndex);
    if (pItem == nullptr) return;
    const RECT& rcItem = pItem->GetPos();
    RECT rcView = m_pLayout->GetPos();
    const RECT rcInset = m_pLayout->GetInset();
    rcView.top += rcInset.top;
    rcView.bottom -= rcInset.bottom;
    const CScrollBarUI* pBar = m_pLayout->GetHorizontalScrollBar();
    if (pBar != nullptr && pBar->IsVisible()) rcView.bottom -= pBar->GetFixedHeight();

    if (rcItem.top >= rcView.top && rcItem.bottom < rcView.bottom) return;
    const LONG dy = rcItem.bottom > rcView.bottom ? rcItem.bottom - rcView.bottom : rcItem.top - rcView.top;
    const SIZE szPos = m_pLayout->GetScrollPos();
    m_pLayout->SetScrollPos(SIZE{szPos.cx, szPos.cy + dy});
}

bool CComboWnd::OnKeyDown(WPARAM wParam)
{
    if (m_pOwner == nullptr) return false;
    switch (wParam) {
    case VK_RETURN: PostMessageW(WM_KILLFOCUS); break;
    case VK_ESCAPE:
        m_pOwner->SelectItem(m_iOldSel, true);
        EnsureVisible(m_iOldSel);
        PostMessageW(WM_KILLFOCUS);
        break;
    default: {
        TEventUI event = {};
        event.kind = EVT_KEYDOWN;
        event.sender = m_pOwner;
        event.timestamp = ::GetTickCount();
        event.keyChar = static_cast<wchar_t>(wParam);
        event.keyState = CurrentKeyState();
        m_pOwner->DoEvent(event);
        EnsureVisible(m_pOwner->GetCurSel());
        break;
    }
    }
    return true;
}

void CComboWnd::PassWheelToOwner(WPARAM wParam)
{
    if (m_pOwner == nullptr) return;
    TEventUI event = {};
    event.kind = EVT_SCROLLWHEEL;
    event.sender = m_pOwner;
    event.timestamp = ::GetTickCount();
    event.wParam = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SB_LINEDOWN : SB_LINEUP;
    event.keyState = CurrentKeyState();
    m_pOwner->DoEvent(event);
    EnsureVisible(m_pOwner->GetCurSel());
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE: OnCreate(); break;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) PostMessageW(WM_CLOSE);
        break;
    case WM_CLOSE:
        ReturnItems();
        if (m_pOwner != nullptr) m_pOwner->SetFocus();
        break;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        break;
    case WM_LBUTTONUP: {
        // A click on an item has selected it already; only the scroll bar
        // keeps the popup open.
        const CControlUI* pControl = m_pm.FindControl(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (pControl != nullptr && std::wcscmp(pControl->GetClass(), CScrollBarUI::kNames.className) != 0)
            PostMessageW(WM_KILLFOCUS);
        break;
    }
    case WM_MOUSEWHEEL: PassWheelToOwner(wParam); return 0;
    default: break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND)
{
    if (m_pOwner != nullptr) {
        // Closed with its owner window, without a WM_CLOSE of its own.
        ReturnItems();
        m_pOwner->m_pWindow = nullptr;
        m_pOwner->m_uButtonState &= ~CTRLSTATE_PUSHED;
        m_pOwner->Invalidate();
    }
    delete this;
}

} // namespace VarnelUI
