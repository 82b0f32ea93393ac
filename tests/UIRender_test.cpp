// Pixel checks of the colour and shape drawing operations and of the clip scope,
// drawn into a 32-bit top-down DIB section so every pixel can be read back.
#include <gtest/gtest.h>

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"
#include "varnelui/core/UIRenderBlend.h"

#include "support/DibSurface.h"

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace VarnelUI;

using VarnelTest::Blue;
using VarnelTest::Green;
using VarnelTest::Red;
using Surface = VarnelTest::DibSurface;

TEST(RenderColor, AlphaZeroDrawsNothingOpaqueFillsExactlyTheRectangle)
{
    Surface s(20, 20, 0x000000FF);
    CRenderEngine::DrawColor(s.dc(), RECT{0, 0, 20, 20}, 0x00FF0000);
    EXPECT_EQ(s.Count(0x000000FF), 400);

    CRenderEngine::DrawColor(s.dc(), RECT{2, 3, 12, 8}, 0xFFFF0000);
    EXPECT_EQ(s.Count(0x00FF0000), 50);
    EXPECT_EQ(s.At(2, 3), 0x00FF0000u);
    EXPECT_EQ(s.At(11, 7), 0x00FF0000u);
    EXPECT_EQ(s.At(12, 7), 0x000000FFu);
    EXPECT_EQ(s.At(11, 8), 0x000000FFu);
}

TEST(RenderColor, TranslucentColourBlendsUnpremultipliedOverTheTarget)
{
    // Red at alpha 128 over blue: the colour's own bytes count fully, the
    // target keeps (255 - 128) / 255 of its value.
    Surface s(10, 10, 0x000000FF);
    CRenderEngine::DrawColor(s.dc(), RECT{0, 0, 10, 5}, 0x80FF0000);
    const DWORD blended = s.At(4, 2);
    EXPECT_EQ(Red(blended), 255);
    EXPECT_EQ(Green(blended), 0);
    EXPECT_NEAR(Blue(blended), 127, 2);
    EXPECT_EQ(s.At(4, 5), 0x000000FFu);
    EXPECT_EQ(s.Count(blended), 50);
}

TEST(RenderGradient, OpacityIsTheAverageAlphaOfBothColours)
{
    Surface s(16, 16, 0x00000000);
    CRenderEngine::DrawGradient(s.dc(), RECT{0, 0, 16, 16}, 0x00FFFFFF, 0x00FFFFFF, true, 16);
    EXPECT_EQ(s.Count(0), 256);

    // Alphas 255 and 0 give opacity 127: white drawn at half strength over black.
    CRenderEngine::DrawGradient(s.dc(), RECT{0, 0, 16, 16}, 0xFFFFFFFF, 0x00FFFFFF, true, 16);
    EXPECT_NEAR(Green(s.At(8, 8)), 127, 2);
    EXPECT_NEAR(Red(s.At(0, 0)), 127, 2);
}

TEST(RenderGradient, RunsTopToBottomOrLeftToRight)
{
    Surface s(32, 32, 0x00000000);
    CRenderEngine::DrawGradient(s.dc(), RECT{0, 0, 32, 32}, 0xFF000000, 0xFF0000FF, true, 16);
    EXPECT_LT(Blue(s.At(5, 1)), 20);
    EXPECT_GT(Blue(s.At(5, 30)), 235);
    EXPECT_EQ(s.At(0, 16), s.At(31, 16)); // constant along a row
    EXPECT_LT(Blue(s.At(5, 10)), Blue(s.At(5, 20)));

    CRenderEngine::DrawGradient(s.dc(), RECT{0, 0, 32, 32}, 0xFFFF0000, 0xFF000000, false, 16);
    EXPECT_GT(Red(s.At(1, 5)), 235);
    EXPECT_LT(Red(s.At(30, 5)), 20);
    EXPECT_EQ(s.At(16, 0), s.At(16, 31)); // constant along a column
}

