#pragma once
// What a list and its items know of each other: the appearance one owner
// holds for all its items, the owner's and the item's interfaces, and the
// item attributes every owner of list items reads from a skin.

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIEvents.h"
#include "varnelui/core/UIString.h"

namespace VarnelUI {

class CControlUI;
class CListBodyUI;
class CListHeaderUI;

// The appearance shared by all items of one owner.
struct TListInfoUI
{
    static constexpr int kMaxColumns = 32;

    int nColumns = 0;
    RECT rcColumn[kMaxColumns] = {};
    int nFont = -1;
    UINT uTextStyle = DT_VCENTER;
    RECT rcTextPadding = {};
    DWORD dwTextColor = 0xFF000000;
    DWORD dwBkColor = 0;
    CUIString sBkImage;
    bool bAlternateBk = false;
    DWORD dwSelectedTextColor = 0xFF000000;
    DWORD dwSelectedBkColor = 0xFFC1E3FF;
    CUIString sSelectedImage;
    DWORD dwHotTextColor = 0xFF000000;
    DWORD dwHotBkColor = 0xFFE9F5FF;
    CUIString sHotImage;
    DWORD dwDisabledTextColor = 0xFFCCCCCC;
    DWORD dwDisabledBkColor = 0xFFFFFFFF;
    CUIString sDisabledImage;
    DWORD dwLineColor = 0;
    bool bShowHtml = false;
    bool bMultiExpandable = false;
};

// Anything that holds list items and keeps their selection.
class IListOwnerUI
{
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    virtual void DoEvent(TEventUI& event) = 0;

protected:
    // Owners are deleted as controls, never through these interfaces.
    ~IListOwnerUI() = default;
};

// Supplies the texts of multi-column items instead of storing them.
class IListCallbackUI
{
public:
    virtual LPCWSTR GetItemText(CControlUI* pItem, int iItem, int iSubItem) = 0;

protected:
    ~IListCallbackUI() = default;
};

class IListUI : public IListOwnerUI
{
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CListBodyUI* GetList() const = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListCallbackUI* pCallback) = 0;
    virtual bool ExpandItem(int iIndex, bool bExpand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

class IListItemUI
{
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool bExpand = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

// Keeps an owner's selection on the same item when the item at iRemoved has
// left: one less when it lay before the selection. True when the selected
// item itself went; the selection is then -1 and the owner selects anew.
inline bool AdjustSelectionForRemoval(int& iCurSel, int iRemoved)
{
    if (iRemoved == iCurSel) {
        iCurSel = -1;
        return true;
    }
    if (iRemoved < iCurSel) --iCurSel;
    return false;
}

// The horizontal alignment words of "itemalign" and a header item's "align":
// "left", "center" and "right", tested in that order, each found anywhere in
// the value.
VARNELUI_API UINT ApplyHorizontalAlign(UINT uStyle, LPCWSTR pstrValue);

// Applies one of the item attributes every owner of list items reads (fonts,
// alignment, padding, colours and images per state) through the owner's item
// setters. False for any other name, so the owner hands it to its base.
template <class T>
bool ApplyListItemAttribute(T& owner, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using AttrParse::AttrSyntax;
    using AttrParse::ParseBool;
    using AttrParse::ParseColor;
    using Entry = AttrParse::TAttributeEntry<T>;
    static const Entry kAttributes[] = {
        {L"itemfont", AttrSyntax::FontId,
         [](T& c, LPCWSTR v) { c.SetItemFont(AttrParse::ToInt(AttrParse::ParseInt(v))); }},
        {L"itemalign", AttrSyntax::Text,
         [](T& c, LPCWSTR v) { c.SetItemTextStyle(ApplyHorizontalAlign(c.GetItemTextStyle(), v)); }},
        {L"itemendellipsis", AttrSyntax::Bool,
         [](T& c, LPCWSTR v) {
             const UINT uStyle = c.GetItemTextStyle();
             c.SetItemTextStyle(ParseBool(v) ? uStyle | DT_END_ELLIPSIS : uStyle & ~static_cast<UINT>(DT_END_ELLIPSIS));
         }},
        {L"itemtextpadding", AttrSyntax::Rect, [](T& c, LPCWSTR v) { c.SetItemTextPadding(AttrParse::ParseRect(v)); }},
        {L"itemtextcolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetItemTextColor(ParseColor(v)); }},
        {L"itembkcolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetItemBkColor(ParseColor(v)); }},
        {L"itembkimage", AttrSyntax::Image, [](T& c, LPCWSTR v) { c.SetItemBkImage(v); }},
        {L"itemaltbk", AttrSyntax::Bool, [](T& c, LPCWSTR v) { c.SetAlternateBk(ParseBool(v)); }},
        {L"itemselectedtextcolor", AttrSyntax::Color,
         [](T& c, LPCWSTR v) { c.SetSelectedItemTextColor(ParseColor(v)); }},
        {L"itemselectedbkcolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetSelectedItemBkColor(ParseColor(v)); }},
        {L"itemselectedimage", AttrSyntax::Image, [](T& c, LPCWSTR v) { c.SetSelectedItemImage(v); }},
        {L"itemhottextcolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetHotItemTextColor(ParseColor(v)); }},
        {L"itemhotbkcolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetHotItemBkColor(ParseColor(v)); }},
        {L"itemhotimage", AttrSyntax::Image, [](T& c, LPCWSTR v) { c.SetHotItemImage(v); }},
        {L"itemdisabledtextcolor", AttrSyntax::Color,
         [](T& c, LPCWSTR v) { c.SetDisabledItemTextColor(ParseColor(v)); }},
        {L"itemdisabledbkcolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetDisabledItemBkColor(ParseColor(v)); }},
        {L"itemdisabledimage", AttrSyntax::Image, [](T& c, LPCWSTR v) { c.SetDisabledItemImage(v); }},
        {L"itemlinecolor", AttrSyntax::Color, [](T& c, LPCWSTR v) { c.SetItemLineColor(ParseColor(v)); }},
        {L"itemshowhtml", AttrSyntax::Bool, [](T& c, LPCWSTR v) { c.SetItemShowHtml(ParseBool(v)); }},
    };
    return AttrParse::ApplyFromTable(kAttributes, owner, pstrName, pstrValue);
}

} // namespace VarnelUI
