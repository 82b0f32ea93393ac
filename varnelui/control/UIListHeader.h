#pragma once
// The column header of a list: a horizontal layout of header items whose
// rectangles are the columns the list's multi-column items line up with.

#include "varnelui/control/UIHorizontalLayout.h"

namespace VarnelUI {

class VARNELUI_API CListHeaderUI : public CHorizontalLayoutUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ListHeader", L"ListHeaderUI", L"ListHeader"};

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // As wide as its columns together; without a fixed height, as high as
    // its highest column, and never lower than a line of the default font.
    SIZE EstimateSize(SIZE szAvailable) override;
};

} // namespace VarnelUI
