// varnelSkinView, run as skin authors run it: the checker on the shipped skins
// and on a broken copy, the live viewer on a folder the test rewrites (pixels
// read from the screen, a click on a button), the gallery pictures against
// the committed copies, and the vocabulary reference against the tables.
#include "support/TestHelpers.h"
#include "support/TestProcess.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using VarnelTest::Narrow;
using VarnelTest::TempDir;
using VarnelTest::TestProcess;
using VarnelTest::WaitUntil;

namespace {

std::wstring SourcePath(const std::wstring& relative)
{
    return std::wstring(VARNEL_SOURCE_DIR) + L"/" + relative;
}

struct TRun
{
    DWORD code = 99;
    std::string output;
};

TRun RunTool(const std::wstring& args)
{
    TestProcess tool;
    TRun run;
    EXPECT_TRUE(tool.Start(VarnelTest::BinaryPath(L"varnelSkinView.exe"), args, TestProcess::OutputMode::Captured));
    EXPECT_TRUE(tool.Wait(120000, &run.code)) << "varnelSkinView " << Narrow(args) << " did not end";
    run.output = tool.Output();
    return run;
}

// The "file:line: error|warning: message" lines of the checker's output.
std::vector<std::string> ProblemLines(const std::string& output)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find(": error: ") != std::string::npos || line.find(": warning: ") != std::string::npos)
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string ReadText(const std::wstring& path)
{
    const std::vector<BYTE> bytes = VarnelTest::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void Replace(std::string& text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << "the skin no longer holds " << from;
    text.replace(at, from.size(), to);
}

// The line of the needle's first (or later) occurrence.
int LineOf(const std::string& text, const std::string& needle, int occurrence = 1)
{
    size_t at = text.find(needle);
    while (--occurrence > 0 && at != std::string::npos) at = text.find(needle, at + 1);
    EXPECT_NE(at, std::string::npos) << needle;
    if (at == std::string::npos) return 0;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

void CopyFolder(const std::wstring& from, const std::wstring& to)
{
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((from + L"/*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ASSERT_TRUE(VarnelTest::CopyTo(from + L"/" + found.cFileName, to + L"\\" + found.cFileName));
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

// ---- pixels ---------------------------------------------------------------------

COLORREF ScreenPixel(POINT pt)
{
    const HDC screen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(screen, pt.x, pt.y);
    ::ReleaseDC(nullptr, screen);
    return color;
}

struct ImageFree
{
    void operator()(VarnelUI::TImageInfo* pImage) const { VarnelUI::CRenderEngine::FreeImage(pImage); }
};

// A PNG file decoded by the framework: B, G, R, A bytes, rows top down.
std::vector<BYTE> Pixels(const std::wstring& path, SIZE& size)
{
    const std::unique_ptr<VarnelUI::TImageInfo, ImageFree> image(VarnelUI::CRenderEngine::LoadImageW(path.c_str()));
    if (!image) return {};
    size = {image->width, image->height};
    DIBSECTION dib{};
    ::GetObjectW(image->hBitmap, sizeof(dib), &dib);
    const auto* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
    return std::vector<BYTE>(bits, bits + static_cast<size_t>(image->width) * image->height * 4);
}

} // namespace

// ---- the checker ------------------------------------------------------------------

TEST(SkinCheck, ShippedSkinsAndTheGalleryAreClean)
{
    for (const std::wstring& skin : {SourcePath(L"resources/skin"), SourcePath(L"resources/gallery"),
                                     VarnelTest::BinaryPath(L"skinview/gallery.zip")}) {
        const TRun run = RunTool(L"--check \"" + skin + L"\"");
        EXPECT_EQ(run.code, 0u) << Narrow(skin) << "\n" << run.output;
        EXPECT_TRUE(ProblemLines(run.output).empty()) << run.output;
    }
}

TEST(SkinCheck, BrokenCopyReportsEachErrorKindWithFileAndLine)
{
    TempDir dir;
    CopyFolder(SourcePath(L"resources/skin"), dir.Path());
    std::string login = ReadText(dir.File(L"login.xml"));
    Replace(login, "</Container>", "</Contianer>");
    VarnelTest::WriteFile(dir.File(L"login.xml"), login);

    std::string play = ReadText(dir.File(L"playGameWindow.xml"));
    Replace(play, "sizebox=\"4,4,6,6\"", "sizebox=\"4,4,6\"");
    Replace(play, "default=\"true\" />",
            "default=\"true\" />\n  <Default name=\"Buton\" value=\"\" />\n"
            "  <Default name=\"Button\" value=\"bogus=&quot;1&quot;\" />");
    Replace(play, "<HorizontalLayout height=\"32\">", "<HorizontalLayout height=\"32px\">");
    Replace(play, "<Control width=\"4\" />", "<Contorl width=\"4\" />");
    Replace(play, "textcolor=\"#00FFFBF0\"",
            "textcolor=\"#00FFFBFG\" font=\"2\" vscrollbarstyle=\"width=&quot;8&quot;\"");
    Replace(play, "tooltip=", "tooltipp=");
    Replace(play, "file='kefubtn.png' source='27,0,54,27'", "file='kefubtn_hot.png' source='27,0,54,27'");
    Replace(play, "visible=\"false\"", "visible=\"no\"");
    Replace(play, "name=\"refreshbtn\"", "name=\"minbtn\"");
    Replace(play, "<Control height=\"2\" />",
            "<Include source=\"missing.xml\" />\n    <Include source=\"loop.xml\" />\n    <Control height=\"2\" />");
    VarnelTest::WriteFile(dir.File(L"playGameWindow.xml"), play);
    VarnelTest::WriteFile(dir.File(L"loop.xml"), "<Window>\n  <Include source=\"loop.xml\" />\n</Window>\n");

    const auto at = [&](const char* needle, int occurrence = 1) {
        return "playGameWindow.xml:" + std::to_string(LineOf(play, needle, occurrence));
    };
    const std::vector<std::string> expected = {
        "login.xml:" + std::to_string(LineOf(login, "</Contianer>")) +
            ": error: Unmatched closing tag near \"Contianer>\"",
        at("sizebox") + ": error: <Window> sizebox=\"4,4,6\" is not four numbers (left,top,right,bottom)",
        at("\"Buton\"") + ": error: <Default> name \"Buton\" is neither an element nor VScrollBar or HScrollBar",
        at("bogus") + ": error: <Default name=\"Button\"> has no attribute \"bogus\"",
        at("32px") + ": error: <HorizontalLayout> height=\"32px\" is not a number",
        at("<Contorl") + ": error: unknown element <Contorl>: it is skipped with everything inside it",
        at("FFFBFG") + ": error: <Label> textcolor=\"#00FFFBFG\" is not a colour (#AARRGGBB)",
        at("vscrollbarstyle") + ": warning: <Label> vscrollbarstyle has no effect: it is not a container",
        at("tooltipp") + ": error: <Button> has no attribute \"tooltipp\"",
        at("kefubtn_hot") + ": error: <Button> hotimage: image \"kefubtn_hot.png\" cannot be loaded",
        at("name=\"minbtn\"", 2) + ": warning: name \"minbtn\" is used twice in this window (first at " +
            at("name=\"minbtn\"") + ")",
        at("\"no\"") + ": error: <Button> visible=\"no\" is neither \"true\" nor \"false\"",
        at("missing.xml") + ": error: <Include> source \"missing.xml\" cannot be loaded: Error opening file",
        "loop.xml:2: error: <Include> cycle: loop.xml -> loop.xml",
        at("font=\"2\"") + ": error: font 2 is not defined: the window defines 1 font (-1 is the default font)",
    };
    const TRun run = RunTool(L"--check \"" + dir.Path() + L"\"");
    EXPECT_EQ(run.code, 1u);
    const std::vector<std::string> lines = ProblemLines(run.output);
    for (const std::string& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << "missing: " << line << "\n"
                                                                            << run.output;
    EXPECT_EQ(lines.size(), expected.size()) << run.output;
}

// Rules that need a skin of their own: descriptions and lists that do not
// parse, resources below the root, children of a non-container, repeated and
// nested includes. Warnings alone leave the exit code at 0.
TEST(SkinCheck, DescriptionsListsIncludesAndPlacement)
{
    TempDir dir;
    VarnelTest::WriteFile(dir.File(L"part.xml"), "<Window>\n  <Label name=\"twice\" font=\"0\" />\n</Window>\n");
    VarnelTest::WriteFile(dir.File(L"main.xml"), "<Window>\n"
                                                 "  <Font name=\"Tahoma\" />\n"
                                                 "  <VerticalLayout>\n"
                                                 "    <Include source=\"part.xml\" count=\"2\" />\n"
                                                 "    <Label>\n"
                                                 "      <Control />\n"
                                                 "    </Label>\n"
                                                 "    <Image name=\"x.png\" />\n"
                                                 "  </VerticalLayout>\n"
                                                 "</Window>\n");
    TRun run = RunTool(L"--check \"" + dir.Path() + L"\"");
    EXPECT_EQ(run.code, 0u) << run.output;
    EXPECT_EQ(ProblemLines(run.output),
              (std::vector<std::string>{
                  "part.xml:2: warning: name \"twice\" is used twice in this window (first at part.xml:2)",
                  "main.xml:5: warning: <Label> is not a container: the elements inside it are dropped",
                  "main.xml:8: warning: <Image> inside <VerticalLayout> has no effect: fonts, images and defaults are "
                  "read only as children of the root",
              }));

    VarnelTest::WriteFile(dir.File(L"main.xml"), "<Window>\n"
                                                 "  <VerticalLayout bkimage=\"file='a.png' sorce='0,0,1,1'\">\n"
                                                 "    <Control bkimage=\"file='a.png\" />\n"
                                                 "    <Include source=\"part.xml\" />\n"
                                                 "    <VerticalLayout vscrollbarstyle=\"width=8\" />\n"
                                                 "  </VerticalLayout>\n"
                                                 "</Window>\n");
    run = RunTool(L"--check \"" + dir.Path() + L"\"");
    EXPECT_EQ(run.code, 1u);
    EXPECT_EQ(ProblemLines(run.output),
              (std::vector<std::string>{
                  "main.xml:2: error: <VerticalLayout> bkimage: unknown image key \"sorce\"",
                  "main.xml:2: error: <VerticalLayout> bkimage: image \"a.png\" cannot be loaded",
                  "main.xml:3: error: <Control> bkimage: the image description is not key='value' items separated by "
                  "one space",
                  "main.xml:5: error: <VerticalLayout> vscrollbarstyle: the list is not name=\"value\" pairs separated "
                  "by one space",
                  "part.xml:2: error: font 0 is not defined: the window defines 0 fonts (-1 is the default font)",
              }))
        << run.output;

    // A byte-order mark and CRLF line ends do not shift the lines.
    TempDir other;
    VarnelTest::WriteFile(
        other.File(L"bom.xml"),
        "\xEF\xBB\xBF<Window>\r\n  <VerticalLayout>\r\n    <Lable />\r\n  </VerticalLayout>\r\n</Window>\r\n");
    run = RunTool(L"--check \"" + other.Path() + L"\"");
    EXPECT_EQ(
        ProblemLines(run.output),
        std::vector<std::string>{"bom.xml:3: error: unknown element <Lable>: it is skipped with everything inside it"});
}

// ---- the viewer -------------------------------------------------------------------

namespace {

constexpr COLORREF kBlue = RGB(0x20, 0x60, 0xA0);
constexpr COLORREF kRed = RGB(0xA0, 0x20, 0x20);
// The viewer has 1.5 s to show a rewritten file: polling and a rebuild.
constexpr DWORD kRebuildMs = 1500;

std::string ViewDocument(const char* colour, const char* closingTag = "</VerticalLayout>")
{
    return std::string("<Window size=\"300,200\">\n  <VerticalLayout bkcolor=\"#FF") + colour +
           "\">\n    <Button name=\"okbtn\" text=\"OK\" float=\"true\" pos=\"200,150,290,190\" bkcolor=\"#FFE0E0E0\" "
           "/>\n"
           "  " +
           closingTag + "\n</Window>\n";
}

// The viewer's window on top; a rebuild replaces it with a new one.
HWND ViewerWindow(const TestProcess& viewer)
{
    return viewer.FindTopWindow(L"VarnelSkinView", nullptr, 20000);
}

// No window manager runs under Xvfb. Wine hands activated windows to one and,
// when such a window is hidden, waits two seconds for the manager to answer,
// as every rebuild does with the window it replaces; a test session leaves
// the viewer's windows to wine, as a running window manager would answer.
void LeaveViewerWindowsToWine()
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\varnelSkinView.exe\\X11 Driver", 0,
                                nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t no[] = L"N";
    ::RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no), sizeof(no));
    ::RegCloseKey(key);
}

void Click(POINT pt)
{
    ::SetCursorPos(pt.x, pt.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

} // namespace

TEST(SkinViewer, RebuildsChangedFilesShowsErrorsAndPrintsNotifications)
{
    LeaveViewerWindowsToWine();
    TempDir dir;
    VarnelTest::WriteFile(dir.File(L"view.xml"), ViewDocument("2060A0"));
    TestProcess viewer;
    ASSERT_TRUE(viewer.Start(VarnelTest::BinaryPath(L"varnelSkinView.exe"), L"\"" + dir.Path() + L"\"",
                             TestProcess::OutputMode::Captured));
    const HWND first = ViewerWindow(viewer);
    ASSERT_NE(first, nullptr) << viewer.ReadOutput();
    RECT rc = VarnelTest::WindowRect(first);
    EXPECT_EQ(rc.right - rc.left, 300) << "the document's size";
    const POINT inside = {rc.left + 20, rc.top + 120};
    const POINT button = {rc.left + 245, rc.top + 170};
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(inside) == kBlue; }, 20000)) << std::hex << ScreenPixel(inside);

    VarnelTest::WriteFile(dir.File(L"view.xml"), ViewDocument("A02020"));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(inside) == kRed; }, kRebuildMs))
        << "not rebuilt within 1.5 s: " << std::hex << ScreenPixel(inside);

    // A syntax error: its message shows in the window, over the last good build.
    VarnelTest::WriteFile(dir.File(L"view.xml"), ViewDocument("2060A0", "</VerticalLayot>"));
    const std::wstring message = L"view.xml:4: error: Unmatched closing tag near \"VerticalLayot>\"";
    EXPECT_TRUE(WaitUntil(
        [&] { return VarnelTest::ChildTexts(ViewerWindow(viewer)).find(message) != std::wstring::npos; }, kRebuildMs))
        << Narrow(VarnelTest::ChildTexts(ViewerWindow(viewer))) << "\n"
        << viewer.ReadOutput();
    ::Sleep(300);
    EXPECT_TRUE(viewer.IsRunning());
    EXPECT_EQ(ScreenPixel(inside), kRed);

    VarnelTest::WriteFile(dir.File(L"view.xml"), ViewDocument("2060A0"));
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(inside) == kBlue; }, kRebuildMs));
    EXPECT_EQ(VarnelTest::ChildTexts(ViewerWindow(viewer)).find(L"error"), std::wstring::npos);
    ::Sleep(300); // the replaced window is gone by the viewer's next tick
    Click(button);
    EXPECT_TRUE(WaitUntil([&] {
        return viewer.ReadOutput().find("click sender=okbtn wParam=0 lParam=0") != std::string::npos;
    })) << viewer.ReadOutput();

    ::PostMessageW(ViewerWindow(viewer), WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(viewer.Wait(20000, &code));
    EXPECT_EQ(code, 0u);
}

