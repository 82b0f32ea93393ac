// Labels: alignment words and their text styles, colours (alpha 0 included),
// padding, markup, the height estimate, and the GDI+ effect path.
#include <gtest/gtest.h>

#include "varnelui/control/UIButton.h"
#include "varnelui/control/UILabel.h"

#include "support/DibSurface.h"
#include "support/ManagerHarness.h"
#include "support/PaintProbe.h"

using namespace VarnelUI;
using VarnelTest::DibSurface;
using VarnelTest::InkBox;

namespace {

constexpr DWORD kWhite = 0xFFFFFF;
constexpr DWORD kBlack = 0x000000;

// A label attached to a real window's paint manager and placed at (0, 0), so
// it can be painted into a DIB of its own size.
class LabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Large, bold text leaves enough fully inked pixels to count colours
        // exactly, even where the text is smoothed.
        wnd.pm.SetDefaultFont(L"Tahoma", 24, true, false, false);
        m_iBigFont = wnd.pm.AddFont(L"Tahoma", 32, true, false, false) != nullptr ? 0 : -1;
    }

    template <class T>
    T* Attach(T* pControl, int cx, int cy)
    {
        pControl->SetManager(&wnd.pm, nullptr, false);
        pControl->SetPos(RECT{0, 0, cx, cy});
        return pControl;
    }

    // Paints the control into a fresh surface of the given background.
    void Paint(CControlUI& control, DibSurface& dib, DWORD background)
    {
        dib.Fill(background);
        const RECT rc = {0, 0, dib.Width(), dib.Height()};
        control.DoPaint(dib.dc(), rc);
    }

    ManagerHarness::CTestWindow wnd{300, 200};
    int m_iBigFont = -1;
};

int MidY(const RECT& rc)
{
    return (rc.top + rc.bottom) / 2;
}

} // namespace

// ---- attributes ------------------------------------------------------------------

TEST(LabelAttributes, AlignWordsClearAndSetStyleBitsInTableOrder)
{
    struct Case
    {
        LPCWSTR align;
        UINT labelStyle;  // starting from DT_VCENTER
        UINT buttonStyle; // starting from DT_CENTER | DT_VCENTER | DT_SINGLELINE
    };
    const Case cases[] = {
        {L"center", 0x05, 0x25},      {L"vcenter", 0x25, 0x25}, // "vcenter" holds "center": centred both ways
        {L"right", 0x02, 0x02},                                 // right also drops vertical centring
        {L"left", 0x00, 0x00},        {L"top", 0x20, 0x21},     {L"bottom", 0x28, 0x29},
        {L"left bottom", 0x28, 0x28}, {L"Center", 0x04, 0x25}, // words are case-sensitive
    };
    for (const Case& c : cases) {
        CLabelUI label;
        CButtonUI button;
        label.SetAttribute(L"align", c.align);
        button.SetAttribute(L"align", c.align);
        EXPECT_EQ(label.GetTextStyle(), c.labelStyle) << static_cast<const void*>(c.align);
        EXPECT_EQ(button.GetTextStyle(), c.buttonStyle) << static_cast<const void*>(c.align);
    }
}

TEST(LabelAttributes, ValuesParseInThePlainFormsAndUnknownNamesReachTheBase)
{
    CLabelUI label;
    label.SetAttribute(L"endellipsis", L"true");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER | DT_END_ELLIPSIS));
    label.SetAttribute(L"endellipsis", L"True");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));

    label.SetAttribute(L"textcolor", L"#00FFFBF0");
    EXPECT_EQ(label.GetTextColor(), 0x00FFFBF0u);
    // The plain colour form skips no white space before "#".
    label.SetAttribute(L"disabledtextcolor", L" #FF112233");
    EXPECT_EQ(label.GetDisabledTextColor(), 0u);
    label.SetAttribute(L"textpadding", L"1,2,3,4");
    const RECT rcPadding = label.GetTextPadding();
    EXPECT_EQ(rcPadding.left + rcPadding.top * 10 + rcPadding.right * 100 + rcPadding.bottom * 1000, 4321);
    label.SetAttribute(L"font", L"3");
    EXPECT_EQ(label.GetFont(), 3);
    label.SetAttribute(L"showhtml", L"true");
    EXPECT_TRUE(label.IsShowHtml());

    label.SetAttribute(L"rhaa", L"5");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 5);
    label.SetAttribute(L"rhaa", L"6");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0);
    label.SetAttribute(L"textshadowcolorb", L"#FF00FF00");
    EXPECT_EQ(label.GetTextShadowColorB(), 0xFF00FF00u);

    label.SetAttribute(L"width", L"40");
    label.SetAttribute(L"Width", L"90");
    EXPECT_EQ(label.GetFixedWidth(), 40);
    EXPECT_STREQ(label.GetClass(), L"LabelUI");
    EXPECT_EQ(label.GetInterface(L"Label"), &label);
    EXPECT_EQ(label.GetInterface(L"Control"), &label);
    EXPECT_EQ(label.GetInterface(L"Button"), nullptr);
}

