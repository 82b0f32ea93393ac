// The ActiveX/browser test double, its class registration and the host window.

#include "support/TestActiveX.h"

#include "varnelui/control/UIControl.h"

#include <exdispid.h>

#include <utility>

namespace VarnelTest {

namespace {

std::wstring Text(LPCWSTR psz)
{
    return psz != nullptr ? psz : L"";
}

// A BSTR variant whose text stays valid while the holder lives.
struct TBstrVariant
{
    explicit TBstrVariant(LPCWSTR text)
    {
        ::VariantInit(&var);
        var.vt = VT_BSTR;
        var.bstrVal = ::SysAllocString(text != nullptr ? text : L"");
    }
    ~TBstrVariant() { ::VariantClear(&var); }
    TBstrVariant(const TBstrVariant&) = delete;
    TBstrVariant& operator=(const TBstrVariant&) = delete;
    VARIANT var;
};

VARIANTARG ByRef(VARIANT& v)
{
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_BYREF | VT_VARIANT;
    arg.pvarVal = &v;
    return arg;
}

VARIANTARG BoolRef(VARIANT_BOOL& b)
{
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_BYREF | VT_BOOL;
    arg.pboolVal = &b;
    return arg;
}

VARIANTARG Dispatch(IDispatch* p)
{
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = p;
    return arg;
}

class CTestFactory : public IClassFactory
{
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // A static object: references do not matter.
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (pOuter != nullptr) return CLASS_E_NOAGGREGATION;
        auto* pObject = new CTestOleObject(CTestClassRegistration::Options());
        const HRESULT hr = pObject->QueryInterface(riid, ppv);
        if (SUCCEEDED(hr)) CTestClassRegistration::Created().emplace_back(pObject);
        pObject->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }
};

CTestFactory g_factory;

} // namespace

// ==== CTestOleObject ======================================================================

CTestOleObject::CTestOleObject(const TTestObjectOptions& options) : m_options(options)
{
}

CTestOleObject::~CTestOleObject()
{
    if (m_hwnd != nullptr) ::DestroyWindow(m_hwnd);
}

bool CTestOleObject::HasCall(const std::wstring& call) const
{
    for (const std::wstring& c : calls)
        if (c == call) return true;
    return false;
}

void CTestOleObject::SetDocument(CTestDocument* pDocument)
{
    m_document.Reset();
    if (pDocument != nullptr) m_document.QueryFrom(static_cast<ICustomDoc*>(pDocument));
}

STDMETHODIMP CTestOleObject::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject) *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleControl) *ppv = static_cast<IOleControl*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject || riid == IID_IOleInPlaceObjectWindowless)
        *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (riid == IID_IOleInPlaceActiveObject) *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IViewObject || riid == IID_IViewObject2 || riid == IID_IViewObjectEx)
        *ppv = static_cast<IViewObjectEx*>(this);
    else if (riid == IID_IPersist || riid == IID_IPersistStreamInit) *ppv = static_cast<IPersistStreamInit*>(this);
    else if (riid == IID_IDispatch || riid == __uuidof(IWebBrowser) || riid == __uuidof(IWebBrowserApp) ||
             riid == __uuidof(IWebBrowser2))
        *ppv = static_cast<IWebBrowser2*>(this);
    else if (riid == IID_IConnectionPointContainer) *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IObjectWithSite) *ppv = static_cast<IObjectWithSite*>(this);
    if (*ppv == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CTestOleObject::AddRef()
{
    return ++m_ref;
}

STDMETHODIMP_(ULONG) CTestOleObject::Release()
{
    const ULONG ref = --m_ref;
    if (ref == 0) delete this;
    return ref;
}

STDMETHODIMP CTestOleObject::SetClientSite(IOleClientSite* pClientSite)
{
    Record(pClientSite != nullptr ? L"SetClientSite" : L"SetClientSite null");
    m_site = CUIComPtr<IOleClientSite>(pClientSite);
    return S_OK;
}

STDMETHODIMP CTestOleObject::GetClientSite(IOleClientSite** ppClientSite)
{
    return m_site.CopyTo(ppClientSite);
}

STDMETHODIMP CTestOleObject::SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj)
{
    Record(L"SetHostNames " + Text(szContainerApp) + (szContainerObj != nullptr ? L" obj" : L""));
    return S_OK;
}

