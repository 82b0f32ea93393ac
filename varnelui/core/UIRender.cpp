#include "varnelui/core/UIRender.h"

#include "varnelui/core/UIDibCanvas.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIColor.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRect.h"
#include "varnelui/core/UIRenderBlend.h"

#include <algorithm>
#include <cwchar>

namespace VarnelUI {

namespace {

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

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const BYTE alpha = AlphaOf(color);
    if (hDC == nullptr || alpha == 0 || ::IsRectEmpty(&rc)) return;

    if (alpha == 255) {
        // Straight into a frame's pixels when it has them, so the alpha byte
        // says opaque too; a layered window would otherwise show a hole.
        CDibCanvas canvas;
        if (canvas.Attach(hDC)) {
            canvas.FillOpaque(rc, color);
            return;
        }
        // The context's own brush takes the colour: no brush is made per fill.
        const COLORREF previous = ::SetDCBrushColor(hDC, ToColorRef(color));
        ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        if (previous != CLR_INVALID) ::SetDCBrushColor(hDC, previous);
        return;
    }

    // One pixel holding the colour's bytes as they are (B, G, R, A in memory),
    // stretched over the rectangle with per-pixel alpha.
    void* pBits = nullptr;
    const CBitmapHandle bitmap(RenderBlend::CreateDib32(hDC, 1, 1, &pBits));
    if (!bitmap || pBits == nullptr) return;
    *static_cast<DWORD*>(pBits) = color;
    DrawImage(hDC, bitmap.Get(), rc, rc, RECT{0, 0, 1, 1}, RECT{}, true, 255);
}

// The system's GradientFill when there is one, else solid strips; either way
// opaque, so a translucent gradient is painted on a scratch surface first and
// blended on at the average opacity.
void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const int opacity = (AlphaOf(dwFirst) + AlphaOf(dwSecond)) / 2;
    if (hDC == nullptr || opacity == 0 || ::IsRectEmpty(&rc)) return;

    auto fill = [&](HDC hTarget, const RECT& rcTarget) {
        if (!RenderBlend::GradientFillRect(hTarget, rcTarget, dwFirst, dwSecond, bVertical))
            RenderBlend::FillSteppedGradient(hTarget, rcTarget, dwFirst, dwSecond, bVertical, nSteps);
    };

    if (opacity >= 255) {
        fill(hDC, rc);
        return;
    }

    const int cx = CUIRect(rc).GetWidth();
    const int cy = CUIRect(rc).GetHeight();
    const CMemoryDCHandle memDC(::CreateCompatibleDC(hDC));
    if (!memDC) return;
    void* pBits = nullptr;
    const CBitmapHandle bitmap(RenderBlend::CreateDib32(hDC, cx, cy, &pBits));
    if (!bitmap) return;
    const CSelectObjectGuard select(memDC.Get(), bitmap.Get());
    const RECT rcScratch = {0, 0, cx, cy};
    fill(memDC.Get(), rcScratch);
    RenderBlend::AlphaBlendPiece(hDC, rc, memDC.Get(), rcScratch, static_cast<BYTE>(opacity), false);
}

namespace {

// Window and bitmap coordinates stop at 32,767, so a pen this wide already
// covers every pixel a line can reach. Wider pens (a skin's border size of
// millions) paint nothing more but take the platform's rasteriser as long as
// their width, which froze the window.
constexpr int kMaxPenWidth = 65536;

CPenHandle CreateBoundedPen(int nStyle, int nSize, DWORD dwPenColor)
{
    return CPenHandle(::CreatePen(nStyle, std::min(nSize, kMaxPenWidth), ToColorRef(dwPenColor)));
}

} // namespace

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    if (hDC == nullptr) return;
    const CPenHandle pen = CreateBoundedPen(nStyle, nSize, dwPenColor);
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
    const CPenHandle pen = CreateBoundedPen(PS_INSIDEFRAME, nSize, dwPenColor);
    if (!pen) return;
    const CSelectObjectGuard selectPen(hDC, pen.Get());
    const CSelectObjectGuard selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    if (hDC == nullptr) return;
    const CPenHandle pen = CreateBoundedPen(PS_INSIDEFRAME, nSize, dwPenColor);
    if (!pen) return;
    const CSelectObjectGuard selectPen(hDC, pen.Get());
    const CSelectObjectGuard selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
}

// ---- text ------------------------------------------------------------------------

void CRenderEngine::DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                              int iFont, UINT uStyle)
{
    if (hDC == nullptr || pManager == nullptr || pstrText == nullptr) return;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    const CSelectObjectGuard select(hDC, pManager->GetFont(iFont));
    ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont,
                                [[maybe_unused]] UINT uStyle)
{
    SIZE size = {};
    if (hDC == nullptr || pManager == nullptr || pstrText == nullptr) return size;
    const CSelectObjectGuard select(hDC, pManager->GetFont(iFont));
    ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(std::wcslen(pstrText)), &size);
    return size;
}

// ---- capturing a control ----------------------------------------------------------

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, const RECT& rc)
{
    const int cx = CUIRect(rc).GetWidth();
    const int cy = CUIRect(rc).GetHeight();
    if (pManager == nullptr || pControl == nullptr || cx <= 0 || cy <= 0) return nullptr;

    // The control paints at its usual coordinates, so the scratch surface
    // reaches from the origin to rc's far corner. A 32-bit DIB section stands
    // in for a bitmap compatible with the paint DC: it works before the window
    // has one and holds the same pixels.
    const HDC hRef = pManager->GetPaintDC();
    const CMemoryDCHandle paintDC(::CreateCompatibleDC(hRef));
    void* pPaintBits = nullptr;
    const CBitmapHandle paintBitmap(RenderBlend::CreateDib32(hRef, rc.right, rc.bottom, &pPaintBits));
    if (!paintDC || !paintBitmap) return nullptr;
    const CSelectObjectGuard selectPaint(paintDC.Get(), paintBitmap.Get());
    pControl->DoPaint(paintDC.Get(), rc);

    void* pBits = nullptr;
    CBitmapHandle result(RenderBlend::CreateDib32(paintDC.Get(), cx, cy, &pBits, RenderBlend::DibRows::BottomUp));
    const CMemoryDCHandle copyDC(::CreateCompatibleDC(hRef));
    if (!result || !copyDC) return nullptr;
    {
        const CSelectObjectGuard selectCopy(copyDC.Get(), result.Get());
        ::BitBlt(copyDC.Get(), 0, 0, cx, cy, paintDC.Get(), rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
    }
    return result.Release();
}

} // namespace VarnelUI
