// Edit fields in a real window: the native edit window opens on a click,
// characters and keys are posted to it as a keyboard would, and it closes
// when the focus moves on.
#include <gtest/gtest.h>

#include "varnelui/control/UIButton.h"
#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIEdit.h"
#include "varnelui/core/UIRender.h"

#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"
#include "support/TestHelpers.h"

#include <algorithm>
#include <string>

using namespace VarnelUI;
using ManagerHarness::CTestWindow;
using VarnelTest::SameRect;
using VarnelTest::Str;

namespace {

class EditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = new CContainerUI;
        auto* other = new CButtonUI;
        other->ApplyAttributeList(L"float=\"true\" pos=\"20,150,120,180\"");
        root->Add(other);
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.pm.AddNotifier(&notes);
    }

    CEditUI* AddEdit(LPCWSTR attributes, CContainerUI* parent = nullptr)
    {
        auto* edit = new CEditUI;
        edit->ApplyAttributeList(attributes);
        (parent != nullptr ? parent : root)->Add(edit);
        wnd.Paint();
        wnd.pm.SetFocus(nullptr);
        notes.names.clear();
        return edit;
    }

    // Clicks a field and returns the native edit window that took the focus.
    HWND ClickEdit(int x, int y)
    {
        wnd.Click(x, y);
        EXPECT_EQ(VarnelTest::ClassName(::GetFocus()), L"EditWnd");
        return ::GetFocus();
    }
    // The client rectangle of the paint window that a native window covers.
    RECT PlaceOf(HWND hNative) const
    {
        RECT rc = VarnelTest::WindowRect(hNative);
        ::MapWindowPoints(nullptr, wnd.hwnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    int Count(const std::string& name) const
    {
        return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), name));
    }

    CTestWindow wnd{300, 200};
    ManagerHarness::CNotifyRecorder notes;
    CContainerUI* root = nullptr;
};

} // namespace

TEST_F(EditTest, TypingCopiesEachChangeBackAndEnterOnlyNotifies)
{
    CEditUI* edit = AddEdit(L"float=\"true\" pos=\"20,20,220,44\" maxchar=\"3\"");
    const HWND hNative = ClickEdit(100, 30);
    CTestWindow::PostChars(hNative, L"abc");
    EXPECT_EQ(edit->GetText(), L"abc");
    EXPECT_EQ(Count("textchanged"), 3);
    // A fourth character is beyond "maxchar". (Wine's edit control still
    // reports the refused character as a change.)
    CTestWindow::PostChars(hNative, L"d");
    EXPECT_EQ(edit->GetText(), L"abc");

    notes.names.clear();
    CTestWindow::PostKey(hNative, VK_RETURN);
    EXPECT_EQ(Count("return"), 1);
    EXPECT_EQ(Count("textchanged"), 0);
    EXPECT_EQ(edit->GetText(), L"abc");

    // Selection and replacement act on the native window, and come back.
    edit->SetSel(0, 1);
    edit->SetReplaceSel(L"X");
    EXPECT_EQ(edit->GetText(), L"Xbc");
}

TEST_F(EditTest, FocusElsewhereClosesTheWindowAndThePasswordPaintsMasked)
{
    CEditUI* edit = AddEdit(L"float=\"true\" pos=\"20,20,220,44\" password=\"true\"");
    const HWND hNative = ClickEdit(100, 30);
    EXPECT_NE(::GetWindowLongW(hNative, GWL_STYLE) & ES_PASSWORD, 0);
    CTestWindow::PostChars(hNative, L"abc");
    wnd.Click(70, 165);
    EXPECT_FALSE(::IsWindow(hNative));
    EXPECT_EQ(edit->GetText(), L"abc");

    // The field paints exactly what "***" looks like in its font and text area.
    VarnelTest::DibSurface painted(300, 200, 0xFFFFFF);
    edit->DoPaint(painted.dc(), RECT{0, 0, 300, 200});
    VarnelTest::DibSurface expected(300, 200, 0xFFFFFF);
    RECT rcText = {24, 23, 216, 41};
    CRenderEngine::DrawTextW(expected.dc(), &wnd.pm, rcText, L"***", edit->GetTextColor(), -1,
                             DT_VCENTER | DT_SINGLELINE);
    ASSERT_LT(expected.Count(0xFFFFFF), 300 * 200) << "the reference shows text";
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_EQ(painted.At(x, y), expected.At(x, y)) << x << "," << y;
}

TEST_F(EditTest, OpaqueNativeBackgroundColourPaintsTheNativeWindow)
{
    const auto backgroundOf = [](HWND hWnd) {
        ::UpdateWindow(hWnd);
        RECT rc = {};
        ::GetClientRect(hWnd, &rc);
        const HDC hDC = ::GetDC(hWnd);
        const COLORREF colour = ::GetPixel(hDC, rc.right - 3, rc.bottom / 2);
        ::ReleaseDC(hWnd, hDC);
        return colour;
    };
    AddEdit(L"float=\"true\" pos=\"20,20,220,44\" nativebkcolor=\"#FF00C000\"");
    EXPECT_EQ(backgroundOf(ClickEdit(100, 30)), RGB(0, 0xC0, 0));
    AddEdit(L"float=\"true\" pos=\"20,60,220,84\"");
    EXPECT_EQ(backgroundOf(ClickEdit(100, 70)), ::GetSysColor(COLOR_WINDOW));
}

TEST_F(EditTest, NativeWindowCentresOnTheFontInATallField)
{
    const int fontHeight = static_cast<int>(wnd.pm.GetFontInfo(-1)->tm.tmHeight);
    ASSERT_GT(fontHeight, 6);
    AddEdit(L"float=\"true\" pos=\"20,20,220,80\"");
    const LONG top = 23 + (54 - fontHeight) / 2;
    EXPECT_TRUE(SameRect(PlaceOf(ClickEdit(100, 50)), RECT{24, top, 216, top + fontHeight}));
    // Lower than the font: the whole padded height.
    AddEdit(L"float=\"true\" pos=\"20,100,220,110\"");
    EXPECT_TRUE(SameRect(PlaceOf(ClickEdit(100, 105)), RECT{24, 103, 216, 107}));
}

TEST_F(EditTest, EditingEndsWhenTheFieldIsHiddenOrDeleted)
{
    auto* page = new CContainerUI;
    page->ApplyAttributeList(L"float=\"true\" pos=\"0,0,300,100\"");
    root->Add(page);
    CEditUI* edit = AddEdit(L"float=\"true\" pos=\"20,20,220,44\"", page);

    HWND hNative = ClickEdit(100, 30);
    page->SetVisible(false);
    wnd.Pump();
    EXPECT_FALSE(::IsWindow(hNative));
    wnd.pm.SetFocus(edit);
    EXPECT_EQ(::FindWindowExW(wnd.hwnd, nullptr, L"EditWnd", nullptr), nullptr) << "a hidden field does not open";

    page->SetVisible(true);
    hNative = ClickEdit(100, 30);
    page->Remove(edit);
    wnd.Pump();
    EXPECT_FALSE(::IsWindow(hNative));
}
