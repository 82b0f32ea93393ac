// Combo boxes in a real window, driven by mouse, wheel and key messages: the
// popup window under (or above) the combo, selection in it and in the closed
// combo, Escape, the items' way back, the combo destroyed while its popup is
// open, and the combo box's arrow cell.
#include <gtest/gtest.h>

#include "varnelui/control/UICombo.h"
#include "varnelui/control/UIComboBox.h"
#include "varnelui/control/UIComboWnd.h"
#include "varnelui/control/UIScrollBar.h"
#include "varnelui/control/UIVerticalLayout.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIRender.h"

#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"
#include "support/TestHelpers.h"

#include <algorithm>
#include <string>

using namespace VarnelUI;
using ManagerHarness::CNotifyRecorder;
using ManagerHarness::CTestWindow;
using VarnelTest::DibSurface;
using VarnelTest::SameRect;
using VarnelTest::Str;
using VarnelTest::WindowRect;

namespace {

constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kWhite = 0xFFFFFF;
constexpr RECT kComboPos = {20, 20, 220, 44};

// A combo at kComboPos in a 300 x 200 window holding label items of 20
// pixels, whose text is red in every state.
std::wstring ComboSkin(int nItems, const std::wstring& element = L"Combo", const std::wstring& attributes = L"")
{
    std::wstring skin = L"<Window><VerticalLayout><" + element +
                        L" name=\"combo\" float=\"true\" pos=\"20,20,220,44\" itemtextcolor=\"#FFFF0000\" "
                        L"itemselectedtextcolor=\"#FFFF0000\" itemhottextcolor=\"#FFFF0000\" " +
                        attributes + L">";
    for (int i = 0; i < nItems; ++i)
        skin += L"<ListLabelElement height=\"20\" text=\"item " + std::to_wstring(i) + L"\"/>";
    return skin + L"</" + element + L"></VerticalLayout></Window>";
}

RECT PrimaryWorkArea()
{
    RECT rc = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

struct TComboWindow
{
    explicit TComboWindow(const std::wstring& skin)
    {
        CDialogBuilder builder;
        root = static_cast<CVerticalLayoutUI*>(builder.Create(skin.c_str(), nullptr, nullptr, &wnd.pm));
        wnd.pm.AttachDialog(root);
        combo = static_cast<CComboUI*>(wnd.pm.FindControl(L"combo"));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
        notes.names.clear();
        notes.seen.clear();
    }
    HWND Popup() const
    {
        const CComboWnd* pWindow = combo->GetDropWindow();
        return pWindow != nullptr ? pWindow->GetHWND() : nullptr;
    }
    // Clicks the combo and lets the popup lay itself out.
    HWND Open()
    {
        wnd.Click(100, 32);
        const HWND hPopup = Popup();
        if (hPopup != nullptr) ::UpdateWindow(hPopup);
        return hPopup;
    }
    // Clicks item i inside the open popup.
    void ClickItem(int i)
    {
        const RECT& rc = combo->GetItemAt(i)->GetPos();
        CTestWindow::PostClick(Popup(), (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    int Count(const std::string& name) const
    {
        return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), name));
    }
    bool ItemsAreTheCombos() const
    {
        for (int i = 0; i < combo->GetCount(); ++i) {
            const CControlUI* pItem = combo->GetItemAt(i);
            if (pItem->GetParent() != combo || pItem->GetManager() != &wnd.pm) return false;
        }
        return true;
    }
    // Red pixels of the closed combo, painted alone.
    int PaintedTextPixels()
    {
        DibSurface dib(300, 200, kWhite);
        combo->DoPaint(dib.dc(), RECT{0, 0, 300, 200});
        return dib.Count(kRed);
    }
    // Red pixels of the text drawn where the combo draws it.
    int ReferenceTextPixels(LPCWSTR pstrText)
    {
        DibSurface dib(300, 200, kWhite);
        RECT rc = kComboPos;
        CRenderEngine::DrawTextW(dib.dc(), &wnd.pm, rc, pstrText, 0xFFFF0000, -1, DT_VCENTER | DT_SINGLELINE);
        return dib.Count(kRed);
    }

    CTestWindow wnd{300, 200};
    CNotifyRecorder notes;
    CVerticalLayoutUI* root = nullptr;
    CComboUI* combo = nullptr;
};

} // namespace

TEST(Combo, AClickOpensAPopupUnderItAndKeysOrClicksSelectAndCloseIt)
{
    TComboWindow w(ComboSkin(3));
    ASSERT_NE(w.combo, nullptr);
    EXPECT_EQ(w.PaintedTextPixels(), 0);

    const HWND hPopup = w.Open();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(VarnelTest::ClassName(hPopup), L"ComboWnd");
    EXPECT_TRUE(::IsWindowVisible(hPopup));
    EXPECT_EQ(w.Count("dropdown"), 1);
    // Three 20-pixel items, the border and inset: 64 pixels under the combo.
    const POINT ptCombo = w.wnd.ToScreen(kComboPos.left, kComboPos.bottom);
    const RECT rcExpected = {ptCombo.x, ptCombo.y, ptCombo.x + 200, ptCombo.y + 64};
    EXPECT_TRUE(SameRect(WindowRect(hPopup), rcExpected)) << Str(WindowRect(hPopup));
    CVerticalLayoutUI* pLayout = w.combo->GetDropWindow()->GetLayout();
    ASSERT_EQ(pLayout->GetCount(), 3);
    EXPECT_EQ(w.combo->GetItemAt(1)->GetParent(), pLayout);
    EXPECT_EQ(w.combo->GetItemAt(1)->GetPos().top, 21);

    // Down selects the first item and closes the popup.
    CTestWindow::PostKey(hPopup, VK_DOWN);
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(w.combo->GetDropWindow(), nullptr);
    EXPECT_EQ(w.combo->GetCurSel(), 0);
    EXPECT_EQ(w.Count("itemselect"), 1);
    EXPECT_TRUE(w.ItemsAreTheCombos());

    // A click on the third item selects it, once, and closes the popup.
    w.notes.seen.clear();
    w.notes.names.clear();
    const HWND hSecond = w.Open();
    ASSERT_NE(hSecond, nullptr);
    w.ClickItem(2);
    EXPECT_FALSE(::IsWindow(hSecond));
    EXPECT_EQ(w.Count("itemselect"), 1);
    ASSERT_FALSE(w.notes.seen.empty());
    const auto select = std::find_if(w.notes.seen.begin(), w.notes.seen.end(),
                                     [](const TNotifyUI& msg) { return msg.type == L"itemselect"; });
    EXPECT_EQ(select->wParam, 2U);
    EXPECT_EQ(select->lParam, 0);
    EXPECT_EQ(w.combo->GetText(), L"item 2");
    EXPECT_TRUE(w.ItemsAreTheCombos());

    // The closed combo paints the chosen item's text, and only that.
    w.wnd.Paint();
    EXPECT_GT(w.PaintedTextPixels(), 0);
    EXPECT_EQ(w.PaintedTextPixels(), w.ReferenceTextPixels(L"item 2"));
}

TEST(Combo, EscapeClosesThePopupAndRestoresTheSelectionItOpenedWith)
{
    TComboWindow w(ComboSkin(3));
    w.combo->SelectItem(1);
    w.combo->SetFocus();
    w.notes.names.clear();

    // F4 opens the focused combo; Escape closes it and nothing is selected.
    w.wnd.Send(WM_KEYDOWN, VK_F4);
    HWND hPopup = w.combo->GetDropWindow() != nullptr ? w.combo->GetDropWindow()->GetHWND() : nullptr;
    ASSERT_NE(hPopup, nullptr);
    CTestWindow::PostKey(hPopup, VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(w.combo->GetCurSel(), 1);
    EXPECT_EQ(w.Count("itemselect"), 0);

    // Escape right after a key that moved the selection takes it back.
    hPopup = w.Open();
    ASSERT_NE(hPopup, nullptr);
    ::PostMessageW(hPopup, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageW(hPopup, WM_KEYDOWN, VK_ESCAPE, 1);
    CTestWindow::Pump();
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(w.combo->GetCurSel(), 1);
    EXPECT_EQ(w.Count("itemselect"), 2);
    EXPECT_TRUE(w.ItemsAreTheCombos());
}

TEST(Combo, NearTheScreensBottomThePopupOpensAboveAndLongListsScroll)
{
    TComboWindow w(ComboSkin(20));
    const RECT rcWork = PrimaryWorkArea();
    ::SetWindowPos(w.wnd.hwnd, nullptr, 100, rcWork.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Twenty items need 404 pixels; the popup stops at the 150 of "dropboxsize".
    const HWND hPopup = w.Open();
    ASSERT_NE(hPopup, nullptr);
    const POINT ptTop = w.wnd.ToScreen(kComboPos.left, kComboPos.top);
    const RECT rcExpected = {ptTop.x, ptTop.y - 150, ptTop.x + 200, ptTop.y};
    EXPECT_TRUE(SameRect(WindowRect(hPopup), rcExpected)) << Str(WindowRect(hPopup));

    // A click on the scroll bar leaves the popup open.
    CScrollBarUI* pBar = w.combo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
    ASSERT_NE(pBar, nullptr);
    ASSERT_TRUE(pBar->IsVisible());
    const RECT& rcBar = pBar->GetPos();
    CTestWindow::PostClick(hPopup, (rcBar.left + rcBar.right) / 2, rcBar.bottom - 30);
    EXPECT_TRUE(::IsWindow(hPopup));
    EXPECT_GT(w.combo->GetDropWindow()->GetLayout()->GetScrollPos().cy, 0);

    // Wheeling in the popup moves the selection and closes it.
    const POINT ptPopup = {rcExpected.left + 50, rcExpected.top + 50};
    ::PostMessageW(hPopup, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(ptPopup.x, ptPopup.y));
    CTestWindow::Pump();
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(w.combo->GetCurSel(), 0);
}

TEST(Combo, TheWheelAndKeysMoveTheSelectionOfTheClosedCombo)
{
    TComboWindow w(ComboSkin(3));
    const POINT pt = w.wnd.ToScreen(100, 32);
    const auto wheel = [&](int delta) { w.wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(pt.x, pt.y)); };
    wheel(-WHEEL_DELTA);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(w.combo->GetCurSel(), 1);
    wheel(WHEEL_DELTA);
    EXPECT_EQ(w.combo->GetCurSel(), 0);
    EXPECT_EQ(w.combo->GetDropWindow(), nullptr);
    EXPECT_EQ(w.Count("itemselect"), 3);

    // End, then Down on the last item keeps it; Home goes back to the first.
    w.combo->SetFocus();
    w.combo->GetItemAt(2)->SetEnabled(false);
    w.wnd.Send(WM_KEYDOWN, VK_END);
    EXPECT_EQ(w.combo->GetCurSel(), 1);
    w.wnd.Send(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(w.combo->GetCurSel(), 1);
    w.wnd.Send(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(w.combo->GetCurSel(), 0);
    EXPECT_EQ(w.combo->GetDropWindow(), nullptr);
}

TEST(Combo, DestroyingTheComboWhileItsPopupIsOpenClosesThePopup)
{
    TComboWindow w(ComboSkin(3));
    const HWND hPopup = w.Open();
    ASSERT_NE(hPopup, nullptr);

    // An item removed while the popup shows it leaves the popup too.
    ASSERT_TRUE(w.combo->RemoveAt(0));
    EXPECT_EQ(w.combo->GetDropWindow()->GetLayout()->GetCount(), 2);
    ::RedrawWindow(hPopup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    ASSERT_TRUE(w.root->Remove(w.combo));
    w.combo = nullptr;
    CTestWindow::Pump();
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(::FindWindowW(L"ComboWnd", nullptr), nullptr);
    w.wnd.Paint();
}

TEST(ComboBox, TheArrowShowsTheStripCellOfTheState)
{
    TComboWindow w(ComboSkin(3, L"ComboBox"));
    auto* pComboBox = static_cast<CComboBoxUI*>(w.combo->GetInterface(L"ComboBox"));
    ASSERT_NE(pComboBox, nullptr);
    // Five 20-pixel cells: normal, hot, pushed, focused, disabled.
    constexpr DWORD kCells[] = {0x000010, 0x000020, 0x000030, 0x000040, 0x000050};
    ASSERT_TRUE(VarnelTest::AddImageFrom(w.wnd.pm, L"strip", 100, 20, [&](int x, int) { return kCells[x / 20]; }));
    pComboBox->SetAttribute(L"arrowimage", L"file='strip' source='0,0,100,20'");
    const auto arrowColour = [&] {
        DibSurface dib(300, 200, kWhite);
        w.combo->DoPaint(dib.dc(), RECT{0, 0, 300, 200});
        return dib.At(kComboPos.right - 10, kComboPos.top + 10);
    };
    w.wnd.pm.SetFocus(nullptr);
    EXPECT_EQ(arrowColour(), kCells[0]);
    w.wnd.Mouse(WM_MOUSEMOVE, 100, 32);
    EXPECT_EQ(arrowColour(), kCells[1]);
    w.wnd.Mouse(WM_MOUSEMOVE, 250, 150);
    w.combo->SetFocus();
    EXPECT_EQ(arrowColour(), kCells[3]);
    w.combo->SetEnabled(false);
    EXPECT_EQ(arrowColour(), kCells[4]);
}
