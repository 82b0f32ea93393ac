#pragma once
// Stacks its children from top to bottom: fixed and estimated heights first,
// the rest shared among the children without a height. Optionally resizable
// by the user through a separator strip on its top or bottom edge.

#include "varnelui/control/UIBoxLayout.h"

namespace VarnelUI {

class VARNELUI_API CVerticalLayoutUI : public CBoxLayoutUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"VerticalLayout", L"VerticalLayoutUI", L"VerticalLayout"};

    CVerticalLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetSepHeight(int iHeight);
    int GetSepHeight() const;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
};

} // namespace VarnelUI
