#pragma once
// The base of every control in a window's tree: shared state, the common skin
// attributes, layout hooks, the fixed paint order and the basic event handling.

#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"
#include "varnelui/core/UIDelegate.h"

#include <memory>

namespace VarnelUI {

class CPaintManagerUI;
class CControlUI;
struct TEventUI;

// Search predicate handed down a control tree by FindControl: returns the
// control that ends the search, or null to go on.
using FINDCONTROLPROC = CControlUI*(CALLBACK*)(CControlUI*, LPVOID);

// Proportional placement of a control inside its parent: when the parent's
// size changes, the control moves and grows by these percentages of the change.
struct TRelativePosUI
{
    bool bRelative;
    SIZE szParent;
    int nMoveXPercent;
    int nMoveYPercent;
    int nZoomXPercent;
    int nZoomYPercent;
};

class VARNELUI_API CControlUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Control", L"ControlUI", L"Control"};

    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // The virtual operations keep this order; subclasses append their own.
    virtual ~CControlUI();

    virtual CUIString GetName() const;
    virtual void SetName(LPCWSTR pstrName);

    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR pstrName);
    virtual UINT GetControlFlags() const;

    virtual bool Activate();

    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;

    virtual CUIString GetText() const;
    virtual void SetText(LPCWSTR pstrText);

    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;

    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);

    virtual void SetRelativePos(SIZE szMove, SIZE szZoom);
    virtual void SetRelativeParentSize(SIZE sz);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    virtual CUIString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR pstrText);
    virtual void SetToolTipWidth(int nWidth);
    virtual int GetToolTipWidth() const;

    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool bMenuUsed);
    virtual const CUIString& GetUserData() const;
    virtual void SetUserData(LPCWSTR pstrText);
    // Pointer-sized so an application can keep an object pointer here; on the
    // 32-bit product this is the 32-bit value the skin model describes.
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR pTag);

    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    virtual void Init();
    virtual void DoInit();
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    virtual void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    // ---- non-virtual ---------------------------------------------------------
    // Applies name="value" pairs separated by single spaces, in order.
    CControlUI* ApplyAttributeList(LPCWSTR pstrList);
    bool DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);

    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();
    bool IsUpdateNeeded() const;
    DWORD GetAdjustColor(DWORD dwColor) const;

    CUIString GetVirtualWnd() const;
    void SetVirtualWnd(LPCWSTR pstrValue);

    DWORD GetBkColor() const;
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD dwBackColor);
    LPCWSTR GetBkImage() const;
    void SetBkImage(LPCWSTR pStrImage);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD dwBorderColor);
    bool IsColorHSL() const;
    void SetColorHSL(bool bColorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int nSize);
    // Sets the per-side sizes; the uniform size is left as it is.
    void SetBorderSize(RECT rc);
    int GetLeftBorderSize() const;
    void SetLeftBorderSize(int nSize);
    int GetTopBorderSize() const;
    void SetTopBorderSize(int nSize);
    int GetRightBorderSize() const;
    void SetRightBorderSize(int nSize);
    int GetBottomBorderSize() const;
    void SetBottomBorderSize(int nSize);
    int GetBorderStyle() const;
    void SetBorderStyle(int nStyle);
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE cxyRound);

    // What assistive tools are told instead of what the control's class, text
    // and tooltip say ("accname", "accdescription", "accrole"): empty, or
    // role 0, where the skin says nothing.
    CUIString GetAccessibleName() const;
    void SetAccessibleName(LPCWSTR pstrName);
    CUIString GetAccessibleDescription() const;
    void SetAccessibleDescription(LPCWSTR pstrDescription);
    long GetAccessibleRole() const;
    void SetAccessibleRole(long nRole);
    // Tells assistive tools about a change of this control (EVENT_OBJECT_*).
    void RaiseAccessibleEvent(DWORD dwEvent);

    CEventSource OnInit;
    CEventSource OnDestroy;
    CEventSource OnSize;
    CEventSource OnEvent;
    CEventSource OnNotify;

protected:
    // Reports a placement or size change: a float control lays itself out
    // again, any other control asks its parent to.
    void NeedLayoutUpdate();

    // A control that does not take the mouse passes mouse events on: to its
    // parent, or without one to the handling every control shares. True when
    // the event was passed on, so DoEvent must not handle it too.
    bool ForwardMouseEventToParent(TEventUI& event);

    // Draws one of the control's image descriptions; one that cannot be drawn
    // is emptied so it is not tried on every paint. False when nothing was drawn.
    bool DrawStateImage(HDC hDC, CUIString& sImage, LPCWSTR pStrModify = nullptr);

    CPaintManagerUI* m_pManager;
    CControlUI* m_pParent;
    CUIString m_sVirtualWnd;
    CUIString m_sName;
    bool m_bUpdateNeeded;
    bool m_bMenuUsed;
    RECT m_rcItem;
    RECT m_rcPadding;
    SIZE m_cXY;
    SIZE m_cxyFixed;
    SIZE m_cxyMin;
    SIZE m_cxyMax;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bKeyboardEnabled;
    bool m_bFocused;
    bool m_bFloat;
    bool m_bInSizeNotification; // guards SetPos's OnSize against re-entry
    TRelativePosUI m_tRelativePos;

    CUIString m_sText;
    CUIString m_sToolTip;
    wchar_t m_chShortcut;
    CUIString m_sUserData;
    UINT_PTR m_pTag;

    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    DWORD m_dwBackColor3;
    CUIString m_sBkImage;
    DWORD m_dwBorderColor;
    DWORD m_dwFocusBorderColor;
    bool m_bColorHSL;
    int m_nBorderSize;
    int m_nBorderStyle;
    int m_nTooltipWidth;
    SIZE m_cxyBorderRound;
    RECT m_rcPaint;
    RECT m_rcBorderSize;

private:
    struct TAccessibleOverrides;
    TAccessibleOverrides& AccessibleOverrides();
    // Made only for the few controls a skin describes to assistive tools.
    std::unique_ptr<TAccessibleOverrides> m_pAccessibleOverrides;
};

} // namespace VarnelUI
