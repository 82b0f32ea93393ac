// Image loading, the paint manager's image cache, nine-grid painting and image
// descriptions, checked pixel by pixel. Small PNGs with exact pixels are made
// here; real-world files come from the PngSuite and from ImageMagick.
#include <gtest/gtest.h>

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include "support/DibSurface.h"
#include "support/TestHelpers.h"
#include "support/TestPng.h"

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::Blue;
using VarnelTest::Green;
using VarnelTest::ReadBytes;
using VarnelTest::Red;
using VarnelTest::WriteFile;
using Surface = VarnelTest::DibSurface;
using VarnelTest::Bytes;
using VarnelTest::MakePng;
using VarnelTest::PixelFn;
using VarnelTest::Solid;

namespace {

std::wstring SkinDir()
{
    return std::wstring(VARNEL_BINARY_DIR) + L"/imagetest/";
}

void WriteSkinPng(const wchar_t* name, int cx, int cy, const PixelFn& pixel)
{
    WriteFile(SkinDir() + name, MakePng(cx, cy, pixel));
}

// The stored pixel as 0xAARRGGBB.
DWORD StoredPixel(const TImageInfo* image, int x, int y)
{
    DIBSECTION ds = {};
    ::GetObjectW(image->hBitmap, sizeof(ds), &ds);
    return static_cast<const DWORD*>(ds.dsBm.bmBits)[y * image->width + x];
}

struct TImageDeleter
{
    void operator()(TImageInfo* p) const { CRenderEngine::FreeImage(p); }
};
using ImagePtr = std::unique_ptr<TImageInfo, TImageDeleter>;

ImagePtr Load(const std::wstring& name, DWORD mask = 0)
{
    return ImagePtr(CRenderEngine::LoadImageW(name.c_str(), nullptr, mask));
}

// A premultiplied 32-bit top-down DIB filled from a function.
HBITMAP MakeDib(int cx, int cy, const PixelFn& pixel)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) static_cast<DWORD*>(bits)[y * cx + x] = pixel(x, y);
    return hBitmap;
}

// Skin images shared by the tests, in a folder used as the resource path.
class ImageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ::CreateDirectoryW(SkinDir().c_str(), nullptr);
        WriteSkinPng(L"strip.png", 81, 27, [](int x, int) {
            return x < 27 ? 0xFFFF0000 : x < 54 ? 0xFF00FF00 : 0xFF0000FF;
        });
        WriteSkinPng(L"white.png", 8, 8, Solid(0xFFFFFFFF));
        WriteSkinPng(L"red.png", 10, 10, Solid(0xFFFF0000));
        WriteSkinPng(L"halfclear.png", 10, 10, [](int x, int) { return x < 5 ? 0x00000000 : 0xFF00FF00; });
        WriteSkinPng(L"mask.png", 2, 1, [](int x, int) { return x == 0 ? 0xFFFF00FF : 0xFF00FF00; });
        WriteSkinPng(L"half.png", 1, 1, Solid(0x80C86432));
        WriteSkinPng(L"clear.png", 4, 4, Solid(0x00FF8040));
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(SkinDir().c_str());
    }

    bool Draw(Surface& s, CPaintManagerUI& pm, const RECT& rcItem, LPCWSTR description, LPCWSTR modify = nullptr)
    {
        const RECT rcPaint = {0, 0, s.Width(), s.Height()};
        return CRenderEngine::DrawImageString(s.dc(), &pm, rcItem, rcPaint, description, modify);
    }
};

// ---- loading -------------------------------------------------------------------

