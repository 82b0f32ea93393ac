#include "varnelui/core/UIMarkup.h"
#include "varnelui/core/UIManager.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

using namespace VarnelUI;

namespace {

std::wstring ErrorOf(const CMarkup& markup)
{
    wchar_t text[100] = {};
    markup.GetLastErrorMessage(text, 100);
    return text;
}

std::wstring LocationOf(const CMarkup& markup)
{
    wchar_t text[50] = {};
    markup.GetLastErrorLocation(text, 50);
    return text;
}

// Loads a document that must fail and returns "message|location".
std::wstring FailureOf(const wchar_t* xml)
{
    CMarkup markup;
    EXPECT_FALSE(markup.Load(xml)) << xml;
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
    return ErrorOf(markup) + L"|" + LocationOf(markup);
}

std::vector<BYTE> Utf16Bytes(const std::wstring& text, bool bigEndian)
{
    std::vector<BYTE> bytes = {bigEndian ? BYTE(0xFE) : BYTE(0xFF), bigEndian ? BYTE(0xFF) : BYTE(0xFE)};
    for (const wchar_t unit : text) {
        const BYTE low = static_cast<BYTE>(unit & 0xFF);
        const BYTE high = static_cast<BYTE>(unit >> 8);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

// Flattens a tree into "name{value}[attr=value,...](children)" for comparisons.
std::wstring Describe(const CMarkupNode& node)
{
    std::wstring out;
    for (CMarkupNode n = node; n.IsValid(); n = n.GetSibling()) {
        out += n.GetName();
        out += L"{" + std::wstring(n.GetValue()) + L"}[";
        for (int i = 0; i < n.GetAttributeCount(); ++i)
            out += std::wstring(n.GetAttributeName(i)) + L"=" + n.GetAttributeValue(i) + L",";
        out += L"](" + Describe(n.GetChild()) + L")";
    }
    return out;
}

const wchar_t kSample[] = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                          L"<!-- login window -->\r\n"
                          L"<Window size=\"400,300\" caption = \"0,0,0,30\">\r\n"
                          L"  <Font name=\"\x5B8B\x4F53\" size=\"12\"/>\r\n"
                          L"  <VerticalLayout bkimage=\"file=&apos;bg.png&apos; corner=&apos;1,2,3,4&apos;\">\r\n"
                          L"    <Label text=\"a &lt;b&gt; &amp; &quot;c&quot;\" />\r\n"
                          L"    <Label>\xC4\xD6 text</Label>\r\n"
                          L"  </VerticalLayout>\r\n"
                          L"</Window>\r\n";

} // namespace

TEST(MarkupTest, WalksTheTreeAndReadsNamesValuesAndAttributes)
{
    CMarkup markup(kSample);
    ASSERT_TRUE(markup.IsValid()) << ErrorOf(markup) << L" at " << LocationOf(markup);
    CMarkupNode root = markup.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.HasSiblings());
    EXPECT_TRUE(root.HasChildren());
    EXPECT_EQ(2, root.GetAttributeCount());
    EXPECT_STREQ(L"0,0,0,30", root.GetAttributeValue(L"caption"));
    EXPECT_STREQ(L"", root.GetAttributeValue(L"Caption"));
    EXPECT_STREQ(L"", root.GetAttributeValue(2));
    EXPECT_STREQ(L"", root.GetAttributeName(-1));

    CMarkupNode font = root.GetChild();
    EXPECT_STREQ(L"Font", font.GetName());
    EXPECT_STREQ(L"", font.GetValue());
    EXPECT_STREQ(L"\x5B8B\x4F53", font.GetAttributeValue(L"name"));
    EXPECT_TRUE(font.HasSiblings());
    EXPECT_FALSE(font.HasChildren());
    EXPECT_STREQ(L"Window", font.GetParent().GetName());

    CMarkupNode layout = root.GetChild(L"VerticalLayout");
    ASSERT_TRUE(layout.IsValid());
    EXPECT_FALSE(root.GetChild(L"verticallayout").IsValid());
    EXPECT_STREQ(L"file='bg.png' corner='1,2,3,4'", layout.GetAttributeValue(L"bkimage"));
    CMarkupNode label = layout.GetChild();
    EXPECT_STREQ(L"a <b> & \"c\"", label.GetAttributeValue(L"text"));
    EXPECT_STREQ(L"\xC4\xD6 text", label.GetSibling().GetValue());
    EXPECT_FALSE(label.GetSibling().HasAttributes());
    EXPECT_FALSE(label.GetSibling().GetSibling().IsValid());
}

TEST(MarkupTest, InvalidNodesAnswerEmpty)
{
    const CMarkupNode node;
    wchar_t buffer[8] = {};
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(nullptr, node.GetName());
    EXPECT_EQ(nullptr, node.GetValue());
    EXPECT_EQ(nullptr, node.GetAttributeName(0));
    EXPECT_EQ(nullptr, node.GetAttributeValue(0));
    EXPECT_EQ(nullptr, node.GetAttributeValue(L"x"));
    EXPECT_FALSE(node.GetAttributeValue(L"x", buffer, 8));
    EXPECT_FALSE(node.HasAttribute(L"x"));
    EXPECT_FALSE(node.HasAttributes());
    EXPECT_EQ(0, node.GetAttributeCount());
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetChild(L"x").IsValid());
    EXPECT_FALSE(node.GetParent().IsValid());
    EXPECT_FALSE(node.GetSibling().IsValid());
}

