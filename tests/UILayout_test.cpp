// Vertical and horizontal layouts: the two-pass size distribution with its
// limits, paddings, gaps and estimates, a title bar laid out pixel by pixel,
// and the separator strip dragged by events and by real mouse messages.
#include <gtest/gtest.h>

#include "varnelui/control/UIHorizontalLayout.h"
#include "varnelui/control/UIVerticalLayout.h"
#include "varnelui/core/UIManager.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::DibSurface;
using VarnelTest::Str;

namespace {

std::string Pos(const CControlUI* p)
{
    return Str(p->GetPos());
}

// A child described by skin attributes, added to the layout.
template <class T = CControlUI>
T* AddChild(CContainerUI& layout, std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> attributes = {})
{
    auto* p = new T;
    for (const auto& attribute : attributes) p->SetAttribute(attribute.first, attribute.second);
    layout.Add(p);
    return p;
}

// Reports a fixed estimate and remembers the room it was offered.
class CEstimatingUI : public CControlUI
{
public:
    SIZE EstimateSize(SIZE szAvailable) override
    {
        offered.push_back(Str(RECT{0, 0, szAvailable.cx, szAvailable.cy}));
        return estimate;
    }
    SIZE estimate = {0, 0};
    std::vector<std::string> offered;
};

TEventUI MouseEvent(int kind, int x, int y)
{
    TEventUI event = {};
    event.kind = kind;
    event.mousePos = POINT{x, y};
    return event;
}

void Send(CControlUI* p, int kind, int x, int y)
{
    TEventUI event = MouseEvent(kind, x, y);
    p->Event(event);
}

// Lays the tree out again in place, as the paint manager does after a drag.
void Relayout(CControlUI& root)
{
    root.SetPos(root.GetPos());
}

} // namespace

// ---- size distribution ----------------------------------------------------------

TEST(LayoutDistribution, FixedChildrenFirstTheRestToTheOnesWithoutSize)
{
    CVerticalLayoutUI column;
    CControlUI* title = AddChild(column, {{L"height", L"32"}});
    CControlUI* body = AddChild(column);
    CControlUI* margin = AddChild(column, {{L"height", L"2"}});
    column.SetPos(RECT{0, 0, 200, 437});
    EXPECT_EQ(Pos(title), "0,0,200,32");
    EXPECT_EQ(Pos(body), "0,32,200,435");
    EXPECT_EQ(Pos(margin), "0,435,200,437");

    CHorizontalLayoutUI row;
    CControlUI* left = AddChild(row, {{L"width", L"330"}});
    CControlUI* middle = AddChild(row);
    CControlUI* right = AddChild(row, {{L"width", L"135"}});
    row.SetPos(RECT{0, 0, 686, 32});
    EXPECT_EQ(Pos(left), "0,0,330,32");
    EXPECT_EQ(Pos(middle), "330,0,551,32");
    EXPECT_EQ(Pos(right), "551,0,686,32");

    // The last stretching child takes what the integer share leaves over.
    CVerticalLayoutUI pair;
    CControlUI* upper = AddChild(pair);
    CControlUI* lower = AddChild(pair);
    pair.SetPos(RECT{0, 0, 50, 101});
    EXPECT_EQ(Pos(upper), "0,0,50,50");
    EXPECT_EQ(Pos(lower), "0,50,50,101");
}

TEST(LayoutDistribution, LimitsClampAndTheLastStretchingChildTakesTheRest)
{
    CVerticalLayoutUI column;
    CControlUI* raised = AddChild(column, {{L"height", L"10"}, {L"minheight", L"40"}});
    CControlUI* capped = AddChild(column, {{L"maxheight", L"50"}, {L"maxwidth", L"60"}});
    CControlUI* rest = AddChild(column);
    column.SetPos(RECT{0, 0, 100, 300});
    // Share (300 - 40) / 2 = 130; the capped child gives back 80 to the last one.
    EXPECT_EQ(Pos(raised), "0,0,100,40");
    EXPECT_EQ(Pos(capped), "0,40,60,90");
    EXPECT_EQ(Pos(rest), "0,90,100,300");

    // A minimum beats the room that is left: the content overflows.
    CVerticalLayoutUI tight;
    CControlUI* top = AddChild(tight, {{L"height", L"70"}});
    CControlUI* squeezed = AddChild(tight, {{L"minheight", L"50"}});
    CControlUI* bottom = AddChild(tight, {{L"height", L"10"}});
    tight.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Pos(top), "0,0,100,70");
    EXPECT_EQ(Pos(squeezed), "0,70,100,120");
    EXPECT_EQ(Pos(bottom), "0,120,100,130");

    CHorizontalLayoutUI row;
    CControlUI* narrow = AddChild(row, {{L"maxwidth", L"30"}, {L"minheight", L"25"}, {L"maxheight", L"20"}});
    CControlUI* wide = AddChild(row, {{L"minwidth", L"500"}});
    row.SetPos(RECT{0, 0, 200, 10});
    EXPECT_EQ(Pos(narrow), "0,0,30,20");
    EXPECT_EQ(Pos(wide), "30,0,530,10");
}

