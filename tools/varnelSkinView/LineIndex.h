#pragma once
// Line numbers for positions in a skin document. The parser reports positions
// as offsets into the document's UTF-16 text; the index decodes the file's
// bytes the way the parser does (UTF-8, a leading byte-order mark dropped) and
// remembers where each line starts. Only the checker builds one, so loading a
// skin for display never pays for it.

#include <windows.h>

#include <string>
#include <vector>

namespace SkinView {

class CLineIndex
{
public:
    explicit CLineIndex(const std::vector<BYTE>& bytes);
    explicit CLineIndex(const std::wstring& text);

    // 1 for the first line; offsets past the end are on the last line.
    int LineOf(int offset) const;

private:
    void Index(const std::wstring& text);

    std::vector<int> m_lineStarts;
};

} // namespace SkinView
