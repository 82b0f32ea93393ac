// What the controls of a window share through its paint manager: fonts by
// index and description, default attribute lists, option groups, default
// colours, borrowing all of them from a parent manager, and control plug-ins.

#include "support/ManagerHarness.h"

#include <gtest/gtest.h>

#include <memory>

using namespace VarnelUI;
using namespace ManagerHarness;

// Lets the test program itself serve as a control plug-in library.
extern "C" __declspec(dllexport) CControlUI* CreateControl(LPCWSTR pstrType)
{
    return std::wcscmp(pstrType, L"PluginProbe") == 0 ? new CProbeUI("plugged", {}) : nullptr;
}

namespace {

LOGFONTW FontOf(HFONT hFont)
{
    LOGFONTW lf = {};
    ::GetObjectW(hFont, sizeof(lf), &lf);
    return lf;
}

HBITMAP MakeBitmap()
{
    return ::CreateBitmap(2, 2, 1, 32, nullptr);
}

// ---- fonts --------------------------------------------------------------------------

TEST(ManagerFonts, CreatedFromTheGuiFontWithTheRequestedLook)
{
    CPaintManagerUI pm;
    const LOGFONTW gui = FontOf(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    const HFONT hFont = pm.AddFont(L"Tahoma", 17, true, true, false);
    ASSERT_NE(nullptr, hFont);
    const LOGFONTW lf = FontOf(hFont);
    EXPECT_EQ(-17, lf.lfHeight);
    EXPECT_EQ(gui.lfWeight + FW_BOLD, lf.lfWeight) << "bold adds to the GUI font's weight";
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
    EXPECT_STREQ(L"Tahoma", lf.lfFaceName);

    // A face name longer than the platform holds is cut, not overrun.
    const HFONT hLong = pm.AddFont(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnop", 12, false, false, false);
    ASSERT_NE(nullptr, hLong);
    EXPECT_EQ(static_cast<size_t>(LF_FACESIZE - 1), std::wcslen(FontOf(hLong).lfFaceName));

    // The default font at construction is the GUI font itself.
    const TFontInfo* pDefault = pm.GetDefaultFontInfo();
    EXPECT_TRUE(pDefault->faceName == gui.lfFaceName);
    EXPECT_EQ(-gui.lfHeight, pDefault->size);
    EXPECT_NE(static_cast<HGDIOBJ>(pDefault->hFont), ::GetStockObject(DEFAULT_GUI_FONT)) << "the manager owns a copy";
}

TEST(ManagerFonts, IndicesOutsideTheTableGiveTheDefaultFontAndRemovalRenumbers)
{
    CPaintManagerUI pm;
    const HFONT f0 = pm.AddFont(L"Arial", 12, false, false, false);
    const HFONT f1 = pm.AddFont(L"Arial", 14, false, false, false);
    const HFONT f2 = pm.AddFont(L"Arial", 16, false, false, false);
    ASSERT_TRUE(f0 && f1 && f2);
    ASSERT_EQ(3, pm.GetCustomFontCount());
    const HFONT hDefault = pm.GetDefaultFontInfo()->hFont;

    EXPECT_EQ(f1, pm.GetFont(1));
    EXPECT_EQ(hDefault, pm.GetFont(-1));
    EXPECT_EQ(hDefault, pm.GetFont(3));
    EXPECT_EQ(pm.GetDefaultFontInfo(), pm.GetFontInfo(-1));
    EXPECT_EQ(pm.GetDefaultFontInfo(), pm.GetFontInfo(3));
    EXPECT_EQ(14, pm.GetFontInfo(1)->size);

    EXPECT_TRUE(pm.RemoveFontAt(0));
    EXPECT_EQ(f1, pm.GetFont(0)) << "later fonts move down";
    EXPECT_EQ(1, pm.GetFontIndex(f2));
    EXPECT_EQ(-1, pm.GetFontIndex(f0));
    EXPECT_FALSE(pm.RemoveFontAt(2));
    EXPECT_FALSE(pm.RemoveFontAt(-1));
    EXPECT_FALSE(pm.RemoveFont(f0)) << "already gone";
    EXPECT_FALSE(pm.RemoveFont(nullptr));

    // Inserting moves the fonts from the index up; past the end is refused.
    const HFONT fIns = pm.AddFontAt(1, L"Arial", 20, false, false, false);
    ASSERT_NE(nullptr, fIns);
    EXPECT_EQ(f1, pm.GetFont(0));
    EXPECT_EQ(fIns, pm.GetFont(1));
    EXPECT_EQ(f2, pm.GetFont(2));
    EXPECT_EQ(nullptr, pm.AddFontAt(9, L"Arial", 20, false, false, false));
    EXPECT_EQ(3, pm.GetCustomFontCount());

    EXPECT_TRUE(pm.RemoveFont(fIns));
    EXPECT_EQ(f2, pm.GetFont(1));
    pm.RemoveAllFonts();
    EXPECT_EQ(0, pm.GetCustomFontCount());
    EXPECT_EQ(hDefault, pm.GetFont(0));
}

TEST(ManagerFonts, LookupByDescriptionMatchesEveryField)
{
    CPaintManagerUI pm;
    const HFONT hPlain = pm.AddFont(L"Arial", 12, false, false, false);
    const HFONT hBold = pm.AddFont(L"Arial", 12, true, false, false);
    pm.AddFont(L"Arial", 12, true, false, false); // a twin: the first one answers

    EXPECT_EQ(hPlain, pm.GetFont(L"Arial", 12, false, false, false));
    EXPECT_EQ(hBold, pm.GetFont(L"Arial", 12, true, false, false));
    EXPECT_EQ(1, pm.GetFontIndex(L"Arial", 12, true, false, false));
    EXPECT_EQ(nullptr, pm.GetFont(L"arial", 12, false, false, false)) << "face names compare exactly";
    EXPECT_EQ(nullptr, pm.GetFont(L"Arial", 13, false, false, false));
    EXPECT_EQ(nullptr, pm.GetFont(L"Arial", 12, false, true, false));
    EXPECT_EQ(nullptr, pm.GetFont(L"Arial", 12, false, false, true));
    EXPECT_EQ(-1, pm.GetFontIndex(nullptr, 12, false, false, false));
    EXPECT_TRUE(pm.FindFont(L"Arial", 12, true, false, false));
    EXPECT_FALSE(pm.FindFont(L"Arial", 30, true, false, false));
    EXPECT_TRUE(pm.FindFont(hBold));
    EXPECT_FALSE(pm.FindFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));

    EXPECT_EQ(hBold, pm.GetFontInfo(hBold)->hFont);
    EXPECT_EQ(pm.GetDefaultFontInfo(), pm.GetFontInfo(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT))))
        << "an unknown handle gives the default font";
}

