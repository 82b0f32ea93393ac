// The image side of CRenderEngine: decoding skin images into premultiplied
// bitmaps, painting them as nine-grids, and reading image descriptions.

#include "varnelui/core/UIRender.h"

#include "varnelui/core/GdiplusToken.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIDibCanvas.h"
#include "varnelui/core/UIFileHandle.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRect.h"
#include "varnelui/core/UIRenderBlend.h"
#include "varnelui/core/UIResourceFile.h"

#include <gdiplus.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// Skins are window-sized pictures. Anything beyond these limits is a damaged
// or hostile file and is refused before any pixel memory is allocated.
constexpr int kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 4096LL * 4096LL;
constexpr DWORD kMaxImageFileBytes = 64u * 1024u * 1024u;
// The largest single block the decoder may ask for: a 16-bit RGBA image at the
// pixel limit plus its filter bytes. A chunk length or a compressed stream
// claiming more is refused as out of memory instead of being allocated.
constexpr size_t kMaxDecodeAllocation = static_cast<size_t>(kMaxImagePixels) * 8 + (1u << 20);

void* DecodeMalloc(size_t size)
{
    return size <= kMaxDecodeAllocation ? std::malloc(size) : nullptr;
}

void* DecodeRealloc(void* p, size_t size)
{
    return size <= kMaxDecodeAllocation ? std::realloc(p, size) : nullptr;
}

void DecodeFree(void* p)
{
    std::free(p);
}

} // namespace

