#include "SkinSource.h"

#include "ToolFiles.h"

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIMarkup.h"
#include "varnelui/utils/UIZip.h"

#include <algorithm>
#include <cwchar>

namespace SkinView {

using namespace VarnelUI;

namespace {

bool EndsWithXml(const std::wstring& name)
{
    return name.size() > 4 && ::_wcsicmp(name.c_str() + name.size() - 4, L".xml") == 0;
}

// Names, sizes and write times of every file below `folder`, depth first.
void DescribeTree(const std::wstring& folder, std::wstring& description)
{
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            DescribeTree(folder + name + L"\\", description);
            continue;
        }
        description += folder + name + L'|' + std::to_wstring(found.nFileSizeLow) + L'|' +
                       std::to_wstring(found.ftLastWriteTime.dwLowDateTime) + L'|' +
                       std::to_wstring(found.ftLastWriteTime.dwHighDateTime) + L'\n';
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

} // namespace

bool CSkinSource::Open(const std::wstring& path, std::wstring& error)
{
    const std::wstring full = VarnelTools::FullPath(path);
    const DWORD attributes = ::GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = path + L": no such folder or file";
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        m_folder = full;
        if (m_folder.back() != L'\\' && m_folder.back() != L'/') m_folder += L'\\';
        m_archive.clear();
        return true;
    }
    const size_t slash = full.find_last_of(L"\\/");
    m_folder = full.substr(0, slash + 1);
    m_archive = full.substr(slash + 1);
    const CZipArchive archive(ZipOpenFile(full.c_str()));
    if (!archive) {
        error = path + L": not a ZIP archive the skin reader can open";
        return false;
    }
    return true;
}

void CSkinSource::Install() const
{
    CPaintManagerUI::SetResourcePath(m_folder.c_str());
    CPaintManagerUI::SetResourceZip(m_archive.c_str(), false);
}

std::vector<std::wstring> CSkinSource::Documents() const
{
    std::vector<std::wstring> documents;
    if (m_archive.empty()) {
        WIN32_FIND_DATAW found{};
        const HANDLE find = ::FindFirstFileW((m_folder + L"*.xml").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithXml(found.cFileName))
                    documents.emplace_back(found.cFileName);
            } while (::FindNextFileW(find, &found));
            ::FindClose(find);
        }
    } else {
        const CZipArchive archive(ZipOpenFile((m_folder + m_archive).c_str()));
        ZipItemInfo info{};
        if (archive && ZipGetItem(archive.get(), -1, &info) == ZIP_OK) {
            const int count = info.index;
            for (int i = 0; i < count && ZipGetItem(archive.get(), i, &info) == ZIP_OK; ++i) {
                const std::wstring name = info.name;
                if (name.find_first_of(L"\\/") == std::wstring::npos && EndsWithXml(name)) documents.push_back(name);
            }
        }
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

std::wstring CSkinSource::FirstWindowDocument() const
{
    for (const std::wstring& document : Documents()) {
        CMarkup markup;
        if (!markup.LoadFromFile(document.c_str())) continue;
        const LPCWSTR root = markup.GetRoot().GetName();
        if (root != nullptr && std::wcscmp(root, L"Window") == 0) return document;
    }
    return {};
}

std::wstring CSkinSource::Fingerprint() const
{
    std::wstring description;
    if (m_archive.empty()) {
        DescribeTree(m_folder, description);
        return description;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW((m_folder + m_archive).c_str(), GetFileExInfoStandard, &data)) return description;
    return std::to_wstring(data.nFileSizeLow) + L'|' + std::to_wstring(data.ftLastWriteTime.dwLowDateTime) + L'|' +
           std::to_wstring(data.ftLastWriteTime.dwHighDateTime);
}

} // namespace SkinView
