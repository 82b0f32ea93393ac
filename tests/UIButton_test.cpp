// Buttons in a real window: clicks from real mouse and keyboard messages,
// state images and their fallbacks, state text colours, "menu", the cursor.
#include <gtest/gtest.h>

#include "varnelui/control/UIButton.h"
#include "varnelui/control/UIContainer.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::AddSolidImage;
using VarnelTest::DibSurface;

namespace {

constexpr DWORD kRed = 0xFF0000;     // normal image
constexpr DWORD kBlue = 0x0000FF;    // pushed image
constexpr DWORD kGreen = 0x00FF00;   // disabled image
constexpr DWORD kYellow = 0xFFFF00;  // hot image
constexpr DWORD kCyan = 0x00FFFF;    // focused image
constexpr DWORD kMagenta = 0xFF00FF; // foreground image
constexpr DWORD kGrey = 0x808080;    // hot foreground image
constexpr DWORD kWhite = 0xFFFFFF;

// A button whose memory outlives it, filled with a pattern on deletion, so a
// test can see whether anything wrote to it after it was destroyed.
class CPoisonedButtonUI : public CButtonUI
{
public:
    static constexpr unsigned char kPoison = 0xDD;

    static void* operator new(size_t size)
    {
        lastSize = size;
        return ::operator new(size);
    }
    static void operator delete(void* p, size_t size)
    {
        std::memset(p, kPoison, size); // kept, not freed: the test reads it
    }

    static bool StillPoisoned(const void* p)
    {
        const auto* bytes = static_cast<const unsigned char*>(p);
        return std::all_of(bytes, bytes + lastSize, [](unsigned char b) { return b == kPoison; });
    }

    static inline size_t lastSize = 0;
};

// A container that keeps the kinds of the events that reach it.
class CEventKeepingContainerUI : public CContainerUI
{
public:
    void DoEvent(TEventUI& event) override
    {
        kinds.push_back(event.kind);
        CContainerUI::DoEvent(event);
    }
    std::vector<int> kinds;
};

// A window whose root container holds one button at (20, 20)-(120, 60).
class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"normal", kRed));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"pushed", kBlue));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"disabled", kGreen));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"hot", kYellow));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"focused", kCyan));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"fore", kMagenta));
        ASSERT_TRUE(AddSolidImage(wnd.pm, L"hotfore", kGrey));

        root = new CEventKeepingContainerUI;
        button = new CButtonUI;
        button->ApplyAttributeList(L"name=\"btn\" float=\"true\" pos=\"20,20,120,60\"");
        root->Add(button);
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
        // The first paint focuses the first tab stop; tests start unfocused.
        wnd.pm.SetFocus(nullptr);
        ASSERT_FALSE(button->IsFocused());
        notes.names.clear();
        notes.seen.clear();
    }

    int Count(const std::string& name) const
    {
        return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), name));
    }

    // The colour at the button's centre and at its top-left corner after painting it.
    DWORD PaintedCentre()
    {
        Paint();
        return dib.At(70, 40);
    }
    DWORD PaintedCorner()
    {
        Paint();
        return dib.At(22, 22);
    }
    void Paint()
    {
        dib.Fill(kWhite);
        button->DoPaint(dib.dc(), RECT{0, 0, 300, 200});
    }

    void Send(int kind)
    {
        TEventUI event = {};
        event.kind = kind;
        event.sender = button;
        button->Event(event);
    }

    ManagerHarness::CTestWindow wnd{300, 200};
    ManagerHarness::CNotifyRecorder notes;
    CEventKeepingContainerUI* root = nullptr;
    CButtonUI* button = nullptr;
    DibSurface dib{300, 200};
};

} // namespace

// ---- mouse and keyboard ------------------------------------------------------------

TEST_F(ButtonTest, ClickNeedsPressAndReleaseInsideAndDraggingShowsTheNormalLook)
{
    button->ApplyAttributeList(L"normalimage=\"normal\" pushedimage=\"pushed\"");

    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 50, 40);
    EXPECT_EQ(Count("click"), 1);

    notes.names.clear();
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    EXPECT_EQ(PaintedCentre(), kBlue);
    wnd.Mouse(WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    EXPECT_EQ(PaintedCentre(), kRed);
    wnd.Mouse(WM_LBUTTONUP, 200, 150);
    EXPECT_EQ(Count("click"), 0);
    EXPECT_EQ(PaintedCentre(), kRed);

    // Out and back in again before letting go still clicks.
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    wnd.Mouse(WM_MOUSEMOVE, 200, 150, MK_LBUTTON);
    wnd.Mouse(WM_MOUSEMOVE, 60, 30, MK_LBUTTON);
    EXPECT_EQ(PaintedCentre(), kBlue);
    wnd.Mouse(WM_LBUTTONUP, 60, 30);
    EXPECT_EQ(Count("click"), 1);

    // A double click presses the button as well; its release clicks once more.
    notes.names.clear();
    wnd.Mouse(WM_LBUTTONDBLCLK, 50, 40, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 50, 40);
    EXPECT_EQ(Count("click"), 1);
}

