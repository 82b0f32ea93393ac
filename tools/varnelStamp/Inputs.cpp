#include "Inputs.h"

#include "ToolFiles.h"

#include <cwchar>
#include <cwctype>
#include <map>

namespace Stamp {

using namespace VarnelTools;

namespace {

using VarnelUI::CMarkup;
using VarnelUI::CMarkupNode;

struct Rule
{
    const wchar_t* name;
    int numbers; // 0: a non-empty text
    const wchar_t* shape;
};

constexpr Rule kRules[] = {
    {L"loginFrameSize", 2, L"two numbers \"width,height\""},
    {L"loginWebRect", 4, L"four numbers \"left,top,right,bottom\""},
    {L"miniRect", 4, L"four numbers \"left,top,right,bottom\""},
    {L"closeRect", 4, L"four numbers \"left,top,right,bottom\""},
    {L"playGamekeyWord", 0, L"a non-empty text"},
    {L"clientName", 0, L"a non-empty text"},
};

// Exactly `count` decimal integers separated by commas (spaces allowed
// around them), so that AttrParse reads each of them as written.
bool IsNumberList(const wchar_t* p, int count, std::vector<long>& values)
{
    values.clear();
    for (int i = 0; i < count; ++i) {
        while (*p == L' ') ++p;
        const wchar_t* start = p;
        if (*p == L'-') ++p;
        if (!std::iswdigit(*p)) return false;
        while (std::iswdigit(*p)) ++p;
        values.push_back(std::wcstol(start, nullptr, 10));
        while (*p == L' ') ++p;
        if (i + 1 < count && *p++ != L',') return false;
    }
    return *p == L'\0';
}

std::wstring Rect(const RECT& rc)
{
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

} // namespace

bool ReadConfig(const std::vector<BYTE>& bytes, LaunchSettings& settings)
{
    settings = LaunchSettings{};
    CMarkup markup;
    return !bytes.empty() && markup.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), 0) &&
           ParseLaunchSettings(markup, settings);
}

bool CheckConfig(const std::vector<BYTE>& bytes, LaunchSettings& settings, std::vector<std::wstring>& warnings,
                 std::wstring& error)
{
    CMarkup markup;
    if (bytes.empty() || !markup.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), 0) ||
        !markup.GetRoot().IsValid()) {
        wchar_t message[101] = {};
        wchar_t location[51] = {};
        markup.GetLastErrorMessage(message, 100);
        markup.GetLastErrorLocation(location, 50);
        error = L"is not a well-formed UTF-8 XML document";
        const std::wstring where = std::wstring(location).substr(0, std::wcscspn(location, L"\r\n"));
        if (message[0] != L'\0')
            error += std::wstring(L": ") + message + (where.empty() ? L"" : L" near \"" + where + L"\"");
        return false;
    }
    // The launcher's rule (ParseLaunchSettings): a child of the root counts
    // when its first attribute is named "value"; a later one wins.
    std::map<std::wstring, std::wstring> values;
    std::map<std::wstring, bool> misnamed;
    for (CMarkupNode node = markup.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (node.GetAttributeCount() > 0 && std::wcscmp(node.GetAttributeName(0), L"value") == 0)
            values[node.GetName()] = node.GetAttributeValue(0);
        else misnamed[node.GetName()] = true;
    }
    for (const Rule& rule : kRules) {
        const auto found = values.find(rule.name);
        if (found == values.end()) {
            error = std::wstring(L"lacks the setting ") + rule.name;
            if (misnamed.count(rule.name)) error += L" (its element's first attribute must be value=\"...\")";
            return false;
        }
        std::vector<long> numbers;
        const bool ok =
            rule.numbers == 0 ? !found->second.empty() : IsNumberList(found->second.c_str(), rule.numbers, numbers);
        if (!ok) {
            error =
                std::wstring(L"setting ") + rule.name + L" must be " + rule.shape + L", not \"" + found->second + L"\"";
            return false;
        }
        if (rule.numbers == 2 && (numbers[0] <= 0 || numbers[1] <= 0)) {
            error = std::wstring(L"setting ") + rule.name + L" must be a positive size, not \"" + found->second + L"\"";
            return false;
        }
    }
    // The client name names the single-instance mutex, which cannot hold a
    // backslash (only a "Global\" or "Local\" prefix).
    const std::wstring& client = values[L"clientName"];
    const size_t slash = client.find(L'\\');
    if (slash != std::wstring::npos && client.compare(0, slash + 1, L"Global\\") != 0 &&
        client.compare(0, slash + 1, L"Local\\") != 0) {
        error = L"setting clientName must not contain \"\\\" (it names a mutex): \"" + client + L"\"";
        return false;
    }
    if (values.find(L"loginURL") == values.end())
        warnings.push_back(
            L"has no loginURL setting; that is fine, the launcher takes its login page from the trailer");
    settings = LaunchSettings{};
    ParseLaunchSettings(markup, settings);
    return true;
}

std::vector<std::pair<std::wstring, std::wstring>> DescribeSettings(const LaunchSettings& s)
{
    return {
        {L"loginFrameSize", std::to_wstring(s.loginFrameSize.cx) + L"," + std::to_wstring(s.loginFrameSize.cy)},
        {L"loginWebRect", Rect(s.loginWebRect)},
        {L"miniRect", Rect(s.miniRect)},
        {L"closeRect", Rect(s.closeRect)},
        {L"loginURL", s.loginURL.GetData()},
        {L"playGamekeyWord", s.playGamekeyWord.GetData()},
        {L"clientName", s.clientName.GetData()},
    };
}

bool CheckTrailerField(const std::wstring& text, std::string& utf8, std::wstring& error)
{
    if (text.empty()) {
        error = L"is empty (the launcher drops empty trailer fields, so the next one would take its place)";
        return false;
    }
    if (!ToUtf8(text, utf8)) {
        error = L"is not valid Unicode text, so it has no UTF-8 form";
        return false;
    }
    if (utf8.find('|') != std::string::npos) {
        error = L"contains \"|\", which separates the trailer's fields: \"" + text + L"\"";
        return false;
    }
    if (utf8.find('\0') != std::string::npos) {
        error = L"contains a NUL character, which ends the trailer";
        return false;
    }
    return true;
}

} // namespace Stamp
