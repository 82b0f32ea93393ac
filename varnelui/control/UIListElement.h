#pragma once
// The base of the plain list items: a control that implements the list item
// interface, is selected, activated and made hot through its owner, and
// draws its background with the owner's shared appearance.

#include "varnelui/control/UIControl.h"
#include "varnelui/control/UIListItemCore.h"

namespace VarnelUI {

class VARNELUI_API CListElementUI : public CControlUI, public IListItemUI
{
public:
    // Not a skin element of its own: the builder makes its subclasses.
    static constexpr TControlNames kNames{nullptr, L"ListElementUI", L"ListElement"};

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    bool Activate() override;
    void SetVisible(bool bVisible = true) override;
    void DoEvent(TEventUI& event) override;

    // ---- IListItemUI ----------------------------------------------------------
    int GetIndex() const override;
    void SetIndex(int iIndex) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override;
    bool Select(bool bSelect = true) override;
    bool IsExpanded() const override;
    bool Expand(bool bExpand = true) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    // ---- non-virtual ---------------------------------------------------------
    void DrawItemBk(HDC hDC);

protected:
    // Mouse events of a control that does not take the mouse, and every
    // event the item does not handle, go to the owner, so the list sees the
    // keys and the wheel. True when the event was passed on.
    bool ForwardMouseEventToOwner(TEventUI& event);
    void PassToOwner(TEventUI& event);

    CListItemCore m_item;
};

} // namespace VarnelUI
