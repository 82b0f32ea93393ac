// Process entry point of the launcher: configuration, single-instance guard,
// then the windows and the message loop.

#include "app/LaunchSettings.h"
#include "app/VarnelLogin.h"
#include "varnelui/core/UIManager.h"

#include <objbase.h>
#include <ole2.h>

using VarnelUI::CMarkup;
using VarnelUI::CPaintManagerUI;

namespace {

// The skinned base strips the caption when the window is created.
constexpr DWORD kLoginFrameStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;

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

    CVarnelLogin* loginFrame = GetLoginFrame();
    if (loginFrame == nullptr) return -1;

    // An empty client name gives an unnamed mutex: nothing to find, so no
    // guard. Shipped configurations always name the client.
    const LPCWSTR clientName = GetLaunchSettings().clientName;
    if (HANDLE running = ::OpenMutexW(MUTEX_ALL_ACCESS, TRUE, clientName)) {
        ::MessageBoxW(nullptr, L"微端已经运行了。", L"提示", MB_ICONINFORMATION);
        ::CloseHandle(running);
        ::CoUninitialize();
        return 0;
    }
    HANDLE guard = ::CreateMutexW(nullptr, FALSE, clientName);

    // The frame sizes itself from the settings once its skin is built.
    loginFrame->Create(nullptr, L"Zentari", kLoginFrameStyle, 0, 0, 0, 0, 0);
    loginFrame->CenterWindow();
    ::ShowWindow(*loginFrame, SW_SHOWNORMAL);
    // Ends with the quit message the frame posts when its window is destroyed.
    CPaintManagerUI::MessageLoop();

    if (guard != nullptr) ::CloseHandle(guard);
    ::CoUninitialize();
    return 0;
}
