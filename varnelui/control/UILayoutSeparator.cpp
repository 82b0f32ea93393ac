#include "varnelui/control/UILayoutSeparator.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIEvents.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRect.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>

namespace VarnelUI {

namespace {

constexpr DWORD kTrackerColor = 0xAA000000;

} // namespace

CLayoutSeparator::CLayoutSeparator(LayoutAxis axis)
    : m_axis(axis),
      m_nSize(0),
      m_uButtonState(0),
      m_ptLastMouse{0, 0},
      m_rcNewPos{0, 0, 0, 0},
      m_bImmMode(false)
{
}

int CLayoutSeparator::GetSize() const
{
    return m_nSize;
}

void CLayoutSeparator::SetSize(int nSize)
{
    m_nSize = nSize;
}

bool CLayoutSeparator::IsImmMode() const
{
    return m_bImmMode;
}

void CLayoutSeparator::SetImmMode(bool bImmediate, CControlUI& owner)
{
    if (m_bImmMode == bImmediate) return;
    if (UsesTracker(owner)) owner.GetManager()->RemovePostPaint(&owner);
    m_bImmMode = bImmediate;
}

bool CLayoutSeparator::IsDragging() const
{
    return (m_uButtonState & CTRLSTATE_CAPTURED) != 0;
}

bool CLayoutSeparator::UsesTracker(const CControlUI& owner) const
{
    return IsDragging() && !m_bImmMode && owner.GetManager() != nullptr;
}

RECT CLayoutSeparator::GetThumbRect(const RECT& rcItem, bool bUseNew) const
{
    const RECT& rc = (bUseNew && IsDragging()) ? m_rcNewPos : rcItem;
    if (m_axis.IsVertical()) {
        // The vertical strip never reaches beyond the layout.
        if (m_nSize >= 0) return RECT{rc.left, std::max(rc.bottom - m_nSize, rc.top), rc.right, rc.bottom};
        return RECT{rc.left, rc.top, rc.right, std::min(rc.top - m_nSize, rc.bottom)};
    }
    if (m_nSize >= 0) return RECT{rc.right - m_nSize, rc.top, rc.right, rc.bottom};
    return RECT{rc.left, rc.top, rc.left - m_nSize, rc.bottom};
}

bool CLayoutSeparator::DoEvent(TEventUI& event, CControlUI& owner, RECT& rcItem, LONG& nFixedExtent)
{
    // A drag that has begun is always finished here, even if the separator
    // was taken away meanwhile, so the owner never stays in the post-paint list.
    if (IsDragging()) {
        if (event.kind == EVT_BUTTONUP) {
            m_uButtonState &= ~CTRLSTATE_CAPTURED;
            rcItem = m_rcNewPos;
            if (!m_bImmMode && owner.GetManager() != nullptr) owner.GetManager()->RemovePostPaint(&owner);
            owner.NeedParentUpdate();
            return true;
        }
        if (event.kind == EVT_MOUSEMOVE) {
            const RECT rcBefore = GetThumbRect(rcItem, true);
            // The fixed extent is set directly: in tracking mode the layout
            // must keep its place until the button is released.
            if (MoveTo(event.mousePos, owner)) {
                nFixedExtent = m_axis.Extent(m_rcNewPos);
                if (m_bImmMode) {
                    rcItem = m_rcNewPos;
                    owner.NeedParentUpdate();
                } else if (owner.GetManager() != nullptr) {
                    CUIRect rcInvalid(rcBefore);
                    rcInvalid.Join(GetThumbRect(rcItem, true));
                    rcInvalid.Join(GetThumbRect(rcItem, false));
                    owner.GetManager()->Invalidate(rcInvalid);
                }
            }
            return true;
        }
    }
    if (m_nSize == 0 || !owner.IsEnabled()) return false;

    const RECT rcThumb = GetThumbRect(rcItem, false);
    if (!::PtInRect(&rcThumb, event.mousePos)) return false;
    if (event.kind == EVT_BUTTONDOWN) {
        m_uButtonState |= CTRLSTATE_CAPTURED;
        m_ptLastMouse = event.mousePos;
        m_rcNewPos = rcItem;
        if (UsesTracker(owner)) owner.GetManager()->AddPostPaint(&owner);
        return true;
    }
    if (event.kind == EVT_SETCURSOR) {
        ::SetCursor(::LoadCursorW(nullptr, m_axis.IsVertical() ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    return false;
}

bool CLayoutSeparator::MoveTo(POINT pt, const CControlUI& owner)
{
    const LONG pos = m_axis.Along(pt);
    const LONG delta = pos - m_axis.Along(m_ptLastMouse);
    m_ptLastMouse = pt;

    const int nMin = m_axis.MinAlong(owner);
    const int nMax = m_axis.MaxAlong(owner);
    RECT& rcNow = m_rcNewPos;
    RECT rcNext = rcNow;
    const LONG nowExtent = m_axis.Extent(rcNow);

    if (m_nSize >= 0) {
        // Strip on the far edge: moves only count while the pointer is on the
        // strip's side of the edge it drags.
        const LONG edge = m_axis.Far(rcNow);
        if ((delta > 0 && pos < edge - m_nSize) || (delta < 0 && pos > edge)) return false;
        m_axis.Far(rcNext) = edge + delta;
        if (m_axis.Extent(rcNext) <= nMin) {
            if (nowExtent <= nMin) return false;
            m_axis.Far(rcNext) = m_axis.Near(rcNext) + nMin;
        }
        if (m_axis.Extent(rcNext) >= nMax) {
            if (nowExtent >= nMax) return false;
            m_axis.Far(rcNext) = m_axis.Near(rcNext) + nMax;
        }
    } else {
        const LONG edge = m_axis.Near(rcNow);
        if ((delta > 0 && pos < edge) || (delta < 0 && pos > edge - m_nSize)) return false;
        m_axis.Near(rcNext) = edge + delta;
        if (m_axis.Extent(rcNext) <= nMin) {
            if (nowExtent <= nMin) return false;
            m_axis.Near(rcNext) = m_axis.Far(rcNext) - nMin;
        }
        if (m_axis.Extent(rcNext) >= nMax) {
            if (nowExtent >= nMax) return false;
            m_axis.Near(rcNext) = m_axis.Far(rcNext) - nMax;
        }
    }
    rcNow = rcNext;
    return true;
}

void CLayoutSeparator::DoPostPaint(HDC hDC, const RECT& rcItem) const
{
    if (IsDragging() && !m_bImmMode) CRenderEngine::DrawColor(hDC, GetThumbRect(rcItem, true), kTrackerColor);
}

void CLayoutSeparator::Abandon(CControlUI& owner)
{
    if (UsesTracker(owner)) owner.GetManager()->RemovePostPaint(&owner);
    m_uButtonState &= ~CTRLSTATE_CAPTURED;
}

} // namespace VarnelUI
