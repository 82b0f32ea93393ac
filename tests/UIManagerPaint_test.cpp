// Painting by the paint manager against real windows: lazy layout and
// "windowinit", partial repaints, the off-screen bitmap's pixels, the update
// outline, layered windows, and the window-level settings painting uses.

#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

using namespace VarnelUI;
using namespace ManagerHarness;
using VarnelTest::SameRect;

namespace {

// Reads pixels of the surface it is post-painted on.
class CPixelProbeUI : public CProbeUI
{
public:
    CPixelProbeUI() : CProbeUI("probe", {}) {}
    void DoPostPaint(HDC hDC, const RECT&) override
    {
        pixels.clear();
        for (const POINT& pt : points) pixels.push_back(::GetPixel(hDC, pt.x, pt.y));
    }
    std::vector<POINT> points;
    std::vector<COLORREF> pixels;
};

// Looks at the surface it is painted on and fills it with opaque green
// straight through the DIB bits.
class CSurfaceProbeUI : public CBoxUI
{
public:
    using CBoxUI::CBoxUI;
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        CBoxUI::DoPaint(hDC, rcPaint);
        DIBSECTION dib = {};
        bIsDib = ::GetObjectW(::GetCurrentObject(hDC, OBJ_BITMAP), sizeof(dib), &dib) == sizeof(dib);
        if (!bIsDib) return;
        info = dib;
        auto* pBits = static_cast<DWORD*>(dib.dsBm.bmBits);
        firstPixel = pBits[0];
        std::fill(pBits, pBits + dib.dsBm.bmWidth * dib.dsBm.bmHeight, 0xFF00FF00u);
    }
    bool bIsDib = false;
    DIBSECTION info = {};
    DWORD firstPixel = 0; // what the surface held where this paint began
};

class ManagerPaintTest : public ::testing::Test
{
protected:
    void SetUp() override { Events().clear(); }

    void Build()
    {
        root = new CBoxUI("root", {0, 0, 300, 200});
        root->SetBkColor(0xFF102030);
        a = root->Add(new CProbeUI("A", {10, 10, 60, 40}));
        a->SetBkColor(0xFFFF0000);
        a->SetBorderColor(0xFF0000FF);
        a->SetBorderSize(2);
        b = root->Add(new CProbeUI("B", {200, 100, 280, 180}));
        b->SetBkColor(0xFF00FF00);
        wnd.pm.AddNotifier(&notes);
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
    }

    int CountNotes(const char* name) const
    {
        return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), name));
    }

    CNotifyRecorder notes;
    CTestWindow wnd;
    CBoxUI* root = nullptr;
    CProbeUI* a = nullptr;
    CProbeUI* b = nullptr;
};

TEST_F(ManagerPaintTest, FirstPaintLaysOutAndInitsOnceLaterPaintsOnlyWhatChanged)
{
    Build();
    EXPECT_EQ(0, root->setPosCount) << "attaching does not lay out";
    EXPECT_EQ(0, CountNotes("windowinit"));

    wnd.Paint();
    EXPECT_TRUE(SameRect(RECT{0, 0, 300, 200}, root->GetPos()));
    EXPECT_TRUE(SameRect(RECT{10, 10, 60, 40}, a->GetPos()));
    ASSERT_EQ(1, CountNotes("windowinit"));
    EXPECT_EQ(root, notes.seen[0].sender);

    root->paints.clear();
    b->paints.clear();
    a->Invalidate();
    ::UpdateWindow(wnd.hwnd);
    ASSERT_EQ(1u, root->paints.size());
    EXPECT_TRUE(SameRect(a->GetPos(), root->paints[0]));
    EXPECT_TRUE(b->paints.empty());

    // A control that needs layout is laid out in place; the root stays put.
    const int rootLayouts = root->setPosCount;
    const int bLayouts = b->setPosCount;
    b->NeedUpdate();
    wnd.Paint();
    EXPECT_EQ(bLayouts + 1, b->setPosCount);
    EXPECT_EQ(rootLayouts, root->setPosCount);

    root->NeedUpdate();
    wnd.Paint();
    EXPECT_EQ(rootLayouts + 1, root->setPosCount);
    EXPECT_EQ(1, CountNotes("windowinit"));

    // Without an update region a WM_PAINT paints nothing.
    root->paints.clear();
    LRESULT lRes = 0;
    EXPECT_TRUE(wnd.pm.MessageHandler(WM_PAINT, 0, 0, lRes));
    EXPECT_TRUE(root->paints.empty());
}

