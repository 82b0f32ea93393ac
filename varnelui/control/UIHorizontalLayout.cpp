#include "varnelui/control/UIHorizontalLayout.h"

#include "varnelui/core/UIAttrParse.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CHorizontalLayoutUI> kRegistration;

constexpr TBoxRules kHorizontalRules = {LayoutAxis::Horizontal, /*barsReservedWhenEmpty*/ false,
                                        /*followsCrossScroll*/ false};

} // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI() : CBoxLayoutUI(kHorizontalRules)
{
}

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return kNames.className;
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CHorizontalLayoutUI*>(this);
    return CBoxLayoutUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    SetSepSize(iWidth);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return GetSepSize();
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using Entry = AttrParse::TAttributeEntry<CHorizontalLayoutUI>;
    static const Entry kAttributes[] = {
        {L"sepwidth", AttrParse::AttrSyntax::Int,
         [](CHorizontalLayoutUI& c, LPCWSTR v) { c.SetSepWidth(static_cast<int>(AttrParse::ParseInt(v))); }},
    };
    if (!AttrParse::ApplyFromTable(kAttributes, *this, pstrName, pstrValue))
        CBoxLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace VarnelUI
