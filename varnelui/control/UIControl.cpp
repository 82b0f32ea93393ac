#include "varnelui/control/UIControl.h"

#include "varnelui/core/UIAccessibleTraits.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CControlUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBkColor;
using AttrParse::ParseBool;
using AttrParse::ParseColor;
using AttrParse::ParseInt;
using AttrParse::ParseInts;
using AttrParse::ParseRect;
using AttrParse::ParseSize;
using AttrParse::TAttributeEntry;
using AttrParse::ToInt;

const TAttributeEntry<CControlUI> kControlAttributes[] = {
    {L"pos", AttrSyntax::Rect,
     [](CControlUI& c, LPCWSTR v) {
         const RECT rc = ParseRect(v);
         // A negative left or top anchors the control to the far edge.
         SIZE szXY = {rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom};
         c.SetFixedXY(szXY);
         c.SetFixedWidth(rc.right - rc.left);
         c.SetFixedHeight(rc.bottom - rc.top);
     }},
    {L"relativepos", AttrSyntax::Rect,
     [](CControlUI& c, LPCWSTR v) {
         long n[4];
         ParseInts(v, n, 4);
         c.SetRelativePos(SIZE{n[0], n[1]}, SIZE{n[2], n[3]});
     }},
    {L"padding", AttrSyntax::Rect, [](CControlUI& c, LPCWSTR v) { c.SetPadding(ParseRect(v)); }},
    {L"bkcolor", AttrSyntax::Color, [](CControlUI& c, LPCWSTR v) { c.SetBkColor(ParseBkColor(v)); }},
    {L"bkcolor1", AttrSyntax::Color, [](CControlUI& c, LPCWSTR v) { c.SetBkColor(ParseBkColor(v)); }},
    {L"bkcolor2", AttrSyntax::Color, [](CControlUI& c, LPCWSTR v) { c.SetBkColor2(ParseBkColor(v)); }},
    {L"bkcolor3", AttrSyntax::Color, [](CControlUI& c, LPCWSTR v) { c.SetBkColor3(ParseBkColor(v)); }},
    {L"bordercolor", AttrSyntax::Color, [](CControlUI& c, LPCWSTR v) { c.SetBorderColor(ParseColor(v)); }},
    {L"focusbordercolor", AttrSyntax::Color, [](CControlUI& c, LPCWSTR v) { c.SetFocusBorderColor(ParseColor(v)); }},
    {L"colorhsl", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetColorHSL(ParseBool(v)); }},
    {L"bordersize", AttrSyntax::Numbers,
     [](CControlUI& c, LPCWSTR v) {
         if (std::wcschr(v, L',') == nullptr) {
             // A single number is a uniform border and drops per-side sizes.
             c.SetBorderSize(ToInt(ParseInt(v)));
             c.SetBorderSize(RECT{0, 0, 0, 0});
         } else {
             c.SetBorderSize(ParseRect(v));
         }
     }},
    {L"leftbordersize", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetLeftBorderSize(ToInt(ParseInt(v))); }},
    {L"topbordersize", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetTopBorderSize(ToInt(ParseInt(v))); }},
    {L"rightbordersize", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetRightBorderSize(ToInt(ParseInt(v))); }},
    {L"bottombordersize", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetBottomBorderSize(ToInt(ParseInt(v))); }},
    {L"borderstyle", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetBorderStyle(ToInt(ParseInt(v))); }},
    {L"borderround", AttrSyntax::Size, [](CControlUI& c, LPCWSTR v) { c.SetBorderRound(ParseSize(v)); }},
    {L"bkimage", AttrSyntax::Image, [](CControlUI& c, LPCWSTR v) { c.SetBkImage(v); }},
    {L"width", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetFixedWidth(ToInt(ParseInt(v))); }},
    {L"height", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetFixedHeight(ToInt(ParseInt(v))); }},
    {L"minwidth", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetMinWidth(ToInt(ParseInt(v))); }},
    {L"minheight", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetMinHeight(ToInt(ParseInt(v))); }},
    {L"maxwidth", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetMaxWidth(ToInt(ParseInt(v))); }},
    {L"maxheight", AttrSyntax::Int, [](CControlUI& c, LPCWSTR v) { c.SetMaxHeight(ToInt(ParseInt(v))); }},
    {L"name", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetName(v); }},
    {L"text", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetText(v); }},
    {L"tooltip", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetToolTip(v); }},
    {L"userdata", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetUserData(v); }},
    {L"enabled", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetEnabled(ParseBool(v)); }},
    {L"mouse", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetMouseEnabled(ParseBool(v)); }},
    {L"keyboard", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetKeyboardEnabled(ParseBool(v)); }},
    {L"visible", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetVisible(ParseBool(v)); }},
    {L"float", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetFloat(ParseBool(v)); }},
    {L"shortcut", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetShortcut(v[0]); }},
    {L"menu", AttrSyntax::Bool, [](CControlUI& c, LPCWSTR v) { c.SetContextMenuUsed(ParseBool(v)); }},
    {L"virtualwnd", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetVirtualWnd(v); }},
    {L"accname", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetAccessibleName(v); }},
    {L"accdescription", AttrSyntax::Text, [](CControlUI& c, LPCWSTR v) { c.SetAccessibleDescription(v); }},
    // A role name the platform does not have leaves the role to the class.
    {L"accrole", AttrSyntax::Text,
     [](CControlUI& c, LPCWSTR v) { c.SetAccessibleRole(AccessibleTraits::RoleFromName(v)); }},
};

