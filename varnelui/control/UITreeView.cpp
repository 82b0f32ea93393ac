#include "varnelui/control/UITreeView.h"

#include "varnelui/control/UICheckBox.h"
#include "varnelui/control/UIListHeader.h"
#include "varnelui/control/UITreeNode.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CTreeViewUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseColor;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CTreeViewUI> kTreeViewAttributes[] = {
    {L"visiblefolderbtn", AttrSyntax::Bool, [](CTreeViewUI& c, LPCWSTR v) { c.SetVisibleFolderBtn(ParseBool(v)); }},
    {L"visiblecheckbtn", AttrSyntax::Bool, [](CTreeViewUI& c, LPCWSTR v) { c.SetVisibleCheckBtn(ParseBool(v)); }},
    {L"itemminwidth", AttrSyntax::Int,
     [](CTreeViewUI& c, LPCWSTR v) { c.SetItemMinWidth(static_cast<UINT>(AttrParse::ParseInt(v))); }},
    {L"itemtextcolor", AttrSyntax::Color, [](CTreeViewUI& c, LPCWSTR v) { c.SetItemTextColor(ParseColor(v)); }},
    {L"itemhottextcolor", AttrSyntax::Color, [](CTreeViewUI& c, LPCWSTR v) { c.SetItemHotTextColor(ParseColor(v)); }},
    {L"selitemtextcolor", AttrSyntax::Color, [](CTreeViewUI& c, LPCWSTR v) { c.SetSelItemTextColor(ParseColor(v)); }},
    {L"selitemhottextcolor", AttrSyntax::Color,
     [](CTreeViewUI& c, LPCWSTR v) { c.SetSelItemHotTextColor(ParseColor(v)); }},
};

CTreeNodeUI* AsTreeNode(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<CTreeNodeUI*>(pControl->GetInterface(CTreeNodeUI::kNames.interfaceName))
                               : nullptr;
}

// The node whose row holds the control (a folder button or check box).
CTreeNodeUI* NodeOf(CControlUI* pControl)
{
    for (CControlUI* p = pControl; p != nullptr; p = p->GetParent()) {
        if (CTreeNodeUI* pNode = AsTreeNode(p)) return pNode;
    }
    return nullptr;
}

bool IsSelectChanged(const TNotifyUI& msg)
{
    return msg.type == L"selectchanged" && msg.sender != nullptr;
}

} // namespace

CTreeViewUI::CTreeViewUI() : m_uItemMinWidth(0), m_bVisibleFolderBtn(true), m_bVisibleCheckBtn(false)
{
    GetHeader()->SetVisible(false);
}

LPCWSTR CTreeViewUI::GetClass() const
{
    return kNames.className;
}

LPVOID CTreeViewUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CTreeViewUI*>(this);
    return CListUI::GetInterface(pstrName);
}

void CTreeViewUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kTreeViewAttributes, *this, pstrName, pstrValue)) return;
    CListUI::SetAttribute(pstrName, pstrValue);
}

template <class F>
void CTreeViewUI::ForEachNode(F f)
{
    for (int i = 0; i < GetCount(); ++i) {
        if (CTreeNodeUI* pNode = AsTreeNode(GetItemAt(i))) f(*pNode);
    }
}

// ---- rows -----------------------------------------------------------------------------

void CTreeViewUI::Register(CTreeNodeUI* pNode)
{
    pNode->OnNotify += MakeDelegate(this, &CTreeViewUI::OnDBClickItem);
    pNode->GetFolderButton()->OnNotify += MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    pNode->GetCheckBox()->OnNotify += MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    pNode->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    pNode->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    if (m_uItemMinWidth > 0) pNode->SetMinWidth(static_cast<int>(m_uItemMinWidth));
    pNode->SetTreeView(this);
}

