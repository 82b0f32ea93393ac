#include "varnelui/control/UICombo.h"

#include "varnelui/control/UIComboWnd.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CComboUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CComboUI> kComboAttributes[] = {
    {L"textpadding", AttrSyntax::Rect, [](CComboUI& c, LPCWSTR v) { c.SetTextPadding(AttrParse::ParseRect(v)); }},
    {L"normalimage", AttrSyntax::Image, [](CComboUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"hotimage", AttrSyntax::Image, [](CComboUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"pushedimage", AttrSyntax::Image, [](CComboUI& c, LPCWSTR v) { c.SetPushedImage(v); }},
    {L"focusedimage", AttrSyntax::Image, [](CComboUI& c, LPCWSTR v) { c.SetFocusedImage(v); }},
    {L"disabledimage", AttrSyntax::Image, [](CComboUI& c, LPCWSTR v) { c.SetDisabledImage(v); }},
    {L"dropbox", AttrSyntax::AttributeList, [](CComboUI& c, LPCWSTR v) { c.SetDropBoxAttributeList(v); }},
    {L"dropboxsize", AttrSyntax::Size, [](CComboUI& c, LPCWSTR v) { c.SetDropBoxSize(AttrParse::ParseSize(v)); }},
};

// Room above and below the text of a combo without a fixed height.
constexpr LONG kTextMargin = 12;
constexpr LONG kDefaultDropHeight = 150;

IListItemUI* AsListItem(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

} // namespace

CComboUI::CComboUI()
    : m_uButtonState(0),
      m_pWindow(nullptr),
      m_iCurSel(-1),
      m_rcTextPadding{},
      m_szDropBox{0, kDefaultDropHeight}
{
}

CComboUI::~CComboUI()
{
    // The items are deleted with the combo: the popup must let go of them first.
    if (m_pWindow != nullptr) m_pWindow->Detach();
}

LPCWSTR CComboUI::GetClass() const
{
    return kNames.className;
}

LPVOID CComboUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CComboUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CComboUI::GetControlFlags() const
{
    return CTRLFLAG_TABSTOP;
}

CUIString CComboUI::GetText() const
{
    const CControlUI* pSelected = GetItemAt(m_iCurSel);
    return pSelected != nullptr ? pSelected->GetText() : CUIString();
}

void CComboUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kComboAttributes, *this, pstrName, pstrValue)) return;
    if (ApplyListItemAttribute(*this, pstrName, pstrValue)) return;
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---- items ------------------------------------------------------------------------

void CComboUI::RenumberItems(int iFrom)
{
    for (int i = std::max(iFrom, 0); i < GetCount(); ++i) {
        if (IListItemUI* pItem = AsListItem(GetItemAt(i))) pItem->SetIndex(i);
    }
}

bool CComboUI::Add(CControlUI* pControl)
{
    if (IListItemUI* pItem = AsListItem(pControl)) {
        pItem->SetOwner(this);
        pItem->SetIndex(GetCount());
    }
    return CContainerUI::Add(pControl);
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (IListItemUI* pItem = AsListItem(pControl)) pItem->SetOwner(this);
    RenumberItems(iIndex);
    if (m_iCurSel >= iIndex) ++m_iCurSel;
    return true;
}

bool CComboUI::Remove(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    return iIndex >= 0 && RemoveAt(iIndex);
}

bool CComboUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) return false;
    // An open popup still shows the item: it must not keep a deleted control.
    if (m_pWindow != nullptr) m_pWindow->ForgetItem(pControl);
    if (!CContainerUI::Remove(pControl)) return false;
    RenumberItems(iIndex);
    if (AdjustSelectionForRemoval(m_iCurSel, iIndex)) SelectItem(FindSelectable(iIndex, false));
    return true;
}

