#pragma once
// The state and behaviour every list item shares, whether it is a plain
// control or a container: its index and owner, selection, the hot state, and
// drawing its background and text with the owner's shared appearance.

#include "varnelui/control/UIListInfo.h"
#include "varnelui/core/UIAttrParse.h"

namespace VarnelUI {

class CControlUI;
class CPaintManagerUI;

// The control flags of a list item: not a tab stop and no cursor of its own;
// it asks for the Enter key.
constexpr UINT kListItemControlFlags = 0x04;

class VARNELUI_API CListItemCore
{
public:
    int GetIndex() const { return m_iIndex; }
    void SetIndex(int iIndex) { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() const { return m_pOwner; }
    // The owner is the control's "IListOwner" part, or none.
    void SetOwner(CControlUI* pOwner);
    bool IsSelected() const { return m_bSelected; }
    bool IsHot() const { return (m_uButtonState & CTRLSTATE_HOT) != 0; }

    // Selecting also makes the owner's selection follow the item.
    bool Select(CControlUI& item, bool bSelect);
    // A hidden item cannot stay selected.
    void OnVisibilityChanged(CControlUI& item);
    // Sends "itemactivate" once the control's own activation succeeded.
    bool Activate(CControlUI& item, bool bActivated);
    // Sets or clears the hot state and repaints.
    void SetHot(CControlUI& item, bool bHot);

    // A double click, or Enter, activates an enabled item; a double click on
    // a disabled one is swallowed. True when the event was taken.
    static bool HandleActivation(CControlUI& item, const TEventUI& event);
    // Clicks ("itemclick", then selection), hover and the mouse events an
    // item ignores. True when the event was taken.
    bool HandleMouse(CControlUI& item, IListItemUI& listItem, const TEventUI& event);

    // The owner's background for this item's state; sOwnBkImage is the
    // item's own background image, emptied when it cannot be drawn.
    void DrawItemBk(CControlUI& item, HDC hDC, CUIString& sOwnBkImage);
    // The owner's text colour for this item's state.
    DWORD GetTextColor(const CControlUI& item) const;

    // Draws one text in the owner's font and style, as one line; with markup
    // the links it holds are recorded in the nLinks slots given (none when
    // prcLinks is null) and nLinks becomes their number.
    static void DrawText(HDC hDC, CPaintManagerUI* pManager, const TListInfoUI& info, RECT& rc, LPCWSTR pstrText,
                         DWORD dwColor, UINT uStyle, RECT* prcLinks, CUIString* psLinks, int& nLinks);

private:
    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

// The attributes every kind of list item reads, whatever control it is built
// on. "selected" goes through the owner, so a skin can show a list with its
// selection already made; an item that is disabled at that point stays
// unselected. True when the name was one of them.
template <class TItem>
bool ApplyListItemElementAttribute(TItem& item, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    static const AttrParse::TAttributeEntry<TItem> kAttributes[] = {
        {L"selected", AttrParse::AttrSyntax::Bool,
         [](TItem& c, LPCWSTR v) {
             IListOwnerUI* pOwner = c.GetOwner();
             // Unselecting the owner's current item clears the owner's
             // selection too, not only the item's flag.
             if (!AttrParse::ParseBool(v) && c.IsSelected() && pOwner != nullptr && pOwner->GetCurSel() == c.GetIndex())
                 pOwner->SelectItem(-1);
             else c.Select(AttrParse::ParseBool(v));
         }},
    };
    return AttrParse::ApplyFromTable(kAttributes, item, pstrName, pstrValue);
}

} // namespace VarnelUI
