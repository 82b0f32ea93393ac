#pragma once
// Places its children from left to right: fixed and estimated widths first,
// the rest shared among the children without a width. Optionally resizable
// by the user through a separator strip on its left or right edge.

#include "varnelui/control/UIBoxLayout.h"

namespace VarnelUI {

class VARNELUI_API CHorizontalLayoutUI : public CBoxLayoutUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"HorizontalLayout", L"HorizontalLayoutUI", L"HorizontalLayout"};

    CHorizontalLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetSepWidth(int iWidth);
    int GetSepWidth() const;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
};

} // namespace VarnelUI
