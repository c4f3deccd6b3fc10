#pragma once
// UTF-8 inside the program, UTF-16 at every Win32 call.

#include <windows.h>

#include <string>
#include <string_view>

namespace paginor::app::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The whole text of a window, as UTF-8.
std::string WindowText(HWND window);
std::wstring WindowTextW(HWND window);

// The full path of this program file.
std::wstring ProgramPath();

}  // namespace paginor::app::win32
