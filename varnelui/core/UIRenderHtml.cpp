// Formatted text: a text with inline tags for fonts, colours, links, images,
// paragraphs and selection, wrapped into a rectangle.
//
// Every line is run twice while drawing: a measuring pass finds the line's
// height (its tallest font or image) and records the link rectangles, then the
// state of the line's start is restored and a drawing pass puts the runs on a
// shared bottom line. Measuring only (DT_CALCRECT) runs each line once.

#include "varnelui/core/UIRender.h"

#include "varnelui/core/UIColor.h"
#include "varnelui/core/UIManager.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace VarnelUI {

namespace {

constexpr size_t kStackReserve = 10;
// Open font, colour and paragraph tags deeper than this are counted but not
// stacked. Real texts nest a handful; the stacks are copied at the start of
// every line (each line is run twice), so a text of thousands of unclosed
// tags would otherwise cost its depth on every line.
constexpr size_t kMaxTagNesting = 64;
// Numbers in tags are limited so that pen arithmetic cannot overflow and a
// stray digit cannot ask the font engine for glyphs thousands of pixels high.
constexpr long kMaxTagPixels = 100000;
constexpr long kMaxFontSize = 1000;
constexpr int kMeasureWidth = 9999;
constexpr int kMeasureHeight = 100;

bool IsOpenBracket(wchar_t c)
{
    return c == L'<' || c == L'{';
}

bool IsCloseBracket(wchar_t c)
{
    return c == L'>' || c == L'}';
}

bool IsTagLetter(wchar_t c)
{
    return c >= L'a' && c <= L'z';
}

// Lines may break after anything that is not an ASCII letter.
bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool AtRawEnd(LPCWSTR p)
{
    return std::wcsncmp(p, L"</r>", 4) == 0 || std::wcsncmp(p, L"{/r}", 4) == 0;
}

// The arguments of an opening tag, [begin, end), without the letter, the
// leading spaces and the closing bracket.
struct TTagArgs
{
    LPCWSTR begin;
    LPCWSTR end;

    bool Empty() const { return begin == end; }
    CUIString Text() const { return CUIString(begin, static_cast<int>(end - begin)); }
};

enum class TagKind { None, Escape, Open, Close };

// The style a tag adds to the current font.
enum class FontStyle { Bold, Underline, Italic };

// How a run of text begins: a bracket that opens no tag is taken as text.
enum class RunStart { Text, BracketAsText };

// One bracketed construct at the start of the text.
struct TTag
{
    TagKind kind = TagKind::None;
    wchar_t letter = 0; // the tag letter, or the character an escape stands for
    TTagArgs args{};
    LPCWSTR next = nullptr; // the text after the construct
};

LPCWSTR SkipToCloseBracket(LPCWSTR p)
{
    while (*p != 0 && !IsCloseBracket(*p)) ++p;
    return p;
}

TTag ReadTag(LPCWSTR p)
{
    TTag tag;
    if (!IsOpenBracket(p[0]) || p[1] == 0) return tag;
    const bool escape = (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') ||
                        (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}');
    if (escape) {
        tag.kind = TagKind::Escape;
        tag.letter = p[1];
        tag.next = p + 3;
        return tag;
    }
    if (IsTagLetter(p[1]) && (p[2] == L' ' || IsCloseBracket(p[2]))) {
        tag.kind = TagKind::Open;
        tag.letter = p[1];
        LPCWSTR arg = p + 2;
        while (*arg == L' ') ++arg;
        const LPCWSTR close = SkipToCloseBracket(arg);
        tag.args = {arg, close};
        tag.next = *close != 0 ? close + 1 : close;
        return tag;
    }
    if (p[1] == L'/' && IsTagLetter(p[2])) {
        tag.kind = TagKind::Close;
        tag.letter = p[2];
        const LPCWSTR close = SkipToCloseBracket(p + 3);
        tag.next = *close != 0 ? close + 1 : close;
        return tag;
    }
    return tag;
}

// A decimal number as wcstol reads it from p, limited to [lo, hi]; def when
// there is no number. p moves past what was read.
long ReadDecimal(LPCWSTR& p, long def, long lo, long hi)
{
    LPWSTR end = nullptr;
    const long long value = std::wcstoll(p, &end, 10);
    if (end == p) return def;
    p = end;
    return static_cast<long>(std::clamp<long long>(value, lo, hi));
}

// A colour as "#RRGGBB" or "AARRGGBB" in hexadecimal. The digits are read as
// a signed 32-bit number, so values with the top bit set end as 0x7FFFFFFF.
DWORD ReadColor(LPCWSTR p)
{
    while (*p == L' ') ++p;
    if (*p == L'#') ++p;
    const long long value = std::wcstoll(p, nullptr, 16);
    return static_cast<DWORD>(static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX)));
}

