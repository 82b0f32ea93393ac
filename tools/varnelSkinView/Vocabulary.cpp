#include "Vocabulary.h"

#include "ToolFiles.h"
#include "ValueSyntax.h"

#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIDlgBuilder.h"

#include <cwchar>
#include <cwctype>
#include <vector>

namespace SkinView {

using namespace VarnelUI;
using AttrParse::TAttributeInfo;

namespace {

struct TSyntaxDescription
{
    AttrSyntax syntax;
    const wchar_t* description;
};

const TSyntaxDescription kSyntaxDescriptions[] = {
    {AttrSyntax::Text, L"any text"},
    {AttrSyntax::Int, L"a decimal number such as `12` or `-1`"},
    {AttrSyntax::Numbers, L"one to four decimal numbers separated by commas"},
    {AttrSyntax::Size, L"two numbers, width and height: `686,437`"},
    {AttrSyntax::Rect, L"four numbers: `0,0,0,98`"},
    {AttrSyntax::Color, L"hexadecimal, alpha first: `#FF07091A` (a `0x` prefix is read too)"},
    {AttrSyntax::Bool, L"exactly `true` or `false`; any other value reads as false"},
    {AttrSyntax::Image,
     L"a file name, or `key='value'` items separated by one space: `file`, `res`, `restype`, `dest`, `source`, "
     L"`corner`, `mask`, `fade`, `hole`, `xtiled`, `ytiled`"},
    {AttrSyntax::FontId, L"the position of a `Font` element of the window, from 0; `-1` is the default font"},
    {AttrSyntax::AttributeList,
     L"`name=\"value\"` pairs separated by one space, written with `&quot;` inside an XML attribute"},
};

struct TElementNote
{
    const wchar_t* element;
    const wchar_t* note;
};

const TElementNote kBuilderElementNotes[] = {
    {L"Window",
     L"The root element of a window's document. Its attributes are the window's settings; its children are the "
     L"shared resources below and the top-level control."},
    {L"Image", L"A child of the root: an image loaded once and shared by name."},
    {L"Font",
     L"A child of the root: a font. Fonts are numbered from 0 in the order they appear (included documents' fonts "
     L"count too); controls refer to them by that number."},
    {L"Default",
     L"A child of the root: attributes every element of the class named `name` gets before its own. `VScrollBar` "
     L"and `HScrollBar` style the containers' scroll bars."},
    {L"Include",
     L"Anywhere controls may stand: the root's children of the document `source` (a file of the skin) take its "
     L"place, `count` times."},
};

const wchar_t* NoteOf(const wchar_t* element)
{
    for (const TElementNote& entry : kBuilderElementNotes) {
        if (std::wcscmp(entry.element, element) == 0) return entry.note;
    }
    return L"";
}

std::wstring AttributeTable(const std::vector<TAttributeInfo>& attributes)
{
    std::wstring text = L"| attribute | value |\n|---|---|\n";
    for (const TAttributeInfo& attribute : attributes)
        text += std::wstring(L"| `") + attribute.name + L"` | " + SyntaxName(attribute.syntax) + L" |\n";
    return text;
}

bool SameNames(const std::vector<TAttributeInfo>& list, size_t from, const std::vector<TAttributeInfo>& tail)
{
    for (size_t i = 0; i < tail.size(); ++i) {
        if (std::wcscmp(list[from + i].name, tail[i].name) != 0) return false;
    }
    return true;
}

// A class lists its own table before its base classes', so the base is the
// registered element whose whole list ends this one (the longest such).
const TControlClass* BaseOf(const TControlClass& control, const std::vector<TAttributeInfo>& attributes,
                            size_t& ownCount)
{
    const TControlClass* pBase = nullptr;
    ownCount = attributes.size();
    for (const TControlClass& other : CControlRegistry::Classes()) {
        if (&other == &control) continue;
        const std::vector<TAttributeInfo> tail = CControlRegistry::Attributes(other.names.element);
        if (tail.empty() || tail.size() >= attributes.size()) continue;
        const size_t from = attributes.size() - tail.size();
        if (from < ownCount && SameNames(attributes, from, tail)) {
            pBase = &other;
            ownCount = from;
        }
    }
    return pBase;
}

std::wstring Anchor(const wchar_t* element)
{
    std::wstring anchor = element;
    for (wchar_t& c : anchor) c = static_cast<wchar_t>(std::towlower(c));
    return L"#" + anchor;
}

std::wstring ControlSection(const TControlClass& control)
{
    const std::vector<TAttributeInfo> attributes = CControlRegistry::Attributes(control.names.element);
    size_t ownCount = 0;
    const TControlClass* pBase = BaseOf(control, attributes, ownCount);
    std::wstring text =
        std::wstring(L"### ") + control.names.element + L"\n\nClass `" + control.names.className + L"`.";
    if (pBase != nullptr)
        text += std::wstring(L" Takes every attribute of [") + pBase->names.element + L"](" +
                Anchor(pBase->names.element) + L") too.";
    text += L"\n\n";
    if (ownCount == 0) return text + L"No attributes of its own.\n\n";
    return text + AttributeTable({attributes.begin(), attributes.begin() + static_cast<std::ptrdiff_t>(ownCount)}) +
           L"\n";
}

} // namespace

std::string VocabularyMarkdown()
{
    std::wstring text =
        L"# Skin vocabulary\n\n"
        L"Generated by `varnelSkinView --vocabulary` from the tables through which the dialog builder and the "
        L"controls apply attributes; do not edit it by hand. Element and attribute names are case-sensitive. "
        L"Attributes are applied in document order, after the element's `Default` list.\n\n"
        L"## Value syntax\n\n| value | written as |\n|---|---|\n";
    for (const TSyntaxDescription& entry : kSyntaxDescriptions)
        text += std::wstring(L"| ") + SyntaxName(entry.syntax) + L" | " + entry.description + L" |\n";

    text += L"\n## Document elements\n\n";
    for (const LPCWSTR element : CDialogBuilder::kBuilderElements) {
        text += std::wstring(L"### ") + element + L"\n\n" + NoteOf(element) + L"\n\n" +
                AttributeTable(CDialogBuilder::GetElementAttributes(element)) + L"\n";
    }

    text += L"## Controls\n\n| element | class |\n|---|---|\n";
    for (const TControlClass& control : CControlRegistry::Classes())
        text += std::wstring(L"| [") + control.names.element + L"](" + Anchor(control.names.element) + L") | `" +
                control.names.className + L"` |\n";
    text += L"\n";
    for (const TControlClass& control : CControlRegistry::Classes()) text += ControlSection(control);
    text.pop_back();

    std::string utf8;
    VarnelTools::ToUtf8(text, utf8);
    return utf8;
}

} // namespace SkinView
