// The archive reader against archives made by real tools (Info-ZIP, Python's
// zipfile, 7-Zip, libarchive) and damaged copies of them, all made at build
// time by tests/fixtures/make_zip_fixtures.sh. Every case runs on the file
// source and on the in-memory source.

#include "support/TestHelpers.h"
#include "varnelui/utils/UIZip.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::ReadBytes;

namespace {

std::wstring Fixture(const std::wstring& name)
{
    return std::wstring(VARNEL_BINARY_DIR) + L"/zipfixtures/" + name;
}

std::vector<BYTE> Plain(const std::wstring& name)
{
    return ReadBytes(Fixture(L"plain/" + name));
}

enum class Source { File, Memory };

// An archive opened from its file or from a copy of its bytes, closed at scope end.
class Archive
{
public:
    Archive(const std::wstring& name, Source source)
    {
        if (source == Source::File) {
            m_hz = ZipOpenFile(Fixture(name).c_str());
        } else {
            m_bytes = ReadBytes(Fixture(name));
            m_hz = ZipOpenMemory(m_bytes.data(), static_cast<DWORD>(m_bytes.size()));
        }
        m_openResult = ZipGetLastOpenResult();
    }
    explicit Archive(const std::vector<BYTE>& bytes)
        : m_hz(ZipOpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()))),
          m_openResult(ZipGetLastOpenResult())
    {
    }
    ~Archive()
    {
        if (m_hz != nullptr) {
            EXPECT_EQ(ZIP_OK, ZipClose(m_hz));
        }
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    ZipHandle get() const { return m_hz; }
    ZRESULT openResult() const { return m_openResult; }

    int Find(LPCWSTR name, bool ignoreCase = false, ZRESULT expected = ZIP_OK) const
    {
        int index = 42;
        ZipItemInfo info;
        EXPECT_EQ(expected, ZipFindItem(m_hz, name, ignoreCase, &index, &info)) << name;
        if (expected != ZIP_OK) {
            EXPECT_EQ(-1, index);
        }
        return index;
    }

    DWORD Size(int index) const
    {
        ZipItemInfo info;
        EXPECT_EQ(ZIP_OK, ZipGetItem(m_hz, index, &info));
        return info.uncompressedSize;
    }

    // Reads the member to its end in pieces of chunk bytes, each call
    // delivering min(chunk, what is left); the last call must say ZIP_OK.
    std::vector<BYTE> ReadAll(int index, DWORD chunk) const
    {
        const DWORD size = Size(index);
        std::vector<BYTE> all;
        std::vector<BYTE> buffer(chunk);
        for (;;) {
            const ZRESULT result = ZipUnpackToMemory(m_hz, index, buffer.data(), chunk);
            if (result != ZIP_MORE) {
                EXPECT_EQ(ZIP_OK, result);
                return all;
            }
            const size_t left = size - all.size();
            if (left == 0) {
                ADD_FAILURE() << "more delivered than the declared size";
                return all;
            }
            all.insert(all.end(), buffer.begin(), buffer.begin() + std::min<size_t>(chunk, left));
        }
    }

private:
    std::vector<BYTE> m_bytes;
    ZipHandle m_hz = nullptr;
    ZRESULT m_openResult = ZIP_OK;
};

class ZipReader : public ::testing::TestWithParam<Source>
{
protected:
    Source source() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Sources, ZipReader, ::testing::Values(Source::File, Source::Memory),
                         [](const ::testing::TestParamInfo<Source>& sourceInfo) {
                             return sourceInfo.param == Source::File ? "File" : "Memory";
                         });

struct TToolArchive
{
    LPCWSTR archive;
    std::vector<LPCWSTR> members;
};

const std::vector<LPCWSTR> kSkinMembers = {L"login.xml", L"images/sub/icon.txt", L"big10000.txt", L"random60k.bin",
                                           L"times.txt"};

