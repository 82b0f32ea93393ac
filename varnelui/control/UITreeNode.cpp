#include "varnelui/control/UITreeNode.h"

#include "varnelui/control/UICheckBox.h"
#include "varnelui/control/UIHorizontalLayout.h"
#include "varnelui/control/UITreeView.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>

namespace VarnelUI {

namespace {

const CControlRegistration<CTreeNodeUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseColor;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CTreeNodeUI> kTreeNodeAttributes[] = {
    {L"text", AttrSyntax::Text, [](CTreeNodeUI& c, LPCWSTR v) { c.SetItemText(v); }},
    {L"horizattr", AttrSyntax::AttributeList,
     [](CTreeNodeUI& c, LPCWSTR v) { c.GetTreeNodeHoriznotal()->ApplyAttributeList(v); }},
    {L"dotlineattr", AttrSyntax::AttributeList,
     [](CTreeNodeUI& c, LPCWSTR v) { c.GetDottedLine()->ApplyAttributeList(v); }},
    {L"folderattr", AttrSyntax::AttributeList,
     [](CTreeNodeUI& c, LPCWSTR v) { c.GetFolderButton()->ApplyAttributeList(v); }},
    {L"checkboxattr", AttrSyntax::AttributeList,
     [](CTreeNodeUI& c, LPCWSTR v) { c.GetCheckBox()->ApplyAttributeList(v); }},
    {L"itemattr", AttrSyntax::AttributeList,
     [](CTreeNodeUI& c, LPCWSTR v) { c.GetItemButton()->ApplyAttributeList(v); }},
    {L"itemtextcolor", AttrSyntax::Color, [](CTreeNodeUI& c, LPCWSTR v) { c.SetItemTextColor(ParseColor(v)); }},
    {L"itemhottextcolor", AttrSyntax::Color, [](CTreeNodeUI& c, LPCWSTR v) { c.SetItemHotTextColor(ParseColor(v)); }},
    {L"selitemtextcolor", AttrSyntax::Color, [](CTreeNodeUI& c, LPCWSTR v) { c.SetSelItemTextColor(ParseColor(v)); }},
    {L"selitemhottextcolor", AttrSyntax::Color,
     [](CTreeNodeUI& c, LPCWSTR v) { c.SetSelItemHotTextColor(ParseColor(v)); }},
};

constexpr SIZE kNodeSize = {250, 18};
constexpr int kTopDottedLineWidth = 2;

CTreeNodeUI* AsTreeNode(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<CTreeNodeUI*>(pControl->GetInterface(CTreeNodeUI::kNames.interfaceName))
                               : nullptr;
}

} // namespace

CTreeNodeUI::CTreeNodeUI(CTreeNodeUI* pParentNode)
    : m_pParentTreeNode(nullptr),
      m_pTreeView(nullptr),
      m_bVisibleTag(true),
      m_dwItemTextColor(0),
      m_dwItemHotTextColor(0),
      m_dwSelItemTextColor(0),
      m_dwSelItemHotTextColor(0),
      m_pHoriz(new CHorizontalLayoutUI),
      m_pDottedLine(new CLabelUI),
      m_pFolderButton(new CCheckBoxUI),
      m_pCheckBox(new CCheckBoxUI),
      m_pItemButton(new COptionUI)
{
    SetFixedWidth(kNodeSize.cx);
    SetFixedHeight(kNodeSize.cy);
    m_pDottedLine->SetFixedWidth(kTopDottedLineWidth);
    m_pDottedLine->SetVisible(false);
    m_pFolderButton->SetFixedWidth(GetFixedHeight());
    m_pCheckBox->SetFixedWidth(GetFixedHeight());
    m_pCheckBox->SetVisible(false);
    m_pItemButton->SetAttribute(L"align", L"left");
    // The row takes the mouse for the text: clicks select the node.
    m_pItemButton->SetMouseEnabled(false);
    if (pParentNode != nullptr) {
        m_pDottedLine->SetVisible(pParentNode->IsVisible());
        m_pDottedLine->SetFixedWidth(pParentNode->GetDottedLine()->GetFixedWidth() + kIndentPerLevel);
        SetParentNode(pParentNode);
    }
    m_pHoriz->Add(m_pDottedLine);
    m_pHoriz->Add(m_pFolderButton);
    m_pHoriz->Add(m_pCheckBox);
    m_pHoriz->Add(m_pItemButton);
    CListContainerElementUI::Add(m_pHoriz);
}

CTreeNodeUI::~CTreeNodeUI()
{
    // Relatives keep no pointer to a deleted node. Outside a view the node
    // owns its children; inside one the view's list deletes every row.
    if (m_pParentTreeNode != nullptr)
        m_pParentTreeNode->m_aTreeNodes.Remove(m_pParentTreeNode->m_aTreeNodes.Find(this));
    const CStdPtrArray aChildren(m_aTreeNodes);
    m_aTreeNodes.Empty();
    for (int i = 0; i < aChildren.GetSize(); ++i) {
        auto* pChild = static_cast<CTreeNodeUI*>(aChildren.GetAt(i));
        pChild->m_pParentTreeNode = nullptr;
        if (m_pTreeView == nullptr) delete pChild;
    }
}

LPCWSTR CTreeNodeUI::GetClass() const
{
    return kNames.className;
}

LPVOID CTreeNodeUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CTreeNodeUI*>(this);
    return CListContainerElementUI::GetInterface(pstrName);
}

void CTreeNodeUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kTreeNodeAttributes, *this, pstrName, pstrValue)) return;
    CListContainerElementUI::SetAttribute(pstrName, pstrValue);
}

void CTreeNodeUI::DoEvent(TEventUI& event)
{
    const bool bForwarded = !IsMouseEnabled() && IsMouseEvent(event.kind);
    CListContainerElementUI::DoEvent(event);
    if (bForwarded) return;
    switch (event.kind) {
    case EVT_DBLCLICK:
        if (!IsEnabled()) break;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"itemdbclick");
        Invalidate();
        break;
    case EVT_MOUSEENTER: OnMouseEnter(); break;
    case EVT_MOUSELEAVE: OnMouseLeave(); break;
    default: break;
    }
}

void CTreeNodeUI::OnMouseEnter()
{
    if (!IsEnabled()) {
        m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
    } else if (IsSelected() && m_dwSelItemHotTextColor != 0) {
        m_pItemButton->SetTextColor(m_dwSelItemHotTextColor);
    } else {
        m_pItemButton->SetTextColor(m_dwItemHotTextColor);
    }
}

void CTreeNodeUI::OnMouseLeave()
{
    if (!IsEnabled()) m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
    else if (!IsSelected()) m_pItemButton->SetTextColor(m_dwItemTextColor);
    else if (m_dwSelItemTextColor != 0) m_pItemButton->SetTextColor(m_dwSelItemTextColor);
}

bool CTreeNodeUI::Select(bool bSelect)
{
    const bool bResult = CListContainerElementUI::Select(bSelect);
    m_pItemButton->SetTextColor(IsSelected() ? m_dwSelItemTextColor : m_dwItemTextColor);
    return bResult;
}

// ---- the hierarchy ------------------------------------------------------------------

bool CTreeNodeUI::Add(CControlUI* pControl)
{
    if (AsTreeNode(pControl) != nullptr) return AddChildNode(pControl);
    return CListContainerElementUI::Add(pControl);
}

bool CTreeNodeUI::AddAt(CControlUI* pControl, int iIndex)
{
    CTreeNodeUI* pNode = AsTreeNode(pControl);
    if (pNode == nullptr) return CListContainerElementUI::AddAt(pControl, iIndex);
    const int iPosition = std::min(std::max(iIndex, 0), GetCountChild());
    CalLocation(pNode);
    if (m_pTreeView != nullptr && m_pTreeView->AddAt(pNode, ChildRow(iPosition)) < 0) return false;
    return m_aTreeNodes.InsertAt(iPosition, pNode);
}

bool CTreeNodeUI::AddChildNode(CControlUI* pControl)
{
    return AsTreeNode(pControl) != nullptr && AddAt(pControl, GetCountChild());
}

int CTreeNodeUI::ChildRow(int iPosition)
{
    if (iPosition < GetCountChild()) return GetChildNode(iPosition)->GetTreeIndex();
    CTreeNodeUI* pLast = GetCountChild() > 0 ? GetChildNode(GetCountChild() - 1)->GetLastNode() : this;
    return pLast->GetTreeIndex() + 1;
}

void CTreeNodeUI::CalLocation(CTreeNodeUI* pChild)
{
    pChild->m_pDottedLine->SetVisible(true);
    pChild->m_pDottedLine->SetFixedWidth(m_pDottedLine->GetFixedWidth() + kIndentPerLevel);
    pChild->SetParentNode(this);
    pChild->m_pItemButton->SetGroup(m_pItemButton->GetGroup());
    pChild->SetTreeView(m_pTreeView);
}

bool CTreeNodeUI::Remove(CControlUI* pControl)
{
    CTreeNodeUI* pNode = AsTreeNode(pControl);
    if (pNode != nullptr && m_aTreeNodes.Find(pNode) >= 0) return RemoveAt(pNode);
    return CListContainerElementUI::Remove(pControl);
}