TEST(MarkupTest, EmptyElementWithAndWithoutSpaceBeforeSlash)
{
    for (const wchar_t* xml : {L"<Window><Font/></Window>", L"<Window><Font /></Window>"}) {
        CMarkup markup(xml);
        ASSERT_TRUE(markup.IsValid()) << xml << L": " << ErrorOf(markup);
        EXPECT_EQ(L"Window{}[](Font{}[]())", Describe(markup.GetRoot())) << xml;
    }
    // A slash followed by anything but ">" only ends the name: the element
    // stays open, and a missing closing tag of the root is tolerated.
    CMarkup spaced(L"<a/ >");
    ASSERT_TRUE(spaced.IsValid()) << ErrorOf(spaced);
    EXPECT_STREQ(L"a", spaced.GetRoot().GetName());
    CMarkup attributed(L"<a/x=\"1\"><b/></a>");
    ASSERT_TRUE(attributed.IsValid()) << ErrorOf(attributed);
    EXPECT_EQ(L"a{}[x=1,](b{}[]())", Describe(attributed.GetRoot()));
}

TEST(MarkupTest, AttributeLayoutsMapCorrectly)
{
    // Compacted entity values, empty values, spaces around "=" and no space
    // between attributes must all leave the following attributes readable.
    CMarkup markup(L"<a x=\"&amp;&amp;\" e=\"\"  y =  \"2\"z=\"&#65; &&amp; &bogus;\"\tw=\"last\"/>");
    ASSERT_TRUE(markup.IsValid()) << ErrorOf(markup);
    EXPECT_EQ(L"a{}[x=&&,e=,y=2,z=&#65; && &bogus;,w=last,]()", Describe(markup.GetRoot()));
    EXPECT_TRUE(markup.GetRoot().HasAttribute(L"e"));
    EXPECT_FALSE(markup.GetRoot().HasAttribute(L"W"));
}

TEST(MarkupTest, OnlySixtyFourAttributesAreVisible)
{
    std::wstring xml = L"<a";
    for (int i = 1; i <= 70; ++i) xml += L" n" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    xml += L">text</a>";
    CMarkup markup(xml.c_str());
    ASSERT_TRUE(markup.IsValid()) << ErrorOf(markup);
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(64, root.GetAttributeCount());
    EXPECT_STREQ(L"64", root.GetAttributeValue(L"n64"));
    EXPECT_STREQ(L"n64", root.GetAttributeName(63));
    for (int i = 65; i <= 70; ++i) EXPECT_FALSE(root.HasAttribute((L"n" + std::to_wstring(i)).c_str())) << i;
    EXPECT_STREQ(L"text", root.GetValue());
}

