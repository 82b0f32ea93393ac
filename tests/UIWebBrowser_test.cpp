// The web browser control against a browser double (navigation, events,
// UI answers, host commands, services, keyboard routing) and, bounded in a
// child process, against the platform's own browser object.
#include <gtest/gtest.h>

#include "support/TestActiveX.h"
#include "support/TestProcess.h"
#include "varnelui/control/UIWebBrowser.h"
#include "varnelui/control/UIWebBrowser2.h"

#include <exdispid.h>
#include <mshtmdid.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace VarnelUI;
using namespace VarnelTest;

namespace {

constexpr RECT kControlRect = {0, 0, 300, 200};
constexpr wchar_t kTestClsidText[] = L"{5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E845}";

std::wstring UrlOf(const VARIANT* pUrl)
{
    return pUrl != nullptr && pUrl->vt == VT_BSTR && pUrl->bstrVal != nullptr ? pUrl->bstrVal : L"";
}

// Records what reaches the window; cancels navigations to the keyword and
// reads the page title the way a window does on NavigateComplete2.
class RecordingHandler : public CWebBrowserEventHandler
{
public:
    explicit RecordingHandler(CWebBrowserUI* pBrowser = nullptr) : m_pBrowser(pBrowser) {}

    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*&, VARIANT*& frame, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*& cancel) override
    {
        events.push_back(L"before " + UrlOf(url) + L" [" + UrlOf(frame) + L"]");
        lastDispatch = pDisp;
        if (UrlOf(url).find(L"keyword") != std::wstring::npos) *cancel = VARIANT_TRUE;
    }
    void NavigateError(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*& status, VARIANT_BOOL*& cancel) override
    {
        events.push_back(L"error " + UrlOf(url) + L" " + std::to_wstring(status->lVal));
        *cancel = VARIANT_TRUE;
    }
    void NavigateComplete2(IDispatch*, VARIANT*& url, LPCWSTR pstrControlName) override
    {
        std::wstring title = L"-";
        if (m_pBrowser != nullptr && m_pBrowser->GetWebBrowser2() != nullptr) {
            CUIComPtr<IDispatch> pDocument;
            m_pBrowser->GetWebBrowser2()->get_Document(pDocument.ReleaseAndGetAddressOf());
            if (const auto pDocument2 = ComQuery<IHTMLDocument2>(pDocument.Get())) {
                CUIBstr bstrTitle;
                pDocument2->get_title(bstrTitle.ReleaseAndGetAddressOf());
                title = bstrTitle.IsEmpty() ? L"" : bstrTitle.Get();
            }
        }
        events.push_back(L"complete " + UrlOf(url) + L" " + pstrControlName + L" '" + title + L"'");
    }
    void NewWindow3(IDispatch**, VARIANT_BOOL*& cancel, DWORD dwFlags, BSTR, BSTR bstrUrl) override
    {
        events.push_back(L"newwindow " + std::wstring(bstrUrl) + L" " + std::to_wstring(dwFlags));
        *cancel = VARIANT_TRUE;
    }
    void CommandStateChange(long command, VARIANT_BOOL enable) override
    {
        events.push_back(L"command " + std::to_wstring(command) + (enable ? L" on" : L" off"));
    }
    HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT) override
    {
        events.push_back(L"download");
        return E_ABORT;
    }

    std::vector<std::wstring> events;
    IDispatch* lastDispatch = nullptr;

private:
    CWebBrowserUI* m_pBrowser;
};

class WebBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }

    // A browser control on the double, attached and laid out.
    CWebBrowserUI* HostBrowser(LPCWSTR homePage, bool autoNavi, bool windowless = false)
    {
        CTestClassRegistration::Options().windowless = windowless;
        auto* pBrowser = new CWebBrowserUI;
        pBrowser->SetAttribute(L"name", L"WebBrowser");
        pBrowser->SetAttribute(L"clsid", kTestClsidText);
        if (homePage != nullptr) pBrowser->SetAttribute(L"homepage", homePage);
        pBrowser->SetAttribute(L"autonavi", autoNavi ? L"true" : L"false");
        m_window.Attach(pBrowser);
        pBrowser->SetPos(kControlRect);
        return pBrowser;
    }

    CTestClassRegistration m_registration;
    CTestHostWindow m_window{320, 240};
};

