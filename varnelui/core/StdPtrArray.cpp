#include "varnelui/core/StdPtrArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace VarnelUI {

namespace detail {

bool GrowArrayBlock(void*& block, int& count, int& capacity, size_t elementSize)
{
    if (count == INT_MAX) return false;
    ++count;
    if (count < capacity) return true;
    if (capacity > INT_MAX / 2) {
        --count;
        return false;
    }
    const int newCapacity = capacity == 0 ? 11 : capacity * 2;
    const size_t unit = elementSize == 0 ? 1 : elementSize;
    if (static_cast<size_t>(newCapacity) > SIZE_MAX / unit) {
        --count;
        return false;
    }
    void* grown = realloc(block, static_cast<size_t>(newCapacity) * unit);
    if (!grown) {
        --count;
        return false;
    }
    block = grown;
    capacity = newCapacity;
    return true;
}

} // namespace detail

CStdPtrArray::CStdPtrArray(int iPreallocSize)
{
    if (iPreallocSize > 0) {
        m_ppVoid = static_cast<LPVOID*>(malloc(static_cast<size_t>(iPreallocSize) * sizeof(LPVOID)));
        if (m_ppVoid) m_nAllocated = iPreallocSize;
    }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& src)
{
    for (int i = 0; i < src.m_nCount; ++i) Add(src.m_ppVoid[i]);
}

CStdPtrArray::~CStdPtrArray()
{
    free(m_ppVoid);
}

void CStdPtrArray::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

void CStdPtrArray::Resize(int iSize)
{
    Empty();
    if (iSize <= 0) return;
    // calloc leaves every slot a null pointer.
    m_ppVoid = static_cast<LPVOID*>(calloc(static_cast<size_t>(iSize), sizeof(LPVOID)));
    if (m_ppVoid) m_nCount = m_nAllocated = iSize;
}

bool CStdPtrArray::IsEmpty() const
{
    return m_nCount == 0;
}

int CStdPtrArray::Find(LPVOID pData) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == pData) return i;
    }
    return -1;
}

bool CStdPtrArray::Add(LPVOID pData)
{
    void* block = m_ppVoid;
    if (!detail::GrowArrayBlock(block, m_nCount, m_nAllocated, sizeof(LPVOID))) return false;
    m_ppVoid = static_cast<LPVOID*>(block);
    m_ppVoid[m_nCount - 1] = pData;
    return true;
}

bool CStdPtrArray::InsertAt(int iIndex, LPVOID pData)
{
    if (iIndex == m_nCount) return Add(pData);
    if (iIndex < 0 || iIndex > m_nCount) return false;
    void* block = m_ppVoid;
    if (!detail::GrowArrayBlock(block, m_nCount, m_nAllocated, sizeof(LPVOID))) return false;
    m_ppVoid = static_cast<LPVOID*>(block);
    memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], static_cast<size_t>(m_nCount - iIndex - 1) * sizeof(LPVOID));
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::SetAt(int iIndex, LPVOID pData)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    --m_nCount;
    memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], static_cast<size_t>(m_nCount - iIndex) * sizeof(LPVOID));
    return true;
}

int CStdPtrArray::GetSize() const
{
    return m_nCount;
}

LPVOID* CStdPtrArray::GetData()
{
    return m_ppVoid;
}

LPVOID CStdPtrArray::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
    return m_ppVoid[iIndex];
}

LPVOID CStdPtrArray::operator[](int iIndex) const
{
    return m_ppVoid[iIndex];
}

} // namespace VarnelUI
