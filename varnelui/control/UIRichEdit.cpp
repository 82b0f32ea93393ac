#include "varnelui/control/UIRichEdit.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIColor.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>
#include <vector>

namespace VarnelUI {

namespace {

const CControlRegistration<CRichEditUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CRichEditUI> kRichEditAttributes[] = {
    {L"multiline", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetMultiLine(ParseBool(v)); }},
    {L"readonly", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetReadOnly(ParseBool(v)); }},
    {L"password", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetPasswordMode(ParseBool(v)); }},
    {L"wanttab", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetWantTab(ParseBool(v)); }},
    {L"wantreturn", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetWantReturn(ParseBool(v)); }},
    {L"wantctrlreturn", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetWantCtrlReturn(ParseBool(v)); }},
    {L"maxchar", AttrSyntax::Int,
     [](CRichEditUI& c, LPCWSTR v) { c.SetLimitText(static_cast<DWORD>(std::max(0L, AttrParse::ParseInt(v)))); }},
    {L"font", AttrSyntax::FontId,
     [](CRichEditUI& c, LPCWSTR v) { c.SetFont(AttrParse::ToInt(AttrParse::ParseInt(v))); }},
    {L"textcolor", AttrSyntax::Color, [](CRichEditUI& c, LPCWSTR v) { c.SetTextColor(AttrParse::ParseColor(v)); }},
    {L"textpadding", AttrSyntax::Rect, [](CRichEditUI& c, LPCWSTR v) { c.SetTextPadding(AttrParse::ParseRect(v)); }},
    {L"vscrollbar", AttrSyntax::Bool,
     [](CRichEditUI& c, LPCWSTR v) { c.EnableScrollBar(ParseBool(v), c.IsHorizontalScrollEnabled()); }},
    {L"hscrollbar", AttrSyntax::Bool,
     [](CRichEditUI& c, LPCWSTR v) { c.EnableScrollBar(c.IsVerticalScrollEnabled(), ParseBool(v)); }},
    {L"autovscroll", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetAutoVScroll(ParseBool(v)); }},
    {L"autohscroll", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetAutoHScroll(ParseBool(v)); }},
    {L"rich", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetRich(ParseBool(v)); }},
    {L"transparent", AttrSyntax::Bool, [](CRichEditUI& c, LPCWSTR v) { c.SetTransparent(ParseBool(v)); }},
};

bool IsKeyboardMessage(UINT uMsg)
{
    return uMsg == WM_KEYDOWN || uMsg == WM_KEYUP || uMsg == WM_CHAR;
}

bool IsImeMessage(UINT uMsg)
{
    return (uMsg >= WM_IME_STARTCOMPOSITION && uMsg <= WM_IME_COMPOSITION) ||
           (uMsg >= WM_IME_SETCONTEXT && uMsg <= WM_IME_KEYUP);
}

bool IsReturnKey(UINT uMsg, WPARAM wParam)
{
    if (uMsg == WM_KEYDOWN) return wParam == VK_RETURN;
    // Enter types '\r'; Ctrl+Enter types '\n'.
    return uMsg == WM_CHAR && (wParam == L'\r' || wParam == L'\n');
}

bool IsTabKey(UINT uMsg, WPARAM wParam)
{
    return (uMsg == WM_KEYDOWN && wParam == VK_TAB) || (uMsg == WM_CHAR && wParam == L'\t');
}

bool IsKeyDown(int nVirtKey)
{
    return ::GetKeyState(nVirtKey) < 0;
}

} // namespace

CRichEditUI::CRichEditUI()
    : m_pFilterManager(nullptr),
      m_bWantTab(false),
      m_bWantReturn(true),
      m_bWantCtrlReturn(true),
      m_iFont(-1),
      m_dwTextColor(0),
      m_rcTextPadding{0, 0, 0, 0}
{
    m_pHost.Attach(new CRichEditHost(*this));
    // The selection stays while the field is away and shows again when it is back.
    m_pHost->SetPropertyBit(TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_HIDESELECTION | TXTBIT_SAVESELECTION, true);
    m_pHost->SetScrollBarStyle(ES_AUTOVSCROLL | ES_AUTOHSCROLL, true);
    UpdateWordWrap();
}

