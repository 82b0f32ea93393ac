// The web browser control: creation and navigation, the DWebBrowserEvents2
// sink, the document host UI answers, services and host commands.

#include "varnelui/control/UIWebBrowser.h"
#include "varnelui/core/UIAttrParse.h"

#include <exdispid.h>
#include <mshtml.h>
#include <mshtmdid.h>

#include <cwchar>
#include <initializer_list>

namespace VarnelUI {

namespace {

const CControlRegistration<CWebBrowserUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CWebBrowserUI> kWebBrowserAttributes[] = {
    {L"homepage", AttrSyntax::Text, [](CWebBrowserUI& c, LPCWSTR v) { c.SetHomePage(v); }},
    {L"autonavi", AttrSyntax::Bool, [](CWebBrowserUI& c, LPCWSTR v) { c.SetAutoNavigation(AttrParse::ParseBool(v)); }},
};

// {F38BC242-B950-11D1-8918-00C04FC2C836}
constexpr GUID kCGID_DocHostCommandHandler = {
    0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};

constexpr UINT kFirstKeyMessage = WM_KEYDOWN; // 0x100
constexpr UINT kLastKeyMessage = 0x0108;

// An event argument of the expected type; anything else is refused before a
// union member of the wrong kind is read.
bool HasArgs(const DISPPARAMS* pParams, std::initializer_list<VARTYPE> types)
{
    if (pParams == nullptr || pParams->rgvarg == nullptr || pParams->cArgs < types.size()) return false;
    // The last parameter comes first in rgvarg.
    UINT index = static_cast<UINT>(types.size());
    for (const VARTYPE vt : types) {
        if (pParams->rgvarg[--index].vt != vt) return false;
    }
    return true;
}

constexpr VARTYPE kVariantRef = VT_BYREF | VT_VARIANT;
constexpr VARTYPE kBoolRef = VT_BYREF | VT_BOOL;

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_dwRef(0),
      m_dwCookie(0),
      m_bAutoNavi(false),
      m_pWebBrowserEventHandler(nullptr),
      m_downloadManager(*this)
{
    m_clsid = kWebBrowserClsid;
}

CWebBrowserUI::~CWebBrowserUI()
{
    CWebBrowserUI::ReleaseControl();
}

LPCWSTR CWebBrowserUI::GetClass() const
{
    return kNames.className;
}

LPVOID CWebBrowserUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CWebBrowserUI*>(this);
    return CActiveXUI::GetInterface(pstrName);
}

void CWebBrowserUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!AttrParse::ApplyFromTable(kWebBrowserAttributes, *this, pstrName, pstrValue))
        CActiveXUI::SetAttribute(pstrName, pstrValue);
}

void CWebBrowserUI::SetHomePage(LPCWSTR lpszUrl)
{
    m_sHomePage = lpszUrl != nullptr ? lpszUrl : L"";
}

LPCWSTR CWebBrowserUI::GetHomePage() const
{
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

bool CWebBrowserUI::IsAutoNavigation() const
{
    return m_bAutoNavi;
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler)
{
    if (pEventHandler != nullptr && pEventHandler != m_pWebBrowserEventHandler)
        m_pWebBrowserEventHandler = pEventHandler;
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const
{
    return m_pWebBrowser2.Get();
}

// ---- creation -----------------------------------------------------------------------

bool CWebBrowserUI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    if (m_pManager != nullptr) m_pManager->AddTranslateAccelerator(this);
    GetControl(__uuidof(IWebBrowser2), m_pWebBrowser2.ReleaseAndGetVoidAddress());
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) {
        Navigate2(L"about:blank");
        Navigate2(m_sHomePage);
    }
    RegisterEventHandler(SinkAction::Connect);
    return true;
}

void CWebBrowserUI::ReleaseControl()
{
    m_bCreated = false;
    if (m_pManager != nullptr) m_pManager->RemoveTranslateAccelerator(this);
    RegisterEventHandler(SinkAction::Disconnect);
    // A new creation makes a new object: the old one is closed and let go
    // now rather than left running behind a dead site.
    m_pWebBrowser2.Reset();
    CActiveXUI::ReleaseControl();
}

HRESULT CWebBrowserUI::RegisterEventHandler(SinkAction action)
{
    if (!m_pWebBrowser2) return E_PENDING;
    if (action == SinkAction::Disconnect && m_dwCookie == 0) return S_FALSE;

    CUIComPtr<IConnectionPointContainer> pContainer;
    HRESULT hr = pContainer.QueryFrom(m_pWebBrowser2.Get());
    if (FAILED(hr)) return hr;
    CUIComPtr<IConnectionPoint> pPoint;
    hr = pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, pPoint.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    if (!pPoint) return E_POINTER;

    if (action == SinkAction::Connect) return pPoint->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    hr = pPoint->Unadvise(m_dwCookie);
    m_dwCookie = 0;
    return hr;
}

