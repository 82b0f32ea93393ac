// Paint costs of the shipped skins, each printed next to references measured
// in the same run, so the ratios hold on any machine:
//   - the naive anchor: what a plain skinned window pays per frame, one
//     AlphaBlend of a full-window 32-bit image plus one blit to the window;
//   - the blit floor: the blit alone.
// Painting is timed inside WM_PAINT (the paint manager's whole paint from
// BeginPaint to EndPaint, layered update included), so message-queue latency
// of the window system is not counted as painting.
//
// Usage: PaintBench [rounds]   (default 20 rounds of 10 iterations per figure)

#include "varnelui/VarnelUI.h"

#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

using namespace VarnelUI;
using VarnelBench::Now;
using VarnelBench::Pump;
using VarnelBench::TBest;

namespace {

// The play window is maximised in practice; this is a common laptop screen
// less the task bar. The login window has the size the launch settings give.
constexpr SIZE kPlaySize = {1286, 768};
constexpr SIZE kLoginSize = {1176, 731};
constexpr int kRoundIterations = 10;

// A window built from one skin file that times its own WM_PAINT handling.
class CSkinWindow : public CWindowWnd
{
public:
    using Prepare = std::function<void(CPaintManagerUI&)>;
    CSkinWindow(LPCWSTR skinFile, Prepare prepare) : m_skinFile(skinFile), m_prepare(std::move(prepare)) {}

    LPCWSTR GetWndClassName() const override { return L"VarnelPaintBench"; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CREATE) {
            m_pm.Init(m_hWnd);
            CDialogBuilder builder;
            CControlUI* root = builder.Create(STRINGorID(m_skinFile), nullptr, nullptr, &m_pm);
            if (root == nullptr) return -1;
            m_pm.AttachDialog(root);
            if (m_prepare) m_prepare(m_pm);
            return 0;
        }
        LRESULT lRes = 0;
        if (uMsg == WM_PAINT) {
            RECT rcUpdate = {};
            if (::GetUpdateRect(m_hWnd, &rcUpdate, FALSE)) {
                lastPaintArea = (rcUpdate.right - rcUpdate.left) * (rcUpdate.bottom - rcUpdate.top);
                ++paints;
            }
            const double start = Now();
            if (m_bBare) PaintBare();
            else m_pm.MessageHandler(uMsg, wParam, lParam, lRes);
            paintSeconds += Now() - start;
            return lRes;
        }
        if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    bool Open(SIZE size)
    {
        if (Create(nullptr, L"PaintBench", WS_POPUP, 0, 0, 0, size.cx, size.cy) == nullptr) return false;
        // The skin's own initial size is not the size measured here.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        Pump();
        return m_pm.GetRoot() != nullptr;
    }

    void ResetCounters()
    {
        paints = 0;
        paintSeconds = 0.0;
    }

    // Average time of one full-window paint; layout is done by now, so this is painting alone.
    double FullPaint(int iterations)
    {
        ResetCounters();
        for (int i = 0; i < iterations; ++i) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
            ::UpdateWindow(m_hWnd);
        }
        return paints > 0 ? paintSeconds / paints : 0.0;
    }

    // What any window pays to repaint rc: BeginPaint, a blit of the update
    // rectangle from a ready frame, EndPaint; no drawing at all.
    double BareRepaint(const RECT& rc, int iterations)
    {
        m_bBare = true;
        ResetCounters();
        for (int i = 0; i < iterations; ++i) {
            ::InvalidateRect(m_hWnd, &rc, FALSE);
            ::UpdateWindow(m_hWnd);
        }
        m_bBare = false;
        return paints > 0 ? paintSeconds / paints : 0.0;
    }

    // The tree alone painting rc into a full-window DIB, as the paint manager
    // has it do for that update rectangle.
    double TreePaint(const RECT& rc, int iterations)
    {
        RECT rcClient = {};
        ::GetClientRect(m_hWnd, &rcClient);
        const CMemoryDCHandle dc(::CreateCompatibleDC(nullptr));
        void* pBits = nullptr;
        const CBitmapHandle frame(RenderBlend::CreateDib32(dc.Get(), rcClient.right, rcClient.bottom, &pBits));
        const CSelectObjectGuard select(dc.Get(), frame.Get());
        const double start = Now();
        for (int i = 0; i < iterations; ++i) m_pm.GetRoot()->DoPaint(dc.Get(), rc);
        ::GdiFlush();
        return (Now() - start) / iterations;
    }

