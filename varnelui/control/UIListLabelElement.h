#pragma once
// A list item showing one text, the control's own, in the owner's font,
// colours and style; it is selected by a click and made hot by the mouse.

#include "varnelui/control/UIListElement.h"

namespace VarnelUI {

class VARNELUI_API CListLabelElementUI : public CListElementUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ListLabelElement", L"ListLabelElementUI", L"ListLabelElement"};

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

protected:
    // Height of the owner's font plus the room the item adds around it.
    static LONG RowHeight(CPaintManagerUI* pManager, const TListInfoUI* pInfo);
};

} // namespace VarnelUI
