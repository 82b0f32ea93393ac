#pragma once
// One window of the viewer, showing one build of a skin document. It is a
// skinned window like the launcher's: the same window base, paint manager and
// builder, with the document's own window settings. The viewer makes a fresh
// window for every rebuild, so nothing of an earlier build lingers in it.

#include "PngFile.h"

#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIWindowImplBase.h"

#include <string>

namespace SkinView {

class CSkinSource;

class CSkinViewWindow : public VarnelUI::WindowImplBase
{
public:
    // What the window tells the viewer that owns it.
    class IOwner
    {
    public:
        // The time to look for changed files has come.
        virtual void OnPollTimer() = 0;
        // The window is gone: closed by the user or destroyed by the viewer.
        virtual void OnWindowGone(CSkinViewWindow& window) = 0;

    protected:
        ~IOwner() = default;
    };

    enum class Polling { Off, On };

    // An empty document makes a window that shows only error messages.
    CSkinViewWindow(IOwner& owner, const CSkinSource& skin, std::wstring document, Polling polling);

    // The viewer hears no more ticks from this window.
    void StopPolling();
    // Whether the document built a control tree in this window.
    bool IsBuilt() const { return m_bBuilt; }
    // A message over the top of the window, such as why the file on disk does
    // not build; an empty text takes it away.
    void ShowMessage(const std::wstring& text);
    // The window's content as its paint manager draws it.
    bool Render(TPicture& picture, std::wstring& error);

    LPCWSTR GetWndClassName() const override;
    VarnelUI::CUIString GetSkinDir() const override;
    VarnelUI::CUIString GetSkinXml() const override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void OnFinalMessage(HWND hWnd) override;
    void Notify(VarnelUI::TNotifyUI& msg) override;

private:
    void BuildDocument();
    void PlaceMessage();

    IOwner& m_owner;
    const CSkinSource& m_skin;
    std::wstring m_document;
    Polling m_polling;
    bool m_bBuilt = false;
    HWND m_hMessage = nullptr; // a child window, destroyed with this one
    VarnelUI::CBrushHandle m_messageBrush;
};

} // namespace SkinView