TEST(RenderShapes, PensWiderThanAnySurfaceDrawLikeTheWidestPen)
{
    // A border size of millions from a skin: the same pixels as the widest
    // pen, which already covers the whole surface.
    const auto draw = [](int width) {
        Surface s(40, 40, 0x00000000);
        CRenderEngine::DrawLine(s.dc(), RECT{0, 20, 40, 20}, width, 0xFFFF0000);
        std::vector<DWORD> pixels = s.Pixels();
        s.Fill(0);
        CRenderEngine::DrawRect(s.dc(), RECT{5, 5, 35, 35}, width, 0xFF00FF00);
        const std::vector<DWORD> rect = s.Pixels();
        pixels.insert(pixels.end(), rect.begin(), rect.end());
        return pixels;
    };
    const std::vector<DWORD> widest = draw(65536);
    EXPECT_EQ(40 * 40, std::count_if(widest.begin(), widest.begin() + 40 * 40,
                                     [](DWORD pixel) { return (pixel & 0xFFFFFF) == 0xFF0000; }));
    EXPECT_EQ(widest, draw(65537));
    EXPECT_EQ(widest, draw(9999999));
}

TEST(RenderShapes, RectOutlineLiesInsideTheRectangle)
{
    Surface s(20, 20, 0x00000000);
    CRenderEngine::DrawRect(s.dc(), RECT{2, 2, 12, 12}, 1, 0xFF00FF00);
    EXPECT_EQ(s.At(2, 2), 0x0000FF00u);
    EXPECT_EQ(s.At(11, 2), 0x0000FF00u);
    EXPECT_EQ(s.At(2, 11), 0x0000FF00u);
    EXPECT_EQ(s.At(11, 11), 0x0000FF00u);
    EXPECT_EQ(s.At(6, 6), 0u);   // interior untouched
    EXPECT_EQ(s.At(12, 12), 0u); // nothing outside
    EXPECT_EQ(s.At(1, 6), 0u);
    EXPECT_EQ(s.Count(0x0000FF00), 36);

    s.Fill(0);
    CRenderEngine::DrawRect(s.dc(), RECT{2, 2, 12, 12}, 3, 0xFF00FF00);
    EXPECT_EQ(s.At(4, 6), 0x0000FF00u);
    EXPECT_EQ(s.At(5, 6), 0u);
    EXPECT_EQ(s.At(1, 6), 0u);
}

TEST(RenderShapes, PenColourIgnoresAlphaAndRoundCornersStayEmpty)
{
    Surface s(40, 40, 0x00000000);
    // Pens take only red, green and blue: an alpha of 0 still draws.
    CRenderEngine::DrawRoundRect(s.dc(), RECT{0, 0, 40, 40}, 1, 20, 20, 0x00FF0000);
    EXPECT_EQ(s.At(20, 0), 0x00FF0000u);
    EXPECT_EQ(s.At(0, 20), 0x00FF0000u);
    EXPECT_EQ(s.At(0, 0), 0u);
    EXPECT_EQ(s.At(1, 1), 0u);
    EXPECT_EQ(s.At(20, 20), 0u);
}

TEST(RenderShapes, LineRunsFromLeftTopTowardsRightBottom)
{
    Surface s(20, 20, 0x00000000);
    CRenderEngine::DrawLine(s.dc(), RECT{2, 5, 12, 5}, 1, 0xFFFFFFFF);
    EXPECT_EQ(s.At(2, 5), 0x00FFFFFFu);
    EXPECT_EQ(s.At(11, 5), 0x00FFFFFFu);
    EXPECT_EQ(s.At(12, 5), 0u); // the end point is not drawn
    EXPECT_EQ(s.Count(0x00FFFFFF), 10);

    s.Fill(0);
    CRenderEngine::DrawLine(s.dc(), RECT{5, 0, 5, 20}, 3, 0xFF0000FF);
    EXPECT_EQ(s.At(4, 10), 0x000000FFu);
    EXPECT_EQ(s.At(6, 10), 0x000000FFu);
    EXPECT_EQ(s.At(8, 10), 0u);

    // A dotted line leaves gaps (shown as such with a transparent background).
    s.Fill(0);
    ::SetBkMode(s.dc(), TRANSPARENT);
    CRenderEngine::DrawLine(s.dc(), RECT{0, 3, 20, 3}, 1, 0xFFFFFFFF, PS_DOT);
    const int lit = s.Count(0x00FFFFFF);
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, 20);
}

