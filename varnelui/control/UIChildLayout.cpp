#include "varnelui/control/UIChildLayout.h"

#include "varnelui/core/UIAttrParse.h"
#include "varnelui/core/UIDlgBuilder.h"

#include <algorithm>
#include <vector>

namespace VarnelUI {

namespace {

const CControlRegistration<CChildLayoutUI> kRegistration;

const AttrParse::TAttributeEntry<CChildLayoutUI> kChildLayoutAttributes[] = {
    {L"xmlfile", AttrParse::AttrSyntax::Text, [](CChildLayoutUI& c, LPCWSTR v) { c.SetChildLayoutXML(v); }},
};

// A skin file holding a child layout of itself, directly or through other
// files, would build without end. The files being built are kept here,
// outermost first (GUI thread only); one already among them, or one nested
// deeper than the dialog builder lets includes nest, builds nothing.
class CBuildChain
{
public:
    explicit CBuildChain(const CUIString& sFile) : m_bEntered(CanEnter(sFile))
    {
        if (m_bEntered) Files().push_back(sFile);
    }
    ~CBuildChain()
    {
        if (m_bEntered) Files().pop_back();
    }
    CBuildChain(const CBuildChain&) = delete;
    CBuildChain& operator=(const CBuildChain&) = delete;

    bool IsEntered() const { return m_bEntered; }

private:
    static std::vector<CUIString>& Files()
    {
        static std::vector<CUIString> files;
        return files;
    }
    static bool CanEnter(const CUIString& sFile)
    {
        const std::vector<CUIString>& files = Files();
        if (files.size() >= static_cast<size_t>(CDialogBuilder::kMaxIncludeDepth)) return false;
        return std::none_of(files.begin(), files.end(),
                            [&](const CUIString& sOpen) { return sOpen.CompareNoCase(sFile) == 0; });
    }

    const bool m_bEntered;
};

} // namespace

LPCWSTR CChildLayoutUI::GetClass() const
{
    return kNames.className;
}

LPVOID CChildLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CChildLayoutUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

void CChildLayoutUI::Init()
{
    if (m_sXmlFile.IsEmpty()) return;
    // Adding the child initialises it, which builds the child layouts inside
    // it: the file stays in the chain until then.
    const CBuildChain chain(m_sXmlFile);
    CControlUI* pChild = nullptr;
    if (chain.IsEntered()) {
        // No resource type: the name is a file of the skin folder or archive.
        CDialogBuilder builder;
        pChild = builder.Create(STRINGorID(m_sXmlFile), nullptr, nullptr, m_pManager, nullptr);
    }
    if (pChild != nullptr) Add(pChild);
    else RemoveAll();
}

void CChildLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (AttrParse::ApplyFromTable(kChildLayoutAttributes, *this, pstrName, pstrValue)) return;
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CChildLayoutUI::SetChildLayoutXML(LPCWSTR pstrXml)
{
    m_sXmlFile = pstrXml;
}

CUIString CChildLayoutUI::GetChildLayoutXML() const
{
    return m_sXmlFile;
}

} // namespace VarnelUI
