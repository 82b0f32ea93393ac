#pragma once
// A button with a selected state. Alone it toggles like a check box; with a
// group name it is a radio button: selecting it deselects the other options of
// that group in the same window.

#include "varnelui/control/UIButton.h"

namespace VarnelUI {

class VARNELUI_API COptionUI : public CButtonUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Option", L"OptionUI", L"Option"};

    COptionUI();
    ~COptionUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // Sends "click", then toggles the option, or selects it within its group.
    bool Activate() override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    // A disabled option keeps only its selected bit, so it still looks selected.
    void SetEnabled(bool bEnable = true) override;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // ---- appended virtual operations ----------------------------------------
    // Sends "selectchanged" when there is a window, except when a grouped
    // option is deselected (its group's newly selected option reports).
    virtual void Selected(bool bSelected);

    // ---- non-virtual ---------------------------------------------------------
    bool IsSelected() const;

    LPCWSTR GetGroup() const;
    // Null or empty leaves the group.
    void SetGroup(LPCWSTR pStrGroupName);

    LPCWSTR GetSelectedImage() const;
    void SetSelectedImage(LPCWSTR pStrImage);
    LPCWSTR GetSelectedHotImage() const;
    void SetSelectedHotImage(LPCWSTR pStrImage);
    // Drawn over the state image; the button's own foreground image is separate.
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);

    // Filled while selected when there is no selected image; 0 fills nothing.
    DWORD GetSelectBkColor() const;
    void SetSelectedBkColor(DWORD dwColor);
    // Text colour while selected; 0 becomes the window's default font colour
    // the first time it is read.
    DWORD GetSelectedTextColor();
    void SetSelectedTextColor(DWORD dwColor);

protected:
    bool m_bSelected;
    CUIString m_sGroupName;
    CUIString m_sSelectedImage;
    CUIString m_sSelectedHotImage;
    CUIString m_sOptionForeImage;
    DWORD m_dwSelectedBkColor;
    DWORD m_dwSelectedTextColor;

private:
    void JoinGroup(CPaintManagerUI* pManager);
    void LeaveGroup();

    // The manager whose option group holds this option. It is kept apart from
    // the manager pointer because the dialog builder lends an option its
    // manager only while applying attributes: a "group" attribute joins the
    // group then, and the option must still be able to leave it when it is
    // deleted before its tree is ever attached.
    CPaintManagerUI* m_pGroupManager;
};

} // namespace VarnelUI
