// varnelStamp: makes one game's launcher from the built launcher template by
// replacing its configuration, skin, icon and trailer, and shows what a
// launcher holds. See README.md, "Making a game's launcher".
#include "Stamp.h"
#include "ToolOutput.h"

#include <windows.h>

#include <map>

#ifndef VARNEL_VERSION
#define VARNEL_VERSION L"unknown"
#endif

namespace {

constexpr wchar_t kUsage[] =
    L"usage:\n"
    L"  varnelStamp make --template varnelTemplate.exe --out game.exe [--config config.xml]\n"
    L"                   [--skin folder|archive.zip] [--icon game.ico] [--login URL] [--service URL]\n"
    L"  varnelStamp show game.exe\n"
    L"  varnelStamp --version\n"
    L"Exit code 0: done; 2: an input was refused and nothing was written; 1: writing failed.";

int Usage(const std::wstring& problem)
{
    VarnelTools::PrintErr(L"varnelStamp: " + problem);
    VarnelTools::PrintErr(kUsage);
    return Stamp::kExitRefused;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"--version") {
        VarnelTools::PrintOut(std::wstring(L"varnelStamp ") + VARNEL_VERSION);
        return Stamp::kExitOk;
    }
    if (command == L"--help" || command == L"-h" || command == L"/?") {
        VarnelTools::PrintOut(kUsage);
        return Stamp::kExitOk;
    }
    if (command == L"show") {
        if (argc != 3) return Usage(L"show takes one file");
        return Stamp::Show(argv[2]);
    }
    if (command != L"make") return Usage(command.empty() ? L"no command given" : L"unknown command " + command);

    Stamp::MakeOptions options;
    std::map<std::wstring, std::optional<std::wstring>*> optional = {
        {L"--config", &options.config}, {L"--skin", &options.skin},       {L"--icon", &options.icon},
        {L"--login", &options.login},   {L"--service", &options.service},
    };
    std::optional<std::wstring> templatePath, outPath;
    optional[L"--template"] = &templatePath;
    optional[L"--out"] = &outPath;
    for (int i = 2; i < argc; i += 2) {
        const auto option = optional.find(argv[i]);
        if (option == optional.end()) return Usage(std::wstring(L"unknown option ") + argv[i]);
        if (i + 1 >= argc) return Usage(std::wstring(argv[i]) + L" needs a value");
        if (option->second->has_value()) return Usage(std::wstring(argv[i]) + L" is given twice");
        *option->second = std::wstring(argv[i + 1]);
    }
    if (!templatePath || !outPath) return Usage(L"make needs --template and --out");
    options.templatePath = *templatePath;
    options.outPath = *outPath;
    return Stamp::Make(options);
}
