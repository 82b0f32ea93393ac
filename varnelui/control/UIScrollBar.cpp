#include "varnelui/control/UIScrollBar.h"

#include "varnelui/control/UIContainer.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>

namespace VarnelUI {

namespace {

const CControlRegistration<CScrollBarUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseInt;
using AttrParse::TAttributeEntry;
using AttrParse::ToInt;

const TAttributeEntry<CScrollBarUI> kScrollBarAttributes[] = {
    {L"button1normalimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1NormalImage(v); }},
    {L"button1hotimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1HotImage(v); }},
    {L"button1pushedimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1PushedImage(v); }},
    {L"button1disabledimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton1DisabledImage(v); }},
    {L"button2normalimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2NormalImage(v); }},
    {L"button2hotimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2HotImage(v); }},
    {L"button2pushedimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2PushedImage(v); }},
    {L"button2disabledimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetButton2DisabledImage(v); }},
    {L"thumbnormalimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbNormalImage(v); }},
    {L"thumbhotimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbHotImage(v); }},
    {L"thumbpushedimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbPushedImage(v); }},
    {L"thumbdisabledimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetThumbDisabledImage(v); }},
    {L"railnormalimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetRailNormalImage(v); }},
    {L"railhotimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetRailHotImage(v); }},
    {L"railpushedimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetRailPushedImage(v); }},
    {L"raildisabledimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetRailDisabledImage(v); }},
    {L"bknormalimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetBkNormalImage(v); }},
    {L"bkhotimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetBkHotImage(v); }},
    {L"bkpushedimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetBkPushedImage(v); }},
    {L"bkdisabledimage", AttrSyntax::Image, [](CScrollBarUI& c, LPCWSTR v) { c.SetBkDisabledImage(v); }},
    {L"hor", AttrSyntax::Bool, [](CScrollBarUI& c, LPCWSTR v) { c.SetHorizontal(ParseBool(v)); }},
    {L"linesize", AttrSyntax::Int, [](CScrollBarUI& c, LPCWSTR v) { c.SetLineSize(ToInt(ParseInt(v))); }},
    {L"range", AttrSyntax::Int, [](CScrollBarUI& c, LPCWSTR v) { c.SetScrollRange(ToInt(ParseInt(v))); }},
    {L"value", AttrSyntax::Int, [](CScrollBarUI& c, LPCWSTR v) { c.SetScrollPos(ToInt(ParseInt(v))); }},
    {L"showbutton1", AttrSyntax::Bool, [](CScrollBarUI& c, LPCWSTR v) { c.SetShowButton1(ParseBool(v)); }},
    {L"showbutton2", AttrSyntax::Bool, [](CScrollBarUI& c, LPCWSTR v) { c.SetShowButton2(ParseBool(v)); }},
};

constexpr int kDefaultThickness = 16;
// Drawn around a button or the thumb that has no image.
constexpr DWORD kOutlineColor = 0x0085E4FF;
constexpr int kOutlineSize = 2;

bool HasBits(UINT uState, UINT uBits)
{
    return (uState & uBits) != 0;
}

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false),
      m_nRange(100),
      m_nScrollPos(0),
      m_nLineSize(8),
      m_pOwner(nullptr),
      m_ptLastMouse{0, 0},
      m_nLastScrollPos(0),
      m_nLastScrollOffset(0),
      m_nScrollRepeatDelay(0)
{
    m_cxyFixed.cx = kDefaultThickness;
}

LPCWSTR CScrollBarUI::GetClass() const
{
    return kNames.className;
}

LPVOID CScrollBarUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CControlUI::GetInterface(pstrName);
}

CLayoutAxis CScrollBarUI::Axis() const
{
    return CLayoutAxis(m_bHorizontal ? LayoutAxis::Horizontal : LayoutAxis::Vertical);
}

int CScrollBarUI::GetThickness() const
{
    return Axis().FixedAcross(*this);
}

// ---- state ------------------------------------------------------------------------

void CScrollBarUI::SetVisible(bool bVisible)
{
    // The owner lays its bars out itself, so showing or hiding asks for nothing.
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    m_bFocused = false;
}

void CScrollBarUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (IsEnabled()) return;
    m_button1.uState = 0;
    m_button2.uState = 0;
    m_thumb.uState = 0;
}

void CScrollBarUI::SetFocus()
{
    // Keys scroll the owner, so the owner takes the focus for its bar.
    if (m_pOwner != nullptr) m_pOwner->SetFocus();
    else CControlUI::SetFocus();
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    // A bar keeps a thickness it was given; the default one turns with it.
    if (m_bHorizontal && m_cxyFixed.cy == 0) {
        m_cxyFixed = SIZE{0, kDefaultThickness};
    } else if (!m_bHorizontal && m_cxyFixed.cx == 0) {
        m_cxyFixed = SIZE{kDefaultThickness, 0};
    }
    if (m_pOwner != nullptr) m_pOwner->NeedUpdate();
    else NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    if (m_nRange == nRange) return;
    m_nRange = std::max(nRange, 0);
    m_nScrollPos = std::min(m_nScrollPos, m_nRange);
    SetPos(m_rcItem);
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    if (m_nScrollPos == nPos) return;
    m_nScrollPos = std::min(std::max(nPos, 0), m_nRange);
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton1(bool bShow)
{
    m_button1.bShown = bShow;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton2(bool bShow)
{
    m_button2.bShown = bShow;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetImage(CUIString& sImage, LPCWSTR pStrImage)
{
    sImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kScrollBarAttributes, *this, pstrName, pstrValue)) return;
    CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---- geometry -----------------------------------------------------------------------
//
// Written for the axis along the bar: top to bottom for a vertical bar, left
// to right for a horizontal one. The buttons and the thumb are as thick as the
// bar; the thumb's length is the visible share of length + range.

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);

    const CLayoutAxis axis = Axis();
    const LONG t = GetThickness();
    const LONG nNear = axis.Near(m_rcItem);
    const LONG nFar = axis.Far(m_rcItem);
    const LONG nCross = axis.CrossNear(m_rcItem);
    const LONG nLength = nFar - nNear;
    const LONG nTrack = nLength - (m_button1.bShown ? t : 0) - (m_button2.bShown ? t : 0);

    // With room for a thumb this is the thickness; a bar too short for one
    // gives each button half its length at most.
    const LONG nButton = std::min(nLength / 2, t);
    m_button1.rc = m_button1.bShown ? axis.MakeRect(nNear, nNear + nButton, nCross, nCross + t)
                                    : axis.MakeRect(nNear, nNear, nCross, nCross);
    m_button2.rc = m_button2.bShown ? axis.MakeRect(nFar - nButton, nFar, nCross, nCross + t)
                                    : axis.MakeRect(nFar, nFar, nCross, nCross);
    if (t >= nTrack) {
        m_thumb.rc = RECT{0, 0, 0, 0};
        return;
    }

    const LONG nTrackStart = axis.Far(m_button1.rc);
    const LONG nTrackEnd = axis.Near(m_button2.rc);
    LONG nThumbStart = nTrackStart;
    LONG nThumbEnd = nTrackEnd;
    if (m_nRange > 0) {
        // In 64 bits: length x track and track x position overflow 32 for
        // long content.
        const LONG nThumb =
            static_cast<LONG>(std::max<LONGLONG>(LONGLONG{nLength} * nTrack / (LONGLONG{nLength} + m_nRange), t));
        nThumbStart = nTrackStart + static_cast<LONG>(LONGLONG{nTrack - nThumb} * m_nScrollPos / m_nRange);
        nThumbEnd = nThumbStart + nThumb;
        if (nThumbEnd > nTrackEnd) {
            nThumbStart = nTrackEnd - nThumb;
            nThumbEnd = nTrackEnd;
        }
    }
    m_thumb.rc = axis.MakeRect(nThumbStart, nThumbEnd, nCross, nCross + t);
}

// ---- scrolling ------------------------------------------------------------------------

void CScrollBarUI::LineBack()
{
    if (m_pOwner == nullptr) SetScrollPos(m_nScrollPos - m_nLineSize);
    else if (m_bHorizontal) m_pOwner->LineLeft();
    else m_pOwner->LineUp();
}

void CScrollBarUI::LineForward()
{
    if (m_pOwner == nullptr) SetScrollPos(m_nScrollPos + m_nLineSize);
    else if (m_bHorizontal) m_pOwner->LineRight();
    else m_pOwner->LineDown();
}

void CScrollBarUI::PageBack()
{
    if (m_pOwner == nullptr) SetScrollPos(m_nScrollPos - Axis().Extent(m_rcItem));
    else if (m_bHorizontal) m_pOwner->PageLeft();
    else m_pOwner->PageUp();
}

void CScrollBarUI::PageForward()
{
    if (m_pOwner == nullptr) SetScrollPos(m_nScrollPos + Axis().Extent(m_rcItem));
    else if (m_bHorizontal) m_pOwner->PageRight();
    else m_pOwner->PageDown();
}

void CScrollBarUI::PageTowards(POINT pt)
{
    const CLayoutAxis axis = Axis();
    const LONG nAt = axis.Along(pt);
    if (nAt < axis.Near(m_thumb.rc)) PageBack();
    else if (nAt >= axis.Far(m_thumb.rc)) PageForward();
}

// ---- events ---------------------------------------------------------------------------

void CScrollBarUI::PassOn(TEventUI& event)
{
    if (m_pOwner != nullptr) m_pOwner->DoEvent(event);
    else CControlUI::DoEvent(event);
}

void CScrollBarUI::NotifyScrollWithoutOwner()
{
    if (m_pManager != nullptr && m_pOwner == nullptr) m_pManager->SendNotify(this, L"scroll");
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    // The owner, not necessarily the parent, gets the mouse of a bar that
    // does not take it.
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        PassOn(event);
        return;
    }
    switch (event.kind) {
    case EVT_SETFOCUS:
    case EVT_KILLFOCUS:
    case EVT_CONTEXTMENU: return;
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
        if (IsEnabled()) OnButtonDown(event.mousePos);
        return;
    case EVT_BUTTONUP: OnButtonUp(); return;
    case EVT_MOUSEMOVE: OnMouseMove(event.mousePos); return;
    case EVT_TIMER:
        if (event.wParam == kTimerId) {
            OnTimer();
            return;
        }
        break;
    case EVT_MOUSEENTER:
        if (IsEnabled()) {
            m_button1.uState |= CTRLSTATE_HOT;
            m_button2.uState |= CTRLSTATE_HOT;
            if (::PtInRect(&m_thumb.rc, event.mousePos)) m_thumb.uState |= CTRLSTATE_HOT;
            Invalidate();
        }
        return;
    case EVT_MOUSELEAVE:
        if (IsEnabled()) {
            m_button1.uState &= ~CTRLSTATE_HOT;
            m_button2.uState &= ~CTRLSTATE_HOT;
            m_thumb.uState &= ~CTRLSTATE_HOT;
            Invalidate();
        }
        return;
    default: break;
    }
    PassOn(event);
}

void CScrollBarUI::OnButtonDown(POINT pt)
{
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) m_pManager->SetTimer(this, kTimerId, kTimerInterval);

    if (::PtInRect(&m_button1.rc, pt)) {
        m_button1.uState |= CTRLSTATE_PUSHED;
        LineBack();
    } else if (::PtInRect(&m_button2.rc, pt)) {
        m_button2.uState |= CTRLSTATE_PUSHED;
        LineForward();
    } else if (::PtInRect(&m_thumb.rc, pt)) {
        m_thumb.uState |= CTRLSTATE_CAPTURED | CTRLSTATE_PUSHED;
        m_ptLastMouse = pt;
        m_nLastScrollPos = m_nScrollPos;
    } else {
        PageTowards(pt);
    }
    // The pressed look shows even when the position is already at its end.
    Invalidate();
    NotifyScrollWithoutOwner();
}

void CScrollBarUI::OnButtonUp()
{
    m_nScrollRepeatDelay = 0;
    m_nLastScrollOffset = 0;
    if (m_pManager != nullptr) m_pManager->KillTimer(this, kTimerId);

    if (HasBits(m_thumb.uState, CTRLSTATE_CAPTURED)) {
        m_thumb.uState &= ~(CTRLSTATE_CAPTURED | CTRLSTATE_PUSHED);
    } else if (HasBits(m_button1.uState, CTRLSTATE_PUSHED)) {
        m_button1.uState &= ~CTRLSTATE_PUSHED;
    } else if (HasBits(m_button2.uState, CTRLSTATE_PUSHED)) {
        m_button2.uState &= ~CTRLSTATE_PUSHED;
    } else {
        return;
    }
    Invalidate();
}

void CScrollBarUI::OnMouseMove(POINT pt)
{
    if (HasBits(m_thumb.uState, CTRLSTATE_CAPTURED)) {
        // Only remembered here: the timer moves the thumb, so a fast drag
        // costs one re-layout per tick instead of one per mouse message.
        const CLayoutAxis axis = Axis();
        const LONGLONG nFree = LONGLONG{axis.Extent(m_rcItem)} - axis.Extent(m_thumb.rc) - 2 * GetThickness();
        if (nFree != 0) {
            const LONGLONG nOffset = (LONGLONG{axis.Along(pt)} - axis.Along(m_ptLastMouse)) * m_nRange / nFree;
            // Beyond the whole range the position is clamped anyway; kept in
            // range here so adding it to the last position cannot overflow.
            m_nLastScrollOffset =
                static_cast<int>(std::min<LONGLONG>(std::max<LONGLONG>(nOffset, -m_nRange), m_nRange));
        }
    } else if (!HasBits(m_thumb.uState, CTRLSTATE_HOT)) {
        if (IsEnabled() && ::PtInRect(&m_thumb.rc, pt)) {
            m_thumb.uState |= CTRLSTATE_HOT;
            Invalidate();
        }
    } else if (!::PtInRect(&m_thumb.rc, pt)) {
        m_thumb.uState &= ~CTRLSTATE_HOT;
        Invalidate();
    }
}

void CScrollBarUI::OnTimer()
{
    ++m_nScrollRepeatDelay;
    if (HasBits(m_thumb.uState, CTRLSTATE_CAPTURED)) {
        const int nPos = m_nLastScrollPos + m_nLastScrollOffset;
        if (m_pOwner != nullptr) {
            SIZE szPos = m_pOwner->GetScrollPos();
            Axis().Along(szPos) = nPos;
            m_pOwner->SetScrollPos(szPos);
        } else {
            SetScrollPos(nPos);
        }
        Invalidate();
    } else {
        // A held press repeats from the sixth tick on: after 300 ms, then every 50 ms.
        if (m_nScrollRepeatDelay <= kRepeatDelayTicks) return;
        if (HasBits(m_button1.uState, CTRLSTATE_PUSHED)) {
            LineBack();
        } else if (HasBits(m_button2.uState, CTRLSTATE_PUSHED)) {
            LineForward();
        } else if (m_pManager != nullptr) {
            // The rail is held: page towards wherever the pointer is now.
            POINT pt;
            ::GetCursorPos(&pt);
            ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            PageTowards(pt);
        }
    }
    // Left to the implementer: ticks that only count towards the repeat send
    // nothing, since nothing scrolled.
    NotifyScrollWithoutOwner();
}

// ---- painting -------------------------------------------------------------------------

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    // The rail image lies over the thumb.
    PaintBk(hDC);
    PaintButton1(hDC);
    PaintButton2(hDC);
    PaintThumb(hDC);
    PaintRail(hDC);
}

LPCWSTR CScrollBarUI::DestModifier(const RECT& rc)
{
    m_sImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", rc.left - m_rcItem.left, rc.top - m_rcItem.top,
                               rc.right - m_rcItem.left, rc.bottom - m_rcItem.top);
    return m_sImageModify;
}

bool CScrollBarUI::DrawOnce(HDC hDC, CUIString& sImage, LPCWSTR pStrModify)
{
    if (sImage.IsEmpty()) return false;
    if (DrawImage(hDC, sImage, pStrModify)) return true;
    sImage.Empty();
    return false;
}

bool CScrollBarUI::DrawStateImage(HDC hDC, TStateImages& images, UINT uState, LPCWSTR pStrModify)
{
    CUIString* pChosen = &images.normal;
    if (HasBits(uState, CTRLSTATE_DISABLED)) pChosen = &images.disabled;
    else if (HasBits(uState, CTRLSTATE_PUSHED)) pChosen = &images.pushed;
    else if (HasBits(uState, CTRLSTATE_HOT)) pChosen = &images.hot;
    if (pChosen != &images.normal && DrawOnce(hDC, *pChosen, pStrModify)) return true;
    return DrawOnce(hDC, images.normal, pStrModify);
}

void CScrollBarUI::PaintPart(HDC hDC, TPart& part)
{
    // An empty part (a hidden button, the thumb of a bar too short for one)
    // has nothing to show, not even an outline.
    if (::IsRectEmpty(&part.rc)) return;
    SetStateBits(part.uState, CTRLSTATE_DISABLED, !IsEnabled());
    if (DrawStateImage(hDC, part.images, part.uState, DestModifier(part.rc))) return;
    CRenderEngine::DrawRect(hDC, part.rc, kOutlineSize, kOutlineColor);
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    // The background shares the thumb's state.
    SetStateBits(m_thumb.uState, CTRLSTATE_DISABLED, !IsEnabled());
    DrawStateImage(hDC, m_bkImages, m_thumb.uState, nullptr);
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (m_button1.bShown) PaintPart(hDC, m_button1);
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (m_button2.bShown) PaintPart(hDC, m_button2);
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    PaintPart(hDC, m_thumb);
}

void CScrollBarUI::PaintRail(HDC hDC)
{
    if (::IsRectEmpty(&m_thumb.rc)) return;
    SetStateBits(m_thumb.uState, CTRLSTATE_DISABLED, !IsEnabled());
    // A square of the bar's thickness centred on the thumb, in the thumb's state.
    const CLayoutAxis axis = Axis();
    const LONG t = GetThickness();
    const LONG nStart = (axis.Near(m_thumb.rc) + axis.Far(m_thumb.rc)) / 2 - t / 2;
    const RECT rcRail = axis.MakeRect(nStart, nStart + t, axis.CrossNear(m_thumb.rc), axis.CrossFar(m_thumb.rc));
    DrawStateImage(hDC, m_railImages, m_thumb.uState, DestModifier(rcRail));
}

} // namespace VarnelUI
