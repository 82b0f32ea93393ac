#pragma once
// A label that follows the mouse and keyboard, shows an image per state
// (normal, hot, pushed, focused, disabled, plus foreground images), colours its
// text by state and reports "click" when activated.

#include "varnelui/control/UILabel.h"
#include "varnelui/core/UIEvents.h"

namespace VarnelUI {

class VARNELUI_API CButtonUI : public CLabelUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Button", L"ButtonUI", L"Button"};

    CButtonUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    // Sends "click" when the button is visible and enabled.
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    // Image descriptions; each setter repaints.
    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetHotForeImage() const;
    void SetHotForeImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);

    // State colours take effect at the next paint; 0 leaves them unused.
    DWORD GetHotBkColor() const;
    void SetHotBkColor(DWORD dwColor);
    DWORD GetHotTextColor() const;
    void SetHotTextColor(DWORD dwColor);
    DWORD GetPushedTextColor() const;
    void SetPushedTextColor(DWORD dwColor);
    DWORD GetFocusedTextColor() const;
    void SetFocusedTextColor(DWORD dwColor);

protected:
    // Brings the focused and disabled bits up to date before painting.
    void UpdatePaintState();

    UINT m_uButtonState;

    DWORD m_dwHotBkColor;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;

    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sHotForeImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sForeImage;
};

} // namespace VarnelUI
