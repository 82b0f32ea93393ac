#include "varnelui/core/StdStringPtrMap.h"

#include <algorithm>
#include <cwchar>
#include <new>

namespace VarnelUI {

namespace {

// Units are taken from the last to the first; h = h * 33 + unit, wrapping.
UINT HashKey(LPCWSTR key)
{
    UINT h = 0;
    for (size_t i = wcslen(key); i > 0; --i) h = h * 33u + static_cast<UINT>(key[i - 1]);
    return h;
}

} // namespace

CStdStringPtrMap::CStdStringPtrMap(int nSize)
{
    Resize(std::max(nSize, 16));
}

CStdStringPtrMap::~CStdStringPtrMap()
{
    DeleteAll();
}

void CStdStringPtrMap::DeleteAll()
{
    for (int i = 0; i < m_nBuckets; ++i) {
        TITEM* item = m_aT[i];
        while (item) {
            TITEM* next = item->pNext;
            delete item;
            item = next;
        }
    }
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
    m_nCount = 0;
}

void CStdStringPtrMap::Resize(int nSize)
{
    DeleteAll();
    if (nSize <= 0) return;
    // Without buckets the map simply stores nothing; no exception escapes.
    m_aT = new (std::nothrow) TITEM*[static_cast<size_t>(nSize)]();
    if (m_aT) m_nBuckets = nSize;
}

CStdStringPtrMap::TITEM* CStdStringPtrMap::FindItem(LPCWSTR key, Lookup lookup) const
{
    if (m_nBuckets == 0 || m_nCount == 0 || !key) return nullptr;
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    for (TITEM* item = m_aT[slot]; item; item = item->pNext) {
        if (item->Key != key) continue;
        if (lookup == Lookup::MoveToFront && item != m_aT[slot]) {
            item->pPrev->pNext = item->pNext;
            if (item->pNext) item->pNext->pPrev = item->pPrev;
            item->pPrev = nullptr;
            item->pNext = m_aT[slot];
            m_aT[slot]->pPrev = item;
            m_aT[slot] = item;
        }
        return item;
    }
    return nullptr;
}

LPVOID CStdStringPtrMap::Find(LPCWSTR key, bool optimize) const
{
    const TITEM* item = FindItem(key, optimize ? Lookup::MoveToFront : Lookup::Plain);
    return item ? item->Data : nullptr;
}

// Presence is decided by the entry, not its value: a key stored with null
// data is still present and cannot be inserted twice.
bool CStdStringPtrMap::Insert(LPCWSTR key, LPVOID pData)
{
    if (m_nBuckets == 0 || !key || FindItem(key, Lookup::MoveToFront)) return false;
    TITEM* item = new (std::nothrow) TITEM{CUIString(key), pData, nullptr, nullptr};
    if (!item) return false;
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    item->pNext = m_aT[slot];
    if (item->pNext) item->pNext->pPrev = item;
    m_aT[slot] = item;
    ++m_nCount;
    return true;
}

LPVOID CStdStringPtrMap::Set(LPCWSTR key, LPVOID pData)
{
    if (m_nBuckets == 0 || !key) return pData;
    if (TITEM* item = FindItem(key, Lookup::Plain)) {
        LPVOID previous = item->Data;
        item->Data = pData;
        return previous;
    }
    Insert(key, pData);
    return nullptr;
}

bool CStdStringPtrMap::Remove(LPCWSTR key)
{
    TITEM* item = FindItem(key, Lookup::Plain);
    if (!item) return false;
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    if (item->pPrev) item->pPrev->pNext = item->pNext;
    else m_aT[slot] = item->pNext;
    if (item->pNext) item->pNext->pPrev = item->pPrev;
    delete item;
    --m_nCount;
    return true;
}

void CStdStringPtrMap::RemoveAll()
{
    Resize(m_nBuckets);
}

int CStdStringPtrMap::GetSize() const
{
    return m_nCount;
}

LPCWSTR CStdStringPtrMap::GetAt(int iIndex) const
{
    if (m_nBuckets == 0 || m_nCount == 0 || iIndex < 0 || iIndex >= m_nCount) return nullptr;
    int pos = 0;
    for (int bucket = m_nBuckets - 1; bucket >= 0; --bucket) {
        for (const TITEM* item = m_aT[bucket]; item; item = item->pNext) {
            if (pos++ == iIndex) return item->Key.GetData();
        }
    }
    return nullptr;
}

LPCWSTR CStdStringPtrMap::operator[](int iIndex) const
{
    return GetAt(iIndex);
}

} // namespace VarnelUI
