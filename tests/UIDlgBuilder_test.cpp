// Building control trees from skin documents: window settings, shared
// resources, default lists, includes, unknown names, plug-ins and callbacks,
// and one skin loaded from a folder, a ZIP file, XML resources and a ZIPRES
// resource (the resources come from UIDlgBuilder_test.rc).

#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"
#include "support/TestProcess.h"

#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIVerticalLayout.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIRender.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace VarnelUI;
using ManagerHarness::CTestWindow;
using VarnelTest::TempDir;
using VarnelTest::WriteFile;

namespace {

const std::wstring kSkinFixtures = std::wstring(VARNEL_BINARY_DIR) + L"/builderfixtures/";

// A bottom-up 24-bit BMP of one colour.
std::string Bmp24(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const int size = 54 + stride * height;
    std::string bmp(static_cast<size_t>(size), '\0');
    auto put = [&bmp](int offset, int value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[static_cast<size_t>(offset + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put(54 + y * stride + x * 3, 0x304050, 3);
    return bmp;
}

std::vector<LONG> Sides(const RECT& rc)
{
    return {rc.left, rc.top, rc.right, rc.bottom};
}

std::wstring Str(const CUIString& s)
{
    return std::wstring(s.GetData(), s.GetLength());
}

IContainerUI* ContainerOf(CControlUI* pControl)
{
    return static_cast<IContainerUI*>(pControl->GetInterface(L"IContainer"));
}

// "Class(name,text,tooltip)[children ...]" for a whole tree.
std::wstring Describe(CControlUI* pControl)
{
    std::wstring s = pControl->GetClass();
    s += L"(" + Str(pControl->GetName()) + L"," + Str(pControl->GetText()) + L"," + Str(pControl->GetToolTip()) + L")";
    IContainerUI* pContainer = ContainerOf(pControl);
    if (pContainer != nullptr && pContainer->GetCount() > 0) {
        s += L"[";
        for (int i = 0; i < pContainer->GetCount(); ++i) s += (i > 0 ? L" " : L"") + Describe(pContainer->GetItemAt(i));
        s += L"]";
    }
    return s;
}

// Names of a container's children, space-separated.
std::wstring ChildNames(IContainerUI& container)
{
    std::wstring s;
    for (int i = 0; i < container.GetCount(); ++i) s += (i > 0 ? L" " : L"") + Str(container.GetItemAt(i)->GetName());
    return s;
}

// A real paint window, hidden: wine waits for the X server after resizing a
// shown window, and the builder resizes it.
class CHiddenWindow : public CTestWindow
{
public:
    CHiddenWindow() { ::ShowWindow(hwnd, SW_HIDE); }
};

// A container that logs the attributes it is given, whether it had a manager
// then, and its destruction.
class CRecorderUI : public CContainerUI
{
public:
    explicit CRecorderUI(std::vector<std::wstring>& log) : m_log(log) {}
    ~CRecorderUI() override { m_log.push_back(L"~" + Str(GetName())); }
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override
    {
        m_log.push_back(std::wstring(pstrName) + L"=" + pstrValue + (GetManager() != nullptr ? L"" : L"!"));
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }

private:
    std::vector<std::wstring>& m_log;
};

class CRecordingCallback : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        asked.push_back(pstrClass);
        if (std::wcscmp(pstrClass, L"Recorder") == 0 || std::wcscmp(pstrClass, L"Shared") == 0)
            return new CRecorderUI(log);
        return nullptr;
    }
    std::vector<std::wstring> asked;
    std::vector<std::wstring> log;
};

// Every test starts and ends with skin files looked up nowhere in particular.
class DialogBuilder : public ::testing::Test
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

TEST_F(DialogBuilder, WindowAttributesReachARealWindowsManager)
{
    CHiddenWindow wnd;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create(L"<Window size=\"686,437\" caption=\"0,0,0,98\" sizebox=\"4,5\" roundcorner=\"3,4\" "
                       L"mininfo=\"200\" maxinfo=\"900,700\" showdirty=\"true\" alpha=\"200\" bktrans=\"true\" "
                       L"shadow=\"true\" shadowimage=\"sh.png\" shadowtopleft=\"0,0,5,6\" shadowtopright=\"10,0,7,8\" "
                       L"shadowbottomleft=\"0,20,9,10\" shadowbottomright=\"30,20,11,12\" "
                       L"defaultfontcolor=\"#FF112233\" disabledfontcolor=\"FF445566\" linkfontcolor=\"#FF0000AA\" "
                       L"linkhoverfontcolor=\"#FF0000BB\" selectedcolor=\"#FF0000CC\" unknown=\"1\">"
                       L"<Container /></Window>",
                       nullptr, nullptr, &wnd.pm));
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ(L"ContainerUI", root->GetClass());

    EXPECT_EQ(686, wnd.pm.GetInitSize().cx);
    EXPECT_EQ(437, wnd.pm.GetInitSize().cy);
    RECT rcWnd;
    ::GetWindowRect(wnd.hwnd, &rcWnd);
    EXPECT_EQ(686, rcWnd.right - rcWnd.left);
    EXPECT_EQ(437, rcWnd.bottom - rcWnd.top);
    EXPECT_EQ((std::vector<LONG>{0, 0, 0, 98}), Sides(wnd.pm.GetCaptionRect()));
    // Short lists stop at the end of the value; the missing numbers are 0.
    EXPECT_EQ((std::vector<LONG>{4, 5, 0, 0}), Sides(wnd.pm.GetSizeBox()));
    EXPECT_EQ(200, wnd.pm.GetMinInfo().cx);
    EXPECT_EQ(0, wnd.pm.GetMinInfo().cy);
    EXPECT_EQ(900, wnd.pm.GetMaxInfo().cx);
    EXPECT_EQ(4, wnd.pm.GetRoundCorner().cy);
    EXPECT_TRUE(wnd.pm.IsShowUpdateRect());
    EXPECT_EQ(200, wnd.pm.GetTransparent());
    EXPECT_TRUE(wnd.pm.IsAlphaBackground());
    EXPECT_TRUE(wnd.pm.HasWindowShadow());
    EXPECT_EQ(0xFF112233u, wnd.pm.GetDefaultFontColor());
    EXPECT_EQ(0xFF445566u, wnd.pm.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF0000AAu, wnd.pm.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFF0000BBu, wnd.pm.GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFF0000CCu, wnd.pm.GetDefaultSelectedBkColor());

    // Corners are x,y,width,height: the destinations follow their sizes.
    CPaintManagerUI::tagTWindowShadowInfo info{};
    wnd.pm.CalRealShadowRect(RECT{0, 0, 100, 80}, info);
    EXPECT_EQ(5, info.rcTopLeft.right);
    EXPECT_EQ(6, info.rcTopLeft.bottom);
    EXPECT_EQ(100 - 7, info.rcTopRight.left);
    EXPECT_EQ(80 - 10, info.rcBottomLeft.top);
}

TEST_F(DialogBuilder, OnlyAWindowRootWithAPaintWindowSetsWindowSettings)
{
    CHiddenWindow wnd;
    CDialogBuilder other;
    std::unique_ptr<CControlUI> root(
        other.Create(L"<Dialog size=\"500,400\"><Control /></Dialog>", nullptr, nullptr, &wnd.pm));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0, wnd.pm.GetInitSize().cx);