// The image an "i" tag names: either "name [count [index]]" or image
// description items (file='...' res='...' restype='...'). Only the tag's own
// text is looked at, even when description items follow later in the text.
struct TImageTag
{
    CUIString name;
    CUIString type;
    int count = 1;
    int index = 0;
};

TImageTag ReadImageTag(const TTagArgs& args)
{
    TImageTag image;
    const CUIString text = args.Text();
    if (text.Find(L"file='") < 0 && text.Find(L"res='") < 0) {
        LPCWSTR p = text.GetData();
        LPCWSTR nameEnd = p;
        while (*nameEnd != 0 && *nameEnd != L' ') ++nameEnd;
        image.name.Assign(p, static_cast<int>(nameEnd - p));
        p = nameEnd;
        image.count = static_cast<int>(ReadDecimal(p, 1, 1, INT_MAX));
        image.index = static_cast<int>(ReadDecimal(p, 0, INT_MIN, INT_MAX));
        if (image.index < 0 || image.index >= image.count) image.index = 0;
        return image;
    }
    // key='value' items separated by spaces; a syntax error ends the list.
    LPCWSTR p = text.GetData();
    for (;;) {
        while (*p == L' ') ++p;
        LPCWSTR key = p;
        while (*p != 0 && *p != L'=' && *p != L' ') ++p;
        const CUIString sKey(key, static_cast<int>(p - key));
        while (*p == L' ') ++p;
        if (*p++ != L'=') break;
        while (*p == L' ') ++p;
        if (*p++ != L'\'') break;
        LPCWSTR value = p;
        while (*p != 0 && *p != L'\'') ++p;
        if (*p == 0) break;
        const CUIString sValue(value, static_cast<int>(p - value));
        ++p;
        if (sKey == L"file" || sKey == L"res") image.name = sValue;
        else if (sKey == L"restype") image.type = sValue;
    }
    return image;
}

// A tag stack with the vector operations the renderer uses. Past
// kMaxTagNesting a push leaves the top as it is and is only counted, and pops
// take from that count first, so every closing tag still pairs with its own
// opening tag.
template <class T>
class CTagStack
{
public:
    CTagStack() { m_items.reserve(kStackReserve); }
    bool empty() const { return m_items.empty(); }
    const T& back() const { return m_items.back(); }
    void push_back(const T& item)
    {
        if (m_items.size() < kMaxTagNesting) m_items.push_back(item);
        else ++m_nDeeper;
    }
    void pop_back()
    {
        if (m_nDeeper > 0) --m_nDeeper;
        else if (!m_items.empty()) m_items.pop_back();
    }

private:
    std::vector<T> m_items;
    size_t m_nDeeper = 0;
};

// What a line restores when it is run a second time to be drawn.
struct TFlow
{
    LPCWSTR p = nullptr;
    CTagStack<TFontInfo*> fonts;
    CTagStack<DWORD> colors;
    CTagStack<int> spacings;
    POINT pt{};
    int cyLine = 0;
    bool inRaw = false;
    bool inSelected = false;
    bool inLink = false;
    int linkIndex = 0;
    POINT linkStart{};
};

