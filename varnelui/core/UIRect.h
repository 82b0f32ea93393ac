#pragma once
// Rectangle, size and point values: the system structures plus operations.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

class VARNELUI_API CUIRect : public RECT
{
public:
    CUIRect();
    // Defined here, like the two sizes, so that the render engine's per-piece
    // arithmetic stays inline.
    CUIRect(const RECT& src) : RECT(src) {}
    CUIRect(int iLeft, int iTop, int iRight, int iBottom);

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    void Empty();
    bool IsNull() const;
    // Bounding box of both, empty rectangles included.
    void Join(const RECT& rc);
    void ResetOffset();
    void Normalize();
    void Offset(int cx, int cy);
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    // Like UnionRect: empty rectangles (right <= left or bottom <= top) are ignored.
    void Union(const RECT& rc);
};

class VARNELUI_API CSize : public SIZE
{
public:
    CSize();
    CSize(const SIZE& src);
    CSize(const RECT& rc);
    CSize(int cx, int cy);
};

class VARNELUI_API CPoint : public POINT
{
public:
    CPoint();
    CPoint(const POINT& src);
    CPoint(int x, int y);
    // Mouse-message coordinates: low and high 16 bits, each sign-extended.
    CPoint(LPARAM lParam);
};

} // namespace VarnelUI
