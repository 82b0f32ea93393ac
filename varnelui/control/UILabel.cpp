#include "varnelui/control/UILabel.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>
#include <cwchar>
#include <memory>

namespace VarnelUI {

namespace {

const CControlRegistration<CLabelUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseColor;
using AttrParse::ParseInt;
using AttrParse::ParseInts;
using AttrParse::ParseRect;
using AttrParse::TAttributeEntry;
using AttrParse::ToInt;

// Each word found in an "align" value, in this order, clears and sets these
// bits ("vcenter" also contains "center", so it centres horizontally too).
struct TAlignWord
{
    LPCWSTR word;
    UINT clear;
    UINT set;
};

constexpr TAlignWord kAlignWords[] = {
    {L"left", DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE, 0}, {L"center", DT_RIGHT, DT_CENTER},
    {L"right", DT_CENTER | DT_VCENTER | DT_SINGLELINE, DT_RIGHT},    {L"top", DT_VCENTER | DT_BOTTOM, DT_SINGLELINE},
    {L"vcenter", DT_BOTTOM, DT_CENTER | DT_VCENTER | DT_SINGLELINE}, {L"bottom", DT_VCENTER, DT_BOTTOM | DT_SINGLELINE},
};

UINT ApplyAlign(UINT uStyle, LPCWSTR pstrValue)
{
    for (const TAlignWord& align : kAlignWords) {
        if (std::wcsstr(pstrValue, align.word) == nullptr) continue;
        uStyle = (uStyle & ~align.clear) | align.set;
    }
    return uStyle;
}

const TAttributeEntry<CLabelUI> kLabelAttributes[] = {
    {L"align", AttrSyntax::Text, [](CLabelUI& c, LPCWSTR v) { c.SetTextStyle(ApplyAlign(c.GetTextStyle(), v)); }},
    {L"endellipsis", AttrSyntax::Bool,
     [](CLabelUI& c, LPCWSTR v) {
         const UINT uStyle = c.GetTextStyle();
         c.SetTextStyle(ParseBool(v) ? uStyle | DT_END_ELLIPSIS : uStyle & ~static_cast<UINT>(DT_END_ELLIPSIS));
     }},
    {L"font", AttrSyntax::FontId, [](CLabelUI& c, LPCWSTR v) { c.SetFont(ToInt(ParseInt(v))); }},
    {L"textcolor", AttrSyntax::Color, [](CLabelUI& c, LPCWSTR v) { c.SetTextColor(ParseColor(v)); }},
    {L"disabledtextcolor", AttrSyntax::Color, [](CLabelUI& c, LPCWSTR v) { c.SetDisabledTextColor(ParseColor(v)); }},
    {L"textpadding", AttrSyntax::Rect, [](CLabelUI& c, LPCWSTR v) { c.SetTextPadding(ParseRect(v)); }},
    {L"showhtml", AttrSyntax::Bool, [](CLabelUI& c, LPCWSTR v) { c.SetShowHtml(ParseBool(v)); }},
    {L"enabledeffect", AttrSyntax::Bool, [](CLabelUI& c, LPCWSTR v) { c.SetEnabledEffect(ParseBool(v)); }},
    {L"rhaa", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetTextRenderingHintAntiAlias(ToInt(ParseInt(v))); }},
    {L"transshadow", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetTransShadow(ToInt(ParseInt(v))); }},
    {L"transtext", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetTransText(ToInt(ParseInt(v))); }},
    {L"transshadow1", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetTransShadow1(ToInt(ParseInt(v))); }},
    {L"transtext1", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetTransText1(ToInt(ParseInt(v))); }},
    {L"gradientangle", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetGradientAngle(ToInt(ParseInt(v))); }},
    {L"enabledstroke", AttrSyntax::Bool, [](CLabelUI& c, LPCWSTR v) { c.SetEnabledStroke(ParseBool(v)); }},
    {L"enabledshadow", AttrSyntax::Bool, [](CLabelUI& c, LPCWSTR v) { c.SetEnabledShadow(ParseBool(v)); }},
    {L"transstroke", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetTransStroke(ToInt(ParseInt(v))); }},
    {L"gradientlength", AttrSyntax::Int, [](CLabelUI& c, LPCWSTR v) { c.SetGradientLength(ToInt(ParseInt(v))); }},
    {L"shadowoffset", AttrSyntax::Size,
     [](CLabelUI& c, LPCWSTR v) {
         long n[2];
         ParseInts(v, n, 2);
         c.SetShadowOffset(ToInt(n[0]), ToInt(n[1]));
     }},
    {L"textcolor1", AttrSyntax::Color, [](CLabelUI& c, LPCWSTR v) { c.SetTextColor1(ParseColor(v)); }},
    {L"textshadowcolora", AttrSyntax::Color, [](CLabelUI& c, LPCWSTR v) { c.SetTextShadowColorA(ParseColor(v)); }},
    {L"textshadowcolorb", AttrSyntax::Color, [](CLabelUI& c, LPCWSTR v) { c.SetTextShadowColorB(ParseColor(v)); }},
    {L"strokecolor", AttrSyntax::Color, [](CLabelUI& c, LPCWSTR v) { c.SetStrokeColor(ParseColor(v)); }},
};