TEST(LabelAttributes, ShadowOffsetFollowsTheAngleAndIgnoresAnglesOutOfRange)
{
    struct Case
    {
        LPCWSTR value;
        float x;
        float y;
    };
    const Case cases[] = {
        {L"3,45", -3.0f, -3.0f}, {L"3,-45", 3.0f, -3.0f}, {L"3,135", -3.0f, 3.0f},
        {L"3,-90", 3.0f, 3.0f},  {L"3,-180", 0.0f, 3.0f},
    };
    for (const Case& c : cases) {
        CLabelUI label;
        // Where the label is placed must not leak into the offset.
        label.SetPos(RECT{50, 70, 90, 100});
        label.SetAttribute(L"shadowoffset", c.value);
        EXPECT_FLOAT_EQ(label.GetShadowOffset().X, c.x) << static_cast<const void*>(c.value);
        EXPECT_FLOAT_EQ(label.GetShadowOffset().Y, c.y) << static_cast<const void*>(c.value);
    }
    CLabelUI label;
    label.SetAttribute(L"shadowoffset", L"3,45");
    label.SetAttribute(L"shadowoffset", L"9,181");
    EXPECT_FLOAT_EQ(label.GetShadowOffset().X, -3.0f);
}

TEST(LabelAttributes, TextGoesToTheEffectTextOnlyAfterEffectsAreEnabled)
{
    CLabelUI before;
    before.ApplyAttributeList(L"text=\"Hello\" enabledeffect=\"true\"");
    EXPECT_STREQ(before.GetText(), L"");
    before.SetEnabledEffect(false);
    EXPECT_STREQ(before.GetText(), L"Hello");

    CLabelUI after;
    after.ApplyAttributeList(L"enabledeffect=\"true\" text=\"Hello\"");
    EXPECT_STREQ(after.GetText(), L"Hello");
    after.SetEnabledEffect(false);
    EXPECT_STREQ(after.GetText(), L"");
}

// ---- size --------------------------------------------------------------------------

TEST_F(LabelTest, HeightEstimateIsOneLineOfTheFontPlusAMargin)
{
    const TFontInfo* pDefault = wnd.pm.GetFontInfo(-1);
    ASSERT_NE(pDefault, nullptr);
    ASSERT_GT(pDefault->tm.tmHeight, 0);

    CLabelUI label;
    CButtonUI button;
    Attach(&label, 40, 10);
    Attach(&button, 40, 10);
    label.SetFixedWidth(40);
    button.SetFixedWidth(40);
    // A text far wider than the label still takes one line: labels never wrap.
    label.SetText(L"a rather long text that would need several lines at this width");
    EXPECT_EQ(label.EstimateSize(SIZE{40, 500}).cy, pDefault->tm.tmHeight + 4);
    EXPECT_EQ(label.EstimateSize(SIZE{40, 500}).cx, 40);
    EXPECT_EQ(button.EstimateSize(SIZE{40, 500}).cy, pDefault->tm.tmHeight + 8);

    ASSERT_EQ(m_iBigFont, 0);
    label.SetFont(m_iBigFont);
    EXPECT_EQ(label.EstimateSize(SIZE{}).cy, wnd.pm.GetFontInfo(m_iBigFont)->tm.tmHeight + 4);
    EXPECT_GT(wnd.pm.GetFontInfo(m_iBigFont)->tm.tmHeight, pDefault->tm.tmHeight);

    label.SetFixedHeight(7);
    EXPECT_EQ(label.EstimateSize(SIZE{}).cy, 7);

    // Without a window there is no font to measure: the fixed size stands.
    CLabelUI loose;
    EXPECT_EQ(loose.EstimateSize(SIZE{100, 100}).cy, 0);
}

