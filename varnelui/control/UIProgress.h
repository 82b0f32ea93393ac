#pragma once
// A label that shows a value between a minimum and a maximum as a foreground
// image over the filled part of the control, from the left or from the bottom.

#include "varnelui/control/UILabel.h"
#include "varnelui/control/UILayoutAxis.h"

namespace VarnelUI {

class VARNELUI_API CProgressUI : public CLabelUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Progress", L"ProgressUI", L"Progress"};

    CProgressUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    // Horizontal bars fill from the left, vertical ones from the bottom.
    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    // The range and the value are stored as given; the next paint puts them in
    // order (maximum above minimum, value between them) and keeps the result.
    int GetMinValue() const;
    void SetMinValue(int nMin);
    int GetMaxValue() const;
    void SetMaxValue(int nMax);
    int GetValue() const;
    void SetValue(int nValue);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);
    // Stretch the whole image over the filled part, or show the matching piece
    // of it unscaled.
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool bStretch = true);

protected:
    // The value, minimum and maximum as the next paint uses them.
    struct TRange
    {
        int nMin;
        int nMax;
        int nValue;
    };
    TRange GetPaintRange() const;

    CLayoutAxis GetAxis() const;
    // Screen coordinates grow downwards but values grow upwards: the minimum
    // sits at the near (left) end of a horizontal bar and at the far (bottom)
    // end of a vertical one.
    bool IsMinimumAtNearEnd() const;
    // a * b / c with a 64-bit product, truncated toward zero; c must not be 0.
    static int Scale(long long a, long long b, long long c);

    bool m_bHorizontal;
    bool m_bStretchForeImage;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    CUIString m_sForeImage;
};

} // namespace VarnelUI
