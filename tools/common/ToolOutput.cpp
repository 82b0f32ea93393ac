#include "ToolOutput.h"

#include "ToolFiles.h"

#include <windows.h>

#include <string>

namespace VarnelTools {

namespace {

// The console of the process that started this one, opened once; null when
// there is none to attach to.
HANDLE ParentConsole()
{
    static const OwnedHandle console(::AttachConsole(ATTACH_PARENT_PROCESS)
                                         ? ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                         nullptr)
                                         : INVALID_HANDLE_VALUE);
    return console.IsValid() ? console.Get() : nullptr;
}

HANDLE OutputHandle(DWORD which)
{
    const HANDLE handle = ::GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return handle;
    return ParentConsole();
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    // Unpaired surrogates become replacement characters: a line is never lost.
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void Print(DWORD which, const std::wstring& line)
{
    const HANDLE out = OutputHandle(which);
    if (out == nullptr) return;
    const std::wstring text = line + L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(out, &mode)) {
        ::WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = Utf8(text);
    ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace

void PrintOut(const std::wstring& line)
{
    Print(STD_OUTPUT_HANDLE, line);
}

void PrintErr(const std::wstring& line)
{
    Print(STD_ERROR_HANDLE, line);
}

} // namespace VarnelTools
