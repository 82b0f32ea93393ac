// The ActiveX host control: creation of the hosted object, its placement,
// painting and input. The site, frame and host window are in UIActiveXHost.cpp.

#include "varnelui/control/UIActiveX.h"
#include "varnelui/control/UIActiveXHost.h"
#include "varnelui/core/UIAttrParse.h"

#include <cwchar>
#include <new>

namespace VarnelUI {

namespace {

const CControlRegistration<CActiveXUI> kRegistration;

using AttrParse::AttrSyntax;
using AttrParse::TAttributeEntry;

const TAttributeEntry<CActiveXUI> kActiveXAttributes[] = {
    {L"clsid", AttrSyntax::Text, [](CActiveXUI& c, LPCWSTR v) { c.CreateControl(v); }},
    {L"modulename", AttrSyntax::Text, [](CActiveXUI& c, LPCWSTR v) { c.SetModuleName(v); }},
    {L"delaycreate", AttrSyntax::Bool, [](CActiveXUI& c, LPCWSTR v) { c.SetDelayCreate(AttrParse::ParseBool(v)); }},
};

// In-process server, in-process handler, local server and remote server.
constexpr DWORD kCreateContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

constexpr UINT kFirstMouseMessage = WM_MOUSEMOVE; // 0x200
constexpr UINT kLastMouseMessage = 0x020D;        // WM_XBUTTONDBLCLK
constexpr UINT kFirstKeyMessage = WM_KEYDOWN;     // 0x100
constexpr UINT kLastKeyMessage = 0x0108;

// Pixels to HIMETRIC (0.01 mm) at the screen's resolution.
SIZEL PixelsToHimetric(int cx, int cy)
{
    const HDC hDC = ::GetDC(nullptr);
    const int dpiX = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSX) : 96;
    const int dpiY = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSY) : 96;
    if (hDC != nullptr) ::ReleaseDC(nullptr, hDC);
    return SIZEL{::MulDiv(2540, cx, dpiX), ::MulDiv(2540, cy, dpiY)};
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL),
      m_bCreated(false),
      m_bDelayCreate(true),
      m_pControl(nullptr),
      m_hwndHost(nullptr)
{
}

CActiveXUI::~CActiveXUI()
{
    CActiveXUI::ReleaseControl();
}

LPCWSTR CActiveXUI::GetClass() const
{
    return kNames.className;
}

LPVOID CActiveXUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CActiveXUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

HWND CActiveXUI::GetHostWindow() const
{
    return m_hwndHost;
}

CLSID CActiveXUI::GetClisd() const
{
    return m_clsid;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate) return;
    if (!bDelayCreate && !m_bCreated && !::IsEqualGUID(m_clsid, GUID_NULL)) DoCreateControl();
    m_bDelayCreate = bDelayCreate;
}

const CUIString& CActiveXUI::GetModuleName() const
{
    return m_sModuleName;
}

void CActiveXUI::SetModuleName(LPCWSTR pstrText)
{
    m_sModuleName = pstrText;
}

bool CActiveXUI::IsWindowedActive() const
{
    return m_pControl != nullptr && !m_pControl->m_bWindowless;
}

