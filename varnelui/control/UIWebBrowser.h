#pragma once
// The web browser control: an ActiveX host preset to the platform's browser
// object, and the browser's partner on the container side. It receives the
// browser's events, answers its user-interface questions and host commands,
// and routes keyboard accelerators into it; events and most questions go on
// to one CWebBrowserEventHandler that the owning window supplies.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/control/UIActiveX.h"
#include "varnelui/control/UIWebBrowserEventHandler.h"

#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>

namespace VarnelUI {

// {8856F961-340A-11D0-A96B-00C04FD705A2}
constexpr CLSID kWebBrowserClsid = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

class VARNELUI_API CWebBrowserUI : public CActiveXUI,
                                   public IDocHostUIHandler,
                                   public IServiceProvider,
                                   public IOleCommandTarget,
                                   public IDispatch,
                                   public ITranslateAccelerator
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"WebBrowser", L"WebBrowserUI", L"WebBrowser"};

    CWebBrowserUI();
    ~CWebBrowserUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    bool DoCreateControl() override;
    void ReleaseControl() override;
    // The download manager's work: the handler's Download, or S_OK without one.
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                             LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP);

    void SetHomePage(LPCWSTR lpszUrl);
    LPCWSTR GetHomePage() const;
    void SetAutoNavigation(bool bAuto = true);
    bool IsAutoNavigation() const;
    // A null handler, or the one already set, changes nothing.
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler);

    void Navigate2(LPCWSTR lpszUrl);
    void NavigateUrl(LPCWSTR lpszUrl);
    void NavigateHomePage();
    void Refresh();
    void Refresh2(int Level);
    void GoBack();
    void GoForward();

    // The browser, not referenced for the caller; null until created.
    IWebBrowser2* GetWebBrowser2() const;
    // The current document's window, or null.
    CUIComPtr<IDispatch> GetHtmlWindow();

    // Scripting helpers on any IDispatch.
    static DISPID FindId(IDispatch* pObj, LPOLESTR pName);
    static HRESULT GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);
    static HRESULT SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);
    static HRESULT InvokeMethod(IDispatch* pObj, LPOLESTR pMethodName, VARIANT* pVarResult, VARIANT* ps, int cArgs);

    // ---- IUnknown -----------------------------------------------------------------
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    // ---- IDispatch: the DWebBrowserEvents2 sink ---------------------------------
    STDMETHOD(GetTypeInfoCount)(UINT* iTInfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                      VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // ---- IDocHostUIHandler ------------------------------------------------------
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

    // ---- IServiceProvider ---------------------------------------------------------
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override;

    // ---- IOleCommandTarget --------------------------------------------------------
    STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                    VARIANT* pvaOut) override;

    // ---- ITranslateAccelerator: keys for the browser while it has the focus ----
    LRESULT TranslateAcceleratorW(MSG* pMsg) override;

protected:
    enum class SinkAction { Connect, Disconnect };
    // Connects or disconnects the DWebBrowserEvents2 sink.
    HRESULT RegisterEventHandler(SinkAction action);

    void OnNavigateComplete2(IDispatch* pDisp, VARIANT*& url);
    void OnDocumentComplete();

    // The download manager handed out through QueryService; it lives inside
    // the control and forwards to Download.
    class CDownloadManager : public IDownloadManager
    {
    public:
        explicit CDownloadManager(CWebBrowserUI& owner) : m_owner(owner) {}
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
        STDMETHOD(Download)(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                            LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP) override;

    private:
        CWebBrowserUI& m_owner;
    };

    CUIComPtr<IWebBrowser2> m_pWebBrowser2;
    LONG m_dwRef;
    DWORD m_dwCookie;
    CUIString m_sHomePage;
    bool m_bAutoNavi;
    CWebBrowserEventHandler* m_pWebBrowserEventHandler;
    CDownloadManager m_downloadManager;
};

// How a loaded document's body is restyled; a null value leaves that
// property as the page set it.
struct TBodyStyle
{
    LPCWSTR scroll;      // the body's scroll attribute
    LPCWSTR overflow;    // style overflow
    LPCWSTR border;      // style border
    LPCWSTR borderStyle; // style border style
};

// Applies the style to the body of a document (any IDispatch that is an HTML
// document); documents without a body are left alone.
VARNELUI_API void ApplyBodyStyle(IDispatch* pDocument, const TBodyStyle& style);

// Answers the browser's host command for script errors the way the launcher
// wants: no dialog, and the page's scripts keep running. Shared by every
// UI handler the framework installs.
VARNELUI_API HRESULT ExecDocHostCommand(const GUID* pguidCmdGroup, DWORD nCmdID, VARIANT* pvaIn, VARIANT* pvaOut);

} // namespace VarnelUI
