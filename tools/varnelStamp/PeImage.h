#pragma once
// What the stamp tool reads from an executable's bytes: the headers, where the
// image ends (by the launcher's own rule) and every resource with its data.

#include <windows.h>

#include <string>
#include <vector>

namespace Stamp {

// A resource type or name: a numeric id, or a string when `text` is set.
struct ResName
{
    WORD id = 0;
    std::wstring text;

    static ResName Id(WORD value) { return ResName{value, {}}; }
    static ResName Text(const wchar_t* value) { return ResName{0, value}; }
    // What the resource functions take: MAKEINTRESOURCE or the string.
    LPCWSTR Pointer() const { return text.empty() ? MAKEINTRESOURCEW(id) : text.c_str(); }
    // Strings match ignoring case, as the resource functions do.
    bool Is(const ResName& other) const;
    std::wstring Describe() const;
};

struct Resource
{
    ResName type;
    ResName name;
    WORD language = 0;
    std::vector<BYTE> data;
};

struct PeImage
{
    bool is64 = false;
    WORD machine = 0;
    WORD subsystem = 0;
    DWORD imageEnd = 0;        // the launcher's image end; the trailer starts here
    DWORD resourceRawSize = 0; // raw size of the section holding the resources
    std::vector<Resource> resources;

    // The first resource of that type and name (any language), or null.
    const Resource* Find(const ResName& type, const ResName& name) const;
};

// Parses `bytes` as a PE file. On failure `error` says what is wrong.
bool ReadPeImage(const std::vector<BYTE>& bytes, PeImage& image, std::wstring& error);

// Sorts resources by type, name and language, so two lists can be compared.
void SortResources(std::vector<Resource>& resources);
bool SameResources(std::vector<Resource> a, std::vector<Resource> b, std::wstring& difference);

} // namespace Stamp