TEST_P(ZipReader, RealToolArchivesDeliverEveryMemberIntact)
{
    const std::vector<TToolArchive> archives = {
        {L"deflated.zip", kSkinMembers},
        {L"stored.zip", kSkinMembers},
        {L"sfx.zip", kSkinMembers},
        {L"sfx_unadjusted.zip", kSkinMembers},
        {L"comment.zip", kSkinMembers},
        {L"7z_deflate.zip", {L"big10000.txt", L"random60k.bin"}},
        {L"libarchive.zip", {L"login.xml", L"big10000.txt", L"random60k.bin"}},
        {L"python.zip", {}},
    };
    for (const TToolArchive& a : archives) {
        SCOPED_TRACE(a.archive);
        const Archive zip(a.archive, source());
        ASSERT_NE(nullptr, zip.get()) << zip.openResult();
        for (LPCWSTR member : a.members) {
            SCOPED_TRACE(member);
            const std::vector<BYTE> expected = Plain(member);
            const int index = zip.Find(member);
            ASSERT_GE(index, 0);
            EXPECT_EQ(expected.size(), zip.Size(index));
            // Whole member in one buffer, then in pieces that split the 16 KiB chunks unevenly.
            EXPECT_EQ(expected, zip.ReadAll(index, static_cast<DWORD>(expected.size())));
            EXPECT_EQ(expected, zip.ReadAll(index, 997));
        }
    }
}

TEST_P(ZipReader, StreamedArchiveWithDataDescriptorsReads)
{
    // Piped through Info-ZIP: the local header has no sizes and a Zip64 extra field.
    const Archive zip(L"streamed.zip", source());
    ASSERT_NE(nullptr, zip.get()) << zip.openResult();
    const int index = zip.Find(L"-");
    ASSERT_EQ(0, index);
    EXPECT_EQ(Plain(L"big10000.txt"), zip.ReadAll(index, 4096));
}

TEST_P(ZipReader, FullBufferGivesMoreThenOkWithNothingDelivered)
{
    for (LPCWSTR name : {L"deflated.zip", L"stored.zip"}) {
        SCOPED_TRACE(name);
        const Archive zip(name, source());
        const int index = zip.Find(L"big10000.txt");
        std::vector<BYTE> buffer(10000);
        ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 10000));
        EXPECT_EQ(Plain(L"big10000.txt"), buffer);
        std::vector<BYTE> untouched(10000, 0xCD);
        EXPECT_EQ(ZIP_OK, ZipUnpackToMemory(zip.get(), index, untouched.data(), 10000));
        EXPECT_EQ(std::vector<BYTE>(10000, 0xCD), untouched);
        // The member was closed: the next call starts it again.
        EXPECT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 10000));
        // An empty member has nothing to deliver from the start.
        const int empty = zip.Find(L"empty.txt");
        EXPECT_EQ(ZIP_OK, ZipUnpackToMemory(zip.get(), empty, untouched.data(), 10));
    }
}

TEST_P(ZipReader, FindingOrDescribingEndsTheCurrentExtraction)
{
    const Archive zip(L"deflated.zip", source());
    const std::vector<BYTE> expected = Plain(L"big10000.txt");
    const int index = zip.Find(L"big10000.txt");
    std::vector<BYTE> buffer(1000);
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 1000));
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 1000));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), expected.begin() + 1000)); // continued

    zip.Find(L"login.xml");
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 1000));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), expected.begin())); // started over

    ZipItemInfo info;
    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), -1, &info));
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 1000));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), expected.begin()));

    // Switching members mid-way starts the other one from its beginning.
    const int random = zip.Find(L"random60k.bin");
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), index, buffer.data(), 1000));
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), random, buffer.data(), 1000));
    const std::vector<BYTE> random60k = Plain(L"random60k.bin");
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), random60k.begin()));

    // A call with no room delivers nothing and closes the member.
    EXPECT_EQ(ZIP_OK, ZipUnpackToMemory(zip.get(), random, nullptr, 0));
    ASSERT_EQ(ZIP_MORE, ZipUnpackToMemory(zip.get(), random, buffer.data(), 1000));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), random60k.begin()));
}

