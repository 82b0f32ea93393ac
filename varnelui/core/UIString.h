#pragma once
// UTF-16 string with a small inline buffer, and the text-or-resource-id argument.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

// Texts of up to kInlineChars units (plus the terminator) never touch the heap;
// that covers nearly every control name, attribute name and value in a skin.
// Lengths and positions are counted in 16-bit units; surrogates are not special.
class VARNELUI_API CUIString
{
public:
    static constexpr int kBufferUnits = 64;
    static constexpr int kInlineChars = kBufferUnits - 2; // 62; 63 and more live on the heap

    CUIString();
    CUIString(wchar_t ch);
    CUIString(const CUIString& src);
    CUIString(LPCWSTR lpsz, int nLen = -1);
    ~CUIString();

    void Empty();
    int GetLength() const;
    bool IsEmpty() const;
    wchar_t GetAt(int nIndex) const;
    void SetAt(int nIndex, wchar_t ch);
    void Append(LPCWSTR pstr);
    void Assign(LPCWSTR pstr, int nLength = -1);
    LPCWSTR GetData() const;

    operator LPCWSTR() const;
    wchar_t operator[](int nIndex) const;

    CUIString& operator=(const CUIString& src);
    CUIString& operator=(LPCWSTR pstr);
    CUIString& operator=(wchar_t ch);
    CUIString& operator=(LPCSTR pstr);

    CUIString& operator+=(const CUIString& src);
    CUIString& operator+=(LPCWSTR pstr);
    CUIString& operator+=(wchar_t ch);
    CUIString& operator+=(LPCSTR pstr);

    CUIString operator+(const CUIString& src) const;
    CUIString operator+(LPCWSTR pstr) const;

    bool operator==(LPCWSTR str) const;
    bool operator!=(LPCWSTR str) const;
    bool operator<=(LPCWSTR str) const;
    bool operator<(LPCWSTR str) const;
    bool operator>=(LPCWSTR str) const;
    bool operator>(LPCWSTR str) const;
    // Without these, comparing two strings would be ambiguous once the
    // text-first forms below exist.
    bool operator==(const CUIString& str) const;
    bool operator!=(const CUIString& str) const;

    // A null text compares as the empty text.
    int Compare(LPCWSTR pstr) const;
    int CompareNoCase(LPCWSTR pstr) const;

    void MakeUpper();
    void MakeLower();

    CUIString Left(int nLength) const;
    CUIString Mid(int iPos, int nLength = -1) const;
    CUIString Right(int nLength) const;

    int Find(wchar_t ch, int iPos = 0) const;
    int Find(LPCWSTR pstr, int iPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo);

    // printf-style with the C runtime's wide conventions (%s takes a wide text).
    int __cdecl Format(LPCWSTR pstrFormat, ...);
    // wvsprintfW conventions into a 64-unit buffer; for short texts only.
    int __cdecl SmallFormat(LPCWSTR pstrFormat, ...);

private:
    bool IsInline() const { return m_pstr == m_szBuffer; }
    void UseInline();
    bool Reserve(size_t nUnits, bool keepText);

    LPWSTR m_pstr;
    wchar_t m_szBuffer[kBufferUnits];
};

// Text-first comparisons, so that L"x" == str compares texts and not pointers.
VARNELUI_API bool operator==(LPCWSTR lhs, const CUIString& rhs);
VARNELUI_API bool operator!=(LPCWSTR lhs, const CUIString& rhs);

// Names a resource by text or by number (MAKEINTRESOURCE convention: a value
// whose upper bits are zero is an id). The text is not owned.
class VARNELUI_API STRINGorID
{
public:
    STRINGorID(LPCWSTR lpString) : m_lpstr(lpString) {}
    STRINGorID(UINT nID) : m_lpstr(MAKEINTRESOURCEW(nID)) {}

    bool IsId() const { return IS_INTRESOURCE(m_lpstr); }
    WORD GetId() const { return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(m_lpstr)); }

    LPCWSTR m_lpstr;
};

} // namespace VarnelUI
