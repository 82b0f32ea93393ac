#include "varnelui/core/UIString.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace VarnelUI {

namespace {

constexpr wchar_t kEmptyText[] = L"";

wchar_t FoldAscii(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

// Lengths above this could not be counted in an int once the terminator is added.
constexpr size_t kMaxLength = INT_MAX - 1;

} // namespace

CUIString::CUIString() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CUIString::CUIString(wchar_t ch) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CUIString::CUIString(const CUIString& src) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(src.m_pstr);
}

CUIString::CUIString(LPCWSTR lpsz, int nLen) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(lpsz, nLen);
}

CUIString::~CUIString()
{
    if (!IsInline()) free(m_pstr);
}

void CUIString::UseInline()
{
    if (IsInline()) return;
    free(m_pstr);
    m_pstr = m_szBuffer;
}

// Makes the text live in a heap block of nUnits units. Coming from the inline
// buffer the block is fresh and the text is copied only when asked for.
bool CUIString::Reserve(size_t nUnits, bool keepText)
{
    if (IsInline()) {
        auto* block = static_cast<LPWSTR>(malloc(nUnits * sizeof(wchar_t)));
        if (!block) return false;
        if (keepText) wcscpy(block, m_szBuffer);
        else block[0] = L'\0';
        m_pstr = block;
        return true;
    }
    auto* block = static_cast<LPWSTR>(realloc(m_pstr, nUnits * sizeof(wchar_t)));
    if (!block) return false;
    m_pstr = block;
    return true;
}

void CUIString::Empty()
{
    UseInline();
    m_szBuffer[0] = L'\0';
}

int CUIString::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

bool CUIString::IsEmpty() const
{
    return m_pstr[0] == L'\0';
}

wchar_t CUIString::GetAt(int nIndex) const
{
    return m_pstr[nIndex];
}

void CUIString::SetAt(int nIndex, wchar_t ch)
{
    m_pstr[nIndex] = ch;
}

LPCWSTR CUIString::GetData() const
{
    return m_pstr;
}

CUIString::operator LPCWSTR() const
{
    return m_pstr;
}

wchar_t CUIString::operator[](int nIndex) const
{
    return m_pstr[nIndex];
}

void CUIString::Assign(LPCWSTR pstr, int nLength)
{
    if (!pstr) pstr = kEmptyText;
    const int curLength = GetLength();
    // A source inside our own text would be freed or moved by a reallocation.
    if (pstr >= m_pstr && pstr <= m_pstr + curLength) {
        const CUIString copy(pstr, nLength);
        Assign(copy.m_pstr, nLength);
        return;
    }
    const size_t len = nLength < 0 ? wcslen(pstr) : static_cast<size_t>(nLength);
    if (len > kMaxLength) return;
    if (len > static_cast<size_t>(kInlineChars)) {
        if ((IsInline() || static_cast<size_t>(curLength) < len) && !Reserve(len + 1, false))
            return; // out of memory: keep the previous text
    } else {
        UseInline();
    }
    const size_t copied = wcsnlen(pstr, len);
    wmemcpy(m_pstr, pstr, copied);
    wmemset(m_pstr + copied, L'\0', len + 1 - copied);
}

void CUIString::Append(LPCWSTR pstr)
{
    if (!pstr) return;
    const size_t curLength = wcslen(m_pstr);
    if (pstr >= m_pstr && pstr <= m_pstr + curLength) {
        const CUIString copy(pstr);
        Append(copy.m_pstr);
        return;
    }
    const size_t addLength = wcslen(pstr);
    if (addLength > kMaxLength - curLength) return;
    const size_t newLength = curLength + addLength;
    if (newLength > static_cast<size_t>(kInlineChars)) {
        if (!Reserve(newLength + 1, true)) return;
    } else if (!IsInline()) {
        // The text fits inline again, so the heap block goes.
        wcscpy(m_szBuffer, m_pstr);
        free(m_pstr);
        m_pstr = m_szBuffer;
    }
    wmemcpy(m_pstr + curLength, pstr, addLength + 1);
}

CUIString& CUIString::operator=(const CUIString& src)
{
    if (this != &src) Assign(src.m_pstr);
    return *this;
}

CUIString& CUIString::operator=(LPCWSTR pstr)
{
    Assign(pstr);
    return *this;
}

