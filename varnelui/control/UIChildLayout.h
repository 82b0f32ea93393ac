#pragma once
// A container that fills itself from a separate skin file when it is
// initialised. It is not offered to the dialog builder as a container, so
// children written inside its element are not added.

#include "varnelui/control/UIContainer.h"

namespace VarnelUI {

class VARNELUI_API CChildLayoutUI : public CContainerUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ChildLayout", L"ChildLayoutUI", L"ChildLayout"};

    LPCWSTR GetClass() const override;
    // Answers "ChildLayout" and the control base's names, not the container's.
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // Builds the skin file into its only child; ends with no children when
    // the file cannot be built. No OnInit is fired.
    void Init() override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // ---- non-virtual ---------------------------------------------------------
    // A skin file name, looked up like every skin file of the window: in the
    // resource folder or the resource archive.
    void SetChildLayoutXML(LPCWSTR pstrXml);
    CUIString GetChildLayoutXML() const;

private:
    CUIString m_sXmlFile;
};

} // namespace VarnelUI
