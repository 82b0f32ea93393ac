#include "support/TestHelpers.h"

#include "varnelui/core/UIFileHandle.h"

#include <gtest/gtest.h>

namespace VarnelTest {

namespace {

void WriteBytes(const std::wstring& path, const void* data, size_t size)
{
    const HANDLE h =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << Narrow(path);
        return;
    }
    DWORD written = 0;
    const BOOL ok = ::WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(h);
    if (!ok || written != size) ADD_FAILURE() << "cannot write " << Narrow(path);
}

} // namespace

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

std::string Narrow(std::wstring_view text)
{
    const int cch = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), cch, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), cch, out.data(), n, nullptr, nullptr);
    return out;
}

void WriteFile(const std::wstring& path, std::string_view bytes)
{
    WriteBytes(path, bytes.data(), bytes.size());
}

void WriteFile(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    WriteBytes(path, bytes.data(), bytes.size());
}

std::vector<BYTE> ReadBytes(const std::wstring& path)
{
    const VarnelUI::CFileHandle file = VarnelUI::CFileHandle::OpenForRead(path.c_str());
    ULONGLONG size = 0;
    if (!file.GetSize(size)) {
        ADD_FAILURE() << "cannot open " << Narrow(path);
        return {};
    }
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    if (size != 0 && !file.ReadAt(0, bytes.data(), static_cast<DWORD>(size)))
        ADD_FAILURE() << "cannot read " << Narrow(path);
    return bytes;
}

VarnelUI::TEventUI MakeEvent(int kind, WPARAM wParam, LPARAM lParam)
{
    VarnelUI::TEventUI event = {};
    event.kind = kind;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

std::wstring ClassName(HWND hWnd)
{
    wchar_t name[256] = {};
    if (hWnd != nullptr) ::GetClassNameW(hWnd, name, 256);
    return name;
}

} // namespace VarnelTest
