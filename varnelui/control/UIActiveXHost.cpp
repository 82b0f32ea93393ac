// The container side of ActiveX hosting: site, in-place frame, enumerator and
// the host window of windowed objects.

#include "varnelui/control/UIActiveXHost.h"

#include <new>
#include <utility>

namespace VarnelUI {

namespace {

// Hands out one interface of an object that the caller already cast to it.
HRESULT HandOut(IUnknown* pInterface, LPVOID* ppvObject)
{
    *ppvObject = pInterface;
    pInterface->AddRef();
    return S_OK;
}

} // namespace

// ==== CActiveXCtrl =====================================================================

CActiveXCtrl::CActiveXCtrl()
    : m_dwRef(1),
      m_pOwner(nullptr),
      m_pWindow(nullptr),
      m_bLocked(false),
      m_bFocused(false),
      m_bCaptured(false),
      m_bUIActivated(false),
      m_bInPlaceActive(false),
      m_bWindowless(true),
      m_bLockedRunning(false),
      m_hAccel(nullptr)
{
}

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyActiveXWnd();
    if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
}

void CActiveXCtrl::Detach()
{
    DestroyActiveXWnd();
    if (m_bLockedRunning && m_pOwner != nullptr && m_pOwner->m_pUnk)
        ::OleLockRunning(m_pOwner->m_pUnk.Get(), FALSE, FALSE);
    m_bLockedRunning = false;
    m_bInPlaceActive = false;
    m_pInPlaceObject.Reset();
    m_pWindowlessObject.Reset();
    m_pViewObject.Reset();
    m_pUnkSite.Reset();
    m_pOwner = nullptr;
}

HWND CActiveXCtrl::GetPaintWindow() const
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return nullptr;
    return m_pOwner->GetManager()->GetPaintWindow();
}

HWND CActiveXCtrl::GetOwnerWindow() const
{
    return m_pOwner != nullptr ? m_pOwner->m_hwndHost : nullptr;
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != nullptr) return S_OK;
    if (m_pOwner == nullptr) return E_UNEXPECTED;

    auto* pWindow = new (std::nothrow) CActiveXWnd;
    if (pWindow == nullptr) return E_OUTOFMEMORY;
    m_pWindow = pWindow;
    const HWND hWnd = pWindow->Init(this, GetPaintWindow());
    if (hWnd == nullptr) {
        // A window that got as far as its final message has deleted itself.
        if (m_pWindow == pWindow) {
            m_pWindow = nullptr;
            delete pWindow;
        }
        return E_FAIL;
    }
    m_pOwner->m_hwndHost = hWnd;
    return S_OK;
}

void CActiveXCtrl::DestroyActiveXWnd()
{
    CActiveXWnd* pWindow = std::exchange(m_pWindow, nullptr);
    if (pWindow == nullptr) return;
    pWindow->Detach();
    const HWND hWnd = pWindow->GetHWND();
    if (m_pOwner != nullptr && m_pOwner->m_hwndHost == hWnd) m_pOwner->m_hwndHost = nullptr;
    if (hWnd != nullptr && ::IsWindow(hWnd)) ::DestroyWindow(hWnd); // its final message deletes it
    else delete pWindow;
}

void CActiveXCtrl::OnWindowDestroyed(CActiveXWnd* pWindow, HWND hWnd)
{
    if (m_pWindow != pWindow) return;
    m_pWindow = nullptr;
    if (m_pOwner != nullptr && m_pOwner->m_hwndHost == hWnd) m_pOwner->m_hwndHost = nullptr;
}

