#include "varnelui/core/WaitCursor.h"

namespace VarnelUI {

CWaitCursor::CWaitCursor() : m_hOrigCursor(SetCursor(LoadCursorW(nullptr, IDC_WAIT)))
{
}

CWaitCursor::~CWaitCursor()
{
    SetCursor(m_hOrigCursor);
}

} // namespace VarnelUI
