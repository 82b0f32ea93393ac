#pragma once
// Lines to standard output and standard error for the project's tools: UTF-16
// to a console, UTF-8 to a file or pipe. A GUI program started from a console
// has no standard handles of its own and writes to that console instead.

#include <string>

namespace VarnelTools {

void PrintOut(const std::wstring& line);
void PrintErr(const std::wstring& line);

} // namespace VarnelTools
