#pragma once
// The per-window paint manager and the process-wide skin resource settings.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"
#include "varnelui/utils/UIZip.h"

namespace VarnelUI {

// Where a window's skin comes from.
enum UI_RESOURCETYPE
{
    UI_FROM_FILE = 1,
    UI_FROM_ZIP,
    UI_FROM_RESOURCE,
    UI_FROM_ZIPRESOURCE
};

class VARNELUI_API CPaintManagerUI
{
public:
    // ---- process-wide resource settings -----------------------------------
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE hInst);
    static CUIString GetInstancePath();
    static CUIString GetCurrentPath();
    static void SetCurrentPath(LPCWSTR pStrPath);
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE hInst);
    static const CUIString& GetResourcePath();
    static void SetResourcePath(LPCWSTR pStrPath);
    static const CUIString& GetResourceZip();
    static bool IsCachedResourceZip();
    static ZipHandle GetResourceZipHandle();
    static void SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip = false);
    static void SetResourceZip(LPVOID pVoid, unsigned int len);
    static void Term();

private:
    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CUIString m_pStrResourcePath;
    static CUIString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static ZipHandle m_hResourceZip;
};

} // namespace VarnelUI
