// The ActiveX host control with a test double in a real window: delay
// creation, windowed and windowless activation, painting, input, the site's
// answers and the release of the object.
#include <gtest/gtest.h>

#include "support/TestActiveX.h"
#include "support/TestHelpers.h"
#include "varnelui/control/UIActiveX.h"
#include "varnelui/control/UIWebBrowser.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace VarnelUI;
using namespace VarnelTest;

namespace {

constexpr RECT kControlRect = {20, 30, 220, 130};

std::vector<int>& RecordedEvents()
{
    static std::vector<int> events;
    return events;
}

bool RecordEvent(void* param)
{
    RecordedEvents().push_back(static_cast<TEventUI*>(param)->kind);
    return true;
}

class NotifyRecorder : public INotifyUI
{
public:
    void Notify(TNotifyUI& msg) override { names.push_back(std::wstring(msg.type.GetData())); }
    std::vector<std::wstring> names;
};

SIZEL HimetricOf(int cx, int cy)
{
    const HDC hDC = ::GetDC(nullptr);
    const SIZEL size = {::MulDiv(2540, cx, ::GetDeviceCaps(hDC, LOGPIXELSX)),
                        ::MulDiv(2540, cy, ::GetDeviceCaps(hDC, LOGPIXELSY))};
    ::ReleaseDC(nullptr, hDC);
    return size;
}

RECT ClientRectOf(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The window's own flag: the test windows themselves stay hidden.
bool ShownFlag(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

class ActiveXTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        RecordedEvents().clear();
    }

    // A control for the test double, attached to the window and laid out at
    // kControlRect.
    CActiveXUI* HostTestObject(bool windowless) { return HostTestObject(windowless, m_window); }
    CActiveXUI* HostTestObject(bool windowless, CTestHostWindow& window)
    {
        CTestClassRegistration::Options().windowless = windowless;
        auto* pControl = new CActiveXUI;
        window.Attach(pControl);
        pControl->SetAttribute(L"clsid", L"{5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E845}");
        pControl->SetPos(kControlRect);
        return pControl;
    }

    CTestClassRegistration m_registration;
    CTestHostWindow m_window{400, 300};
};

TEST_F(ActiveXTest, IdentityAndAttributes)
{
    CActiveXUI control;
    EXPECT_STREQ(L"ActiveXUI", control.GetClass());
    EXPECT_EQ(&control, control.GetInterface(L"ActiveX"));
    EXPECT_EQ(&control, control.GetInterface(L"Control"));
    EXPECT_EQ(nullptr, control.GetInterface(L"activex"));
    EXPECT_TRUE(control.IsDelayCreate());
    EXPECT_TRUE(::IsEqualGUID(GUID_NULL, control.GetClisd()));

    control.SetAttribute(L"modulename", L"some.dll");
    control.SetAttribute(L"name", L"ax");
    EXPECT_STREQ(L"some.dll", control.GetModuleName());
    EXPECT_EQ(L"ax", control.GetName());

    // A braced class id is read, and with delay create nothing is made yet.
    control.SetAttribute(L"clsid", L"{5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E845}");
    EXPECT_TRUE(::IsEqualGUID(kTestObjectClsid, control.GetClisd()));
    EXPECT_TRUE(CTestClassRegistration::Created().empty());
    void* pUnknown = &control;
    EXPECT_EQ(E_PENDING, control.GetControl(IID_IUnknown, &pUnknown));
    EXPECT_EQ(nullptr, pUnknown);
    EXPECT_EQ(E_POINTER, control.GetControl(IID_IUnknown, nullptr));

    // A program id goes through the registry; a malformed or unknown id
    // leaves the class id unset and reports failure.
    EXPECT_TRUE(control.CreateControl(L"Shell.Explorer.2"));
    EXPECT_TRUE(::IsEqualGUID(kWebBrowserClsid, control.GetClisd()));
    EXPECT_FALSE(control.CreateControl(L"{not a class id}"));
    EXPECT_FALSE(control.CreateControl(L"No.Such.ProgId.Anywhere"));
    EXPECT_FALSE(control.CreateControl(static_cast<LPCWSTR>(nullptr)));
    EXPECT_FALSE(control.CreateControl(GUID_NULL));
    EXPECT_TRUE(CTestClassRegistration::Created().empty());
}

TEST_F(ActiveXTest, DelayCreateFalseCreatesAtOnce)
{
    CActiveXUI control;
    control.SetAttribute(L"clsid", L"{5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E845}");
    ASSERT_TRUE(CTestClassRegistration::Created().empty());
    control.SetAttribute(L"delaycreate", L"false");
    EXPECT_FALSE(control.IsDelayCreate());
    ASSERT_EQ(1u, CTestClassRegistration::Created().size());

    // Switching delay create back on and off again does not create twice.
    control.SetDelayCreate(true);
    control.SetDelayCreate(false);
    EXPECT_EQ(1u, CTestClassRegistration::Created().size());

    // A later class id with delay create off creates a new object at once.
    EXPECT_TRUE(control.CreateControl(kTestObjectClsid));
    EXPECT_EQ(2u, CTestClassRegistration::Created().size());
}

TEST_F(ActiveXTest, CreatedOnFirstLayoutWithTheHostingSteps)
{
    CTestClassRegistration::Options().windowless = false;
    CTestHostWindow window(400, 300, true); // painted for real
    NotifyRecorder notifier;
    window.Manager().AddNotifier(&notifier);

    auto* pControl = new CActiveXUI;
    pControl->SetAttribute(L"clsid", L"{5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E845}");
    window.Attach(pControl);
    EXPECT_TRUE(CTestClassRegistration::Created().empty());

    window.Paint(); // the first layout creates the object
    ASSERT_EQ(1u, CTestClassRegistration::Created().size());
    CTestOleObject* pObject = CTestClassRegistration::Last();
    const std::vector<std::wstring> expected = {L"InitNew", L"SetClientSite", L"SetHostNames UIActiveX", L"DoVerb -5",
                                                L"SetSite"};
    EXPECT_EQ(expected, pObject->calls);
    EXPECT_NE(notifier.names.end(), std::find(notifier.names.begin(), notifier.names.end(), L"showactivex"));
    EXPECT_TRUE(pObject->IsActive());
    EXPECT_FALSE(pObject->IsWindowless());

    // The whole client area is the control's; the extent is in HIMETRIC.
    RECT rcClient;
    ::GetClientRect(window.GetHWND(), &rcClient);
    const SIZEL himetric = HimetricOf(rcClient.right, rcClient.bottom);
    EXPECT_EQ(himetric.cx, pObject->Extent().cx);
    EXPECT_EQ(himetric.cy, pObject->Extent().cy);

    void* pOleObject = nullptr;
    EXPECT_EQ(S_OK, pControl->GetControl(IID_IOleObject, &pOleObject));
    EXPECT_EQ(static_cast<IOleObject*>(pObject), pOleObject);
    static_cast<IUnknown*>(pOleObject)->Release();
    window.Manager().RemoveNotifier(&notifier);
}

TEST_F(ActiveXTest, SetClientSiteFirstAndInvisibleAtRuntime)
{
    CTestClassRegistration::Options().miscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME;
    CActiveXUI* pControl = HostTestObject(true);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    const std::vector<std::wstring> expected = {L"SetClientSite", L"InitNew", L"SetHostNames UIActiveX", L"SetSite"};
    EXPECT_EQ(expected, pObject->calls);
    EXPECT_FALSE(pObject->IsActive());
    EXPECT_EQ(nullptr, pControl->GetHostWindow());
}

TEST_F(ActiveXTest, WindowedObjectFollowsTheControl)
{
    CActiveXUI* pControl = HostTestObject(false);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);

