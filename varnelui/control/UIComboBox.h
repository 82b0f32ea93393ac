#pragma once
// A combo that draws an arrow at its right edge, one cell of a five-state
// image strip (normal, hot, pushed, focused, disabled), and keeps its text
// clear of it.

#include "varnelui/control/UICombo.h"

namespace VarnelUI {

class VARNELUI_API CComboBoxUI : public CComboUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ComboBox", L"ComboBoxUI", L"ComboBox"};

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // An image description whose "source" covers the five cells side by side.
    LPCWSTR GetArrowImage() const;
    void SetArrowImage(LPCWSTR pStrImage);

private:
    // The strip's cell for the combo's state.
    int GetArrowCell() const;

    CUIString m_sArrowImage;
    int m_nArrowWidth = 0;
};

} // namespace VarnelUI
