// Progress bars and sliders in a real window: the filled part and its image,
// the paint-time order of the range, and sliders moved by real mouse and
// wheel messages.
#include <gtest/gtest.h>

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UISlider.h"

#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"
#include "support/TestHelpers.h"

#include <algorithm>
#include <string>

using namespace VarnelUI;
using VarnelTest::AddSolidImage;
using VarnelTest::InkBox;
using VarnelTest::SameRect;
using VarnelTest::Str;

namespace {

constexpr DWORD kWhite = 0xFFFFFF;
constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kBlue = 0x0000FF;
constexpr DWORD kGreen = 0x00FF00;
constexpr DWORD kYellow = 0xFFFF00;

class ProgressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"fore", kRed));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"thumb", kBlue));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"thumbhot", kGreen));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"thumbpushed", kYellow));
        root = new CContainerUI;
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.pm.AddNotifier(&notes);
    }

    template <class T>
    T* Add(LPCWSTR attributes)
    {
        auto* control = new T;
        control->ApplyAttributeList(attributes);
        root->Add(control);
        wnd.Paint();
        notes.names.clear();
        return control;
    }

    // Where the control's images went when it painted on white.
    RECT PaintedInk(CControlUI* control)
    {
        dib.Fill(kWhite);
        control->DoPaint(dib.dc(), RECT{0, 0, 300, 300});
        return InkBox(dib, kWhite);
    }

    int ValueChanges() const
    {
        return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), "valuechanged"));
    }

    void Release(int x, int y)
    {
        wnd.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        wnd.Mouse(WM_LBUTTONUP, x, y);
    }

    ManagerHarness::CTestWindow wnd{300, 300};
    ManagerHarness::CNotifyRecorder notes;
    CContainerUI* root = nullptr;
    VarnelTest::DibSurface dib{300, 300};
};

} // namespace

TEST_F(ProgressTest, FilledPartFollowsTheValueAndPaintPutsTheRangeInOrder)
{
    auto* bar = Add<CProgressUI>(L"float=\"true\" pos=\"10,10,210,30\" foreimage=\"fore\" value=\"50\"");
    EXPECT_TRUE(SameRect(PaintedInk(bar), RECT{10, 10, 110, 30})) << Str(PaintedInk(bar));
    bar->SetHorizontal(false);
    bar->SetValue(25); // from the bottom: t = 20 * (100 - 25) / 100 = 15
    EXPECT_TRUE(SameRect(PaintedInk(bar), RECT{10, 25, 210, 30})) << Str(PaintedInk(bar));

    bar->SetMinValue(10);
    bar->SetMaxValue(10);
    bar->SetValue(20);
    EXPECT_EQ(bar->GetMaxValue(), 10) << "stored as given";
    EXPECT_TRUE(SameRect(PaintedInk(bar), RECT{10, 10, 210, 30})) << "painted with maximum 11, full";
    EXPECT_EQ(bar->GetMaxValue(), 11);
    EXPECT_EQ(bar->GetValue(), 11);
    bar->SetValue(5);
    EXPECT_TRUE(SameRect(PaintedInk(bar), RECT{})) << "painted at the minimum, empty";
    EXPECT_EQ(bar->GetValue(), 10);
}

TEST_F(ProgressTest, ForegroundIsStretchedOrCut)
{
    // Red on the left half, blue on the right.
    ASSERT_TRUE(
        VarnelTest::AddImageFrom(wnd.pm, L"halves", 200, 20, [](int x, int) { return x < 100 ? kRed : kBlue; }));
    auto* bar = Add<CProgressUI>(L"float=\"true\" pos=\"0,0,200,20\" foreimage=\"halves\" value=\"75\"");
    PaintedInk(bar);
    EXPECT_EQ(dib.At(90, 10), kBlue) << "150 pixels show the whole image";
    bar->SetStretchForeImage(false);
    EXPECT_TRUE(SameRect(PaintedInk(bar), RECT{0, 0, 150, 20}));
    EXPECT_EQ(dib.At(90, 10), kRed) << "the left 150 pixels of the image, unscaled";
}

