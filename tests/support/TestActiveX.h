#pragma once
// A scriptable stand-in for an ActiveX control and for the platform browser,
// registered under a test class id, and a real window with a paint manager to
// host controls in.

#include "support/ComStubs.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIWindow.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include <string>
#include <vector>

namespace VarnelTest {

using VarnelUI::CUIComPtr;

// {5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E845}: created by CTestClassRegistration.
constexpr CLSID kTestObjectClsid = {0x5B0C39E4, 0x7A21, 0x4C6E, {0x9F, 0x0B, 0x3D, 0x62, 0xA7, 0xC1, 0xE8, 0x45}};
// {5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E846}: only the test exe's DllGetClassObject knows it.
constexpr CLSID kModuleOnlyClsid = {0x5B0C39E4, 0x7A21, 0x4C6E, {0x9F, 0x0B, 0x3D, 0x62, 0xA7, 0xC1, 0xE8, 0x46}};

// The colour a windowless double paints its bounds with.
constexpr COLORREF kTestObjectColor = RGB(10, 200, 30);

struct TTestObjectOptions
{
    bool windowless = true; // ask for windowless activation when the site allows it
    DWORD miscStatus = 0;
    HRESULT initNewResult = S_OK;
};

class CTestDocument;

// An OLE control that activates in place (windowless or in a child window
// of its own), paints a solid colour, hit-tests its left half, records the
// calls it receives, and speaks IWebBrowser2 with DWebBrowserEvents2.
class CTestOleObject : public COleObjectStubs,
                       public COleControlStubs,
                       public CInPlaceObjectStubs,
                       public CInPlaceActiveObjectStubs,
                       public CViewObjectStubs,
                       public CPersistStreamInitStubs,
                       public CWebBrowser2Stubs,
                       public IConnectionPointContainer,
                       public IObjectWithSite
{
public:
    explicit CTestOleObject(const TTestObjectOptions& options);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) override;
    STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) override;
    STDMETHOD(SetHostNames)(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) override;
    STDMETHOD(Close)(DWORD dwSaveOption) override;
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                      LPCRECT lprcPosRect) override;
    STDMETHOD(SetExtent)(DWORD dwDrawAspect, SIZEL* psizel) override;
    STDMETHOD(GetMiscStatus)(DWORD dwAspect, DWORD* pdwStatus) override;

    // IOleWindow, IOleInPlaceObject(Windowless), IOleInPlaceActiveObject
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(InPlaceDeactivate)() override;
    STDMETHOD(UIDeactivate)() override;
    STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    STDMETHOD(OnWindowMessage)(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpmsg) override;

    // IViewObjectEx
    STDMETHOD(Draw)(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd, HDC hdcTargetDev, HDC hdcDraw,
                    LPCRECTL lprcBounds, LPCRECTL lprcWBounds, BOOL(STDMETHODCALLTYPE* pfnContinue)(ULONG_PTR),
                    ULONG_PTR dwContinue) override;
    STDMETHOD(QueryHitPoint)(DWORD dwAspect, LPCRECT pRectBounds, POINT ptlLoc, LONG lCloseHint,
                             DWORD* pHitResult) override;

    // IPersistStreamInit
    STDMETHOD(InitNew)() override;

    // IWebBrowser2
    STDMETHOD(Navigate)(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                        VARIANT* Headers) override;
    STDMETHOD(Navigate2)(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                         VARIANT* Headers) override;
    STDMETHOD(Refresh)() override;
    STDMETHOD(Refresh2)(VARIANT* Level) override;
    STDMETHOD(GoBack)() override;
    STDMETHOD(GoForward)() override;
    STDMETHOD(get_Document)(IDispatch** ppDisp) override;

    // IConnectionPointContainer: DWebBrowserEvents2 only
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** ppEnum) override;
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) override;

    // IObjectWithSite
    STDMETHOD(SetSite)(IUnknown* pUnkSite) override;
    STDMETHOD(GetSite)(REFIID riid, void** ppvSite) override;

    // ---- the test's side ------------------------------------------------------
    // Calls in order, e.g. "SetClientSite", "Navigate2 about:blank", "Refresh2 3".
    std::vector<std::wstring> calls;
    // Window messages received through OnWindowMessage.
    std::vector<UINT> messages;
    int drawCount = 0;

    bool HasCall(const std::wstring& call) const;
    ULONG RefCount() const { return m_ref; }
    bool IsActive() const { return m_active; }
    bool IsWindowless() const { return m_windowless; }
    HWND ChildWindow() const { return m_hwnd; }
    const RECT& ObjectRect() const { return m_rcObject; }
    const SIZEL& Extent() const { return m_extent; }
    IOleClientSite* ClientSite() const { return m_site.Get(); }
    IUnknown* ObjectSite() const { return m_objectSite.Get(); }
    const OLEINPLACEFRAMEINFO& FrameInfo() const { return m_frameInfo; }
    IOleInPlaceFrame* Frame() const { return m_frame.Get(); }
    void SetDocument(CTestDocument* pDocument);
    bool HasEventSink() const { return static_cast<bool>(m_sink); }

    // Fire DWebBrowserEvents2 at the connected sink with the browser's own
    // argument layout; pDisp is the browser (top page) or a frame's object.
    // Return the sink's answer, or E_FAIL without a sink.
    HRESULT FireBeforeNavigate2(IDispatch* pDisp, LPCWSTR url, LPCWSTR frame, VARIANT_BOOL& cancel);
    HRESULT FireNavigateComplete2(IDispatch* pDisp, LPCWSTR url);
    HRESULT FireDocumentComplete(IDispatch* pDisp, LPCWSTR url);
    HRESULT FireNavigateError(IDispatch* pDisp, LPCWSTR url, LONG status, VARIANT_BOOL& cancel);
    HRESULT FireNewWindow3(LPCWSTR url, VARIANT_BOOL& cancel);
    HRESULT FireCommandStateChange(long command, VARIANT_BOOL enable);
    HRESULT Fire(DISPID id, VARIANTARG* args, UINT count);
    IDispatch* AsDispatch() { return static_cast<IWebBrowser2*>(this); }

