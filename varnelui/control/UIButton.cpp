#include "varnelui/control/UIButton.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CButtonUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseColor;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CButtonUI> kButtonAttributes[] = {
    {L"normalimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"hotimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"pushedimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetPushedImage(v); }},
    {L"focusedimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetFocusedImage(v); }},
    {L"disabledimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetDisabledImage(v); }},
    {L"foreimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetForeImage(v); }},
    {L"hotforeimage", AttrSyntax::Image, [](CButtonUI& c, LPCWSTR v) { c.SetHotForeImage(v); }},
    {L"hotbkcolor", AttrSyntax::Color, [](CButtonUI& c, LPCWSTR v) { c.SetHotBkColor(ParseColor(v)); }},
    {L"hottextcolor", AttrSyntax::Color, [](CButtonUI& c, LPCWSTR v) { c.SetHotTextColor(ParseColor(v)); }},
    {L"pushedtextcolor", AttrSyntax::Color, [](CButtonUI& c, LPCWSTR v) { c.SetPushedTextColor(ParseColor(v)); }},
    {L"focusedtextcolor", AttrSyntax::Color, [](CButtonUI& c, LPCWSTR v) { c.SetFocusedTextColor(ParseColor(v)); }},
};

} // namespace

CButtonUI::CButtonUI()
    : m_uButtonState(0),
      m_dwHotBkColor(0),
      m_dwHotTextColor(0),
      m_dwPushedTextColor(0),
      m_dwFocusedTextColor(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCWSTR CButtonUI::GetClass() const
{
    return kNames.className;
}

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? CTRLFLAG_TABSTOP : 0) | (IsEnabled() ? CTRLFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"click");
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;

    switch (event.kind) {
    case EVT_SETFOCUS:
    case EVT_KILLFOCUS: Invalidate(); break;
    case EVT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.keyChar == VK_SPACE || event.keyChar == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
        if (::PtInRect(&m_rcItem, event.mousePos) && IsEnabled()) {
            m_uButtonState |= CTRLSTATE_PUSHED | CTRLSTATE_CAPTURED;
            Invalidate();
        }
        return;
    case EVT_MOUSEMOVE:
        if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
            // Leaving while pressed shows the normal look; coming back, the pushed one.
            SetStateBits(m_uButtonState, CTRLSTATE_PUSHED, ::PtInRect(&m_rcItem, event.mousePos) != FALSE);
            Invalidate();
        }
        return;
    case EVT_BUTTONUP:
        if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
            // The state is settled before "click" goes out: a click handler may
            // delete this button, after which nothing of it may be touched.
            const bool bInside = ::PtInRect(&m_rcItem, event.mousePos) != FALSE;
            m_uButtonState &= ~(CTRLSTATE_PUSHED | CTRLSTATE_CAPTURED);
            Invalidate();
            if (bInside) Activate();
        }
        return;
    case EVT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager != nullptr)
            m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
    case EVT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= CTRLSTATE_HOT;
            Invalidate();
        }
        break;
    case EVT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~CTRLSTATE_HOT;
            Invalidate();
        }
        break;
    case EVT_SETCURSOR: ::SetCursor(::LoadCursorW(nullptr, IDC_HAND)); return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kButtonAttributes, *this, pstrName, pstrValue)) return;
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CButtonUI::EstimateSize(SIZE)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return m_cxyFixed;
    return SIZE{m_cxyFixed.cx, GetFontHeight() + 8};
}

// ---- images and colours -----------------------------------------------------------

LPCWSTR CButtonUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

LPCWSTR CButtonUI::GetHotImage() const
{
    return m_sHotImage;
}

void CButtonUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

LPCWSTR CButtonUI::GetHotForeImage() const
{
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(LPCWSTR pStrImage)
{
    m_sHotForeImage = pStrImage;
    Invalidate();
}

LPCWSTR CButtonUI::GetPushedImage() const
{
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(LPCWSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

LPCWSTR CButtonUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

LPCWSTR CButtonUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

LPCWSTR CButtonUI::GetForeImage() const
{
    return m_sForeImage;
}

void CButtonUI::SetForeImage(LPCWSTR pStrImage)
{
    m_sForeImage = pStrImage;
    Invalidate();
}

DWORD CButtonUI::GetHotBkColor() const
{
    return m_dwHotBkColor;
}

void CButtonUI::SetHotBkColor(DWORD dwColor)
{
    m_dwHotBkColor = dwColor;
}

DWORD CButtonUI::GetHotTextColor() const
{
    return m_dwHotTextColor;
}

void CButtonUI::SetHotTextColor(DWORD dwColor)
{
    m_dwHotTextColor = dwColor;
}

DWORD CButtonUI::GetPushedTextColor() const
{
    return m_dwPushedTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    m_dwPushedTextColor = dwColor;
}

DWORD CButtonUI::GetFocusedTextColor() const
{
    return m_dwFocusedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    m_dwFocusedTextColor = dwColor;
}

// ---- painting ---------------------------------------------------------------------

void CButtonUI::UpdatePaintState()
{
    SetStateBits(m_uButtonState, CTRLSTATE_FOCUSED, IsFocused());
    SetStateBits(m_uButtonState, CTRLSTATE_DISABLED, !IsEnabled());
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    UpdatePaintState();

    // Each state either draws its own image and goes on to the foreground
    // image, or falls back to the normal image first.
    bool bDrawn = false;
    if ((m_uButtonState & CTRLSTATE_DISABLED) != 0) {
        bDrawn = DrawStateImage(hDC, m_sDisabledImage);
    } else if ((m_uButtonState & CTRLSTATE_PUSHED) != 0) {
        // A pushed image that fails is not replaced by the normal one in this paint.
        bDrawn = !m_sPushedImage.IsEmpty();
        DrawStateImage(hDC, m_sPushedImage);
    } else if ((m_uButtonState & CTRLSTATE_HOT) != 0) {
        if (!m_sHotImage.IsEmpty()) {
            DrawStateImage(hDC, m_sHotImage);
            if (!m_sHotForeImage.IsEmpty()) {
                DrawStateImage(hDC, m_sHotForeImage);
                return;
            }
            bDrawn = true;
        } else if (m_dwHotBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
            return;
        }
    } else if ((m_uButtonState & CTRLSTATE_FOCUSED) != 0) {
        bDrawn = DrawStateImage(hDC, m_sFocusedImage);
    }

    if (!bDrawn) DrawStateImage(hDC, m_sNormalImage);
    DrawStateImage(hDC, m_sForeImage);
}

void CButtonUI::PaintText(HDC hDC)
{
    UpdatePaintState();
    ApplyDefaultTextColors();
    if (m_sText.IsEmpty()) return;

    DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & CTRLSTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) dwColor = m_dwPushedTextColor;
    else if ((m_uButtonState & CTRLSTATE_HOT) != 0 && m_dwHotTextColor != 0) dwColor = m_dwHotTextColor;
    else if ((m_uButtonState & CTRLSTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) dwColor = m_dwFocusedTextColor;

    // Unlike a label, a button draws with its style as it is: it may wrap.
    DrawTextIn(hDC, GetTextRect(), dwColor, m_uTextStyle);
}

} // namespace VarnelUI