TEST(LayoutDistribution, InsetPaddingAndChildPadding)
{
    CVerticalLayoutUI column;
    column.SetAttribute(L"inset", L"5,6,7,8");
    column.SetAttribute(L"childpadding", L"4");
    CControlUI* stretch = AddChild(column);
    CControlUI* fixed = AddChild(column, {{L"height", L"30"}, {L"padding", L"10,2,3,5"}, {L"width", L"50"}});
    CControlUI* last = AddChild(column, {{L"height", L"20"}, {L"padding", L"1,0,3,0"}});
    column.SetPos(RECT{10, 20, 210, 320});
    // Inner area 15,26 - 203,312. The trailing (bottom) padding lies inside a
    // child's rectangle, the leading one outside it.
    EXPECT_EQ(Pos(stretch), "15,26,203,247");
    EXPECT_EQ(Pos(fixed), "25,253,75,288");
    EXPECT_EQ(Pos(last), "16,292,200,312");

    CHorizontalLayoutUI row;
    row.SetAttribute(L"inset", L"2,3,4,5");
    row.SetAttribute(L"childpadding", L"6");
    CControlUI* first = AddChild(row, {{L"padding", L"0,2,0,4"}});
    CControlUI* second = AddChild(row, {{L"width", L"40"}, {L"height", L"20"}, {L"padding", L"5,0,5,0"}});
    row.SetPos(RECT{0, 0, 300, 50});
    // Inner area 2,3 - 296,45: here the right padding is inside the rectangle.
    EXPECT_EQ(Pos(first), "2,5,240,41");
    EXPECT_EQ(Pos(second), "251,3,296,23");
}

TEST(LayoutDistribution, LastStretchingChildFillsTheRestAfterPaddingsAndGaps)
{
    // The paddings and gaps of the children before the last stretching child
    // are taken once, so it reaches the bottom edge exactly.
    CVerticalLayoutUI column;
    column.SetAttribute(L"childpadding", L"4");
    CControlUI* head = AddChild(column, {{L"height", L"30"}, {L"padding", L"0,2,0,4"}});
    CControlUI* body = AddChild(column);
    CControlUI* foot = AddChild(column, {{L"height", L"20"}, {L"padding", L"0,3,0,1"}});
    column.SetPos(RECT{0, 0, 100, 200});
    EXPECT_EQ(Pos(head), "0,2,100,36");
    EXPECT_EQ(Pos(body), "0,40,100,172");
    EXPECT_EQ(Pos(foot), "0,179,100,200");

    CHorizontalLayoutUI row;
    row.SetAttribute(L"childpadding", L"5");
    CControlUI* left = AddChild(row, {{L"width", L"40"}, {L"padding", L"3,0,7,0"}});
    CControlUI* fill = AddChild(row, {{L"padding", L"2,0,0,0"}});
    row.SetPos(RECT{0, 0, 300, 20});
    EXPECT_EQ(Pos(left), "3,0,50,20");
    EXPECT_EQ(Pos(fill), "57,0,300,20");
}

