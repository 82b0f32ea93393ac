#pragma once
// What the vertical and the horizontal layouts share: one placement pass that
// stacks the children along an axis (fixed and estimated sizes first, the rest
// shared among the children without a size) and the separator strip by which
// the user resizes the layout itself. The two layouts differ only in the axis
// and in the few rules named in TBoxRules.

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UILayoutAxis.h"
#include "varnelui/control/UILayoutSeparator.h"

namespace VarnelUI {

struct TBoxRules
{
    LayoutAxis axis;
    // The vertical layout takes the scroll bars' room before looking for
    // children, so even an empty one reports the reduced area to its bars;
    // the horizontal one reports its whole inner area when empty.
    bool barsReservedWhenEmpty;
    // Only the vertical layout shifts its children sideways by the horizontal
    // scroll position; the horizontal layout never applies the vertical one.
    bool followsCrossScroll;
};

class VARNELUI_API CBoxLayoutUI : public CContainerUI
{
public:
    ~CBoxLayoutUI() override;

    UINT GetControlFlags() const override;

    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    explicit CBoxLayoutUI(const TBoxRules& rules);

    // The separator size: > 0 a strip on the far edge, < 0 on the near edge, 0 none.
    void SetSepSize(int nSize);
    int GetSepSize() const;

    // The content's extent across the axis, handed to ProcessScrollBar with
    // the extent along it; nWidestChild is the largest clamped estimate of a
    // child. The layouts leave the cross bar to a range set on it (0).
    virtual LONG GetCrossExtent(SIZE szAvailable, LONG nWidestChild);
    // A child's size across the axis, given the room across less its padding
    // and the content's cross extent: its fixed size, else the room.
    virtual LONG GetChildCrossSize(const CControlUI& control, LONG nRoom, LONG nCrossExtent) const;

private:
    const TBoxRules m_rules;
    const CLayoutAxis m_axis;
    CLayoutSeparator m_separator;
};

} // namespace VarnelUI
