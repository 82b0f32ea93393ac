#pragma once
// The trailer: up to 255 bytes of "|"-separated text appended to the executable
// after its image. Field 0 is the login page address, field 1 the service link.

#include "varnelui/core/UIString.h"

#include <string>
#include <vector>

// Full path of the running executable.
void GetModulePath(VarnelUI::CUIString& path);

// File offset where the last section's raw data ends, read from the headers of
// the loaded image: the trailer starts there.
DWORD GetImageEndOffset();

// The same rule on the first `size` bytes of any image, a loaded one or a
// file's: the last section table entry's raw data pointer plus raw size (0
// when there are no sections). False when the headers are not a PE's or do
// not fit in `size`.
bool ImageEndOffsetOf(const BYTE* image, size_t size, DWORD& end);

// The trailer text the launcher reads from the `size` bytes that follow the
// image end: at most 255 of them, up to the first zero byte.
std::string TrailerTextOf(const BYTE* afterImage, size_t size);

// Reads the trailer text of the executable at `path` (at most 255 bytes, up to
// the first zero byte). Shows a message and leaves `out` unchanged when the
// file cannot be opened.
void ReadExecutableTrailer(LPCWSTR path, std::string& out);

// Splits on `separator`; empty pieces are dropped.
std::vector<std::string> SplitString(const std::string& text, const std::string& separator);

// Field `index` (from 0) of this executable's trailer. False, with `out`
// untouched, when the trailer has no "|" or fewer pieces than index + 1.
bool GetTrailerField(int index, VarnelUI::CUIString& out);

// The split and conversion of GetTrailerField on a trailer text already read.
bool TrailerFieldOf(const std::string& trailer, int index, VarnelUI::CUIString& out);
