#pragma once
// The text host of a windowless rich edit. The platform's text services ask
// it for their settings (client rectangle, character and paragraph format,
// property bits, limits) and hand it the caret, the mouse capture, timers,
// invalidation and change reports, which it routes through the owning
// control's window and paint manager.

#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIDefines.h"

#include <imm.h>
#include <richedit.h>
#include <textserv.h>

namespace VarnelUI {

class CControlUI;

// Text services call their host through a plain C++ vtable: on 32-bit x86
// that is __thiscall in the platform's own headers and libraries, so every
// ITextHost method is declared __thiscall explicitly (the 64-bit ABI has a
// single convention and ignores it). IUnknown stays __stdcall.
class CRichEditHost final : public ITextHost
{
public:
    // The owner must outlive the host's use; Shutdown ends it.
    explicit CRichEditHost(CControlUI& owner);
    CRichEditHost(const CRichEditHost&) = delete;
    CRichEditHost& operator=(const CRichEditHost&) = delete;

    // Creates the text services object for this host, from msftedit.dll or,
    // failing that, riched20.dll. False when neither library offers one.
    bool CreateServices();
    ITextServices* Services() const { return m_pServices.Get(); }
    // Deactivates and releases the text services and forgets the owner, so
    // calls still arriving through other references do nothing.
    void Shutdown();

    // Sends a message to the text services; 0 without them. The result of the
    // call itself (S_OK when they acted on the message) goes to *phr.
    LRESULT Send(UINT uMsg, WPARAM wParam, LPARAM lParam, HRESULT* phr = nullptr) const;
    // Whether the services reported a change of the text since the last call.
    bool TakeChangeReport();

    // ---- settings; each reaches running text services at once ---------------
    // The rectangle the text is laid out and drawn in, in window coordinates.
    // The first non-empty one activates the services in place.
    void SetClientRect(const RECT& rc);
    const RECT& GetClientRect() const { return m_rcClient; }
    // TXTBIT_ property bits.
    bool HasPropertyBit(DWORD dwBit) const { return (m_dwPropertyBits & dwBit) != 0; }
    void SetPropertyBit(DWORD dwBit, bool bOn);
    // WS_VSCROLL, WS_HSCROLL, ES_AUTOVSCROLL, ES_AUTOHSCROLL.
    bool HasScrollBarStyle(DWORD dwStyle) const { return (m_dwScrollBars & dwStyle) != 0; }
    void SetScrollBarStyle(DWORD dwStyle, bool bOn);
    // The most characters the text may hold, kNoTextLimit by default.
    static constexpr DWORD kNoTextLimit = 0x7FFFFFFF;
    DWORD GetMaxLength() const { return m_dwMaxLength; }
    void SetMaxLength(DWORD dwMaxLength);
    // The default character format: the font's face, size and effects in the colour.
    void SetCharFormat(HFONT hFont, COLORREF crText);
    // An opaque field is filled with the owner's background colour, or the
    // system's window colour when it has none.
    bool IsTransparent() const { return m_bTransparent; }
    void SetTransparent(bool bTransparent);

    // ---- IUnknown -----------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ---- ITextHost ----------------------------------------------------------
    HDC __thiscall TxGetDC() override;
    INT __thiscall TxReleaseDC(HDC hdc) override;
    WINBOOL __thiscall TxShowScrollBar(INT fnBar, WINBOOL fShow) override;
    WINBOOL __thiscall TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
    WINBOOL __thiscall TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL fRedraw) override;
    WINBOOL __thiscall TxSetScrollPos(INT fnBar, INT nPos, WINBOOL fRedraw) override;
    void __thiscall TxInvalidateRect(LPCRECT prc, WINBOOL fMode) override;
    void __thiscall TxViewChange(WINBOOL fUpdate) override;
    WINBOOL __thiscall TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    WINBOOL __thiscall TxShowCaret(WINBOOL fShow) override;
    WINBOOL __thiscall TxSetCaretPos(INT x, INT y) override;
    WINBOOL __thiscall TxSetTimer(UINT idTimer, UINT uTimeout) override;
    void __thiscall TxKillTimer(UINT idTimer) override;
    void __thiscall TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip, HRGN hrgnUpdate,
                                     LPRECT lprcUpdate, UINT fuScroll) override;
    void __thiscall TxSetCapture(WINBOOL fCapture) override;
    void __thiscall TxSetFocus() override;
    void __thiscall TxSetCursor(HCURSOR hcur, WINBOOL fText) override;
    WINBOOL __thiscall TxScreenToClient(LPPOINT lppt) override;
    WINBOOL __thiscall TxClientToScreen(LPPOINT lppt) override;
    HRESULT __thiscall TxActivate(LONG* plOldState) override;
    HRESULT __thiscall TxDeactivate(LONG lNewState) override;
    HRESULT __thiscall TxGetClientRect(LPRECT prc) override;
    HRESULT __thiscall TxGetViewInset(LPRECT prc) override;
    HRESULT __thiscall TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT __thiscall TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF __thiscall TxGetSysColor(int nIndex) override;
    HRESULT __thiscall TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT __thiscall TxGetMaxLength(DWORD* plength) override;
    HRESULT __thiscall TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT __thiscall TxGetPasswordChar(TCHAR* pch) override;
    HRESULT __thiscall TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT __thiscall TxGetExtent(LPSIZEL lpExtent) override;
    HRESULT __thiscall OnTxCharFormatChange(const CHARFORMATW* pcf) override;
    HRESULT __thiscall OnTxParaFormatChange(const PARAFORMAT* ppf) override;
    HRESULT __thiscall TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT __thiscall TxNotify(DWORD iNotify, void* pv) override;
    HIMC __thiscall TxImmGetContext() override;
    void __thiscall TxImmReleaseContext(HIMC himc) override;
    HRESULT __thiscall TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

private:
    ~CRichEditHost() = default;

    HWND GetWindow() const;
    // Tells running text services that settings under these TXTBIT_ bits changed.
    void NotifyChange(DWORD dwBits) const;

    ULONG m_cRef = 1;
    CControlUI* m_pOwner;
    CUIComPtr<ITextServices> m_pServices;
    bool m_bActive = false;
    bool m_bCaretShown = false;
    bool m_bChangeReported = false;

    RECT m_rcClient = {};
    DWORD m_dwPropertyBits;
    DWORD m_dwScrollBars;
    DWORD m_dwMaxLength;
    bool m_bTransparent = true;
    CHARFORMATW m_charFormat = {};
    PARAFORMAT m_paraFormat = {};
};

} // namespace VarnelUI