private:
    class CEventPoint : public IConnectionPoint
    {
    public:
        explicit CEventPoint(CTestOleObject& owner) : m_owner(owner) {}
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override { return m_owner.AddRef(); }
        STDMETHOD_(ULONG, Release)() override { return m_owner.Release(); }
        STDMETHOD(GetConnectionInterface)(IID* pIID) override;
        STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) override;
        STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) override;
        STDMETHOD(Unadvise)(DWORD dwCookie) override;
        STDMETHOD(EnumConnections)(IEnumConnections** ppEnum) override;

    private:
        CTestOleObject& m_owner;
    };

    virtual ~CTestOleObject();
    void Record(const std::wstring& call) { calls.push_back(call); }

    TTestObjectOptions m_options;
    ULONG m_ref = 1;
    bool m_active = false;
    bool m_windowless = false;
    HWND m_hwnd = nullptr;
    RECT m_rcObject = {};
    SIZEL m_extent = {};
    OLEINPLACEFRAMEINFO m_frameInfo = {};
    CUIComPtr<IOleClientSite> m_site;
    CUIComPtr<IUnknown> m_objectSite;
    CUIComPtr<IOleInPlaceSite> m_inPlaceSite;
    CUIComPtr<IOleInPlaceFrame> m_frame;
    CUIComPtr<IDispatch> m_sink;
    CUIComPtr<IDispatch> m_document;
    CEventPoint m_eventPoint{*this};
};

// A document with a title that takes a UI handler (ICustomDoc).
class CTestDocument : public CHTMLDocument2Stubs, public ICustomDoc
{
public:
    explicit CTestDocument(LPCWSTR title) : m_title(title) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_ref; }
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(get_title)(BSTR* p) override;
    STDMETHOD(SetUIHandler)(IDocHostUIHandler* pUIHandler) override;

    IDocHostUIHandler* UIHandler() const { return m_uiHandler.Get(); }

private:
    virtual ~CTestDocument() = default;

    ULONG m_ref = 1;
    std::wstring m_title;
    CUIComPtr<IDocHostUIHandler> m_uiHandler;
};

// Registers the double's class factory under kTestObjectClsid for its lifetime.
// Objects it creates use `options` as they are at creation time.
class CTestClassRegistration
{
public:
    CTestClassRegistration();
    ~CTestClassRegistration();
    CTestClassRegistration(const CTestClassRegistration&) = delete;
    CTestClassRegistration& operator=(const CTestClassRegistration&) = delete;

    static TTestObjectOptions& Options();
    // Every object created so far (through registration or module), referenced.
    static std::vector<CUIComPtr<CTestOleObject>>& Created();
    static CTestOleObject* Last() { return Created().empty() ? nullptr : Created().back().Get(); }

    // The factory shared by the registration and the exe's DllGetClassObject.
    static IClassFactory* Factory();

private:
    DWORD m_cookie = 0;
};

// A top-level popup window whose messages go to its own paint manager.
class CTestHostWindow : public VarnelUI::CWindowWnd
{
public:
    CTestHostWindow(int cx, int cy, bool visible = false);
    ~CTestHostWindow();

    VarnelUI::CPaintManagerUI& Manager() { return m_manager; }
    // Makes the control the window's root; the manager owns it from then on.
    void Attach(VarnelUI::CControlUI* pRoot);
    // Paints now, which lays the tree out first when needed.
    void Paint();
    void Destroy();

    LPCWSTR GetWndClassName() const override { return L"VarnelTestHostWindow"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    VarnelUI::CPaintManagerUI m_manager;
};

// Runs the thread's pending messages for about `ms` milliseconds.
void PumpMessages(DWORD ms);

} // namespace VarnelTest