// ---- pictures and the reference -----------------------------------------------------

TEST(SkinViewer, GalleryPicturesEqualTheCommittedCopies)
{
    const std::wstring shots = VarnelTest::BinaryPath(L"screenshots/gallery");
    ::CreateDirectoryW(VarnelTest::BinaryPath(L"screenshots").c_str(), nullptr);
    ::CreateDirectoryW(shots.c_str(), nullptr);
    std::vector<std::wstring> pages;
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW(SourcePath(L"resources/gallery/?"
                                                    L"?-*.xml")
                                             .c_str(),
                                         &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do pages.emplace_back(found.cFileName);
    while (::FindNextFileW(find, &found));
    ::FindClose(find);

    for (const std::wstring& page : pages) {
        SCOPED_TRACE(Narrow(page));
        const std::wstring name = page.substr(0, page.size() - 4) + L".png";
        const std::wstring shot = shots + L"/" + name;
        const TRun run =
            RunTool(L"\"" + SourcePath(L"resources/gallery") + L"\" " + page + L" --shot \"" + shot + L"\"");
        ASSERT_EQ(run.code, 0u) << run.output;
        SIZE shotSize{}, committedSize{};
        const std::vector<BYTE> pixels = Pixels(shot, shotSize);
        const std::vector<BYTE> committed = Pixels(SourcePath(L"docs/gallery/" + name), committedSize);
        ASSERT_FALSE(committed.empty()) << "no docs/gallery/" << Narrow(name) << "; copy it from " << Narrow(shot);
        ASSERT_EQ(shotSize.cx, committedSize.cx);
        ASSERT_EQ(shotSize.cy, committedSize.cy);
        EXPECT_TRUE(pixels == committed) << Narrow(shot) << " differs from docs/gallery/" << Narrow(name)
                                         << ": copy it there if the change is meant";
    }

    // The same page read from an archive looks the same.
    const std::wstring fromZip = shots + L"/zip-" + pages.front().substr(0, pages.front().size() - 4) + L".png";
    const TRun run = RunTool(L"\"" + VarnelTest::BinaryPath(L"skinview/gallery.zip") + L"\" " + pages.front() +
                             L" --shot \"" + fromZip + L"\"");
    ASSERT_EQ(run.code, 0u) << run.output;
    SIZE zipSize{}, folderSize{};
    EXPECT_TRUE(Pixels(fromZip, zipSize) ==
                Pixels(shots + L"/" + pages.front().substr(0, pages.front().size() - 4) + L".png", folderSize));
}

TEST(SkinViewer, VocabularyReferenceIsUpToDate)
{
    TempDir dir;
    const TRun run = RunTool(L"--vocabulary \"" + dir.File(L"vocabulary.md") + L"\"");
    ASSERT_EQ(run.code, 0u) << run.output;
    const std::string generated = ReadText(dir.File(L"vocabulary.md"));
    EXPECT_NE(generated.find("### Button"), std::string::npos);
    EXPECT_NE(generated.find("| `normalimage` | image description |"), std::string::npos);
    EXPECT_TRUE(generated == ReadText(SourcePath(L"docs/skin-vocabulary.md")))
        << "docs/skin-vocabulary.md is stale: regenerate it with varnelSkinView --vocabulary docs/skin-vocabulary.md";
}

TEST(SkinViewer, BadCommandLinesAndSkinsAreRefused)
{
    EXPECT_EQ(RunTool(L"").code, 2u);
    EXPECT_EQ(RunTool(L"--bogus skin").code, 2u);
    EXPECT_EQ(RunTool(L"--check a b c").code, 2u);
    TempDir dir;
    const TRun missing = RunTool(L"\"" + dir.File(L"nothing-here") + L"\" --shot \"" + dir.File(L"x.png") + L"\"");
    EXPECT_EQ(missing.code, 1u);
    EXPECT_NE(missing.output.find("no such folder or file"), std::string::npos) << missing.output;
    VarnelTest::WriteFile(dir.File(L"bad.xml"), ViewDocument("2060A0", "</VerticalLayot>"));
    const TRun broken = RunTool(L"\"" + dir.Path() + L"\" bad.xml --shot \"" + dir.File(L"x.png") + L"\"");
    EXPECT_EQ(broken.code, 1u);
    EXPECT_NE(broken.output.find("bad.xml:4: error: Unmatched closing tag"), std::string::npos) << broken.output;
    EXPECT_EQ(::GetFileAttributesW(dir.File(L"x.png").c_str()), INVALID_FILE_ATTRIBUTES) << "no picture is left";
}
