#pragma once
// Shows the wait cursor for the lifetime of the object.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

class VARNELUI_API CWaitCursor
{
public:
    CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor();

private:
    HCURSOR m_hOrigCursor;
};

} // namespace VarnelUI
