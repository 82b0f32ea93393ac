#pragma once
// Static drawing operations the controls paint with, and the clip scope that
// keeps a control's painting inside its (possibly rounded) rectangle.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIGdiHandles.h"

namespace VarnelUI {

class CPaintManagerUI;

// Narrows a device context's clip to a control while the object lives. The
// previous clip is kept as its bounding rectangle, so a non-rectangular clip
// that was in force before comes back as its bounding box.
class VARNELUI_API CRenderClip
{
public:
    CRenderClip() = default;
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;
    ~CRenderClip();

    // The current clip intersected with rc.
    static void GenerateClip(HDC hDC, RECT rc, CRenderClip& clip);
    // The current clip intersected with rc and with rcItem's rounded shape.
    static void GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip);
    // Paint outside the control for a moment, then narrow the clip again.
    static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
    static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

    RECT rcItem{};
    HDC hDC = nullptr;
    CRegionHandle hRgn;
    CRegionHandle hOldRgn;

private:
    void Restore();
};

class VARNELUI_API CRenderEngine
{
public:
    // Shifts the hue by H - 180 degrees and scales saturation and lightness by
    // S and L percent; alpha is kept. (180, 100, 100) leaves the colour as is.
    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);

    // Draws the images of an image description over rcItem, clipped to rcPaint.
    // Images are not loaded yet: this answers false and leaves every
    // description as it is until the image loader is in place.
    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);

    // Colours are 0xAARRGGBB. Alpha 0 draws nothing, 255 fills opaquely, and
    // anything between blends the colour's bytes unpremultiplied over the target.
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    // A two-colour gradient at the average opacity of both colours.
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);

    // From (left, top) to (right, bottom).
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
    // Outlines drawn inside the rectangle; the interior is left alone.
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor);
};

} // namespace VarnelUI
