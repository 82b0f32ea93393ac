// Scroll bars on their own (geometry, clamps, attributes, painting, the press
// and drag timer) and in a scrolling layout driven by real mouse, wheel, key
// and timer messages.
#include <gtest/gtest.h>

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIScrollBar.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"
#include "support/TestHelpers.h"
#include "support/TestPng.h"

#include <algorithm>
#include <string>

using namespace VarnelUI;
using VarnelTest::AddSolidImage;
using VarnelTest::DibSurface;
using VarnelTest::Str;

namespace {

constexpr DWORD kWhite = 0xFFFFFF;
constexpr DWORD kOutline = 0x85E4FF;

std::string Parts(const CScrollBarUI& bar)
{
    return Str(bar.GetButton1Rect()) + " " + Str(bar.GetThumbRect()) + " " + Str(bar.GetButton2Rect());
}

// A window whose root container holds one bar without owner at (20,10)-(36,110).
class ScrollBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* root = new CContainerUI;
        bar = new CScrollBarUI;
        bar->ApplyAttributeList(L"float=\"true\" pos=\"20,10,36,110\"");
        root->Add(bar);
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
    }
    int Scrolls() const { return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), "scroll")); }
    DWORD PaintedAt(int x, int y)
    {
        dib.Fill(kWhite);
        bar->DoPaint(dib.dc(), RECT{0, 0, 100, 120});
        return dib.At(x, y);
    }

    ManagerHarness::CTestWindow wnd{100, 120};
    ManagerHarness::CNotifyRecorder notes;
    CScrollBarUI* bar = nullptr;
    DibSurface dib{100, 120};
};

} // namespace

TEST(ScrollBarGeometry, ThumbShowsTheVisibleShareAlongEitherAxis)
{
    CScrollBarUI bar;
    bar.SetPos(RECT{0, 0, 16, 100});
    bar.SetScrollPos(50);
    EXPECT_EQ(Parts(bar), "0,0,16,16 0,33,16,67 0,84,16,100");
    bar.SetScrollRange(0);
    EXPECT_EQ(Parts(bar), "0,0,16,16 0,16,16,84 0,84,16,100");
    // Long content: the arithmetic does not overflow.
    bar.SetScrollRange(2000000000);
    bar.SetScrollPos(2000000000);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,68,16,84");
    bar.SetScrollRange(100);
    bar.SetScrollPos(50);
    bar.SetShowButton1(false);
    EXPECT_EQ(Parts(bar), "0,0,0,0 0,21,16,63 0,84,16,100");

    CScrollBarUI hor;
    hor.SetAttribute(L"hor", L"true");
    hor.SetPos(RECT{10, 20, 110, 36});
    hor.SetScrollPos(50);
    EXPECT_EQ(Parts(hor), "10,20,26,36 43,20,77,36 94,20,110,36");

    // No longer than three thicknesses: buttons of half the length at most, no thumb.
    bar.SetShowButton1(true);
    bar.SetPos(RECT{0, 0, 16, 48});
    EXPECT_EQ(Parts(bar), "0,0,16,16 0,0,0,0 0,32,16,48");
    bar.SetPos(RECT{0, 0, 16, 20});
    EXPECT_EQ(Parts(bar), "0,0,16,10 0,0,0,0 0,10,16,20");
    hor.SetPos(RECT{10, 20, 30, 36});
    EXPECT_EQ(Parts(hor), "10,20,20,36 0,0,0,0 20,20,30,36");
}

TEST(ScrollBarValues, ClampsAndAttributes)
{
    CScrollBarUI bar;
    bar.SetScrollPos(-5);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollPos(50);
    bar.SetScrollRange(10);
    EXPECT_EQ(bar.GetScrollPos(), 10);
    bar.SetScrollRange(-3);
    EXPECT_EQ(bar.GetScrollRange(), 0);
    EXPECT_EQ(bar.GetScrollPos(), 0);

    bar.SetAttribute(L"hor", L"True");
    EXPECT_FALSE(bar.IsHorizontal());
    bar.SetAttribute(L"hor", L"true");
    EXPECT_EQ(bar.GetFixedWidth(), 0);
    EXPECT_EQ(bar.GetFixedHeight(), 16);
    // A thickness the bar was given stays when it turns.
    bar.ApplyAttributeList(L"width=\"12\" hor=\"false\" range=\"300\" value=\"250\" linesize=\"20\" "
                           L"showbutton2=\"false\" thumbhotimage=\"t.png\"");
    EXPECT_FALSE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetFixedWidth(), 12);
    EXPECT_EQ(bar.GetFixedHeight(), 16);
    EXPECT_EQ(bar.GetScrollRange(), 300);
    EXPECT_EQ(bar.GetScrollPos(), 250);
    EXPECT_EQ(bar.GetLineSize(), 20);
    EXPECT_FALSE(bar.GetShowButton2());
    EXPECT_STREQ(bar.GetThumbHotImage(), L"t.png");
}