bool IsOpaque(DWORD dwColor)
{
    return dwColor >= 0xFF000000;
}

} // namespace

struct CControlUI::TAccessibleOverrides
{
    CUIString sName;
    CUIString sDescription;
    long nRole = 0;
};

CControlUI::CControlUI()
    : m_pManager(nullptr),
      m_pParent(nullptr),
      m_bUpdateNeeded(true),
      m_bMenuUsed(false),
      m_rcItem{},
      m_rcPadding{},
      m_cXY{},
      m_cxyFixed{},
      m_cxyMin{},
      m_cxyMax{9999, 9999},
      m_bVisible(true),
      m_bInternVisible(true),
      m_bEnabled(true),
      m_bMouseEnabled(true),
      m_bKeyboardEnabled(true),
      m_bFocused(false),
      m_bFloat(false),
      m_bInSizeNotification(false),
      m_tRelativePos{},
      m_chShortcut(L'\0'),
      m_pTag(0),
      m_dwBackColor(0),
      m_dwBackColor2(0),
      m_dwBackColor3(0),
      m_dwBorderColor(0),
      m_dwFocusBorderColor(0),
      m_bColorHSL(false),
      m_nBorderSize(0),
      m_nBorderStyle(0),
      m_nTooltipWidth(300),
      m_cxyBorderRound{},
      m_rcPaint{},
      m_rcBorderSize{}
{
}

CControlUI::~CControlUI()
{
    if (OnDestroy) OnDestroy(this);
    if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

CControlUI::TAccessibleOverrides& CControlUI::AccessibleOverrides()
{
    if (m_pAccessibleOverrides == nullptr) m_pAccessibleOverrides = std::make_unique<TAccessibleOverrides>();
    return *m_pAccessibleOverrides;
}

CUIString CControlUI::GetAccessibleName() const
{
    return m_pAccessibleOverrides != nullptr ? m_pAccessibleOverrides->sName : CUIString();
}

void CControlUI::SetAccessibleName(LPCWSTR pstrName)
{
    AccessibleOverrides().sName = pstrName;
    RaiseAccessibleEvent(EVENT_OBJECT_NAMECHANGE);
}

CUIString CControlUI::GetAccessibleDescription() const
{
    return m_pAccessibleOverrides != nullptr ? m_pAccessibleOverrides->sDescription : CUIString();
}

void CControlUI::SetAccessibleDescription(LPCWSTR pstrDescription)
{
    AccessibleOverrides().sDescription = pstrDescription;
    RaiseAccessibleEvent(EVENT_OBJECT_DESCRIPTIONCHANGE);
}

long CControlUI::GetAccessibleRole() const
{
    return m_pAccessibleOverrides != nullptr ? m_pAccessibleOverrides->nRole : 0;
}

void CControlUI::SetAccessibleRole(long nRole)
{
    AccessibleOverrides().nRole = nRole;
}

void CControlUI::RaiseAccessibleEvent(DWORD dwEvent)
{
    if (m_pManager != nullptr) m_pManager->GetAccessibleTree().RaiseEvent(dwEvent, this);
}

// ---- identity -------------------------------------------------------------------

CUIString CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(LPCWSTR pstrName)
{
    m_sName = pstrName;
}

LPCWSTR CControlUI::GetClass() const
{
    return kNames.className;
}

LPVOID CControlUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

// ---- tree and manager -----------------------------------------------------------

CPaintManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // Moving to another window (a combo's items into its popup) ends what the
    // old window told tools about the control; it would not hear of its death.
    if (m_pManager != nullptr && m_pManager != pManager) m_pManager->GetAccessibleTree().Forget(this);
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

CUIString CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(LPCWSTR pstrText)
{
    if (m_sText == pstrText) return;
    m_sText = pstrText;
    Invalidate();
    RaiseAccessibleEvent(EVENT_OBJECT_NAMECHANGE);
}

// ---- geometry -------------------------------------------------------------------

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;

    RECT rcInvalidate = ::IsRectEmpty(&m_rcItem) ? rc : m_rcItem;
    m_rcItem = rc;
    if (m_pManager == nullptr) return;

    if (!m_bInSizeNotification) {
        m_bInSizeNotification = true;
        if (OnSize) OnSize(this);
        m_bInSizeNotification = false;
    }

    if (m_bFloat && m_pParent != nullptr) {
        // Keep the anchoring: a float control placed from the far edge stays so.
        const RECT& rcParent = m_pParent->GetPos();
        m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - rcParent.left : m_rcItem.right - rcParent.right;
        m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - rcParent.top : m_rcItem.bottom - rcParent.bottom;
        m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
        m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
    }

    m_bUpdateNeeded = false;

    ::UnionRect(&rcInvalidate, &rcInvalidate, &m_rcItem);
    for (CControlUI* pAncestor = GetParent(); pAncestor != nullptr; pAncestor = pAncestor->GetParent()) {
        if (!::IntersectRect(&rcInvalidate, &rcInvalidate, &pAncestor->GetPos())) return;
    }
    m_pManager->Invalidate(rcInvalidate);
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return m_cXY;
}

