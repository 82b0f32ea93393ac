// Full-window paint cost of a skinned window, measured against the cost of one
// BitBlt of the same size in the same run (so the figure says how much the
// framework adds on top of getting pixels onto the screen at all).
//
// Usage: PaintBench [iterations]   (default 200)
// The window is 1286 x 768 and is built from a skin with a nine-grid
// background, six three-state strip buttons and a formatted-text label.

#include "varnelui/VarnelUI.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cstdlib>

using namespace VarnelUI;

namespace {

constexpr int kWidth = 1286;
constexpr int kHeight = 768;

constexpr wchar_t kSkin[] =
    L"<Window size=\"1286,768\">"
    L"<Font name=\"Arial\" size=\"15\" bold=\"true\" default=\"true\" />"
    L"<Font name=\"Arial\" size=\"20\" />"
    L"<VerticalLayout bkimage=\"file='PlayGameBg.png' corner='10,32,10,10' mask='0xffff00ff'\">"
    L" <HorizontalLayout height=\"32\">"
    L"  <Label name=\"title\" width=\"600\" showhtml=\"true\" textcolor=\"#FFFFFBF0\""
    L"   text=\"{b}Zentari{/b} {c #FFFFD070}Realm 7{/c} {u}online{/u} {f 1}12,345 players{/f}\" />"
    L"  <Control />"
    L"  <HorizontalLayout width=\"162\" inset=\"0,3,0,2\">"
    L"   <Button width=\"27\" height=\"27\" normalimage=\"file='kefubtn.png' source='0,0,27,27'\" "
    L"hotimage=\"file='kefubtn.png' source='27,0,54,27'\" pushedimage=\"file='kefubtn.png' source='54,0,81,27'\" />"
    L"   <Button width=\"27\" height=\"27\" normalimage=\"file='refreshbtn.png' source='0,0,27,27'\" "
    L"hotimage=\"file='refreshbtn.png' source='27,0,54,27'\" pushedimage=\"file='refreshbtn.png' source='54,0,81,27'\" "
    L"/>"
    L"   <Button width=\"27\" height=\"27\" normalimage=\"file='minibtn.png' source='0,0,27,27'\" "
    L"hotimage=\"file='minibtn.png' source='27,0,54,27'\" pushedimage=\"file='minibtn.png' source='54,0,81,27'\" />"
    L"   <Button width=\"27\" height=\"27\" normalimage=\"file='maxbtn.png' source='0,0,27,27'\" "
    L"hotimage=\"file='maxbtn.png' source='27,0,54,27'\" pushedimage=\"file='maxbtn.png' source='54,0,81,27'\" />"
    L"   <Button width=\"27\" height=\"27\" normalimage=\"file='maxbtn.png' source='0,0,27,27'\" "
    L"hotimage=\"file='maxbtn.png' source='27,0,54,27'\" pushedimage=\"file='maxbtn.png' source='54,0,81,27'\" />"
    L"   <Button width=\"27\" height=\"27\" normalimage=\"file='closebtn.png' source='0,0,27,27'\" "
    L"hotimage=\"file='closebtn.png' source='27,0,54,27'\" pushedimage=\"file='closebtn.png' source='54,0,81,27'\" />"
    L"  </HorizontalLayout>"
    L" </HorizontalLayout>"
    L" <Control />"
    L"</VerticalLayout>"
    L"</Window>";

class BenchWindow : public CWindowWnd
{
public:
    CPaintManagerUI m_pm;

    LPCWSTR GetWndClassName() const override { return L"VarnelPaintBench"; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            m_pm.Init(m_hWnd);
            CDialogBuilder builder;
            CControlUI* root = builder.Create(STRINGorID(kSkin), nullptr, nullptr, &m_pm);
            if (root == nullptr) return -1;
            m_pm.AttachDialog(root);
            return 0;
        }
        LRESULT lRes = 0;
        if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int iterations = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 200;

    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourcePath(VARNEL_SKIN_DIR);

    BenchWindow window;
    if (window.Create(nullptr, L"PaintBench", WS_POPUP, 0, 0, 0, kWidth, kHeight) == nullptr) {
        std::fprintf(stderr, "PaintBench: the window could not be created\n");
        return 1;
    }
    ::ShowWindow(window.GetHWND(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.GetHWND());
    Pump();

    // Full-window paints: layout is done by now, so this is painting alone.
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < iterations; ++i) {
        ::InvalidateRect(window.GetHWND(), nullptr, FALSE);
        ::UpdateWindow(window.GetHWND());
    }
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    const double paint = Seconds(start, end) / iterations;

    // One plain BitBlt of the same size onto the same window.
    HDC windowDC = ::GetDC(window.GetHWND());
    HDC memoryDC = ::CreateCompatibleDC(windowDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(windowDC, kWidth, kHeight);
    HGDIOBJ old = ::SelectObject(memoryDC, bitmap);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < iterations; ++i) ::BitBlt(windowDC, 0, 0, kWidth, kHeight, memoryDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    const double blit = Seconds(start, end) / iterations;
    ::SelectObject(memoryDC, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memoryDC);
    ::ReleaseDC(window.GetHWND(), windowDC);

    std::printf("window            %d x %d, %d iterations\n", kWidth, kHeight, iterations);
    std::printf("full-window paint %.3f ms\n", paint * 1000.0);
    std::printf("one BitBlt        %.3f ms\n", blit * 1000.0);
    std::printf("paint / BitBlt    %.2f\n", blit > 0 ? paint / blit : 0.0);

    ::DestroyWindow(window.GetHWND());
    Pump();
    return 0;
}
