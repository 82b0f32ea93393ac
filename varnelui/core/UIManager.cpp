// The paint manager's tree side: attachment, the name map, searches, focus
// and tab navigation, control timers, notifications, hooks, pre-translation
// and the message loop, plus the window-level settings painting relies on.
// Message dispatch and painting live in UIManagerDispatch.cpp.

#include "varnelui/core/UIManager.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/control/UIRichEdit.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <memory>

namespace VarnelUI {

CStdPtrArray CPaintManagerUI::m_aLiveManagers;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;

struct CPaintManagerUI::TTimerInfo
{
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

namespace {

// Search state of the tab predicate.
struct TFindTabInfo
{
    CControlUI* pFocus; // where the search starts; null: take the first tab stop
    CControlUI* pLast;  // last tab stop seen
    bool bForward;
    bool bNextIsIt;
};

struct TFindShortcut
{
    wchar_t ch;
    bool bPickNext;
};

struct TFindClass
{
    LPCWSTR pstrClass;
    int iIndex;             // matches still to skip (by-index search)
    CStdPtrArray* pResults; // collect-all search
};

bool ClassMatches(CControlUI* pThis, LPCWSTR pstrClass)
{
    if (std::wcscmp(pstrClass, L"*") == 0) return true;
    const LPCWSTR pstrOwn = pThis->GetClass();
    return pstrOwn != nullptr && std::wcscmp(pstrOwn, pstrClass) == 0;
}

bool ClassContains(CControlUI* pThis, LPCWSTR pstrPart)
{
    const LPCWSTR pstrOwn = pThis->GetClass();
    return pstrOwn != nullptr && std::wcsstr(pstrOwn, pstrPart) != nullptr;
}

CControlUI* CALLBACK FindControlFromNameHash(CControlUI* pThis, LPVOID pData)
{
    const CUIString sName = pThis->GetName();
    if (!sName.IsEmpty()) static_cast<CStdStringPtrMap*>(pData)->Set(sName, pThis);
    return nullptr; // visit every control
}

CControlUI* CALLBACK FindControlFromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT& pt = *static_cast<const POINT*>(pData);
    const RECT rc = pThis->GetPos();
    return ::PtInRect(&rc, pt) ? pThis : nullptr;
}

CControlUI* CALLBACK FindControlFromName(CControlUI* pThis, LPVOID pData)
{
    const CUIString sName = pThis->GetName();
    if (sName.IsEmpty()) return nullptr;
    return sName.CompareNoCase(static_cast<LPCWSTR>(pData)) == 0 ? pThis : nullptr;
}

CControlUI* CALLBACK FindControlFromClass(CControlUI* pThis, LPVOID pData)
{
    TFindClass* pInfo = static_cast<TFindClass*>(pData);
    if (!ClassMatches(pThis, pInfo->pstrClass)) return nullptr;
    if (pInfo->pResults != nullptr) {
        pInfo->pResults->Add(pThis);
        return nullptr;
    }
    return pInfo->iIndex-- == 0 ? pThis : nullptr;
}

CControlUI* CALLBACK FindControlFromTab(CControlUI* pThis, LPVOID pData)
{
    TFindTabInfo* pInfo = static_cast<TFindTabInfo*>(pData);
    if (pThis == pInfo->pFocus) {
        if (pInfo->bForward) pInfo->bNextIsIt = true;
        return pInfo->bForward ? nullptr : pInfo->pLast;
    }
    if ((pThis->GetControlFlags() & CTRLFLAG_TABSTOP) == 0) return nullptr;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt || pInfo->pFocus == nullptr) return pThis;
    return nullptr;
}

// A label's shortcut selects the next control that is not a label, so a
// caption can carry the shortcut of the field beside it.
CControlUI* CALLBACK FindControlFromShortcut(CControlUI* pThis, LPVOID pData)
{
    if (!pThis->IsVisible()) return nullptr;
    TFindShortcut* pFS = static_cast<TFindShortcut*>(pData);
    const wchar_t chShortcut = pThis->GetShortcut();
    if (chShortcut != 0 && static_cast<wchar_t>(std::towupper(chShortcut)) == pFS->ch) pFS->bPickNext = true;
    if (ClassContains(pThis, L"LabelUI")) return nullptr;
    return pFS->bPickNext ? pThis : nullptr;
}

// Removes the first occurrence; false when the pointer is not in the array.
bool RemoveFirst(CStdPtrArray& array, LPVOID p)
{
    const int index = array.Find(p);
    return index >= 0 && array.Remove(index);
}

void RemoveAll(CStdPtrArray& array, LPVOID p)
{
    for (int index = array.Find(p); index >= 0; index = array.Find(p)) array.Remove(index);
}

} // namespace

