// The parser rewrites the document buffer in place: every name, attribute value
// and text content becomes a NUL-terminated run at the offset its element
// record or a node's attribute map points to, so nothing is ever copied out.

#include "varnelui/core/UIMarkup.h"

#include "varnelui/core/UIResourceFile.h"
#include "varnelui/core/UIUtf8.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <vector>

namespace VarnelUI {

namespace {

// Messages of failures the document format itself does not describe: bytes
// that decode to no text at all, or a document that cannot be held in memory
// (element and attribute offsets are 32-bit).
constexpr LPCWSTR kEmptyDocument = L"Document is empty";
constexpr LPCWSTR kMissingByteOrderMark = L"Missing byte-order mark";
constexpr LPCWSTR kUnknownEncoding = L"Unknown encoding";
constexpr LPCWSTR kOutOfMemory = L"Out of memory";
constexpr LPCWSTR kDocumentTooLarge = L"Document too large";
constexpr LPCWSTR kTooManyElements = L"Too many elements";
constexpr LPCWSTR kAttributeTooLong = L"Attribute value too long";

constexpr int kFirstElementReserve = 500;

template <typename Unit>
Unit* SkipWhitespace(Unit* p)
{
    while (*p != 0 && *p <= L' ') ++p;
    return p;
}

// "_", ":", letters and digits as the C runtime classifies wide characters;
// ASCII, nearly every name, is answered without asking it.
bool IsNameUnit(wchar_t c)
{
    if (c >= 0x80) return std::iswalnum(c) != 0;
    const wchar_t lower = c | 0x20;
    return c == L'_' || c == L':' || (c >= L'0' && c <= L'9') || (lower >= L'a' && lower <= L'z');
}

template <typename Unit>
Unit* SkipIdentifier(Unit* p)
{
    while (IsNameUnit(*p)) ++p;
    return p;
}

// Skips a comment or declaration starting at its "!" or "?": up to and past
// "->" or "?>", or to the end of the text.
LPWSTR SkipDeclaration(LPWSTR p)
{
    const wchar_t closer = (*p == L'!') ? L'-' : L'?';
    while (*p != 0 && !(p[0] == closer && p[1] == L'>')) ++p;
    return *p != 0 ? p + 2 : p;
}

// Decodes the entity after an "&" and advances past it; anything that is not
// one of the five named entities stays a literal "&".
template <typename Unit>
wchar_t DecodeEntity(Unit*& p)
{
    static const struct
    {
        LPCWSTR name;
        wchar_t unit;
    } entities[] = {
        {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''},
    };
    for (const auto& entity : entities) {
        const size_t length = std::wcslen(entity.name);
        if (std::wcsncmp(p, entity.name, length) == 0) {
            p += length;
            return entity.unit;
        }
    }
    return L'&';
}

LPCWSTR SkinFileMessage(SkinFileResult result)
{
    switch (result) {
    case SkinFileResult::Ok: break;
    case SkinFileResult::OpenFailed: return L"Error opening file";
    case SkinFileResult::Empty: return L"File is empty";
    case SkinFileResult::TooLarge: return L"File too large";
    case SkinFileResult::ReadFailed: return L"Could not read file";
    case SkinFileResult::ArchiveOpenFailed: return L"Error opening zip file";
    case SkinFileResult::MemberNotFound: return L"Could not find ziped file";
    case SkinFileResult::UnpackFailed: return L"Could not unzip file";
    }
    return L"";
}

} // namespace

// ---- CMarkupNode -----------------------------------------------------------

CMarkupNode::CMarkupNode() : CMarkupNode(nullptr, 0)
{
}

CMarkupNode::CMarkupNode(CMarkup* pOwner, int iPos) : m_iPos(iPos), m_nAttributes(0), m_aAttributes(), m_pOwner(pOwner)
{
}

bool CMarkupNode::IsValid() const
{
    return m_pOwner != nullptr;
}

CMarkupNode CMarkupNode::Link(int iPos) const
{
    return iPos != 0 ? CMarkupNode(m_pOwner, iPos) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetParent() const
{
    return IsValid() ? Link(m_pOwner->m_elements[m_iPos].iParent) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetSibling() const
{
    return IsValid() ? Link(m_pOwner->m_elements[m_iPos].iNext) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetChild() const
{
    return IsValid() ? Link(m_pOwner->m_elements[m_iPos].iChild) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetChild(LPCWSTR pstrName) const
{
    if (!IsValid() || pstrName == nullptr) return CMarkupNode();
    const std::vector<CMarkup::tagXMLELEMENT>& elements = m_pOwner->m_elements;
    for (int i = elements[m_iPos].iChild; i != 0; i = elements[i].iNext) {
        if (std::wcscmp(m_pOwner->Text(elements[i].iStart), pstrName) == 0) return Link(i);
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const
{
    return IsValid() && m_pOwner->m_elements[m_iPos].iNext != 0;
}

bool CMarkupNode::HasChildren() const
{
    return IsValid() && m_pOwner->m_elements[m_iPos].iChild != 0;
}

LPCWSTR CMarkupNode::GetName() const
{
    return IsValid() ? m_pOwner->Text(m_pOwner->m_elements[m_iPos].iStart) : nullptr;
}

LPCWSTR CMarkupNode::GetValue() const
{
    return IsValid() ? m_pOwner->Text(m_pOwner->m_elements[m_iPos].iData) : nullptr;
}

int CMarkupNode::GetNameOffset() const
{
    return IsValid() ? m_pOwner->m_elements[m_iPos].iStart : -1;
}

bool CMarkupNode::HasAttributes() const
{
    return GetAttributeCount() > 0;
}

bool CMarkupNode::HasAttribute(LPCWSTR pstrName) const
{
    return FindAttribute(pstrName) >= 0;
}

int CMarkupNode::GetAttributeCount() const
{
    if (!IsValid()) return 0;
    if (m_nAttributes == 0) MapAttributes();
    return m_nAttributes;
}

LPCWSTR CMarkupNode::GetAttributeName(int iIndex) const
{
    if (!IsValid()) return nullptr;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pOwner->Text(m_aAttributes[iIndex].iName);
}

LPCWSTR CMarkupNode::GetAttributeValue(int iIndex) const
{
    if (!IsValid()) return nullptr;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pOwner->Text(m_aAttributes[iIndex].iValue);
}

LPCWSTR CMarkupNode::GetAttributeValue(LPCWSTR pstrName) const
{
    if (!IsValid()) return nullptr;
    const int iIndex = FindAttribute(pstrName);
    return iIndex >= 0 ? m_pOwner->Text(m_aAttributes[iIndex].iValue) : L"";
}

bool CMarkupNode::GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const
{
    if (!IsValid() || iIndex < 0 || iIndex >= GetAttributeCount()) return false;
    std::wcsncpy(pstrValue, m_pOwner->Text(m_aAttributes[iIndex].iValue), cchMax);
    return true;
}

bool CMarkupNode::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const
{
    const int iIndex = FindAttribute(pstrName);
    return iIndex >= 0 && GetAttributeValue(iIndex, pstrValue, cchMax);
}

int CMarkupNode::FindAttribute(LPCWSTR pstrName) const
{
    if (pstrName == nullptr) return -1;
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (std::wcscmp(m_pOwner->Text(m_aAttributes[i].iName), pstrName) == 0) return i;
    }
    return -1;
}

// Walks the NUL-terminated runs between the element name and its data start:
// attribute name, optional whitespace, the opening quote, the value. Reads stay
// below the data start, so odd tag layouts cannot carry the walk past the text.
void CMarkupNode::MapAttributes() const
{
    m_nAttributes = 0;
    LPCWSTR const xml = m_pOwner->Text(0);
    const CMarkup::tagXMLELEMENT& element = m_pOwner->m_elements[m_iPos];
    LPCWSTR const end = xml + element.iData;
    const auto skipWhitespace = [end](LPCWSTR p) {
        while (p < end && *p != 0 && *p <= L' ') ++p;
        return p;
    };

    LPCWSTR p = xml + element.iStart;
    p += std::wcslen(p) + 1;
    while (p < end && m_nAttributes < kMaxAttributes) {
        p = skipWhitespace(p);
        if (p >= end) return;
        LPCWSTR const name = p;
        p += std::wcslen(p) + 1;
        p = skipWhitespace(p);
        if (p >= end || *p != L'"') return;
        ++p;
        m_aAttributes[m_nAttributes++] = {static_cast<int>(name - xml), static_cast<int>(p - xml)};
        p += std::wcslen(p) + 1;
    }
}

// ---- CMarkup ---------------------------------------------------------------

CMarkup::CMarkup(LPCWSTR pstrXML) : m_szErrorMsg(), m_szErrorXML(), m_iErrorOffset(-1), m_bPreserveWhitespace(true)
{
    if (pstrXML != nullptr) Load(pstrXML);
}

CMarkup::~CMarkup()
{
    Release();
}

bool CMarkup::IsValid() const
{
    return !m_elements.empty();
}

void CMarkup::SetPreserveWhitespace(bool bPreserve)
{
    m_bPreserveWhitespace = bPreserve;
}

void CMarkup::Release()
{
    m_pstrXML.reset();
    std::vector<tagXMLELEMENT>().swap(m_elements);
}

void CMarkup::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    std::wcsncpy(pstrMessage, m_szErrorMsg, cchMax);
}

void CMarkup::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    std::wcsncpy(pstrSource, m_szErrorXML, cchMax);
}

CMarkupNode CMarkup::GetRoot()
{
    return m_elements.size() > 1 ? CMarkupNode(this, 1) : CMarkupNode();
}

int CMarkup::GetLastErrorOffset() const
{
    return m_iErrorOffset;
}

bool CMarkup::Failed(LPCWSTR pstrError)
{
    constexpr size_t messageUnits = sizeof(m_szErrorMsg) / sizeof(m_szErrorMsg[0]);
    std::wcsncpy(m_szErrorMsg, pstrError, messageUnits - 1);
    m_szErrorMsg[messageUnits - 1] = 0;
    m_szErrorXML[0] = 0;
    m_iErrorOffset = -1;
    return false;
}

bool CMarkup::Failed(LPCWSTR pstrError, LPCWSTR pstrAt)
{
    Failed(pstrError);
    constexpr size_t locationUnits = sizeof(m_szErrorXML) / sizeof(m_szErrorXML[0]);
    std::wcsncpy(m_szErrorXML, pstrAt, locationUnits - 1);
    m_szErrorXML[locationUnits - 1] = 0;
    m_iErrorOffset = static_cast<int>(pstrAt - m_pstrXML.get());
    return false;
}

bool CMarkup::AllocateDocument(size_t nUnits)
{
    if (nUnits > kMaxDocumentUnits) return Failed(kDocumentTooLarge);
    m_pstrXML.reset(new (std::nothrow) wchar_t[nUnits + 1]);
    if (!m_pstrXML) return Failed(kOutOfMemory);
    m_pstrXML[nUnits] = 0;
    return true;
}

bool CMarkup::Load(LPCWSTR pstrXML)
{
    Release();
    // An empty text is a document without elements, like one of only
    // whitespace or comments.
    const size_t length = pstrXML != nullptr ? std::wcslen(pstrXML) : 0;
    if (!AllocateDocument(length)) return false;
    std::memcpy(m_pstrXML.get(), pstrXML, length * sizeof(wchar_t));
    return ParseLoaded();
}

bool CMarkup::LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding)
{
    Release();
    return DecodeDocument(pByte, dwSize, encoding) && ParseLoaded();
}

// Fills the document buffer from raw bytes. No bytes, or only a byte-order
// mark, make an empty document; UTF-16 without its mark and an unknown
// encoding fail the load.
bool CMarkup::DecodeDocument(const BYTE* pByte, DWORD dwSize, int encoding)
{
    if (pByte == nullptr) dwSize = 0;
    switch (encoding) {
    case 0:
    case 2: {
        if (encoding == 0 && dwSize > 2 && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF) {
            pByte += 3;
            dwSize -= 3;
        }
        if (dwSize == 0) return AllocateDocument(0);
        // Neither code page makes more units than bytes, so one buffer of that
        // size, allocated before converting, holds the document.
        if (!AllocateDocument(dwSize)) return false;
        size_t units = 0;
        if (encoding == 0) {
            units = DecodeUtf8(pByte, dwSize, m_pstrXML.get());
        } else {
            const int converted =
                ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(pByte), static_cast<int>(dwSize),
                                      m_pstrXML.get(), static_cast<int>(dwSize));
            units = converted > 0 ? static_cast<size_t>(converted) : 0;
        }
        if (units == 0) return Failed(kEmptyDocument);
        m_pstrXML[units] = 0;
        return true;
    }
    case 1: {
        const bool littleEndian = dwSize >= 2 && pByte[0] == 0xFF && pByte[1] == 0xFE;
        const bool bigEndian = dwSize >= 2 && pByte[0] == 0xFE && pByte[1] == 0xFF;
        if (!littleEndian && !bigEndian) return Failed(kMissingByteOrderMark);
        const size_t units = (dwSize & ~static_cast<DWORD>(1)) / 2 - 1;
        if (!AllocateDocument(units)) return false;
        // Big-endian units are swapped while copying: the caller's bytes may
        // be read-only (a locked resource) and are never written.
        const BYTE* source = pByte + 2;
        for (size_t i = 0; i < units; ++i, source += 2) {
            m_pstrXML[i] = littleEndian ? static_cast<wchar_t>(source[0] | (source[1] << 8))
                                        : static_cast<wchar_t>((source[0] << 8) | source[1]);
        }
        return true;
    }
    default: return Failed(kUnknownEncoding);
    }
}

bool CMarkup::LoadFromFile(LPCWSTR pstrFilename, int encoding)
{
    Release();
    std::vector<BYTE> bytes;
    const SkinFileResult result = ReadSkinFile(pstrFilename, kMaxSkinDocumentBytes, bytes);
    if (result != SkinFileResult::Ok) return Failed(SkinFileMessage(result));
    return LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), encoding);
}

