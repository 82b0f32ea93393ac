#include "varnelui/control/UIEdit.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIColor.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"
#include "varnelui/core/UIWindow.h"

#include <string>

namespace VarnelUI {

// The platform's edit control over a CEditUI while it has the focus. It
// deletes itself when its window is gone.
class CEditWnd final : public CWindowWnd
{
public:
    // Creates the window over the owner's text area with the owner's settings
    // and gives it the keyboard focus; false when the window cannot be created.
    bool Init(CEditUI* pOwner);
    // The owner is being destroyed: the window forgets it and closes.
    void Detach();

    LPCWSTR GetWndClassName() const override { return L"EditWnd"; }
    LPCWSTR GetSuperClassName() const override { return L"Edit"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    void OnEditChanged();
    LRESULT OnCtlColor(HDC hDC);

    CEditUI* m_pOwner = nullptr;
    CBrushHandle m_brushBk;
    bool m_bInit = false;
};

namespace {

const CControlRegistration<CEditUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseColor;
using AttrParse::ParseInt;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CEditUI> kEditAttributes[] = {
    {L"readonly", AttrSyntax::Bool, [](CEditUI& c, LPCWSTR v) { c.SetReadOnly(ParseBool(v)); }},
    {L"numberonly", AttrSyntax::Bool, [](CEditUI& c, LPCWSTR v) { c.SetNumberOnly(ParseBool(v)); }},
    {L"password", AttrSyntax::Bool, [](CEditUI& c, LPCWSTR v) { c.SetPasswordMode(ParseBool(v)); }},
    {L"maxchar", AttrSyntax::Int, [](CEditUI& c, LPCWSTR v) { c.SetMaxChar(static_cast<UINT>(ParseInt(v))); }},
    {L"normalimage", AttrSyntax::Image, [](CEditUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"hotimage", AttrSyntax::Image, [](CEditUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"focusedimage", AttrSyntax::Image, [](CEditUI& c, LPCWSTR v) { c.SetFocusedImage(v); }},
    {L"disabledimage", AttrSyntax::Image, [](CEditUI& c, LPCWSTR v) { c.SetDisabledImage(v); }},
    {L"nativebkcolor", AttrSyntax::Color, [](CEditUI& c, LPCWSTR v) { c.SetNativeEditBkColor(ParseColor(v)); }},
};

// The native window leaves its background to the platform.
constexpr DWORD kPlatformBkColor = 0xFFFFFFFF;

// The text with each character, as the platform steps from one to the next,
// replaced by cMask.
CUIString Masked(LPCWSTR pstrText, wchar_t cMask)
{
    std::wstring masked;
    for (LPCWSTR p = pstrText; *p != L'\0'; p = ::CharNextW(p)) masked += cMask;
    return CUIString(masked.c_str());
}

} // namespace

// ---- native window ----------------------------------------------------------------

bool CEditWnd::Init(CEditUI* pOwner)
{
    m_pOwner = pOwner;
    CPaintManagerUI* pManager = pOwner->GetManager();
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (pOwner->IsPasswordMode()) dwStyle |= ES_PASSWORD;
    if (Create(pManager->GetPaintWindow(), nullptr, dwStyle, 0, pOwner->GetNativeWindowRect()) == nullptr) return false;

    // An index outside the font table gives the window's default font.
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetFont(pOwner->GetFont())), TRUE);
    SendMessageW(EM_LIMITTEXT, pOwner->GetMaxChar());
    if (pOwner->IsPasswordMode()) SendMessageW(EM_SETPASSWORDCHAR, pOwner->GetPasswordChar());
    ::SetWindowTextW(m_hWnd, pOwner->m_sText);
    SendMessageW(EM_SETMODIFY, FALSE);
    SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, pOwner->IsEnabled() ? TRUE : FALSE);
    SendMessageW(EM_SETREADONLY, pOwner->IsReadOnly() ? TRUE : FALSE);
    const LONG lStyle = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, lStyle | pOwner->GetWindowStyls());
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    // From here on changes are the user's: the text copied in above is no "textchanged".
    m_bInit = true;
    return true;
}

