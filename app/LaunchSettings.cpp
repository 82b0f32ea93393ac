#include "app/LaunchSettings.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

#include <cwchar>

using VarnelUI::CMarkup;
using VarnelUI::CMarkupNode;
namespace AttrParse = VarnelUI::AttrParse;

LaunchSettings& GetLaunchSettings()
{
    static LaunchSettings settings;
    return settings;
}

bool LoadConfigResource(CMarkup& markup, UINT id)
{
    const HINSTANCE module = VarnelUI::CPaintManagerUI::GetResourceDll();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"xml");
    if (resource == nullptr) return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (loaded == nullptr) return false;
    const auto* bytes = static_cast<const BYTE*>(::LockResource(loaded));
    const DWORD size = ::SizeofResource(module, resource);
    if (bytes == nullptr || !markup.LoadFromMem(bytes, size, 0)) return false;
    return true;
}

bool ParseLaunchSettings(CMarkup& markup, LaunchSettings& settings)
{
    if (!markup.IsValid()) return false;
    for (CMarkupNode node = markup.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        // Only the first attribute counts, and only when it is exactly "value".
        if (node.GetAttributeCount() > 0 && std::wcscmp(node.GetAttributeName(0), L"value") == 0)
            ApplySetting(settings, node.GetName(), node.GetAttributeValue(0));
    }
    return true;
}

void ApplySetting(LaunchSettings& settings, LPCWSTR name, LPCWSTR value)
{
    if (name == nullptr || value == nullptr) return;
    // Same number-list syntax as skin attributes; a short list keeps the
    // missing numbers at 0.
    if (std::wcscmp(name, L"loginWebRect") == 0) {
        settings.loginWebRect = AttrParse::ParseRect(value);
    } else if (std::wcscmp(name, L"closeRect") == 0) {
        settings.closeRect = AttrParse::ParseRect(value);
    } else if (std::wcscmp(name, L"miniRect") == 0) {
        settings.miniRect = AttrParse::ParseRect(value);
    } else if (std::wcscmp(name, L"loginFrameSize") == 0) {
        settings.loginFrameSize = AttrParse::ParseSize(value);
    } else if (std::wcscmp(name, L"loginURL") == 0) {
        settings.loginURL = value;
    } else if (std::wcscmp(name, L"playGamekeyWord") == 0) {
        settings.playGamekeyWord = value;
    } else if (std::wcscmp(name, L"clientName") == 0) {
        settings.clientName = value;
    }
}