class CHtmlTextRenderer
{
public:
    CHtmlTextRenderer(HDC hDC, CPaintManagerUI* pManager, RECT& rc, DWORD dwTextColor, RECT* prcLinks,
                      CUIString* sLinks, int nLinkSlots, UINT uStyle)
        : m_hDC(hDC),
          m_pManager(pManager),
          m_rc(rc),
          m_dwTextColor(dwTextColor),
          m_prcLinks(prcLinks),
          m_sLinks(sLinks),
          m_nLinkSlots(prcLinks != nullptr && sLinks != nullptr ? std::max(nLinkSlots, 0) : 0),
          m_uStyle(uStyle),
          m_bDraw((uStyle & DT_CALCRECT) == 0)
    {
    }

    // Lays out (and draws) the text; returns the number of links recorded.
    int Run(LPCWSTR pstrText);

private:
    bool SingleLine() const { return (m_uStyle & DT_SINGLELINE) != 0; }
    bool Drawing() const { return m_bDraw && m_bDrawPass; }
    bool Measuring() const { return !m_bDrawPass; }
    bool AtLeftEdge() const { return m_flow.pt.x <= m_rc.left; }

    TFontInfo* CurrentFont() const
    {
        return m_flow.fonts.empty() ? m_pManager->GetDefaultFontInfo() : m_flow.fonts.back();
    }
    int Spacing() const { return m_flow.spacings.empty() ? 0 : m_flow.spacings.back(); }
    int FontHeight() const { return m_tm.tmHeight + m_tm.tmExternalLeading; }
    int BaseLineHeight() const { return FontHeight() + Spacing(); }

    void FindHoverLink();
    void ApplyFont();
    void ApplyColor();
    void ApplySelection();
    void ApplyAll();

    void PushFont(TFontInfo* pFont);
    void PushStyledFont(FontStyle style);
    void PushFontTag(const TTagArgs& args);
    void PopFont();
    void PushColor(DWORD color);
    void PopColor();

    bool EndLine();
    void Step();
    void OpenTag(const TTag& tag);
    void CloseTag(const TTag& tag);
    void Escape(const TTag& tag);
    void Space();
    int FitRun(LPCWSTR start, RunStart runStart, LONG avail, bool& overflow) const;
    void TextRun(RunStart runStart);
    void InlineImage(const TTag& tag);
    void DrawRun(LPCWSTR pstr, int cch, int cx, bool bEllipsis);

    HDC m_hDC;
    CPaintManagerUI* m_pManager;
    RECT& m_rc;
    DWORD m_dwTextColor;
    RECT* m_prcLinks;
    CUIString* m_sLinks;
    int m_nLinkSlots;
    UINT m_uStyle;
    bool m_bDraw;

    TFlow m_flow;
    TFlow m_lineStart;
    TEXTMETRICW m_tm{};
    bool m_bDrawPass = false;
    bool m_bLineEnd = false;
    int m_cyLineExtra = 0; // the line's measured height, known in the drawing pass
    int m_cxMaxWidth = 0;
    int m_cyMaxBottom = 0;
    bool m_bHover = false;
    CUIString m_sHoverLink;
};

void CHtmlTextRenderer::FindHoverLink()
{
    const POINT ptMouse = m_pManager->GetMousePos();
    for (int i = 0; i < m_nLinkSlots; ++i) {
        if (::PtInRect(&m_prcLinks[i], ptMouse)) {
            m_sHoverLink = m_sLinks[i];
            m_bHover = true;
            return;
        }
    }
}

void CHtmlTextRenderer::ApplyFont()
{
    const TFontInfo* pFont = CurrentFont();
    if (pFont != nullptr && pFont->hFont != nullptr) ::SelectObject(m_hDC, pFont->hFont);
    ::GetTextMetricsW(m_hDC, &m_tm);
}

void CHtmlTextRenderer::ApplyColor()
{
    ::SetTextColor(m_hDC, ToColorRef(m_flow.colors.empty() ? m_dwTextColor : m_flow.colors.back()));
}

