// The control base: attribute syntax, geometry setters, events, search,
// invalidation reaching the paint manager, and the fixed paint order.
#include <gtest/gtest.h>

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

#include "support/DibSurface.h"
#include "support/TestHelpers.h"

#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::DibSurface;
using VarnelTest::MakeEvent;
using VarnelTest::SameRect;

namespace {

// Records what reaches the overridable parts of the base.
class ProbeControl : public CControlUI
{
public:
    void DoEvent(TEventUI& event) override
    {
        events.push_back(event.kind);
        CControlUI::DoEvent(event);
    }
    void SetVisible(bool bVisible) override
    {
        ++setVisibleCalls;
        CControlUI::SetVisible(bVisible);
    }
    void DoInit() override { ++initCalls; }

    // Event source handlers; the parameter is the control itself.
    static bool CountInit(void* p)
    {
        auto* probe = static_cast<ProbeControl*>(p);
        probe->initCallsSeenByOnInit = probe->initCalls;
        ++probe->onInitCalls;
        return true;
    }
    static bool CountSize(void* p)
    {
        ++static_cast<ProbeControl*>(p)->sizeCalls;
        return true;
    }

    std::vector<int> events;
    int setVisibleCalls = 0;
    int initCalls = 0;
    int onInitCalls = 0;
    int initCallsSeenByOnInit = 0;
    int sizeCalls = 0;
};

} // namespace

// ---- value syntax --------------------------------------------------------------

TEST(AttrParse, ShortNumberListsStopAtTheEndOfTheValue)
{
    // Digits after the terminator must never be read as missing numbers.
    const wchar_t value[] = L"10\0"
                            L"77,88,99";
    long v[4] = {5, 5, 5, 5};
    EXPECT_EQ(AttrParse::ParseInts(value, v, 4), 1);
    EXPECT_EQ(v[0], 10);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(v[3], 0);

    const wchar_t trailing[] = L"1,2,\0"
                               L"3,4";
    const RECT rc = AttrParse::ParseRect(trailing);
    EXPECT_TRUE(SameRect(rc, RECT{1, 2, 0, 0}));

    EXPECT_TRUE(SameRect(AttrParse::ParseRect(L""), RECT{0, 0, 0, 0}));
    EXPECT_TRUE(SameRect(AttrParse::ParseRect(nullptr), RECT{0, 0, 0, 0}));
}

TEST(AttrParse, ExactlyOneSeparatorOfAnyKindBetweenNumbers)
{
    EXPECT_TRUE(SameRect(AttrParse::ParseRect(L"1;2x-3 4"), RECT{1, 2, -3, 4}));
    // Two separators: the second one starts a number that is not there (0).
    EXPECT_TRUE(SameRect(AttrParse::ParseRect(L"1,,2,3"), RECT{1, 0, 2, 3}));
    EXPECT_TRUE(SameRect(AttrParse::ParseRect(L" 7, +8,9,10"), RECT{7, 8, 9, 10}));
    const SIZE sz = AttrParse::ParseSize(L"12,-4,99");
    EXPECT_EQ(sz.cx, 12);
    EXPECT_EQ(sz.cy, -4);
    EXPECT_EQ(AttrParse::ParseInt(L"  -42px"), -42);
    EXPECT_EQ(AttrParse::ParseInt(L"px42"), 0);
}

TEST(AttrParse, ColoursBooleans)
{
    EXPECT_EQ(AttrParse::ParseBkColor(L"#FF000000"), 0xFF000000u);
    EXPECT_EQ(AttrParse::ParseBkColor(L"#00FFFBF0"), 0x00FFFBF0u);
    EXPECT_EQ(AttrParse::ParseBkColor(L" #FF112233"), 0xFF112233u);
    EXPECT_EQ(AttrParse::ParseBkColor(L"FF112233"), 0xFF112233u);
    EXPECT_EQ(AttrParse::ParseBkColor(L"0xFF112233"), 0xFF112233u);
    EXPECT_EQ(AttrParse::ParseColor(L"#FF112233"), 0xFF112233u);
    EXPECT_EQ(AttrParse::ParseColor(L"FF112233"), 0xFF112233u);
    // The plain form does not skip white space before the '#'.
    EXPECT_EQ(AttrParse::ParseColor(L" #FF112233"), 0u);
    EXPECT_EQ(AttrParse::ParseColor(L"#"), 0u);
    EXPECT_EQ(AttrParse::ParseColor(L"#ffgg"), 0xFFu);

    EXPECT_TRUE(AttrParse::ParseBool(L"true"));
    EXPECT_FALSE(AttrParse::ParseBool(L"True"));
    EXPECT_FALSE(AttrParse::ParseBool(L"TRUE"));
    EXPECT_FALSE(AttrParse::ParseBool(L"1"));
    EXPECT_FALSE(AttrParse::ParseBool(L"true "));
    EXPECT_FALSE(AttrParse::ParseBool(nullptr));
}

