#include "ToolFiles.h"

#include "varnelui/core/UIFileHandle.h"

namespace VarnelTools {

namespace {

bool WriteAll(HANDLE file, const void* data, size_t size)
{
    const auto* p = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
        p += chunk;
        size -= chunk;
    }
    return true;
}

} // namespace

bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>& bytes, std::wstring& error)
{
    const VarnelUI::CFileHandle file = VarnelUI::CFileHandle::OpenForRead(path.c_str());
    ULONGLONG size = 0;
    if (!file.IsValid() || !file.GetSize(size)) {
        error = L"cannot be read: " + SystemMessage(::GetLastError());
        return false;
    }
    if (size > 0x40000000) {
        error = L"is larger than 1 GB";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !file.ReadAt(0, bytes.data(), static_cast<DWORD>(size))) {
        error = L"cannot be read: " + SystemMessage(::GetLastError());
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::vector<BYTE>& bytes, std::wstring& error)
{
    const OwnedHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file.IsValid() || !WriteAll(file.Get(), bytes.data(), bytes.size())) {
        error = SystemMessage(::GetLastError());
        return false;
    }
    return true;
}

bool AppendToFile(const std::wstring& path, const std::string& bytes, std::wstring& error)
{
    const OwnedHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid() || !WriteAll(file.Get(), bytes.data(), bytes.size())) {
        error = SystemMessage(::GetLastError());
        return false;
    }
    return true;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(written);
    return full;
}

std::wstring ParentFolder(const std::wstring& fullPath)
{
    const size_t slash = fullPath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    // "C:\game.exe" lives in "C:\", not in "C:".
    return fullPath.substr(0, slash == 2 && fullPath[1] == L':' ? 3 : slash);
}

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::wstring* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const OwnedHandle file(::CreateFileW(paths[i]->c_str(), 0,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file.IsValid() || !::GetFileInformationByHandle(file.Get(), &info[i])) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

std::wstring SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(code);
    ::LocalFree(text);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return message;
}

bool ToUtf8(const std::wstring& text, std::string& out)
{
    out.clear();
    if (text.empty()) return true;
    const int n = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    out.resize(static_cast<size_t>(n));
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return true;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

} // namespace VarnelTools