CRichEditUI::~CRichEditUI()
{
    if (m_pFilterManager != nullptr) m_pFilterManager->RemoveMessageFilter(this);
    // A field destroyed while focused gets no focus event: its caret would stay behind.
    if (IsFocused()) m_pHost->Send(WM_KILLFOCUS, 0, 0);
    m_pHost->Shutdown();
}

LPCWSTR CRichEditUI::GetClass() const
{
    return kNames.className;
}

LPVOID CRichEditUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CContainerUI::GetInterface(pstrName);
}

UINT CRichEditUI::GetControlFlags() const
{
    if (!IsEnabled()) return 0;
    return (IsKeyboardEnabled() ? CTRLFLAG_TABSTOP : 0) | CTRLFLAG_SETCURSOR;
}

void CRichEditUI::SetEnabled(bool bEnable)
{
    // While still enabled, so the services hear of it and hide the caret.
    if (!bEnable && IsFocused() && m_pManager != nullptr) m_pManager->SetFocus(nullptr);
    CContainerUI::SetEnabled(bEnable);
}

void CRichEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kRichEditAttributes, *this, pstrName, pstrValue)) return;
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---- text services ------------------------------------------------------------------

bool CRichEditUI::HasServices() const
{
    return m_pHost->Services() != nullptr;
}

void CRichEditUI::DoInit()
{
    CreateServices();
}

void CRichEditUI::CreateServices()
{
    if (m_pManager == nullptr) return;
    if (m_pFilterManager != m_pManager) {
        if (m_pFilterManager != nullptr) m_pFilterManager->RemoveMessageFilter(this);
        m_pManager->AddMessageFilter(this);
        m_pFilterManager = m_pManager;
    }
    if (HasServices()) return;
    // The font and colour come from the window, which the field has only now.
    UpdateCharFormat();
    if (!m_pHost->CreateServices()) return;
    m_pHost->Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
    m_pHost->Services()->TxSetText(m_sText);
    // The text the field starts with is no change, and nothing to undo.
    m_pHost->Send(EM_EMPTYUNDOBUFFER, 0, 0);
    m_pHost->TakeChangeReport();
    m_sText = GetText();
    m_pHost->SetClientRect(GetTextRect());
}

LRESULT CRichEditUI::Forward(UINT uMsg, WPARAM wParam, LPARAM lParam, HRESULT* phr)
{
    const LRESULT lResult = m_pHost->Send(uMsg, wParam, lParam, phr);
    SendChangeNotifications();
    return lResult;
}

// Once the services run, m_sText keeps the text as last reported. Services
// may report a change that changed nothing (wine's do for every key typed
// past the limit); only a real change is passed on.
void CRichEditUI::SendChangeNotifications()
{
    if (!m_pHost->TakeChangeReport()) return;
    CUIString sText = GetText();
    if (sText == m_sText) return;
    m_sText = sText;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"textchanged");
}

LRESULT CRichEditUI::TxSendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    return m_pHost->Send(uMsg, wParam, lParam);
}

// ---- layout and painting ------------------------------------------------------------

RECT CRichEditUI::GetTextRect() const
{
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

void CRichEditUI::SetPos(RECT rc)
{
    CContainerUI::SetPos(rc);
    // A field that is the root of its window gets no DoInit: its first layout
    // brings the services to life instead.
    CreateServices();
    m_pHost->SetClientRect(GetTextRect());
}

void CRichEditUI::PaintText(HDC hDC)
{
    if (!HasServices()) return;
    const RECT rcText = GetTextRect();
    RECT rcUpdate;
    if (!::IntersectRect(&rcUpdate, &rcText, &m_rcPaint)) return;
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, rcUpdate, clip);
    const RECTL rclBounds = {rcText.left, rcText.top, rcText.right, rcText.bottom};
    m_pHost->Services()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr, &rclBounds, nullptr, &rcUpdate,
                                nullptr, 0, TXTVIEW_ACTIVE);
}

