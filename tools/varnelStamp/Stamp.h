#pragma once
// The two commands of varnelStamp: make a game's launcher from the template,
// and show what a launcher holds.

#include <optional>
#include <string>

namespace Stamp {

// Exit codes: done, failed while writing, refused input (nothing written).
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

struct MakeOptions
{
    std::wstring templatePath;
    std::wstring outPath;
    std::optional<std::wstring> config;  // XML 104
    std::optional<std::wstring> skin;    // ZIPRES 101: a folder or a .zip
    std::optional<std::wstring> icon;    // icon group 103 and its images
    std::optional<std::wstring> login;   // trailer field 0
    std::optional<std::wstring> service; // trailer field 1
};

int Make(const MakeOptions& options);
int Show(const std::wstring& path);

} // namespace Stamp