bool CTreeViewUI::Add(CControlUI* pControl)
{
    CTreeNodeUI* pNode = AsTreeNode(pControl);
    if (pNode == nullptr) return false;
    Register(pNode);
    if (!CListUI::Add(pNode)) return false;
    for (int i = 0; i < pNode->GetCountChild(); ++i) Add(pNode->GetChildNode(i));
    KeepCollapsed(pNode);
    return true;
}

bool CTreeViewUI::AddAt(CControlUI* pControl, int iIndex)
{
    CTreeNodeUI* pNode = AsTreeNode(pControl);
    return pNode != nullptr && AddAt(pNode, iIndex) >= 0;
}

int CTreeViewUI::AddAt(CTreeNodeUI* pNode, int iIndex)
{
    if (AsTreeNode(pNode) == nullptr) return -1;
    Register(pNode);
    if (!CListUI::AddAt(pNode, iIndex)) return -1;
    // Every child's subtree follows, in order, not only the first child's.
    int iNext = iIndex + 1;
    for (int i = 0; i < pNode->GetCountChild() && iNext >= 0; ++i) iNext = AddAt(pNode->GetChildNode(i), iNext);
    if (iNext >= 0) KeepCollapsed(pNode);
    return iNext;
}

bool CTreeViewUI::AddAt(CTreeNodeUI* pNode, CTreeNodeUI* pIndexNode)
{
    const int iIndex = GetItemIndex(pIndexNode);
    return iIndex >= 0 && AddAt(pNode, iIndex) >= 0;
}

bool CTreeViewUI::Remove(CControlUI* pControl)
{
    CTreeNodeUI* pNode = AsTreeNode(pControl);
    if (pNode == nullptr) return CListUI::Remove(pControl);
    // Through the parent, so that it does not keep the removed node.
    if (CTreeNodeUI* pParent = pNode->GetParentNode()) return pParent->RemoveAt(pNode);
    while (pNode->IsHasChild()) pNode->RemoveAt(pNode->GetChildNode(pNode->GetCountChild() - 1));
    // By index: the list's Remove goes through RemoveAt, which would come back here.
    const int iIndex = GetItemIndex(pNode);
    return iIndex >= 0 && CListUI::RemoveAt(iIndex);
}

// Any node's row goes with its subtree, a node without children too: leaving
// a row that was asked to go would report success for nothing done.
bool CTreeViewUI::RemoveAt(int iIndex)
{
    CTreeNodeUI* pNode = AsTreeNode(GetItemAt(iIndex));
    return pNode != nullptr ? Remove(pNode) : CListUI::RemoveAt(iIndex);
}

// ---- expanding and checking -------------------------------------------------------------

// A node whose folder button was checked before it joined the view (a nested
// node's folderattr in a skin is read while only its parent node holds it)
// sent its notification to nobody: its descendants' rows are hidden here.
void CTreeViewUI::KeepCollapsed(CTreeNodeUI* pNode)
{
    if (!pNode->IsHasChild() || !pNode->GetFolderButton()->IsSelected()) return;
    pNode->SetVisibleTag(false);
    SetItemExpand(false, pNode);
}

void CTreeViewUI::ExpandRow(bool bExpanded, CTreeNodeUI* pNode)
{
    pNode->SetVisible(bExpanded);
    // A collapsed node keeps its own rows hidden whatever its ancestors do.
    if (pNode->IsHasChild() && !pNode->GetFolderButton()->IsSelected()) SetItemExpand(bExpanded, pNode);
}

void CTreeViewUI::SetItemExpand(bool bExpanded, CTreeNodeUI* pNode)
{
    if (pNode == nullptr) {
        ForEachNode([&](CTreeNodeUI& node) { ExpandRow(bExpanded, &node); });
        return;
    }
    for (int i = 0; i < pNode->GetCountChild(); ++i) ExpandRow(bExpanded, pNode->GetChildNode(i));
}

