// Scroll bars on their own (geometry, clamps, attributes, painting, the press
// and drag timer) and in a scrolling layout driven by real mouse, wheel, key
// and timer messages.
#include <gtest/gtest.h>

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIScrollBar.h"

#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"
#include "support/TestHelpers.h"

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
    EXPECT_STREQ(bar.GetClass(), L"ScrollBarUI");
    EXPECT_EQ(bar.GetInterface(L"ScrollBar"), &bar);
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
    EXPECT_TRUE(bar.IsHorizontal());
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
