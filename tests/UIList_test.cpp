// Lists in a real window, driven by mouse, wheel and key messages: selection
// and its notifications, keyboard and wheel moves, the selection through
// removals and inserts, a header column dragged wider, callback texts and
// links in multi-column rows.
#include <gtest/gtest.h>

#include "varnelui/control/UIList.h"
#include "varnelui/control/UIListBody.h"
#include "varnelui/control/UIListHeader.h"
#include "varnelui/control/UIListHeaderItem.h"
#include "varnelui/control/UIListLabelElement.h"
#include "varnelui/control/UIListTextElement.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"

#include <string>
#include <utility>
#include <vector>

using namespace VarnelUI;
using ManagerHarness::CNotifyRecorder;
using ManagerHarness::CTestWindow;
using VarnelTest::DibSurface;

namespace {

constexpr int kRowHeight = 20;
constexpr int kHeaderHeight = 24;

// A list of label rows, each 20 pixels high, under a three-column header,
// built from a skin into a 300 x 200 window.
std::wstring ListSkin(int nRows, const std::wstring& listAttributes)
{
    std::wstring skin = L"<Window><List name=\"list\" bkcolor=\"#FFFFFFFF\" " + listAttributes +
                        L"><ListHeader height=\"24\"><ListHeaderItem text=\"A\" width=\"100\"/>"
                        L"<ListHeaderItem text=\"B\" width=\"100\"/><ListHeaderItem text=\"C\" width=\"100\"/>"
                        L"</ListHeader>";
    for (int i = 0; i < nRows; ++i)
        skin += L"<ListLabelElement height=\"20\" text=\"row " + std::to_wstring(i) + L"\"/>";
    return skin + L"</List></Window>";
}

struct TListWindow
{
    explicit TListWindow(const std::wstring& skin)
    {
        CDialogBuilder builder;
        CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &wnd.pm);
        list = root != nullptr ? static_cast<CListUI*>(root->GetInterface(L"List")) : nullptr;
        wnd.pm.AttachDialog(root);
        wnd.pm.AddNotifier(&notes);
        wnd.Paint();
    }
    // The centre of row i as laid out now.
    POINT RowCentre(int i) const
    {
        const RECT& rc = list->GetItemAt(i)->GetPos();
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    void ClickRow(int i)
    {
        const POINT pt = RowCentre(i);
        wnd.Click(pt.x, pt.y);
    }
    void Key(UINT vk) { wnd.Send(WM_KEYDOWN, vk); }
    void Wheel(bool bDown)
    {
        const POINT pt = wnd.ToScreen(150, 100);
        wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, bDown ? -WHEEL_DELTA : WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    }
    // Notifications as "type(wParam,lParam)" since the last call.
    std::vector<std::string> TakeNotes()
    {
        std::vector<std::string> out;
        for (const TNotifyUI& msg : notes.seen) {
            if (msg.type == L"setfocus" || msg.type == L"killfocus" || msg.type == L"windowinit") continue;
            const CUIString& t = msg.type;
            out.push_back(std::string(t.GetData(), t.GetData() + t.GetLength()) + "(" + std::to_string(msg.wParam) +
                          "," + std::to_string(static_cast<int>(msg.lParam)) + ")");
        }
        notes.seen.clear();
        return out;
    }
    int BodyBottom() const { return list->GetList()->GetPos().bottom; }

    CTestWindow wnd{300, 200};
    CNotifyRecorder notes;
    CListUI* list = nullptr;
};

using Notes = std::vector<std::string>;

} // namespace

