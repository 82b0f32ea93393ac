#pragma once
// A simpler browser control that needs no window-side handler: its own event
// sink restyles loaded pages and reports each finished page to the window as
// the notification "HTML_COMPLETE". No skin element creates it.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/control/UIActiveX.h"
#include "varnelui/control/UIWebBrowserEventHandler.h"

#include <docobj.h>
#include <exdisp.h>
#include <mshtmhst.h>

namespace VarnelUI {

class WebBrowserEventSinker;

class VARNELUI_API CWebBrowser2UI : public CActiveXUI
{
public:
    CWebBrowser2UI();
    ~CWebBrowser2UI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    bool DoCreateControl() override;
    void ReleaseControl() override;

    // Without a URL the "url" attribute's address; an empty address does nothing.
    void Navigate2(LPCWSTR lpszUrl = nullptr);
    IWebBrowser2* GetWebBrowser2() const;

    void SetUrl(LPCWSTR pstrUrl);
    const CUIString& GetUrl() const;
    void SetAutoNavigation(bool bAuto);
    void SetAutoSink(bool bAutoSink);
    void SetBorder(bool bBorder);
    void SetScrollBar(bool bScrollBar);

protected:
    CUIString m_sUrl;
    bool m_bAutoNavi;
    bool m_bAutoSink;
    bool m_bBorder;
    bool m_bScrollBar;
    CUIComPtr<IWebBrowser2> m_pWebBrowser2;
    WebBrowserEventSinker* m_pSinker;
};

// Connected to the browser's DWebBrowserEvents2 by CWebBrowser2UI. It may be
// held by the browser after the control is gone; the control detaches it first.
class VARNELUI_API WebBrowserEventSinker : public IDispatch
{
public:
    WebBrowserEventSinker(CWebBrowser2UI* pOwner, bool bBorder, bool bScrollBar);
    WebBrowserEventSinker(const WebBrowserEventSinker&) = delete;
    WebBrowserEventSinker& operator=(const WebBrowserEventSinker&) = delete;

    HRESULT Advise(IWebBrowser2* pWebBrowser);
    void Unadvise();
    void Detach();

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                      VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

protected:
    virtual ~WebBrowserEventSinker() = default;

    void OnNavigateComplete2(IDispatch* pDisp);
    void OnDocumentComplete(IDispatch* pDisp, const VARIANT* pUrl);

    ULONG m_dwRef;
    CWebBrowser2UI* m_pOwner;
    bool m_bBorder;
    bool m_bScrollBar;
    bool m_bNavigateError;
    CUIComPtr<IConnectionPoint> m_pConnectionPoint;
    DWORD m_dwCookie;
};

// The UI handler the sink installs in every loaded document.
class VARNELUI_API CDocHostUIHandler : public IDocHostUIHandler, public IOleCommandTarget
{
public:
    CDocHostUIHandler(bool bBorder, bool bScrollBar);
    CDocHostUIHandler(const CDocHostUIHandler&) = delete;
    CDocHostUIHandler& operator=(const CDocHostUIHandler&) = delete;

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                               IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                      IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHOD(TranslateAcceleratorW)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dwReserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

    STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                    VARIANT* pvaOut) override;

protected:
    virtual ~CDocHostUIHandler() = default;

    // The questions nobody here cares about get the handler interface's
    // default answers.
    struct TDefaultAnswers : CWebBrowserEventHandler
    {};

    ULONG m_dwRef;
    bool m_bBorder;
    bool m_bScrollBar;
    TDefaultAnswers m_defaults;
};

} // namespace VarnelUI
