// Formatted text drawn into a 32-bit DIB: fonts, colours, links, escapes, raw
// text, images, alignment and measuring, and hostile markup.
#include <gtest/gtest.h>

#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"
#include "varnelui/core/UIRenderBlend.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"

#include <memory>
#include <string>

using namespace VarnelUI;

using Surface = VarnelTest::DibSurface;
using VarnelTest::Blue;
using VarnelTest::Green;
using VarnelTest::Red;

namespace {

constexpr DWORD kWhite = 0x00FFFFFF;
constexpr DWORD kBlack = 0x00000000;

class HtmlText : public ::testing::Test
{
protected:
    void SetUp() override { pm.SetDefaultFont(L"Tahoma", 16, false, false, false); }

    // Draws (or measures) with link slots; returns the rectangle as it comes back.
    RECT Draw(HDC hDC, LPCWSTR text, RECT rc, UINT style, DWORD color = 0xFF000000, int slots = 0)
    {
        nLinks = slots;
        CRenderEngine::DrawHtmlText(hDC, &pm, rc, text, color, links, names, nLinks, style);
        return rc;
    }

    RECT Measure(LPCWSTR text, RECT rc = {0, 0, 1000, 1000}, UINT style = DT_WORDBREAK)
    {
        return Draw(probe.dc(), text, rc, style | DT_CALCRECT);
    }

    int MeasureWidth(LPCWSTR text)
    {
        const RECT rc = Measure(text, {0, 0, 1000, 1000}, DT_SINGLELINE);
        return rc.right - rc.left;
    }

    // tmHeight + tmExternalLeading of the default font.
    int FontHeight()
    {
        TEXTMETRICW tm = {};
        const HGDIOBJ old = ::SelectObject(probe.dc(), pm.GetDefaultFontInfo()->hFont);
        ::GetTextMetricsW(probe.dc(), &tm);
        ::SelectObject(probe.dc(), old);
        return tm.tmHeight + tm.tmExternalLeading;
    }

    // The surface as plain TextOutW draws the text in the default font at (x, y).
    void ReferenceText(Surface& s, LPCWSTR text, int x = 0, int y = 0)
    {
        const HGDIOBJ old = ::SelectObject(s.dc(), pm.GetDefaultFontInfo()->hFont);
        ::SetBkMode(s.dc(), TRANSPARENT);
        ::SetTextColor(s.dc(), RGB(0, 0, 0));
        ::TextOutW(s.dc(), x, y, text, static_cast<int>(wcslen(text)));
        ::SelectObject(s.dc(), old);
    }

    static bool SamePixels(const Surface& a, const Surface& b)
    {
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.At(x, y) != b.At(x, y)) return false;
        return true;
    }

    // The bounding box of the pixels in area that are not `background`.
    static RECT InkBox(const Surface& s, DWORD background, RECT area = {0, 0, 10000, 10000})
    {
        RECT box = {s.Width(), s.Height(), -1, -1};
        for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, s.Height()); ++y)
            for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, s.Width()); ++x)
                if (s.At(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    // Pixels close to a pure colour (text edges may be smoothed).
    static int CountNear(const Surface& s, DWORD rgb, int tolerance = 40, RECT area = {0, 0, 10000, 10000})
    {
        int n = 0;
        for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, s.Height()); ++y)
            for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, s.Width()); ++x) {
                const DWORD c = s.At(x, y);
                if (std::abs(Red(c) - Red(rgb)) <= tolerance && std::abs(Green(c) - Green(rgb)) <= tolerance &&
                    std::abs(Blue(c) - Blue(rgb)) <= tolerance)
                    ++n;
            }
        return n;
    }

    CPaintManagerUI pm;
    Surface probe{8, 8};
    RECT links[8] = {};
    CUIString names[8];
    int nLinks = 0;
};