CUIString& CUIString::operator=(wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

namespace {

// Narrow texts are taken in the system's ANSI code page.
CUIString FromAnsi(LPCSTR pstr)
{
    CUIString result;
    const size_t units = strlen(pstr) + 1;
    if (units > kMaxLength) return result;
    auto* wide = static_cast<LPWSTR>(calloc(units, sizeof(wchar_t)));
    if (!wide) return result;
    MultiByteToWideChar(GetACP(), 0, pstr, -1, wide, static_cast<int>(units));
    result.Assign(wide);
    free(wide);
    return result;
}

} // namespace

CUIString& CUIString::operator=(LPCSTR pstr)
{
    if (!pstr) Empty();
    else Assign(FromAnsi(pstr).GetData());
    return *this;
}

CUIString& CUIString::operator+=(const CUIString& src)
{
    Append(src.m_pstr);
    return *this;
}

CUIString& CUIString::operator+=(LPCWSTR pstr)
{
    Append(pstr);
    return *this;
}

CUIString& CUIString::operator+=(wchar_t ch)
{
    const wchar_t text[2] = {ch, L'\0'};
    Append(text);
    return *this;
}

CUIString& CUIString::operator+=(LPCSTR pstr)
{
    if (pstr) Append(FromAnsi(pstr).GetData());
    return *this;
}

CUIString CUIString::operator+(const CUIString& src) const
{
    CUIString result(*this);
    result.Append(src.m_pstr);
    return result;
}

CUIString CUIString::operator+(LPCWSTR pstr) const
{
    CUIString result(*this);
    result.Append(pstr);
    return result;
}

bool CUIString::operator==(LPCWSTR str) const
{
    return Compare(str) == 0;
}
bool CUIString::operator!=(LPCWSTR str) const
{
    return Compare(str) != 0;
}
bool CUIString::operator<=(LPCWSTR str) const
{
    return Compare(str) <= 0;
}
bool CUIString::operator<(LPCWSTR str) const
{
    return Compare(str) < 0;
}
bool CUIString::operator>=(LPCWSTR str) const
{
    return Compare(str) >= 0;
}
bool CUIString::operator>(LPCWSTR str) const
{
    return Compare(str) > 0;
}
bool CUIString::operator==(const CUIString& str) const
{
    return Compare(str.m_pstr) == 0;
}
bool CUIString::operator!=(const CUIString& str) const
{
    return Compare(str.m_pstr) != 0;
}

bool operator==(LPCWSTR lhs, const CUIString& rhs)
{
    return rhs.Compare(lhs) == 0;
}
bool operator!=(LPCWSTR lhs, const CUIString& rhs)
{
    return rhs.Compare(lhs) != 0;
}

int CUIString::Compare(LPCWSTR pstr) const
{
    return wcscmp(m_pstr, pstr ? pstr : kEmptyText);
}

// Only A-Z are folded; the runtime's own case-insensitive compare would depend
// on its locale tables for other letters.
int CUIString::CompareNoCase(LPCWSTR pstr) const
{
    if (!pstr) pstr = kEmptyText;
    const wchar_t* a = m_pstr;
    for (;; ++a, ++pstr) {
        const wchar_t ca = FoldAscii(*a);
        const wchar_t cb = FoldAscii(*pstr);
        if (ca != cb || ca == L'\0') return static_cast<int>(ca) - static_cast<int>(cb);
    }
}

void CUIString::MakeUpper()
{
    for (wchar_t* p = m_pstr; *p; ++p) {
        if (*p >= L'a' && *p <= L'z') *p = static_cast<wchar_t>(*p - L'a' + L'A');
    }
}

void CUIString::MakeLower()
{
    for (wchar_t* p = m_pstr; *p; ++p) *p = FoldAscii(*p);
}

CUIString CUIString::Left(int nLength) const
{
    const int len = GetLength();
    if (nLength < 0) nLength = 0;
    if (nLength > len) nLength = len;
    return CUIString(m_pstr, nLength);
}

// A negative position is taken as 0 rather than reading before the text.
CUIString CUIString::Mid(int iPos, int nLength) const
{
    const int len = GetLength();
    if (iPos < 0) iPos = 0;
    if (iPos >= len) return CUIString();
    const int rest = len - iPos;
    if (nLength < 0 || nLength > rest) nLength = rest;
    if (nLength <= 0) return CUIString();
    return CUIString(m_pstr + iPos, nLength);
}

// A negative count gives the empty text rather than reading past the end.
CUIString CUIString::Right(int nLength) const
{
    const int len = GetLength();
    if (nLength < 0) nLength = 0;
    if (nLength > len) nLength = len;
    return CUIString(m_pstr + len - nLength, nLength);
}

int CUIString::Find(wchar_t ch, int iPos) const
{
    const int len = GetLength();
    if (iPos != 0 && (iPos < 0 || iPos >= len)) return -1;
    for (int i = iPos; i < len; ++i) {
        if (m_pstr[i] == ch) return i;
    }
    return -1;
}

int CUIString::Find(LPCWSTR pstr, int iPos) const
{
    if (!pstr) return -1;
    if (iPos != 0 && (iPos < 0 || iPos > GetLength())) return -1;
    // Some runtimes' wcsstr finds no empty text at the very end.
    if (*pstr == L'\0') return iPos;
    const wchar_t* found = wcsstr(m_pstr + iPos, pstr);
    return found ? static_cast<int>(found - m_pstr) : -1;
}

int CUIString::ReverseFind(wchar_t ch) const
{
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (m_pstr[i] == ch) return i;
    }
    return -1;
}

