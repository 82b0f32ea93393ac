#include "varnelui/core/UIAccessible.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIAccessibleTraits.h"
#include "varnelui/core/UIAccessibleTree.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>

namespace VarnelUI {

namespace {

// A text for an out parameter: S_FALSE and null when there is none.
HRESULT ReturnText(const CUIString& sText, BSTR* pbstr)
{
    if (pbstr == nullptr) return E_POINTER;
    *pbstr = nullptr;
    if (sText.IsEmpty()) return S_FALSE;
    *pbstr = ::SysAllocString(sText);
    return *pbstr != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetI4(VARIANT* pvar, LONG n)
{
    pvar->vt = VT_I4;
    pvar->lVal = n;
}

} // namespace

CAccessibleUI::CAccessibleUI(CAccessibleTree& tree, CControlUI* pControl, IAccessible* pStandard)
    : m_bWindow(pControl == nullptr),
      m_pTree(&tree),
      m_pControl(pControl),
      m_pStandard(pStandard)
{
}

CAccessibleUI::~CAccessibleUI() = default;

void CAccessibleUI::Disconnect()
{
    m_pTree = nullptr;
    m_pControl = nullptr;
    m_pStandard.Reset();
}

// ---- IUnknown and IDispatch --------------------------------------------------

STDMETHODIMP CAccessibleUI::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
    } else if (riid == IID_IEnumVARIANT) {
        *ppv = static_cast<IEnumVARIANT*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAccessibleUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) CAccessibleUI::Release()
{
    const LONG cRef = ::InterlockedDecrement(&m_cRef);
    if (cRef == 0) delete this;
    return static_cast<ULONG>(cRef);
}

STDMETHODIMP CAccessibleUI::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleUI::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// ---- resolving what a call is about ---------------------------------------------

CControlUI* CAccessibleUI::Self() const
{
    if (m_pTree == nullptr) return nullptr;
    return IsWindowObject() ? m_pTree->Manager().GetRoot() : m_pControl;
}

bool CAccessibleUI::ForWindow(const VARIANT& varChild) const
{
    return m_pTree != nullptr && IsWindowObject() && varChild.vt == VT_I4 && varChild.lVal == CHILDID_SELF;
}

CControlUI* CAccessibleUI::Resolve(const VARIANT& varChild, HRESULT& hr) const
{
    hr = S_OK;
    if (m_pTree == nullptr) {
        hr = RPC_E_DISCONNECTED;
        return nullptr;
    }
    CControlUI* pSelf = Self();
    if (varChild.vt != VT_I4 || pSelf == nullptr) {
        hr = E_INVALIDARG;
        return nullptr;
    }
    if (varChild.lVal == CHILDID_SELF) return pSelf;
    // Only descendants are reachable by id; anything else is not this object's to answer for.
    CControlUI* pControl = m_pTree->ControlFromId(varChild.lVal);
    if (pControl != nullptr && IsBelowSelf(*pControl)) return pControl;
    hr = E_INVALIDARG;
    return nullptr;
}

bool CAccessibleUI::IsBelowSelf(CControlUI& control) const
{
    CControlUI* pSelf = Self();
    for (CControlUI* pUp = AccessibleTraits::Parent(control); pUp != nullptr; pUp = AccessibleTraits::Parent(*pUp)) {
        if (pUp == pSelf) return true;
    }
    return false;
}

void CAccessibleUI::ToVariant(CControlUI* pControl, VARIANT* pvar) const
{
    ::VariantInit(pvar);
    if (pControl == nullptr || m_pTree == nullptr) return;
    if (pControl == Self()) {
        SetI4(pvar, CHILDID_SELF);
        return;
    }
    CAccessibleUI* pObject = m_pTree->ObjectFor(pControl);
    if (pObject == nullptr) return;
    pvar->vt = VT_DISPATCH;
    pvar->pdispVal = static_cast<IAccessible*>(pObject);
}

std::vector<CControlUI*> CAccessibleUI::ChildrenOfSelf() const
{
    CControlUI* pSelf = Self();
    return pSelf != nullptr ? AccessibleTraits::Children(*pSelf) : std::vector<CControlUI*>();
}

RECT CAccessibleUI::ScreenRect(const CControlUI& control) const
{
    RECT rc = control.GetPos();
    const HWND hWnd = m_pTree->Manager().GetPaintWindow();
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// ---- IAccessible: the tree --------------------------------------------------------

STDMETHODIMP CAccessibleUI::get_accParent(IDispatch** ppdispParent)
{
    if (ppdispParent == nullptr) return E_POINTER;
    *ppdispParent = nullptr;
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    if (IsWindowObject()) return m_pStandard->get_accParent(ppdispParent);
    CControlUI* pParent = AccessibleTraits::Parent(*m_pControl);
    if (pParent == nullptr) return S_FALSE;
    *ppdispParent = static_cast<IAccessible*>(m_pTree->ObjectFor(pParent));
    return *ppdispParent != nullptr ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::get_accChildCount(long* pcountChildren)
{
    if (pcountChildren == nullptr) return E_POINTER;
    *pcountChildren = 0;
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    *pcountChildren = static_cast<long>(ChildrenOfSelf().size());
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (ppdispChild == nullptr) return E_POINTER;
    *ppdispChild = nullptr;
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        if (&control == Self()) return E_INVALIDARG;
        *ppdispChild = static_cast<IAccessible*>(m_pTree->ObjectFor(&control));
        return S_OK;
    });
}

// ---- IAccessible: describing --------------------------------------------------------

STDMETHODIMP CAccessibleUI::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (ForWindow(varChild)) return m_pStandard->get_accName(varChild, pszName);
    return About(varChild,
                 [&](CControlUI& control) -> HRESULT { return ReturnText(AccessibleTraits::Name(control), pszName); });
}

