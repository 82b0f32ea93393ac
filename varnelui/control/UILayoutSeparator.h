#pragma once
// The draggable separator strip shared by the vertical and horizontal
// layouts: a strip along one edge of the layout by which the user resizes the
// layout itself, either live or with a translucent strip following the pointer.

#include "varnelui/control/UILayoutAxis.h"
#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

class CControlUI;
struct TEventUI;

class VARNELUI_API CLayoutSeparator
{
public:
    // Vertical: the strip lies on the bottom or top edge and drags the
    // height; horizontal: on the right or left edge and drags the width.
    explicit CLayoutSeparator(LayoutAxis axis);

    // > 0: a strip of that many pixels on the bottom or right edge; < 0: of
    // minus that many on the top or left edge; 0: no separator.
    int GetSize() const;
    void SetSize(int nSize);

    bool IsImmMode() const;
    // A tracking strip in progress stops being drawn when the mode turns live.
    void SetImmMode(bool bImmediate, CControlUI& owner);

    bool IsDragging() const;

    // The strip on rcItem, or on the dragged position while a drag runs and
    // bUseNew is set.
    RECT GetThumbRect(const RECT& rcItem, bool bUseNew) const;

    // Runs the drag for the owner layout, whose item rectangle and fixed
    // extent along the drag axis are passed in to be updated. Returns false
    // for events the separator does not take.
    bool DoEvent(TEventUI& event, CControlUI& owner, RECT& rcItem, LONG& nFixedExtent);

    // Draws the tracking strip over the finished frame.
    void DoPostPaint(HDC hDC, const RECT& rcItem) const;

    // Called when the owner goes away: a drag in progress must not leave the
    // owner in the paint manager's post-paint list.
    void Abandon(CControlUI& owner);

private:
    bool MoveTo(POINT pt, const CControlUI& owner);
    bool UsesTracker(const CControlUI& owner) const;

    CLayoutAxis m_axis;
    int m_nSize;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
};

} // namespace VarnelUI