    // No window yet: no settings, but the shared resources are registered.
    TempDir dir;
    WriteFile(dir.File(L"a.bmp"), Bmp24(2, 2));
    CPaintManagerUI::SetResourcePath(dir.Path().c_str());
    CPaintManagerUI pm;
    CDialogBuilder builder;
    root.reset(builder.Create(L"<Window size=\"500,400\" defaultfontcolor=\"#FF010203\">"
                              L"<Font name=\"Arial\" size=\"17\" default=\"true\" /><Image name=\"a.bmp\" />"
                              L"<Default name=\"Label\" value=\"text=&quot;x&quot;\" /><Label /></Window>",
                              nullptr, nullptr, &pm));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0, pm.GetInitSize().cx);
    EXPECT_EQ(0xFF000000u, pm.GetDefaultFontColor());
    EXPECT_EQ(1, pm.GetCustomFontCount());
    EXPECT_STREQ(L"Arial", pm.GetDefaultFontInfo()->faceName);
    EXPECT_STREQ(L"text=\"x\"", pm.GetDefaultAttributeList(L"Label"));
    EXPECT_NE(nullptr, pm.GetImage(L"a.bmp"));
    EXPECT_STREQ(L"x", root->GetText());
}

TEST_F(DialogBuilder, FontsAreNumberedAfterEarlierOnesAndOnlyTrueMakesTheDefault)
{
    CPaintManagerUI pm;
    pm.AddFont(L"Times New Roman", 10, false, false, false);
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create(L"<Window><Font name=\"Arial\" bold=\"true\" italic=\"1\" default=\"true\" />"
                       L"<Font name=\"Courier New\" size=\"19\" underline=\"true\" default=\"True\" />"
                       L"<Font size=\"30\" default=\"true\" /><Control /></Window>",
                       nullptr, nullptr, &pm));
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(3, pm.GetCustomFontCount());
    const TFontInfo* pArial = pm.GetFontInfo(1);
    EXPECT_STREQ(L"Arial", pArial->faceName);
    EXPECT_EQ(12, pArial->size);
    EXPECT_TRUE(pArial->bold);
    EXPECT_FALSE(pArial->italic);
    const TFontInfo* pCourier = pm.GetFontInfo(2);
    EXPECT_STREQ(L"Courier New", pCourier->faceName);
    EXPECT_TRUE(pCourier->underline);

    const TFontInfo* pDefault = pm.GetDefaultFontInfo();
    EXPECT_STREQ(L"Arial", pDefault->faceName);
    EXPECT_EQ(12, pDefault->size);
    EXPECT_TRUE(pDefault->bold);
}