void CHtmlTextRenderer::ApplySelection()
{
    ::SetBkMode(m_hDC, m_flow.inSelected ? OPAQUE : TRANSPARENT);
}

void CHtmlTextRenderer::ApplyAll()
{
    ApplyFont();
    ApplyColor();
    ApplySelection();
}

void CHtmlTextRenderer::PushFont(TFontInfo* pFont)
{
    if (pFont == nullptr) return;
    m_flow.fonts.push_back(pFont);
    ApplyFont();
    m_flow.cyLine = std::max(m_flow.cyLine, BaseLineHeight());
}

// The current font with the style added; nothing when it has it already.
void CHtmlTextRenderer::PushStyledFont(FontStyle style)
{
    const TFontInfo* pCur = CurrentFont();
    const bool bold = pCur->bold || style == FontStyle::Bold;
    const bool underline = pCur->underline || style == FontStyle::Underline;
    const bool italic = pCur->italic || style == FontStyle::Italic;
    if (bold == pCur->bold && underline == pCur->underline && italic == pCur->italic) return;
    HFONT hFont = m_pManager->GetFont(pCur->faceName, pCur->size, bold, underline, italic);
    if (hFont == nullptr) hFont = m_pManager->AddFont(pCur->faceName, pCur->size, bold, underline, italic);
    if (hFont != nullptr) PushFont(m_pManager->GetFontInfo(hFont));
}

void CHtmlTextRenderer::PushFontTag(const TTagArgs& args)
{
    // An "f" tag without arguments keeps the current font, so that its
    // closing tag still pops what it pushed.
    if (args.Empty()) {
        PushFont(CurrentFont());
        return;
    }
    LPCWSTR p = args.begin;
    if (*p >= L'0' && *p <= L'9') {
        PushFont(m_pManager->GetFontInfo(static_cast<int>(ReadDecimal(p, 0, INT_MIN, INT_MAX))));
        return;
    }
    const CUIString text = args.Text();
    p = text.GetData();
    LPCWSTR faceEnd = p;
    while (*faceEnd != 0 && *faceEnd != L' ') ++faceEnd;
    const CUIString face(p, static_cast<int>(faceEnd - p));
    p = faceEnd;
    const int size = static_cast<int>(ReadDecimal(p, 10, -kMaxFontSize, kMaxFontSize));
    CUIString styles = p;
    styles.MakeLower();
    const bool bold = styles.Find(L"bold") >= 0;
    const bool underline = styles.Find(L"underline") >= 0;
    const bool italic = styles.Find(L"italic") >= 0;
    HFONT hFont = m_pManager->GetFont(face, size, bold, underline, italic);
    if (hFont == nullptr) hFont = m_pManager->AddFont(face, size, bold, underline, italic);
    if (hFont != nullptr) PushFont(m_pManager->GetFontInfo(hFont));
}

void CHtmlTextRenderer::PopFont()
{
    if (m_flow.fonts.empty()) return;
    const bool wasItalic = CurrentFont()->italic;
    ABC abc = {};
    // An italic run leans past its advance; the next upright text keeps clear.
    const bool haveAbc = wasItalic && ::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc) != FALSE;
    m_flow.fonts.pop_back();
    ApplyFont();
    if (haveAbc && !CurrentFont()->italic) m_flow.pt.x += static_cast<int>(abc.abcC) / 2;
    m_flow.cyLine = std::max(m_flow.cyLine, BaseLineHeight());
}

void CHtmlTextRenderer::PushColor(DWORD color)
{
    m_flow.colors.push_back(color);
    ApplyColor();
}

void CHtmlTextRenderer::PopColor()
{
    if (!m_flow.colors.empty()) m_flow.colors.pop_back();
    ApplyColor();
}