TEST_F(ProgressTest, ReleaseSetsTheValueAndNotifiesOnceDraggingDoesNot)
{
    auto* slider = Add<CSliderUI>(L"float=\"true\" pos=\"20,20,220,40\"");
    Release(120, 30); // 100 * (120 - 20 - 5) / 190
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_EQ(ValueChanges(), 1);

    // The thumb now spans 115..125: drag it, out of the control and past its end.
    wnd.Mouse(WM_LBUTTONDOWN, 120, 30, MK_LBUTTON);
    wnd.Mouse(WM_MOUSEMOVE, 200, 30, MK_LBUTTON);
    EXPECT_EQ(slider->GetValue(), 92);
    wnd.Mouse(WM_MOUSEMOVE, 250, 90, MK_LBUTTON);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(ValueChanges(), 1);
    wnd.Mouse(WM_LBUTTONUP, 250, 90);
    EXPECT_EQ(ValueChanges(), 2);

    // Within half a thumb of an end the value is exactly that end's.
    Release(216, 30);
    EXPECT_EQ(slider->GetValue(), 100);
    Release(24, 30);
    EXPECT_EQ(slider->GetValue(), 0);
    Release(214, 30); // 100 * (214 - 20 - 5) / 190
    EXPECT_EQ(slider->GetValue(), 99);

    // A disabled slider is not moved by the user.
    slider->SetEnabled(false);
    notes.names.clear();
    Release(120, 30);
    EXPECT_EQ(slider->GetValue(), 99);
    EXPECT_EQ(ValueChanges(), 0);
}

TEST_F(ProgressTest, VerticalSliderHasItsMinimumAtTheBottom)
{
    auto* slider = Add<CSliderUI>(L"float=\"true\" pos=\"20,20,40,220\" hor=\"false\"");
    Release(30, 216);
    EXPECT_EQ(slider->GetValue(), 0);
    Release(30, 24);
    EXPECT_EQ(slider->GetValue(), 100);
    Release(30, 120); // 100 * (220 - 120 - 5) / 190
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_TRUE(SameRect(slider->GetThumbRect(), RECT{25, 115, 35, 125})) << Str(slider->GetThumbRect());
}

TEST_F(ProgressTest, SliderNoLongerThanItsThumbKeepsItsValue)
{
    auto* narrow = Add<CSliderUI>(L"float=\"true\" pos=\"20,20,28,40\" value=\"30\"");
    auto* tight = Add<CSliderUI>(L"float=\"true\" pos=\"20,60,40,70\" hor=\"false\" thumbsize=\"10,10\" value=\"40\"");
    Release(24, 30);
    Release(30, 61);
    EXPECT_EQ(narrow->GetValue(), 30);
    EXPECT_EQ(tight->GetValue(), 40);
    EXPECT_EQ(ValueChanges(), 2);
}

TEST_F(ProgressTest, WheelStepsAndNotifiesEachNotch)
{
    auto* slider = Add<CSliderUI>(L"float=\"true\" pos=\"20,20,220,40\" value=\"99\" step=\"2\"");
    const POINT pt = wnd.ToScreen(120, 30);
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(slider->GetValue(), 101) << "not clamped until painted";
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(slider->GetValue(), 97);
    EXPECT_EQ(ValueChanges(), 3);
}

TEST_F(ProgressTest, ThumbShowsItsHotAndPushedImages)
{
    auto* slider = Add<CSliderUI>(L"float=\"true\" pos=\"20,20,220,40\" value=\"50\" thumbimage=\"thumb\" "
                                  L"thumbhotimage=\"thumbhot\" thumbpushedimage=\"thumbpushed\"");
    EXPECT_TRUE(SameRect(PaintedInk(slider), RECT{115, 25, 125, 35}));
    EXPECT_EQ(dib.At(120, 30), kBlue);
    wnd.Mouse(WM_MOUSEMOVE, 120, 30);
    PaintedInk(slider);
    EXPECT_EQ(dib.At(120, 30), kGreen);
    wnd.Mouse(WM_LBUTTONDOWN, 120, 30, MK_LBUTTON);
    PaintedInk(slider);
    EXPECT_EQ(dib.At(120, 30), kYellow);
}