// The walkers behind the painter, ApplyAttributeList and the skin checker:
// what they hand over, and whether the text ended cleanly.
TEST(AttrParse, ImageDescriptionsAndAttributeListsAreWalkedItemByItem)
{
    std::wstring seen;
    const auto collect = [&seen](LPCWSTR pKey, int nKey, LPCWSTR pValue, int nValue) {
        seen += std::wstring(pKey, static_cast<size_t>(nKey)) + L"=" +
                std::wstring(pValue, static_cast<size_t>(nValue)) + L";";
    };
    EXPECT_TRUE(AttrParse::ForEachImageItem(L"file='a.png'  source = '0,0,9,9' fade=''", collect));
    EXPECT_EQ(seen, L"file=a.png;source=0,0,9,9;fade=;");
    seen.clear();
    EXPECT_TRUE(AttrParse::ForEachImageItem(L"  ", collect));
    EXPECT_FALSE(AttrParse::ForEachImageItem(L"bg.png", collect)) << "a bare name has no items";
    EXPECT_FALSE(AttrParse::ForEachImageItem(L"file='a.png'source='1'", collect)) << "no space after the quote";
    EXPECT_FALSE(AttrParse::ForEachImageItem(L"file=\"a.png\"", collect));
    EXPECT_EQ(seen, L"file=a.png;");

    seen.clear();
    EXPECT_TRUE(AttrParse::ForEachListAttribute(L"text=\"a b\" width=\"\"", collect));
    EXPECT_TRUE(AttrParse::ForEachListAttribute(L"", collect));
    EXPECT_FALSE(AttrParse::ForEachListAttribute(L"width=8", collect));
    EXPECT_FALSE(AttrParse::ForEachListAttribute(L"a=\"1\" b", collect));
    EXPECT_FALSE(AttrParse::ForEachListAttribute(L"a=\"1", collect));
    EXPECT_EQ(seen, L"text=a b;width=;a=1;");
}

// ---- attributes ----------------------------------------------------------------

TEST(ControlAttributes, PosAnchorsNegativeCoordinatesAtTheFarEdge)
{
    CControlUI c;
    c.SetAttribute(L"pos", L"-10,5,0,25");
    EXPECT_EQ(c.GetFixedXY().cx, 0);
    EXPECT_EQ(c.GetFixedXY().cy, 5);
    EXPECT_EQ(c.GetFixedWidth(), 10);
    EXPECT_EQ(c.GetFixedHeight(), 20);

    c.SetAttribute(L"pos", L"10,5,30,25");
    EXPECT_EQ(c.GetFixedXY().cx, 10);
    EXPECT_EQ(c.GetFixedXY().cy, 5);
    EXPECT_EQ(c.GetFixedWidth(), 20);
    EXPECT_EQ(c.GetFixedHeight(), 20);

    // Negative sizes are ignored, the position is still taken.
    c.SetAttribute(L"pos", L"5,5,0,0");
    EXPECT_EQ(c.GetFixedXY().cx, 5);
    EXPECT_EQ(c.GetFixedXY().cy, 5);
    EXPECT_EQ(c.GetFixedWidth(), 20);
    EXPECT_EQ(c.GetFixedHeight(), 20);

    // A short list: the missing right and bottom are 0.
    CControlUI d;
    d.SetAttribute(L"pos", L"0,0,40");
    EXPECT_EQ(d.GetFixedWidth(), 40);
    EXPECT_EQ(d.GetFixedHeight(), 0);
}

