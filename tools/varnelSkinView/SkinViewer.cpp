#include "SkinViewer.h"

#include "SkinChecker.h"
#include "SkinSource.h"
#include "ToolOutput.h"

namespace SkinView {

using namespace VarnelUI;
using VarnelTools::PrintErr;

namespace {

constexpr DWORD kWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
// The size of a window whose document says none, and of the message-only window.
constexpr SIZE kDefaultSize = {800, 600};

void Destroy(CSkinViewWindow& window)
{
    if (::IsWindow(window.GetHWND())) ::DestroyWindow(window.GetHWND());
}

} // namespace

CSkinViewer::CSkinViewer(const CSkinSource& skin, std::wstring document) : m_skin(skin), m_document(std::move(document))
{
}

CSkinViewer::~CSkinViewer()
{
    for (const std::unique_ptr<CSkinViewWindow>& window : m_retired) Destroy(*window);
    if (m_window) Destroy(*m_window);
}

int CSkinViewer::Run()
{
    m_fingerprint = m_skin.Fingerprint();
    std::wstring problem;
    m_window = BuildWindow(CSkinViewWindow::Polling::On, problem);
    if (!m_window) {
        PrintErr(problem);
        m_window = NewWindow(L"", CSkinViewWindow::Polling::On);
        if (!m_window) return 1;
        m_window->ShowMessage(problem);
    }
    m_window->CenterWindow();
    m_window->ShowWindow(true);
    CPaintManagerUI::MessageLoop();
    return 0;
}

int CSkinViewer::Shot(const std::wstring& path)
{
    std::wstring problem;
    const std::unique_ptr<CSkinViewWindow> window = BuildWindow(CSkinViewWindow::Polling::Off, problem);
    TPicture picture;
    const bool written = window && window->Render(picture, problem) && WritePng(path, picture, problem);
    if (window) Destroy(*window);
    if (!written) PrintErr(problem);
    return written ? 0 : 1;
}

std::unique_ptr<CSkinViewWindow> CSkinViewer::NewWindow(const std::wstring& document, CSkinViewWindow::Polling polling)
{
    IOwner& owner = *this;
    auto window = std::make_unique<CSkinViewWindow>(owner, m_skin, document, polling);
    const std::wstring title = L"varnelSkinView - " + m_document;
    if (window->Create(nullptr, title.c_str(), kWindowStyle, 0, 0, 0, kDefaultSize.cx, kDefaultSize.cy) == nullptr)
        return nullptr;
    return window;
}

std::unique_ptr<CSkinViewWindow> CSkinViewer::BuildWindow(CSkinViewWindow::Polling polling, std::wstring& problem)
{
    // Parsed first, so a broken file never replaces the window on screen.
    CMarkup markup;
    std::optional<CLineIndex> lines;
    TSkinProblem failure;
    if (LoadSkinDocument(m_document, markup, lines, failure) != DocumentLoad::Loaded) {
        problem = FormatProblem(failure);
        return nullptr;
    }
    std::unique_ptr<CSkinViewWindow> window = NewWindow(m_document, polling);
    if (!window) {
        problem = L"varnelSkinView: the window cannot be created";
        return nullptr;
    }
    if (!window->IsBuilt()) {
        Destroy(*window);
        problem = FormatProblem({m_document, 1, Severity::Error, L"the document builds no control"});
        return nullptr;
    }
    return window;
}

void CSkinViewer::OnPollTimer()
{
    for (const std::unique_ptr<CSkinViewWindow>& window : m_retired) Destroy(*window);
    m_retired.clear();
    std::wstring fingerprint = m_skin.Fingerprint();
    if (fingerprint == m_fingerprint) return;
    m_fingerprint = std::move(fingerprint);
    Rebuild();
}

void CSkinViewer::Rebuild()
{
    std::wstring problem;
    std::unique_ptr<CSkinViewWindow> fresh = BuildWindow(CSkinViewWindow::Polling::On, problem);
    if (!fresh) {
        PrintErr(problem);
        m_window->ShowMessage(problem);
        return;
    }
    RECT rcOld = {};
    ::GetWindowRect(m_window->GetHWND(), &rcOld);
    ::SetWindowPos(fresh->GetHWND(), nullptr, rcOld.left, rcOld.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    fresh->ShowWindow(true);
    m_window->StopPolling();
    m_retired.push_back(std::move(m_window));
    m_window = std::move(fresh);
    PrintErr(L"varnelSkinView: rebuilt " + m_document);
}

void CSkinViewer::OnWindowGone(CSkinViewWindow& window)
{
    // Only the window on screen ends the viewer; replaced ones go quietly.
    if (m_window && &window == m_window.get()) ::PostQuitMessage(0);
}

} // namespace SkinView
