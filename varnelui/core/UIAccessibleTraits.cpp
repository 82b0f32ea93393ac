#include "varnelui/core/UIAccessibleTraits.h"

#include "varnelui/control/UICheckBox.h"
#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIDateTime.h"
#include "varnelui/control/UIEdit.h"
#include "varnelui/control/UIListInfo.h"
#include "varnelui/control/UIOption.h"
#include "varnelui/control/UIProgress.h"
#include "varnelui/control/UIRichEdit.h"
#include "varnelui/control/UIScrollBar.h"
#include "varnelui/control/UITabLayout.h"
#include "varnelui/control/UITreeNode.h"
#include "varnelui/core/UIManager.h"

#include <oleacc.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace VarnelUI {
namespace AccessibleTraits {

namespace {

struct TRoleName
{
    LPCWSTR name;
    long role;
};

const TRoleName kRoleNames[] = {
    {L"client", ROLE_SYSTEM_CLIENT},
    {L"pushbutton", ROLE_SYSTEM_PUSHBUTTON},
    {L"checkbutton", ROLE_SYSTEM_CHECKBUTTON},
    {L"radiobutton", ROLE_SYSTEM_RADIOBUTTON},
    {L"statictext", ROLE_SYSTEM_STATICTEXT},
    {L"text", ROLE_SYSTEM_TEXT},
    {L"link", ROLE_SYSTEM_LINK},
    {L"graphic", ROLE_SYSTEM_GRAPHIC},
    {L"grouping", ROLE_SYSTEM_GROUPING},
    {L"separator", ROLE_SYSTEM_SEPARATOR},
    {L"titlebar", ROLE_SYSTEM_TITLEBAR},
    {L"toolbar", ROLE_SYSTEM_TOOLBAR},
    {L"statusbar", ROLE_SYSTEM_STATUSBAR},
    {L"list", ROLE_SYSTEM_LIST},
    {L"listitem", ROLE_SYSTEM_LISTITEM},
    {L"combobox", ROLE_SYSTEM_COMBOBOX},
    {L"outline", ROLE_SYSTEM_OUTLINE},
    {L"outlineitem", ROLE_SYSTEM_OUTLINEITEM},
    {L"pagetablist", ROLE_SYSTEM_PAGETABLIST},
    {L"pagetab", ROLE_SYSTEM_PAGETAB},
    {L"propertypage", ROLE_SYSTEM_PROPERTYPAGE},
    {L"slider", ROLE_SYSTEM_SLIDER},
    {L"progressbar", ROLE_SYSTEM_PROGRESSBAR},
    {L"scrollbar", ROLE_SYSTEM_SCROLLBAR},
    {L"animation", ROLE_SYSTEM_ANIMATION},
};

// Interface names, most specific first: a tree node is also a list item, a
// tree view also a list, an option also a button, a slider also a progress bar.
struct TInterfaceRole
{
    LPCWSTR interfaceName;
    long role;
};

const TInterfaceRole kInterfaceRoles[] = {
    {L"TreeNode", ROLE_SYSTEM_OUTLINEITEM},
    {L"TreeView", ROLE_SYSTEM_OUTLINE},
    {L"ListItem", ROLE_SYSTEM_LISTITEM},
    {L"Combo", ROLE_SYSTEM_COMBOBOX},
    {L"List", ROLE_SYSTEM_LIST},
    {L"ListHeaderItem", ROLE_SYSTEM_COLUMNHEADER},
    {L"TabLayout", ROLE_SYSTEM_PAGETABLIST},
    {L"Edit", ROLE_SYSTEM_TEXT},
    {L"RichEdit", ROLE_SYSTEM_TEXT},
    // A date picker shows its date as editable text.
    {L"DateTime", ROLE_SYSTEM_TEXT},
    {L"Button", ROLE_SYSTEM_PUSHBUTTON},
    {L"Slider", ROLE_SYSTEM_SLIDER},
    {L"Progress", ROLE_SYSTEM_PROGRESSBAR},
    {L"ScrollBar", ROLE_SYSTEM_SCROLLBAR},
    {L"Label", ROLE_SYSTEM_STATICTEXT},
    {L"Text", ROLE_SYSTEM_STATICTEXT},
};

bool Answers(CControlUI& control, LPCWSTR pstrInterface)
{
    return control.GetInterface(pstrInterface) != nullptr;
}

bool IsItem(CControlUI& control)
{
    return Answers(control, L"ListItem");
}

COptionUI* AsOption(CControlUI& control)
{
    return static_cast<COptionUI*>(control.GetInterface(L"Option"));
}

bool IsGroupedOption(const COptionUI& option)
{
    const LPCWSTR pstrGroup = option.GetGroup();
    return pstrGroup != nullptr && *pstrGroup != L'\0';
}

CTabLayoutUI* ParentTabLayout(const CControlUI& control)
{
    CControlUI* pParent = control.GetParent();
    return pParent != nullptr ? static_cast<CTabLayoutUI*>(pParent->GetInterface(L"TabLayout")) : nullptr;
}

// The texts a control shows through its descendants, in tree order.
void AppendShownTexts(CControlUI& control, CUIString& sOut)
{
    auto* pContainer = static_cast<IContainerUI*>(control.GetInterface(L"IContainer"));
    if (pContainer == nullptr) return;
    for (int i = 0; i < pContainer->GetCount(); ++i) {
        CControlUI* pChild = pContainer->GetItemAt(i);
        if (pChild == nullptr || !pChild->IsVisible()) continue;
        const CUIString sText = pChild->GetText();
        if (!sText.IsEmpty()) {
            if (!sOut.IsEmpty()) sOut += L' ';
            sOut += sText;
        }
        AppendShownTexts(*pChild, sOut);
    }
}

long EditableState(CControlUI& control)
{
    bool bReadOnly = false;
    bool bPassword = false;
    if (auto* pEdit = static_cast<CEditUI*>(control.GetInterface(L"Edit"))) {
        bReadOnly = pEdit->IsReadOnly();
        bPassword = pEdit->IsPasswordMode();
    } else if (auto* pRich = static_cast<CRichEditUI*>(control.GetInterface(L"RichEdit"))) {
        bReadOnly = pRich->IsReadOnly();
        bPassword = pRich->IsPasswordMode();
    } else if (auto* pDate = static_cast<CDateTimeUI*>(control.GetInterface(L"DateTime"))) {
        bReadOnly = pDate->IsReadOnly();
    }
    return (bReadOnly ? STATE_SYSTEM_READONLY : 0) | (bPassword ? STATE_SYSTEM_PROTECTED : 0);
}

// Only a node with children is expanded or collapsed; a checked folder
// button is the collapsed look.
long TreeNodeState(CControlUI& control)
{
    auto* pNode = static_cast<CTreeNodeUI*>(control.GetInterface(L"TreeNode"));
    if (pNode == nullptr || !pNode->IsHasChild()) return 0;
    return pNode->GetFolderButton()->GetCheck() ? STATE_SYSTEM_COLLAPSED : STATE_SYSTEM_EXPANDED;
}

} // namespace

long RoleFromName(LPCWSTR pstrName)
{
    if (pstrName == nullptr) return 0;
    for (const TRoleName& entry : kRoleNames) {
        if (std::wcscmp(entry.name, pstrName) == 0) return entry.role;
    }
    return 0;
}

long Role(CControlUI& control)
{
    if (control.GetAccessibleRole() != 0) return control.GetAccessibleRole();
    if (ParentTabLayout(control) != nullptr) return ROLE_SYSTEM_PROPERTYPAGE;
    if (COptionUI* pOption = AsOption(control)) {
        return IsGroupedOption(*pOption) ? ROLE_SYSTEM_RADIOBUTTON : ROLE_SYSTEM_CHECKBUTTON;
    }
    for (const TInterfaceRole& entry : kInterfaceRoles) {
        if (Answers(control, entry.interfaceName)) return entry.role;
    }
    return ROLE_SYSTEM_CLIENT;
}

CUIString Name(CControlUI& control)
{
    if (!control.GetAccessibleName().IsEmpty()) return control.GetAccessibleName();
    // An edit's text is its value; its name comes from the skin or the tooltip.
    const bool bTextIsValue = Role(control) == ROLE_SYSTEM_TEXT;
    if (!bTextIsValue) {
        const CUIString sText = control.GetText();
        if (!sText.IsEmpty()) return sText;
    }
    if (!control.GetToolTip().IsEmpty()) return control.GetToolTip();
    CUIString sShown;
    if (IsItem(control)) AppendShownTexts(control, sShown);
    return sShown;
}

CUIString Description(CControlUI& control)
{
    if (!control.GetAccessibleDescription().IsEmpty()) return control.GetAccessibleDescription();
    const CUIString sToolTip = control.GetToolTip();
    return Name(control) != sToolTip ? sToolTip : CUIString();
}

long State(CControlUI& control)
{
    long nState = 0;
    if (!control.IsVisible()) nState |= STATE_SYSTEM_INVISIBLE;
    if (!control.IsEnabled()) nState |= STATE_SYSTEM_UNAVAILABLE;
    CPaintManagerUI* pManager = control.GetManager();
    const bool bFocused = pManager != nullptr && pManager->GetFocus() == &control;
    if ((control.GetControlFlags() & CTRLFLAG_TABSTOP) != 0 || bFocused) nState |= STATE_SYSTEM_FOCUSABLE;
    if (bFocused) nState |= STATE_SYSTEM_FOCUSED;
    if (pManager != nullptr && pManager->GetHoverControl() == &control) nState |= STATE_SYSTEM_HOTTRACKED;
    if (COptionUI* pOption = AsOption(control)) {
        if (pOption->IsSelected()) nState |= STATE_SYSTEM_CHECKED;
    }
    if (CTabLayoutUI* pTabs = ParentTabLayout(control)) {
        nState |= STATE_SYSTEM_SELECTABLE;
        if (pTabs->GetCurSel() >= 0 && pTabs->GetItemAt(pTabs->GetCurSel()) == &control)
            nState |= STATE_SYSTEM_SELECTED;
    }
    if (auto* pItem = static_cast<IListItemUI*>(control.GetInterface(L"ListItem"))) {
        nState |= STATE_SYSTEM_SELECTABLE;
        if (pItem->IsSelected()) nState |= STATE_SYSTEM_SELECTED;
    }
    return nState | EditableState(control) | TreeNodeState(control);
}

HRESULT Value(CControlUI& control, CUIString& sValue)
{
    sValue.Empty();
    if (auto* pProgress = static_cast<CProgressUI*>(control.GetInterface(L"Progress"))) {
        sValue = std::to_wstring(pProgress->GetValue()).c_str();
        return S_OK;
    }
    const bool bEditable = Role(control) == ROLE_SYSTEM_TEXT || Answers(control, L"Combo");
    if (!bEditable) return S_FALSE;
    if ((EditableState(control) & STATE_SYSTEM_PROTECTED) != 0) return E_ACCESSDENIED;
    sValue = control.GetText();
    return S_OK;
}

CUIString DefaultActionName(CControlUI& control)
{
    if (!control.IsEnabled()) return CUIString();
    if (COptionUI* pOption = AsOption(control)) {
        if (IsGroupedOption(*pOption)) return CUIString(L"Select");
        return CUIString(pOption->IsSelected() ? L"Uncheck" : L"Check");
    }
    if (IsItem(control)) return CUIString(L"Select");
    if (Answers(control, L"Combo")) return CUIString(L"Open");
    if (Answers(control, L"Button")) return CUIString(L"Press");
    if (Role(control) == ROLE_SYSTEM_TEXT) return CUIString(L"Focus");
    return CUIString();
}

bool DoDefaultAction(CControlUI& control)
{
    if (DefaultActionName(control).IsEmpty() || !control.IsVisible()) return false;
    if (IsItem(control)) {
        // An item is selected the way a click selects it, with the same notifications.
        TEventUI event = {};
        event.kind = EVT_BUTTONDOWN;
        event.sender = &control;
        event.timestamp = ::GetTickCount();
        const RECT& rc = control.GetPos();
        event.mousePos = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        control.Event(event);
        return true;
    }
    if (Role(control) == ROLE_SYSTEM_TEXT) {
        control.SetFocus();
        return true;
    }
    return control.Activate();
}

std::vector<CControlUI*> Children(CControlUI& control)
{
    std::vector<CControlUI*> children;
    if (Answers(control, L"TreeNode")) return children;
    auto* pItems = static_cast<IContainerUI*>(control.GetInterface(L"IContainer"));
    if (pItems == nullptr) return children;
    for (int i = 0; i < pItems->GetCount(); ++i) {
        CControlUI* pChild = pItems->GetItemAt(i);
        if (pChild != nullptr && pChild->IsVisible()) children.push_back(pChild);
    }
    if (auto* pContainer = static_cast<CContainerUI*>(control.GetInterface(L"Container"))) {
        for (CScrollBarUI* pBar : {pContainer->GetVerticalScrollBar(), pContainer->GetHorizontalScrollBar()}) {
            if (pBar != nullptr && pBar->IsVisible()) children.push_back(pBar);
        }
    }
    return children;
}

CControlUI* Parent(CControlUI& control)
{
    CPaintManagerUI* pManager = control.GetManager();
    if (pManager == nullptr || pManager->GetRoot() == &control) return nullptr;
    // Scroll bars hang off their container without being its children.
    const auto up = [](CControlUI& c) -> CControlUI* {
        if (c.GetParent() != nullptr) return c.GetParent();
        auto* pBar = static_cast<CScrollBarUI*>(c.GetInterface(L"ScrollBar"));
        return pBar != nullptr ? pBar->GetOwner() : nullptr;
    };
    for (CControlUI* pAncestor = up(control); pAncestor != nullptr; pAncestor = up(*pAncestor)) {
        const std::vector<CControlUI*> shown = Children(*pAncestor);
        if (std::find(shown.begin(), shown.end(), &control) == shown.end()) continue;
        if (pAncestor == pManager->GetRoot() || Parent(*pAncestor) != nullptr) return pAncestor;
    }
    return nullptr;
}

} // namespace AccessibleTraits
} // namespace VarnelUI
