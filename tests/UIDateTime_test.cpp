// Date fields in a real window: the native date picker opens on a click,
// keys and clicks are posted to it as keyboard and mouse would, and its date
// comes back when it closes.
#include <gtest/gtest.h>

#include "varnelui/control/UIButton.h"
#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIDateTime.h"

#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <commctrl.h>

#include <string>

using namespace VarnelUI;
using ManagerHarness::CTestWindow;

namespace {

CUIString Formatted(const SYSTEMTIME& st)
{
    CUIString text;
    text.SmallFormat(L"%4d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return text;
}

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

SYSTEMTIME Today()
{
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return now;
}

class DateTimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* root = new CContainerUI;
        date = new CDateTimeUI;
        date->ApplyAttributeList(L"float=\"true\" pos=\"20,20,180,44\"");
        root->Add(date);
        auto* other = new CButtonUI;
        other->ApplyAttributeList(L"float=\"true\" pos=\"20,150,120,180\"");
        root->Add(other);
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.Paint();
        wnd.pm.SetFocus(nullptr);
        oldText = date->GetText();
        oldTime = date->GetTime();
    }

    // Clicks the field and returns the picker that took the focus.
    HWND OpenPicker()
    {
        wnd.Click(100, 30);
        EXPECT_EQ(VarnelTest::ClassName(::GetFocus()), L"DateTimeWnd");
        return ::GetFocus();
    }
    static SYSTEMTIME Picked(HWND hPicker)
    {
        SYSTEMTIME st = {};
        EXPECT_EQ(::SendMessageW(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
        return st;
    }
    // Steps one field of the picker's date up; returns the new date.
    SYSTEMTIME ChangeDate(HWND hPicker)
    {
        // Wine's picker opens with no field selected: Right selects one.
        CTestWindow::PostKey(hPicker, VK_RIGHT);
        CTestWindow::PostKey(hPicker, VK_UP);
        const SYSTEMTIME picked = Picked(hPicker);
        EXPECT_FALSE(SameDay(picked, oldTime)) << "the keys changed nothing";
        return picked;
    }

    CTestWindow wnd{300, 200};
    CDateTimeUI* date = nullptr;
    CUIString oldText;
    SYSTEMTIME oldTime = {};
};

} // namespace

TEST_F(DateTimeTest, NewFieldShowsTodayAndThePickerStartsThere)
{
    CDateTimeUI fresh;
    EXPECT_EQ(fresh.GetText(), Formatted(Today()));
    EXPECT_TRUE(SameDay(Picked(OpenPicker()), Today()));
}

TEST_F(DateTimeTest, EscapeKeepsTheOldTextAndTime)
{
    const HWND hPicker = OpenPicker();
    ChangeDate(hPicker);
    CTestWindow::PostKey(hPicker, VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_EQ(date->GetText(), oldText);
    EXPECT_TRUE(SameDay(date->GetTime(), oldTime));
}

TEST_F(DateTimeTest, DeleteEmptiesTheTextAndTheNextPickerStartsToday)
{
    SYSTEMTIME feb29 = {2016, 2, 1, 29, 0, 0, 0, 0};
    date->SetTime(&feb29);
    CTestWindow::PostKey(OpenPicker(), VK_DELETE);
    EXPECT_EQ(date->GetText(), L"");
    EXPECT_TRUE(SameDay(date->GetTime(), feb29)) << "the time stays";
    EXPECT_TRUE(SameDay(Picked(OpenPicker()), Today()));
}

TEST_F(DateTimeTest, FocusLossTakesThePickedDate)
{
    const HWND hPicker = OpenPicker();
    const SYSTEMTIME picked = ChangeDate(hPicker);
    wnd.Click(70, 165);
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_EQ(date->GetText(), Formatted(picked));
    EXPECT_TRUE(SameDay(date->GetTime(), picked));
}

TEST_F(DateTimeTest, SetTimeShowsOnlyOnceThePickerClosesOnIt)
{
    SYSTEMTIME st = {2017, 8, 4, 24, 0, 0, 0, 0};
    date->SetTime(&st);
    EXPECT_EQ(date->GetText(), oldText);
    EXPECT_TRUE(SameDay(Picked(OpenPicker()), st));
    wnd.Click(70, 165);
    EXPECT_EQ(date->GetText(), L"2017-08-24");
}

TEST_F(DateTimeTest, DateClickedInTheDropDownCalendarIsTaken)
{
    const HWND hPicker = OpenPicker();
    RECT rc = {};
    ::GetClientRect(hPicker, &rc);
    CTestWindow::PostClick(hPicker, rc.right - 5, rc.bottom / 2); // the drop-down button
    const HWND hCalendar = reinterpret_cast<HWND>(::SendMessageW(hPicker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(hCalendar, nullptr);
    EXPECT_EQ(::GetFocus(), hCalendar);
    ASSERT_TRUE(::IsWindow(hPicker)) << "the calendar taking the focus closed the picker";

    // A day other than the picker's, found up the calendar's left column.
    MCHITTESTINFO hit = {};
    hit.cbSize = sizeof(hit);
    ::GetClientRect(hCalendar, &rc);
    for (hit.pt = {rc.left + 20, rc.bottom - 1}; hit.pt.y > 0; hit.pt.y -= 3) {
        ::SendMessageW(hCalendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.uHit == MCHT_CALENDARDATE && !SameDay(hit.st, oldTime)) break;
    }
    ASSERT_EQ(hit.uHit, static_cast<UINT>(MCHT_CALENDARDATE));
    CTestWindow::PostClick(hCalendar, hit.pt.x, hit.pt.y);
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_EQ(date->GetText(), Formatted(hit.st));
}
