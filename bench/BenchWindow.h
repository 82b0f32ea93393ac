#pragma once
// A popup whose paint manager is initialised on creation; the benches build
// and attach their trees themselves so that building can be timed alone.

#include "varnelui/VarnelUI.h"

namespace VarnelBench {

class CBenchWindow : public VarnelUI::CWindowWnd
{
public:
    explicit CBenchWindow(LPCWSTR pstrClassName) : m_pstrClassName(pstrClassName) {}

    VarnelUI::CPaintManagerUI m_pm;

    LPCWSTR GetWndClassName() const override { return m_pstrClassName; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            m_pm.Init(m_hWnd);
            return 0;
        }
        LRESULT lRes = 0;
        if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return VarnelUI::CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

private:
    LPCWSTR m_pstrClassName;
};

} // namespace VarnelBench