TEST(ControlAttributes, ColourFormsAndBooleans)
{
    ProbeControl c;
    c.SetAttribute(L"bkcolor", L" #FF112233");
    c.SetAttribute(L"bordercolor", L" #FF112233");
    c.SetAttribute(L"focusbordercolor", L"#80FFFFFF");
    c.SetAttribute(L"bkcolor2", L"#FF010203");
    c.SetAttribute(L"bkcolor3", L"#FF040506");
    EXPECT_EQ(c.GetBkColor(), 0xFF112233u);
    EXPECT_EQ(c.GetBorderColor(), 0u);
    EXPECT_EQ(c.GetFocusBorderColor(), 0x80FFFFFFu);
    EXPECT_EQ(c.GetBkColor2(), 0xFF010203u);
    EXPECT_EQ(c.GetBkColor3(), 0xFF040506u);
    c.SetAttribute(L"bkcolor1", L"#FFABCDEF");
    EXPECT_EQ(c.GetBkColor(), 0xFFABCDEFu);

    // Only the exact word "true" is true; the setter is reached virtually.
    c.SetAttribute(L"visible", L"TRUE");
    EXPECT_FALSE(c.IsVisible());
    EXPECT_EQ(c.setVisibleCalls, 1);
    c.SetAttribute(L"visible", L"true");
    EXPECT_TRUE(c.IsVisible());
    c.SetAttribute(L"enabled", L"1");
    EXPECT_FALSE(c.IsEnabled());
    c.SetAttribute(L"mouse", L"false");
    c.SetAttribute(L"keyboard", L"no");
    c.SetAttribute(L"menu", L"true");
    c.SetAttribute(L"float", L"true");
    c.SetAttribute(L"colorhsl", L"true");
    EXPECT_FALSE(c.IsMouseEnabled());
    EXPECT_FALSE(c.IsKeyboardEnabled());
    EXPECT_TRUE(c.IsContextMenuUsed());
    EXPECT_TRUE(c.IsFloat());
    EXPECT_TRUE(c.IsColorHSL());
}

TEST(ControlAttributes, BorderSizeWithoutCommaClearsPerSideSizes)
{
    CControlUI c;
    c.SetAttribute(L"bordersize", L"1,2,3,4");
    EXPECT_EQ(c.GetLeftBorderSize(), 1);
    EXPECT_EQ(c.GetTopBorderSize(), 2);
    EXPECT_EQ(c.GetRightBorderSize(), 3);
    EXPECT_EQ(c.GetBottomBorderSize(), 4);
    EXPECT_EQ(c.GetBorderSize(), 0);

    c.SetAttribute(L"bordersize", L"3");
    EXPECT_EQ(c.GetBorderSize(), 3);
    EXPECT_EQ(c.GetLeftBorderSize(), 0);
    EXPECT_EQ(c.GetBottomBorderSize(), 0);

    // With commas the uniform size stays.
    c.SetAttribute(L"bordersize", L"0,5,0,0");
    EXPECT_EQ(c.GetBorderSize(), 3);
    EXPECT_EQ(c.GetTopBorderSize(), 5);

    c.SetAttribute(L"rightbordersize", L"7");
    c.SetAttribute(L"borderstyle", L"2");
    c.SetAttribute(L"borderround", L"6,8");
    EXPECT_EQ(c.GetRightBorderSize(), 7);
    EXPECT_EQ(c.GetBorderStyle(), 2);
    EXPECT_EQ(c.GetBorderRound().cx, 6);
    EXPECT_EQ(c.GetBorderRound().cy, 8);
}

