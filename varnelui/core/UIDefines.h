#pragma once
// Common platform includes and the export macro every framework class carries.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <olectl.h>
#include <tchar.h>

#include <cstddef>
#include <cstdint>

// The launcher exports the framework's classes by name so other modules loaded
// into the process can use them. Static builds of tests export them too, which
// is harmless.
#define VARNELUI_API __declspec(dllexport)