TEST(MarkupTest, TextContentIsDecodedAndEndsAtTheFirstChild)
{
    CMarkup markup(L"<a>x &lt;&#65;&gt;<b /></a>");
    ASSERT_TRUE(markup.IsValid()) << ErrorOf(markup);
    EXPECT_STREQ(L"x <&#65;>", markup.GetRoot().GetValue());
    EXPECT_STREQ(L"b", markup.GetRoot().GetChild().GetName());

    // A document that ends inside an entity or after a compacted text.
    ASSERT_TRUE(markup.Load(L"<a>&am"));
    EXPECT_STREQ(L"a", markup.GetRoot().GetName());
    EXPECT_STREQ(L"&am", markup.GetRoot().GetValue());
    ASSERT_TRUE(markup.Load(L"<a>x&amp;y"));
    EXPECT_STREQ(L"a", markup.GetRoot().GetName());
    EXPECT_STREQ(L"x&y", markup.GetRoot().GetValue());
}

TEST(MarkupTest, WhitespaceCollapsesOnlyWhenNotPreserved)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a v=\"1   2\">x \t y\tz</a>"));
    EXPECT_STREQ(L"x \t y\tz", markup.GetRoot().GetValue());
    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.Load(L"<a v=\"1   2\">x \t y\t  z</a>"));
    EXPECT_STREQ(L"x y\t z", markup.GetRoot().GetValue());
    EXPECT_STREQ(L"1 2", markup.GetRoot().GetAttributeValue(L"v"));
}

TEST(MarkupTest, MissingClosingTagsAtTheTopAreTolerated)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a><b />"));
    EXPECT_EQ(L"a{}[](b{}[]())", Describe(markup.GetRoot()));
    ASSERT_TRUE(markup.Load(L"<a><b>text"));
    EXPECT_EQ(L"a{}[](b{text}[]())", Describe(markup.GetRoot()));
    ASSERT_TRUE(markup.Load(L"<a x=\"1\" >text"));
    EXPECT_EQ(L"a{text}[x=1,]()", Describe(markup.GetRoot()));
    EXPECT_EQ(L"Expected start tag|", FailureOf(L"<a><b><c />"));
    EXPECT_EQ(L"Expected end-tag start|", FailureOf(L"<a><b><c>text"));
    // A closing tag at the top level ends the document.
    ASSERT_TRUE(markup.Load(L"<a/></x> anything"));
    EXPECT_EQ(L"a{}[]()", Describe(markup.GetRoot()));
}

TEST(MarkupTest, DocumentsWithoutElementsLoadWithoutRoot)
{
    for (const wchar_t* xml : {L" \r\n\t ", L"<!-- only a comment -->", L"<?xml version=\"1.0\"?>\n", L"<!--", L"<!",
                               L"<?", L"< !-- spaced --> <?x?>"}) {
        CMarkup markup;
        EXPECT_TRUE(markup.Load(xml)) << xml << L": " << ErrorOf(markup);
        EXPECT_TRUE(markup.IsValid()) << xml;
        EXPECT_FALSE(markup.GetRoot().IsValid()) << xml;
    }
    CMarkup markup(L"<!-- a -> b --><a/>");
    EXPECT_EQ(L"Expected start tag|b --><a/>", ErrorOf(markup) + L"|" + LocationOf(markup));
}

TEST(MarkupTest, ParseErrorsCarryMessageAndLocation)
{
    EXPECT_EQ(L"Expected start tag|more</a>", FailureOf(L"<a>text<b />more</a>"));
    EXPECT_EQ(L"Expected start tag|text", FailureOf(L"  text"));
    EXPECT_EQ(L"Error parsing element name|", FailureOf(L"<Window"));
    EXPECT_EQ(L"Expected start-tag closing|", FailureOf(L"<a x=\"1\""));
    EXPECT_EQ(L"Unmatched closing tag|c></a>", FailureOf(L"<a><b></c></a>"));
    EXPECT_EQ(L"Unmatched closing tag|b>", FailureOf(L"<a></ab>"));
    EXPECT_EQ(L"Error while parsing attributes|-x=\"1\"/>", FailureOf(L"<a data-x=\"1\"/>"));
    EXPECT_EQ(L"Error while parsing attributes|>", FailureOf(L"<a x=\"1\" y>"));
    EXPECT_EQ(L"Expected attribute value|'1'/>", FailureOf(L"<a x='1'/>"));
    EXPECT_EQ(L"Error while parsing attribute string|", FailureOf(L"<a x=\"abc"));
    EXPECT_EQ(L"Error while parsing attribute string|", FailureOf(L"<a x=\"&am"));

    // The location holds at most 49 units of the remaining text.
    const std::wstring tail(80, L'z');
    EXPECT_EQ(L"Expected start tag|" + tail.substr(0, 49), FailureOf((L"<a/>" + tail).c_str()));
}

