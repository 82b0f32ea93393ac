// The second browser control, its event sink and the UI handler the sink
// gives every loaded document.

#include "varnelui/control/UIWebBrowser2.h"
#include "varnelui/control/UIWebBrowser.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIManager.h"

#include <exdispid.h>

#include <cwchar>
#include <new>
#include <vector>

namespace VarnelUI {

namespace {

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CWebBrowser2UI> kWebBrowser2Attributes[] = {
    {L"url", AttrSyntax::Text, [](CWebBrowser2UI& c, LPCWSTR v) { c.SetUrl(v); }},
    {L"autonavi", AttrSyntax::Bool, [](CWebBrowser2UI& c, LPCWSTR v) { c.SetAutoNavigation(ParseBool(v)); }},
    {L"autosink", AttrSyntax::Bool, [](CWebBrowser2UI& c, LPCWSTR v) { c.SetAutoSink(ParseBool(v)); }},
    {L"boder", AttrSyntax::Bool, [](CWebBrowser2UI& c, LPCWSTR v) { c.SetBorder(ParseBool(v)); }},
    {L"scrollbar", AttrSyntax::Bool, [](CWebBrowser2UI& c, LPCWSTR v) { c.SetScrollBar(ParseBool(v)); }},
    // The class is always the platform browser's, loaded the usual way.
    {L"clsid", AttrSyntax::Text, [](CWebBrowser2UI&, LPCWSTR) {}},
    {L"modulename", AttrSyntax::Text, [](CWebBrowser2UI&, LPCWSTR) {}},
};

// The page address in the process code page, for the notification.
std::vector<char> NarrowText(LPCWSTR psz)
{
    const int cb = ::WideCharToMultiByte(CP_ACP, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> text(cb > 0 ? cb : 1, '\0');
    if (cb > 0) ::WideCharToMultiByte(CP_ACP, 0, psz, -1, text.data(), cb, nullptr, nullptr);
    return text;
}

// The document of the browser (top page or frame) an event names.
CUIComPtr<IDispatch> DocumentOf(IDispatch* pDisp)
{
    CUIComPtr<IDispatch> pDocument;
    if (const auto pBrowser = ComQuery<IWebBrowser2>(pDisp)) pBrowser->get_Document(pDocument.ReleaseAndGetAddressOf());
    return pDocument;
}

} // namespace

// ==== CWebBrowser2UI =======================================================================

CWebBrowser2UI::CWebBrowser2UI()
    : m_bAutoNavi(true),
      m_bAutoSink(true),
      m_bBorder(false),
      m_bScrollBar(false),
      m_pSinker(nullptr)
{
    m_clsid = kWebBrowserClsid;
}

CWebBrowser2UI::~CWebBrowser2UI()
{
    CWebBrowser2UI::ReleaseControl();
}

LPCWSTR CWebBrowser2UI::GetClass() const
{
    return L"WebBrowser2UI";
}

LPVOID CWebBrowser2UI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"WebBrowser2") == 0) return static_cast<CWebBrowser2UI*>(this);
    return CActiveXUI::GetInterface(pstrName);
}

void CWebBrowser2UI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!AttrParse::ApplyFromTable(kWebBrowser2Attributes, *this, pstrName, pstrValue))
        CActiveXUI::SetAttribute(pstrName, pstrValue);
}

void CWebBrowser2UI::SetUrl(LPCWSTR pstrUrl)
{
    m_sUrl = pstrUrl;
}

const CUIString& CWebBrowser2UI::GetUrl() const
{
    return m_sUrl;
}

void CWebBrowser2UI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

void CWebBrowser2UI::SetAutoSink(bool bAutoSink)
{
    m_bAutoSink = bAutoSink;
}

void CWebBrowser2UI::SetBorder(bool bBorder)
{
    m_bBorder = bBorder;
}

void CWebBrowser2UI::SetScrollBar(bool bScrollBar)
{
    m_bScrollBar = bScrollBar;
}

IWebBrowser2* CWebBrowser2UI::GetWebBrowser2() const
{
    return m_pWebBrowser2.Get();
}

bool CWebBrowser2UI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    GetControl(__uuidof(IWebBrowser2), m_pWebBrowser2.ReleaseAndGetVoidAddress());
    if (!m_pWebBrowser2) return true;

    if (m_bAutoSink) {
        m_pSinker = new (std::nothrow) WebBrowserEventSinker(this, m_bBorder, m_bScrollBar);
        if (m_pSinker != nullptr) m_pSinker->Advise(m_pWebBrowser2.Get());
    }
    if (m_bAutoNavi) {
        if (m_pSinker != nullptr) Navigate2(L"about:blank");
        Navigate2(m_sUrl);
    }
    return true;
}

