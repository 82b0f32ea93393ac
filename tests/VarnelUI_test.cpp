// The umbrella header stands on its own: nothing else is included before it.
#include "varnelui/VarnelUI.h"

#include <gtest/gtest.h>

#include <memory>

TEST(VarnelUIHeader, BuildsATreeWithNothingElseIncluded)
{
    VarnelUI::CDialogBuilder builder;
    std::unique_ptr<VarnelUI::CControlUI> root(
        builder.Create(L"<Window><HorizontalLayout><Button name=\"ok\" /></HorizontalLayout></Window>"));
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ(L"HorizontalLayoutUI", root->GetClass());
    EXPECT_EQ(1, static_cast<VarnelUI::CContainerUI*>(root.get())->GetCount());
}