int CHtmlTextRenderer::Run(LPCWSTR pstrText)
{
    ::SetBkMode(m_hDC, TRANSPARENT);
    ::SetTextColor(m_hDC, ToColorRef(m_dwTextColor));
    ::SetBkColor(m_hDC, ToColorRef(m_pManager->GetDefaultSelectedBkColor()));
    ApplyFont();
    FindHoverLink();

    m_flow.p = pstrText;
    m_flow.pt = {m_rc.left, m_rc.top};
    m_flow.linkStart = m_flow.pt;
    m_flow.cyLine = BaseLineHeight();
    m_cxMaxWidth = m_rc.left;
    m_cyMaxBottom = m_rc.top;
    m_lineStart = m_flow;

    for (;;) {
        if (m_bLineEnd || m_flow.pt.x >= m_rc.right || *m_flow.p == L'\n' || *m_flow.p == 0) {
            if (*m_flow.p == L'\n') ++m_flow.p;
            if (!EndLine()) break;
            continue;
        }
        Step();
        m_cxMaxWidth = std::max(m_cxMaxWidth, static_cast<int>(m_flow.pt.x));
        if (m_flow.pt.x >= m_rc.right || *m_flow.p == L'\n' || *m_flow.p == 0) m_bLineEnd = true;
    }

    if (!m_bDraw) {
        m_rc.bottom = std::max(m_cyMaxBottom, static_cast<int>(m_flow.pt.y) + m_flow.cyLine);
        m_rc.right = std::min(m_rc.right, static_cast<LONG>(m_cxMaxWidth));
    }
    return std::min(m_flow.linkIndex, m_nLinkSlots);
}

// Finishes the current pass of a line. False when the routine is done.
bool CHtmlTextRenderer::EndLine()
{
    const bool atEnd = *m_flow.p == 0;
    if (Measuring()) {
        // A link still open at the end of a line gets this line's part; the
        // rest goes into the next slot under the same name. A link left open
        // at the end of the text is recorded as if it had been closed there.
        if (m_flow.inLink && m_flow.linkIndex < m_nLinkSlots) {
            m_prcLinks[m_flow.linkIndex] = {m_flow.linkStart.x, m_flow.linkStart.y, std::min(m_flow.pt.x, m_rc.right),
                                            m_flow.pt.y + m_flow.cyLine};
            ++m_flow.linkIndex;
            if (!atEnd && m_flow.linkIndex < m_nLinkSlots) m_sLinks[m_flow.linkIndex] = m_sLinks[m_flow.linkIndex - 1];
        }
        for (int i = std::min(m_lineStart.linkIndex, m_nLinkSlots); i < std::min(m_flow.linkIndex, m_nLinkSlots); ++i)
            m_prcLinks[i].bottom = m_flow.pt.y + m_flow.cyLine;
        if (m_bDraw) {
            m_cyLineExtra = m_flow.cyLine;
            m_flow = m_lineStart;
            m_bDrawPass = true;
            m_bLineEnd = false;
            ApplyAll();
            return true;
        }
    } else if (m_flow.inLink && m_flow.linkIndex < m_nLinkSlots) {
        ++m_flow.linkIndex; // the continuation was recorded by the measuring pass
    }

    if (atEnd || SingleLine()) return false;
    m_flow.pt.x = m_rc.left;
    m_flow.pt.y += m_flow.cyLine;
    if (m_bDraw && m_flow.pt.y > m_rc.bottom) return false;
    m_flow.linkStart = m_flow.pt;
    m_flow.cyLine = BaseLineHeight();
    m_bLineEnd = false;
    m_bDrawPass = false;
    m_lineStart = m_flow;
    return true;
}

void CHtmlTextRenderer::Step()
{
    const LPCWSTR p = m_flow.p;
    if (m_flow.inRaw) {
        if (AtRawEnd(p)) {
            m_flow.p += 4;
            m_flow.inRaw = false;
        } else {
            TextRun(RunStart::Text);
        }
        return;
    }
    if (*p == L' ') {
        Space();
        return;
    }
    if (!IsOpenBracket(*p)) {
        TextRun(RunStart::Text);
        return;
    }
    const TTag tag = ReadTag(p);
    switch (tag.kind) {
    case TagKind::Escape: Escape(tag); break;
    case TagKind::Open: OpenTag(tag); break;
    case TagKind::Close: CloseTag(tag); break;
    case TagKind::None: TextRun(RunStart::BracketAsText); break;
    }
}