// ---- watching controls during dispatch --------------------------------------

CPaintManagerUI::CControlWatch::CControlWatch(CPaintManagerUI& manager, CControlUI* pControl)
    : m_manager(manager),
      m_pControl(pControl)
{
    if (!m_manager.m_aWatchedControls.Add(&m_pControl)) m_pControl = nullptr; // unwatched means unsafe
}

CPaintManagerUI::CControlWatch::~CControlWatch()
{
    RemoveFirst(m_manager.m_aWatchedControls, &m_pControl);
}

// ---- construction -----------------------------------------------------------

CPaintManagerUI::CPaintManagerUI()
{
    // Tooltips come from the common controls library. (msimg32 is linked
    // directly, so it needs no loading here.)
    static const bool bCommonControls = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)bCommonControls;

    // The default font is the system's GUI font, re-created so the manager owns it.
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
    m_DefaultFontInfo.faceName = lf.lfFaceName;
    m_DefaultFontInfo.size = -lf.lfHeight;
    m_DefaultFontInfo.bold = lf.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.underline = lf.lfUnderline != FALSE;
    m_DefaultFontInfo.italic = lf.lfItalic != FALSE;
}

CPaintManagerUI::~CPaintManagerUI()
{
    DeleteDelayedCleanup();
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();
    m_mNameHash.RemoveAll();
    // Destroying the tree calls back into ReapObjects, so everything the
    // controls may touch stays valid until the root is gone.
    CControlUI* pRoot = m_pRoot;
    m_pRoot = nullptr;
    delete pRoot;
    DeleteDelayedCleanup(); // whatever the tree's destructors handed over

    RemoveAllTimers();
    // The tooltip speaks in the default font: it goes first.
    if (m_hwndTooltip != nullptr && ::IsWindow(m_hwndTooltip)) ::DestroyWindow(m_hwndTooltip);
    if (m_DefaultFontInfo.hFont != nullptr) ::DeleteObject(m_DefaultFontInfo.hFont);
    m_hDcOffscreen.Reset();
    m_hbmpOffscreen.Reset();
    m_hDcBackground.Reset();
    m_hbmpBackground.Reset();
    m_hDcPaint.Reset();
    RemoveFirst(m_aLiveManagers, this);
    // Windows still borrowing from this one fall back to their own resources
    // rather than follow a dangling pointer.
    for (int i = 0; i < m_aLiveManagers.GetSize(); ++i) {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aLiveManagers[i]);
        if (pManager->m_pParentResourcePM == this) pManager->m_pParentResourcePM = nullptr;
    }
}

void CPaintManagerUI::Init(HWND hWnd)
{
    m_hWndPaint = hWnd;
    m_hDcPaint = CWindowDCHandle(hWnd);
    if (m_aLiveManagers.Find(this) < 0) m_aLiveManagers.Add(this);
}