TEST_F(ImageTest, PixelsArePremultipliedTopDownBgra)
{
    const ImagePtr half = Load(L"half.png");
    ASSERT_TRUE(half);
    EXPECT_EQ(half->width, 1);
    EXPECT_TRUE(half->alpha);
    // A 128 with R 200, G 100, B 50 is stored as 200*128/255 = 100 and so on.
    EXPECT_EQ(StoredPixel(half.get(), 0, 0), 0x80643219u);

    const ImagePtr strip = Load(L"strip.png");
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->width, 81);
    EXPECT_EQ(strip->height, 27);
    EXPECT_FALSE(strip->alpha);
    EXPECT_EQ(StoredPixel(strip.get(), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(StoredPixel(strip.get(), 80, 26), 0xFF0000FFu);

    DIBSECTION ds = {};
    ASSERT_EQ(::GetObjectW(strip->hBitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);

    // The first row in memory is the picture's top row.
    WriteSkinPng(L"rows.png", 2, 2, [](int, int y) { return y == 0 ? 0xFFFF0000 : 0xFF0000FF; });
    const ImagePtr rows = Load(L"rows.png");
    ASSERT_TRUE(rows);
    EXPECT_EQ(StoredPixel(rows.get(), 1, 0), 0xFFFF0000u);
    EXPECT_EQ(StoredPixel(rows.get(), 1, 1), 0xFF0000FFu);
}

TEST_F(ImageTest, MaskColourBecomesTransparentAndMarksAlpha)
{
    const ImagePtr masked = Load(L"mask.png", 0xFFFF00FF);
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->alpha);
    EXPECT_EQ(StoredPixel(masked.get(), 0, 0), 0u);
    EXPECT_EQ(StoredPixel(masked.get(), 1, 0), 0xFF00FF00u);

    const ImagePtr plain = Load(L"mask.png");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->alpha);
    EXPECT_EQ(StoredPixel(plain.get(), 0, 0), 0xFFFF00FFu);
}

TEST_F(ImageTest, FoundInTheSkinFolderOrAsAPlainPath)
{
    EXPECT_TRUE(Load(L"red.png"));
    EXPECT_TRUE(Load(SkinDir() + L"red.png"));
    EXPECT_FALSE(Load(L"no-such-image.png"));
    EXPECT_FALSE(Load(L""));
    // A resource type makes the name a resource, which this program lacks.
    EXPECT_EQ(CRenderEngine::LoadImageW(L"red.png", L"PNG", 0), nullptr);
    EXPECT_EQ(CRenderEngine::LoadImageW(STRINGorID(101u), L"PNG", 0), nullptr);
}

SIZE_T PeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakPagefileUsage;
}

TEST_F(ImageTest, DamagedOrAbsurdFilesAreRefusedWithoutGiantAllocations)
{
    const SIZE_T peakBefore = PeakMemory();
    const Bytes good = MakePng(16, 16, Solid(0xFF123456));
    const std::wstring path = SkinDir() + L"damaged.png";
    auto refused = [&](const Bytes& bytes) {
        WriteFile(path, bytes);
        return !Load(path);
    };
    ASSERT_FALSE(refused(good));

    EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + static_cast<long>(good.size() / 2))));
    EXPECT_TRUE(refused(Bytes(good.begin(), good.end() - 12))); // no IEND
    Bytes badCrc = good;
    badCrc[good.size() - 13] ^= 0x55; // last byte of the IDAT checksum
    EXPECT_TRUE(refused(badCrc));
    EXPECT_TRUE(refused(MakePng(0, 0, Solid(0))));
    EXPECT_TRUE(refused(MakePng(1, 1, Solid(0xFFFFFFFF), 30000, 30000)));
    EXPECT_TRUE(refused(MakePng(1, 1, Solid(0xFFFFFFFF), 20000, 1)));
    EXPECT_TRUE(refused(Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
    EXPECT_TRUE(refused(Bytes{}));

    // Real damaged files: refused or decoded to a sane size, never a crash.
    const std::wstring crashers = std::wstring(VARNEL_TESTDATA_DIR) + L"/png-crashers/";
    WIN32_FIND_DATAW fd;
    const HANDLE hFind = ::FindFirstFileW((crashers + L"*.png").c_str(), &fd);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        ++files;
        const ImagePtr image = Load(crashers + fd.cFileName);
        if (image) {
            EXPECT_GT(image->width, 0) << fd.cFileName;
            EXPECT_LE(static_cast<long long>(image->width) * image->height, 4096LL * 4096LL) << fd.cFileName;
        }
    } while (::FindNextFileW(hFind, &fd));
    ::FindClose(hFind);
    EXPECT_GE(files, 20);
    EXPECT_FALSE(Load(crashers + L"badcrc.png"));
    EXPECT_FALSE(Load(crashers + L"huge_IDAT.png"));

    EXPECT_LT(PeakMemory() - peakBefore, SIZE_T{64} << 20);
}

