#pragma once
// An option whose selected state reads as checked.

#include "varnelui/control/UIOption.h"

namespace VarnelUI {

class VARNELUI_API CCheckBoxUI : public COptionUI
{
public:
    // Skin element and GetClass names; it answers to the option's interface.
    static constexpr TControlNames kNames{L"CheckBox", L"CheckBoxUI", nullptr};

    LPCWSTR GetClass() const override;

    bool GetCheck() const;
    void SetCheck(bool bCheck);
};

} // namespace VarnelUI
