#pragma once
// The skin checker: reads a window document and everything it includes the
// way the dialog builder does, and reports what the builder would silently
// skip or misread (unknown names, unloadable images, broken includes, values
// that do not parse) with the file and line it comes from.

#include "LineIndex.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIMarkup.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace SkinView {

enum class Severity { Error, Warning };

struct TSkinProblem
{
    std::wstring file;
    int line;
    Severity severity;
    std::wstring message;
};

// "file:line: error: message" or "file:line: warning: message".
std::wstring FormatProblem(const TSkinProblem& problem);

enum class DocumentLoad { Loaded, Unreadable, Malformed };

// Loads `name` from the installed skin the way the dialog builder does. When
// it is Malformed, `problem` says where the parser stopped and why; when it is
// Unreadable, why the file could not be had (on line 1). `lines` is filled
// whenever the file could be read.
DocumentLoad LoadSkinDocument(const std::wstring& name, VarnelUI::CMarkup& markup, std::optional<CLineIndex>& lines,
                              TSkinProblem& problem);

class CSkinChecker
{
public:
    // Checks `name`, a document of the installed skin, with everything it
    // includes; problems add up over calls. A document whose root is not a
    // Window is checked as a part of a window whose fonts are not known.
    void CheckDocument(const std::wstring& name);
    // Checks every document of a skin: each window document with what it
    // includes, then, on their own, the other documents no window includes.
    void CheckSkin(const std::vector<std::wstring>& documents);

    // Every problem so far, in the order the documents were read; a problem
    // found twice (a file included twice) is listed once.
    const std::vector<TSkinProblem>& Problems() const { return m_problems; }

private:
    struct TElementInfo
    {
        std::vector<VarnelUI::AttrParse::TAttributeInfo> attributes;
        bool isControl;
        bool isContainer;
    };

    // A loaded document and where its positions are.
    struct TDocument
    {
        std::wstring file;
        VarnelUI::CMarkup markup;
        std::optional<CLineIndex> lines;
        int fixedLine = 0; // an inline document: everything is on the including element's line

        int Line(int offset) const;
        int LineOf(const VarnelUI::CMarkupNode& node) const;
        int LineOfAttribute(const VarnelUI::CMarkupNode& node, int index) const;
    };

    struct TPlace
    {
        std::wstring file;
        int line;
    };

    // What one window accumulates over its documents.
    struct TWindow
    {
        bool fontsKnown = true;
        int fonts = 0;
        std::vector<std::pair<TPlace, long>> fontUses;
        std::map<std::wstring, TPlace> names;
        std::vector<std::wstring> includeChain;
        int includesLeft = 0;
    };

    enum class ImageCheck { Load, Skip };

    void CheckFile(const std::wstring& name, TWindow& window, const TPlace* pIncludedFrom);
    void CheckRoot(TDocument& doc, TWindow& window);
    void CheckChildren(const TDocument& doc, const VarnelUI::CMarkupNode& parent, TWindow& window);
    void CheckResource(const TDocument& doc, const VarnelUI::CMarkupNode& node, TWindow& window);
    void CheckInclude(const TDocument& doc, const VarnelUI::CMarkupNode& node, TWindow& window);
    void CheckControl(const TDocument& doc, const VarnelUI::CMarkupNode& node, const TElementInfo& element,
                      TWindow& window);
    // Every attribute of a builder-read element (Window, Image, Font, ...).
    void CheckBuilderElement(const TDocument& doc, const VarnelUI::CMarkupNode& node, TWindow& window,
                             ImageCheck images);
    void CheckAttribute(const TPlace& place, const std::wstring& owner, const TElementInfo& element,
                        const std::wstring& name, const std::wstring& value, TWindow& window,
                        ImageCheck images = ImageCheck::Load);
    void CheckValue(const TPlace& place, const std::wstring& owner, const std::wstring& name,
                    VarnelUI::AttrParse::AttrSyntax syntax, const std::wstring& value, TWindow& window,
                    ImageCheck images);
    void CheckAttributeList(const TPlace& place, const std::wstring& owner, const std::wstring& list,
                            const std::wstring& targetElement, TWindow& window);
    void CheckImage(const TPlace& place, const std::wstring& owner, const std::wstring& description);
    void CheckName(const TPlace& place, const std::wstring& name, TWindow& window);

    const TElementInfo* Element(const std::wstring& name);
    bool ImageLoads(const std::wstring& name);
    void Report(const TPlace& place, Severity severity, const std::wstring& message);

    std::map<std::wstring, std::optional<TElementInfo>> m_elements;
    std::map<std::wstring, bool> m_images;
    std::vector<TSkinProblem> m_problems;
    std::set<std::wstring> m_reported;
    std::vector<std::wstring> m_included; // as the Include elements name them
};

} // namespace SkinView
