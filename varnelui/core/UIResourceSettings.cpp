#include "varnelui/core/UIResourceSettings.h"

namespace VarnelUI {

namespace {

// The reserved archive name of an archive held in memory.
constexpr wchar_t kMemoryZipName[] = L"membuffer";

} // namespace

CResourceSettings& CResourceSettings::Process()
{
    static CResourceSettings settings;
    return settings;
}

CResourceSettings::~CResourceSettings()
{
    Term();
}

HINSTANCE CResourceSettings::GetInstance() const
{
    return m_hInstance;
}

void CResourceSettings::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

CUIString CResourceSettings::GetInstancePath() const
{
    if (m_hInstance == nullptr) return CUIString();
    wchar_t szModule[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(m_hInstance, szModule, MAX_PATH);
    CUIString path = szModule;
    const int pos = path.ReverseFind(L'\\');
    return pos >= 0 ? path.Left(pos + 1) : CUIString();
}

CUIString CResourceSettings::GetCurrentPath()
{
    wchar_t szPath[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szPath);
    return CUIString(szPath);
}

void CResourceSettings::SetCurrentPath(LPCWSTR pStrPath)
{
    ::SetCurrentDirectoryW(pStrPath);
}

HINSTANCE CResourceSettings::GetResourceDll() const
{
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

void CResourceSettings::SetResourceDll(HINSTANCE hInst)
{
    m_hResourceInstance = hInst;
}

const CUIString& CResourceSettings::GetResourcePath() const
{
    return m_sResourcePath;
}

void CResourceSettings::SetResourcePath(LPCWSTR pStrPath)
{
    m_sResourcePath = pStrPath;
    if (m_sResourcePath.IsEmpty()) return;
    const wchar_t last = m_sResourcePath[m_sResourcePath.GetLength() - 1];
    if (last != L'\\' && last != L'/') m_sResourcePath += L'\\';
}

const CUIString& CResourceSettings::GetResourceZip() const
{
    return m_sResourceZip;
}

bool CResourceSettings::IsCachedResourceZip() const
{
    return m_bCachedResourceZip;
}

ZipHandle CResourceSettings::GetResourceZipHandle() const
{
    return m_hResourceZip;
}

void CResourceSettings::SetResourceZip(LPCWSTR pStrZip, bool bCached)
{
    const LPCWSTR name = pStrZip != nullptr ? pStrZip : L"";
    if (m_sResourceZip == name && m_bCachedResourceZip == bCached) return;
    Term();
    m_sResourceZip = name;
    m_bCachedResourceZip = bCached;
    if (m_bCachedResourceZip) m_hResourceZip = ZipOpenFile(m_sResourcePath + m_sResourceZip);
}

void CResourceSettings::SetResourceZip(LPVOID pVoid, unsigned int len)
{
    // Every skinned window installs the same process-wide buffer as it is
    // created; the first install keeps its parsed directory for all of them.
    if (m_sResourceZip == kMemoryZipName) return;
    Term();
    m_sResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_hResourceZip = ZipOpenMemory(pVoid, len);
}

void CResourceSettings::Term()
{
    if (m_bCachedResourceZip && m_hResourceZip != nullptr) ZipClose(m_hResourceZip);
    m_hResourceZip = nullptr;
}

} // namespace VarnelUI