TEST(ManagerFonts, MetricsComeFromThePaintDcOnFirstUse)
{
    CPaintManagerUI pm;
    pm.AddFont(L"Arial", 24, false, false, false);
    EXPECT_EQ(0, pm.GetFontInfo(0)->tm.tmHeight) << "no window, no metrics";

    CTestWindow wnd;
    const HFONT hFont = wnd.pm.AddFont(L"Arial", 24, false, false, false);
    const TFontInfo* pInfo = wnd.pm.GetFontInfo(hFont);
    EXPECT_NEAR(24, pInfo->tm.tmHeight - pInfo->tm.tmInternalLeading, 1);

    // A new default font replaces the old handle and is measured at once.
    const HFONT hDefault = wnd.pm.GetDefaultFontInfo()->hFont;
    wnd.pm.SetDefaultFont(L"Arial", 30, false, false, false);
    EXPECT_NE(hDefault, wnd.pm.GetDefaultFontInfo()->hFont);
    EXPECT_EQ(30, wnd.pm.GetDefaultFontInfo()->size);
    EXPECT_GT(wnd.pm.GetDefaultFontInfo()->tm.tmHeight, 0);
}

// ---- default attribute lists and option groups ------------------------------------

TEST(ManagerDefaults, FirstAttributeListForAClassWins)
{
    CPaintManagerUI pm;
    EXPECT_EQ(nullptr, pm.GetDefaultAttributeList(L"Button"));
    pm.AddDefaultAttributeList(L"Button", L"width=\"10\"");
    pm.AddDefaultAttributeList(L"Button", L"width=\"99\"");
    pm.AddDefaultAttributeList(L"Label", nullptr);
    EXPECT_STREQ(L"width=\"10\"", pm.GetDefaultAttributeList(L"Button"));
    EXPECT_EQ(nullptr, pm.GetDefaultAttributeList(L"button")) << "class names compare exactly";
    ASSERT_NE(nullptr, pm.GetDefaultAttributeList(L"Label"));
    EXPECT_STREQ(L"", pm.GetDefaultAttributeList(L"Label"));
    EXPECT_EQ(2, pm.GetDefaultAttribultes().GetSize());

    EXPECT_TRUE(pm.RemoveDefaultAttributeList(L"Button"));
    EXPECT_FALSE(pm.RemoveDefaultAttributeList(L"Button"));
    EXPECT_FALSE(pm.RemoveDefaultAttributeList(nullptr));
    pm.AddDefaultAttributeList(L"Button", L"height=\"5\"");
    EXPECT_STREQ(L"height=\"5\"", pm.GetDefaultAttributeList(L"Button")) << "a removed class may be set anew";
    pm.RemoveAllDefaultAttributeList();
    EXPECT_EQ(0, pm.GetDefaultAttribultes().GetSize());
    EXPECT_EQ(nullptr, pm.GetDefaultAttributeList(L"Label"));
}

