#pragma once
// The shadow a layered window draws around itself from one image: four corner
// pieces and four edge pieces cut out of the image, stretched along the
// window's edges, drawn before the control tree, which paints inside them.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"

namespace VarnelUI {

class CPaintManagerUI;

class VARNELUI_API CWindowShadow
{
public:
    // The eight destination rectangles of the shadow pieces, in this order.
    struct tagTWindowShadowInfo
    {
        RECT rcTopLeft;
        RECT rcTopRight;
        RECT rcBottomLeft;
        RECT rcBottomRight;
        RECT rcTopMiddle;
        RECT rcBottomMiddle;
        RECT rcLeftMiddle;
        RECT rcRightMiddle;
    };

    // What GenerateRenderString's buffer holds, in characters.
    static constexpr int kRenderStringSize = 512;

    void SetEnabled(bool bShadow);
    bool IsEnabled() const;
    void SetImage(LPCWSTR pstrImage);

    // Source rectangles of the corner pieces within the image.
    void SetTopLeftRect(int x, int y, int width, int height);
    void SetTopRightRect(int x, int y, int width, int height);
    void SetBottomLeftRect(int x, int y, int width, int height);
    void SetBottomRightRect(int x, int y, int width, int height);
    // The edge pieces lie between the corners; derived once the corners are set.
    void CalMiddleRects();

    // Where the pieces go in a client area whose top-left corner is the origin.
    void CalRealRects(const RECT& rcClient, tagTWindowShadowInfo& info) const;
    // The image description drawing one piece.
    void GenerateRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pBuffer) const;
    // Draws the pieces into hDC over rc and shrinks rc to the area inside them.
    void Draw(HDC hDC, CPaintManagerUI* pManager, RECT& rc) const;

private:
    bool m_bEnabled = false;
    CUIString m_sImage;
    RECT m_rcTopLeft = {};
    RECT m_rcTopRight = {};
    RECT m_rcBottomLeft = {};
    RECT m_rcBottomRight = {};
    RECT m_rcTopMiddle = {};
    RECT m_rcBottomMiddle = {};
    RECT m_rcLeftMiddle = {};
    RECT m_rcRightMiddle = {};
};

} // namespace VarnelUI