void CControlUI::SetFixedXY(SIZE szXY)
{
    m_cXY = szXY;
    NeedLayoutUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    NeedLayoutUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    NeedLayoutUpdate();
}

int CControlUI::GetMinWidth() const
{
    return m_cxyMin.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0 || m_cxyMin.cx == cx) return;
    m_cxyMin.cx = cx;
    NeedLayoutUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return m_cxyMax.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0 || m_cxyMax.cx == cx) return;
    m_cxyMax.cx = cx;
    NeedLayoutUpdate();
}

int CControlUI::GetMinHeight() const
{
    return m_cxyMin.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0 || m_cxyMin.cy == cy) return;
    m_cxyMin.cy = cy;
    NeedLayoutUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return m_cxyMax.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0 || m_cxyMax.cy == cy) return;
    m_cxyMax.cy = cy;
    NeedLayoutUpdate();
}

void CControlUI::SetRelativePos(SIZE szMove, SIZE szZoom)
{
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = szMove.cx;
    m_tRelativePos.nMoveYPercent = szMove.cy;
    m_tRelativePos.nZoomXPercent = szZoom.cx;
    m_tRelativePos.nZoomYPercent = szZoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE sz)
{
    m_tRelativePos.szParent = sz;
}

TRelativePosUI CControlUI::GetRelativePos() const
{
    return m_tRelativePos;
}

bool CControlUI::IsRelativePos() const
{
    return m_tRelativePos.bRelative;
}

// ---- plain accessors ------------------------------------------------------------

CUIString CControlUI::GetToolTip() const
{
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCWSTR pstrText)
{
    // Skins cannot hold line breaks in attribute values, so "<n>" stands for one.
    CUIString sText(pstrText);
    sText.Replace(L"<n>", L"\r\n");
    m_sToolTip = sText;
}

void CControlUI::SetToolTipWidth(int nWidth)
{
    m_nTooltipWidth = nWidth;
}

int CControlUI::GetToolTipWidth() const
{
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool bMenuUsed)
{
    m_bMenuUsed = bMenuUsed;
}

const CUIString& CControlUI::GetUserData() const
{
    return m_sUserData;
}

void CControlUI::SetUserData(LPCWSTR pstrText)
{
    m_sUserData = pstrText;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR pTag)
{
    m_pTag = pTag;
}

// ---- visibility, input and focus --------------------------------------------------

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;

    const bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
    if (IsVisible() == bWasVisible) return;
    NeedParentUpdate();
    RaiseAccessibleEvent(bVisible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
    RaiseAccessibleEvent(EVENT_OBJECT_STATECHANGE);
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool bEnable)
{
    m_bKeyboardEnabled = bEnable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool bFloat)
{
    if (m_bFloat == bFloat) return;
    m_bFloat = bFloat;
    NeedParentUpdate();
}