// stb_image decodes from memory only, the four formats skins use, with the
// bounded allocator above. It is C: its own casts of what the allocator
// macros return would be reported at the macros here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS kMaxImageSide
#define STBI_MALLOC(size) DecodeMalloc(size)
#define STBI_REALLOC(p, size) DecodeRealloc(p, size)
#define STBI_FREE(p) DecodeFree(p)
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace VarnelUI {

namespace {

bool Intersects(const RECT& a, const RECT& b)
{
    RECT rcTemp;
    return ::IntersectRect(&rcTemp, &a, &b) != FALSE;
}

// ---- finding the bytes --------------------------------------------------------

// A view of encoded image bytes, owned by the vector or by the mapped module.
struct TEncodedImage
{
    std::vector<BYTE> owned;
    const BYTE* data = nullptr;
    size_t size = 0;

    bool Empty() const { return data == nullptr || size == 0; }
    void TakeOwned()
    {
        data = owned.data();
        size = owned.size();
    }
};

bool FindResourceBytes(STRINGorID bitmap, LPCWSTR type, TEncodedImage& image)
{
    const HMODULE hModule = CPaintManagerUI::GetResourceDll();
    const HRSRC hResource = ::FindResourceW(hModule, bitmap.m_lpstr, type);
    if (hResource == nullptr) return false;
    const DWORD size = ::SizeofResource(hModule, hResource);
    const HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    if (hGlobal == nullptr || size == 0 || size > kMaxImageFileBytes) return false;
    // Resource memory stays mapped as long as the module is loaded, so it is
    // decoded in place.
    image.data = static_cast<const BYTE*>(::LockResource(hGlobal));
    image.size = size;
    return image.data != nullptr;
}

bool ReadPlainFile(LPCWSTR pstrPath, TEncodedImage& image)
{
    const CFileHandle file = CFileHandle::OpenForRead(pstrPath);
    ULONGLONG size = 0;
    if (!file.IsValid() || !file.GetSize(size) || size == 0 || size > kMaxImageFileBytes) return false;
    image.owned.resize(static_cast<size_t>(size));
    if (!file.ReadAt(0, image.owned.data(), static_cast<DWORD>(size))) return false;
    image.TakeOwned();
    return true;
}

bool FindImageBytes(STRINGorID bitmap, LPCWSTR type, TEncodedImage& image)
{
    if (type != nullptr) return FindResourceBytes(bitmap, type, image);
    if (bitmap.IsId() || bitmap.m_lpstr == nullptr || *bitmap.m_lpstr == L'\0') return false;
    if (ReadSkinFile(bitmap.m_lpstr, kMaxImageFileBytes, image.owned) == SkinFileResult::Ok) {
        image.TakeOwned();
        return true;
    }
    return ReadPlainFile(bitmap.m_lpstr, image);
}

// ---- decoding -------------------------------------------------------------------

// The record takes the bitmap over; on failure the handle still owns it.
TImageInfo* NewImageInfo(CBitmapHandle& bitmap, int cx, int cy, bool alpha)
{
    TImageInfo* pImage = new (std::nothrow) TImageInfo{bitmap.Get(), cx, cy, alpha, CUIString(), 0, nullptr};
    if (pImage == nullptr) return nullptr;
    pImage->runs = CPixelRuns::Build(TPixelView::Of(bitmap.Release()));
    return pImage;
}

struct TStbiFree
{
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

DWORD ReadBigEndian32(const BYTE* p)
{
    return (DWORD{p[0]} << 24) | (DWORD{p[1]} << 16) | (DWORD{p[2]} << 8) | DWORD{p[3]};
}

// The decoder does not check PNG chunk checksums and decodes what it can of a
// cut-off file. A PNG whose chunks fail their CRC-32 or that ends before its
// IEND chunk is damaged and is refused as a whole. Other formats pass.
bool IsIntactPng(const BYTE* data, size_t size)
{
    static const BYTE kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof(kSignature) || std::memcmp(data, kSignature, sizeof(kSignature)) != 0) return true;
    size_t pos = sizeof(kSignature);
    // Each chunk: length, type, data, CRC-32 of type and data.
    while (size - pos >= 12) {
        const DWORD length = ReadBigEndian32(data + pos);
        if (length > size - pos - 12) return false;
        const BYTE* type = data + pos + 4;
        const uLong crc = crc32(crc32(0L, nullptr, 0), type, static_cast<uInt>(length) + 4);
        if (crc != ReadBigEndian32(type + 4 + length)) return false;
        if (std::memcmp(type, "IEND", 4) == 0) return true;
        pos += size_t{length} + 12;
    }
    return false;
}

bool IsSaneSize(int cx, int cy)
{
    return cx > 0 && cy > 0 && cx <= kMaxImageSide && cy <= kMaxImageSide &&
           static_cast<long long>(cx) * cy <= kMaxImagePixels;
}

TImageInfo* DecodeImage(const TEncodedImage& image, DWORD mask)
{
    if (image.Empty() || image.size > static_cast<size_t>(INT_MAX)) return nullptr;
    const int length = static_cast<int>(image.size);
    if (!IsIntactPng(image.data, image.size)) return nullptr;

    // The header is checked on its own first, so an absurd size never reaches
    // the decoder's allocations.
    int cx = 0;
    int cy = 0;
    int channels = 0;
    if (!stbi_info_from_memory(image.data, length, &cx, &cy, &channels) || !IsSaneSize(cx, cy)) return nullptr;

    int decodedX = 0;
    int decodedY = 0;
    const std::unique_ptr<stbi_uc, TStbiFree> pixels(
        stbi_load_from_memory(image.data, length, &decodedX, &decodedY, &channels, 4));
    if (!pixels || decodedX != cx || decodedY != cy) return nullptr;

    void* pBits = nullptr;
    CBitmapHandle bitmap(RenderBlend::CreateDib32(nullptr, cx, cy, &pBits));
    if (!bitmap || pBits == nullptr) return nullptr;

    // R, G, B, A in; premultiplied B, G, R, A out (a little-endian 0xAARRGGBB).
    bool alpha = false;
    const stbi_uc* src = pixels.get();
    BYTE* dst = static_cast<BYTE*>(pBits);
    const size_t count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        DWORD r = src[0];
        DWORD g = src[1];
        DWORD b = src[2];
        const DWORD a = src[3];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            alpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            pixel = 0;
            alpha = true;
        }
        std::memcpy(dst, &pixel, sizeof(pixel));
    }

    return NewImageInfo(bitmap, cx, cy, alpha);
}

// ---- painting ------------------------------------------------------------------

// Paints the pieces of one nine-grid: through the system from the bitmap
// selected into its own DC, or on a canvas straight from the image's pixels.
// Knowing the image's runs, pieces without a visible pixel are skipped.
class CNineGridPainter
{
public:
    CNineGridPainter(HDC hDC, HDC hMemDC, const RECT& rcPaint, bool bBlend, BYTE fade, const CPixelRuns* pRuns)
        : m_hDC(hDC),
          m_hMemDC(hMemDC),
          m_rcPaint(rcPaint),
          m_bBlend(bBlend),
          m_fade(fade),
          m_pRuns(pRuns)
    {
    }