// A 40x10 strip of four 10-pixel cells: red, green, blue, yellow.
HBITMAP MakeStrip()
{
    void* bits = nullptr;
    HBITMAP hBitmap = VarnelUI::RenderBlend::CreateDib32(nullptr, 40, 10, &bits);
    const DWORD cells[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x) static_cast<DWORD*>(bits)[y * 40 + x] = cells[x / 10];
    return hBitmap;
}

} // namespace

TEST_F(HtmlText, BoldRunIsWiderAndTheRestKeepsTheDefaultFont)
{
    const int plain = MeasureWidth(L"bold");
    const int bold = MeasureWidth(L"<b>bold</b>");
    EXPECT_GT(bold, plain);
    EXPECT_EQ(MeasureWidth(L"<b>bold</b> plain"), bold + MeasureWidth(L" plain"));
    // The bold form is created once and then found again.
    EXPECT_NE(pm.GetFont(pm.GetDefaultFontInfo()->faceName, 16, true, false, false), nullptr);

    // A closing tag pops one font even when its opening tag pushed none.
    EXPECT_EQ(MeasureWidth(L"<b><b>x</b>bold</b>"), MeasureWidth(L"<b>x</b>bold"));
}

TEST_F(HtmlText, ColourTagsInBothBracketStylesColourTheText)
{
    for (LPCWSTR text : {L"{c #FF0000}red{/c}", L"<c FF0000>red</c>", L"<c #FF0000}red{/c>"}) {
        Surface s(100, 30, kWhite);
        Draw(s.dc(), text, {0, 0, 100, 30}, DT_SINGLELINE);
        EXPECT_GT(CountNear(s, 0xFF0000, 10), 10) << ::testing::PrintToString(std::wstring(text));
        EXPECT_EQ(CountNear(s, kBlack, 60), 0);
    }

    // Nested colours pop back to the outer one and then to the argument.
    Surface s(200, 30, kWhite);
    Draw(s.dc(), L"<c #FF0000>MM<c #00FF00>MM</c>MM</c>MM", {0, 0, 200, 30}, DT_SINGLELINE, 0xFF0000FF);
    const int w = MeasureWidth(L"MM");
    EXPECT_GT(CountNear(s, 0xFF0000, 10, {0, 0, w, 30}), 10);
    EXPECT_GT(CountNear(s, 0x00FF00, 10, {w, 0, 2 * w, 30}), 10);
    EXPECT_GT(CountNear(s, 0xFF0000, 10, {2 * w, 0, 3 * w, 30}), 10);
    EXPECT_GT(CountNear(s, 0x0000FF, 10, {3 * w, 0, 4 * w, 30}), 10);
    EXPECT_EQ(CountNear(s, 0x0000FF, 10, {0, 0, 3 * w, 30}), 0);
}

TEST_F(HtmlText, TagsNestedPastSixtyFourAreCountedNotStacked)
{
    const auto nested = [this](int reds) {
        std::wstring text;
        for (int i = 0; i < reds; ++i) text += L"<c #FF0000>";
        text += L"<c #00FF00>MM</c>MM";
        for (int i = 0; i < reds; ++i) text += L"</c>";
        auto s = std::make_unique<Surface>(300, 30, kWhite);
        Draw(s->dc(), (text + L"MM").c_str(), {0, 0, 300, 30}, DT_SINGLELINE, 0xFF0000FF);
        return s;
    };
    const int w = MeasureWidth(L"MM");
    // The 64th tag is stacked; the 65th leaves the colour as it was, and its
    // closing tag pops nothing of the outer ones.
    const auto atLimit = nested(63);
    EXPECT_GT(CountNear(*atLimit, 0x00FF00, 10, {0, 0, w, 30}), 10);
    const auto past = nested(64);
    EXPECT_EQ(CountNear(*past, 0x00FF00, 10), 0);
    EXPECT_GT(CountNear(*past, 0xFF0000, 10, {w, 0, 2 * w, 30}), 10);
    EXPECT_GT(CountNear(*past, 0x0000FF, 10, {2 * w, 0, 3 * w, 30}), 10);
}

