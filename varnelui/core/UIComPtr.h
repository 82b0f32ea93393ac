#pragma once
// Owning holders for COM resources: interface pointers, BSTRs and VARIANTs,
// so every early return gives back what it took.

#include "varnelui/core/UIDefines.h"

#include <oleauto.h>
#include <unknwn.h>

#include <utility>

namespace VarnelUI {

// Holds one reference to an interface. Copying adds a reference, moving
// hands it over.
template <class T>
class CUIComPtr
{
public:
    CUIComPtr() = default;
    // Takes a reference of its own; the caller keeps its reference.
    explicit CUIComPtr(T* p) : m_p(p)
    {
        if (m_p != nullptr) m_p->AddRef();
    }
    CUIComPtr(const CUIComPtr& rhs) : CUIComPtr(rhs.m_p) {}
    CUIComPtr(CUIComPtr&& rhs) noexcept : m_p(std::exchange(rhs.m_p, nullptr)) {}
    CUIComPtr& operator=(const CUIComPtr& rhs)
    {
        if (this != &rhs) {
            CUIComPtr copy(rhs);
            Swap(copy);
        }
        return *this;
    }
    CUIComPtr& operator=(CUIComPtr&& rhs) noexcept
    {
        if (this != &rhs) Attach(std::exchange(rhs.m_p, nullptr));
        return *this;
    }
    ~CUIComPtr() { Reset(); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Drops the held reference, if any.
    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    // Adopts a reference the caller already owns.
    void Attach(T* p)
    {
        if (T* old = std::exchange(m_p, p)) old->Release();
    }
    // Gives the reference to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }
    void Swap(CUIComPtr& rhs) noexcept { std::swap(m_p, rhs.m_p); }

    // For out parameters: the previous reference is dropped first.
    T** ReleaseAndGetAddressOf()
    {
        Reset();
        return &m_p;
    }
    // The same, typed for QueryInterface-style out parameters.
    void** ReleaseAndGetVoidAddress() { return reinterpret_cast<void**>(ReleaseAndGetAddressOf()); }

    // Asks any object for this interface; the previous reference is dropped.
    HRESULT QueryFrom(IUnknown* pUnk)
    {
        Reset();
        if (pUnk == nullptr) return E_POINTER;
        return pUnk->QueryInterface(__uuidof(T), ReleaseAndGetVoidAddress());
    }

    // Hands out a new reference to the caller's out pointer.
    HRESULT CopyTo(T** ppOut) const
    {
        if (ppOut == nullptr) return E_POINTER;
        *ppOut = m_p;
        if (m_p != nullptr) m_p->AddRef();
        return S_OK;
    }

private:
    T* m_p = nullptr;
};

// Shorthand: the interface U of an object, or null.
template <class U>
CUIComPtr<U> ComQuery(IUnknown* pUnk)
{
    CUIComPtr<U> result;
    result.QueryFrom(pUnk);
    return result;
}

// An owned BSTR.
class CUIBstr
{
public:
    CUIBstr() = default;
    explicit CUIBstr(LPCWSTR psz) : m_bstr(psz != nullptr ? ::SysAllocString(psz) : nullptr) {}
    CUIBstr(const CUIBstr&) = delete;
    CUIBstr& operator=(const CUIBstr&) = delete;
    ~CUIBstr() { ::SysFreeString(m_bstr); }

    BSTR Get() const { return m_bstr; }
    BSTR* ReleaseAndGetAddressOf()
    {
        ::SysFreeString(m_bstr);
        m_bstr = nullptr;
        return &m_bstr;
    }
    // A null BSTR is the empty text.
    bool IsEmpty() const { return ::SysStringLen(m_bstr) == 0; }

private:
    BSTR m_bstr = nullptr;
};

// An owned VARIANT, cleared on destruction.
class CUIVariant
{
public:
    CUIVariant() { ::VariantInit(&m_var); }
    CUIVariant(const CUIVariant&) = delete;
    CUIVariant& operator=(const CUIVariant&) = delete;
    ~CUIVariant() { ::VariantClear(&m_var); }

    VARIANT* Get() { return &m_var; }
    const VARIANT* Get() const { return &m_var; }
    void Clear() { ::VariantClear(&m_var); }

    // A string variant holding a copy of the text.
    void SetString(LPCWSTR psz)
    {
        Clear();
        m_var.vt = VT_BSTR;
        m_var.bstrVal = ::SysAllocString(psz != nullptr ? psz : L"");
    }
    void SetInt(LONG n)
    {
        Clear();
        m_var.vt = VT_I4;
        m_var.lVal = n;
    }

private:
    VARIANT m_var;
};

} // namespace VarnelUI