TEST_F(ManagerPaintTest, OffscreenBitmapHoldsBackgroundsAndBorders)
{
    Build();
    CPixelProbeUI probe;
    probe.points = {{150, 150}, {35, 25}, {10, 25}, {11, 25}, {12, 25}, {240, 140}};
    ASSERT_TRUE(wnd.pm.AddPostPaint(&probe));
    EXPECT_EQ(1, wnd.pm.GetPostPaintCount());
    wnd.Paint();
    ASSERT_EQ(probe.points.size(), probe.pixels.size());
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), probe.pixels[0]);
    EXPECT_EQ(RGB(255, 0, 0), probe.pixels[1]);
    EXPECT_EQ(RGB(0, 0, 255), probe.pixels[2]);
    EXPECT_EQ(RGB(0, 0, 255), probe.pixels[3]);
    EXPECT_EQ(RGB(255, 0, 0), probe.pixels[4]);
    EXPECT_EQ(RGB(0, 255, 0), probe.pixels[5]);

    // The same picture is what the window shows and what it prints.
    const HDC hWindowDC = ::GetDC(wnd.hwnd);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(hWindowDC, 35, 25));
    ::ReleaseDC(wnd.hwnd, hWindowDC);
    const HDC hMemDC = ::CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 300;
    bmi.bmiHeader.biHeight = 200;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    const HBITMAP hBitmap = ::CreateDIBSection(hMemDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    const HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    wnd.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hMemDC), PRF_CLIENT);
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(hMemDC, 10, 25));
    EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(hMemDC, 240, 140));
    ::SelectObject(hMemDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);

    EXPECT_TRUE(wnd.pm.RemovePostPaint(&probe));
    EXPECT_FALSE(wnd.pm.RemovePostPaint(&probe));
}

TEST_F(ManagerPaintTest, PostPaintControlsAreForgottenWhenDestroyed)
{
    Build();
    auto* pProbe = new CPixelProbeUI;
    pProbe->SetManager(&wnd.pm, nullptr, false);
    wnd.pm.AddPostPaint(a);
    wnd.pm.AddPostPaint(pProbe);
    EXPECT_TRUE(wnd.pm.SetPostPaintIndex(pProbe, 0));
    EXPECT_EQ(2, wnd.pm.GetPostPaintCount());
    delete pProbe;
    EXPECT_EQ(1, wnd.pm.GetPostPaintCount());
    root->Remove(a, false);
    EXPECT_EQ(0, wnd.pm.GetPostPaintCount());
    wnd.Paint();
}

TEST_F(ManagerPaintTest, UpdateOutlineMarksThePaintedRectangle)
{
    Build();
    wnd.Paint();
    wnd.pm.SetShowUpdateRect(true);
    EXPECT_TRUE(wnd.pm.IsShowUpdateRect());
    b->Invalidate();
    ::UpdateWindow(wnd.hwnd);
    const HDC hDC = ::GetDC(wnd.hwnd);
    EXPECT_EQ(RGB(220, 0, 0), ::GetPixel(hDC, 200, 140));
    EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(hDC, 240, 140));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(hDC, 35, 25)) << "outside the update: untouched";
    ::ReleaseDC(wnd.hwnd, hDC);
}

