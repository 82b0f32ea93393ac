#include "SkinChecker.h"

#include "ValueSyntax.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIRender.h"
#include "varnelui/core/UIResourceFile.h"

#include <algorithm>
#include <cwchar>
#include <memory>

namespace SkinView {

using namespace VarnelUI;
using AttrParse::AttrSyntax;

namespace {

bool Equals(LPCWSTR a, LPCWSTR b)
{
    return a != nullptr && b != nullptr && std::wcscmp(a, b) == 0;
}

bool IsResourceElement(LPCWSTR name)
{
    return Equals(name, L"Image") || Equals(name, L"Font") || Equals(name, L"Default");
}

// Attributes a container reads to make its scroll bars; on any other control
// they are a misplaced style rather than a typo.
bool IsScrollBarAttribute(const std::wstring& name)
{
    return name == L"vscrollbar" || name == L"vscrollbarstyle" || name == L"hscrollbar" || name == L"hscrollbarstyle";
}

// The element whose attributes a style attribute holds: a scroll-bar style is
// the scroll bar's; empty when the list's attributes are not known.
std::wstring ScrollBarStyleTarget(const std::wstring& attribute)
{
    return attribute == L"vscrollbarstyle" || attribute == L"hscrollbarstyle" ? L"ScrollBar" : L"";
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

std::wstring FirstLine(const std::wstring& text)
{
    return text.substr(0, text.find_first_of(L"\r\n"));
}

// Image description keys and the syntax of their values.
std::optional<AttrSyntax> ImageKeySyntax(const std::wstring& key)
{
    if (key == L"file" || key == L"res" || key == L"restype") return AttrSyntax::Text;
    if (key == L"dest" || key == L"source" || key == L"corner") return AttrSyntax::Rect;
    if (key == L"mask") return AttrSyntax::Color;
    if (key == L"fade") return AttrSyntax::Int;
    if (key == L"hole" || key == L"xtiled" || key == L"ytiled") return AttrSyntax::Bool;
    return std::nullopt;
}

// The sources of every Include element below `node`.
void CollectIncludeSources(const CMarkupNode& node, std::vector<std::wstring>& sources)
{
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        if (Equals(child.GetName(), L"Include") && child.HasAttribute(L"source"))
            sources.emplace_back(child.GetAttributeValue(L"source"));
        CollectIncludeSources(child, sources);
    }
}

} // namespace

std::wstring FormatProblem(const TSkinProblem& problem)
{
    return problem.file + L":" + std::to_wstring(problem.line) +
           (problem.severity == Severity::Error ? L": error: " : L": warning: ") + problem.message;
}

DocumentLoad LoadSkinDocument(const std::wstring& name, CMarkup& markup, std::optional<CLineIndex>& lines,
                              TSkinProblem& problem)
{
    const bool loaded = markup.LoadFromFile(name.c_str());
    std::vector<BYTE> bytes;
    if (ReadSkinFile(name.c_str(), kMaxSkinDocumentBytes, bytes) == SkinFileResult::Ok) lines.emplace(bytes);
    if (loaded) return DocumentLoad::Loaded;

    wchar_t message[100] = {};
    markup.GetLastErrorMessage(message, 99);
    const int offset = markup.GetLastErrorOffset();
    problem = {name, 1, Severity::Error, message};
    if (offset < 0) return DocumentLoad::Unreadable;
    wchar_t location[50] = {};
    markup.GetLastErrorLocation(location, 49);
    const std::wstring context = FirstLine(location);
    problem.line = lines ? lines->LineOf(offset) : 1;
    problem.message += context.empty() ? L" at the end of the document" : L" near " + Quoted(context);
    return DocumentLoad::Malformed;
}

// ---- positions ----------------------------------------------------------------

int CSkinChecker::TDocument::Line(int offset) const
{
    if (fixedLine > 0) return fixedLine;
    return lines && offset >= 0 ? lines->LineOf(offset) : 1;
}

int CSkinChecker::TDocument::LineOf(const CMarkupNode& node) const
{
    return Line(node.GetNameOffset());
}

int CSkinChecker::TDocument::LineOfAttribute(const CMarkupNode& node, int index) const
{
    // Names and values are runs of the one document buffer, so their distance
    // from the element's name is their distance in the text.
    return Line(node.GetNameOffset() + static_cast<int>(node.GetAttributeName(index) - node.GetName()));
}

// ---- documents ----------------------------------------------------------------

void CSkinChecker::CheckDocument(const std::wstring& name)
{
    TWindow window;
    window.includesLeft = CDialogBuilder::kMaxIncludedDocuments;
    window.includeChain.push_back(name);
    CheckFile(name, window, nullptr);
    if (!window.fontsKnown) return;
    for (const auto& [place, id] : window.fontUses) {
        if (id >= -1 && id < window.fonts) continue;
        Report(place, Severity::Error,
               L"font " + std::to_wstring(id) + L" is not defined: the window defines " +
                   std::to_wstring(window.fonts) + (window.fonts == 1 ? L" font" : L" fonts") +
                   L" (-1 is the default font)");
    }
}

void CSkinChecker::CheckSkin(const std::vector<std::wstring>& documents)
{
    // A document another one includes is checked as part of that one, where
    // its fonts and names are known; the others stand on their own.
    std::vector<std::wstring> sources;
    for (const std::wstring& document : documents) {
        CMarkup markup;
        if (markup.LoadFromFile(document.c_str())) CollectIncludeSources(markup.GetRoot(), sources);
    }
    const auto listed = [](const std::vector<std::wstring>& names, const std::wstring& name) {
        return std::any_of(names.begin(), names.end(),
                           [&name](const std::wstring& other) { return ::_wcsicmp(other.c_str(), name.c_str()) == 0; });
    };
    for (const std::wstring& document : documents) {
        if (!listed(sources, document)) CheckDocument(document);
    }
    // Documents that only include each other in a circle.
    for (const std::wstring& document : documents) {
        if (!listed(m_included, document)) CheckDocument(document);
    }
}

void CSkinChecker::CheckFile(const std::wstring& name, TWindow& window, const TPlace* pIncludedFrom)
{
    TDocument doc;
    doc.file = name;
    TSkinProblem problem;
    switch (LoadSkinDocument(name, doc.markup, doc.lines, problem)) {
    case DocumentLoad::Loaded: CheckRoot(doc, window); return;
    case DocumentLoad::Malformed: Report({problem.file, problem.line}, Severity::Error, problem.message); return;
    case DocumentLoad::Unreadable:
        // The file itself could not be had: the including element is at fault.
        if (pIncludedFrom != nullptr)
            Report(*pIncludedFrom, Severity::Error,
                   L"<Include> source " + Quoted(name) + L" cannot be loaded: " + problem.message);
        else Report({name, 1}, Severity::Error, L"cannot be loaded: " + problem.message);
        return;
    }
}

void CSkinChecker::CheckRoot(TDocument& doc, TWindow& window)
{
    const CMarkupNode root = doc.markup.GetRoot();
    if (!root.IsValid()) {
        Report({doc.file, 1}, Severity::Error, L"holds no element");
        return;
    }
    if (Equals(root.GetName(), L"Window")) CheckBuilderElement(doc, root, window, ImageCheck::Load);
    else if (window.includeChain.size() == 1) window.fontsKnown = false;
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (IsResourceElement(node.GetName())) CheckResource(doc, node, window);
    }
    CheckChildren(doc, root, window);
}

