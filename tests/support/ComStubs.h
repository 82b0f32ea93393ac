#pragma once
// Every method of a few OLE, browser and HTML interfaces answering E_NOTIMPL,
// so test doubles override only what a test needs. IUnknown stays abstract.

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>
#include <oleidl.h>

namespace VarnelTest {

class COleObjectStubs : public IOleObject
{
public:
    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite*) override { return E_NOTIMPL; }
    STDMETHOD(GetClientSite)(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHOD(Close)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return E_NOTIMPL; }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return E_NOTIMPL; }
    STDMETHOD(IsUpToDate)() override { return E_NOTIMPL; }
    STDMETHOD(GetUserClassID)(CLSID*) override { return E_NOTIMPL; }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

protected:
    ~COleObjectStubs() = default;
};

class COleControlStubs : public IOleControl
{
public:
    // IOleControl
    STDMETHOD(GetControlInfo)(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHOD(OnMnemonic)(MSG*) override { return E_NOTIMPL; }
    STDMETHOD(OnAmbientPropertyChange)(DISPID) override { return E_NOTIMPL; }
    STDMETHOD(FreezeEvents)(WINBOOL) override { return E_NOTIMPL; }

protected:
    ~COleControlStubs() = default;
};

class CInPlaceObjectStubs : public IOleInPlaceObjectWindowless
{
public:
    // IOleWindow
    STDMETHOD(GetWindow)(HWND*) override { return E_NOTIMPL; }
    STDMETHOD(ContextSensitiveHelp)(WINBOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHOD(InPlaceDeactivate)() override { return E_NOTIMPL; }
    STDMETHOD(UIDeactivate)() override { return E_NOTIMPL; }
    STDMETHOD(SetObjectRects)(LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    // IOleInPlaceObjectWindowless
    STDMETHOD(OnWindowMessage)(UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
    STDMETHOD(GetDropTarget)(IDropTarget**) override { return E_NOTIMPL; }

protected:
    ~CInPlaceObjectStubs() = default;
};

class CInPlaceActiveObjectStubs : public IOleInPlaceActiveObject
{
public:
    // IOleWindow
    STDMETHOD(GetWindow)(HWND*) override { return E_NOTIMPL; }
    STDMETHOD(ContextSensitiveHelp)(WINBOOL) override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    STDMETHOD(TranslateAccelerator)(LPMSG) override { return E_NOTIMPL; }
    STDMETHOD(OnFrameWindowActivate)(WINBOOL) override { return E_NOTIMPL; }
    STDMETHOD(OnDocWindowActivate)(WINBOOL) override { return E_NOTIMPL; }
    STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, WINBOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnableModeless)(WINBOOL) override { return E_NOTIMPL; }

protected:
    ~CInPlaceActiveObjectStubs() = default;
};

class CViewObjectStubs : public IViewObjectEx
{
public:
    // IViewObject
    STDMETHOD(Draw)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL,
                    WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return E_NOTIMPL; }
    STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    // IViewObject2
    STDMETHOD(GetExtent)(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    // IViewObjectEx
    STDMETHOD(GetRect)(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHOD(GetViewStatus)(DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(QueryHitPoint)(DWORD, LPCRECT, POINT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(QueryHitRect)(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

protected:
    ~CViewObjectStubs() = default;
};

class CPersistStreamInitStubs : public IPersistStreamInit
{
public:
    // IPersist
    STDMETHOD(GetClassID)(CLSID*) override { return E_NOTIMPL; }
    // IPersistStreamInit
    STDMETHOD(IsDirty)() override { return E_NOTIMPL; }
    STDMETHOD(Load)(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHOD(Save)(LPSTREAM, WINBOOL) override { return E_NOTIMPL; }
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHOD(InitNew)() override { return E_NOTIMPL; }

protected:
    ~CPersistStreamInitStubs() = default;
};

class CWebBrowser2Stubs : public IWebBrowser2
{
public:
    // IDispatch
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    // IWebBrowser
    STDMETHOD(GoBack)() override { return E_NOTIMPL; }
    STDMETHOD(GoForward)() override { return E_NOTIMPL; }
    STDMETHOD(GoHome)() override { return E_NOTIMPL; }
    STDMETHOD(GoSearch)() override { return E_NOTIMPL; }
    STDMETHOD(Navigate)(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(Refresh)() override { return E_NOTIMPL; }
    STDMETHOD(Refresh2)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(Stop)() override { return E_NOTIMPL; }
    STDMETHOD(get_Application)(IDispatch**) override { return E_NOTIMPL; }
    STDMETHOD(get_Parent)(IDispatch**) override { return E_NOTIMPL; }
    STDMETHOD(get_Container)(IDispatch**) override { return E_NOTIMPL; }
    STDMETHOD(get_Document)(IDispatch**) override { return E_NOTIMPL; }
    STDMETHOD(get_TopLevelContainer)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(get_Type)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_Left)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_Left)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_Top)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_Top)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_Width)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_Width)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_Height)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_Height)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_LocationName)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_LocationURL)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_Busy)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    // IWebBrowserApp
    STDMETHOD(Quit)() override { return E_NOTIMPL; }
    STDMETHOD(ClientToWindow)(int*, int*) override { return E_NOTIMPL; }
    STDMETHOD(PutProperty)(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(get_Name)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_HWND)(SHANDLE_PTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_FullName)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_Path)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_Visible)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Visible)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_StatusBar)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_StatusBar)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_StatusText)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_StatusText)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_ToolBar)(int*) override { return E_NOTIMPL; }
    STDMETHOD(put_ToolBar)(int) override { return E_NOTIMPL; }
    STDMETHOD(get_MenuBar)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_MenuBar)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_FullScreen)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_FullScreen)(VARIANT_BOOL) override { return E_NOTIMPL; }
    // IWebBrowser2
    STDMETHOD(Navigate2)(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(QueryStatusWB)(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    STDMETHOD(ExecWB)(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(ShowBrowserBar)(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(get_ReadyState)(READYSTATE*) override { return E_NOTIMPL; }
    STDMETHOD(get_Offline)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Offline)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_Silent)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Silent)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_RegisterAsBrowser)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_RegisterAsBrowser)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_RegisterAsDropTarget)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_RegisterAsDropTarget)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_TheaterMode)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_TheaterMode)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_AddressBar)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_AddressBar)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_Resizable)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Resizable)(VARIANT_BOOL) override { return E_NOTIMPL; }

