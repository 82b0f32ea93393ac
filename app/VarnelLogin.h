#pragma once
// The launcher's first window: the borderless login frame drawn from
// "login.xml", sized and with its two buttons placed from the launch settings.
// Its destruction ends the program.

#include "varnelui/core/UIWindowImplBase.h"

class CVarnelWebFrame;

class CVarnelLogin : public VarnelUI::WindowImplBase
{
public:
    CVarnelLogin() = default;

    LPCWSTR GetWndClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    void OnClick(VarnelUI::TNotifyUI& msg) override;
    VarnelUI::CUIString GetSkinDir() const override;
    VarnelUI::CUIString GetSkinXml() const override;
    // Neither Enter nor Escape closes the launcher.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    VarnelUI::UI_RESOURCETYPE GetResourceType() const override;
    UINT GetResourceID() const override;
    // Posts the quit message that ends the launcher's message loop.
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    // Floats `name` onto `rc` (login-frame client pixels).
    void PlaceButton(LPCWSTR name, const RECT& rc);

    // The login web window; null before InitWindow and once its window is gone.
    CVarnelWebFrame* m_pWebFrame = nullptr;
};

// The process's one login frame, made on the first call; null only when it
// cannot be allocated. The object deletes itself when its window is gone.
CVarnelLogin* GetLoginFrame();