TEST_F(ButtonTest, ClickHandlerMayDeleteTheButton)
{
    auto* doomed = new CPoisonedButtonUI;
    doomed->ApplyAttributeList(L"float=\"true\" pos=\"150,20,250,60\"");
    root->Add(doomed);
    root->SetDelayedDestroy(false);
    wnd.Paint();
    notes.onNotify = [this, doomed](TNotifyUI& msg) {
        if (msg.type == L"click" && msg.sender == doomed) root->Remove(doomed);
    };

    wnd.Mouse(WM_LBUTTONDOWN, 200, 40, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 200, 40);
    ASSERT_EQ(Count("click"), 1);
    EXPECT_EQ(root->GetItemIndex(doomed), -1);
    // Nothing of the button was written after the handler deleted it.
    EXPECT_TRUE(CPoisonedButtonUI::StillPoisoned(doomed));
}

TEST_F(ButtonTest, SpaceAndReturnActivateTheFocusedButton)
{
    wnd.pm.SetFocus(button);
    notes.names.clear();
    wnd.Send(WM_KEYDOWN, VK_SPACE);
    wnd.Send(WM_KEYDOWN, VK_RETURN);
    wnd.Send(WM_KEYDOWN, 'A');
    EXPECT_EQ(Count("click"), 2);

    notes.names.clear();
    button->SetKeyboardEnabled(false);
    wnd.Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(Count("click"), 0);
    // Activation by code does not depend on the keyboard.
    EXPECT_TRUE(button->Activate());
    EXPECT_EQ(Count("click"), 1);
}

TEST_F(ButtonTest, DisabledButtonIgnoresInputAndDisablingClearsAPress)
{
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    button->SetEnabled(false);
    button->SetEnabled(true);
    wnd.Mouse(WM_LBUTTONUP, 50, 40);
    EXPECT_EQ(Count("click"), 0);

    button->SetEnabled(false);
    wnd.pm.SetFocus(button);
    wnd.Mouse(WM_MOUSEMOVE, 50, 40);
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 50, 40);
    wnd.Send(WM_KEYDOWN, VK_SPACE);
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(Count("click"), 0);

    button->SetNormalImage(L"normal");
    EXPECT_EQ(PaintedCentre(), kRed);

    // Hidden buttons do not activate either.
    button->SetEnabled(true);
    button->SetVisible(false);
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(Count("click"), 0);
}

TEST_F(ButtonTest, ButtonWithoutMouseLeavesClicksToItsParent)
{
    button->SetMouseEnabled(false);
    root->kinds.clear();
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 50, 40);
    EXPECT_EQ(Count("click"), 0);
    const auto reached = [&](int kind) { return std::count(root->kinds.begin(), root->kinds.end(), kind); };
    EXPECT_EQ(reached(EVT_BUTTONDOWN), 1);
    EXPECT_EQ(reached(EVT_BUTTONUP), 1);
}

TEST_F(ButtonTest, ContextMenuSendsMenuOnlyWhenAsked)
{
    const POINT pt = wnd.ToScreen(50, 40);
    wnd.Mouse(WM_RBUTTONDOWN, 50, 40, MK_RBUTTON);
    wnd.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.hwnd), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(Count("menu"), 0);

    button->SetAttribute(L"menu", L"true");
    wnd.Mouse(WM_RBUTTONDOWN, 50, 40, MK_RBUTTON);
    wnd.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.hwnd), MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(Count("menu"), 1);
    EXPECT_EQ(notes.seen.back().sender, button);
}

TEST_F(ButtonTest, HandCursorAndFlagsFollowEnabledAndKeyboard)
{
    EXPECT_EQ(button->GetControlFlags(), CTRLFLAG_TABSTOP | CTRLFLAG_SETCURSOR);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    const POINT pt = wnd.ToScreen(50, 40);
    ::SetCursorPos(pt.x, pt.y);
    wnd.Mouse(WM_MOUSEMOVE, 50, 40);
    wnd.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    button->SetKeyboardEnabled(false);
    EXPECT_EQ(button->GetControlFlags(), CTRLFLAG_SETCURSOR);
    button->SetKeyboardEnabled(true);
    button->SetEnabled(false);
    EXPECT_EQ(button->GetControlFlags(), CTRLFLAG_TABSTOP);
    EXPECT_STREQ(button->GetClass(), L"ButtonUI");
    EXPECT_EQ(button->GetInterface(L"Button"), button);
    EXPECT_EQ(button->GetInterface(L"Label"), button);
}

