#include "varnelui/core/UIFileHandle.h"

#include <utility>

namespace VarnelUI {

CFileHandle::~CFileHandle()
{
    Close();
}

CFileHandle::CFileHandle(CFileHandle&& other) noexcept : m_hFile(std::exchange(other.m_hFile, INVALID_HANDLE_VALUE))
{
}

CFileHandle& CFileHandle::operator=(CFileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        m_hFile = std::exchange(other.m_hFile, INVALID_HANDLE_VALUE);
    }
    return *this;
}

CFileHandle CFileHandle::OpenForRead(LPCWSTR pstrPath)
{
    if (pstrPath == nullptr) return CFileHandle();
    return CFileHandle(
        ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void CFileHandle::Close()
{
    if (IsValid()) ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

bool CFileHandle::GetSize(ULONGLONG& size) const
{
    LARGE_INTEGER li = {};
    if (!IsValid() || !::GetFileSizeEx(m_hFile, &li) || li.QuadPart < 0) return false;
    size = static_cast<ULONGLONG>(li.QuadPart);
    return true;
}

bool CFileHandle::ReadAt(ULONGLONG offset, void* pBuffer, DWORD dwLength) const
{
    if (!IsValid() || offset > static_cast<ULONGLONG>(MAXLONGLONG)) return false;
    LARGE_INTEGER pos = {};
    pos.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(m_hFile, pos, nullptr, FILE_BEGIN)) return false;
    auto* dst = static_cast<BYTE*>(pBuffer);
    while (dwLength > 0) {
        DWORD got = 0;
        if (!::ReadFile(m_hFile, dst, dwLength, &got, nullptr) || got == 0) return false;
        dst += got;
        dwLength -= got;
    }
    return true;
}

} // namespace VarnelUI
