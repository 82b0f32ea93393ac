// A long list: 10,000 three-column text rows under a header in a 600-pixel
// window. Prints the time to add the rows (next to adding 1,000, to show it
// grows linearly), the first layout and paint, one wheel step and one
// Down-arrow selection step with their repaints, next to two references
// measured in the same run: a repaint of the window that changes nothing,
// and one BitBlt of its size.
//
// Each step figure is printed as the average over all steps and as the
// fastest round, the one least disturbed by other processes.
//
// Usage: ListBench [rounds]   (default 20 rounds of 10 steps)

#include "varnelui/VarnelUI.h"

#include "BenchTiming.h"
#include "BenchWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelBench::CBenchWindow;
using VarnelBench::Now;
using VarnelBench::Pump;
using VarnelBench::TBest;
using VarnelBench::TFigure;

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 600;
constexpr int kRows = 10000;
constexpr int kFewRows = 1000;
constexpr int kRoundSteps = 10;
constexpr int kAddRounds = 3;

struct TRowTexts
{
    std::wstring columns[3];
};

std::vector<TRowTexts> MakeTexts(int nRows)
{
    std::vector<TRowTexts> texts(static_cast<size_t>(nRows));
    for (int i = 0; i < nRows; ++i) {
        texts[static_cast<size_t>(i)] = {{L"Row " + std::to_wstring(i + 1), L"Name " + std::to_wstring(i * 7 % 1000),
                                          L"Value " + std::to_wstring(i)}};
    }
    return texts;
}

// A shown window holding an empty list with a scroll bar and three columns.
struct TListWindow
{
    CBenchWindow window{L"VarnelListBench"};
    CListUI* list = nullptr;

    TListWindow()
    {
        if (window.Create(nullptr, L"ListBench", WS_POPUP, 0, 0, 0, kWidth, kHeight) == nullptr) return;
        list = new CListUI;
        list->SetBkColor(0xFFFFFFFF);
        list->SetAlternateBk(true);
        list->SetItemBkColor(0xFFF0F4F8);
        list->EnableScrollBar(true, false);
        for (const int width : {100, 160, 120}) {
            auto* column = new CListHeaderItemUI;
            column->SetFixedWidth(width);
            column->SetText(L"Column");
            list->Add(column);
        }
        window.m_pm.AttachDialog(list);
    }
    ~TListWindow()
    {
        if (window.GetHWND() != nullptr) ::DestroyWindow(window.GetHWND());
        Pump();
    }
    TListWindow(const TListWindow&) = delete;
    TListWindow& operator=(const TListWindow&) = delete;

    // Adds the rows as an application would, each with its three texts.
    double AddRows(const std::vector<TRowTexts>& texts) const
    {
        const double start = Now();
        for (const TRowTexts& row : texts) {
            auto* element = new CListTextElementUI;
            list->Add(element);
            for (int c = 0; c < 3; ++c) element->SetText(c, row.columns[c].c_str());
        }
        return Now() - start;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 20;
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    const std::vector<TRowTexts> texts = MakeTexts(kRows);
    const std::vector<TRowTexts> fewTexts(texts.begin(), texts.begin() + kFewRows);

    // Adding, alternating between the two sizes; each round fills a new list.
    TBest addFew;
    TBest addAll;
    for (int r = 0; r < kAddRounds; ++r) {
        addFew.Add(TListWindow().AddRows(fewTexts));
        addAll.Add(TListWindow().AddRows(texts));
    }

    TListWindow w;
    if (w.list == nullptr) {
        std::fprintf(stderr, "ListBench: the window could not be created\n");
        return 1;
    }
    w.AddRows(texts);
    const HWND hWnd = w.window.GetHWND();
    double start = Now();
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    // Keys reach a window that has the keyboard focus, as a user's list would.
    ::SetFocus(hWnd);
    ::UpdateWindow(hWnd);
    ::GdiFlush();
    const double firstPaint = Now() - start;
    Pump();

    // Down-arrow steps as the window gets them: the focused row hands the
    // key to the list, which selects the next row, scrolls it into view once
    // it reaches the bottom, and the paint that follows repaints what changed.
    w.list->SelectItem(0, true);
    ::UpdateWindow(hWnd);
    TFigure down;
    for (int r = 0; r < rounds; ++r) {
        down.Round(kRoundSteps, [&] {
            ::SendMessageW(hWnd, WM_KEYDOWN, VK_DOWN, 0);
            ::UpdateWindow(hWnd);
            Pump();
        });
    }
    // The key message alone, the repaint after it left out of the timing.
    TFigure downMessage;
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < kRoundSteps; ++i) {
            downMessage.Round(1, [&] { ::SendMessageW(hWnd, WM_KEYDOWN, VK_DOWN, 0); });
            ::UpdateWindow(hWnd);
            Pump();
        }
    }
    const int selected = w.list->GetCurSel();

    // Wheel steps with the real cursor over the list, as a user's would be.
    POINT pt = {kWidth / 2, kHeight / 2};
    ::ClientToScreen(hWnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
    Pump();
    const WPARAM wheelDown = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    TFigure wheel;
    for (int r = 0; r < rounds; ++r) {
        wheel.Round(kRoundSteps, [&] {
            ::SendMessageW(hWnd, WM_MOUSEWHEEL, wheelDown, MAKELPARAM(pt.x, pt.y));
            ::UpdateWindow(hWnd);
            Pump();
        });
    }
    TFigure wheelMessage;
    for (int r = 0; r < rounds; ++r) {
        for (int i = 0; i < kRoundSteps; ++i) {
            wheelMessage.Round(1, [&] { ::SendMessageW(hWnd, WM_MOUSEWHEEL, wheelDown, MAKELPARAM(pt.x, pt.y)); });
            ::UpdateWindow(hWnd);
            Pump();
        }
    }
    const int position = static_cast<int>(w.list->GetScrollPos().cy);
    const int range = static_cast<int>(w.list->GetScrollRange().cy);

    TFigure repaint;
    TFigure blit;
    VarnelBench::MeasureWindowReferences(hWnd, rounds, kRoundSteps, repaint, blit);

    std::printf("window %d x %d, %d rows of 3 columns, %d Down steps (row %d) and %d wheel steps (position %d of %d)\n",
                kWidth, kHeight, kRows, 2 * rounds * kRoundSteps, selected, 2 * rounds * kRoundSteps, position, range);
    std::printf("%-22s %8s rows %8.3f ms (%6.2f us a row)   %6s rows %8.3f ms (%6.2f us a row)\n",
                "add rows, best of 3", "1,000", addFew.value * 1000.0, addFew.value * 1e6 / kFewRows, "10,000",
                addAll.value * 1000.0, addAll.value * 1e6 / kRows);
    std::printf("first layout+paint     %8.3f ms\n", firstPaint * 1000.0);
    std::printf("%-22s %11s %11s\n", "", "average", "best round");
    down.Print("Down-arrow step");
    downMessage.Print("  of which the message");
    wheel.Print("wheel step");
    wheelMessage.Print("  of which the message");
    repaint.Print("repaint, no change");
    blit.Print("one BitBlt");
    return 0;
}