// Decoded pixels against ImageMagick's reading of the same file, premultiplied
// the same way. 16-bit files are reduced to 8 bits with a different rounding
// and JPEG decoders differ in their inverse transform, hence the tolerances.
void CompareWithReference(const std::wstring& image, const std::wstring& dump, const std::string& name)
{
    const Bytes expected = ReadBytes(dump);
    const ImagePtr loaded = Load(image);
    ASSERT_TRUE(loaded) << name;
    ASSERT_EQ(expected.size(), static_cast<size_t>(loaded->width) * loaded->height * 4) << name;
    const int tolerance = name.find(".jpg") != std::string::npos ? 3 : name.find("16") != std::string::npos ? 2 : 0;

    bool anyTranslucent = false;
    int worst = 0;
    for (int y = 0; y < loaded->height; ++y) {
        for (int x = 0; x < loaded->width; ++x) {
            const BYTE* p = &expected[(static_cast<size_t>(y) * loaded->width + x) * 4];
            const int a = p[3];
            auto premultiplied = [a](int c) { return a == 255 ? c : c * a / 255; };
            const DWORD stored = StoredPixel(loaded.get(), x, y);
            anyTranslucent = anyTranslucent || a != 255;
            worst = std::max(
                {worst, std::abs(static_cast<int>(stored >> 24) - a), std::abs(Red(stored) - premultiplied(p[0])),
                 std::abs(Green(stored) - premultiplied(p[1])), std::abs(Blue(stored) - premultiplied(p[2]))});
        }
    }
    EXPECT_LE(worst, tolerance) << name;
    EXPECT_EQ(loaded->alpha, anyTranslucent) << name;
}

int CompareFolder(const std::wstring& dumps, const std::wstring& images)
{
    WIN32_FIND_DATAW fd;
    const HANDLE hFind = ::FindFirstFileW((dumps + L"*.rgba").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        std::wstring name = fd.cFileName;
        name.resize(name.size() - 5); // without ".rgba"
        CompareWithReference(images + name, dumps + fd.cFileName, std::string(name.begin(), name.end()));
        ++count;
    } while (::FindNextFileW(hFind, &fd));
    ::FindClose(hFind);
    return count;
}

TEST(ImageDecoding, PngSuiteMatchesImageMagick)
{
    const std::wstring fixtures = std::wstring(VARNEL_BINARY_DIR) + L"/imagefixtures/";
    const int count = CompareFolder(fixtures + L"pngsuite/", std::wstring(VARNEL_TESTDATA_DIR) + L"/pngsuite/");
    EXPECT_GE(count, 60) << "reference pixels missing: the build makes them with ImageMagick";
}

TEST(ImageDecoding, GeneratedVariantsMatchImageMagick)
{
    const std::wstring variants = std::wstring(VARNEL_BINARY_DIR) + L"/imagefixtures/variants/";
    const int count = CompareFolder(variants, variants);
    // Palette, grey, 16-bit, interlaced and alpha PNGs, GIF, BMP and JPEG.
    EXPECT_GE(count, 13) << "reference pixels missing: the build makes them with ImageMagick";
}

TEST(ImageDecoding, IconBecomesAnOpaqueBitmap)
{
    const HDC hScreen = ::GetDC(nullptr);
    const HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, 16, 16);
    ::ReleaseDC(nullptr, hScreen);
    const HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    {
        Surface paint(1, 1);
        const HGDIOBJ old = ::SelectObject(paint.dc(), hColor);
        const RECT rc = {0, 0, 16, 16};
        const HBRUSH brush = ::CreateSolidBrush(RGB(0, 0, 255));
        ::FillRect(paint.dc(), &rc, brush);
        ::DeleteObject(brush);
        ::SelectObject(paint.dc(), hMask);
        ::PatBlt(paint.dc(), 0, 0, 16, 16, BLACKNESS); // all opaque
        ::SelectObject(paint.dc(), old);
    }
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    const HICON hIcon = ::CreateIconIndirect(&ii);
    ASSERT_NE(hIcon, nullptr);

    const ImagePtr image(CRenderEngine::LoadImageFromHICON(hIcon));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 16);
    EXPECT_FALSE(image->alpha);
    Surface s(16, 16, 0x00FFFFFF);
    CRenderEngine::DrawImage(s.dc(), image->hBitmap, RECT{0, 0, 16, 16}, RECT{0, 0, 16, 16}, RECT{0, 0, 16, 16}, RECT{},
                             false);
    EXPECT_EQ(s.At(8, 8), 0x000000FFu);
    EXPECT_EQ(CRenderEngine::LoadImageFromHICON(nullptr), nullptr);

    ::DestroyIcon(hIcon);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
}

// ---- the image cache -------------------------------------------------------------

