#include "varnelui/core/UIRender.h"

#include <algorithm>

namespace VarnelUI {

namespace {

// Pens, brushes and text colours take only red, green and blue.
COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

BYTE AlphaOf(DWORD argb)
{
    return static_cast<BYTE>(argb >> 24);
}

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

// A 32-bit top-down DIB section; pBits receives its pixels.
HBITMAP CreateDib32(HDC hDC, int cx, int cy, void** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(cx) * static_cast<DWORD>(cy) * 4;
    return ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, ppBits, nullptr, 0);
}

// ---- hue, saturation, lightness ---------------------------------------------
// The channels are taken in storage order (bits 0-7 first); the conversion back
// uses the same order, so a round trip returns the colour.

struct THsl
{
    double h; // degrees
    double s;
    double l;
};

THsl RgbToHsl(DWORD color)
{
    const double x = (color & 0xFF) / 255.0;
    const double y = ((color >> 8) & 0xFF) / 255.0;
    const double z = ((color >> 16) & 0xFF) / 255.0;
    const double m = std::min({x, y, z});
    const double M = std::max({x, y, z});
    THsl hsl{0.0, 0.0, (m + M) / 2.0};
    if (m == M) return hsl;

    const double f = (x == m) ? y - z : (y == m) ? z - x : x - y;
    const double i = (x == m) ? 3.0 : (y == m) ? 5.0 : 1.0;
    double h = i - f / (M - m);
    if (h >= 6.0) h -= 6.0;
    hsl.h = h * 60.0;
    hsl.s = (2.0 * hsl.l <= 1.0) ? (M - m) / (M + m) : (M - m) / (2.0 - M - m);
    return hsl;
}

double HueToChannel(double p, double q, double t)
{
    if (t < 0.0) t += 1.0;
    else if (t > 1.0) t -= 1.0;
    if (6.0 * t < 1.0) return p + (q - p) * 6.0 * t;
    if (2.0 * t < 1.0) return q;
    if (3.0 * t < 2.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

DWORD ChannelToByte(double v)
{
    // The small bias keeps values that are whole numbers in exact arithmetic
    // from truncating one step down through floating-point rounding.
    const double scaled = 255.0 * v + 1e-7;
    if (scaled <= 0.0) return 0;
    if (scaled >= 255.0) return 255;
    return static_cast<DWORD>(scaled);
}

DWORD HslToRgb(const THsl& hsl)
{
    const double l = hsl.l;
    const double s = hsl.s;
    const double q = (2.0 * l < 1.0) ? (1.0 + s) * l : l + s - l * s;
    const double p = 2.0 * l - q;
    const double hk = hsl.h / 360.0;
    const DWORD b0 = ChannelToByte(HueToChannel(p, q, hk + 1.0 / 3.0));
    const DWORD b1 = ChannelToByte(HueToChannel(p, q, hk));
    const DWORD b2 = ChannelToByte(HueToChannel(p, q, hk - 1.0 / 3.0));
    return b0 | (b1 << 8) | (b2 << 16);
}

} // namespace

// ---- CRenderClip --------------------------------------------------------------

CRenderClip::~CRenderClip()
{
    Restore();
}

void CRenderClip::Restore()
{
    if (hDC != nullptr && hOldRgn) ::SelectClipRgn(hDC, hOldRgn.Get());
    hDC = nullptr;
    hRgn.Reset();
    hOldRgn.Reset();
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip)
{
    clip.Restore();
    RECT rcClip = {};
    ::GetClipBox(hDC, &rcClip);
    clip.hOldRgn.Reset(::CreateRectRgnIndirect(&rcClip));
    clip.hRgn.Reset(::CreateRectRgnIndirect(&rc));
    ::ExtSelectClipRgn(hDC, clip.hRgn.Get(), RGN_AND);
    clip.hDC = hDC;
    clip.rcItem = rc;
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip)
{
    clip.Restore();
    RECT rcClip = {};
    ::GetClipBox(hDC, &rcClip);
    clip.hOldRgn.Reset(::CreateRectRgnIndirect(&rcClip));
    clip.hRgn.Reset(::CreateRectRgnIndirect(&rc));
    const CRegionHandle hRgnRound(
        ::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height));
    ::CombineRgn(clip.hRgn.Get(), clip.hRgn.Get(), hRgnRound.Get(), RGN_AND);
    ::ExtSelectClipRgn(hDC, clip.hRgn.Get(), RGN_AND);
    clip.hDC = hDC;
    clip.rcItem = rc;
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hOldRgn.Get());
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hRgn.Get());
}

// ---- CRenderEngine --------------------------------------------------------------

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100) return dwColor;
    THsl hsl = RgbToHsl(dwColor);
    hsl.h += H - 180;
    if (hsl.h <= 0.0) hsl.h += 360.0;
    hsl.s *= S / 100.0;
    hsl.l *= L / 100.0;
    return (dwColor & 0xFF000000) | HslToRgb(hsl);
}