// ---- navigation -----------------------------------------------------------------------

void CWebBrowserUI::Navigate2(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr || *lpszUrl == L'\0' || !m_pWebBrowser2) return;
    CUIVariant url;
    url.SetString(lpszUrl);
    CUIVariant flags, target, postData, headers;
    m_pWebBrowser2->Navigate2(url.Get(), flags.Get(), target.Get(), postData.Get(), headers.Get());
}

void CWebBrowserUI::NavigateUrl(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr || *lpszUrl == L'\0' || !m_pWebBrowser2) return;
    const CUIBstr url(lpszUrl);
    CUIVariant flags, target, postData, headers;
    m_pWebBrowser2->Navigate(url.Get(), flags.Get(), target.Get(), postData.Get(), headers.Get());
}

void CWebBrowserUI::NavigateHomePage()
{
    if (!m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage);
}

void CWebBrowserUI::Refresh()
{
    if (m_pWebBrowser2) m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int Level)
{
    if (!m_pWebBrowser2) return;
    CUIVariant level;
    level.SetInt(Level);
    m_pWebBrowser2->Refresh2(level.Get());
}

void CWebBrowserUI::GoBack()
{
    if (m_pWebBrowser2) m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward()
{
    if (m_pWebBrowser2) m_pWebBrowser2->GoForward();
}

CUIComPtr<IDispatch> CWebBrowserUI::GetHtmlWindow()
{
    CUIComPtr<IDispatch> pWindowDispatch;
    if (!m_pWebBrowser2) return pWindowDispatch;

    CUIComPtr<IDispatch> pDocument;
    m_pWebBrowser2->get_Document(pDocument.ReleaseAndGetAddressOf());
    const auto pDocument2 = ComQuery<IHTMLDocument2>(pDocument.Get());
    if (!pDocument2) return pWindowDispatch;

    CUIComPtr<IHTMLWindow2> pWindow;
    pDocument2->get_parentWindow(pWindow.ReleaseAndGetAddressOf());
    pWindowDispatch.QueryFrom(pWindow.Get());
    return pWindowDispatch;
}

// ---- scripting helpers ----------------------------------------------------------------

DISPID CWebBrowserUI::FindId(IDispatch* pObj, LPOLESTR pName)
{
    DISPID id = -1;
    if (pObj == nullptr) return id;
    if (FAILED(pObj->GetIDsOfNames(IID_NULL, &pName, 1, LOCALE_SYSTEM_DEFAULT, &id))) id = -1;
    return id;
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    const DISPID id = FindId(pObj, pName);
    if (id == -1) return E_FAIL;
    DISPPARAMS params = {};
    return pObj->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &params, pValue, nullptr, nullptr);
}

HRESULT CWebBrowserUI::SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    const DISPID id = FindId(pObj, pName);
    if (id == -1) return E_FAIL;
    // A property put names its one argument DISPID_PROPERTYPUT.
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {pValue, &putId, 1, 1};
    return pObj->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* pObj, LPOLESTR pMethodName, VARIANT* pVarResult, VARIANT* ps, int cArgs)
{
    const DISPID id = FindId(pObj, pMethodName);
    if (id == -1) return E_FAIL;
    DISPPARAMS params = {ps, nullptr, static_cast<UINT>(cArgs > 0 ? cArgs : 0), 0};
    return pObj->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, pVarResult, nullptr, nullptr);
}