void CSkinChecker::CheckChildren(const TDocument& doc, const CMarkupNode& parent, TWindow& window)
{
    const bool atRoot = !parent.GetParent().IsValid();
    for (CMarkupNode node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const std::wstring name = node.GetName();
        const TPlace place{doc.file, doc.LineOf(node)};
        if (IsResourceElement(name.c_str())) {
            if (!atRoot)
                Report(place, Severity::Warning,
                       L"<" + name + L"> inside <" + parent.GetName() +
                           L"> has no effect: fonts, images and defaults are read only as children of the root");
            continue;
        }
        if (name == L"Include") {
            CheckInclude(doc, node, window);
            continue;
        }
        const TElementInfo* pElement = Element(name);
        if (pElement == nullptr) {
            Report(place, Severity::Error, L"unknown element <" + name + L">: it is skipped with everything inside it");
            continue;
        }
        CheckControl(doc, node, *pElement, window);
        if (!node.HasChildren()) continue;
        if (!pElement->isContainer)
            Report(place, Severity::Warning, L"<" + name + L"> is not a container: the elements inside it are dropped");
        CheckChildren(doc, node, window);
    }
}

void CSkinChecker::CheckResource(const TDocument& doc, const CMarkupNode& node, TWindow& window)
{
    const std::wstring element = node.GetName();
    if (element == L"Image") {
        // An image from the executable's resources cannot be looked at here.
        CheckBuilderElement(doc, node, window, node.HasAttribute(L"restype") ? ImageCheck::Skip : ImageCheck::Load);
        return;
    }
    CheckBuilderElement(doc, node, window, ImageCheck::Load);
    if (element == L"Font") {
        if (node.HasAttribute(L"name")) ++window.fonts;
        return;
    }
    if (!node.HasAttribute(L"name")) return;
    const std::wstring target = node.GetAttributeValue(L"name");
    const TPlace place{doc.file, doc.LineOf(node)};
    std::wstring targetElement = target;
    if (target == L"VScrollBar" || target == L"HScrollBar") targetElement = L"ScrollBar";
    else if (Element(target) == nullptr) {
        Report(place, Severity::Error,
               L"<Default> name " + Quoted(target) + L" is neither an element nor VScrollBar or HScrollBar");
        return;
    }
    CheckAttributeList(place, L"<Default name=" + Quoted(target) + L">", node.GetAttributeValue(L"value"),
                       targetElement, window);
}

