#include "varnelui/control/UIList.h"

#include "varnelui/control/UIListBody.h"
#include "varnelui/control/UIListHeader.h"
#include "varnelui/control/UIScrollBar.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CListUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CListUI> kListAttributes[] = {
    {L"header", AttrSyntax::Text,
     [](CListUI& c, LPCWSTR v) {
         if (CListHeaderUI* pHeader = c.GetHeader()) pHeader->SetVisible(std::wcscmp(v, L"hidden") != 0);
     }},
    {L"headerbkimage", AttrSyntax::Image,
     [](CListUI& c, LPCWSTR v) {
         if (CListHeaderUI* pHeader = c.GetHeader()) pHeader->SetBkImage(v);
     }},
    {L"scrollselect", AttrSyntax::Bool, [](CListUI& c, LPCWSTR v) { c.SetScrollSelect(ParseBool(v)); }},
    {L"multiexpanding", AttrSyntax::Bool, [](CListUI& c, LPCWSTR v) { c.SetMultiExpanding(ParseBool(v)); }},
};

IListItemUI* AsListItem(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

bool IsHeader(CControlUI* pControl)
{
    return pControl->GetInterface(L"ListHeader") != nullptr;
}

bool IsHeaderItem(const CControlUI* pControl)
{
    return std::wcsstr(pControl->GetClass(), L"ListHeaderItemUI") != nullptr;
}

} // namespace

CListUI::CListUI()
    : m_bScrollSelect(false),
      m_iCurSel(-1),
      m_iExpandedItem(-1),
      m_pCallback(nullptr),
      m_pList(new CListBodyUI(this)),
      m_pHeader(new CListHeaderUI)
{
    CVerticalLayoutUI::AddAt(m_pHeader, 0);
    CVerticalLayoutUI::AddAt(m_pList, 1);
}

LPCWSTR CListUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"IList") == 0) return static_cast<IListUI*>(this);
    if (pstrName != nullptr && std::wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListUI*>(this);
    return CVerticalLayoutUI::GetInterface(pstrName);
}

void CListUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kListAttributes, *this, pstrName, pstrValue)) return;
    if (ApplyListItemAttribute(*this, pstrName, pstrValue)) return;
    CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
}

// ---- items ------------------------------------------------------------------------

CControlUI* CListUI::GetItemAt(int iIndex) const
{
    return m_pList->GetItemAt(iIndex);
}

int CListUI::GetItemIndex(CControlUI* pControl) const
{
    return m_pList->GetItemIndex(pControl);
}

int CListUI::GetCount() const
{
    return m_pList->GetCount();
}

int CListUI::FindSelectable(int iIndex, bool bForward) const
{
    return m_pList->FindSelectable(iIndex, bForward);
}

void CListUI::UpdateColumnCount()
{
    m_ListInfo.nColumns = m_pHeader != nullptr ? std::min(m_pHeader->GetCount(), TListInfoUI::kMaxColumns) : 0;
}

void CListUI::RenumberItems(int iFrom, int iTo)
{
    for (int i = std::max(iFrom, 0); i <= iTo; ++i) {
        if (IListItemUI* pItem = AsListItem(GetItemAt(i))) pItem->SetIndex(i);
    }
}

bool CListUI::AddHeader(CControlUI* pControl)
{
    // A header already in the list would be owned twice.
    if (CVerticalLayoutUI::GetItemIndex(pControl) >= 0) return false;
    // The built-in header gives way to one from the skin while it has no columns.
    if (pControl != m_pHeader && (m_pHeader == nullptr || m_pHeader->GetCount() == 0)) {
        if (m_pHeader != nullptr) CVerticalLayoutUI::Remove(m_pHeader);
        m_pHeader = static_cast<CListHeaderUI*>(pControl->GetInterface(L"ListHeader"));
    }
    UpdateColumnCount();
    return CVerticalLayoutUI::AddAt(pControl, 0);
}

bool CListUI::AddHeaderItem(CControlUI* pControl, int iIndex)
{
    if (m_pHeader == nullptr) return false;
    const bool bAdded = m_pHeader->AddAt(pControl, iIndex);
    UpdateColumnCount();
    return bAdded;
}

