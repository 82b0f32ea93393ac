// The launch configuration document: which elements count and how values parse.
#include "app/LaunchSettings.h"
#include "app/Trailer.h"
#include "varnelui/core/UIManager.h"

#include <gtest/gtest.h>

using VarnelUI::CMarkup;

namespace {

LaunchSettings Parse(LPCWSTR document)
{
    CMarkup markup;
    EXPECT_TRUE(markup.Load(document));
    LaunchSettings settings;
    EXPECT_TRUE(ParseLaunchSettings(markup, settings));
    return settings;
}

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

} // namespace

TEST(LaunchSettings, ShippedValuesParse)
{
    const LaunchSettings s =
        Parse(L"<Launch><loginFrameSize value=\"1176,731\"/><loginWebRect value=\"384,184,1070,621\"/>"
              L"<miniRect value=\"1012,155,1044,186\"/><closeRect value=\"1043,155,1074,186\"/>"
              L"<loginURL value=\"http://example.test/login\"/><playGamekeyWord value=\"client=pc\"/>"
              L"<clientName value=\"Zentari\"/></Launch>");
    EXPECT_EQ(s.loginFrameSize.cx, 1176);
    EXPECT_EQ(s.loginFrameSize.cy, 731);
    ExpectRect(s.loginWebRect, 384, 184, 1070, 621);
    ExpectRect(s.miniRect, 1012, 155, 1044, 186);
    ExpectRect(s.closeRect, 1043, 155, 1074, 186);
    EXPECT_STREQ(s.loginURL, L"http://example.test/login");
    EXPECT_STREQ(s.playGamekeyWord, L"client=pc");
    EXPECT_STREQ(s.clientName, L"Zentari");
}

TEST(LaunchSettings, OnlyAFirstAttributeNamedValueCounts)
{
    const LaunchSettings s = Parse(L"<x><clientName name=\"a\" value=\"ignored\"/><playGamekeyWord Value=\"ignored\"/>"
                                   L"<loginURL value=\"kept\" other=\"x\"/></x>");
    EXPECT_STREQ(s.clientName, L"");
    EXPECT_STREQ(s.playGamekeyWord, L"");
    EXPECT_STREQ(s.loginURL, L"kept");
}

TEST(LaunchSettings, NamesAreCaseSensitiveAndUnknownOnesIgnored)
{
    const LaunchSettings s = Parse(L"<x><LoginURL value=\"a\"/><clientname value=\"b\"/><colour value=\"c\"/></x>");
    EXPECT_STREQ(s.loginURL, L"");
    EXPECT_STREQ(s.clientName, L"");
}

TEST(LaunchSettings, LaterDuplicateWins)
{
    const LaunchSettings s = Parse(L"<x><clientName value=\"first\"/><clientName value=\"second\"/></x>");
    EXPECT_STREQ(s.clientName, L"second");
}

TEST(LaunchSettings, NumberListsTakeAnySingleSeparatorAndLeadingBlanks)
{
    const LaunchSettings s = Parse(L"<x><loginWebRect value=\"384, 184, 1070, 621\"/><miniRect value=\"1;2;3;4\"/>"
                                   L"<closeRect value=\"-5,+6,-7,8\"/></x>");
    ExpectRect(s.loginWebRect, 384, 184, 1070, 621);
    ExpectRect(s.miniRect, 1, 2, 3, 4);
    ExpectRect(s.closeRect, -5, 6, -7, 8);
}

TEST(LaunchSettings, ShortNumberListsKeepMissingNumbersAtZero)
{
    LaunchSettings s;
    s.closeRect = RECT{9, 9, 9, 9};
    ApplySetting(s, L"closeRect", L"10,20");
    ExpectRect(s.closeRect, 10, 20, 0, 0);
    ApplySetting(s, L"loginFrameSize", L"640");
    EXPECT_EQ(s.loginFrameSize.cx, 640);
    EXPECT_EQ(s.loginFrameSize.cy, 0);
    // A trailing separator must not let the reader step past the terminator.
    ApplySetting(s, L"miniRect", L"1,");
    ExpectRect(s.miniRect, 1, 0, 0, 0);
    ApplySetting(s, L"loginWebRect", L"");
    ExpectRect(s.loginWebRect, 0, 0, 0, 0);
}

TEST(LaunchSettings, NestedElementsAndTextAreIgnored)
{
    const LaunchSettings s =
        Parse(L"<x>text<group><clientName value=\"nested\"/></group><clientName value=\"top\">inner</clientName></x>");
    EXPECT_STREQ(s.clientName, L"top");
}

TEST(LaunchSettings, InvalidMarkupIsRefused)
{
    // A configuration cut off inside an element: the parser refuses it, and
    // so do the settings, which keep what they held.
    CMarkup markup;
    EXPECT_FALSE(markup.Load(L"<Launch><clientName value=\"cut\"/><loginURL value="));
    LaunchSettings settings;
    settings.loginFrameSize = {800, 600};
    EXPECT_FALSE(ParseLaunchSettings(markup, settings));
    EXPECT_EQ(settings.loginFrameSize.cx, 800);
    EXPECT_STREQ(settings.clientName, L"");
}

TEST(LaunchSettings, TheTestExeHasNoConfigResource)
{
    VarnelUI::CPaintManagerUI::SetResourceDll(::GetModuleHandleW(nullptr));
    CMarkup markup;
    EXPECT_FALSE(LoadConfigResource(markup, kConfigResourceId));
    EXPECT_FALSE(markup.IsValid());
    VarnelUI::CPaintManagerUI::SetResourceDll(nullptr);
}

TEST(SplitString, DropsEmptyPieces)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitString("a|b", "|"), (V{"a", "b"}));
    EXPECT_EQ(SplitString("a||b", "|"), (V{"a", "b"}));
    EXPECT_EQ(SplitString("|b", "|"), (V{"b"}));
    EXPECT_EQ(SplitString("a|", "|"), (V{"a"}));
    EXPECT_EQ(SplitString("|", "|"), V{});
    EXPECT_EQ(SplitString("", "|"), V{});
    EXPECT_EQ(SplitString("abc", "|"), (V{"abc"}));
    EXPECT_EQ(SplitString("a|b", ""), V{});
}
