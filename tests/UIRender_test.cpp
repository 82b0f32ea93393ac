// Pixel checks of the colour and shape drawing operations and of the clip scope,
// drawn into a 32-bit top-down DIB section so every pixel can be read back.
#include <gtest/gtest.h>

#include "varnelui/core/UIRender.h"

#include "support/DibSurface.h"

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

TEST(RenderShapes, RectOutlineLiesInsideTheRectangle)
{
    Surface s(20, 20, 0x00000000);
    CRenderEngine::DrawRect(s.dc(), RECT{2, 2, 12, 12}, 1, 0xFF00FF00);
    EXPECT_EQ(s.At(2, 2), 0x0000FF00u);
    EXPECT_EQ(s.At(11, 2), 0x0000FF00u);
    EXPECT_EQ(s.At(2, 11), 0x0000FF00u);
    EXPECT_EQ(s.At(11, 11), 0x0000FF00u);
    EXPECT_EQ(s.At(6, 6), 0u);    // interior untouched
    EXPECT_EQ(s.At(12, 12), 0u);  // nothing outside
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
