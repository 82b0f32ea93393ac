#include "varnelui/core/UIRenderBlend.h"

#include "varnelui/core/UIColor.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIRect.h"

#include <algorithm>

namespace VarnelUI {
namespace RenderBlend {

namespace {

// The dimension CreateDib32 gives its bitmaps: this width says the height is
// the row order.
constexpr int kRowOrderTag = 0x5652;
constexpr int kTopDown = 1;
constexpr int kBottomUp = -1;

using PFN_AlphaBlend = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using PFN_GradientFill = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// GetProcAddress hands back a FARPROC; the union turns it into the real type.
template <class Fn>
Fn LookUpMsimg32(LPCSTR pstrName)
{
    static const HMODULE hModule = ::LoadLibraryW(L"msimg32.dll");
    union
    {
        FARPROC proc;
        Fn fn;
    } entry = {hModule != nullptr ? ::GetProcAddress(hModule, pstrName) : nullptr};
    return entry.fn;
}

PFN_AlphaBlend SystemAlphaBlend()
{
    static const PFN_AlphaBlend fn = LookUpMsimg32<PFN_AlphaBlend>("AlphaBlend");
    return fn;
}

PFN_GradientFill SystemGradientFill()
{
    static const PFN_GradientFill fn = LookUpMsimg32<PFN_GradientFill>("GradientFill");
    return fn;
}

// A DIB section of its own DC, for copying pixels in and out.
struct TScratch
{
    CMemoryDCHandle dc;
    CBitmapHandle bitmap;
    BYTE* bits = nullptr;
    HGDIOBJ old = nullptr;

