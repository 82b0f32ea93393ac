#pragma once
// State bits of controls that track the mouse and keyboard themselves
// (buttons, options, scroll bar parts, sliders, layout separators).

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

constexpr UINT CTRLSTATE_FOCUSED = 0x01;
constexpr UINT CTRLSTATE_SELECTED = 0x02;
constexpr UINT CTRLSTATE_DISABLED = 0x04;
constexpr UINT CTRLSTATE_HOT = 0x08;
constexpr UINT CTRLSTATE_PUSHED = 0x10;
constexpr UINT CTRLSTATE_CAPTURED = 0x40;

} // namespace VarnelUI
