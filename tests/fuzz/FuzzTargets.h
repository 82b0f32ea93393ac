#pragma once
// The input paths a skin, an archive, an image, the configuration or the
// trailer reach, each as a function of bytes, with its seed corpus and the
// tokens of its language.

#include "FuzzGuard.h"

#include <string>
#include <vector>

namespace VarnelFuzz {

struct TFuzzTarget
{
    const char* name;
    FuzzFunction run;
    std::vector<Bytes> (*seeds)();
    std::vector<std::string> (*dictionary)();
};

// In a fixed order, so a seed gives the same run everywhere.
const std::vector<TFuzzTarget>& FuzzTargets();
// The target a regression input belongs to: its file name up to the first '-'.
const TFuzzTarget* FindFuzzTarget(const std::string& name);

// Seeds (FuzzCorpus.cpp).
std::vector<Bytes> SkinDocumentSeeds();
std::vector<Bytes> Utf16DocumentSeeds();
std::vector<Bytes> BuilderSeeds();
std::vector<Bytes> AttributeValueSeeds();
std::vector<Bytes> ImageDescriptionSeeds();
std::vector<Bytes> FormattedTextSeeds();
std::vector<Bytes> ArchiveSeeds();
std::vector<Bytes> ImageSeeds();
std::vector<Bytes> LaunchSettingsSeeds();
std::vector<Bytes> ExecutableSeeds();
std::vector<std::string> MarkupTokens();
std::vector<std::string> SkinTokens();
std::vector<std::string> ValueTokens();
std::vector<std::string> FormattedTextTokens();
std::vector<std::string> BinaryTokens();

// The folder the skins' images and includes are found in while fuzzing.
std::wstring GalleryFolder();
// Where failing inputs are saved (made when first asked for).
std::wstring FailureFolder();
// A scratch file of this process for targets that read from disk.
std::wstring ScratchPath(const wchar_t* name);
std::wstring Widen(const BYTE* data, size_t size);

} // namespace VarnelFuzz