// ---- attachment and tree ------------------------------------------------------

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    // Attaching the tree that is already attached must not schedule it for deletion.
    if (m_pRoot != nullptr && m_pRoot != pControl) {
        m_aPostPaintControls.Empty();
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl, nullptr);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (pControl == nullptr) return false;
    pControl->SetManager(this, pParent != nullptr ? pParent : pControl->GetParent(), true);
    pControl->FindControl(FindControlFromNameHash, &m_mNameHash, FIND_ALL);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (pControl == nullptr) return;
    if (pControl == m_pEventKey) m_pEventKey = nullptr;
    if (pControl == m_pEventHover) m_pEventHover = nullptr;
    if (pControl == m_pEventClick) m_pEventClick = nullptr;
    if (pControl == m_pFocus) m_pFocus = nullptr;
    m_accessible.Forget(pControl);
    KillTimer(pControl);
    const CUIString sName = pControl->GetName();
    if (!sName.IsEmpty() && m_mNameHash.Find(sName) == pControl) m_mNameHash.Remove(sName);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
        if (pMsg->sender == pControl) pMsg->sender = nullptr;
    }
    // A dead control must not be painted after the tree, nor deleted twice.
    RemoveAll(m_aPostPaintControls, pControl);
    RemoveAll(m_aDelayedCleanup, pControl);
    for (int i = 0; i < m_aWatchedControls.GetSize(); ++i) {
        CControlUI** ppWatched = static_cast<CControlUI**>(m_aWatchedControls[i]);
        if (*ppWatched == pControl) *ppWatched = nullptr;
    }
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (pControl == nullptr) return;
    pControl->SetManager(this, nullptr, false);
    if (m_aDelayedCleanup.Find(pControl) < 0) m_aDelayedCleanup.Add(pControl);
    if (m_hWndPaint != nullptr) ::PostMessageW(m_hWndPaint, UIMSG_DELAYED_CLEANUP, 0, 0);
}

void CPaintManagerUI::DeleteDelayedCleanup()
{
    // One at a time: a destructor may delete another listed control, which
    // ReapObjects then takes off the list.
    while (!m_aDelayedCleanup.IsEmpty()) {
        CControlUI* pControl = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete pControl;
    }
}

CControlUI* CPaintManagerUI::GetRoot() const
{
    return m_pRoot;
}

CControlUI* CPaintManagerUI::GetFocus() const
{
    return m_pFocus;
}

HWND CPaintManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HDC CPaintManagerUI::GetPaintDC() const
{
    return m_hDcPaint.Get();
}

HWND CPaintManagerUI::GetTooltipWindow() const
{
    return m_hwndTooltip;
}

POINT CPaintManagerUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

CControlUI* CPaintManagerUI::GetHoverControl() const
{
    return m_pEventHover;
}

CAccessibleTree& CPaintManagerUI::GetAccessibleTree()
{
    return m_accessible;
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    return {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};
}

void CPaintManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
}