TEST(List, HeaderAndBodyAreItsOwnChildrenAndColumnsAreCapped)
{
    TListWindow w(ListSkin(3, L""));
    ASSERT_NE(w.list, nullptr);
    EXPECT_EQ(w.list->CVerticalLayoutUI::GetItemAt(0), w.list->GetHeader());
    EXPECT_EQ(w.list->CVerticalLayoutUI::GetItemAt(1), w.list->GetList());
    EXPECT_EQ(w.list->GetCount(), 3);
    EXPECT_EQ(w.list->GetListInfo()->nColumns, 3);
    EXPECT_EQ(w.list->GetListInfo()->rcColumn[1].left, 100);

    for (int i = 0; i < 40; ++i) w.list->Add(new CListHeaderItemUI);
    EXPECT_EQ(w.list->GetHeader()->GetCount(), 43);
    EXPECT_EQ(w.list->GetListInfo()->nColumns, TListInfoUI::kMaxColumns);

    // Without its header the list keeps working, with no columns.
    ASSERT_TRUE(w.list->Remove(w.list->GetHeader()));
    EXPECT_EQ(w.list->GetHeader(), nullptr);
    w.wnd.Paint();
    EXPECT_EQ(w.list->GetListInfo()->nColumns, 0);
    CListHeaderItemUI orphan;
    EXPECT_FALSE(w.list->Add(&orphan));

    // A label row without a fixed width measures its text plus the padding;
    // an empty text needs no room at all.
    auto* label = new CListLabelElementUI;
    w.list->Add(label);
    w.list->SetItemTextPadding(RECT{3, 0, 5, 0});
    EXPECT_EQ(label->EstimateSize(SIZE{300, 200}).cx, 8);
    label->SetText(L"some words");
    EXPECT_GT(label->EstimateSize(SIZE{300, 200}).cx, 30);
    EXPECT_LT(label->EstimateSize(SIZE{300, 200}).cx, 200);
}

TEST(List, ClicksSelectDoubleClicksAndEnterActivate)
{
    TListWindow w(ListSkin(6, L""));
    w.ClickRow(1);
    w.TakeNotes();
    w.ClickRow(3);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemclick(0,0)", "itemselect(3,1)"}));
    EXPECT_EQ(w.list->GetCurSel(), 3);
    auto* row3 = static_cast<IListItemUI*>(w.list->GetItemAt(3)->GetInterface(L"ListItem"));
    EXPECT_TRUE(row3->IsSelected());
    EXPECT_EQ(w.wnd.pm.GetFocus(), w.list->GetItemAt(3));

    const POINT pt = w.RowCentre(3);
    w.wnd.Mouse(WM_LBUTTONDBLCLK, pt.x, pt.y, MK_LBUTTON);
    w.wnd.Mouse(WM_LBUTTONUP, pt.x, pt.y);
    w.Key(VK_RETURN);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemactivate(0,0)", "itemactivate(0,0)"}));

    // A disabled row takes no click, and hiding the selected row clears the selection.
    w.list->GetItemAt(4)->SetEnabled(false);
    w.ClickRow(4);
    EXPECT_EQ(w.list->GetCurSel(), 3);
    w.list->GetItemAt(3)->SetVisible(false);
    EXPECT_EQ(w.list->GetCurSel(), -1);
    EXPECT_FALSE(row3->IsSelected());
}

