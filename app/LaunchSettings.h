#pragma once
// The launch configuration: the XML resource that makes one compiled launcher
// one game's launcher (window sizes, button rectangles, keyword, client name).

#include "varnelui/core/UIMarkup.h"
#include "varnelui/core/UIString.h"

// Resource id of the configuration document (type "xml").
constexpr UINT kConfigResourceId = 104;

struct LaunchSettings
{
    VarnelUI::CUIString loginURL;        // stored but unused: the login page comes from the trailer
    VarnelUI::CUIString playGamekeyWord; // a navigation containing it opens the play window
    VarnelUI::CUIString clientName;      // single-instance mutex name and tray tooltip
    RECT closeRect{};
    RECT miniRect{};
    RECT loginWebRect{};
    SIZE loginFrameSize{};
};

// The one process-wide record; empty until the entry point parses the resource.
LaunchSettings& GetLaunchSettings();

// Loads resource `id` of type "xml" from the resource module into `markup`.
bool LoadConfigResource(VarnelUI::CMarkup& markup, UINT id);

// Applies every child of the root whose first attribute is "value".
bool ParseLaunchSettings(VarnelUI::CMarkup& markup, LaunchSettings& settings);

void ApplySetting(LaunchSettings& settings, LPCWSTR name, LPCWSTR value);
