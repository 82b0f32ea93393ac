#pragma once
// One axis of a layout: accessors along it and across it, so a routine
// written once serves the vertical and the horizontal case.

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

enum class LayoutAxis { Vertical, Horizontal };

class CLayoutAxis
{
public:
    constexpr explicit CLayoutAxis(LayoutAxis axis) : m_bVertical(axis == LayoutAxis::Vertical) {}

    constexpr bool IsVertical() const { return m_bVertical; }

    // Along the axis: top/bottom and height when vertical, left/right and width otherwise.
    LONG& Near(RECT& rc) const { return m_bVertical ? rc.top : rc.left; }
    LONG Near(const RECT& rc) const { return m_bVertical ? rc.top : rc.left; }
    LONG& Far(RECT& rc) const { return m_bVertical ? rc.bottom : rc.right; }
    LONG Far(const RECT& rc) const { return m_bVertical ? rc.bottom : rc.right; }
    LONG Extent(const RECT& rc) const { return Far(rc) - Near(rc); }
    LONG Along(POINT pt) const { return m_bVertical ? pt.y : pt.x; }
    LONG& Along(SIZE& sz) const { return m_bVertical ? sz.cy : sz.cx; }
    LONG Along(const SIZE& sz) const { return m_bVertical ? sz.cy : sz.cx; }

    // Across the axis.
    LONG CrossNear(const RECT& rc) const { return m_bVertical ? rc.left : rc.top; }
    LONG CrossFar(const RECT& rc) const { return m_bVertical ? rc.right : rc.bottom; }
    LONG Across(const SIZE& sz) const { return m_bVertical ? sz.cx : sz.cy; }

    // A control's size limits along and across.
    int MinAlong(const CControlUI& c) const { return m_bVertical ? c.GetMinHeight() : c.GetMinWidth(); }
    int MaxAlong(const CControlUI& c) const { return m_bVertical ? c.GetMaxHeight() : c.GetMaxWidth(); }
    int MinAcross(const CControlUI& c) const { return m_bVertical ? c.GetMinWidth() : c.GetMinHeight(); }
    int MaxAcross(const CControlUI& c) const { return m_bVertical ? c.GetMaxWidth() : c.GetMaxHeight(); }
    int FixedAcross(const CControlUI& c) const { return m_bVertical ? c.GetFixedWidth() : c.GetFixedHeight(); }

    // The rectangle with these edges along and across the axis.
    RECT MakeRect(LONG nearAlong, LONG farAlong, LONG nearAcross, LONG farAcross) const
    {
        return m_bVertical ? RECT{nearAcross, nearAlong, farAcross, farAlong}
                           : RECT{nearAlong, nearAcross, farAlong, farAcross};
    }

private:
    bool m_bVertical;
};

} // namespace VarnelUI
