#include "varnelui/control/UIListHeaderItem.h"

#include "varnelui/control/UIListInfo.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <cstdio>

namespace VarnelUI {

namespace {

const CControlRegistration<CListHeaderItemUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::TAttributeEntry;
using AttrParse::ToInt;

const TAttributeEntry<CListHeaderItemUI> kHeaderItemAttributes[] = {
    {L"dragable", AttrSyntax::Bool, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetDragable(ParseBool(v)); }},
    {L"sepwidth", AttrSyntax::Int,
     [](CListHeaderItemUI& c, LPCWSTR v) { c.SetSepWidth(ToInt(AttrParse::ParseInt(v))); }},
    {L"align", AttrSyntax::Text,
     [](CListHeaderItemUI& c, LPCWSTR v) { c.SetTextStyle(ApplyHorizontalAlign(c.GetTextStyle(), v)); }},
    {L"endellipsis", AttrSyntax::Bool,
     [](CListHeaderItemUI& c, LPCWSTR v) {
         const UINT uStyle = c.GetTextStyle();
         c.SetTextStyle(ParseBool(v) ? uStyle | DT_END_ELLIPSIS : uStyle & ~static_cast<UINT>(DT_END_ELLIPSIS));
     }},
    {L"font", AttrSyntax::FontId, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetFont(ToInt(AttrParse::ParseInt(v))); }},
    {L"textcolor", AttrSyntax::Color,
     [](CListHeaderItemUI& c, LPCWSTR v) { c.SetTextColor(AttrParse::ParseColor(v)); }},
    {L"textpadding", AttrSyntax::Rect,
     [](CListHeaderItemUI& c, LPCWSTR v) { c.SetTextPadding(AttrParse::ParseRect(v)); }},
    {L"showhtml", AttrSyntax::Bool, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetShowHtml(ParseBool(v)); }},
    {L"normalimage", AttrSyntax::Image, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"hotimage", AttrSyntax::Image, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"pushedimage", AttrSyntax::Image, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetPushedImage(v); }},
    {L"focusedimage", AttrSyntax::Image, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetFocusedImage(v); }},
    {L"sepimage", AttrSyntax::Image, [](CListHeaderItemUI& c, LPCWSTR v) { c.SetSepImage(v); }},
};

// How far into the item the separator can be grabbed beyond its strip.
constexpr LONG kGripWidening = 4;
// Room around the default font's line in an item without a fixed height.
constexpr LONG kItemTextMargin = 14;
constexpr int kMinWidth = 16;

} // namespace

CListHeaderItemUI::CListHeaderItemUI()
    : m_bDragable(true),
      m_uButtonState(0),
      m_iSepWidth(4),
      m_dwTextColor(0),
      m_iFont(-1),
      m_uTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE),
      m_bShowHtml(false),
      m_rcTextPadding{2, 0, 2, 0},
      m_ptLastMouse{0, 0}
{
    SetMinWidth(kMinWidth);
}

LPCWSTR CListHeaderItemUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListHeaderItemUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListHeaderItemUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CListHeaderItemUI::GetControlFlags() const
{
    return (IsEnabled() && m_iSepWidth != 0) ? CTRLFLAG_SETCURSOR : 0;
}

void CListHeaderItemUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!AttrParse::ApplyFromTable(kHeaderItemAttributes, *this, pstrName, pstrValue))
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---- the separator ------------------------------------------------------------------

bool CListHeaderItemUI::IsDragable() const
{
    return m_bDragable;
}

void CListHeaderItemUI::SetDragable(bool bDragable)
{
    m_bDragable = bDragable;
    if (!m_bDragable) m_uButtonState &= ~CTRLSTATE_CAPTURED;
}

int CListHeaderItemUI::GetSepWidth() const
{
    return m_iSepWidth;
}

void CListHeaderItemUI::SetSepWidth(int iWidth)
{
    m_iSepWidth = iWidth;
}

RECT CListHeaderItemUI::GetThumbRect() const
{
    if (m_iSepWidth >= 0) return RECT{m_rcItem.right - m_iSepWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left - m_iSepWidth, m_rcItem.bottom};
}

bool CListHeaderItemUI::IsOnGrip(POINT pt) const
{
    RECT rc = GetThumbRect();
    if (m_iSepWidth >= 0) rc.left -= kGripWidening;
    else rc.right += kGripWidening;
    return ::PtInRect(&rc, pt) != FALSE;
}

// ---- events -------------------------------------------------------------------------

void CListHeaderItemUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;

    switch (event.kind) {
    case EVT_SETFOCUS:
    case EVT_KILLFOCUS: Invalidate(); break;
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
        if (!IsEnabled()) break;
        if (IsOnGrip(event.mousePos)) {
            if (m_bDragable) {
                m_uButtonState |= CTRLSTATE_CAPTURED;
                m_ptLastMouse = event.mousePos;
            }
        } else {
            m_uButtonState |= CTRLSTATE_PUSHED;
            if (m_pManager != nullptr) m_pManager->SendNotify(this, L"headerclick");
            Invalidate();
        }
        return;
    case EVT_BUTTONUP:
        if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
            m_uButtonState &= ~CTRLSTATE_CAPTURED;
            if (m_pParent != nullptr) m_pParent->NeedParentUpdate();
        } else if ((m_uButtonState & CTRLSTATE_PUSHED) != 0) {
            m_uButtonState &= ~CTRLSTATE_PUSHED;
            Invalidate();
        }
        return;
    case EVT_MOUSEMOVE:
        if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
            // The dragged edge follows the mouse; the whole list is laid out
            // again, so every row's columns follow the header at once.
            RECT rc = m_rcItem;
            LONG& nEdge = m_iSepWidth >= 0 ? rc.right : rc.left;
            nEdge -= m_ptLastMouse.x - event.mousePos.x;
            if (GetMinWidth() < rc.right - rc.left) {
                m_cxyFixed.cx = rc.right - rc.left;
                m_ptLastMouse = event.mousePos;
                if (m_pParent != nullptr) m_pParent->NeedParentUpdate();
            }
            return;
        }
        break;
    case EVT_SETCURSOR:
        if (IsEnabled() && m_bDragable && IsOnGrip(event.mousePos)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    case EVT_MOUSEENTER:
    case EVT_MOUSELEAVE:
        if (IsEnabled()) {
            SetStateBits(m_uButtonState, CTRLSTATE_HOT, event.kind == EVT_MOUSEENTER);
            Invalidate();
        }
        return;
    default: break;
    }
    CContainerUI::DoEvent(event);
}

SIZE CListHeaderItemUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return CContainerUI::EstimateSize(szAvailable);
    return SIZE{m_cxyFixed.cx, m_pManager->GetDefaultFontInfo()->tm.tmHeight + kItemTextMargin};
}

// ---- painting -----------------------------------------------------------------------

void CListHeaderItemUI::PaintStateOverNormal(HDC hDC, CUIString& sImage)
{
    if (sImage.IsEmpty()) DrawStateImage(hDC, m_sNormalImage);
    DrawStateImage(hDC, sImage);
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    SetStateBits(m_uButtonState, CTRLSTATE_FOCUSED, IsFocused());
    if ((m_uButtonState & CTRLSTATE_PUSHED) != 0) PaintStateOverNormal(hDC, m_sPushedImage);
    else if ((m_uButtonState & CTRLSTATE_HOT) != 0) PaintStateOverNormal(hDC, m_sHotImage);
    else if ((m_uButtonState & CTRLSTATE_FOCUSED) != 0) PaintStateOverNormal(hDC, m_sFocusedImage);
    else DrawStateImage(hDC, m_sNormalImage);

    if (m_sSepImage.IsEmpty()) return;
    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    wchar_t szModify[64];
    std::swprintf(szModify, 64, L"dest='%ld,%ld,%ld,%ld'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);
    DrawStateImage(hDC, m_sSepImage, szModify);
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    if (m_sText.IsEmpty()) return;
    DWORD dwColor = m_dwTextColor;
    if (dwColor == 0 && m_pManager != nullptr) dwColor = m_pManager->GetDefaultFontColor();
    RECT rcText = {m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                   m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText, dwColor, nullptr, nullptr, nLinks,
                                    m_uTextStyle | DT_SINGLELINE);
    } else {
        CRenderEngine::DrawTextW(hDC, m_pManager, rcText, m_sText, dwColor, m_iFont, m_uTextStyle | DT_SINGLELINE);
    }
}

// ---- plain accessors ----------------------------------------------------------------

DWORD CListHeaderItemUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CListHeaderItemUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

int CListHeaderItemUI::GetFont() const
{
    return m_iFont;
}

void CListHeaderItemUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

UINT CListHeaderItemUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CListHeaderItemUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

RECT CListHeaderItemUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CListHeaderItemUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

bool CListHeaderItemUI::IsShowHtml() const
{
    return m_bShowHtml;
}

void CListHeaderItemUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CListHeaderItemUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetHotImage() const
{
    return m_sHotImage;
}

void CListHeaderItemUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetPushedImage() const
{
    return m_sPushedImage;
}

void CListHeaderItemUI::SetPushedImage(LPCWSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CListHeaderItemUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

LPCWSTR CListHeaderItemUI::GetSepImage() const
{
    return m_sSepImage;
}

void CListHeaderItemUI::SetSepImage(LPCWSTR pStrImage)
{
    m_sSepImage = pStrImage;
    Invalidate();
}

} // namespace VarnelUI
