#pragma once
// The login web window: a borderless, colour-keyed popup glued over the login
// frame that shows the operator's login page, and the point where the launcher
// switches to the game: a navigation to an address with the keyword opens the
// play window instead.

#include "varnelui/control/UIWebBrowserEventHandler.h"
#include "varnelui/core/UIWindowImplBase.h"

class CVarnelPlayFrame;

class CVarnelWebFrame : public VarnelUI::WindowImplBase, public VarnelUI::CWebBrowserEventHandler
{
public:
    CVarnelWebFrame() = default;
    ~CVarnelWebFrame() override;

    LPCWSTR GetWndClassName() const override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    VarnelUI::CUIString GetSkinDir() const override;
    VarnelUI::CUIString GetSkinXml() const override;
    VarnelUI::UI_RESOURCETYPE GetResourceType() const override;
    UINT GetResourceID() const override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // Cancels a navigation to an address containing the keyword and switches
    // to the play window on it.
    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
                         VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel) override;

    // The first call records the offset from the login frame and this window's
    // size; every later call gets the login frame's screen rectangle and puts
    // this window at that offset from it.
    void SetOwnerRect(int left, int top, int right, int bottom);

    // `*ppHolder` points at this object and is cleared when the window goes
    // away on its own (Escape closes it), so the holder never uses a deleted
    // object.
    void SetHolder(CVarnelWebFrame** ppHolder) { m_ppHolder = ppHolder; }

    // The play frame once a keyword navigation created it; null before and
    // after its window is gone.
    CVarnelPlayFrame* GetPlayFrame() const { return m_pPlayFrame; }

private:
    CVarnelPlayFrame* m_pPlayFrame = nullptr;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
    int m_nHeight = 0;
    int m_nWidth = 0;
    // A login web rectangle may legitimately start at 0,0, so the offset
    // itself cannot tell whether it has been recorded.
    bool m_bRectRecorded = false;
    CVarnelWebFrame** m_ppHolder = nullptr;
};