bool CRenderEngine::DrawImageString(HDC, CPaintManagerUI*, const RECT&, const RECT&, LPCWSTR, LPCWSTR)
{
    return false;
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const BYTE alpha = AlphaOf(color);
    if (hDC == nullptr || alpha == 0 || ::IsRectEmpty(&rc)) return;

    if (alpha == 255) {
        const CBrushHandle brush(::CreateSolidBrush(ToColorRef(color)));
        if (brush) ::FillRect(hDC, &rc, brush.Get());
        return;
    }

    // One pixel holding the colour's bytes as they are (B, G, R, A in memory),
    // stretched over the rectangle with per-pixel alpha.
    const CMemoryDCHandle memDC(::CreateCompatibleDC(hDC));
    if (!memDC) return;
    void* pBits = nullptr;
    const CBitmapHandle bitmap(CreateDib32(hDC, 1, 1, &pBits));
    if (!bitmap || pBits == nullptr) return;
    *static_cast<DWORD*>(pBits) = color;

    const CSelectObjectGuard select(memDC.Get(), bitmap.Get());
    const BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(hDC, rc.left, rc.top, Width(rc), Height(rc), memDC.Get(), 0, 0, 1, 1, bf);
}

// msimg32 is linked directly (and is present on every system the launcher runs
// on), so GradientFill always exists and the step count, which only matters for
// a banded replacement, goes unused.
void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical,
                                 [[maybe_unused]] int nSteps)
{
    const int opacity = (AlphaOf(dwFirst) + AlphaOf(dwSecond)) / 2;
    if (hDC == nullptr || opacity == 0 || ::IsRectEmpty(&rc)) return;

    const int cx = Width(rc);
    const int cy = Height(rc);
    auto fill = [&](HDC hTarget, int x, int y) {
        TRIVERTEX vertices[2] = {};
        vertices[0].x = x;
        vertices[0].y = y;
        vertices[0].Red = static_cast<COLOR16>(((dwFirst >> 16) & 0xFF) << 8);
        vertices[0].Green = static_cast<COLOR16>(((dwFirst >> 8) & 0xFF) << 8);
        vertices[0].Blue = static_cast<COLOR16>((dwFirst & 0xFF) << 8);
        vertices[0].Alpha = 0xFF00;
        vertices[1].x = x + cx;
        vertices[1].y = y + cy;
        vertices[1].Red = static_cast<COLOR16>(((dwSecond >> 16) & 0xFF) << 8);
        vertices[1].Green = static_cast<COLOR16>(((dwSecond >> 8) & 0xFF) << 8);
        vertices[1].Blue = static_cast<COLOR16>((dwSecond & 0xFF) << 8);
        vertices[1].Alpha = 0xFF00;
        GRADIENT_RECT gradient = {0, 1};
        ::GradientFill(hTarget, vertices, 2, &gradient, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    };

    if (opacity >= 255) {
        fill(hDC, rc.left, rc.top);
        return;
    }

    const CMemoryDCHandle memDC(::CreateCompatibleDC(hDC));
    if (!memDC) return;
    void* pBits = nullptr;
    const CBitmapHandle bitmap(CreateDib32(hDC, cx, cy, &pBits));
    if (!bitmap) return;
    const CSelectObjectGuard select(memDC.Get(), bitmap.Get());
    fill(memDC.Get(), 0, 0);
    const BLENDFUNCTION bf = {AC_SRC_OVER, 0, static_cast<BYTE>(opacity), 0};
    ::AlphaBlend(hDC, rc.left, rc.top, cx, cy, memDC.Get(), 0, 0, cx, cy, bf);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    if (hDC == nullptr) return;
    const CPenHandle pen(::CreatePen(nStyle, nSize, ToColorRef(dwPenColor)));
    if (!pen) return;
    const CSelectObjectGuard select(hDC, pen.Get());
    POINT ptOld = {};
    ::MoveToEx(hDC, rc.left, rc.top, &ptOld);
    ::LineTo(hDC, rc.right, rc.bottom);
    ::MoveToEx(hDC, ptOld.x, ptOld.y, nullptr);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    if (hDC == nullptr) return;
    const CPenHandle pen(::CreatePen(PS_INSIDEFRAME, nSize, ToColorRef(dwPenColor)));
    if (!pen) return;
    const CSelectObjectGuard selectPen(hDC, pen.Get());
    const CSelectObjectGuard selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    if (hDC == nullptr) return;
    const CPenHandle pen(::CreatePen(PS_INSIDEFRAME, nSize, ToColorRef(dwPenColor)));
    if (!pen) return;
    const CSelectObjectGuard selectPen(hDC, pen.Get());
    const CSelectObjectGuard selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
}

} // namespace VarnelUI