TEST_F(HtmlText, ColourDigitsAreASignedNumberLimitedTo7FFFFFFF)
{
    // FF00FF00 read unsigned would be green; limited it is 7FFFFFFF, white.
    Surface s(100, 30, kBlack);
    Draw(s.dc(), L"<c FF00FF00>MMM</c>", {0, 0, 100, 30}, DT_SINGLELINE);
    EXPECT_GT(CountNear(s, kWhite, 10), 10);
    EXPECT_EQ(CountNear(s, 0x00FF00, 60), 0);

    // Far too many digits end the same way, not wrapped around.
    s.Fill(kBlack);
    Draw(s.dc(), L"{c #FFFFFFFFFFFFFFFF00FF00}MMM{/c}", {0, 0, 100, 30}, DT_SINGLELINE);
    EXPECT_GT(CountNear(s, kWhite, 10), 10);
}

TEST_F(HtmlText, LinksAreRecordedWithTheirNamesOnlyWhileSlotsRemain)
{
    Surface s(200, 40, kWhite);
    Draw(s.dc(), L"<a next>Next</a>", {10, 5, 200, 40}, DT_SINGLELINE, 0xFF000000, 1);
    ASSERT_EQ(nLinks, 1);
    EXPECT_EQ(names[0], L"next");
    EXPECT_EQ(links[0].left, 10);
    EXPECT_EQ(links[0].top, 5);
    EXPECT_EQ(links[0].right, 10 + MeasureWidth(L"<u>Next</u>"));
    EXPECT_EQ(links[0].bottom, 5 + FontHeight());
    // Drawn in the default link colour, underlined below the word.
    EXPECT_GT(CountNear(s, 0x0000FF, 10), 10);
    const RECT ink = InkBox(s, kWhite);
    EXPECT_GE(ink.left, links[0].left);
    EXPECT_LE(ink.right, links[0].right + 1);

    links[0] = {};
    names[0].Empty();
    Draw(s.dc(), L"<a next>Next</a>", {10, 5, 200, 40}, DT_SINGLELINE, 0xFF000000, 0);
    EXPECT_EQ(nLinks, 0);
    EXPECT_TRUE(names[0].IsEmpty());
    EXPECT_EQ(links[0].right, 0);

    // Two links, one slot: only the first is recorded, and the count never
    // exceeds the slots.
    Draw(s.dc(), L"<a one>One</a> and <a two>Two</a>", {0, 0, 200, 40}, DT_SINGLELINE, 0xFF000000, 1);
    EXPECT_EQ(nLinks, 1);
    EXPECT_EQ(names[0], L"one");
    Draw(s.dc(), L"<a one>One</a> and <a two>Two</a>", {0, 0, 200, 40}, DT_SINGLELINE, 0xFF000000, 3);
    ASSERT_EQ(nLinks, 2);
    EXPECT_EQ(names[1], L"two");
    EXPECT_EQ(links[1].left, MeasureWidth(L"<u>One</u> and "));
}

TEST_F(HtmlText, ALinkThatWrapsRecordsOneRectanglePerLineUnderOneName)
{
    const int wordWidth = MeasureWidth(L"<u>aaaa </u>");
    // Room for "aaaa b" but not for "aaaa bb".
    const int width = wordWidth + MeasureWidth(L"<u>b</u>") + 1;
    Surface s(width, 100, kWhite);
    for (UINT style : {UINT(DT_WORDBREAK), UINT(DT_WORDBREAK | DT_CALCRECT)}) {
        Draw(s.dc(), L"<a wrap>aaaa bbbb</a> tail", {0, 0, width, 100}, style, 0xFF000000, 4);
        ASSERT_EQ(nLinks, 2) << style;
        EXPECT_EQ(names[0], L"wrap");
        EXPECT_EQ(names[1], L"wrap");
        const int fh = FontHeight();
        EXPECT_EQ(links[0].left, 0);
        EXPECT_EQ(links[0].top, 0);
        EXPECT_EQ(links[0].right, wordWidth); // cut back to the space
        EXPECT_EQ(links[0].bottom, fh);
        EXPECT_EQ(links[1].left, 0);
        EXPECT_EQ(links[1].top, fh);
        EXPECT_EQ(links[1].right, MeasureWidth(L"<u>bbbb</u>"));
        EXPECT_EQ(links[1].bottom, 2 * fh);
    }
}