void CWebBrowser2UI::ReleaseControl()
{
    if (m_pSinker != nullptr) {
        m_pSinker->Unadvise();
        m_pSinker->Detach();
        m_pSinker->Release();
        m_pSinker = nullptr;
    }
    m_pWebBrowser2.Reset();
    CActiveXUI::ReleaseControl();
}

void CWebBrowser2UI::Navigate2(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr) lpszUrl = m_sUrl;
    if (*lpszUrl == L'\0' || !m_pWebBrowser2) return;
    CUIVariant url;
    url.SetString(lpszUrl);
    CUIVariant flags, target, postData, headers;
    m_pWebBrowser2->Navigate2(url.Get(), flags.Get(), target.Get(), postData.Get(), headers.Get());
}

// ==== WebBrowserEventSinker ===================================================================

WebBrowserEventSinker::WebBrowserEventSinker(CWebBrowser2UI* pOwner, bool bBorder, bool bScrollBar)
    : m_dwRef(1),
      m_pOwner(pOwner),
      m_bBorder(bBorder),
      m_bScrollBar(bScrollBar),
      m_bNavigateError(false),
      m_dwCookie(0)
{
}

HRESULT WebBrowserEventSinker::Advise(IWebBrowser2* pWebBrowser)
{
    CUIComPtr<IConnectionPointContainer> pContainer;
    HRESULT hr = pContainer.QueryFrom(pWebBrowser);
    if (FAILED(hr)) return hr;
    hr = pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, m_pConnectionPoint.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    if (!m_pConnectionPoint) return E_POINTER;
    hr = m_pConnectionPoint->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    if (FAILED(hr)) m_pConnectionPoint.Reset();
    return hr;
}

void WebBrowserEventSinker::Unadvise()
{
    if (m_pConnectionPoint) m_pConnectionPoint->Unadvise(m_dwCookie);
    m_pConnectionPoint.Reset();
    m_dwCookie = 0;
}

void WebBrowserEventSinker::Detach()
{
    m_pOwner = nullptr;
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::AddRef()
{
    return ++m_dwRef;
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::Release()
{
    const ULONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return lRef;
}

STDMETHODIMP WebBrowserEventSinker::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != DIID_DWebBrowserEvents2) return E_NOINTERFACE;
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP WebBrowserEventSinker::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != nullptr) *pctinfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*rgszNames*/, UINT /*cNames*/,
                                                  LCID /*lcid*/, DISPID* /*rgDispId*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::Invoke(DISPID dispIdMember, REFIID /*riid*/, LCID /*lcid*/, WORD /*wFlags*/,
                                           DISPPARAMS* pDispParams, VARIANT* /*pVarResult*/, EXCEPINFO* /*pExcepInfo*/,
                                           UINT* /*puArgErr*/)
{
    const UINT cArgs = pDispParams != nullptr && pDispParams->rgvarg != nullptr ? pDispParams->cArgs : 0;
    // The dispatch argument (the page's browser) comes last, so first in rgvarg.
    const auto dispatchArg = [&](UINT index) -> IDispatch* {
        if (index >= cArgs || pDispParams->rgvarg[index].vt != VT_DISPATCH) return nullptr;
        return pDispParams->rgvarg[index].pdispVal;
    };
    switch (dispIdMember) {
    case DISPID_NAVIGATECOMPLETE2:
        if (IDispatch* pDisp = dispatchArg(1)) OnNavigateComplete2(pDisp);
        return S_OK;
    case DISPID_DOCUMENTCOMPLETE:
        if (IDispatch* pDisp = dispatchArg(1)) {
            const VARIANT& url = pDispParams->rgvarg[0];
            OnDocumentComplete(pDisp, url.vt == (VT_BYREF | VT_VARIANT) ? url.pvarVal : nullptr);
        }
        return S_OK;
    case DISPID_NAVIGATEERROR: m_bNavigateError = true; return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

void WebBrowserEventSinker::OnNavigateComplete2(IDispatch* pDisp)
{
    const auto pCustomDoc = ComQuery<ICustomDoc>(DocumentOf(pDisp).Get());
    if (!pCustomDoc) return;
    auto* pHandler = new (std::nothrow) CDocHostUIHandler(m_bBorder, m_bScrollBar);
    if (pHandler == nullptr) return;
    pCustomDoc->SetUIHandler(pHandler);
    pHandler->Release();
}

void WebBrowserEventSinker::OnDocumentComplete(IDispatch* pDisp, const VARIANT* pUrl)
{
    TBodyStyle style = {};
    if (!m_bBorder) style.border = L"none";
    if (!m_bScrollBar) {
        style.scroll = L"none";
        style.overflow = L"hidden";
    }
    ApplyBodyStyle(DocumentOf(pDisp).Get(), style);

    if (pUrl == nullptr) return;
    const bool bNavigateError = m_bNavigateError;
    m_bNavigateError = false;
    const LPCWSTR pstrUrl = pUrl->vt == VT_BSTR && pUrl->bstrVal != nullptr ? pUrl->bstrVal : L"";
    if (std::wcscmp(pstrUrl, L"about:blank") == 0) return;
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return;

    std::vector<char> text = NarrowText(pstrUrl);
    m_pOwner->GetManager()->SendNotify(m_pOwner, L"HTML_COMPLETE", reinterpret_cast<WPARAM>(text.data()),
                                       bNavigateError ? 1 : 0, false);
}

// ==== CDocHostUIHandler ========================================================================

CDocHostUIHandler::CDocHostUIHandler(bool bBorder, bool bScrollBar)
    : m_dwRef(1),
      m_bBorder(bBorder),
      m_bScrollBar(bScrollBar)
{
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::AddRef()
{
    return ++m_dwRef;
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::Release()
{
    const ULONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return lRef;
}

STDMETHODIMP CDocHostUIHandler::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == __uuidof(IDocHostUIHandler)) *ppvObject = static_cast<IDocHostUIHandler*>(this);
    else if (riid == IID_IOleCommandTarget) *ppvObject = static_cast<IOleCommandTarget*>(this);
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == nullptr) return E_INVALIDARG;
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DOUTERBORDER;
    if (!m_bBorder) pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
    if (!m_bScrollBar) pInfo->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
    return S_OK;
}

STDMETHODIMP CDocHostUIHandler::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                                IDispatch* pDispatchObjectHit)
{
    return m_defaults.ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
}

