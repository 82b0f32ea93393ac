#pragma once
// A skin named on the command line: a folder of loose files, or a ZIP archive
// file. It is installed as the process's skin location, so documents and
// images are read the way a window of the launcher reads them.

#include <windows.h>

#include <string>
#include <vector>

namespace SkinView {

class CSkinSource
{
public:
    // False, with the reason, when the path is neither a folder nor a file.
    bool Open(const std::wstring& path, std::wstring& error);

    // Makes this skin the one documents and images are loaded from. An
    // archive is opened afresh for every file, so a rewritten archive is seen.
    void Install() const;

    // The *.xml files at the skin's top level, ordered by name.
    std::vector<std::wstring> Documents() const;
    // The first of Documents() whose root element is Window; empty if none.
    std::wstring FirstWindowDocument() const;

    // Changes whenever a file under the folder, or the archive, is added,
    // removed or rewritten.
    std::wstring Fingerprint() const;

private:
    std::wstring m_folder;  // full path with a trailing backslash
    std::wstring m_archive; // archive file name inside m_folder; empty for a folder skin
};

} // namespace SkinView
