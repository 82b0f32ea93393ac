#include "varnelui/control/UIListItemCore.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

namespace VarnelUI {

void CListItemCore::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

bool CListItemCore::Select(CControlUI& item, bool bSelect)
{
    if (!item.IsEnabled()) return false;
    if (bSelect == m_bSelected) return true;
    m_bSelected = bSelect;
    if (bSelect && m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex);
    item.Invalidate();
    return true;
}

void CListItemCore::OnVisibilityChanged(CControlUI& item)
{
    if (item.IsVisible() || !m_bSelected) return;
    m_bSelected = false;
    if (m_pOwner != nullptr) m_pOwner->SelectItem(-1);
}

bool CListItemCore::Activate(CControlUI& item, bool bActivated)
{
    if (!bActivated) return false;
    if (CPaintManagerUI* pManager = item.GetManager()) pManager->SendNotify(&item, L"itemactivate");
    return true;
}

void CListItemCore::SetHot(CControlUI& item, bool bHot)
{
    SetStateBits(m_uButtonState, CTRLSTATE_HOT, bHot);
    item.Invalidate();
}

bool CListItemCore::HandleActivation(CControlUI& item, const TEventUI& event)
{
    const bool bEnter = event.kind == EVT_KEYDOWN && event.keyChar == VK_RETURN;
    if (event.kind != EVT_DBLCLICK && !(bEnter && item.IsEnabled())) return false;
    if (item.IsEnabled()) {
        item.Activate();
        item.Invalidate();
    }
    return true;
}

bool CListItemCore::HandleMouse(CControlUI& item, IListItemUI& listItem, const TEventUI& event)
{
    switch (event.kind) {
    case EVT_BUTTONDOWN:
    case EVT_RBUTTONDOWN:
        if (item.IsEnabled()) {
            if (CPaintManagerUI* pManager = item.GetManager()) pManager->SendNotify(&item, L"itemclick");
            listItem.Select(true);
            item.Invalidate();
        }
        return true;
    case EVT_MOUSEMOVE:
    case EVT_BUTTONUP: return true;
    case EVT_MOUSEENTER:
        if (item.IsEnabled()) SetHot(item, true);
        return true;
    case EVT_MOUSELEAVE:
        if (IsHot()) SetHot(item, false);
        return true;
    default: return false;
    }
}

void CListItemCore::DrawItemBk(CControlUI& item, HDC hDC, CUIString& sOwnBkImage)
{
    if (m_pOwner == nullptr) return;
    TListInfoUI* pInfo = m_pOwner->GetListInfo();
    if (pInfo == nullptr) return;
    const bool bOddRow = m_iIndex % 2 != 0;

    // Later states win: hot, then selected, then disabled.
    DWORD dwColor = (pInfo->bAlternateBk && bOddRow) ? 0 : pInfo->dwBkColor;
    if (IsHot()) dwColor = pInfo->dwHotBkColor;
    if (m_bSelected) dwColor = pInfo->dwSelectedBkColor;
    if (!item.IsEnabled()) dwColor = pInfo->dwDisabledBkColor;
    if (dwColor != 0) CRenderEngine::DrawColor(hDC, item.GetPos(), item.GetAdjustColor(dwColor));

    // An image that cannot be drawn is dropped from the shared record, so no
    // item of the list tries it again.
    const auto drawShared = [&](CUIString& sImage) {
        if (sImage.IsEmpty()) return false;
        if (item.DrawImage(hDC, sImage)) return true;
        sImage.Empty();
        return false;
    };
    if (!item.IsEnabled()) {
        if (drawShared(pInfo->sDisabledImage)) return;
    } else if (m_bSelected) {
        if (drawShared(pInfo->sSelectedImage)) return;
    } else if (IsHot()) {
        if (drawShared(pInfo->sHotImage)) return;
    }

    if (!sOwnBkImage.IsEmpty() && (!pInfo->bAlternateBk || !bOddRow)) {
        if (!item.DrawImage(hDC, sOwnBkImage)) sOwnBkImage.Empty();
    }
    if (sOwnBkImage.IsEmpty() && drawShared(pInfo->sBkImage)) return;

    if (pInfo->dwLineColor != 0) {
        const RECT& rc = item.GetPos();
        CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom - 1}, 1,
                                item.GetAdjustColor(pInfo->dwLineColor));
    }
}

DWORD CListItemCore::GetTextColor(const CControlUI& item) const
{
    const TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
    if (pInfo == nullptr) return 0;
    DWORD dwColor = pInfo->dwTextColor;
    if (IsHot()) dwColor = pInfo->dwHotTextColor;
    if (m_bSelected) dwColor = pInfo->dwSelectedTextColor;
    if (!item.IsEnabled()) dwColor = pInfo->dwDisabledTextColor;
    return dwColor;
}

void CListItemCore::DrawText(HDC hDC, CPaintManagerUI* pManager, const TListInfoUI& info, RECT& rc, LPCWSTR pstrText,
                             DWORD dwColor, UINT uStyle, RECT* prcLinks, CUIString* psLinks, int& nLinks)
{
    if (info.bShowHtml) {
        if (prcLinks == nullptr) nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, pManager, rc, pstrText, dwColor, prcLinks, psLinks, nLinks,
                                    uStyle | DT_SINGLELINE);
        return;
    }
    nLinks = 0;
    CRenderEngine::DrawTextW(hDC, pManager, rc, pstrText, dwColor, info.nFont, uStyle | DT_SINGLELINE);
}

} // namespace VarnelUI
