#pragma once
// A popup whose paint manager is initialised on creation; the benches build
// and attach their trees themselves so that building can be timed alone.

#include "varnelui/VarnelUI.h"

#include "BenchTiming.h"

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

// The references the step figures are printed next to: a repaint of the
// whole window that changes nothing, and one BitBlt of the window's size.
inline void MeasureWindowReferences(HWND hWnd, int rounds, int steps, TFigure& repaint, TFigure& blit)
{
    for (int r = 0; r < rounds; ++r) {
        repaint.Round(steps, [&] {
            ::InvalidateRect(hWnd, nullptr, FALSE);
            ::UpdateWindow(hWnd);
        });
    }
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    HDC windowDC = ::GetDC(hWnd);
    HDC memoryDC = ::CreateCompatibleDC(windowDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(windowDC, rc.right, rc.bottom);
    HGDIOBJ old = ::SelectObject(memoryDC, bitmap);
    for (int r = 0; r < rounds; ++r) {
        blit.Round(steps, [&] { ::BitBlt(windowDC, 0, 0, rc.right, rc.bottom, memoryDC, 0, 0, SRCCOPY); });
    }
    ::SelectObject(memoryDC, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memoryDC);
    ::ReleaseDC(hWnd, windowDC);
}

} // namespace VarnelBench