void CRichEditUI::UpdateCharFormat()
{
    DWORD dwColor = m_dwTextColor;
    HFONT hFont = nullptr;
    if (m_pManager != nullptr) {
        if (dwColor == 0) dwColor = m_pManager->GetDefaultFontColor();
        hFont = m_pManager->GetFont(m_iFont);
    }
    m_pHost->SetCharFormat(hFont, ToColorRef(dwColor));
    Invalidate();
}

// ---- events -------------------------------------------------------------------------

bool CRichEditUI::TakesReturn() const
{
    if (!IsMultiLine()) return false;
    return IsKeyDown(VK_CONTROL) ? m_bWantCtrlReturn : m_bWantReturn;
}

LRESULT CRichEditUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    const bool bFocusMessage = uMsg == WM_SETFOCUS || uMsg == WM_KILLFOCUS;
    if (!bFocusMessage && !IsKeyboardMessage(uMsg) && !IsImeMessage(uMsg)) return 0;
    if (m_pManager == nullptr || m_pManager->GetFocus() != this || !IsEnabled() || !HasServices()) return 0;

    // The window itself gaining or losing the focus shows or hides the caret;
    // the window handles the message as well.
    if (bFocusMessage) {
        Forward(uMsg, wParam, lParam);
        return 0;
    }
    if (IsReturnKey(uMsg, wParam) && !TakesReturn()) {
        bHandled = true;
        if (uMsg == WM_KEYDOWN) m_pManager->SendNotify(this, L"return");
        return 0;
    }
    // Without "wanttab" a Tab belongs to the window's focus movement.
    if (IsTabKey(uMsg, wParam) && !m_bWantTab) return 0;
    if (uMsg == WM_KEYDOWN && wParam == 'A' && IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU)) {
        SetSel(0, -1);
        bHandled = true;
        return 0;
    }

    HRESULT hr = S_FALSE;
    const LRESULT lResult = Forward(uMsg, wParam, lParam, &hr);
    // Keys the services leave alone go on as control events.
    bHandled = hr == S_OK;
    return lResult;
}

WPARAM CRichEditUI::MouseKeys()
{
    return CurrentKeyState() & (MK_LBUTTON | MK_RBUTTON | MK_SHIFT | MK_CONTROL);
}

void CRichEditUI::ForwardMouseEvent(const TEventUI& event)
{
    const LPARAM lPoint = MAKELPARAM(event.mousePos.x, event.mousePos.y);
    switch (event.kind) {
    case EVT_BUTTONDOWN: Forward(WM_LBUTTONDOWN, event.wParam, lPoint); break;
    case EVT_BUTTONUP: Forward(WM_LBUTTONUP, event.wParam, lPoint); break;
    case EVT_DBLCLICK: Forward(WM_LBUTTONDBLCLK, event.keyState, lPoint); break;
    case EVT_MOUSEMOVE: Forward(WM_MOUSEMOVE, MouseKeys(), lPoint); break;
    default: break;
    }
}

bool CRichEditUI::ScrollWithWheel(const TEventUI& event)
{
    const short nDelta = event.wParam == SB_LINEDOWN ? -WHEEL_DELTA : WHEEL_DELTA;
    HRESULT hr = S_FALSE;
    // Scrolling changes no text: nothing to report.
    m_pHost->Send(WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(), nDelta), event.lParam, &hr);
    return hr == S_OK;
}

void CRichEditUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;
    if (!IsEnabled() || !HasServices()) {
        CContainerUI::DoEvent(event);
        return;
    }
    switch (event.kind) {
    case EVT_SETFOCUS:
    case EVT_KILLFOCUS:
        CContainerUI::DoEvent(event);
        Invalidate();
        Forward(event.kind == EVT_SETFOCUS ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        return;
    case EVT_SETCURSOR: {
        // The I-beam, unless the services choose another (an arrow over a selection, say).
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        const RECT rcText = GetTextRect();
        m_pHost->Services()->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, &rcText,
                                           event.mousePos.x, event.mousePos.y);
        return;
    }
    case EVT_TIMER: Forward(WM_TIMER, event.wParam, 0); return;
    case EVT_BUTTONDOWN:
    case EVT_BUTTONUP:
    case EVT_DBLCLICK:
    case EVT_MOUSEMOVE: ForwardMouseEvent(event); return;
    case EVT_SCROLLWHEEL:
        // Text that cannot scroll any further lets the parent scroll.
        if (ScrollWithWheel(event)) return;
        break;
    default: break;
    }
    CContainerUI::DoEvent(event);
}

// ---- settings -------------------------------------------------------------------------

bool CRichEditUI::IsMultiLine() const
{
    return m_pHost->HasPropertyBit(TXTBIT_MULTILINE);
}

void CRichEditUI::SetMultiLine(bool bMultiLine)
{
    m_pHost->SetPropertyBit(TXTBIT_MULTILINE, bMultiLine);
    UpdateWordWrap();
}

bool CRichEditUI::IsReadOnly() const
{
    return m_pHost->HasPropertyBit(TXTBIT_READONLY);
}

void CRichEditUI::SetReadOnly(bool bReadOnly)
{
    m_pHost->SetPropertyBit(TXTBIT_READONLY, bReadOnly);
}

bool CRichEditUI::IsPasswordMode() const
{
    return m_pHost->HasPropertyBit(TXTBIT_USEPASSWORD);
}

void CRichEditUI::SetPasswordMode(bool bPassword)
{
    m_pHost->SetPropertyBit(TXTBIT_USEPASSWORD, bPassword);
    Invalidate();
}

bool CRichEditUI::IsRich() const
{
    return m_pHost->HasPropertyBit(TXTBIT_RICHTEXT);
}

void CRichEditUI::SetRich(bool bRich)
{
    m_pHost->SetPropertyBit(TXTBIT_RICHTEXT, bRich);
}

bool CRichEditUI::IsWantTab() const
{
    return m_bWantTab;
}

void CRichEditUI::SetWantTab(bool bWantTab)
{
    m_bWantTab = bWantTab;
}

bool CRichEditUI::IsWantReturn() const
{
    return m_bWantReturn;
}

void CRichEditUI::SetWantReturn(bool bWantReturn)
{
    m_bWantReturn = bWantReturn;
}

bool CRichEditUI::IsWantCtrlReturn() const
{
    return m_bWantCtrlReturn;
}

void CRichEditUI::SetWantCtrlReturn(bool bWantCtrlReturn)
{
    m_bWantCtrlReturn = bWantCtrlReturn;
}

bool CRichEditUI::IsAutoVScroll() const
{
    return m_pHost->HasScrollBarStyle(ES_AUTOVSCROLL);
}

void CRichEditUI::SetAutoVScroll(bool bAuto)
{
    m_pHost->SetScrollBarStyle(ES_AUTOVSCROLL, bAuto);
}

bool CRichEditUI::IsAutoHScroll() const
{
    return m_pHost->HasScrollBarStyle(ES_AUTOHSCROLL);
}

void CRichEditUI::SetAutoHScroll(bool bAuto)
{
    m_pHost->SetScrollBarStyle(ES_AUTOHSCROLL, bAuto);
}

bool CRichEditUI::IsVerticalScrollEnabled() const
{
    return m_pHost->HasScrollBarStyle(WS_VSCROLL);
}

bool CRichEditUI::IsHorizontalScrollEnabled() const
{
    return m_pHost->HasScrollBarStyle(WS_HSCROLL);
}

void CRichEditUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    m_pHost->SetScrollBarStyle(WS_VSCROLL, bEnableVertical);
    m_pHost->SetScrollBarStyle(WS_HSCROLL, bEnableHorizontal);
    UpdateWordWrap();
    CContainerUI::EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

