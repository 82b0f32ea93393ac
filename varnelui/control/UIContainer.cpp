#include "varnelui/control/UIContainer.h"

#include "varnelui/control/UIScrollBar.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CContainerUI> kRegistration;

bool IsShown(const CControlUI* pControl)
{
    return pControl != nullptr && pControl->IsVisible();
}

bool IsScrollable(const CControlUI* pBar)
{
    return IsShown(pBar) && pBar->IsEnabled();
}

bool Meets(const RECT& a, const RECT& b)
{
    RECT rcTemp;
    return ::IntersectRect(&rcTemp, &a, &b) != FALSE;
}

constexpr int kLineScroll = 8;
constexpr CLayoutAxis kVerticalAxis(LayoutAxis::Vertical);
constexpr CLayoutAxis kHorizontalAxis(LayoutAxis::Horizontal);

} // namespace

CContainerUI::CContainerUI()
    : m_rcInset{0, 0, 0, 0},
      m_iChildPadding(0),
      m_bAutoDestroy(true),
      m_bDelayedDestroy(true),
      m_bMouseChildEnabled(true),
      m_bScrollProcess(false),
      m_pVerticalScrollBar(nullptr),
      m_pHorizontalScrollBar(nullptr),
      m_nPaintDepth(0)
{
}

CContainerUI::~CContainerUI()
{
    m_bDelayedDestroy = false;
    RemoveAll();
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
    for (int i = 0; i < m_aRemovedWhilePainting.GetSize(); ++i) {
        delete static_cast<CControlUI*>(m_aRemovedWhilePainting.GetAt(i));
    }
}

LPCWSTR CContainerUI::GetClass() const
{
    return kNames.className;
}

LPVOID CContainerUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

// ---- children -------------------------------------------------------------------

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    return m_items.Find(pControl);
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOld = m_items.Find(pControl);
    if (iOld < 0) return false;
    NeedUpdate();
    m_items.Remove(iOld);
    if (m_items.InsertAt(iIndex, pControl)) return true;
    // A child moved to an index that does not exist stays where it was rather
    // than dropping out of the list it is owned through.
    m_items.InsertAt(iOld, pControl);
    return false;
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (m_pManager != nullptr) m_pManager->InitControls(pControl, this);
    if (IsVisible()) {
        NeedUpdate();
    } else {
        pControl->SetInternVisible(false);
    }
    if (!m_items.InsertAt(iIndex, pControl)) return false;
    pControl->RaiseAccessibleEvent(EVENT_OBJECT_CREATE);
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    const int iIndex = m_items.Find(pControl);
    if (iIndex < 0) return false;
    NeedUpdate();
    pControl->RaiseAccessibleEvent(EVENT_OBJECT_DESTROY);
    // Out of the list before it is destroyed, so nothing its destruction
    // triggers can reach it through this container.
    const bool bRemoved = m_items.Remove(iIndex);
    DisposeChild(pControl);
    return bRemoved;
}

bool CContainerUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    return pControl != nullptr && Remove(pControl);
}

void CContainerUI::RemoveAll()
{
    const CStdPtrArray aRemoved(m_items);
    m_items.Empty();
    for (int i = 0; i < aRemoved.GetSize(); ++i) {
        DisposeChild(static_cast<CControlUI*>(aRemoved.GetAt(i)));
    }
    NeedUpdate();
    RaiseAccessibleEvent(EVENT_OBJECT_REORDER);
}

void CContainerUI::DisposeChild(CControlUI* pControl)
{
    if (!m_bAutoDestroy) return;
    if (m_bDelayedDestroy && m_pManager != nullptr) {
        m_pManager->AddDelayedCleanup(pControl);
    } else if (m_nPaintDepth > 0) {
        m_aRemovedWhilePainting.Add(pControl);
    } else {
        delete pControl;
    }
}