STDMETHODIMP CDocHostUIHandler::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                       IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                       IOleInPlaceUIWindow* pDoc)
{
    return m_defaults.ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
}

STDMETHODIMP CDocHostUIHandler::HideUI()
{
    return m_defaults.HideUI();
}

STDMETHODIMP CDocHostUIHandler::UpdateUI()
{
    return m_defaults.UpdateUI();
}

STDMETHODIMP CDocHostUIHandler::EnableModeless(BOOL fEnable)
{
    return m_defaults.EnableModeless(fEnable);
}

STDMETHODIMP CDocHostUIHandler::OnDocWindowActivate(BOOL fActivate)
{
    return m_defaults.OnDocWindowActivate(fActivate);
}

STDMETHODIMP CDocHostUIHandler::OnFrameWindowActivate(BOOL fActivate)
{
    return m_defaults.OnFrameWindowActivate(fActivate);
}

STDMETHODIMP CDocHostUIHandler::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow)
{
    return m_defaults.ResizeBorder(prcBorder, pUIWindow, fFrameWindow);
}

STDMETHODIMP CDocHostUIHandler::TranslateAcceleratorW(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    return m_defaults.TranslateAcceleratorW(lpMsg, pguidCmdGroup, nCmdID);
}

STDMETHODIMP CDocHostUIHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved)
{
    return m_defaults.GetOptionKeyPath(pchKey, dwReserved);
}

STDMETHODIMP CDocHostUIHandler::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    return m_defaults.GetDropTarget(pDropTarget, ppDropTarget);
}

STDMETHODIMP CDocHostUIHandler::GetExternal(IDispatch** ppDispatch)
{
    return m_defaults.GetExternal(ppDispatch);
}

STDMETHODIMP CDocHostUIHandler::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut)
{
    return m_defaults.TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
}

STDMETHODIMP CDocHostUIHandler::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    return m_defaults.FilterDataObject(pDO, ppDORet);
}

STDMETHODIMP CDocHostUIHandler::QueryStatus(const GUID* /*pguidCmdGroup*/, ULONG /*cCmds*/, OLECMD* /*prgCmds*/,
                                            OLECMDTEXT* /*pCmdText*/)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CDocHostUIHandler::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD /*nCmdexecopt*/, VARIANT* pvaIn,
                                     VARIANT* pvaOut)
{
    return ExecDocHostCommand(pguidCmdGroup, nCmdID, pvaIn, pvaOut);
}

} // namespace VarnelUI
