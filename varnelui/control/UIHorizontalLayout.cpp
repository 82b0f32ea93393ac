#include "varnelui/control/UIHorizontalLayout.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <cwchar>

namespace VarnelUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_separator(false)
{
}

CHorizontalLayoutUI::~CHorizontalLayoutUI()
{
    m_separator.Abandon(*this);
}

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"HorizontalLayout") == 0) {
        return static_cast<CHorizontalLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    return (IsEnabled() && m_separator.GetSize() != 0) ? CTRLFLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_separator.SetSize(iWidth);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_separator.GetSize();
}

void CHorizontalLayoutUI::SetSepImmMode(bool bImmediately)
{
    m_separator.SetImmMode(bImmediately, *this);
}

bool CHorizontalLayoutUI::IsSepImmMode() const
{
    return m_separator.IsImmMode();
}

RECT CHorizontalLayoutUI::GetThumbRect(bool bUseNew) const
{
    return m_separator.GetThumbRect(m_rcItem, bUseNew);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using Entry = AttrParse::TAttributeEntry<CHorizontalLayoutUI>;
    static const Entry kAttributes[] = {
        {L"sepwidth",
         [](CHorizontalLayoutUI& c, LPCWSTR v) { c.SetSepWidth(static_cast<int>(AttrParse::ParseInt(v))); }},
        {L"sepimm", [](CHorizontalLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(AttrParse::ParseBool(v)); }},
    };
    if (!AttrParse::ApplyFromTable(kAttributes, *this, pstrName, pstrValue)) {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event)
{
    if (m_separator.DoEvent(event, *this, m_rcItem, m_cxyFixed.cx)) return;
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    m_separator.DoPostPaint(hDC, m_rcItem);
}

void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    RECT rcArea = GetInnerRect();
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(rcArea, 0, 0);
        return;
    }
    if (IsVerticalScrollBarShown()) rcArea.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsHorizontalScrollBarShown()) rcArea.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

    SIZE szAvailable = {rcArea.right - rcArea.left, rcArea.bottom - rcArea.top};
    if (IsHorizontalScrollBarShown()) szAvailable.cx += GetScrollRange().cx;

    // First pass: what the children with a width take, paddings included.
    int nAdjustables = 0;
    int nPlaced = 0;
    int cxFixed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) {
            ++nAdjustables;
        } else {
            sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        }
        const RECT rcPadding = pControl->GetPadding();
        cxFixed += sz.cx + rcPadding.left + rcPadding.right;
        ++nPlaced;
    }
    const int cxGaps = std::max(nPlaced - 1, 0) * m_iChildPadding;
    cxFixed += cxGaps;

    const int cxExpand = nAdjustables > 0 ? std::max<LONG>((szAvailable.cx - cxFixed) / nAdjustables, 0) : 0;

    // Second pass: place them; the last child without a width takes what is left.
    int iPosX = rcArea.left;
    if (IsHorizontalScrollBarShown()) iPosX -= GetScrollPos().cx;
    const int cyArea = rcArea.bottom - rcArea.top;
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int cxFixedRemaining = cxFixed;
    int cxNeeded = 0;
    // The list is re-read on every step: a child's OnSize handler may change it.
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        const RECT rcPadding = pControl->GetPadding();
        szRemaining.cx -= rcPadding.left;
        // Paddings and gaps count in the fixed total, so they leave the
        // remaining total as the children they belong to are placed;
        // otherwise the last stretching child ends short by them.
        cxFixedRemaining -= rcPadding.left + rcPadding.right;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cx == 0) {
            ++iAdjustable;
            sz.cx = cxExpand;
            if (iAdjustable == nAdjustables) {
                sz.cx = std::max(szRemaining.cx - rcPadding.right - cxFixedRemaining, 0L);
            }
            sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        } else {
            sz.cx = ClampToLimits(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
            cxFixedRemaining -= sz.cx;
        }

        sz.cy = pControl->GetFixedHeight();
        if (sz.cy == 0) sz.cy = cyArea - rcPadding.top - rcPadding.bottom;
        sz.cy = ClampToLimits(std::max(sz.cy, 0L), pControl->GetMinHeight(), pControl->GetMaxHeight());

        // The rectangle runs on over the right padding; the left padding lies outside it.
        pControl->SetPos(RECT{iPosX + rcPadding.left, rcArea.top + rcPadding.top,
                              iPosX + sz.cx + rcPadding.left + rcPadding.right, rcArea.top + rcPadding.top + sz.cy});

        iPosX += sz.cx + m_iChildPadding + rcPadding.left + rcPadding.right;
        cxNeeded += sz.cx + rcPadding.left + rcPadding.right;
        szRemaining.cx -= sz.cx + m_iChildPadding + rcPadding.right;
        cxFixedRemaining -= m_iChildPadding;
    }
    cxNeeded += cxGaps;

    ProcessScrollBar(rcArea, cxNeeded, 0);
}

} // namespace VarnelUI
