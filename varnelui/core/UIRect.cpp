#include "varnelui/core/UIRect.h"

#include <algorithm>
#include <utility>

namespace VarnelUI {

CUIRect::CUIRect()
{
    left = top = right = bottom = 0;
}

CUIRect::CUIRect(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

void CUIRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CUIRect::IsNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CUIRect::Join(const RECT& rc)
{
    left = std::min(left, rc.left);
    top = std::min(top, rc.top);
    right = std::max(right, rc.right);
    bottom = std::max(bottom, rc.bottom);
}

void CUIRect::ResetOffset()
{
    right -= left;
    bottom -= top;
    left = 0;
    top = 0;
}

void CUIRect::Normalize()
{
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
}

void CUIRect::Offset(int cx, int cy)
{
    left += cx;
    right += cx;
    top += cy;
    bottom += cy;
}

void CUIRect::Inflate(int cx, int cy)
{
    left -= cx;
    right += cx;
    top -= cy;
    bottom += cy;
}

void CUIRect::Deflate(int cx, int cy)
{
    Inflate(-cx, -cy);
}

void CUIRect::Union(const RECT& rc)
{
    const auto isEmpty = [](const RECT& r) { return r.right <= r.left || r.bottom <= r.top; };
    const bool thisEmpty = isEmpty(*this);
    if (isEmpty(rc)) {
        if (thisEmpty) Empty();
        return;
    }
    if (thisEmpty) {
        *this = CUIRect(rc);
        return;
    }
    Join(rc);
}

CSize::CSize()
{
    cx = cy = 0;
}

CSize::CSize(const SIZE& src)
{
    cx = src.cx;
    cy = src.cy;
}

CSize::CSize(const RECT& rc)
{
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

CSize::CSize(int iCx, int iCy)
{
    cx = iCx;
    cy = iCy;
}

CPoint::CPoint()
{
    x = y = 0;
}

CPoint::CPoint(const POINT& src)
{
    x = src.x;
    y = src.y;
}

CPoint::CPoint(int iX, int iY)
{
    x = iX;
    y = iY;
}

CPoint::CPoint(LPARAM lParam)
{
    x = GET_X_LPARAM(lParam);
    y = GET_Y_LPARAM(lParam);
}

} // namespace VarnelUI
