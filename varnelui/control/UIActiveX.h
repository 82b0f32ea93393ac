#pragma once
// A control that hosts an ActiveX control (an OLE embedding object) and keeps
// it in-place active over the rectangle the layout gives it, either
// windowless (drawn into the window's paint and fed through the paint
// manager's message filter) or inside a child host window.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIComPtr.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/control/UIControl.h"

#include <ole2.h>

namespace VarnelUI {

class CActiveXCtrl;

class VARNELUI_API CActiveXUI : public CControlUI, public IMessageFilterUI
{
    friend class CActiveXCtrl;
    friend class CActiveXWnd;

public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ActiveX", L"ActiveXUI", L"ActiveX"};

    CActiveXUI();
    ~CActiveXUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    // Closes and releases the hosted object and detaches the site.
    virtual void ReleaseControl();
    // Creates the object for the class id, attaches the site and activates it.
    virtual bool DoCreateControl();

    // Input for windowless objects, offered by the paint manager.
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // "{...}" is a class id, anything else a program id.
    bool CreateControl(LPCWSTR pstrCLSID);
    bool CreateControl(const CLSID& clsid);
    HRESULT GetControl(const IID& iid, LPVOID* ppRet);
    CLSID GetClisd() const;
    // The window the object is active in: the paint window when windowless,
    // the host window when windowed; null before activation.
    HWND GetHostWindow() const;

    bool IsDelayCreate() const;
    void SetDelayCreate(bool bDelayCreate = true);

    const CUIString& GetModuleName() const;
    void SetModuleName(LPCWSTR pstrText);

protected:
    // The object's in-place rectangle: the control's, moved to the origin for
    // windowed objects, whose host window already sits at the control.
    RECT GetObjectRect() const;
    bool IsWindowedActive() const;
    // IOleObject from the module's own class factory, or null.
    CUIComPtr<IOleObject> CreateFromModule();

    CLSID m_clsid;
    bool m_bCreated;
    bool m_bDelayCreate;
    CUIString m_sModuleName;
    CUIComPtr<IOleObject> m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;
};

} // namespace VarnelUI
