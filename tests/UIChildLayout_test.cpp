// Child layouts in a real window, filled from a skin archive in memory as the
// launcher's windows are: the file builds into the layout, a file that cannot
// be built leaves it empty, and a file holding itself stops at once.
#include <gtest/gtest.h>

#include "varnelui/control/UIChildLayout.h"
#include "varnelui/core/UIDlgBuilder.h"

#include "support/ManagerHarness.h"
#include "support/TestHelpers.h"

#include <string>

using namespace VarnelUI;

TEST(ChildLayout, BuildsItsFileFromTheSkinArchiveOrEndsEmpty)
{
    std::string archive = VarnelTest::StoredZip({
        {"pages/child.xml", "<Window><VerticalLayout name=\"inner\"><Button name=\"deep\"/></VerticalLayout></Window>"},
        {"self.xml", "<Window><ChildLayout xmlfile=\"SELF.xml\"/></Window>"},
    });
    CPaintManagerUI::SetResourceZip(archive.data(), static_cast<unsigned int>(archive.size()));
    ManagerHarness::CTestWindow wnd(200, 100);
    // The window's tree: a container holding one child layout of the named file.
    const auto build = [&](const std::wstring& file) {
        const std::wstring skin =
            L"<Window><Container><ChildLayout name=\"layout\" xmlfile=\"" + file + L"\"/></Container></Window>";
        CDialogBuilder builder;
        CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &wnd.pm);
        return root != nullptr && wnd.pm.AttachDialog(root)
                   ? static_cast<CChildLayoutUI*>(wnd.pm.FindControl(L"layout"))
                   : nullptr;
    };

    CChildLayoutUI* layout = build(L"pages\\child.xml");
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(layout->GetCount(), 1);
    EXPECT_EQ(layout->GetItemAt(0), wnd.pm.FindControl(L"inner"));
    EXPECT_NE(wnd.pm.FindControl(L"deep"), nullptr);
    EXPECT_EQ(layout->GetInterface(L"ChildLayout"), static_cast<void*>(layout));
    EXPECT_EQ(layout->GetInterface(L"IContainer"), nullptr);

    // Children it had are gone when its file cannot be built.
    auto* root = new CContainerUI;
    layout = new CChildLayoutUI;
    layout->Add(new CControlUI);
    layout->SetChildLayoutXML(L"missing.xml");
    root->Add(layout);
    ASSERT_TRUE(wnd.pm.AttachDialog(root));
    EXPECT_EQ(layout->GetCount(), 0);

    // A file holding a child layout of itself builds once; the inner copy stays empty.
    layout = build(L"self.xml");
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(layout->GetCount(), 1);
    EXPECT_EQ(static_cast<CContainerUI*>(layout->GetItemAt(0))->GetCount(), 0);
    CPaintManagerUI::SetResourceZip(L"", false);
}
