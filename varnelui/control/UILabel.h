#pragma once
// A control that draws one line of text: alignment, padding, enabled and
// disabled colours, a font from the window's font table, optional inline
// markup, and an alternative GDI+ path with gradient fill, shadow and outline.

#include "varnelui/control/UIControl.h"
#include "varnelui/core/GdiplusToken.h"

#include <gdiplus.h>

namespace VarnelUI {

class VARNELUI_API CLabelUI : public CControlUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Label", L"LabelUI", L"Label"};

    CLabelUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // While effects are enabled the text goes to and comes from the effect text.
    CUIString GetText() const override;
    void SetText(LPCWSTR pstrText) override;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    // Colours are 0xAARRGGBB; 0 takes the window's default at the first paint.
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const;
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    // Index into the window's font table; -1 is the default font.
    void SetFont(int index);
    int GetFont() const;
    // DT_ flags of the platform's text drawing call.
    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const;
    void SetTextPadding(RECT rc);
    RECT GetTextPadding() const;
    void SetShowHtml(bool bShowHtml = true);
    bool IsShowHtml() const;

    // Effect settings take effect at the next paint; they do not invalidate.
    void SetEnabledEffect(bool bEnable);
    bool GetEnabledEffect() const;
    void SetEnabledShadow(bool bEnable);
    bool GetEnabledShadow() const;
    void SetEnabledStroke(bool bEnable);
    bool GetEnabledStroke() const;
    // Alphas (0-255) of the gradients' start and end colours and of the outline.
    void SetTransShadow(int nTrans);
    int GetTransShadow() const;
    void SetTransShadow1(int nTrans);
    int GetTransShadow1() const;
    void SetTransText(int nTrans);
    int GetTransText() const;
    void SetTransText1(int nTrans);
    int GetTransText1() const;
    void SetTransStroke(int nTrans);
    int GetTransStroke() const;
    // The gradient runs from (angle, 0) to (0, length); length 0 is the text
    // area's height.
    void SetGradientAngle(int nAngle);
    int GetGradientAngle() const;
    void SetGradientLength(int nLength);
    int GetGradientLength() const;
    // 0xFFFFFFFF as an end colour means "the same as the start colour".
    void SetTextColor1(DWORD dwColor);
    DWORD GetTextColor1() const;
    void SetTextShadowColorA(DWORD dwColor);
    DWORD GetTextShadowColorA() const;
    void SetTextShadowColorB(DWORD dwColor);
    DWORD GetTextShadowColorB() const;
    // 0 draws no outline.
    void SetStrokeColor(DWORD dwColor);
    DWORD GetStrokeColor() const;
    // A GDI+ text rendering hint, 0 to 5; other values store 0.
    void SetTextRenderingHintAntiAlias(int nHint);
    int GetTextRenderingHintAntiAlias() const;
    // Moves the shadow by `offset` pixels in a direction given by `angle`
    // (-180 to 180; other angles are ignored). X and Y of the result hold the
    // displacement; width and height are 0.
    void SetShadowOffset(int nOffset, int nAngle);
    Gdiplus::RectF GetShadowOffset() const;

protected:
    // Replaces colours still 0 by the window's defaults, once and for good.
    void ApplyDefaultTextColors();
    // The item rectangle less the text padding.
    RECT GetTextRect() const;
    // Height of the control's font as the window measured it, or 0 without a window.
    int GetFontHeight() const;
    // Draws the text in rc with the markup renderer (show HTML) or the plain
    // text renderer in the control's font. Returns rc as the renderer left
    // it: with DT_CALCRECT, the room the text needs.
    RECT DrawTextIn(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle);

    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;
    bool m_bShowHtml;

    // GDI+ string alignments of the effect path (0 near, 1 centre, 2 far).
    int m_nEffectHAlign;
    int m_nEffectVAlign;
    int m_nTransShadow;
    int m_nTransShadow1;
    int m_nTransText;
    int m_nTransText1;
    int m_nTransStroke;
    int m_nGradientLength;
    int m_nGradientAngle;
    bool m_bEnableEffect;
    bool m_bEnableStroke;
    bool m_bEnableShadow;
    DWORD m_dwTextColor1;
    DWORD m_dwTextShadowColorA;
    DWORD m_dwTextShadowColorB;
    DWORD m_dwStrokeColor;
    float m_fShadowOffsetX;
    float m_fShadowOffsetY;
    CUIString m_sEffectText;
    int m_nTextRenderingHint;

private:
    void PaintEffectText(HDC hDC, const RECT& rcText);

    CGdiplusToken m_gdiplus;
};

} // namespace VarnelUI
