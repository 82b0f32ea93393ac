// Text controls in a real window: links clicked with the mouse, and wrapping
// with the measured height.
#include <gtest/gtest.h>

#include "varnelui/control/UIText.h"

#include "support/ManagerHarness.h"

#include <string>
#include <vector>

using namespace VarnelUI;

namespace {

// Tells where a link was drawn.
class CLinkTextUI : public CTextUI
{
public:
    POINT LinkCentre(int i) const
    {
        return POINT{(m_rcLinks[i].left + m_rcLinks[i].right) / 2, (m_rcLinks[i].top + m_rcLinks[i].bottom) / 2};
    }
};

} // namespace

TEST(Text, KeepsEightLinksAndReportsTheClickedOne)
{
    ManagerHarness::CTestWindow wnd(400, 200);
    ManagerHarness::CNotifyRecorder notes;
    wnd.pm.AddNotifier(&notes);
    auto* text = new CLinkTextUI;
    ASSERT_TRUE(wnd.pm.AttachDialog(text));
    std::wstring markup;
    for (int i = 0; i < 9; ++i) markup += L"<a l" + std::to_wstring(i) + L">go" + std::to_wstring(i) + L"</a> ";
    text->SetShowHtml(true);
    text->SetText(markup.c_str());
    wnd.Paint();

    ASSERT_NE(text->GetLinkContent(7), nullptr);
    EXPECT_EQ(*text->GetLinkContent(7), L"l7");
    EXPECT_EQ(text->GetLinkContent(8), nullptr);
    EXPECT_EQ(text->GetControlFlags(), static_cast<UINT>(CTRLFLAG_SETCURSOR));

    std::vector<WPARAM> clicked;
    notes.onNotify = [&](TNotifyUI& msg) {
        if (msg.type == L"link") clicked.push_back(msg.wParam);
    };
    const POINT third = text->LinkCentre(2);
    const auto click = [&] {
        wnd.Mouse(WM_LBUTTONDOWN, third.x, third.y, MK_LBUTTON);
        wnd.Mouse(WM_LBUTTONUP, third.x, third.y);
    };
    click();
    EXPECT_EQ(clicked, std::vector<WPARAM>{2});

    // Clicks come before the repaint; the links of the old text are gone at once.
    text->SetText(L"");
    click();
    wnd.Paint();
    click();
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(text->GetLinkContent(0), nullptr);
    EXPECT_EQ(text->GetControlFlags(), 0u);
}

TEST(Text, WrapsItsTextAndMeasuresTheHeight)
{
    ManagerHarness::CTestWindow wnd(400, 200);
    CTextUI text;
    text.SetManager(&wnd.pm, nullptr, false);
    text.SetText(L"many words that wrap onto several lines when narrow");
    const LONG cyLine = text.EstimateSize(SIZE{2000, 0}).cy;
    EXPECT_GT(cyLine, 0);
    EXPECT_GE(text.EstimateSize(SIZE{100, 0}).cy, 3 * cyLine);

    text.SetText(L"");
    EXPECT_EQ(text.EstimateSize(SIZE{2000, 0}).cy, 0);
    text.SetFixedHeight(50);
    EXPECT_EQ(text.EstimateSize(SIZE{100, 0}).cy, 50);
}
