#pragma once
// Icon files (.ico) and the two resource kinds an icon becomes in an
// executable: one RT_GROUP_ICON directory and one RT_ICON per image.

#include <windows.h>

#include <string>
#include <vector>

namespace Stamp {

struct IconImage
{
    BYTE width = 0; // 0 means 256
    BYTE height = 0;
    BYTE colors = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    std::vector<BYTE> data; // a PNG, or a DIB with its AND mask
};

// Checks an .ico file's directory and that every image lies inside the file
// and starts as a PNG or a bitmap header. On failure `error` says why.
bool ReadIconFile(const std::vector<BYTE>& bytes, std::vector<IconImage>& images, std::wstring& error);

// The RT_GROUP_ICON data naming image i as RT_ICON ids[i].
std::vector<BYTE> MakeIconGroup(const std::vector<IconImage>& images, const std::vector<WORD>& ids);

// The RT_ICON ids and the sizes a group directory lists; false when damaged.
struct IconGroupEntry
{
    WORD id;
    int width, height, bitCount;
    DWORD bytes;
};
bool ReadIconGroup(const std::vector<BYTE>& group, std::vector<IconGroupEntry>& entries);

} // namespace Stamp