// ---- search and events ------------------------------------------------------------

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & FIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((uFlags & FIND_HITTEST) != 0) {
        // A hit test without a point cannot hit anything.
        if (!m_bMouseEnabled || pData == nullptr || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))
            return nullptr;
    }
    return Proc != nullptr ? Proc(this, pData) : nullptr;
}

void CControlUI::Init()
{
    DoInit();
    if (OnInit) OnInit(this);
}

void CControlUI::DoInit()
{
}

void CControlUI::Event(TEventUI& event)
{
    if (OnEvent(&event)) DoEvent(event);
}

bool CControlUI::ForwardMouseEventToParent(TEventUI& event)
{
    if (IsMouseEnabled() || !IsMouseEvent(event.kind)) return false;
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
    else CControlUI::DoEvent(event);
    return true;
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.kind) {
    case EVT_SETCURSOR: ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); return;
    case EVT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case EVT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case EVT_TIMER:
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        return;
    case EVT_CONTEXTMENU:
        if (IsContextMenuUsed()) {
            if (m_pManager != nullptr) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    default: break;
    }
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

// ---- attributes -------------------------------------------------------------------

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    AttrParse::ApplyFromTable(kControlAttributes, *this, pstrName, pstrValue);
}

CControlUI* CControlUI::ApplyAttributeList(LPCWSTR pstrList)
{
    AttrParse::ForEachListAttribute(pstrList, [this](LPCWSTR pName, int nName, LPCWSTR pValue, int nValue) {
        SetAttribute(CUIString(pName, nName), CUIString(pValue, nValue));
    });
    return this;
}

SIZE CControlUI::EstimateSize(SIZE)
{
    // Limits are applied by the layouts, not here.
    return m_cxyFixed;
}

