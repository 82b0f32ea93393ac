// Containers: child ownership and clean-up, visibility and manager
// propagation, float placement, search order and hit testing, clipped painting
// and list changes made while painting.
#include <gtest/gtest.h>

#include "varnelui/control/UIContainer.h"
#include "varnelui/core/UIManager.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::DibSurface;
using VarnelTest::MakeEvent;
using VarnelTest::Str;

namespace {

// A child that reports its destruction, initialisation and painting.
class CTrackedUI : public CControlUI
{
public:
    explicit CTrackedUI(bool* pDestroyed = nullptr) : m_pDestroyed(pDestroyed) {}
    ~CTrackedUI() override
    {
        if (m_pDestroyed != nullptr) *m_pDestroyed = true;
    }

    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (bListItem && std::wcscmp(pstrName, L"ListItem") == 0) return this;
        return CControlUI::GetInterface(pstrName);
    }
    void DoInit() override
    {
        if (pInitOrder != nullptr) pInitOrder->push_back(this);
    }
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        ++paints;
        if (onPaint) {
            const auto hook = onPaint;
            hook();
        }
        CControlUI::DoPaint(hDC, rcPaint);
    }

    bool bListItem = false;
    std::vector<CControlUI*>* pInitOrder = nullptr;
    std::function<void()> onPaint;
    int paints = 0;

private:
    bool* m_pDestroyed;
};

// A container that records the events reaching its DoEvent.
class CRecordingContainerUI : public CContainerUI
{
public:
    void DoInit() override
    {
        if (pInitOrder != nullptr) pInitOrder->push_back(this);
    }
    void DoEvent(TEventUI& event) override
    {
        kinds.push_back(event.kind);
        CContainerUI::DoEvent(event);
    }
    std::vector<CControlUI*>* pInitOrder = nullptr;
    std::vector<int> kinds;
};

CTrackedUI* MakeFloat(SIZE xy, int cx, int cy)
{
    auto* p = new CTrackedUI;
    p->SetFloat(true);
    p->SetFixedXY(xy);
    p->SetFixedWidth(cx);
    p->SetFixedHeight(cy);
    return p;
}

CControlUI* CALLBACK FirstVisited(CControlUI* pControl, LPVOID)
{
    return pControl;
}

CControlUI* Hit(CContainerUI& c, int x, int y, UINT uFlags = FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST)
{
    POINT pt = {x, y};
    return c.FindControl(FirstVisited, &pt, uFlags);
}

} // namespace

// ---- children and ownership ---------------------------------------------------

TEST(ContainerChildren, ListOperationsAndBadArguments)
{
    CContainerUI box;
    auto* a = new CTrackedUI;
    auto* b = new CTrackedUI;
    auto* c = new CTrackedUI;
    CTrackedUI stranger;

    EXPECT_FALSE(box.Add(nullptr));
    EXPECT_TRUE(box.Add(a));
    EXPECT_TRUE(box.Add(b));
    EXPECT_TRUE(box.AddAt(c, 1));
    EXPECT_FALSE(box.AddAt(&stranger, 4));
    ASSERT_EQ(box.GetCount(), 3);
    EXPECT_EQ(box.GetItemAt(0), a);
    EXPECT_EQ(box.GetItemAt(1), c);
    EXPECT_EQ(box.GetItemAt(2), b);
    EXPECT_EQ(box.GetItemAt(-1), nullptr);
    EXPECT_EQ(box.GetItemAt(3), nullptr);
    EXPECT_EQ(box.GetItemIndex(b), 2);
    EXPECT_EQ(box.GetItemIndex(&stranger), -1);

    EXPECT_TRUE(box.SetItemIndex(b, 0));
    EXPECT_EQ(box.GetItemIndex(b), 0);
    EXPECT_EQ(box.GetItemIndex(a), 1);
    // Moving to an index that does not exist keeps the child where it was.
    EXPECT_FALSE(box.SetItemIndex(b, 7));
    EXPECT_EQ(box.GetCount(), 3);
    EXPECT_EQ(box.GetItemIndex(b), 0);
    EXPECT_FALSE(box.SetItemIndex(&stranger, 0));

    EXPECT_FALSE(box.Remove(nullptr));
    EXPECT_FALSE(box.Remove(&stranger));
    EXPECT_FALSE(box.RemoveAt(3));
    EXPECT_EQ(box.GetCount(), 3);
}

