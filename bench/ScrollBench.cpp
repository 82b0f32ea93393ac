// Scrolling a long list: a vertical layout with a scroll bar holding 10,000
// fixed-height labels in a 600-pixel window. Prints the time to build the tree
// from its skin, the first layout and paint, and one wheel step (scroll and
// repaint) over many steps, next to two references measured in the same run:
// a repaint of the window that scrolls nothing, and one BitBlt of its size.
//
// Each figure is printed as the average over all rounds and as the fastest
// round, the one least disturbed by other processes.
//
// Usage: ScrollBench [rounds]   (default 20 rounds of 10 steps)

#include "varnelui/VarnelUI.h"

#include "BenchTiming.h"
#include "BenchWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

using namespace VarnelUI;
using VarnelBench::CBenchWindow;
using VarnelBench::Now;
using VarnelBench::Pump;
using VarnelBench::TFigure;

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 600;
constexpr int kRows = 10000;
constexpr int kRowHeight = 30;
constexpr int kRoundSteps = 10;

std::wstring MakeSkin()
{
    std::wstring skin = L"<Window size=\"400,600\"><Font name=\"Arial\" size=\"14\" default=\"true\" />"
                        L"<VerticalLayout vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\">";
    for (int i = 0; i < kRows; ++i) {
        skin += L"<Label height=\"" + std::to_wstring(kRowHeight) + L"\" text=\"Row " + std::to_wstring(i + 1) +
                L"\" bkcolor=\"" + (i % 2 != 0 ? L"#FFDCE6F0" : L"#FFFFFFFF") + L"\" />";
    }
    skin += L"</VerticalLayout></Window>";
    return skin;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 20;

    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CBenchWindow window(L"VarnelScrollBench");
    if (window.Create(nullptr, L"ScrollBench", WS_POPUP, 0, 0, 0, kWidth, kHeight) == nullptr) {
        std::fprintf(stderr, "ScrollBench: the window could not be created\n");
        return 1;
    }
    const HWND hWnd = window.GetHWND();
    const std::wstring skin = MakeSkin();

    double start = Now();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(skin.c_str()), nullptr, nullptr, &window.m_pm);
    const double build = Now() - start;
    auto* layout = root != nullptr ? static_cast<CContainerUI*>(root->GetInterface(L"Container")) : nullptr;
    if (layout == nullptr || layout->GetCount() != kRows) {
        std::fprintf(stderr, "ScrollBench: the skin did not build %d rows\n", kRows);
        return 1;
    }
    window.m_pm.AttachDialog(root);

    start = Now();
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hWnd);
    ::GdiFlush();
    const double firstPaint = Now() - start;
    Pump();

    // Wheel steps as the window gets them, with the real cursor over the
    // list as a user's would be: the message scrolls (and re-runs the hover
    // hit test), the paint that follows repaints what moved, and whatever
    // else the step queued is handled before the next one.
    POINT pt = {kWidth / 2, kHeight / 2};
    ::ClientToScreen(hWnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
    Pump();
    const WPARAM wheelDown = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    TFigure step;
    for (int r = 0; r < rounds; ++r) {
        step.Round(kRoundSteps, [&] {
            ::SendMessageW(hWnd, WM_MOUSEWHEEL, wheelDown, MAKELPARAM(pt.x, pt.y));
            ::UpdateWindow(hWnd);
            Pump();
        });
    }
    // The scrolling itself, without the message around it or the paint after
    // it: the bar moves and every one of the 10,000 rows is moved.
    TFigure scroll;
    for (int r = 0; r < rounds; ++r) {
        scroll.Round(kRoundSteps, [&] { layout->LineDown(); });
        ::UpdateWindow(hWnd);
        Pump();
    }
    const int position = static_cast<int>(layout->GetScrollPos().cy);
    const int range = static_cast<int>(layout->GetScrollRange().cy);

    // References from this run: repainting the same window without scrolling
    // (what painting the visible rows costs) and one BitBlt of its size.
    TFigure repaint;
    TFigure blit;
    VarnelBench::MeasureWindowReferences(hWnd, rounds, kRoundSteps, repaint, blit);

    std::printf("window %d x %d, %d rows of %d px, %d wheel steps and as many line steps (position %d of %d)\n", kWidth,
                kHeight, kRows, kRowHeight, rounds * kRoundSteps, position, range);
    std::printf("build from skin        %8.3f ms\n", build * 1000.0);
    std::printf("first layout+paint     %8.3f ms\n", firstPaint * 1000.0);
    std::printf("%-22s %11s %11s\n", "", "average", "best round");
    step.Print("wheel step");
    scroll.Print("  of which scrolling");
    repaint.Print("repaint, no scrolling");
    blit.Print("one BitBlt");

    ::DestroyWindow(hWnd);
    Pump();
    return 0;
}
