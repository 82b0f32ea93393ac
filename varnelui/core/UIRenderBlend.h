#pragma once
// The blending and gradient primitives the render engine draws with. The
// system's AlphaBlend and GradientFill are looked up once per process; where
// one is missing, a software replacement below gives the same geometry.

#include "varnelui/core/UIDefines.h"

#include <optional>

namespace VarnelUI {
namespace RenderBlend {

// The order of a DIB's rows in memory.
enum class DibRows { TopDown, BottomUp };

// A 32-bit DIB section; *ppBits receives its pixels. Null for a non-positive
// size or when the system refuses. GetObject reports every DIB section as
// bottom-up, so the row order is recorded in the bitmap's dimension, a value
// the system keeps for applications and never uses itself.
HBITMAP CreateDib32(HDC hDC, int cx, int cy, void** ppBits, DibRows rows = DibRows::TopDown);
// The row order of a bitmap made by CreateDib32; nothing for any other
// bitmap, whose row order is not known.
std::optional<DibRows> RowsOf(HBITMAP hBitmap);

// Source-over blend of a (stretched) source piece onto the destination:
// result = src * fade / 255 + dst * (1 - k), with k = srcA * fade / 255 / 255
// when bPerPixelAlpha (the source being premultiplied), else k = fade / 255.
// Uses the system's AlphaBlend when there is one.
bool AlphaBlendPiece(HDC hDest, const RECT& rcDest, HDC hSrc, const RECT& rcSrc, BYTE fade, bool bPerPixelAlpha);

// The replacement used when the system has no AlphaBlend; the same rule, with
// the destination's alpha bytes left as they are.
bool SoftwareAlphaBlend(HDC hDest, const RECT& rcDest, HDC hSrc, const RECT& rcSrc, BYTE fade, bool bPerPixelAlpha);

// Whether the system offers GradientFill; GradientFillRect uses it.
bool HasGradientFill();
// One opaque rectangle gradient from dwFirst (top or left) to dwSecond.
bool GradientFillRect(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical);

// The banded replacement: 2, 4, 8, 16, 32 or 64 solid strips depending on
// nSteps, from dwFirst (top or left) to dwSecond (bottom or right).
void FillSteppedGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
// How many strips FillSteppedGradient uses for nSteps.
int SteppedGradientStrips(int nSteps);

} // namespace RenderBlend
} // namespace VarnelUI