void CEditWnd::Detach()
{
    // Closed later rather than destroyed here: the owner may be deleted from
    // within one of this window's own notifications.
    m_pOwner = nullptr;
    PostMessageW(WM_CLOSE);
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KILLFOCUS: {
        const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        PostMessageW(WM_CLOSE);
        return lRes;
    }
    case WM_COMMAND + UIMSG_REFLECT_OFFSET:
        if (HIWORD(wParam) == EN_CHANGE) OnEditChanged();
        else if (HIWORD(wParam) == EN_UPDATE) ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        if (m_pOwner != nullptr) m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
        return 0;
    case WM_CTLCOLOREDIT + UIMSG_REFLECT_OFFSET:
    case WM_CTLCOLORSTATIC + UIMSG_REFLECT_OFFSET: return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default: break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CEditWnd::OnEditChanged()
{
    if (!m_bInit || m_pOwner == nullptr) return;
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
    // Straight into the field: the native window shows the text, the control
    // only needs it when it paints again.
    m_pOwner->m_sText = text.c_str();
    m_pOwner->GetManager()->SendNotify(m_pOwner, L"textchanged");
}

LRESULT CEditWnd::OnCtlColor(HDC hDC)
{
    if (m_pOwner == nullptr || m_pOwner->GetNativeEditBkColor() == kPlatformBkColor) return 0;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(m_pOwner->GetTextColor()));
    if (!m_brushBk) m_brushBk.Reset(::CreateSolidBrush(ToColorRef(m_pOwner->GetNativeEditBkColor())));
    return reinterpret_cast<LRESULT>(m_brushBk.Get());
}

void CEditWnd::OnFinalMessage(HWND)
{
    if (m_pOwner != nullptr) {
        m_pOwner->Invalidate();
        m_pOwner->m_pWindow = nullptr;
    }
    delete this;
}

// ---- control ----------------------------------------------------------------------

CEditUI::CEditUI()
    : m_pWindow(nullptr),
      m_uMaxChar(255),
      m_bReadOnly(false),
      m_bPasswordMode(false),
      m_cPasswordChar(L'*'),
      m_uButtonState(0),
      m_dwEditbkColor(kPlatformBkColor),
      m_iWindowStyls(0)
{
    SetTextPadding(RECT{4, 3, 4, 3});
    SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    if (m_pWindow != nullptr) m_pWindow->Detach();
}

LPCWSTR CEditUI::GetClass() const
{
    return kNames.className;
}

LPVOID CEditUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const
{
    return IsEnabled() ? CTRLFLAG_TABSTOP | CTRLFLAG_SETCURSOR : 0;
}

void CEditUI::SetText(LPCWSTR pstrText)
{
    m_sText = pstrText;
    if (m_pWindow != nullptr) ::SetWindowTextW(m_pWindow->GetHWND(), m_sText);
    Invalidate();
}

void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CEditUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    if (m_pWindow == nullptr) return;
    const RECT rcPos = GetNativeWindowRect();
    ::SetWindowPos(m_pWindow->GetHWND(), nullptr, rcPos.left, rcPos.top, rcPos.right - rcPos.left,
                   rcPos.bottom - rcPos.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    if (!IsVisible() && m_pWindow != nullptr) m_pManager->SetFocus(nullptr);
}

void CEditUI::SetInternVisible(bool bVisible)
{
    // The base records the state too: a field on a page being hidden must
    // count as hidden, or it could take the focus and open over another page.
    CLabelUI::SetInternVisible(bVisible);
    if (!IsVisible() && m_pWindow != nullptr) m_pManager->SetFocus(nullptr);
}

RECT CEditUI::GetNativeWindowRect() const
{
    RECT rc = GetTextRect();
    const LONG fontHeight = GetFontHeight();
    if (fontHeight < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - fontHeight) / 2;
        rc.bottom = rc.top + fontHeight;
    }
    return rc;
}

bool CEditUI::CreateNativeWindow()
{
    m_pWindow = new CEditWnd;
    if (m_pWindow->Init(this)) return true;
    // A window that got as far as its final message has deleted itself and
    // cleared m_pWindow; one that never came to exist is deleted here.
    delete m_pWindow;
    m_pWindow = nullptr;
    return false;
}

void CEditUI::SelectAllNative()
{
    // An empty field selects (0, 1), which the edit control takes as "all".
    const int nLength = ::GetWindowTextLengthW(m_pWindow->GetHWND());
    m_pWindow->SendMessageW(EM_SETSEL, 0, nLength == 0 ? 1 : nLength);
}

void CEditUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;

    switch (event.kind) {
    case EVT_SETCURSOR:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
    case EVT_WINDOWSIZE:
        // The layout pass may move the field: it takes the focus back afterwards.
        if (m_pWindow != nullptr) m_pManager->SetFocusNeeded(this);
        break;
    case EVT_SCROLLWHEEL:
        if (m_pWindow != nullptr) return;
        break;
    case EVT_SETFOCUS:
        if (!IsEnabled()) break;
        if (m_pWindow != nullptr) return;
        CreateNativeWindow();
        Invalidate();
        break;
    case EVT_KILLFOCUS:
        if (IsEnabled()) Invalidate();
        break;
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
    case EVT_RBUTTONDOWN:
        if (!IsEnabled()) break;
        m_pManager->ReleaseCapture();
        if (IsFocused() && m_pWindow == nullptr) {
            if (CreateNativeWindow() && ::PtInRect(&m_rcItem, event.mousePos)) SelectAllNative();
        } else if (m_pWindow != nullptr) {
            SelectAllNative();
        }
        return;
    case EVT_MOUSEMOVE:
    case EVT_BUTTONUP:
    case EVT_CONTEXTMENU: return;
    case EVT_MOUSEENTER:
    case EVT_MOUSELEAVE:
        if (!IsEnabled()) break;
        if (event.kind == EVT_MOUSEENTER) m_uButtonState |= CTRLSTATE_HOT;
        else m_uButtonState &= ~CTRLSTATE_HOT;
        Invalidate();
        return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kEditAttributes, *this, pstrName, pstrValue)) return;
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CEditUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0) return CControlUI::EstimateSize(szAvailable);
    return SIZE{m_cxyFixed.cx, GetFontHeight() + 6};
}

// ---- settings ---------------------------------------------------------------------

bool CEditUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE);
    Invalidate();
}

bool CEditUI::IsNumberOnly() const
{
    return (m_iWindowStyls & ES_NUMBER) != 0;
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    if (bNumberOnly) m_iWindowStyls |= ES_NUMBER;
    else m_iWindowStyls &= ~ES_NUMBER;
}

int CEditUI::GetWindowStyls() const
{
    return m_iWindowStyls;
}

bool CEditUI::IsPasswordMode() const
{
    return m_bPasswordMode;
}

void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    if (m_bPasswordMode == bPasswordMode) return;
    m_bPasswordMode = bPasswordMode;
    Invalidate();
}

wchar_t CEditUI::GetPasswordChar() const
{
    return m_cPasswordChar;
}

void CEditUI::SetPasswordChar(wchar_t cPasswordChar)
{
    if (m_cPasswordChar == cPasswordChar) return;
    m_cPasswordChar = cPasswordChar;
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_SETPASSWORDCHAR, m_cPasswordChar);
    Invalidate();
}

UINT CEditUI::GetMaxChar() const
{
    return m_uMaxChar;
}

void CEditUI::SetMaxChar(UINT uMax)
{
    m_uMaxChar = uMax;
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_LIMITTEXT, m_uMaxChar);
}

LPCWSTR CEditUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CEditUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

LPCWSTR CEditUI::GetHotImage() const
{
    return m_sHotImage;
}

void CEditUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

LPCWSTR CEditUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CEditUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

LPCWSTR CEditUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CEditUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

DWORD CEditUI::GetNativeEditBkColor() const
{
    return m_dwEditbkColor;
}

void CEditUI::SetNativeEditBkColor(DWORD dwBkColor)
{
    m_dwEditbkColor = dwBkColor;
}

void CEditUI::SetSel(long nStartChar, long nEndChar)
{
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
}

void CEditUI::SetSelAll()
{
    SetSel(0, -1);
}

void CEditUI::SetReplaceSel(LPCWSTR lpszReplace)
{
    if (m_pWindow != nullptr) m_pWindow->SendMessageW(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszReplace));
}

// ---- painting ---------------------------------------------------------------------

void CEditUI::PaintStatusImage(HDC hDC)
{
    m_uButtonState &= ~(CTRLSTATE_FOCUSED | CTRLSTATE_DISABLED);
    if (IsFocused()) m_uButtonState |= CTRLSTATE_FOCUSED;
    if (!IsEnabled()) m_uButtonState |= CTRLSTATE_DISABLED;

    CUIString* pStateImage = nullptr;
    if ((m_uButtonState & CTRLSTATE_DISABLED) != 0) pStateImage = &m_sDisabledImage;
    else if ((m_uButtonState & CTRLSTATE_FOCUSED) != 0) pStateImage = &m_sFocusedImage;
    else if ((m_uButtonState & CTRLSTATE_HOT) != 0) pStateImage = &m_sHotImage;
    if (pStateImage != nullptr && DrawStateImage(hDC, *pStateImage)) return;
    DrawStateImage(hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC)
{
    ApplyDefaultTextColors();
    if (m_sText.IsEmpty()) return;
    const CUIString sShown = m_bPasswordMode ? Masked(m_sText, m_cPasswordChar) : m_sText;
    RECT rcText = GetTextRect();
    CRenderEngine::DrawTextW(hDC, m_pManager, rcText, sShown, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor,
                             m_iFont, m_uTextStyle | DT_SINGLELINE);
}

} // namespace VarnelUI
