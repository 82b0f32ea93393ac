#include "varnelui/control/UIText.h"

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>

namespace VarnelUI {

namespace {

const CControlRegistration<CTextUI> kRegistration;

// Height of the measuring rectangle: more than any text needs.
constexpr LONG kMeasureHeight = 9999;

} // namespace

CTextUI::CTextUI() : m_nLinks(0), m_rcLinks{}, m_nHoverLink(-1)
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
}

LPCWSTR CTextUI::GetClass() const
{
    return kNames.className;
}

LPVOID CTextUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const
{
    return (IsEnabled() && m_nLinks > 0) ? CTRLFLAG_SETCURSOR : 0;
}

void CTextUI::SetText(LPCWSTR pstrText)
{
    const CUIString sOld = m_sText;
    CLabelUI::SetText(pstrText);
    if (m_sText == sOld) return;
    // The link rectangles belong to the text last drawn. Mouse messages are
    // handled before the repaint, so a click must not hit a link of the old text.
    m_nLinks = 0;
    m_nHoverLink = -1;
}

const CUIString* CTextUI::GetLinkContent(int iIndex) const
{
    return (iIndex >= 0 && iIndex < m_nLinks) ? &m_sLinks[iIndex] : nullptr;
}

int CTextUI::FindLink(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CTextUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;

    switch (event.kind) {
    case EVT_SETCURSOR:
        if (FindLink(event.mousePos) >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
        if ((event.kind == EVT_BUTTONDOWN || IsEnabled()) && FindLink(event.mousePos) >= 0) {
            Invalidate();
            return;
        }
        break;
    case EVT_BUTTONUP:
        if (IsEnabled()) {
            const int iLink = FindLink(event.mousePos);
            if (iLink >= 0) {
                if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
                return;
            }
        }
        break;
    case EVT_CONTEXTMENU: return;
    case EVT_MOUSEMOVE:
        if (IsEnabled() && m_nLinks > 0) {
            const int iLink = FindLink(event.mousePos);
            if (iLink != m_nHoverLink) {
                m_nHoverLink = iLink;
                Invalidate();
                return;
            }
        }
        break;
    case EVT_MOUSELEAVE:
        if (IsEnabled() && m_nLinks > 0 && m_nHoverLink != -1) {
            m_nHoverLink = -1;
            Invalidate();
            return;
        }
        break;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    const HDC hDC = m_pManager != nullptr ? m_pManager->GetPaintDC() : nullptr;
    if (hDC == nullptr) return m_cxyFixed;

    const LONG cxWidth = std::max(m_cxyFixed.cx, szAvailable.cx);
    RECT rcText = {m_rcTextPadding.left, 0, cxWidth - m_rcTextPadding.right, kMeasureHeight};
    // The renderers leave the rectangle untouched for an empty text; an
    // empty text needs no room.
    if (m_sText.IsEmpty()) rcText = RECT{};
    else rcText = DrawTextIn(hDC, rcText, m_dwTextColor, m_uTextStyle | DT_CALCRECT);

    SIZE cXY = {rcText.right - rcText.left + m_rcTextPadding.left + m_rcTextPadding.right,
                rcText.bottom - rcText.top + m_rcTextPadding.top + m_rcTextPadding.bottom};
    if (m_cxyFixed.cy != 0) cXY.cy = m_cxyFixed.cy;
    return cXY;
}

void CTextUI::PaintText(HDC hDC)
{
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    ApplyDefaultTextColors();
    RECT rcText = GetTextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (!m_bShowHtml) {
        // Plain text has no links; ones left from markup drawn before must
        // not stay clickable.
        m_nLinks = 0;
        DrawTextIn(hDC, rcText, dwColor, m_uTextStyle);
        return;
    }
    m_nLinks = kMaxLinks;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText, dwColor, m_rcLinks, m_sLinks, m_nLinks, m_uTextStyle);
}

} // namespace VarnelUI
