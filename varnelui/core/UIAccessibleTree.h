#pragma once
// One window's side of accessibility: the window's object served on
// WM_GETOBJECT, one object per control asked for, child ids that stay with
// their control for its whole life, and the events assistive tools follow.

#include "varnelui/core/UIDefines.h"

#include <unordered_map>

namespace VarnelUI {

class CAccessibleUI;
class CControlUI;
class CPaintManagerUI;
struct TNotifyUI;

class CAccessibleTree
{
public:
    explicit CAccessibleTree(CPaintManagerUI& manager);
    CAccessibleTree(const CAccessibleTree&) = delete;
    CAccessibleTree& operator=(const CAccessibleTree&) = delete;
    // Every object handed out answers RPC_E_DISCONNECTED from then on.
    ~CAccessibleTree();

    CPaintManagerUI& Manager() const { return m_manager; }

    // Answers WM_GETOBJECT for the client area; false for other object ids.
    bool OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // The control's child id, handed out on first request; ids start at 1.
    LONG ChildId(CControlUI* pControl);
    // Null when no live control has the id.
    CControlUI* ControlFromId(LONG nId) const;
    // The control's object, with a reference for the caller; made on first
    // request. The root's is the window's object.
    CAccessibleUI* ObjectFor(CControlUI* pControl);

    // A control is being destroyed: its object is disconnected, its id retired.
    void Forget(CControlUI* pControl);
    // Raises the event for the control. Focus events always go out; the rest
    // only once a tool has asked for the window's object, so building large
    // trees costs nothing while nobody listens.
    void RaiseEvent(DWORD dwEvent, CControlUI* pControl);
    // The events a notification stands for (selection, value, state changes).
    void OnNotify(const TNotifyUI& msg);
    // Runs a default action posted with UIMSG_ACCESSIBLE_ACTION.
    void RunDefaultAction(LONG nId);

private:
    struct TEntry
    {
        LONG nId;
        CAccessibleUI* pObject; // one reference, or null until asked for
    };

    CPaintManagerUI& m_manager;
    CAccessibleUI* m_pWindowObject = nullptr;
    bool m_bListened = false;
    LONG m_nNextId = 1;
    std::unordered_map<CControlUI*, TEntry> m_entries;
    std::unordered_map<LONG, CControlUI*> m_controls;
};

} // namespace VarnelUI
