#pragma once
// Stacks its children from top to bottom: fixed and estimated heights first,
// the rest shared among the children without a height. Optionally resizable
// by the user through a separator strip on its top or bottom edge.

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UILayoutSeparator.h"

namespace VarnelUI {

class VARNELUI_API CVerticalLayoutUI : public CContainerUI
{
public:
    CVerticalLayoutUI();
    ~CVerticalLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetSepHeight(int iHeight);
    int GetSepHeight() const;
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

private:
    CLayoutSeparator m_separator;
};

} // namespace VarnelUI
