#pragma once
// A selectable list with an optional column header: the header sits at index
// 0 of the list, the body with the items after it. The list keeps the
// selection, moves it by keyboard and wheel, keeps the selected item in view,
// and holds the appearance all its items draw with.

#include "varnelui/control/UIListInfo.h"
#include "varnelui/control/UIVerticalLayout.h"

namespace VarnelUI {

class VARNELUI_API CListUI : public CVerticalLayoutUI, public IListUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"List", L"ListUI", L"List"};

    CListUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // ---- items: the body's children; headers and header items are routed
    // to the list itself and to the header --------------------------------------
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    int FindSelectable(int iIndex, bool bForward = true) const override;

    // ---- IListOwnerUI and IListUI -----------------------------------------------
    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    CListHeaderUI* GetHeader() const override;
    CListBodyUI* GetList() const override;
    IListCallbackUI* GetTextCallback() const override;
    void SetTextCallback(IListCallbackUI* pCallback) override;
    bool ExpandItem(int iIndex, bool bExpand = true) override;
    int GetExpandedItem() const override;

    // ---- scrolling, done by the body ---------------------------------------------
    int GetChildPadding() const override;
    void SetChildPadding(int iPadding) override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    // ---- non-virtual ---------------------------------------------------------
    // Scrolls the body so the item is fully in view; only while something is selected.
    void EnsureVisible(int iIndex);
    void Scroll(int dx, int dy);
    bool GetScrollSelect() const;
    // The wheel moves the selection instead of scrolling.
    void SetScrollSelect(bool bScrollSelect);
    void SetMultiExpanding(bool bMultiExpandable);

    // Font, style, padding and markup change the rows' size: they re-layout.
    void SetItemFont(int iFont);
    void SetItemTextStyle(UINT uStyle);
    UINT GetItemTextStyle() const;
    void SetItemTextPadding(RECT rc);
    RECT GetItemTextPadding() const;
    void SetItemShowHtml(bool bShowHtml = true);
    bool IsItemShowHtml() const;
    // Colours (0xAARRGGBB) and images repaint.
    void SetItemTextColor(DWORD dwTextColor);
    DWORD GetItemTextColor() const;
    void SetItemBkColor(DWORD dwBkColor);
    DWORD GetItemBkColor() const;
    void SetItemBkImage(LPCWSTR pStrImage);
    LPCWSTR GetItemBkImage() const;
    void SetAlternateBk(bool bAlternateBk);
    bool IsAlternateBk() const;
    void SetSelectedItemTextColor(DWORD dwTextColor);
    DWORD GetSelectedItemTextColor() const;
    void SetSelectedItemBkColor(DWORD dwBkColor);
    DWORD GetSelectedItemBkColor() const;
    void SetSelectedItemImage(LPCWSTR pStrImage);
    LPCWSTR GetSelectedItemImage() const;
    void SetHotItemTextColor(DWORD dwTextColor);
    DWORD GetHotItemTextColor() const;
    void SetHotItemBkColor(DWORD dwBkColor);
    DWORD GetHotItemBkColor() const;
    void SetHotItemImage(LPCWSTR pStrImage);
    LPCWSTR GetHotItemImage() const;
    void SetDisabledItemTextColor(DWORD dwTextColor);
    DWORD GetDisabledItemTextColor() const;
    void SetDisabledItemBkColor(DWORD dwBkColor);
    DWORD GetDisabledItemBkColor() const;
    void SetDisabledItemImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledItemImage() const;
    void SetItemLineColor(DWORD dwLineColor);
    DWORD GetItemLineColor() const;

private:
    friend class CListBodyUI;

    // Records the header's columns as the column rectangles, moving them left
    // by dx first. A hidden header is laid out on prcHiddenHeader when given.
    void ShiftColumns(LONG dx, const RECT* prcHiddenHeader = nullptr);
    // Sets each list item's index to its position, from iFrom to iTo.
    void RenumberItems(int iFrom, int iTo);
    bool AddHeader(CControlUI* pControl);
    bool AddHeaderItem(CControlUI* pControl, int iIndex);
    void UpdateColumnCount();
    void MoveSelection(int iIndex);
    bool HandleKey(wchar_t chKey);
    bool HandleWheel(WORD wCode);
    void SetAppearance(DWORD& dwField, DWORD dwValue);
    void SetAppearance(CUIString& sField, LPCWSTR pStrValue);

    bool m_bScrollSelect;
    int m_iCurSel;
    int m_iExpandedItem;
    IListCallbackUI* m_pCallback;
    CListBodyUI* m_pList;
    CListHeaderUI* m_pHeader;
    TListInfoUI m_ListInfo;
};

} // namespace VarnelUI