// A multi-line field wraps its lines unless it scrolls sideways.
void CRichEditUI::UpdateWordWrap()
{
    m_pHost->SetPropertyBit(TXTBIT_WORDWRAP, IsMultiLine() && !m_pHost->HasScrollBarStyle(WS_HSCROLL));
}

DWORD CRichEditUI::GetLimitText() const
{
    const DWORD dwMax = m_pHost->GetMaxLength();
    return dwMax == CRichEditHost::kNoTextLimit ? 0 : dwMax;
}

void CRichEditUI::SetLimitText(DWORD dwMaxChars)
{
    m_pHost->SetMaxLength(dwMaxChars == 0 ? CRichEditHost::kNoTextLimit
                                          : std::min(dwMaxChars, CRichEditHost::kNoTextLimit));
}

int CRichEditUI::GetFont() const
{
    return m_iFont;
}

void CRichEditUI::SetFont(int index)
{
    m_iFont = index;
    UpdateCharFormat();
}

DWORD CRichEditUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CRichEditUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    UpdateCharFormat();
}

RECT CRichEditUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CRichEditUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    NeedUpdate();
}

bool CRichEditUI::IsTransparent() const
{
    return m_pHost->IsTransparent();
}

void CRichEditUI::SetTransparent(bool bTransparent)
{
    m_pHost->SetTransparent(bTransparent);
    Invalidate();
}

// ---- text, selection and editing ---------------------------------------------------------

CUIString CRichEditUI::GetText() const
{
    if (!HasServices()) return m_sText;
    GETTEXTLENGTHEX length = {GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT nLength = m_pHost->Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (nLength <= 0) return CUIString();
    std::vector<wchar_t> buffer(static_cast<size_t>(nLength) + 1, L'\0');
    GETTEXTEX text = {};
    text.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    text.flags = GT_USECRLF;
    text.codepage = 1200;
    m_pHost->Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&text), reinterpret_cast<LPARAM>(buffer.data()));
    return CUIString(buffer.data());
}

void CRichEditUI::SetText(LPCWSTR pstrText)
{
    if (!HasServices()) {
        CContainerUI::SetText(pstrText);
        return;
    }
    m_pHost->Services()->TxSetText(pstrText != nullptr ? pstrText : L"");
    SendChangeNotifications();
}

long CRichEditUI::GetTextLength() const
{
    if (!HasServices()) return m_sText.GetLength();
    GETTEXTLENGTHEX length = {GTL_PRECISE | GTL_NUMCHARS, 1200};
    return static_cast<long>(m_pHost->Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

// The end of the text is where its characters end: the services would also
// take in the paragraph mark they keep after the last line, and a copy of
// everything would then paste with a line break of its own.
void CRichEditUI::SetSel(long nStart, long nEnd)
{
    CHARRANGE range = {nStart, nEnd < 0 ? GetTextLength() : nEnd};
    m_pHost->Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CRichEditUI::GetSel(long& nStart, long& nEnd) const
{
    CHARRANGE range = {0, 0};
    m_pHost->Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    nStart = range.cpMin;
    nEnd = range.cpMax;
}

void CRichEditUI::ReplaceSel(LPCWSTR pstrText, bool bCanUndo)
{
    Forward(EM_REPLACESEL, bCanUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(pstrText != nullptr ? pstrText : L""));
}

bool CRichEditUI::Undo()
{
    return Forward(EM_UNDO, 0, 0) != 0;
}

bool CRichEditUI::Redo()
{
    return Forward(EM_REDO, 0, 0) != 0;
}

void CRichEditUI::Cut()
{
    Forward(WM_CUT, 0, 0);
}

void CRichEditUI::Copy()
{
    Forward(WM_COPY, 0, 0);
}

void CRichEditUI::Paste()
{
    Forward(WM_PASTE, 0, 0);
}

void CRichEditUI::Clear()
{
    Forward(WM_CLEAR, 0, 0);
}

void CRichEditUI::LineScroll(int nLines, int nChars)
{
    m_pHost->Send(EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines);
}

} // namespace VarnelUI
