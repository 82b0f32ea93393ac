#pragma once
// Static drawing operations the controls paint with, and the clip scope that
// keeps a control's painting inside its (possibly rounded) rectangle.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIString.h"

#include <memory>

namespace VarnelUI {

class CControlUI;
class CPaintManagerUI;
class CPixelRuns;

// One decoded image. The bitmap is a 32-bit top-down DIB section, bytes B, G,
// R, A per pixel, colour premultiplied by alpha. Made by the loader, owned by
// a paint manager's image cache once added, released with FreeImage.
struct TImageInfo
{
    HBITMAP hBitmap;
    int width;
    int height;
    bool alpha;        // some pixel is not opaque: draw blended
    CUIString resType; // the resource type it was loaded from; empty for files
    DWORD mask;        // the colour (0xAARRGGBB) made transparent when loading
    // Where the pixels are opaque, transparent or in between; null when not
    // known (the bitmap is no 32-bit DIB section or is not premultiplied).
    std::shared_ptr<const CPixelRuns> runs;
};

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

    // ---- images --------------------------------------------------------------
    // Decodes a PNG, JPEG, BMP or GIF into a premultiplied 32-bit bitmap. With
    // a type, bitmap names an executable resource of that type; otherwise a
    // skin file (folder or archive) or, failing that, a plain file path. Pixels
    // equal to mask (0xAARRGGBB, after premultiplying) become transparent.
    // Null when nothing is found, the data does not decode or is too large.
    static TImageInfo* LoadImageW(STRINGorID bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    // The icon over opaque black, without an alpha channel.
    static TImageInfo* LoadImageFromHICON(HICON hIcon);
    static void FreeImage(TImageInfo* pImage);

    // Paints rcBmpPart of the bitmap into rc as a nine-grid: the rcCorners
    // borders keep their size (stretched only along their edge), the centre
    // is stretched, tiled or (hole) left out. Pieces outside rcPaint are
    // skipped. Blended when bAlpha or uFade < 255.
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, bool bAlpha, BYTE uFade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);
    // The same for a decoded image, blended when its alpha flag is set. Its
    // runs let opaque pieces be copied and transparent ones skipped, and on a
    // 32-bit DIB section the blend is done here instead of by the system,
    // with the very same pixels as a result.
    static void DrawImage(HDC hDC, const TImageInfo& image, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, BYTE uFade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);

    // Draws the images of an image description (file='a.png' source='...' ...)
    // over rcItem, clipped to rcPaint; pStrModify adjusts the last image. False
    // without a DC or manager, and when the description named images but none
    // of them could be loaded, so the caller can drop the description instead
    // of trying to load it on every paint.
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

    // ---- text ------------------------------------------------------------------
    // Plain text in the manager's font iFont, transparent background. "&" is
    // always shown as itself. With DT_CALCRECT, rc receives the text's extent.
    static void DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor, int iFont,
                          UINT uStyle);
    // The extent of the whole text on one line; (0, 0) without text or manager.
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont, UINT uStyle);

    // Text with inline tags (<b>, <c #RRGGBB>, <a name>, <i image 4 2>, <n>, ...)
    // wrapped into rc. prcLinks and sLinks hold nLinkRects slots; on return
    // nLinkRects is the number of links recorded there. With DT_CALCRECT
    // nothing is drawn and rc receives the needed size; otherwise alignment
    // may move rc.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                             RECT* prcLinks, CUIString* sLinks, int& nLinkRects, UINT uStyle);

    // The control painted at its usual coordinates, cut to rc, as a bottom-up
    // 32-bit bitmap of rc's size owned by the caller. Null on failure.
    static HBITMAP GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, const RECT& rc);
};

} // namespace VarnelUI
