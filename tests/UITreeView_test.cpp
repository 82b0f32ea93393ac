// Tree views built from skin XML in a real window: rows in depth-first order
// with deeper indents, collapsing and expanding by the folder buttons and by
// double clicks, recursive check boxes, removing and inserting subtrees, and
// the dialog builder's tree-node rule.
#include <gtest/gtest.h>

#include "varnelui/control/UICheckBox.h"
#include "varnelui/control/UIHorizontalLayout.h"
#include "varnelui/control/UILabel.h"
#include "varnelui/control/UIListHeader.h"
#include "varnelui/control/UITreeNode.h"
#include "varnelui/control/UITreeView.h"
#include "varnelui/control/UIVerticalLayout.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/ManagerHarness.h"

#include <memory>
#include <string>

using namespace VarnelUI;
using ManagerHarness::CTestWindow;

namespace {

// A with children A1 (holding A1a) and A2 (with a label in its row), then B.
constexpr wchar_t kTreeSkin[] =
    L"<Window><TreeView name=\"tree\" visiblecheckbtn=\"true\" selitemtextcolor=\"#FF0000FF\">"
    L"<TreeNode name=\"A\" text=\"A\"><TreeNode name=\"A1\" text=\"A1\"><TreeNode name=\"A1a\" text=\"A1a\"/>"
    L"</TreeNode><TreeNode name=\"A2\" text=\"A2\"><Label name=\"badge\" text=\"!\" width=\"10\"/></TreeNode>"
    L"</TreeNode><TreeNode name=\"B\" text=\"B\"/></TreeView></Window>";

struct TTreeWindow
{
    explicit TTreeWindow(LPCWSTR pstrSkin = kTreeSkin)
    {
        CDialogBuilder builder;
        tree = static_cast<CTreeViewUI*>(builder.Create(pstrSkin, nullptr, nullptr, &wnd.pm));
        wnd.pm.AttachDialog(tree);
        wnd.Paint();
    }
    CTreeNodeUI* Node(LPCWSTR pstrName) const { return static_cast<CTreeNodeUI*>(wnd.pm.FindControl(pstrName)); }
    // The rows' item texts, hidden rows in brackets.
    std::wstring Rows() const
    {
        std::wstring rows;
        for (int i = 0; i < tree->GetCount(); ++i) {
            auto* pNode = static_cast<CTreeNodeUI*>(tree->GetItemAt(i));
            const std::wstring text = pNode->GetItemText().GetData();
            rows += (rows.empty() ? L"" : L" ") + (pNode->IsVisible() ? text : L"(" + text + L")");
        }
        return rows;
    }
    void Click(const CControlUI* pControl)
    {
        wnd.Paint();
        const RECT& rc = pControl->GetPos();
        wnd.Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        wnd.Paint();
    }
    void DoubleClick(const CControlUI* pControl)
    {
        wnd.Paint();
        const RECT& rc = pControl->GetPos();
        const int x = (rc.left + rc.right) / 2;
        const int y = (rc.top + rc.bottom) / 2;
        wnd.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        wnd.Mouse(WM_LBUTTONUP, x, y);
        wnd.Mouse(WM_LBUTTONDBLCLK, x, y, MK_LBUTTON);
        wnd.Mouse(WM_LBUTTONUP, x, y);
        wnd.Paint();
    }

    CTestWindow wnd{300, 200};
    CTreeViewUI* tree = nullptr;
};

} // namespace

TEST(TreeView, NodesBuildAsDepthFirstRowsIndentedSixteenPixelsPerLevel)
{
    TTreeWindow w;
    ASSERT_NE(w.tree, nullptr);
    EXPECT_EQ(w.Rows(), L"A A1 A1a A2 B");
    EXPECT_FALSE(w.tree->GetHeader()->IsVisible());

    const LPCWSTR names[] = {L"A", L"A1", L"A1a", L"A2", L"B"};
    const int widths[] = {2, 18, 34, 18, 2};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        CTreeNodeUI* pNode = w.Node(names[i]);
        ASSERT_NE(pNode, nullptr);
        EXPECT_EQ(pNode->GetTreeIndex(), i);
        EXPECT_EQ(pNode->GetDottedLine()->GetFixedWidth(), widths[i]);
        EXPECT_TRUE(pNode->GetCheckBox()->IsVisible());
    }
    // The top level's line takes no room; each level below starts 16 pixels further right.
    const auto folderLeft = [&](LPCWSTR name) { return w.Node(name)->GetFolderButton()->GetPos().left; };
    EXPECT_EQ(folderLeft(L"A1") - folderLeft(L"A"), 18);
    EXPECT_EQ(folderLeft(L"A1a") - folderLeft(L"A1"), 16);
    EXPECT_EQ(folderLeft(L"B"), folderLeft(L"A"));

    EXPECT_EQ(w.Node(L"A1a")->GetParentNode(), w.Node(L"A1"));
    EXPECT_EQ(w.Node(L"A2")->GetNodeIndex(), 1);
    EXPECT_EQ(w.Node(L"B")->GetNodeIndex(), 4);
    EXPECT_EQ(w.Node(L"A")->GetLastNode(), w.Node(L"A2"));
    // Other controls inside a node go into its row, after the item text.
    CHorizontalLayoutUI* pRow = w.Node(L"A2")->GetTreeNodeHoriznotal();
    ASSERT_EQ(pRow->GetCount(), 5);
    EXPECT_EQ(pRow->GetItemAt(4), w.wnd.pm.FindControl(L"badge"));

    // A tree node under a parent that is neither node nor view ends its level.
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> layout(builder.Create(
        L"<Window><VerticalLayout><Label name=\"a\"/><TreeNode/><Label name=\"b\"/></VerticalLayout></Window>", nullptr,
        nullptr, nullptr));
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(static_cast<CVerticalLayoutUI*>(layout.get())->GetCount(), 1);
}

