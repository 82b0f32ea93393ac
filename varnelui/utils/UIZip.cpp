// The skin archive reader. Archives may come from anyone who can replace a skin,
// so every length read from the archive is checked against the bytes that are
// really there before it is used, and nothing is allocated from a declared size.

#include "varnelui/utils/UIZip.h"

#include "varnelui/core/UIFileHandle.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace VarnelUI {

namespace {

constexpr DWORD kArchiveKind = 1;
constexpr DWORD kChunkSize = 16384;

constexpr DWORD kEndSignature = 0x06054b50;
constexpr DWORD kCentralSignature = 0x02014b50;
constexpr DWORD kLocalSignature = 0x04034b50;
constexpr DWORD kEndRecordSize = 22;
constexpr DWORD kCentralHeaderSize = 46;
constexpr DWORD kLocalHeaderSize = 30;
constexpr DWORD kMaxArchiveComment = 0xFFFF;
constexpr DWORD kSearchStep = 1024;
constexpr DWORD kSignatureSize = 4;

constexpr WORD kFlagEncrypted = 0x0001;
constexpr WORD kFlagDataDescriptor = 0x0008;
constexpr WORD kMethodStored = 0;
constexpr WORD kMethodDeflated = 8;
constexpr WORD kExtendedTimestampTag = 0x5455; // "UT"

constexpr size_t kMaxFindNameUnits = 255;

thread_local ZRESULT t_lastOpenResult = ZIP_OK;

WORD Read16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD Read32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

// The archive bytes, read by position only and never past their end.
class CZipSource
{
public:
    bool OpenFile(LPCWSTR pstrPath)
    {
        m_file = CFileHandle::OpenForRead(pstrPath);
        return m_file.IsValid() && m_file.GetSize(m_size);
    }

    void OpenMemory(const BYTE* pData, DWORD dwLength)
    {
        m_data = pData;
        m_size = dwLength;
    }

    ULONGLONG Size() const { return m_size; }

    bool ReadAt(ULONGLONG offset, void* pBuffer, DWORD dwLength) const
    {
        if (offset > m_size || dwLength > m_size - offset) return false;
        if (dwLength == 0) return true;
        if (m_data != nullptr) {
            std::memcpy(pBuffer, m_data + offset, dwLength);
            return true;
        }
        return m_file.ReadAt(offset, pBuffer, dwLength);
    }

private:
    CFileHandle m_file;
    const BYTE* m_data = nullptr;
    ULONGLONG m_size = 0;
};

// Unix times from an extended-timestamp extra field, in its flag-bit order.
struct TUnixTimes
{
    enum { Modification, Access, Creation, Count };
    bool present[Count] = {};
    LONG value[Count] = {};
};

// A block whose declared size runs past the field ends the walk: what follows
// cannot be trusted to be block headers.
void ReadExtendedTimestamp(const BYTE* pExtra, size_t length, TUnixTimes& times)
{
    size_t pos = 0;
    while (length - pos >= 4) {
        const WORD tag = Read16(pExtra + pos);
        const WORD size = Read16(pExtra + pos + 2);
        pos += 4;
        if (size > length - pos) return;
        if (tag == kExtendedTimestampTag && size >= 1) {
            // The central copy keeps the flags of the local one but usually
            // only the modification time, so the flags alone do not say what is there.
            const BYTE flags = pExtra[pos];
            size_t field = 1;
            for (int i = 0; i < TUnixTimes::Count && (flags & (1 << i)) != 0 && size - field >= 4; ++i) {
                times.present[i] = true;
                times.value[i] = static_cast<LONG>(Read32(pExtra + pos + field));
                field += 4;
            }
            return;
        }
        pos += size;
    }
}

FILETIME ToFileTime(ULONGLONG value)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value);
    ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return ft;
}

FILETIME UnixTimeToFileTime(LONG t)
{
    constexpr LONGLONG kSecondsFrom1601To1970 = 11644473600LL;
    return ToFileTime(static_cast<ULONGLONG>((t + kSecondsFrom1601To1970) * 10000000LL));
}