TEST(ManagerDefaults, OptionGroupsHoldEachControlOnceAndVanishWhenEmpty)
{
    CPaintManagerUI pm;
    CProbeUI a("a", {}), b("b", {});
    EXPECT_EQ(nullptr, pm.GetOptionGroup(L"g"));
    EXPECT_TRUE(pm.AddOptionGroup(L"g", &a));
    EXPECT_TRUE(pm.AddOptionGroup(L"g", &b));
    EXPECT_FALSE(pm.AddOptionGroup(L"g", &a)) << "already a member";
    EXPECT_TRUE(pm.AddOptionGroup(L"h", &a)) << "a control may be in several groups";
    CStdPtrArray* pGroup = pm.GetOptionGroup(L"g");
    ASSERT_NE(nullptr, pGroup);
    ASSERT_EQ(2, pGroup->GetSize());
    EXPECT_EQ(&a, (*pGroup)[0]);
    EXPECT_EQ(&b, (*pGroup)[1]);

    pm.RemoveOptionGroup(L"g", &a);
    ASSERT_EQ(1, pm.GetOptionGroup(L"g")->GetSize());
    EXPECT_EQ(&b, (*pm.GetOptionGroup(L"g"))[0]);
    pm.RemoveOptionGroup(L"g", &a); // not a member any more: nothing happens
    pm.RemoveOptionGroup(L"nope", &a);
    EXPECT_EQ(1, pm.GetOptionGroup(L"g")->GetSize());
    pm.RemoveOptionGroup(L"g", &b);
    EXPECT_EQ(nullptr, pm.GetOptionGroup(L"g"));

    pm.RemoveAllOptionGroups();
    EXPECT_EQ(nullptr, pm.GetOptionGroup(L"h"));
    EXPECT_TRUE(pm.AddOptionGroup(L"h", &b));
}

// ---- borrowing from a parent manager ----------------------------------------------

