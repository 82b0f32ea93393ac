#include "PeImage.h"

#include "app/Trailer.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <tuple>

namespace Stamp {

namespace {

struct Section
{
    DWORD virtualSize, virtualAddress, rawSize, rawPointer;
};

// Bounds-checked little-endian reads; a read past the end clears `ok` and
// gives 0, so a damaged file ends up as one error instead of a crash.
class Bytes
{
public:
    explicit Bytes(const std::vector<BYTE>& bytes) : m_bytes(bytes) {}
    template <typename T>
    T At(size_t offset)
    {
        T value{};
        if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T)) {
            ok = false;
            return value;
        }
        std::memcpy(&value, m_bytes.data() + offset, sizeof(T));
        return value;
    }
    bool Has(size_t offset, size_t length) const
    {
        return offset <= m_bytes.size() && m_bytes.size() - offset >= length;
    }
    bool ok = true;

private:
    const std::vector<BYTE>& m_bytes;
};

class ResourceReader
{
public:
    ResourceReader(const std::vector<BYTE>& bytes, const std::vector<Section>& sections, size_t root)
        : m_bytes(bytes),
          m_in(bytes),
          m_sections(sections),
          m_root(root)
    {
    }

    bool Read(std::vector<Resource>& out)
    {
        Resource resource;
        ForEachEntry(0, [&](ResName type, DWORD typeTarget) {
            resource.type = type;
            ForEachEntry(Subdirectory(typeTarget), [&](ResName name, DWORD nameTarget) {
                resource.name = name;
                ForEachEntry(Subdirectory(nameTarget), [&](ResName language, DWORD dataEntry) {
                    resource.language = language.id;
                    if (!ReadData(dataEntry, resource.data)) return;
                    out.push_back(resource);
                });
            });
        });
        return m_in.ok;
    }

private:
    size_t Subdirectory(DWORD target)
    {
        if ((target & 0x80000000u) == 0) m_in.ok = false;
        return target & 0x7FFFFFFFu;
    }

    template <typename F>
    void ForEachEntry(size_t directory, F visit)
    {
        const size_t at = m_root + directory;
        const size_t count = size_t{m_in.At<WORD>(at + 12)} + m_in.At<WORD>(at + 14);
        for (size_t i = 0; i < count && m_in.ok; ++i) {
            const DWORD name = m_in.At<DWORD>(at + 16 + 8 * i);
            const DWORD target = m_in.At<DWORD>(at + 20 + 8 * i);
            if (!m_in.ok) return;
            ResName key;
            if (name & 0x80000000u) {
                const size_t text = m_root + (name & 0x7FFFFFFFu);
                const WORD length = m_in.At<WORD>(text);
                if (!m_in.Has(text + 2, 2u * length)) {
                    m_in.ok = false;
                    return;
                }
                key.text.resize(length);
                std::memcpy(key.text.data(), m_bytes.data() + text + 2, 2u * length);
            } else {
                key.id = static_cast<WORD>(name);
            }
            visit(key, target);
        }
    }

    bool ReadData(DWORD entry, std::vector<BYTE>& data)
    {
        if (entry & 0x80000000u) {
            m_in.ok = false;
            return false;
        }
        const DWORD rva = m_in.At<DWORD>(m_root + entry);
        const DWORD size = m_in.At<DWORD>(m_root + entry + 4);
        for (const Section& s : m_sections) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < std::max(s.virtualSize, s.rawSize)) {
                const size_t offset = size_t{s.rawPointer} + (rva - s.virtualAddress);
                if (!m_in.Has(offset, size)) break;
                data.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                            m_bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
                return m_in.ok;
            }
        }
        m_in.ok = false;
        return false;
    }

    const std::vector<BYTE>& m_bytes;
    Bytes m_in;
    const std::vector<Section>& m_sections;
    size_t m_root;
};