// Offsets are in UTF-16 units of the loaded text, where the parser stood.
TEST(MarkupTest, NamesAndFailuresKnowTheirOffsets)
{
    CMarkup markup(L"<?xml?>\n<Window a=\"1\">\n  <Label/>\n  <Button\n b=\"&amp;\"/></Window>");
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(root.GetNameOffset(), 9);
    EXPECT_EQ(root.GetChild().GetNameOffset(), 26);
    EXPECT_EQ(root.GetChild().GetSibling().GetNameOffset(), 37);
    EXPECT_EQ(CMarkupNode().GetNameOffset(), -1);

    EXPECT_FALSE(markup.Load(L"<a>\n  <b>\n  </c>\n</a>"));
    EXPECT_EQ(markup.GetLastErrorOffset(), 14) << "at the mismatched name";
    EXPECT_FALSE(markup.Load(L"<a x=\"1\""));
    EXPECT_EQ(markup.GetLastErrorOffset(), 8) << "at the end of the text";
    EXPECT_TRUE(markup.Load(L"<a/>"));
    EXPECT_EQ(markup.GetLastErrorOffset(), -1);
    EXPECT_FALSE(markup.LoadFromMem(reinterpret_cast<const BYTE*>("ab"), 2, 1));
    EXPECT_EQ(markup.GetLastErrorOffset(), -1) << "an encoding failure has no place in the text";
}

TEST(MarkupTest, FailureReleasesAndSuccessClearsTheError)
{
    CMarkup markup(L"<a/>");
    ASSERT_TRUE(markup.GetRoot().IsValid());
    EXPECT_FALSE(markup.Load(L"<a><b></c></a>"));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
    EXPECT_TRUE(markup.Load(L"<b/>"));
    EXPECT_EQ(L"", ErrorOf(markup));
    EXPECT_STREQ(L"b", markup.GetRoot().GetName());
    markup.Release();
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
}

TEST(MarkupTest, EmptyInputIsADocumentWithoutElements)
{
    CMarkup text;
    EXPECT_TRUE(text.Load(L""));
    EXPECT_TRUE(text.IsValid());
    EXPECT_FALSE(text.GetRoot().IsValid());

    const BYTE utf8Mark[] = {0xEF, 0xBB, 0xBF};
    const BYTE utf16Mark[] = {0xFF, 0xFE, 0x3C}; // the odd byte is dropped
    const struct
    {
        const BYTE* bytes;
        DWORD size;
        int encoding;
    } cases[] = {
        {utf8Mark, 0, 0}, {utf8Mark, sizeof(utf8Mark), 0}, {utf16Mark, sizeof(utf16Mark), 1}, {nullptr, 10, 2}};
    for (const auto& c : cases) {
        CMarkup markup;
        EXPECT_TRUE(markup.LoadFromMem(c.bytes, c.size, c.encoding)) << c.size << " bytes, encoding " << c.encoding;
        EXPECT_TRUE(markup.IsValid());
        EXPECT_FALSE(markup.GetRoot().IsValid());
    }
}

