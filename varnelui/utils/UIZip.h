#pragma once
// Reader for the skin archive (ZIP): the handle type shared with the resource settings.

#include "varnelui/core/UIDefines.h"

namespace VarnelUI {

struct TZipHandleRecord;
// Opaque handle of an open archive.
using ZipHandle = TZipHandleRecord*;

} // namespace VarnelUI