TEST(ContainerChildren, RemovalDestroysAtOnceWithoutManagerUnlessAutoDestroyIsOff)
{
    bool destroyed[4] = {};
    auto* box = new CContainerUI;
    for (bool& flag : destroyed) box->Add(new CTrackedUI(&flag));
    CControlUI* kept = box->GetItemAt(1);

    EXPECT_TRUE(box->IsDelayedDestroy());
    EXPECT_TRUE(box->RemoveAt(0));
    EXPECT_TRUE(destroyed[0]);

    box->SetAutoDestroy(false);
    EXPECT_TRUE(box->Remove(kept));
    EXPECT_FALSE(destroyed[1]);
    delete kept;

    box->SetAutoDestroy(true);
    ASSERT_EQ(box->GetCount(), 2);
    delete box;
    EXPECT_TRUE(destroyed[2]);
    EXPECT_TRUE(destroyed[3]);

    bool all[2] = {};
    CContainerUI other;
    other.Add(new CTrackedUI(&all[0]));
    other.Add(new CTrackedUI(&all[1]));
    other.RemoveAll();
    EXPECT_EQ(other.GetCount(), 0);
    EXPECT_TRUE(all[0] && all[1]);
}

TEST(ContainerChildren, DelayedDestroyWaitsForTheManagersCleanUp)
{
    ManagerHarness::CTestWindow window(200, 100);
    auto* root = new CContainerUI;
    ASSERT_TRUE(window.pm.AttachDialog(root));

    bool destroyed = false;
    auto* child = new CTrackedUI(&destroyed);
    child->SetName(L"kid");
    ASSERT_TRUE(root->Add(child));
    EXPECT_EQ(child->GetManager(), &window.pm);
    EXPECT_EQ(child->GetParent(), root);
    EXPECT_EQ(root->FindSubControl(L"kid"), child);
    EXPECT_TRUE(root->SetSubControlText(L"kid", L"hello"));
    EXPECT_TRUE(root->GetSubControlText(L"kid") == L"hello");
    EXPECT_TRUE(root->SetSubControlFixedWdith(L"kid", 44));
    EXPECT_EQ(root->GetSubControlFixedWdith(L"kid"), 44);
    EXPECT_EQ(root->GetSubControlFixedHeight(L"nobody"), -1);
    EXPECT_FALSE(root->SetSubControlUserData(L"nobody", L"x"));

    EXPECT_TRUE(root->Remove(child));
    EXPECT_EQ(root->GetCount(), 0);
    EXPECT_FALSE(destroyed);
    ManagerHarness::CTestWindow::Pump();
    EXPECT_TRUE(destroyed);

    bool now = false;
    root->Add(new CTrackedUI(&now));
    root->SetDelayedDestroy(false);
    root->RemoveAt(0);
    EXPECT_TRUE(now);
}

TEST(ContainerChildren, SubControlHelpersWithoutManagerFindNothing)
{
    CContainerUI box;
    auto* child = new CTrackedUI;
    child->SetName(L"kid");
    box.Add(child);
    EXPECT_EQ(box.FindSubControl(L"kid"), nullptr);
    EXPECT_FALSE(box.SetSubControlFixedHeight(L"kid", 3));
    EXPECT_TRUE(box.GetSubControlUserData(L"kid").IsEmpty());
}

// ---- propagation ----------------------------------------------------------------

TEST(ContainerPropagation, HiddenContainersHideTheirSubtree)
{
    CContainerUI outer;
    auto* inner = new CContainerUI;
    auto* leaf = new CTrackedUI;
    inner->Add(leaf);

    outer.SetVisible(false);
    outer.Add(inner);
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_FALSE(leaf->IsVisible());

    auto* late = new CTrackedUI;
    outer.Add(late);
    EXPECT_FALSE(late->IsVisible());

    outer.SetVisible(true);
    EXPECT_TRUE(inner->IsVisible());
    EXPECT_TRUE(leaf->IsVisible());
    EXPECT_TRUE(late->IsVisible());

    inner->SetVisible(false);
    EXPECT_FALSE(leaf->IsVisible());
    outer.SetVisible(false);
    outer.SetVisible(true);
    // Showing the outer container does not show what was hidden on its own.
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_FALSE(leaf->IsVisible());
    EXPECT_TRUE(late->IsVisible());
}