TEST(MarkupTest, DeepNestingDoesNotOverflowTheStack)
{
    constexpr int depth = 100000;
    std::wstring xml;
    for (int i = 0; i < depth; ++i) xml += L"<a>";
    EXPECT_EQ(L"Expected end-tag start|", FailureOf(xml.c_str()));
    for (int i = 0; i < depth; ++i) xml += L"</a>";
    CMarkup markup(xml.c_str());
    ASSERT_TRUE(markup.IsValid()) << ErrorOf(markup);
    int levels = 0;
    CMarkupNode node = markup.GetRoot();
    for (; node.HasChildren(); node = node.GetChild()) ++levels;
    EXPECT_EQ(depth - 1, levels);
    EXPECT_STREQ(L"a", node.GetName());
    EXPECT_STREQ(L"a", node.GetParent().GetName());
}

TEST(MarkupTest, DocumentSizeIsLimited)
{
    std::string bytes = "<a/>";
    bytes.resize(CMarkup::kMaxDocumentUnits, ' ');
    CMarkup markup;
    EXPECT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    bytes += ' ';
    EXPECT_FALSE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    EXPECT_EQ(L"Document too large", ErrorOf(markup));
    EXPECT_FALSE(markup.IsValid());
    const std::wstring text(bytes.begin(), bytes.end());
    EXPECT_EQ(L"Document too large|", FailureOf(text.c_str()));
}

TEST(MarkupTest, ElementCountIsLimited)
{
    std::wstring xml = L"<a>";
    for (int i = 1; i < CMarkup::kMaxElements; ++i) xml += L"<b/>";
    CMarkup markup(xml.c_str());
    EXPECT_TRUE(markup.IsValid()) << ErrorOf(markup);
    xml += L"<c/>";
    EXPECT_EQ(L"Too many elements|c/>", FailureOf(xml.c_str()));
}

TEST(MarkupTest, AttributeLengthIsLimited)
{
    const std::wstring value(CMarkup::kMaxAttributeUnits, L'v');
    CMarkup markup((L"<a x=\"" + value + L"\"/>").c_str());
    ASSERT_TRUE(markup.IsValid()) << ErrorOf(markup);
    EXPECT_EQ(value, markup.GetRoot().GetAttributeValue(L"x"));
    // Counted after decoding: an entity is one unit.
    EXPECT_EQ(L"Attribute value too long|&" + value.substr(0, 48),
              FailureOf((L"<a x=\"&amp;" + value + L"\"/>").c_str()));
}

TEST(MarkupTest, ManySiblingsStayLinkedInOrderWhileTheTableGrows)
{
    std::wstring xml = L"<list>";
    for (int i = 0; i < 5000; ++i) xml += L"<i v=\"" + std::to_wstring(i) + L"\"/>";
    xml += L"</list>";
    CMarkup markup(xml.c_str());
    ASSERT_TRUE(markup.IsValid());
    int expected = 0;
    for (CMarkupNode item = markup.GetRoot().GetChild(); item.IsValid(); item = item.GetSibling(), ++expected)
        ASSERT_EQ(std::to_wstring(expected), item.GetAttributeValue(L"v"));
    EXPECT_EQ(5000, expected);
}

TEST(MarkupTest, BufferFormsFollowTheWcsncpyRule)
{
    CMarkup markup(L"<a long=\"abcdef\" x=\"1\"/>");
    const CMarkupNode root = markup.GetRoot();
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_TRUE(root.GetAttributeValue(L"long", buffer, 3));
    EXPECT_EQ(std::wstring(L"abc#####"), std::wstring(buffer, 8));
    EXPECT_TRUE(root.GetAttributeValue(1, buffer, 8));
    EXPECT_EQ(std::wstring(L"1\0\0\0\0\0\0\0", 8), std::wstring(buffer, 8));
    EXPECT_FALSE(root.GetAttributeValue(L"missing", buffer, 8));
    EXPECT_FALSE(root.GetAttributeValue(2, buffer, 8));

    EXPECT_FALSE(markup.Load(L"<a x='1'/>"));
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    markup.GetLastErrorMessage(buffer, 5);
    EXPECT_EQ(std::wstring(L"Expec###"), std::wstring(buffer, 8));
    markup.GetLastErrorLocation(buffer, 8);
    EXPECT_EQ(std::wstring(L"'1'/>\0\0\0", 8), std::wstring(buffer, 8));
}