// ---- GDI+ objects of one effect paint, released on every path ------------------

namespace Gp = Gdiplus::DllExports;

struct TGraphicsDeleter
{
    void operator()(Gdiplus::GpGraphics* p) const { Gp::GdipDeleteGraphics(p); }
};
struct TFontDeleter
{
    void operator()(Gdiplus::GpFont* p) const { Gp::GdipDeleteFont(p); }
};
struct TStringFormatDeleter
{
    void operator()(Gdiplus::GpStringFormat* p) const { Gp::GdipDeleteStringFormat(p); }
};
struct TBrushDeleter
{
    void operator()(Gdiplus::GpLineGradient* p) const { Gp::GdipDeleteBrush(p); }
};

using CGpGraphics = std::unique_ptr<Gdiplus::GpGraphics, TGraphicsDeleter>;
using CGpFont = std::unique_ptr<Gdiplus::GpFont, TFontDeleter>;
using CGpStringFormat = std::unique_ptr<Gdiplus::GpStringFormat, TStringFormatDeleter>;
using CGpBrush = std::unique_ptr<Gdiplus::GpLineGradient, TBrushDeleter>;

// A colour with the alpha replaced; skins may give any number, alpha is a byte.
Gdiplus::ARGB WithAlpha(int nAlpha, DWORD dwColor)
{
    const DWORD dwAlpha = static_cast<DWORD>(std::clamp(nAlpha, 0, 255));
    return (dwAlpha << 24) | (dwColor & 0x00FFFFFF);
}

// Null when GDI+ refuses, e.g. for two equal end points.
CGpBrush MakeLineBrush(int x1, int y1, int x2, int y2, Gdiplus::ARGB from, Gdiplus::ARGB to)
{
    const Gdiplus::Point pt1(x1, y1);
    const Gdiplus::Point pt2(x2, y2);
    Gdiplus::GpLineGradient* pBrush = nullptr;
    if (Gp::GdipCreateLineBrushI(&pt1, &pt2, from, to, Gdiplus::WrapModeTile, &pBrush) != Gdiplus::Ok) return {};
    return CGpBrush(pBrush);
}

// The window font as a GDI+ font. The wide logical font keeps face names the
// ANSI code page cannot hold. Fonts GDI+ cannot use directly (not TrueType)
// are tried once more through the device context with the font selected.
CGpFont MakeFont(HDC hDC, HFONT hFont)
{
    Gdiplus::GpFont* pFont = nullptr;
    LOGFONTW lf = {};
    if (hFont != nullptr && ::GetObjectW(hFont, sizeof(lf), &lf) == sizeof(lf) &&
        Gp::GdipCreateFontFromLogfontW(hDC, &lf, &pFont) == Gdiplus::Ok) {
        return CGpFont(pFont);
    }
    const CSelectObjectGuard select(hDC, hFont);
    if (Gp::GdipCreateFontFromDC(hDC, &pFont) != Gdiplus::Ok) return {};
    return CGpFont(pFont);
}

} // namespace

