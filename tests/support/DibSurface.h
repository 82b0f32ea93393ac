#pragma once
// A 32-bit DIB section (top-down unless asked otherwise) selected into a
// memory DC, for tests that draw and then read pixels back.

#include "varnelui/core/UIRenderBlend.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace VarnelTest {

class DibSurface
{
public:
    // Every pixel starts as `fill` (0x00RRGGBB).
    DibSurface(int cx, int cy, DWORD fill = 0,
               VarnelUI::RenderBlend::DibRows rows = VarnelUI::RenderBlend::DibRows::TopDown);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC dc() const { return m_dc; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

    void Fill(DWORD rgb);
    // Every pixel as stored (0xAARRGGBB, alpha included) from a function.
    void FillFrom(const std::function<DWORD(int x, int y)>& pixel);
    // The pixel as 0x00RRGGBB (the alpha byte is ignored); flushes GDI first.
    DWORD At(int x, int y) const;
    // Number of pixels equal to rgb.
    int Count(DWORD rgb) const;
    // Every pixel as stored (0xAARRGGBB), row by row from the top; flushes GDI first.
    std::vector<DWORD> Pixels() const;

private:
    int m_cx;
    int m_cy;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
    bool m_topDown; // row 0 first in memory
};

inline int Red(DWORD c)
{
    return (c >> 16) & 0xFF;
}
inline int Green(DWORD c)
{
    return (c >> 8) & 0xFF;
}
inline int Blue(DWORD c)
{
    return c & 0xFF;
}

} // namespace VarnelTest