// ---- invalidation -----------------------------------------------------------------

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;

    RECT rcInvalidate = m_rcItem;
    for (CControlUI* pAncestor = GetParent(); pAncestor != nullptr; pAncestor = pAncestor->GetParent()) {
        if (!::IntersectRect(&rcInvalidate, &rcInvalidate, &pAncestor->GetPos())) return;
    }
    if (::IsRectEmpty(&rcInvalidate)) return;
    if (m_pManager != nullptr) m_pManager->Invalidate(rcInvalidate);
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (GetParent() != nullptr) {
        GetParent()->NeedUpdate();
        GetParent()->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedLayoutUpdate()
{
    if (m_bFloat) NeedUpdate();
    else NeedParentUpdate();
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const
{
    if (!m_bColorHSL) return dwColor;
    short H = 180;
    short S = 100;
    short L = 100;
    CPaintManagerUI::GetHSL(&H, &S, &L);
    return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

// ---- virtual windows --------------------------------------------------------------

CUIString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
    if (m_pParent != nullptr) return m_pParent->GetVirtualWnd();
    return CUIString();
}

void CControlUI::SetVirtualWnd(LPCWSTR pstrValue)
{
    m_sVirtualWnd = pstrValue;
    if (m_pManager != nullptr) m_pManager->UsedVirtualWnd(true);
}

// ---- colours, image and border ----------------------------------------------------

DWORD CControlUI::GetBkColor() const
{
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    if (m_dwBackColor == dwBackColor) return;
    m_dwBackColor = dwBackColor;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const
{
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    if (m_dwBackColor2 == dwBackColor) return;
    m_dwBackColor2 = dwBackColor;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const
{
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD dwBackColor)
{
    if (m_dwBackColor3 == dwBackColor) return;
    m_dwBackColor3 = dwBackColor;
    Invalidate();
}

LPCWSTR CControlUI::GetBkImage() const
{
    return m_sBkImage;
}

void CControlUI::SetBkImage(LPCWSTR pStrImage)
{
    if (m_sBkImage == pStrImage) return;
    m_sBkImage = pStrImage;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const
{
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    if (m_dwBorderColor == dwBorderColor) return;
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const
{
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor)
{
    if (m_dwFocusBorderColor == dwBorderColor) return;
    m_dwFocusBorderColor = dwBorderColor;
    Invalidate();
}

bool CControlUI::IsColorHSL() const
{
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool bColorHSL)
{
    if (m_bColorHSL == bColorHSL) return;
    m_bColorHSL = bColorHSL;
    Invalidate();
}

int CControlUI::GetBorderSize() const
{
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int nSize)
{
    if (m_nBorderSize == nSize) return;
    m_nBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetBorderSize(RECT rc)
{
    m_rcBorderSize = rc;
    Invalidate();
}

int CControlUI::GetLeftBorderSize() const
{
    return m_rcBorderSize.left;
}

void CControlUI::SetLeftBorderSize(int nSize)
{
    m_rcBorderSize.left = nSize;
    Invalidate();
}

int CControlUI::GetTopBorderSize() const
{
    return m_rcBorderSize.top;
}

void CControlUI::SetTopBorderSize(int nSize)
{
    m_rcBorderSize.top = nSize;
    Invalidate();
}

int CControlUI::GetRightBorderSize() const
{
    return m_rcBorderSize.right;
}

void CControlUI::SetRightBorderSize(int nSize)
{
    m_rcBorderSize.right = nSize;
    Invalidate();
}

int CControlUI::GetBottomBorderSize() const
{
    return m_rcBorderSize.bottom;
}

void CControlUI::SetBottomBorderSize(int nSize)
{
    m_rcBorderSize.bottom = nSize;
    Invalidate();
}

int CControlUI::GetBorderStyle() const
{
    return m_nBorderStyle;
}

void CControlUI::SetBorderStyle(int nStyle)
{
    m_nBorderStyle = nStyle;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(SIZE cxyRound)
{
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

// ---- painting ---------------------------------------------------------------------

bool CControlUI::DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;

    CRenderClip roundClip;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx, m_cxyBorderRound.cy, roundClip);
    }

    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) return;

    if (m_dwBackColor2 == 0) {
        // Translucent fills always cover the whole control, opaque ones only
        // the part being painted.
        const RECT& rcFill = IsOpaque(m_dwBackColor) ? m_rcPaint : m_rcItem;
        CRenderEngine::DrawColor(hDC, rcFill, GetAdjustColor(m_dwBackColor));
    } else if (m_dwBackColor3 != 0) {
        RECT rcUpper = m_rcItem;
        RECT rcLower = m_rcItem;
        rcUpper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
        rcLower.top = rcUpper.bottom;
        CRenderEngine::DrawGradient(hDC, rcUpper, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), true,
                                    8);
        CRenderEngine::DrawGradient(hDC, rcLower, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3), true,
                                    8);
    } else {
        CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), true,
                                    16);
    }
}

bool CControlUI::DrawStateImage(HDC hDC, CUIString& sImage, LPCWSTR pStrModify)
{
    if (sImage.IsEmpty()) return false;
    if (DrawImage(hDC, sImage, pStrModify)) return true;
    sImage.Empty();
    return false;
}

void CControlUI::PaintBkImage(HDC hDC)
{
    DrawStateImage(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC)
{
}

void CControlUI::PaintText(HDC)
{
}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;

    const bool bRound = m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0;
    const bool bFocusColor = IsFocused() && m_dwFocusBorderColor != 0;
    if (m_nBorderSize > 0 && bRound) {
        const DWORD dwColor = bFocusColor ? m_dwFocusBorderColor : m_dwBorderColor;
        CRenderEngine::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
                                     GetAdjustColor(dwColor));
        return;
    }
    if (bFocusColor && m_nBorderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
        return;
    }
    if (m_rcBorderSize.left > 0 || m_rcBorderSize.top > 0 || m_rcBorderSize.right > 0 || m_rcBorderSize.bottom > 0) {
        const DWORD dwColor = GetAdjustColor(m_dwBorderColor);
        const RECT& rc = m_rcItem;
        if (m_rcBorderSize.left > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.top, rc.left, rc.bottom}, m_rcBorderSize.left, dwColor,
                                    m_nBorderStyle);
        }
        if (m_rcBorderSize.top > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.top, rc.right, rc.top}, m_rcBorderSize.top, dwColor,
                                    m_nBorderStyle);
        }
        if (m_rcBorderSize.right > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.right, rc.top, rc.right, rc.bottom}, m_rcBorderSize.right, dwColor,
                                    m_nBorderStyle);
        }
        if (m_rcBorderSize.bottom > 0) {
            CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.bottom, rc.right, rc.bottom}, m_rcBorderSize.bottom, dwColor,
                                    m_nBorderStyle);
        }
        return;
    }
    if (m_nBorderSize > 0) CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwBorderColor));
}

void CControlUI::DoPostPaint(HDC, const RECT&)
{
}

} // namespace VarnelUI
