#pragma once
// Keeps the GDI+ library started while at least one token lives. The first
// token starts it and the last one to go shuts it down, so every user of GDI+
// in the process shares one start-up instead of each starting its own.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

// Tokens are created and destroyed on the GUI thread only, like every other
// framework object, so the shared count is not locked.
class VARNELUI_API CGdiplusToken
{
public:
    CGdiplusToken();
    CGdiplusToken(const CGdiplusToken&) = delete;
    CGdiplusToken& operator=(const CGdiplusToken&) = delete;
    ~CGdiplusToken();

    // False when the library could not be started; GDI+ calls must be skipped then.
    static bool IsStarted();
};

} // namespace VarnelUI
