#pragma once
// A date shown as "yyyy-mm-dd" text. With the focus it lays the platform's
// date picker over itself; the picked date comes back when the picker closes.

#include "varnelui/control/UILabel.h"

namespace VarnelUI {

class CDateTimeWnd;

class VARNELUI_API CDateTimeUI : public CLabelUI
{
    friend class CDateTimeWnd;

public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"DateTime", L"DateTimeUI", L"DateTime"};

    // Starts at the local time, showing today's date.
    CDateTimeUI();
    // A picker still open forgets the control and closes.
    ~CDateTimeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void DoEvent(TEventUI& event) override;

    // ---- non-virtual ---------------------------------------------------------
    SYSTEMTIME& GetTime();
    // Changes the value only: the text shows it once the picker has closed on it.
    void SetTime(const SYSTEMTIME* pst);
    // Stored for the application; the picker does not consult it.
    bool IsReadOnly() const;
    void SetReadOnly(bool bReadOnly);
    // Brings the text in line with what the last picker did with it.
    void UpdateText();

private:
    // What the closing picker does with the text.
    enum class TextUpdate { None, Update, Delete, Keep };

    // Opens the picker, or moves an open one back to the control's value.
    void OpenPicker();

    SYSTEMTIME m_sysTime;
    TextUpdate m_nDTUpdateFlag;
    bool m_bReadOnly;
    CDateTimeWnd* m_pWindow;
};

} // namespace VarnelUI
