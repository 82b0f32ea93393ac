#pragma once
// Places its children from left to right: fixed and estimated widths first,
// the rest shared among the children without a width. Optionally resizable
// by the user through a separator strip on its left or right edge.

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UILayoutSeparator.h"

namespace VarnelUI {

class VARNELUI_API CHorizontalLayoutUI : public CContainerUI
{
public:
    CHorizontalLayoutUI();
    ~CHorizontalLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetSepWidth(int iWidth);
    int GetSepWidth() const;
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
