#include "varnelui/core/UIEvents.h"

namespace VarnelUI {

WORD CurrentKeyState()
{
    WORD wState = 0;
    if (::GetKeyState(VK_LBUTTON) < 0) wState |= KEYSTATE_LBUTTON;
    if (::GetKeyState(VK_RBUTTON) < 0) wState |= KEYSTATE_RBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) wState |= KEYSTATE_SHIFT;
    if (::GetKeyState(VK_CONTROL) < 0) wState |= KEYSTATE_CONTROL;
    if (::GetKeyState(VK_MENU) < 0) wState |= KEYSTATE_ALT;
    return wState;
}

} // namespace VarnelUI
