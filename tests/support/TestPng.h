#pragma once
// Small 8-bit RGBA PNG files with exact pixels, made from a function, for
// tests that load images through the framework's decoder.

#include <windows.h>

#include <functional>
#include <vector>

namespace VarnelTest {

using Bytes = std::vector<BYTE>;
using PixelFn = std::function<DWORD(int x, int y)>; // 0xAARRGGBB, not premultiplied

// An 8-bit RGBA PNG. The header may claim another size than the pixels have.
Bytes MakePng(int cx, int cy, const PixelFn& pixel, int headerCx = -1, int headerCy = -1);

inline PixelFn Solid(DWORD argb)
{
    return [argb](int, int) { return argb; };
}

} // namespace VarnelTest