TEST(RenderClip, RoundClipCutsCornersAndOldClipCanBeUsedForAMoment)
{
    Surface s(40, 40, 0x00000000);
    const RECT rcAll = {0, 0, 40, 40};
    {
        CRenderClip clip;
        CRenderClip::GenerateRoundClip(s.dc(), rcAll, rcAll, 20, 20, clip);
        CRenderEngine::DrawColor(s.dc(), rcAll, 0xFFFFFFFF);
        EXPECT_EQ(s.At(0, 0), 0u);
        EXPECT_EQ(s.At(39, 39), 0u);
        EXPECT_EQ(s.At(20, 20), 0x00FFFFFFu);
        EXPECT_EQ(s.At(20, 0), 0x00FFFFFFu);

        CRenderClip::UseOldClipBegin(s.dc(), clip);
        CRenderEngine::DrawColor(s.dc(), RECT{0, 0, 2, 2}, 0xFF00FF00);
        EXPECT_EQ(s.At(0, 0), 0x0000FF00u);

        CRenderClip::UseOldClipEnd(s.dc(), clip);
        CRenderEngine::DrawColor(s.dc(), rcAll, 0xFF0000FF);
        EXPECT_EQ(s.At(0, 0), 0x0000FF00u); // the corner is cut off again
        EXPECT_EQ(s.At(39, 0), 0u);
        EXPECT_EQ(s.At(20, 20), 0x000000FFu);
    }
    // The scope is gone: the whole surface is paintable again.
    CRenderEngine::DrawColor(s.dc(), rcAll, 0xFFFF0000);
    EXPECT_EQ(s.Count(0x00FF0000), 1600);
}

