#pragma once
// What assistive tools are told about a control: its role, name, state, value
// and default action, read from the interfaces the control answers to, so a
// control class gets the right role by its interface name alone.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"

#include <vector>

namespace VarnelUI {

class CControlUI;

namespace AccessibleTraits {

// The role a skin names in "accrole" ("pushbutton", "statictext", ...); 0 for
// a name that is none of them, which leaves the role to the control's class.
long RoleFromName(LPCWSTR pstrName);

long Role(CControlUI& control);
// The skin's "accname", else the text, else the tooltip; for an item with no
// text of its own, the texts of the controls it shows.
CUIString Name(CControlUI& control);
// The skin's "accdescription", else the tooltip when the name is the text.
CUIString Description(CControlUI& control);
// STATE_SYSTEM_* bits.
long State(CControlUI& control);
// S_OK with the value; S_FALSE when the control has none; E_ACCESSDENIED for
// a password field, whose text must not be read out.
HRESULT Value(CControlUI& control, CUIString& sValue);
// What the default action does ("Press", "Check", ...); empty when there is none.
CUIString DefaultActionName(CControlUI& control);
// Does the default action as a user's click would; false when there is none.
bool DoDefaultAction(CControlUI& control);

// The controls shown as the control's children, in tree order: its visible
// children and visible scroll bars. Rows of a tree node are part of the node.
std::vector<CControlUI*> Children(CControlUI& control);
// The control that shows this one among its Children, up to the root; null
// for the root and for a control no shown control shows (a list's body).
CControlUI* Parent(CControlUI& control);

} // namespace AccessibleTraits
} // namespace VarnelUI
