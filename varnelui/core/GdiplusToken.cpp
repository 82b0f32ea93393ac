#include "varnelui/core/GdiplusToken.h"

#include <gdiplus.h>

namespace VarnelUI {

namespace {

ULONG_PTR g_uGdiplusToken = 0;
int g_nTokens = 0;
bool g_bStarted = false;

} // namespace

CGdiplusToken::CGdiplusToken()
{
    if (g_nTokens++ != 0) return;
    const Gdiplus::GdiplusStartupInput input; // version 1, no debug hook
    g_bStarted = Gdiplus::GdiplusStartup(&g_uGdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

CGdiplusToken::~CGdiplusToken()
{
    if (--g_nTokens != 0) return;
    if (g_bStarted) Gdiplus::GdiplusShutdown(g_uGdiplusToken);
    g_bStarted = false;
    g_uGdiplusToken = 0;
}

bool CGdiplusToken::IsStarted()
{
    return g_bStarted;
}

} // namespace VarnelUI