// ---- plain text ----------------------------------------------------------------------

TEST_F(LabelTest, CentredLabelIsDrawnOnOneLineWhileAButtonKeepsItsStyle)
{
    CLabelUI label;
    CButtonUI button;
    for (CLabelUI* p : {&label, static_cast<CLabelUI*>(&button)}) {
        Attach(p, 200, 80);
        p->SetFont(m_iBigFont);
        p->SetText(L"Hi");
        p->SetTextColor(0xFF000000);
    }
    label.SetAttribute(L"align", L"center");
    ASSERT_EQ(label.GetTextStyle(), 0x5u);
    button.SetTextStyle(0x5);

    DibSurface dib(200, 80);
    Paint(label, dib, kWhite);
    const RECT rcLabelInk = InkBox(dib, kWhite);
    ASSERT_FALSE(::IsRectEmpty(&rcLabelInk));
    // DT_VCENTER only works on a single line: the label adds it.
    EXPECT_NEAR(MidY(rcLabelInk), 40, 4);
    EXPECT_NEAR((rcLabelInk.left + rcLabelInk.right) / 2, 100, 4);

    Paint(button, dib, kWhite);
    const RECT rcButtonInk = InkBox(dib, kWhite);
    ASSERT_FALSE(::IsRectEmpty(&rcButtonInk));
    EXPECT_LT(rcButtonInk.top, 12);
    EXPECT_NEAR((rcButtonInk.left + rcButtonInk.right) / 2, 100, 4);
}

TEST_F(LabelTest, AlphaZeroTextColourStillDrawsItsRedGreenAndBlue)
{
    CLabelUI label;
    Attach(&label, 200, 60);
    label.ApplyAttributeList(L"textcolor=\"#00FFFBF0\" text=\"MMMM\"");
    label.SetFont(m_iBigFont);
    DibSurface dib(200, 60);
    Paint(label, dib, kBlack);
    EXPECT_GT(dib.Count(0xFFFBF0), 10);
    EXPECT_EQ(label.GetTextColor(), 0x00FFFBF0u);
}

TEST_F(LabelTest, ZeroColoursTakeTheWindowDefaultsAndDisabledUsesItsColour)
{
    CLabelUI label;
    Attach(&label, 200, 60);
    label.SetText(L"MMMM");
    label.SetFont(m_iBigFont);
    wnd.pm.SetDefaultFontColor(0xFF0000FF);
    wnd.pm.SetDefaultDisabledColor(0xFF00FF00);
    DibSurface dib(200, 60);
    Paint(label, dib, kWhite);
    EXPECT_GT(dib.Count(0x0000FF), 10);
    // The defaults are taken over once and for good.
    EXPECT_EQ(label.GetTextColor(), 0xFF0000FFu);
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFF00FF00u);

    wnd.pm.SetDefaultFontColor(0xFFFF0000);
    label.SetEnabled(false);
    Paint(label, dib, kWhite);
    EXPECT_GT(dib.Count(0x00FF00), 10);
    EXPECT_EQ(dib.Count(0x0000FF), 0);
    label.SetEnabled(true);
    Paint(label, dib, kWhite);
    EXPECT_GT(dib.Count(0x0000FF), 10);
}

TEST_F(LabelTest, TextStaysInsideThePaddedAreaAndEmptyTextDrawsNothing)
{
    CLabelUI label;
    Attach(&label, 200, 60);
    label.ApplyAttributeList(L"align=\"left\" textpadding=\"120,0,0,0\" textcolor=\"#FF000000\"");
    label.SetFont(m_iBigFont);
    DibSurface dib(200, 60);
    Paint(label, dib, kWhite);
    EXPECT_EQ(dib.Count(kWhite), 200 * 60);

    label.SetText(L"MM");
    Paint(label, dib, kWhite);
    const RECT rcInk = InkBox(dib, kWhite);
    ASSERT_FALSE(::IsRectEmpty(&rcInk));
    EXPECT_GE(rcInk.left, 120);
    EXPECT_LT(rcInk.left, 126);
}

