#pragma once
// The viewer: shows one document of a skin in a skinned window, rebuilds it
// in a fresh window whenever a file of the skin changes, and keeps the last
// good build on screen, with the error over it, while the files do not build.

#include "SkinViewWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace SkinView {

class CSkinSource;

class CSkinViewer : private CSkinViewWindow::IOwner
{
public:
    // The skin must be installed.
    CSkinViewer(const CSkinSource& skin, std::wstring document);
    ~CSkinViewer();
    CSkinViewer(const CSkinViewer&) = delete;
    CSkinViewer& operator=(const CSkinViewer&) = delete;

    // Runs until the window is closed; the exit code.
    int Run();
    // Renders the document once into a PNG file; the exit code.
    int Shot(const std::wstring& path);

private:
    void OnPollTimer() override;
    void OnWindowGone(CSkinViewWindow& window) override;

    // A window holding the document as the files are now, or null with the
    // reason when it does not build.
    std::unique_ptr<CSkinViewWindow> BuildWindow(CSkinViewWindow::Polling polling, std::wstring& problem);
    std::unique_ptr<CSkinViewWindow> NewWindow(const std::wstring& document, CSkinViewWindow::Polling polling);
    void Rebuild();

    const CSkinSource& m_skin;
    std::wstring m_document;
    std::wstring m_fingerprint;
    std::unique_ptr<CSkinViewWindow> m_window;
    // Replaced windows stay up until the next tick of the window on screen:
    // the new window paints first, and none is destroyed inside one of its
    // own messages (the replacement starts in a tick of the old one).
    std::vector<std::unique_ptr<CSkinViewWindow>> m_retired;
};

} // namespace SkinView
