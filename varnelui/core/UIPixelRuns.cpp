#include "varnelui/core/UIPixelRuns.h"

#include "varnelui/core/UIRenderBlend.h"

#include <algorithm>

namespace VarnelUI {

namespace {

CPixelRuns::Kind KindOf(DWORD pixel)
{
    const DWORD alpha = pixel >> 24;
    if (alpha == 0xFF) return CPixelRuns::Kind::Opaque;
    return alpha == 0 ? CPixelRuns::Kind::Transparent : CPixelRuns::Kind::Translucent;
}

bool IsPremultiplied(DWORD pixel)
{
    const DWORD alpha = pixel >> 24;
    return (pixel & 0xFF) <= alpha && ((pixel >> 8) & 0xFF) <= alpha && ((pixel >> 16) & 0xFF) <= alpha;
}

} // namespace

TPixelView TPixelView::Of(HBITMAP hBitmap)
{
    const std::optional<RenderBlend::DibRows> rows = RenderBlend::RowsOf(hBitmap);
    DIBSECTION ds = {};
    if (!rows || ::GetObjectW(hBitmap, sizeof(ds), &ds) != static_cast<int>(sizeof(ds))) return {};
    if (ds.dsBm.bmBits == nullptr || ds.dsBm.bmBitsPixel != 32 || ds.dsBmih.biCompression != BI_RGB) return {};
    ::GdiFlush();
    TPixelView view;
    view.width = ds.dsBm.bmWidth;
    view.height = ds.dsBm.bmHeight;
    view.stride = ds.dsBm.bmWidthBytes / 4;
    view.top = static_cast<DWORD*>(ds.dsBm.bmBits);
    // A bottom-up bitmap keeps its top row last.
    if (*rows == RenderBlend::DibRows::BottomUp) {
        view.top += (view.height - 1) * view.stride;
        view.stride = -view.stride;
    }
    return view;
}

std::unique_ptr<CPixelRuns> CPixelRuns::Build(const TPixelView& pixels)
{
    if (pixels.Empty() || pixels.width <= 0 || pixels.height <= 0) return nullptr;
    std::unique_ptr<CPixelRuns> runs(new CPixelRuns(pixels.width, pixels.height));
    runs->m_rowStart.reserve(static_cast<size_t>(pixels.height) + 1);
    for (int y = 0; y < pixels.height; ++y) {
        const DWORD* row = pixels.Row(y);
        if (!std::all_of(row, row + pixels.width, IsPremultiplied)) return nullptr;
        runs->AddRow(row);
    }
    runs->m_rowStart.push_back(runs->m_runs.size());
    runs->m_runs.shrink_to_fit();
    return runs;
}

// A row of many short runs gains nothing over blending it pixel by pixel,
// and would make the table bigger than the image: it becomes one run.
void CPixelRuns::AddRow(const DWORD* row)
{
    const size_t first = m_runs.size();
    m_rowStart.push_back(first);
    const size_t maxRuns = static_cast<size_t>(m_cx) / 8 + 2;
    for (int x = 0; x < m_cx;) {
        const Kind kind = KindOf(row[x]);
        int end = x + 1;
        while (end < m_cx && KindOf(row[end]) == kind) ++end;
        if (m_runs.size() - first == maxRuns) {
            m_runs.resize(first);
            m_runs.push_back({m_cx, Kind::Translucent});
            return;
        }
        m_runs.push_back({end, kind});
        x = end;
    }
}

const CPixelRuns::TRun* CPixelRuns::Find(int y, int x) const
{
    const TRun* first = m_runs.data() + m_rowStart[static_cast<size_t>(y)];
    const TRun* last = m_runs.data() + m_rowStart[static_cast<size_t>(y) + 1];
    return std::upper_bound(first, last, x, [](int value, const TRun& run) { return value < run.end; });
}

CPixelRuns::Kind CPixelRuns::Classify(const RECT& rc) const
{
    const TRun* run = Find(rc.top, rc.left);
    const Kind kind = run->kind;
    for (int y = rc.top; y < rc.bottom; ++y) {
        if (y != rc.top) run = Find(y, rc.left);
        if (run->kind != kind || run->end < rc.right) return Kind::Translucent;
    }
    return kind;
}

} // namespace VarnelUI