void CHtmlTextRenderer::OpenTag(const TTag& tag)
{
    const TTagArgs& args = tag.args;
    switch (tag.letter) {
    case L'a': {
        if (Measuring() && m_flow.linkIndex < m_nLinkSlots) m_sLinks[m_flow.linkIndex] = args.Text();
        const bool hover = m_bHover && m_sHoverLink == args.Text();
        PushColor(hover ? m_pManager->GetDefaultLinkHoverFontColor() : m_pManager->GetDefaultLinkFontColor());
        PushStyledFont(FontStyle::Underline);
        m_flow.inLink = true;
        m_flow.linkStart = m_flow.pt;
        break;
    }
    case L'b': PushStyledFont(FontStyle::Bold); break;
    case L'c': PushColor(ReadColor(args.begin)); break;
    case L'f': PushFontTag(args); break;
    case L'i':
        if (!args.Empty()) {
            InlineImage(tag);
            return; // consumes the tag only when the image was placed
        }
        PushStyledFont(FontStyle::Italic);
        break;
    case L'n':
        if (!SingleLine()) m_bLineEnd = true;
        break;
    case L'p': {
        // A paragraph starts on a fresh line; the tag is read again there so
        // that its spacing belongs to the new line.
        if (!AtLeftEdge()) {
            m_bLineEnd = true;
            return;
        }
        LPCWSTR p = args.begin;
        m_flow.spacings.push_back(static_cast<int>(ReadDecimal(p, 0, -kMaxTagPixels, kMaxTagPixels)));
        m_flow.cyLine = std::max(m_flow.cyLine, BaseLineHeight());
        break;
    }
    case L'r': m_flow.inRaw = true; break;
    case L's':
        m_flow.inSelected = !m_flow.inSelected;
        ApplySelection();
        break;
    case L'u': PushStyledFont(FontStyle::Underline); break;
    case L'x': {
        LPCWSTR p = args.begin;
        m_flow.pt.x += ReadDecimal(p, 0, -kMaxTagPixels, kMaxTagPixels);
        break;
    }
    case L'y': {
        LPCWSTR p = args.begin;
        m_flow.cyLine = static_cast<int>(ReadDecimal(p, 0, 0, kMaxTagPixels));
        break;
    }
    default: break;
    }
    m_flow.p = tag.next;
}

void CHtmlTextRenderer::CloseTag(const TTag& tag)
{
    switch (tag.letter) {
    case L'a':
        if (m_flow.inLink && m_flow.linkIndex < m_nLinkSlots) {
            if (Measuring())
                m_prcLinks[m_flow.linkIndex] = {m_flow.linkStart.x, m_flow.linkStart.y,
                                                std::min(m_flow.pt.x, m_rc.right), m_flow.pt.y + FontHeight()};
            ++m_flow.linkIndex;
        }
        m_flow.inLink = false;
        PopColor();
        PopFont();
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u': PopFont(); break;
    case L'c': PopColor(); break;
    case L'p':
        if (!AtLeftEdge()) m_bLineEnd = true;
        if (!m_flow.spacings.empty()) m_flow.spacings.pop_back();
        break;
    case L's':
        m_flow.inSelected = !m_flow.inSelected;
        ApplySelection();
        break;
    default: break;
    }
    m_flow.p = tag.next;
}

void CHtmlTextRenderer::Escape(const TTag& tag)
{
    SIZE sz = {};
    ::GetTextExtentPoint32W(m_hDC, &tag.letter, 1, &sz);
    if (m_flow.pt.x + sz.cx > m_rc.right && !AtLeftEdge()) {
        m_bLineEnd = true;
        return;
    }
    DrawRun(&tag.letter, 1, sz.cx, false);
    m_flow.p = tag.next;
}

