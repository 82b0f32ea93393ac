#include "varnelui/control/UIRichEditHost.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIColor.h"
#include "varnelui/core/UIManager.h"

#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <utility>

namespace VarnelUI {

namespace {

// The interface ids as riched20.dll has always used them. A library that
// exports its own (msftedit.dll's text services answer to a different
// ITextServices id) is asked with those instead.
constexpr IID kIidTextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
constexpr IID kIidTextHost = {0x13e670f4, 0x1a5a, 0x11cf, {0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1}};

struct TTextServicesLibrary
{
    PCreateTextServices create = nullptr;
    IID iidServices = kIidTextServices;
    IID iidHost = kIidTextHost;
};

IID ExportedIid(HMODULE hModule, LPCSTR pszName, const IID& fallback)
{
    union
    {
        FARPROC proc;
        const IID* iid;
    } exported;
    exported.proc = ::GetProcAddress(hModule, pszName);
    return exported.proc != nullptr ? *exported.iid : fallback;
}

TTextServicesLibrary LoadTextServicesLibrary()
{
    for (LPCWSTR pszName : {L"msftedit.dll", L"riched20.dll"}) {
        const HMODULE hModule = ::LoadLibraryW(pszName);
        if (hModule == nullptr) continue;
        union
        {
            FARPROC proc;
            PCreateTextServices create;
        } entry;
        entry.proc = ::GetProcAddress(hModule, "CreateTextServices");
        if (entry.proc == nullptr) {
            ::FreeLibrary(hModule);
            continue;
        }
        // The library stays loaded for the life of the process: every text
        // services object of every window runs its code.
        TTextServicesLibrary library;
        library.create = entry.create;
        library.iidServices = ExportedIid(hModule, "IID_ITextServices", kIidTextServices);
        library.iidHost = ExportedIid(hModule, "IID_ITextHost", kIidTextHost);
        return library;
    }
    return {};
}

const TTextServicesLibrary& TextServicesLibrary()
{
    static const TTextServicesLibrary library = LoadTextServicesLibrary();
    return library;
}

template <class T>
struct TSameType
{
    using type = T;
};

// Fills an out parameter of the text services; the value converts to its
// type as in an assignment, never by a cast.
template <class T>
HRESULT Answer(T* pOut, const typename TSameType<T>::type& value)
{
    if (pOut == nullptr) return E_INVALIDARG;
    *pOut = value;
    return S_OK;
}

// Twips (1/1440 inch) of a font height given in logical pixels of the screen.
LONG PixelsToTwips(LONG nPixels)
{
    const HDC hScreen = ::GetDC(nullptr);
    const int nDpi = hScreen != nullptr ? ::GetDeviceCaps(hScreen, LOGPIXELSY) : 96;
    if (hScreen != nullptr) ::ReleaseDC(nullptr, hScreen);
    return ::MulDiv(nPixels, 1440, nDpi > 0 ? nDpi : 96);
}

} // namespace

CRichEditHost::CRichEditHost(CControlUI& owner)
    : m_pOwner(&owner),
      m_dwPropertyBits(0),
      m_dwScrollBars(0),
      m_dwMaxLength(kNoTextLimit)
{
    m_paraFormat.cbSize = sizeof(m_paraFormat);
    m_paraFormat.dwMask = PFM_ALL;
    m_paraFormat.wAlignment = PFA_LEFT;
    m_charFormat.cbSize = sizeof(m_charFormat);
}

bool CRichEditHost::CreateServices()
{
    if (m_pServices) return true;
    const TTextServicesLibrary& library = TextServicesLibrary();
    if (library.create == nullptr) return false;
    CUIComPtr<IUnknown> pUnknown;
    if (FAILED(library.create(nullptr, this, pUnknown.ReleaseAndGetAddressOf())) || !pUnknown) return false;
    if (FAILED(pUnknown->QueryInterface(library.iidServices, m_pServices.ReleaseAndGetVoidAddress())) || !m_pServices)
        return false;
    SetMaxLength(m_dwMaxLength);
    return true;
}

void CRichEditHost::Shutdown()
{
    if (m_pServices && m_bActive) m_pServices->OnTxInPlaceDeactivate();
    m_bActive = false;
    m_pServices.Reset();
    m_pOwner = nullptr;
}

LRESULT CRichEditHost::Send(UINT uMsg, WPARAM wParam, LPARAM lParam, HRESULT* phr) const
{
    LRESULT lResult = 0;
    const HRESULT hr = m_pServices ? m_pServices->TxSendMessage(uMsg, wParam, lParam, &lResult) : E_FAIL;
    if (phr != nullptr) *phr = hr;
    return lResult;
}

bool CRichEditHost::TakeChangeReport()
{
    return std::exchange(m_bChangeReported, false);
}

// ---- settings -------------------------------------------------------------------

void CRichEditHost::NotifyChange(DWORD dwBits) const
{
    if (m_pServices) m_pServices->OnTxPropertyBitsChange(dwBits, dwBits);
}

void CRichEditHost::SetClientRect(const RECT& rc)
{
    if (::EqualRect(&rc, &m_rcClient)) return;
    m_rcClient = rc;
    if (!m_pServices) return;
    if (m_bActive) {
        NotifyChange(TXTBIT_CLIENTRECTCHANGE);
    } else if (!::IsRectEmpty(&m_rcClient)) {
        m_bActive = SUCCEEDED(m_pServices->OnTxInPlaceActivate(&m_rcClient));
    }
}

void CRichEditHost::SetPropertyBit(DWORD dwBit, bool bOn)
{
    const DWORD dwBits = bOn ? m_dwPropertyBits | dwBit : m_dwPropertyBits & ~dwBit;
    if (dwBits == m_dwPropertyBits) return;
    m_dwPropertyBits = dwBits;
    if (m_pServices) m_pServices->OnTxPropertyBitsChange(dwBit, bOn ? dwBit : 0);
}

void CRichEditHost::SetScrollBarStyle(DWORD dwStyle, bool bOn)
{
    const DWORD dwStyles = bOn ? m_dwScrollBars | dwStyle : m_dwScrollBars & ~dwStyle;
    if (dwStyles == m_dwScrollBars) return;
    m_dwScrollBars = dwStyles;
    NotifyChange(TXTBIT_SCROLLBARCHANGE);
}

// Not every text services implementation reads the host's limit (wine's
// never does); the limit message reaches them all.
void CRichEditHost::SetMaxLength(DWORD dwMaxLength)
{
    m_dwMaxLength = dwMaxLength;
    Send(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(m_dwMaxLength));
}

void CRichEditHost::SetCharFormat(HFONT hFont, COLORREF crText)
{
    LOGFONTW lf = {};
    if (hFont == nullptr || ::GetObjectW(hFont, sizeof(lf), &lf) == 0) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    CHARFORMATW cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                CFM_STRIKEOUT;
    cf.yHeight = PixelsToTwips(std::labs(lf.lfHeight));
    if (lf.lfWeight >= FW_BOLD) cf.dwEffects |= CFE_BOLD;
    if (lf.lfItalic != 0) cf.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline != 0) cf.dwEffects |= CFE_UNDERLINE;
    if (lf.lfStrikeOut != 0) cf.dwEffects |= CFE_STRIKEOUT;
    cf.crTextColor = crText;
    cf.bCharSet = lf.lfCharSet;
    cf.bPitchAndFamily = lf.lfPitchAndFamily;
    std::wcsncpy(cf.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
    m_charFormat = cf;
    NotifyChange(TXTBIT_CHARFORMATCHANGE);
}

void CRichEditHost::SetTransparent(bool bTransparent)
{
    if (bTransparent == m_bTransparent) return;
    m_bTransparent = bTransparent;
    NotifyChange(TXTBIT_BACKSTYLECHANGE);
}

// ---- IUnknown ---------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CRichEditHost::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != TextServicesLibrary().iidHost) return E_NOINTERFACE;
    *ppvObject = static_cast<ITextHost*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CRichEditHost::AddRef()
{
    return ++m_cRef;
}

ULONG STDMETHODCALLTYPE CRichEditHost::Release()
{
    const ULONG cRef = --m_cRef;
    if (cRef == 0) delete this;
    return cRef;
}

// ---- window services ----------------------------------------------------------------

HWND CRichEditHost::GetWindow() const
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return nullptr;
    return m_pOwner->GetManager()->GetPaintWindow();
}