bool CTreeNodeUI::RemoveAt(CTreeNodeUI* pNode)
{
    const int iIndex = m_aTreeNodes.Find(pNode);
    if (iIndex < 0) return false;
    while (pNode->GetCountChild() > 0) pNode->RemoveAt(pNode->GetChildNode(pNode->GetCountChild() - 1));
    m_aTreeNodes.Remove(iIndex);
    pNode->m_pParentTreeNode = nullptr;
    if (m_pTreeView != nullptr) m_pTreeView->Remove(pNode);
    else delete pNode;
    return true;
}

CTreeNodeUI* CTreeNodeUI::GetParentNode() const
{
    return m_pParentTreeNode;
}

void CTreeNodeUI::SetParentNode(CTreeNodeUI* pParentNode)
{
    m_pParentTreeNode = pParentNode;
}

CTreeViewUI* CTreeNodeUI::GetTreeView() const
{
    return m_pTreeView;
}

void CTreeNodeUI::SetTreeView(CTreeViewUI* pTreeView)
{
    m_pTreeView = pTreeView;
}

int CTreeNodeUI::GetCountChild() const
{
    return m_aTreeNodes.GetSize();
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int iIndex) const
{
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(iIndex));
}

bool CTreeNodeUI::IsHasChild() const
{
    return !m_aTreeNodes.IsEmpty();
}

int CTreeNodeUI::GetTreeIndex()
{
    return m_pTreeView != nullptr ? m_pTreeView->GetItemIndex(this) : -1;
}

int CTreeNodeUI::GetNodeIndex()
{
    if (m_pParentTreeNode != nullptr) return m_pParentTreeNode->m_aTreeNodes.Find(this);
    return GetTreeIndex();
}

CTreeNodeUI* CTreeNodeUI::GetLastNode()
{
    return IsHasChild() ? GetChildNode(GetCountChild() - 1)->GetLastNode() : this;
}

// ---- the row ------------------------------------------------------------------------

void CTreeNodeUI::SetItemText(LPCWSTR pstrText)
{
    m_pItemButton->SetText(pstrText);
}

CUIString CTreeNodeUI::GetItemText() const
{
    return m_pItemButton->GetText();
}

void CTreeNodeUI::SetVisibleTag(bool bVisible)
{
    m_bVisibleTag = bVisible;
}

bool CTreeNodeUI::GetVisibleTag() const
{
    return m_bVisibleTag;
}

void CTreeNodeUI::SetVisibleFolderBtn(bool bVisible)
{
    m_pFolderButton->SetVisible(bVisible);
}

bool CTreeNodeUI::GetVisibleFolderBtn() const
{
    return m_pFolderButton->IsVisible();
}

void CTreeNodeUI::SetVisibleCheckBtn(bool bVisible)
{
    m_pCheckBox->SetVisible(bVisible);
}

bool CTreeNodeUI::GetVisibleCheckBtn() const
{
    return m_pCheckBox->IsVisible();
}

CHorizontalLayoutUI* CTreeNodeUI::GetTreeNodeHoriznotal() const
{
    return m_pHoriz;
}

CLabelUI* CTreeNodeUI::GetDottedLine() const
{
    return m_pDottedLine;
}

CCheckBoxUI* CTreeNodeUI::GetFolderButton() const
{
    return m_pFolderButton;
}

CCheckBoxUI* CTreeNodeUI::GetCheckBox() const
{
    return m_pCheckBox;
}

COptionUI* CTreeNodeUI::GetItemButton() const
{
    return m_pItemButton;
}

void CTreeNodeUI::SetItemTextColor(DWORD dwColor)
{
    m_dwItemTextColor = dwColor;
    if (!IsSelected()) m_pItemButton->SetTextColor(dwColor);
}

DWORD CTreeNodeUI::GetItemTextColor() const
{
    return m_dwItemTextColor;
}

void CTreeNodeUI::SetItemHotTextColor(DWORD dwColor)
{
    m_dwItemHotTextColor = dwColor;
    Invalidate();
}

DWORD CTreeNodeUI::GetItemHotTextColor() const
{
    return m_dwItemHotTextColor;
}

void CTreeNodeUI::SetSelItemTextColor(DWORD dwColor)
{
    m_dwSelItemTextColor = dwColor;
    if (IsSelected()) m_pItemButton->SetTextColor(dwColor);
}

DWORD CTreeNodeUI::GetSelItemTextColor() const
{
    return m_dwSelItemTextColor;
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD dwColor)
{
    m_dwSelItemHotTextColor = dwColor;
    Invalidate();
}

DWORD CTreeNodeUI::GetSelItemHotTextColor() const
{
    return m_dwSelItemHotTextColor;
}

} // namespace VarnelUI