TEST_P(ZipReader, FindMatchesWholeNamesWithSlashAndCaseRules)
{
    const Archive zip(L"deflated.zip", source());
    const int icon = zip.Find(L"images/sub/icon.txt");
    EXPECT_EQ(icon, zip.Find(L"images\\sub\\icon.txt"));
    EXPECT_EQ(icon, zip.Find(L"IMAGES\\Sub/ICON.txt", true));
    zip.Find(L"IMAGES/SUB/ICON.TXT", false, ZIP_NOT_FOUND);
    zip.Find(L"icon.txt", true, ZIP_NOT_FOUND);
    zip.Find(L"images/sub/icon.tx", true, ZIP_NOT_FOUND);
    zip.Find(L"", true, ZIP_NOT_FOUND);
    EXPECT_GE(zip.Find(L"LOGIN.XML", true), 0);

    const Archive python(L"python.zip", source());
    EXPECT_GE(python.Find(L"dir/mixed.case.txt", true), 0);
    python.Find(L"dir/mixed.case.txt", false, ZIP_NOT_FOUND);
    const std::wstring name255 = std::wstring(251, L'n') + L".txt";
    const std::wstring name300 = std::wstring(296, L'l') + L".txt";
    const int index255 = python.Find(name255.c_str());
    EXPECT_GE(index255, 0);
    // Longer than 255 units: never found, though the member is there.
    python.Find(name300.c_str(), false, ZIP_NOT_FOUND);
    ZipItemInfo info;
    ASSERT_EQ(ZIP_OK, ZipGetItem(python.get(), 4, &info));
    EXPECT_EQ(name300.substr(0, MAX_PATH - 1), info.name);
    ASSERT_EQ(ZIP_OK, ZipGetItem(python.get(), index255, &info));
    EXPECT_EQ(name255, info.name);
    EXPECT_GE(python.Find(L"?.txt"), 0);
    python.Find(L"\u4E2D.txt", true, ZIP_NOT_FOUND); // not "?.txt", whatever the code page
}

TEST_P(ZipReader, GetItemDescribesMembersAndTheArchive)
{
    const Archive zip(L"deflated.zip", source());
    ZipItemInfo info;
    std::fill_n(reinterpret_cast<BYTE*>(&info), sizeof(info), BYTE(0xAB));
    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), -1, &info));
    EXPECT_EQ(8, info.index);
    EXPECT_EQ(0, info.name[0]);
    EXPECT_EQ(0u, info.uncompressedSize);
    EXPECT_EQ(0u, info.modificationTime.dwLowDateTime);
    EXPECT_EQ(ZIP_BAD_ARGS, ZipGetItem(zip.get(), 8, &info));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipGetItem(zip.get(), -2, &info));

    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), zip.Find(L"images/"), &info));
    EXPECT_NE(0u, info.attributes & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), zip.Find(L"random60k.bin"), &info));
    EXPECT_EQ(0u, info.attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(60000u, info.uncompressedSize);
    EXPECT_LT(info.compressedSize, 61000u);
    EXPECT_GT(info.compressedSize, 59000u);

    // Info-ZIP's extended timestamp: modification in both headers, access only locally.
    const auto unixTime = [](const FILETIME& ft) {
        const ULONGLONG v = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        return static_cast<LONGLONG>(v / 10000000ULL) - 11644473600LL;
    };
    const int times = zip.Find(L"times.txt");
    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), times, &info));
    EXPECT_STREQ(L"times.txt", info.name);
    EXPECT_EQ(times, info.index);
    EXPECT_EQ(1600000000, unixTime(info.modificationTime));
    EXPECT_EQ(1500000000, unixTime(info.accessTime));
}

TEST_P(ZipReader, DosTimesAndOverrunningExtraFields)
{
    const Archive zip(L"python.zip", source());
    const auto localTime = [](const FILETIME& utc) {
        FILETIME local;
        SYSTEMTIME st = {};
        EXPECT_TRUE(::FileTimeToLocalFileTime(&utc, &local));
        EXPECT_TRUE(::FileTimeToSystemTime(&local, &st));
        return st;
    };
    ZipItemInfo info;
    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), zip.Find(L"Dir/Mixed.Case.TXT"), &info));
    SYSTEMTIME st = localTime(info.modificationTime);
    EXPECT_EQ(2020, st.wYear);
    EXPECT_EQ(5, st.wMonth);
    EXPECT_EQ(17, st.wDay);
    EXPECT_EQ(10, st.wHour);
    EXPECT_EQ(20, st.wMinute);
    EXPECT_EQ(30, st.wSecond);
    EXPECT_EQ(0, CompareFileTime(&info.modificationTime, &info.accessTime));
    EXPECT_EQ(0, CompareFileTime(&info.modificationTime, &info.creationTime));

    // A timestamp block claiming more bytes than its field holds is ignored, not read.
    const int overrun = zip.Find(L"overrun.txt");
    ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), overrun, &info));
    st = localTime(info.modificationTime);
    EXPECT_EQ(2021, st.wYear);
    EXPECT_EQ(6, st.wSecond);
    const std::string text = "extra field runs past its header\n";
    const std::vector<BYTE> data = zip.ReadAll(overrun, 64);
    EXPECT_EQ(text, std::string(data.begin(), data.end()));
    const int stored = zip.Find(L"stored.txt");
    const std::vector<BYTE> storedData = zip.ReadAll(stored, 5);
    EXPECT_EQ("stored by python\n", std::string(storedData.begin(), storedData.end()));
}

