// Bound callbacks and the multicast event source that owns their clones.

#include "varnelui/core/UIDelegate.h"

namespace VarnelUI {

// ---- CDelegateBase ---------------------------------------------------------

CDelegateBase::CDelegateBase(void* pObject, const void* pFnBytes, size_t cbFn)
    : m_pObject(pObject),
      m_fnBytes{},
      m_cbFn(cbFn <= kMaxFnBytes ? cbFn : kMaxFnBytes)
{
    std::memcpy(m_fnBytes, pFnBytes, m_cbFn);
}

CDelegateBase::CDelegateBase(const CDelegateBase& rhs) = default;
CDelegateBase& CDelegateBase::operator=(const CDelegateBase& rhs) = default;
CDelegateBase::~CDelegateBase() = default;

bool CDelegateBase::Equals(const CDelegateBase& rhs) const
{
    return m_pObject == rhs.m_pObject && m_cbFn == rhs.m_cbFn && std::memcmp(m_fnBytes, rhs.m_fnBytes, m_cbFn) == 0;
}

bool CDelegateBase::operator()(void* param)
{
    return Call(param);
}

// ---- CDelegateStatic -------------------------------------------------------

CDelegateStatic::CDelegateStatic(Fn pFn) : CDelegateBase(nullptr, &pFn, sizeof(Fn))
{
}

CDelegateBase* CDelegateStatic::Clone() const
{
    return new CDelegateStatic(*this);
}

bool CDelegateStatic::Call(void* param)
{
    return GetFnAs<Fn>()(param);
}

// ---- CEventSource ----------------------------------------------------------

namespace {

CDelegateBase* DelegateAt(const CStdPtrArray& a, int i)
{
    return static_cast<CDelegateBase*>(a.GetAt(i));
}

} // namespace

CEventSource::CEventSource() = default;

CEventSource::CEventSource(const CEventSource& rhs)
{
    for (int i = 0; i < rhs.m_aDelegates.GetSize(); ++i) {
        if (const CDelegateBase* d = DelegateAt(rhs.m_aDelegates, i)) *this += *d;
    }
}

CEventSource& CEventSource::operator=(const CEventSource& rhs)
{
    if (this == &rhs) return *this;
    DestroyAll();
    for (int i = 0; i < rhs.m_aDelegates.GetSize(); ++i) {
        if (const CDelegateBase* d = DelegateAt(rhs.m_aDelegates, i)) *this += *d;
    }
    return *this;
}

CEventSource::~CEventSource()
{
    if (m_pDestroyed != nullptr) *m_pDestroyed = true;
    DestroyAll();
}

CEventSource::operator bool() const
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        if (m_aDelegates.GetAt(i) != nullptr) return true;
    }
    return false;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        const CDelegateBase* p = DelegateAt(m_aDelegates, i);
        if (p != nullptr && p->Equals(d)) return;
    }
    CDelegateBase* clone = d.Clone();
    if (!m_aDelegates.Add(clone)) delete clone;
}

void CEventSource::operator+=(FnType pFn)
{
    *this += CDelegateStatic(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        CDelegateBase* p = DelegateAt(m_aDelegates, i);
        if (p == nullptr || !p->Equals(d)) continue;
        // While firing, the slot stays (empty) so the running loop's indexes hold.
        if (m_nFiring > 0) m_aDelegates.SetAt(i, nullptr);
        else m_aDelegates.Remove(i);
        delete p;
        return;
    }
}

void CEventSource::operator-=(FnType pFn)
{
    *this -= CDelegateStatic(pFn);
}

bool CEventSource::operator()(void* param)
{
    bool destroyed = false;
    bool* const pOuterDestroyed = m_pDestroyed;
    m_pDestroyed = &destroyed;
    ++m_nFiring;

    bool result = true;
    // The size is read afresh: delegates added while firing are called too.
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        CDelegateBase* d = DelegateAt(m_aDelegates, i);
        if (d == nullptr) continue;
        const bool goOn = (*d)(param);
        if (destroyed) {
            // This source is gone; only locals may be used from here on.
            if (pOuterDestroyed != nullptr) *pOuterDestroyed = true;
            return goOn;
        }
        if (!goOn) {
            result = false;
            break;
        }
    }

    m_pDestroyed = pOuterDestroyed;
    if (--m_nFiring == 0) Compact();
    return result;
}

void CEventSource::Compact()
{
    for (int i = m_aDelegates.GetSize() - 1; i >= 0; --i) {
        if (m_aDelegates.GetAt(i) == nullptr) m_aDelegates.Remove(i);
    }
}

void CEventSource::DestroyAll()
{
    // Each slot is emptied before its delegate is destroyed, so a firing loop
    // that outlives this call (assignment while firing) never sees a dead one.
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        CDelegateBase* d = DelegateAt(m_aDelegates, i);
        m_aDelegates.SetAt(i, nullptr);
        delete d;
    }
    if (m_nFiring == 0) m_aDelegates.Empty();
}

} // namespace VarnelUI
