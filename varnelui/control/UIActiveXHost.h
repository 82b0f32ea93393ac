#pragma once
// The container side of ActiveX hosting: the site a hosted object talks to,
// the in-place frame, the enumerator of the container's objects and the child
// window that windowed objects live in.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIWindow.h"
#include "varnelui/control/UIActiveX.h"

#include <ocidl.h>
#include <oleidl.h>

namespace VarnelUI {

class CActiveXWnd;

// The site: one per hosted object, created by CActiveXUI::DoCreateControl and
// kept alive by the references the object takes. The owner pointer is cleared
// when the control lets the object go; every call after that is unexpected.
class VARNELUI_API CActiveXCtrl : public IOleClientSite,
                                  public IOleInPlaceSiteWindowless,
                                  public IOleControlSite,
                                  public IObjectWithSite,
                                  public IOleContainer
{
    friend class CActiveXUI;
    friend class CActiveXWnd;

public:
    CActiveXCtrl();
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    // IUnknown
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    // IObjectWithSite
    STDMETHOD(SetSite)(IUnknown* pUnkSite) override;
    STDMETHOD(GetSite)(REFIID riid, LPVOID* ppvSite) override;

    // IOleClientSite
    STDMETHOD(SaveObject)() override;
    STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
    STDMETHOD(GetContainer)(IOleContainer** ppContainer) override;
    STDMETHOD(ShowObject)() override;
    STDMETHOD(OnShowWindow)(BOOL fShow) override;
    STDMETHOD(RequestNewObjectLayout)() override;

    // IOleInPlaceSiteWindowless
    STDMETHOD(CanWindowlessActivate)() override;
    STDMETHOD(GetCapture)() override;
    STDMETHOD(SetCapture)(BOOL fCapture) override;
    STDMETHOD(GetFocus)() override;
    STDMETHOD(SetFocus)(BOOL fFocus) override;
    STDMETHOD(GetDC)(LPCRECT pRect, DWORD grfFlags, HDC* phDC) override;
    STDMETHOD(ReleaseDC)(HDC hDC) override;
    STDMETHOD(InvalidateRect)(LPCRECT pRect, BOOL fErase) override;
    STDMETHOD(InvalidateRgn)(HRGN hRGN, BOOL fErase) override;
    STDMETHOD(ScrollRect)(INT dx, INT dy, LPCRECT pRectScroll, LPCRECT pRectClip) override;
    STDMETHOD(AdjustRect)(LPRECT prc) override;
    STDMETHOD(OnDefWindowMessage)(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override;

    // IOleInPlaceSiteEx
    STDMETHOD(OnInPlaceActivateEx)(BOOL* pfNoRedraw, DWORD dwFlags) override;
    STDMETHOD(OnInPlaceDeactivateEx)(BOOL fNoRedraw) override;
    STDMETHOD(RequestUIActivate)() override;

    // IOleInPlaceSite
    STDMETHOD(CanInPlaceActivate)() override;
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override;
    STDMETHOD(GetWindowContext)(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHOD(Scroll)(SIZE scrollExtant) override;
    STDMETHOD(OnUIDeactivate)(BOOL fUndoable) override;
    STDMETHOD(OnInPlaceDeactivate)() override;
    STDMETHOD(DiscardUndoState)() override;
    STDMETHOD(DeactivateAndUndo)() override;
    STDMETHOD(OnPosRectChange)(LPCRECT lprcPosRect) override;

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;

    // IOleControlSite
    STDMETHOD(OnControlInfoChanged)() override;
    STDMETHOD(LockInPlaceActive)(BOOL fLock) override;
    STDMETHOD(GetExtendedControl)(IDispatch** ppDisp) override;
    STDMETHOD(TransformCoords)(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    STDMETHOD(TranslateAccelerator)(MSG* pMsg, DWORD grfModifiers) override;
    STDMETHOD(OnFocus)(BOOL fGotFocus) override;
    STDMETHOD(ShowPropertyFrame)() override;

    // IOleContainer
    STDMETHOD(EnumObjects)(DWORD grfFlags, IEnumUnknown** ppenum) override;
    STDMETHOD(LockContainer)(BOOL fLock) override;

    // IParseDisplayName
    STDMETHOD(ParseDisplayName)(IBindCtx* pbc, LPOLESTR pszDisplayName, ULONG* pchEaten, IMoniker** ppmkOut) override;

protected:
    virtual ~CActiveXCtrl();

    // Called by the owner when it lets the object go: forgets the owner and
    // drops what the site holds of the object, which may outlive the control.
    void Detach();

    // The child window of windowed objects, made on first need.
    HRESULT CreateActiveXWnd();
    void DestroyActiveXWnd();
    // The host window went away on its own (its parent was destroyed).
    void OnWindowDestroyed(CActiveXWnd* pWindow, HWND hWnd);
    // The window the object's device contexts and capture belong to.
    HWND GetOwnerWindow() const;
    // Paint window of the owner's manager, or null.
    HWND GetPaintWindow() const;

    ULONG m_dwRef;
    CActiveXUI* m_pOwner;
    CActiveXWnd* m_pWindow;
    CUIComPtr<IUnknown> m_pUnkSite;
    CUIComPtr<IViewObject> m_pViewObject;
    // IOleInPlaceObject of the active object; for windowless objects also
    // held as IOleInPlaceObjectWindowless for their input.
    CUIComPtr<IOleInPlaceObject> m_pInPlaceObject;
    CUIComPtr<IOleInPlaceObjectWindowless> m_pWindowlessObject;
    bool m_bLocked;
    bool m_bFocused;
    bool m_bCaptured;
    bool m_bUIActivated;
    bool m_bInPlaceActive;
    bool m_bWindowless;
    // OleLockRunning taken at activation, given back at deactivation.
    bool m_bLockedRunning;
    // Handed out by GetWindowContext; the object may keep using it while it is
    // active, so it lives as long as the site.
    HACCEL m_hAccel;
};

// The in-place frame handed out by GetWindowContext.
class VARNELUI_API CActiveXFrameWnd : public IOleInPlaceFrame
{
public:
    // The object may keep the frame after the control is gone, so the frame
    // remembers the paint window it reports instead of the control.
    explicit CActiveXFrameWnd(HWND hWndFrame);
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    // IOleInPlaceFrame
    STDMETHOD(InsertMenus)(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    STDMETHOD(SetMenu)(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
    STDMETHOD(RemoveMenus)(HMENU hmenuShared) override;
    STDMETHOD(SetStatusText)(LPCOLESTR pszStatusText) override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, WORD wID) override;

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;

    // IOleInPlaceUIWindow
    STDMETHOD(GetBorder)(LPRECT lprectBorder) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;

protected:
    virtual ~CActiveXFrameWnd() = default;

    ULONG m_dwRef;
    HWND m_hWndFrame;
    CUIComPtr<IOleInPlaceActiveObject> m_pActiveObject;
};

// Enumerates the one object a host holds.
class VARNELUI_API CActiveXEnum : public IEnumUnknown
{
public:
    explicit CActiveXEnum(IUnknown* pUnk);
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    STDMETHOD(Next)(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHOD(Skip)(ULONG celt) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** ppenum) override;

protected:
    virtual ~CActiveXEnum() = default;

    LONG m_iPos;
    ULONG m_dwRef;
    CUIComPtr<IUnknown> m_pUnk;
};

// The child window a windowed object is active in. It deletes itself on its
// final message and then tells its site, so the site never holds a dead one.
class VARNELUI_API CActiveXWnd final : public CWindowWnd
{
public:
    CActiveXWnd() = default;

    HWND Init(CActiveXCtrl* pOwner, HWND hWndParent);
    void Detach();

    LPCWSTR GetWndClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    void DoVerb(LONG iVerb);

    CActiveXCtrl* m_pOwner = nullptr;
};

} // namespace VarnelUI
