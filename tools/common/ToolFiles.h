#pragma once
// Small file and text helpers of the project's tools.

#include <windows.h>

#include <string>
#include <vector>

namespace VarnelTools {

// A kernel handle closed when it goes out of scope.
class OwnedHandle
{
public:
    explicit OwnedHandle(HANDLE h) : m_h(h) {}
    ~OwnedHandle()
    {
        if (IsValid()) ::CloseHandle(m_h);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }

private:
    HANDLE m_h;
};

// The whole file; false with `error` set (the system's reason) on failure.
bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>& bytes, std::wstring& error);
// Creates or truncates `path` and writes `bytes` to it.
bool WriteWholeFile(const std::wstring& path, const std::vector<BYTE>& bytes, std::wstring& error);
bool AppendToFile(const std::wstring& path, const std::string& bytes, std::wstring& error);

bool IsFolder(const std::wstring& path);
std::wstring FullPath(const std::wstring& path);
// The folder part of a full path ("C:\a" for "C:\a\b.exe").
std::wstring ParentFolder(const std::wstring& fullPath);
// True when both paths name one existing file (same volume and file index).
bool SameFile(const std::wstring& a, const std::wstring& b);

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code);

// UTF-16 <-> UTF-8; ToUtf8 fails on text that is not valid Unicode.
bool ToUtf8(const std::wstring& text, std::string& out);
std::wstring FromUtf8(const std::string& text);

} // namespace VarnelTools
