#include "varnelui/control/UITabLayout.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CTabLayoutUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CTabLayoutUI> kTabAttributes[] = {
    {L"selectedid", AttrSyntax::Int,
     [](CTabLayoutUI& c, LPCWSTR v) { c.SelectItem(AttrParse::ToInt(AttrParse::ParseInt(v))); }},
};

} // namespace

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(-1)
{
}

LPCWSTR CTabLayoutUI::GetClass() const
{
    return kNames.className;
}

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CTabLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl)
{
    // The container's Add goes through AddAt, which this class overrides with
    // bookkeeping of its own: append through the container's AddAt directly.
    if (!CContainerUI::AddAt(pControl, GetCount())) return false;
    if (m_iCurSel == -1 && pControl->IsVisible()) m_iCurSel = GetItemIndex(pControl);
    else pControl->SetVisible(false);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (m_iCurSel == -1 && pControl->IsVisible()) {
        m_iCurSel = GetItemIndex(pControl);
    } else if (m_iCurSel == -1 || m_iCurSel < iIndex) {
        pControl->SetVisible(false);
    } else {
        // Inserted at or before the selected page, which moves up by one.
        ++m_iCurSel;
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    const int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) return false;

    if (iIndex == m_iCurSel) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    } else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

int CTabLayoutUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CTabLayoutUI::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;

    const int iOldSel = m_iCurSel;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (i != iIndex) {
            pControl->SetVisible(false);
            continue;
        }
        pControl->SetVisible(true);
        pControl->SetFocus();
        SetPos(m_rcItem);
    }
    NeedParentUpdate();
    if (m_pManager != nullptr) {
        m_pManager->SetNextTabControl(true);
        m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    return iIndex >= 0 && SelectItem(iIndex);
}

void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT rcInner = GetInnerRect();
    PlaceChildren([&](int i, CControlUI& child) {
        if (i != m_iCurSel) return;
        const RECT rcPadding = child.GetPadding();
        const RECT rcPage = {rcInner.left + rcPadding.left, rcInner.top + rcPadding.top,
                             rcInner.right - rcPadding.right, rcInner.bottom - rcPadding.bottom};
        const SIZE sz = FitToArea(child, SIZE{rcPage.right - rcPage.left, rcPage.bottom - rcPage.top});
        child.SetPos(RECT{rcPage.left, rcPage.top, rcPage.left + sz.cx, rcPage.top + sz.cy});
    });
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kTabAttributes, *this, pstrName, pstrValue)) return;
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

} // namespace VarnelUI