    TScratch(HDC hRef, int cx, int cy) : dc(::CreateCompatibleDC(hRef))
    {
        void* pBits = nullptr;
        bitmap.Reset(CreateDib32(hRef, cx, cy, &pBits));
        if (!dc || !bitmap || pBits == nullptr) return;
        bits = static_cast<BYTE*>(pBits);
        old = ::SelectObject(dc.Get(), bitmap.Get());
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    ~TScratch()
    {
        // The bitmap must leave the DC before either is deleted.
        if (old != nullptr) ::SelectObject(dc.Get(), old);
    }

    bool Ok() const { return bits != nullptr; }
};

BYTE Blend(BYTE src, BYTE dst, UINT fade, UINT keep)
{
    // keep = 255 * 255 - k * 255 * 255, the destination's share scaled by 255².
    const UINT value = (src * fade + 127) / 255 + (dst * keep + 32512) / 65025;
    return static_cast<BYTE>(std::min<UINT>(value, 255));
}

} // namespace

HBITMAP CreateDib32(HDC hDC, int cx, int cy, void** ppBits, DibRows rows)
{
    if (cx <= 0 || cy <= 0) return nullptr;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = rows == DibRows::TopDown ? -cy : cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(cx) * static_cast<DWORD>(cy) * 4;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, ppBits, nullptr, 0);
    if (hBitmap != nullptr)
        ::SetBitmapDimensionEx(hBitmap, kRowOrderTag, rows == DibRows::TopDown ? kTopDown : kBottomUp, nullptr);
    return hBitmap;
}

std::optional<DibRows> RowsOf(HBITMAP hBitmap)
{
    SIZE tag = {};
    if (hBitmap == nullptr || !::GetBitmapDimensionEx(hBitmap, &tag) || tag.cx != kRowOrderTag) return std::nullopt;
    if (tag.cy == kTopDown) return DibRows::TopDown;
    if (tag.cy == kBottomUp) return DibRows::BottomUp;
    return std::nullopt;
}

bool AlphaBlendPiece(HDC hDest, const RECT& rcDest, HDC hSrc, const RECT& rcSrc, BYTE fade, bool bPerPixelAlpha)
{
    if (const PFN_AlphaBlend pfn = SystemAlphaBlend()) {
        const BLENDFUNCTION bf = {AC_SRC_OVER, 0, fade, static_cast<BYTE>(bPerPixelAlpha ? AC_SRC_ALPHA : 0)};
        const CUIRect dest(rcDest);
        const CUIRect src(rcSrc);
        return pfn(hDest, dest.left, dest.top, dest.GetWidth(), dest.GetHeight(), hSrc, src.left, src.top,
                   src.GetWidth(), src.GetHeight(), bf) != FALSE;
    }
    return SoftwareAlphaBlend(hDest, rcDest, hSrc, rcSrc, fade, bPerPixelAlpha);
}

bool SoftwareAlphaBlend(HDC hDest, const RECT& rcDest, HDC hSrc, const RECT& rcSrc, BYTE fade, bool bPerPixelAlpha)
{
    const int cx = CUIRect(rcDest).GetWidth();
    const int cy = CUIRect(rcDest).GetHeight();
    const int srcCx = CUIRect(rcSrc).GetWidth();
    const int srcCy = CUIRect(rcSrc).GetHeight();
    if (cx <= 0 || cy <= 0 || srcCx <= 0 || srcCy <= 0) return false;

    TScratch src(hDest, cx, cy);
    TScratch dst(hDest, cx, cy);
    if (!src.Ok() || !dst.Ok()) return false;

    // Colour-on-colour stretching copies the alpha bytes along with the colour.
    ::SetStretchBltMode(src.dc.Get(), COLORONCOLOR);
    if (!::StretchBlt(src.dc.Get(), 0, 0, cx, cy, hSrc, rcSrc.left, rcSrc.top, srcCx, srcCy, SRCCOPY)) return false;
    if (!::BitBlt(dst.dc.Get(), 0, 0, cx, cy, hDest, rcDest.left, rcDest.top, SRCCOPY)) return false;
    ::GdiFlush();

    const size_t count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    for (size_t i = 0; i < count; ++i) {
        const BYTE* s = src.bits + i * 4;
        BYTE* d = dst.bits + i * 4;
        const UINT srcAlpha = bPerPixelAlpha ? s[3] : 255;
        const UINT keep = 65025 - srcAlpha * fade;
        d[0] = Blend(s[0], d[0], fade, keep);
        d[1] = Blend(s[1], d[1], fade, keep);
        d[2] = Blend(s[2], d[2], fade, keep);
    }
    return ::BitBlt(hDest, rcDest.left, rcDest.top, cx, cy, dst.dc.Get(), 0, 0, SRCCOPY) != FALSE;
}

bool HasGradientFill()
{
    return SystemGradientFill() != nullptr;
}

bool GradientFillRect(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical)
{
    const PFN_GradientFill pfn = SystemGradientFill();
    if (pfn == nullptr) return false;
    auto vertex = [](LONG x, LONG y, DWORD color) {
        TRIVERTEX v = {};
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(((color >> 16) & 0xFF) << 8);
        v.Green = static_cast<COLOR16>(((color >> 8) & 0xFF) << 8);
        v.Blue = static_cast<COLOR16>((color & 0xFF) << 8);
        v.Alpha = 0xFF00;
        return v;
    };
    TRIVERTEX vertices[2] = {vertex(rc.left, rc.top, dwFirst), vertex(rc.right, rc.bottom, dwSecond)};
    GRADIENT_RECT gradient = {0, 1};
    return pfn(hDC, vertices, 2, &gradient, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H) != FALSE;
}

int SteppedGradientStrips(int nSteps)
{
    int shift = 1;
    if (nSteps >= 64) shift = 6;
    else if (nSteps >= 32) shift = 5;
    else if (nSteps >= 16) shift = 4;
    else if (nSteps > 7) shift = 3;
    else if (nSteps > 3) shift = 2;
    return 1 << shift;
}

void FillSteppedGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const int strips = SteppedGradientStrips(nSteps);
    int shift = 0;
    while ((1 << shift) < strips) ++shift;

    // Strip 0 lies at the bottom (right) edge in the second colour; the
    // first colour grows as the strips move up (left).
    auto channel = [&](int bit, int i) {
        const int first = static_cast<int>((dwFirst >> bit) & 0xFF);
        const int second = static_cast<int>((dwSecond >> bit) & 0xFF);
        return static_cast<DWORD>((second * (strips - i) + first * i) >> shift);
    };
    const long long extent = bVertical ? CUIRect(rc).GetHeight() : CUIRect(rc).GetWidth();
    for (int i = 0; i < strips; ++i) {
        const LONG nearEdge = static_cast<LONG>(((i + 1) * extent) >> shift);
        const LONG farEdge = static_cast<LONG>((i * extent) >> shift);
        RECT strip = rc;
        if (bVertical) {
            strip.top = rc.bottom - nearEdge;
            strip.bottom = rc.bottom - farEdge;
        } else {
            strip.left = rc.right - nearEdge;
            strip.right = rc.right - farEdge;
        }
        if (::IsRectEmpty(&strip)) continue;
        const DWORD color = (channel(16, i) << 16) | (channel(8, i) << 8) | channel(0, i);
        const CBrushHandle brush(::CreateSolidBrush(ToColorRef(color)));
        if (brush) ::FillRect(hDC, &strip, brush.Get());
    }
}

} // namespace RenderBlend
} // namespace VarnelUI
