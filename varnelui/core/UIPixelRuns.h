#pragma once
// Where a premultiplied 32-bit image is opaque, fully transparent or in
// between, as runs along each row. Found once when an image is made, so that
// drawing can copy the opaque parts, skip the transparent ones and blend only
// the rest.

#include "varnelui/core/UIDefines.h"

#include <memory>
#include <vector>

namespace VarnelUI {

// The pixels of a 32-bit bitmap, 0xAARRGGBB: row y starts at top + y * stride.
struct TPixelView
{
    DWORD* top = nullptr;
    ptrdiff_t stride = 0; // in pixels; negative for bottom-up bitmaps
    int width = 0;
    int height = 0;

    bool Empty() const { return top == nullptr; }
    DWORD* Row(int y) const { return top + y * stride; }
    // A view of a 32-bit DIB section made by RenderBlend::CreateDib32; empty
    // for any other bitmap. Pending drawing is flushed first, so the pixels
    // are current.
    static TPixelView Of(HBITMAP hBitmap);
};

class CPixelRuns
{
public:
    enum class Kind : BYTE { Transparent, Opaque, Translucent };

    // Pixels from the end of the previous run of the row (or the row start)
    // up to end, all of one kind.
    struct TRun
    {
        int end;
        Kind kind;
    };

    // Null for an empty view, and when some colour channel exceeds its alpha:
    // such pixels are not premultiplied, and only the system's blend knows
    // what to make of them.
    static std::unique_ptr<CPixelRuns> Build(const TPixelView& pixels);

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

    // Transparent or Opaque when every pixel of rc (inside the image) is so;
    // Translucent otherwise.
    Kind Classify(const RECT& rc) const;

    // The run of row y that holds column x (both inside the image).
    const TRun* Find(int y, int x) const;

private:
    explicit CPixelRuns(int cx, int cy) : m_cx(cx), m_cy(cy) {}
    void AddRow(const DWORD* row);

    int m_cx;
    int m_cy;
    std::vector<TRun> m_runs;
    std::vector<size_t> m_rowStart; // index of each row's first run; one more entry past the last row
};

} // namespace VarnelUI