TEST_F(ScrollBarTest, StateImagesFallBackToNormalAndOutlines)
{
    // No images: outlines around the buttons and the thumb, inside their rectangles.
    EXPECT_EQ(PaintedAt(20, 18), kOutline);
    EXPECT_EQ(PaintedAt(28, 18), kWhite);
    EXPECT_EQ(PaintedAt(20, 45), kOutline);

    ASSERT_TRUE(AddSolidImage(wnd.pm, L"bk", 0x101010));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"b1", 0xFF0000));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"tn", 0x00FF00));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"th", 0x0000FF));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"tp", 0xFFFF00));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"td", 0x808080));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"rail", 0xFF00FF));
    bar->ApplyAttributeList(L"bknormalimage=\"bk\" button1normalimage=\"b1\" thumbnormalimage=\"tn\" "
                            L"thumbhotimage=\"th\" thumbpushedimage=\"tp\" thumbdisabledimage=\"td\" "
                            L"railnormalimage=\"rail\" value=\"50\"");
    // Thumb y 43..77; the rail is a 16-pixel square on its middle.
    EXPECT_EQ(PaintedAt(28, 18), 0xFF0000u);
    EXPECT_EQ(PaintedAt(28, 30), 0x101010u);
    EXPECT_EQ(PaintedAt(28, 45), 0x00FF00u);
    EXPECT_EQ(PaintedAt(28, 60), 0xFF00FFu);
    EXPECT_EQ(PaintedAt(20, 100), kOutline);
    EXPECT_EQ(PaintedAt(28, 102), 0x101010u);

    wnd.Mouse(WM_MOUSEMOVE, 28, 45);
    EXPECT_EQ(PaintedAt(28, 45), 0x0000FFu);
    wnd.Mouse(WM_LBUTTONDOWN, 28, 45, MK_LBUTTON);
    EXPECT_EQ(PaintedAt(28, 45), 0xFFFF00u);
    wnd.Mouse(WM_LBUTTONUP, 28, 45);
    bar->SetEnabled(false);
    EXPECT_EQ(PaintedAt(28, 45), 0x808080u);
    // A state image that cannot be drawn is dropped for the normal one.
    bar->SetEnabled(true);
    bar->SetThumbHotImage(L"missing.png");
    wnd.Mouse(WM_MOUSEMOVE, 28, 46);
    EXPECT_EQ(PaintedAt(28, 45), 0x00FF00u);
    EXPECT_STREQ(bar->GetThumbHotImage(), L"");

    // Too short for a thumb: neither thumb nor rail is painted.
    bar->SetPos(RECT{20, 10, 36, 50});
    PaintedAt(0, 0);
    EXPECT_EQ(dib.Count(0x00FF00), 0);
    EXPECT_EQ(dib.Count(0xFF00FF), 0);
}

TEST_F(ScrollBarTest, HeldButtonRepeatsFromTheSixthTick)
{
    const DWORD pressed = ::GetTickCount();
    wnd.Mouse(WM_LBUTTONDOWN, 28, 100, MK_LBUTTON);
    EXPECT_EQ(bar->GetScrollPos(), 8);
    EXPECT_EQ(Scrolls(), 1);
    DWORD tickTime = 0;
    for (int tick = 1; tick <= 5; ++tick) ASSERT_TRUE(wnd.DispatchNextTimer());
    EXPECT_EQ(bar->GetScrollPos(), 8);
    EXPECT_EQ(Scrolls(), 1);
    ASSERT_TRUE(wnd.DispatchNextTimer(1000, &tickTime));
    EXPECT_EQ(bar->GetScrollPos(), 16);
    EXPECT_GE(tickTime - pressed, 250u);
    ASSERT_TRUE(wnd.DispatchNextTimer());
    EXPECT_EQ(bar->GetScrollPos(), 24);
    EXPECT_EQ(Scrolls(), 3);
    wnd.Mouse(WM_LBUTTONUP, 28, 100);
    EXPECT_FALSE(wnd.DispatchNextTimer(150));

    // The first button and the rail before the thumb go back.
    wnd.Mouse(WM_LBUTTONDOWN, 28, 15, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 28, 15);
    EXPECT_EQ(bar->GetScrollPos(), 16);
    wnd.Mouse(WM_LBUTTONDOWN, 28, 27, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 28, 27);
    EXPECT_EQ(bar->GetScrollPos(), 0);
}

