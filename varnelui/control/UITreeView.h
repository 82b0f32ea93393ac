#pragma once
// A hierarchy shown as a list: every row is a tree node, and each node's
// descendants follow it as rows. The folder buttons expand and collapse
// subtrees, the check boxes check them, and a double click toggles a node.

#include "varnelui/control/UIList.h"

namespace VarnelUI {

class CTreeNodeUI;

class VARNELUI_API CTreeViewUI : public CListUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"TreeView", L"TreeViewUI", L"TreeView"};

    CTreeViewUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // Only tree nodes are taken; each comes with its descendants' rows.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    // A node goes with its whole subtree, and leaves its parent node.
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;

    // Inserts the node's row at iIndex and its descendants' rows after it;
    // the row after the last one inserted, or -1.
    int AddAt(CTreeNodeUI* pNode, int iIndex);
    // Inserts the node at the row of pIndexNode.
    bool AddAt(CTreeNodeUI* pNode, CTreeNodeUI* pIndexNode);

    // Checks or unchecks the check boxes of the node's descendants (of every
    // row without a node).
    void SetItemCheckBox(bool bSelected, CTreeNodeUI* pNode = nullptr);
    // Shows or hides the node's descendants (every row without a node);
    // the rows under a collapsed descendant stay hidden.
    void SetItemExpand(bool bExpanded, CTreeNodeUI* pNode = nullptr);

    // Handlers of the nodes' notifications, registered when a node is added.
    bool OnCheckBoxChanged(void* param);
    bool OnFolderChanged(void* param);
    bool OnDBClickItem(void* param);

    // Each applies to every current row and to rows added later.
    void SetVisibleFolderBtn(bool bVisible);
    bool GetVisibleFolderBtn() const;
    void SetVisibleCheckBtn(bool bVisible);
    bool GetVisibleCheckBtn() const;
    void SetItemMinWidth(UINT uWidth);
    UINT GetItemMinWidth() const;
    // Applied to every current row.
    void SetItemTextColor(DWORD dwColor);
    void SetItemHotTextColor(DWORD dwColor);
    void SetSelItemTextColor(DWORD dwColor);
    void SetSelItemHotTextColor(DWORD dwColor);

private:
    // Hooks the view's handlers to the node and gives it the view's settings.
    void Register(CTreeNodeUI* pNode);
    void ExpandRow(bool bExpanded, CTreeNodeUI* pNode);
    // Hides the descendants of a node that arrives collapsed.
    void KeepCollapsed(CTreeNodeUI* pNode);
    template <class F>
    void ForEachNode(F f);

    UINT m_uItemMinWidth;
    bool m_bVisibleFolderBtn;
    bool m_bVisibleCheckBtn;
};

} // namespace VarnelUI
