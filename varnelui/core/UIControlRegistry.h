#pragma once
// The skin vocabulary of control elements. Each control's source file
// registers its class right next to the class, with the same names its
// GetClass and GetInterface answer, so the element name, the class name and
// the interface name are written once. The dialog builder creates controls by
// element name through this registry; skin tools list the vocabulary from it.

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIDefines.h"

#include <cwchar>
#include <vector>

namespace VarnelUI {

class CControlUI;

// The names one control class answers to.
struct TControlNames
{
    LPCWSTR element;       // skin element name, matched exactly and case-sensitively
    LPCWSTR className;     // what GetClass answers
    LPCWSTR interfaceName; // what GetInterface answers with the class itself; null when it adds none
};

// True when a GetInterface request names the class's own interface.
inline bool IsOwnInterface(LPCWSTR pstrRequested, const TControlNames& names)
{
    return pstrRequested != nullptr && names.interfaceName != nullptr &&
           std::wcscmp(pstrRequested, names.interfaceName) == 0;
}

struct TControlClass
{
    TControlNames names;
    CControlUI* (*create)();
};

class VARNELUI_API CControlRegistry
{
public:
    // A second registration of an element name is ignored: the first stays.
    static void Register(const TControlClass& controlClass);
    // Null for an unknown element name.
    static const TControlClass* Find(LPCWSTR pstrElement);
    // A new control for the element, or null for an unknown name.
    static CControlUI* Create(LPCWSTR pstrElement);
    // Every registered class, ordered by element name.
    static const std::vector<TControlClass>& Classes();
    // The attributes the element's class applies, its own before its base
    // classes'; empty for an unknown element.
    static std::vector<AttrParse::TAttributeInfo> Attributes(LPCWSTR pstrElement);
};

// Registers T under T::kNames when constructed; one static instance sits in
// each control's source file. Programs link the whole framework archive, so
// these objects are never dropped for lack of a reference.
template <class T>
class CControlRegistration
{
public:
    CControlRegistration() { CControlRegistry::Register({T::kNames, &Create}); }

private:
    static CControlUI* Create() { return new T; }
};

} // namespace VarnelUI