TEST_F(ScrollBarTest, ThumbDragMovesOnlyOnTicks)
{
    // Thumb y 26..60; 34 free pixels stand for the range of 100.
    wnd.Mouse(WM_LBUTTONDOWN, 28, 40, MK_LBUTTON);
    wnd.Mouse(WM_MOUSEMOVE, 28, 57, MK_LBUTTON);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    wnd.Mouse(WM_LBUTTONUP, 28, 57);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    wnd.Mouse(WM_LBUTTONDOWN, 28, 40, MK_LBUTTON);
    wnd.Mouse(WM_MOUSEMOVE, 28, 57, MK_LBUTTON);
    ASSERT_TRUE(wnd.DispatchNextTimer());
    EXPECT_EQ(bar->GetScrollPos(), 50);
    wnd.Mouse(WM_MOUSEMOVE, 28, 140, MK_LBUTTON);
    EXPECT_EQ(bar->GetScrollPos(), 50);
    ASSERT_TRUE(wnd.DispatchNextTimer());
    EXPECT_EQ(bar->GetScrollPos(), 100);
    wnd.Mouse(WM_LBUTTONUP, 28, 140);
}

// ---- scrolling containers ------------------------------------------------------------

namespace {

// A 200 x 300 window holding a vertical layout with "vscrollbar" and rows of
// 30 pixels, built from a skin.
class ScrollingLayoutTest : public ::testing::Test
{
protected:
    void Build(int nRows)
    {
        std::wstring skin = L"<Window size=\"200,300\"><VerticalLayout vscrollbar=\"true\" bkcolor=\"#FFF4F4F4\">";
        for (int i = 0; i < nRows; ++i) {
            skin += L"<Label height=\"30\" text=\" Row " + std::to_wstring(i + 1) + L"\" bkcolor=\"" +
                    (i % 2 != 0 ? L"#FFDCE6F0" : L"#FFFFFFFF") + L"\"/>";
        }
        skin += L"</VerticalLayout></Window>";
        CDialogBuilder builder;
        layout = static_cast<CContainerUI*>(builder.Create(skin.c_str(), nullptr, nullptr, &wnd.pm));
        ASSERT_NE(layout, nullptr);
        ASSERT_TRUE(wnd.pm.AttachDialog(layout));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
        vbar = layout->GetVerticalScrollBar();
        ASSERT_NE(vbar, nullptr);
    }
    std::string Row(int i) const { return Str(layout->GetItemAt(i)->GetPos()); }

    ManagerHarness::CTestWindow wnd{200, 300};
    ManagerHarness::CNotifyRecorder notes;
    CContainerUI* layout = nullptr;
    CScrollBarUI* vbar = nullptr;
};

} // namespace