protected:
    ~CWebBrowser2Stubs() = default;
};

class CHTMLDocument2Stubs : public IHTMLDocument2
{
public:
    // IDispatch
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    // IHTMLDocument
    STDMETHOD(get_Script)(IDispatch**) override { return E_NOTIMPL; }
    // IHTMLDocument2
    STDMETHOD(get_all)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(get_body)(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHOD(get_activeElement)(IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHOD(get_images)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(get_applets)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(get_links)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(get_forms)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(get_anchors)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(put_title)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_title)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_scripts)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(put_designMode)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_designMode)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_selection)(IHTMLSelectionObject**) override { return E_NOTIMPL; }
    STDMETHOD(get_readyState)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_frames)(IHTMLFramesCollection2**) override { return E_NOTIMPL; }
    STDMETHOD(get_embeds)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(get_plugins)(IHTMLElementCollection**) override { return E_NOTIMPL; }
    STDMETHOD(put_alinkColor)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_alinkColor)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_bgColor)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_bgColor)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_fgColor)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_fgColor)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_linkColor)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_linkColor)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_vlinkColor)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_vlinkColor)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(get_referrer)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_location)(IHTMLLocation**) override { return E_NOTIMPL; }
    STDMETHOD(get_lastModified)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_URL)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_URL)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_domain)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_domain)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_cookie)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_cookie)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_expando)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_expando)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_charset)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_charset)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_defaultCharset)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_defaultCharset)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_mimeType)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_fileSize)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_fileCreatedDate)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_fileModifiedDate)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_fileUpdatedDate)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_security)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_protocol)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_nameProp)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(write)(SAFEARRAY*) override { return E_NOTIMPL; }
    STDMETHOD(writeln)(SAFEARRAY*) override { return E_NOTIMPL; }
    STDMETHOD(open)(BSTR, VARIANT, VARIANT, VARIANT, IDispatch**) override { return E_NOTIMPL; }
    STDMETHOD(close)() override { return E_NOTIMPL; }
    STDMETHOD(clear)() override { return E_NOTIMPL; }
    STDMETHOD(queryCommandSupported)(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(queryCommandEnabled)(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(queryCommandState)(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(queryCommandIndeterm)(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(queryCommandText)(BSTR, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(queryCommandValue)(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(execCommand)(BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(execCommandShowHelp)(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(createElement)(BSTR, IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHOD(put_onhelp)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onhelp)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onclick)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onclick)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_ondblclick)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_ondblclick)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onkeyup)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onkeyup)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onkeydown)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onkeydown)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onkeypress)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onkeypress)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onmouseup)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onmouseup)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onmousedown)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onmousedown)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onmousemove)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onmousemove)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onmouseout)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onmouseout)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onmouseover)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onmouseover)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onreadystatechange)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onreadystatechange)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onafterupdate)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onafterupdate)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onrowexit)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onrowexit)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onrowenter)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onrowenter)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_ondragstart)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_ondragstart)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onselectstart)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onselectstart)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(elementFromPoint)(LONG, LONG, IHTMLElement**) override { return E_NOTIMPL; }
    STDMETHOD(get_parentWindow)(IHTMLWindow2**) override { return E_NOTIMPL; }
    STDMETHOD(get_styleSheets)(IHTMLStyleSheetsCollection**) override { return E_NOTIMPL; }
    STDMETHOD(put_onbeforeupdate)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onbeforeupdate)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(put_onerrorupdate)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(get_onerrorupdate)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(toString)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(createStyleSheet)(BSTR, LONG, IHTMLStyleSheet**) override { return E_NOTIMPL; }

protected:
    ~CHTMLDocument2Stubs() = default;
};

} // namespace VarnelTest
