// The paint manager's image cache: images decoded once per window and shared
// by name among its controls.

#include "varnelui/core/UIManager.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIPixelRuns.h"
#include "varnelui/core/UIRender.h"

#include <cwchar>
#include <new>
#include <utility>

namespace VarnelUI {

namespace {

// Resource images are named by their decimal id; other names load nothing.
TImageInfo* LoadByName(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == nullptr || *bitmap == L'\0') return nullptr;
    if (type == nullptr || *type == L'\0') return CRenderEngine::LoadImageW(bitmap, nullptr, mask);
    if (*bitmap < L'0' || *bitmap > L'9') return nullptr;
    const UINT id = static_cast<UINT>(std::wcstoul(bitmap, nullptr, 10));
    return CRenderEngine::LoadImageW(STRINGorID(id), type, mask);
}

} // namespace

CPaintManagerUI::TImageCache::~TImageCache()
{
    FreeAll();
}

void CPaintManagerUI::TImageCache::FreeAll()
{
    for (int i = 0; i < map.GetSize(); ++i)
        CRenderEngine::FreeImage(static_cast<TImageInfo*>(map.Find(map.GetAt(i), false)));
    map.RemoveAll();
}

TImageInfo* CPaintManagerUI::Cache(LPCWSTR bitmap, TImageInfo* pImage)
{
    if (m_ImageCache.map.Insert(bitmap, pImage)) return pImage;
    CRenderEngine::FreeImage(pImage);
    return static_cast<TImageInfo*>(m_ImageCache.map.Find(bitmap));
}

TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    TImageInfo* pImage = LoadByName(bitmap, type, mask);
    if (pImage == nullptr) return nullptr;
    if (m_bAlphaBackground) pImage->alpha = true;
    if (type != nullptr) pImage->resType = type;
    pImage->mask = mask;
    return Cache(bitmap, pImage);
}

// The cache takes the bitmap over; like a loaded image, it is released when
// the name is taken already.
TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha)
{
    if (bitmap == nullptr || hBitmap == nullptr || iWidth <= 0 || iHeight <= 0) return nullptr;
    TImageInfo* pImage = new (std::nothrow) TImageInfo{hBitmap, iWidth, iHeight, bAlpha, CUIString(), 0, nullptr};
    if (pImage == nullptr) return nullptr;
    pImage->runs = CPixelRuns::Build(TPixelView::Of(hBitmap));
    return Cache(bitmap, pImage);
}

TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap)
{
    if (bitmap == nullptr) return nullptr;
    if (TImageInfo* pImage = static_cast<TImageInfo*>(m_ImageCache.map.Find(bitmap))) return pImage;
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetImage(bitmap) : nullptr;
}

TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == nullptr) return nullptr;
    if (TImageInfo* pImage = static_cast<TImageInfo*>(m_ImageCache.map.Find(bitmap))) return pImage;
    return AddImage(bitmap, type, mask);
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap)
{
    TImageInfo* pImage = bitmap != nullptr ? static_cast<TImageInfo*>(m_ImageCache.map.Find(bitmap)) : nullptr;
    if (pImage == nullptr) return false;
    CRenderEngine::FreeImage(pImage);
    return m_ImageCache.map.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    m_ImageCache.FreeAll();
}

void CPaintManagerUI::ReloadAllImages()
{
    bool bReloaded = false;
    for (int i = 0; i < m_ImageCache.map.GetSize(); ++i) {
        // Looked up without reordering, so the walk sees every entry once.
        const LPCWSTR name = m_ImageCache.map.GetAt(i);
        TImageInfo* pImage = static_cast<TImageInfo*>(m_ImageCache.map.Find(name, false));
        if (pImage == nullptr) continue;
        TImageInfo* pFresh =
            LoadByName(name, pImage->resType.IsEmpty() ? nullptr : pImage->resType.GetData(), pImage->mask);
        if (pFresh == nullptr) continue;
        if (pImage->hBitmap != nullptr) ::DeleteObject(pImage->hBitmap);
        pImage->hBitmap = pFresh->hBitmap;
        pImage->width = pFresh->width;
        pImage->height = pFresh->height;
        pImage->alpha = pFresh->alpha;
        pImage->runs = std::move(pFresh->runs);
        pFresh->hBitmap = nullptr;
        CRenderEngine::FreeImage(pFresh);
        bReloaded = true;
    }
    if (bReloaded && m_pRoot != nullptr) m_pRoot->Invalidate();
}

void CPaintManagerUI::ReloadSkin()
{
    for (int i = 0; i < m_aLiveManagers.GetSize(); ++i)
        static_cast<CPaintManagerUI*>(m_aLiveManagers[i])->ReloadAllImages();
}

} // namespace VarnelUI
