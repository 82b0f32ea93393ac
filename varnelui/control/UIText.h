#pragma once
// A label that wraps its text over several lines, measures the height it
// needs, and with markup turns the links of its text into clickable areas
// that report "link" with the link's index.

#include "varnelui/control/UILabel.h"

namespace VarnelUI {

class VARNELUI_API CTextUI : public CLabelUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Text", L"TextUI", L"Text"};
    // Links beyond this many are drawn but cannot be clicked.
    static constexpr int kMaxLinks = 8;

    CTextUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetText(LPCWSTR pstrText) override;
    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    // The target of the link at that index as last drawn, or null.
    const CUIString* GetLinkContent(int iIndex) const;

protected:
    // Index of the first link containing the point, or -1.
    int FindLink(POINT pt) const;

    int m_nLinks;
    RECT m_rcLinks[kMaxLinks];
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink;
};

} // namespace VarnelUI
