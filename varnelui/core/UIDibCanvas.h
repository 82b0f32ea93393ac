#pragma once
// Drawing premultiplied images straight into the pixels of the 32-bit DIB
// section a device context draws on. The result is exactly what the system's
// AlphaBlend with per-pixel alpha gives (the same nearest-pixel stretch, the
// same rounding, the destination's alpha byte blended too), but runs of
// opaque source pixels are copied, transparent ones skipped, and stretched
// rows that repeat are copied from the row before.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIPixelRuns.h"

#include <vector>

namespace VarnelUI {

class CDibCanvas
{
public:
    // False when the context draws on anything but a 32-bit DIB section made
    // by RenderBlend::CreateDib32, or when its logical coordinates are not its
    // device coordinates: the caller then draws through the system.
    bool Attach(HDC hDC);

    // The premultiplied part rcSrc of image, stretched onto rcDest (logical
    // coordinates) at constant opacity fade, inside the context's clip. A
    // source part that leaves the image draws nothing, as with AlphaBlend.
    void Blend(const TPixelView& image, const CPixelRuns& runs, const RECT& rcDest, const RECT& rcSrc, BYTE fade);

    // Sets every pixel of rcDest (logical coordinates) inside the context's
    // clip to the opaque colour 0xFFRRGGBB. The system's fills leave the
    // alpha byte at 0, which a layered window shows as a hole.
    void FillOpaque(const RECT& rcDest, DWORD color);

private:
    struct TPiece;
    void BlendClipped(const TPiece& piece, const RECT& rcVisible);
    bool BlendRow(const TPiece& piece, DWORD* dst, int sy, int left, int right) const;

    TPixelView m_target;
    std::vector<RECT> m_clip;   // device rectangles to draw inside
    std::vector<int> m_columns; // source column of each visible destination column
};

} // namespace VarnelUI