TEST(MarkupTest, EncodingsDecodeToTheSameDocument)
{
    const std::wstring text = L"<a t=\"\x4E2D\x6587 &amp; x\"><b>\x00E9</b></a>";
    CMarkup reference(text.c_str());
    const std::wstring expected = Describe(reference.GetRoot());
    ASSERT_EQ(L"a{}[t=\x4E2D\x6587 & x,](b{\x00E9}[]())", expected);

    const std::string utf8 = "<a t=\"\xE4\xB8\xAD\xE6\x96\x87 &amp; x\"><b>\xC3\xA9</b></a>";
    const std::string withMark = "\xEF\xBB\xBF" + utf8;
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(utf8.data()), DWORD(utf8.size())));
    EXPECT_EQ(expected, Describe(markup.GetRoot()));
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(withMark.data()), DWORD(withMark.size()), 0));
    EXPECT_EQ(expected, Describe(markup.GetRoot()));

    for (const bool bigEndian : {false, true}) {
        std::vector<BYTE> bytes = Utf16Bytes(text, bigEndian);
        bytes.push_back(0x3C); // an odd trailing byte is not part of any unit
        const std::vector<BYTE> original = bytes;
        ASSERT_TRUE(markup.LoadFromMem(bytes.data(), DWORD(bytes.size()), 1)) << bigEndian << ErrorOf(markup);
        EXPECT_EQ(expected, Describe(markup.GetRoot())) << bigEndian;
        EXPECT_EQ(original, bytes) << "the caller's bytes are left alone";
    }

    const std::string ansi = "<a t=\"plain &lt;\"/>";
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(ansi.data()), DWORD(ansi.size()), 2));
    EXPECT_STREQ(L"plain <", markup.GetRoot().GetAttributeValue(L"t"));
    // No byte-order mark handling in ANSI: the mark's bytes are text.
    const std::string ansiWithMark = "\xEF\xBB\xBF" + ansi;
    EXPECT_FALSE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(ansiWithMark.data()), DWORD(ansiWithMark.size()), 2));
    EXPECT_EQ(L"Expected start tag", ErrorOf(markup));
}

TEST(MarkupTest, BytesWithoutDocumentTextFail)
{
    const BYTE noMark[] = {'<', 0, 'a', 0, '/', 0, '>', 0};
    const BYTE one[] = {0xFF};
    const struct
    {
        const BYTE* bytes;
        DWORD size;
        int encoding;
        const wchar_t* message;
    } cases[] = {
        {noMark, sizeof(noMark), 1, L"Missing byte-order mark"},
        {one, sizeof(one), 1, L"Missing byte-order mark"},
        {noMark, sizeof(noMark), 3, L"Unknown encoding"},
        {noMark, sizeof(noMark), -1, L"Unknown encoding"},
    };
    for (const auto& c : cases) {
        CMarkup markup(L"<loaded/>");
        EXPECT_FALSE(markup.LoadFromMem(c.bytes, c.size, c.encoding)) << c.message;
        EXPECT_EQ(c.message, ErrorOf(markup));
        EXPECT_FALSE(markup.IsValid());
    }
}

class MarkupFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"varnel_markup_" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
        CPaintManagerUI::SetResourcePath(m_folder.c_str());
    }

    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L""); // closes a cached archive before it is deleted
        for (const std::wstring& name : m_files) ::DeleteFileW((m_folder + L"\\" + name).c_str());
        ::RemoveDirectoryW(m_folder.c_str());
        CPaintManagerUI::SetResourcePath(L"");
    }

    void Write(const std::wstring& name, const std::string& bytes)
    {
        const HANDLE h = ::CreateFileW((m_folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD written = 0;
        ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        ::CloseHandle(h);
        ASSERT_EQ(bytes.size(), written);
        m_files.push_back(name);
    }

    // A valid document of exactly size bytes.
    static std::string DocumentOfSize(size_t size)
    {
        std::string xml = "<Window>";
        xml += std::string(size - xml.size() - 9, 'x');
        return xml + "</Window>";
    }

    std::wstring m_folder;
    std::vector<std::wstring> m_files;
};

TEST_F(MarkupFileTest, LoadsFromTheResourcePath)
{
    Write(L"skin.xml", "\xEF\xBB\xBF<Window caption=\"\xE6\x8F\x90\xE7\xA4\xBA\"/>");
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"skin.xml")) << ErrorOf(markup);
    EXPECT_STREQ(L"\x63D0\x793A", markup.GetRoot().GetAttributeValue(L"caption"));

    const std::vector<BYTE> utf16 = Utf16Bytes(L"<Window/>", true);
    Write(L"wide.xml", std::string(utf16.begin(), utf16.end()));
    ASSERT_TRUE(markup.LoadFromFile(L"wide.xml", 1)) << ErrorOf(markup);
    EXPECT_STREQ(L"Window", markup.GetRoot().GetName());

    Write(L"broken.xml", "<Window><Font></Window>");
    EXPECT_FALSE(markup.LoadFromFile(L"broken.xml"));
    EXPECT_EQ(L"Unmatched closing tag", ErrorOf(markup));
    EXPECT_EQ(L"Window>", LocationOf(markup));
}

