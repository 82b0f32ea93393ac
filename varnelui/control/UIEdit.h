#pragma once
// A single-line text field. Idle, it paints its text (masked in password
// mode) like a label; with the focus it lays a native edit window over its
// text area and copies every change the user makes back into its own text.

#include "varnelui/control/UILabel.h"

namespace VarnelUI {

class CEditWnd;

class VARNELUI_API CEditUI : public CLabelUI
{
    friend class CEditWnd;

public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Edit", L"EditUI", L"Edit"};

    CEditUI();
    // A native window still open forgets the control and closes.
    ~CEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    // Also replaces the native window's text while editing.
    void SetText(LPCWSTR pstrText) override;
    void SetEnabled(bool bEnable = true) override;
    void SetPos(RECT rc) override;
    // Hiding the control ends editing.
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // ---- non-virtual ---------------------------------------------------------
    // The settings with a native counterpart reach the native window at once
    // while editing; the others take effect when it is next opened.
    bool IsReadOnly() const;
    void SetReadOnly(bool bReadOnly);
    bool IsNumberOnly() const;
    void SetNumberOnly(bool bNumberOnly);
    // Extra styles of the native window (ES_NUMBER for number-only fields).
    int GetWindowStyls() const;
    bool IsPasswordMode() const;
    void SetPasswordMode(bool bPasswordMode);
    wchar_t GetPasswordChar() const;
    void SetPasswordChar(wchar_t cPasswordChar);
    UINT GetMaxChar() const;
    void SetMaxChar(UINT uMax);

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);

    // Background of the native window; 0xFFFFFFFF leaves it to the platform.
    DWORD GetNativeEditBkColor() const;
    void SetNativeEditBkColor(DWORD dwBkColor);

    // Selection and replacement act on the native window; without one they do nothing.
    void SetSel(long nStartChar, long nEndChar);
    void SetSelAll();
    void SetReplaceSel(LPCWSTR lpszReplace);

private:
    // Where the native window goes: the text area, narrowed to a band of the
    // font's height centred in it when the area is taller.
    RECT GetNativeWindowRect() const;
    // Opens the native window; false when the platform refuses it.
    bool CreateNativeWindow();
    void SelectAllNative();

    CEditWnd* m_pWindow;
    UINT m_uMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    wchar_t m_cPasswordChar;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    DWORD m_dwEditbkColor;
    int m_iWindowStyls;
};

} // namespace VarnelUI
