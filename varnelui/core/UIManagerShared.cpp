// What the controls of one window share besides fonts and images: default
// attribute lists per control class, option groups, default colours, and the
// parent manager they may be borrowed from (drop-down windows that must look
// like their owner). Also the process-wide list of control plug-ins.

#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <memory>
#include <new>

namespace VarnelUI {

std::vector<LPCREATECONTROL> CPaintManagerUI::m_aPlugins;

// ---- default attribute lists ------------------------------------------------------

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (pStrControlName == nullptr) return;
    std::unique_ptr<CUIString> pList(new (std::nothrow) CUIString(pStrControlAttrList));
    // Insert refuses a class that has a list already: the first one stays.
    if (pList != nullptr && m_DefaultAttrLists.map.Insert(pStrControlName, pList.get())) pList.release();
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    if (pStrControlName == nullptr) return nullptr;
    if (const CUIString* pList = static_cast<const CUIString*>(m_DefaultAttrLists.map.Find(pStrControlName)))
        return pList->GetData();
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultAttributeList(pStrControlName) : nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName)
{
    if (pStrControlName == nullptr) return false;
    CUIString* pList = static_cast<CUIString*>(m_DefaultAttrLists.map.Find(pStrControlName));
    if (pList == nullptr) return false;
    delete pList;
    return m_DefaultAttrLists.map.Remove(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const
{
    return m_DefaultAttrLists.map;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    m_DefaultAttrLists.FreeAll();
}

// ---- option groups --------------------------------------------------------------------

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    if (pStrGroupName == nullptr) return false;
    if (CStdPtrArray* pGroup = GetOptionGroup(pStrGroupName)) {
        if (pGroup->Find(pControl) >= 0) return false;
        return pGroup->Add(pControl);
    }
    std::unique_ptr<CStdPtrArray> pGroup(new (std::nothrow) CStdPtrArray(6));
    if (pGroup == nullptr || !pGroup->Add(pControl) || !m_OptionGroups.map.Insert(pStrGroupName, pGroup.get()))
        return false;
    pGroup.release();
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName)
{
    return pStrGroupName != nullptr ? static_cast<CStdPtrArray*>(m_OptionGroups.map.Find(pStrGroupName)) : nullptr;
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* pGroup = GetOptionGroup(pStrGroupName);
    if (pGroup == nullptr) return;
    pGroup->Remove(pGroup->Find(pControl));
    if (!pGroup->IsEmpty()) return;
    delete pGroup;
    m_OptionGroups.map.Remove(pStrGroupName);
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    m_OptionGroups.FreeAll();
}

// ---- default colours ------------------------------------------------------------------

DWORD CPaintManagerUI::GetDefaultDisabledColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultDisabledColor() : m_dwDefaultDisabledColor;
}

void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor)
{
    m_dwDefaultDisabledColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultFontColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultFontColor() : m_dwDefaultFontColor;
}

void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor)
{
    m_dwDefaultFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultLinkFontColor() : m_dwDefaultLinkFontColor;
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor)
{
    m_dwDefaultLinkFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultLinkHoverFontColor()
                                          : m_dwDefaultLinkHoverFontColor;
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor)
{
    m_dwDefaultLinkHoverFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultSelectedBkColor()
                                          : m_dwDefaultSelectedBkColor;
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor)
{
    m_dwDefaultSelectedBkColor = dwColor;
}

// ---- the parent resource manager ------------------------------------------------------

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm)
{
    // Every lookup walks the chain upwards, so a cycle would never end.
    for (const CPaintManagerUI* pAncestor = pm; pAncestor != nullptr; pAncestor = pAncestor->m_pParentResourcePM) {
        if (pAncestor == this) return false;
    }
    m_pParentResourcePM = pm;
    return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const
{
    return m_pParentResourcePM;
}

// ---- control plug-ins -------------------------------------------------------------------

// The library stays loaded for the life of the process: the controls it makes
// run its code.
bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName)
{
    if (pstrModuleName == nullptr) return false;
    const HMODULE hModule = ::LoadLibraryW(pstrModuleName);
    if (hModule == nullptr) return false;
    // GetProcAddress hands back a FARPROC; the union turns it into the real type.
    union
    {
        FARPROC proc;
        LPCREATECONTROL create;
    } entry = {::GetProcAddress(hModule, "CreateControl")};
    if (entry.create == nullptr) {
        ::FreeLibrary(hModule);
        return false;
    }
    if (std::find(m_aPlugins.begin(), m_aPlugins.end(), entry.create) == m_aPlugins.end())
        m_aPlugins.push_back(entry.create);
    return true;
}

const std::vector<LPCREATECONTROL>& CPaintManagerUI::GetPlugins()
{
    return m_aPlugins;
}

} // namespace VarnelUI
