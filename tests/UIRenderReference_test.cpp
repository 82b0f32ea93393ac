// The rendering engine must not move a pixel when it is made faster: scenes
// drawn in-process are compared with references recorded from the renderer
// as it was before (tests/fixtures/render), and full paints of the shipped
// play and login skins with their recorded checksums.
//
// To record new references after a deliberate change of the output, run this
// test with VARNEL_RECORD_RENDER=1: it then writes the files (and prints the
// checksums) instead of comparing.
#include <gtest/gtest.h>

#include "varnelui/VarnelUI.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"
#include "support/TestPng.h"
#include "support/TestProcess.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace VarnelUI;
using Surface = VarnelTest::DibSurface;
using VarnelTest::Bytes;

namespace {

bool Recording()
{
    const char* value = std::getenv("VARNEL_RECORD_RENDER");
    return value != nullptr && *value == '1';
}

std::wstring ReferencePath(const std::wstring& name)
{
    return std::wstring(VARNEL_SOURCE_DIR) + L"/tests/fixtures/render/" + name + L".bgra.z";
}

// A reference file: zlib-compressed width and height (32-bit little-endian)
// followed by the pixels as stored, 0xAARRGGBB, rows from the top.
Bytes Pack(int cx, int cy, const std::vector<DWORD>& pixels)
{
    std::vector<DWORD> raw = {static_cast<DWORD>(cx), static_cast<DWORD>(cy)};
    raw.insert(raw.end(), pixels.begin(), pixels.end());
    const uLong rawSize = static_cast<uLong>(raw.size() * sizeof(DWORD));
    uLongf packedSize = compressBound(rawSize);
    Bytes packed(packedSize);
    compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(raw.data()), rawSize, 9);
    packed.resize(packedSize);
    return packed;
}

std::vector<DWORD> Unpack(const Bytes& packed, int cx, int cy)
{
    std::vector<DWORD> raw(2 + static_cast<size_t>(cx) * static_cast<size_t>(cy));
    uLongf rawSize = static_cast<uLongf>(raw.size() * sizeof(DWORD));
    if (packed.empty() ||
        uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        rawSize != raw.size() * sizeof(DWORD) || raw[0] != static_cast<DWORD>(cx) || raw[1] != static_cast<DWORD>(cy))
        return {};
    return std::vector<DWORD>(raw.begin() + 2, raw.end());
}

// Compares the surface with its reference, naming the first differing pixel.
void ExpectReference(const Surface& s, const std::wstring& name)
{
    const std::vector<DWORD> pixels = s.Pixels();
    if (Recording()) {
        VarnelTest::WriteFile(ReferencePath(name), Pack(s.Width(), s.Height(), pixels));
        return;
    }
    const std::vector<DWORD> expected = Unpack(VarnelTest::ReadBytes(ReferencePath(name)), s.Width(), s.Height());
    ASSERT_EQ(expected.size(), pixels.size()) << "reference missing or damaged";
    int differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] == expected[i]) continue;
        if (differing++ == 0) first = i;
    }
    EXPECT_EQ(differing, 0) << "first at (" << first % s.Width() << ", " << first / s.Width() << "): " << std::hex
                            << pixels[first] << " instead of " << expected[first];
}

// A background no blend can leave unchanged unnoticed: every channel, alpha
// included, varies from pixel to pixel (in 16 x 16 tiles, so references pack small).
void FillPattern(Surface& s)
{
    s.FillFrom([](int x, int y) {
        return (DWORD((x & 15) * 16 + (y & 15)) << 24) | (DWORD((x & 15) * 13) << 16) | (DWORD((y & 15) * 15) << 8) |
               DWORD(((x ^ y) & 15) * 17);
    });
}