TEST(ControlAttributes, TextualAttributesRelativePosAndUnknownNames)
{
    CControlUI c;
    c.SetAttribute(L"name", L"okbtn");
    c.SetAttribute(L"text", L"OK");
    c.SetAttribute(L"tooltip", L"line one<n>line two<n>");
    c.SetAttribute(L"userdata", L"payload");
    c.SetAttribute(L"shortcut", L"Quit");
    c.SetAttribute(L"bkimage", L"file='bg.png' corner='1,2,3,4'");
    c.SetAttribute(L"padding", L"1,2,3");
    c.SetAttribute(L"relativepos", L"10,20,30,40");
    EXPECT_EQ(c.GetName(), L"okbtn");
    EXPECT_EQ(c.GetText(), L"OK");
    EXPECT_EQ(c.GetToolTip(), L"line one\r\nline two\r\n");
    EXPECT_EQ(c.GetUserData(), L"payload");
    EXPECT_EQ(c.GetShortcut(), L'Q');
    EXPECT_STREQ(c.GetBkImage(), L"file='bg.png' corner='1,2,3,4'");
    EXPECT_TRUE(SameRect(c.GetPadding(), RECT{1, 2, 3, 0}));

    const TRelativePosUI rel = c.GetRelativePos();
    EXPECT_TRUE(c.IsRelativePos());
    EXPECT_EQ(rel.nMoveXPercent, 10);
    EXPECT_EQ(rel.nMoveYPercent, 20);
    EXPECT_EQ(rel.nZoomXPercent, 30);
    EXPECT_EQ(rel.nZoomYPercent, 40);

    // Names are exact and case-sensitive; unknown ones change nothing.
    c.SetAttribute(L"Width", L"50");
    c.SetAttribute(L"nonsense", L"1");
    c.SetAttribute(L"width ", L"50");
    EXPECT_EQ(c.GetFixedWidth(), 0);
    c.SetAttribute(L"shortcut", L"");
    EXPECT_EQ(c.GetShortcut(), L'\0');
}

TEST(ControlAttributes, AttributeListIsAppliedInOrderAndStopsAtMalformedPairs)
{
    CControlUI c;
    c.ApplyAttributeList(L"pos=\"0,0,0,0\" width=\"8\" name=\"a\"");
    EXPECT_EQ(c.GetFixedWidth(), 8);
    EXPECT_EQ(c.GetName(), L"a");

    // Two spaces: the next name starts with a space and matches nothing, but
    // the pairs after it are still read.
    CControlUI d;
    d.ApplyAttributeList(L"name=\"x\"  text=\"t\" height=\"5\"");
    EXPECT_EQ(d.GetName(), L"x");
    EXPECT_EQ(d.GetText(), L"");
    EXPECT_EQ(d.GetFixedHeight(), 5);

    // A pair not followed by exactly one space ends the list.
    CControlUI e;
    e.ApplyAttributeList(L"name=\"x\"text=\"t\"");
    EXPECT_EQ(e.GetName(), L"x");
    EXPECT_EQ(e.GetText(), L"");

    CControlUI f;
    EXPECT_EQ(f.ApplyAttributeList(L"name=x text=\"t\""), &f);
    EXPECT_EQ(f.GetName(), L"");
    f.ApplyAttributeList(L"name=\"unterminated");
    EXPECT_EQ(f.GetName(), L"");
    f.ApplyAttributeList(L"text=\"\" name=\"n\"");
    EXPECT_EQ(f.GetName(), L"n");
    f.ApplyAttributeList(L"");
    f.ApplyAttributeList(nullptr);
    f.ApplyAttributeList(L"noequals");
}

// ---- geometry and identity --------------------------------------------------------

TEST(ControlGeometry, SizeLimitsAndEstimate)
{
    CControlUI c;
    EXPECT_EQ(c.GetMaxWidth(), 9999);
    EXPECT_EQ(c.GetMaxHeight(), 9999);
    c.SetMinWidth(20);
    c.SetMinWidth(-1);
    c.SetMaxHeight(30);
    c.SetMaxHeight(-5);
    EXPECT_EQ(c.GetMinWidth(), 20);
    EXPECT_EQ(c.GetMaxHeight(), 30);

    // The estimate is the fixed size; limits are for the layouts to apply.
    c.SetFixedWidth(5);
    c.SetFixedHeight(100);
    SIZE sz = c.EstimateSize(SIZE{500, 500});
    EXPECT_EQ(sz.cx, 5);
    EXPECT_EQ(sz.cy, 100);
    c.SetFixedWidth(-3);
    EXPECT_EQ(c.GetFixedWidth(), 5);

    c.SetAttribute(L"minheight", L"7");
    c.SetAttribute(L"maxwidth", L"70");
    EXPECT_EQ(c.GetMinHeight(), 7);
    EXPECT_EQ(c.GetMaxWidth(), 70);
}