    const HWND hHost = pControl->GetHostWindow();
    ASSERT_NE(nullptr, hHost);
    wchar_t className[64] = {};
    ::GetClassNameW(hHost, className, 64);
    EXPECT_STREQ(L"ActiveXWnd", className);
    EXPECT_EQ(m_window.GetHWND(), ::GetParent(hHost));
    EXPECT_EQ(hHost, ::GetParent(pObject->ChildWindow()));
    EXPECT_TRUE(SameRect(kControlRect, ClientRectOf(hHost)));
    // Inside its host window the object sits at the origin.
    EXPECT_TRUE(SameRect(RECT{0, 0, 200, 100}, pObject->ObjectRect()));

    const RECT moved = {50, 60, 350, 260};
    pControl->SetPos(moved);
    EXPECT_TRUE(SameRect(moved, ClientRectOf(hHost)));
    EXPECT_TRUE(SameRect(RECT{0, 0, 300, 200}, pObject->ObjectRect()));

    pControl->SetVisible(false);
    EXPECT_FALSE(ShownFlag(hHost));
    pControl->SetVisible(true);
    EXPECT_TRUE(ShownFlag(hHost));
    pControl->SetInternVisible(false);
    EXPECT_FALSE(ShownFlag(hHost));
    pControl->SetInternVisible(true);
    EXPECT_TRUE(ShownFlag(hHost));

