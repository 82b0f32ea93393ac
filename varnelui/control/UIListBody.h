#pragma once
// The body of a list: the vertical layout its items live in. Its rows are as
// wide as the list's header (or the widest row), with a horizontal scroll bar
// when that is wider than the body, and horizontal scrolling moves the
// header's columns with the rows.

#include "varnelui/control/UIVerticalLayout.h"

namespace VarnelUI {

class CListUI;

class VARNELUI_API CListBodyUI : public CVerticalLayoutUI
{
public:
    explicit CListBodyUI(CListUI* pOwner);

    void SetScrollPos(SIZE szPos) override;
    // Every event goes to the list, which handles the keys and the wheel.
    void DoEvent(TEventUI& event) override;

protected:
    LONG GetCrossExtent(SIZE szAvailable, LONG nWidestChild) override;
    LONG GetChildCrossSize(const CControlUI& control, LONG nRoom, LONG nCrossExtent) const override;
    void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) override;

private:
    CListUI* m_pOwner;
};

} // namespace VarnelUI