TEST(LayoutDistribution, HiddenAndFloatChildrenTakeNoRoom)
{
    CVerticalLayoutUI column;
    column.SetAttribute(L"childpadding", L"10");
    CControlUI* stretch = AddChild(column);
    CControlUI* hidden = AddChild(column, {{L"height", L"30"}, {L"visible", L"false"}});
    CControlUI* badge = AddChild(column, {{L"float", L"true"}, {L"pos", L"-20,5,-10,13"}});
    CControlUI* foot = AddChild(column, {{L"height", L"20"}});
    column.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Pos(stretch), "0,0,100,70");
    EXPECT_EQ(Pos(foot), "0,80,100,100");
    EXPECT_EQ(Pos(hidden), "0,0,0,0");
    EXPECT_EQ(Pos(badge), "80,5,90,13");
}

TEST(LayoutDistribution, EstimatesAreAskedWithTheRoomLeft)
{
    CVerticalLayoutUI column;
    auto* bar = AddChild<CHorizontalLayoutUI>(column, {{L"height", L"50"}});
    AddChild(*bar);
    auto* estimating = AddChild<CEstimatingUI>(column);
    estimating->estimate = SIZE{33, 60};
    auto* nested = AddChild<CVerticalLayoutUI>(column);
    column.SetPos(RECT{0, 0, 200, 400});

    // A layout estimates its own fixed size, whatever its children need, so a
    // nested layout without a height stretches.
    EXPECT_EQ(bar->EstimateSize(SIZE{1, 1}).cx, 0);
    EXPECT_EQ(bar->EstimateSize(SIZE{1, 1}).cy, 50);
    EXPECT_EQ(Pos(bar), "0,0,200,50");
    EXPECT_EQ(Pos(estimating), "0,50,200,110"); // the estimated width does not count here
    EXPECT_EQ(Pos(nested), "0,110,200,400");
    EXPECT_EQ(estimating->offered, (std::vector<std::string>{"0,0,200,400", "0,0,200,350"}));

    CHorizontalLayoutUI row;
    auto* sized = AddChild<CEstimatingUI>(row);
    sized->estimate = SIZE{70, 5};
    CControlUI* rest = AddChild(row);
    row.SetPos(RECT{0, 0, 300, 40});
    EXPECT_EQ(Pos(sized), "0,0,70,40"); // and the estimated height not here
    EXPECT_EQ(Pos(rest), "70,0,300,40");
}

TEST(LayoutDistribution, TitleBarOfThePlayWindow)
{
    CHorizontalLayoutUI bar;
    bar.SetAttribute(L"height", L"32");
    CControlUI* gap = AddChild(bar, {{L"width", L"10"}});
    CControlUI* logo =
        AddChild(bar, {{L"name", L"logo"}, {L"width", L"24"}, {L"height", L"24"}, {L"padding", L"0,4,0,0"}});
    CControlUI* gap2 = AddChild(bar, {{L"width", L"4"}});
    CControlUI* title = AddChild(bar, {{L"name", L"titelLabel"}, {L"maxwidth", L"300"}});
    CControlUI* flex = AddChild(bar);
    const LPCWSTR names[] = {L"kefubtn", L"refreshbtn", L"minbtn", L"restorebtn", L"maxbtn", L"closebtn"};
    std::vector<CControlUI*> buttons;
    for (LPCWSTR name : names) {
        buttons.push_back(
            AddChild(bar, {{L"name", name}, {L"width", L"27"}, {L"height", L"27"}, {L"padding", L"0,2,0,0"}}));
    }
    buttons.back()->SetAttribute(L"padding", L"0,2,4,0");

    bar.SetPos(RECT{0, 0, 1286, 32});
    EXPECT_EQ(Pos(gap), "0,0,10,32");
    EXPECT_EQ(Pos(logo), "10,4,34,28");
    EXPECT_EQ(Pos(gap2), "34,0,38,32");
    EXPECT_EQ(Pos(title), "38,0,338,32"); // its share of 541 capped at 300
    EXPECT_EQ(Pos(flex), "338,0,1120,32");
    const char* const wideButtons[] = {"1120,2,1147,29", "1147,2,1174,29", "1174,2,1201,29",
                                       "1201,2,1228,29", "1228,2,1255,29", "1255,2,1286,29"};
    for (size_t i = 0; i < buttons.size(); ++i) EXPECT_EQ(Pos(buttons[i]), wideButtons[i]) << i;

    // Restored to the skin's own size, both stretching children share equally.
    bar.SetPos(RECT{0, 0, 686, 32});
    EXPECT_EQ(Pos(title), "38,0,279,32");
    EXPECT_EQ(Pos(flex), "279,0,520,32");
    EXPECT_EQ(Pos(buttons[0]), "520,2,547,29");
    EXPECT_EQ(Pos(buttons[5]), "655,2,686,29");

    // Maximise and restore share a place: the hidden one leaves no gap.
    buttons[4]->SetVisible(false);
    bar.SetPos(RECT{0, 0, 1286, 32});
    EXPECT_EQ(Pos(flex), "338,0,1147,32");
    EXPECT_EQ(Pos(buttons[0]), "1147,2,1174,29");
    EXPECT_EQ(Pos(buttons[3]), "1228,2,1255,29");
    EXPECT_EQ(Pos(buttons[5]), "1255,2,1286,29");
}