void CPaintManagerUI::Invalidate(const RECT& rcItem)
{
    if (m_nInvalidateBatches > 0) {
        ::UnionRect(&m_rcBatchInvalid, &m_rcBatchInvalid, &rcItem);
        return;
    }
    ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

CPaintManagerUI::CInvalidateBatch::CInvalidateBatch(CPaintManagerUI* pManager) : m_pManager(pManager)
{
    if (m_pManager != nullptr) ++m_pManager->m_nInvalidateBatches;
}

CPaintManagerUI::CInvalidateBatch::~CInvalidateBatch()
{
    if (m_pManager == nullptr || --m_pManager->m_nInvalidateBatches > 0) return;
    const RECT rcCollected = m_pManager->m_rcBatchInvalid;
    m_pManager->m_rcBatchInvalid = RECT{};
    if (!::IsRectEmpty(&rcCollected)) m_pManager->Invalidate(rcCollected);
}

// ---- focus and capture ----------------------------------------------------------

TEventUI CPaintManagerUI::MakeEvent(int kind, CControlUI* pSender) const
{
    TEventUI event = {};
    event.kind = kind;
    event.sender = pSender;
    event.timestamp = ::GetTickCount();
    return event;
}

void CPaintManagerUI::KillCurrentFocus(CControlUI* pNewFocus)
{
    CControlWatch watchOld(*this, m_pFocus);
    if (watchOld.Get() == nullptr) return;
    TEventUI event = MakeEvent(EVT_KILLFOCUS, pNewFocus);
    watchOld.Get()->Event(event);
    if (watchOld.Get() != nullptr) SendNotify(watchOld.Get(), L"killfocus");
    m_pFocus = nullptr;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    if (::GetFocus() != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    CControlWatch watchNew(*this, pControl);
    KillCurrentFocus(pControl);
    pControl = watchNew.Get();
    if (pControl == nullptr) return;
    if (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) return;
    m_pFocus = pControl;
    TEventUI event = MakeEvent(EVT_SETFOCUS, pControl);
    pControl->Event(event);
    if (watchNew.Get() == nullptr) return;
    m_accessible.RaiseEvent(EVENT_OBJECT_FOCUS, pControl);
    SendNotify(pControl, L"setfocus");
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    ::SetFocus(m_hWndPaint);
    if (pControl == nullptr) return;
    CControlWatch watch(*this, pControl);
    KillCurrentFocus(pControl);
    if (m_pRoot == nullptr) return;
    // The tab stop before the control: the paint after the next layout moves
    // forward from there, which lands on the control itself.
    TFindTabInfo info = {watch.Get(), nullptr, false, false};
    m_pFocus = watch.Get() != nullptr
                   ? m_pRoot->FindControl(FindControlFromTab, &info, FIND_VISIBLE | FIND_ENABLED | FIND_ME_FIRST)
                   : nullptr;
    m_bFocusNeeded = true;
    m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    // Positions are stale until the next layout; the paint after it comes back here.
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    const UINT uFlags = FIND_VISIBLE | FIND_ENABLED | FIND_ME_FIRST;
    CControlUI* pControl = nullptr;
    if (m_pRoot != nullptr) {
        TFindTabInfo info = {m_pFocus, nullptr, bForward, false};
        pControl = m_pRoot->FindControl(FindControlFromTab, &info, uFlags);
        if (pControl == nullptr) {
            if (bForward) {
                TFindTabInfo wrap = {nullptr, nullptr, true, false};
                pControl = m_pRoot->FindControl(FindControlFromTab, &wrap, uFlags);
            } else {
                pControl = info.pLast;
            }
        }
    }
    if (pControl != nullptr) SetFocus(pControl);
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
}

// ---- searching ------------------------------------------------------------------

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    return FindSubControlByPoint(nullptr, pt);
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName) const
{
    if (pstrName == nullptr) return nullptr;
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (pParent == nullptr) pParent = m_pRoot;
    if (pParent == nullptr) return nullptr;
    return pParent->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const
{
    if (pParent == nullptr) pParent = m_pRoot;
    if (pParent == nullptr || pstrName == nullptr) return nullptr;
    return pParent->FindControl(FindControlFromName, const_cast<LPWSTR>(pstrName), FIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex)
{
    if (pParent == nullptr) pParent = m_pRoot;
    if (pParent == nullptr || pstrClass == nullptr || iIndex < 0) return nullptr;
    TFindClass info = {pstrClass, iIndex, nullptr};
    return pParent->FindControl(FindControlFromClass, &info, FIND_ALL);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass)
{
    m_aFoundControls.Empty();
    if (pParent == nullptr) pParent = m_pRoot;
    if (pParent != nullptr && pstrClass != nullptr) {
        TFindClass info = {pstrClass, 0, &m_aFoundControls};
        pParent->FindControl(FindControlFromClass, &info, FIND_ALL);
    }
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass()
{
    return &m_aFoundControls;
}

// ---- control timers ---------------------------------------------------------------

// Native ids follow (counter + 1) mod 255, so a window's first timer is 17.
// An id still held by one of this window's records is skipped: SetTimer on it
// would silently take the native timer away from that record.
bool CPaintManagerUI::NextTimerId(UINT& uWinTimer)
{
    for (int attempt = 0; attempt < 255; ++attempt) {
        m_uTimerID = (m_uTimerID + 1) % 255;
        bool bInUse = false;
        for (int i = 0; i < m_aTimers.GetSize() && !bInUse; ++i) {
            const TTimerInfo* pTimer = static_cast<const TTimerInfo*>(m_aTimers[i]);
            bInUse = pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == m_uTimerID;
        }
        if (!bInUse) {
            uWinTimer = m_uTimerID;
            return true;
        }
    }
    return false;
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (pControl == nullptr || m_hWndPaint == nullptr) return false;
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint || pTimer->nLocalID != nTimerID) continue;
        if (!pTimer->bKilled) return false;
        if (::SetTimer(m_hWndPaint, pTimer->uWinTimer, uElapse, nullptr) == 0) return false;
        pTimer->bKilled = false;
        return true;
    }
    UINT uWinTimer = 0;
    if (!NextTimerId(uWinTimer)) return false;
    if (::SetTimer(m_hWndPaint, uWinTimer, uElapse, nullptr) == 0) return false;
    auto pTimer = std::make_unique<TTimerInfo>(TTimerInfo{pControl, nTimerID, m_hWndPaint, uWinTimer, false});
    if (!m_aTimers.Add(pTimer.get())) {
        ::KillTimer(m_hWndPaint, uWinTimer);
        return false;
    }
    pTimer.release();
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID &&
            !pTimer->bKilled) {
            if (::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            pTimer->bKilled = true; // kept, so setting it again reuses its native id
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint) continue;
        if (!pTimer->bKilled && ::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        m_aTimers.Remove(i);
        delete pTimer;
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    const bool bWindow = m_hWndPaint != nullptr && ::IsWindow(m_hWndPaint);
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (!pTimer->bKilled && bWindow) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
    }
    m_aTimers.Empty();
}

void CPaintManagerUI::OnTimer(WPARAM wParam)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const TTimerInfo* pTimer = static_cast<const TTimerInfo*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == LOWORD(wParam) && !pTimer->bKilled) {
            TEventUI event = MakeEvent(EVT_TIMER, pTimer->pSender);
            event.wParam = pTimer->nLocalID;
            // The handler may kill or add timers: the record is not used afterwards.
            pTimer->pSender->Event(event);
            return;
        }
    }
}

