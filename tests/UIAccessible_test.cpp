// A skinned window as assistive tools see it, through the platform's client
// side: the window's object from AccessibleObjectFromWindow, children from
// AccessibleChildren, and the events a SetWinEventHook hook receives.
#include <gtest/gtest.h>

#include "varnelui/control/UICheckBox.h"
#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIList.h"
#include "varnelui/control/UIProgress.h"
#include "varnelui/control/UITreeNode.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/AccessibleClient.h"
#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace VarnelUI;
using ManagerHarness::CTestWindow;
using VarnelTest::Narrow;
using namespace VarnelTest::AccessibleClient;

namespace {

const wchar_t kSkin[] = LR"(<Window>
  <VerticalLayout>
    <HorizontalLayout name="colours" height="30">
      <Option name="red" text="Red" group="colour" width="60"/>
      <Option name="green" text="Green" group="colour" selected="true" width="60"/>
      <CheckBox name="bold" text="Bold" width="60"/>
    </HorizontalLayout>
    <Slider name="volume" height="20" value="40" accname="Volume"/>
    <Edit name="user" height="24" text="alice" tooltip="User name"/>
    <Edit name="pass" height="24" text="secret" password="true" accname="Password"/>
    <Button name="ok" text="OK" height="30" accdescription="Saves the settings"/>
    <Label name="hidden" text="Hidden" visible="false"/>
    <Button name="shut" height="30" tooltip="Close" accrole="link"/>
  </VerticalLayout>
</Window>)";

// Every event the process raises, with its child id, until the hook goes.
struct TWinEvent
{
    DWORD event;
    HWND hWnd;
    LONG idObject;
    LONG idChild;
};
std::vector<TWinEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    g_events.push_back({event, hWnd, idObject, idChild});
}

class AccessibleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CDialogBuilder builder;
        ASSERT_TRUE(wnd.pm.AttachDialog(builder.Create(kSkin, nullptr, nullptr, &wnd.pm)));
        wnd.Paint();
        window = WindowObject(wnd.hwnd);
        ASSERT_TRUE(window) << "AccessibleObjectFromWindow failed";
    }

    Acc Get(const std::wstring& name)
    {
        Acc acc = Find(window.Get(), name);
        EXPECT_TRUE(acc) << Narrow(name);
        return acc;
    }

    // The object and name the tool finds for an event's child id.
    std::wstring NameFromEvent(const TWinEvent& e)
    {
        Acc acc;
        VARIANT child;
        ::VariantInit(&child);
        if (FAILED(::AccessibleObjectFromEvent(e.hWnd, static_cast<DWORD>(e.idObject), static_cast<DWORD>(e.idChild),
                                               acc.ReleaseAndGetAddressOf(), &child)))
            return L"?";
        CUIBstr name;
        acc->get_accName(child, name.ReleaseAndGetAddressOf());
        return name.Get() != nullptr ? name.Get() : L"";
    }

    // Tab as the framework's message loop handles it: before dispatching.
    void PressTab()
    {
        ::PostMessageW(wnd.hwnd, WM_KEYDOWN, VK_TAB, 1);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    CTestWindow wnd{400, 300};
    Acc window;
};

} // namespace

