#include "varnelui/control/UIDateTime.h"

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIWindow.h"

#include <commctrl.h>

namespace VarnelUI {

// The platform's date picker over a CDateTimeUI while it has the focus. It
// deletes itself when its window is gone.
class CDateTimeWnd final : public CWindowWnd
{
public:
    // Creates the picker over the owner on first use, sets it to the owner's
    // date (today when the owner's text is empty) and gives it the keyboard
    // focus; false when the window cannot be created.
    bool Init(CDateTimeUI* pOwner);
    // The owner is being destroyed: the picker forgets it and closes.
    void Detach();

    LPCWSTR GetWndClassName() const override { return L"DateTimeWnd"; }
    LPCWSTR GetSuperClassName() const override { return DATETIMEPICK_CLASSW; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    // Ends the picking: the owner's text follows `update`, then the picker closes.
    void Finish(CDateTimeUI::TextUpdate update);
    // Focus loss: the picked date goes to the owner, unless a key already decided.
    void TakePickedDate();
    // The picker's drop-down calendar, or a window inside it.
    bool IsInCalendar(HWND hWnd);

    CDateTimeUI* m_pOwner = nullptr;
};

namespace {

const CControlRegistration<CDateTimeUI> kRegistration;

// The picker's window class comes with the date classes of the common controls.
bool InitDateClasses()
{
    static const bool bInitialised = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    return bInitialised;
}

} // namespace

// ---- native window ----------------------------------------------------------------

bool CDateTimeWnd::Init(CDateTimeUI* pOwner)
{
    m_pOwner = pOwner;
    pOwner->m_nDTUpdateFlag = CDateTimeUI::TextUpdate::None;
    if (m_hWnd == nullptr) {
        CPaintManagerUI* pManager = pOwner->GetManager();
        InitDateClasses();
        if (Create(pManager->GetPaintWindow(), nullptr, WS_CHILD, 0, pOwner->GetPos()) == nullptr) return false;
        SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetFont(pOwner->GetFont())), TRUE);
    }
    if (pOwner->m_sText.IsEmpty()) ::GetLocalTime(&pOwner->m_sysTime);
    SendMessageW(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&pOwner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    return true;
}

void CDateTimeWnd::Detach()
{
    // Closed later rather than destroyed here: the owner may be deleted from
    // within a notification this window caused.
    m_pOwner = nullptr;
    PostMessageW(WM_CLOSE);
}

void CDateTimeWnd::Finish(CDateTimeUI::TextUpdate update)
{
    if (m_pOwner != nullptr) {
        m_pOwner->m_nDTUpdateFlag = update;
        m_pOwner->UpdateText();
    }
    PostMessageW(WM_CLOSE);
}

void CDateTimeWnd::TakePickedDate()
{
    if (m_pOwner == nullptr || m_pOwner->m_nDTUpdateFlag != CDateTimeUI::TextUpdate::None) {
        PostMessageW(WM_CLOSE);
        return;
    }
    SYSTEMTIME picked = {};
    if (SendMessageW(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID)
        m_pOwner->m_sysTime = picked;
    Finish(CDateTimeUI::TextUpdate::Update);
}

bool CDateTimeWnd::IsInCalendar(HWND hWnd)
{
    const HWND hCalendar = reinterpret_cast<HWND>(SendMessageW(DTM_GETMONTHCAL));
    return hWnd != nullptr && hCalendar != nullptr && (hWnd == hCalendar || ::IsChild(hCalendar, hWnd));
}

LRESULT CDateTimeWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KILLFOCUS) {
        const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        // The drop-down calendar takes the focus while the user picks in it;
        // the picker stays open until the calendar closes.
        if (!IsInCalendar(reinterpret_cast<HWND>(wParam))) TakePickedDate();
        return lRes;
    }
    if (uMsg == WM_NOTIFY + UIMSG_REFLECT_OFFSET && reinterpret_cast<const NMHDR*>(lParam)->code == DTN_CLOSEUP) {
        // The calendar closed without giving the focus back: that is the
        // picker's focus loss, with the date picked in the calendar.
        if (::GetFocus() != m_hWnd) TakePickedDate();
        return 0;
    }
    if (uMsg == WM_KEYUP && (wParam == VK_DELETE || wParam == VK_BACK || wParam == VK_ESCAPE)) {
        const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        // Delete and Backspace empty the text (the time stays); Escape keeps both.
        Finish(wParam == VK_ESCAPE ? CDateTimeUI::TextUpdate::Keep : CDateTimeUI::TextUpdate::Delete);
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CDateTimeWnd::OnFinalMessage(HWND)
{
    if (m_pOwner != nullptr) m_pOwner->m_pWindow = nullptr;
    delete this;
}

// ---- control ----------------------------------------------------------------------

CDateTimeUI::CDateTimeUI() : m_sysTime{}, m_nDTUpdateFlag(TextUpdate::Update), m_bReadOnly(false), m_pWindow(nullptr)
{
    ::GetLocalTime(&m_sysTime);
    UpdateText();
    m_nDTUpdateFlag = TextUpdate::None;
}

CDateTimeUI::~CDateTimeUI()
{
    if (m_pWindow != nullptr) m_pWindow->Detach();
}

LPCWSTR CDateTimeUI::GetClass() const
{
    return kNames.className;
}

LPVOID CDateTimeUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return this;
    return CLabelUI::GetInterface(pstrName);
}

SYSTEMTIME& CDateTimeUI::GetTime()
{
    return m_sysTime;
}

void CDateTimeUI::SetTime(const SYSTEMTIME* pst)
{
    if (pst == nullptr) return;
    m_sysTime = *pst;
    Invalidate();
}

bool CDateTimeUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CDateTimeUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    Invalidate();
}

void CDateTimeUI::UpdateText()
{
    if (m_nDTUpdateFlag == TextUpdate::Delete) {
        SetText(L"");
    } else if (m_nDTUpdateFlag == TextUpdate::Update) {
        CUIString sText;
        sText.SmallFormat(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(sText);
    }
}

void CDateTimeUI::OpenPicker()
{
    if (m_pWindow == nullptr) m_pWindow = new CDateTimeWnd;
    if (m_pWindow->Init(this)) return;
    // A window that got as far as its final message has deleted itself and
    // cleared m_pWindow; one that never came to exist is deleted here.
    delete m_pWindow;
    m_pWindow = nullptr;
}

void CDateTimeUI::DoEvent(TEventUI& event)
{
    if (ForwardMouseEventToParent(event)) return;

    switch (event.kind) {
    case EVT_SETCURSOR:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
    case EVT_WINDOWSIZE:
        if (m_pWindow != nullptr) m_pManager->SetFocusNeeded(this);
        break;
    case EVT_SCROLLWHEEL:
        if (m_pWindow != nullptr) return;
        break;
    case EVT_SETFOCUS:
        if (!IsEnabled()) break;
        if (m_pWindow != nullptr) return;
        OpenPicker();
        break;
    case EVT_KILLFOCUS:
        if (IsEnabled()) Invalidate();
        break;
    case EVT_BUTTONDOWN:
    case EVT_DBLCLICK:
    case EVT_RBUTTONDOWN:
        if (!IsEnabled()) break;
        m_pManager->ReleaseCapture();
        if (IsFocused() || m_pWindow != nullptr) OpenPicker();
        return;
    case EVT_MOUSEMOVE:
    case EVT_BUTTONUP:
    case EVT_CONTEXTMENU:
    case EVT_MOUSEENTER:
    case EVT_MOUSELEAVE: return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

} // namespace VarnelUI