int CContainerUI::FindSelectable(int iIndex, bool bForward) const
{
    const int nCount = m_items.GetSize();
    if (nCount == 0) return -1;
    iIndex = std::min(std::max(iIndex, 0), nCount - 1);
    const auto selectable = [this](int i) {
        CControlUI* pControl = ChildAt(i);
        return pControl->GetInterface(L"ListItem") != nullptr && pControl->IsVisible() && pControl->IsEnabled();
    };
    if (bForward) {
        for (int i = iIndex; i < nCount; ++i) {
            if (selectable(i)) return i;
        }
        return -1;
    }
    for (int i = iIndex; i >= 0; --i) {
        if (selectable(i)) return i;
    }
    return FindSelectable(0, true);
}

// ---- named descendants ----------------------------------------------------------

CControlUI* CContainerUI::FindSubControl(LPCWSTR pstrSubControlName)
{
    if (m_pManager == nullptr) return nullptr;
    return m_pManager->FindSubControlByName(this, pstrSubControlName);
}

bool CContainerUI::SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    if (pControl == nullptr) return false;
    pControl->SetText(pstrText);
    return true;
}

bool CContainerUI::SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    if (pControl == nullptr) return false;
    pControl->SetFixedHeight(cy);
    return true;
}

bool CContainerUI::SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    if (pControl == nullptr) return false;
    pControl->SetFixedWidth(cx);
    return true;
}

bool CContainerUI::SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    if (pControl == nullptr) return false;
    pControl->SetUserData(pstrText);
    return true;
}

CUIString CContainerUI::GetSubControlText(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetText() : CUIString();
}

int CContainerUI::GetSubControlFixedHeight(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetFixedWidth() : -1;
}

CUIString CContainerUI::GetSubControlUserData(LPCWSTR pstrSubControlName)
{
    CControlUI* pControl = FindSubControl(pstrSubControlName);
    return pControl != nullptr ? pControl->GetUserData() : CUIString();
}

// ---- settings -------------------------------------------------------------------

RECT CContainerUI::GetInset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool bAuto)
{
    m_bAutoDestroy = bAuto;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool bDelayed)
{
    m_bDelayedDestroy = bDelayed;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool bEnable)
{
    m_bMouseChildEnabled = bEnable;
}

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using Entry = AttrParse::TAttributeEntry<CContainerUI>;
    static const Entry kAttributes[] = {
        {L"inset", AttrParse::AttrSyntax::Rect,
         [](CContainerUI& c, LPCWSTR v) { c.SetInset(AttrParse::ParseRect(v)); }},
        {L"mousechild", AttrParse::AttrSyntax::Bool,
         [](CContainerUI& c, LPCWSTR v) { c.SetMouseChildEnabled(AttrParse::ParseBool(v)); }},
        // Through the virtual getters: a container may keep its bars in a part of its own.
        {L"vscrollbar", AttrParse::AttrSyntax::Bool,
         [](CContainerUI& c, LPCWSTR v) {
             c.EnableScrollBar(AttrParse::ParseBool(v), c.GetHorizontalScrollBar() != nullptr);
         }},
        {L"vscrollbarstyle", AttrParse::AttrSyntax::AttributeList,
         [](CContainerUI& c, LPCWSTR v) {
             c.EnableScrollBar(true, c.GetHorizontalScrollBar() != nullptr);
             if (CScrollBarUI* pBar = c.GetVerticalScrollBar()) pBar->ApplyAttributeList(v);
         }},
        {L"hscrollbar", AttrParse::AttrSyntax::Bool,
         [](CContainerUI& c, LPCWSTR v) {
             c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, AttrParse::ParseBool(v));
         }},
        {L"hscrollbarstyle", AttrParse::AttrSyntax::AttributeList,
         [](CContainerUI& c, LPCWSTR v) {
             c.EnableScrollBar(c.GetVerticalScrollBar() != nullptr, true);
             if (CScrollBarUI* pBar = c.GetHorizontalScrollBar()) pBar->ApplyAttributeList(v);
         }},
        {L"childpadding", AttrParse::AttrSyntax::Int,
         [](CContainerUI& c, LPCWSTR v) { c.SetChildPadding(static_cast<int>(AttrParse::ParseInt(v))); }},
    };
    if (!AttrParse::ApplyFromTable(kAttributes, *this, pstrName, pstrValue)) {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

// ---- propagation ----------------------------------------------------------------

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(i)->SetManager(pManager, this, bInit);
    }
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    CControlUI::SetVisible(bVisible);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(i)->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (int i = 0; i < m_items.GetSize(); ++i) {
        ChildAt(i)->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetMouseEnabled(bool bEnable)
{
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(bEnable);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
    CControlUI::SetMouseEnabled(bEnable);
}

// ---- geometry -------------------------------------------------------------------

RECT CContainerUI::GetInnerRect() const
{
    return RECT{m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top, m_rcItem.right - m_rcInset.right,
                m_rcItem.bottom - m_rcInset.bottom};
}

RECT CContainerUI::GetContentRect() const
{
    RECT rc = GetInnerRect();
    if (IsVerticalScrollBarShown()) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsHorizontalScrollBarShown()) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

bool CContainerUI::IsVerticalScrollBarShown() const
{
    return IsShown(m_pVerticalScrollBar);
}

bool CContainerUI::IsHorizontalScrollBarShown() const
{
    return IsShown(m_pHorizontalScrollBar);
}

int CContainerUI::ClampToLimits(int nSize, int nMin, int nMax)
{
    return std::min(std::max(nSize, nMin), nMax);
}

SIZE CContainerUI::FitToArea(CControlUI& control, SIZE szArea)
{
    SIZE sz = control.EstimateSize(szArea);
    if (sz.cx == 0) sz.cx = szArea.cx;
    if (sz.cy == 0) sz.cy = szArea.cy;
    return SIZE{ClampToLimits(sz.cx, control.GetMinWidth(), control.GetMaxWidth()),
                ClampToLimits(sz.cy, control.GetMinHeight(), control.GetMaxHeight())};
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.GetSize() == 0) return;
    const RECT rcInner = GetInnerRect();
    PlaceChildren([&](int, CControlUI& child) { child.SetPos(rcInner); });
}