TEST(ControlGeometry, SetPosWithoutManagerStoresANormalisedRectangle)
{
    CControlUI c;
    c.SetPos(RECT{10, 20, 5, 8});
    EXPECT_TRUE(SameRect(c.GetPos(), RECT{10, 20, 10, 20}));
    c.SetPos(RECT{1, 2, 31, 42});
    EXPECT_EQ(c.GetX(), 1);
    EXPECT_EQ(c.GetY(), 2);
    EXPECT_EQ(c.GetWidth(), 30);
    EXPECT_EQ(c.GetHeight(), 40);
    EXPECT_TRUE(c.IsUpdateNeeded()); // only a managed control is laid out
}

TEST(ControlIdentity, ClassInterfaceVirtualWindowAndInit)
{
    ProbeControl parent;
    ProbeControl child;
    EXPECT_STREQ(child.GetClass(), L"ControlUI");
    EXPECT_EQ(child.GetInterface(L"Control"), &child);
    EXPECT_EQ(child.GetInterface(L"control"), nullptr);
    EXPECT_EQ(child.GetControlFlags(), 0u);

    child.OnInit += &ProbeControl::CountInit;
    child.SetManager(nullptr, &parent, false);
    child.SetManager(nullptr, nullptr, true); // no parent: no init
    EXPECT_EQ(child.initCalls, 0);
    EXPECT_EQ(child.onInitCalls, 0);
    child.SetManager(nullptr, &parent, true);
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(child.initCalls, 1);
    EXPECT_EQ(child.onInitCalls, 1);
    EXPECT_EQ(child.initCallsSeenByOnInit, 1); // OnInit fires after DoInit

    EXPECT_EQ(child.GetVirtualWnd(), L"");
    parent.SetVirtualWnd(L"page");
    EXPECT_EQ(child.GetVirtualWnd(), L"page");
    child.SetVirtualWnd(L"own");
    EXPECT_EQ(child.GetVirtualWnd(), L"own");

    EXPECT_TRUE(child.Activate());
    child.SetEnabled(false);
    EXPECT_FALSE(child.Activate());
}

TEST(ControlSearch, FlagsFilterBeforeThePredicate)
{
    struct Pred
    {
        static CControlUI* CALLBACK Any(CControlUI* p, LPVOID) { return p; }
        static CControlUI* CALLBACK None(CControlUI*, LPVOID) { return nullptr; }
    };
    CControlUI c;
    c.SetPos(RECT{10, 10, 20, 20});
    POINT inside = {15, 15};
    POINT outside = {20, 20};
    EXPECT_EQ(c.FindControl(&Pred::Any, nullptr, FIND_ALL), &c);
    EXPECT_EQ(c.FindControl(&Pred::None, nullptr, FIND_ALL), nullptr);
    EXPECT_EQ(c.FindControl(&Pred::Any, &inside, FIND_HITTEST), &c);
    EXPECT_EQ(c.FindControl(&Pred::Any, &outside, FIND_HITTEST), nullptr);
    EXPECT_EQ(c.FindControl(&Pred::Any, nullptr, FIND_HITTEST), nullptr);

    c.SetMouseEnabled(false);
    EXPECT_EQ(c.FindControl(&Pred::Any, &inside, FIND_HITTEST), nullptr);
    EXPECT_EQ(c.FindControl(&Pred::Any, &inside, FIND_VISIBLE), &c);
    c.SetEnabled(false);
    EXPECT_EQ(c.FindControl(&Pred::Any, nullptr, FIND_ENABLED), nullptr);
    EXPECT_EQ(c.FindControl(&Pred::Any, nullptr, FIND_VISIBLE), &c);
    c.SetInternVisible(false);
    EXPECT_FALSE(c.IsVisible());
    EXPECT_EQ(c.FindControl(&Pred::Any, nullptr, FIND_VISIBLE), nullptr);
    EXPECT_EQ(c.FindControl(&Pred::Any, nullptr, FIND_ALL), &c);
}

// ---- events --------------------------------------------------------------------

namespace {

bool Refuse(void*)
{
    return false;
}

} // namespace

