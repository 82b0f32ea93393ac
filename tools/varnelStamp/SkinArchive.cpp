#include "SkinArchive.h"

#include "SkinChecker.h"
#include "ToolFiles.h"

#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/utils/UIZip.h"

#include <zlib.h>

#include <algorithm>
#include <cwchar>
#include <memory>

namespace Stamp {

using namespace VarnelTools;

namespace {

using namespace VarnelUI;

constexpr const wchar_t* kSkinDocuments[] = {L"login.xml", L"loginWebWnd.xml", L"playGameWindow.xml"};

void Put16(std::vector<BYTE>& out, DWORD value)
{
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void Put32(std::vector<BYTE>& out, DWORD value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Relative paths of every file under `folder`, with "\" separators.
void CollectFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& files)
{
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CollectFiles(folder, prefix + name + L"\\", files);
        else files.push_back(prefix + name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

bool Deflate(const std::vector<BYTE>& in, std::vector<BYTE>& out)
{
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    out.resize(deflateBound(&z, static_cast<uLong>(in.size())));
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return rc == Z_STREAM_END;
}

// The file's modification time as DOS date (high word) and time (low word).
DWORD DosTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    WORD date = 0x21, time = 0; // 1980-01-01 when the time cannot be had
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local))
        ::FileTimeToDosDateTime(&local, &date, &time);
    return (DWORD{date} << 16) | time;
}

LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Builds one document of the installed skin archive on a hidden window.
bool BuildsFromArchive(const wchar_t* document, std::wstring& error)
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VarnelStampSkinCheck";
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    const HWND window = ::CreateWindowExW(0, L"VarnelStampSkinCheck", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    bool built = false;
    {
        CPaintManagerUI manager;
        manager.Init(window);
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(STRINGorID(document), nullptr, nullptr, &manager));
        built = root != nullptr;
        if (!built) {
            wchar_t message[512] = {};
            wchar_t location[64] = {};
            builder.GetLastErrorMessage(message, 511);
            builder.GetLastErrorLocation(location, 63);
            error = std::wstring(document) + L" does not build: " + (message[0] ? message : L"no control in it");
            const std::wstring where = std::wstring(location).substr(0, std::wcscspn(location, L"\r\n"));
            if (!where.empty()) error += L" near \"" + where + L"\"";
        }
    }
    ::DestroyWindow(window);
    return built;
}

// The skin checker of the workbench on every document of the installed
// archive: what the builder would skip in silence is refused here.
bool PassesSkinCheck(const std::vector<ArchiveMember>& members, std::wstring& error,
                     std::vector<std::wstring>& warnings)
{
    std::vector<std::wstring> documents;
    for (const ArchiveMember& member : members) {
        const std::wstring& name = member.name;
        if (name.find_first_of(L"\\/") == std::wstring::npos && name.size() > 4 &&
            ::_wcsicmp(name.c_str() + name.size() - 4, L".xml") == 0)
            documents.push_back(name);
    }
    SkinView::CSkinChecker checker;
    checker.CheckSkin(documents);
    int errors = 0;
    for (const SkinView::TSkinProblem& problem : checker.Problems()) {
        if (problem.severity == SkinView::Severity::Warning) {
            warnings.push_back(SkinView::FormatProblem(problem));
        } else if (errors++ == 0) {
            error = L"fails the skin check: " + SkinView::FormatProblem(problem);
        }
    }
    if (errors > 1) error += L" (and " + std::to_wstring(errors - 1) + L" more; varnelSkinView --check lists them all)";
    return errors == 0;
}

} // namespace