CLabelUI::CLabelUI()
    : m_dwTextColor(0),
      m_dwDisabledTextColor(0),
      m_iFont(-1),
      m_uTextStyle(DT_VCENTER),
      m_rcTextPadding{},
      m_bShowHtml(false),
      m_nEffectHAlign(0),
      m_nEffectVAlign(1),
      m_nTransShadow(60),
      m_nTransShadow1(60),
      m_nTransText(168),
      m_nTransText1(168),
      m_nTransStroke(255),
      m_nGradientLength(0),
      m_nGradientAngle(0),
      m_bEnableEffect(false),
      m_bEnableStroke(false),
      m_bEnableShadow(false),
      m_dwTextColor1(0xFFFFFFFF),
      m_dwTextShadowColorA(0xFF000000),
      m_dwTextShadowColorB(0xFFFFFFFF),
      m_dwStrokeColor(0),
      m_fShadowOffsetX(0.0f),
      m_fShadowOffsetY(0.0f),
      m_nTextRenderingHint(0)
{
}

LPCWSTR CLabelUI::GetClass() const
{
    return kNames.className;
}

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CControlUI::GetInterface(pstrName);
}

CUIString CLabelUI::GetText() const
{
    return m_bEnableEffect ? m_sEffectText : m_sText;
}

void CLabelUI::SetText(LPCWSTR pstrText)
{
    if (!m_bEnableEffect) {
        CControlUI::SetText(pstrText);
        return;
    }
    m_sEffectText = pstrText;
}

void CLabelUI::DoEvent(TEventUI& event)
{
    // A label shows no focus, so a focus change needs no repaint.
    if (event.kind == EVT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.kind == EVT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kLabelAttributes, *this, pstrName, pstrValue)) return;
    CControlUI::SetAttribute(pstrName, pstrValue);
}

SIZE CLabelUI::EstimateSize(SIZE)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return m_cxyFixed;
    return SIZE{m_cxyFixed.cx, GetFontHeight() + 4};
}

// ---- appearance -------------------------------------------------------------------

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    return m_dwDisabledTextColor;
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