// Images with every kind of piece: opaque, fully transparent, translucent,
// masked corners, in borders and centres.
void WriteSkinImages(const VarnelTest::TempDir& dir)
{
    const auto frame = [](int x, int y) -> DWORD {
        const bool corner = (x < 3 || x > 36) && (y < 3 || y > 26);
        if (corner) return 0xFFFF00FF;                                 // the mask colour
        if (x >= 17 && x < 22 && y >= 13 && y < 17) return 0x00000000; // a hole in the centre
        if (y < 8 && (x < 8 || x >= 32)) return (DWORD(40 + x * 5) << 24) | 0x00C08040;
        if (y >= 22) return 0x80204080 + DWORD(x);
        return 0xFF000000 | (DWORD(x * 6) << 16) | (DWORD(y * 8) << 8) | DWORD((x + y) * 3);
    };
    const auto glass = [](int x, int y) -> DWORD {
        const DWORD a = DWORD((x * 17 + y * 31) & 0xFF);
        return (a << 24) | (DWORD(x * 16) << 16) | (DWORD(y * 16) << 8) | 0x80;
    };
    const auto tile = [](int x, int y) -> DWORD {
        if (x < 4) return 0;
        return x < 8 ? 0xFF3060C0 + DWORD(y * 8) : 0x90FFFFFF - DWORD(y * 0x101);
    };
    VarnelTest::WriteFile(dir.File(L"frame.png"), VarnelTest::MakePng(40, 30, frame));
    VarnelTest::WriteFile(dir.File(L"glass.png"), VarnelTest::MakePng(16, 16, glass));
    VarnelTest::WriteFile(dir.File(L"tile.png"), VarnelTest::MakePng(12, 9, tile));
    VarnelTest::WriteFile(dir.File(L"opaque.png"), VarnelTest::MakePng(10, 10, [](int x, int y) -> DWORD {
                              return 0xFF000000 | DWORD(x * 25) << 16 | DWORD(y * 25);
                          }));
}

class RenderReference : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteSkinImages(dir);
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath((dir.Path() + L"\\").c_str());
        pm.SetDefaultFont(L"Tahoma", 14, false, false, false);
    }

    void Draw(HDC hDC, const RECT& rcItem, LPCWSTR description, const RECT& rcPaint = {0, 0, 320, 240})
    {
        CRenderEngine::DrawImageString(hDC, &pm, rcItem, rcPaint, description);
    }

    // Every nine-grid path on a 320 x 240 surface: stretched, shrunk, faded,
    // hollow, tiled three ways, sub-images, opaque images, translucent fills,
    // clipped and partially painted.
    void DrawNineGrids(HDC hDC)
    {
        const std::wstring frame = L"file='frame.png' corner='8,8,8,8' mask='0xffff00ff'";
        Draw(hDC, {4, 4, 124, 84}, frame.c_str());
        Draw(hDC, {130, 4, 250, 84}, (frame + L" fade='140'").c_str());
        Draw(hDC, {256, 4, 316, 64}, (frame + L" hole='true'").c_str());
        Draw(hDC, {4, 90, 104, 150}, L"file='tile.png' corner='0,2,0,2' xtiled='true'");
        Draw(hDC, {110, 90, 170, 180}, L"file='tile.png' corner='2,0,2,0' ytiled='true' fade='200'");
        Draw(hDC, {176, 90, 316, 180}, L"file='tile.png' xtiled='true' ytiled='true'");
        Draw(hDC, {4, 156, 30, 176}, frame.c_str()); // smaller than the image: shrunk
        Draw(hDC, {40, 160, 120, 236}, L"glass.png");
        Draw(hDC, {130, 186, 146, 202}, L"file='glass.png' fade='77'");
        Draw(hDC, {200, 186, 316, 236}, L"file='frame.png' source='8,8,32,22' mask='0xffff00ff'");
        Draw(hDC, {256, 66, 316, 88}, L"opaque.png");
        Draw(hDC, {1, 1, 2, 238}, L"file='glass.png' source='3,0,9,16'"); // one pixel wide
        CRenderEngine::DrawColor(hDC, {150, 150, 250, 170}, 0x80FF8000);
        {
            CRenderClip clip;
            CRenderClip::GenerateClip(hDC, {20, 20, 90, 60}, clip);
            Draw(hDC, {0, 30, 110, 120}, (frame + L" fade='230'").c_str());
        }
        {
            CRenderClip clip;
            CRenderClip::GenerateRoundClip(hDC, {150, 100, 300, 230}, {150, 100, 300, 230}, 40, 40, clip);
            Draw(hDC, {140, 95, 310, 235}, frame.c_str());
        }
        Draw(hDC, {20, 180, 120, 238}, frame.c_str(), {60, 200, 70, 210});
    }

    VarnelTest::TempDir dir;
    CPaintManagerUI pm;
};

TEST_F(RenderReference, NineGridsWithMaskFadeHoleAndTiling)
{
    Surface s(320, 240);
    FillPattern(s);
    DrawNineGrids(s.dc());
    ExpectReference(s, L"ninegrid");
}

