#include "varnelui/core/UIDlgBuilder.h"

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIControl.h"
#include "varnelui/control/UIHorizontalLayout.h"
#include "varnelui/control/UITreeNode.h"
#include "varnelui/control/UITreeView.h"
#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIManager.h"

#include <cwchar>

namespace VarnelUI {

namespace {

using AttrParse::AttrSyntax;
using AttrParse::ParseBool;
using AttrParse::ParseColor;
using AttrParse::ParseInt;
using AttrParse::ParseInts;
using AttrParse::ParseRect;
using AttrParse::ParseSize;
using AttrParse::TAttributeEntry;

bool Equals(LPCWSTR a, LPCWSTR b)
{
    return std::wcscmp(a, b) == 0;
}

// ---- Window element attributes ---------------------------------------------

// Shadow corners are given as x,y,width,height within the shadow image.
template <void (CPaintManagerUI::*Setter)(int, int, int, int)>
void SetShadowCorner(CPaintManagerUI& pm, LPCWSTR pstrValue)
{
    long v[4];
    ParseInts(pstrValue, v, 4);
    (pm.*Setter)(v[0], v[1], v[2], v[3]);
}

template <void (CPaintManagerUI::*Setter)(int, int)>
void SetSizePair(CPaintManagerUI& pm, LPCWSTR pstrValue)
{
    const SIZE sz = ParseSize(pstrValue);
    (pm.*Setter)(sz.cx, sz.cy);
}

template <void (CPaintManagerUI::*Setter)(DWORD)>
void SetColor(CPaintManagerUI& pm, LPCWSTR pstrValue)
{
    (pm.*Setter)(ParseColor(pstrValue));
}

template <void (CPaintManagerUI::*Setter)(bool)>
void SetFlag(CPaintManagerUI& pm, LPCWSTR pstrValue)
{
    (pm.*Setter)(ParseBool(pstrValue));
}

const TAttributeEntry<CPaintManagerUI> kWindowAttributes[] = {
    {L"size", AttrSyntax::Size, &SetSizePair<&CPaintManagerUI::SetInitSize>},
    {L"sizebox", AttrSyntax::Rect, [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetSizeBox(ParseRect(v)); }},
    {L"caption", AttrSyntax::Rect, [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetCaptionRect(ParseRect(v)); }},
    {L"roundcorner", AttrSyntax::Size, &SetSizePair<&CPaintManagerUI::SetRoundCorner>},
    {L"mininfo", AttrSyntax::Size, &SetSizePair<&CPaintManagerUI::SetMinInfo>},
    {L"maxinfo", AttrSyntax::Size, &SetSizePair<&CPaintManagerUI::SetMaxInfo>},
    {L"showdirty", AttrSyntax::Bool, &SetFlag<&CPaintManagerUI::SetShowUpdateRect>},
    {L"shadow", AttrSyntax::Bool, &SetFlag<&CPaintManagerUI::SetHasWindowShadow>},
    {L"shadowimage", AttrSyntax::Image, [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetWindowShadowImage(v); }},
    {L"shadowtopleft", AttrSyntax::Rect, &SetShadowCorner<&CPaintManagerUI::SetTopleftShadowRect>},
    {L"shadowtopright", AttrSyntax::Rect, &SetShadowCorner<&CPaintManagerUI::SetToprightShadowRect>},
    {L"shadowbottomleft", AttrSyntax::Rect, &SetShadowCorner<&CPaintManagerUI::SetBottomleftShadowRect>},
    {L"shadowbottomright", AttrSyntax::Rect, &SetShadowCorner<&CPaintManagerUI::SetBottomrightShadowRect>},
    {L"alpha", AttrSyntax::Int,
     [](CPaintManagerUI& pm, LPCWSTR v) { pm.SetTransparent(static_cast<int>(ParseInt(v))); }},
    {L"bktrans", AttrSyntax::Bool, &SetFlag<&CPaintManagerUI::SetBackgroundTransparent>},
    {L"disabledfontcolor", AttrSyntax::Color, &SetColor<&CPaintManagerUI::SetDefaultDisabledColor>},
    {L"defaultfontcolor", AttrSyntax::Color, &SetColor<&CPaintManagerUI::SetDefaultFontColor>},
    {L"linkfontcolor", AttrSyntax::Color, &SetColor<&CPaintManagerUI::SetDefaultLinkFontColor>},
    {L"linkhoverfontcolor", AttrSyntax::Color, &SetColor<&CPaintManagerUI::SetDefaultLinkHoverFontColor>},
    {L"selectedcolor", AttrSyntax::Color, &SetColor<&CPaintManagerUI::SetDefaultSelectedBkColor>},
};

// ---- shared resource elements and Include ----------------------------------
// Each is read through a table of its own, so skin tools list the very names
// the builder reads. Values point into the loaded document.

bool IsResourceElement(LPCWSTR pstrName)
{
    return Equals(pstrName, L"Image") || Equals(pstrName, L"Font") || Equals(pstrName, L"Default");
}

struct TImageElement
{
    LPCWSTR name = nullptr;
    LPCWSTR type = nullptr;
    DWORD mask = 0;
};

const TAttributeEntry<TImageElement> kImageAttributes[] = {
    {L"name", AttrSyntax::Image, [](TImageElement& e, LPCWSTR v) { e.name = v; }},
    {L"restype", AttrSyntax::Text, [](TImageElement& e, LPCWSTR v) { e.type = v; }},
    {L"mask", AttrSyntax::Color, [](TImageElement& e, LPCWSTR v) { e.mask = ParseColor(v); }},
};

struct TFontElement
{
    LPCWSTR name = nullptr;
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool isDefault = false;
};

const TAttributeEntry<TFontElement> kFontAttributes[] = {
    {L"name", AttrSyntax::Text, [](TFontElement& e, LPCWSTR v) { e.name = v; }},
    {L"size", AttrSyntax::Int, [](TFontElement& e, LPCWSTR v) { e.size = AttrParse::ToInt(ParseInt(v)); }},
    {L"bold", AttrSyntax::Bool, [](TFontElement& e, LPCWSTR v) { e.bold = ParseBool(v); }},
    {L"underline", AttrSyntax::Bool, [](TFontElement& e, LPCWSTR v) { e.underline = ParseBool(v); }},
    {L"italic", AttrSyntax::Bool, [](TFontElement& e, LPCWSTR v) { e.italic = ParseBool(v); }},
    {L"default", AttrSyntax::Bool, [](TFontElement& e, LPCWSTR v) { e.isDefault = ParseBool(v); }},
};

struct TDefaultElement
{
    LPCWSTR name = nullptr;
    LPCWSTR value = nullptr;
};

const TAttributeEntry<TDefaultElement> kDefaultAttributes[] = {
    {L"name", AttrSyntax::Text, [](TDefaultElement& e, LPCWSTR v) { e.name = v; }},
    {L"value", AttrSyntax::AttributeList, [](TDefaultElement& e, LPCWSTR v) { e.value = v; }},
};

// Include's count and source are read through a buffer of this many units,
// so at most one less of the value is used.
constexpr SIZE_T kIncludeValueUnits = 500;

struct TIncludeElement
{
    long count = 1;
    bool hasSource = false;
    // Zero-filled and copied one unit short, so it stays terminated.
    wchar_t source[kIncludeValueUnits] = {};
};

void CopyIncludeValue(LPCWSTR pstrValue, wchar_t (&buffer)[kIncludeValueUnits])
{
    std::wcsncpy(buffer, pstrValue, kIncludeValueUnits - 1);
}

const TAttributeEntry<TIncludeElement> kIncludeAttributes[] = {
    {L"count", AttrSyntax::Int,
     [](TIncludeElement& e, LPCWSTR v) {
         wchar_t szCount[kIncludeValueUnits] = {};
         CopyIncludeValue(v, szCount);
         e.count = ParseInt(szCount);
     }},
    {L"source", AttrSyntax::Text,
     [](TIncludeElement& e, LPCWSTR v) {
         CopyIncludeValue(v, e.source);
         e.hasSource = true;
     }},
};

// Applies the element's attributes in document order, so a later attribute of
// the same name wins; names the table does not know are ignored.
template <class T, size_t N>
T ReadElement(const CMarkupNode& node, const TAttributeEntry<T> (&table)[N])
{
    T element;
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        AttrParse::ApplyFromTable(table, element, node.GetAttributeName(i), node.GetAttributeValue(i));
    return element;
}

void AddImage(const CMarkupNode& node, CPaintManagerUI* pManager)
{
    const TImageElement image = ReadElement(node, kImageAttributes);
    if (image.name != nullptr) pManager->AddImage(image.name, image.type, image.mask);
}

void AddFont(const CMarkupNode& node, CPaintManagerUI* pManager)
{
    const TFontElement font = ReadElement(node, kFontAttributes);
    if (font.name == nullptr) return;
    pManager->AddFont(font.name, font.size, font.bold, font.underline, font.italic);
    if (font.isDefault) pManager->SetDefaultFont(font.name, font.size, font.bold, font.underline, font.italic);
}

void AddDefaultList(const CMarkupNode& node, CPaintManagerUI* pManager)
{
    const TDefaultElement list = ReadElement(node, kDefaultAttributes);
    if (list.name != nullptr) pManager->AddDefaultAttributeList(list.name, list.value);
}

template <class T, size_t N>
std::vector<AttrParse::TAttributeInfo> ListTable(const TAttributeEntry<T> (&table)[N])
{
    std::vector<AttrParse::TAttributeInfo> attributes;
    for (const TAttributeEntry<T>& entry : table) attributes.push_back({entry.name, entry.syntax});
    return attributes;
}

} // namespace

CDialogBuilder::CDialogBuilder()
    : m_pCallback(nullptr),
      m_pstrType(nullptr),
      m_pstrLoadError(nullptr),
      m_nIncludeDepth(0),
      m_nIncludesLeft(kMaxIncludedDocuments),
      m_pIncludesLeft(&m_nIncludesLeft),
      m_nControlsLeft(kMaxControls),
      m_pControlsLeft(&m_nControlsLeft)
{
}

CDialogBuilder::~CDialogBuilder() = default;

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCWSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_pstrLoadError = nullptr;
    if (xml.IsId()) {
        if (!LoadFromResource(xml.GetId(), type)) return nullptr;
        m_pstrType = type;
    } else if (xml.m_lpstr[0] == L'<') {
        if (!m_xml.Load(xml.m_lpstr)) return nullptr;
    } else if (!m_xml.LoadFromFile(xml.m_lpstr)) {
        return nullptr;
    }
    return Create(pCallback, pManager, pParent);
}