void CComboUI::RemoveAll()
{
    m_iCurSel = -1;
    if (m_pWindow != nullptr) {
        for (int i = 0; i < GetCount(); ++i) m_pWindow->ForgetItem(GetItemAt(i));
    }
    CContainerUI::RemoveAll();
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOld = GetItemIndex(pControl);
    if (iOld < 0) return false;
    if (iOld == iIndex) return true;
    CControlUI* pSelected = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    RenumberItems(std::min(iOld, iIndex));
    if (pSelected != nullptr) m_iCurSel = GetItemIndex(pSelected);
    return true;
}

// ---- selection ----------------------------------------------------------------------

TListInfoUI* CComboUI::GetListInfo()
{
    return &m_ListInfo;
}

int CComboUI::GetCurSel() const
{
    return m_iCurSel;
}

CComboWnd* CComboUI::GetDropWindow() const
{
    return m_pWindow;
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus)
{
    if (m_pWindow != nullptr) m_pWindow->Close();
    if (iIndex == m_iCurSel) return true;
    const int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* pOld = AsListItem(GetItemAt(m_iCurSel));
        if (pOld == nullptr) return false;
        pOld->Select(false);
        m_iCurSel = -1;
    }
    if (iIndex < 0 || GetCount() == 0) return false;
    iIndex = std::min(iIndex, GetCount() - 1);

    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = AsListItem(pControl);
    if (pItem == nullptr || !pControl->IsVisible() || !pControl->IsEnabled()) return false;
    m_iCurSel = iIndex;
    if (m_pWindow != nullptr || bTakeFocus) pControl->SetFocus();
    pItem->Select(true);
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    Invalidate();
    return true;
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != nullptr) return true;
    // The popup is owned by this combo's window: without one there is nothing to open.
    if (m_pManager == nullptr || m_pManager->GetPaintWindow() == nullptr) return false;
    m_pWindow = new CComboWnd;
    if (!m_pWindow->Init(this)) {
        // The window's final message, when it ran, has deleted the popup already.
        delete m_pWindow;
        m_pWindow = nullptr;
        return false;
    }
    m_pManager->SendNotify(this, L"dropdown");
    Invalidate();
    return true;
}

// ---- events -------------------------------------------------------------------------

void CComboUI::MoveSelection(int iIndex)
{
    // With nothing selectable in that direction the selection stays.
    if (iIndex >= 0) SelectItem(iIndex);
}

bool CComboUI::HandleKey(wchar_t chKey)
{
    switch (chKey) {
    case VK_UP:
    case VK_PRIOR: MoveSelection(FindSelectable(m_iCurSel - 1, false)); return true;
    case VK_DOWN:
    case VK_NEXT: MoveSelection(FindSelectable(m_iCurSel + 1, true)); return true;
    // Searched backward from the end, so a disabled last item does not make
    // End find nothing.
    case VK_END: MoveSelection(FindSelectable(GetCount() - 1, false)); return true;
    case VK_HOME: MoveSelection(FindSelectable(0, false)); return true;
    case VK_F4: Activate(); return true;
    default: return false;
    }
}

void CComboUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;
    switch (event.kind) {
    case EVT_SETFOCUS:
    case EVT_KILLFOCUS: Invalidate(); break;
    case EVT_BUTTONDOWN:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= CTRLSTATE_PUSHED | CTRLSTATE_CAPTURED;
        }
        return;
    case EVT_BUTTONUP:
        // The pushed look stays until the popup closes.
        if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
            m_uButtonState &= ~CTRLSTATE_CAPTURED;
            Invalidate();
        }
        return;
    case EVT_MOUSEMOVE:
    case EVT_CONTEXTMENU: return;
    case EVT_KEYDOWN:
        if (HandleKey(event.keyChar)) return;
        break;
    case EVT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == SB_LINEDOWN) MoveSelection(FindSelectable(m_iCurSel + 1, true));
        else MoveSelection(FindSelectable(m_iCurSel - 1, false));
        return;
    case EVT_MOUSEENTER:
        if (::PtInRect(&m_rcItem, event.mousePos)) {
            m_uButtonState |= CTRLSTATE_HOT;
            Invalidate();
        }
        return;
    case EVT_MOUSELEAVE:
        if ((m_uButtonState & CTRLSTATE_HOT) != 0) {
            m_uButtonState &= ~CTRLSTATE_HOT;
            Invalidate();
        }
        return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