TEST_F(ImageTest, CacheLoadsOnceKeepsTheFirstEntryAndFreesOnRemoval)
{
    CPaintManagerUI pm;
    EXPECT_EQ(pm.GetImage(L"red.png"), nullptr);
    TImageInfo* red = pm.GetImageEx(L"red.png", nullptr, 0x12345678);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->mask, 0x12345678u);
    EXPECT_TRUE(red->resType.IsEmpty());
    EXPECT_EQ(pm.GetImageEx(L"red.png"), red);
    EXPECT_EQ(pm.GetImage(L"red.png"), red);
    EXPECT_EQ(pm.AddImage(L"red.png"), red); // the cached entry stays
    EXPECT_EQ(pm.GetImageEx(L"no-such-image.png"), nullptr);
    EXPECT_EQ(pm.GetImage(L"no-such-image.png"), nullptr);

    // With a type, only names that are decimal ids are tried.
    EXPECT_EQ(pm.AddImage(L"red.png", L"PNG"), nullptr);

    const HBITMAP hBitmap = MakeDib(3, 2, Solid(0xFF000000));
    TImageInfo* wrapped = pm.AddImage(L"made", hBitmap, 3, 2, true);
    ASSERT_NE(wrapped, nullptr);
    EXPECT_EQ(wrapped->hBitmap, hBitmap);
    EXPECT_TRUE(wrapped->alpha);
    EXPECT_EQ(pm.AddImage(L"empty", hBitmap, 0, 2, false), nullptr);

    EXPECT_TRUE(pm.RemoveImage(L"red.png"));
    EXPECT_FALSE(pm.RemoveImage(L"red.png"));
    EXPECT_EQ(pm.GetImage(L"red.png"), nullptr);
    pm.RemoveAllImages();
    EXPECT_EQ(pm.GetImage(L"made"), nullptr);
}

TEST_F(ImageTest, LayeredWindowsDrawEveryImageBlended)
{
    CPaintManagerUI pm;
    pm.SetBackgroundTransparent(true);
    const TImageInfo* red = pm.GetImageEx(L"red.png");
    ASSERT_NE(red, nullptr);
    EXPECT_TRUE(red->alpha);
}

TEST_F(ImageTest, ReloadKeepsTheRecordAndTakesTheNewPixels)
{
    WriteSkinPng(L"reload.png", 2, 2, Solid(0xFFFF0000));
    CPaintManagerUI pm;
    TImageInfo* image = pm.GetImageEx(L"reload.png");
    ASSERT_NE(image, nullptr);
    WriteSkinPng(L"reload.png", 3, 1, Solid(0x8000FF00));
    pm.ReloadAllImages();
    EXPECT_EQ(pm.GetImage(L"reload.png"), image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 1);
    EXPECT_TRUE(image->alpha);
    EXPECT_EQ(StoredPixel(image, 2, 0), 0x80008000u);
}

// ---- nine-grid painting ------------------------------------------------------------

TEST(ImageNineGrid, CornersKeepTheirSizeAndTheRestStretches)
{
    // Nine regions of distinct colours: borders 10 (left), 32 (top), 10
    // (right) and 10 (bottom) wide in a 40 x 60 image.
    auto region = [](int x, int y, int cx, int cy, int l, int t, int r, int b) -> DWORD {
        const int col = x < l ? 0 : x >= cx - r ? 2 : 1;
        const int row = y < t ? 0 : y >= cy - b ? 2 : 1;
        static const DWORD colours[9] = {0xFF800000, 0xFF008000, 0xFF000080, 0xFF808000, 0xFFFFFFFF,
                                         0xFF008080, 0xFF800080, 0xFFC0C0C0, 0xFF404040};
        return colours[row * 3 + col];
    };
    const HBITMAP hBitmap = MakeDib(40, 60, [&](int x, int y) { return region(x, y, 40, 60, 10, 32, 10, 10); });
    Surface s(100, 120);
    CRenderEngine::DrawImage(s.dc(), hBitmap, RECT{0, 0, 100, 120}, RECT{0, 0, 100, 120}, RECT{0, 0, 40, 60},
                             RECT{10, 32, 10, 10}, false);
    int wrong = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 100; ++x)
            wrong += s.At(x, y) != (region(x, y, 100, 120, 10, 32, 10, 10) & 0xFFFFFF) ? 1 : 0;
    EXPECT_EQ(wrong, 0);

    // A hole leaves the centre alone; the borders are still drawn.
    s.Fill(0x00123456);
    CRenderEngine::DrawImage(s.dc(), hBitmap, RECT{0, 0, 100, 120}, RECT{0, 0, 100, 120}, RECT{0, 0, 40, 60},
                             RECT{10, 32, 10, 10}, false, 255, true);
    EXPECT_EQ(s.Count(0x00123456), 80 * 78);
    EXPECT_EQ(s.At(5, 5), 0x00800000u);

    // Blended painting gives the same picture for an opaque image.
    s.Fill(0);
    CRenderEngine::DrawImage(s.dc(), hBitmap, RECT{0, 0, 100, 120}, RECT{0, 0, 100, 120}, RECT{0, 0, 40, 60},
                             RECT{10, 32, 10, 10}, true);
    EXPECT_EQ(s.At(5, 5), 0x00800000u);
    EXPECT_EQ(s.At(50, 60), 0x00FFFFFFu);
    EXPECT_EQ(s.At(95, 115), 0x00404040u);
    ::DeleteObject(hBitmap);
}