// Scanning resumes after each inserted replacement, so the result equals one
// left-to-right pass over the original text. An empty search text replaces
// nothing (it would otherwise match everywhere).
int CUIString::Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo)
{
    if (!pstrFrom || !*pstrFrom) return 0;
    if (!pstrTo) pstrTo = kEmptyText;
    const size_t fromLength = wcslen(pstrFrom);
    const size_t toLength = wcslen(pstrTo);

    int count = 0;
    for (const wchar_t* p = wcsstr(m_pstr, pstrFrom); p; p = wcsstr(p + fromLength, pstrFrom)) ++count;
    if (count == 0) return 0;

    const size_t oldLength = wcslen(m_pstr);
    const size_t n = static_cast<size_t>(count);
    if (toLength > fromLength && (toLength - fromLength) > (kMaxLength - oldLength) / n)
        return 0; // the result could not be held
    const size_t newLength = oldLength - n * fromLength + n * toLength;
    auto* result = static_cast<LPWSTR>(malloc((newLength + 1) * sizeof(wchar_t)));
    if (!result) return 0;

    wchar_t* out = result;
    const wchar_t* in = m_pstr;
    for (const wchar_t* hit = wcsstr(in, pstrFrom); hit; hit = wcsstr(in, pstrFrom)) {
        wmemcpy(out, in, static_cast<size_t>(hit - in));
        out += hit - in;
        wmemcpy(out, pstrTo, toLength);
        out += toLength;
        in = hit + fromLength;
    }
    wcscpy(out, in);
    Assign(result, static_cast<int>(newLength));
    free(result);
    return count;
}

// _vscwprintf/_vsnwprintf follow the Windows runtime's wide conventions (%s is a
// wide text) even where the C++ library switches printf to the C99 dialect.
int __cdecl CUIString::Format(LPCWSTR pstrFormat, ...)
{
    // The arguments may point into this string, so it changes only at the end.
    if (!pstrFormat) {
        Empty();
        return -1;
    }
    va_list args;
    va_start(args, pstrFormat);
    va_list measureArgs;
    va_copy(measureArgs, args);
    const int length = _vscwprintf(pstrFormat, measureArgs);
    va_end(measureArgs);
    int written = -1;
    if (length >= 0 && static_cast<size_t>(length) <= kMaxLength) {
        const size_t units = static_cast<size_t>(length) + 1;
        auto* buffer = static_cast<LPWSTR>(calloc(units, sizeof(wchar_t)));
        if (buffer) {
            written = _vsnwprintf(buffer, units, pstrFormat, args);
            Assign(buffer);
            free(buffer);
        }
    }
    va_end(args);
    if (written < 0) Empty();
    return written;
}

// wvsprintfW never writes more than 1024 units, so a buffer of that size cannot
// overflow; longer results than the usual short texts are kept whole.
int __cdecl CUIString::SmallFormat(LPCWSTR pstrFormat, ...)
{
    if (!pstrFormat) {
        Empty();
        return -1;
    }
    wchar_t buffer[1025] = {};
    va_list args;
    va_start(args, pstrFormat);
    const int result = wvsprintfW(buffer, pstrFormat, args);
    va_end(args);
    Assign(buffer);
    return result;
}

} // namespace VarnelUI
