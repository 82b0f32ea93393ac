#pragma once
// In-place XML-like parser: one UTF-16 buffer holds the document, a flat table
// of element records links it into a tree, and nodes are small value handles.

#include "varnelui/core/UIDefines.h"

#include <memory>
#include <vector>

namespace VarnelUI {

class CMarkup;

// A handle to one element of a loaded markup. It points into the markup's
// buffer and becomes meaningless once the markup is released or reloaded.
class VARNELUI_API CMarkupNode
{
    friend class CMarkup;

public:
    CMarkupNode();

    bool IsValid() const;

    CMarkupNode GetParent() const;
    CMarkupNode GetSibling() const;
    CMarkupNode GetChild() const;
    CMarkupNode GetChild(LPCWSTR pstrName) const;

    bool HasSiblings() const;
    bool HasChildren() const;
    LPCWSTR GetName() const;
    LPCWSTR GetValue() const;
    // Where the element's name starts in the loaded text, in UTF-16 units; -1
    // for an invalid node. Skin tools turn it into a line number.
    int GetNameOffset() const;

    bool HasAttributes() const;
    bool HasAttribute(LPCWSTR pstrName) const;
    int GetAttributeCount() const;
    LPCWSTR GetAttributeName(int iIndex) const;
    LPCWSTR GetAttributeValue(int iIndex) const;
    LPCWSTR GetAttributeValue(LPCWSTR pstrName) const;
    // Copy with the wcsncpy rule: no terminator when the value fills cchMax.
    bool GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const;
    bool GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const;

private:
    static constexpr int kMaxAttributes = 64;

    struct XMLATTRIBUTE
    {
        int iName;
        int iValue;
    };

    CMarkupNode(CMarkup* pOwner, int iPos);
    CMarkupNode Link(int iPos) const;
    int FindAttribute(LPCWSTR pstrName) const;
    void MapAttributes() const;

    int m_iPos;
    // The attribute map is built on the first attribute query; 0 = not mapped yet.
    mutable int m_nAttributes;
    mutable XMLATTRIBUTE m_aAttributes[kMaxAttributes];
    CMarkup* m_pOwner;
};

class VARNELUI_API CMarkup
{
    friend class CMarkupNode;

public:
    // Limits a hostile document cannot pass; each refuses the whole load.
    // The text, in UTF-16 units: the same count as the bytes a skin file may
    // hold, so every file that may be read may also be parsed.
    static constexpr size_t kMaxDocumentUnits = 4 * 1024 * 1024;
    // Elements: ten times the 10,000-row list the scrolling bench builds.
    // Every element may become a control of about 1.5 KB, so this also
    // bounds the tree one document can build to about 150 MB.
    static constexpr int kMaxElements = 100000;
    // One attribute value, in UTF-16 units. The longest values real skins
    // hold, Default lists and formatted texts, are a few thousand; text
    // measuring and drawing walk a value on every paint.
    static constexpr int kMaxAttributeUnits = 65536;

    explicit CMarkup(LPCWSTR pstrXML = nullptr);
    ~CMarkup();
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;

    bool Load(LPCWSTR pstrXML);
    // encoding: 0 UTF-8 (optional EF BB BF mark), 1 UTF-16 with FF FE or FE FF
    // mark, 2 the system ANSI code page.
    bool LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding = 0);
    bool LoadFromFile(LPCWSTR pstrFilename, int encoding = 0);
    void Release();
    bool IsValid() const;

    void SetPreserveWhitespace(bool bPreserve = true);
    // Copy with the wcsncpy rule: no terminator when the text fills cchMax.
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;
    // Where the last parse failure lies in the loaded text, in UTF-16 units;
    // -1 when the failure has no place in it (a file, encoding or memory
    // failure).
    int GetLastErrorOffset() const;

    CMarkupNode GetRoot();

    struct tagXMLELEMENT
    {
        int iStart;
        int iChild;
        int iNext;
        int iParent;
        int iData;
    };

private:
    bool AllocateDocument(size_t nUnits);
    bool DecodeDocument(const BYTE* pByte, DWORD dwSize, int encoding);
    bool ParseLoaded();
    bool Parse();
    bool ParseAttributes(LPWSTR& pstr);
    LPWSTR ParseData(LPWSTR& pstr, wchar_t cEnd) const;
    bool ParseClosingTag(LPWSTR& pstr, int iElement);
    void TerminateName(int iElement);
    void TerminateOpenNames(int iInnermost);
    int ReserveElement();
    bool Failed(LPCWSTR pstrError);
    // A parse failure at pstrAt, a position in the document.
    bool Failed(LPCWSTR pstrError, LPCWSTR pstrAt);

    const wchar_t* Text(int iOffset) const { return m_pstrXML.get() + iOffset; }

    std::unique_ptr<wchar_t[]> m_pstrXML;
    // Grown by hand (see ReserveElement), so its capacity follows the
    // document's size in a known way.
    std::vector<tagXMLELEMENT> m_elements;
    wchar_t m_szErrorMsg[100];
    wchar_t m_szErrorXML[50];
    int m_iErrorOffset;
    bool m_bPreserveWhitespace;
};

} // namespace VarnelUI