TEST_F(HtmlText, HoveredLinkUsesTheHoverColour)
{
    ManagerHarness::CTestWindow wnd(300, 60);
    wnd.pm.SetDefaultFont(L"Tahoma", 16, false, false, false);
    Surface s(300, 60, kWhite);
    RECT rc = {0, 0, 300, 60};
    nLinks = 2;
    CRenderEngine::DrawHtmlText(s.dc(), &wnd.pm, rc, L"<a a>MMMM</a> <a b>MMMM</a>", 0xFF000000, links, names, nLinks,
                                DT_SINGLELINE);
    ASSERT_EQ(nLinks, 2);
    EXPECT_EQ(CountNear(s, 0xD3215F, 10), 0);

    wnd.Mouse(WM_MOUSEMOVE, links[1].left + 2, links[1].top + 2);
    s.Fill(kWhite);
    rc = {0, 0, 300, 60};
    nLinks = 2;
    CRenderEngine::DrawHtmlText(s.dc(), &wnd.pm, rc, L"<a a>MMMM</a> <a b>MMMM</a>", 0xFF000000, links, names, nLinks,
                                DT_SINGLELINE);
    EXPECT_EQ(CountNear(s, 0xD3215F, 10, {0, 0, links[0].right, 60}), 0);
    EXPECT_GT(CountNear(s, 0xD3215F, 10, links[1]), 10);
    EXPECT_GT(CountNear(s, 0x0000FF, 10, links[0]), 10);
}

TEST_F(HtmlText, EscapesAndRawTextDrawBracketsLiterally)
{
    const struct
    {
        LPCWSTR markup;
        LPCWSTR plain;
    } cases[] = {
        {L"<{>ab<}>", L"{ab}"},      {L"{<}b{>}", L"<b>"},
        {L"<r><b></r>", L"<b>"},     {L"{r}{c #FF0000}x y {/r}z", L"{c #FF0000}x y z"},
        {L"<r>a</b>{/r}", L"a</b>"}, {L"a<B>", L"a<B>"}, // no lower-case letter: not a tag
        {L"1 < 2", L"1 < 2"},
    };
    for (const auto& c : cases) {
        Surface drawn(200, 30, kWhite);
        Surface expected(200, 30, kWhite);
        Draw(drawn.dc(), c.markup, {0, 0, 200, 30}, DT_SINGLELINE);
        ReferenceText(expected, c.plain);
        EXPECT_TRUE(SamePixels(drawn, expected)) << ::testing::PrintToString(std::wstring(c.markup));
    }
}