STDMETHODIMP CAccessibleUI::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    if (pszValue == nullptr) return E_POINTER;
    *pszValue = nullptr;
    if (ForWindow(varChild)) return m_pStandard->get_accValue(varChild, pszValue);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        CUIString sValue;
        const HRESULT hr = AccessibleTraits::Value(control, sValue);
        if (hr != S_OK) return hr;
        // An empty field still has a value: the empty text.
        *pszValue = ::SysAllocString(sValue);
        return *pszValue != nullptr ? S_OK : E_OUTOFMEMORY;
    });
}

STDMETHODIMP CAccessibleUI::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (ForWindow(varChild)) return m_pStandard->get_accDescription(varChild, pszDescription);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        return ReturnText(AccessibleTraits::Description(control), pszDescription);
    });
}

STDMETHODIMP CAccessibleUI::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (pvarRole == nullptr) return E_POINTER;
    ::VariantInit(pvarRole);
    if (ForWindow(varChild)) return m_pStandard->get_accRole(varChild, pvarRole);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        SetI4(pvarRole, AccessibleTraits::Role(control));
        return S_OK;
    });
}

STDMETHODIMP CAccessibleUI::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (pvarState == nullptr) return E_POINTER;
    ::VariantInit(pvarState);
    if (ForWindow(varChild)) return m_pStandard->get_accState(varChild, pvarState);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        SetI4(pvarState, AccessibleTraits::State(control));
        return S_OK;
    });
}

STDMETHODIMP CAccessibleUI::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    return About(varChild, [&](CControlUI&) { return ReturnText(CUIString(), pszHelp); });
}

STDMETHODIMP CAccessibleUI::get_accHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic)
{
    if (pszHelpFile != nullptr) *pszHelpFile = nullptr;
    if (pidTopic != nullptr) *pidTopic = 0;
    return m_pTree == nullptr ? RPC_E_DISCONNECTED : S_FALSE;
}

STDMETHODIMP CAccessibleUI::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    if (ForWindow(varChild)) return m_pStandard->get_accKeyboardShortcut(varChild, pszKeyboardShortcut);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        CUIString sShortcut;
        if (control.GetShortcut() != L'\0') {
            sShortcut = L"Alt+";
            sShortcut += control.GetShortcut();
        }
        return ReturnText(sShortcut, pszKeyboardShortcut);
    });
}