    CNineGridPainter(CDibCanvas& canvas, const TPixelView& pixels, const CPixelRuns& runs, const RECT& rcPaint,
                     BYTE fade)
        : m_rcPaint(rcPaint),
          m_bBlend(true),
          m_fade(fade),
          m_pRuns(&runs),
          m_pCanvas(&canvas),
          m_pPixels(&pixels)
    {
    }

    // One piece: the source part (x, y, cx, cy) onto the destination part,
    // stretched when the sizes differ. Skipped when empty or outside rcPaint.
    void Piece(int x, int y, int cx, int cy, int srcX, int srcY, int srcCx, int srcCy) const
    {
        if (cx <= 0 || cy <= 0 || srcCx <= 0 || srcCy <= 0) return;
        const RECT rcDest = {x, y, x + cx, y + cy};
        if (!Intersects(rcDest, m_rcPaint)) return;
        const RECT rcSrc = {srcX, srcY, srcX + srcCx, srcY + srcCy};
        if (!m_bBlend) {
            if (cx == srcCx && cy == srcCy) ::BitBlt(m_hDC, x, y, cx, cy, m_hMemDC, srcX, srcY, SRCCOPY);
            else ::StretchBlt(m_hDC, x, y, cx, cy, m_hMemDC, srcX, srcY, srcCx, srcCy, SRCCOPY);
        } else if (!BlendsNothing(rcSrc)) {
            if (m_pCanvas != nullptr) m_pCanvas->Blend(*m_pPixels, *m_pRuns, rcDest, rcSrc, m_fade);
            else RenderBlend::AlphaBlendPiece(m_hDC, rcDest, m_hMemDC, rcSrc, m_fade, true);
        }
    }

    // The centre rcCentre filled from the source part (srcX, srcY, tileCx,
    // tileCy). Tiles are never scaled in a tiled direction: the last one is
    // cut where the centre ends, and its source by the same amount.
    void Centre(const RECT& rcCentre, int srcX, int srcY, int tileCx, int tileCy, bool xtiled, bool ytiled) const
    {
        const int cx = CUIRect(rcCentre).GetWidth();
        const int cy = CUIRect(rcCentre).GetHeight();
        if (cx <= 0 || cy <= 0 || tileCx <= 0 || tileCy <= 0 || !Intersects(rcCentre, m_rcPaint)) return;
        if (!xtiled && !ytiled) {
            Piece(rcCentre.left, rcCentre.top, cx, cy, srcX, srcY, tileCx, tileCy);
        } else if (xtiled && !ytiled) {
            for (int x = rcCentre.left; x < rcCentre.right; x += tileCx) {
                const int w = std::min<int>(tileCx, rcCentre.right - x);
                Piece(x, rcCentre.top, w, cy, srcX, srcY, w, tileCy);
            }
        } else if (ytiled && !xtiled) {
            for (int y = rcCentre.top; y < rcCentre.bottom; y += tileCy) {
                const int h = std::min<int>(tileCy, rcCentre.bottom - y);
                Piece(rcCentre.left, y, cx, h, srcX, srcY, tileCx, h);
            }
        } else {
            for (int y = rcCentre.top; y < rcCentre.bottom; y += tileCy) {
                const int h = std::min<int>(tileCy, rcCentre.bottom - y);
                for (int x = rcCentre.left; x < rcCentre.right; x += tileCx) {
                    const int w = std::min<int>(tileCx, rcCentre.right - x);
                    Piece(x, y, w, h, srcX, srcY, w, h);
                }
            }
        }
    }

private:
    // A fully transparent part, or one reaching out of the image (which the
    // system's blend refuses), leaves the destination as it is.
    bool BlendsNothing(const RECT& rcSrc) const
    {
        if (m_pRuns == nullptr) return false;
        if (rcSrc.left < 0 || rcSrc.top < 0 || rcSrc.right > m_pRuns->Width() || rcSrc.bottom > m_pRuns->Height())
            return true;
        return m_pRuns->Classify(rcSrc) == CPixelRuns::Kind::Transparent;
    }

    HDC m_hDC = nullptr;
    HDC m_hMemDC = nullptr;
    RECT m_rcPaint;
    bool m_bBlend;
    BYTE m_fade;
    const CPixelRuns* m_pRuns;
    CDibCanvas* m_pCanvas = nullptr;
    const TPixelView* m_pPixels = nullptr;
};

