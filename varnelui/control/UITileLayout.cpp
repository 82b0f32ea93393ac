#include "varnelui/control/UITileLayout.h"

#include "varnelui/core/UIAttrParse.h"

#include <algorithm>

namespace VarnelUI {

namespace {

const CControlRegistration<CTileLayoutUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CTileLayoutUI> kTileAttributes[] = {
    {L"itemsize", AttrSyntax::Size, [](CTileLayoutUI& c, LPCWSTR v) { c.SetItemSize(AttrParse::ParseSize(v)); }},
    {L"columns", AttrSyntax::Int,
     [](CTileLayoutUI& c, LPCWSTR v) { c.SetColumns(AttrParse::ToInt(AttrParse::ParseInt(v))); }},
};

// Height offered to a child measuring itself for a row: more than any needs.
constexpr LONG kMeasureHeight = 9999;

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_nColumns(1), m_szItem{0, 0}
{
}

LPCWSTR CTileLayoutUI::GetClass() const
{
    return kNames.className;
}

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CTileLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

int CTileLayoutUI::GetColumns() const
{
    return m_nColumns;
}

void CTileLayoutUI::SetColumns(int nCols)
{
    if (nCols <= 0) return;
    m_nColumns = nCols;
    NeedUpdate();
}

SIZE CTileLayoutUI::GetItemSize() const
{
    return m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE szItem)
{
    if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) return;
    m_szItem = szItem;
    NeedUpdate();
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kTileAttributes, *this, pstrName, pstrValue)) return;
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

int CTileLayoutUI::MeasureRow(int iFirst, int cxCell) const
{
    int cyRow = 0;
    int iColumn = 0;
    for (int i = iFirst; i < m_items.GetSize() && iColumn < m_nColumns; ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const RECT rcPadding = pControl->GetPadding();
        // Inner cells give up the whole gap, the outer ones half of it.
        const bool bOuter = iColumn == 0 || iColumn == m_nColumns - 1;
        const int cxAvailable =
            ClampToLimits(cxCell - rcPadding.left - rcPadding.right - (bOuter ? m_iChildPadding / 2 : m_iChildPadding),
                          pControl->GetMinWidth(), pControl->GetMaxWidth());
        const SIZE sz = pControl->EstimateSize(SIZE{cxAvailable, kMeasureHeight});
        const int cy = ClampToLimits(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
        cyRow = std::max<int>(cyRow, cy + rcPadding.top + rcPadding.bottom);
        ++iColumn;
    }
    return cyRow;
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.GetSize() == 0) {
        ProcessScrollBar(GetInnerRect(), 0, 0);
        return;
    }
    const RECT rcArea = GetContentRect();
    const int cxArea = rcArea.right - rcArea.left;
    if (m_szItem.cx > 0) m_nColumns = cxArea / m_szItem.cx;
    // Insets wider than the layout would even give a negative count.
    if (m_nColumns < 1) m_nColumns = 1;
    // With a horizontal bar the columns share the whole scrollable width.
    const int cxCell = (cxArea + (IsHorizontalScrollBarShown() ? GetScrollRange().cx : 0)) / m_nColumns;

    const SIZE szScroll = GetScrollPos();
    const LONG xRowStart = rcArea.left - szScroll.cx;
    LONG x = xRowStart;
    LONG y = rcArea.top - szScroll.cy;
    int cyRow = 0;
    int nTiles = 0;
    int cyNeeded = 0;
    const int cxHalfGap = m_iChildPadding / 2;
    PlaceChildren([&](int i, CControlUI& child) {
        const int iColumn = nTiles % m_nColumns;
        if (iColumn == 0) cyRow = MeasureRow(i, cxCell);
        const RECT rcPadding = child.GetPadding();
        RECT rcCell = {x + rcPadding.left + cxHalfGap, y + rcPadding.top, x + cxCell - cxHalfGap - rcPadding.right,
                       y + cyRow};
        if (iColumn == 0) rcCell.left = x + rcPadding.left;
        if (iColumn == m_nColumns - 1) rcCell.right = x + cxCell - rcPadding.right;

        const SIZE sz = FitToArea(child, SIZE{rcCell.right - rcCell.left, rcCell.bottom - rcCell.top});
        const LONG left = (rcCell.left + rcCell.right - sz.cx) / 2;
        const LONG top = (rcCell.top + rcCell.bottom - sz.cy) / 2;
        child.SetPos(RECT{left, top, left + sz.cx, top + sz.cy});

        ++nTiles;
        if (nTiles % m_nColumns != 0) {
            x += cxCell;
        } else {
            x = xRowStart;
            y += cyRow + m_iChildPadding;
            cyRow = 0;
        }
        cyNeeded = rcCell.bottom - rcArea.top + szScroll.cy;
    });
    ProcessScrollBar(rcArea, 0, cyNeeded);
}

} // namespace VarnelUI
