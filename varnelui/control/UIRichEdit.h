#pragma once
// A windowless rich-text field. The platform's text services keep the text,
// selection, undo and clipboard; the field hosts them without a child window,
// draws them into the window's off-screen bitmap (over the skin behind it and
// under controls painted after it) and hands them the keyboard, IME, mouse,
// focus and cursor messages while it is focused, hot or captured.
//
// Skin element "RichEdit"; its attributes, besides those of every container:
//   "multiline"      "true" (default) or "false": one line, Enter sends "return"
//   "readonly"       typing, pasting and cutting change nothing
//   "password"       shows every character as '*'
//   "wanttab"        Tab inserts a tab instead of moving the focus (default "false")
//   "wantreturn"     Enter starts a new line in a multi-line field (default "true");
//                    otherwise it sends "return"
//   "wantctrlreturn" Ctrl+Enter starts a new line in a multi-line field
//                    (default "true"); otherwise it sends "return"
//   "maxchar"        the most characters the text may hold; 0 (default) is no limit
//   "font"           index of a Font of the window; the window's default font otherwise
//   "textcolor"      #AARRGGBB; the window's default font colour otherwise
//   "textpadding"    l,t,r,b between the field's edges and the text
//   "vscrollbar", "hscrollbar"    the text services' scroll bar styles (default
//                    "false"); a multi-line field wraps its lines unless "hscrollbar" is set
//   "autovscroll", "autohscroll"  the view follows the caret out of sight (default "true")
//   "rich"           "true" (default): rich text; "false": plain text in the field's font
//   "transparent"    "true" (default): the skin shows through around the text;
//                    "false": the text rectangle is filled with "bkcolor", or the
//                    system's window colour without one
// "text" sets the text. Ctrl+A selects the whole text; the other editing keys
// are the text services' own. Notifications: "textchanged" after every change
// of the text (typed, pasted, undone or set by the program), "return" when
// Enter is pressed and not taken as a new line.

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIRichEditHost.h"
#include "varnelui/core/UIEvents.h"

namespace VarnelUI {

class VARNELUI_API CRichEditUI : public CContainerUI, public IMessageFilterUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"RichEdit", L"RichEditUI", L"RichEdit"};

    CRichEditUI();
    ~CRichEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    // Lines are separated by "\r\n".
    CUIString GetText() const override;
    void SetText(LPCWSTR pstrText) override;
    // A field disabled while focused gives the focus up.
    void SetEnabled(bool bEnable = true) override;
    void SetPos(RECT rc) override;
    void DoInit() override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintText(HDC hDC) override;
    // Also lets the text scroll in the directions that have a bar.
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;

    // Keyboard and IME messages of the window while this field has the focus.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // ---- behaviour ----------------------------------------------------------
    bool IsMultiLine() const;
    void SetMultiLine(bool bMultiLine);
    bool IsReadOnly() const;
    void SetReadOnly(bool bReadOnly);
    bool IsPasswordMode() const;
    void SetPasswordMode(bool bPassword);
    bool IsRich() const;
    void SetRich(bool bRich);
    // Asked by the window's Tab handling: true keeps Tab in the field.
    bool IsWantTab() const;
    void SetWantTab(bool bWantTab);
    bool IsWantReturn() const;
    void SetWantReturn(bool bWantReturn);
    bool IsWantCtrlReturn() const;
    void SetWantCtrlReturn(bool bWantCtrlReturn);
    // Whether the text may scroll vertically ("vscrollbar") and sideways ("hscrollbar").
    bool IsVerticalScrollEnabled() const;
    bool IsHorizontalScrollEnabled() const;
    bool IsAutoVScroll() const;
    void SetAutoVScroll(bool bAuto);
    bool IsAutoHScroll() const;
    void SetAutoHScroll(bool bAuto);
    // The most characters the text may hold; 0 is no limit. Text already
    // longer stays, but nothing more can be typed.
    DWORD GetLimitText() const;
    void SetLimitText(DWORD dwMaxChars);

    // ---- appearance ---------------------------------------------------------
    // Index into the window's font table; -1 is the default font.
    int GetFont() const;
    void SetFont(int index);
    // 0xAARRGGBB; 0 takes the window's default font colour.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD dwTextColor);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsTransparent() const;
    void SetTransparent(bool bTransparent);

    // ---- text, selection and editing ------------------------------------------
    // Character positions: a line break counts as one.
    long GetTextLength() const;
    // From nStart up to nEnd; nEnd -1 is the end of the text.
    void SetSel(long nStart, long nEnd);
    void GetSel(long& nStart, long& nEnd) const;
    void ReplaceSel(LPCWSTR pstrText, bool bCanUndo = true);
    bool Undo();
    bool Redo();
    void Cut();
    void Copy();
    void Paste();
    // Deletes the selection.
    void Clear();
    // Scrolls the view by lines down (negative: up) and characters right.
    void LineScroll(int nLines, int nChars = 0);
    // Any other message of the text services (EM_ and the edit messages), answered by them.
    LRESULT TxSendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const;

private:
    // Creates the text services once the field has a window, with the text
    // and settings it holds so far.
    void CreateServices();
    bool HasServices() const;
    // Hands a message to the text services, then reports the changes they
    // made. Must be the caller's last use of this control: a "textchanged"
    // receiver may destroy it.
    LRESULT Forward(UINT uMsg, WPARAM wParam, LPARAM lParam, HRESULT* phr = nullptr);
    void SendChangeNotifications();
    // Mouse events become the window messages they came from.
    void ForwardMouseEvent(const TEventUI& event);
    // False when the services had nothing to scroll.
    bool ScrollWithWheel(const TEventUI& event);
    // The MK_ flags of the buttons and modifiers held now.
    static WPARAM MouseKeys();
    // Enter (or Ctrl+Enter) starts a new line instead of sending "return".
    bool TakesReturn() const;
    RECT GetTextRect() const;
    void UpdateCharFormat();
    void UpdateWordWrap();

    CUIComPtr<CRichEditHost> m_pHost;
    CPaintManagerUI* m_pFilterManager;
    bool m_bWantTab;
    bool m_bWantReturn;
    bool m_bWantCtrlReturn;
    int m_iFont;
    DWORD m_dwTextColor;
    RECT m_rcTextPadding;
};

} // namespace VarnelUI