RECT CActiveXUI::GetObjectRect() const
{
    RECT rc = m_rcItem;
    if (IsWindowedActive()) ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

void CActiveXUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!AttrParse::ApplyFromTable(kActiveXAttributes, *this, pstrName, pstrValue))
        CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---- placement and visibility ---------------------------------------------------

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);

    // Delay-created objects come to life at their first layout.
    if (!m_bCreated) DoCreateControl();

    if (!m_pUnk || m_pControl == nullptr) return;

    SIZEL hmSize = PixelsToHimetric(m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top);
    m_pUnk->SetExtent(DVASPECT_CONTENT, &hmSize);

    if (m_pControl->m_pInPlaceObject) {
        RECT rcObject = GetObjectRect();
        m_pControl->m_pInPlaceObject->SetObjectRects(&rcObject, &rcObject);
    }
    if (IsWindowedActive() && m_pControl->m_pWindow != nullptr) {
        ::MoveWindow(m_pControl->m_pWindow->GetHWND(), m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
    }
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    if (IsWindowedActive() && m_hwndHost != nullptr) ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    if (IsWindowedActive() && m_hwndHost != nullptr) ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

// ---- painting and windowless input ----------------------------------------------

void CActiveXUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    // The object paints the whole control; no background, text or border here.
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    if (m_pControl == nullptr || !m_pControl->m_bWindowless || !m_pControl->m_pViewObject) return;

    RECTL rcBounds = {m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcBounds, nullptr, nullptr,
                                    0);
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pControl == nullptr || !m_pControl->m_bInPlaceActive || !m_pControl->m_pWindowlessObject) return 0;
    // A hidden control must not take the clicks meant for what is drawn there.
    if (!IsVisible()) return 0;

    const bool bMouse = uMsg >= kFirstMouseMessage && uMsg <= kLastMouseMessage;
    const bool bKeyboard = uMsg >= kFirstKeyMessage && uMsg <= kLastKeyMessage;
    bool bWasHandled = true;

    if (bMouse || uMsg == WM_SETCURSOR) {
        if (bMouse && !IsMouseEnabled()) return 0;
        if (!m_pControl->m_bCaptured) {
            // WM_SETCURSOR carries no point and the wheel a screen point: both
            // are tested where the cursor is, in client coordinates.
            POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (uMsg == WM_SETCURSOR || uMsg == WM_MOUSEWHEEL) {
                if (uMsg == WM_SETCURSOR) ::GetCursorPos(&pt);
                ::ScreenToClient(m_hwndHost, &pt);
            }
            DWORD dwHitResult = HITRESULT_OUTSIDE;
            if (const auto pViewEx = ComQuery<IViewObjectEx>(m_pControl->m_pViewObject.Get())) {
                pViewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &dwHitResult);
            } else if (::PtInRect(&m_rcItem, pt)) {
                // Without IViewObjectEx the object cannot be asked: it owns its rectangle.
                dwHitResult = HITRESULT_HIT;
            }
            if (dwHitResult != HITRESULT_HIT) return 0;
        }
        if (uMsg == WM_SETCURSOR) bWasHandled = false;
    } else if (bKeyboard) {
        if (!IsFocused()) return 0;
    } else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        bWasHandled = false;
    } else {
        return 0;
    }

    LRESULT lResult = 0;
    const HRESULT hr = m_pControl->m_pWindowlessObject->OnWindowMessage(uMsg, wParam, lParam, &lResult);
    if (hr == S_OK) bHandled = bWasHandled;
    return lResult;
}

// ---- creation -----------------------------------------------------------------------

bool CActiveXUI::CreateControl(LPCWSTR pstrCLSID)
{
    wchar_t szCLSID[100] = {};
    if (pstrCLSID != nullptr) ::lstrcpynW(szCLSID, pstrCLSID, 100);

    CLSID clsid = GUID_NULL;
    const HRESULT hr = szCLSID[0] == L'{' ? ::CLSIDFromString(szCLSID, &clsid) : ::CLSIDFromProgID(szCLSID, &clsid);
    // An unknown id leaves no class id, so nothing gets created.
    if (FAILED(hr)) clsid = GUID_NULL;
    return CreateControl(clsid);
}

bool CActiveXUI::CreateControl(const CLSID& clsid)
{
    if (::IsEqualGUID(clsid, GUID_NULL)) return false;
    m_bCreated = false;
    m_clsid = clsid;
    if (!m_bDelayCreate) DoCreateControl();
    return true;
}

HRESULT CActiveXUI::GetControl(const IID& iid, LPVOID* ppRet)
{
    if (ppRet == nullptr) return E_POINTER;
    *ppRet = nullptr;
    if (!m_pUnk) return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppRet);
}

