#pragma once
// The framework's colours are 0xAARRGGBB; the platform's pens, brushes and
// text colours take a COLORREF, which has only red, green and blue.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

constexpr COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

constexpr BYTE AlphaOf(DWORD argb)
{
    return static_cast<BYTE>(argb >> 24);
}

} // namespace VarnelUI