    // Focus in the host window UI-activates the object once.
    ::SendMessageW(hHost, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(pObject->HasCall(L"DoVerb -4"));
}

TEST_F(ActiveXTest, HostWindowSwallowsTheWheel)
{
    CActiveXUI* pControl = HostTestObject(false);
    pControl->OnEvent += &RecordEvent;
    const HWND hHost = pControl->GetHostWindow();
    ASSERT_NE(nullptr, hHost);

    POINT pt = {kControlRect.left + 10, kControlRect.top + 10};
    ::ClientToScreen(m_window.GetHWND(), &pt);
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    EXPECT_EQ(0, ::SendMessageW(hHost, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), lParam));
    EXPECT_TRUE(RecordedEvents().empty());

    // The same wheel given to the window reaches the control: the host
    // window is what stops it.
    ::SendMessageW(m_window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), lParam);
    EXPECT_NE(RecordedEvents().end(), std::find(RecordedEvents().begin(), RecordedEvents().end(), EVT_SCROLLWHEEL));
}

TEST_F(ActiveXTest, WindowlessObjectPaintsIntoTheWindow)
{
    CActiveXUI* pControl = HostTestObject(true);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    EXPECT_TRUE(pObject->IsWindowless());
    EXPECT_EQ(m_window.GetHWND(), pControl->GetHostWindow());
    // Windowless objects are placed in window coordinates.
    EXPECT_TRUE(SameRect(kControlRect, pObject->ObjectRect()));

    const HDC hScreen = ::GetDC(nullptr);
    const HDC hDC = ::CreateCompatibleDC(hScreen);
    const HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 400, 300);
    ::ReleaseDC(nullptr, hScreen);
    const HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    const RECT rcAll = {0, 0, 400, 300};
    ::FillRect(hDC, &rcAll, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));

    pControl->DoPaint(hDC, RECT{0, 0, 10, 10}); // misses the control
    EXPECT_EQ(0, pObject->drawCount);
    pControl->DoPaint(hDC, rcAll);
    EXPECT_EQ(1, pObject->drawCount);
    EXPECT_EQ(kTestObjectColor, ::GetPixel(hDC, kControlRect.left + 5, kControlRect.top + 5));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(hDC, kControlRect.left - 5, kControlRect.top + 5));

    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
}

TEST_F(ActiveXTest, WindowlessInputOnlyOverTheHitAreaAndKeysWithFocus)
{
    CActiveXUI* pControl = HostTestObject(true);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    const HWND hWnd = m_window.GetHWND();
    // The double's hit area is the left half of its bounds.
    const LPARAM inside = MAKELPARAM(kControlRect.left + 10, kControlRect.top + 10);
    const LPARAM outside = MAKELPARAM(kControlRect.right - 10, kControlRect.top + 10);

    EXPECT_EQ(0x5A, ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, inside));
    ::SendMessageW(hWnd, WM_LBUTTONUP, 0, inside);
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, outside);
    ::SendMessageW(hWnd, WM_LBUTTONUP, 0, outside);
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}), pObject->messages);

    // The click outside the hit area went to the control, which took the focus.
    pObject->messages.clear();
    m_window.Manager().SetFocus(nullptr);
    ::SendMessageW(hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(pObject->messages.empty());
    pControl->SetFocus();
    ASSERT_TRUE(pControl->IsFocused());
    ::SendMessageW(hWnd, WM_KEYDOWN, 'A', 0);
    ::SendMessageW(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(1, 1));
    ::SendMessageW(hWnd, WM_SIZE, 0, 0); // not for the object
    EXPECT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_CONTEXTMENU}), pObject->messages);

    // Mouse-disabled or hidden, the control takes no mouse input.
    pObject->messages.clear();
    pControl->SetMouseEnabled(false);
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    pControl->SetMouseEnabled(true);
    pControl->SetVisible(false);
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_TRUE(pObject->messages.empty());
}