bool CMarkup::ParseLoaded()
{
    if (Parse()) return true;
    Release();
    return false;
}

// The first record reserves room for 500; a full table grows by half its
// size plus 500, so a large document is copied only a few times.
int CMarkup::ReserveElement()
{
    const size_t count = m_elements.size();
    // Record 0 is no element, so the table holds one record more.
    if (count > static_cast<size_t>(kMaxElements)) return -1;
    if (count == m_elements.capacity()) {
        const size_t capacity = std::min<size_t>(
            count == 0 ? kFirstElementReserve : count + count / 2 + kFirstElementReserve, kMaxElements + 1);
        try {
            m_elements.reserve(capacity);
        } catch (const std::bad_alloc&) {
            return -1;
        }
    }
    m_elements.push_back({});
    return static_cast<int>(count);
}

// Reads the document without recursion, so nesting depth is bounded only by
// the element limit: iParent is the open element whose content is being read (0 at the
// top level), iPrevious the last element completed inside it.
bool CMarkup::Parse()
{
    m_szErrorMsg[0] = 0;
    m_szErrorXML[0] = 0;
    m_iErrorOffset = -1;
    if (ReserveElement() < 0) // record 0 stands for "none" in every link
        return Failed(kOutOfMemory);

    const auto offset = [this](LPCWSTR p) { return static_cast<int>(p - m_pstrXML.get()); };
    LPWSTR pstr = m_pstrXML.get();
    int iParent = 0;
    int iPrevious = 0;
    for (;;) {
        pstr = SkipWhitespace(pstr);
        if (*pstr == 0) {
            // The root, or a top-level element, may lack its closing tag.
            if (iParent > 1) return Failed(L"Expected start tag", pstr);
            TerminateOpenNames(iParent);
            return true;
        }
        if (*pstr != L'<') return Failed(L"Expected start tag", pstr);
        if (pstr[1] == L'/') {
            // A closing tag at the top level ends the document.
            if (iParent == 0) return true;
            if (!ParseClosingTag(pstr, iParent)) return false;
            iPrevious = iParent;
            iParent = m_elements[iParent].iParent;
            continue;
        }
        *pstr++ = 0;
        pstr = SkipWhitespace(pstr);
        if (*pstr == L'!' || *pstr == L'?') {
            pstr = SkipDeclaration(pstr);
            continue;
        }

        const int iElement = ReserveElement();
        if (iElement < 0)
            return m_elements.size() > static_cast<size_t>(kMaxElements) ? Failed(kTooManyElements, pstr)
                                                                         : Failed(kOutOfMemory);
        m_elements[iElement] = {offset(pstr), 0, 0, iParent, 0};
        if (iPrevious != 0) m_elements[iPrevious].iNext = iElement;
        else if (iParent != 0) m_elements[iParent].iChild = iElement;

        pstr = SkipIdentifier(pstr);
        if (*pstr == 0) return Failed(L"Error parsing element name", pstr);
        if (!ParseAttributes(pstr)) return false;
        pstr = SkipWhitespace(pstr);
        if (pstr[0] == L'/' && pstr[1] == L'>') {
            // The name is already terminated: by the attribute parser, or by
            // the NUL written over this slash.
            m_elements[iElement].iData = offset(pstr);
            *pstr = 0;
            pstr += 2;
            iPrevious = iElement;
            continue;
        }
        if (*pstr != L'>') return Failed(L"Expected start-tag closing", pstr);
        m_elements[iElement].iData = offset(++pstr);
        ParseData(pstr, L'<');
        if (*pstr == 0) {
            if (iParent > 1) return Failed(L"Expected end-tag start", pstr);
            TerminateOpenNames(iElement);
            return true;
        }
        if (pstr[1] == L'/') {
            if (!ParseClosingTag(pstr, iElement)) return false;
            iPrevious = iElement;
        } else {
            iParent = iElement;
            iPrevious = 0;
        }
    }
}