STDMETHODIMP CTestOleObject::Close(DWORD dwSaveOption)
{
    Record(dwSaveOption == OLECLOSE_NOSAVE ? L"Close nosave" : L"Close");
    InPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP CTestOleObject::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent, LPCRECT)
{
    Record(L"DoVerb " + std::to_wstring(iVerb));
    if (iVerb == OLEIVERB_UIACTIVATE) {
        if (m_inPlaceSite) m_inPlaceSite->OnUIActivate();
        return S_OK;
    }
    if (iVerb != OLEIVERB_INPLACEACTIVATE) return E_NOTIMPL;
    if (m_active) return S_OK;

    IOleClientSite* pSite = pActiveSite != nullptr ? pActiveSite : m_site.Get();
    HRESULT hr = m_inPlaceSite.QueryFrom(pSite);
    if (FAILED(hr)) return hr;
    if (m_inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;

    m_windowless = false;
    if (m_options.windowless) {
        const auto pWindowless = VarnelUI::ComQuery<IOleInPlaceSiteWindowless>(pSite);
        if (pWindowless && pWindowless->CanWindowlessActivate() == S_OK) {
            BOOL noRedraw = FALSE;
            hr = pWindowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
            if (FAILED(hr)) return hr;
            m_windowless = true;
        }
    }
    HWND hwndHost = hwndParent;
    if (!m_windowless) {
        hr = m_inPlaceSite->OnInPlaceActivate();
        if (FAILED(hr)) return hr;
        if (FAILED(m_inPlaceSite->GetWindow(&hwndHost))) return E_FAIL;
    }

    RECT rcPos = {};
    RECT rcClip = {};
    CUIComPtr<IOleInPlaceUIWindow> pDoc;
    m_frameInfo = {};
    m_frameInfo.cb = sizeof(m_frameInfo);
    hr = m_inPlaceSite->GetWindowContext(m_frame.ReleaseAndGetAddressOf(), pDoc.ReleaseAndGetAddressOf(), &rcPos,
                                         &rcClip, &m_frameInfo);
    if (FAILED(hr)) return hr;
    if (!m_windowless) {
        m_hwnd = ::CreateWindowExW(0, L"STATIC", L"TestObject", WS_CHILD | WS_VISIBLE, rcPos.left, rcPos.top,
                                   rcPos.right - rcPos.left, rcPos.bottom - rcPos.top, hwndHost, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    }
    m_rcObject = rcPos;
    if (m_frame) m_frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"TestObject");
    m_active = true;
    return S_OK;
}

STDMETHODIMP CTestOleObject::SetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    if (psizel == nullptr || dwDrawAspect != DVASPECT_CONTENT) return E_INVALIDARG;
    m_extent = *psizel;
    return S_OK;
}

STDMETHODIMP CTestOleObject::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    if (pdwStatus == nullptr) return E_POINTER;
    *pdwStatus = m_options.miscStatus;
    return S_OK;
}

STDMETHODIMP CTestOleObject::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = m_hwnd;
    return m_hwnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CTestOleObject::InPlaceDeactivate()
{
    if (!m_active) return S_OK;
    m_active = false;
    if (m_frame) m_frame->SetActiveObject(nullptr, nullptr);
    m_frame.Reset();
    if (m_hwnd != nullptr) ::DestroyWindow(std::exchange(m_hwnd, nullptr));
    if (m_inPlaceSite) m_inPlaceSite->OnInPlaceDeactivate();
    m_inPlaceSite.Reset();
    return S_OK;
}

STDMETHODIMP CTestOleObject::UIDeactivate()
{
    return S_OK;
}

STDMETHODIMP CTestOleObject::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    if (lprcPosRect == nullptr) return E_POINTER;
    m_rcObject = *lprcPosRect;
    if (m_hwnd != nullptr) {
        ::MoveWindow(m_hwnd, m_rcObject.left, m_rcObject.top, m_rcObject.right - m_rcObject.left,
                     m_rcObject.bottom - m_rcObject.top, TRUE);
    }
    return S_OK;
}

