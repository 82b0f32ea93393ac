#include "PngFile.h"

#include "ToolFiles.h"

#include <zlib.h>

namespace SkinView {

namespace {

void PutBig32(std::vector<BYTE>& out, DWORD value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<BYTE>(value >> shift));
}

void PutChunk(std::vector<BYTE>& out, const char (&type)[5], const std::vector<BYTE>& data)
{
    PutBig32(out, static_cast<DWORD>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(crc32(0, nullptr, 0), out.data() + start, static_cast<uInt>(out.size() - start));
    PutBig32(out, static_cast<DWORD>(crc));
}

bool Encode(const TPicture& picture, std::vector<BYTE>& png)
{
    const size_t stride = static_cast<size_t>(picture.width) * (picture.alpha ? 4 : 3);
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels.size() != stride * picture.height) return false;

    // Every row with filter type 0 (none).
    std::vector<BYTE> raw;
    raw.reserve((stride + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(stride * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(stride));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<BYTE> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<BYTE> header;
    PutBig32(header, static_cast<DWORD>(picture.width));
    PutBig32(header, static_cast<DWORD>(picture.height));
    header.push_back(8);                     // bits per channel
    header.push_back(picture.alpha ? 6 : 2); // colour type: RGBA or RGB
    header.insert(header.end(), {0, 0, 0});  // deflate, adaptive filters, no interlace
    png.assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return true;
}

} // namespace

bool WritePng(const std::wstring& path, const TPicture& picture, std::wstring& error)
{
    std::vector<BYTE> png;
    if (!Encode(picture, png)) {
        error = L"the picture cannot be encoded";
        return false;
    }
    const std::wstring temporary = path + L".partial";
    if (!VarnelTools::WriteWholeFile(temporary, png, error)) {
        error = path + L": cannot be written: " + error;
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = path + L": cannot be replaced";
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace SkinView
