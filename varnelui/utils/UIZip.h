#pragma once
// Reader for the skin archive (ZIP): single-disk archives, members stored or
// deflated, read from a file or from the caller's bytes in place.

#include "varnelui/core/UIDefines.h"

#include <memory>

namespace VarnelUI {

struct TZipHandleRecord;
// Opaque handle of an open archive.
using ZipHandle = TZipHandleRecord*;

using ZRESULT = LONG;

constexpr ZRESULT ZIP_OK = 0;
// The reader never duplicates, writes or takes foreign handles, so it never
// returns these four; their values stay reserved.
constexpr ZRESULT ZIP_DUPLICATE_FAILED = 0x100;
constexpr ZRESULT ZIP_WRITE_FAILED = 0x400;
constexpr ZRESULT ZIP_ALREADY_OPEN = 0x1000000;
constexpr ZRESULT ZIP_NOT_SEEKABLE = 0x2000000;

constexpr ZRESULT ZIP_OPEN_FAILED = 0x200;
constexpr ZRESULT ZIP_NOT_FOUND = 0x500;
constexpr ZRESULT ZIP_MORE = 0x600;
constexpr ZRESULT ZIP_CORRUPT = 0x700;
constexpr ZRESULT ZIP_READ_FAILED = 0x800;
constexpr ZRESULT ZIP_BAD_ARGS = 0x10000;
constexpr ZRESULT ZIP_NOT_ARCHIVE_HANDLE = 0x80000;
constexpr ZRESULT ZIP_INFLATE_FAILED = 0x5000000;

// Why an archive failed to open once its source was readable.
constexpr ZRESULT ZIP_DIRECTORY_UNREADABLE = -1;     // no end record, or a read failed
constexpr ZRESULT ZIP_DIRECTORY_INCONSISTENT = -103; // multi-disk, or the directory does not fit
constexpr ZRESULT ZIP_DIRECTORY_TOO_LARGE = -104;    // more members than kMaxArchiveMembers

// Limits a hostile archive cannot pass. A skin holds tens of files, and every
// lookup by name walks the whole directory; an archive with more members than
// this does not open.
constexpr int kMaxArchiveMembers = 4096;
// Callers size their buffers by a member's declared size. A member declaring
// more than the largest skin file any reader accepts (an image) is damaged:
// finding, describing and unpacking it yield ZIP_CORRUPT.
constexpr DWORD kMaxArchiveMemberBytes = 64 * 1024 * 1024;

// One member of an archive.
struct ZipItemInfo
{
    int index;              // position in the central directory, from 0
    wchar_t name[MAX_PATH]; // stored name from the ANSI code page, cut to 259 units
    DWORD attributes;       // FILE_ATTRIBUTE_* flags
    FILETIME accessTime;    // UTC; the DOS time unless an extended timestamp says otherwise
    FILETIME creationTime;
    FILETIME modificationTime;
    DWORD compressedSize;
    DWORD uncompressedSize;
};

// A failing open returns null; ZipGetLastOpenResult then tells why (per thread).
VARNELUI_API ZipHandle ZipOpenFile(LPCWSTR pstrPath);
// The bytes are read in place and must outlive the handle.
VARNELUI_API ZipHandle ZipOpenMemory(const void* pData, DWORD dwLength);
VARNELUI_API ZRESULT ZipGetLastOpenResult();

// Opening from a caller's file handle and extracting to files are left out:
// nothing in the system calls them.

// Finds a member by its whole name; backslashes match forward slashes and
// ignoreCase folds ASCII letters only. Sets *pIndex to -1 on failure.
VARNELUI_API ZRESULT ZipFindItem(ZipHandle hz, LPCWSTR pstrName, bool bIgnoreCase, int* pIndex, ZipItemInfo* pInfo);
// Index -1 describes the archive: info.index is then the member count.
VARNELUI_API ZRESULT ZipGetItem(ZipHandle hz, int index, ZipItemInfo* pInfo);
// Delivers the next bytes of member index: ZIP_MORE while a call delivers
// anything, ZIP_OK on the call that finds the member exhausted.
VARNELUI_API ZRESULT ZipUnpackToMemory(ZipHandle hz, int index, void* pBuffer, DWORD dwLength);
VARNELUI_API ZRESULT ZipClose(ZipHandle hz);

// An open archive closed when it goes out of scope.
struct TZipCloser
{
    void operator()(ZipHandle hz) const { ZipClose(hz); }
};
using CZipArchive = std::unique_ptr<TZipHandleRecord, TZipCloser>;

} // namespace VarnelUI
