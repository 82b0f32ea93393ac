#pragma once
// A progress bar with a thumb the user drags or moves by clicking and by the
// mouse wheel; each finished change is reported as "valuechanged".

#include "varnelui/control/UIProgress.h"

namespace VarnelUI {

class VARNELUI_API CSliderUI : public CProgressUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Slider", L"SliderUI", L"Slider"};

    CSliderUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    // What one wheel notch adds or takes away.
    int GetChangeStep() const;
    void SetChangeStep(int nStep);
    void SetThumbSize(SIZE szXY);
    // In window coordinates, where the next paint draws the thumb.
    RECT GetThumbRect() const;
    LPCWSTR GetThumbImage() const;
    void SetThumbImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR pStrImage);

protected:
    // Sets the value the thumb would have centred on pt, without repainting.
    void SetValueFromPoint(POINT pt);
    void NotifyValueChanged();

    SIZE m_szThumb;
    UINT m_uButtonState;
    int m_nStep;
    CUIString m_sThumbImage;
    CUIString m_sThumbHotImage;
    CUIString m_sThumbPushedImage;
};

} // namespace VarnelUI