TEST_F(DialogBuilder, ImageMasksReadWithOrWithoutTheHash)
{
    TempDir dir;
    const std::string bmp = Bmp24(1, 1);
    WriteFile(dir.File(L"a.bmp"), bmp);
    WriteFile(dir.File(L"b.bmp"), bmp);
    CPaintManagerUI::SetResourcePath(dir.Path().c_str());
    CPaintManagerUI pm;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(L"<Window><Image name=\"a.bmp\" mask=\"#FFFF00FF\" />"
                                                    L"<Image name=\"b.bmp\" mask=\"FFFF00FF\" /><Image mask=\"1\" />"
                                                    L"<Control /></Window>",
                                                    nullptr, nullptr, &pm));
    ASSERT_NE(nullptr, root);
    const TImageInfo* pA = pm.GetImage(L"a.bmp");
    const TImageInfo* pB = pm.GetImage(L"b.bmp");
    ASSERT_NE(nullptr, pA);
    ASSERT_NE(nullptr, pB);
    EXPECT_EQ(0xFFFF00FFu, pA->mask);
    EXPECT_EQ(pA->mask, pB->mask);
    EXPECT_EQ(1, pA->width);
}

TEST_F(DialogBuilder, DefaultListGoesFirstWithTheManagerLentForAttributesOnly)
{
    CPaintManagerUI pm;
    CRecordingCallback callback;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create(L"<Window><Default name=\"Recorder\" value=\"text=&quot;dflt&quot; tooltip=&quot;tip&quot;\" />"
                       L"<Default name=\"Recorder\" value=\"text=&quot;second&quot;\" /><Default name=\"button\" "
                       L"value=\"text=&quot;no&quot;\" />"
                       L"<Recorder name=\"r\" text=\"own\" userdata=\"u\"><Button name=\"b\" /><Label name=\"l\" "
                       L"/></Recorder></Window>",
                       nullptr, &callback, &pm));
    ASSERT_NE(nullptr, root);
    // The first registration wins; the own attributes come after the defaults.
    EXPECT_EQ((std::vector<std::wstring>{L"text=dflt", L"tooltip=tip", L"name=r", L"text=own", L"userdata=u"}),
              callback.log);
    EXPECT_STREQ(L"own", root->GetText());
    EXPECT_STREQ(L"tip", root->GetToolTip());
    EXPECT_EQ(nullptr, root->GetManager());
    IContainerUI* pContainer = ContainerOf(root.get());
    ASSERT_EQ(2, pContainer->GetCount());
    EXPECT_STREQ(L"", pContainer->GetItemAt(0)->GetText()); // "button" is not "Button"
    EXPECT_EQ(nullptr, pContainer->GetItemAt(0)->GetManager());
}