// The nine pieces of the grid, centre first.
void PaintPieces(const CNineGridPainter& painter, const RECT& D, const RECT& S, const RECT& rcCorners, bool hole,
                 bool xtiled, bool ytiled)
{
    const LONG Cl = rcCorners.left;
    const LONG Ct = rcCorners.top;
    const LONG Cr = rcCorners.right;
    const LONG Cb = rcCorners.bottom;
    const int midDw = CUIRect(D).GetWidth() - Cl - Cr;
    const int midDh = CUIRect(D).GetHeight() - Ct - Cb;
    const int midSw = CUIRect(S).GetWidth() - Cl - Cr;
    const int midSh = CUIRect(S).GetHeight() - Ct - Cb;
    if (!hole) {
        const RECT rcCentre = {D.left + Cl, D.top + Ct, D.left + Cl + midDw, D.top + Ct + midDh};
        painter.Centre(rcCentre, S.left + Cl, S.top + Ct, midSw, midSh, xtiled, ytiled);
    }
    if (Cl > 0 && Ct > 0) painter.Piece(D.left, D.top, Cl, Ct, S.left, S.top, Cl, Ct);
    if (Ct > 0) painter.Piece(D.left + Cl, D.top, midDw, Ct, S.left + Cl, S.top, midSw, Ct);
    if (Cr > 0 && Ct > 0) painter.Piece(D.right - Cr, D.top, Cr, Ct, S.right - Cr, S.top, Cr, Ct);
    if (Cl > 0) painter.Piece(D.left, D.top + Ct, Cl, midDh, S.left, S.top + Ct, Cl, midSh);
    if (Cr > 0) painter.Piece(D.right - Cr, D.top + Ct, Cr, midDh, S.right - Cr, S.top + Ct, Cr, midSh);
    if (Cl > 0 && Cb > 0) painter.Piece(D.left, D.bottom - Cb, Cl, Cb, S.left, S.bottom - Cb, Cl, Cb);
    if (Cb > 0) painter.Piece(D.left + Cl, D.bottom - Cb, midDw, Cb, S.left + Cl, S.bottom - Cb, midSw, Cb);
    if (Cr > 0 && Cb > 0) painter.Piece(D.right - Cr, D.bottom - Cb, Cr, Cb, S.right - Cr, S.bottom - Cb, Cr, Cb);
}

// Through the system: copies (half-tone stretched) for opaque painting,
// AlphaBlend for blended painting.
void DrawThroughSystem(HDC hDC, HBITMAP hBitmap, const CPixelRuns* pRuns, const RECT& D, const RECT& rcPaint,
                       const RECT& S, const RECT& rcCorners, bool bBlend, BYTE fade, bool hole, bool xtiled,
                       bool ytiled)
{
    const CMemoryDCHandle memDC(::CreateCompatibleDC(hDC));
    if (!memDC) return;
    const CSelectObjectGuard select(memDC.Get(), hBitmap);
    const int oldStretchMode = ::SetStretchBltMode(hDC, HALFTONE);
    const bool bNoCorners = rcCorners.left == 0 && rcCorners.top == 0 && rcCorners.right == 0 && rcCorners.bottom == 0;
    if (!bBlend && CUIRect(D).GetWidth() == CUIRect(S).GetWidth() && CUIRect(D).GetHeight() == CUIRect(S).GetHeight() &&
        bNoCorners) {
        // Drawn at its own size: only the visible part is copied.
        CUIRect rcVisible;
        if (::IntersectRect(&rcVisible, &D, &rcPaint))
            ::BitBlt(hDC, rcVisible.left, rcVisible.top, rcVisible.GetWidth(), rcVisible.GetHeight(), memDC.Get(),
                     S.left + rcVisible.left - D.left, S.top + rcVisible.top - D.top, SRCCOPY);
    } else {
        PaintPieces(CNineGridPainter(hDC, memDC.Get(), rcPaint, bBlend, fade, pRuns), D, S, rcCorners, hole, xtiled,
                    ytiled);
    }
    if (oldStretchMode != 0) ::SetStretchBltMode(hDC, oldStretchMode);
}

// ---- image descriptions ---------------------------------------------------------

// base + delta without overflow: dest values may be anything a skin holds.
LONG Offset(LONG base, LONG delta)
{
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(base) + delta, LONG_MIN, LONG_MAX));
}

