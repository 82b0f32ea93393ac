#include "varnelui/core/UIResourceFile.h"

#include "varnelui/core/UIFileHandle.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/utils/UIZip.h"

#include <memory>

namespace VarnelUI {

namespace {

SkinFileResult CheckSize(ULONGLONG size, DWORD dwMaxBytes)
{
    if (size == 0) return SkinFileResult::Empty;
    return size > dwMaxBytes ? SkinFileResult::TooLarge : SkinFileResult::Ok;
}

SkinFileResult ReadLooseFile(LPCWSTR pstrName, DWORD dwMaxBytes, std::vector<BYTE>& bytes)
{
    const CFileHandle file = CFileHandle::OpenForRead(CPaintManagerUI::GetResourcePath() + pstrName);
    if (!file.IsValid()) return SkinFileResult::OpenFailed;
    ULONGLONG size = 0;
    if (!file.GetSize(size)) return SkinFileResult::ReadFailed;
    const SkinFileResult sized = CheckSize(size, dwMaxBytes);
    if (sized != SkinFileResult::Ok) return sized;
    bytes.resize(static_cast<size_t>(size));
    return file.ReadAt(0, bytes.data(), static_cast<DWORD>(size)) ? SkinFileResult::Ok : SkinFileResult::ReadFailed;
}

SkinFileResult ReadArchiveMember(LPCWSTR pstrName, DWORD dwMaxBytes, std::vector<BYTE>& bytes)
{
    // An archive opened here is closed again on every path; the cached one stays.
    CZipArchive opened;
    ZipHandle hz = CPaintManagerUI::IsCachedResourceZip() ? CPaintManagerUI::GetResourceZipHandle() : nullptr;
    if (hz == nullptr) {
        opened.reset(ZipOpenFile(CPaintManagerUI::GetResourcePath() + CPaintManagerUI::GetResourceZip()));
        hz = opened.get();
    }
    if (hz == nullptr) return SkinFileResult::ArchiveOpenFailed;

    int index = -1;
    ZipItemInfo info;
    const ZRESULT found = ZipFindItem(hz, pstrName, true, &index, &info);
    if (found == ZIP_CORRUPT || found == ZIP_READ_FAILED) return SkinFileResult::UnpackFailed;
    if (found != ZIP_OK) return SkinFileResult::MemberNotFound;
    const SkinFileResult sized = CheckSize(info.uncompressedSize, dwMaxBytes);
    if (sized != SkinFileResult::Ok) return sized;
    bytes.resize(info.uncompressedSize);
    // A buffer of exactly the member's size ends with ZIP_MORE (ZIP_OK comes only
    // when asked past the end); the reader has checked the whole member by then.
    const ZRESULT unpacked = ZipUnpackToMemory(hz, index, bytes.data(), info.uncompressedSize);
    return (unpacked == ZIP_OK || unpacked == ZIP_MORE) ? SkinFileResult::Ok : SkinFileResult::UnpackFailed;
}

} // namespace

SkinFileResult ReadSkinFile(LPCWSTR pstrName, DWORD dwMaxBytes, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (pstrName == nullptr) return SkinFileResult::OpenFailed;
    const SkinFileResult result = CPaintManagerUI::GetResourceZip().IsEmpty()
                                      ? ReadLooseFile(pstrName, dwMaxBytes, bytes)
                                      : ReadArchiveMember(pstrName, dwMaxBytes, bytes);
    if (result != SkinFileResult::Ok) bytes.clear();
    return result;
}

} // namespace VarnelUI
