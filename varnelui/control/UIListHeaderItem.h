#pragma once
// One column of a list header: a caption with state images that reports
// "headerclick", and a separator strip on one edge by which the user drags
// the column wider or narrower while the list follows live.

#include "varnelui/control/UIContainer.h"

namespace VarnelUI {

class VARNELUI_API CListHeaderItemUI : public CContainerUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ListHeaderItem", L"ListHeaderItemUI", L"ListHeaderItem"};

    CListHeaderItemUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    bool IsDragable() const;
    // Turning dragging off also ends a drag in progress.
    void SetDragable(bool bDragable);
    // >= 0: a strip of that width on the right edge; < 0: of minus that
    // width on the left edge.
    int GetSepWidth() const;
    void SetSepWidth(int iWidth);
    // The separator strip.
    RECT GetThumbRect() const;

    // Colours are 0xAARRGGBB; 0 takes the window's default font colour.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD dwTextColor);
    int GetFont() const;
    void SetFont(int index);
    UINT GetTextStyle() const;
    void SetTextStyle(UINT uStyle);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const;
    void SetShowHtml(bool bShowHtml = true);

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetSepImage() const;
    void SetSepImage(LPCWSTR pStrImage);

private:
    // On the strip widened toward the inside of the item, where the mouse grabs it.
    bool IsOnGrip(POINT pt) const;
    // Draws a state image, with the normal one under it when it is empty.
    void PaintStateOverNormal(HDC hDC, CUIString& sImage);

    bool m_bDragable;
    UINT m_uButtonState;
    int m_iSepWidth;
    DWORD m_dwTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    bool m_bShowHtml;
    RECT m_rcTextPadding;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sSepImage;
    POINT m_ptLastMouse;
};

} // namespace VarnelUI