TEST_F(MarkupFileTest, FileFailuresHaveAnEmptyLocation)
{
    CMarkup markup;
    ASSERT_FALSE(markup.Load(L"<a x='1'/>")); // leaves a location behind
    EXPECT_FALSE(markup.LoadFromFile(L"missing.xml"));
    EXPECT_EQ(L"Error opening file", ErrorOf(markup));
    EXPECT_EQ(L"", LocationOf(markup));

    Write(L"empty.xml", "");
    ASSERT_TRUE(markup.Load(L"<a/>"));
    EXPECT_FALSE(markup.LoadFromFile(L"empty.xml"));
    EXPECT_EQ(L"File is empty", ErrorOf(markup));
    EXPECT_FALSE(markup.IsValid()) << "a failed load releases the previous document";
}

TEST_F(MarkupFileTest, FourMebibytesIsTheLimit)
{
    constexpr size_t limit = 4 * 1024 * 1024;
    Write(L"limit.xml", DocumentOfSize(limit));
    Write(L"over.xml", DocumentOfSize(limit + 1));
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromFile(L"limit.xml")) << ErrorOf(markup);
    EXPECT_EQ(limit - 17, std::wcslen(markup.GetRoot().GetValue()));
    EXPECT_FALSE(markup.LoadFromFile(L"over.xml"));
    EXPECT_EQ(L"File too large", ErrorOf(markup));
}

TEST_F(MarkupFileTest, ReadsMembersOfTheResourceArchive)
{
    Write(L"skin.zip", VarnelTest::StoredZip({{"skin/Login.xml", "<Window caption=\"zip\"/>", false},
                                              {"empty.xml", "", false},
                                              {"bad.xml", "<Window/>", true}}));
    Write(L"loose.xml", "<Loose/>");
    CMarkup markup;
    for (const bool cached : {false, true}) {
        CPaintManagerUI::SetResourceZip(L"skin.zip", cached);
        ASSERT_TRUE(markup.LoadFromFile(L"SKIN\\login.xml")) << cached << ErrorOf(markup);
        EXPECT_STREQ(L"zip", markup.GetRoot().GetAttributeValue(L"caption"));
        const std::pair<const wchar_t*, const wchar_t*> failures[] = {
            {L"loose.xml", L"Could not find ziped file"},
            {L"empty.xml", L"File is empty"},
            {L"bad.xml", L"Could not unzip file"},
        };
        for (const auto& failure : failures) {
            EXPECT_FALSE(markup.LoadFromFile(failure.first)) << failure.first;
            EXPECT_EQ(failure.second, ErrorOf(markup)) << cached;
            EXPECT_EQ(L"", LocationOf(markup));
        }
    }
    CPaintManagerUI::SetResourceZip(L"missing.zip");
    EXPECT_FALSE(markup.LoadFromFile(L"skin/login.xml"));
    EXPECT_EQ(L"Error opening zip file", ErrorOf(markup));

    CPaintManagerUI::SetResourceZip(L"");
    EXPECT_TRUE(markup.LoadFromFile(L"loose.xml")) << ErrorOf(markup);
}