TEST_F(WebBrowserTest, IdentityDefaultsAndAttributes)
{
    CWebBrowserUI browser;
    EXPECT_STREQ(L"WebBrowserUI", browser.GetClass());
    EXPECT_EQ(&browser, browser.GetInterface(L"WebBrowser"));
    EXPECT_EQ(static_cast<CActiveXUI*>(&browser), browser.GetInterface(L"ActiveX"));
    EXPECT_TRUE(::IsEqualGUID(kWebBrowserClsid, browser.GetClisd()));
    EXPECT_TRUE(browser.IsDelayCreate());
    EXPECT_FALSE(browser.IsAutoNavigation());
    EXPECT_STREQ(L"", browser.GetHomePage());

    browser.SetAttribute(L"homepage", L"http://example.test/login");
    browser.SetAttribute(L"autonavi", L"true");
    EXPECT_STREQ(L"http://example.test/login", browser.GetHomePage());
    EXPECT_TRUE(browser.IsAutoNavigation());
    browser.SetAttribute(L"autonavi", L"True");
    EXPECT_FALSE(browser.IsAutoNavigation());
    browser.SetAttribute(L"clsid", kTestClsidText);
    EXPECT_TRUE(::IsEqualGUID(kTestObjectClsid, browser.GetClisd()));
    EXPECT_TRUE(CTestClassRegistration::Created().empty());

    // Nothing to drive yet: every browser operation quietly does nothing.
    browser.Navigate2(L"http://x/");
    browser.NavigateUrl(L"http://x/");
    browser.NavigateHomePage();
    browser.Refresh();
    browser.Refresh2(3);
    browser.GoBack();
    browser.GoForward();
    EXPECT_EQ(nullptr, browser.GetWebBrowser2());
    EXPECT_FALSE(browser.GetHtmlWindow());
    MSG msg = {};
    msg.message = WM_KEYDOWN;
    EXPECT_EQ(E_NOTIMPL, browser.TranslateAcceleratorW(&msg));
}

TEST_F(WebBrowserTest, AutoNavigationLoadsBlankThenTheHomePage)
{
    CWebBrowserUI* pBrowser = HostBrowser(L"http://example.test/home", true);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    EXPECT_EQ(static_cast<IWebBrowser2*>(pObject), pBrowser->GetWebBrowser2());

    std::vector<std::wstring> navigations;
    std::copy_if(pObject->calls.begin(), pObject->calls.end(), std::back_inserter(navigations),
                 [](const std::wstring& c) { return c.rfind(L"Navigate", 0) == 0 || c == L"Advise"; });
    const std::vector<std::wstring> expected = {L"Navigate2 about:blank", L"Navigate2 http://example.test/home",
                                                L"Advise"};
    EXPECT_EQ(expected, navigations);
}

TEST_F(WebBrowserTest, NoNavigationWithoutAutoNaviOrHomePage)
{
    HostBrowser(L"http://example.test/home", false);
    HostBrowser(nullptr, true);
    ASSERT_EQ(2u, CTestClassRegistration::Created().size());
    for (const auto& pObject : CTestClassRegistration::Created()) {
        EXPECT_FALSE(std::any_of(pObject->calls.begin(), pObject->calls.end(),
                                 [](const std::wstring& c) { return c.rfind(L"Navigate", 0) == 0; }));
    }
}

TEST_F(WebBrowserTest, NavigationCommandsReachTheBrowser)
{
    CWebBrowserUI* pBrowser = HostBrowser(L"http://example.test/home", false);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    pObject->calls.clear();

    pBrowser->Refresh2(3);
    pBrowser->Refresh();
    pBrowser->GoBack();
    pBrowser->GoForward();
    pBrowser->NavigateHomePage();
    pBrowser->NavigateUrl(L"http://example.test/a");
    pBrowser->Navigate2(L"http://example.test/b");
    pBrowser->Navigate2(L"");
    pBrowser->Navigate2(nullptr);
    const std::vector<std::wstring> expected = {L"Refresh2 3",
                                                L"Refresh",
                                                L"GoBack",
                                                L"GoForward",
                                                L"Navigate http://example.test/home",
                                                L"Navigate http://example.test/a",
                                                L"Navigate2 http://example.test/b"};
    EXPECT_EQ(expected, pObject->calls);

    // A home page set later is what NavigateHomePage loads.
    pBrowser->SetHomePage(L"http://example.test/later");
    pBrowser->NavigateHomePage();
    EXPECT_EQ(L"Navigate http://example.test/later", pObject->calls.back());
}