TEST(ImageNineGrid, PiecesOutsideThePaintRectangleAreSkipped)
{
    const HBITMAP hBitmap = MakeDib(30, 30, Solid(0xFFFF0000));
    Surface s(60, 60);
    // Only the top-left corner piece meets the paint rectangle.
    CRenderEngine::DrawImage(s.dc(), hBitmap, RECT{0, 0, 60, 60}, RECT{0, 0, 5, 5}, RECT{0, 0, 30, 30},
                             RECT{10, 10, 10, 10}, false);
    EXPECT_EQ(s.Count(0x00FF0000), 100);
    // At its own size without corners only the visible part is copied.
    s.Fill(0);
    CRenderEngine::DrawImage(s.dc(), hBitmap, RECT{10, 10, 40, 40}, RECT{0, 0, 20, 20}, RECT{0, 0, 30, 30}, RECT{},
                             false);
    EXPECT_EQ(s.Count(0x00FF0000), 100);
    ::DeleteObject(hBitmap);
}

TEST(ImageNineGrid, TilesAreNeverScaledAndTheLastOneIsCut)
{
    // A 30 x 10 tile whose red says the column and green the row.
    const HBITMAP hTile = MakeDib(30, 10, [](int x, int y) { return 0xFF000000 | (x * 8 << 16) | (y * 20 << 8); });
    auto check = [](const Surface& s, int cx, int cy, bool xtiled, bool ytiled) {
        int wrong = 0;
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                const DWORD c = s.At(x, y);
                if (xtiled && Red(c) != (x % 30) * 8) ++wrong;
                if (ytiled && Green(c) != (y % 10) * 20) ++wrong;
            }
        }
        return wrong;
    };

    // 100 wide: four tiles, the last 10 pixels wide.
    Surface s(100, 25);
    CRenderEngine::DrawImage(s.dc(), hTile, RECT{0, 0, 100, 10}, RECT{0, 0, 100, 25}, RECT{0, 0, 30, 10}, RECT{}, false,
                             255, false, true, false);
    EXPECT_EQ(check(s, 100, 10, true, false), 0);
    EXPECT_EQ(s.At(95, 0), 0x00280000u); // source column 5
    EXPECT_EQ(s.At(50, 15), 0u);

    // Both directions, blended: unscaled tiles everywhere.
    s.Fill(0);
    CRenderEngine::DrawImage(s.dc(), hTile, RECT{0, 0, 100, 25}, RECT{0, 0, 100, 25}, RECT{0, 0, 30, 10}, RECT{}, true,
                             255, false, true, true);
    EXPECT_EQ(check(s, 100, 25, true, true), 0);

    // ytiled only: each row spans the full width, stretched across.
    s.Fill(0);
    CRenderEngine::DrawImage(s.dc(), hTile, RECT{0, 0, 60, 25}, RECT{0, 0, 100, 25}, RECT{0, 0, 30, 10}, RECT{}, false,
                             255, false, false, true);
    EXPECT_EQ(check(s, 60, 25, false, true), 0);
    EXPECT_EQ(s.At(70, 5), 0u);
    ::DeleteObject(hTile);
}

