#include "varnelui/control/UIVerticalLayout.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <cwchar>

namespace VarnelUI {

CVerticalLayoutUI::CVerticalLayoutUI() : m_separator(true)
{
}

CVerticalLayoutUI::~CVerticalLayoutUI()
{
    m_separator.Abandon(*this);
}

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"VerticalLayout") == 0) {
        return static_cast<CVerticalLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    return (IsEnabled() && m_separator.GetSize() != 0) ? CTRLFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_separator.SetSize(iHeight);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_separator.GetSize();
}

void CVerticalLayoutUI::SetSepImmMode(bool bImmediately)
{
    m_separator.SetImmMode(bImmediately, *this);
}

bool CVerticalLayoutUI::IsSepImmMode() const
{
    return m_separator.IsImmMode();
}

RECT CVerticalLayoutUI::GetThumbRect(bool bUseNew) const
{
    return m_separator.GetThumbRect(m_rcItem, bUseNew);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using Entry = AttrParse::TAttributeEntry<CVerticalLayoutUI>;
    static const Entry kAttributes[] = {
        {L"sepheight",
         [](CVerticalLayoutUI& c, LPCWSTR v) { c.SetSepHeight(static_cast<int>(AttrParse::ParseInt(v))); }},
        {L"sepimm", [](CVerticalLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(AttrParse::ParseBool(v)); }},
    };
    if (!AttrParse::ApplyFromTable(kAttributes, *this, pstrName, pstrValue)) {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CVerticalLayoutUI::DoEvent(TEventUI& event)
{
    if (m_separator.DoEvent(event, *this, m_rcItem, m_cxyFixed.cy)) return;
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    m_separator.DoPostPaint(hDC, m_rcItem);
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    RECT rcArea = GetInnerRect();
    if (IsVerticalScrollBarShown()) rcArea.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsHorizontalScrollBarShown()) rcArea.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

    if (m_items.GetSize() == 0) {
        ProcessScrollBar(rcArea, 0, 0);
        return;
    }

    SIZE szAvailable = {rcArea.right - rcArea.left, rcArea.bottom - rcArea.top};
    if (IsHorizontalScrollBarShown()) szAvailable.cx += GetScrollRange().cx;

    // First pass: what the children with a height take, paddings included.
    int nAdjustables = 0;
    int nPlaced = 0;
    int cyFixed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0) {
            ++nAdjustables;
        } else {
            sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        }
        const RECT rcPadding = pControl->GetPadding();
        cyFixed += sz.cy + rcPadding.top + rcPadding.bottom;
        ++nPlaced;
    }
    const int cyGaps = std::max(nPlaced - 1, 0) * m_iChildPadding;
    cyFixed += cyGaps;

    const int cyExpand = nAdjustables > 0 ? std::max<LONG>((szAvailable.cy - cyFixed) / nAdjustables, 0) : 0;

    // Second pass: place them; the last child without a height takes what is left.
    int iPosY = rcArea.top;
    if (IsVerticalScrollBarShown()) iPosY -= GetScrollPos().cy;
    int iPosX = rcArea.left;
    if (IsHorizontalScrollBarShown()) iPosX -= GetScrollPos().cx;
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    // The list is re-read on every step: a child's OnSize handler may change it.
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        const RECT rcPadding = pControl->GetPadding();
        szRemaining.cy -= rcPadding.top;
        // Paddings and gaps count in the fixed total, so they leave the
        // remaining total as the children they belong to are placed;
        // otherwise the last stretching child ends short by them.
        cyFixedRemaining -= rcPadding.top + rcPadding.bottom;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cy == 0) {
            ++iAdjustable;
            sz.cy = cyExpand;
            if (iAdjustable == nAdjustables) {
                sz.cy = std::max(szRemaining.cy - rcPadding.bottom - cyFixedRemaining, 0L);
            }
            sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        } else {
            sz.cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
            cyFixedRemaining -= sz.cy;
        }

        sz.cx = pControl->GetFixedWidth();
        if (sz.cx == 0) sz.cx = szAvailable.cx - rcPadding.left - rcPadding.right;
        sz.cx = ClampToLimits(std::max(sz.cx, 0L), pControl->GetMinWidth(), pControl->GetMaxWidth());

        // The rectangle runs on over the bottom padding; the top padding lies outside it.
        pControl->SetPos(RECT{iPosX + rcPadding.left, iPosY + rcPadding.top, iPosX + rcPadding.left + sz.cx,
                              iPosY + sz.cy + rcPadding.top + rcPadding.bottom});

        iPosY += sz.cy + m_iChildPadding + rcPadding.top + rcPadding.bottom;
        cyNeeded += sz.cy + rcPadding.top + rcPadding.bottom;
        szRemaining.cy -= sz.cy + m_iChildPadding + rcPadding.bottom;
        cyFixedRemaining -= m_iChildPadding;
    }
    cyNeeded += cyGaps;

    ProcessScrollBar(rcArea, 0, cyNeeded);
}

} // namespace VarnelUI
