#pragma once
// Hash map from text keys (exact, case-sensitive) to borrowed untyped pointers.

#include "varnelui/core/UIString.h"

namespace VarnelUI {

// Chained buckets; a hit found by Find moves to the head of its chain, so
// names looked up again and again are found first. Iteration (GetAt) walks
// the buckets from the highest index down and each chain from its head, so
// the order changes with use.
class VARNELUI_API CStdStringPtrMap
{
public:
    explicit CStdStringPtrMap(int nSize = 83);
    CStdStringPtrMap(const CStdStringPtrMap&) = delete;
    CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
    ~CStdStringPtrMap();

    void Resize(int nSize = 83);
    LPVOID Find(LPCWSTR key, bool optimize = true) const;
    bool Insert(LPCWSTR key, LPVOID pData);
    LPVOID Set(LPCWSTR key, LPVOID pData);
    bool Remove(LPCWSTR key);
    void RemoveAll();
    int GetSize() const;
    LPCWSTR GetAt(int iIndex) const;
    LPCWSTR operator[](int nIndex) const;

private:
    struct TITEM
    {
        CUIString Key;
        LPVOID Data;
        TITEM* pPrev;
        TITEM* pNext;
    };

    enum class Lookup { Plain, MoveToFront };
    TITEM* FindItem(LPCWSTR key, Lookup lookup) const;
    void DeleteAll();

    TITEM** m_aT = nullptr;
    int m_nBuckets = 0;
    int m_nCount = 0;
};

} // namespace VarnelUI
