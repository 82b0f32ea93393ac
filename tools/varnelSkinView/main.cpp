// varnelSkinView, the skin author's workbench: shows a skin document live,
// checks a skin, renders a document to a PNG, and writes the skin vocabulary
// reference. See README.md, "Writing skins".
#include "SkinChecker.h"
#include "SkinSource.h"
#include "SkinViewer.h"
#include "ToolFiles.h"
#include "ToolOutput.h"
#include "Vocabulary.h"

#include "varnelui/core/UIManager.h"

#include <ole2.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace SkinView;
using VarnelTools::PrintErr;
using VarnelTools::PrintOut;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr wchar_t kUsage[] =
    L"usage:\n"
    L"  varnelSkinView <skin folder | skin.zip> [document.xml]      show the document, rebuilt when files change\n"
    L"  varnelSkinView <skin folder | skin.zip> [document.xml] --shot FILE.png\n"
    L"                                                             render the document once into a PNG\n"
    L"  varnelSkinView --check <skin folder | skin.zip> [document.xml]\n"
    L"                                                             report problems as file:line: message\n"
    L"  varnelSkinView --vocabulary FILE.md                          write the skin vocabulary reference\n"
    L"The document defaults to the first *.xml whose root is Window. Exit code 0: done; 1: the skin has\n"
    L"errors or the picture could not be made; 2: a wrong command line.";

int Usage(const std::wstring& problem)
{
    PrintErr(L"varnelSkinView: " + problem);
    PrintErr(kUsage);
    return kExitUsage;
}

struct TCommand
{
    enum class Kind { View, Check, Vocabulary } kind = Kind::View;
    std::wstring skin;
    std::wstring document;
    std::wstring output; // --shot or --vocabulary file
};

bool ParseCommand(const std::vector<std::wstring>& args, TCommand& command, std::wstring& problem)
{
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--check") {
            command.kind = TCommand::Kind::Check;
        } else if (arg == L"--shot" || arg == L"--vocabulary") {
            if (i + 1 >= args.size()) {
                problem = arg + L" needs a file";
                return false;
            }
            if (arg == L"--vocabulary") command.kind = TCommand::Kind::Vocabulary;
            command.output = args[++i];
        } else if (arg.size() > 1 && arg[0] == L'-') {
            problem = L"unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (command.kind == TCommand::Kind::Vocabulary) {
        if (positional.empty()) return true;
        problem = L"--vocabulary takes no skin";
        return false;
    }
    if (command.kind == TCommand::Kind::Check && !command.output.empty()) {
        problem = L"--check and --shot do not go together";
        return false;
    }
    if (positional.empty() || positional.size() > 2) {
        problem = positional.empty() ? L"no skin given" : L"too many arguments";
        return false;
    }
    command.skin = positional[0];
    if (positional.size() == 2) command.document = positional[1];
    return true;
}

int Check(const CSkinSource& skin, const std::wstring& document)
{
    CSkinChecker checker;
    if (!document.empty()) {
        checker.CheckDocument(document);
    } else {
        const std::vector<std::wstring> documents = skin.Documents();
        if (documents.empty()) {
            PrintErr(L"varnelSkinView: the skin holds no *.xml document");
            return kExitFailed;
        }
        checker.CheckSkin(documents);
    }
    int errors = 0;
    for (const TSkinProblem& problem : checker.Problems()) {
        PrintOut(FormatProblem(problem));
        if (problem.severity == Severity::Error) ++errors;
    }
    const size_t warnings = checker.Problems().size() - static_cast<size_t>(errors);
    PrintErr(L"varnelSkinView: " + std::to_wstring(errors) + L" errors, " + std::to_wstring(warnings) + L" warnings");
    return errors > 0 ? kExitFailed : kExitOk;
}

int WriteVocabulary(const std::wstring& path)
{
    const std::string text = VocabularyMarkdown();
    std::wstring error;
    if (!VarnelTools::WriteWholeFile(path, std::vector<BYTE>(text.begin(), text.end()), error)) {
        PrintErr(L"varnelSkinView: " + path + L": " + error);
        return kExitFailed;
    }
    return kExitOk;
}

int Run(const TCommand& command)
{
    if (command.kind == TCommand::Kind::Vocabulary) return WriteVocabulary(command.output);

    CSkinSource skin;
    std::wstring problem;
    if (!skin.Open(command.skin, problem)) {
        PrintErr(L"varnelSkinView: " + problem);
        return kExitFailed;
    }
    skin.Install();
    if (command.kind == TCommand::Kind::Check) return Check(skin, command.document);

    const std::wstring document = command.document.empty() ? skin.FirstWindowDocument() : command.document;
    if (document.empty()) {
        PrintErr(L"varnelSkinView: " + command.skin + L" holds no document whose root is Window");
        return kExitFailed;
    }
    CSkinViewer viewer(skin, document);
    return command.output.empty() ? viewer.Run() : viewer.Shot(command.output);
}

struct ArgvDeleter
{
    void operator()(LPWSTR* argv) const { ::LocalFree(argv); }
};

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    const std::unique_ptr<LPWSTR, ArgvDeleter> argv(::CommandLineToArgvW(::GetCommandLineW(), &argc));
    if (!argv || argc < 1) return kExitUsage;
    const std::vector<std::wstring> args(argv.get() + 1, argv.get() + argc);
    if (args.size() == 1 && (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"/?")) {
        PrintOut(kUsage);
        return kExitOk;
    }
    TCommand command;
    std::wstring problem;
    if (!ParseCommand(args, command, problem)) return Usage(problem);

    VarnelUI::CPaintManagerUI::SetInstance(hInstance);
    // ActiveX and browser controls of a document need OLE on this thread.
    const HRESULT ole = ::OleInitialize(nullptr);
    const int code = Run(command);
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return code;
}