TEST(List, RowsFromTheSkinCarryTheirColumnTextsAndTheSelection)
{
    // The header comes first, so a text row knows its three columns when
    // its attributes are read.
    std::wstring skin = ListSkin(0, L"");
    skin.insert(skin.find(L"</List>"), L"<ListTextElement texts=\"one|two|three|four\"/>"
                                       L"<ListTextElement texts=\"|middle\" enabled=\"false\" selected=\"true\"/>"
                                       L"<ListContainerElement height=\"20\"/>"
                                       L"<ListTextElement texts=\"last\" selected=\"true\"/>");
    TListWindow w(skin);
    ASSERT_EQ(w.list->GetCount(), 4);
    auto* first = static_cast<CListTextElementUI*>(w.list->GetItemAt(0));
    auto* second = static_cast<CListTextElementUI*>(w.list->GetItemAt(1));
    EXPECT_STREQ(first->GetText(0), L"one");
    EXPECT_STREQ(first->GetText(2), L"three");
    EXPECT_EQ(first->GetText(3), nullptr);
    EXPECT_EQ(second->GetText(0), nullptr);
    EXPECT_STREQ(second->GetText(1), L"middle");
    // The disabled row cannot be selected; the last row is.
    EXPECT_FALSE(second->IsSelected());
    EXPECT_EQ(w.list->GetCurSel(), 3);

    // A shorter value takes the texts of the columns it has no part for.
    first->SetAttribute(L"texts", L"uno");
    EXPECT_STREQ(first->GetText(0), L"uno");
    EXPECT_EQ(first->GetText(1), nullptr);

    // The attribute moves the list's selection like a click, and unselecting
    // the selected row leaves the list without one.
    w.TakeNotes();
    CControlUI* container = w.list->GetItemAt(2);
    container->SetAttribute(L"selected", L"true");
    EXPECT_EQ(w.list->GetCurSel(), 2);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemselect(2,3)"}));
    container->SetAttribute(L"selected", L"false");
    EXPECT_EQ(w.list->GetCurSel(), -1);
    EXPECT_FALSE(static_cast<IListItemUI*>(container->GetInterface(L"ListItem"))->IsSelected());
}

TEST(List, KeysMoveTheSelectionAndEndScrollsTheLastSelectableRowIntoView)
{
    TListWindow w(ListSkin(30, L"vscrollbar=\"true\""));
    w.list->GetItemAt(29)->SetEnabled(false);
    w.ClickRow(0);
    w.TakeNotes();

    w.Key(VK_DOWN);
    w.Key(VK_DOWN);
    w.Key(VK_UP);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemselect(1,0)", "itemselect(2,1)", "itemselect(1,2)"}));
    EXPECT_EQ(w.wnd.pm.GetFocus(), w.list->GetItemAt(1));

    // The last row is disabled: End goes to the one before it, and Down
    // from there keeps the selection.
    w.Key(VK_END);
    EXPECT_EQ(w.list->GetCurSel(), 28);
    EXPECT_EQ(w.list->GetItemAt(28)->GetPos().bottom, w.BodyBottom());
    EXPECT_EQ(w.list->GetScrollPos().cy, 29 * kRowHeight - (w.BodyBottom() - kHeaderHeight));
    w.Key(VK_DOWN);
    EXPECT_EQ(w.list->GetCurSel(), 28);

    w.Key(VK_HOME);
    EXPECT_EQ(w.list->GetCurSel(), 0);
    EXPECT_EQ(w.list->GetScrollPos().cy, 0);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemselect(28,1)", "itemselect(0,28)"}));
}

TEST(List, TheWheelScrollsOrWithScrollSelectMovesTheSelection)
{
    TListWindow w(ListSkin(30, L"vscrollbar=\"true\""));
    w.Wheel(true);
    const LONG cyLine = w.list->GetScrollPos().cy;
    EXPECT_GT(cyLine, 0);
    w.Wheel(true);
    w.Wheel(false);
    EXPECT_EQ(w.list->GetScrollPos().cy, cyLine);
    EXPECT_EQ(w.list->GetCurSel(), -1);

    TListWindow s(ListSkin(30, L"vscrollbar=\"true\" scrollselect=\"true\""));
    s.Wheel(true);
    s.Wheel(true);
    s.Wheel(false);
    EXPECT_EQ(s.TakeNotes(), (Notes{"itemselect(0,-1)", "itemselect(1,0)", "itemselect(0,1)"}));
    EXPECT_EQ(s.list->GetScrollPos().cy, 0);
}