TEST(ControlEvents, FocusEventsAndBubblingToTheParent)
{
    ProbeControl parent;
    ProbeControl child;
    child.SetManager(nullptr, &parent, false);

    TEventUI focus = MakeEvent(EVT_SETFOCUS);
    child.Event(focus);
    EXPECT_TRUE(child.IsFocused());
    TEventUI kill = MakeEvent(EVT_KILLFOCUS);
    child.Event(kill);
    EXPECT_FALSE(child.IsFocused());
    EXPECT_TRUE(parent.events.empty());

    TEventUI click = MakeEvent(EVT_BUTTONDOWN);
    child.Event(click);
    TEventUI menu = MakeEvent(EVT_CONTEXTMENU); // menu not used: goes up
    child.Event(menu);
    EXPECT_EQ(parent.events, (std::vector<int>{EVT_BUTTONDOWN, EVT_CONTEXTMENU}));

    // A refusing OnEvent delegate keeps the event from DoEvent.
    child.events.clear();
    child.OnEvent += &Refuse;
    TEventUI again = MakeEvent(EVT_SETFOCUS);
    child.Event(again);
    EXPECT_TRUE(child.events.empty());
    EXPECT_FALSE(child.IsFocused());
}

// ---- painting ---------------------------------------------------------------------

TEST(ControlPaint, OpaqueBackgroundFillsOnlyThePaintedPartTranslucentTheWholeControl)
{
    DibSurface s(40, 40, 0x000000FF);
    CControlUI c;
    c.SetPos(RECT{0, 0, 40, 40});
    c.SetBkColor(0xFFFF0000);
    c.DoPaint(s.dc(), RECT{0, 0, 10, 10});
    EXPECT_EQ(s.Count(0x00FF0000), 100);

    s.Fill(0x000000FF);
    c.SetBkColor(0x80FF0000);
    c.DoPaint(s.dc(), RECT{0, 0, 10, 10});
    const DWORD blended = s.At(5, 5);
    EXPECT_EQ(VarnelTest::Red(blended), 255);
    EXPECT_EQ(s.At(30, 30), blended);

    // Outside the control nothing is painted at all.
    s.Fill(0);
    c.SetPos(RECT{20, 20, 40, 40});
    c.DoPaint(s.dc(), RECT{0, 0, 20, 20});
    EXPECT_EQ(s.Count(0), 1600);
}

TEST(ControlPaint, GradientsSplitAtTheMiddleWithAThirdColour)
{
    DibSurface s(20, 40, 0);
    CControlUI c;
    c.SetPos(RECT{0, 0, 20, 40});
    c.SetBkColor(0xFF000000);
    c.SetBkColor2(0xFFFFFFFF);
    c.DoPaint(s.dc(), RECT{0, 0, 20, 40});
    EXPECT_LT(VarnelTest::Green(s.At(10, 1)), 30);
    EXPECT_GT(VarnelTest::Green(s.At(10, 38)), 225);

    // Black -> white over the upper half, white -> black over the lower half.
    c.SetBkColor3(0xFF000000);
    c.DoPaint(s.dc(), RECT{0, 0, 20, 40});
    EXPECT_LT(VarnelTest::Green(s.At(10, 1)), 30);
    EXPECT_GT(VarnelTest::Green(s.At(10, 19)), 200);
    EXPECT_GT(VarnelTest::Green(s.At(10, 20)), 200);
    EXPECT_LT(VarnelTest::Green(s.At(10, 38)), 30);
}

TEST(ControlPaint, BorderKinds)
{
    DibSurface s(30, 30, 0);
    CControlUI c;
    c.SetPos(RECT{5, 5, 25, 25});
    c.SetBorderColor(0xFF00FF00);
    c.DoPaint(s.dc(), RECT{0, 0, 30, 30});
    EXPECT_EQ(s.Count(0), 900); // no size, no border

    c.SetBorderSize(1);
    c.DoPaint(s.dc(), RECT{0, 0, 30, 30});
    EXPECT_EQ(s.At(5, 5), 0x0000FF00u);
    EXPECT_EQ(s.At(24, 24), 0x0000FF00u);
    EXPECT_EQ(s.At(15, 15), 0u);
    EXPECT_EQ(s.Count(0x0000FF00), 76);

    // Focused with a focus colour: the focus colour wins.
    s.Fill(0);
    c.SetFocusBorderColor(0xFFFF0000);
    TEventUI focus = MakeEvent(EVT_SETFOCUS);
    c.Event(focus);
    c.DoPaint(s.dc(), RECT{0, 0, 30, 30});
    EXPECT_EQ(s.Count(0x00FF0000), 76);
    TEventUI kill = MakeEvent(EVT_KILLFOCUS);
    c.Event(kill);

    // Per-side sizes draw only their edges.
    s.Fill(0);
    c.SetAttribute(L"leftbordersize", L"1");
    c.DoPaint(s.dc(), RECT{0, 0, 30, 30});
    EXPECT_EQ(s.At(5, 10), 0x0000FF00u);
    EXPECT_EQ(s.At(24, 10), 0u);
    EXPECT_EQ(s.At(10, 5), 0u);
}