STDMETHODIMP CTestOleObject::OnWindowMessage(UINT msg, WPARAM, LPARAM, LRESULT* plResult)
{
    messages.push_back(msg);
    if (plResult != nullptr) *plResult = 0x5A;
    return S_OK;
}

STDMETHODIMP CTestOleObject::TranslateAccelerator(LPMSG lpmsg)
{
    if (lpmsg == nullptr) return E_POINTER;
    Record(L"TranslateAccelerator " + std::to_wstring(lpmsg->wParam));
    return S_OK;
}

STDMETHODIMP CTestOleObject::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL lprcBounds, LPCRECTL,
                                  BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (hdcDraw == nullptr || lprcBounds == nullptr) return E_INVALIDARG;
    ++drawCount;
    const RECT rc = {lprcBounds->left, lprcBounds->top, lprcBounds->right, lprcBounds->bottom};
    const HBRUSH hBrush = ::CreateSolidBrush(kTestObjectColor);
    ::FillRect(hdcDraw, &rc, hBrush);
    ::DeleteObject(hBrush);
    return S_OK;
}

STDMETHODIMP CTestOleObject::QueryHitPoint(DWORD, LPCRECT pRectBounds, POINT ptlLoc, LONG, DWORD* pHitResult)
{
    if (pRectBounds == nullptr || pHitResult == nullptr) return E_POINTER;
    RECT rcHit = *pRectBounds;
    rcHit.right = rcHit.left + (rcHit.right - rcHit.left) / 2;
    *pHitResult = ::PtInRect(&rcHit, ptlLoc) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP CTestOleObject::InitNew()
{
    Record(L"InitNew");
    return m_options.initNewResult;
}

STDMETHODIMP CTestOleObject::Navigate(BSTR URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    Record(L"Navigate " + Text(URL));
    return S_OK;
}

STDMETHODIMP CTestOleObject::Navigate2(VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    if (URL == nullptr || URL->vt != VT_BSTR) return E_INVALIDARG;
    Record(L"Navigate2 " + Text(URL->bstrVal));
    return S_OK;
}

STDMETHODIMP CTestOleObject::Refresh()
{
    Record(L"Refresh");
    return S_OK;
}

STDMETHODIMP CTestOleObject::Refresh2(VARIANT* Level)
{
    if (Level == nullptr || Level->vt != VT_I4) return E_INVALIDARG;
    Record(L"Refresh2 " + std::to_wstring(Level->lVal));
    return S_OK;
}

STDMETHODIMP CTestOleObject::GoBack()
{
    Record(L"GoBack");
    return S_OK;
}

STDMETHODIMP CTestOleObject::GoForward()
{
    Record(L"GoForward");
    return S_OK;
}

STDMETHODIMP CTestOleObject::get_Document(IDispatch** ppDisp)
{
    if (ppDisp == nullptr) return E_POINTER;
    m_document.CopyTo(ppDisp);
    return m_document ? S_OK : S_FALSE;
}

STDMETHODIMP CTestOleObject::EnumConnectionPoints(IEnumConnectionPoints** ppEnum)
{
    if (ppEnum != nullptr) *ppEnum = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestOleObject::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP == nullptr) return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
    *ppCP = &m_eventPoint;
    AddRef();
    return S_OK;
}

STDMETHODIMP CTestOleObject::SetSite(IUnknown* pUnkSite)
{
    Record(pUnkSite != nullptr ? L"SetSite" : L"SetSite null");
    m_objectSite = CUIComPtr<IUnknown>(pUnkSite);
    return S_OK;
}

STDMETHODIMP CTestOleObject::GetSite(REFIID riid, void** ppvSite)
{
    if (ppvSite == nullptr) return E_POINTER;
    *ppvSite = nullptr;
    return m_objectSite ? m_objectSite->QueryInterface(riid, ppvSite) : E_FAIL;
}

