#pragma once
// Value syntax shared by every skin attribute (numbers, number lists, colours,
// booleans) and the name -> setter tables through which controls apply them.

#include "varnelui/core/UIDefines.h"

#include <cwchar>
#include <vector>

namespace VarnelUI {
namespace AttrParse {

// A decimal integer as wcstol reads it: leading white space and a sign are
// allowed, reading stops at the first non-digit, no number at all gives 0.
long ParseInt(LPCWSTR pstrValue);

// Attribute values are 32-bit numbers in the skin; int is that width everywhere.
constexpr int ToInt(long value)
{
    return static_cast<int>(value);
}

// Reads up to nCount decimal integers separated by exactly one character of
// any kind. Reading stops at the end of the value, so a short list never
// reaches past it; the numbers it lacks are set to 0. Returns how many
// numbers had text to be read from.
int ParseInts(LPCWSTR pstrValue, long* pValues, int nCount);

// "l,t,r,b" and "cx,cy" in the list syntax above.
RECT ParseRect(LPCWSTR pstrValue);
SIZE ParseSize(LPCWSTR pstrValue);

// Colours are 0xAARRGGBB in hexadecimal, usually written "#AARRGGBB".
// Background form: leading control characters and spaces are skipped before an
// optional '#'.
DWORD ParseBkColor(LPCWSTR pstrValue);
// Plain form: a '#' is skipped only as the very first character.
DWORD ParseColor(LPCWSTR pstrValue);

// True exactly for "true"; "True", "1" and everything else are false.
bool ParseBool(LPCWSTR pstrValue);

// Walks an image description: key='value' items separated by one space, with
// blanks allowed around the "=". visit(key, keyLength, value, valueLength) gets
// each item; the texts are not terminated. Returns false at a syntax error,
// after the items before it, and true when the text ends cleanly.
template <class Visit>
bool ForEachImageItem(LPCWSTR pstrText, Visit&& visit)
{
    if (pstrText == nullptr) return true;
    LPCWSTR p = pstrText;
    const auto skipBlanks = [&p] {
        while (*p != L'\0' && *p <= L' ') ++p;
    };
    for (;;) {
        skipBlanks();
        if (*p == L'\0') return true;
        LPCWSTR pKey = p;
        while (*p != L'\0' && *p != L'=' && *p > L' ') ++p;
        const auto nKey = static_cast<int>(p - pKey);
        skipBlanks();
        if (*p != L'=') return false;
        ++p;
        skipBlanks();
        if (*p != L'\'') return false;
        LPCWSTR pValue = ++p;
        while (*p != L'\0' && *p != L'\'') ++p;
        if (*p == L'\0') return false;
        visit(pKey, nKey, pValue, static_cast<int>(p - pValue));
        ++p;
        if (*p == L'\0') return true;
        if (*p != L' ') return false;
        ++p;
    }
}

// Walks an attribute list: name="value" pairs separated by one space, the form
// of Default lists and of scroll-bar styles. visit(name, nameLength, value,
// valueLength) gets each pair; the texts are not terminated. Returns false at
// a syntax error, after the pairs before it, and true when the list ends
// cleanly.
template <class Visit>
bool ForEachListAttribute(LPCWSTR pstrList, Visit&& visit)
{
    if (pstrList == nullptr) return true;
    // Separators are ASCII, so stepping by 16-bit units walks whole characters.
    LPCWSTR p = pstrList;
    while (*p != L'\0') {
        LPCWSTR pName = p;
        while (*p != L'\0' && *p != L'=') ++p;
        if (*p != L'=') return false;
        const auto nName = static_cast<int>(p - pName);
        ++p;
        if (*p != L'"') return false;
        LPCWSTR pValue = ++p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p != L'"') return false;
        visit(pName, nName, pValue, static_cast<int>(p - pValue));
        ++p;
        if (*p == L'\0') return true;
        if (*p != L' ') return false;
        ++p;
    }
    return true;
}

// How an attribute's value is written. Skin tools check values by it and the
// vocabulary reference prints it.
enum class AttrSyntax {
    Text,          // any text
    Int,           // a decimal number
    Numbers,       // one to four decimal numbers
    Size,          // "cx,cy"
    Rect,          // four numbers, "left,top,right,bottom"
    Color,         // "#AARRGGBB", hexadecimal
    Bool,          // "true" or "false"
    Image,         // an image description
    FontId,        // the index of a Font of the window
    AttributeList, // name="value" pairs separated by one space
};

// One row of a class's attribute table. Apply receives the object the table
// belongs to and the raw attribute value.
template <class T>
struct TAttributeEntry
{
    LPCWSTR name;
    AttrSyntax syntax;
    void (*apply)(T& target, LPCWSTR pstrValue);
};

struct TAttributeInfo
{
    LPCWSTR name;
    AttrSyntax syntax;
};

// While one lives, ApplyFromTable lists its table here instead of applying
// anything and answers "not mine", so one SetAttribute call walks a class's
// tables down to the control base. Skin tools learn each class's vocabulary
// this way, from the very tables that apply it. GUI thread only.
class VARNELUI_API CAttributeCollector
{
public:
    CAttributeCollector();
    ~CAttributeCollector();
    CAttributeCollector(const CAttributeCollector&) = delete;
    CAttributeCollector& operator=(const CAttributeCollector&) = delete;

    static CAttributeCollector* Active();
    void Add(LPCWSTR pstrName, AttrSyntax syntax);
    // In the order the tables were walked: the class's own first.
    const std::vector<TAttributeInfo>& Attributes() const { return m_attributes; }

private:
    CAttributeCollector* m_pOuter;
    std::vector<TAttributeInfo> m_attributes;
};

// Looks the name up in the table (exact, case-sensitive) and applies the first
// matching row. Returns false when the table does not know the name, so the
// caller can hand it to its base class.
template <class T, size_t N>
bool ApplyFromTable(const TAttributeEntry<T> (&table)[N], T& target, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (CAttributeCollector* pCollector = CAttributeCollector::Active()) {
        for (const TAttributeEntry<T>& entry : table) pCollector->Add(entry.name, entry.syntax);
        return false;
    }
    if (pstrName == nullptr) return false;
    for (const TAttributeEntry<T>& entry : table) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.apply(target, pstrValue != nullptr ? pstrValue : L"");
            return true;
        }
    }
    return false;
}

} // namespace AttrParse
} // namespace VarnelUI