CControlUI* CComboUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FIND_HITTEST) != 0) return CControlUI::FindControl(Proc, pData, uFlags);
    return CContainerUI::FindControl(Proc, pData, uFlags);
}

// ---- layout and painting -----------------------------------------------------------

void CComboUI::SetPos(RECT rc)
{
    // Items the open popup has borrowed are laid out there, not here.
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pItem = GetItemAt(i);
        if (pItem->GetParent() == this || pItem->GetParent() == nullptr) pItem->SetPos(RECT{});
    }
    CControlUI::SetPos(rc);
}

SIZE CComboUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    return SIZE{m_cxyFixed.cx, m_pManager->GetDefaultFontInfo()->tm.tmHeight + kTextMargin};
}

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::UpdatePaintState()
{
    SetStateBits(m_uButtonState, CTRLSTATE_FOCUSED, IsFocused());
    SetStateBits(m_uButtonState, CTRLSTATE_DISABLED, !IsEnabled());
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    UpdatePaintState();
    CUIString* pState = nullptr;
    if ((m_uButtonState & CTRLSTATE_DISABLED) != 0) pState = &m_sDisabledImage;
    else if ((m_uButtonState & CTRLSTATE_PUSHED) != 0) pState = &m_sPushedImage;
    else if ((m_uButtonState & CTRLSTATE_HOT) != 0) pState = &m_sHotImage;
    else if ((m_uButtonState & CTRLSTATE_FOCUSED) != 0) pState = &m_sFocusedImage;
    if (pState != nullptr && !pState->IsEmpty()) {
        DrawStateImage(hDC, *pState);
        return;
    }
    DrawStateImage(hDC, m_sNormalImage);
}

RECT CComboUI::GetTextRect() const
{
    return RECT{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
}

void CComboUI::PaintText(HDC hDC)
{
    PaintSelectedText(hDC, GetTextRect());
}

void CComboUI::PaintSelectedText(HDC hDC, const RECT& rcText)
{
    // Only list items can be selected, so the selection always draws itself
    // as it does in the popup.
    if (IListItemUI* pItem = AsListItem(GetItemAt(m_iCurSel))) pItem->DrawItemText(hDC, rcText);
}

// ---- settings -----------------------------------------------------------------------

CUIString CComboUI::GetDropBoxAttributeList() const
{
    return m_sDropBoxAttributes;
}

void CComboUI::SetDropBoxAttributeList(LPCWSTR pstrList)
{
    m_sDropBoxAttributes = pstrList;
}

SIZE CComboUI::GetDropBoxSize() const
{
    return m_szDropBox;
}

void CComboUI::SetDropBoxSize(SIZE szDropBox)
{
    m_szDropBox = szDropBox;
}

RECT CComboUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetNormalImage(LPCWSTR pStrImage)
{
    SetAppearance(m_sNormalImage, pStrImage);
}

void CComboUI::SetHotImage(LPCWSTR pStrImage)
{
    SetAppearance(m_sHotImage, pStrImage);
}

void CComboUI::SetPushedImage(LPCWSTR pStrImage)
{
    SetAppearance(m_sPushedImage, pStrImage);
}

void CComboUI::SetFocusedImage(LPCWSTR pStrImage)
{
    SetAppearance(m_sFocusedImage, pStrImage);
}

void CComboUI::SetDisabledImage(LPCWSTR pStrImage)
{
    SetAppearance(m_sDisabledImage, pStrImage);
}

} // namespace VarnelUI