    CPaintManagerUI m_pm;
    int paints = 0;
    int lastPaintArea = 0;
    double paintSeconds = 0.0;

private:
    void PaintBare()
    {
        if (!m_bareDC) {
            m_bareDC.Reset(::CreateCompatibleDC(nullptr));
            void* pBits = nullptr;
            m_bareFrame.Reset(RenderBlend::CreateDib32(m_bareDC.Get(), 2000, 2000, &pBits));
            ::SelectObject(m_bareDC.Get(), m_bareFrame.Get());
        }
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWnd, &ps);
        const RECT& rc = ps.rcPaint;
        ::BitBlt(ps.hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_bareDC.Get(), rc.left, rc.top,
                 SRCCOPY);
        ::EndPaint(m_hWnd, &ps);
    }

    LPCWSTR m_skinFile;
    Prepare m_prepare;
    bool m_bBare = false;
    // Destroyed in this order: the frame leaves the DC with it.
    CBitmapHandle m_bareFrame;
    CMemoryDCHandle m_bareDC;
};

// Moves the real cursor onto the control and off it again, iterations times
// each way, and lets the window react as it would to a user: the system turns
// the cursor moves into WM_MOUSEMOVE, the button goes hot and cold and
// repaints itself. Returns the average paint per move; roundTrip receives the
// average time from the move to the painted window.
double HoverRepaint(CSkinWindow& window, LPCWSTR controlName, POINT ptAway, int iterations, double& roundTrip,
                    int& area)
{
    CControlUI* pControl = window.m_pm.FindControl(controlName);
    if (pControl == nullptr) return 0.0;
    const RECT& rc = pControl->GetPos();
    POINT ptOn = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(window.GetHWND(), &ptOn);
    ::ClientToScreen(window.GetHWND(), &ptAway);

    auto moveTo = [&](POINT pt) {
        ::SetCursorPos(pt.x, pt.y);
        // The move reaches the window through its queue; a few pumps let any
        // follow-up (leave tracking, the paint) arrive too.
        for (int i = 0; i < 3; ++i) {
            Pump();
            ::UpdateWindow(window.GetHWND());
        }
    };
    moveTo(ptAway);
    window.ResetCounters();
    area = 0;
    const double start = Now();
    for (int i = 0; i < iterations; ++i) {
        moveTo(ptOn);
        moveTo(ptAway);
    }
    roundTrip = (Now() - start) / (2.0 * iterations);
    area = window.lastPaintArea;
    const int moves = 2 * iterations;
    if (window.paints != moves) std::printf("  (%d repaints for %d moves)\n", window.paints, moves);
    return window.paints > 0 ? window.paintSeconds / window.paints : 0.0;
}

// A premultiplied full-window image with every alpha level in it, so no
// blend shortcut for opaque or empty pixels can help.
std::vector<DWORD> MixedAlphaPixels(SIZE size)
{
    std::vector<DWORD> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const DWORD a = static_cast<DWORD>((x + y) & 0xFF);
            const DWORD c = a * static_cast<DWORD>(x & 0xFF) / 255;
            pixels[static_cast<size_t>(y) * size.cx + x] = (a << 24) | (c << 16) | (c << 8) | (a / 2);
        }
    }
    return pixels;
}

// Puts a finished frame on the window the way its paint manager does: a blit
// for a normal window, UpdateLayeredWindow with per-pixel alpha for a layered one.
void Present(HWND hWnd, HDC windowDC, HDC frameDC, SIZE size)
{
    if ((::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) == 0) {
        ::BitBlt(windowDC, 0, 0, size.cx, size.cy, frameDC, 0, 0, SRCCOPY);
        return;
    }
    RECT rcWindow = {};
    ::GetWindowRect(hWnd, &rcWindow);
    POINT ptDest = {rcWindow.left, rcWindow.top};
    POINT ptSrc = {0, 0};
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(hWnd, nullptr, &ptDest, &size, frameDC, &ptSrc, 0, &bf, ULW_ALPHA);
}

