// The process-wide skin resource settings of the paint manager: written during
// start-up and window creation on the GUI thread, read there, never locked.

#include "varnelui/core/UIManager.h"

namespace VarnelUI {

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;
HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;
CUIString CPaintManagerUI::m_pStrResourcePath;
CUIString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
ZipHandle CPaintManagerUI::m_hResourceZip = nullptr;

HINSTANCE CPaintManagerUI::GetInstance()
{
    return m_hInstance;
}

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

CUIString CPaintManagerUI::GetInstancePath()
{
    if (m_hInstance == nullptr)
        return CUIString();
    wchar_t szModule[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(m_hInstance, szModule, MAX_PATH);
    CUIString path = szModule;
    const int pos = path.ReverseFind(L'\\');
    return pos >= 0 ? path.Left(pos + 1) : CUIString();
}

CUIString CPaintManagerUI::GetCurrentPath()
{
    wchar_t szPath[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szPath);
    return CUIString(szPath);
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath)
{
    ::SetCurrentDirectoryW(pStrPath);
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst)
{
    m_hResourceInstance = hInst;
}

const CUIString& CPaintManagerUI::GetResourcePath()
{
    return m_pStrResourcePath;
}

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    m_pStrResourcePath = pStrPath;
    if (m_pStrResourcePath.IsEmpty())
        return;
    const wchar_t last = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
    if (last != L'\\' && last != L'/')
        m_pStrResourcePath += L'\\';
}

const CUIString& CPaintManagerUI::GetResourceZip()
{
    return m_pStrResourceZip;
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return m_bCachedResourceZip;
}

ZipHandle CPaintManagerUI::GetResourceZipHandle()
{
    return m_hResourceZip;
}

namespace {

// The reserved archive name of an archive held in memory.
constexpr wchar_t kMemoryZipName[] = L"membuffer";

} // namespace

void CPaintManagerUI::SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip)
{
    const LPCWSTR name = pStrZip != nullptr ? pStrZip : L"";
    if (m_pStrResourceZip == name && m_bCachedResourceZip == bCachedResourceZip)
        return;
    Term();
    m_pStrResourceZip = name;
    m_bCachedResourceZip = bCachedResourceZip;
    if (m_bCachedResourceZip)
        m_hResourceZip = ZipOpenFile(m_pStrResourcePath + m_pStrResourceZip);
}

void CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len)
{
    // Every skinned window installs the same process-wide buffer as it is
    // created; the first install keeps its parsed directory for all of them.
    if (m_pStrResourceZip == kMemoryZipName)
        return;
    Term();
    m_pStrResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_hResourceZip = ZipOpenMemory(pVoid, len);
}

void CPaintManagerUI::Term()
{
    if (m_bCachedResourceZip && m_hResourceZip != nullptr)
        ZipClose(m_hResourceZip);
    m_hResourceZip = nullptr;
}

} // namespace VarnelUI
