// Rich edit fields in a real window, typed into through the window's own
// message path: posted key messages, pre-translated by the paint manager,
// turned into characters by the platform and dispatched to the window.
#include <gtest/gtest.h>

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIRichEdit.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <algorithm>
#include <initializer_list>
#include <string>

using namespace VarnelUI;
using VarnelTest::DibSurface;
using VarnelTest::Narrow;

namespace {

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Presses and releases one key while the modifiers are held in the thread's
// keyboard state, where the text services and the translation read them.
void Press(HWND hWnd, UINT vk, std::initializer_list<UINT> modifiers = {})
{
    BYTE saved[256] = {};
    ::GetKeyboardState(saved);
    BYTE held[256];
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    for (UINT modifier : modifiers) held[modifier] |= 0x80;
    held[vk] |= 0x80;
    ::SetKeyboardState(held);
    const LPARAM lParam = MAKELPARAM(1, ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, lParam);
    Pump();
    held[vk] &= 0x7F;
    ::SetKeyboardState(held);
    ::PostMessageW(hWnd, WM_KEYUP, vk, lParam | static_cast<LPARAM>(0xC0000000));
    Pump();
    ::SetKeyboardState(saved);
}

void Type(HWND hWnd, const std::wstring& text)
{
    for (wchar_t ch : text) {
        const SHORT scan = ::VkKeyScanW(ch);
        const UINT vk = static_cast<UINT>(scan & 0xFF);
        if ((scan & 0x100) != 0) Press(hWnd, vk, {VK_SHIFT});
        else Press(hWnd, vk);
    }
}

class RichEditTest : public ::testing::Test
{
protected:
    // Builds fields (and whatever else) into a vertical layout filling the window.
    void Build(const std::wstring& body, LPCWSTR layoutAttributes = L"")
    {
        const std::wstring skin =
            std::wstring(L"<Window><VerticalLayout ") + layoutAttributes + L">" + body + L"</VerticalLayout></Window>";
        CDialogBuilder builder;
        CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &wnd.pm, nullptr);
        ASSERT_NE(root, nullptr);
        ASSERT_TRUE(wnd.pm.AttachDialog(root));
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
    }

    CRichEditUI* Field(LPCWSTR name)
    {
        auto* field = static_cast<CRichEditUI*>(wnd.pm.FindControl(name)->GetInterface(L"RichEdit"));
        field->SetFocus();
        notes.names.clear();
        return field;
    }

    int Count(const std::string& name) const
    {
        return static_cast<int>(std::count(notes.names.begin(), notes.names.end(), name));
    }

    ManagerHarness::CTestWindow wnd{300, 200};
    ManagerHarness::CNotifyRecorder notes;
};

std::string Text(const CRichEditUI* field)
{
    return Narrow(field->GetText().GetData());
}

} // namespace

TEST_F(RichEditTest, EnterBreaksLinesInAMultiLineFieldAndSendsReturnOtherwise)
{
    Build(L"<RichEdit name=\"multi\" height=\"60\"/>"
          L"<RichEdit name=\"chat\" height=\"40\" wantreturn=\"false\"/>"
          L"<RichEdit name=\"single\" height=\"30\" multiline=\"false\"/>");

    CRichEditUI* multi = Field(L"multi");
    Type(wnd.hwnd, L"ab");
    Press(wnd.hwnd, VK_RETURN);
    Type(wnd.hwnd, L"cd");
    EXPECT_EQ(Text(multi), "ab\r\ncd");
    EXPECT_EQ(Count("textchanged"), 5);
    EXPECT_EQ(Count("return"), 0);

    // Without "wantreturn" only Ctrl+Enter starts a line.
    CRichEditUI* chat = Field(L"chat");
    Type(wnd.hwnd, L"hi");
    Press(wnd.hwnd, VK_RETURN);
    EXPECT_EQ(Count("return"), 1);
    Press(wnd.hwnd, VK_RETURN, {VK_CONTROL});
    EXPECT_EQ(Count("return"), 1);
    EXPECT_EQ(Text(chat), "hi\r\n");

    CRichEditUI* single = Field(L"single");
    Type(wnd.hwnd, L"x");
    Press(wnd.hwnd, VK_RETURN);
    Press(wnd.hwnd, VK_RETURN, {VK_CONTROL});
    EXPECT_EQ(Count("return"), 2);
    EXPECT_EQ(Text(single), "x");
}

