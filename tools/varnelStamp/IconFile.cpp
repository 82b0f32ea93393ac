#include "IconFile.h"

#include <cstring>

namespace Stamp {

namespace {

template <typename T>
T Get(const std::vector<BYTE>& bytes, size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <typename T>
void Put(std::vector<BYTE>& bytes, T value)
{
    const auto* p = reinterpret_cast<const BYTE*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof(T));
}

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

} // namespace

bool ReadIconFile(const std::vector<BYTE>& bytes, std::vector<IconImage>& images, std::wstring& error)
{
    images.clear();
    // ICONDIR: reserved 0, type 1 (2 would be a cursor), image count.
    if (bytes.size() < 6 || Get<WORD>(bytes, 0) != 0 || Get<WORD>(bytes, 2) != 1) {
        error = L"not an icon file (no .ico header)";
        return false;
    }
    const WORD count = Get<WORD>(bytes, 4);
    if (count == 0) {
        error = L"the icon file holds no images";
        return false;
    }
    const size_t directoryEnd = 6 + 16u * count;
    if (bytes.size() < directoryEnd) {
        error = L"the icon file is truncated (its directory lists " + std::to_wstring(count) + L" images)";
        return false;
    }
    for (WORD i = 0; i < count; ++i) {
        const size_t entry = 6 + 16u * i;
        IconImage image;
        image.width = bytes[entry];
        image.height = bytes[entry + 1];
        image.colors = bytes[entry + 2];
        image.planes = Get<WORD>(bytes, entry + 4);
        image.bitCount = Get<WORD>(bytes, entry + 6);
        const DWORD size = Get<DWORD>(bytes, entry + 8);
        const DWORD offset = Get<DWORD>(bytes, entry + 12);
        const std::wstring which = L"image " + std::to_wstring(i + 1) + L" of " + std::to_wstring(count);
        if (offset < directoryEnd || offset > bytes.size() || bytes.size() - offset < size) {
            error = L"the icon file is truncated or damaged (" + which + L" lies outside the file)";
            return false;
        }
        image.data.assign(bytes.begin() + offset, bytes.begin() + offset + size);
        const bool png = size >= 8 && std::memcmp(image.data.data(), kPngSignature, 8) == 0;
        const bool dib = size >= 40 && Get<DWORD>(image.data, 0) >= 40 && Get<DWORD>(image.data, 0) <= size;
        if (!png && !dib) {
            error = L"the icon file is damaged (" + which + L" is neither a PNG nor a bitmap)";
            return false;
        }
        images.push_back(std::move(image));
    }
    return true;
}

std::vector<BYTE> MakeIconGroup(const std::vector<IconImage>& images, const std::vector<WORD>& ids)
{
    std::vector<BYTE> group;
    Put<WORD>(group, 0);
    Put<WORD>(group, 1);
    Put<WORD>(group, static_cast<WORD>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        group.insert(group.end(), {image.width, image.height, image.colors, 0});
        Put<WORD>(group, image.planes);
        Put<WORD>(group, image.bitCount);
        Put<DWORD>(group, static_cast<DWORD>(image.data.size()));
        Put<WORD>(group, ids[i]);
    }
    return group;
}

bool ReadIconGroup(const std::vector<BYTE>& group, std::vector<IconGroupEntry>& entries)
{
    entries.clear();
    if (group.size() < 6) return false;
    const WORD count = Get<WORD>(group, 4);
    if (group.size() < 6 + 14u * count) return false;
    for (WORD i = 0; i < count; ++i) {
        const size_t at = 6 + 14u * i;
        entries.push_back(IconGroupEntry{Get<WORD>(group, at + 12), group[at] == 0 ? 256 : group[at],
                                         group[at + 1] == 0 ? 256 : group[at + 1], Get<WORD>(group, at + 6),
                                         Get<DWORD>(group, at + 8)});
    }
    return true;
}

} // namespace Stamp