int CLabelUI::GetFont() const
{
    return m_iFont;
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

UINT CLabelUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

RECT CLabelUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const
{
    return m_bShowHtml;
}

// ---- effect settings --------------------------------------------------------------

void CLabelUI::SetEnabledEffect(bool bEnable)
{
    m_bEnableEffect = bEnable;
}

bool CLabelUI::GetEnabledEffect() const
{
    return m_bEnableEffect;
}

void CLabelUI::SetEnabledShadow(bool bEnable)
{
    m_bEnableShadow = bEnable;
}

bool CLabelUI::GetEnabledShadow() const
{
    return m_bEnableShadow;
}

void CLabelUI::SetEnabledStroke(bool bEnable)
{
    m_bEnableStroke = bEnable;
}

bool CLabelUI::GetEnabledStroke() const
{
    return m_bEnableStroke;
}

void CLabelUI::SetTransShadow(int nTrans)
{
    m_nTransShadow = nTrans;
}

int CLabelUI::GetTransShadow() const
{
    return m_nTransShadow;
}

void CLabelUI::SetTransShadow1(int nTrans)
{
    m_nTransShadow1 = nTrans;
}

int CLabelUI::GetTransShadow1() const
{
    return m_nTransShadow1;
}

void CLabelUI::SetTransText(int nTrans)
{
    m_nTransText = nTrans;
}

int CLabelUI::GetTransText() const
{
    return m_nTransText;
}

void CLabelUI::SetTransText1(int nTrans)
{
    m_nTransText1 = nTrans;
}

int CLabelUI::GetTransText1() const
{
    return m_nTransText1;
}

void CLabelUI::SetTransStroke(int nTrans)
{
    m_nTransStroke = nTrans;
}

int CLabelUI::GetTransStroke() const
{
    return m_nTransStroke;
}

void CLabelUI::SetGradientAngle(int nAngle)
{
    m_nGradientAngle = nAngle;
}

int CLabelUI::GetGradientAngle() const
{
    return m_nGradientAngle;
}

void CLabelUI::SetGradientLength(int nLength)
{
    m_nGradientLength = nLength;
}

int CLabelUI::GetGradientLength() const
{
    return m_nGradientLength;
}

void CLabelUI::SetTextColor1(DWORD dwColor)
{
    m_dwTextColor1 = dwColor;
}

DWORD CLabelUI::GetTextColor1() const
{
    return m_dwTextColor1;
}

void CLabelUI::SetTextShadowColorA(DWORD dwColor)
{
    m_dwTextShadowColorA = dwColor;
}

DWORD CLabelUI::GetTextShadowColorA() const
{
    return m_dwTextShadowColorA;
}

void CLabelUI::SetTextShadowColorB(DWORD dwColor)
{
    m_dwTextShadowColorB = dwColor;
}

DWORD CLabelUI::GetTextShadowColorB() const
{
    return m_dwTextShadowColorB;
}

void CLabelUI::SetStrokeColor(DWORD dwColor)
{
    m_dwStrokeColor = dwColor;
}

DWORD CLabelUI::GetStrokeColor() const
{
    return m_dwStrokeColor;
}

void CLabelUI::SetTextRenderingHintAntiAlias(int nHint)
{
    // 0 (system default) to 5 (ClearType grid fit) are GDI+'s hints.
    m_nTextRenderingHint = nHint >= 0 && nHint <= 5 ? nHint : 0;
}

int CLabelUI::GetTextRenderingHintAntiAlias() const
{
    return m_nTextRenderingHint;
}

void CLabelUI::SetShadowOffset(int nOffset, int nAngle)
{
    if (nAngle < -180 || nAngle > 180) return;
    // Skins were drawn with these sign rules and this axis assignment, so both
    // stay. The result no longer depends on where the label happens to be when
    // the attribute is applied: during skin building that place is all zeros,
    // which is the origin used here, so skins look the same, while a call after
    // layout no longer throws the shadow off by the label's whole position.
    int nTop = 0;
    if (nAngle >= 0) nTop = -nOffset;
    else if (nAngle > -180) nTop = nOffset;
    const int nLeft = nAngle > -90 && nAngle <= 90 ? -nOffset : nOffset;
    m_fShadowOffsetX = static_cast<float>(nTop);
    m_fShadowOffsetY = static_cast<float>(nLeft);
}

Gdiplus::RectF CLabelUI::GetShadowOffset() const
{
    return Gdiplus::RectF(m_fShadowOffsetX, m_fShadowOffsetY, 0.0f, 0.0f);
}

// ---- painting ---------------------------------------------------------------------

void CLabelUI::ApplyDefaultTextColors()
{
    if (m_pManager == nullptr) return;
    if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

RECT CLabelUI::GetTextRect() const
{
    return RECT{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
}

int CLabelUI::GetFontHeight() const
{
    if (m_pManager == nullptr) return 0;
    const TFontInfo* pFont = m_pManager->GetFontInfo(m_iFont);
    return pFont != nullptr ? static_cast<int>(pFont->tm.tmHeight) : 0;
}

RECT CLabelUI::DrawTextIn(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle)
{
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, dwColor, nullptr, nullptr, nLinks, uStyle);
    } else {
        CRenderEngine::DrawTextW(hDC, m_pManager, rc, m_sText, dwColor, m_iFont, uStyle);
    }
    return rc;
}

void CLabelUI::PaintText(HDC hDC)
{
    ApplyDefaultTextColors();
    const RECT rcText = GetTextRect();
    if (m_bEnableEffect) {
        PaintEffectText(hDC, rcText);
        return;
    }
    if (m_sText.IsEmpty()) return;
    // A label is one line whatever its style says.
    DrawTextIn(hDC, rcText, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_uTextStyle | DT_SINGLELINE);
}

void CLabelUI::PaintEffectText(HDC hDC, const RECT& rcText)
{
    if (m_pManager == nullptr || !CGdiplusToken::IsStarted()) return;

    CGpFont font = MakeFont(hDC, m_pManager->GetFont(m_iFont));
    Gdiplus::GpGraphics* pGraphics = nullptr;
    if (!font || Gp::GdipCreateFromHDC(hDC, &pGraphics) != Gdiplus::Ok) return;
    const CGpGraphics graphics(pGraphics);
    Gp::GdipSetTextRenderingHint(pGraphics, static_cast<Gdiplus::TextRenderingHint>(m_nTextRenderingHint));

    Gdiplus::GpStringFormat* pFormat = nullptr;
    if (Gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &pFormat) != Gdiplus::Ok) return;
    const CGpStringFormat format(pFormat);
    Gp::GdipSetStringFormatAlign(pFormat, static_cast<Gdiplus::StringAlignment>(m_nEffectHAlign));
    Gp::GdipSetStringFormatLineAlign(pFormat, static_cast<Gdiplus::StringAlignment>(m_nEffectVAlign));

    const int nHeight = rcText.bottom - rcText.top;
    const Gdiplus::RectF rcLayout(static_cast<float>(rcText.left), static_cast<float>(rcText.top),
                                  static_cast<float>(rcText.right - rcText.left), static_cast<float>(nHeight));
    const int nGradient = m_nGradientLength != 0 ? m_nGradientLength : nHeight;
    const LPCWSTR pstrText = m_sEffectText;
    const auto drawIn = [&](const Gdiplus::RectF& rc, const Gdiplus::GpLineGradient* pBrush) {
        if (pBrush != nullptr) Gp::GdipDrawString(pGraphics, pstrText, -1, font.get(), &rc, pFormat, pBrush);
    };

    if (m_bEnableStroke && m_dwStrokeColor != 0) {
        const Gdiplus::ARGB stroke = WithAlpha(m_nTransStroke, m_dwStrokeColor);
        const CGpBrush brush = MakeLineBrush(m_nGradientAngle, 0, 0, nHeight + 2, stroke, stroke);
        // A one-pixel outline: the text drawn once to each side.
        const float offsets[4][2] = {{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {0.0f, 1.0f}};
        for (const auto& offset : offsets) {
            Gdiplus::RectF rc = rcLayout;
            rc.X += offset[0];
            rc.Y += offset[1];
            drawIn(rc, brush.get());
        }
    }

    if (m_bEnableShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0)) {
        const DWORD dwShadowB = m_dwTextShadowColorB == 0xFFFFFFFF ? m_dwTextShadowColorA : m_dwTextShadowColorB;
        const CGpBrush brush =
            MakeLineBrush(m_nGradientAngle, 0, 0, nGradient, WithAlpha(m_nTransShadow, m_dwTextShadowColorA),
                          WithAlpha(m_nTransShadow1, dwShadowB));
        Gdiplus::RectF rcShadow = rcLayout;
        rcShadow.X += m_fShadowOffsetX;
        rcShadow.Y += m_fShadowOffsetY;
        drawIn(rcShadow, brush.get());
    }

    const DWORD dwTextEnd = m_dwTextColor1 == 0xFFFFFFFF ? m_dwTextColor : m_dwTextColor1;
    const CGpBrush brush = MakeLineBrush(m_nGradientAngle, 0, 0, nGradient, WithAlpha(m_nTransText, m_dwTextColor),
                                         WithAlpha(m_nTransText1, dwTextEnd));
    drawIn(rcLayout, brush.get());
}

} // namespace VarnelUI
