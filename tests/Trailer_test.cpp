// Trailer reading on real executables: copies of a probe linked like the
// launcher get trailers appended, then report what the launcher code reads.
#include "support/TestHelpers.h"
#include "support/TestProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using VarnelTest::Narrow;
using VarnelTest::TempDir;
using VarnelTest::TestProcess;

namespace {

std::wstring ProbePath()
{
    return VarnelTest::BinaryPath(L"tests/programs/TrailerProbe.exe");
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Runs a copy of the probe with `trailer` appended and returns its report.
std::map<std::string, std::string> Probe(const TempDir& dir, const std::string& trailer)
{
    const std::wstring exe = dir.File(L"probe.exe");
    EXPECT_TRUE(VarnelTest::CopyTo(ProbePath(), exe));
    {
        std::ofstream out(Narrow(exe), std::ios::binary | std::ios::app);
        out.write(trailer.data(), static_cast<std::streamsize>(trailer.size()));
    }
    TestProcess process;
    EXPECT_TRUE(process.Start(exe, L"", TestProcess::OutputMode::Captured));
    DWORD code = 1;
    EXPECT_TRUE(process.Wait(20000, &code));
    EXPECT_EQ(code, 0u);
    std::map<std::string, std::string> report;
    std::istringstream lines(process.Output());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq != std::string::npos) report[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return report;
}

} // namespace

TEST(Trailer, ImageEndIsTheFileSizeOfAnExeWithoutTrailer)
{
    TempDir dir;
    auto report = Probe(dir, "");
    EXPECT_EQ(std::stoll(report["end"]), FileSize(ProbePath()));
    EXPECT_EQ(report["field0"], "<none>");
    EXPECT_EQ(report["field1"], "<none>");
}

TEST(Trailer, TwoFieldsReadBack)
{
    TempDir dir;
    auto report = Probe(dir, "http://login.example.test/index.html|tencent://message/?uin=1&Site=x");
    EXPECT_EQ(report["field0"], "http://login.example.test/index.html");
    EXPECT_EQ(report["field1"], "tencent://message/?uin=1&Site=x");
    // An index beyond the pieces present is refused instead of read past the end.
    EXPECT_EQ(report["field2"], "<none>");
}

TEST(Trailer, LeadingSeparatorMakesTheLinkFieldZero)
{
    TempDir dir;
    auto report = Probe(dir, "|http://service.example.test");
    EXPECT_EQ(report["field0"], "http://service.example.test");
    EXPECT_EQ(report["field1"], "<none>");
}

TEST(Trailer, TextWithoutSeparatorGivesNoFields)
{
    TempDir dir;
    auto report = Probe(dir, "http://only.example.test");
    EXPECT_EQ(report["field0"], "<none>");
}

TEST(Trailer, ZeroByteEndsTheText)
{
    TempDir dir;
    auto report = Probe(dir, std::string("a|b\0|c", 6));
    EXPECT_EQ(report["field0"], "a");
    EXPECT_EQ(report["field1"], "b");
    EXPECT_EQ(report["field2"], "<none>");
}

TEST(Trailer, OverlongTrailerIsCutAt255Bytes)
{
    TempDir dir;
    const std::string second(400, 'x');
    auto report = Probe(dir, "a|" + second);
    EXPECT_EQ(report["field0"], "a");
    EXPECT_EQ(report["field1"], std::string(253, 'x'));
}

TEST(Trailer, Utf8FieldsConvert)
{
    TempDir dir;
    auto report = Probe(dir, "http://a.test/\xE6\xB8\xB8\xE6\x88\x8F|b");
    EXPECT_EQ(report["field0"], "http://a.test/\xE6\xB8\xB8\xE6\x88\x8F");
}