TEST_F(HtmlText, SingleLineAlignmentMovesTheRectangleToTheText)
{
    Surface s(200, 60, kWhite);
    const int w = MeasureWidth(L"abc");
    const int fh = FontHeight();

    RECT rc = Draw(s.dc(), L"abc", {0, 0, 200, 60}, DT_SINGLELINE | DT_CENTER);
    EXPECT_EQ(rc.left, 100 - w / 2);
    EXPECT_EQ(rc.right, rc.left + w);
    RECT ink = InkBox(s, kWhite);
    EXPECT_GE(ink.left, rc.left);
    EXPECT_LE(ink.right, rc.right);
    EXPECT_LT(ink.left, rc.left + 3);

    s.Fill(kWhite);
    rc = Draw(s.dc(), L"abc", {0, 0, 200, 60}, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    EXPECT_EQ(rc.left, 200 - w);
    EXPECT_EQ(rc.right, 200);
    EXPECT_EQ(rc.top, 30 - fh / 2);
    EXPECT_EQ(rc.bottom, rc.top + fh);
    ink = InkBox(s, kWhite);
    EXPECT_GE(ink.top, rc.top);
    EXPECT_GT(ink.left, 150);

    rc = Draw(s.dc(), L"abc", {0, 0, 200, 60}, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(rc.top, 60 - fh);
}

TEST_F(HtmlText, EndEllipsisGivesBackTwoMoreCharactersForTheDots)
{
    // Room for "abcdef" only: the run keeps "abcd" and "..." follows it.
    const int width = MeasureWidth(L"abcdef") + 2;
    Surface drawn(200, 30, kWhite);
    Draw(drawn.dc(), L"abcdefghij", {0, 0, width, 30}, DT_SINGLELINE | DT_END_ELLIPSIS);
    Surface expected(200, 30, kWhite);
    ::IntersectClipRect(expected.dc(), 0, 0, width, 30);
    ReferenceText(expected, L"abcd...");
    EXPECT_TRUE(SamePixels(drawn, expected));

    // Without the flag the run is simply cut where it stops fitting.
    drawn.Fill(kWhite);
    Draw(drawn.dc(), L"abcdefghij", {0, 0, width, 30}, DT_SINGLELINE);
    expected.Fill(kWhite);
    ReferenceText(expected, L"abcdef");
    EXPECT_TRUE(SamePixels(drawn, expected));
}

TEST_F(HtmlText, CalcRectGrowsWithLinesAndParagraphs)
{
    const int fh = FontHeight();
    RECT rc = Measure(L"line1");
    EXPECT_EQ(rc.bottom, fh);
    EXPECT_EQ(rc.right, MeasureWidth(L"line1"));
    EXPECT_EQ(Measure(L"line1<n>line2").bottom, 2 * fh);
    EXPECT_EQ(Measure(L"line1\nline2").bottom, 2 * fh);
    EXPECT_EQ(Measure(L"a<n><n>b").bottom, 3 * fh);
    // Line breaks do nothing on a single line.
    EXPECT_EQ(Measure(L"line1<n>line2", {0, 0, 1000, 1000}, DT_SINGLELINE).bottom, fh);

    // Wrapping: more lines in a narrower rectangle, never wider than it.
    const LPCWSTR text = L"one two three four five six seven eight nine ten";
    const int oneLine = MeasureWidth(text);
    int lastHeight = fh;
    for (int width : {oneLine + 10, oneLine / 2, oneLine / 4}) {
        rc = Measure(text, {0, 0, width, 1000});
        EXPECT_EQ(rc.bottom % fh, 0);
        EXPECT_GE(rc.bottom, lastHeight);
        EXPECT_LE(rc.right, width);
        lastHeight = rc.bottom;
    }
    EXPECT_GE(lastHeight, 4 * fh);

    // Paragraph spacing raises each paragraph's line; <x> moves the pen.
    EXPECT_EQ(Measure(L"<p 10>a</p><p 6>b</p>").bottom, 2 * fh + 16);
    EXPECT_EQ(Measure(L"a<p 10>b").bottom, 2 * fh + 10);
    EXPECT_EQ(Measure(L"<y 40>a").bottom, 40);
    EXPECT_EQ(MeasureWidth(L"<x 20>a"), 20 + MeasureWidth(L"a"));
}

TEST_F(HtmlText, FontsByIndexAndByDescription)
{
    ASSERT_NE(pm.AddFont(L"Tahoma", 40, false, false, false), nullptr);
    const int fh = FontHeight();
    EXPECT_GT(Measure(L"<f 0>x</f>").bottom, fh + 15);
    // An index outside the table is the default font.
    EXPECT_EQ(Measure(L"<f 7>x</f>").bottom, fh);

    EXPECT_EQ(pm.GetFont(L"Tahoma", 30, true, false, true), nullptr);
    const RECT big = Measure(L"<f Tahoma 30 Bold,Italic>x</f>y");
    EXPECT_GT(big.bottom, fh + 8);
    EXPECT_NE(pm.GetFont(L"Tahoma", 30, true, false, true), nullptr);

    // Smaller text shares the bottom line of the tallest font on its line.
    const int fhBig = Measure(L"<f 0>M</f>").bottom;
    const int wBig = MeasureWidth(L"<f 0>M</f>");
    Surface s(200, 80, kWhite);
    Draw(s.dc(), L"<f 0>M</f>.", {0, 0, 200, 80}, DT_SINGLELINE);
    const RECT dot = InkBox(s, kWhite, {wBig, 0, 200, 80});
    EXPECT_GT(dot.top, fhBig - fh);
    EXPECT_LE(dot.bottom, fhBig);
}

TEST_F(HtmlText, SelectionPaintsTheSelectedBackground)
{
    Surface s(200, 30, kWhite);
    Draw(s.dc(), L"ab<s>cd</s>ef", {0, 0, 200, 30}, DT_SINGLELINE);
    const int x0 = MeasureWidth(L"ab");
    const int x1 = x0 + MeasureWidth(L"cd");
    EXPECT_GT(CountNear(s, 0xBAE4FF, 0, {x0, 0, x1, 30}), (x1 - x0) * FontHeight() / 3);
    EXPECT_EQ(CountNear(s, 0xBAE4FF, 0, {0, 0, x0, 30}), 0);
    EXPECT_EQ(CountNear(s, 0xBAE4FF, 0, {x1, 0, 200, 30}), 0);
}

TEST_F(HtmlText, ImageTagDrawsTheChosenCellOfAStrip)
{
    ASSERT_NE(pm.AddImage(L"icons.png", MakeStrip(), 40, 10, false), nullptr);
    const int fh = FontHeight();

    Surface s(200, 40, kWhite);
    Draw(s.dc(), L"<i icons.png 4 2>M", {0, 0, 200, 40}, DT_SINGLELINE);
    // The third 10-pixel cell (blue), centred in the line, then the text.
    const int top = (fh - 10) / 2; // centred in the taller text line
    EXPECT_EQ(s.At(0, top), 0x0000FFu);
    EXPECT_EQ(s.At(9, top + 9), 0x0000FFu);
    EXPECT_EQ(CountNear(s, 0x0000FF, 0), 100);
    EXPECT_EQ(CountNear(s, 0xFF0000, 0) + CountNear(s, 0x00FF00, 0), 0);
    EXPECT_EQ(MeasureWidth(L"<i icons.png 4 2>M"), 10 + MeasureWidth(L"M"));
    const RECT ink = InkBox(s, kWhite);
    EXPECT_EQ(ink.left, 0);

    // Description items name the whole image; an index out of range is 0.
    s.Fill(kWhite);
    Draw(s.dc(), L"<i file='icons.png'>", {0, 0, 200, 40}, DT_SINGLELINE);
    EXPECT_EQ(CountNear(s, 0xFF0000, 0) + CountNear(s, 0x00FF00, 0) + CountNear(s, 0x0000FF, 0) +
                  CountNear(s, 0xFFFF00, 0),
              400);
    s.Fill(kWhite);
    Draw(s.dc(), L"<i icons.png 4 9>", {0, 0, 200, 40}, DT_SINGLELINE);
    EXPECT_EQ(CountNear(s, 0xFF0000, 0), 100);

    // A taller image raises the line; a missing one is skipped.
    EXPECT_EQ(Measure(L"<y 4><i icons.png>").bottom, 10);
    EXPECT_EQ(MeasureWidth(L"<i missing.png 2 1>M"), MeasureWidth(L"M"));

    // An image that does not fit moves to the next line.
    const RECT rc = Measure(L"MM<i icons.png>", {0, 0, MeasureWidth(L"MM") + 5, 100});
    EXPECT_EQ(rc.bottom, 2 * fh);
}

TEST_F(HtmlText, NothingHappensWithoutTextManagerOrRoom)
{
    Surface s(50, 20, kWhite);
    RECT rc = {0, 0, 50, 20};
    nLinks = 4;
    CRenderEngine::DrawHtmlText(s.dc(), nullptr, rc, L"<a x>x</a>", 0, links, names, nLinks, 0);
    EXPECT_EQ(nLinks, 0);
    nLinks = 4;
    CRenderEngine::DrawHtmlText(s.dc(), &pm, rc, nullptr, 0, links, names, nLinks, 0);
    EXPECT_EQ(nLinks, 0);
    rc = {10, 10, 10, 30};
    CRenderEngine::DrawHtmlText(s.dc(), &pm, rc, L"text", 0, nullptr, nullptr, nLinks, 0);
    EXPECT_EQ(s.Count(kWhite), 50 * 20);
    // The clip narrowed for drawing is given back.
    rc = {0, 0, 10, 10};
    CRenderEngine::DrawHtmlText(s.dc(), &pm, rc, L"MMMM", 0, nullptr, nullptr, nLinks, 0);
    RECT clip = {};
    ::GetClipBox(s.dc(), &clip);
    EXPECT_EQ(clip.right, 50);
    EXPECT_EQ(clip.bottom, 20);
    EXPECT_LE(InkBox(s, kWhite).right, 10);
}

TEST_F(HtmlText, MalformedMarkupNeitherCrashesNorHangs)
{
    std::wstring deep;
    for (int i = 0; i < 1000; ++i) deep += L"<b><i><u><c #123456><a n><f Tahoma 12><p 1><s>";
    deep += L"deep";
    for (int i = 0; i < 2000; ++i) deep += L"</a></b>{/c}</f></p></s>";
    std::wstring longRun(5000, L'W');
    const std::wstring texts[] = {
        deep,
        longRun,
        L"<b<c #FF0000<a",
        L"<",
        L"{",
        L"<a",
        L"<a unclosed link text",
        L"</x></a></b></c></f></p></s>",
        L"<x 99999999999999999999>a<x -99999999999999999999>b",
        L"<y 99999999999999999999>a<y -5>b",
        L"<p 99999999999999999999>a</p>",
        L"<f Tahoma 99999999999999>a</f><f Tahoma -99999999999999>b</f>",
        L"<f 99999999999999>a</f><f>b</f>",
        L"<c FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF>a<c -FFFFFFFFFFFFFFFFFFFF>b",
        L"<i missing.png 99999999999999 -99999999999>a<i file='x' restype='>b<i res='>",
        L"<r>never closed {/r",
        L"\n\n\n<n><n>",
    };
    Surface s(120, 60, kWhite);
    for (const std::wstring& text : texts) {
        for (UINT style : {UINT(DT_WORDBREAK), UINT(DT_WORDBREAK | DT_CALCRECT), UINT(DT_SINGLELINE | DT_CENTER),
                           UINT(DT_END_ELLIPSIS), UINT(DT_END_ELLIPSIS | DT_CALCRECT)}) {
            Draw(s.dc(), text.c_str(), {0, 0, 120, 60}, style, 0xFF000000, 8);
            EXPECT_GE(nLinks, 0);
            EXPECT_LE(nLinks, 8);
            // A rectangle one pixel wide still takes a character per line.
            const RECT rc = Draw(s.dc(), text.c_str(), {0, 0, 1, 10}, style, 0xFF000000, 8);
            EXPECT_LE(nLinks, 8);
            if ((style & DT_CALCRECT) != 0) {
                EXPECT_GE(rc.bottom, 0);
            }
        }
    }
    // A line that opens a link in every run keeps recording into the slots it has.
    Draw(s.dc(), L"<a a>x</a><a b>y</a><a c>z</a>", {0, 0, 120, 60}, 0, 0xFF000000, 2);
    EXPECT_EQ(nLinks, 2);
    EXPECT_EQ(names[1], L"b");
}