TEST(LayoutDistribution, ShippedPlayWindowNestsLayoutsToTheExactPixel)
{
    // The structure of the play window's skin, maximised to 1286 x 768.
    CVerticalLayoutUI window;
    auto* titleBar = AddChild<CHorizontalLayoutUI>(window, {{L"height", L"32"}});
    auto* content = AddChild<CHorizontalLayoutUI>(window);
    CControlUI* bottomMargin = AddChild(window, {{L"height", L"2"}});

    auto* leftArea = AddChild<CHorizontalLayoutUI>(*titleBar, {{L"width", L"330"}});
    CControlUI* flex = AddChild(*titleBar);
    auto* buttonArea = AddChild<CHorizontalLayoutUI>(*titleBar, {{L"width", L"135"}, {L"inset", L"0,3,0,2"}});

    CControlUI* gap = AddChild(*leftArea, {{L"width", L"10"}});
    auto* logoColumn = AddChild<CVerticalLayoutUI>(*leftArea, {{L"width", L"16"}});
    CControlUI* logoGap = AddChild(*logoColumn, {{L"height", L"9"}});
    auto* logo = AddChild<CHorizontalLayoutUI>(*logoColumn, {{L"width", L"16"}, {L"height", L"16"}});
    AddChild(*leftArea, {{L"width", L"4"}});
    CControlUI* title = AddChild(*leftArea);

    std::vector<CControlUI*> buttons;
    for (int i = 0; i < 6; ++i) buttons.push_back(AddChild(*buttonArea, {{L"width", L"27"}, {L"height", L"27"}}));
    buttons[4]->SetVisible(false); // maxbtn, while restorebtn shows

    CControlUI* leftMargin = AddChild(*content, {{L"width", L"2"}});
    CControlUI* browser = AddChild(*content);
    CControlUI* rightMargin = AddChild(*content, {{L"width", L"2"}});

    window.SetPos(RECT{0, 0, 1286, 768});
    EXPECT_EQ(Pos(titleBar), "0,0,1286,32");
    EXPECT_EQ(Pos(content), "0,32,1286,766");
    EXPECT_EQ(Pos(bottomMargin), "0,766,1286,768");
    EXPECT_EQ(Pos(leftArea), "0,0,330,32");
    EXPECT_EQ(Pos(flex), "330,0,1151,32");
    EXPECT_EQ(Pos(buttonArea), "1151,0,1286,32");
    EXPECT_EQ(Pos(gap), "0,0,10,32");
    EXPECT_EQ(Pos(logoColumn), "10,0,26,32");
    EXPECT_EQ(Pos(logoGap), "10,0,26,9");
    EXPECT_EQ(Pos(logo), "10,9,26,25");
    EXPECT_EQ(Pos(title), "30,0,330,32");
    const char* const expected[] = {"1151,3,1178,30", "1178,3,1205,30", "1205,3,1232,30",
                                    "1232,3,1259,30", "0,0,0,0",        "1259,3,1286,30"};
    for (size_t i = 0; i < buttons.size(); ++i) EXPECT_EQ(Pos(buttons[i]), expected[i]) << i;
    EXPECT_EQ(Pos(leftMargin), "0,32,2,766");
    EXPECT_EQ(Pos(browser), "2,32,1284,766");
    EXPECT_EQ(Pos(rightMargin), "1284,32,1286,766");
}

// ---- identity and attributes ----------------------------------------------------

