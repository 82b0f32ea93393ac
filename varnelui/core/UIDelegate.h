#pragma once
// Bound callbacks (free functions or an object's member function) and the
// multicast list through which controls let outside code observe them.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/StdPtrArray.h"

#include <cstring>

namespace VarnelUI {

// A callback taking one untyped pointer (the record being delivered) and
// returning false when it consumes the event.
class VARNELUI_API CDelegateBase
{
public:
    // Enough for any free or member function pointer the compilers we target produce.
    static constexpr size_t kMaxFnBytes = 4 * sizeof(void*);

    CDelegateBase(void* pObject, const void* pFnBytes, size_t cbFn);
    CDelegateBase(const CDelegateBase& rhs);
    CDelegateBase& operator=(const CDelegateBase& rhs);
    virtual ~CDelegateBase();

    virtual CDelegateBase* Clone() const = 0;

    // Same object and same function; kinds are told apart by the size of
    // their function pointers and by the object (null for a free function).
    bool Equals(const CDelegateBase& rhs) const;
    bool operator()(void* param);

protected:
    virtual bool Call(void* param) = 0;

    void* GetObjectW() const { return m_pObject; }
    // The function's identity is the byte image of its pointer: copying the
    // representation needs no cast between function-pointer types, and two
    // pointers to the same function have the same image.
    const void* GetFn() const { return m_fnBytes; }

    // Reads the function pointer back out of its byte image.
    template <class Fn>
    Fn GetFnAs() const
    {
        static_assert(sizeof(Fn) <= kMaxFnBytes, "function pointer too large");
        Fn fn;
        std::memcpy(&fn, m_fnBytes, sizeof(Fn));
        return fn;
    }

private:
    void* m_pObject;
    unsigned char m_fnBytes[kMaxFnBytes];
    size_t m_cbFn;
};

class VARNELUI_API CDelegateStatic : public CDelegateBase
{
public:
    typedef bool (*Fn)(void*);

    explicit CDelegateStatic(Fn pFn);

    CDelegateBase* Clone() const override;

protected:
    bool Call(void* param) override;
};

// O is the bound object's class, T the class that declares the member function
// (O itself or one of its bases).
template <class O, class T>
class CDelegate : public CDelegateBase
{
public:
    typedef bool (T::*Fn)(void*);

    CDelegate(O* pObj, Fn pFn) : CDelegateBase(pObj, &pFn, sizeof(Fn)) {}

    CDelegateBase* Clone() const override { return new CDelegate(*this); }

protected:
    bool Call(void* param) override
    {
        O* pObject = static_cast<O*>(GetObjectW());
        const Fn pFn = GetFnAs<Fn>();
        // Nothing of this delegate is touched once the target runs: the target
        // may remove it from its event source, which destroys it.
        return (pObject->*pFn)(param);
    }
};

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*))
{
    return CDelegateStatic(pFn);
}

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*))
{
    return CDelegate<O, T>(pObject, pFn);
}

// Multicast list of delegates, delivered in registration order. It owns the
// clones it holds; the delegates handed to += and -= stay the caller's.
//
// Delegates may add or remove delegates, or destroy the event source itself,
// while it is firing: a removal during firing only empties the slot (so the
// loop neither skips nor repeats anyone) and the slots are compacted when the
// outermost firing returns; a destroyed source is noticed by the firing loop
// before it reads its array again.
//
// Copying clones every delegate, so each source owns its own and none is freed
// twice.
class VARNELUI_API CEventSource
{
public:
    typedef bool (*FnType)(void*);

    CEventSource();
    CEventSource(const CEventSource& rhs);
    CEventSource& operator=(const CEventSource& rhs);
    ~CEventSource();

    operator bool() const;

    void operator+=(const CDelegateBase& d);
    void operator+=(FnType pFn);
    void operator-=(const CDelegateBase& d);
    void operator-=(FnType pFn);

    bool operator()(void* param);

private:
    void Compact();
    void DestroyAll();

    CStdPtrArray m_aDelegates;
    int m_nFiring = 0;
    // Set by the destructor through the innermost firing loop's flag.
    bool* m_pDestroyed = nullptr;
};

} // namespace VarnelUI