TEST_F(ActiveXTest, SiteAnswers)
{
    CActiveXUI* pControl = HostTestObject(false);
    CTestOleObject* pObject = CTestClassRegistration::Last();
    ASSERT_NE(nullptr, pObject);
    IOleClientSite* pSite = pObject->ClientSite();
    ASSERT_NE(nullptr, pSite);

    // One identity, the listed interfaces and no others.
    for (const IID* iid :
         {&IID_IOleClientSite, &IID_IOleInPlaceSiteWindowless, &IID_IOleInPlaceSiteEx, &IID_IOleInPlaceSite,
          &IID_IOleWindow, &IID_IOleControlSite, &IID_IObjectWithSite, &IID_IOleContainer, &IID_IUnknown}) {
        CUIComPtr<IUnknown> p;
        EXPECT_EQ(S_OK, pSite->QueryInterface(*iid, p.ReleaseAndGetVoidAddress()));
        CUIComPtr<IUnknown> identity = ComQuery<IUnknown>(p.Get());
        EXPECT_EQ(static_cast<IUnknown*>(pSite), identity.Get());
    }
    void* pNone = &pNone;
    EXPECT_EQ(E_NOINTERFACE, pSite->QueryInterface(IID_IDispatch, &pNone));
    EXPECT_EQ(nullptr, pNone);

    // The object was given the site through IObjectWithSite too.
    EXPECT_EQ(static_cast<IUnknown*>(pSite), ComQuery<IUnknown>(pObject->ObjectSite()).Get());

    const auto pInPlace = ComQuery<IOleInPlaceSiteWindowless>(pSite);
    HWND hWnd = nullptr;
    EXPECT_EQ(S_OK, pInPlace->GetWindow(&hWnd));
    EXPECT_EQ(pControl->GetHostWindow(), hWnd);
    EXPECT_EQ(S_OK, pInPlace->CanWindowlessActivate());
    EXPECT_EQ(S_FALSE, pInPlace->GetCapture());
    EXPECT_EQ(E_NOTIMPL, pInPlace->Scroll(SIZE{1, 1}));
    EXPECT_EQ(S_OK, pInPlace->SetFocus(TRUE));
    EXPECT_EQ(S_OK, pInPlace->GetFocus());
    EXPECT_TRUE(pControl->IsFocused());

    // The frame reports the paint window and has no tool space.
    ASSERT_NE(nullptr, pObject->Frame());
    HWND hFrame = nullptr;
    EXPECT_EQ(S_OK, pObject->Frame()->GetWindow(&hFrame));
    EXPECT_EQ(m_window.GetHWND(), hFrame);
    BORDERWIDTHS widths = {};
    EXPECT_EQ(INPLACE_E_NOTOOLSPACE, pObject->Frame()->RequestBorderSpace(&widths));
    EXPECT_EQ(S_FALSE, pObject->Frame()->TranslateAccelerator(nullptr, 0));
    EXPECT_EQ(m_window.GetHWND(), pObject->FrameInfo().hwndFrame);
    EXPECT_FALSE(pObject->FrameInfo().fMDIApp);
    EXPECT_NE(nullptr, pObject->FrameInfo().haccel);
    EXPECT_EQ(1u, pObject->FrameInfo().cAccelEntries);

    // The container enumerates the one object, once.
    CUIComPtr<IOleContainer> pContainer;
    ASSERT_EQ(S_OK, pSite->GetContainer(pContainer.ReleaseAndGetAddressOf()));
    CUIComPtr<IEnumUnknown> pEnum;
    ASSERT_EQ(S_OK, pContainer->EnumObjects(OLECONTF_EMBEDDINGS, pEnum.ReleaseAndGetAddressOf()));
    IUnknown* items[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_OK, pEnum->Next(1, items, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(static_cast<IOleObject*>(pObject), ComQuery<IOleObject>(items[0]).Get());
    items[0]->Release();
    EXPECT_EQ(S_FALSE, pEnum->Next(1, items, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_OK, pEnum->Reset());
    EXPECT_EQ(S_FALSE, pEnum->Next(2, items, &fetched)); // fewer than asked for
    EXPECT_EQ(1u, fetched);
    items[0]->Release();

    const auto pControlSite = ComQuery<IOleControlSite>(pSite);
    CUIComPtr<IDispatch> pExtended;
    EXPECT_EQ(S_OK, pControlSite->GetExtendedControl(pExtended.ReleaseAndGetAddressOf()));
    EXPECT_EQ(pObject->AsDispatch(), pExtended.Get());
    EXPECT_EQ(S_FALSE, pControlSite->TranslateAccelerator(nullptr, 0));
}

TEST_F(ActiveXTest, ReleaseClosesTheObjectAndDetachesTheSite)
{
    CActiveXUI* pControl = HostTestObject(false);
    CUIComPtr<CTestOleObject> pObject(CTestClassRegistration::Last());
    ASSERT_TRUE(pObject);
    const HWND hHost = pControl->GetHostWindow();
    CUIComPtr<IOleClientSite> pSite(pObject->ClientSite());

    pControl->ReleaseControl();
    EXPECT_TRUE(pObject->HasCall(L"Close nosave"));
    EXPECT_TRUE(pObject->HasCall(L"SetClientSite null"));
    EXPECT_TRUE(pObject->HasCall(L"SetSite null"));
    EXPECT_FALSE(pObject->IsActive());
    EXPECT_FALSE(::IsWindow(hHost));
    EXPECT_EQ(nullptr, pControl->GetHostWindow());
    void* p = nullptr;
    EXPECT_EQ(E_PENDING, pControl->GetControl(IID_IUnknown, &p));

    // Only the test's own references are left: the registry's and this one.
    EXPECT_EQ(2u, pObject->RefCount());
    // A site that outlives its control answers nothing.
    HWND hWnd = nullptr;
    EXPECT_EQ(E_UNEXPECTED, ComQuery<IOleInPlaceSite>(pSite.Get())->GetWindow(&hWnd));
    EXPECT_EQ(E_UNEXPECTED, pSite->ShowObject());
}

TEST_F(ActiveXTest, DestroyingTheWindowFirstLeavesNothingDangling)
{
    auto window = std::make_unique<CTestHostWindow>(400, 300);
    CActiveXUI* pControl = HostTestObject(false, *window);
    CUIComPtr<CTestOleObject> pObject(CTestClassRegistration::Last());
    ASSERT_TRUE(pObject);
    const HWND hHost = pControl->GetHostWindow();
    ASSERT_TRUE(::IsWindow(hHost));
    // The parent takes the host window with it; the control then lets the
    // object go when the paint manager deletes it.
    window->Destroy();
    EXPECT_FALSE(::IsWindow(hHost));
    EXPECT_EQ(nullptr, pControl->GetHostWindow());
    window.reset();
    EXPECT_TRUE(pObject->HasCall(L"Close nosave"));
    // Only the test's own references are left: the registry's and this one.
    EXPECT_EQ(2u, pObject->RefCount());
}

TEST_F(ActiveXTest, CreationFailuresLeaveTheControlEmpty)
{
    CActiveXUI unknownClass;
    unknownClass.CreateControl(L"{5B0C39E4-7A21-4C6E-9F0B-3D62A7C1E8FF}");
    EXPECT_FALSE(unknownClass.DoCreateControl());
    void* p = nullptr;
    EXPECT_EQ(E_PENDING, unknownClass.GetControl(IID_IUnknown, &p));

    CTestClassRegistration::Options().initNewResult = E_FAIL;
    CActiveXUI failingInit;
    failingInit.CreateControl(kTestObjectClsid);
    EXPECT_FALSE(failingInit.DoCreateControl());
    ASSERT_EQ(1u, CTestClassRegistration::Created().size());
    EXPECT_FALSE(CTestClassRegistration::Last()->IsActive());
    failingInit.ReleaseControl();
    EXPECT_EQ(1u, CTestClassRegistration::Last()->RefCount());
}

TEST_F(ActiveXTest, ModuleClassFactoryAndFallback)
{
    wchar_t exePath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exePath, MAX_PATH);

    // Only this exe's DllGetClassObject serves the class id.
    CActiveXUI fromModule;
    fromModule.SetModuleName(exePath);
    fromModule.CreateControl(kModuleOnlyClsid);
    EXPECT_TRUE(fromModule.DoCreateControl());
    EXPECT_EQ(1u, CTestClassRegistration::Created().size());

    CActiveXUI withoutModule;
    withoutModule.CreateControl(kModuleOnlyClsid);
    EXPECT_FALSE(withoutModule.DoCreateControl());

    // A module that cannot be loaded falls back to the registered class.
    CActiveXUI missingModule;
    missingModule.SetModuleName(L"Z:\\no\\such\\module.dll");
    missingModule.CreateControl(kTestObjectClsid);
    EXPECT_TRUE(missingModule.DoCreateControl());
    EXPECT_EQ(2u, CTestClassRegistration::Created().size());
}

} // namespace
