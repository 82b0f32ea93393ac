#include "support/AccessibleClient.h"

namespace VarnelTest {
namespace AccessibleClient {

namespace {

long IntProperty(IAccessible* acc, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*))
{
    VarnelUI::CUIVariant value;
    (acc->*get)(Self(), value.Get());
    return value.Get()->vt == VT_I4 ? value.Get()->lVal : -1;
}

} // namespace

VARIANT Self()
{
    VARIANT var;
    var.vt = VT_I4;
    var.lVal = CHILDID_SELF;
    return var;
}

Acc WindowObject(HWND hWnd)
{
    Acc acc;
    if (FAILED(::AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            acc.ReleaseAndGetVoidAddress())))
        acc.Reset();
    return acc;
}

std::wstring Name(IAccessible* acc)
{
    VarnelUI::CUIBstr name;
    acc->get_accName(Self(), name.ReleaseAndGetAddressOf());
    return name.Get() != nullptr ? std::wstring(name.Get()) : std::wstring();
}

long Role(IAccessible* acc)
{
    return IntProperty(acc, &IAccessible::get_accRole);
}

long State(IAccessible* acc)
{
    return IntProperty(acc, &IAccessible::get_accState);
}

std::vector<Acc> Children(IAccessible* acc)
{
    long count = 0;
    acc->get_accChildCount(&count);
    std::vector<VARIANT> vars(static_cast<size_t>(count));
    long got = 0;
    if (count > 0 && FAILED(::AccessibleChildren(acc, 0, count, vars.data(), &got))) got = 0;
    std::vector<Acc> children;
    for (long i = 0; i < got; ++i) {
        VARIANT& var = vars[static_cast<size_t>(i)];
        Acc child;
        if (var.vt == VT_DISPATCH) child.QueryFrom(var.pdispVal);
        ::VariantClear(&var);
        children.push_back(child);
    }
    return children;
}

std::vector<std::wstring> ChildNames(IAccessible* acc)
{
    std::vector<std::wstring> names;
    for (const Acc& child : Children(acc)) names.push_back(child ? Name(child.Get()) : L"?");
    return names;
}

Acc Find(IAccessible* acc, const std::wstring& name)
{
    for (const Acc& child : Children(acc)) {
        if (!child) continue;
        if (Name(child.Get()) == name) return child;
        if (Acc found = Find(child.Get(), name)) return found;
    }
    return Acc();
}

} // namespace AccessibleClient
} // namespace VarnelTest