TEST(TreeView, FolderButtonsAndDoubleClicksCollapseAndExpandSubtrees)
{
    TTreeWindow w;
    w.Click(w.Node(L"A1")->GetFolderButton());
    EXPECT_EQ(w.Rows(), L"A A1 (A1a) A2 B");
    w.Click(w.Node(L"A")->GetFolderButton());
    EXPECT_EQ(w.Rows(), L"A (A1) (A1a) (A2) B");
    // Expanding shows the children, but A1 stays collapsed.
    w.Click(w.Node(L"A")->GetFolderButton());
    EXPECT_EQ(w.Rows(), L"A A1 (A1a) A2 B");
    EXPECT_TRUE(w.Node(L"A")->GetVisibleTag());

    // A double click on a row's text toggles its folder button.
    w.DoubleClick(w.Node(L"A1")->GetItemButton());
    EXPECT_FALSE(w.Node(L"A1")->GetFolderButton()->IsSelected());
    EXPECT_EQ(w.Rows(), L"A A1 A1a A2 B");
    w.DoubleClick(w.Node(L"A")->GetItemButton());
    EXPECT_EQ(w.Rows(), L"A (A1) (A1a) (A2) B");
    EXPECT_FALSE(w.Node(L"A")->GetVisibleTag());

    // The clicks selected the row, whose text took the selected colour.
    EXPECT_EQ(w.tree->GetCurSel(), 0);
    EXPECT_EQ(w.Node(L"A")->GetItemButton()->GetTextColor(), 0xFF0000FFU);
}

TEST(TreeView, ANestedNodeCollapsedByTheSkinStartsWithItsRowsHidden)
{
    // A1's folder button is checked while A1 is only A's child, before
    // either is in the view.
    std::wstring skin = kTreeSkin;
    const std::wstring a1 = L"text=\"A1\"";
    skin.replace(skin.find(a1), a1.size(), L"text=\"A1\" folderattr=\"selected=&quot;true&quot;\"");
    TTreeWindow w(skin.c_str());
    EXPECT_EQ(w.Rows(), L"A A1 (A1a) A2 B");
    EXPECT_FALSE(w.Node(L"A1")->GetVisibleTag());

    w.Click(w.Node(L"A1")->GetFolderButton());
    EXPECT_EQ(w.Rows(), L"A A1 A1a A2 B");
}

TEST(TreeView, CheckingANodeChecksItsWholeSubtree)
{
    TTreeWindow w;
    w.Click(w.Node(L"A")->GetCheckBox());
    for (LPCWSTR name : {L"A", L"A1", L"A1a", L"A2"}) EXPECT_TRUE(w.Node(name)->GetCheckBox()->GetCheck()) << name;
    EXPECT_FALSE(w.Node(L"B")->GetCheckBox()->GetCheck());
    w.Click(w.Node(L"A1")->GetCheckBox());
    EXPECT_FALSE(w.Node(L"A1a")->GetCheckBox()->GetCheck());
    EXPECT_TRUE(w.Node(L"A2")->GetCheckBox()->GetCheck());
}

TEST(TreeView, RemovingAndInsertingMoveWholeSubtrees)
{
    TTreeWindow w;
    CTreeNodeUI* pA = w.Node(L"A");
    ASSERT_TRUE(w.tree->Remove(w.Node(L"A1")));
    EXPECT_EQ(w.Rows(), L"A A2 B");
    EXPECT_EQ(pA->GetCountChild(), 1);
    EXPECT_EQ(w.Node(L"A2")->GetNodeIndex(), 0);

    // A node with two children inserted at row 1 brings both after it.
    auto* pC = new CTreeNodeUI;
    pC->SetItemText(L"C");
    for (LPCWSTR text : {L"C1", L"C2"}) {
        auto* pChild = new CTreeNodeUI;
        pChild->SetItemText(text);
        ASSERT_TRUE(pC->Add(pChild));
    }
    EXPECT_EQ(w.tree->AddAt(pC, 1), 4);
    EXPECT_EQ(w.Rows(), L"A C C1 C2 A2 B");
    EXPECT_EQ(pC->GetChildNode(1)->GetTreeIndex(), 3);
    EXPECT_EQ(pC->GetChildNode(1)->GetNodeIndex(), 1);
    EXPECT_EQ(w.Node(L"A2")->GetTreeIndex(), 4);

    // A child added to A goes after A's last descendant.
    auto* pA3 = new CTreeNodeUI;
    pA3->SetItemText(L"A3");
    ASSERT_TRUE(pA->AddChildNode(pA3));
    EXPECT_EQ(w.Rows(), L"A C C1 C2 A2 A3 B");
    EXPECT_EQ(pA3->GetNodeIndex(), 1);
    EXPECT_EQ(pA3->GetDottedLine()->GetFixedWidth(), 18);

    ASSERT_TRUE(w.tree->RemoveAt(0));
    EXPECT_EQ(w.Rows(), L"C C1 C2 B");
    EXPECT_EQ(w.Node(L"B")->GetTreeIndex(), 3);
    w.wnd.Paint();
}
