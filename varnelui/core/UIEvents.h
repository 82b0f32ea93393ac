#pragma once
// What travels between a window and its controls: control events going down,
// notifications coming up, the receivers that hook into a paint manager, and
// the flags and state bits controls answer with.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"

namespace VarnelUI {

class CControlUI;

// Control event kinds. The values are fixed: keyboard kinds are contiguous
// (EVT_KEYDOWN..EVT_SYSKEY) and so are mouse kinds (EVT_MOUSEMOVE..
// EVT_SCROLLWHEEL), so controls may test ranges.
enum EVENTTYPE_UI {
    EVT_KEYDOWN = 3,
    EVT_KEYUP = 4,
    EVT_CHAR = 5,
    EVT_SYSKEY = 6,
    EVT_MOUSEMOVE = 9,
    EVT_MOUSELEAVE = 10,
    EVT_MOUSEENTER = 11,
    EVT_MOUSEHOVER = 12,
    EVT_BUTTONDOWN = 13,
    EVT_BUTTONUP = 14,
    EVT_RBUTTONDOWN = 15,
    EVT_DBLCLICK = 16,
    EVT_CONTEXTMENU = 17,
    EVT_SCROLLWHEEL = 18,
    EVT_KILLFOCUS = 20,
    EVT_SETFOCUS = 21,
    EVT_WINDOWSIZE = 22,
    EVT_SETCURSOR = 23,
    EVT_TIMER = 24
};

constexpr bool IsMouseEvent(int kind)
{
    return kind >= EVT_MOUSEMOVE && kind <= EVT_SCROLLWHEEL;
}

// keyState bits of TEventUI; the same values as the platform's MK_ flags that
// button messages carry in wParam.
constexpr WORD KEYSTATE_LBUTTON = 0x01;
constexpr WORD KEYSTATE_RBUTTON = 0x02;
constexpr WORD KEYSTATE_SHIFT = 0x04;
constexpr WORD KEYSTATE_CONTROL = 0x08;
constexpr WORD KEYSTATE_ALT = 0x20;

// Control flags answered by CControlUI::GetControlFlags.
constexpr UINT CTRLFLAG_TABSTOP = 0x00000001;
constexpr UINT CTRLFLAG_SETCURSOR = 0x00000002;

// State bits of controls that track the mouse and keyboard themselves
// (buttons, options, scroll bar parts, sliders, layout separators).
constexpr UINT CTRLSTATE_FOCUSED = 0x01;
constexpr UINT CTRLSTATE_SELECTED = 0x02;
constexpr UINT CTRLSTATE_DISABLED = 0x04;
constexpr UINT CTRLSTATE_HOT = 0x08;
constexpr UINT CTRLSTATE_PUSHED = 0x10;
constexpr UINT CTRLSTATE_CAPTURED = 0x40;

// Sets (bOn) or clears the given state bits.
inline void SetStateBits(UINT& uState, UINT uBits, bool bOn)
{
    uState = bOn ? uState | uBits : uState & ~uBits;
}

// Search flags for CControlUI::FindControl.
constexpr UINT FIND_ALL = 0x00000000;
constexpr UINT FIND_VISIBLE = 0x00000001;
constexpr UINT FIND_ENABLED = 0x00000002;
constexpr UINT FIND_HITTEST = 0x00000004; // data points to the POINT being tested
constexpr UINT FIND_TOP_FIRST = 0x00000008;
constexpr UINT FIND_ME_FIRST = 0x80000000;

// One control event, built on the stack and handed to CControlUI::Event.
struct TEventUI
{
    int kind;
    CControlUI* sender;
    DWORD timestamp;
    POINT mousePos; // client coordinates
    wchar_t keyChar;
    WORD keyState;
    WPARAM wParam;
    LPARAM lParam;
};

// One notification, sent by a control and delivered to the window.
struct TNotifyUI
{
    CUIString type;
    CUIString virtualWnd;
    CControlUI* sender;
    DWORD timestamp;
    POINT mousePos;
    WPARAM wParam;
    LPARAM lParam;
};

// The modifier and button bits of TEventUI::keyState as the keyboard is now.
VARNELUI_API WORD CurrentKeyState();

// Receivers registered with a paint manager. They are never deleted through
// these interfaces.
class INotifyUI
{
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

class IMessageFilterUI
{
public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

class ITranslateAccelerator
{
public:
    // 0 means the message was translated.
    virtual LRESULT TranslateAcceleratorW(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

} // namespace VarnelUI
