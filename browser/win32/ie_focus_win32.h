#pragma once
// The typing check of keys typed into an IE-engine page: the page's active element.

#include "engine/browser_model.h"

namespace paginor::win32 {

bool IsIeContentWindow(WindowHandle window);

// True only when the page of the content window answers in time and its active element
// takes no typing; any failure keeps the key from becoming a command.
bool IeKeyGoesToPage(WindowHandle contentWindow);

}  // namespace paginor::win32
