#include "varnelui/control/UICheckBox.h"

namespace VarnelUI {

namespace {

const CControlRegistration<CCheckBoxUI> kRegistration;

} // namespace

LPCWSTR CCheckBoxUI::GetClass() const
{
    return kNames.className;
}

bool CCheckBoxUI::GetCheck() const
{
    return IsSelected();
}

void CCheckBoxUI::SetCheck(bool bCheck)
{
    Selected(bCheck);
}

} // namespace VarnelUI