void CContainerUI::SetFloatPos(int iIndex)
{
    CControlUI* pControl = ChildAt(iIndex);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsFloat()) return;

    const SIZE szXY = pControl->GetFixedXY();
    const int cx = pControl->GetFixedWidth();
    const int cy = pControl->GetFixedHeight();
    RECT rc;
    if (szXY.cx >= 0) {
        rc.left = m_rcItem.left + szXY.cx;
        rc.right = rc.left + cx;
    } else {
        rc.right = m_rcItem.right + szXY.cx;
        rc.left = rc.right - cx;
    }
    if (szXY.cy >= 0) {
        rc.top = m_rcItem.top + szXY.cy;
        rc.bottom = rc.top + cy;
    } else {
        rc.bottom = m_rcItem.bottom + szXY.cy;
        rc.top = rc.bottom - cy;
    }

    if (pControl->IsRelativePos()) {
        const TRelativePosUI rel = pControl->GetRelativePos();
        const SIZE szParent = {m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top};
        // The first placement only learns the parent's size; later ones follow
        // its change by the given percentages.
        if (rel.szParent.cx != 0) {
            const int dx = szParent.cx - rel.szParent.cx;
            const int dy = szParent.cy - rel.szParent.cy;
            rc.left += dx * rel.nMoveXPercent / 100;
            rc.top += dy * rel.nMoveYPercent / 100;
            rc.right = rc.left + cx + dx * rel.nZoomXPercent / 100;
            rc.bottom = rc.top + cy + dy * rel.nZoomYPercent / 100;
        }
        pControl->SetRelativeParentSize(szParent);
    }
    pControl->SetPos(rc);
}

// ---- scrolling --------------------------------------------------------------------

