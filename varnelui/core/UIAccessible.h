#pragma once
// The accessibility object of one control, or of a window's client area,
// which shows the root control's children. A skinned window's controls have
// no native windows of their own, so this is all screen readers and UI
// automation tools see of them.

#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIDefines.h"

#include <oleacc.h>

#include <vector>

namespace VarnelUI {

class CAccessibleTree;
class CControlUI;

// Children are full objects handed out as VT_DISPATCH; child ids (stable per
// control) name descendants to get_accChild and in events. Enumerating the
// object (IEnumVARIANT) lists its children, which AccessibleChildren uses
// instead of asking for children by position.
class CAccessibleUI final : public IAccessible, public IEnumVARIANT
{
public:
    // pControl null: the window's client object, which answers for the window
    // itself through pStandard, the system's client object.
    CAccessibleUI(CAccessibleTree& tree, CControlUI* pControl, IAccessible* pStandard);
    CAccessibleUI(const CAccessibleUI&) = delete;
    CAccessibleUI& operator=(const CAccessibleUI&) = delete;

    // Its control (or window) is gone: every call fails with RPC_E_DISCONNECTED.
    void Disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: no type information; clients use the IAccessible methods.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

    // IEnumVARIANT, over the children
    STDMETHODIMP Next(ULONG celt, VARIANT* rgVar, ULONG* pCeltFetched) override;
    STDMETHODIMP Skip(ULONG celt) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumVARIANT** ppEnum) override;

private:
    ~CAccessibleUI();

    // The control the object stands for: its own, or the root for the window.
    CControlUI* Self() const;
    bool IsWindowObject() const { return m_bWindow; }
    // True when a call about varChild goes to the system's client object:
    // the window object asked about itself.
    bool ForWindow(const VARIANT& varChild) const;
    // The control a call is about: this one for CHILDID_SELF, else a
    // descendant by child id. Null with the error to return.
    CControlUI* Resolve(const VARIANT& varChild, HRESULT& hr) const;
    bool IsBelowSelf(CControlUI& control) const;
    // answer(control) for the control varChild names, or Resolve's error.
    template <class Answer>
    HRESULT About(const VARIANT& varChild, Answer&& answer) const
    {
        HRESULT hr = S_OK;
        CControlUI* pControl = Resolve(varChild, hr);
        return pControl != nullptr ? answer(*pControl) : hr;
    }
    // CHILDID_SELF for this object's control, otherwise the control's object.
    void ToVariant(CControlUI* pControl, VARIANT* pvar) const;
    std::vector<CControlUI*> ChildrenOfSelf() const;
    CControlUI* Navigate(CControlUI& from, long navDir) const;
    RECT ScreenRect(const CControlUI& control) const;

    LONG m_cRef = 1;
    const bool m_bWindow;
    CAccessibleTree* m_pTree;
    CControlUI* m_pControl;
    CUIComPtr<IAccessible> m_pStandard;
    ULONG m_nEnumPos = 0;
};

} // namespace VarnelUI