void CTreeViewUI::SetItemCheckBox(bool bSelected, CTreeNodeUI* pNode)
{
    if (pNode == nullptr) {
        ForEachNode([&](CTreeNodeUI& node) { node.GetCheckBox()->Selected(bSelected); });
        return;
    }
    for (int i = 0; i < pNode->GetCountChild(); ++i) {
        CTreeNodeUI* pChild = pNode->GetChildNode(i);
        pChild->GetCheckBox()->Selected(bSelected);
        if (pChild->IsHasChild()) SetItemCheckBox(bSelected, pChild);
    }
}

bool CTreeViewUI::OnCheckBoxChanged(void* param)
{
    const TNotifyUI& msg = *static_cast<TNotifyUI*>(param);
    if (!IsSelectChanged(msg)) return true;
    if (CTreeNodeUI* pNode = NodeOf(msg.sender)) SetItemCheckBox(pNode->GetCheckBox()->GetCheck(), pNode);
    return true;
}

bool CTreeViewUI::OnFolderChanged(void* param)
{
    const TNotifyUI& msg = *static_cast<TNotifyUI*>(param);
    if (!IsSelectChanged(msg)) return true;
    CTreeNodeUI* pNode = NodeOf(msg.sender);
    if (pNode == nullptr) return true;
    // A checked folder button means collapsed.
    const bool bExpanded = !pNode->GetFolderButton()->GetCheck();
    pNode->SetVisibleTag(bExpanded);
    SetItemExpand(bExpanded, pNode);
    return true;
}

bool CTreeViewUI::OnDBClickItem(void* param)
{
    const TNotifyUI& msg = *static_cast<TNotifyUI*>(param);
    if (msg.type != L"itemdbclick") return true;
    CTreeNodeUI* pNode = AsTreeNode(msg.sender);
    if (pNode == nullptr) return true;
    CCheckBoxUI* pFolder = pNode->GetFolderButton();
    pFolder->Selected(!pFolder->IsSelected());
    const bool bExpanded = !pFolder->GetCheck();
    pNode->SetVisibleTag(bExpanded);
    SetItemExpand(bExpanded, pNode);
    return true;
}

// ---- settings -----------------------------------------------------------------------------

void CTreeViewUI::SetVisibleFolderBtn(bool bVisible)
{
    m_bVisibleFolderBtn = bVisible;
    ForEachNode([bVisible](CTreeNodeUI& node) { node.SetVisibleFolderBtn(bVisible); });
}

bool CTreeViewUI::GetVisibleFolderBtn() const
{
    return m_bVisibleFolderBtn;
}

void CTreeViewUI::SetVisibleCheckBtn(bool bVisible)
{
    m_bVisibleCheckBtn = bVisible;
    ForEachNode([bVisible](CTreeNodeUI& node) { node.SetVisibleCheckBtn(bVisible); });
}

bool CTreeViewUI::GetVisibleCheckBtn() const
{
    return m_bVisibleCheckBtn;
}

void CTreeViewUI::SetItemMinWidth(UINT uWidth)
{
    m_uItemMinWidth = uWidth;
    ForEachNode([uWidth](CTreeNodeUI& node) { node.SetMinWidth(static_cast<int>(uWidth)); });
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const
{
    return m_uItemMinWidth;
}

void CTreeViewUI::SetItemTextColor(DWORD dwColor)
{
    ForEachNode([dwColor](CTreeNodeUI& node) { node.SetItemTextColor(dwColor); });
}

void CTreeViewUI::SetItemHotTextColor(DWORD dwColor)
{
    ForEachNode([dwColor](CTreeNodeUI& node) { node.SetItemHotTextColor(dwColor); });
}

void CTreeViewUI::SetSelItemTextColor(DWORD dwColor)
{
    ForEachNode([dwColor](CTreeNodeUI& node) { node.SetSelItemTextColor(dwColor); });
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD dwColor)
{
    ForEachNode([dwColor](CTreeNodeUI& node) { node.SetSelItemHotTextColor(dwColor); });
}

} // namespace VarnelUI
