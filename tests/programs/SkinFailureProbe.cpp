// Creates one skinned window and reports on stdout what became of its skin.
//   SkinFailureProbe file <skin>     skin is a file name under this exe's folder,
//                                    or a document when it starts with '<'
//   SkinFailureProbe zipres <id>     the skin archive is resource <id> (type "ZIPRES")
// Prints "built" or "empty" and exits 0; a skin that fails to build never
// comes back here (the window base shows its message and exits 1).
#include "varnelui/core/UIWindowImplBase.h"

#include <cstdio>
#include <cwchar>

using namespace VarnelUI;

namespace {

class CProbeWnd : public WindowImplBase
{
public:
    CProbeWnd(UI_RESOURCETYPE type, LPCWSTR skin) : m_type(type), m_skin(skin) {}

    LPCWSTR GetWndClassName() const override { return L"SkinFailureProbe"; }
    CUIString GetSkinDir() const override { return CUIString(); }
    CUIString GetSkinXml() const override { return m_type == UI_FROM_ZIPRESOURCE ? L"window.xml" : m_skin; }
    UI_RESOURCETYPE GetResourceType() const override { return m_type; }
    UINT GetResourceID() const override { return static_cast<UINT>(::_wtoi(m_skin)); }

private:
    UI_RESOURCETYPE m_type;
    CUIString m_skin;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fputs("usage: SkinFailureProbe file|zipres <skin>\n", stderr);
        return 2;
    }
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    const UI_RESOURCETYPE type = std::wcscmp(argv[1], L"zipres") == 0 ? UI_FROM_ZIPRESOURCE : UI_FROM_FILE;
    CProbeWnd wnd(type, argv[2]);
    if (wnd.Create(nullptr, L"probe", WS_POPUP, 0, 0, 0, 100, 100) == nullptr) {
        std::fputs("no window\n", stdout);
        return 3;
    }
    std::fputs(wnd.GetPaintManager().GetRoot() != nullptr ? "built\n" : "empty\n", stdout);
    std::fflush(stdout);
    ::DestroyWindow(wnd);
    return 0;
}