TEST_F(RichEditTest, TabIsTypedOnlyWithWantTabAndOtherwiseMovesTheFocus)
{
    Build(L"<RichEdit name=\"tabbed\" height=\"40\" wanttab=\"true\"/>"
          L"<RichEdit name=\"plain\" height=\"40\"/>"
          L"<Button name=\"next\" height=\"30\"/>");

    CRichEditUI* tabbed = Field(L"tabbed");
    Press(wnd.hwnd, VK_TAB);
    EXPECT_EQ(Text(tabbed), "\t");
    EXPECT_EQ(wnd.pm.GetFocus(), tabbed);

    CRichEditUI* plain = Field(L"plain");
    Press(wnd.hwnd, VK_TAB);
    EXPECT_EQ(Text(plain), "");
    EXPECT_EQ(wnd.pm.GetFocus(), wnd.pm.FindControl(L"next"));
}

TEST_F(RichEditTest, MaxCharLimitsTypingAndReadOnlyIgnoresIt)
{
    Build(L"<RichEdit name=\"short\" height=\"40\" maxchar=\"3\"/>"
          L"<RichEdit name=\"locked\" height=\"40\" readonly=\"true\" text=\"fixed\"/>");

    CRichEditUI* limited = Field(L"short");
    Type(wnd.hwnd, L"abcde");
    EXPECT_EQ(Text(limited), "abc");
    EXPECT_EQ(Count("textchanged"), 3);

    CRichEditUI* locked = Field(L"locked");
    Press(wnd.hwnd, VK_END);
    Type(wnd.hwnd, L"xy");
    Press(wnd.hwnd, VK_BACK);
    EXPECT_EQ(Text(locked), "fixed");
    EXPECT_EQ(Count("textchanged"), 0);
    locked->SetReadOnly(false);
    Type(wnd.hwnd, L"!");
    EXPECT_EQ(Text(locked), "fixed!");
}

TEST_F(RichEditTest, SelectAllCopyAndPasteDuplicateTheTextAndUndoTakesItBack)
{
    Build(L"<RichEdit name=\"edit\" height=\"60\"/>");
    CRichEditUI* field = Field(L"edit");
    Type(wnd.hwnd, L"abc");

    Press(wnd.hwnd, 'A', {VK_CONTROL});
    long nStart = -1, nEnd = -1;
    field->GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 3);
    Press(wnd.hwnd, 'C', {VK_CONTROL});
    Press(wnd.hwnd, VK_END);
    Press(wnd.hwnd, 'V', {VK_CONTROL});
    EXPECT_EQ(Text(field), "abcabc");
    EXPECT_EQ(field->GetTextLength(), 6);

    Press(wnd.hwnd, 'Z', {VK_CONTROL});
    EXPECT_EQ(Text(field), "abc");
    EXPECT_TRUE(field->Redo());
    EXPECT_EQ(Text(field), "abcabc");

    // The program's own edits are changes too.
    notes.names.clear();
    field->SetSel(1, 2);
    field->ReplaceSel(L"X");
    field->SetText(L"new");
    EXPECT_EQ(Text(field), "new");
    EXPECT_EQ(Count("textchanged"), 2);
}

TEST_F(RichEditTest, TheMousePlacesTheCaretDragsASelectionAndShowsTheTextCursor)
{
    Build(L"<RichEdit name=\"edit\" height=\"40\" text=\"hello\"/><Button name=\"other\" height=\"30\"/>");
    CRichEditUI* field = Field(L"edit");
    wnd.pm.FindControl(L"other")->SetFocus();

    // A press at the left edge focuses the field with the caret before the text;
    // dragging to the right while held selects all of it.
    wnd.Mouse(WM_MOUSEMOVE, 1, 10);
    wnd.Mouse(WM_LBUTTONDOWN, 1, 10, MK_LBUTTON);
    EXPECT_EQ(wnd.pm.GetFocus(), field);
    long nStart = -1, nEnd = -1;
    field->GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 0);
    wnd.Mouse(WM_MOUSEMOVE, 250, 10, MK_LBUTTON);
    wnd.Mouse(WM_LBUTTONUP, 250, 10);
    field->GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 0);
    EXPECT_EQ(nEnd, 5);

    const POINT pt = wnd.ToScreen(100, 20);
    ::SetCursorPos(pt.x, pt.y);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    wnd.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_IBEAM));
}

