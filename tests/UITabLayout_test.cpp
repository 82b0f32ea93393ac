// Tab layouts built from a skin in a real window: one visible page, selection
// by attribute with focus and "tabselect", and the selection kept across
// adding and removing pages.
#include <gtest/gtest.h>

#include "varnelui/control/UITabLayout.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

using namespace VarnelUI;
using VarnelTest::SameRect;

TEST(TabLayout, ShowsOnePageAndFollowsTheSelection)
{
    ManagerHarness::CTestWindow wnd(300, 200);
    ManagerHarness::CNotifyRecorder notes;
    wnd.pm.AddNotifier(&notes);
    CDialogBuilder builder;
    auto* tabs = static_cast<CTabLayoutUI*>(
        builder.Create(L"<Window><TabLayout inset=\"10,10,10,10\"><Control name=\"p0\"/><Control name=\"p1\"/>"
                       L"<Control name=\"p2\" padding=\"5,0,0,0\"/></TabLayout></Window>",
                       nullptr, nullptr, &wnd.pm));
    ASSERT_NE(tabs, nullptr);
    ASSERT_TRUE(wnd.pm.AttachDialog(tabs));
    wnd.Paint();
    CControlUI* pages[] = {wnd.pm.FindControl(L"p0"), wnd.pm.FindControl(L"p1"), wnd.pm.FindControl(L"p2")};
    const auto shown = [&] {
        std::string out;
        for (CControlUI* page : pages) out += page->IsVisible() ? '1' : '0';
        return out;
    };
    EXPECT_EQ(shown(), "100");
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_TRUE(SameRect(pages[0]->GetPos(), RECT{10, 10, 290, 190}));

    notes.seen.clear();
    tabs->SetAttribute(L"selectedid", L"2");
    EXPECT_EQ(shown(), "001");
    EXPECT_EQ(wnd.pm.GetFocus(), pages[2]);
    ASSERT_FALSE(notes.seen.empty());
    const TNotifyUI& last = notes.seen.back();
    EXPECT_EQ(last.type, L"tabselect");
    EXPECT_EQ(last.wParam, 2u);
    EXPECT_EQ(last.lParam, 0);
    wnd.Paint();
    EXPECT_TRUE(SameRect(pages[2]->GetPos(), RECT{15, 10, 290, 190}));
    EXPECT_EQ(wnd.pm.GetFocus(), pages[2]);
    EXPECT_FALSE(tabs->SelectItem(3));

    // A page inserted before the selected one moves the selection along.
    auto* inserted = new CControlUI;
    ASSERT_TRUE(tabs->AddAt(inserted, 0));
    EXPECT_EQ(tabs->GetCurSel(), 3);
    EXPECT_TRUE(pages[2]->IsVisible());

    ASSERT_TRUE(tabs->Remove(pages[2]));
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_TRUE(inserted->IsVisible());
    EXPECT_FALSE(pages[0]->IsVisible());
    tabs->RemoveAll();
    EXPECT_EQ(tabs->GetCurSel(), -1);
}