TEST(ContainerPropagation, SetManagerSetsParentsAndInitialisesChildrenFirst)
{
    std::vector<CControlUI*> order;
    CRecordingContainerUI outer;
    auto* inner = new CRecordingContainerUI;
    auto* leaf = new CTrackedUI;
    outer.pInitOrder = &order;
    inner->pInitOrder = &order;
    leaf->pInitOrder = &order;
    inner->Add(leaf);
    outer.Add(inner);

    outer.SetManager(nullptr, nullptr, true);
    EXPECT_EQ(leaf->GetParent(), inner);
    EXPECT_EQ(inner->GetParent(), &outer);
    // The outer container has no parent, so only the two below are initialised.
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], leaf);
    EXPECT_EQ(order[1], inner);
}

// ---- placement ------------------------------------------------------------------

TEST(ContainerLayout, PlainContainerGivesEveryChildTheInnerRectangle)
{
    CContainerUI box;
    auto* a = new CTrackedUI;
    auto* b = new CTrackedUI;
    auto* hidden = new CTrackedUI;
    hidden->SetVisible(false);
    box.Add(a);
    box.Add(b);
    box.Add(hidden);
    box.SetInset(RECT{5, 6, 7, 8});
    box.SetPos(RECT{10, 10, 110, 110});

    EXPECT_EQ(Str(a->GetPos()), "15,16,103,102");
    EXPECT_EQ(Str(b->GetPos()), "15,16,103,102");
    EXPECT_EQ(Str(hidden->GetPos()), "0,0,0,0");
}

TEST(ContainerLayout, FloatChildrenFromEitherEdgeIgnoreTheInset)
{
    CContainerUI box;
    CTrackedUI* farCorner = MakeFloat(SIZE{-10, -10}, 20, 20);
    CTrackedUI* nearCorner = MakeFloat(SIZE{5, 6}, 10, 12);
    box.Add(farCorner);
    box.Add(nearCorner);
    box.SetInset(RECT{30, 30, 30, 30});
    box.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Str(farCorner->GetPos()), "70,70,90,90");
    EXPECT_EQ(Str(nearCorner->GetPos()), "5,6,15,18");

    box.SetPos(RECT{50, 20, 250, 120});
    EXPECT_EQ(Str(farCorner->GetPos()), "220,90,240,110");
    EXPECT_EQ(Str(nearCorner->GetPos()), "55,26,65,38");
}

TEST(ContainerLayout, RelativeFloatFollowsTheParentsGrowthByPercent)
{
    // With a manager, each placement re-anchors the child, so relayouts at an
    // unchanged size leave it where the last change put it.
    ManagerHarness::CTestWindow window(300, 200);
    auto* root = new CContainerUI;
    window.pm.AttachDialog(root);
    CTrackedUI* child = MakeFloat(SIZE{10, 10}, 20, 20);
    child->SetAttribute(L"relativepos", L"50,0,0,100");
    root->Add(child);

    root->SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Str(child->GetPos()), "10,10,30,30"); // first placement only learns the size
    root->SetPos(RECT{0, 0, 140, 120});
    EXPECT_EQ(Str(child->GetPos()), "30,10,50,50");
    root->SetPos(RECT{0, 0, 140, 120});
    EXPECT_EQ(Str(child->GetPos()), "30,10,50,50");
    root->SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Str(child->GetPos()), "10,10,30,30");
}

// ---- search ---------------------------------------------------------------------

TEST(ContainerSearch, OrderFlagsAndHitTesting)
{
    CContainerUI box;
    auto* a = new CTrackedUI;
    auto* b = new CTrackedUI;
    CTrackedUI* badge = MakeFloat(SIZE{2, 2}, 6, 6);
    box.Add(a);
    box.Add(b);
    box.Add(badge);
    box.SetInset(RECT{10, 10, 10, 10});
    box.SetPos(RECT{0, 0, 100, 100});

    // Without a point: children before the container, unless it asks first.
    EXPECT_EQ(box.FindControl(FirstVisited, nullptr, FIND_ALL), a);
    EXPECT_EQ(box.FindControl(FirstVisited, nullptr, FIND_TOP_FIRST), badge);
    EXPECT_EQ(box.FindControl(FirstVisited, nullptr, FIND_ME_FIRST), &box);
    EXPECT_EQ(box.FindControl(FirstVisited, nullptr, FIND_HITTEST), nullptr); // a hit test needs a point

    // The later of two overlapping children is on top.
    EXPECT_EQ(Hit(box, 50, 50), b);
    EXPECT_EQ(Hit(box, 50, 50, FIND_VISIBLE | FIND_HITTEST), a);
    b->SetVisible(false);
    EXPECT_EQ(Hit(box, 50, 50), a);
    a->SetMouseEnabled(false);
    EXPECT_EQ(Hit(box, 50, 50), &box);
    a->SetMouseEnabled(true);

    // The inset belongs to the container; a float child there is still hit.
    EXPECT_EQ(Hit(box, 5, 50), &box);
    EXPECT_EQ(Hit(box, 4, 4), badge);
    EXPECT_EQ(Hit(box, 100, 50), nullptr);

    // A child reaching into the inset is not hit there: it lies outside the content.
    a->SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Hit(box, 95, 95), &box);

    box.SetMouseChildEnabled(false);
    EXPECT_EQ(Hit(box, 50, 50), &box);
    EXPECT_EQ(Hit(box, 4, 4), &box);

    box.SetVisible(false);
    EXPECT_EQ(Hit(box, 50, 50), nullptr);
    EXPECT_EQ(box.FindControl(FirstVisited, nullptr, FIND_ALL), a);
}

