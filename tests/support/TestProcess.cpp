#include "support/TestProcess.h"

#include <shellapi.h>

#include <vector>

namespace VarnelTest {

std::wstring BinaryPath(const std::wstring& relative)
{
    return std::wstring(VARNEL_BINARY_DIR) + L"/" + relative;
}

TestProcess::~TestProcess()
{
    if (m_info.hProcess != nullptr) {
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) Kill();
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
    }
    if (m_readPipe != nullptr) ::CloseHandle(m_readPipe);
}

bool TestProcess::Start(const std::wstring& exe, const std::wstring& args, OutputMode output)
{
    const bool captureOutput = output == OutputMode::Captured;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) commandLine += L" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    HANDLE writePipe = nullptr;
    if (captureOutput) {
        SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
        if (!::CreatePipe(&m_readPipe, &writePipe, &sa, 0)) return false;
        ::SetHandleInformation(m_readPipe, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writePipe;
        startup.hStdError = writePipe;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    }
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    const BOOL ok = ::CreateProcessW(exe.c_str(), mutableLine.data(), nullptr, nullptr, captureOutput, 0, nullptr,
                                     nullptr, &startup, &m_info);
    if (writePipe != nullptr) ::CloseHandle(writePipe);
    return ok != FALSE;
}

void TestProcess::Drain()
{
    if (m_readPipe == nullptr) return;
    DWORD available = 0;
    while (::PeekNamedPipe(m_readPipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD read = 0;
        if (!::ReadFile(m_readPipe, buffer, sizeof(buffer), &read, nullptr) || read == 0) break;
        m_output.append(buffer, read);
    }
}

bool TestProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    if (m_info.hProcess == nullptr) return false;
    const DWORD start = ::GetTickCount();
    for (;;) {
        Drain();
        const DWORD state = ::WaitForSingleObject(m_info.hProcess, 20);
        if (state == WAIT_OBJECT_0) break;
        if (::GetTickCount() - start > timeoutMs) return false;
    }
    Drain();
    if (exitCode != nullptr) ::GetExitCodeProcess(m_info.hProcess, exitCode);
    return true;
}

const std::string& TestProcess::ReadOutput()
{
    Drain();
    return m_output;
}

void TestProcess::Kill()
{
    if (m_info.hProcess != nullptr) {
        ::TerminateProcess(m_info.hProcess, 0xDEAD);
        ::WaitForSingleObject(m_info.hProcess, 5000);
    }
}

namespace {

struct WindowQuery
{
    DWORD pid;
    LPCWSTR className;
    LPCWSTR caption;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param)
{
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != query->pid || (query->visibleOnly && !::IsWindowVisible(hwnd))) return TRUE;
    wchar_t text[256] = {};
    if (query->className != nullptr) {
        ::GetClassNameW(hwnd, text, 256);
        if (::lstrcmpW(text, query->className) != 0) return TRUE;
    }
    if (query->caption != nullptr) {
        ::GetWindowTextW(hwnd, text, 256);
        if (::lstrcmpW(text, query->caption) != 0) return TRUE;
    }
    query->found = hwnd;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND hwnd, LPARAM param)
{
    auto* texts = reinterpret_cast<std::wstring*>(param);
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    if (text[0] != L'\0') {
        if (!texts->empty()) *texts += L'\n';
        *texts += text;
    }
    return TRUE;
}

} // namespace

bool TestProcess::IsRunning() const
{
    return m_info.hProcess != nullptr && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

HWND TestProcess::FindTopWindow(LPCWSTR className, LPCWSTR caption, DWORD timeoutMs, WindowFilter which) const
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        WindowQuery query{m_info.dwProcessId, className, caption, which == WindowFilter::VisibleOnly, nullptr};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found != nullptr) return query.found;
        if (::GetTickCount() - start > timeoutMs) return nullptr;
        ::Sleep(50);
    }
}

std::wstring ChildTexts(HWND parent)
{
    std::wstring texts;
    ::EnumChildWindows(parent, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool CopyTo(const std::wstring& from, const std::wstring& to)
{
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

TempDir::TempDir()
{
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        wchar_t name[MAX_PATH] = {};
        wsprintfW(name, L"%svarnel-%lu-%u", base, ::GetCurrentProcessId(), ++counter);
        if (::CreateDirectoryW(name, nullptr)) {
            m_path = name;
            return;
        }
    }
}

void RemoveTree(const std::wstring& path)
{
    // Double-terminated list for the shell's recursive delete.
    std::wstring from = path;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

} // namespace VarnelTest