bool CDialogBuilder::LoadFromResource(WORD wId, LPCWSTR type)
{
    m_xml.Release();
    m_pstrLoadError = L"Error opening resource";
    if (type == nullptr) return false;
    const HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    const HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(wId), type);
    if (hResource == nullptr) return false;
    const HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    if (hGlobal == nullptr) return false;
    const auto* pBytes = static_cast<const BYTE*>(::LockResource(hGlobal));
    const DWORD dwSize = ::SizeofResource(hModule, hResource);
    if (pBytes == nullptr) return false;
    // From here on the parser reports what went wrong.
    m_pstrLoadError = nullptr;
    return m_xml.LoadFromMem(pBytes, dwSize, 0);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_pCallback = pCallback;
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) return nullptr;

    if (pManager != nullptr) {
        RegisterResources(root, pManager);
        if (Equals(root.GetName(), L"Window") && pManager->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(root, pManager);
        if (pManager->HasWindowShadow()) pManager->CalMiddleShadowRect();
    }
    return Parse(root, pParent, pManager);
}

void CDialogBuilder::RegisterResources(CMarkupNode& root, CPaintManagerUI* pManager) const
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrName = node.GetName();
        if (Equals(pstrName, L"Image")) AddImage(node, pManager);
        else if (Equals(pstrName, L"Font")) AddFont(node, pManager);
        else if (Equals(pstrName, L"Default")) AddDefaultList(node, pManager);
    }
}

