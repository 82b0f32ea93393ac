#include "varnelui/control/UISlider.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CSliderUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseInt;
using AttrParse::ParseSize;
using AttrParse::TAttributeEntry;
using AttrParse::ToInt;

const TAttributeEntry<CSliderUI> kSliderAttributes[] = {
    {L"thumbimage", AttrSyntax::Image, [](CSliderUI& c, LPCWSTR v) { c.SetThumbImage(v); }},
    {L"thumbhotimage", AttrSyntax::Image, [](CSliderUI& c, LPCWSTR v) { c.SetThumbHotImage(v); }},
    {L"thumbpushedimage", AttrSyntax::Image, [](CSliderUI& c, LPCWSTR v) { c.SetThumbPushedImage(v); }},
    {L"thumbsize", AttrSyntax::Size, [](CSliderUI& c, LPCWSTR v) { c.SetThumbSize(ParseSize(v)); }},
    {L"step", AttrSyntax::Int, [](CSliderUI& c, LPCWSTR v) { c.SetChangeStep(ToInt(ParseInt(v))); }},
};

// The low word of a wheel event's wParam: which way the wheel turned.
constexpr WORD kWheelUp = 0;
constexpr WORD kWheelDown = 1;

} // namespace

CSliderUI::CSliderUI() : m_szThumb{10, 10}, m_uButtonState(0), m_nStep(1)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

LPCWSTR CSliderUI::GetClass() const
{
    return kNames.className;
}

LPVOID CSliderUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? CTRLFLAG_SETCURSOR : 0;
}

void CSliderUI::SetEnabled(bool bEnable)
{
    CProgressUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CSliderUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kSliderAttributes, *this, pstrName, pstrValue)) return;
    CProgressUI::SetAttribute(pstrName, pstrValue);
}

int CSliderUI::GetChangeStep() const
{
    return m_nStep;
}

void CSliderUI::SetChangeStep(int nStep)
{
    m_nStep = nStep;
}

void CSliderUI::SetThumbSize(SIZE szXY)
{
    m_szThumb = szXY;
}

LPCWSTR CSliderUI::GetThumbImage() const
{
    return m_sThumbImage;
}

void CSliderUI::SetThumbImage(LPCWSTR pStrImage)
{
    m_sThumbImage = pStrImage;
    Invalidate();
}

LPCWSTR CSliderUI::GetThumbHotImage() const
{
    return m_sThumbHotImage;
}

void CSliderUI::SetThumbHotImage(LPCWSTR pStrImage)
{
    m_sThumbHotImage = pStrImage;
    Invalidate();
}

LPCWSTR CSliderUI::GetThumbPushedImage() const
{
    return m_sThumbPushedImage;
}

void CSliderUI::SetThumbPushedImage(LPCWSTR pStrImage)
{
    m_sThumbPushedImage = pStrImage;
    Invalidate();
}

// ---- geometry ---------------------------------------------------------------------

RECT CSliderUI::GetThumbRect() const
{
    // The range as the next paint puts it in order, so that a range not yet
    // painted (minimum equal to maximum) places the thumb instead of dividing by zero.
    const TRange range = GetPaintRange();
    const CLayoutAxis axis = GetAxis();
    const LONG thumbAlong = axis.Along(m_szThumb);
    const LONG thumbAcross = axis.Across(m_szThumb);
    const LONG room = axis.Extent(m_rcItem) - thumbAlong;
    const LONG offset =
        Scale(room, static_cast<long long>(range.nValue) - range.nMin, static_cast<long long>(range.nMax) - range.nMin);
    const LONG nearAlong =
        IsMinimumAtNearEnd() ? axis.Near(m_rcItem) + offset : axis.Far(m_rcItem) - thumbAlong - offset;
    const LONG nearAcross = (axis.CrossNear(m_rcItem) + axis.CrossFar(m_rcItem) - thumbAcross) / 2;
    return axis.MakeRect(nearAlong, nearAlong + thumbAlong, nearAcross, nearAcross + thumbAcross);
}