// The interpreter's state while it walks a description and its modifier.
class CImageDescriptionPainter
{
public:
    CImageDescriptionPainter(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                             LPCWSTR pStrImage)
        : m_hDC(hDC),
          m_pManager(pManager),
          m_rcItem(rcItem),
          m_rcPaint(rcPaint),
          m_sName(pStrImage),
          m_rcDest(rcItem)
    {
    }

    // A syntax error ends the text; what was read before it stays in force.
    void Parse(LPCWSTR pstrText)
    {
        AttrParse::ForEachImageItem(pstrText, [this](LPCWSTR pKey, int nKey, LPCWSTR pValue, int nValue) {
            if (nValue > 0) Apply(CUIString(pKey, nKey), CUIString(pValue, nValue));
        });
    }

    // A modifier starts counting images afresh, so its file or res replaces
    // the last image of the description instead of drawing it twice.
    void ResetImageCount() { m_nImages = 0; }

    void DrawPending()
    {
        if (m_sName.IsEmpty()) return;
        const TImageInfo* pImage =
            m_pManager->GetImageEx(m_sName, m_sResType.IsEmpty() ? nullptr : m_sResType.GetData(), m_dwMask);
        if (pImage == nullptr) {
            ++m_nMissing;
            return;
        }
        ++m_nFound;

        RECT rcSource = m_rcSource;
        if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0)
            rcSource = RECT{0, 0, pImage->width, pImage->height};
        rcSource.right = std::min<LONG>(rcSource.right, pImage->width);
        rcSource.bottom = std::min<LONG>(rcSource.bottom, pImage->height);
        // A part turned inside out (a left or top beyond the image, a right or
        // bottom before it) has no pixels; its pieces would reach billions of
        // rows outside the bitmap.
        if (rcSource.left > rcSource.right || rcSource.top > rcSource.bottom) return;

        if (!Intersects(m_rcDest, m_rcItem) || !Intersects(m_rcDest, m_rcPaint)) return;
        CRenderEngine::DrawImage(m_hDC, *pImage, m_rcDest, m_rcPaint, rcSource, m_rcCorner, m_fade, m_bHole, m_bXTiled,
                                 m_bYTiled);
    }

    // Whether the description's images could be had: false only when it named
    // images and none of them loaded.
    bool AnyImageLoaded() const { return m_nFound > 0 || m_nMissing == 0; }

private:
    void Apply(const CUIString& sKey, const CUIString& sValue)
    {
        if (sKey == L"file" || sKey == L"res") {
            if (m_nImages > 0) DrawPending();
            m_sName = sValue;
            if (sKey == L"file") ++m_nImages;
        } else if (sKey == L"restype") {
            if (m_nImages > 0) DrawPending();
            m_sResType = sValue;
            ++m_nImages;
        } else if (sKey == L"dest") {
            const RECT rc = AttrParse::ParseRect(sValue);
            m_rcDest.left = Offset(m_rcItem.left, rc.left);
            m_rcDest.top = Offset(m_rcItem.top, rc.top);
            m_rcDest.right = std::min(Offset(m_rcItem.left, rc.right), m_rcItem.right);
            m_rcDest.bottom = std::min(Offset(m_rcItem.top, rc.bottom), m_rcItem.bottom);
        } else if (sKey == L"source") {
            m_rcSource = AttrParse::ParseRect(sValue);
        } else if (sKey == L"corner") {
            m_rcCorner = AttrParse::ParseRect(sValue);
        } else if (sKey == L"mask") {
            m_dwMask = AttrParse::ParseColor(sValue);
        } else if (sKey == L"fade") {
            m_fade = static_cast<BYTE>(AttrParse::ParseInt(sValue) & 0xFF);
        } else if (sKey == L"hole") {
            m_bHole = AttrParse::ParseBool(sValue);
        } else if (sKey == L"xtiled") {
            m_bXTiled = AttrParse::ParseBool(sValue);
        } else if (sKey == L"ytiled") {
            m_bYTiled = AttrParse::ParseBool(sValue);
        }
    }

    HDC m_hDC;
    CPaintManagerUI* m_pManager;
    RECT m_rcItem;
    RECT m_rcPaint;

    CUIString m_sName;
    CUIString m_sResType;
    RECT m_rcDest;
    RECT m_rcSource = {};
    RECT m_rcCorner = {};
    DWORD m_dwMask = 0;
    BYTE m_fade = 255;
    bool m_bHole = false;
    bool m_bXTiled = false;
    bool m_bYTiled = false;
    int m_nImages = 0;

    int m_nFound = 0;
    int m_nMissing = 0;
};

} // namespace