void CDialogBuilder::ApplyWindowAttributes(CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (int i = 0; i < root.GetAttributeCount(); ++i) {
        AttrParse::ApplyFromTable(kWindowAttributes, *pManager, root.GetAttributeName(i), root.GetAttributeValue(i));
    }
}

CControlUI* CDialogBuilder::NewControl(LPCWSTR pstrClass) const
{
    // Registered names match exactly and case-sensitively: "button" is not a
    // Button, it goes to the plug-ins and the callback like any other name.
    if (CControlUI* pControl = CControlRegistry::Create(pstrClass)) return pControl;
    for (const LPCREATECONTROL pCreate : CPaintManagerUI::GetPlugins()) {
        if (CControlUI* pControl = pCreate(pstrClass)) return pControl;
    }
    return m_pCallback != nullptr ? m_pCallback->CreateControl(pstrClass) : nullptr;
}

void CDialogBuilder::ApplyAttributes(CMarkupNode& node, CControlUI* pControl, CPaintManagerUI* pManager)
{
    if (pManager != nullptr) {
        pControl->SetManager(pManager, nullptr, false);
        if (LPCWSTR pstrDefaults = pManager->GetDefaultAttributeList(node.GetName()))
            pControl->ApplyAttributeList(pstrDefaults);
    }
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
}