// ---- IUnknown -------------------------------------------------------------------------

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return ++m_dwRef;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    const ULONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return lRef;
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        return HandOut(static_cast<IOleClientSite*>(this), ppvObject);
    if (riid == IID_IOleInPlaceSiteWindowless || riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSite ||
        riid == IID_IOleWindow)
        return HandOut(static_cast<IOleInPlaceSiteWindowless*>(this), ppvObject);
    if (riid == IID_IOleControlSite) return HandOut(static_cast<IOleControlSite*>(this), ppvObject);
    if (riid == IID_IObjectWithSite) return HandOut(static_cast<IObjectWithSite*>(this), ppvObject);
    if (riid == IID_IOleContainer) return HandOut(static_cast<IOleContainer*>(this), ppvObject);
    return E_NOINTERFACE;
}

// ---- IObjectWithSite --------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    m_pUnkSite = CUIComPtr<IUnknown>(pUnkSite);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, LPVOID* ppvSite)
{
    if (ppvSite == nullptr) return E_POINTER;
    *ppvSite = nullptr;
    if (!m_pUnkSite) return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

// ---- IOleClientSite -----------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD /*dwAssign*/, DWORD /*dwWhichMoniker*/, IMoniker** ppmk)
{
    if (ppmk != nullptr) *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == nullptr) return E_POINTER;
    *ppContainer = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite) hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    if (FAILED(hr)) hr = QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    const HDC hDC = ::GetDC(m_pOwner->m_hwndHost);
    if (hDC == nullptr) return E_FAIL;
    if (m_pViewObject) {
        const RECT& rc = m_pOwner->m_rcItem;
        RECTL rcBounds = {rc.left, rc.top, rc.right, rc.bottom};
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcBounds, nullptr, nullptr, 0);
    }
    ::ReleaseDC(m_pOwner->m_hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL /*fShow*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// ---- IOleInPlaceSiteWindowless ----------------------------------------------------

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    m_bCaptured = fCapture != FALSE;
    if (m_bCaptured) ::SetCapture(m_pOwner->m_hwndHost);
    else ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (fFocus) m_pOwner->SetFocus();
    m_bFocused = fFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT /*pRect*/, DWORD grfFlags, HDC* phDC)
{
    if (phDC == nullptr) return E_POINTER;
    *phDC = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *phDC = ::GetDC(m_pOwner->m_hwndHost);
    if (*phDC == nullptr) return E_FAIL;
    if ((grfFlags & OLEDC_PAINTBKGND) != 0) {
        const RECT rcItem = m_pOwner->GetObjectRect();
        ::FillRect(*phDC, &rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->m_hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    return ::InvalidateRect(m_pOwner->m_hwndHost, pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return ::InvalidateRgn(m_pOwner->m_hwndHost, hRGN, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT /*dx*/, INT /*dy*/, LPCRECT /*pRectScroll*/, LPCRECT /*pRectClip*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT /*prc*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (plResult == nullptr) return E_POINTER;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    *plResult = ::DefWindowProcW(m_pOwner->m_hwndHost, msg, wParam, lParam);
    return S_OK;
}

// ---- IOleInPlaceSiteEx --------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*pfNoRedraw*/, DWORD dwFlags)
{
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk) return E_UNEXPECTED;
    IOleObject* pObject = m_pOwner->m_pUnk.Get();
    if (!m_bLockedRunning) m_bLockedRunning = SUCCEEDED(::OleLockRunning(pObject, TRUE, FALSE));

    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = m_pWindowlessObject.QueryFrom(pObject);
        if (SUCCEEDED(hr)) {
            m_pInPlaceObject = CUIComPtr<IOleInPlaceObject>(m_pWindowlessObject.Get());
            m_pOwner->m_hwndHost = GetPaintWindow();
            if (CPaintManagerUI* pManager = m_pOwner->GetManager()) {
                // Registered once however often the object is activated.
                pManager->RemoveMessageFilter(m_pOwner);
                pManager->AddMessageFilter(m_pOwner);
            }
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        m_pWindowlessObject.Reset();
        hr = CreateActiveXWnd();
        if (FAILED(hr)) return hr;
        hr = m_pInPlaceObject.QueryFrom(pObject);
    }
    if (m_pInPlaceObject) {
        RECT rcObject = m_pOwner->GetObjectRect();
        m_pInPlaceObject->SetObjectRects(&rcObject, &rcObject);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*fNoRedraw*/)
{
    m_bInPlaceActive = false;
    m_pInPlaceObject.Reset();
    m_pWindowlessObject.Reset();
    if (m_bLockedRunning && m_pOwner != nullptr && m_pOwner->m_pUnk)
        ::OleLockRunning(m_pOwner->m_pUnk.Get(), FALSE, FALSE);
    m_bLockedRunning = false;
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

// ---- IOleInPlaceSite ------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL bDummy = FALSE;
    return OnInPlaceActivateEx(&bDummy, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                            LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr || lprcClipRect == nullptr) return E_POINTER;
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;

    // Before the object has a host window its place is the control's.
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr) {
        ::GetClientRect(m_pWindow->GetHWND(), lprcPosRect);
        ::GetClientRect(m_pWindow->GetHWND(), lprcClipRect);
    } else {
        *lprcPosRect = m_pOwner->GetObjectRect();
        *lprcClipRect = *lprcPosRect;
    }

    auto* pFrame = new (std::nothrow) CActiveXFrameWnd(GetPaintWindow());
    if (pFrame == nullptr) return E_OUTOFMEMORY;
    *ppFrame = pFrame;

    if (m_hAccel == nullptr) {
        ACCEL ac = {};
        m_hAccel = ::CreateAcceleratorTableW(&ac, 1);
    }
    if (lpFrameInfo != nullptr) {
        lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = GetPaintWindow();
        lpFrameInfo->haccel = m_hAccel;
        lpFrameInfo->cAccelEntries = 1;
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE /*scrollExtant*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL /*fUndoable*/)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT /*lprcPosRect*/)
{
    return E_NOTIMPL;
}

// ---- IOleWindow -------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) CreateActiveXWnd();
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    *phwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

// ---- IOleControlSite ------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL /*fLock*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == nullptr) return E_POINTER;
    *ppDisp = nullptr;
    if (m_pOwner == nullptr || !m_pOwner->m_pUnk) return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<LPVOID*>(ppDisp));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL* /*pPtlHimetric*/, POINTF* /*pPtfContainer*/, DWORD /*dwFlags*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG* /*pMsg*/, DWORD /*grfModifiers*/)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = fGotFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// ---- IOleContainer ----------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD /*grfFlags*/, IEnumUnknown** ppenum)
{
    if (ppenum == nullptr) return E_POINTER;
    *ppenum = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    auto* pEnum = new (std::nothrow) CActiveXEnum(m_pOwner->m_pUnk.Get());
    if (pEnum == nullptr) return E_OUTOFMEMORY;
    *ppenum = pEnum;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = fLock != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx* /*pbc*/, LPOLESTR /*pszDisplayName*/, ULONG* /*pchEaten*/,
                                            IMoniker** ppmkOut)
{
    if (ppmkOut != nullptr) *ppmkOut = nullptr;
    return E_NOTIMPL;
}

// ==== CActiveXFrameWnd ====================================================================

CActiveXFrameWnd::CActiveXFrameWnd(HWND hWndFrame) : m_dwRef(1), m_hWndFrame(hWndFrame)
{
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return ++m_dwRef;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    const ULONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return lRef;
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
        riid == IID_IOleInPlaceFrame)
        return HandOut(static_cast<IOleInPlaceFrame*>(this), ppvObject);
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU /*hmenuShared*/, LPOLEMENUGROUPWIDTHS /*lpMenuWidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU /*hmenuShared*/, HOLEMENU /*holemenu*/, HWND /*hwndActiveObject*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU /*hmenuShared*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR /*pszStatusText*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL /*fEnable*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG /*lpMsg*/, WORD /*wID*/)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = m_hWndFrame;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT lprectBorder)
{
    // A success promises a rectangle: the whole frame is the object's to use.
    if (lprectBorder != nullptr && !::GetClientRect(m_hWndFrame, lprectBorder)) ::SetRectEmpty(lprectBorder);
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR /*pszObjName*/)
{
    m_pActiveObject = CUIComPtr<IOleInPlaceActiveObject>(pActiveObject);
    return S_OK;
}