TEST(List, RemovingAndInsertingKeepTheSelection)
{
    TListWindow w(ListSkin(8, L""));
    w.ClickRow(5);
    CControlUI* row6 = w.list->GetItemAt(6);
    w.TakeNotes();

    // The row now at the removed position takes over, without the focus.
    ASSERT_TRUE(w.list->RemoveAt(5));
    EXPECT_EQ(w.list->GetCurSel(), 5);
    EXPECT_EQ(w.list->GetItemAt(5), row6);
    EXPECT_NE(w.wnd.pm.GetFocus(), row6);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemselect(5,-1)"}));
    EXPECT_EQ(static_cast<IListItemUI*>(row6->GetInterface(L"ListItem"))->GetIndex(), 5);

    // When that row cannot be selected, the nearest one before it is.
    w.list->GetItemAt(6)->SetEnabled(false);
    ASSERT_TRUE(w.list->Remove(row6));
    EXPECT_EQ(w.list->GetCurSel(), 4);

    // Rows inserted or removed before the selection shift it.
    auto* inserted = new CListLabelElementUI;
    ASSERT_TRUE(w.list->AddAt(inserted, 1));
    EXPECT_EQ(w.list->GetCurSel(), 5);
    EXPECT_EQ(inserted->GetIndex(), 1);
    EXPECT_EQ(static_cast<IListItemUI*>(w.list->GetItemAt(5)->GetInterface(L"ListItem"))->GetIndex(), 5);
    ASSERT_TRUE(w.list->RemoveAt(0));
    EXPECT_EQ(w.list->GetCurSel(), 4);
    ASSERT_TRUE(w.list->SetItemIndex(w.list->GetItemAt(4), 0));
    EXPECT_EQ(w.list->GetCurSel(), 0);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemselect(4,-1)"}));
}

namespace {

// The leftmost dark pixel in x range [from, to) of the row's rectangle, or -1.
int FirstInk(const DibSurface& dib, const RECT& rcRow, int from, int to)
{
    for (int x = from; x < to; ++x)
        for (int y = rcRow.top; y < rcRow.bottom; ++y)
            if ((dib.At(x, y) & 0xFF) < 0x80) return x;
    return -1;
}

class CRecordingCallback : public IListCallbackUI
{
public:
    LPCWSTR GetItemText(CControlUI*, int iItem, int iSubItem) override
    {
        calls.emplace_back(iItem, iSubItem);
        texts.push_back(L"W" + std::to_wstring(iItem) + L"." + std::to_wstring(iSubItem));
        return texts.back().c_str();
    }
    std::vector<std::pair<int, int>> calls;
    std::vector<std::wstring> texts;
};

// Tells where its links were drawn.
class CLinkRowUI : public CListTextElementUI
{
public:
    POINT LinkCentre(int i) const
    {
        return POINT{(m_rcLinks[i].left + m_rcLinks[i].right) / 2, (m_rcLinks[i].top + m_rcLinks[i].bottom) / 2};
    }
};

} // namespace