TEST_F(LabelTest, ShowHtmlDrawsThroughTheMarkupRenderer)
{
    CLabelUI label;
    Attach(&label, 200, 60);
    label.ApplyAttributeList(L"textcolor=\"#FFFF0000\" text=\"<c #00FF00>MM</c>\"");
    label.SetFont(m_iBigFont);
    DibSurface dib(200, 60);
    Paint(label, dib, kBlack);
    // Plain: the tags are text, drawn in the label's colour.
    EXPECT_GT(dib.Count(0xFF0000), 10);
    EXPECT_EQ(dib.Count(0x00FF00), 0);

    label.SetShowHtml(true);
    Paint(label, dib, kBlack);
    EXPECT_GT(dib.Count(0x00FF00), 10);
    EXPECT_EQ(dib.Count(0xFF0000), 0);
}

// ---- effects ---------------------------------------------------------------------------

TEST_F(LabelTest, EffectPathDrawsTheEffectTextSoAttributeOrderMatters)
{
    DibSurface dib(200, 60);

    CLabelUI early;
    Attach(&early, 200, 60);
    early.ApplyAttributeList(L"textcolor=\"#FFFFFFFF\" text=\"MMMM\" enabledeffect=\"true\" transtext=\"255\" "
                             L"transtext1=\"255\" rhaa=\"2\"");
    Paint(early, dib, kBlack);
    EXPECT_EQ(dib.Count(kBlack), 200 * 60);

    CLabelUI late;
    Attach(&late, 200, 60);
    late.ApplyAttributeList(L"textcolor=\"#FFFFFFFF\" enabledeffect=\"true\" text=\"MMMM\" transtext=\"255\" "
                            L"transtext1=\"255\" rhaa=\"2\"");
    Paint(late, dib, kBlack);
    EXPECT_GT(dib.Count(kWhite), 5);
}

TEST_F(LabelTest, EffectOutlineAndShadowUseTheirOwnColours)
{
    DibSurface dib(200, 60);

    // Invisible text with a green outline: only the outline shows.
    CLabelUI stroked;
    Attach(&stroked, 200, 60);
    stroked.ApplyAttributeList(L"enabledeffect=\"true\" text=\"MMMM\" transtext=\"0\" transtext1=\"0\" "
                               L"enabledstroke=\"true\" strokecolor=\"#FF00FF00\" rhaa=\"2\"");
    Paint(stroked, dib, kBlack);
    EXPECT_GT(dib.Count(0x00FF00), 5);
    // Without a stroke colour there is no outline at all.
    stroked.SetStrokeColor(0);
    Paint(stroked, dib, kBlack);
    EXPECT_EQ(dib.Count(kBlack), 200 * 60);

    // A shadow moved up by 20 pixels shows above where it sits without offset.
    DibSurface tall(200, 100);
    CLabelUI shadowed;
    Attach(&shadowed, 200, 100);
    shadowed.ApplyAttributeList(L"enabledeffect=\"true\" text=\"MMMM\" transtext=\"0\" transtext1=\"0\" "
                                L"enabledshadow=\"true\" textshadowcolora=\"#FF0000FF\" transshadow=\"255\" "
                                L"transshadow1=\"255\" shadowoffset=\"20,-45\" rhaa=\"2\"");
    ASSERT_FLOAT_EQ(shadowed.GetShadowOffset().Y, -20.0f);
    Paint(shadowed, tall, kBlack);
    const RECT rcUp = InkBox(tall, kBlack);
    ASSERT_FALSE(::IsRectEmpty(&rcUp));
    EXPECT_GT(tall.Count(0x0000FF), 5);

    shadowed.SetAttribute(L"shadowoffset", L"0,0");
    Paint(shadowed, tall, kBlack);
    const RECT rcLevel = InkBox(tall, kBlack);
    ASSERT_FALSE(::IsRectEmpty(&rcLevel));
    EXPECT_NEAR(rcLevel.top - rcUp.top, 20, 1);
}
