#pragma once
// Growable array of borrowed, untyped pointers; it never deletes what they point to.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

namespace detail {
// Growth shared by the arrays: the count goes up first; once it reaches the
// capacity the block doubles (11 slots at first), so one slot stays free.
// On failure (including a size that cannot be represented) nothing changes
// and false is returned.
bool GrowArrayBlock(void*& block, int& count, int& capacity, size_t elementSize);
} // namespace detail

class VARNELUI_API CStdPtrArray
{
public:
    explicit CStdPtrArray(int iPreallocSize = 0);
    CStdPtrArray(const CStdPtrArray& src);
    // Never needed by the framework; a silent shallow copy would double-free.
    CStdPtrArray& operator=(const CStdPtrArray&) = delete;
    ~CStdPtrArray();

    void Empty();
    void Resize(int iSize);
    bool IsEmpty() const;
    int Find(LPVOID iIndex) const;
    bool Add(LPVOID pData);
    bool SetAt(int iIndex, LPVOID pData);
    bool InsertAt(int iIndex, LPVOID pData);
    bool Remove(int iIndex);
    int GetSize() const;
    LPVOID* GetData();

    LPVOID GetAt(int iIndex) const;
    LPVOID operator[](int nIndex) const;

private:
    LPVOID* m_ppVoid = nullptr;
    int m_nCount = 0;
    int m_nAllocated = 0;
};

} // namespace VarnelUI
