#pragma once
// Turns a skin document into a control tree: loads the document, registers its
// shared fonts, images and default attribute lists with a paint manager,
// applies the Window element's settings, and creates one control per element.

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIMarkup.h"
#include "varnelui/core/UIString.h"

namespace VarnelUI {

class CControlUI;
class CPaintManagerUI;

// Creates the control classes the builder does not know itself.
class IDialogBuilderCallback
{
public:
    // A new control for the element name, or null when the name is not the
    // callback's either.
    virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

protected:
    // Windows implement it; nobody deletes them through this interface.
    ~IDialogBuilderCallback() = default;
};

// One builder serves one document: make a new one for every build.
class VARNELUI_API CDialogBuilder
{
public:
    // A skin that includes itself, directly or through other files, would nest
    // without end. Includes deeper than this add nothing.
    static constexpr int kMaxIncludeDepth = 32;
    // Repeated includes multiply: a self-include with count 2 doubles at every
    // level. One build loads at most this many included documents in all.
    static constexpr int kMaxIncludedDocuments = 4096;
    // Each document is held to CMarkup::kMaxElements, but includes add up:
    // one build creates at most this many controls, the same bound as one
    // document's elements, and skips the elements after that.
    static constexpr int kMaxControls = CMarkup::kMaxElements;

    CDialogBuilder();
    ~CDialogBuilder();
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // xml is a resource id of the given type, a document when it starts with
    // '<', or else a skin file name (resource folder or archive). Null when the
    // document cannot be loaded or creates no top-level control.
    CControlUI* Create(STRINGorID xml, LPCWSTR type = nullptr, IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds from the document already loaded; returns the first control
    // created at the top level.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr, CPaintManagerUI* pManager = nullptr,
                       CControlUI* pParent = nullptr);

    // The attributes a Window root element may carry, in table order.
    static std::vector<AttrParse::TAttributeInfo> GetWindowAttributes();
    // The elements the builder reads itself rather than through a control
    // class, in document-vocabulary order, and the attributes each one reads.
    static constexpr LPCWSTR kBuilderElements[] = {L"Window", L"Image", L"Font", L"Default", L"Include"};
    static std::vector<AttrParse::TAttributeInfo> GetElementAttributes(LPCWSTR pstrElement);

    // The load failure's message and the document text where it happened,
    // copied with the wcsncpy rule.
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;

private:
    bool LoadFromResource(WORD wId, LPCWSTR type);
    void RegisterResources(CMarkupNode& root, CPaintManagerUI* pManager) const;
    static void ApplyWindowAttributes(CMarkupNode& root, CPaintManagerUI* pManager);
    CControlUI* Parse(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    void Include(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    // Builds a TreeNode element into its parent node or tree view; false when
    // the parent is neither, which ends the level.
    bool ParseTreeNode(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    // Lends the manager and applies the element's default list and attributes.
    static void ApplyAttributes(CMarkupNode& node, CControlUI* pControl, CPaintManagerUI* pManager);
    // The class table, then the plug-ins in load order, then the callback.
    CControlUI* NewControl(LPCWSTR pstrClass) const;

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback;
    LPCWSTR m_pstrType;
    // Set when the document could not even be handed to the parser (a
    // missing resource); the parser's own messages are used otherwise.
    LPCWSTR m_pstrLoadError;
    // How deep this builder's document sits in an Include chain (0 for the
    // document the caller asked for), and the included documents the whole
    // build may still load, counted in the outermost builder.
    int m_nIncludeDepth;
    int m_nIncludesLeft;
    int* m_pIncludesLeft;
    // The controls the whole build may still create, likewise.
    int m_nControlsLeft;
    int* m_pControlsLeft;
};

} // namespace VarnelUI