CControlUI* CDialogBuilder::Parse(CMarkupNode& parent, CControlUI* pParent, CPaintManagerUI* pManager)
{
    IContainerUI* pContainer = nullptr;
    bool bContainerAsked = false;
    CControlUI* pReturn = nullptr;
    CTreeNodeUI* pParentNode = pParent != nullptr
                                   ? static_cast<CTreeNodeUI*>(pParent->GetInterface(CTreeNodeUI::kNames.interfaceName))
                                   : nullptr;

    for (CMarkupNode node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        if (IsResourceElement(pstrClass)) continue;
        if (Equals(pstrClass, L"Include")) {
            Include(node, pParent, pManager);
            continue;
        }
        if (*m_pControlsLeft <= 0) return pReturn;
        if (Equals(pstrClass, CTreeNodeUI::kNames.element)) {
            if (!ParseTreeNode(node, pParent, pManager)) return nullptr;
            continue;
        }
        CControlUI* pControl = NewControl(pstrClass);
        if (pControl == nullptr) continue; // unknown: skipped with its subtree
        --*m_pControlsLeft;

        if (node.HasChildren()) Parse(node, pControl, pManager);

        if (pParent != nullptr) {
            if (!bContainerAsked) {
                // Controls inside a tree node go into the node's row.
                pContainer = pParentNode != nullptr ? pParentNode->GetTreeNodeHoriznotal()
                                                    : static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
                bContainerAsked = true;
            }
            if (pContainer == nullptr) {
                delete pControl;
                return nullptr;
            }
            if (!pContainer->Add(pControl)) {
                delete pControl;
                continue;
            }
        }

        // The manager is lent for the attributes only, so fonts and images
        // resolve; the tree gets it for good when it is attached.
        ApplyAttributes(node, pControl, pManager);
        if (pManager != nullptr) pControl->SetManager(nullptr, nullptr, false);

        if (pReturn == nullptr) pReturn = pControl;
    }
    return pReturn;
}

bool CDialogBuilder::ParseTreeNode(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    // A tree node with no parent control has nowhere to go: it is skipped
    // with its subtree.
    if (pParent == nullptr) return true;
    auto* pParentNode = static_cast<CTreeNodeUI*>(pParent->GetInterface(CTreeNodeUI::kNames.interfaceName));
    auto* pTreeView = static_cast<CTreeViewUI*>(pParent->GetInterface(CTreeViewUI::kNames.interfaceName));
    if (pParentNode == nullptr && pTreeView == nullptr) return false;

    auto* pNode = new CTreeNodeUI;
    --*m_pControlsLeft;
    if (pParentNode != nullptr && !pParentNode->Add(pNode)) {
        delete pNode;
        return true;
    }
    // The node keeps the manager: it gets it for good with the view anyway.
    ApplyAttributes(node, pNode, pManager);
    if (node.HasChildren()) Parse(node, pNode, pManager);
    if (pParentNode == nullptr && !pTreeView->Add(pNode)) delete pNode;
    return true;
}

void CDialogBuilder::Include(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    if (!node.HasAttributes()) return;

    const TIncludeElement include = ReadElement(node, kIncludeAttributes);
    if (!include.hasSource) return;

    for (long i = 0; i < include.count; ++i) {
        if (m_nIncludeDepth >= kMaxIncludeDepth || *m_pIncludesLeft <= 0) return;
        --*m_pIncludesLeft;

        CDialogBuilder builder;
        builder.m_nIncludeDepth = m_nIncludeDepth + 1;
        builder.m_pIncludesLeft = m_pIncludesLeft;
        builder.m_pControlsLeft = m_pControlsLeft;
        // A document that came from a resource includes resources of its type.
        if (m_pstrType != nullptr) {
            const auto wId = static_cast<WORD>(ParseInt(include.source) & 0xFFFF);
            builder.Create(STRINGorID(wId), m_pstrType, m_pCallback, pManager, pParent);
        } else {
            builder.Create(STRINGorID(include.source), nullptr, m_pCallback, pManager, pParent);
        }
    }
}

std::vector<AttrParse::TAttributeInfo> CDialogBuilder::GetWindowAttributes()
{
    return ListTable(kWindowAttributes);
}

std::vector<AttrParse::TAttributeInfo> CDialogBuilder::GetElementAttributes(LPCWSTR pstrElement)
{
    if (pstrElement == nullptr) return {};
    if (Equals(pstrElement, L"Window")) return ListTable(kWindowAttributes);
    if (Equals(pstrElement, L"Image")) return ListTable(kImageAttributes);
    if (Equals(pstrElement, L"Font")) return ListTable(kFontAttributes);
    if (Equals(pstrElement, L"Default")) return ListTable(kDefaultAttributes);
    if (Equals(pstrElement, L"Include")) return ListTable(kIncludeAttributes);
    return {};
}

void CDialogBuilder::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    if (m_pstrLoadError != nullptr) std::wcsncpy(pstrMessage, m_pstrLoadError, cchMax);
    else m_xml.GetLastErrorMessage(pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    if (m_pstrLoadError != nullptr) std::wcsncpy(pstrSource, L"", cchMax);
    else m_xml.GetLastErrorLocation(pstrSource, cchMax);
}

} // namespace VarnelUI