TEST(ContainerSearch, FindSelectableSkipsWhatIsNotASelectableListItem)
{
    CContainerUI box;
    EXPECT_EQ(box.FindSelectable(0, true), -1);

    // plain, item (hidden), item, plain, item (disabled), item
    const bool isItem[] = {false, true, true, false, true, true};
    for (bool item : isItem) {
        auto* p = new CTrackedUI;
        p->bListItem = item;
        box.Add(p);
    }
    box.GetItemAt(1)->SetVisible(false);
    box.GetItemAt(4)->SetEnabled(false);

    EXPECT_EQ(box.FindSelectable(0, true), 2);
    EXPECT_EQ(box.FindSelectable(-3, true), 2);
    EXPECT_EQ(box.FindSelectable(3, true), 5);
    EXPECT_EQ(box.FindSelectable(99, true), 5);
    EXPECT_EQ(box.FindSelectable(4, false), 2);
    // Nothing at or below 1: the search turns forward from the start.
    EXPECT_EQ(box.FindSelectable(1, false), 2);

    box.GetItemAt(5)->SetEnabled(false);
    EXPECT_EQ(box.FindSelectable(3, true), -1);
}

// ---- events and attributes ------------------------------------------------------

TEST(ContainerEvents, FocusIsKeptAndMouseEventsOfAMouseDisabledContainerGoUp)
{
    CRecordingContainerUI outer;
    auto* inner = new CRecordingContainerUI;
    outer.Add(inner);
    outer.SetManager(nullptr, nullptr, false);

    TEventUI focus = MakeEvent(EVT_SETFOCUS);
    inner->Event(focus);
    EXPECT_TRUE(inner->IsFocused());
    TEventUI blur = MakeEvent(EVT_KILLFOCUS);
    inner->Event(blur);
    EXPECT_FALSE(inner->IsFocused());
    EXPECT_TRUE(outer.kinds.empty());

    inner->SetMouseEnabled(false);
    TEventUI down = MakeEvent(EVT_BUTTONDOWN);
    inner->Event(down);
    // Without scroll bars the keys and the wheel are not swallowed either.
    TEventUI key = MakeEvent(EVT_KEYDOWN);
    key.keyChar = VK_DOWN;
    inner->Event(key);
    TEventUI wheel = MakeEvent(EVT_SCROLLWHEEL, 1);
    inner->SetMouseEnabled(true);
    inner->Event(wheel);
    EXPECT_EQ(outer.kinds, (std::vector<int>{EVT_BUTTONDOWN, EVT_KEYDOWN, EVT_SCROLLWHEEL}));
}

TEST(ContainerAttributes, OwnNamesFirstThenTheControlsTable)
{
    CContainerUI box;
    EXPECT_STREQ(box.GetClass(), L"ContainerUI");
    EXPECT_EQ(box.GetInterface(L"Container"), &box);
    EXPECT_EQ(box.GetInterface(L"IContainer"), static_cast<IContainerUI*>(&box));
    EXPECT_EQ(box.GetInterface(L"Control"), &box);
    EXPECT_EQ(box.GetInterface(L"Button"), nullptr);

    box.SetAttribute(L"inset", L"1,2,3,4");
    box.SetAttribute(L"childpadding", L"7");
    box.SetAttribute(L"mousechild", L"false");
    box.SetAttribute(L"name", L"box");
    box.SetAttribute(L"width", L"30");
    box.SetAttribute(L"Inset", L"9,9,9,9");
    box.SetAttribute(L"vscrollbar", L"false");
    box.SetAttribute(L"hscrollbar", L"false");

    EXPECT_EQ(Str(box.GetInset()), "1,2,3,4");
    EXPECT_EQ(box.GetChildPadding(), 7);
    EXPECT_FALSE(box.IsMouseChildEnabled());
    EXPECT_TRUE(box.GetName() == L"box");
    EXPECT_EQ(box.GetFixedWidth(), 30);
    EXPECT_EQ(box.GetVerticalScrollBar(), nullptr);
    EXPECT_EQ(box.GetHorizontalScrollBar(), nullptr);
    EXPECT_EQ(box.GetScrollPos().cy, 0);
}