// ==== CActiveXEnum =========================================================================

CActiveXEnum::CActiveXEnum(IUnknown* pUnk) : m_iPos(0), m_dwRef(1), m_pUnk(pUnk)
{
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return ++m_dwRef;
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    const ULONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return lRef;
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IEnumUnknown) return HandOut(static_cast<IEnumUnknown*>(this), ppvObject);
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != nullptr) *pceltFetched = 0;
    if (celt == 0) return S_OK;
    if (rgelt == nullptr || (celt > 1 && pceltFetched == nullptr)) return E_POINTER;
    if (!m_pUnk || m_iPos++ > 0) return S_FALSE;
    m_pUnk.CopyTo(&rgelt[0]);
    if (pceltFetched != nullptr) *pceltFetched = 1;
    // Fewer than asked for is S_FALSE.
    return celt == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt)
{
    m_iPos += static_cast<LONG>(celt);
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** ppenum)
{
    if (ppenum != nullptr) *ppenum = nullptr;
    return E_NOTIMPL;
}

// ==== CActiveXWnd ===========================================================================

HWND CActiveXWnd::Init(CActiveXCtrl* pOwner, HWND hWndParent)
{
    m_pOwner = pOwner;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return Create(hWndParent, L"UIActiveX", dwStyle, 0, 0, 0, 0, 0, nullptr);
}