bool ZipFolder(const std::wstring& folder, std::vector<BYTE>& zip, std::wstring& error)
{
    std::vector<std::wstring> files;
    CollectFiles(folder, L"", files);
    std::sort(files.begin(), files.end());
    if (files.size() > 0xFFFF) {
        error = L"holds more than 65535 files";
        return false;
    }
    zip.clear();
    std::vector<BYTE> directory;
    for (const std::wstring& file : files) {
        std::wstring stored = file;
        std::replace(stored.begin(), stored.end(), L'\\', L'/');
        // The reader takes member names in the ANSI code page.
        BOOL lossy = FALSE;
        const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, stored.c_str(),
                                                 static_cast<int>(stored.size()), nullptr, 0, nullptr, &lossy);
        std::string name(static_cast<size_t>(length), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, stored.c_str(), static_cast<int>(stored.size()),
                              name.data(), length, nullptr, &lossy);
        if (lossy || length <= 0) {
            error = L"has a file name the ANSI code page cannot hold: " + file;
            return false;
        }
        std::vector<BYTE> data, packed;
        std::wstring why;
        if (!ReadWholeFile(folder + L"\\" + file, data, why)) {
            error = L"file " + file + L" " + why;
            return false;
        }
        if (!Deflate(data, packed)) {
            error = L"file " + file + L" cannot be compressed";
            return false;
        }
        const DWORD crc = crc32(crc32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size()));
        const DWORD when = DosTime(folder + L"\\" + file);
        const DWORD offset = static_cast<DWORD>(zip.size());
        // Fields shared by the local header and the directory entry, from
        // "version needed" to the name length.
        std::vector<BYTE> common;
        Put16(common, 20);
        Put16(common, 0);
        Put16(common, 8);
        Put32(common, when);
        Put32(common, crc);
        Put32(common, static_cast<DWORD>(packed.size()));
        Put32(common, static_cast<DWORD>(data.size()));
        Put16(common, static_cast<DWORD>(name.size()));
        Put16(common, 0);

        Put32(zip, 0x04034B50);
        zip.insert(zip.end(), common.begin(), common.end());
        zip.insert(zip.end(), name.begin(), name.end());
        zip.insert(zip.end(), packed.begin(), packed.end());

        Put32(directory, 0x02014B50);
        Put16(directory, 20);
        directory.insert(directory.end(), common.begin(), common.end());
        Put16(directory, 0);                      // comment length
        Put16(directory, 0);                      // disk
        Put16(directory, 0);                      // internal attributes
        Put32(directory, FILE_ATTRIBUTE_ARCHIVE); // external attributes
        Put32(directory, offset);
        directory.insert(directory.end(), name.begin(), name.end());
    }
    const DWORD directoryOffset = static_cast<DWORD>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    Put32(zip, 0x06054B50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<DWORD>(files.size()));
    Put16(zip, static_cast<DWORD>(files.size()));
    Put32(zip, static_cast<DWORD>(directory.size()));
    Put32(zip, directoryOffset);
    Put16(zip, 0);
    return true;
}

bool ListArchive(const std::vector<BYTE>& zip, std::vector<ArchiveMember>& members)
{
    members.clear();
    const CZipArchive archive(ZipOpenMemory(zip.data(), static_cast<DWORD>(zip.size())));
    ZipItemInfo info{};
    if (!archive || ZipGetItem(archive.get(), -1, &info) != ZIP_OK) return false;
    const int count = info.index;
    for (int i = 0; i < count; ++i) {
        if (ZipGetItem(archive.get(), i, &info) != ZIP_OK) return false;
        members.push_back(ArchiveMember{info.name, info.uncompressedSize});
    }
    return true;
}

bool CheckSkinArchive(const std::vector<BYTE>& zip, std::wstring& error, std::vector<std::wstring>& warnings)
{
    std::vector<ArchiveMember> members;
    if (zip.empty() || !ListArchive(zip, members)) {
        error = L"is not a ZIP archive the launcher can read";
        return false;
    }
    // Every member must unpack whole (the reader checks its length and CRC).
    const CZipArchive archive(ZipOpenMemory(zip.data(), static_cast<DWORD>(zip.size())));
    for (size_t i = 0; i < members.size(); ++i) {
        if (members[i].size == 0) continue;
        std::vector<BYTE> bytes(members[i].size);
        const ZRESULT rc = ZipUnpackToMemory(archive.get(), static_cast<int>(i), bytes.data(), members[i].size);
        if (rc != ZIP_OK && rc != ZIP_MORE) {
            error = L"has a damaged member: " + members[i].name;
            return false;
        }
    }
    for (const wchar_t* document : kSkinDocuments) {
        int index = -1;
        ZipItemInfo info{};
        if (ZipFindItem(archive.get(), document, true, &index, &info) != ZIP_OK) {
            error = std::wstring(L"has no ") + document;
            return false;
        }
    }
    // The documents build the way the launcher's windows build them: by name,
    // from the archive installed as the skin resource.
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(zip.data()), static_cast<unsigned int>(zip.size()));
    for (const wchar_t* document : kSkinDocuments) {
        if (!BuildsFromArchive(document, error)) return false;
    }
    return PassesSkinCheck(members, error, warnings);
}

} // namespace Stamp
