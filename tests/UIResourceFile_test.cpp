// The process-wide skin resource settings and reading skin files through them,
// from the skin folder or an archive (cached, in memory, or opened per read).
// The archives are the fixtures made by tests/fixtures/make_zip_fixtures.sh.

#include "support/TestHelpers.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIMarkup.h"
#include "varnelui/core/UIResourceFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VarnelUI;
using VarnelTest::ReadBytes;

namespace {

const std::wstring kFixtures = std::wstring(VARNEL_BINARY_DIR) + L"/zipfixtures/";

// Nobody else has the file open: an exclusive open succeeds.
bool IsClosedEverywhere(const std::wstring& path)
{
    const HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

bool Contains(ZipHandle hz, LPCWSTR name)
{
    int index = -1;
    ZipItemInfo info;
    return ZipFindItem(hz, name, true, &index, &info) == ZIP_OK;
}

// The settings are process-wide: every test starts and ends with none.
class ResourceSettings : public ::testing::Test
{
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
    }
};

TEST_F(ResourceSettings, ResourcePathEndsWithASeparatorUnlessEmpty)
{
    CPaintManagerUI::SetResourcePath(L"C:\\skins");
    EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(L"C:/skins/");
    EXPECT_STREQ(L"C:/skins/", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(L"C:\\skins\\");
    EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath());
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourcePath());
}