SIZE CContainerUI::GetScrollPos() const
{
    return SIZE{IsHorizontalScrollBarShown() ? m_pHorizontalScrollBar->GetScrollPos() : 0,
                IsVerticalScrollBarShown() ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const
{
    return SIZE{IsHorizontalScrollBarShown() ? m_pHorizontalScrollBar->GetScrollRange() : 0,
                IsVerticalScrollBarShown() ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    // The bars and every moved child lie in this container, which is
    // invalidated whole: one invalidation instead of one per part on screen.
    const CPaintManagerUI::CInvalidateBatch batch(m_pManager);
    // The bars clamp the position; the children move by what really changed.
    const auto moveBar = [](CScrollBarUI* pBar, LONG nPos) {
        if (!IsShown(pBar)) return 0;
        const int nOld = pBar->GetScrollPos();
        pBar->SetScrollPos(nPos);
        return pBar->GetScrollPos() - nOld;
    };
    const int dy = moveBar(m_pVerticalScrollBar, szPos.cy);
    const int dx = moveBar(m_pHorizontalScrollBar, szPos.cx);
    if (dx == 0 && dy == 0) return;

    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        RECT rc = pControl->GetPos();
        ::OffsetRect(&rc, -dx, -dy);
        pControl->SetPos(rc);
    }
    Invalidate();
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    EnableScrollBarOf(m_pVerticalScrollBar, bEnableVertical, false);
    EnableScrollBarOf(m_pHorizontalScrollBar, bEnableHorizontal, true);
    NeedUpdate();
}

void CContainerUI::EnableScrollBarOf(CScrollBarUI*& pBar, bool bEnable, bool bHorizontal)
{
    if (!bEnable) {
        delete pBar;
        pBar = nullptr;
        return;
    }
    if (pBar != nullptr) return;
    pBar = new CScrollBarUI;
    pBar->SetHorizontal(bHorizontal);
    pBar->SetOwner(this);
    pBar->SetManager(m_pManager, nullptr, false);
    if (m_pManager == nullptr) return;
    if (LPCWSTR pList = m_pManager->GetDefaultAttributeList(bHorizontal ? L"HScrollBar" : L"VScrollBar"))
        pBar->ApplyAttributeList(pList);
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_pHorizontalScrollBar;
}

void CContainerUI::ProcessScrollBar(RECT rc, int /*cxRequired*/, int cyRequired)
{
    // The layouts leave the horizontal range alone: it scrolls only within a
    // range set on the bar itself.
    if (IsHorizontalScrollBarShown()) {
        m_pHorizontalScrollBar->SetPos(
            RECT{rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight()});
    }
    if (m_pVerticalScrollBar == nullptr) return;

    const int cyAvailable = rc.bottom - rc.top;
    const int cyOverflow = cyRequired - cyAvailable;
    if (cyRequired > cyAvailable && !m_pVerticalScrollBar->IsVisible()) {
        // Showing the bar narrows the children: lay them out again, once,
        // without letting that pass hide the bar again.
        m_pVerticalScrollBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(cyOverflow);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }
    if (!m_pVerticalScrollBar->IsVisible()) return;

    if (cyOverflow <= 0 && !m_bScrollProcess) {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }

    m_pVerticalScrollBar->SetPos(RECT{rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom});
    if (m_pVerticalScrollBar->GetScrollRange() == cyOverflow) return;
    const int nOldPos = m_pVerticalScrollBar->GetScrollPos();
    m_pVerticalScrollBar->SetScrollRange(std::abs(cyOverflow));
    if (m_pVerticalScrollBar->GetScrollRange() == 0) {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
    }
    // A range that shrank below the position clamped it: the children follow.
    if (nOldPos > m_pVerticalScrollBar->GetScrollPos()) SetPos(m_rcItem);
}

int CContainerUI::GetLineHeight() const
{
    int cyLine = kLineScroll;
    if (m_pManager != nullptr) cyLine += m_pManager->GetDefaultFontInfo()->tm.tmHeight;
    return cyLine;
}

void CContainerUI::ScrollBy(const CLayoutAxis& axis, LONG nDelta)
{
    SIZE szPos = GetScrollPos();
    axis.Along(szPos) += nDelta;
    SetScrollPos(szPos);
}

void CContainerUI::ScrollTo(const CLayoutAxis& axis, LONG nPos)
{
    SIZE szPos = GetScrollPos();
    axis.Along(szPos) = nPos;
    SetScrollPos(szPos);
}

// A page is the room the children are shown in.
LONG CContainerUI::GetPageSize(const CLayoutAxis& axis) const
{
    return axis.Extent(GetContentRect());
}

// The one asymmetry between the axes: a vertical line is a line of text in
// the default font plus a margin, a horizontal line the margin alone.
void CContainerUI::LineUp()
{
    ScrollBy(kVerticalAxis, -GetLineHeight());
}

void CContainerUI::LineDown()
{
    ScrollBy(kVerticalAxis, GetLineHeight());
}

void CContainerUI::LineLeft()
{
    ScrollBy(kHorizontalAxis, -kLineScroll);
}

void CContainerUI::LineRight()
{
    ScrollBy(kHorizontalAxis, kLineScroll);
}

void CContainerUI::PageUp()
{
    ScrollBy(kVerticalAxis, -GetPageSize(kVerticalAxis));
}

void CContainerUI::PageDown()
{
    ScrollBy(kVerticalAxis, GetPageSize(kVerticalAxis));
}

void CContainerUI::PageLeft()
{
    ScrollBy(kHorizontalAxis, -GetPageSize(kHorizontalAxis));
}

void CContainerUI::PageRight()
{
    ScrollBy(kHorizontalAxis, GetPageSize(kHorizontalAxis));
}

void CContainerUI::HomeUp()
{
    ScrollTo(kVerticalAxis, 0);
}

void CContainerUI::EndDown()
{
    ScrollTo(kVerticalAxis, GetScrollRange().cy);
}

void CContainerUI::HomeLeft()
{
    ScrollTo(kHorizontalAxis, 0);
}

void CContainerUI::EndRight()
{
    ScrollTo(kHorizontalAxis, GetScrollRange().cx);
}

// ---- events ---------------------------------------------------------------------

void CContainerUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;
    if (event.kind == EVT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.kind == EVT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    if (IsScrollable(m_pVerticalScrollBar)) {
        if (event.kind == EVT_KEYDOWN) {
            switch (event.keyChar) {
            case VK_PRIOR: PageUp(); return;
            case VK_NEXT: PageDown(); return;
            case VK_END: EndDown(); return;
            case VK_HOME: HomeUp(); return;
            case VK_UP: LineUp(); return;
            case VK_DOWN: LineDown(); return;
            default: break;
            }
        } else if (event.kind == EVT_SCROLLWHEEL) {
            switch (LOWORD(event.wParam)) {
            case 0: LineUp(); return;
            case 1: LineDown(); return;
            default: break;
            }
        }
    } else if (IsScrollable(m_pHorizontalScrollBar)) {
        if (event.kind == EVT_KEYDOWN) {
            switch (event.keyChar) {
            case VK_PRIOR: PageLeft(); return;
            case VK_NEXT: PageRight(); return;
            case VK_END: EndRight(); return;
            case VK_HOME: HomeLeft(); return;
            case VK_UP: LineLeft(); return;
            case VK_DOWN: LineRight(); return;
            default: break;
            }
        } else if (event.kind == EVT_SCROLLWHEEL) {
            switch (LOWORD(event.wParam)) {
            case 0: LineLeft(); return;
            case 1: LineRight(); return;
            default: break;
            }
        }
    }
    CControlUI::DoEvent(event);
}

// ---- search ---------------------------------------------------------------------

CControlUI* CContainerUI::FindInScrollBars(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    CControlUI* pResult = nullptr;
    if (m_pVerticalScrollBar != nullptr) pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
    if (pResult == nullptr && m_pHorizontalScrollBar != nullptr) {
        pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
    }
    return pResult;
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & FIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    const bool bHitTest = (uFlags & FIND_HITTEST) != 0;
    if (bHitTest) {
        // A hit test without a point cannot hit anything.
        if (pData == nullptr || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) return nullptr;
        if (!m_bMouseChildEnabled) {
            CControlUI* pResult = FindInScrollBars(Proc, pData, uFlags);
            return pResult != nullptr ? pResult : CControlUI::FindControl(Proc, pData, uFlags);
        }
    }

    CControlUI* pResult = FindInScrollBars(Proc, pData, uFlags);
    if (pResult != nullptr) return pResult;

    const bool bMeFirst = (uFlags & FIND_ME_FIRST) != 0;
    if (bMeFirst) {
        pResult = CControlUI::FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) return pResult;
    }

    // Children scrolled out of the content area are not hit, unless they float.
    const RECT rcContent = GetContentRect();
    const auto accept = [&](CControlUI* pFound) {
        return pFound != nullptr &&
               (!bHitTest || pFound->IsFloat() || ::PtInRect(&rcContent, *static_cast<const POINT*>(pData)));
    };
    // The list is re-read on every step: a search procedure may change it.
    if ((uFlags & FIND_TOP_FIRST) != 0) {
        for (int i = m_items.GetSize() - 1; i >= 0; --i) {
            CControlUI* pControl = ChildAt(i);
            if (pControl == nullptr) continue;
            pResult = pControl->FindControl(Proc, pData, uFlags);
            if (accept(pResult)) return pResult;
        }
    } else {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            pResult = ChildAt(i)->FindControl(Proc, pData, uFlags);
            if (accept(pResult)) return pResult;
        }
    }

    return bMeFirst ? nullptr : CControlUI::FindControl(Proc, pData, uFlags);
}

