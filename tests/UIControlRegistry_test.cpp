// The element vocabulary: every registered element builds from a one-element
// skin into the class the skin language names, answering its interface name.
#include <gtest/gtest.h>

#include "support/TestHelpers.h"
#include "varnelui/control/UIContainer.h"
#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIDlgBuilder.h"

#include <map>
#include <memory>
#include <string>

using namespace VarnelUI;
using VarnelTest::Narrow;

namespace {

struct TExpectedNames
{
    LPCWSTR className;
    LPCWSTR interfaceName; // null: the class answers no name of its own
};

// The skin language's element -> class table, written out independently of
// the registrations so that a misspelt name in a control's source fails here.
const std::map<std::wstring, TExpectedNames> kSkinVocabulary = {
    {L"Control", {L"ControlUI", L"Control"}},
    {L"Container", {L"ContainerUI", L"Container"}},
    {L"VerticalLayout", {L"VerticalLayoutUI", L"VerticalLayout"}},
    {L"HorizontalLayout", {L"HorizontalLayoutUI", L"HorizontalLayout"}},
    {L"Label", {L"LabelUI", L"Label"}},
    {L"Button", {L"ButtonUI", L"Button"}},
    {L"ScrollBar", {L"ScrollBarUI", L"ScrollBar"}},
    {L"Option", {L"OptionUI", L"Option"}},
    {L"CheckBox", {L"CheckBoxUI", nullptr}},
    {L"Text", {L"TextUI", L"Text"}},
    {L"TabLayout", {L"TabLayoutUI", L"TabLayout"}},
    {L"TileLayout", {L"TileLayoutUI", L"TileLayout"}},
    {L"ChildLayout", {L"ChildLayoutUI", L"ChildLayout"}},
    {L"ActiveX", {L"ActiveXUI", L"ActiveX"}},
    {L"WebBrowser", {L"WebBrowserUI", L"WebBrowser"}},
    {L"Edit", {L"EditUI", L"Edit"}},
    {L"RichEdit", {L"RichEditUI", L"RichEdit"}},
    {L"List", {L"ListUI", L"List"}},
    {L"ListHeader", {L"ListHeaderUI", L"ListHeader"}},
    {L"ListHeaderItem", {L"ListHeaderItemUI", L"ListHeaderItem"}},
    {L"ListTextElement", {L"ListTextElementUI", L"ListTextElement"}},
    {L"ListLabelElement", {L"ListLabelElementUI", L"ListLabelElement"}},
    {L"ListContainerElement", {L"ListContainerElementUI", L"ListContainerElement"}},
    {L"Combo", {L"ComboUI", L"Combo"}},
    {L"ComboBox", {L"ComboBoxUI", L"ComboBox"}},
    {L"Slider", {L"SliderUI", L"Slider"}},
    {L"Progress", {L"ProgressUI", L"Progress"}},
    {L"DateTime", {L"DateTimeUI", L"DateTime"}},
    {L"TreeView", {L"TreeViewUI", L"TreeView"}},
    {L"TreeNode", {L"TreeNodeUI", L"TreeNode"}},
};

} // namespace

TEST(ControlRegistry, EveryElementBuildsItsClassFromAOneElementSkin)
{
    ASSERT_FALSE(CControlRegistry::Classes().empty());
    for (const TControlClass& entry : CControlRegistry::Classes()) {
        const std::wstring element = entry.names.element;
        SCOPED_TRACE(Narrow(element));
        const auto expected = kSkinVocabulary.find(element);
        ASSERT_NE(expected, kSkinVocabulary.end()) << "not an element of the skin language";

        // A tree node only builds inside a tree view, as the view's first row.
        const bool bTreeNode = element == L"TreeNode";
        CDialogBuilder builder;
        const std::wstring probe = L"<" + element + L" name=\"probe\"/>";
        const std::wstring skin =
            L"<Window>" + (bTreeNode ? L"<TreeView>" + probe + L"</TreeView>" : probe) + L"</Window>";
        std::unique_ptr<CControlUI> built(builder.Create(skin.c_str(), nullptr, nullptr, nullptr, nullptr));
        ASSERT_NE(built, nullptr);
        CControlUI* control = built.get();
        if (bTreeNode) control = static_cast<IContainerUI*>(built->GetInterface(L"IContainer"))->GetItemAt(0);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(control->GetClass(), expected->second.className);
        EXPECT_EQ(control->GetName(), L"probe");
        if (expected->second.interfaceName != nullptr)
            EXPECT_EQ(control->GetInterface(expected->second.interfaceName), static_cast<void*>(control));
        else EXPECT_EQ(control->GetInterface(element.c_str()), nullptr);
    }
}

TEST(ControlRegistry, NamesMatchExactlyAndTheFirstRegistrationStays)
{
    EXPECT_NE(CControlRegistry::Find(L"Button"), nullptr);
    EXPECT_EQ(CControlRegistry::Find(L"button"), nullptr);
    EXPECT_EQ(CControlRegistry::Find(L"Butto"), nullptr);
    EXPECT_EQ(CControlRegistry::Find(nullptr), nullptr);
    EXPECT_EQ(CControlRegistry::Create(L"NoSuchElement"), nullptr);

    const size_t before = CControlRegistry::Classes().size();
    CControlRegistry::Register({{L"Button", L"ImpostorUI", nullptr}, [] { return new CControlUI; }});
    EXPECT_EQ(CControlRegistry::Classes().size(), before);
    std::unique_ptr<CControlUI> button(CControlRegistry::Create(L"Button"));
    EXPECT_STREQ(button->GetClass(), L"ButtonUI");
}

TEST(ControlRegistry, AttributesComeFromTheTablesThatApplyThem)
{
    using AttrParse::AttrSyntax;
    const auto attributes = CControlRegistry::Attributes(L"Button");
    ASSERT_FALSE(attributes.empty());
    // The button's own table first, then the label's and the control base's.
    EXPECT_STREQ(attributes.front().name, L"normalimage");
    const auto syntaxOf = [&](LPCWSTR name) {
        for (const auto& a : attributes)
            if (std::wcscmp(a.name, name) == 0) return static_cast<int>(a.syntax);
        return -1;
    };
    EXPECT_EQ(syntaxOf(L"normalimage"), static_cast<int>(AttrSyntax::Image));
    EXPECT_EQ(syntaxOf(L"font"), static_cast<int>(AttrSyntax::FontId));
    EXPECT_EQ(syntaxOf(L"pos"), static_cast<int>(AttrSyntax::Rect));
    EXPECT_EQ(syntaxOf(L"vscrollbar"), -1); // a button is no container
    EXPECT_TRUE(CControlRegistry::Attributes(L"NoSuchElement").empty());

    // Collecting applies nothing, and applying works again afterwards.
    CControlUI control;
    {
        AttrParse::CAttributeCollector collector;
        control.SetAttribute(L"name", L"collected");
    }
    EXPECT_EQ(control.GetName(), L"");
    control.SetAttribute(L"name", L"applied");
    EXPECT_EQ(control.GetName(), L"applied");
}
