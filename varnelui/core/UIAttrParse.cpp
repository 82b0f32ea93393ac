#include "varnelui/core/UIAttrParse.h"

#include <cwchar>

namespace VarnelUI {
namespace AttrParse {

long ParseInt(LPCWSTR pstrValue)
{
    if (pstrValue == nullptr) return 0;
    return std::wcstol(pstrValue, nullptr, 10);
}

int ParseInts(LPCWSTR pstrValue, long* pValues, int nCount)
{
    for (int i = 0; i < nCount; ++i) pValues[i] = 0;
    if (pstrValue == nullptr) return 0;

    LPCWSTR p = pstrValue;
    int nRead = 0;
    while (nRead < nCount && *p != L'\0') {
        LPWSTR pEnd = nullptr;
        pValues[nRead++] = std::wcstol(p, &pEnd, 10);
        p = pEnd;
        // Exactly one separator, whatever it is; never step over the terminator.
        if (*p != L'\0') ++p;
    }
    return nRead;
}

RECT ParseRect(LPCWSTR pstrValue)
{
    long v[4];
    ParseInts(pstrValue, v, 4);
    return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSize(LPCWSTR pstrValue)
{
    long v[2];
    ParseInts(pstrValue, v, 2);
    return SIZE{v[0], v[1]};
}

namespace {

DWORD ParseHex(LPCWSTR p)
{
    return static_cast<DWORD>(std::wcstoul(p, nullptr, 16));
}

} // namespace

DWORD ParseBkColor(LPCWSTR pstrValue)
{
    if (pstrValue == nullptr) return 0;
    LPCWSTR p = pstrValue;
    while (*p != L'\0' && *p <= L' ') ++p;
    if (*p == L'#') ++p;
    return ParseHex(p);
}

DWORD ParseColor(LPCWSTR pstrValue)
{
    if (pstrValue == nullptr) return 0;
    LPCWSTR p = pstrValue;
    if (*p == L'#') ++p;
    return ParseHex(p);
}

bool ParseBool(LPCWSTR pstrValue)
{
    return pstrValue != nullptr && std::wcscmp(pstrValue, L"true") == 0;
}

namespace {

CAttributeCollector* g_pActiveCollector = nullptr;

} // namespace

CAttributeCollector::CAttributeCollector() : m_pOuter(g_pActiveCollector)
{
    g_pActiveCollector = this;
}

CAttributeCollector::~CAttributeCollector()
{
    g_pActiveCollector = m_pOuter;
}

CAttributeCollector* CAttributeCollector::Active()
{
    return g_pActiveCollector;
}

void CAttributeCollector::Add(LPCWSTR pstrName, AttrSyntax syntax)
{
    m_attributes.push_back({pstrName, syntax});
}

} // namespace AttrParse
} // namespace VarnelUI