// ---- IUnknown -------------------------------------------------------------------------

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    // The control belongs to its tree; the count only tracks the browser's
    // references and never deletes anything.
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == __uuidof(IDocHostUIHandler)) *ppvObject = static_cast<IDocHostUIHandler*>(this);
    else if (riid == IID_IDispatch) *ppvObject = static_cast<IDispatch*>(this);
    else if (riid == IID_IServiceProvider) *ppvObject = static_cast<IServiceProvider*>(this);
    else if (riid == IID_IOleCommandTarget) *ppvObject = static_cast<IOleCommandTarget*>(this);
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// ---- IDispatch --------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* iTInfo)
{
    if (iTInfo != nullptr) *iTInfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*rgszNames*/, UINT /*cNames*/, LCID /*lcid*/,
                                          DISPID* /*rgDispId*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID /*lcid*/, WORD /*wFlags*/,
                                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* /*pExcepInfo*/,
                                   UINT* /*puArgErr*/)
{
    if (!::IsEqualIID(riid, IID_NULL)) return E_INVALIDARG;
    CWebBrowserEventHandler* const pHandler = m_pWebBrowserEventHandler;
    VARIANTARG* const args = pDispParams != nullptr ? pDispParams->rgvarg : nullptr;

    switch (dispIdMember) {
    case DISPID_BEFORENAVIGATE2:
        if (!HasArgs(pDispParams,
                     {VT_DISPATCH, kVariantRef, kVariantRef, kVariantRef, kVariantRef, kVariantRef, kBoolRef}))
            return DISP_E_TYPEMISMATCH;
        if (pHandler != nullptr) {
            pHandler->BeforeNavigate2(args[6].pdispVal, args[5].pvarVal, args[4].pvarVal, args[3].pvarVal,
                                      args[2].pvarVal, args[1].pvarVal, args[0].pboolVal);
        }
        break;
    case DISPID_NAVIGATECOMPLETE2:
        if (!HasArgs(pDispParams, {VT_DISPATCH, kVariantRef})) return DISP_E_TYPEMISMATCH;
        OnNavigateComplete2(args[1].pdispVal, args[0].pvarVal);
        break;
    case DISPID_DOCUMENTCOMPLETE: OnDocumentComplete(); break;
    case DISPID_NAVIGATEERROR:
        if (!HasArgs(pDispParams, {VT_DISPATCH, kVariantRef, kVariantRef, kVariantRef, kBoolRef}))
            return DISP_E_TYPEMISMATCH;
        if (pHandler != nullptr) {
            pHandler->NavigateError(args[4].pdispVal, args[3].pvarVal, args[2].pvarVal, args[1].pvarVal,
                                    args[0].pboolVal);
        }
        break;
    case DISPID_NEWWINDOW3:
        if (!HasArgs(pDispParams, {VT_BYREF | VT_DISPATCH, kBoolRef, VT_I4, VT_BSTR, VT_BSTR}))
            return DISP_E_TYPEMISMATCH;
        if (pHandler != nullptr) {
            pHandler->NewWindow3(args[4].ppdispVal, args[3].pboolVal, static_cast<DWORD>(args[2].lVal), args[1].bstrVal,
                                 args[0].bstrVal);
        }
        break;
    case DISPID_COMMANDSTATECHANGE:
        if (!HasArgs(pDispParams, {VT_I4, VT_BOOL})) return DISP_E_TYPEMISMATCH;
        if (pHandler != nullptr) pHandler->CommandStateChange(args[1].lVal, args[0].boolVal);
        break;
    case DISPID_STATUSTEXTCHANGE: break;
    case DISPID_AMBIENT_DLCONTROL:
        // Images and videos, nothing that runs.
        if (pVarResult != nullptr) {
            ::VariantClear(pVarResult);
            pVarResult->vt = VT_I4;
            pVarResult->lVal = DLCTL_DLIMAGES | DLCTL_VIDEOS;
        }
        break;
    default: return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}

void CWebBrowserUI::OnNavigateComplete2(IDispatch* pDisp, VARIANT*& url)
{
    if (m_pWebBrowser2) {
        // Every newly loaded document asks this control about its UI.
        CUIComPtr<IDispatch> pDocument;
        m_pWebBrowser2->get_Document(pDocument.ReleaseAndGetAddressOf());
        if (const auto pCustomDoc = ComQuery<ICustomDoc>(pDocument.Get()))
            pCustomDoc->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
    }
    if (m_pWebBrowserEventHandler != nullptr) {
        const CUIString sName = GetName();
        m_pWebBrowserEventHandler->NavigateComplete2(pDisp, url, sName);
    }
}

void CWebBrowserUI::OnDocumentComplete()
{
    // Whatever the page's own style says, it shows no scroll bars and no border.
    if (!m_pWebBrowser2) return;
    CUIComPtr<IDispatch> pDocument;
    m_pWebBrowser2->get_Document(pDocument.ReleaseAndGetAddressOf());
    ApplyBodyStyle(pDocument.Get(), TBodyStyle{L"no", L"hidden", L"none", L"none"});
}

void ApplyBodyStyle(IDispatch* pDocument, const TBodyStyle& style)
{
    const auto pDocument2 = ComQuery<IHTMLDocument2>(pDocument);
    if (!pDocument2) return;
    CUIComPtr<IHTMLElement> pBody;
    pDocument2->get_body(pBody.ReleaseAndGetAddressOf());
    if (!pBody) return;

    if (style.scroll != nullptr) {
        if (const auto pBodyElement = ComQuery<IHTMLBodyElement>(pBody.Get()))
            pBodyElement->put_scroll(CUIBstr(style.scroll).Get());
    }
    CUIComPtr<IHTMLStyle> pStyle;
    pBody->get_style(pStyle.ReleaseAndGetAddressOf());
    if (!pStyle) return;
    if (style.overflow != nullptr) pStyle->put_overflow(CUIBstr(style.overflow).Get());
    if (style.border != nullptr) pStyle->put_border(CUIBstr(style.border).Get());
    if (style.borderStyle != nullptr) pStyle->put_borderStyle(CUIBstr(style.borderStyle).Get());
}

// ---- IDocHostUIHandler ------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                            IDispatch* pDispatchObjectHit)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == nullptr) return E_INVALIDARG;
    pInfo->cbSize = sizeof(DOCHOSTUIINFO);
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                   IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                   IOleInPlaceUIWindow* pDoc)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->HideUI();
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->UpdateUI();
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->EnableModeless(fEnable);
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->OnDocWindowActivate(fActivate);
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == nullptr) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->OnFrameWindowActivate(fActivate);
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow)
{
    if (m_pWebBrowserEventHandler == nullptr) return E_NOTIMPL;
    return m_pWebBrowserEventHandler->ResizeBorder(prcBorder, pUIWindow, fFrameWindow);
}

