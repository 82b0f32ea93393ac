// The canvas blends premultiplied images into a DIB section itself; every
// pixel must come out as the system's AlphaBlend makes it, stretched,
// clipped and faded. The runs it relies on are checked here too.
#include <gtest/gtest.h>

#include "varnelui/core/UIDibCanvas.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIRenderBlend.h"

#include "support/DibSurface.h"

#include <random>
#include <vector>

using namespace VarnelUI;
using Surface = VarnelTest::DibSurface;

namespace {

// A 32-bit top-down DIB holding the given pixels, and its runs.
class Image
{
public:
    Image(int cx, int cy, const std::vector<DWORD>& pixels) : m_surface(cx, cy)
    {
        m_surface.FillFrom([&](int x, int y) { return pixels[static_cast<size_t>(y * cx + x)]; });
        m_runs = CPixelRuns::Build(View());
    }

    HDC dc() const { return m_surface.dc(); }
    TPixelView View() const
    {
        return TPixelView::Of(static_cast<HBITMAP>(::GetCurrentObject(m_surface.dc(), OBJ_BITMAP)));
    }
    const CPixelRuns* Runs() const { return m_runs.get(); }

private:
    Surface m_surface;
    std::unique_ptr<CPixelRuns> m_runs;
};

DWORD Premultiplied(std::mt19937& rng)
{
    const DWORD a = rng() % 4 == 0 ? 255 : rng() % 4 == 0 ? 0 : rng() % 256;
    const auto channel = [&]() { return a == 0 ? 0 : DWORD(rng() % (a + 1)); };
    return (a << 24) | (channel() << 16) | (channel() << 8) | channel();
}

// The same blend drawn by the system on one copy of the surface and by the
// canvas on another; the index of the first differing pixel, or -1.
int CompareWithSystem(const Image& image, Surface& system, Surface& canvasSurface, const RECT& rcDest,
                      const RECT& rcSrc, BYTE fade, const RECT* prcClip = nullptr)
{
    const BLENDFUNCTION bf = {AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
    CRegionHandle clip(prcClip != nullptr ? ::CreateRectRgnIndirect(prcClip) : nullptr);
    ::SelectClipRgn(system.dc(), clip.Get());
    ::SelectClipRgn(canvasSurface.dc(), clip.Get());
    ::AlphaBlend(system.dc(), rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top,
                 image.dc(), rcSrc.left, rcSrc.top, rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top, bf);
    CDibCanvas canvas;
    if (!canvas.Attach(canvasSurface.dc())) return -2;
    canvas.Blend(image.View(), *image.Runs(), rcDest, rcSrc, fade);
    const std::vector<DWORD> expected = system.Pixels();
    const std::vector<DWORD> actual = canvasSurface.Pixels();
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i] != actual[i]) return static_cast<int>(i);
    return -1;
}

TEST(DibCanvas, BlendRoundsLikeTheSystemForEveryAlphaAndFade)
{
    // Every premultiplied source value against every destination byte.
    std::vector<DWORD> sources;
    for (DWORD a = 0; a < 256; ++a)
        for (DWORD c = 0; c <= a; c += (a > 64 ? 3 : 1))
            sources.push_back((a << 24) | (c << 16) | ((a - c) << 8) | (c / 2));
    const int cy = static_cast<int>(sources.size());
    std::vector<DWORD> pixels;
    for (DWORD s : sources) pixels.insert(pixels.end(), 256, s);
    const Image image(256, cy, pixels);
    ASSERT_NE(image.Runs(), nullptr);

    for (const BYTE fade : {BYTE{255}, BYTE{254}, BYTE{200}, BYTE{128}, BYTE{77}, BYTE{1}}) {
        Surface system(256, cy);
        Surface canvas(256, cy);
        for (Surface* s : {&system, &canvas})
            s->FillFrom([](int x, int) {
                const DWORD d = static_cast<DWORD>(x);
                return (d << 24) | ((255 - d) << 16) | (d * 7 % 256) << 8 | d;
            });
        const RECT rc = {0, 0, 256, cy};
        const int at = CompareWithSystem(image, system, canvas, rc, rc, fade);
        EXPECT_EQ(at, -1) << "fade " << int(fade) << " differs at column " << at % 256 << ", row " << at / 256;
    }
}

