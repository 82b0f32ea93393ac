#include "varnelui/core/UINotifyPump.h"

#include "varnelui/control/UIControl.h"

namespace VarnelUI {

UI_MSGMAP_ENTRY UIMsgMapEnd()
{
    return UI_MSGMAP_ENTRY{CUIString(), CUIString(), UISig_end, {}};
}

const UI_MSGMAP_ENTRY CNotifyPump::_messageEntries[] = {UIMsgMapEnd()};
const UI_MSGMAP CNotifyPump::messageMap = {nullptr, CNotifyPump::_messageEntries};

CNotifyPump::CNotifyPump() = default;

CNotifyPump::~CNotifyPump() = default;

const UI_MSGMAP* CNotifyPump::GetMessageMap() const
{
    return &messageMap;
}

bool CNotifyPump::AddVirtualWnd(const CUIString& strName, CNotifyPump* pObject)
{
    if (m_VirtualWndMap.Find(strName) != nullptr) return false;
    return m_VirtualWndMap.Insert(strName, pObject);
}

bool CNotifyPump::RemoveVirtualWnd(const CUIString& strName)
{
    if (m_VirtualWndMap.Find(strName) == nullptr) return false;
    return m_VirtualWndMap.Remove(strName);
}

void CNotifyPump::NotifyPump(TNotifyUI& msg)
{
    if (!msg.virtualWnd.IsEmpty()) {
        for (int i = 0; i < m_VirtualWndMap.GetSize(); ++i) {
            const LPCWSTR key = m_VirtualWndMap.GetAt(i);
            if (key == nullptr || msg.virtualWnd.CompareNoCase(key) != 0) continue;
            // No reordering of the chains while they are walked by index.
            auto* pObject = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(key, false));
            if (pObject != nullptr && pObject->LoopDispatch(msg)) return;
        }
    }
    LoopDispatch(msg);
}

namespace {

// A handler named for the sender wins at once; otherwise the last entry for
// any control of that notification.
const UI_MSGMAP_ENTRY* FindEntry(const UI_MSGMAP_ENTRY* pEntry, const TNotifyUI& msg, const CUIString& sSender)
{
    const UI_MSGMAP_ENTRY* pAnyControl = nullptr;
    for (; pEntry->nSig != UISig_end; ++pEntry) {
        if (pEntry->sMsgType != msg.type) continue;
        if (pEntry->sCtrlName.IsEmpty()) pAnyControl = pEntry;
        else if (pEntry->sCtrlName == sSender) return pEntry;
    }
    return pAnyControl;
}

} // namespace

bool CNotifyPump::LoopDispatch(TNotifyUI& msg)
{
    const CUIString sSender = msg.sender != nullptr ? msg.sender->GetName() : CUIString();
    for (const UI_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        const UI_MSGMAP_ENTRY* pEntry = FindEntry(pMap->lpEntries, msg, sSender);
        if (pEntry == nullptr) continue;
        switch (pEntry->nSig) {
        case UISig_lwl: (this->*pEntry->pfn.pfnParams)(msg.wParam, msg.lParam); return true;
        case UISig_notify: (this->*pEntry->pfn.pfnNotify)(msg); return true;
        default: return false;
        }
    }
    return false;
}

} // namespace VarnelUI