void CActiveXWnd::Detach()
{
    m_pOwner = nullptr;
}

LPCWSTR CActiveXWnd::GetWndClassName() const
{
    return L"ActiveXWnd";
}

void CActiveXWnd::OnFinalMessage(HWND hWnd)
{
    if (m_pOwner != nullptr) m_pOwner->OnWindowDestroyed(this, hWnd);
    delete this;
}

void CActiveXWnd::DoVerb(LONG iVerb)
{
    if (m_pOwner == nullptr || m_pOwner->m_pOwner == nullptr) return;
    CActiveXUI* pHost = m_pOwner->m_pOwner;
    if (!pHost->m_pUnk) return;
    // Keep the object alive through the verb even if the host lets it go meanwhile.
    const CUIComPtr<IOleObject> pObject = pHost->m_pUnk;
    // The object's place in this window's coordinates.
    RECT rcObject = pHost->GetObjectRect();
    pObject->DoVerb(iVerb, nullptr, static_cast<IOleClientSite*>(m_pOwner), 0, m_hWnd, &rcObject);
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 1;
    }
    case WM_SETFOCUS:
        if (m_pOwner != nullptr) {
            m_pOwner->m_bFocused = true;
            if (!m_pOwner->m_bUIActivated) DoVerb(OLEIVERB_UIACTIVATE);
        }
        break;
    case WM_KILLFOCUS:
        if (m_pOwner != nullptr) m_pOwner->m_bFocused = false;
        break;
    case WM_ERASEBKGND:
        if (m_pOwner != nullptr && m_pOwner->m_pViewObject) return 1;
        break;
    case WM_MOUSEACTIVATE:
        if (m_pOwner != nullptr && m_pOwner->m_pOwner != nullptr && m_pOwner->m_pOwner->m_pUnk) {
            DWORD dwMiscStatus = 0;
            m_pOwner->m_pOwner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
            if ((dwMiscStatus & OLEMISC_NOUIACTIVATE) != 0) return 0;
            if (!m_pOwner->m_bInPlaceActive) DoVerb(OLEIVERB_INPLACEACTIVATE);
        }
        break;
    case WM_MOUSEWHEEL:
        // The wheel stops here; it must not scroll the skinned window behind.
        return 0;
    default: break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

} // namespace VarnelUI
