// Seed corpora: the shipped skin and the gallery, the shared test images
// (PngSuite and the PNG crashers), the archives real zip tools made for the
// archive tests, the image variants ImageMagick made for the decoder tests,
// and documents generated here from the control registry so that every
// class meets every attribute in every value form.

#include "FuzzTargets.h"

#include "support/TestHelpers.h"
#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIMarkup.h"

#include <algorithm>

namespace VarnelFuzz {

using namespace VarnelUI;
using AttrParse::AttrSyntax;

namespace {

std::wstring Source(const wchar_t* relative)
{
    return std::wstring(VARNEL_SOURCE_DIR) + L"/" + relative;
}

std::wstring Binary(const wchar_t* relative)
{
    return std::wstring(VARNEL_BINARY_DIR) + L"/" + relative;
}

std::wstring TestData(const wchar_t* relative)
{
    return std::wstring(VARNEL_TESTDATA_DIR) + L"/" + relative;
}

// The files of a folder matching a pattern, in name order.
std::vector<std::wstring> List(const std::wstring& folder, const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE h = ::FindFirstFileW((folder + L"/" + pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(folder + L"/" + found.cFileName);
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void AddFiles(std::vector<Bytes>& seeds, const std::wstring& folder, const wchar_t* pattern)
{
    for (const std::wstring& path : List(folder, pattern)) seeds.push_back(VarnelTest::ReadBytes(path));
}

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// One value of each syntax per form: ordinary, empty or short, extreme,
// malformed.
constexpr int kValueForms = 6;

std::string ValueForm(AttrSyntax syntax, int form)
{
    static const char* const kText[] = {
        "hello", "", "<b>x</b>{c #FFFF0000}y{/c}<a l>z</a>", "&amp;&lt;&quot;", "\xE4\xB8\xAD\xE6\x96\x87", "a\nb\tc"};
    static const char* const kInt[] = {"5", "-1", "0", "2147483647", "-2147483648", "99999999999"};
    static const char* const kNumbers[] = {"1,2,3,4", "1", "-5,-5", "2147483647,2147483647,1,1", "", "a,b"};
    static const char* const kSize[] = {"10,20", "-1,-1", "0,0", "2147483647,2147483647", "5", ""};
    static const char* const kRect[] = {
        "1,2,3,4", "-10,-10,-20,-20", "0,0,0,0", "2147483647,-2147483648,2147483647,-2147483648", "1,2", ""};
    static const char* const kColor[] = {"#FF00FF00", "#00000000", "FFFFFFFF", "#", "zz", "#123456789"};
    static const char* const kBool[] = {"true", "false", "True", "", "1", "true "};
    static const char* const kImage[] = {
        "file='button.png'",
        "file='missing.png' source='0,0,10,10'",
        "file='button.png' corner='1000,1000,1000,1000' hole='true' xtiled='true' ytiled='true'",
        "file='button.png' dest='-5,-5,100000,100000' fade='300' mask='#FFFF00FF' source='-9,-9,99999,99999'",
        "res='1' restype='PNG'",
        "garbage"};
    static const char* const kFont[] = {"0", "-1", "100", "2147483647", "", "1"};
    static const char* const kList[] = {"text=\"a\" bkcolor=\"#FFFF0000\"", "x=\"", "=\"\"",
                                        "width=\"-5\" height=\"99999\"",    "",     "a=\"1\" b"};
    switch (syntax) {
    case AttrSyntax::Text: return kText[form];
    case AttrSyntax::Int: return kInt[form];
    case AttrSyntax::Numbers: return kNumbers[form];
    case AttrSyntax::Size: return kSize[form];
    case AttrSyntax::Rect: return kRect[form];
    case AttrSyntax::Color: return kColor[form];
    case AttrSyntax::Bool: return kBool[form];
    case AttrSyntax::Image: return kImage[form];
    case AttrSyntax::FontId: return kFont[form];
    case AttrSyntax::AttributeList: return kList[form];
    }
    return "";
}

std::string Escape(const std::string& value)
{
    std::string out;
    for (const char c : value) {
        if (c == '"') out += "&quot;";
        else if (c == '<') out += "&lt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

std::string Narrow(LPCWSTR text)
{
    return VarnelTest::Narrow(text);
}

std::string Attributes(const std::vector<AttrParse::TAttributeInfo>& attributes, int form)
{
    std::string out;
    for (const AttrParse::TAttributeInfo& a : attributes)
        out += " " + Narrow(a.name) + "=\"" + Escape(ValueForm(a.syntax, form)) + "\"";
    return out;
}

// Every attribute value of the skin documents, for the value targets.
std::vector<std::string> SkinAttributeValues()
{
    std::vector<std::string> values;
    for (const Bytes& document : SkinDocumentSeeds()) {
        CMarkup markup;
        if (!markup.LoadFromMem(document.data(), static_cast<DWORD>(document.size()))) continue;
        std::vector<CMarkupNode> pending = {markup.GetRoot()};
        while (!pending.empty()) {
            const CMarkupNode node = pending.back();
            pending.pop_back();
            for (int i = 0; i < node.GetAttributeCount(); ++i) values.push_back(Narrow(node.GetAttributeValue(i)));
            for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling())
                pending.push_back(child);
        }
    }
    return values;
}

std::vector<std::string> Utf16(const std::vector<std::string>& tokens)
{
    std::vector<std::string> out;
    for (const std::string& token : tokens) {
        std::string wide;
        for (const char c : token) wide += {c, '\0'};
        out.push_back(wide);
    }
    return out;
}

// A minimal PE image, 32- or 64-bit, with raw sections of 0x200 bytes and
// the trailer after the last one.
Bytes MakeExecutable(bool pe64, WORD sections, const std::string& trailer)
{
    const DWORD optionalSize = pe64 ? 240 : 224;
    const DWORD tableAt = 0x40 + 4 + 20 + optionalSize;
    const DWORD firstRaw = (tableAt + sections * 40u + 0x1FF) & ~0x1FFu;
    const size_t imageEnd = firstRaw + sections * 0x200u;
    Bytes image(imageEnd + trailer.size(), 0);
    const auto put = [&image](size_t at, DWORD value, int width) {
        for (int i = 0; i < width; ++i) image[at + static_cast<size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
    };
    image[0] = 'M';
    image[1] = 'Z';
    put(0x3C, 0x40, 4);
    put(0x40, 0x00004550, 4); // "PE\0\0"
    put(0x44, pe64 ? 0x8664 : 0x14C, 2);
    put(0x46, sections, 2);
    put(0x54, optionalSize, 2);
    put(0x58, pe64 ? 0x20B : 0x10B, 2);
    for (WORD s = 0; s < sections; ++s) {
        const size_t entry = tableAt + s * 40u;
        put(entry, 0x7865742E + s, 4); // ".tex"
        put(entry + 8, 0x200, 4);
        put(entry + 12, 0x1000 * (s + 1u), 4);
        put(entry + 16, 0x200, 4);
        put(entry + 20, firstRaw + s * 0x200u, 4);
    }
    for (size_t i = 0; i < trailer.size(); ++i) image[imageEnd + i] = static_cast<BYTE>(trailer[i]);
    return image;
}

} // namespace

std::wstring GalleryFolder()
{
    return Source(L"resources/gallery/");
}

std::wstring FailureFolder()
{
    const std::wstring folder = Binary(L"fuzzfailures");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring ScratchPath(const wchar_t* name)
{
    const std::wstring folder = Binary(L"fuzzscratch");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"/" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
}

std::wstring Widen(const BYTE* data, size_t size)
{
    if (size == 0) return std::wstring();
    const auto* text = reinterpret_cast<const char*>(data);
    const int n = static_cast<int>(size);
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text, n, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(units, 0)), L'\0');
    if (units > 0) ::MultiByteToWideChar(CP_UTF8, 0, text, n, wide.data(), units);
    // The parsers read up to a terminator: an embedded one ends the text.
    wide.resize(std::wcslen(wide.c_str()));
    return wide;
}

std::vector<Bytes> SkinDocumentSeeds()
{
    std::vector<Bytes> seeds;
    AddFiles(seeds, Source(L"resources/skin"), L"*.xml");
    AddFiles(seeds, Source(L"resources/gallery"), L"*.xml");
    AddFiles(seeds, Source(L"tests/fixtures/builder"), L"*.xml");
    AddFiles(seeds, Source(L"tests/fixtures/windowimplbase"), L"*.xml");
    AddFiles(seeds, Source(L"resources"), L"config.xml");
    return seeds;
}

// Little- and big-endian, each with its byte-order mark.
std::vector<Bytes> Utf16DocumentSeeds()
{
    std::vector<Bytes> seeds;
    for (const Bytes& document : SkinDocumentSeeds()) {
        const std::wstring text = Widen(document.data(), document.size());
        for (const bool bigEndian : {false, true}) {
            Bytes bytes = {bigEndian ? BYTE{0xFE} : BYTE{0xFF}, bigEndian ? BYTE{0xFF} : BYTE{0xFE}};
            for (const wchar_t unit : text) {
                const BYTE lo = static_cast<BYTE>(unit);
                const BYTE hi = static_cast<BYTE>(unit >> 8);
                bytes.insert(bytes.end(), {bigEndian ? hi : lo, bigEndian ? lo : hi});
            }
            seeds.push_back(bytes);
        }
    }
    return seeds;
}

// The skins, and for every registered class and value form a window whose
// root carries every window attribute and whose control carries every
// attribute of its class, with a child and a Default list for it.
std::vector<Bytes> BuilderSeeds()
{
    std::vector<Bytes> seeds = SkinDocumentSeeds();
    for (const TControlClass& c : CControlRegistry::Classes()) {
        const std::string element = Narrow(c.names.element);
        const std::vector<AttrParse::TAttributeInfo> attributes = CControlRegistry::Attributes(c.names.element);
        for (int form = 0; form < kValueForms; ++form) {
            std::string doc = "<Window" + Attributes(CDialogBuilder::GetWindowAttributes(), form) + ">";
            doc += "<Font name=\"Arial\" size=\"12\" default=\"true\"/><Image name=\"button.png\"/>";
            doc += "<Default name=\"" + element + "\" value=\"" + Escape(ValueForm(AttrSyntax::AttributeList, form)) +
                   "\"/><VerticalLayout><" + element + Attributes(attributes, form) + "><Label text=\"child\"/></" +
                   element + "><Include source=\"header.xml\"/></VerticalLayout></Window>";
            seeds.push_back(ToBytes(doc));
        }
    }
    return seeds;
}

std::vector<Bytes> AttributeValueSeeds()
{
    std::vector<Bytes> seeds;
    for (const std::string& value : SkinAttributeValues()) seeds.push_back(ToBytes(value));
    for (int form = 0; form < kValueForms; ++form) {
        for (const AttrSyntax syntax :
             {AttrSyntax::Text, AttrSyntax::Int, AttrSyntax::Numbers, AttrSyntax::Size, AttrSyntax::Rect,
              AttrSyntax::Color, AttrSyntax::Bool, AttrSyntax::Image, AttrSyntax::FontId, AttrSyntax::AttributeList})
            seeds.push_back(ToBytes(ValueForm(syntax, form)));
    }
    return seeds;
}

std::vector<Bytes> ImageDescriptionSeeds()
{
    std::vector<Bytes> seeds;
    for (const std::string& value : SkinAttributeValues())
        if (value.find(".png") != std::string::npos) seeds.push_back(ToBytes(value));
    for (int form = 0; form < kValueForms; ++form) seeds.push_back(ToBytes(ValueForm(AttrSyntax::Image, form)));
    seeds.push_back(ToBytes("file='button.png' source='0,0,20,20'\nfade='128' dest='1,1,30,30'"));
    return seeds;
}

std::vector<Bytes> FormattedTextSeeds()
{
    std::vector<Bytes> seeds;
    for (const char* text :
         {"<b>bold</b> plain", "{c #FF0000}red{/c} <c FF0000>red</c>", "<a next>Next</a> and <a>a long link text</a>",
          "<f 0>font</f><f Arial 14 bold underline italic>face</f>", "<i button.png 4 2> <i file='button.png'>",
          "<p 5>para<n>line</p><x 10>moved<y 30>tall", "<r><b></r> <s>selected</s> <u>under</u>",
          "<{> <}> {<} {>} < { <q> </q>", "line1\nline2\n\n<n><n>", "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww x"})
        seeds.push_back(ToBytes(text));
    for (const std::string& value : SkinAttributeValues())
        if (value.find('<') != std::string::npos || value.find('{') != std::string::npos)
            seeds.push_back(ToBytes(value));
    return seeds;
}

std::vector<Bytes> ArchiveSeeds()
{
    std::vector<Bytes> seeds;
    AddFiles(seeds, Binary(L"zipfixtures"), L"*.zip");
    return seeds;
}

std::vector<Bytes> ImageSeeds()
{
    std::vector<Bytes> seeds;
    AddFiles(seeds, Source(L"resources/skin"), L"*.png");
    AddFiles(seeds, TestData(L"pngsuite"), L"*.png");
    AddFiles(seeds, TestData(L"png-crashers"), L"*.png");
    for (const wchar_t* pattern : {L"*.jpg", L"*.bmp", L"*.gif", L"*.png"})
        AddFiles(seeds, Binary(L"imagefixtures/variants"), pattern);
    return seeds;
}

std::vector<Bytes> LaunchSettingsSeeds()
{
    std::vector<Bytes> seeds;
    AddFiles(seeds, Source(L"resources"), L"config.xml");
    seeds.push_back(ToBytes("<c><loginWebRect value=\"1, 2, 3\"/><closeRect name=\"x\" value=\"1,2,3,4\"/>"
                            "<clientName value=\"\"/><loginFrameSize value=\"-1;99999999999\"/>"
                            "<loginURL value=\"a\"/><loginURL value=\"b\"/></c>"));
    return seeds;
}

std::vector<Bytes> ExecutableSeeds()
{
    const std::string trailer = "http://login.example.com/index.html|tencent://message/?uin=10000&Site=game";
    return {MakeExecutable(false, 3, trailer),
            MakeExecutable(true, 1, trailer),
            MakeExecutable(false, 0, trailer),
            MakeExecutable(false, 2, std::string(300, 'a') + "|b"),
            MakeExecutable(false, 2, std::string("a\0b|c", 5)),
            MakeExecutable(true, 4, "|only")};
}

std::vector<std::string> MarkupTokens()
{
    return {"<",     ">",    "/>",       "</",  "=\"",   "\"",       "&amp;",        "&lt;", "&quot;",
            "&#65;", "&",    "<!--",     "-->", "<?xml", "?>",       "\xEF\xBB\xBF", " ",    "\t\r\n",
            "<a>",   "</a>", "<Window>", "=",   "'",     "\xC3\x28", "\xF0\x9F\x98"};
}

std::vector<std::string> SkinTokens()
{
    std::vector<std::string> tokens = MarkupTokens();
    for (const TControlClass& c : CControlRegistry::Classes()) {
        tokens.push_back("<" + Narrow(c.names.element) + " ");
        for (const AttrParse::TAttributeInfo& a : CControlRegistry::Attributes(c.names.element))
            tokens.push_back(" " + Narrow(a.name) + "=\"");
    }
    for (const char* token : {"<Include source=\"theme.xml\" count=\"3\"/>", "<Include source=\"<Button/>\"/>",
                              "<Default name=\"Button\" value=\"", "<Font name=\"x\" size=\"", "<Image name=\""})
        tokens.push_back(token);
    return tokens;
}

std::vector<std::string> ValueTokens()
{
    return {",",        "#",          "'",          "\"",          "=",          " ",
            "-",        "0",          "2147483647", "-2147483648", "4294967296", "99999999999999999999",
            "0x",       "true",       "file='",     "res='",       "restype='",  "source='",
            "dest='",   "corner='",   "mask='",     "fade='",      "hole='",     "xtiled='",
            "ytiled='", "button.png", "=\"",        "\" "};
}

std::vector<std::string> FormattedTextTokens()
{
    return {"<b>",
            "</b>",
            "<i>",
            "</i>",
            "<u>",
            "</u>",
            "<a ",
            "</a>",
            "<c #",
            "</c>",
            "<f ",
            "</f>",
            "<p ",
            "</p>",
            "<r>",
            "</r>",
            "<s>",
            "<n>",
            "<x ",
            "<y ",
            "<i button.png ",
            "{b}",
            "{/b}",
            "{",
            "}",
            "<",
            ">",
            "2147483647",
            "-2147483648",
            "\n",
            " ",
            "\xE2\x80\x8B",
            "file='button.png'"};
}

std::vector<std::string> BinaryTokens()
{
    std::vector<std::string> tokens = {std::string("PK\3\4", 4),
                                       std::string("PK\1\2", 4),
                                       std::string("PK\5\6", 4),
                                       "IHDR",
                                       "IDAT",
                                       "IEND",
                                       "PLTE",
                                       "tRNS",
                                       "GIF89a",
                                       "BM",
                                       "\xFF\xD8\xFF\xE0",
                                       "\xFF\xC0",
                                       "\xFF\xDA",
                                       "\xFF\xD9",
                                       "MZ",
                                       std::string("PE\0\0", 4),
                                       "|"};
    for (const std::string& t : Utf16(MarkupTokens())) tokens.push_back(t);
    return tokens;
}

} // namespace VarnelFuzz