TEST_F(DialogBuilder, IncludesAddTheirControlsInPlaceCountTimes)
{
    TempDir dir;
    WriteFile(dir.File(L"two.xml"),
              "<Include><Font name=\"Arial\" /><Button name=\"b1\" /><Button name=\"b2\" /></Include>");
    CPaintManagerUI::SetResourcePath(dir.Path().c_str());
    CPaintManagerUI pm;
    CVerticalLayoutUI parent;
    CDialogBuilder builder;
    CControlUI* pFirst = builder.Create(
        L"<Window><Include source=\"two.xml\" count=\"3\" /><Label name=\"first\" /><Include count=\"2\" />"
        L"<Include source=\"missing.xml\" /><Include /><Include source=\"two.xml\" count=\"0\" />"
        L"<Include source=\"&lt;X&gt;&lt;Label name=&quot;inline&quot; /&gt;&lt;/X&gt;\" />"
        L"<Include source=\"two.xml\" /></Window>",
        nullptr, nullptr, &pm, &parent);
    ASSERT_NE(nullptr, pFirst);
    EXPECT_STREQ(L"first", pFirst->GetName());
    EXPECT_EQ(L"b1 b2 b1 b2 b1 b2 first inline b1 b2", ChildNames(parent));
    EXPECT_STREQ(L"ButtonUI", parent.GetItemAt(5)->GetClass());
    EXPECT_EQ(4, pm.GetCustomFontCount()); // the included documents' fonts too

    // Nothing from an include counts as the level's result.
    CVerticalLayoutUI other;
    CDialogBuilder onlyIncludes;
    EXPECT_EQ(nullptr, onlyIncludes.Create(L"<Window><Include source=\"two.xml\" /></Window>", nullptr, nullptr,
                                           nullptr, &other));
    EXPECT_EQ(2, other.GetCount());
}

TEST_F(DialogBuilder, IncludeChainsThatComeBackStopAtTheLimits)
{
    TempDir dir;
    WriteFile(dir.File(L"self.xml"), "<Include><Button name=\"self\" /><Include source=\"self.xml\" /></Include>");
    WriteFile(dir.File(L"a.xml"), "<Include><Button name=\"a\" /><Include source=\"b.xml\" /></Include>");
    WriteFile(dir.File(L"b.xml"), "<Include><Button name=\"b\" /><Include source=\"a.xml\" /></Include>");
    WriteFile(dir.File(L"fan.xml"), "<Include><Button /><Include source=\"fan.xml\" count=\"2\" /></Include>");
    CPaintManagerUI::SetResourcePath(dir.Path().c_str());

    CVerticalLayoutUI self;
    CDialogBuilder selfBuilder;
    EXPECT_NE(nullptr, selfBuilder.Create(L"self.xml", nullptr, nullptr, nullptr, &self));
    EXPECT_EQ(1 + CDialogBuilder::kMaxIncludeDepth, self.GetCount());

    CVerticalLayoutUI cycle;
    CDialogBuilder cycleBuilder;
    EXPECT_NE(nullptr, cycleBuilder.Create(L"a.xml", nullptr, nullptr, nullptr, &cycle));
    ASSERT_EQ(1 + CDialogBuilder::kMaxIncludeDepth, cycle.GetCount());
    EXPECT_STREQ(L"b", cycle.GetItemAt(1)->GetName());

    // Doubling at every level would never end within the depth limit alone.
    CVerticalLayoutUI fan;
    CDialogBuilder fanBuilder;
    EXPECT_NE(nullptr, fanBuilder.Create(L"fan.xml", nullptr, nullptr, nullptr, &fan));
    EXPECT_EQ(1 + CDialogBuilder::kMaxIncludedDocuments, fan.GetCount());
}

TEST_F(DialogBuilder, IncludesAddUpToTheControlLimitOfOneBuild)
{
    // 61 labels per included document and 4,096 includes would make almost
    // 250,000 controls; the build stops at the limit, its own layout included.
    std::wstring labels;
    for (int i = 0; i < 61; ++i) labels += L"&lt;Label/&gt;";
    const std::wstring xml = L"<Window><VerticalLayout><Include count=\"" +
                             std::to_wstring(CDialogBuilder::kMaxIncludedDocuments) + L"\" source=\"&lt;x&gt;" +
                             labels + L"&lt;/x&gt;\"/></VerticalLayout></Window>";
    CDialogBuilder builder;
    const std::unique_ptr<CControlUI> pRoot(builder.Create(xml.c_str()));
    ASSERT_NE(nullptr, pRoot);
    EXPECT_EQ(CDialogBuilder::kMaxControls - 1, static_cast<CContainerUI*>(pRoot.get())->GetCount());
}

