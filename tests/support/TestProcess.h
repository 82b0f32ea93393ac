#pragma once
// Child processes for end-to-end tests: start an exe, read its output, find
// its windows, wait for its exit code.

#include <windows.h>

#include <functional>
#include <string>

namespace VarnelTest {

// Wide path of a file in the build tree, e.g. BinaryPath(L"varnelTemplate.exe").
std::wstring BinaryPath(const std::wstring& relative);

class TestProcess
{
public:
    enum class OutputMode {
        Inherited,
        Captured // read by Wait, kept in Output()
    };
    enum class WindowFilter { VisibleOnly, HiddenToo };

    TestProcess() = default;
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    // Starts `exe` with `args`.
    bool Start(const std::wstring& exe, const std::wstring& args = L"", OutputMode output = OutputMode::Inherited);
    // Waits for the exit; false on time-out. Collects captured output meanwhile.
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);
    const std::string& Output() const { return m_output; }
    // What a captured process has written so far, while it runs.
    const std::string& ReadOutput();
    DWORD Id() const { return m_info.dwProcessId; }
    void Kill();

    // First top-level window of this process matching class and caption
    // (null matches any), polled until `timeoutMs` passes.
    HWND FindTopWindow(LPCWSTR className, LPCWSTR caption, DWORD timeoutMs,
                       WindowFilter which = WindowFilter::VisibleOnly) const;
    // True while the process has not ended.
    bool IsRunning() const;

private:
    void Drain();

    PROCESS_INFORMATION m_info{};
    HANDLE m_readPipe = nullptr;
    std::string m_output;
};

// Text of every child window of `parent`, joined by '\n' (message box contents).
std::wstring ChildTexts(HWND parent);

// Copies a file; returns false on failure.
bool CopyTo(const std::wstring& from, const std::wstring& to);

// Deletes a folder and everything in it.
void RemoveTree(const std::wstring& path);

// A fresh empty folder under the temp directory, removed by the destructor.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

} // namespace VarnelTest