TEST_F(WebBrowserTest, EventsReachTheHandler)
{
    CWebBrowserUI* pBrowser = HostBrowser(L"http://example.test/home", true);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    ASSERT_TRUE(pObject->HasEventSink());
    RecordingHandler handler(pBrowser);
    pBrowser->SetWebBrowserEventHandler(&handler);
    RecordingHandler other;
    pBrowser->SetWebBrowserEventHandler(nullptr); // a null handler keeps the current one
    auto* pDocument = new CTestDocument(L"Game Title");
    pObject->SetDocument(pDocument);

    // Top page and frame alike; the handler's cancel reaches the browser.
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, pObject->FireBeforeNavigate2(pObject->AsDispatch(), L"http://example.test/page", L"", cancel));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_EQ(pObject->AsDispatch(), handler.lastDispatch);
    EXPECT_EQ(S_OK, pObject->FireBeforeNavigate2(pDocument, L"http://game.test/keyword/play", L"inner", cancel));
    EXPECT_EQ(VARIANT_TRUE, cancel);
    EXPECT_EQ(static_cast<IDispatch*>(static_cast<IHTMLDocument2*>(pDocument)), handler.lastDispatch);

    cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, pObject->FireNavigateError(pObject->AsDispatch(), L"http://down.test/", 404, cancel));
    EXPECT_EQ(VARIANT_TRUE, cancel);

    // NavigateComplete2 installs the control as the document's UI handler
    // first, then tells the window with the control's name.
    EXPECT_EQ(S_OK, pObject->FireNavigateComplete2(pObject->AsDispatch(), L"http://example.test/page"));
    ASSERT_NE(nullptr, pDocument->UIHandler());
    EXPECT_EQ(static_cast<IDocHostUIHandler*>(pBrowser), pDocument->UIHandler());
    pDocument->Release();
    pObject->SetDocument(new CTestDocument(L""));
    pDocument = nullptr;
    EXPECT_EQ(S_OK, pObject->FireNavigateComplete2(pObject->AsDispatch(), L"http://example.test/untitled"));
    // Without a body the document is left as it is.
    EXPECT_EQ(S_OK, pObject->FireDocumentComplete(pObject->AsDispatch(), L"http://example.test/untitled"));

    cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, pObject->FireNewWindow3(L"http://popup.test/", cancel));
    EXPECT_EQ(VARIANT_TRUE, cancel);
    EXPECT_EQ(S_OK, pObject->FireCommandStateChange(CSC_NAVIGATEBACK, VARIANT_TRUE));

    const std::vector<std::wstring> expected = {L"before http://example.test/page []",
                                                L"before http://game.test/keyword/play [inner]",
                                                L"error http://down.test/ 404",
                                                L"complete http://example.test/page WebBrowser 'Game Title'",
                                                L"complete http://example.test/untitled WebBrowser ''",
                                                L"newwindow http://popup.test/ 6",
                                                L"command 2 on"};
    EXPECT_EQ(expected, handler.events);
    EXPECT_TRUE(other.events.empty());
}

