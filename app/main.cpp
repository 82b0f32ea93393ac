// Process entry point of the launcher: configuration, single-instance guard,
// then the windows and the message loop.

#include "app/LaunchSettings.h"
#include "varnelui/core/UIManager.h"

#include <objbase.h>
#include <ole2.h>

using VarnelUI::CMarkup;
using VarnelUI::CPaintManagerUI;

namespace {

// All access, as the guard is only ever opened to learn that it exists.
constexpr DWORD kMutexAllAccess = 0x001F0001;

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    ::CoInitialize(nullptr);
    ::OleInitialize(nullptr);

    CPaintManagerUI::SetInstance(hInstance);
    CPaintManagerUI::SetResourceDll(hInstance);

    // A missing or broken configuration is not fatal: the settings stay empty.
    CMarkup markup;
    LoadConfigResource(markup, kConfigResourceId);
    ParseLaunchSettings(markup, GetLaunchSettings());

    // An empty client name gives an unnamed mutex: nothing to find, so no
    // guard. Shipped configurations always name the client.
    const LPCWSTR clientName = GetLaunchSettings().clientName;
    if (HANDLE running = ::OpenMutexW(kMutexAllAccess, TRUE, clientName)) {
        ::MessageBoxW(nullptr, L"微端已经运行了。", L"提示", MB_ICONINFORMATION);
        ::CloseHandle(running);
        ::CoUninitialize();
        return 0;
    }
    HANDLE guard = ::CreateMutexW(nullptr, FALSE, clientName);

    // The login frame and the message loop arrive with the skinned windows.

    if (guard != nullptr)
        ::CloseHandle(guard);
    ::CoUninitialize();
    return 0;
}