TEST(ImageNineGrid, BlendingUsesSourceAlphaAndFade)
{
    Surface s(10, 10, 0x000000FF);
    // Premultiplied: A 128 with R 100 (from R 200).
    const HBITMAP hHalf = MakeDib(1, 1, Solid(0x80640000));
    CRenderEngine::DrawImage(s.dc(), hHalf, RECT{0, 0, 5, 5}, RECT{0, 0, 10, 10}, RECT{0, 0, 1, 1}, RECT{}, true);
    EXPECT_NEAR(Red(s.At(2, 2)), 100, 1);
    EXPECT_NEAR(Blue(s.At(2, 2)), 127, 1);
    EXPECT_EQ(s.At(7, 7), 0x000000FFu);

    // Alpha 0 leaves the target as it was.
    const HBITMAP hClear = MakeDib(1, 1, Solid(0));
    s.Fill(0x000000FF);
    CRenderEngine::DrawImage(s.dc(), hClear, RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, RECT{0, 0, 1, 1}, RECT{}, true);
    EXPECT_EQ(s.Count(0x000000FF), 100);

    // An opaque image at fade 128 is drawn at half strength.
    const HBITMAP hWhite = MakeDib(1, 1, Solid(0xFFFFFFFF));
    s.Fill(0);
    CRenderEngine::DrawImage(s.dc(), hWhite, RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, RECT{0, 0, 1, 1}, RECT{}, false,
                             128);
    EXPECT_NEAR(Green(s.At(5, 5)), 128, 1);
    ::DeleteObject(hHalf);
    ::DeleteObject(hClear);
    ::DeleteObject(hWhite);
}

// ---- image descriptions -------------------------------------------------------------

TEST_F(ImageTest, SourcePicksACellOfAStripAndIsClampedToTheImage)
{
    CPaintManagerUI pm;
    Surface s(100, 60);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 27, 27}, L"file='strip.png' source='27,0,54,27'"));
    EXPECT_EQ(s.Count(0x0000FF00), 27 * 27);

    // Stretched to twice the size: still only the middle cell.
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 54, 54}, L"file='strip.png' source='27,0,54,27'"));
    EXPECT_EQ(s.Count(0x0000FF00), 54 * 54);

    // Zero draws the whole image; a source beyond it is limited to it.
    for (LPCWSTR description : {L"file='strip.png'", L"strip.png", L"file='strip.png' source='0,0,500,500'"}) {
        s.Fill(0);
        EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 81, 27}, description));
        EXPECT_EQ(s.Count(0x00FF0000), 27 * 27) << description;
        EXPECT_EQ(s.Count(0x000000FF), 27 * 27) << description;
    }
}

TEST_F(ImageTest, DestIsRelativeToTheItemAndLimitedByIt)
{
    CPaintManagerUI pm;
    Surface s(120, 120);
    EXPECT_TRUE(Draw(s, pm, RECT{10, 10, 110, 110}, L"file='white.png' dest='0,0,500,500'"));
    EXPECT_EQ(s.Count(0x00FFFFFF), 100 * 100);
    EXPECT_EQ(s.At(109, 109), 0x00FFFFFFu);
    EXPECT_EQ(s.At(110, 110), 0u);

    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{10, 10, 110, 110}, L"file='white.png' dest='5,6,15,26'"));
    EXPECT_EQ(s.Count(0x00FFFFFF), 10 * 20);
    EXPECT_EQ(s.At(15, 16), 0x00FFFFFFu);

    // A destination outside the item draws nothing.
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{10, 10, 110, 110}, L"file='white.png' dest='-50,-50,-10,-10'"));
    EXPECT_EQ(s.Count(0), 120 * 120);
}

TEST_F(ImageTest, MaskFadeAndAlphaApplyWhenDrawing)
{
    CPaintManagerUI pm;
    Surface s(10, 10, 0x000000FF);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 2, 1}, L"file='mask.png' mask='#FFFF00FF'"));
    EXPECT_EQ(s.At(0, 0), 0x000000FFu);
    EXPECT_EQ(s.At(1, 0), 0x0000FF00u);

    s.Fill(0x000000FF);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 10, 10}, L"file='clear.png'"));
    EXPECT_EQ(s.Count(0x000000FF), 100);

    s.Fill(0x000000FF);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 10, 10}, L"file='half.png'"));
    EXPECT_NEAR(Red(s.At(3, 3)), 100, 1);
    EXPECT_NEAR(Blue(s.At(3, 3)), 25 + 127, 1);

    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 8, 8}, L"file='white.png' fade='128'"));
    EXPECT_NEAR(Green(s.At(3, 3)), 128, 1);
    // fade keeps only its low 8 bits: 384 is 128 again.
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 8, 8}, L"file='white.png' fade='384'"));
    EXPECT_NEAR(Green(s.At(3, 3)), 128, 1);
}

