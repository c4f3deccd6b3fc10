#pragma once
// The focus check of keys typed into Chromium and Firefox over IAccessible, on a worker
// thread of its own with the check's short timeout.

#include <memory>

#include "browser/page_focus.h"

namespace paginor::win32 {

// log lives as long as the program.
std::unique_ptr<PageFocusCheck> MakePageFocusCheck(OperationLog& log);

}  // namespace paginor::win32