TEST_F(RichEditTest, ATransparentFieldShowsTheSkinAroundItsTextAndAnOpaqueOneCoversIt)
{
    constexpr DWORD kRed = 0xFF0000;
    Build(L"<RichEdit name=\"clear\" height=\"40\" textpadding=\"8,8,8,8\" text=\"WWW\" textcolor=\"#FF000000\"/>"
          L"<RichEdit name=\"solid\" height=\"40\" textpadding=\"8,8,8,8\" transparent=\"false\"/>",
          L"bkcolor=\"#FFFF0000\"");
    DibSurface dib(300, 200);
    wnd.pm.GetRoot()->DoPaint(dib.dc(), RECT{0, 0, 300, 200});

    // Around and beside the text of the transparent field, the layout's red;
    // black ink where the text is.
    EXPECT_EQ(dib.At(2, 2), kRed);
    EXPECT_EQ(dib.At(12, 36), kRed);
    EXPECT_EQ(dib.At(250, 20), kRed);
    int nInk = 0, nBlack = 0;
    for (int y = 8; y < 32; ++y) {
        for (int x = 8; x < 100; ++x) {
            nInk += dib.At(x, y) != kRed ? 1 : 0;
            nBlack += dib.At(x, y) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(nInk, 20);
    EXPECT_GT(nBlack, 0);

    // The opaque field fills its text rectangle; its padding stays the skin's.
    EXPECT_EQ(dib.At(42, 45), kRed);
    const COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(dib.At(150, 60),
              static_cast<DWORD>(GetRValue(crWindow) << 16 | GetGValue(crWindow) << 8 | GetBValue(crWindow)));
}

TEST_F(RichEditTest, AControlOverTheFieldCoversItsTextAndAPasswordFieldMasksItsCharacters)
{
    Build(L"<RichEdit name=\"edit\" height=\"40\" text=\"WWWWWW\" textcolor=\"#FF000000\"/>"
          L"<RichEdit name=\"secret1\" height=\"30\" password=\"true\" text=\"WWW\"/>"
          L"<RichEdit name=\"secret2\" height=\"30\" password=\"true\" text=\"iii\"/>"
          L"<Control float=\"true\" pos=\"0,0,300,20\" bkcolor=\"#FF0000FF\"/>",
          L"bkcolor=\"#FFFFFFFF\"");
    DibSurface dib(300, 200);
    wnd.pm.GetRoot()->DoPaint(dib.dc(), RECT{0, 0, 300, 200});
    // The float control, painted after the field, covers the top of its text.
    for (int x = 0; x < 60; x += 3) EXPECT_EQ(dib.At(x, 10), 0x0000FFu) << x;

    // Both password fields show three equal masks, whatever their characters.
    EXPECT_EQ(Text(Field(L"secret1")), "WWW");
    int nInk = 0, nDifferent = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 300; ++x) {
            nDifferent += dib.At(x, 40 + y) != dib.At(x, 70 + y) ? 1 : 0;
            nInk += dib.At(x, 40 + y) != 0xFFFFFF ? 1 : 0;
        }
    }
    EXPECT_EQ(nDifferent, 0);
    EXPECT_GT(nInk, 0);
}

TEST_F(RichEditTest, TextTallerThanTheFieldScrollsToFollowTheCaret)
{
    Build(L"<RichEdit name=\"edit\" height=\"40\"/>");
    CRichEditUI* field = Field(L"edit");
    for (int i = 0; i < 8; ++i) {
        Type(wnd.hwnd, std::to_wstring(i));
        Press(wnd.hwnd, VK_RETURN);
    }
    EXPECT_GT(field->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    POINT caret = {};
    ::GetCaretPos(&caret);
    EXPECT_TRUE(::PtInRect(&field->GetPos(), caret)) << caret.x << "," << caret.y;

    field->LineScroll(-100);
    EXPECT_EQ(field->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    // The wheel over the field scrolls its text.
    const POINT pt = wnd.ToScreen(100, 20);
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_GT(field->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(RichEditTest, WhatIsSetBeforeTheWindowCarriesOverAndADisabledFieldTakesNoInput)
{
    CDialogBuilder builder;
    CControlUI* built = builder.Create(L"<Window><RichEdit text=\"one\" maxchar=\"4\"/></Window>");
    ASSERT_NE(built, nullptr);
    auto* field = static_cast<CRichEditUI*>(built->GetInterface(L"RichEdit"));
    EXPECT_EQ(Text(field), "one");
    EXPECT_EQ(field->GetLimitText(), 4u);

    auto* root = new CContainerUI;
    root->Add(field);
    ASSERT_TRUE(wnd.pm.AttachDialog(root));
    wnd.pm.AddNotifier(&notes);
    wnd.Paint();
    field->SetFocus();
    Press(wnd.hwnd, VK_END);
    Type(wnd.hwnd, L"st!");
    EXPECT_EQ(Text(field), "ones");
    EXPECT_EQ(Count("textchanged"), 1);

    field->SetEnabled(false);
    EXPECT_EQ(field->GetControlFlags(), 0u);
    EXPECT_EQ(wnd.pm.GetFocus(), nullptr);
    field->SetFocus();
    Type(wnd.hwnd, L"x");
    EXPECT_EQ(Text(field), "ones");
}
