#include "SkinViewWindow.h"

#include "SkinSource.h"
#include "ToolOutput.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIRender.h"

#include <algorithm>

namespace SkinView {

using namespace VarnelUI;

namespace {

// Built by the window base before the viewer installs the skin and builds the
// document itself: a document that fails must not reach the base's fatal path.
constexpr wchar_t kPlaceholder[] = L"<Window><Control bkcolor=\"#FFF4F4F4\" /></Window>";
// Far above the paint manager's control timers (1 to 254).
constexpr UINT_PTR kPollTimer = 0x5EE5;
constexpr UINT kPollMs = 250;
constexpr COLORREF kMessageText = RGB(0x8B, 0x00, 0x00);
constexpr COLORREF kMessageBack = RGB(0xFF, 0xEB, 0xE6);

std::wstring NotificationLine(const TNotifyUI& msg)
{
    std::wstring sender = L"-";
    if (msg.sender != nullptr) {
        sender = msg.sender->GetName().GetData();
        if (sender.empty()) sender = std::wstring(L"<") + msg.sender->GetClass() + L">";
    }
    return std::wstring(msg.type.GetData()) + L" sender=" + sender + L" wParam=" + std::to_wstring(msg.wParam) +
           L" lParam=" + std::to_wstring(msg.lParam);
}

// Straight colour from the premultiplied pixel.
BYTE Unpremultiply(BYTE colour, BYTE alpha)
{
    return alpha == 0 ? 0 : static_cast<BYTE>(std::min(255, colour * 255 / alpha));
}

} // namespace

CSkinViewWindow::CSkinViewWindow(IOwner& owner, const CSkinSource& skin, std::wstring document, Polling polling)
    : m_owner(owner),
      m_skin(skin),
      m_document(std::move(document)),
      m_polling(polling)
{
}

LPCWSTR CSkinViewWindow::GetWndClassName() const
{
    return L"VarnelSkinView";
}

CUIString CSkinViewWindow::GetSkinDir() const
{
    return CUIString();
}

CUIString CSkinViewWindow::GetSkinXml() const
{
    return kPlaceholder;
}

LRESULT CSkinViewWindow::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    const LRESULT lRes = WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);
    // The base pointed the skin location at the program's folder.
    m_skin.Install();
    if (!m_document.empty()) BuildDocument();
    m_hMessage = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, m_hWnd, nullptr,
                                   CPaintManagerUI::GetInstance(), nullptr);
    ::SendMessageW(m_hMessage, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_messageBrush.Reset(::CreateSolidBrush(kMessageBack));
    if (m_polling == Polling::On) ::SetTimer(m_hWnd, kPollTimer, kPollMs, nullptr);
    return lRes;
}

void CSkinViewWindow::BuildDocument()
{
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(STRINGorID(m_document.c_str()), nullptr, this, &m_pm);
    if (pRoot == nullptr) return;
    // The placeholder's tree goes; the window takes the document's size, as a
    // launcher window does when its skin is built before anything is attached.
    m_pm.AttachDialog(pRoot);
    m_bBuilt = true;
    const SIZE size = m_pm.GetInitSize();
    if (size.cx > 0 && size.cy > 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Rounded corners and the layout follow the size, also when it did not change.
    RECT rc = {};
    ::GetClientRect(m_hWnd, &rc);
    SendMessageW(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
}

void CSkinViewWindow::StopPolling()
{
    m_polling = Polling::Off;
    ::KillTimer(m_hWnd, kPollTimer);
}

void CSkinViewWindow::ShowMessage(const std::wstring& text)
{
    ::SetWindowTextW(m_hMessage, text.c_str());
    PlaceMessage();
    ::ShowWindow(m_hMessage, text.empty() ? SW_HIDE : SW_SHOWNOACTIVATE);
}

void CSkinViewWindow::PlaceMessage()
{
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    const int length = ::GetWindowTextLengthW(m_hMessage);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(m_hMessage, text.data(), length + 1);
    RECT rcText = {0, 0, rcClient.right, 0};
    const HDC hDC = ::GetDC(m_hMessage);
    const HGDIOBJ hOldFont = ::SelectObject(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextW(hDC, text.c_str(), length, &rcText, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hMessage, hDC);
    ::SetWindowPos(m_hMessage, HWND_TOP, 0, 0, rcClient.right, rcText.bottom + 4, SWP_NOACTIVATE);
}

bool CSkinViewWindow::Render(TPicture& picture, std::wstring& error)
{
    CControlUI* pRoot = m_pm.GetRoot();
    RECT rc = {};
    ::GetClientRect(m_hWnd, &rc);
    if (pRoot == nullptr || rc.right <= 0 || rc.bottom <= 0) {
        error = L"the window has no size";
        return false;
    }
    pRoot->SetPos(rc);
    const CBitmapHandle bitmap(CRenderEngine::GenerateBitmap(&m_pm, pRoot, rc));
    DIBSECTION dib = {};
    if (!bitmap || ::GetObjectW(bitmap.Get(), sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr) {
        error = L"the window cannot be painted into a bitmap";
        return false;
    }
    // Only a window drawn with per-pixel alpha has a meaningful alpha channel.
    picture.width = rc.right;
    picture.height = rc.bottom;
    picture.alpha = m_pm.IsAlphaBackground();
    picture.pixels.clear();
    const auto* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
    for (int y = 0; y < picture.height; ++y) {
        // The bitmap's rows run bottom up.
        const BYTE* row = bits + static_cast<ptrdiff_t>(dib.dsBm.bmWidthBytes) * (picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            const BYTE* pixel = row + x * 4;
            const BYTE alpha = picture.alpha ? pixel[3] : 255;
            picture.pixels.insert(picture.pixels.end(), {Unpremultiply(pixel[2], alpha), Unpremultiply(pixel[1], alpha),
                                                         Unpremultiply(pixel[0], alpha)});
            if (picture.alpha) picture.pixels.push_back(alpha);
        }
    }
    return true;
}

LRESULT CSkinViewWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_TIMER && wParam == kPollTimer) {
        bHandled = true;
        // A tick posted before polling stopped is dropped.
        if (m_polling == Polling::On) m_owner.OnPollTimer();
        return 0;
    }
    if (uMsg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == m_hMessage) {
        bHandled = true;
        const auto hDC = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(hDC, kMessageText);
        ::SetBkColor(hDC, kMessageBack);
        return reinterpret_cast<LRESULT>(m_messageBrush.Get());
    }
    // Everything else, WM_SIZE too, goes on to the paint manager.
    if (uMsg == WM_SIZE && m_hMessage != nullptr && ::IsWindowVisible(m_hMessage)) PlaceMessage();
    return 0;
}

void CSkinViewWindow::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    m_owner.OnWindowGone(*this);
}

void CSkinViewWindow::Notify(TNotifyUI& msg)
{
    VarnelTools::PrintOut(NotificationLine(msg));
    WindowImplBase::Notify(msg);
}

} // namespace SkinView
