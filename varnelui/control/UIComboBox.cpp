#include "varnelui/control/UIComboBox.h"

#include "varnelui/core/UIAttrParse.h"

#include <cwchar>
#include <string>

namespace VarnelUI {

namespace {

const CControlRegistration<CComboBoxUI> kRegistration;

const AttrParse::TAttributeEntry<CComboBoxUI> kComboBoxAttributes[] = {
    {L"arrowimage", AttrParse::AttrSyntax::Image, [](CComboBoxUI& c, LPCWSTR v) { c.SetArrowImage(v); }},
};

constexpr int kArrowCells = 5;
enum ArrowCell { kCellNormal = 0, kCellHot = 1, kCellPushed = 2, kCellFocused = 3, kCellDisabled = 4 };

// Where the "source" key of an image description starts and where its
// quoted value ends (the closing quote included); false when the key or a
// quote is missing.
bool FindSourceKey(const std::wstring& sImage, size_t& nKey, size_t& nOpen, size_t& nClose)
{
    nKey = sImage.find(L"source");
    if (nKey == std::wstring::npos) return false;
    nOpen = sImage.find(L'\'', nKey + 7);
    if (nOpen == std::wstring::npos) return false;
    nClose = sImage.find(L'\'', nOpen + 1);
    return nClose != std::wstring::npos;
}

} // namespace

LPCWSTR CComboBoxUI::GetClass() const
{
    return kNames.className;
}

LPVOID CComboBoxUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CComboBoxUI*>(this);
    return CComboUI::GetInterface(pstrName);
}

void CComboBoxUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kComboBoxAttributes, *this, pstrName, pstrValue)) return;
    CComboUI::SetAttribute(pstrName, pstrValue);
}

LPCWSTR CComboBoxUI::GetArrowImage() const
{
    return m_sArrowImage;
}

void CComboBoxUI::SetArrowImage(LPCWSTR pStrImage)
{
    m_sArrowImage = pStrImage;
    Invalidate();
}

int CComboBoxUI::GetArrowCell() const
{
    if ((m_uButtonState & CTRLSTATE_DISABLED) != 0) return kCellDisabled;
    if ((m_uButtonState & CTRLSTATE_PUSHED) != 0) return kCellPushed;
    if ((m_uButtonState & CTRLSTATE_HOT) != 0) return kCellHot;
    if ((m_uButtonState & CTRLSTATE_FOCUSED) != 0) return kCellFocused;
    return kCellNormal;
}

void CComboBoxUI::PaintStatusImage(HDC hDC)
{
    if (m_sArrowImage.IsEmpty()) {
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    UpdatePaintState();

    // The strip's cell width comes from the description's own "source"; one
    // without a complete source key cannot be cut into cells, so the combo's
    // state images are drawn instead and no room is kept for an arrow.
    const std::wstring sImage = m_sArrowImage.GetData();
    size_t nKey = 0;
    size_t nOpen = 0;
    size_t nClose = 0;
    if (!FindSourceKey(sImage, nKey, nOpen, nClose)) {
        m_nArrowWidth = 0;
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    RECT rcSource = AttrParse::ParseRect(sImage.substr(nOpen + 1, nClose - nOpen - 1).c_str());
    m_nArrowWidth = (rcSource.right - rcSource.left) / kArrowCells;
    rcSource.left += GetArrowCell() * m_nArrowWidth;
    rcSource.right = rcSource.left + m_nArrowWidth;

    const int nBorder = GetBorderSize();
    RECT rcDest = {nBorder, nBorder, m_rcItem.right - m_rcItem.left - nBorder,
                   m_rcItem.bottom - m_rcItem.top - nBorder};
    rcDest.left = rcDest.right - m_nArrowWidth;

    wchar_t szReplace[128] = {};
    std::swprintf(szReplace, sizeof(szReplace) / sizeof(szReplace[0]),
                  L"source='%ld,%ld,%ld,%ld' dest='%ld,%ld,%ld,%ld'", rcSource.left, rcSource.top, rcSource.right,
                  rcSource.bottom, rcDest.left, rcDest.top, rcDest.right, rcDest.bottom);
    std::wstring sModify = sImage;
    sModify.replace(nKey, nClose + 1 - nKey, szReplace);
    if (!DrawImage(hDC, m_sArrowImage, sModify.c_str())) m_sArrowImage.Empty();
}

void CComboBoxUI::PaintText(HDC hDC)
{
    RECT rcText = GetTextRect();
    rcText.right -= m_nArrowWidth;
    PaintSelectedText(hDC, rcText);
}

} // namespace VarnelUI