STDMETHODIMP CAccessibleUI::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (ForWindow(varChild)) return m_pStandard->get_accDefaultAction(varChild, pszDefaultAction);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        return ReturnText(AccessibleTraits::DefaultActionName(control), pszDefaultAction);
    });
}

// ---- IAccessible: focus and selection ----------------------------------------------

STDMETHODIMP CAccessibleUI::get_accFocus(VARIANT* pvarChild)
{
    if (pvarChild == nullptr) return E_POINTER;
    ::VariantInit(pvarChild);
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    CControlUI* pFocus = m_pTree->Manager().GetFocus();
    if (pFocus == nullptr || (pFocus != Self() && !IsBelowSelf(*pFocus))) return S_FALSE;
    ToVariant(pFocus, pvarChild);
    return S_OK;
}

STDMETHODIMP CAccessibleUI::get_accSelection(VARIANT* pvarChildren)
{
    if (pvarChildren == nullptr) return E_POINTER;
    ::VariantInit(pvarChildren);
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    // Every selection in the framework holds one item at most.
    for (CControlUI* pChild : ChildrenOfSelf()) {
        if ((AccessibleTraits::State(*pChild) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_CHECKED)) == 0) continue;
        if (AccessibleTraits::Role(*pChild) == ROLE_SYSTEM_CHECKBUTTON) continue;
        ToVariant(pChild, pvarChildren);
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP CAccessibleUI::accSelect(long flagsSelect, VARIANT varChild)
{
    if (ForWindow(varChild)) return m_pStandard->accSelect(flagsSelect, varChild);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        if ((flagsSelect & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) != 0) return E_INVALIDARG;
        if ((flagsSelect & SELFLAG_TAKEFOCUS) != 0) {
            if ((AccessibleTraits::State(control) & STATE_SYSTEM_FOCUSABLE) == 0) return E_INVALIDARG;
            control.SetFocus();
        }
        if ((flagsSelect & SELFLAG_TAKESELECTION) != 0) {
            const long nRole = AccessibleTraits::Role(control);
            if (nRole != ROLE_SYSTEM_LISTITEM && nRole != ROLE_SYSTEM_OUTLINEITEM && nRole != ROLE_SYSTEM_RADIOBUTTON)
                return E_INVALIDARG;
            AccessibleTraits::DoDefaultAction(control);
        }
        return S_OK;
    });
}

// ---- IAccessible: geometry ------------------------------------------------------

STDMETHODIMP CAccessibleUI::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild)
{
    if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr) return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (ForWindow(varChild)) return m_pStandard->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        const RECT rc = ScreenRect(control);
        *pxLeft = rc.left;
        *pyTop = rc.top;
        *pcxWidth = rc.right - rc.left;
        *pcyHeight = rc.bottom - rc.top;
        return S_OK;
    });
}

CControlUI* CAccessibleUI::Navigate(CControlUI& from, long navDir) const
{
    if (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD) {
        const std::vector<CControlUI*> children = AccessibleTraits::Children(from);
        if (children.empty()) return nullptr;
        return navDir == NAVDIR_FIRSTCHILD ? children.front() : children.back();
    }
    CControlUI* pParent = AccessibleTraits::Parent(from);
    if (pParent == nullptr) return nullptr;
    const std::vector<CControlUI*> siblings = AccessibleTraits::Children(*pParent);
    const auto at = std::find(siblings.begin(), siblings.end(), &from);
    if (at == siblings.end()) return nullptr;
    switch (navDir) {
    case NAVDIR_NEXT: return at + 1 != siblings.end() ? *(at + 1) : nullptr;
    case NAVDIR_PREVIOUS: return at != siblings.begin() ? *(at - 1) : nullptr;
    default: return nullptr;
    }
}

STDMETHODIMP CAccessibleUI::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    if (pvarEndUpAt == nullptr) return E_POINTER;
    ::VariantInit(pvarEndUpAt);
    const bool bIntoChildren = navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD;
    // The window's siblings are the system's business; its children are ours.
    if (ForWindow(varStart) && !bIntoChildren) return m_pStandard->accNavigate(navDir, varStart, pvarEndUpAt);
    return About(varStart, [&](CControlUI& control) -> HRESULT {
        if (navDir < NAVDIR_UP || navDir > NAVDIR_LASTCHILD) return E_INVALIDARG;
        CControlUI* pTo = Navigate(control, navDir);
        if (pTo == nullptr) return S_FALSE;
        ToVariant(pTo, pvarEndUpAt);
        return S_OK;
    });
}