TEST(ManagerParent, DropDownBorrowsFontsImagesListsAndColours)
{
    CPaintManagerUI owner, dropDown;
    EXPECT_EQ(0xFFA7A6AAu, dropDown.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF000000u, dropDown.GetDefaultFontColor());
    EXPECT_EQ(0xFF0000FFu, dropDown.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFD3215Fu, dropDown.GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFFBAE4FFu, dropDown.GetDefaultSelectedBkColor());

    const HFONT hOwnerFont = owner.AddFont(L"Arial", 15, false, false, false);
    owner.SetDefaultFont(L"Tahoma", 13, false, false, false);
    owner.SetDefaultFontColor(0xFF112233);
    owner.SetDefaultDisabledColor(0xFF445566);
    owner.SetDefaultLinkFontColor(0xFF010203);
    owner.SetDefaultLinkHoverFontColor(0xFF040506);
    owner.SetDefaultSelectedBkColor(0xFF070809);
    owner.AddDefaultAttributeList(L"Button", L"owner");
    TImageInfo* pOwnerImage = owner.AddImage(L"strip", MakeBitmap(), 2, 2, false);
    ASSERT_NE(nullptr, pOwnerImage);
    dropDown.AddDefaultAttributeList(L"Label", L"own");
    dropDown.SetDefaultFontColor(0xFFABCDEF);

    ASSERT_TRUE(dropDown.UseParentResource(&owner));
    EXPECT_EQ(&owner, dropDown.GetParentResource());

    EXPECT_EQ(hOwnerFont, dropDown.GetFont(L"Arial", 15, false, false, false));
    EXPECT_TRUE(dropDown.FindFont(L"Arial", 15, false, false, false));
    EXPECT_TRUE(dropDown.FindFont(hOwnerFont));
    EXPECT_EQ(-1, dropDown.GetFontIndex(hOwnerFont)) << "indices are the own table's";
    EXPECT_EQ(owner.GetFontInfo(0), dropDown.GetFontInfo(hOwnerFont));
    EXPECT_EQ(owner.GetDefaultFontInfo(), dropDown.GetDefaultFontInfo());
    EXPECT_EQ(owner.GetDefaultFontInfo()->hFont, dropDown.GetFont(0)) << "no own fonts: the owner's default";

    EXPECT_EQ(pOwnerImage, dropDown.GetImage(L"strip"));
    EXPECT_EQ(nullptr, dropDown.GetImageEx(L"strip")) << "loading on a miss stays with the own cache";
    EXPECT_FALSE(dropDown.RemoveImage(L"strip")) << "borrowed images are not the borrower's to free";

    EXPECT_STREQ(L"owner", dropDown.GetDefaultAttributeList(L"Button"));
    EXPECT_STREQ(L"own", dropDown.GetDefaultAttributeList(L"Label"));
    EXPECT_EQ(nullptr, owner.GetDefaultAttributeList(L"Label"));
    dropDown.AddDefaultAttributeList(L"Button", L"mine");
    EXPECT_STREQ(L"mine", dropDown.GetDefaultAttributeList(L"Button")) << "an own list comes first";

    dropDown.SetDefaultLinkFontColor(0xFFFFFFFF);
    EXPECT_EQ(0xFF112233u, dropDown.GetDefaultFontColor()) << "the owner's colours win over own settings";
    EXPECT_EQ(0xFF445566u, dropDown.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF010203u, dropDown.GetDefaultLinkFontColor());
    EXPECT_EQ(0xFF040506u, dropDown.GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFF070809u, dropDown.GetDefaultSelectedBkColor());

    EXPECT_TRUE(dropDown.UseParentResource(nullptr));
    EXPECT_EQ(0xFFABCDEFu, dropDown.GetDefaultFontColor()) << "detached: own values again";
    EXPECT_EQ(0xFFFFFFFFu, dropDown.GetDefaultLinkFontColor());
    EXPECT_EQ(nullptr, dropDown.GetImage(L"strip"));
    EXPECT_EQ(nullptr, dropDown.GetFont(L"Arial", 15, false, false, false));
    EXPECT_NE(owner.GetDefaultFontInfo(), dropDown.GetDefaultFontInfo());
}