// A surface that is not a DIB section (a bitmap compatible with the screen)
// gets the very same pixels.
TEST_F(RenderReference, NineGridsOnADeviceBitmap)
{
    if (Recording()) GTEST_SKIP() << "compares with the reference of the DIB section";
    Surface s(320, 240);
    FillPattern(s);
    const CWindowDCHandle screen(nullptr);
    const CBitmapHandle ddb(::CreateCompatibleBitmap(screen.Get(), 320, 240));
    const CMemoryDCHandle ddbDC(::CreateCompatibleDC(screen.Get()));
    ASSERT_TRUE(ddb && ddbDC);
    DIBSECTION ds = {};
    ASSERT_NE(::GetObjectW(ddb.Get(), sizeof(ds), &ds), static_cast<int>(sizeof(ds))) << "not a device bitmap";
    {
        const CSelectObjectGuard select(ddbDC.Get(), ddb.Get());
        ::BitBlt(ddbDC.Get(), 0, 0, 320, 240, s.dc(), 0, 0, SRCCOPY);
        DrawNineGrids(ddbDC.Get());
        ::BitBlt(s.dc(), 0, 0, 320, 240, ddbDC.Get(), 0, 0, SRCCOPY);
    }
    ExpectReference(s, L"ninegrid");
}

TEST_F(RenderReference, FormattedAndPlainText)
{
    Surface s(300, 140);
    FillPattern(s);
    RECT rc = {4, 4, 296, 100};
    CUIString names[4];
    RECT links[4] = {};
    int nLinks = 4;
    CRenderEngine::DrawHtmlText(s.dc(), &pm, rc,
                                L"<b>Bold</b> plain {c #FF4080}colour{/c} <a next>a link that wraps onto the next "
                                L"line</a> <i glass.png> <u>under</u> <i>italic</i> 中文 &amp; <{> {<} "
                                L"<f Tahoma 18 bold>big</f><n>second <s>selected</s> line",
                                0xFF202020, links, names, nLinks, DT_WORDBREAK);
    RECT rcPlain = {4, 104, 296, 136};
    CRenderEngine::DrawTextW(s.dc(), &pm, rcPlain, L"Plain & centred text that is too long to fit the line", 0xFF00C0FF,
                             -1, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
    ExpectReference(s, L"text");
}

// The shipped skins painted whole, in-process, at the sizes they are used at.
class SkinChecksum : public ::testing::Test
{
protected:
    static uLong Paint(LPCWSTR skin, int cx, int cy, const std::function<void(CPaintManagerUI&)>& prepare)
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath((std::wstring(VARNEL_SOURCE_DIR) + L"/resources/skin/").c_str());
        ManagerHarness::CTestWindow wnd(cx, cy);
        CDialogBuilder builder;
        CControlUI* root = builder.Create(STRINGorID(skin), nullptr, nullptr, &wnd.pm);
        if (root == nullptr) return 0;
        wnd.pm.AttachDialog(root);
        prepare(wnd.pm);
        const RECT rc = {0, 0, cx, cy};
        root->SetPos(rc);
        Surface s(cx, cy);
        root->DoPaint(s.dc(), rc);
        const std::vector<DWORD> pixels = s.Pixels();
        const uLong crc =
            crc32(0L, reinterpret_cast<const Bytef*>(pixels.data()), static_cast<uInt>(pixels.size() * sizeof(DWORD)));
        if (Recording()) std::printf("%ls: 0x%08lx\n", skin, crc);
        return crc;
    }
};

TEST_F(SkinChecksum, PlayWindow)
{
    const uLong crc = Paint(L"playGameWindow.xml", 1286, 768, [](CPaintManagerUI& pm) {
        // The browser paints in its own window, never through the framework.
        pm.FindControl(L"WebBrowser")->SetVisible(false);
        pm.FindControl(L"titelLabel")->SetText(L"Zentari - Realm 7");
    });
    if (!Recording()) {
        EXPECT_EQ(crc, 0x5c75b1eeul);
    }
}

TEST_F(SkinChecksum, LoginWindow)
{
    const uLong crc = Paint(L"login.xml", 1176, 731, [](CPaintManagerUI& pm) {
        const RECT buttons[] = {{1012, 155, 1044, 186}, {1043, 155, 1074, 186}};
        const LPCWSTR names[] = {L"minbtn", L"closebtn"};
        for (int i = 0; i < 2; ++i) {
            CControlUI* pButton = pm.FindControl(names[i]);
            pButton->SetFixedXY(SIZE{buttons[i].left, buttons[i].top});
            pButton->SetFixedWidth(buttons[i].right - buttons[i].left);
            pButton->SetFixedHeight(buttons[i].bottom - buttons[i].top);
        }
    });
    if (!Recording()) {
        EXPECT_EQ(crc, 0x30b9a072ul);
    }
}

} // namespace
