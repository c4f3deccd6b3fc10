#pragma once
// The diagnostic report's parts about the machine rather than a page: Windows and the
// program, the windows that could be browsers, and the IE engine's registry.

#include <string>
#include <vector>

namespace paginor::app::win32 {

void MachineLines(std::vector<std::string>& lines);
// Every top-level window whose class or program belongs to a browser, topmost first.
void BrowserWindowLines(std::vector<std::string>& lines);
void IEEngineLines(std::vector<std::string>& lines);

}  // namespace paginor::app::win32
