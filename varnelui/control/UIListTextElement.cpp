#include "varnelui/control/UIListTextElement.h"

#include "varnelui/core/UIManager.h"

#include <cwchar>

namespace VarnelUI {

namespace {

const CControlRegistration<CListTextElementUI> kRegistration;

// Only a row already in a list with a header has columns to fill, and the
// builder adds a row to its list before it reads the row's attributes.
const AttrParse::TAttributeEntry<CListTextElementUI> kTextElementAttributes[] = {
    {L"texts", AttrParse::AttrSyntax::Text, [](CListTextElementUI& c, LPCWSTR v) { c.SetTexts(v); }},
};

} // namespace

CListTextElementUI::CListTextElementUI() : m_pOwnerList(nullptr), m_nLinks(0), m_rcLinks{}, m_nHoverLink(-1)
{
}

CListTextElementUI::~CListTextElementUI() = default;

LPCWSTR CListTextElementUI::GetClass() const
{
    return kNames.className;
}

LPVOID CListTextElementUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CListTextElementUI*>(this);
    return CListLabelElementUI::GetInterface(pstrName);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return kListItemControlFlags | (IsEnabled() && m_nLinks > 0 ? CTRLFLAG_SETCURSOR : 0);
}

void CListTextElementUI::SetOwner(CControlUI* pOwner)
{
    CListLabelElementUI::SetOwner(pOwner);
    m_pOwnerList = pOwner != nullptr ? static_cast<IListUI*>(pOwner->GetInterface(L"IList")) : nullptr;
}

void CListTextElementUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!AttrParse::ApplyFromTable(kTextElementAttributes, *this, pstrName, pstrValue))
        CListLabelElementUI::SetAttribute(pstrName, pstrValue);
}

void CListTextElementUI::SetTexts(LPCWSTR pstrTexts)
{
    LPCWSTR pstrPart = pstrTexts != nullptr ? pstrTexts : L"";
    for (int iColumn = 0; iColumn < TListInfoUI::kMaxColumns; ++iColumn) {
        LPCWSTR pstrEnd = pstrPart != nullptr ? std::wcschr(pstrPart, kColumnSeparator) : nullptr;
        const CUIString sPart = pstrPart == nullptr  ? CUIString()
                                : pstrEnd == nullptr ? CUIString(pstrPart)
                                                     : CUIString(pstrPart, static_cast<int>(pstrEnd - pstrPart));
        SetText(iColumn, sPart.IsEmpty() ? nullptr : sPart.GetData());
        pstrPart = pstrEnd != nullptr ? pstrEnd + 1 : nullptr;
    }
}

LPCWSTR CListTextElementUI::GetText(int iIndex) const
{
    if (iIndex < 0 || static_cast<size_t>(iIndex) >= m_aTexts.size() || !m_aTexts[iIndex]) return nullptr;
    return m_aTexts[iIndex]->GetData();
}

void CListTextElementUI::SetText(int iIndex, LPCWSTR pstrText)
{
    if (m_pOwnerList == nullptr) return;
    const TListInfoUI* pInfo = m_pOwnerList->GetListInfo();
    if (pInfo == nullptr || iIndex < 0 || iIndex >= pInfo->nColumns) return;
    if (m_aTexts.size() < static_cast<size_t>(pInfo->nColumns)) m_aTexts.resize(pInfo->nColumns);

    std::unique_ptr<CUIString>& pText = m_aTexts[iIndex];
    if (!pText && pstrText == nullptr) return;
    if (pText && pstrText != nullptr && *pText == pstrText) return;
    if (pstrText == nullptr) pText.reset();
    else if (pText) *pText = pstrText;
    else pText = std::make_unique<CUIString>(pstrText);
    Invalidate();
}

const CUIString* CListTextElementUI::GetLinkContent(int iIndex) const
{
    return (iIndex >= 0 && iIndex < m_nLinks) ? &m_sLinks[iIndex] : nullptr;
}

int CListTextElementUI::FindLink(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CListTextElementUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToOwner(event)) return;

    switch (event.kind) {
    case EVT_SETCURSOR:
        if (FindLink(event.mousePos) >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case EVT_BUTTONUP:
        if (IsEnabled()) {
            const int iLink = FindLink(event.mousePos);
            if (iLink >= 0) {
                if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(iLink));
                return;
            }
        }
        break;
    case EVT_MOUSEMOVE:
        if (m_nLinks > 0) {
            const int iLink = FindLink(event.mousePos);
            if (iLink != m_nHoverLink) {
                m_nHoverLink = iLink;
                Invalidate();
            }
        }
        break;
    case EVT_MOUSELEAVE:
        if (m_nLinks > 0 && m_nHoverLink != -1) {
            Invalidate();
            m_nHoverLink = -1;
        }
        break;
    default: break;
    }
    CListLabelElementUI::DoEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE)
{
    SIZE cXY = m_cxyFixed;
    if (cXY.cy != 0 || m_pManager == nullptr) return cXY;
    // Without an owner the row is as high as the window's default font needs.
    IListOwnerUI* pOwner = m_item.GetOwner();
    cXY.cy = RowHeight(m_pManager, pOwner != nullptr ? pOwner->GetListInfo() : nullptr);
    return cXY;
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pOwnerList == nullptr) return;
    const TListInfoUI* pInfo = m_pOwnerList->GetListInfo();
    if (pInfo == nullptr) return;
    const DWORD dwColor = m_item.GetTextColor(*this);
    IListCallbackUI* pCallback = m_pOwnerList->GetTextCallback();
    const RECT& rcPad = pInfo->rcTextPadding;

    m_nLinks = 0;
    for (int i = 0; i < pInfo->nColumns; ++i) {
        RECT rcText = {pInfo->rcColumn[i].left + rcPad.left, rcItem.top + rcPad.top,
                       pInfo->rcColumn[i].right - rcPad.right, rcItem.bottom - rcPad.bottom};
        LPCWSTR pstrText = pCallback != nullptr ? pCallback->GetItemText(this, m_item.GetIndex(), i) : GetText(i);
        if (pstrText == nullptr) pstrText = L"";
        int nLinks = kMaxLinks - m_nLinks;
        CListItemCore::DrawText(hDC, m_pManager, *pInfo, rcText, pstrText, dwColor, pInfo->uTextStyle,
                                &m_rcLinks[m_nLinks], &m_sLinks[m_nLinks], nLinks);
        m_nLinks += nLinks;
    }
    for (int i = m_nLinks; i < kMaxLinks; ++i) {
        ::SetRectEmpty(&m_rcLinks[i]);
        m_sLinks[i].Empty();
    }
}

} // namespace VarnelUI
