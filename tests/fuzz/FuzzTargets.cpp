// Each target feeds its bytes to one input path and checks only what must
// hold for any input; the harness around it catches crashes, hangs, escaping
// exceptions and growth. Variations (encodings, styles, sizes) are chosen by
// a hash of the input, so an input always runs the same way.

#include "FuzzTargets.h"

#include "app/LaunchSettings.h"
#include "app/Trailer.h"
#include "support/DibSurface.h"
#include "support/TestHelpers.h"
#include "varnelui/control/UIControl.h"
#include "varnelui/core/UIControlRegistry.h"
#include "varnelui/core/UIDlgBuilder.h"
#include "varnelui/core/UIManager.h"
#include "varnelui/core/UIRender.h"
#include "varnelui/utils/UIZip.h"

#include <memory>
#include <stdexcept>

namespace VarnelFuzz {

using namespace VarnelUI;

namespace {

uint64_t Hash(const BYTE* data, size_t size)
{
    uint64_t h = 0xCBF29CE484222325ULL;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 0x100000001B3ULL;
    return h;
}

void Check(bool condition, const char* what)
{
    if (!condition) throw std::logic_error(what);
}

// Every skin target resolves images and includes in the gallery.
void UseGallery()
{
    static const bool once = [] {
        CPaintManagerUI::SetResourcePath(GalleryFolder().c_str());
        return true;
    }();
    (void)once;
}

// A window for the paint managers that need one (window attributes are
// applied only then). Message-only, so no control taking the focus can make
// it the active window: under wine, destroying windows while it is costs
// seconds each. Its procedure is the default one: nothing the controls post
// to it reaches them after they are gone.
HWND HostWindow()
{
    static const HWND hWnd = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VarnelFuzzHost";
        ::RegisterClassW(&wc);
        return ::CreateWindowExW(0, L"VarnelFuzzHost", L"fuzz", WS_POPUP, 0, 0, 400, 300, HWND_MESSAGE, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    }();
    return hWnd;
}

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// Visits every element without recursion: nesting may be as deep as the
// document is long.
void WalkTree(CMarkupNode root)
{
    for (CMarkupNode node = root; node.IsValid();) {
        wchar_t buffer[8];
        (void)node.GetName();
        (void)node.GetValue();
        const int count = node.GetAttributeCount();
        Check(count >= 0 && count <= 64, "attribute count out of range");
        for (int i = 0; i < count; ++i) {
            LPCWSTR name = node.GetAttributeName(i);
            Check(node.HasAttribute(name), "a mapped attribute is not found by its name");
            (void)node.GetAttributeValue(name);
            node.GetAttributeValue(i, buffer, std::size(buffer));
        }
        if (node.HasChildren()) {
            (void)node.GetChild(node.GetChild().GetName());
            node = node.GetChild();
            continue;
        }
        while (node.IsValid() && !node.HasSiblings()) node = node.GetParent();
        if (node.IsValid()) node = node.GetSibling();
    }
}

void LoadMarkup(const BYTE* data, size_t size, int encoding)
{
    CMarkup markup;
    if (markup.LoadFromMem(data, static_cast<DWORD>(size), encoding)) {
        WalkTree(markup.GetRoot());
        return;
    }
    wchar_t message[100];
    wchar_t location[50];
    markup.GetLastErrorMessage(message, std::size(message));
    markup.GetLastErrorLocation(location, std::size(location));
    Check(!markup.IsValid() && !markup.GetRoot().IsValid(), "a failed load left a document");
}

void FuzzMarkupUtf8(const BYTE* data, size_t size)
{
    LoadMarkup(data, size, 0);
}

void FuzzMarkupUtf16(const BYTE* data, size_t size)
{
    LoadMarkup(data, size, 1);
}

void FuzzMarkupAnsi(const BYTE* data, size_t size)
{
    LoadMarkup(data, size, 2);
}

// Builds the document into a window's paint manager, lays it out and paints
// it off screen: attribute values reach the code that uses them.
void FuzzBuilder(const BYTE* data, size_t size)
{
    UseGallery();
    const std::wstring text = Widen(data, size);
    if (text.empty() || text[0] != L'<') return; // anything else names a file
    auto pm = std::make_unique<CPaintManagerUI>();
    pm->Init(HostWindow());
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(STRINGorID(text.c_str()), nullptr, nullptr, pm.get());
    if (pRoot != nullptr) {
        pm->AttachDialog(pRoot);
        const SIZE init = pm->GetInitSize();
        const RECT rc = {0, 0, std::clamp<LONG>(init.cx, 1, 640), std::clamp<LONG>(init.cy, 1, 480)};
        pRoot->SetPos(rc);
        ::DeleteObject(CRenderEngine::GenerateBitmap(pm.get(), pRoot, rc));
    }
    pm.reset();
    DrainMessages();
}

// The value parsers, then every attribute of one control class set to the value.
void FuzzAttributes(const BYTE* data, size_t size)
{
    const std::wstring value = Widen(data, size);
    LPCWSTR v = value.c_str();
    long numbers[4];
    Check(AttrParse::ParseInts(v, numbers, 4) <= 4, "more numbers than asked for");
    (void)AttrParse::ParseInt(v);
    (void)AttrParse::ParseRect(v);
    (void)AttrParse::ParseSize(v);
    (void)AttrParse::ParseBkColor(v);
    (void)AttrParse::ParseColor(v);
    (void)AttrParse::ParseBool(v);
    LPCWSTR const end = v + value.size();
    const auto inside = [v, end](LPCWSTR a, int na, LPCWSTR b, int nb) {
        Check(a >= v && na >= 0 && a + na <= end && b >= v && nb >= 0 && b + nb <= end, "an item outside the text");
    };
    AttrParse::ForEachImageItem(v, inside);
    AttrParse::ForEachListAttribute(v, inside);

    const std::vector<TControlClass>& classes = CControlRegistry::Classes();
    const TControlClass& controlClass = classes[Hash(data, size) % classes.size()];
    const std::unique_ptr<CControlUI> pControl(controlClass.create());
    for (const AttrParse::TAttributeInfo& attribute : CControlRegistry::Attributes(controlClass.names.element))
        pControl->SetAttribute(attribute.name, v);
    pControl->ApplyAttributeList(v);
}

// A description and, after the first line feed, a modify text.
void FuzzImageDescription(const BYTE* data, size_t size)
{
    UseGallery();
    const std::wstring text = Widen(data, size);
    const size_t split = text.find(L'\n');
    const std::wstring description = text.substr(0, split);
    const std::wstring modify = split == std::wstring::npos ? std::wstring() : text.substr(split + 1);
    CPaintManagerUI pm;
    VarnelTest::DibSurface surface(120, 80);
    const RECT rcItem = {10, 5, 110, 75};
    const RECT rcPaint = {0, 0, 120, 80};
    CRenderEngine::DrawImageString(surface.dc(), &pm, rcItem, rcPaint, description.c_str(),
                                   modify.empty() ? nullptr : modify.c_str());
}

void FuzzFormattedText(const BYTE* data, size_t size)
{
    UseGallery();
    const std::wstring text = Widen(data, size);
    const uint64_t h = Hash(data, size);
    constexpr UINT kStyles[] = {DT_CENTER,    DT_RIGHT,      DT_VCENTER,     DT_BOTTOM,
                                DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS};
    UINT style = 0;
    for (size_t i = 0; i < std::size(kStyles); ++i)
        if ((h >> i) & 1) style |= kStyles[i];
    const int slots = static_cast<int>((h >> 8) % 9);
    RECT links[8] = {};
    CUIString names[8];
    CPaintManagerUI pm;
    VarnelTest::DibSurface surface(320, 120);
    const RECT rcBox = {0, 0, 1 + static_cast<LONG>((h >> 16) % 320), 1 + static_cast<LONG>((h >> 24) % 120)};

    RECT rc = rcBox;
    int n = slots;
    CRenderEngine::DrawHtmlText(surface.dc(), &pm, rc, text.c_str(), 0xFF000000, links, names, n, style | DT_CALCRECT);
    Check(n >= 0 && n <= slots, "more links than slots");
    // Twice, so the second run finds a link under the mouse among the first's.
    for (int pass = 0; pass < 2; ++pass) {
        rc = rcBox;
        n = slots;
        CRenderEngine::DrawHtmlText(surface.dc(), &pm, rc, text.c_str(), 0xFF000000, links, names, n, style);
        Check(n >= 0 && n <= slots, "more links than slots");
    }
}

void ExerciseArchive(ZipHandle hz, uint64_t h)
{
    ZipItemInfo info = {};
    if (ZipGetItem(hz, -1, &info) != ZIP_OK) return;
    const int count = std::min(info.index, 64);
    const DWORD piece = 1 + static_cast<DWORD>(h % 4096);
    std::vector<BYTE> buffer;
    for (int i = 0; i < count; ++i) {
        if (ZipGetItem(hz, i, &info) != ZIP_OK) continue;
        int index = -1;
        ZipItemInfo found = {};
        if (ZipFindItem(hz, info.name, (h & 1) != 0, &index, &found) == ZIP_OK)
            Check(found.uncompressedSize == info.uncompressedSize, "a member found by name differs");
        const DWORD whole = std::min<DWORD>(info.uncompressedSize, 4u << 20);
        buffer.resize(std::max<DWORD>(whole, piece));
        ZipUnpackToMemory(hz, i, buffer.data(), whole);
        // Each ZIP_MORE delivers up to a piece: one piece short of the
        // declared size plus a piece, the member must have ended.
        ULONGLONG delivered = 0;
        ZRESULT rc = ZIP_MORE;
        while (rc == ZIP_MORE && delivered < ULONGLONG{info.uncompressedSize} + piece) {
            rc = ZipUnpackToMemory(hz, i, buffer.data(), piece);
            if (rc == ZIP_MORE) delivered += piece;
        }
        Check(rc != ZIP_MORE, "a member delivered more than its declared size");
    }
}

void FuzzArchive(const BYTE* data, size_t size)
{
    const uint64_t h = Hash(data, size);
    const CZipArchive memory(ZipOpenMemory(data, static_cast<DWORD>(size)));
    if (memory) ExerciseArchive(memory.get(), h);
    // Now and then from a file, the other source the reader knows.
    if ((h & 6) == 0) {
        const std::wstring path = ScratchPath(L"archive.zip");
        VarnelTest::WriteFile(path, std::vector<BYTE>(data, data + size));
        const CZipArchive file(ZipOpenFile(path.c_str()));
        Check(!file == !memory, "an archive opens from memory but not from a file, or the other way");
        if (file) ExerciseArchive(file.get(), h);
    }
}

void FuzzImageDecoder(const BYTE* data, size_t size)
{
    const std::wstring path = ScratchPath(L"image.bin");
    VarnelTest::WriteFile(path, std::vector<BYTE>(data, data + size));
    const DWORD mask = (Hash(data, size) & 1) != 0 ? 0xFFFF00FF : 0;
    TImageInfo* pImage = CRenderEngine::LoadImageW(path.c_str(), nullptr, mask);
    if (pImage == nullptr) return;
    Check(pImage->width > 0 && pImage->height > 0 && pImage->width <= 16384 && pImage->height <= 16384,
          "an image of impossible size");
    VarnelTest::DibSurface surface(48, 48);
    const RECT rc = {0, 0, 48, 48};
    CRenderEngine::DrawImage(surface.dc(), *pImage, rc, rc, RECT{0, 0, pImage->width, pImage->height}, RECT{2, 2, 2, 2},
                             200);
    CRenderEngine::FreeImage(pImage);
}

void FuzzLaunchSettings(const BYTE* data, size_t size)
{
    CMarkup markup;
    LaunchSettings settings;
    if (markup.LoadFromMem(data, static_cast<DWORD>(size), 0)) Check(ParseLaunchSettings(markup, settings), "no root");
}

void FuzzTrailer(const BYTE* data, size_t size)
{
    DWORD end = 0;
    if (!ImageEndOffsetOf(data, size, end) || end > size) return;
    const std::string trailer = TrailerTextOf(data + end, size - end);
    Check(trailer.size() <= 255, "a trailer longer than 255 bytes");
    CUIString field;
    for (int i = -1; i < 3; ++i) TrailerFieldOf(trailer, i, field);
    for (const std::string& piece : SplitString(trailer, "|")) Check(!piece.empty(), "an empty piece");
}

} // namespace

const std::vector<TFuzzTarget>& FuzzTargets()
{
    static const std::vector<TFuzzTarget> targets = {
        {"markup_utf8", &FuzzMarkupUtf8, &SkinDocumentSeeds, &MarkupTokens},
        {"markup_utf16", &FuzzMarkupUtf16, &Utf16DocumentSeeds, &BinaryTokens},
        {"markup_ansi", &FuzzMarkupAnsi, &SkinDocumentSeeds, &MarkupTokens},
        {"builder", &FuzzBuilder, &BuilderSeeds, &SkinTokens},
        {"attributes", &FuzzAttributes, &AttributeValueSeeds, &ValueTokens},
        {"image_description", &FuzzImageDescription, &ImageDescriptionSeeds, &ValueTokens},
        {"formatted_text", &FuzzFormattedText, &FormattedTextSeeds, &FormattedTextTokens},
        {"archive", &FuzzArchive, &ArchiveSeeds, &BinaryTokens},
        {"image_decoder", &FuzzImageDecoder, &ImageSeeds, &BinaryTokens},
        {"launch_settings", &FuzzLaunchSettings, &LaunchSettingsSeeds, &MarkupTokens},
        {"trailer", &FuzzTrailer, &ExecutableSeeds, &BinaryTokens},
    };
    return targets;
}

const TFuzzTarget* FindFuzzTarget(const std::string& name)
{
    const std::string target = name.substr(0, name.find('-'));
    for (const TFuzzTarget& t : FuzzTargets())
        if (target == t.name) return &t;
    return nullptr;
}

} // namespace VarnelFuzz