HDC __thiscall CRichEditHost::TxGetDC()
{
    return ::GetDC(GetWindow());
}

INT __thiscall CRichEditHost::TxReleaseDC(HDC hdc)
{
    return ::ReleaseDC(GetWindow(), hdc);
}

// The services keep their own scroll position and scroll the text by
// themselves; the field draws no bars of theirs, so reports about bars are
// taken and nothing more.
WINBOOL __thiscall CRichEditHost::TxShowScrollBar(INT, WINBOOL)
{
    return TRUE;
}

WINBOOL __thiscall CRichEditHost::TxEnableScrollBar(INT, INT)
{
    return TRUE;
}

WINBOOL __thiscall CRichEditHost::TxSetScrollRange(INT, LONG, INT, WINBOOL)
{
    return TRUE;
}

WINBOOL __thiscall CRichEditHost::TxSetScrollPos(INT, INT, WINBOOL)
{
    return TRUE;
}

void __thiscall CRichEditHost::TxInvalidateRect(LPCRECT prc, WINBOOL)
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr || !m_pOwner->IsVisible()) return;
    RECT rc = m_rcClient;
    if (prc != nullptr && !::IntersectRect(&rc, prc, &m_rcClient)) return;
    m_pOwner->GetManager()->Invalidate(rc);
}

// The next paint of the window shows the new view; painting from inside the
// services' own call would re-enter them.
void __thiscall CRichEditHost::TxViewChange(WINBOOL)
{
}

WINBOOL __thiscall CRichEditHost::TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight)
{
    m_bCaretShown = false; // a new caret starts hidden
    return ::CreateCaret(GetWindow(), hbmp, xWidth, yHeight);
}