// Writes the NUL after an element's name. Names followed by attributes or
// "/>" are terminated already; the others end at the ">" of their start tag.
void CMarkup::TerminateName(int iElement)
{
    *SkipIdentifier(m_pstrXML.get() + m_elements[iElement].iStart) = 0;
}

void CMarkup::TerminateOpenNames(int iInnermost)
{
    for (int i = iInnermost; i != 0; i = m_elements[i].iParent) TerminateName(i);
}

bool CMarkup::ParseClosingTag(LPWSTR& pstr, int iElement)
{
    *pstr = 0;
    pstr = SkipWhitespace(pstr + 2);
    LPCWSTR const name = Text(m_elements[iElement].iStart);
    const size_t length = static_cast<size_t>(SkipIdentifier(name) - name);
    if (std::wcsncmp(pstr, name, length) != 0) return Failed(L"Unmatched closing tag", pstr);
    pstr = SkipWhitespace(pstr + length);
    if (*pstr != L'>') return Failed(L"Unmatched closing tag", pstr);
    ++pstr;
    TerminateName(iElement);
    return true;
}

// pstr is on the unit after the element name; leaves it on ">", "/" or the end.
bool CMarkup::ParseAttributes(LPWSTR& pstr)
{
    // "<Name/>" is an empty element without attributes; any other unit after
    // the name, a "/" followed by more text too, ends the name.
    if (*pstr == L'>' || (pstr[0] == L'/' && pstr[1] == L'>')) return true;
    *pstr = 0;
    for (;;) {
        pstr = SkipWhitespace(pstr + 1);
        if (*pstr == 0 || *pstr == L'>' || *pstr == L'/') return true;
        LPWSTR const nameEnd = SkipIdentifier(pstr);
        pstr = SkipWhitespace(nameEnd);
        if (*pstr != L'=') return Failed(L"Error while parsing attributes", pstr);
        *pstr = L' ';
        *nameEnd = 0;
        pstr = SkipWhitespace(pstr + 1);
        if (*pstr != L'"') return Failed(L"Expected attribute value", pstr);
        ++pstr;
        LPWSTR const valueStart = pstr;
        LPWSTR const valueEnd = ParseData(pstr, L'"');
        if (*pstr == 0) return Failed(L"Error while parsing attribute string", pstr);
        if (valueEnd - valueStart > kMaxAttributeUnits) return Failed(kAttributeTooLong, valueStart);
        // A compacted value is terminated already; its quote must not end the
        // next run early.
        *pstr = (valueEnd == pstr) ? L'\0' : L' ';
    }
}

// Decodes text in place up to cEnd or the end of the text and returns the
// write position. A compacted run is terminated here and its leftover units
// become spaces; an uncompacted one ends at cEnd, which the caller overwrites
// (or at the document's terminator).
LPWSTR CMarkup::ParseData(LPWSTR& pstr, wchar_t cEnd) const
{
    // Up to the first entity (or collapsed space) the text stays where it is.
    while (*pstr != 0 && *pstr != cEnd && *pstr != L'&' && (m_bPreserveWhitespace || *pstr != L' ')) ++pstr;
    LPWSTR dest = pstr;
    while (*pstr != 0 && *pstr != cEnd) {
        if (*pstr == L'&') {
            while (*pstr == L'&') *dest++ = DecodeEntity(++pstr);
            continue;
        }
        const wchar_t unit = *pstr++;
        *dest++ = unit;
        if (unit == L' ' && !m_bPreserveWhitespace) pstr = SkipWhitespace(pstr);
    }
    if (dest != pstr) {
        *dest = 0;
        for (LPWSTR fill = dest + 1; fill < pstr; ++fill) *fill = L' ';
    }
    return dest;
}

} // namespace VarnelUI
