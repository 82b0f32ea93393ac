#include "varnelui/control/UIListHeader.h"

#include "varnelui/core/UIManager.h"

#include <algorithm>

namespace VarnelUI {

namespace {

const CControlRegistration<CListHeaderUI> kRegistration;

// Room around the default font's line in a header without a fixed height.
constexpr LONG kHeaderTextMargin = 6;

} // namespace

LPCWSTR CListHeaderUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListHeaderUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListHeaderUI*>(this);
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

SIZE CListHeaderUI::EstimateSize(SIZE szAvailable)
{
    SIZE cXY = {0, m_cxyFixed.cy};
    if (cXY.cy == 0 && m_pManager != nullptr) {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            cXY.cy = std::max(cXY.cy, GetItemAt(i)->EstimateSize(szAvailable).cy);
        }
        cXY.cy = std::max(cXY.cy, m_pManager->GetDefaultFontInfo()->tm.tmHeight + kHeaderTextMargin);
    }
    for (int i = 0; i < m_items.GetSize(); ++i) {
        cXY.cx += GetItemAt(i)->EstimateSize(szAvailable).cx;
    }
    return cXY;
}

} // namespace VarnelUI
