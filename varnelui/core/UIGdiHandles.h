#pragma once
// Owning wrappers for GDI handles and icons, so every early return releases
// what was created, and a guard that undoes a SelectObject.

#include "varnelui/core/UIDefines.h"

#include <utility>

namespace VarnelUI {

// Owns one handle and frees it with Traits::Free. Move-only.
template <class Traits>
class CGdiHandle
{
public:
    using handle_type = typename Traits::Handle;

    CGdiHandle() = default;
    explicit CGdiHandle(handle_type h) : m_h(h) {}
    CGdiHandle(CGdiHandle&& rhs) noexcept : m_h(rhs.Release()) {}
    CGdiHandle& operator=(CGdiHandle&& rhs) noexcept
    {
        if (this != &rhs) Reset(rhs.Release());
        return *this;
    }
    CGdiHandle(const CGdiHandle&) = delete;
    CGdiHandle& operator=(const CGdiHandle&) = delete;
    ~CGdiHandle() { Reset(); }

    handle_type Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

    // Gives the handle up without freeing it.
    handle_type Release()
    {
        handle_type h = m_h;
        m_h = nullptr;
        return h;
    }

    void Reset(handle_type h = nullptr)
    {
        if (m_h != nullptr && m_h != h) Traits::Free(m_h);
        m_h = h;
    }

private:
    handle_type m_h = nullptr;
};

template <class H>
struct TGdiObjectTraits
{
    using Handle = H;
    static void Free(H h) { ::DeleteObject(h); }
};

struct TMemoryDCTraits
{
    using Handle = HDC;
    static void Free(HDC h) { ::DeleteDC(h); }
};

struct TIconTraits
{
    using Handle = HICON;
    static void Free(HICON h) { ::DestroyIcon(h); }
};

using CBitmapHandle = CGdiHandle<TGdiObjectTraits<HBITMAP>>;
using CPenHandle = CGdiHandle<TGdiObjectTraits<HPEN>>;
using CBrushHandle = CGdiHandle<TGdiObjectTraits<HBRUSH>>;
using CRegionHandle = CGdiHandle<TGdiObjectTraits<HRGN>>;
using CFontHandle = CGdiHandle<TGdiObjectTraits<HFONT>>;
// A device context from CreateCompatibleDC or CreateDCW.
using CMemoryDCHandle = CGdiHandle<TMemoryDCTraits>;
// An icon from LoadImageW, CreateIconIndirect or the like (not a shared one).
using CIconHandle = CGdiHandle<TIconTraits>;

// A device context from GetDC, given back with ReleaseDC to its window.
class CWindowDCHandle
{
public:
    CWindowDCHandle() = default;
    explicit CWindowDCHandle(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    CWindowDCHandle(CWindowDCHandle&& rhs) noexcept : m_hWnd(rhs.m_hWnd), m_hDC(std::exchange(rhs.m_hDC, nullptr)) {}
    CWindowDCHandle& operator=(CWindowDCHandle&& rhs) noexcept
    {
        if (this != &rhs) {
            Reset();
            m_hWnd = rhs.m_hWnd;
            m_hDC = std::exchange(rhs.m_hDC, nullptr);
        }
        return *this;
    }
    CWindowDCHandle(const CWindowDCHandle&) = delete;
    CWindowDCHandle& operator=(const CWindowDCHandle&) = delete;
    ~CWindowDCHandle() { Reset(); }

    HDC Get() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }

    void Reset()
    {
        if (m_hDC != nullptr) ::ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
        m_hWnd = nullptr;
    }

private:
    HWND m_hWnd = nullptr;
    HDC m_hDC = nullptr;
};

// Selects an object into a device context for the guard's lifetime and puts
// the previous object back afterwards. The guard does not own the object.
class CSelectObjectGuard
{
public:
    CSelectObjectGuard(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC),
          m_hOld(hDC != nullptr && hObject != nullptr ? ::SelectObject(hDC, hObject) : nullptr)
    {
    }
    CSelectObjectGuard(const CSelectObjectGuard&) = delete;
    CSelectObjectGuard& operator=(const CSelectObjectGuard&) = delete;
    ~CSelectObjectGuard()
    {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR) ::SelectObject(m_hDC, m_hOld);
    }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

} // namespace VarnelUI