TEST_F(WebBrowserTest, EventDispatchEdges)
{
    CWebBrowserUI browser;
    DISPPARAMS none = {};
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(E_INVALIDARG, browser.Invoke(DISPID_BEFORENAVIGATE2, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr,
                                           nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              browser.Invoke(12345, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK,
              browser.Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, browser.Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                   nullptr));
    EXPECT_EQ(VT_I4, result.vt);
    EXPECT_EQ(48, result.lVal);

    // Too few or mistyped arguments are refused rather than read past.
    RecordingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);
    VARIANTARG one;
    ::VariantInit(&one);
    DISPPARAMS shortParams = {&one, nullptr, 1, 0};
    EXPECT_NE(S_OK, browser.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &shortParams, nullptr, nullptr,
                                   nullptr));
    EXPECT_NE(S_OK,
              browser.Invoke(DISPID_NAVIGATEERROR, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(handler.events.empty());

    UINT count = 7;
    EXPECT_EQ(E_NOTIMPL, browser.GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);
}

TEST_F(WebBrowserTest, UiQuestionsHostCommandsAndServices)
{
    CWebBrowserUI browser;
    DOCHOSTUIINFO info = {};
    info.dwFlags = DOCHOSTUIFLAG_DIALOG;
    info.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
    EXPECT_EQ(S_OK, browser.GetHostInfo(&info));
    EXPECT_EQ(sizeof(DOCHOSTUIINFO), info.cbSize);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO),
              info.dwFlags);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT), info.dwDoubleClick);
    EXPECT_EQ(E_INVALIDARG, browser.GetHostInfo(nullptr));

    // Without a handler.
    POINT pt = {1, 1};
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(S_OK, browser.ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr));
    EXPECT_EQ(S_FALSE, browser.TranslateAcceleratorW(nullptr, nullptr, 0));
    EXPECT_EQ(E_NOTIMPL, browser.ResizeBorder(nullptr, nullptr, FALSE));
    EXPECT_EQ(E_NOTIMPL, browser.TranslateUrl(0, const_cast<LPWSTR>(L"http://x/"), &translated));
    EXPECT_EQ(nullptr, translated);

    // With the default handler: no context menu, nothing translated.
    struct DefaultHandler : CWebBrowserEventHandler
    {
    } defaults;
    browser.SetWebBrowserEventHandler(&defaults);
    EXPECT_EQ(S_OK, browser.ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr));
    EXPECT_EQ(S_FALSE, browser.ShowUI(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, browser.ResizeBorder(nullptr, nullptr, FALSE));
    translated = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(S_FALSE, browser.TranslateUrl(0, const_cast<LPWSTR>(L"http://x/"), &translated));
    EXPECT_EQ(nullptr, translated);
    IDispatch* pExternal = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(E_NOTIMPL, browser.GetExternal(&pExternal));
    EXPECT_EQ(nullptr, pExternal);

    // Script errors: no dialog, scripts go on.
    const GUID docHostCommands = {0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
    VARIANT in, out;
    ::VariantInit(&in);
    ::VariantInit(&out);
    EXPECT_EQ(S_OK, browser.Exec(&docHostCommands, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out));
    EXPECT_EQ(VT_BOOL, out.vt);
    EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, browser.Exec(&docHostCommands, OLECMDID_PRINT, 0, &in, &out));
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, browser.Exec(&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out));
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, browser.Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, browser.QueryStatus(nullptr, 0, nullptr, nullptr));

    // The download manager service forwards to the handler.
    RecordingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);
    CUIComPtr<IDownloadManager> pDownloads;
    EXPECT_EQ(S_OK, browser.QueryService(__uuidof(IDownloadManager), __uuidof(IDownloadManager),
                                         pDownloads.ReleaseAndGetVoidAddress()));
    ASSERT_TRUE(pDownloads);
    EXPECT_EQ(E_ABORT, pDownloads->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(std::vector<std::wstring>{L"download"}, handler.events);
    void* pService = &pService;
    EXPECT_EQ(E_NOINTERFACE, browser.QueryService(IID_IWebBrowserApp, IID_IWebBrowser2, &pService));
    EXPECT_EQ(nullptr, pService);

    // COM identity of the container side.
    for (const IID* iid :
         {&IID_IUnknown, &__uuidof(IDocHostUIHandler), &IID_IDispatch, &IID_IServiceProvider, &IID_IOleCommandTarget}) {
        CUIComPtr<IUnknown> p;
        EXPECT_EQ(S_OK, browser.QueryInterface(*iid, p.ReleaseAndGetVoidAddress()));
        EXPECT_EQ(static_cast<IUnknown*>(static_cast<IDocHostUIHandler*>(&browser)), ComQuery<IUnknown>(p.Get()).Get());
    }
    void* pNone = &pNone;
    EXPECT_EQ(E_NOINTERFACE, browser.QueryInterface(IID_IOleClientSite, &pNone));
}