// The references, drawn on the same window the paints end in: a full-window
// DIB frame, and a mixed-alpha image blended onto it.
class CReferenceFrames
{
public:
    CReferenceFrames(HWND hWnd, SIZE size)
        : m_hWnd(hWnd),
          m_size(size),
          m_windowDC(hWnd),
          m_frameDC(::CreateCompatibleDC(m_windowDC.Get())),
          m_imageDC(::CreateCompatibleDC(m_windowDC.Get()))
    {
        void* pFrame = nullptr;
        void* pImage = nullptr;
        // Bottom-up for a layered window, as its paint manager makes it.
        const bool bLayered = (::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        m_frame.Reset(
            RenderBlend::CreateDib32(m_windowDC.Get(), size.cx, size.cy, &pFrame,
                                     bLayered ? RenderBlend::DibRows::BottomUp : RenderBlend::DibRows::TopDown));
        m_image.Reset(RenderBlend::CreateDib32(m_windowDC.Get(), size.cx, size.cy, &pImage));
        if (pImage != nullptr) {
            const std::vector<DWORD> pixels = MixedAlphaPixels(size);
            std::copy(pixels.begin(), pixels.end(), static_cast<DWORD*>(pImage));
        }
        m_selectFrame.emplace(m_frameDC.Get(), m_frame.Get());
        m_selectImage.emplace(m_imageDC.Get(), m_image.Get());
    }

    // One AlphaBlend of the full-window image plus putting the frame on the window.
    double Anchor(int iterations)
    {
        const BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        const double start = Now();
        for (int i = 0; i < iterations; ++i) {
            ::AlphaBlend(m_frameDC.Get(), 0, 0, m_size.cx, m_size.cy, m_imageDC.Get(), 0, 0, m_size.cx, m_size.cy, bf);
            Present(m_hWnd, m_windowDC.Get(), m_frameDC.Get(), m_size);
            ::GdiFlush();
        }
        return (Now() - start) / iterations;
    }

    // Putting the frame on the window alone.
    double Blit(int iterations)
    {
        const double start = Now();
        for (int i = 0; i < iterations; ++i) {
            Present(m_hWnd, m_windowDC.Get(), m_frameDC.Get(), m_size);
            ::GdiFlush();
        }
        return (Now() - start) / iterations;
    }

private:
    HWND m_hWnd;
    SIZE m_size;
    CWindowDCHandle m_windowDC;
    CMemoryDCHandle m_frameDC;
    CMemoryDCHandle m_imageDC;
    CBitmapHandle m_frame;
    CBitmapHandle m_image;
    std::optional<CSelectObjectGuard> m_selectFrame;
    std::optional<CSelectObjectGuard> m_selectImage;
};

double Ms(double seconds)
{
    return seconds * 1000.0;
}

double Ratio(double value, double reference)
{
    return reference > 0.0 ? value / reference : 0.0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 20;

    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourcePath(VARNEL_SKIN_DIR);

    CSkinWindow play(L"playGameWindow.xml", [](CPaintManagerUI& pm) {
        // The browser draws in a child window of its own, never through the
        // framework's paint; hidden, it is not created and the paint is the same.
        if (CControlUI* pBrowser = pm.FindControl(L"WebBrowser")) pBrowser->SetVisible(false);
        if (CControlUI* pTitle = pm.FindControl(L"titelLabel")) pTitle->SetText(L"Zentari - Realm 7");
    });
    if (!play.Open(kPlaySize)) {
        std::fprintf(stderr, "PaintBench: the play window could not be built\n");
        return 1;
    }

    TBest playAnchor, playBlit, playPaint, hover, hoverRoundTrip, hoverFloor, hoverTree;
    int hoverArea = 0;
    {
        CReferenceFrames references(play.GetHWND(), kPlaySize);
        for (int round = 0; round < rounds; ++round) {
            playAnchor.Add(references.Anchor(kRoundIterations));
            playBlit.Add(references.Blit(kRoundIterations));
            playPaint.Add(play.FullPaint(kRoundIterations));
            double roundTrip = 0.0;
            hover.Add(HoverRepaint(play, L"closebtn", POINT{500, 16}, kRoundIterations, roundTrip, hoverArea));
            hoverRoundTrip.Add(roundTrip);
            const RECT rcButton = play.m_pm.FindControl(L"closebtn")->GetPos();
            hoverFloor.Add(play.BareRepaint(rcButton, kRoundIterations));
            hoverTree.Add(play.TreePaint(rcButton, kRoundIterations));
        }
    }
    ::DestroyWindow(play.GetHWND());
    Pump();

    CSkinWindow login(L"login.xml", [](CPaintManagerUI& pm) {
        // Where the launch settings put the two buttons.
        const RECT buttons[] = {{1012, 155, 1044, 186}, {1043, 155, 1074, 186}};
        const LPCWSTR names[] = {L"minbtn", L"closebtn"};
        for (int i = 0; i < 2; ++i) {
            if (CControlUI* pButton = pm.FindControl(names[i])) {
                pButton->SetFixedXY(SIZE{buttons[i].left, buttons[i].top});
                pButton->SetFixedWidth(buttons[i].right - buttons[i].left);
                pButton->SetFixedHeight(buttons[i].bottom - buttons[i].top);
            }
        }
    });
    if (!login.Open(kLoginSize)) {
        std::fprintf(stderr, "PaintBench: the login window could not be built\n");
        return 1;
    }
    TBest loginAnchor, loginBlit, loginPaint;
    {
        CReferenceFrames references(login.GetHWND(), kLoginSize);
        for (int round = 0; round < rounds; ++round) {
            loginAnchor.Add(references.Anchor(kRoundIterations));
            loginBlit.Add(references.Blit(kRoundIterations));
            loginPaint.Add(login.FullPaint(kRoundIterations));
        }
    }
    ::DestroyWindow(login.GetHWND());
    Pump();

    std::printf("%d rounds of %d; each figure is its fastest round\n", rounds, kRoundIterations);
    std::printf("play window %ld x %ld\n", kPlaySize.cx, kPlaySize.cy);
    std::printf("  naive anchor               %8.3f ms  (AlphaBlend of a full-window image + blit)\n",
                Ms(playAnchor.value));
    std::printf("  blit floor                 %8.3f ms\n", Ms(playBlit.value));
    std::printf("  full paint                 %8.3f ms  %6.3f x anchor  %6.2f x blit\n", Ms(playPaint.value),
                Ratio(playPaint.value, playAnchor.value), Ratio(playPaint.value, playBlit.value));
    std::printf("  hover repaint (closebtn)   %8.3f ms  %6.3f x full paint  (%d pixels repainted)\n", Ms(hover.value),
                Ratio(hover.value, playPaint.value), hoverArea);
    std::printf("    of which the tree        %8.3f ms  (its controls painting the rectangle)\n", Ms(hoverTree.value));
    std::printf("    repaint floor            %8.3f ms  %6.3f x full paint  (BeginPaint, blit, EndPaint alone)\n",
                Ms(hoverFloor.value), Ratio(hoverFloor.value, playPaint.value));
    std::printf("  hover, move to painted     %8.3f ms  (cursor move, messages and paint)\n", Ms(hoverRoundTrip.value));
    std::printf("login window %ld x %ld (layered: the blit is UpdateLayeredWindow)\n", kLoginSize.cx, kLoginSize.cy);
    std::printf("  naive anchor               %8.3f ms\n", Ms(loginAnchor.value));
    std::printf("  blit floor                 %8.3f ms\n", Ms(loginBlit.value));
    std::printf("  full paint                 %8.3f ms  %6.3f x anchor  %6.2f x blit\n", Ms(loginPaint.value),
                Ratio(loginPaint.value, loginAnchor.value), Ratio(loginPaint.value, loginBlit.value));
    return 0;
}