bool CListUI::Add(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) return AddHeader(pControl);
    if (IsHeaderItem(pControl)) return AddHeaderItem(pControl, m_pHeader != nullptr ? m_pHeader->GetCount() : 0);
    if (IListItemUI* pItem = AsListItem(pControl)) {
        pItem->SetOwner(this);
        pItem->SetIndex(GetCount());
    }
    return m_pList->Add(pControl);
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) return AddHeader(pControl);
    if (IsHeaderItem(pControl)) return AddHeaderItem(pControl, iIndex);
    if (!m_pList->AddAt(pControl, iIndex)) return false;
    if (IListItemUI* pItem = AsListItem(pControl)) {
        pItem->SetOwner(this);
        pItem->SetIndex(iIndex);
    }
    RenumberItems(iIndex + 1, GetCount() - 1);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    return true;
}

bool CListUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) {
        const bool bCurrent = pControl == m_pHeader;
        if (!CVerticalLayoutUI::Remove(pControl)) return false;
        // The list goes on without columns rather than keep a header it no longer owns.
        if (bCurrent) {
            m_pHeader = nullptr;
            UpdateColumnCount();
        }
        return true;
    }
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->Remove(pControl);
    const int iIndex = m_pList->GetItemIndex(pControl);
    return iIndex >= 0 && RemoveAt(iIndex);
}

bool CListUI::RemoveAt(int iIndex)
{
    if (!m_pList->RemoveAt(iIndex)) return false;
    RenumberItems(iIndex, GetCount() - 1);
    if (AdjustSelectionForRemoval(m_iCurSel, iIndex)) SelectItem(FindSelectable(iIndex, false));
    return true;
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    m_pList->RemoveAll();
}

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (IsHeader(pControl)) return CVerticalLayoutUI::SetItemIndex(pControl, iIndex);
    if (IsHeaderItem(pControl)) return m_pHeader != nullptr && m_pHeader->SetItemIndex(pControl, iIndex);

    const int iOld = m_pList->GetItemIndex(pControl);
    if (iOld < 0) return false;
    if (iOld == iIndex) return true;
    CControlUI* pSelected = GetItemAt(m_iCurSel);
    if (!m_pList->SetItemIndex(pControl, iIndex)) return false;
    RenumberItems(std::min(iOld, iIndex), std::max(iOld, iIndex));
    if (pSelected != nullptr) m_iCurSel = m_pList->GetItemIndex(pSelected);
    return true;
}

// ---- selection and expansion ------------------------------------------------------

TListInfoUI* CListUI::GetListInfo()
{
    return &m_ListInfo;
}

int CListUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus)
{
    if (iIndex == m_iCurSel) return true;
    const int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        if (IListItemUI* pOld = AsListItem(GetItemAt(m_iCurSel))) pOld->Select(false);
        m_iCurSel = -1;
    }
    if (iIndex < 0) return false;

    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = AsListItem(pControl);
    if (pItem == nullptr || !pControl->IsVisible() || !pControl->IsEnabled()) return false;
    m_iCurSel = iIndex;
    if (!pItem->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    EnsureVisible(m_iCurSel);
    if (bTakeFocus) pControl->SetFocus();
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

void CListUI::EnsureVisible(int iIndex)
{
    if (m_iCurSel < 0) return;
    const CControlUI* pItem = GetItemAt(iIndex);
    if (pItem == nullptr) return;
    const RECT& rcItem = pItem->GetPos();
    RECT rcBody = m_pList->GetPos();
    const RECT rcInset = m_pList->GetInset();
    rcBody.left += rcInset.left;
    rcBody.top += rcInset.top;
    rcBody.right -= rcInset.right;
    rcBody.bottom -= rcInset.bottom;
    const CScrollBarUI* pBar = m_pList->GetHorizontalScrollBar();
    if (pBar != nullptr && pBar->IsVisible()) rcBody.bottom -= pBar->GetFixedHeight();

    if (rcItem.top >= rcBody.top && rcItem.bottom < rcBody.bottom) return;
    int dy = 0;
    if (rcItem.top < rcBody.top) dy = rcItem.top - rcBody.top;
    if (rcItem.bottom > rcBody.bottom) dy = rcItem.bottom - rcBody.bottom;
    Scroll(0, dy);
}

void CListUI::Scroll(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    const SIZE sz = m_pList->GetScrollPos();
    m_pList->SetScrollPos(SIZE{sz.cx + dx, sz.cy + dy});
}

bool CListUI::ExpandItem(int iIndex, bool bExpand)
{
    if (m_iExpandedItem >= 0 && !m_ListInfo.bMultiExpandable) {
        if (IListItemUI* pOld = AsListItem(GetItemAt(m_iExpandedItem))) pOld->Expand(false);
        m_iExpandedItem = -1;
    }
    if (bExpand) {
        CControlUI* pControl = GetItemAt(iIndex);
        IListItemUI* pItem = AsListItem(pControl);
        if (pItem == nullptr || !pControl->IsVisible()) return false;
        m_iExpandedItem = iIndex;
        if (!pItem->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    NeedUpdate();
    return true;
}

int CListUI::GetExpandedItem() const
{
    return m_iExpandedItem;
}

bool CListUI::GetScrollSelect() const
{
    return m_bScrollSelect;
}

void CListUI::SetScrollSelect(bool bScrollSelect)
{
    m_bScrollSelect = bScrollSelect;
}

void CListUI::SetMultiExpanding(bool bMultiExpandable)
{
    m_ListInfo.bMultiExpandable = bMultiExpandable;
}

CListHeaderUI* CListUI::GetHeader() const
{
    return m_pHeader;
}

CListBodyUI* CListUI::GetList() const
{
    return m_pList;
}

IListCallbackUI* CListUI::GetTextCallback() const
{
    return m_pCallback;
}

void CListUI::SetTextCallback(IListCallbackUI* pCallback)
{
    m_pCallback = pCallback;
}

// ---- events and layout ------------------------------------------------------------

void CListUI::MoveSelection(int iIndex)
{
    // Past the last (or before the first) selectable item there is nothing to
    // move to: the selection stays instead of being cleared.
    if (iIndex >= 0) SelectItem(iIndex, true);
}

bool CListUI::HandleKey(wchar_t chKey)
{
    switch (chKey) {
    case VK_RETURN:
        if (CControlUI* pSelected = GetItemAt(m_iCurSel)) pSelected->Activate();
        return true;
    case VK_PRIOR: PageUp(); return true;
    case VK_NEXT: PageDown(); return true;
    // The last selectable item is searched for backward from the end, so a
    // disabled last row does not make End clear the selection.
    case VK_END: MoveSelection(FindSelectable(GetCount() - 1, false)); return true;
    case VK_HOME: MoveSelection(FindSelectable(0, false)); return true;
    case VK_UP: MoveSelection(FindSelectable(m_iCurSel - 1, false)); return true;
    case VK_DOWN: MoveSelection(FindSelectable(m_iCurSel + 1, true)); return true;
    default: return false;
    }
}

bool CListUI::HandleWheel(WORD wCode)
{
    switch (wCode) {
    case SB_LINEUP:
        if (m_bScrollSelect) MoveSelection(FindSelectable(m_iCurSel - 1, false));
        else LineUp();
        return true;
    case SB_LINEDOWN:
        if (m_bScrollSelect) MoveSelection(FindSelectable(m_iCurSel + 1, true));
        else LineDown();
        return true;
    default: return false;
    }
}

void CListUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        if (m_pParent != nullptr) m_pParent->DoEvent(event);
        else CVerticalLayoutUI::DoEvent(event);
        return;
    }
    switch (event.kind) {
    case EVT_SETFOCUS: m_bFocused = true; return;
    case EVT_KILLFOCUS: m_bFocused = false; return;
    case EVT_KEYDOWN:
        if (HandleKey(event.keyChar)) return;
        break;
    case EVT_SCROLLWHEEL:
        if (HandleWheel(LOWORD(event.wParam))) return;
        break;
    default: break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetPos(RECT rc)
{
    CVerticalLayoutUI::SetPos(rc);
    if (m_pHeader == nullptr) return;
    const RECT rcHidden = {rc.left, 0, rc.right, 0};
    ShiftColumns(std::max<LONG>(m_pList->GetScrollPos().cx, 0), &rcHidden);
}

void CListUI::ShiftColumns(LONG dx, const RECT* prcHiddenHeader)
{
    if (m_pHeader == nullptr) return;
    UpdateColumnCount();
    // A hidden header is laid out all the same, so its columns are measured
    // even though nothing shows.
    const bool bHidden = !m_pHeader->IsVisible();
    const auto showColumns = [this](bool bShow) {
        for (int i = 0; i < m_pHeader->GetCount(); ++i) m_pHeader->GetItemAt(i)->SetInternVisible(bShow);
    };
    if (bHidden) {
        showColumns(true);
        if (prcHiddenHeader != nullptr) m_pHeader->SetPos(*prcHiddenHeader);
    }
    for (int i = 0; i < m_ListInfo.nColumns; ++i) {
        CControlUI* pColumn = m_pHeader->GetItemAt(i);
        if (!pColumn->IsVisible() || pColumn->IsFloat()) continue;
        if (dx != 0) {
            RECT rcColumn = pColumn->GetPos();
            ::OffsetRect(&rcColumn, -dx, 0);
            pColumn->SetPos(rcColumn);
        }
        m_ListInfo.rcColumn[i] = pColumn->GetPos();
    }
    if (bHidden) showColumns(false);
}

// ---- scrolling, done by the body ----------------------------------------------------

int CListUI::GetChildPadding() const
{
    return m_pList->GetChildPadding();
}

void CListUI::SetChildPadding(int iPadding)
{
    m_pList->SetChildPadding(iPadding);
}

SIZE CListUI::GetScrollPos() const
{
    return m_pList->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const
{
    return m_pList->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE szPos)
{
    m_pList->SetScrollPos(szPos);
}

void CListUI::LineUp()
{
    m_pList->LineUp();
}

void CListUI::LineDown()
{
    m_pList->LineDown();
}

void CListUI::PageUp()
{
    m_pList->PageUp();
}

void CListUI::PageDown()
{
    m_pList->PageDown();
}

void CListUI::HomeUp()
{
    m_pList->HomeUp();
}

void CListUI::EndDown()
{
    m_pList->EndDown();
}

void CListUI::LineLeft()
{
    m_pList->LineLeft();
}

void CListUI::LineRight()
{
    m_pList->LineRight();
}

void CListUI::PageLeft()
{
    m_pList->PageLeft();
}

void CListUI::PageRight()
{
    m_pList->PageRight();
}

void CListUI::HomeLeft()
{
    m_pList->HomeLeft();
}

void CListUI::EndRight()
{
    m_pList->EndRight();
}

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    m_pList->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const
{
    return m_pList->GetVerticalScrollBar();
}

CScrollBarUI* CListUI::GetHorizontalScrollBar() const
{
    return m_pList->GetHorizontalScrollBar();
}

// ---- appearance ---------------------------------------------------------------------

void CListUI::SetItemFont(int iFont)
{
    m_ListInfo.nFont = iFont;
    NeedUpdate();
}

void CListUI::SetItemTextStyle(UINT uStyle)
{
    m_ListInfo.uTextStyle = uStyle;
    NeedUpdate();
}

UINT CListUI::GetItemTextStyle() const
{
    return m_ListInfo.uTextStyle;
}

void CListUI::SetItemTextPadding(RECT rc)
{
    m_ListInfo.rcTextPadding = rc;
    NeedUpdate();
}

RECT CListUI::GetItemTextPadding() const
{
    return m_ListInfo.rcTextPadding;
}

void CListUI::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bShowHtml == bShowHtml) return;
    m_ListInfo.bShowHtml = bShowHtml;
    NeedUpdate();
}

bool CListUI::IsItemShowHtml() const
{
    return m_ListInfo.bShowHtml;
}

void CListUI::SetAppearance(DWORD& dwField, DWORD dwValue)
{
    dwField = dwValue;
    Invalidate();
}

void CListUI::SetAppearance(CUIString& sField, LPCWSTR pStrValue)
{
    sField = pStrValue;
    Invalidate();
}

void CListUI::SetItemTextColor(DWORD dwTextColor)
{
    SetAppearance(m_ListInfo.dwTextColor, dwTextColor);
}

DWORD CListUI::GetItemTextColor() const
{
    return m_ListInfo.dwTextColor;
}

void CListUI::SetItemBkColor(DWORD dwBkColor)
{
    SetAppearance(m_ListInfo.dwBkColor, dwBkColor);
}

DWORD CListUI::GetItemBkColor() const
{
    return m_ListInfo.dwBkColor;
}

void CListUI::SetItemBkImage(LPCWSTR pStrImage)
{
    SetAppearance(m_ListInfo.sBkImage, pStrImage);
}

LPCWSTR CListUI::GetItemBkImage() const
{
    return m_ListInfo.sBkImage;
}

void CListUI::SetAlternateBk(bool bAlternateBk)
{
    m_ListInfo.bAlternateBk = bAlternateBk;
    Invalidate();
}

bool CListUI::IsAlternateBk() const
{
    return m_ListInfo.bAlternateBk;
}

void CListUI::SetSelectedItemTextColor(DWORD dwTextColor)
{
    SetAppearance(m_ListInfo.dwSelectedTextColor, dwTextColor);
}

DWORD CListUI::GetSelectedItemTextColor() const
{
    return m_ListInfo.dwSelectedTextColor;
}

void CListUI::SetSelectedItemBkColor(DWORD dwBkColor)
{
    SetAppearance(m_ListInfo.dwSelectedBkColor, dwBkColor);
}

DWORD CListUI::GetSelectedItemBkColor() const
{
    return m_ListInfo.dwSelectedBkColor;
}

void CListUI::SetSelectedItemImage(LPCWSTR pStrImage)
{
    SetAppearance(m_ListInfo.sSelectedImage, pStrImage);
}

LPCWSTR CListUI::GetSelectedItemImage() const
{
    return m_ListInfo.sSelectedImage;
}

void CListUI::SetHotItemTextColor(DWORD dwTextColor)
{
    SetAppearance(m_ListInfo.dwHotTextColor, dwTextColor);
}

DWORD CListUI::GetHotItemTextColor() const
{
    return m_ListInfo.dwHotTextColor;
}

void CListUI::SetHotItemBkColor(DWORD dwBkColor)
{
    SetAppearance(m_ListInfo.dwHotBkColor, dwBkColor);
}

DWORD CListUI::GetHotItemBkColor() const
{
    return m_ListInfo.dwHotBkColor;
}

void CListUI::SetHotItemImage(LPCWSTR pStrImage)
{
    SetAppearance(m_ListInfo.sHotImage, pStrImage);
}

LPCWSTR CListUI::GetHotItemImage() const
{
    return m_ListInfo.sHotImage;
}

void CListUI::SetDisabledItemTextColor(DWORD dwTextColor)
{
    SetAppearance(m_ListInfo.dwDisabledTextColor, dwTextColor);
}

DWORD CListUI::GetDisabledItemTextColor() const
{
    return m_ListInfo.dwDisabledTextColor;
}

void CListUI::SetDisabledItemBkColor(DWORD dwBkColor)
{
    SetAppearance(m_ListInfo.dwDisabledBkColor, dwBkColor);
}

DWORD CListUI::GetDisabledItemBkColor() const
{
    return m_ListInfo.dwDisabledBkColor;
}

void CListUI::SetDisabledItemImage(LPCWSTR pStrImage)
{
    SetAppearance(m_ListInfo.sDisabledImage, pStrImage);
}

LPCWSTR CListUI::GetDisabledItemImage() const
{
    return m_ListInfo.sDisabledImage;
}

void CListUI::SetItemLineColor(DWORD dwLineColor)
{
    SetAppearance(m_ListInfo.dwLineColor, dwLineColor);
}

DWORD CListUI::GetItemLineColor() const
{
    return m_ListInfo.dwLineColor;
}

} // namespace VarnelUI
