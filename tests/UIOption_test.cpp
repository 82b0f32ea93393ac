// Options and check boxes in a real window: radio groups and toggling by
// mouse clicks with their notifications, and the selected look of a disabled option.
#include <gtest/gtest.h>

#include "varnelui/control/UICheckBox.h"
#include "varnelui/control/UIContainer.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"
#include "support/TestHelpers.h"

#include <string>
#include <utility>

using namespace VarnelUI;
using VarnelTest::AddSolidImage;
using VarnelTest::Narrow;

namespace {

// Options "a" and "b" in group "g" and the check box "c", side by side. The
// groups are set before the tree meets the window.
class OptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* root = new CContainerUI;
        root->Add(a = new COptionUI);
        root->Add(b = new COptionUI);
        root->Add(c = new CCheckBoxUI);
        a->ApplyAttributeList(L"name=\"a\" group=\"g\" float=\"true\" pos=\"0,10,80,50\"");
        b->ApplyAttributeList(L"name=\"b\" group=\"g\" float=\"true\" pos=\"100,10,180,50\"");
        c->ApplyAttributeList(L"name=\"c\" float=\"true\" pos=\"200,10,280,50\"");
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
        // Noted as they come: a notification may outlive its sender.
        notes.onNotify = [this](TNotifyUI& msg) {
            if (msg.type == L"setfocus" || msg.type == L"killfocus") return;
            heard +=
                (heard.empty() ? "" : " ") + Narrow(msg.sender->GetName().GetData()) + "." + Narrow(msg.type.GetData());
        };
    }

    // "sender.type" of every notification since the last call but focus changes.
    std::string Heard() { return std::exchange(heard, std::string()); }

    void Click(const COptionUI* option)
    {
        const int x = option->GetX() + 40;
        wnd.Mouse(WM_LBUTTONDOWN, x, 30, MK_LBUTTON);
        wnd.Mouse(WM_LBUTTONUP, x, 30);
    }

    ManagerHarness::CTestWindow wnd{300, 60};
    ManagerHarness::CNotifyRecorder notes;
    COptionUI* a = nullptr;
    COptionUI* b = nullptr;
    CCheckBoxUI* c = nullptr;
    std::string heard;
};

} // namespace

TEST_F(OptionTest, GroupedOptionsSelectOneAtATimeAndUngroupedOnesToggle)
{
    Click(a);
    EXPECT_EQ(Heard(), "a.click a.selectchanged");
    Click(b);
    EXPECT_EQ(Heard(), "b.click b.selectchanged");
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    Click(b);
    EXPECT_EQ(Heard(), "b.click");
    EXPECT_TRUE(b->IsSelected());

    Click(c);
    EXPECT_EQ(Heard(), "c.click c.selectchanged");
    EXPECT_TRUE(c->GetCheck());
    Click(c);
    EXPECT_EQ(Heard(), "c.click c.selectchanged");
    EXPECT_FALSE(c->GetCheck());
    EXPECT_TRUE(b->IsSelected());
}

TEST_F(OptionTest, NotificationsNeedAWindowAndGroupMembershipEndsWithTheOption)
{
    COptionUI loose;
    loose.Selected(true);
    EXPECT_TRUE(loose.IsSelected());
    EXPECT_EQ(Heard(), "");
    // While a skin is built the builder lends its window: "selectchanged" goes out.
    CDialogBuilder builder;
    delete builder.Create(L"<Window><Option name=\"built\" selected=\"true\"/></Window>", nullptr, nullptr, &wnd.pm);
    EXPECT_EQ(Heard(), "built.selectchanged");

    // A grouped option built but never attached leaves its group when deleted,
    // so selecting in that group later touches no deleted option.
    CDialogBuilder grouped;
    delete grouped.Create(L"<Window><Option group=\"g\"/></Window>", nullptr, nullptr, &wnd.pm);
    ASSERT_NE(wnd.pm.GetOptionGroup(L"g"), nullptr);
    EXPECT_EQ(wnd.pm.GetOptionGroup(L"g")->GetSize(), 2);
    Click(a);
    EXPECT_TRUE(a->IsSelected());

    b->SetGroup(nullptr);
    static_cast<CContainerUI*>(wnd.pm.GetRoot())->Remove(a);
    wnd.Pump();
    EXPECT_EQ(wnd.pm.GetOptionGroup(L"g"), nullptr);
}

TEST_F(OptionTest, ADisabledSelectedOptionKeepsItsSelectedLook)
{
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"normal", 0xFF0000));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"selected", 0x0000FF));
    ASSERT_TRUE(AddSolidImage(wnd.pm, L"disabled", 0x00FF00));
    a->ApplyAttributeList(L"normalimage=\"normal\" selectedimage=\"selected\" disabledimage=\"disabled\"");
    a->Selected(true);
    a->SetEnabled(false);

    VarnelTest::DibSurface dib(300, 60);
    a->DoPaint(dib.dc(), RECT{0, 0, 300, 60});
    EXPECT_EQ(dib.At(40, 30), 0x0000FFu);
    a->Selected(false);
    a->DoPaint(dib.dc(), RECT{0, 0, 300, 60});
    EXPECT_EQ(dib.At(40, 30), 0x00FF00u);
}
