#include "varnelui/control/UIOption.h"

#include "varnelui/core/StdPtrArray.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

namespace VarnelUI {

namespace {

const CControlRegistration<COptionUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseColor;
using AttrParse::TAttributeEntry;

const TAttributeEntry<COptionUI> kOptionAttributes[] = {
    {L"group", AttrSyntax::Text, [](COptionUI& c, LPCWSTR v) { c.SetGroup(v); }},
    {L"selected", AttrSyntax::Bool, [](COptionUI& c, LPCWSTR v) { c.Selected(ParseBool(v)); }},
    {L"selectedimage", AttrSyntax::Image, [](COptionUI& c, LPCWSTR v) { c.SetSelectedImage(v); }},
    {L"selectedhotimage", AttrSyntax::Image, [](COptionUI& c, LPCWSTR v) { c.SetSelectedHotImage(v); }},
    {L"foreimage", AttrSyntax::Image, [](COptionUI& c, LPCWSTR v) { c.SetForeImage(v); }},
    {L"selectedbkcolor", AttrSyntax::Color, [](COptionUI& c, LPCWSTR v) { c.SetSelectedBkColor(ParseColor(v)); }},
    {L"selectedtextcolor", AttrSyntax::Color, [](COptionUI& c, LPCWSTR v) { c.SetSelectedTextColor(ParseColor(v)); }},
};

} // namespace

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedBkColor(0), m_dwSelectedTextColor(0), m_pGroupManager(nullptr)
{
}

COptionUI::~COptionUI()
{
    LeaveGroup();
}

LPCWSTR COptionUI::GetClass() const
{
    return kNames.className;
}

LPVOID COptionUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CButtonUI::GetInterface(pstrName);
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (bInit && !m_sGroupName.IsEmpty() && pManager != nullptr) JoinGroup(pManager);
}

void COptionUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = m_bSelected ? CTRLSTATE_SELECTED : 0;
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kOptionAttributes, *this, pstrName, pstrValue)) return;
    CButtonUI::SetAttribute(pstrName, pstrValue);
}

// ---- selection and group ----------------------------------------------------------

bool COptionUI::IsSelected() const
{
    return m_bSelected;
}

void COptionUI::Selected(bool bSelected)
{
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    m_uButtonState = bSelected ? m_uButtonState | CTRLSTATE_SELECTED : m_uButtonState & ~CTRLSTATE_SELECTED;
    // Repainting is asked for before anyone hears of the change: a handler
    // of "selectchanged" may delete this option.
    Invalidate();
    if (m_pManager == nullptr) return;

    if (m_sGroupName.IsEmpty()) {
        m_pManager->SendNotify(this, L"selectchanged");
        return;
    }
    if (!bSelected) return;
    if (const CStdPtrArray* pGroup = m_pManager->GetOptionGroup(m_sGroupName)) {
        for (int i = 0; i < pGroup->GetSize(); ++i) {
            auto* pControl = static_cast<CControlUI*>(pGroup->GetAt(i));
            if (pControl == this) continue;
            // Option groups are open to any control; only options have a selection.
            if (auto* pOption = static_cast<COptionUI*>(pControl->GetInterface(kNames.interfaceName)))
                pOption->Selected(false);
        }
    }
    m_pManager->SendNotify(this, L"selectchanged");
}

LPCWSTR COptionUI::GetGroup() const
{
    return m_sGroupName;
}

void COptionUI::SetGroup(LPCWSTR pStrGroupName)
{
    const LPCWSTR pstrNew = pStrGroupName != nullptr ? pStrGroupName : L"";
    if (m_sGroupName == pstrNew) return;
    LeaveGroup();
    m_sGroupName = pstrNew;
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) JoinGroup(m_pManager);
}

void COptionUI::JoinGroup(CPaintManagerUI* pManager)
{
    if (m_pGroupManager == pManager) return;
    LeaveGroup();
    pManager->AddOptionGroup(m_sGroupName, this);
    m_pGroupManager = pManager;
}

void COptionUI::LeaveGroup()
{
    if (m_pGroupManager == nullptr) return;
    m_pGroupManager->RemoveOptionGroup(m_sGroupName, this);
    m_pGroupManager = nullptr;
}

// ---- images and colours -----------------------------------------------------------

LPCWSTR COptionUI::GetSelectedImage() const
{
    return m_sSelectedImage;
}

void COptionUI::SetSelectedImage(LPCWSTR pStrImage)
{
    m_sSelectedImage = pStrImage;
    Invalidate();
}

LPCWSTR COptionUI::GetSelectedHotImage() const
{
    return m_sSelectedHotImage;
}

void COptionUI::SetSelectedHotImage(LPCWSTR pStrImage)
{
    m_sSelectedHotImage = pStrImage;
    Invalidate();
}

LPCWSTR COptionUI::GetForeImage() const
{
    return m_sOptionForeImage;
}

void COptionUI::SetForeImage(LPCWSTR pStrImage)
{
    m_sOptionForeImage = pStrImage;
    Invalidate();
}

DWORD COptionUI::GetSelectBkColor() const
{
    return m_dwSelectedBkColor;
}

void COptionUI::SetSelectedBkColor(DWORD dwColor)
{
    m_dwSelectedBkColor = dwColor;
}

DWORD COptionUI::GetSelectedTextColor()
{
    if (m_dwSelectedTextColor == 0 && m_pManager != nullptr) m_dwSelectedTextColor = m_pManager->GetDefaultFontColor();
    return m_dwSelectedTextColor;
}

void COptionUI::SetSelectedTextColor(DWORD dwColor)
{
    m_dwSelectedTextColor = dwColor;
}

// ---- painting ---------------------------------------------------------------------

void COptionUI::PaintStatusImage(HDC hDC)
{
    const bool bWasHot = (m_uButtonState & CTRLSTATE_HOT) != 0;
    // An option never shows its pushed image.
    m_uButtonState &= ~CTRLSTATE_PUSHED;

    if (bWasHot && m_bSelected && !m_sSelectedHotImage.IsEmpty()) {
        if (!DrawStateImage(hDC, m_sSelectedHotImage)) CButtonUI::PaintStatusImage(hDC);
    } else if ((m_uButtonState & CTRLSTATE_SELECTED) != 0) {
        if (!m_sSelectedImage.IsEmpty()) {
            if (!DrawStateImage(hDC, m_sSelectedImage)) CButtonUI::PaintStatusImage(hDC);
        } else if (m_dwSelectedBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
            return;
        } else {
            CButtonUI::PaintStatusImage(hDC);
        }
    } else {
        CButtonUI::PaintStatusImage(hDC);
    }
    DrawStateImage(hDC, m_sOptionForeImage);
}

void COptionUI::PaintText(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintText(hDC);
        return;
    }
    // While selected the hot, pushed and focused text colours give way to the
    // selected one.
    ApplyDefaultTextColors();
    if (m_sText.IsEmpty()) return;
    DWORD dwColor = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
    if (!IsEnabled()) dwColor = m_dwDisabledTextColor;
    DrawTextIn(hDC, GetTextRect(), dwColor, m_uTextStyle);
}

} // namespace VarnelUI
