#pragma once
// The client side of accessibility as an assistive tool uses it: a window's
// object, children through AccessibleChildren, and the common properties.

#include "varnelui/core/UIComPtr.h"

#include <oleacc.h>

#include <string>
#include <vector>

namespace VarnelTest {
namespace AccessibleClient {

using Acc = VarnelUI::CUIComPtr<IAccessible>;

// The variant that names an object itself (CHILDID_SELF).
VARIANT Self();
// The window's client object; null when the window does not answer.
Acc WindowObject(HWND hWnd);

// Empty when there is no name; -1 when a property has no number.
std::wstring Name(IAccessible* acc);
long Role(IAccessible* acc);
long State(IAccessible* acc);

std::vector<Acc> Children(IAccessible* acc);
std::vector<std::wstring> ChildNames(IAccessible* acc);
// Depth first, as a tool looking for a control by its name would.
Acc Find(IAccessible* acc, const std::wstring& name);

} // namespace AccessibleClient
} // namespace VarnelTest