// DOS times are local times.
FILETIME DosTimeToFileTime(WORD date, WORD time)
{
    FILETIME local = {};
    FILETIME utc = {};
    if (!::DosDateTimeToFileTime(date, time, &local) || !::LocalFileTimeToFileTime(&local, &utc)) return FILETIME{};
    return utc;
}

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty()) return std::wstring();
    const int srcLen = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), srcLen, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), srcLen, &wide[0], units);
    return wide;
}

// False when a character has no form in the code page: its stand-in '?'
// must not match a member whose name really holds a '?'.
bool WideToAnsi(const std::wstring& text, std::string& ansi)
{
    ansi.clear();
    if (text.empty()) return true;
    const int srcLen = static_cast<int>(text.size());
    // A UTF-8 code page (a system option) maps everything and takes neither
    // the flag nor the question.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int bytes =
        ::WideCharToMultiByte(CP_ACP, flags, text.data(), srcLen, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    ansi.resize(static_cast<size_t>(bytes));
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), srcLen, &ansi[0], bytes, nullptr, nullptr);
    return true;
}

BYTE FoldAscii(BYTE c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<BYTE>(c - 'A' + 'a') : c;
}

// Case folding skips the trail bytes of double-byte characters: in the East
// Asian code pages they can look like ASCII letters without being letters.
bool SameName(const std::string& stored, const std::string& wanted, bool bIgnoreCase)
{
    if (stored.size() != wanted.size()) return false;
    if (!bIgnoreCase) return stored == wanted;
    for (size_t i = 0; i < stored.size(); ++i) {
        const BYTE a = static_cast<BYTE>(stored[i]);
        const BYTE b = static_cast<BYTE>(wanted[i]);
        if (::IsDBCSLeadByte(a) && i + 1 < stored.size()) {
            if (a != b || stored[i + 1] != wanted[i + 1]) return false;
            ++i;
        } else if (FoldAscii(a) != FoldAscii(b)) {
            return false;
        }
    }
    return true;
}

struct TEntry
{
    std::string name; // as stored, in the ANSI code page
    WORD versionMadeBy = 0;
    WORD flags = 0;
    WORD method = 0;
    WORD dosTime = 0;
    WORD dosDate = 0;
    DWORD crc = 0;
    DWORD compressedSize = 0;
    DWORD uncompressedSize = 0;
    DWORD externalAttributes = 0;
    ULONGLONG localHeader = 0; // position in the source, stub bytes included
    TUnixTimes centralTimes;
};

