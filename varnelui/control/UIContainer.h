#pragma once
// A control that owns an ordered list of children: child management, inner
// margin and spacing, clipped painting of the children, child-aware search and
// hit testing, absolute placement of float children, and scrolling of the
// children by a vertical and a horizontal scroll bar.

#include "varnelui/control/UIControl.h"
#include "varnelui/control/UILayoutAxis.h"
#include "varnelui/core/StdPtrArray.h"

namespace VarnelUI {

class CScrollBarUI;

// What the dialog builder needs from anything that holds children.
class IContainerUI
{
public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl) = 0;
    virtual bool RemoveAt(int iIndex) = 0;
    virtual void RemoveAll() = 0;

protected:
    // Containers are deleted as controls, never through this interface.
    ~IContainerUI() = default;
};

class VARNELUI_API CContainerUI : public CControlUI, public IContainerUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"Container", L"ContainerUI", L"Container"};

    CContainerUI();
    ~CContainerUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetMouseEnabled(bool bEnable = true) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    // ---- appended virtual operations, in this order -------------------------
    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool bAuto);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool bDelayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool bEnable = true);

    // Index of the nearest visible, enabled list item from iIndex on in the
    // given direction, or -1.
    virtual int FindSelectable(int iIndex, bool bForward = true) const;

    // Positions and ranges are those of the visible scroll bars (cx horizontal,
    // cy vertical); an axis without a visible bar reads 0.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

protected:
    // Places a float child by its fixed position (negative: from the right or
    // bottom edge) inside the item rectangle, moved and stretched by its
    // relative position when the container's size has changed.
    virtual void SetFloatPos(int iIndex);
    // Called by a layout at the end of its placement with rc, the room it
    // gave the children, and the size they need: places the scroll bars
    // around rc, shows or hides the vertical one and sets its range, laying
    // the children out again when that changes their room or position.
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

public:
    // ---- IContainerUI -------------------------------------------------------
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    // ---- named descendants (through the paint manager) ----------------------
    CControlUI* FindSubControl(LPCWSTR pstrSubControlName);
    bool SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
    bool SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy);
    bool SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx);
    bool SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
    CUIString GetSubControlText(LPCWSTR pstrSubControlName);
    int GetSubControlFixedHeight(LPCWSTR pstrSubControlName);
    int GetSubControlFixedWdith(LPCWSTR pstrSubControlName);
    CUIString GetSubControlUserData(LPCWSTR pstrSubControlName);

protected:
    // The index-th own child. The container's own work (layout, painting,
    // search, propagation) goes through this, never through GetItemAt: a
    // subclass may route its item operations to a part of its own, as the
    // list does to its body.
    CControlUI* ChildAt(int iIndex) const { return static_cast<CControlUI*>(m_items.GetAt(iIndex)); }
    // The item rectangle less the inset.
    RECT GetInnerRect() const;
    // The inner rectangle less the room of the visible scroll bars: where the
    // children are painted and hit.
    RECT GetContentRect() const;
    bool IsVerticalScrollBarShown() const;
    bool IsHorizontalScrollBarShown() const;
    // A size raised to its minimum, then lowered to its maximum.
    static int ClampToLimits(int nSize, int nMin, int nMax);
    // The size a child takes in an area: its estimate for the area, where a
    // dimension estimated as 0 fills the area, clamped to the child's limits.
    static SIZE FitToArea(CControlUI& control, SIZE szArea);
    // Places the visible float children by their fixed positions and hands
    // every other visible child, in order, to place(index, child). The list is
    // re-read on every step: a child's OnSize handler may change it.
    template <class Place>
    void PlaceChildren(Place place)
    {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* pControl = ChildAt(i);
            if (!pControl->IsVisible()) continue;
            if (pControl->IsFloat()) SetFloatPos(i);
            else place(i, *pControl);
        }
    }

    CStdPtrArray m_items;
    RECT m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;
    CScrollBarUI* m_pVerticalScrollBar;
    CScrollBarUI* m_pHorizontalScrollBar;

private:
    // Deletes or hands over a child that has just left the list.
    void DisposeChild(CControlUI* pControl);
    void PaintChildren(HDC hDC, const RECT& rcPaint);
    void PaintScrollBars(HDC hDC, const RECT& rcPaint);
    CControlUI* FindInScrollBars(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);
    // Creates the bar of one axis with its default attribute list, or destroys it.
    void EnableScrollBarOf(CScrollBarUI*& pBar, bool bEnable, bool bHorizontal);
    // Moves the visible bars' positions; the vertical line also depends on the font.
    void ScrollBy(const CLayoutAxis& axis, LONG nDelta);
    void ScrollTo(const CLayoutAxis& axis, LONG nPos);
    LONG GetPageSize(const CLayoutAxis& axis) const;
    int GetLineHeight() const;

    // Children removed while this container paints them are deleted once the
    // paint is over, so a child's painting may change the list safely.
    int m_nPaintDepth;
    CStdPtrArray m_aRemovedWhilePainting;
};

} // namespace VarnelUI
