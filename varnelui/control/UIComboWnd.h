#pragma once
// The borderless popup a combo opens under (or above) itself. The combo's
// items move into its vertical layout while it is open and go back when it
// closes; it closes on focus loss, Enter, Escape or a click on an item, and
// deletes itself when its window is gone.

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIWindow.h"

namespace VarnelUI {

class CComboUI;
class CVerticalLayoutUI;

class VARNELUI_API CComboWnd final : public CWindowWnd
{
public:
    // Opens the popup for the owner; false when no window could be made
    // (the object is then the caller's to delete).
    bool Init(CComboUI* pOwner);
    // The owner is being destroyed: the items leave the popup at once and
    // the window closes later, since this may run inside its own message.
    void Detach();
    // The owner drops one of its items while the popup shows it.
    void ForgetItem(CControlUI* pControl);
    // Scrolls the popup so the owner's item iIndex is fully in view.
    void EnsureVisible(int iIndex);

    LPCWSTR GetWndClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    CPaintManagerUI& GetManager();
    CVerticalLayoutUI* GetLayout() const;

private:
    // The popup's rectangle in screen coordinates: under the owner, or above
    // it when the primary monitor's work area ends above the popup's bottom.
    RECT CalcPosition() const;
    void OnCreate();
    // Hands the items back to the owner's tree; safe to call more than once.
    void ReturnItems();
    bool OnKeyDown(WPARAM wParam);
    void PassWheelToOwner(WPARAM wParam);

    CPaintManagerUI m_pm;
    CComboUI* m_pOwner = nullptr;
    CVerticalLayoutUI* m_pLayout = nullptr;
    int m_iOldSel = -1;
};

} // namespace VarnelUI