// ---- painting -------------------------------------------------------------------

TEST(ContainerPaint, ChildrenAreClippedToTheContentFloatsToTheItem)
{
    constexpr DWORD kWhite = 0xFFFFFF;
    DibSurface surface(130, 130, kWhite);
    CContainerUI box;
    auto* red = new CTrackedUI;
    red->SetBkColor(0xFFFF0000);
    CTrackedUI* blue = MakeFloat(SIZE{0, 0}, 15, 15);
    blue->SetBkColor(0xFF0000FF);
    CTrackedUI* spill = MakeFloat(SIZE{90, 90}, 30, 30);
    spill->SetBkColor(0xFF00FF00);
    box.Add(red);
    box.Add(blue);
    box.Add(spill);
    box.SetInset(RECT{10, 10, 10, 10});
    box.SetPos(RECT{10, 10, 110, 110});
    EXPECT_EQ(Str(blue->GetPos()), "10,10,25,25");
    red->SetPos(RECT{0, 0, 130, 130}); // larger than the container

    const RECT all = {0, 0, 130, 130};
    box.DoPaint(surface.dc(), all);
    EXPECT_EQ(surface.At(5, 5), kWhite);        // outside the container
    EXPECT_EQ(surface.At(15, 60), kWhite);      // in the inset
    EXPECT_EQ(surface.At(60, 60), 0xFF0000u);   // content
    EXPECT_EQ(surface.At(12, 12), 0x0000FFu);   // float child over the inset
    EXPECT_EQ(surface.At(22, 22), 0x0000FFu);   // painted after the red child
    EXPECT_EQ(surface.At(105, 105), 0x00FF00u); // float child up to the item's edge
    EXPECT_EQ(surface.At(112, 112), kWhite);    // but not past it

    // A dirty area that misses the content repaints only what floats.
    surface.Fill(kWhite);
    const int redPaints = red->paints;
    const RECT corner = {10, 10, 20, 20};
    box.DoPaint(surface.dc(), corner);
    EXPECT_EQ(red->paints, redPaints);
    EXPECT_EQ(surface.At(12, 12), 0x0000FFu);
    EXPECT_EQ(surface.At(60, 60), kWhite);
}

TEST(ContainerPaint, ChildrenMayChangeTheListWhileTheyArePainted)
{
    DibSurface surface(50, 50);
    CContainerUI box;
    bool destroyed[3] = {};
    auto* first = new CTrackedUI(&destroyed[0]);
    auto* second = new CTrackedUI(&destroyed[1]);
    auto* third = new CTrackedUI(&destroyed[2]);
    box.Add(first);
    box.Add(second);
    box.Add(third);
    box.SetPos(RECT{0, 0, 50, 50});

    // The first child takes itself and the last one away, and adds a newcomer.
    bool aliveWhilePainting = false;
    bool thirdPainted = false;
    third->onPaint = [&] { thirdPainted = true; };
    first->onPaint = [&] {
        box.Remove(third);
        box.Remove(first);
        aliveWhilePainting = !destroyed[0] && !destroyed[2];
        box.Add(new CTrackedUI);
    };
    const RECT all = {0, 0, 50, 50};
    box.DoPaint(surface.dc(), all);

    EXPECT_TRUE(aliveWhilePainting);
    EXPECT_TRUE(destroyed[0]);
    EXPECT_TRUE(destroyed[2]);
    EXPECT_FALSE(destroyed[1]);
    EXPECT_FALSE(thirdPainted);
    ASSERT_EQ(box.GetCount(), 2);
    EXPECT_EQ(box.GetItemAt(0), second);

    // Painting again is just as safe, and the survivors are painted.
    box.SetPos(RECT{0, 0, 50, 50});
    const int before = second->paints;
    box.DoPaint(surface.dc(), all);
    EXPECT_EQ(second->paints, before + 1);
}
