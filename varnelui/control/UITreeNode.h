#pragma once
// One node of a tree view: a list row holding a dotted-line indent, a folder
// button (checked = collapsed), an optional check box and the item text, and
// the node's place in the hierarchy (parent and child nodes). A tree view
// shows every node's descendants as rows right after it.

#include "varnelui/control/UIListContainerElement.h"
#include "varnelui/core/StdPtrArray.h"

namespace VarnelUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

class VARNELUI_API CTreeNodeUI : public CListContainerElementUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"TreeNode", L"TreeNodeUI", L"TreeNode"};
    // Each level's dotted line is this much wider than its parent's.
    static constexpr int kIndentPerLevel = 16;

    // With a parent node the row is indented one level deeper than it.
    explicit CTreeNodeUI(CTreeNodeUI* pParentNode = nullptr);
    ~CTreeNodeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    bool Select(bool bSelect = true) override;

    // A tree node becomes a child node; any other control joins the container.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    using CListContainerElementUI::RemoveAt;

    // ---- the hierarchy ---------------------------------------------------------
    // Appends a child node; in a tree view its rows go right after this
    // node's last descendant. False for a control that is no tree node.
    bool AddChildNode(CControlUI* pControl);
    // Removes a child node with its whole subtree: from the tree view's rows,
    // or, outside a view, deleting it.
    bool RemoveAt(CTreeNodeUI* pNode);
    CTreeNodeUI* GetParentNode() const;
    void SetParentNode(CTreeNodeUI* pParentNode);
    CTreeViewUI* GetTreeView() const;
    void SetTreeView(CTreeViewUI* pTreeView);
    int GetCountChild() const;
    CTreeNodeUI* GetChildNode(int iIndex) const;
    bool IsHasChild() const;
    // The node's row in its tree view, or -1.
    int GetTreeIndex();
    // Its place among its parent's children; without a parent its row.
    int GetNodeIndex();
    // The node's last descendant in row order, or itself without children.
    CTreeNodeUI* GetLastNode();

    // ---- the row -----------------------------------------------------------------
    void SetItemText(LPCWSTR pstrText);
    CUIString GetItemText() const;
    void SetVisibleTag(bool bVisible);
    bool GetVisibleTag() const;
    void SetVisibleFolderBtn(bool bVisible);
    bool GetVisibleFolderBtn() const;
    void SetVisibleCheckBtn(bool bVisible);
    bool GetVisibleCheckBtn() const;
    CHorizontalLayoutUI* GetTreeNodeHoriznotal() const;
    CLabelUI* GetDottedLine() const;
    CCheckBoxUI* GetFolderButton() const;
    CCheckBoxUI* GetCheckBox() const;
    COptionUI* GetItemButton() const;

    // The item text's colours by state; 0 leaves a state to the others.
    void SetItemTextColor(DWORD dwColor);
    DWORD GetItemTextColor() const;
    void SetItemHotTextColor(DWORD dwColor);
    DWORD GetItemHotTextColor() const;
    void SetSelItemTextColor(DWORD dwColor);
    DWORD GetSelItemTextColor() const;
    void SetSelItemHotTextColor(DWORD dwColor);
    DWORD GetSelItemHotTextColor() const;

private:
    // Makes the node a child of this one: indent, parent, option group and view.
    void CalLocation(CTreeNodeUI* pChild);
    // The row where a new child at position iPosition among the children goes.
    int ChildRow(int iPosition);
    void OnMouseEnter();
    void OnMouseLeave();

    CTreeNodeUI* m_pParentTreeNode;
    CTreeViewUI* m_pTreeView;
    // Not owned while the node is in a tree view (the view's list owns every
    // row); outside a view a node owns its children.
    CStdPtrArray m_aTreeNodes;
    bool m_bVisibleTag;
    DWORD m_dwItemTextColor;
    DWORD m_dwItemHotTextColor;
    DWORD m_dwSelItemTextColor;
    DWORD m_dwSelItemHotTextColor;

    CHorizontalLayoutUI* m_pHoriz;
    CLabelUI* m_pDottedLine;
    CCheckBoxUI* m_pFolderButton;
    CCheckBoxUI* m_pCheckBox;
    COptionUI* m_pItemButton;
};

} // namespace VarnelUI
