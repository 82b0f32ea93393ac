#pragma once
// Small helpers many test files share: rectangles, text, files, events and
// windows.

#include "varnelui/core/UIEvents.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace VarnelTest {

bool SameRect(const RECT& a, const RECT& b);
// "left,top,right,bottom", for messages and traces.
std::string Str(const RECT& rc);

// UTF-8 of a UTF-16 text.
std::string Narrow(std::wstring_view text);

// Creates or replaces the file; a failure is reported to the running test.
void WriteFile(const std::wstring& path, std::string_view bytes);
void WriteFile(const std::wstring& path, const std::vector<BYTE>& bytes);
// The whole file; a failure is reported to the running test.
std::vector<BYTE> ReadBytes(const std::wstring& path);

// An event of that kind with every other field zero but the two parameters.
VarnelUI::TEventUI MakeEvent(int kind, WPARAM wParam = 0, LPARAM lParam = 0);

// Screen rectangle of a window.
RECT WindowRect(HWND hWnd);
// The window's class name; empty for no window.
std::wstring ClassName(HWND hWnd);

struct TZipMember
{
    std::string name;
    std::string data;
    bool badCrc = false; // store a checksum that does not match the data
};

// A single-disk ZIP archive of stored (uncompressed) members.
std::string StoredZip(const std::vector<TZipMember>& members);

// Polls `done` until it holds or `timeoutMs` has passed; whether it held.
template <class Pred>
bool WaitUntil(Pred done, DWORD timeoutMs = 10000)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    return true;
}

} // namespace VarnelTest
