#pragma once
// A list item that is a container of arbitrary controls: selected by a click,
// activated by a double click or Enter, made hot by the mouse, with the
// owner's shared background under its children.

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIListItemCore.h"

namespace VarnelUI {

class VARNELUI_API CListContainerElementUI : public CContainerUI, public IListItemUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ListContainerElement", L"ListContainerElementUI", L"ListContainerElement"};

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    bool Activate() override;
    void SetVisible(bool bVisible = true) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

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
    // Every event the item does not handle goes to the owner, so the list
    // sees the keys and the wheel.
    void PassToOwner(TEventUI& event);

    CListItemCore m_item;
};

} // namespace VarnelUI
