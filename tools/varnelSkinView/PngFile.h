#pragma once
// Writing a picture as a PNG file: 8-bit RGB or RGBA, one IDAT chunk.

#include <windows.h>

#include <string>
#include <vector>

namespace SkinView {

struct TPicture
{
    int width = 0;
    int height = 0;
    bool alpha = false;       // RGBA when true, RGB otherwise
    std::vector<BYTE> pixels; // rows top down, 3 or 4 bytes per pixel
};

// Written to a temporary file next to `path` and renamed into place, so a
// failure never leaves a half-written picture. False with the reason.
bool WritePng(const std::wstring& path, const TPicture& picture, std::wstring& error);

} // namespace SkinView
