#pragma once
// The base of every skinned window: a borderless native window whose content is
// a control tree built from a skin document, with hit testing for dragging and
// resizing, rounded corners, a maximised size that fits the monitor's work
// area, the standard title-bar button names and the default keys.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UINotifyPump.h"
#include "varnelui/core/UIWindow.h"

namespace VarnelUI {

class VARNELUI_API WindowImplBase : public CWindowWnd,
                                    public CNotifyPump,
                                    public INotifyUI,
                                    public IMessageFilterUI,
                                    public IDialogBuilderCallback
{
public:
    WindowImplBase();

    // ---- the CWindowWnd slots, then the window's own, in this order -----------
    LPCWSTR GetWndClassName() const override = 0;
    LPCWSTR GetSuperClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    ~WindowImplBase() override;

    // Called once the skin is built and attached.
    virtual void InitWindow();
    // "closebtn", "minbtn", "maxbtn", "restorebtn" act like the title bar's buttons.
    virtual void OnClick(TNotifyUI& msg);
    virtual CUIString GetSkinDir() const = 0;
    // A skin file name, or for UI_FROM_RESOURCE the decimal id of an "xml" resource.
    virtual CUIString GetSkinXml() const = 0;
    // Return (13) and Escape (27) from the message loop; Escape closes with 1.
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual UI_RESOURCETYPE GetResourceType() const;
    virtual CUIString GetZIPFileName() const;
    // Id of the "ZIPRES" resource for UI_FROM_ZIPRESOURCE.
    virtual UINT GetResourceID() const;

    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnErasebkgnd(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    // Messages the switch does not know, before the paint manager sees them.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    // The window's style as it is now, without the caption bits.
    virtual DWORD GetStyle() const;

    // ---- receivers -----------------------------------------------------------
    void Notify(TNotifyUI& msg) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    // No controls of its own: the builder's classes serve.
    CControlUI* CreateControl(LPCWSTR pstrClass) override;

    CPaintManagerUI& GetPaintManager() { return m_pm; }

    UI_DECLARE_MESSAGE_MAP()

protected:
    CPaintManagerUI m_pm;

    // The skin archive resource, copied out by the first window that needs it
    // and installed as the process's archive; the archive handle reads these
    // bytes in place for as long as the process runs.
    static LPBYTE m_lpResourceZIPBuffer;
    static DWORD m_dwResourceZIPSize;

private:
    // Copies the "ZIPRES" resource once per process; false when it is missing,
    // unloadable or empty.
    bool LoadResourceZip();
};

} // namespace VarnelUI
