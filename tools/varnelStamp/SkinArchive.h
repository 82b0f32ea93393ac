#pragma once
// The skin archive (resource ZIPRES 101): zipping a skin folder, checking an
// archive the way the launcher will use it, and listing its members.

#include <windows.h>

#include <string>
#include <vector>

namespace Stamp {

// Every file under `folder`, by relative path with "/" separators, deflated
// with zlib into a standard single-disk ZIP archive.
bool ZipFolder(const std::wstring& folder, std::vector<BYTE>& zip, std::wstring& error);

// The archive opens with the project's reader and holds login.xml,
// loginWebWnd.xml and playGameWindow.xml, each of which builds a control
// tree, and its documents pass the skin checker; the checker's warnings are
// added to `warnings`. Call it once per process: the archive becomes the
// skin resource.
bool CheckSkinArchive(const std::vector<BYTE>& zip, std::wstring& error, std::vector<std::wstring>& warnings);

struct ArchiveMember
{
    std::wstring name;
    DWORD size;
};
// The members as the project's archive reader lists them.
bool ListArchive(const std::vector<BYTE>& zip, std::vector<ArchiveMember>& members);

} // namespace Stamp