DWORD AttributesOf(const TEntry& e)
{
    constexpr BYTE kHostUnix = 3;
    constexpr BYTE kHostMac = 19;
    constexpr DWORD kUnixTypeMask = 0170000;
    constexpr DWORD kUnixDirectory = 0040000;
    constexpr DWORD kUnixOwnerWrite = 0200;

    // The low byte holds DOS attributes; Info-ZIP fills it on every host.
    const DWORD dos = e.externalAttributes & 0xFF;
    DWORD attributes = dos & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    const BYTE host = HIBYTE(e.versionMadeBy);
    const DWORD mode = e.externalAttributes >> 16;
    if ((host == kHostUnix || host == kHostMac) && mode != 0) {
        if ((mode & kUnixTypeMask) == kUnixDirectory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
        if ((mode & kUnixOwnerWrite) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!e.name.empty() && e.name.back() == '/') attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

// zlib's stream refers to itself, so it is set up in place and never moved.
class CInflateStream
{
public:
    CInflateStream() = default;
    ~CInflateStream()
    {
        if (m_ready) ::inflateEnd(&m_stream);
    }
    CInflateStream(const CInflateStream&) = delete;
    CInflateStream& operator=(const CInflateStream&) = delete;

    // Raw deflate: members carry no zlib header.
    bool Init()
    {
        m_ready = ::inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
        return m_ready;
    }

    z_stream& Get() { return m_stream; }

private:
    z_stream m_stream = {};
    bool m_ready = false;
};

// The member being extracted.
struct TExtraction
{
    int index = -1;
    bool deflated = false;
    ULONGLONG readPos = 0; // next compressed byte in the source
    DWORD compressedLeft = 0;
    DWORD uncompressedLeft = 0; // declared bytes not yet delivered
    DWORD expectedCrc = 0;
    DWORD crc = 0;
    bool streamEnded = false;
    bool verified = false; // every byte delivered, end and CRC checked
    CInflateStream inflater;
};

class CZipReader
{
public:
    ZRESULT OpenFile(LPCWSTR pstrPath)
    {
        if (!m_source.OpenFile(pstrPath)) return ZIP_OPEN_FAILED;
        return ReadDirectory();
    }

    ZRESULT OpenMemory(const BYTE* pData, DWORD dwLength)
    {
        m_source.OpenMemory(pData, dwLength);
        return ReadDirectory();
    }

    ZRESULT GetItem(int index, ZipItemInfo& info)
    {
        EndExtraction();
        if (index == -1) {
            info = ZipItemInfo{};
            info.index = static_cast<int>(m_entries.size());
            return ZIP_OK;
        }
        if (!IsMember(index)) return ZIP_BAD_ARGS;
        return Describe(index, info);
    }

    ZRESULT FindItem(LPCWSTR pstrName, bool bIgnoreCase, int& index, ZipItemInfo& info)
    {
        EndExtraction();
        index = -1;
        std::wstring name = pstrName;
        if (name.size() > kMaxFindNameUnits) return ZIP_NOT_FOUND;
        // Before the conversion: a double-byte character may end in the byte of '\'.
        std::replace(name.begin(), name.end(), L'\\', L'/');
        std::string wanted;
        if (!WideToAnsi(name, wanted)) return ZIP_NOT_FOUND;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (!SameName(m_entries[i].name, wanted, bIgnoreCase)) continue;
            const ZRESULT result = Describe(static_cast<int>(i), info);
            if (result == ZIP_OK) index = static_cast<int>(i);
            return result;
        }
        return ZIP_NOT_FOUND;
    }

    ZRESULT UnpackToMemory(int index, BYTE* pBuffer, DWORD dwLength)
    {
        if (!IsMember(index)) return ZIP_BAD_ARGS;
        // No room: nothing is delivered, which ends the member as if none
        // remained, so a later call starts it again from its first byte.
        if (dwLength == 0) {
            EndExtraction();
            return ZIP_OK;
        }
        if (pBuffer == nullptr) return ZIP_BAD_ARGS;
        if (!m_current || m_current->index != index) {
            EndExtraction();
            const ZRESULT result = OpenMember(index);
            if (result != ZIP_OK) return result;
        }
        TExtraction& x = *m_current;
        if (x.verified) {
            EndExtraction();
            return ZIP_OK;
        }

        // The declared size bounds what is delivered: a member whose data runs
        // longer or shorter than its directory entry says fails here, as does a
        // wrong CRC once the last byte is out, so a caller holding the whole
        // member in one buffer never takes damaged bytes for good ones.
        const DWORD wanted = std::min(dwLength, x.uncompressedLeft);
        DWORD produced = 0;
        bool ok = Produce(x, pBuffer, wanted, produced) && produced == wanted;
        if (ok && x.uncompressedLeft == 0) ok = Verify(x);
        if (!ok) {
            EndExtraction();
            return ZIP_INFLATE_FAILED;
        }
        if (produced == 0) {
            EndExtraction();
            return ZIP_OK;
        }
        return ZIP_MORE;
    }

private:
    bool IsMember(int index) const { return index >= 0 && static_cast<size_t>(index) < m_entries.size(); }

    void EndExtraction() { m_current.reset(); }

    bool FindEndRecord(ULONGLONG& position) const
    {
        const ULONGLONG size = m_source.Size();
        if (size < kEndRecordSize) return false;
        // The record may be followed by a comment of up to 65,535 bytes, so it can
        // start as far back as 65,557 bytes from the end.
        const ULONGLONG maxBack = std::min<ULONGLONG>(size, kMaxArchiveComment + kEndRecordSize);
        BYTE buffer[kSearchStep + kSignatureSize];
        ULONGLONG back = kSignatureSize;
        while (back < maxBack) {
            back = std::min<ULONGLONG>(back + kSearchStep, maxBack);
            const ULONGLONG readPos = size - back;
            const DWORD readLen = static_cast<DWORD>(std::min<ULONGLONG>(sizeof(buffer), size - readPos));
            if (!m_source.ReadAt(readPos, buffer, readLen)) return false;
            for (DWORD i = readLen - kSignatureSize + 1; i-- > 0;) {
                if (Read32(buffer + i) == kEndSignature && readPos + i + kEndRecordSize <= size) {
                    position = readPos + i;
                    return true;
                }
            }
        }
        return false;
    }

    ZRESULT ReadDirectory()
    {
        ULONGLONG endPos = 0;
        BYTE record[kEndRecordSize];
        if (!FindEndRecord(endPos) || !m_source.ReadAt(endPos, record, sizeof(record))) return ZIP_DIRECTORY_UNREADABLE;
        const WORD thisDisk = Read16(record + 4);
        const WORD directoryDisk = Read16(record + 6);
        const WORD entriesHere = Read16(record + 8);
        const WORD entries = Read16(record + 10);
        const DWORD directorySize = Read32(record + 12);
        const DWORD directoryOffset = Read32(record + 16);
        if (thisDisk != 0 || directoryDisk != 0 || entriesHere != entries) return ZIP_DIRECTORY_INCONSISTENT;
        const ULONGLONG directoryEnd = static_cast<ULONGLONG>(directoryOffset) + directorySize;
        if (endPos < directoryEnd || static_cast<ULONGLONG>(entries) * kCentralHeaderSize > directorySize)
            return ZIP_DIRECTORY_INCONSISTENT;
        if (entries > kMaxArchiveMembers) return ZIP_DIRECTORY_TOO_LARGE;
        // Bytes before the archive proper, such as a self-extractor stub that
        // was prepended without adjusting the offsets.
        const ULONGLONG stub = endPos - directoryEnd;

        m_entries.reserve(entries);
        ULONGLONG pos = endPos - directorySize;
        std::vector<BYTE> extra;
        for (WORD i = 0; i < entries; ++i) {
            BYTE header[kCentralHeaderSize];
            if (endPos - pos < kCentralHeaderSize) return ZIP_DIRECTORY_INCONSISTENT;
            if (!m_source.ReadAt(pos, header, sizeof(header))) return ZIP_DIRECTORY_UNREADABLE;
            if (Read32(header) != kCentralSignature) return ZIP_DIRECTORY_INCONSISTENT;
            const WORD nameLen = Read16(header + 28);
            const WORD extraLen = Read16(header + 30);
            const WORD commentLen = Read16(header + 32);
            pos += kCentralHeaderSize;
            if (endPos - pos < static_cast<ULONGLONG>(nameLen) + extraLen + commentLen)
                return ZIP_DIRECTORY_INCONSISTENT;

            TEntry e;
            e.versionMadeBy = Read16(header + 4);
            e.flags = Read16(header + 8);
            e.method = Read16(header + 10);
            e.dosTime = Read16(header + 12);
            e.dosDate = Read16(header + 14);
            e.crc = Read32(header + 16);
            e.compressedSize = Read32(header + 20);
            e.uncompressedSize = Read32(header + 24);
            e.externalAttributes = Read32(header + 38);
            e.localHeader = stub + Read32(header + 42);
            e.name.resize(nameLen);
            extra.resize(extraLen);
            if (!m_source.ReadAt(pos, &e.name[0], nameLen) || !m_source.ReadAt(pos + nameLen, extra.data(), extraLen))
                return ZIP_DIRECTORY_UNREADABLE;
            ReadExtendedTimestamp(extra.data(), extra.size(), e.centralTimes);
            pos += static_cast<ULONGLONG>(nameLen) + extraLen + commentLen;
            m_entries.push_back(std::move(e));
        }
        return ZIP_OK;
    }

    // Checks the member's local header against its directory entry and gives
    // where the data starts and the local extra field.
    ZRESULT ReadLocalHeader(const TEntry& e, ULONGLONG& dataPos, std::vector<BYTE>* pExtra) const
    {
        if (e.uncompressedSize > kMaxArchiveMemberBytes) return ZIP_CORRUPT;
        BYTE header[kLocalHeaderSize];
        if (!m_source.ReadAt(e.localHeader, header, sizeof(header))) return ZIP_READ_FAILED;
        const WORD flags = Read16(header + 6);
        const WORD method = Read16(header + 8);
        const WORD nameLen = Read16(header + 26);
        const WORD extraLen = Read16(header + 28);
        if (Read32(header) != kLocalSignature || method != e.method ||
            (method != kMethodStored && method != kMethodDeflated) || nameLen != e.name.size())
            return ZIP_CORRUPT;
        // With a data descriptor the local header was written before the sizes were known.
        if ((flags & kFlagDataDescriptor) == 0 &&
            (Read32(header + 14) != e.crc || Read32(header + 18) != e.compressedSize ||
             Read32(header + 22) != e.uncompressedSize))
            return ZIP_CORRUPT;
        const ULONGLONG extraPos = e.localHeader + kLocalHeaderSize + nameLen;
        dataPos = extraPos + extraLen;
        if (pExtra != nullptr) {
            pExtra->resize(extraLen);
            if (!m_source.ReadAt(extraPos, pExtra->data(), extraLen)) return ZIP_READ_FAILED;
        }
        return ZIP_OK;
    }

    ZRESULT Describe(int index, ZipItemInfo& info) const
    {
        const TEntry& e = m_entries[static_cast<size_t>(index)];
        ULONGLONG dataPos = 0;
        std::vector<BYTE> localExtra;
        const ZRESULT result = ReadLocalHeader(e, dataPos, &localExtra);
        if (result != ZIP_OK) return result;

        info = ZipItemInfo{};
        info.index = index;
        const std::wstring name = AnsiToWide(e.name);
        const size_t units = std::min<size_t>(name.size(), MAX_PATH - 1);
        std::copy_n(name.begin(), units, info.name);
        info.name[units] = L'\0';
        info.attributes = AttributesOf(e);
        info.compressedSize = e.compressedSize;
        info.uncompressedSize = e.uncompressedSize;

        // The local copy of the timestamp usually holds more times than the central one.
        TUnixTimes times = e.centralTimes;
        ReadExtendedTimestamp(localExtra.data(), localExtra.size(), times);
        const FILETIME dosTime = DosTimeToFileTime(e.dosDate, e.dosTime);
        FILETIME* const targets[TUnixTimes::Count] = {&info.modificationTime, &info.accessTime, &info.creationTime};
        for (int i = 0; i < TUnixTimes::Count; ++i)
            *targets[i] = times.present[i] ? UnixTimeToFileTime(times.value[i]) : dosTime;
        return ZIP_OK;
    }

    ZRESULT OpenMember(int index)
    {
        const TEntry& e = m_entries[static_cast<size_t>(index)];
        ULONGLONG dataPos = 0;
        const ZRESULT result = ReadLocalHeader(e, dataPos, nullptr);
        if (result != ZIP_OK) return result;
        if ((e.flags & kFlagEncrypted) != 0 || (e.method == kMethodStored && e.compressedSize != e.uncompressedSize))
            return ZIP_CORRUPT;

        TExtraction& x = m_current.emplace();
        x.index = index;
        x.deflated = e.method == kMethodDeflated;
        x.readPos = dataPos;
        x.compressedLeft = e.compressedSize;
        x.uncompressedLeft = e.uncompressedSize;
        x.expectedCrc = e.crc;
        x.crc = ::crc32(0L, nullptr, 0);
        if (x.deflated) {
            if (!m_chunk) m_chunk = std::make_unique<BYTE[]>(kChunkSize);
            if (!x.inflater.Init()) {
                EndExtraction();
                return ZIP_INFLATE_FAILED;
            }
        }
        return ZIP_OK;
    }

    // Fills up to wanted bytes; fewer only when the member's data ends first.
    bool Produce(TExtraction& x, BYTE* pOut, DWORD wanted, DWORD& produced)
    {
        produced = 0;
        if (x.deflated) {
            if (!Inflate(x, pOut, wanted, produced)) return false;
        } else {
            produced = std::min(wanted, x.compressedLeft);
            if (!m_source.ReadAt(x.readPos, pOut, produced)) return false;
            x.readPos += produced;
            x.compressedLeft -= produced;
        }
        x.crc = ::crc32(x.crc, pOut, produced);
        x.uncompressedLeft -= produced;
        return true;
    }

    bool Inflate(TExtraction& x, BYTE* pOut, DWORD capacity, DWORD& produced)
    {
        z_stream& zs = x.inflater.Get();
        zs.next_out = pOut;
        zs.avail_out = capacity;
        while (zs.avail_out > 0 && !x.streamEnded) {
            if (zs.avail_in == 0) {
                if (x.compressedLeft == 0) break; // cut short: the caller sees fewer bytes than asked for
                const DWORD n = std::min(kChunkSize, x.compressedLeft);
                if (!m_source.ReadAt(x.readPos, m_chunk.get(), n)) return false;
                x.readPos += n;
                x.compressedLeft -= n;
                zs.next_in = m_chunk.get();
                zs.avail_in = n;
            }
            // With input and room, inflate either progresses or reports an error.
            const int rc = ::inflate(&zs, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) x.streamEnded = true;
            else if (rc != Z_OK) return false;
        }
        produced = capacity - zs.avail_out;
        return true;
    }

    // After the last declared byte: the stream must end there and the CRC match.
    bool Verify(TExtraction& x)
    {
        if (x.deflated && !x.streamEnded) {
            BYTE probe = 0;
            DWORD extra = 0;
            if (!Inflate(x, &probe, 1, extra) || extra != 0 || !x.streamEnded) return false;
        }
        if (x.crc != x.expectedCrc) return false;
        x.verified = true;
        return true;
    }

    CZipSource m_source;
    std::vector<TEntry> m_entries;
    std::optional<TExtraction> m_current;
    std::unique_ptr<BYTE[]> m_chunk;
};

} // namespace

struct TZipHandleRecord
{
    DWORD kind = kArchiveKind;
    CZipReader reader;
};

namespace {

ZRESULT CheckHandle(ZipHandle hz)
{
    if (hz == nullptr) return ZIP_BAD_ARGS;
    return hz->kind == kArchiveKind ? ZIP_OK : ZIP_NOT_ARCHIVE_HANDLE;
}

ZipHandle FinishOpen(std::unique_ptr<TZipHandleRecord> record, ZRESULT result)
{
    t_lastOpenResult = result;
    return result == ZIP_OK ? record.release() : nullptr;
}

} // namespace

ZipHandle ZipOpenFile(LPCWSTR pstrPath)
{
    if (pstrPath == nullptr) return FinishOpen(nullptr, ZIP_BAD_ARGS);
    auto record = std::make_unique<TZipHandleRecord>();
    const ZRESULT result = record->reader.OpenFile(pstrPath);
    return FinishOpen(std::move(record), result);
}

ZipHandle ZipOpenMemory(const void* pData, DWORD dwLength)
{
    if (pData == nullptr) return FinishOpen(nullptr, ZIP_BAD_ARGS);
    auto record = std::make_unique<TZipHandleRecord>();
    const ZRESULT result = record->reader.OpenMemory(static_cast<const BYTE*>(pData), dwLength);
    return FinishOpen(std::move(record), result);
}

ZRESULT ZipGetLastOpenResult()
{
    return t_lastOpenResult;
}

ZRESULT ZipFindItem(ZipHandle hz, LPCWSTR pstrName, bool bIgnoreCase, int* pIndex, ZipItemInfo* pInfo)
{
    if (pIndex != nullptr) *pIndex = -1;
    const ZRESULT result = CheckHandle(hz);
    if (result != ZIP_OK) return result;
    if (pstrName == nullptr || pIndex == nullptr || pInfo == nullptr) return ZIP_BAD_ARGS;
    return hz->reader.FindItem(pstrName, bIgnoreCase, *pIndex, *pInfo);
}

ZRESULT ZipGetItem(ZipHandle hz, int index, ZipItemInfo* pInfo)
{
    const ZRESULT result = CheckHandle(hz);
    if (result != ZIP_OK) return result;
    if (pInfo == nullptr) return ZIP_BAD_ARGS;
    return hz->reader.GetItem(index, *pInfo);
}

ZRESULT ZipUnpackToMemory(ZipHandle hz, int index, void* pBuffer, DWORD dwLength)
{
    const ZRESULT result = CheckHandle(hz);
    if (result != ZIP_OK) return result;
    return hz->reader.UnpackToMemory(index, static_cast<BYTE*>(pBuffer), dwLength);
}

ZRESULT ZipClose(ZipHandle hz)
{
    const ZRESULT result = CheckHandle(hz);
    if (result != ZIP_OK) return result;
    // Any extraction, the source and the reader go with the record.
    delete hz;
    return ZIP_OK;
}

} // namespace VarnelUI