TEST(ControlPaint, BorderRoundClipsPaintingEvenWithoutABorder)
{
    DibSurface s(40, 40, 0);
    CControlUI c;
    c.SetPos(RECT{0, 0, 40, 40});
    c.SetBkColor(0xFFFFFFFF);
    c.SetBorderColor(0xFFFF0000);
    c.SetBorderRound(SIZE{20, 20});
    c.DoPaint(s.dc(), RECT{0, 0, 40, 40});
    EXPECT_EQ(s.At(0, 0), 0u);
    EXPECT_EQ(s.At(39, 0), 0u);
    EXPECT_EQ(s.At(20, 20), 0x00FFFFFFu);
    EXPECT_EQ(s.Count(0x00FF0000), 0);

    // The clip is released after painting.
    c.SetBorderRound(SIZE{0, 0});
    c.DoPaint(s.dc(), RECT{0, 0, 40, 40});
    EXPECT_EQ(s.At(0, 0), 0x00FFFFFFu);
}

TEST(ControlPaint, BackgroundImageThatCannotBeDrawnIsDropped)
{
    DibSurface s(10, 10, 0);
    CControlUI c; // without a manager no image can be drawn
    c.SetPos(RECT{0, 0, 10, 10});
    c.SetBkImage(L"bg.png");
    c.DoPaint(s.dc(), RECT{0, 0, 10, 10});
    EXPECT_STREQ(c.GetBkImage(), L"");
}

// ---- with a paint manager ----------------------------------------------------------

namespace {

class ManagedWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        // Only a visible window collects an update region. No messages are
        // pumped, so nothing paints it away between the checks.
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        m_manager.Init(m_hWnd);
        ::ValidateRect(m_hWnd, nullptr);
    }
    void TearDown() override
    {
        m_manager.RemoveNotifier(&m_notes);
        if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
    }

    bool NothingToRepaint() const { return ::GetUpdateRect(m_hWnd, nullptr, FALSE) == FALSE; }

    RECT UpdateRect() const
    {
        RECT rc = {};
        ::GetUpdateRect(m_hWnd, &rc, FALSE);
        return rc;
    }

    struct Notes : INotifyUI
    {
        void Notify(TNotifyUI& msg) override
        {
            types.push_back(msg.type.GetData());
            virtualWnds.push_back(msg.virtualWnd.GetData());
            wParams.push_back(msg.wParam);
        }
        std::vector<std::wstring> types;
        std::vector<std::wstring> virtualWnds;
        std::vector<WPARAM> wParams;
    };

    HWND m_hWnd = nullptr;
    CPaintManagerUI m_manager;
    Notes m_notes;
};

} // namespace

TEST_F(ManagedWindow, SetPosInvalidatesOldAndNewAreaClippedByAncestors)
{
    CControlUI parent;
    CControlUI child;
    parent.SetManager(&m_manager, nullptr, false);
    child.SetManager(&m_manager, &parent, false);
    parent.SetPos(RECT{0, 0, 100, 100});
    ::ValidateRect(m_hWnd, nullptr);

    child.SetPos(RECT{10, 10, 20, 20});
    EXPECT_TRUE(SameRect(UpdateRect(), RECT{10, 10, 20, 20}));
    EXPECT_FALSE(child.IsUpdateNeeded());
    ::ValidateRect(m_hWnd, nullptr);

    // Moving covers both places; what lies outside the parent is cut off.
    child.SetPos(RECT{90, 90, 150, 150});
    EXPECT_TRUE(SameRect(UpdateRect(), RECT{10, 10, 100, 100}));
    ::ValidateRect(m_hWnd, nullptr);

    // Entirely outside the parent: nothing to repaint.
    child.SetPos(RECT{120, 120, 130, 130});
    ::ValidateRect(m_hWnd, nullptr);
    child.SetPos(RECT{140, 140, 150, 150});
    EXPECT_TRUE(NothingToRepaint());
    ::ValidateRect(m_hWnd, nullptr);

    // Appearance setters invalidate the control's visible part, hidden ones nothing.
    child.SetPos(RECT{30, 30, 40, 40});
    ::ValidateRect(m_hWnd, nullptr);
    child.SetBkColor(0xFF123456);
    EXPECT_TRUE(SameRect(UpdateRect(), RECT{30, 30, 40, 40}));
    ::ValidateRect(m_hWnd, nullptr);
    child.SetBkColor(0xFF123456); // unchanged: nothing
    EXPECT_TRUE(NothingToRepaint());
    child.SetVisible(false);
    ::ValidateRect(m_hWnd, nullptr);
    child.SetText(L"hidden");
    EXPECT_TRUE(NothingToRepaint());
}