TEST_F(DialogBuilder, UnknownNamesAreSkippedWithTheirWholeSubtree)
{
    CRecordingCallback callback;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create(L"<Window><VerticalLayout name=\"v\"><Mystery name=\"m\"><Button name=\"hidden\" /></Mystery>"
                       L"<button name=\"lower\" /><Treenode /><Button name=\"shown\" />"
                       L"<Recorder name=\"rec\"><Label name=\"inner\" /><Other /></Recorder></VerticalLayout></Window>",
                       nullptr, &callback));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(L"VerticalLayoutUI(v,,)[ButtonUI(shown,,) ContainerUI(rec,,)[LabelUI(inner,,)]]", Describe(root.get()));
    EXPECT_EQ((std::vector<std::wstring>{L"Mystery", L"button", L"Treenode", L"Recorder", L"Other"}), callback.asked);
}

TEST_F(DialogBuilder, ParentsThatTakeNoChildEndTheLevelAndRefusedChildrenAreDeleted)
{
    CRecordingCallback callback;
    CControlUI plain;
    CDialogBuilder builder;
    EXPECT_EQ(nullptr, builder.Create(L"<X><Recorder name=\"r1\" /><Recorder name=\"r2\" /></X>", nullptr, &callback,
                                      nullptr, &plain));
    // Deleted before its attributes; the level ends there.
    EXPECT_EQ((std::vector<std::wstring>{L"~"}), callback.log);
    EXPECT_EQ(1u, callback.asked.size());

    struct CRefusingUI : CContainerUI
    {
        bool Add(CControlUI*) override { return false; }
    } refusing;
    callback.log.clear();
    CDialogBuilder refused;
    EXPECT_EQ(nullptr, refused.Create(L"<X><Recorder name=\"r3\" /><Recorder name=\"r4\" /></X>", nullptr, &callback,
                                      nullptr, &refusing));
    EXPECT_EQ((std::vector<std::wstring>{L"~", L"~"}), callback.log); // deleted before their attributes
}

TEST_F(DialogBuilder, LoadFailuresReturnNullWithTheMessage)
{
    CDialogBuilder broken;
    EXPECT_EQ(nullptr, broken.Create(L"<Window><a></b></Window>"));
    wchar_t message[100] = {};
    wchar_t location[50] = {};
    broken.GetLastErrorMessage(message, 100);
    broken.GetLastErrorLocation(location, 50);
    EXPECT_STREQ(L"Unmatched closing tag", message);
    EXPECT_NE(L'\0', location[0]);

    TempDir dir;
    CPaintManagerUI::SetResourcePath(dir.Path().c_str());
    CDialogBuilder missing;
    EXPECT_EQ(nullptr, missing.Create(L"nothere.xml"));
    missing.GetLastErrorMessage(message, 100);
    EXPECT_STREQ(L"Error opening file", message);

    CDialogBuilder noResource;
    EXPECT_EQ(nullptr, noResource.Create(999, L"XML"));
    noResource.GetLastErrorMessage(message, 100);
    EXPECT_STREQ(L"Error opening resource", message);
    CDialogBuilder noType;
    EXPECT_EQ(nullptr, noType.Create(201, nullptr));

    CDialogBuilder empty;
    EXPECT_EQ(nullptr, empty.Create(L"<!-- nothing -->"));
}

} // namespace

// This executable is its own control plug-in.
extern "C" __declspec(dllexport) CControlUI* CreateControl(LPCWSTR pstrType)
{
    if (std::wcscmp(pstrType, L"Shared") == 0 || std::wcscmp(pstrType, L"Button") == 0) {
        auto* pControl = new CControlUI;
        pControl->SetUserData(L"plugin");
        return pControl;
    }
    return nullptr;
}

namespace {

TEST_F(DialogBuilder, PluginsComeAfterTheClassTableAndBeforeTheCallback)
{
    const size_t nBefore = CPaintManagerUI::GetPlugins().size();
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(nullptr));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no-such-plugin.dll"));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll")); // no "CreateControl"
    EXPECT_EQ(nBefore, CPaintManagerUI::GetPlugins().size());

    wchar_t szExe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szExe, MAX_PATH);
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin(szExe));
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin(szExe));
    EXPECT_EQ(nBefore + 1, CPaintManagerUI::GetPlugins().size());

    CRecordingCallback callback;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(
        L"<Window><Container><Shared /><Button /><Recorder /></Container></Window>", nullptr, &callback));
    ASSERT_NE(nullptr, root);
    IContainerUI* pContainer = ContainerOf(root.get());
    ASSERT_EQ(3, pContainer->GetCount());
    EXPECT_STREQ(L"plugin", pContainer->GetItemAt(0)->GetUserData());
    EXPECT_STREQ(L"ButtonUI", pContainer->GetItemAt(1)->GetClass());
    EXPECT_EQ((std::vector<std::wstring>{L"Recorder"}), callback.asked);
}