TEST_F(ManagerPaintTest, LayeredWindowPaintsA32BitDibThroughUpdateLayeredWindow)
{
    auto* pRoot = new CSurfaceProbeUI("root", {0, 0, 300, 200});
    wnd.pm.SetBackgroundTransparent(true);
    EXPECT_TRUE(wnd.pm.IsAlphaBackground());
    ASSERT_TRUE(wnd.pm.AttachDialog(pRoot));
    wnd.Paint();

    EXPECT_NE(0, ::GetWindowLongPtrW(wnd.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(pRoot->bIsDib);
    EXPECT_EQ(32, pRoot->info.dsBm.bmBitsPixel);
    EXPECT_EQ(300, pRoot->info.dsBm.bmWidth);
    EXPECT_EQ(200, pRoot->info.dsBm.bmHeight);
    EXPECT_GT(pRoot->info.dsBmih.biHeight, 0) << "bottom-up";
    ASSERT_EQ(1u, pRoot->paints.size());
    EXPECT_TRUE(SameRect(RECT{0, 0, 300, 200}, pRoot->paints[0])) << "a layered paint is always whole";

    // What the screen shows is the DIB the root filled.
    RECT rcWindow = {};
    ::GetWindowRect(wnd.hwnd, &rcWindow);
    const HDC hScreen = ::GetDC(nullptr);
    EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(hScreen, rcWindow.left + 150, rcWindow.top + 100));
    ::ReleaseDC(nullptr, hScreen);

    // The next frame starts fully transparent again, not from the last one.
    wnd.Paint();
    EXPECT_EQ(0u, pRoot->firstPixel);

    // With a window shadow the root paints inside the shadow's corners.
    wnd.pm.SetHasWindowShadow(true);
    wnd.pm.SetWindowShadowImage(L"shadow.png");
    wnd.pm.SetTopleftShadowRect(0, 0, 10, 12);
    wnd.pm.SetToprightShadowRect(20, 0, 8, 12);
    wnd.pm.SetBottomleftShadowRect(0, 20, 10, 6);
    wnd.pm.SetBottomrightShadowRect(20, 20, 8, 6);
    wnd.pm.CalMiddleShadowRect();
    pRoot->paints.clear();
    wnd.Paint();
    ASSERT_EQ(1u, pRoot->paints.size());
    EXPECT_TRUE(SameRect(RECT{10, 12, 292, 194}, pRoot->paints[0]));
}

TEST_F(ManagerPaintTest, AnOpaqueBackgroundColourStaysOpaqueInALayeredWindow)
{
    auto* pRoot = new CControlUI;
    pRoot->SetBkColor(0xFFFF0000);
    wnd.pm.SetBackgroundTransparent(true);
    ASSERT_TRUE(wnd.pm.AttachDialog(pRoot));
    wnd.Paint();

    RECT rcWindow = {};
    ::GetWindowRect(wnd.hwnd, &rcWindow);
    const HDC hScreen = ::GetDC(nullptr);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(hScreen, rcWindow.left + 150, rcWindow.top + 100));
    ::ReleaseDC(nullptr, hScreen);
}

TEST_F(ManagerPaintTest, WindowLevelSettingsAndTheDefaultFont)
{
    wnd.pm.SetInitSize(250, 150);
    RECT rc = {};
    ::GetWindowRect(wnd.hwnd, &rc);
    EXPECT_EQ(250, rc.right - rc.left);
    EXPECT_EQ(150, wnd.pm.GetClientSize().cy);
    Build();
    wnd.pm.SetInitSize(100, 100);
    EXPECT_EQ(100, wnd.pm.GetInitSize().cx);
    EXPECT_EQ(250, wnd.pm.GetClientSize().cx) << "a window with a tree keeps its size";

    wnd.pm.SetTransparent(128);
    EXPECT_EQ(128, wnd.pm.GetTransparent());
    EXPECT_NE(0, ::GetWindowLongPtrW(wnd.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    wnd.pm.SetTransparent(300);
    EXPECT_EQ(255, wnd.pm.GetTransparent());
    EXPECT_EQ(0, ::GetWindowLongPtrW(wnd.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);

    const TFontInfo* pDefault = wnd.pm.GetDefaultFontInfo();
    ASSERT_NE(nullptr, pDefault->hFont);
    EXPECT_GT(pDefault->size, 0);
    EXPECT_GT(pDefault->tm.tmHeight, 0) << "metrics come from the paint DC on first use";
    wnd.pm.SetDefaultFont(L"Tahoma", 20, true, false, true);
    const TFontInfo* pNew = wnd.pm.GetDefaultFontInfo();
    EXPECT_TRUE(pNew->faceName == L"Tahoma");
    EXPECT_EQ(20, pNew->size);
    EXPECT_TRUE(pNew->bold);
    EXPECT_TRUE(pNew->italic);
    EXPECT_NEAR(20, pNew->tm.tmHeight - pNew->tm.tmInternalLeading, 1) << "height -size asks for the character height";
}

} // namespace