// ---- notifications and hooks ---------------------------------------------------------

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam, LPARAM lParam, bool bAsync)
{
    TNotifyUI Msg = {};
    Msg.type = pstrMessage;
    Msg.sender = pControl;
    Msg.wParam = wParam;
    Msg.lParam = lParam;
    SendNotify(Msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync)
{
    Msg.mousePos = m_ptLastMousePos;
    Msg.timestamp = ::GetTickCount();
    if (m_bUsedVirtualWnd && Msg.sender != nullptr) Msg.virtualWnd = Msg.sender->GetVirtualWnd();
    if (!bAsync) {
        DeliverNotify(Msg);
        return;
    }
    auto pMsg = std::make_unique<TNotifyUI>();
    pMsg->type = Msg.type;
    pMsg->sender = Msg.sender;
    pMsg->timestamp = Msg.timestamp;
    pMsg->mousePos = Msg.mousePos;
    pMsg->wParam = Msg.wParam;
    pMsg->lParam = Msg.lParam;
    if (m_aAsyncNotify.Add(pMsg.get())) pMsg.release();
}

void CPaintManagerUI::DeliverNotify(TNotifyUI& Msg)
{
    // A delegate or notifier may destroy the sender; later receivers then see
    // a null sender rather than a dead one.
    m_accessible.OnNotify(Msg);
    CControlWatch watch(*this, Msg.sender);
    if (Msg.sender != nullptr && Msg.sender->OnNotify) Msg.sender->OnNotify(&Msg);
    for (int i = 0; i < m_aNotifiers.GetSize(); ++i) {
        if (watch.Get() == nullptr) Msg.sender = nullptr;
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
    }
    if (watch.Get() == nullptr) Msg.sender = nullptr;
}

void CPaintManagerUI::DrainAsyncNotify()
{
    while (!m_aAsyncNotify.IsEmpty()) {
        std::unique_ptr<TNotifyUI> pMsg(static_cast<TNotifyUI*>(m_aAsyncNotify[0]));
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*pMsg);
    }
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pControl)
{
    return m_aNotifiers.Add(pControl);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pControl)
{
    return RemoveFirst(m_aNotifiers, pControl);
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return m_aTranslateAccelerator.Add(pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return RemoveFirst(m_aTranslateAccelerator, pTranslateAccelerator);
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return RemoveFirst(m_aPostPaintControls, pControl);
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex)
{
    RemovePostPaint(pControl);
    return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

int CPaintManagerUI::GetPostPaintCount() const
{
    return m_aPostPaintControls.GetSize();
}

void CPaintManagerUI::UsedVirtualWnd(bool bUsed)
{
    m_bUsedVirtualWnd = bUsed;
}

// ---- pre-translation, accelerators and the message loop -----------------------------

namespace {

// A focused rich edit may take Tab as a character instead of the window
// moving the focus on.
bool WantsTab(CControlUI* pFocus)
{
    if (pFocus == nullptr || !pFocus->IsVisible() || !pFocus->IsEnabled()) return false;
    if (std::wcsstr(pFocus->GetClass(), CRichEditUI::kNames.className) == nullptr) return false;
    const auto* pRichEdit = static_cast<const CRichEditUI*>(pFocus->GetInterface(CRichEditUI::kNames.interfaceName));
    return pRichEdit != nullptr && pRichEdit->IsWantTab();
}

} // namespace

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_aPreMessageFilters.GetSize(); ++i) {
        bool bHandled = false;
        const LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB) return false;
        if (WantsTab(m_pFocus)) return false;
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_pFocus != nullptr) {
            TEventUI event = MakeEvent(EVT_SYSKEY, m_pFocus);
            event.keyChar = static_cast<wchar_t>(wParam);
            event.mousePos = m_ptLastMousePos;
            event.keyState = CurrentKeyState();
            m_pFocus->Event(event);
        }
        return false;
    case WM_SYSCHAR: return OnSysChar(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(wParam))));
    default: return false;
    }
}