// ---- one skin, four origins --------------------------------------------------

const wchar_t kSkinTree[] =
    L"VerticalLayoutUI(root,,)[LabelUI(title,启动器 & 游戏,) ButtonUI(inc,包含,默认) LabelUI(incl,,) "
    L"ButtonUI(inc,包含,默认) LabelUI(incl,,) HorizontalLayoutUI(bar,,)[ButtonUI(ok,OK,默认) ControlUI(gap,,)]]";

void ExpectSkin(CHiddenWindow& wnd, CControlUI* pRoot)
{
    ASSERT_NE(nullptr, pRoot);
    std::unique_ptr<CControlUI> root(pRoot);
    EXPECT_EQ(kSkinTree, Describe(pRoot));
    EXPECT_EQ(320, wnd.pm.GetInitSize().cx);
    EXPECT_EQ(24, wnd.pm.GetCaptionRect().bottom);
    EXPECT_EQ(3, wnd.pm.GetCustomFontCount());
    EXPECT_STREQ(L"Tahoma", wnd.pm.GetDefaultFontInfo()->faceName);
    const TImageInfo* pImage = wnd.pm.GetImage(L"dot.bmp");
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(3, pImage->width);
    EXPECT_EQ(0xFFFF00FFu, pImage->mask);
}

TEST_F(DialogBuilder, OneSkinFromAFolder)
{
    CPaintManagerUI::SetResourcePath((kSkinFixtures + L"skin").c_str());
    CHiddenWindow wnd;
    CDialogBuilder builder;
    ExpectSkin(wnd, builder.Create(L"skin.xml", nullptr, nullptr, &wnd.pm));
}

TEST_F(DialogBuilder, OneSkinFromAZipFile)
{
    CPaintManagerUI::SetResourcePath(kSkinFixtures.c_str());
    CPaintManagerUI::SetResourceZip(L"builder.zip");
    CHiddenWindow wnd;
    CDialogBuilder builder;
    ExpectSkin(wnd, builder.Create(L"skin.xml", nullptr, nullptr, &wnd.pm));
}

TEST_F(DialogBuilder, OneSkinFromXmlResourcesIncludingByResourceId)
{
    // The folder holds only the image, so "105" can only be the resource.
    TempDir dir;
    ASSERT_TRUE(VarnelTest::CopyTo(kSkinFixtures + L"skin/dot.bmp", dir.File(L"dot.bmp")));
    CPaintManagerUI::SetResourcePath(dir.Path().c_str());
    CHiddenWindow wnd;
    CDialogBuilder builder;
    ExpectSkin(wnd, builder.Create(201, L"XML", nullptr, &wnd.pm));
}

TEST_F(DialogBuilder, OneSkinFromAZipResource)
{
    const HMODULE hModule = ::GetModuleHandleW(nullptr);
    const HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(202), L"ZIPRES");
    ASSERT_NE(nullptr, hResource);
    LPVOID pZip = ::LockResource(::LoadResource(hModule, hResource));
    CPaintManagerUI::SetResourceZip(pZip, ::SizeofResource(hModule, hResource));
    CHiddenWindow wnd;
    CDialogBuilder builder;
    ExpectSkin(wnd, builder.Create(L"skin.xml", nullptr, nullptr, &wnd.pm));
}

} // namespace

TEST(DialogBuilderVocabulary, BuilderElementsListTheAttributesTheyRead)
{
    const auto names = [](LPCWSTR element) {
        std::wstring joined;
        for (const AttrParse::TAttributeInfo& attribute : CDialogBuilder::GetElementAttributes(element))
            joined += std::wstring(attribute.name) + L" ";
        return joined;
    };
    EXPECT_EQ(names(L"Image"), L"name restype mask ");
    EXPECT_EQ(names(L"Font"), L"name size bold underline italic default ");
    EXPECT_EQ(names(L"Default"), L"name value ");
    EXPECT_EQ(names(L"Include"), L"count source ");
    EXPECT_EQ(CDialogBuilder::GetElementAttributes(L"Window").size(), CDialogBuilder::GetWindowAttributes().size());
    EXPECT_TRUE(CDialogBuilder::GetElementAttributes(L"Button").empty()) << "controls answer through the registry";
    EXPECT_TRUE(CDialogBuilder::GetElementAttributes(nullptr).empty());
}