bool Less(const Resource& a, const Resource& b)
{
    return std::make_tuple(a.type.text, a.type.id, a.name.text, a.name.id, a.language) <
           std::make_tuple(b.type.text, b.type.id, b.name.text, b.name.id, b.language);
}

} // namespace

bool ResName::Is(const ResName& other) const
{
    if (text.empty() || other.text.empty()) return text.empty() && other.text.empty() && id == other.id;
    return ::_wcsicmp(text.c_str(), other.text.c_str()) == 0;
}

std::wstring ResName::Describe() const
{
    return text.empty() ? std::to_wstring(id) : text;
}

const Resource* PeImage::Find(const ResName& type, const ResName& name) const
{
    for (const Resource& r : resources) {
        if (r.type.Is(type) && r.name.Is(name)) return &r;
    }
    return nullptr;
}

bool ReadPeImage(const std::vector<BYTE>& bytes, PeImage& image, std::wstring& error)
{
    image = PeImage{};
    if (!ImageEndOffsetOf(bytes.data(), bytes.size(), image.imageEnd)) {
        error = L"not a Windows executable (no PE headers)";
        return false;
    }
    Bytes in(bytes);
    const size_t nt = in.At<DWORD>(0x3C);
    image.machine = in.At<WORD>(nt + 4);
    const WORD sectionCount = in.At<WORD>(nt + 6);
    const WORD optionalSize = in.At<WORD>(nt + 20);
    const size_t optional = nt + 24;
    const WORD magic = in.At<WORD>(optional);
    if (magic != 0x10B && magic != 0x20B) {
        error = L"not a Windows executable (unknown optional header)";
        return false;
    }
    image.is64 = magic == 0x20B;
    image.subsystem = in.At<WORD>(optional + 68);
    const size_t directories = optional + (image.is64 ? 112 : 96);
    const DWORD directoryCount = in.At<DWORD>(directories - 4);
    const DWORD resourceRva = directoryCount > 2 ? in.At<DWORD>(directories + 16) : 0;
    const DWORD resourceSize = directoryCount > 2 ? in.At<DWORD>(directories + 20) : 0;

    std::vector<Section> sections;
    for (WORD i = 0; i < sectionCount; ++i) {
        const size_t at = optional + optionalSize + 40u * i;
        sections.push_back(
            Section{in.At<DWORD>(at + 8), in.At<DWORD>(at + 12), in.At<DWORD>(at + 16), in.At<DWORD>(at + 20)});
    }
    if (!in.ok || image.imageEnd > bytes.size()) {
        error = L"a damaged executable (its headers or sections reach past the end of the file)";
        return false;
    }
    if (resourceRva == 0 || resourceSize == 0) return true;
    for (const Section& s : sections) {
        if (resourceRva >= s.virtualAddress && resourceRva - s.virtualAddress < s.rawSize) {
            image.resourceRawSize = s.rawSize;
            ResourceReader reader(bytes, sections, size_t{s.rawPointer} + (resourceRva - s.virtualAddress));
            if (reader.Read(image.resources)) return true;
            break;
        }
    }
    error = L"a damaged executable (its resource directory cannot be read)";
    return false;
}

void SortResources(std::vector<Resource>& resources)
{
    std::sort(resources.begin(), resources.end(), Less);
}

bool SameResources(std::vector<Resource> a, std::vector<Resource> b, std::wstring& difference)
{
    SortResources(a);
    SortResources(b);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const Resource* left = i < a.size() ? &a[i] : nullptr;
        const Resource* right = i < b.size() ? &b[i] : nullptr;
        if (left != nullptr && right != nullptr && left->type.Is(right->type) && left->name.Is(right->name) &&
            left->language == right->language && left->data == right->data)
            continue;
        const Resource* which = left != nullptr ? left : right;
        difference = L"resource " + which->type.Describe() + L" " + which->name.Describe();
        return false;
    }
    return true;
}

} // namespace Stamp
