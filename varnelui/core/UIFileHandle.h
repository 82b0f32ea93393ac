#pragma once
// Owns a kernel file handle: closed on every path, movable, never copied.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

class VARNELUI_API CFileHandle
{
public:
    CFileHandle() = default;
    ~CFileHandle();
    CFileHandle(CFileHandle&& other) noexcept;
    CFileHandle& operator=(CFileHandle&& other) noexcept;
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    // An existing file, opened for reading while others may read it too.
    static CFileHandle OpenForRead(LPCWSTR pstrPath);

    bool IsValid() const { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_hFile; }
    void Close();

    bool GetSize(ULONGLONG& size) const;
    // Reads exactly dwLength bytes at offset; false when any is missing.
    bool ReadAt(ULONGLONG offset, void* pBuffer, DWORD dwLength) const;

private:
    explicit CFileHandle(HANDLE hFile) : m_hFile(hFile) {}

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

} // namespace VarnelUI