TEST_P(ZipReader, MethodsOtherThanStoredAndDeflatedAreCorrupt)
{
    const Archive zip(L"bzip2.zip", source());
    ASSERT_NE(nullptr, zip.get());
    zip.Find(L"big10000.txt", true, ZIP_CORRUPT);
    std::vector<BYTE> buffer(10000);
    EXPECT_EQ(ZIP_CORRUPT, ZipUnpackToMemory(zip.get(), 0, buffer.data(), 10000));
    // Encryption is not supported either: the member is found but never delivered.
    const Archive encrypted(L"encrypted.zip", source());
    const int index = encrypted.Find(L"login.xml");
    ASSERT_EQ(0, index);
    EXPECT_EQ(ZIP_CORRUPT, ZipUnpackToMemory(encrypted.get(), index, buffer.data(), 10000));
}

TEST_P(ZipReader, ArchivesWhoseDirectoryCannotBeReadFailToOpen)
{
    const std::vector<std::pair<LPCWSTR, ZRESULT>> cases = {
        {L"truncated_half.zip", ZIP_DIRECTORY_UNREADABLE},
        {L"truncated_end.zip", ZIP_DIRECTORY_UNREADABLE},
        {L"tiny.zip", ZIP_DIRECTORY_UNREADABLE},
        {L"plain/login.xml", ZIP_DIRECTORY_UNREADABLE},
        {L"cd_offset_past_end.zip", ZIP_DIRECTORY_INCONSISTENT},
        {L"cd_size_past_start.zip", ZIP_DIRECTORY_INCONSISTENT},
        {L"entries_inflated.zip", ZIP_DIRECTORY_INCONSISTENT},
        {L"multidisk.zip", ZIP_DIRECTORY_INCONSISTENT},
        {L"central_extra_overrun.zip", ZIP_DIRECTORY_INCONSISTENT},
        {L"member_comment_overrun.zip", ZIP_DIRECTORY_INCONSISTENT},
        {L"central_signature.zip", ZIP_DIRECTORY_INCONSISTENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const Archive zip(c.first, source());
        EXPECT_EQ(nullptr, zip.get());
        EXPECT_EQ(c.second, zip.openResult());
    }
    // A comment length reaching past the end is harmless: the comment is never read.
    const Archive comment(L"comment_length_huge.zip", source());
    EXPECT_NE(nullptr, comment.get());
    const Archive empty(L"python_empty.zip", source());
    ASSERT_NE(nullptr, empty.get());
    ZipItemInfo info;
    ASSERT_EQ(ZIP_OK, ZipGetItem(empty.get(), -1, &info));
    EXPECT_EQ(0, info.index);
    empty.Find(L"login.xml", true, ZIP_NOT_FOUND);
}

TEST_P(ZipReader, LocalHeadersDisagreeingWithTheDirectoryAreCorrupt)
{
    for (LPCWSTR name : {L"local_method.zip", L"local_size.zip", L"local_name_length.zip", L"local_signature.zip"}) {
        SCOPED_TRACE(name);
        const Archive zip(name, source());
        ASSERT_NE(nullptr, zip.get());
        zip.Find(L"big10000.txt", false, ZIP_CORRUPT);
        std::vector<BYTE> buffer(100);
        EXPECT_EQ(ZIP_CORRUPT, ZipUnpackToMemory(zip.get(), 5, buffer.data(), 100)); // big10000.txt
        EXPECT_EQ(Plain(L"login.xml"), zip.ReadAll(zip.Find(L"login.xml"), 64));     // the others are fine
    }
    const Archive zip(L"local_offset_past_end.zip", source());
    zip.Find(L"big10000.txt", false, ZIP_READ_FAILED);
}

TEST_P(ZipReader, DamagedDataFailsInsteadOfBeingDelivered)
{
    std::vector<BYTE> buffer(16384);
    // Wrong CRC, undecodable deflate data, one byte more data than declared.
    for (LPCWSTR name : {L"bad_crc.zip", L"bad_data.zip", L"long_data.zip"}) {
        SCOPED_TRACE(name);
        const Archive zip(name, source());
        const int index = zip.Find(L"big10000.txt");
        const DWORD size = zip.Size(index);
        EXPECT_EQ(ZIP_INFLATE_FAILED, ZipUnpackToMemory(zip.get(), index, buffer.data(), size));
        // In small pieces the damage shows at the latest on the piece with the last byte.
        ZRESULT result = ZIP_MORE;
        for (int calls = 0; calls < 200 && result == ZIP_MORE; ++calls)
            result = ZipUnpackToMemory(zip.get(), index, buffer.data(), 100);
        EXPECT_EQ(ZIP_INFLATE_FAILED, result);
    }
    // Bombs: 4 GiB declared for 10,000 bytes. Callers size their buffers by the
    // declared size, so a member declaring more than the limit is damaged
    // before any of its bytes is read.
    for (LPCWSTR name : {L"bomb.zip", L"stored_bomb.zip"}) {
        SCOPED_TRACE(name);
        const Archive zip(name, source());
        int index = 0;
        ZipItemInfo info;
        EXPECT_EQ(ZIP_CORRUPT, ZipFindItem(zip.get(), L"big10000.txt", false, &index, &info));
        EXPECT_EQ(-1, index);
    }
}

TEST_P(ZipReader, BadArgumentsAndMissingFiles)
{
    const Archive zip(L"deflated.zip", source());
    int index = 7;
    ZipItemInfo info;
    BYTE byte = 0;
    EXPECT_EQ(ZIP_BAD_ARGS, ZipFindItem(nullptr, L"login.xml", true, &index, &info));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(ZIP_BAD_ARGS, ZipFindItem(zip.get(), nullptr, true, &index, &info));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipGetItem(nullptr, 0, &info));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipUnpackToMemory(nullptr, 0, &byte, 1));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipUnpackToMemory(zip.get(), 8, &byte, 1));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipUnpackToMemory(zip.get(), -1, &byte, 1));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipUnpackToMemory(zip.get(), 0, nullptr, 1));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipClose(nullptr));

    EXPECT_EQ(nullptr, ZipOpenFile(Fixture(L"no-such.zip").c_str()));
    EXPECT_EQ(ZIP_OPEN_FAILED, ZipGetLastOpenResult());
    EXPECT_EQ(nullptr, ZipOpenMemory(nullptr, 100));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipGetLastOpenResult());
}