TEST_F(WebBrowserTest, KeysGoToTheBrowserOnlyWhileItHasTheFocus)
{
    CWebBrowserUI* pBrowser = HostBrowser(nullptr, false);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    ASSERT_NE(nullptr, pObject->ChildWindow());

    MSG msg = {};
    msg.hwnd = pObject->ChildWindow();
    msg.message = WM_MOUSEMOVE;
    EXPECT_EQ(S_FALSE, pBrowser->TranslateAcceleratorW(&msg));

    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F5;
    ::SetFocus(m_window.GetHWND());
    EXPECT_EQ(S_FALSE, pBrowser->TranslateAcceleratorW(&msg));

    // Focus inside the browser's window: the paint manager's accelerator
    // routing hands the key to the browser, which consumes it.
    ::SetFocus(pObject->ChildWindow());
    ASSERT_EQ(pObject->ChildWindow(), ::GetFocus());
    EXPECT_TRUE(m_window.Manager().TranslateAcceleratorW(&msg));
    EXPECT_TRUE(pObject->HasCall(L"TranslateAccelerator " + std::to_wstring(VK_F5)));
}

TEST_F(WebBrowserTest, ReleaseUnadvisesAndRecreationStartsAfresh)
{
    CWebBrowserUI* pBrowser = HostBrowser(L"http://example.test/home", true);
    CUIComPtr<CTestOleObject> pFirst(CTestClassRegistration::Last());
    ASSERT_TRUE(pFirst);
    ASSERT_TRUE(pFirst->HasEventSink());

    pBrowser->ReleaseControl();
    EXPECT_FALSE(pFirst->HasEventSink());
    EXPECT_TRUE(pFirst->HasCall(L"Unadvise"));
    EXPECT_TRUE(pFirst->HasCall(L"Close nosave"));
    EXPECT_EQ(nullptr, pBrowser->GetWebBrowser2());
    EXPECT_EQ(2u, pFirst->RefCount()); // the test's two references only

    // Not created any more: the next layout makes a new browser, which again
    // starts with the home page.
    pBrowser->SetPos(kControlRect);
    ASSERT_EQ(2u, CTestClassRegistration::Created().size());
    CTestOleObject* pSecond = CTestClassRegistration::Last();
    EXPECT_TRUE(pSecond->HasCall(L"Navigate2 http://example.test/home"));
    EXPECT_TRUE(pSecond->HasEventSink());
}

class CompletionRecorder : public INotifyUI
{
public:
    void Notify(TNotifyUI& msg) override
    {
        if (msg.type != L"HTML_COMPLETE") return;
        pages.push_back(std::string(reinterpret_cast<const char*>(msg.wParam)) + (msg.lParam != 0 ? " error" : ""));
    }
    std::vector<std::string> pages;
};

