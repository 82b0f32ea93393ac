#pragma once
// Where skin files are looked for, process-wide: the executable's module, an
// optional module holding the resources, the skin folder and the skin
// archive, which may stay open (cached) for the life of the process. Written
// during start-up and window creation on the GUI thread, read there, never
// locked. CPaintManagerUI's static resource API forwards here.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"
#include "varnelui/utils/UIZip.h"

namespace VarnelUI {

// Where a window's skin comes from.
enum UI_RESOURCETYPE { UI_FROM_FILE = 1, UI_FROM_ZIP, UI_FROM_RESOURCE, UI_FROM_ZIPRESOURCE };

class VARNELUI_API CResourceSettings
{
public:
    // The settings every skin lookup of the process reads.
    static CResourceSettings& Process();

    CResourceSettings() = default;
    CResourceSettings(const CResourceSettings&) = delete;
    CResourceSettings& operator=(const CResourceSettings&) = delete;
    ~CResourceSettings();

    HINSTANCE GetInstance() const;
    void SetInstance(HINSTANCE hInst);
    // The instance module's folder with its trailing backslash; empty without an instance.
    CUIString GetInstancePath() const;

    static CUIString GetCurrentPath();
    static void SetCurrentPath(LPCWSTR pStrPath);

    // The resource module, or the instance while none is set.
    HINSTANCE GetResourceDll() const;
    void SetResourceDll(HINSTANCE hInst);

    const CUIString& GetResourcePath() const;
    // A non-empty folder without a trailing separator gets a backslash.
    void SetResourcePath(LPCWSTR pStrPath);

    const CUIString& GetResourceZip() const;
    bool IsCachedResourceZip() const;
    ZipHandle GetResourceZipHandle() const;
    // An archive file under the resource path; with bCached it is opened now
    // and kept open. The same name and flag again change nothing.
    void SetResourceZip(LPCWSTR pStrZip, bool bCached);
    // An archive in the caller's bytes, read in place, so they must outlive
    // the process's use of it. Only the first such archive is installed.
    void SetResourceZip(LPVOID pVoid, unsigned int len);
    // Closes the cached archive.
    void Term();

private:
    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hResourceInstance = nullptr;
    CUIString m_sResourcePath;
    CUIString m_sResourceZip;
    bool m_bCachedResourceZip = false;
    ZipHandle m_hResourceZip = nullptr;
};

} // namespace VarnelUI
