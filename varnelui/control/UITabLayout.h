#pragma once
// A container that shows one of its children at a time, like the pages of a
// tab control.

#include "varnelui/control/UIContainer.h"

namespace VarnelUI {

class VARNELUI_API CTabLayoutUI : public CContainerUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"TabLayout", L"TabLayoutUI", L"TabLayout"};

    CTabLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // The first visible page added becomes the selected one; later pages are hidden.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    // Removing the selected page selects the first one left.
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;

    // Places the selected page (and float children); the hidden pages keep
    // their places.
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // ---- non-virtual ---------------------------------------------------------
    // The selected page's index, or -1.
    int GetCurSel() const;
    // Shows and focuses the page and sends "tabselect" (wParam the new index,
    // lParam the old one). False for an index that is not a page's.
    bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);

protected:
    int m_iCurSel;
};

} // namespace VarnelUI
