#pragma once
// Growable array of fixed-size elements stored by value (raw bytes).

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

class VARNELUI_API CStdValArray
{
public:
    explicit CStdValArray(int iElementSize, int iPreallocSize = 0);
    CStdValArray(const CStdValArray&) = delete;
    CStdValArray& operator=(const CStdValArray&) = delete;
    ~CStdValArray();

    // Keeps the block: the array is usually refilled right away.
    void Empty();
    bool IsEmpty() const;
    bool Add(LPCVOID pData);
    bool Remove(int iIndex);
    int GetSize() const;
    LPVOID GetData();

    LPVOID GetAt(int iIndex) const;
    LPVOID operator[](int nIndex) const;

private:
    LPBYTE m_pVoid = nullptr;
    int m_iElementSize = 0;
    int m_nCount = 0;
    int m_nAllocated = 0;
};

} // namespace VarnelUI