TEST(List, DraggingAHeaderSeparatorWidensItsColumnAndMovesEveryRow)
{
    TListWindow w(L"<Window><List bkcolor=\"#FFFFFFFF\" itemtextpadding=\"4,0,4,0\"><ListHeader height=\"24\">"
                  L"<ListHeaderItem text=\"A\" width=\"100\"/><ListHeaderItem text=\"B\" width=\"100\"/>"
                  L"</ListHeader></List></Window>");
    CRecordingCallback callback;
    w.list->SetTextCallback(&callback);
    for (int i = 0; i < 5; ++i) w.list->Add(new CListTextElementUI);
    w.wnd.Paint();

    const auto firstInkPerRow = [&] {
        DibSurface dib{300, 200, 0xFFFFFF};
        w.wnd.pm.GetRoot()->DoPaint(dib.dc(), RECT{0, 0, 300, 200});
        std::vector<int> xs;
        for (int i = 0; i < 5; ++i) xs.push_back(FirstInk(dib, w.list->GetItemAt(i)->GetPos(), 100, 300));
        return xs;
    };
    const std::vector<int> before = firstInkPerRow();
    ASSERT_GE(before[0], 104);

    // Grab the strip at the right edge of column A and drag it 40 pixels
    // right: the column follows live, before the button is released.
    w.wnd.Mouse(WM_LBUTTONDOWN, 98, 12, MK_LBUTTON);
    w.wnd.Mouse(WM_MOUSEMOVE, 138, 12, MK_LBUTTON);
    w.wnd.Paint();
    EXPECT_EQ(w.list->GetListInfo()->rcColumn[0].right, 140);
    w.wnd.Mouse(WM_LBUTTONUP, 138, 12);
    w.wnd.Paint();
    EXPECT_EQ(w.list->GetHeader()->GetItemAt(0)->GetFixedWidth(), 140);
    EXPECT_EQ(w.list->GetListInfo()->rcColumn[1].left, 140);
    std::vector<int> expected = before;
    for (int& x : expected) x += 40;
    EXPECT_EQ(firstInkPerRow(), expected);
    EXPECT_EQ(w.TakeNotes(), Notes{});

    // Narrower than the column's minimum width does nothing.
    w.wnd.Mouse(WM_LBUTTONDOWN, 138, 12, MK_LBUTTON);
    w.wnd.Mouse(WM_MOUSEMOVE, 10, 12, MK_LBUTTON);
    w.wnd.Mouse(WM_LBUTTONUP, 10, 12);
    w.wnd.Paint();
    EXPECT_EQ(w.list->GetListInfo()->rcColumn[0].right, 140);
}

TEST(List, TextRowsShowCallbackTextsPerColumn)
{
    TListWindow w(ListSkin(0, L""));
    CRecordingCallback callback;
    w.list->SetTextCallback(&callback);
    for (int i = 0; i < 3; ++i) w.list->Add(new CListTextElementUI);
    w.wnd.Paint();

    EXPECT_EQ(callback.calls, (std::vector<std::pair<int, int>>{
                                  {0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}));
    DibSurface dib{300, 200, 0xFFFFFF};
    w.wnd.pm.GetRoot()->DoPaint(dib.dc(), RECT{0, 0, 300, 200});
    const RECT& rcRow = w.list->GetItemAt(1)->GetPos();
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        const int x = FirstInk(dib, rcRow, column * 100, column * 100 + 100);
        EXPECT_GE(x, column * 100);
        EXPECT_LT(x, column * 100 + 20);
    }

    // Without a callback the stored texts show, and only for real columns.
    w.list->SetTextCallback(nullptr);
    auto* row = static_cast<CListTextElementUI*>(w.list->GetItemAt(0));
    row->SetText(1, L"stored");
    row->SetText(3, L"beyond");
    EXPECT_STREQ(row->GetText(1), L"stored");
    EXPECT_EQ(row->GetText(0), nullptr);
    EXPECT_EQ(row->GetText(3), nullptr);
}

TEST(List, LinksInTextRowsSendLink)
{
    TListWindow w(ListSkin(0, L"itemshowhtml=\"true\""));
    auto* row = new CLinkRowUI;
    w.list->Add(row);
    row->SetText(0, L"<a first>one</a>");
    row->SetText(1, L"<a second>two</a> <a third>three</a>");
    w.wnd.Paint();
    ASSERT_NE(row->GetLinkContent(2), nullptr);
    EXPECT_EQ(*row->GetLinkContent(1), L"second");
    EXPECT_EQ(row->GetLinkContent(3), nullptr);
    EXPECT_EQ(row->GetControlFlags() & CTRLFLAG_SETCURSOR, static_cast<UINT>(CTRLFLAG_SETCURSOR));
    w.TakeNotes();

    const POINT pt = row->LinkCentre(1);
    w.wnd.Click(pt.x, pt.y);
    EXPECT_EQ(w.TakeNotes(), (Notes{"itemclick(0,0)", "itemselect(0,-1)", "link(1,0)"}));
}
