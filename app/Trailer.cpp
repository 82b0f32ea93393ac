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
    // The loaded image spans SizeOfImage bytes (optional header offset 56, the
    // same in 32-bit and 64-bit headers), so its headers always fit.
    const BYTE* nt = base + ReadAt<LONG>(base, 0x3C);
    DWORD end = 0;
    ImageEndOffsetOf(base, ReadAt<DWORD>(nt, 4 + 20 + 56), end);
    return end;
}

bool ImageEndOffsetOf(const BYTE* image, size_t size, DWORD& end)
{
    if (image == nullptr || size < 0x40 || image[0] != 'M' || image[1] != 'Z') return false;
    const LONG ntOffset = ReadAt<LONG>(image, 0x3C);
    if (ntOffset < 0 || static_cast<size_t>(ntOffset) > size - 24) return false;
    const BYTE* nt = image + ntOffset;
    if (std::memcmp(nt, "PE\0\0", 4) != 0) return false;
    const WORD sections = ReadAt<WORD>(nt, 6);
    if (sections == 0) {
        end = 0;
        return true;
    }
    // The section table follows the optional header, whose size the file header
    // gives: 224 bytes for 32-bit images, 240 for 64-bit ones.
    const WORD optionalHeaderSize = ReadAt<WORD>(nt, 4 + 16);
    const size_t last = static_cast<size_t>(ntOffset) + 4 + 20 + optionalHeaderSize + (sections - 1) * 40u;
    if (last + 40 > size) return false;
    end = ReadAt<DWORD>(image + last, 20) + ReadAt<DWORD>(image + last, 16);
    return true;
}

std::string TrailerTextOf(const BYTE* afterImage, size_t size)
{
    const size_t limit = size < kTrailerBuffer - 1 ? size : kTrailerBuffer - 1;
    size_t length = 0;
    while (length < limit && afterImage[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(afterImage), length);
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
    BYTE buffer[kTrailerBuffer - 1] = {};
    DWORD read = 0;
    ::ReadFile(file.Get(), buffer, kTrailerBuffer - 1, &read, nullptr);
    out = TrailerTextOf(buffer, read);
}

std::vector<std::string> SplitString(const std::string& text, const std::string& separator)
{
    std::vector<std::string> pieces;
    if (separator.empty()) return pieces;
    size_t start = 0;
    for (size_t p = text.find(separator); p != std::string::npos; p = text.find(separator, start)) {
        if (p != start) pieces.push_back(text.substr(start, p - start));
        start = p + separator.size();
    }
    if (start < text.size()) pieces.push_back(text.substr(start));
    return pieces;
}

bool GetTrailerField(int index, CUIString& out)
{
    CUIString path;
    GetModulePath(path);
    std::string trailer;
    ReadExecutableTrailer(path, trailer);
    return TrailerFieldOf(trailer, index, out);
}

bool TrailerFieldOf(const std::string& trailer, int index, CUIString& out)
{
    if (trailer.find('|') == std::string::npos) return false;
    const std::vector<std::string> pieces = SplitString(trailer, "|");
    if (index < 0 || static_cast<size_t>(index) >= pieces.size()) return false;
    const std::string& piece = pieces[index];
    // The build writes the trailer as UTF-8, so UTF-8 both sizes and converts it
    // (identical to the ANSI code page for the ASCII trailers shipped so far).
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, piece.data(), static_cast<int>(piece.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, piece.data(), static_cast<int>(piece.size()), wide.data(), units);
    out = wide.c_str();
    return true;
}