TEST_F(WebBrowserTest, SecondBrowserControlSinksItsOwnEvents)
{
    auto* pBrowser = new CWebBrowser2UI;
    EXPECT_STREQ(L"WebBrowser2UI", pBrowser->GetClass());
    EXPECT_EQ(pBrowser, pBrowser->GetInterface(L"WebBrowser2"));
    pBrowser->SetAttribute(L"clsid", kTestClsidText); // ignored: always the platform browser
    EXPECT_TRUE(::IsEqualGUID(kWebBrowserClsid, pBrowser->GetClisd()));
    pBrowser->SetAttribute(L"url", L"http://example.test/start");
    pBrowser->SetAttribute(L"scrollbar", L"true");
    pBrowser->CreateControl(kTestObjectClsid);
    CompletionRecorder recorder;
    m_window.Manager().AddNotifier(&recorder);
    m_window.Attach(pBrowser);
    pBrowser->SetPos(kControlRect);

    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    std::vector<std::wstring> navigations;
    std::copy_if(pObject->calls.begin(), pObject->calls.end(), std::back_inserter(navigations),
                 [](const std::wstring& c) { return c.rfind(L"Navigate", 0) == 0 || c == L"Advise"; });
    EXPECT_EQ((std::vector<std::wstring>{L"Advise", L"Navigate2 about:blank", L"Navigate2 http://example.test/start"}),
              navigations);

    // Each loaded document gets a UI handler with the control's border and
    // scroll-bar choices.
    auto* pDocument = new CTestDocument(L"t");
    pObject->SetDocument(pDocument);
    EXPECT_EQ(S_OK, pObject->FireNavigateComplete2(pObject->AsDispatch(), L"http://example.test/start"));
    ASSERT_NE(nullptr, pDocument->UIHandler());
    DOCHOSTUIINFO info = {};
    EXPECT_EQ(S_OK, pDocument->UIHandler()->GetHostInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_NO3DOUTERBORDER | DOCHOSTUIFLAG_NO3DBORDER), info.dwFlags);
    pDocument->Release();

    // Finished pages are reported, with the error of a failed navigation once.
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, pObject->FireDocumentComplete(pObject->AsDispatch(), L"about:blank"));
    EXPECT_EQ(S_OK, pObject->FireDocumentComplete(pObject->AsDispatch(), L"http://example.test/start"));
    EXPECT_EQ(S_OK, pObject->FireNavigateError(pObject->AsDispatch(), L"http://down.test/", 500, cancel));
    EXPECT_EQ(S_OK, pObject->FireDocumentComplete(pObject->AsDispatch(), L"http://down.test/"));
    EXPECT_EQ(S_OK, pObject->FireDocumentComplete(pObject->AsDispatch(), L"http://example.test/next"));
    EXPECT_EQ(
        (std::vector<std::string>{"http://example.test/start", "http://down.test/ error", "http://example.test/next"}),
        recorder.pages);

    pObject->calls.clear();
    pBrowser->Navigate2();
    pBrowser->Navigate2(L"");
    pBrowser->Navigate2(L"http://example.test/other");
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Navigate2 http://example.test/start", L"Navigate2 http://example.test/other"}),
        pObject->calls);

    pBrowser->ReleaseControl();
    EXPECT_FALSE(pObject->HasEventSink());
    m_window.Manager().RemoveNotifier(&recorder);
}

TEST_F(WebBrowserTest, SecondBrowserControlWithoutSinkSkipsTheBlankPage)
{
    auto* pBrowser = new CWebBrowser2UI;
    pBrowser->SetAttribute(L"url", L"http://example.test/start");
    pBrowser->SetAttribute(L"autosink", L"false");
    pBrowser->CreateControl(kTestObjectClsid);
    m_window.Attach(pBrowser);
    pBrowser->SetPos(kControlRect);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    EXPECT_FALSE(pObject->HasEventSink());
    EXPECT_FALSE(pObject->HasCall(L"Navigate2 about:blank"));
    EXPECT_TRUE(pObject->HasCall(L"Navigate2 http://example.test/start"));
}

