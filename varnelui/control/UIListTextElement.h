#pragma once
// A list item with one text per column of its list's header, each drawn in
// its column; the texts come from the list's text callback or are stored
// here. With markup, the links of all columns are clickable and report
// "link" with the link's index.

#include "varnelui/control/UIListLabelElement.h"

#include <memory>
#include <vector>

namespace VarnelUI {

class VARNELUI_API CListTextElementUI : public CListLabelElementUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ListTextElement", L"ListTextElementUI", L"ListTextElement"};
    // Links beyond this many, over all columns, are drawn but cannot be clicked.
    static constexpr int kMaxLinks = 8;

    CListTextElementUI();
    ~CListTextElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetOwner(CControlUI* pOwner) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    // The stored text of a column, or null when it has none.
    LPCWSTR GetText(int iIndex) const;
    // Stored only for a column of the owner list's header.
    void SetText(int iIndex, LPCWSTR pstrText);

    // One text per column, separated by kColumnSeparator; a column without a
    // part, or with an empty one, loses its text, and parts beyond the
    // owner list's columns are dropped.
    void SetTexts(LPCWSTR pstrTexts);
    static constexpr wchar_t kColumnSeparator = L'|';

    // The target of the link at that index as last drawn, or null.
    const CUIString* GetLinkContent(int iIndex) const;

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

protected:
    // Index of the first link containing the point, or -1.
    int FindLink(POINT pt) const;

    IListUI* m_pOwnerList;
    std::vector<std::unique_ptr<CUIString>> m_aTexts;
    int m_nLinks;
    RECT m_rcLinks[kMaxLinks];
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink;
};

} // namespace VarnelUI
