// The paint manager's fonts: the default font and the window's font table,
// addressed by the position a font was added at (the skin's font ids).

#include "varnelui/core/UIManager.h"

#include <memory>
#include <new>

namespace VarnelUI {

namespace {

bool Matches(const TFontInfo& info, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return info.faceName == (pStrFontName != nullptr ? pStrFontName : L"") && info.size == nSize &&
           info.bold == bBold && info.underline == bUnderline && info.italic == bItalic;
}

} // namespace

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

HFONT CPaintManagerUI::CreateSkinFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    ::lstrcpynW(lf.lfFaceName, pStrFontName != nullptr ? pStrFontName : L"", LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight += FW_BOLD;
    if (bUnderline) lf.lfUnderline = TRUE;
    if (bItalic) lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

void CPaintManagerUI::FillFontMetrics(TFontInfo& info) const
{
    if (m_hDcPaint.Get() == nullptr || info.hFont == nullptr) return;
    CSelectObjectGuard select(m_hDcPaint.Get(), info.hFont);
    ::GetTextMetricsW(m_hDcPaint.Get(), &info.tm);
}

// ---- the default font ----------------------------------------------------------------

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const HFONT hFont = CreateSkinFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr) return;
    if (m_DefaultFontInfo.hFont != nullptr) ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = hFont;
    m_DefaultFontInfo.faceName = pStrFontName;
    m_DefaultFontInfo.size = nSize;
    m_DefaultFontInfo.bold = bBold;
    m_DefaultFontInfo.underline = bUnderline;
    m_DefaultFontInfo.italic = bItalic;
    m_DefaultFontInfo.tm = {};
    FillFontMetrics(m_DefaultFontInfo);
    if (m_hwndTooltip != nullptr) ::SendMessageW(m_hwndTooltip, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    if (m_pParentResourcePM != nullptr) return m_pParentResourcePM->GetDefaultFontInfo();
    if (m_DefaultFontInfo.tm.tmHeight == 0) FillFontMetrics(m_DefaultFontInfo);
    return &m_DefaultFontInfo;
}

// ---- the font table ------------------------------------------------------------------

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return AddFontAt(m_CustomFonts.fonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    CFontHandle hFont(CreateSkinFont(pStrFontName, nSize, bBold, bUnderline, bItalic));
    if (!hFont) return nullptr;
    std::unique_ptr<TFontInfo> pInfo(
        new (std::nothrow) TFontInfo{hFont.Get(), CUIString(pStrFontName), nSize, bBold, bUnderline, bItalic, {}});
    if (pInfo == nullptr || !m_CustomFonts.fonts.InsertAt(index, pInfo.get())) return nullptr;
    // The table owns the record and its font from here on.
    FillFontMetrics(*pInfo.release());
    return hFont.Release();
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_CustomFonts.fonts.GetSize();
}

HFONT CPaintManagerUI::GetFont(int index)
{
    if (index < 0 || index >= m_CustomFonts.fonts.GetSize()) return GetDefaultFontInfo()->hFont;
    return static_cast<TFontInfo*>(m_CustomFonts.fonts[index])->hFont;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const int index = GetFontIndex(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (index >= 0) return static_cast<TFontInfo*>(m_CustomFonts.fonts[index])->hFont;
    if (m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->GetFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return nullptr;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont) const
{
    if (hFont == nullptr) return -1;
    for (int i = 0; i < m_CustomFonts.fonts.GetSize(); ++i) {
        if (static_cast<const TFontInfo*>(m_CustomFonts.fonts[i])->hFont == hFont) return i;
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    for (int i = 0; i < m_CustomFonts.fonts.GetSize(); ++i) {
        if (Matches(*static_cast<const TFontInfo*>(m_CustomFonts.fonts[i]), pStrFontName, nSize, bBold, bUnderline,
                    bItalic))
            return i;
    }
    return -1;
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    if (index < 0 || index >= m_CustomFonts.fonts.GetSize()) return GetDefaultFontInfo();
    TFontInfo* pInfo = static_cast<TFontInfo*>(m_CustomFonts.fonts[index]);
    if (pInfo->tm.tmHeight == 0) FillFontMetrics(*pInfo);
    return pInfo;
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    const int index = GetFontIndex(hFont);
    if (index >= 0) return GetFontInfo(index);
    if (m_pParentResourcePM != nullptr) return m_pParentResourcePM->GetFontInfo(hFont);
    return GetDefaultFontInfo();
}

bool CPaintManagerUI::FindFont(HFONT hFont) const
{
    if (GetFontIndex(hFont) >= 0) return true;
    return m_pParentResourcePM != nullptr && m_pParentResourcePM->FindFont(hFont);
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    if (GetFontIndex(pStrFontName, nSize, bBold, bUnderline, bItalic) >= 0) return true;
    return m_pParentResourcePM != nullptr &&
           m_pParentResourcePM->FindFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    return RemoveFontAt(GetFontIndex(hFont));
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    if (index < 0 || index >= m_CustomFonts.fonts.GetSize()) return false;
    TFontInfo* pInfo = static_cast<TFontInfo*>(m_CustomFonts.fonts[index]);
    m_CustomFonts.fonts.Remove(index);
    ::DeleteObject(pInfo->hFont);
    delete pInfo;
    return true;
}

void CPaintManagerUI::RemoveAllFonts()
{
    m_CustomFonts.FreeAll();
}

} // namespace VarnelUI