void CSliderUI::SetValueFromPoint(POINT pt)
{
    const CLayoutAxis axis = GetAxis();
    const LONG extent = axis.Extent(m_rcItem);
    const LONG thumbAlong = axis.Along(m_szThumb);
    const LONG room = extent - thumbAlong;
    // A slider no longer than its thumb has no track to map the point onto:
    // its value stays as it is rather than being divided by zero or a negative span.
    if (room <= 0) return;

    // Within half a thumb of either end the value is exactly that end's.
    const LONG half = thumbAlong / 2;
    const LONG fromMinEnd =
        IsMinimumAtNearEnd() ? axis.Along(pt) - axis.Near(m_rcItem) : axis.Far(m_rcItem) - axis.Along(pt);
    if (fromMinEnd >= extent - half) m_nValue = m_nMax;
    else if (fromMinEnd <= half) m_nValue = m_nMin;
    else m_nValue = m_nMin + Scale(static_cast<long long>(m_nMax) - m_nMin, fromMinEnd - half, room);
}

// ---- events -----------------------------------------------------------------------

void CSliderUI::NotifyValueChanged()
{
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"valuechanged");
}

void CSliderUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;

    switch (event.kind) {
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
        if (IsEnabled()) {
            const RECT rcThumb = GetThumbRect();
            if (::PtInRect(&rcThumb, event.mousePos)) m_uButtonState |= CTRLSTATE_CAPTURED;
        }
        return;
    case EVT_BUTTONUP:
        m_uButtonState &= ~CTRLSTATE_CAPTURED;
        // A disabled slider is still hit by the mouse, but the user must not move it.
        if (!IsEnabled()) return;
        SetValueFromPoint(event.mousePos);
        // Settled before the notification goes out: its handler may delete the slider.
        Invalidate();
        NotifyValueChanged();
        return;
    case EVT_CONTEXTMENU: return;
    case EVT_SCROLLWHEEL: {
        const WORD wCode = LOWORD(event.wParam);
        if (IsEnabled() && (wCode == kWheelUp || wCode == kWheelDown)) {
            SetValue(m_nValue + (wCode == kWheelUp ? m_nStep : -m_nStep));
            NotifyValueChanged();
            return;
        }
        break;
    }
    case EVT_MOUSEMOVE:
        // Dragging only moves the thumb; the release reports the change.
        if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
            SetValueFromPoint(event.mousePos);
            Invalidate();
        }
        return;
    case EVT_SETCURSOR:
        if (IsEnabled()) {
            const RECT rcThumb = GetThumbRect();
            if (::PtInRect(&rcThumb, event.mousePos)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return;
            }
        }
        break;
    case EVT_MOUSEENTER:
    case EVT_MOUSELEAVE:
        if (IsEnabled()) {
            if (event.kind == EVT_MOUSEENTER) m_uButtonState |= CTRLSTATE_HOT;
            else m_uButtonState &= ~CTRLSTATE_HOT;
            Invalidate();
        }
        return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

// ---- painting ---------------------------------------------------------------------

void CSliderUI::PaintStatusImage(HDC hDC)
{
    CProgressUI::PaintStatusImage(hDC);

    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    CUIString sModify;
    sModify.SmallFormat(L"dest='%d,%d,%d,%d'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);

    // A state image that is missing or cannot be drawn leaves the normal thumb.
    if ((m_uButtonState & CTRLSTATE_CAPTURED) != 0) {
        if (DrawStateImage(hDC, m_sThumbPushedImage, sModify)) return;
    } else if ((m_uButtonState & CTRLSTATE_HOT) != 0) {
        if (DrawStateImage(hDC, m_sThumbHotImage, sModify)) return;
    }
    DrawStateImage(hDC, m_sThumbImage, sModify);
}

} // namespace VarnelUI