TEST(LayoutSeparator, IdentityAttributesAndStrips)
{
    CVerticalLayoutUI column;
    CHorizontalLayoutUI row;
    EXPECT_STREQ(column.GetClass(), L"VerticalLayoutUI");
    EXPECT_STREQ(row.GetClass(), L"HorizontalLayoutUI");
    EXPECT_EQ(column.GetInterface(L"VerticalLayout"), &column);
    EXPECT_EQ(column.GetInterface(L"HorizontalLayout"), nullptr);
    EXPECT_EQ(column.GetInterface(L"Container"), &column);
    EXPECT_EQ(row.GetInterface(L"HorizontalLayout"), &row);
    EXPECT_EQ(row.GetControlFlags(), 0u);

    row.SetAttribute(L"sepwidth", L"4");
    row.SetAttribute(L"sepimm", L"true");
    row.SetAttribute(L"childpadding", L"3");
    column.SetAttribute(L"sepheight", L"-5");
    EXPECT_EQ(row.GetSepWidth(), 4);
    EXPECT_TRUE(row.IsSepImmMode());
    EXPECT_EQ(row.GetChildPadding(), 3);
    EXPECT_EQ(column.GetSepHeight(), -5);
    EXPECT_FALSE(column.IsSepImmMode());
    EXPECT_EQ(row.GetControlFlags(), CTRLFLAG_SETCURSOR);
    row.SetEnabled(false);
    EXPECT_EQ(row.GetControlFlags(), 0u);

    const RECT rc = {10, 20, 110, 70};
    row.SetPos(rc);
    column.SetPos(rc);
    EXPECT_EQ(Str(row.GetThumbRect()), "106,20,110,70");
    EXPECT_EQ(Str(column.GetThumbRect()), "10,20,110,25");
    row.SetSepWidth(-4);
    EXPECT_EQ(Str(row.GetThumbRect()), "10,20,14,70");
    // Oversized strips: the vertical one stays inside the layout, the horizontal one does not.
    row.SetSepWidth(200);
    EXPECT_EQ(Str(row.GetThumbRect()), "-90,20,110,70");
    column.SetSepHeight(200);
    EXPECT_EQ(Str(column.GetThumbRect()), "10,20,110,70");
    column.SetSepHeight(-200);
    EXPECT_EQ(Str(column.GetThumbRect()), "10,20,110,70");
}

// ---- dragging by events ---------------------------------------------------------

namespace {

// A row with a resizable panel on the left and a stretching area on the right.
struct SplitRow
{
    explicit SplitRow(std::initializer_list<std::pair<LPCWSTR, LPCWSTR>> panelAttributes)
    {
        panel = AddChild<CHorizontalLayoutUI>(row, panelAttributes);
        rest = AddChild(row);
        row.SetManager(nullptr, nullptr, false);
        row.SetPos(RECT{0, 0, 400, 100});
    }
    CHorizontalLayoutUI row;
    CHorizontalLayoutUI* panel = nullptr;
    CControlUI* rest = nullptr;
};

} // namespace