void CSkinChecker::CheckInclude(const TDocument& doc, const CMarkupNode& node, TWindow& window)
{
    CheckBuilderElement(doc, node, window, ImageCheck::Load);
    if (!node.HasAttributes()) return;
    const TPlace place{doc.file, doc.LineOf(node)};
    std::optional<std::wstring> source;
    long count = 1;
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        if (Equals(node.GetAttributeName(i), L"source")) source = node.GetAttributeValue(i);
        else if (Equals(node.GetAttributeName(i), L"count")) count = AttrParse::ParseInt(node.GetAttributeValue(i));
    }
    if (!source) {
        Report(place, Severity::Warning, L"<Include> without a source adds nothing");
        return;
    }
    if (count <= 0 || source->empty()) return;
    if (window.includesLeft <= 0) {
        Report(place, Severity::Error, L"<Include> goes beyond the builder's limit of included documents");
        return;
    }
    if ((*source)[0] == L'<') {
        --window.includesLeft;
        TDocument inlineDoc;
        inlineDoc.file = doc.file;
        inlineDoc.fixedLine = place.line;
        if (!inlineDoc.markup.Load(source->c_str())) {
            wchar_t message[100] = {};
            inlineDoc.markup.GetLastErrorMessage(message, 99);
            Report(place, Severity::Error, L"<Include> document in its source: " + std::wstring(message));
            return;
        }
        CheckRoot(inlineDoc, window);
        return;
    }
    const auto start = std::find_if(window.includeChain.begin(), window.includeChain.end(),
                                    [&](const std::wstring& d) { return ::_wcsicmp(d.c_str(), source->c_str()) == 0; });
    if (start != window.includeChain.end()) {
        std::wstring cycle;
        for (auto it = start; it != window.includeChain.end(); ++it) cycle += *it + L" -> ";
        Report(place, Severity::Error, L"<Include> cycle: " + cycle + *source);
        return;
    }
    m_included.push_back(*source);
    window.includeChain.push_back(*source);
    // A second reading shows what repeating the document does (its names twice).
    for (long i = 0; i < std::min(count, 2L) && window.includesLeft-- > 0; ++i) CheckFile(*source, window, &place);
    window.includeChain.pop_back();
}

// ---- attributes ---------------------------------------------------------------

void CSkinChecker::CheckControl(const TDocument& doc, const CMarkupNode& node, const TElementInfo& element,
                                TWindow& window)
{
    const std::wstring owner = L"<" + std::wstring(node.GetName()) + L">";
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        const TPlace place{doc.file, doc.LineOfAttribute(node, i)};
        const std::wstring name = node.GetAttributeName(i);
        const std::wstring value = node.GetAttributeValue(i);
        CheckAttribute(place, owner, element, name, value, window);
        if (name == L"name" && !value.empty()) CheckName(place, value, window);
    }
}

void CSkinChecker::CheckBuilderElement(const TDocument& doc, const CMarkupNode& node, TWindow& window,
                                       ImageCheck images)
{
    const TElementInfo element{CDialogBuilder::GetElementAttributes(node.GetName()), false, false};
    const std::wstring owner = L"<" + std::wstring(node.GetName()) + L">";
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        const TPlace place{doc.file, doc.LineOfAttribute(node, i)};
        CheckAttribute(place, owner, element, node.GetAttributeName(i), node.GetAttributeValue(i), window, images);
    }
}

void CSkinChecker::CheckAttribute(const TPlace& place, const std::wstring& owner, const TElementInfo& element,
                                  const std::wstring& name, const std::wstring& value, TWindow& window,
                                  ImageCheck images)
{
    for (const AttrParse::TAttributeInfo& attribute : element.attributes) {
        if (name == attribute.name) {
            CheckValue(place, owner, name, attribute.syntax, value, window, images);
            return;
        }
    }
    if (element.isControl && !element.isContainer && IsScrollBarAttribute(name)) {
        Report(place, Severity::Warning, owner + L" " + name + L" has no effect: it is not a container");
        return;
    }
    Report(place, Severity::Error, owner + L" has no attribute " + Quoted(name));
}