TEST(RenderClip, ClipIsNarrowedAndThePreviousOneReturnsAsItsBoundingBox)
{
    Surface s(40, 40, 0x00000000);
    const RECT rcAll = {0, 0, 40, 40};
    // An elliptic clip before the scope...
    const CRegionHandle ellipse(::CreateEllipticRgn(0, 0, 31, 31));
    ::SelectClipRgn(s.dc(), ellipse.Get());
    {
        CRenderClip clip;
        CRenderClip::GenerateClip(s.dc(), RECT{10, 10, 20, 20}, clip);
        CRenderEngine::DrawColor(s.dc(), rcAll, 0xFFFFFFFF);
        EXPECT_EQ(s.Count(0x00FFFFFF), 100);
        EXPECT_EQ(s.At(10, 10), 0x00FFFFFFu);
        EXPECT_EQ(s.At(20, 20), 0u);
    }
    // ...comes back as its bounding rectangle, corners included.
    s.Fill(0);
    CRenderEngine::DrawColor(s.dc(), rcAll, 0xFFFFFFFF);
    EXPECT_EQ(s.At(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(s.At(29, 29), 0x00FFFFFFu);
    EXPECT_EQ(s.At(35, 35), 0u);
    ::SelectClipRgn(s.dc(), nullptr);
}

TEST(RenderAdjustColor, NeutralValuesAndGreysAreKept)
{
    EXPECT_EQ(CRenderEngine::AdjustColor(0x12345678, 180, 100, 100), 0x12345678u);
    for (DWORD v = 0; v < 256; v += 5) {
        const DWORD grey = 0x80000000 | (v << 16) | (v << 8) | v;
        EXPECT_EQ(CRenderEngine::AdjustColor(grey, 0, 100, 100), grey) << v;
        EXPECT_EQ(CRenderEngine::AdjustColor(grey, 300, 100, 100), grey) << v;
    }
}

TEST(RenderAdjustColor, HueShiftRotatesChannelsAndLightnessScales)
{
    // A shift of +120 degrees moves a pure low-byte colour to the next byte.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 300, 100, 100), 0xFF00FF00u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0x7F00FF00, 300, 100, 100), 0x7FFF0000u);
    // Zero lightness is black whatever the colour; alpha stays.
    EXPECT_EQ(CRenderEngine::AdjustColor(0x40ABCDEF, 180, 100, 0), 0x40000000u);
    // Zero saturation turns a colour into the grey of its lightness.
    const DWORD grey = CRenderEngine::AdjustColor(0xFFFF0000, 180, 0, 100);
    EXPECT_EQ(grey, 0xFF7F7F7Fu);
}

// ---- the stepped gradient and the software blend --------------------------------

// Distinct colours down column 0 (vertical) or along row 0.
int Bands(const Surface& s, bool bVertical)
{
    std::set<DWORD> colours;
    const int n = bVertical ? s.Height() : s.Width();
    for (int i = 0; i < n; ++i) colours.insert(bVertical ? s.At(0, i) : s.At(i, 0));
    return static_cast<int>(colours.size());
}

TEST(RenderSteppedGradient, StepCountsGiveStripCounts)
{
    EXPECT_EQ(RenderBlend::SteppedGradientStrips(1), 2);
    EXPECT_EQ(RenderBlend::SteppedGradientStrips(5), 4);
    EXPECT_EQ(RenderBlend::SteppedGradientStrips(8), 8);
    EXPECT_EQ(RenderBlend::SteppedGradientStrips(16), 16);
    EXPECT_EQ(RenderBlend::SteppedGradientStrips(63), 32);
    EXPECT_EQ(RenderBlend::SteppedGradientStrips(100), 64);

    for (int steps : {5, 100}) {
        Surface v(4, 128, 0x00000000);
        RenderBlend::FillSteppedGradient(v.dc(), RECT{0, 0, 4, 128}, 0xFF000000, 0xFFFFFFFF, true, steps);
        EXPECT_EQ(Bands(v, true), RenderBlend::SteppedGradientStrips(steps)) << steps;
        Surface h(128, 4, 0x00000000);
        RenderBlend::FillSteppedGradient(h.dc(), RECT{0, 0, 128, 4}, 0xFF000000, 0xFFFFFFFF, false, steps);
        EXPECT_EQ(Bands(h, false), RenderBlend::SteppedGradientStrips(steps)) << steps;
    }
}

TEST(RenderSteppedGradient, StripsRunFromTheFirstColourToTheSecond)
{
    // Four strips of 8 pixels: (second * (4 - i) + first * i) >> 2, strip 0 at the bottom.
    Surface s(4, 40, 0x00FF00FF);
    RenderBlend::FillSteppedGradient(s.dc(), RECT{0, 4, 4, 36}, 0xFF000000, 0xFFFFFFFF, true, 5);
    EXPECT_EQ(s.At(0, 35), 0x00FFFFFFu);
    EXPECT_EQ(s.At(0, 28), 0x00FFFFFFu);
    EXPECT_EQ(s.At(0, 27), 0x00BFBFBFu);
    EXPECT_EQ(s.At(0, 12), 0x007F7F7Fu);
    EXPECT_EQ(s.At(0, 4), 0x003F3F3Fu);
    EXPECT_EQ(s.At(0, 3), 0x00FF00FFu);
    EXPECT_EQ(s.At(0, 36), 0x00FF00FFu);

    // Too narrow for every strip: the empty ones are skipped.
    Surface thin(3, 1, 0x00FF00FF);
    RenderBlend::FillSteppedGradient(thin.dc(), RECT{0, 0, 3, 1}, 0xFF000000, 0xFFFFFFFF, false, 100);
    EXPECT_EQ(thin.Count(0x00FF00FF), 0);
}

TEST(RenderBlendFallback, SoftwareBlendMatchesTheSystemBlend)
{
    // A premultiplied 8 x 8 source with every kind of alpha over a pattern.
    auto source = [](int x, int y) -> DWORD {
        const DWORD a = (x * 8 + y) * 4 & 0xFF;
        const DWORD c = a * ((x * 37 + y * 11) & 0xFF) / 255;
        return (a << 24) | (c << 16) | ((a / 2) << 8) | (a - c);
    };
    Surface src(8, 8);
    {
        BITMAP bm = {};
        ::GetObjectW(::GetCurrentObject(src.dc(), OBJ_BITMAP), sizeof(bm), &bm);
        ::GdiFlush();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) static_cast<DWORD*>(bm.bmBits)[y * 8 + x] = source(x, y);
    }
    for (bool perPixel : {true, false}) {
        for (BYTE fade : {BYTE{255}, BYTE{200}, BYTE{77}}) {
            for (int scale : {1, 2}) {
                const RECT rcSrc = {0, 0, 8, 8};
                const RECT rcDst = {1, 1, 1 + 8 * scale, 1 + 8 * scale};
                Surface expected(20, 20);
                Surface actual(20, 20);
                for (Surface* d : {&expected, &actual})
                    for (int y = 0; y < 20; ++y)
                        for (int x = 0; x < 20; ++x) ::SetPixelV(d->dc(), x, y, RGB(x * 12, y * 12, (x + y) * 6));
                ASSERT_TRUE(RenderBlend::AlphaBlendPiece(expected.dc(), rcDst, src.dc(), rcSrc, fade, perPixel));
                ASSERT_TRUE(RenderBlend::SoftwareAlphaBlend(actual.dc(), rcDst, src.dc(), rcSrc, fade, perPixel));
                int worst = 0;
                for (int y = 0; y < 20; ++y) {
                    for (int x = 0; x < 20; ++x) {
                        const DWORD e = expected.At(x, y);
                        const DWORD a = actual.At(x, y);
                        worst = std::max({worst, std::abs(Red(e) - Red(a)), std::abs(Green(e) - Green(a)),
                                          std::abs(Blue(e) - Blue(a))});
                    }
                }
                EXPECT_LE(worst, 2) << perPixel << " " << int(fade) << " " << scale;
            }
        }
    }
}

// ---- text ---------------------------------------------------------------------------

// Pixels that differ from the background.
int Ink(const Surface& s, DWORD background)
{
    return s.Width() * s.Height() - s.Count(background);
}

TEST(RenderText, AmpersandIsShownAndTheColourUsed)
{
    CPaintManagerUI pm;
    Surface ours(200, 30, 0x00FFFFFF);
    RECT rc = {0, 0, 200, 30};
    CRenderEngine::DrawTextW(ours.dc(), &pm, rc, L"A&B&&C", 0x00FF0000, -1, DT_SINGLELINE | DT_LEFT);

    // The same text drawn with and without prefix processing.
    Surface literal(200, 30, 0x00FFFFFF);
    Surface prefixed(200, 30, 0x00FFFFFF);
    for (Surface* s : {&literal, &prefixed}) {
        ::SetBkMode(s->dc(), TRANSPARENT);
        ::SetTextColor(s->dc(), RGB(255, 0, 0));
        ::SelectObject(s->dc(), pm.GetFont(-1));
        RECT r = {0, 0, 200, 30};
        ::DrawTextW(s->dc(), L"A&B&&C", -1, &r, DT_SINGLELINE | DT_LEFT | (s == &literal ? DT_NOPREFIX : 0));
    }
    int differentFromLiteral = 0;
    int differentFromPrefixed = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            differentFromLiteral += ours.At(x, y) != literal.At(x, y) ? 1 : 0;
            differentFromPrefixed += ours.At(x, y) != prefixed.At(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(Ink(ours, 0x00FFFFFF), 0);
    EXPECT_EQ(differentFromLiteral, 0);
    EXPECT_GT(differentFromPrefixed, 0);
    // Red text: no pixel gains more green or blue than red.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x) EXPECT_GE(Red(ours.At(x, y)), Green(ours.At(x, y)));

    // Nothing without text or manager.
    Surface blank(20, 20, 0x00FFFFFF);
    RECT r = {0, 0, 20, 20};
    CRenderEngine::DrawTextW(blank.dc(), nullptr, r, L"X", 0xFF000000, -1, DT_SINGLELINE);
    CRenderEngine::DrawTextW(blank.dc(), &pm, r, nullptr, 0xFF000000, -1, DT_SINGLELINE);
    EXPECT_EQ(Ink(blank, 0x00FFFFFF), 0);
}

TEST(RenderText, MeasuringUsesTheChosenFont)
{
    CPaintManagerUI pm;
    Surface s(10, 10);
    EXPECT_EQ(CRenderEngine::GetTextSize(s.dc(), nullptr, L"abc", -1, 0).cx, 0);
    const SIZE none = CRenderEngine::GetTextSize(s.dc(), &pm, nullptr, -1, 0);
    EXPECT_EQ(none.cx, 0);
    EXPECT_EQ(none.cy, 0);

    const SIZE normal = CRenderEngine::GetTextSize(s.dc(), &pm, L"Hello & goodbye", -1, 0);
    EXPECT_GT(normal.cx, 0);
    ASSERT_NE(pm.AddFont(L"Tahoma", 40, false, false, false), nullptr);
    const SIZE big = CRenderEngine::GetTextSize(s.dc(), &pm, L"Hello & goodbye", 0, 0);
    EXPECT_GT(big.cx, normal.cx);
    EXPECT_GT(big.cy, normal.cy);
    // An index outside the font table is the default font.
    const SIZE outside = CRenderEngine::GetTextSize(s.dc(), &pm, L"Hello & goodbye", 7, 0);
    EXPECT_EQ(outside.cx, normal.cx);
    EXPECT_EQ(pm.GetCustomFontCount(), 1);

    // DT_CALCRECT gives the extent; a narrow rectangle wraps onto more lines.
    RECT line = {0, 0, 1000, 0};
    CRenderEngine::DrawTextW(s.dc(), &pm, line, L"Hello & goodbye", 0xFF000000, -1, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(line.right - line.left, normal.cx);
    RECT wrapped = {0, 0, normal.cx / 2, 0};
    CRenderEngine::DrawTextW(s.dc(), &pm, wrapped, L"Hello & goodbye", 0xFF000000, -1, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(wrapped.bottom - wrapped.top, 2 * (line.bottom - line.top));
}

// ---- capturing a control --------------------------------------------------------------

// Paints a red first row and green below it, wherever its rectangle lies.
class TwoToneControl : public CControlUI
{
public:
    void DoPaint(HDC hDC, const RECT&) override
    {
        const RECT& rc = GetPos();
        CRenderEngine::DrawColor(hDC, RECT{rc.left, rc.top, rc.right, rc.top + 1}, 0xFFFF0000);
        CRenderEngine::DrawColor(hDC, RECT{rc.left, rc.top + 1, rc.right, rc.bottom}, 0xFF00FF00);
    }
};

TEST(RenderCapture, GenerateBitmapHoldsTheControlsPixelsBottomUp)
{
    CPaintManagerUI pm;
    TwoToneControl control;
    control.SetPos(RECT{10, 20, 30, 30});
    const HBITMAP hBitmap = CRenderEngine::GenerateBitmap(&pm, &control, RECT{10, 20, 30, 30});
    ASSERT_NE(hBitmap, nullptr);
    DIBSECTION ds = {};
    ASSERT_EQ(::GetObjectW(hBitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmWidth, 20);
    EXPECT_EQ(ds.dsBm.bmHeight, 10);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    EXPECT_GT(ds.dsBmih.biHeight, 0);
    // Bottom-up: the last row in memory is the control's top row.
    const DWORD* bits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    EXPECT_EQ(bits[9 * 20 + 5] & 0xFFFFFF, 0x00FF0000u);
    EXPECT_EQ(bits[0] & 0xFFFFFF, 0x0000FF00u);
    EXPECT_EQ(bits[8 * 20 + 19] & 0xFFFFFF, 0x0000FF00u);
    ::DeleteObject(hBitmap);

    EXPECT_EQ(CRenderEngine::GenerateBitmap(nullptr, &control, RECT{0, 0, 5, 5}), nullptr);
    EXPECT_EQ(CRenderEngine::GenerateBitmap(&pm, nullptr, RECT{0, 0, 5, 5}), nullptr);
    EXPECT_EQ(CRenderEngine::GenerateBitmap(&pm, &control, RECT{5, 5, 5, 9}), nullptr);
}
