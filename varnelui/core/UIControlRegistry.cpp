#include "varnelui/core/UIControlRegistry.h"

#include "varnelui/control/UIControl.h"

#include <algorithm>
#include <memory>
#include <cwchar>

namespace VarnelUI {

namespace {

// Filled by static constructors in any order, so it is built on first use.
std::vector<TControlClass>& Registry()
{
    static std::vector<TControlClass> classes;
    return classes;
}

bool ElementLess(const TControlClass& entry, LPCWSTR pstrElement)
{
    return std::wcscmp(entry.names.element, pstrElement) < 0;
}

} // namespace

void CControlRegistry::Register(const TControlClass& controlClass)
{
    std::vector<TControlClass>& classes = Registry();
    const auto at = std::lower_bound(classes.begin(), classes.end(), controlClass.names.element, ElementLess);
    if (at != classes.end() && std::wcscmp(at->names.element, controlClass.names.element) == 0) return;
    classes.insert(at, controlClass);
}

const TControlClass* CControlRegistry::Find(LPCWSTR pstrElement)
{
    if (pstrElement == nullptr) return nullptr;
    const std::vector<TControlClass>& classes = Registry();
    const auto at = std::lower_bound(classes.begin(), classes.end(), pstrElement, ElementLess);
    if (at == classes.end() || std::wcscmp(at->names.element, pstrElement) != 0) return nullptr;
    return &*at;
}

CControlUI* CControlRegistry::Create(LPCWSTR pstrElement)
{
    const TControlClass* pClass = Find(pstrElement);
    return pClass != nullptr ? pClass->create() : nullptr;
}

const std::vector<TControlClass>& CControlRegistry::Classes()
{
    return Registry();
}

std::vector<AttrParse::TAttributeInfo> CControlRegistry::Attributes(LPCWSTR pstrElement)
{
    const std::unique_ptr<CControlUI> pControl(Create(pstrElement));
    if (!pControl) return {};
    AttrParse::CAttributeCollector collector;
    pControl->SetAttribute(L"", L"");
    return collector.Attributes();
}

} // namespace VarnelUI