TEST_F(ResourceSettings, CachedArchiveIsOpenedOnceOverPathAndName)
{
    // Two folders with an archive of the same name but different members.
    CPaintManagerUI::SetResourcePath(kFixtures.c_str());
    CPaintManagerUI::SetResourceZip(L"python.zip", true);
    const ZipHandle first = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_STREQ(L"python.zip", CPaintManagerUI::GetResourceZip());
    EXPECT_FALSE(IsClosedEverywhere(kFixtures + L"python.zip"));

    // Same name and flag: the handle is neither closed nor reopened, though the
    // path now leads elsewhere.
    CPaintManagerUI::SetResourcePath((kFixtures + L"plain").c_str());
    CPaintManagerUI::SetResourceZip(L"python.zip", true);
    ASSERT_EQ(first, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_TRUE(Contains(first, L"stored.txt"));

    // A different flag closes it; uncached, no handle is held.
    CPaintManagerUI::SetResourcePath(kFixtures.c_str());
    CPaintManagerUI::SetResourceZip(L"python.zip", false);
    EXPECT_EQ(nullptr, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_TRUE(IsClosedEverywhere(kFixtures + L"python.zip"));

    // An archive that cannot be opened leaves the name set and no handle.
    CPaintManagerUI::SetResourceZip(L"no-such.zip", true);
    EXPECT_STREQ(L"no-such.zip", CPaintManagerUI::GetResourceZip());
    EXPECT_EQ(nullptr, CPaintManagerUI::GetResourceZipHandle());

    CPaintManagerUI::SetResourceZip(L"deflated.zip", true);
    ASSERT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::Term();
    EXPECT_EQ(nullptr, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_TRUE(IsClosedEverywhere(kFixtures + L"deflated.zip"));
}

TEST_F(ResourceSettings, FirstArchiveInMemoryStaysInstalled)
{
    const std::vector<BYTE> python = ReadBytes(kFixtures + L"python.zip");
    const std::vector<BYTE> deflated = ReadBytes(kFixtures + L"deflated.zip");
    CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(python.data()), static_cast<unsigned>(python.size()));
    EXPECT_STREQ(L"membuffer", CPaintManagerUI::GetResourceZip());
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    const ZipHandle installed = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(nullptr, installed);

    CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(deflated.data()), static_cast<unsigned>(deflated.size()));
    ASSERT_EQ(installed, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_TRUE(Contains(installed, L"stored.txt"));
    EXPECT_FALSE(Contains(installed, L"big10000.txt"));

    // Once another archive name was set, a buffer can be installed again.
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(deflated.data()), static_cast<unsigned>(deflated.size()));
    EXPECT_TRUE(Contains(CPaintManagerUI::GetResourceZipHandle(), L"big10000.txt"));
}

TEST_F(ResourceSettings, SkinFilesFromTheFolder)
{
    CPaintManagerUI::SetResourcePath((kFixtures + L"plain").c_str());
    const std::vector<BYTE> expected = ReadBytes(kFixtures + L"plain/big10000.txt");
    std::vector<BYTE> bytes = {1, 2, 3};
    EXPECT_EQ(SkinFileResult::Ok, ReadSkinFile(L"big10000.txt", 10000, bytes));
    EXPECT_EQ(expected, bytes);
    EXPECT_EQ(SkinFileResult::Ok, ReadSkinFile(L"images\\sub\\icon.txt", 10000, bytes));
    EXPECT_EQ(SkinFileResult::TooLarge, ReadSkinFile(L"big10000.txt", 9999, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(SkinFileResult::Empty, ReadSkinFile(L"empty.txt", 10000, bytes));
    EXPECT_EQ(SkinFileResult::OpenFailed, ReadSkinFile(L"no-such.xml", 10000, bytes));
    EXPECT_EQ(SkinFileResult::OpenFailed, ReadSkinFile(nullptr, 10000, bytes));
    EXPECT_TRUE(IsClosedEverywhere(kFixtures + L"plain/big10000.txt"));
}

TEST_F(ResourceSettings, SkinFilesFromAnArchiveOpenedForEachRead)
{
    CPaintManagerUI::SetResourcePath(kFixtures.c_str());
    CPaintManagerUI::SetResourceZip(L"deflated.zip", false);
    std::vector<BYTE> bytes;
    EXPECT_EQ(SkinFileResult::Ok, ReadSkinFile(L"IMAGES\\SUB\\Icon.TXT", 100, bytes));
    EXPECT_EQ(ReadBytes(kFixtures + L"plain/images/sub/icon.txt"), bytes);
    EXPECT_TRUE(IsClosedEverywhere(kFixtures + L"deflated.zip"));
    EXPECT_EQ(SkinFileResult::MemberNotFound, ReadSkinFile(L"icon.txt", 100, bytes));
    EXPECT_EQ(SkinFileResult::Empty, ReadSkinFile(L"empty.txt", 100, bytes));
    EXPECT_EQ(SkinFileResult::TooLarge, ReadSkinFile(L"big10000.txt", 9999, bytes));
    EXPECT_TRUE(IsClosedEverywhere(kFixtures + L"deflated.zip"));

    CPaintManagerUI::SetResourceZip(L"truncated_half.zip", false);
    EXPECT_EQ(SkinFileResult::ArchiveOpenFailed, ReadSkinFile(L"login.xml", 100, bytes));
    CPaintManagerUI::SetResourceZip(L"no-such.zip", false);
    EXPECT_EQ(SkinFileResult::ArchiveOpenFailed, ReadSkinFile(L"login.xml", 100, bytes));
}

TEST_F(ResourceSettings, SkinFilesFromCachedArchivesAndTheirFailures)
{
    CPaintManagerUI::SetResourcePath(kFixtures.c_str());
    const std::vector<BYTE> big = ReadBytes(kFixtures + L"plain/big10000.txt");
    std::vector<BYTE> bytes;
    for (LPCWSTR archive : {L"deflated.zip", L"stored.zip", L"sfx.zip", L"comment.zip"}) {
        SCOPED_TRACE(archive);
        CPaintManagerUI::SetResourceZip(archive, true);
        // Twice: the cached handle is left mid-member by the first read.
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(SkinFileResult::Ok, ReadSkinFile(L"Big10000.TXT", 10000, bytes));
            EXPECT_EQ(big, bytes);
        }
    }

    // Damage the reader catches shows as an unpack failure, not as a missing member.
    for (LPCWSTR archive : {L"bad_crc.zip", L"bad_data.zip", L"local_method.zip", L"bzip2.zip"}) {
        SCOPED_TRACE(archive);
        CPaintManagerUI::SetResourceZip(archive, true);
        EXPECT_EQ(SkinFileResult::UnpackFailed, ReadSkinFile(L"big10000.txt", 10000, bytes));
        EXPECT_TRUE(bytes.empty());
    }
    // A bomb is refused by its declared size before anything is allocated:
    // past the archive's member limit it counts as damage.
    CPaintManagerUI::SetResourceZip(L"bomb.zip", true);
    EXPECT_EQ(SkinFileResult::UnpackFailed, ReadSkinFile(L"big10000.txt", 4 * 1024 * 1024, bytes));
    EXPECT_TRUE(bytes.empty());

    // An archive that cannot be opened fails every read.
    CPaintManagerUI::SetResourceZip(L"no-such.zip", true);
    EXPECT_EQ(SkinFileResult::ArchiveOpenFailed, ReadSkinFile(L"login.xml", 100, bytes));

    const std::vector<BYTE> memory = ReadBytes(kFixtures + L"python.zip");
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(memory.data()), static_cast<unsigned>(memory.size()));
    EXPECT_EQ(SkinFileResult::Ok, ReadSkinFile(L"DIR\\mixed.case.txt", 100, bytes));
    EXPECT_EQ("mixed case\n", std::string(bytes.begin(), bytes.end()));
}

std::wstring ErrorOf(const CMarkup& markup)
{
    wchar_t message[100] = {};
    markup.GetLastErrorMessage(message, 99);
    return message;
}

// The skin documents as the launcher loads them: out of an archive in memory
// (the executable's resource) or a cached archive file, made by real tools.
TEST_F(ResourceSettings, MarkupLoadsSkinDocumentsOutOfArchives)
{
    CPaintManagerUI::SetResourcePath(kFixtures.c_str());
    const std::vector<BYTE> memory = ReadBytes(kFixtures + L"python.zip");
    CMarkup markup;
    for (int origin = 0; origin < 2; ++origin) {
        SCOPED_TRACE(origin);
        CPaintManagerUI::SetResourceZip(L"", false);
        if (origin == 0)
            CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(memory.data()), static_cast<unsigned>(memory.size()));
        else CPaintManagerUI::SetResourceZip(L"deflated.zip", true);
        ASSERT_TRUE(markup.LoadFromFile(L"Login.xml")) << ErrorOf(markup);
        EXPECT_STREQ(L"Window", markup.GetRoot().GetName());
        EXPECT_STREQ(L"686,437", markup.GetRoot().GetAttributeValue(L"size"));
        EXPECT_FALSE(markup.LoadFromFile(L"playGameWindow.xml"));
        EXPECT_EQ(L"Could not find ziped file", ErrorOf(markup));
    }

    CPaintManagerUI::SetResourceZip(L"bad_data.zip", false);
    EXPECT_TRUE(markup.LoadFromFile(L"login.xml")) << ErrorOf(markup);
    EXPECT_FALSE(markup.LoadFromFile(L"big10000.txt"));
    EXPECT_EQ(L"Could not unzip file", ErrorOf(markup));
    CPaintManagerUI::SetResourceZip(L"local_method.zip", true);
    EXPECT_FALSE(markup.LoadFromFile(L"big10000.txt"));
    EXPECT_EQ(L"Could not unzip file", ErrorOf(markup));
    CPaintManagerUI::SetResourceZip(L"truncated_end.zip", true);
    EXPECT_FALSE(markup.LoadFromFile(L"login.xml"));
    EXPECT_EQ(L"Error opening zip file", ErrorOf(markup));
}

} // namespace