// Hostile bytes: every prefix of an archive, and thousands of single-byte
// changes. Whatever opens must describe and extract without reading out of
// bounds (the memory source copies only from inside its buffer), never deliver
// more than the declared size, and always come to an end.
TEST(ZipReaderHostile, TruncationsAndMutationsNeverMisbehave)
{
    // A reader that refused everything would pass the checks below, so the
    // sweep also counts what opened and what unpacked whole.
    int opened = 0;
    int unpacked = 0;
    const auto exercise = [&](const std::vector<BYTE>& bytes) {
        const Archive zip(bytes);
        if (zip.get() == nullptr) return;
        ++opened;
        ZipItemInfo info;
        ASSERT_EQ(ZIP_OK, ZipGetItem(zip.get(), -1, &info));
        std::vector<BYTE> buffer(8192);
        for (int i = 0; i < info.index; ++i) {
            ZipItemInfo member;
            if (ZipGetItem(zip.get(), i, &member) != ZIP_OK) continue;
            ASSERT_LT(wcslen(member.name), size_t(MAX_PATH));
            ULONGLONG delivered = 0;
            ZRESULT result = ZIP_MORE;
            while (result == ZIP_MORE) {
                result = ZipUnpackToMemory(zip.get(), i, buffer.data(), static_cast<DWORD>(buffer.size()));
                if (result == ZIP_MORE)
                    delivered += std::min<ULONGLONG>(buffer.size(), member.uncompressedSize - delivered);
                ASSERT_LE(delivered, member.uncompressedSize);
                ASSERT_LT(delivered, 1ULL << 20) << "a mutated member cannot hold this much";
            }
            if (result == ZIP_OK) ++unpacked;
        }
    };

    const std::vector<BYTE> python = ReadBytes(Fixture(L"python.zip"));
    for (size_t length = 0; length <= python.size(); ++length)
        exercise(std::vector<BYTE>(python.begin(), python.begin() + length));

    std::mt19937 rng(12345);
    for (LPCWSTR name : {L"python.zip", L"deflated.zip", L"stored.zip"}) {
        const std::vector<BYTE> original = ReadBytes(Fixture(name));
        std::uniform_int_distribution<size_t> position(0, original.size() - 1);
        std::uniform_int_distribution<int> value(0, 255);
        for (int round = 0; round < 700; ++round) {
            std::vector<BYTE> mutated = original;
            // Most rounds hit the directory and headers at the end, where lengths live.
            const size_t at = (round % 2 == 0)
                                  ? original.size() - 1 - position(rng) % std::min<size_t>(original.size(), 1200)
                                  : position(rng);
            mutated[at] = static_cast<BYTE>(value(rng));
            if (round % 3 == 0) mutated[position(rng)] = 0xFF;
            exercise(mutated);
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(unpacked, 0);
}

} // namespace

namespace {

// One stored member whose headers declare `size` bytes: describing reads no data.
std::string DeclaringSize(DWORD size)
{
    std::string zip = VarnelTest::StoredZip({{"big.png", "data"}});
    const auto put32 = [&zip](size_t at, DWORD value) {
        for (size_t i = 0; i < 4; ++i) zip[at + i] = static_cast<char>(value >> (8 * i));
    };
    put32(22, size); // the local header's uncompressed size
    put32(zip.find(std::string("PK\1\2", 4)) + 24, size);
    return zip;
}

} // namespace

TEST(ZipReaderLimits, ArchivesWithTooManyMembersDoNotOpen)
{
    std::vector<VarnelTest::TZipMember> members;
    for (int i = 0; i < kMaxArchiveMembers; ++i) members.push_back({"m" + std::to_string(i), "x"});
    std::string zip = VarnelTest::StoredZip(members);
    EXPECT_TRUE(CZipArchive(ZipOpenMemory(zip.data(), static_cast<DWORD>(zip.size()))));
    members.push_back({"one-more", "x"});
    zip = VarnelTest::StoredZip(members);
    EXPECT_FALSE(CZipArchive(ZipOpenMemory(zip.data(), static_cast<DWORD>(zip.size()))));
    EXPECT_EQ(ZIP_DIRECTORY_TOO_LARGE, ZipGetLastOpenResult());
}

TEST(ZipReaderLimits, MembersDeclaringMoreThanTheLimitAreCorrupt)
{
    const std::string atLimit = DeclaringSize(kMaxArchiveMemberBytes);
    const CZipArchive fits(ZipOpenMemory(atLimit.data(), static_cast<DWORD>(atLimit.size())));
    ZipItemInfo info;
    ASSERT_EQ(ZIP_OK, ZipGetItem(fits.get(), 0, &info));
    EXPECT_EQ(kMaxArchiveMemberBytes, info.uncompressedSize);

    const std::string over = DeclaringSize(kMaxArchiveMemberBytes + 1);
    const CZipArchive zip(ZipOpenMemory(over.data(), static_cast<DWORD>(over.size())));
    ASSERT_TRUE(zip);
    EXPECT_EQ(ZIP_CORRUPT, ZipGetItem(zip.get(), 0, &info));
    int index = 0;
    EXPECT_EQ(ZIP_CORRUPT, ZipFindItem(zip.get(), L"big.png", true, &index, &info));
    EXPECT_EQ(-1, index);
    BYTE buffer[4];
    EXPECT_EQ(ZIP_CORRUPT, ZipUnpackToMemory(zip.get(), 0, buffer, sizeof(buffer)));
}