bool CPaintManagerUI::OnSysChar(wchar_t ch)
{
    if (m_pRoot == nullptr || ch == 0) return false;
    TFindShortcut fs = {ch, false};
    CControlWatch watch(
        *this, m_pRoot->FindControl(FindControlFromShortcut, &fs, FIND_ENABLED | FIND_TOP_FIRST | FIND_ME_FIRST));
    if (watch.Get() == nullptr) return false;
    watch.Get()->SetFocus();
    if (watch.Get() != nullptr) watch.Get()->Activate();
    return true;
}

bool CPaintManagerUI::TranslateAcceleratorW(MSG* pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        if (static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAcceleratorW(pMsg) == 0)
            return true;
    }
    return false;
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg)
{
    if (pMsg == nullptr) return false;
    MSG msg = *pMsg;
    LRESULT lRes = 0;
    if ((::GetWindowLongPtrW(msg.hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        // A child window's keys go to every manager whose window contains it,
        // innermost registration first. Each manager sees the message once,
        // however many of its ancestors match.
        for (int i = m_aLiveManagers.GetSize() - 1; i >= 0; --i) {
            if (i >= m_aLiveManagers.GetSize()) continue; // a handler closed windows
            CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aLiveManagers[i]);
            const HWND hWndPaint = pManager->GetPaintWindow();
            bool bContains = msg.hwnd == hWndPaint;
            for (HWND hParent = ::GetParent(msg.hwnd); hParent != nullptr && !bContains; hParent = ::GetParent(hParent))
                bContains = hParent == hWndPaint;
            if (!bContains) continue;
            if (pManager->TranslateAcceleratorW(&msg)) return true;
            pManager->PreMessageHandler(msg.message, msg.wParam, msg.lParam, lRes);
        }
        return false;
    }
    for (int i = 0; i < m_aLiveManagers.GetSize(); ++i) {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aLiveManagers[i]);
        if (pManager->GetPaintWindow() != msg.hwnd) continue;
        if (pManager->TranslateAcceleratorW(&msg)) return true;
        return pManager->PreMessageHandler(msg.message, msg.wParam, msg.lParam, lRes);
    }
    return false;
}

void CPaintManagerUI::MessageLoop()
{
    MSG msg = {};
    // GetMessageW answers -1 on an error; stop then rather than spin.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        try {
            ::DispatchMessageW(&msg);
        } catch (...) {
            // One failing handler must not take the whole program down.
        }
    }
}

// ---- window-level settings ---------------------------------------------------------

