// The paint manager's static resource API: the public face of the
// process-wide CResourceSettings.

#include "varnelui/core/UIManager.h"

namespace VarnelUI {

namespace {

CResourceSettings& Settings()
{
    return CResourceSettings::Process();
}

} // namespace

HINSTANCE CPaintManagerUI::GetInstance()
{
    return Settings().GetInstance();
}

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    Settings().SetInstance(hInst);
}

CUIString CPaintManagerUI::GetInstancePath()
{
    return Settings().GetInstancePath();
}

CUIString CPaintManagerUI::GetCurrentPath()
{
    return CResourceSettings::GetCurrentPath();
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath)
{
    CResourceSettings::SetCurrentPath(pStrPath);
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return Settings().GetResourceDll();
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst)
{
    Settings().SetResourceDll(hInst);
}

const CUIString& CPaintManagerUI::GetResourcePath()
{
    return Settings().GetResourcePath();
}

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    Settings().SetResourcePath(pStrPath);
}

const CUIString& CPaintManagerUI::GetResourceZip()
{
    return Settings().GetResourceZip();
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return Settings().IsCachedResourceZip();
}

ZipHandle CPaintManagerUI::GetResourceZipHandle()
{
    return Settings().GetResourceZipHandle();
}

void CPaintManagerUI::SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip)
{
    Settings().SetResourceZip(pStrZip, bCachedResourceZip);
}

void CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len)
{
    Settings().SetResourceZip(pVoid, len);
}

void CPaintManagerUI::Term()
{
    Settings().Term();
}

} // namespace VarnelUI
