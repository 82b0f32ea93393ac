#pragma once
// Routes a window's notifications to member handlers through a per-class table
// (notification name, optional control name -> handler), following the tables
// of the base classes, and lets named virtual windows take over the
// notifications of their controls.

#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"
#include "varnelui/core/StdStringPtrMap.h"
#include "varnelui/core/UIManager.h"

namespace VarnelUI {

class CNotifyPump;

// Handler shapes. A derived class's member is converted to the pump's member
// type, which keeps the this-adjustment for classes with several bases.
using UI_PMSG_NOTIFY = void (CNotifyPump::*)(TNotifyUI& msg);
using UI_PMSG_PARAMS = void (CNotifyPump::*)(WPARAM wParam, LPARAM lParam);

// Signature kinds of a table entry; the handler is called the matching way.
enum UI_MSGMAP_SIG : UINT {
    UISig_end = 0,    // ends the table
    UISig_lwl = 1,    // handler(wParam, lParam)
    UISig_notify = 2, // handler(TNotifyUI&)
};

// Only the member named by the entry's signature kind is ever read.
union UI_MSGMAP_HANDLER
{
    UI_PMSG_NOTIFY pfnNotify;
    UI_PMSG_PARAMS pfnParams;
};

struct UI_MSGMAP_ENTRY
{
    CUIString sMsgType;
    CUIString sCtrlName; // empty: any control
    UINT nSig;
    UI_MSGMAP_HANDLER pfn;
};

struct UI_MSGMAP
{
    const UI_MSGMAP* (*pfnGetBaseMap)(); // null for the root of the chain
    const UI_MSGMAP_ENTRY* lpEntries;
};

// Table entries. The handler's signature picks the kind; the class must derive
// from CNotifyPump (checked by the conversion).
template <class T>
UI_MSGMAP_ENTRY UIMsgEntry(LPCWSTR pstrType, LPCWSTR pstrCtrlName, void (T::*pfn)(TNotifyUI&))
{
    UI_MSGMAP_ENTRY entry{pstrType, pstrCtrlName, UISig_notify, {}};
    entry.pfn.pfnNotify = static_cast<UI_PMSG_NOTIFY>(pfn);
    return entry;
}

template <class T>
UI_MSGMAP_ENTRY UIMsgEntry(LPCWSTR pstrType, LPCWSTR pstrCtrlName, void (T::*pfn)(WPARAM, LPARAM))
{
    UI_MSGMAP_ENTRY entry{pstrType, pstrCtrlName, UISig_lwl, {}};
    entry.pfn.pfnParams = static_cast<UI_PMSG_PARAMS>(pfn);
    return entry;
}

// The terminator every table ends with.
VARNELUI_API UI_MSGMAP_ENTRY UIMsgMapEnd();

// Declares a class's own table. In the source file, define it with
// UI_IMPLEMENT_MESSAGE_MAP(Class, Base) followed by
//     const UI_MSGMAP_ENTRY Class::_messageEntries[] = { UIMsgEntry(...), ..., UIMsgMapEnd() };
#define UI_DECLARE_MESSAGE_MAP()                                                                                       \
protected:                                                                                                             \
    static const VarnelUI::UI_MSGMAP* _GetBaseMessageMap();                                                            \
    static const VarnelUI::UI_MSGMAP_ENTRY _messageEntries[];                                                          \
    static const VarnelUI::UI_MSGMAP messageMap;                                                                       \
                                                                                                                       \
public:                                                                                                                \
    const VarnelUI::UI_MSGMAP* GetMessageMap() const override;

#define UI_IMPLEMENT_MESSAGE_MAP(theClass, baseClass)                                                                  \
    const VarnelUI::UI_MSGMAP* theClass::_GetBaseMessageMap()                                                          \
    {                                                                                                                  \
        return &baseClass::messageMap;                                                                                 \
    }                                                                                                                  \
    const VarnelUI::UI_MSGMAP theClass::messageMap = {&theClass::_GetBaseMessageMap, &theClass::_messageEntries[0]};   \
    const VarnelUI::UI_MSGMAP* theClass::GetMessageMap() const                                                         \
    {                                                                                                                  \
        return &theClass::messageMap;                                                                                  \
    }

class VARNELUI_API CNotifyPump
{
public:
    CNotifyPump();
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;
    virtual ~CNotifyPump();

    // The pumps are borrowed. Adding a name that is present changes nothing.
    bool AddVirtualWnd(const CUIString& strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(const CUIString& strName);

    // A notification of a virtual window goes to the pumps registered under
    // that name first; whatever none of them handles comes to this object.
    void NotifyPump(TNotifyUI& msg);
    // Looks the notification up in this object's table chain; false when no
    // table has a handler.
    bool LoopDispatch(TNotifyUI& msg);

    virtual const UI_MSGMAP* GetMessageMap() const;

protected:
    static const UI_MSGMAP_ENTRY _messageEntries[];
    static const UI_MSGMAP messageMap;

private:
    CStdStringPtrMap m_VirtualWndMap{83};
};

} // namespace VarnelUI
