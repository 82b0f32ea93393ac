#include "varnelui/control/UIListBody.h"

#include "varnelui/control/UIList.h"
#include "varnelui/control/UIListHeader.h"
#include "varnelui/control/UIScrollBar.h"

#include <algorithm>

namespace VarnelUI {

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner)
{
}

void CListBodyUI::SetScrollPos(SIZE szPos)
{
    const LONG cxBefore = GetScrollPos().cx;
    CVerticalLayoutUI::SetScrollPos(szPos);
    const LONG dx = GetScrollPos().cx - cxBefore;
    if (dx != 0 && m_pOwner != nullptr) m_pOwner->ShiftColumns(dx);
}

void CListBodyUI::DoEvent(TEventUI& event)
{
    if (m_pOwner != nullptr) m_pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

LONG CListBodyUI::GetCrossExtent(SIZE szAvailable, LONG nWidestChild)
{
    // Rows line up with the header's columns, so a header with columns sets
    // the width of the content.
    CListHeaderUI* pHeader = m_pOwner != nullptr ? m_pOwner->GetHeader() : nullptr;
    if (pHeader == nullptr || pHeader->GetCount() == 0) return nWidestChild;
    return std::max<LONG>(pHeader->EstimateSize(szAvailable).cx, 0);
}

LONG CListBodyUI::GetChildCrossSize(const CControlUI& control, LONG nRoom, LONG nCrossExtent) const
{
    return ClampToLimits(std::max(nRoom, nCrossExtent), control.GetMinWidth(), control.GetMaxWidth());
}

void CListBodyUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired)
{
    if (m_pHorizontalScrollBar != nullptr) {
        const int cxAvailable = rc.right - rc.left;
        const int cyBar = m_pHorizontalScrollBar->GetFixedHeight();
        if (cxRequired > cxAvailable) {
            if (!m_pHorizontalScrollBar->IsVisible()) {
                m_pHorizontalScrollBar->SetVisible(true);
                m_pHorizontalScrollBar->SetScrollRange(cxRequired - cxAvailable);
                m_pHorizontalScrollBar->SetScrollPos(0);
                rc.bottom -= cyBar;
            } else {
                m_pHorizontalScrollBar->SetScrollRange(cxRequired - cxAvailable);
            }
        } else if (m_pHorizontalScrollBar->IsVisible()) {
            m_pHorizontalScrollBar->SetVisible(false);
            m_pHorizontalScrollBar->SetScrollRange(0);
            m_pHorizontalScrollBar->SetScrollPos(0);
            rc.bottom += cyBar;
        }
    }
    CVerticalLayoutUI::ProcessScrollBar(rc, cxRequired, cyRequired);
}

} // namespace VarnelUI
