#include "DibSurface.h"

#include "varnelui/core/UIRenderBlend.h"

namespace VarnelTest {

DibSurface::DibSurface(int cx, int cy, DWORD fill, VarnelUI::RenderBlend::DibRows rows)
    : m_cx(cx),
      m_cy(cy),
      m_topDown(rows == VarnelUI::RenderBlend::DibRows::TopDown)
{
    m_dc = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_bitmap = VarnelUI::RenderBlend::CreateDib32(m_dc, cx, cy, &bits, rows);
    m_bits = static_cast<DWORD*>(bits);
    m_old = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

DibSurface::~DibSurface()
{
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

void DibSurface::Fill(DWORD rgb)
{
    ::GdiFlush();
    for (int i = 0; i < m_cx * m_cy; ++i) m_bits[i] = rgb;
}

void DibSurface::FillFrom(const std::function<DWORD(int x, int y)>& pixel)
{
    ::GdiFlush();
    for (int y = 0; y < m_cy; ++y) {
        DWORD* row = m_bits + (m_topDown ? y : m_cy - 1 - y) * m_cx;
        for (int x = 0; x < m_cx; ++x) row[x] = pixel(x, y);
    }
}

DWORD DibSurface::At(int x, int y) const
{
    ::GdiFlush();
    const int row = m_topDown ? y : m_cy - 1 - y;
    return m_bits[row * m_cx + x] & 0x00FFFFFF;
}

int DibSurface::Count(DWORD rgb) const
{
    ::GdiFlush();
    int n = 0;
    for (int i = 0; i < m_cx * m_cy; ++i) n += (m_bits[i] & 0x00FFFFFF) == rgb ? 1 : 0;
    return n;
}

std::vector<DWORD> DibSurface::Pixels() const
{
    ::GdiFlush();
    std::vector<DWORD> pixels;
    pixels.reserve(static_cast<size_t>(m_cx) * static_cast<size_t>(m_cy));
    for (int y = 0; y < m_cy; ++y) {
        const DWORD* row = m_bits + (m_topDown ? y : m_cy - 1 - y) * m_cx;
        pixels.insert(pixels.end(), row, row + m_cx);
    }
    return pixels;
}

} // namespace VarnelTest