// ---- state images ------------------------------------------------------------------------

TEST_F(ButtonTest, DisabledImageFallsBackToTheNormalImage)
{
    button->ApplyAttributeList(L"normalimage=\"normal\" disabledimage=\"disabled\" foreimage=\"file='fore' "
                               L"dest='0,0,4,4'\"");
    button->SetEnabled(false);
    EXPECT_EQ(PaintedCentre(), kGreen);
    EXPECT_EQ(dib.At(21, 21), kMagenta);

    button->SetDisabledImage(L"");
    EXPECT_EQ(PaintedCentre(), kRed);

    // An image that cannot be drawn is dropped and the normal one shows instead.
    button->SetDisabledImage(L"no-such-image.png");
    EXPECT_EQ(PaintedCentre(), kRed);
    EXPECT_STREQ(button->GetDisabledImage(), L"");
    EXPECT_EQ(dib.At(21, 21), kMagenta);
}

TEST_F(ButtonTest, HotColourWithoutHotImageReplacesNormalAndForegroundImages)
{
    button->ApplyAttributeList(L"normalimage=\"normal\" foreimage=\"file='fore' dest='0,0,4,4'\" "
                               L"hotbkcolor=\"#FF123456\"");
    wnd.Mouse(WM_MOUSEMOVE, 50, 40);
    EXPECT_EQ(PaintedCentre(), 0x123456u);
    EXPECT_EQ(dib.At(21, 21), 0x123456u);
    EXPECT_EQ(dib.Count(0x123456), 100 * 40);

    // With a hot image the colour is not used, and a hot foreground image
    // takes the place of the foreground image.
    button->SetHotImage(L"hot");
    EXPECT_EQ(PaintedCentre(), kYellow);
    EXPECT_EQ(dib.At(21, 21), kMagenta);
    button->SetHotForeImage(L"file='hotfore' dest='90,0,100,10'");
    EXPECT_EQ(PaintedCentre(), kYellow);
    EXPECT_EQ(dib.At(21, 21), kYellow);
    EXPECT_EQ(dib.At(115, 25), kGrey);

    wnd.Mouse(WM_MOUSEMOVE, 200, 150);
    EXPECT_EQ(PaintedCentre(), kRed);
}

TEST_F(ButtonTest, PushedAndFocusedImagesAndTheirFallbacks)
{
    button->ApplyAttributeList(L"normalimage=\"normal\" focusedimage=\"focused\"");
    EXPECT_EQ(PaintedCentre(), kRed);
    Send(EVT_SETFOCUS);
    EXPECT_EQ(PaintedCentre(), kCyan);

    // Pressed without a pushed image: the normal image.
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    EXPECT_EQ(PaintedCentre(), kRed);
    button->SetPushedImage(L"pushed");
    EXPECT_EQ(PaintedCentre(), kBlue);
    wnd.Mouse(WM_LBUTTONUP, 50, 40);

    Send(EVT_KILLFOCUS);
    EXPECT_EQ(PaintedCentre(), kRed);
}

// ---- text --------------------------------------------------------------------------------

TEST_F(ButtonTest, TextColourFollowsPushedThenHotThenFocused)
{
    ASSERT_NE(wnd.pm.AddFont(L"Tahoma", 24, true, false, false), nullptr);
    button->ApplyAttributeList(L"text=\"MM\" font=\"0\" textcolor=\"#FF000001\" hottextcolor=\"#FFFF0000\" "
                               L"pushedtextcolor=\"#FF0000FF\" focusedtextcolor=\"#FF00FF00\"");
    const auto count = [this](DWORD rgb) {
        Paint();
        return dib.Count(rgb);
    };
    EXPECT_GT(count(0x000001), 10);
    Send(EVT_SETFOCUS);
    EXPECT_GT(count(kGreen), 10);
    wnd.Mouse(WM_MOUSEMOVE, 50, 40);
    EXPECT_GT(count(0xFF0000), 10);
    wnd.Mouse(WM_LBUTTONDOWN, 50, 40, MK_LBUTTON);
    EXPECT_GT(count(kBlue), 10);
    wnd.Mouse(WM_LBUTTONUP, 200, 150);

    // A state colour of 0 is not used.
    button->SetHotTextColor(0);
    wnd.Mouse(WM_MOUSEMOVE, 50, 40);
    Send(EVT_KILLFOCUS);
    EXPECT_GT(count(0x000001), 10);
}