void CHtmlTextRenderer::Space()
{
    SIZE sz = {};
    ::GetTextExtentPoint32W(m_hDC, L" ", 1, &sz);
    if (Drawing()) ::TextOutW(m_hDC, m_flow.pt.x, m_flow.pt.y + m_cyLineExtra - FontHeight(), L" ", 1);
    m_flow.pt.x += sz.cx;
    ++m_flow.p;
}

// Takes characters up to the next bracket (or, raw, up to the raw end), a line
// feed or the end, as many as fit before the right edge.
// How many characters of the run to take: up to a bracket (raw: the raw end),
// a line feed or the end, or, when the run does not fit before the right
// edge, up to and including its first character that does not fit. The text
// is scanned and measured in doubling spans only as far as needed, and one
// measurement tells how many characters fit, so a long run of characters of
// no width cannot make its line cost its length squared.
int CHtmlTextRenderer::FitRun(LPCWSTR start, RunStart runStart, LONG avail, bool& overflow) const
{
    overflow = false;
    const bool bFirstIsBracket = runStart == RunStart::BracketAsText;
    const auto ends = [&](LPCWSTR q) {
        if (*q == 0 || *q == L'\n') return true;
        return m_flow.inRaw ? AtRawEnd(q) : IsOpenBracket(*q) && !(bFirstIsBracket && q == start);
    };
    const long long averageWidth = std::max<long long>(m_tm.tmAveCharWidth, 1);
    int scanned = 0;
    for (long long span = 32 + 2 * avail / averageWidth;; span *= 2) {
        while (scanned < span && scanned < INT_MAX && !ends(start + scanned)) ++scanned;
        // Exact measuring only once the widest-glyph estimate may reach the edge.
        if (static_cast<long long>(scanned) * m_tm.tmMaxCharWidth >= avail) {
            int fit = 0;
            SIZE sz = {};
            ::GetTextExtentExPointW(m_hDC, start, scanned, static_cast<int>(avail), &fit, nullptr, &sz);
            if (fit < scanned) {
                overflow = true;
                return fit + 1;
            }
        }
        if (scanned == INT_MAX || ends(start + scanned)) return scanned;
    }
}

void CHtmlTextRenderer::TextRun(RunStart runStart)
{
    const LPCWSTR start = m_flow.p;
    const bool atLeft = AtLeftEdge();
    bool overflow = false;
    int cch = FitRun(start, runStart, m_rc.right - m_flow.pt.x, overflow);
    int cchBreak = 0; // characters up to the last break point
    for (int i = 0; i < cch; ++i)
        if (!IsAsciiLetter(start[i])) cchBreak = i + 1;

    bool ellipsis = false;
    if (overflow) {
        // A line always keeps at least one character, or it would never end.
        if (cch > 1 || !atLeft) --cch;
        if ((m_uStyle & DT_WORDBREAK) != 0 && cchBreak > 0 && cchBreak < cch) cch = cchBreak;
        if ((m_uStyle & DT_END_ELLIPSIS) != 0) {
            cch = std::max(cch - 2, atLeft ? std::min(cch, 1) : 0);
            ellipsis = true;
        }
        m_bLineEnd = true;
    }

    SIZE sz = {};
    if (cch > 0) ::GetTextExtentPoint32W(m_hDC, start, cch, &sz);
    DrawRun(start, cch, sz.cx, ellipsis);
    m_flow.p = start + cch;
    if (ellipsis) m_flow.pt.x = std::max(m_flow.pt.x, m_rc.right);
}

void CHtmlTextRenderer::DrawRun(LPCWSTR pstr, int cch, int cx, bool bEllipsis)
{
    if (Drawing()) {
        int x = m_flow.pt.x;
        if (!SingleLine()) {
            // Each run is aligned by itself.
            const int free = (m_rc.right - m_rc.left) - cx;
            if ((m_uStyle & DT_CENTER) != 0) x += free / 2;
            else if ((m_uStyle & DT_RIGHT) != 0) x += free;
        }
        // Runs in different fonts share the line's bottom.
        const int y = m_flow.pt.y + m_cyLineExtra - FontHeight();
        if (cch > 0) ::TextOutW(m_hDC, x, y, pstr, cch);
        if (bEllipsis) ::TextOutW(m_hDC, x + cx, y, L"...", 3);
    }
    m_flow.pt.x += cx;
}