// ---- events --------------------------------------------------------------------------

HRESULT CTestOleObject::Fire(DISPID id, VARIANTARG* args, UINT count)
{
    if (!m_sink) return E_FAIL;
    DISPPARAMS params = {args, nullptr, count, 0};
    return m_sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

HRESULT CTestOleObject::FireBeforeNavigate2(IDispatch* pDisp, LPCWSTR url, LPCWSTR frame, VARIANT_BOOL& cancel)
{
    TBstrVariant vUrl(url), vFrame(frame), vHeaders(L"");
    VARIANT vFlags, vPostData;
    ::VariantInit(&vFlags);
    vFlags.vt = VT_I4;
    vFlags.lVal = 0;
    ::VariantInit(&vPostData);
    VARIANTARG args[7] = {BoolRef(cancel), ByRef(vHeaders.var), ByRef(vPostData), ByRef(vFrame.var),
                          ByRef(vFlags),   ByRef(vUrl.var),     Dispatch(pDisp)};
    return Fire(DISPID_BEFORENAVIGATE2, args, 7);
}

HRESULT CTestOleObject::FireNavigateComplete2(IDispatch* pDisp, LPCWSTR url)
{
    TBstrVariant vUrl(url);
    VARIANTARG args[2] = {ByRef(vUrl.var), Dispatch(pDisp)};
    return Fire(DISPID_NAVIGATECOMPLETE2, args, 2);
}

HRESULT CTestOleObject::FireDocumentComplete(IDispatch* pDisp, LPCWSTR url)
{
    TBstrVariant vUrl(url);
    VARIANTARG args[2] = {ByRef(vUrl.var), Dispatch(pDisp)};
    return Fire(DISPID_DOCUMENTCOMPLETE, args, 2);
}

HRESULT CTestOleObject::FireNavigateError(IDispatch* pDisp, LPCWSTR url, LONG status, VARIANT_BOOL& cancel)
{
    TBstrVariant vUrl(url), vFrame(L"");
    VARIANT vStatus;
    ::VariantInit(&vStatus);
    vStatus.vt = VT_I4;
    vStatus.lVal = status;
    VARIANTARG args[5] = {BoolRef(cancel), ByRef(vStatus), ByRef(vFrame.var), ByRef(vUrl.var), Dispatch(pDisp)};
    return Fire(DISPID_NAVIGATEERROR, args, 5);
}

HRESULT CTestOleObject::FireNewWindow3(LPCWSTR url, VARIANT_BOOL& cancel)
{
    IDispatch* pNewWindow = nullptr;
    VARIANTARG args[5];
    for (VARIANTARG& a : args) ::VariantInit(&a);
    args[4].vt = VT_BYREF | VT_DISPATCH;
    args[4].ppdispVal = &pNewWindow;
    args[3] = BoolRef(cancel);
    args[2].vt = VT_I4;
    args[2].lVal = 0x6;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = ::SysAllocString(L"http://context/");
    args[0].vt = VT_BSTR;
    args[0].bstrVal = ::SysAllocString(url);
    const HRESULT hr = Fire(DISPID_NEWWINDOW3, args, 5);
    ::SysFreeString(args[1].bstrVal);
    ::SysFreeString(args[0].bstrVal);
    // The handler may hand out a window; the double has no use for it.
    if (pNewWindow != nullptr) pNewWindow->Release();
    return hr;
}

HRESULT CTestOleObject::FireCommandStateChange(long command, VARIANT_BOOL enable)
{
    VARIANTARG args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    args[1].vt = VT_I4;
    args[1].lVal = command;
    args[0].vt = VT_BOOL;
    args[0].boolVal = enable;
    return Fire(DISPID_COMMANDSTATECHANGE, args, 2);
}

// ---- the connection point -----------------------------------------------------------

STDMETHODIMP CTestOleObject::CEventPoint::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CTestOleObject::CEventPoint::GetConnectionInterface(IID* pIID)
{
    if (pIID == nullptr) return E_POINTER;
    *pIID = DIID_DWebBrowserEvents2;
    return S_OK;
}

STDMETHODIMP CTestOleObject::CEventPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    if (ppCPC == nullptr) return E_POINTER;
    *ppCPC = &m_owner;
    m_owner.AddRef();
    return S_OK;
}

