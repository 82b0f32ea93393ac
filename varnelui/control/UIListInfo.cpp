#include "varnelui/control/UIListInfo.h"

#include <cwchar>

namespace VarnelUI {

UINT ApplyHorizontalAlign(UINT uStyle, LPCWSTR pstrValue)
{
    if (pstrValue == nullptr) return uStyle;
    if (std::wcsstr(pstrValue, L"left") != nullptr) uStyle &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
    if (std::wcsstr(pstrValue, L"center") != nullptr) uStyle = (uStyle & ~static_cast<UINT>(DT_RIGHT)) | DT_CENTER;
    if (std::wcsstr(pstrValue, L"right") != nullptr) uStyle = (uStyle & ~static_cast<UINT>(DT_CENTER)) | DT_RIGHT;
    return uStyle;
}

} // namespace VarnelUI
