#include "varnelui/core/StdValArray.h"

#include "varnelui/core/StdPtrArray.h"

#include <cstdlib>
#include <cstring>

namespace VarnelUI {

CStdValArray::CStdValArray(int iElementSize, int iPreallocSize) : m_iElementSize(iElementSize > 0 ? iElementSize : 0)
{
    if (iPreallocSize > 0 && m_iElementSize > 0) {
        m_pVoid = static_cast<LPBYTE>(calloc(static_cast<size_t>(iPreallocSize), static_cast<size_t>(m_iElementSize)));
        if (m_pVoid) m_nAllocated = iPreallocSize;
    }
}

CStdValArray::~CStdValArray()
{
    free(m_pVoid);
}

void CStdValArray::Empty()
{
    m_nCount = 0;
}

bool CStdValArray::IsEmpty() const
{
    return m_nCount == 0;
}

bool CStdValArray::Add(LPCVOID pData)
{
    void* block = m_pVoid;
    if (!detail::GrowArrayBlock(block, m_nCount, m_nAllocated, static_cast<size_t>(m_iElementSize))) return false;
    m_pVoid = static_cast<LPBYTE>(block);
    LPBYTE slot = m_pVoid + static_cast<size_t>(m_nCount - 1) * m_iElementSize;
    if (pData) memcpy(slot, pData, static_cast<size_t>(m_iElementSize));
    else memset(slot, 0, static_cast<size_t>(m_iElementSize));
    return true;
}

bool CStdValArray::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    --m_nCount;
    const size_t size = static_cast<size_t>(m_iElementSize);
    memmove(m_pVoid + iIndex * size, m_pVoid + (iIndex + 1) * size, static_cast<size_t>(m_nCount - iIndex) * size);
    return true;
}

int CStdValArray::GetSize() const
{
    return m_nCount;
}

LPVOID CStdValArray::GetData()
{
    return m_pVoid;
}

LPVOID CStdValArray::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
    return m_pVoid + static_cast<size_t>(iIndex) * m_iElementSize;
}

LPVOID CStdValArray::operator[](int iIndex) const
{
    return m_pVoid + static_cast<size_t>(iIndex) * m_iElementSize;
}

} // namespace VarnelUI
