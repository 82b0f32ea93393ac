#include "LineIndex.h"

#include "varnelui/core/UIUtf8.h"

#include <algorithm>

namespace SkinView {

CLineIndex::CLineIndex(const std::vector<BYTE>& bytes)
{
    size_t skip = 0;
    if (bytes.size() > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) skip = 3;
    std::wstring decoded(bytes.size() - skip, L'\0');
    decoded.resize(VarnelUI::DecodeUtf8(bytes.data() + skip, bytes.size() - skip, decoded.data()));
    Index(decoded);
}

CLineIndex::CLineIndex(const std::wstring& text)
{
    Index(text);
}

void CLineIndex::Index(const std::wstring& text)
{
    m_lineStarts.assign(1, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') m_lineStarts.push_back(static_cast<int>(i + 1));
    }
}

int CLineIndex::LineOf(int offset) const
{
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    return static_cast<int>(std::max<std::ptrdiff_t>(after - m_lineStarts.begin(), 1));
}

} // namespace SkinView