SIZE CPaintManagerUI::GetInitSize() const
{
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize = {cx, cy};
    if (m_pRoot == nullptr && m_hWndPaint != nullptr)
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

const RECT& CPaintManagerUI::GetSizeBox() const
{
    return m_rcSizeBox;
}

void CPaintManagerUI::SetSizeBox(const RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

const RECT& CPaintManagerUI::GetCaptionRect() const
{
    return m_rcCaption;
}

void CPaintManagerUI::SetCaptionRect(const RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

SIZE CPaintManagerUI::GetRoundCorner() const
{
    return m_szRoundCorner;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner = {cx, cy};
}

SIZE CPaintManagerUI::GetMinInfo() const
{
    return m_szMinWindow;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow = {cx, cy};
}

SIZE CPaintManagerUI::GetMaxInfo() const
{
    return m_szMaxWindow;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow = {cx, cy};
}

int CPaintManagerUI::GetTransparent() const
{
    return m_nOpacity;
}

// User32 of every supported system has SetLayeredWindowAttributes, so it is
// called directly rather than looked up.
void CPaintManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = std::clamp(nOpacity, 0, 255);
    if (m_hWndPaint == nullptr) return;
    const LONG_PTR dwExStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    const LONG_PTR dwNewExStyle = nOpacity >= 0 && nOpacity <= 255
                                      ? (dwExStyle | WS_EX_LAYERED)
                                      : (dwExStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (dwNewExStyle != dwExStyle) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, dwNewExStyle);
    ::SetLayeredWindowAttributes(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

void CPaintManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_bAlphaBackground = bTrans;
}

bool CPaintManagerUI::IsAlphaBackground() const
{
    return m_bAlphaBackground;
}

void CPaintManagerUI::SetShowUpdateRect(bool show)
{
    m_bShowUpdateRect = show;
}

bool CPaintManagerUI::IsShowUpdateRect() const
{
    return m_bShowUpdateRect;
}

// ---- window shadow -----------------------------------------------------------------------

void CPaintManagerUI::SetHasWindowShadow(bool bShadow)
{
    m_shadow.SetEnabled(bShadow);
}

bool CPaintManagerUI::HasWindowShadow() const
{
    return m_shadow.IsEnabled();
}

void CPaintManagerUI::SetWindowShadowImage(LPCWSTR pstrImage)
{
    m_shadow.SetImage(pstrImage);
}

void CPaintManagerUI::SetTopleftShadowRect(int x, int y, int width, int height)
{
    m_shadow.SetTopLeftRect(x, y, width, height);
}

void CPaintManagerUI::SetToprightShadowRect(int x, int y, int width, int height)
{
    m_shadow.SetTopRightRect(x, y, width, height);
}

void CPaintManagerUI::SetBottomleftShadowRect(int x, int y, int width, int height)
{
    m_shadow.SetBottomLeftRect(x, y, width, height);
}

void CPaintManagerUI::SetBottomrightShadowRect(int x, int y, int width, int height)
{
    m_shadow.SetBottomRightRect(x, y, width, height);
}

void CPaintManagerUI::CalMiddleShadowRect()
{
    m_shadow.CalMiddleRects();
}

void CPaintManagerUI::CalRealShadowRect(const RECT& rcClient, tagTWindowShadowInfo& info) const
{
    m_shadow.CalRealRects(rcClient, info);
}

void CPaintManagerUI::GenerateShadowRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pBuffer) const
{
    m_shadow.GenerateRenderString(rcSource, rcDest, pBuffer);
}

void CPaintManagerUI::DrawWindowShadow(RECT& rc)
{
    m_shadow.Draw(m_hDcBackground.Get(), this, rc);
}

// ---- process-wide colour adjustment --------------------------------------------------------

void CPaintManagerUI::SetHSL(bool /*bUseHSL*/, short H, short S, short L)
{
    if (m_H == H && m_S == S && m_L == L) return;
    m_H = static_cast<short>(std::clamp<int>(H, 0, 360));
    m_S = static_cast<short>(std::clamp<int>(S, 0, 200));
    m_L = static_cast<short>(std::clamp<int>(L, 0, 200));
    for (int i = 0; i < m_aLiveManagers.GetSize(); ++i) {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aLiveManagers[i]);
        if (pManager->GetRoot() != nullptr) pManager->GetRoot()->Invalidate();
    }
}

void CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    if (H != nullptr) *H = m_H;
    if (S != nullptr) *S = m_S;
    if (L != nullptr) *L = m_L;
}

} // namespace VarnelUI
