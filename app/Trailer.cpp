#include "app/Trailer.h"

#include "varnelui/core/UIFileHandle.h"

#include <cstring>

using VarnelUI::CUIString;

namespace {

// Bytes of the trailer buffer; the last one always stays zero so a trailer of
// 256 bytes or more is cut at 255 rather than read past the buffer.
constexpr DWORD kTrailerBuffer = 256;

template <typename T>
T ReadAt(const BYTE* base, size_t offset)
{
    T value;
    std::memcpy(&value, base + offset, sizeof(T));
    return value;
}

} // namespace

void GetModulePath(CUIString& path)
{
    wchar_t buffer[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    path = buffer;
}

DWORD GetImageEndOffset()
{
    const auto* base = reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr));
    const BYTE* nt = base + ReadAt<LONG>(base, 0x3C);
    const WORD sections = ReadAt<WORD>(nt, 6);
    if (sections == 0)
        return 0;
    // The section table follows the optional header, whose size the file header
    // gives: 224 bytes for 32-bit images, 240 for 64-bit ones.
    const WORD optionalHeaderSize = ReadAt<WORD>(nt, 4 + 16);
    const BYTE* table = nt + 4 + 20 + optionalHeaderSize;
    const BYTE* last = table + (sections - 1) * 40;
    return ReadAt<DWORD>(last, 20) + ReadAt<DWORD>(last, 16);
}

void ReadExecutableTrailer(LPCWSTR path, std::string& out)
{
    const VarnelUI::CFileHandle file = VarnelUI::CFileHandle::OpenForRead(path);
    if (!file.IsValid()) {
        CUIString message = L"资源文件不存在，打开错误";
        message += path;
        ::MessageBoxW(nullptr, message, L"提示", MB_OK);
        return;
    }
    LARGE_INTEGER offset{};
    offset.QuadPart = GetImageEndOffset();
    ::SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN);
    char buffer[kTrailerBuffer] = {};
    DWORD read = 0;
    ::ReadFile(file.Get(), buffer, kTrailerBuffer - 1, &read, nullptr);
    out.assign(buffer);
}

std::vector<std::string> SplitString(const std::string& text, const std::string& separator)
{
    std::vector<std::string> pieces;
    if (separator.empty())
        return pieces;
    size_t start = 0;
    for (size_t p = text.find(separator); p != std::string::npos; p = text.find(separator, start)) {
        if (p != start)
            pieces.push_back(text.substr(start, p - start));
        start = p + separator.size();
    }
    if (start < text.size())
        pieces.push_back(text.substr(start));
    return pieces;
}

bool GetTrailerField(int index, CUIString& out)
{
    CUIString path;
    GetModulePath(path);
    std::string trailer;
    ReadExecutableTrailer(path, trailer);
    if (trailer.find('|') == std::string::npos)
        return false;
    const std::vector<std::string> pieces = SplitString(trailer, "|");
    if (index < 0 || static_cast<size_t>(index) >= pieces.size())
        return false;
    const std::string& piece = pieces[index];
    // The build writes the trailer as UTF-8, so UTF-8 both sizes and converts it
    // (identical to the ANSI code page for the ASCII trailers shipped so far).
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, piece.data(), static_cast<int>(piece.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, piece.data(), static_cast<int>(piece.size()), wide.data(), units);
    out = wide.c_str();
    return true;
}
