#include "ValueSyntax.h"

#include <cwctype>

namespace SkinView {

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// A decimal number as wcstol reads it: blanks, an optional sign, digits.
bool SkipNumber(LPCWSTR& p)
{
    while (*p == L' ' || *p == L'\t') ++p;
    if (*p == L'+' || *p == L'-') ++p;
    if (!IsDigit(*p)) return false;
    while (IsDigit(*p)) ++p;
    return true;
}

// How many comma-separated numbers the value holds, or -1 when it is not such a list.
int CountNumbers(LPCWSTR pstrValue)
{
    LPCWSTR p = pstrValue;
    int count = 0;
    for (;;) {
        if (!SkipNumber(p)) return -1;
        ++count;
        if (*p == L'\0') return count;
        if (*p != L',') return -1;
        ++p;
    }
}

bool IsColor(LPCWSTR pstrValue)
{
    LPCWSTR p = pstrValue;
    if (*p == L'#') ++p;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) p += 2;
    int digits = 0;
    for (; std::iswxdigit(*p) && *p < 0x80; ++p) ++digits;
    return *p == L'\0' && digits >= 1 && digits <= 8;
}

} // namespace

std::wstring ValueProblem(AttrSyntax syntax, LPCWSTR pstrValue)
{
    const LPCWSTR value = pstrValue != nullptr ? pstrValue : L"";
    switch (syntax) {
    case AttrSyntax::Int:
    case AttrSyntax::FontId: return CountNumbers(value) == 1 ? L"" : L"is not a number";
    case AttrSyntax::Numbers: {
        const int count = CountNumbers(value);
        return count >= 1 && count <= 4 ? L"" : L"is not a list of one to four numbers";
    }
    case AttrSyntax::Size: return CountNumbers(value) == 2 ? L"" : L"is not two numbers (cx,cy)";
    case AttrSyntax::Rect: return CountNumbers(value) == 4 ? L"" : L"is not four numbers (left,top,right,bottom)";
    case AttrSyntax::Color: return IsColor(value) ? L"" : L"is not a colour (#AARRGGBB)";
    case AttrSyntax::Bool:
        return std::wcscmp(value, L"true") == 0 || std::wcscmp(value, L"false") == 0
                   ? L""
                   : L"is neither \"true\" nor \"false\"";
    case AttrSyntax::Text:
    case AttrSyntax::Image:
    case AttrSyntax::AttributeList: break;
    }
    return L"";
}

const wchar_t* SyntaxName(AttrSyntax syntax)
{
    switch (syntax) {
    case AttrSyntax::Text: return L"text";
    case AttrSyntax::Int: return L"number";
    case AttrSyntax::Numbers: return L"one to four numbers";
    case AttrSyntax::Size: return L"cx,cy";
    case AttrSyntax::Rect: return L"left,top,right,bottom";
    case AttrSyntax::Color: return L"colour #AARRGGBB";
    case AttrSyntax::Bool: return L"true or false";
    case AttrSyntax::Image: return L"image description";
    case AttrSyntax::FontId: return L"font index";
    case AttrSyntax::AttributeList: return L"attribute list";
    }
    return L"text";
}

} // namespace SkinView