TEST(LayoutSeparator, ImmediateDragResizesAsThePointerMoves)
{
    SplitRow split({{L"width", L"150"}, {L"sepwidth", L"4"}, {L"sepimm", L"true"}});
    Send(split.panel, EVT_BUTTONDOWN, 148, 50);
    Send(split.panel, EVT_MOUSEMOVE, 170, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,172,100");
    EXPECT_EQ(split.panel->GetFixedWidth(), 172);
    Relayout(split.row);
    EXPECT_EQ(Pos(split.rest), "172,0,400,100");

    Send(split.panel, EVT_BUTTONUP, 170, 50);
    Send(split.panel, EVT_MOUSEMOVE, 300, 50); // no longer dragging
    Relayout(split.row);
    EXPECT_EQ(Pos(split.panel), "0,0,172,100");
}

TEST(LayoutSeparator, TrackingDragMovesOnlyTheStripUntilRelease)
{
    SplitRow split({{L"width", L"150"}, {L"sepwidth", L"4"}});
    // A press beside the strip starts nothing.
    Send(split.panel, EVT_BUTTONDOWN, 100, 50);
    Send(split.panel, EVT_MOUSEMOVE, 120, 50);
    EXPECT_EQ(split.panel->GetFixedWidth(), 150);

    Send(split.panel, EVT_BUTTONDOWN, 148, 50);
    Send(split.panel, EVT_MOUSEMOVE, 170, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,150,100");
    EXPECT_EQ(split.panel->GetFixedWidth(), 172);
    EXPECT_EQ(Str(split.panel->GetThumbRect(true)), "168,0,172,100");
    EXPECT_EQ(Str(split.panel->GetThumbRect(false)), "146,0,150,100");

    DibSurface surface(400, 100, 0xFFFFFF);
    const RECT all = {0, 0, 400, 100};
    split.panel->DoPostPaint(surface.dc(), all);
    const DWORD shade = surface.At(170, 50);
    EXPECT_EQ(shade & 0xFF, (shade >> 8) & 0xFF);
    EXPECT_NEAR(static_cast<int>(shade & 0xFF), 0x55, 2); // black at alpha 0xAA over white
    EXPECT_EQ(surface.At(165, 50), 0xFFFFFFu);
    EXPECT_EQ(surface.At(148, 50), 0xFFFFFFu);

    Send(split.panel, EVT_BUTTONUP, 170, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,172,100");
    Relayout(split.row);
    EXPECT_EQ(Pos(split.rest), "172,0,400,100");
    surface.Fill(0xFFFFFF);
    split.panel->DoPostPaint(surface.dc(), all);
    EXPECT_EQ(surface.Count(0xFFFFFF), 400 * 100);
}

TEST(LayoutSeparator, DragStopsAtTheLimitsUntilThePointerComesBack)
{
    SplitRow split(
        {{L"width", L"150"}, {L"sepwidth", L"4"}, {L"sepimm", L"true"}, {L"minwidth", L"120"}, {L"maxwidth", L"200"}});
    Send(split.panel, EVT_BUTTONDOWN, 148, 50);
    Send(split.panel, EVT_MOUSEMOVE, 100, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,120,100");
    Send(split.panel, EVT_MOUSEMOVE, 80, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,120,100");
    // Back to the right but still left of the strip: ignored.
    Send(split.panel, EVT_MOUSEMOVE, 110, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,120,100");
    // Over the strip again: follows from there.
    Send(split.panel, EVT_MOUSEMOVE, 118, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,128,100");
    Send(split.panel, EVT_MOUSEMOVE, 300, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,200,100");
    Send(split.panel, EVT_MOUSEMOVE, 350, 50);
    EXPECT_EQ(Pos(split.panel), "0,0,200,100");
    Send(split.panel, EVT_BUTTONUP, 350, 50);
    EXPECT_EQ(split.panel->GetFixedWidth(), 200);
}

TEST(LayoutSeparator, LeftEdgeAndVerticalStrips)
{
    CHorizontalLayoutUI row;
    CControlUI* rest = AddChild(row);
    auto* panel = AddChild<CHorizontalLayoutUI>(row, {{L"width", L"150"}, {L"sepwidth", L"-4"}, {L"sepimm", L"true"}});
    row.SetManager(nullptr, nullptr, false);
    row.SetPos(RECT{0, 0, 400, 100});
    EXPECT_EQ(Pos(panel), "250,0,400,100");
    Send(panel, EVT_BUTTONDOWN, 251, 50);
    Send(panel, EVT_MOUSEMOVE, 231, 50);
    Send(panel, EVT_BUTTONUP, 231, 50);
    Relayout(row);
    EXPECT_EQ(Pos(rest), "0,0,230,100");
    EXPECT_EQ(Pos(panel), "230,0,400,100");

    CVerticalLayoutUI column;
    auto* top = AddChild<CVerticalLayoutUI>(column, {{L"height", L"100"}, {L"sepheight", L"5"}, {L"sepimm", L"true"}});
    CControlUI* below = AddChild(column);
    column.SetManager(nullptr, nullptr, false);
    column.SetPos(RECT{0, 0, 100, 300});

    TEventUI cursor = MouseEvent(EVT_SETCURSOR, 50, 97);
    top->Event(cursor);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENS));
    cursor.mousePos = POINT{50, 50};
    top->Event(cursor);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));

    Send(top, EVT_BUTTONDOWN, 50, 97);
    Send(top, EVT_MOUSEMOVE, 50, 130);
    Send(top, EVT_BUTTONUP, 50, 130);
    Relayout(column);
    EXPECT_EQ(Pos(top), "0,0,100,133");
    EXPECT_EQ(Pos(below), "0,133,100,300");

    // A disabled layout cannot be dragged.
    top->SetEnabled(false);
    Send(top, EVT_BUTTONDOWN, 50, 131);
    Send(top, EVT_MOUSEMOVE, 50, 200);
    EXPECT_EQ(top->GetFixedHeight(), 133);
}

// ---- dragging with real mouse messages ------------------------------------------

TEST(LayoutSeparatorWindow, MouseMessagesDragTheSeparator)
{
    ManagerHarness::CTestWindow window(400, 200);
    auto* root = new CHorizontalLayoutUI;
    auto* panel = AddChild<CHorizontalLayoutUI>(*root, {{L"width", L"150"}, {L"sepwidth", L"4"}});
    CControlUI* inside = AddChild(*panel); // covers the strip: its events bubble up to the panel
    CControlUI* rest = AddChild(*root);
    ASSERT_TRUE(window.pm.AttachDialog(root));
    window.Paint();
    ASSERT_EQ(Pos(panel), "0,0,150,200");

    // Tracking mode: the layout stays until the button is released.
    window.Mouse(WM_LBUTTONDOWN, 148, 100, MK_LBUTTON);
    EXPECT_EQ(window.pm.GetPostPaintCount(), 1);
    window.Mouse(WM_MOUSEMOVE, 200, 100, MK_LBUTTON);
    window.Paint();
    EXPECT_EQ(Pos(panel), "0,0,150,200");
    EXPECT_EQ(Str(panel->GetThumbRect(true)), "198,0,202,200");
    window.Mouse(WM_LBUTTONUP, 200, 100);
    EXPECT_EQ(window.pm.GetPostPaintCount(), 0);
    window.Paint();
    EXPECT_EQ(Pos(panel), "0,0,202,200");
    EXPECT_EQ(Pos(inside), "0,0,202,200");
    EXPECT_EQ(Pos(rest), "202,0,400,200");

    // Immediate mode: the layout follows before the release.
    panel->SetAttribute(L"sepimm", L"true");
    window.Mouse(WM_LBUTTONDOWN, 200, 100, MK_LBUTTON);
    EXPECT_EQ(window.pm.GetPostPaintCount(), 0);
    window.Mouse(WM_MOUSEMOVE, 180, 100, MK_LBUTTON);
    window.Paint();
    EXPECT_EQ(Pos(rest), "182,0,400,200");
    window.Mouse(WM_LBUTTONUP, 180, 100);

    // Switching to immediate mode in the middle of a tracking drag ends the strip.
    panel->SetSepImmMode(false);
    window.Mouse(WM_LBUTTONDOWN, 180, 100, MK_LBUTTON);
    EXPECT_EQ(window.pm.GetPostPaintCount(), 1);
    panel->SetSepImmMode(true);
    EXPECT_EQ(window.pm.GetPostPaintCount(), 0);
    window.Mouse(WM_LBUTTONUP, 180, 100);
}

TEST(LayoutSeparatorWindow, ALayoutRemovedInTheMiddleOfADragLeavesNothingBehind)
{
    ManagerHarness::CTestWindow window(400, 200);
    auto* root = new CHorizontalLayoutUI;
    auto* panel = AddChild<CHorizontalLayoutUI>(*root, {{L"width", L"150"}, {L"sepwidth", L"4"}});
    AddChild(*root);
    ASSERT_TRUE(window.pm.AttachDialog(root));
    window.Paint();

    window.Mouse(WM_LBUTTONDOWN, 148, 100, MK_LBUTTON);
    window.Mouse(WM_MOUSEMOVE, 190, 100, MK_LBUTTON);
    ASSERT_EQ(window.pm.GetPostPaintCount(), 1);
    root->Remove(panel);
    window.Paint(); // still alive until the delayed clean-up: its strip may be drawn
    ManagerHarness::CTestWindow::Pump();
    EXPECT_EQ(window.pm.GetPostPaintCount(), 0);
    window.Mouse(WM_MOUSEMOVE, 210, 100, MK_LBUTTON);
    window.Mouse(WM_LBUTTONUP, 210, 100);
    window.Paint();
    EXPECT_EQ(root->GetCount(), 1);
    EXPECT_EQ(Pos(root->GetItemAt(0)), "0,0,400,200");
}
