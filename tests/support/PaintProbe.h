#pragma once
// Helpers for tests that paint controls into a DibSurface: where the ink
// went, and images of given pixels registered in a paint manager's cache.

#include "DibSurface.h"

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRenderBlend.h"

#include <functional>

namespace VarnelTest {

// The smallest rectangle holding every pixel that differs from `background`
// (0x00RRGGBB); empty when nothing was drawn.
inline RECT InkBox(const DibSurface& dib, DWORD background)
{
    RECT rc = {dib.Width(), dib.Height(), 0, 0};
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            if (dib.At(x, y) == background) continue;
            if (x < rc.left) rc.left = x;
            if (y < rc.top) rc.top = y;
            if (x + 1 > rc.right) rc.right = x + 1;
            if (y + 1 > rc.bottom) rc.bottom = y + 1;
        }
    }
    if (rc.right == 0) rc = RECT{};
    return rc;
}

// Registers an opaque cx x cy image under `name` whose pixel (x, y) is
// pixel(x, y) (0x00RRGGBB), so image descriptions naming it draw it.
inline bool AddImageFrom(VarnelUI::CPaintManagerUI& pm, LPCWSTR name, int cx, int cy,
                         const std::function<DWORD(int x, int y)>& pixel)
{
    void* pBits = nullptr;
    HBITMAP hBitmap = VarnelUI::RenderBlend::CreateDib32(nullptr, cx, cy, &pBits);
    if (hBitmap == nullptr) return false;
    auto* pPixels = static_cast<DWORD*>(pBits);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) pPixels[y * cx + x] = 0xFF000000 | pixel(x, y);
    return pm.AddImage(name, hBitmap, cx, cy, false) != nullptr;
}

// The same of one colour.
inline bool AddSolidImage(VarnelUI::CPaintManagerUI& pm, LPCWSTR name, DWORD rgb, int cx = 8, int cy = 8)
{
    return AddImageFrom(pm, name, cx, cy, [rgb](int, int) { return rgb; });
}

} // namespace VarnelTest