// ---- painting -------------------------------------------------------------------

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcVisible;
    if (!::IntersectRect(&rcVisible, &rcPaint, &m_rcItem)) return;

    ++m_nPaintDepth;
    {
        CRenderClip clip;
        CRenderClip::GenerateClip(hDC, rcVisible, clip);
        CControlUI::DoPaint(hDC, rcPaint);
        if (m_items.GetSize() > 0) PaintChildren(hDC, rcPaint);
        PaintScrollBars(hDC, rcPaint);
    }
    if (--m_nPaintDepth > 0) return;

    // Children removed by a painting child: safe to delete now that no paint
    // of this container is running.
    const CStdPtrArray aRemoved(m_aRemovedWhilePainting);
    m_aRemovedWhilePainting.Empty();
    for (int i = 0; i < aRemoved.GetSize(); ++i) {
        delete static_cast<CControlUI*>(aRemoved.GetAt(i));
    }
}

void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint)
{
    const RECT rcContent = GetContentRect();
    RECT rcChildren;
    if (!::IntersectRect(&rcChildren, &rcPaint, &rcContent)) {
        // Only float children can reach out of the content area.
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* pControl = ChildAt(i);
            if (!pControl->IsVisible() || !pControl->IsFloat()) continue;
            if (!Meets(rcPaint, pControl->GetPos()) || !Meets(m_rcItem, pControl->GetPos())) continue;
            pControl->DoPaint(hDC, rcPaint);
        }
        return;
    }

    CRenderClip childClip;
    CRenderClip::GenerateClip(hDC, rcChildren, childClip);
    // The list is re-read on every step: a child's painting may change it.
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || !Meets(rcPaint, pControl->GetPos())) continue;
        if (pControl->IsFloat()) {
            // A float child may overlap the inset, so it paints under the
            // container's own clip.
            if (!Meets(m_rcItem, pControl->GetPos())) continue;
            CRenderClip::UseOldClipBegin(hDC, childClip);
            pControl->DoPaint(hDC, rcPaint);
            CRenderClip::UseOldClipEnd(hDC, childClip);
        } else if (Meets(rcContent, pControl->GetPos())) {
            pControl->DoPaint(hDC, rcPaint);
        }
    }
}

void CContainerUI::PaintScrollBars(HDC hDC, const RECT& rcPaint)
{
    for (CControlUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (IsShown(pBar) && Meets(rcPaint, pBar->GetPos())) pBar->DoPaint(hDC, rcPaint);
    }
}

} // namespace VarnelUI
