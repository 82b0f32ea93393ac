#pragma once
// UTF-8 to UTF-16 with the system's own rules, so that a document reads the
// same whether the system or this decoder converts it.

#include "varnelui/core/UIDefines.h"

#include <cstddef>

namespace VarnelUI {

// Converts count bytes into out and returns the number of UTF-16 units
// written, which never exceeds count: out needs room for count units. The
// units are those MultiByteToWideChar(CP_UTF8, 0, ...) gives for the same
// bytes, invalid ones included: each invalid sequence becomes one U+FFFD.
size_t DecodeUtf8(const BYTE* bytes, size_t count, wchar_t* out);

} // namespace VarnelUI