TEST(DibCanvas, StretchesAndClipsLikeTheSystem)
{
    std::mt19937 rng(19);
    std::vector<DWORD> pixels(40 * 30);
    for (DWORD& p : pixels) p = Premultiplied(rng);
    // Runs of one kind as well as pixels of every kind.
    for (int x = 5; x < 35; ++x) pixels[x] = 0xFF102030, pixels[40 + x] = 0;
    const Image image(40, 30, pixels);
    ASSERT_NE(image.Runs(), nullptr);

    // Top-down like the frames of normal windows, bottom-up like those of layered ones.
    Surface topDown[2] = {{120, 90}, {120, 90}};
    Surface bottomUp[2] = {{120, 90, 0, RenderBlend::DibRows::BottomUp}, {120, 90, 0, RenderBlend::DibRows::BottomUp}};
    for (int i = 0; i < 400; ++i) {
        Surface* pair = i % 3 == 0 ? bottomUp : topDown;
        Surface& system = pair[0];
        Surface& canvas = pair[1];
        system.FillFrom([&](int, int) { return static_cast<DWORD>(rng()); });
        ::SelectClipRgn(canvas.dc(), nullptr);
        ::BitBlt(canvas.dc(), 0, 0, 120, 90, system.dc(), 0, 0, SRCCOPY);
        const int sx = int(rng() % 40), sy = int(rng() % 30);
        const RECT rcSrc = {sx, sy, sx + 1 + int(rng() % (40 - sx)), sy + 1 + int(rng() % (30 - sy))};
        const int dx = int(rng() % 130) - 10, dy = int(rng() % 100) - 10;
        const RECT rcDest = {dx, dy, dx + 1 + int(rng() % 120), dy + 1 + int(rng() % 90)};
        const RECT rcClip = {int(rng() % 60), int(rng() % 45), 60 + int(rng() % 60), 45 + int(rng() % 45)};
        const BYTE fade = rng() % 2 == 0 ? 255 : BYTE(rng());
        const int at = CompareWithSystem(image, system, canvas, rcDest, rcSrc, fade, i % 2 == 0 ? &rcClip : nullptr);
        ASSERT_EQ(at, -1) << "case " << i << ": source " << rcSrc.left << "," << rcSrc.top << " "
                          << rcSrc.right - rcSrc.left << "x" << rcSrc.bottom - rcSrc.top << " onto " << rcDest.left
                          << "," << rcDest.top << " " << rcDest.right - rcDest.left << "x" << rcDest.bottom - rcDest.top
                          << " fade " << int(fade) << ", pixel (" << at % 120 << ", " << at / 120 << ")";
    }
}

TEST(PixelRuns, PartsAreOpaqueTransparentOrNeitherAndOnlyKnownPixelsHaveRuns)
{
    // Row 0: four transparent, four opaque, four translucent pixels. Row 1:
    // opaque. Row 2: alternating, too many runs to be worth keeping.
    std::vector<DWORD> pixels(12 * 3, 0xFF204060);
    for (int x = 0; x < 4; ++x) pixels[x] = 0;
    for (int x = 8; x < 12; ++x) pixels[x] = 0x80102030;
    for (int x = 0; x < 12; x += 2) pixels[24 + x] = 0;
    const Image image(12, 3, pixels);
    const CPixelRuns* runs = image.Runs();
    ASSERT_NE(runs, nullptr);
    EXPECT_EQ(runs->Classify({0, 0, 4, 1}), CPixelRuns::Kind::Transparent);
    EXPECT_EQ(runs->Classify({4, 0, 8, 2}), CPixelRuns::Kind::Opaque);
    EXPECT_EQ(runs->Classify({3, 0, 8, 1}), CPixelRuns::Kind::Translucent) << "crosses a run";
    EXPECT_EQ(runs->Classify({0, 0, 4, 2}), CPixelRuns::Kind::Translucent) << "transparent above opaque";
    EXPECT_EQ(runs->Classify({1, 2, 2, 3}), CPixelRuns::Kind::Translucent) << "a row kept as one run";
    EXPECT_EQ(runs->Find(0, 9)->end, 12);

    // A colour above its alpha is not premultiplied: no runs, the system blends.
    pixels[5] = 0x80FF0000;
    EXPECT_EQ(Image(12, 3, pixels).Runs(), nullptr);
    // A bitmap of unknown row order gives no view of its pixels.
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    const CBitmapHandle foreign(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    EXPECT_TRUE(TPixelView::Of(foreign.Get()).Empty());
}

} // namespace