TEST_F(ManagedWindow, FloatControlMovedByCodeKeepsItsAnchoring)
{
    CControlUI parent;
    ProbeControl child;
    parent.SetManager(&m_manager, nullptr, false);
    child.SetManager(&m_manager, &parent, false);
    parent.SetPos(RECT{10, 10, 110, 110});
    child.SetAttribute(L"float", L"true");
    child.SetAttribute(L"pos", L"-30,5,-10,25"); // anchored to the right edge
    EXPECT_EQ(child.GetFixedXY().cx, -10);

    child.SetPos(RECT{60, 20, 90, 50});
    EXPECT_EQ(child.GetFixedXY().cx, 90 - 110);
    EXPECT_EQ(child.GetFixedXY().cy, 20 - 10);
    EXPECT_EQ(child.GetFixedWidth(), 30);
    EXPECT_EQ(child.GetFixedHeight(), 30);

    child.OnSize += &ProbeControl::CountSize;
    child.SetPos(RECT{0, 0, 5, 5});
    EXPECT_EQ(child.sizeCalls, 1);
}

TEST_F(ManagedWindow, TimerAndMenuEventsBecomeNotificationsWithTheVirtualWindow)
{
    m_manager.AddNotifier(&m_notes);
    ProbeControl parent;
    CControlUI c;
    parent.SetManager(&m_manager, nullptr, false);
    c.SetManager(&m_manager, &parent, false);
    c.SetVirtualWnd(L"pageA");

    TEventUI timer = MakeEvent(EVT_TIMER, 7, 0);
    c.Event(timer);
    TEventUI menu = MakeEvent(EVT_CONTEXTMENU, 3, 0);
    c.Event(menu); // not used: bubbles to the parent, no notification
    c.SetContextMenuUsed(true);
    c.Event(menu);

    ASSERT_EQ(m_notes.types.size(), 2u);
    EXPECT_EQ(m_notes.types[0], L"timer");
    EXPECT_EQ(m_notes.wParams[0], 7u);
    EXPECT_EQ(m_notes.virtualWnds[0], L"pageA");
    EXPECT_EQ(m_notes.types[1], L"menu");
    EXPECT_EQ(m_notes.wParams[1], 3u);
    EXPECT_EQ(parent.events, (std::vector<int>{EVT_CONTEXTMENU}));
}

TEST_F(ManagedWindow, HidingOrDestroyingTheFocusedControlClearsTheManagersFocus)
{
    CControlUI root;
    root.SetManager(&m_manager, nullptr, false);
    root.SetPos(RECT{0, 0, 50, 50});
    auto* child = new CControlUI;
    child->SetManager(&m_manager, &root, false);

    child->SetFocus();
    ASSERT_EQ(m_manager.GetFocus(), child);
    EXPECT_TRUE(child->IsFocused());
    child->SetVisible(false);
    EXPECT_EQ(m_manager.GetFocus(), nullptr);
    EXPECT_FALSE(child->IsFocused());

    child->SetVisible(true);
    child->SetFocus();
    ASSERT_EQ(m_manager.GetFocus(), child);
    child->SetInternVisible(false);
    EXPECT_EQ(m_manager.GetFocus(), nullptr);

    child->SetInternVisible(true);
    child->SetFocus();
    ASSERT_EQ(m_manager.GetFocus(), child);
    delete child;
    EXPECT_EQ(m_manager.GetFocus(), nullptr);
}