STDMETHODIMP CAccessibleUI::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (pvarChild == nullptr) return E_POINTER;
    ::VariantInit(pvarChild);
    CControlUI* pSelf = Self();
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    if (pSelf == nullptr) return IsWindowObject() ? m_pStandard->accHitTest(xLeft, yTop, pvarChild) : S_FALSE;
    POINT pt = {xLeft, yTop};
    const RECT rcSelf = ScreenRect(*pSelf);
    if (!::PtInRect(&rcSelf, pt)) {
        return IsWindowObject() ? m_pStandard->accHitTest(xLeft, yTop, pvarChild) : S_FALSE;
    }
    // The deepest shown control under the point; later children are drawn on top.
    CControlUI* pHit = pSelf;
    for (bool bDeeper = true; bDeeper;) {
        bDeeper = false;
        const std::vector<CControlUI*> children = AccessibleTraits::Children(*pHit);
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const RECT rc = ScreenRect(**it);
            if (::PtInRect(&rc, pt)) {
                pHit = *it;
                bDeeper = true;
                break;
            }
        }
    }
    ToVariant(pHit, pvarChild);
    return S_OK;
}

// ---- IAccessible: acting -----------------------------------------------------------

STDMETHODIMP CAccessibleUI::accDoDefaultAction(VARIANT varChild)
{
    if (ForWindow(varChild)) return m_pStandard->accDoDefaultAction(varChild);
    return About(varChild, [&](CControlUI& control) -> HRESULT {
        if (AccessibleTraits::DefaultActionName(control).IsEmpty()) return DISP_E_MEMBERNOTFOUND;
        const LONG nId = m_pTree->ChildId(&control);
        const HWND hWnd = m_pTree->Manager().GetPaintWindow();
        if (!::PostMessageW(hWnd, UIMSG_ACCESSIBLE_ACTION, static_cast<WPARAM>(nId), 0)) return E_FAIL;
        return S_OK;
    });
}

STDMETHODIMP CAccessibleUI::put_accName(VARIANT, BSTR)
{
    return m_pTree == nullptr ? RPC_E_DISCONNECTED : E_NOTIMPL;
}

STDMETHODIMP CAccessibleUI::put_accValue(VARIANT, BSTR)
{
    return m_pTree == nullptr ? RPC_E_DISCONNECTED : E_NOTIMPL;
}

// ---- IEnumVARIANT ------------------------------------------------------------------

STDMETHODIMP CAccessibleUI::Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched)
{
    if (pCeltFetched != nullptr) *pCeltFetched = 0;
    if (rgVar == nullptr) return E_POINTER;
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    const std::vector<CControlUI*> children = ChildrenOfSelf();
    ULONG nFetched = 0;
    for (; nFetched < celt && m_nEnumPos < children.size(); ++nFetched, ++m_nEnumPos) {
        ToVariant(children[m_nEnumPos], &rgVar[nFetched]);
    }
    if (pCeltFetched != nullptr) *pCeltFetched = nFetched;
    return nFetched == celt ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::Skip(ULONG celt)
{
    if (m_pTree == nullptr) return RPC_E_DISCONNECTED;
    const auto nCount = static_cast<ULONG>(ChildrenOfSelf().size());
    const ULONG nLeft = nCount - std::min(nCount, m_nEnumPos);
    m_nEnumPos += std::min(nLeft, celt);
    return celt <= nLeft ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleUI::Reset()
{
    m_nEnumPos = 0;
    return m_pTree == nullptr ? RPC_E_DISCONNECTED : S_OK;
}

STDMETHODIMP CAccessibleUI::Clone(IEnumVARIANT** ppEnum)
{
    if (ppEnum != nullptr) *ppEnum = nullptr;
    return E_NOTIMPL;
}

} // namespace VarnelUI