STDMETHODIMP CWebBrowserUI::TranslateAcceleratorW(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_FALSE;
    return m_pWebBrowserEventHandler->TranslateAcceleratorW(lpMsg, pguidCmdGroup, nCmdID);
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved)
{
    if (m_pWebBrowserEventHandler != nullptr) return m_pWebBrowserEventHandler->GetOptionKeyPath(pchKey, dwReserved);
    if (pchKey != nullptr) *pchKey = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->GetDropTarget(pDropTarget, ppDropTarget);
    if (ppDropTarget != nullptr) *ppDropTarget = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    if (m_pWebBrowserEventHandler != nullptr) return m_pWebBrowserEventHandler->GetExternal(ppDispatch);
    if (ppDispatch != nullptr) *ppDispatch = nullptr;
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut)
{
    if (m_pWebBrowserEventHandler != nullptr)
        return m_pWebBrowserEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    if (m_pWebBrowserEventHandler != nullptr) return m_pWebBrowserEventHandler->FilterDataObject(pDO, ppDORet);
    if (ppDORet != nullptr) *ppDORet = nullptr;
    return E_NOTIMPL;
}

// ---- IServiceProvider and the download manager ----------------------------------------

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (::IsEqualGUID(guidService, __uuidof(IDownloadManager)) && ::IsEqualIID(riid, __uuidof(IDownloadManager))) {
        *ppvObject = static_cast<IDownloadManager*>(&m_downloadManager);
        m_downloadManager.AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                                LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    return m_pWebBrowserEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

STDMETHODIMP_(ULONG) CWebBrowserUI::CDownloadManager::AddRef()
{
    return m_owner.AddRef();
}

STDMETHODIMP_(ULONG) CWebBrowserUI::CDownloadManager::Release()
{
    return m_owner.Release();
}

STDMETHODIMP CWebBrowserUI::CDownloadManager::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != __uuidof(IDownloadManager)) return E_NOINTERFACE;
    *ppvObject = static_cast<IDownloadManager*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::CDownloadManager::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                                       BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
                                                       UINT uiCP)
{
    return m_owner.Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

// ---- IOleCommandTarget --------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID* /*pguidCmdGroup*/, ULONG /*cCmds*/, OLECMD* /*prgCmds*/,
                                        OLECMDTEXT* /*pCmdText*/)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD /*nCmdexecopt*/, VARIANT* pvaIn,
                                 VARIANT* pvaOut)
{
    return ExecDocHostCommand(pguidCmdGroup, nCmdID, pvaIn, pvaOut);
}

HRESULT ExecDocHostCommand(const GUID* pguidCmdGroup, DWORD nCmdID, VARIANT* /*pvaIn*/, VARIANT* pvaOut)
{
    if (pguidCmdGroup == nullptr || !::IsEqualGUID(*pguidCmdGroup, kCGID_DocHostCommandHandler))
        return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    // The error's details (in the document's event object) are of no use to
    // the launcher: the answer is always "no dialog, keep running scripts".
    if (pvaOut != nullptr) {
        ::VariantClear(pvaOut);
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

// ---- keyboard routing -------------------------------------------------------------------

LRESULT CWebBrowserUI::TranslateAcceleratorW(MSG* pMsg)
{
    if (pMsg == nullptr || pMsg->message < kFirstKeyMessage || pMsg->message > kLastKeyMessage) return S_FALSE;
    if (!m_pWebBrowser2) return E_NOTIMPL;

    // Only while the keyboard focus is inside the browser's window.
    const HWND hWndHost = GetHostWindow();
    HWND hWnd = ::GetFocus();
    while (hWnd != nullptr && hWnd != hWndHost) hWnd = ::GetParent(hWnd);
    if (hWnd == nullptr || hWndHost == nullptr) return S_FALSE;

    const auto pActiveObject = ComQuery<IOleInPlaceActiveObject>(m_pWebBrowser2.Get());
    if (!pActiveObject) return S_FALSE;
    return pActiveObject->TranslateAcceleratorW(pMsg);
}

} // namespace VarnelUI