void CSkinChecker::CheckValue(const TPlace& place, const std::wstring& owner, const std::wstring& name,
                              AttrSyntax syntax, const std::wstring& value, TWindow& window, ImageCheck images)
{
    const std::wstring problem = ValueProblem(syntax, value.c_str());
    if (!problem.empty()) {
        Report(place, Severity::Error, owner + L" " + name + L"=" + Quoted(value) + L" " + problem);
        return;
    }
    switch (syntax) {
    case AttrSyntax::FontId: window.fontUses.emplace_back(place, AttrParse::ParseInt(value.c_str())); break;
    case AttrSyntax::Image:
        if (images == ImageCheck::Load) CheckImage(place, owner + L" " + name, value);
        break;
    case AttrSyntax::AttributeList:
        CheckAttributeList(place, owner + L" " + name, value, ScrollBarStyleTarget(name), window);
        break;
    default: break;
    }
}

void CSkinChecker::CheckAttributeList(const TPlace& place, const std::wstring& owner, const std::wstring& list,
                                      const std::wstring& targetElement, TWindow& window)
{
    const TElementInfo* pTarget = targetElement.empty() ? nullptr : Element(targetElement);
    const bool wellFormed =
        AttrParse::ForEachListAttribute(list.c_str(), [&](LPCWSTR pName, int nName, LPCWSTR pValue, int nValue) {
            if (pTarget == nullptr) return;
            CheckAttribute(place, owner, *pTarget, std::wstring(pName, static_cast<size_t>(nName)),
                           std::wstring(pValue, static_cast<size_t>(nValue)), window);
        });
    if (!wellFormed)
        Report(place, Severity::Error, owner + L": the list is not name=\"value\" pairs separated by one space");
}

void CSkinChecker::CheckImage(const TPlace& place, const std::wstring& owner, const std::wstring& description)
{
    std::vector<std::wstring> files;
    bool fromResource = false;
    bool anyItem = false;
    const bool wellFormed =
        AttrParse::ForEachImageItem(description.c_str(), [&](LPCWSTR pKey, int nKey, LPCWSTR pValue, int nValue) {
            anyItem = true;
            const std::wstring key(pKey, static_cast<size_t>(nKey));
            const std::wstring value(pValue, static_cast<size_t>(nValue));
            const std::optional<AttrSyntax> syntax = ImageKeySyntax(key);
            if (!syntax) {
                Report(place, Severity::Error, owner + L": unknown image key " + Quoted(key));
                return;
            }
            // An empty value is skipped by the painter.
            if (value.empty()) return;
            const std::wstring problem = ValueProblem(*syntax, value.c_str());
            if (!problem.empty()) Report(place, Severity::Error, owner + L": " + key + L"='" + value + L"' " + problem);
            if (key == L"file" || key == L"res") files.push_back(value);
            if (key == L"restype") fromResource = true;
        });
    if (!anyItem && description.find_first_of(L"='") == std::wstring::npos) {
        // A description without keys names its image directly.
        if (!description.empty()) files.push_back(description);
    } else if (!wellFormed) {
        Report(place, Severity::Error,
               owner + L": the image description is not key='value' items separated by one space");
    }
    if (fromResource) return;
    for (const std::wstring& file : files) {
        if (!ImageLoads(file))
            Report(place, Severity::Error, owner + L": image " + Quoted(file) + L" cannot be loaded");
    }
}

void CSkinChecker::CheckName(const TPlace& place, const std::wstring& name, TWindow& window)
{
    const auto [first, added] = window.names.emplace(name, place);
    if (added) return;
    Report(place, Severity::Warning,
           L"name " + Quoted(name) + L" is used twice in this window (first at " + first->second.file + L":" +
               std::to_wstring(first->second.line) + L")");
}

// ---- lookups ------------------------------------------------------------------

const CSkinChecker::TElementInfo* CSkinChecker::Element(const std::wstring& name)
{
    auto found = m_elements.find(name);
    if (found == m_elements.end()) {
        std::optional<TElementInfo> info;
        if (const std::unique_ptr<CControlUI> probe{CControlRegistry::Create(name.c_str())})
            info = TElementInfo{CControlRegistry::Attributes(name.c_str()), true,
                                probe->GetInterface(L"IContainer") != nullptr};
        found = m_elements.emplace(name, std::move(info)).first;
    }
    return found->second ? &*found->second : nullptr;
}

bool CSkinChecker::ImageLoads(const std::wstring& name)
{
    const auto found = m_images.find(name);
    if (found != m_images.end()) return found->second;
    TImageInfo* pImage = CRenderEngine::LoadImageW(STRINGorID(name.c_str()));
    if (pImage != nullptr) CRenderEngine::FreeImage(pImage);
    m_images.emplace(name, pImage != nullptr);
    return pImage != nullptr;
}

void CSkinChecker::Report(const TPlace& place, Severity severity, const std::wstring& message)
{
    TSkinProblem problem{place.file, place.line, severity, message};
    if (m_reported.insert(FormatProblem(problem)).second) m_problems.push_back(std::move(problem));
}

} // namespace SkinView