TEST(ManagerParent, ChainsAreFollowedAndCyclesRefused)
{
    CPaintManagerUI top, middle, bottom;
    top.AddDefaultAttributeList(L"Edit", L"top");
    top.SetDefaultSelectedBkColor(0xFF00AA00);
    ASSERT_TRUE(middle.UseParentResource(&top));
    ASSERT_TRUE(bottom.UseParentResource(&middle));
    EXPECT_STREQ(L"top", bottom.GetDefaultAttributeList(L"Edit"));
    EXPECT_EQ(0xFF00AA00u, bottom.GetDefaultSelectedBkColor());

    EXPECT_FALSE(top.UseParentResource(&bottom));
    EXPECT_FALSE(top.UseParentResource(&top));
    EXPECT_EQ(nullptr, top.GetParentResource()) << "a refused parent leaves the old one";
    EXPECT_FALSE(middle.UseParentResource(&bottom));
    EXPECT_EQ(&top, middle.GetParentResource());
}

TEST(ManagerParent, ABorrowerOutlivingItsParentFallsBackToItsOwn)
{
    CTestWindow child;
    child.pm.SetDefaultFontColor(0xFF123456);
    {
        CTestWindow owner;
        owner.pm.SetDefaultFontColor(0xFF654321);
        ASSERT_TRUE(child.pm.UseParentResource(&owner.pm));
        EXPECT_EQ(0xFF654321u, child.pm.GetDefaultFontColor());
    }
    EXPECT_EQ(nullptr, child.pm.GetParentResource());
    EXPECT_EQ(0xFF123456u, child.pm.GetDefaultFontColor());
}

// ---- images by resource id, process-wide settings ---------------------------------

TEST(ManagerImages, ATypedNameThatIsNoIdLoadsNothing)
{
    CPaintManagerUI pm;
    EXPECT_EQ(nullptr, pm.AddImage(L"abc", L"PNG"));
    EXPECT_EQ(nullptr, pm.GetImageEx(L"abc", L"PNG"));
    EXPECT_EQ(nullptr, pm.GetImage(L"abc")) << "nothing is cached for it";
    EXPECT_EQ(nullptr, pm.AddImage(L"4711", L"PNG")) << "no such resource";
}

TEST(ManagerStatics, PluginsAreLoadedOnceAndMakeTheirControls)
{
    const size_t before = CPaintManagerUI::GetPlugins().size();
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(nullptr));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no-such-plugin-library.dll"));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"version.dll")) << "a library without the export";
    EXPECT_EQ(before, CPaintManagerUI::GetPlugins().size());

    wchar_t szSelf[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, szSelf, MAX_PATH), 0u);
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin(szSelf));
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin(szSelf));
    ASSERT_EQ(before + 1, CPaintManagerUI::GetPlugins().size()) << "registered once";

    const LPCREATECONTROL create = CPaintManagerUI::GetPlugins().back();
    EXPECT_EQ(nullptr, create(L"Button"));
    std::unique_ptr<CControlUI> pControl(create(L"PluginProbe"));
    ASSERT_NE(nullptr, pControl);
    EXPECT_TRUE(pControl->GetName() == L"plugged");
}

TEST(ManagerStatics, OpacityIsClampedWithoutAWindowAndHueChangesRepaintEveryWindow)
{
    CPaintManagerUI pm;
    pm.SetTransparent(-20);
    EXPECT_EQ(0, pm.GetTransparent());
    pm.SetTransparent(1000);
    EXPECT_EQ(255, pm.GetTransparent());

    CTestWindow wnd;
    CProbeUI* pRoot = new CProbeUI("root", {});
    ASSERT_TRUE(wnd.pm.AttachDialog(pRoot));
    pRoot->SetPos({0, 0, 300, 200});
    ::ValidateRect(wnd.hwnd, nullptr);
    short h = 0, s = 0, l = 0;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    CPaintManagerUI::SetHSL(true, h, s, l);
    EXPECT_FALSE(::GetUpdateRect(wnd.hwnd, nullptr, FALSE)) << "unchanged values change nothing";
    CPaintManagerUI::SetHSL(true, static_cast<short>(h + 1), s, l);
    EXPECT_TRUE(::GetUpdateRect(wnd.hwnd, nullptr, FALSE));
    CPaintManagerUI::SetHSL(true, h, s, l);
}

} // namespace