CUIComPtr<IOleObject> CActiveXUI::CreateFromModule()
{
    CUIComPtr<IOleObject> pObject;
    if (m_sModuleName.IsEmpty()) return pObject;

    const HMODULE hModule = ::LoadLibraryW(m_sModuleName);
    if (hModule == nullptr) return pObject;

    using DllGetClassObjectProc = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    union
    {
        FARPROC proc;
        DllGetClassObjectProc getClassObject;
    } entry;
    entry.proc = ::GetProcAddress(hModule, "DllGetClassObject");
    if (entry.proc != nullptr) {
        CUIComPtr<IClassFactory> pFactory;
        entry.getClassObject(m_clsid, __uuidof(IClassFactory), pFactory.ReleaseAndGetVoidAddress());
        if (pFactory) pFactory->CreateInstance(nullptr, __uuidof(IOleObject), pObject.ReleaseAndGetVoidAddress());
    }
    // The module stays loaded while an object of it lives: its code is the
    // object's. Nothing of it lives when creation failed.
    if (!pObject) ::FreeLibrary(hModule);
    return pObject;
}

bool CActiveXUI::DoCreateControl()
{
    ReleaseControl();
    m_bCreated = true;

    CUIComPtr<IOleObject> pObject = CreateFromModule();
    if (!pObject) {
        CUIComPtr<IOleControl> pOleControl;
        ::CoCreateInstance(m_clsid, nullptr, kCreateContext, __uuidof(IOleControl),
                           pOleControl.ReleaseAndGetVoidAddress());
        pObject = ComQuery<IOleObject>(pOleControl.Get());
    }
    if (!pObject) return false;
    m_pUnk = pObject;

    m_pControl = new (std::nothrow) CActiveXCtrl;
    if (m_pControl == nullptr) return false;
    m_pControl->m_pOwner = this;

    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    IOleClientSite* pClientSite = static_cast<IOleClientSite*>(m_pControl);

    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0) m_pUnk->SetClientSite(pClientSite);

    HRESULT hr = E_FAIL;
    if (const auto pPersist = ComQuery<IPersistStreamInit>(m_pUnk.Get())) {
        hr = pPersist->InitNew();
        if (FAILED(hr)) return false;
    }
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) == 0) m_pUnk->SetClientSite(pClientSite);

    // The richest view interface the object offers; all draw alike.
    CUIComPtr<IViewObjectEx> pViewEx;
    CUIComPtr<IViewObject2> pView2;
    CUIComPtr<IViewObject> pView;
    if (SUCCEEDED(hr = pViewEx.QueryFrom(m_pUnk.Get()))) {
        m_pControl->m_pViewObject = CUIComPtr<IViewObject>(pViewEx.Get());
    } else if (SUCCEEDED(hr = pView2.QueryFrom(m_pUnk.Get()))) {
        m_pControl->m_pViewObject = CUIComPtr<IViewObject>(pView2.Get());
    } else if (SUCCEEDED(hr = pView.QueryFrom(m_pUnk.Get()))) {
        m_pControl->m_pViewObject = pView;
    }

    m_pUnk->SetHostNames(L"UIActiveX", nullptr);
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"showactivex", 0, 0, false);

    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0) {
        const HWND hWndParent = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pClientSite, 0, hWndParent, &m_rcItem);
    }
    // The notification or the verb may have released the object again.
    if (!m_pUnk || m_pControl == nullptr) return false;

    if (const auto pWithSite = ComQuery<IObjectWithSite>(m_pUnk.Get()))
        pWithSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
    return SUCCEEDED(hr);
}

void CActiveXUI::ReleaseControl()
{
    m_hwndHost = nullptr;
    if (m_pUnk) {
        if (const auto pWithSite = ComQuery<IObjectWithSite>(m_pUnk.Get())) pWithSite->SetSite(nullptr);
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(nullptr);
        m_pUnk.Reset();
    }
    if (m_pControl != nullptr) {
        // The object may still hold the site; what the site holds of the
        // object and of this control goes now, so nothing keeps either alive.
        m_pControl->Detach();
        m_pControl->Release();
        m_pControl = nullptr;
    }
    if (m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
}

} // namespace VarnelUI
