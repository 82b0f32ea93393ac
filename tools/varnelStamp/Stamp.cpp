#include "Stamp.h"

#include "IconFile.h"
#include "Inputs.h"
#include "PeImage.h"
#include "SkinArchive.h"
#include "ToolFiles.h"
#include "ToolOutput.h"

#include "app/Trailer.h"

#include <algorithm>
#include <set>

namespace Stamp {

using namespace VarnelTools;

namespace {

const ResName kXml = ResName::Text(L"XML");
const ResName kZipRes = ResName::Text(L"ZIPRES");
const ResName kIconImage = ResName::Id(3);  // RT_ICON
const ResName kIconGroup = ResName::Id(14); // RT_GROUP_ICON
const ResName kConfigId = ResName::Id(104);
const ResName kSkinId = ResName::Id(101);
const ResName kIconId = ResName::Id(103);

const wchar_t* const kFieldOption[2] = {L"--login", L"--service"};
const wchar_t* const kFieldName[2] = {L"login", L"service"};

int Refuse(const std::wstring& message)
{
    PrintErr(L"varnelStamp: " + message);
    return kExitRefused;
}

int Fail(const std::wstring& message)
{
    PrintErr(L"varnelStamp: failed: " + message);
    return kExitFailed;
}

// The temporary copy next to the output, deleted unless renamed into place.
class TempFile
{
public:
    explicit TempFile(std::wstring path) : m_path(std::move(path)) {}
    ~TempFile()
    {
        if (!m_path.empty()) ::DeleteFileW(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return m_path; }
    void Release() { m_path.clear(); }

private:
    std::wstring m_path;
};

std::string TrailerOf(const std::vector<BYTE>& bytes, const PeImage& image)
{
    const size_t end = std::min<size_t>(image.imageEnd, bytes.size());
    return TrailerTextOf(bytes.data() + end, bytes.size() - end);
}

bool TrailerField(const std::string& trailer, int index, std::wstring& out)
{
    VarnelUI::CUIString field;
    if (!TrailerFieldOf(trailer, index, field)) return false;
    out = field.GetData();
    return true;
}

// Icon image ids only the template's group 103 uses: the new icon's images
// take them over, and any the new icon does not need are left out.
std::set<WORD> IconImagesOfGroup(const PeImage& image)
{
    std::set<WORD> ids, elsewhere;
    for (const Resource& r : image.resources) {
        std::vector<IconGroupEntry> entries;
        if (!r.type.Is(kIconGroup) || !ReadIconGroup(r.data, entries)) continue;
        for (const IconGroupEntry& e : entries) (r.name.Is(kIconId) ? ids : elsewhere).insert(e.id);
    }
    for (WORD id : elsewhere) ids.erase(id);
    return ids;
}

// The resources the output must hold: the template's, with the given parts
// replaced under the template's own language ids.
std::vector<Resource> PlanResources(const PeImage& image, const std::vector<BYTE>* config,
                                    const std::vector<BYTE>* skin, const std::vector<IconImage>* icon)
{
    const std::set<WORD> oldImages = icon != nullptr ? IconImagesOfGroup(image) : std::set<WORD>{};
    std::vector<Resource> plan;
    std::set<WORD> keptImages;
    WORD lastImage = 0;
    for (const Resource& r : image.resources) {
        if (r.type.Is(kIconImage)) lastImage = std::max(lastImage, r.name.id);
        if ((config != nullptr && r.type.Is(kXml) && r.name.Is(kConfigId)) ||
            (skin != nullptr && r.type.Is(kZipRes) && r.name.Is(kSkinId)) ||
            (icon != nullptr && r.type.Is(kIconGroup) && r.name.Is(kIconId)) ||
            (icon != nullptr && r.type.Is(kIconImage) && r.name.text.empty() && oldImages.count(r.name.id)))
            continue;
        if (r.type.Is(kIconImage)) keptImages.insert(r.name.id);
        plan.push_back(r);
    }
    auto add = [&](const ResName& type, const ResName& name, std::vector<BYTE> data) {
        const Resource* old = image.Find(type, name);
        plan.push_back(Resource{old->type, old->name, old->language, std::move(data)});
    };
    if (config != nullptr) add(kXml, kConfigId, *config);
    if (skin != nullptr) add(kZipRes, kSkinId, *skin);
    if (icon != nullptr) {
        std::vector<WORD> ids;
        auto reuse = oldImages.begin();
        for (size_t i = 0; i < icon->size(); ++i) {
            WORD id = 0;
            if (reuse != oldImages.end()) id = *reuse++;
            else
                while (id == 0 || keptImages.count(id)) id = ++lastImage;
            ids.push_back(id);
        }
        const WORD language = image.Find(kIconGroup, kIconId)->language;
        add(kIconGroup, kIconId, MakeIconGroup(*icon, ids));
        for (size_t i = 0; i < icon->size(); ++i)
            plan.push_back(Resource{kIconImage, ResName::Id(ids[i]), language, (*icon)[i].data});
    }
    return plan;
}

bool UpdateResources(const std::wstring& path, const std::vector<Resource>& plan, std::wstring& error)
{
    // All existing resources go and the planned ones come back: updating in
    // place cannot delete (wine keeps a deleted resource), and an update under
    // another language would add a second resource instead of replacing one.
    const HANDLE update = ::BeginUpdateResourceW(path.c_str(), TRUE);
    if (update == nullptr) {
        error = SystemMessage(::GetLastError());
        return false;
    }
    for (const Resource& r : plan) {
        if (!::UpdateResourceW(update, r.type.Pointer(), r.name.Pointer(), r.language, const_cast<BYTE*>(r.data.data()),
                               static_cast<DWORD>(r.data.size()))) {
            error =
                L"resource " + r.type.Describe() + L" " + r.name.Describe() + L": " + SystemMessage(::GetLastError());
            ::EndUpdateResourceW(update, TRUE);
            return false;
        }
    }
    if (!::EndUpdateResourceW(update, FALSE)) {
        error = SystemMessage(::GetLastError());
        return false;
    }
    return true;
}

std::wstring Format(const PeImage& image)
{
    std::wstring text = image.is64 ? L"PE32+" : L"PE32";
    text += image.subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI ? L" GUI" : image.subsystem == 3 ? L" console" : L"";
    text += image.machine == 0x14C ? L" i386" : image.machine == 0x8664 ? L" x86-64" : L" other machine";
    return text;
}

} // namespace

int Make(const MakeOptions& o)
{
    std::wstring why;
    const std::wstring templateName = L"--template " + o.templatePath;
    std::vector<BYTE> templateBytes;
    PeImage image;
    if (!ReadWholeFile(o.templatePath, templateBytes, why)) return Refuse(templateName + L": " + why);
    if (!ReadPeImage(templateBytes, image, why)) return Refuse(templateName + L": is " + why);
    for (const auto& [type, name] :
         {std::make_pair(kXml, kConfigId), std::make_pair(kZipRes, kSkinId), std::make_pair(kIconGroup, kIconId)}) {
        if (image.Find(type, name) == nullptr)
            return Refuse(templateName + L": has no resource " + (name.id == 103 ? L"ICON" : type.text) + L" " +
                          name.Describe() + L", so it is not a varnelTemplate launcher");
    }

    const std::wstring out = FullPath(o.outPath);
    const std::wstring outName = L"--out " + o.outPath;
    if (!IsFolder(ParentFolder(out)))
        return Refuse(outName + L": the folder " + ParentFolder(out) + L" does not exist");
    if (IsFolder(out)) return Refuse(outName + L": is a folder");
    if (SameFile(out, o.templatePath)) return Refuse(outName + L": is the template itself, which is never changed");

    std::vector<BYTE> config;
    LaunchSettings settings;
    if (o.config) {
        std::vector<std::wstring> warnings;
        if (!ReadWholeFile(*o.config, config, why) || !CheckConfig(config, settings, warnings, why))
            return Refuse(L"--config " + *o.config + L": " + why);
        for (const std::wstring& warning : warnings)
            PrintErr(L"varnelStamp: warning: --config " + *o.config + L": " + warning);
    } else {
        config = image.Find(kXml, kConfigId)->data;
        ReadConfig(config, settings);
    }

    std::vector<BYTE> skin;
    if (o.skin) {
        const bool folder = IsFolder(*o.skin);
        if (folder ? !ZipFolder(*o.skin, skin, why) : !ReadWholeFile(*o.skin, skin, why))
            return Refuse(L"--skin " + *o.skin + L": " + (folder ? L"the folder " : L"") + why);
        std::vector<std::wstring> warnings;
        if (!CheckSkinArchive(skin, why, warnings)) return Refuse(L"--skin " + *o.skin + L": " + why);
        for (const std::wstring& warning : warnings)
            PrintErr(L"varnelStamp: warning: --skin " + *o.skin + L": " + warning);
    }

    std::vector<IconImage> icon;
    if (o.icon) {
        std::vector<BYTE> bytes;
        if (!ReadWholeFile(*o.icon, bytes, why) || !ReadIconFile(bytes, icon, why))
            return Refuse(L"--icon " + *o.icon + L": " + why);
    }

    const std::string oldTrailer = TrailerOf(templateBytes, image);
    const std::optional<std::wstring>* given[2] = {&o.login, &o.service};
    std::wstring fields[2];
    std::string trailer;
    for (int i = 0; i < 2; ++i) {
        std::string utf8;
        if (*given[i]) {
            fields[i] = **given[i];
            if (!CheckTrailerField(fields[i], utf8, why))
                return Refuse(std::wstring(kFieldOption[i]) + L": the " + kFieldName[i] + L" field " + why);
        } else if (!TrailerField(oldTrailer, i, fields[i]) || !CheckTrailerField(fields[i], utf8, why)) {
            return Refuse(templateName + L": its trailer has no usable " + kFieldName[i] + L" field; give " +
                          kFieldOption[i]);
        }
        trailer += (i > 0 ? "|" : "") + utf8;
    }
    if (trailer.size() > kMaxTrailerBytes)
        return Refuse(L"--login/--service: the trailer \"login|service\" would be " + std::to_wstring(trailer.size()) +
                      L" bytes; the launcher reads at most " + std::to_wstring(kMaxTrailerBytes));

    const std::vector<Resource> plan =
        PlanResources(image, o.config ? &config : nullptr, o.skin ? &skin : nullptr, o.icon ? &icon : nullptr);

    // Everything is checked; from here on only the temporary copy is written.
    wchar_t tempName[MAX_PATH] = {};
    if (!::GetTempFileNameW(ParentFolder(out).c_str(), L"vst", 0, tempName))
        return Fail(outName + L": cannot create a file next to it: " + SystemMessage(::GetLastError()));
    TempFile temp(tempName);
    // The copy ends at the image end: any old trailer is cut.
    const std::vector<BYTE> cut(templateBytes.begin(), templateBytes.begin() + image.imageEnd);
    if (!WriteWholeFile(temp.Path(), cut, why)) return Fail(L"writing " + temp.Path() + L": " + why);
    if (!UpdateResources(temp.Path(), plan, why))
        return Refuse(templateName + L": its resources cannot be updated: " + why);

    std::vector<BYTE> written;
    PeImage result;
    if (!ReadWholeFile(temp.Path(), written, why) || !ReadPeImage(written, result, why))
        return Fail(L"reading back " + temp.Path() + L": " + why);
    if (result.imageEnd != written.size()) return Fail(L"the updated image does not end where its last section ends");
    if (!AppendToFile(temp.Path(), trailer, why)) return Fail(L"appending the trailer to " + temp.Path() + L": " + why);

    // Read the result back by the launcher's rules and compare with the plan.
    if (!ReadWholeFile(temp.Path(), written, why) || !ReadPeImage(written, result, why))
        return Fail(L"reading back " + temp.Path() + L": " + why);
    if (!SameResources(result.resources, plan, why))
        return Fail(L"read back: " + why + L" differs from what was written");
    LaunchSettings readSettings;
    const Resource* readConfig = result.Find(kXml, kConfigId);
    if (readConfig == nullptr || !ReadConfig(readConfig->data, readSettings) ||
        DescribeSettings(readSettings) != DescribeSettings(settings))
        return Fail(L"read back: the settings differ from the configuration");
    const std::string readTrailer = TrailerOf(written, result);
    for (int i = 0; i < 2; ++i) {
        std::wstring field;
        if (readTrailer != trailer || !TrailerField(readTrailer, i, field) || field != fields[i])
            return Fail(std::wstring(L"read back: the trailer's ") + kFieldName[i] + L" field differs");
    }
    if (result.is64 != image.is64 || result.machine != image.machine || result.subsystem != image.subsystem)
        return Fail(L"read back: the image's format changed");

    if (!::MoveFileExW(temp.Path().c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(outName + L": cannot rename " + temp.Path() + L" into place: " + SystemMessage(::GetLastError()));
    temp.Release();
    PrintOut(L"wrote " + out + L" (" + std::to_wstring(written.size()) + L" bytes, " + Format(result) +
             L"): configuration " + (o.config ? L"replaced" : L"kept") + L", skin " + (o.skin ? L"replaced" : L"kept") +
             L", icon " + (o.icon ? L"replaced" : L"kept") + L", trailer " + std::to_wstring(trailer.size()) +
             L" bytes");
    return kExitOk;
}

int Show(const std::wstring& path)
{
    std::wstring why;
    std::vector<BYTE> bytes;
    PeImage image;
    if (!ReadWholeFile(path, bytes, why)) return Refuse(path + L": " + why);
    if (!ReadPeImage(bytes, image, why)) return Refuse(path + L": is " + why);
    const std::string trailer = TrailerOf(bytes, image);
    PrintOut(L"file: " + path);
    PrintOut(L"image: " + Format(image) + L", ends at " + std::to_wstring(image.imageEnd) + L", trailer " +
             std::to_wstring(trailer.size()) + L" bytes");

    LaunchSettings settings;
    const Resource* config = image.Find(kXml, kConfigId);
    if (config == nullptr || !ReadConfig(config->data, settings))
        PrintOut(config == nullptr ? L"settings: none (no resource XML 104)" : L"settings: XML 104 does not load");
    else
        for (const auto& [name, value] : DescribeSettings(settings)) PrintOut(L"setting " + name + L": " + value);

    for (int i = 0; i < 2; ++i) {
        std::wstring field;
        PrintOut(std::wstring(L"trailer ") + kFieldName[i] + L": " +
                 (TrailerField(trailer, i, field) ? field : L"(none)"));
    }

    const Resource* skin = image.Find(kZipRes, kSkinId);
    std::vector<ArchiveMember> members;
    if (skin == nullptr || !ListArchive(skin->data, members)) {
        PrintOut(skin == nullptr ? L"skin: none (no resource ZIPRES 101)"
                                 : L"skin: ZIPRES 101 is not a readable archive");
    } else {
        PrintOut(L"skin: " + std::to_wstring(members.size()) + L" files, " + std::to_wstring(skin->data.size()) +
                 L" bytes zipped");
        for (const ArchiveMember& m : members)
            PrintOut(L"skin file: " + m.name + L" (" + std::to_wstring(m.size) + L" bytes)");
    }

    const Resource* group = image.Find(kIconGroup, kIconId);
    std::vector<IconGroupEntry> entries;
    if (group == nullptr || !ReadIconGroup(group->data, entries)) {
        PrintOut(L"icon: none (no icon group 103)");
    } else {
        for (const IconGroupEntry& e : entries)
            PrintOut(L"icon: " + std::to_wstring(e.width) + L"x" + std::to_wstring(e.height) + L", " +
                     std::to_wstring(e.bitCount) + L"-bit, " + std::to_wstring(e.bytes) + L" bytes");
    }
    return kExitOk;
}

} // namespace Stamp