// ---- loading ----------------------------------------------------------------------

TImageInfo* CRenderEngine::LoadImageW(STRINGorID bitmap, LPCWSTR type, DWORD mask)
{
    TEncodedImage image;
    if (!FindImageBytes(bitmap, type, image)) return nullptr;
    return DecodeImage(image, mask);
}

TImageInfo* CRenderEngine::LoadImageFromHICON(HICON hIcon)
{
    if (hIcon == nullptr) return nullptr;
    const CGdiplusToken gdiplus;
    if (!CGdiplusToken::IsStarted()) return nullptr;

    namespace Flat = Gdiplus::DllExports;
    Gdiplus::GpBitmap* pBitmap = nullptr;
    if (Flat::GdipCreateBitmapFromHICON(hIcon, &pBitmap) != Gdiplus::Ok || pBitmap == nullptr) return nullptr;
    HBITMAP hBitmap = nullptr;
    UINT cx = 0;
    UINT cy = 0;
    const bool ok = Flat::GdipCreateHBITMAPFromBitmap(pBitmap, &hBitmap, 0xFF000000) == Gdiplus::Ok &&
                    Flat::GdipGetImageWidth(pBitmap, &cx) == Gdiplus::Ok &&
                    Flat::GdipGetImageHeight(pBitmap, &cy) == Gdiplus::Ok;
    Flat::GdipDisposeImage(pBitmap);
    CBitmapHandle bitmap(hBitmap);
    if (!ok || !bitmap || cx == 0 || cy == 0) return nullptr;
    return NewImageInfo(bitmap, static_cast<int>(cx), static_cast<int>(cy), false);
}

void CRenderEngine::FreeImage(TImageInfo* pImage)
{
    if (pImage == nullptr) return;
    if (pImage->hBitmap != nullptr) ::DeleteObject(pImage->hBitmap);
    delete pImage;
}

// ---- drawing --------------------------------------------------------------------

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                              const RECT& rcCorners, bool bAlpha, BYTE uFade, bool hole, bool xtiled, bool ytiled)
{
    if (hDC == nullptr || hBitmap == nullptr) return;
    DrawThroughSystem(hDC, hBitmap, nullptr, rc, rcPaint, rcBmpPart, rcCorners, bAlpha || uFade < 255, uFade, hole,
                      xtiled, ytiled);
}

void CRenderEngine::DrawImage(HDC hDC, const TImageInfo& image, const RECT& rc, const RECT& rcPaint,
                              const RECT& rcBmpPart, const RECT& rcCorners, BYTE uFade, bool hole, bool xtiled,
                              bool ytiled)
{
    if (hDC == nullptr || image.hBitmap == nullptr) return;
    const bool bBlend = image.alpha || uFade < 255;
    const TPixelView pixels = image.runs ? TPixelView::Of(image.hBitmap) : TPixelView();
    // Runs made for other pixels than the bitmap holds now are no use.
    const CPixelRuns* pRuns =
        !pixels.Empty() && pixels.width == image.runs->Width() && pixels.height == image.runs->Height()
            ? image.runs.get()
            : nullptr;
    CDibCanvas canvas;
    if (bBlend && pRuns != nullptr && canvas.Attach(hDC)) {
        PaintPieces(CNineGridPainter(canvas, pixels, *pRuns, rcPaint, uFade), rc, rcBmpPart, rcCorners, hole, xtiled,
                    ytiled);
        return;
    }
    DrawThroughSystem(hDC, image.hBitmap, pRuns, rc, rcPaint, rcBmpPart, rcCorners, bBlend, uFade, hole, xtiled,
                      ytiled);
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                    LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    if (hDC == nullptr || pManager == nullptr) return false;
    CImageDescriptionPainter painter(hDC, pManager, rcItem, rcPaint, pStrImage);
    painter.Parse(pStrImage);
    if (pStrModify != nullptr) {
        painter.ResetImageCount();
        painter.Parse(pStrModify);
    }
    painter.DrawPending();
    return painter.AnyImageLoaded();
}

} // namespace VarnelUI
