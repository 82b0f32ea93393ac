#include "varnelui/control/UIProgress.h"

#include "varnelui/core/UIAttrParse.h"

#include <climits>

namespace VarnelUI {

namespace {

const CControlRegistration<CProgressUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseInt;
using AttrParse::TAttributeEntry;
using AttrParse::ToInt;

const TAttributeEntry<CProgressUI> kProgressAttributes[] = {
    {L"foreimage", AttrSyntax::Image, [](CProgressUI& c, LPCWSTR v) { c.SetForeImage(v); }},
    {L"hor", AttrSyntax::Bool, [](CProgressUI& c, LPCWSTR v) { c.SetHorizontal(ParseBool(v)); }},
    {L"min", AttrSyntax::Int, [](CProgressUI& c, LPCWSTR v) { c.SetMinValue(ToInt(ParseInt(v))); }},
    {L"max", AttrSyntax::Int, [](CProgressUI& c, LPCWSTR v) { c.SetMaxValue(ToInt(ParseInt(v))); }},
    {L"value", AttrSyntax::Int, [](CProgressUI& c, LPCWSTR v) { c.SetValue(ToInt(ParseInt(v))); }},
    {L"isstretchfore", AttrSyntax::Bool, [](CProgressUI& c, LPCWSTR v) { c.SetStretchForeImage(ParseBool(v)); }},
};

} // namespace

CProgressUI::CProgressUI() : m_bHorizontal(true), m_bStretchForeImage(true), m_nMax(100), m_nMin(0), m_nValue(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    SetFixedHeight(12);
}

LPCWSTR CProgressUI::GetClass() const
{
    return kNames.className;
}

LPVOID CProgressUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kProgressAttributes, *this, pstrName, pstrValue)) return;
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

bool CProgressUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    Invalidate();
}

int CProgressUI::GetMinValue() const
{
    return m_nMin;
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Invalidate();
}

int CProgressUI::GetMaxValue() const
{
    return m_nMax;
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Invalidate();
}

int CProgressUI::GetValue() const
{
    return m_nValue;
}

void CProgressUI::SetValue(int nValue)
{
    const bool bChanged = m_nValue != nValue;
    m_nValue = nValue;
    Invalidate();
    if (bChanged) RaiseAccessibleEvent(EVENT_OBJECT_VALUECHANGE);
}

LPCWSTR CProgressUI::GetForeImage() const
{
    return m_sForeImage;
}

void CProgressUI::SetForeImage(LPCWSTR pStrImage)
{
    if (m_sForeImage == pStrImage) return;
    m_sForeImage = pStrImage;
    Invalidate();
}

bool CProgressUI::IsStretchForeImage() const
{
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool bStretch)
{
    if (m_bStretchForeImage == bStretch) return;
    m_bStretchForeImage = bStretch;
    Invalidate();
}

CProgressUI::TRange CProgressUI::GetPaintRange() const
{
    TRange range{m_nMin, m_nMax, m_nValue};
    if (range.nMin >= range.nMax) {
        // The maximum becomes minimum + 1; at the top of int the minimum gives
        // way instead, so the sum cannot overflow.
        if (range.nMin == INT_MAX) range.nMin = INT_MAX - 1;
        range.nMax = range.nMin + 1;
    }
    if (range.nMax < range.nValue) range.nValue = range.nMax;
    if (range.nValue < range.nMin) range.nValue = range.nMin;
    return range;
}

CLayoutAxis CProgressUI::GetAxis() const
{
    return CLayoutAxis(m_bHorizontal ? LayoutAxis::Horizontal : LayoutAxis::Vertical);
}

bool CProgressUI::IsMinimumAtNearEnd() const
{
    return m_bHorizontal;
}

int CProgressUI::Scale(long long a, long long b, long long c)
{
    return static_cast<int>(a * b / c);
}

void CProgressUI::PaintStatusImage(HDC hDC)
{
    const TRange range = GetPaintRange();
    m_nMin = range.nMin;
    m_nMax = range.nMax;
    m_nValue = range.nValue;
    if (m_sForeImage.IsEmpty()) return;

    // The boundary between filled and empty, measured from the near end: the
    // value's distance from the value shown at that end.
    const CLayoutAxis axis = GetAxis();
    const LONG extent = axis.Extent(m_rcItem);
    const LONG across = axis.CrossFar(m_rcItem) - axis.CrossNear(m_rcItem);
    const long long span = static_cast<long long>(m_nMax) - m_nMin;
    const long long fromNearEnd =
        IsMinimumAtNearEnd() ? static_cast<long long>(m_nValue) - m_nMin : static_cast<long long>(m_nMax) - m_nValue;
    const LONG boundary = Scale(extent, fromNearEnd, span);
    const RECT rcFill =
        IsMinimumAtNearEnd() ? axis.MakeRect(0, boundary, 0, across) : axis.MakeRect(boundary, extent, 0, across);

    CUIString sModify;
    if (m_bStretchForeImage) {
        sModify.SmallFormat(L"dest='%d,%d,%d,%d'", rcFill.left, rcFill.top, rcFill.right, rcFill.bottom);
    } else {
        // The same rectangle as source shows the matching piece of the image unscaled.
        sModify.SmallFormat(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rcFill.left, rcFill.top, rcFill.right,
                            rcFill.bottom, rcFill.left, rcFill.top, rcFill.right, rcFill.bottom);
    }
    DrawStateImage(hDC, m_sForeImage, sModify);
}

} // namespace VarnelUI
