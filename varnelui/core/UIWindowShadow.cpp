#include "varnelui/core/UIWindowShadow.h"

#include "varnelui/core/UIRender.h"

#include <cwchar>

namespace VarnelUI {

namespace {

RECT FromOriginAndSize(int x, int y, int width, int height)
{
    return {x, y, x + width, y + height};
}

} // namespace

void CWindowShadow::SetEnabled(bool bShadow)
{
    m_bEnabled = bShadow;
}

bool CWindowShadow::IsEnabled() const
{
    return m_bEnabled;
}

void CWindowShadow::SetImage(LPCWSTR pstrImage)
{
    m_sImage = pstrImage;
}

void CWindowShadow::SetTopLeftRect(int x, int y, int width, int height)
{
    m_rcTopLeft = FromOriginAndSize(x, y, width, height);
}

void CWindowShadow::SetTopRightRect(int x, int y, int width, int height)
{
    m_rcTopRight = FromOriginAndSize(x, y, width, height);
}

void CWindowShadow::SetBottomLeftRect(int x, int y, int width, int height)
{
    m_rcBottomLeft = FromOriginAndSize(x, y, width, height);
}

void CWindowShadow::SetBottomRightRect(int x, int y, int width, int height)
{
    m_rcBottomRight = FromOriginAndSize(x, y, width, height);
}

void CWindowShadow::CalMiddleRects()
{
    const RECT& tl = m_rcTopLeft;
    const RECT& tr = m_rcTopRight;
    const RECT& bl = m_rcBottomLeft;
    const RECT& br = m_rcBottomRight;
    m_rcTopMiddle = {tl.right, 0, tr.left, tl.bottom};
    m_rcBottomMiddle = {bl.right, bl.top, br.left, bl.bottom};
    m_rcLeftMiddle = {tl.left, tl.bottom, tl.right, bl.top};
    m_rcRightMiddle = {tr.left, tr.bottom, tr.right, br.top};
}

void CWindowShadow::CalRealRects(const RECT& rcClient, tagTWindowShadowInfo& info) const
{
    const RECT& tl = m_rcTopLeft;
    const RECT& tr = m_rcTopRight;
    const RECT& bl = m_rcBottomLeft;
    const LONG W = rcClient.right;
    const LONG H = rcClient.bottom;
    const LONG r = W - (tr.right - tr.left);
    const LONG b = H - (bl.bottom - bl.top);
    info.rcTopLeft = {0, 0, tl.right, tl.bottom};
    info.rcTopRight = {r, 0, W, tr.bottom};
    info.rcBottomLeft = {0, b, bl.right, H};
    info.rcBottomRight = {r, b, W, H};
    info.rcTopMiddle = {tl.right, 0, r, tl.bottom};
    info.rcBottomMiddle = {bl.right, b, r, H};
    info.rcLeftMiddle = {0, tl.bottom, tl.right, b};
    info.rcRightMiddle = {r, tr.bottom, W, b};
}

void CWindowShadow::GenerateRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pBuffer) const
{
    std::swprintf(pBuffer, kRenderStringSize, L"file='%ls' dest='%u,%u,%u,%u' source='%u,%u,%u,%u'", m_sImage.GetData(),
                  static_cast<unsigned>(rcDest.left), static_cast<unsigned>(rcDest.top),
                  static_cast<unsigned>(rcDest.right), static_cast<unsigned>(rcDest.bottom),
                  static_cast<unsigned>(rcSource.left), static_cast<unsigned>(rcSource.top),
                  static_cast<unsigned>(rcSource.right), static_cast<unsigned>(rcSource.bottom));
}

void CWindowShadow::Draw(HDC hDC, CPaintManagerUI* pManager, RECT& rc) const
{
    tagTWindowShadowInfo info = {};
    CalRealRects(rc, info);
    const RECT* const pieces[][2] = {
        {&m_rcTopLeft, &info.rcTopLeft},           {&m_rcTopMiddle, &info.rcTopMiddle},
        {&m_rcTopRight, &info.rcTopRight},         {&m_rcLeftMiddle, &info.rcLeftMiddle},
        {&m_rcRightMiddle, &info.rcRightMiddle},   {&m_rcBottomLeft, &info.rcBottomLeft},
        {&m_rcBottomMiddle, &info.rcBottomMiddle}, {&m_rcBottomRight, &info.rcBottomRight},
    };
    wchar_t szDescription[kRenderStringSize] = {};
    for (const auto& piece : pieces) {
        GenerateRenderString(*piece[0], *piece[1], szDescription);
        CRenderEngine::DrawImageString(hDC, pManager, rc, rc, szDescription);
    }
    rc = {m_rcTopLeft.right, m_rcTopLeft.bottom, info.rcBottomRight.left, info.rcBottomRight.top};
}

} // namespace VarnelUI