TEST(WebBrowserScripting, HelpersDriveAnAutomationObject)
{
    // The platform's dictionary object is a plain IDispatch with typed names.
    CUIComPtr<IDispatch> pDictionary;
    CLSID clsid;
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Scripting.Dictionary", &clsid));
    ASSERT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                       pDictionary.ReleaseAndGetVoidAddress()));

    EXPECT_EQ(-1, CWebBrowserUI::FindId(pDictionary.Get(), const_cast<LPOLESTR>(L"NoSuchMember")));
    EXPECT_EQ(-1, CWebBrowserUI::FindId(nullptr, const_cast<LPOLESTR>(L"Count")));
    EXPECT_NE(-1, CWebBrowserUI::FindId(pDictionary.Get(), const_cast<LPOLESTR>(L"Count")));

    // Arguments go last first: Add(key, item).
    CUIVariant key, item, result;
    key.SetString(L"level");
    item.SetInt(3);
    VARIANT args[2] = {*item.Get(), *key.Get()};
    EXPECT_EQ(S_OK,
              CWebBrowserUI::InvokeMethod(pDictionary.Get(), const_cast<LPOLESTR>(L"Add"), result.Get(), args, 2));
    CUIVariant count;
    EXPECT_EQ(S_OK, CWebBrowserUI::GetProperty(pDictionary.Get(), const_cast<LPOLESTR>(L"Count"), count.Get()));
    EXPECT_EQ(VT_I4, count.Get()->vt);
    EXPECT_EQ(1, count.Get()->lVal);

    CUIVariant mode;
    mode.SetInt(1); // TextCompare; allowed while the dictionary is empty only
    EXPECT_NE(S_OK, CWebBrowserUI::SetProperty(pDictionary.Get(), const_cast<LPOLESTR>(L"CompareMode"), mode.Get()));
    EXPECT_EQ(S_OK,
              CWebBrowserUI::InvokeMethod(pDictionary.Get(), const_cast<LPOLESTR>(L"RemoveAll"), nullptr, nullptr, 0));
    EXPECT_EQ(S_OK, CWebBrowserUI::SetProperty(pDictionary.Get(), const_cast<LPOLESTR>(L"CompareMode"), mode.Get()));
    CUIVariant readBack;
    EXPECT_EQ(S_OK,
              CWebBrowserUI::GetProperty(pDictionary.Get(), const_cast<LPOLESTR>(L"CompareMode"), readBack.Get()));
    EXPECT_EQ(1, readBack.Get()->lVal);

    CUIVariant unknown;
    EXPECT_EQ(E_FAIL, CWebBrowserUI::GetProperty(pDictionary.Get(), const_cast<LPOLESTR>(L"Nope"), unknown.Get()));
    EXPECT_EQ(E_FAIL, CWebBrowserUI::SetProperty(pDictionary.Get(), const_cast<LPOLESTR>(L"Nope"), mode.Get()));
}

// ---- the platform's browser object ---------------------------------------------------------

// Runs in a child process (see below): the real browser object is created at
// the first layout, activates in place and reports a navigation before it
// happens; the handler cancels it.
TEST_F(WebBrowserTest, DISABLED_RealBrowserChild)
{
    struct CancelAll : CWebBrowserEventHandler
    {
        void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                             VARIANT_BOOL*& cancel) override
        {
            urls.push_back(UrlOf(url));
            *cancel = VARIANT_TRUE;
        }
        std::vector<std::wstring> urls;
    } handler;

    CTestHostWindow window(320, 240, true);
    auto* pBrowser = new CWebBrowserUI;
    pBrowser->SetWebBrowserEventHandler(&handler);
    window.Attach(pBrowser);
    window.Paint();
    ASSERT_NE(nullptr, pBrowser->GetWebBrowser2());
    ASSERT_NE(nullptr, pBrowser->GetHostWindow());

    pBrowser->Navigate2(L"http://127.0.0.1:9/keyword-probe");
    for (int i = 0; i < 500 && handler.urls.empty(); ++i) PumpMessages(20);
    ASSERT_FALSE(handler.urls.empty());
    EXPECT_EQ(L"http://127.0.0.1:9/keyword-probe", handler.urls.front());
}

TEST(RealWebBrowser, CreatedActivatedAndReportsNavigation)
{
    wchar_t exePath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    TestProcess child;
    ASSERT_TRUE(child.Start(exePath, L"--gtest_also_run_disabled_tests --gtest_filter=*DISABLED_RealBrowserChild",
                            TestProcess::OutputMode::Captured));
    DWORD exitCode = 1;
    if (!child.Wait(60000, &exitCode)) {
        // Wine stops at its engine download offer when its prefix has no
        // HTML engine: the platform's hang, not the control's. Any other
        // hang is ours.
        wchar_t caption[128] = {};
        if (const HWND dialog = child.FindTopWindow(L"#32770", nullptr, 0)) ::GetWindowTextW(dialog, caption, 128);
        child.Kill();
        if (std::wstring(caption).find(L"Gecko") != std::wstring::npos)
            GTEST_SKIP() << "the platform browser waits at its engine download dialog";
        FAIL() << "the browser child hung for a minute" << child.Output();
    }
    EXPECT_EQ(0u, exitCode) << child.Output();
    EXPECT_NE(std::string::npos, child.Output().find("[  PASSED  ] 1 test.")) << child.Output();
}

} // namespace
