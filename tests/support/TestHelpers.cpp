#include "support/TestHelpers.h"

#include "varnelui/core/UIFileHandle.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>

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

std::string StoredZip(const std::vector<TZipMember>& members)
{
    const auto put = [](std::string& out, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    std::string archive;
    std::string directory;
    for (const TZipMember& m : members) {
        uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size()));
        if (m.badCrc) crc ^= 1;
        const auto size = static_cast<uint32_t>(m.data.size());
        const auto nameLength = static_cast<uint32_t>(m.name.size());
        directory += "PK\x01\x02";
        put(directory, 20, 2); // version made by
        put(directory, 20, 2); // version needed
        put(directory, 0, 2);  // flags
        put(directory, 0, 2);  // stored
        put(directory, 0, 2);  // time
        put(directory, 0x21, 2);
        put(directory, crc, 4);
        put(directory, size, 4);
        put(directory, size, 4);
        put(directory, nameLength, 2);
        put(directory, 0, 2 + 2 + 2 + 2); // extra, comment, disk, internal attributes
        put(directory, 0, 4);             // external attributes
        put(directory, static_cast<uint32_t>(archive.size()), 4);
        directory += m.name;

        archive += "PK\x03\x04";
        put(archive, 20, 2);
        put(archive, 0, 2);
        put(archive, 0, 2);
        put(archive, 0, 2);
        put(archive, 0x21, 2);
        put(archive, crc, 4);
        put(archive, size, 4);
        put(archive, size, 4);
        put(archive, nameLength, 2);
        put(archive, 0, 2);
        archive += m.name + m.data;
    }
    const auto directoryOffset = static_cast<uint32_t>(archive.size());
    archive += directory + "PK\x05\x06";
    put(archive, 0, 2 + 2);
    put(archive, static_cast<uint32_t>(members.size()), 2);
    put(archive, static_cast<uint32_t>(members.size()), 2);
    put(archive, static_cast<uint32_t>(directory.size()), 4);
    put(archive, directoryOffset, 4);
    put(archive, 0, 2);
    return archive;
}

std::wstring ClassName(HWND hWnd)
{
    wchar_t name[256] = {};
    if (hWnd != nullptr) ::GetClassNameW(hWnd, name, 256);
    return name;
}

} // namespace VarnelTest