STDMETHODIMP CTestOleObject::CEventPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (pUnkSink == nullptr || pdwCookie == nullptr) return E_POINTER;
    if (m_owner.m_sink) return CONNECT_E_ADVISELIMIT;
    const HRESULT hr = m_owner.m_sink.QueryFrom(pUnkSink);
    if (FAILED(hr)) return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = 7;
    m_owner.Record(L"Advise");
    return S_OK;
}

STDMETHODIMP CTestOleObject::CEventPoint::Unadvise(DWORD dwCookie)
{
    if (dwCookie != 7 || !m_owner.m_sink) return CONNECT_E_NOCONNECTION;
    m_owner.m_sink.Reset();
    m_owner.Record(L"Unadvise");
    return S_OK;
}

STDMETHODIMP CTestOleObject::CEventPoint::EnumConnections(IEnumConnections** ppEnum)
{
    if (ppEnum != nullptr) *ppEnum = nullptr;
    return E_NOTIMPL;
}

// ==== CTestDocument =========================================================================

STDMETHODIMP CTestDocument::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IHTMLDocument) ||
        riid == __uuidof(IHTMLDocument2))
        *ppv = static_cast<IHTMLDocument2*>(this);
    else if (riid == __uuidof(ICustomDoc)) *ppv = static_cast<ICustomDoc*>(this);
    if (*ppv == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CTestDocument::Release()
{
    const ULONG ref = --m_ref;
    if (ref == 0) delete this;
    return ref;
}

STDMETHODIMP CTestDocument::get_title(BSTR* p)
{
    if (p == nullptr) return E_POINTER;
    *p = ::SysAllocString(m_title.c_str());
    return S_OK;
}

STDMETHODIMP CTestDocument::SetUIHandler(IDocHostUIHandler* pUIHandler)
{
    m_uiHandler = CUIComPtr<IDocHostUIHandler>(pUIHandler);
    return S_OK;
}

// ==== CTestClassRegistration ================================================================

CTestClassRegistration::CTestClassRegistration()
{
    Options() = TTestObjectOptions();
    Created().clear();
    ::CoRegisterClassObject(kTestObjectClsid, Factory(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

CTestClassRegistration::~CTestClassRegistration()
{
    ::CoRevokeClassObject(m_cookie);
    Created().clear();
}

TTestObjectOptions& CTestClassRegistration::Options()
{
    static TTestObjectOptions options;
    return options;
}

std::vector<CUIComPtr<CTestOleObject>>& CTestClassRegistration::Created()
{
    static std::vector<CUIComPtr<CTestOleObject>> created;
    return created;
}

IClassFactory* CTestClassRegistration::Factory()
{
    return &g_factory;
}

// ==== CTestHostWindow ========================================================================

CTestHostWindow::CTestHostWindow(int cx, int cy, bool visible)
{
    // Hidden unless painting is tested: under wine without a window manager
    // each visible top-level window takes seconds to go away.
    const DWORD dwStyle = WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
    Create(nullptr, L"ActiveX host", dwStyle, 0, 40, 40, cx, cy);
    ResizeClient(cx, cy);
    m_manager.Init(m_hWnd);
}

CTestHostWindow::~CTestHostWindow()
{
    Destroy();
}

void CTestHostWindow::Destroy()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CTestHostWindow::Attach(VarnelUI::CControlUI* pRoot)
{
    m_manager.AttachDialog(pRoot);
}

void CTestHostWindow::Paint()
{
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
}

LRESULT CTestHostWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    if (m_manager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void PumpMessages(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms != 0) ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

} // namespace VarnelTest

// Lets the module path of CActiveXUI be tested: the test exe is a module that
// serves kModuleOnlyClsid through its own class object entry.
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (!::IsEqualCLSID(rclsid, VarnelTest::kModuleOnlyClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return VarnelTest::CTestClassRegistration::Factory()->QueryInterface(riid, ppv);
}