TEST_F(ImageTest, SeveralImagesAndTheModifier)
{
    CPaintManagerUI pm;
    Surface s(30, 10);
    // Both files are drawn with the same attributes, the second over the first.
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 10, 10}, L"file='red.png' file='halfclear.png'"));
    EXPECT_EQ(s.At(2, 5), 0x00FF0000u);
    EXPECT_EQ(s.At(7, 5), 0x0000FF00u);

    // Attributes between the files belong to the image before them.
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 30, 10}, L"file='red.png' dest='0,0,10,10' file='white.png' dest='20,0,30,10'"));
    EXPECT_EQ(s.Count(0x00FF0000), 100);
    EXPECT_EQ(s.Count(0x00FFFFFF), 100);

    // The modifier changes the last image instead of drawing it twice.
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 30, 10}, L"file='red.png'", L"dest='0,0,5,5'"));
    EXPECT_EQ(s.Count(0x00FF0000), 25);
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 10, 10}, L"file='red.png'", L"file='white.png' dest='0,0,4,4'"));
    EXPECT_EQ(s.Count(0x00FFFFFF), 16);
    EXPECT_EQ(s.Count(0x00FF0000), 0);
}

TEST_F(ImageTest, SyntaxErrorsStopParsingButTheImageSoFarIsDrawn)
{
    CPaintManagerUI pm;
    Surface s(20, 20);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 20, 20}, L"file='red.png' dest='0,0,5,5'x dest='0,0,20,20'"));
    EXPECT_EQ(s.Count(0x00FF0000), 25);
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 20, 20}, L"file='red.png' dest='0,0,5,5' source"));
    EXPECT_EQ(s.Count(0x00FF0000), 25);
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 20, 20}, L"file='red.png'   dest = '0,0,6,6' dest='0,0,7,7"));
    EXPECT_EQ(s.Count(0x00FF0000), 36);
    // Unknown keys and empty values are ignored.
    s.Fill(0);
    EXPECT_TRUE(Draw(s, pm, RECT{0, 0, 20, 20}, L"file='red.png' colour='blue' dest='' fade='255'"));
    EXPECT_EQ(s.Count(0x00FF0000), 400);
}

TEST_F(ImageTest, ImagesThatCannotBeHadAreReported)
{
    CPaintManagerUI pm;
    Surface s(10, 10);
    const RECT rc = {0, 0, 10, 10};
    EXPECT_FALSE(CRenderEngine::DrawImageString(nullptr, &pm, rc, rc, L"red.png"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(s.dc(), nullptr, rc, rc, L"red.png"));
    // A bare name that is no image draws nothing.
    EXPECT_FALSE(Draw(s, pm, rc, L"x"));
    EXPECT_FALSE(Draw(s, pm, rc, L"file='101' restype='PNG'"));
    EXPECT_EQ(s.Count(0), 100);
    // One image of two is enough; an empty description names none.
    EXPECT_TRUE(Draw(s, pm, rc, L"file='no-such.png' file='red.png'"));
    EXPECT_TRUE(Draw(s, pm, rc, L""));
}

TEST_F(ImageTest, AControlDropsADescriptionWhoseImageIsDamaged)
{
    CPaintManagerUI pm;
    CControlUI control;
    control.SetManager(&pm, nullptr, false);
    control.SetPos(RECT{0, 0, 10, 10});
    Surface s(10, 10);

    const std::wstring damaged =
        L"file='" + std::wstring(VARNEL_TESTDATA_DIR) + L"/png-crashers/badcrc.png' dest='0,0,5,5'";
    control.SetBkImage(damaged.c_str());
    control.DoPaint(s.dc(), RECT{0, 0, 10, 10});
    EXPECT_STREQ(control.GetBkImage(), L"");

    control.SetBkImage(L"file='red.png'");
    control.DoPaint(s.dc(), RECT{0, 0, 10, 10});
    EXPECT_STREQ(control.GetBkImage(), L"file='red.png'");
    EXPECT_EQ(s.Count(0x00FF0000), 100);
    control.SetManager(nullptr, nullptr, false);
}

} // namespace
