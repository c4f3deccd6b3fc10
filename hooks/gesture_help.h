#pragma once
// The help text for the hooks and the floating box, for the main window's help tab. It is
// built from the same constants the hooks use, so it cannot drift from them.

#include <string>

namespace paginor::hooks {

// UTF-8, lines separated by "\n".
std::string GestureHelpText();

}  // namespace paginor::hooks
