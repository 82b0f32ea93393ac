#pragma once
// The operator's configuration and trailer fields, checked against what the
// launcher reads before anything is written.

#include "app/LaunchSettings.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace Stamp {

// The launcher reads at most this many trailer bytes.
constexpr size_t kMaxTrailerBytes = 255;

// Reads the settings from a configuration document by the launcher's own
// parser (LaunchSettings.h); false when the document does not load.
bool ReadConfig(const std::vector<BYTE>& bytes, LaunchSettings& settings);

// Every setting the launcher uses is present and well formed:
// loginFrameSize two positive numbers, loginWebRect, miniRect and closeRect
// four numbers, playGamekeyWord and clientName non-empty. A missing loginURL
// only adds a warning (nothing reads it).
bool CheckConfig(const std::vector<BYTE>& bytes, LaunchSettings& settings, std::vector<std::wstring>& warnings,
                 std::wstring& error);

// The settings as name and text pairs, in the configuration's usual order.
std::vector<std::pair<std::wstring, std::wstring>> DescribeSettings(const LaunchSettings& settings);

// One trailer field: non-empty valid Unicode without "|" or NUL, as UTF-8.
bool CheckTrailerField(const std::wstring& text, std::string& utf8, std::wstring& error);

} // namespace Stamp
