#include "varnelui/control/UIListContainerElement.h"

#include "varnelui/core/UIManager.h"

#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CListContainerElementUI> kRegistration;

} // namespace

LPCWSTR CListContainerElementUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListContainerElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListContainerElementUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const
{
    return kListItemControlFlags;
}

void CListContainerElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyListItemElementAttribute(*this, pstrName, pstrValue)) CContainerUI::SetAttribute(pstrName, pstrValue);
}

bool CListContainerElementUI::Activate()
{
    return m_item.Activate(*this, CContainerUI::Activate());
}

void CListContainerElementUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    m_item.OnVisibilityChanged(*this);
}

int CListContainerElementUI::GetIndex() const
{
    return m_item.GetIndex();
}

void CListContainerElementUI::SetIndex(int iIndex)
{
    m_item.SetIndex(iIndex);
}

IListOwnerUI* CListContainerElementUI::GetOwner()
{
    return m_item.GetOwner();
}

void CListContainerElementUI::SetOwner(CControlUI* pOwner)
{
    m_item.SetOwner(pOwner);
}

bool CListContainerElementUI::IsSelected() const
{
    return m_item.IsSelected();
}

bool CListContainerElementUI::Select(bool bSelect)
{
    return m_item.Select(*this, bSelect);
}

bool CListContainerElementUI::IsExpanded() const
{
    return false;
}

bool CListContainerElementUI::Expand(bool)
{
    return false;
}

void CListContainerElementUI::DrawItemText(HDC, const RECT&)
{
}

void CListContainerElementUI::DrawItemBk(HDC hDC)
{
    m_item.DrawItemBk(*this, hDC, m_sBkImage);
}

void CListContainerElementUI::PassToOwner(TEventUI& event)
{
    if (IListOwnerUI* pOwner = m_item.GetOwner()) pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        if (m_item.GetOwner() != nullptr) m_item.GetOwner()->DoEvent(event);
        else CContainerUI::DoEvent(event);
        return;
    }
    if (CListItemCore::HandleActivation(*this, event)) return;
    if (m_item.HandleMouse(*this, *this, event)) return;
    PassToOwner(event);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(hDC);
    CContainerUI::DoPaint(hDC, rcPaint);
}

} // namespace VarnelUI
