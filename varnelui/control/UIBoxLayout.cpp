#include "varnelui/control/UIBoxLayout.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>

namespace VarnelUI {

CBoxLayoutUI::CBoxLayoutUI(const TBoxRules& rules) : m_rules(rules), m_axis(rules.axis), m_separator(rules.axis)
{
}

CBoxLayoutUI::~CBoxLayoutUI()
{
    m_separator.Abandon(*this);
}

UINT CBoxLayoutUI::GetControlFlags() const
{
    return (IsEnabled() && m_separator.GetSize() != 0) ? CTRLFLAG_SETCURSOR : 0;
}

void CBoxLayoutUI::SetSepSize(int nSize)
{
    m_separator.SetSize(nSize);
}

int CBoxLayoutUI::GetSepSize() const
{
    return m_separator.GetSize();
}

void CBoxLayoutUI::SetSepImmMode(bool bImmediately)
{
    m_separator.SetImmMode(bImmediately, *this);
}

bool CBoxLayoutUI::IsSepImmMode() const
{
    return m_separator.IsImmMode();
}

RECT CBoxLayoutUI::GetThumbRect(bool bUseNew) const
{
    return m_separator.GetThumbRect(m_rcItem, bUseNew);
}

void CBoxLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using Entry = AttrParse::TAttributeEntry<CBoxLayoutUI>;
    static const Entry kAttributes[] = {
        {L"sepimm", AttrParse::AttrSyntax::Bool,
         [](CBoxLayoutUI& c, LPCWSTR v) { c.SetSepImmMode(AttrParse::ParseBool(v)); }},
    };
    if (!AttrParse::ApplyFromTable(kAttributes, *this, pstrName, pstrValue))
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CBoxLayoutUI::DoEvent(TEventUI& event)
{
    LONG& nFixedAlong = m_axis.IsVertical() ? m_cxyFixed.cy : m_cxyFixed.cx;
    if (m_separator.DoEvent(event, *this, m_rcItem, nFixedAlong)) return;
    CContainerUI::DoEvent(event);
}

void CBoxLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    m_separator.DoPostPaint(hDC, m_rcItem);
}

void CBoxLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(m_rules.barsReservedWhenEmpty ? GetContentRect() : GetInnerRect(), 0, 0);
        return;
    }
    const RECT rcArea = GetContentRect();

    // The whole content width scrolls horizontally, in both layouts.
    SIZE szAvailable = {rcArea.right - rcArea.left, rcArea.bottom - rcArea.top};
    if (IsHorizontalScrollBarShown()) szAvailable.cx += GetScrollRange().cx;

    // First pass: what the children with a size take, paddings included.
    int nAdjustables = 0;
    int nPlaced = 0;
    int nFixed = 0;
    LONG nWidest = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const SIZE szEstimate = pControl->EstimateSize(szAvailable);
        nWidest = std::max<LONG>(nWidest, ClampToLimits(std::max<LONG>(m_axis.Across(szEstimate), 0),
                                                        m_axis.MinAcross(*pControl), m_axis.MaxAcross(*pControl)));
        LONG nSize = m_axis.Along(szEstimate);
        if (nSize == 0) ++nAdjustables;
        else nSize = ClampToLimits(nSize, m_axis.MinAlong(*pControl), m_axis.MaxAlong(*pControl));
        const RECT rcPadding = pControl->GetPadding();
        nFixed += nSize + m_axis.Near(rcPadding) + m_axis.Far(rcPadding);
        ++nPlaced;
    }
    const int nGaps = std::max(nPlaced - 1, 0) * m_iChildPadding;
    nFixed += nGaps;

    const LONG nCrossExtent = GetCrossExtent(szAvailable, nWidest);
    const LONG nExpand = nAdjustables > 0 ? std::max<LONG>((m_axis.Along(szAvailable) - nFixed) / nAdjustables, 0) : 0;

    // Second pass: place them; the last child without a size takes what is left.
    const SIZE szScroll = GetScrollPos();
    const bool bAlongScrolls = m_axis.IsVertical() ? IsVerticalScrollBarShown() : IsHorizontalScrollBarShown();
    const bool bCrossScrolls = m_axis.IsVertical() ? IsHorizontalScrollBarShown() : IsVerticalScrollBarShown();
    LONG nPos = m_axis.Near(rcArea) - (bAlongScrolls ? m_axis.Along(szScroll) : 0);
    const LONG nCrossPos =
        m_axis.CrossNear(rcArea) - (m_rules.followsCrossScroll && bCrossScrolls ? m_axis.Across(szScroll) : 0);
    SIZE szRemaining = szAvailable;
    int iAdjustable = 0;
    int nFixedRemaining = nFixed;
    int nNeeded = 0;
    // The list is re-read on every step: a child's OnSize handler may change it.
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        const RECT rcPadding = pControl->GetPadding();
        const LONG nLead = m_axis.Near(rcPadding);
        const LONG nTrail = m_axis.Far(rcPadding);
        m_axis.Along(szRemaining) -= nLead;
        // Paddings and gaps count in the fixed total, so they leave the
        // remaining total as the children they belong to are placed;
        // otherwise the last stretching child ends short by them.
        nFixedRemaining -= nLead + nTrail;
        LONG nSize = m_axis.Along(pControl->EstimateSize(szRemaining));
        if (nSize == 0) {
            ++iAdjustable;
            nSize = nExpand;
            if (iAdjustable == nAdjustables)
                nSize = std::max<LONG>(m_axis.Along(szRemaining) - nTrail - nFixedRemaining, 0);
            nSize = ClampToLimits(nSize, m_axis.MinAlong(*pControl), m_axis.MaxAlong(*pControl));
        } else {
            nSize = ClampToLimits(nSize, m_axis.MinAlong(*pControl), m_axis.MaxAlong(*pControl));
            nFixedRemaining -= nSize;
        }

        const LONG nCrossLead = m_axis.CrossNear(rcPadding);
        const LONG nCross = GetChildCrossSize(
            *pControl, m_axis.Across(szAvailable) - nCrossLead - m_axis.CrossFar(rcPadding), nCrossExtent);

        // The rectangle runs on over the trailing padding; the leading padding lies outside it.
        pControl->SetPos(m_axis.MakeRect(nPos + nLead, nPos + nSize + nLead + nTrail, nCrossPos + nCrossLead,
                                         nCrossPos + nCrossLead + nCross));

        nPos += nSize + m_iChildPadding + nLead + nTrail;
        nNeeded += nSize + nLead + nTrail;
        m_axis.Along(szRemaining) -= nSize + m_iChildPadding + nTrail;
        nFixedRemaining -= m_iChildPadding;
    }
    nNeeded += nGaps;

    if (m_axis.IsVertical()) ProcessScrollBar(rcArea, nCrossExtent, nNeeded);
    else ProcessScrollBar(rcArea, nNeeded, nCrossExtent);
}

LONG CBoxLayoutUI::GetCrossExtent(SIZE, LONG)
{
    return 0;
}

LONG CBoxLayoutUI::GetChildCrossSize(const CControlUI& control, LONG nRoom, LONG) const
{
    LONG nCross = m_axis.FixedAcross(control);
    if (nCross == 0) nCross = nRoom;
    return ClampToLimits(std::max<LONG>(nCross, 0), m_axis.MinAcross(control), m_axis.MaxAcross(control));
}

} // namespace VarnelUI
