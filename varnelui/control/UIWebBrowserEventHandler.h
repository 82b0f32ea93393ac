#pragma once
// What a window hears from its web browser control: the browser's events and
// its questions about the user interface. Every operation has a harmless
// default, so a window overrides only what it cares about.

#include "varnelui/core/UIDefines.h"

#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtmhst.h>

namespace VarnelUI {

class VARNELUI_API CWebBrowserEventHandler
{
public:
    // ---- browser events: the event's own arguments, passed straight through ----

    // The pointers are the browser's own: setting *Cancel = VARIANT_TRUE stops
    // the navigation.
    virtual void BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT*& /*url*/, VARIANT*& /*Flags*/,
                                 VARIANT*& /*TargetFrameName*/, VARIANT*& /*PostData*/, VARIANT*& /*Headers*/,
                                 VARIANT_BOOL*& /*Cancel*/)
    {
    }
    virtual void NavigateError(IDispatch* /*pDisp*/, VARIANT*& /*url*/, VARIANT*& /*TargetFrameName*/,
                               VARIANT*& /*StatusCode*/, VARIANT_BOOL*& /*Cancel*/)
    {
    }
    // pstrControlName is the name of the browser control that loaded the page.
    virtual void NavigateComplete2(IDispatch* /*pDisp*/, VARIANT*& /*url*/, LPCWSTR /*pstrControlName*/) {}
    virtual void ProgressChange(LONG /*nProgress*/, LONG /*nProgressMax*/) {}
    virtual void NewWindow3(IDispatch** /*pDisp*/, VARIANT_BOOL*& /*Cancel*/, DWORD /*dwFlags*/,
                            BSTR /*bstrUrlContext*/, BSTR /*bstrUrl*/)
    {
    }
    virtual void CommandStateChange(long /*Command*/, VARIANT_BOOL /*Enable*/) {}

    // ---- IDocHostUIHandler and IDownloadManager, same parameters and results ----

    // S_OK: the browser shows no context menu of its own.
    virtual HRESULT ShowContextMenu(DWORD /*dwID*/, POINT* /*pptPosition*/, IUnknown* /*pCommandTarget*/,
                                    IDispatch* /*pDispatchObjectHit*/)
    {
        return S_OK;
    }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo)
    {
        if (pInfo != nullptr) pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
        return S_OK;
    }
    virtual HRESULT ShowUI(DWORD /*dwID*/, IOleInPlaceActiveObject* /*pActiveObject*/,
                           IOleCommandTarget* /*pCommandTarget*/, IOleInPlaceFrame* /*pFrame*/,
                           IOleInPlaceUIWindow* /*pDoc*/)
    {
        return S_FALSE;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL /*fEnable*/) { return S_OK; }
    virtual HRESULT OnDocWindowActivate(BOOL /*fActivate*/) { return S_OK; }
    virtual HRESULT OnFrameWindowActivate(BOOL /*fActivate*/) { return S_OK; }
    virtual HRESULT ResizeBorder(LPCRECT /*prcBorder*/, IOleInPlaceUIWindow* /*pUIWindow*/, BOOL /*fFrameWindow*/)
    {
        return S_OK;
    }
    virtual HRESULT TranslateAcceleratorW(LPMSG /*lpMsg*/, const GUID* /*pguidCmdGroup*/, DWORD /*nCmdID*/)
    {
        return S_FALSE;
    }
    // The answers below hand out nothing: out pointers are cleared and S_FALSE
    // says "nothing to add", so the browser never reads an unset pointer.
    virtual HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD /*dw*/)
    {
        if (pchKey != nullptr) *pchKey = nullptr;
        return S_FALSE;
    }
    virtual HRESULT GetDropTarget(IDropTarget* /*pDropTarget*/, IDropTarget** ppDropTarget)
    {
        if (ppDropTarget != nullptr) *ppDropTarget = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT GetExternal(IDispatch** ppDispatch)
    {
        if (ppDispatch != nullptr) *ppDispatch = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT TranslateUrl(DWORD /*dwTranslate*/, LPWSTR /*pchURLIn*/, LPWSTR* ppchURLOut)
    {
        if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
        return S_FALSE;
    }
    virtual HRESULT FilterDataObject(IDataObject* /*pDO*/, IDataObject** ppDORet)
    {
        if (ppDORet != nullptr) *ppDORet = nullptr;
        return S_FALSE;
    }
    virtual HRESULT Download(IMoniker* /*pmk*/, IBindCtx* /*pbc*/, DWORD /*dwBindVerb*/, LONG /*grfBINDF*/,
                             BINDINFO* /*pBindInfo*/, LPCOLESTR /*pszHeaders*/, LPCOLESTR /*pszRedir*/, UINT /*uiCP*/)
    {
        return S_OK;
    }

protected:
    // Windows implement this next to their own base; never deleted through it.
    ~CWebBrowserEventHandler() = default;
};

} // namespace VarnelUI
