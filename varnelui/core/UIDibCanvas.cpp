#include "varnelui/core/UIDibCanvas.h"

#include "varnelui/core/UIGdiHandles.h"

#include <algorithm>
#include <cstring>

namespace VarnelUI {

namespace {

// c * k / 255 rounded half up, for the two channels in the 0x00FF00FF lanes
// of `lanes`. Both lanes stay below 0x10000 throughout, so neither carries
// into the other.
DWORD ScaleLanes(DWORD lanes, DWORD k)
{
    const DWORD t = lanes * k + 0x00800080;
    return ((t + ((t >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
}

// Every channel of the pixel, alpha included, times k / 255 rounded.
DWORD Scale(DWORD pixel, DWORD k)
{
    return ScaleLanes(pixel & 0x00FF00FF, k) | (ScaleLanes((pixel >> 8) & 0x00FF00FF, k) << 8);
}

// Premultiplied source over destination. No channel of the sum exceeds 255,
// because no channel of a premultiplied source exceeds its alpha.
DWORD Over(DWORD dst, DWORD src)
{
    return src + Scale(dst, 255 - (src >> 24));
}

// Which source pixel a shrinking stretch keeps of the several that fall on
// one destination pixel: the system keeps the last column but the first row.
enum class Keep { First, Last };

long long CeilDiv(long long a, long long b)
{
    return a >= 0 ? (a + b - 1) / b : -(-a / b);
}

// The source pixel (0 ... srcLength - 1) that destination pixel d (0 ...
// dstLength - 1) shows, as the system's stretch picks it. The system walks a
// midpoint line with an error term starting at 3 * short - 2 * long; these
// are that walk's positions in closed form, so a piece can start anywhere.
int SourceOf(int d, int srcLength, int dstLength, Keep keep)
{
    const long long s = srcLength;
    const long long n = dstLength;
    if (n >= s) return static_cast<int>((2 * s * d + s - 1) / (2 * n));
    if (keep == Keep::Last) return static_cast<int>(std::min(s - 1, (2 * s * (d + 1) - n) / (2 * n)));
    return static_cast<int>(std::max(0LL, CeilDiv(2 * s * d - n + 1, 2 * n)));
}

bool MapsLogicalToDevice(HDC hDC)
{
    POINT window = {};
    POINT viewport = {};
    return ::GetMapMode(hDC) == MM_TEXT && ::GetGraphicsMode(hDC) == GM_COMPATIBLE && ::GetLayout(hDC) == 0 &&
           ::GetWindowOrgEx(hDC, &window) && ::GetViewportOrgEx(hDC, &viewport) && window.x == viewport.x &&
           window.y == viewport.y;
}

// The context's clip as device rectangles inside the bitmap.
bool ReadClip(HDC hDC, const RECT& rcBitmap, std::vector<RECT>& clip)
{
    clip.clear();
    const CRegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    const int result = region ? ::GetClipRgn(hDC, region.Get()) : -1;
    if (result < 0) return false;
    if (result == 0) {
        clip.push_back(rcBitmap);
        return true;
    }
    const DWORD size = ::GetRegionData(region.Get(), 0, nullptr);
    std::vector<BYTE> data(size);
    if (size < sizeof(RGNDATAHEADER) ||
        ::GetRegionData(region.Get(), size, reinterpret_cast<RGNDATA*>(data.data())) != size)
        return false;
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    for (DWORD i = 0; i < header->nCount; ++i) {
        RECT rc;
        if (::IntersectRect(&rc, &rects[i], &rcBitmap)) clip.push_back(rc);
    }
    return true;
}

} // namespace

struct CDibCanvas::TPiece
{
    const TPixelView& image;
    const CPixelRuns& runs;
    RECT dest;
    RECT src;
    BYTE fade;
    bool stretchX;
    bool stretchY;
};

bool CDibCanvas::Attach(HDC hDC)
{
    if (hDC == nullptr) return false;
    m_target = TPixelView::Of(static_cast<HBITMAP>(::GetCurrentObject(hDC, OBJ_BITMAP)));
    if (m_target.Empty() || !MapsLogicalToDevice(hDC)) return false;
    return ReadClip(hDC, RECT{0, 0, m_target.width, m_target.height}, m_clip);
}

void CDibCanvas::Blend(const TPixelView& image, const CPixelRuns& runs, const RECT& rcDest, const RECT& rcSrc,
                       BYTE fade)
{
    if (fade == 0 || ::IsRectEmpty(&rcDest) || ::IsRectEmpty(&rcSrc)) return;
    if (rcSrc.left < 0 || rcSrc.top < 0 || rcSrc.right > image.width || rcSrc.bottom > image.height) return;
    const int dw = rcDest.right - rcDest.left;
    const int dh = rcDest.bottom - rcDest.top;
    const int sw = rcSrc.right - rcSrc.left;
    const int sh = rcSrc.bottom - rcSrc.top;
    const TPiece piece = {image, runs, rcDest, rcSrc, fade, dw != sw, dh != sh};
    for (const RECT& rcClip : m_clip) {
        RECT rcVisible;
        if (::IntersectRect(&rcVisible, &rcDest, &rcClip)) BlendClipped(piece, rcVisible);
    }
}

void CDibCanvas::FillOpaque(const RECT& rcDest, DWORD color)
{
    const DWORD pixel = color | 0xFF000000;
    for (const RECT& rcClip : m_clip) {
        RECT rc;
        if (!::IntersectRect(&rc, &rcDest, &rcClip)) continue;
        for (int y = rc.top; y < rc.bottom; ++y)
            std::fill(m_target.Row(y) + rc.left, m_target.Row(y) + rc.right, pixel);
    }
}

// Row by row; a row that maps to the same source row as the one before and
// was a plain copy is copied from that row.
void CDibCanvas::BlendClipped(const TPiece& piece, const RECT& rcVisible)
{
    const int dw = piece.dest.right - piece.dest.left;
    const int dh = piece.dest.bottom - piece.dest.top;
    const int sw = piece.src.right - piece.src.left;
    const int sh = piece.src.bottom - piece.src.top;
    if (piece.stretchX) {
        m_columns.resize(static_cast<size_t>(rcVisible.right - rcVisible.left));
        for (int x = rcVisible.left; x < rcVisible.right; ++x)
            m_columns[static_cast<size_t>(x - rcVisible.left)] =
                piece.src.left + SourceOf(x - piece.dest.left, sw, dw, Keep::Last);
    }
    const size_t bytes = static_cast<size_t>(rcVisible.right - rcVisible.left) * sizeof(DWORD);
    const DWORD* previous = nullptr;
    int previousSy = -1;
    for (int y = rcVisible.top; y < rcVisible.bottom; ++y) {
        const int offset = y - piece.dest.top;
        const int sy = piece.src.top + (piece.stretchY ? SourceOf(offset, sh, dh, Keep::First) : offset);
        DWORD* dst = m_target.Row(y) + rcVisible.left;
        if (previous != nullptr && sy == previousSy) {
            std::memcpy(dst, previous, bytes);
            continue;
        }
        previous = BlendRow(piece, dst, sy, rcVisible.left, rcVisible.right) ? dst : nullptr;
        previousSy = sy;
    }
}

// Destination columns left ... right - 1 of one row, run by run of the source
// row. True when every pixel was copied unchanged from the source.
bool CDibCanvas::BlendRow(const TPiece& piece, DWORD* dst, int sy, int left, int right) const
{
    const DWORD* src = piece.image.Row(sy);
    const auto sourceX = [&](int x) {
        return piece.stretchX ? m_columns[static_cast<size_t>(x - left)] : piece.src.left + (x - piece.dest.left);
    };
    const bool opaqueCopies = piece.fade == 255;
    bool copiedOnly = true;
    const CPixelRuns::TRun* run = piece.runs.Find(sy, sourceX(left));
    for (int x = left; x < right;) {
        const int sx = sourceX(x);
        while (run->end <= sx) ++run; // a shrinking stretch may step over short runs
        int end = x + 1;
        if (!piece.stretchX) end = std::min(right, x + (run->end - sx));
        else
            while (end < right && sourceX(end) < run->end) ++end;
        DWORD* d = dst + (x - left);
        if (run->kind == CPixelRuns::Kind::Transparent) {
            copiedOnly = false;
        } else if (run->kind == CPixelRuns::Kind::Opaque && opaqueCopies) {
            if (!piece.stretchX) std::memcpy(d, src + sx, static_cast<size_t>(end - x) * sizeof(DWORD));
            else
                for (int i = x; i < end; ++i) *d++ = src[sourceX(i)];
        } else {
            copiedOnly = false;
            for (int i = x; i < end; ++i, ++d) {
                const DWORD s = src[sourceX(i)];
                *d = Over(*d, opaqueCopies ? s : Scale(s, piece.fade));
            }
        }
        x = end;
    }
    return copiedOnly;
}

} // namespace VarnelUI
