#pragma once
// Reading a skin file's bytes by name: a loose file under the resource path, or
// a member of the resource archive (cached, or opened for this one read).

#include "varnelui/core/UIDefines.h"

#include <vector>

namespace VarnelUI {

// Skin documents are small; a larger one is a broken or hostile file, which
// the markup parser refuses before reading it.
constexpr DWORD kMaxSkinDocumentBytes = 4 * 1024 * 1024;

// Why a skin file could not be read; callers turn these into their own messages.
enum class SkinFileResult {
    Ok,
    OpenFailed,        // the loose file cannot be opened
    Empty,             // the file or member holds no bytes
    TooLarge,          // more bytes than the caller accepts
    ReadFailed,        // the loose file could not be read whole
    ArchiveOpenFailed, // no archive could be had
    MemberNotFound,    // the archive has no member of that name
    UnpackFailed,      // the member is damaged or does not inflate
};

// Member names match ignoring ASCII case, with backslashes read as forward
// slashes. dwMaxBytes bounds the buffer before anything is read, so a member
// declaring a huge size is refused instead of allocated.
VARNELUI_API SkinFileResult ReadSkinFile(LPCWSTR pstrName, DWORD dwMaxBytes, std::vector<BYTE>& bytes);

} // namespace VarnelUI
