#pragma once
// A drop-down selector. Its items are list items held as its own children but
// never laid out inside it: the closed combo paints only the selected item's
// text, and a click or F4 opens a popup window into which the items move for
// as long as it is open.

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIListInfo.h"

namespace VarnelUI {

class CComboWnd;

class VARNELUI_API CComboUI : public CContainerUI, public IListOwnerUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Combo", L"ComboUI", L"Combo"};

    CComboUI();
    ~CComboUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    // The selected item's text; empty without a selection.
    CUIString GetText() const override;
    bool Activate() override;
    void SetPos(RECT rc) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    // Hit tests find the combo itself: its items are laid out only in the popup.
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    // Paints the combo alone, never the items.
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // ---- items, numbered and selected as a list's -------------------------------
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    // ---- IListOwnerUI -----------------------------------------------------------
    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    // Closes an open popup; with the popup open or bTakeFocus the item takes the focus.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;

    // ---- non-virtual ---------------------------------------------------------
    // The open popup, or null.
    CComboWnd* GetDropWindow() const;
    // Applied to the popup's layout each time it opens.
    CUIString GetDropBoxAttributeList() const;
    void SetDropBoxAttributeList(LPCWSTR pstrList);
    // Width (0: the combo's) and greatest height of the popup.
    SIZE GetDropBoxSize() const;
    void SetDropBoxSize(SIZE szDropBox);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);

    void SetNormalImage(LPCWSTR pStrImage);
    void SetHotImage(LPCWSTR pStrImage);
    void SetPushedImage(LPCWSTR pStrImage);
    void SetFocusedImage(LPCWSTR pStrImage);
    void SetDisabledImage(LPCWSTR pStrImage);

    // The items' shared appearance; every setter repaints.
    void SetItemFont(int iFont) { SetAppearance(m_ListInfo.nFont, iFont); }
    void SetItemTextStyle(UINT uStyle) { SetAppearance(m_ListInfo.uTextStyle, uStyle); }
    UINT GetItemTextStyle() const { return m_ListInfo.uTextStyle; }
    void SetItemTextPadding(RECT rc) { SetAppearance(m_ListInfo.rcTextPadding, rc); }
    void SetItemShowHtml(bool bShowHtml = true) { SetAppearance(m_ListInfo.bShowHtml, bShowHtml); }
    void SetItemTextColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwTextColor, dwColor); }
    void SetItemBkColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwBkColor, dwColor); }
    void SetItemBkImage(LPCWSTR pStrImage) { SetAppearance(m_ListInfo.sBkImage, pStrImage); }
    void SetAlternateBk(bool bAlternateBk) { SetAppearance(m_ListInfo.bAlternateBk, bAlternateBk); }
    void SetSelectedItemTextColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwSelectedTextColor, dwColor); }
    void SetSelectedItemBkColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwSelectedBkColor, dwColor); }
    void SetSelectedItemImage(LPCWSTR pStrImage) { SetAppearance(m_ListInfo.sSelectedImage, pStrImage); }
    void SetHotItemTextColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwHotTextColor, dwColor); }
    void SetHotItemBkColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwHotBkColor, dwColor); }
    void SetHotItemImage(LPCWSTR pStrImage) { SetAppearance(m_ListInfo.sHotImage, pStrImage); }
    void SetDisabledItemTextColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwDisabledTextColor, dwColor); }
    void SetDisabledItemBkColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwDisabledBkColor, dwColor); }
    void SetDisabledItemImage(LPCWSTR pStrImage) { SetAppearance(m_ListInfo.sDisabledImage, pStrImage); }
    void SetItemLineColor(DWORD dwColor) { SetAppearance(m_ListInfo.dwLineColor, dwColor); }

protected:
    // Keeps the focused and disabled bits in step with the control.
    void UpdatePaintState();
    // The item rectangle less the text padding.
    RECT GetTextRect() const;
    // The selected item's text in rcText; nothing without a selection.
    void PaintSelectedText(HDC hDC, const RECT& rcText);

    UINT m_uButtonState;

private:
    friend class CComboWnd;

    template <class T, class V>
    void SetAppearance(T& field, V value)
    {
        field = value;
        Invalidate();
    }
    void RenumberItems(int iFrom);
    void MoveSelection(int iIndex);
    bool HandleKey(wchar_t chKey);

    CComboWnd* m_pWindow;
    int m_iCurSel;
    RECT m_rcTextPadding;
    CUIString m_sDropBoxAttributes;
    SIZE m_szDropBox;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    TListInfoUI m_ListInfo;
};

} // namespace VarnelUI
