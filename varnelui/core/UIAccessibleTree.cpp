#include "varnelui/core/UIAccessibleTree.h"

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIOption.h"
#include "varnelui/core/UIAccessible.h"
#include "varnelui/core/UIAccessibleTraits.h"
#include "varnelui/core/UIManager.h"

#include <oleacc.h>

#include <cwchar>

namespace VarnelUI {

CAccessibleTree::CAccessibleTree(CPaintManagerUI& manager) : m_manager(manager)
{
}

CAccessibleTree::~CAccessibleTree()
{
    if (m_pWindowObject != nullptr) {
        m_pWindowObject->Disconnect();
        m_pWindowObject->Release();
    }
    for (auto& entry : m_entries) {
        if (CAccessibleUI* pObject = entry.second.pObject) {
            pObject->Disconnect();
            pObject->Release();
        }
    }
}

bool CAccessibleTree::OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    // The object id travels in the low 32 bits, sign-extended or not.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return false;
    const HWND hWnd = m_manager.GetPaintWindow();
    if (m_pWindowObject == nullptr) {
        // The system's own client object answers for the window itself: its
        // name, place, state and parent.
        CUIComPtr<IAccessible> pStandard;
        const HRESULT hr = ::CreateStdAccessibleObject(hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                       pStandard.ReleaseAndGetVoidAddress());
        if (FAILED(hr)) return false;
        m_pWindowObject = new CAccessibleUI(*this, nullptr, pStandard.Get());
    }
    m_bListened = true;
    lRes = ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(m_pWindowObject));
    return true;
}

LONG CAccessibleTree::ChildId(CControlUI* pControl)
{
    const auto found = m_entries.find(pControl);
    if (found != m_entries.end()) return found->second.nId;
    const LONG nId = m_nNextId++;
    m_entries.emplace(pControl, TEntry{nId, nullptr});
    m_controls.emplace(nId, pControl);
    return nId;
}

CControlUI* CAccessibleTree::ControlFromId(LONG nId) const
{
    const auto found = m_controls.find(nId);
    return found != m_controls.end() ? found->second : nullptr;
}

CAccessibleUI* CAccessibleTree::ObjectFor(CControlUI* pControl)
{
    if (pControl == nullptr) return nullptr;
    if (pControl == m_manager.GetRoot()) {
        if (m_pWindowObject != nullptr) m_pWindowObject->AddRef();
        return m_pWindowObject;
    }
    ChildId(pControl);
    TEntry& entry = m_entries.at(pControl);
    if (entry.pObject == nullptr) entry.pObject = new CAccessibleUI(*this, pControl, nullptr);
    entry.pObject->AddRef();
    return entry.pObject;
}

void CAccessibleTree::Forget(CControlUI* pControl)
{
    const auto found = m_entries.find(pControl);
    if (found == m_entries.end()) return;
    if (CAccessibleUI* pObject = found->second.pObject) {
        pObject->Disconnect();
        pObject->Release();
    }
    m_controls.erase(found->second.nId);
    m_entries.erase(found);
}

void CAccessibleTree::RaiseEvent(DWORD dwEvent, CControlUI* pControl)
{
    if (pControl == nullptr || (!m_bListened && dwEvent != EVENT_OBJECT_FOCUS)) return;
    const HWND hWnd = m_manager.GetPaintWindow();
    if (hWnd == nullptr) return;
    // The root stands for the window's client object itself.
    const LONG nChild = pControl == m_manager.GetRoot() ? CHILDID_SELF : ChildId(pControl);
    ::NotifyWinEvent(dwEvent, hWnd, OBJID_CLIENT, nChild);
}

void CAccessibleTree::OnNotify(const TNotifyUI& msg)
{
    if (msg.sender == nullptr || !m_bListened) return;
    if (msg.type == L"selectchanged") {
        RaiseEvent(EVENT_OBJECT_STATECHANGE, msg.sender);
        const auto* pOption = static_cast<COptionUI*>(msg.sender->GetInterface(L"Option"));
        const bool bGroupChoice = pOption != nullptr && pOption->IsSelected() && pOption->GetGroup() != nullptr &&
                                  *pOption->GetGroup() != L'\0';
        if (bGroupChoice) RaiseEvent(EVENT_OBJECT_SELECTION, msg.sender);
    } else if (msg.type == L"itemselect" || msg.type == L"tabselect") {
        // Lists, combo boxes and tab layouts name the new choice by index.
        auto* pItems = static_cast<IContainerUI*>(msg.sender->GetInterface(L"IContainer"));
        CControlUI* pChosen = pItems != nullptr ? pItems->GetItemAt(static_cast<int>(msg.wParam)) : nullptr;
        RaiseEvent(EVENT_OBJECT_SELECTION, pChosen);
    } else if (msg.type == L"textchanged") {
        RaiseEvent(EVENT_OBJECT_VALUECHANGE, msg.sender);
    }
}

void CAccessibleTree::RunDefaultAction(LONG nId)
{
    CControlUI* pControl = ControlFromId(nId);
    // Taken out of the tree meanwhile (maybe waiting to be deleted): nothing to act on.
    if (pControl == nullptr || (pControl != m_manager.GetRoot() && AccessibleTraits::Parent(*pControl) == nullptr))
        return;
    AccessibleTraits::DoDefaultAction(*pControl);
}

} // namespace VarnelUI
