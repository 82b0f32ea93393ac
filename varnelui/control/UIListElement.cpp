#include "varnelui/control/UIListElement.h"

#include <cwchar>

namespace VarnelUI {

LPCWSTR CListElementUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListElementUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

UINT CListElementUI::GetControlFlags() const
{
    return kListItemControlFlags;
}

void CListElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyListItemElementAttribute(*this, pstrName, pstrValue)) CControlUI::SetAttribute(pstrName, pstrValue);
}

bool CListElementUI::Activate()
{
    return m_item.Activate(*this, CControlUI::Activate());
}

void CListElementUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    m_item.OnVisibilityChanged(*this);
}

int CListElementUI::GetIndex() const
{
    return m_item.GetIndex();
}

void CListElementUI::SetIndex(int iIndex)
{
    m_item.SetIndex(iIndex);
}

IListOwnerUI* CListElementUI::GetOwner()
{
    return m_item.GetOwner();
}

void CListElementUI::SetOwner(CControlUI* pOwner)
{
    m_item.SetOwner(pOwner);
}

bool CListElementUI::IsSelected() const
{
    return m_item.IsSelected();
}

bool CListElementUI::Select(bool bSelect)
{
    return m_item.Select(*this, bSelect);
}

bool CListElementUI::IsExpanded() const
{
    return false;
}

bool CListElementUI::Expand(bool)
{
    return false;
}

void CListElementUI::DrawItemText(HDC, const RECT&)
{
}

void CListElementUI::DrawItemBk(HDC hDC)
{
    m_item.DrawItemBk(*this, hDC, m_sBkImage);
}

bool CListElementUI::ForwardMouseEventToOwner(TEventUI& event)
{
    if (IsMouseEnabled() || !IsMouseEvent(event.kind)) return false;
    PassToOwner(event);
    return true;
}

void CListElementUI::PassToOwner(TEventUI& event)
{
    if (IListOwnerUI* pOwner = m_item.GetOwner()) pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

void CListElementUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToOwner(event)) return;
    if (CListItemCore::HandleActivation(*this, event)) return;
    PassToOwner(event);
}

} // namespace VarnelUI
