#include "varnelui/control/UIListLabelElement.h"

#include "varnelui/core/UIManager.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CListLabelElementUI> kRegistration;

// Room above and below the text of a row without a fixed height.
constexpr LONG kRowTextMargin = 8;
// Width of the measuring rectangle: more than any one line needs.
constexpr LONG kMeasureWidth = 9999;

} // namespace

LPCWSTR CListLabelElementUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListLabelElementUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListLabelElementUI*>(this);
    return CListElementUI::GetInterface(pstrName);
}

void CListLabelElementUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToOwner(event)) return;
    if (m_item.HandleMouse(*this, *this, event)) return;
    CListElementUI::DoEvent(event);
}

LONG CListLabelElementUI::RowHeight(CPaintManagerUI* pManager, const TListInfoUI* pInfo)
{
    const int iFont = pInfo != nullptr ? pInfo->nFont : -1;
    const TFontInfo* pFont = pManager != nullptr ? pManager->GetFontInfo(iFont) : nullptr;
    const LONG cyFont = pFont != nullptr ? pFont->tm.tmHeight : 0;
    const LONG cyPadding = pInfo != nullptr ? pInfo->rcTextPadding.top + pInfo->rcTextPadding.bottom : 0;
    return cyFont + kRowTextMargin + cyPadding;
}

SIZE CListLabelElementUI::EstimateSize(SIZE)
{
    IListOwnerUI* pOwner = m_item.GetOwner();
    const TListInfoUI* pInfo = pOwner != nullptr ? pOwner->GetListInfo() : nullptr;
    if (pInfo == nullptr) return SIZE{0, 0};
    SIZE cXY = m_cxyFixed;
    if (cXY.cy == 0) cXY.cy = RowHeight(m_pManager, pInfo);
    if (cXY.cx != 0 || m_pManager == nullptr) return cXY;

    // An empty text needs no room; the renderers would leave the measuring
    // rectangle as it is and report its whole width.
    LONG cxText = 0;
    if (!m_sText.IsEmpty()) {
        RECT rcText = {0, 0, kMeasureWidth, cXY.cy};
        int nLinks = 0;
        const UINT uStyle = (pInfo->uTextStyle & ~static_cast<UINT>(DT_CENTER | DT_RIGHT)) | DT_CALCRECT;
        CListItemCore::DrawText(m_pManager->GetPaintDC(), m_pManager, *pInfo, rcText, m_sText, 0, uStyle, nullptr,
                                nullptr, nLinks);
        cxText = rcText.right - rcText.left;
    }
    cXY.cx = cxText + pInfo->rcTextPadding.left + pInfo->rcTextPadding.right;
    return cXY;
}

void CListLabelElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(hDC);
    DrawItemText(hDC, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    IListOwnerUI* pOwner = m_item.GetOwner();
    if (m_sText.IsEmpty() || pOwner == nullptr) return;
    const TListInfoUI* pInfo = pOwner->GetListInfo();
    if (pInfo == nullptr) return;
    const RECT& rcPad = pInfo->rcTextPadding;
    RECT rcText = {rcItem.left + rcPad.left, rcItem.top + rcPad.top, rcItem.right - rcPad.right,
                   rcItem.bottom - rcPad.bottom};
    int nLinks = 0;
    CListItemCore::DrawText(hDC, m_pManager, *pInfo, rcText, m_sText, m_item.GetTextColor(*this), pInfo->uTextStyle,
                            nullptr, nullptr, nLinks);
}

} // namespace VarnelUI