TEST_F(AccessibleTest, ToolsSeeEveryVisibleControlWithRoleNameStateAndValue)
{
    EXPECT_EQ(Role(window.Get()), ROLE_SYSTEM_CLIENT);
    // The root's visible controls, in tree order; the hidden label is left out.
    EXPECT_EQ(ChildNames(window.Get()),
              (std::vector<std::wstring>{L"", L"Volume", L"User name", L"Password", L"OK", L"Close"}));

    const Acc colours = Children(window.Get()).front();
    EXPECT_EQ(ChildNames(colours.Get()), (std::vector<std::wstring>{L"Red", L"Green", L"Bold"}));
    const Acc red = Get(L"Red"), green = Get(L"Green"), bold = Get(L"Bold");
    EXPECT_EQ(Role(red.Get()), ROLE_SYSTEM_RADIOBUTTON);
    EXPECT_EQ(Role(green.Get()), ROLE_SYSTEM_RADIOBUTTON);
    EXPECT_EQ(Role(bold.Get()), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_EQ(State(red.Get()) & STATE_SYSTEM_CHECKED, 0);
    EXPECT_NE(State(green.Get()) & STATE_SYSTEM_CHECKED, 0);

    const Acc volume = Get(L"Volume");
    EXPECT_EQ(Role(volume.Get()), ROLE_SYSTEM_SLIDER);
    CUIBstr value;
    EXPECT_EQ(S_OK, volume->get_accValue(Self(), value.ReleaseAndGetAddressOf()));
    EXPECT_STREQ(value.Get(), L"40");

    const Acc user = Get(L"User name");
    EXPECT_EQ(Role(user.Get()), ROLE_SYSTEM_TEXT);
    EXPECT_EQ(S_OK, user->get_accValue(Self(), value.ReleaseAndGetAddressOf()));
    EXPECT_STREQ(value.Get(), L"alice");
    // A password is never read out.
    const Acc pass = Get(L"Password");
    EXPECT_EQ(E_ACCESSDENIED, pass->get_accValue(Self(), value.ReleaseAndGetAddressOf()));
    EXPECT_NE(State(pass.Get()) & STATE_SYSTEM_PROTECTED, 0);

    const Acc ok = Get(L"OK");
    EXPECT_EQ(Role(ok.Get()), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_NE(State(ok.Get()) & STATE_SYSTEM_FOCUSABLE, 0);
    CUIBstr text;
    ok->get_accDescription(Self(), text.ReleaseAndGetAddressOf());
    EXPECT_STREQ(text.Get(), L"Saves the settings");
    ok->get_accDefaultAction(Self(), text.ReleaseAndGetAddressOf());
    EXPECT_STREQ(text.Get(), L"Press");
    EXPECT_EQ(Role(Get(L"Close").Get()), ROLE_SYSTEM_LINK);
    wnd.pm.FindControl(L"ok")->SetEnabled(false);
    EXPECT_NE(State(ok.Get()) & STATE_SYSTEM_UNAVAILABLE, 0);

    // Places are in screen coordinates; hit testing finds the deepest control.
    const RECT rcGreen = wnd.pm.FindControl(L"green")->GetPos();
    const POINT at = wnd.ToScreen(rcGreen.left, rcGreen.top);
    long x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(S_OK, green->accLocation(&x, &y, &cx, &cy, Self()));
    EXPECT_EQ(x, at.x);
    EXPECT_EQ(y, at.y);
    EXPECT_EQ(cx, rcGreen.right - rcGreen.left);
    CUIVariant hit;
    ASSERT_EQ(S_OK, window->accHitTest(at.x + 5, at.y + 5, hit.Get()));
    ASSERT_EQ(hit.Get()->vt, VT_DISPATCH);
    EXPECT_EQ(Name(ComQuery<IAccessible>(hit.Get()->pdispVal).Get()), L"Green");
    CUIVariant next;
    ASSERT_EQ(S_OK, red->accNavigate(NAVDIR_NEXT, Self(), next.Get()));
    ASSERT_EQ(next.Get()->vt, VT_DISPATCH);
    EXPECT_EQ(Name(ComQuery<IAccessible>(next.Get()->pdispVal).Get()), L"Green");
}

TEST_F(AccessibleTest, DefaultActionsClickToggleAndSelectOnceTheToolsCallReturned)
{
    ManagerHarness::CNotifyRecorder notes;
    wnd.pm.AddNotifier(&notes);
    const Acc red = Get(L"Red"), green = Get(L"Green"), bold = Get(L"Bold"), ok = Get(L"OK");
    EXPECT_EQ(S_OK, ok->accDoDefaultAction(Self()));
    EXPECT_TRUE(notes.names.empty()) << "the click must wait for the window's next message";
    wnd.Pump();
    ASSERT_FALSE(notes.names.empty());
    EXPECT_EQ(notes.names.front(), "click");

    EXPECT_EQ(S_OK, bold->accDoDefaultAction(Self()));
    EXPECT_EQ(S_OK, red->accDoDefaultAction(Self()));
    wnd.Pump();
    EXPECT_NE(State(bold.Get()) & STATE_SYSTEM_CHECKED, 0);
    EXPECT_NE(State(red.Get()) & STATE_SYSTEM_CHECKED, 0);
    EXPECT_EQ(State(green.Get()) & STATE_SYSTEM_CHECKED, 0);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Get(L"Volume")->accDoDefaultAction(Self()));
}

TEST_F(AccessibleTest, ObjectsOfDestroyedControlsAndWindowsAnswerDisconnected)
{
    ManagerHarness::CNotifyRecorder notes;
    wnd.pm.AddNotifier(&notes);
    const Acc ok = Get(L"OK");
    // An action still queued when its control goes does nothing.
    EXPECT_EQ(S_OK, ok->accDoDefaultAction(Self()));
    CControlUI* pOk = wnd.pm.FindControl(L"ok");
    static_cast<CContainerUI*>(pOk->GetParent())->Remove(pOk);
    wnd.Pump();
    EXPECT_TRUE(std::find(notes.names.begin(), notes.names.end(), "click") == notes.names.end());
    CUIBstr name;
    EXPECT_EQ(RPC_E_DISCONNECTED, ok->get_accName(Self(), name.ReleaseAndGetAddressOf()));
    EXPECT_EQ(RPC_E_DISCONNECTED, ok->accDoDefaultAction(Self()));
    IDispatch* pParent = nullptr;
    EXPECT_EQ(RPC_E_DISCONNECTED, ok->get_accParent(&pParent));
    EXPECT_EQ(pParent, nullptr);
    EXPECT_EQ(ChildNames(window.Get()).size(), 5u);
    // A control moved to another window (a combo's items into its popup) is
    // no longer this window's to describe, whatever becomes of it there.
    const Acc shut = Get(L"Close");
    CControlUI* pShut = wnd.pm.FindControl(L"shut");
    pShut->SetManager(nullptr, pShut->GetParent(), false);
    EXPECT_EQ(RPC_E_DISCONNECTED, shut->get_accName(Self(), name.ReleaseAndGetAddressOf()));
    pShut->SetManager(&wnd.pm, pShut->GetParent(), false);

    Acc orphan;
    {
        CTestWindow other;
        CDialogBuilder builder;
        ASSERT_TRUE(other.pm.AttachDialog(builder.Create(kSkin, nullptr, nullptr, &other.pm)));
        other.Paint();
        orphan = WindowObject(other.hwnd);
        ASSERT_TRUE(orphan);
    }
    long count = 0;
    EXPECT_EQ(RPC_E_DISCONNECTED, orphan->get_accChildCount(&count));
    EXPECT_EQ(RPC_E_DISCONNECTED, orphan->get_accName(Self(), name.ReleaseAndGetAddressOf()));
}

TEST_F(AccessibleTest, EventsCarryChildIdsThatStayWithTheirControl)
{
    const HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, OnWinEvent, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto ours = [this](DWORD event) {
        std::vector<TWinEvent> found;
        for (const TWinEvent& e : g_events)
            if (e.event == event && e.hWnd == wnd.hwnd && e.idObject == OBJID_CLIENT) found.push_back(e);
        return found;
    };

    // Tab moves the focus from tab stop to tab stop (the slider is none);
    // each event names the focused control.
    const std::vector<std::pair<std::wstring, std::wstring>> stops = {
        {L"red", L"Red"}, {L"green", L"Green"}, {L"bold", L"Bold"}, {L"user", L"User name"}, {L"pass", L"Password"}};
    for (int i = 0; i < 4; ++i) {
        g_events.clear();
        PressTab();
        const std::vector<TWinEvent> focus = ours(EVENT_OBJECT_FOCUS);
        // Leaving an edit's native window gives the window itself the focus
        // first; the system says so with CHILDID_SELF.
        ASSERT_FALSE(focus.empty()) << "Tab " << i;
        ASSERT_NE(wnd.pm.GetFocus(), nullptr);
        const auto stop = std::find_if(stops.begin(), stops.end(),
                                       [&](const auto& s) { return wnd.pm.GetFocus()->GetName() == s.first.c_str(); });
        ASSERT_NE(stop, stops.end()) << "Tab " << i;
        EXPECT_NE(focus.back().idChild, CHILDID_SELF) << "Tab " << i;
        EXPECT_EQ(NameFromEvent(focus.back()), stop->second) << "Tab " << i;
        EXPECT_NE(State(Get(stop->second).Get()) & STATE_SYSTEM_FOCUSED, 0) << "Tab " << i;
    }

    // A grouped option's choice is a selection; the id survives a re-layout.
    g_events.clear();
    Get(L"Red")->accDoDefaultAction(Self());
    wnd.Pump();
    const std::vector<TWinEvent> selection = ours(EVENT_OBJECT_SELECTION);
    ASSERT_EQ(selection.size(), 1u);
    const LONG redId = selection[0].idChild;
    EXPECT_EQ(NameFromEvent(selection[0]), L"Red");
    ::SetWindowPos(wnd.hwnd, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd.Paint();
    CControlUI* pRed = wnd.pm.FindControl(L"red");
    pRed->SetVisible(false);
    pRed->SetVisible(true);
    pRed->SetText(L"Crimson");
    static_cast<CProgressUI*>(wnd.pm.FindControl(L"volume"))->SetValue(55);
    CTestWindow::Pump();
    EXPECT_EQ(ours(EVENT_OBJECT_HIDE).at(0).idChild, redId);
    EXPECT_EQ(ours(EVENT_OBJECT_SHOW).at(0).idChild, redId);
    EXPECT_EQ(ours(EVENT_OBJECT_NAMECHANGE).at(0).idChild, redId);
    EXPECT_EQ(NameFromEvent(ours(EVENT_OBJECT_VALUECHANGE).at(0)), L"Volume");

    // Controls coming and going change the tree's structure.
    g_events.clear();
    auto* colours = static_cast<CContainerUI*>(wnd.pm.FindControl(L"colours"));
    auto* added = new CControlUI;
    added->SetText(L"Blue");
    colours->Add(added);
    colours->Remove(pRed);
    CTestWindow::Pump();
    EXPECT_EQ(NameFromEvent(ours(EVENT_OBJECT_CREATE).at(0)), L"Blue");
    EXPECT_EQ(ours(EVENT_OBJECT_DESTROY).at(0).idChild, redId);
    ::UnhookWinEvent(hook);
}

TEST(AccessibleListsAndTrees, ItemsShowTheirSelectionAndNodesTheirExpansion)
{
    CTestWindow wnd{400, 300};
    CDialogBuilder builder;
    ASSERT_TRUE(wnd.pm.AttachDialog(builder.Create(LR"(<Window><VerticalLayout>
      <List name="servers" height="100">
        <ListLabelElement text="North" height="20"/>
        <ListLabelElement text="South" height="20"/>
      </List>
      <TreeView name="tree" height="120">
        <TreeNode name="A" text="Games"><TreeNode name="A1" text="Puzzle"><TreeNode text="Tiles"/></TreeNode></TreeNode>
        <TreeNode name="B" text="Tools"/>
      </TreeView>
    </VerticalLayout></Window>)",
                                                   nullptr, nullptr, &wnd.pm)));
    static_cast<CListUI*>(wnd.pm.FindControl(L"servers"))->SelectItem(1);
    wnd.Paint();
    const Acc window = WindowObject(wnd.hwnd);
    ASSERT_TRUE(window);
    const std::vector<Acc> top = Children(window.Get());
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(Role(top[0].Get()), ROLE_SYSTEM_LIST);
    EXPECT_EQ(Role(top[1].Get()), ROLE_SYSTEM_OUTLINE);

    const Acc north = Find(window.Get(), L"North"), south = Find(window.Get(), L"South");
    ASSERT_TRUE(north && south);
    EXPECT_EQ(Role(south.Get()), ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(State(north.Get()) & STATE_SYSTEM_SELECTED, 0);
    EXPECT_NE(State(south.Get()) & STATE_SYSTEM_SELECTED, 0);
    // Selecting through the tool moves the selection as a click would.
    EXPECT_EQ(S_OK, north->accDoDefaultAction(Self()));
    wnd.Pump();
    EXPECT_NE(State(north.Get()) & STATE_SYSTEM_SELECTED, 0);
    EXPECT_EQ(State(south.Get()) & STATE_SYSTEM_SELECTED, 0);

    const Acc games = Find(window.Get(), L"Games"), puzzle = Find(window.Get(), L"Puzzle");
    const Acc tools = Find(window.Get(), L"Tools");
    ASSERT_TRUE(games && puzzle && tools);
    EXPECT_EQ(Role(games.Get()), ROLE_SYSTEM_OUTLINEITEM);
    EXPECT_NE(State(games.Get()) & STATE_SYSTEM_EXPANDED, 0);
    EXPECT_EQ(State(tools.Get()) & (STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED), 0) << "a leaf is neither";
    auto* pGames = static_cast<CTreeNodeUI*>(wnd.pm.FindControl(L"A"));
    pGames->GetFolderButton()->Selected(true);
    wnd.Pump();
    EXPECT_NE(State(games.Get()) & STATE_SYSTEM_COLLAPSED, 0);
    // The collapsed node's rows leave the tree the tool sees.
    EXPECT_FALSE(Find(window.Get(), L"Puzzle"));
    EXPECT_NE(State(puzzle.Get()) & STATE_SYSTEM_INVISIBLE, 0);
}
