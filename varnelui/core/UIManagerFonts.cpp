// The paint manager's custom fonts: the window's font table, addressed by the
// position a font was added at.

#include "varnelui/core/UIManager.h"

#include <new>

namespace VarnelUI {

CPaintManagerUI::TFontTable::~TFontTable()
{
    FreeAll();
}

void CPaintManagerUI::TFontTable::FreeAll()
{
    for (int i = 0; i < fonts.GetSize(); ++i) {
        TFontInfo* pInfo = static_cast<TFontInfo*>(fonts[i]);
        ::DeleteObject(pInfo->hFont);
        delete pInfo;
    }
    fonts.Empty();
}

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const HFONT hFont = CreateSkinFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr) return nullptr;
    TFontInfo* pInfo = new (std::nothrow) TFontInfo{hFont, CUIString(pStrFontName), nSize, bBold, bUnderline, bItalic, {}};
    if (pInfo == nullptr || !m_CustomFonts.fonts.Add(pInfo)) {
        ::DeleteObject(hFont);
        delete pInfo;
        return nullptr;
    }
    FillFontMetrics(*pInfo);
    return hFont;
}

HFONT CPaintManagerUI::GetFont(int index)
{
    if (index < 0 || index >= m_CustomFonts.fonts.GetSize()) return GetDefaultFontInfo()->hFont;
    return static_cast<TFontInfo*>(m_CustomFonts.fonts[index])->hFont;
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_CustomFonts.fonts.GetSize();
}

void CPaintManagerUI::RemoveAllFonts()
{
    m_CustomFonts.FreeAll();
}

} // namespace VarnelUI
