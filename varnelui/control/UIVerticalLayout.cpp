#include "varnelui/control/UIVerticalLayout.h"

#include "varnelui/core/UIAttrParse.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CVerticalLayoutUI> kRegistration;

constexpr TBoxRules kVerticalRules = {LayoutAxis::Vertical, /*barsReservedWhenEmpty*/ true,
                                      /*followsCrossScroll*/ true};

} // namespace

CVerticalLayoutUI::CVerticalLayoutUI() : CBoxLayoutUI(kVerticalRules)
{
}

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return kNames.className;
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (IsOwnInterface(pstrName, kNames)) return static_cast<CVerticalLayoutUI*>(this);
    return CBoxLayoutUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    SetSepSize(iHeight);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return GetSepSize();
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using Entry = AttrParse::TAttributeEntry<CVerticalLayoutUI>;
    static const Entry kAttributes[] = {
        {L"sepheight", AttrParse::AttrSyntax::Int,
         [](CVerticalLayoutUI& c, LPCWSTR v) { c.SetSepHeight(static_cast<int>(AttrParse::ParseInt(v))); }},
    };
    if (!AttrParse::ApplyFromTable(kAttributes, *this, pstrName, pstrValue))
        CBoxLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace VarnelUI