void CHtmlTextRenderer::InlineImage(const TTag& tag)
{
    const TImageTag image = ReadImageTag(tag.args);
    TImageInfo* pImage =
        image.name.IsEmpty()
            ? nullptr
            : m_pManager->GetImageEx(image.name, image.type.IsEmpty() ? nullptr : image.type.GetData(), 0);
    if (pImage == nullptr) {
        m_flow.p = tag.next;
        return;
    }
    const int cx = image.count > 1 ? pImage->width / image.count : pImage->width;
    const int cy = pImage->height;
    if (m_flow.pt.x + cx > m_rc.right && !AtLeftEdge() && !SingleLine()) {
        m_bLineEnd = true; // read again at the start of the next line
        return;
    }
    if (Drawing()) {
        // On the line's bottom, or centred in the line when it is taller.
        const LONG top = m_flow.pt.y + (cy < m_cyLineExtra ? (m_cyLineExtra - cy) / 2 : m_cyLineExtra - cy);
        const RECT rcDest = {m_flow.pt.x, top, m_flow.pt.x + cx, top + cy};
        const RECT rcSource = {cx * image.index, 0, cx * (image.index + 1), cy};
        CRenderEngine::DrawImage(m_hDC, *pImage, rcDest, m_rc, rcSource, RECT{}, 255);
    }
    m_flow.cyLine = std::max(m_flow.cyLine, cy);
    m_cyMaxBottom = std::max(m_cyMaxBottom, static_cast<int>(m_flow.pt.y) + cy);
    m_flow.pt.x += cx;
    m_flow.p = tag.next;
}

} // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                                 RECT* prcLinks, CUIString* sLinks, int& nLinkRects, UINT uStyle)
{
    const int nLinkSlots = nLinkRects;
    nLinkRects = 0;
    if (hDC == nullptr || pstrText == nullptr || *pstrText == 0 || pManager == nullptr || ::IsRectEmpty(&rc)) return;

    const bool bDraw = (uStyle & DT_CALCRECT) == 0;
    CRenderClip clip;
    if (bDraw) CRenderClip::GenerateClip(hDC, rc, clip);
    const TFontInfo* pDefault = pManager->GetDefaultFontInfo();
    const CSelectObjectGuard restoreFont(hDC, pDefault != nullptr ? pDefault->hFont : nullptr);

    if (bDraw && (uStyle & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
        RECT rcText = {0, 0, kMeasureWidth, kMeasureHeight};
        int nNoLinks = 0;
        DrawHtmlText(hDC, pManager, rcText, pstrText, dwTextColor, nullptr, nullptr, nNoLinks, uStyle | DT_CALCRECT);
        const int cx = rcText.right - rcText.left;
        const int cy = rcText.bottom - rcText.top;
        if ((uStyle & DT_SINGLELINE) != 0) {
            if ((uStyle & DT_CENTER) != 0) {
                rc.left = rc.left + (rc.right - rc.left) / 2 - cx / 2;
                rc.right = rc.left + cx;
            }
            if ((uStyle & DT_RIGHT) != 0) rc.left = rc.right - cx;
        }
        // Vertical placement applies to several lines too; only the
        // horizontal one needs a single line, since lines are aligned run by run.
        if ((uStyle & DT_VCENTER) != 0) {
            rc.top = rc.top + (rc.bottom - rc.top) / 2 - cy / 2;
            rc.bottom = rc.top + cy;
        }
        if ((uStyle & DT_BOTTOM) != 0) rc.top = rc.bottom - cy;
    }

    CHtmlTextRenderer renderer(hDC, pManager, rc, dwTextColor, prcLinks, sLinks, nLinkSlots, uStyle);
    nLinkRects = renderer.Run(pstrText);
}

} // namespace VarnelUI