TEST_F(ScrollingLayoutTest, ScrollsByWheelKeysAndThumb)
{
    Build(50);
    ASSERT_TRUE(vbar->IsVisible());
    EXPECT_EQ(vbar->GetScrollRange(), 1200);
    EXPECT_EQ(Str(vbar->GetPos()), "184,0,200,300");
    EXPECT_EQ(Row(0), "0,0,184,30");
    EXPECT_EQ(wnd.pm.FindControl(POINT{192, 150}), vbar);

    // A wheel step is a line: 8 pixels and the default font's height.
    const int line = 8 + wnd.pm.GetDefaultFontInfo()->tm.tmHeight;
    const POINT pt = wnd.ToScreen(50, 50);
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(layout->GetItemAt(0)->GetPos().top, -line);

    wnd.Mouse(WM_LBUTTONDOWN, 50, 50, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 50, 50);
    wnd.Send(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(vbar->GetScrollPos(), line + 300);
    wnd.Send(WM_KEYDOWN, VK_END);
    EXPECT_EQ(Row(49), "0,270,184,300");
    wnd.Send(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(Row(0), "0,0,184,30");

    // The thumb is 53 long at y 16..69; 215 free pixels stand for the range.
    wnd.Mouse(WM_LBUTTONDOWN, 192, 40, MK_LBUTTON);
    wnd.Mouse(WM_MOUSEMOVE, 192, 83, MK_LBUTTON);
    ASSERT_TRUE(wnd.DispatchNextTimer());
    wnd.Mouse(WM_LBUTTONUP, 192, 83);
    EXPECT_EQ(vbar->GetScrollPos(), 240);
    EXPECT_EQ(Row(0), "0,-240,184,-210");
    EXPECT_EQ(std::count(notes.names.begin(), notes.names.end(), "scroll"), 0);

    // The rows are painted where they scrolled to, the bar beside them: its
    // thumb's outline at y 59..112.
    DibSurface dib(200, 300);
    layout->DoPaint(dib.dc(), RECT{0, 0, 200, 300});
    EXPECT_EQ(dib.At(184, 80), kOutline);
    EXPECT_EQ(dib.At(150, 89), 0xFFFFFFu);
    EXPECT_EQ(dib.At(150, 90), 0xDCE6F0u);
    ::CreateDirectoryW(VARNEL_BINARY_DIR L"/screenshots", nullptr);
    VarnelTest::WriteFile(VARNEL_BINARY_DIR L"/screenshots/scrolled.png",
                          VarnelTest::MakePng(200, 300, [&dib](int x, int y) { return 0xFF000000 | dib.At(x, y); }));
}

TEST_F(ScrollingLayoutTest, BarFollowsShrinkingContentAndHides)
{
    Build(50);
    layout->EndDown();
    // A range that shrinks below the position clamps it, and the rows follow.
    for (int i = 0; i < 20; ++i) layout->RemoveAt(0);
    wnd.Paint();
    EXPECT_EQ(vbar->GetScrollRange(), 600);
    EXPECT_EQ(vbar->GetScrollPos(), 600);
    EXPECT_EQ(Row(29), "0,270,184,300");

    for (int i = 0; i < 25; ++i) layout->RemoveAt(0);
    wnd.Paint();
    EXPECT_FALSE(vbar->IsVisible());
    EXPECT_EQ(layout->GetScrollPos().cy, 0);
    EXPECT_EQ(Row(0), "0,0,200,30");
}

TEST_F(ScrollingLayoutTest, BothBarsShareTheCornerAndScrollTheirOwner)
{
    Build(20);
    layout->EnableScrollBar(true, true);
    CScrollBarUI* hbar = layout->GetHorizontalScrollBar();
    ASSERT_NE(hbar, nullptr);
    hbar->SetScrollRange(200);
    wnd.Paint();
    EXPECT_EQ(Str(vbar->GetPos()), "184,0,200,284");
    EXPECT_EQ(Str(hbar->GetPos()), "0,284,184,300");
    EXPECT_EQ(vbar->GetScrollRange(), 600 - 284);
    // The rows are as wide as the horizontal range lets them scroll.
    EXPECT_EQ(Row(0), "0,0,384,30");

    // The right arrow scrolls the owner by a line and focuses it.
    wnd.Mouse(WM_LBUTTONDOWN, 176, 292, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 176, 292);
    EXPECT_EQ(Row(0), "-8,0,376,30");
    EXPECT_TRUE(layout->IsFocused());
    layout->PageRight();
    EXPECT_EQ(layout->GetScrollPos().cx, 8 + 184);
    layout->EndRight();
    wnd.Send(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(layout->GetScrollPos().cx, 200);
    EXPECT_EQ(layout->GetScrollPos().cy, 284);
    EXPECT_EQ(Row(0), "-200,-284,184,-254");
}

TEST(ScrollingContainer, BarsComeWithTheirDefaultAttributesAndGo)
{
    ManagerHarness::CTestWindow wnd{100, 100};
    wnd.pm.AddDefaultAttributeList(L"VScrollBar", L"width=\"10\" linesize=\"3\"");
    wnd.pm.AddDefaultAttributeList(L"HScrollBar", L"showbutton1=\"false\"");
    CContainerUI box;
    box.SetManager(&wnd.pm, nullptr, false);
    box.SetAttribute(L"vscrollbar", L"true");
    CScrollBarUI* vbar = box.GetVerticalScrollBar();
    ASSERT_NE(vbar, nullptr);
    EXPECT_EQ(vbar->GetOwner(), &box);
    EXPECT_EQ(vbar->GetFixedWidth(), 10);
    EXPECT_EQ(vbar->GetLineSize(), 3);

    box.SetAttribute(L"hscrollbarstyle", L"range=\"40\"");
    CScrollBarUI* hbar = box.GetHorizontalScrollBar();
    ASSERT_NE(hbar, nullptr);
    EXPECT_EQ(hbar->GetFixedHeight(), 16);
    EXPECT_FALSE(hbar->GetShowButton1());
    EXPECT_EQ(hbar->GetScrollRange(), 40);

    box.SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(box.GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(box.GetHorizontalScrollBar(), hbar);
}