WINBOOL __thiscall CRichEditHost::TxShowCaret(WINBOOL fShow)
{
    // The window's caret counts hides; the services' show and hide requests
    // are not always paired, so only real changes reach it.
    const bool bShow = fShow != FALSE;
    if (bShow == m_bCaretShown) return TRUE;
    m_bCaretShown = bShow;
    return bShow ? ::ShowCaret(GetWindow()) : ::HideCaret(GetWindow());
}

WINBOOL __thiscall CRichEditHost::TxSetCaretPos(INT x, INT y)
{
    return ::SetCaretPos(x, y);
}

WINBOOL __thiscall CRichEditHost::TxSetTimer(UINT idTimer, UINT uTimeout)
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return FALSE;
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    // A running timer of the same id is restarted with the new interval.
    pManager->KillTimer(m_pOwner, idTimer);
    return pManager->SetTimer(m_pOwner, idTimer, uTimeout);
}

void __thiscall CRichEditHost::TxKillTimer(UINT idTimer)
{
    if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr) m_pOwner->GetManager()->KillTimer(m_pOwner, idTimer);
}

// The window is painted from an off-screen bitmap, so nothing is scrolled on
// screen: the text's rectangle is painted anew.
void __thiscall CRichEditHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    TxInvalidateRect(nullptr, FALSE);
}

void __thiscall CRichEditHost::TxSetCapture(WINBOOL fCapture)
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return;
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    if (fCapture != FALSE) pManager->SetCapture();
    else if (pManager->IsCaptured()) pManager->ReleaseCapture();
}

void __thiscall CRichEditHost::TxSetFocus()
{
    if (m_pOwner != nullptr) m_pOwner->SetFocus();
}

void __thiscall CRichEditHost::TxSetCursor(HCURSOR hcur, WINBOOL)
{
    ::SetCursor(hcur);
}

WINBOOL __thiscall CRichEditHost::TxScreenToClient(LPPOINT lppt)
{
    return ::ScreenToClient(GetWindow(), lppt);
}

WINBOOL __thiscall CRichEditHost::TxClientToScreen(LPPOINT lppt)
{
    return ::ClientToScreen(GetWindow(), lppt);
}

HRESULT __thiscall CRichEditHost::TxActivate(LONG* plOldState)
{
    if (plOldState != nullptr) *plOldState = 0;
    return S_OK;
}

HRESULT __thiscall CRichEditHost::TxDeactivate(LONG)
{
    return S_OK;
}

HIMC __thiscall CRichEditHost::TxImmGetContext()
{
    return ::ImmGetContext(GetWindow());
}

void __thiscall CRichEditHost::TxImmReleaseContext(HIMC himc)
{
    ::ImmReleaseContext(GetWindow(), himc);
}

// ---- settings the services read -------------------------------------------------------

HRESULT __thiscall CRichEditHost::TxGetClientRect(LPRECT prc)
{
    return Answer(prc, m_rcClient);
}

// The owner's text padding is already outside the client rectangle.
HRESULT __thiscall CRichEditHost::TxGetViewInset(LPRECT prc)
{
    return Answer(prc, RECT{});
}

HRESULT __thiscall CRichEditHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    return Answer(ppCF, &m_charFormat);
}

HRESULT __thiscall CRichEditHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    return Answer(ppPF, &m_paraFormat);
}

COLORREF __thiscall CRichEditHost::TxGetSysColor(int nIndex)
{
    if (nIndex == COLOR_WINDOW && m_pOwner != nullptr && m_pOwner->GetBkColor() != 0)
        return ToColorRef(m_pOwner->GetBkColor());
    return ::GetSysColor(nIndex);
}

HRESULT __thiscall CRichEditHost::TxGetBackStyle(TXTBACKSTYLE* pstyle)
{
    return Answer(pstyle, m_bTransparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE);
}

HRESULT __thiscall CRichEditHost::TxGetMaxLength(DWORD* plength)
{
    return Answer(plength, m_dwMaxLength);
}

HRESULT __thiscall CRichEditHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    return Answer(pdwScrollBar, m_dwScrollBars);
}

HRESULT __thiscall CRichEditHost::TxGetPasswordChar(TCHAR* pch)
{
    return Answer(pch, L'*');
}

HRESULT __thiscall CRichEditHost::TxGetAcceleratorPos(LONG* pcp)
{
    return Answer(pcp, -1);
}

// No zoom: the services measure in the client rectangle's own units.
HRESULT __thiscall CRichEditHost::TxGetExtent(LPSIZEL)
{
    return E_NOTIMPL;
}

// The host's formats are the owner's skin settings; the services may keep
// their own changes without the host taking them over.
HRESULT __thiscall CRichEditHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT __thiscall CRichEditHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT __thiscall CRichEditHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    return Answer(pdwBits, m_dwPropertyBits & dwMask);
}

HRESULT __thiscall CRichEditHost::TxNotify(DWORD iNotify, void*)
{
    if (iNotify == EN_CHANGE) m_bChangeReported = true;
    return S_OK;
}

HRESULT __thiscall CRichEditHost::TxGetSelectionBarWidth(LONG* lSelBarWidth)
{
    return Answer(lSelBarWidth, 0);
}

} // namespace VarnelUI
